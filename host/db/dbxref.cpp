// External references: blocks that stand for another drawing file, the database read from that
// file, its symbol names as the referring drawing knows them ("XREF|LAYER"), finding files and
// attaching a file as an external reference.
#include "dbxref.h"

#include "dbapserv.h"
#include "dbimpl.h"
#include "textconv.h"

#include <cwchar>
#include <filesystem>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace khost {

struct XrefEntry {
    std::unique_ptr<AcDbDatabase> db;
    std::wstring file;
    std::wstring blockName;
    bool forwarding = false;
    // The records that have a name of the referring drawing, with their own names.
    std::vector<std::pair<AcDbObjectId, std::wstring>> renamed;
};

struct XrefTable {
    std::map<std::uint64_t, XrefEntry> entries; // by the handle of the block
};

namespace {

std::wstring slashes(std::wstring p) {
    for (auto& c : p)
        if (c == L'\\')
            c = L'/';
    return p;
}

std::wstring lower(std::wstring s) {
    for (auto& c : s)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return s;
}

// Whether a drawing file is there ("X.dwg" is served by "X.dxf").
bool drawingExists(const std::wstring& path) {
    std::error_code ec;
    fs::path p(toUtf8(path));
    if (fs::is_regular_file(p, ec))
        return true;
    if (path.size() > 4 && lower(path.substr(path.size() - 4)) == L".dwg") {
        fs::path dxf(toUtf8(path.substr(0, path.size() - 4) + L".dxf"));
        return fs::is_regular_file(dxf, ec);
    }
    return false;
}

std::wstring folderOf(const AcDbDatabase* db) {
    if (!db)
        return L"";
    const ACHAR* name = nullptr;
    db->getFilename(name);
    if (!name || !*name)
        return L"";
    fs::path p(toUtf8(slashes(name)));
    return fromUtf8(p.parent_path().string());
}

// Candidates for a file name: as given, then in a folder, then its bare name in that folder.
std::wstring findIn(const std::wstring& given, const std::wstring& folder) {
    std::wstring name = slashes(given);
    if (name.empty())
        return L"";
    fs::path p(toUtf8(name));
    if (p.is_absolute()) {
        if (drawingExists(name))
            return name;
    } else if (!folder.empty()) {
        std::wstring inFolder = folder + L"/" + name;
        if (drawingExists(inFolder))
            return inFolder;
    }
    if (!folder.empty()) {
        std::wstring bare = folder + L"/" + fromUtf8(p.filename().string());
        if (drawingExists(bare))
            return bare;
    }
    if (!p.is_absolute() && drawingExists(name))
        return name;
    return L"";
}

XrefTable& tableOf(AcDbDatabase* db) {
    auto& x = db->impl().xrefs;
    if (!x)
        x = std::make_shared<XrefTable>();
    return *x;
}

XrefEntry* entryOf(const AcDbDatabase* xdb) {
    if (!xdb)
        return nullptr;
    for (AcDbDatabase* host : liveDatabases()) {
        auto& x = host->impl().xrefs;
        if (!x)
            continue;
        for (auto& [h, e] : x->entries)
            if (e.db.get() == xdb)
                return &e;
    }
    return nullptr;
}

// Names that belong to every drawing and are not made dependent.
bool keepsItsName(DbRole table, const std::wstring& key) {
    switch (table) {
    case DbRole::LayerTable:
        return key == L"0" || key == L"DEFPOINTS";
    case DbRole::LinetypeTable:
        return key == L"BYLAYER" || key == L"BYBLOCK" || key == L"CONTINUOUS";
    case DbRole::BlockTable:
        return key.empty() || key[0] == L'*';
    default:
        return false;
    }
}

// Gives the records of an external reference's database the names of the referring drawing.
void forward(XrefEntry& e) {
    if (e.forwarding)
        return;
    e.renamed.clear();
    static const DbRole kTables[] = {DbRole::BlockTable, DbRole::LayerTable, DbRole::LinetypeTable,
                                     DbRole::TextStyleTable, DbRole::DimStyleTable};
    for (DbRole role : kTables) {
        auto* table = AcDbSymbolTable::cast(peekObject(roleId(e.db.get(), role)));
        if (!table)
            continue;
        AcDbSymbolTableIterator* it = nullptr;
        if (table->newIterator(it) != Acad::eOk)
            continue;
        std::vector<AcDbObjectId> ids;
        for (; !it->done(); it->step()) {
            AcDbObjectId id;
            it->getRecordId(id);
            ids.push_back(id);
        }
        delete it;
        for (AcDbObjectId id : ids) {
            auto* rec = AcDbSymbolTableRecord::cast(peekObject(id));
            if (!rec)
                continue;
            std::wstring own = rec->name();
            if (keepsItsName(role, nameKey(own.c_str())))
                continue;
            e.renamed.emplace_back(id, own);
            setRecordNameRaw(rec, (e.blockName + L"|" + own).c_str());
        }
    }
    e.forwarding = true;
}

void restore(XrefEntry& e) {
    if (!e.forwarding)
        return;
    for (auto& [id, own] : e.renamed)
        if (auto* rec = AcDbSymbolTableRecord::cast(peekObject(id)))
            setRecordNameRaw(rec, own.c_str());
    e.forwarding = false;
}

XrefEntry* loadedEntry(AcDbObjectId block) {
    AcDbDatabase* host = block.database();
    if (!host || !host->impl().xrefs)
        return nullptr;
    auto& entries = host->impl().xrefs->entries;
    auto it = entries.find(block.handle().value());
    return it == entries.end() || !it->second.db ? nullptr : &it->second;
}

} // namespace

std::wstring xrefFilePath(const AcDbBlockTableRecord* block) {
    if (!block || !block->isFromExternalReference())
        return L"";
    const ACHAR* path = nullptr;
    block->pathName(path);
    if (!path || !*path)
        return L"";
    std::wstring found = findIn(path, folderOf(block->database()));
    if (found.empty()) {
        ACHAR buf[4096];
        if (acdbHostApplicationServices()->findFile(buf, 4096, path, block->database(),
                                                    AcDbHostApplicationServices::kXRefDrawing) ==
            Acad::eOk)
            found = buf;
    }
    return found;
}

AcDbDatabase* resolveXref(AcDbObjectId block) {
    if (XrefEntry* e = loadedEntry(block))
        return e->db.get();
    auto* btr = AcDbBlockTableRecord::cast(peekObject(block));
    if (!btr || block.isErased())
        return nullptr;
    std::wstring file = xrefFilePath(btr);
    if (file.empty())
        return nullptr;
    auto db = std::make_unique<AcDbDatabase>(false, true);
    if (db->readDwgFile(file.c_str()) != Acad::eOk)
        return nullptr;
    XrefEntry& e = tableOf(block.database()).entries[block.handle().value()];
    e.db = std::move(db);
    e.file = file;
    e.blockName = btr->name();
    e.renamed.clear();
    e.forwarding = false;
    forward(e);
    return e.db.get();
}

Acad::ErrorStatus saveXrefDatabase(AcDbObjectId block) {
    XrefEntry* e = loadedEntry(block);
    if (!e)
        return Acad::eNotApplicable;
    bool wasForwarding = e->forwarding;
    restore(*e);
    Acad::ErrorStatus es = e->db->saveAs(e->file.c_str());
    if (wasForwarding)
        forward(*e);
    return es;
}

void unloadXref(AcDbObjectId block) {
    AcDbDatabase* host = block.database();
    if (host && host->impl().xrefs)
        host->impl().xrefs->entries.erase(block.handle().value());
}

AcDbObjectId xrefBlockOf(const AcDbDatabase* db) {
    if (!db)
        return {};
    for (AcDbDatabase* host : liveDatabases()) {
        auto& x = host->impl().xrefs;
        if (!x)
            continue;
        for (auto& [h, e] : x->entries)
            if (e.db.get() == db) {
                AcDbObjectId id;
                host->getAcDbObjectId(id, false, AcDbHandle(h));
                return id;
            }
    }
    return {};
}

} // namespace khost

using namespace khost;

AcDbDatabase* AcDbBlockTableRecord::xrefDatabase(bool) const {
    if (!isFromExternalReference())
        return nullptr;
    return resolveXref(objectId());
}

AcDb::XrefStatus AcDbBlockTableRecord::xrefStatus() const {
    if (!isFromExternalReference())
        return AcDb::kXrfNotAnXref;
    return resolveXref(objectId()) ? AcDb::kXrfResolved : AcDb::kXrfFileNotFound;
}

Acad::ErrorStatus AcDbDatabase::restoreOriginalXrefSymbols() {
    XrefEntry* e = entryOf(this);
    if (!e)
        return Acad::eNotApplicable;
    restore(*e);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::restoreForwardingXrefSymbols() {
    XrefEntry* e = entryOf(this);
    if (!e)
        return Acad::eNotApplicable;
    forward(*e);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHostApplicationServices::findFile(ACHAR* pcFullPathOut, int nBufferLength,
                                                        const ACHAR* pcFilename, AcDbDatabase* pDb,
                                                        FindFileHint) {
    if (!pcFilename || !*pcFilename || !pcFullPathOut || nBufferLength <= 0)
        return Acad::eInvalidInput;
    std::wstring found = findIn(pcFilename, folderOf(pDb ? pDb : workingDatabase()));
    if (found.empty()) {
        std::error_code ec;
        std::wstring cwd = fromUtf8(fs::current_path(ec).string());
        if (!ec)
            found = findIn(pcFilename, cwd);
    }
    if (found.empty())
        return Acad::eFileNotFound;
    if (found.size() + 1 > static_cast<size_t>(nBufferLength))
        return Acad::eBufferTooSmall;
    std::wmemcpy(pcFullPathOut, found.c_str(), found.size() + 1);
    return Acad::eOk;
}

Acad::ErrorStatus acdbAttachXref(AcDbDatabase* pHostDb, const ACHAR* pFilename,
                                 const ACHAR* pBlockName, AcDbObjectId& xrefBlkId) {
    xrefBlkId = AcDbObjectId::kNull;
    if (!pHostDb || !pFilename || !*pFilename || !pBlockName)
        return Acad::eInvalidInput;
    if (!isValidSymbolName(pBlockName, false))
        return Acad::eInvalidBlockName;
    ACHAR found[4096];
    if (acdbHostApplicationServices()->findFile(found, 4096, pFilename, pHostDb,
                                                AcDbHostApplicationServices::kXRefDrawing) !=
        Acad::eOk)
        return Acad::eFileNotFound;
    AcDbBlockTable* bt = nullptr;
    Acad::ErrorStatus es = pHostDb->getBlockTable(bt, AcDb::kForWrite);
    if (es != Acad::eOk)
        return es;
    if (bt->has(pBlockName)) {
        bt->close();
        return Acad::eDuplicateBlockName;
    }
    auto* btr = new AcDbBlockTableRecord();
    btr->setName(pBlockName);
    btr->setPathName(pFilename);
    btr->setBlockFlags(4);
    es = bt->add(xrefBlkId, btr);
    bt->close();
    if (es != Acad::eOk) {
        delete btr;
        return es;
    }
    btr->close();
    return Acad::eOk;
}
