// The selection routines: typed selections with the pickfirst set, picks of texts, attributes,
// lines and polyline segments inside blocks, their messages, result codes and open discipline.
#include "../sel/seltest.h"

#include "CVoxException.h"
#include "CVoxVyber.h"

using namespace seltest;

namespace {

constexpr double kPi = 3.14159265358979323846;

class Vyber : public SelTest {
protected:
    void SetUp() override {
        SelTest::SetUp();
        // A text inside INNER, INNER inside OUTER (turned a right angle at 10,0), OUTER at
        // 100,100 at twice the size; a polyline in OUTER; an attribute on the top reference.
        m_inner = defineBlock(L"INNER");
        m_text = add(text(0, 0, L"XY", 2), m_inner);
        m_outer = defineBlock(L"OUTER");
        m_innerRef = insert(m_inner, AcGePoint3d(10, 0, 0), kPi / 2, 1.0, m_outer);
        m_pline = add(pline({{-40, 0}, {-30, 0}, {-30, 10}, {-20, 10}, {-20, 20}}, {0, 0, 0, 1.0}),
                      m_outer);
        m_top = insert(m_outer, AcGePoint3d(100, 100, 0), 0.0, 2.0);
        m_att = attach(m_top, AcGePoint3d(200, 200, 0), L"HODNOTA");
        m_line = add(line(0, 0, 50, 0));
        m_free = add(text(0, 20, L"VOLNY"));
    }
    AcDbObjectId m_inner, m_text, m_outer, m_innerRef, m_pline, m_top, m_att, m_line, m_free;
};

TEST_F(Vyber, NestedTextWithItsReferencesAndWorldPosition) {
    type(L"118,104\n");
    ads_name ss;
    ASSERT_EQ(acedSSGet(L"_:N:S", nullptr, nullptr, nullptr, ss), RTNORM);
    AcDbEntity* pEnt = nullptr;
    CVoxSeznamReferenci reference;
    ASSERT_EQ(VnorenaEntita(ss, pEnt, &reference, nullptr), 0);
    acedSSFree(ss);
    ASSERT_NE(pEnt, nullptr);
    EXPECT_EQ(pEnt->objectId(), m_text);
    EXPECT_TRUE(pEnt->isReadEnabled());
    ASSERT_EQ(reference.Pocet(), 2);
    EXPECT_EQ(reference.Id(0), m_innerRef);
    EXPECT_EQ(reference.Id(1), m_top);
    // The text's (1,1) is (-1,1)+(10,0) in OUTER, twice that plus (100,100) in the world.
    AcGePoint3d p = reference.NaWcs(AcDbText::cast(pEnt)->position() + AcGeVector3d(1, 1, 0));
    EXPECT_NEAR(p.x, 118.0, 1e-9);
    EXPECT_NEAR(p.y, 102.0, 1e-9);
    pEnt->close();

    // A reference that cannot be opened any more.
    AcDbEntity* pRef = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(pRef, m_innerRef, AcDb::kForWrite), Acad::eOk);
    pRef->erase();
    pRef->close();
    EXPECT_THROW(reference.NaWcs(AcGePoint3d()), CVoxException);

    // A member without a pick behind it has no nested entity to give.
    ads_name en;
    acdbGetAdsName(en, m_line);
    ASSERT_EQ(acedSSAdd(en, nullptr, ss), RTNORM);
    ASSERT_EQ(VnorenaEntita(ss, pEnt, &reference, nullptr), 0);
    EXPECT_EQ(pEnt->objectId(), m_line);
    EXPECT_EQ(reference.Pocet(), 0);
    pEnt->close();
    acedSSFree(ss);
    // A set that is gone.
    EXPECT_EQ(VnorenaEntita(ss, pEnt, &reference, nullptr), 5);
    EXPECT_EQ(pEnt, nullptr);
}

TEST_F(Vyber, PolylineSegmentInsideBlockComesAsLineOutsideTheDatabase) {
    // The third segment runs from (-30,10) to (-20,10) in OUTER: (40..60, 120) in the world.
    type(L"50,120\n");
    AcDbEntity* pEnt = nullptr;
    AcDbEntity* pHorni = nullptr;
    AcDbPolyline* pPline = nullptr;
    ASSERT_EQ(VyberCaruNeboText(pEnt, pHorni, pPline, true, false), 0);
    auto* pUsecka = AcDbLine::cast(pEnt);
    ASSERT_NE(pUsecka, nullptr);
    EXPECT_TRUE(pUsecka->objectId().isNull());
    EXPECT_EQ(pUsecka->startPoint(), AcGePoint3d(-30, 10, 0));
    ASSERT_NE(pPline, nullptr);
    EXPECT_EQ(pPline->objectId(), m_pline);
    EXPECT_FALSE(pPline->isReadEnabled()); // handed out closed
    ASSERT_NE(pHorni, nullptr);
    EXPECT_EQ(pHorni->objectId(), m_top);
    EXPECT_TRUE(pHorni->isReadEnabled()); // kept open for the caller
    delete pEnt;
    pHorni->close();
    EXPECT_EQ(transcript(), L"\nVyber úsečku, polyline, text nebo Mtext (i v bloku nebo v "
                            L"referenci), nebo multiodkaz: \nSelect objects: 50,120\n");

    // Without keepOpen the segment is deleted and everything closed.
    type(L"50,120\n");
    ASSERT_EQ(VyberCaruNeboText(pEnt, pHorni, pPline, false, false), 0);
    EXPECT_EQ(pEnt, nullptr);
    EXPECT_FALSE(pHorni->isReadEnabled());
    // A line picked directly has no top-level entity.
    type(L"25,0\n");
    ASSERT_EQ(VyberCaruNeboText(pEnt, pHorni, pPline, false, false), 0);
    EXPECT_EQ(pEnt->objectId(), m_line);
    EXPECT_EQ(pHorni, nullptr);
    EXPECT_EQ(pPline, nullptr);
}

TEST_F(Vyber, WrongOrEmptyPicksOfLinesAndTexts) {
    // The arc segment (its far point at (70,130) in the world) is not a line: 34, or a message
    // and another try under mustSelect; empty space fails.
    AcDbEntity* pEnt = nullptr;
    AcDbEntity* pHorni = nullptr;
    AcDbPolyline* pPline = nullptr;
    type(L"70,130\n");
    EXPECT_EQ(VyberCaruNeboText(pEnt, pHorni, pPline, true, false), 34);
    EXPECT_EQ(pEnt, nullptr);
    EXPECT_EQ(pPline, nullptr);
    type(L"500,500\n");
    EXPECT_EQ(VyberCaruNeboText(pEnt, pHorni, pPline, true, false), 3);
    transcript();
    type(L"500,500\n70,130\n5,21\n");
    ASSERT_EQ(VyberCaruNeboText(pEnt, pHorni, pPline, true, true), 0);
    EXPECT_EQ(pEnt->objectId(), m_free);
    pEnt->close();
    std::wstring t = transcript();
    EXPECT_NE(t.find(L"500,500\n\nMusíte vybrat úsečku, polyline, text nebo Mtext!!!: \nSelect "
                     L"objects: 70,130\n\nNebyla vybrána úsečka, text nebo Mtext, nebo MLeader "
                     L"byť jako součást bloku !!\nVyber úsečku"),
              std::wstring::npos);
    type(L"^C\n");
    EXPECT_EQ(VyberCaruNeboText(pEnt, pHorni, pPline, true, true), 3);
}

TEST_F(Vyber, AttributeOfReferenceOrTextButNotTextInsideBlock) {
    AcDbEntity* pEnt = nullptr;
    AcDbBlockReference* pRef = nullptr;
    type(L"203,201\n");
    ASSERT_EQ(VyberTextNeboAtribut(pEnt, pRef, true, false), 0);
    EXPECT_EQ(pEnt->objectId(), m_att);
    EXPECT_TRUE(pEnt->isReadEnabled());
    ASSERT_NE(pRef, nullptr);
    EXPECT_EQ(pRef->objectId(), m_top);
    EXPECT_FALSE(pRef->isReadEnabled());
    pEnt->close();
    EXPECT_EQ(transcript(), L"\nVyber text nebo Mtext, multiodkaz mebo atribut v bloku: \nSelect "
                            L"objects: 203,201\n");

    type(L"118,104\n");
    EXPECT_EQ(VyberTextNeboAtribut(pEnt, pRef, false, false), 34);
    EXPECT_EQ(pEnt, nullptr);
    EXPECT_EQ(pRef, nullptr);
    transcript();
    type(L"118,104\n5,21\n");
    ASSERT_EQ(VyberTextNeboAtribut(pEnt, pRef, false, true), 0);
    EXPECT_EQ(pEnt->objectId(), m_free);
    EXPECT_FALSE(pEnt->isReadEnabled());
    EXPECT_EQ(pRef, nullptr);
    EXPECT_EQ(transcript(), L"\nVyber text nebo Mtext, multiodkaz mebo atribut v bloku: \nSelect "
                            L"objects: 118,104\n\nNebyla vybrána text nebo Mtext, multiodkaz mebo "
                            L"atribut v bloku!! \nVyber text nebo Mtext, multiodkaz mebo atribut v "
                            L"bloku: \nSelect objects: 5,21\n");
    type(L"\n^C\n");
    EXPECT_EQ(VyberTextNeboAtribut(pEnt, pRef, false, true), 3);
    EXPECT_NE(transcript().find(L"\nMusíte vybrat text nebo Mtext, multiodkaz nebo atribut v "
                                L"bloku: \nSelect objects: *Cancel*"),
              std::wstring::npos);
}

TEST_F(Vyber, TypedSelectionPickfirstFirstThenPrompt) {
    ads_name pf;
    ads_name en;
    acdbGetAdsName(en, m_free);
    ASSERT_EQ(acedSSAdd(en, nullptr, pf), RTNORM);
    acedSSSetFirst(pf, nullptr);
    acedSSFree(pf);

    ads_name ss;
    ASSERT_EQ(VyberEntity(ss, false, false, DRUH_TEXT | DRUH_MTEXT), 0);
    EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{m_free}));
    acedSSFree(ss);
    EXPECT_EQ(transcript(), L"");
    EXPECT_TRUE(khost::currentSession().pickfirst.empty());

    // One pick only; Enter fails without mustSelect and asks again with it.
    type(L"5,21\n");
    ASSERT_EQ(VyberEntity(ss, false, false, 15), 0);
    acedSSFree(ss);
    EXPECT_EQ(transcript(), L"\nVyber TEXT, MTEXT, MultiODKAZ nebo referenci bloku:\nSelect "
                            L"objects: 5,21\n");
    type(L"\n");
    EXPECT_EQ(VyberEntity(ss, false, false, DRUH_BLOK), 3);
    type(L"25,0\n118,104\n");
    ASSERT_EQ(VyberEntity(ss, true, false, DRUH_BLOK), 0);
    EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{m_top}));
    acedSSFree(ss);
    EXPECT_NE(
        transcript().find(L"25,0\n\nMusíte vybrat referenci bloku!!!\nSelect objects: 118,104"),
        std::wstring::npos);
    type(L"^C\n");
    EXPECT_EQ(VyberEntity(ss, true, true, DRUH_TEXT), 3);

    AcDbObjectId id;
    type(L"5,21\n");
    ASSERT_EQ(VyberTextId(id, false), 0);
    EXPECT_EQ(id, m_free);
}

TEST_F(Vyber, AttributeDefinitionsKeepThePickfirstSet) {
    auto* def = new AcDbAttributeDefinition(AcGePoint3d(0, 300, 0), L"A", L"TAG", L"Zadej:");
    def->setHeight(2.5);
    AcDbObjectId d = add(def);
    ads_name pf, en, ss;
    acdbGetAdsName(en, d);
    acedSSAdd(en, nullptr, pf);
    acedSSSetFirst(pf, nullptr);
    acedSSFree(pf);
    ASSERT_EQ(VyberAtributDef(ss, false), 0);
    EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{d}));
    acedSSFree(ss);
    EXPECT_EQ(khost::currentSession().pickfirst.size(), 1u);
    EXPECT_EQ(transcript(), L"");

    acedSSSetFirst(nullptr, nullptr);
    type(L"\n1,301\n\n");
    ASSERT_EQ(VyberAtributDef(ss, true), 0);
    EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{d}));
    acedSSFree(ss);
    EXPECT_EQ(transcript(), L"\nVyber DEFINICI ATRIBUTU: \nSelect objects: \n\nMusíte vybrat "
                            L"DEFINICI ATRIBUTU!!!: \nSelect objects: 1,301\n1 found\nSelect "
                            L"objects: \n");
    type(L"\n");
    EXPECT_EQ(VyberAtributDef(ss, false), 3);
}

} // namespace
