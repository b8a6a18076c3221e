// Transformation matrices and scale factors.
#include "gemat2d.h"
#include "gemat3d.h"
#include "gescl3d.h"
#include "geline2d.h"
#include "geline3d.h"
#include "geplane.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Gauss-Jordan inversion with partial pivoting of an n x n matrix stored row by row.
template <int N> bool invertSquare(const double (&in)[N][N], double (&out)[N][N], double tol) {
    double a[N][N];
    for (int r = 0; r < N; ++r)
        for (int c = 0; c < N; ++c) {
            a[r][c] = in[r][c];
            out[r][c] = (r == c) ? 1.0 : 0.0;
        }
    for (int col = 0; col < N; ++col) {
        int piv = col;
        for (int r = col + 1; r < N; ++r)
            if (std::fabs(a[r][col]) > std::fabs(a[piv][col]))
                piv = r;
        if (std::fabs(a[piv][col]) <= tol || a[piv][col] == 0.0)
            return false;
        if (piv != col)
            for (int c = 0; c < N; ++c) {
                std::swap(a[piv][c], a[col][c]);
                std::swap(out[piv][c], out[col][c]);
            }
        double d = a[col][col];
        for (int c = 0; c < N; ++c) {
            a[col][c] /= d;
            out[col][c] /= d;
        }
        for (int r = 0; r < N; ++r) {
            if (r == col || a[r][col] == 0.0)
                continue;
            double f = a[r][col];
            for (int c = 0; c < N; ++c) {
                a[r][c] -= f * a[col][c];
                out[r][c] -= f * out[col][c];
            }
        }
    }
    return true;
}

// Determinant by elimination with partial pivoting.
template <int N> double determinant(const double (&in)[N][N]) {
    double a[N][N];
    for (int r = 0; r < N; ++r)
        for (int c = 0; c < N; ++c)
            a[r][c] = in[r][c];
    double det = 1.0;
    for (int col = 0; col < N; ++col) {
        int piv = col;
        for (int r = col + 1; r < N; ++r)
            if (std::fabs(a[r][col]) > std::fabs(a[piv][col]))
                piv = r;
        if (a[piv][col] == 0.0)
            return 0.0;
        if (piv != col) {
            for (int c = 0; c < N; ++c)
                std::swap(a[piv][c], a[col][c]);
            det = -det;
        }
        det *= a[col][col];
        for (int r = col + 1; r < N; ++r) {
            double f = a[r][col] / a[col][col];
            for (int c = col; c < N; ++c)
                a[r][c] -= f * a[col][c];
        }
    }
    return det;
}

// Columns of the linear part are mutually perpendicular (and, with uniform, of equal length).
template <int N>
bool scaledOrtho(const double (&e)[N + 1][N + 1], bool uniform, const AcGeTol& tol) {
    double len[N];
    for (int i = 0; i < N; ++i) {
        double s = 0.0;
        for (int r = 0; r < N; ++r)
            s += e[r][i] * e[r][i];
        len[i] = std::sqrt(s);
        if (len[i] == 0.0)
            return false;
    }
    for (int i = 0; i < N; ++i)
        for (int j = i + 1; j < N; ++j) {
            double d = 0.0;
            for (int r = 0; r < N; ++r)
                d += e[r][i] * e[r][j];
            if (std::fabs(d) / (len[i] * len[j]) > tol.equalVector())
                return false;
        }
    if (uniform) {
        double ref = std::max(1.0, len[0]);
        for (int i = 1; i < N; ++i)
            if (std::fabs(len[i] - len[0]) > tol.equalVector() * ref)
                return false;
    }
    return true;
}

} // namespace

// ---- AcGeMatrix2d ----------------------------------------------------------------------------

AcGeMatrix2d& AcGeMatrix2d::setToIdentity() {
    return *this = AcGeMatrix2d();
}

AcGeMatrix2d AcGeMatrix2d::operator*(const AcGeMatrix2d& m) const {
    AcGeMatrix2d r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double s = 0.0;
            for (int k = 0; k < 3; ++k)
                s += entry[i][k] * m.entry[k][j];
            r.entry[i][j] = s;
        }
    return r;
}

AcGeMatrix2d& AcGeMatrix2d::operator*=(const AcGeMatrix2d& mat) {
    return *this = *this * mat;
}

AcGeMatrix2d& AcGeMatrix2d::preMultBy(const AcGeMatrix2d& leftSide) {
    return *this = leftSide * *this;
}

AcGeMatrix2d& AcGeMatrix2d::postMultBy(const AcGeMatrix2d& rightSide) {
    return *this = *this * rightSide;
}

AcGeMatrix2d& AcGeMatrix2d::setToProduct(const AcGeMatrix2d& mat1, const AcGeMatrix2d& mat2) {
    return *this = mat1 * mat2;
}

AcGeMatrix2d& AcGeMatrix2d::invert() {
    AcGeMatrix2d r;
    if (invertSquare<3>(entry, r.entry, 0.0))
        *this = r;
    return *this;
}

AcGeMatrix2d AcGeMatrix2d::inverse() const {
    AcGeMatrix2d r = *this;
    return r.invert();
}

bool AcGeMatrix2d::isSingular(const AcGeTol& tol) const {
    return std::fabs(det()) <= tol.equalVector();
}

AcGeMatrix2d& AcGeMatrix2d::transposeIt() {
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j)
            std::swap(entry[i][j], entry[j][i]);
    return *this;
}

AcGeMatrix2d AcGeMatrix2d::transpose() const {
    AcGeMatrix2d r = *this;
    return r.transposeIt();
}

bool AcGeMatrix2d::isEqualTo(const AcGeMatrix2d& mat, const AcGeTol& tol) const {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double t = (j == 2 && i < 2) ? tol.equalPoint() : tol.equalVector();
            if (std::fabs(entry[i][j] - mat.entry[i][j]) > t)
                return false;
        }
    return true;
}

bool AcGeMatrix2d::isUniScaledOrtho(const AcGeTol& tol) const {
    return scaledOrtho<2>(entry, true, tol);
}

bool AcGeMatrix2d::isScaledOrtho(const AcGeTol& tol) const {
    return scaledOrtho<2>(entry, false, tol);
}

double AcGeMatrix2d::scale() const {
    return std::max(std::hypot(entry[0][0], entry[1][0]), std::hypot(entry[0][1], entry[1][1]));
}

double AcGeMatrix2d::det() const {
    return determinant<3>(entry);
}

AcGeMatrix2d& AcGeMatrix2d::setTranslation(const AcGeVector2d& vec) {
    entry[0][2] = vec.x;
    entry[1][2] = vec.y;
    return *this;
}

AcGeVector2d AcGeMatrix2d::translation() const {
    return {entry[0][2], entry[1][2]};
}

AcGeMatrix2d& AcGeMatrix2d::setCoordSystem(const AcGePoint2d& origin, const AcGeVector2d& e0,
                                           const AcGeVector2d& e1) {
    setToIdentity();
    entry[0][0] = e0.x;
    entry[1][0] = e0.y;
    entry[0][1] = e1.x;
    entry[1][1] = e1.y;
    entry[0][2] = origin.x;
    entry[1][2] = origin.y;
    return *this;
}

void AcGeMatrix2d::getCoordSystem(AcGePoint2d& origin, AcGeVector2d& e0, AcGeVector2d& e1) const {
    origin.set(entry[0][2], entry[1][2]);
    e0.set(entry[0][0], entry[1][0]);
    e1.set(entry[0][1], entry[1][1]);
}

AcGeMatrix2d& AcGeMatrix2d::setToTranslation(const AcGeVector2d& vec) {
    setToIdentity();
    return setTranslation(vec);
}

AcGeMatrix2d& AcGeMatrix2d::setToRotation(double angle, const AcGePoint2d& center) {
    double c = std::cos(angle), s = std::sin(angle);
    setToIdentity();
    entry[0][0] = c;
    entry[0][1] = -s;
    entry[1][0] = s;
    entry[1][1] = c;
    // The centre stays where it is.
    entry[0][2] = center.x - (c * center.x - s * center.y);
    entry[1][2] = center.y - (s * center.x + c * center.y);
    return *this;
}

AcGeMatrix2d& AcGeMatrix2d::setToScaling(double scaleAll, const AcGePoint2d& center) {
    setToIdentity();
    entry[0][0] = entry[1][1] = scaleAll;
    entry[0][2] = center.x * (1.0 - scaleAll);
    entry[1][2] = center.y * (1.0 - scaleAll);
    return *this;
}

AcGeMatrix2d& AcGeMatrix2d::setToMirroring(const AcGePoint2d& pnt) {
    setToIdentity();
    entry[0][0] = entry[1][1] = -1.0;
    entry[0][2] = 2.0 * pnt.x;
    entry[1][2] = 2.0 * pnt.y;
    return *this;
}

AcGeMatrix2d& AcGeMatrix2d::setToMirroring(const AcGeLine2d& line) {
    AcGeVector2d d = line.direction();
    AcGePoint2d o = line.pointOnLine();
    setToIdentity();
    // p' = 2 * (o + d d^T (p - o)) - p
    entry[0][0] = 2.0 * d.x * d.x - 1.0;
    entry[0][1] = 2.0 * d.x * d.y;
    entry[1][0] = 2.0 * d.y * d.x;
    entry[1][1] = 2.0 * d.y * d.y - 1.0;
    double dot = d.x * o.x + d.y * o.y;
    entry[0][2] = 2.0 * o.x - 2.0 * d.x * dot;
    entry[1][2] = 2.0 * o.y - 2.0 * d.y * dot;
    return *this;
}

AcGeMatrix2d& AcGeMatrix2d::setToAlignCoordSys(const AcGePoint2d& fromOrigin,
                                               const AcGeVector2d& fromE0,
                                               const AcGeVector2d& fromE1,
                                               const AcGePoint2d& toOrigin,
                                               const AcGeVector2d& toE0, const AcGeVector2d& toE1) {
    AcGeMatrix2d from, to;
    from.setCoordSystem(fromOrigin, fromE0, fromE1);
    to.setCoordSystem(toOrigin, toE0, toE1);
    return *this = to * from.inverse();
}

AcGeMatrix2d AcGeMatrix2d::translation(const AcGeVector2d& vec) {
    return AcGeMatrix2d().setToTranslation(vec);
}

AcGeMatrix2d AcGeMatrix2d::rotation(double angle, const AcGePoint2d& center) {
    return AcGeMatrix2d().setToRotation(angle, center);
}

AcGeMatrix2d AcGeMatrix2d::scaling(double scaleAll, const AcGePoint2d& center) {
    return AcGeMatrix2d().setToScaling(scaleAll, center);
}

AcGeMatrix2d AcGeMatrix2d::mirroring(const AcGePoint2d& pnt) {
    return AcGeMatrix2d().setToMirroring(pnt);
}

AcGeMatrix2d AcGeMatrix2d::mirroring(const AcGeLine2d& line) {
    return AcGeMatrix2d().setToMirroring(line);
}

AcGeMatrix2d AcGeMatrix2d::alignCoordSys(const AcGePoint2d& fromOrigin, const AcGeVector2d& fromE0,
                                         const AcGeVector2d& fromE1, const AcGePoint2d& toOrigin,
                                         const AcGeVector2d& toE0, const AcGeVector2d& toE1) {
    return AcGeMatrix2d().setToAlignCoordSys(fromOrigin, fromE0, fromE1, toOrigin, toE0, toE1);
}

// ---- AcGeMatrix3d ----------------------------------------------------------------------------

void acgeArbitraryAxes(const AcGeVector3d& normal, AcGeVector3d& xAxis, AcGeVector3d& yAxis) {
    double len = normal.length();
    if (len == 0.0) {
        xAxis = AcGeVector3d::kXAxis;
        yAxis = AcGeVector3d::kYAxis;
        return;
    }
    AcGeVector3d n = normal / len;
    constexpr double kLimit = 1.0 / 64.0;
    if (std::fabs(n.x) < kLimit && std::fabs(n.y) < kLimit)
        xAxis = AcGeVector3d::kYAxis.crossProduct(n);
    else
        xAxis = AcGeVector3d::kZAxis.crossProduct(n);
    xAxis /= xAxis.length();
    yAxis = n.crossProduct(xAxis);
    yAxis /= yAxis.length();
}

AcGeMatrix3d& AcGeMatrix3d::setToIdentity() {
    return *this = AcGeMatrix3d();
}

AcGeMatrix3d AcGeMatrix3d::operator*(const AcGeMatrix3d& m) const {
    AcGeMatrix3d r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double s = 0.0;
            for (int k = 0; k < 4; ++k)
                s += entry[i][k] * m.entry[k][j];
            r.entry[i][j] = s;
        }
    return r;
}

AcGeMatrix3d& AcGeMatrix3d::operator*=(const AcGeMatrix3d& mat) {
    return *this = *this * mat;
}

AcGeMatrix3d& AcGeMatrix3d::preMultBy(const AcGeMatrix3d& leftSide) {
    return *this = leftSide * *this;
}

AcGeMatrix3d& AcGeMatrix3d::postMultBy(const AcGeMatrix3d& rightSide) {
    return *this = *this * rightSide;
}

AcGeMatrix3d& AcGeMatrix3d::setToProduct(const AcGeMatrix3d& mat1, const AcGeMatrix3d& mat2) {
    return *this = mat1 * mat2;
}

AcGeMatrix3d& AcGeMatrix3d::invert() {
    AcGeMatrix3d r;
    if (invertSquare<4>(entry, r.entry, 0.0))
        *this = r;
    return *this;
}

AcGeMatrix3d AcGeMatrix3d::inverse() const {
    AcGeMatrix3d r = *this;
    return r.invert();
}

bool AcGeMatrix3d::inverse(AcGeMatrix3d& inv, double tol) const {
    if (std::fabs(det()) <= tol)
        return false;
    AcGeMatrix3d r;
    if (!invertSquare<4>(entry, r.entry, 0.0))
        return false;
    inv = r;
    return true;
}

bool AcGeMatrix3d::isSingular(const AcGeTol& tol) const {
    return std::fabs(det()) <= tol.equalVector();
}

AcGeMatrix3d& AcGeMatrix3d::transposeIt() {
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j)
            std::swap(entry[i][j], entry[j][i]);
    return *this;
}

AcGeMatrix3d AcGeMatrix3d::transpose() const {
    AcGeMatrix3d r = *this;
    return r.transposeIt();
}

bool AcGeMatrix3d::isEqualTo(const AcGeMatrix3d& mat, const AcGeTol& tol) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double t = (j == 3 && i < 3) ? tol.equalPoint() : tol.equalVector();
            if (std::fabs(entry[i][j] - mat.entry[i][j]) > t)
                return false;
        }
    return true;
}

bool AcGeMatrix3d::isUniScaledOrtho(const AcGeTol& tol) const {
    return scaledOrtho<3>(entry, true, tol);
}

bool AcGeMatrix3d::isScaledOrtho(const AcGeTol& tol) const {
    return scaledOrtho<3>(entry, false, tol);
}

double AcGeMatrix3d::scale() const {
    double s = 0.0;
    for (int c = 0; c < 3; ++c)
        s = std::max(s, AcGeVector3d(entry[0][c], entry[1][c], entry[2][c]).length());
    return s;
}

double AcGeMatrix3d::det() const {
    return determinant<4>(entry);
}

double AcGeMatrix3d::norm() const {
    double s = 0.0;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            s = std::max(s, std::fabs(entry[i][j]));
    return s;
}

AcGeMatrix3d& AcGeMatrix3d::setTranslation(const AcGeVector3d& vec) {
    entry[0][3] = vec.x;
    entry[1][3] = vec.y;
    entry[2][3] = vec.z;
    return *this;
}

AcGeVector3d AcGeMatrix3d::translation() const {
    return {entry[0][3], entry[1][3], entry[2][3]};
}

AcGeMatrix3d& AcGeMatrix3d::setCoordSystem(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                                           const AcGeVector3d& yAxis, const AcGeVector3d& zAxis) {
    setToIdentity();
    const AcGeVector3d* axes[3] = {&xAxis, &yAxis, &zAxis};
    for (int c = 0; c < 3; ++c) {
        entry[0][c] = axes[c]->x;
        entry[1][c] = axes[c]->y;
        entry[2][c] = axes[c]->z;
    }
    return setTranslation(origin.asVector());
}

void AcGeMatrix3d::getCoordSystem(AcGePoint3d& origin, AcGeVector3d& xAxis, AcGeVector3d& yAxis,
                                  AcGeVector3d& zAxis) const {
    origin.set(entry[0][3], entry[1][3], entry[2][3]);
    xAxis.set(entry[0][0], entry[1][0], entry[2][0]);
    yAxis.set(entry[0][1], entry[1][1], entry[2][1]);
    zAxis.set(entry[0][2], entry[1][2], entry[2][2]);
}

AcGeMatrix3d& AcGeMatrix3d::setToTranslation(const AcGeVector3d& vec) {
    setToIdentity();
    return setTranslation(vec);
}

AcGeMatrix3d& AcGeMatrix3d::setToRotation(double angle, const AcGeVector3d& axis,
                                          const AcGePoint3d& center) {
    setToIdentity();
    double len = axis.length();
    if (len == 0.0)
        return *this;
    AcGeVector3d u = axis / len;
    double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
    entry[0][0] = t * u.x * u.x + c;
    entry[0][1] = t * u.x * u.y - s * u.z;
    entry[0][2] = t * u.x * u.z + s * u.y;
    entry[1][0] = t * u.x * u.y + s * u.z;
    entry[1][1] = t * u.y * u.y + c;
    entry[1][2] = t * u.y * u.z - s * u.x;
    entry[2][0] = t * u.x * u.z - s * u.y;
    entry[2][1] = t * u.y * u.z + s * u.x;
    entry[2][2] = t * u.z * u.z + c;
    // The centre stays where it is.
    AcGeVector3d moved = *this * center.asVector();
    return setTranslation(center.asVector() - moved);
}

AcGeMatrix3d& AcGeMatrix3d::setToScaling(double scaleAll, const AcGePoint3d& center) {
    return setToScaling(AcGeScale3d(scaleAll), center);
}

AcGeMatrix3d& AcGeMatrix3d::setToScaling(const AcGeScale3d& scaleAll, const AcGePoint3d& center) {
    setToIdentity();
    entry[0][0] = scaleAll.sx;
    entry[1][1] = scaleAll.sy;
    entry[2][2] = scaleAll.sz;
    return setTranslation({center.x * (1.0 - scaleAll.sx), center.y * (1.0 - scaleAll.sy),
                           center.z * (1.0 - scaleAll.sz)});
}

AcGeMatrix3d& AcGeMatrix3d::setToMirroring(const AcGePlane& pln) {
    AcGeVector3d n = pln.normal();
    AcGeVector3d o = pln.pointOnPlane().asVector();
    setToIdentity();
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            entry[i][j] -= 2.0 * n[i] * n[j];
    return setTranslation(n * (2.0 * o.dotProduct(n)));
}

AcGeMatrix3d& AcGeMatrix3d::setToMirroring(const AcGePoint3d& pnt) {
    setToIdentity();
    entry[0][0] = entry[1][1] = entry[2][2] = -1.0;
    return setTranslation(pnt.asVector() * 2.0);
}

AcGeMatrix3d& AcGeMatrix3d::setToMirroring(const AcGeLine3d& line) {
    AcGeVector3d d = line.direction();
    AcGeVector3d o = line.pointOnLine().asVector();
    setToIdentity();
    // p' = 2 * (o + d d^T (p - o)) - p
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            entry[i][j] = 2.0 * d[i] * d[j] - (i == j ? 1.0 : 0.0);
    return setTranslation(o * 2.0 - d * (2.0 * d.dotProduct(o)));
}

AcGeMatrix3d& AcGeMatrix3d::setToProjection(const AcGePlane& projectionPlane,
                                            const AcGeVector3d& projectDir) {
    setToIdentity();
    AcGeVector3d n = projectionPlane.normal();
    double dn = projectDir.dotProduct(n);
    if (dn == 0.0)
        return *this;
    AcGeVector3d o = projectionPlane.pointOnPlane().asVector();
    // p' = p - dir * ((p - o).n) / (dir.n)
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            entry[i][j] -= projectDir[i] * n[j] / dn;
    return setTranslation(projectDir * (o.dotProduct(n) / dn));
}

AcGeMatrix3d&
AcGeMatrix3d::setToAlignCoordSys(const AcGePoint3d& fromOrigin, const AcGeVector3d& fromXAxis,
                                 const AcGeVector3d& fromYAxis, const AcGeVector3d& fromZAxis,
                                 const AcGePoint3d& toOrigin, const AcGeVector3d& toXAxis,
                                 const AcGeVector3d& toYAxis, const AcGeVector3d& toZAxis) {
    AcGeMatrix3d from, to;
    from.setCoordSystem(fromOrigin, fromXAxis, fromYAxis, fromZAxis);
    to.setCoordSystem(toOrigin, toXAxis, toYAxis, toZAxis);
    return *this = to * from.inverse();
}

AcGeMatrix3d& AcGeMatrix3d::setToPlaneToWorld(const AcGeVector3d& normal) {
    AcGeVector3d xAxis, yAxis;
    acgeArbitraryAxes(normal, xAxis, yAxis);
    AcGeVector3d n = normal.length() == 0.0 ? AcGeVector3d::kZAxis : normal / normal.length();
    return setCoordSystem(AcGePoint3d::kOrigin, xAxis, yAxis, n);
}

AcGeMatrix3d& AcGeMatrix3d::setToPlaneToWorld(const AcGePlane& plane) {
    // The plane's point nearest to the world origin becomes the origin, as the elevation of a
    // planar entity is measured from the world origin along the normal.
    setToPlaneToWorld(plane.normal());
    return setTranslation(plane.closestPointTo(AcGePoint3d::kOrigin).asVector());
}

AcGeMatrix3d& AcGeMatrix3d::setToWorldToPlane(const AcGeVector3d& normal) {
    setToPlaneToWorld(normal);
    return transposeIt();
}

AcGeMatrix3d& AcGeMatrix3d::setToWorldToPlane(const AcGePlane& plane) {
    setToPlaneToWorld(plane);
    return invert();
}

AcGeMatrix3d AcGeMatrix3d::translation(const AcGeVector3d& vec) {
    return AcGeMatrix3d().setToTranslation(vec);
}

AcGeMatrix3d AcGeMatrix3d::rotation(double angle, const AcGeVector3d& axis,
                                    const AcGePoint3d& center) {
    return AcGeMatrix3d().setToRotation(angle, axis, center);
}

AcGeMatrix3d AcGeMatrix3d::scaling(double scaleAll, const AcGePoint3d& center) {
    return AcGeMatrix3d().setToScaling(scaleAll, center);
}

AcGeMatrix3d AcGeMatrix3d::scaling(const AcGeScale3d& scaleAll, const AcGePoint3d& center) {
    return AcGeMatrix3d().setToScaling(scaleAll, center);
}

AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGePlane& pln) {
    return AcGeMatrix3d().setToMirroring(pln);
}

AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGePoint3d& pnt) {
    return AcGeMatrix3d().setToMirroring(pnt);
}

AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGeLine3d& line) {
    return AcGeMatrix3d().setToMirroring(line);
}

AcGeMatrix3d AcGeMatrix3d::projection(const AcGePlane& projectionPlane,
                                      const AcGeVector3d& projectDir) {
    return AcGeMatrix3d().setToProjection(projectionPlane, projectDir);
}

AcGeMatrix3d AcGeMatrix3d::alignCoordSys(const AcGePoint3d& fromOrigin,
                                         const AcGeVector3d& fromXAxis,
                                         const AcGeVector3d& fromYAxis,
                                         const AcGeVector3d& fromZAxis, const AcGePoint3d& toOrigin,
                                         const AcGeVector3d& toXAxis, const AcGeVector3d& toYAxis,
                                         const AcGeVector3d& toZAxis) {
    return AcGeMatrix3d().setToAlignCoordSys(fromOrigin, fromXAxis, fromYAxis, fromZAxis, toOrigin,
                                             toXAxis, toYAxis, toZAxis);
}

AcGeMatrix3d AcGeMatrix3d::worldToPlane(const AcGeVector3d& normal) {
    return AcGeMatrix3d().setToWorldToPlane(normal);
}

AcGeMatrix3d AcGeMatrix3d::worldToPlane(const AcGePlane& plane) {
    return AcGeMatrix3d().setToWorldToPlane(plane);
}

AcGeMatrix3d AcGeMatrix3d::planeToWorld(const AcGeVector3d& normal) {
    return AcGeMatrix3d().setToPlaneToWorld(normal);
}

AcGeMatrix3d AcGeMatrix3d::planeToWorld(const AcGePlane& plane) {
    return AcGeMatrix3d().setToPlaneToWorld(plane);
}

// ---- AcGeScale3d -----------------------------------------------------------------------------

bool AcGeScale3d::isProportional(const AcGeTol& tol) const {
    return std::fabs(sx - sy) <= tol.equalVector() && std::fabs(sx - sz) <= tol.equalVector();
}

bool AcGeScale3d::isEqualTo(const AcGeScale3d& s, const AcGeTol& tol) const {
    return std::fabs(sx - s.sx) <= tol.equalVector() && std::fabs(sy - s.sy) <= tol.equalVector() &&
           std::fabs(sz - s.sz) <= tol.equalVector();
}

AcGeMatrix3d AcGeScale3d::getMatrix() const {
    return AcGeMatrix3d::scaling(*this);
}

void AcGeScale3d::getMatrix(AcGeMatrix3d& mat) const {
    mat = getMatrix();
}

AcGeScale3d::operator AcGeMatrix3d() const {
    return getMatrix();
}

AcGeScale3d& AcGeScale3d::extractScale(const AcGeMatrix3d& mat) {
    AcGeVector3d c[3];
    for (int i = 0; i < 3; ++i)
        c[i].set(mat.entry[0][i], mat.entry[1][i], mat.entry[2][i]);
    sx = c[0].length();
    sy = c[1].length();
    sz = c[2].length();
    if (c[0].crossProduct(c[1]).dotProduct(c[2]) < 0.0)
        sx = -sx;
    return *this;
}

AcGeScale3d& AcGeScale3d::removeScale(AcGeMatrix3d& mat) {
    extractScale(mat);
    const double f[3] = {sx, sy, sz};
    for (int c = 0; c < 3; ++c) {
        if (f[c] == 0.0)
            continue;
        for (int r = 0; r < 3; ++r)
            mat.entry[r][c] /= f[c];
    }
    return *this;
}
