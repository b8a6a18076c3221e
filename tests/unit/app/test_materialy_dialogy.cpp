// The small material dialogs driven through the dialog protocol.
#include "StdAfx.h"

#include "CKvDlgMatMale.h"

#include "hostfixture.h"

#include <string>

namespace {

class MatDialogy : public HostFixture {};

TEST_F(MatDialogy, GetDNRefusesAnUpsideDownRange) {
    CKvDlgGetDN dlg;
    input(L"11057=DN 100\n11045=DN 50\nOK\n\n11045=DN 200\nOK\n");
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_iOd, 11);
    EXPECT_EQ(dlg.m_iDo, 14);
    const std::wstring t = transcript();
    EXPECT_NE(t.find(L"** Dialog 502: Výběr rozsahu DN **"), std::wstring::npos);
    EXPECT_NE(t.find(L"** Kresbon pro AutoCad **\nDN 'od' musí být menší nebo rovno DN 'do'"),
              std::wstring::npos);
    EXPECT_NE(t.find(L"\"Zruš\""), std::wstring::npos);
    // Cancel gives nothing.
    CKvDlgGetDN zrus;
    input(L"Cancel\n");
    EXPECT_EQ(zrus.DoModal(), IDCANCEL);
}

TEST_F(MatDialogy, MatPopisTakesFourCharactersAndTheDiameter) {
    CKvDlgMatPopis dlg;
    dlg.m_sPrefix = L"d";
    input(L"11061=Øabcdef\n11062=mm\n11016=1\nOK\n");
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_sPrefix, L"Øabc");
    EXPECT_EQ(dlg.m_sSuffix, L"mm");
    EXPECT_TRUE(dlg.m_bVnitrni);
    CKvDlgMatPopis znovu;
    znovu.m_bVnitrni = true;
    input(L"11015=1\nOK\n");
    ASSERT_EQ(znovu.DoModal(), IDOK);
    EXPECT_FALSE(znovu.m_bVnitrni);
}

} // namespace
