// Internal helpers of the entity classes.
#include "dbent_util.h"

#include "gemat3d.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace khost {

// ---- Filing -------------------------------------------------------------------------------------

bool isFileFiler(const AcDbDxfFiler* f) {
    return f->filerType() == AcDb::kFileFiler;
}

void writeAngleGroup(AcDbDxfFiler* f, int code, double radians) {
    double v = isFileFiler(f) ? radians * 180.0 / kEntPi : radians;
    f->writeDouble(static_cast<AcDb::DxfCode>(code), v);
}

double readAngleGroup(const AcDbDxfFiler* f, double value) {
    return isFileFiler(f) ? value * kEntPi / 180.0 : value;
}

void write2dPointGroup(AcDbDxfFiler* f, int code, double x, double y) {
    const double p[3] = {x, y, -0.0};
    f->writePoint3d(static_cast<AcDb::DxfCode>(code), p);
}

AcDbDatabase* filerDatabase(AcDbDxfFiler* f, const AcDbObject* o) {
    if (AcDbDatabase* db = f->database())
        return db;
    return lookupDatabase(o);
}

void readSubclasses(AcDbDxfFiler* f, std::initializer_list<const wchar_t*> markers,
                    const std::function<void(const resbuf&)>& take) {
    for (;;) {
        readSubclass(f, take);
        bool more = false;
        for (const wchar_t* m : markers)
            if (f->atSubclassData(m)) {
                more = true;
                break;
            }
        if (!more)
            return;
    }
}

std::wstring recordNameOf(AcDbObjectId id) {
    auto* r = AcDbSymbolTableRecord::cast(peekObject(id));
    return r ? std::wstring(r->name()) : std::wstring();
}

AcDbObjectId textStyleByName(AcDbDatabase* db, const ACHAR* name) {
    if (!db || !name || !*name)
        return AcDbObjectId::kNull;
    return findRecord(db, DbRole::TextStyleTable, name);
}

// ---- Coordinate systems
// ---------------------------------------------------------------------------

bool isWorldZ(const AcGeVector3d& n) {
    return n.x == 0.0 && n.y == 0.0 && n.z > 0.0;
}

AcGePoint3d wcsToOcs(const AcGeVector3d& normal, const AcGePoint3d& p) {
    if (isWorldZ(normal))
        return p;
    return AcGeMatrix3d::worldToPlane(normal) * p;
}

AcGePoint3d ocsToWcs(const AcGeVector3d& normal, const AcGePoint3d& p) {
    if (isWorldZ(normal))
        return p;
    return AcGeMatrix3d::planeToWorld(normal) * p;
}

AcGeVector3d wcsToOcs(const AcGeVector3d& normal, const AcGeVector3d& v) {
    if (isWorldZ(normal))
        return v;
    return AcGeMatrix3d::worldToPlane(normal) * v;
}

AcGeVector3d ocsToWcs(const AcGeVector3d& normal, const AcGeVector3d& v) {
    if (isWorldZ(normal))
        return v;
    return AcGeMatrix3d::planeToWorld(normal) * v;
}

void ocsAxes(const AcGeVector3d& normal, AcGeVector3d& xAxis, AcGeVector3d& yAxis) {
    if (isWorldZ(normal)) {
        xAxis = AcGeVector3d(1.0, 0.0, 0.0);
        yAxis = AcGeVector3d(0.0, 1.0, 0.0);
        return;
    }
    acgeArbitraryAxes(normal, xAxis, yAxis);
}

AcGeVector3d ocsDirection(const AcGeVector3d& normal, double angle) {
    AcGeVector3d x, y;
    ocsAxes(normal, x, y);
    return x * std::cos(angle) + y * std::sin(angle);
}

double ocsAngle(const AcGeVector3d& normal, const AcGeVector3d& dir) {
    AcGeVector3d x, y;
    ocsAxes(normal, x, y);
    return normalizeAngle(std::atan2(dir.dotProduct(y), dir.dotProduct(x)));
}

double normalizeAngle(double a) {
    if (!std::isfinite(a))
        return 0.0;
    a = std::fmod(a, kEntTwoPi);
    if (a < 0.0)
        a += kEntTwoPi;
    if (a >= kEntTwoPi)
        a = 0.0;
    return a;
}

AcGeVector3d transformNormal(const AcGeMatrix3d& m, const AcGeVector3d& n) {
    AcGeVector3d x, y;
    ocsAxes(n, x, y);
    // The image of the plane's axes keeps the plane; its orientation follows the normal's image.
    AcGeVector3d nx = m * x, ny = m * y, nn = m * n;
    AcGeVector3d r = nx.crossProduct(ny);
    if (r.isZeroLength())
        return n;
    if (r.dotProduct(nn) < 0.0)
        r = -r;
    r = r.normal();
    // Keep the world Z exact so that entities in the world plane stay there.
    if (std::fabs(r.x) < 1e-14 && std::fabs(r.y) < 1e-14)
        return AcGeVector3d(0.0, 0.0, r.z > 0.0 ? 1.0 : -1.0);
    return r;
}

bool isUniformlyScaled(const AcGeMatrix3d& m) {
    return m.isUniScaledOrtho();
}

double uniformScale(const AcGeMatrix3d& m) {
    AcGeVector3d x = m * AcGeVector3d(1.0, 0.0, 0.0);
    return x.length();
}

bool isMirroring(const AcGeMatrix3d& m) {
    double d = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
               m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
               m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    return d < 0.0;
}

// ---- Bulge segments -----------------------------------------------------------------------------

bool bulgeArc(const AcGePoint2d& a, const AcGePoint2d& b, double bulge, AcGePoint2d& center,
              double& radius, double& startAngle, double& sweep) {
    if (bulge == 0.0)
        return false;
    AcGeVector2d chord = b - a;
    double c = chord.length();
    if (c == 0.0)
        return false;
    AcGeVector2d d = chord / c;
    AcGeVector2d left(-d.y, d.x);
    double h = c * (1.0 - bulge * bulge) / (4.0 * bulge);
    AcGePoint2d mid = a + chord * 0.5;
    center = mid + left * h;
    radius = c * (1.0 + bulge * bulge) / (4.0 * std::fabs(bulge));
    startAngle = std::atan2(a.y - center.y, a.x - center.x);
    sweep = 4.0 * std::atan(bulge);
    return true;
}

// ---- Curve paths --------------------------------------------------------------------------------

AcGePoint3d CurvePiece::pointAtFraction(double f) const {
    if (!isArc)
        return start + (end - start) * f;
    double ang = a0 + sweep * f;
    AcGeVector3d y = normal.crossProduct(ref);
    return center + (ref * std::cos(ang) + y * std::sin(ang)) * radius;
}

double CurvePiece::length() const {
    if (!isArc)
        return start.distanceTo(end);
    return radius * std::fabs(sweep);
}

double CurvePiece::closestFraction(const AcGePoint3d& p, bool unbounded) const {
    if (!isArc) {
        AcGeVector3d v = end - start;
        double l2 = v.lengthSqrd();
        if (l2 == 0.0)
            return 0.0;
        double f = (p - start).dotProduct(v) / l2;
        return unbounded ? f : std::clamp(f, 0.0, 1.0);
    }
    if (sweep == 0.0)
        return 0.0;
    AcGeVector3d y = normal.crossProduct(ref);
    AcGeVector3d w = p - center;
    double px = w.dotProduct(ref), py = w.dotProduct(y);
    if (px == 0.0 && py == 0.0)
        return 0.0;
    double ang = std::atan2(py, px);
    // The angle measured along the sweep from a0, in [0, 2pi).
    double rel = sweep > 0.0 ? normalizeAngle(ang - a0) : normalizeAngle(a0 - ang);
    double span = std::fabs(sweep);
    if (rel <= span)
        return rel / span;
    // Outside the arc: the nearer end.
    AcGePoint3d s = pointAtFraction(0.0), e = pointAtFraction(1.0);
    return p.distanceTo(s) <= p.distanceTo(e) ? 0.0 : 1.0;
}

void CurvePath::addLine(const AcGePoint3d& a, const AcGePoint3d& b, double p0, double p1) {
    CurvePiece c;
    c.start = a;
    c.end = b;
    c.p0 = p0;
    c.p1 = p1;
    pieces.push_back(c);
}

void CurvePath::addArc(const AcGePoint3d& center, const AcGeVector3d& normal,
                       const AcGeVector3d& ref, double radius, double a0, double sweep, double p0,
                       double p1) {
    CurvePiece c;
    c.isArc = true;
    c.center = center;
    c.normal = normal;
    c.ref = ref;
    c.radius = radius;
    c.a0 = a0;
    c.sweep = sweep;
    c.p0 = p0;
    c.p1 = p1;
    c.start = c.pointAtFraction(0.0);
    c.end = c.pointAtFraction(1.0);
    pieces.push_back(c);
}

void CurvePath::addBulge(const AcGeVector3d& normal, double elevation, const AcGePoint2d& a,
                         const AcGePoint2d& b, double bulge, double p0, double p1) {
    AcGePoint2d c;
    double r, a0, sweep;
    if (!bulgeArc(a, b, bulge, c, r, a0, sweep)) {
        addLine(ocsToWcs(normal, AcGePoint3d(a.x, a.y, elevation)),
                ocsToWcs(normal, AcGePoint3d(b.x, b.y, elevation)), p0, p1);
        return;
    }
    AcGeVector3d x, y;
    ocsAxes(normal, x, y);
    addArc(ocsToWcs(normal, AcGePoint3d(c.x, c.y, elevation)), x.crossProduct(y), x, r, a0, sweep,
           p0, p1);
    // Exact ends.
    pieces.back().start = ocsToWcs(normal, AcGePoint3d(a.x, a.y, elevation));
    pieces.back().end = ocsToWcs(normal, AcGePoint3d(b.x, b.y, elevation));
}

double CurvePath::length() const {
    double l = 0.0;
    for (const CurvePiece& c : pieces)
        l += c.length();
    return l;
}

namespace {
// The piece holding a parameter (the last one whose start is at or below it).
size_t pieceAt(const std::vector<CurvePiece>& pieces, double param) {
    size_t lo = 0, hi = pieces.size();
    while (hi - lo > 1) {
        size_t mid = (lo + hi) / 2;
        if (pieces[mid].p0 <= param)
            lo = mid;
        else
            hi = mid;
    }
    return lo;
}
double paramTol(const CurvePath& p) {
    return 1e-9 * std::max(1.0, std::fabs(p.endParam() - p.startParam()));
}
double fractionOf(const CurvePiece& c, double param) {
    return c.p1 == c.p0 ? 0.0 : (param - c.p0) / (c.p1 - c.p0);
}
} // namespace

Acad::ErrorStatus CurvePath::pointAtParam(double param, AcGePoint3d& p) const {
    if (pieces.empty())
        return Acad::eDegenerateGeometry;
    double tol = paramTol(*this);
    if (param < startParam() - tol || param > endParam() + tol)
        return Acad::eInvalidInput;
    const CurvePiece& c = pieces[pieceAt(pieces, param)];
    double f = std::clamp(fractionOf(c, param), 0.0, 1.0);
    p = f == 0.0 ? c.start : (f == 1.0 ? c.end : c.pointAtFraction(f));
    return Acad::eOk;
}

Acad::ErrorStatus CurvePath::distAtParam(double param, double& dist) const {
    if (pieces.empty())
        return Acad::eDegenerateGeometry;
    double tol = paramTol(*this);
    if (param < startParam() - tol || param > endParam() + tol)
        return Acad::eInvalidInput;
    size_t k = pieceAt(pieces, param);
    dist = 0.0;
    for (size_t i = 0; i < k; ++i)
        dist += pieces[i].length();
    dist += std::clamp(fractionOf(pieces[k], param), 0.0, 1.0) * pieces[k].length();
    return Acad::eOk;
}

Acad::ErrorStatus CurvePath::paramAtDist(double dist, double& param) const {
    if (pieces.empty())
        return Acad::eDegenerateGeometry;
    double total = length();
    double tol = 1e-9 * std::max(1.0, total);
    if (dist < -tol || dist > total + tol)
        return Acad::eInvalidInput;
    double acc = 0.0;
    for (const CurvePiece& c : pieces) {
        double l = c.length();
        if (dist <= acc + l || &c == &pieces.back()) {
            double f = l > 0.0 ? std::clamp((dist - acc) / l, 0.0, 1.0) : 0.0;
            param = c.p0 + (c.p1 - c.p0) * f;
            return Acad::eOk;
        }
        acc += l;
    }
    param = endParam();
    return Acad::eOk;
}

void CurvePath::closest(const AcGePoint3d& p, AcGePoint3d& onCurve, double& param,
                        bool extend) const {
    double best = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < pieces.size(); ++i) {
        const CurvePiece& c = pieces[i];
        double f = c.closestFraction(p);
        if (extend && !c.isArc) {
            double fu = c.closestFraction(p, true);
            if ((i == 0 && fu < 0.0) || (i + 1 == pieces.size() && fu > 1.0))
                f = fu;
        }
        AcGePoint3d q = c.pointAtFraction(f);
        double d = q.distanceTo(p);
        if (d < best) {
            best = d;
            onCurve = q;
            param = c.p0 + (c.p1 - c.p0) * f;
        }
    }
}

Acad::ErrorStatus CurvePath::paramAtPoint(const AcGePoint3d& p, double& param) const {
    if (pieces.empty())
        return Acad::eDegenerateGeometry;
    AcGePoint3d q;
    double t = 0.0;
    closest(p, q, t);
    if (!q.isEqualTo(p))
        return Acad::eInvalidInput;
    param = t;
    return Acad::eOk;
}

// ---- Texts --------------------------------------------------------------------------------------

std::vector<std::wstring> mtextChunks(const std::wstring& s) {
    std::vector<std::wstring> out;
    size_t pos = 0;
    while (s.size() - pos >= 250) {
        out.push_back(s.substr(pos, 250));
        pos += 250;
    }
    out.push_back(s.substr(pos));
    return out;
}

} // namespace khost
