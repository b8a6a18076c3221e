// Internal structures of the drawing database (not part of the published interface).
#pragma once

#include "dbdict.h"
#include "dbhost.h"
#include "dbmain.h"
#include "dbsymtb.h"
#include "gepnt2d.h"
#include "gepnt3d.h"
#include "gevec3d.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace khost {

enum StubFlag : std::uint32_t { kStubErased = 1 };

struct DbStub {
    AcDbObject* object = nullptr;
    AcDbDatabase* database = nullptr;
    std::uint64_t handle = 0;
    std::uint32_t flags = 0;
};

enum ObjFlag : std::uint8_t { kObjNew = 1 };
enum OpenMode : std::uint8_t { kClosed = 0, kRead = 1, kWrite = 2 };

// Groups of a file that an object's classes did not read, kept to be written back where they
// were (see dxfInObject in dbhost.h). A run is a sequence of groups that stood together in the
// file: in the section of a subclass (the groups after its marker, or the common part before the
// first marker), after a group the class writes; or at the end of a section, where a run may
// hold whole subclasses the classes do not know, their markers included.
struct KeptRun {
    static constexpr short kAtEnd = -32768;
    std::wstring section;          // the subclass marker; empty for the common part
    std::uint16_t occurrence = 0;  // which section of that name (1 the first; 0 the common part)
    short anchorCode = kAtEnd;     // the group it follows: code (0 at the very beginning) ...
    std::uint16_t anchorCount = 0; // ... and how many groups of that code the section had by then
    resbuf* groups = nullptr;      // owned
};
struct KeptGroups {
    std::vector<KeptRun> runs;
    KeptGroups() = default;
    KeptGroups(const KeptGroups&) = delete;
    KeptGroups& operator=(const KeptGroups&) = delete;
    ~KeptGroups();
};

// Data most objects do not have, allocated on first use.
struct ObjExtras {
    resbuf* xdata = nullptr;
    DbStub* xdict = nullptr;
    std::vector<DbStub*> reactors;
    std::unique_ptr<KeptGroups> kept;
    ~ObjExtras();
};

// Stubs are kept in pages of consecutive handles so that a lookup by handle is one hash probe
// and a stub costs its own size only.
constexpr std::uint64_t kStubPageBits = 6;
constexpr std::uint64_t kStubPageSize = 1ull << kStubPageBits;
struct StubPage {
    DbStub stubs[kStubPageSize];
};

struct DbHeader {
    Adesk::Int16 insunits = AcDb::kUnitsMillimeters;
    double ltscale = 1.0;
    bool msltscale = true;
    bool psltscale = true;
    double celtscale = 1.0;
    bool tilemode = true;
    DbStub* clayer = nullptr;
    DbStub* celtype = nullptr;
    DbStub* textstyle = nullptr;
    DbStub* dimstyle = nullptr;
    DbStub* cmlstyle = nullptr;
    DbStub* mleaderstyle = nullptr;
    DbStub* tablestyle = nullptr;
    AcCmColor cecolor;
    Adesk::Int16 celweight = AcDb::kLnWtByLayer;
    double textsize = 2.5;
    double dimscale = 1.0;
    std::wstring dimblk;
    Adesk::Int16 lunits = 2, luprec = 4, aunits = 0, auprec = 0;
    double angbase = 0.0;
    bool angdir = false;
    Adesk::Int16 measurement = AcDb::kMetric;
    AcGePoint3d ucsorg, pucsorg;
    AcGeVector3d ucsxdir{1.0, 0.0, 0.0}, ucsydir{0.0, 1.0, 0.0};
    AcGeVector3d pucsxdir{1.0, 0.0, 0.0}, pucsydir{0.0, 1.0, 0.0};
    DbStub* ucsname = nullptr;
    DbStub* pucsname = nullptr;
    std::wstring fingerprint, versionGuid;
    std::wstring cannoscale = L"1:1";
    std::wstring dwgcodepage = L"ANSI_1250";
    DbStub* currentSpace = nullptr;
};

// External references resolved for a drawing (dbxref.cpp).
struct XrefTable;

struct DbImpl {
    explicit DbImpl(AcDbDatabase* db) : self(db) {}
    AcDbDatabase* self;
    std::unordered_map<std::uint64_t, std::unique_ptr<StubPage>> pages;
    std::uint64_t handseed = 1;
    std::int32_t numObjects = 0;
    DbStub* roles[static_cast<int>(DbRole::Count)] = {};
    DbHeader header;
    std::map<std::wstring, resbuf*> extraHeader;
    std::wstring fileName;
    bool noDocument = false;
    std::shared_ptr<XrefTable> xrefs;

    // The stub of a handle; with create a new empty stub is made when there is none.
    DbStub* stub(std::uint64_t handle, bool create);
    DbStub* role(DbRole r) const { return roles[static_cast<int>(r)]; }
    AcDbObjectId roleId(DbRole r) const { return AcDbObjectId(role(r)); }
};

// Everything the database code does to objects behind the published interface.
struct DbAccess {
    static DbStub* stub(const AcDbObject* o) { return o->m_stub; }
    static DbStub* ownerStub(const AcDbObject* o) { return o->m_owner; }
    // Sets the owner; an object owned by a dictionary has the dictionary among its persistent
    // reactors (added here, and removed when it leaves the dictionary).
    static void setOwner(AcDbObject* o, DbStub* owner);
    static std::uint8_t mode(const AcDbObject* o) { return o->m_mode; }
    static std::uint16_t readers(const AcDbObject* o) { return o->m_readers; }
    // Attaches a new object to a stub of db (the object keeps its open state).
    static void attach(AcDbObject* o, DbStub* s);
    // Opens and closes without the checks of acdbOpenObject (the database's own work).
    static void forceClose(AcDbObject* o);
    static void forceOpenWrite(AcDbObject* o);
    static void openRead(AcDbObject* o);
    static ObjExtras& extras(AcDbObject* o);
    static ObjExtras* extrasIfAny(const AcDbObject* o) { return o->m_extras; }
    static void setErasedTree(DbStub* s, bool erased);
    static void callAdded(AcDbObject* o) { o->subAddedToDatabase(); }

    static std::vector<DbStub*>& records(AcDbSymbolTable* t) { return t->m_records; }
    static std::unordered_map<std::wstring, DbStub*>& index(AcDbSymbolTable* t) {
        return t->m_index;
    }
    static std::vector<DbStub*>& entities(AcDbBlockTableRecord* b) { return b->m_entities; }
    static DbStub*& layout(AcDbBlockTableRecord* b) { return b->m_layout; }
    static std::map<std::wstring, AcDbDictionary::Entry>& entries(AcDbDictionary* d) {
        return d->m_entries;
    }
    static void setEntry(AcDbDictionary* d, const std::wstring& key, DbStub* s) {
        d->m_entries[nameKey(key.c_str())] = AcDbDictionary::Entry{key, s};
    }
    static std::wstring& name(AcDbSymbolTableRecord* r) { return r->m_name; }
    static DbStub* layerStub(const AcDbEntity* e) { return e->m_layer; }
    static void setLayerStub(AcDbEntity* e, DbStub* s) { e->m_layer = s; }
    static DbStub* linetypeStub(const AcDbEntity* e) { return e->m_linetype; }
    static void setLinetypeStub(AcDbEntity* e, DbStub* s) { e->m_linetype = s; }
};

inline bool stubErased(const DbStub* s) {
    return s && (s->flags & kStubErased);
}
inline AcDbObject* stubObject(const DbStub* s) {
    return s ? s->object : nullptr;
}

// The registry of open objects and of the errors of the open discipline.
void noteOpened(AcDbObject* o);
void noteClosed(AcDbObject* o);
void noteError(const std::wstring& text);
std::wstring describe(const AcDbObject* o); // "AcDbLine 1F"
std::wstring handleText(std::uint64_t h);
void registerDatabase(AcDbDatabase* db);
void unregisterDatabase(AcDbDatabase* db);
// The database of an object for lookups: its own, else the working one.
AcDbDatabase* lookupDatabase(const AcDbObject* o);
AcDbObjectId findRecord(AcDbDatabase* db, DbRole table, const ACHAR* name);

} // namespace khost

namespace khost {
// Reads the groups of one subclass until the next subclass marker (100), the extended data
// (1001) or the end of the object; each group goes to fn, then its value is freed. With
// stopAtUnknown a group fn does not take (returns false) ends the subclass and is read again by
// the next one (a chain without subclass markers, as entmake accepts); otherwise it is skipped.
// When the object is read through dxfInObject (dbhost.h), a group fn does not take is kept with
// the object and written back in this subclass. With the second form (fn returns nothing) the
// groups of the subclass whose codes the class does not write are kept.
Acad::ErrorStatus readSubclass(AcDbDxfFiler* f, const std::function<bool(const resbuf&)>& fn,
                               bool stopAtUnknown = false);
Acad::ErrorStatus readSubclass(AcDbDxfFiler* f, const std::function<void(const resbuf&)>& fn);
// A function that returns bool takes the first form without the third argument.
template <class F>
requires std::is_same_v < std::invoke_result_t<F&, const resbuf&>,
bool > Acad::ErrorStatus readSubclass(AcDbDxfFiler* f, F&& fn) {
    return readSubclass(f, std::function<bool(const resbuf&)>(std::forward<F>(fn)), false);
}
// For classes that read groups with their own loop: tells dxfInObject whether the group last
// read was used (false: it is kept and written back). Without the call a group read is kept when
// the class does not write its code. Does nothing for other filers.
void noteGroupUse(AcDbDxfFiler* f, bool used);
inline AcDbObjectId rbId(const resbuf& rb) {
    AcDbObjectId id;
    id.setFromOldId(static_cast<Adesk::IntPtr>(rb.resval.rlname[0]));
    return id;
}
inline AcGePoint3d rbPoint(const resbuf& rb) {
    return AcGePoint3d(rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]);
}
inline AcGeVector3d rbVector(const resbuf& rb) {
    return AcGeVector3d(rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]);
}
inline AcGePoint2d rbPoint2d(const resbuf& rb) {
    return AcGePoint2d(rb.resval.rpoint[0], rb.resval.rpoint[1]);
}
// True for a point group that was a 2D point (its Z is -0.0, as AcDbDxfFiler::writePoint2d
// writes it and as the file filers read a point without its Z group for data kept raw).
inline bool rbIs2d(const resbuf& rb) {
    return rb.resval.rpoint[2] == 0.0 && std::signbit(rb.resval.rpoint[2]);
}
// Sets a record's name without the checks of setName (a reader), keeping its table's index.
void setRecordNameRaw(AcDbSymbolTableRecord* r, const ACHAR* name);
} // namespace khost
