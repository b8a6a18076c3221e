#include "acdocman.h"
#include "acedads.h"
#include "acutads.h"
#include "dbapserv.h"
#include "dbents.h"
#include "dbhost.h"
#include "dbraw.h"
#include "dbsymtb.h"
#include "edtest.h"
#include "gepnt3d.h"
#include "gevec3d.h"

#include <cstdlib>

namespace {

class DrawingTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        m_db = new AcDbDatabase();
        m_doc = khost::openDocument(m_db, L"/tmp/sysvar.dwg");
    }
    void TearDown() override {
        khost::closeDocument(m_doc);
        EditorTest::TearDown();
    }
    static short shortVar(const wchar_t* name) {
        resbuf rb{};
        EXPECT_EQ(acedGetVar(name, &rb), RTNORM) << name;
        EXPECT_EQ(rb.restype, RTSHORT) << name;
        return rb.resval.rint;
    }
    static int setShort(const wchar_t* name, int v) {
        resbuf rb{};
        rb.restype = RTSHORT;
        rb.resval.rint = static_cast<short>(v);
        return acedSetVar(name, &rb);
    }
    AcDbDatabase* m_db = nullptr;
    AcApDocument* m_doc = nullptr;
};

using SysVarTest = DrawingTest;
using TransTest = DrawingTest;

TEST_F(SysVarTest, EditorAndDatabaseVariablesByAnyCase) {
    EXPECT_EQ(setShort(L"cmdEcho", 0), RTNORM);
    EXPECT_EQ(shortVar(L"CMDECHO"), 0);
    EXPECT_EQ(setShort(L"CMDECHO", 2), RTREJ); // out of range
    EXPECT_EQ(shortVar(L"CMDECHO"), 0);
    resbuf text{};
    text.restype = RTSTR;
    text.resval.rstring = const_cast<ACHAR*>(L"1");
    EXPECT_EQ(acedSetVar(L"CMDECHO", &text), RTREJ); // wrong type

    // Database variables go to the working database.
    resbuf rb{};
    rb.restype = RTREAL;
    rb.resval.rreal = 2.5;
    ASSERT_EQ(acedSetVar(L"ltscale", &rb), RTNORM);
    EXPECT_DOUBLE_EQ(m_db->ltscale(), 2.5);
    resbuf got{};
    ASSERT_EQ(acedGetVar(L"LTSCALE", &got), RTNORM);
    EXPECT_DOUBLE_EQ(got.resval.rreal, 2.5);

    // Read-only and unknown variables.
    EXPECT_EQ(setShort(L"CMDACTIVE", 1), RTREJ);
    rb.restype = RTSTR;
    rb.resval.rstring = const_cast<ACHAR*>(L"x.dwg");
    EXPECT_EQ(acedSetVar(L"DWGNAME", &rb), RTREJ);
    EXPECT_EQ(acedGetVar(L"NOSUCHVARIABLE", &got), RTERROR);
    EXPECT_EQ(setShort(L"NOSUCHVARIABLE", 1), RTREJ);

    // Strings are the caller's to free.
    ASSERT_EQ(acedGetVar(L"acadver", &got), RTNORM);
    ASSERT_EQ(got.restype, RTSTR);
    EXPECT_FALSE(std::wstring(got.resval.rstring).empty());
    free(got.resval.rstring);

    // Scripts run with file dialogs off.
    EXPECT_EQ(shortVar(L"FILEDIA"), 0);
}

TEST_F(SysVarTest, CvportFollowsTilemode) {
    ASSERT_EQ(shortVar(L"TILEMODE"), 1);
    EXPECT_EQ(shortVar(L"CVPORT"), 2);
    EXPECT_EQ(setShort(L"CVPORT", 1), RTREJ); // no paper space while TILEMODE is 1
    ASSERT_EQ(setShort(L"TILEMODE", 0), RTNORM);
    EXPECT_EQ(shortVar(L"CVPORT"), 1);
    ASSERT_EQ(setShort(L"CVPORT", 2), RTNORM);
    EXPECT_EQ(shortVar(L"CVPORT"), 2);
    EXPECT_EQ(setShort(L"CVPORT", 0), RTREJ);
    ASSERT_EQ(setShort(L"TILEMODE", 1), RTNORM);
    EXPECT_EQ(shortVar(L"CVPORT"), 2);
    ASSERT_EQ(setShort(L"TILEMODE", 0), RTNORM);
    EXPECT_EQ(shortVar(L"CVPORT"), 1); // back in paper space

    // Another document has its own viewport.
    AcApDocument* other = khost::openDocument(new AcDbDatabase(), L"");
    EXPECT_EQ(shortVar(L"CVPORT"), 2);
    khost::closeDocument(other);
    EXPECT_EQ(shortVar(L"CVPORT"), 1);
}

void expectPoint(const ads_point p, double x, double y, double z) {
    EXPECT_NEAR(p[X], x, 1e-9);
    EXPECT_NEAR(p[Y], y, 1e-9);
    EXPECT_NEAR(p[Z], z, 1e-9);
}

TEST_F(TransTest, UcsWorldDisplayAndDisplacements) {
    // A UCS moved to 10,20,0 and turned 90 degrees about Z.
    khost::setCurrentUcs(m_db, AcGePoint3d(10, 20, 0), AcGeVector3d(0, 1, 0),
                         AcGeVector3d(-1, 0, 0));
    resbuf wcs{}, ucs{}, dcs{}, bad{};
    wcs.restype = ucs.restype = dcs.restype = bad.restype = RTSHORT;
    wcs.resval.rint = 0;
    ucs.resval.rint = 1;
    dcs.resval.rint = 2;
    bad.resval.rint = 7;
    ads_point in = {1, 2, 3}, out;
    ASSERT_EQ(acedTrans(in, &ucs, &wcs, 0, out), RTNORM);
    expectPoint(out, 8, 21, 3);
    ASSERT_EQ(acedTrans(out, &wcs, &ucs, 0, out), RTNORM);
    expectPoint(out, 1, 2, 3);
    ASSERT_EQ(acedTrans(in, &ucs, &wcs, 1, out), RTNORM); // a displacement ignores the origin
    expectPoint(out, -2, 1, 3);
    ASSERT_EQ(acedTrans(in, &ucs, &dcs, 0, out), RTNORM); // a plan view of the UCS
    expectPoint(out, 1, 2, 3);
    EXPECT_EQ(acedTrans(in, &ucs, &bad, 0, out), RTERROR);

    // Typed points are UCS points; "*" gives world coordinates.
    khost::hostInput().push(L"*10,21,0\n");
    ads_point p;
    ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNORM);
    expectPoint(p, 1, 0, 0);

    // The arbitrary axis algorithm: an extrusion of -Z mirrors X.
    resbuf ecs{};
    ecs.restype = RT3DPOINT;
    ecs.resval.rpoint[X] = ecs.resval.rpoint[Y] = 0;
    ecs.resval.rpoint[Z] = -1;
    ASSERT_EQ(acedTrans(in, &ecs, &wcs, 0, out), RTNORM);
    expectPoint(out, -1, 2, -3);
}

// Adds an entity to model space and gives its name.
void addEntity(AcDbDatabase* db, AcDbEntity* ent, ads_name& name) {
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(acdbOpenObject(space, db->currentSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    ASSERT_EQ(space->appendAcDbEntity(id, ent), Acad::eOk);
    ent->close();
    space->close();
    ASSERT_EQ(acdbGetAdsName(name, id), Acad::eOk);
}

TEST_F(TransTest, EntityCoordinateSystems) {
    // A circle keeps its points in its ECS; a line keeps world points whatever its extrusion.
    auto* circle = new AcDbRawEntity(L"CIRCLE", L"AcDbCircle");
    ads_point center = {1, 2, 3}, down = {0, 0, -1};
    resbuf* data = acutBuildList(100, L"AcDbCircle", 10, center, 40, 5.0, 210, down, 0);
    ASSERT_EQ(circle->setRawData(data), Acad::eOk);
    acutRelRb(data);
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    line->setNormal(AcGeVector3d(0, 0, -1));
    resbuf circleRb{}, lineRb{}, wcs{};
    circleRb.restype = lineRb.restype = RTENAME;
    addEntity(m_db, circle, circleRb.resval.rlname);
    addEntity(m_db, line, lineRb.resval.rlname);
    wcs.restype = RTSHORT;
    wcs.resval.rint = 0;
    ads_point out;
    ASSERT_EQ(acedTrans(center, &circleRb, &wcs, 0, out), RTNORM);
    expectPoint(out, -1, 2, -3);
    ASSERT_EQ(acedTrans(center, &lineRb, &wcs, 0, out), RTNORM);
    expectPoint(out, 1, 2, 3);
    ads_name none = {0, 0};
    resbuf bad{};
    bad.restype = RTENAME;
    ads_name_set(none, bad.resval.rlname);
    EXPECT_EQ(acedTrans(center, &bad, &wcs, 0, out), RTERROR);
}

TEST_F(TransTest, PaperSpaceHasItsOwnUcs) {
    khost::setCurrentUcs(m_db, AcGePoint3d(5, 0, 0), AcGeVector3d(1, 0, 0), AcGeVector3d(0, 1, 0));
    khost::setCurrentUcs(m_db, AcGePoint3d(0, 7, 0), AcGeVector3d(1, 0, 0), AcGeVector3d(0, 1, 0),
                         true);
    resbuf wcs{}, ucs{};
    wcs.restype = ucs.restype = RTSHORT;
    wcs.resval.rint = 0;
    ucs.resval.rint = 1;
    ads_point zero = {0, 0, 0}, out;
    ASSERT_EQ(acedTrans(zero, &ucs, &wcs, 0, out), RTNORM);
    expectPoint(out, 5, 0, 0);
    ASSERT_EQ(setShort(L"TILEMODE", 0), RTNORM); // paper space
    ASSERT_EQ(acedTrans(zero, &ucs, &wcs, 0, out), RTNORM);
    expectPoint(out, 0, 7, 0);
    ASSERT_EQ(setShort(L"CVPORT", 2), RTNORM); // into a floating viewport: model space again
    ASSERT_EQ(acedTrans(zero, &ucs, &wcs, 0, out), RTNORM);
    expectPoint(out, 5, 0, 0);
}

} // namespace
