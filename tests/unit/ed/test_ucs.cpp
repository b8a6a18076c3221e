// The UCS command and dragging with acedDragGen.
#include "acdocman.h"
#include "aceddrag.h"
#include "acedads.h"
#include "acedentfn.h"
#include "arxdb.h"
#include "dbhost.h"
#include "dxfio.h"
#include "edtest.h"
#include "educs.h"

#include <cmath>
#include <filesystem>

namespace {

class Ucs : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        m_db = new AcDbDatabase();
        m_doc = khost::openDocument(m_db, L"/tmp/ucs.dwg");
    }
    void TearDown() override {
        khost::closeDocument(m_doc);
        EditorTest::TearDown();
    }
    void ucs(const wchar_t* input) {
        type(input);
        khost::cmdUcs();
    }
    std::wstring ucsName() {
        AcDbObjectId id = m_db->ucsname();
        if (id.isNull())
            return L"";
        AcDbUCSTableRecord* rec = nullptr;
        EXPECT_EQ(acdbOpenObject(rec, id, AcDb::kForRead), Acad::eOk);
        const ACHAR* name = nullptr;
        rec->getName(name);
        std::wstring s = name;
        rec->close();
        return s;
    }
    AcDbDatabase* m_db = nullptr;
    AcApDocument* m_doc = nullptr;
};

TEST_F(Ucs, OriginRotationWorldAndNamedUcss) {
    ucs(L"100,50\n\n");
    EXPECT_EQ(m_db->ucsorg(), AcGePoint3d(100, 50, 0));
    ucs(L"Z\n90\n");
    EXPECT_TRUE(m_db->ucsxdir().isEqualTo(AcGeVector3d(0, 1, 0)));
    EXPECT_TRUE(m_db->ucsydir().isEqualTo(AcGeVector3d(-1, 0, 0)));
    // Points are now typed in the turned UCS: its X runs along the world Y.
    ucs(L"10,0\n\n");
    EXPECT_TRUE(m_db->ucsorg().isEqualTo(AcGePoint3d(100, 60, 0)));
    ucs(L"Save\nPOHLED\n");
    EXPECT_EQ(ucsName(), L"POHLED");
    ucs(L"World\n");
    EXPECT_EQ(m_db->ucsorg(), AcGePoint3d::kOrigin);
    EXPECT_EQ(ucsName(), L"");
    ucs(L"0,0\n0,10\n"); // the X axis through a point: turned to the world Y
    EXPECT_TRUE(m_db->ucsxdir().isEqualTo(AcGeVector3d(0, 1, 0)));
    ucs(L"\n");
    EXPECT_TRUE(m_db->ucsxdir().isEqualTo(AcGeVector3d(1, 0, 0)));
    ucs(L"Restore\nPOHLED\n");
    EXPECT_EQ(ucsName(), L"POHLED");
    EXPECT_TRUE(m_db->ucsorg().isEqualTo(AcGePoint3d(100, 60, 0)));
    ucs(L"Restore\nNIC\n");
    EXPECT_NE(transcript().find(L"Cannot find UCS NIC."), std::wstring::npos);

    // The table goes into the drawing file and comes back.
    const std::wstring path = L"/tmp/kresbon-ucs-test.dxf";
    std::wstring error;
    ASSERT_TRUE(khost::writeDrawing(m_db, path, error));
    AcDbDatabase* back = khost::readDrawing(path, error);
    ASSERT_NE(back, nullptr);
    AcDbUCSTable* table = nullptr;
    ASSERT_EQ(back->getUCSTable(table, AcDb::kForRead), Acad::eOk);
    AcDbUCSTableRecord* rec = nullptr;
    ASSERT_EQ(table->getAt(L"POHLED", rec, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(rec->origin().isEqualTo(AcGePoint3d(100, 60, 0)));
    EXPECT_TRUE(rec->xAxis().isEqualTo(AcGeVector3d(0, 1, 0)));
    rec->close();
    table->close();
    delete back;
    std::filesystem::remove("/tmp/kresbon-ucs-test.dxf");

    ucs(L"Delete\nPOHLED\n");
    EXPECT_EQ(ucsName(), L"");
}

int g_calls = 0;
double g_seenX = 0;
int dragCallback(ads_point pt, ads_matrix mt) {
    ++g_calls;
    g_seenX = pt[X];
    mt[0][3] = pt[X];
    return RTNORM;
}

TEST_F(Ucs, DragGenAsksForThePointAndCallsTheCallback) {
    AcDbBlockTableRecord* ms = nullptr;
    ASSERT_EQ(acdbOpenObject(ms, m_db->currentSpaceId(), AcDb::kForWrite), Acad::eOk);
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
    AcDbObjectId id;
    ASSERT_EQ(ms->appendAcDbEntity(id, line), Acad::eOk);
    line->close();
    ms->close();
    ads_name ent, ss = {0, 0};
    ASSERT_EQ(acdbGetAdsName(ent, id), Acad::eOk);
    ASSERT_EQ(acedSSAdd(ent, nullptr, ss), RTNORM);

    ads_point p = {0, 0, 0};
    type(L"5,7,9\n");
    acedInitGet(RSG_2D, nullptr);
    EXPECT_EQ(acedDragGen(ss, L"\nKam: ", 0, dragCallback, p), RTNORM);
    EXPECT_EQ(g_calls, 1);
    EXPECT_EQ(g_seenX, 5.0);
    EXPECT_EQ(p[Z], 0.0); // the 2D flag: Z is not taken
    type(L"\n");
    EXPECT_EQ(acedDragGen(ss, L"\nKam: ", 0, dragCallback, p), RTNONE);
    type(L"^C\n");
    EXPECT_EQ(acedDragGen(ss, L"\nKam: ", 0, dragCallback, p), RTCAN);
    EXPECT_EQ(g_calls, 1);
    ads_name empty = {0, 0};
    EXPECT_EQ(acedDragGen(empty, L"\nKam: ", 0, dragCallback, p), RTERROR);
    acedSSFree(ss);
    // The line itself did not move.
    AcDbLine* l = nullptr;
    ASSERT_EQ(acdbOpenObject(l, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(l->startPoint(), AcGePoint3d(0, 0, 0));
    l->close();
}

} // namespace
