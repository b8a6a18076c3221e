// Base of the straight entities of the plane: lines, rays and segments. Each is a point and a
// vector; the point at parameter t is pointOnLine() + t * (the vector), so a segment runs from
// parameter 0 at its start to 1 at its end.
#pragma once

#include "gecurv2d.h"

class AcGeLine2d;

class AcGeLinearEnt2d : public AcGeCurve2d {
public:
    bool isKindOf(AcGe::EntityId entType) const override {
        return entType == AcGe::kLinearEnt2d || AcGeCurve2d::isKindOf(entType);
    }

    // The point common to both entities. Parallel entities (within tol.equalVector()) have
    // none; for bounded entities the point must lie on both within tol.equalPoint().
    bool intersectWith(const AcGeLinearEnt2d& line, AcGePoint2d& intPnt,
                       const AcGeTol& tol = AcGeContext::gTol) const;
    bool isParallelTo(const AcGeLinearEnt2d& line, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isPerpendicularTo(const AcGeLinearEnt2d& line,
                           const AcGeTol& tol = AcGeContext::gTol) const;
    // Both entities lie on one unbounded line: they are parallel within tol.equalVector() and
    // each one's point lies within tol.equalPoint() of the other's line.
    bool isColinearTo(const AcGeLinearEnt2d& line, const AcGeTol& tol = AcGeContext::gTol) const;

    void getPerpLine(const AcGePoint2d& pnt, AcGeLine2d& perpLine) const;
    AcGePoint2d pointOnLine() const { return m_pnt; }
    // Unit vector of the entity's direction.
    AcGeVector2d direction() const;
    // The unbounded line that holds the entity.
    void getLine(AcGeLine2d& line) const;

    AcGePoint2d closestPointTo(const AcGePoint2d& pnt,
                               const AcGeTol& tol = AcGeContext::gTol) const override;
    double paramOf(const AcGePoint2d& pnt, const AcGeTol& tol = AcGeContext::gTol) const override;
    AcGePoint2d evalPoint(double param) const override { return m_pnt + m_vec * param; }
    double length(double fromParam, double toParam,
                  double tol = AcGeContext::gTol.equalPoint()) const override;
    AcGeEntity2d& transformBy(const AcGeMatrix2d& xfm) override;

protected:
    AcGeLinearEnt2d() = default;
    AcGeLinearEnt2d(const AcGePoint2d& pnt, const AcGeVector2d& vec) : m_pnt(pnt), m_vec(vec) {}
    // The parameter brought into the entity's bounds.
    virtual double clampParam(double param) const = 0;
    // Distance from pnt to the unbounded line.
    double lineDistance(const AcGePoint2d& pnt) const;

    AcGePoint2d m_pnt;
    AcGeVector2d m_vec{1.0, 0.0};
};
