// Inserting a drawing as a block: the model space of another database is copied into a block of
// this one, with the records, blocks and registered applications its entities need. Objects are
// copied through their own DXF fields (dxfOutFields into a chain of groups, the references in it
// translated to this drawing's objects, dxfInFields into a new object of the same class), as the
// DXF reader builds them.
#include "dbxref.h"

#include "acutads.h"
#include "dbdict.h"
#include "dbent_complex.h"
#include "dbimpl.h"
#include "dbraw.h"

#include <algorithm>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

namespace khost {
namespace {

struct ChainDeleter {
    void operator()(resbuf* rb) const { acutRelRb(rb); }
};
using Chain = std::unique_ptr<resbuf, ChainDeleter>;

class Copier {
public:
    Copier(AcDbDatabase* src, AcDbDatabase* dst) : m_src(src), m_dst(dst) {}

    Acad::ErrorStatus run(AcDbObjectId& blockId, const std::wstring& name);

private:
    // The groups of an object with the references translated; without handle, owner, groups of
    // other applications in braces and references the copy cannot have.
    Chain fieldsOf(const AcDbObject* o);
    AcDbObject* newLike(const AcDbObject* o) const;
    bool copyXData(const AcDbObject* from, AcDbObject* to);

    void mapDictionaries();
    void copyRecords(DbRole table);
    void copyBlocks();
    AcDbObjectId copyEntity(AcDbObjectId src, AcDbObjectId block);
    void fill(AcDbObjectId srcBlock, AcDbObjectId dstBlock);

    AcDbDatabase* m_src;
    AcDbDatabase* m_dst;
    std::unordered_map<AcDbObjectId, AcDbObjectId> m_map;
    std::map<std::wstring, std::wstring> m_blockNames; // by the key of the source's name
    std::vector<std::pair<AcDbObjectId, AcDbObjectId>> m_toFill;
};

Chain Copier::fieldsOf(const AcDbObject* o) {
    RbChainFiler out(m_src);
    o->dxfOutFields(&out);
    Chain all(out.takeChain());
    std::wstring type = khostDxfName(o);
    bool blockByName = type == L"INSERT" || type == L"DIMENSION";
    resbuf* head = nullptr;
    resbuf** tail = &head;
    int braces = 0;
    bool ownerSeen = false;
    for (const resbuf* rb = all.get(); rb; rb = rb->rbnext) {
        if (rb->restype == 102) {
            std::wstring s = rb->resval.rstring ? rb->resval.rstring : L"";
            braces += (!s.empty() && s[0] == L'{') ? 1 : (s == L"}" ? -1 : 0);
            braces = std::max(braces, 0);
            continue;
        }
        if (braces > 0 || rb->restype == 5)
            continue;
        if (rb->restype == 330 && !ownerSeen) {
            ownerSeen = true;
            continue;
        }
        resbuf* copy = rbCopy(rb);
        copy->rbnext = nullptr;
        if (rbKind(copy->restype) == RbKind::Name) {
            AcDbObjectId id = rbId(*copy);
            auto it = m_map.find(id);
            copy->resval.rlname[0] = it == m_map.end() ? 0 : it->second.asOldId();
            copy->resval.rlname[1] = 0;
        } else if (blockByName && copy->restype == 2 && copy->resval.rstring) {
            auto it = m_blockNames.find(nameKey(copy->resval.rstring));
            if (it != m_blockNames.end())
                rbSetString(copy, it->second.c_str());
        }
        *tail = copy;
        tail = &copy->rbnext;
    }
    return Chain(head);
}

AcDbObject* Copier::newLike(const AcDbObject* o) const {
    if (auto* raw = AcDbRawEntity::cast(o))
        return new AcDbRawEntity(raw->dxfName(), raw->className());
    if (auto* raw = AcDbRawObject::cast(o))
        return new AcDbRawObject(raw->dxfName(), raw->className());
    return createDbObject(o->isA()->name());
}

bool Copier::copyXData(const AcDbObject* from, AcDbObject* to) {
    Chain x(from->xData());
    return !x || to->setXData(x.get()) == Acad::eOk;
}

// Objects both drawings have under the same key of the standard dictionaries (plot style names,
// materials, styles) stand for each other.
void Copier::mapDictionaries() {
    static const DbRole kDicts[] = {DbRole::PlotStyleNameDict, DbRole::MaterialDict,
                                    DbRole::MLeaderStyleDict,  DbRole::TableStyleDict,
                                    DbRole::MLStyleDict,       DbRole::ColorDict};
    for (DbRole role : kDicts) {
        auto* from = AcDbDictionary::cast(peekObject(roleId(m_src, role)));
        auto* to = AcDbDictionary::cast(peekObject(roleId(m_dst, role)));
        if (!from || !to)
            continue;
        std::unique_ptr<AcDbDictionaryIterator> it(from->newIterator());
        for (; it && !it->done(); it->next()) {
            AcDbObjectId there;
            if (to->getAt(it->name(), there) == Acad::eOk)
                m_map[it->objectId()] = there;
        }
        m_map[roleId(m_src, role)] = roleId(m_dst, role);
    }
    if (auto* from =
            AcDbDictionaryWithDefault::cast(peekObject(roleId(m_src, DbRole::PlotStyleNameDict))))
        if (auto* to = AcDbDictionaryWithDefault::cast(
                peekObject(roleId(m_dst, DbRole::PlotStyleNameDict))))
            m_map[from->defaultId()] = to->defaultId();
}

void Copier::copyRecords(DbRole role) {
    auto* from = AcDbSymbolTable::cast(peekObject(roleId(m_src, role)));
    AcDbObjectId toId = roleId(m_dst, role);
    if (!from || toId.isNull())
        return;
    AcDbSymbolTableIterator* it = nullptr;
    if (from->newIterator(it) != Acad::eOk)
        return;
    std::vector<AcDbObjectId> ids;
    for (; !it->done(); it->step()) {
        AcDbObjectId id;
        it->getRecordId(id);
        ids.push_back(id);
    }
    delete it;
    m_map[roleId(m_src, role)] = toId;
    for (AcDbObjectId id : ids) {
        auto* rec = AcDbSymbolTableRecord::cast(peekObject(id));
        if (!rec)
            continue;
        AcDbSymbolTable* to = nullptr;
        if (acdbOpenObject(to, toId, AcDb::kForWrite) != Acad::eOk)
            return;
        AcDbObjectId existing;
        if (to->getAt(rec->name(), existing) == Acad::eOk) {
            m_map[id] = existing; // this drawing's record is kept
            to->close();
            continue;
        }
        std::unique_ptr<AcDbObject> copy(newLike(rec));
        auto* copyRec = AcDbSymbolTableRecord::cast(copy.get());
        Chain fields = fieldsOf(rec);
        RbChainFiler in(m_dst, fields.get());
        AcDbObjectId made;
        if (!copyRec || copyRec->dxfInFields(&in) != Acad::eOk ||
            to->add(made, copyRec) != Acad::eOk) {
            to->close();
            continue;
        }
        to->close();
        copy.release();
        copyXData(rec, copyRec);
        copyRec->close();
        m_map[id] = made;
    }
}

std::wstring anonymousName(AcDbBlockTable* bt, const std::wstring& like) {
    wchar_t kind = like.size() >= 2 ? like[1] : L'U';
    for (int n = 1;; ++n) {
        std::wstring name = std::wstring(L"*") + kind + std::to_wstring(n);
        if (!bt->has(name.c_str()))
            return name;
    }
}

void Copier::copyBlocks() {
    auto* from = AcDbBlockTable::cast(peekObject(m_src->blockTableId()));
    if (!from)
        return;
    m_map[m_src->blockTableId()] = m_dst->blockTableId();
    AcDbBlockTableIterator* it = nullptr;
    if (from->newIterator(it) != Acad::eOk)
        return;
    std::vector<AcDbObjectId> ids;
    for (; !it->done(); it->step()) {
        AcDbObjectId id;
        it->getRecordId(id);
        ids.push_back(id);
    }
    delete it;
    for (AcDbObjectId id : ids) {
        auto* btr = AcDbBlockTableRecord::cast(peekObject(id));
        if (!btr || btr->isLayout())
            continue;
        AcDbBlockTable* bt = nullptr;
        if (m_dst->getBlockTable(bt, AcDb::kForWrite) != Acad::eOk)
            return;
        std::wstring name = btr->name();
        AcDbObjectId existing;
        if (!btr->isAnonymous() && bt->getAt(name.c_str(), existing) == Acad::eOk) {
            bt->close();
            m_map[id] = existing;
            m_blockNames[nameKey(name.c_str())] = name;
            continue;
        }
        std::wstring newName = btr->isAnonymous() ? anonymousName(bt, name) : name;
        auto* copy = new AcDbBlockTableRecord();
        AcDbObjectId made;
        Acad::ErrorStatus es =
            isValidSymbolName(newName.c_str()) ? Acad::eOk : Acad::eInvalidSymbolTableName;
        if (es == Acad::eOk) {
            setRecordNameRaw(copy, newName.c_str());
            es = bt->add(made, copy);
        }
        bt->close();
        if (es != Acad::eOk) {
            delete copy;
            continue;
        }
        copy->setBlockFlags(btr->blockFlags());
        copy->setOrigin(btr->origin());
        const ACHAR* text = nullptr;
        btr->pathName(text);
        copy->setPathName(text ? text : L"");
        btr->comments(text);
        copy->setComments(text ? text : L"");
        copy->setBlockInsertUnits(btr->blockInsertUnits());
        copy->setExplodable(btr->explodable());
        copy->setBlockScaling(btr->blockScaling());
        copyXData(btr, copy);
        copy->close();
        m_map[id] = made;
        m_blockNames[nameKey(name.c_str())] = newName;
        if (!btr->isFromExternalReference())
            m_toFill.emplace_back(id, made);
    }
}

AcDbObjectId Copier::copyEntity(AcDbObjectId srcId, AcDbObjectId block) {
    AcDbEntity* src = nullptr;
    if (acdbOpenObject(src, srcId, AcDb::kForRead) != Acad::eOk)
        return {};
    std::unique_ptr<AcDbObject> made(newLike(src));
    auto* ent = AcDbEntity::cast(made.get());
    Chain fields = fieldsOf(src);
    RbChainFiler in(m_dst, fields.get());
    if (!ent || ent->dxfInFields(&in) != Acad::eOk || !copyXData(src, ent)) {
        src->close();
        return {};
    }
    AcDbObjectIdArray parts = subEntityIds(src);
    src->close();
    AcDbObjectId id;
    if (block.isNull()) {
        if (m_dst->addAcDbObject(id, ent) != Acad::eOk)
            return {};
    } else {
        AcDbBlockTableRecord* btr = nullptr;
        if (acdbOpenObject(btr, block, AcDb::kForWrite) != Acad::eOk)
            return {};
        Acad::ErrorStatus es = btr->appendAcDbEntity(id, ent);
        btr->close();
        if (es != Acad::eOk)
            return {};
    }
    made.release();
    m_map[srcId] = id;
    for (AcDbObjectId part : parts) {
        AcDbObjectId partId = copyEntity(part, {});
        if (partId.isNull())
            continue;
        setOwnerRaw(peekObject(partId), id);
        linkSubEntity(id, partId);
    }
    ent->close();
    return id;
}

void Copier::fill(AcDbObjectId srcBlock, AcDbObjectId dstBlock) {
    auto* btr = AcDbBlockTableRecord::cast(peekObject(srcBlock));
    if (!btr)
        return;
    for (AcDbObjectId e : btr->entityIds())
        copyEntity(e, dstBlock);
}

Acad::ErrorStatus Copier::run(AcDbObjectId& blockId, const std::wstring& name) {
    mapDictionaries();
    copyRecords(DbRole::RegAppTable);
    copyRecords(DbRole::TextStyleTable);
    copyRecords(DbRole::LinetypeTable);
    copyRecords(DbRole::LayerTable);
    copyBlocks();
    copyRecords(DbRole::DimStyleTable);

    // The block itself: made, or defined anew with the other drawing's model space.
    AcDbBlockTable* bt = nullptr;
    Acad::ErrorStatus es = m_dst->getBlockTable(bt, AcDb::kForWrite);
    if (es != Acad::eOk)
        return es;
    AcDbBlockTableRecord* btr = nullptr;
    if (bt->getAt(name.c_str(), blockId) == Acad::eOk) {
        bt->close();
        es = acdbOpenObject(btr, blockId, AcDb::kForWrite);
        if (es != Acad::eOk)
            return es;
        if (btr->isLayout() || btr->isFromExternalReference()) {
            btr->close();
            return Acad::eIllegalReplacement;
        }
        for (AcDbObjectId e : btr->entityIds()) {
            AcDbEntity* ent = nullptr;
            if (acdbOpenObject(ent, e, AcDb::kForWrite) == Acad::eOk) {
                ent->erase();
                ent->close();
            }
        }
    } else {
        btr = new AcDbBlockTableRecord();
        es = btr->setName(name.c_str());
        if (es == Acad::eOk)
            es = bt->add(blockId, btr);
        bt->close();
        if (es != Acad::eOk) {
            delete btr;
            return es;
        }
    }
    AcGePoint3d base;
    if (const resbuf* rb = extraHeaderVar(m_src, L"$INSBASE"))
        for (; rb; rb = rb->rbnext)
            if (rb->restype == 10)
                base = rbPoint(*rb);
    btr->setOrigin(base);
    btr->setBlockInsertUnits(m_src->insunits());
    // The extended data of the other drawing's model space (the properties of a dynamic block
    // saved as a drawing of its own) go with its content.
    if (auto* ms = AcDbBlockTableRecord::cast(peekObject(roleId(m_src, DbRole::ModelSpace))))
        copyXData(ms, btr);
    btr->close();

    for (auto& [from, to] : m_toFill)
        fill(from, to);
    fill(roleId(m_src, DbRole::ModelSpace), blockId);
    return Acad::eOk;
}

} // namespace
} // namespace khost

Acad::ErrorStatus AcDbDatabase::insert(AcDbObjectId& blockId, const ACHAR* pBlockName,
                                       AcDbDatabase* pDb, bool) {
    blockId = AcDbObjectId::kNull;
    if (!pDb || !pBlockName)
        return Acad::eInvalidInput;
    if (pDb == this)
        return Acad::eSelfReference;
    if (!khost::isValidSymbolName(pBlockName, false))
        return Acad::eInvalidBlockName;
    if (khost::roleId(pDb, khost::DbRole::ModelSpace).isNull())
        return Acad::eInvalidInput;
    khost::Copier copier(pDb, this);
    return copier.run(blockId, pBlockName);
}
