// The class library's dialogs driven through the dialog protocol on the host's input stream.
#include "afxwin.h"

#include "hostio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

enum {
    IDD_TEST = 9001,
    IDC_NAME = 101,
    IDC_ZAPNUTO = 102,
    IDC_POCET = 103,
    IDC_R1 = 104,
    IDC_R2 = 105,
    IDC_CISLO = 106,
    IDC_SEZNAM = 107,
    IDC_VYBER = 108,
    IDC_POPIS = 109,
    IDC_SPIN = 110,
};

const AfxDialogResource s_test{{
    .nID = IDD_TEST,
    .sCaption = L"Zkouška",
    .controls =
        {
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Jméno:"},
            {.nID = IDC_NAME, .nKind = AfxCtl::Edit, .sText = L"Jméno"},
            {.nID = IDC_ZAPNUTO, .nKind = AfxCtl::CheckBox, .sText = L"Zapnuto"},
            {.nID = IDC_POCET,
             .nKind = AfxCtl::DropList,
             .sText = L"Počet",
             .items = {L"jeden", L"dva", L"tři"}},
            {.nID = IDC_R1, .nKind = AfxCtl::RadioButton, .sText = L"První", .dwStyle = WS_GROUP},
            {.nID = IDC_R2, .nKind = AfxCtl::RadioButton, .sText = L"Druhý"},
            {.nID = IDC_CISLO, .nKind = AfxCtl::Edit, .sText = L"Číslo", .dwStyle = WS_GROUP},
            {.nID = IDC_SEZNAM, .nKind = AfxCtl::ListBox, .sText = L"Seznam", .nRows = 3},
            {.nID = IDC_VYBER, .nKind = AfxCtl::PushButton, .sText = L"Vyber..."},
            {.nID = IDC_POPIS, .nKind = AfxCtl::Static, .sText = L"", .bHidden = true},
            {.nID = IDC_SPIN, .nKind = AfxCtl::Spin, .sText = L"Krok", .dwStyle = UDS_SETBUDDYINT},
            {.nID = IDOK, .nKind = AfxCtl::DefPushButton, .sText = L"OK"},
            {.nID = IDCANCEL, .nKind = AfxCtl::PushButton, .sText = L"Storno"},
        },
}};

constexpr UINT WM_ZMENA = WM_APP + 7;

// An edit that refuses digits, sees its own changes first and tells the parent when it loses
// the focus, with a yellow background while it is empty.
class CJmenoEdit : public CEdit {
public:
    int m_nZmen = 0;
    CBrush m_zluta{RGB(255, 255, 160)};

protected:
    afx_msg void OnChar(UINT nChar, UINT nRep, UINT nFlags) {
        if (nChar >= L'0' && nChar <= L'9') {
            ShowBalloonTip(L"Chyba", L"Bez číslic");
            return;
        }
        CEdit::OnChar(nChar, nRep, nFlags);
    }
    afx_msg BOOL OnZmena() {
        ++m_nZmen;
        return FALSE; // the parent sees it too
    }
    afx_msg void OnKillFocus(CWnd* pNew) {
        CEdit::OnKillFocus(pNew);
        CString s;
        GetWindowText(s);
        GetParent()->SendMessage(WM_ZMENA, static_cast<WPARAM>(GetDlgCtrlID()),
                                 static_cast<LPARAM>(s.GetLength()));
    }
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT) {
        if (GetWindowTextLength() > 0)
            return nullptr;
        pDC->SetTextColor(RGB(255, 0, 0));
        pDC->SetBkColor(RGB(255, 255, 160));
        return m_zluta;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CJmenoEdit, CEdit)
ON_WM_CHAR()
ON_CONTROL_REFLECT_EX(EN_CHANGE, &CJmenoEdit::OnZmena)
ON_WM_KILLFOCUS()
ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

// A list box that records the mouse messages it gets and leaves them to the list.
class CZaznamList : public CListBox {
public:
    std::vector<std::wstring> m_aUdalosti;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint pt) {
        BOOL bMimo = FALSE;
        m_aUdalosti.push_back(L"down " + std::to_wstring(ItemFromPoint(pt, bMimo)));
        CListBox::OnLButtonDown(nFlags, pt);
    }
    afx_msg void OnMouseMove(UINT, CPoint pt) {
        BOOL bMimo = FALSE;
        UINT n = ItemFromPoint(pt, bMimo);
        m_aUdalosti.push_back(bMimo ? L"move outside" : L"move " + std::to_wstring(n));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CZaznamList, CListBox)
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

class CTestDlg : public CDialogEx {
public:
    CTestDlg() : CDialogEx(IDD_TEST) {}

    CString m_sJmeno = L"Petr";
    int m_bZapnuto = 1;
    int m_nPocet = 1;
    int m_nRadio = 1;
    double m_dCislo = 2.5;
    CJmenoEdit m_editJmeno;
    CZaznamList m_seznam;
    CToolTipCtrl m_tipy;
    std::vector<std::wstring> m_aUdalosti;
    std::function<void()> m_fceVyber;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialogEx::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_NAME, m_editJmeno);
        DDX_Control(pDX, IDC_SEZNAM, m_seznam);
        DDX_Text(pDX, IDC_NAME, m_sJmeno);
        DDX_Check(pDX, IDC_ZAPNUTO, m_bZapnuto);
        DDX_CBIndex(pDX, IDC_POCET, m_nPocet);
        DDX_Radio(pDX, IDC_R1, m_nRadio);
        DDX_Text(pDX, IDC_CISLO, m_dCislo);
        DDV_MinMaxDouble(pDX, m_dCislo, 0.0, 10.0);
    }
    BOOL OnInitDialog() override {
        CDialogEx::OnInitDialog();
        for (const wchar_t* s : {L"a", L"b", L"c", L"d", L"e"})
            m_seznam.AddString(s);
        m_tipy.Create(this);
        m_tipy.AddTool(GetDlgItem(IDC_VYBER), L"Vybere bod");
        auto* pSpin = static_cast<CSpinButtonCtrl*>(GetDlgItem(IDC_SPIN));
        pSpin->SetBuddy(GetDlgItem(IDC_CISLO));
        pSpin->SetRange32(0, 10);
        GetDlgItem(IDC_CISLO)->EnableWindow(m_bZapnuto);
        PostMessage(WM_ZMENA, 0, 99);
        return TRUE;
    }
    afx_msg void OnZapnuto() {
        m_aUdalosti.push_back(L"check");
        GetDlgItem(IDC_CISLO)->EnableWindow(IsDlgButtonChecked(IDC_ZAPNUTO));
    }
    afx_msg void OnJmenoZmena() { m_aUdalosti.push_back(L"change"); }
    afx_msg void OnPocet() {
        m_aUdalosti.push_back(
            L"combo " +
            std::to_wstring(static_cast<CComboBox*>(GetDlgItem(IDC_POCET))->GetCurSel()));
    }
    afx_msg void OnRadio(UINT nID) { m_aUdalosti.push_back(L"radio " + std::to_wstring(nID)); }
    afx_msg void OnSeznamDbl() { m_aUdalosti.push_back(L"dblclk"); }
    afx_msg void OnVyber() {
        m_aUdalosti.push_back(L"vyber");
        if (m_fceVyber)
            m_fceVyber();
    }
    afx_msg LRESULT OnZmena(WPARAM wParam, LPARAM lParam) {
        m_aUdalosti.push_back(L"app " + std::to_wstring(wParam) + L" " + std::to_wstring(lParam));
        return 0;
    }
    afx_msg void OnSpin(NMHDR* pNMHDR, LRESULT* pResult) {
        auto* p = reinterpret_cast<NMUPDOWN*>(pNMHDR);
        m_aUdalosti.push_back(L"spin " + std::to_wstring(p->iPos + p->iDelta));
        *pResult = p->iPos + p->iDelta > 8; // refuses positions above 8
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDlg, CDialogEx)
ON_BN_CLICKED(IDC_ZAPNUTO, &CTestDlg::OnZapnuto)
ON_EN_CHANGE(IDC_NAME, &CTestDlg::OnJmenoZmena)
ON_CBN_SELCHANGE(IDC_POCET, &CTestDlg::OnPocet)
ON_CONTROL_RANGE(BN_CLICKED, IDC_R1, IDC_R2, &CTestDlg::OnRadio)
ON_LBN_DBLCLK(IDC_SEZNAM, &CTestDlg::OnSeznamDbl)
ON_BN_CLICKED(IDC_VYBER, &CTestDlg::OnVyber)
ON_MESSAGE(WM_ZMENA, &CTestDlg::OnZmena)
ON_NOTIFY(UDN_DELTAPOS, IDC_SPIN, &CTestDlg::OnSpin)
END_MESSAGE_MAP()

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override {
        khost::hostInput().clear();
        khost::hostTranscript().startCapture();
    }
    void TearDown() override {
        khost::hostTranscript().stopCapture();
        khost::hostInput().clear();
    }
    INT_PTR run(CTestDlg& dlg, const wchar_t* input) {
        khost::hostInput().push(input);
        INT_PTR n = dlg.DoModal();
        m_sPrepis = khost::hostTranscript().takeCaptured();
        return n;
    }
    bool has(const std::wstring& s) const { return m_sPrepis.find(s) != std::wstring::npos; }
    std::wstring m_sPrepis;
};

TEST_F(Dialogs, PrintsTheTemplateAndExchangesDataBothWays) {
    CTestDlg dlg;
    ASSERT_EQ(run(dlg, L"OK\n"), IDOK);
    EXPECT_EQ(m_sPrepis.find(L"** Dialog 9001: Zkouška **\n  101 edit \"Jméno\" = \"Petr\"\n"
                             L"  102 check \"Zapnuto\" = 1\n"
                             L"  103 combo \"Počet\" = 1 \"dva\" [jeden | dva | tři]\n"
                             L"  104 radio \"První\" = 0\n  105 radio \"Druhý\" = 1\n"
                             L"  106 edit \"Číslo\" = \"2.5\"\n"
                             L"  107 list \"Seznam\" = -1 \"\" [a | b | c | d | e]\n"
                             L"  108 button \"Vyber...\"\n  109 static \"\" (hidden)\n"
                             L"  110 spin \"Krok\" = 0\n"),
              0u)
        << m_sPrepis;
    EXPECT_TRUE(has(L"\nDialog: OK\n"));
    EXPECT_FALSE(has(L"Jméno:")); // IDC_STATIC is not printed
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_editJmeno.m_hWnd, nullptr); // detached with the dialog

    CTestDlg dlg2;
    ASSERT_EQ(run(dlg2, L"101=Jana Nová\n102=0\n103=tři\n104=1\n^C\n"), IDCANCEL);
    EXPECT_EQ(dlg2.m_sJmeno, L"Petr"); // cancel keeps the members

    CTestDlg dlg3;
    ASSERT_EQ(run(dlg3, L"101=Jana Nová\n102=0\n103=tři\n104=1\nOK\n"), IDOK);
    EXPECT_EQ(dlg3.m_sJmeno, L"Jana Nová");
    EXPECT_EQ(dlg3.m_bZapnuto, 0);
    EXPECT_EQ(dlg3.m_nPocet, 2);
    EXPECT_EQ(dlg3.m_nRadio, 0);
    // The posted message arrived once the loop ran; handlers saw the notifications in order.
    const std::vector<std::wstring>& got = dlg3.m_aUdalosti;
    ASSERT_GE(got.size(), 5u);
    EXPECT_EQ(got[0], L"change"); // the text set by the exchange in OnInitDialog
    EXPECT_EQ(got[1], L"app 0 99");
    EXPECT_EQ(std::count(got.begin(), got.end(), L"change"),
              static_cast<long>(std::wstring(L"Jana Nová").size()) + 1); // DDX load + typing
    EXPECT_NE(std::find(got.begin(), got.end(), L"radio 104"), got.end());
    EXPECT_NE(std::find(got.begin(), got.end(), L"combo 2"), got.end());
}

TEST_F(Dialogs, PrintsChangesAndRefusesDisabledControls) {
    CTestDlg dlg;
    ASSERT_EQ(run(dlg, L"102=0\n106=3\n102=1\n106=4\nOK\n"), IDOK);
    // Clearing the box disables the number: its line is printed again with the change.
    EXPECT_TRUE(has(L"Dialog: 102=0\n  102 check \"Zapnuto\" = 0\n  106 edit \"Číslo\" = \"2.5\" "
                    L"(disabled)\nDialog: 106=3\nControl 106 is disabled.\nDialog: 102=1"))
        << m_sPrepis;
    EXPECT_DOUBLE_EQ(dlg.m_dCislo, 4.0);
}

TEST_F(Dialogs, SubclassedEditRefusesKeysReflectsChangesAndColours) {
    CTestDlg dlg;
    ASSERT_EQ(run(dlg, L"101=a1b\n101=\n106=1\nOK\n"), IDOK);
    // The digit was refused with the control's balloon tip; the rest was typed.
    EXPECT_TRUE(has(L"\n  101 balloon: [Chyba] Bez číslic")) << m_sPrepis;
    EXPECT_TRUE(has(L"  101 edit \"Jméno\" = \"ab\"\n"));
    // Emptied: painted red on yellow through the reflected colour message.
    EXPECT_TRUE(has(L"  101 edit \"Jméno\" = \"\" [#FF0000 on #FFFFA0]\n"));
    // Both the control and the dialog saw the changes: 1 load + 2 typed + 1 cleared.
    EXPECT_EQ(dlg.m_editJmeno.m_nZmen, 4);
    // Leaving the edit for the number sent the application message with the text length.
    EXPECT_NE(std::find(dlg.m_aUdalosti.begin(), dlg.m_aUdalosti.end(), L"app 101 0"),
              dlg.m_aUdalosti.end());
    EXPECT_EQ(dlg.m_sJmeno, L"");
}

TEST_F(Dialogs, FailedExchangeKeepsTheDialogOpen) {
    CTestDlg dlg;
    ASSERT_EQ(run(dlg, L"106=abc\nOK\n\n106=12\nOK\n\n106=7.25\nOK\n"), IDOK);
    EXPECT_TRUE(has(L"\n** AutoCAD **\nEnter a number.\n[OK]: \n"));
    EXPECT_TRUE(has(L"\n** AutoCAD **\nEnter a number between 0 and 10.\n"));
    EXPECT_DOUBLE_EQ(dlg.m_dCislo, 7.25);
}

TEST_F(Dialogs, HandlersMayHideTheDialogAndReadTheInput) {
    CTestDlg dlg;
    std::wstring sOdpoved;
    dlg.m_fceVyber = [&] {
        dlg.ShowWindow(SW_HIDE);
        khost::Answer a = khost::promptAnswer(L"\nZadej bod: ", false);
        sOdpoved = a.text;
        dlg.SetDlgItemText(IDC_POPIS, a.text.c_str());
        dlg.GetDlgItem(IDC_POPIS)->ShowWindow(SW_SHOW);
        dlg.ShowWindow(SW_SHOW);
    };
    ASSERT_EQ(run(dlg, L"click 108\n10,20\nhover 108\nhover 101\nOK\n"), IDOK);
    EXPECT_EQ(sOdpoved, L"10,20");
    // Shown again: printed whole, with the new text.
    EXPECT_TRUE(has(L"\nZadej bod: 10,20\n** Dialog 9001: Zkouška **\n")) << m_sPrepis;
    EXPECT_TRUE(has(L"  109 static \"10,20\"\n"));
    EXPECT_TRUE(has(L"Dialog: hover 108\n  108 tip: Vybere bod\n"));
    EXPECT_TRUE(has(L"Dialog: hover 101\nControl 101 has no tip."));
}

TEST_F(Dialogs, ListsTakeMouseMessagesThroughSubclasses) {
    CTestDlg dlg;
    ASSERT_EQ(run(dlg, L"select 107 4\ndblclick 107 1\ndrag 107 0 9\nselect 107 7\nOK\n"), IDOK);
    // Row 4 lies below the three visible rows: the list scrolled to show it.
    std::vector<std::wstring> expected = {L"down 4", L"down 1", L"down 0", L"move outside"};
    EXPECT_EQ(dlg.m_seznam.m_aUdalosti, expected);
    EXPECT_NE(std::find(dlg.m_aUdalosti.begin(), dlg.m_aUdalosti.end(), L"dblclk"),
              dlg.m_aUdalosti.end());
    EXPECT_TRUE(has(L"  107 list \"Seznam\" = 4 \"e\" [a | b | c | d | e]\n"));
    EXPECT_TRUE(has(L"Control 107 cannot select that row."));
}

TEST_F(Dialogs, SpinNotifiesItsParentAndUpdatesTheBuddy) {
    CTestDlg dlg;
    ASSERT_EQ(run(dlg, L"110=5\n110=9\nOK\n"), IDOK);
    EXPECT_TRUE(has(L"  106 edit \"Číslo\" = \"5\"\n  110 spin \"Krok\" = 5\n")) << m_sPrepis;
    EXPECT_DOUBLE_EQ(dlg.m_dCislo, 5.0); // 9 was refused by the handler
}

TEST_F(Dialogs, EndOfInputCancelsAndUnknownInputIsReported) {
    CTestDlg dlg;
    ASSERT_EQ(run(dlg, L"frob 1\n999=1\n"), IDCANCEL);
    EXPECT_TRUE(has(L"Invalid dialog input: frob 1"));
    EXPECT_TRUE(has(L"No control 999."));
    CDialog bezSablony(12345);
    EXPECT_EQ(bezSablony.DoModal(), -1);
}

} // namespace
