// Hit-testing: which entity a pick finds, through what, and what the window modes take.
#include "seltest.h"

#include "dxfio.h"

#include <filesystem>

using namespace seltest;

namespace {

class Hits : public SelTest {
protected:
    std::vector<khost::PickHit> at(double x, double y) {
        return khost::hitsAt(db(), AcGePoint3d(x, y, 0), khost::pickRadius());
    }
    AcDbObjectId topAt(double x, double y) {
        auto hits = at(x, y);
        return hits.empty() ? AcDbObjectId::kNull : hits.front().entity;
    }
};

TEST_F(Hits, PickRadiusFollowsViewAndPickbox) {
    EXPECT_DOUBLE_EQ(khost::pickRadius(), 3.0);
    AcDbObjectId ln = add(line(0, 0, 100, 0));
    EXPECT_EQ(topAt(50, 2.9), ln);
    EXPECT_TRUE(at(50, 3.2).empty());
    EXPECT_EQ(topAt(-2, 2), ln); // near the end point
    EXPECT_TRUE(at(-2.5, 2.5).empty());

    ASSERT_TRUE(khost::setView(AcGePoint3d(50, 0, 0), 4000.0));
    EXPECT_FALSE(khost::setView(AcGePoint3d(), 0.0));
    resbuf rb{};
    ASSERT_EQ(acedGetVar(L"VIEWSIZE", &rb), RTNORM);
    EXPECT_DOUBLE_EQ(rb.resval.rreal, 4000.0);
    ASSERT_EQ(acedGetVar(L"VIEWCTR", &rb), RTNORM);
    EXPECT_DOUBLE_EQ(rb.resval.rpoint[X], 50.0);
    EXPECT_EQ(acedSetVar(L"VIEWSIZE", &rb), RTREJ); // read-only, as the host keeps it
    EXPECT_EQ(topAt(50, 11), ln);
    rb.restype = RTSHORT;
    rb.resval.rint = 1;
    ASSERT_EQ(acedSetVar(L"PICKBOX", &rb), RTNORM);
    EXPECT_TRUE(at(50, 5).empty());
    EXPECT_EQ(topAt(50, 3.9), ln);
    rb.resval.rint = 3;
    acedSetVar(L"PICKBOX", &rb);
}

TEST_F(Hits, CurvesTextsAndTopmostFirst) {
    // An arc segment bulging down from (0,0) to (20,0): its lowest point is (10,-10).
    AcDbObjectId pl = add(pline({{0, 0}, {20, 0}, {20, 20}, {0, 20}}, {1.0}));
    auto* circle = new AcDbCircle(AcGePoint3d(100, 0, 0), AcGeVector3d::kZAxis, 10);
    AcDbObjectId ci = add(circle);
    auto* arc = new AcDbArc(AcGePoint3d(200, 0, 0), 10, 0, 3.14159265358979 / 2);
    AcDbObjectId ar = add(arc);
    AcDbObjectId tx = add(text(300, 0, L"ABCD", 5)); // about 20 wide, 5 high
    auto* mt = new AcDbMText;
    mt->setLocation(AcGePoint3d(400, 0, 0));
    mt->setTextHeight(5);
    mt->setContents(L"AB\\PABCDEF");
    mt->setAttachment(AcDbMText::kBottomRight);
    AcDbObjectId mtx = add(mt);

    auto hits = at(10, -9);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].entity, pl);
    EXPECT_EQ(hits[0].marker, 1);    // the first segment
    EXPECT_TRUE(at(10, -5).empty()); // inside the bulge, far from its arc
    EXPECT_EQ(at(21, 10).front().marker, 2);
    EXPECT_EQ(at(10, 20).front().marker, 3);

    EXPECT_EQ(topAt(100, 9), ci);
    EXPECT_TRUE(at(100, 0).empty());
    EXPECT_EQ(topAt(200, 11), ar);
    EXPECT_TRUE(at(190, -2).empty() && at(200, -10).empty()); // the other three quarters
    EXPECT_EQ(topAt(310, 2.5), tx);
    EXPECT_TRUE(at(330, 2.5).empty());
    // Bottom right attachment: the box of two lines extends left and up from its point.
    EXPECT_EQ(topAt(380, 10), mtx);
    EXPECT_TRUE(at(410, 10).empty());

    // A line drawn later over the circle is found first.
    AcDbObjectId over = add(line(90, 10, 110, 10));
    hits = at(100, 10);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].entity, over);
    EXPECT_EQ(hits[1].entity, ci);
}

TEST_F(Hits, LayersAndVisibilityHide) {
    AcDbObjectId frozen = layer(L"F", true), off = layer(L"O", false, true);
    AcDbLine* a = line(0, 0, 10, 0);
    a->setLayer(frozen);
    add(a);
    AcDbLine* b = line(0, 10, 10, 10);
    b->setLayer(off);
    add(b);
    AcDbLine* c = line(0, 20, 10, 20);
    c->setVisibility(AcDb::kInvisible);
    add(c);
    EXPECT_TRUE(at(5, 0).empty());
    EXPECT_TRUE(at(5, 10).empty());
    EXPECT_TRUE(at(5, 20).empty());
    // In a block, an entity on layer 0 takes the reference's layer; others keep theirs.
    AcDbObjectId blk = defineBlock(L"B");
    add(line(0, 0, 10, 0), blk);
    AcDbLine* hidden = line(0, 5, 10, 5);
    hidden->setLayer(off);
    add(hidden, blk);
    insert(blk, AcGePoint3d(100, 0, 0));
    EXPECT_FALSE(at(105, 0).empty());
    EXPECT_TRUE(at(105, 5).empty());
}

TEST_F(Hits, NestedReferencesInnermostFirstWithTheirTransform) {
    AcDbObjectId inner = defineBlock(L"INNER");
    AcDbObjectId tx = add(text(0, 0, L"XY", 2), inner);
    AcDbObjectId outer = defineBlock(L"OUTER");
    add(line(-50, -50, -40, -50), outer);
    AcDbObjectId innerRef = insert(inner, AcGePoint3d(10, 0, 0), 3.14159265358979 / 2, 1.0, outer);
    AcDbObjectId top = insert(outer, AcGePoint3d(100, 100, 0), 0.0, 2.0);
    AcDbObjectId att = attach(top, AcGePoint3d(200, 200, 0), L"VALUE");

    // The text lies at (10,0)..(10,4)x(-4,0) in OUTER, so (120..,100..) in the world.
    auto hits = at(118, 104);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].entity, top);
    EXPECT_EQ(hits[0].leaf, tx);
    ASSERT_EQ(hits[0].containers.size(), 2u);
    EXPECT_EQ(hits[0].containers[0], innerRef);
    EXPECT_EQ(hits[0].containers[1], top);
    AcGePoint3d p = hits[0].xform * AcGePoint3d(1, 1, 0);
    EXPECT_NEAR(p.x, 118.0, 1e-9);
    EXPECT_NEAR(p.y, 102.0, 1e-9);
    // The attribute is in world coordinates: no container, drawn over the block.
    hits = at(202, 201);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].leaf, att);
    EXPECT_TRUE(hits[0].containers.empty());
    EXPECT_TRUE(at(150, 150).empty());
}

TEST_F(Hits, DimensionsAndMultileadersAreOneEntity) {
    auto* dim = new AcDbAlignedDimension(AcGePoint3d(0, 0, 0), AcGePoint3d(100, 0, 0),
                                         AcGePoint3d(50, 20, 0));
    AcDbObjectId d = add(dim);
    auto hits = at(30, 20); // on the dimension line
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].entity, d);
    EXPECT_EQ(hits[0].leaf, d);

    auto* ml = new AcDbMLeader;
    int line = -1;
    ASSERT_EQ(ml->addLeaderLine(AcGePoint3d(200, 0, 0), line), Acad::eOk);
    ml->setTextLocation(AcGePoint3d(250, 50, 0));
    ml->setTextContents(L"POPIS");
    AcDbObjectId m = add(ml);
    EXPECT_EQ(topAt(200.5, 0.5), m); // the arrow end of the leader
    EXPECT_TRUE(at(150, 150).empty());
}

TEST_F(Hits, WindowsTakeWhatLiesInsideCrossingAlsoWhatTheyCut) {
    AcDbObjectId inside = add(line(10, 10, 20, 20));
    AcDbObjectId cut = add(line(40, 10, 80, 10));
    AcDbObjectId outside = add(line(200, 200, 210, 210));
    auto* circle = new AcDbCircle(AcGePoint3d(25, 40, 0), AcGeVector3d::kZAxis, 10);
    AcDbObjectId ci = add(circle); // its rim crosses the window's top edge
    AcDbObjectId blk = defineBlock(L"B");
    add(line(0, 0, 5, 0), blk);
    AcDbObjectId ref = insert(blk, AcGePoint3d(5, 5, 0));

    auto w = khost::entitiesInWindow(db(), AcGePoint3d(0, 0, 0), AcGePoint3d(50, 35, 0), false);
    EXPECT_EQ(w, (std::vector<AcDbObjectId>{inside, ref}));
    auto c = khost::entitiesInWindow(db(), AcGePoint3d(50, 35, 0), AcGePoint3d(0, 0, 0), true);
    EXPECT_EQ(c, (std::vector<AcDbObjectId>{inside, cut, ci, ref}));
    (void)outside;
}

TEST_F(Hits, PolylineSegmentsAsSubentities) {
    auto* pl = pline({{0, 0}, {10, 0}, {10, 10}}, {0.0, 1.0});
    pl->setLayer(layer(L"P"));
    AcDbObjectId id = add(pl);
    AcDbPolyline* p = nullptr;
    ASSERT_EQ(acdbOpenObject(p, id, AcDb::kForRead), Acad::eOk);
    int n = 0;
    AcDbFullSubentPath* paths = nullptr;
    EXPECT_EQ(p->getSubentPathsAtGsMarker(AcDb::kEdgeSubentType, 3, AcGePoint3d(),
                                          AcGeMatrix3d::kIdentity, n, paths),
              Acad::eInvalidInput);
    EXPECT_EQ(p->getSubentPathsAtGsMarker(AcDb::kVertexSubentType, 1, AcGePoint3d(),
                                          AcGeMatrix3d::kIdentity, n, paths),
              Acad::eWrongSubentityType);
    ASSERT_EQ(p->getSubentPathsAtGsMarker(AcDb::kEdgeSubentType, 1, AcGePoint3d(),
                                          AcGeMatrix3d::kIdentity, n, paths),
              Acad::eOk);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(paths[0].objectIds().last(), id);
    AcDbEntity* seg = p->subentPtr(paths[0]);
    delete[] paths;
    auto* ln = AcDbLine::cast(seg);
    ASSERT_NE(ln, nullptr);
    EXPECT_FALSE(ln->objectId().isValid());
    EXPECT_EQ(ln->endPoint(), AcGePoint3d(10, 0, 0));
    EXPECT_EQ(ln->layerId(), p->layerId());
    delete seg;
    // The second segment is a half circle from (10,0) to (10,10) about (10,5).
    seg = p->subentPtr(AcDbFullSubentPath(id, AcDb::kEdgeSubentType, 2));
    auto* arc = AcDbArc::cast(seg);
    ASSERT_NE(arc, nullptr);
    EXPECT_NEAR(arc->center().distanceTo(AcGePoint3d(10, 5, 0)), 0.0, 1e-9);
    EXPECT_NEAR(arc->radius(), 5.0, 1e-9);
    AcGePoint3d s;
    arc->getStartPoint(s);
    EXPECT_NEAR(s.distanceTo(AcGePoint3d(10, 0, 0)), 0.0, 1e-9);
    delete seg;
    EXPECT_EQ(p->subentPtr(AcDbFullSubentPath(id, AcDb::kEdgeSubentType, 7)), nullptr);
    p->close();
}

TEST_F(Hits, PicksGoIntoExternalReferences) {
    namespace fs = std::filesystem;
    fs::path dir = fs::path(m_home) / "xref";
    fs::create_directories(dir);
    AcDbObjectId inRef;
    {
        AcDbDatabase ref(true, true);
        AcDbBlockTableRecord* ms = nullptr;
        ASSERT_EQ(acdbOpenObject(ms, ref.currentSpaceId(), AcDb::kForWrite), Acad::eOk);
        AcDbText* t = text(0, 0, L"PODKLAD", 1);
        ASSERT_EQ(ms->appendAcDbEntity(inRef, t), Acad::eOk);
        t->close();
        ms->close();
        std::wstring err;
        ASSERT_TRUE(khost::writeDrawing(&ref, (dir / "podklad.dxf").wstring(), err));
    }
    AcDbObjectId xref;
    ASSERT_EQ(acdbAttachXref(db(), (dir / "podklad.dwg").wstring().c_str(), L"PODKLAD", xref),
              Acad::eOk);
    AcDbObjectId top = insert(xref, AcGePoint3d(100, 0, 0), 0.0, 10.0);
    auto hits = at(150, 5); // the text is 7 wide and 1 high, ten times larger
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].entity, top);
    EXPECT_EQ(hits[0].containers, std::vector<AcDbObjectId>{top});
    AcDbText* found = nullptr;
    ASSERT_EQ(acdbOpenObject(found, hits[0].leaf, AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(found->textStringConst(), L"PODKLAD");
    EXPECT_NE(found->database(), db());
    found->close();
}

} // namespace
