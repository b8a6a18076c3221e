// The editor's selection engine: the view that sizes the pick box, hit-testing of entities under a
// point, in a window or crossing it, and what the host remembers of how each member of a
// selection set was picked (for acedSSNameX). The C interface is in acedsel.h; the selection sets
// themselves are those of edentfn.h.
#pragma once

#include "adsdef.h"
#include "dbid.h"
#include "gemat3d.h"
#include "gepnt3d.h"

#include <string>
#include <vector>

class AcDbDatabase;

namespace khost {

class LispValue;

// ---- The view
// Each document has a plan view of its current space: VIEWCTR (its centre, UCS) and VIEWSIZE
// (its height in drawing units) on a screen kScreenPixels pixels high. The pick box is PICKBOX
// pixels on either side of the cursor, so the default view (kDefaultViewSize units high) gives a
// pick radius of PICKBOX (3) drawing units.
constexpr double kScreenPixels = 1000.0;
constexpr double kDefaultViewSize = 1000.0;
// Changes the view of the current document (a height that is not positive is refused).
bool setView(const AcGePoint3d& centerWcs, double height);
double viewSize();
AcGePoint3d viewCenterWcs();
// Half the side of the pick box in drawing units.
double pickRadius();
// VIEWSIZE and VIEWCTR for acedGetVar: false for another name.
bool getViewVariable(const std::wstring& upperName, resbuf* rb);

// ---- Hit-testing
// One entity under a pick: the top-level entity of the space, the innermost entity hit (the same
// one unless the pick went into block references; an attribute of a reference is innermost), the
// references around the innermost entity whose transformations bring it into the world (innermost
// first), their product, and the graphics marker of the part hit (a light-weight polyline's
// segment index + 1, else 0).
struct PickHit {
    AcDbObjectId entity;
    AcDbObjectId leaf;
    std::vector<AcDbObjectId> containers;
    AcGeMatrix3d xform;
    Adesk::GsMarker marker = 0;
    AcGePoint3d point; // the pick point, WCS
};

// Entities of the current space of db whose drawn geometry comes within radius of the point (WCS;
// seen from above, Z ignored), topmost first (the last drawn first). Entities on frozen or off
// layers and invisible ones are not hit.
std::vector<PickHit> hitsAt(AcDbDatabase* db, const AcGePoint3d& pointWcs, double radius);
// Entities of the current space inside the rectangle of two corners (WCS), or with crossing also
// those it crosses; in drawing order.
std::vector<AcDbObjectId> entitiesInWindow(AcDbDatabase* db, const AcGePoint3d& c1,
                                           const AcGePoint3d& c2, bool crossing);
// Entities of the current space on layers that are thawed and unlocked (the ALL of a selection).
std::vector<AcDbObjectId> entitiesOfSpace(AcDbDatabase* db, bool skipLocked);
// Whether an entity of the current space is drawn (not invisible, its layer on and thawed).
bool isDrawn(AcDbObjectId entity);

// A point typed at a pick prompt: "x,y[,z]", "@dx,dy[,dz]" from the last point or "*x,y[,z]" in
// the world, as a UCS point; false for anything else.
bool parsePickPoint(const std::wstring& text, ads_point ucs);

// ---- How members were selected
// Selection methods of acedSSNameX: 0 without a particular method (ALL, L, P, the pickfirst set,
// "X"), 1 a pick, 2 a window, 3 a crossing window.
struct SelectionHow {
    int method = 0;
    PickHit hit;         // a pick
    bool nested = false; // the pick recorded the nested entities (":N")
};
// Remembers how an entity came into the set named by set (replacing what was remembered).
void noteSelection(const ads_name set, AcDbObjectId entity, const SelectionHow& how);
// How an entity of a set was selected (method 0 when nothing was remembered).
SelectionHow selectionHow(const ads_name set, AcDbObjectId entity);

// ---- AutoLISP
// (ssget ...) in the modes that pick: no mode, a point, "W"/"C" with two points, ":S", ":N",
// ":$" with a list of two prompts; the filter is the last argument. A new set, or nil.
LispValue ssgetByPicking(const std::vector<LispValue>& args);

} // namespace khost
