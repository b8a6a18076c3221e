#include "dxfdefaults.h"

#include "dbdict.h"
#include "dbhost.h"
#include "dbraw.h"

#include <cwchar>

namespace khost::dxf {

namespace {

constexpr long long kColorByBlock = -1056964608; // 0xC1000000 as a signed 32-bit value

std::string keyInOwner(const AcDbObject* obj, OutFiler& f) {
    auto* dict = AcDbDictionary::cast(peekObject(obj->ownerId()));
    AcString name;
    if (dict && dict->nameAt(obj->objectId(), name) == Acad::eOk)
        return f.fileText(name.constPtr());
    return "Standard";
}

void mlineStyle(const AcDbObject* obj, Writer& w, OutFiler& f) {
    w.text(100, "AcDbMlineStyle");
    w.text(2, keyInOwner(obj, f));
    w.integer(70, 0);
    w.text(3, "");
    w.integer(62, 256);
    w.real(51, 90.0);
    w.real(52, 90.0);
    w.integer(71, 2);
    for (double offset : {0.5, -0.5}) {
        w.real(49, offset);
        w.integer(62, 256);
        w.text(6, "BYLAYER");
    }
}

void mleaderStyle(const AcDbObject* obj, Writer& w) {
    AcDbDatabase* db = obj->database();
    w.text(100, "AcDbMLeaderStyle");
    w.integer(179, 2);
    w.integer(170, 2);
    w.integer(171, 1);
    w.integer(172, 0);
    w.integer(90, 2);
    w.real(40, 0.0);
    w.real(41, 0.0);
    w.integer(173, 1);
    w.integer(91, kColorByBlock);
    w.handle(340, fileHandle(db ? db->byBlockLinetype() : AcDbObjectId::kNull));
    w.integer(92, -2);
    w.integer(290, 1);
    w.real(42, 2.0);
    w.integer(291, 1);
    w.real(43, 8.0);
    w.text(3, "");
    w.real(44, 2.5);
    w.text(300, "");
    w.handle(342, fileHandle(db ? db->textstyle() : AcDbObjectId::kNull));
    w.integer(174, 1);
    w.integer(175, 1);
    w.integer(176, 0);
    w.integer(178, 1);
    w.integer(93, kColorByBlock);
    w.real(45, 2.5);
    w.integer(292, 0);
    w.integer(297, 0);
    w.real(46, 4.0);
    w.integer(94, kColorByBlock);
    w.real(47, 1.0);
    w.real(49, 1.0);
    w.real(140, 1.0);
    w.integer(293, 1);
    w.real(141, 0.0);
    w.integer(294, 1);
    w.integer(177, 0);
    w.real(142, 1.0);
    w.integer(295, 0);
    w.integer(296, 0);
    w.real(143, 3.75);
    w.integer(271, 0);
    w.integer(272, 9);
    w.integer(273, 9);
}

void tableStyle(Writer& w) {
    w.text(100, "AcDbTableStyle");
    w.integer(280, 0);
    w.text(3, "");
    w.integer(70, 0);
    w.integer(71, 0);
    w.real(40, 1.5);
    w.real(41, 1.5);
    w.integer(280, 0);
    w.integer(281, 0);
    // Data, title and header cells.
    const double heights[3] = {4.5, 6.0, 4.5};
    const int alignments[3] = {2, 5, 5};
    for (int cell = 0; cell < 3; ++cell) {
        w.text(7, "Standard");
        w.real(140, heights[cell]);
        w.integer(170, alignments[cell]);
        w.integer(62, 0);
        w.integer(63, 7);
        w.integer(283, 0);
        w.integer(90, 512);
        w.integer(91, 0);
        w.text(1, "");
        for (int code = 274; code <= 279; ++code)
            w.integer(code, -2);
        for (int code = 284; code <= 289; ++code)
            w.integer(code, 1);
        for (int code = 64; code <= 69; ++code)
            w.integer(code, 0);
    }
}

} // namespace

bool writeStandardContents(const AcDbObject* obj, Writer& w, OutFiler& f) {
    auto* raw = AcDbRawObject::cast(obj);
    if (!raw || raw->rawData())
        return false;
    const ACHAR* name = raw->dxfName();
    int kind = std::wcscmp(name, L"MLINESTYLE") == 0     ? 1
               : std::wcscmp(name, L"MLEADERSTYLE") == 0 ? 2
               : std::wcscmp(name, L"TABLESTYLE") == 0   ? 3
                                                         : 0;
    if (kind == 0)
        return false;
    obj->AcDbObject::dxfOutFields(&f);
    if (kind == 1)
        mlineStyle(obj, w, f);
    else if (kind == 2)
        mleaderStyle(obj, w);
    else
        tableStyle(w);
    return true;
}

} // namespace khost::dxf
