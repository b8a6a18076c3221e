// Point in space.
#pragma once

#include "gegbl.h"
#include "gepnt2d.h"
#include "gevec3d.h"

class AcGeMatrix3d;
class AcGePlanarEnt;
class AcGeLine3d;

class AcGePoint3d {
public:
    constexpr AcGePoint3d() = default;
    constexpr AcGePoint3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
    // The point of the plane with the given coordinates in the plane's own axes.
    AcGePoint3d(const AcGePlanarEnt& pln, const AcGePoint2d& pnt2d);

    static const AcGePoint3d kOrigin;

    friend AcGePoint3d operator*(const AcGeMatrix3d& mat, const AcGePoint3d& pnt);

    AcGePoint3d& setToProduct(const AcGeMatrix3d& mat, const AcGePoint3d& pnt);
    AcGePoint3d& transformBy(const AcGeMatrix3d& leftSide);
    AcGePoint3d& rotateBy(double angle, const AcGeVector3d& vec,
                          const AcGePoint3d& wrtPoint = AcGePoint3d::kOrigin);
    AcGePoint3d& mirror(const AcGePlanarEnt& pln);
    AcGePoint3d& scaleBy(double scaleFactor, const AcGePoint3d& wrtPoint = AcGePoint3d::kOrigin);
    AcGePoint3d& setToSum(const AcGePoint3d& pnt, const AcGeVector3d& vec) {
        x = pnt.x + vec.x;
        y = pnt.y + vec.y;
        z = pnt.z + vec.z;
        return *this;
    }

    // The point's coordinates in the plane's own axes.
    AcGePoint2d convert2d(const AcGePlanarEnt& pln) const;
    // The X and Y of the point (an addition of this host).
    AcGePoint2d convert2d() const { return {x, y}; }

    AcGePoint3d operator*(double scl) const { return {x * scl, y * scl, z * scl}; }
    friend AcGePoint3d operator*(double scl, const AcGePoint3d& p) { return p * scl; }
    AcGePoint3d& operator*=(double scl) {
        x *= scl;
        y *= scl;
        z *= scl;
        return *this;
    }
    AcGePoint3d operator/(double scl) const { return {x / scl, y / scl, z / scl}; }
    AcGePoint3d& operator/=(double scl) {
        x /= scl;
        y /= scl;
        z /= scl;
        return *this;
    }
    AcGePoint3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    AcGePoint3d& operator+=(const AcGeVector3d& v) {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    AcGePoint3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    AcGePoint3d& operator-=(const AcGeVector3d& v) {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    AcGeVector3d operator-(const AcGePoint3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
    AcGePoint3d operator-() const { return {-x, -y, -z}; }

    AcGeVector3d asVector() const { return {x, y, z}; }

    double distanceTo(const AcGePoint3d& pnt) const;

    // Projection on the plane along vec; the point itself when vec is parallel to the plane.
    AcGePoint3d project(const AcGePlanarEnt& pln, const AcGeVector3d& vec) const;
    // Perpendicular projection on the plane.
    AcGePoint3d orthoProject(const AcGePlanarEnt& pln) const;

    bool operator==(const AcGePoint3d& pnt) const { return isEqualTo(pnt); }
    bool operator!=(const AcGePoint3d& pnt) const { return !isEqualTo(pnt); }
    bool isEqualTo(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;

    double operator[](unsigned int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    double& operator[](unsigned int i) { return i == 0 ? x : (i == 1 ? y : z); }

    AcGePoint3d& set(double xx, double yy, double zz) {
        x = xx;
        y = yy;
        z = zz;
        return *this;
    }
    AcGePoint3d& set(const AcGePlanarEnt& pln, const AcGePoint2d& pnt2d);

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

inline constexpr AcGePoint3d AcGePoint3d::kOrigin{0.0, 0.0, 0.0};
