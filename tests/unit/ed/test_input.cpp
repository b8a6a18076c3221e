#include "acedads.h"
#include "edtest.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

using InputTest = EditorTest;

TEST_F(InputTest, KeywordsMatchAbbreviationFullWordOrCommaForm) {
    ACHAR kw[64];
    struct Case {
        const wchar_t* typed;
        const wchar_t* expected;
    } cases[] = {{L"lt", L"LType"},  {L"LTY", L"LType"}, {L"ltype", L"LType"}, {L"x", L"eXit"},
                 {L"EXIT", L"eXit"}, {L"w", L"WIDTH"},   {L"width", L"WIDTH"}, {L"all", L"ALL"}};
    for (const Case& c : cases) {
        type(std::wstring(c.typed) + L"\n");
        acedInitGet(0, L"LType eXit WIDTH,W ALL");
        ASSERT_EQ(acedGetKword(L"\nOption: ", kw), RTNORM) << c.typed;
        EXPECT_STREQ(kw, c.expected) << c.typed;
    }
    transcript();
    // "l" is shorter than the abbreviation, "ex" is not the capital letters of eXit, and "al" is
    // not the whole of ALL: each is refused with the host's complaint and the prompt repeats.
    type(L"l\nex\nal\nx\n");
    acedInitGet(0, L"LType eXit ALL");
    ASSERT_EQ(acedGetKword(L"\nOption: ", kw), RTNORM);
    EXPECT_STREQ(kw, L"eXit");
    std::wstring t = transcript();
    EXPECT_EQ(count(t, L"Invalid option keyword."), 3);
    EXPECT_EQ(count(t, L"\nOption: "), 4);
}

TEST_F(InputTest, LocalAndGlobalKeywordsReportTheGlobalWord) {
    ACHAR kw[64];
    const wchar_t* list = L"Ano Ne _ Yes No";
    struct Case {
        const wchar_t* typed;
        const wchar_t* expected;
    } cases[] = {{L"a", L"Yes"}, {L"ne", L"No"}, {L"_Yes", L"Yes"}, {L"_n", L"No"}};
    for (const Case& c : cases) {
        type(std::wstring(c.typed) + L"\n");
        acedInitGet(0, list);
        ads_point p;
        ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint or [Ano/Ne]: ", p), RTKWORD) << c.typed;
        ASSERT_EQ(acedGetInput(kw), RTNORM);
        EXPECT_STREQ(kw, c.expected) << c.typed;
    }
    // A global word without the underscore, and a local word with it, are not keywords.
    type(L"yes\n_Ano\nA\n");
    acedInitGet(0, list);
    ASSERT_EQ(acedGetKword(L"\nChoice: ", kw), RTNORM);
    EXPECT_STREQ(kw, L"Yes");
    EXPECT_EQ(count(transcript(), L"Invalid option keyword."), 2);

    // Without a global part the declared words are their own global names.
    type(L"_Width\n");
    acedInitGet(0, L"Width Height");
    ASSERT_EQ(acedGetKword(L"\nChoice: ", kw), RTNORM);
    EXPECT_STREQ(kw, L"Width");
}

TEST_F(InputTest, GetInputOnlyAfterAKeywordAndOptionsLastOneCall) {
    ACHAR kw[64];
    EXPECT_EQ(acedGetInput(kw), RTERROR);
    type(L"1,2\n\n");
    acedInitGet(RSG_NONULL, L"Undo");
    ads_point p;
    ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNORM);
    EXPECT_EQ(acedGetInput(kw), RTERROR);
    // The options applied to the first call only: Enter is allowed again.
    EXPECT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNONE);

    // RSG_OTHER hands back any text as a keyword.
    type(L"whatever\n");
    acedInitGet(RSG_OTHER, L"Undo");
    int n = 0;
    ASSERT_EQ(acedGetInt(L"\nNumber: ", &n), RTKWORD);
    ASSERT_EQ(acedGetInput(kw), RTNORM);
    EXPECT_STREQ(kw, L"whatever");
}

TEST_F(InputTest, EnterCancelAndEndOfInput) {
    ads_point p;
    double r = 0;
    int n = 0;
    ACHAR kw[16];
    type(L"\n\n\n^C\n");
    EXPECT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNONE);
    EXPECT_EQ(acedGetReal(L"\nReal: ", &r), RTNONE);
    acedInitGet(0, L"Yes No");
    EXPECT_EQ(acedGetKword(L"\nYes/No: ", kw), RTNONE);
    EXPECT_EQ(acedGetInt(L"\nInt: ", &n), RTCAN);
    // Nothing more to read: the prompt is cancelled.
    EXPECT_EQ(acedGetInt(L"\nInt: ", &n), RTCAN);
    ACHAR s[16];
    EXPECT_EQ(acedGetString(0, L"\nText: ", s), RTCAN);

    // RSG_NONULL: Enter is refused with the host's complaint and asked again.
    type(L"\n\n7\n");
    acedInitGet(RSG_NONULL, nullptr);
    ASSERT_EQ(acedGetInt(L"\nInt: ", &n), RTNORM);
    EXPECT_EQ(n, 7);
    EXPECT_EQ(count(transcript(), L"Requires an integer value."), 2);
    type(L"\n2,3\n");
    acedInitGet(RSG_NONULL, nullptr);
    ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNORM);
    EXPECT_EQ(count(transcript(), L"Point or option keyword required."), 1);
}

TEST_F(InputTest, NumbersAreCheckedAndRefusedWithTheHostsMessages) {
    int n = 0;
    type(L"1.5\n40000\nabc\n-3\n");
    ASSERT_EQ(acedGetInt(L"\nInt: ", &n), RTNORM);
    EXPECT_EQ(n, -3);
    EXPECT_EQ(count(transcript(), L"Requires an integer value."), 3);

    type(L"0\n-1\n4\n");
    acedInitGet(RSG_NOZERO | RSG_NONEG, nullptr);
    ASSERT_EQ(acedGetInt(L"\nInt: ", &n), RTNORM);
    EXPECT_EQ(n, 4);
    EXPECT_EQ(count(transcript(), L"Value must be positive and nonzero."), 2);

    double r = 0;
    type(L"1,5\n0x10\n.25\n");
    ASSERT_EQ(acedGetReal(L"\nReal: ", &r), RTNORM);
    EXPECT_DOUBLE_EQ(r, 0.25);
    EXPECT_EQ(count(transcript(), L"Requires numeric value."), 2);

    type(L"0\n-2\n2.5\n");
    acedInitGet(RSG_NOZERO, nullptr);
    ASSERT_EQ(acedGetReal(L"\nReal: ", &r), RTNORM);
    EXPECT_DOUBLE_EQ(r, -2);
    EXPECT_EQ(count(transcript(), L"Value must be nonzero."), 1);
}

TEST_F(InputTest, PointsAbsoluteRelativePolarAndTwoD) {
    ads_point p;
    type(L"1,2\n1,2,3\n@1,1\n@\n@2<90\n5<0\n");
    ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNORM);
    EXPECT_DOUBLE_EQ(p[X], 1);
    EXPECT_DOUBLE_EQ(p[Y], 2);
    EXPECT_DOUBLE_EQ(p[Z], 0);
    ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNORM);
    EXPECT_DOUBLE_EQ(p[Z], 3);
    ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNORM); // from the last point 1,2,3
    EXPECT_DOUBLE_EQ(p[X], 2);
    EXPECT_DOUBLE_EQ(p[Y], 3);
    EXPECT_DOUBLE_EQ(p[Z], 3);
    ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNORM); // "@" is the last point itself
    EXPECT_DOUBLE_EQ(p[X], 2);
    EXPECT_DOUBLE_EQ(p[Y], 3);
    ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNORM);
    EXPECT_NEAR(p[X], 2, 1e-12);
    EXPECT_NEAR(p[Y], 5, 1e-12);
    ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNORM);
    EXPECT_NEAR(p[X], 5, 1e-12);
    EXPECT_NEAR(p[Y], 0, 1e-12);

    resbuf rb{};
    ASSERT_EQ(acedGetVar(L"lastpoint", &rb), RTNORM);
    EXPECT_EQ(rb.restype, RT3DPOINT);
    EXPECT_NEAR(rb.resval.rpoint[X], 5, 1e-12);

    type(L"4,5,6\n");
    acedInitGet(RSG_2D, nullptr);
    ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNORM);
    EXPECT_DOUBLE_EQ(p[X], 4);
    EXPECT_DOUBLE_EQ(p[Z], 0);

    type(L"abc\n1,2,3,4\n,\n7,8\n");
    ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNORM);
    EXPECT_DOUBLE_EQ(p[X], 7);
    std::wstring t = transcript();
    EXPECT_EQ(count(t, L"Point or option keyword required."), 3);
    // Scripts show their answers after the prompts.
    EXPECT_NE(t.find(L"\nPoint: 7,8\n"), std::wstring::npos);
}

TEST_F(InputTest, DistancesAndAngles) {
    double d = 0;
    ads_point base = {1, 1, 0};
    type(L"4,5\n2.5\n0,0\n3,4\n");
    ASSERT_EQ(acedGetDist(base, L"\nDistance: ", &d), RTNORM);
    EXPECT_DOUBLE_EQ(d, 5);
    ASSERT_EQ(acedGetDist(nullptr, L"\nDistance: ", &d), RTNORM);
    EXPECT_DOUBLE_EQ(d, 2.5);
    ASSERT_EQ(acedGetDist(nullptr, L"\nDistance: ", &d), RTNORM); // two points
    EXPECT_DOUBLE_EQ(d, 5);
    EXPECT_NE(transcript().find(L"Specify second point: 3,4"), std::wstring::npos);

    type(L"-1\n1\n");
    acedInitGet(RSG_NONEG, nullptr);
    ASSERT_EQ(acedGetDist(nullptr, L"\nDistance: ", &d), RTNORM);
    EXPECT_DOUBLE_EQ(d, 1);
    EXPECT_EQ(count(transcript(), L"Value must be positive."), 1);

    double a = 0;
    type(L"90\n1,2\n");
    ASSERT_EQ(acedGetAngle(nullptr, L"\nAngle: ", &a), RTNORM);
    EXPECT_NEAR(a, std::numbers::pi / 2, 1e-12);
    ASSERT_EQ(acedGetAngle(base, L"\nAngle: ", &a), RTNORM);
    EXPECT_NEAR(a, std::numbers::pi / 2, 1e-12);
}

TEST_F(InputTest, StringsWithAndWithoutSpacesAndTruncation) {
    ACHAR s[8];
    type(L"one two\nthree four\n\nabcdefghij\n");
    ASSERT_EQ(acedGetString(0, L"\nWord: ", s), RTNORM);
    EXPECT_STREQ(s, L"one");
    ASSERT_EQ(acedGetString(0, L"\nWord: ", s), RTNORM); // the rest of the line
    EXPECT_STREQ(s, L"two");
    ACHAR big[64];
    ASSERT_EQ(acedGetString(1, L"\nText: ", big), RTNORM);
    EXPECT_STREQ(big, L"three four");
    ASSERT_EQ(acedGetString(1, L"\nText: ", big), RTNORM);
    EXPECT_STREQ(big, L"");
    EXPECT_EQ(acedGetString(1, L"\nText: ", s), RTINPUTTRUNCATED);
    EXPECT_STREQ(s, L"abcdefg");
}

} // namespace

namespace {

TEST_F(InputTest, FileDialogsAskForAPathOnTheCommandLine) {
    resbuf rb{};
    type(L"plans/my plan\n\n^C\n");
    ASSERT_EQ(acedGetFileD(L"Save drawing as", L"out.dxf", L"dxf", 1, &rb), RTNORM);
    ASSERT_EQ(rb.restype, RTSTR);
    EXPECT_STREQ(rb.resval.rstring, L"plans/my plan.dxf"); // the extension is added
    free(rb.resval.rstring);
    ASSERT_EQ(acedGetFileD(L"Save drawing as", L"out.dxf", L"dxf", 1, &rb), RTNORM);
    EXPECT_STREQ(rb.resval.rstring, L"out.dxf"); // Enter takes the default
    free(rb.resval.rstring);
    EXPECT_EQ(acedGetFileD(L"Open", nullptr, L"dxf", 0, &rb), RTCAN);
    EXPECT_NE(transcript().find(L"\nSave drawing as <out.dxf>: plans/my plan\n"),
              std::wstring::npos);
}

} // namespace
