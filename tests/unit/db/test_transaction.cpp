// Transactions: objects obtained through them, closing at the end, restoring at an abort, and
// nesting.
#include "actrans.h"
#include "dbent_complex.h"
#include "dbtest.h"

namespace {

class Transaction : public DbTest {
protected:
    void TearDown() override {
        // A failed test must not leave a transaction for the next one.
        while (actrTransactionManager->numActiveTransactions() > 0)
            actrTransactionManager->abortTransaction();
        DbTest::TearDown();
    }
    AcDbObjectId addLayer(const ACHAR* name) {
        AcDbLayerTable* t = nullptr;
        EXPECT_EQ(db->getLayerTable(t, AcDb::kForWrite), Acad::eOk);
        auto* rec = new AcDbLayerTableRecord();
        rec->setName(name);
        AcDbObjectId id;
        EXPECT_EQ(t->add(id, rec), Acad::eOk);
        rec->close();
        t->close();
        return id;
    }
    AcString layerOf(AcDbObjectId id) {
        AcDbEntity* e = nullptr;
        AcString s;
        if (acdbOpenObject(e, id, AcDb::kForRead) == Acad::eOk) {
            e->layer(s);
            e->close();
        }
        return s;
    }
};

TEST_F(Transaction, EndClosesEverythingObtainedAndKeepsTheChanges) {
    AcTransactionManager* tm = actrTransactionManager;
    ASSERT_NE(tm, nullptr);
    EXPECT_EQ(tm, acdbTransactionManager);
    EXPECT_EQ(tm->endTransaction(), Acad::eNoActiveTransactions);
    AcDbObject* o = nullptr;
    EXPECT_EQ(tm->getObject(o, addLine(), AcDb::kForRead), Acad::eNoActiveTransactions);

    const AcDbObjectId line = addLine();
    const AcDbObjectId layer = addLayer(L"Nova");
    AcTransaction* t = tm->startTransaction();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(tm->topTransaction(), t);
    EXPECT_EQ(t->transactionManager(), tm);
    AcDbObject* r = nullptr;
    ASSERT_EQ(t->getObject(r, line, AcDb::kForRead), Acad::eOk);
    // The same object again, upgraded when asked for write.
    AcDbObject* w = nullptr;
    ASSERT_EQ(tm->getObject(w, line, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(w, r);
    EXPECT_TRUE(w->isWriteEnabled());
    EXPECT_EQ(AcDbEntity::cast(w)->setLayer(layer), Acad::eOk);
    // Outside the transaction the rules of opening still hold.
    AcDbObject* other = nullptr;
    EXPECT_EQ(acdbOpenObject(other, line, AcDb::kForRead), Acad::eWasOpenForWrite);
    EXPECT_EQ(tm->getObject(o, AcDbObjectId::kNull, AcDb::kForRead), Acad::eNullObjectId);
    EXPECT_EQ(tm->numOpenedObjects(), 1);
    AcArray<AcDbObject*> all;
    tm->getAllObjects(all);
    EXPECT_EQ(all.length(), 1);

    EXPECT_EQ(tm->endTransaction(), Acad::eOk);
    EXPECT_EQ(tm->numActiveTransactions(), 0);
    EXPECT_EQ(khost::openObjectCount(), 0);
    EXPECT_EQ(layerOf(line), L"Nova");
}

TEST_F(Transaction, AbortRestoresChangedAndErasesCreatedObjects) {
    AcTransactionManager* tm = actrTransactionManager;
    const AcDbObjectId line = addLine();
    const AcDbObjectId layer = addLayer(L"Nova");
    {
        AcDbRegAppTable* t = nullptr;
        ASSERT_EQ(db->getRegAppTable(t, AcDb::kForWrite), Acad::eOk);
        auto* rec = new AcDbRegAppTableRecord();
        rec->setName(L"APP");
        t->add(rec);
        rec->close();
        t->close();
    }
    // An old-style polyline, whose vertices share its properties.
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(acdbOpenObject(space, db->currentSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcGePoint3dArray pts{AcGePoint3d(0, 0, 0), AcGePoint3d(5, 0, 0)};
    auto* pline = new AcDb2dPolyline(AcDb::k2dSimplePoly, pts);
    AcDbObjectId plineId;
    ASSERT_EQ(space->appendAcDbEntity(plineId, pline), Acad::eOk);
    pline->close();
    space->close();

    tm->startTransaction();
    AcDbObject* o = nullptr;
    ASSERT_EQ(tm->getObject(o, plineId, AcDb::kForWrite), Acad::eOk);
    AcDbEntity::cast(o)->setLayer(layer);
    AcDbEntity::cast(o)->setColorIndex(2);
    ASSERT_EQ(tm->getObject(o, line, AcDb::kForWrite), Acad::eOk);
    auto* e = AcDbEntity::cast(o);
    e->setLayer(layer);
    e->setColorIndex(3);
    resbuf* xd = acutBuildList(1001, L"APP", 1000, L"x", 0);
    EXPECT_EQ(e->setXData(xd), Acad::eOk);
    acutRelRb(xd);
    static_cast<AcDbLine*>(o)->setEndPoint(AcGePoint3d(7, 7, 0));
    // A new entity handed to the transaction.
    AcDbBlockTable* bt = nullptr;
    db->getBlockTable(bt, AcDb::kForRead);
    AcDbBlockTableRecord* ms = nullptr;
    bt->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForWrite);
    bt->close();
    auto* added = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0));
    AcDbObjectId addedId;
    ASSERT_EQ(ms->appendAcDbEntity(addedId, added), Acad::eOk);
    ms->close();
    EXPECT_EQ(tm->addNewlyCreatedDBRObject(added), Acad::eOk);

    EXPECT_EQ(tm->abortTransaction(), Acad::eOk);
    EXPECT_EQ(khost::openObjectCount(), 0);
    EXPECT_EQ(layerOf(line), L"0");
    AcDbLine* l = nullptr;
    ASSERT_EQ(acdbOpenObject(l, line, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(l->colorIndex(), 256);
    EXPECT_EQ(l->endPoint(), AcGePoint3d(1, 1, 0));
    resbuf* now = l->xData();
    EXPECT_EQ(now, nullptr);
    acutRelRb(now);
    l->close();
    EXPECT_TRUE(addedId.isErased());
    EXPECT_EQ(layerOf(plineId), L"0");
    AcDbObject* pl = nullptr;
    ASSERT_EQ(acdbOpenObject(pl, plineId, AcDb::kForRead), Acad::eOk);
    for (AcDbObjectId id : khost::subEntityIds(pl)) {
        auto* sub = AcDbEntity::cast(khost::peekObject(id));
        EXPECT_EQ(sub->layerId(), db->layerZero());
        EXPECT_EQ(sub->colorIndex(), 256);
    }
    pl->close();
}

TEST_F(Transaction, NestedTransactionsHandTheirObjectsOutwards) {
    AcTransactionManager* tm = actrTransactionManager;
    const AcDbObjectId a = addLine();
    const AcDbObjectId b = addLine();
    const AcDbObjectId layer = addLayer(L"Nova");
    AcTransaction* outer = tm->startTransaction();
    AcDbObject* pa = nullptr;
    ASSERT_EQ(outer->getObject(pa, a, AcDb::kForRead), Acad::eOk);
    AcTransaction* inner = tm->startTransaction();
    EXPECT_EQ(tm->numActiveTransactions(), 2);
    AcDbObject* o = nullptr;
    EXPECT_EQ(outer->getObject(o, b, AcDb::kForRead), Acad::eNotTopTransaction);
    // The outer transaction's object is found by the inner one and changed there; the abort of
    // the inner one undoes that change and leaves the object to the outer one.
    ASSERT_EQ(inner->getObject(o, a, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(o, pa);
    AcDbEntity::cast(o)->setLayer(layer);
    EXPECT_EQ(tm->abortTransaction(), Acad::eOk);
    EXPECT_TRUE(pa->isReadEnabled());
    AcString s;
    AcDbEntity::cast(pa)->layer(s);
    EXPECT_EQ(s, L"0");

    // An inner end keeps the object open until the outer end.
    tm->startTransaction();
    AcDbObject* pb = nullptr;
    ASSERT_EQ(tm->getObject(pb, b, AcDb::kForWrite), Acad::eOk);
    AcDbEntity::cast(pb)->setLayer(layer);
    EXPECT_EQ(tm->endTransaction(), Acad::eOk);
    EXPECT_TRUE(pb->isWriteEnabled());
    EXPECT_EQ(tm->numOpenedObjects(), 2);
    EXPECT_EQ(tm->endTransaction(), Acad::eOk);
    EXPECT_EQ(khost::openObjectCount(), 0);
    EXPECT_EQ(layerOf(a), L"0");
    EXPECT_EQ(layerOf(b), L"Nova");
}

TEST_F(Transaction, ObjectsClosedByTheCallerAreReported) {
    AcTransactionManager* tm = actrTransactionManager;
    const AcDbObjectId line = addLine();
    tm->startTransaction();
    AcDbObject* o = nullptr;
    ASSERT_EQ(tm->getObject(o, line, AcDb::kForRead), Acad::eOk);
    o->close();
    EXPECT_EQ(tm->endTransaction(), Acad::eOk);
    EXPECT_EQ(khost::reportOpenObjects(L"t"), 1);
    EXPECT_NE(transcript().find(L"close of object obtained through a transaction: AcDbLine"),
              std::wstring::npos);
    // An object somebody else holds open for write is refused with the open status.
    AcDbObject* mine = nullptr;
    ASSERT_EQ(acdbOpenObject(mine, line, AcDb::kForWrite), Acad::eOk);
    tm->startTransaction();
    EXPECT_EQ(tm->getObject(o, line, AcDb::kForRead), Acad::eWasOpenForWrite);
    EXPECT_EQ(tm->numOpenedObjects(), 0);
    tm->endTransaction();
    mine->close();
}

} // namespace
