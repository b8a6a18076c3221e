#include "StdAfx.h"

#include "CKvDlgNastaveniKaceny.h"

#include "CKacena.h"

#include <cmath>

namespace {

const AfxDialogResource s_dlgNastaveniKaceny{{
    .nID = IDD_NASTAVENI_KACENY,
    .sCaption = L"Nastavení kačeny (výškové kóty)",
    .controls =
        {
            {.nID = IDC_KAC_ZNAMENKO, .nKind = AfxCtl::CheckBox, .sText = L"Znaménko"},
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Počet desetinných míst"},
            {.nID = IDC_KAC_DESMIST,
             .nKind = AfxCtl::DropList,
             .sText = L"Počet desetinných míst",
             .items = {L"0", L"0.0", L"0.00", L"0.000", L"0.0000"}},
            {.nID = IDC_STATIC, .nKind = AfxCtl::GroupBox, .sText = L"Jednotky výkresu"},
            {.nID = IDC_KAC_MILIMETRY,
             .nKind = AfxCtl::RadioButton,
             .sText = L"Milimetry",
             .dwStyle = WS_GROUP},
            {.nID = IDC_KAC_METRY, .nKind = AfxCtl::RadioButton, .sText = L"Metry"},
            {.nID = IDC_KAC_JINE, .nKind = AfxCtl::RadioButton, .sText = L"Jiné"},
            {.nID = IDC_STATIC,
             .nKind = AfxCtl::Static,
             .sText = L"Přepočet jednotek",
             .dwStyle = WS_GROUP},
            {.nID = IDC_KAC_PREPOCET, .nKind = AfxCtl::Edit, .sText = L"Přepočet jednotek"},
            {.nID = IDC_STATIC, .nKind = AfxCtl::GroupBox, .sText = L"Základní rovina"},
            {.nID = IDC_KAC_X, .nKind = AfxCtl::Edit, .sText = L"X:"},
            {.nID = IDC_KAC_Y, .nKind = AfxCtl::Edit, .sText = L"Y:"},
            {.nID = IDC_KAC_PICK, .nKind = AfxCtl::PushButton, .sText = L"Pick..."},
            {.nID = IDC_KAC_UCS, .nKind = AfxCtl::Static, .sText = L"UCS: "},
            {.nID = IDC_KAC_VYSKA, .nKind = AfxCtl::Edit, .sText = L"Výška:"},
            {.nID = IDC_STATIC, .nKind = AfxCtl::GroupBox, .sText = L"Zrychlené volby"},
            {.nID = IDC_KAC_RELATIVNI,
             .nKind = AfxCtl::RadioButton,
             .sText = L"Relativní kóta",
             .dwStyle = WS_GROUP},
            {.nID = IDC_KAC_ABSOLUTNI, .nKind = AfxCtl::RadioButton, .sText = L"Absolutní kóty"},
            {.nID = IDC_STATIC,
             .nKind = AfxCtl::GroupBox,
             .sText = L"Popis pod kačenou",
             .dwStyle = WS_GROUP},
            {.nID = IDC_KAC_ZADAVAT, .nKind = AfxCtl::CheckBox, .sText = L"Zadávat"},
            {.nID = IDC_KAC_POPIS, .nKind = AfxCtl::Edit, .sText = L"Popis pod kačenou"},
            {.nID = IDC_KAC_VICERADKOVY, .nKind = AfxCtl::CheckBox, .sText = L"Víceřádkový"},
            {.nID = IDC_KAC_PRIDAT_ABS,
             .nKind = AfxCtl::CheckBox,
             .sText = L"Přidat absolutní výšku, +-0,00 ="},
            {.nID = IDC_KAC_NULA_ABS, .nKind = AfxCtl::Edit, .sText = L"+-0,00 ="},
            {.nID = IDC_KAC_MNM, .nKind = AfxCtl::Static, .sText = L"m n.m."},
            {.nID = IDOK, .nKind = AfxCtl::DefPushButton, .sText = L"OK", .dwStyle = WS_GROUP},
            {.nID = IDCANCEL, .nKind = AfxCtl::PushButton, .sText = L"Storno"},
        },
}};

bool Blizko(double a, double b) {
    return std::fabs(a - b) <= 0.0001;
}

} // namespace

BEGIN_MESSAGE_MAP(CKvDlgNastaveniKaceny, CKvAcDialog)
ON_BN_CLICKED(IDC_KAC_RELATIVNI, &CKvDlgNastaveniKaceny::OnRelativni)
ON_BN_CLICKED(IDC_KAC_ABSOLUTNI, &CKvDlgNastaveniKaceny::OnAbsolutni)
ON_BN_CLICKED(IDC_KAC_MILIMETRY, &CKvDlgNastaveniKaceny::OnMilimetry)
ON_BN_CLICKED(IDC_KAC_METRY, &CKvDlgNastaveniKaceny::OnMetry)
ON_BN_CLICKED(IDC_KAC_JINE, &CKvDlgNastaveniKaceny::OnJine)
ON_EN_CHANGE(IDC_KAC_PREPOCET, &CKvDlgNastaveniKaceny::OnZmenaPrepoctu)
ON_BN_CLICKED(IDC_KAC_ZNAMENKO, &CKvDlgNastaveniKaceny::OnZnamenko)
ON_CBN_SELCHANGE(IDC_KAC_DESMIST, &CKvDlgNastaveniKaceny::OnDesMist)
ON_BN_CLICKED(IDC_KAC_ZADAVAT, &CKvDlgNastaveniKaceny::OnZadavat)
ON_BN_CLICKED(IDC_KAC_PRIDAT_ABS, &CKvDlgNastaveniKaceny::OnPridatAbsolutni)
ON_BN_CLICKED(IDC_KAC_PICK, &CKvDlgNastaveniKaceny::OnPick)
END_MESSAGE_MAP()

CKvDlgNastaveniKaceny::CKvDlgNastaveniKaceny(CWnd* pParent)
    : CKvAcDialog(IDD_NASTAVENI_KACENY, pParent), m_editPrepocet(6), m_editX(4), m_editY(4),
      m_editVyska(3), m_editNulaAbs(3) {}

INT_PTR CKvDlgNastaveniKaceny::Nastav(CKacena& objKacena) {
    CKvDlgNastaveniKaceny dlgKacena(CWnd::FromHandle(adsw_acadMainWnd()));
    dlgKacena.m_nZnamenko = objKacena.m_nZnamenko ? 1 : 0;
    dlgKacena.m_nDesMist = objKacena.m_nDesMist;
    dlgKacena.m_dPrepocet = objKacena.m_dPrepocet;
    dlgKacena.m_dX = objKacena.m_ptZBod.x;
    dlgKacena.m_dY = objKacena.m_ptZBod.y;
    dlgKacena.m_dVyska = objKacena.m_dVyska;
    dlgKacena.m_bPtatSe = objKacena.m_bPtatSe ? 1 : 0;
    dlgKacena.m_sPopisPod = objKacena.m_sPopisPod;
    dlgKacena.m_bViceradkovy = objKacena.m_bViceradkovy ? 1 : 0;
    dlgKacena.m_bPridatAbsolutni = objKacena.m_bPridatAbsolutni ? 1 : 0;
    dlgKacena.m_dNulaAbsolutni = objKacena.m_dNulaAbsolutni;
    dlgKacena.m_sUcs = objKacena.m_sUcs;
    const INT_PTR nVysledek = dlgKacena.DoModal();
    if (nVysledek != IDOK)
        return nVysledek;
    objKacena.m_nZnamenko = dlgKacena.m_nZnamenko;
    objKacena.m_nDesMist = dlgKacena.m_nDesMist;
    objKacena.m_dPrepocet = dlgKacena.m_dPrepocet;
    objKacena.m_ptZBod.set(dlgKacena.m_dX, dlgKacena.m_dY);
    objKacena.m_dVyska = dlgKacena.m_dVyska;
    objKacena.m_bPtatSe = dlgKacena.m_bPtatSe;
    objKacena.m_sPopisPod = dlgKacena.m_sPopisPod;
    objKacena.m_bViceradkovy = dlgKacena.m_bViceradkovy;
    objKacena.m_bPridatAbsolutni = dlgKacena.m_bPridatAbsolutni != 0;
    objKacena.m_dNulaAbsolutni = dlgKacena.m_dNulaAbsolutni;
    return nVysledek;
}

void CKvDlgNastaveniKaceny::DoDataExchange(CDataExchange* pDX) {
    CKvAcDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_KAC_PREPOCET, m_editPrepocet);
    DDX_Control(pDX, IDC_KAC_X, m_editX);
    DDX_Control(pDX, IDC_KAC_Y, m_editY);
    DDX_Control(pDX, IDC_KAC_VYSKA, m_editVyska);
    DDX_Control(pDX, IDC_KAC_NULA_ABS, m_editNulaAbs);
    DDX_Check(pDX, IDC_KAC_ZNAMENKO, m_nZnamenko);
    DDX_CBIndex(pDX, IDC_KAC_DESMIST, m_nDesMist);
    DDX_DoubleEdit(pDX, IDC_KAC_PREPOCET, m_dPrepocet);
    DDX_DoubleEdit(pDX, IDC_KAC_X, m_dX);
    DDX_DoubleEdit(pDX, IDC_KAC_Y, m_dY);
    DDX_DoubleEdit(pDX, IDC_KAC_VYSKA, m_dVyska);
    DDX_Check(pDX, IDC_KAC_ZADAVAT, m_bPtatSe);
    DDX_Text(pDX, IDC_KAC_POPIS, m_sPopisPod);
    DDX_Check(pDX, IDC_KAC_VICERADKOVY, m_bViceradkovy);
    DDX_Check(pDX, IDC_KAC_PRIDAT_ABS, m_bPridatAbsolutni);
    DDX_DoubleEdit(pDX, IDC_KAC_NULA_ABS, m_dNulaAbsolutni);
}

BOOL CKvDlgNastaveniKaceny::OnInitDialog() {
    CKvAcDialog::OnInitDialog();
    SetWindowText(L"Kresbon pro AutoCad");
    SetDlgItemText(IDC_KAC_UCS,
                   m_sUcs.IsEmpty() ? CString(L"UCS: ***Nepojmenovaný***") : L"UCS: " + m_sUcs);
    m_bRelativni = true;
    JednotkyPodlePrepoctu();
    return TRUE;
}

void CKvDlgNastaveniKaceny::OnOK() {
    // A number field left empty or invalid would write a meaningless value: it is pointed out
    // and the dialog stays open.
    CDoubleEdit* aPovinne[] = {&m_editPrepocet, &m_editX, &m_editY, &m_editVyska};
    for (CDoubleEdit* pEdit : aPovinne)
        if (pEdit->CtiHodnotu() == DOUBLE_EDIT_PRAZDNA) {
            GotoDlgCtrl(pEdit);
            pEdit->ZobrazTip();
            return;
        }
    if (m_editNulaAbs.IsWindowVisible() && m_editNulaAbs.CtiHodnotu() == DOUBLE_EDIT_PRAZDNA) {
        GotoDlgCtrl(&m_editNulaAbs);
        m_editNulaAbs.ZobrazTip();
        return;
    }
    CKvAcDialog::OnOK();
}

bool CKvDlgNastaveniKaceny::CtiPrepocet(double& dPrepocet) const {
    CString sText;
    GetDlgItemText(IDC_KAC_PREPOCET, sText);
    sText.Trim();
    if (!CCheckedEdit::TextDesetinne(sText))
        return false;
    dPrepocet = _wtof(sText);
    return true;
}

void CKvDlgNastaveniKaceny::JednotkyPodlePrepoctu() {
    double dPrepocet = 0.0;
    if (CtiPrepocet(dPrepocet)) {
        int nRadio = IDC_KAC_JINE;
        if (Blizko(dPrepocet, 1.0))
            nRadio = IDC_KAC_METRY;
        else if (Blizko(dPrepocet, 0.001))
            nRadio = IDC_KAC_MILIMETRY;
        CheckRadioButton(IDC_KAC_MILIMETRY, IDC_KAC_JINE, nRadio);
    }
    VyhodnotPredvolby();
}

void CKvDlgNastaveniKaceny::VyhodnotPredvolby() {
    double dPrepocet = 0.0;
    const bool bCislo = CtiPrepocet(dPrepocet);
    const int nDesMist = static_cast<CComboBox*>(GetDlgItem(IDC_KAC_DESMIST))->GetCurSel();
    const bool bZnamenko = IsDlgButtonChecked(IDC_KAC_ZNAMENKO) == BST_CHECKED;
    if (bCislo && Blizko(dPrepocet, 1.0) && nDesMist == 2 && !bZnamenko) {
        CheckRadioButton(IDC_KAC_RELATIVNI, IDC_KAC_ABSOLUTNI, IDC_KAC_ABSOLUTNI);
        m_bRelativni = false;
    } else if (bCislo && Blizko(dPrepocet, 0.001) && nDesMist == 3 && bZnamenko) {
        CheckRadioButton(IDC_KAC_RELATIVNI, IDC_KAC_ABSOLUTNI, IDC_KAC_RELATIVNI);
        m_bRelativni = true;
    } else {
        CheckDlgButton(IDC_KAC_RELATIVNI, BST_UNCHECKED);
        CheckDlgButton(IDC_KAC_ABSOLUTNI, BST_UNCHECKED);
    }
    NastavPovoleni();
}

void CKvDlgNastaveniKaceny::NastavPovoleni() {
    GetDlgItem(IDC_KAC_PRIDAT_ABS)->EnableWindow(m_bRelativni);
    const bool bAbsolutni = m_bRelativni && IsDlgButtonChecked(IDC_KAC_PRIDAT_ABS) == BST_CHECKED;
    GetDlgItem(IDC_KAC_NULA_ABS)->ShowWindow(bAbsolutni ? SW_SHOW : SW_HIDE);
    GetDlgItem(IDC_KAC_MNM)->ShowWindow(bAbsolutni ? SW_SHOW : SW_HIDE);
    GetDlgItem(IDC_KAC_ZADAVAT)->EnableWindow(!bAbsolutni);
    GetDlgItem(IDC_KAC_POPIS)->EnableWindow(!bAbsolutni);
    const bool bZadavat = IsDlgButtonChecked(IDC_KAC_ZADAVAT) == BST_CHECKED;
    GetDlgItem(IDC_KAC_POPIS)->ShowWindow(bZadavat ? SW_HIDE : SW_SHOW);
}

void CKvDlgNastaveniKaceny::OnRelativni() {
    m_editPrepocet.SetWindowText(L"0.001");
    CheckDlgButton(IDC_KAC_ZNAMENKO, BST_CHECKED);
    static_cast<CComboBox*>(GetDlgItem(IDC_KAC_DESMIST))->SetCurSel(3);
    CheckRadioButton(IDC_KAC_MILIMETRY, IDC_KAC_JINE, IDC_KAC_MILIMETRY);
    m_bRelativni = true;
    VyhodnotPredvolby();
}

void CKvDlgNastaveniKaceny::OnAbsolutni() {
    m_editPrepocet.SetWindowText(L"1");
    CheckDlgButton(IDC_KAC_ZNAMENKO, BST_UNCHECKED);
    static_cast<CComboBox*>(GetDlgItem(IDC_KAC_DESMIST))->SetCurSel(2);
    CheckRadioButton(IDC_KAC_MILIMETRY, IDC_KAC_JINE, IDC_KAC_METRY);
    m_bRelativni = false;
    VyhodnotPredvolby();
}

void CKvDlgNastaveniKaceny::OnMilimetry() {
    m_editPrepocet.SetWindowText(L"0.001");
}

void CKvDlgNastaveniKaceny::OnMetry() {
    m_editPrepocet.SetWindowText(L"1");
}

void CKvDlgNastaveniKaceny::OnJine() {
    GotoDlgCtrl(&m_editPrepocet);
}

void CKvDlgNastaveniKaceny::OnZmenaPrepoctu() {
    JednotkyPodlePrepoctu();
}

void CKvDlgNastaveniKaceny::OnZnamenko() {
    VyhodnotPredvolby();
}

void CKvDlgNastaveniKaceny::OnDesMist() {
    VyhodnotPredvolby();
}

void CKvDlgNastaveniKaceny::OnZadavat() {
    NastavPovoleni();
}

void CKvDlgNastaveniKaceny::OnPridatAbsolutni() {
    NastavPovoleni();
}

void CKvDlgNastaveniKaceny::OnPick() {
    ShowWindow(SW_HIDE);
    ads_point pt = {0, 0, 0};
    if (acedGetPoint(nullptr, L"\nZadej bod: ", pt) == RTNORM) {
        CString sText;
        sText.Format(L"%f", pt[X]);
        m_editX.SetWindowText(sText);
        sText.Format(L"%f", pt[Y]);
        m_editY.SetWindowText(sText);
    }
    ShowWindow(SW_SHOW);
    GotoDlgCtrl(&m_editVyska);
}
