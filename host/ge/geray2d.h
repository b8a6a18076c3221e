// Ray of the plane: from its start point (parameter 0) on in one direction.
#pragma once

#include "gelent2d.h"

class AcGeRay2d : public AcGeLinearEnt2d {
public:
    AcGeRay2d() = default;
    AcGeRay2d(const AcGePoint2d& pnt, const AcGeVector2d& vec) : AcGeLinearEnt2d(pnt, vec) {}
    AcGeRay2d(const AcGePoint2d& pnt1, const AcGePoint2d& pnt2)
        : AcGeLinearEnt2d(pnt1, pnt2 - pnt1) {}

    bool isKindOf(AcGe::EntityId entType) const override {
        return entType == AcGe::kRay2d || AcGeLinearEnt2d::isKindOf(entType);
    }
    AcGe::EntityId type() const override { return AcGe::kRay2d; }
    AcGeEntity2d* copy() const override { return new AcGeRay2d(*this); }

    AcGeRay2d& set(const AcGePoint2d& pnt, const AcGeVector2d& vec);
    AcGeRay2d& set(const AcGePoint2d& pnt1, const AcGePoint2d& pnt2);

    // A ray cannot run the other way over the same points; it is left unchanged.
    AcGeCurve2d& reverseParam() override { return *this; }
    bool hasStartPoint(AcGePoint2d& startPnt) const override;
    bool hasEndPoint(AcGePoint2d&) const override { return false; }

protected:
    double clampParam(double param) const override { return param < 0.0 ? 0.0 : param; }
};
