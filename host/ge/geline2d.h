// Unbounded line of the plane.
#pragma once

#include "gelent2d.h"

class AcGeLine2d : public AcGeLinearEnt2d {
public:
    AcGeLine2d() = default;
    AcGeLine2d(const AcGePoint2d& pnt, const AcGeVector2d& vec) : AcGeLinearEnt2d(pnt, vec) {}
    AcGeLine2d(const AcGePoint2d& pnt1, const AcGePoint2d& pnt2)
        : AcGeLinearEnt2d(pnt1, pnt2 - pnt1) {}

    static const AcGeLine2d kXAxis;
    static const AcGeLine2d kYAxis;

    bool isKindOf(AcGe::EntityId entType) const override {
        return entType == AcGe::kLine2d || AcGeLinearEnt2d::isKindOf(entType);
    }
    AcGe::EntityId type() const override { return AcGe::kLine2d; }
    AcGeEntity2d* copy() const override { return new AcGeLine2d(*this); }

    AcGeLine2d& set(const AcGePoint2d& pnt, const AcGeVector2d& vec);
    AcGeLine2d& set(const AcGePoint2d& pnt1, const AcGePoint2d& pnt2);

    AcGeCurve2d& reverseParam() override;
    bool hasStartPoint(AcGePoint2d&) const override { return false; }
    bool hasEndPoint(AcGePoint2d&) const override { return false; }

protected:
    double clampParam(double param) const override { return param; }
};
