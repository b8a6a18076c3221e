// Table styles and multiline styles.
#include "dbtablestyle.h"

#include "acutads.h"
#include "dbdict.h"
#include "dbimpl.h"

using namespace khost;

ACRX_DEFINE_MEMBERS_DXF(AcDbTableStyle, AcDbObject, L"TABLESTYLE")
ACRX_DEFINE_MEMBERS_DXF(AcDbMlineStyle, AcDbObject, L"MLINESTYLE")

namespace {
const double kDegree = 3.14159265358979323846 / 180.0;
const bool registered =
    (registerDbClass(AcDbTableStyle::desc(), []() -> AcDbObject* { return new AcDbTableStyle; }),
     registerDbClass(AcDbMlineStyle::desc(), []() -> AcDbObject* { return new AcDbMlineStyle; }),
     true);

AcCmColor aci(int index) {
    AcCmColor c;
    c.setColorIndex(static_cast<Adesk::Int16>(index));
    return c;
}
AcDb::DxfCode code(int c) {
    return static_cast<AcDb::DxfCode>(c);
}
// The key of an object in its owner dictionary, else the name it keeps.
void keyOrName(const AcDbObject* o, const std::wstring& kept, AcString& name) {
    auto* dict = AcDbDictionary::cast(peekObject(o->ownerId()));
    if (!dict || dict->nameAt(o->objectId(), name) != Acad::eOk)
        name = kept;
}
const int kRowOrder[3] = {AcDb::kDataRow, AcDb::kTitleRow, AcDb::kHeaderRow};
} // namespace

// ---- Table styles -------------------------------------------------------------------------------

AcDbTableStyle::AcDbTableStyle() {
    (void)registered;
    const double heights[3] = {4.5, 6.0, 4.5};
    const Adesk::Int16 alignments[3] = {AcDb::kTopCenter, AcDb::kMiddleCenter, AcDb::kMiddleCenter};
    for (int i = 0; i < 3; ++i) {
        m_cells[i].height = heights[i];
        m_cells[i].alignment = alignments[i];
        m_cells[i].color = aci(0);
        m_cells[i].fill = aci(7);
        for (AcCmColor& c : m_cells[i].borderColor)
            c = aci(0);
    }
}
AcDbTableStyle::~AcDbTableStyle() = default;

const AcDbTableStyle::Cell* AcDbTableStyle::cell(AcDb::RowType rowType) const {
    for (int i = 0; i < 3; ++i)
        if (kRowOrder[i] == rowType)
            return &m_cells[i];
    return nullptr;
}
template <class F> Acad::ErrorStatus AcDbTableStyle::forRows(int rowTypes, F f) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (rowTypes <= 0 || (rowTypes & ~AcDb::kAllRows))
        return Acad::eInvalidInput;
    for (int i = 0; i < 3; ++i)
        if (rowTypes & kRowOrder[i])
            f(m_cells[i]);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTableStyle::getName(AcString& name) const {
    keyOrName(this, m_name, name);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbTableStyle::getName(ACHAR*& name) const {
    AcString s;
    getName(s);
    return acutNewString(s.constPtr(), name) == RTNORM ? Acad::eOk : Acad::eOutOfMemory;
}
Acad::ErrorStatus AcDbTableStyle::setName(const ACHAR* name) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!isValidSymbolName(name, false))
        return Acad::eInvalidInput;
    m_name = name;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbTableStyle::setDescription(const ACHAR* d) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_description = d ? d : L"";
    return Acad::eOk;
}
Acad::ErrorStatus AcDbTableStyle::postTableStyleToDb(AcDbDatabase* db, const ACHAR* styleName,
                                                     AcDbObjectId& id) {
    id = AcDbObjectId::kNull;
    if (!db)
        return Acad::eNoDatabase;
    if (isDatabaseResident())
        return Acad::eAlreadyInDb;
    if (!isValidSymbolName(styleName, false))
        return Acad::eInvalidInput;
    AcDbDictionary* dict = nullptr;
    Acad::ErrorStatus es = db->getTableStyleDictionary(dict, AcDb::kForWrite);
    if (es != Acad::eOk)
        return es;
    es = dict->has(styleName) ? Acad::eDuplicateRecordName : dict->setAt(styleName, this, id);
    dict->close();
    if (es == Acad::eOk)
        m_name = styleName;
    return es;
}

#define KHOST_TS_SET(NAME, TYPE, FIELD, COND)                                                      \
    Acad::ErrorStatus AcDbTableStyle::NAME(TYPE v) {                                               \
        if (!isWriteEnabled())                                                                     \
            return Acad::eNotOpenForWrite;                                                         \
        if (!(COND))                                                                               \
            return Acad::eInvalidInput;                                                            \
        FIELD = v;                                                                                 \
        return Acad::eOk;                                                                          \
    }
KHOST_TS_SET(setFlowDirection, AcDb::FlowDirection, m_flow, v == AcDb::kTtoB || v == AcDb::kBtoT)
KHOST_TS_SET(setHorzCellMargin, double, m_horzMargin, v >= 0.0)
KHOST_TS_SET(setVertCellMargin, double, m_vertMargin, v >= 0.0)
KHOST_TS_SET(suppressTitleRow, bool, m_titleSuppressed, true)
KHOST_TS_SET(suppressHeaderRow, bool, m_headerSuppressed, true)
#undef KHOST_TS_SET

AcDbObjectId AcDbTableStyle::textStyle(AcDb::RowType rowType) const {
    const Cell* c = cell(rowType);
    return AcDbObjectId(c ? c->textStyle : nullptr);
}
Acad::ErrorStatus AcDbTableStyle::setTextStyle(const AcDbObjectId& id, int rowTypes) {
    return forRows(rowTypes, [&](Cell& c) { c.textStyle = id.stub(); });
}
double AcDbTableStyle::textHeight(AcDb::RowType rowType) const {
    const Cell* c = cell(rowType);
    return c ? c->height : 0.0;
}
Acad::ErrorStatus AcDbTableStyle::setTextHeight(double height, int rowTypes) {
    if (!(height > 0.0))
        return isWriteEnabled() ? Acad::eInvalidInput : Acad::eNotOpenForWrite;
    return forRows(rowTypes, [&](Cell& c) { c.height = height; });
}
AcDb::CellAlignment AcDbTableStyle::alignment(AcDb::RowType rowType) const {
    const Cell* c = cell(rowType);
    return c ? static_cast<AcDb::CellAlignment>(c->alignment) : AcDb::kTopLeft;
}
Acad::ErrorStatus AcDbTableStyle::setAlignment(AcDb::CellAlignment alignment, int rowTypes) {
    if (alignment < AcDb::kTopLeft || alignment > AcDb::kBottomRight)
        return isWriteEnabled() ? Acad::eInvalidInput : Acad::eNotOpenForWrite;
    return forRows(rowTypes, [&](Cell& c) { c.alignment = static_cast<Adesk::Int16>(alignment); });
}
AcCmColor AcDbTableStyle::color(AcDb::RowType rowType) const {
    const Cell* c = cell(rowType);
    return c ? c->color : AcCmColor();
}
Acad::ErrorStatus AcDbTableStyle::setColor(const AcCmColor& color, int rowTypes) {
    return forRows(rowTypes, [&](Cell& c) { c.color = color; });
}
AcCmColor AcDbTableStyle::backgroundColor(AcDb::RowType rowType) const {
    const Cell* c = cell(rowType);
    return c ? c->fill : AcCmColor();
}
Acad::ErrorStatus AcDbTableStyle::setBackgroundColor(const AcCmColor& color, int rowTypes) {
    return forRows(rowTypes, [&](Cell& c) {
        c.fill = color;
        c.fillOn = true;
    });
}
bool AcDbTableStyle::isBackgroundColorNone(AcDb::RowType rowType) const {
    const Cell* c = cell(rowType);
    return !c || !c->fillOn;
}
Acad::ErrorStatus AcDbTableStyle::setBackgroundColorNone(bool value, int rowTypes) {
    return forRows(rowTypes, [&](Cell& c) { c.fillOn = !value; });
}

Acad::ErrorStatus AcDbTableStyle::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbObject::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    if (!f->atSubclassData(L"AcDbTableStyle"))
        return Acad::eBadDxfSequence;
    int cellIndex = -1;
    bool versionRead = false;
    AcDbDatabase* db = f->database() ? f->database() : database();
    return readSubclass(f, [&](const resbuf& rb) {
        const short i = rb.resval.rint;
        Cell* c = (cellIndex >= 0 && cellIndex < 3) ? &m_cells[cellIndex] : nullptr;
        const int t = rb.restype;
        if (t == 7) {
            ++cellIndex;
            if (cellIndex < 3)
                m_cells[cellIndex].textStyle =
                    db ? findRecord(db, DbRole::TextStyleTable, rb.resval.rstring).stub() : nullptr;
        } else if (cellIndex < 0) {
            switch (t) {
            case 280:
                if (versionRead)
                    m_titleSuppressed = i != 0;
                versionRead = true;
                break;
            case 3:
                m_description = rb.resval.rstring;
                break;
            case 70:
                m_flow = i;
                break;
            case 71:
                m_flags = i;
                break;
            case 40:
                m_horzMargin = rb.resval.rreal;
                break;
            case 41:
                m_vertMargin = rb.resval.rreal;
                break;
            case 281:
                m_headerSuppressed = i != 0;
                break;
            default:
                break;
            }
        } else if (c) {
            if (t == 140)
                c->height = rb.resval.rreal;
            else if (t == 170)
                c->alignment = i;
            else if (t == 62)
                c->color = aci(i);
            else if (t == 63)
                c->fill = aci(i);
            else if (t == 283)
                c->fillOn = i != 0;
            else if (t >= 274 && t <= 279)
                c->borderWeight[t - 274] = i;
            else if (t >= 284 && t <= 289)
                c->borderVisible[t - 284] = i != 0;
            else if (t >= 64 && t <= 69)
                c->borderColor[t - 64] = aci(i);
        }
    });
}

Acad::ErrorStatus AcDbTableStyle::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbObject::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbTableStyle");
    f->writeInt16(code(280), 0);
    f->writeString(code(3), m_description.c_str());
    f->writeInt16(code(70), m_flow);
    f->writeInt16(code(71), m_flags);
    f->writeDouble(code(40), m_horzMargin);
    f->writeDouble(code(41), m_vertMargin);
    f->writeInt16(code(280), m_titleSuppressed ? 1 : 0);
    f->writeInt16(code(281), m_headerSuppressed ? 1 : 0);
    for (const Cell& c : m_cells) {
        auto* style = AcDbSymbolTableRecord::cast(peekObject(AcDbObjectId(c.textStyle)));
        f->writeString(code(7), style ? style->name() : L"Standard");
        f->writeDouble(code(140), c.height);
        f->writeInt16(code(170), c.alignment);
        f->writeInt16(code(62), c.color.colorIndex());
        f->writeInt16(code(63), c.fill.colorIndex());
        f->writeInt16(code(283), c.fillOn ? 1 : 0);
        f->writeInt32(code(90), 512);
        f->writeInt32(code(91), 0);
        f->writeString(code(1), L"");
        for (int k = 0; k < 6; ++k)
            f->writeInt16(code(274 + k), c.borderWeight[k]);
        for (int k = 0; k < 6; ++k)
            f->writeInt16(code(284 + k), c.borderVisible[k] ? 1 : 0);
        for (int k = 0; k < 6; ++k)
            f->writeInt16(code(64 + k), c.borderColor[k].colorIndex());
    }
    return f->filerStatus();
}

// ---- Multiline styles ---------------------------------------------------------------------------

AcDbMlineStyle::AcDbMlineStyle()
    : m_fillColor(aci(256)), m_startAngle(90.0 * kDegree), m_endAngle(90.0 * kDegree) {}
AcDbMlineStyle::~AcDbMlineStyle() = default;

void AcDbMlineStyle::initMlineStyle() {
    if (!assertWriteEnabled())
        return;
    m_elements.clear();
    m_elements.push_back({0.5, aci(256), nullptr});
    m_elements.push_back({-0.5, aci(256), nullptr});
}
Acad::ErrorStatus AcDbMlineStyle::setName(const ACHAR* name) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!isValidSymbolName(name, false))
        return Acad::eInvalidInput;
    m_name = name;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMlineStyle::setDescription(const ACHAR* d) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_description = d ? d : L"";
    return Acad::eOk;
}
void AcDbMlineStyle::setFilled(bool filled) {
    if (assertWriteEnabled())
        m_flags = static_cast<Adesk::Int16>(filled ? (m_flags | 1) : (m_flags & ~1));
}
void AcDbMlineStyle::setFillColor(const AcCmColor& color) {
    if (assertWriteEnabled())
        m_fillColor = color;
}
void AcDbMlineStyle::setStartAngle(double angle) {
    if (assertWriteEnabled())
        m_startAngle = angle;
}
void AcDbMlineStyle::setEndAngle(double angle) {
    if (assertWriteEnabled())
        m_endAngle = angle;
}
Acad::ErrorStatus AcDbMlineStyle::addElement(double offset, const AcCmColor& color,
                                             AcDbObjectId linetypeId, int& index, bool) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (m_elements.size() >= 16)
        return Acad::eInvalidInput;
    size_t at = 0;
    while (at < m_elements.size() && m_elements[at].offset >= offset)
        ++at;
    m_elements.insert(m_elements.begin() + static_cast<long>(at),
                      Element{offset, color, linetypeId.stub()});
    index = static_cast<int>(at);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMlineStyle::getElementAt(int index, double& offset, AcCmColor& color,
                                               AcDbObjectId& linetypeId) const {
    if (index < 0 || index >= numElements())
        return Acad::eInvalidIndex;
    const Element& e = m_elements[static_cast<size_t>(index)];
    offset = e.offset;
    color = e.color;
    linetypeId = AcDbObjectId(e.linetype);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMlineStyle::removeElementAt(int index) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (index < 0 || index >= numElements())
        return Acad::eInvalidIndex;
    m_elements.erase(m_elements.begin() + index);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMlineStyle::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbObject::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    if (!f->atSubclassData(L"AcDbMlineStyle"))
        return Acad::eBadDxfSequence;
    m_elements.clear();
    AcDbDatabase* db = f->database() ? f->database() : database();
    return readSubclass(f, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 2:
            m_name = rb.resval.rstring;
            break;
        case 70:
            m_flags = rb.resval.rint;
            break;
        case 3:
            m_description = rb.resval.rstring;
            break;
        case 51:
            m_startAngle = rb.resval.rreal * kDegree;
            break;
        case 52:
            m_endAngle = rb.resval.rreal * kDegree;
            break;
        case 49:
            m_elements.push_back({rb.resval.rreal, aci(256), nullptr});
            break;
        case 62:
            if (m_elements.empty())
                m_fillColor = aci(rb.resval.rint);
            else
                m_elements.back().color = aci(rb.resval.rint);
            break;
        case 6:
            if (!m_elements.empty() && db && nameKey(rb.resval.rstring) != L"BYLAYER")
                m_elements.back().linetype =
                    findRecord(db, DbRole::LinetypeTable, rb.resval.rstring).stub();
            break;
        default:
            break;
        }
    });
}
Acad::ErrorStatus AcDbMlineStyle::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbObject::dxfOutFields(f);
    AcString name;
    keyOrName(this, m_name, name);
    f->writeString(AcDb::kDxfSubclass, L"AcDbMlineStyle");
    f->writeString(code(2), name.constPtr());
    f->writeInt16(code(70), m_flags);
    f->writeString(code(3), m_description.c_str());
    f->writeInt16(code(62), m_fillColor.colorIndex());
    f->writeDouble(code(51), m_startAngle / kDegree);
    f->writeDouble(code(52), m_endAngle / kDegree);
    f->writeInt16(code(71), static_cast<Adesk::Int16>(m_elements.size()));
    for (const Element& e : m_elements) {
        f->writeDouble(code(49), e.offset);
        f->writeInt16(code(62), e.color.colorIndex());
        auto* lt = AcDbSymbolTableRecord::cast(peekObject(AcDbObjectId(e.linetype)));
        f->writeString(code(6), lt ? lt->name() : L"BYLAYER");
    }
    return f->filerStatus();
}
