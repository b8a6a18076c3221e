#include "acutads.h"
#include "hostio.h"
#include "textconv.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace khost;

TEST(TextConv, RoundTripsCzechThroughUtf8AndCodePages) {
    std::wstring cz = L"Příliš žluťoučký kůň úpěl ďábelské ódy";
    EXPECT_EQ(fromUtf8(toUtf8(cz)), cz);
    std::string cp;
    ASSERT_TRUE(toCodePage(cz, 1250, cp));
    EXPECT_EQ(cp.size(), cz.size());
    EXPECT_EQ(static_cast<unsigned char>(cp[1]), 0xF8); // ř in Windows-1250
    std::wstring back;
    ASSERT_TRUE(fromCodePage(cp, 1250, back));
    EXPECT_EQ(back, cz);
    EXPECT_EQ(fromUtf16le(toUtf16le(cz)), cz);
    EXPECT_EQ(toUpper(L"čeština ďábel", "cs-CZ"), L"ČEŠTINA ĎÁBEL");
    // Invalid UTF-8 becomes the replacement character, never a crash.
    EXPECT_EQ(fromUtf8("\xC3"), std::wstring(1, L'\xFFFD'));
}

TEST(InputStream, SpacesNewlinesCommentsAndCancel) {
    InputStream in;
    in.push(L"line 0,0 10,10\n; a comment\nsay hello there\n^C\n\n");
    EXPECT_EQ(in.readAnswer(false).text, L"line");
    EXPECT_EQ(in.readAnswer(false).text, L"0,0");
    EXPECT_EQ(in.readAnswer(false).text, L"10,10");
    Answer a = in.readAnswer(false);
    EXPECT_EQ(a.text, L"say");
    EXPECT_EQ(in.readAnswer(true).text, L"hello there");
    EXPECT_EQ(in.readAnswer(false).kind, Answer::Cancel);
    a = in.readAnswer(false);
    EXPECT_EQ(a.kind, Answer::Text);
    EXPECT_TRUE(a.text.empty()); // a bare newline is Enter
    EXPECT_EQ(in.readAnswer(false).kind, Answer::End);
}

TEST(InputStream, LineSourceRefillsAndDoubleSpaceIsEnter) {
    InputStream in;
    int calls = 0;
    in.setLineSource(
        [&](const std::wstring&) -> std::optional<std::string> {
            if (calls++ == 0)
                return std::string("a  b");
            return std::nullopt;
        },
        false);
    EXPECT_EQ(in.readAnswer(false).text, L"a");
    EXPECT_EQ(in.readAnswer(false).text, L""); // the second space is one more Enter
    EXPECT_EQ(in.readAnswer(false).text, L"b");
    EXPECT_EQ(in.readAnswer(false).kind, Answer::End);
}

TEST(ResultBuffers, BuildListCopiesValuesAndReleases) {
    ads_point p = {1.0, 2.0, 3.0};
    resbuf* rb = acutBuildList(RTDXF0, L"LINE", 8, L"KB_Voda", 10, p, 62, 1, 40, 2.5, 90, 7,
                               RTLB, RTSHORT, 3, RTLE, 0);
    ASSERT_NE(rb, nullptr);
    EXPECT_EQ(rb->restype, 0);
    EXPECT_STREQ(rb->resval.rstring, L"LINE");
    resbuf* r = rb->rbnext;
    EXPECT_STREQ(r->resval.rstring, L"KB_Voda");
    r = r->rbnext;
    EXPECT_DOUBLE_EQ(r->resval.rpoint[2], 3.0);
    r = r->rbnext;
    EXPECT_EQ(r->resval.rint, 1);
    r = r->rbnext;
    EXPECT_DOUBLE_EQ(r->resval.rreal, 2.5);
    r = r->rbnext;
    EXPECT_EQ(r->resval.rlong, 7);
    r = r->rbnext;
    EXPECT_EQ(r->restype, RTLB);
    resbuf* copy = rbCopyChain(rb);
    EXPECT_NE(copy->resval.rstring, rb->resval.rstring);
    EXPECT_STREQ(copy->resval.rstring, L"LINE");
    acutRelRb(rb);
    acutRelRb(copy);
}

TEST(InputStream, TellsWhetherAnAnswerEndedItsLine) {
    InputStream in;
    in.push(L"a b\nc");
    in.readAnswer(false);
    EXPECT_FALSE(in.lastAnswerEndedLine());
    in.readAnswer(false);
    EXPECT_TRUE(in.lastAnswerEndedLine());
    in.readAnswer(false);
    EXPECT_TRUE(in.lastAnswerEndedLine()); // the end of input ends the line too
}
