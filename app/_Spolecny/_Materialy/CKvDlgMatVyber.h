// The choice of a pipe material, and optionally of one of its profiles, from the material list
// (dialog 504).
#pragma once

#include "StdAfx.h"

#include "CKvAcDialog.h"
#include "CTreeListCtrl.h"

#include <string>
#include <vector>

class CVoxMaterial;
class CVoxProfil;
class CVoxSezMaterialu;

#define IDD_MAT_VYBER 504
#define IDC_MAT_TYP_DN 11010
#define IDC_MAT_TYP_DXT 11011
#define IDC_MAT_TYP_JINY 11012
#define IDC_MAT_F_KANALIZACE 11020
#define IDC_MAT_F_TLAKOVA 11021
#define IDC_MAT_F_VODA 11022
#define IDC_MAT_F_PLYN 11023
#define IDC_MAT_F_TEPLO 11024
#define IDC_MAT_F_MEDIUM_VSE 11025
#define IDC_MAT_F_ZTI 11030
#define IDC_MAT_F_SITE 11031
#define IDC_MAT_F_OBLAST_VSE 11032
#define IDC_MAT_KRUH 11035
#define IDC_MAT_VEJCE 11036
#define IDC_MAT_VEJCE_PRAHA 11037
#define IDC_MAT_TLAMA 11038
#define IDC_MAT_OBDELNIK 11039
#define IDC_MAT_EDITACE 11047
#define IDC_MAT_PROFILY 11049
#define IDC_MAT_HELP 11050
#define IDC_MAT_PODROBNY 11051
#define IDC_MAT_SEZNAM 11063
#define IDC_MAT_VYROBCE 11070
#define IDC_MAT_PN 11073
#define IDC_MAT_SDR 11074
#define IDC_MAT_DRSNOST 11075
#define IDC_MAT_VODA 11076
#define IDC_MAT_PLYN 11077
#define IDC_MAT_KANALIZACE 11078
#define IDC_MAT_TEPLO 11079
#define IDC_MAT_KAN_TLAKOVA 11080
#define IDC_MAT_NAZEV 11084
#define IDC_MAT_POPIS 11086
#define IDC_MAT_ZTI 11087
#define IDC_MAT_SITE 11088
#define IDC_MAT_NADPIS_MAT 11100
#define IDC_MAT_NADPIS_PROF 11101

// The help page of the material dialogs.
inline constexpr const wchar_t* MAT_NAPOVEDA_URL = L"https://www.kresbon.cz/napoveda/materialy";

// The texts of the PN and SDr tables in index order, the items of the two combo boxes.
std::vector<std::wstring> TextyPN();
std::vector<std::wstring> TextySDr();

class CKvDlgMatVyber : public CKvAcDialog {
public:
    explicit CKvDlgMatVyber(CWnd* pParent = nullptr, UINT nIDD = IDD_MAT_VYBER);

    using CKvAcDialog::DoModal;
    // Chooses from the list with the filters of the masks; afterwards m_pMaterial and, with
    // bProfil, m_pProfil hold the choice.
    INT_PTR DoModal(CVoxSezMaterialu* pSeznam, UINT nOblast, UINT nMedium, bool bProfil);

    CVoxMaterial* m_pMaterial = nullptr;
    CVoxProfil* m_pProfil = nullptr;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    // The filters' masks as the radio buttons show them.
    UINT FiltrOblast() const;
    UINT FiltrMedium() const;
    // Lists the materials that pass the filters; keeps the selection when it still shows.
    void NaplnSeznam();
    virtual void NaplnProfily(CVoxMaterial* pMaterial);
    // The material form from a material (nullptr: the empty form).
    virtual void NaplnFormular(const CVoxMaterial* pMaterial, UINT nTypPopisu = 1);
    CVoxMaterial* VybranyMaterial() const;
    virtual CString TextProfilu(int nSloupec, const CVoxProfil* pProfil) const;

    afx_msg void OnFiltr();
    afx_msg void OnZmenaMaterialu(NMHDR* pHdr, LRESULT* pResult);
    afx_msg void OnDvojklikMaterialu(NMHDR* pHdr, LRESULT* pResult);
    afx_msg void OnEditace();
    afx_msg void OnNapoveda();
    DECLARE_MESSAGE_MAP()

protected:
    CVoxSezMaterialu* m_pSeznam = nullptr;
    UINT m_nOblast = 3;
    UINT m_nMedium = 31;
    bool m_bProfil = false;
    CTreeListCtrl m_seznam;
    CTreeListCtrl m_profily;
};
