#include "windows.h"
#include "direct.h"
#include "io.h"
#include "winhost.h"

#include "textconv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

TEST(Formatting, BoundedNarrowFormatEmptiesTheBufferOnOverflow) {
    char text[250];
    int n = sprintf_s(text, "%s, Err: %i, Line %i, \n%s", "Nelze", 5, 42, "Registry.cpp");
    EXPECT_STREQ(text, "Nelze, Err: 5, Line 42, \nRegistry.cpp");
    EXPECT_EQ(n, static_cast<int>(std::strlen(text)));

    char small[8] = "xxxxxxx";
    EXPECT_EQ(sprintf_s(small, sizeof small, "%s", "12345678"), -1);
    EXPECT_STREQ(small, "");
    EXPECT_EQ(sprintf_s(small, "%d", 1234567), 7);
    EXPECT_EQ(sprintf_s(small, "%n", &n), -1); // refused, never a crash
    EXPECT_EQ(sprintf_s(nullptr, 4, "%d", 1), -1);
    // Windows length prefixes: "l" is 32 bits, I64 is 64.
    LONG negative = -5;
    EXPECT_EQ(sprintf_s(text, "%ld|%I64d|%I64x|%S|%ls", negative, -9000000000LL, 0x123456789ULL,
                        L"kůň", L"ž"),
              int(std::strlen("-5|-9000000000|123456789|kůň|ž")));
    EXPECT_STREQ(text, "-5|-9000000000|123456789|kůň|ž");
}

TEST(Formatting, WideFormatTakesWideStringsForPercentS) {
    wchar_t buf[64];
    const wchar_t* expected = L"kůň|žluť|ó|č|A| 3.14|7  |005|ab|    x";
    EXPECT_EQ(swprintf_s(buf, L"%s|%S|%hs|%c|%C|%5.2f|%-3d|%03d|%.2s|%5s", L"kůň", "žluť", "ó",
                         L'č', 'A', 3.14159, 7, 5, L"abc", L"x"),
              static_cast<int>(wcslen(expected)));
    EXPECT_STREQ(buf, expected);
    EXPECT_EQ(swprintf_s(buf, 4, L"%s", L"abcd"), -1);
    EXPECT_STREQ(buf, L"");
    EXPECT_EQ(_snwprintf_s(buf, 4, _TRUNCATE, L"%s", L"abcdef"), -1);
    EXPECT_STREQ(buf, L"abc");
    EXPECT_EQ(_snwprintf_s(buf, 64, 2, L"%d", 12345), -1);
    EXPECT_STREQ(buf, L"12");
}

TEST(BoundedCopies, FailuresEmptyTheDestination) {
    wchar_t buf[5] = L"old";
    EXPECT_EQ(wcscpy_s(buf, L"abcd"), 0);
    EXPECT_STREQ(buf, L"abcd");
    EXPECT_EQ(wcscpy_s(buf, L"abcde"), ERANGE);
    EXPECT_STREQ(buf, L"");
    EXPECT_EQ(wcscpy_s(buf, 5, nullptr), EINVAL);
    EXPECT_EQ(wcscpy_s(nullptr, 5, L"a"), EINVAL);
    EXPECT_EQ(wcsncpy_s(buf, L"abcdefgh", 3), 0);
    EXPECT_STREQ(buf, L"abc");
    EXPECT_EQ(wcsncpy_s(buf, L"abcdefgh", _TRUNCATE), STRUNCATE);
    EXPECT_STREQ(buf, L"abcd");
    wcscpy_s(buf, L"ab");
    EXPECT_EQ(wcscat_s(buf, L"cd"), 0);
    EXPECT_STREQ(buf, L"abcd");
    EXPECT_EQ(wcscat_s(buf, L"e"), ERANGE);
    EXPECT_STREQ(buf, L"");
    char nb[4];
    EXPECT_EQ(strcpy_s(nb, "abc"), 0);
    EXPECT_EQ(strcpy_s(nb, "abcd"), ERANGE);
}

TEST(Locales, CzechUpperCasingInPlaceAndItsInvalidParameters) {
    _locale_t cz = _create_locale(LC_CTYPE, "cs-CZ");
    ASSERT_NE(cz, nullptr);
    EXPECT_STREQ(_khost_locale_name(cz), "cs-CZ");
    wchar_t text[] = L"žluťoučký kůň";
    EXPECT_EQ(_wcsupr_s_l(text, wcslen(text) + 1, cz), 0);
    EXPECT_STREQ(text, L"ŽLUŤOUČKÝ KŮŇ");
    EXPECT_EQ(_wcslwr_s_l(text, wcslen(text) + 1, cz), 0);
    EXPECT_STREQ(text, L"žluťoučký kůň");
    // A size that leaves no room for the terminator: EINVAL, and the string is emptied.
    EXPECT_EQ(_wcsupr_s_l(text, wcslen(text), cz), EINVAL);
    EXPECT_STREQ(text, L"");
    EXPECT_EQ(_wcsupr_s_l(nullptr, 10, cz), EINVAL);
    _free_locale(cz);

    // The locale name reaches the case mapping: Turkish dotted capital I.
    _locale_t tr = _wcreate_locale(LC_ALL, L"tr-TR");
    ASSERT_NE(tr, nullptr);
    wchar_t i1[] = L"i";
    wchar_t i2[] = L"i";
    _wcsupr_s_l(i1, 2, tr);
    _wcsupr_s(i2, 2);
    EXPECT_EQ(i1[0], L'\x130');
    EXPECT_EQ(i2[0], L'I');
    _free_locale(tr);
    // Per character: sharp s has no one-character capital and stays.
    wchar_t ss[] = L"straße";
    _wcsupr_s(ss, 7);
    EXPECT_STREQ(ss, L"STRAßE");

    EXPECT_EQ(_create_locale(LC_CTYPE, "qq-ZZ"), nullptr);
    _locale_t byName = _create_locale(LC_ALL, "Czech_Czech Republic.1250");
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(_towupper_l(L'ř', byName), static_cast<wint_t>(L'Ř'));
    _free_locale(byName);
    EXPECT_LT(_wcsicoll_l(L"chata", L"Hrad", nullptr), 0);
    _locale_t csColl = _create_locale(LC_ALL, "cs-CZ");
    EXPECT_GT(_wcsicoll_l(L"chata", L"Hrad", csColl), 0); // "ch" sorts after "h" in Czech
    _free_locale(csColl);
    EXPECT_EQ(_wcsicmp(L"Kůň", L"KŮŇ"), 0);
}

TEST(CodePages, AnsiIsWindows1250AndBuffersAreChecked) {
    const char* cz = "\x9Elu\x9Dou\xE8k\xFD k\xF9\xF2"; // žluťoučký kůň
    int need = MultiByteToWideChar(CP_ACP, 0, cz, -1, nullptr, 0);
    EXPECT_EQ(need, 14);
    wchar_t w[14];
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, cz, -1, w, 13), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, cz, -1, w, 14), 14);
    EXPECT_STREQ(w, L"žluťoučký kůň");

    char back[32];
    BOOL used = TRUE;
    EXPECT_EQ(WideCharToMultiByte(1250, 0, w, -1, back, sizeof back, nullptr, &used), 14);
    EXPECT_STREQ(back, cz);
    EXPECT_FALSE(used);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, L"a中b", 3, back, sizeof back, "#", &used), 3);
    EXPECT_EQ(std::string(back, 3), "a#b");
    EXPECT_TRUE(used);

    int n = WideCharToMultiByte(CP_UTF8, 0, L"kůň", -1, back, sizeof back, nullptr, nullptr);
    EXPECT_EQ(n, 6);
    EXPECT_STREQ(back, "kůň");
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xC3", 2, w, 14), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
}

TEST(Files, MakeDirectoryTakesWindowsSeparators) {
    char tmpl[] = "/tmp/kresbon_crt_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    std::wstring base = khost::fromUtf8(tmpl);
    std::wstring dir = base + L"\\Bloky\\";
    EXPECT_EQ(_waccess(dir.c_str(), 0), -1);
    EXPECT_EQ(_wmkdir(dir.c_str()), 0);
    EXPECT_TRUE(std::filesystem::is_directory(std::string(tmpl) + "/Bloky"));
    EXPECT_EQ(_waccess(dir.c_str(), 0), 0);
    EXPECT_EQ(_wmkdir(dir.c_str()), -1);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(_wmkdir((base + L"\\a\\b").c_str()), -1);
    EXPECT_EQ(errno, ENOENT);
    FILE* f = _wfopen((dir + L"žlutý.txt").c_str(), L"wt");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_TRUE(std::filesystem::exists(std::string(tmpl) + "/Bloky/žlutý.txt"));
    struct _stat st;
    ASSERT_EQ(_wstat(dir.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & _S_IFMT, _S_IFDIR);
    ASSERT_EQ(_wstat((dir + L"žlutý.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & _S_IFMT, _S_IFREG);
    EXPECT_GT(st.st_mtime, 0);
    EXPECT_EQ(_wstat((dir + L"chybí").c_str(), &st), -1);
    EXPECT_EQ(errno, ENOENT);
    std::filesystem::remove_all(tmpl);
}

} // namespace
