// Hit-testing for the selection engine: each entity is drawn into simple parts (segments, circular
// arcs, filled boxes of texts, dots) seen from above in world coordinates, and picks, windows and
// crossing windows are tested against those parts.
//
// Block references are drawn through their block definitions (external references through the
// model space of their drawing) with their transformations; the innermost entity hit is kept with
// the chain of references around it. Dimensions are drawn through their anonymous blocks and
// multileaders through their leader lines, doglegs and text, but both count as one entity.
#include "edsel.h"

#include "dbapserv.h"
#include "dbdimension.h"
#include "dbent_complex.h"
#include "dbent_util.h"
#include "dbents.h"
#include "dbhost.h"
#include "dbmleader.h"
#include "dbsymtb.h"
#include "gepnt2d.h"
#include "gevec2d.h"

#include <algorithm>
#include <cmath>

namespace khost {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
// Deeper nesting of references than this is taken for a block that contains itself.
constexpr int kMaxDepth = 32;
// How far rays and construction lines are drawn.
constexpr double kFar = 1.0e7;

using P2 = AcGePoint2d;

struct Prim {
    enum Kind { Seg, Arc, Area, Dot } kind = Seg;
    P2 a, b;                          // Seg: the ends; Dot: a
    P2 c;                             // Arc: centre
    double r = 0.0, a0 = 0.0, sw = 0; // Arc: counterclockwise from a0 by sw (0 < sw <= 2 pi)
    std::vector<P2> poly;             // Area: a closed outline
    Adesk::GsMarker marker = 0;
};

// The parts of one innermost entity.
struct Leaf {
    AcDbObjectId id;
    std::vector<AcDbObjectId> containers; // innermost first
    AcGeMatrix3d xform;
    std::vector<Prim> prims;
};

// ---- Plane geometry -----------------------------------------------------------------------------

double len(double x, double y) {
    return std::sqrt(x * x + y * y);
}
double dist(const P2& p, const P2& q) {
    return len(p.x - q.x, p.y - q.y);
}
double angleIn(double a) {
    a = std::fmod(a, kTwoPi);
    return a < 0.0 ? a + kTwoPi : a;
}

double segDist(const P2& p, const P2& a, const P2& b) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double l2 = dx * dx + dy * dy;
    if (l2 <= 0.0)
        return dist(p, a);
    double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / l2, 0.0, 1.0);
    return len(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

bool arcCovers(const Prim& arc, double angle) {
    if (arc.sw >= kTwoPi - 1e-12)
        return true;
    return angleIn(angle - arc.a0) <= arc.sw + 1e-12;
}

P2 arcPoint(const Prim& arc, double angle) {
    return {arc.c.x + arc.r * std::cos(angle), arc.c.y + arc.r * std::sin(angle)};
}

double arcDist(const P2& p, const Prim& arc) {
    double d = dist(p, arc.c);
    if (d > 0.0 && arcCovers(arc, std::atan2(p.y - arc.c.y, p.x - arc.c.x)))
        return std::fabs(d - arc.r);
    if (d == 0.0 && arc.sw >= kTwoPi - 1e-12)
        return arc.r;
    return std::min(dist(p, arcPoint(arc, arc.a0)), dist(p, arcPoint(arc, arc.a0 + arc.sw)));
}

bool insidePolygon(const P2& p, const std::vector<P2>& poly) {
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const P2& a = poly[i];
        const P2& b = poly[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

double primDist(const P2& p, const Prim& prim) {
    switch (prim.kind) {
    case Prim::Seg:
        return segDist(p, prim.a, prim.b);
    case Prim::Arc:
        return arcDist(p, prim);
    case Prim::Dot:
        return dist(p, prim.a);
    case Prim::Area: {
        if (prim.poly.size() >= 3 && insidePolygon(p, prim.poly))
            return 0.0;
        double best = HUGE_VAL;
        for (size_t i = 0; i < prim.poly.size(); ++i)
            best = std::min(best, segDist(p, prim.poly[i], prim.poly[(i + 1) % prim.poly.size()]));
        return best;
    }
    }
    return HUGE_VAL;
}

struct Rect {
    double x0, y0, x1, y1;
    bool has(const P2& p) const { return p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1; }
    P2 corner(int i) const { return {i == 1 || i == 2 ? x1 : x0, i >= 2 ? y1 : y0}; }
};

double cross(const P2& o, const P2& a, const P2& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool segsMeet(const P2& a, const P2& b, const P2& c, const P2& d) {
    double d1 = cross(c, d, a), d2 = cross(c, d, b), d3 = cross(a, b, c), d4 = cross(a, b, d);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))
        return true;
    auto onSeg = [](const P2& p, const P2& q, const P2& r) {
        return std::min(p.x, q.x) <= r.x && r.x <= std::max(p.x, q.x) &&
               std::min(p.y, q.y) <= r.y && r.y <= std::max(p.y, q.y);
    };
    return (d1 == 0 && onSeg(c, d, a)) || (d2 == 0 && onSeg(c, d, b)) ||
           (d3 == 0 && onSeg(a, b, c)) || (d4 == 0 && onSeg(a, b, d));
}

bool segCrossesRect(const P2& a, const P2& b, const Rect& r) {
    if (r.has(a) || r.has(b))
        return true;
    for (int i = 0; i < 4; ++i)
        if (segsMeet(a, b, r.corner(i), r.corner((i + 1) % 4)))
            return true;
    return false;
}

// The arc meets the segment from p to q.
bool arcMeetsSeg(const Prim& arc, const P2& p, const P2& q) {
    double dx = q.x - p.x, dy = q.y - p.y;
    double fx = p.x - arc.c.x, fy = p.y - arc.c.y;
    double A = dx * dx + dy * dy, B = 2 * (fx * dx + fy * dy),
           C = fx * fx + fy * fy - arc.r * arc.r;
    double disc = B * B - 4 * A * C;
    if (A <= 0.0 || disc < 0.0)
        return false;
    double s = std::sqrt(disc);
    for (double t : {(-B - s) / (2 * A), (-B + s) / (2 * A)}) {
        if (t < 0.0 || t > 1.0)
            continue;
        if (arcCovers(arc, std::atan2(fy + t * dy, fx + t * dx)))
            return true;
    }
    return false;
}

void arcExtents(const Prim& arc, std::vector<P2>& pts) {
    pts.push_back(arcPoint(arc, arc.a0));
    pts.push_back(arcPoint(arc, arc.a0 + arc.sw));
    for (int k = 0; k < 4; ++k) {
        double a = k * kPi / 2;
        if (arcCovers(arc, a))
            pts.push_back(arcPoint(arc, a));
    }
}

bool primInside(const Prim& prim, const Rect& r) {
    switch (prim.kind) {
    case Prim::Seg:
        return r.has(prim.a) && r.has(prim.b);
    case Prim::Dot:
        return r.has(prim.a);
    case Prim::Arc: {
        std::vector<P2> pts;
        arcExtents(prim, pts);
        return std::all_of(pts.begin(), pts.end(), [&](const P2& p) { return r.has(p); });
    }
    case Prim::Area:
        return std::all_of(prim.poly.begin(), prim.poly.end(),
                           [&](const P2& p) { return r.has(p); });
    }
    return false;
}

bool primCrosses(const Prim& prim, const Rect& r) {
    if (primInside(prim, r))
        return true;
    switch (prim.kind) {
    case Prim::Seg:
        return segCrossesRect(prim.a, prim.b, r);
    case Prim::Dot:
        return false;
    case Prim::Arc:
        if (r.has(arcPoint(prim, prim.a0)))
            return true;
        for (int i = 0; i < 4; ++i)
            if (arcMeetsSeg(prim, r.corner(i), r.corner((i + 1) % 4)))
                return true;
        return false;
    case Prim::Area:
        for (size_t i = 0; i < prim.poly.size(); ++i)
            if (segCrossesRect(prim.poly[i], prim.poly[(i + 1) % prim.poly.size()], r))
                return true;
        return prim.poly.size() >= 3 && insidePolygon(r.corner(0), prim.poly);
    }
    return false;
}

// ---- Drawing entities into parts ----------------------------------------------------------------

class Painter {
public:
    Painter(const AcGeMatrix3d& m, std::vector<Prim>& out) : m_m(m), m_out(out) {}

    void setMarker(Adesk::GsMarker marker) { m_marker = marker; }

    P2 at(const AcGePoint3d& p) const {
        AcGePoint3d q = m_m * p;
        return {q.x, q.y};
    }

    void seg(const AcGePoint3d& a, const AcGePoint3d& b) {
        Prim p;
        p.kind = Prim::Seg;
        p.a = at(a);
        p.b = at(b);
        push(std::move(p));
    }

    void dot(const AcGePoint3d& a) {
        Prim p;
        p.kind = Prim::Dot;
        p.a = at(a);
        push(std::move(p));
    }

    void area(const std::vector<AcGePoint3d>& pts) {
        Prim p;
        p.kind = Prim::Area;
        for (const AcGePoint3d& q : pts)
            p.poly.push_back(at(q));
        push(std::move(p));
    }

    // The arc about center in the plane of the unit axes x and y: counterclockwise from the angle
    // a0 by sweep. Seen from above it stays circular under rotations and uniform scaling;
    // otherwise it is drawn as short segments.
    void arc(const AcGePoint3d& center, const AcGeVector3d& x, const AcGeVector3d& y, double r,
             double a0, double sweep) {
        if (sweep <= 0.0)
            return;
        sweep = std::min(sweep, kTwoPi);
        AcGeVector3d u3 = m_m * (x * r), v3 = m_m * (y * r);
        P2 c = at(center);
        double lu = len(u3.x, u3.y), lv = len(v3.x, v3.y);
        double big = std::max(lu, lv);
        if (big <= 1e-12) {
            dot(center);
            return;
        }
        double dotUV = u3.x * v3.x + u3.y * v3.y;
        if (std::fabs(lu - lv) <= 1e-9 * big && std::fabs(dotUV) <= 1e-9 * big * big) {
            Prim p;
            p.kind = Prim::Arc;
            p.c = c;
            p.r = lu;
            p.sw = sweep;
            double base = std::atan2(u3.y, u3.x);
            bool ccw = u3.x * v3.y - u3.y * v3.x > 0.0;
            p.a0 = angleIn(ccw ? base + a0 : base - a0 - sweep);
            push(std::move(p));
            return;
        }
        int n = std::max(8, static_cast<int>(std::ceil(sweep / kTwoPi * 128.0)));
        P2 prev;
        for (int i = 0; i <= n; ++i) {
            double t = a0 + sweep * i / n;
            P2 q(c.x + std::cos(t) * u3.x + std::sin(t) * v3.x,
                 c.y + std::cos(t) * u3.y + std::sin(t) * v3.y);
            if (i > 0) {
                Prim p;
                p.kind = Prim::Seg;
                p.a = prev;
                p.b = q;
                push(std::move(p));
            }
            prev = q;
        }
    }

    // A curve the host answers only by parameters: short segments between the parameters.
    void sampled(const AcDbCurve* c, double from, double to, int n) {
        AcGePoint3d prev;
        for (int i = 0; i <= n; ++i) {
            AcGePoint3d q;
            if (c->getPointAtParam(from + (to - from) * i / n, q) != Acad::eOk)
                return;
            if (i > 0)
                seg(prev, q);
            prev = q;
        }
    }

private:
    void push(Prim&& p) {
        p.marker = m_marker;
        m_out.push_back(std::move(p));
    }
    AcGeMatrix3d m_m;
    std::vector<Prim>& m_out;
    Adesk::GsMarker m_marker = 0;
};

// The box of a multiline text: its insertion point is the attachment point (1 top left ... 9
// bottom right) of a box of the given width and height along dir in the plane of normal.
void mtextBox(Painter& p, const AcGePoint3d& loc, const AcGeVector3d& normal, AcGeVector3d dir,
              int attachment, double w, double h) {
    if (dir.isZeroLength())
        dir = ocsDirection(normal, 0.0);
    dir = dir.normal();
    AcGeVector3d up = normal.normal().crossProduct(dir);
    int col = (std::clamp(attachment, 1, 9) - 1) % 3;
    int row = (std::clamp(attachment, 1, 9) - 1) / 3;
    double left = -0.5 * col * w;
    double top = 0.5 * row * h;
    AcGePoint3d tl = loc + dir * left + up * top;
    p.area({tl, tl + dir * w, tl + dir * w - up * h, tl - up * h});
}

// The size of multiline text contents: the longest line in characters times the height, and the
// lines at the default spacing.
void mtextSize(const std::wstring& contents, double height, double frameWidth, double& w,
               double& h) {
    std::wstring plain = mtextPlainText(contents);
    size_t longest = 0, cur = 0, lines = 1;
    for (wchar_t ch : plain) {
        if (ch == L'\n') {
            ++lines;
            cur = 0;
        } else {
            longest = std::max(longest, ++cur);
        }
    }
    w = static_cast<double>(longest) * height;
    if (frameWidth > 0.0)
        w = std::min(w, frameWidth);
    h = height * (1.0 + (static_cast<double>(lines) - 1.0) * 5.0 / 3.0);
}

struct IntList {
    std::vector<int> v;
    void removeAll() { v.clear(); }
    void append(int i) { v.push_back(i); }
};

void paintFlat(const AcDbEntity* e, const AcGeMatrix3d& m, std::vector<Prim>& out, int depth);

void paintBlockContent(AcDbObjectId blockId, const AcGeMatrix3d& m, std::vector<Prim>& out,
                       int depth) {
    auto* btr = AcDbBlockTableRecord::cast(peekObject(blockId));
    if (!btr || depth > kMaxDepth)
        return;
    AcDbObjectIdArray ids = btr->entityIds();
    for (int i = 0; i < ids.length(); ++i)
        if (auto* child = AcDbEntity::cast(peekObject(ids[i])))
            if (!AcDbAttributeDefinition::cast(child) && child->visibility() != AcDb::kInvisible)
                paintFlat(child, m, out, depth + 1);
}

void paintMLeader(const AcDbMLeader* ml, Painter& p) {
    IntList lines;
    ml->getLeaderLineIndexes(lines);
    for (int line : lines.v) {
        int n = 0;
        if (ml->numVertices(line, n) != Acad::eOk)
            continue;
        AcGePoint3d prev;
        for (int i = 0; i < n; ++i) {
            AcGePoint3d q;
            if (ml->getVertex(line, i, q) != Acad::eOk)
                break;
            if (i > 0)
                p.seg(prev, q);
            prev = q;
        }
    }
    IntList leaders;
    ml->getLeaderIndexes(leaders);
    if (ml->enableDogleg()) {
        for (int leader : leaders.v) {
            IntList ofLeader;
            ml->getLeaderLineIndexes(leader, ofLeader);
            AcGeVector3d dir;
            double length = 0.0;
            if (ofLeader.v.empty() || ml->getDoglegDirection(leader, dir) != Acad::eOk ||
                ml->doglegLength(leader, length) != Acad::eOk || dir.isZeroLength())
                continue;
            AcGePoint3d last;
            if (ml->getLastVertex(ofLeader.v.front(), last) == Acad::eOk)
                p.seg(last, last + dir.normal() * length);
        }
    }
    if (ml->contentType() == AcDbMLeaderStyle::kMTextContent) {
        AcGePoint3d loc;
        if (ml->getTextLocation(loc) == Acad::eOk) {
            double w = 0, h = 0;
            mtextSize(ml->textContents(), ml->textHeight(), ml->textWidth(), w, h);
            mtextBox(p, loc, ml->normal(), ml->textDirection(), ml->textAttachmentPoint(), w, h);
        }
    } else if (ml->contentType() == AcDbMLeaderStyle::kBlockContent) {
        AcGePoint3d pos;
        if (ml->getBlockPosition(pos) == Acad::eOk)
            p.dot(pos);
    }
}

// The parts of an entity that is not a block reference (references are drawn flat here only
// inside dimensions).
void paintFlat(const AcDbEntity* e, const AcGeMatrix3d& m, std::vector<Prim>& out, int depth) {
    Painter p(m, out);
    if (const auto* l = AcDbLine::cast(e)) {
        p.setMarker(1);
        p.seg(l->startPoint(), l->endPoint());
    } else if (const auto* pl = AcDbPolyline::cast(e)) {
        unsigned int n = pl->numVerts();
        unsigned int segs = n < 2 ? 0 : (pl->isClosed() ? n : n - 1);
        if (n == 1) {
            AcGePoint3d q;
            if (pl->getPointAt(0, q) == Acad::eOk)
                p.dot(q);
        }
        for (unsigned int i = 0; i < segs; ++i) {
            p.setMarker(static_cast<Adesk::GsMarker>(i) + 1);
            if (pl->segType(i) == AcDbPolyline::kArc) {
                AcGeCircArc3d arc;
                if (pl->getArcSegAt(i, arc) != Acad::eOk)
                    continue;
                AcGeVector3d x = arc.refVec().normal();
                AcGeVector3d y = arc.normal().normal().crossProduct(x);
                p.arc(arc.center(), x, y, arc.radius(), arc.startAng(),
                      arc.endAng() - arc.startAng());
            } else {
                AcGeLineSeg3d ln;
                if (pl->getLineSegAt(i, ln) == Acad::eOk)
                    p.seg(ln.startPoint(), ln.endPoint());
            }
        }
    } else if (const auto* a = AcDbArc::cast(e)) {
        AcGeVector3d x, y;
        ocsAxes(a->normal(), x, y);
        p.setMarker(1);
        p.arc(a->center(), x, y, a->radius(), a->startAngle(), a->totalAngle());
    } else if (const auto* c = AcDbCircle::cast(e)) {
        AcGeVector3d x, y;
        ocsAxes(c->normal(), x, y);
        p.setMarker(1);
        p.arc(c->center(), x, y, c->radius(), 0.0, kTwoPi);
    } else if (const auto* t = AcDbText::cast(e)) {
        AcGePoint3dArray box;
        if (t->getBoundingPoints(box) == Acad::eOk && box.length() == 4)
            p.area({box[0], box[1], box[3], box[2]});
    } else if (const auto* mt = AcDbMText::cast(e)) {
        double w = mt->actualWidth(), h = mt->actualHeight();
        if (w <= 0.0)
            w = mt->width();
        mtextBox(p, mt->location(), mt->normal(), mt->direction(), mt->attachment(), w, h);
    } else if (const auto* pt = AcDbPoint::cast(e)) {
        p.dot(pt->position());
    } else if (const auto* ray = AcDbRay::cast(e)) {
        AcGeVector3d d = (ray->secondPoint() - ray->basePoint()).normal();
        p.seg(ray->basePoint(), ray->basePoint() + d * kFar);
    } else if (const auto* xl = AcDbXline::cast(e)) {
        AcGeVector3d d = (xl->secondPoint() - xl->basePoint()).normal();
        p.seg(xl->basePoint() - d * kFar, xl->basePoint() + d * kFar);
    } else if (const auto* ml = AcDbMLeader::cast(e)) {
        paintMLeader(ml, p);
    } else if (const auto* dim = AcDbDimension::cast(e)) {
        paintBlockContent(dim->dimBlockId(), m, out, depth);
    } else if (const auto* br = AcDbBlockReference::cast(e)) {
        paintBlockContent(br->blockTableRecord(), m * br->blockTransform(), out, depth);
        AcDbObjectIdArray subs = subEntityIds(br);
        for (int i = 0; i < subs.length(); ++i)
            if (const auto* at = AcDbAttribute::cast(peekObject(subs[i])))
                if (!at->isInvisible())
                    paintFlat(at, m, out, depth);
    } else if (const auto* cv = AcDbCurve::cast(e)) {
        double from = 0, to = 0;
        if (cv->getStartParam(from) != Acad::eOk || cv->getEndParam(to) != Acad::eOk)
            return;
        bool byVertex = AcDb2dPolyline::cast(e) || AcDb3dPolyline::cast(e);
        if (byVertex) {
            for (int i = 0; from + i < to; ++i) {
                p.setMarker(i + 1);
                p.sampled(cv, from + i, std::min(from + i + 1, to), 16);
            }
        } else {
            p.sampled(cv, from, to, 128);
        }
    }
}

// ---- Visibility
// -----------------------------------------------------------------------------------

const AcDbLayerTableRecord* layerOf(const AcDbEntity* e) {
    return AcDbLayerTableRecord::cast(peekObject(e->layerId()));
}

bool shown(const AcDbEntity* e, bool nested) {
    if (e->visibility() == AcDb::kInvisible)
        return false;
    const AcDbLayerTableRecord* layer = layerOf(e);
    if (!layer)
        return true;
    // Inside a block, an entity on layer 0 is drawn on the reference's layer.
    if (nested && std::wstring(layer->name()) == L"0")
        return true;
    return !layer->isFrozen() && !layer->isOff();
}

// ---- Leaves of an entity ------------------------------------------------------------------------

// The transformations of the copies a reference draws (one, or one per cell of an array).
std::vector<AcGeMatrix3d> copiesOf(const AcDbBlockReference* br) {
    AcGeMatrix3d t = br->blockTransform();
    const auto* mi = AcDbMInsertBlock::cast(br);
    if (!mi || (mi->columns() <= 1 && mi->rows() <= 1))
        return {t};
    std::vector<AcGeMatrix3d> out;
    AcGeVector3d x = ocsDirection(br->normal(), br->rotation());
    AcGeVector3d y = br->normal().normal().crossProduct(x);
    for (int r = 0; r < mi->rows(); ++r)
        for (int c = 0; c < mi->columns(); ++c) {
            AcGeMatrix3d shift;
            shift.setToTranslation(x * (c * mi->columnSpacing()) + y * (r * mi->rowSpacing()));
            out.push_back(shift * t);
        }
    return out;
}

// The entities a reference draws: its block's, or for an external reference those of the model
// space of its drawing.
AcDbObjectIdArray contentOf(const AcDbBlockReference* br) {
    auto* btr = AcDbBlockTableRecord::cast(peekObject(br->blockTableRecord()));
    if (!btr)
        return {};
    if (btr->isFromExternalReference()) {
        AcDbDatabase* xdb = btr->xrefDatabase();
        auto* ms =
            xdb ? AcDbBlockTableRecord::cast(peekObject(roleId(xdb, DbRole::ModelSpace))) : nullptr;
        return ms ? ms->entityIds() : AcDbObjectIdArray();
    }
    return btr->entityIds();
}

void collect(AcDbObjectId id, const AcGeMatrix3d& m, const std::vector<AcDbObjectId>& containers,
             int depth, bool nested, std::vector<Leaf>& leaves) {
    const auto* e = AcDbEntity::cast(peekObject(id));
    if (!e || id.isErased() || depth > kMaxDepth)
        return;
    if (nested && !shown(e, true))
        return;
    if (nested) {
        // Attribute definitions of a block are not drawn by its references, except constant ones.
        if (const auto* ad = AcDbAttributeDefinition::cast(e); ad && !ad->isConstant())
            return;
    }
    const auto* br = AcDbBlockReference::cast(e);
    if (!br) {
        Leaf leaf;
        leaf.id = id;
        leaf.containers = containers;
        leaf.xform = m;
        paintFlat(e, m, leaf.prims, depth);
        if (!leaf.prims.empty())
            leaves.push_back(std::move(leaf));
        return;
    }
    std::vector<AcDbObjectId> inner;
    inner.reserve(containers.size() + 1);
    inner.push_back(id);
    inner.insert(inner.end(), containers.begin(), containers.end());
    AcDbObjectIdArray content = contentOf(br);
    for (const AcGeMatrix3d& t : copiesOf(br)) {
        AcGeMatrix3d mm = m * t;
        for (int i = 0; i < content.length(); ++i)
            collect(content[i], mm, inner, depth + 1, true, leaves);
    }
    // Attributes are drawn over the block, in the coordinates of the reference's own space.
    AcDbObjectIdArray subs = subEntityIds(br);
    for (int i = 0; i < subs.length(); ++i) {
        const auto* at = AcDbAttribute::cast(peekObject(subs[i]));
        if (!at || at->isInvisible() || !shown(at, nested))
            continue;
        Leaf leaf;
        leaf.id = subs[i];
        leaf.containers = containers;
        leaf.xform = m;
        paintFlat(at, m, leaf.prims, depth);
        if (!leaf.prims.empty())
            leaves.push_back(std::move(leaf));
    }
}

AcDbObjectIdArray spaceEntities(AcDbDatabase* db) {
    auto* space = db ? AcDbBlockTableRecord::cast(peekObject(db->currentSpaceId())) : nullptr;
    return space ? space->entityIds() : AcDbObjectIdArray();
}

} // namespace

bool isDrawn(AcDbObjectId entity) {
    const auto* e = AcDbEntity::cast(peekObject(entity));
    return e && !entity.isErased() && shown(e, false);
}

std::vector<PickHit> hitsAt(AcDbDatabase* db, const AcGePoint3d& pointWcs, double radius) {
    std::vector<PickHit> hits;
    AcDbObjectIdArray ids = spaceEntities(db);
    P2 p(pointWcs.x, pointWcs.y);
    for (int i = ids.length() - 1; i >= 0; --i) {
        if (!isDrawn(ids[i]))
            continue;
        std::vector<Leaf> leaves;
        collect(ids[i], AcGeMatrix3d::kIdentity, {}, 0, false, leaves);
        // The last drawn leaf that is hit; within it the nearest part gives the marker.
        for (auto leaf = leaves.rbegin(); leaf != leaves.rend(); ++leaf) {
            const Prim* nearest = nullptr;
            double best = HUGE_VAL;
            for (const Prim& prim : leaf->prims) {
                double d = primDist(p, prim);
                if (d < best) {
                    best = d;
                    nearest = &prim;
                }
            }
            if (!nearest || best > radius)
                continue;
            PickHit hit;
            hit.entity = ids[i];
            hit.leaf = leaf->id;
            hit.containers = leaf->containers;
            hit.xform = leaf->xform;
            hit.marker = nearest->marker;
            hit.point = pointWcs;
            hits.push_back(std::move(hit));
            break;
        }
    }
    return hits;
}

std::vector<AcDbObjectId> entitiesInWindow(AcDbDatabase* db, const AcGePoint3d& c1,
                                           const AcGePoint3d& c2, bool crossing) {
    Rect r{std::min(c1.x, c2.x), std::min(c1.y, c2.y), std::max(c1.x, c2.x), std::max(c1.y, c2.y)};
    std::vector<AcDbObjectId> out;
    AcDbObjectIdArray ids = spaceEntities(db);
    for (int i = 0; i < ids.length(); ++i) {
        if (!isDrawn(ids[i]))
            continue;
        std::vector<Leaf> leaves;
        collect(ids[i], AcGeMatrix3d::kIdentity, {}, 0, false, leaves);
        bool any = false, all = true, crosses = false;
        for (const Leaf& leaf : leaves)
            for (const Prim& prim : leaf.prims) {
                any = true;
                all = all && primInside(prim, r);
                crosses = crosses || (crossing && primCrosses(prim, r));
            }
        if (any && (all || crosses))
            out.push_back(ids[i]);
    }
    return out;
}

std::vector<AcDbObjectId> entitiesOfSpace(AcDbDatabase* db, bool skipLocked) {
    std::vector<AcDbObjectId> out;
    AcDbObjectIdArray ids = spaceEntities(db);
    for (int i = 0; i < ids.length(); ++i) {
        const auto* e = AcDbEntity::cast(peekObject(ids[i]));
        if (!e || ids[i].isErased())
            continue;
        const AcDbLayerTableRecord* layer = layerOf(e);
        if (layer && (layer->isFrozen() || (skipLocked && layer->isLocked())))
            continue;
        out.push_back(ids[i]);
    }
    return out;
}

} // namespace khost
