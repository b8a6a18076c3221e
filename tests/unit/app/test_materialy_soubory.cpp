// The catalogue files: the writer byte for byte, the readers of every version, refusals, truncated
// files, the merge with its question, and Nacti / Uloz through the registry folders.
#include "StdAfx.h"

#include "CVoxMaterial.h"
#include "CVoxSezMaterialu.h"

#include "hostfixture.h"
#include "textconv.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

using Bajty = std::string;

Bajty Soubor(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return Bajty(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

fs::path Data(const char* sNazev) {
    return fs::path(KRESBON_SOURCE_DIR) / "tests" / "data" / "kvp" / sNazev;
}

fs::path Standard() {
    return fs::path(KRESBON_SOURCE_DIR) / "data" / "Common" / "Materialy" / "Potrubi_std.kvp";
}

Bajty Zapis(CVoxSezMaterialu& sez, bool bJenPouzite = false) {
    CMemFile f;
    {
        CArchive ar(&f, CArchive::store, 4096);
        sez.Serialize(ar, bJenPouzite);
        ar.Close();
    }
    Bajty b(static_cast<size_t>(f.GetLength()), '\0');
    BYTE* p = f.Detach();
    std::memcpy(b.data(), p, b.size());
    std::free(p);
    return b;
}

// Reads the bytes into the list; the text of what ended the read ("" when nothing did).
std::string Cti(CVoxSezMaterialu& sez, Bajty b, bool bJenPouzite = false) {
    CMemFile f(reinterpret_cast<BYTE*>(b.data()), static_cast<UINT>(b.size()));
    try {
        CArchive ar(&f, CArchive::load, 4096);
        sez.Serialize(ar, bJenPouzite);
    } catch (CArchiveException* e) {
        int n = e->m_cause;
        e->Delete();
        return n == CArchiveException::endOfFile ? "endOfFile" : "archive";
    } catch (const CVoxException& e) {
        std::wstring w;
        khost::fromCodePage(e.what(), 1250, w);
        std::string s = khost::toUtf8(w);
        return s.substr(0, s.find(", Line"));
    }
    return "";
}

CVoxMaterial* Mat(const CVoxSezMaterialu& sez, const wchar_t* sNazev) {
    CVoxMaterial* p = nullptr;
    sez.Najdi(sNazev, &p);
    return p;
}

class Soubory : public HostFixture {};

TEST_F(Soubory, EmptyListIsTwoBytes) {
    CVoxSezMaterialu sez;
    EXPECT_EQ(Zapis(sez), Bajty("\x03\xFF", 2));
    CVoxSezMaterialu zpet;
    EXPECT_EQ(Cti(zpet, Bajty("\x03\xFF", 2)), "");
    EXPECT_EQ(zpet.GetCount(), 0);
}

TEST_F(Soubory, WrittenListReadsBackEqualAndByteForByte) {
    CVoxSezMaterialu sez;
    CVoxMaterial* m = nullptr;
    ASSERT_TRUE(sez.NovyMaterial(L"Žlab", &m));
    CVoxMaterialData d;
    m->Data(d);
    d.m_nTypPopisu = POPIS_JINY;
    d.m_strPrefix = L"abcd";
    d.m_strSuffix = L"mm";
    d.m_bVnitrni = true;
    d.m_strVyrobce = L"Výrobce s.r.o.";
    d.m_strPodrobnyPopis = L"Podrobně";
    d.m_iPN = 3;
    d.m_iSDr = 4;
    d.m_nTvar = 4;
    d.m_nOblast = 2;
    d.m_nMedium = 5;
    d.m_dDrsnost = 0.3;
    m->Nastav(d);
    m->GenerujProfily(3, 6);
    m->Profil(4)->SetKodMaterial(L"123456789");
    m->Profil(4)->SetKodMontaz(L"ABC");
    m->Profil(5)->SetSirka(1500);
    ASSERT_TRUE(sez.NovyMaterial(L"Alfa", &m));

    const Bajty b = Zapis(sez);
    // The material "Alfa" comes first, in version 5; the prefix has four units and a 0 unit.
    EXPECT_EQ(b.substr(0, 3), Bajty("\x03\x05\x01", 3));
    EXPECT_NE(b.find(Bajty("a\0b\0c\0d\0\0\0m\0m\0\0\0", 16)), Bajty::npos);
    EXPECT_EQ(b.back(), '\xFF');

    CVoxSezMaterialu zpet;
    ASSERT_EQ(Cti(zpet, b), "");
    ASSERT_EQ(zpet.GetCount(), 2);
    CVoxMaterial* z = Mat(zpet, L"Žlab");
    ASSERT_NE(z, nullptr);
    EXPECT_TRUE(Mat(sez, L"Žlab")->Stejny(*z, false));
    EXPECT_EQ(z->GetPopis(), L"Žlab");
    EXPECT_STREQ(z->GetPrefix(), L"abcd");
    EXPECT_STREQ(z->GetSuffix(), L"mm");
    EXPECT_TRUE(z->GetVnitrni());
    EXPECT_EQ(z->GetVyrobce(), L"Výrobce s.r.o.");
    EXPECT_EQ(z->GetTvar(), 4u);
    EXPECT_EQ(z->GetMedium(), 5u);
    EXPECT_EQ(z->GetOblast(), 2u);
    EXPECT_EQ(z->GetPN(), 3);
    EXPECT_EQ(z->GetSDr(), 4);
    EXPECT_FLOAT_EQ(z->GetDrsnost(), 0.3f);
    ASSERT_EQ(z->GetProfilCount(), 4);
    for (const auto& [iDN, p] : Mat(sez, L"Žlab")->Profily()) {
        EXPECT_TRUE(*p == *z->Profil(iDN)) << iDN;
        EXPECT_STREQ(p->GetPopis(), z->Profil(iDN)->GetPopis());
    }
    EXPECT_STREQ(z->Profil(4)->GetKodMontaz(), L"ABC");
    EXPECT_EQ(z->Profil(5)->GetSirka(), 1500u);
    EXPECT_EQ(Zapis(zpet), b);
    EXPECT_TRUE(zpet.JeUlozeno());
}

TEST_F(Soubory, OnlyUsedMaterialsAndProfiles) {
    CVoxMaterial* pA = nullptr;
    CVoxProfil* pP = nullptr;
    CVoxSezMaterialu sez; // after the holders, so that it ends first
    CVoxMaterial* a = nullptr;
    sez.NovyMaterial(L"A", &a);
    sez.NovyMaterial(L"B", nullptr);
    a->GenerujProfily(1, 3);
    pA = a;
    pP = a->Profil(2);
    a->PridejOdkaz(&pA);
    a->Profil(2)->PridejOdkaz(&pP);
    CVoxSezMaterialu zpet;
    ASSERT_EQ(Cti(zpet, Zapis(sez, true)), "");
    ASSERT_EQ(zpet.GetCount(), 1);
    EXPECT_EQ(Mat(zpet, L"A")->GetProfilCount(), 1);
    EXPECT_NE(Mat(zpet, L"A")->Profil(2), nullptr);
}

TEST_F(Soubory, StandardCatalogueReadsAndWritesTheSameBytes) {
    const Bajty b = Soubor(Standard());
    ASSERT_FALSE(b.empty());
    CVoxSezMaterialu sez;
    ASSERT_EQ(Cti(sez, b), "");
    EXPECT_GE(sez.GetCount(), 12);
    CVoxMaterial* ppr = Mat(sez, L"PPR3, PN 16");
    ASSERT_NE(ppr, nullptr);
    EXPECT_EQ(ppr->GetOblast() & OBLAST_ZTI, OBLAST_ZTI);
    EXPECT_STREQ(ppr->Profil(11)->GetPopis(), L"110x15.1");
    EXPECT_FALSE(sez.NicNevyhovuje(OBLAST_ZTI, MEDIUM_VSE));
    for (const wchar_t* s :
         {L"PE100 SDR11, PN 16", L"PVC KG SN8", L"Ocel závitová", L"Měď", L"Litina SML", L"PP HT"})
        EXPECT_NE(Mat(sez, s), nullptr) << khost::toUtf8(s);
    EXPECT_STREQ(Mat(sez, L"PP HT")->Profil(11)->GetPopis(), L"d110");
    EXPECT_STREQ(Mat(sez, L"PVC KG SN8")->Profil(13)->GetPopis(), L"DN 150");
    for (const auto& [sNazev, m] : sez.Materialy())
        for (const auto& [iDN, p] : m->Profily())
            EXPECT_GT(p->GetInner(), 0.0f) << khost::toUtf8(sNazev.str());
    EXPECT_EQ(Zapis(sez), b);
}

TEST_F(Soubory, OlderVersionsReadByTheirRules) {
    for (const char* s : {"v0.kvp", "v1.kvp"}) {
        CVoxSezMaterialu sez;
        ASSERT_EQ(Cti(sez, Soubor(Data(s))), "") << s;
        CVoxMaterial* m = Mat(sez, L"Stará PVC");
        ASSERT_NE(m, nullptr) << s;
        EXPECT_EQ(m->GetTypPopisu(), POPIS_DN);
        EXPECT_EQ(m->GetPopis(), L"Stará PVC"); // the short description is the name
        EXPECT_EQ(m->GetVyrobce(), L"Plasty");
        EXPECT_FLOAT_EQ(m->GetDrsnost(), 0.25f);
        ASSERT_EQ(m->GetProfilCount(), 2);
        EXPECT_NE(m->Profil(14), nullptr); // DN 200 stays
        ASSERT_NE(m->Profil(16), nullptr); // the stored 15 was DN 250
        EXPECT_STREQ(m->Profil(16)->GetPopis(), L"DN 250");
        EXPECT_STREQ(m->Profil(14)->GetKodMaterial(), L"1234567890");
        EXPECT_EQ(m->Profil(16)->GetOuter(), 250);
    }
    {
        CVoxSezMaterialu sez;
        ASSERT_EQ(Cti(sez, Soubor(Data("v2.kvp"))), "");
        CVoxMaterial* m = Mat(sez, L"Ocel 2");
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->GetTypPopisu(), POPIS_DXT);
        EXPECT_STREQ(m->Profil(14)->GetPopis(), L"200x4.0"); // rebuilt, not the stored one
        EXPECT_NE(m->Profil(16), nullptr);
    }
    {
        CVoxSezMaterialu sez;
        ASSERT_EQ(Cti(sez, Soubor(Data("v3.kvp"))), "");
        CVoxMaterial* m = Mat(sez, L"Vlastní 3");
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->GetTypPopisu(), POPIS_JINY);
        EXPECT_STREQ(m->GetPrefix(), L"Ø");
        EXPECT_STREQ(m->GetSuffix(), L"mm");
        ASSERT_NE(m->Profil(15), nullptr); // version 3: no shift
        EXPECT_STREQ(m->Profil(15)->GetPopis(), L"Ø201mm");
        EXPECT_STREQ(m->Profil(15)->GetKodMaterial(), L"A1");
    }
    {
        CVoxSezMaterialu sez;
        ASSERT_EQ(Cti(sez, Soubor(Data("v4.kvp"))), "");
        CVoxMaterial* m = Mat(sez, L"Jiný 4");
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->GetMedium(), 31u); // 0 reads as all
        EXPECT_EQ(m->GetOblast(), 3u);
        EXPECT_EQ(m->GetPN(), -1);
        EXPECT_STREQ(m->Profil(11)->GetPopis(), L"d110");
        EXPECT_STREQ(m->Profil(11)->GetKodMaterial(), L"0123456789");
    }
    {
        CVoxSezMaterialu sez;
        ASSERT_EQ(Cti(sez, Soubor(Data("v5.kvp"))), "");
        CVoxMaterial* m = Mat(sez, L"Vejce 5");
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->GetTvar(), 1u);
        EXPECT_EQ(m->GetPopis(), L"Vejce 5");
        EXPECT_EQ(m->Profil(13)->GetSirka(), 100u);
        EXPECT_STREQ(m->Profil(13)->GetKodMontaz(), L"M5");
    }
    {
        CVoxSezMaterialu sez;
        ASSERT_EQ(Cti(sez, Soubor(Data("v6.kvp"))), "");
        CVoxMaterial* m = Mat(sez, L"PE 6");
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->GetPopis(), L"Polyetylen");
        EXPECT_EQ(m->Profil(11)->GetSirka(), 7u);
        EXPECT_STREQ(m->Profil(11)->GetKodMontaz(), L"W6");
    }
    {
        CVoxSezMaterialu sez;
        ASSERT_EQ(Cti(sez, Soubor(Data("ansi_name.kvp"))), "");
        EXPECT_NE(Mat(sez, L"Měď 8"), nullptr);
    }
}

TEST_F(Soubory, RefusedFilesKeepWhatWasRead) {
    const char* const sVyssi =
        "Nelze načíst, soubor byl uložen vyšší verzí programu, aktualizujte program";
    struct Pripad {
        const char* sSoubor;
        const char* sZprava;
        int nZbyva; // materials kept
    } pripady[] = {
        {"list_v4.kvp", sVyssi, 1},
        {"material_v7.kvp", sVyssi, 1},
        {"profile_v7.kvp", sVyssi, 2},
        {"unterminated.kvp", "Načítaný řetězec není ukončen nulou", 2},
        {"dn_range.kvp", "Nelze vložit nový profil", 2},
        {"dn_twice.kvp", "Nelze vložit nový profil", 2},
    };
    for (const Pripad& p : pripady) {
        CVoxSezMaterialu sez;
        sez.NovyMaterial(L"Původní", nullptr);
        EXPECT_EQ(Cti(sez, Soubor(Data(p.sSoubor))), p.sZprava) << p.sSoubor;
        EXPECT_EQ(sez.GetCount(), p.nZbyva) << p.sSoubor;
        EXPECT_TRUE(sez.Najdi(L"Původní", nullptr));
        if (p.nZbyva == 2) {
            EXPECT_TRUE(sez.Najdi(L"Dobrý", nullptr)) << p.sSoubor;
        }
    }
}

TEST_F(Soubory, EveryTruncationEndsCleanly) {
    for (const fs::path& p : {Data("v0.kvp"), Data("v3.kvp"), Data("v6.kvp"), Standard()}) {
        const Bajty cely = Soubor(p);
        CVoxSezMaterialu vzor;
        ASSERT_EQ(Cti(vzor, cely), "");
        // Every cut of the small files; the large one at a stride that meets every field kind.
        const size_t nKrok = cely.size() > 1000 ? 37 : 1;
        for (size_t n = 0; n < cely.size(); n += nKrok) {
            CVoxSezMaterialu sez;
            const std::string s = Cti(sez, cely.substr(0, n));
            ASSERT_FALSE(s.empty()) << p << " cut at " << n;
            // What was kept was read whole.
            for (const auto& [sNazev, m] : sez.Materialy()) {
                CVoxMaterial* v = Mat(vzor, sNazev);
                ASSERT_NE(v, nullptr);
                EXPECT_TRUE(v->Stejny(*m, false)) << p << " cut at " << n;
            }
        }
    }
}

// A list holding "PE 6" and "Stará PVC" in other forms than the files have.
class Slouceni : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        ASSERT_TRUE(m_sez.NovyMaterial(L"PE 6", &m_pPE));
        m_pPE->GenerujProfily(10, 10);
        ASSERT_TRUE(m_sez.NovyMaterial(L"Stará PVC", nullptr));
    }
    Bajty Oba() {
        // "PE 6" of v6.kvp and "Stará PVC" of v1.kvp in one list of today's form.
        CVoxSezMaterialu a;
        EXPECT_EQ(Cti(a, Soubor(Data("v6.kvp"))), "");
        EXPECT_EQ(Cti(a, Soubor(Data("v1.kvp"))), "");
        return Zapis(a);
    }
    int Otazek(const std::wstring& t) {
        int n = 0;
        for (size_t i = t.find(L"Tento materiál již existuje"); i != std::wstring::npos;
             i = t.find(L"Tento materiál již existuje", i + 1))
            ++n;
        return n;
    }
    CVoxSezMaterialu m_sez;
    CVoxMaterial* m_pPE = nullptr;
};

TEST_F(Slouceni, NoKeepsTheExistingAndTakesMissingProfiles) {
    input(L"No\nNo\n");
    ASSERT_EQ(Cti(m_sez, Oba()), "");
    std::wstring t = transcript();
    EXPECT_NE(t.find(L"** Kresbon pro AutoCad **\nTento materiál již existuje, přepsat "
                     L"standardním?\nPE 6\n[Ano všem/Ne všem/Yes/No]: No\n"),
              std::wstring::npos);
    EXPECT_EQ(Otazek(t), 2);
    EXPECT_EQ(t.find(L"Uložit materiály?"), std::wstring::npos);
    EXPECT_EQ(Mat(m_sez, L"PE 6"), m_pPE);
    EXPECT_EQ(m_pPE->GetProfilCount(), 2); // its DN 80 and the file's DN 100
    EXPECT_TRUE(m_sez.JeUlozeno());
}

TEST_F(Slouceni, YesReplacesAndHandsTheHoldersOver) {
    CVoxMaterial* pDrzitel = m_pPE;
    m_pPE->PridejOdkaz(&pDrzitel);
    // A holder of the DN 80 profile, which only the replaced material has.
    CVoxProfil* pDrzitelProfilu = m_pPE->Profil(10);
    ASSERT_NE(pDrzitelProfilu, nullptr);
    pDrzitelProfilu->PridejOdkaz(&pDrzitelProfilu);
    input(L"Yes\nNe všem\nNo\n");
    ASSERT_EQ(Cti(m_sez, Oba()), "");
    std::wstring t = transcript();
    EXPECT_EQ(Otazek(t), 2);
    EXPECT_NE(t.find(L"** Uložit materiály? **\nHlavní seznam materiálů byl při načítání "
                     L"projektu aktualizován\nULOŽIT?\n[Yes/No]: No"),
              std::wstring::npos);
    CVoxMaterial* pNovy = Mat(m_sez, L"PE 6");
    EXPECT_EQ(pDrzitel, pNovy);
    EXPECT_EQ(pNovy->GetPodrobnyPopis(), L"PE 100");
    EXPECT_EQ(pNovy->GetProfilCount(), 2); // the file's and the replaced one's
    EXPECT_TRUE(pNovy->JePouzivan());
    EXPECT_EQ(pDrzitelProfilu, pNovy->Profil(10));
    ASSERT_NE(pDrzitelProfilu, nullptr);
    EXPECT_TRUE(pDrzitelProfilu->JePouzivan());
    pDrzitelProfilu->OdeberOdkaz(&pDrzitelProfilu);
    EXPECT_FALSE(pNovy->Profil(10)->JePouzivan());
    pNovy->OdeberOdkaz(&pDrzitel);
}

TEST_F(Slouceni, AnAnswerForAllIsNotAskedAgainInThatLoad) {
    input(L"Ne všem\n");
    ASSERT_EQ(Cti(m_sez, Oba()), "");
    EXPECT_EQ(Otazek(transcript()), 1);
    // The next load asks again.
    input(L"Ano všem\nNo\n");
    ASSERT_EQ(Cti(m_sez, Oba()), "");
    std::wstring t = transcript();
    EXPECT_EQ(Otazek(t), 1);
    EXPECT_EQ(Mat(m_sez, L"PE 6")->GetPodrobnyPopis(), L"PE 100");
    EXPECT_EQ(Mat(m_sez, L"Stará PVC")->GetTypPopisu(), POPIS_DN);
}

TEST_F(Slouceni, EqualMaterialsAskNothing) {
    CVoxSezMaterialu sez;
    const Bajty b = Soubor(Standard());
    ASSERT_EQ(Cti(sez, b), "");
    const int n = sez.GetCount();
    ASSERT_EQ(Cti(sez, b), "");
    EXPECT_EQ(sez.GetCount(), n);
    EXPECT_EQ(Otazek(transcript()), 0);
}

// Nacti and Uloz with the folders of the registry.
class Katalogy : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        m_instal = fs::path(m_home) / "instal";
        m_data = fs::path(m_home) / "data";
        fs::create_directories(m_instal / "Materialy");
        fs::create_directories(m_data);
        Hodnota(L"CommonInstallPath", m_instal.wstring());
        Hodnota(L"CommonDataPath", m_data.wstring());
    }
    void Hodnota(const wchar_t* sNazev, const std::wstring& sHodnota) {
        setMachineString(L"Software\\Pelmex\\", sNazev, sHodnota);
    }
    fs::path Uzivatel() { return m_data / "Materialy" / "Potrubi.kvp"; }
    fs::path m_instal;
    fs::path m_data;
};

TEST_F(Katalogy, AMissingUserFileComesFromTheStandardOne) {
    fs::copy_file(Standard(), m_instal / "Materialy" / "Potrubi_std.kvp");
    CVoxSezMaterialu sez;
    EXPECT_TRUE(sez.Nacti(false));
    std::wstring t = transcript();
    EXPECT_NE(t.find(L"** Kresbon pro AutoCad **\nNelze otevřít soubor:\n"), std::wstring::npos);
    EXPECT_NE(t.find(L"Potrubi.kvp\nBude načten standardní soubor\n[OK]: "), std::wstring::npos);
    EXPECT_TRUE(sez.JeUlozeno());
    EXPECT_EQ(Soubor(Uzivatel()), Soubor(Standard()));
    EXPECT_FALSE(fs::exists(Uzivatel().string() + ".tmp"));
    // Read again from the user file: nothing asked, nothing to save.
    CVoxSezMaterialu znovu;
    EXPECT_TRUE(znovu.Nacti(false));
    EXPECT_EQ(transcript(), L"");
    EXPECT_EQ(znovu.GetCount(), sez.GetCount());
    for (const auto& [sNazev, m] : znovu.Materialy())
        EXPECT_EQ(m->GetIndex(), -2);
}

TEST_F(Katalogy, AMissingStandardFileIsReported) {
    CVoxSezMaterialu sez;
    EXPECT_FALSE(sez.Nacti(true));
    EXPECT_NE(transcript().find(L"Potrubi_std.kvp\n\nDoporučujeme přeinstalovat programKresbon pro "
                                L"AutoCad\n[OK]: "),
              std::wstring::npos);
}

TEST_F(Katalogy, ACorruptUserFileEndsInAMessageAndKeepsWhatWasRead) {
    fs::create_directories(m_data / "Materialy");
    fs::copy_file(Data("dn_twice.kvp"), Uzivatel());
    CVoxSezMaterialu sez;
    EXPECT_FALSE(sez.Nacti(false));
    EXPECT_NE(transcript().find(L"** Program vyvolal výjimku **\nNelze vložit nový profil"),
              std::wstring::npos);
    EXPECT_TRUE(sez.Najdi(L"Dobrý", nullptr));
    // Cut short: the class library's archive exception.
    Bajty b = Soubor(Standard());
    std::ofstream(Uzivatel(), std::ios::binary | std::ios::trunc) << b.substr(0, b.size() / 2);
    CVoxSezMaterialu pul;
    EXPECT_FALSE(pul.Nacti(false));
    EXPECT_NE(transcript().find(L"** Neočekávaná výjimka **\nChyba při čtení ze souboru"),
              std::wstring::npos);
    EXPECT_GT(pul.GetCount(), 0);
}

TEST_F(Katalogy, AFailedSaveLeavesTheCatalogueAlone) {
    CVoxSezMaterialu sez;
    EXPECT_TRUE(sez.Uloz()); // an empty list is not written
    EXPECT_FALSE(fs::exists(Uzivatel()));
    sez.NovyMaterial(L"A", nullptr);
    EXPECT_TRUE(sez.Uloz());
    const Bajty stary = Soubor(Uzivatel());
    EXPECT_EQ(stary.substr(0, 2), Bajty("\x03\x05", 2));
    sez.NovyMaterial(L"B", nullptr);
    // The temporary file cannot be made: the catalogue keeps its content.
    fs::create_directory(Uzivatel().string() + ".tmp");
    EXPECT_FALSE(sez.Uloz());
    EXPECT_NE(transcript().find(L"Nelze otevřít soubor:\n"), std::wstring::npos);
    EXPECT_EQ(Soubor(Uzivatel()), stary);
    EXPECT_FALSE(sez.JeUlozeno());
    fs::remove(Uzivatel().string() + ".tmp");
    EXPECT_TRUE(sez.Uloz());
    EXPECT_TRUE(sez.JeUlozeno());
    CVoxSezMaterialu zpet;
    EXPECT_TRUE(zpet.Nacti(false));
    EXPECT_EQ(zpet.GetCount(), 2);
}

} // namespace
