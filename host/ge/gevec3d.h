// Vector in space.
#pragma once

#include "gegbl.h"
#include "gevec2d.h"

class AcGeMatrix3d;
class AcGePlanarEnt;

class AcGeVector3d {
public:
    constexpr AcGeVector3d() = default;
    constexpr AcGeVector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
    // The vector 2d.x * (the plane's first axis) + 2d.y * (its second axis).
    AcGeVector3d(const AcGePlanarEnt& pln, const AcGeVector2d& vec2d);

    static const AcGeVector3d kIdentity; // the zero vector
    static const AcGeVector3d kXAxis;
    static const AcGeVector3d kYAxis;
    static const AcGeVector3d kZAxis;

    friend AcGeVector3d operator*(const AcGeMatrix3d& mat, const AcGeVector3d& vec);

    AcGeVector3d& setToProduct(const AcGeMatrix3d& mat, const AcGeVector3d& vec);
    AcGeVector3d& setToProduct(const AcGeVector3d& vec, double s) {
        x = vec.x * s;
        y = vec.y * s;
        z = vec.z * s;
        return *this;
    }
    AcGeVector3d& setToSum(const AcGeVector3d& v1, const AcGeVector3d& v2) {
        x = v1.x + v2.x;
        y = v1.y + v2.y;
        z = v1.z + v2.z;
        return *this;
    }
    AcGeVector3d& transformBy(const AcGeMatrix3d& leftSide);
    // Rotation about the axis through the origin, counterclockwise looking against the axis.
    AcGeVector3d& rotateBy(double ang, const AcGeVector3d& axis);
    // Reflection in the plane through the origin with the given normal.
    AcGeVector3d& mirror(const AcGeVector3d& normalToPlane);
    // The vector's components in the plane's axes.
    AcGeVector2d convert2d(const AcGePlanarEnt& pln) const;

    AcGeVector3d operator*(double scl) const { return {x * scl, y * scl, z * scl}; }
    friend AcGeVector3d operator*(double scl, const AcGeVector3d& v) { return v * scl; }
    AcGeVector3d& operator*=(double scl) {
        x *= scl;
        y *= scl;
        z *= scl;
        return *this;
    }
    AcGeVector3d operator/(double scl) const { return {x / scl, y / scl, z / scl}; }
    AcGeVector3d& operator/=(double scl) {
        x /= scl;
        y /= scl;
        z /= scl;
        return *this;
    }
    AcGeVector3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    AcGeVector3d& operator+=(const AcGeVector3d& v) {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    AcGeVector3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    AcGeVector3d& operator-=(const AcGeVector3d& v) {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    AcGeVector3d operator-() const { return {-x, -y, -z}; }
    AcGeVector3d& negate() {
        x = -x;
        y = -y;
        z = -z;
        return *this;
    }

    // A unit vector perpendicular to this one: the X axis that the arbitrary axis algorithm
    // gives for this vector taken as a normal.
    AcGeVector3d perpVector() const;

    // Angle between the vectors, in [0, pi].
    double angleTo(const AcGeVector3d& vec) const;
    // Angle from this vector to vec, counterclockwise about refVec, in [0, 2pi).
    double angleTo(const AcGeVector3d& vec, const AcGeVector3d& refVec) const;
    // Angle between the projection of this vector on the plane and the plane's first axis.
    double angleOnPlane(const AcGePlanarEnt& pln) const;

    AcGeVector3d normal(const AcGeTol& tol = AcGeContext::gTol) const;
    AcGeVector3d& normalize(const AcGeTol& tol = AcGeContext::gTol);
    double length() const;
    double lengthSqrd() const { return x * x + y * y + z * z; }
    bool isUnitLength(const AcGeTol& tol = AcGeContext::gTol) const;
    bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const;

    bool isParallelTo(const AcGeVector3d& vec, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isCodirectionalTo(const AcGeVector3d& vec, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isPerpendicularTo(const AcGeVector3d& vec, const AcGeTol& tol = AcGeContext::gTol) const;

    double dotProduct(const AcGeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
    AcGeVector3d crossProduct(const AcGeVector3d& v) const {
        return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
    }

    // The projection of this vector on the plane with the given normal.
    AcGeVector3d orthoProject(const AcGeVector3d& planeNormal) const;
    AcGeVector3d orthoProject(const AcGeVector3d& planeNormal, AcGe::ErrorCondition& flag,
                              const AcGeTol& tol = AcGeContext::gTol) const;

    bool operator==(const AcGeVector3d& vec) const { return isEqualTo(vec); }
    bool operator!=(const AcGeVector3d& vec) const { return !isEqualTo(vec); }
    bool isEqualTo(const AcGeVector3d& vec, const AcGeTol& tol = AcGeContext::gTol) const;

    double operator[](unsigned int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    double& operator[](unsigned int i) { return i == 0 ? x : (i == 1 ? y : z); }

    AcGeVector3d& set(double xx, double yy, double zz) {
        x = xx;
        y = yy;
        z = zz;
        return *this;
    }
    // The X and Y of the vector (an addition of this host).
    AcGeVector2d convert2d() const { return {x, y}; }

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

inline constexpr AcGeVector3d AcGeVector3d::kIdentity{0.0, 0.0, 0.0};
inline constexpr AcGeVector3d AcGeVector3d::kXAxis{1.0, 0.0, 0.0};
inline constexpr AcGeVector3d AcGeVector3d::kYAxis{0.0, 1.0, 0.0};
inline constexpr AcGeVector3d AcGeVector3d::kZAxis{0.0, 0.0, 1.0};
