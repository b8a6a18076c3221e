// The open discipline: readers and writers, the statuses of the host, and the report of objects
// left open or misused.
#include "dbtest.h"

using OpenRules = DbTest;

TEST_F(OpenRules, ReadersAndWriterExcludeEachOther) {
    AcDbObjectId id = addLine();
    AcDbObject* r1 = nullptr;
    AcDbObject* r2 = nullptr;
    AcDbObject* w = nullptr;
    ASSERT_EQ(acdbOpenObject(r1, id, AcDb::kForRead), Acad::eOk);
    ASSERT_EQ(acdbOpenObject(r2, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(r1, r2);
    EXPECT_EQ(r1->numReaders(), 2);
    EXPECT_EQ(acdbOpenObject(w, id, AcDb::kForWrite), Acad::eWasOpenForRead);
    EXPECT_EQ(w, nullptr);
    // With two readers the upgrade is refused; with one it succeeds.
    EXPECT_EQ(r1->upgradeOpen(), Acad::eHadMultipleReaders);
    EXPECT_EQ(r2->close(), Acad::eOk);
    EXPECT_TRUE(r1->isReadEnabled());
    EXPECT_FALSE(r1->isWriteEnabled());
    EXPECT_EQ(r1->upgradeOpen(), Acad::eOk);
    EXPECT_TRUE(r1->isWriteEnabled());
    EXPECT_EQ(r1->upgradeOpen(), Acad::eWasOpenForWrite);
    EXPECT_EQ(acdbOpenObject(w, id, AcDb::kForRead), Acad::eWasOpenForWrite);
    EXPECT_EQ(acdbOpenObject(w, id, AcDb::kForWrite), Acad::eWasOpenForWrite);
    EXPECT_EQ(r1->downgradeOpen(), Acad::eOk);
    EXPECT_FALSE(r1->isWriteEnabled());
    EXPECT_EQ(r1->close(), Acad::eOk);
    EXPECT_FALSE(r1->isReadEnabled());
    ASSERT_EQ(acdbOpenObject(w, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(w->close(), Acad::eOk);
}

TEST_F(OpenRules, AtMostTwoHundredFiftySixReaders) {
    AcDbObjectId id = addLine();
    AcDbObject* p = nullptr;
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(acdbOpenObject(p, id, AcDb::kForRead), Acad::eOk) << i;
    AcDbObject* q = nullptr;
    EXPECT_EQ(acdbOpenObject(q, id, AcDb::kForRead), Acad::eAtMaxReaders);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(p->close(), Acad::eOk);
    EXPECT_FALSE(p->isReadEnabled());
}

TEST_F(OpenRules, StatusesOfIdsThatCannotBeOpened) {
    AcDbObject* p = nullptr;
    EXPECT_EQ(acdbOpenObject(p, AcDbObjectId::kNull, AcDb::kForRead), Acad::eNullObjectId);
    // An id made for a handle that no object has.
    AcDbObjectId ghost;
    ASSERT_EQ(db->getAcDbObjectId(ghost, true, AcDbHandle(0x7FFF0)), Acad::eOk);
    EXPECT_FALSE(ghost.isValid());
    EXPECT_EQ(acdbOpenObject(p, ghost, AcDb::kForRead), Acad::eUnknownHandle);
    EXPECT_EQ(p, nullptr);
    AcDbObjectId none;
    EXPECT_EQ(db->getAcDbObjectId(none, false, AcDbHandle(0x7FFF1)), Acad::eUnknownHandle);
    EXPECT_TRUE(none.isNull());
}

TEST_F(OpenRules, TypedOpenChecksTheClass) {
    AcDbObjectId lineId = addLine();
    AcDbLayerTableRecord* layer = nullptr;
    EXPECT_EQ(acdbOpenObject(layer, lineId, AcDb::kForRead), Acad::eNotThatKindOfClass);
    EXPECT_EQ(layer, nullptr);
    AcDbCurve* curve = nullptr;
    ASSERT_EQ(acdbOpenObject(curve, lineId, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(curve->isKindOf(AcDbLine::desc()));
    curve->close();
    AcDbEntity* ent = nullptr;
    EXPECT_EQ(acdbOpenAcDbEntity(ent, db->layerZero(), AcDb::kForRead), Acad::eNotAnEntity);
    ASSERT_EQ(acdbOpenAcDbEntity(ent, lineId, AcDb::kForRead), Acad::eOk);
    ent->close();
    EXPECT_EQ(lineId.objectClass(), AcDbLine::desc());
}

TEST_F(OpenRules, ErasedObjectsOpenOnlyWithOpenErased) {
    AcDbObjectId id = addLine();
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenObject(e, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(e->erase(), Acad::eNotOpenForWrite);
    ASSERT_EQ(e->upgradeOpen(), Acad::eOk);
    EXPECT_EQ(e->erase(), Acad::eOk);
    EXPECT_EQ(e->erase(), Acad::eWasErased);
    e->close();
    EXPECT_TRUE(id.isErased());
    EXPECT_EQ(acdbOpenObject(e, id, AcDb::kForRead), Acad::eWasErased);
    ASSERT_EQ(acdbOpenObject(e, id, AcDb::kForWrite, true), Acad::eOk);
    EXPECT_TRUE(e->isErased());
    EXPECT_EQ(e->erase(false), Acad::eOk);
    EXPECT_EQ(e->erase(false), Acad::eWasNotErased);
    e->close();
    EXPECT_FALSE(id.isErased());
}

TEST_F(OpenRules, EntityOnLockedLayerCannotBeOpenedForWrite) {
    AcDbObjectId id = addLine();
    AcDbLayerTableRecord* layer = nullptr;
    ASSERT_EQ(acdbOpenObject(layer, db->layerZero(), AcDb::kForWrite), Acad::eOk);
    layer->setIsLocked(true);
    layer->close();
    AcDbEntity* e = nullptr;
    EXPECT_EQ(acdbOpenObject(e, id, AcDb::kForWrite), Acad::eOnLockedLayer);
    ASSERT_EQ(acdbOpenObject(e, id, AcDb::kForRead), Acad::eOk);
    e->close();
}

TEST_F(OpenRules, ForgottenCloseIsReportedWithClassAndHandleAndClosed) {
    AcDbObjectId id = addLine();
    AcDbObject* p = nullptr;
    ASSERT_EQ(acdbOpenObject(p, id, AcDb::kForRead), Acad::eOk);
    AcDbLayerTable* lt = nullptr;
    ASSERT_EQ(db->getLayerTable(lt, AcDb::kForWrite), Acad::eOk);
    transcript();
    EXPECT_EQ(khost::reportOpenObjects(L"CMD"), 2);
    wchar_t lineHandle[20], tableHandle[20];
    id.handle().getIntoAsciiBuffer(lineHandle);
    db->layerTableId().handle().getIntoAsciiBuffer(tableHandle);
    const std::wstring out = transcript();
    // The layer table was created before the line: it is reported first.
    EXPECT_EQ(out, L"\n** CMD: object left open: AcDbLayerTable " + std::wstring(tableHandle) +
                       L" (for write)\n\n** CMD: object left open: AcDbLine " +
                       std::wstring(lineHandle) + L" (for read)\n");
    EXPECT_FALSE(p->isReadEnabled());
    EXPECT_EQ(khost::openCheckFailures(), failuresBefore + 2);
    // Everything is closed now and can be opened again.
    ASSERT_EQ(acdbOpenObject(p, id, AcDb::kForWrite), Acad::eOk);
    p->close();
}

TEST_F(OpenRules, DoubleCloseAndCloseOfNonDatabaseObjectAreReportedNotFatal) {
    AcDbObjectId id = addLine();
    AcDbObject* p = nullptr;
    ASSERT_EQ(acdbOpenObject(p, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(p->close(), Acad::eOk);
    EXPECT_NE(p->close(), Acad::eOk);
    auto* orphan = new AcDbLine;
    EXPECT_TRUE(orphan->isNewObject());
    EXPECT_TRUE(orphan->isWriteEnabled());
    EXPECT_NE(orphan->close(), Acad::eOk);
    delete orphan;
    transcript();
    EXPECT_EQ(khost::reportOpenObjects(L"X"), 2);
    const std::wstring out = transcript();
    EXPECT_NE(out.find(L"** X: close of object not open: AcDbLine "), std::wstring::npos)
        << narrow(out);
    EXPECT_NE(out.find(L"** X: close of object not in a database: AcDbLine\n"), std::wstring::npos)
        << narrow(out);
}

TEST_F(OpenRules, WritesThroughReadOpenedObjectsAreRefusedAndReported) {
    AcDbObjectId id = addLine(AcGePoint3d(1, 2, 3), AcGePoint3d(4, 5, 6));
    AcDbLine* line = nullptr;
    ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(line->setStartPoint(AcGePoint3d(9, 9, 9)), Acad::eNotOpenForWrite);
    EXPECT_EQ(line->setLayer(L"0"), Acad::eNotOpenForWrite);
    EXPECT_EQ(line->setColorIndex(1), Acad::eNotOpenForWrite);
    EXPECT_EQ(line->startPoint(), AcGePoint3d(1, 2, 3));
    line->setDatabaseDefaults(); // a void setter: recorded
    line->close();
    AcDbLayerTableRecord* layer = nullptr;
    ASSERT_EQ(acdbOpenObject(layer, db->layerZero(), AcDb::kForRead), Acad::eOk);
    layer->setIsOff(true);
    EXPECT_FALSE(layer->isOff());
    layer->close();
    transcript();
    EXPECT_EQ(khost::reportOpenObjects(L"W"), 2);
    const std::wstring out = transcript();
    EXPECT_NE(out.find(L"** W: write to object not open for write: AcDbLine "), std::wstring::npos);
    EXPECT_NE(out.find(L"** W: write to object not open for write: AcDbLayerTableRecord "),
              std::wstring::npos);
}

TEST_F(OpenRules, DatabaseOwnsAddedObjectsAndIdsMapToAdsNames) {
    AcDbObjectId id = addLine();
    ads_name en;
    ASSERT_EQ(acdbGetAdsName(en, id), Acad::eOk);
    AcDbObjectId back;
    ASSERT_EQ(acdbGetObjectId(back, en), Acad::eOk);
    EXPECT_EQ(back, id);
    ads_name nil = {0, 0};
    EXPECT_EQ(acdbGetObjectId(back, nil), Acad::eInvalidAdsName);
    AcDbObjectId copy;
    copy.setFromOldId(id.asOldId());
    EXPECT_EQ(copy, id);
    EXPECT_EQ(std::hash<AcDbObjectId>()(copy), std::hash<AcDbObjectId>()(id));
    EXPECT_EQ(id.database(), db.get());
    // A second database keeps its own objects; destroying it deletes them (checked by the
    // sanitizer build) and clears the working database when it was the working one.
    auto other = std::make_unique<AcDbDatabase>();
    acdbHostApplicationServices()->setWorkingDatabase(other.get());
    other.reset();
    EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), nullptr);
    acdbHostApplicationServices()->setWorkingDatabase(db.get());
}

TEST_F(OpenRules, ManyObjectsOpenAndClosedInAnyOrderAreCountedAndReported) {
    // Enough objects for the registry to grow several times; closed in an order unlike the
    // opening, every third left open.
    const int before = khost::openObjectCount();
    std::vector<AcDbObject*> open;
    for (int i = 0; i < 1000; ++i) {
        AcDbObject* p = nullptr;
        ASSERT_EQ(acdbOpenObject(p, addLine(), AcDb::kForRead), Acad::eOk);
        open.push_back(p);
    }
    EXPECT_EQ(khost::openObjectCount(), before + 1000);
    int left = 0;
    for (int i = 0; i < 1000; ++i) {
        AcDbObject* p = open[static_cast<size_t>(i * 7 % 1000)];
        if (i % 3 == 0) {
            ++left;
            continue;
        }
        ASSERT_EQ(p->close(), Acad::eOk);
    }
    EXPECT_EQ(khost::openObjectCount(), before + left);
    // Reopening a closed one and closing it again leaves the count as it was.
    AcDbObject* again = nullptr;
    ASSERT_EQ(acdbOpenObject(again, open[7]->objectId(), AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(khost::openObjectCount(), before + left + 1);
    again->close();
    transcript();
    EXPECT_EQ(khost::reportOpenObjects(L"N"), before + left);
    EXPECT_EQ(khost::openObjectCount(), 0);
    for (AcDbObject* p : open)
        EXPECT_FALSE(p->isReadEnabled());
}
