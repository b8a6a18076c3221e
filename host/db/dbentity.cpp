// Entities: the common properties and the line.
#include "dbimpl.h"

#include "acutads.h"
#include "dbent_complex.h"
#include "dbents.h"

ACRX_DEFINE_MEMBERS_DXF(AcDbEntity, AcDbObject, L"")
ACRX_DEFINE_MEMBERS_DXF(AcDbCurve, AcDbEntity, L"")
ACRX_DEFINE_MEMBERS_DXF(AcDbLine, AcDbCurve, L"LINE")

using namespace khost;

namespace {
const ACHAR* recordName(const DbStub* s) {
    auto* r = AcDbSymbolTableRecord::cast(stubObject(s));
    return r ? r->name() : L"";
}
bool validLineWeight(int w) {
    static const int ok[] = {0,  5,  9,  13,  15,  18,  20,  25,  30,  35,  40, 50, 53, 60,
                             70, 80, 90, 100, 106, 120, 140, 158, 200, 211, -1, -2, -3};
    for (int x : ok)
        if (x == w)
            return true;
    return false;
}
} // namespace

AcDbEntity::AcDbEntity() = default;
AcDbEntity::~AcDbEntity() = default;

ACHAR* AcDbEntity::layer() const {
    ACHAR* p = nullptr;
    acutNewString(recordName(m_layer), p);
    return p;
}
Acad::ErrorStatus AcDbEntity::layer(AcString& name) const {
    name = recordName(m_layer);
    return Acad::eOk;
}
AcDbObjectId AcDbEntity::layerId() const {
    return AcDbObjectId(m_layer);
}

namespace {
// The vertices and end marker of a polyline (sub-entities that share their owner's properties;
// the attributes of a block reference have their own): fn is applied to each.
template <class F> void forVertexSubents(const AcDbEntity* owner, F fn) {
    for (AcDbObjectId id : khost::subEntityIds(owner))
        if (auto* sub = AcDbEntity::cast(khost::peekObject(id)); sub && !AcDbAttribute::cast(sub))
            fn(sub);
}
} // namespace

Acad::ErrorStatus AcDbEntity::setLayer(const ACHAR* newVal, bool doSubents, bool) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    AcDbDatabase* db = lookupDatabase(this);
    if (!db)
        return Acad::eNoDatabase;
    AcDbObjectId id = findRecord(db, DbRole::LayerTable, newVal);
    if (id.isNull())
        return Acad::eKeyNotFound;
    m_layer = id.stub();
    if (doSubents)
        forVertexSubents(this, [&](AcDbEntity* e) { e->m_layer = m_layer; });
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEntity::setLayer(AcDbObjectId newVal, bool doSubents, bool) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!AcDbLayerTableRecord::cast(peekObject(newVal)) || newVal.isErased())
        return Acad::eInvalidInput;
    if (database() && newVal.database() != database())
        return Acad::eWrongDatabase;
    m_layer = newVal.stub();
    if (doSubents)
        forVertexSubents(this, [&](AcDbEntity* e) { e->m_layer = m_layer; });
    return Acad::eOk;
}

AcCmColor AcDbEntity::color() const {
    return AcCmColor(m_color);
}
Adesk::UInt16 AcDbEntity::colorIndex() const {
    return static_cast<Adesk::UInt16>(m_color.colorIndex());
}
AcCmEntityColor AcDbEntity::entityColor() const {
    return m_color;
}
Acad::ErrorStatus AcDbEntity::setColor(const AcCmColor& color, bool doSubents) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_color = color;
    if (doSubents)
        forVertexSubents(this, [&](AcDbEntity* e) { e->m_color = m_color; });
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEntity::setColorIndex(Adesk::UInt16 color, bool doSubents) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (color > 256)
        return Acad::eInvalidInput;
    m_color.setColorIndex(static_cast<Adesk::Int16>(color));
    if (doSubents)
        forVertexSubents(this, [&](AcDbEntity* e) { e->m_color = m_color; });
    return Acad::eOk;
}

ACHAR* AcDbEntity::linetype() const {
    ACHAR* p = nullptr;
    acutNewString(recordName(m_linetype), p);
    return p;
}
Acad::ErrorStatus AcDbEntity::linetype(AcString& name) const {
    name = recordName(m_linetype);
    return Acad::eOk;
}
AcDbObjectId AcDbEntity::linetypeId() const {
    return AcDbObjectId(m_linetype);
}
Acad::ErrorStatus AcDbEntity::setLinetype(const ACHAR* newVal, bool doSubents) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    AcDbDatabase* db = lookupDatabase(this);
    if (!db)
        return Acad::eNoDatabase;
    AcDbObjectId id = findRecord(db, DbRole::LinetypeTable, newVal);
    if (id.isNull())
        return Acad::eKeyNotFound;
    m_linetype = id.stub();
    if (doSubents)
        forVertexSubents(this, [&](AcDbEntity* e) { e->m_linetype = m_linetype; });
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEntity::setLinetype(AcDbObjectId newVal, bool doSubents) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!AcDbLinetypeTableRecord::cast(peekObject(newVal)) || newVal.isErased())
        return Acad::eInvalidInput;
    if (database() && newVal.database() != database())
        return Acad::eWrongDatabase;
    m_linetype = newVal.stub();
    if (doSubents)
        forVertexSubents(this, [&](AcDbEntity* e) { e->m_linetype = m_linetype; });
    return Acad::eOk;
}
double AcDbEntity::linetypeScale() const {
    return m_ltscale;
}
Acad::ErrorStatus AcDbEntity::setLinetypeScale(double v, bool doSubents) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!(v > 0.0))
        return Acad::eInvalidInput;
    m_ltscale = v;
    if (doSubents)
        forVertexSubents(this, [&](AcDbEntity* e) { e->m_ltscale = m_ltscale; });
    return Acad::eOk;
}
AcDb::LineWeight AcDbEntity::lineWeight() const {
    return static_cast<AcDb::LineWeight>(m_lineweight);
}
Acad::ErrorStatus AcDbEntity::setLineWeight(AcDb::LineWeight v, bool doSubents) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!validLineWeight(v))
        return Acad::eInvalidInput;
    m_lineweight = static_cast<Adesk::Int16>(v);
    if (doSubents)
        forVertexSubents(this, [&](AcDbEntity* e) { e->m_lineweight = m_lineweight; });
    return Acad::eOk;
}
AcDb::Visibility AcDbEntity::visibility() const {
    return static_cast<AcDb::Visibility>(m_visibility);
}
Acad::ErrorStatus AcDbEntity::setVisibility(AcDb::Visibility v, bool doSubents) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_visibility = static_cast<Adesk::UInt8>(v);
    if (doSubents)
        forVertexSubents(this, [&](AcDbEntity* e) { e->m_visibility = m_visibility; });
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setPropertiesFrom(const AcDbEntity* p, bool) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!p)
        return Acad::eNullEntityPointer;
    m_layer = p->m_layer;
    m_linetype = p->m_linetype;
    m_ltscale = p->m_ltscale;
    m_color = p->m_color;
    m_lineweight = p->m_lineweight;
    m_visibility = p->m_visibility;
    return Acad::eOk;
}

void AcDbEntity::setDatabaseDefaults() {
    setDatabaseDefaults(lookupDatabase(this));
}
void AcDbEntity::setDatabaseDefaults(AcDbDatabase* db) {
    if (database())
        db = database();
    if (!db || !assertWriteEnabled())
        return;
    m_layer = db->clayer().stub();
    m_linetype = db->celtype().stub();
    m_color = db->cecolor();
    m_lineweight = static_cast<Adesk::Int16>(db->celweight());
    m_ltscale = db->celtscale();
}

Acad::ErrorStatus AcDbEntity::transformBy(const AcGeMatrix3d&) {
    return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbEntity::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbObject::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbEntity");
    AcDbDatabase* db = f->database() ? f->database() : lookupDatabase(this);
    return readSubclass(
        f,
        [&](const resbuf& rb) {
            switch (rb.restype) {
            case 8:
                if (db)
                    m_layer = findRecord(db, DbRole::LayerTable, rb.resval.rstring).stub();
                return true;
            case 6:
                if (db)
                    m_linetype = findRecord(db, DbRole::LinetypeTable, rb.resval.rstring).stub();
                return true;
            case 62:
                if (!m_color.isByColor())
                    m_color.setColorIndex(rb.resval.rint);
                return true;
            case 420:
                m_color.setRGB(static_cast<Adesk::UInt32>(rb.resval.rlong));
                return true;
            case 370:
                m_lineweight = rb.resval.rint;
                return true;
            case 48:
                m_ltscale = rb.resval.rreal;
                return true;
            case 60:
                m_visibility =
                    static_cast<Adesk::UInt8>(rb.resval.rint ? AcDb::kInvisible : AcDb::kVisible);
                return true;
            case 67:  // paper space: given by the owner
            case 410: // layout name: likewise
                return true;
            default:
                return false;
            }
        },
        true);
}

Acad::ErrorStatus AcDbEntity::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbObject::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbEntity");
    if (const DbStub* owner = DbAccess::ownerStub(this))
        if (owner->database && owner->database->impl().role(DbRole::PaperSpace) == owner)
            f->writeInt16(AcDb::kDxfViewportVisibility, 1);
    f->writeString(AcDb::kDxfLayerName, recordName(m_layer));
    if (m_linetype && !(m_linetype->database &&
                        m_linetype->database->impl().role(DbRole::LinetypeByLayer) == m_linetype))
        f->writeString(AcDb::kDxfLinetypeName, recordName(m_linetype));
    if (!m_color.isByLayer())
        f->writeInt16(AcDb::kDxfColor, m_color.colorIndex());
    if (m_color.isByColor())
        f->writeInt32(AcDb::kDxfColorRGB, static_cast<Adesk::Int32>(m_color.trueColor()));
    if (m_lineweight != AcDb::kLnWtByLayer)
        f->writeInt16(AcDb::kDxfLineWeight, m_lineweight);
    if (m_ltscale != 1.0)
        f->writeDouble(AcDb::kDxfLinetypeScale, m_ltscale);
    if (m_visibility == AcDb::kInvisible)
        f->writeInt16(AcDb::kDxfVisibility, 1);
    return f->filerStatus();
}

// ---- Curves and lines ---------------------------------------------------------------------------

AcDbCurve::AcDbCurve() = default;
Acad::ErrorStatus AcDbCurve::getStartPoint(AcGePoint3d&) const {
    return Acad::eNotImplementedYet;
}
Acad::ErrorStatus AcDbCurve::getEndPoint(AcGePoint3d&) const {
    return Acad::eNotImplementedYet;
}

AcDbLine::AcDbLine() = default;
AcDbLine::AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) : m_start(start), m_end(end) {}

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_start = p;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_end = p;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::setThickness(double t) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_thickness = t;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::setNormal(const AcGeVector3d& n) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (n.isZeroLength())
        return Acad::eInvalidInput;
    m_normal = n.normal();
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::getStartPoint(AcGePoint3d& p) const {
    p = m_start;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::getEndPoint(AcGePoint3d& p) const {
    p = m_end;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::transformBy(const AcGeMatrix3d& xform) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_start.transformBy(xform);
    m_end.transformBy(xform);
    AcGeVector3d n = m_normal;
    n.transformBy(xform);
    if (!n.isZeroLength())
        m_normal = n.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbLine");
    return readSubclass(f, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 10:
            m_start = rbPoint(rb);
            return true;
        case 11:
            m_end = rbPoint(rb);
            return true;
        case 39:
            m_thickness = rb.resval.rreal;
            return true;
        case 210:
            m_normal = rbVector(rb);
            return true;
        default:
            return false;
        }
    });
}

Acad::ErrorStatus AcDbLine::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbEntity::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbLine");
    if (m_thickness != 0.0)
        f->writeDouble(AcDb::kDxfThickness, m_thickness);
    f->writePoint3d(AcDb::kDxfXCoord, m_start);
    f->writePoint3d(static_cast<AcDb::DxfCode>(11), m_end);
    if (m_normal != AcGeVector3d::kZAxis)
        f->writeVector3d(AcDb::kDxfNormalX, m_normal);
    return f->filerStatus();
}
