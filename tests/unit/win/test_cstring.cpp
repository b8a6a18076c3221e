#include "afx.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CString, FormatUsesTheWindowsMeaningOfPercentS) {
    CString s;
    s.Format(L"%s: %d ks, %S, %c%c, %.3f", L"Kůň", 12, "žluť", L'č', L'ř', 0.25);
    EXPECT_EQ(s, L"Kůň: 12 ks, žluť, čř, 0.250");
    s.AppendFormat(L" [%-4s|%4s]", L"ab", L"cd");
    EXPECT_STREQ(s.GetString(), L"Kůň: 12 ks, žluť, čř, 0.250 [ab  |  cd]");
    CString name(L"DN 100");
    CString line;
    line.Format(L"Profil %s", static_cast<LPCWSTR>(name));
    EXPECT_EQ(line, L"Profil DN 100");

    CStringA a;
    a.Format("%s=%S", "k", L"kůň");
    EXPECT_EQ(a, "k=kůň");
}

TEST(CString, PiecesClampLikeTheClassLibrary) {
    CString s(L"Potrubi_std.kvp");
    EXPECT_EQ(s.GetLength(), 15);
    EXPECT_EQ(s.Left(7), L"Potrubi");
    EXPECT_EQ(s.Left(-1), L"");
    EXPECT_EQ(s.Left(99), s);
    EXPECT_EQ(s.Mid(8), L"std.kvp");
    EXPECT_EQ(s.Mid(8, 3), L"std");
    EXPECT_EQ(s.Mid(-3, 3), L"Pot");
    EXPECT_EQ(s.Mid(40), L"");
    EXPECT_EQ(s.Right(3), L"kvp");
    EXPECT_EQ(s.Right(99), s);
    EXPECT_EQ(s.Find(L'_'), 7);
    EXPECT_EQ(s.Find(L"std", 8), 8);
    EXPECT_EQ(s.Find(L"std", 9), -1);
    EXPECT_EQ(s.Find(L'P', 99), -1);
    EXPECT_EQ(s.ReverseFind(L't'), 9);
    EXPECT_EQ(s.FindOneOf(L"._"), 7);
    EXPECT_EQ(s.SpanIncluding(L"Ptoru"), L"Potru");
    EXPECT_EQ(s.SpanExcluding(L"._"), L"Potrubi");
    EXPECT_EQ(s[0], L'P');
    EXPECT_EQ(CString(L'-', 3), L"---");
    EXPECT_EQ(CString(L"abcdef", 2), L"ab");
}

TEST(CString, ChangingInPlace) {
    CString s(L"a-b-c");
    EXPECT_EQ(s.Replace(L'-', L'+'), 2);
    EXPECT_EQ(s, L"a+b+c");
    EXPECT_EQ(s.Replace(L"+", L"<>"), 2);
    EXPECT_EQ(s, L"a<>b<>c");
    EXPECT_EQ(s.Replace(L"", L"x"), 0);
    EXPECT_EQ(s.Remove(L'<'), 2);
    EXPECT_EQ(s, L"a>b>c");
    EXPECT_EQ(s.Insert(1, L"XY"), 7);
    EXPECT_EQ(s.Insert(99, L'!'), 8);
    EXPECT_EQ(s, L"aXY>b>c!");
    EXPECT_EQ(s.Delete(1, 3), 5);
    EXPECT_EQ(s.Delete(4, 10), 4);
    EXPECT_EQ(s.Delete(10, 1), 4);
    EXPECT_EQ(s, L"ab>c");
    s.SetAt(2, L'-');
    EXPECT_EQ(s.MakeReverse(), L"c-ba");

    CString t(L"  \t žluťoučký kůň \n");
    EXPECT_EQ(CString(t).Trim(), L"žluťoučký kůň");
    EXPECT_EQ(CString(t).TrimLeft(), L"žluťoučký kůň \n");
    EXPECT_EQ(CString(t).TrimRight(), L"  \t žluťoučký kůň");
    EXPECT_EQ(CString(L"xxaxx").Trim(L'x'), L"a");
    EXPECT_EQ(CString(L"\\dir\\/").TrimRight(L"\\/"), L"\\dir");
    EXPECT_EQ(CString(L"žluťoučký kůň").MakeUpper(), L"ŽLUŤOUČKÝ KŮŇ");
    EXPECT_EQ(CString(L"ŽLUŤOUČKÝ KŮŇ").MakeLower(), L"žluťoučký kůň");
}

TEST(CString, BufferAccess) {
    CString s(L"abc");
    wchar_t* p = s.GetBuffer(10);
    EXPECT_STREQ(p, L"abc");
    wcscpy_s(p, 11, L"0123456789");
    s.ReleaseBuffer();
    EXPECT_EQ(s, L"0123456789");
    p = s.GetBuffer(0);
    p[2] = L'X';
    s.ReleaseBuffer(4);
    EXPECT_EQ(s, L"01X3");
    s.Empty();
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CString, ComparingAndTokenizing) {
    CString a(L"Hladina"), b(L"hladina");
    EXPECT_LT(a.Compare(b), 0);
    EXPECT_EQ(a.CompareNoCase(b), 0);
    EXPECT_EQ(CString(L"ŽLUŤ").CompareNoCase(L"žluť"), 0);
    EXPECT_LT(CString(L"ab").CompareNoCase(L"ABC"), 0);
    EXPECT_GT(CString(L"abd").CompareNoCase(L"ABC"), 0);
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(a < b);
    EXPECT_TRUE(L"Hladina" == a);
    EXPECT_EQ(a + L" " + b + L'!', L"Hladina hladina!");
    CString c = L"KB";
    c += L"_";
    c += L'x';
    EXPECT_EQ(c, L"KB_x");

    CString list(L";;PPR;; PE ;Cu;");
    std::vector<CString> tokens;
    int pos = 0;
    for (CString t = list.Tokenize(L";", pos); pos != -1; t = list.Tokenize(L";", pos))
        tokens.push_back(t);
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[0], L"PPR");
    EXPECT_EQ(tokens[1], L" PE ");
    EXPECT_EQ(tokens[2], L"Cu");
}

TEST(CString, NarrowAndConversions) {
    CStringW w("žluť"); // narrow text is UTF-8
    EXPECT_EQ(w, L"žluť");
    CStringA a(w);
    EXPECT_EQ(a.GetLength(), 6); // bytes
    EXPECT_EQ(a, "žluť");
    EXPECT_STREQ(static_cast<LPCSTR>(CW2A(L"kůň")), "k\xF9\xF2");
    EXPECT_STREQ(static_cast<LPCSTR>(CW2A(L"kůň", CP_UTF8)), "kůň");
    EXPECT_STREQ(static_cast<LPCWSTR>(CA2W("k\xF9\xF2")), L"kůň");
}

} // namespace
