// The checked and numeric edit controls and the base dialog, driven through the dialog protocol.
#include "StdAfx.h"

#include "CKvAcDialog.h"
#include "CVoxEditCtrl.h"
#include "CVoxException.h"

#include "hostfixture.h"
#include "textconv.h"

#include <functional>
#include <string>
#include <vector>

namespace {

enum {
    IDD_ZKOUSKA = 9101,
    IDC_CELE = 201,
    IDC_DES = 202,
    IDC_SOUBOR = 203,
    IDC_EMAIL = 204,
    IDC_CISLO = 205,
    IDC_OBYC = 206,
    IDC_NADPIS = 207,
};

const AfxDialogResource s_sablona{{
    .nID = IDD_ZKOUSKA,
    .sCaption = L"Zkouška editů",
    .controls =
        {
            {.nID = IDC_NADPIS, .nKind = AfxCtl::Static, .sText = L"Nadpis"},
            {.nID = IDC_CELE, .nKind = AfxCtl::Edit, .sText = L"Celé"},
            {.nID = IDC_DES, .nKind = AfxCtl::Edit, .sText = L"Desetinné"},
            {.nID = IDC_SOUBOR, .nKind = AfxCtl::Edit, .sText = L"Soubor"},
            {.nID = IDC_EMAIL, .nKind = AfxCtl::Edit, .sText = L"Email"},
            {.nID = IDC_CISLO, .nKind = AfxCtl::Edit, .sText = L"Číslo"},
            {.nID = IDC_OBYC, .nKind = AfxCtl::Edit, .sText = L"Obyčejný"},
            {.nID = IDOK, .nKind = AfxCtl::DefPushButton, .sText = L"OK"},
            {.nID = IDCANCEL, .nKind = AfxCtl::PushButton, .sText = L"Storno"},
        },
}};

class CZkouskaDlg : public CKvAcDialog {
public:
    CZkouskaDlg() : CKvAcDialog(IDD_ZKOUSKA, nullptr, L"Nadpis dialogu"), m_cislo(3) {}

    CCheckedEdit m_cele, m_des, m_soubor, m_email;
    CDoubleEdit m_cislo;
    double m_dCislo = 1.5;
    bool m_bObycejnyDoDdx = false;
    std::vector<std::wstring> m_aZpravy;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CKvAcDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_CELE, m_cele);
        DDX_Control(pDX, IDC_DES, m_des);
        DDX_Control(pDX, IDC_SOUBOR, m_soubor);
        DDX_Control(pDX, IDC_EMAIL, m_email);
        DDX_Control(pDX, IDC_CISLO, m_cislo);
        DDX_DoubleEdit(pDX, IDC_CISLO, m_dCislo);
        if (m_bObycejnyDoDdx) {
            double d = 0;
            DDX_DoubleEdit(pDX, IDC_OBYC, d);
        }
    }
    BOOL OnInitDialog() override {
        m_cele.SetTyp(EDIT_TYP_CELE);
        m_des.SetTyp(EDIT_TYP_DESETINNE);
        m_soubor.SetTyp(EDIT_TYP_SOUBOR, 5);
        m_email.SetTyp(EDIT_TYP_EMAIL | EDIT_TYP_VOLBA);
        CKvAcDialog::OnInitDialog();
        PridejTip(IDC_CISLO, L"Počet metrů");
        NastavTucne(IDC_NADPIS);
        return TRUE;
    }
    afx_msg LRESULT OnKontrola(WPARAM wParam, LPARAM lParam) {
        if (wParam == IDC_CISLO)
            m_aZpravy.push_back(L"cislo " + std::to_wstring(*reinterpret_cast<double*>(lParam)));
        else
            m_aZpravy.push_back(std::to_wstring(wParam) + L" [" +
                                reinterpret_cast<const wchar_t*>(lParam) + L"]");
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CZkouskaDlg, CKvAcDialog)
ON_MESSAGE(WM_VOX_EDIT_KONTROLA, &CZkouskaDlg::OnKontrola)
END_MESSAGE_MAP()

class EditCtrl : public HostFixture {
protected:
    INT_PTR run(CZkouskaDlg& dlg, const wchar_t* sVstup) {
        input(sVstup);
        INT_PTR n = dlg.DoModal();
        m_sPrepis = transcript();
        return n;
    }
    bool has(const std::wstring& s) const { return m_sPrepis.find(s) != std::wstring::npos; }
    std::wstring m_sPrepis;
};

TEST_F(EditCtrl, NumbersRefuseWrongKeysAndColourInvalidTexts) {
    CZkouskaDlg dlg;
    ASSERT_EQ(run(dlg, L"201=-a\n202=3,5.1\n201=-12\nOK\n"), IDOK);
    // "-" passes as a keystroke, "a" does not; the text "-" alone is invalid.
    EXPECT_TRUE(has(L"Dialog: 201=-a\n  201 balloon: [Chybný vstup] Zadejte celé číslo\n"
                    L"  201 edit \"Celé\" = \"-\" [#FF0000 on #FFFFA0]\n"))
        << m_sPrepis;
    // A comma becomes a point; a second point is refused.
    EXPECT_TRUE(has(L"Dialog: 202=3,5.1\n  202 balloon: [Chybný vstup] Zadejte desetinné číslo\n"
                    L"  202 edit \"Desetinné\" = \"3.51\"\n"))
        << khost::toUtf8(m_sPrepis);
    EXPECT_TRUE(has(L"  201 edit \"Celé\" = \"-12\"\n"));
    EXPECT_TRUE(dlg.m_cele.m_bPlatny);
    // Leaving each edit told the dialog its id and text.
    EXPECT_EQ(dlg.m_aZpravy[0], L"201 [-]");
    EXPECT_EQ(dlg.m_aZpravy[1], L"202 [3.51]");
}

TEST_F(EditCtrl, FileNamesAndLengthsAreChecked) {
    CZkouskaDlg dlg;
    ASSERT_EQ(run(dlg, L"203=.ab<c*defg\nOK\n"), IDOK);
    const std::wstring sTip = L"  203 balloon: [Chybný vstup] Zadejte název bez "
                              L"'<>*:\\?'(platný název souboru Windows)\nmax. 5 znaků";
    // The leading point, "<", "*" and the sixth and seventh characters are refused.
    size_t nPocet = 0;
    for (size_t i = m_sPrepis.find(sTip); i != std::wstring::npos; i = m_sPrepis.find(sTip, i + 1))
        ++nPocet;
    EXPECT_EQ(nPocet, 5u) << khost::toUtf8(m_sPrepis);
    EXPECT_TRUE(has(L"  203 edit \"Soubor\" = \"abcde\"\n"));
    EXPECT_FALSE(CCheckedEdit::TextSoubor(L" a"));
    EXPECT_FALSE(CCheckedEdit::TextSoubor(L"a|b"));
    EXPECT_TRUE(CCheckedEdit::TextSoubor(L"výkres 1.dwg"));
}

TEST_F(EditCtrl, MailIsCheckedOnlyAsAWholeAndMayStayEmpty) {
    CZkouskaDlg dlg;
    ASSERT_EQ(run(dlg, L"204=jan@\n204=jan.novak@firma.cz\n204=\nOK\n"), IDOK);
    EXPECT_TRUE(has(L"  204 edit \"Email\" = \"jan@\" [#FF0000 on #FFFFA0]\n")) << m_sPrepis;
    EXPECT_TRUE(has(L"  204 edit \"Email\" = \"jan.novak@firma.cz\"\n"));
    EXPECT_TRUE(has(L"  204 edit \"Email\" = \"\"\n")); // the optional field is valid empty
    EXPECT_TRUE(CCheckedEdit::TextZnaky(L"abc_12"));
    EXPECT_FALSE(CCheckedEdit::TextZnaky(L"ab-c"));
    EXPECT_FALSE(CCheckedEdit::TextZnaky(L""));
}

TEST_F(EditCtrl, DoubleEditTrimsSendsItsValueAndEmptiesNonNumbers) {
    CZkouskaDlg dlg;
    // The exchange showed 1.5 with three decimals.
    ASSERT_EQ(run(dlg, L"205=2,25  \n201=1\n205=-\n201=2\nOK\n"), IDOK);
    EXPECT_TRUE(has(L"  205 edit \"Číslo\" = \"1.500\"")) << m_sPrepis;
    // Spaces are refused as keystrokes; the value went to the dialog as a number.
    EXPECT_EQ(dlg.m_aZpravy[0], L"201 []"); // the first edit had the focus
    EXPECT_EQ(dlg.m_aZpravy[1], L"cislo 2.250000");
    // "-" is no number: the field emptied itself and sent nothing.
    EXPECT_TRUE(has(L"  205 edit \"Číslo\" = \"\" [#FF0000 on #FFFFA0]\n"));
    EXPECT_EQ(std::count_if(dlg.m_aZpravy.begin(), dlg.m_aZpravy.end(),
                            [](const std::wstring& s) { return s.starts_with(L"cislo"); }),
              1);
    EXPECT_EQ(dlg.m_dCislo, DOUBLE_EDIT_PRAZDNA);

    CZkouskaDlg dlg2;
    ASSERT_EQ(run(dlg2, L"205=7.1256\nOK\n"), IDOK);
    EXPECT_DOUBLE_EQ(dlg2.m_dCislo, 7.1256);
}

TEST_F(EditCtrl, ExchangeWithAnotherEditThrowsAndTheBaseAddsTipsAndFonts) {
    CZkouskaDlg dlg;
    ASSERT_EQ(run(dlg, L"hover 205\nOK\n"), IDOK);
    EXPECT_TRUE(has(L"  205 tip: Počet metrů\n"));
    EXPECT_EQ(dlg.m_sNadpis, L"Nadpis dialogu");
    LOGFONT lf{};
    dlg.m_fontTucne.GetLogFont(&lf);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_GT(dlg.m_velMin.cx, 0);

    CZkouskaDlg dlg2;
    dlg2.m_bObycejnyDoDdx = true;
    input(L"OK\n");
    try {
        dlg2.DoModal();
        FAIL() << "no exception";
    } catch (const CVoxException& e) {
        EXPECT_NE(std::string(e.what()).find("Edit Box nen\xED typu CDoubleEdit"),
                  std::string::npos);
    }
    EXPECT_EQ(dlg2.m_hWnd, nullptr); // the windows went with the exception
}

} // namespace
