// Coordinate systems: WCS, the current UCS, the display and an entity's ECS.
#include "acedads.h"
#include "dbapserv.h"
#include "dbhost.h"
#include "dbraw.h"
#include "edhost.h"
#include "gepnt3d.h"
#include "gevec3d.h"
#include "edinternal.h"

#include "acutads.h"

#include <cmath>
#include <cstdint>

namespace khost {
namespace {

struct Frame {
    double o[3] = {0, 0, 0};
    double x[3] = {1, 0, 0};
    double y[3] = {0, 1, 0};
    double z[3] = {0, 0, 1};
};

void cross(const double a[3], const double b[3], double out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

bool normalize(double v[3]) {
    double len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (len < 1e-12)
        return false;
    for (int i = 0; i < 3; ++i)
        v[i] /= len;
    return true;
}

double dot(const double a[3], const double b[3]) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// Model space is being drawn in with TILEMODE 1, or with TILEMODE 0 in a floating viewport.
bool inModelSpace(const AcDbDatabase* db) {
    return db->tilemode() || currentSession().paperCvport != 1;
}

Frame ucsFrame() {
    Frame f;
    const AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db)
        return f;
    bool model = inModelSpace(db);
    AcGePoint3d o = model ? db->ucsorg() : db->pucsorg();
    AcGeVector3d x = model ? db->ucsxdir() : db->pucsxdir();
    AcGeVector3d y = model ? db->ucsydir() : db->pucsydir();
    double xs[3] = {x.x, x.y, x.z}, ys[3] = {y.x, y.y, y.z};
    if (!normalize(xs) || !normalize(ys))
        return f;
    double zs[3];
    cross(xs, ys, zs);
    if (!normalize(zs))
        return f;
    cross(zs, xs, ys); // square the Y axis up should the stored one be slightly off
    f.o[0] = o.x;
    f.o[1] = o.y;
    f.o[2] = o.z;
    for (int i = 0; i < 3; ++i) {
        f.x[i] = xs[i];
        f.y[i] = ys[i];
        f.z[i] = zs[i];
    }
    return f;
}

// The arbitrary axis algorithm of the drawing format: the ECS of an extrusion direction.
bool ecsFrame(const double normal[3], Frame& f) {
    double n[3] = {normal[0], normal[1], normal[2]};
    if (!normalize(n))
        return false;
    const double wy[3] = {0, 1, 0}, wz[3] = {0, 0, 1};
    double ax[3];
    if (std::fabs(n[0]) < 1.0 / 64 && std::fabs(n[1]) < 1.0 / 64)
        cross(wy, n, ax);
    else
        cross(wz, n, ax);
    normalize(ax);
    double ay[3];
    cross(n, ax, ay);
    normalize(ay);
    f = Frame{};
    for (int i = 0; i < 3; ++i) {
        f.x[i] = ax[i];
        f.y[i] = ay[i];
        f.z[i] = n[i];
    }
    return true;
}

void toWcs(const Frame& f, const double in[3], double out[3], bool disp) {
    double r[3];
    for (int i = 0; i < 3; ++i)
        r[i] = (disp ? 0.0 : f.o[i]) + in[0] * f.x[i] + in[1] * f.y[i] + in[2] * f.z[i];
    out[0] = r[0];
    out[1] = r[1];
    out[2] = r[2];
}

void fromWcs(const Frame& f, const double in[3], double out[3], bool disp) {
    double d[3];
    for (int i = 0; i < 3; ++i)
        d[i] = in[i] - (disp ? 0.0 : f.o[i]);
    out[0] = dot(d, f.x);
    out[1] = dot(d, f.y);
    out[2] = dot(d, f.z);
}

// The extrusion direction of an entity whose points are kept in its ECS (planar entities);
// others keep WCS points and give the world Z.
bool entityEcs(const std::int64_t name[2], double normal[3]) {
    AcDbObjectId id;
    if (acdbGetObjectId(id, name) != Acad::eOk)
        return false;
    AcDbObject* obj = peekObject(id);
    if (!obj || !obj->isKindOf(AcDbEntity::desc()))
        return false;
    normal[0] = normal[1] = 0.0;
    normal[2] = 1.0;
    static const wchar_t* const planar[] = {
        L"CIRCLE",     L"ARC",   L"TEXT",  L"ATTRIB", L"ATTDEF",    L"SHAPE",    L"INSERT",
        L"LWPOLYLINE", L"SOLID", L"TRACE", L"HATCH",  L"DIMENSION", L"POLYLINE", L"ARC_DIMENSION"};
    std::wstring dxf = khostDxfName(obj);
    bool isPlanar = false;
    for (const wchar_t* n : planar)
        isPlanar = isPlanar || dxf == n;
    if (!isPlanar)
        return true;
    RbChainFiler filer(obj->database());
    obj->dxfOutFields(&filer);
    resbuf* chain = filer.takeChain();
    for (const resbuf* rb = chain; rb; rb = rb->rbnext)
        if (rb->restype == 210)
            for (int i = 0; i < 3; ++i)
                normal[i] = rb->resval.rpoint[i];
    acutRelRb(chain);
    return true;
}

// The frame a result buffer names; false for an invalid one.
bool frameOf(const resbuf* rb, Frame& f) {
    if (!rb)
        return false;
    switch (rb->restype) {
    case RTSHORT:
        switch (rb->resval.rint) {
        case 0:
            f = Frame{};
            return true;
        case 1:
        case 2: // the display is a plan view of the current UCS
        case 3: // paper space display: one to one with the display
            f = ucsFrame();
            return true;
        default:
            return false;
        }
    case RT3DPOINT:
    case RTPOINT:
        return ecsFrame(rb->resval.rpoint, f);
    case RTENAME:
        return entityEcs(rb->resval.rlname, f.z) && ecsFrame(f.z, f);
    default:
        return false;
    }
}

} // namespace

void ucsToWcs(const ads_point in, ads_point out, bool disp) {
    toWcs(ucsFrame(), in, out, disp);
}

void wcsToUcs(const ads_point in, ads_point out, bool disp) {
    fromWcs(ucsFrame(), in, out, disp);
}

} // namespace khost

int acedTrans(const ads_point pt, const resbuf* from, const resbuf* to, int disp,
              ads_point result) {
    if (!pt || !result)
        return RTERROR;
    khost::Frame f, t;
    if (!khost::frameOf(from, f) || !khost::frameOf(to, t))
        return RTERROR;
    ads_point w;
    khost::toWcs(f, pt, w, disp != 0);
    khost::fromWcs(t, w, result, disp != 0);
    return RTNORM;
}
