#include "StdAfx.h"

#include "CKvDlgNastaveniUtilit.h"

#include "CKvDlgMatEdituj.h"
#include "CVoxAnno.h"
#include "CVoxKoty.h"
#include "CVoxMaterial.h"
#include "CVoxRegistry.h"
#include "CVoxException.h"
#include "CVoxNastav.h"
#include "CVoxXRecord.h"
#include "Kresbon.h"
#include "VoxDb.h"
#include "VoxPrevod.h"

namespace {

const ACHAR* const TITULEK = L"Kresbon pro AutoCad";

const AfxDialogResource s_dlgNastaveniUtilit{{
    .nID = IDD_NASTAVENI_UTILIT,
    .sCaption = L"Nastavení Utilit",
    .controls =
        {
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Předpona hladin:"},
            {.nID = IDC_NAST_PREDPONA, .nKind = AfxCtl::Edit, .sText = L"Předpona hladin:"},
            {.nID = IDC_NAST_PREDPONY, .nKind = AfxCtl::PushButton, .sText = L"..."},
            {.nID = IDC_NAST_MULTIVYBER,
             .nKind = AfxCtl::CheckBox,
             .sText = L"Vícenásobný výběr",
             .dwStyle = WS_DISABLED},
            {.nID = IDC_NAST_UCHOPENI,
             .nKind = AfxCtl::CheckBox,
             .sText = L"Přednastavovat uchopení",
             .dwStyle = WS_DISABLED},
            {.nID = IDC_NAST_TXT_MTXT, .nKind = AfxCtl::CheckBox, .sText = L"Text jako MTEXT"},
            {.nID = IDC_NAST_BYLAYER, .nKind = AfxCtl::CheckBox, .sText = L"Nastavovat BYLAYER"},
            {.nID = IDC_NAST_RESET_LAYER,
             .nKind = AfxCtl::CheckBox,
             .sText = L"Přenastavovat hladiny",
             .dwStyle = WS_DISABLED},
            {.nID = IDC_NAST_ATT_MLINE,
             .nKind = AfxCtl::CheckBox,
             .sText = L"Editovat atributy na ploše"},
            {.nID = IDC_NAST_ATT_SINGLE,
             .nKind = AfxCtl::CheckBox,
             .sText = L".....i jednořádkové atr."},
            {.nID = IDC_NAST_UCHOPENI_DLG,
             .nKind = AfxCtl::PushButton,
             .sText = L"Uchopení...",
             .dwStyle = WS_DISABLED},
            {.nID = IDC_STATIC, .nKind = AfxCtl::GroupBox, .sText = L"Převod starých výkresů"},
            {.nID = IDC_NAST_PREV_STYLY,
             .nKind = AfxCtl::CheckBox,
             .sText = L"Styly kót, textů a odkazů"},
            {.nID = IDC_NAST_PREV_HLADINY, .nKind = AfxCtl::CheckBox, .sText = L"Názvy hladin"},
            {.nID = IDC_NAST_PREV_TYPY, .nKind = AfxCtl::CheckBox, .sText = L"Typy čar"},
            {.nID = IDC_NAST_PREVEST, .nKind = AfxCtl::PushButton, .sText = L"Převést"},
            {.nID = IDC_STATIC, .nKind = AfxCtl::GroupBox, .sText = L"Měřítka poznámek"},
            {.nID = IDC_NAST_JEDNOTKY, .nKind = AfxCtl::Static, .sText = L"Jednotky: "},
            {.nID = IDC_NAST_MERITKA, .nKind = AfxCtl::PushButton, .sText = L"Přidej měřítka"},
            {.nID = IDC_NAST_SMAZAT_MERITKA,
             .nKind = AfxCtl::CheckBox,
             .sText = L"Vymazat stará měřítka"},
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Výchozí materiál:"},
            {.nID = IDC_NAST_MATERIAL,
             .nKind = AfxCtl::Edit,
             .sText = L"Výchozí materiál:",
             .dwStyle = ES_READONLY},
            {.nID = IDC_NAST_VYBER_MATERIAL, .nKind = AfxCtl::PushButton, .sText = L"Vyber...."},
            {.nID = IDC_NAST_MATERIALY, .nKind = AfxCtl::PushButton, .sText = L"Materiály..."},
            {.nID = IDC_STATIC,
             .nKind = AfxCtl::GroupBox,
             .sText = L"Nastavení fontů",
             .dwStyle = WS_DISABLED},
            {.nID = IDC_NAST_ODSTRANIT,
             .nKind = AfxCtl::PushButton,
             .sText = L"Odstranit nastavení z DWG"},
            {.nID = IDC_NAST_ABOUT, .nKind = AfxCtl::PushButton, .sText = L"About.."},
            {.nID = IDOK, .nKind = AfxCtl::DefPushButton, .sText = L"OK", .dwStyle = WS_GROUP},
            {.nID = IDCANCEL, .nKind = AfxCtl::PushButton, .sText = L"Cancel"},
        },
}};

const AfxDialogResource s_dlgAbout{{
    .nID = IDD_ABOUT,
    .sCaption = L"O programu",
    .controls =
        {
            {.nID = IDC_ABOUT_PRODUKT, .nKind = AfxCtl::Static, .sText = L"Kresbon pro AutoCad"},
            {.nID = IDC_ABOUT_VERZE, .nKind = AfxCtl::Static, .sText = L"Verze: " KRESBON_VERZE},
            {.nID = IDC_ABOUT_DATUM, .nKind = AfxCtl::Static, .sText = L"Datum: " __DATE__},
            {.nID = IDOK, .nKind = AfxCtl::DefPushButton, .sText = L"OK"},
        },
}};

} // namespace

BEGIN_MESSAGE_MAP(CKvDlgNastaveniUtilit, CKvAcDialog)
ON_EN_CHANGE(IDC_NAST_PREDPONA, &CKvDlgNastaveniUtilit::OnZmenaPredpony)
ON_BN_CLICKED(IDC_NAST_PREDPONY, &CKvDlgNastaveniUtilit::OnPredpony)
ON_BN_CLICKED(IDC_NAST_PREVEST, &CKvDlgNastaveniUtilit::OnPrevest)
ON_BN_CLICKED(IDC_NAST_MERITKA, &CKvDlgNastaveniUtilit::OnMeritka)
ON_BN_CLICKED(IDC_NAST_ODSTRANIT, &CKvDlgNastaveniUtilit::OnOdstranit)
ON_BN_CLICKED(IDC_NAST_ABOUT, &CKvDlgNastaveniUtilit::OnAbout)
ON_BN_CLICKED(IDC_NAST_VYBER_MATERIAL, &CKvDlgNastaveniUtilit::OnVyberMaterial)
ON_BN_CLICKED(IDC_NAST_MATERIALY, &CKvDlgNastaveniUtilit::OnMaterialy)
END_MESSAGE_MAP()

CKvDlgNastaveniUtilit::CKvDlgNastaveniUtilit(CVoxPredpony& objPredpony, CWnd* pParent)
    : CKvAcDialog(IDD_NASTAVENI_UTILIT, pParent), m_objPredpony(objPredpony) {
    m_editPredpona.SetTyp(EDIT_TYP_ZNAKY, 3);
}

INT_PTR CKvDlgNastaveniUtilit::Spust(CVoxNastav& objNastaveni) {
    CKvDlgNastaveniUtilit dlgNastaveni(objNastaveni.m_Predpony,
                                       CWnd::FromHandle(adsw_acadMainWnd()));
    dlgNastaveni.m_sPredpona = objNastaveni.m_Predpony.GlobalniPredpona().c_str();
    dlgNastaveni.m_nMultiVyber = static_cast<int>(objNastaveni.m_nMultiVyber);
    dlgNastaveni.m_nUchopeni = static_cast<int>(objNastaveni.m_nUchopeni);
    dlgNastaveni.m_nTxtMtxt = static_cast<int>(objNastaveni.m_nTxtMtxt);
    dlgNastaveni.m_nSetByLayer = static_cast<int>(objNastaveni.m_nSetByLayer);
    dlgNastaveni.m_nResetLayer = static_cast<int>(objNastaveni.m_nResetLayer);
    dlgNastaveni.m_nAttEditMLine = static_cast<int>(objNastaveni.m_nAttEditMLine);
    dlgNastaveni.m_nAttEditSingle = static_cast<int>(objNastaveni.m_nAttEditSingle);
    dlgNastaveni.m_sMaterial = objNastaveni.m_sDefMaterial.c_str();
    const INT_PTR nVysledek = dlgNastaveni.DoModal();
    if (nVysledek != IDOK)
        return nVysledek;
    objNastaveni.m_bNastaveno = true;
    objNastaveni.m_Predpony.NastavGlobalniPredponu(dlgNastaveni.m_sPredpona.str());
    objNastaveni.m_nMultiVyber = static_cast<DWORD>(dlgNastaveni.m_nMultiVyber);
    objNastaveni.m_nUchopeni = static_cast<DWORD>(dlgNastaveni.m_nUchopeni);
    objNastaveni.m_nTxtMtxt = static_cast<DWORD>(dlgNastaveni.m_nTxtMtxt);
    objNastaveni.m_nSetByLayer = static_cast<DWORD>(dlgNastaveni.m_nSetByLayer);
    objNastaveni.m_nResetLayer = static_cast<DWORD>(dlgNastaveni.m_nResetLayer);
    objNastaveni.m_nAttEditMLine = static_cast<DWORD>(dlgNastaveni.m_nAttEditMLine);
    objNastaveni.m_nAttEditSingle = static_cast<DWORD>(dlgNastaveni.m_nAttEditSingle);
    return nVysledek;
}

void CKvDlgNastaveniUtilit::DoDataExchange(CDataExchange* pDX) {
    CKvAcDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NAST_PREDPONA, m_editPredpona);
    DDX_Text(pDX, IDC_NAST_PREDPONA, m_sPredpona);
    DDV_MaxChars(pDX, m_sPredpona, 3);
    DDX_Check(pDX, IDC_NAST_MULTIVYBER, m_nMultiVyber);
    DDX_Check(pDX, IDC_NAST_UCHOPENI, m_nUchopeni);
    DDX_Check(pDX, IDC_NAST_TXT_MTXT, m_nTxtMtxt);
    DDX_Check(pDX, IDC_NAST_BYLAYER, m_nSetByLayer);
    DDX_Check(pDX, IDC_NAST_RESET_LAYER, m_nResetLayer);
    DDX_Check(pDX, IDC_NAST_ATT_MLINE, m_nAttEditMLine);
    DDX_Check(pDX, IDC_NAST_ATT_SINGLE, m_nAttEditSingle);
    DDX_Check(pDX, IDC_NAST_PREV_STYLY, m_nPrevStyly);
    DDX_Check(pDX, IDC_NAST_PREV_HLADINY, m_nPrevHladiny);
    DDX_Check(pDX, IDC_NAST_PREV_TYPY, m_nPrevTypy);
    DDX_Check(pDX, IDC_NAST_SMAZAT_MERITKA, m_nSmazatMeritka);
    if (!pDX->m_bSaveAndValidate) {
        // The default material chosen last (also in an earlier session) is the one in the
        // registry; without one the field shows what the settings hold.
        std::wstring sCurMat;
        if (CVoxRegistry::CtiRetezec(REG_KLIC_PRODUKT, L"CurMat", sCurMat, REG_PODKLIC_NASTAVENI) &&
            !sCurMat.empty())
            m_sMaterial = sCurMat.c_str();
    }
    DDX_Text(pDX, IDC_NAST_MATERIAL, m_sMaterial);
    NastavJednotky();
}

BOOL CKvDlgNastaveniUtilit::OnInitDialog() {
    CKvAcDialog::OnInitDialog();
    SetWindowText(TITULEK);
    OnZmenaPredpony();
    return TRUE;
}

void CKvDlgNastaveniUtilit::NastavJednotky() {
    const short nJednotky = CtiSysPromInt(L"INSUNITS");
    const bool bZnama = nJednotky == 4 || nJednotky == 6;
    CString sText = L"Jednotky: ";
    sText += nJednotky == 4 ? L"milimetry" : nJednotky == 6 ? L"metry" : L"jiné";
    SetDlgItemText(IDC_NAST_JEDNOTKY, sText);
    if (CWnd* pOkno = GetDlgItem(IDC_NAST_MERITKA))
        pOkno->EnableWindow(bZnama);
    if (CWnd* pOkno = GetDlgItem(IDC_NAST_SMAZAT_MERITKA))
        pOkno->EnableWindow(bZnama);
}

void CKvDlgNastaveniUtilit::OnZmenaPredpony() {
    if (CWnd* pOk = GetDlgItem(IDOK))
        pOk->EnableWindow(m_editPredpona.Zkontroluj());
}

void CKvDlgNastaveniUtilit::OnOK() {
    if (!m_editPredpona.Zkontroluj())
        return;
    CKvAcDialog::OnOK();
}

void CKvDlgNastaveniUtilit::OnPredpony() {
    if (!UpdateData(TRUE))
        return;
    if (m_editPredpona.Zkontroluj())
        m_objPredpony.NastavGlobalniPredponu(m_sPredpona.str());
    try {
        if (m_objPredpony.Zeptej(true))
            m_objPredpony.Proved();
    } catch (const std::exception& e) {
        ZobrazVyjimku(e);
    }
    m_sPredpona = m_objPredpony.GlobalniPredpona().c_str();
    UpdateData(FALSE);
    OnZmenaPredpony();
}

void CKvDlgNastaveniUtilit::OnPrevest() {
    if (!UpdateData(TRUE))
        return;
    if (m_editPredpona.Zkontroluj())
        m_objPredpony.NastavGlobalniPredponu(m_sPredpona.str());
    int nMaska = 0;
    if (m_nPrevStyly)
        nMaska |= PREVOD_STYLY;
    if (m_nPrevHladiny)
        nMaska |= PREVOD_HLADINY;
    if (m_nPrevTypy)
        nMaska |= PREVOD_TYPY_CAR;
    try {
        PrevedStareNazvy(nMaska);
    } catch (const std::exception& e) {
        ZobrazVyjimku(e);
        return;
    }
    MessageBoxW(m_hWnd,
                L"Vše bylo převedeno\ndoporučujeme otevřít a zavřít výkres\nu některých bloků je "
                L"nutné\npoužít příkaz 'SYNCHRONIZOVAT'",
                TITULEK, MB_ICONINFORMATION);
}

void CKvDlgNastaveniUtilit::OnMeritka() {
    const short nJednotky = CtiSysPromInt(L"INSUNITS");
    if (nJednotky != 4 && nJednotky != 6) {
        MessageBoxW(
            m_hWnd,
            L"Měřítka lze založit pouze pro milimetry nebo metry\nnastavte jednotky výkresu "
            L"příkazem JEDNOTKY",
            TITULEK, MB_ICONINFORMATION);
        return;
    }
    try {
        if (IsDlgButtonChecked(IDC_NAST_SMAZAT_MERITKA) == BST_CHECKED)
            CVoxAnno::SmazMeritka(acdbHostApplicationServices()->workingDatabase());
        CVoxSeznamMeritek seznam;
        CVoxAnno::NastavMeritka(seznam, static_cast<AcDb::UnitsValue>(nJednotky));
    } catch (const std::exception& e) {
        ZobrazVyjimku(e);
        return;
    }
    MessageBoxW(m_hWnd, L"Měřítka byla úspěšně přidána", TITULEK, MB_ICONINFORMATION);
}

void CKvDlgNastaveniUtilit::OnVyberMaterial() {
    try {
        CVoxMaterial* pMaterial = nullptr;
        if (!VyberMaterialDialogem(CVoxKoty::Instance().Seznam(), OBLAST_ZTI, MEDIUM_VSE, false,
                                   &pMaterial, nullptr) ||
            !pMaterial)
            return;
        // The default material is written at once, not at unload.
        CVoxRegistry::UlozRetezec(REG_KLIC_PRODUKT, L"CurMat", pMaterial->GetNazev(),
                                  REG_PODKLIC_NASTAVENI);
        CVoxRegistry::UlozDouble(REG_KLIC_PRODUKT, L"CurMatDrsnost", pMaterial->GetDrsnost(),
                                 REG_PODKLIC_NASTAVENI);
        CVoxRegistry::UlozDword(REG_KLIC_PRODUKT, L"CurMatPN",
                                static_cast<DWORD>(pMaterial->GetPN()), REG_PODKLIC_NASTAVENI);
        CVoxRegistry::UlozDword(REG_KLIC_PRODUKT, L"CurMatSDR",
                                static_cast<DWORD>(pMaterial->GetSDr()), REG_PODKLIC_NASTAVENI);
        CVoxRegistry::UlozDword(REG_KLIC_PRODUKT, L"CurMatPop",
                                static_cast<DWORD>(pMaterial->GetTypPopisu()),
                                REG_PODKLIC_NASTAVENI);
        if (g_pNastaveni)
            g_pNastaveni->m_sDefMaterial = pMaterial->GetNazev().GetString();
        m_sMaterial = pMaterial->GetNazev();
        SetDlgItemText(IDC_NAST_MATERIAL, m_sMaterial);
    } catch (const std::exception& e) {
        ZobrazVyjimku(e);
    }
}

void CKvDlgNastaveniUtilit::OnMaterialy() {
    // The material database is read on first use; the dialog edits it in place.
    try {
        EditujMaterialyDialogem(CVoxKoty::Instance().Seznam(), this);
    } catch (const std::exception& e) {
        ZobrazVyjimku(e, GetSafeHwnd());
    }
}

void CKvDlgNastaveniUtilit::OnOdstranit() {
    try {
        CVoxXRecord::Smaz();
    } catch (const std::exception& e) {
        ZobrazVyjimku(e);
    }
}

void CKvDlgNastaveniUtilit::OnAbout() {
    CKvDlgAbout dlgAbout(this);
    dlgAbout.DoModal();
}

CKvDlgAbout::CKvDlgAbout(CWnd* pParent) : CKvAcDialog(IDD_ABOUT, pParent) {}

void PrikazKbset() {
    if (g_pNastaveni)
        CKvDlgNastaveniUtilit::Spust(*g_pNastaveni);
}
