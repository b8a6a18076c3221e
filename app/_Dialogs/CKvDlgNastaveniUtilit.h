// The settings dialog of the application: the layer prefix, the behaviour flags, conversion of
// drawings of the previous standard, annotation scales, removal of the drawing's store and the
// about box.
#pragma once

#include "StdAfx.h"

#include "CKvAcDialog.h"
#include "CVoxEditCtrl.h"

class CVoxNastav;
class CVoxPredpony;

#define IDD_NASTAVENI_UTILIT 350
#define IDC_NAST_PREDPONA 110
#define IDC_NAST_PREDPONY 136
#define IDC_NAST_MULTIVYBER 114
#define IDC_NAST_UCHOPENI 119
#define IDC_NAST_TXT_MTXT 53
#define IDC_NAST_BYLAYER 129
#define IDC_NAST_RESET_LAYER 135
#define IDC_NAST_ATT_MLINE 133
#define IDC_NAST_ATT_SINGLE 134
#define IDC_NAST_PREV_STYLY 115
#define IDC_NAST_PREV_HLADINY 54
#define IDC_NAST_PREV_TYPY 121
#define IDC_NAST_PREVEST 131
#define IDC_NAST_JEDNOTKY 124
#define IDC_NAST_MERITKA 125
#define IDC_NAST_SMAZAT_MERITKA 132
#define IDC_NAST_MATERIAL 151
#define IDC_NAST_VYBER_MATERIAL 126
#define IDC_NAST_MATERIALY 128
#define IDC_NAST_ODSTRANIT 144
#define IDC_NAST_ABOUT 127
#define IDC_NAST_UCHOPENI_DLG 117

#define IDD_ABOUT 49
#define IDC_ABOUT_PRODUKT 4901
#define IDC_ABOUT_VERZE 4902
#define IDC_ABOUT_DATUM 4903

class CKvDlgNastaveniUtilit : public CKvAcDialog {
public:
    CKvDlgNastaveniUtilit(CVoxPredpony& objPredpony, CWnd* pParent = nullptr);

    // Runs the dialog over the host's main window on the settings; OK takes the prefix and the
    // flags over and marks the settings as confirmed. Returns the dialog's result.
    static INT_PTR Spust(CVoxNastav& objNastaveni);

    CString m_sPredpona;
    int m_nMultiVyber = 0;
    int m_nUchopeni = 0;
    int m_nTxtMtxt = 0;
    int m_nSetByLayer = 0;
    int m_nResetLayer = 0;
    int m_nAttEditMLine = 0;
    int m_nAttEditSingle = 0;
    int m_nPrevStyly = 1;
    int m_nPrevHladiny = 1;
    int m_nPrevTypy = 1;
    int m_nSmazatMeritka = 0;
    CString m_sMaterial;

    CCheckedEdit m_editPredpona;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    // The units text and the enabling of the scale controls after INSUNITS.
    void NastavJednotky();

    afx_msg void OnZmenaPredpony();
    afx_msg void OnPredpony();
    afx_msg void OnPrevest();
    afx_msg void OnMeritka();
    afx_msg void OnOdstranit();
    afx_msg void OnAbout();
    afx_msg void OnVyberMaterial();
    afx_msg void OnMaterialy();
    DECLARE_MESSAGE_MAP()

    CVoxPredpony& m_objPredpony;
};

// The about box: the product's name, version and date.
class CKvDlgAbout : public CKvAcDialog {
public:
    explicit CKvDlgAbout(CWnd* pParent = nullptr);
};

// The command that opens the settings dialog.
void PrikazKbset();
