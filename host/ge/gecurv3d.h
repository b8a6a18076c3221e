// Base of the curves of space.
#pragma once

#include "geent3d.h"

class AcGeCurve3d : public AcGeEntity3d {
public:
    bool isKindOf(AcGe::EntityId entType) const override {
        return entType == AcGe::kCurve3d || AcGeEntity3d::isKindOf(entType);
    }

    // The point of the curve nearest to pnt.
    virtual AcGePoint3d closestPointTo(const AcGePoint3d& pnt,
                                       const AcGeTol& tol = AcGeContext::gTol) const = 0;
    double distanceTo(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;

    // The parameter of the curve's point nearest to pnt.
    virtual double paramOf(const AcGePoint3d& pnt,
                           const AcGeTol& tol = AcGeContext::gTol) const = 0;
    virtual AcGePoint3d evalPoint(double param) const = 0;

    // The point lies within tol.equalPoint() of the curve.
    bool isOn(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const override;
    bool isOn(const AcGePoint3d& pnt, double& param, const AcGeTol& tol = AcGeContext::gTol) const;

    virtual AcGeCurve3d& reverseParam() = 0;
    virtual bool hasStartPoint(AcGePoint3d& startPnt) const = 0;
    virtual bool hasEndPoint(AcGePoint3d& endPnt) const = 0;
    // Length of the curve between two parameters.
    virtual double length(double fromParam, double toParam,
                          double tol = AcGeContext::gTol.equalPoint()) const = 0;
};
