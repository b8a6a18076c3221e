// The settings dialog of the elevation marker: sign and decimals of the height text, the unit
// factor, the base point and its height, the description and the absolute height.
#pragma once

#include "StdAfx.h"

#include "CKvAcDialog.h"
#include "CVoxEditCtrl.h"

class CKacena;

#define IDD_NASTAVENI_KACENY 300
#define IDC_KAC_ZNAMENKO 301
#define IDC_KAC_DESMIST 302
#define IDC_KAC_ZADAVAT 303
#define IDC_KAC_MILIMETRY 304
#define IDC_KAC_METRY 305
#define IDC_KAC_JINE 307
#define IDC_KAC_Y 308
#define IDC_KAC_X 309
#define IDC_KAC_PICK 310
#define IDC_KAC_RELATIVNI 311
#define IDC_KAC_ABSOLUTNI 313
#define IDC_KAC_PREPOCET 314
#define IDC_KAC_VICERADKOVY 315
#define IDC_KAC_POPIS 316
#define IDC_KAC_UCS 356
#define IDC_KAC_VYSKA 104
#define IDC_KAC_PRIDAT_ABS 148
#define IDC_KAC_NULA_ABS 149
#define IDC_KAC_MNM 150

class CKvDlgNastaveniKaceny : public CKvAcDialog {
public:
    explicit CKvDlgNastaveniKaceny(CWnd* pParent = nullptr);

    // Shows the settings of the marker and, on OK, writes every field back. Returns the
    // dialog's result.
    static INT_PTR Nastav(CKacena& objKacena);

    int m_nZnamenko = 0;
    int m_nDesMist = 3;
    double m_dPrepocet = 1.0;
    double m_dX = 0.0;
    double m_dY = 0.0;
    double m_dVyska = 0.0;
    int m_bPtatSe = 0;
    CString m_sPopisPod;
    int m_bViceradkovy = 0;
    int m_bPridatAbsolutni = 0;
    double m_dNulaAbsolutni = 0.0;
    CString m_sUcs;
    // The relative mode: on after initialisation and after the preset "Relativní kóta".
    bool m_bRelativni = true;

    CDoubleEdit m_editPrepocet;
    CDoubleEdit m_editX;
    CDoubleEdit m_editY;
    CDoubleEdit m_editVyska;
    CDoubleEdit m_editNulaAbs;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    // The factor as typed; false when the text is no number.
    bool CtiPrepocet(double& dPrepocet) const;
    // The unit radio that follows the factor, then the preset marks.
    void JednotkyPodlePrepoctu();
    void VyhodnotPredvolby();
    // Enables and shows the description and absolute height controls.
    void NastavPovoleni();

    afx_msg void OnRelativni();
    afx_msg void OnAbsolutni();
    afx_msg void OnMilimetry();
    afx_msg void OnMetry();
    afx_msg void OnJine();
    afx_msg void OnZmenaPrepoctu();
    afx_msg void OnZnamenko();
    afx_msg void OnDesMist();
    afx_msg void OnZadavat();
    afx_msg void OnPridatAbsolutni();
    afx_msg void OnPick();
    DECLARE_MESSAGE_MAP()
};
