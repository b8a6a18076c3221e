// The material and profile model: tables, labels, profile generation and lookup, holders.
#include "StdAfx.h"

#include "CVoxMaterial.h"
#include "CVoxSezMaterialu.h"

#include "hostfixture.h"
#include "textconv.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <string>

namespace {

class Materialy : public HostFixture {
protected:
    CVoxMaterial* Novy(const wchar_t* sNazev, UINT nTyp, int iSDr = 0) {
        CVoxMaterial* p = nullptr;
        EXPECT_TRUE(m_sez.NovyMaterial(sNazev, &p));
        CVoxMaterialData d;
        p->Data(d);
        d.m_nTypPopisu = nTyp;
        d.m_iPN = 0;
        d.m_iSDr = iSDr;
        p->Nastav(d);
        return p;
    }
    // A profile with the given outer diameter and wall.
    CVoxProfil* Profil(CVoxMaterial* m, int iDN, int nD, float fT) {
        CVoxProfil* p = nullptr;
        EXPECT_TRUE(m->PridejProfil(iDN, &p));
        p->SetWall(fT);
        p->SetOuter(nD);
        return p;
    }
    std::string Chyba(const std::function<void()>& f) {
        try {
            f();
        } catch (const CVoxException& e) {
            std::wstring w;
            khost::fromCodePage(e.what(), 1250, w);
            std::string s = khost::toUtf8(w);
            return s.substr(0, s.find(", Line"));
        }
        return "";
    }

    CVoxSezMaterialu m_sez;
};

TEST_F(Materialy, TablesKeepTheirRows) {
    EXPECT_STREQ(g_aTabulkaDN[15].sText, L"DN 225");
    EXPECT_EQ(g_aTabulkaDN[11].nD, 110);
    EXPECT_EQ(g_aTabulkaDN[17].nD, 315);
    EXPECT_STREQ(g_aTabulkaDN[27].sText, L"DN 1200");
    EXPECT_STREQ(g_aTabulkaSDr[2].sText, L"SDr 7.4");
    EXPECT_EQ(g_aTabulkaSDr[2].fSDr, 7.2f);
    EXPECT_EQ(g_aTabulkaPN[3].nPN, 16);
}

TEST_F(Materialy, LabelsOfTheThreeTypes) {
    CVoxMaterial* m = Novy(L"Trubka", POPIS_DXT);
    CVoxProfil* p = Profil(m, 11, 110, 10.0f);
    EXPECT_STREQ(p->GetPopis(), L"110x10.0");
    EXPECT_STREQ(p->GetPopisKratky(), L"d110");
    EXPECT_FLOAT_EQ(p->GetInner(), 90.0f);

    CVoxMaterialData d;
    m->Data(d);
    d.m_nTypPopisu = POPIS_DN;
    m->Nastav(d);
    EXPECT_STREQ(p->GetPopis(), L"DN 100");
    EXPECT_STREQ(p->GetPopisKratky(), L"100");

    d.m_nTypPopisu = POPIS_JINY;
    d.m_strPrefix = L"d";
    d.m_bVnitrni = false;
    m->Nastav(d);
    EXPECT_STREQ(p->GetPopis(), L"d110");
    d.m_bVnitrni = true;
    m->Nastav(d);
    p->SetInner(96.8f);
    EXPECT_STREQ(p->GetPopis(), L"d97");
    EXPECT_FLOAT_EQ(p->GetWall(), (110.0f - 96.8f) / 2.0f);
    // A label that does not fit its field is refused.
    EXPECT_EQ(Chyba([&] { p->SetInner(1.0e20f); }), "Nepodařilo se vytvořit popis");
}

TEST_F(Materialy, PridejProfilFollowsTheTablesAndSdr) {
    CVoxMaterial* m = Novy(L"SDR11", POPIS_DXT, 4);
    CVoxProfil* p = nullptr;
    ASSERT_TRUE(m->PridejProfil(11, &p));
    EXPECT_EQ(p->GetOuter(), 110);
    EXPECT_FLOAT_EQ(p->GetWall(), 10.0f);
    EXPECT_FLOAT_EQ(p->GetInner(), 90.0f);
    EXPECT_STREQ(p->GetPopis(), L"110x10.0");
    EXPECT_FALSE(m->PridejProfil(11));
    EXPECT_FALSE(m->PridejProfil(28));
    EXPECT_FALSE(m->PridejProfil(-1));

    CVoxMaterial* m74 = Novy(L"SDR74", POPIS_DXT, 2);
    ASSERT_TRUE(m74->PridejProfil(11, &p));
    EXPECT_EQ(p->GetWall(), 110.0f / 7.2f);

    // Without an SDr: the plastic outer diameter and a wall of 3, from DN 400 on 5.
    CVoxMaterial* m0 = Novy(L"Bez SDR", POPIS_DXT, 0);
    ASSERT_TRUE(m0->PridejProfil(17, &p));
    EXPECT_EQ(p->GetOuter(), 315);
    EXPECT_FLOAT_EQ(p->GetWall(), 3.0f);
    ASSERT_TRUE(m0->PridejProfil(19, &p));
    EXPECT_FLOAT_EQ(p->GetWall(), 5.0f);

    // Labelled by DN: the inner diameter is the DN.
    CVoxMaterial* mDN = Novy(L"DN", POPIS_DN);
    ASSERT_TRUE(mDN->PridejProfil(13, &p));
    EXPECT_FLOAT_EQ(p->GetInner(), 150.0f);
    EXPECT_EQ(p->GetOuter(), 156);
    EXPECT_STREQ(p->GetPopis(), L"DN 150");

    m0->GenerujProfily(1, 11);
    EXPECT_EQ(m0->GetProfilCount(), 11);
    EXPECT_EQ(m0->Profily().begin()->first, 1);
    EXPECT_EQ(Chyba([&] { m0->GenerujProfily(26, 28); }), "Nelze přidat profil");
}

TEST_F(Materialy, DalsiVolneDN) {
    CVoxMaterial* m = Novy(L"M", POPIS_DXT);
    m->PridejProfil(5);
    m->PridejProfil(6);
    m->PridejProfil(27);
    EXPECT_EQ(m->DalsiVolneDN(4), 4);
    EXPECT_EQ(m->DalsiVolneDN(5), 7);
    EXPECT_EQ(m->DalsiVolneDN(27), -1);
}

TEST_F(Materialy, NajdiProfilTakesTheNearest) {
    CVoxMaterial* mDN = Novy(L"Podle DN", POPIS_DN);
    EXPECT_EQ(mDN->NajdiProfil(100.0), nullptr);
    CVoxProfil* p100 = Profil(mDN, 11, 110, 5.0f); // di 100
    CVoxProfil* p110 = Profil(mDN, 12, 120, 5.0f); // di 110
    EXPECT_EQ(mDN->NajdiProfil(105.0), p100);      // the middle goes to the smaller
    EXPECT_EQ(mDN->NajdiProfil(106.0), p110);
    EXPECT_EQ(mDN->NajdiProfil(20.0), p100);
    EXPECT_EQ(mDN->NajdiProfil(500.0), p110);
    // The mean of inner diameters is taken in single precision: 70 - 2^-17 and 130 sum to 200.
    p100->SetInner(std::nextafter(70.0f, 0.0f));
    p110->SetInner(130.0f);
    EXPECT_EQ(mDN->NajdiProfil(100.0), p100);
    EXPECT_EQ(mDN->NajdiProfil(101.0), p110);

    // Label "D x t" compares the outer diameter, with an integer mean.
    CVoxMaterial* m = Novy(L"Podle D", POPIS_DXT);
    CVoxProfil* a = Profil(m, 11, 110, 10.0f);
    CVoxProfil* b = Profil(m, 12, 125, 7.4f);
    EXPECT_EQ(m->NajdiProfil(100.0), a);
    EXPECT_EQ(m->NajdiProfil(117.0), a); // (110 + 125) / 2 = 117
    EXPECT_EQ(m->NajdiProfil(117.5), b);
    EXPECT_STREQ(m->NajdiProfil(100.0)->GetPopis(), L"110x10.0");
}

TEST_F(Materialy, SetDNRefusesTakenRows) {
    CVoxMaterial* m = Novy(L"M", POPIS_DXT);
    CVoxProfil* a = Profil(m, 11, 110, 10.0f);
    CVoxProfil* b = Profil(m, 13, 160, 14.6f);
    EXPECT_FALSE(a->SetDN(13, true));
    EXPECT_FALSE(a->SetDN(11, true));
    EXPECT_EQ(a->GetDN(), 11);
    EXPECT_EQ(m->Profil(13), b);
    EXPECT_EQ(a->GetOuter(), 110);
    EXPECT_TRUE(a->SetDN(12, true));
    EXPECT_EQ(m->Profil(12), a);
    EXPECT_EQ(m->Profil(11), nullptr);
    EXPECT_EQ(a->GetOuter(), 145); // DN 125 + 2 x 10
    EXPECT_FLOAT_EQ(a->GetInner(), 125.0f);
}

TEST_F(Materialy, CodesHaveNineCharacters) {
    CVoxMaterial* m = Novy(L"M", POPIS_DXT);
    CVoxProfil* p = Profil(m, 1, 16, 2.0f);
    p->SetKodMaterial(L"123456789");
    EXPECT_STREQ(p->GetKodMaterial(), L"123456789");
    EXPECT_EQ(Chyba([&] { p->SetKodMontaz(L"1234567890"); }), "Chyba kopírování řetězce");
    EXPECT_STREQ(p->GetKodMontaz(), L"");
}

TEST_F(Materialy, NastavChecksTheRecord) {
    CVoxMaterial* m = Novy(L"M", POPIS_DXT);
    CVoxMaterialData d;
    m->Data(d);
    d.m_strNazev = L"Jiný";
    EXPECT_EQ(Chyba([&] { m->Nastav(d); }), "Jméno materiálu v předané struktuře nesouhlasí");
    m->Data(d);
    d.m_strVyrobce = CString(L'x', 26);
    EXPECT_EQ(Chyba([&] { m->Nastav(d); }), "Příliš dlouhý výrobce");
    m->Data(d);
    d.m_iSDr = -1;
    EXPECT_EQ(Chyba([&] { m->Nastav(d); }), "SDR nebo PN nenalezeno v seznamu ");
    m->Data(d);
    d.m_nTypPopisu = POPIS_JINY;
    d.m_strPrefix = L"abcde";
    EXPECT_EQ(Chyba([&] { m->Nastav(d); }), "Chyba při kopírování řetězce v paměti");
    EXPECT_EQ(m->GetTypPopisu(), POPIS_DXT);
    m->Data(d);
    d.m_dDrsnost = -1000.0;
    d.m_strDrsnost = L" 0,25 ";
    d.m_strPopis = L"Krátký";
    m->Nastav(d);
    EXPECT_FLOAT_EQ(m->GetDrsnost(), 0.25f);
    EXPECT_EQ(m->GetPopis(), L"Krátký");
}

TEST_F(Materialy, NamesAreUniqueKeys) {
    CVoxMaterial* a = Novy(L"A", POPIS_DXT);
    Novy(L"B", POPIS_DXT);
    EXPECT_FALSE(m_sez.NovyMaterial(L"A", nullptr));
    EXPECT_FALSE(a->Prejmenuj(L"B"));
    EXPECT_EQ(Chyba([&] { a->Prejmenuj(L"123456789012345678901"); }), "Příliš dlouhý název");
    EXPECT_TRUE(a->Prejmenuj(L"C"));
    CVoxMaterial* p = nullptr;
    EXPECT_FALSE(m_sez.Najdi(L"A", nullptr));
    EXPECT_TRUE(m_sez.Najdi(L"C", &p));
    EXPECT_EQ(p, a);
    EXPECT_EQ(m_sez.Materialy().begin()->first, L"B");
}

TEST_F(Materialy, NicNevyhovuje) {
    EXPECT_TRUE(m_sez.NicNevyhovuje(1, 31));
    CVoxMaterial* m = Novy(L"Síť", POPIS_DXT);
    CVoxMaterialData d;
    m->Data(d);
    d.m_nOblast = OBLAST_SITE;
    d.m_nMedium = MEDIUM_VODA;
    m->Nastav(d);
    EXPECT_FALSE(m_sez.NicNevyhovuje(3, 31));
    EXPECT_TRUE(m_sez.NicNevyhovuje(OBLAST_ZTI, 31));
    EXPECT_TRUE(m_sez.NicNevyhovuje(OBLAST_SITE, MEDIUM_PLYN));
    EXPECT_FALSE(m_sez.NicNevyhovuje(OBLAST_SITE, MEDIUM_VODA | MEDIUM_PLYN));
}

TEST_F(Materialy, ChangesMarkTheListUnsaved) {
    CVoxMaterial* m = Novy(L"M", POPIS_DXT);
    CVoxProfil* p = Profil(m, 1, 16, 2.0f);
    m_sez.SetModified(false);
    p->SetOuter(17);
    EXPECT_FALSE(m_sez.JeUlozeno());
    m_sez.SetModified(false);
    p->SetKodMontaz(L"X");
    EXPECT_FALSE(m_sez.JeUlozeno());
}

TEST_F(Materialy, HoldersAreCheckedAndCleared) {
    CVoxMaterial* m = Novy(L"Držený", POPIS_DXT);
    CVoxProfil* p = Profil(m, 3, 20, 2.0f);
    CVoxMaterial* pCur = m;
    CVoxProfil* pProf = p;
    CVoxMaterial* pJiny = nullptr;
    EXPECT_EQ(Chyba([&] { m->OdeberOdkaz(&pCur); }), "Počet ukazatelů je 0");
    m->PridejOdkaz(&pCur);
    p->PridejOdkaz(&pProf);
    EXPECT_EQ(Chyba([&] { m->PridejOdkaz(&pCur); }), "Předaný odkaz již existuje v seznamu odkazů");
    EXPECT_EQ(Chyba([&] { m->OdeberOdkaz(&pJiny); }), "Předaný ukazatel není v seznamu odkazů");

    // In use: not deleted.
    EXPECT_FALSE(m->SmazProfil(p));
    EXPECT_FALSE(m_sez.SmazMaterial(m));
    std::wstring t = transcript();
    EXPECT_NE(t.find(L"Profil je používán, nelze jej vymazat"), std::wstring::npos);
    EXPECT_NE(t.find(L"** Kresbon pro AutoCad **\nMateriál je používán, nelze jej vymazat"),
              std::wstring::npos);
    EXPECT_TRUE(m_sez.Najdi(L"Držený", nullptr));

    // A working copy takes copies of the holder lists and the profiles' sizes, width included;
    // dropping it leaves the holders alone.
    p->SetSirka(40);
    {
        CVoxSezMaterialu kopie;
        kopie.Prirad(m_sez);
        CVoxMaterial* pKopie = nullptr;
        ASSERT_TRUE(kopie.Najdi(L"Držený", &pKopie));
        EXPECT_NE(pKopie, m);
        EXPECT_TRUE(pKopie->JePouzivan());
        EXPECT_EQ(pKopie->Profil(3)->GetOuter(), 20);
        EXPECT_EQ(pKopie->Profil(3)->GetSirka(), 40u);
    }
    EXPECT_EQ(pCur, m);
    EXPECT_EQ(pProf, p);

    // Prirad keeps a used material alive out of the list; the list's end clears its holders.
    {
        auto* pSez = new CVoxSezMaterialu;
        pSez->Prirad(m_sez);
        CVoxMaterial* pM = nullptr;
        ASSERT_TRUE(pSez->Najdi(L"Držený", &pM));
        pM->Odkazy().Vyprazdni();
        pM->Odkazy().Pridej(&pCur);
        pM->Odkazy().Presmeruj(pM);
        CVoxSezMaterialu jiny;
        pSez->Prirad(jiny); // drops pM from the list, but it is in use
        EXPECT_EQ(pCur, pM);
        EXPECT_EQ(pM->GetNazev(), L"Držený");
        delete pSez;
        EXPECT_EQ(pCur, nullptr);
    }
    pCur = m;
    m->Odkazy().Vyprazdni();
    m->PridejOdkaz(&pCur);
    m_sez.Vymaz(false);
    EXPECT_EQ(pCur, nullptr);
    EXPECT_EQ(pProf, nullptr);
}

TEST_F(Materialy, ZahrnProfilyAndPrevezmiDrzitele) {
    CVoxMaterial* a = Novy(L"A", POPIS_DXT);
    CVoxMaterial* b = Novy(L"B", POPIS_DXT);
    Profil(a, 3, 20, 2.0f);
    Profil(b, 3, 21, 2.5f);
    Profil(b, 4, 25, 2.3f);
    a->ZahrnProfily(*b);
    EXPECT_EQ(a->GetProfilCount(), 2);
    EXPECT_EQ(a->Profil(3)->GetOuter(), 20); // its own stays
    EXPECT_EQ(a->Profil(4)->GetOuter(), 25);
    EXPECT_EQ(a->Profil(4)->GetMaterial(), a);
    CVoxMaterial* pDrzitel = b;
    b->PridejOdkaz(&pDrzitel);
    a->PrevezmiDrzitele(*b);
    EXPECT_EQ(pDrzitel, a);
    EXPECT_FALSE(b->JePouzivan());
    EXPECT_TRUE(m_sez.SmazMaterial(b));
    EXPECT_EQ(pDrzitel, a);
    a->OdeberOdkaz(&pDrzitel);
}

} // namespace
