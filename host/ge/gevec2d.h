// Vector in the plane.
#pragma once

#include "gegbl.h"

class AcGeMatrix2d;

class AcGeVector2d {
public:
    constexpr AcGeVector2d() = default;
    constexpr AcGeVector2d(double xx, double yy) : x(xx), y(yy) {}

    static const AcGeVector2d kIdentity; // the zero vector
    static const AcGeVector2d kXAxis;
    static const AcGeVector2d kYAxis;

    friend AcGeVector2d operator*(const AcGeMatrix2d& mat, const AcGeVector2d& vec);

    AcGeVector2d& setToProduct(const AcGeMatrix2d& mat, const AcGeVector2d& vec);
    AcGeVector2d& transformBy(const AcGeMatrix2d& leftSide);
    AcGeVector2d& rotateBy(double angle);
    AcGeVector2d& mirror(const AcGeVector2d& line);
    AcGeVector2d& setToSum(const AcGeVector2d& v1, const AcGeVector2d& v2) {
        x = v1.x + v2.x;
        y = v1.y + v2.y;
        return *this;
    }

    AcGeVector2d operator*(double scl) const { return {x * scl, y * scl}; }
    friend AcGeVector2d operator*(double scl, const AcGeVector2d& vec) { return vec * scl; }
    AcGeVector2d& operator*=(double scl) {
        x *= scl;
        y *= scl;
        return *this;
    }
    AcGeVector2d operator/(double scl) const { return {x / scl, y / scl}; }
    AcGeVector2d& operator/=(double scl) {
        x /= scl;
        y /= scl;
        return *this;
    }
    AcGeVector2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
    AcGeVector2d& operator+=(const AcGeVector2d& v) {
        x += v.x;
        y += v.y;
        return *this;
    }
    AcGeVector2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
    AcGeVector2d& operator-=(const AcGeVector2d& v) {
        x -= v.x;
        y -= v.y;
        return *this;
    }
    AcGeVector2d operator-() const { return {-x, -y}; }
    AcGeVector2d& negate() {
        x = -x;
        y = -y;
        return *this;
    }

    // Counterclockwise rotation by a right angle.
    AcGeVector2d perpVector() const { return {-y, x}; }

    // Angle from the X axis, in [0, 2pi).
    double angle() const;
    // Counterclockwise angle from this vector to vec, in [0, 2pi).
    double angleTo(const AcGeVector2d& vec) const;

    AcGeVector2d normal(const AcGeTol& tol = AcGeContext::gTol) const;
    AcGeVector2d& normalize(const AcGeTol& tol = AcGeContext::gTol);
    double length() const;
    double lengthSqrd() const { return x * x + y * y; }
    bool isUnitLength(const AcGeTol& tol = AcGeContext::gTol) const;
    bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const;

    bool isParallelTo(const AcGeVector2d& vec, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isCodirectionalTo(const AcGeVector2d& vec, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isPerpendicularTo(const AcGeVector2d& vec, const AcGeTol& tol = AcGeContext::gTol) const;

    double dotProduct(const AcGeVector2d& v) const { return x * v.x + y * v.y; }
    // The Z component of the cross product of the two vectors taken in the XY plane.
    double crossProduct(const AcGeVector2d& v) const { return x * v.y - y * v.x; }

    bool operator==(const AcGeVector2d& vec) const { return isEqualTo(vec); }
    bool operator!=(const AcGeVector2d& vec) const { return !isEqualTo(vec); }
    bool isEqualTo(const AcGeVector2d& vec, const AcGeTol& tol = AcGeContext::gTol) const;

    double operator[](unsigned int i) const { return i == 0 ? x : y; }
    double& operator[](unsigned int i) { return i == 0 ? x : y; }

    AcGeVector2d& set(double xx, double yy) {
        x = xx;
        y = yy;
        return *this;
    }

    double x = 0.0;
    double y = 0.0;
};

inline constexpr AcGeVector2d AcGeVector2d::kIdentity{0.0, 0.0};
inline constexpr AcGeVector2d AcGeVector2d::kXAxis{1.0, 0.0};
inline constexpr AcGeVector2d AcGeVector2d::kYAxis{0.0, 1.0};
