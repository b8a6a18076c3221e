// Dictionaries, extension records, layouts and the objects kept raw.
#include "dbimpl.h"

#include "acutads.h"
#include "dblayout.h"
#include "dbraw.h"
#include "dbxrecrd.h"

ACRX_DEFINE_MEMBERS_DXF(AcDbDictionary, AcDbObject, L"DICTIONARY")
ACRX_DEFINE_MEMBERS_DXF(AcDbDictionaryWithDefault, AcDbDictionary, L"ACDBDICTIONARYWDFLT")
ACRX_DEFINE_MEMBERS_DXF(AcDbXrecord, AcDbObject, L"XRECORD")
ACRX_DEFINE_MEMBERS_DXF(AcDbRawObject, AcDbObject, L"")
ACRX_DEFINE_MEMBERS_DXF(AcDbRawEntity, AcDbEntity, L"")

using namespace khost;

// ---- Dictionaries -----------------------------------------------------------------------------

AcDbDictionary::AcDbDictionary() = default;
AcDbDictionary::~AcDbDictionary() = default;

const AcDbDictionary::Entry* AcDbDictionary::find(const ACHAR* key) const {
    if (!key)
        return nullptr;
    auto it = m_entries.find(nameKey(key));
    if (it == m_entries.end() || stubErased(it->second.stub))
        return nullptr;
    return &it->second;
}

Acad::ErrorStatus AcDbDictionary::getAt(const ACHAR* entryName, AcDbObject*& entryObj,
                                        AcDb::OpenMode mode) const {
    entryObj = nullptr;
    const Entry* e = find(entryName);
    if (!e)
        return Acad::eKeyNotFound;
    return acdbOpenObject(entryObj, AcDbObjectId(e->stub), mode);
}

Acad::ErrorStatus AcDbDictionary::getAt(const ACHAR* entryName, AcDbObjectId& entryObj) const {
    entryObj = AcDbObjectId::kNull;
    const Entry* e = find(entryName);
    if (!e)
        return Acad::eKeyNotFound;
    entryObj = AcDbObjectId(e->stub);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::nameAt(AcDbObjectId objId, ACHAR*& name) const {
    AcString s;
    Acad::ErrorStatus es = nameAt(objId, s);
    if (es == Acad::eOk)
        acutNewString(s.kACharPtr(), name);
    return es;
}

Acad::ErrorStatus AcDbDictionary::nameAt(AcDbObjectId objId, AcString& name) const {
    for (auto& [k, e] : m_entries)
        if (e.stub == objId.stub() && !stubErased(e.stub)) {
            name = e.key;
            return Acad::eOk;
        }
    return Acad::eKeyNotFound;
}

bool AcDbDictionary::has(const ACHAR* entryName) const {
    return find(entryName) != nullptr;
}
bool AcDbDictionary::has(AcDbObjectId objId) const {
    AcString s;
    return nameAt(objId, s) == Acad::eOk;
}

Adesk::UInt32 AcDbDictionary::numEntries() const {
    Adesk::UInt32 n = 0;
    for (auto& [k, e] : m_entries)
        if (!stubErased(e.stub))
            ++n;
    return n;
}

Acad::ErrorStatus AcDbDictionary::setAt(const ACHAR* srchKey, AcDbObject* newValue,
                                        AcDbObjectId& retObjId) {
    retObjId = AcDbObjectId::kNull;
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!srchKey || !*srchKey)
        return Acad::eInvalidKey;
    if (!newValue)
        return Acad::eNullObjectPointer;
    AcDbDatabase* db = database();
    if (!db)
        return Acad::eNotInDatabase;
    if (newValue->isDatabaseResident() && newValue->database() != db)
        return Acad::eWrongDatabase;
    const std::wstring k = nameKey(srchKey);
    auto it = m_entries.find(k);
    if (it != m_entries.end() && it->second.stub != DbAccess::stub(newValue)) {
        if (!stubErased(it->second.stub))
            DbAccess::setErasedTree(it->second.stub, true);
        m_entries.erase(it);
    }
    if (!newValue->isDatabaseResident()) {
        Acad::ErrorStatus es = db->addAcDbObject(retObjId, newValue);
        if (es != Acad::eOk)
            return es;
    }
    DbAccess::setOwner(newValue, DbAccess::stub(this));
    m_entries[k] = Entry{srchKey, DbAccess::stub(newValue)};
    retObjId = newValue->objectId();
    return Acad::eOk;
}

namespace khost {
Acad::ErrorStatus linkEntry(AcDbDictionary* dict, const ACHAR* key, AcDbObjectId entry) {
    AcDbObject* o = peekObject(entry);
    if (!o || !key || !*key)
        return Acad::eInvalidInput;
    DbAccess::setOwner(o, DbAccess::stub(dict));
    DbAccess::setEntry(dict, key, entry.stub());
    return Acad::eOk;
}
} // namespace khost

Acad::ErrorStatus AcDbDictionary::remove(const ACHAR* key) {
    AcDbObjectId id;
    return remove(key, id);
}

Acad::ErrorStatus AcDbDictionary::remove(const ACHAR* key, AcDbObjectId& returnId) {
    returnId = AcDbObjectId::kNull;
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!find(key))
        return Acad::eKeyNotFound;
    auto it = m_entries.find(nameKey(key));
    returnId = AcDbObjectId(it->second.stub);
    if (AcDbObject* o = it->second.stub->object)
        DbAccess::setOwner(o, nullptr);
    m_entries.erase(it);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::remove(AcDbObjectId objId) {
    AcString key;
    if (nameAt(objId, key) != Acad::eOk)
        return isWriteEnabled() ? Acad::eKeyNotFound : Acad::eNotOpenForWrite;
    return remove(key.kACharPtr());
}

bool AcDbDictionary::setName(const ACHAR* oldName, const ACHAR* newName) {
    if (!assertWriteEnabled())
        return false;
    if (!find(oldName) || !newName || !*newName || find(newName))
        return false;
    auto it = m_entries.find(nameKey(oldName));
    Entry e = it->second;
    m_entries.erase(it);
    e.key = newName;
    m_entries[nameKey(newName)] = e;
    return true;
}

AcDbDictionaryIterator* AcDbDictionary::newIterator() const {
    return new AcDbDictionaryIterator(this);
}

void AcDbDictionary::setTreatElementsAsHard(bool doIt) {
    if (assertWriteEnabled())
        m_hard = doIt;
}
void AcDbDictionary::setMergeStyle(AcDb::DuplicateRecordCloning style) {
    if (assertWriteEnabled())
        m_merge = static_cast<Adesk::UInt8>(style);
}

Acad::ErrorStatus AcDbDictionary::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbObject::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbDictionary");
    std::wstring key;
    return readSubclass(f, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 280:
            m_hard = rb.resval.rint != 0;
            break;
        case 281:
            m_merge = static_cast<Adesk::UInt8>(rb.resval.rint);
            break;
        case 3:
            key = rb.resval.rstring;
            break;
        case 350:
        case 360:
            if (!key.empty())
                m_entries[nameKey(key.c_str())] = Entry{key, rbId(rb).stub()};
            break;
        default:
            break;
        }
    });
}

Acad::ErrorStatus AcDbDictionary::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbObject::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbDictionary");
    if (m_hard)
        f->writeInt16(AcDb::kDxfInt8, 1);
    f->writeInt16(static_cast<AcDb::DxfCode>(281), m_merge);
    for (auto& [k, e] : m_entries) {
        if (stubErased(e.stub))
            continue;
        f->writeString(AcDb::kDxfAttributePrompt, e.key.c_str());
        f->writeObjectId(m_hard ? AcDb::kDxfHardOwnershipId : AcDb::kDxfSoftOwnershipId,
                         AcDbObjectId(e.stub));
    }
    return f->filerStatus();
}

AcDbDictionaryIterator::AcDbDictionaryIterator(const AcDbDictionary* dict) {
    for (auto& [k, e] : dict->m_entries)
        m_items.emplace_back(e.key, e.stub);
    skipErased();
}
void AcDbDictionaryIterator::skipErased() {
    while (m_pos < m_items.size() && stubErased(m_items[m_pos].second))
        ++m_pos;
}
const ACHAR* AcDbDictionaryIterator::name() const {
    return done() ? nullptr : m_items[m_pos].first.c_str();
}
AcDbObjectId AcDbDictionaryIterator::objectId() const {
    return done() ? AcDbObjectId::kNull : AcDbObjectId(m_items[m_pos].second);
}
Acad::ErrorStatus AcDbDictionaryIterator::getObject(AcDbObject*& pObject, AcDb::OpenMode mode) {
    pObject = nullptr;
    if (done())
        return Acad::eIteratorDone;
    return acdbOpenObject(pObject, objectId(), mode);
}
bool AcDbDictionaryIterator::done() const {
    return m_pos >= m_items.size();
}
bool AcDbDictionaryIterator::next() {
    if (done())
        return false;
    ++m_pos;
    skipErased();
    return !done();
}
bool AcDbDictionaryIterator::setPosition(AcDbObjectId objId) {
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].second == objId.stub() && !stubErased(objId.stub())) {
            m_pos = i;
            return true;
        }
    return false;
}

AcDbDictionaryWithDefault::AcDbDictionaryWithDefault() = default;
Acad::ErrorStatus AcDbDictionaryWithDefault::setDefaultId(const AcDbObjectId& newId) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!has(newId))
        return Acad::eKeyNotFound;
    m_default = newId.stub();
    return Acad::eOk;
}
AcDbObjectId AcDbDictionaryWithDefault::defaultId() const {
    return AcDbObjectId(m_default);
}
Acad::ErrorStatus AcDbDictionaryWithDefault::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbDictionary::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbDictionaryWithDefault");
    return readSubclass(f, [&](const resbuf& rb) {
        if (rb.restype == 340)
            m_default = rbId(rb).stub();
    });
}
Acad::ErrorStatus AcDbDictionaryWithDefault::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbDictionary::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbDictionaryWithDefault");
    return f->writeObjectId(AcDb::kDxfHardPointerId, AcDbObjectId(m_default));
}

// ---- Extension records ------------------------------------------------------------------------

AcDbXrecord::AcDbXrecord() = default;
AcDbXrecord::~AcDbXrecord() {
    acutRelRb(m_data);
}

Acad::ErrorStatus AcDbXrecord::rbChain(resbuf** ppRb, AcDbDatabase*) const {
    if (!ppRb)
        return Acad::eNullPtr;
    *ppRb = rbCopyChain(m_data);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbXrecord::setFromRbChain(const resbuf& pRb, AcDbDatabase*) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    for (const resbuf* rb = &pRb; rb; rb = rb->rbnext)
        if (rb->restype < -5 || (rb->restype >= 1000 && rb->restype <= 1071) || rb->restype >= 5000)
            return Acad::eInvalidResBuf;
    resbuf* copy = rbCopyChain(&pRb);
    acutRelRb(m_data);
    m_data = copy;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbXrecord::clearRbChain() {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    acutRelRb(m_data);
    m_data = nullptr;
    return Acad::eOk;
}

void AcDbXrecord::setXlateReferences(bool translate) {
    if (assertWriteEnabled())
        m_xlate = translate;
}
void AcDbXrecord::setMergeStyle(AcDb::DuplicateRecordCloning style) {
    if (assertWriteEnabled())
        m_merge = static_cast<Adesk::UInt8>(style);
}

Acad::ErrorStatus AcDbXrecord::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbObject::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbXrecord");
    resbuf* head = nullptr;
    resbuf** tail = &head;
    bool first = true;
    resbuf rb{};
    while (f->readResBuf(&rb) == Acad::eOk) {
        if (rb.restype == AcDb::kDxfRegAppName) {
            rbFreeValue(&rb);
            f->pushBackItem();
            break;
        }
        if (first && rb.restype == 280) {
            m_merge = static_cast<Adesk::UInt8>(rb.resval.rint);
            first = false;
            continue;
        }
        first = false;
        *tail = acutNewRb(rb.restype);
        (*tail)->resval = rb.resval; // takes over the value
        tail = &(*tail)->rbnext;
        rb = resbuf{};
    }
    acutRelRb(m_data);
    m_data = head;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbXrecord::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbObject::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbXrecord");
    f->writeInt16(AcDb::kDxfInt8, m_merge);
    for (const resbuf* rb = m_data; rb; rb = rb->rbnext)
        f->writeResBuf(*rb);
    return f->filerStatus();
}

// ---- Raw objects --------------------------------------------------------------------------------

namespace {
Acad::ErrorStatus readRaw(AcDbDxfFiler* f, resbuf*& data) {
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
    acutRelRb(data);
    data = head;
    return Acad::eOk;
}
void writeRaw(AcDbDxfFiler* f, const resbuf* data) {
    for (const resbuf* rb = data; rb; rb = rb->rbnext)
        f->writeResBuf(*rb);
}
} // namespace

AcDbRawObject::AcDbRawObject() = default;
AcDbRawObject::AcDbRawObject(const ACHAR* dxfName, const ACHAR* className)
    : m_dxfName(dxfName ? dxfName : L""), m_className(className ? className : L"") {}
AcDbRawObject::~AcDbRawObject() {
    acutRelRb(m_data);
}
Acad::ErrorStatus AcDbRawObject::setNames(const ACHAR* dxfName, const ACHAR* className) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_dxfName = dxfName ? dxfName : L"";
    m_className = className ? className : L"";
    return Acad::eOk;
}
Acad::ErrorStatus AcDbRawObject::setRawData(const resbuf* chain) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    resbuf* c = rbCopyChain(chain);
    acutRelRb(m_data);
    m_data = c;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbRawObject::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbObject::dxfInFields(f);
    return es == Acad::eOk ? readRaw(f, m_data) : es;
}
Acad::ErrorStatus AcDbRawObject::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbObject::dxfOutFields(f);
    writeRaw(f, m_data);
    return f->filerStatus();
}

AcDbRawEntity::AcDbRawEntity() = default;
AcDbRawEntity::AcDbRawEntity(const ACHAR* dxfName, const ACHAR* className)
    : m_dxfName(dxfName ? dxfName : L""), m_className(className ? className : L"") {}
AcDbRawEntity::~AcDbRawEntity() {
    acutRelRb(m_data);
}
Acad::ErrorStatus AcDbRawEntity::setNames(const ACHAR* dxfName, const ACHAR* className) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_dxfName = dxfName ? dxfName : L"";
    m_className = className ? className : L"";
    return Acad::eOk;
}
Acad::ErrorStatus AcDbRawEntity::setRawData(const resbuf* chain) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    resbuf* c = rbCopyChain(chain);
    acutRelRb(m_data);
    m_data = c;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbRawEntity::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(f);
    return es == Acad::eOk ? readRaw(f, m_data) : es;
}
Acad::ErrorStatus AcDbRawEntity::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbEntity::dxfOutFields(f);
    writeRaw(f, m_data);
    return f->filerStatus();
}

const ACHAR* khostDxfName(const AcDbObject* pObj) {
    if (!pObj)
        return L"";
    if (auto* r = AcDbRawObject::cast(pObj))
        return r->dxfName();
    if (auto* r = AcDbRawEntity::cast(pObj))
        return r->dxfName();
    return pObj->isA()->dxfName();
}
