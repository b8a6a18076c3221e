// Circles, arcs, ellipses, splines, rays, construction lines and points.
//
// Points of circles and arcs are world coordinates here and in the object coordinate system of
// their normal in DXF (group 10); ellipses, splines, rays, construction lines and points are world
// coordinates in both. Angles are radians; file filers carry the angle groups (50-58) in degrees.
#pragma once

#include "dbents.h"
#include "dbent_array.h"

class AcDbCircle : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDbCircle);
    AcDbCircle();
    AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);

    AcGePoint3d center() const { return m_center; }
    Acad::ErrorStatus setCenter(const AcGePoint3d& c);
    double radius() const { return m_radius; }
    // eInvalidInput for a radius that is not positive.
    Acad::ErrorStatus setRadius(double r);
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    double thickness() const { return m_thickness; }
    Acad::ErrorStatus setThickness(double t);
    double circumference() const;
    Acad::ErrorStatus setCircumference(double c);
    double diameter() const { return 2.0 * m_radius; }
    Acad::ErrorStatus setDiameter(double d);

    bool isClosed() const override { return true; }
    bool isPeriodic() const override { return true; }
    Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
    // The direction of travel turns: the normal is reversed, the centre and radius stay.
    Acad::ErrorStatus reverseCurve() override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

protected:
    bool getKhostPath(khost::CurvePath& path) const override;
    // Reads the AcDbCircle groups; arcs go on with their own.
    Acad::ErrorStatus readCircleFields(AcDbDxfFiler* pFiler);
    void writeCircleFields(AcDbDxfFiler* pFiler) const;

    AcGePoint3d m_center;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    double m_radius = 1.0;
    double m_thickness = 0.0;
};

class AcDbArc : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDbArc);
    AcDbArc();
    AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle);
    AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle,
            double endAngle);

    AcGePoint3d center() const { return m_center; }
    Acad::ErrorStatus setCenter(const AcGePoint3d& c);
    double radius() const { return m_radius; }
    Acad::ErrorStatus setRadius(double r);
    // Angles from the X axis of the object coordinate system, counterclockwise about the normal.
    double startAngle() const { return m_startAngle; }
    Acad::ErrorStatus setStartAngle(double a);
    double endAngle() const { return m_endAngle; }
    Acad::ErrorStatus setEndAngle(double a);
    // The included angle, in (0, 2pi].
    double totalAngle() const;
    double length() const { return m_radius * totalAngle(); }
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    double thickness() const { return m_thickness; }
    Acad::ErrorStatus setThickness(double t);

    Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
    // The arc runs from its old end to its old start: the normal is reversed and the angles are
    // those of the same points about the reversed normal.
    Acad::ErrorStatus reverseCurve() override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

protected:
    bool getKhostPath(khost::CurvePath& path) const override;

private:
    AcGePoint3d pointAtAngle(double a) const;
    AcGePoint3d m_center;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    double m_radius = 1.0;
    double m_startAngle = 0.0;
    double m_endAngle = 0.0;
    double m_thickness = 0.0;
};

class AcDbEllipse : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDbEllipse);
    AcDbEllipse();
    // The angles are those of the end points measured from the major axis.
    AcDbEllipse(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
                const AcGeVector3d& majorAxis, double radiusRatio, double startAngle = 0.0,
                double endAngle = 6.28318530717958647692);

    AcGePoint3d center() const { return m_center; }
    Acad::ErrorStatus setCenter(const AcGePoint3d& c);
    AcGeVector3d normal() const { return m_normal; }
    // The major axis from the centre to the end of the major axis.
    AcGeVector3d majorAxis() const { return m_major; }
    AcGeVector3d minorAxis() const;
    double majorRadius() const { return m_major.length(); }
    double minorRadius() const { return m_major.length() * m_ratio; }
    Acad::ErrorStatus setMajorRadius(double r);
    Acad::ErrorStatus setMinorRadius(double r);
    // minor / major, in (0, 1].
    double radiusRatio() const { return m_ratio; }
    Acad::ErrorStatus setRadiusRatio(double ratio);
    double startAngle() const { return angleAtParam(m_startParam); }
    Acad::ErrorStatus setStartAngle(double a);
    double endAngle() const { return angleAtParam(m_endParam); }
    Acad::ErrorStatus setEndAngle(double a);
    double startParam() const { return m_startParam; }
    Acad::ErrorStatus setStartParam(double p);
    double endParam() const { return m_endParam; }
    Acad::ErrorStatus setEndParam(double p);
    double paramAtAngle(double angle) const;
    double angleAtParam(double param) const;
    Acad::ErrorStatus get(AcGePoint3d& center, AcGeVector3d& unitNormal, AcGeVector3d& majorAxis,
                          double& radiusRatio, double& startAngle, double& endAngle) const;
    // eInvalidInput for a zero normal or axis, an axis off the plane, or a ratio outside (0, 1].
    Acad::ErrorStatus set(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
                          const AcGeVector3d& majorAxis, double radiusRatio,
                          double startAngle = 0.0, double endAngle = 6.28318530717958647692);
    bool isNull() const { return m_major.isZeroLength(); }

    bool isClosed() const override;
    bool isPeriodic() const override { return isClosed(); }
    Acad::ErrorStatus getStartParam(double& param) const override;
    Acad::ErrorStatus getEndParam(double& param) const override;
    Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
    // The normal is reversed; the parameters become those of the same points.
    Acad::ErrorStatus reverseCurve() override;
    // Rotation, translation, mirroring and uniform scaling.
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

protected:
    // A fine approximation by straight pieces (exact at its parameters).
    bool getKhostPath(khost::CurvePath& path) const override;

private:
    AcGePoint3d m_center;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    AcGeVector3d m_major{1.0, 0.0, 0.0};
    double m_ratio = 1.0;
    double m_startParam = 0.0;
    double m_endParam = 6.28318530717958647692;
};

// A non-uniform rational B-spline with its control points, knots and weights, and the fit data
// it was made from. The curve is evaluated from its control data; a spline that has fit data
// only answers for its end points.
class AcDbSpline : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDbSpline);
    AcDbSpline();
    AcDbSpline(const AcGePoint3dArray& fitPoints, int order = 4, double fitTolerance = 0.0);
    AcDbSpline(const AcGePoint3dArray& fitPoints, const AcGeVector3d& startTangent,
               const AcGeVector3d& endTangent, int order = 4, double fitTolerance = 0.0);
    AcDbSpline(int degree, bool rational, bool closed, bool periodic,
               const AcGePoint3dArray& controlPoints, const AcGeDoubleArray& knots,
               const AcGeDoubleArray& weights, double controlPtTol = 0.0, double knotTol = 0.0);

    int degree() const { return m_degree; }
    Acad::ErrorStatus setDegree(int degree);
    bool isRational() const { return (m_flags & 4) != 0; }
    bool isPlanar() const;
    bool isNull() const { return m_ctrl.isEmpty() && m_fit.isEmpty(); }

    int numControlPoints() const { return m_ctrl.length(); }
    Acad::ErrorStatus getControlPointAt(int index, AcGePoint3d& point) const;
    Acad::ErrorStatus setControlPointAt(int index, const AcGePoint3d& point);
    double weightAt(int index) const;
    Acad::ErrorStatus setWeightAt(int index, double weight);
    Acad::ErrorStatus getNurbsData(int& degree, bool& rational, bool& closed, bool& periodic,
                                   AcGePoint3dArray& controlPoints, AcGeDoubleArray& knots,
                                   AcGeDoubleArray& weights, double& controlPtTol,
                                   double& knotTol) const;
    // eInvalidInput for inconsistent counts (knots = control points + degree + 1, weights none or
    // one per control point).
    Acad::ErrorStatus setNurbsData(int degree, bool rational, bool closed, bool periodic,
                                   const AcGePoint3dArray& controlPoints,
                                   const AcGeDoubleArray& knots, const AcGeDoubleArray& weights,
                                   double controlPtTol = 0.0, double knotTol = 0.0);

    bool hasFitData() const { return !m_fit.isEmpty(); }
    int numFitPoints() const { return m_fit.length(); }
    Acad::ErrorStatus getFitPointAt(int index, AcGePoint3d& point) const;
    Acad::ErrorStatus setFitPointAt(int index, const AcGePoint3d& point);
    Acad::ErrorStatus getFitData(AcGePoint3dArray& fitPoints, int& degree, double& fitTolerance,
                                 bool& tangentsExist, AcGeVector3d& startTangent,
                                 AcGeVector3d& endTangent) const;
    Acad::ErrorStatus setFitData(const AcGePoint3dArray& fitPoints, int degree, double fitTolerance,
                                 const AcGeVector3d& startTangent, const AcGeVector3d& endTangent);
    Acad::ErrorStatus getFitTol(double& tol) const;
    Acad::ErrorStatus setFitTol(double tol);
    Acad::ErrorStatus getFitTangents(AcGeVector3d& startTangent, AcGeVector3d& endTangent) const;
    Acad::ErrorStatus setFitTangents(const AcGeVector3d& startTangent,
                                     const AcGeVector3d& endTangent);
    Acad::ErrorStatus purgeFitData();
    // The normal of a planar spline (kept for the file).
    AcGeVector3d normal() const { return m_normal; }

    bool isClosed() const override { return (m_flags & 1) != 0; }
    bool isPeriodic() const override { return (m_flags & 2) != 0; }
    Acad::ErrorStatus getStartParam(double& param) const override;
    Acad::ErrorStatus getEndParam(double& param) const override;
    Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
    // Control points, weights and fit points in reverse order, knots mirrored, the tangents
    // swapped and turned.
    Acad::ErrorStatus reverseCurve() override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

protected:
    bool getKhostPath(khost::CurvePath& path) const override;

private:
    bool hasControlData() const;
    AcGePoint3d evaluate(double t) const;
    Adesk::Int16 m_flags = 8; // 1 closed, 2 periodic, 4 rational, 8 planar, 16 linear
    int m_degree = 3;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    AcGePoint3dArray m_ctrl;
    AcGeDoubleArray m_knots;
    AcGeDoubleArray m_weights;
    AcGePoint3dArray m_fit;
    AcGeVector3d m_startTangent, m_endTangent;
    double m_knotTol = 1e-10, m_ctrlTol = 1e-10, m_fitTol = 1e-10;
};

// A line from a base point to infinity in one direction.
class AcDbRay : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDbRay);
    AcDbRay();

    AcGePoint3d basePoint() const { return m_base; }
    Acad::ErrorStatus setBasePoint(const AcGePoint3d& p);
    AcGeVector3d unitDir() const { return m_dir; }
    // eInvalidInput for a zero vector; the direction is kept of unit length.
    Acad::ErrorStatus setUnitDir(const AcGeVector3d& v);
    AcGePoint3d secondPoint() const { return m_base + m_dir; }
    Acad::ErrorStatus setSecondPoint(const AcGePoint3d& p);

    Acad::ErrorStatus getStartParam(double& param) const override;
    Acad::ErrorStatus getEndParam(double& param) const override;
    Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
    // eNotApplicable: a ray has no end.
    Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
    Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;
    Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& givenPnt, AcGePoint3d& pointOnCurve,
                                        bool extend = false) const override;
    // eNotApplicable: a ray cannot run the other way from its base point.
    Acad::ErrorStatus reverseCurve() override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

protected:
    AcGePoint3d m_base;
    AcGeVector3d m_dir{1.0, 0.0, 0.0};
};

// A construction line through a base point, infinite both ways.
class AcDbXline : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDbXline);
    AcDbXline();

    AcGePoint3d basePoint() const { return m_base; }
    Acad::ErrorStatus setBasePoint(const AcGePoint3d& p);
    AcGeVector3d unitDir() const { return m_dir; }
    Acad::ErrorStatus setUnitDir(const AcGeVector3d& v);
    AcGePoint3d secondPoint() const { return m_base + m_dir; }
    Acad::ErrorStatus setSecondPoint(const AcGePoint3d& p);

    // eNotApplicable: a construction line has no ends.
    Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
    Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;
    Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& givenPnt, AcGePoint3d& pointOnCurve,
                                        bool extend = false) const override;
    // The direction is turned; the base point stays.
    Acad::ErrorStatus reverseCurve() override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    AcGePoint3d m_base;
    AcGeVector3d m_dir{1.0, 0.0, 0.0};
};

class AcDbPoint : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbPoint);
    AcDbPoint();
    explicit AcDbPoint(const AcGePoint3d& position);

    AcGePoint3d position() const { return m_position; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& p);
    double thickness() const { return m_thickness; }
    Acad::ErrorStatus setThickness(double t);
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    // The angle of the X axis of the coordinate system the point was drawn in.
    double ecsRotation() const { return m_ecsRotation; }
    Acad::ErrorStatus setEcsRotation(double a);

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    AcGePoint3d m_position;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    double m_thickness = 0.0;
    double m_ecsRotation = 0.0;
};
