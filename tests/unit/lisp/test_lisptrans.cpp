// A transaction that an application's LISP function leaves active is aborted after the call and
// reported with the objects left open.
#include "actrans.h"
#include "arxdb.h"
#include "dbhost.h"
#include "lisptest.h"

#include "acedlisp.h"
#include "appregistry.h"

#include <memory>

using namespace khost;

namespace {

AcDbObjectId g_line;
AcDbObjectId g_layer;

// Function 0 moves the line to the layer and ends its transaction; function 1 leaves it active.
AcRx::AppRetCode transEntry(AcRx::AppMsgCode msg, void*) {
    if (msg == AcRx::kLoadDwgMsg) {
        acedDefun(L"lt_trans_end", 0);
        acedDefun(L"lt_trans_open", 1);
    }
    if (msg == AcRx::kInvkSubrMsg) {
        AcTransactionManager* tm = actrTransactionManager;
        tm->startTransaction();
        AcDbObject* o = nullptr;
        if (tm->getObject(o, g_line, AcDb::kForWrite) == Acad::eOk)
            AcDbEntity::cast(o)->setLayer(g_layer);
        if (acedGetFunCode() == 0)
            tm->endTransaction();
        acedRetT();
    }
    return AcRx::kRetOK;
}

class LispTransaction : public LispTest {
protected:
    void SetUp() override {
        LispTest::SetUp();
        m_db = std::make_unique<AcDbDatabase>();
        acdbHostApplicationServices()->setWorkingDatabase(m_db.get());
        AcDbLayerTable* t = nullptr;
        m_db->getLayerTable(t, AcDb::kForWrite);
        auto* rec = new AcDbLayerTableRecord();
        rec->setName(L"Nova");
        t->add(g_layer, rec);
        rec->close();
        t->close();
        AcDbBlockTableRecord* ms = nullptr;
        acdbOpenObject(ms, m_db->currentSpaceId(), AcDb::kForWrite);
        auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
        ms->appendAcDbEntity(g_line, line);
        line->close();
        ms->close();
        static int app = registerApp({L"lisptrans.so", transEntry, nullptr});
        sendAppMessage(app, AcRx::kLoadDwgMsg);
        m_failures = openCheckFailures();
    }
    void TearDown() override {
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
        m_db.reset();
        LispTest::TearDown();
    }
    std::wstring layerOfLine() {
        AcDbEntity* e = nullptr;
        AcString s;
        if (acdbOpenObject(e, g_line, AcDb::kForRead) == Acad::eOk) {
            e->layer(s);
            e->close();
        }
        return s.kACharPtr();
    }
    std::unique_ptr<AcDbDatabase> m_db;
    int m_failures = 0;
};

TEST_F(LispTransaction, EndedTransactionsKeepTheirChanges) {
    LispRun r = runLisp(L"(lt_trans_end)");
    EXPECT_EQ(r.out, L"T");
    EXPECT_EQ(openCheckFailures(), m_failures);
    EXPECT_EQ(layerOfLine(), L"Nova");
}

TEST_F(LispTransaction, ATransactionLeftActiveIsAbortedAndReported) {
    LispRun r = runLisp(L"(lt_trans_open)");
    EXPECT_NE(r.out.find(L"** (LT_TRANS_OPEN): transaction left active"), std::wstring::npos)
        << toUtf8(r.out);
    EXPECT_EQ(openCheckFailures(), m_failures + 1);
    EXPECT_EQ(actrTransactionManager->numActiveTransactions(), 0);
    EXPECT_EQ(openObjectCount(), 0);
    EXPECT_EQ(layerOfLine(), L"0");
}

} // namespace
