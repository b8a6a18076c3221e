// The two small material dialogs: the range of DN rows (502) and the label format of a material
// (501).
#pragma once

#include "StdAfx.h"

#include "CKvAcDialog.h"

#define IDD_MAT_POPIS 501
#define IDD_GET_DN 502
#define IDC_MAT_VNEJSI 11015
#define IDC_MAT_VNITRNI 11016
#define IDC_MAT_PREFIX 11061
#define IDC_MAT_SUFFIX 11062
#define IDC_DN_DO 11045
#define IDC_DN_OD 11057

// Asks for a range of rows of the DN table; after IDOK m_iOd <= m_iDo.
class CKvDlgGetDN : public CKvAcDialog {
public:
    explicit CKvDlgGetDN(CWnd* pParent = nullptr);

    int m_iOd = 0;
    int m_iDo = 0;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
};

// The prefix, suffix and diameter of labels of the type "Jiný".
class CKvDlgMatPopis : public CKvAcDialog {
public:
    explicit CKvDlgMatPopis(CWnd* pParent = nullptr);

    CString m_sPrefix;
    CString m_sSuffix;
    bool m_bVnitrni = false;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    int m_nPrumer = 0; // 0 the outer diameter, 1 the inner one
};
