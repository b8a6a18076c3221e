// Entities through DXF files: every class written and read back with the same values, what the
// independent reader (ezdxf) finds in the file and its audit, and entities written by ezdxf read
// into the classes.
#include "enttest.h"

#include "gemat3d.h"

#include <map>
#include <vector>

using namespace enttest;

namespace {

// The object of a database with the handle of an object of another one.
template <class T> T* sameIn(AcDbDatabase* db, AcDbObjectId original) {
    AcDbObjectId id;
    if (db->getAcDbObjectId(id, false, original.handle()) != Acad::eOk)
        return nullptr;
    return T::cast(khost::peekObject(id));
}

std::wstring text(const ACHAR* s) {
    return s ? std::wstring(s) : std::wstring();
}

std::wstring contentsOf(const AcDbMText* m) {
    AcString s;
    m->contents(s);
    return s.kACharPtr();
}

std::wstring longContents() {
    std::wstring s = L"{\\fArial|b1;Hlavní} ";
    for (int i = 0; i < 40; ++i)
        s += L"řádek " + std::to_wstring(i) + L"\\P";
    return s + L"\\S1/2;";
}

} // namespace

class EntDxf : public EntTest {
protected:
    AcDbObjectId addStyle(const ACHAR* name) {
        AcDbTextStyleTable* t = nullptr;
        db->getTextStyleTable(t, AcDb::kForWrite);
        auto* r = new AcDbTextStyleTableRecord;
        r->setName(name);
        r->setFileName(L"isocp.shx");
        AcDbObjectId id;
        EXPECT_EQ(t->add(id, r), Acad::eOk);
        r->close();
        t->close();
        return id;
    }
};

TEST_F(EntDxf, EveryClassRoundTripsThroughAFile) {
    TempDir dir;
    const AcGeVector3d tilt = AcGeVector3d(1, -2, 2).normal();
    const AcDbObjectId style = addStyle(L"KV_TXT");

    auto* lw = new AcDbPolyline;
    lw->addVertexAt(0, AcGePoint2d(0, 0), 0.0, 0.5, 1.0, 7);
    lw->addVertexAt(1, AcGePoint2d(10, 0), 1.0, 1.0, 1.5);
    lw->addVertexAt(2, AcGePoint2d(10, 10), -0.5, 1.5, 2.0, 9);
    lw->setClosed(true);
    lw->setPlinegen(true);
    lw->setElevation(1.5);
    lw->setNormal(tilt);
    lw->setThickness(0.25);
    AcDbObjectId lwId = add(lw);
    auto* lwc = new AcDbPolyline;
    lwc->addVertexAt(0, AcGePoint2d(1, 1));
    lwc->addVertexAt(1, AcGePoint2d(2, 1), 0.3);
    lwc->setConstantWidth(0.7);
    AcDbObjectId lwcId = add(lwc);

    AcGeDoubleArray bulges{0.5, 0.0, 0.0};
    auto* p2 = new AcDb2dPolyline(
        AcDb::k2dSimplePoly,
        AcGePoint3dArray{AcGePoint3d(0, 0, 0), AcGePoint3d(4, 0, 0), AcGePoint3d(4, 4, 0)}, 2.0,
        true, 0.1, 0.2, &bulges);
    p2->setNormal(AcGeVector3d(0, 0, -1));
    AcDbObjectId p2Id = add(p2);
    auto* p3 = new AcDb3dPolyline(
        AcDb::k3dSimplePoly,
        AcGePoint3dArray{AcGePoint3d(0, 0, 0), AcGePoint3d(1, 2, 3), AcGePoint3d(4, 5, 6)});
    add(p3);

    AcDbObjectId circleId = add(new AcDbCircle(AcGePoint3d(3, 4, 5), tilt, 2.5));
    AcDbObjectId arcId = add(new AcDbArc(AcGePoint3d(1, 2, 3), tilt, 4.0, 0.5, 5.5));
    AcDbObjectId ellId = add(new AcDbEllipse(AcGePoint3d(1, 1, 1), AcGeVector3d::kZAxis,
                                             AcGeVector3d(3, 4, 0), 0.4, 0.3, 5.0));
    auto* sp =
        new AcDbSpline(2, true, false, false,
                       AcGePoint3dArray{AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0),
                                        AcGePoint3d(0, 1, 0), AcGePoint3d(-1, 1, 2)},
                       AcGeDoubleArray{0, 0, 0, 0.5, 1, 1, 1}, AcGeDoubleArray{1, 0.7, 1, 2});
    sp->setFitData(AcGePoint3dArray{AcGePoint3d(1, 0, 0), AcGePoint3d(-1, 1, 2)}, 2, 0.01,
                   AcGeVector3d(0, 1, 0), AcGeVector3d(-1, 0, 0));
    AcDbObjectId spId = add(sp);
    auto* ray = new AcDbRay;
    ray->setBasePoint(AcGePoint3d(1, 2, 3));
    ray->setUnitDir(AcGeVector3d(0, 3, 4));
    AcDbObjectId rayId = add(ray);
    auto* xl = new AcDbXline;
    xl->setBasePoint(AcGePoint3d(-1, 0, 0));
    xl->setUnitDir(AcGeVector3d(1, 1, 0));
    AcDbObjectId xlId = add(xl);
    auto* pt = new AcDbPoint(AcGePoint3d(7, 8, 9));
    pt->setThickness(2.0);
    pt->setEcsRotation(0.5);
    AcDbObjectId ptId = add(pt);

    auto* t = new AcDbText(AcGePoint3d(5, 6, 0), L"Příliš žluťoučký", style, 2.5, kPi / 6);
    t->setHorizontalMode(AcDb::kTextCenter);
    t->setVerticalMode(AcDb::kTextTop);
    t->setAlignmentPoint(AcGePoint3d(9, 9, 0));
    t->setOblique(kPi / 18);
    t->setWidthFactor(0.8);
    t->mirrorInX(true);
    t->setNormal(tilt);
    t->setThickness(0.5);
    AcDbObjectId textId = add(t);
    auto* mt = new AcDbMText;
    mt->setContents(longContents().c_str());
    mt->setLocation(AcGePoint3d(20, 30, 1));
    mt->setAttachment(AcDbMText::kMiddleCenter);
    mt->setRotation(kPi / 4);
    mt->setWidth(30.0);
    mt->setTextHeight(1.8);
    mt->setLineSpacingStyle(AcDb::kExactly);
    mt->setLineSpacingFactor(1.5);
    mt->setFlowDirection(AcDbMText::kByStyle);
    mt->setTextStyle(style);
    AcDbObjectId mtId = add(mt);

    // A block with two attribute definitions, one of them multi-line, and references to it.
    AcDbObjectId blk = addBlock(L"ZNAČKA", AcGePoint3d(1, 1, 0));
    add(new AcDbCircle(AcGePoint3d(1, 1, 0), AcGeVector3d::kZAxis, 1.0), blk);
    auto* def1 =
        new AcDbAttributeDefinition(AcGePoint3d(1, -1, 0), L"0", L"ČÍSLO", L"Číslo značky", style);
    def1->setHeight(1.2);
    def1->setInvisible(true);
    def1->setPreset(true);
    def1->setLockPositionInBlock(true);
    def1->setFieldLength(5);
    AcDbObjectId def1Id = append(def1, blk);
    auto* def2 = new AcDbAttributeDefinition(AcGePoint3d(1, -3, 0), L"první\\Pdruhý", L"POPIS",
                                             L"Popis", style);
    def2->setHeight(1.0);
    def2->convertIntoMTextAttributeDefinition();
    AcDbObjectId def2Id = append(def2, blk);

    auto* ref = new AcDbBlockReference(AcGePoint3d(50, 50, 0), blk);
    ref->setRotation(kPi / 6);
    ref->setScaleFactors(AcGeScale3d(2, 2, 2));
    AcDbObjectId refId = append(ref);
    std::vector<AcDbObjectId> attIds;
    for (AcDbAttributeDefinition* d : {def1, def2}) {
        auto* a = new AcDbAttribute;
        a->setAttributeFromBlock(d, ref->blockTransform());
        AcDbObjectId id;
        ref->appendAttribute(id, a);
        a->close();
        attIds.push_back(id);
    }
    def1->close();
    def2->close();
    ref->close();
    auto* ref2 = new AcDbBlockReference(AcGePoint3d(-5, 5, 5), blk);
    ref2->setNormal(tilt);
    ref2->setScaleFactors(AcGeScale3d(-1, 1, 1));
    AcDbObjectId ref2Id = add(ref2);
    AcDbObjectId minsId = add(new AcDbMInsertBlock(AcGePoint3d(100, 0, 0), blk, 3, 2, 10.0, 20.0));

    std::unique_ptr<AcDbDatabase> back = saveAndRead(dir);
    ASSERT_TRUE(back);
    AcDbDatabase* b = back.get();
    // Nothing of the references went into model space by itself.
    EXPECT_EQ(modelSpace(b).length(), modelSpace(db.get()).length());

    auto* lw2 = sameIn<AcDbPolyline>(b, lwId);
    ASSERT_TRUE(lw2);
    ASSERT_EQ(lw2->numVerts(), 3u);
    EXPECT_TRUE(lw2->isClosed());
    EXPECT_TRUE(lw2->isPlinegen());
    EXPECT_EQ(lw2->elevation(), 1.5);
    EXPECT_EQ(lw2->thickness(), 0.25);
    EXPECT_TRUE(nearVec(lw2->normal(), tilt, 1e-15));
    for (unsigned i = 0; i < 3; ++i) {
        AcGePoint2d a, c;
        double b1 = 0, b2 = 0, s1 = 0, s2 = 0, e1 = 0, e2 = 0;
        Adesk::Int32 i1 = 0, i2 = 0;
        AcDbPolyline* orig = nullptr;
        ASSERT_EQ(acdbOpenObject(orig, lwId, AcDb::kForRead), Acad::eOk);
        orig->getPointAt(i, a);
        orig->getBulgeAt(i, b1);
        orig->getWidthsAt(i, s1, e1);
        orig->getVertexIdentifierAt(i, i1);
        orig->close();
        lw2->getPointAt(i, c);
        lw2->getBulgeAt(i, b2);
        lw2->getWidthsAt(i, s2, e2);
        lw2->getVertexIdentifierAt(i, i2);
        EXPECT_TRUE(nearPt(a, c, 0.0)) << i;
        EXPECT_EQ(b1, b2);
        EXPECT_EQ(s1, s2);
        EXPECT_EQ(e1, e2);
        EXPECT_EQ(i1, i2);
    }
    double cw = 0.0;
    ASSERT_EQ(sameIn<AcDbPolyline>(b, lwcId)->getConstantWidth(cw), Acad::eOk);
    EXPECT_EQ(cw, 0.7);

    auto* p2b = sameIn<AcDb2dPolyline>(b, p2Id);
    ASSERT_TRUE(p2b);
    EXPECT_TRUE(p2b->isClosed());
    EXPECT_EQ(p2b->elevation(), 2.0);
    EXPECT_EQ(p2b->defaultStartWidth(), 0.1);
    EXPECT_TRUE(nearVec(p2b->normal(), AcGeVector3d(0, 0, -1), 0.0));
    AcDbObjectIterator* it = p2b->vertexIterator();
    std::vector<double> vb;
    for (it->start(); !it->done(); it->step())
        vb.push_back(AcDb2dVertex::cast(it->entity())->bulge());
    delete it;
    EXPECT_EQ(vb, (std::vector<double>{0.5, 0.0, 0.0}));
    double len = 0.0, end = 0.0;
    p2b->getEndParam(end);
    p2b->getDistAtParam(end, len);
    EXPECT_NEAR(len, 4 + 4 * std::sqrt(2.0) + 4 * std::atan(0.5) * 4 * (1 + 0.25) / 2, 1e-9);

    auto* c2 = sameIn<AcDbCircle>(b, circleId);
    ASSERT_TRUE(c2);
    EXPECT_TRUE(nearPt(c2->center(), AcGePoint3d(3, 4, 5), 1e-12));
    EXPECT_EQ(c2->radius(), 2.5);
    auto* a2 = sameIn<AcDbArc>(b, arcId);
    ASSERT_TRUE(a2);
    EXPECT_TRUE(nearPt(a2->center(), AcGePoint3d(1, 2, 3), 1e-12));
    EXPECT_NEAR(a2->startAngle(), 0.5, 1e-12);
    EXPECT_NEAR(a2->endAngle(), 5.5, 1e-12);
    auto* e2 = sameIn<AcDbEllipse>(b, ellId);
    ASSERT_TRUE(e2);
    EXPECT_TRUE(nearVec(e2->majorAxis(), AcGeVector3d(3, 4, 0), 0.0));
    EXPECT_EQ(e2->radiusRatio(), 0.4);
    EXPECT_NEAR(e2->startAngle(), 0.3, 1e-12);
    EXPECT_NEAR(e2->endAngle(), 5.0, 1e-12);
    auto* s2 = sameIn<AcDbSpline>(b, spId);
    ASSERT_TRUE(s2);
    int degree = 0;
    bool rational = false, closed = false, periodic = false;
    AcGePoint3dArray ctrl;
    AcGeDoubleArray knots, weights;
    double ct = 0, kt = 0;
    s2->getNurbsData(degree, rational, closed, periodic, ctrl, knots, weights, ct, kt);
    EXPECT_EQ(degree, 2);
    EXPECT_TRUE(rational);
    EXPECT_EQ(ctrl.length(), 4);
    EXPECT_TRUE(nearPt(ctrl[3], AcGePoint3d(-1, 1, 2), 0.0));
    EXPECT_EQ(knots, (AcGeDoubleArray{0, 0, 0, 0.5, 1, 1, 1}));
    EXPECT_EQ(weights, (AcGeDoubleArray{1, 0.7, 1, 2}));
    EXPECT_EQ(s2->numFitPoints(), 2);
    AcGeVector3d st, et;
    s2->getFitTangents(st, et);
    EXPECT_TRUE(nearVec(et, AcGeVector3d(-1, 0, 0), 0.0));
    EXPECT_TRUE(nearVec(sameIn<AcDbRay>(b, rayId)->unitDir(), AcGeVector3d(0, 0.6, 0.8)));
    EXPECT_TRUE(nearPt(sameIn<AcDbXline>(b, xlId)->basePoint(), AcGePoint3d(-1, 0, 0)));
    auto* pt2 = sameIn<AcDbPoint>(b, ptId);
    ASSERT_TRUE(pt2);
    EXPECT_TRUE(nearPt(pt2->position(), AcGePoint3d(7, 8, 9), 0.0));
    EXPECT_NEAR(pt2->ecsRotation(), 0.5, 1e-12);
    EXPECT_EQ(pt2->thickness(), 2.0);

    auto* t2 = sameIn<AcDbText>(b, textId);
    ASSERT_TRUE(t2);
    EXPECT_EQ(text(t2->textStringConst()), L"Příliš žluťoučký");
    EXPECT_TRUE(nearPt(t2->position(), AcGePoint3d(5, 6, 0), 1e-12));
    EXPECT_TRUE(nearPt(t2->alignmentPoint(), AcGePoint3d(9, 9, 0), 1e-12));
    EXPECT_NEAR(t2->rotation(), kPi / 6, 1e-12);
    EXPECT_NEAR(t2->oblique(), kPi / 18, 1e-12);
    EXPECT_EQ(t2->widthFactor(), 0.8);
    EXPECT_EQ(t2->height(), 2.5);
    EXPECT_TRUE(t2->isMirroredInX());
    EXPECT_EQ(t2->horizontalMode(), AcDb::kTextCenter);
    EXPECT_EQ(t2->verticalMode(), AcDb::kTextTop);
    EXPECT_EQ(khost::peekObject(t2->textStyle())->isA(), AcDbTextStyleTableRecord::desc());
    EXPECT_EQ(text(AcDbTextStyleTableRecord::cast(khost::peekObject(t2->textStyle()))->name()),
              L"KV_TXT");
    EXPECT_EQ(t2->thickness(), 0.5);
    auto* m2 = sameIn<AcDbMText>(b, mtId);
    ASSERT_TRUE(m2);
    EXPECT_EQ(contentsOf(m2), longContents());
    EXPECT_TRUE(nearPt(m2->location(), AcGePoint3d(20, 30, 1), 0.0));
    EXPECT_EQ(m2->attachment(), AcDbMText::kMiddleCenter);
    EXPECT_NEAR(m2->rotation(), kPi / 4, 1e-12);
    EXPECT_EQ(m2->width(), 30.0);
    EXPECT_EQ(m2->textHeight(), 1.8);
    EXPECT_EQ(m2->lineSpacingStyle(), AcDb::kExactly);
    EXPECT_EQ(m2->lineSpacingFactor(), 1.5);
    EXPECT_EQ(m2->flowDirection(), AcDbMText::kByStyle);

    auto* d1 = sameIn<AcDbAttributeDefinition>(b, def1Id);
    ASSERT_TRUE(d1);
    EXPECT_EQ(text(d1->tagConst()), L"ČÍSLO");
    EXPECT_EQ(text(d1->promptConst()), L"Číslo značky");
    EXPECT_TRUE(d1->isInvisible());
    EXPECT_TRUE(d1->isPreset());
    EXPECT_FALSE(d1->isConstant());
    EXPECT_TRUE(d1->lockPositionInBlock());
    EXPECT_EQ(d1->fieldLength(), 5);
    auto* d2 = sameIn<AcDbAttributeDefinition>(b, def2Id);
    ASSERT_TRUE(d2);
    ASSERT_TRUE(d2->isMTextAttributeDefinition());
    std::unique_ptr<AcDbMText> dm(d2->getMTextAttributeDefinition());
    EXPECT_EQ(contentsOf(dm.get()), L"první\\Pdruhý");

    auto* r2 = sameIn<AcDbBlockReference>(b, refId);
    ASSERT_TRUE(r2);
    EXPECT_EQ(text(AcDbBlockTableRecord::cast(khost::peekObject(r2->blockTableRecord()))->name()),
              L"ZNAČKA");
    EXPECT_NEAR(r2->rotation(), kPi / 6, 1e-12);
    EXPECT_EQ(r2->scaleFactors().sx, 2.0);
    it = r2->attributeIterator();
    std::vector<std::wstring> atts;
    for (it->start(); !it->done(); it->step()) {
        auto* a = AcDbAttribute::cast(it->entity());
        ASSERT_TRUE(a);
        EXPECT_EQ(a->ownerId(), it->objectId().isNull() ? AcDbObjectId() : r2->objectId());
        atts.push_back(std::wstring(a->tagConst()) + L"=" + a->textStringConst() +
                       (a->isMTextAttribute() ? L" (M)" : L""));
    }
    delete it;
    EXPECT_EQ(atts, (std::vector<std::wstring>{L"ČÍSLO=0", L"POPIS=první\\Pdruhý (M)"}));
    auto* att1 = sameIn<AcDbAttribute>(b, attIds[0]);
    ASSERT_TRUE(att1);
    AcGeMatrix3d bt = r2->blockTransform();
    EXPECT_TRUE(nearPt(att1->position(), bt * AcGePoint3d(1, -1, 0), 1e-12));
    EXPECT_TRUE(att1->isInvisible());
    auto* att2 = sameIn<AcDbAttribute>(b, attIds[1]);
    std::unique_ptr<AcDbMText> am(att2->getMTextAttribute());
    ASSERT_TRUE(am);
    EXPECT_TRUE(nearPt(am->location(), bt * AcGePoint3d(1, -3, 0), 1e-12));
    EXPECT_NEAR(am->textHeight(), 2.0, 1e-12);
    auto* r3 = sameIn<AcDbBlockReference>(b, ref2Id);
    ASSERT_TRUE(r3);
    EXPECT_TRUE(nearPt(r3->position(), AcGePoint3d(-5, 5, 5), 1e-12));
    EXPECT_TRUE(nearVec(r3->normal(), tilt, 1e-15));
    EXPECT_EQ(r3->scaleFactors().sx, -1.0);
    it = r3->attributeIterator();
    EXPECT_TRUE(it->done());
    delete it;
    // Without the reader asking for the class by the flags, a multiple reference comes back as
    // a reference; its array is kept in the file either way (see the ezdxf check below).
    auto* mi = sameIn<AcDbBlockReference>(b, minsId);
    ASSERT_TRUE(mi);
    EXPECT_TRUE(nearPt(mi->position(), AcGePoint3d(100, 0, 0), 0.0));

    if (!haveEzdxf())
        GTEST_SKIP() << "python3-ezdxf is not installed";
    EXPECT_EQ(ezdxfAudit(dir, dir / "out.dxf"), "");
    // Written again from what was read: still what ezdxf expects.
    std::wstring err;
    ASSERT_TRUE(khost::writeDrawing(b, wpath(dir / "again.dxf"), err)) << narrow(err);
    EXPECT_EQ(ezdxfAudit(dir, dir / "again.dxf"), "");
    const char* dump = R"(import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
for e in doc.modelspace():
    t = e.dxftype()
    if t == "TEXT":
        print(t, round(e.dxf.rotation, 9), round(e.dxf.oblique, 9), e.dxf.halign, e.dxf.valign,
              e.dxf.style, e.dxf.text_generation_flag, e.dxf.text)
    elif t == "MTEXT":
        print(t, len(e.text), e.dxf.attachment_point, round(e.get_rotation(), 9),
              e.dxf.line_spacing_factor, e.dxf.style, e.plain_text().split("\n")[1])
    elif t == "LWPOLYLINE":
        print(t, e.closed, e.dxf.get("const_width", 0),
              [tuple(round(v, 9) for v in p) for p in e.get_points("xyseb")])
    elif t == "POLYLINE":
        print(t, e.get_mode(), [tuple(round(c, 9) for c in v.dxf.location) for v in e.vertices],
              [v.dxf.bulge for v in e.vertices])
    elif t == "ARC":
        print(t, round(e.dxf.start_angle, 9), round(e.dxf.end_angle, 9))
    elif t == "SPLINE":
        print(t, e.dxf.degree, len(e.control_points), list(e.knots), list(e.weights),
              len(e.fit_points))
    elif t == "INSERT":
        print(t, e.dxf.name, e.dxf.get("column_count", 1), e.dxf.get("row_count", 1),
              [(a.dxf.tag, a.dxf.text, a.has_embedded_mtext_entity, a.plain_mtext()) for a in e.attribs])
    elif t == "POINT":
        print(t, round(e.dxf.angle, 9), e.dxf.thickness)
    else:
        print(t)
)";
    const std::string expected =
        "LWPOLYLINE True 0 [(0.0, 0.0, 0.5, 1.0, 0.0), (10.0, 0.0, 1.0, 1.5, 1.0), "
        "(10.0, 10.0, 1.5, 2.0, -0.5)]\n"
        "LWPOLYLINE False 0.7 [(1.0, 1.0, 0.0, 0.0, 0.0), (2.0, 1.0, 0.0, 0.0, 0.3)]\n"
        "POLYLINE AcDb2dPolyline [(0.0, 0.0, 2.0), (4.0, 0.0, 2.0), (4.0, 4.0, 2.0)] "
        "[0.5, 0, 0]\n"
        "POLYLINE AcDb3dPolyline [(0.0, 0.0, 0.0), (1.0, 2.0, 3.0), (4.0, 5.0, 6.0)] [0, 0, 0]\n"
        "CIRCLE\n"
        "ARC 28.647889757 315.126787322\n"
        "ELLIPSE\n"
        "SPLINE 2 4 [0.0, 0.0, 0.0, 0.5, 1.0, 1.0, 1.0] [1.0, 0.7, 1.0, 2.0] 2\n"
        "RAY\nXLINE\n"
        "POINT 28.647889757 2.0\n"
        "TEXT 30.0 10.0 1 3 KV_TXT 2 Příliš žluťoučký\n"
        "MTEXT 416 5 45.0 1.5 KV_TXT řádek 1\n"
        "INSERT ZNAČKA 1 1 [('ČÍSLO', '0', False, ''), "
        "('POPIS', 'první\\\\Pdruhý', True, 'první\\ndruhý')]\n"
        "INSERT ZNAČKA 1 1 []\n"
        "INSERT ZNAČKA 3 2 []\n";
    EXPECT_EQ(python(dir, dump, (dir / "out.dxf").string()), expected);
    EXPECT_EQ(python(dir, dump, (dir / "again.dxf").string()), expected);
}

TEST_F(EntDxf, EntitiesOfAnotherWriterAreRead) {
    if (!haveEzdxf())
        GTEST_SKIP() << "python3-ezdxf is not installed";
    TempDir dir;
    std::string gen = python(dir, R"(import sys, ezdxf
from ezdxf.enums import TextEntityAlignment
doc = ezdxf.new("R2018", setup=True)
msp = doc.modelspace()
t = msp.add_text("Střed", dxfattribs={"height": 2, "rotation": 90})
t.set_placement((5, 5), align=TextEntityAlignment.MIDDLE_CENTER)
msp.add_mtext("ř" * 300 + "\\Pkonec", dxfattribs={"char_height": 2.5, "rotation": 30,
              "attachment_point": 7, "insert": (1, 2, 0)})
msp.add_lwpolyline([(0, 0, 0.5, 0.5, 0.0), (10, 0, 1.0, 2.0, 1.0), (10, 10, 0, 0, 0)],
                   format="xyseb", dxfattribs={"elevation": 4.0, "extrusion": (0, 0, -1)})
msp.add_arc((1, 1), 2, 30, 120)
msp.add_ellipse((0, 0), major_axis=(4, 0), ratio=0.25, start_param=1.0, end_param=2.0)
msp.add_open_spline([(0, 0), (1, 2), (3, 2), (4, 0)], degree=3)
msp.add_point((1, 2, 3))
msp.add_polyline2d([(0, 0, 0.5), (5, 0, 0), (5, 5, 0)], format="xyb")
blk = doc.blocks.new("ZNACKA", base_point=(1, 1))
blk.add_circle((1, 1), 1)
ref = msp.add_blockref("ZNACKA", (20, 20), dxfattribs={"rotation": 45, "xscale": 2, "yscale": 2})
ref.add_attrib("A", "jedna", (20, 18))
b = ref.add_attrib("B", "x", (20, 16))
b.set_mtext(msp.add_mtext("víc\\Přádků", dxfattribs={"char_height": 1.5, "insert": (20, 16)}))
msp.add_line((0, 0), (1, 1))
doc.saveas(sys.argv[1])
)",
                             (dir / "in.dxf").string());
    ASSERT_TRUE(fs::exists(dir / "in.dxf")) << gen;
    std::wstring err;
    std::unique_ptr<AcDbDatabase> in(khost::readDrawing(wpath(dir / "in.dxf"), err));
    ASSERT_TRUE(in) << narrow(err);
    std::map<std::wstring, std::vector<AcDbEntity*>> byType;
    for (AcDbObjectId id : modelSpace(in.get())) {
        auto* e = AcDbEntity::cast(khost::peekObject(id));
        byType[khostDxfName(e)].push_back(e);
    }
    // The attributes and their end are the reference's, not model space's.
    EXPECT_EQ(byType.count(L"ATTRIB"), 0u);
    EXPECT_EQ(byType.count(L"SEQEND"), 0u);

    auto* t = AcDbText::cast(byType[L"TEXT"].at(0));
    ASSERT_TRUE(t);
    EXPECT_EQ(text(t->textStringConst()), L"Střed");
    EXPECT_EQ(t->horizontalMode(), AcDb::kTextCenter);
    EXPECT_EQ(t->verticalMode(), AcDb::kTextVertMid);
    EXPECT_TRUE(nearPt(t->alignmentPoint(), AcGePoint3d(5, 5, 0)));
    EXPECT_NEAR(t->rotation(), kPi / 2, 1e-12);
    EXPECT_EQ(text(AcDbTextStyleTableRecord::cast(khost::peekObject(t->textStyle()))->name()),
              L"Standard");

    std::vector<AcDbEntity*>& mtexts = byType[L"MTEXT"];
    ASSERT_EQ(mtexts.size(), 2u); // the source of the multi-line attribute stays in model space
    auto* m = AcDbMText::cast(mtexts[0]);
    EXPECT_EQ(contentsOf(m), std::wstring(300, L'ř') + L"\\Pkonec");
    EXPECT_NEAR(m->rotation(), kPi / 6, 1e-12); // group 50 of a file is in degrees
    EXPECT_EQ(m->attachment(), AcDbMText::kBottomLeft);
    EXPECT_TRUE(nearPt(m->location(), AcGePoint3d(1, 2, 0)));

    auto* lw = AcDbPolyline::cast(byType[L"LWPOLYLINE"].at(0));
    ASSERT_TRUE(lw);
    EXPECT_EQ(lw->numVerts(), 3u);
    EXPECT_EQ(lw->elevation(), 4.0);
    EXPECT_TRUE(nearVec(lw->normal(), AcGeVector3d(0, 0, -1)));
    double bulge = 0, s = 0, e = 0;
    lw->getBulgeAt(1, bulge);
    lw->getWidthsAt(1, s, e);
    EXPECT_EQ(bulge, 1.0);
    EXPECT_EQ(s, 1.0);
    EXPECT_EQ(e, 2.0);
    AcGePoint3d w;
    lw->getPointAt(1, w);
    EXPECT_TRUE(nearPt(w, AcGePoint3d(-10, 0, -4))); // the object coordinates seen from below

    auto* arc = AcDbArc::cast(byType[L"ARC"].at(0));
    EXPECT_NEAR(arc->startAngle(), kPi / 6, 1e-12);
    EXPECT_NEAR(arc->endAngle(), 2 * kPi / 3, 1e-12);
    auto* ell = AcDbEllipse::cast(byType[L"ELLIPSE"].at(0));
    EXPECT_EQ(ell->startParam(), 1.0);
    EXPECT_EQ(ell->endParam(), 2.0);
    EXPECT_EQ(ell->radiusRatio(), 0.25);
    auto* sp = AcDbSpline::cast(byType[L"SPLINE"].at(0));
    ASSERT_TRUE(sp);
    EXPECT_EQ(sp->numControlPoints(), 4);
    AcGePoint3d end;
    sp->getEndPoint(end);
    EXPECT_TRUE(nearPt(end, AcGePoint3d(4, 0, 0)));
    EXPECT_TRUE(nearPt(AcDbPoint::cast(byType[L"POINT"].at(0))->position(), AcGePoint3d(1, 2, 3)));
    auto* pl = AcDb2dPolyline::cast(byType[L"POLYLINE"].at(0));
    ASSERT_TRUE(pl);
    double len = 0.0, endParam = 0.0;
    pl->getEndParam(endParam);
    EXPECT_EQ(endParam, 2.0);
    pl->getDistAtParam(endParam, len);
    EXPECT_NEAR(len, 4 * std::atan(0.5) * 3.125 + 5, 1e-9); // the arc of bulge 0.5 over 5

    auto* ref = AcDbBlockReference::cast(byType[L"INSERT"].at(0));
    ASSERT_TRUE(ref);
    EXPECT_NEAR(ref->rotation(), kPi / 4, 1e-12);
    EXPECT_EQ(ref->scaleFactors().sx, 2.0);
    AcDbObjectIterator* it = ref->attributeIterator();
    std::vector<std::wstring> atts;
    for (it->start(); !it->done(); it->step()) {
        auto* a = AcDbAttribute::cast(it->entity());
        ASSERT_TRUE(a);
        EXPECT_EQ(a->ownerId(), ref->objectId());
        std::wstring line = std::wstring(a->tagConst()) + L"=" + a->textStringConst();
        if (std::unique_ptr<AcDbMText> mt{a->getMTextAttribute()})
            line += L" [" + contentsOf(mt.get()) + L"]";
        atts.push_back(line);
    }
    delete it;
    ASSERT_EQ(atts.size(), 2u);
    EXPECT_EQ(atts[0], L"A=jedna");
    EXPECT_EQ(atts[1].substr(atts[1].find(L'[')), L"[víc\\Přádků]");

    // Written by the host, the file still has the reference's attributes after it.
    ASSERT_TRUE(khost::writeDrawing(in.get(), wpath(dir / "out.dxf"), err)) << narrow(err);
    EXPECT_EQ(ezdxfAudit(dir, dir / "out.dxf"), "");
    EXPECT_EQ(python(dir, R"(import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
ref = doc.modelspace().query("INSERT")[0]
print([(a.dxf.tag, a.has_embedded_mtext_entity) for a in ref.attribs])
)",
                     (dir / "out.dxf").string()),
              "[('A', False), ('B', True)]\n");
}
