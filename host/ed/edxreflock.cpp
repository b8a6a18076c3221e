// Locks on the files of external references.
#include "xreflock.h"

#include "dbsymtb.h"
#include "dbxref.h"
#include "textconv.h"

#include <cwctype>
#include <set>
#include <string>
#include <unistd.h>

namespace {

std::set<std::wstring>& lockedFiles() {
    static std::set<std::wstring> files;
    return files;
}

std::wstring fileOf(AcDbObjectId block) {
    AcDbBlockTableRecord* btr = nullptr;
    if (acdbOpenObject(btr, block, AcDb::kForRead) != Acad::eOk)
        return L"";
    std::wstring file = btr->isFromExternalReference() ? khost::xrefFilePath(btr) : L"";
    btr->close();
    return file;
}

// The file a drawing path is written to ("X.dwg" is kept as "X.dxf").
std::string diskFile(const std::wstring& path) {
    std::wstring p = path;
    if (p.size() > 4) {
        std::wstring ext = p.substr(p.size() - 4);
        for (auto& c : ext)
            c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
        if (ext == L".dwg")
            p = p.substr(0, p.size() - 4) + L".dxf";
    }
    return khost::toUtf8(p);
}

} // namespace

AcEdXrefFileLock::AcEdXrefFileLock() = default;

AcEdXrefFileLock::~AcEdXrefFileLock() {
    if (m_locked)
        lockedFiles().erase(fileOf(m_block));
}

Acad::ErrorStatus AcEdXrefFileLock::lockFile(int& retstatus, const AcDbObjectId& selectedBTRid) {
    auto fail = [&](Acad::ErrorStatus es) {
        retstatus = es;
        return es;
    };
    if (m_locked)
        return fail(Acad::eFileLockedByACAD);
    AcDbBlockTableRecord* btr = nullptr;
    if (acdbOpenObject(btr, selectedBTRid, AcDb::kForRead) != Acad::eOk)
        return fail(Acad::eInvalidInput);
    bool xref = btr->isFromExternalReference();
    btr->close();
    if (!xref)
        return fail(Acad::eNotApplicable);
    std::wstring file = fileOf(selectedBTRid);
    if (file.empty() || !khost::resolveXref(selectedBTRid))
        return fail(Acad::eFileNotFound);
    if (::access(diskFile(file).c_str(), W_OK) != 0)
        return fail(Acad::eFileAccessErr);
    if (!lockedFiles().insert(file).second)
        return fail(Acad::eFileLockedByACAD);
    m_block = selectedBTRid;
    m_locked = true;
    retstatus = Acad::eOk;
    return Acad::eOk;
}

Acad::ErrorStatus AcEdXrefFileLock::releaseFile(int& retstatus, bool bSkipSaveback, bool) {
    if (!m_locked) {
        retstatus = Acad::eNotApplicable;
        return Acad::eNotApplicable;
    }
    Acad::ErrorStatus es = bSkipSaveback ? Acad::eOk : khost::saveXrefDatabase(m_block);
    lockedFiles().erase(fileOf(m_block));
    m_locked = false;
    retstatus = es;
    return es;
}
