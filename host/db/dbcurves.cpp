// Curves: the answers of AcDbCurve from a curve's path, the line's additions, circles, arcs,
// ellipses, splines, rays, construction lines and points.
#include "dbent_util.h"

#include "dbents.h"

#include <algorithm>
#include <cmath>

ACRX_DEFINE_MEMBERS_DXF(AcDbCircle, AcDbCurve, L"CIRCLE")
ACRX_DEFINE_MEMBERS_DXF(AcDbArc, AcDbCurve, L"ARC")
ACRX_DEFINE_MEMBERS_DXF(AcDbEllipse, AcDbCurve, L"ELLIPSE")
ACRX_DEFINE_MEMBERS_DXF(AcDbSpline, AcDbCurve, L"SPLINE")
ACRX_DEFINE_MEMBERS_DXF(AcDbRay, AcDbCurve, L"RAY")
ACRX_DEFINE_MEMBERS_DXF(AcDbXline, AcDbCurve, L"XLINE")
ACRX_DEFINE_MEMBERS_DXF(AcDbPoint, AcDbEntity, L"POINT")

using namespace khost;

namespace {

constexpr double kAngleEps = 1e-12;

AcDb::DxfCode code(int c) {
    return static_cast<AcDb::DxfCode>(c);
}

// The parameter nearest to a point by golden-section search between two parameters, for curves
// whose path only approximates them.
double refineParam(const AcDbCurve* c, const AcGePoint3d& p, double lo, double hi) {
    const double g = 0.5 * (std::sqrt(5.0) - 1.0);
    auto dist = [&](double t) {
        AcGePoint3d q;
        if (c->getPointAtParam(t, q) != Acad::eOk)
            return 1e300;
        return q.distanceTo(p);
    };
    double a = lo, b = hi;
    double x1 = b - g * (b - a), x2 = a + g * (b - a);
    double f1 = dist(x1), f2 = dist(x2);
    for (int i = 0; i < 100 && b - a > 1e-15 * std::max(1.0, std::fabs(b)); ++i) {
        if (f1 <= f2) {
            b = x2;
            x2 = x1;
            f2 = f1;
            x1 = b - g * (b - a);
            f1 = dist(x1);
        } else {
            a = x1;
            x1 = x2;
            f1 = f2;
            x2 = a + g * (b - a);
            f2 = dist(x2);
        }
    }
    return 0.5 * (a + b);
}

// Points of an approximate path are exact at the pieces' ends; the nearest parameter lies in
// the neighbouring pieces.
bool isApproximatePath(const AcDbCurve* c) {
    return AcDbEllipse::cast(c) || AcDbSpline::cast(c);
}

Acad::ErrorStatus closestOnPath(const AcDbCurve* c, const CurvePath& path, const AcGePoint3d& p,
                                AcGePoint3d& onCurve, double& param, bool extend) {
    path.closest(p, onCurve, param, extend);
    if (!isApproximatePath(c))
        return Acad::eOk;
    size_t k = 0;
    for (size_t i = 0; i < path.pieces.size(); ++i)
        if (path.pieces[i].p0 <= param)
            k = i;
    double lo = path.pieces[k > 0 ? k - 1 : 0].p0;
    double hi = path.pieces[std::min(k + 1, path.pieces.size() - 1)].p1;
    param = refineParam(c, p, lo, hi);
    return c->getPointAtParam(param, onCurve);
}

} // namespace

// ---- AcDbCurve ----------------------------------------------------------------------------------

bool AcDbCurve::getKhostPath(CurvePath&) const {
    return false;
}

Acad::ErrorStatus AcDbCurve::getStartParam(double& param) const {
    CurvePath path;
    if (!getKhostPath(path) || path.empty())
        return Acad::eNotImplementedYet;
    param = path.startParam();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getEndParam(double& param) const {
    CurvePath path;
    if (!getKhostPath(path) || path.empty())
        return Acad::eNotImplementedYet;
    param = path.endParam();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getPointAtParam(double param, AcGePoint3d& point) const {
    CurvePath path;
    if (!getKhostPath(path))
        return Acad::eNotImplementedYet;
    return path.pointAtParam(param, point);
}

Acad::ErrorStatus AcDbCurve::getParamAtPoint(const AcGePoint3d& point, double& param) const {
    CurvePath path;
    if (!getKhostPath(path))
        return Acad::eNotImplementedYet;
    if (path.empty())
        return Acad::eDegenerateGeometry;
    AcGePoint3d q;
    double t = 0.0;
    closestOnPath(this, path, point, q, t, false);
    if (!q.isEqualTo(point))
        return Acad::eInvalidInput;
    param = t;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getDistAtParam(double param, double& dist) const {
    CurvePath path;
    if (!getKhostPath(path))
        return Acad::eNotImplementedYet;
    return path.distAtParam(param, dist);
}

Acad::ErrorStatus AcDbCurve::getParamAtDist(double dist, double& param) const {
    CurvePath path;
    if (!getKhostPath(path))
        return Acad::eNotImplementedYet;
    return path.paramAtDist(dist, param);
}

Acad::ErrorStatus AcDbCurve::getDistAtPoint(const AcGePoint3d& point, double& dist) const {
    double param = 0.0;
    Acad::ErrorStatus es = getParamAtPoint(point, param);
    if (es != Acad::eOk)
        return es;
    return getDistAtParam(param, dist);
}

Acad::ErrorStatus AcDbCurve::getPointAtDist(double dist, AcGePoint3d& point) const {
    double param = 0.0;
    Acad::ErrorStatus es = getParamAtDist(dist, param);
    if (es != Acad::eOk)
        return es;
    return getPointAtParam(param, point);
}

Acad::ErrorStatus AcDbCurve::getClosestPointTo(const AcGePoint3d& givenPnt,
                                               AcGePoint3d& pointOnCurve, bool extend) const {
    CurvePath path;
    if (!getKhostPath(path))
        return Acad::eNotImplementedYet;
    if (path.empty())
        return Acad::eDegenerateGeometry;
    double param = 0.0;
    return closestOnPath(this, path, givenPnt, pointOnCurve, param, extend);
}

Acad::ErrorStatus AcDbCurve::reverseCurve() {
    return Acad::eNotImplementedYet;
}

// ---- AcDbLine -----------------------------------------------------------------------------------

bool AcDbLine::getKhostPath(CurvePath& path) const {
    path.addLine(m_start, m_end, 0.0, m_start.distanceTo(m_end));
    return true;
}

Acad::ErrorStatus AcDbLine::reverseCurve() {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    std::swap(m_start, m_end);
    return Acad::eOk;
}

// ---- AcDbCircle ---------------------------------------------------------------------------------

AcDbCircle::AcDbCircle() = default;
AcDbCircle::AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius)
    : m_center(center), m_normal(normal.isZeroLength() ? AcGeVector3d::kZAxis : normal.normal()),
      m_radius(radius) {}

Acad::ErrorStatus AcDbCircle::setCenter(const AcGePoint3d& c) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_center = c;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::setRadius(double r) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!(r > 0.0))
        return Acad::eInvalidInput;
    m_radius = r;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::setNormal(const AcGeVector3d& n) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (n.isZeroLength())
        return Acad::eInvalidInput;
    m_normal = n.normal();
    return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::setThickness(double t) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_thickness = t;
    return Acad::eOk;
}
double AcDbCircle::circumference() const {
    return kEntTwoPi * m_radius;
}
Acad::ErrorStatus AcDbCircle::setCircumference(double c) {
    return setRadius(c / kEntTwoPi);
}
Acad::ErrorStatus AcDbCircle::setDiameter(double d) {
    return setRadius(d / 2.0);
}

bool AcDbCircle::getKhostPath(CurvePath& path) const {
    AcGeVector3d x, y;
    ocsAxes(m_normal, x, y);
    path.addArc(m_center, m_normal, x, m_radius, 0.0, kEntTwoPi, 0.0, kEntTwoPi);
    return true;
}

Acad::ErrorStatus AcDbCircle::getStartPoint(AcGePoint3d& p) const {
    return getPointAtParam(0.0, p);
}
Acad::ErrorStatus AcDbCircle::getEndPoint(AcGePoint3d& p) const {
    return getPointAtParam(0.0, p);
}

Acad::ErrorStatus AcDbCircle::reverseCurve() {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_normal = -m_normal;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::transformBy(const AcGeMatrix3d& xform) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!isUniformlyScaled(xform))
        return Acad::eCannotScaleNonUniformly;
    double s = uniformScale(xform);
    m_center.transformBy(xform);
    m_normal = transformNormal(xform, m_normal);
    m_radius *= s;
    m_thickness *= s;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::readCircleFields(AcDbDxfFiler* f) {
    f->atSubclassData(L"AcDbCircle");
    AcGePoint3d ocsCenter = wcsToOcs(m_normal, m_center);
    Acad::ErrorStatus es = readSubclass(f, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 10:
            ocsCenter = rbPoint(rb);
            break;
        case 40:
            m_radius = rb.resval.rreal;
            break;
        case 39:
            m_thickness = rb.resval.rreal;
            break;
        case 210:
            if (!rbVector(rb).isZeroLength())
                m_normal = rbVector(rb).normal();
            break;
        default:
            break;
        }
    });
    m_center = ocsToWcs(m_normal, ocsCenter);
    return es;
}

void AcDbCircle::writeCircleFields(AcDbDxfFiler* f) const {
    f->writeString(AcDb::kDxfSubclass, L"AcDbCircle");
    if (m_thickness != 0.0)
        f->writeDouble(AcDb::kDxfThickness, m_thickness);
    f->writePoint3d(AcDb::kDxfXCoord, wcsToOcs(m_normal, m_center));
    f->writeDouble(AcDb::kDxfReal, m_radius);
    if (!isWorldZ(m_normal))
        f->writeVector3d(AcDb::kDxfNormalX, m_normal);
}

Acad::ErrorStatus AcDbCircle::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    return readCircleFields(f);
}

Acad::ErrorStatus AcDbCircle::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbEntity::dxfOutFields(f);
    writeCircleFields(f);
    return f->filerStatus();
}

// ---- AcDbArc ------------------------------------------------------------------------------------

AcDbArc::AcDbArc() = default;
AcDbArc::AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle)
    : m_center(center), m_radius(radius), m_startAngle(normalizeAngle(startAngle)),
      m_endAngle(normalizeAngle(endAngle)) {}
AcDbArc::AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius,
                 double startAngle, double endAngle)
    : m_center(center), m_normal(normal.isZeroLength() ? AcGeVector3d::kZAxis : normal.normal()),
      m_radius(radius), m_startAngle(normalizeAngle(startAngle)),
      m_endAngle(normalizeAngle(endAngle)) {}

Acad::ErrorStatus AcDbArc::setCenter(const AcGePoint3d& c) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_center = c;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::setRadius(double r) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!(r > 0.0))
        return Acad::eInvalidInput;
    m_radius = r;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::setStartAngle(double a) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_startAngle = normalizeAngle(a);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::setEndAngle(double a) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_endAngle = normalizeAngle(a);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::setNormal(const AcGeVector3d& n) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (n.isZeroLength())
        return Acad::eInvalidInput;
    m_normal = n.normal();
    return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::setThickness(double t) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_thickness = t;
    return Acad::eOk;
}

double AcDbArc::totalAngle() const {
    double t = m_endAngle - m_startAngle;
    if (t <= kAngleEps)
        t += kEntTwoPi;
    return t;
}

AcGePoint3d AcDbArc::pointAtAngle(double a) const {
    return m_center + ocsDirection(m_normal, a) * m_radius;
}

bool AcDbArc::getKhostPath(CurvePath& path) const {
    AcGeVector3d x, y;
    ocsAxes(m_normal, x, y);
    double total = totalAngle();
    path.addArc(m_center, m_normal, x, m_radius, m_startAngle, total, m_startAngle,
                m_startAngle + total);
    return true;
}

Acad::ErrorStatus AcDbArc::getStartPoint(AcGePoint3d& p) const {
    p = pointAtAngle(m_startAngle);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::getEndPoint(AcGePoint3d& p) const {
    p = pointAtAngle(m_endAngle);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::reverseCurve() {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    AcGeVector3d s = pointAtAngle(m_startAngle) - m_center;
    AcGeVector3d e = pointAtAngle(m_endAngle) - m_center;
    m_normal = -m_normal;
    m_startAngle = ocsAngle(m_normal, e);
    m_endAngle = ocsAngle(m_normal, s);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::transformBy(const AcGeMatrix3d& xform) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!isUniformlyScaled(xform))
        return Acad::eCannotScaleNonUniformly;
    AcGePoint3d s = pointAtAngle(m_startAngle), e = pointAtAngle(m_endAngle);
    s.transformBy(xform);
    e.transformBy(xform);
    double scale = uniformScale(xform);
    m_center.transformBy(xform);
    m_normal = transformNormal(xform, m_normal);
    m_radius *= scale;
    m_thickness *= scale;
    double a = ocsAngle(m_normal, s - m_center), b = ocsAngle(m_normal, e - m_center);
    // A mirrored arc runs clockwise about the new normal: its ends swap.
    if (isMirroring(xform))
        std::swap(a, b);
    m_startAngle = a;
    m_endAngle = b;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbCircle");
    AcGePoint3d ocsCenter = wcsToOcs(m_normal, m_center);
    auto take = [&](const resbuf& rb) {
        switch (rb.restype) {
        case 10:
            ocsCenter = rbPoint(rb);
            break;
        case 40:
            m_radius = rb.resval.rreal;
            break;
        case 39:
            m_thickness = rb.resval.rreal;
            break;
        case 210:
            if (!rbVector(rb).isZeroLength())
                m_normal = rbVector(rb).normal();
            break;
        case 50:
            m_startAngle = normalizeAngle(readAngleGroup(f, rb.resval.rreal));
            break;
        case 51:
            m_endAngle = normalizeAngle(readAngleGroup(f, rb.resval.rreal));
            break;
        default:
            break;
        }
    };
    readSubclass(f, take);
    f->atSubclassData(L"AcDbArc");
    readSubclass(f, take);
    m_center = ocsToWcs(m_normal, ocsCenter);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbEntity::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbCircle");
    if (m_thickness != 0.0)
        f->writeDouble(AcDb::kDxfThickness, m_thickness);
    f->writePoint3d(AcDb::kDxfXCoord, wcsToOcs(m_normal, m_center));
    f->writeDouble(AcDb::kDxfReal, m_radius);
    if (!isWorldZ(m_normal))
        f->writeVector3d(AcDb::kDxfNormalX, m_normal);
    f->writeString(AcDb::kDxfSubclass, L"AcDbArc");
    writeAngleGroup(f, 50, m_startAngle);
    writeAngleGroup(f, 51, m_endAngle);
    return f->filerStatus();
}

// ---- AcDbEllipse --------------------------------------------------------------------------------

AcDbEllipse::AcDbEllipse() = default;
AcDbEllipse::AcDbEllipse(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
                         const AcGeVector3d& majorAxis, double radiusRatio, double startAngle,
                         double endAngle) {
    m_center = center;
    if (!unitNormal.isZeroLength())
        m_normal = unitNormal.normal();
    m_major = majorAxis;
    m_ratio = radiusRatio;
    m_startParam = paramAtAngle(startAngle);
    m_endParam = paramAtAngle(endAngle);
    if (m_endParam <= m_startParam + kAngleEps)
        m_endParam += kEntTwoPi;
    if (m_endParam > kEntTwoPi + kAngleEps)
        m_endParam -= kEntTwoPi;
}

AcGeVector3d AcDbEllipse::minorAxis() const {
    return m_normal.crossProduct(m_major) * m_ratio;
}

Acad::ErrorStatus AcDbEllipse::setCenter(const AcGePoint3d& c) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_center = c;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEllipse::setMajorRadius(double r) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!(r > 0.0) || r < minorRadius())
        return Acad::eInvalidInput;
    double minor = minorRadius();
    m_major = m_major.normal() * r;
    m_ratio = minor / r;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEllipse::setMinorRadius(double r) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!(r > 0.0) || r > majorRadius())
        return Acad::eInvalidInput;
    m_ratio = r / majorRadius();
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEllipse::setRadiusRatio(double ratio) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!(ratio > 0.0) || ratio > 1.0)
        return Acad::eInvalidInput;
    m_ratio = ratio;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEllipse::setStartAngle(double a) {
    return setStartParam(paramAtAngle(a));
}
Acad::ErrorStatus AcDbEllipse::setEndAngle(double a) {
    return setEndParam(paramAtAngle(a));
}
Acad::ErrorStatus AcDbEllipse::setStartParam(double p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_startParam = normalizeAngle(p);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEllipse::setEndParam(double p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    double e = normalizeAngle(p);
    m_endParam = e <= kAngleEps && p > kAngleEps ? kEntTwoPi : e;
    return Acad::eOk;
}

double AcDbEllipse::paramAtAngle(double angle) const {
    double p = normalizeAngle(std::atan2(std::sin(angle), m_ratio * std::cos(angle)));
    if (p <= kAngleEps && angle > kEntTwoPi - 1e-9)
        return kEntTwoPi;
    return p;
}

double AcDbEllipse::angleAtParam(double param) const {
    double a = normalizeAngle(std::atan2(m_ratio * std::sin(param), std::cos(param)));
    if (a <= kAngleEps && param > kEntTwoPi - 1e-9)
        return kEntTwoPi;
    return a;
}

Acad::ErrorStatus AcDbEllipse::get(AcGePoint3d& center, AcGeVector3d& unitNormal,
                                   AcGeVector3d& majorAxis, double& radiusRatio, double& startAngle,
                                   double& endAngle) const {
    center = m_center;
    unitNormal = m_normal;
    majorAxis = m_major;
    radiusRatio = m_ratio;
    startAngle = this->startAngle();
    endAngle = this->endAngle();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::set(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
                                   const AcGeVector3d& majorAxis, double radiusRatio,
                                   double startAngle, double endAngle) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (unitNormal.isZeroLength() || majorAxis.isZeroLength() || !(radiusRatio > 0.0) ||
        radiusRatio > 1.0 || !unitNormal.isPerpendicularTo(majorAxis))
        return Acad::eInvalidInput;
    m_center = center;
    m_normal = unitNormal.normal();
    m_major = majorAxis;
    m_ratio = radiusRatio;
    m_startParam = paramAtAngle(startAngle);
    double e = paramAtAngle(endAngle);
    if (e <= m_startParam + kAngleEps && std::fabs(endAngle - startAngle) > kAngleEps)
        e += kEntTwoPi;
    if (e > kEntTwoPi + kAngleEps)
        e -= kEntTwoPi;
    m_endParam = e;
    return Acad::eOk;
}

namespace {
double ellipseSpan(double s, double e) {
    double span = e - s;
    if (span <= kAngleEps)
        span += kEntTwoPi;
    return span;
}
} // namespace

bool AcDbEllipse::isClosed() const {
    return std::fabs(ellipseSpan(m_startParam, m_endParam) - kEntTwoPi) < 1e-9;
}

Acad::ErrorStatus AcDbEllipse::getStartParam(double& param) const {
    param = m_startParam;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEllipse::getEndParam(double& param) const {
    param = m_startParam + ellipseSpan(m_startParam, m_endParam);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEllipse::getPointAtParam(double param, AcGePoint3d& point) const {
    point = m_center + m_major * std::cos(param) + minorAxis() * std::sin(param);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEllipse::getStartPoint(AcGePoint3d& p) const {
    return getPointAtParam(m_startParam, p);
}
Acad::ErrorStatus AcDbEllipse::getEndPoint(AcGePoint3d& p) const {
    return getPointAtParam(m_startParam + ellipseSpan(m_startParam, m_endParam), p);
}

bool AcDbEllipse::getKhostPath(CurvePath& path) const {
    const int n = 512;
    double s = m_startParam, span = ellipseSpan(m_startParam, m_endParam);
    AcGePoint3d prev;
    getPointAtParam(s, prev);
    for (int i = 1; i <= n; ++i) {
        double t0 = s + span * (i - 1) / n, t1 = s + span * i / n;
        AcGePoint3d q;
        getPointAtParam(t1, q);
        path.addLine(prev, q, t0, t1);
        prev = q;
    }
    return true;
}

Acad::ErrorStatus AcDbEllipse::reverseCurve() {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    double span = ellipseSpan(m_startParam, m_endParam);
    double s = normalizeAngle(-(m_startParam + span));
    m_normal = -m_normal;
    m_startParam = s;
    m_endParam = s + span;
    if (m_endParam > kEntTwoPi + kAngleEps)
        m_endParam -= kEntTwoPi;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::transformBy(const AcGeMatrix3d& xform) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!isUniformlyScaled(xform))
        return Acad::eCannotScaleNonUniformly;
    m_center.transformBy(xform);
    m_major = xform * m_major;
    m_normal = transformNormal(xform, m_normal);
    if (isMirroring(xform)) {
        // The minor axis turned against the new normal: parameters run the other way.
        double span = ellipseSpan(m_startParam, m_endParam);
        double s = normalizeAngle(-(m_startParam + span));
        m_startParam = s;
        m_endParam = s + span;
        if (m_endParam > kEntTwoPi + kAngleEps)
            m_endParam -= kEntTwoPi;
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbEllipse");
    return readSubclass(f, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 10:
            m_center = rbPoint(rb);
            break;
        case 11:
            m_major = rbVector(rb);
            break;
        case 210:
            if (!rbVector(rb).isZeroLength())
                m_normal = rbVector(rb).normal();
            break;
        case 40:
            m_ratio = rb.resval.rreal;
            break;
        case 41:
            m_startParam = rb.resval.rreal;
            break;
        case 42:
            m_endParam = rb.resval.rreal;
            break;
        default:
            break;
        }
    });
}

Acad::ErrorStatus AcDbEllipse::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbEntity::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbEllipse");
    f->writePoint3d(AcDb::kDxfXCoord, m_center);
    f->writeVector3d(code(11), m_major);
    f->writeVector3d(AcDb::kDxfNormalX, m_normal);
    f->writeDouble(AcDb::kDxfReal, m_ratio);
    f->writeDouble(code(41), m_startParam);
    f->writeDouble(code(42), m_endParam);
    return f->filerStatus();
}

// ---- AcDbSpline ---------------------------------------------------------------------------------

AcDbSpline::AcDbSpline() = default;

AcDbSpline::AcDbSpline(const AcGePoint3dArray& fitPoints, int order, double fitTolerance)
    : m_degree(order - 1), m_fit(fitPoints), m_fitTol(fitTolerance) {}

AcDbSpline::AcDbSpline(const AcGePoint3dArray& fitPoints, const AcGeVector3d& startTangent,
                       const AcGeVector3d& endTangent, int order, double fitTolerance)
    : m_degree(order - 1), m_fit(fitPoints), m_startTangent(startTangent), m_endTangent(endTangent),
      m_fitTol(fitTolerance) {}

AcDbSpline::AcDbSpline(int degree, bool rational, bool closed, bool periodic,
                       const AcGePoint3dArray& controlPoints, const AcGeDoubleArray& knots,
                       const AcGeDoubleArray& weights, double controlPtTol, double knotTol) {
    setNurbsData(degree, rational, closed, periodic, controlPoints, knots, weights, controlPtTol,
                 knotTol);
}

Acad::ErrorStatus AcDbSpline::setDegree(int degree) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (degree < 1 || degree > 25 || (hasControlData() && degree < m_degree))
        return Acad::eInvalidInput;
    if (hasControlData() && degree != m_degree)
        return Acad::eNotImplementedYet; // degree elevation of the control data
    m_degree = degree;
    return Acad::eOk;
}

bool AcDbSpline::isPlanar() const {
    return (m_flags & 8) != 0;
}

bool AcDbSpline::hasControlData() const {
    return m_ctrl.length() > m_degree && m_knots.length() == m_ctrl.length() + m_degree + 1;
}

Acad::ErrorStatus AcDbSpline::getControlPointAt(int index, AcGePoint3d& point) const {
    if (index < 0 || index >= m_ctrl.length())
        return Acad::eInvalidIndex;
    point = m_ctrl[index];
    return Acad::eOk;
}
Acad::ErrorStatus AcDbSpline::setControlPointAt(int index, const AcGePoint3d& point) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (index < 0 || index >= m_ctrl.length())
        return Acad::eInvalidIndex;
    m_ctrl[index] = point;
    return Acad::eOk;
}
double AcDbSpline::weightAt(int index) const {
    if (index < 0 || index >= m_weights.length())
        return 1.0;
    return m_weights[index];
}
Acad::ErrorStatus AcDbSpline::setWeightAt(int index, double weight) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (index < 0 || index >= m_ctrl.length())
        return Acad::eInvalidIndex;
    if (!(weight > 0.0))
        return Acad::eInvalidInput;
    if (m_weights.length() != m_ctrl.length()) {
        m_weights.setLogicalLength(m_ctrl.length());
        m_weights.setAll(1.0);
    }
    m_weights[index] = weight;
    m_flags |= 4;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getNurbsData(int& degree, bool& rational, bool& closed,
                                           bool& periodic, AcGePoint3dArray& controlPoints,
                                           AcGeDoubleArray& knots, AcGeDoubleArray& weights,
                                           double& controlPtTol, double& knotTol) const {
    degree = m_degree;
    rational = isRational();
    closed = isClosed();
    periodic = isPeriodic();
    controlPoints = m_ctrl;
    knots = m_knots;
    weights = m_weights;
    controlPtTol = m_ctrlTol;
    knotTol = m_knotTol;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::setNurbsData(int degree, bool rational, bool closed, bool periodic,
                                           const AcGePoint3dArray& controlPoints,
                                           const AcGeDoubleArray& knots,
                                           const AcGeDoubleArray& weights, double controlPtTol,
                                           double knotTol) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (degree < 1 || controlPoints.length() <= degree ||
        knots.length() != controlPoints.length() + degree + 1 ||
        (!weights.isEmpty() && weights.length() != controlPoints.length()))
        return Acad::eInvalidInput;
    for (int i = 1; i < knots.length(); ++i)
        if (knots[i] < knots[i - 1])
            return Acad::eInvalidInput;
    m_degree = degree;
    m_ctrl = controlPoints;
    m_knots = knots;
    m_weights = rational ? weights : AcGeDoubleArray();
    m_ctrlTol = controlPtTol;
    m_knotTol = knotTol;
    m_flags = static_cast<Adesk::Int16>((m_flags & 8) | (closed ? 1 : 0) | (periodic ? 2 : 0) |
                                        (rational && !weights.isEmpty() ? 4 : 0));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getFitPointAt(int index, AcGePoint3d& point) const {
    if (index < 0 || index >= m_fit.length())
        return Acad::eInvalidIndex;
    point = m_fit[index];
    return Acad::eOk;
}
Acad::ErrorStatus AcDbSpline::setFitPointAt(int index, const AcGePoint3d& point) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (index < 0 || index >= m_fit.length())
        return Acad::eInvalidIndex;
    m_fit[index] = point;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbSpline::getFitData(AcGePoint3dArray& fitPoints, int& degree,
                                         double& fitTolerance, bool& tangentsExist,
                                         AcGeVector3d& startTangent,
                                         AcGeVector3d& endTangent) const {
    if (m_fit.isEmpty())
        return Acad::eNotApplicable;
    fitPoints = m_fit;
    degree = m_degree;
    fitTolerance = m_fitTol;
    tangentsExist = !m_startTangent.isZeroLength() || !m_endTangent.isZeroLength();
    startTangent = m_startTangent;
    endTangent = m_endTangent;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbSpline::setFitData(const AcGePoint3dArray& fitPoints, int degree,
                                         double fitTolerance, const AcGeVector3d& startTangent,
                                         const AcGeVector3d& endTangent) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (fitPoints.length() < 2 || degree < 1)
        return Acad::eInvalidInput;
    m_fit = fitPoints;
    m_degree = degree;
    m_fitTol = fitTolerance;
    m_startTangent = startTangent;
    m_endTangent = endTangent;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbSpline::getFitTol(double& tol) const {
    if (m_fit.isEmpty())
        return Acad::eNotApplicable;
    tol = m_fitTol;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbSpline::setFitTol(double tol) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (tol < 0.0)
        return Acad::eInvalidInput;
    m_fitTol = tol;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbSpline::getFitTangents(AcGeVector3d& startTangent,
                                             AcGeVector3d& endTangent) const {
    if (m_fit.isEmpty())
        return Acad::eNotApplicable;
    startTangent = m_startTangent;
    endTangent = m_endTangent;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbSpline::setFitTangents(const AcGeVector3d& startTangent,
                                             const AcGeVector3d& endTangent) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_startTangent = startTangent;
    m_endTangent = endTangent;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbSpline::purgeFitData() {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!hasControlData())
        return Acad::eNotApplicable;
    m_fit.removeAll();
    m_startTangent = m_endTangent = AcGeVector3d();
    return Acad::eOk;
}

AcGePoint3d AcDbSpline::evaluate(double t) const {
    const int p = m_degree, n = m_ctrl.length();
    const bool rational = m_weights.length() == n;
    int k = p;
    while (k < n - 1 && m_knots[k + 1] <= t)
        ++k;
    // de Boor in homogeneous coordinates.
    std::vector<double> dx(p + 1), dy(p + 1), dz(p + 1), dw(p + 1);
    for (int j = 0; j <= p; ++j) {
        const AcGePoint3d& c = m_ctrl[j + k - p];
        double w = rational ? m_weights[j + k - p] : 1.0;
        dx[j] = c.x * w;
        dy[j] = c.y * w;
        dz[j] = c.z * w;
        dw[j] = w;
    }
    for (int r = 1; r <= p; ++r)
        for (int j = p; j >= r; --j) {
            double den = m_knots[j + 1 + k - r] - m_knots[j + k - p];
            double a = den == 0.0 ? 0.0 : (t - m_knots[j + k - p]) / den;
            dx[j] = (1.0 - a) * dx[j - 1] + a * dx[j];
            dy[j] = (1.0 - a) * dy[j - 1] + a * dy[j];
            dz[j] = (1.0 - a) * dz[j - 1] + a * dz[j];
            dw[j] = (1.0 - a) * dw[j - 1] + a * dw[j];
        }
    double w = dw[p] == 0.0 ? 1.0 : dw[p];
    return AcGePoint3d(dx[p] / w, dy[p] / w, dz[p] / w);
}

Acad::ErrorStatus AcDbSpline::getStartParam(double& param) const {
    if (!hasControlData())
        return m_fit.isEmpty() ? Acad::eDegenerateGeometry : Acad::eNotImplementedYet;
    param = m_knots[m_degree];
    return Acad::eOk;
}
Acad::ErrorStatus AcDbSpline::getEndParam(double& param) const {
    if (!hasControlData())
        return m_fit.isEmpty() ? Acad::eDegenerateGeometry : Acad::eNotImplementedYet;
    param = m_knots[m_ctrl.length()];
    return Acad::eOk;
}
Acad::ErrorStatus AcDbSpline::getPointAtParam(double param, AcGePoint3d& point) const {
    if (!hasControlData())
        return m_fit.isEmpty() ? Acad::eDegenerateGeometry : Acad::eNotImplementedYet;
    double s = m_knots[m_degree], e = m_knots[m_ctrl.length()];
    double tol = 1e-9 * std::max(1.0, std::fabs(e - s));
    if (param < s - tol || param > e + tol)
        return Acad::eInvalidInput;
    point = evaluate(std::clamp(param, s, e));
    return Acad::eOk;
}
Acad::ErrorStatus AcDbSpline::getStartPoint(AcGePoint3d& p) const {
    if (!hasControlData() && !m_fit.isEmpty()) {
        p = m_fit.first();
        return Acad::eOk;
    }
    double s = 0.0;
    Acad::ErrorStatus es = getStartParam(s);
    return es == Acad::eOk ? getPointAtParam(s, p) : es;
}
Acad::ErrorStatus AcDbSpline::getEndPoint(AcGePoint3d& p) const {
    if (!hasControlData() && !m_fit.isEmpty()) {
        p = m_fit.last();
        return Acad::eOk;
    }
    double e = 0.0;
    Acad::ErrorStatus es = getEndParam(e);
    return es == Acad::eOk ? getPointAtParam(e, p) : es;
}

bool AcDbSpline::getKhostPath(CurvePath& path) const {
    if (!hasControlData())
        return false;
    double s = m_knots[m_degree], e = m_knots[m_ctrl.length()];
    const int n = 64 * std::max(1, m_ctrl.length() - m_degree);
    AcGePoint3d prev = evaluate(s);
    for (int i = 1; i <= n; ++i) {
        double t0 = s + (e - s) * (i - 1) / n, t1 = s + (e - s) * i / n;
        AcGePoint3d q = evaluate(t1);
        path.addLine(prev, q, t0, t1);
        prev = q;
    }
    return true;
}

Acad::ErrorStatus AcDbSpline::reverseCurve() {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_ctrl.reverse();
    m_weights.reverse();
    m_fit.reverse();
    if (!m_knots.isEmpty()) {
        double a = m_knots.first(), b = m_knots.last();
        AcGeDoubleArray k = m_knots;
        for (int i = 0; i < k.length(); ++i)
            m_knots[i] = a + b - k[k.length() - 1 - i];
    }
    AcGeVector3d s = m_startTangent;
    m_startTangent = -m_endTangent;
    m_endTangent = -s;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::transformBy(const AcGeMatrix3d& xform) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    for (AcGePoint3d& p : m_ctrl)
        p.transformBy(xform);
    for (AcGePoint3d& p : m_fit)
        p.transformBy(xform);
    m_startTangent = xform * m_startTangent;
    m_endTangent = xform * m_endTangent;
    m_normal = transformNormal(xform, m_normal);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbSpline");
    m_ctrl.removeAll();
    m_knots.removeAll();
    m_weights.removeAll();
    m_fit.removeAll();
    return readSubclass(f, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 210:
            if (!rbVector(rb).isZeroLength())
                m_normal = rbVector(rb).normal();
            break;
        case 70:
            m_flags = rb.resval.rint;
            break;
        case 71:
            m_degree = rb.resval.rint;
            break;
        case 42:
            m_knotTol = rb.resval.rreal;
            break;
        case 43:
            m_ctrlTol = rb.resval.rreal;
            break;
        case 44:
            m_fitTol = rb.resval.rreal;
            break;
        case 12:
            m_startTangent = rbVector(rb);
            break;
        case 13:
            m_endTangent = rbVector(rb);
            break;
        case 40:
            m_knots.append(rb.resval.rreal);
            break;
        case 41:
            m_weights.append(rb.resval.rreal);
            break;
        case 10:
            m_ctrl.append(rbPoint(rb));
            break;
        case 11:
            m_fit.append(rbPoint(rb));
            break;
        default:
            break;
        }
    });
}

Acad::ErrorStatus AcDbSpline::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbEntity::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbSpline");
    if (isPlanar())
        f->writeVector3d(AcDb::kDxfNormalX, m_normal);
    f->writeInt16(AcDb::kDxfInt16, m_flags);
    f->writeInt16(code(71), static_cast<Adesk::Int16>(m_degree));
    f->writeInt16(code(72), static_cast<Adesk::Int16>(m_knots.length()));
    f->writeInt16(code(73), static_cast<Adesk::Int16>(m_ctrl.length()));
    f->writeInt16(code(74), static_cast<Adesk::Int16>(m_fit.length()));
    f->writeDouble(code(42), m_knotTol);
    f->writeDouble(code(43), m_ctrlTol);
    if (!m_fit.isEmpty())
        f->writeDouble(code(44), m_fitTol);
    if (!m_fit.isEmpty() && !m_startTangent.isZeroLength())
        f->writeVector3d(code(12), m_startTangent);
    if (!m_fit.isEmpty() && !m_endTangent.isZeroLength())
        f->writeVector3d(code(13), m_endTangent);
    for (double k : m_knots)
        f->writeDouble(code(40), k);
    if (isRational())
        for (double w : m_weights)
            f->writeDouble(code(41), w);
    for (const AcGePoint3d& p : m_ctrl)
        f->writePoint3d(AcDb::kDxfXCoord, p);
    for (const AcGePoint3d& p : m_fit)
        f->writePoint3d(code(11), p);
    return f->filerStatus();
}

// ---- AcDbRay and AcDbXline ----------------------------------------------------------------------

namespace {
Acad::ErrorStatus unitDirection(const AcGeVector3d& v, AcGeVector3d& out) {
    if (v.isZeroLength())
        return Acad::eInvalidInput;
    out = v.normal();
    return Acad::eOk;
}

// A base point and a unit direction, as rays and construction lines keep them.
Acad::ErrorStatus transformLine(const AcDbEntity* e, AcGePoint3d& base, AcGeVector3d& dir,
                                const AcGeMatrix3d& xform) {
    if (!e->isWriteEnabled())
        return Acad::eNotOpenForWrite;
    AcGeVector3d d = xform * dir;
    if (d.isZeroLength())
        return Acad::eDegenerateGeometry;
    base.transformBy(xform);
    dir = d.normal();
    return Acad::eOk;
}

Acad::ErrorStatus readLineFields(AcDbEntity* e, AcDbDxfFiler* f, const ACHAR* subclass,
                                 AcGePoint3d& base, AcGeVector3d& dir) {
    Acad::ErrorStatus es = e->AcDbEntity::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(subclass);
    return readSubclass(f, [&](const resbuf& rb) {
        if (rb.restype == 10)
            base = rbPoint(rb);
        else if (rb.restype == 11 && !rbVector(rb).isZeroLength())
            dir = rbVector(rb).normal();
    });
}

Acad::ErrorStatus writeLineFields(const AcDbEntity* e, AcDbDxfFiler* f, const ACHAR* subclass,
                                  const AcGePoint3d& base, const AcGeVector3d& dir) {
    e->AcDbEntity::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, subclass);
    f->writePoint3d(AcDb::kDxfXCoord, base);
    f->writeVector3d(code(11), dir);
    return f->filerStatus();
}
} // namespace

AcDbRay::AcDbRay() = default;

Acad::ErrorStatus AcDbRay::setBasePoint(const AcGePoint3d& p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_base = p;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbRay::setUnitDir(const AcGeVector3d& v) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    return unitDirection(v, m_dir);
}
Acad::ErrorStatus AcDbRay::setSecondPoint(const AcGePoint3d& p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    return unitDirection(p - m_base, m_dir);
}
Acad::ErrorStatus AcDbRay::getStartParam(double& param) const {
    param = 0.0;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbRay::getEndParam(double&) const {
    return Acad::eNotApplicable;
}
Acad::ErrorStatus AcDbRay::getStartPoint(AcGePoint3d& p) const {
    p = m_base;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbRay::getEndPoint(AcGePoint3d&) const {
    return Acad::eNotApplicable;
}
Acad::ErrorStatus AcDbRay::getPointAtParam(double param, AcGePoint3d& point) const {
    if (param < -1e-12)
        return Acad::eInvalidInput;
    point = m_base + m_dir * param;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbRay::getParamAtPoint(const AcGePoint3d& point, double& param) const {
    double t = (point - m_base).dotProduct(m_dir);
    if (t < -1e-10 || !(m_base + m_dir * t).isEqualTo(point))
        return Acad::eInvalidInput;
    param = std::max(t, 0.0);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbRay::getClosestPointTo(const AcGePoint3d& givenPnt, AcGePoint3d& pointOnCurve,
                                             bool extend) const {
    double t = (givenPnt - m_base).dotProduct(m_dir);
    if (!extend)
        t = std::max(t, 0.0);
    pointOnCurve = m_base + m_dir * t;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbRay::reverseCurve() {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    return Acad::eNotApplicable;
}
Acad::ErrorStatus AcDbRay::transformBy(const AcGeMatrix3d& xform) {
    return transformLine(this, m_base, m_dir, xform);
}
Acad::ErrorStatus AcDbRay::dxfInFields(AcDbDxfFiler* f) {
    return readLineFields(this, f, L"AcDbRay", m_base, m_dir);
}
Acad::ErrorStatus AcDbRay::dxfOutFields(AcDbDxfFiler* f) const {
    return writeLineFields(this, f, L"AcDbRay", m_base, m_dir);
}

AcDbXline::AcDbXline() = default;

Acad::ErrorStatus AcDbXline::setBasePoint(const AcGePoint3d& p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_base = p;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbXline::setUnitDir(const AcGeVector3d& v) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    return unitDirection(v, m_dir);
}
Acad::ErrorStatus AcDbXline::setSecondPoint(const AcGePoint3d& p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    return unitDirection(p - m_base, m_dir);
}
Acad::ErrorStatus AcDbXline::getStartPoint(AcGePoint3d&) const {
    return Acad::eNotApplicable;
}
Acad::ErrorStatus AcDbXline::getEndPoint(AcGePoint3d&) const {
    return Acad::eNotApplicable;
}
Acad::ErrorStatus AcDbXline::getPointAtParam(double param, AcGePoint3d& point) const {
    point = m_base + m_dir * param;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbXline::getParamAtPoint(const AcGePoint3d& point, double& param) const {
    double t = (point - m_base).dotProduct(m_dir);
    if (!(m_base + m_dir * t).isEqualTo(point))
        return Acad::eInvalidInput;
    param = t;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbXline::getClosestPointTo(const AcGePoint3d& givenPnt,
                                               AcGePoint3d& pointOnCurve, bool) const {
    pointOnCurve = m_base + m_dir * (givenPnt - m_base).dotProduct(m_dir);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbXline::reverseCurve() {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_dir = -m_dir;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbXline::transformBy(const AcGeMatrix3d& xform) {
    return transformLine(this, m_base, m_dir, xform);
}
Acad::ErrorStatus AcDbXline::dxfInFields(AcDbDxfFiler* f) {
    return readLineFields(this, f, L"AcDbXline", m_base, m_dir);
}
Acad::ErrorStatus AcDbXline::dxfOutFields(AcDbDxfFiler* f) const {
    return writeLineFields(this, f, L"AcDbXline", m_base, m_dir);
}

// ---- AcDbPoint ----------------------------------------------------------------------------------

AcDbPoint::AcDbPoint() = default;
AcDbPoint::AcDbPoint(const AcGePoint3d& position) : m_position(position) {}

Acad::ErrorStatus AcDbPoint::setPosition(const AcGePoint3d& p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_position = p;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbPoint::setThickness(double t) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_thickness = t;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbPoint::setNormal(const AcGeVector3d& n) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (n.isZeroLength())
        return Acad::eInvalidInput;
    m_normal = n.normal();
    return Acad::eOk;
}
Acad::ErrorStatus AcDbPoint::setEcsRotation(double a) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_ecsRotation = a;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbPoint::transformBy(const AcGeMatrix3d& xform) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_position.transformBy(xform);
    m_normal = transformNormal(xform, m_normal);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbPoint::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbPoint");
    return readSubclass(f, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 10:
            m_position = rbPoint(rb);
            break;
        case 39:
            m_thickness = rb.resval.rreal;
            break;
        case 210:
            if (!rbVector(rb).isZeroLength())
                m_normal = rbVector(rb).normal();
            break;
        case 50:
            m_ecsRotation = readAngleGroup(f, rb.resval.rreal);
            break;
        default:
            break;
        }
    });
}
Acad::ErrorStatus AcDbPoint::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbEntity::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbPoint");
    f->writePoint3d(AcDb::kDxfXCoord, m_position);
    if (m_thickness != 0.0)
        f->writeDouble(AcDb::kDxfThickness, m_thickness);
    if (!isWorldZ(m_normal))
        f->writeVector3d(AcDb::kDxfNormalX, m_normal);
    if (m_ecsRotation != 0.0)
        writeAngleGroup(f, 50, m_ecsRotation);
    return f->filerStatus();
}
