// Old-style 2D and 3D polylines and their vertices.
#include "dbent_util.h"

#include "dbents.h"

#include <algorithm>

ACRX_DEFINE_MEMBERS_DXF(AcDbVertex, AcDbEntity, L"")
ACRX_DEFINE_MEMBERS_DXF(AcDb2dVertex, AcDbVertex, L"VERTEX")
ACRX_DEFINE_MEMBERS_DXF(AcDb3dPolylineVertex, AcDbVertex, L"VERTEX")
ACRX_DEFINE_MEMBERS_DXF(AcDb2dPolyline, AcDbCurve, L"POLYLINE")
ACRX_DEFINE_MEMBERS_DXF(AcDb3dPolyline, AcDbCurve, L"POLYLINE")

using namespace khost;

namespace {

AcDb::DxfCode code(int c) {
    return static_cast<AcDb::DxfCode>(c);
}

Acad::ErrorStatus setFlag(Adesk::Int16& flags, int bit, bool on) {
    flags = static_cast<Adesk::Int16>(on ? (flags | bit) : (flags & ~bit));
    return Acad::eOk;
}

// Opens a sub-entity of a list by its id.
template <class T>
Acad::ErrorStatus openSub(const SubEntities& list, T*& p, AcDbObjectId id, AcDb::OpenMode mode,
                          bool openErased) {
    p = nullptr;
    if (list.indexOf(id) < 0)
        return Acad::eInvalidInput;
    return acdbOpenObject(p, id, mode, openErased);
}

Acad::ErrorStatus openEnd(const SubEntities& list, AcDbSequenceEnd*& p, AcDb::OpenMode mode) {
    p = nullptr;
    if (!list.hasEnd())
        return Acad::eNotApplicable;
    return acdbOpenObject(p, list.endId(), mode);
}

// Adds a vertex to a polyline open for writing after the vertex indexVertId (first with a null
// id); a vertex that is not yet in a database takes the polyline's properties.
Acad::ErrorStatus addVertex(AcDbEntity* owner, SubEntities& list, AcDbEntity* pVertex,
                            AcDbObjectId& newVertId, const AcDbObjectId& indexVertId, bool append) {
    newVertId = AcDbObjectId::kNull;
    if (!owner->isWriteEnabled())
        return Acad::eNotOpenForWrite;
    int index = -1;
    if (!append) {
        index = 0;
        if (!indexVertId.isNull()) {
            index = list.indexOf(indexVertId);
            if (index < 0)
                return Acad::eInvalidInput;
            ++index;
        }
    }
    if (pVertex && !pVertex->isDatabaseResident())
        pVertex->setPropertiesFrom(owner);
    return list.add(owner, pVertex, newVertId, index);
}

} // namespace

AcDbVertex::AcDbVertex() = default;

// ---- AcDb2dVertex -------------------------------------------------------------------------------

AcDb2dVertex::AcDb2dVertex() = default;
AcDb2dVertex::AcDb2dVertex(const AcGePoint3d& position, double bulge, double startWidth,
                           double endWidth, double tangent, Adesk::Int32 vertexIdentifier)
    : m_position(position), m_startWidth(startWidth), m_endWidth(endWidth), m_bulge(bulge),
      m_tangent(tangent), m_id(vertexIdentifier) {}

AcDb::Vertex2dType AcDb2dVertex::vertexType() const {
    if (m_flags & 16)
        return AcDb::k2dSplineCtlVertex;
    if (m_flags & 8)
        return AcDb::k2dSplineFitVertex;
    if (m_flags & 1)
        return AcDb::k2dCurveFitVertex;
    return AcDb::k2dVertex;
}
Acad::ErrorStatus AcDb2dVertex::setPosition(const AcGePoint3d& p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_position = p;
    return Acad::eOk;
}
Acad::ErrorStatus AcDb2dVertex::setStartWidth(double w) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (w < 0.0)
        return Acad::eInvalidInput;
    m_startWidth = w;
    return Acad::eOk;
}
Acad::ErrorStatus AcDb2dVertex::setEndWidth(double w) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (w < 0.0)
        return Acad::eInvalidInput;
    m_endWidth = w;
    return Acad::eOk;
}
Acad::ErrorStatus AcDb2dVertex::setBulge(double b) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_bulge = b;
    return Acad::eOk;
}
Acad::ErrorStatus AcDb2dVertex::useTangent() {
    return setTangentUsed(true);
}
Acad::ErrorStatus AcDb2dVertex::ignoreTangent() {
    return setTangentUsed(false);
}
Acad::ErrorStatus AcDb2dVertex::setTangentUsed(bool use) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    return setFlag(m_flags, 2, use);
}
Acad::ErrorStatus AcDb2dVertex::setTangent(double angle) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_tangent = angle;
    m_flags |= 2;
    return Acad::eOk;
}
Acad::ErrorStatus AcDb2dVertex::setVertexIdentifier(Adesk::Int32 id) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_id = id;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    auto take = [&](const resbuf& rb) {
        switch (rb.restype) {
        case 10:
            m_position = rbPoint(rb);
            if (m_position.z == 0.0)
                m_position.z = 0.0; // a missing Z
            break;
        case 40:
            m_startWidth = rb.resval.rreal;
            break;
        case 41:
            m_endWidth = rb.resval.rreal;
            break;
        case 42:
            m_bulge = rb.resval.rreal;
            break;
        case 70:
            m_flags = rb.resval.rint;
            break;
        case 50:
            m_tangent = readAngleGroup(f, rb.resval.rreal);
            break;
        case 91:
            m_id = rb.resval.rlong;
            break;
        case 71:
        case 72:
        case 73:
        case 74:
            m_face[rb.restype - 71] = rb.resval.rint;
            break;
        default:
            break;
        }
    };
    readSubclasses(f,
                   {L"AcDbVertex", L"AcDb2dVertex", L"AcDb3dPolylineVertex",
                    L"AcDbPolygonMeshVertex", L"AcDbPolyFaceMeshVertex", L"AcDbFaceRecord"},
                   take);
    attachReadSubEntity(this, f);
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbEntity::dxfOutFields(f);
    if ((m_flags & 128) && !(m_flags & 64)) {
        f->writeString(AcDb::kDxfSubclass, L"AcDbFaceRecord");
    } else {
        f->writeString(AcDb::kDxfSubclass, L"AcDbVertex");
        const wchar_t* marker = (m_flags & 32)    ? L"AcDb3dPolylineVertex"
                                : (m_flags & 128) ? L"AcDbPolyFaceMeshVertex"
                                : (m_flags & 64)  ? L"AcDbPolygonMeshVertex"
                                                  : L"AcDb2dVertex";
        f->writeString(AcDb::kDxfSubclass, marker);
    }
    f->writePoint3d(AcDb::kDxfXCoord, m_position);
    if (m_startWidth != 0.0)
        f->writeDouble(code(40), m_startWidth);
    if (m_endWidth != 0.0)
        f->writeDouble(code(41), m_endWidth);
    if (m_bulge != 0.0)
        f->writeDouble(code(42), m_bulge);
    f->writeInt16(AcDb::kDxfInt16, m_flags);
    if (m_flags & 2)
        writeAngleGroup(f, 50, m_tangent);
    for (int i = 0; i < 4; ++i)
        if (m_face[i] != 0)
            f->writeInt16(code(71 + i), m_face[i]);
    if (m_id != 0)
        f->writeInt32(code(91), m_id);
    return f->filerStatus();
}

// ---- AcDb3dPolylineVertex -----------------------------------------------------------------------

AcDb3dPolylineVertex::AcDb3dPolylineVertex() = default;
AcDb3dPolylineVertex::AcDb3dPolylineVertex(const AcGePoint3d& position) : m_position(position) {}

AcDb::Vertex3dType AcDb3dPolylineVertex::vertexType() const {
    if (m_flags & 16)
        return AcDb::k3dControlVertex;
    if (m_flags & 8)
        return AcDb::k3dFitVertex;
    return AcDb::k3dSimpleVertex;
}
Acad::ErrorStatus AcDb3dPolylineVertex::setPosition(const AcGePoint3d& p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_position = p;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolylineVertex::transformBy(const AcGeMatrix3d& xform) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_position.transformBy(xform);
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolylineVertex::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    auto take = [&](const resbuf& rb) {
        if (rb.restype == 10) {
            m_position = rbPoint(rb);
            if (m_position.z == 0.0)
                m_position.z = 0.0;
        } else if (rb.restype == 70) {
            m_flags = rb.resval.rint;
        }
    };
    readSubclasses(f, {L"AcDbVertex", L"AcDb3dPolylineVertex"}, take);
    attachReadSubEntity(this, f);
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolylineVertex::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbEntity::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbVertex");
    f->writeString(AcDb::kDxfSubclass, L"AcDb3dPolylineVertex");
    f->writePoint3d(AcDb::kDxfXCoord, m_position);
    f->writeInt16(AcDb::kDxfInt16, static_cast<Adesk::Int16>(m_flags | 32));
    return f->filerStatus();
}

// ---- AcDb2dPolyline -----------------------------------------------------------------------------

AcDb2dPolyline::AcDb2dPolyline() = default;

AcDb2dPolyline::AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices,
                               double elevation, bool closed, double defStartWidth,
                               double defEndWidth, const AcGeDoubleArray* bulges)
    : m_elevation(elevation), m_startWidth(defStartWidth), m_endWidth(defEndWidth) {
    setPolyType(type);
    setClosed(closed);
    for (int i = 0; i < vertices.length(); ++i) {
        double b = bulges && i < bulges->length() ? (*bulges)[i] : 0.0;
        auto* v = new AcDb2dVertex(AcGePoint3d(vertices[i].x, vertices[i].y, elevation), b,
                                   defStartWidth, defEndWidth);
        AcDbObjectId id;
        m_vertices.add(this, v, id);
    }
}

AcDb2dPolyline::~AcDb2dPolyline() = default;

AcDb::Poly2dType AcDb2dPolyline::polyType() const {
    if (m_flags & 2)
        return AcDb::k2dFitCurvePoly;
    if (m_flags & 4)
        return m_smooth == 5 ? AcDb::k2dQuadSplinePoly : AcDb::k2dCubicSplinePoly;
    return AcDb::k2dSimplePoly;
}

Acad::ErrorStatus AcDb2dPolyline::setPolyType(AcDb::Poly2dType type) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_flags &= ~(2 | 4);
    m_smooth = 0;
    switch (type) {
    case AcDb::k2dFitCurvePoly:
        m_flags |= 2;
        break;
    case AcDb::k2dQuadSplinePoly:
        m_flags |= 4;
        m_smooth = 5;
        break;
    case AcDb::k2dCubicSplinePoly:
        m_flags |= 4;
        m_smooth = 6;
        break;
    default:
        break;
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::makeClosed() {
    return setClosed(true);
}
Acad::ErrorStatus AcDb2dPolyline::makeOpen() {
    return setClosed(false);
}
Acad::ErrorStatus AcDb2dPolyline::setClosed(bool closed) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    return setFlag(m_flags, 1, closed);
}
Acad::ErrorStatus AcDb2dPolyline::setDefaultStartWidth(double w) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (w < 0.0)
        return Acad::eInvalidInput;
    m_startWidth = w;
    return Acad::eOk;
}
Acad::ErrorStatus AcDb2dPolyline::setDefaultEndWidth(double w) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (w < 0.0)
        return Acad::eInvalidInput;
    m_endWidth = w;
    return Acad::eOk;
}
Acad::ErrorStatus AcDb2dPolyline::setThickness(double t) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_thickness = t;
    return Acad::eOk;
}
Acad::ErrorStatus AcDb2dPolyline::setNormal(const AcGeVector3d& n) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (n.isZeroLength())
        return Acad::eInvalidInput;
    m_normal = n.normal();
    return Acad::eOk;
}
Acad::ErrorStatus AcDb2dPolyline::setElevation(double e) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_elevation = e;
    for (AcDbEntity* e2 : m_vertices.entities(true))
        if (auto* v = AcDb2dVertex::cast(e2))
            v->m_position.z = e;
    return Acad::eOk;
}
Acad::ErrorStatus AcDb2dPolyline::setLinetypeGenerationOn() {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    return setFlag(m_flags, 128, true);
}
Acad::ErrorStatus AcDb2dPolyline::setLinetypeGenerationOff() {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    return setFlag(m_flags, 128, false);
}

Acad::ErrorStatus AcDb2dPolyline::appendVertex(AcDb2dVertex* pVertex) {
    AcDbObjectId id;
    return appendVertex(id, pVertex);
}

Acad::ErrorStatus AcDb2dPolyline::appendVertex(AcDbObjectId& id, AcDb2dVertex* pVertex) {
    return addVertex(this, m_vertices, pVertex, id, AcDbObjectId::kNull, true);
}

Acad::ErrorStatus AcDb2dPolyline::insertVertexAt(const AcDb2dVertex* pIndexVert,
                                                 AcDb2dVertex* pNewVertex) {
    AcDbObjectId id;
    return insertVertexAt(id, pIndexVert ? pIndexVert->objectId() : AcDbObjectId::kNull,
                          pNewVertex);
}

Acad::ErrorStatus AcDb2dPolyline::insertVertexAt(AcDbObjectId& newVertId,
                                                 const AcDbObjectId& indexVertId,
                                                 AcDb2dVertex* pNewVertex) {
    return addVertex(this, m_vertices, pNewVertex, newVertId, indexVertId, false);
}

Acad::ErrorStatus AcDb2dPolyline::openVertex(AcDb2dVertex*& pVertex, AcDbObjectId vertId,
                                             AcDb::OpenMode mode, bool openErasedOne) const {
    return openSub(m_vertices, pVertex, vertId, mode, openErasedOne);
}

Acad::ErrorStatus AcDb2dPolyline::openSequenceEnd(AcDbSequenceEnd*& pSeqEnd, AcDb::OpenMode mode) {
    return openEnd(m_vertices, pSeqEnd, mode);
}

AcDbObjectIterator* AcDb2dPolyline::vertexIterator() const {
    return m_vertices.newIterator();
}

AcGePoint3d AcDb2dPolyline::vertexPosition(const AcDb2dVertex& vert) const {
    AcGePoint3d p = vert.position();
    return ocsToWcs(m_normal, AcGePoint3d(p.x, p.y, m_elevation));
}

std::vector<AcDb2dVertex*> AcDb2dPolyline::curveVertices() const {
    std::vector<AcDb2dVertex*> out;
    const bool spline = (m_flags & 4) != 0;
    for (AcDbEntity* e : m_vertices.entities())
        if (auto* v = AcDb2dVertex::cast(e))
            if (!(spline && (v->m_flags & 16)))
                out.push_back(v);
    return out;
}

bool AcDb2dPolyline::getKhostPath(CurvePath& path) const {
    std::vector<AcDb2dVertex*> v = curveVertices();
    const size_t n = v.size();
    if (n == 0)
        return true;
    auto pt = [&](size_t i) { return AcGePoint2d(v[i]->m_position.x, v[i]->m_position.y); };
    if (n == 1) {
        AcGePoint3d p = vertexPosition(*v[0]);
        path.addLine(p, p, 0.0, 0.0);
        return true;
    }
    const size_t segs = isClosed() ? n : n - 1;
    for (size_t i = 0; i < segs; ++i)
        path.addBulge(m_normal, m_elevation, pt(i), pt((i + 1) % n), v[i]->m_bulge,
                      static_cast<double>(i), i + 1.0);
    return true;
}

Acad::ErrorStatus AcDb2dPolyline::getStartPoint(AcGePoint3d& p) const {
    std::vector<AcDb2dVertex*> v = curveVertices();
    if (v.empty())
        return Acad::eDegenerateGeometry;
    p = vertexPosition(*v.front());
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::getEndPoint(AcGePoint3d& p) const {
    std::vector<AcDb2dVertex*> v = curveVertices();
    if (v.empty())
        return Acad::eDegenerateGeometry;
    p = vertexPosition(isClosed() ? *v.front() : *v.back());
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::reverseCurve() {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    std::vector<AcDb2dVertex*> v;
    for (AcDbEntity* e : m_vertices.entities())
        if (auto* x = AcDb2dVertex::cast(e))
            v.push_back(x);
    const size_t n = v.size();
    if (n < 2)
        return Acad::eOk;
    struct Data {
        AcGePoint3d pos;
        double sw, ew, bulge, tangent;
        Adesk::Int32 id;
        Adesk::Int16 flags;
    };
    std::vector<Data> old(n);
    for (size_t i = 0; i < n; ++i)
        old[i] = {v[i]->m_position, v[i]->m_startWidth, v[i]->m_endWidth, v[i]->m_bulge,
                  v[i]->m_tangent,  v[i]->m_id,         v[i]->m_flags};
    for (size_t i = 0; i < n; ++i) {
        const Data& at = old[n - 1 - i];
        const Data& seg = old[i + 1 < n ? n - 2 - i : n - 1];
        v[i]->m_position = at.pos;
        v[i]->m_id = at.id;
        v[i]->m_flags = at.flags;
        v[i]->m_tangent = normalizeAngle(at.tangent + kEntPi);
        v[i]->m_bulge = -seg.bulge;
        v[i]->m_startWidth = seg.ew;
        v[i]->m_endWidth = seg.sw;
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::transformBy(const AcGeMatrix3d& xform) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!isUniformlyScaled(xform))
        return Acad::eCannotScaleNonUniformly;
    const double s = uniformScale(xform);
    const bool mirror = isMirroring(xform);
    AcGeVector3d n = transformNormal(xform, m_normal);
    double elevation = wcsToOcs(n, xform * ocsToWcs(m_normal, AcGePoint3d(0, 0, m_elevation))).z;
    for (AcDbEntity* e : m_vertices.entities(true)) {
        auto* v = AcDb2dVertex::cast(e);
        if (!v)
            continue;
        AcGePoint3d p = xform * vertexPosition(*v);
        AcGePoint3d q = wcsToOcs(n, p);
        v->m_position = AcGePoint3d(q.x, q.y, q.z);
        elevation = q.z;
        v->m_startWidth *= s;
        v->m_endWidth *= s;
        if (mirror)
            v->m_bulge = -v->m_bulge;
        if (v->m_flags & 2) {
            AcGeVector3d t =
                xform * ocsToWcs(m_normal, ocsDirection(AcGeVector3d::kZAxis, v->m_tangent));
            v->m_tangent = ocsAngle(n, t);
        }
    }
    m_normal = n;
    m_elevation = elevation;
    m_startWidth *= s;
    m_endWidth *= s;
    m_thickness *= s;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::subErase(bool erasing) {
    m_vertices.setErased(erasing);
    return Acad::eOk;
}

void AcDb2dPolyline::subAddedToDatabase() {
    m_vertices.ownerAdded(this);
}

Acad::ErrorStatus AcDb2dPolyline::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    readSubclasses(f,
                   {L"AcDb2dPolyline", L"AcDb3dPolyline", L"AcDbPolygonMesh", L"AcDbPolyFaceMesh"},
                   [&](const resbuf& rb) {
                       switch (rb.restype) {
                       case 10:
                           m_elevation = rb.resval.rpoint[2] == 0.0 ? 0.0 : rb.resval.rpoint[2];
                           break;
                       case 70:
                           m_flags = rb.resval.rint;
                           break;
                       case 40:
                           m_startWidth = rb.resval.rreal;
                           break;
                       case 41:
                           m_endWidth = rb.resval.rreal;
                           break;
                       case 39:
                           m_thickness = rb.resval.rreal;
                           break;
                       case 75:
                           m_smooth = rb.resval.rint;
                           break;
                       case 71:
                       case 72:
                       case 73:
                       case 74:
                           m_mesh[rb.restype - 71] = rb.resval.rint;
                           break;
                       case 210:
                           if (!rbVector(rb).isZeroLength())
                               m_normal = rbVector(rb).normal();
                           break;
                       default:
                           break;
                       }
                   });
    if (isFileFiler(f))
        noteComplexRead(this, true);
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbEntity::dxfOutFields(f);
    const wchar_t* marker = (m_flags & 8)    ? L"AcDb3dPolyline"
                            : (m_flags & 16) ? L"AcDbPolygonMesh"
                            : (m_flags & 64) ? L"AcDbPolyFaceMesh"
                                             : L"AcDb2dPolyline";
    f->writeString(AcDb::kDxfSubclass, marker);
    f->writeInt16(AcDb::kDxfHasSubentities, 1);
    f->writePoint3d(AcDb::kDxfXCoord, AcGePoint3d(0.0, 0.0, m_elevation));
    f->writeInt16(AcDb::kDxfInt16, m_flags);
    if (m_startWidth != 0.0)
        f->writeDouble(code(40), m_startWidth);
    if (m_endWidth != 0.0)
        f->writeDouble(code(41), m_endWidth);
    for (int i = 0; i < 4; ++i)
        if (m_mesh[i] != 0)
            f->writeInt16(code(71 + i), m_mesh[i]);
    if (m_thickness != 0.0)
        f->writeDouble(AcDb::kDxfThickness, m_thickness);
    if (m_smooth != 0)
        f->writeInt16(code(75), m_smooth);
    if (!isWorldZ(m_normal))
        f->writeVector3d(AcDb::kDxfNormalX, m_normal);
    return f->filerStatus();
}

// ---- AcDb3dPolyline -----------------------------------------------------------------------------

AcDb3dPolyline::AcDb3dPolyline() = default;

AcDb3dPolyline::AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices,
                               bool closed) {
    setPolyType(type);
    setClosed(closed);
    for (const AcGePoint3d& p : vertices) {
        AcDbObjectId id;
        m_vertices.add(this, new AcDb3dPolylineVertex(p), id);
    }
}

AcDb3dPolyline::~AcDb3dPolyline() = default;

AcDb::Poly3dType AcDb3dPolyline::polyType() const {
    if (m_flags & 4)
        return m_smooth == 5 ? AcDb::k3dQuadSplinePoly : AcDb::k3dCubicSplinePoly;
    return AcDb::k3dSimplePoly;
}

Acad::ErrorStatus AcDb3dPolyline::setPolyType(AcDb::Poly3dType type) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_flags &= ~4;
    m_smooth = 0;
    if (type == AcDb::k3dQuadSplinePoly || type == AcDb::k3dCubicSplinePoly) {
        m_flags |= 4;
        m_smooth = type == AcDb::k3dQuadSplinePoly ? 5 : 6;
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::makeClosed() {
    return setClosed(true);
}
Acad::ErrorStatus AcDb3dPolyline::makeOpen() {
    return setClosed(false);
}
Acad::ErrorStatus AcDb3dPolyline::setClosed(bool closed) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    return setFlag(m_flags, 1, closed);
}

Acad::ErrorStatus AcDb3dPolyline::appendVertex(AcDb3dPolylineVertex* pVertex) {
    AcDbObjectId id;
    return appendVertex(id, pVertex);
}

Acad::ErrorStatus AcDb3dPolyline::appendVertex(AcDbObjectId& id, AcDb3dPolylineVertex* pVertex) {
    return addVertex(this, m_vertices, pVertex, id, AcDbObjectId::kNull, true);
}

Acad::ErrorStatus AcDb3dPolyline::insertVertexAt(const AcDb3dPolylineVertex* pIndexVert,
                                                 AcDb3dPolylineVertex* pNewVertex) {
    AcDbObjectId id;
    return insertVertexAt(id, pIndexVert ? pIndexVert->objectId() : AcDbObjectId::kNull,
                          pNewVertex);
}

Acad::ErrorStatus AcDb3dPolyline::insertVertexAt(AcDbObjectId& newVertId,
                                                 const AcDbObjectId& indexVertId,
                                                 AcDb3dPolylineVertex* pNewVertex) {
    return addVertex(this, m_vertices, pNewVertex, newVertId, indexVertId, false);
}

Acad::ErrorStatus AcDb3dPolyline::openVertex(AcDb3dPolylineVertex*& pVertex, AcDbObjectId vertId,
                                             AcDb::OpenMode mode, bool openErasedOne) const {
    return openSub(m_vertices, pVertex, vertId, mode, openErasedOne);
}

Acad::ErrorStatus AcDb3dPolyline::openSequenceEnd(AcDbSequenceEnd*& pSeqEnd, AcDb::OpenMode mode) {
    return openEnd(m_vertices, pSeqEnd, mode);
}

AcDbObjectIterator* AcDb3dPolyline::vertexIterator() const {
    return m_vertices.newIterator();
}

std::vector<AcDb3dPolylineVertex*> AcDb3dPolyline::curveVertices() const {
    std::vector<AcDb3dPolylineVertex*> out;
    const bool spline = (m_flags & 4) != 0;
    for (AcDbEntity* e : m_vertices.entities())
        if (auto* v = AcDb3dPolylineVertex::cast(e))
            if (!(spline && (v->m_flags & 16)))
                out.push_back(v);
    return out;
}

bool AcDb3dPolyline::getKhostPath(CurvePath& path) const {
    std::vector<AcDb3dPolylineVertex*> v = curveVertices();
    const size_t n = v.size();
    if (n == 0)
        return true;
    if (n == 1) {
        path.addLine(v[0]->m_position, v[0]->m_position, 0.0, 0.0);
        return true;
    }
    const size_t segs = isClosed() ? n : n - 1;
    for (size_t i = 0; i < segs; ++i)
        path.addLine(v[i]->m_position, v[(i + 1) % n]->m_position, static_cast<double>(i), i + 1.0);
    return true;
}

Acad::ErrorStatus AcDb3dPolyline::getStartPoint(AcGePoint3d& p) const {
    std::vector<AcDb3dPolylineVertex*> v = curveVertices();
    if (v.empty())
        return Acad::eDegenerateGeometry;
    p = v.front()->m_position;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::getEndPoint(AcGePoint3d& p) const {
    std::vector<AcDb3dPolylineVertex*> v = curveVertices();
    if (v.empty())
        return Acad::eDegenerateGeometry;
    p = isClosed() ? v.front()->m_position : v.back()->m_position;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::reverseCurve() {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    std::vector<AcDb3dPolylineVertex*> v;
    for (AcDbEntity* e : m_vertices.entities())
        if (auto* x = AcDb3dPolylineVertex::cast(e))
            v.push_back(x);
    const size_t n = v.size();
    for (size_t i = 0; i < n / 2; ++i) {
        std::swap(v[i]->m_position, v[n - 1 - i]->m_position);
        std::swap(v[i]->m_flags, v[n - 1 - i]->m_flags);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::transformBy(const AcGeMatrix3d& xform) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    for (AcDbEntity* e : m_vertices.entities(true))
        if (auto* v = AcDb3dPolylineVertex::cast(e))
            v->m_position.transformBy(xform);
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::subErase(bool erasing) {
    m_vertices.setErased(erasing);
    return Acad::eOk;
}

void AcDb3dPolyline::subAddedToDatabase() {
    m_vertices.ownerAdded(this);
}

Acad::ErrorStatus AcDb3dPolyline::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    readSubclasses(f, {L"AcDb3dPolyline", L"AcDb2dPolyline"}, [&](const resbuf& rb) {
        if (rb.restype == 70)
            m_flags = static_cast<Adesk::Int16>(rb.resval.rint | 8);
        else if (rb.restype == 75)
            m_smooth = rb.resval.rint;
    });
    if (isFileFiler(f))
        noteComplexRead(this, true);
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbEntity::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDb3dPolyline");
    f->writeInt16(AcDb::kDxfHasSubentities, 1);
    f->writePoint3d(AcDb::kDxfXCoord, AcGePoint3d(0.0, 0.0, 0.0));
    f->writeInt16(AcDb::kDxfInt16, static_cast<Adesk::Int16>(m_flags | 8));
    if (m_smooth != 0)
        f->writeInt16(code(75), m_smooth);
    return f->filerStatus();
}
