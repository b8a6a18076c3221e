// The layer prefix dialog: which prefix new layers get when the drawing's prefix differs from
// the global one, and whether layer names are changed.
#pragma once

#include "StdAfx.h"

#include "CKvAcDialog.h"
#include "CVoxEditCtrl.h"

#include <string>
#include <vector>

#define IDD_PREDPONY 3000
#define IDC_PRED_DWG 3010
#define IDC_PRED_GLOBALNI 3012
#define IDC_PRED_POUZIT_DWG 3013
#define IDC_PRED_POUZIT_GLOBALNI 3014
#define IDC_PRED_PREJMENOVAT 3015
#define IDC_PRED_DALSI 3016
#define IDC_PRED_NASTAVIT_DWG 3018
#define IDC_PRED_NEPTAT 3019
#define IDC_PRED_STROM 3020
#define IDC_PRED_POUZIT 3021
#define IDC_PRED_NADPIS 3022

class CKvDlgPredpony : public CKvAcDialog {
public:
    explicit CKvDlgPredpony(CWnd* pParent = nullptr, bool bZNastaveni = false);

    // The prefixes that the layer names of the active drawing carry besides sDwg and sGlobalni.
    static std::vector<std::wstring> NajdiPredpony(const std::wstring& sDwg,
                                                   const std::wstring& sGlobalni);
    // Whether a text is a valid prefix: not empty, word characters only.
    static bool PlatnaPredpona(const CString& s);

    CString m_sPredponaDwg;
    CString m_sPredponaGlobalni;
    int m_nPouzitGlobalni = 1; // radio: 0 the drawing's prefix, 1 the global one
    int m_nNastavitDwg = 1;
    int m_nPrejmenovat = 1;
    int m_nDalsi = 0; // three-state
    int m_nNeptat = 0;
    std::vector<std::wstring> m_aNalezene;

    CCheckedEdit m_editDwg;
    CCheckedEdit m_editGlobalni;
    CTreeCtrl m_strom;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    bool m_bZNastaveni;
};
