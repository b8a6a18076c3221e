// The default drawing, symbol tables and their records, blocks and entities.
#include "dbtest.h"

#include <vector>

using Tables = DbTest;

namespace {
std::vector<std::wstring> layerNames(AcDbDatabase* db, bool skipErased = true) {
    std::vector<std::wstring> names;
    AcDbLayerTable* lt = nullptr;
    EXPECT_EQ(db->getLayerTable(lt, AcDb::kForRead), Acad::eOk);
    AcDbLayerTableIterator* it = nullptr;
    lt->newIterator(it, true, skipErased);
    lt->close();
    for (; !it->done(); it->step(true, skipErased)) {
        AcDbLayerTableRecord* r = nullptr;
        EXPECT_EQ(it->getRecord(r, AcDb::kForRead, true), Acad::eOk);
        AcString s;
        r->getName(s);
        names.push_back(s.kACharPtr());
        r->close();
    }
    delete it;
    return names;
}

AcDbObjectId addLayer(AcDbDatabase* db, const ACHAR* name, Acad::ErrorStatus expect = Acad::eOk) {
    AcDbLayerTable* lt = nullptr;
    EXPECT_EQ(db->getSymbolTable(lt, AcDb::kForWrite), Acad::eOk);
    auto* rec = new AcDbLayerTableRecord;
    AcDbObjectId id;
    Acad::ErrorStatus es = rec->setName(name);
    if (es == Acad::eOk)
        es = lt->add(id, rec);
    EXPECT_EQ(es, expect) << (name ? std::string(name, name + std::wcslen(name)) : "");
    if (es == Acad::eOk)
        rec->close();
    else
        delete rec;
    lt->close();
    return id;
}
} // namespace

TEST_F(Tables, DefaultDrawingHasTheStandardRecordsAndDictionaries) {
    struct Probe {
        Acad::ErrorStatus (AcDbDatabase::*open)(AcDbDictionary*&, AcDb::OpenMode);
        const ACHAR* key;
        Adesk::UInt32 entries;
    };
    AcDbBlockTable* bt = nullptr;
    ASSERT_EQ(db->getSymbolTable(bt, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(bt->has(L"*MODEL_SPACE"));
    EXPECT_TRUE(bt->has(ACDB_PAPER_SPACE));
    AcDbBlockTableRecord* ms = nullptr;
    ASSERT_EQ(bt->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForRead), Acad::eOk);
    bt->close();
    EXPECT_TRUE(ms->isLayout());
    EXPECT_FALSE(ms->isAnonymous());
    AcDbLayout* layout = nullptr;
    ASSERT_EQ(acdbOpenObject(layout, ms->getLayoutId(), AcDb::kForRead), Acad::eOk);
    AcString lname;
    layout->getLayoutName(lname);
    EXPECT_EQ(lname, L"Model");
    EXPECT_EQ(layout->getTabOrder(), 0);
    EXPECT_EQ(layout->getBlockTableRecordId(), ms->objectId());
    layout->close();
    EXPECT_EQ(db->currentSpaceId(), ms->objectId());
    ms->close();

    EXPECT_EQ(layerNames(db.get()), std::vector<std::wstring>{L"0"});
    AcDbLinetypeTable* ltt = nullptr;
    ASSERT_EQ(db->getLinetypeTable(ltt), Acad::eOk);
    for (const ACHAR* n : {L"ByBlock", L"ByLayer", L"Continuous"})
        EXPECT_TRUE(ltt->has(n));
    ltt->close();
    AcDbTextStyleTable* tst = nullptr;
    ASSERT_EQ(db->getTextStyleTable(tst), Acad::eOk);
    EXPECT_TRUE(tst->has(L"Standard"));
    tst->close();
    AcDbRegAppTable* rat = nullptr;
    ASSERT_EQ(db->getRegAppTable(rat), Acad::eOk);
    EXPECT_TRUE(rat->has(L"ACAD"));
    rat->close();
    AcDbViewportTable* vpt = nullptr;
    ASSERT_EQ(db->getViewportTable(vpt), Acad::eOk);
    EXPECT_TRUE(vpt->has(L"*Active"));
    vpt->close();
    AcDbUCSTable* ucs = nullptr;
    ASSERT_EQ(db->getUCSTable(ucs), Acad::eOk);
    AcDbUCSTableIterator* uit = nullptr;
    ucs->newIterator(uit);
    EXPECT_TRUE(uit->done());
    delete uit;
    ucs->close();

    const Probe probes[] = {
        {&AcDbDatabase::getGroupDictionary, nullptr, 0},
        {&AcDbDatabase::getLayoutDictionary, L"Layout1", 2},
        {&AcDbDatabase::getMLeaderStyleDictionary, L"Standard", 1},
        {&AcDbDatabase::getTableStyleDictionary, L"Standard", 1},
        {&AcDbDatabase::getPlotStyleNameDictionary, L"Normal", 1},
        {&AcDbDatabase::getMLStyleDictionary, L"Standard", 1},
        {&AcDbDatabase::getScaleListDictionary, L"A0", 17},
        {&AcDbDatabase::getMaterialDictionary, nullptr, 0},
        {&AcDbDatabase::getColorDictionary, nullptr, 0},
        {&AcDbDatabase::getPlotSettingsDictionary, nullptr, 0},
    };
    for (const Probe& p : probes) {
        AcDbDictionary* d = nullptr;
        ASSERT_EQ((db.get()->*p.open)(d, AcDb::kForRead), Acad::eOk);
        EXPECT_EQ(d->numEntries(), p.entries);
        if (p.key) {
            EXPECT_TRUE(d->has(p.key));
        }
        EXPECT_EQ(d->ownerId(), db->namedObjectsDictionaryId());
        d->close();
    }
    AcDbDictionary* nod = nullptr;
    ASSERT_EQ(db->getNamedObjectsDictionary(nod), Acad::eOk);
    EXPECT_EQ(nod->numEntries(), 10u);
    nod->close();
}

TEST_F(Tables, AddChecksNamesAndWriteAccess) {
    AcDbObjectId a = addLayer(db.get(), L"Voda");
    EXPECT_FALSE(a.isNull());
    addLayer(db.get(), L"VODA", Acad::eDuplicateRecordName);
    addLayer(db.get(), L"voda", Acad::eDuplicateRecordName);
    EXPECT_EQ(Acad::eDuplicateRecordName, 95);
    for (const ACHAR* bad : {L"", L"a<b", L"a>b", L"a/b", L"a\\b", L"a\"b", L"a:b", L"a;b", L"a?b",
                             L"a*b", L"a|b", L"a,b", L"a=b", L"*x"})
        addLayer(db.get(), bad, Acad::eInvalidSymbolTableName);
    addLayer(db.get(), std::wstring(256, L'x').c_str(), Acad::eInvalidSymbolTableName);
    addLayer(db.get(), std::wstring(255, L'x').c_str());
    // Czech letters are valid and compared without regard to case.
    AcDbObjectId c = addLayer(db.get(), L"Žluťoučký kůň");
    AcDbLayerTable* lt = nullptr;
    ASSERT_EQ(db->getLayerTable(lt, AcDb::kForRead), Acad::eOk);
    AcDbObjectId found;
    EXPECT_EQ(lt->getAt(L"ŽLUŤOUČKÝ KŮŇ", found), Acad::eOk);
    EXPECT_EQ(found, c);
    EXPECT_EQ(lt->getIdAt(L"voDA", found), Acad::eOk);
    EXPECT_EQ(found, a);
    EXPECT_EQ(lt->getAt(L"nic", found), Acad::eKeyNotFound);
    EXPECT_TRUE(found.isNull());
    EXPECT_TRUE(lt->has(a));
    EXPECT_FALSE(lt->has(db->continuousLinetype()));
    // A table open for read refuses additions.
    auto* rec = new AcDbLayerTableRecord;
    rec->setName(L"Plyn");
    EXPECT_EQ(lt->add(rec), Acad::eNotOpenForWrite);
    lt->close();
    // A record of another kind does not go into the layer table.
    ASSERT_EQ(db->getLayerTable(lt, AcDb::kForWrite), Acad::eOk);
    auto* wrong = new AcDbTextStyleTableRecord;
    wrong->setName(L"Text");
    EXPECT_EQ(lt->add(static_cast<AcDbSymbolTableRecord*>(wrong)), Acad::eWrongObjectType);
    lt->close();
    delete wrong;
    delete rec;
}

TEST_F(Tables, RenameKeepsTheIndexAndRefusesTakenNames) {
    AcDbObjectId a = addLayer(db.get(), L"A");
    addLayer(db.get(), L"B");
    AcDbLayerTableRecord* r = nullptr;
    ASSERT_EQ(acdbOpenObject(r, a, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(r->setName(L"b"), Acad::eDuplicateRecordName);
    EXPECT_EQ(r->setName(L"a"), Acad::eOk); // its own name in another case
    EXPECT_EQ(r->setName(L"C"), Acad::eOk);
    ACHAR* copy = nullptr;
    r->getName(copy);
    EXPECT_STREQ(copy, L"C");
    acutDelString(copy);
    r->close();
    AcDbLayerTable* lt = nullptr;
    ASSERT_EQ(db->getLayerTable(lt), Acad::eOk);
    EXPECT_FALSE(lt->has(L"A"));
    EXPECT_TRUE(lt->has(L"c"));
    lt->close();
}

TEST_F(Tables, ErasedRecordsAreSkippedAndTheirNamesFree) {
    AcDbObjectId a = addLayer(db.get(), L"Stara");
    addLayer(db.get(), L"Nova");
    AcDbLayerTableRecord* r = nullptr;
    ASSERT_EQ(acdbOpenObject(r, a, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(r->erase(), Acad::eOk);
    r->close();
    EXPECT_EQ(layerNames(db.get()), (std::vector<std::wstring>{L"0", L"Nova"}));
    EXPECT_EQ(layerNames(db.get(), false), (std::vector<std::wstring>{L"0", L"Stara", L"Nova"}));
    AcDbLayerTable* lt = nullptr;
    ASSERT_EQ(db->getLayerTable(lt), Acad::eOk);
    EXPECT_FALSE(lt->has(L"Stara"));
    AcDbObjectId id;
    EXPECT_EQ(lt->getAt(L"Stara", id), Acad::eKeyNotFound);
    EXPECT_EQ(lt->getAt(L"Stara", id, true), Acad::eOk);
    EXPECT_EQ(id, a);
    EXPECT_EQ(lt->getAt(L"Stara", r, AcDb::kForRead), Acad::eWasErased);
    ASSERT_EQ(lt->getAt(L"Stara", r, AcDb::kForRead, true), Acad::eOk);
    r->close();
    lt->close();
    // The name can be used again.
    AcDbObjectId again = addLayer(db.get(), L"STARA");
    EXPECT_NE(again, a);
    // Unerasing the old record would clash with the new one.
    ASSERT_EQ(acdbOpenObject(r, a, AcDb::kForWrite, true), Acad::eOk);
    EXPECT_EQ(r->erase(false), Acad::eDuplicateRecordName);
    r->close();
}

TEST_F(Tables, IndispensableRecordsCannotBeErased) {
    for (AcDbObjectId id : {db->layerZero(), db->continuousLinetype(), db->byLayerLinetype(),
                            db->byBlockLinetype(), db->currentSpaceId()}) {
        AcDbObject* p = nullptr;
        ASSERT_EQ(acdbOpenObject(p, id, AcDb::kForWrite), Acad::eOk);
        EXPECT_EQ(p->erase(), Acad::eCannotBeErasedByCaller) << narrow(p->isA()->name());
        p->close();
        EXPECT_FALSE(id.isErased());
    }
    // The current layer neither, nor can it be frozen.
    AcDbObjectId cur = addLayer(db.get(), L"Aktualni");
    ASSERT_EQ(db->setClayer(cur), Acad::eOk);
    AcDbLayerTableRecord* r = nullptr;
    ASSERT_EQ(acdbOpenObject(r, cur, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(r->erase(), Acad::eCannotBeErasedByCaller);
    EXPECT_EQ(r->setIsFrozen(true), Acad::eInvalidLayer);
    r->close();
}

TEST_F(Tables, BlocksHoldEntitiesInOrderAndIteratorsSkipErased) {
    std::vector<AcDbObjectId> ids;
    for (int i = 0; i < 5; ++i)
        ids.push_back(addLine(AcGePoint3d(i, 0, 0), AcGePoint3d(i, 1, 0)));
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenObject(e, ids[2], AcDb::kForWrite), Acad::eOk);
    e->erase();
    e->close();
    AcDbBlockTableRecord* ms = nullptr;
    ASSERT_EQ(acdbOpenObject(ms, db->currentSpaceId(), AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecordIterator* it = nullptr;
    ms->newIterator(it);
    std::vector<AcDbObjectId> seen;
    for (; !it->done(); it->step()) {
        AcDbObjectId id;
        it->getEntityId(id);
        seen.push_back(id);
        AcDbEntity* ent = nullptr;
        ASSERT_EQ(it->getEntity(ent), Acad::eOk);
        EXPECT_EQ(ent->blockId(), ms->objectId());
        ent->close();
    }
    EXPECT_EQ(seen, (std::vector<AcDbObjectId>{ids[0], ids[1], ids[3], ids[4]}));
    // Backwards from the end.
    it->start(false);
    AcDbObjectId last;
    it->getEntityId(last);
    EXPECT_EQ(last, ids[4]);
    delete it;
    EXPECT_EQ(ms->entityIds(true).length(), 5);
    // Appending needs the block open for write and an entity not yet in a database.
    auto* line = new AcDbLine;
    EXPECT_EQ(ms->appendAcDbEntity(line), Acad::eNotOpenForWrite);
    ASSERT_EQ(ms->upgradeOpen(), Acad::eOk);
    AcDbObjectId lid;
    ASSERT_EQ(ms->appendAcDbEntity(lid, line), Acad::eOk);
    EXPECT_EQ(ms->appendAcDbEntity(line), Acad::eAlreadyInDb);
    line->close();
    ms->close();
}

TEST_F(Tables, EntityPropertiesResolveNamesInTheDatabase) {
    AcDbObjectId water = addLayer(db.get(), L"Voda");
    AcDbObjectId id = addLine();
    AcDbLine* line = nullptr;
    ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForWrite), Acad::eOk);
    // Appended without properties: the current layer and linetype.
    EXPECT_EQ(line->layerId(), db->layerZero());
    EXPECT_EQ(line->linetypeId(), db->byLayerLinetype());
    EXPECT_EQ(line->colorIndex(), 256);
    EXPECT_EQ(line->setLayer(L"neni"), Acad::eKeyNotFound);
    EXPECT_EQ(line->layerId(), db->layerZero());
    EXPECT_EQ(line->setLayer(L"VODA"), Acad::eOk);
    EXPECT_EQ(line->layerId(), water);
    ACHAR* name = line->layer();
    EXPECT_STREQ(name, L"Voda");
    acutDelString(name);
    EXPECT_EQ(line->setLinetype(L"continuous"), Acad::eOk);
    EXPECT_EQ(line->linetypeId(), db->continuousLinetype());
    EXPECT_EQ(line->setLinetype(L"DASHED"), Acad::eKeyNotFound);
    EXPECT_EQ(line->setColorIndex(257), Acad::eInvalidInput);
    EXPECT_EQ(line->setColorIndex(1), Acad::eOk);
    EXPECT_EQ(line->color().colorMethod(), AcCmEntityColor::kByACI);
    EXPECT_EQ(line->setLineWeight(static_cast<AcDb::LineWeight>(17)), Acad::eInvalidInput);
    EXPECT_EQ(line->setLineWeight(AcDb::kLnWt035), Acad::eOk);
    EXPECT_EQ(line->setLinetypeScale(0.0), Acad::eInvalidInput);
    EXPECT_EQ(line->setVisibility(AcDb::kInvisible), Acad::eOk);
    AcGeMatrix3d move = AcGeMatrix3d::translation(AcGeVector3d(10, 0, 0));
    EXPECT_EQ(line->transformBy(move), Acad::eOk);
    EXPECT_EQ(line->endPoint(), AcGePoint3d(11, 1, 0));

    // A new entity takes the properties of another and the database defaults.
    auto* copy = new AcDbLine;
    ASSERT_EQ(copy->setPropertiesFrom(line), Acad::eOk);
    EXPECT_EQ(copy->layerId(), water);
    EXPECT_EQ(copy->lineWeight(), AcDb::kLnWt035);
    EXPECT_EQ(copy->visibility(), AcDb::kInvisible);
    line->close();
    AcCmColor red;
    red.setColorIndex(1);
    ASSERT_EQ(db->setCecolor(red), Acad::eOk);
    ASSERT_EQ(db->setCelweight(AcDb::kLnWt050), Acad::eOk);
    ASSERT_EQ(db->setClayer(water), Acad::eOk);
    copy->setDatabaseDefaults();
    EXPECT_EQ(copy->layerId(), water);
    EXPECT_EQ(copy->colorIndex(), 1);
    EXPECT_EQ(copy->lineWeight(), AcDb::kLnWt050);
    EXPECT_EQ(copy->linetypeId(), db->byLayerLinetype());
    delete copy;
}
