// Base of the geometric entities of space.
#pragma once

#include "gegbl.h"
#include "gemat3d.h"
#include "gepnt3d.h"
#include "gevec3d.h"

class AcGePlane;

class AcGeEntity3d {
public:
    virtual ~AcGeEntity3d() = default;

    virtual bool isKindOf(AcGe::EntityId entType) const { return entType == AcGe::kEntity3d; }
    virtual AcGe::EntityId type() const = 0;
    // A new copy of the entity, owned by the caller.
    virtual AcGeEntity3d* copy() const = 0;

    virtual bool isOn(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const = 0;

    virtual AcGeEntity3d& transformBy(const AcGeMatrix3d& xfm) = 0;
    AcGeEntity3d& translateBy(const AcGeVector3d& translateVec);
    AcGeEntity3d& rotateBy(double angle, const AcGeVector3d& vec,
                           const AcGePoint3d& wrtPoint = AcGePoint3d::kOrigin);
    AcGeEntity3d& mirror(const AcGePlane& plane);
    AcGeEntity3d& scaleBy(double scaleFactor, const AcGePoint3d& wrtPoint = AcGePoint3d::kOrigin);

protected:
    AcGeEntity3d() = default;
    AcGeEntity3d(const AcGeEntity3d&) = default;
    AcGeEntity3d& operator=(const AcGeEntity3d&) = default;
};
