// Unbounded plane.
#pragma once

#include "geplanar.h"

class AcGeLine3d;

class AcGePlane : public AcGePlanarEnt {
public:
    static const AcGePlane kXYPlane;
    static const AcGePlane kYZPlane;
    static const AcGePlane kZXPlane;

    // The XY plane.
    AcGePlane() = default;
    // The plane through origin with the given normal; its axes follow the arbitrary axis
    // algorithm.
    AcGePlane(const AcGePoint3d& origin, const AcGeVector3d& normal);
    AcGePlane(const AcGePoint3d& pntU, const AcGePoint3d& org, const AcGePoint3d& pntV);
    AcGePlane(const AcGePoint3d& org, const AcGeVector3d& uAxis, const AcGeVector3d& vAxis);
    // The plane a*x + b*y + c*z + d = 0.
    AcGePlane(double a, double b, double c, double d);

    bool isKindOf(AcGe::EntityId entType) const override {
        return entType == AcGe::kPlane || AcGePlanarEnt::isKindOf(entType);
    }
    AcGe::EntityId type() const override { return AcGe::kPlane; }
    AcGeEntity3d* copy() const override { return new AcGePlane(*this); }

    // Distance along the normal, positive on the side the normal points to.
    double signedDistanceTo(const AcGePoint3d& pnt) const;

    using AcGePlanarEnt::intersectWith;
    bool intersectWith(const AcGePlane& otherPln, AcGeLine3d& resultLine,
                       const AcGeTol& tol = AcGeContext::gTol) const;

    AcGePlane& set(const AcGePoint3d& pnt, const AcGeVector3d& normal);
    AcGePlane& set(const AcGePoint3d& pntU, const AcGePoint3d& org, const AcGePoint3d& pntV);
    AcGePlane& set(double a, double b, double c, double d);
    AcGePlane& set(const AcGePoint3d& org, const AcGeVector3d& uAxis, const AcGeVector3d& vAxis);

    void getCoefficients(double& a, double& b, double& c, double& d) const;
};
