#include "dxfread.h"

#include "acutads.h"
#include "dbdict.h"
#include "dbent_complex.h"
#include "dbfast.h"
#include "dbhost.h"
#include "dbraw.h"
#include "dbsymtb.h"
#include "dxfblock.h"
#include "dxfclasses.h"
#include "dxffiler.h"
#include "dxfheader.h"
#include "dxflayerdesc.h"
#include "dxfr12.h"
#include "dxfsections.h"
#include "dxfviews.h"
#include "gepnt3d.h"

#include <charconv>
#include <cwctype>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

namespace khost::dxf {

namespace {

std::wstring widen(std::string_view s) {
    return std::wstring(s.begin(), s.end());
}

std::wstring upper(std::wstring s) {
    for (auto& c : s)
        c = static_cast<wchar_t>(std::towupper(c));
    return s;
}

const char* tableClass(std::string_view name) {
    static const std::pair<const char*, const char*> kTables[] = {
        {"VPORT", "AcDbViewportTable"},     {"LTYPE", "AcDbLinetypeTable"},
        {"LAYER", "AcDbLayerTable"},        {"STYLE", "AcDbTextStyleTable"},
        {"VIEW", "AcDbViewTable"},          {"UCS", "AcDbUCSTable"},
        {"APPID", "AcDbRegAppTable"},       {"DIMSTYLE", "AcDbDimStyleTable"},
        {"BLOCK_RECORD", "AcDbBlockTable"},
    };
    for (auto& [n, c] : kTables)
        if (name == n)
            return c;
    return nullptr;
}

AcDbObjectId tableIdByName(AcDbDatabase* db, std::string_view name) {
    if (name == "VPORT")
        return db->viewportTableId();
    if (name == "LTYPE")
        return db->linetypeTableId();
    if (name == "LAYER")
        return db->layerTableId();
    if (name == "STYLE")
        return db->textStyleTableId();
    if (name == "VIEW")
        return db->viewTableId();
    if (name == "UCS")
        return db->UCSTableId();
    if (name == "APPID")
        return db->regAppTableId();
    if (name == "DIMSTYLE")
        return db->dimStyleTableId();
    if (name == "BLOCK_RECORD")
        return db->blockTableId();
    return AcDbObjectId::kNull;
}

DbRole tableRole(std::string_view name) {
    static const std::pair<const char*, DbRole> kRoles[] = {
        {"VPORT", DbRole::ViewportTable},     {"LTYPE", DbRole::LinetypeTable},
        {"LAYER", DbRole::LayerTable},        {"STYLE", DbRole::TextStyleTable},
        {"VIEW", DbRole::ViewTable},          {"UCS", DbRole::UCSTable},
        {"APPID", DbRole::RegAppTable},       {"DIMSTYLE", DbRole::DimStyleTable},
        {"BLOCK_RECORD", DbRole::BlockTable},
    };
    for (auto& [n, r] : kRoles)
        if (name == n)
            return r;
    return DbRole::Count;
}

// Entities that belong to the entity before them (R12 files say so only by their order).
bool isFollower(std::string_view type) {
    return type == "ATTRIB" || type == "VERTEX" || type == "SEQEND";
}

class DxfIn {
public:
    DxfIn(AcDbDatabase* db, const FileStructure& fs) : m_db(db), m_fs(fs) {}
    ~DxfIn() {
        for (auto& x : m_xdata)
            acutRelRb(x.second);
    }
    DxfIn(const DxfIn&) = delete;
    DxfIn& operator=(const DxfIn&) = delete;
    bool run();
    std::string error;

private:
    bool fail(int line, const std::string& what) {
        if (error.empty())
            error = "line " + std::to_string(line) + ": " + what;
        return false;
    }

    // Creates the object of a record (its class, or a raw object that keeps it), adds it under
    // the file's handle (a new one when it has none or, when merging, always), and reads its
    // fields. The object is left open for write; null on failure.
    AcDbObject* readRecord(const Record& r, const Group* begin, AcDbObject* obj, AcDbObjectId& id,
                           bool dimStyleRecord = false, bool entity = false);
    AcDbObject* makeObject(std::string_view type, bool entity);
    AcDbObject* makeEntity(const Record& r);
    std::uint64_t recordHandle(const Record& r, bool dimStyleRecord) const;

    bool readTables(const Section& s);
    bool readTable(const Section& s, size_t& i);
    bool readBlocks(const Section& s);
    bool readEntities(const Section& s);
    bool readObjects(const Section& s);
    // Reads one entity of a block: links it to the block (or to the entity it follows).
    bool readEntity(const Record& r, AcDbObjectId block, AcDbObjectId& lastMain);
    AcDbObjectId findBlock(const std::wstring& name) const;
    bool applyXData();
    // Gives the database the tables a file did not bring.
    void ensureTables();

    AcDbDatabase* m_db;
    const FileStructure& m_fs;
    TextCodec m_codec;
    int m_version = 0;
    bool m_merge = false; // the file does not bring a whole database: merge into the default
    std::map<std::wstring, std::wstring> m_classNames;
    struct TypeInfo {
        std::wstring name;
        DbObjectFactory factory;
    };
    std::unordered_map<std::string_view, TypeInfo> m_types; // by views into the file
    std::vector<std::pair<AcDbObjectId, resbuf*>> m_xdata;
};

std::uint64_t DxfIn::recordHandle(const Record& r, bool dimStyleRecord) const {
    std::string_view h = r.find(dimStyleRecord ? 105 : 5);
    if (h.empty() && dimStyleRecord)
        h = r.find(5);
    std::uint64_t v = 0;
    if (!h.empty())
        parseHandle(h, v);
    return v;
}

AcDbObject* DxfIn::makeEntity(const Record& r) {
    // Polylines, their vertices and block references: the class their flags call for (a mesh
    // or polyface mesh is kept as it is).
    if (r.type == "POLYLINE" || r.type == "VERTEX" || r.type == "INSERT") {
        auto flag = [&r](int code) {
            std::string_view v = trim(r.find(code));
            int n = 0;
            std::from_chars(v.data(), v.data() + v.size(), n);
            return n;
        };
        const std::wstring type = widen(r.type);
        const ACHAR* cls =
            dxfEntityClass(type.c_str(), flag(70), flag(r.type == "INSERT" ? 71 : 0));
        if (cls && *cls)
            if (AcDbObject* o = createDbObject(cls))
                return o;
        if (cls && !*cls)
            return new AcDbRawEntity(type.c_str(), L"");
    }
    return makeObject(r.type, true);
}

AcDbObject* DxfIn::makeObject(std::string_view type, bool entity) {
    // A drawing has few record types: their wide names are made once.
    auto known = m_types.find(type);
    if (known == m_types.end()) {
        std::wstring name = widen(type);
        DbObjectFactory factory = findDbFactory(name);
        known = m_types.emplace(type, TypeInfo{std::move(name), factory}).first;
    }
    const std::wstring& name = known->second.name;
    if (AcDbObject* o = known->second.factory ? known->second.factory() : nullptr) {
        if (entity == o->isKindOf(AcDbEntity::desc()))
            return o;
        delete o;
    }
    auto it = m_classNames.find(name);
    const wchar_t* cls = it == m_classNames.end() ? L"" : it->second.c_str();
    if (entity)
        return new AcDbRawEntity(name.c_str(), cls);
    return new AcDbRawObject(name.c_str(), cls);
}

AcDbObject* DxfIn::readRecord(const Record& r, const Group* begin, AcDbObject* obj,
                              AcDbObjectId& id, bool dimStyleRecord, bool entity) {
    std::unique_ptr<AcDbObject> owned(obj);
    std::uint64_t h = recordHandle(r, dimStyleRecord);
    Acad::ErrorStatus es;
    AcDbObjectId existing;
    if (h != 0) {
        m_db->getAcDbObjectId(existing, false, AcDbHandle(h));
        if (m_merge && !existing.isNull()) {
            h = 0; // a merged file's handle taken by the drawing it goes into: a new one
            existing = AcDbObjectId::kNull;
        }
    }
    if (h != 0) {
        if (!existing.isNull() && peekObject(existing)) {
            fail(r.line, "handle " + std::string(trim(r.find(dimStyleRecord ? 105 : 5))) +
                             " is used twice");
            return nullptr;
        }
        es = addObjectWithHandle(m_db, obj, AcDbHandle(h), id);
    } else {
        es = m_db->addAcDbObject(id, obj);
    }
    if (es != Acad::eOk) {
        fail(r.line, std::string(r.type) + " cannot be added to the drawing");
        return nullptr;
    }
    owned.release(); // the database owns it now
    const Group* end = r.groups.data() + r.groups.size();
    std::vector<Group> marked;
    if (entity && !r.has(100) && !AcDbBlockBegin::cast(obj)) {
        marked = withSubclassMarkers(r);
        begin = marked.data();
        end = marked.data() + marked.size();
    }
    InFiler filer(m_db, m_codec, begin, end, dimStyleRecord, entity);
    // What the classes do not read is kept with the object and written back (not for the
    // records the writer makes itself, nor for a merged file, whose handles are not the
    // database's). Kept 2D points stay 2D; the classes get them with Z 0.
    const bool keep = !m_merge && !obj->isKindOf(AcDbSymbolTable::desc()) &&
                      !AcDbBlockBegin::cast(obj) && !AcDbAbstractViewTableRecord::cast(obj);
    filer.setKeep2d(keep || AcDbRawObject::cast(obj) || AcDbRawEntity::cast(obj));
    es = keep ? dxfInObject(obj, &filer) : obj->dxfInFields(&filer);
    if (!filer.error().empty()) {
        if (error.empty())
            error = filer.error();
        obj->close();
        return nullptr;
    }
    if (es != Acad::eOk) {
        fail(r.line, std::string(r.type) + " is not valid");
        obj->close();
        return nullptr;
    }
    if (resbuf* xdata = filer.readXData())
        m_xdata.emplace_back(id, xdata);
    if (!filer.error().empty()) {
        if (error.empty())
            error = filer.error();
        obj->close();
        return nullptr;
    }
    return obj;
}

// ---------------------------------------------------------------------------------------------
// TABLES

bool DxfIn::readTable(const Section& s, size_t& i) {
    const Record& tr = s.records[i++];
    std::string_view name = trim(tr.find(2));
    const char* cls = tableClass(name);
    AcDbSymbolTable* table = nullptr;
    AcDbObjectId tableId;
    if (cls && !m_merge) {
        AcDbObject* o = createDbObject(widen(cls));
        // The table's groups after its name.
        const Group* begin = tr.groups.data();
        if (!tr.groups.empty() && tr.groups[0].code == 2)
            ++begin;
        AcDbObject* read = o ? readRecord(tr, begin, o, tableId) : nullptr;
        if (!read)
            return error.empty() ? fail(tr.line, "table " + std::string(name) + " is unknown")
                                 : false;
        table = AcDbSymbolTable::cast(read);
        // Records and entities find each other by name through the tables' roles.
        if (DbRole role = tableRole(name); role != DbRole::Count)
            setRoleId(m_db, role, tableId);
    } else if (cls) {
        tableId = tableIdByName(m_db, name);
        if (!tableId.isNull() && acdbOpenObject(table, tableId, AcDb::kForWrite) != Acad::eOk)
            table = nullptr;
    }
    for (; i < s.records.size() && s.records[i].type != "ENDTAB"; ++i) {
        const Record& r = s.records[i];
        if (r.type == "TABLE") {
            if (table)
                table->close();
            return fail(r.line, "ENDTAB missing");
        }
        if (!table)
            continue; // a table the host does not know: its records are dropped
        bool dim = r.type == "DIMSTYLE";
        std::wstring recName = m_codec.decode(trim(r.find(2)));
        if (m_merge) {
            // Records of the default drawing take the file's values; the others are added.
            AcDbObjectId existing;
            AcDbSymbolTableRecord* rec = nullptr;
            if (!recName.empty() && table->getAt(recName.c_str(), existing) == Acad::eOk &&
                acdbOpenObject(rec, existing, AcDb::kForWrite) == Acad::eOk) {
                const Group* end = r.groups.data() + r.groups.size();
                InFiler filer(m_db, m_codec, r.groups.data(), end, dim);
                rec->dxfInFields(&filer);
                if (auto* view = AcDbAbstractViewTableRecord::cast(rec))
                    readViewRecord(view, r.groups.data(), end, m_codec);
                if (resbuf* xdata = filer.readXData())
                    m_xdata.emplace_back(existing, xdata);
                rec->close();
                if (!filer.error().empty()) {
                    table->close();
                    error = filer.error();
                    return false;
                }
                continue;
            }
        }
        AcDbObject* o = makeObject(r.type, false);
        if (!AcDbSymbolTableRecord::cast(o)) {
            delete o;
            continue;
        }
        AcDbObjectId id;
        AcDbObject* rec = readRecord(r, r.groups.data(), o, id, dim);
        if (!rec) {
            table->close();
            return false;
        }
        if (auto* view = AcDbAbstractViewTableRecord::cast(rec))
            readViewRecord(view, r.groups.data(), r.groups.data() + r.groups.size(), m_codec);
        setOwnerRaw(rec, tableId);
        linkRecord(table, id);
        rec->close();
    }
    if (table)
        table->close();
    return true;
}

bool DxfIn::readTables(const Section& s) {
    for (size_t i = 0; i < s.records.size();) {
        if (s.records[i].type == "TABLE") {
            if (!readTable(s, i))
                return false;
            continue;
        }
        if (s.records[i].type != "ENDTAB")
            return fail(s.records[i].line, std::string(s.records[i].type) + " outside of a table");
        ++i;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// BLOCKS and ENTITIES

AcDbObjectId DxfIn::findBlock(const std::wstring& name) const {
    std::wstring key = upper(name);
    std::wstring want = key;
    if (key == L"$MODEL_SPACE" || key == L"*MODEL_SPACE")
        want = L"*MODEL_SPACE";
    else if (key == L"$PAPER_SPACE" || key == L"*PAPER_SPACE")
        want = L"*PAPER_SPACE";
    auto* bt = AcDbBlockTable::cast(peekObject(m_db->blockTableId()));
    AcDbObjectId id;
    if (bt)
        bt->getAt(want.c_str(), id);
    return id;
}

bool DxfIn::readEntity(const Record& r, AcDbObjectId block, AcDbObjectId& lastMain) {
    AcDbObjectId id;
    AcDbObject* o = readRecord(r, r.groups.data(), makeEntity(r), id, false, true);
    if (!o)
        return false;
    AcDbObjectId owner = o->ownerId();
    AcDbObject* ownerObj = peekObject(owner);
    if (m_merge || owner.isNull() || !ownerObj) {
        // Files without owners: the entity belongs to the block it is in, or to the entity it
        // follows.
        bool follows = isFollower(r.type) && !lastMain.isNull();
        setOwnerRaw(o, follows ? lastMain : block);
        owner = follows ? lastMain : block;
        ownerObj = peekObject(owner);
    }
    if (auto* btr = AcDbBlockTableRecord::cast(ownerObj))
        linkEntity(btr, id);
    if (!isFollower(r.type))
        lastMain = id;
    else if (r.type == "SEQEND")
        lastMain = AcDbObjectId::kNull;
    o->close();
    return true;
}

bool DxfIn::readBlocks(const Section& s) {
    AcDbObjectId block;
    AcDbObjectId lastMain;
    for (const Record& r : s.records) {
        if (r.type == "BLOCK") {
            AcDbObjectId id;
            AcDbObject* o = readRecord(r, r.groups.data(), new AcDbBlockBegin(), id, false, true);
            if (!o)
                return false;
            std::wstring name = m_codec.decode(trim(r.find(2)));
            block = m_merge ? AcDbObjectId::kNull : o->ownerId();
            if (!AcDbBlockTableRecord::cast(peekObject(block)))
                block = findBlock(name);
            if (block.isNull()) {
                // A block without its record (R12): made here.
                auto* btr = new AcDbBlockTableRecord();
                AcDbBlockTable* bt = nullptr;
                if (btr->setName(name.c_str()) != Acad::eOk ||
                    acdbOpenObject(bt, m_db->blockTableId(), AcDb::kForWrite) != Acad::eOk) {
                    delete btr;
                    o->close();
                    return fail(r.line, "the block has no valid name");
                }
                Acad::ErrorStatus es = bt->add(block, btr);
                bt->close();
                if (es != Acad::eOk) {
                    delete btr;
                    o->close();
                    return fail(r.line, "the block cannot be added");
                }
                btr->close();
            }
            setOwnerRaw(o, block);
            o->close();
            AcDbBlockTableRecord* btr = nullptr;
            if (acdbOpenObject(btr, block, AcDb::kForWrite) == Acad::eOk) {
                InFiler f(m_db, m_codec, r.groups.data(), r.groups.data() + r.groups.size());
                resbuf rb{};
                while (f.readResBuf(&rb) == Acad::eOk) {
                    if (rb.restype == 70)
                        btr->setBlockFlags(rb.resval.rint);
                    else if (rb.restype == 10)
                        btr->setOrigin(
                            AcGePoint3d(rb.resval.rpoint[0], rb.resval.rpoint[1],
                                        rb.resval.rpoint[2] == 0.0 ? 0.0 : rb.resval.rpoint[2]));
                    else if (rb.restype == 1)
                        btr->setPathName(rb.resval.rstring);
                    else if (rb.restype == 4)
                        btr->setComments(rb.resval.rstring);
                    rbFreeValue(&rb);
                }
                btr->close();
            }
            lastMain = AcDbObjectId::kNull;
            continue;
        }
        if (r.type == "ENDBLK") {
            AcDbObjectId id;
            AcDbObject* o = readRecord(r, r.groups.data(), new AcDbBlockEnd(), id, false, true);
            if (!o)
                return false;
            setOwnerRaw(o, block);
            o->close();
            block = AcDbObjectId::kNull;
            continue;
        }
        if (block.isNull())
            return fail(r.line, std::string(r.type) + " outside of a block");
        if (!readEntity(r, block, lastMain))
            return false;
    }
    return true;
}

bool DxfIn::readEntities(const Section& s) {
    AcDbObjectId model = findBlock(L"*Model_Space");
    AcDbObjectId paper = findBlock(L"*Paper_Space");
    AcDbObjectId lastMain;
    for (const Record& r : s.records) {
        bool inPaper = trim(r.find(67)) == "1";
        if (!readEntity(r, inPaper && !paper.isNull() ? paper : model, lastMain))
            return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// OBJECTS

bool DxfIn::readObjects(const Section& s) {
    if (m_merge)
        return true; // objects refer to handles of a database that is not the one read
    for (const Record& r : s.records) {
        AcDbObjectId id;
        AcDbObject* o = readRecord(r, r.groups.data(), makeObject(r.type, false), id);
        if (!o)
            return false;
        o->close();
    }
    return true;
}

// Registers an application a file uses in extended data without an APPID record for it.
void registerApp(AcDbDatabase* db, const ACHAR* name) {
    AcDbRegAppTable* table = nullptr;
    if (!name || !*name || db->getRegAppTable(table, AcDb::kForWrite) != Acad::eOk)
        return;
    if (!table->has(name)) {
        auto* rec = new AcDbRegAppTableRecord();
        if (rec->setName(name) == Acad::eOk && table->add(rec) == Acad::eOk)
            rec->close();
        else
            delete rec;
    }
    table->close();
}

bool DxfIn::applyXData() {
    for (auto& [id, chain] : m_xdata) {
        AcDbObject* o = nullptr;
        if (acdbOpenObject(o, id, AcDb::kForWrite, true) == Acad::eOk) {
            if (auto* layer = AcDbLayerTableRecord::cast(o)) {
                std::wstring d = takeLayerDescription(chain);
                if (!d.empty())
                    layer->setDescription(d.c_str());
            }
            if (chain && o->setXData(chain) == Acad::eRegappIdNotFound) {
                for (const resbuf* rb = chain; rb; rb = rb->rbnext)
                    if (rb->restype == 1001)
                        registerApp(m_db, rb->resval.rstring);
                o->setXData(chain);
            }
            o->close();
        }
        acutRelRb(chain);
    }
    m_xdata.clear();
    return true;
}

void DxfIn::ensureTables() {
    static const std::pair<DbRole, const wchar_t*> kTables[] = {
        {DbRole::BlockTable, L"AcDbBlockTable"},
        {DbRole::LayerTable, L"AcDbLayerTable"},
        {DbRole::TextStyleTable, L"AcDbTextStyleTable"},
        {DbRole::LinetypeTable, L"AcDbLinetypeTable"},
        {DbRole::ViewTable, L"AcDbViewTable"},
        {DbRole::UCSTable, L"AcDbUCSTable"},
        {DbRole::ViewportTable, L"AcDbViewportTable"},
        {DbRole::RegAppTable, L"AcDbRegAppTable"},
        {DbRole::DimStyleTable, L"AcDbDimStyleTable"},
    };
    for (auto& [role, cls] : kTables) {
        if (!roleId(m_db, role).isNull())
            continue;
        AcDbObject* table = createDbObject(cls);
        AcDbObjectId id;
        if (!table || m_db->addAcDbObject(id, table) != Acad::eOk) {
            delete table;
            continue;
        }
        setRoleId(m_db, role, id);
        table->close();
    }
}

bool DxfIn::run() {
    const Section* header = m_fs.find("HEADER");
    std::vector<HeaderVarGroups> vars;
    if (header)
        vars = splitHeader(header->leading);
    m_version = acadVersion(headerText(vars, "$ACADVER"));
    if (m_version == 0)
        m_version = 1009;
    int codePage = codePageFromName(headerText(vars, "$DWGCODEPAGE"));
    m_codec = TextCodec(m_version >= 1021, codePage ? codePage : 1252);

    const Section* tables = m_fs.find("TABLES");
    const Section* objects = m_fs.find("OBJECTS");
    bool hasBlockRecords = false;
    if (tables)
        for (const Record& r : tables->records)
            if (r.type == "TABLE" && trim(r.find(2)) == "BLOCK_RECORD")
                hasBlockRecords = true;
    m_merge = !(hasBlockRecords && objects && m_version >= 1012);

    // New objects (records without a handle, and the default drawing a file without its own
    // objects is merged into) get handles past every handle of the file, so that the file's
    // entities keep theirs.
    std::uint64_t maxHandle = 0;
    for (const Section& s : m_fs.sections)
        for (const Record& r : s.records) {
            std::uint64_t h = recordHandle(r, r.type == "DIMSTYLE");
            if (h > maxHandle)
                maxHandle = h;
        }
    if (m_merge) {
        if (m_db->approxNumObjects() == 0) {
            if (maxHandle + 1 > m_db->handseed().value())
                m_db->setHandseed(AcDbHandle(maxHandle + 1));
            buildDefaultDrawing(m_db);
        }
    } else if (m_db->approxNumObjects() != 0) {
        error = "line 1: the drawing must be read into an empty database";
        return false;
    } else if (maxHandle + 1 > m_db->handseed().value()) {
        m_db->setHandseed(AcDbHandle(maxHandle + 1));
    }

    if (const Section* classes = m_fs.find("CLASSES")) {
        for (const Record& r : classes->records)
            if (r.type == "CLASS")
                m_classNames[m_codec.decode(trim(r.find(1)))] = m_codec.decode(trim(r.find(2)));
        keepClasses(m_db, *classes, m_codec);
    }
    if (tables && !readTables(*tables))
        return false;
    if (!m_merge)
        ensureTables();
    if (const Section* s = m_fs.find("BLOCKS"); s && !readBlocks(*s))
        return false;
    if (const Section* s = m_fs.find("ENTITIES"); s && !readEntities(*s))
        return false;
    if (objects && !readObjects(*objects))
        return false;
    applyXData();
    resolveRoles(m_db);
    if (m_db->blockTableId().isNull() || roleId(m_db, DbRole::ModelSpace).isNull() ||
        m_db->namedObjectsDictionaryId().isNull()) {
        error = "line 1: the drawing has no block table, model space or named object dictionary";
        return false;
    }
    applyHeader(m_db, vars, m_codec);
    return true;
}

} // namespace

AcDbDatabase* readDxf(AcDbDatabase* db, const std::string& text, std::string& error) {
    FileStructure fs;
    if (!splitSections(text, fs, error))
        return nullptr;
    bool own = db == nullptr;
    if (own)
        db = new AcDbDatabase(false, false);
    DxfIn in(db, fs);
    bool ok = in.run();
    if (!ok) {
        error = in.error.empty() ? "the drawing cannot be read" : in.error;
        if (own)
            delete db;
        return nullptr;
    }
    return db;
}

} // namespace khost::dxf
