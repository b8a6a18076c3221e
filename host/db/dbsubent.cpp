// Sub-entities of entities: the paths under a graphics marker and copies of single parts.
//
// Edges are what the selection of the editor hands out: a light-weight polyline's segment i has
// the marker i + 1 and is copied as a line or an arc; a line, an arc or a circle is one edge
// (marker 1) copied whole. Other entities have no sub-entities here (eNotApplicable).
#include "dbsubeid.h"

#include "dbent_util.h"
#include "dbents.h"

#include <cmath>

const AcDbSubentId AcDbSubentId::kNull;

bool AcDbFullSubentPath::operator==(const AcDbFullSubentPath& o) const {
    if (m_sub != o.m_sub || m_ids.length() != o.m_ids.length())
        return false;
    for (int i = 0; i < m_ids.length(); ++i)
        if (m_ids[i] != o.m_ids[i])
            return false;
    return true;
}

namespace {

// The number of edges of an entity, 0 for one without edges.
int edgeCount(const AcDbEntity* e) {
    if (const AcDbPolyline* pl = AcDbPolyline::cast(e)) {
        unsigned int n = pl->numVerts();
        if (n < 2)
            return 0;
        return static_cast<int>(pl->isClosed() ? n : n - 1);
    }
    if (AcDbLine::cast(e) || AcDbArc::cast(e) || AcDbCircle::cast(e))
        return 1;
    return 0;
}

AcDbEntity* polylineSegment(const AcDbPolyline* pl, unsigned int index) {
    switch (pl->segType(index)) {
    case AcDbPolyline::kLine:
    case AcDbPolyline::kCoincident: {
        AcGeLineSeg3d seg;
        if (pl->getLineSegAt(index, seg) != Acad::eOk)
            return nullptr;
        auto* line = new AcDbLine(seg.startPoint(), seg.endPoint());
        line->setNormal(pl->normal());
        line->setThickness(pl->thickness());
        return line;
    }
    case AcDbPolyline::kArc: {
        AcGeCircArc3d arc;
        if (pl->getArcSegAt(index, arc) != Acad::eOk)
            return nullptr;
        // The arc runs counterclockwise about its own normal from its start to its end.
        AcGeVector3d n = arc.normal();
        double a0 = khost::ocsAngle(n, arc.startPoint() - arc.center());
        double a1 = khost::ocsAngle(n, arc.endPoint() - arc.center());
        auto* out = new AcDbArc(arc.center(), n, arc.radius(), a0, a1);
        out->setThickness(pl->thickness());
        return out;
    }
    default:
        return nullptr;
    }
}

AcDbEntity* wholeCopy(const AcDbEntity* e) {
    if (const AcDbLine* l = AcDbLine::cast(e)) {
        auto* out = new AcDbLine(l->startPoint(), l->endPoint());
        out->setNormal(l->normal());
        out->setThickness(l->thickness());
        return out;
    }
    if (const AcDbArc* a = AcDbArc::cast(e)) {
        auto* out =
            new AcDbArc(a->center(), a->normal(), a->radius(), a->startAngle(), a->endAngle());
        out->setThickness(a->thickness());
        return out;
    }
    if (const AcDbCircle* c = AcDbCircle::cast(e)) {
        auto* out = new AcDbCircle(c->center(), c->normal(), c->radius());
        out->setThickness(c->thickness());
        return out;
    }
    return nullptr;
}

} // namespace

Acad::ErrorStatus AcDbEntity::getSubentPathsAtGsMarker(AcDb::SubentType type,
                                                       Adesk::GsMarker gsMark, const AcGePoint3d&,
                                                       const AcGeMatrix3d&, int& numPaths,
                                                       AcDbFullSubentPath*& subentPaths,
                                                       int numInserts,
                                                       AcDbObjectId* entAndInsertStack) const {
    numPaths = 0;
    subentPaths = nullptr;
    int edges = edgeCount(this);
    if (edges == 0)
        return Acad::eNotApplicable;
    if (type != AcDb::kEdgeSubentType)
        return Acad::eWrongSubentityType;
    if (gsMark < 1 || gsMark > edges)
        return Acad::eInvalidInput;
    // The path runs from the outermost reference to this entity.
    AcDbObjectIdArray ids;
    if (entAndInsertStack && numInserts > 0) {
        for (int i = numInserts; i >= 1; --i)
            ids.append(entAndInsertStack[i]);
    }
    ids.append(objectId());
    subentPaths = new AcDbFullSubentPath[1];
    subentPaths[0] = AcDbFullSubentPath(ids, AcDbSubentId(AcDb::kEdgeSubentType, gsMark));
    numPaths = 1;
    return Acad::eOk;
}

AcDbEntity* AcDbEntity::subentPtr(const AcDbFullSubentPath& id) const {
    const AcDbSubentId sub = id.subentId();
    if (sub.type() != AcDb::kEdgeSubentType || sub.index() < 1 || sub.index() > edgeCount(this))
        return nullptr;
    if (!id.objectIds().isEmpty() && !objectId().isNull() && id.objectIds().last() != objectId())
        return nullptr;
    AcDbEntity* part = nullptr;
    if (const AcDbPolyline* pl = AcDbPolyline::cast(this))
        part = polylineSegment(pl, static_cast<unsigned int>(sub.index() - 1));
    else
        part = wholeCopy(this);
    if (part)
        part->setPropertiesFrom(this);
    return part;
}
