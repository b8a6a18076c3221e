#include "StdAfx.h"

#include "CKvDlgMultiTrubky.h"

#include "CVoxMultiTrubky.h"
#include "CVoxSet.h"
#include "CVoxVyber.h"
#include "CzLocale.h"

#include <algorithm>
#include <cmath>

namespace {

const AfxDialogResource s_dlgMultiTrubky{{
    .nID = IDD_MULTITRUBKY,
    .sCaption = L"Multičáry",
    .controls =
        {
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Zdrojové hladiny"},
            {.nID = IDC_MUT_ZDROJ,
             .nKind = AfxCtl::ListBox,
             .sText = L"Zdrojové hladiny",
             .dwStyle = LBS_MULTIPLESEL,
             .nRows = 12},
            {.nID = IDC_MUT_VYKRES,
             .nKind = AfxCtl::RadioButton,
             .sText = L"Výkres",
             .dwStyle = WS_GROUP},
            {.nID = IDC_MUT_STANDARDNI, .nKind = AfxCtl::RadioButton, .sText = L"Standardní"},
            {.nID = IDC_MUT_PRIDAT,
             .nKind = AfxCtl::PushButton,
             .sText = L">",
             .dwStyle = WS_GROUP},
            {.nID = IDC_MUT_ODEBRAT, .nKind = AfxCtl::PushButton, .sText = L"<"},
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Hladiny pro multitrubky"},
            {.nID = IDC_MUT_HLADINY,
             .nKind = AfxCtl::ListBox,
             .sText = L"Hladiny pro multitrubky",
             .nRows = 12},
            {.nID = IDC_MUT_NAHORU, .nKind = AfxCtl::PushButton, .sText = L"UP"},
            {.nID = IDC_MUT_DOLU, .nKind = AfxCtl::PushButton, .sText = L"DW"},
            {.nID = IDC_MUT_PROHODIT, .nKind = AfxCtl::PushButton, .sText = L"PR"},
            {.nID = IDC_MUT_VYBRAT, .nKind = AfxCtl::PushButton, .sText = L"Vybrat z výkresu"},
            {.nID = IDC_MUT_VYMAZAT, .nKind = AfxCtl::PushButton, .sText = L"Vymazat vše"},
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Rozteč:"},
            {.nID = IDC_MUT_ROZTEC,
             .nKind = AfxCtl::Edit,
             .sText = L"Rozteč:",
             .dwStyle = ES_NUMBER},
            {.nID = IDC_MUT_SPIN,
             .nKind = AfxCtl::Spin,
             .sText = L"Rozteč:",
             .dwStyle = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS},
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"mm"},
            {.nID = IDC_MUT_HORNI,
             .nKind = AfxCtl::RadioButton,
             .sText = L"Horní trubka",
             .dwStyle = WS_GROUP},
            {.nID = IDC_MUT_STRED, .nKind = AfxCtl::RadioButton, .sText = L"Střed"},
            {.nID = IDC_MUT_SPODNI, .nKind = AfxCtl::RadioButton, .sText = L"Spodní trubka"},
            {.nID = IDOK,
             .nKind = AfxCtl::DefPushButton,
             .sText = L"Kreslit..",
             .dwStyle = WS_GROUP},
            {.nID = IDCANCEL, .nKind = AfxCtl::PushButton, .sText = L"Cancel"},
        },
}};

const int MAX_ROZTEC = 10000;

} // namespace

BEGIN_MESSAGE_MAP(CKvDlgMultiTrubky, CKvAcDialog)
ON_BN_CLICKED(IDC_MUT_VYKRES, &CKvDlgMultiTrubky::OnVykres)
ON_BN_CLICKED(IDC_MUT_STANDARDNI, &CKvDlgMultiTrubky::OnStandardni)
ON_BN_CLICKED(IDC_MUT_PRIDAT, &CKvDlgMultiTrubky::OnPridat)
ON_BN_CLICKED(IDC_MUT_ODEBRAT, &CKvDlgMultiTrubky::OnOdebrat)
ON_BN_CLICKED(IDC_MUT_NAHORU, &CKvDlgMultiTrubky::OnNahoru)
ON_BN_CLICKED(IDC_MUT_DOLU, &CKvDlgMultiTrubky::OnDolu)
ON_BN_CLICKED(IDC_MUT_PROHODIT, &CKvDlgMultiTrubky::OnProhodit)
ON_BN_CLICKED(IDC_MUT_VYBRAT, &CKvDlgMultiTrubky::OnVybrat)
ON_BN_CLICKED(IDC_MUT_VYMAZAT, &CKvDlgMultiTrubky::OnVymazat)
END_MESSAGE_MAP()

CKvDlgMultiTrubky::CKvDlgMultiTrubky(CWnd* pParent)
    : CKvAcDialog(IDD_MULTITRUBKY, pParent), m_lbHladiny(false) {}

int CKvDlgMultiTrubky::Milimetry(double dRoztec, double dJednotky) {
    // Truncated to whole millimetres; the small allowance keeps 0.1 m from becoming 99 mm.
    return static_cast<int>(std::floor(dRoztec * 1000.0 / dJednotky + 1e-6));
}

bool CKvDlgMultiTrubky::SeradCesky(std::vector<std::wstring>& aJmena) {
    const _locale_t locale = CzLocale;
    if (!locale) {
        std::sort(aJmena.begin(), aJmena.end());
        return false;
    }
    std::stable_sort(aJmena.begin(), aJmena.end(),
                     [locale](const std::wstring& a, const std::wstring& b) {
                         return _wcscoll_l(a.c_str(), b.c_str(), locale) < 0;
                     });
    return true;
}

INT_PTR CKvDlgMultiTrubky::Nastav(CVoxMultiTrubky& objMulti) {
    CKvDlgMultiTrubky dlg(CWnd::FromHandle(adsw_acadMainWnd()));
    // The object keeps the bundle from the picked points outwards; the dialog lists it from
    // the top pipe down, so the list reads as the bundle looks when drawn from left to right.
    dlg.m_aHladiny.assign(objMulti.m_aHladiny.rbegin(), objMulti.m_aHladiny.rend());
    dlg.m_nRoztec = Milimetry(objMulti.m_dRoztec, objMulti.Jednotky());
    dlg.m_nTyp = objMulti.m_nTypVedeni;
    const INT_PTR nVysledek = dlg.DoModal();
    if (nVysledek != IDOK)
        return nVysledek;

    const std::vector<std::wstring> aPuvodni = objMulti.m_aHladiny;
    objMulti.m_aHladiny = dlg.m_aHladiny;
    try {
        objMulti.ZalozHladiny();
    } catch (...) {
        objMulti.m_aHladiny = aPuvodni;
        throw;
    }
    objMulti.m_nTypVedeni = dlg.m_nTyp;
    objMulti.m_dRoztec = dlg.m_nRoztec * objMulti.Jednotky() / 1000.0;
    objMulti.ObratHladiny();
    return nVysledek;
}

void CKvDlgMultiTrubky::DoDataExchange(CDataExchange* pDX) {
    CKvAcDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MUT_ZDROJ, m_lbZdroj);
    DDX_Control(pDX, IDC_MUT_HLADINY, m_lbHladiny);
    DDX_Text(pDX, IDC_MUT_ROZTEC, m_nRoztec);
    DDV_MinMaxInt(pDX, m_nRoztec, 1, MAX_ROZTEC);
    DDX_Radio(pDX, IDC_MUT_HORNI, m_nTyp);
}

BOOL CKvDlgMultiTrubky::OnInitDialog() {
    CKvAcDialog::OnInitDialog();

    auto* pSpin = static_cast<CSpinButtonCtrl*>(GetDlgItem(IDC_MUT_SPIN));
    pSpin->SetBuddy(GetDlgItem(IDC_MUT_ROZTEC));
    pSpin->SetRange32(1, MAX_ROZTEC);
    pSpin->SetPos32(m_nRoztec);

    CheckRadioButton(IDC_MUT_VYKRES, IDC_MUT_STANDARDNI,
                     m_bStandardni ? IDC_MUT_STANDARDNI : IDC_MUT_VYKRES);
    NaplnZdroj();
    NastavHladiny(m_aHladiny, -1);

    PridejTip(IDC_MUT_ZDROJ, L"Zdrojový seznam hladin,přetáhněte potřebné hladiny do pravého "
                             L"seznamu myší nebo tlačítky mezi seznamy");
    PridejTip(IDC_MUT_HLADINY,
              L"Seznam hladin pro tvorbu multičáry.Přetáhněte potřebné hladiny z levého seznamu "
              L"myší nebo tlačítky mezi seznamy pořadí hladin je možné měnit přetažením nebo "
              L"tlačítky vpravo");
    PridejTip(IDC_MUT_VYBRAT, L"Naplnit seznam hladin vybráním entit z výkresu");
    PridejTip(IDC_MUT_VYMAZAT, L"Vypráznit seznam hladin");
    PridejTip(IDC_MUT_ROZTEC,
              L"Rozteč mezi jednotlivými trubkami v milimetrech v případě jiných jednotek "
              L"(JEDNOTKY) se přepočítá, např. 100 mm pro <m> bdue 0.1 a pro <cm> 10");
    PridejTip(IDCANCEL, L"Opustí dialog bez uložení změn");
    PridejTip(IDOK, L"Kreslit multitrubku s nastavenými parametry");
    PridejTip(IDC_MUT_PRIDAT, L"Přesunout vybranou hladinu z levého seznamu do pravého");
    PridejTip(IDC_MUT_ODEBRAT, L"Vymazat vybranou hladinu z pravého seznamu");
    PridejTip(IDC_MUT_NAHORU, L"Přesune vybranou hladinu o jednu pozici výš");
    PridejTip(IDC_MUT_DOLU, L"Přesune vybranou hladinu o jednu pozici níž");
    PridejTip(IDC_MUT_PROHODIT, L"Prohodí pořadí hladin");
    PridejTip(IDC_MUT_HORNI, L"Vodicí trubka bude nahoře (při kreslení zleva doprava)");
    PridejTip(IDC_MUT_STRED, L"Vodicí trubka bude uprostřed (při kreslení zleva doprava)");
    PridejTip(IDC_MUT_SPODNI, L"Vodicí trubka bude dole (při kreslení zleva doprava)");
    return TRUE;
}

void CKvDlgMultiTrubky::OnOK() {
    if (m_lbHladiny.GetCount() < 2) {
        MessageBoxW(m_hWnd, L"Je nutné vybrat minimálně dvě trubky", L"Kresbon pro AutoCad",
                    MB_OK | MB_ICONWARNING);
        return;
    }
    if (!UpdateData(TRUE))
        return;
    m_aHladiny = Hladiny();
    EndDialog(IDOK);
}

void CKvDlgMultiTrubky::NaplnZdroj() {
    std::vector<std::wstring> aJmena;
    if (m_bStandardni) {
        for (const auto& [sKlic, def] : g_VoxSet.Hladiny())
            aJmena.push_back(def.m_sJmeno);
    } else {
        AcDbLayerTable* pTabulka = nullptr;
        AcDbLayerTableIterator* pIter = nullptr;
        if (acdbHostApplicationServices()->workingDatabase()->getLayerTable(
                pTabulka, AcDb::kForRead) == Acad::eOk) {
            if (pTabulka->newIterator(pIter) == Acad::eOk) {
                for (; !pIter->done(); pIter->step()) {
                    AcDbLayerTableRecord* pHladina = nullptr;
                    if (pIter->getRecord(pHladina, AcDb::kForRead) != Acad::eOk)
                        continue;
                    const ACHAR* sJmeno = nullptr;
                    if (pHladina->getName(sJmeno) == Acad::eOk && sJmeno)
                        aJmena.emplace_back(sJmeno);
                    pHladina->close();
                }
                delete pIter;
            }
            pTabulka->close();
        }
    }
    if (!SeradCesky(aJmena))
        acutPrintf(L"\nNepodařilo se nastavit národní třídění");
    m_lbZdroj.ResetContent();
    for (const std::wstring& sJmeno : aJmena)
        m_lbZdroj.AddString(sJmeno.c_str());
}

std::vector<std::wstring> CKvDlgMultiTrubky::Hladiny() const {
    std::vector<std::wstring> a;
    for (int i = 0; i < m_lbHladiny.GetCount(); ++i) {
        CString s;
        m_lbHladiny.GetText(i, s);
        a.emplace_back(s.GetString());
    }
    return a;
}

void CKvDlgMultiTrubky::NastavHladiny(const std::vector<std::wstring>& aHladiny, int nVybrana) {
    m_lbHladiny.ResetContent();
    for (const std::wstring& s : aHladiny)
        m_lbHladiny.AddString(s.c_str());
    m_lbHladiny.SetCurSel(nVybrana);
}

void CKvDlgMultiTrubky::OnVykres() {
    m_bStandardni = false;
    NaplnZdroj();
}

void CKvDlgMultiTrubky::OnStandardni() {
    m_bStandardni = true;
    NaplnZdroj();
}

void CKvDlgMultiTrubky::OnPridat() {
    const int nPocet = m_lbZdroj.GetSelCount();
    if (nPocet <= 0)
        return;
    std::vector<int> aVybrane(static_cast<size_t>(nPocet));
    m_lbZdroj.GetSelItems(nPocet, aVybrane.data());
    for (int i : aVybrane) {
        CString s;
        m_lbZdroj.GetText(i, s);
        m_lbHladiny.AddString(s);
    }
    m_lbZdroj.SetSel(-1, FALSE);
    m_lbHladiny.SetCurSel(m_lbHladiny.GetCount() - 1);
}

void CKvDlgMultiTrubky::OnOdebrat() {
    const int n = m_lbHladiny.GetCurSel();
    if (n < 0)
        return;
    m_lbHladiny.DeleteString(static_cast<UINT>(n));
    const int nPocet = m_lbHladiny.GetCount();
    m_lbHladiny.SetCurSel(n < nPocet ? n : nPocet - 1);
}

void CKvDlgMultiTrubky::OnNahoru() {
    const int n = m_lbHladiny.GetCurSel();
    if (n <= 0)
        return;
    std::vector<std::wstring> a = Hladiny();
    std::swap(a[static_cast<size_t>(n)], a[static_cast<size_t>(n - 1)]);
    NastavHladiny(a, n - 1);
}

void CKvDlgMultiTrubky::OnDolu() {
    const int n = m_lbHladiny.GetCurSel();
    if (n < 0 || n + 1 >= m_lbHladiny.GetCount())
        return;
    std::vector<std::wstring> a = Hladiny();
    std::swap(a[static_cast<size_t>(n)], a[static_cast<size_t>(n + 1)]);
    NastavHladiny(a, n + 1);
}

void CKvDlgMultiTrubky::OnProhodit() {
    std::vector<std::wstring> a = Hladiny();
    std::reverse(a.begin(), a.end());
    const int n = m_lbHladiny.GetCurSel();
    NastavHladiny(a, n < 0 ? -1 : static_cast<int>(a.size()) - 1 - n);
}

void CKvDlgMultiTrubky::OnVybrat() {
    std::vector<std::wstring> a = Hladiny();
    ShowWindow(SW_HIDE);
    resbuf* pFiltr = acutBuildList(-4, L"<or", RTDXF0, L"LINE", RTDXF0, L"LWPOLYLINE", RTDXF0,
                                   L"INSERT", -4, L"or>", 0);
    const ACHAR* aPrompty[2] = {L"\nVyber úsečky, polyline, nebo bloky: ", L""};
    ads_name sMnozina = {0, 0};
    const int nVysledek = acedSSGet(L":$", aPrompty, nullptr, pFiltr, sMnozina);
    acutRelRb(pFiltr);
    if (nVysledek == RTNORM) {
        ProjdiVyber(sMnozina, AcDb::kForRead, [&a](AcDbEntity* pEntita, const AcDbObjectId&) {
            AcString sJmeno;
            pEntita->layer(sJmeno);
            const std::wstring sHladina = sJmeno.kACharPtr();
            // Every layer once: a bundle selected whole gives each of its layers one pipe.
            if (std::find(a.begin(), a.end(), sHladina) == a.end())
                a.push_back(sHladina);
        });
        acedSSFree(sMnozina);
    }
    NastavHladiny(a, -1);
    ShowWindow(SW_SHOW);
}

void CKvDlgMultiTrubky::OnVymazat() {
    m_lbHladiny.ResetContent();
}
