#include "StdAfx.h"

#include "CKvDlgMatVyber.h"

#include "CKvDlgMatEdituj.h"
#include "CVoxException.h"
#include "CVoxMaterial.h"
#include "CVoxSezMaterialu.h"

std::vector<std::wstring> TextyPN() {
    std::vector<std::wstring> v;
    for (const VoxRadekPN& r : g_aTabulkaPN)
        v.emplace_back(r.sText);
    return v;
}

std::vector<std::wstring> TextySDr() {
    std::vector<std::wstring> v;
    for (const VoxRadekSDr& r : g_aTabulkaSDr)
        v.emplace_back(r.sText);
    return v;
}

namespace {

const wchar_t* const TITULEK = L"Kresbon pro AutoCad";

constexpr DWORD RO = ES_READONLY;
constexpr DWORD DIS = WS_DISABLED;

const AfxDialogResource s_dlgMatVyber{{
    .nID = IDD_MAT_VYBER,
    .sCaption = L"Materiály pro potrubí",
    .controls =
        {
            {.nID = IDC_MAT_NADPIS_MAT, .nKind = AfxCtl::Static, .sText = L"Materiály potrubí"},
            {.nID = IDC_MAT_F_ZTI,
             .nKind = AfxCtl::RadioButton,
             .sText = L"ZTI",
             .dwStyle = WS_GROUP},
            {.nID = IDC_MAT_F_SITE, .nKind = AfxCtl::RadioButton, .sText = L"Inženýrské sítě"},
            {.nID = IDC_MAT_F_OBLAST_VSE, .nKind = AfxCtl::RadioButton, .sText = L"Vše"},
            {.nID = IDC_MAT_F_KANALIZACE,
             .nKind = AfxCtl::RadioButton,
             .sText = L"Kanalizace",
             .dwStyle = WS_GROUP},
            {.nID = IDC_MAT_F_TLAKOVA, .nKind = AfxCtl::RadioButton, .sText = L"Tlak. kan."},
            {.nID = IDC_MAT_F_VODA, .nKind = AfxCtl::RadioButton, .sText = L"Voda"},
            {.nID = IDC_MAT_F_PLYN, .nKind = AfxCtl::RadioButton, .sText = L"Plyn"},
            {.nID = IDC_MAT_F_TEPLO, .nKind = AfxCtl::RadioButton, .sText = L"Tpl."},
            {.nID = IDC_MAT_F_MEDIUM_VSE, .nKind = AfxCtl::RadioButton, .sText = L"Vše"},
            {.nID = IDC_MAT_SEZNAM,
             .nKind = AfxCtl::Custom,
             .sText = L"Materiály",
             .dwStyle = WS_GROUP,
             .sClass = L"CTreeListCtrl"},
            {.nID = IDC_MAT_NADPIS_PROF, .nKind = AfxCtl::Static, .sText = L"Profily"},
            {.nID = IDC_MAT_PROFILY,
             .nKind = AfxCtl::Custom,
             .sText = L"Profily",
             .sClass = L"CTreeListCtrl"},
            {.nID = IDC_MAT_NAZEV, .nKind = AfxCtl::Edit, .sText = L"Název", .dwStyle = RO},
            {.nID = IDC_MAT_POPIS, .nKind = AfxCtl::Edit, .sText = L"Popis", .dwStyle = RO},
            {.nID = IDC_MAT_VYROBCE, .nKind = AfxCtl::Edit, .sText = L"Výrobce", .dwStyle = RO},
            {.nID = IDC_MAT_PODROBNY,
             .nKind = AfxCtl::Edit,
             .sText = L"Podrobný popis",
             .dwStyle = RO},
            {.nID = IDC_MAT_PN,
             .nKind = AfxCtl::DropList,
             .sText = L"Tl. třída:",
             .dwStyle = DIS,
             .items = TextyPN()},
            {.nID = IDC_MAT_SDR,
             .nKind = AfxCtl::DropList,
             .sText = L"SDr:",
             .dwStyle = DIS,
             .items = TextySDr()},
            {.nID = IDC_MAT_DRSNOST,
             .nKind = AfxCtl::Edit,
             .sText = L"Drsnost [mm]",
             .dwStyle = RO},
            {.nID = IDC_MAT_ZTI, .nKind = AfxCtl::CheckBox, .sText = L"ZTI", .dwStyle = DIS},
            {.nID = IDC_MAT_SITE,
             .nKind = AfxCtl::CheckBox,
             .sText = L"Inženýrské sítě",
             .dwStyle = DIS},
            {.nID = IDC_MAT_KANALIZACE,
             .nKind = AfxCtl::CheckBox,
             .sText = L"Kanalizace",
             .dwStyle = DIS},
            {.nID = IDC_MAT_KAN_TLAKOVA,
             .nKind = AfxCtl::CheckBox,
             .sText = L"Kan. tlaková",
             .dwStyle = DIS},
            {.nID = IDC_MAT_VODA, .nKind = AfxCtl::CheckBox, .sText = L"Voda", .dwStyle = DIS},
            {.nID = IDC_MAT_PLYN, .nKind = AfxCtl::CheckBox, .sText = L"Plyn", .dwStyle = DIS},
            {.nID = IDC_MAT_TEPLO,
             .nKind = AfxCtl::CheckBox,
             .sText = L"Teplovody/UT",
             .dwStyle = DIS},
            {.nID = IDC_MAT_TYP_DN,
             .nKind = AfxCtl::RadioButton,
             .sText = L"DN",
             .dwStyle = WS_GROUP | DIS},
            {.nID = IDC_MAT_TYP_DXT,
             .nKind = AfxCtl::RadioButton,
             .sText = L"D x t",
             .dwStyle = DIS},
            {.nID = IDC_MAT_TYP_JINY,
             .nKind = AfxCtl::RadioButton,
             .sText = L"Jiný",
             .dwStyle = DIS},
            {.nID = IDC_MAT_KRUH,
             .nKind = AfxCtl::RadioButton,
             .sText = L"Kruh",
             .dwStyle = WS_GROUP | DIS},
            {.nID = IDC_MAT_VEJCE, .nKind = AfxCtl::RadioButton, .sText = L"Vejce", .dwStyle = DIS},
            {.nID = IDC_MAT_VEJCE_PRAHA,
             .nKind = AfxCtl::RadioButton,
             .sText = L"Vejce - Praha",
             .dwStyle = DIS},
            {.nID = IDC_MAT_TLAMA, .nKind = AfxCtl::RadioButton, .sText = L"Tlama", .dwStyle = DIS},
            {.nID = IDC_MAT_OBDELNIK,
             .nKind = AfxCtl::RadioButton,
             .sText = L"Obdélník",
             .dwStyle = DIS},
            {.nID = IDC_MAT_EDITACE,
             .nKind = AfxCtl::PushButton,
             .sText = L"Editace materiálů...",
             .dwStyle = WS_GROUP},
            {.nID = IDC_MAT_HELP, .nKind = AfxCtl::PushButton, .sText = L"?"},
            {.nID = IDOK, .nKind = AfxCtl::DefPushButton, .sText = L"Vyber"},
            {.nID = IDCANCEL, .nKind = AfxCtl::PushButton, .sText = L"Zruš"},
        },
}};

void Zprava(CWnd* pOkno, const wchar_t* sText, UINT nIkona = MB_ICONWARNING) {
    ::MessageBoxW(pOkno ? pOkno->GetSafeHwnd() : nullptr, sText, TITULEK, MB_OK | nIkona);
}

} // namespace

BEGIN_MESSAGE_MAP(CKvDlgMatVyber, CKvAcDialog)
ON_BN_CLICKED(IDC_MAT_F_ZTI, &CKvDlgMatVyber::OnFiltr)
ON_BN_CLICKED(IDC_MAT_F_SITE, &CKvDlgMatVyber::OnFiltr)
ON_BN_CLICKED(IDC_MAT_F_OBLAST_VSE, &CKvDlgMatVyber::OnFiltr)
ON_BN_CLICKED(IDC_MAT_F_KANALIZACE, &CKvDlgMatVyber::OnFiltr)
ON_BN_CLICKED(IDC_MAT_F_TLAKOVA, &CKvDlgMatVyber::OnFiltr)
ON_BN_CLICKED(IDC_MAT_F_VODA, &CKvDlgMatVyber::OnFiltr)
ON_BN_CLICKED(IDC_MAT_F_PLYN, &CKvDlgMatVyber::OnFiltr)
ON_BN_CLICKED(IDC_MAT_F_TEPLO, &CKvDlgMatVyber::OnFiltr)
ON_BN_CLICKED(IDC_MAT_F_MEDIUM_VSE, &CKvDlgMatVyber::OnFiltr)
ON_NOTIFY(TLN_SELCHANGED, IDC_MAT_SEZNAM, &CKvDlgMatVyber::OnZmenaMaterialu)
ON_NOTIFY(NM_DBLCLK, IDC_MAT_SEZNAM, &CKvDlgMatVyber::OnDvojklikMaterialu)
ON_BN_CLICKED(IDC_MAT_EDITACE, &CKvDlgMatVyber::OnEditace)
ON_BN_CLICKED(IDC_MAT_HELP, &CKvDlgMatVyber::OnNapoveda)
END_MESSAGE_MAP()

CKvDlgMatVyber::CKvDlgMatVyber(CWnd* pParent, UINT nIDD) : CKvAcDialog(nIDD, pParent) {}

INT_PTR CKvDlgMatVyber::DoModal(CVoxSezMaterialu* pSeznam, UINT nOblast, UINT nMedium,
                                bool bProfil) {
    m_pSeznam = pSeznam;
    m_nOblast = nOblast & OBLAST_VSE ? nOblast & OBLAST_VSE : OBLAST_VSE;
    m_nMedium = nMedium & MEDIUM_VSE ? nMedium & MEDIUM_VSE : MEDIUM_VSE;
    m_bProfil = bProfil;
    m_pMaterial = nullptr;
    m_pProfil = nullptr;
    return CKvAcDialog::DoModal();
}

BOOL CKvDlgMatVyber::OnInitDialog() {
    CKvAcDialog::OnInitDialog();
    SetWindowText(TITULEK);
    NastavTucne(IDC_MAT_NADPIS_MAT);
    NastavTucne(IDC_MAT_NADPIS_PROF);
    m_seznam.SubclassDlgItem(IDC_MAT_SEZNAM, this);
    m_profily.SubclassDlgItem(IDC_MAT_PROFILY, this);

    RECT rect{};
    m_seznam.GetClientRect(&rect);
    m_seznam.InsertColumn(L"Zkrác. název", 95);
    m_seznam.InsertColumn(L"Plný název / popis", 170);
    m_seznam.InsertColumn(L"Výrobce", std::max(40, static_cast<int>(rect.right - rect.left) - 265));
    if (GetTemplateId() == IDD_MAT_VYBER) {
        if (m_bProfil)
            SetDlgItemText(IDC_MAT_NADPIS_PROF, L"Vyber profil potrubí");
        else
            SetDlgItemText(IDC_MAT_NADPIS_MAT, L"Vyber materiál potrubí");
        m_profily.GetClientRect(&rect);
        m_profily.InsertColumn(L"Profil", 80);
        m_profily.InsertColumn(L"DN", std::max(40, static_cast<int>(rect.right - rect.left) - 80));
        m_profily.SetTextCallback([this](int, int nSloupec, DWORD_PTR dw) {
            return TextProfilu(nSloupec, reinterpret_cast<const CVoxProfil*>(dw));
        });
        m_profily.EnableWindow(m_bProfil);
    }

    CheckRadioButton(IDC_MAT_F_ZTI, IDC_MAT_F_OBLAST_VSE, static_cast<int>(11029 + m_nOblast));
    int nMedium = IDC_MAT_F_MEDIUM_VSE;
    if (m_nMedium != MEDIUM_VSE)
        for (int i = 0; i < 5; ++i)
            if (m_nMedium & (1U << i)) {
                nMedium = IDC_MAT_F_KANALIZACE + i;
                break;
            }
    CheckRadioButton(IDC_MAT_F_KANALIZACE, IDC_MAT_F_MEDIUM_VSE, nMedium);

    PridejTip(IDC_MAT_F_KANALIZACE, L"Zobrazit materály vhodné pro kanalizaci");
    PridejTip(IDC_MAT_F_TLAKOVA, L"Zobrazit materály vhodné pro tlakovou kanalizaci");
    PridejTip(IDC_MAT_F_VODA, L"Zobrazit materály vhodné pro vodovod");
    PridejTip(IDC_MAT_F_PLYN, L"Zobrazit materiály vhodné pro plynovod");
    PridejTip(IDC_MAT_F_TEPLO, L"Zobrazit materály vhodné pro tepelné sítě / vytápění");
    PridejTip(IDC_MAT_F_MEDIUM_VSE, L"Zobrazit všechny materiály");
    PridejTip(IDC_MAT_SEZNAM, L"Seznam materiálů");
    if (GetTemplateId() == IDD_MAT_VYBER) {
        PridejTip(IDC_MAT_F_ZTI, L"Zobrazit skuinu materálů pro vnitřní instalace (ZTI, UT)");
        PridejTip(IDC_MAT_F_SITE, L"Zobrazit materály vhodné pro inženýské sítě");
        PridejTip(IDC_MAT_F_OBLAST_VSE, L"Zobrazit kompletní materály");
        PridejTip(IDOK, L"Vyber aktivní materiál");
        PridejTip(IDC_MAT_EDITACE, L"Otevře dialog pro editaci materiálové databáze");
    }

    NaplnFormular(nullptr);
    NaplnSeznam();
    return TRUE;
}

UINT CKvDlgMatVyber::FiltrOblast() const {
    const int n = GetCheckedRadioButton(IDC_MAT_F_ZTI, IDC_MAT_F_OBLAST_VSE);
    return n ? static_cast<UINT>(n - 11029) : OBLAST_VSE;
}

UINT CKvDlgMatVyber::FiltrMedium() const {
    const int n = GetCheckedRadioButton(IDC_MAT_F_KANALIZACE, IDC_MAT_F_MEDIUM_VSE);
    if (n == 0 || n == IDC_MAT_F_MEDIUM_VSE)
        return MEDIUM_VSE;
    return 1U << (n - IDC_MAT_F_KANALIZACE);
}

CVoxMaterial* CKvDlgMatVyber::VybranyMaterial() const {
    const int n = m_seznam.GetSelectedItem();
    return n < 0 ? nullptr : reinterpret_cast<CVoxMaterial*>(m_seznam.GetItemData(n));
}

void CKvDlgMatVyber::NaplnSeznam() {
    CVoxMaterial* pVybrany = VybranyMaterial();
    m_seznam.DeleteAllItems();
    if (!m_pSeznam)
        return;
    const UINT nOblast = FiltrOblast();
    const UINT nMedium = FiltrMedium();
    const bool bVse = nOblast == OBLAST_VSE && nMedium == MEDIUM_VSE;
    for (const auto& [sNazev, pMaterial] : m_pSeznam->Materialy()) {
        if (!bVse && (!(pMaterial->GetOblast() & nOblast) || !(pMaterial->GetMedium() & nMedium)))
            continue;
        const int n =
            m_seznam.AddItem(pMaterial->GetNazev(), reinterpret_cast<DWORD_PTR>(pMaterial));
        m_seznam.SetItemText(n, 1, pMaterial->GetPodrobnyPopis());
        m_seznam.SetItemText(n, 2, pMaterial->GetVyrobce());
    }
    const int nZnovu = pVybrany ? m_seznam.FindItemData(reinterpret_cast<DWORD_PTR>(pVybrany)) : -1;
    if (nZnovu >= 0) {
        m_seznam.SelectItem(nZnovu);
    } else {
        NaplnFormular(nullptr);
        NaplnProfily(nullptr);
    }
}

CString CKvDlgMatVyber::TextProfilu(int nSloupec, const CVoxProfil* pProfil) const {
    if (!pProfil)
        return CString();
    if (nSloupec == 0)
        return pProfil->GetPopis();
    const int iDN = pProfil->GetDN();
    return iDN >= 0 && iDN < POCET_DN ? CString(g_aTabulkaDN[iDN].sText) : CString();
}

void CKvDlgMatVyber::NaplnProfily(CVoxMaterial* pMaterial) {
    m_profily.DeleteAllItems();
    if (!pMaterial)
        return;
    for (const auto& [iDN, pProfil] : pMaterial->Profily())
        m_profily.AddItem(pProfil->GetPopis(), reinterpret_cast<DWORD_PTR>(pProfil));
}

void CKvDlgMatVyber::NaplnFormular(const CVoxMaterial* pMaterial, UINT nTypPopisu) {
    CString sDrsnost = L"0.01";
    if (pMaterial)
        sDrsnost.Format(L"%.5f", static_cast<double>(pMaterial->GetDrsnost()));
    SetDlgItemText(IDC_MAT_NAZEV, pMaterial ? pMaterial->GetNazev().GetString() : L"");
    SetDlgItemText(IDC_MAT_POPIS, pMaterial ? pMaterial->GetPopis().GetString() : L"");
    SetDlgItemText(IDC_MAT_VYROBCE, pMaterial ? pMaterial->GetVyrobce().GetString() : L"");
    SetDlgItemText(IDC_MAT_PODROBNY, pMaterial ? pMaterial->GetPodrobnyPopis().GetString() : L"");
    SetDlgItemText(IDC_MAT_DRSNOST, sDrsnost);
    const int iPN = pMaterial ? pMaterial->GetPN() : 0;
    const int iSDr = pMaterial ? pMaterial->GetSDr() : 0;
    static_cast<CComboBox*>(GetDlgItem(IDC_MAT_PN))->SetCurSel(iPN < 0 ? 0 : iPN);
    static_cast<CComboBox*>(GetDlgItem(IDC_MAT_SDR))->SetCurSel(iSDr < 0 ? 0 : iSDr);
    const UINT nOblast = pMaterial ? pMaterial->GetOblast() : OBLAST_VSE;
    const UINT nMedium = pMaterial ? pMaterial->GetMedium() : MEDIUM_VSE;
    CheckDlgButton(IDC_MAT_ZTI, (nOblast & OBLAST_ZTI) ? 1 : 0);
    CheckDlgButton(IDC_MAT_SITE, (nOblast & OBLAST_SITE) ? 1 : 0);
    CheckDlgButton(IDC_MAT_KANALIZACE, (nMedium & MEDIUM_KANALIZACE) ? 1 : 0);
    CheckDlgButton(IDC_MAT_KAN_TLAKOVA, (nMedium & MEDIUM_KAN_TLAKOVA) ? 1 : 0);
    CheckDlgButton(IDC_MAT_VODA, (nMedium & MEDIUM_VODA) ? 1 : 0);
    CheckDlgButton(IDC_MAT_PLYN, (nMedium & MEDIUM_PLYN) ? 1 : 0);
    CheckDlgButton(IDC_MAT_TEPLO, (nMedium & MEDIUM_TEPLO) ? 1 : 0);
    const UINT nTyp = pMaterial ? pMaterial->GetTypPopisu() : nTypPopisu;
    CheckRadioButton(IDC_MAT_TYP_DN, IDC_MAT_TYP_JINY,
                     static_cast<int>(IDC_MAT_TYP_DN + std::min(nTyp, 2U)));
    const UINT nTvar = pMaterial ? pMaterial->GetTvar() : 0;
    CheckRadioButton(IDC_MAT_KRUH, IDC_MAT_OBDELNIK,
                     static_cast<int>(IDC_MAT_KRUH + std::min(nTvar, 4U)));
}

void CKvDlgMatVyber::OnFiltr() {
    NaplnSeznam();
}

void CKvDlgMatVyber::OnZmenaMaterialu(NMHDR*, LRESULT* pResult) {
    CVoxMaterial* pMaterial = VybranyMaterial();
    NaplnFormular(pMaterial);
    NaplnProfily(pMaterial);
    *pResult = 0;
}

void CKvDlgMatVyber::OnDvojklikMaterialu(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    CVoxMaterial* pMaterial = VybranyMaterial();
    if (!pMaterial)
        return;
    if (m_bProfil) {
        Zprava(this, L"Je třeba vybrat profil z vedlejšího seznamu");
        return;
    }
    m_pMaterial = pMaterial;
    m_pProfil = nullptr;
    EndDialog(IDOK);
}

void CKvDlgMatVyber::OnOK() {
    CVoxMaterial* pMaterial = VybranyMaterial();
    if (!pMaterial) {
        Zprava(this, L"Není vybrána žádný materiál");
        return;
    }
    CVoxProfil* pProfil = nullptr;
    if (m_bProfil) {
        const int n = m_profily.GetSelectedItem();
        pProfil = n < 0 ? nullptr : reinterpret_cast<CVoxProfil*>(m_profily.GetItemData(n));
        if (!pProfil) {
            Zprava(this, L"Není vybrána žádný profil");
            return;
        }
    }
    m_pMaterial = pMaterial;
    m_pProfil = pProfil;
    EndDialog(IDOK);
}

void CKvDlgMatVyber::OnEditace() {
    // The edit dialog replaces the materials of the list: the rows of this one are rebuilt and
    // the selection is found again by name.
    CString sVybrany;
    if (CVoxMaterial* pMaterial = VybranyMaterial())
        sVybrany = pMaterial->GetNazev();
    try {
        CKvDlgMatEdituj dlgEdituj(this);
        const INT_PTR nVysledek = dlgEdituj.DoModal(m_pSeznam, this);
        if (nVysledek == -1) {
            Zprava(this, L"Nelze otevřít dialog editace materiálů - neznámá chyba", MB_ICONERROR);
            return;
        }
        if (nVysledek != IDOK)
            return;
    } catch (const std::exception& e) {
        ZobrazVyjimku(e, GetSafeHwnd());
    } catch (...) {
        Zprava(this, L"Nelze otevřít dialog editace materiálů - neznámá chyba", MB_ICONERROR);
    }
    // Whatever happened, the rows may name materials of the list that are gone.
    m_seznam.DeleteAllItems();
    m_profily.DeleteAllItems();
    NaplnSeznam();
    CVoxMaterial* pZnovu = nullptr;
    if (!sVybrany.IsEmpty() && m_pSeznam && m_pSeznam->Najdi(sVybrany, &pZnovu)) {
        const int n = m_seznam.FindItemData(reinterpret_cast<DWORD_PTR>(pZnovu));
        if (n >= 0)
            m_seznam.SelectItem(n);
    }
}

void CKvDlgMatVyber::OnNapoveda() {
    ShellExecuteW(GetSafeHwnd(), L"open", MAT_NAPOVEDA_URL, nullptr, nullptr, SW_SHOWNORMAL);
}
