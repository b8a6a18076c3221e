// Unbounded line of space.
#pragma once

#include "gelent3d.h"

class AcGeLine3d : public AcGeLinearEnt3d {
public:
    AcGeLine3d() = default;
    AcGeLine3d(const AcGePoint3d& pnt, const AcGeVector3d& vec) : AcGeLinearEnt3d(pnt, vec) {}
    AcGeLine3d(const AcGePoint3d& pnt1, const AcGePoint3d& pnt2)
        : AcGeLinearEnt3d(pnt1, pnt2 - pnt1) {}

    static const AcGeLine3d kXAxis;
    static const AcGeLine3d kYAxis;
    static const AcGeLine3d kZAxis;

    bool isKindOf(AcGe::EntityId entType) const override {
        return entType == AcGe::kLine3d || AcGeLinearEnt3d::isKindOf(entType);
    }
    AcGe::EntityId type() const override { return AcGe::kLine3d; }
    AcGeEntity3d* copy() const override { return new AcGeLine3d(*this); }

    AcGeLine3d& set(const AcGePoint3d& pnt, const AcGeVector3d& vec);
    AcGeLine3d& set(const AcGePoint3d& pnt1, const AcGePoint3d& pnt2);

    AcGeCurve3d& reverseParam() override;
    bool hasStartPoint(AcGePoint3d&) const override { return false; }
    bool hasEndPoint(AcGePoint3d&) const override { return false; }

protected:
    double clampParam(double param) const override { return param; }
};
