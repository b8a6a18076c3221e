// Base of the planar surfaces: an origin and two axes (not necessarily perpendicular or of unit
// length) that give the plane's own 2D coordinates.
#pragma once

#include "geent3d.h"

class AcGeLinearEnt3d;

class AcGePlanarEnt : public AcGeEntity3d {
public:
    bool isKindOf(AcGe::EntityId entType) const override {
        return entType == AcGe::kPlanarEnt || entType == AcGe::kSurface ||
               AcGeEntity3d::isKindOf(entType);
    }

    // The point where the straight entity crosses the plane; none when they are parallel.
    bool intersectWith(const AcGeLinearEnt3d& linEnt, AcGePoint3d& pnt,
                       const AcGeTol& tol = AcGeContext::gTol) const;

    AcGePoint3d closestPointTo(const AcGePoint3d& pnt,
                               const AcGeTol& tol = AcGeContext::gTol) const;
    double distanceTo(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isOn(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const override;

    bool isParallelTo(const AcGeLinearEnt3d& linEnt, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isParallelTo(const AcGePlanarEnt& otherPlnEnt,
                      const AcGeTol& tol = AcGeContext::gTol) const;
    bool isPerpendicularTo(const AcGeLinearEnt3d& linEnt,
                           const AcGeTol& tol = AcGeContext::gTol) const;
    bool isPerpendicularTo(const AcGePlanarEnt& linEnt,
                           const AcGeTol& tol = AcGeContext::gTol) const;
    bool isCoplanarTo(const AcGePlanarEnt& otherPlnEnt,
                      const AcGeTol& tol = AcGeContext::gTol) const;

    void get(AcGePoint3d& origin, AcGeVector3d& uVec, AcGeVector3d& vVec) const;
    void getCoordSystem(AcGePoint3d& origin, AcGeVector3d& axis1, AcGeVector3d& axis2) const {
        get(origin, axis1, axis2);
    }
    AcGePoint3d pointOnPlane() const { return m_origin; }
    // Unit normal: first axis x second axis.
    AcGeVector3d normal() const;

    // The point of the plane with coordinates (u, v) in its axes, and back.
    AcGePoint3d evalPoint(const AcGePoint2d& param) const;
    AcGePoint2d paramOf(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;

    AcGeEntity3d& transformBy(const AcGeMatrix3d& xfm) override;

protected:
    AcGePlanarEnt() = default;

    AcGePoint3d m_origin;
    AcGeVector3d m_uAxis{1.0, 0.0, 0.0};
    AcGeVector3d m_vAxis{0.0, 1.0, 0.0};
};
