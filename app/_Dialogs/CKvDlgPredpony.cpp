#include "StdAfx.h"

#include "CKvDlgPredpony.h"

#include "CVoxException.h"
#include "CVoxPredpony.h"
#include "CVoxSet.h"

#include <algorithm>

namespace {

const AfxDialogResource s_dlgPredpony{{
    .nID = IDD_PREDPONY,
    .sCaption = L"Nastavení předpon hladin",
    .controls =
        {
            {.nID = IDC_PRED_NADPIS,
             .nKind = AfxCtl::Static,
             .sText = L"Ve výkresu je jiná předpona, než je nastavená"},
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Předpona ve výkresu:"},
            {.nID = IDC_PRED_DWG, .nKind = AfxCtl::Edit, .sText = L"Předpona ve výkresu:"},
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Nastavená předpona:"},
            {.nID = IDC_PRED_GLOBALNI, .nKind = AfxCtl::Edit, .sText = L"Nastavená předpona:"},
            {.nID = IDC_PRED_POUZIT, .nKind = AfxCtl::Static, .sText = L"Použít:"},
            {.nID = IDC_PRED_POUZIT_DWG,
             .nKind = AfxCtl::RadioButton,
             .sText = L"Předponu nastavenou ve výkresu",
             .dwStyle = WS_GROUP},
            {.nID = IDC_PRED_POUZIT_GLOBALNI,
             .nKind = AfxCtl::RadioButton,
             .sText = L"Přednastavenou předponu"},
            {.nID = IDC_PRED_NASTAVIT_DWG,
             .nKind = AfxCtl::CheckBox,
             .sText = L"Přenastavit předponu v dwg",
             .dwStyle = WS_GROUP},
            {.nID = IDC_PRED_PREJMENOVAT,
             .nKind = AfxCtl::CheckBox,
             .sText = L"Přenastavit názvy hladin"},
            {.nID = IDC_PRED_DALSI,
             .nKind = AfxCtl::Auto3State,
             .sText = L"Sjednotit i další hladiny"},
            {.nID = IDC_PRED_STROM,
             .nKind = AfxCtl::Custom,
             .sText = L"Nalezené předpony",
             .sClass = WC_TREEVIEW},
            {.nID = IDC_PRED_NEPTAT, .nKind = AfxCtl::CheckBox, .sText = L"Příště se neptat"},
            {.nID = IDOK, .nKind = AfxCtl::DefPushButton, .sText = L"OK", .dwStyle = WS_GROUP},
            {.nID = IDCANCEL, .nKind = AfxCtl::PushButton, .sText = L"Zrušit"},
        },
}};

} // namespace

CKvDlgPredpony::CKvDlgPredpony(CWnd* pParent, bool bZNastaveni)
    : CKvAcDialog(IDD_PREDPONY, pParent, L"Nastavení předpony"),
      m_editDwg(nullptr, &CKvDlgPredpony::PlatnaPredpona),
      m_editGlobalni(nullptr, &CKvDlgPredpony::PlatnaPredpona), m_bZNastaveni(bZNastaveni) {}

bool CKvDlgPredpony::PlatnaPredpona(const CString& s) {
    return CCheckedEdit::TextZnaky(s);
}

std::vector<std::wstring> CKvDlgPredpony::NajdiPredpony(const std::wstring& sDwg,
                                                        const std::wstring& sGlobalni) {
    std::vector<std::wstring> aNalezene;
    SadaHladin sada;
    g_VoxSet.HladinyPodleKategorie(31, sada);
    ProjdiVlastniHladiny(AcDb::kForRead, [&](AcDbLayerTable*, AcDbLayerTableRecord* pHladina) {
        const std::wstring sJmeno = pHladina->name();
        for (const LayerDef& def : sada) {
            const size_t nPoz = sJmeno.find(def.m_sJmeno);
            if (nPoz == std::wstring::npos || nPoz < 2)
                continue;
            const std::wstring sKandidat = sJmeno.substr(0, nPoz - 1);
            if (sKandidat != sDwg && sKandidat != sGlobalni &&
                std::find(aNalezene.begin(), aNalezene.end(), sKandidat) == aNalezene.end())
                aNalezene.push_back(sKandidat);
        }
    });
    return aNalezene;
}

void CKvDlgPredpony::DoDataExchange(CDataExchange* pDX) {
    CKvAcDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PRED_DWG, m_editDwg);
    DDX_Control(pDX, IDC_PRED_GLOBALNI, m_editGlobalni);
    DDX_Control(pDX, IDC_PRED_STROM, m_strom);
    DDX_Text(pDX, IDC_PRED_DWG, m_sPredponaDwg);
    DDX_Text(pDX, IDC_PRED_GLOBALNI, m_sPredponaGlobalni);
    DDX_Radio(pDX, IDC_PRED_POUZIT_DWG, m_nPouzitGlobalni);
    DDX_Check(pDX, IDC_PRED_NASTAVIT_DWG, m_nNastavitDwg);
    DDX_Check(pDX, IDC_PRED_PREJMENOVAT, m_nPrejmenovat);
    DDX_Check(pDX, IDC_PRED_DALSI, m_nDalsi);
    DDX_Check(pDX, IDC_PRED_NEPTAT, m_nNeptat);
}

BOOL CKvDlgPredpony::OnInitDialog() {
    CKvAcDialog::OnInitDialog();
    m_aNalezene = NajdiPredpony(m_sPredponaDwg.str(), m_sPredponaGlobalni.str());
    m_strom.DeleteAllItems();
    for (const std::wstring& s : m_aNalezene)
        m_strom.InsertItem(s.c_str(), TVI_ROOT, TVI_LAST);
    if (m_bZNastaveni)
        SetDlgItemText(IDC_PRED_NADPIS, L"Nastavte co s předponami v aktuálním výkrese:");
    NastavTucne(IDC_PRED_POUZIT);
    NastavTucne(IDC_PRED_NADPIS);
    PridejTip(IDC_PRED_DWG, L"Předpona nastavená v aktuálním výkrese");
    PridejTip(IDC_PRED_GLOBALNI, L"Globální předpona nastavená v utilitách");
    PridejTip(IDC_PRED_POUZIT_DWG,
              L"Nastavit globální předponu podle předpony v aktuálním výkresu");
    PridejTip(IDC_PRED_POUZIT_GLOBALNI, L"Nastavit předponu ve výkresu podle globální předpony");
    PridejTip(IDC_PRED_NASTAVIT_DWG, L"Přenastavit předponu v aktuálním výkrese");
    PridejTip(IDC_PRED_PREJMENOVAT, L"Vyměnit předponu v názvech hladin v aktuálním výkrese");
    PridejTip(IDC_PRED_DALSI, L"Vyměnit i další nalezené předpony v názvech hladin");
    PridejTip(IDC_PRED_NEPTAT, L"Příště se neptat a použít vždy toto nastavení");
    PridejTip(IDC_PRED_STROM, L"Seznam předpon nalezených v aktuálním výkrese");
    PridejTip(IDOK, L"Ukončí dialog a provede nastavené volby");
    PridejTip(IDCANCEL, L"Použije předponu z výkresu a nic nemění, nepřejmenovává a neslučuje");
    return TRUE;
}

void CKvDlgPredpony::OnOK() {
    CCheckedEdit* aEdity[] = {&m_editDwg, &m_editGlobalni};
    for (CCheckedEdit* pEdit : aEdity)
        if (!pEdit->Zkontroluj()) {
            GotoDlgCtrl(pEdit);
            pEdit->ZobrazTip();
            return;
        }
    CKvAcDialog::OnOK();
}
