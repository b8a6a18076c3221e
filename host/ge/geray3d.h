// Ray of space: from its start point (parameter 0) on in one direction.
#pragma once

#include "gelent3d.h"

class AcGeRay3d : public AcGeLinearEnt3d {
public:
    AcGeRay3d() = default;
    AcGeRay3d(const AcGePoint3d& pnt, const AcGeVector3d& vec) : AcGeLinearEnt3d(pnt, vec) {}
    AcGeRay3d(const AcGePoint3d& pnt1, const AcGePoint3d& pnt2)
        : AcGeLinearEnt3d(pnt1, pnt2 - pnt1) {}

    bool isKindOf(AcGe::EntityId entType) const override {
        return entType == AcGe::kRay3d || AcGeLinearEnt3d::isKindOf(entType);
    }
    AcGe::EntityId type() const override { return AcGe::kRay3d; }
    AcGeEntity3d* copy() const override { return new AcGeRay3d(*this); }

    AcGeRay3d& set(const AcGePoint3d& pnt, const AcGeVector3d& vec);
    AcGeRay3d& set(const AcGePoint3d& pnt1, const AcGePoint3d& pnt2);

    // A ray cannot run the other way over the same points; it is left unchanged.
    AcGeCurve3d& reverseParam() override { return *this; }
    bool hasStartPoint(AcGePoint3d& startPnt) const override;
    bool hasEndPoint(AcGePoint3d&) const override { return false; }

protected:
    double clampParam(double param) const override { return param < 0.0 ? 0.0 : param; }
};
