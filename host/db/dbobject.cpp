// Objects: open state, erasing, extended data, extension dictionaries, and the registry of
// open objects that reportOpenObjects checks.
#include "dbimpl.h"

#include "acutads.h"
#include "dbapserv.h"

#include <algorithm>
#include <cwchar>

ACRX_DEFINE_MEMBERS_DXF(AcDbObject, AcRxObject, L"")

namespace khost {

namespace {

// The set of open objects: open addressing with linear probing and deletion by moving back the
// entries that follow, so that opening and closing an object costs no allocation and about one
// probe (the set is asked on every open and close of every object).
class OpenSet {
public:
    void insert(AcDbObject* o) {
        if ((m_size + 1) * 2 > m_slots.size())
            grow();
        std::size_t i = home(o);
        while (m_slots[i]) {
            if (m_slots[i] == o)
                return;
            i = (i + 1) & m_mask;
        }
        m_slots[i] = o;
        ++m_size;
    }
    void erase(AcDbObject* o) {
        if (m_size == 0)
            return;
        std::size_t i = home(o);
        while (m_slots[i] != o) {
            if (!m_slots[i])
                return;
            i = (i + 1) & m_mask;
        }
        // Entries after the hole that would no longer be found move into it.
        std::size_t hole = i;
        for (std::size_t j = (i + 1) & m_mask; m_slots[j]; j = (j + 1) & m_mask) {
            std::size_t h = home(m_slots[j]);
            if (((j - h) & m_mask) >= ((j - hole) & m_mask)) {
                m_slots[hole] = m_slots[j];
                hole = j;
            }
        }
        m_slots[hole] = nullptr;
        --m_size;
    }
    std::size_t size() const { return m_size; }
    std::vector<AcDbObject*> items() const {
        std::vector<AcDbObject*> v;
        v.reserve(m_size);
        for (AcDbObject* o : m_slots)
            if (o)
                v.push_back(o);
        return v;
    }

private:
    std::size_t home(const AcDbObject* o) const {
        auto v = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(o));
        return static_cast<std::size_t>((v * 0x9E3779B97F4A7C15ull) >> m_shift);
    }
    void grow() {
        std::vector<AcDbObject*> old = items();
        m_slots.assign(m_slots.empty() ? 64 : m_slots.size() * 2, nullptr);
        m_mask = m_slots.size() - 1;
        m_shift = 64;
        for (std::size_t n = m_slots.size(); n > 1; n >>= 1)
            --m_shift;
        m_size = 0;
        for (AcDbObject* o : old)
            insert(o);
    }
    std::vector<AcDbObject*> m_slots;
    std::size_t m_mask = 0;
    unsigned m_shift = 64;
    std::size_t m_size = 0;
};

struct OpenRegistry {
    OpenSet open;
    std::vector<std::wstring> pending;
    std::vector<AcDbDatabase*> databases;
    int failures = 0;
    bool strict = false;
};
OpenRegistry& reg() {
    static OpenRegistry r;
    return r;
}
} // namespace

ObjExtras::~ObjExtras() {
    acutRelRb(xdata);
}

std::wstring handleText(std::uint64_t h) {
    wchar_t buf[17];
    wchar_t* p = buf + 16;
    do {
        *--p = L"0123456789ABCDEF"[h & 15];
        h >>= 4;
    } while (h);
    return std::wstring(p, buf + 16);
}

std::wstring describe(const AcDbObject* o) {
    std::wstring s = o->isA()->name();
    if (const DbStub* st = DbAccess::stub(o))
        s += L" " + handleText(st->handle);
    return s;
}

void noteOpened(AcDbObject* o) {
    if (DbAccess::stub(o))
        reg().open.insert(o);
}
void noteClosed(AcDbObject* o) {
    reg().open.erase(o);
}
void noteError(const std::wstring& text) {
    reg().pending.push_back(text);
}

void registerDatabase(AcDbDatabase* db) {
    reg().databases.push_back(db);
}
void unregisterDatabase(AcDbDatabase* db) {
    auto& v = reg().databases;
    v.erase(std::remove(v.begin(), v.end(), db), v.end());
    for (AcDbObject* o : reg().open.items())
        if (o->database() == db)
            reg().open.erase(o);
}
const std::vector<AcDbDatabase*>& liveDatabases() {
    return reg().databases;
}

int reportOpenObjects(const std::wstring& context) {
    OpenRegistry& r = reg();
    int count = 0;
    for (const std::wstring& e : r.pending) {
        acutPrintf(L"\n** %ls: %ls\n", context.c_str(), e.c_str());
        ++count;
    }
    r.pending.clear();
    std::vector<AcDbObject*> open = r.open.items();
    // In the order of the databases, then of the handles.
    auto dbIndex = [&](const AcDbObject* o) {
        auto it = std::find(r.databases.begin(), r.databases.end(), o->database());
        return it - r.databases.begin();
    };
    std::sort(open.begin(), open.end(), [&](const AcDbObject* a, const AcDbObject* b) {
        auto da = dbIndex(a), db = dbIndex(b);
        if (da != db)
            return da < db;
        return DbAccess::stub(a)->handle < DbAccess::stub(b)->handle;
    });
    for (AcDbObject* o : open) {
        acutPrintf(L"\n** %ls: object left open: %ls (%ls)\n", context.c_str(), describe(o).c_str(),
                   DbAccess::mode(o) == kWrite ? L"for write" : L"for read");
        DbAccess::forceClose(o);
        ++count;
    }
    r.failures += count;
    return count;
}

void setStrictOpenCheck(bool strict) {
    reg().strict = strict;
}
bool strictOpenCheck() {
    return reg().strict;
}
int openCheckFailures() {
    return reg().failures;
}
void resetOpenCheckFailures() {
    reg().failures = 0;
}
int openObjectCount() {
    return static_cast<int>(reg().open.size());
}

AcDbObject* peekObject(AcDbObjectId id) {
    return stubObject(id.stub());
}

void DbAccess::attach(AcDbObject* o, DbStub* s) {
    o->m_stub = s;
    s->object = o;
    if (o->m_mode != kClosed)
        noteOpened(o);
}

void DbAccess::forceClose(AcDbObject* o) {
    o->m_mode = kClosed;
    o->m_readers = 0;
    o->m_flags &= static_cast<std::uint8_t>(~kObjNew);
    noteClosed(o);
}

void DbAccess::forceOpenWrite(AcDbObject* o) {
    o->m_mode = kWrite;
    o->m_readers = 0;
    noteOpened(o);
}

void DbAccess::openRead(AcDbObject* o) {
    if (o->m_mode == kClosed) {
        o->m_mode = kRead;
        o->m_readers = 1;
        noteOpened(o);
    } else {
        ++o->m_readers;
    }
}

void DbAccess::setOwner(AcDbObject* o, DbStub* owner) {
    DbStub* old = o->m_owner;
    o->m_owner = owner;
    if (old == owner)
        return;
    if (old && o->m_extras && AcDbDictionary::cast(old->object)) {
        auto& v = o->m_extras->reactors;
        v.erase(std::remove(v.begin(), v.end(), old), v.end());
    }
    if (owner && AcDbDictionary::cast(owner->object)) {
        auto& v = extras(o).reactors;
        if (std::find(v.begin(), v.end(), owner) == v.end())
            v.push_back(owner);
    }
}

ObjExtras& DbAccess::extras(AcDbObject* o) {
    if (!o->m_extras)
        o->m_extras = new ObjExtras;
    return *o->m_extras;
}

void DbAccess::setErasedTree(DbStub* s, bool erased) {
    if (!s)
        return;
    if (erased)
        s->flags |= kStubErased;
    else
        s->flags &= ~static_cast<std::uint32_t>(kStubErased);
    AcDbObject* o = s->object;
    if (!o)
        return;
    if (auto* btr = AcDbBlockTableRecord::cast(o)) {
        for (DbStub* e : btr->m_entities)
            setErasedTree(e, erased);
    } else if (auto* dict = AcDbDictionary::cast(o)) {
        for (auto& [k, e] : dict->m_entries)
            setErasedTree(e.stub, erased);
    }
    if (o->m_extras && o->m_extras->xdict)
        setErasedTree(o->m_extras->xdict, erased);
}

AcDbDatabase* lookupDatabase(const AcDbObject* o) {
    if (AcDbDatabase* db = o->database())
        return db;
    return acdbHostApplicationServices()->workingDatabase();
}

} // namespace khost

using namespace khost;

AcDbObject::AcDbObject() : m_mode(kWrite), m_flags(kObjNew) {}

AcDbObject::~AcDbObject() {
    if (m_stub && m_mode != kClosed)
        noteClosed(this);
    delete m_extras;
}

AcDbObjectId AcDbObject::objectId() const {
    return AcDbObjectId(m_stub);
}
AcDbObjectId AcDbObject::ownerId() const {
    return AcDbObjectId(m_owner);
}
AcDbDatabase* AcDbObject::database() const {
    return m_stub ? m_stub->database : nullptr;
}
AcDbDatabase* AcDbObject::databaseToUse() const {
    return lookupDatabase(this);
}
void AcDbObject::getAcDbHandle(AcDbHandle& handle) const {
    handle = m_stub ? AcDbHandle(m_stub->handle) : AcDbHandle();
}

Acad::ErrorStatus AcDbObject::setOwnerId(AcDbObjectId ownerId) {
    if (m_mode != kWrite)
        return Acad::eNotOpenForWrite;
    m_owner = ownerId.stub();
    return Acad::eOk;
}

bool AcDbObject::isErased() const {
    return stubErased(m_stub);
}
bool AcDbObject::isReadEnabled() const {
    return m_mode != kClosed;
}
bool AcDbObject::isWriteEnabled() const {
    return m_mode == kWrite;
}
bool AcDbObject::isNewObject() const {
    return (m_flags & kObjNew) != 0;
}
bool AcDbObject::isDatabaseResident() const {
    return m_stub != nullptr;
}
int AcDbObject::numReaders() const {
    return m_mode == kRead ? m_readers : 0;
}

Acad::ErrorStatus AcDbObject::subErase(bool) {
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::erase(bool erasing) {
    if (m_mode != kWrite)
        return Acad::eNotOpenForWrite;
    if (!m_stub)
        return Acad::eNotInDatabase;
    if (erasing && isErased())
        return Acad::eWasErased;
    if (!erasing && !isErased())
        return Acad::eWasNotErased;
    Acad::ErrorStatus es = subErase(erasing);
    if (es != Acad::eOk)
        return es;
    DbAccess::setErasedTree(m_stub, erasing);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::upgradeOpen() {
    switch (m_mode) {
    case kWrite:
        return Acad::eWasOpenForWrite;
    case kClosed:
        return Acad::eNotOpenForRead;
    default:
        break;
    }
    if (m_readers > 1)
        return Acad::eHadMultipleReaders;
    m_mode = kWrite;
    m_readers = 0;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeOpen() {
    if (m_mode != kWrite)
        return Acad::eNotOpenForWrite;
    m_mode = kRead;
    m_readers = 1;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::close() {
    if (m_mode == kClosed) {
        noteError(L"close of object not open: " + describe(this));
        return Acad::eInvalidOpenState;
    }
    if (!m_stub) {
        noteError(L"close of object not in a database: " + describe(this));
        m_mode = kClosed;
        m_readers = 0;
        return Acad::eNotInDatabase;
    }
    if (m_mode == kRead && m_readers > 1) {
        --m_readers;
        return Acad::eOk;
    }
    DbAccess::forceClose(this);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::cancel() {
    if (m_mode != kWrite)
        return Acad::eNotOpenForWrite;
    return close();
}

bool AcDbObject::assertReadEnabled() const {
    if (m_mode != kClosed)
        return true;
    noteError(L"read of object not open: " + describe(this));
    return false;
}

bool AcDbObject::assertWriteEnabled(bool, bool) {
    if (m_mode == kWrite)
        return true;
    noteError(L"write to object not open for write: " + describe(this));
    return false;
}

// ---- Extended data ----------------------------------------------------------------------------

namespace {

bool sameName(const ACHAR* a, const ACHAR* b) {
    return nameKey(a) == nameKey(b);
}

// The part of the chain for one application: from its 1001 group up to the next 1001.
const resbuf* findApp(const resbuf* chain, const ACHAR* app, const resbuf** end) {
    for (const resbuf* rb = chain; rb; rb = rb->rbnext) {
        if (rb->restype == AcDb::kDxfRegAppName && sameName(rb->resval.rstring, app)) {
            const resbuf* e = rb->rbnext;
            while (e && e->restype != AcDb::kDxfRegAppName)
                e = e->rbnext;
            *end = e;
            return rb;
        }
    }
    return nullptr;
}

resbuf* copyRange(const resbuf* from, const resbuf* to) {
    resbuf* head = nullptr;
    resbuf** tail = &head;
    for (const resbuf* rb = from; rb != to; rb = rb->rbnext) {
        *tail = rbCopy(rb);
        tail = &(*tail)->rbnext;
    }
    return head;
}

// Removes an application's part from the stored chain.
void removeApp(resbuf*& chain, const ACHAR* app) {
    resbuf** link = &chain;
    while (*link) {
        resbuf* rb = *link;
        if (rb->restype == AcDb::kDxfRegAppName && sameName(rb->resval.rstring, app)) {
            resbuf* last = rb;
            while (last->rbnext && last->rbnext->restype != AcDb::kDxfRegAppName)
                last = last->rbnext;
            *link = last->rbnext;
            last->rbnext = nullptr;
            acutRelRb(rb);
            continue;
        }
        link = &rb->rbnext;
    }
}

} // namespace

resbuf* AcDbObject::xData(const ACHAR* regappName) const {
    if (!m_extras || !m_extras->xdata)
        return nullptr;
    if (!regappName)
        return rbCopyChain(m_extras->xdata);
    const resbuf* end = nullptr;
    const resbuf* start = findApp(m_extras->xdata, regappName, &end);
    return start ? copyRange(start, end) : nullptr;
}

Acad::ErrorStatus AcDbObject::setXData(const resbuf* xdata) {
    if (m_mode != kWrite)
        return Acad::eNotOpenForWrite;
    if (!xdata)
        return Acad::eOk;
    if (xdata->restype != AcDb::kDxfRegAppName)
        return Acad::eInvalidInput;
    AcDbDatabase* db = lookupDatabase(this);
    for (const resbuf* rb = xdata; rb; rb = rb->rbnext) {
        if (rb->restype < 1000 || rb->restype > 1071)
            return Acad::eInvalidInput;
        if (rb->restype == AcDb::kDxfRegAppName) {
            if (!rb->resval.rstring || !*rb->resval.rstring)
                return Acad::eInvalidInput;
            if (db && findRecord(db, DbRole::RegAppTable, rb->resval.rstring).isNull())
                return Acad::eRegappIdNotFound;
        }
    }
    ObjExtras& ex = DbAccess::extras(this);
    for (const resbuf* rb = xdata; rb;) {
        const resbuf* end = rb->rbnext;
        while (end && end->restype != AcDb::kDxfRegAppName)
            end = end->rbnext;
        removeApp(ex.xdata, rb->resval.rstring);
        if (rb->rbnext != end) {
            resbuf* part = copyRange(rb, end);
            resbuf** tail = &ex.xdata;
            while (*tail)
                tail = &(*tail)->rbnext;
            *tail = part;
        }
        rb = end;
    }
    return Acad::eOk;
}

// ---- Extension dictionary and reactors ----------------------------------------------------------

AcDbObjectId AcDbObject::extensionDictionary() const {
    return AcDbObjectId(m_extras ? m_extras->xdict : nullptr);
}

Acad::ErrorStatus AcDbObject::createExtensionDictionary() {
    if (m_mode != kWrite)
        return Acad::eNotOpenForWrite;
    if (!m_stub)
        return Acad::eNotInDatabase;
    ObjExtras& ex = DbAccess::extras(this);
    if (ex.xdict && !stubErased(ex.xdict))
        return Acad::eAlreadyInDb;
    auto* dict = new AcDbDictionary;
    dict->setTreatElementsAsHard(true);
    AcDbObjectId id;
    database()->addAcDbObject(id, dict);
    DbAccess::setOwner(dict, m_stub);
    dict->addPersistentReactor(objectId());
    DbAccess::forceClose(dict);
    ex.xdict = id.stub();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::releaseExtensionDictionary() {
    if (m_mode != kWrite)
        return Acad::eNotOpenForWrite;
    if (!m_extras || !m_extras->xdict)
        return Acad::eOk;
    auto* dict = AcDbDictionary::cast(m_extras->xdict->object);
    if (dict && dict->numEntries() > 0)
        return Acad::eContainerNotEmpty;
    if (dict && DbAccess::mode(dict) != kClosed)
        return Acad::eWasOpenForWrite;
    DbAccess::setErasedTree(m_extras->xdict, true);
    m_extras->xdict = nullptr;
    return Acad::eOk;
}

void AcDbObject::addPersistentReactor(AcDbObjectId objId) {
    if (objId.isNull() || hasPersistentReactor(objId))
        return;
    DbAccess::extras(this).reactors.push_back(objId.stub());
}

Acad::ErrorStatus AcDbObject::removePersistentReactor(AcDbObjectId objId) {
    if (!m_extras)
        return Acad::eKeyNotFound;
    auto& v = m_extras->reactors;
    auto it = std::find(v.begin(), v.end(), objId.stub());
    if (it == v.end())
        return Acad::eKeyNotFound;
    v.erase(it);
    return Acad::eOk;
}

bool AcDbObject::hasPersistentReactor(AcDbObjectId objId) const {
    if (!m_extras)
        return false;
    auto& v = m_extras->reactors;
    return std::find(v.begin(), v.end(), objId.stub()) != v.end();
}

AcDbObjectIdArray AcDbObject::persistentReactorIds() const {
    AcDbObjectIdArray a;
    if (m_extras)
        for (DbStub* s : m_extras->reactors)
            a.append(AcDbObjectId(s));
    return a;
}

// ---- Opening ----------------------------------------------------------------------------------

Acad::ErrorStatus acdbOpenObject(AcDbObject*& pObj, AcDbObjectId id, AcDb::OpenMode mode,
                                 bool openErased, const AcRxClass* pClass) {
    pObj = nullptr;
    DbStub* s = id.stub();
    if (!s)
        return Acad::eNullObjectId;
    AcDbObject* o = s->object;
    if (!o)
        return Acad::eUnknownHandle;
    if (stubErased(s) && !openErased)
        return Acad::eWasErased;
    // The classes are asked once (this runs for every entity of a walk over a drawing).
    static const AcRxClass* const entityClass = AcDbEntity::desc();
    static const AcRxClass* const layerClass = AcDbLayerTableRecord::desc();
    const AcRxClass* cls = o->isA();
    if (pClass && !cls->isDerivedFrom(pClass))
        return Acad::eNotThatKindOfClass;
    const std::uint8_t cur = DbAccess::mode(o);
    if (mode == AcDb::kForWrite) {
        if (cur == kWrite)
            return Acad::eWasOpenForWrite;
        if (cur == kRead)
            return Acad::eWasOpenForRead;
        if (cls->isDerivedFrom(entityClass)) {
            AcDbObject* layer = stubObject(DbAccess::layerStub(static_cast<AcDbEntity*>(o)));
            if (layer && layer->isKindOf(layerClass) &&
                static_cast<AcDbLayerTableRecord*>(layer)->isLocked())
                return Acad::eOnLockedLayer;
        }
        DbAccess::forceOpenWrite(o);
    } else {
        if (cur == kWrite)
            return Acad::eWasOpenForWrite;
        if (cur == kRead && DbAccess::readers(o) >= 256)
            return Acad::eAtMaxReaders;
        DbAccess::openRead(o);
    }
    pObj = o;
    return Acad::eOk;
}

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& pObj, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased) {
    return acdbOpenObject(pObj, id, mode, openErased, nullptr);
}

Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& pEnt, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased) {
    pEnt = nullptr;
    AcRxClass* cls = id.objectClass();
    if (cls && !cls->isDerivedFrom(AcDbEntity::desc()))
        return Acad::eNotAnEntity;
    AcDbObject* p = nullptr;
    Acad::ErrorStatus es = acdbOpenObject(p, id, mode, openErased, nullptr);
    if (es == Acad::eOk)
        pEnt = static_cast<AcDbEntity*>(p);
    return es;
}
