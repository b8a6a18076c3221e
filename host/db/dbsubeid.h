// Sub-entity identifiers: a part of an entity (a face, an edge, a vertex) named by its kind and
// index, and the full path to it through the block references that contain the entity.
//
// The graphics-system marker of a pick names the part that was hit; AcDbEntity's
// getSubentPathsAtGsMarker turns it into paths and subentPtr makes a copy of the part
// (dbsubent.cpp). A light-weight polyline marks its segments with their index + 1, so marker 3 is
// the segment from vertex 2 to vertex 3; lines, arcs and circles are one edge with index 1.
#pragma once

#include "adsdef.h"
#include "dbid.h"

namespace AcDb {
enum SubentType {
    kNullSubentType = 0,
    kFaceSubentType = 1,
    kEdgeSubentType = 2,
    kVertexSubentType = 3,
    kMlineSubentCache = 4,
    kClassSubentType = 5,
    kAxisSubentType = 6,
    kSilhouetteSubentType = 7,
};
} // namespace AcDb

class AcDbSubentId {
public:
    AcDbSubentId() = default;
    AcDbSubentId(AcDb::SubentType type, Adesk::GsMarker index) : m_type(type), m_index(index) {}

    AcDb::SubentType type() const { return m_type; }
    void setType(AcDb::SubentType type) { m_type = type; }
    Adesk::GsMarker index() const { return m_index; }
    void setIndex(Adesk::GsMarker index) { m_index = index; }

    bool operator==(const AcDbSubentId& o) const {
        return m_type == o.m_type && m_index == o.m_index;
    }
    bool operator!=(const AcDbSubentId& o) const { return !(*this == o); }

    static const AcDbSubentId kNull;

private:
    AcDb::SubentType m_type = AcDb::kNullSubentType;
    Adesk::GsMarker m_index = 0;
};

// The ids run from the outermost block reference to the entity itself (the last one).
class AcDbFullSubentPath {
public:
    AcDbFullSubentPath() = default;
    AcDbFullSubentPath(AcDb::SubentType type, Adesk::GsMarker index) : m_sub(type, index) {}
    AcDbFullSubentPath(AcDbObjectId entId, AcDb::SubentType type, Adesk::GsMarker index)
        : m_ids{entId}, m_sub(type, index) {}
    AcDbFullSubentPath(AcDbObjectId entId, AcDbSubentId subId) : m_ids{entId}, m_sub(subId) {}
    AcDbFullSubentPath(const AcDbObjectIdArray& objectIds, AcDbSubentId subId)
        : m_ids(objectIds), m_sub(subId) {}

    void objectIds(AcDbObjectIdArray& objectIds) const { objectIds = m_ids; }
    AcDbObjectIdArray& objectIds() { return m_ids; }
    const AcDbObjectIdArray& objectIds() const { return m_ids; }
    const AcDbSubentId subentId() const { return m_sub; }
    AcDbSubentId& subentId() { return m_sub; }

    bool operator==(const AcDbFullSubentPath& o) const;
    bool operator!=(const AcDbFullSubentPath& o) const { return !(*this == o); }

private:
    AcDbObjectIdArray m_ids;
    AcDbSubentId m_sub;
};
