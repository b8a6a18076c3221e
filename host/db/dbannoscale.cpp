// Annotation scales: the SCALE objects of the drawing's scale list, the context data objects,
// the annotation-scale collection of each database and its context manager.
#include "dbannodata.h"

#include "acutads.h"
#include "dbimpl.h"

#include <algorithm>
#include <cwchar>
#include <map>
#include <memory>

using namespace khost;

ACRX_DEFINE_MEMBERS(AcDbObjectContext, AcRxObject)
ACRX_DEFINE_MEMBERS(AcDbAnnotationScale, AcDbObjectContext)
ACRX_DEFINE_MEMBERS(AcDbObjectContextCollectionIterator, AcRxObject)
ACRX_DEFINE_MEMBERS(AcDbObjectContextCollection, AcRxObject)
ACRX_DEFINE_MEMBERS(AcDbObjectContextManager, AcRxObject)
ACRX_DEFINE_MEMBERS(AcDbAnnotativeObjectPE, AcRxObject)
ACRX_DEFINE_MEMBERS(AcDbObjectContextInterface, AcRxObject)
ACRX_DEFINE_MEMBERS_DXF(AcDbScale, AcDbObject, L"SCALE")
ACRX_DEFINE_MEMBERS(AcDbObjectContextData, AcDbObject)
ACRX_DEFINE_MEMBERS(AcDbAnnotScaleObjectContextData, AcDbObjectContextData)
ACRX_DEFINE_MEMBERS_DXF(AcDbTextObjectContextData, AcDbAnnotScaleObjectContextData,
                        L"ACDB_TEXTOBJECTCONTEXTDATA_CLASS")
ACRX_DEFINE_MEMBERS_DXF(AcDbMTextObjectContextData, AcDbAnnotScaleObjectContextData,
                        L"ACDB_MTEXTOBJECTCONTEXTDATA_CLASS")
ACRX_DEFINE_MEMBERS_DXF(AcDbBlkRefObjectContextData, AcDbAnnotScaleObjectContextData,
                        L"ACDB_BLKREFOBJECTCONTEXTDATA_CLASS")
ACRX_DEFINE_MEMBERS_DXF(AcDbMLeaderObjectContextData, AcDbAnnotScaleObjectContextData,
                        L"ACDB_MLEADEROBJECTCONTEXTDATA_CLASS")
ACRX_DEFINE_MEMBERS_DXF(AcDbLeaderObjectContextData, AcDbAnnotScaleObjectContextData,
                        L"ACDB_LEADEROBJECTCONTEXTDATA_CLASS")
ACRX_DEFINE_MEMBERS_DXF(AcDbHatchScaleContextData, AcDbAnnotScaleObjectContextData,
                        L"ACDB_HATCHSCALECONTEXTDATA_CLASS")
ACRX_DEFINE_MEMBERS_DXF(AcDbAlignedDimensionObjectContextData, AcDbAnnotScaleObjectContextData,
                        L"ACDB_ALDIMOBJECTCONTEXTDATA_CLASS")
ACRX_DEFINE_MEMBERS_DXF(AcDbFcfObjectContextData, AcDbAnnotScaleObjectContextData,
                        L"ACDB_FCFOBJECTCONTEXTDATA_CLASS")

// ---- SCALE objects ----------------------------------------------------------------------------

AcDbScale::AcDbScale() = default;

Acad::ErrorStatus AcDbScale::setScaleName(const ACHAR* name) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!name || !*name)
        return Acad::eInvalidInput;
    m_name = name;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbScale::setUnits(double paper, double drawing) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!(paper > 0.0) || !(drawing > 0.0))
        return Acad::eInvalidInput;
    m_paper = paper;
    m_drawing = drawing;
    m_unit = paper == drawing;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbScale::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbObject::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbScale");
    return readSubclass(f, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 70:
            m_flags = rb.resval.rint;
            break;
        case 300:
            m_name = rb.resval.rstring ? rb.resval.rstring : L"";
            break;
        case 140:
            m_paper = rb.resval.rreal;
            break;
        case 141:
            m_drawing = rb.resval.rreal;
            break;
        case 290:
            m_unit = rb.resval.rint != 0;
            break;
        default:
            break;
        }
    });
}

Acad::ErrorStatus AcDbScale::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbObject::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbScale");
    f->writeInt16(AcDb::kDxfInt16, m_flags);
    f->writeString(AcDb::kDxfXTextString, m_name.c_str());
    f->writeDouble(AcDb::kDxfXReal, m_paper);
    f->writeDouble(static_cast<AcDb::DxfCode>(141), m_drawing);
    f->writeBool(AcDb::kDxfBool, m_unit);
    return f->filerStatus();
}

// ---- Context data -----------------------------------------------------------------------------

AcDbObjectContextData::AcDbObjectContextData() = default;

Acad::ErrorStatus AcDbObjectContextData::setIsDefault(bool bDefault) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_default = bDefault;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObjectContextData::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbObject::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbObjectContextData");
    return readSubclass(f, [&](const resbuf& rb) {
        if (rb.restype == 70)
            m_version = rb.resval.rint;
        else if (rb.restype == 290)
            m_default = rb.resval.rint != 0;
    });
}

Acad::ErrorStatus AcDbObjectContextData::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbObject::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbObjectContextData");
    f->writeInt16(AcDb::kDxfInt16, m_version);
    f->writeBool(AcDb::kDxfBool, m_default);
    return f->filerStatus();
}

AcDbAnnotScaleObjectContextData::AcDbAnnotScaleObjectContextData() = default;
AcDbAnnotScaleObjectContextData::~AcDbAnnotScaleObjectContextData() {
    acutRelRb(m_data);
}

AcDbObjectId AcDbAnnotScaleObjectContextData::scaleId() const {
    return m_scale;
}

Acad::ErrorStatus AcDbAnnotScaleObjectContextData::setScaleId(AcDbObjectId id) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_scale = id;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbAnnotScaleObjectContextData::setKindData(const resbuf* chain) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    resbuf* c = rbCopyChain(chain);
    acutRelRb(m_data);
    m_data = c;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbAnnotScaleObjectContextData::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbObjectContextData::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbAnnotScaleObjectContextData");
    es = readSubclass(f, [&](const resbuf& rb) {
        if (rb.restype == 340)
            m_scale = rbId(rb);
    });
    if (es != Acad::eOk)
        return es;
    // The kind's own subclass, up to the extended data.
    resbuf* head = nullptr;
    resbuf** tail = &head;
    resbuf rb{};
    while (f->readResBuf(&rb) == Acad::eOk) {
        if (rb.restype == AcDb::kDxfRegAppName) {
            rbFreeValue(&rb);
            f->pushBackItem();
            break;
        }
        *tail = acutNewRb(rb.restype);
        (*tail)->resval = rb.resval;
        tail = &(*tail)->rbnext;
        rb = resbuf{};
    }
    acutRelRb(m_data);
    m_data = head;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbAnnotScaleObjectContextData::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbObjectContextData::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbAnnotScaleObjectContextData");
    f->writeObjectId(AcDb::kDxfHardPointerId, m_scale);
    for (const resbuf* rb = m_data; rb; rb = rb->rbnext)
        f->writeResBuf(*rb);
    return f->filerStatus();
}

// ---- AcDbAnnotationScale ------------------------------------------------------------------------

struct AcDbAnnotationScaleAccess {
    static void fill(AcDbAnnotationScale& s, const AcDbScale* scale) {
        s.m_name = scale->scaleName();
        s.m_paper = scale->paperUnits();
        s.m_drawing = scale->drawingUnits();
        s.m_temporary = false;
        s.m_id = scale->objectId().asOldId();
    }
};

Acad::ErrorStatus AcDbAnnotationScale::getName(AcString& name) const {
    name = m_name;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbAnnotationScale::setName(const AcString& name) {
    if (name.isEmpty())
        return Acad::eInvalidInput;
    m_name = name;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbAnnotationScale::copyFrom(const AcRxObject* pOther) {
    const AcDbAnnotationScale* p = AcDbAnnotationScale::cast(pOther);
    if (!p)
        return Acad::eWrongObjectType;
    m_name = p->m_name;
    m_paper = p->m_paper;
    m_drawing = p->m_drawing;
    m_temporary = p->m_temporary;
    m_id = p->m_id;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbAnnotationScale::getPaperUnits(double& d) const {
    d = m_paper;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbAnnotationScale::getDrawingUnits(double& d) const {
    d = m_drawing;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbAnnotationScale::setPaperUnits(double d) {
    if (!(d > 0.0))
        return Acad::eInvalidInput;
    m_paper = d;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbAnnotationScale::setDrawingUnits(double d) {
    if (!(d > 0.0))
        return Acad::eInvalidInput;
    m_drawing = d;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbAnnotationScale::getIsTemporaryScale(bool& b) const {
    b = m_temporary;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbAnnotationScale::getScale(double& d) const {
    if (!(m_drawing > 0.0))
        return Acad::eInvalidInput;
    d = m_paper / m_drawing;
    return Acad::eOk;
}

// ---- Scale list lookups -------------------------------------------------------------------------

namespace khost {

namespace {

AcDbDictionary* scaleList(AcDbDatabase* db) {
    return db ? AcDbDictionary::cast(peekObject(db->scaleListDictionaryId())) : nullptr;
}

// The live scales of the list in key order, with their keys.
std::vector<std::pair<std::wstring, AcDbScale*>> scalesOf(AcDbDatabase* db) {
    std::vector<std::pair<std::wstring, AcDbScale*>> out;
    AcDbDictionary* dict = scaleList(db);
    if (!dict)
        return out;
    std::unique_ptr<AcDbDictionaryIterator> it(dict->newIterator());
    for (; !it->done(); it->next())
        if (auto* s = AcDbScale::cast(peekObject(it->objectId())))
            out.emplace_back(it->name(), s);
    return out;
}

std::wstring upper(const ACHAR* s) {
    return nameKey(s ? s : L"");
}

} // namespace

AcDbScale* findScale(AcDbDatabase* db, const ACHAR* name) {
    const std::wstring key = upper(name);
    for (auto& [k, s] : scalesOf(db))
        if (upper(s->scaleName()) == key)
            return s;
    return nullptr;
}

AcDbScale* scaleOfContext(AcDbDatabase* db, const AcDbObjectContext& context) {
    if (!db)
        return nullptr;
    if (Adesk::LongPtr id = context.uniqueIdentifier()) {
        for (auto& [k, s] : scalesOf(db))
            if (s->objectId().asOldId() == id)
                return s;
    }
    AcString name;
    context.getName(name);
    return findScale(db, name.kACharPtr());
}

AcDbAnnotationScale* newAnnotationScale(const AcDbScale* scale) {
    auto* s = new AcDbAnnotationScale;
    AcDbAnnotationScaleAccess::fill(*s, scale);
    return s;
}

void buildDefaultScaleList(AcDbDatabase* db) {
    struct Radek {
        const wchar_t* name;
        double paper, drawing;
    };
    static const Radek kScales[] = {
        {L"1:1", 1, 1},   {L"1:2", 1, 2},     {L"1:4", 1, 4},   {L"1:5", 1, 5},   {L"1:8", 1, 8},
        {L"1:10", 1, 10}, {L"1:16", 1, 16},   {L"1:20", 1, 20}, {L"1:30", 1, 30}, {L"1:40", 1, 40},
        {L"1:50", 1, 50}, {L"1:100", 1, 100}, {L"2:1", 2, 1},   {L"4:1", 4, 1},   {L"8:1", 8, 1},
        {L"10:1", 10, 1}, {L"100:1", 100, 1},
    };
    AcDbDictionary* dict = scaleList(db);
    if (!dict)
        return;
    int n = 0;
    for (const Radek& r : kScales) {
        auto* s = new AcDbScale;
        s->setScaleName(r.name);
        s->setUnits(r.paper, r.drawing);
        AcDbObjectId id;
        db->addAcDbObject(id, s);
        DbAccess::setOwner(s, DbAccess::stub(dict));
        DbAccess::forceClose(s);
        linkEntry(dict, (L"A" + std::to_wstring(n++)).c_str(), id);
    }
}

} // namespace khost

// ---- The annotation-scale collection
// -------------------------------------------------------------

namespace {

class ScaleIterator : public AcDbObjectContextCollectionIterator {
public:
    explicit ScaleIterator(std::vector<AcDbObjectId> ids) : m_ids(std::move(ids)) {}
    Acad::ErrorStatus start() override {
        m_pos = 0;
        skip();
        return Acad::eOk;
    }
    Acad::ErrorStatus next() override {
        if (done())
            return Acad::eIteratorDone;
        ++m_pos;
        skip();
        return Acad::eOk;
    }
    bool done() const override { return m_pos >= m_ids.size(); }
    Acad::ErrorStatus getContext(AcDbObjectContext*& pContext) const override {
        pContext = nullptr;
        if (done())
            return Acad::eIteratorDone;
        auto* s = AcDbScale::cast(peekObject(m_ids[m_pos]));
        if (!s || m_ids[m_pos].isErased())
            return Acad::eWasErased;
        pContext = newAnnotationScale(s);
        return Acad::eOk;
    }

private:
    // Scales removed while iterating are passed over.
    void skip() {
        while (m_pos < m_ids.size() && m_ids[m_pos].isErased())
            ++m_pos;
    }
    std::vector<AcDbObjectId> m_ids;
    size_t m_pos = 0;
};

class ScaleCollection : public AcDbObjectContextCollection {
public:
    explicit ScaleCollection(AcDbDatabase* db) : m_db(db) {}

    AcString name() const override { return ACDB_ANNOTATIONSCALES_COLLECTION; }

    AcDbObjectContext* currentContext(const AcDbObject*) const override {
        AcDbScale* s = findScale(m_db, m_db->impl().header.cannoscale.c_str());
        return s ? newAnnotationScale(s) : nullptr;
    }

    Acad::ErrorStatus setCurrentContext(const AcDbObjectContext* pContext) override {
        if (!pContext)
            return Acad::eNullObjectPointer;
        if (!AcDbAnnotationScale::cast(pContext))
            return Acad::eWrongObjectType;
        AcDbScale* s = scaleOfContext(m_db, *pContext);
        if (!s)
            return Acad::eKeyNotFound;
        m_db->impl().header.cannoscale = s->scaleName();
        return Acad::eOk;
    }

    Acad::ErrorStatus addContext(const AcDbObjectContext* pContext) override {
        const auto* scale = AcDbAnnotationScale::cast(pContext);
        if (!pContext)
            return Acad::eNullObjectPointer;
        if (!scale)
            return Acad::eWrongObjectType;
        AcString name;
        scale->getName(name);
        double paper = 0.0, drawing = 0.0;
        scale->getPaperUnits(paper);
        scale->getDrawingUnits(drawing);
        if (name.isEmpty() || !(paper > 0.0) || !(drawing > 0.0))
            return Acad::eInvalidInput;
        if (findScale(m_db, name.kACharPtr()))
            return Acad::eDuplicateKey;
        AcDbDictionary* dict = nullptr;
        Acad::ErrorStatus es = m_db->getScaleListDictionary(dict, AcDb::kForWrite);
        if (es != Acad::eOk)
            return es;
        // The next key after the highest "A<n>".
        long next = 0;
        std::unique_ptr<AcDbDictionaryIterator> it(dict->newIterator());
        for (; !it->done(); it->next()) {
            const ACHAR* key = it->name();
            if (key && (key[0] == L'A' || key[0] == L'a'))
                next = std::max(next, std::wcstol(key + 1, nullptr, 10) + 1);
        }
        auto* s = new AcDbScale;
        s->setScaleName(name.kACharPtr());
        s->setUnits(paper, drawing);
        AcDbObjectId id;
        es = dict->setAt((L"A" + std::to_wstring(next)).c_str(), s, id);
        if (es != Acad::eOk)
            delete s;
        else
            s->close();
        dict->close();
        return es;
    }

    Acad::ErrorStatus removeContext(const AcString& contextName) override {
        AcDbScale* s = findScale(m_db, contextName.kACharPtr());
        if (!s)
            return Acad::eKeyNotFound;
        const AcDbObjectId id = s->objectId();
        if (upper(s->scaleName()) == upper(m_db->impl().header.cannoscale.c_str()) ||
            (m_locked && m_lockedId == id.asOldId()) || scaleInUse(m_db, id))
            return Acad::eObjectIsReferenced;
        AcDbDictionary* dict = nullptr;
        Acad::ErrorStatus es = m_db->getScaleListDictionary(dict, AcDb::kForWrite);
        if (es != Acad::eOk)
            return es;
        AcDbObject* obj = nullptr;
        es = acdbOpenObject(obj, id, AcDb::kForWrite);
        if (es == Acad::eOk) {
            es = dict->remove(id);
            if (es == Acad::eOk)
                es = obj->erase();
            obj->close();
        }
        dict->close();
        return es;
    }

    Acad::ErrorStatus lockContext(const AcDbObjectContext* pContext) override {
        if (!pContext)
            return Acad::eNullObjectPointer;
        AcDbScale* s = scaleOfContext(m_db, *pContext);
        if (!s)
            return Acad::eKeyNotFound;
        if (m_locked)
            return Acad::eInvalidContext;
        m_locked = true;
        m_lockedId = s->objectId().asOldId();
        return Acad::eOk;
    }
    Acad::ErrorStatus unlockContext() override {
        m_locked = false;
        m_lockedId = 0;
        return Acad::eOk;
    }
    bool locked() const override { return m_locked; }

    AcDbObjectContext* getContext(const AcString& contextName) const override {
        AcDbScale* s = findScale(m_db, contextName.kACharPtr());
        return s ? newAnnotationScale(s) : nullptr;
    }
    bool hasContext(const AcString& contextName) const override {
        return findScale(m_db, contextName.kACharPtr()) != nullptr;
    }
    AcDbObjectContextCollectionIterator* newIterator() const override {
        std::vector<AcDbObjectId> ids;
        for (auto& [k, s] : scalesOf(m_db))
            ids.push_back(s->objectId());
        auto* it = new ScaleIterator(std::move(ids));
        it->start();
        return it;
    }

private:
    AcDbDatabase* m_db;
    bool m_locked = false;
    Adesk::LongPtr m_lockedId = 0;
};

// One manager per live database.
std::map<const AcDbDatabase*, std::unique_ptr<AcDbObjectContextManager>>& managers() {
    static std::map<const AcDbDatabase*, std::unique_ptr<AcDbObjectContextManager>> m;
    return m;
}

} // namespace

struct AcDbObjectContextManager::Impl {
    std::map<std::wstring, std::unique_ptr<AcDbObjectContextCollection>> collections;
};

AcDbObjectContextManager::AcDbObjectContextManager(AcDbDatabase* pDb) : m_impl(new Impl) {
    m_impl->collections[ACDB_ANNOTATIONSCALES_COLLECTION] = std::make_unique<ScaleCollection>(pDb);
}
AcDbObjectContextManager::~AcDbObjectContextManager() {
    delete m_impl;
}

Acad::ErrorStatus
AcDbObjectContextManager::registerContextCollection(const AcString& collectionName,
                                                    AcDbObjectContextCollection* pCollection) {
    if (!pCollection || collectionName.isEmpty())
        return Acad::eInvalidInput;
    auto& slot = m_impl->collections[collectionName.kACharPtr()];
    if (slot)
        return Acad::eDuplicateKey;
    slot.reset(pCollection);
    return Acad::eOk;
}

Acad::ErrorStatus
AcDbObjectContextManager::unregisterContextCollection(const AcString& collectionName) {
    if (collectionName == AcString(ACDB_ANNOTATIONSCALES_COLLECTION))
        return Acad::eNotApplicable;
    return m_impl->collections.erase(collectionName.kACharPtr()) ? Acad::eOk : Acad::eKeyNotFound;
}

AcDbObjectContextCollection*
AcDbObjectContextManager::contextCollection(const AcString& collectionName) const {
    auto it = m_impl->collections.find(collectionName.kACharPtr());
    return it == m_impl->collections.end() ? nullptr : it->second.get();
}

// ---- The database's side
// --------------------------------------------------------------------------

AcDbObjectContextManager* AcDbDatabase::objectContextManager() const {
    auto& m = managers();
    // Managers of databases that are gone go with them.
    const auto& live = liveDatabases();
    for (auto it = m.begin(); it != m.end();) {
        if (std::find(live.begin(), live.end(), it->first) == live.end())
            it = m.erase(it);
        else
            ++it;
    }
    auto& slot = m[this];
    if (!slot)
        slot = std::make_unique<AcDbObjectContextManager>(const_cast<AcDbDatabase*>(this));
    return slot.get();
}

AcDbAnnotationScale* AcDbDatabase::cannoscale() const {
    AcDbScale* s = findScale(const_cast<AcDbDatabase*>(this), m_impl->header.cannoscale.c_str());
    return s ? newAnnotationScale(s) : nullptr;
}

Acad::ErrorStatus AcDbDatabase::setCannoscale(AcDbAnnotationScale* val) {
    if (!val)
        return Acad::eNullObjectPointer;
    AcDbScale* s = scaleOfContext(this, *val);
    if (!s)
        return Acad::eKeyNotFound;
    m_impl->header.cannoscale = s->scaleName();
    return Acad::eOk;
}

// ---- Registration
// ----------------------------------------------------------------------------------

namespace {
template <class T> AcDbObject* make() {
    return new T;
}
const bool kRegistered = [] {
    registerDbClass(AcDbScale::desc(), &make<AcDbScale>);
    registerDbClass(AcDbTextObjectContextData::desc(), &make<AcDbTextObjectContextData>);
    registerDbClass(AcDbMTextObjectContextData::desc(), &make<AcDbMTextObjectContextData>);
    registerDbClass(AcDbBlkRefObjectContextData::desc(), &make<AcDbBlkRefObjectContextData>);
    registerDbClass(AcDbMLeaderObjectContextData::desc(), &make<AcDbMLeaderObjectContextData>);
    registerDbClass(AcDbLeaderObjectContextData::desc(), &make<AcDbLeaderObjectContextData>);
    registerDbClass(AcDbHatchScaleContextData::desc(), &make<AcDbHatchScaleContextData>);
    registerDbClass(AcDbAlignedDimensionObjectContextData::desc(),
                    &make<AcDbAlignedDimensionObjectContextData>);
    registerDbClass(AcDbFcfObjectContextData::desc(), &make<AcDbFcfObjectContextData>);
    return true;
}();
} // namespace
