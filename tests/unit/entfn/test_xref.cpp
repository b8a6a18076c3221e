// Drawings that refer to other drawings: external references resolved from their files, their
// symbol names, the lock that saves an edited reference back; a drawing inserted as a block; the
// file of a document after SAVEAS.
#include "entfntest.h"

#include "dbblkref.h"
#include "dbsymtb.h"
#include "dxfio.h"
#include "edentfn.h"
#include "shell.h"
#include "xreflock.h"

using namespace entfntest;

namespace {

AcDbObjectId addLine(AcDbDatabase* d, const wchar_t* layer, double len) {
    AcDbBlockTableRecord* ms = nullptr;
    EXPECT_EQ(acdbOpenObject(ms, khost::roleId(d, khost::DbRole::ModelSpace), AcDb::kForWrite),
              Acad::eOk);
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(len, 0, 0));
    line->setDatabaseDefaults(d);
    if (layer) {
        // A layer by name of a drawing that is not the working one: by its id.
        auto* lt = AcDbLayerTable::cast(khost::peekObject(d->layerTableId()));
        AcDbObjectId layerId;
        EXPECT_EQ(lt->getAt(layer, layerId), Acad::eOk);
        EXPECT_EQ(line->setLayer(layerId), Acad::eOk);
    }
    AcDbObjectId id;
    EXPECT_EQ(ms->appendAcDbEntity(id, line), Acad::eOk);
    line->close();
    ms->close();
    return id;
}

void addLayer(AcDbDatabase* d, const wchar_t* name, int color) {
    AcDbLayerTable* lt = nullptr;
    ASSERT_EQ(d->getLayerTable(lt, AcDb::kForWrite), Acad::eOk);
    auto* rec = new AcDbLayerTableRecord();
    rec->setName(name);
    AcCmColor c;
    c.setColorIndex(static_cast<Adesk::UInt16>(color));
    rec->setColor(c);
    EXPECT_EQ(lt->add(rec), Acad::eOk);
    rec->close();
    lt->close();
}

bool hasLayer(AcDbDatabase* d, const wchar_t* name) {
    auto* lt = AcDbLayerTable::cast(khost::peekObject(d->layerTableId()));
    return lt && lt->has(name);
}

int layerColor(AcDbDatabase* d, const wchar_t* name) {
    auto* lt = AcDbLayerTable::cast(khost::peekObject(d->layerTableId()));
    AcDbObjectId id;
    if (!lt || lt->getAt(name, id) != Acad::eOk)
        return -1;
    return AcDbLayerTableRecord::cast(khost::peekObject(id))->color().colorIndex();
}

int modelSpaceCount(AcDbDatabase* d) {
    auto* ms =
        AcDbBlockTableRecord::cast(khost::peekObject(khost::roleId(d, khost::DbRole::ModelSpace)));
    return ms ? ms->entityIds().length() : -1;
}

AcDbObjectId blockNamed(AcDbDatabase* d, const wchar_t* name) {
    auto* bt = AcDbBlockTable::cast(khost::peekObject(d->blockTableId()));
    AcDbObjectId id;
    if (bt)
        bt->getAt(name, id);
    return id;
}

AcDbBlockTableRecord* block(AcDbDatabase* d, const wchar_t* name) {
    return AcDbBlockTableRecord::cast(khost::peekObject(blockNamed(d, name)));
}

} // namespace

TEST_F(EntFnTest, ExternalReferenceIsResolvedEditedAndSavedBack) {
    TempDir dir;
    std::wstring err;
    {
        AcDbDatabase ref(true, true);
        addLayer(&ref, L"STENY", 2);
        addLine(&ref, L"STENY", 5.0);
        ASSERT_EQ(ref.setLtscale(10.0), Acad::eOk);
        ASSERT_TRUE(khost::writeDrawing(&ref, dir.wpath("podklad.dxf"), err));
    }
    // The referring drawing lives in the same folder; the reference names the file as ".dwg".
    ASSERT_TRUE(khost::writeDrawing(db(), dir.wpath("hlavni.dxf"), err));
    AcDbObjectId xref;
    ASSERT_EQ(acdbAttachXref(db(), L"podklad.dwg", L"PODKLAD", xref), Acad::eOk);
    AcDbObjectId other;
    EXPECT_EQ(acdbAttachXref(db(), L"podklad.dwg", L"PODKLAD", other), Acad::eDuplicateBlockName);
    EXPECT_EQ(acdbAttachXref(db(), L"chybi.dwg", L"CHYBI", other), Acad::eFileNotFound);
    ACHAR found[512];
    ASSERT_EQ(acdbHostApplicationServices()->findFile(found, 512, L"podklad.dwg"), Acad::eOk);
    EXPECT_EQ(std::wstring(found), dir.wpath("podklad.dwg"));
    EXPECT_EQ(acdbHostApplicationServices()->findFile(found, 5, L"podklad.dwg"),
              Acad::eBufferTooSmall);

    AcDbBlockTableRecord* btr = nullptr;
    ASSERT_EQ(acdbOpenObject(btr, xref, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(btr->isFromExternalReference());
    EXPECT_EQ(btr->xrefStatus(), AcDb::kXrfResolved);
    AcDbDatabase* xdb = btr->xrefDatabase();
    btr->close();
    ASSERT_NE(xdb, nullptr);
    EXPECT_EQ(modelSpaceCount(xdb), 1);
    // The referring drawing's names, then the file's own.
    EXPECT_TRUE(hasLayer(xdb, L"PODKLAD|STENY"));
    EXPECT_TRUE(hasLayer(xdb, L"0"));
    EXPECT_FALSE(hasLayer(xdb, L"STENY"));
    EXPECT_EQ(xdb->restoreOriginalXrefSymbols(), Acad::eOk);
    EXPECT_TRUE(hasLayer(xdb, L"STENY"));
    EXPECT_EQ(db()->restoreOriginalXrefSymbols(), Acad::eNotApplicable);
    EXPECT_DOUBLE_EQ(xdb->ltscale(), 10.0);

    int status = -1;
    AcEdXrefFileLock lock;
    ASSERT_EQ(lock.lockFile(status, xref), Acad::eOk);
    EXPECT_EQ(status, Acad::eOk);
    {
        AcEdXrefFileLock second;
        EXPECT_EQ(second.lockFile(status, xref), Acad::eFileLockedByACAD);
        EXPECT_EQ(status, Acad::eFileLockedByACAD);
        EXPECT_EQ(second.lockFile(status, db()->currentSpaceId()), Acad::eNotApplicable);
    }
    ASSERT_EQ(xdb->setLtscale(1.0), Acad::eOk);
    addLine(xdb, L"STENY", 7.0);
    EXPECT_EQ(lock.releaseFile(status), Acad::eOk);
    EXPECT_EQ(status, Acad::eOk);
    EXPECT_EQ(xdb->restoreForwardingXrefSymbols(), Acad::eOk);
    EXPECT_TRUE(hasLayer(xdb, L"PODKLAD|STENY"));
    {
        // The file has the change and its own names, whatever the names in memory were.
        std::unique_ptr<AcDbDatabase> saved(khost::readDrawing(dir.wpath("podklad.dxf"), err));
        ASSERT_NE(saved, nullptr) << khost::toUtf8(err);
        EXPECT_DOUBLE_EQ(saved->ltscale(), 1.0);
        EXPECT_EQ(modelSpaceCount(saved.get()), 2);
        EXPECT_TRUE(hasLayer(saved.get(), L"STENY"));
        EXPECT_FALSE(hasLayer(saved.get(), L"PODKLAD|STENY"));
    }
    // The lock is free again.
    AcEdXrefFileLock third;
    EXPECT_EQ(third.lockFile(status, xref), Acad::eOk);
    EXPECT_EQ(third.releaseFile(status, true), Acad::eOk);

    // The reference survives its drawing's save and load, and resolves there again.
    ASSERT_TRUE(khost::writeDrawing(db(), dir.wpath("hlavni.dxf"), err));
    if (haveEzdxf()) {
        EXPECT_EQ(ezdxfAudit(dir / "hlavni.dxf"), "");
    }
    std::unique_ptr<AcDbDatabase> again(khost::readDrawing(dir.wpath("hlavni.dxf"), err));
    ASSERT_NE(again, nullptr);
    AcDbBlockTableRecord* loaded = block(again.get(), L"PODKLAD");
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(loaded->isFromExternalReference());
    const ACHAR* path = nullptr;
    loaded->pathName(path);
    EXPECT_EQ(std::wstring(path), L"podklad.dwg");
    AcDbDatabase* xagain = loaded->xrefDatabase();
    ASSERT_NE(xagain, nullptr);
    EXPECT_EQ(modelSpaceCount(xagain), 2);

    // A reference whose file is gone.
    std::filesystem::remove(dir / "podklad.dxf");
    auto* missing = new AcDbBlockTableRecord();
    missing->setName(L"ZTRACENY");
    missing->setPathName(L"podklad.dwg");
    missing->setBlockFlags(4);
    AcDbBlockTable* bt = nullptr;
    ASSERT_EQ(db()->getBlockTable(bt, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(bt->add(missing), Acad::eOk);
    bt->close();
    EXPECT_EQ(missing->xrefDatabase(), nullptr);
    EXPECT_EQ(missing->xrefStatus(), AcDb::kXrfFileNotFound);
    missing->close();
}

TEST_F(EntFnTest, DrawingInsertedAsABlock) {
    TempDir dir;
    std::wstring err;
    // The library drawing, made through entmake: layers, a nested block, a reference with an
    // attribute and its insertion base point.
    eval(LR"((entmake '((0 . "LAYER") (2 . "A") (70 . 0) (62 . 1) (6 . "Continuous"))))");
    eval(LR"((entmake '((0 . "LAYER") (2 . "S") (70 . 0) (62 . 2) (6 . "Continuous"))))");
    eval(LR"((entmake '((0 . "BLOCK") (2 . "VNITRNI") (10 0 0 0))))");
    eval(LR"((entmake '((0 . "CIRCLE") (8 . "S") (10 0 0 0) (40 . 1.0))))");
    eval(LR"((entmake '((0 . "ATTDEF") (10 0 0 0) (40 . 1.0) (1 . "") (2 . "VYSKA") (3 . "V"))))");
    eval(LR"((entmake '((0 . "ENDBLK"))))");
    eval(LR"((entmake '((0 . "LINE") (8 . "A") (10 0 0 0) (11 4 0 0))))");
    eval(LR"((entmake '((0 . "INSERT") (2 . "VNITRNI") (66 . 1) (10 2 2 0))))");
    eval(LR"((entmake '((0 . "ATTRIB") (10 2 2 0) (40 . 1.0) (1 . "+1.250") (2 . "VYSKA"))))");
    eval(LR"((entmake '((0 . "SEQEND"))))");
    const ads_point base = {1, 2, 0};
    resbuf* insbase = acutBuildList(10, base, 0);
    khost::setExtraHeaderVar(db(), L"$INSBASE", insbase);
    acutRelRb(insbase);
    ASSERT_TRUE(khost::writeDrawing(db(), dir.wpath("kv_kacena.dxf"), err));

    // A new drawing that has a layer of the same name already.
    khost::openDocument(new AcDbDatabase(true, false), L"");
    addLayer(db(), L"A", 5);
    AcDbDatabase source(false, true);
    ASSERT_EQ(source.readDwgFile(dir.wpath("kv_kacena.dwg").c_str()), Acad::eOk);
    AcDbObjectId blockId;
    ASSERT_EQ(db()->insert(blockId, L"kv_kacena", &source), Acad::eOk);
    AcDbBlockTableRecord* lib = block(db(), L"KV_KACENA");
    ASSERT_NE(lib, nullptr);
    EXPECT_EQ(lib->objectId(), blockId);
    EXPECT_EQ(lib->origin(), AcGePoint3d(1, 2, 0));
    AcDbObjectIdArray ids = lib->entityIds();
    ASSERT_EQ(ids.length(), 2);
    EXPECT_EQ(khost::dxfTypeName(khost::peekObject(ids[0])), L"LINE");
    auto* ref = AcDbBlockReference::cast(khost::peekObject(ids[1]));
    ASSERT_NE(ref, nullptr);
    EXPECT_EQ(ref->blockTableRecord(), blockNamed(db(), L"VNITRNI"));
    AcDbObjectIdArray parts = khost::subEntityIds(ref);
    ASSERT_EQ(parts.length(), 2); // the attribute and the end marker
    auto* att = AcDbAttribute::cast(khost::peekObject(parts[0]));
    ASSERT_NE(att, nullptr);
    EXPECT_EQ(std::wstring(att->textStringConst()), L"+1.250");
    EXPECT_EQ(att->ownerId(), ref->objectId());
    // This drawing's layer is kept; the other's is brought in.
    EXPECT_EQ(layerColor(db(), L"A"), 5);
    EXPECT_EQ(layerColor(db(), L"S"), 2);
    ASSERT_NE(block(db(), L"VNITRNI"), nullptr);
    EXPECT_EQ(block(db(), L"VNITRNI")->entityIds().length(), 2);

    // Inserted again, the block is defined anew rather than doubled.
    ASSERT_EQ(db()->insert(blockId, L"kv_kacena", &source), Acad::eOk);
    EXPECT_EQ(lib->entityIds().length(), 2);
    EXPECT_EQ(db()->insert(blockId, L"X", db()), Acad::eSelfReference);
    EXPECT_EQ(db()->insert(blockId, L"A|B", &source), Acad::eInvalidBlockName);
    EXPECT_EQ(db()->insert(blockId, L"X", nullptr), Acad::eInvalidInput);

    // A reference to the new block, saved, loaded and read by the independent reader.
    eval(LR"((entmake '((0 . "INSERT") (2 . "KV_KACENA") (10 10 10 0))))");
    ASSERT_TRUE(khost::writeDrawing(db(), dir.wpath("s_blokem.dxf"), err));
    std::unique_ptr<AcDbDatabase> loaded(khost::readDrawing(dir.wpath("s_blokem.dxf"), err));
    ASSERT_NE(loaded, nullptr) << khost::toUtf8(err);
    ASSERT_NE(block(loaded.get(), L"KV_KACENA"), nullptr);
    EXPECT_EQ(block(loaded.get(), L"KV_KACENA")->entityIds().length(), 2);
    if (haveEzdxf()) {
        EXPECT_EQ(ezdxfAudit(dir / "s_blokem.dxf"), "");
    }
}

TEST_F(EntFnTest, SaveAsGivesTheDocumentItsFile) {
    TempDir dir;
    khost::registerHostCommands();
    input(dir.wpath("novy.dwg") + L"\n");
    ASSERT_TRUE(khost::executeCommand(L"SAVEAS"));
    EXPECT_TRUE(std::filesystem::exists(dir / "novy.dxf"));
    AcApDocument* doc = curDoc();
    EXPECT_EQ(std::wstring(doc->fileName()), dir.wpath("novy.dwg"));
    EXPECT_EQ(std::wstring(doc->docTitle()), L"novy.dwg");
    const ACHAR* name = nullptr;
    db()->getFilename(name);
    EXPECT_EQ(std::wstring(name), dir.wpath("novy.dwg"));

    // QSAVE saves to that file without asking.
    eval(LR"((entmake '((0 . "LINE") (10 0 0 0) (11 1 0 0))))");
    ASSERT_TRUE(khost::executeCommand(L"QSAVE"));
    std::wstring err;
    std::unique_ptr<AcDbDatabase> saved(khost::readDrawing(dir.wpath("novy.dwg"), err));
    ASSERT_NE(saved, nullptr) << khost::toUtf8(err);
    EXPECT_EQ(modelSpaceCount(saved.get()), 1);
    EXPECT_EQ(transcript().find(L"Save drawing as"), transcript().npos);
}
