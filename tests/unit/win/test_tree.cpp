// The tree view control: item order, nesting and removal, and its part in the dialog protocol.
#include "afxwin.h"

#include "hostio.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum { IDD_STROM = 9101, IDC_STROM = 201 };

const AfxDialogResource s_strom{{
    .nID = IDD_STROM,
    .sCaption = L"Strom",
    .controls =
        {
            {.nID = IDC_STROM, .nKind = AfxCtl::Custom, .sText = L"Položky", .sClass = WC_TREEVIEW},
            {.nID = IDOK, .nKind = AfxCtl::DefPushButton, .sText = L"OK"},
        },
}};

class CStromDlg : public CDialogEx {
public:
    CStromDlg() : CDialogEx(IDD_STROM) {}
    CTreeCtrl m_strom;
    std::vector<std::wstring> m_aVybrane;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialogEx::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_STROM, m_strom);
    }
    BOOL OnInitDialog() override {
        CDialogEx::OnInitDialog();
        HTREEITEM hB = m_strom.InsertItem(L"B");
        m_strom.InsertItem(L"A", TVI_ROOT, TVI_FIRST);
        HTREEITEM hD = m_strom.InsertItem(L"D");
        m_strom.InsertItem(L"C", TVI_ROOT, hB);
        m_strom.InsertItem(L"b2", hB);
        m_strom.InsertItem(L"b1", hB, TVI_FIRST);
        m_strom.InsertItem(L"d1", hD);
        return TRUE;
    }
    afx_msg void OnVyber(NMHDR*, LRESULT*) {
        m_aVybrane.push_back(m_strom.GetItemText(m_strom.GetSelectedItem()).str());
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CStromDlg, CDialogEx)
ON_NOTIFY(TVN_SELCHANGED, IDC_STROM, &CStromDlg::OnVyber)
END_MESSAGE_MAP()

class Strom : public ::testing::Test {
protected:
    void SetUp() override {
        khost::hostInput().clear();
        khost::hostTranscript().startCapture();
    }
    void TearDown() override {
        khost::hostTranscript().stopCapture();
        khost::hostInput().clear();
    }
};

TEST_F(Strom, KeepsSiblingOrderAndNestingAndSelectsByScript) {
    CStromDlg dlg;
    khost::hostInput().push(L"select 201 2\nselect 201 7\nselect 201 6\nOK\n");
    ASSERT_EQ(dlg.DoModal(), IDOK);
    const std::wstring sPrepis = khost::hostTranscript().takeCaptured();
    EXPECT_NE(
        sPrepis.find(L"  201 SysTreeView32 \"Položky\" = 7 [A | B | >b1 | >b2 | C | D | >d1]"),
        std::wstring::npos)
        << sPrepis;
    EXPECT_NE(sPrepis.find(L"= 7 [A | B | *>b1 | >b2"), std::wstring::npos) << sPrepis;
    EXPECT_EQ(dlg.m_aVybrane, (std::vector<std::wstring>{L"b1", L"d1"})); // row 7 is refused
}

TEST_F(Strom, WalksAndDeletesSubtrees) {
    CTreeCtrl strom;
    HTREEITEM hA = strom.InsertItem(L"A");
    HTREEITEM hA1 = strom.InsertItem(L"a1", hA);
    strom.InsertItem(L"x", hA1);
    HTREEITEM hB = strom.InsertItem(L"B");
    EXPECT_EQ(strom.InsertItem(L"z", hA, hB), nullptr); // hB is no child of hA
    EXPECT_EQ(strom.GetCount(), 4u);
    EXPECT_EQ(strom.GetRootItem(), hA);
    EXPECT_EQ(strom.GetNextSiblingItem(hA), hB);
    EXPECT_EQ(strom.GetNextSiblingItem(hB), nullptr);
    EXPECT_EQ(strom.GetChildItem(hA), hA1);
    EXPECT_EQ(strom.GetParentItem(hA1), hA);
    ASSERT_TRUE(strom.SelectItem(hA1));
    ASSERT_TRUE(strom.DeleteItem(hA));
    EXPECT_EQ(strom.GetCount(), 1u); // the subtree went with it
    EXPECT_EQ(strom.GetSelectedItem(), nullptr);
    EXPECT_EQ(strom.GetRootItem(), hB);
    EXPECT_EQ(strom.ScriptDescribe(), L"1 [B]");
}

} // namespace
