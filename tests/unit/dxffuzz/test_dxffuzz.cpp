// The DXF reader on bad input: the inputs the fuzzer (tools/fuzz.sh) found to break it, kept
// under tests/data/dxf_fuzz, and the edges of the tokenizer's common form of a group. Each bad
// input gives a clean error that names a line.
#include "dbmain.h"
#include "dxfgroups.h"
#include "dxfio.h"
#include "dxfread.h"
#include "dxfwrite.h"
#include "textconv.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using khost::dxf::Group;
using khost::dxf::Tokenizer;

namespace {

struct Read {
    bool ok = false;
    std::string error;
};

// Reads a text; a drawing it gives must be written and read again.
Read readText(const std::string& text) {
    Read r;
    std::unique_ptr<AcDbDatabase> db(khost::dxf::readDxf(nullptr, text, r.error));
    r.ok = db != nullptr;
    if (db) {
        std::string out, error;
        EXPECT_TRUE(khost::dxf::writeDxf(db.get(), out, error)) << error;
        std::unique_ptr<AcDbDatabase> again(khost::dxf::readDxf(nullptr, out, error));
        EXPECT_NE(again, nullptr) << error;
    }
    return r;
}

// The groups of a text (a literal: the groups look into it).
std::vector<Group> groupsOf(std::string_view text, std::string& error) {
    Tokenizer tok(text);
    std::vector<Group> out;
    Group g;
    while (tok.next(g))
        out.push_back(g);
    error = tok.error();
    return out;
}

} // namespace

TEST(DxfFuzzFindings, EachGivesACleanErrorOrADrawing) {
    fs::path dir = fs::path(KRESBON_SOURCE_DIR) / "tests" / "data" / "dxf_fuzz";
    int count = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (!entry.is_regular_file() || entry.path().filename() == "README")
            continue;
        ++count;
        std::wstring error;
        std::unique_ptr<AcDbDatabase> db(
            khost::readDrawing(khost::fromUtf8(entry.path().string()), error));
        if (!db) {
            EXPECT_NE(error.find(L"line "), std::wstring::npos)
                << entry.path() << ": " << khost::toUtf8(error);
            continue;
        }
        std::string out, message;
        EXPECT_TRUE(khost::dxf::writeDxf(db.get(), out, message)) << entry.path();
        std::unique_ptr<AcDbDatabase> again(khost::dxf::readDxf(nullptr, out, message));
        EXPECT_NE(again, nullptr) << entry.path() << ": " << message;
    }
    EXPECT_GT(count, 0);
}

TEST(DxfTokenizer, TheCommonFormAndItsEdges) {
    std::string error;
    // Padded codes, CRLF, a last value without a line end.
    auto g = groupsOf("  0\r\nSECTION\r\n  2\r\nENTITIES\n 10 \n1.5\n-4\n<or\n999\nlast", error);
    EXPECT_EQ(error, "");
    ASSERT_EQ(g.size(), 5u);
    EXPECT_EQ(g[0].code, 0);
    EXPECT_EQ(g[0].value, "SECTION");
    EXPECT_EQ(g[1].line, 3);
    EXPECT_EQ(g[2].code, 10);
    EXPECT_EQ(g[2].value, "1.5");
    EXPECT_EQ(g[2].line, 5);
    EXPECT_EQ(g[3].code, -4);
    EXPECT_EQ(g[4].value, "last");
    // Forms the careful path reads: a sign, an integral real, spaces and an empty value.
    g = groupsOf("+5\nA1\n10.0\n2.5\n\t8\n\n", error);
    EXPECT_EQ(error, "");
    ASSERT_EQ(g.size(), 3u);
    EXPECT_EQ(g[0].code, 5);
    EXPECT_EQ(g[1].code, 10);
    EXPECT_EQ(g[2].code, 8);
    EXPECT_EQ(g[2].value, "");
    // Codes out of range or of too many digits, a code without its value, a broken code.
    groupsOf("0\nSECTION\n32768\nx\n", error);
    EXPECT_EQ(error, "line 3: a group code was expected, found \"32768\"");
    groupsOf("-32768\nx\n-32769\ny\n", error);
    EXPECT_EQ(error, "line 3: a group code was expected, found \"-32769\"");
    groupsOf("0000010\nx\n1 0\ny\n", error);
    EXPECT_EQ(error, "line 3: a group code was expected, found \"1 0\"");
    groupsOf("0\nSECTION\n  2\n", error);
    EXPECT_EQ(error, "line 3: group code 2 has no value: the file is truncated");
}

TEST(DxfTokenizer, BadDrawingsNameTheirLine) {
    Read r = readText("  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\nx\n  0\nENDSEC\n  0\nEOF\n");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error.substr(0, 7), "line 7:");
    r = readText("  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\n0\n 10\n1\n 20\n2\n 11\n3\n"
                 " 21\n4\n  0\nENDSEC\n  0\nEOF");
    EXPECT_TRUE(r.ok) << r.error;
    r = readText("  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("truncated"), std::string::npos) << r.error;
}
