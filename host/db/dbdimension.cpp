// Dimensions and the anonymous blocks that draw them.
#include "dbdimension.h"

#include "acutads.h"
#include "dbaddrec.h"
#include "dbents.h"
#include "dbimpl.h"
#include "dbraw.h"

#include <cmath>
#include <cwchar>
#include <memory>

using namespace khost;

ACRX_DEFINE_MEMBERS_DXF(AcDbDimension, AcDbEntity, L"DIMENSION")
ACRX_DEFINE_MEMBERS_DXF(AcDbAlignedDimension, AcDbDimension, L"DIMENSION")

namespace {
const double kPi = 3.14159265358979323846;
const bool registered = (registerDbClass(AcDbAlignedDimension::desc(),
                                         []() -> AcDbObject* { return new AcDbAlignedDimension; }),
                         true);

AcDb::DxfCode code(int c) {
    return static_cast<AcDb::DxfCode>(c);
}
struct DimDefault {
    int code;
    double value;
};
// Used when neither the dimension nor a database has a style.
const DimDefault kFallback[] = {{40, 1.0},  {41, 2.5},    {42, 0.625}, {44, 1.25}, {140, 2.5},
                                {144, 1.0}, {147, 0.625}, {271, 2},    {278, 44},  {45, 0.0}};

void byBlock(AcDbEntity* e, AcDbDatabase* db) {
    e->setLayer(db->layerZero());
    e->setLinetype(db->byBlockLinetype());
    e->setColorIndex(0);
    e->setLineWeight(AcDb::kLnWtByBlock);
}
AcDbEntity* rawEntity(const wchar_t* dxfName, const wchar_t* className, resbuf* chain) {
    auto* e = new AcDbRawEntity(dxfName, className);
    e->setRawData(chain);
    acutRelRb(chain);
    return e;
}
} // namespace

// ---- Common part ------------------------------------------------------------------------------

AcDbDimension::AcDbDimension() {
    (void)registered;
}
AcDbDimension::~AcDbDimension() = default;

Acad::ErrorStatus AcDbDimension::changed() {
    m_madeByProgram = true;
    m_measurement = -1.0;
    if (database() && !objectId().isNull())
        return recomputeDimBlock();
    return Acad::eOk;
}

#define KHOST_DIM_SET(CLASS, NAME, TYPE, STMT)                                                     \
    Acad::ErrorStatus CLASS::NAME(TYPE v) {                                                        \
        if (!isWriteEnabled())                                                                     \
            return Acad::eNotOpenForWrite;                                                         \
        STMT;                                                                                      \
        return changed();                                                                          \
    }
KHOST_DIM_SET(AcDbDimension, setTextPosition, const AcGePoint3d&,
              (m_textPosition = v, m_userTextPosition = true))
KHOST_DIM_SET(AcDbDimension, setTextRotation, double, m_textRotation = v)
KHOST_DIM_SET(AcDbDimension, setHorizontalRotation, double, m_horizontalRotation = v)
KHOST_DIM_SET(AcDbDimension, setDimensionStyle, AcDbObjectId, m_style = v.stub())
KHOST_DIM_SET(AcDbDimension, setDimstyleData, AcDbObjectId, m_style = v.stub())
KHOST_DIM_SET(AcDbDimension, setDimensionText, const ACHAR*, m_text = v ? v : L"")

Acad::ErrorStatus AcDbDimension::useSetTextPosition() {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_userTextPosition = true;
    return changed();
}
Acad::ErrorStatus AcDbDimension::useDefaultTextPosition() {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_userTextPosition = false;
    return changed();
}
Acad::ErrorStatus AcDbDimension::setNormal(const AcGeVector3d& n) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (n.length() < 1e-12)
        return Acad::eInvalidInput;
    m_normal = n;
    m_normal.normalize();
    return changed();
}
Acad::ErrorStatus AcDbDimension::setDimstyleData(const AcDbDimStyleTableRecord* rec) {
    if (!rec)
        return Acad::eNullObjectPointer;
    return setDimstyleData(rec->objectId());
}
ACHAR* AcDbDimension::dimensionText() const {
    ACHAR* p = nullptr;
    acutNewString(m_text.c_str(), p);
    return p;
}
Acad::ErrorStatus AcDbDimension::dimensionText(AcString& text) const {
    text = m_text;
    return Acad::eOk;
}
AcDbObjectId AcDbDimension::dimensionStyle() const {
    return AcDbObjectId(m_style);
}
AcDbObjectId AcDbDimension::dimBlockId() const {
    return AcDbObjectId(m_block);
}
Acad::ErrorStatus AcDbDimension::setDimBlockId(const AcDbObjectId& id) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_block = id.stub();
    return Acad::eOk;
}

namespace {

// The dimension's overrides of its style's variables: the extended data of "ACAD" holds
// "DSTYLE" followed by { code, value, code, value ... }. The value of an override of `code`
// (an element of the chain), or null.
const resbuf* findOverride(const resbuf* chain, int code) {
    const resbuf* rb = chain;
    while (rb && !(rb->restype == 1000 && std::wcscmp(rb->resval.rstring, L"DSTYLE") == 0))
        rb = rb->rbnext;
    if (!rb || !(rb = rb->rbnext) || rb->restype != 1002)
        return nullptr;
    for (rb = rb->rbnext; rb && rb->restype == 1070 && rb->rbnext; rb = rb->rbnext->rbnext)
        if (rb->resval.rint == code)
            return rb->rbnext;
    return nullptr;
}

struct RbChain {
    resbuf* head;
    explicit RbChain(resbuf* h) : head(h) {}
    ~RbChain() { acutRelRb(head); }
    RbChain(const RbChain&) = delete;
    RbChain& operator=(const RbChain&) = delete;
};

} // namespace

double AcDbDimension::styleReal(int c) const {
    {
        RbChain acad(xData(L"ACAD"));
        if (const resbuf* v = findOverride(acad.head, c); v && v->restype == 1040)
            return v->resval.rreal;
    }
    AcDbDatabase* db = lookupDatabase(this);
    AcDbObjectId sid(m_style);
    if (sid.isNull() && db)
        sid = db->dimstyle();
    if (auto* s = AcDbDimStyleTableRecord::cast(peekObject(sid)))
        return s->dimVarReal(c);
    for (const DimDefault& d : kFallback)
        if (d.code == c)
            return d.value;
    return 0.0;
}
int AcDbDimension::styleInt(int c) const {
    {
        RbChain acad(xData(L"ACAD"));
        if (const resbuf* v = findOverride(acad.head, c);
            v && (v->restype == 1070 || v->restype == 1071))
            return v->restype == 1070 ? v->resval.rint : static_cast<int>(v->resval.rlong);
    }
    AcDbDatabase* db = lookupDatabase(this);
    AcDbObjectId sid(m_style);
    if (sid.isNull() && db)
        sid = db->dimstyle();
    if (auto* s = AcDbDimStyleTableRecord::cast(peekObject(sid)))
        return s->dimVarInt(c);
    for (const DimDefault& d : kFallback)
        if (d.code == c)
            return static_cast<int>(d.value);
    return 0;
}

AcDbObjectId AcDbDimension::dimtxsty() const {
    return styleId(340);
}

Acad::ErrorStatus AcDbDimension::setDimtxsty(AcDbObjectId textStyleId) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (textStyleId.isNull())
        return Acad::eNullObjectId;
    ACHAR hex[20];
    textStyleId.handle().getIntoAsciiBuffer(hex, 20);
    // Rebuilds "ACAD": what was before "DSTYLE", the overrides with this one set, what followed.
    RbChain old(xData(L"ACAD"));
    resbuf* out = acutBuildList(1001, L"ACAD", RTNONE);
    resbuf* tail = out;
    auto add = [&tail](resbuf* rb) { tail = tail->rbnext = rb; };
    const resbuf* rb = old.head ? old.head->rbnext : nullptr;
    for (; rb && !(rb->restype == 1000 && std::wcscmp(rb->resval.rstring, L"DSTYLE") == 0);
         rb = rb->rbnext)
        add(khost::rbCopy(rb));
    add(acutBuildList(1000, L"DSTYLE", RTNONE));
    add(acutBuildList(1002, L"{", RTNONE));
    if (rb && (rb = rb->rbnext) && rb->restype == 1002) {
        for (rb = rb->rbnext; rb && rb->restype == 1070 && rb->rbnext; rb = rb->rbnext->rbnext) {
            if (rb->resval.rint == 340)
                continue;
            add(khost::rbCopy(rb));
            add(khost::rbCopy(rb->rbnext));
        }
        if (rb && rb->restype == 1002)
            rb = rb->rbnext; // the closing brace
    }
    add(acutBuildList(1070, 340, RTNONE));
    resbuf* h = acutNewRb(1005);
    khost::rbSetString(h, hex);
    add(h);
    add(acutBuildList(1002, L"}", RTNONE));
    for (; rb; rb = rb->rbnext)
        add(khost::rbCopy(rb));
    Acad::ErrorStatus es = setXData(out);
    acutRelRb(out);
    if (es != Acad::eOk)
        return es;
    return changed();
}

AcDbObjectId AcDbDimension::styleId(int c) const {
    AcDbDatabase* db = lookupDatabase(this);
    {
        RbChain acad(xData(L"ACAD"));
        if (const resbuf* v = findOverride(acad.head, c); v && v->restype == 1005 && db) {
            AcDbObjectId id;
            if (db->getAcDbObjectId(id, false, AcDbHandle(v->resval.rstring)) == Acad::eOk)
                return id;
        }
    }
    AcDbObjectId sid(m_style);
    if (sid.isNull() && db)
        sid = db->dimstyle();
    auto* s = AcDbDimStyleTableRecord::cast(peekObject(sid));
    return s ? s->dimVarId(c) : AcDbObjectId::kNull;
}

std::wstring AcDbDimension::formattedMeasurement() const {
    double value = 0.0;
    measurement(value);
    value *= styleReal(144); // DIMLFAC
    const double rnd = styleReal(45);
    if (rnd > 0.0)
        value = std::round(value / rnd) * rnd;
    const int decimals = std::max(0, std::min(8, styleInt(271)));
    wchar_t buf[64];
    std::swprintf(buf, 64, L"%.*f", decimals, value);
    std::wstring s = buf;
    const int zin = styleInt(78);
    if ((zin & 8) && s.find(L'.') != std::wstring::npos) {
        while (!s.empty() && s.back() == L'0')
            s.pop_back();
        if (!s.empty() && s.back() == L'.')
            s.pop_back();
    }
    if ((zin & 4) && s.rfind(L"0.", 0) == 0)
        s.erase(0, 1);
    const int sep = styleInt(278);
    if (sep > 0 && sep != L'.')
        for (wchar_t& c : s)
            if (c == L'.')
                c = static_cast<wchar_t>(sep);
    std::wstring post;
    if (auto* st = AcDbDimStyleTableRecord::cast(peekObject(
            m_style ? AcDbObjectId(m_style)
                    : (lookupDatabase(this) ? lookupDatabase(this)->dimstyle() : AcDbObjectId()))))
        post = st->dimpost().constPtr() ? st->dimpost().constPtr() : L"";
    const size_t mark = post.find(L"<>");
    if (mark != std::wstring::npos)
        return post.substr(0, mark) + s + post.substr(mark + 2);
    return s + post;
}

Acad::ErrorStatus AcDbDimension::recomputeDimBlock(bool) {
    AcDbDatabase* db = database();
    if (!db)
        return Acad::eNotInDatabase;
    std::vector<AcDbEntity*> parts;
    buildGeometry(parts);
    std::vector<std::unique_ptr<AcDbEntity>> owned(parts.begin(), parts.end());
    for (auto& e : owned)
        byBlock(e.get(), db);

    AcDbBlockTableRecord* block = nullptr;
    if (m_block && acdbOpenObject(block, AcDbObjectId(m_block), AcDb::kForWrite) == Acad::eOk) {
        for (AcDbObjectId id : block->entityIds()) {
            AcDbEntity* old = nullptr;
            if (acdbOpenObject(old, id, AcDb::kForWrite) == Acad::eOk) {
                old->erase();
                old->close();
            }
        }
    } else {
        if (!isWriteEnabled())
            return Acad::eNotOpenForWrite;
        block = new AcDbBlockTableRecord;
        AcDbObjectId blockId;
        Acad::ErrorStatus es = Acad::eDuplicateRecordName;
        for (int n = 1; es == Acad::eDuplicateRecordName; ++n)
            es = addRecordUnopened(db, DbRole::BlockTable, block,
                                   (L"*D" + std::to_wstring(n)).c_str(), blockId);
        if (es != Acad::eOk) {
            delete block;
            return es;
        }
        block->setBlockFlags(1);
        m_block = blockId.stub();
    }
    for (auto& e : owned)
        if (block->appendAcDbEntity(e.get()) == Acad::eOk)
            e.release()->close();
    block->close();
    return Acad::eOk;
}

void AcDbDimension::subAddedToDatabase() {
    // A dimension a program made gets its block; one a reader fills keeps the file's.
    if (m_madeByProgram && !m_block)
        recomputeDimBlock();
}

Acad::ErrorStatus AcDbDimension::transformCommon(const AcGeMatrix3d& xform) {
    m_textPosition.transformBy(xform);
    AcGeVector3d n = m_normal;
    n.transformBy(xform);
    if (n.length() > 1e-12)
        m_normal = n.normalize();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDimension::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    if (!f->atSubclassData(L"AcDbDimension"))
        return Acad::eBadDxfSequence;
    AcDbDatabase* db = f->database() ? f->database() : database();
    return readSubclass(f, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 2:
            m_block = db ? findRecord(db, DbRole::BlockTable, rb.resval.rstring).stub() : nullptr;
            break;
        case 3:
            m_style =
                db ? findRecord(db, DbRole::DimStyleTable, rb.resval.rstring).stub() : nullptr;
            break;
        case 10:
            setDefinitionPoint(rbPoint(rb));
            break;
        case 11:
            m_textPosition = rbPoint(rb);
            break;
        case 70:
            m_userTextPosition = (rb.resval.rint & 128) != 0;
            break;
        case 42:
            m_measurement = rb.resval.rreal;
            break;
        case 1:
            m_text = rb.resval.rstring;
            break;
        case 53:
            m_textRotation = rb.resval.rreal * kPi / 180.0;
            break;
        case 51:
            m_horizontalRotation = rb.resval.rreal * kPi / 180.0;
            break;
        case 210:
            m_normal = rbVector(rb);
            break;
        default:
            break;
        }
    });
}
Acad::ErrorStatus AcDbDimension::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbEntity::dxfOutFields(f);
    auto* block = AcDbSymbolTableRecord::cast(peekObject(AcDbObjectId(m_block)));
    AcDbDatabase* db = f->database() ? f->database() : database();
    AcDbObjectId sid(m_style);
    if (sid.isNull() && db)
        sid = db->dimstyle();
    auto* style = AcDbSymbolTableRecord::cast(peekObject(sid));
    double value = 0.0;
    measurement(value);
    f->writeString(AcDb::kDxfSubclass, L"AcDbDimension");
    f->writeInt16(code(280), 0);
    f->writeString(code(2), block ? block->name() : L"");
    f->writePoint3d(code(10), definitionPoint());
    f->writePoint3d(code(11), m_textPosition);
    f->writeInt16(code(70),
                  static_cast<Adesk::Int16>(dimensionType() | 32 | (m_userTextPosition ? 128 : 0)));
    f->writeInt16(code(71), 5);
    f->writeInt16(code(72), 1);
    f->writeDouble(code(41), 1.0);
    f->writeDouble(code(42), value);
    f->writeString(code(1), m_text.c_str());
    if (m_textRotation != 0.0)
        f->writeDouble(code(53), m_textRotation * 180.0 / kPi);
    if (m_horizontalRotation != 0.0)
        f->writeDouble(code(51), m_horizontalRotation * 180.0 / kPi);
    f->writeVector3d(code(210), m_normal);
    f->writeString(code(3), style ? style->name() : L"Standard");
    return f->filerStatus();
}

// ---- Aligned dimensions -----------------------------------------------------------------------

AcDbAlignedDimension::AcDbAlignedDimension() = default;
AcDbAlignedDimension::AcDbAlignedDimension(const AcGePoint3d& p1, const AcGePoint3d& p2,
                                           const AcGePoint3d& dimLine, const ACHAR* text,
                                           AcDbObjectId style)
    : m_xLine1(p1), m_xLine2(p2), m_dimLine(dimLine) {
    m_text = text ? text : L"";
    m_style = style.stub();
    m_textPosition = AcGePoint3d((p1.x + p2.x) / 2.0, (p1.y + p2.y) / 2.0, (p1.z + p2.z) / 2.0);
    m_madeByProgram = true;
}

KHOST_DIM_SET(AcDbAlignedDimension, setXLine1Point, const AcGePoint3d&, m_xLine1 = v)
KHOST_DIM_SET(AcDbAlignedDimension, setXLine2Point, const AcGePoint3d&, m_xLine2 = v)
KHOST_DIM_SET(AcDbAlignedDimension, setDimLinePoint, const AcGePoint3d&, m_dimLine = v)
KHOST_DIM_SET(AcDbAlignedDimension, setOblique, double, m_oblique = v)
#undef KHOST_DIM_SET

Acad::ErrorStatus AcDbAlignedDimension::measurement(double& value) const {
    value = m_xLine1.distanceTo(m_xLine2);
    return Acad::eOk;
}

AcGePoint3d AcDbAlignedDimension::definitionPoint() const {
    // Where the dimension line meets the second extension line.
    AcGeVector3d d = m_xLine2 - m_xLine1;
    if (d.length() < 1e-12)
        return m_dimLine;
    d.normalize();
    const AcGeVector3d toLine = m_dimLine - m_xLine2;
    return m_xLine2 + (toLine - d * toLine.dotProduct(d));
}
void AcDbAlignedDimension::setDefinitionPoint(const AcGePoint3d& p) {
    m_dimLine = p;
}

void AcDbAlignedDimension::buildGeometry(std::vector<AcDbEntity*>& out) const {
    AcGeVector3d d = m_xLine2 - m_xLine1;
    if (d.length() < 1e-12)
        return;
    d.normalize();
    const AcGeVector3d toLine = m_dimLine - m_xLine1;
    const AcGeVector3d offset = toLine - d * toLine.dotProduct(d);
    AcGeVector3d side = offset;
    if (side.length() < 1e-12)
        side = m_normal.crossProduct(d);
    side.normalize();
    const double scale = styleReal(40) > 0.0 ? styleReal(40) : 1.0;
    const double exo = styleReal(42) * scale, exe = styleReal(44) * scale;
    const double asz = styleReal(41) * scale, txt = styleReal(140) * scale;
    const double gap = styleReal(147) * scale;
    const AcGePoint3d a = m_xLine1 + offset, b = m_xLine2 + offset;

    if (!styleInt(75))
        out.push_back(new AcDbLine(m_xLine1 + side * exo, a + side * exe));
    if (!styleInt(76))
        out.push_back(new AcDbLine(m_xLine2 + side * exo, b + side * exe));
    out.push_back(new AcDbLine(a, b));

    // Arrowheads, pointing outwards at both ends.
    const bool separate = styleInt(173) != 0;
    for (int end = 0; end < 2; ++end) {
        const AcGePoint3d tip = end == 0 ? a : b;
        const AcGeVector3d dir = end == 0 ? -d : d;
        const AcDbObjectId arrow = styleId(separate ? (end == 0 ? 343 : 344) : 342);
        auto* blk = AcDbSymbolTableRecord::cast(peekObject(arrow));
        if (blk) {
            const double pos[3] = {tip.x, tip.y, tip.z};
            const double angle = std::atan2(dir.y, dir.x) * 180.0 / kPi;
            out.push_back(rawEntity(L"INSERT", L"AcDbBlockReference",
                                    acutBuildList(100, L"AcDbBlockReference", 2, blk->name(), 10,
                                                  pos, 41, asz, 42, asz, 43, asz, 50, angle, 0)));
        } else {
            const AcGePoint3d base = tip - dir * asz;
            const AcGePoint3d c1 = base + side * (asz / 6.0), c2 = base - side * (asz / 6.0);
            const double p[3][3] = {{tip.x, tip.y, tip.z}, {c1.x, c1.y, c1.z}, {c2.x, c2.y, c2.z}};
            out.push_back(rawEntity(
                L"SOLID", L"AcDbTrace",
                acutBuildList(100, L"AcDbTrace", 10, p[0], 11, p[1], 12, p[2], 13, p[2], 0)));
        }
    }

    // The text, above the middle of the dimension line unless placed by the user.
    std::wstring text = m_text;
    const std::wstring value = formattedMeasurement();
    if (text.empty())
        text = value;
    else if (const size_t mark = text.find(L"<>"); mark != std::wstring::npos)
        text.replace(mark, 2, value);
    AcGePoint3d where = m_textPosition;
    if (!m_userTextPosition) {
        where = a + (b - a) * 0.5 + side * (gap + txt / 2.0);
    }
    auto* textStyle = AcDbSymbolTableRecord::cast(peekObject(styleId(340)));
    const double pos[3] = {where.x, where.y, where.z};
    AcGeVector3d textDir = d;
    if (textDir.x < -1e-9)
        textDir = -textDir;
    const double dirv[3] = {textDir.x, textDir.y, textDir.z};
    out.push_back(rawEntity(
        L"MTEXT", L"AcDbMText",
        acutBuildList(100, L"AcDbMText", 10, pos, 40, txt, 41, 0.0, 71, 5, 72, 1, 1, text.c_str(),
                      7, textStyle ? textStyle->name() : L"Standard", 11, dirv, 0)));
}

Acad::ErrorStatus AcDbAlignedDimension::transformBy(const AcGeMatrix3d& xform) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_xLine1.transformBy(xform);
    m_xLine2.transformBy(xform);
    m_dimLine.transformBy(xform);
    transformCommon(xform);
    return changed();
}

Acad::ErrorStatus AcDbAlignedDimension::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbDimension::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    if (!f->atSubclassData(L"AcDbAlignedDimension"))
        return Acad::eBadDxfSequence;
    es = readSubclass(f, [&](const resbuf& rb) {
        if (rb.restype == 13)
            m_xLine1 = rbPoint(rb);
        else if (rb.restype == 14)
            m_xLine2 = rbPoint(rb);
        else if (rb.restype == 52)
            m_oblique = rb.resval.rreal * kPi / 180.0;
    });
    // A rotated dimension's empty subclass, if any, is passed over.
    if (es == Acad::eOk && f->atSubclassData(L"AcDbRotatedDimension"))
        es = readSubclass(f, [](const resbuf&) {});
    return es;
}
Acad::ErrorStatus AcDbAlignedDimension::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbDimension::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbAlignedDimension");
    const double zero[3] = {0.0, 0.0, 0.0};
    f->writePoint3d(code(12), zero);
    f->writePoint3d(code(13), m_xLine1);
    f->writePoint3d(code(14), m_xLine2);
    if (m_oblique != 0.0)
        f->writeDouble(code(52), m_oblique * 180.0 / kPi);
    return f->filerStatus();
}
