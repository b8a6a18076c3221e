// Entity classes. Each entity kind is a class of its own with the host's accessors; its data is
// filed by dxfOutFields/dxfInFields (see the notes at the top of dbmain.h).
#pragma once

#include "dbmain.h"
#include "gemat3d.h"
#include "gepnt3d.h"
#include "gevec3d.h"

// Abstract base of curves.
class AcDbCurve : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbCurve);
    AcDbCurve();
    virtual bool isClosed() const { return false; }
    virtual Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const;
    virtual Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const;
};

class AcDbLine : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDbLine);
    AcDbLine();
    AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end);

    AcGePoint3d startPoint() const { return m_start; }
    Acad::ErrorStatus setStartPoint(const AcGePoint3d& p);
    AcGePoint3d endPoint() const { return m_end; }
    Acad::ErrorStatus setEndPoint(const AcGePoint3d& p);
    double thickness() const { return m_thickness; }
    Acad::ErrorStatus setThickness(double t);
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);

    Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    AcGePoint3d m_start;
    AcGePoint3d m_end;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    double m_thickness = 0.0;
};
