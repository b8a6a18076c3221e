// Line segment of the plane; parameter 0 at the start, 1 at the end.
#pragma once

#include "gelent2d.h"

class AcGeLineSeg2d : public AcGeLinearEnt2d {
public:
    AcGeLineSeg2d() = default;
    AcGeLineSeg2d(const AcGePoint2d& pnt1, const AcGePoint2d& pnt2)
        : AcGeLinearEnt2d(pnt1, pnt2 - pnt1) {}
    AcGeLineSeg2d(const AcGePoint2d& pnt, const AcGeVector2d& vec) : AcGeLinearEnt2d(pnt, vec) {}

    bool isKindOf(AcGe::EntityId entType) const override {
        return entType == AcGe::kLineSeg2d || AcGeLinearEnt2d::isKindOf(entType);
    }
    AcGe::EntityId type() const override { return AcGe::kLineSeg2d; }
    AcGeEntity2d* copy() const override { return new AcGeLineSeg2d(*this); }

    AcGeLineSeg2d& set(const AcGePoint2d& pnt1, const AcGePoint2d& pnt2);
    AcGeLineSeg2d& set(const AcGePoint2d& pnt, const AcGeVector2d& vec);

    // The perpendicular bisector.
    void getBisector(AcGeLine2d& line) const;
    // The point (1 - blendCoeff) * start + blendCoeff * end.
    AcGePoint2d baryComb(double blendCoeff) const { return evalPoint(blendCoeff); }

    AcGePoint2d startPoint() const { return m_pnt; }
    AcGePoint2d midPoint() const { return m_pnt + m_vec * 0.5; }
    AcGePoint2d endPoint() const { return m_pnt + m_vec; }
    using AcGeLinearEnt2d::length;
    double length() const { return m_vec.length(); }

    AcGeCurve2d& reverseParam() override;
    bool hasStartPoint(AcGePoint2d& startPnt) const override;
    bool hasEndPoint(AcGePoint2d& endPnt) const override;

protected:
    double clampParam(double param) const override;
};
