// Entities, curves, straight entities and planes.
#include "geline2d.h"
#include "gelnsg2d.h"
#include "geray2d.h"
#include "geline3d.h"
#include "gelnsg3d.h"
#include "geray3d.h"
#include "geplane.h"

#include <algorithm>
#include <cmath>

// ---- entities and curves ---------------------------------------------------------------------

AcGeEntity2d& AcGeEntity2d::translateBy(const AcGeVector2d& translateVec) {
    return transformBy(AcGeMatrix2d::translation(translateVec));
}

AcGeEntity2d& AcGeEntity2d::rotateBy(double angle, const AcGePoint2d& wrtPoint) {
    return transformBy(AcGeMatrix2d::rotation(angle, wrtPoint));
}

AcGeEntity2d& AcGeEntity2d::mirror(const AcGeLine2d& line) {
    return transformBy(AcGeMatrix2d::mirroring(line));
}

AcGeEntity2d& AcGeEntity2d::scaleBy(double scaleFactor, const AcGePoint2d& wrtPoint) {
    return transformBy(AcGeMatrix2d::scaling(scaleFactor, wrtPoint));
}

AcGeEntity3d& AcGeEntity3d::translateBy(const AcGeVector3d& translateVec) {
    return transformBy(AcGeMatrix3d::translation(translateVec));
}

AcGeEntity3d& AcGeEntity3d::rotateBy(double angle, const AcGeVector3d& vec,
                                     const AcGePoint3d& wrtPoint) {
    return transformBy(AcGeMatrix3d::rotation(angle, vec, wrtPoint));
}

AcGeEntity3d& AcGeEntity3d::mirror(const AcGePlane& plane) {
    return transformBy(AcGeMatrix3d::mirroring(plane));
}

AcGeEntity3d& AcGeEntity3d::scaleBy(double scaleFactor, const AcGePoint3d& wrtPoint) {
    return transformBy(AcGeMatrix3d::scaling(scaleFactor, wrtPoint));
}

double AcGeCurve2d::distanceTo(const AcGePoint2d& pnt, const AcGeTol& tol) const {
    return pnt.distanceTo(closestPointTo(pnt, tol));
}

bool AcGeCurve2d::isOn(const AcGePoint2d& pnt, const AcGeTol& tol) const {
    return distanceTo(pnt, tol) <= tol.equalPoint();
}

bool AcGeCurve2d::isOn(const AcGePoint2d& pnt, double& param, const AcGeTol& tol) const {
    if (!isOn(pnt, tol))
        return false;
    param = paramOf(pnt, tol);
    return true;
}

double AcGeCurve3d::distanceTo(const AcGePoint3d& pnt, const AcGeTol& tol) const {
    return pnt.distanceTo(closestPointTo(pnt, tol));
}

bool AcGeCurve3d::isOn(const AcGePoint3d& pnt, const AcGeTol& tol) const {
    return distanceTo(pnt, tol) <= tol.equalPoint();
}

bool AcGeCurve3d::isOn(const AcGePoint3d& pnt, double& param, const AcGeTol& tol) const {
    if (!isOn(pnt, tol))
        return false;
    param = paramOf(pnt, tol);
    return true;
}

// ---- straight entities of the plane ----------------------------------------------------------

const AcGeLine2d AcGeLine2d::kXAxis(AcGePoint2d::kOrigin, AcGeVector2d::kXAxis);
const AcGeLine2d AcGeLine2d::kYAxis(AcGePoint2d::kOrigin, AcGeVector2d::kYAxis);

bool AcGeLinearEnt2d::intersectWith(const AcGeLinearEnt2d& line, AcGePoint2d& intPnt,
                                    const AcGeTol& tol) const {
    double denom = m_vec.crossProduct(line.m_vec);
    if (denom == 0.0 || isParallelTo(line, tol))
        return false;
    double t = (line.m_pnt - m_pnt).crossProduct(line.m_vec) / denom;
    AcGePoint2d p = evalPoint(t);
    // Bounded entities must hold the point, within the point tolerance.
    if (!isOn(p, tol) || !line.isOn(p, tol))
        return false;
    intPnt = p;
    return true;
}

bool AcGeLinearEnt2d::isParallelTo(const AcGeLinearEnt2d& line, const AcGeTol& tol) const {
    return m_vec.isParallelTo(line.m_vec, tol);
}

bool AcGeLinearEnt2d::isPerpendicularTo(const AcGeLinearEnt2d& line, const AcGeTol& tol) const {
    return m_vec.isPerpendicularTo(line.m_vec, tol);
}

bool AcGeLinearEnt2d::isColinearTo(const AcGeLinearEnt2d& line, const AcGeTol& tol) const {
    return isParallelTo(line, tol) && lineDistance(line.m_pnt) <= tol.equalPoint() &&
           line.lineDistance(m_pnt) <= tol.equalPoint();
}

void AcGeLinearEnt2d::getPerpLine(const AcGePoint2d& pnt, AcGeLine2d& perpLine) const {
    perpLine.set(pnt, m_vec.perpVector());
}

AcGeVector2d AcGeLinearEnt2d::direction() const {
    double len = m_vec.length();
    return len == 0.0 ? m_vec : m_vec / len;
}

void AcGeLinearEnt2d::getLine(AcGeLine2d& line) const {
    line.set(m_pnt, m_vec);
}

double AcGeLinearEnt2d::lineDistance(const AcGePoint2d& pnt) const {
    double len = m_vec.length();
    if (len == 0.0)
        return pnt.distanceTo(m_pnt);
    return std::fabs(m_vec.crossProduct(pnt - m_pnt)) / len;
}

AcGePoint2d AcGeLinearEnt2d::closestPointTo(const AcGePoint2d& pnt, const AcGeTol& tol) const {
    return evalPoint(clampParam(paramOf(pnt, tol)));
}

double AcGeLinearEnt2d::paramOf(const AcGePoint2d& pnt, const AcGeTol&) const {
    double l2 = m_vec.lengthSqrd();
    if (l2 == 0.0)
        return 0.0;
    return m_vec.dotProduct(pnt - m_pnt) / l2;
}

double AcGeLinearEnt2d::length(double fromParam, double toParam, double) const {
    return std::fabs(toParam - fromParam) * m_vec.length();
}

AcGeEntity2d& AcGeLinearEnt2d::transformBy(const AcGeMatrix2d& xfm) {
    m_pnt.transformBy(xfm);
    m_vec.transformBy(xfm);
    return *this;
}

AcGeLine2d& AcGeLine2d::set(const AcGePoint2d& pnt, const AcGeVector2d& vec) {
    m_pnt = pnt;
    m_vec = vec;
    return *this;
}

AcGeLine2d& AcGeLine2d::set(const AcGePoint2d& pnt1, const AcGePoint2d& pnt2) {
    return set(pnt1, pnt2 - pnt1);
}

AcGeCurve2d& AcGeLine2d::reverseParam() {
    m_vec.negate();
    return *this;
}

AcGeLineSeg2d& AcGeLineSeg2d::set(const AcGePoint2d& pnt1, const AcGePoint2d& pnt2) {
    return set(pnt1, pnt2 - pnt1);
}

AcGeLineSeg2d& AcGeLineSeg2d::set(const AcGePoint2d& pnt, const AcGeVector2d& vec) {
    m_pnt = pnt;
    m_vec = vec;
    return *this;
}

void AcGeLineSeg2d::getBisector(AcGeLine2d& line) const {
    line.set(midPoint(), m_vec.perpVector());
}

AcGeCurve2d& AcGeLineSeg2d::reverseParam() {
    m_pnt += m_vec;
    m_vec.negate();
    return *this;
}

bool AcGeLineSeg2d::hasStartPoint(AcGePoint2d& startPnt) const {
    startPnt = startPoint();
    return true;
}

bool AcGeLineSeg2d::hasEndPoint(AcGePoint2d& endPnt) const {
    endPnt = endPoint();
    return true;
}

double AcGeLineSeg2d::clampParam(double param) const {
    return std::clamp(param, 0.0, 1.0);
}

AcGeRay2d& AcGeRay2d::set(const AcGePoint2d& pnt, const AcGeVector2d& vec) {
    m_pnt = pnt;
    m_vec = vec;
    return *this;
}

AcGeRay2d& AcGeRay2d::set(const AcGePoint2d& pnt1, const AcGePoint2d& pnt2) {
    return set(pnt1, pnt2 - pnt1);
}

bool AcGeRay2d::hasStartPoint(AcGePoint2d& startPnt) const {
    startPnt = m_pnt;
    return true;
}

// ---- straight entities of space --------------------------------------------------------------

const AcGeLine3d AcGeLine3d::kXAxis(AcGePoint3d::kOrigin, AcGeVector3d::kXAxis);
const AcGeLine3d AcGeLine3d::kYAxis(AcGePoint3d::kOrigin, AcGeVector3d::kYAxis);
const AcGeLine3d AcGeLine3d::kZAxis(AcGePoint3d::kOrigin, AcGeVector3d::kZAxis);

bool AcGeLinearEnt3d::intersectWith(const AcGeLinearEnt3d& line, AcGePoint3d& intPt,
                                    const AcGeTol& tol) const {
    if (isParallelTo(line, tol))
        return false;
    // Nearest points of the two unbounded lines.
    AcGeVector3d w = m_pnt - line.m_pnt;
    double a = m_vec.dotProduct(m_vec), b = m_vec.dotProduct(line.m_vec);
    double c = line.m_vec.dotProduct(line.m_vec);
    double d = m_vec.dotProduct(w), e = line.m_vec.dotProduct(w);
    double denom = a * c - b * b;
    if (denom == 0.0)
        return false;
    double s = (b * e - c * d) / denom;
    double t = (a * e - b * d) / denom;
    AcGePoint3d p1 = evalPoint(s), p2 = line.evalPoint(t);
    if (!p1.isEqualTo(p2, tol))
        return false;
    if (!isOn(p1, tol) || !line.isOn(p1, tol))
        return false;
    intPt = p1;
    return true;
}

bool AcGeLinearEnt3d::intersectWith(const AcGePlanarEnt& plane, AcGePoint3d& intPnt,
                                    const AcGeTol& tol) const {
    return plane.intersectWith(*this, intPnt, tol);
}

bool AcGeLinearEnt3d::projIntersectWith(const AcGeLinearEnt3d& line, const AcGeVector3d& projDir,
                                        AcGePoint3d& pntOnThisLine, AcGePoint3d& pntOnOtherLine,
                                        const AcGeTol& tol) const {
    double pl = projDir.lengthSqrd();
    if (pl == 0.0)
        return false;
    // Remove the projection direction from both entities and intersect what is left.
    auto flat = [&](const AcGeVector3d& v) { return v - projDir * (v.dotProduct(projDir) / pl); };
    AcGeVector3d v1 = flat(m_vec), v2 = flat(line.m_vec);
    AcGeVector3d w = flat(m_pnt - line.m_pnt);
    AcGeVector3d n = v1.crossProduct(v2);
    double nn = n.lengthSqrd();
    if (nn == 0.0 || v1.isParallelTo(v2, tol))
        return false;
    // w + s v1 - t v2 = 0 in the projection plane.
    double s = -w.crossProduct(v2).dotProduct(n) / nn;
    double t = -w.crossProduct(v1).dotProduct(n) / nn;
    AcGePoint3d p1 = evalPoint(s), p2 = line.evalPoint(t);
    if (!isOn(p1, tol) || !line.isOn(p2, tol))
        return false;
    pntOnThisLine = p1;
    pntOnOtherLine = p2;
    return true;
}

bool AcGeLinearEnt3d::isOn(const AcGePlanarEnt& plane, const AcGeTol& tol) const {
    return plane.isOn(m_pnt, tol) && plane.isOn(m_pnt + direction(), tol);
}

bool AcGeLinearEnt3d::isParallelTo(const AcGeLinearEnt3d& line, const AcGeTol& tol) const {
    return m_vec.isParallelTo(line.m_vec, tol);
}

bool AcGeLinearEnt3d::isParallelTo(const AcGePlanarEnt& plane, const AcGeTol& tol) const {
    return m_vec.isPerpendicularTo(plane.normal(), tol);
}

bool AcGeLinearEnt3d::isPerpendicularTo(const AcGeLinearEnt3d& line, const AcGeTol& tol) const {
    return m_vec.isPerpendicularTo(line.m_vec, tol);
}

bool AcGeLinearEnt3d::isPerpendicularTo(const AcGePlanarEnt& plane, const AcGeTol& tol) const {
    return m_vec.isParallelTo(plane.normal(), tol);
}

bool AcGeLinearEnt3d::isColinearTo(const AcGeLinearEnt3d& line, const AcGeTol& tol) const {
    return isParallelTo(line, tol) && lineDistance(line.m_pnt) <= tol.equalPoint() &&
           line.lineDistance(m_pnt) <= tol.equalPoint();
}

void AcGeLinearEnt3d::getPerpPlane(const AcGePoint3d& pnt, AcGePlane& plane) const {
    plane.set(pnt, m_vec);
}

AcGeVector3d AcGeLinearEnt3d::direction() const {
    double len = m_vec.length();
    return len == 0.0 ? m_vec : m_vec / len;
}

void AcGeLinearEnt3d::getLine(AcGeLine3d& line) const {
    line.set(m_pnt, m_vec);
}

double AcGeLinearEnt3d::lineDistance(const AcGePoint3d& pnt) const {
    double len = m_vec.length();
    if (len == 0.0)
        return pnt.distanceTo(m_pnt);
    return m_vec.crossProduct(pnt - m_pnt).length() / len;
}

AcGePoint3d AcGeLinearEnt3d::closestPointTo(const AcGePoint3d& pnt, const AcGeTol& tol) const {
    return evalPoint(clampParam(paramOf(pnt, tol)));
}

double AcGeLinearEnt3d::paramOf(const AcGePoint3d& pnt, const AcGeTol&) const {
    double l2 = m_vec.lengthSqrd();
    if (l2 == 0.0)
        return 0.0;
    return m_vec.dotProduct(pnt - m_pnt) / l2;
}

double AcGeLinearEnt3d::length(double fromParam, double toParam, double) const {
    return std::fabs(toParam - fromParam) * m_vec.length();
}

AcGeEntity3d& AcGeLinearEnt3d::transformBy(const AcGeMatrix3d& xfm) {
    AcGePoint3d end = xfm * (m_pnt + m_vec);
    m_pnt.transformBy(xfm);
    m_vec = end - m_pnt;
    return *this;
}

AcGeLine3d& AcGeLine3d::set(const AcGePoint3d& pnt, const AcGeVector3d& vec) {
    m_pnt = pnt;
    m_vec = vec;
    return *this;
}

AcGeLine3d& AcGeLine3d::set(const AcGePoint3d& pnt1, const AcGePoint3d& pnt2) {
    return set(pnt1, pnt2 - pnt1);
}

AcGeCurve3d& AcGeLine3d::reverseParam() {
    m_vec.negate();
    return *this;
}

AcGeLineSeg3d& AcGeLineSeg3d::set(const AcGePoint3d& pnt1, const AcGePoint3d& pnt2) {
    return set(pnt1, pnt2 - pnt1);
}

AcGeLineSeg3d& AcGeLineSeg3d::set(const AcGePoint3d& pnt, const AcGeVector3d& vec) {
    m_pnt = pnt;
    m_vec = vec;
    return *this;
}

void AcGeLineSeg3d::getBisector(AcGePlane& plane) const {
    plane.set(midPoint(), m_vec);
}

AcGeCurve3d& AcGeLineSeg3d::reverseParam() {
    m_pnt += m_vec;
    m_vec.negate();
    return *this;
}

bool AcGeLineSeg3d::hasStartPoint(AcGePoint3d& startPnt) const {
    startPnt = startPoint();
    return true;
}

bool AcGeLineSeg3d::hasEndPoint(AcGePoint3d& endPnt) const {
    endPnt = endPoint();
    return true;
}

double AcGeLineSeg3d::clampParam(double param) const {
    return std::clamp(param, 0.0, 1.0);
}

AcGeRay3d& AcGeRay3d::set(const AcGePoint3d& pnt, const AcGeVector3d& vec) {
    m_pnt = pnt;
    m_vec = vec;
    return *this;
}

AcGeRay3d& AcGeRay3d::set(const AcGePoint3d& pnt1, const AcGePoint3d& pnt2) {
    return set(pnt1, pnt2 - pnt1);
}

bool AcGeRay3d::hasStartPoint(AcGePoint3d& startPnt) const {
    startPnt = m_pnt;
    return true;
}

// ---- planes ----------------------------------------------------------------------------------

const AcGePlane AcGePlane::kXYPlane(AcGePoint3d::kOrigin, AcGeVector3d::kXAxis,
                                    AcGeVector3d::kYAxis);
const AcGePlane AcGePlane::kYZPlane(AcGePoint3d::kOrigin, AcGeVector3d::kYAxis,
                                    AcGeVector3d::kZAxis);
const AcGePlane AcGePlane::kZXPlane(AcGePoint3d::kOrigin, AcGeVector3d::kZAxis,
                                    AcGeVector3d::kXAxis);

bool AcGePlanarEnt::intersectWith(const AcGeLinearEnt3d& linEnt, AcGePoint3d& pnt,
                                  const AcGeTol& tol) const {
    AcGeVector3d n = normal();
    AcGeVector3d dir = linEnt.direction();
    if (dir.isZeroLength() || dir.isPerpendicularTo(n, tol))
        return false;
    AcGePoint3d p0 = linEnt.pointOnLine();
    double t = (m_origin - p0).dotProduct(n) / dir.dotProduct(n);
    AcGePoint3d p = p0 + dir * t;
    if (!linEnt.isOn(p, tol))
        return false;
    pnt = p;
    return true;
}

AcGePoint3d AcGePlanarEnt::closestPointTo(const AcGePoint3d& pnt, const AcGeTol&) const {
    AcGeVector3d n = normal();
    return pnt - n * (pnt - m_origin).dotProduct(n);
}

double AcGePlanarEnt::distanceTo(const AcGePoint3d& pnt, const AcGeTol&) const {
    return std::fabs((pnt - m_origin).dotProduct(normal()));
}

bool AcGePlanarEnt::isOn(const AcGePoint3d& pnt, const AcGeTol& tol) const {
    return distanceTo(pnt, tol) <= tol.equalPoint();
}

bool AcGePlanarEnt::isParallelTo(const AcGeLinearEnt3d& linEnt, const AcGeTol& tol) const {
    return linEnt.direction().isPerpendicularTo(normal(), tol);
}

bool AcGePlanarEnt::isParallelTo(const AcGePlanarEnt& otherPlnEnt, const AcGeTol& tol) const {
    return normal().isParallelTo(otherPlnEnt.normal(), tol);
}

bool AcGePlanarEnt::isPerpendicularTo(const AcGeLinearEnt3d& linEnt, const AcGeTol& tol) const {
    return linEnt.direction().isParallelTo(normal(), tol);
}

bool AcGePlanarEnt::isPerpendicularTo(const AcGePlanarEnt& otherPlnEnt, const AcGeTol& tol) const {
    return normal().isPerpendicularTo(otherPlnEnt.normal(), tol);
}

bool AcGePlanarEnt::isCoplanarTo(const AcGePlanarEnt& otherPlnEnt, const AcGeTol& tol) const {
    return isParallelTo(otherPlnEnt, tol) && isOn(otherPlnEnt.m_origin, tol) &&
           otherPlnEnt.isOn(m_origin, tol);
}

void AcGePlanarEnt::get(AcGePoint3d& origin, AcGeVector3d& uVec, AcGeVector3d& vVec) const {
    origin = m_origin;
    uVec = m_uAxis;
    vVec = m_vAxis;
}

AcGeVector3d AcGePlanarEnt::normal() const {
    AcGeVector3d n = m_uAxis.crossProduct(m_vAxis);
    double len = n.length();
    return len == 0.0 ? AcGeVector3d::kZAxis : n / len;
}

AcGePoint3d AcGePlanarEnt::evalPoint(const AcGePoint2d& param) const {
    return m_origin + m_uAxis * param.x + m_vAxis * param.y;
}

AcGePoint2d AcGePlanarEnt::paramOf(const AcGePoint3d& pnt, const AcGeTol&) const {
    // Least squares in the (possibly oblique) axes: solve the 2 x 2 Gram system.
    AcGeVector3d w = pnt - m_origin;
    double uu = m_uAxis.dotProduct(m_uAxis), uv = m_uAxis.dotProduct(m_vAxis);
    double vv = m_vAxis.dotProduct(m_vAxis);
    double wu = w.dotProduct(m_uAxis), wv = w.dotProduct(m_vAxis);
    double det = uu * vv - uv * uv;
    if (det == 0.0)
        return AcGePoint2d::kOrigin;
    return {(wu * vv - wv * uv) / det, (wv * uu - wu * uv) / det};
}

AcGeEntity3d& AcGePlanarEnt::transformBy(const AcGeMatrix3d& xfm) {
    AcGePoint3d pu = xfm * (m_origin + m_uAxis);
    AcGePoint3d pv = xfm * (m_origin + m_vAxis);
    m_origin.transformBy(xfm);
    m_uAxis = pu - m_origin;
    m_vAxis = pv - m_origin;
    return *this;
}

AcGePlane::AcGePlane(const AcGePoint3d& origin, const AcGeVector3d& normal) {
    set(origin, normal);
}

AcGePlane::AcGePlane(const AcGePoint3d& pntU, const AcGePoint3d& org, const AcGePoint3d& pntV) {
    set(pntU, org, pntV);
}

AcGePlane::AcGePlane(const AcGePoint3d& org, const AcGeVector3d& uAxis, const AcGeVector3d& vAxis) {
    set(org, uAxis, vAxis);
}

AcGePlane::AcGePlane(double a, double b, double c, double d) {
    set(a, b, c, d);
}

double AcGePlane::signedDistanceTo(const AcGePoint3d& pnt) const {
    return (pnt - m_origin).dotProduct(normal());
}

bool AcGePlane::intersectWith(const AcGePlane& otherPln, AcGeLine3d& resultLine,
                              const AcGeTol& tol) const {
    AcGeVector3d n1 = normal(), n2 = otherPln.normal();
    if (n1.isParallelTo(n2, tol))
        return false;
    AcGeVector3d dir = n1.crossProduct(n2);
    // The point of both planes nearest to the origin of this one.
    double d1 = n1.dotProduct(m_origin.asVector());
    double d2 = n2.dotProduct(otherPln.m_origin.asVector());
    AcGeVector3d p = (n2.crossProduct(dir) * d1 + dir.crossProduct(n1) * d2) / dir.lengthSqrd();
    resultLine.set(AcGePoint3d::kOrigin + p, dir.normal());
    return true;
}

AcGePlane& AcGePlane::set(const AcGePoint3d& pnt, const AcGeVector3d& normal) {
    m_origin = pnt;
    acgeArbitraryAxes(normal, m_uAxis, m_vAxis);
    return *this;
}

AcGePlane& AcGePlane::set(const AcGePoint3d& pntU, const AcGePoint3d& org,
                          const AcGePoint3d& pntV) {
    return set(org, pntU - org, pntV - org);
}

AcGePlane& AcGePlane::set(double a, double b, double c, double d) {
    AcGeVector3d n(a, b, c);
    double l2 = n.lengthSqrd();
    if (l2 == 0.0)
        return set(AcGePoint3d::kOrigin, AcGeVector3d::kZAxis);
    return set(AcGePoint3d::kOrigin + n * (-d / l2), n);
}

AcGePlane& AcGePlane::set(const AcGePoint3d& org, const AcGeVector3d& uAxis,
                          const AcGeVector3d& vAxis) {
    m_origin = org;
    m_uAxis = uAxis;
    m_vAxis = vAxis;
    return *this;
}

void AcGePlane::getCoefficients(double& a, double& b, double& c, double& d) const {
    AcGeVector3d n = normal();
    a = n.x;
    b = n.y;
    c = n.z;
    d = -n.dotProduct(m_origin.asVector());
}
