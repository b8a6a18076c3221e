#include "dxfwrite.h"

#include "acutads.h"
#include "dbdict.h"
#include "dbhost.h"
#include "dbraw.h"
#include "dbsymtb.h"
#include "dxfblock.h"
#include "dxfclasses.h"
#include "dxfdefaults.h"
#include "dxffiler.h"
#include "dxfheader.h"
#include "dxflayerdesc.h"
#include "dxfviews.h"
#include "gepnt3d.h"
#include "textconv.h"

#include <algorithm>
#include <cwchar>
#include <map>
#include <set>
#include <string_view>
#include <unordered_set>
#include <unordered_map>
#include <vector>

namespace khost::dxf {

namespace {

bool isEntity(const AcDbObject* o) {
    return o && o->isKindOf(AcDbEntity::desc());
}

struct BlockMarkers {
    AcDbObjectId begin, end;
};

// The objects written so far: open addressing over the stubs, room for all objects made once.
class WrittenSet {
public:
    void reserve(std::size_t objects) {
        std::size_t n = 64;
        while (n < objects * 2)
            n *= 2;
        if (n > m_slots.size())
            rehash(n);
    }
    // False when id was in the set already.
    bool insert(AcDbObjectId id) {
        if ((m_size + 1) * 2 > m_slots.size())
            rehash(m_slots.empty() ? 64 : m_slots.size() * 2);
        const void* p = id.stub();
        for (std::size_t i = home(p);; i = (i + 1) & m_mask) {
            if (m_slots[i] == p)
                return false;
            if (!m_slots[i]) {
                m_slots[i] = p;
                ++m_size;
                return true;
            }
        }
    }
    bool contains(AcDbObjectId id) const {
        const void* p = id.stub();
        if (m_slots.empty())
            return false;
        for (std::size_t i = home(p); m_slots[i]; i = (i + 1) & m_mask)
            if (m_slots[i] == p)
                return true;
        return false;
    }

private:
    std::size_t home(const void* p) const {
        auto v = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p));
        return static_cast<std::size_t>((v * 0x9E3779B97F4A7C15ull) >> 20) & m_mask;
    }
    void rehash(std::size_t n) {
        std::vector<const void*> old;
        old.swap(m_slots);
        m_slots.assign(n, nullptr);
        m_mask = n - 1;
        m_size = 0;
        for (const void* p : old)
            if (p)
                insert(AcDbObjectId(static_cast<DbStub*>(const_cast<void*>(p))));
    }
    std::vector<const void*> m_slots;
    std::size_t m_mask = 0;
    std::size_t m_size = 0;
};

// The entities that follow an entity in the file (attributes, vertices, the end of sequence), by
// the entity they belong to: open addressing over the owners' stubs, the lists apart. Asked for
// every entity written, and few entities have followers, so a miss costs one look at a small
// table.
class FollowerMap {
public:
    void clear() {
        m_slots.clear();
        m_lists.clear();
        m_mask = 0;
    }
    std::vector<AcDbObjectId>& listOf(AcDbObjectId owner) {
        if ((m_lists.size() + 1) * 2 > m_slots.size())
            rehash(m_slots.empty() ? 64 : m_slots.size() * 2);
        const void* p = owner.stub();
        for (std::size_t i = home(p);; i = (i + 1) & m_mask) {
            if (m_slots[i].key == p)
                return m_lists[m_slots[i].list].second;
            if (!m_slots[i].key) {
                m_slots[i] = Slot{p, static_cast<std::uint32_t>(m_lists.size())};
                m_lists.emplace_back(owner, std::vector<AcDbObjectId>());
                return m_lists.back().second;
            }
        }
    }
    // Null when the entity has no followers.
    const std::vector<AcDbObjectId>* find(AcDbObjectId owner) const {
        const void* p = owner.stub();
        if (m_slots.empty() || !p)
            return nullptr;
        for (std::size_t i = home(p); m_slots[i].key; i = (i + 1) & m_mask)
            if (m_slots[i].key == p)
                return &m_lists[m_slots[i].list].second;
        return nullptr;
    }
    std::vector<std::pair<AcDbObjectId, std::vector<AcDbObjectId>>>& lists() { return m_lists; }

private:
    struct Slot {
        const void* key = nullptr;
        std::uint32_t list = 0;
    };
    std::size_t home(const void* p) const {
        auto v = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p));
        return static_cast<std::size_t>((v * 0x9E3779B97F4A7C15ull) >> 20) & m_mask;
    }
    void rehash(std::size_t n) {
        m_slots.assign(n, Slot{});
        m_mask = n - 1;
        for (std::size_t k = 0; k < m_lists.size(); ++k) {
            const void* p = m_lists[k].first.stub();
            std::size_t i = home(p);
            while (m_slots[i].key)
                i = (i + 1) & m_mask;
            m_slots[i] = Slot{p, static_cast<std::uint32_t>(k)};
        }
    }
    std::vector<Slot> m_slots;
    std::size_t m_mask = 0;
    std::vector<std::pair<AcDbObjectId, std::vector<AcDbObjectId>>> m_lists;
};

class DxfOut {
public:
    DxfOut(AcDbDatabase* db, std::string& error) : m_db(db), m_filer(db, m_w), m_error(error) {}

    bool run(std::string& out);

private:
    void scan();
    void ensureBlockMarkers();
    void writeClasses();
    void writeTables();
    void writeTable(const char* name, AcDbObjectId tableId);
    void writeBlocks();
    void writeEntities();
    void writeObjects();

    // One record: the 0 group, the fields, the extended data.
    void writeObject(AcDbObjectId id, bool paperSpace = false);
    void writeEntityWithFollowers(AcDbObjectId id, bool paperSpace);
    void writeOwnerGroups(const AcDbObject* o);
    bool isPaperSpaceBlock(AcDbObjectId btrId) const;

    AcDbDatabase* m_db;
    Writer m_w;
    OutFiler m_filer;
    std::string& m_error;
    std::vector<AcDbObjectId> m_all;                          // handle order, not erased
    FollowerMap m_followers;                                  // of entities
    std::unordered_map<AcDbObjectId, BlockMarkers> m_markers; // by block record
    WrittenSet m_written;
    AcDbObjectId m_defaultPlotStyle; // the default entry of the plot style names
    // DXF names written, with their counts (by the name's text pointer; merged by name when the
    // classes are written).
    std::unordered_map<const ACHAR*, int> m_classCount;
    const ACHAR* m_lastName = nullptr;
    int* m_lastCount = nullptr;
};

void DxfOut::scan() {
    m_all.clear();
    m_followers.clear();
    m_markers.clear();
    // Entities come in runs of one owner: whether the last owner is an entity is at hand.
    AcDbObjectId lastOwner;
    bool lastOwnerIsEntity = false;
    forEachObject(m_db, [&](AcDbObjectId id) {
        if (id.isErased())
            return;
        AcDbObject* o = peekObject(id);
        if (!o)
            return;
        m_all.push_back(id);
        AcDbObjectId owner = o->ownerId();
        if (auto* b = AcDbBlockBegin::cast(o)) {
            auto& m = m_markers[owner];
            (b->isKindOf(AcDbBlockEnd::desc()) ? m.end : m.begin) = id;
        } else if (isEntity(o)) {
            if (owner != lastOwner || lastOwner.isNull()) {
                lastOwner = owner;
                lastOwnerIsEntity = isEntity(peekObject(owner));
            }
            if (lastOwnerIsEntity)
                m_followers.listOf(owner).push_back(id);
        }
    });
    // Attributes and vertices in handle order, the end of sequence last.
    for (auto& [owner, list] : m_followers.lists())
        std::stable_partition(list.begin(), list.end(), [](AcDbObjectId id) {
            return std::wcscmp(khostDxfName(peekObject(id)), L"SEQEND") != 0;
        });
}

// Every block record needs its BLOCK and ENDBLK; blocks made through the database's interface
// get theirs on their first save.
void DxfOut::ensureBlockMarkers() {
    auto* bt = AcDbBlockTable::cast(peekObject(m_db->blockTableId()));
    if (!bt)
        return;
    AcDbBlockTableIterator* it = nullptr;
    if (bt->newIterator(it) != Acad::eOk)
        return;
    bool added = false;
    for (; !it->done(); it->step()) {
        AcDbObjectId btrId;
        it->getRecordId(btrId);
        BlockMarkers& m = m_markers[btrId];
        for (AcDbObjectId* slot : {&m.begin, &m.end}) {
            if (!slot->isNull())
                continue;
            AcDbBlockBegin* marker = slot == &m.begin ? new AcDbBlockBegin() : new AcDbBlockEnd();
            AcDbObjectId id;
            if (m_db->addAcDbObject(id, marker) != Acad::eOk) {
                delete marker;
                continue;
            }
            setOwnerRaw(marker, btrId);
            marker->close();
            *slot = id;
            added = true;
        }
    }
    delete it;
    if (added)
        scan();
}

bool DxfOut::isPaperSpaceBlock(AcDbObjectId btrId) const {
    auto* btr = AcDbBlockTableRecord::cast(peekObject(btrId));
    if (!btr || btrId == roleId(m_db, DbRole::ModelSpace))
        return false;
    if (btrId == roleId(m_db, DbRole::PaperSpace))
        return true;
    const ACHAR* name = btr->name();
    return name && std::wcslen(name) >= 12 && std::wcsncmp(name, L"*Paper_Space", 12) == 0;
}

void DxfOut::writeObject(AcDbObjectId id, bool paperSpace) {
    AcDbObject* o = peekObject(id);
    if (!o || id.isErased() || m_written.contains(id))
        return;
    const ACHAR* name = khostDxfName(o);
    if (!name || !*name)
        return; // a class the file format has no record for
    m_written.insert(id);
    // Objects come in runs of one class: the count of the last name is at hand.
    if (name != m_lastName) {
        m_lastName = name;
        m_lastCount = &m_classCount[name];
    }
    ++*m_lastCount;
    if (!m_w.plainWide(0, name))
        m_w.text(0, m_filer.fileText(name));
    // Entities are none of the records and objects written their own way.
    const bool entity = isEntity(o);
    m_filer.beginObject(!entity && o->isKindOf(AcDbDimStyleTableRecord::desc()), paperSpace);
    if (!entity && AcDbDictionary::cast(peekObject(o->ownerId())) &&
        o->persistentReactorIds().isEmpty())
        m_filer.setImpliedReactor(o->ownerId());
    if (auto* layer = entity ? nullptr : AcDbLayerTableRecord::cast(o);
        layer && layer->plotStyleNameId().isNull())
        m_filer.setPlotStyleForNull(m_defaultPlotStyle);
    if (entity || (!writeStandardContents(o, m_w, m_filer) && !writeViewRecord(o, m_w, m_filer)))
        dxfOutObject(o, &m_filer); // with what the reader kept
    resbuf* xdata = xdataForFile(o);
    if (xdata) {
        m_filer.beginObject(false, false);
        m_filer.writeChain(xdata);
        acutRelRb(xdata);
    }
}

void DxfOut::writeEntityWithFollowers(AcDbObjectId id, bool paperSpace) {
    writeObject(id, paperSpace);
    const std::vector<AcDbObjectId>* list = m_followers.find(id);
    if (!list)
        return;
    for (AcDbObjectId f : *list)
        writeEntityWithFollowers(f, paperSpace);
}

// The groups before a table's own: handle, reactors, extension dictionary, owner.
void DxfOut::writeOwnerGroups(const AcDbObject* o) {
    m_filer.beginObject(false, false);
    o->AcDbObject::dxfOutFields(&m_filer);
}

void DxfOut::writeClasses() {
    m_w.text(0, "SECTION");
    m_w.text(2, "CLASSES");
    std::map<std::wstring, int> used;
    for (const auto& [name, count] : m_classCount)
        used[name] += count;
    for (const ClassDef& c : classesToWrite(m_db, used)) {
        m_w.text(0, "CLASS");
        m_w.text(1, m_filer.fileText(c.dxfName.c_str()));
        m_w.text(2, m_filer.fileText(c.cppName.c_str()));
        m_w.text(3, m_filer.fileText(c.appName.c_str()));
        m_w.integer(90, c.proxyFlags);
        m_w.integer(91, c.count);
        m_w.integer(280, c.wasProxy);
        m_w.integer(281, c.isEntity);
    }
    m_w.text(0, "ENDSEC");
}

void DxfOut::writeTable(const char* name, AcDbObjectId tableId) {
    auto* table = AcDbSymbolTable::cast(peekObject(tableId));
    if (!table)
        return;
    std::vector<AcDbObjectId> records;
    AcDbSymbolTableIterator* it = nullptr;
    if (table->newIterator(it) == Acad::eOk) {
        for (; !it->done(); it->step()) {
            AcDbObjectId id;
            if (it->getRecordId(id) == Acad::eOk && !id.isErased() && peekObject(id))
                records.push_back(id);
        }
        delete it;
    }
    m_written.insert(tableId);
    m_w.text(0, "TABLE");
    m_w.text(2, name);
    writeOwnerGroups(table);
    m_w.text(100, "AcDbSymbolTable");
    m_w.integer(70, static_cast<long long>(records.size()));
    if (std::string_view(name) == "DIMSTYLE") {
        m_w.text(100, "AcDbDimStyleTable");
        m_w.integer(71, static_cast<long long>(records.size()));
        for (AcDbObjectId id : records)
            m_w.handle(340, fileHandle(id));
    }
    resbuf* xdata = table->xData();
    if (xdata) {
        m_filer.writeChain(xdata);
        acutRelRb(xdata);
    }
    for (AcDbObjectId id : records)
        writeObject(id);
    m_w.text(0, "ENDTAB");
}

void DxfOut::writeTables() {
    m_w.text(0, "SECTION");
    m_w.text(2, "TABLES");
    writeTable("VPORT", m_db->viewportTableId());
    writeTable("LTYPE", m_db->linetypeTableId());
    writeTable("LAYER", m_db->layerTableId());
    writeTable("STYLE", m_db->textStyleTableId());
    writeTable("VIEW", m_db->viewTableId());
    writeTable("UCS", m_db->UCSTableId());
    writeTable("APPID", m_db->regAppTableId());
    writeTable("DIMSTYLE", m_db->dimStyleTableId());
    writeTable("BLOCK_RECORD", m_db->blockTableId());
    m_w.text(0, "ENDSEC");
}

void DxfOut::writeBlocks() {
    m_w.text(0, "SECTION");
    m_w.text(2, "BLOCKS");
    auto* bt = AcDbBlockTable::cast(peekObject(m_db->blockTableId()));
    AcDbBlockTableIterator* it = nullptr;
    if (bt && bt->newIterator(it) == Acad::eOk) {
        AcDbObjectId model = roleId(m_db, DbRole::ModelSpace);
        AcDbObjectId paper = roleId(m_db, DbRole::PaperSpace);
        for (; !it->done(); it->step()) {
            AcDbObjectId btrId;
            it->getRecordId(btrId);
            auto* btr = AcDbBlockTableRecord::cast(peekObject(btrId));
            if (!btr)
                continue;
            bool paperSpace = isPaperSpaceBlock(btrId);
            const BlockMarkers& m = m_markers[btrId];
            AcDbObject* begin = peekObject(m.begin);
            if (!begin)
                continue;
            m_written.insert(m.begin);
            ++m_classCount[L"BLOCK"];
            m_w.text(0, "BLOCK");
            m_filer.beginObject(false, paperSpace);
            begin->dxfOutFields(&m_filer);
            std::string name = m_filer.fileText(btr->name());
            m_w.text(2, name);
            m_w.integer(70, btr->blockFlags());
            AcGePoint3d origin = btr->origin();
            m_w.point(10, origin.x, origin.y, origin.z);
            m_w.text(3, name);
            const ACHAR* path = nullptr;
            btr->pathName(path);
            m_w.text(1, m_filer.fileText(path ? path : L""));
            const ACHAR* comments = nullptr;
            btr->comments(comments);
            if (comments && *comments)
                m_w.text(4, m_filer.fileText(comments));
            if (resbuf* xdata = begin->xData()) {
                m_filer.beginObject(false, false);
                m_filer.writeChain(xdata);
                acutRelRb(xdata);
            }
            // The entities of model space and of the current paper space go to ENTITIES.
            if (btrId != model && btrId != paper)
                for (AcDbObjectId e : btr->entityIds())
                    writeEntityWithFollowers(e, paperSpace);
            if (AcDbObject* end = peekObject(m.end)) {
                m_written.insert(m.end);
                ++m_classCount[L"ENDBLK"];
                m_w.text(0, "ENDBLK");
                m_filer.beginObject(false, paperSpace);
                end->dxfOutFields(&m_filer);
                if (resbuf* xdata = end->xData()) {
                    m_filer.beginObject(false, false);
                    m_filer.writeChain(xdata);
                    acutRelRb(xdata);
                }
            }
        }
        delete it;
    }
    m_w.text(0, "ENDSEC");
}

void DxfOut::writeEntities() {
    m_w.text(0, "SECTION");
    m_w.text(2, "ENTITIES");
    AcDbObjectId spaces[2] = {roleId(m_db, DbRole::ModelSpace), roleId(m_db, DbRole::PaperSpace)};
    for (int k = 0; k < 2; ++k) {
        auto* btr = AcDbBlockTableRecord::cast(peekObject(spaces[k]));
        if (!btr)
            continue;
        for (AcDbObjectId e : btr->entityIds())
            writeEntityWithFollowers(e, k == 1);
    }
    m_w.text(0, "ENDSEC");
}

// False for an object whose owner, or an owner of that, is erased or gone: it went with it.
bool ownersAlive(AcDbObjectId id) {
    for (int depth = 0; depth < 64; ++depth) {
        AcDbObject* o = peekObject(id);
        if (!o)
            return false;
        AcDbObjectId owner = o->ownerId();
        if (owner.isNull())
            return true;
        if (owner.isErased() || !peekObject(owner))
            return false;
        id = owner;
    }
    return true;
}

void DxfOut::writeObjects() {
    m_w.text(0, "SECTION");
    m_w.text(2, "OBJECTS");
    writeObject(m_db->namedObjectsDictionaryId());
    for (AcDbObjectId id : m_all) {
        AcDbObject* o = peekObject(id);
        if (!o || isEntity(o) || o->isKindOf(AcDbSymbolTable::desc()) ||
            o->isKindOf(AcDbSymbolTableRecord::desc()) || o->isKindOf(AcDbBlockBegin::desc()) ||
            !ownersAlive(id))
            continue;
        writeObject(id);
    }
    m_w.text(0, "ENDSEC");
}

bool DxfOut::run(std::string& out) {
    if (m_db->blockTableId().isNull() || m_db->namedObjectsDictionaryId().isNull() ||
        roleId(m_db, DbRole::ModelSpace).isNull()) {
        m_error = "the drawing has no block table, model space or named object dictionary";
        return false;
    }
    registerLayerDescriptionApp(m_db);
    if (auto* styles =
            AcDbDictionaryWithDefault::cast(peekObject(m_db->plotStyleNameDictionaryId())))
        m_defaultPlotStyle = styles->defaultId();
    scan();
    ensureBlockMarkers();
    m_written.reserve(m_all.size());
    // Everything but the header and the classes first: the classes section counts what was
    // written, and the header's handle seed must be past the markers just made.
    Writer header;
    m_w.data().reserve(m_all.size() * 200);
    writeTables();
    writeBlocks();
    writeEntities();
    writeObjects();
    m_w.text(0, "EOF");
    std::string body = std::move(m_w.data());
    m_w.data().clear();
    {
        OutFiler hf(m_db, header);
        writeHeader(m_db, header, hf);
    }
    writeClasses();
    // The header and the classes go before the body in the body's own buffer (which has room
    // to spare): moved there rather than copied with the body into a new one.
    const std::string& classes = m_w.data();
    body.insert(0, header.data().size() + classes.size(), '\0');
    std::copy(header.data().begin(), header.data().end(), body.begin());
    std::copy(classes.begin(), classes.end(),
              body.begin() + static_cast<std::ptrdiff_t>(header.data().size()));
    out = std::move(body);
    return true;
}

} // namespace

bool writeDxf(AcDbDatabase* db, std::string& out, std::string& error) {
    if (!db) {
        error = "no drawing";
        return false;
    }
    DxfOut w(db, error);
    return w.run(out);
}

} // namespace khost::dxf
