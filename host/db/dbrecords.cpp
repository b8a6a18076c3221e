// The records of the layer, linetype, text style, dimension style, UCS, application, view and
// viewport tables.
#include "dbimpl.h"

#include "acutads.h"
#include "dbaddrec.h"
#include "dbarrow.h"

#include <algorithm>

using namespace khost;

namespace {
Acad::ErrorStatus newString(const std::wstring& s, ACHAR*& out) {
    return acutNewString(s.c_str(), out) == RTNORM ? Acad::eOk : Acad::eOutOfMemory;
}
bool isRole(const AcDbObject* o, DbRole role) {
    const DbStub* s = DbAccess::stub(o);
    return s && s->database && s->database->impl().role(role) == s;
}
bool isHeaderRef(const AcDbObject* o, DbStub* DbHeader::*field) {
    const DbStub* s = DbAccess::stub(o);
    return s && s->database && s->database->impl().header.*field == s;
}
void writeName(AcDbDxfFiler* f, const AcDbSymbolTableRecord* r, const ACHAR* subclass, int flags) {
    f->writeString(AcDb::kDxfSubclass, subclass);
    f->writeString(AcDb::kDxfSymbolTableName, r->name());
    f->writeInt16(AcDb::kDxfInt16, static_cast<Adesk::Int16>(flags));
}
const ACHAR* recordName(AcDbObjectId id) {
    auto* r = AcDbSymbolTableRecord::cast(peekObject(id));
    return r ? r->name() : L"";
}

const wchar_t* const kLayerDescriptionApp = L"AcAecLayerStandard";
const wchar_t* const kAcadApp = L"ACAD";

// The part of one application in an extended data chain (after its 1001 group), or null.
const resbuf* appPart(const resbuf* xdata, const wchar_t* app) {
    for (const resbuf* rb = xdata; rb; rb = rb->rbnext)
        if (rb->restype == AcDb::kDxfRegAppName && rb->resval.rstring &&
            nameKey(rb->resval.rstring) == nameKey(app))
            return rb;
    return nullptr;
}

// Replaces the part of an application in an object's extended data (an empty part removes
// it), registering the application when needed.
Acad::ErrorStatus storeAppPart(AcDbObject* o, const wchar_t* app, resbuf* part) {
    AcDbDatabase* db = o->database();
    if (!db) {
        acutRelRb(part);
        return Acad::eOk;
    }
    if (part)
        ensureRegApp(db, app);
    else if (findRecord(db, DbRole::RegAppTable, app).isNull())
        return Acad::eOk;
    resbuf* head = acutBuildList(AcDb::kDxfRegAppName, app, 0);
    head->rbnext = part;
    Acad::ErrorStatus es = o->AcDbObject::setXData(head);
    acutRelRb(head);
    return es;
}
} // namespace

namespace khost {
void setRecordNameRaw(AcDbSymbolTableRecord* r, const ACHAR* name) {
    auto* table = AcDbSymbolTable::cast(stubObject(DbAccess::ownerStub(r)));
    if (table && DbAccess::stub(r) && !r->isErased()) {
        auto& idx = DbAccess::index(table);
        auto old = idx.find(nameKey(r->name()));
        if (old != idx.end() && old->second == DbAccess::stub(r))
            idx.erase(old);
        idx[nameKey(name)] = DbAccess::stub(r);
    }
    DbAccess::name(r) = name ? name : L"";
}
} // namespace khost

// Records that are a database's indispensable ones or its current ones cannot be erased.
#define KHOST_REFUSE_ERASE_IF(COND)                                                                \
    if (erasing && (COND))                                                                         \
        return Acad::eCannotBeErasedByCaller;

Acad::ErrorStatus AcDbSymbolTableRecord::dxfInFields(AcDbDxfFiler* pFiler) {
    Acad::ErrorStatus es = AcDbObject::dxfInFields(pFiler);
    if (es == Acad::eOk)
        pFiler->atSubclassData(L"AcDbSymbolTableRecord");
    return es;
}
Acad::ErrorStatus AcDbSymbolTableRecord::dxfOutFields(AcDbDxfFiler* pFiler) const {
    AcDbObject::dxfOutFields(pFiler);
    return pFiler->writeString(AcDb::kDxfSubclass, L"AcDbSymbolTableRecord");
}

Acad::ErrorStatus AcDbBlockTableRecord::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbSymbolTableRecord::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbBlockTableRecord");
    return readSubclass(f, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 2:
            setRecordNameRaw(this, rb.resval.rstring);
            break;
        case 340:
            m_layout = rbId(rb).stub();
            break;
        case 70:
            m_insunits = rb.resval.rint;
            break;
        case 280:
            m_explodable = rb.resval.rint != 0;
            break;
        case 281:
            m_uniformScaling = rb.resval.rint != 0;
            break;
        default:
            break;
        }
    });
}
Acad::ErrorStatus AcDbBlockTableRecord::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbSymbolTableRecord::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbBlockTableRecord");
    f->writeString(AcDb::kDxfSymbolTableName, name());
    f->writeObjectId(AcDb::kDxfHardPointerId, AcDbObjectId(m_layout));
    f->writeInt16(AcDb::kDxfInt16, m_insunits);
    f->writeInt16(AcDb::kDxfInt8, m_explodable ? 1 : 0);
    return f->writeInt16(static_cast<AcDb::DxfCode>(281), m_uniformScaling ? 1 : 0);
}

// ---- Layers -----------------------------------------------------------------------------------

AcDbLayerTableRecord::AcDbLayerTableRecord() {
    m_color.setColorIndex(7);
}

Acad::ErrorStatus AcDbLayerTableRecord::setIsFrozen(bool frozen) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (frozen && isHeaderRef(this, &DbHeader::clayer))
        return Acad::eInvalidLayer;
    m_frozen = frozen;
    return Acad::eOk;
}
void AcDbLayerTableRecord::setIsOff(bool off) {
    if (assertWriteEnabled())
        m_off = off;
}
void AcDbLayerTableRecord::setIsLocked(bool locked) {
    if (assertWriteEnabled())
        m_locked = locked;
}
void AcDbLayerTableRecord::setVPDFLT(bool frozen) {
    if (assertWriteEnabled())
        m_vpdflt = frozen;
}
void AcDbLayerTableRecord::setColor(const AcCmColor& color) {
    if (assertWriteEnabled())
        m_color = color;
}
AcDbObjectId AcDbLayerTableRecord::linetypeObjectId() const {
    return AcDbObjectId(m_linetype);
}
void AcDbLayerTableRecord::setLinetypeObjectId(AcDbObjectId id) {
    if (assertWriteEnabled())
        m_linetype = id.stub();
}
Acad::ErrorStatus AcDbLayerTableRecord::setLineWeight(AcDb::LineWeight weight) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (weight == AcDb::kLnWtByLayer || weight == AcDb::kLnWtByBlock)
        return Acad::eInvalidInput;
    m_lineweight = static_cast<Adesk::Int16>(weight);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLayerTableRecord::setIsPlottable(bool plot) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_plottable = plot;
    return Acad::eOk;
}
ACHAR* AcDbLayerTableRecord::description() const {
    ACHAR* p = nullptr;
    newString(m_description, p);
    return p;
}
Acad::ErrorStatus AcDbLayerTableRecord::description(AcString& s) const {
    s = m_description;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLayerTableRecord::setDescription(const ACHAR* d) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_description = d ? d : L"";
    return storeDescription();
}
Acad::ErrorStatus AcDbLayerTableRecord::storeDescription() {
    resbuf* part = m_description.empty()
                       ? nullptr
                       : acutBuildList(AcDb::kDxfXdAsciiString, L"", AcDb::kDxfXdAsciiString,
                                       m_description.c_str(), 0);
    return storeAppPart(this, kLayerDescriptionApp, part);
}
void AcDbLayerTableRecord::subAddedToDatabase() {
    if (!m_description.empty())
        storeDescription();
}
Acad::ErrorStatus AcDbLayerTableRecord::setXData(const resbuf* xdata) {
    Acad::ErrorStatus es = AcDbObject::setXData(xdata);
    if (es != Acad::eOk)
        return es;
    if (const resbuf* part = appPart(xdata, kLayerDescriptionApp)) {
        // The second string of the part is the description.
        int strings = 0;
        m_description.clear();
        for (const resbuf* rb = part->rbnext; rb && rb->restype != AcDb::kDxfRegAppName;
             rb = rb->rbnext)
            if (rb->restype == AcDb::kDxfXdAsciiString && ++strings == 2 && rb->resval.rstring)
                m_description = rb->resval.rstring;
    }
    return Acad::eOk;
}
bool AcDbLayerTableRecord::isInUse() const {
    AcDbDatabase* db = database();
    if (!db)
        return false;
    const DbStub* self = DbAccess::stub(this);
    bool used = false;
    forEachObject(db, [&](AcDbObjectId id) {
        if (used || id.isErased())
            return;
        auto* e = AcDbEntity::cast(peekObject(id));
        used = e && DbAccess::layerStub(e) == self;
    });
    return used;
}
AcDbObjectId AcDbLayerTableRecord::plotStyleNameId() const {
    return AcDbObjectId(m_plotStyle);
}
Acad::ErrorStatus AcDbLayerTableRecord::setPlotStyleName(const AcDbObjectId& id) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_plotStyle = id.stub();
    return Acad::eOk;
}
ACHAR* AcDbLayerTableRecord::plotStyleName() const {
    AcString name(L"Normal");
    AcDbDatabase* db = lookupDatabase(this);
    auto* dict = db ? AcDbDictionary::cast(peekObject(db->plotStyleNameDictionaryId())) : nullptr;
    if (dict && m_plotStyle)
        dict->nameAt(AcDbObjectId(m_plotStyle), name);
    ACHAR* p = nullptr;
    acutNewString(name.constPtr(), p);
    return p;
}
Acad::ErrorStatus AcDbLayerTableRecord::setPlotStyleName(const ACHAR* newName) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    AcDbDatabase* db = lookupDatabase(this);
    auto* dict = db ? AcDbDictionary::cast(peekObject(db->plotStyleNameDictionaryId())) : nullptr;
    AcDbObjectId id;
    if (!dict || !newName || dict->getAt(newName, id) != Acad::eOk)
        return Acad::eKeyNotFound;
    m_plotStyle = id.stub();
    return Acad::eOk;
}
AcDbObjectId AcDbLayerTableRecord::materialId() const {
    return AcDbObjectId(m_material);
}
Acad::ErrorStatus AcDbLayerTableRecord::setMaterialId(AcDbObjectId id) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_material = id.stub();
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLayerTableRecord::subErase(bool erasing) {
    KHOST_REFUSE_ERASE_IF(isRole(this, DbRole::LayerZero) || isHeaderRef(this, &DbHeader::clayer) ||
                          nameKey(name()) == L"DEFPOINTS")
    return AcDbSymbolTableRecord::subErase(erasing);
}

Acad::ErrorStatus AcDbLayerTableRecord::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbSymbolTableRecord::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbLayerTableRecord");
    return readSubclass(f, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 2:
            setRecordNameRaw(this, rb.resval.rstring);
            break;
        case 70:
            m_frozen = rb.resval.rint & 1;
            m_vpdflt = rb.resval.rint & 2;
            m_locked = rb.resval.rint & 4;
            break;
        case 62:
            m_off = rb.resval.rint < 0;
            if (!m_color.isByColor())
                m_color.setColorIndex(static_cast<Adesk::Int16>(
                    rb.resval.rint < 0 ? -rb.resval.rint : rb.resval.rint));
            break;
        case 420:
            m_color.setRGB(static_cast<Adesk::UInt32>(rb.resval.rlong));
            break;
        case 6: {
            AcDbObjectId lt =
                f->database() ? findRecord(f->database(), DbRole::LinetypeTable, rb.resval.rstring)
                              : AcDbObjectId::kNull;
            m_linetype = lt.stub();
            break;
        }
        case 290:
            m_plottable = rb.resval.rint != 0;
            break;
        case 370:
            m_lineweight = rb.resval.rint;
            break;
        case 390:
            m_plotStyle = rbId(rb).stub();
            break;
        case 347:
            m_material = rbId(rb).stub();
            break;
        default:
            break;
        }
    });
}
Acad::ErrorStatus AcDbLayerTableRecord::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbSymbolTableRecord::dxfOutFields(f);
    writeName(f, this, L"AcDbLayerTableRecord",
              (m_frozen ? 1 : 0) | (m_vpdflt ? 2 : 0) | (m_locked ? 4 : 0));
    Adesk::Int16 aci = m_color.colorIndex();
    f->writeInt16(AcDb::kDxfColor, static_cast<Adesk::Int16>(m_off ? -aci : aci));
    if (m_color.isByColor())
        f->writeInt32(AcDb::kDxfColorRGB, static_cast<Adesk::Int32>(m_color.trueColor()));
    f->writeString(AcDb::kDxfLinetypeName,
                   m_linetype ? recordName(AcDbObjectId(m_linetype)) : L"Continuous");
    if (!m_plottable)
        f->writeBool(AcDb::kDxfBool, false);
    f->writeInt16(AcDb::kDxfLineWeight, m_lineweight);
    f->writeObjectId(AcDb::kDxfPlotStyleNameId, AcDbObjectId(m_plotStyle));
    if (m_material)
        f->writeObjectId(static_cast<AcDb::DxfCode>(347), AcDbObjectId(m_material));
    return f->filerStatus();
}

// ---- Linetypes --------------------------------------------------------------------------------

AcDbLinetypeTableRecord::AcDbLinetypeTableRecord() = default;

const AcDbLinetypeTableRecord::Dash* AcDbLinetypeTableRecord::dashAt(int i) const {
    return (i >= 0 && i < numDashes()) ? &m_dashes[static_cast<size_t>(i)] : nullptr;
}
AcDbLinetypeTableRecord::Dash* AcDbLinetypeTableRecord::dashAt(int i) {
    return (i >= 0 && i < numDashes()) ? &m_dashes[static_cast<size_t>(i)] : nullptr;
}
Acad::ErrorStatus AcDbLinetypeTableRecord::comments(ACHAR*& p) const {
    return newString(m_comments, p);
}
Acad::ErrorStatus AcDbLinetypeTableRecord::comments(const ACHAR*& p) const {
    p = m_comments.c_str();
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLinetypeTableRecord::comments(AcString& s) const {
    s = m_comments;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLinetypeTableRecord::setComments(const ACHAR* p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_comments = p ? p : L"";
    return Acad::eOk;
}
void AcDbLinetypeTableRecord::setPatternLength(double v) {
    if (assertWriteEnabled())
        m_patternLength = v;
}
void AcDbLinetypeTableRecord::setNumDashes(int count) {
    if (assertWriteEnabled())
        m_dashes.resize(static_cast<size_t>(std::max(0, count)));
}
void AcDbLinetypeTableRecord::setIsScaledToFit(bool v) {
    if (assertWriteEnabled())
        m_scaledToFit = v;
}
double AcDbLinetypeTableRecord::dashLengthAt(int i) const {
    return dashAt(i) ? dashAt(i)->length : 0.0;
}
void AcDbLinetypeTableRecord::setDashLengthAt(int i, double v) {
    if (assertWriteEnabled() && dashAt(i))
        dashAt(i)->length = v;
}
AcDbObjectId AcDbLinetypeTableRecord::shapeStyleAt(int i) const {
    return AcDbObjectId(dashAt(i) ? dashAt(i)->style : nullptr);
}
void AcDbLinetypeTableRecord::setShapeStyleAt(int i, AcDbObjectId id) {
    if (assertWriteEnabled() && dashAt(i))
        dashAt(i)->style = id.stub();
}
int AcDbLinetypeTableRecord::shapeNumberAt(int i) const {
    return dashAt(i) ? dashAt(i)->shapeNumber : 0;
}
void AcDbLinetypeTableRecord::setShapeNumberAt(int i, int n) {
    if (assertWriteEnabled() && dashAt(i))
        dashAt(i)->shapeNumber = n;
}
AcGeVector2d AcDbLinetypeTableRecord::shapeOffsetAt(int i) const {
    return dashAt(i) ? dashAt(i)->offset : AcGeVector2d();
}
void AcDbLinetypeTableRecord::setShapeOffsetAt(int i, const AcGeVector2d& v) {
    if (assertWriteEnabled() && dashAt(i))
        dashAt(i)->offset = v;
}
double AcDbLinetypeTableRecord::shapeScaleAt(int i) const {
    return dashAt(i) ? dashAt(i)->scale : 0.0;
}
void AcDbLinetypeTableRecord::setShapeScaleAt(int i, double v) {
    if (assertWriteEnabled() && dashAt(i))
        dashAt(i)->scale = v;
}
double AcDbLinetypeTableRecord::shapeRotationAt(int i) const {
    return dashAt(i) ? dashAt(i)->rotation : 0.0;
}
void AcDbLinetypeTableRecord::setShapeRotationAt(int i, double v) {
    if (assertWriteEnabled() && dashAt(i))
        dashAt(i)->rotation = v;
}
bool AcDbLinetypeTableRecord::shapeIsUcsOrientedAt(int i) const {
    return dashAt(i) && dashAt(i)->ucsOriented;
}
void AcDbLinetypeTableRecord::setShapeIsUcsOrientedAt(int i, bool v) {
    if (assertWriteEnabled() && dashAt(i))
        dashAt(i)->ucsOriented = v;
}
Acad::ErrorStatus AcDbLinetypeTableRecord::textAt(int i, ACHAR*& t) const {
    if (!dashAt(i))
        return Acad::eInvalidIndex;
    return newString(dashAt(i)->text, t);
}
Acad::ErrorStatus AcDbLinetypeTableRecord::textAt(int i, const ACHAR*& t) const {
    if (!dashAt(i))
        return Acad::eInvalidIndex;
    t = dashAt(i)->text.c_str();
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLinetypeTableRecord::setTextAt(int i, const ACHAR* t) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!dashAt(i))
        return Acad::eInvalidIndex;
    dashAt(i)->text = t ? t : L"";
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLinetypeTableRecord::subErase(bool erasing) {
    KHOST_REFUSE_ERASE_IF(
        isRole(this, DbRole::LinetypeContinuous) || isRole(this, DbRole::LinetypeByLayer) ||
        isRole(this, DbRole::LinetypeByBlock) || isHeaderRef(this, &DbHeader::celtype))
    return AcDbSymbolTableRecord::subErase(erasing);
}

Acad::ErrorStatus AcDbLinetypeTableRecord::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbSymbolTableRecord::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbLinetypeTableRecord");
    m_dashes.clear();
    return readSubclass(f, [&](const resbuf& rb) {
        Dash* d = m_dashes.empty() ? nullptr : &m_dashes.back();
        switch (rb.restype) {
        case 2:
            setRecordNameRaw(this, rb.resval.rstring);
            break;
        case 3:
            m_comments = rb.resval.rstring;
            break;
        case 40:
            m_patternLength = rb.resval.rreal;
            break;
        case 49:
            m_dashes.emplace_back();
            m_dashes.back().length = rb.resval.rreal;
            break;
        case 74:
            if (d)
                d->ucsOriented = (rb.resval.rint & 1) != 0; // absolute rotation
            break;
        case 75:
            if (d)
                d->shapeNumber = rb.resval.rint;
            break;
        case 340:
            if (d)
                d->style = rbId(rb).stub();
            break;
        case 46:
            if (d)
                d->scale = rb.resval.rreal;
            break;
        case 50:
            if (d)
                d->rotation = rb.resval.rreal;
            break;
        case 44:
            if (d)
                d->offset.x = rb.resval.rreal;
            break;
        case 45:
            if (d)
                d->offset.y = rb.resval.rreal;
            break;
        case 9:
            if (d)
                d->text = rb.resval.rstring;
            break;
        default:
            break;
        }
    });
}
Acad::ErrorStatus AcDbLinetypeTableRecord::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbSymbolTableRecord::dxfOutFields(f);
    writeName(f, this, L"AcDbLinetypeTableRecord", 0);
    f->writeString(AcDb::kDxfDescription, m_comments.c_str());
    f->writeInt16(AcDb::kDxfLinetypeAlign, 65);
    f->writeInt16(AcDb::kDxfLinetypePDC, static_cast<Adesk::Int16>(m_dashes.size()));
    f->writeDouble(AcDb::kDxfReal, m_patternLength);
    for (const Dash& d : m_dashes) {
        f->writeDouble(AcDb::kDxfDashLength, d.length);
        const bool shape = d.style != nullptr;
        const bool text = shape && !d.text.empty();
        f->writeInt16(static_cast<AcDb::DxfCode>(74),
                      static_cast<Adesk::Int16>((d.ucsOriented ? 1 : 0) | (text ? 2 : 0) |
                                                (shape && !text ? 4 : 0)));
        if (shape) {
            f->writeInt16(static_cast<AcDb::DxfCode>(75),
                          static_cast<Adesk::Int16>(text ? 0 : d.shapeNumber));
            f->writeObjectId(AcDb::kDxfHardPointerId, AcDbObjectId(d.style));
            f->writeDouble(AcDb::kDxfShapeScale, d.scale);
            f->writeDouble(AcDb::kDxfAngle, d.rotation);
            f->writeDouble(AcDb::kDxfShapeXOffset, d.offset.x);
            f->writeDouble(AcDb::kDxfShapeYOffset, d.offset.y);
            if (text)
                f->writeString(AcDb::kDxfCLShapeText, d.text.c_str());
        }
    }
    return f->filerStatus();
}

// ---- Text styles ------------------------------------------------------------------------------

AcDbTextStyleTableRecord::AcDbTextStyleTableRecord() = default;

void AcDbTextStyleTableRecord::setIsShapeFile(bool v) {
    if (assertWriteEnabled())
        m_shapeFile = v;
}
void AcDbTextStyleTableRecord::setIsVertical(bool v) {
    if (assertWriteEnabled())
        m_vertical = v;
}
void AcDbTextStyleTableRecord::setFlagBits(Adesk::UInt8 v) {
    if (assertWriteEnabled())
        m_flagBits = v;
}
#define KHOST_NONNEG_SETTER(CLASS, SET, FIELD)                                                     \
    Acad::ErrorStatus CLASS::SET(double v) {                                                       \
        if (!isWriteEnabled())                                                                     \
            return Acad::eNotOpenForWrite;                                                         \
        if (v < 0.0)                                                                               \
            return Acad::eInvalidInput;                                                            \
        FIELD = v;                                                                                 \
        return Acad::eOk;                                                                          \
    }
KHOST_NONNEG_SETTER(AcDbTextStyleTableRecord, setTextSize, m_textSize)
KHOST_NONNEG_SETTER(AcDbTextStyleTableRecord, setPriorSize, m_priorSize)
Acad::ErrorStatus AcDbTextStyleTableRecord::setXScale(double v) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!(v > 0.0))
        return Acad::eInvalidInput;
    m_xScale = v;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbTextStyleTableRecord::setObliquingAngle(double v) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_oblique = v;
    return Acad::eOk;
}
#define KHOST_STRING_PROP(CLASS, GET, SET, FIELD)                                                  \
    Acad::ErrorStatus CLASS::GET(ACHAR*& p) const {                                                \
        return newString(FIELD, p);                                                                \
    }                                                                                              \
    Acad::ErrorStatus CLASS::GET(const ACHAR*& p) const {                                          \
        p = FIELD.c_str();                                                                         \
        return Acad::eOk;                                                                          \
    }                                                                                              \
    Acad::ErrorStatus CLASS::GET(AcString& s) const {                                              \
        s = FIELD;                                                                                 \
        return Acad::eOk;                                                                          \
    }                                                                                              \
    Acad::ErrorStatus CLASS::SET(const ACHAR* p) {                                                 \
        if (!isWriteEnabled())                                                                     \
            return Acad::eNotOpenForWrite;                                                         \
        FIELD = p ? p : L"";                                                                       \
        return Acad::eOk;                                                                          \
    }
KHOST_STRING_PROP(AcDbTextStyleTableRecord, fileName, setFileName, m_fileName)
KHOST_STRING_PROP(AcDbTextStyleTableRecord, bigFontFileName, setBigFontFileName, m_bigFont)

Acad::ErrorStatus AcDbTextStyleTableRecord::setFont(const ACHAR* typeface, bool bold, bool italic,
                                                    int charset, int pitchAndFamily,
                                                    bool /*allowMissingFont*/) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_typeface = typeface ? typeface : L"";
    m_bold = bold;
    m_italic = italic;
    m_charset = charset;
    m_pitchAndFamily = pitchAndFamily;
    return storeFont();
}
Acad::ErrorStatus AcDbTextStyleTableRecord::storeFont() {
    resbuf* part = nullptr;
    if (!m_typeface.empty()) {
        const Adesk::Int32 flags = (m_bold ? 0x2000000 : 0) | (m_italic ? 0x1000000 : 0) |
                                   ((m_charset & 0xFF) << 8) | (m_pitchAndFamily & 0xFF);
        part = acutBuildList(AcDb::kDxfXdAsciiString, m_typeface.c_str(), AcDb::kDxfXdInteger32,
                             flags, 0);
    }
    return storeAppPart(this, kAcadApp, part);
}
void AcDbTextStyleTableRecord::subAddedToDatabase() {
    if (!m_typeface.empty())
        storeFont();
}
Acad::ErrorStatus AcDbTextStyleTableRecord::setXData(const resbuf* xdata) {
    Acad::ErrorStatus es = AcDbObject::setXData(xdata);
    if (es != Acad::eOk)
        return es;
    if (const resbuf* part = appPart(xdata, kAcadApp)) {
        const resbuf* face = part->rbnext;
        if (face && face->restype == AcDb::kDxfXdAsciiString && face->resval.rstring) {
            m_typeface = face->resval.rstring;
            const resbuf* fl = face->rbnext;
            const Adesk::Int32 flags =
                fl && fl->restype == AcDb::kDxfXdInteger32 ? fl->resval.rlong : 0;
            m_bold = flags & 0x2000000;
            m_italic = flags & 0x1000000;
            m_charset = (flags >> 8) & 0xFF;
            m_pitchAndFamily = flags & 0xFF;
        }
    }
    return Acad::eOk;
}
Acad::ErrorStatus AcDbTextStyleTableRecord::font(ACHAR*& typeface, bool& bold, bool& italic,
                                                 int& charset, int& pitchAndFamily) const {
    bold = m_bold;
    italic = m_italic;
    charset = m_charset;
    pitchAndFamily = m_pitchAndFamily;
    return newString(m_typeface, typeface);
}
Acad::ErrorStatus AcDbTextStyleTableRecord::font(AcString& typeface, bool& bold, bool& italic,
                                                 int& charset, int& pitchAndFamily) const {
    typeface = m_typeface;
    bold = m_bold;
    italic = m_italic;
    charset = m_charset;
    pitchAndFamily = m_pitchAndFamily;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbTextStyleTableRecord::subErase(bool erasing) {
    KHOST_REFUSE_ERASE_IF(isHeaderRef(this, &DbHeader::textstyle) || nameKey(name()) == L"STANDARD")
    return AcDbSymbolTableRecord::subErase(erasing);
}
Acad::ErrorStatus AcDbTextStyleTableRecord::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbSymbolTableRecord::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbTextStyleTableRecord");
    return readSubclass(f, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 2:
            setRecordNameRaw(this, rb.resval.rstring);
            break;
        case 70:
            m_shapeFile = rb.resval.rint & 1;
            m_vertical = rb.resval.rint & 4;
            break;
        case 40:
            m_textSize = rb.resval.rreal;
            break;
        case 41:
            m_xScale = rb.resval.rreal;
            break;
        case 50:
            m_oblique = rb.resval.rreal;
            break;
        case 71:
            m_flagBits = static_cast<Adesk::UInt8>(rb.resval.rint);
            break;
        case 42:
            m_priorSize = rb.resval.rreal;
            break;
        case 3:
            m_fileName = rb.resval.rstring;
            break;
        case 4:
            m_bigFont = rb.resval.rstring;
            break;
        default:
            break;
        }
    });
}
Acad::ErrorStatus AcDbTextStyleTableRecord::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbSymbolTableRecord::dxfOutFields(f);
    writeName(f, this, L"AcDbTextStyleTableRecord", (m_shapeFile ? 1 : 0) | (m_vertical ? 4 : 0));
    f->writeDouble(AcDb::kDxfTxtSize, m_textSize);
    f->writeDouble(AcDb::kDxfTxtStyleXScale, m_xScale);
    f->writeDouble(AcDb::kDxfAngle, m_oblique);
    f->writeInt16(AcDb::kDxfTxtStyleFlags, m_flagBits);
    f->writeDouble(AcDb::kDxfTxtStylePSize, m_priorSize);
    f->writeString(AcDb::kDxfTextFontFile, m_fileName.c_str());
    return f->writeString(AcDb::kDxfTextBigFontFile, m_bigFont.c_str());
}

// ---- Dimension styles ---------------------------------------------------------------------------

namespace {
struct DimDefault {
    int code;
    double value;
};
// The values of a new metric dimension style.
const DimDefault kDimDefaults[] = {
    {40, 1.0},
    {41, 2.5},
    {42, 0.625},
    {43, 3.75},
    {44, 1.25},
    {45, 0.0},
    {46, 0.0},
    {47, 0.0},
    {48, 0.0},
    {49, 1.0},
    {140, 2.5},
    {141, 2.5},
    {142, 0.0},
    {143, 0.03937007874},
    {144, 1.0},
    {145, 0.0},
    {146, 1.0},
    {147, 0.625},
    {148, 0.0},
    {71, 0},
    {72, 0},
    {73, 0},
    {74, 0},
    {75, 0},
    {76, 0},
    {77, 1},
    {78, 8},
    {79, 0},
    {170, 0},
    {171, 4},
    {172, 1},
    {173, 0},
    {174, 0},
    {175, 0},
    {176, 0},
    {177, 0},
    {178, 0},
    {179, 0},
    {270, 2},
    {271, 2},
    {272, 2},
    {273, 2},
    {274, 2},
    {275, 0},
    {276, 0},
    {277, 2},
    {278, 44},
    {279, 0},
    {280, 0},
    {281, 0},
    {282, 0},
    {283, 1},
    {284, 8},
    {285, 0},
    {286, 0},
    {288, 0},
    {289, 3},
    {290, 0},
    {371, -2},
    {372, -2},
    {50, 0.78539816339744828},
    {69, 0},
    {90, 0},
    {294, 0},
};
const DimDefault* dimDefault(int code) {
    for (const DimDefault& d : kDimDefaults)
        if (d.code == code)
            return &d;
    return nullptr;
}
bool dimCodeValid(int code) {
    RbKind k = rbKind(code);
    return code == 3 || code == 4 || (code >= 340 && code <= 347) || k == RbKind::Real ||
           k == RbKind::Short || code == 90;
}
} // namespace

AcDbDimStyleTableRecord::AcDbDimStyleTableRecord() = default;
AcDbDimStyleTableRecord::~AcDbDimStyleTableRecord() = default;

Acad::ErrorStatus AcDbDimStyleTableRecord::dimVar(int code, resbuf& value) const {
    value.rbnext = nullptr;
    value.restype = static_cast<short>(code);
    auto it = std::lower_bound(m_vars.begin(), m_vars.end(), code,
                               [](const auto& p, int c) { return p.first < c; });
    const bool has = it != m_vars.end() && it->first == code;
    const DimDefault* def = dimDefault(code);
    if (code == 3 || code == 4) {
        acutNewString(has ? it->second.text.c_str() : L"", value.resval.rstring);
        return Acad::eOk;
    }
    if (code >= 340 && code <= 347) {
        value.resval.rlname[0] = has ? AcDbObjectId(it->second.id).asOldId() : 0;
        value.resval.rlname[1] = 0;
        return Acad::eOk;
    }
    if (!has && !def)
        return Acad::eKeyNotFound;
    if (rbKind(code) == RbKind::Real)
        value.resval.rreal = has ? it->second.real : def->value;
    else if (rbKind(code) == RbKind::Long)
        value.resval.rlong = has ? it->second.integer : static_cast<int>(def->value);
    else
        value.resval.rint =
            static_cast<short>(has ? it->second.integer : static_cast<int>(def->value));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDimStyleTableRecord::setDimVar(int code, const resbuf& value) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!dimCodeValid(code))
        return Acad::eInvalidInput;
    Value v;
    if (code == 3 || code == 4)
        v.text = value.resval.rstring ? value.resval.rstring : L"";
    else if (code >= 340 && code <= 347)
        v.id = rbId(value).stub();
    else if (rbKind(code) == RbKind::Real)
        v.real = value.resval.rreal;
    else if (rbKind(code) == RbKind::Long)
        v.integer = value.resval.rlong;
    else
        v.integer = value.resval.rint;
    auto it = std::lower_bound(m_vars.begin(), m_vars.end(), code,
                               [](const auto& p, int c) { return p.first < c; });
    if (it != m_vars.end() && it->first == code)
        it->second = v;
    else
        m_vars.insert(it, {code, v});
    return Acad::eOk;
}

double AcDbDimStyleTableRecord::dimVarReal(int code) const {
    resbuf rb{};
    return dimVar(code, rb) == Acad::eOk ? rb.resval.rreal : 0.0;
}
int AcDbDimStyleTableRecord::dimVarInt(int code) const {
    resbuf rb{};
    if (dimVar(code, rb) != Acad::eOk)
        return 0;
    return rbKind(code) == RbKind::Long ? rb.resval.rlong : rb.resval.rint;
}
AcDbObjectId AcDbDimStyleTableRecord::dimVarId(int code) const {
    resbuf rb{};
    return dimVar(code, rb) == Acad::eOk ? rbId(rb) : AcDbObjectId::kNull;
}
AcString AcDbDimStyleTableRecord::dimVarString(int code) const {
    resbuf rb{};
    if (dimVar(code, rb) != Acad::eOk)
        return AcString();
    AcString s(rb.resval.rstring);
    rbFreeValue(&rb);
    return s;
}
std::vector<int> AcDbDimStyleTableRecord::dimVarCodes() const {
    std::vector<int> v;
    for (const DimDefault& d : kDimDefaults)
        v.push_back(d.code);
    for (const auto& [c, val] : m_vars)
        v.push_back(c);
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    return v;
}
Acad::ErrorStatus AcDbDimStyleTableRecord::setReal(int code, double v) {
    resbuf rb{};
    rb.restype = static_cast<short>(code);
    rb.resval.rreal = v;
    return setDimVar(code, rb);
}
Acad::ErrorStatus AcDbDimStyleTableRecord::setInt(int code, int v) {
    resbuf rb{};
    rb.restype = static_cast<short>(code);
    if (rbKind(code) == RbKind::Long)
        rb.resval.rlong = v;
    else
        rb.resval.rint = static_cast<short>(v);
    return setDimVar(code, rb);
}
Acad::ErrorStatus AcDbDimStyleTableRecord::setId(int code, AcDbObjectId v) {
    resbuf rb{};
    rb.restype = static_cast<short>(code);
    rb.resval.rlname[0] = v.asOldId();
    return setDimVar(code, rb);
}
namespace {
AcCmColor aciColor(int index) {
    AcCmColor c;
    c.setColorIndex(static_cast<Adesk::Int16>(index));
    return c;
}
} // namespace
AcCmColor AcDbDimStyleTableRecord::colorVar(int code, int slot) const {
    const int aci = dimVarInt(code);
    return m_colors[slot].colorIndex() == aci ? m_colors[slot] : aciColor(aci);
}
Acad::ErrorStatus AcDbDimStyleTableRecord::setColorVar(int code, int slot, const AcCmColor& c) {
    Acad::ErrorStatus es = setInt(code, c.colorIndex());
    if (es == Acad::eOk)
        m_colors[slot] = c;
    return es;
}
AcCmColor AcDbDimStyleTableRecord::dimclrd() const {
    return colorVar(176, 0);
}
AcCmColor AcDbDimStyleTableRecord::dimclre() const {
    return colorVar(177, 1);
}
AcCmColor AcDbDimStyleTableRecord::dimclrt() const {
    return colorVar(178, 2);
}
AcCmColor AcDbDimStyleTableRecord::dimtfillclr() const {
    return colorVar(70, 3);
}
Acad::ErrorStatus AcDbDimStyleTableRecord::setDimclrd(const AcCmColor& c) {
    return setColorVar(176, 0, c);
}
Acad::ErrorStatus AcDbDimStyleTableRecord::setDimclre(const AcCmColor& c) {
    return setColorVar(177, 1, c);
}
Acad::ErrorStatus AcDbDimStyleTableRecord::setDimclrt(const AcCmColor& c) {
    return setColorVar(178, 2, c);
}
Acad::ErrorStatus AcDbDimStyleTableRecord::setDimtfillclr(const AcCmColor& c) {
    return setColorVar(70, 3, c);
}
Acad::ErrorStatus AcDbDimStyleTableRecord::setArrow(int code, const ACHAR* name) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    AcDbObjectId id;
    Acad::ErrorStatus es = arrowheadBlockId(lookupDatabase(this), name, id);
    return es == Acad::eOk ? setId(code, id) : es;
}
Acad::ErrorStatus AcDbDimStyleTableRecord::setDimblk(const ACHAR* name) {
    return setArrow(342, name);
}
Acad::ErrorStatus AcDbDimStyleTableRecord::setDimblk1(const ACHAR* name) {
    return setArrow(343, name);
}
Acad::ErrorStatus AcDbDimStyleTableRecord::setDimblk2(const ACHAR* name) {
    return setArrow(344, name);
}
Acad::ErrorStatus AcDbDimStyleTableRecord::setDimldrblk(const ACHAR* name) {
    return setArrow(341, name);
}
Acad::ErrorStatus AcDbDimStyleTableRecord::setDimpost(const ACHAR* v) {
    resbuf rb{};
    rb.restype = 3;
    rb.resval.rstring = const_cast<ACHAR*>(v ? v : L"");
    return setDimVar(3, rb);
}
Acad::ErrorStatus AcDbDimStyleTableRecord::setDimapost(const ACHAR* v) {
    resbuf rb{};
    rb.restype = 4;
    rb.resval.rstring = const_cast<ACHAR*>(v ? v : L"");
    return setDimVar(4, rb);
}
Acad::ErrorStatus AcDbDimStyleTableRecord::subErase(bool erasing) {
    KHOST_REFUSE_ERASE_IF(isHeaderRef(this, &DbHeader::dimstyle) || nameKey(name()) == L"STANDARD")
    return AcDbSymbolTableRecord::subErase(erasing);
}
Acad::ErrorStatus AcDbDimStyleTableRecord::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbSymbolTableRecord::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbDimStyleTableRecord");
    bool flagsRead = false; // the first 70 holds the flags, a later one DIMTFILLCLR
    return readSubclass(f, [&](const resbuf& rb) {
        if (rb.restype == 2)
            setRecordNameRaw(this, rb.resval.rstring);
        else if (rb.restype == 70 && !flagsRead)
            flagsRead = true;
        else if (rb.restype != 105 && dimCodeValid(rb.restype))
            setDimVar(rb.restype, rb);
    });
}
Acad::ErrorStatus AcDbDimStyleTableRecord::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbSymbolTableRecord::dxfOutFields(f);
    writeName(f, this, L"AcDbDimStyleTableRecord", 0);
    for (int code : dimVarCodes()) {
        resbuf rb{};
        if (dimVar(code, rb) != Acad::eOk)
            continue;
        if (code < 340 || code > 347 || rb.resval.rlname[0])
            f->writeResBuf(rb);
        rbFreeValue(&rb);
    }
    return f->filerStatus();
}

// ---- UCS ----------------------------------------------------------------------------------------

AcDbUCSTableRecord::AcDbUCSTableRecord() = default;
void AcDbUCSTableRecord::setOrigin(const AcGePoint3d& p) {
    if (assertWriteEnabled())
        m_origin = p;
}
void AcDbUCSTableRecord::setXAxis(const AcGeVector3d& v) {
    if (assertWriteEnabled())
        m_xAxis = v;
}
void AcDbUCSTableRecord::setYAxis(const AcGeVector3d& v) {
    if (assertWriteEnabled())
        m_yAxis = v;
}
Acad::ErrorStatus AcDbUCSTableRecord::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbSymbolTableRecord::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbUCSTableRecord");
    return readSubclass(f, [&](const resbuf& rb) {
        if (rb.restype == 2)
            setRecordNameRaw(this, rb.resval.rstring);
        else if (rb.restype == 10)
            m_origin = rbPoint(rb);
        else if (rb.restype == 11)
            m_xAxis = rbVector(rb);
        else if (rb.restype == 12)
            m_yAxis = rbVector(rb);
    });
}
Acad::ErrorStatus AcDbUCSTableRecord::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbSymbolTableRecord::dxfOutFields(f);
    writeName(f, this, L"AcDbUCSTableRecord", 0);
    f->writePoint3d(AcDb::kDxfXCoord, m_origin);
    f->writeVector3d(static_cast<AcDb::DxfCode>(11), m_xAxis);
    f->writeVector3d(static_cast<AcDb::DxfCode>(12), m_yAxis);
    f->writeInt16(static_cast<AcDb::DxfCode>(79), 0);
    f->writeDouble(AcDb::kDxfElevation, 0.0);
    return f->filerStatus();
}

// ---- Registered applications ------------------------------------------------------------------

AcDbRegAppTableRecord::AcDbRegAppTableRecord() = default;
Acad::ErrorStatus AcDbRegAppTableRecord::subErase(bool erasing) {
    KHOST_REFUSE_ERASE_IF(nameKey(name()) == L"ACAD")
    return AcDbSymbolTableRecord::subErase(erasing);
}
Acad::ErrorStatus AcDbRegAppTableRecord::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbSymbolTableRecord::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbRegAppTableRecord");
    return readSubclass(f, [&](const resbuf& rb) {
        if (rb.restype == 2)
            setRecordNameRaw(this, rb.resval.rstring);
    });
}
Acad::ErrorStatus AcDbRegAppTableRecord::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbSymbolTableRecord::dxfOutFields(f);
    writeName(f, this, L"AcDbRegAppTableRecord", 0);
    return f->filerStatus();
}

// ---- Views and viewports ----------------------------------------------------------------------

AcDbAbstractViewTableRecord::AcDbAbstractViewTableRecord() = default;
#define KHOST_VOID_SETTER(CLASS, SET, TYPE, FIELD)                                                 \
    void CLASS::SET(TYPE v) {                                                                      \
        if (assertWriteEnabled())                                                                  \
            FIELD = v;                                                                             \
    }
KHOST_VOID_SETTER(AcDbAbstractViewTableRecord, setCenterPoint, const AcGePoint2d&, m_center)
KHOST_VOID_SETTER(AcDbAbstractViewTableRecord, setHeight, double, m_height)
KHOST_VOID_SETTER(AcDbAbstractViewTableRecord, setWidth, double, m_width)
KHOST_VOID_SETTER(AcDbAbstractViewTableRecord, setTarget, const AcGePoint3d&, m_target)
KHOST_VOID_SETTER(AcDbAbstractViewTableRecord, setViewDirection, const AcGeVector3d&, m_direction)
KHOST_VOID_SETTER(AcDbAbstractViewTableRecord, setViewTwist, double, m_twist)
KHOST_VOID_SETTER(AcDbAbstractViewTableRecord, setLensLength, double, m_lensLength)
KHOST_VOID_SETTER(AcDbAbstractViewTableRecord, setFrontClipDistance, double, m_frontClip)
KHOST_VOID_SETTER(AcDbAbstractViewTableRecord, setBackClipDistance, double, m_backClip)
AcDbViewTableRecord::AcDbViewTableRecord() = default;
KHOST_VOID_SETTER(AcDbViewTableRecord, setIsPaperspaceView, bool, m_paperspace)
AcDbViewportTableRecord::AcDbViewportTableRecord() = default;
KHOST_VOID_SETTER(AcDbViewportTableRecord, setLowerLeftCorner, const AcGePoint2d&, m_lowerLeft)
KHOST_VOID_SETTER(AcDbViewportTableRecord, setUpperRightCorner, const AcGePoint2d&, m_upperRight)
