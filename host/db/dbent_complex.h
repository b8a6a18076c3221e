// Complex entities: entities that own sub-entities (a block reference its attributes, an old
// style polyline its vertices) followed by an end-of-sequence marker (SEQEND).
//
// Ownership
//   A sub-entity appended to an owner that is in a database is added to that database at once,
//   owned by the owner (its ownerId), and the owner gets its end-of-sequence marker with the
//   first one. A sub-entity appended to an owner that is not in a database stays with the owner
//   (deleted with it) until the owner is added, and is then added and closed. Erasing the owner
//   erases its sub-entities and its marker.
//
// Hooks of the DXF reader and writer
//   - The reader links sub-entities to their owner as their fields are read through a file
//     filer: an ATTRIB, VERTEX or SEQEND belongs to the INSERT (with group 66 set) or POLYLINE
//     read before it, whatever owner the file names (other writers name the block, files before
//     R13 none); the sub-entity's owner is set to it before dxfInFields returns.
//   - The writer writes a complex entity's sub-entities in the order of subEntityIds (which is
//     their handle order unless vertices were inserted), then the marker.
//   - POLYLINE, VERTEX and INSERT records do not say their class by their type alone:
//     dxfEntityClass chooses it from their group 70 and 71 values.
#pragma once

#include "dbmain.h"

#include <vector>

class AcDbObjectIterator;

namespace khost {
struct DbStub;
struct ComplexAccess;

// The sub-entities of one owner and its end-of-sequence marker.
class SubEntities {
public:
    SubEntities() = default;
    SubEntities(const SubEntities&) = delete;
    SubEntities& operator=(const SubEntities&) = delete;
    ~SubEntities();

    // Appends a new entity (index -1) or inserts it before position index.
    Acad::ErrorStatus add(AcDbEntity* owner, AcDbEntity* sub, AcDbObjectId& id, int index = -1);
    // The owner was added to a database: the kept sub-entities follow it.
    void ownerAdded(AcDbEntity* owner);
    // The owner was erased or unerased.
    void setErased(bool erased);
    // Links a sub-entity already in the database (a reader); ignores one linked last already.
    void link(DbStub* sub);
    void linkEnd(DbStub* marker) { m_end = marker; }
    // Resident sub-entities and kept ones, in order; erased ones only on request.
    std::vector<AcDbEntity*> entities(bool includeErased = false) const;
    AcDbObjectIdArray ids(bool includeErased = false) const;
    int count(bool includeErased = false) const;
    // The position of a resident sub-entity, -1 when it is not one of them.
    int indexOf(AcDbObjectId id) const;
    AcDbObjectId endId() const;
    bool hasEnd() const;
    // A new iterator over the sub-entities.
    AcDbObjectIterator* newIterator() const;

private:
    void makeEnd(AcDbEntity* owner);
    std::vector<DbStub*> m_stubs;
    std::vector<AcDbEntity*> m_kept; // appended while the owner was not in a database
    DbStub* m_end = nullptr;
};

// ---- Hooks of the DXF reader and writer
// -----------------------------------------------------------

// Links a sub-entity (an attribute, a vertex or an end-of-sequence marker) to the complex entity
// that owns it. eWrongObjectType when the owner does not take such sub-entities.
Acad::ErrorStatus linkSubEntity(AcDbObjectId owner, AcDbObjectId sub);
// While a file is read: a complex entity whose sub-entities follow it (an INSERT with group 66
// set, a POLYLINE), or none (an INSERT without attributes).
void noteComplexRead(AcDbEntity* owner, bool subEntitiesFollow);
// While a file is read: a sub-entity just read belongs to the complex entity read before it
// (files of other writers give sub-entities the block as owner, files before R13 no owner), or
// else to the owner it names. The end-of-sequence marker ends the sequence.
void attachReadSubEntity(AcDbEntity* sub, AcDbDxfFiler* f);
// The sub-entities of a complex entity in order, its end-of-sequence marker last (empty for
// other entities). Erased sub-entities are left out.
AcDbObjectIdArray subEntityIds(const AcDbObject* owner);
// The class name for an entity record whose class depends on its flags: "AcDb2dPolyline",
// "AcDb3dPolyline", "AcDb2dVertex", "AcDb3dPolylineVertex", "AcDbBlockReference",
// "AcDbMInsertBlock"; "" for a record the host keeps raw (polygon and polyface meshes and their
// vertices); null for a type whose class follows from the type alone.
const ACHAR* dxfEntityClass(const ACHAR* dxfType, int group70, int group71);
// Registers the entity classes of this module (called by the registry of classes).
void registerEntityClasses();
} // namespace khost

// Walks the sub-entities of a complex entity (attributes of a block reference, vertices of a
// polyline). Made by attributeIterator / vertexIterator; the caller deletes it. entity() gives the
// object without opening it (open it by objectId() to read or change it).
class AcDbObjectIterator : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbObjectIterator);
    ~AcDbObjectIterator() override;
    AcDbObjectIterator(const AcDbObjectIterator&) = delete;
    AcDbObjectIterator& operator=(const AcDbObjectIterator&) = delete;

    bool done() const;
    void step(bool backwards = false, bool skipDeleted = true);
    void start(bool atEnd = false);
    void setPosition(AcDbEntity* pEnt);
    void setPosition(AcDbObjectId id);
    AcDbEntity* entity();
    AcDbObjectId objectId();

private:
    friend class khost::SubEntities;
    struct Item {
        AcDbObjectId id;
        AcDbEntity* entity;
    };
    AcDbObjectIterator() = default;
    bool skip(long long pos) const;
    std::vector<Item> m_items;
    long long m_pos = 0;
};

// The end of the sub-entities of a complex entity.
class AcDbSequenceEnd : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbSequenceEnd);
    AcDbSequenceEnd();
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
};
