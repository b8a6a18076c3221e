// Circular arcs of the plane and of space.
#include "gearc2d.h"
#include "gearc3d.h"
#include "geintern.h"
#include "geline2d.h"
#include "gelent3d.h"
#include "geplane.h"

#include <algorithm>
#include <cmath>

using khost::ge::kPi;
using khost::ge::kTwoPi;
using khost::ge::normalizeAngle;

namespace {

// The end angle raised by whole turns until it is not below the start angle.
double raiseEnd(double startAng, double endAng) {
    if (endAng < startAng)
        endAng = startAng + normalizeAngle(endAng - startAng);
    return endAng;
}

// The parameters (along the line's own vector) where a line meets a circle in its plane.
int lineCircleParams(const AcGeVector2d& w, const AcGeVector2d& d, double r, double tolPt,
                     double t[2]) {
    // |w + t d|^2 = r^2, w = linePoint - centre.
    double a = d.dotProduct(d);
    if (a == 0.0)
        return 0;
    double tm = -w.dotProduct(d) / a;
    double dist = (w + d * tm).length();
    if (dist > r + tolPt)
        return 0;
    if (std::fabs(dist - r) <= tolPt) {
        t[0] = tm;
        return 1;
    }
    double h = std::sqrt(std::max(0.0, r * r - dist * dist) / a);
    t[0] = tm - h;
    t[1] = tm + h;
    return 2;
}

} // namespace

// ---- AcGeCircArc2d ---------------------------------------------------------------------------

AcGeCircArc2d::AcGeCircArc2d(const AcGePoint2d& cent, double radius) {
    set(cent, radius);
}

AcGeCircArc2d::AcGeCircArc2d(const AcGePoint2d& cent, double radius, double startAngle,
                             double endAngle, const AcGeVector2d& refVec, bool isClockWise) {
    set(cent, radius, startAngle, endAngle, refVec, isClockWise);
}

AcGeCircArc2d::AcGeCircArc2d(const AcGePoint2d& startPoint, const AcGePoint2d& point,
                             const AcGePoint2d& endPoint) {
    set(startPoint, point, endPoint);
}

AcGeCircArc2d::AcGeCircArc2d(const AcGePoint2d& startPoint, const AcGePoint2d& endPoint,
                             double bulge, bool bulgeFlag) {
    set(startPoint, endPoint, bulge, bulgeFlag);
}

double AcGeCircArc2d::angleOfDir(const AcGeVector2d& dir) const {
    double a = m_refVec.angleTo(dir);
    return m_clockWise ? normalizeAngle(-a) : a;
}

bool AcGeCircArc2d::coversAngle(double ang, double angTol) const {
    double sweep = m_endAng - m_startAng;
    if (sweep >= kTwoPi - angTol)
        return true;
    double rel = normalizeAngle(ang - m_startAng);
    return rel <= sweep + angTol || rel >= kTwoPi - angTol;
}

bool AcGeCircArc2d::intersectWith(const AcGeLinearEnt2d& line, int& intn, AcGePoint2d& p1,
                                  AcGePoint2d& p2, const AcGeTol& tol) const {
    intn = 0;
    AcGeVector2d d = line.evalPoint(1.0) - line.pointOnLine();
    double t[2];
    int n = lineCircleParams(line.pointOnLine() - m_center, d, m_radius, tol.equalPoint(), t);
    for (int i = 0; i < n; ++i) {
        AcGePoint2d p = line.evalPoint(t[i]);
        if (!line.isOn(p, tol) || !isOn(p, tol))
            continue;
        (intn == 0 ? p1 : p2) = p;
        ++intn;
    }
    return intn > 0;
}

bool AcGeCircArc2d::intersectWith(const AcGeCircArc2d& arc, int& intn, AcGePoint2d& p1,
                                  AcGePoint2d& p2, const AcGeTol& tol) const {
    intn = 0;
    AcGeVector2d cc = arc.m_center - m_center;
    double d = cc.length();
    double r1 = m_radius, r2 = arc.m_radius;
    if (d <= tol.equalPoint() || d > r1 + r2 + tol.equalPoint() ||
        d < std::fabs(r1 - r2) - tol.equalPoint())
        return false;
    double a = (r1 * r1 - r2 * r2 + d * d) / (2.0 * d);
    double h = std::sqrt(std::max(0.0, r1 * r1 - a * a));
    AcGeVector2d u = cc / d;
    AcGePoint2d base = m_center + u * a;
    AcGePoint2d cand[2] = {base + u.perpVector() * h, base - u.perpVector() * h};
    int n = (h <= tol.equalPoint()) ? 1 : 2;
    if (n == 1)
        cand[0] = base;
    for (int i = 0; i < n; ++i) {
        if (!isOn(cand[i], tol) || !arc.isOn(cand[i], tol))
            continue;
        (intn == 0 ? p1 : p2) = cand[i];
        ++intn;
    }
    return intn > 0;
}

bool AcGeCircArc2d::tangent(const AcGePoint2d& pnt, AcGeLine2d& line, const AcGeTol& tol) const {
    if (!isOn(pnt, tol))
        return false;
    AcGeVector2d radial = pnt - m_center;
    AcGeVector2d dir = radial.perpVector();
    if (m_clockWise)
        dir.negate();
    line.set(pnt, dir.normal());
    return true;
}

bool AcGeCircArc2d::isInside(const AcGePoint2d& pnt, const AcGeTol& tol) const {
    return pnt.distanceTo(m_center) < m_radius - tol.equalPoint();
}

AcGeCircArc2d& AcGeCircArc2d::setCenter(const AcGePoint2d& cent) {
    m_center = cent;
    return *this;
}

AcGeCircArc2d& AcGeCircArc2d::setRadius(double radius) {
    m_radius = radius;
    return *this;
}

AcGeCircArc2d& AcGeCircArc2d::setAngles(double startAng, double endAng) {
    m_startAng = startAng;
    m_endAng = raiseEnd(startAng, endAng);
    return *this;
}

AcGeCircArc2d& AcGeCircArc2d::setToComplement() {
    double sweep = m_endAng - m_startAng;
    double start = m_endAng;
    m_startAng = normalizeAngle(start);
    m_endAng = m_startAng + (kTwoPi - sweep);
    return *this;
}

AcGeCircArc2d& AcGeCircArc2d::setRefVec(const AcGeVector2d& vec) {
    m_refVec = vec.normal();
    return *this;
}

AcGeCircArc2d& AcGeCircArc2d::set(const AcGePoint2d& cent, double radius) {
    return set(cent, radius, 0.0, kTwoPi);
}

AcGeCircArc2d& AcGeCircArc2d::set(const AcGePoint2d& cent, double radius, double ang1, double ang2,
                                  const AcGeVector2d& refVec, bool isClockWise) {
    m_center = cent;
    m_radius = radius;
    m_refVec = refVec.normal();
    m_clockWise = isClockWise;
    return setAngles(ang1, ang2);
}

AcGeCircArc2d& AcGeCircArc2d::set(const AcGePoint2d& startPoint, const AcGePoint2d& pnt,
                                  const AcGePoint2d& endPoint) {
    AcGeVector2d b = pnt - startPoint, c = endPoint - startPoint;
    double d = 2.0 * b.crossProduct(c);
    m_refVec = AcGeVector2d::kXAxis;
    if (d == 0.0) {
        // Collinear points make no circle: a degenerate arc at the midpoint of the ends.
        m_center = startPoint + c * 0.5;
        m_radius = 0.0;
        m_clockWise = false;
        m_startAng = m_endAng = 0.0;
        return *this;
    }
    // Circumcentre relative to the start point.
    double bb = b.lengthSqrd(), cc = c.lengthSqrd();
    AcGeVector2d off((c.y * bb - b.y * cc) / d, (b.x * cc - c.x * bb) / d);
    m_center = startPoint + off;
    m_radius = off.length();
    // Through pnt from start to end: counterclockwise when pnt lies to the right of the chord.
    m_clockWise = b.crossProduct(c) < 0.0;
    double a0 = angleOfDir(startPoint - m_center);
    double a1 = angleOfDir(endPoint - m_center);
    m_startAng = a0;
    m_endAng = a0 + normalizeAngle(a1 - a0);
    return *this;
}

AcGeCircArc2d& AcGeCircArc2d::set(const AcGePoint2d& startPoint, const AcGePoint2d& endPoint,
                                  double bulge, bool bulgeFlag) {
    AcGeVector2d chord = endPoint - startPoint;
    double c = chord.length();
    m_refVec = AcGeVector2d::kXAxis;
    // The bulge as the tangent of a quarter of the included angle.
    double b = bulge;
    if (bulgeFlag)
        b = (c == 0.0) ? 0.0 : 2.0 * bulge / c;
    if (b == 0.0 || c == 0.0) {
        m_center = startPoint + chord * 0.5;
        m_radius = 0.0;
        m_clockWise = false;
        m_startAng = m_endAng = 0.0;
        return *this;
    }
    m_clockWise = b < 0.0;
    double theta = 4.0 * std::atan(std::fabs(b)); // included angle, (0, 2pi)
    m_radius = c / (2.0 * std::sin(0.5 * theta));
    // The centre lies on the chord's bisector, to the left of the chord for a counterclockwise
    // arc of less than half a turn.
    AcGeVector2d left = chord.perpVector() / c;
    if (m_clockWise)
        left.negate();
    double offset = m_radius * std::cos(0.5 * theta);
    m_center = startPoint + chord * 0.5 + left * offset;
    m_startAng = angleOfDir(startPoint - m_center);
    m_endAng = m_startAng + theta;
    return *this;
}

AcGePoint2d AcGeCircArc2d::closestPointTo(const AcGePoint2d& pnt, const AcGeTol& tol) const {
    AcGeVector2d v = pnt - m_center;
    if (m_radius == 0.0)
        return m_center;
    if (v.length() == 0.0)
        return startPoint();
    double a = angleOfDir(v);
    if (coversAngle(a, 0.0))
        return m_center + v * (m_radius / v.length());
    AcGePoint2d s = startPoint(), e = endPoint();
    return pnt.distanceTo(s) <= pnt.distanceTo(e) ? s : e;
}

double AcGeCircArc2d::paramOf(const AcGePoint2d& pnt, const AcGeTol&) const {
    AcGeVector2d v = pnt - m_center;
    if (v.length() == 0.0)
        return m_startAng;
    return m_startAng + normalizeAngle(angleOfDir(v) - m_startAng);
}

AcGePoint2d AcGeCircArc2d::evalPoint(double param) const {
    AcGeVector2d dir = m_refVec;
    dir.rotateBy(m_clockWise ? -param : param);
    return m_center + dir * m_radius;
}

AcGeCurve2d& AcGeCircArc2d::reverseParam() {
    // Same points, run the other way: measure angles the other way round.
    double start = -m_endAng, end = -m_startAng;
    m_clockWise = !m_clockWise;
    m_startAng = start;
    m_endAng = end;
    double shift = normalizeAngle(m_startAng) - m_startAng;
    m_startAng += shift;
    m_endAng += shift;
    return *this;
}

bool AcGeCircArc2d::hasStartPoint(AcGePoint2d& startPnt) const {
    if (m_endAng - m_startAng >= kTwoPi)
        return false;
    startPnt = startPoint();
    return true;
}

bool AcGeCircArc2d::hasEndPoint(AcGePoint2d& endPnt) const {
    if (m_endAng - m_startAng >= kTwoPi)
        return false;
    endPnt = endPoint();
    return true;
}

double AcGeCircArc2d::length(double fromParam, double toParam, double) const {
    return std::fabs(toParam - fromParam) * m_radius;
}

AcGeEntity2d& AcGeCircArc2d::transformBy(const AcGeMatrix2d& xfm) {
    AcGeVector2d ref = xfm * m_refVec;
    double scale = ref.length();
    m_center.transformBy(xfm);
    if (scale != 0.0) {
        m_radius *= scale;
        m_refVec = ref / scale;
    }
    if (xfm.det() < 0.0)
        m_clockWise = !m_clockWise;
    return *this;
}

// ---- AcGeCircArc3d ---------------------------------------------------------------------------

AcGeCircArc3d::AcGeCircArc3d(const AcGePoint3d& cent, const AcGeVector3d& nrm, double radius) {
    set(cent, nrm, radius);
}

AcGeCircArc3d::AcGeCircArc3d(const AcGePoint3d& cent, const AcGeVector3d& nrm,
                             const AcGeVector3d& refVec, double radius, double startAngle,
                             double endAngle) {
    set(cent, nrm, refVec, radius, startAngle, endAngle);
}

AcGeCircArc3d::AcGeCircArc3d(const AcGePoint3d& startPoint, const AcGePoint3d& pnt,
                             const AcGePoint3d& endPoint) {
    set(startPoint, pnt, endPoint);
}

bool AcGeCircArc3d::coversAngle(double ang, double angTol) const {
    double sweep = m_endAng - m_startAng;
    if (sweep >= kTwoPi - angTol)
        return true;
    double rel = normalizeAngle(ang - m_startAng);
    return rel <= sweep + angTol || rel >= kTwoPi - angTol;
}

bool AcGeCircArc3d::intersectWith(const AcGeLinearEnt3d& line, int& intn, AcGePoint3d& p1,
                                  AcGePoint3d& p2, const AcGeTol& tol) const {
    intn = 0;
    AcGePlane plane;
    getPlane(plane);
    AcGePoint3d a = line.pointOnLine(), b = line.evalPoint(1.0);
    if (!plane.isOn(a, tol) || !plane.isOn(b, tol)) {
        // A line crossing the plane meets the arc at most where it pierces the plane.
        AcGePoint3d p;
        if (plane.intersectWith(line, p, tol) && isOn(p, tol)) {
            p1 = p;
            intn = 1;
        }
        return intn > 0;
    }
    AcGeVector3d perp = m_normal.crossProduct(m_refVec);
    auto to2d = [&](const AcGeVector3d& v) {
        return AcGeVector2d(v.dotProduct(m_refVec), v.dotProduct(perp));
    };
    double t[2];
    int n = lineCircleParams(to2d(a - m_center), to2d(b - a), m_radius, tol.equalPoint(), t);
    for (int i = 0; i < n; ++i) {
        AcGePoint3d p = line.evalPoint(t[i]);
        if (!line.isOn(p, tol) || !isOn(p, tol))
            continue;
        (intn == 0 ? p1 : p2) = p;
        ++intn;
    }
    return intn > 0;
}

bool AcGeCircArc3d::isInside(const AcGePoint3d& pnt, const AcGeTol& tol) const {
    AcGePlane plane;
    getPlane(plane);
    return plane.isOn(pnt, tol) && pnt.distanceTo(m_center) < m_radius - tol.equalPoint();
}

void AcGeCircArc3d::getPlane(AcGePlane& plane) const {
    plane.set(m_center, m_refVec, m_normal.crossProduct(m_refVec));
}

AcGeCircArc3d& AcGeCircArc3d::setCenter(const AcGePoint3d& cent) {
    m_center = cent;
    return *this;
}

AcGeCircArc3d& AcGeCircArc3d::setAxes(const AcGeVector3d& normal, const AcGeVector3d& refVec) {
    m_normal = normal.length() == 0.0 ? AcGeVector3d::kZAxis : normal.normal();
    AcGeVector3d r = refVec.orthoProject(m_normal);
    if (r.length() == 0.0)
        r = m_normal.perpVector();
    m_refVec = r.normal();
    return *this;
}

AcGeCircArc3d& AcGeCircArc3d::setRadius(double radius) {
    m_radius = radius;
    return *this;
}

AcGeCircArc3d& AcGeCircArc3d::setAngles(double startAngle, double endAngle) {
    m_startAng = startAngle;
    m_endAng = raiseEnd(startAngle, endAngle);
    return *this;
}

AcGeCircArc3d& AcGeCircArc3d::set(const AcGePoint3d& cent, const AcGeVector3d& nrm, double radius) {
    return set(cent, nrm, nrm.perpVector(), radius, 0.0, kTwoPi);
}

AcGeCircArc3d& AcGeCircArc3d::set(const AcGePoint3d& cent, const AcGeVector3d& nrm,
                                  const AcGeVector3d& refVec, double radius, double startAngle,
                                  double endAngle) {
    m_center = cent;
    m_radius = radius;
    setAxes(nrm, refVec);
    return setAngles(startAngle, endAngle);
}

AcGeCircArc3d& AcGeCircArc3d::set(const AcGePoint3d& startPoint, const AcGePoint3d& pnt,
                                  const AcGePoint3d& endPoint) {
    AcGeVector3d b = pnt - startPoint, c = endPoint - startPoint;
    AcGeVector3d bc = b.crossProduct(c);
    double d = 2.0 * bc.lengthSqrd();
    if (d == 0.0) {
        // Collinear points make no circle: a degenerate arc at the midpoint of the ends.
        m_center = startPoint + c * 0.5;
        m_radius = 0.0;
        m_normal = AcGeVector3d::kZAxis;
        m_refVec = AcGeVector3d::kXAxis;
        m_startAng = m_endAng = 0.0;
        return *this;
    }
    // Circumcentre relative to the start point.
    AcGeVector3d off =
        (bc.crossProduct(b) * c.lengthSqrd() + c.crossProduct(bc) * b.lengthSqrd()) / d;
    m_center = startPoint + off;
    m_radius = off.length();
    m_normal = bc.normal();
    m_refVec = (startPoint - m_center).normal();
    m_startAng = 0.0;
    m_endAng = m_refVec.angleTo(endPoint - m_center, m_normal);
    if (m_endAng == 0.0)
        m_endAng = kTwoPi;
    return *this;
}

AcGePoint3d AcGeCircArc3d::closestPointTo(const AcGePoint3d& pnt, const AcGeTol&) const {
    if (m_radius == 0.0)
        return m_center;
    AcGeVector3d v = (pnt - m_center).orthoProject(m_normal);
    if (v.length() == 0.0)
        return startPoint();
    double a = m_refVec.angleTo(v, m_normal);
    if (coversAngle(a, 0.0))
        return m_center + v * (m_radius / v.length());
    AcGePoint3d s = startPoint(), e = endPoint();
    return pnt.distanceTo(s) <= pnt.distanceTo(e) ? s : e;
}

double AcGeCircArc3d::paramOf(const AcGePoint3d& pnt, const AcGeTol&) const {
    AcGeVector3d v = (pnt - m_center).orthoProject(m_normal);
    if (v.length() == 0.0)
        return m_startAng;
    double a = m_refVec.angleTo(v, m_normal);
    return m_startAng + normalizeAngle(a - m_startAng);
}

AcGePoint3d AcGeCircArc3d::evalPoint(double param) const {
    AcGeVector3d perp = m_normal.crossProduct(m_refVec);
    return m_center + (m_refVec * std::cos(param) + perp * std::sin(param)) * m_radius;
}

AcGeCurve3d& AcGeCircArc3d::reverseParam() {
    // Same points, run the other way: flip the normal and mirror the angles about refVec.
    m_normal.negate();
    double start = -m_endAng, end = -m_startAng;
    double shift = normalizeAngle(start) - start;
    m_startAng = start + shift;
    m_endAng = end + shift;
    return *this;
}

bool AcGeCircArc3d::hasStartPoint(AcGePoint3d& startPnt) const {
    if (m_endAng - m_startAng >= kTwoPi)
        return false;
    startPnt = startPoint();
    return true;
}

bool AcGeCircArc3d::hasEndPoint(AcGePoint3d& endPnt) const {
    if (m_endAng - m_startAng >= kTwoPi)
        return false;
    endPnt = endPoint();
    return true;
}

double AcGeCircArc3d::length(double fromParam, double toParam, double) const {
    return std::fabs(toParam - fromParam) * m_radius;
}

AcGeEntity3d& AcGeCircArc3d::transformBy(const AcGeMatrix3d& xfm) {
    AcGeVector3d perp = m_normal.crossProduct(m_refVec);
    AcGeVector3d ref = xfm * m_refVec;
    AcGeVector3d perpT = xfm * perp;
    m_center.transformBy(xfm);
    double scale = ref.length();
    if (scale == 0.0)
        return *this;
    m_radius *= scale;
    // The normal follows the images of the two in-plane axes, so a mirrored arc keeps running
    // through the mirrored points in the same order.
    AcGeVector3d n = ref.crossProduct(perpT);
    if (n.length() != 0.0)
        m_normal = n.normal();
    m_refVec = ref / scale;
    return *this;
}
