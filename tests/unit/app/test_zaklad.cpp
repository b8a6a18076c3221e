// The application's shared basics: the exception and its report, the small host queries.
#include "hostfixture.h"

#include "CVoxException.h"
#include "VoxDb.h"

#include <cstring>

namespace {

class Zaklad : public HostFixture {};

TEST_F(Zaklad, ExceptionTextHasMessageCodeLineAndFileNameInWindows1250) {
    CVoxException e("Nelze otevřít AcDbBlockTable pro čtení", 42, "/build/dir/_Spolecny/Soubor.cpp",
                    95);
    // "ř" and "č" are single bytes of Windows-1250.
    EXPECT_STREQ(e.what(), "Nelze otev\xF8\xEDt AcDbBlockTable pro \xE8ten\xED, Err: 95, Line 42, \n"
                           "Soubor.cpp");
    CVoxException bez("Chyba", 7, "C:\\src\\a.cpp");
    EXPECT_STREQ(bez.what(), "Chyba, Line 7, \na.cpp");
    CVoxException kopie(e);
    EXPECT_STREQ(kopie.what(), e.what());
    // A report longer than the buffer is cut, never written past its end.
    std::string dlouha(400, 'x');
    CVoxException dlouhy(dlouha.c_str(), 1, "f.cpp");
    EXPECT_EQ(std::strlen(dlouhy.what()), static_cast<size_t>(CVoxException::VELIKOST_TEXTU - 1));
}

TEST_F(Zaklad, ReportShowsMessageBoxInUtf8AndNothingForEmptyText) {
    CVoxException e("Nelze uložit", 3, "x.cpp", 5);
    input(L"\n");
    ZobrazVyjimku(e);
    std::wstring t = transcript();
    EXPECT_NE(t.find(L"** Program vyvolal výjimku **\nNelze uložit, Err: 5, Line 3, \nx.cpp\n[OK]: "),
              std::wstring::npos)
        << std::string(t.begin(), t.end());

    struct Prazdna : std::exception {
        const char* what() const noexcept override { return ""; }
    };
    ZobrazVyjimku(Prazdna());
    EXPECT_EQ(transcript(), L"");
}

TEST_F(Zaklad, SystemVariablesModelSpaceAndPlaneUcs) {
    EXPECT_EQ(CtiSysPromInt(L"INSUNITS"), db()->insunits());
    EXPECT_THROW(CtiSysPromInt(L"NEEXISTUJE"), CVoxException);
    EXPECT_THROW(CtiSysPromInt(L"CLAYER"), CVoxException);

    EXPECT_TRUE(JeModelovyProstor());
    resbuf rb{};
    rb.restype = RTSHORT;
    rb.resval.rint = 0;
    ASSERT_EQ(acedSetVar(L"TILEMODE", &rb), RTNORM);
    EXPECT_FALSE(JeModelovyProstor()); // paper space of the layout itself
    rb.resval.rint = 2;
    ASSERT_EQ(acedSetVar(L"CVPORT", &rb), RTNORM);
    EXPECT_TRUE(JeModelovyProstor()); // a floating viewport is active
    rb.resval.rint = 1;
    ASSERT_EQ(acedSetVar(L"TILEMODE", &rb), RTNORM);

    EXPECT_TRUE(JeUcs2d());
    khost::setCurrentUcs(db(), AcGePoint3d(0, 0, 0.001), AcGeVector3d(1, 0, 0),
                         AcGeVector3d(0, 1, 0));
    EXPECT_FALSE(JeUcs2d());
    khost::setCurrentUcs(db(), AcGePoint3d(10, 20, 0), AcGeVector3d(0, 1, 0),
                         AcGeVector3d(-1, 0, 0));
    EXPECT_TRUE(JeUcs2d());
    AcGePoint3d p = UcsNaWcs(AcGePoint3d(1, 0, 0), 0);
    EXPECT_NEAR(p.x, 10.0, 1e-12);
    EXPECT_NEAR(p.y, 21.0, 1e-12);
    AcGePoint3d v = UcsNaWcs(AcGePoint3d(1, 0, 0), 1);
    EXPECT_NEAR(v.x, 0.0, 1e-12);
    EXPECT_NEAR(v.y, 1.0, 1e-12);
}

TEST_F(Zaklad, UpperCasingUnderCzechLocale) {
    AcString s(L"žluťoučký kůň úpěl ďábelské ódy");
    EXPECT_STREQ(NaVelka(s), L"ŽLUŤOUČKÝ KŮŇ ÚPĚL ĎÁBELSKÉ ÓDY");
    AcString prazdny;
    EXPECT_STREQ(NaVelka(prazdny), L"");
}

} // namespace
