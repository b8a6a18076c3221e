// The drawing frame: its outline with the fold ticks, the parameter text, the block that ram
// builds, the edit of an existing frame and the frame dialog's information rules.
#include "standardytest.h"

#include "CKvDlgRamecek.h"
#include "CVoxException.h"
#include "CVoxRegistry.h"
#include "CVoxXRecord.h"
#include "Ramecek.h"

#include <string>
#include <vector>

namespace {

class Ramecek : public standardy::StandardyTest {
protected:
    void SetUp() override {
        StandardyTest::SetUp();
        db()->setInsunits(AcDb::kUnitsMillimeters);
    }
    void TearDown() override {
        EXPECT_EQ(Otevrene(), 0);
        StandardyTest::TearDown();
    }
    void Spust(const wchar_t* sVstup) {
        input(sVstup);
        try {
            PrikazRam();
        } catch (const std::exception& e) {
            ZobrazVyjimku(e);
        }
        m_sPrepis = transcript();
    }
    bool has(const std::wstring& s) const { return m_sPrepis.find(s) != std::wstring::npos; }

    // The frame references of model space.
    std::vector<AcDbObjectId> Ramecky() {
        CRamecek objRamecek;
        objRamecek.NajdiRamecky();
        std::vector<AcDbObjectId> a;
        for (int i = 0; i < objRamecek.m_aRamecky.length(); ++i)
            a.push_back(objRamecek.m_aRamecky[i]);
        return a;
    }
    // The block of a reference with its polylines and attribute definitions.
    struct Blok {
        std::wstring sJmeno;
        AcDbObjectId idBlok;
        std::vector<std::vector<AcGePoint2d>> aPolylinie;
        std::vector<std::wstring> aTagy, aTexty, aHladiny;
        std::vector<bool> aNeviditelne;
        double dMeritko = 0.0;
        AcGePoint3d ptVlozeni;
    };
    Blok CtiBlok(AcDbObjectId idReference) {
        Blok b;
        AcDbBlockReference* pRef = nullptr;
        EXPECT_EQ(acdbOpenObject(pRef, idReference, AcDb::kForRead), Acad::eOk);
        const AcDbObjectId idBlok = pRef->blockTableRecord();
        b.idBlok = idBlok;
        b.dMeritko = pRef->scaleFactors().sx;
        b.ptVlozeni = pRef->position();
        pRef->close();
        AcDbBlockTableRecord* pBlok = nullptr;
        EXPECT_EQ(acdbOpenObject(pBlok, idBlok, AcDb::kForRead), Acad::eOk);
        AcString sJmeno;
        pBlok->getName(sJmeno);
        b.sJmeno = sJmeno.kACharPtr();
        AcDbBlockTableRecordIterator* pIt = nullptr;
        pBlok->newIterator(pIt);
        for (; !pIt->done(); pIt->step()) {
            AcDbEntity* pEnt = nullptr;
            pIt->getEntity(pEnt, AcDb::kForRead);
            if (auto* pPl = AcDb2dPolyline::cast(pEnt)) {
                EXPECT_TRUE(pPl->isClosed());
                EXPECT_EQ(pPl->polyType(), AcDb::k2dSimplePoly);
                EXPECT_EQ(pPl->elevation(), 0.0);
                EXPECT_EQ(pPl->defaultStartWidth(), 0.0);
                EXPECT_EQ(pPl->defaultEndWidth(), 0.0);
                std::vector<AcGePoint2d> a;
                AcDbObjectIterator* pVrcholy = pPl->vertexIterator();
                for (; !pVrcholy->done(); pVrcholy->step()) {
                    AcDb2dVertex* pVrchol = nullptr;
                    EXPECT_EQ(pPl->openVertex(pVrchol, pVrcholy->objectId(), AcDb::kForRead),
                              Acad::eOk);
                    a.emplace_back(pVrchol->position().x, pVrchol->position().y);
                    pVrchol->close();
                }
                delete pVrcholy;
                b.aPolylinie.push_back(a);
            } else if (AcDbCurve::cast(pEnt)) {
                ADD_FAILURE() << "the frame's edges are simple 2D polylines";
            } else if (auto* pDef = AcDbAttributeDefinition::cast(pEnt)) {
                b.aTagy.push_back(pDef->tagConst());
                b.aTexty.push_back(pDef->textStringConst());
                b.aNeviditelne.push_back(pDef->isInvisible());
                EXPECT_TRUE(pDef->isConstant());
                EXPECT_EQ(pDef->horizontalMode(), AcDb::kTextRight);
                EXPECT_DOUBLE_EQ(pDef->height(), 2.3);
            }
            ACHAR* sHladina = pEnt->layer();
            b.aHladiny.push_back(sHladina);
            acutDelString(sHladina);
            pEnt->close();
        }
        delete pIt;
        pBlok->close();
        return b;
    }

    std::wstring m_sPrepis;
};

// The x of the ticks on one horizontal edge (vertex triples that leave the edge and return).
std::vector<double> Ticky(const std::vector<AcGePoint2d>& a, double dY) {
    std::vector<double> x;
    for (size_t i = 1; i + 1 < a.size(); ++i)
        if (a[i - 1] == a[i + 1] && a[i - 1].y == dY && a[i].y != dY && a[i].x == a[i - 1].x)
            x.push_back(a[i].x);
    return x;
}
std::vector<double> TickyY(const std::vector<AcGePoint2d>& a, double dX) {
    std::vector<double> y;
    for (size_t i = 1; i + 1 < a.size(); ++i)
        if (a[i - 1] == a[i + 1] && a[i - 1].x == dX && a[i].x != dX && a[i].y == a[i - 1].y)
            y.push_back(a[i].y);
    return y;
}

TEST_F(Ramecek, ObrysFormatuSTicky) {
    CRamecek r;
    // A4 upright: one tick on the top left and one on the top right corner, N = 1.
    r.m_nSirka = 210, r.m_nVyska = 297, r.m_nCarka = 5, r.m_dKrok = CRamecek::Krok(210);
    std::vector<AcGePoint2d> a = r.BodyObrysu();
    EXPECT_TRUE(Ticky(a, 0.0).empty());
    EXPECT_EQ(Ticky(a, 297.0), std::vector<double>({-210.0}));
    EXPECT_EQ(TickyY(a, 0.0), std::vector<double>({297.0}));
    EXPECT_TRUE(TickyY(a, -210.0).empty());
    EXPECT_EQ(a.size(), 1u + 1u + 1u + 3u + 1u + 3u);
    EXPECT_EQ(r.PocetA4(), 1);
    EXPECT_EQ(r.TextPopisu(), L"210 x 297 - 1 A4");

    // A3 across.
    r.m_nSirka = 420, r.m_dKrok = CRamecek::Krok(420);
    a = r.BodyObrysu();
    EXPECT_EQ(Ticky(a, 0.0), std::vector<double>({-210.0}));
    EXPECT_EQ(Ticky(a, 297.0), std::vector<double>({-420.0, -210.0}));
    EXPECT_EQ(TickyY(a, 0.0), std::vector<double>({297.0}));
    EXPECT_EQ(r.PocetA4(), 2);

    // A1 with the wider step; the ticks lie exactly on the listed places.
    r.m_nSirka = 841, r.m_nVyska = 594, r.m_nCarka = 10, r.m_dKrok = CRamecek::Krok(841);
    EXPECT_DOUBLE_EQ(r.m_dKrok, 210.25);
    a = r.BodyObrysu();
    EXPECT_EQ(Ticky(a, 0.0), std::vector<double>({-210.25, -420.5, -630.75}));
    EXPECT_EQ(Ticky(a, 594.0), std::vector<double>({-841.0, -630.75, -420.5, -210.25}));
    EXPECT_EQ(TickyY(a, -841.0), std::vector<double>({297.0}));
    EXPECT_EQ(TickyY(a, 0.0), std::vector<double>({594.0, 297.0}));
    EXPECT_EQ(a[1], AcGePoint2d(-210.25, 0.0));
    EXPECT_EQ(a[2], AcGePoint2d(-210.25, 10.0));
    EXPECT_EQ(r.PocetA4(), 8);
}

TEST_F(Ramecek, TextParametruTamAZpet) {
    CRamecek r;
    r.m_nSirka = 210, r.m_nVyska = 297, r.m_nCarka = 5, r.m_nRoztec = 5;
    r.m_bPopis = false, r.m_bDvojity = true;
    EXPECT_EQ(r.TextParametru(), L"006I00990005000501");
    r.m_nSirka = 1048575, r.m_bPopis = true, r.m_bDvojity = false;
    EXPECT_EQ(r.TextParametru().substr(0, 4), L"VVVV");
    EXPECT_EQ(r.TextParametru().substr(16), L"10");

    CRamecek& c = r;
    ASSERT_TRUE(c.CtiParametry(L"00QA00II000C000710"));
    EXPECT_EQ(c.m_nSirka, 842);
    EXPECT_EQ(c.m_nVyska, 594);
    EXPECT_EQ(c.m_nCarka, 12);
    EXPECT_EQ(c.m_nRoztec, 7);
    EXPECT_TRUE(c.m_bPopis);
    EXPECT_FALSE(c.m_bDvojity);
    EXPECT_DOUBLE_EQ(c.m_dKrok, 210.25);
    // Wrong length, a digit outside base 32 and a sign leave the fields as they were.
    EXPECT_FALSE(c.CtiParametry(L"00QA00II000C00071"));
    EXPECT_FALSE(c.CtiParametry(L"00QA00II000C0007100"));
    EXPECT_FALSE(c.CtiParametry(L"00QW00II000C000710"));
    EXPECT_FALSE(c.CtiParametry(L"-0QA00II000C000710"));
    EXPECT_EQ(c.m_nSirka, 842);

    // Only one frame object at a time.
    EXPECT_THROW(CRamecek(), CVoxException);
}

TEST_F(Ramecek, NovyRamecekAEditace) {
    // No frame yet: the keyword N, the dialog with its defaults, A3 chosen (the description off).
    Spust(L"N\nclick 212\nOK\n");
    EXPECT_TRUE(has(L"Zadej pravý dolní roh, [Nula, nula] <0,0>: N"));
    EXPECT_TRUE(has(L"** Dialog 200: Kresbon pro AutoCad **"));
    EXPECT_TRUE(has(L"NA TISKÁRNU"));
    std::vector<AcDbObjectId> a = Ramecky();
    ASSERT_EQ(a.size(), 1u);
    Blok b = CtiBlok(a[0]);
    EXPECT_NE(b.sJmeno.find(L"TEBU_RAMECEK"), std::wstring::npos);
    ASSERT_EQ(b.aPolylinie.size(), 2u);
    EXPECT_EQ(Ticky(b.aPolylinie[0], 297.0), std::vector<double>({-420.0, -210.0}));
    EXPECT_EQ(b.aPolylinie[1],
              std::vector<AcGePoint2d>({AcGePoint2d(-5, 5), AcGePoint2d(-5, 292),
                                        AcGePoint2d(-415, 292), AcGePoint2d(-415, 5)}));
    EXPECT_EQ(b.aTagy, std::vector<std::wstring>({L"POP_RAM", L"PARAM_RAM"}));
    EXPECT_EQ(b.aTexty, std::vector<std::wstring>({L"420 x 297 - 2 A4", L"00D40099000A000501"}));
    EXPECT_EQ(b.aNeviditelne, std::vector<bool>({true, true}));
    for (const std::wstring& s : b.aHladiny)
        EXPECT_EQ(s, L"0");
    EXPECT_DOUBLE_EQ(b.dMeritko, 1.0);
    // The values are remembered in the drawing and in the registry.
    int nSirka = 0;
    EXPECT_TRUE(CVoxXRecord::CtiInt(L"Horiz", nSirka, RAMECEK_SKUPINA));
    EXPECT_EQ(nSirka, 420);
    DWORD nPopis = 7;
    EXPECT_TRUE(CVoxRegistry::CtiDword(REG_KLIC_PRODUKT, L"Popis", nPopis, RAMECEK_SKUPINA));
    EXPECT_EQ(nPopis, 0u);

    // One frame: Enter edits it without a question; its values are in the dialog and
    // "Netisknout" is disabled. The frame is replaced by a new block and reference.
    Spust(L"\n259=841\n111=594\nclick 136\nOK\n");
    EXPECT_FALSE(has(L"Vyber rámeček"));
    EXPECT_TRUE(has(L"227 check \"Netisknout\" = 0 (disabled)"));
    EXPECT_TRUE(has(L"259 edit \"Šířka:\" = \"420\""));
    EXPECT_TRUE(has(L"Na šířku: ROLE 914 cm"));
    EXPECT_TRUE(has(L"nevyužito: 433 cm2"));
    std::vector<AcDbObjectId> a2 = Ramecky();
    ASSERT_EQ(a2.size(), 1u);
    EXPECT_NE(a2[0], a[0]);
    Blok b2 = CtiBlok(a2[0]);
    EXPECT_NE(b2.idBlok, b.idBlok);
    EXPECT_EQ(b2.aTexty[0], L"841 x 594 - 8 A4");
    EXPECT_FALSE(b2.aNeviditelne[0]);
    AcDbBlockTableRecord* pStary = nullptr;
    EXPECT_EQ(acdbOpenObject(pStary, b.idBlok, AcDb::kForRead), Acad::eWasErased);

    // A second frame at a point, then Enter asks which one; a pick beside them asks again.
    Spust(L"1000,0\nOK\n");
    Spust(L"\n-2000,-2000\n1000,100\nCancel\n");
    // The question comes again after the miss.
    EXPECT_NE(m_sPrepis.find(L"Nebyl vybrán rámeček, vyber znova nebo <Enter> pro nový: \n"
                             L"Vyber rámeček: "),
              std::wstring::npos);
    EXPECT_EQ(Ramecky().size(), 2u);
}

TEST_F(Ramecek, NetiskAMeritko) {
    // At 1:50 the frame is inserted 50 times larger at the picked point, on the non-plotting
    // layer when "Netisknout" is set.
    resbuf rb{};
    rb.restype = RTSTR;
    rb.resval.rstring = const_cast<ACHAR*>(L"1:50");
    ASSERT_EQ(acedSetVar(L"CANNOSCALE", &rb), RTNORM);
    Spust(L"500,300\n227=1\nOK\n");
    std::vector<AcDbObjectId> a = Ramecky();
    ASSERT_EQ(a.size(), 1u);
    Blok b = CtiBlok(a[0]);
    EXPECT_DOUBLE_EQ(b.dMeritko, 50.0);
    EXPECT_TRUE(b.ptVlozeni.isEqualTo(AcGePoint3d(500, 300, 0)));
    AcDbEntity* pRef = nullptr;
    ASSERT_EQ(acdbOpenObject(pRef, a[0], AcDb::kForRead), Acad::eOk);
    ACHAR* sHladina = pRef->layer();
    const std::wstring sJmeno = sHladina;
    acutDelString(sHladina);
    pRef->close();
    EXPECT_EQ(sJmeno.substr(sJmeno.size() - 6), L"netisk");

    // A 3D UCS refuses the command.
    khost::setCurrentUcs(db(), AcGePoint3d(0, 0, 0), AcGeVector3d(1, 0, 0),
                         AcGeVector3d(0, 0.8, 0.6));
    Spust(L"");
    EXPECT_TRUE(has(L"Nastavené Ucs je ve 3d prostoru (není 2d), nelze spustit funkci rámeček"));
    EXPECT_EQ(Ramecky().size(), 1u);
}

TEST_F(Ramecek, PoskozenyParametr) {
    Spust(L"N\nOK\n");
    std::vector<AcDbObjectId> a = Ramecky();
    ASSERT_EQ(a.size(), 1u);
    AcDbBlockReference* pRef = nullptr;
    ASSERT_EQ(acdbOpenObject(pRef, a[0], AcDb::kForRead), Acad::eOk);
    const AcDbObjectId idBlok = pRef->blockTableRecord();
    pRef->close();
    AcDbBlockTableRecord* pBlok = nullptr;
    ASSERT_EQ(acdbOpenObject(pBlok, idBlok, AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecordIterator* pIt = nullptr;
    pBlok->newIterator(pIt);
    for (; !pIt->done(); pIt->step()) {
        AcDbEntity* pEnt = nullptr;
        pIt->getEntity(pEnt, AcDb::kForWrite);
        if (auto* pDef = AcDbAttributeDefinition::cast(pEnt))
            if (std::wstring(pDef->tagConst()) == L"PARAM_RAM")
                pDef->setTextString(L"00D40099000A00050"); // 17 characters
        pEnt->close();
    }
    delete pIt;
    pBlok->close();

    // The dialog starts with its remembered values; Cancel leaves the frame as it was.
    Spust(L"\nCancel\n");
    EXPECT_TRUE(has(L"\nNekonzistentní definice rámečku, nastavuji defaultní hodnoty"));
    EXPECT_EQ(Ramecky(), a);
}

TEST_F(Ramecek, DialogInformace) {
    {
        // The plotter limit, then a spin step and Cancel: nothing is remembered.
        CKvDlgRamecek dlg;
        input(L"259=1000\n111=1000\nOK\n209=3\nCancel\n");
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        const std::wstring s = transcript();
        EXPECT_NE(s.find(L"Jeden z rozměrů musí být max. 914 (šířka plotru). Jinak se to nedá "
                         L"vytisknout"),
                  std::wstring::npos);
        EXPECT_NE(s.find(L"111 edit \"Výška:\" = \"914\""), std::wstring::npos);
        EXPECT_NE(s.find(L"Na výšku: ROLE 914 cm"), std::wstring::npos);
        EXPECT_NE(s.find(L"Na šířku: NELZE"), std::wstring::npos);
        EXPECT_NE(s.find(L"259 edit \"Šířka:\" = \"841\""), std::wstring::npos);
        int n = 0;
        EXPECT_FALSE(CVoxXRecord::CtiInt(L"Vert", n, RAMECEK_SKUPINA));
    }
    {
        // A1 gives the rolls of the example; the presets fill ticks and spacing; A4 goes to
        // the printer with the portrait picture and without the description.
        CKvDlgRamecek dlg;
        input(L"click 214\nclick 253\nOK\n");
        EXPECT_EQ(dlg.DoModal(), IDOK);
        const std::wstring s = transcript();
        EXPECT_NE(s.find(L"Na výšku: ROLE 594 cm"), std::wstring::npos);
        EXPECT_NE(s.find(L"nevyužito: 0 cm2"), std::wstring::npos);
        EXPECT_EQ(dlg.m_nCarka, 12);
        EXPECT_EQ(dlg.m_nRoztec, 7);
        EXPECT_EQ(dlg.m_nSirka, 841);
    }
    EXPECT_EQ(CKvDlgRamecek::KrokSirky(842), 4);
    EXPECT_EQ(CKvDlgRamecek::KrokSirky(5000), 13);
    EXPECT_EQ(CKvDlgRamecek::KrokVysky(297), 0);
    EXPECT_EQ(CKvDlgRamecek::Role(915), 0);
    EXPECT_TRUE(CKvDlgRamecek::NaTiskarnu(297, 420));
    EXPECT_FALSE(CKvDlgRamecek::NaTiskarnu(421, 297));
}

} // namespace
