// Circular arc of space: a centre, a unit normal, a unit reference vector in the arc's plane and a
// radius. Angles are measured from the reference vector counterclockwise about the normal; the
// parameter of a point is its angle, and the arc runs from startAng() to endAng() >= startAng().
#pragma once

#include "gecurv3d.h"

class AcGeLinearEnt3d;
class AcGePlane;

class AcGeCircArc3d : public AcGeCurve3d {
public:
    // The unit circle about the origin in the XY plane.
    AcGeCircArc3d() = default;
    AcGeCircArc3d(const AcGePoint3d& cent, const AcGeVector3d& nrm, double radius);
    AcGeCircArc3d(const AcGePoint3d& cent, const AcGeVector3d& nrm, const AcGeVector3d& refVec,
                  double radius, double startAngle = 0.0, double endAngle = 6.28318530717958647692);
    // The arc from startPoint through pnt to endPoint.
    AcGeCircArc3d(const AcGePoint3d& startPoint, const AcGePoint3d& pnt,
                  const AcGePoint3d& endPoint);

    bool isKindOf(AcGe::EntityId entType) const override {
        return entType == AcGe::kCircArc3d || AcGeCurve3d::isKindOf(entType);
    }
    AcGe::EntityId type() const override { return AcGe::kCircArc3d; }
    AcGeEntity3d* copy() const override { return new AcGeCircArc3d(*this); }

    // Points common to the arc and a straight entity in its plane: intn is 0, 1 or 2.
    bool intersectWith(const AcGeLinearEnt3d& line, int& intn, AcGePoint3d& p1, AcGePoint3d& p2,
                       const AcGeTol& tol = AcGeContext::gTol) const;
    // The point lies in the arc's plane inside the full circle.
    bool isInside(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;
    void getPlane(AcGePlane& plane) const;

    AcGePoint3d center() const { return m_center; }
    AcGeVector3d normal() const { return m_normal; }
    AcGeVector3d refVec() const { return m_refVec; }
    double radius() const { return m_radius; }
    double startAng() const { return m_startAng; }
    double endAng() const { return m_endAng; }
    AcGePoint3d startPoint() const { return evalPoint(m_startAng); }
    AcGePoint3d endPoint() const { return evalPoint(m_endAng); }

    AcGeCircArc3d& setCenter(const AcGePoint3d& cent);
    // refVec is made perpendicular to the normal and of unit length.
    AcGeCircArc3d& setAxes(const AcGeVector3d& normal, const AcGeVector3d& refVec);
    AcGeCircArc3d& setRadius(double radius);
    // An end angle below the start angle is raised by whole turns.
    AcGeCircArc3d& setAngles(double startAngle, double endAngle);
    AcGeCircArc3d& set(const AcGePoint3d& cent, const AcGeVector3d& nrm, double radius);
    AcGeCircArc3d& set(const AcGePoint3d& cent, const AcGeVector3d& nrm, const AcGeVector3d& refVec,
                       double radius, double startAngle, double endAngle);
    AcGeCircArc3d& set(const AcGePoint3d& startPoint, const AcGePoint3d& pnt,
                       const AcGePoint3d& endPoint);

    AcGePoint3d closestPointTo(const AcGePoint3d& pnt,
                               const AcGeTol& tol = AcGeContext::gTol) const override;
    double paramOf(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const override;
    AcGePoint3d evalPoint(double param) const override;
    AcGeCurve3d& reverseParam() override;
    bool hasStartPoint(AcGePoint3d& startPnt) const override;
    bool hasEndPoint(AcGePoint3d& endPnt) const override;
    using AcGeCurve3d::length;
    double length(double fromParam, double toParam,
                  double tol = AcGeContext::gTol.equalPoint()) const override;
    // Uniform scaling, rotation, translation and mirroring keep the arc an arc.
    AcGeEntity3d& transformBy(const AcGeMatrix3d& xfm) override;

private:
    bool coversAngle(double ang, double angTol) const;

    AcGePoint3d m_center;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    AcGeVector3d m_refVec{1.0, 0.0, 0.0};
    double m_radius = 1.0;
    double m_startAng = 0.0;
    double m_endAng = 6.28318530717958647692;
};

// A full circle (an addition of this host): a circular arc made over the whole turn.
class AcGeCircle : public AcGeCircArc3d {
public:
    AcGeCircle() = default;
    AcGeCircle(const AcGePoint3d& cent, const AcGeVector3d& nrm, double radius)
        : AcGeCircArc3d(cent, nrm, radius) {}
    AcGeEntity3d* copy() const override { return new AcGeCircle(*this); }
};
