// The tree-list control driven through the dialog protocol inside a small dialog.
#include "StdAfx.h"

#include "CKvAcDialog.h"
#include "CTreeListCtrl.h"

#include "hostfixture.h"

#include <string>
#include <vector>

namespace {

constexpr UINT IDD_TEST = 9901;
constexpr int IDC_SEZNAM = 9902;

const AfxDialogResource s_dlg{{
    .nID = IDD_TEST,
    .sCaption = L"Test",
    .controls =
        {
            {.nID = IDC_SEZNAM,
             .nKind = AfxCtl::Custom,
             .sText = L"Seznam",
             .sClass = L"CTreeListCtrl"},
            {.nID = IDOK, .nKind = AfxCtl::DefPushButton, .sText = L"OK"},
            {.nID = IDCANCEL, .nKind = AfxCtl::PushButton, .sText = L"Zruš"},
        },
}};

struct Hodnota {
    int n;
};

class CTestDlg : public CKvAcDialog {
public:
    CTestDlg() : CKvAcDialog(IDD_TEST) {}
    CTreeListCtrl m_seznam;
    std::vector<Hodnota> m_aHodnoty{{10}, {20}, {30}};
    std::vector<int> m_aVyber;
    int m_nDvojklik = -1;

protected:
    BOOL OnInitDialog() override {
        CKvAcDialog::OnInitDialog();
        m_seznam.SubclassDlgItem(IDC_SEZNAM, this);
        m_seznam.InsertColumn(L"Jméno", 80);
        m_seznam.InsertColumn(L"Číslo", 60, LVCFMT_RIGHT, TlEditace::Cislo);
        m_seznam.InsertColumn(L"Druh", 60, LVCFMT_LEFT, TlEditace::Seznam, {L"A", L"B"});
        m_seznam.InsertColumn(L"Skrytý", 0, LVCFMT_LEFT, TlEditace::Cislo);
        m_seznam.SetTextCallback([](int, int nSloupec, DWORD_PTR dw) {
            const auto* p = reinterpret_cast<const Hodnota*>(dw);
            CString s;
            if (nSloupec == 0)
                s.Format(L"r%d", p->n);
            else if (nSloupec == 1)
                s.Format(L"%d", p->n);
            else
                s = p->n >= 25 ? L"B" : L"A";
            return s;
        });
        for (Hodnota& h : m_aHodnoty)
            m_seznam.AddItem(L"", reinterpret_cast<DWORD_PTR>(&h));
        return TRUE;
    }
    void OnZmena(NMHDR* pHdr, LRESULT*) {
        m_aVyber.push_back(reinterpret_cast<NMTREELIST*>(pHdr)->nRadek);
    }
    void OnDvojklik(NMHDR* pHdr, LRESULT*) {
        m_nDvojklik = reinterpret_cast<NMTREELIST*>(pHdr)->nRadek;
    }
    void OnKonecEditace(NMHDR* pHdr, LRESULT*) {
        auto* pNm = reinterpret_cast<NMTREELIST*>(pHdr);
        auto* p = reinterpret_cast<Hodnota*>(m_seznam.GetItemData(pNm->nRadek));
        if (pNm->nSloupec == 2) {
            p->n = pNm->sText == L"B" ? 50 : 5;
            return;
        }
        const int n = _wtoi(pNm->sText);
        if (n > 100)
            pNm->sOdmitnuti = L"Příliš velké";
        else
            p->n = n;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDlg, CKvAcDialog)
ON_NOTIFY(TLN_SELCHANGED, IDC_SEZNAM, &CTestDlg::OnZmena)
ON_NOTIFY(NM_DBLCLK, IDC_SEZNAM, &CTestDlg::OnDvojklik)
ON_NOTIFY(TLN_ENDEDIT, IDC_SEZNAM, &CTestDlg::OnKonecEditace)
END_MESSAGE_MAP()

class TreeList : public HostFixture {};

TEST_F(TreeList, PrintsVisibleColumnsAndRowsAndEditsInPlace) {
    CTestDlg dlg;
    input(L"select 9902 1\nedit 9902 1 1 4x2\nedit 9902 0 1 500\nedit 9902 2 2 A\n"
          L"edit 9902 2 2 C\nedit 9902 0 0 x\nedit 9902 0 3 1\ndblclick 9902 2\nOK\n");
    ASSERT_EQ(dlg.DoModal(), IDOK);
    const std::wstring t = transcript();
    // The header leaves out the hidden column; the rows come from the callback.
    EXPECT_NE(t.find(L"9902 CTreeListCtrl \"Seznam\" = -1\n      Jméno | Číslo | Druh\n"
                     L"     0: r10 | 10 | A\n     1: r20 | 20 | A\n     2: r30 | 30 | B"),
              std::wstring::npos)
        << t;
    // Only digits reach a numeric cell; the row is redrawn from its data.
    EXPECT_EQ(dlg.m_aHodnoty[1].n, 42);
    EXPECT_NE(t.find(L"*1: r42 | 42 | B"), std::wstring::npos) << t;
    // A refusal is a balloon tip and the value stays.
    EXPECT_NE(t.find(L"9902 balloon: Příliš velké"), std::wstring::npos) << t;
    EXPECT_EQ(dlg.m_aHodnoty[0].n, 10);
    EXPECT_EQ(dlg.m_seznam.GetItemText(0, 1), L"10");
    // The drop-down takes only its texts; a plain or hidden column is not editable.
    EXPECT_EQ(dlg.m_aHodnoty[2].n, 5);
    EXPECT_NE(t.find(L"cannot edit that cell"), std::wstring::npos) << t;
    EXPECT_EQ(dlg.m_nDvojklik, 2);
    EXPECT_EQ(dlg.m_aVyber, (std::vector<int>{1, 0, 2}));
}

TEST_F(TreeList, RowsInsertDeleteAndKeepTheSelection) {
    CTreeListCtrl s;
    s.InsertColumn(L"A", 50);
    s.InsertColumn(L"B", 50);
    EXPECT_EQ(s.AddItem(L"x", 1), 0);
    EXPECT_EQ(s.AddItem(L"z", 3), 1);
    EXPECT_EQ(s.InsertItem(1, L"y", 2), 1);
    s.SelectItem(2);
    s.InsertItem(0, L"w", 0);
    EXPECT_EQ(s.GetSelectedItem(), 3);
    EXPECT_EQ(s.GetItemText(3, 0), L"z");
    EXPECT_TRUE(s.SetItemText(3, 1, L"zz"));
    EXPECT_FALSE(s.SetItemText(3, 2, L"?"));
    EXPECT_TRUE(s.DeleteItem(1));
    EXPECT_EQ(s.GetSelectedItem(), 2);
    EXPECT_EQ(s.FindItemData(3), 2);
    EXPECT_TRUE(s.DeleteItem(2));
    EXPECT_EQ(s.GetSelectedItem(), -1);
    s.SetColumnText(1, L"Výška");
    s.SetColumnWidth(1, 0);
    EXPECT_EQ(s.GetColumnText(1), L"Výška");
    EXPECT_EQ(s.GetColumnWidth(1), 0);
    s.DeleteAllItems();
    EXPECT_EQ(s.GetItemCount(), 0);
}

} // namespace
