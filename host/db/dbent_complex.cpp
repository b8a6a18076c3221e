// Complex entities: sub-entity lists, their iterator, the end-of-sequence marker, the hooks of
// the DXF reader and writer, and the registration of the entity classes.
#include "dbent_util.h"

#include "dbents.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>

ACRX_DEFINE_MEMBERS_DXF(AcDbObjectIterator, AcRxObject, L"")
ACRX_DEFINE_MEMBERS_DXF(AcDbSequenceEnd, AcDbEntity, L"SEQEND")

namespace khost {

// Access to the sub-entity lists of the complex entity classes.
struct ComplexAccess {
    static SubEntities* subs(AcDbObject* o) {
        if (auto* r = AcDbBlockReference::cast(o))
            return &r->m_attributes;
        if (auto* p = AcDb2dPolyline::cast(o))
            return &p->m_vertices;
        if (auto* p = AcDb3dPolyline::cast(o))
            return &p->m_vertices;
        return nullptr;
    }
    static bool accepts(const AcDbObject* owner, const AcDbObject* sub) {
        if (AcDbBlockReference::cast(owner))
            return AcDbAttribute::cast(sub) != nullptr;
        if (AcDb2dPolyline::cast(owner))
            return AcDb2dVertex::cast(sub) != nullptr;
        if (AcDb3dPolyline::cast(owner))
            return AcDb3dPolylineVertex::cast(sub) != nullptr;
        return false;
    }
};

// ---- SubEntities --------------------------------------------------------------------------------

SubEntities::~SubEntities() {
    for (AcDbEntity* e : m_kept)
        delete e;
}

Acad::ErrorStatus SubEntities::add(AcDbEntity* owner, AcDbEntity* sub, AcDbObjectId& id,
                                   int index) {
    id = AcDbObjectId::kNull;
    if (!sub)
        return Acad::eNullEntityPointer;
    if (sub->isDatabaseResident())
        return Acad::eAlreadyInDb;
    AcDbDatabase* db = owner->database();
    if (!db) {
        if (index < 0 || index > static_cast<int>(m_kept.size()))
            index = static_cast<int>(m_kept.size());
        m_kept.insert(m_kept.begin() + index, sub);
        return Acad::eOk;
    }
    Acad::ErrorStatus es = db->addAcDbObject(id, sub);
    if (es != Acad::eOk)
        return es;
    DbAccess::setOwner(sub, DbAccess::stub(owner));
    if (index < 0 || index > static_cast<int>(m_stubs.size()))
        index = static_cast<int>(m_stubs.size());
    m_stubs.insert(m_stubs.begin() + index, id.stub());
    if (!m_end)
        makeEnd(owner);
    return Acad::eOk;
}

void SubEntities::makeEnd(AcDbEntity* owner) {
    AcDbDatabase* db = owner->database();
    auto* end = new AcDbSequenceEnd;
    end->setPropertiesFrom(owner);
    AcDbObjectId id;
    if (db->addAcDbObject(id, end) != Acad::eOk) {
        delete end;
        return;
    }
    DbAccess::setOwner(end, DbAccess::stub(owner));
    DbAccess::forceClose(end);
    m_end = id.stub();
}

void SubEntities::ownerAdded(AcDbEntity* owner) {
    AcDbDatabase* db = owner->database();
    if (!db)
        return;
    std::vector<AcDbEntity*> kept;
    kept.swap(m_kept);
    for (AcDbEntity* e : kept) {
        AcDbObjectId id;
        if (db->addAcDbObject(id, e) != Acad::eOk) {
            delete e;
            continue;
        }
        DbAccess::setOwner(e, DbAccess::stub(owner));
        DbAccess::forceClose(e);
        m_stubs.push_back(id.stub());
    }
    if (!m_stubs.empty() && !m_end)
        makeEnd(owner);
}

void SubEntities::setErased(bool erased) {
    for (DbStub* s : m_stubs)
        DbAccess::setErasedTree(s, erased);
    if (m_end)
        DbAccess::setErasedTree(m_end, erased);
}

void SubEntities::link(DbStub* sub) {
    if (!sub || (!m_stubs.empty() && m_stubs.back() == sub))
        return;
    m_stubs.push_back(sub);
}

std::vector<AcDbEntity*> SubEntities::entities(bool includeErased) const {
    std::vector<AcDbEntity*> out;
    for (DbStub* s : m_stubs)
        if (auto* e = AcDbEntity::cast(stubObject(s)))
            if (includeErased || !stubErased(s))
                out.push_back(e);
    out.insert(out.end(), m_kept.begin(), m_kept.end());
    return out;
}

AcDbObjectIdArray SubEntities::ids(bool includeErased) const {
    AcDbObjectIdArray out;
    for (DbStub* s : m_stubs)
        if (stubObject(s) && (includeErased || !stubErased(s)))
            out.append(AcDbObjectId(s));
    return out;
}

int SubEntities::count(bool includeErased) const {
    return static_cast<int>(entities(includeErased).size());
}

int SubEntities::indexOf(AcDbObjectId id) const {
    for (size_t i = 0; i < m_stubs.size(); ++i)
        if (m_stubs[i] == id.stub())
            return static_cast<int>(i);
    return -1;
}

AcDbObjectId SubEntities::endId() const {
    return AcDbObjectId(m_end);
}

bool SubEntities::hasEnd() const {
    return m_end && m_end->object && !stubErased(m_end);
}

AcDbObjectIterator* SubEntities::newIterator() const {
    auto* it = new AcDbObjectIterator();
    for (DbStub* s : m_stubs)
        if (auto* e = AcDbEntity::cast(stubObject(s)))
            it->m_items.push_back({AcDbObjectId(s), e});
    for (AcDbEntity* e : m_kept)
        it->m_items.push_back({AcDbObjectId::kNull, e});
    it->start();
    return it;
}

// ---- Hooks --------------------------------------------------------------------------------------

Acad::ErrorStatus linkSubEntity(AcDbObjectId owner, AcDbObjectId sub) {
    AcDbObject* o = peekObject(owner);
    AcDbObject* s = peekObject(sub);
    if (!o || !s)
        return Acad::eNullObjectPointer;
    SubEntities* list = ComplexAccess::subs(o);
    if (!list)
        return Acad::eWrongObjectType;
    if (AcDbSequenceEnd::cast(s)) {
        list->linkEnd(sub.stub());
        return Acad::eOk;
    }
    if (!ComplexAccess::accepts(o, s))
        return Acad::eWrongObjectType;
    list->link(sub.stub());
    return Acad::eOk;
}

namespace {
// The complex entity whose sub-entities a file being read lists next.
struct ComplexRead {
    AcDbDatabase* db = nullptr;
    std::uint64_t handle = 0;
};
thread_local ComplexRead g_complexRead;

AcDbObjectId currentComplex(AcDbDatabase* db) {
    if (!db || g_complexRead.db != db || g_complexRead.handle == 0)
        return AcDbObjectId::kNull;
    const auto& live = liveDatabases();
    if (std::find(live.begin(), live.end(), db) == live.end())
        return AcDbObjectId::kNull;
    AcDbObjectId id;
    db->getAcDbObjectId(id, false, AcDbHandle(g_complexRead.handle));
    return id;
}
} // namespace

void noteComplexRead(AcDbEntity* owner, bool subEntitiesFollow) {
    if (subEntitiesFollow && owner->database()) {
        AcDbHandle h;
        owner->getAcDbHandle(h);
        g_complexRead = ComplexRead{owner->database(), h.value()};
    } else {
        g_complexRead = ComplexRead();
    }
}

void attachReadSubEntity(AcDbEntity* sub, AcDbDxfFiler* f) {
    if (!isFileFiler(f) || !sub->database() || sub->objectId().isNull())
        return;
    const bool isEnd = AcDbSequenceEnd::cast(sub) != nullptr;
    AcDbObjectId cur = currentComplex(sub->database());
    AcDbObject* o = peekObject(cur);
    if (o && ComplexAccess::subs(o) && (isEnd || ComplexAccess::accepts(o, sub))) {
        DbAccess::setOwner(sub, cur.stub());
        linkSubEntity(cur, sub->objectId());
    } else if (!sub->ownerId().isNull()) {
        linkSubEntity(sub->ownerId(), sub->objectId());
    }
    if (isEnd)
        g_complexRead = ComplexRead();
}

AcDbObjectIdArray subEntityIds(const AcDbObject* owner) {
    SubEntities* list = ComplexAccess::subs(const_cast<AcDbObject*>(owner));
    if (!list)
        return AcDbObjectIdArray();
    AcDbObjectIdArray ids = list->ids(false);
    if (list->hasEnd())
        ids.append(list->endId());
    return ids;
}

const ACHAR* dxfEntityClass(const ACHAR* dxfType, int group70, int group71) {
    if (!dxfType)
        return nullptr;
    if (std::wcscmp(dxfType, L"POLYLINE") == 0) {
        if (group70 & 8)
            return L"AcDb3dPolyline";
        if (group70 & (16 | 64))
            return L"";
        return L"AcDb2dPolyline";
    }
    if (std::wcscmp(dxfType, L"VERTEX") == 0) {
        if (group70 & 32)
            return L"AcDb3dPolylineVertex";
        if (group70 & (64 | 128))
            return L"";
        return L"AcDb2dVertex";
    }
    if (std::wcscmp(dxfType, L"INSERT") == 0)
        return group70 > 1 || group71 > 1 ? L"AcDbMInsertBlock" : L"AcDbBlockReference";
    return nullptr;
}

namespace {
template <class T> AcDbObject* make() {
    return new T;
}
} // namespace

void registerEntityClasses() {
    // Classes that share a DXF name with another come first: the later one answers for the name.
    registerDbClass(AcDb3dPolyline::desc(), &make<AcDb3dPolyline>);
    registerDbClass(AcDb3dPolylineVertex::desc(), &make<AcDb3dPolylineVertex>);
    registerDbClass(AcDbMInsertBlock::desc(), &make<AcDbMInsertBlock>);
    registerDbClass(AcDb2dPolyline::desc(), &make<AcDb2dPolyline>);
    registerDbClass(AcDb2dVertex::desc(), &make<AcDb2dVertex>);
    registerDbClass(AcDbBlockReference::desc(), &make<AcDbBlockReference>);
    registerDbClass(AcDbSequenceEnd::desc(), &make<AcDbSequenceEnd>);
    registerDbClass(AcDbPolyline::desc(), &make<AcDbPolyline>);
    registerDbClass(AcDbCircle::desc(), &make<AcDbCircle>);
    registerDbClass(AcDbArc::desc(), &make<AcDbArc>);
    registerDbClass(AcDbEllipse::desc(), &make<AcDbEllipse>);
    registerDbClass(AcDbSpline::desc(), &make<AcDbSpline>);
    registerDbClass(AcDbRay::desc(), &make<AcDbRay>);
    registerDbClass(AcDbXline::desc(), &make<AcDbXline>);
    registerDbClass(AcDbPoint::desc(), &make<AcDbPoint>);
    registerDbClass(AcDbText::desc(), &make<AcDbText>);
    registerDbClass(AcDbMText::desc(), &make<AcDbMText>);
    registerDbClass(AcDbAttributeDefinition::desc(), &make<AcDbAttributeDefinition>);
    registerDbClass(AcDbAttribute::desc(), &make<AcDbAttribute>);
}

} // namespace khost

using namespace khost;

// ---- AcDbObjectIterator -------------------------------------------------------------------------

AcDbObjectIterator::~AcDbObjectIterator() = default;

bool AcDbObjectIterator::skip(long long pos) const {
    if (pos < 0 || pos >= static_cast<long long>(m_items.size()))
        return false;
    return m_items[static_cast<size_t>(pos)].id.isErased();
}

bool AcDbObjectIterator::done() const {
    return m_pos < 0 || m_pos >= static_cast<long long>(m_items.size());
}

void AcDbObjectIterator::start(bool atEnd) {
    if (atEnd) {
        m_pos = static_cast<long long>(m_items.size()) - 1;
        while (skip(m_pos))
            --m_pos;
    } else {
        m_pos = 0;
        while (skip(m_pos))
            ++m_pos;
    }
}

void AcDbObjectIterator::step(bool backwards, bool skipDeleted) {
    const long long d = backwards ? -1 : 1;
    m_pos += d;
    while (skipDeleted && skip(m_pos))
        m_pos += d;
}

void AcDbObjectIterator::setPosition(AcDbEntity* pEnt) {
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].entity == pEnt) {
            m_pos = static_cast<long long>(i);
            return;
        }
}

void AcDbObjectIterator::setPosition(AcDbObjectId id) {
    for (size_t i = 0; i < m_items.size(); ++i)
        if (!id.isNull() && m_items[i].id == id) {
            m_pos = static_cast<long long>(i);
            return;
        }
}

AcDbEntity* AcDbObjectIterator::entity() {
    return done() ? nullptr : m_items[static_cast<size_t>(m_pos)].entity;
}

AcDbObjectId AcDbObjectIterator::objectId() {
    return done() ? AcDbObjectId::kNull : m_items[static_cast<size_t>(m_pos)].id;
}

// ---- AcDbSequenceEnd ----------------------------------------------------------------------------

AcDbSequenceEnd::AcDbSequenceEnd() = default;

Acad::ErrorStatus AcDbSequenceEnd::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(f);
    if (es == Acad::eOk)
        attachReadSubEntity(this, f);
    return es;
}
