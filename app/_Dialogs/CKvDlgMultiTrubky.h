// The multi-pipe dialog: the source layers (of the drawing or of the standard) on the left, the
// layers of the bundle on the right with the top pipe first, the spacing in millimetres and which
// pipe the picked points define.
#pragma once

#include "StdAfx.h"

#include "CDragAndDropListBox.h"
#include "CKvAcDialog.h"

#include <string>
#include <vector>

#define IDD_MULTITRUBKY 2100
#define IDC_MUT_ZDROJ 2101
#define IDC_MUT_HLADINY 2103
#define IDC_MUT_VYKRES 2104
#define IDC_MUT_STANDARDNI 2105
#define IDC_MUT_ODEBRAT 2106
#define IDC_MUT_VYBRAT 2107
#define IDC_MUT_ROZTEC 2108
#define IDC_MUT_NAHORU 2109
#define IDC_MUT_DOLU 2110
#define IDC_MUT_PROHODIT 2111
#define IDC_MUT_VYMAZAT 2112
#define IDC_MUT_HORNI 2113
#define IDC_MUT_STRED 2114
#define IDC_MUT_SPODNI 2115
#define IDC_MUT_PRIDAT 2116
#define IDC_MUT_SPIN 2117

class CVoxMultiTrubky;

class CKvDlgMultiTrubky : public CKvAcDialog {
public:
    explicit CKvDlgMultiTrubky(CWnd* pParent = nullptr);

    // Shows the settings of the bundle and, on OK, takes the layers, the type and the spacing
    // over. Returns the dialog's result.
    static INT_PTR Nastav(CVoxMultiTrubky& objMulti);

    // The layers of the bundle as listed: the top pipe (drawn from left to right) first.
    std::vector<std::wstring> m_aHladiny;
    int m_nRoztec = 100; // millimetres
    int m_nTyp = 2;      // 0 top, 1 middle, 2 bottom pipe on the picked points
    bool m_bStandardni = false;

    CListBox m_lbZdroj;
    CDragAndDropListBox m_lbHladiny;

    // Whole millimetres of a spacing in drawing units (f drawing units per metre).
    static int Milimetry(double dRoztec, double dJednotky);
    // Sorts names by the Czech collation; false (order by code points) when the Czech locale is
    // not available.
    static bool SeradCesky(std::vector<std::wstring>& aJmena);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    // Fills the source list with the drawing's or the standard's layer names.
    void NaplnZdroj();
    std::vector<std::wstring> Hladiny() const;
    void NastavHladiny(const std::vector<std::wstring>& aHladiny, int nVybrana);

    afx_msg void OnVykres();
    afx_msg void OnStandardni();
    afx_msg void OnPridat();
    afx_msg void OnOdebrat();
    afx_msg void OnNahoru();
    afx_msg void OnDolu();
    afx_msg void OnProhodit();
    afx_msg void OnVybrat();
    afx_msg void OnVymazat();
    DECLARE_MESSAGE_MAP()
};
