// The light-weight polyline.
#include "dbent_util.h"

#include "dbents.h"

#include <algorithm>
#include <cmath>

ACRX_DEFINE_MEMBERS_DXF(AcDbPolyline, AcDbCurve, L"LWPOLYLINE")

using namespace khost;

namespace {
AcDb::DxfCode code(int c) {
    return static_cast<AcDb::DxfCode>(c);
}
} // namespace

AcDbPolyline::AcDbPolyline() = default;
AcDbPolyline::AcDbPolyline(unsigned int numVerts) {
    m_verts.reserve(numVerts);
}

unsigned int AcDbPolyline::nextIndex(unsigned int index) const {
    if (index + 1 < numVerts())
        return index + 1;
    return isClosed() ? 0 : index;
}

AcGePoint3d AcDbPolyline::wcsPoint(unsigned int index) const {
    const AcGePoint2d& p = m_verts[index].pt;
    return ocsToWcs(m_normal, AcGePoint3d(p.x, p.y, m_elevation));
}

Acad::ErrorStatus AcDbPolyline::addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge,
                                            double startWidth, double endWidth,
                                            Adesk::Int32 vertexIdentifier) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    double constant = 0.0;
    if (getConstantWidth(constant) != Acad::eOk)
        constant = 0.0;
    Vertex v;
    v.pt = pt;
    v.bulge = bulge;
    v.startWidth = startWidth < 0.0 ? constant : startWidth;
    v.endWidth = endWidth < 0.0 ? constant : endWidth;
    v.id = vertexIdentifier;
    if (index > numVerts())
        index = numVerts();
    m_verts.insert(m_verts.begin() + index, v);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::removeVertexAt(unsigned int index) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    m_verts.erase(m_verts.begin() + index);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint3d& pt) const {
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    pt = wcsPoint(index);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint2d& pt) const {
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    pt = m_verts[index].pt;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setPointAt(unsigned int index, const AcGePoint2d& pt) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    m_verts[index].pt = pt;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const {
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    bulge = m_verts[index].bulge;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setBulgeAt(unsigned int index, double bulge) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    m_verts[index].bulge = bulge;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getWidthsAt(unsigned int index, double& startWidth,
                                            double& endWidth) const {
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    startWidth = m_verts[index].startWidth;
    endWidth = m_verts[index].endWidth;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setWidthsAt(unsigned int index, double startWidth,
                                            double endWidth) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    if (startWidth < 0.0 || endWidth < 0.0)
        return Acad::eInvalidInput;
    m_verts[index].startWidth = startWidth;
    m_verts[index].endWidth = endWidth;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getVertexIdentifierAt(unsigned int index,
                                                      Adesk::Int32& vertId) const {
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    vertId = m_verts[index].id;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setVertexIdentifierAt(unsigned int index,
                                                      Adesk::Int32 suggestedValue) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    m_verts[index].id = suggestedValue;
    return Acad::eOk;
}

AcDbPolyline::SegType AcDbPolyline::segType(unsigned int index) const {
    if (m_verts.empty() || index >= numVerts())
        return kEmpty;
    if (numVerts() == 1)
        return kPoint;
    unsigned int next = nextIndex(index);
    if (next == index)
        return kPoint;
    if (m_verts[index].pt.isEqualTo(m_verts[next].pt))
        return kCoincident;
    return m_verts[index].bulge != 0.0 ? kArc : kLine;
}

Acad::ErrorStatus AcDbPolyline::getLineSegAt(unsigned int index, AcGeLineSeg2d& ln) const {
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    ln.set(m_verts[index].pt, m_verts[nextIndex(index)].pt);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getLineSegAt(unsigned int index, AcGeLineSeg3d& ln) const {
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    ln.set(wcsPoint(index), wcsPoint(nextIndex(index)));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getArcSegAt(unsigned int index, AcGeCircArc2d& arc) const {
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    if (segType(index) != kArc)
        return Acad::eNotApplicable;
    arc.set(m_verts[index].pt, m_verts[nextIndex(index)].pt, m_verts[index].bulge, false);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getArcSegAt(unsigned int index, AcGeCircArc3d& arc) const {
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    if (segType(index) != kArc)
        return Acad::eNotApplicable;
    AcGePoint2d c;
    double r, a0, sweep;
    bulgeArc(m_verts[index].pt, m_verts[nextIndex(index)].pt, m_verts[index].bulge, c, r, a0,
             sweep);
    AcGeVector3d x, y;
    ocsAxes(m_normal, x, y);
    AcGePoint3d center = ocsToWcs(m_normal, AcGePoint3d(c.x, c.y, m_elevation));
    if (sweep > 0.0)
        arc.set(center, m_normal, x, r, a0, a0 + sweep);
    else // clockwise about the normal: counterclockwise about the reversed one
        arc.set(center, -m_normal, x, r, -a0, -a0 - sweep);
    return Acad::eOk;
}

bool AcDbPolyline::onSegAt(unsigned int index, const AcGePoint2d& pt2d, double& param) const {
    if (index >= numVerts())
        return false;
    CurvePath path;
    path.addBulge(AcGeVector3d::kZAxis, 0.0, m_verts[index].pt, m_verts[nextIndex(index)].pt,
                  m_verts[index].bulge, index, index + 1.0);
    double t = 0.0;
    if (path.paramAtPoint(AcGePoint3d(pt2d.x, pt2d.y, 0.0), t) != Acad::eOk)
        return false;
    param = t;
    return true;
}

void AcDbPolyline::setClosed(bool closed) {
    if (!assertWriteEnabled())
        return;
    m_flags = static_cast<Adesk::Int16>(closed ? (m_flags | 1) : (m_flags & ~1));
}

void AcDbPolyline::setPlinegen(bool plinegen) {
    if (!assertWriteEnabled())
        return;
    m_flags = static_cast<Adesk::Int16>(plinegen ? (m_flags | 128) : (m_flags & ~128));
}

bool AcDbPolyline::hasBulges() const {
    return std::any_of(m_verts.begin(), m_verts.end(),
                       [](const Vertex& v) { return v.bulge != 0.0; });
}

bool AcDbPolyline::hasWidth() const {
    return std::any_of(m_verts.begin(), m_verts.end(),
                       [](const Vertex& v) { return v.startWidth != 0.0 || v.endWidth != 0.0; });
}

bool AcDbPolyline::hasVertexIdentifiers() const {
    return std::any_of(m_verts.begin(), m_verts.end(), [](const Vertex& v) { return v.id != 0; });
}

void AcDbPolyline::setElevation(double elevation) {
    if (!assertWriteEnabled())
        return;
    m_elevation = elevation;
}

Acad::ErrorStatus AcDbPolyline::setThickness(double thickness) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_thickness = thickness;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setNormal(const AcGeVector3d& normal) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (normal.isZeroLength())
        return Acad::eInvalidInput;
    m_normal = normal.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getConstantWidth(double& width) const {
    double w = m_verts.empty() ? 0.0 : m_verts.front().startWidth;
    for (const Vertex& v : m_verts)
        if (v.startWidth != w || v.endWidth != w)
            return Acad::eNotApplicable;
    width = w;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setConstantWidth(double width) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (width < 0.0)
        return Acad::eInvalidInput;
    for (Vertex& v : m_verts)
        v.startWidth = v.endWidth = width;
    return Acad::eOk;
}

void AcDbPolyline::reset(bool reuse, unsigned int numVerts) {
    if (!assertWriteEnabled())
        return;
    if (!reuse)
        m_verts.clear();
    else if (numVerts < m_verts.size())
        m_verts.resize(numVerts);
}

Acad::ErrorStatus AcDbPolyline::minimizeMemory() {
    m_verts.shrink_to_fit();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::maximizeMemory() {
    return Acad::eOk;
}

bool AcDbPolyline::getKhostPath(CurvePath& path) const {
    const unsigned int n = numVerts();
    if (n == 0)
        return true;
    if (n == 1) {
        path.addLine(wcsPoint(0), wcsPoint(0), 0.0, 0.0);
        return true;
    }
    const unsigned int segs = isClosed() ? n : n - 1;
    for (unsigned int i = 0; i < segs; ++i)
        path.addBulge(m_normal, m_elevation, m_verts[i].pt, m_verts[(i + 1) % n].pt,
                      m_verts[i].bulge, i, i + 1.0);
    return true;
}

Acad::ErrorStatus AcDbPolyline::getStartPoint(AcGePoint3d& p) const {
    if (m_verts.empty())
        return Acad::eDegenerateGeometry;
    p = wcsPoint(0);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getEndPoint(AcGePoint3d& p) const {
    if (m_verts.empty())
        return Acad::eDegenerateGeometry;
    p = wcsPoint(isClosed() ? 0 : numVerts() - 1);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::reverseCurve() {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    const size_t n = m_verts.size();
    if (n < 2)
        return Acad::eOk;
    std::vector<Vertex> r(n);
    for (size_t i = 0; i < n; ++i) {
        r[i].pt = m_verts[n - 1 - i].pt;
        r[i].id = m_verts[n - 1 - i].id;
        // Segment i of the reversed polyline is the old segment n - 2 - i run backwards (the
        // closing segment, kept at the last vertex, stays there).
        const Vertex& seg = m_verts[i + 1 < n ? n - 2 - i : n - 1];
        r[i].bulge = -seg.bulge;
        r[i].startWidth = seg.endWidth;
        r[i].endWidth = seg.startWidth;
    }
    m_verts.swap(r);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::transformBy(const AcGeMatrix3d& xform) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!isUniformlyScaled(xform))
        return Acad::eCannotScaleNonUniformly;
    const double s = uniformScale(xform);
    const bool mirror = isMirroring(xform);
    AcGeVector3d n = transformNormal(xform, m_normal);
    double elevation = m_elevation;
    for (size_t i = 0; i < m_verts.size(); ++i) {
        AcGePoint3d p = wcsPoint(static_cast<unsigned int>(i));
        p.transformBy(xform);
        AcGePoint3d q = wcsToOcs(n, p);
        if (i == 0)
            elevation = q.z;
        m_verts[i].pt = AcGePoint2d(q.x, q.y);
        m_verts[i].startWidth *= s;
        m_verts[i].endWidth *= s;
        if (mirror)
            m_verts[i].bulge = -m_verts[i].bulge;
    }
    if (m_verts.empty())
        elevation = wcsToOcs(n, xform * ocsToWcs(m_normal, AcGePoint3d(0, 0, m_elevation))).z;
    m_normal = n;
    m_elevation = elevation;
    m_thickness *= s;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbPolyline");
    m_verts.clear();
    bool haveConstant = false, haveWidths = false;
    double constant = 0.0;
    es = readSubclass(f, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 90:
            m_verts.reserve(static_cast<size_t>(std::max(0, static_cast<int>(rb.resval.rlong))));
            break;
        case 70:
            m_flags = rb.resval.rint;
            break;
        case 43:
            haveConstant = true;
            constant = rb.resval.rreal;
            break;
        case 38:
            m_elevation = rb.resval.rreal;
            break;
        case 39:
            m_thickness = rb.resval.rreal;
            break;
        case 10: {
            Vertex v;
            v.pt = AcGePoint2d(rb.resval.rpoint[0], rb.resval.rpoint[1]);
            m_verts.push_back(v);
            break;
        }
        case 40:
            if (!m_verts.empty()) {
                m_verts.back().startWidth = rb.resval.rreal;
                haveWidths = true;
            }
            break;
        case 41:
            if (!m_verts.empty()) {
                m_verts.back().endWidth = rb.resval.rreal;
                haveWidths = true;
            }
            break;
        case 42:
            if (!m_verts.empty())
                m_verts.back().bulge = rb.resval.rreal;
            break;
        case 91:
            if (!m_verts.empty())
                m_verts.back().id = rb.resval.rlong;
            break;
        case 210:
            if (!rbVector(rb).isZeroLength())
                m_normal = rbVector(rb).normal();
            break;
        default:
            break;
        }
    });
    if (haveConstant && !haveWidths)
        for (Vertex& v : m_verts)
            v.startWidth = v.endWidth = constant;
    return es;
}

Acad::ErrorStatus AcDbPolyline::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbEntity::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbPolyline");
    f->writeInt32(AcDb::kDxfInt32, static_cast<Adesk::Int32>(m_verts.size()));
    f->writeInt16(AcDb::kDxfInt16, m_flags);
    double constant = 0.0;
    const bool isConstant = getConstantWidth(constant) == Acad::eOk;
    if (isConstant && constant != 0.0)
        f->writeDouble(code(43), constant);
    if (m_elevation != 0.0)
        f->writeDouble(AcDb::kDxfElevation, m_elevation);
    if (m_thickness != 0.0)
        f->writeDouble(AcDb::kDxfThickness, m_thickness);
    const bool ids = hasVertexIdentifiers();
    for (const Vertex& v : m_verts) {
        write2dPointGroup(f, 10, v.pt.x, v.pt.y);
        if (!isConstant) {
            f->writeDouble(code(40), v.startWidth);
            f->writeDouble(code(41), v.endWidth);
        }
        if (v.bulge != 0.0)
            f->writeDouble(code(42), v.bulge);
        if (ids)
            f->writeInt32(code(91), v.id);
    }
    if (!isWorldZ(m_normal))
        f->writeVector3d(AcDb::kDxfNormalX, m_normal);
    return f->filerStatus();
}
