// The material edit dialog: the in-place edit rules of a profile, OK and Cancel with the list
// and its holders, and the shell's ShellExecuteW of the help button.
#include "StdAfx.h"

#include "CKvDlgMatEdituj.h"
#include "CVoxMaterial.h"
#include "CVoxSezMaterialu.h"

#include "hostfixture.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

class MatEdituj : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        const fs::path data = fs::path(m_home) / "data";
        fs::create_directories(data);
        for (const wchar_t* s : {L"CommonInstallPath", L"CommonDataPath"})
            setMachineString(L"Software\\Pelmex\\", s, data.wstring());
        // A type "D x t" material with SDr 11 and the rows DN 100 .. DN 150, and a second one.
        ASSERT_TRUE(m_sez.NovyMaterial(L"PE", &m_pPE));
        CVoxMaterialData d;
        m_pPE->Data(d);
        d.m_iPN = 0;
        d.m_iSDr = 4;
        m_pPE->Nastav(d);
        m_pPE->GenerujProfily(11, 13);
        ASSERT_TRUE(m_sez.NovyMaterial(L"PVC", nullptr));
        m_sez.SetModified(false);
    }

    CVoxSezMaterialu m_sez;
    CVoxMaterial* m_pPE = nullptr;
};

TEST_F(MatEdituj, OuterDiameterAndWallFollowTheNeighbouringDN) {
    CKvDlgMatEdituj dlg;
    CVoxProfil* p = m_pPE->Profil(11); // DN 100, 110 x 10
    ASSERT_NE(p, nullptr);
    // OD 110 with a wall of 10: di 90 lies between the neighbours, the wall stays.
    EXPECT_EQ(dlg.EditujProfil(p, CKvDlgMatEdituj::SL_VNEJSI, L"110"), L"");
    EXPECT_FLOAT_EQ(p->GetWall(), 10.0f);
    EXPECT_FLOAT_EQ(p->GetInner(), 90.0f);
    // A wall of 40 would leave di 30, below DN 80: OD becomes 80 + 2t.
    EXPECT_EQ(dlg.EditujProfil(p, CKvDlgMatEdituj::SL_STENA, L"40"), L"");
    EXPECT_EQ(p->GetOuter(), 160);
    EXPECT_FLOAT_EQ(p->GetInner(), 80.0f);
    // OD 110 with that wall: the wall becomes (110 - 80) / 2.
    EXPECT_EQ(dlg.EditujProfil(p, CKvDlgMatEdituj::SL_VNEJSI, L"110,0"), L"");
    EXPECT_EQ(p->GetOuter(), 110);
    EXPECT_FLOAT_EQ(p->GetWall(), 15.0f);
    EXPECT_EQ(std::wstring(p->GetPopis()), L"110x15.0");
    // A wall that leaves no hole, an OD below the lower DN, text that is no number.
    EXPECT_EQ(dlg.EditujProfil(p, CKvDlgMatEdituj::SL_STENA, L"60"),
              L"OD - 2x stěna je menší než 0, trubka nemá díru");
    EXPECT_EQ(dlg.EditujProfil(p, CKvDlgMatEdituj::SL_VNEJSI, L"50"),
              L"Zadaný průměr neodpovídá zadanému DN, nejprve změňte DN");
    EXPECT_EQ(dlg.EditujProfil(p, CKvDlgMatEdituj::SL_VNEJSI, L"-5"),
              L"Zadejte kladné desetinné číslo");
    EXPECT_EQ(dlg.EditujProfil(p, CKvDlgMatEdituj::SL_STENA, L""),
              L"Zadejte kladné desetinné číslo");
    EXPECT_EQ(p->GetOuter(), 110);
    EXPECT_FLOAT_EQ(p->GetWall(), 15.0f);

    // The first row has no neighbours: only the hole is checked.
    CVoxProfil* pPrvni = nullptr;
    ASSERT_TRUE(m_pPE->PridejProfil(0, &pPrvni));
    EXPECT_EQ(dlg.EditujProfil(pPrvni, CKvDlgMatEdituj::SL_VNEJSI, L"1"),
              L"OD - 2x stěna je menší než 0, trubka nemá díru");
    EXPECT_EQ(dlg.EditujProfil(pPrvni, CKvDlgMatEdituj::SL_VNEJSI, L"300"), L"");
    EXPECT_EQ(pPrvni->GetOuter(), 300);
}

TEST_F(MatEdituj, InnerDiameterDNAndWidth) {
    CKvDlgMatEdituj dlg;
    CVoxProfil* p = m_pPE->Profil(11);
    EXPECT_EQ(dlg.EditujProfil(p, CKvDlgMatEdituj::SL_VNITRNI, L"70"),
              L"Zadaný průměr neodpovídá zadanému DN, nejprve změňte DN");
    EXPECT_EQ(dlg.EditujProfil(p, CKvDlgMatEdituj::SL_VNITRNI, L"140"),
              L"Zadaný průměr neodpovídá zadanému DN, nejprve změňte DN");
    EXPECT_FLOAT_EQ(p->GetInner(), 90.0f);
    EXPECT_EQ(dlg.EditujProfil(p, CKvDlgMatEdituj::SL_VNITRNI, L"96"), L"");
    EXPECT_FLOAT_EQ(p->GetWall(), 7.0f);
    // An inner diameter above the outer one of a circle.
    CVoxProfil* p150 = m_pPE->Profil(13); // 160 x 14.5
    EXPECT_EQ(dlg.EditujProfil(p150, CKvDlgMatEdituj::SL_VNITRNI, L"161"),
              L"Vnitřní průměr nesmí být větší než vnější");

    // A DN another profile has is refused; a free one re-keys the profile without new sizes.
    EXPECT_EQ(dlg.EditujProfil(p, CKvDlgMatEdituj::SL_DN, L"DN 125"),
              L"DN již existuje, zadejte jiné DN");
    EXPECT_EQ(p->GetDN(), 11);
    EXPECT_EQ(dlg.EditujProfil(p, CKvDlgMatEdituj::SL_DN, L"DN 80"), L"");
    EXPECT_EQ(p->GetDN(), 10);
    EXPECT_EQ(m_pPE->Profil(10), p);
    EXPECT_EQ(m_pPE->Profil(11), nullptr);
    EXPECT_EQ(p->GetOuter(), 110);

    EXPECT_EQ(dlg.EditujProfil(p, CKvDlgMatEdituj::SL_SIRKA, L"350.7"), L"");
    EXPECT_EQ(p->GetSirka(), 350u);
    EXPECT_FALSE(m_sez.JeUlozeno());
}

TEST_F(MatEdituj, OkGivesTheListTheCopyAndMovesTheHolders) {
    // A holder that goes away before the list (as a command's context may).
    auto* ppDrzeny = new CVoxMaterial*(m_pPE);
    m_pPE->PridejOdkaz(ppDrzeny);
    // Rename the held material, try to delete it, delete the other one.
    input(L"select 11063 0\nclick 11067\n11084=PE 100\nclick 11082\nclick 11064\n\n"
          L"select 11063 1\nclick 11064\nOK\n");
    CKvDlgMatEdituj dlg;
    ASSERT_EQ(dlg.DoModal(&m_sez), IDOK);
    const std::wstring t = transcript();
    EXPECT_NE(t.find(L"Materiál je používán, nelze jej vymazat"), std::wstring::npos);
    EXPECT_EQ(m_sez.GetCount(), 1);
    CVoxMaterial* pNovy = nullptr;
    ASSERT_TRUE(m_sez.Najdi(L"PE 100", &pNovy));
    EXPECT_EQ(*ppDrzeny, pNovy);
    EXPECT_TRUE(pNovy->JePouzivan());
    EXPECT_EQ(pNovy->GetProfilCount(), 3);
    // The change was written to the user's catalogue.
    EXPECT_TRUE(m_sez.JeUlozeno());
    CVoxSezMaterialu zeSouboru;
    ASSERT_TRUE(zeSouboru.Nacti(false));
    EXPECT_TRUE(zeSouboru.Najdi(L"PE 100", nullptr));
    EXPECT_FALSE(zeSouboru.Najdi(L"PVC", nullptr));
    // Unregistered from the material it points at, the holder is gone for the list as a whole.
    pNovy->OdeberOdkaz(ppDrzeny);
    delete ppDrzeny;
}

TEST_F(MatEdituj, CancelWritesOnlyTheFile) {
    CVoxMaterial* pDrzeny = m_pPE;
    m_pPE->PridejOdkaz(&pDrzeny);
    // Codes typed for a profile are kept when the selection moves; Cancel first stays, then Yes.
    input(L"select 11063 0\nselect 11049 0\n11081=K1\n11072=M1\nselect 11049 1\n"
          L"click 11071\nNo\nCancel\nCancel\nCancel\nYes\n");
    CKvDlgMatEdituj dlg;
    ASSERT_EQ(dlg.DoModal(&m_sez), IDCANCEL);
    EXPECT_EQ(pDrzeny, m_pPE);
    EXPECT_EQ(std::wstring(m_pPE->Profil(11)->GetKodMontaz()), L"");
    EXPECT_FALSE(dlg.Kopie().Materialy().begin()->second->JePouzivan());
    CVoxSezMaterialu zeSouboru;
    ASSERT_TRUE(zeSouboru.Nacti(false));
    CVoxMaterial* pPE = nullptr;
    ASSERT_TRUE(zeSouboru.Najdi(L"PE", &pPE));
    EXPECT_EQ(std::wstring(pPE->Profil(11)->GetKodMontaz()), L"K1");
    EXPECT_EQ(std::wstring(pPE->Profil(11)->GetKodMaterial()), L"M1");
    m_pPE->OdeberOdkaz(&pDrzeny);
}

TEST_F(MatEdituj, ProfileButtonsNeedAMaterialAndStopAtTheLastRow) {
    // "+" without a material, then on PE (after DN 150 comes DN 200), then on a full material.
    input(L"click 11068\n\nselect 11063 0\nselect 11049 2\nclick 11068\nclick 11085\n"
          L"11057=DN 8\n11045=DN 1200\nOK\nclick 11068\n\nOK\n");
    CKvDlgMatEdituj dlg;
    ASSERT_EQ(dlg.DoModal(&m_sez), IDOK);
    const std::wstring t = transcript();
    EXPECT_NE(t.find(L"Chyba při načítání položky materiálu"), std::wstring::npos);
    EXPECT_NE(t.find(L"*3: 200x18.2 | 200 | 18.2 | 163.6 | DN 200"), std::wstring::npos);
    EXPECT_NE(t.find(L"Dialog: click 11068\n\n** Kresbon pro AutoCad **\nNelze přidat již další "
                     L"DN !!"),
              std::wstring::npos);
    CVoxMaterial* pPE = nullptr;
    ASSERT_TRUE(m_sez.Najdi(L"PE", &pPE));
    EXPECT_EQ(pPE->GetProfilCount(), POCET_DN);
}

TEST_F(MatEdituj, TheFormChecksItsFields) {
    // A new material after PE ("D x t"): an overlong name, a roughness out of range, the label
    // format dialog cancelled.
    input(L"select 11063 0\nclick 11066\n11084=ABCDEFGHIJKLMNOPQRSTUVW\n11075=3.5\nclick 11082\n"
          L"11075=2\nclick 11012\nCancel\nclick 11082\nOK\n");
    CKvDlgMatEdituj dlg;
    ASSERT_EQ(dlg.DoModal(&m_sez), IDOK);
    const std::wstring t = transcript();
    EXPECT_NE(
        t.find(L"11084 balloon: [Příliš dlouhý název] Maximální délka je omezena na 20 znaků"),
        std::wstring::npos);
    // The roughness is refused once, when the field is left.
    const std::wstring sMimo = L"11075 balloon: [Zadání mimo rozsah] Hydraulická drsnost potrubí "
                               L"[mm]\nod 0.01 do 3.0";
    const size_t n = t.find(sMimo);
    ASSERT_NE(n, std::wstring::npos);
    EXPECT_EQ(t.find(sMimo, n + 1), std::wstring::npos);
    EXPECT_NE(t.find(L"** Dialog 501: Zadej formát popisu **"), std::wstring::npos);

    CVoxMaterial* p = nullptr;
    ASSERT_TRUE(m_sez.Najdi(L"ABCDEFGHIJKLMNOPQRST", &p));
    EXPECT_EQ(p->GetPopis(), L"ABCDEFGHIJKLMNOPQRST");
    EXPECT_FLOAT_EQ(p->GetDrsnost(), 2.0f);
    EXPECT_EQ(p->GetTypPopisu(), POPIS_DXT);
    EXPECT_EQ(m_sez.GetCount(), 3);
}

TEST_F(MatEdituj, TheChoiceDialogOpensTheEditorOnItsList) {
    // On the list: a material made in the editor shows in the choice after OK.
    input(L"click 11047\nclick 11066\n11084=Nový\nclick 11082\nOK\nselect 11063 0\nOK\n");
    CKvDlgMatVyber dlg;
    ASSERT_EQ(dlg.DoModal(&m_sez, OBLAST_VSE, MEDIUM_VSE, false), IDOK);
    ASSERT_NE(dlg.m_pMaterial, nullptr);
    EXPECT_EQ(dlg.m_pMaterial->GetNazev(), L"Nový");
    // Without a list the editor cannot open.
    CKvDlgMatVyber bezSeznamu;
    input(L"click 11047\n\nCancel\n");
    EXPECT_EQ(bezSeznamu.DoModal(nullptr, OBLAST_VSE, MEDIUM_VSE, false), IDCANCEL);
    EXPECT_NE(transcript().find(L"Nelze otevřít dialog editace materiálů - neznámá chyba"),
              std::wstring::npos);
}

TEST_F(MatEdituj, ShellExecutePrintsWhatItWouldOpen) {
    unsetenv("KRESBON_OPEN_URLS");
    HINSTANCE h = ShellExecuteW(nullptr, L"open", L"https://example.org/a b", nullptr, nullptr,
                                SW_SHOWNORMAL);
    EXPECT_GT(reinterpret_cast<std::intptr_t>(h), 32);
    EXPECT_NE(transcript().find(L"ShellExecute: open https://example.org/a b\n"),
              std::wstring::npos);
    h = ShellExecuteW(nullptr, L"open", nullptr, nullptr, nullptr, SW_SHOWNORMAL);
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(h), SE_ERR_FNF);
}

} // namespace
