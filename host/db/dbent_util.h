// Internal helpers of the entity classes: coordinate systems of planar entities, angles as the
// filers carry them, names of records, and the path of line and arc pieces that answers the
// parameter and distance queries of curves.
#pragma once

#include "dbimpl.h"

#include "dbent_array.h"
#include "gearc3d.h"
#include "gemat3d.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace khost {

constexpr double kEntPi = 3.14159265358979323846;
constexpr double kEntTwoPi = 2.0 * kEntPi;

// ---- Filing -------------------------------------------------------------------------------------

// File filers carry angles (groups 50-58) in degrees, every other filer in radians.
bool isFileFiler(const AcDbDxfFiler* f);
void writeAngleGroup(AcDbDxfFiler* f, int code, double radians);
double readAngleGroup(const AcDbDxfFiler* f, double value);
// A point without its Z (a vertex of a light-weight polyline).
void write2dPointGroup(AcDbDxfFiler* f, int code, double x, double y);
// The database the filer's references resolve in.
AcDbDatabase* filerDatabase(AcDbDxfFiler* f, const AcDbObject* o);

// Reads the groups of consecutive subclasses with any of the given markers (a first one without
// marker included).
void readSubclasses(AcDbDxfFiler* f, std::initializer_list<const wchar_t*> markers,
                    const std::function<void(const resbuf&)>& take);

// The name of a symbol table record ("" for none).
std::wstring recordNameOf(AcDbObjectId id);
// A text style by name, or null.
AcDbObjectId textStyleByName(AcDbDatabase* db, const ACHAR* name);

// ---- Coordinate systems
// ---------------------------------------------------------------------------

// Exactly the world Z axis: the object coordinate system is the world one.
bool isWorldZ(const AcGeVector3d& n);
// World to the object coordinate system of a planar entity and back (exact for the world Z).
AcGePoint3d wcsToOcs(const AcGeVector3d& normal, const AcGePoint3d& p);
AcGePoint3d ocsToWcs(const AcGeVector3d& normal, const AcGePoint3d& p);
AcGeVector3d wcsToOcs(const AcGeVector3d& normal, const AcGeVector3d& v);
AcGeVector3d ocsToWcs(const AcGeVector3d& normal, const AcGeVector3d& v);
// The X and Y axes of the object coordinate system in world coordinates.
void ocsAxes(const AcGeVector3d& normal, AcGeVector3d& xAxis, AcGeVector3d& yAxis);
// The direction in the plane of the normal at an angle from the object X axis.
AcGeVector3d ocsDirection(const AcGeVector3d& normal, double angle);
// The angle of a world direction in the object coordinate system of the normal.
double ocsAngle(const AcGeVector3d& normal, const AcGeVector3d& dir);
// An angle in [0, 2pi).
double normalizeAngle(double a);
// The image of a normal under a transformation (unchanged when it degenerates).
AcGeVector3d transformNormal(const AcGeMatrix3d& m, const AcGeVector3d& n);
// The linear part scales all directions alike (rotation, uniform scaling, mirroring).
bool isUniformlyScaled(const AcGeMatrix3d& m);
// The uniform scale factor of the linear part.
double uniformScale(const AcGeMatrix3d& m);
// The linear part reverses orientation.
bool isMirroring(const AcGeMatrix3d& m);

// ---- Bulge segments -----------------------------------------------------------------------------

// The circle of a bulge segment from a to b in the plane: centre, radius, start angle and the
// signed included angle (positive counterclockwise). False for a zero bulge or equal ends.
bool bulgeArc(const AcGePoint2d& a, const AcGePoint2d& b, double bulge, AcGePoint2d& center,
              double& radius, double& startAngle, double& sweep);

// ---- Curve paths --------------------------------------------------------------------------------

// One piece of a curve: a straight segment from start to end, or an arc about center from the
// angle a0 by the signed sweep (measured about normal from ref); its parameters run linearly from
// p0 to p1.
struct CurvePiece {
    bool isArc = false;
    AcGePoint3d start, end;
    AcGePoint3d center;
    AcGeVector3d normal{0.0, 0.0, 1.0}, ref{1.0, 0.0, 0.0};
    double radius = 0.0, a0 = 0.0, sweep = 0.0;
    double p0 = 0.0, p1 = 1.0;

    AcGePoint3d pointAtFraction(double f) const;
    double length() const;
    // The fraction of the nearest point (clamped to the piece unless unbounded).
    double closestFraction(const AcGePoint3d& p, bool unbounded = false) const;
};

struct CurvePath {
    std::vector<CurvePiece> pieces;

    void addLine(const AcGePoint3d& a, const AcGePoint3d& b, double p0, double p1);
    void addArc(const AcGePoint3d& center, const AcGeVector3d& normal, const AcGeVector3d& ref,
                double radius, double a0, double sweep, double p0, double p1);
    // A bulge segment of a planar polyline (OCS points at the elevation).
    void addBulge(const AcGeVector3d& normal, double elevation, const AcGePoint2d& a,
                  const AcGePoint2d& b, double bulge, double p0, double p1);

    bool empty() const { return pieces.empty(); }
    double startParam() const { return pieces.front().p0; }
    double endParam() const { return pieces.back().p1; }
    double length() const;
    Acad::ErrorStatus pointAtParam(double param, AcGePoint3d& p) const;
    Acad::ErrorStatus distAtParam(double param, double& dist) const;
    Acad::ErrorStatus paramAtDist(double dist, double& param) const;
    // The nearest point and its parameter; with extend the first and last straight pieces are
    // taken as unbounded.
    void closest(const AcGePoint3d& p, AcGePoint3d& onCurve, double& param,
                 bool extend = false) const;
    // The parameter of a point on the curve; eInvalidInput when it is off the curve.
    Acad::ErrorStatus paramAtPoint(const AcGePoint3d& p, double& param) const;
};

// ---- Texts --------------------------------------------------------------------------------------

// The content of multi-line text split into the chunks of the file format: groups 3 of 250
// characters and a last group 1.
std::vector<std::wstring> mtextChunks(const std::wstring& s);

} // namespace khost
