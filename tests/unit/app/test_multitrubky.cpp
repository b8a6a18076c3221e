// The bundle of parallel pipes: where each layer's line lies for the three bundle types, the
// corners, swap and undo, the settings kept in the drawing, and the dialog.
#include "standardytest.h"

#include "CKvDlgMultiTrubky.h"
#include "CVoxException.h"
#include "CVoxMultiTrubky.h"
#include "CVoxXRecord.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

struct Cara {
    std::wstring sHladina;
    double x1, y1, x2, y2;
};

class MultiTrubky : public standardy::StandardyTest {
protected:
    void SetUp() override {
        StandardyTest::SetUp();
        Instaluj();
        db()->setInsunits(AcDb::kUnitsMillimeters);
    }
    void TearDown() override {
        EXPECT_EQ(Otevrene(), 0);
        StandardyTest::TearDown();
    }
    void Spust(const wchar_t* sVstup) {
        input(sVstup);
        try {
            PrikazMut();
        } catch (const std::exception& e) {
            ZobrazVyjimku(e);
        }
        m_sPrepis = transcript();
    }
    bool has(const std::wstring& s) const { return m_sPrepis.find(s) != std::wstring::npos; }
    size_t pocet(const std::wstring& s) const {
        size_t n = 0;
        for (size_t i = m_sPrepis.find(s); i != std::wstring::npos; i = m_sPrepis.find(s, i + 1))
            ++n;
        return n;
    }

    // The lines of model space in the order they were made.
    std::vector<Cara> Cary() {
        std::vector<Cara> a;
        AcDbBlockTable* pTab = nullptr;
        EXPECT_EQ(db()->getBlockTable(pTab, AcDb::kForRead), Acad::eOk);
        AcDbBlockTableRecord* pModel = nullptr;
        EXPECT_EQ(pTab->getAt(ACDB_MODEL_SPACE, pModel, AcDb::kForRead), Acad::eOk);
        pTab->close();
        AcDbBlockTableRecordIterator* pIter = nullptr;
        pModel->newIterator(pIter);
        for (; !pIter->done(); pIter->step()) {
            AcDbEntity* pEnt = nullptr;
            if (pIter->getEntity(pEnt, AcDb::kForRead) != Acad::eOk)
                continue;
            if (AcDbLine* pLine = AcDbLine::cast(pEnt)) {
                AcString sHladina;
                pLine->layer(sHladina);
                a.push_back({sHladina.kACharPtr(), pLine->startPoint().x, pLine->startPoint().y,
                             pLine->endPoint().x, pLine->endPoint().y});
            }
            pEnt->close();
        }
        delete pIter;
        pModel->close();
        return a;
    }
    static std::wstring Text(const std::vector<Cara>& a) {
        std::wstring s;
        for (const Cara& c : a) {
            wchar_t buf[200];
            swprintf(buf, 200, L"%ls %g,%g %g,%g\n", c.sHladina.c_str(), c.x1, c.y1, c.x2, c.y2);
            s += buf;
        }
        return s;
    }

    void Pridej(AcDbEntity* pEnt, const ACHAR* sHladina) {
        AcDbBlockTable* pTab = nullptr;
        ASSERT_EQ(db()->getBlockTable(pTab, AcDb::kForRead), Acad::eOk);
        AcDbBlockTableRecord* pModel = nullptr;
        ASSERT_EQ(pTab->getAt(ACDB_MODEL_SPACE, pModel, AcDb::kForWrite), Acad::eOk);
        pTab->close();
        pEnt->setDatabaseDefaults(db());
        EXPECT_EQ(pEnt->setLayer(sHladina), Acad::eOk);
        AcDbObjectId id;
        EXPECT_EQ(pModel->appendAcDbEntity(id, pEnt), Acad::eOk);
        pEnt->close();
        pModel->close();
    }

    std::wstring m_sPrepis;
};

TEST_F(MultiTrubky, TriHladinyProKazdyTypVedeni) {
    // 100 mm in a millimetre drawing, points (0,0) to (1000,0): type 2 has the first layer on
    // the points and the others to the left, type 0 the last layer on the points, type 1 the
    // middle one.
    const struct {
        int nTyp;
        double y0;
    } aPripady[] = {{MULTI_SPODNI, 0.0}, {MULTI_HORNI, -200.0}, {MULTI_STRED, -100.0}};
    size_t nPred = 0;
    for (const auto& p : aPripady) {
        CVoxXRecord::ZapisInt(MULTI_TYPVEDENI, p.nTyp, MULTI_SKUPINA);
        Spust(L"0,0\n1000,0\n\n");
        const std::vector<Cara> a = Cary();
        ASSERT_EQ(a.size(), nPred + 3) << khost::toUtf8(m_sPrepis);
        const std::vector<Cara> aNove(a.begin() + static_cast<std::ptrdiff_t>(nPred), a.end());
        const wchar_t* aHladiny[] = {L"KB_ZT-voda_SV", L"KB_ZT-voda_TUV", L"KB_ZT-voda_CIRK"};
        std::wstring sCekane;
        for (int k = 0; k < 3; ++k) {
            wchar_t buf[200];
            swprintf(buf, 200, L"%ls 0,%g 1000,%g\n", aHladiny[k], p.y0 + 100 * k, p.y0 + 100 * k);
            sCekane += buf;
        }
        EXPECT_EQ(Text(aNove), sCekane) << "type " << p.nTyp;
        nPred = a.size();
    }
}

TEST_F(MultiTrubky, RohOrezavaZpetObnovuje) {
    // The second leg trims each first-leg line where it meets the same layer's new line; undo
    // erases the second leg and gives the first one back its full length; a further undo and
    // one with nothing drawn.
    Spust(L"0,0\n1000,0\n1000,1000\nZ\nZ\nZ\n\n");
    EXPECT_EQ(pocet(L"\nJiž není co vracet"), 1u);
    EXPECT_TRUE(Cary().empty());

    Spust(L"0,0\n1000,0\n1000,1000\n\n");
    EXPECT_EQ(Text(Cary()), L"KB_ZT-voda_SV 0,0 1000,0\n"
                            L"KB_ZT-voda_TUV 0,100 900,100\n"
                            L"KB_ZT-voda_CIRK 0,200 800,200\n"
                            L"KB_ZT-voda_SV 1000,0 1000,1000\n"
                            L"KB_ZT-voda_TUV 900,100 900,1000\n"
                            L"KB_ZT-voda_CIRK 800,200 800,1000\n");
}

TEST_F(MultiTrubky, ZpetObnoviDelkuPredchozihoUseku) {
    Spust(L"0,0\n1000,0\n1000,1000\nZ\n\n");
    EXPECT_EQ(Text(Cary()), L"KB_ZT-voda_SV 0,0 1000,0\n"
                            L"KB_ZT-voda_TUV 0,100 1000,100\n"
                            L"KB_ZT-voda_CIRK 0,200 1000,200\n");
    // Undo with nothing drawn keeps the start point.
    Spust(L"0,500\nZ\n1000,500\n\n");
    EXPECT_TRUE(has(L"\nJiž není co vracet"));
    const std::vector<Cara> a = Cary();
    ASSERT_EQ(a.size(), 6u);
    EXPECT_EQ(a[3].x1, 0.0);
    EXPECT_EQ(a[3].y1, 500.0);
}

TEST_F(MultiTrubky, ProhozeniVRohu) {
    Spust(L"0,0\n1000,0\nP\n1000,1000\n\n");
    EXPECT_EQ(Text(Cary()), L"KB_ZT-voda_SV 0,0 800,0\n"
                            L"KB_ZT-voda_TUV 0,100 900,100\n"
                            L"KB_ZT-voda_CIRK 0,200 1000,200\n"
                            L"KB_ZT-voda_CIRK 1000,200 1000,1000\n"
                            L"KB_ZT-voda_TUV 900,100 900,1000\n"
                            L"KB_ZT-voda_SV 800,0 800,1000\n");
    // The swapped order is what the drawing keeps.
    CVoxMultiTrubky objMulti;
    EXPECT_EQ(objMulti.m_aHladiny,
              std::vector<std::wstring>({L"ZT-voda_CIRK", L"ZT-voda_TUV", L"ZT-voda_SV"}));
}

TEST_F(MultiTrubky, ZpetVraciPoradiHladin) {
    // Undoing a swapped leg restores the order of the layers; so does undoing the leg before a
    // swap that no leg used yet.
    Spust(L"0,0\n1000,0\nP\n1000,1000\nZ\n2000,0\n\n");
    Spust(L"0,500\n1000,500\nP\nZ\n1000,500\n\n");
    EXPECT_EQ(Text(Cary()), L"KB_ZT-voda_SV 0,0 1000,0\n"
                            L"KB_ZT-voda_TUV 0,100 1000,100\n"
                            L"KB_ZT-voda_CIRK 0,200 1000,200\n"
                            L"KB_ZT-voda_SV 1000,0 2000,0\n"
                            L"KB_ZT-voda_TUV 1000,100 2000,100\n"
                            L"KB_ZT-voda_CIRK 1000,200 2000,200\n"
                            L"KB_ZT-voda_SV 0,500 1000,500\n"
                            L"KB_ZT-voda_TUV 0,600 1000,600\n"
                            L"KB_ZT-voda_CIRK 0,700 1000,700\n");
}

TEST_F(MultiTrubky, KontrolaRohuOdmitne) {
    // Too short a new leg (the outer pipe would turn back), too short a previous leg, a leg
    // straight back and a leg of no length: each refused, nothing drawn, the point asked again.
    Spust(L"0,0\n1000,0\n1000,150\nOK\n500,0\nOK\n1000,0\nOK\n1000,1000\n\n");
    EXPECT_EQ(pocet(L"Vytvářený úsek je příliš krátký\nzměňte délku úseku nebo úhel napojení"), 3u);
    std::vector<Cara> a = Cary();
    ASSERT_EQ(a.size(), 6u) << khost::toUtf8(m_sPrepis);
    EXPECT_EQ(a[5].x1, 800.0);
    EXPECT_EQ(a[5].y1, 200.0);

    Spust(L"0,5000\n150,5000\n150,6000\nOK\n\n");
    EXPECT_EQ(pocet(L"Předchozí úsek je příliš krátký\nzměňte délku úseku nebo úhel napojení"), 1u);
    a = Cary();
    ASSERT_EQ(a.size(), 9u);
    EXPECT_EQ(a[8].x2, 150.0); // the first leg untouched
}

TEST_F(MultiTrubky, NastaveniVeVykresu) {
    // The dialog's values are taken over and kept in the drawing; a saved and reloaded drawing
    // gives them back. The dialog lists the top pipe first and OK keeps the order.
    Spust(L"N\n2108=50\n2114=1\nselect 2103 0\nclick 2106\nOK\n^C\n");
    EXPECT_TRUE(has(L"2108 edit \"Rozteč:\" = \"100\""));
    EXPECT_TRUE(
        has(L"2103 list \"Hladiny pro multitrubky\" = -1 \"\" [ZT-voda_CIRK | ZT-voda_TUV | "
            L"ZT-voda_SV]"));
    EXPECT_TRUE(has(L"\nNic nebylo vybráno..."));

    const std::wstring sCesta = khost::fromUtf8(m_home + "/mut.dxf");
    std::wstring sChyba;
    ASSERT_TRUE(khost::writeDrawing(db(), sCesta, sChyba)) << khost::toUtf8(sChyba);
    AcDbDatabase* pNova = khost::readDrawing(sCesta, sChyba);
    ASSERT_NE(pNova, nullptr) << khost::toUtf8(sChyba);
    khost::closeDocument(m_doc);
    m_doc = khost::openDocument(pNova, sCesta);

    {
        CVoxMultiTrubky objMulti;
        EXPECT_DOUBLE_EQ(objMulti.m_dRoztec, 50.0);
        EXPECT_EQ(objMulti.m_nTypVedeni, MULTI_STRED);
        EXPECT_EQ(objMulti.m_aHladiny, std::vector<std::wstring>({L"ZT-voda_SV", L"ZT-voda_TUV"}));
        // Opened and confirmed unchanged, the bundle keeps its order.
        input(L"OK\n");
        EXPECT_EQ(CKvDlgMultiTrubky::Nastav(objMulti), IDOK);
        EXPECT_EQ(objMulti.m_aHladiny, std::vector<std::wstring>({L"ZT-voda_SV", L"ZT-voda_TUV"}));
        input(L"Cancel\n");
        EXPECT_EQ(CKvDlgMultiTrubky::Nastav(objMulti), IDCANCEL);
        EXPECT_EQ(objMulti.m_aHladiny, std::vector<std::wstring>({L"ZT-voda_SV", L"ZT-voda_TUV"}));
    }
    transcript();
    // Middle type at 50 mm: the bundle centred on the points.
    Spust(L"0,0\n1000,0\n\n");
    EXPECT_EQ(Text(Cary()), L"KB_ZT-voda_SV 0,-25 1000,-25\n"
                            L"KB_ZT-voda_TUV 0,25 1000,25\n");
}

TEST_F(MultiTrubky, NastaveniZapsanaIPoChybe) {
    // The settings are written back also when an error ends the run. A kept layer that can no
    // longer be made is reported and the bundle starts from the default layers.
    db()->setInsunits(AcDb::kUnitsMeters);
    CVoxXRecord::ZapisReal(MULTI_ROZTEC, 0.25, MULTI_SKUPINA);
    try {
        CVoxMultiTrubky objMulti;
        EXPECT_DOUBLE_EQ(objMulti.m_dRoztec, 0.25);
        input(L"2101=0\nclick 2116\n2117=80\nOK\n");
        EXPECT_EQ(CKvDlgMultiTrubky::Nastav(objMulti), IDOK);
        EXPECT_DOUBLE_EQ(objMulti.m_dRoztec, 0.08);
        objMulti.m_aHladiny.push_back(L"Neexistuje");
        objMulti.ZalozHladiny();
        ADD_FAILURE() << "no exception";
    } catch (const CVoxException& e) {
        EXPECT_NE(std::string(e.what()).find("Nelze zalo"), std::string::npos);
    }
    double d = 0.0;
    EXPECT_TRUE(CVoxXRecord::CtiReal(MULTI_ROZTEC, d, MULTI_SKUPINA));
    EXPECT_DOUBLE_EQ(d, 0.08);
    transcript();

    Spust(L"OK\n0,0\n1,0\n\n");
    EXPECT_TRUE(has(L"Program vyvolal výjimku")) << khost::toUtf8(m_sPrepis);
    EXPECT_EQ(Text(Cary()), L"KB_ZT-voda_SV 0,0 1,0\n"
                            L"KB_ZT-voda_TUV 0,0.08 1,0.08\n"
                            L"KB_ZT-voda_CIRK 0,0.16 1,0.16\n");

    // A drawing without units has no spacing in millimetres.
    db()->setInsunits(AcDb::kUnitsUndefined);
    Spust(L"OK\n");
    EXPECT_TRUE(has(L"Nelze získat přepočet jednotek")) << khost::toUtf8(m_sPrepis);
}

TEST_F(MultiTrubky, DialogVMetrech) {
    // 0.1 m shows as 100 mm; 250 typed gives 0.25 m.
    db()->setInsunits(AcDb::kUnitsMeters);
    CVoxMultiTrubky objMulti;
    EXPECT_DOUBLE_EQ(objMulti.m_dRoztec, 0.1);
    input(L"2108=250\nOK\n");
    ASSERT_EQ(CKvDlgMultiTrubky::Nastav(objMulti), IDOK);
    m_sPrepis = transcript();
    EXPECT_TRUE(has(L"2108 edit \"Rozteč:\" = \"100\"")) << khost::toUtf8(m_sPrepis);
    EXPECT_DOUBLE_EQ(objMulti.m_dRoztec, 0.25);
    EXPECT_EQ(CKvDlgMultiTrubky::Milimetry(1.1, 1.0), 1100);
    EXPECT_EQ(CKvDlgMultiTrubky::Milimetry(0.0157, 1.0), 15);
    EXPECT_EQ(CKvDlgMultiTrubky::Milimetry(10.0, 100.0), 100);
}

TEST_F(MultiTrubky, DialogSeznamy) {
    // The drawing's layers sorted by the Czech collation (ch after h, č after c); ">" adds the
    // chosen ones, UP/DW/PR reorder, "<" removes; fewer than two layers are refused; "Vybrat
    // z výkresu" adds each selected line's or block's layer once, texts are filtered out.
    for (const wchar_t* s : {L"Hrana", L"Chodník", L"Čára", L"Cesta", L"dům"}) {
        AcDbLayerTable* pTab = nullptr;
        ASSERT_EQ(db()->getLayerTable(pTab, AcDb::kForWrite), Acad::eOk);
        auto* pHladina = new AcDbLayerTableRecord();
        pHladina->setName(s);
        AcDbObjectId id;
        pTab->add(id, pHladina);
        pHladina->close();
        pTab->close();
    }
    Pridej(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)), L"Hrana");
    Pridej(new AcDbLine(AcGePoint3d(0, 5, 0), AcGePoint3d(10, 5, 0)), L"Hrana");
    auto* pText = new AcDbText();
    pText->setPosition(AcGePoint3d(0, 2, 0));
    pText->setHeight(1.0);
    pText->setTextString(L"x");
    Pridej(pText, L"Cesta");
    auto* pPoly = new AcDbPolyline();
    pPoly->addVertexAt(0, AcGePoint2d(0, 3));
    pPoly->addVertexAt(1, AcGePoint2d(10, 3));
    Pridej(pPoly, L"dům");
    transcript();

    CVoxMultiTrubky objMulti;
    input(L"click 2112\nOK\nOK\nselect 2101 2\nclick 2116\nOK\nOK\nselect 2101 3\nclick 2116\n"
          L"select 2103 0\nclick 2110\nclick 2111\nselect 2103 1\nclick 2109\nselect 2103 1\n"
          L"click 2106\n"
          L"click 2107\nW\n-1,-1\n11,11\n\nshow\nOK\n");
    ASSERT_EQ(CKvDlgMultiTrubky::Nastav(objMulti), IDOK);
    const std::wstring s = transcript();
    EXPECT_NE(s.find(L"[0 | Cesta | Čára | dům | Hrana | Chodník | KB_ZT-voda_CIRK | "
                     L"KB_ZT-voda_SV | KB_ZT-voda_TUV]"),
              std::wstring::npos)
        << khost::toUtf8(s);
    size_t nZprav = 0;
    for (size_t i = s.find(L"Je nutné vybrat minimálně dvě trubky"); i != std::wstring::npos;
         i = s.find(L"Je nutné vybrat minimálně dvě trubky", i + 1))
        ++nZprav;
    EXPECT_EQ(nZprav, 2u);
    // Added: Čára, dům; DW: dům, Čára; PR: Čára, dům; UP on dům: dům, Čára; "<" on Čára.
    // The selection adds Hrana once and dům not again. Bundle order is the reverse.
    EXPECT_EQ(objMulti.m_aHladiny, std::vector<std::wstring>({L"Hrana", L"dům"}));
    EXPECT_NE(s.find(L"Vyber úsečky, polyline, nebo bloky: "), std::wstring::npos);
}

} // namespace
