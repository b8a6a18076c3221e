// Base of the straight entities of space: lines, rays and segments. Each is a point and a
// vector; the point at parameter t is pointOnLine() + t * (the vector), so a segment runs from
// parameter 0 at its start to 1 at its end.
#pragma once

#include "gecurv3d.h"

class AcGeLine3d;
class AcGePlanarEnt;
class AcGePlane;

class AcGeLinearEnt3d : public AcGeCurve3d {
public:
    bool isKindOf(AcGe::EntityId entType) const override {
        return entType == AcGe::kLinearEnt3d || AcGeCurve3d::isKindOf(entType);
    }

    // The point common to both entities: they are not parallel (tol.equalVector()) and pass
    // within tol.equalPoint() of each other; bounded entities must both hold the point.
    bool intersectWith(const AcGeLinearEnt3d& line, AcGePoint3d& intPt,
                       const AcGeTol& tol = AcGeContext::gTol) const;
    bool intersectWith(const AcGePlanarEnt& plane, AcGePoint3d& intPnt,
                       const AcGeTol& tol = AcGeContext::gTol) const;
    // Intersection of the projections of both entities on the plane along projDir.
    bool projIntersectWith(const AcGeLinearEnt3d& line, const AcGeVector3d& projDir,
                           AcGePoint3d& pntOnThisLine, AcGePoint3d& pntOnOtherLine,
                           const AcGeTol& tol = AcGeContext::gTol) const;

    bool isOn(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const override {
        return AcGeCurve3d::isOn(pnt, tol);
    }
    using AcGeCurve3d::isOn;
    // The entity lies in the plane.
    bool isOn(const AcGePlanarEnt& plane, const AcGeTol& tol = AcGeContext::gTol) const;

    bool isParallelTo(const AcGeLinearEnt3d& line, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isParallelTo(const AcGePlanarEnt& plane, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isPerpendicularTo(const AcGeLinearEnt3d& line,
                           const AcGeTol& tol = AcGeContext::gTol) const;
    bool isPerpendicularTo(const AcGePlanarEnt& plane,
                           const AcGeTol& tol = AcGeContext::gTol) const;
    // Both entities lie on one unbounded line: they are parallel within tol.equalVector() and
    // each one's point lies within tol.equalPoint() of the other's line.
    bool isColinearTo(const AcGeLinearEnt3d& line, const AcGeTol& tol = AcGeContext::gTol) const;

    // The plane through pnt perpendicular to the entity.
    void getPerpPlane(const AcGePoint3d& pnt, AcGePlane& plane) const;
    AcGePoint3d pointOnLine() const { return m_pnt; }
    // Unit vector of the entity's direction.
    AcGeVector3d direction() const;
    // The unbounded line that holds the entity.
    void getLine(AcGeLine3d& line) const;

    AcGePoint3d closestPointTo(const AcGePoint3d& pnt,
                               const AcGeTol& tol = AcGeContext::gTol) const override;
    double paramOf(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const override;
    AcGePoint3d evalPoint(double param) const override { return m_pnt + m_vec * param; }
    double length(double fromParam, double toParam,
                  double tol = AcGeContext::gTol.equalPoint()) const override;
    AcGeEntity3d& transformBy(const AcGeMatrix3d& xfm) override;

protected:
    AcGeLinearEnt3d() = default;
    AcGeLinearEnt3d(const AcGePoint3d& pnt, const AcGeVector3d& vec) : m_pnt(pnt), m_vec(vec) {}
    // The parameter brought into the entity's bounds.
    virtual double clampParam(double param) const = 0;
    // Distance from pnt to the unbounded line.
    double lineDistance(const AcGePoint3d& pnt) const;

    AcGePoint3d m_pnt;
    AcGeVector3d m_vec{1.0, 0.0, 0.0};
};
