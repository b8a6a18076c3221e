// The drag-and-drop list boxes driven through the dialog protocol ("drag") and through the
// mouse, timer and key messages a user's actions send.
#include "hostfixture.h"

#include "CDragAndDropListBox.h"

#include <functional>
#include <string>
#include <vector>

namespace {

#define IDD_TEST_DND 950
#define IDC_TEST_SEZNAM 951
#define IDC_TEST_MULTI 952
#define IDC_TEST_AKCE 953

const AfxDialogResource s_dlgTest{{
    .nID = IDD_TEST_DND,
    .sCaption = L"Seznam",
    .controls =
        {
            {.nID = IDC_TEST_SEZNAM, .nKind = AfxCtl::ListBox, .sText = L"Seznam", .nRows = 4},
            {.nID = IDC_TEST_MULTI,
             .nKind = AfxCtl::ListBox,
             .sText = L"Multi",
             .dwStyle = LBS_MULTIPLESEL,
             .nRows = 4},
            {.nID = IDC_TEST_AKCE, .nKind = AfxCtl::PushButton, .sText = L"Akce"},
            {.nID = IDOK, .nKind = AfxCtl::DefPushButton, .sText = L"OK"},
            {.nID = IDCANCEL, .nKind = AfxCtl::PushButton, .sText = L"Storno"},
        },
}};

class CTestDlg : public CDialog {
public:
    explicit CTestDlg(std::vector<std::wstring> aPolozky, bool bMazatMimo)
        : CDialog(IDD_TEST_DND), m_aPolozky(std::move(aPolozky)), m_seznam(bMazatMimo),
          m_multi(bMazatMimo) {}

    std::vector<std::wstring> m_aPolozky;
    CDragAndDropListBox m_seznam;
    CDragAndDropListBoxMulti m_multi;
    std::function<void(CTestDlg&)> m_fAkce;
    // The items (text and data) as they were when OK was pressed.
    std::vector<std::wstring> m_aVysledek;
    std::vector<DWORD_PTR> m_aData;
    std::vector<std::wstring> m_aVysledekMulti;

    static std::vector<std::wstring> Polozky(CListBox& seznam, std::vector<DWORD_PTR>* pData) {
        std::vector<std::wstring> a;
        for (int i = 0; i < seznam.GetCount(); ++i) {
            CString s;
            seznam.GetText(i, s);
            a.emplace_back(s.GetString());
            if (pData)
                pData->push_back(seznam.GetItemData(i));
        }
        return a;
    }
    // A message of the mouse at a row of the list (rows beyond it are below it).
    static void Mys(CListBox& seznam, UINT nZprava, int nRadek, WPARAM nKlavesy) {
        CRect rect;
        seznam.GetItemRect(0, &rect);
        const int nY = (nRadek - seznam.GetTopIndex()) * rect.Height() + rect.Height() / 2;
        seznam.SendMessage(nZprava, nKlavesy, MAKELPARAM(5, nY));
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_TEST_SEZNAM, m_seznam);
        DDX_Control(pDX, IDC_TEST_MULTI, m_multi);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        for (size_t i = 0; i < m_aPolozky.size(); ++i) {
            const int n = m_seznam.AddString(m_aPolozky[i].c_str());
            m_seznam.SetItemData(n, 100 + i);
            m_multi.AddString(m_aPolozky[i].c_str());
        }
        return TRUE;
    }
    void OnOK() override {
        m_aVysledek = Polozky(m_seznam, &m_aData);
        m_aVysledekMulti = Polozky(m_multi, nullptr);
        CDialog::OnOK();
    }
    afx_msg void OnAkce() {
        if (m_fAkce)
            m_fAkce(*this);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDlg, CDialog)
ON_BN_CLICKED(IDC_TEST_AKCE, &CTestDlg::OnAkce)
END_MESSAGE_MAP()

using Seznam = std::vector<std::wstring>;

class DragDrop : public HostFixture {};

TEST_F(DragDrop, PresunyPresProtokol) {
    // The first item below the last one goes to the end, with its data (B C A); onto itself
    // nothing changes; upwards an item goes before the one it is dropped on (B A C). The multi
    // variant alike.
    CTestDlg dlg({L"A", L"B", L"C"}, false);
    input(L"drag 951 0 3\ndrag 951 1 1\ndrag 951 2 1\ndrag 952 2 0\nOK\n");
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_aVysledek, Seznam({L"B", L"A", L"C"}));
    EXPECT_EQ(dlg.m_aData, std::vector<DWORD_PTR>({101, 100, 102}));
    EXPECT_EQ(dlg.m_aVysledekMulti, Seznam({L"C", L"A", L"B"}));
}

TEST_F(DragDrop, MimoSeznamMazeJenKdyzMa) {
    {
        CTestDlg dlg({L"A", L"B", L"C"}, true);
        input(L"drag 951 1 -3\nOK\n");
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.m_aVysledek, Seznam({L"A", L"C"}));
    }
    {
        CTestDlg dlg({L"A", L"B", L"C"}, false);
        input(L"drag 951 1 -3\nOK\n");
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.m_aVysledek, Seznam({L"A", L"B", L"C"}));
    }
}

TEST_F(DragDrop, CasovacRolujeAMazaniKlavesou) {
    CTestDlg dlg({L"A", L"B", L"C", L"D", L"E", L"F", L"G"}, false);
    std::vector<int> aHorni;
    int nVyberPoSmazani = -2, nPocetBezVyberu = -1;
    dlg.m_fAkce = [&](CTestDlg& d) {
        CListBox& s = d.m_seznam;
        CTestDlg::Mys(s, WM_LBUTTONDOWN, 1, MK_LBUTTON);
        CTestDlg::Mys(s, WM_MOUSEMOVE, 9, MK_LBUTTON); // below the bottom edge
        aHorni.push_back(s.GetTopIndex());
        EXPECT_TRUE(khost::fireTimer(s.m_hWnd, DND_TIMER_DOLU));
        aHorni.push_back(s.GetTopIndex());
        EXPECT_TRUE(khost::fireTimer(s.m_hWnd, DND_TIMER_DOLU));
        aHorni.push_back(s.GetTopIndex());
        CTestDlg::Mys(s, WM_MOUSEMOVE, 4, MK_LBUTTON); // back inside: the timer stops
        EXPECT_FALSE(khost::fireTimer(s.m_hWnd, DND_TIMER_DOLU));
        CTestDlg::Mys(s, WM_LBUTTONUP, 4, 0);
        // Delete removes the selection and selects the item that took its place.
        s.SetCurSel(6);
        s.SendMessage(WM_KEYDOWN, VK_DELETE, 1);
        nVyberPoSmazani = s.GetCurSel();
        s.SetCurSel(-1);
        s.SendMessage(WM_KEYDOWN, VK_DELETE, 1);
        nPocetBezVyberu = s.GetCount();
    };
    input(L"click 953\nOK\n");
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(aHorni, std::vector<int>({0, 1, 2}));
    // B was dropped before E.
    EXPECT_EQ(dlg.m_aVysledek, Seznam({L"A", L"C", L"D", L"B", L"E", L"F"}));
    EXPECT_EQ(nVyberPoSmazani, 5);
    EXPECT_EQ(nPocetBezVyberu, 6);
}

} // namespace
