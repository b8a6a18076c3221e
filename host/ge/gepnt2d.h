// Point in the plane.
#pragma once

#include "gegbl.h"
#include "gevec2d.h"

class AcGeMatrix2d;
class AcGeLinearEnt2d;
class AcGePoint3d;

class AcGePoint2d {
public:
    constexpr AcGePoint2d() = default;
    constexpr AcGePoint2d(double xx, double yy) : x(xx), y(yy) {}

    static const AcGePoint2d kOrigin;

    friend AcGePoint2d operator*(const AcGeMatrix2d& mat, const AcGePoint2d& pnt);

    AcGePoint2d& setToProduct(const AcGeMatrix2d& mat, const AcGePoint2d& pnt);
    AcGePoint2d& transformBy(const AcGeMatrix2d& leftSide);
    AcGePoint2d& rotateBy(double angle, const AcGePoint2d& wrtPoint = AcGePoint2d::kOrigin);
    AcGePoint2d& mirror(const AcGeLinearEnt2d& line);
    AcGePoint2d& scaleBy(double scaleFactor, const AcGePoint2d& wrtPoint = AcGePoint2d::kOrigin);
    AcGePoint2d& setToSum(const AcGePoint2d& pnt, const AcGeVector2d& vec) {
        x = pnt.x + vec.x;
        y = pnt.y + vec.y;
        return *this;
    }

    AcGePoint2d operator*(double scl) const { return {x * scl, y * scl}; }
    friend AcGePoint2d operator*(double scl, const AcGePoint2d& p) { return p * scl; }
    AcGePoint2d& operator*=(double scl) {
        x *= scl;
        y *= scl;
        return *this;
    }
    AcGePoint2d operator/(double scl) const { return {x / scl, y / scl}; }
    AcGePoint2d& operator/=(double scl) {
        x /= scl;
        y /= scl;
        return *this;
    }
    AcGePoint2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
    AcGePoint2d& operator+=(const AcGeVector2d& v) {
        x += v.x;
        y += v.y;
        return *this;
    }
    AcGePoint2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
    AcGePoint2d& operator-=(const AcGeVector2d& v) {
        x -= v.x;
        y -= v.y;
        return *this;
    }
    AcGeVector2d operator-(const AcGePoint2d& p) const { return {x - p.x, y - p.y}; }
    AcGePoint2d operator-() const { return {-x, -y}; }

    AcGeVector2d asVector() const { return {x, y}; }
    // The point with the given Z (an addition of this host).
    AcGePoint3d convert3d(double z = 0.0) const;

    double distanceTo(const AcGePoint2d& pnt) const;

    bool operator==(const AcGePoint2d& pnt) const { return isEqualTo(pnt); }
    bool operator!=(const AcGePoint2d& pnt) const { return !isEqualTo(pnt); }
    bool isEqualTo(const AcGePoint2d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;

    double operator[](unsigned int i) const { return i == 0 ? x : y; }
    double& operator[](unsigned int i) { return i == 0 ? x : y; }

    AcGePoint2d& set(double xx, double yy) {
        x = xx;
        y = yy;
        return *this;
    }

    double x = 0.0;
    double y = 0.0;
};

inline constexpr AcGePoint2d AcGePoint2d::kOrigin{0.0, 0.0};
