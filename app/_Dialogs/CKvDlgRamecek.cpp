#include "StdAfx.h"

#include "CKvDlgRamecek.h"

#include "CVoxRegistry.h"
#include "CVoxXRecord.h"

#include <algorithm>
#include <iterator>

namespace {

const AfxDialogResource s_dlgRamecek{{
    .nID = IDD_RAMECEK,
    .sCaption = L"Kresbon - Rámeček výkresu",
    .controls =
        {
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Šířka:"},
            {.nID = IDC_RAM_SIRKA, .nKind = AfxCtl::Edit, .sText = L"Šířka:", .dwStyle = ES_NUMBER},
            {.nID = IDC_RAM_SPIN_SIRKA, .nKind = AfxCtl::Spin, .sText = L"Šířka:"},
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Výška:"},
            {.nID = IDC_RAM_VYSKA, .nKind = AfxCtl::Edit, .sText = L"Výška:", .dwStyle = ES_NUMBER},
            {.nID = IDC_RAM_SPIN_VYSKA, .nKind = AfxCtl::Spin, .sText = L"Výška:"},
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Délka čárky\nformátu:"},
            {.nID = IDC_RAM_CARKA,
             .nKind = AfxCtl::Edit,
             .sText = L"Délka čárky\nformátu:",
             .dwStyle = ES_NUMBER},
            {.nID = IDC_RAM_SPIN_CARKA,
             .nKind = AfxCtl::Spin,
             .sText = L"Délka čárky\nformátu:",
             .dwStyle = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS},
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Rozteč rámečků:"},
            {.nID = IDC_RAM_ROZTEC,
             .nKind = AfxCtl::Edit,
             .sText = L"Rozteč rámečků:",
             .dwStyle = ES_NUMBER},
            {.nID = IDC_RAM_SPIN_ROZTEC,
             .nKind = AfxCtl::Spin,
             .sText = L"Rozteč rámečků:",
             .dwStyle = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS},
            {.nID = IDC_RAM_7MM, .nKind = AfxCtl::PushButton, .sText = L"7 mm"},
            {.nID = IDC_RAM_5MM, .nKind = AfxCtl::PushButton, .sText = L"5 mm"},
            {.nID = IDC_RAM_DVOJITY, .nKind = AfxCtl::CheckBox, .sText = L"Dvojitý rámeček"},
            {.nID = IDC_RAM_POPIS, .nKind = AfxCtl::CheckBox, .sText = L"Popis rámečku"},
            {.nID = IDC_RAM_NETISK, .nKind = AfxCtl::CheckBox, .sText = L"Netisknout"},
            {.nID = IDC_STATIC, .nKind = AfxCtl::GroupBox, .sText = L"Standardní formáty"},
            {.nID = IDC_RAM_A4, .nKind = AfxCtl::RadioButton, .sText = L"A4", .dwStyle = WS_GROUP},
            {.nID = IDC_RAM_A3, .nKind = AfxCtl::RadioButton, .sText = L"A3"},
            {.nID = IDC_RAM_A2, .nKind = AfxCtl::RadioButton, .sText = L"A2"},
            {.nID = IDC_RAM_A1, .nKind = AfxCtl::RadioButton, .sText = L"A1"},
            {.nID = IDC_RAM_A0, .nKind = AfxCtl::RadioButton, .sText = L"A0"},
            {.nID = IDC_RAM_594X297, .nKind = AfxCtl::RadioButton, .sText = L"594 x 297"},
            {.nID = IDC_RAM_841X297, .nKind = AfxCtl::RadioButton, .sText = L"841 x 297"},
            {.nID = IDC_RAM_841X420, .nKind = AfxCtl::RadioButton, .sText = L"841 x 420"},
            {.nID = IDC_RAM_A4_VYSKA, .nKind = AfxCtl::Static, .sText = L"", .dwStyle = WS_GROUP},
            {.nID = IDC_RAM_A4_SIRKA, .nKind = AfxCtl::Static, .sText = L""},
            {.nID = IDC_RAM_INFO_VYSKA, .nKind = AfxCtl::Static, .sText = L""},
            {.nID = IDC_RAM_ZBYTEK_VYSKA, .nKind = AfxCtl::Static, .sText = L""},
            {.nID = IDC_RAM_INFO_SIRKA, .nKind = AfxCtl::Static, .sText = L""},
            {.nID = IDC_RAM_ZBYTEK_SIRKA, .nKind = AfxCtl::Static, .sText = L""},
            {.nID = IDC_RAM_NA_SIRKU, .nKind = AfxCtl::Static, .sText = L"[na šířku]"},
            {.nID = IDC_RAM_NA_VYSKU, .nKind = AfxCtl::Static, .sText = L"[na výšku]"},
            {.nID = IDC_RAM_OKNO_TISKU,
             .nKind = AfxCtl::PushButton,
             .sText = L"Nastav okno tisku",
             .dwStyle = WS_DISABLED},
            {.nID = IDOK, .nKind = AfxCtl::DefPushButton, .sText = L"OK", .dwStyle = WS_GROUP},
            {.nID = IDCANCEL, .nKind = AfxCtl::PushButton, .sText = L"Storno"},
        },
}};

const int s_aSirky[] = {210,  420,  594,  841,  914,  1051, 1188,
                        1261, 1471, 1682, 1892, 2102, 2312, 2523};
const int s_aVysky[] = {297, 420, 594, 841, 891};

struct Format {
    int nID;
    int nSirka;
    int nVyska;
};
const Format s_aFormaty[] = {
    {IDC_RAM_A4, 210, 297},      {IDC_RAM_A3, 420, 297},      {IDC_RAM_A2, 594, 420},
    {IDC_RAM_A1, 841, 594},      {IDC_RAM_A0, 1188, 841},     {IDC_RAM_594X297, 594, 297},
    {IDC_RAM_841X297, 841, 297}, {IDC_RAM_841X420, 841, 420},
};

// The state the user last gave "Popis rámečku" by clicking it; the larger formats take it over.
bool s_bPopisUzivatele = false;

struct Hodnota {
    const ACHAR* sJmeno;
    int CKvDlgRamecek::*pClen;
    int nVychozi;
};
const Hodnota s_aHodnoty[] = {
    {L"Horiz", &CKvDlgRamecek::m_nSirka, 420},   {L"Vert", &CKvDlgRamecek::m_nVyska, 297},
    {L"Presah", &CKvDlgRamecek::m_nCarka, 10},   {L"RoztecRamecku", &CKvDlgRamecek::m_nRoztec, 5},
    {L"Dvojity", &CKvDlgRamecek::m_bDvojity, 1}, {L"Popis", &CKvDlgRamecek::m_bPopis, 1},
    {L"Netisk", &CKvDlgRamecek::m_bNetisk, 0},
};

int PrvniNemensi(const int* pKroky, int nPocet, int nHodnota) {
    for (int i = 0; i < nPocet; ++i)
        if (pKroky[i] >= nHodnota)
            return i;
    return nPocet - 1;
}

} // namespace

BEGIN_MESSAGE_MAP(CKvDlgRamecek, CKvAcDialog)
ON_EN_CHANGE(IDC_RAM_SIRKA, &CKvDlgRamecek::OnZmenaSirky)
ON_EN_CHANGE(IDC_RAM_VYSKA, &CKvDlgRamecek::OnZmenaVysky)
ON_NOTIFY(UDN_DELTAPOS, IDC_RAM_SPIN_SIRKA, &CKvDlgRamecek::OnSpinSirka)
ON_NOTIFY(UDN_DELTAPOS, IDC_RAM_SPIN_VYSKA, &CKvDlgRamecek::OnSpinVyska)
ON_CONTROL_RANGE(BN_CLICKED, IDC_RAM_A4, IDC_RAM_841X420, &CKvDlgRamecek::OnFormat)
ON_BN_CLICKED(IDC_RAM_POPIS, &CKvDlgRamecek::OnPopis)
ON_BN_CLICKED(IDC_RAM_7MM, &CKvDlgRamecek::On7mm)
ON_BN_CLICKED(IDC_RAM_5MM, &CKvDlgRamecek::On5mm)
END_MESSAGE_MAP()

CKvDlgRamecek::CKvDlgRamecek(CWnd* pParent) : CKvAcDialog(IDD_RAMECEK, pParent) {
    NactiUlozene();
}

int CKvDlgRamecek::Role(int nRozmer) {
    for (int nRole : {420, 594, 841, 914})
        if (nRozmer <= nRole)
            return nRole;
    return 0;
}

int CKvDlgRamecek::RoleSirky(int nSirka) {
    // Across the roll a width of exactly 841 already takes the widest roll.
    return nSirka == 841 ? 914 : Role(nSirka);
}

bool CKvDlgRamecek::NaTiskarnu(int nSirka, int nVyska) {
    return (nVyska < 298 && nSirka < 421) || (nVyska <= 420 && nSirka <= 297);
}

int CKvDlgRamecek::KrokSirky(int nSirka) {
    return PrvniNemensi(s_aSirky, static_cast<int>(std::size(s_aSirky)), nSirka);
}

int CKvDlgRamecek::KrokVysky(int nVyska) {
    return PrvniNemensi(s_aVysky, static_cast<int>(std::size(s_aVysky)), nVyska);
}

void CKvDlgRamecek::NactiUlozene() {
    for (const Hodnota& h : s_aHodnoty) {
        int nHodnota = h.nVychozi;
        if (!CVoxXRecord::CtiInt(h.sJmeno, nHodnota, RAMECEK_SKUPINA)) {
            DWORD nRegistr = 0;
            if (CVoxRegistry::CtiDword(REG_KLIC_PRODUKT, h.sJmeno, nRegistr, RAMECEK_SKUPINA))
                nHodnota = static_cast<int>(nRegistr);
            else
                nHodnota = h.nVychozi;
        }
        this->*h.pClen = nHodnota;
    }
}

void CKvDlgRamecek::UlozHodnoty() {
    for (const Hodnota& h : s_aHodnoty) {
        const int nHodnota = this->*h.pClen;
        if (!CVoxXRecord::ZapisInt(h.sJmeno, nHodnota, RAMECEK_SKUPINA))
            acutPrintf(L"\nERROR - nelze uložit hodnotu %ls do výkresu (XRecord)", h.sJmeno);
        bool bUlozeno = false;
        try {
            bUlozeno = CVoxRegistry::UlozDword(REG_KLIC_PRODUKT, h.sJmeno,
                                               static_cast<DWORD>(nHodnota), RAMECEK_SKUPINA);
        } catch (const std::exception&) {
            bUlozeno = false;
        }
        if (!bUlozeno)
            acutPrintf(L"\nERROR - nelze uložit hodnotu %ls do registrů", h.sJmeno);
    }
}

void CKvDlgRamecek::DoDataExchange(CDataExchange* pDX) {
    CKvAcDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_RAM_SIRKA, m_nSirka);
    DDV_MinMaxInt(pDX, m_nSirka, 210, 4200);
    DDX_Text(pDX, IDC_RAM_VYSKA, m_nVyska);
    DDV_MinMaxInt(pDX, m_nVyska, 297, 4200);
    DDX_Text(pDX, IDC_RAM_CARKA, m_nCarka);
    DDV_MinMaxInt(pDX, m_nCarka, 0, 25);
    DDX_Text(pDX, IDC_RAM_ROZTEC, m_nRoztec);
    DDV_MinMaxInt(pDX, m_nRoztec, 3, 20);
    DDX_Check(pDX, IDC_RAM_DVOJITY, m_bDvojity);
    DDX_Check(pDX, IDC_RAM_POPIS, m_bPopis);
    DDX_Check(pDX, IDC_RAM_NETISK, m_bNetisk);
}

BOOL CKvDlgRamecek::OnInitDialog() {
    CKvAcDialog::OnInitDialog();
    SetWindowText(L"Kresbon pro AutoCad");

    auto* pSpinSirka = static_cast<CSpinButtonCtrl*>(GetDlgItem(IDC_RAM_SPIN_SIRKA));
    pSpinSirka->SetRange32(0, static_cast<int>(std::size(s_aSirky)) - 1);
    auto* pSpinVyska = static_cast<CSpinButtonCtrl*>(GetDlgItem(IDC_RAM_SPIN_VYSKA));
    pSpinVyska->SetRange32(0, static_cast<int>(std::size(s_aVysky)) - 1);
    auto* pSpinCarka = static_cast<CSpinButtonCtrl*>(GetDlgItem(IDC_RAM_SPIN_CARKA));
    pSpinCarka->SetBuddy(GetDlgItem(IDC_RAM_CARKA));
    pSpinCarka->SetRange32(0, 25);
    pSpinCarka->SetPos32(m_nCarka);
    auto* pSpinRoztec = static_cast<CSpinButtonCtrl*>(GetDlgItem(IDC_RAM_SPIN_ROZTEC));
    pSpinRoztec->SetBuddy(GetDlgItem(IDC_RAM_ROZTEC));
    pSpinRoztec->SetRange32(3, 20);
    pSpinRoztec->SetPos32(m_nRoztec);
    GetDlgItem(IDC_RAM_NETISK)->EnableWindow(m_bNovy ? TRUE : FALSE);

    m_bInicializovan = true;
    OnZmenaSirky();
    OnZmenaVysky();
    return TRUE;
}

void CKvDlgRamecek::OnOK() {
    if (!UpdateData(TRUE))
        return;
    UlozHodnoty();
    EndDialog(IDOK);
}

void CKvDlgRamecek::Informace() {
    if (!m_bInicializovan || m_bVInformaci)
        return;
    m_bVInformaci = true;
    const int nSirka = static_cast<int>(GetDlgItemInt(IDC_RAM_SIRKA));
    int nVyska = static_cast<int>(GetDlgItemInt(IDC_RAM_VYSKA));

    if (nSirka >= 915 && nVyska >= 915) {
        nVyska = 914;
        SetDlgItemInt(IDC_RAM_VYSKA, 914);
        ::MessageBoxW(m_hWnd,
                      L"Jeden z rozměrů musí být max. 914 (šířka plotru). Jinak se to nedá "
                      L"vytisknout",
                      L"Kresbon - příliš velký formát", MB_OK);
    }

    const bool bNaVysku = nSirka <= nVyska;
    GetDlgItem(IDC_RAM_NA_VYSKU)->ShowWindow(bNaVysku ? SW_SHOW : SW_HIDE);
    GetDlgItem(IDC_RAM_NA_SIRKU)->ShowWindow(bNaVysku ? SW_HIDE : SW_SHOW);

    int nFormat = 0;
    for (const Format& f : s_aFormaty)
        if (f.nSirka == nSirka && f.nVyska == nVyska)
            nFormat = f.nID;
    if (nFormat)
        CheckRadioButton(IDC_RAM_A4, IDC_RAM_841X420, nFormat);
    else
        for (const Format& f : s_aFormaty)
            CheckDlgButton(f.nID, BST_UNCHECKED);

    CString sText;
    if (NaTiskarnu(nSirka, nVyska)) {
        SetDlgItemText(IDC_RAM_INFO_VYSKA, L"NA TISKÁRNU");
        SetDlgItemText(IDC_RAM_ZBYTEK_VYSKA, L"");
        SetDlgItemText(IDC_RAM_INFO_SIRKA, L"NA TISKÁRNU");
        SetDlgItemText(IDC_RAM_ZBYTEK_SIRKA, L"");
    } else {
        const int nRoleVyska = Role(nVyska);
        if (nRoleVyska) {
            sText.Format(L"Na výšku: ROLE %i cm", nRoleVyska);
            SetDlgItemText(IDC_RAM_INFO_VYSKA, sText);
            sText.Format(L"nevyužito: %i cm2", (nRoleVyska - nVyska) * nSirka / 100);
            SetDlgItemText(IDC_RAM_ZBYTEK_VYSKA, sText);
        } else {
            SetDlgItemText(IDC_RAM_INFO_VYSKA, L"Na výšku: NELZE");
            SetDlgItemText(IDC_RAM_ZBYTEK_VYSKA, L"");
        }
        const int nRoleSirka = RoleSirky(nSirka);
        if (nRoleSirka) {
            sText.Format(L"Na šířku: ROLE %i cm", nRoleSirka);
            SetDlgItemText(IDC_RAM_INFO_SIRKA, sText);
            sText.Format(L"nevyužito: %i cm2", (nRoleSirka - nSirka) * nVyska / 100);
            SetDlgItemText(IDC_RAM_ZBYTEK_SIRKA, sText);
        } else {
            SetDlgItemText(IDC_RAM_INFO_SIRKA, L"Na šířku: NELZE");
            SetDlgItemText(IDC_RAM_ZBYTEK_SIRKA, L"");
        }
    }
    m_bVInformaci = false;
}

void CKvDlgRamecek::OnZmenaSirky() {
    if (!m_bInicializovan)
        return;
    const int nSirka = static_cast<int>(GetDlgItemInt(IDC_RAM_SIRKA));
    CString sText;
    sText.Format(L"A4: %.1f", nSirka / 210.0);
    SetDlgItemText(IDC_RAM_A4_SIRKA, sText);
    static_cast<CSpinButtonCtrl*>(GetDlgItem(IDC_RAM_SPIN_SIRKA))->SetPos(KrokSirky(nSirka));
    Informace();
}

void CKvDlgRamecek::OnZmenaVysky() {
    if (!m_bInicializovan)
        return;
    const int nVyska = static_cast<int>(GetDlgItemInt(IDC_RAM_VYSKA));
    CString sText;
    sText.Format(L"A4: %.1f", nVyska / 297.0);
    SetDlgItemText(IDC_RAM_A4_VYSKA, sText);
    static_cast<CSpinButtonCtrl*>(GetDlgItem(IDC_RAM_SPIN_VYSKA))->SetPos(KrokVysky(nVyska));
    Informace();
}

void CKvDlgRamecek::OnSpinSirka(NMHDR* pNMHDR, LRESULT* pResult) {
    const auto* pUpDown = reinterpret_cast<const NMUPDOWN*>(pNMHDR);
    const int nPocet = static_cast<int>(std::size(s_aSirky));
    const int nKrok = std::clamp(pUpDown->iPos + pUpDown->iDelta, 0, nPocet - 1);
    SetDlgItemInt(IDC_RAM_SIRKA, static_cast<UINT>(s_aSirky[nKrok]));
    *pResult = 0;
}

void CKvDlgRamecek::OnSpinVyska(NMHDR* pNMHDR, LRESULT* pResult) {
    const auto* pUpDown = reinterpret_cast<const NMUPDOWN*>(pNMHDR);
    const int nPocet = static_cast<int>(std::size(s_aVysky));
    const int nKrok = std::clamp(pUpDown->iPos + pUpDown->iDelta, 0, nPocet - 1);
    SetDlgItemInt(IDC_RAM_VYSKA, static_cast<UINT>(s_aVysky[nKrok]));
    *pResult = 0;
}

void CKvDlgRamecek::OnFormat(UINT nID) {
    for (const Format& f : s_aFormaty) {
        if (static_cast<UINT>(f.nID) != nID)
            continue;
        const bool bMaly = f.nID == IDC_RAM_A4 || f.nID == IDC_RAM_A3;
        CheckDlgButton(IDC_RAM_POPIS,
                       bMaly ? BST_UNCHECKED : (s_bPopisUzivatele ? BST_CHECKED : BST_UNCHECKED));
        // The height first: no standard height meets the plotter limit with any width.
        SetDlgItemInt(IDC_RAM_VYSKA, static_cast<UINT>(f.nVyska));
        SetDlgItemInt(IDC_RAM_SIRKA, static_cast<UINT>(f.nSirka));
    }
}

void CKvDlgRamecek::OnPopis() {
    s_bPopisUzivatele = IsDlgButtonChecked(IDC_RAM_POPIS) == BST_CHECKED;
}

void CKvDlgRamecek::On7mm() {
    CString sText;
    sText.Format(L"%i", 12);
    SetDlgItemText(IDC_RAM_CARKA, sText);
    sText.Format(L"%i", 7);
    SetDlgItemText(IDC_RAM_ROZTEC, sText);
}

void CKvDlgRamecek::On5mm() {
    CString sText;
    sText.Format(L"%i", 10);
    SetDlgItemText(IDC_RAM_CARKA, sText);
    sText.Format(L"%i", 5);
    SetDlgItemText(IDC_RAM_ROZTEC, sText);
}
