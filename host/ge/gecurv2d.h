// Base of the curves of the plane.
#pragma once

#include "geent2d.h"

class AcGeCurve2d : public AcGeEntity2d {
public:
    bool isKindOf(AcGe::EntityId entType) const override {
        return entType == AcGe::kCurve2d || AcGeEntity2d::isKindOf(entType);
    }

    // The point of the curve nearest to pnt.
    virtual AcGePoint2d closestPointTo(const AcGePoint2d& pnt,
                                       const AcGeTol& tol = AcGeContext::gTol) const = 0;
    double distanceTo(const AcGePoint2d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;

    // The parameter of the curve's point nearest to pnt.
    virtual double paramOf(const AcGePoint2d& pnt,
                           const AcGeTol& tol = AcGeContext::gTol) const = 0;
    virtual AcGePoint2d evalPoint(double param) const = 0;

    // The point lies within tol.equalPoint() of the curve.
    bool isOn(const AcGePoint2d& pnt, const AcGeTol& tol = AcGeContext::gTol) const override;
    bool isOn(const AcGePoint2d& pnt, double& param, const AcGeTol& tol = AcGeContext::gTol) const;

    virtual AcGeCurve2d& reverseParam() = 0;
    virtual bool hasStartPoint(AcGePoint2d& startPnt) const = 0;
    virtual bool hasEndPoint(AcGePoint2d& endPnt) const = 0;
    // Length of the curve between two parameters.
    virtual double length(double fromParam, double toParam,
                          double tol = AcGeContext::gTol.equalPoint()) const = 0;
};
