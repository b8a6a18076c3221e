// The group and section levels of the DXF reader and writer: tokenizing good and broken input,
// number formatting, and the text encodings of old and new files.
#include "dxfgroups.h"
#include "dxfsections.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>

using namespace khost::dxf;

namespace {

std::vector<Group> allGroups(std::string_view text, std::string* error = nullptr) {
    Tokenizer tok(text);
    std::vector<Group> out;
    Group g;
    while (tok.next(g))
        out.push_back(g);
    if (error)
        *error = tok.error();
    return out;
}

// The error of splitting a text, or "" when it splits.
std::string splitError(std::string_view text) {
    FileStructure fs;
    std::string error;
    bool ok = splitSections(text, fs, error);
    EXPECT_EQ(ok, error.empty());
    if (!ok) {
        EXPECT_TRUE(fs.sections.empty());
    }
    EXPECT_EQ(error.find('\n'), std::string::npos) << "one line only";
    return error;
}

} // namespace

TEST(DxfTokenizer, LineEndsPaddingAndLineNumbers) {
    std::string text = "  0\r\nSECTION\r\n  2\nHEADER\n 9 \n$ACADVER\n1\r\nAC1009\n"
                       "  1\n  spaced text  \r\n0\nENDSEC\n0\nEOF\n\n\n";
    std::string error;
    auto g = allGroups(text, &error);
    EXPECT_EQ(error, "");
    ASSERT_EQ(g.size(), 7u);
    EXPECT_EQ(g[0].code, 0);
    EXPECT_EQ(g[0].value, "SECTION");
    EXPECT_EQ(g[1].value, "HEADER");
    EXPECT_EQ(g[2].code, 9);
    EXPECT_EQ(g[2].line, 5);
    EXPECT_EQ(g[3].value, "AC1009");
    EXPECT_EQ(g[4].value, "  spaced text  "); // spaces of a value are kept, the CR is not
    EXPECT_EQ(g[4].line, 9);
    EXPECT_EQ(g[6].value, "EOF");

    Tokenizer tok("0\nA\n5\n1F\n");
    Group a, b;
    ASSERT_TRUE(tok.next(a));
    tok.pushBack();
    ASSERT_TRUE(tok.next(b));
    EXPECT_EQ(b.value, "A");
    ASSERT_TRUE(tok.next(b));
    EXPECT_EQ(b.code, 5);
    EXPECT_FALSE(tok.next(b));
    EXPECT_EQ(tok.error(), "");
}

// A group pushed back comes again with its line, whichever way it was read, and the groups after
// it follow with theirs; after a bad group the pushed back one still comes once.
TEST(DxfTokenizer, PushedBackGroupsComeAgainWithTheirLines) {
    Tokenizer tok("\t7\t\nseven\n 10\r\n1.5\n8\nlast");
    Group g;
    ASSERT_TRUE(tok.next(g)); // a code padded with a tab: not the common form
    tok.pushBack();
    EXPECT_FALSE(tok.atEnd());
    ASSERT_TRUE(tok.next(g));
    EXPECT_EQ(g.code, 7);
    EXPECT_EQ(g.value, "seven");
    EXPECT_EQ(g.line, 1);
    ASSERT_TRUE(tok.next(g));
    tok.pushBack();
    tok.pushBack(); // twice is once
    ASSERT_TRUE(tok.next(g));
    EXPECT_EQ(g.code, 10);
    EXPECT_EQ(g.value, "1.5");
    EXPECT_EQ(g.line, 3);
    ASSERT_TRUE(tok.next(g)); // the last value without a line end
    EXPECT_EQ(g.value, "last");
    EXPECT_TRUE(tok.atEnd());
    tok.pushBack();
    EXPECT_FALSE(tok.atEnd());
    ASSERT_TRUE(tok.next(g));
    EXPECT_EQ(g.code, 8);
    EXPECT_EQ(g.line, 5);
    EXPECT_FALSE(tok.next(g));
    EXPECT_EQ(tok.line(), 6);

    Tokenizer bad("1\nok\nX\nbad\n");
    ASSERT_TRUE(bad.next(g));
    EXPECT_FALSE(bad.next(g));
    EXPECT_NE(bad.error(), "");
    bad.pushBack();
    ASSERT_TRUE(bad.next(g));
    EXPECT_EQ(g.value, "ok");
    EXPECT_FALSE(bad.next(g));
}

TEST(DxfTokenizer, BrokenInputGivesOneLineErrorWithLineNumber) {
    std::string error;
    // An odd number of lines: the last code has no value.
    allGroups("0\nSECTION\n2\nHEADER\n9\n", &error);
    EXPECT_EQ(error.rfind("line 5:", 0), 0u) << error;
    EXPECT_NE(error.find("has no value"), std::string::npos) << error;
    // A code that is not a number.
    auto g = allGroups("0\nSECTION\n2\nENTITIES\nx1\nfoo\n0\nEOF\n", &error);
    EXPECT_EQ(error, "line 5: a group code was expected, found \"x1\"");
    EXPECT_EQ(g.size(), 2u);
    allGroups("0\nSECTION\n\n\n0\nEOF\n", &error);
    EXPECT_EQ(error.rfind("line 3:", 0), 0u) << error;
    allGroups("0\nSECTION\n99999\nX\n", &error);
    EXPECT_EQ(error.rfind("line 3:", 0), 0u) << error;
}

TEST(DxfSections, StructureAndItsFaults) {
    std::string good = "999\ncomment\n0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n0\nENDSEC\n"
                       "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n1.5\n0\nPOINT\n0\nENDSEC\n"
                       "0\nEOF\n";
    FileStructure fs;
    std::string error;
    ASSERT_TRUE(splitSections(good, fs, error)) << error;
    ASSERT_EQ(fs.sections.size(), 2u);
    EXPECT_EQ(fs.sections[0].name, "HEADER");
    EXPECT_EQ(fs.sections[0].leading.size(), 2u);
    const Section* ents = fs.find("ENTITIES");
    ASSERT_NE(ents, nullptr);
    ASSERT_EQ(ents->records.size(), 2u);
    EXPECT_EQ(ents->records[0].type, "LINE");
    EXPECT_EQ(ents->records[0].line, 17);
    EXPECT_EQ(ents->records[0].find(10), "1.5");
    EXPECT_TRUE(ents->records[1].groups.empty());

    EXPECT_EQ(splitError("0\nLINE\n8\n0\n0\nEOF\n"), "line 1: LINE outside of a section");
    EXPECT_EQ(splitError(good.substr(0, good.find("0\nENDSEC\n0\nEOF"))),
              "line 24: the file ends inside section ENTITIES (truncated: ENDSEC and EOF missing)");
    EXPECT_EQ(splitError(good.substr(0, good.size() - 6)),
              "line 26: the file ends without EOF (truncated)");
    EXPECT_EQ(splitError("0\nSECTION\n2\nTABLES\n0\nSECTION\n2\nBLOCKS\n"),
              "line 5: SECTION inside section TABLES (ENDSEC missing)");
    EXPECT_EQ(splitError("0\nSECTION\n2\nTABLES\n0\nEOF\n"),
              "line 5: EOF inside section TABLES (ENDSEC missing)");
    EXPECT_EQ(splitError("0\nSECTION\n8\nX\n0\nEOF\n"),
              "line 3: the section has no name (group 2 expected)");
    EXPECT_EQ(splitError("0\nENDSEC\n0\nEOF\n"), "line 1: ENDSEC outside of a section");
    EXPECT_EQ(splitError("8\n0\n0\nEOF\n"), "line 1: group 8 outside of a section");
    EXPECT_EQ(splitError(""), "line 1: the file ends without EOF (truncated)");
    EXPECT_EQ(splitError(std::string("AutoCAD Binary DXF\r\n\x1a\0", 22)),
              "line 1: binary DXF is not supported; save the drawing as ASCII DXF");
    // Every shorter prefix of a good file fails cleanly (the last line end is optional).
    EXPECT_EQ(splitError(good.substr(0, good.size() - 1)), "");
    for (size_t n = 0; n + 1 < good.size(); ++n)
        EXPECT_NE(splitError(good.substr(0, n)), "") << n;
}

// A section of more groups than fit the room first made for them (the entities of a large
// drawing, with comments between them): every record keeps its own groups, in order, with their
// lines.
TEST(DxfSections, ManyGroupsKeepTheirRecords) {
    const int records = 60000, perRecord = 7;
    std::string text = "0\nSECTION\n2\nENTITIES\n";
    for (int r = 0; r < records; ++r) {
        text += "0\nLINE\n";
        for (int k = 0; k < perRecord; ++k)
            text += std::to_string(10 + k) + "\n" + std::to_string(r * perRecord + k) + "\n";
        if (r % 1000 == 0)
            text += "999\ncomment\n";
    }
    text += "0\nENDSEC\n0\nEOF\n";
    FileStructure fs;
    std::string error;
    ASSERT_TRUE(splitSections(text, fs, error)) << error;
    const Section* ents = fs.find("ENTITIES");
    ASSERT_NE(ents, nullptr);
    ASSERT_EQ(ents->records.size(), static_cast<size_t>(records));
    ASSERT_EQ(ents->recordGroups.size(), static_cast<size_t>(records * perRecord));
    int line = 5;
    for (int r = 0; r < records; ++r) {
        const Record& rec = ents->records[static_cast<size_t>(r)];
        ASSERT_EQ(rec.type, "LINE");
        ASSERT_EQ(rec.line, line);
        ASSERT_EQ(rec.groups.size(), static_cast<size_t>(perRecord));
        for (int k = 0; k < perRecord; ++k) {
            const Group& g = rec.groups[static_cast<size_t>(k)];
            ASSERT_EQ(g.code, 10 + k);
            ASSERT_EQ(g.value, std::to_string(r * perRecord + k));
            ASSERT_EQ(g.line, line + 2 + 2 * k);
        }
        line += 2 + 2 * perRecord + (r % 1000 == 0 ? 2 : 0);
    }
}

TEST(DxfValues, NumbersWriteShortAndReadBackExactly) {
    EXPECT_EQ(formatReal(0.0), "0.0");
    EXPECT_EQ(formatReal(-0.0), "0.0");
    EXPECT_EQ(formatReal(1.0), "1.0");
    EXPECT_EQ(formatReal(250.0), "250.0");
    EXPECT_EQ(formatReal(-2.5), "-2.5");
    EXPECT_EQ(formatReal(0.1), "0.1");
    EXPECT_EQ(formatReal(1e20), "1e+20");
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> dist(-1e6, 1e6);
    for (int i = 0; i < 2000; ++i) {
        double v = dist(rng) / (i % 7 + 1);
        std::string s = formatReal(v);
        double back = 0;
        ASSERT_TRUE(parseReal(s, back)) << s;
        EXPECT_EQ(back, v) << s;
        EXPECT_LE(s.size(), 24u);
    }
    // The text is the shortest that reads back, as std::to_chars gives it (".0" added to
    // integral values): for coordinates of few decimals, integral values, tiny and huge values,
    // and doubles of all their digits.
    auto reference = [](double v) {
        char buf[32];
        auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v);
        std::string s(buf, p);
        if (s.find('.') == std::string::npos && s.find('e') == std::string::npos)
            s += ".0";
        return s;
    };
    std::uniform_int_distribution<int> decimals(0, 9);
    for (int i = 0; i < 20000; ++i) {
        double raw = dist(rng) * std::pow(10.0, i % 13 - 6);
        double scale = std::pow(10.0, decimals(rng));
        for (double v : {raw, std::round(raw * scale) / scale, std::round(raw)}) {
            if (v == 0.0)
                continue;
            ASSERT_EQ(formatReal(v), reference(v)) << i;
        }
    }
    for (double v : {1000.0, 1e8, 1e14, 123456789012345.0, 0.001, 0.0001, 0.00125, 2.5e-7, 1e15,
                     9007199254740993.0, 0.1 + 0.2, 1.0 / 3.0, -1234.5, 5e-324})
        EXPECT_EQ(formatReal(v), reference(v)) << v;
    // Decimal texts as other writers put them (fixed precision, long fractions, leading zeros,
    // more digits than a double holds) read as the standard conversion reads them.
    char text[64];
    for (int i = 0; i < 4000; ++i) {
        double v = dist(rng) / std::pow(10.0, i % 9);
        std::snprintf(text, sizeof text, "%.*f", i % 21, v);
        double mine = 1, exact = 2;
        ASSERT_TRUE(parseReal(text, mine)) << text;
        std::from_chars(text, text + std::strlen(text), exact);
        ASSERT_EQ(mine, exact) << text;
        ASSERT_EQ(std::signbit(mine), std::signbit(exact)) << text;
    }
    for (const char* edge :
         {"-0.0", "0", "9007199254740993", "9007199254740993.0", "0.0000000000000000000001",
          "123456789012345678901.5", "1.", ".5", "-.5", "1.e2", "00012.50"}) {
        double mine = 1, exact = 2;
        bool ok = parseReal(edge, mine);
        auto [p, ec] = std::from_chars(edge, edge + std::strlen(edge), exact);
        EXPECT_EQ(ok, ec == std::errc() && *p == 0) << edge;
        if (ok) {
            EXPECT_EQ(mine, exact) << edge;
        }
    }
    double d = 0;
    EXPECT_TRUE(parseReal("  +1.5e3 ", d));
    EXPECT_EQ(d, 1500.0);
    EXPECT_FALSE(parseReal("1.5x", d));
    EXPECT_FALSE(parseReal("", d));
    EXPECT_FALSE(parseReal("nan", d));
    long long n = 0;
    EXPECT_TRUE(parseInt(" -12", n));
    EXPECT_EQ(n, -12);
    EXPECT_TRUE(parseInt("3.0", n)); // integral values in real form
    EXPECT_EQ(n, 3);
    EXPECT_FALSE(parseInt("3.5", n));
    std::uint64_t h = 0;
    EXPECT_TRUE(parseHandle("1fA", h));
    EXPECT_EQ(h, 0x1FAu);
    EXPECT_FALSE(parseHandle("12345678901234567", h));
    EXPECT_FALSE(parseHandle("G1", h));
    // Handles read as std::from_chars reads hexadecimal text after trimming, the value of a
    // text that is not a handle included (some callers take it without looking at the result).
    for (std::string_view text :
         {"0", " 2a ", "FFFFFFFFFFFFFFFF", "ffffffffffffffff0", "1G", "-1", "+1", "0x1F", "", "  ",
          "1 2", "aB\t", "\r7F", "00000000000000001"}) {
        std::uint64_t got = 77, want = 77;
        std::string_view t = trim(text);
        bool expected = false;
        if (!t.empty() && t.size() <= 16) {
            auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), want, 16);
            expected = ec == std::errc() && p == t.data() + t.size();
        }
        EXPECT_EQ(parseHandle(text, got), expected) << text;
        EXPECT_EQ(got, want) << text;
    }

    Writer w;
    w.text(0, "LINE");
    w.handle(5, 0x2AF);
    w.integer(1071, -5);
    w.point(10, 1, 2.5, 0);
    EXPECT_EQ(w.data(), "  0\nLINE\n  5\n2AF\n1071\n-5\n 10\n1.0\n 20\n2.5\n 30\n0.0\n");
    EXPECT_EQ(valueKind(5), ValueKind::Handle);
    EXPECT_EQ(valueKind(330), ValueKind::Handle);
    EXPECT_EQ(valueKind(290), ValueKind::Bool);
    EXPECT_EQ(valueKind(310), ValueKind::Binary);
    EXPECT_EQ(valueKind(1071), ValueKind::Int32);
    EXPECT_EQ(valueKind(160), ValueKind::Int64);
}

TEST(DxfText, CodePagesAndEscapes) {
    EXPECT_EQ(codePageFromName("ANSI_1250"), 1250);
    EXPECT_EQ(codePageFromName("ansi_1252"), 1252);
    EXPECT_EQ(codePageFromName("DOS852"), 852);
    EXPECT_EQ(codePageFromName("ISO8859-2"), 28592);
    EXPECT_EQ(codePageFromName("nonsense"), 0);
    EXPECT_EQ(codePageName(1250), "ANSI_1250");
    EXPECT_EQ(acadVersion("AC1027"), 1027);
    EXPECT_EQ(acadVersion("AC10"), 0);

    // "Žluťoučký" in Windows-1250, and a character that page lacks written as an escape.
    std::string cp1250 = "\x8Elu\x9Dou\xE8k\xFD \\U+20AC \\U+D83D\\U+DE00";
    TextCodec old(false, 1250);
    std::wstring text = old.decode(cp1250);
    EXPECT_EQ(text, L"Žluťoučký € \U0001F600");
    EXPECT_EQ(old.decode(old.encode(L"Ωmega Řeka \U0001F600")), L"Ωmega Řeka \U0001F600");
    EXPECT_EQ(old.encode(L"Ωř"), "\\U+03A9\xF8");
    EXPECT_EQ(old.decode("\\U+zz \\U+00"), L"\\U+zz \\U+00"); // not escapes

    TextCodec utf8(true, 1250);
    EXPECT_EQ(utf8.decode("\xC5\xBD\x6C\x75\xC5\xA5"), L"Žluť");
    EXPECT_EQ(utf8.encode(L"Žluť"), "\xC5\xBD\x6C\x75\xC5\xA5");
    EXPECT_EQ(utf8.decode("\\U+0041"), L"\\U+0041"); // kept literally in UTF-8 files
    // A file that claims UTF-8 but holds code-page bytes is read in its code page.
    EXPECT_EQ(utf8.decode("\x8Elu\x9D"), L"Žluť");
    EXPECT_TRUE(isValidUtf8("\xC5\xBD"));
    EXPECT_FALSE(isValidUtf8("\xC5"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));     // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80")); // surrogate
}
