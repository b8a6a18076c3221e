// Circular arc of the plane. Angles are measured from the reference vector, counterclockwise, or
// clockwise for a clockwise arc; the parameter of a point is its angle, and the arc runs from
// startAng() to endAng() >= startAng().
#pragma once

#include "gecurv2d.h"

class AcGeLinearEnt2d;
class AcGeLine2d;

class AcGeCircArc2d : public AcGeCurve2d {
public:
    // The unit circle about the origin.
    AcGeCircArc2d() = default;
    AcGeCircArc2d(const AcGePoint2d& cent, double radius);
    AcGeCircArc2d(const AcGePoint2d& cent, double radius, double startAngle, double endAngle,
                  const AcGeVector2d& refVec = AcGeVector2d::kXAxis, bool isClockWise = false);
    // The arc from startPoint through point to endPoint; clockwise when point lies to the left
    // of the chord. Collinear points give a degenerate arc of radius 0 at the chord's midpoint.
    AcGeCircArc2d(const AcGePoint2d& startPoint, const AcGePoint2d& point,
                  const AcGePoint2d& endPoint);
    // The arc from startPoint to endPoint. With bulgeFlag, bulge is the greatest distance of the
    // arc from the chord; without it, the tangent of a quarter of the included angle (the bulge
    // of a polyline vertex). A positive bulge runs counterclockwise, a negative one clockwise
    // (isClockWise(), angles measured clockwise from the X axis); either way startPoint() and
    // endPoint() are the given points. A zero bulge gives a degenerate arc of radius 0.
    AcGeCircArc2d(const AcGePoint2d& startPoint, const AcGePoint2d& endPoint, double bulge,
                  bool bulgeFlag = true);

    bool isKindOf(AcGe::EntityId entType) const override {
        return entType == AcGe::kCircArc2d || AcGeCurve2d::isKindOf(entType);
    }
    AcGe::EntityId type() const override { return AcGe::kCircArc2d; }
    AcGeEntity2d* copy() const override { return new AcGeCircArc2d(*this); }

    // Points common to the arc and the straight entity: intn is 0, 1 or 2.
    bool intersectWith(const AcGeLinearEnt2d& line, int& intn, AcGePoint2d& p1, AcGePoint2d& p2,
                       const AcGeTol& tol = AcGeContext::gTol) const;
    bool intersectWith(const AcGeCircArc2d& arc, int& intn, AcGePoint2d& p1, AcGePoint2d& p2,
                       const AcGeTol& tol = AcGeContext::gTol) const;
    // The tangent at a point of the arc.
    bool tangent(const AcGePoint2d& pnt, AcGeLine2d& line,
                 const AcGeTol& tol = AcGeContext::gTol) const;
    // The point lies inside the full circle.
    bool isInside(const AcGePoint2d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;

    AcGePoint2d center() const { return m_center; }
    double radius() const { return m_radius; }
    double startAng() const { return m_startAng; }
    double endAng() const { return m_endAng; }
    bool isClockWise() const { return m_clockWise; }
    AcGeVector2d refVec() const { return m_refVec; }
    AcGePoint2d startPoint() const { return evalPoint(m_startAng); }
    AcGePoint2d endPoint() const { return evalPoint(m_endAng); }
    // Point halfway along the arc (an addition of this host).
    AcGePoint2d midPoint() const { return evalPoint(0.5 * (m_startAng + m_endAng)); }

    AcGeCircArc2d& setCenter(const AcGePoint2d& cent);
    AcGeCircArc2d& setRadius(double radius);
    // An end angle below the start angle is raised by whole turns.
    AcGeCircArc2d& setAngles(double startAng, double endAng);
    AcGeCircArc2d& setToComplement();
    AcGeCircArc2d& setRefVec(const AcGeVector2d& vec);
    AcGeCircArc2d& set(const AcGePoint2d& cent, double radius);
    AcGeCircArc2d& set(const AcGePoint2d& cent, double radius, double ang1, double ang2,
                       const AcGeVector2d& refVec = AcGeVector2d::kXAxis, bool isClockWise = false);
    AcGeCircArc2d& set(const AcGePoint2d& startPoint, const AcGePoint2d& pnt,
                       const AcGePoint2d& endPoint);
    AcGeCircArc2d& set(const AcGePoint2d& startPoint, const AcGePoint2d& endPoint, double bulge,
                       bool bulgeFlag = true);

    AcGePoint2d closestPointTo(const AcGePoint2d& pnt,
                               const AcGeTol& tol = AcGeContext::gTol) const override;
    double paramOf(const AcGePoint2d& pnt, const AcGeTol& tol = AcGeContext::gTol) const override;
    AcGePoint2d evalPoint(double param) const override;
    AcGeCurve2d& reverseParam() override;
    bool hasStartPoint(AcGePoint2d& startPnt) const override;
    bool hasEndPoint(AcGePoint2d& endPnt) const override;
    using AcGeCurve2d::length;
    double length(double fromParam, double toParam,
                  double tol = AcGeContext::gTol.equalPoint()) const override;
    AcGeEntity2d& transformBy(const AcGeMatrix2d& xfm) override;

private:
    // The angle of a direction as this arc measures it, in [0, 2pi).
    double angleOfDir(const AcGeVector2d& dir) const;
    // Whether the arc covers the angle, allowing angTol.
    bool coversAngle(double ang, double angTol) const;

    AcGePoint2d m_center;
    double m_radius = 1.0;
    double m_startAng = 0.0;
    double m_endAng = 6.28318530717958647692;
    AcGeVector2d m_refVec{1.0, 0.0};
    bool m_clockWise = false;
};
