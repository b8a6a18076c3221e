// Flattening, linetype scales of the drawing and of an external reference, reversed curves, the
// entity listing, and texts turned along reference objects.
#include "../sel/seltest.h"

#include "CVoxNastav.h"
#include "InfoPrikazy.h"
#include "Modifikace.h"
#include "OstatniPrikazy.h"
#include "RotaceTextu.h"

#include "dbhost.h"

#include <cmath>
#include <filesystem>
#include <memory>

using namespace seltest;

namespace {

constexpr double kPi = 3.14159265358979323846;

class Ostatni : public SelTest {
protected:
    void SetUp() override {
        SelTest::SetUp();
        m_pNastaveni = new CVoxNastav();
        g_pNastaveni = m_pNastaveni;
    }
    void TearDown() override {
        g_pNastaveni = nullptr;
        delete m_pNastaveni;
        SelTest::TearDown();
    }
    CVoxNastav* m_pNastaveni = nullptr;

    template <class T> T* Otevri(AcDbObjectId id, AcDb::OpenMode m = AcDb::kForRead) {
        T* p = nullptr;
        EXPECT_EQ(acdbOpenObject(p, id, m), Acad::eOk);
        return p;
    }
    double Meritko(AcDbObjectId id) {
        auto* p = Otevri<AcDbEntity>(id);
        const double d = p->linetypeScale();
        p->close();
        return d;
    }
    double Rotace(AcDbObjectId id) {
        auto* p = Otevri<AcDbText>(id);
        const double d = p->rotation();
        p->close();
        return d;
    }
    AcDbObjectId PapirId() {
        AcDbBlockTable* pBt = nullptr;
        AcDbObjectId id;
        workingDb()->getBlockTable(pBt, AcDb::kForRead);
        pBt->getAt(ACDB_PAPER_SPACE, id);
        pBt->close();
        return id;
    }
};

TEST_F(Ostatni, Z0FlattensTheEntitiesItKnows) {
    const AcDbObjectId idBlok = defineBlock(L"B");
    const AcDbObjectId a = add(new AcDbLine(AcGePoint3d(0, 0, 5), AcGePoint3d(1, 1, 7)));
    auto* pText = new AcDbText(AcGePoint3d(0, 0, 4), L"t", AcDbObjectId::kNull, 2.5);
    pText->setHorizontalMode(AcDb::kTextCenter);
    pText->setVerticalMode(AcDb::kTextVertMid);
    pText->setAlignmentPoint(AcGePoint3d(10, 10, 4));
    const AcDbObjectId b = add(pText);
    auto* pPline = pline({{0, 0}, {5, 0}});
    pPline->setElevation(3.0);
    const AcDbObjectId c = add(pPline);
    const AcDbObjectId d =
        add(new AcDbCircle(AcGePoint3d(1, 1, 2), AcGeVector3d::kZAxis, 1.0), idBlok);
    const AcDbObjectId e = add(new AcDbArc(AcGePoint3d(1, 1, 2), 1.0, 0.0, 1.0), PapirId());
    const AcDbObjectId f = insert(idBlok, AcGePoint3d(3, 3, 9));
    PrikazZ0();
    auto* pA = Otevri<AcDbLine>(a);
    EXPECT_EQ(pA->startPoint(), AcGePoint3d(0, 0, 0));
    EXPECT_EQ(pA->endPoint(), AcGePoint3d(1, 1, 0));
    pA->close();
    auto* pB = Otevri<AcDbText>(b);
    EXPECT_DOUBLE_EQ(pB->position().z, 0.0);
    EXPECT_DOUBLE_EQ(pB->alignmentPoint().z, 4.0); // the alignment point keeps its elevation
    pB->close();
    auto* pC = Otevri<AcDbPolyline>(c);
    EXPECT_DOUBLE_EQ(pC->elevation(), 0.0);
    pC->close();
    auto* pD = Otevri<AcDbCircle>(d);
    EXPECT_DOUBLE_EQ(pD->center().z, 0.0);
    pD->close();
    auto* pE = Otevri<AcDbArc>(e);
    EXPECT_DOUBLE_EQ(pE->center().z, 0.0);
    pE->close();
    auto* pF = Otevri<AcDbBlockReference>(f);
    EXPECT_DOUBLE_EQ(pF->position().z, 0.0);
    pF->close();
    // The arc is flattened but not counted.
    EXPECT_NE(transcript().find(L"\nBylo prověřeno 6 entit, změněno 5 entit, 0 entit nebylo "
                                L"možno otevřít"),
              std::wstring::npos);
}

TEST_F(Ostatni, SsaMultipliesEveryLinetypeScale) {
    const AcDbObjectId idBlok = defineBlock(L"B");
    const AcDbObjectId a = add(line(0, 0, 1, 0));
    const AcDbObjectId b = add(line(0, 0, 1, 0), idBlok);
    auto* pC = line(0, 0, 2, 0);
    pC->setLinetypeScale(1.5);
    const AcDbObjectId c = add(pC, PapirId());
    type(L"2\n");
    PrikazSsa();
    EXPECT_DOUBLE_EQ(Meritko(a), 2.0);
    EXPECT_DOUBLE_EQ(Meritko(b), 2.0);
    EXPECT_DOUBLE_EQ(Meritko(c), 3.0);
    const std::wstring t = transcript();
    EXPECT_NE(t.find(L"\nZadej modifikátor pro úpravu měřítka typu čar:"), std::wstring::npos);
    EXPECT_NE(t.find(L"\nMěním měřítko\n*****"), std::wstring::npos) << t;
    // No factor, or a zero one refused and then Esc: nothing changes.
    type(L"\n");
    PrikazSsa();
    type(L"0\n^C\n");
    PrikazSsa();
    EXPECT_DOUBLE_EQ(Meritko(a), 2.0);
    EXPECT_DOUBLE_EQ(Meritko(c), 3.0);
    EXPECT_EQ(transcript().find(L"Bylo prověřeno"), std::wstring::npos);
}

TEST_F(Ostatni, SsMovesTheReferencesLtscaleIntoItsEntitiesAndSavesIt) {
    // The reference's drawing: LTSCALE 10, a red line with a lineweight on its own layer.
    const std::string sSoubor = m_home + "/reference.dxf";
    const std::wstring wSoubor(sSoubor.begin(), sSoubor.end());
    {
        AcDbDatabase xdb(true, true);
        xdb.setLtscale(10.0);
        AcDbLayerTable* pLt = nullptr;
        xdb.getLayerTable(pLt, AcDb::kForWrite);
        auto* pHl = new AcDbLayerTableRecord;
        pHl->setName(L"TRUBKY");
        AcDbObjectId idHl;
        pLt->add(idHl, pHl);
        pHl->close();
        pLt->close();
        AcDbBlockTable* pBt = nullptr;
        xdb.getBlockTable(pBt, AcDb::kForRead);
        AcDbBlockTableRecord* pMs = nullptr;
        pBt->getAt(ACDB_MODEL_SPACE, pMs, AcDb::kForWrite);
        pBt->close();
        auto* pL = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
        pL->setDatabaseDefaults(&xdb);
        pL->setLayer(idHl);
        pL->setColorIndex(1);
        pL->setLinetypeScale(0.5);
        pL->setLineWeight(AcDb::kLnWt050);
        AcDbObjectId id;
        pMs->appendAcDbEntity(id, pL);
        pL->close();
        pMs->close();
        ASSERT_EQ(xdb.saveAs(wSoubor.c_str()), Acad::eOk);
    }
    AcDbObjectId idXref;
    ASSERT_EQ(acdbAttachXref(workingDb(), wSoubor.c_str(), L"REF", idXref), Acad::eOk);
    const AcDbObjectId idRef = insert(idXref, AcGePoint3d(5, 5, 0));
    // An ordinary block first.
    const AcDbObjectId idBlok = defineBlock(L"OBYC");
    add(line(0, 0, 10, 0), idBlok);
    insert(idBlok, AcGePoint3d(0, 50, 0));
    type(L"5,50\n");
    PrikazSs();
    EXPECT_NE(transcript().find(L"\n!!!To nebyla externí reference, ale prachvobyčejnej blok"),
              std::wstring::npos);

    type(L"10,5\nYes\n");
    PrikazSs();
    const std::wstring t = transcript();
    EXPECT_NE(t.find(L"Reference není umístěna v 0,0 nebo rotace není 0, opravit ?"),
              std::wstring::npos)
        << t;
    EXPECT_NE(t.find(L"\nBylo změněno 1 hladin a 1 entit v referenci"), std::wstring::npos) << t;
    auto* pRef = Otevri<AcDbBlockReference>(idRef);
    EXPECT_EQ(pRef->position(), AcGePoint3d(0, 0, 0));
    pRef->close();
    // The standard layer of references exists under the prefix.
    AcDbLayerTable* pLt = nullptr;
    workingDb()->getLayerTable(pLt, AcDb::kForRead);
    EXPECT_TRUE(pLt->has(L"KB_XRefs"));
    pLt->close();

    AcDbDatabase kontrola(false, true);
    ASSERT_EQ(kontrola.readDwgFile(wSoubor.c_str()), Acad::eOk);
    EXPECT_DOUBLE_EQ(kontrola.ltscale(), 1.0);
    AcDbBlockTable* pBt = nullptr;
    kontrola.getBlockTable(pBt, AcDb::kForRead);
    AcDbBlockTableRecord* pMs = nullptr;
    pBt->getAt(ACDB_MODEL_SPACE, pMs, AcDb::kForRead);
    pBt->close();
    AcDbBlockTableRecordIterator* it = nullptr;
    pMs->newIterator(it);
    AcDbEntity* pE = nullptr;
    ASSERT_EQ(it->getEntity(pE, AcDb::kForRead), Acad::eOk);
    EXPECT_DOUBLE_EQ(pE->linetypeScale(), 5.0);
    EXPECT_EQ(pE->colorIndex(), 256);
    EXPECT_EQ(pE->lineWeight(), AcDb::kLnWtByLayer);
    AcString sHladina;
    pE->layer(sHladina);
    EXPECT_STREQ(sHladina.constPtr(), L"TRUBKY"); // its own name, not "REF|TRUBKY"
    pE->close();
    delete it;
    pMs->close();
}

TEST_F(Ostatni, ProReversesCurves) {
    const AcDbObjectId a = add(line(0, 0, 10, 0));
    const AcDbObjectId b = add(pline({{0, 10}, {5, 10}, {5, 15}}));
    type(L"W\n-1,-1\n20,20\n\n");
    PrikazPro();
    EXPECT_NE(transcript().find(L"\nVyber úsečky nebo polyline: "), std::wstring::npos);
    auto* pA = Otevri<AcDbLine>(a);
    EXPECT_EQ(pA->startPoint(), AcGePoint3d(10, 0, 0));
    pA->close();
    auto* pB = Otevri<AcDbPolyline>(b);
    AcGePoint2d pt;
    pB->getPointAt(0, pt);
    EXPECT_EQ(pt, AcGePoint2d(5, 15));
    pB->close();
}

TEST_F(Ostatni, VypisentListsModelSpace) {
    auto* pL = line(0, 0, 1, 0);
    pL->setColorIndex(5);
    pL->setLayer(layer(L"VODA"));
    add(pL);
    add(line(0, 0, 1, 0), PapirId());
    PrikazVypisEnt();
    const std::wstring t = transcript();
    EXPECT_NE(t.find(L"\nVypisuju entity\n*****"), std::wstring::npos);
    EXPECT_NE(t.find(L"\nHladina entity: VODA   Barva entity: 5"), std::wstring::npos) << t;
    EXPECT_NE(t.find(L"\nBylo prověřeno 1 entit, změněno 0 entit"), std::wstring::npos) << t;
}

TEST_F(Ostatni, CmmReplacesATextByAMultileaderOnTheSideAwayFromTheArrow) {
    const AcDbObjectId idText = add(text(50, 0, L"popis"));
    type(L"40,-10\n51,1\n");
    PrikazCmm();
    const std::wstring t = transcript();
    EXPECT_NE(t.find(L"\nZadej bod odkazu: "), std::wstring::npos) << t;
    AcDbEntity* p = nullptr;
    EXPECT_EQ(acdbOpenAcDbEntity(p, idText, AcDb::kForRead), Acad::eWasErased);
    ads_name en;
    ASSERT_EQ(acdbEntLast(en), RTNORM);
    AcDbObjectId idML;
    acdbGetObjectId(idML, en);
    auto* pML = Otevri<AcDbMLeader>(idML);
    EXPECT_EQ(pML->textAlignmentType(), AcDbMLeaderStyle::kLeftAlignment);
    EXPECT_STREQ(pML->textContents(), L"popis");
    AcGePoint3d pt;
    ASSERT_EQ(pML->getFirstVertex(0, pt), Acad::eOk);
    EXPECT_EQ(pt, AcGePoint3d(40, -10, 0));
    AcDbMText* pM = pML->mtext();
    EXPECT_EQ(pM->attachment(), AcDbMText::kMiddleLeft);
    // Placed by the dogleg length of a new multileader, before the style gives it its own.
    const double dLom = std::make_unique<AcDbMLeader>()->doglegLength();
    EXPECT_EQ(pM->location(), AcGePoint3d(50 + dLom, 0, 0));
    EXPECT_DOUBLE_EQ(pM->textHeight(), 2.0); // at the scale 1:1
    delete pM;
    pML->close();

    // The arrow to the right: right alignment, the text to the left of the dogleg.
    add(text(0, 100, L"vlevo"));
    type(L"30,110\n1,101\n");
    PrikazCmm();
    acdbEntLast(en);
    acdbGetObjectId(idML, en);
    pML = Otevri<AcDbMLeader>(idML);
    EXPECT_EQ(pML->textAlignmentType(), AcDbMLeaderStyle::kRightAlignment);
    pM = pML->mtext();
    EXPECT_EQ(pM->attachment(), AcDbMText::kMiddleRight);
    delete pM;
    pML->close();
    // Nothing picked.
    type(L"0,0\n500,500\n");
    PrikazCmm();
    EXPECT_NE(transcript().find(L"\nChyba výběru..."), std::wstring::npos);
}

TEST(CitelnyUhel, HalfATurnStrictlyBetween100And280Degrees) {
    const double st = kPi / 180.0;
    EXPECT_DOUBLE_EQ(CitelnyUhel(90 * st, 0.0), 90 * st);
    EXPECT_DOUBLE_EQ(CitelnyUhel(100 * st, 0.0), 100 * st);
    EXPECT_DOUBLE_EQ(CitelnyUhel(101 * st, 0.0), 281 * st);
    EXPECT_DOUBLE_EQ(CitelnyUhel(279 * st, 0.0), 459 * st);
    EXPECT_DOUBLE_EQ(CitelnyUhel(281 * st, 0.0), 281 * st);
    EXPECT_DOUBLE_EQ(CitelnyUhel(0.0, 90 * st), 180 * st);    // d = 270
    EXPECT_NEAR(CitelnyUhel(-170 * st, 0.0), 10 * st, 1e-12); // d = 190
}

TEST_F(Ostatni, RaTurnsTextsAlongReadableDirections) {
    const double st = kPi / 180.0;
    const AcDbObjectId t1 = add(text(100, 100, L"A"));
    auto* pM = new AcDbMText;
    pM->setLocation(AcGePoint3d(100, 120, 0));
    pM->setTextHeight(2.5);
    pM->setContents(L"M");
    const AcDbObjectId t2 = add(pM);
    // A line drawn from right to left: the texts read from left to right.
    add(line(50, 0, 0, 0));
    type(L"W\n90,90\n130,130\n\n25,0\n");
    PrikazRa();
    EXPECT_NEAR(Rotace(t1), 0.0, 1e-12);
    auto* pM2 = Otevri<AcDbMText>(t2);
    EXPECT_TRUE(pM2->direction().isCodirectionalTo(AcGeVector3d(1, 0, 0)));
    pM2->close();
    // rak along the horizontal line: 90 degrees, no half turn.
    type(L"W\n90,90\n130,130\n\n25,0\n");
    PrikazRak();
    EXPECT_NEAR(Rotace(t1), 90 * st, 1e-12);

    // A text inside a block reference turned by 30 degrees, itself at 10 degrees: 40 degrees.
    const AcDbObjectId idBlok = defineBlock(L"B");
    auto* pVnitrni = text(0, 0, L"VNITRNI", 2.0);
    pVnitrni->setRotation(10 * st);
    add(pVnitrni, idBlok);
    insert(idBlok, AcGePoint3d(300, 0, 0), 30 * st);
    const AcGePoint3d ptVnitrni =
        AcGePoint3d(1, 1, 0).rotateBy(40 * st, AcGeVector3d::kZAxis) + AcGeVector3d(300, 0, 0);
    type(L"W\n90,90\n130,130\n\n" + std::to_wstring(ptVnitrni.x) + L"," +
         std::to_wstring(ptVnitrni.y) + L"\n");
    PrikazRa();
    EXPECT_NEAR(Rotace(t1), 40 * st, 1e-9);
    // A block reference is turned with its attributes and stays where it is.
    const AcDbObjectId idRef = insert(idBlok, AcGePoint3d(110, 110, 0));
    attach(idRef, AcGePoint3d(112, 110, 0), L"X");
    add(line(0, -20, 10, -10)); // 45 degrees
    type(L"W\n105,105\n130,130\n\n5,-15\n");
    PrikazRa();
    auto* pRef = Otevri<AcDbBlockReference>(idRef);
    EXPECT_NEAR(pRef->rotation(), 45 * st, 1e-12);
    EXPECT_EQ(pRef->position(), AcGePoint3d(110, 110, 0));
    pRef->close();

    // Failed picks.
    type(L"^C\n");
    PrikazRa();
    EXPECT_NE(transcript().find(L"\nChyba výběru textu"), std::wstring::npos);
    type(L"W\n90,90\n130,130\n\n700,700\n");
    PrikazRa();
    EXPECT_NE(transcript().find(L"\nChyba výběru úsečky nebo textu"), std::wstring::npos);
}

TEST_F(Ostatni, RaInATurnedUcsTurnsTextsHalfATurn) {
    const AcDbObjectId t1 = add(text(100, 100, L"A"));
    add(line(0, 0, 50, 0));
    // The UCS turned by 90 degrees: its X axis is the world Y axis; points are typed in it.
    khost::setCurrentUcs(workingDb(), AcGePoint3d(0, 0, 0), AcGeVector3d(0, 1, 0),
                         AcGeVector3d(-1, 0, 0));
    // World (90,90)-(130,130) is UCS (90,-90)-(130,-130); world (25,0) is UCS (0,-25).
    type(L"W\n90,-130\n130,-90\n\n0,-25\n");
    PrikazRa();
    EXPECT_NEAR(Rotace(t1), kPi, 1e-12);
}

} // namespace
