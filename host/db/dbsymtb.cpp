// Symbol tables and their records.
#include "dbimpl.h"

#include "acutads.h"
#include "dbdynblk.h"

#include <algorithm>

ACRX_DEFINE_MEMBERS_DXF(AcDbSymbolTable, AcDbObject, L"TABLE")
ACRX_DEFINE_MEMBERS_DXF(AcDbSymbolTableRecord, AcDbObject, L"")
ACRX_DEFINE_MEMBERS_DXF(AcDbBlockTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS_DXF(AcDbLayerTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS_DXF(AcDbLinetypeTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS_DXF(AcDbTextStyleTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS_DXF(AcDbDimStyleTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS_DXF(AcDbUCSTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS_DXF(AcDbRegAppTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS_DXF(AcDbViewTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS_DXF(AcDbViewportTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS_DXF(AcDbBlockTableRecord, AcDbSymbolTableRecord, L"BLOCK_RECORD")
ACRX_DEFINE_MEMBERS_DXF(AcDbLayerTableRecord, AcDbSymbolTableRecord, L"LAYER")
ACRX_DEFINE_MEMBERS_DXF(AcDbLinetypeTableRecord, AcDbSymbolTableRecord, L"LTYPE")
ACRX_DEFINE_MEMBERS_DXF(AcDbTextStyleTableRecord, AcDbSymbolTableRecord, L"STYLE")
ACRX_DEFINE_MEMBERS_DXF(AcDbDimStyleTableRecord, AcDbSymbolTableRecord, L"DIMSTYLE")
ACRX_DEFINE_MEMBERS_DXF(AcDbUCSTableRecord, AcDbSymbolTableRecord, L"UCS")
ACRX_DEFINE_MEMBERS_DXF(AcDbRegAppTableRecord, AcDbSymbolTableRecord, L"APPID")
ACRX_DEFINE_MEMBERS_DXF(AcDbAbstractViewTableRecord, AcDbSymbolTableRecord, L"")
ACRX_DEFINE_MEMBERS_DXF(AcDbViewTableRecord, AcDbAbstractViewTableRecord, L"VIEW")
ACRX_DEFINE_MEMBERS_DXF(AcDbViewportTableRecord, AcDbAbstractViewTableRecord, L"VPORT")

using namespace khost;

namespace {
Acad::ErrorStatus newString(const std::wstring& s, ACHAR*& out) {
    return acutNewString(s.c_str(), out) == RTNORM ? Acad::eOk : Acad::eOutOfMemory;
}
bool isRole(const AcDbObject* o, DbRole role) {
    const DbStub* s = DbAccess::stub(o);
    return s && s->database && s->database->impl().role(role) == s;
}
} // namespace

// ---- Records ----------------------------------------------------------------------------------

AcDbSymbolTableRecord::AcDbSymbolTableRecord() = default;
AcDbSymbolTableRecord::~AcDbSymbolTableRecord() = default;

Acad::ErrorStatus AcDbSymbolTableRecord::getName(ACHAR*& pName) const {
    return newString(m_name, pName);
}
Acad::ErrorStatus AcDbSymbolTableRecord::getName(AcString& sName) const {
    sName = m_name;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbSymbolTableRecord::getName(const ACHAR*& pName) const {
    pName = m_name.c_str();
    return Acad::eOk;
}

bool AcDbSymbolTableRecord::isDependent() const {
    return m_name.find(L'|') != std::wstring::npos;
}

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const ACHAR* pName) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    auto* table = AcDbSymbolTable::cast(stubObject(DbAccess::ownerStub(this)));
    const bool star = !table || AcDbBlockTable::cast(table) || AcDbViewportTable::cast(table);
    if (!isValidSymbolName(pName, star))
        return Acad::eInvalidSymbolTableName;
    if (table && DbAccess::stub(this)) {
        std::wstring key = nameKey(pName);
        auto& idx = DbAccess::index(table);
        auto it = idx.find(key);
        if (it != idx.end() && it->second != DbAccess::stub(this))
            return Acad::eDuplicateRecordName;
        if (!isErased()) {
            auto old = idx.find(nameKey(m_name.c_str()));
            if (old != idx.end() && old->second == DbAccess::stub(this))
                idx.erase(old);
            idx[key] = DbAccess::stub(this);
        }
    }
    m_name = pName;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::subErase(bool erasing) {
    // Keep the table's name index to the records that are not erased.
    auto* table = AcDbSymbolTable::cast(stubObject(DbAccess::ownerStub(this)));
    if (!table)
        return Acad::eOk;
    auto& idx = DbAccess::index(table);
    std::wstring key = nameKey(m_name.c_str());
    if (erasing) {
        auto it = idx.find(key);
        if (it != idx.end() && it->second == DbAccess::stub(this))
            idx.erase(it);
    } else {
        if (idx.count(key))
            return Acad::eDuplicateRecordName;
        idx[key] = DbAccess::stub(this);
    }
    return Acad::eOk;
}

// ---- Tables -----------------------------------------------------------------------------------

AcDbSymbolTable::AcDbSymbolTable() = default;
AcDbSymbolTable::~AcDbSymbolTable() = default;

DbStub* AcDbSymbolTable::findStub(const ACHAR* name, bool includeErased) const {
    if (!name)
        return nullptr;
    std::wstring key = nameKey(name);
    auto it = m_index.find(key);
    if (it != m_index.end())
        return it->second;
    if (includeErased)
        for (auto rit = m_records.rbegin(); rit != m_records.rend(); ++rit) {
            auto* r = static_cast<AcDbSymbolTableRecord*>((*rit)->object);
            if (r && nameKey(r->name()) == key)
                return *rit;
        }
    return nullptr;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* entryName, AcDbSymbolTableRecord*& pRec,
                                         AcDb::OpenMode openMode, bool openErasedRec) const {
    pRec = nullptr;
    DbStub* s = findStub(entryName, true);
    if (!s)
        return Acad::eKeyNotFound;
    return acdbOpenObject(pRec, AcDbObjectId(s), openMode, openErasedRec);
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* entryName, AcDbObjectId& recordId,
                                         bool getErasedRecord) const {
    recordId = AcDbObjectId::kNull;
    DbStub* s = findStub(entryName, getErasedRecord);
    if (!s)
        return Acad::eKeyNotFound;
    recordId = AcDbObjectId(s);
    return Acad::eOk;
}

bool AcDbSymbolTable::has(const ACHAR* name) const {
    return findStub(name, false) != nullptr;
}
bool AcDbSymbolTable::has(AcDbObjectId id) const {
    return !id.isErased() &&
           std::find(m_records.begin(), m_records.end(), id.stub()) != m_records.end();
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbSymbolTableRecord* pRecord) {
    AcDbObjectId id;
    return add(id, pRecord);
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& recordId, AcDbSymbolTableRecord* pRecord) {
    recordId = AcDbObjectId::kNull;
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!pRecord)
        return Acad::eNullObjectPointer;
    if (pRecord->isDatabaseResident())
        return Acad::eAlreadyInDb;
    if (!database())
        return Acad::eNotInDatabase;
    if (!pRecord->isKindOf(recordClass()))
        return Acad::eWrongObjectType;
    const bool star = AcDbBlockTable::cast(this) || AcDbViewportTable::cast(this);
    // The text style of a shape file (as complex linetypes load it) has no name.
    const auto* style = AcDbTextStyleTableRecord::cast(pRecord);
    const bool unnamed = style && style->isShapeFile() && !*pRecord->name();
    if (!unnamed && !isValidSymbolName(pRecord->name(), star))
        return Acad::eInvalidSymbolTableName;
    if (!unnamed && has(pRecord->name()))
        return Acad::eDuplicateRecordName;
    Acad::ErrorStatus es = database()->addAcDbObject(recordId, pRecord);
    if (es != Acad::eOk)
        return es;
    DbAccess::setOwner(pRecord, DbAccess::stub(this));
    m_records.push_back(recordId.stub());
    if (!unnamed)
        m_index[nameKey(pRecord->name())] = recordId.stub();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::newIterator(AcDbSymbolTableIterator*& pIterator,
                                               bool atBeginning, bool skipDeleted) const {
    pIterator = new AcDbSymbolTableIterator(this);
    pIterator->start(atBeginning, skipDeleted);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::dxfInFields(AcDbDxfFiler* pFiler) {
    Acad::ErrorStatus es = AcDbObject::dxfInFields(pFiler);
    if (es != Acad::eOk)
        return es;
    pFiler->atSubclassData(L"AcDbSymbolTable");
    resbuf rb{};
    while (pFiler->readResBuf(&rb) == Acad::eOk) {
        if (rb.restype != 70) {
            rbFreeValue(&rb);
            pFiler->pushBackItem();
            break;
        }
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::dxfOutFields(AcDbDxfFiler* pFiler) const {
    AcDbObject::dxfOutFields(pFiler);
    pFiler->writeString(AcDb::kDxfSubclass, L"AcDbSymbolTable");
    int n = 0;
    for (DbStub* s : m_records)
        if (!stubErased(s))
            ++n;
    return pFiler->writeInt16(AcDb::kDxfInt16, static_cast<Adesk::Int16>(n));
}

namespace khost {
Acad::ErrorStatus linkRecord(AcDbSymbolTable* table, AcDbObjectId record) {
    auto* r = AcDbSymbolTableRecord::cast(peekObject(record));
    if (!r)
        return Acad::eWrongObjectType;
    DbAccess::setOwner(r, DbAccess::stub(table));
    DbAccess::records(table).push_back(record.stub());
    if (!record.isErased())
        DbAccess::index(table)[nameKey(r->name())] = record.stub();
    return Acad::eOk;
}
} // namespace khost

// ---- Table iterators --------------------------------------------------------------------------

AcDbSymbolTableIterator::AcDbSymbolTableIterator(const AcDbSymbolTable* table)
    : m_table(DbAccess::stub(table)), m_tableObj(table) {}

const std::vector<DbStub*>* AcDbSymbolTableIterator::records() const {
    const AcDbSymbolTable* t =
        m_table ? static_cast<const AcDbSymbolTable*>(m_table->object) : m_tableObj;
    return t ? &t->m_records : nullptr;
}

void AcDbSymbolTableIterator::start(bool atBeginning, bool skipDeleted) {
    const auto* r = records();
    if (!r) {
        m_pos = -1;
        return;
    }
    m_pos = atBeginning ? 0 : static_cast<long long>(r->size()) - 1;
    if (skipDeleted)
        while (!done() && stubErased((*r)[static_cast<size_t>(m_pos)]))
            m_pos += atBeginning ? 1 : -1;
}

bool AcDbSymbolTableIterator::done() const {
    const auto* r = records();
    return !r || m_pos < 0 || m_pos >= static_cast<long long>(r->size());
}

void AcDbSymbolTableIterator::step(bool forward, bool skipDeleted) {
    const auto* r = records();
    if (!r)
        return;
    do {
        m_pos += forward ? 1 : -1;
    } while (skipDeleted && !done() && stubErased((*r)[static_cast<size_t>(m_pos)]));
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecordId(AcDbObjectId& id) const {
    if (done())
        return Acad::eIteratorDone;
    id = AcDbObjectId((*records())[static_cast<size_t>(m_pos)]);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecord(AcDbSymbolTableRecord*& pRecord,
                                                     AcDb::OpenMode mode,
                                                     bool openErasedRec) const {
    pRecord = nullptr;
    AcDbObjectId id;
    Acad::ErrorStatus es = getRecordId(id);
    return es == Acad::eOk ? acdbOpenObject(pRecord, id, mode, openErasedRec) : es;
}

Acad::ErrorStatus AcDbSymbolTableIterator::seek(AcDbObjectId id) {
    const auto* r = records();
    if (!r)
        return Acad::eNullIterator;
    auto it = std::find(r->begin(), r->end(), id.stub());
    if (it == r->end())
        return Acad::eInvalidInput;
    m_pos = it - r->begin();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableIterator::seek(const AcDbSymbolTableRecord* pRecord) {
    return pRecord ? seek(pRecord->objectId()) : Acad::eNullObjectPointer;
}

#define KHOST_DEFINE_SYMTABLE(TABLE, RECORD, ITERATOR)                                             \
    Acad::ErrorStatus TABLE::getAt(const ACHAR* entryName, RECORD*& pRec, AcDb::OpenMode openMode, \
                                   bool openErasedRec) const {                                     \
        AcDbSymbolTableRecord* p = nullptr;                                                        \
        Acad::ErrorStatus es = AcDbSymbolTable::getAt(entryName, p, openMode, openErasedRec);      \
        pRec = static_cast<RECORD*>(p);                                                            \
        return es;                                                                                 \
    }                                                                                              \
    Acad::ErrorStatus TABLE::add(RECORD* pRecord) {                                                \
        return AcDbSymbolTable::add(pRecord);                                                      \
    }                                                                                              \
    Acad::ErrorStatus TABLE::add(AcDbObjectId& recordId, RECORD* pRecord) {                        \
        return AcDbSymbolTable::add(recordId, pRecord);                                            \
    }                                                                                              \
    Acad::ErrorStatus TABLE::newIterator(ITERATOR*& pIterator, bool atBeginning, bool skipDeleted) \
        const {                                                                                    \
        pIterator = new ITERATOR(this);                                                            \
        pIterator->start(atBeginning, skipDeleted);                                                \
        return Acad::eOk;                                                                          \
    }                                                                                              \
    AcRxClass* TABLE::recordClass() const {                                                        \
        return RECORD::desc();                                                                     \
    }                                                                                              \
    Acad::ErrorStatus ITERATOR::getRecord(RECORD*& pRecord, AcDb::OpenMode openMode,               \
                                          bool openErasedRec) const {                              \
        AcDbSymbolTableRecord* p = nullptr;                                                        \
        Acad::ErrorStatus es = AcDbSymbolTableIterator::getRecord(p, openMode, openErasedRec);     \
        pRecord = static_cast<RECORD*>(p);                                                         \
        return es;                                                                                 \
    }

KHOST_DEFINE_SYMTABLE(AcDbBlockTable, AcDbBlockTableRecord, AcDbBlockTableIterator)
KHOST_DEFINE_SYMTABLE(AcDbLayerTable, AcDbLayerTableRecord, AcDbLayerTableIterator)
KHOST_DEFINE_SYMTABLE(AcDbLinetypeTable, AcDbLinetypeTableRecord, AcDbLinetypeTableIterator)
KHOST_DEFINE_SYMTABLE(AcDbTextStyleTable, AcDbTextStyleTableRecord, AcDbTextStyleTableIterator)
KHOST_DEFINE_SYMTABLE(AcDbDimStyleTable, AcDbDimStyleTableRecord, AcDbDimStyleTableIterator)
KHOST_DEFINE_SYMTABLE(AcDbUCSTable, AcDbUCSTableRecord, AcDbUCSTableIterator)
KHOST_DEFINE_SYMTABLE(AcDbRegAppTable, AcDbRegAppTableRecord, AcDbRegAppTableIterator)
KHOST_DEFINE_SYMTABLE(AcDbViewTable, AcDbViewTableRecord, AcDbViewTableIterator)
KHOST_DEFINE_SYMTABLE(AcDbViewportTable, AcDbViewportTableRecord, AcDbViewportTableIterator)

// ---- Block table records ------------------------------------------------------------------------

AcDbBlockTableRecord::AcDbBlockTableRecord() = default;
AcDbBlockTableRecord::~AcDbBlockTableRecord() = default;

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* pEntity) {
    AcDbObjectId id;
    return appendAcDbEntity(id, pEntity);
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& pOutputId,
                                                         AcDbEntity* pEntity) {
    pOutputId = AcDbObjectId::kNull;
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!pEntity)
        return Acad::eNullEntityPointer;
    if (pEntity->isDatabaseResident())
        return Acad::eAlreadyInDb;
    AcDbDatabase* db = database();
    if (!db)
        return Acad::eNotInDatabase;
    if (!DbAccess::layerStub(pEntity) || DbAccess::layerStub(pEntity)->database != db)
        DbAccess::setLayerStub(pEntity, db->clayer().stub());
    if (!DbAccess::linetypeStub(pEntity) || DbAccess::linetypeStub(pEntity)->database != db)
        DbAccess::setLinetypeStub(pEntity, db->celtype().stub());
    Acad::ErrorStatus es = db->addAcDbObject(pOutputId, pEntity);
    if (es != Acad::eOk)
        return es;
    DbAccess::setOwner(pEntity, DbAccess::stub(this));
    m_entities.push_back(pOutputId.stub());
    return Acad::eOk;
}

namespace khost {
Acad::ErrorStatus linkEntity(AcDbBlockTableRecord* block, AcDbObjectId entity) {
    auto* e = AcDbEntity::cast(peekObject(entity));
    if (!e)
        return Acad::eNotAnEntity;
    DbAccess::setOwner(e, DbAccess::stub(block));
    DbAccess::entities(block).push_back(entity.stub());
    return Acad::eOk;
}
} // namespace khost

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& pIterator,
                                                    bool atBeginning, bool skipDeleted) const {
    pIterator = new AcDbBlockTableRecordIterator(this);
    pIterator->start(atBeginning, skipDeleted);
    return Acad::eOk;
}

AcDbObjectIdArray AcDbBlockTableRecord::entityIds(bool includeErased) const {
    AcDbObjectIdArray a(static_cast<int>(m_entities.size()));
    for (DbStub* s : m_entities)
        if (includeErased || !stubErased(s))
            a.append(AcDbObjectId(s));
    return a;
}

bool AcDbBlockTableRecord::isLayout() const {
    return m_layout != nullptr;
}
AcDbObjectId AcDbBlockTableRecord::getLayoutId() const {
    return AcDbObjectId(m_layout);
}
Acad::ErrorStatus AcDbBlockTableRecord::setLayoutId(AcDbObjectId id) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_layout = id.stub();
    return Acad::eOk;
}
bool AcDbBlockTableRecord::isAnonymous() const {
    if (m_flags & 1)
        return true;
    const std::wstring& n = name();
    if (n.empty() || n[0] != L'*')
        return false;
    std::wstring k = nameKey(n.c_str());
    return k.rfind(L"*MODEL_SPACE", 0) != 0 && k.rfind(L"*PAPER_SPACE", 0) != 0;
}
bool AcDbBlockTableRecord::isFromExternalReference() const {
    return (m_flags & 4) || !m_pathName.empty();
}
bool AcDbBlockTableRecord::isFromOverlayReference() const {
    return (m_flags & 8) != 0;
}
bool AcDbBlockTableRecord::isDynamicBlock() const {
    return khost::isDynamicBlockDefinition(this);
}
Acad::ErrorStatus AcDbBlockTableRecord::pathName(ACHAR*& p) const {
    return newString(m_pathName, p);
}
Acad::ErrorStatus AcDbBlockTableRecord::pathName(const ACHAR*& p) const {
    p = m_pathName.c_str();
    return Acad::eOk;
}
Acad::ErrorStatus AcDbBlockTableRecord::setPathName(const ACHAR* p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_pathName = p ? p : L"";
    return Acad::eOk;
}
AcGePoint3d AcDbBlockTableRecord::origin() const {
    return m_origin;
}
Acad::ErrorStatus AcDbBlockTableRecord::setOrigin(const AcGePoint3d& o) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_origin = o;
    return Acad::eOk;
}
bool AcDbBlockTableRecord::hasAttributeDefinitions() const {
    for (DbStub* s : m_entities)
        if (s->object && !stubErased(s) && std::wstring(s->object->isA()->dxfName()) == L"ATTDEF")
            return true;
    return false;
}
Acad::ErrorStatus AcDbBlockTableRecord::comments(ACHAR*& c) const {
    return newString(m_comments, c);
}
Acad::ErrorStatus AcDbBlockTableRecord::comments(const ACHAR*& c) const {
    c = m_comments.c_str();
    return Acad::eOk;
}
Acad::ErrorStatus AcDbBlockTableRecord::setComments(const ACHAR* c) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_comments = c ? c : L"";
    return Acad::eOk;
}
AcDb::UnitsValue AcDbBlockTableRecord::blockInsertUnits() const {
    return static_cast<AcDb::UnitsValue>(m_insunits);
}
Acad::ErrorStatus AcDbBlockTableRecord::setBlockInsertUnits(AcDb::UnitsValue u) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_insunits = static_cast<Adesk::Int16>(u);
    return Acad::eOk;
}
bool AcDbBlockTableRecord::explodable() const {
    return m_explodable;
}
Acad::ErrorStatus AcDbBlockTableRecord::setExplodable(bool b) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_explodable = b;
    return Acad::eOk;
}
bool AcDbBlockTableRecord::blockScaling() const {
    return m_uniformScaling;
}
Acad::ErrorStatus AcDbBlockTableRecord::setBlockScaling(bool uniform) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_uniformScaling = uniform;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbBlockTableRecord::setBlockFlags(Adesk::Int16 flags) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_flags = flags;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::subErase(bool erasing) {
    if (erasing && (isRole(this, DbRole::ModelSpace) || isRole(this, DbRole::PaperSpace)))
        return Acad::eCannotBeErasedByCaller;
    return AcDbSymbolTableRecord::subErase(erasing);
}

AcDbBlockTableRecordIterator::AcDbBlockTableRecordIterator(const AcDbBlockTableRecord* btr)
    : m_block(DbAccess::stub(btr)), m_blockObj(btr) {}

const std::vector<DbStub*>* AcDbBlockTableRecordIterator::entities() const {
    const AcDbBlockTableRecord* b =
        m_block ? static_cast<const AcDbBlockTableRecord*>(m_block->object) : m_blockObj;
    return b ? &b->m_entities : nullptr;
}

AcDbBlockTableRecord* AcDbBlockTableRecordIterator::blockTableRecord() const {
    return const_cast<AcDbBlockTableRecord*>(
        m_block ? static_cast<const AcDbBlockTableRecord*>(m_block->object) : m_blockObj);
}

namespace {
// The entity at pos of a block's list, or null past its ends. (The iterator's functions run
// for every entity of a walk over a drawing: each looks the list up once.)
DbStub* entityAt(const std::vector<DbStub*>* e, long long pos) {
    return e && pos >= 0 && pos < static_cast<long long>(e->size()) ? (*e)[static_cast<size_t>(pos)]
                                                                    : nullptr;
}
} // namespace

void AcDbBlockTableRecordIterator::start(bool atBeginning, bool skipDeleted) {
    const auto* e = entities();
    if (!e) {
        m_pos = -1;
        return;
    }
    m_pos = atBeginning ? 0 : static_cast<long long>(e->size()) - 1;
    if (skipDeleted)
        for (DbStub* s = entityAt(e, m_pos); s && stubErased(s); s = entityAt(e, m_pos))
            m_pos += atBeginning ? 1 : -1;
}

bool AcDbBlockTableRecordIterator::done() const {
    return !entityAt(entities(), m_pos);
}

void AcDbBlockTableRecordIterator::step(bool forward, bool skipDeleted) {
    const auto* e = entities();
    if (!e)
        return;
    const long long delta = forward ? 1 : -1;
    m_pos += delta;
    if (skipDeleted)
        for (DbStub* s = entityAt(e, m_pos); s && stubErased(s); s = entityAt(e, m_pos))
            m_pos += delta;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntityId(AcDbObjectId& id) const {
    DbStub* s = entityAt(entities(), m_pos);
    if (!s)
        return Acad::eIteratorDone;
    id = AcDbObjectId(s);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& pEntity, AcDb::OpenMode mode,
                                                          bool openErased) const {
    pEntity = nullptr;
    DbStub* s = entityAt(entities(), m_pos);
    if (!s)
        return Acad::eIteratorDone;
    return acdbOpenObject(pEntity, AcDbObjectId(s), mode, openErased);
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::seek(AcDbObjectId id) {
    const auto* e = entities();
    if (!e)
        return Acad::eNullIterator;
    auto it = std::find(e->begin(), e->end(), id.stub());
    if (it == e->end())
        return Acad::eInvalidInput;
    m_pos = it - e->begin();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::seek(const AcDbEntity* pEntity) {
    return pEntity ? seek(pEntity->objectId()) : Acad::eNullObjectPointer;
}
