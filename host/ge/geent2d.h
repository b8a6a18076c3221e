// Base of the geometric entities of the plane.
#pragma once

#include "gegbl.h"
#include "gemat2d.h"
#include "gepnt2d.h"
#include "gevec2d.h"

class AcGeLine2d;

class AcGeEntity2d {
public:
    virtual ~AcGeEntity2d() = default;

    virtual bool isKindOf(AcGe::EntityId entType) const { return entType == AcGe::kEntity2d; }
    virtual AcGe::EntityId type() const = 0;
    // A new copy of the entity, owned by the caller.
    virtual AcGeEntity2d* copy() const = 0;

    virtual bool isOn(const AcGePoint2d& pnt, const AcGeTol& tol = AcGeContext::gTol) const = 0;

    virtual AcGeEntity2d& transformBy(const AcGeMatrix2d& xfm) = 0;
    AcGeEntity2d& translateBy(const AcGeVector2d& translateVec);
    AcGeEntity2d& rotateBy(double angle, const AcGePoint2d& wrtPoint = AcGePoint2d::kOrigin);
    AcGeEntity2d& mirror(const AcGeLine2d& line);
    AcGeEntity2d& scaleBy(double scaleFactor, const AcGePoint2d& wrtPoint = AcGePoint2d::kOrigin);

protected:
    AcGeEntity2d() = default;
    AcGeEntity2d(const AcGeEntity2d&) = default;
    AcGeEntity2d& operator=(const AcGeEntity2d&) = default;
};
