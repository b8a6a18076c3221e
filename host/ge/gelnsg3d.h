// Line segment of space; parameter 0 at the start, 1 at the end.
#pragma once

#include "gelent3d.h"

class AcGeLineSeg3d : public AcGeLinearEnt3d {
public:
    AcGeLineSeg3d() = default;
    AcGeLineSeg3d(const AcGePoint3d& pnt1, const AcGePoint3d& pnt2)
        : AcGeLinearEnt3d(pnt1, pnt2 - pnt1) {}
    AcGeLineSeg3d(const AcGePoint3d& pnt, const AcGeVector3d& vec) : AcGeLinearEnt3d(pnt, vec) {}

    bool isKindOf(AcGe::EntityId entType) const override {
        return entType == AcGe::kLineSeg3d || AcGeLinearEnt3d::isKindOf(entType);
    }
    AcGe::EntityId type() const override { return AcGe::kLineSeg3d; }
    AcGeEntity3d* copy() const override { return new AcGeLineSeg3d(*this); }

    AcGeLineSeg3d& set(const AcGePoint3d& pnt1, const AcGePoint3d& pnt2);
    AcGeLineSeg3d& set(const AcGePoint3d& pnt, const AcGeVector3d& vec);

    // The plane through the midpoint perpendicular to the segment.
    void getBisector(AcGePlane& plane) const;
    // The point (1 - blendCoeff) * start + blendCoeff * end.
    AcGePoint3d baryComb(double blendCoeff) const { return evalPoint(blendCoeff); }

    AcGePoint3d startPoint() const { return m_pnt; }
    AcGePoint3d midPoint() const { return m_pnt + m_vec * 0.5; }
    AcGePoint3d endPoint() const { return m_pnt + m_vec; }
    using AcGeLinearEnt3d::length;
    double length() const { return m_vec.length(); }

    AcGeCurve3d& reverseParam() override;
    bool hasStartPoint(AcGePoint3d& startPnt) const override;
    bool hasEndPoint(AcGePoint3d& endPnt) const override;

protected:
    double clampParam(double param) const override;
};
