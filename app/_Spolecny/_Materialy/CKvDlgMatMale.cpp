#include "StdAfx.h"

#include "CKvDlgMatMale.h"

#include "CVoxMaterial.h"

namespace {

std::vector<const wchar_t*> TextyDN() {
    std::vector<const wchar_t*> v;
    for (const VoxRadekDN& r : g_aTabulkaDN)
        v.push_back(r.sText);
    return v;
}

const AfxDialogResource s_dlgGetDN{{
    .nID = IDD_GET_DN,
    .sCaption = L"Výběr rozsahu DN",
    .controls =
        {
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"od DN"},
            {.nID = IDC_DN_OD, .nKind = AfxCtl::DropList, .sText = L"od DN"},
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"do DN"},
            {.nID = IDC_DN_DO, .nKind = AfxCtl::DropList, .sText = L"do DN"},
            {.nID = IDOK, .nKind = AfxCtl::DefPushButton, .sText = L"OK", .dwStyle = WS_GROUP},
            {.nID = IDCANCEL, .nKind = AfxCtl::PushButton, .sText = L"Zruš"},
        },
}};

const AfxDialogResource s_dlgMatPopis{{
    .nID = IDD_MAT_POPIS,
    .sCaption = L"Zadej formát popisu",
    .controls =
        {
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Předpona"},
            {.nID = IDC_MAT_PREFIX, .nKind = AfxCtl::Edit, .sText = L"Předpona"},
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Přípona"},
            {.nID = IDC_MAT_SUFFIX, .nKind = AfxCtl::Edit, .sText = L"Přípona"},
            {.nID = IDC_MAT_VNEJSI,
             .nKind = AfxCtl::RadioButton,
             .sText = L"Vnější průměr",
             .dwStyle = WS_GROUP},
            {.nID = IDC_MAT_VNITRNI, .nKind = AfxCtl::RadioButton, .sText = L"Vnitřní průměr"},
            {.nID = IDOK, .nKind = AfxCtl::DefPushButton, .sText = L"OK", .dwStyle = WS_GROUP},
            {.nID = IDCANCEL, .nKind = AfxCtl::PushButton, .sText = L"Zruš"},
        },
}};

} // namespace

// --- The range of DN rows -----------------------------------------------------------------------

CKvDlgGetDN::CKvDlgGetDN(CWnd* pParent) : CKvAcDialog(IDD_GET_DN, pParent) {}

BOOL CKvDlgGetDN::OnInitDialog() {
    // The rows of the table in their order: a selection is a table index.
    for (UINT nId : {IDC_DN_OD, IDC_DN_DO}) {
        auto* pCombo = static_cast<CComboBox*>(GetDlgItem(nId));
        pCombo->ResetContent();
        for (const wchar_t* s : TextyDN())
            pCombo->AddString(s);
    }
    return CKvAcDialog::OnInitDialog();
}

void CKvDlgGetDN::DoDataExchange(CDataExchange* pDX) {
    CKvAcDialog::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_DN_OD, m_iOd);
    DDX_CBIndex(pDX, IDC_DN_DO, m_iDo);
}

void CKvDlgGetDN::OnOK() {
    if (!UpdateData(TRUE))
        return;
    if (m_iDo < m_iOd || m_iOd < 0) {
        ::MessageBoxW(GetSafeHwnd(), L"DN 'od' musí být menší nebo rovno DN 'do'",
                      L"Kresbon pro AutoCad", MB_OK | MB_ICONWARNING);
        return;
    }
    EndDialog(IDOK);
}

// --- The label format ---------------------------------------------------------------------------

CKvDlgMatPopis::CKvDlgMatPopis(CWnd* pParent) : CKvAcDialog(IDD_MAT_POPIS, pParent) {}

BOOL CKvDlgMatPopis::OnInitDialog() {
    m_nPrumer = m_bVnitrni ? 1 : 0;
    CKvAcDialog::OnInitDialog();
    static_cast<CEdit*>(GetDlgItem(IDC_MAT_PREFIX))->LimitText(4);
    static_cast<CEdit*>(GetDlgItem(IDC_MAT_SUFFIX))->LimitText(4);
    return TRUE;
}

void CKvDlgMatPopis::DoDataExchange(CDataExchange* pDX) {
    CKvAcDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_MAT_PREFIX, m_sPrefix);
    DDV_MaxChars(pDX, m_sPrefix, 4);
    DDX_Text(pDX, IDC_MAT_SUFFIX, m_sSuffix);
    DDV_MaxChars(pDX, m_sSuffix, 4);
    DDX_Radio(pDX, IDC_MAT_VNEJSI, m_nPrumer);
    if (pDX->m_bSaveAndValidate)
        m_bVnitrni = m_nPrumer == 1;
}
