// Points and vectors of the plane and of space.
#include "geintern.h"
#include "gemat2d.h"
#include "gemat3d.h"
#include "gelent2d.h"
#include "geplanar.h"

#include <cmath>

using khost::ge::kTwoPi;
using khost::ge::normalizeAngle;

// ---- AcGeVector2d ----------------------------------------------------------------------------

AcGeVector2d operator*(const AcGeMatrix2d& m, const AcGeVector2d& v) {
    return {m.entry[0][0] * v.x + m.entry[0][1] * v.y, m.entry[1][0] * v.x + m.entry[1][1] * v.y};
}

AcGeVector2d& AcGeVector2d::setToProduct(const AcGeMatrix2d& mat, const AcGeVector2d& vec) {
    return *this = mat * vec;
}

AcGeVector2d& AcGeVector2d::transformBy(const AcGeMatrix2d& leftSide) {
    return *this = leftSide * *this;
}

AcGeVector2d& AcGeVector2d::rotateBy(double angle) {
    double c = std::cos(angle), s = std::sin(angle);
    return set(x * c - y * s, x * s + y * c);
}

AcGeVector2d& AcGeVector2d::mirror(const AcGeVector2d& line) {
    double l2 = line.lengthSqrd();
    if (l2 == 0.0)
        return *this;
    // Reflection across the direction of line: 2 * (v.u) u - v.
    double k = 2.0 * dotProduct(line) / l2;
    return set(line.x * k - x, line.y * k - y);
}

double AcGeVector2d::angle() const {
    return normalizeAngle(std::atan2(y, x));
}

double AcGeVector2d::angleTo(const AcGeVector2d& vec) const {
    return normalizeAngle(std::atan2(crossProduct(vec), dotProduct(vec)));
}

double AcGeVector2d::length() const {
    return std::hypot(x, y);
}

AcGeVector2d AcGeVector2d::normal(const AcGeTol& tol) const {
    AcGeVector2d v = *this;
    return v.normalize(tol);
}

AcGeVector2d& AcGeVector2d::normalize(const AcGeTol& tol) {
    double len = length();
    if (len <= tol.equalVector() || len == 0.0)
        return *this;
    return *this /= len;
}

bool AcGeVector2d::isUnitLength(const AcGeTol& tol) const {
    return std::fabs(length() - 1.0) <= tol.equalVector();
}

bool AcGeVector2d::isZeroLength(const AcGeTol& tol) const {
    return length() <= tol.equalVector();
}

bool AcGeVector2d::isParallelTo(const AcGeVector2d& vec, const AcGeTol& tol) const {
    double l1 = length(), l2 = vec.length();
    if (l1 == 0.0 || l2 == 0.0)
        return false;
    return std::fabs(crossProduct(vec)) / (l1 * l2) <= tol.equalVector();
}

bool AcGeVector2d::isCodirectionalTo(const AcGeVector2d& vec, const AcGeTol& tol) const {
    double l1 = length(), l2 = vec.length();
    if (l1 == 0.0 || l2 == 0.0)
        return false;
    return (*this / l1 - vec / l2).length() <= tol.equalVector();
}

bool AcGeVector2d::isPerpendicularTo(const AcGeVector2d& vec, const AcGeTol& tol) const {
    double l1 = length(), l2 = vec.length();
    if (l1 == 0.0 || l2 == 0.0)
        return false;
    return std::fabs(dotProduct(vec)) / (l1 * l2) <= tol.equalVector();
}

bool AcGeVector2d::isEqualTo(const AcGeVector2d& vec, const AcGeTol& tol) const {
    return (*this - vec).length() <= tol.equalVector();
}

// ---- AcGePoint2d -----------------------------------------------------------------------------

AcGePoint2d operator*(const AcGeMatrix2d& m, const AcGePoint2d& p) {
    return {m.entry[0][0] * p.x + m.entry[0][1] * p.y + m.entry[0][2],
            m.entry[1][0] * p.x + m.entry[1][1] * p.y + m.entry[1][2]};
}

AcGePoint2d& AcGePoint2d::setToProduct(const AcGeMatrix2d& mat, const AcGePoint2d& pnt) {
    return *this = mat * pnt;
}

AcGePoint2d& AcGePoint2d::transformBy(const AcGeMatrix2d& leftSide) {
    return *this = leftSide * *this;
}

AcGePoint2d& AcGePoint2d::rotateBy(double angle, const AcGePoint2d& wrtPoint) {
    AcGeVector2d v = *this - wrtPoint;
    return *this = wrtPoint + v.rotateBy(angle);
}

AcGePoint2d& AcGePoint2d::mirror(const AcGeLinearEnt2d& line) {
    AcGePoint2d foot = line.pointOnLine();
    AcGeVector2d dir = line.direction();
    AcGeVector2d v = *this - foot;
    return *this = foot + v.mirror(dir);
}

AcGePoint2d& AcGePoint2d::scaleBy(double scaleFactor, const AcGePoint2d& wrtPoint) {
    return *this = wrtPoint + (*this - wrtPoint) * scaleFactor;
}

AcGePoint3d AcGePoint2d::convert3d(double z) const {
    return {x, y, z};
}

double AcGePoint2d::distanceTo(const AcGePoint2d& pnt) const {
    return (*this - pnt).length();
}

bool AcGePoint2d::isEqualTo(const AcGePoint2d& pnt, const AcGeTol& tol) const {
    return distanceTo(pnt) <= tol.equalPoint();
}

// ---- AcGeVector3d ----------------------------------------------------------------------------

AcGeVector3d::AcGeVector3d(const AcGePlanarEnt& pln, const AcGeVector2d& vec2d) {
    AcGePoint3d o;
    AcGeVector3d u, v;
    pln.get(o, u, v);
    *this = u * vec2d.x + v * vec2d.y;
}

AcGeVector3d operator*(const AcGeMatrix3d& m, const AcGeVector3d& v) {
    return {m.entry[0][0] * v.x + m.entry[0][1] * v.y + m.entry[0][2] * v.z,
            m.entry[1][0] * v.x + m.entry[1][1] * v.y + m.entry[1][2] * v.z,
            m.entry[2][0] * v.x + m.entry[2][1] * v.y + m.entry[2][2] * v.z};
}

AcGeVector3d& AcGeVector3d::setToProduct(const AcGeMatrix3d& mat, const AcGeVector3d& vec) {
    return *this = mat * vec;
}

AcGeVector3d& AcGeVector3d::transformBy(const AcGeMatrix3d& leftSide) {
    return *this = leftSide * *this;
}

AcGeVector3d& AcGeVector3d::rotateBy(double ang, const AcGeVector3d& axis) {
    return *this = AcGeMatrix3d::rotation(ang, axis) * *this;
}

AcGeVector3d& AcGeVector3d::mirror(const AcGeVector3d& normalToPlane) {
    double n2 = normalToPlane.lengthSqrd();
    if (n2 == 0.0)
        return *this;
    return *this -= normalToPlane * (2.0 * dotProduct(normalToPlane) / n2);
}

AcGeVector2d AcGeVector3d::convert2d(const AcGePlanarEnt& pln) const {
    AcGePoint2d a = pln.paramOf(pln.pointOnPlane() + *this);
    return {a.x, a.y};
}

AcGeVector3d AcGeVector3d::perpVector() const {
    AcGeVector3d xAxis, yAxis;
    acgeArbitraryAxes(*this, xAxis, yAxis);
    return xAxis;
}

double AcGeVector3d::angleTo(const AcGeVector3d& vec) const {
    return std::atan2(crossProduct(vec).length(), dotProduct(vec));
}

double AcGeVector3d::angleTo(const AcGeVector3d& vec, const AcGeVector3d& refVec) const {
    double a = angleTo(vec);
    if (refVec.dotProduct(crossProduct(vec)) < 0.0)
        a = kTwoPi - a;
    return a >= kTwoPi ? 0.0 : a;
}

double AcGeVector3d::angleOnPlane(const AcGePlanarEnt& pln) const {
    AcGePoint3d o;
    AcGeVector3d u, v;
    pln.get(o, u, v);
    AcGeVector3d n = pln.normal();
    AcGeVector3d p = orthoProject(n);
    if (p.length() == 0.0)
        return 0.0;
    return u.angleTo(p, n);
}

double AcGeVector3d::length() const {
    return std::sqrt(lengthSqrd());
}

AcGeVector3d AcGeVector3d::normal(const AcGeTol& tol) const {
    AcGeVector3d v = *this;
    return v.normalize(tol);
}

AcGeVector3d& AcGeVector3d::normalize(const AcGeTol& tol) {
    double len = length();
    if (len <= tol.equalVector() || len == 0.0)
        return *this;
    return *this /= len;
}

bool AcGeVector3d::isUnitLength(const AcGeTol& tol) const {
    return std::fabs(length() - 1.0) <= tol.equalVector();
}

bool AcGeVector3d::isZeroLength(const AcGeTol& tol) const {
    return length() <= tol.equalVector();
}

bool AcGeVector3d::isParallelTo(const AcGeVector3d& vec, const AcGeTol& tol) const {
    double l1 = length(), l2 = vec.length();
    if (l1 == 0.0 || l2 == 0.0)
        return false;
    return crossProduct(vec).length() / (l1 * l2) <= tol.equalVector();
}

bool AcGeVector3d::isCodirectionalTo(const AcGeVector3d& vec, const AcGeTol& tol) const {
    double l1 = length(), l2 = vec.length();
    if (l1 == 0.0 || l2 == 0.0)
        return false;
    return (*this / l1 - vec / l2).length() <= tol.equalVector();
}

bool AcGeVector3d::isPerpendicularTo(const AcGeVector3d& vec, const AcGeTol& tol) const {
    double l1 = length(), l2 = vec.length();
    if (l1 == 0.0 || l2 == 0.0)
        return false;
    return std::fabs(dotProduct(vec)) / (l1 * l2) <= tol.equalVector();
}

AcGeVector3d AcGeVector3d::orthoProject(const AcGeVector3d& planeNormal) const {
    AcGe::ErrorCondition flag;
    return orthoProject(planeNormal, flag);
}

AcGeVector3d AcGeVector3d::orthoProject(const AcGeVector3d& planeNormal, AcGe::ErrorCondition& flag,
                                        const AcGeTol& tol) const {
    double n2 = planeNormal.lengthSqrd();
    if (planeNormal.isZeroLength(tol) || n2 == 0.0) {
        flag = AcGe::k0Arg1;
        return *this;
    }
    flag = AcGe::kOk;
    return *this - planeNormal * (dotProduct(planeNormal) / n2);
}

bool AcGeVector3d::isEqualTo(const AcGeVector3d& vec, const AcGeTol& tol) const {
    return (*this - vec).length() <= tol.equalVector();
}

// ---- AcGePoint3d -----------------------------------------------------------------------------

AcGePoint3d::AcGePoint3d(const AcGePlanarEnt& pln, const AcGePoint2d& pnt2d) {
    *this = pln.evalPoint(pnt2d);
}

AcGePoint3d& AcGePoint3d::set(const AcGePlanarEnt& pln, const AcGePoint2d& pnt2d) {
    return *this = pln.evalPoint(pnt2d);
}

AcGePoint3d operator*(const AcGeMatrix3d& m, const AcGePoint3d& p) {
    double w = m.entry[3][0] * p.x + m.entry[3][1] * p.y + m.entry[3][2] * p.z + m.entry[3][3];
    AcGePoint3d r(m.entry[0][0] * p.x + m.entry[0][1] * p.y + m.entry[0][2] * p.z + m.entry[0][3],
                  m.entry[1][0] * p.x + m.entry[1][1] * p.y + m.entry[1][2] * p.z + m.entry[1][3],
                  m.entry[2][0] * p.x + m.entry[2][1] * p.y + m.entry[2][2] * p.z + m.entry[2][3]);
    if (w != 1.0 && w != 0.0)
        r /= w;
    return r;
}

AcGePoint3d& AcGePoint3d::setToProduct(const AcGeMatrix3d& mat, const AcGePoint3d& pnt) {
    return *this = mat * pnt;
}

AcGePoint3d& AcGePoint3d::transformBy(const AcGeMatrix3d& leftSide) {
    return *this = leftSide * *this;
}

AcGePoint3d& AcGePoint3d::rotateBy(double angle, const AcGeVector3d& vec,
                                   const AcGePoint3d& wrtPoint) {
    return *this = AcGeMatrix3d::rotation(angle, vec, wrtPoint) * *this;
}

AcGePoint3d& AcGePoint3d::mirror(const AcGePlanarEnt& pln) {
    AcGePoint3d foot = pln.closestPointTo(*this);
    return *this = foot + (foot - *this);
}

AcGePoint3d& AcGePoint3d::scaleBy(double scaleFactor, const AcGePoint3d& wrtPoint) {
    return *this = wrtPoint + (*this - wrtPoint) * scaleFactor;
}

AcGePoint2d AcGePoint3d::convert2d(const AcGePlanarEnt& pln) const {
    return pln.paramOf(*this);
}

double AcGePoint3d::distanceTo(const AcGePoint3d& pnt) const {
    return (*this - pnt).length();
}

AcGePoint3d AcGePoint3d::project(const AcGePlanarEnt& pln, const AcGeVector3d& vec) const {
    AcGeVector3d n = pln.normal();
    double dn = vec.dotProduct(n);
    if (dn == 0.0 || vec.isPerpendicularTo(n))
        return *this;
    double t = (pln.pointOnPlane() - *this).dotProduct(n) / dn;
    return *this + vec * t;
}

AcGePoint3d AcGePoint3d::orthoProject(const AcGePlanarEnt& pln) const {
    return pln.closestPointTo(*this);
}

bool AcGePoint3d::isEqualTo(const AcGePoint3d& pnt, const AcGeTol& tol) const {
    return distanceTo(pnt) <= tol.equalPoint();
}
