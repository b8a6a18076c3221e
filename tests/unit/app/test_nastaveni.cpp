// The settings object and the registry routines it is built on.
#include "hostfixture.h"

#include "CKvDlgNastaveniUtilit.h"
#include "CVoxException.h"
#include "CVoxNastav.h"
#include "CVoxRegistry.h"

#include <fstream>
#include <sstream>

namespace {

const ACHAR* kProdukt = REG_KLIC_PRODUKT;
const ACHAR* kVyrobce = REG_KLIC_VYROBCE;

class Nastaveni : public HostFixture {
protected:
    // A raw value in the user's hive, of any type.
    void Zapis(const ACHAR* sKlic, const ACHAR* sHodnota, DWORD nTyp, const void* pData,
               DWORD nVelikost) {
        HKEY h = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, sKlic, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &h, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExW(h, sHodnota, 0, nTyp, static_cast<const BYTE*>(pData), nVelikost),
                  ERROR_SUCCESS);
        RegCloseKey(h);
    }
    bool Existuje(const ACHAR* sKlic, const ACHAR* sHodnota, DWORD* pTyp = nullptr,
                  DWORD* pVelikost = nullptr) {
        HKEY h = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, sKlic, 0, KEY_READ, &h) != ERROR_SUCCESS)
            return false;
        DWORD nTyp = 0, nVelikost = 0;
        LONG rc = RegQueryValueExW(h, sHodnota, nullptr, &nTyp, nullptr, &nVelikost);
        RegCloseKey(h);
        if (pTyp)
            *pTyp = nTyp;
        if (pVelikost)
            *pVelikost = nVelikost;
        return rc == ERROR_SUCCESS;
    }
};

TEST_F(Nastaveni, EmptyRegistryGivesDefaultsAndUnloadWritesThemWithTypesAndSizes) {
    {
        CVoxNastav n;
        EXPECT_EQ(n.m_nMultiVyber, 0u);
        EXPECT_EQ(n.m_nUchopeni, 1u);
        EXPECT_EQ(n.m_nTxtMtxt, 0u);
        EXPECT_EQ(n.m_nResetLayer, 1u);
        EXPECT_EQ(n.m_nSetByLayer, 1u);
        EXPECT_EQ(n.m_nAttEditMLine, 1u);
        EXPECT_EQ(n.m_nAttEditSingle, 1u);
        EXPECT_FALSE(n.m_bNastaveno);
        EXPECT_EQ(n.m_Predpony.GlobalniPredpona(), L"KB");
    }
    DWORD nTyp = 0, nVelikost = 0;
    const std::wstring sProdukt = std::wstring(kProdukt) + L"Nastaveni";
    ASSERT_TRUE(Existuje(sProdukt.c_str(), L"NASTAVENO", &nTyp, &nVelikost));
    EXPECT_EQ(nTyp, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(nVelikost, 1u);
    for (const ACHAR* s : {L"MULTIVYBER", L"TXT_MTXT", L"ATT_EDIT_MLINE", L"ATT_EDIT_SINGLE",
                           L"RESET_LAYER", L"SETBYLAYER"}) {
        ASSERT_TRUE(Existuje(sProdukt.c_str(), s, &nTyp, &nVelikost)) << s;
        EXPECT_EQ(nTyp, static_cast<DWORD>(REG_BINARY));
        EXPECT_EQ(nVelikost, 4u);
    }
    EXPECT_FALSE(Existuje(sProdukt.c_str(), L"UCHOPENI"));
    const std::wstring sVyrobce = std::wstring(kVyrobce) + L"Nastaveni";
    ASSERT_TRUE(Existuje(sVyrobce.c_str(), L"UCHOPENI", &nTyp, &nVelikost));
    EXPECT_EQ(nVelikost, 4u);
    std::wstring s;
    ASSERT_TRUE(CVoxRegistry::CtiRetezec(kVyrobce, L"PREDPONA", s, L"Common"));
    EXPECT_EQ(s, L"KB");
}

TEST_F(Nastaveni, MakerValueWinsPrefixFallsBackAndWrongTypesCountAsMissing) {
    CVoxRegistry::UlozDword(kVyrobce, L"UCHOPENI", 0, L"Nastaveni");
    CVoxRegistry::UlozDword(kProdukt, L"UCHOPENI", 1, L"Nastaveni");
    CVoxRegistry::UlozRetezec(kProdukt, L"PREDPONA", L"AB", L"Nastaveni");
    DWORD nDword = 1;
    const std::wstring sProdukt = std::wstring(kProdukt) + L"Nastaveni";
    Zapis(sProdukt.c_str(), L"MULTIVYBER", REG_DWORD, &nDword, 4);
    BYTE aDva[2] = {0, 0};
    Zapis(sProdukt.c_str(), L"RESET_LAYER", REG_BINARY, aDva, 2);
    {
        CVoxNastav n;
        EXPECT_EQ(n.m_nUchopeni, 0u);
        EXPECT_EQ(n.m_Predpony.GlobalniPredpona(), L"AB");
        EXPECT_EQ(n.m_nMultiVyber, 0u); // REG_DWORD is not the stored type
        EXPECT_EQ(n.m_nResetLayer, 1u); // two bytes are not four
    }
    DWORD n = 7;
    ASSERT_TRUE(CVoxRegistry::CtiDword(kProdukt, L"UCHOPENI", n, L"Nastaveni"));
    EXPECT_EQ(n, 1u); // the product key was not written
    ASSERT_TRUE(CVoxRegistry::CtiDword(kVyrobce, L"UCHOPENI", n, L"Nastaveni"));
    EXPECT_EQ(n, 0u);
    std::wstring s;
    ASSERT_TRUE(CVoxRegistry::CtiRetezec(kVyrobce, L"PREDPONA", s, L"Common"));
    EXPECT_EQ(s, L"AB");
}

TEST_F(Nastaveni, ValuesReadAreWrittenBackUnchangedAndSecondInstanceIsRefused) {
    CVoxRegistry::UlozBool(kProdukt, L"NASTAVENO", true, L"Nastaveni");
    CVoxRegistry::UlozDword(kProdukt, L"MULTIVYBER", 1, L"Nastaveni");
    CVoxRegistry::UlozDword(kProdukt, L"SETBYLAYER", 0, L"Nastaveni");
    CVoxRegistry::UlozRetezec(kVyrobce, L"PREDPONA", L"XY", L"Common");
    {
        CVoxNastav n;
        EXPECT_TRUE(n.m_bNastaveno);
        try {
            CVoxNastav druhy;
            FAIL() << "a second settings object was created";
        } catch (const CVoxException& e) {
            EXPECT_NE(std::string(e.what()).find("Nelze zalo\x9Eit v\xED"
                                                 "ce instanc\xED objektu "
                                                 "CVoxNastav ne\x9E 1"),
                      std::string::npos);
        }
    }
    bool b = false;
    DWORD n = 9;
    EXPECT_TRUE(CVoxRegistry::CtiBool(kProdukt, L"NASTAVENO", b, L"Nastaveni"));
    EXPECT_TRUE(b);
    EXPECT_TRUE(CVoxRegistry::CtiDword(kProdukt, L"MULTIVYBER", n, L"Nastaveni"));
    EXPECT_EQ(n, 1u);
    EXPECT_TRUE(CVoxRegistry::CtiDword(kProdukt, L"SETBYLAYER", n, L"Nastaveni"));
    EXPECT_EQ(n, 0u);
    std::wstring s;
    EXPECT_TRUE(CVoxRegistry::CtiRetezec(kVyrobce, L"PREDPONA", s, L"Common"));
    EXPECT_EQ(s, L"XY");
    // After the first object is gone a new one can be made.
    EXPECT_NO_THROW(CVoxNastav());
}

TEST_F(Nastaveni, RegistryReadersCheckTypeAndSizeAndStringsHaveALimit) {
    double d = 0;
    EXPECT_FALSE(CVoxRegistry::CtiDouble(kProdukt, L"CurMatDrsnost", d, L"Nastaveni"));
    CVoxRegistry::UlozDouble(kProdukt, L"CurMatDrsnost", 0.015, L"Nastaveni");
    EXPECT_TRUE(CVoxRegistry::CtiDouble(kProdukt, L"CurMatDrsnost", d, L"Nastaveni"));
    EXPECT_DOUBLE_EQ(d, 0.015);
    DWORD n = 0;
    EXPECT_FALSE(CVoxRegistry::CtiDword(kProdukt, L"CurMatDrsnost", n, L"Nastaveni"));
    bool b = false;
    EXPECT_FALSE(CVoxRegistry::CtiBool(kProdukt, L"CurMatDrsnost", b, L"Nastaveni"));
    std::wstring s;
    EXPECT_FALSE(CVoxRegistry::CtiRetezec(kProdukt, L"CurMatDrsnost", s, L"Nastaveni"));
    std::wstring dlouhy(600, L'a');
    CVoxRegistry::UlozRetezec(kProdukt, L"CurMat", dlouhy.c_str(), L"Nastaveni");
    EXPECT_FALSE(CVoxRegistry::CtiRetezec(kProdukt, L"CurMat", s, L"Nastaveni"));
    EXPECT_TRUE(CVoxRegistry::CtiRetezec(kProdukt, L"CurMat", s, L"Nastaveni", 700));
    EXPECT_EQ(s, dlouhy);
}

TEST_F(Nastaveni, DialogShowsTheDefaultMaterialKeptInTheRegistry) {
    CVoxNastav n;
    n.m_sDefMaterial = L"PPR3, PN 16";
    input(L"Cancel\n");
    EXPECT_EQ(CKvDlgNastaveniUtilit::Spust(n), IDCANCEL);
    EXPECT_NE(transcript().find(L"151 edit \"Výchozí materiál:\" = \"PPR3, PN 16\""),
              std::wstring::npos);
    // A material chosen in an earlier session is shown after a restart.
    CVoxRegistry::UlozRetezec(kProdukt, L"CurMat", L"PE 100 SDR 11", L"Nastaveni");
    input(L"Cancel\n");
    EXPECT_EQ(CKvDlgNastaveniUtilit::Spust(n), IDCANCEL);
    EXPECT_NE(transcript().find(L"151 edit \"Výchozí materiál:\" = \"PE 100 SDR 11\""),
              std::wstring::npos);
}

TEST_F(Nastaveni, FolderLookupPrefersMachineHiveAndAppendsSubfolder) {
    EXPECT_THROW(CVoxRegistry::NactiCestu(kProdukt, L"BLOKY", 1), CVoxException);
    const std::wstring sDomov(m_home.begin(), m_home.end());
    {
        HKEY h = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kProdukt, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &h, nullptr),
                  ERROR_SUCCESS);
        std::wstring v = sDomov + L"/uzivatel";
        RegSetValueExW(h, L"InstallPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()),
                       static_cast<DWORD>((v.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(h);
    }
    EXPECT_EQ(CVoxRegistry::NactiCestu(kProdukt, L"BLOKY", 1, true), sDomov + L"/uzivatel/BLOKY/");
    {
        HKEY h = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProdukt, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &h, nullptr),
                  ERROR_SUCCESS);
        std::wstring v = sDomov + L"/stroj/";
        RegSetValueExW(h, L"InstallPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()),
                       static_cast<DWORD>((v.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(h);
    }
    std::filesystem::create_directories(m_home + "/stroj");
    const std::wstring sCesta = CVoxRegistry::NactiCestu(kProdukt, L"BLOKY", 1, false, true);
    EXPECT_EQ(sCesta, sDomov + L"/stroj/BLOKY/");
    EXPECT_TRUE(std::filesystem::is_directory(m_home + "/stroj/BLOKY"));
    // A folder that cannot be made is reported.
    EXPECT_THROW(CVoxRegistry::NactiCestu(kProdukt, L"a/b/c", 1, false, true), CVoxException);
}

} // namespace
