// Reading and printing: what the reader makes of a text and how values are printed back.
#include "lisptest.h"

using namespace khost;

namespace {

std::wstring readPrinted(const std::wstring& text) {
    std::wstring out;
    for (const LispValue& v : lispReadAll(text)) {
        if (!out.empty())
            out += L" | ";
        out += lispPrin1(v);
    }
    return out;
}

std::wstring readError(const std::wstring& text) {
    try {
        lispReadAll(text);
    } catch (const LispError& e) {
        return e.message();
    }
    return {};
}

} // namespace

TEST(LispRead, ListsDottedPairsAndQuotesRoundTrip) {
    EXPECT_EQ(readPrinted(L"(1 . 2)"), L"(1 . 2)");
    EXPECT_EQ(readPrinted(L"((1 2) (3 . 4) (a (b . \"c\")) nil)"),
              L"((1 2) (3 . 4) (A (B . \"c\")) nil)");
    // A dotted pair whose tail is a list is that longer list; a dotted end stays dotted.
    EXPECT_EQ(readPrinted(L"(1 . (2 3))"), L"(1 2 3)");
    EXPECT_EQ(readPrinted(L"(1 2 . 3)"), L"(1 2 . 3)");
    EXPECT_EQ(readPrinted(L"'x '(a 'b)"), L"(QUOTE X) | (QUOTE (A (QUOTE B)))");
    EXPECT_EQ(readPrinted(L"(quote x)"), L"(QUOTE X)");
    EXPECT_EQ(readPrinted(L"()"), L"nil");
    // Symbols are case-insensitive and print in upper case; nil and t are the usual ones.
    EXPECT_EQ(readPrinted(L"abc Foo_Bar NIL t 1+ -"), L"ABC | FOO_BAR | nil | T | 1+ | -");
    EXPECT_EQ(readPrinted(L"žluťoučký"), L"ŽLUŤOUČKÝ");
    // Comments, line and block, and several expressions.
    EXPECT_EQ(readPrinted(L"1 ; one\n;| two\n |; (2) \"; not a comment\""),
              L"1 | (2) | \"; not a comment\"");
    // ".5" is a number, a lone dot separates a pair.
    EXPECT_EQ(readPrinted(L"(1 .5)"), L"(1 0.5)");
}

TEST(LispRead, StringsWithEscapes) {
    auto v = lispReadAll(L"\"a\\\"b\\\\c\\nd\\te\\101\"");
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].asString(), L"a\"b\\c\nd\teA");
    // prin1 escapes them again, princ prints them as they are.
    EXPECT_EQ(lispPrin1(v[0]), L"\"a\\\"b\\\\c\\nd\\teA\"");
    EXPECT_EQ(lispPrinc(v[0]), L"a\"b\\c\nd\teA");
    EXPECT_EQ(lispPrinc(LispValue::list({LispValue::string(L"x y"), LispValue::integer(1)})),
              L"(x y 1)");
    EXPECT_EQ(readPrinted(L"\"Příliš\""), L"\"Příliš\"");
}

TEST(LispRead, NumbersIntegersAndReals) {
    auto v = lispReadAll(L"1 -2 +3 1.5 .5 -.25 1e3 5. 2147483647 3000000000");
    ASSERT_EQ(v.size(), 10u);
    EXPECT_TRUE(v[0].isInt());
    EXPECT_EQ(v[1].asInt(), -2);
    EXPECT_EQ(v[2].asInt(), 3);
    EXPECT_TRUE(v[3].isReal());
    EXPECT_DOUBLE_EQ(v[4].asReal(), 0.5);
    EXPECT_DOUBLE_EQ(v[5].asReal(), -0.25);
    EXPECT_DOUBLE_EQ(v[6].asReal(), 1000.0);
    EXPECT_TRUE(v[7].isReal());
    EXPECT_EQ(v[8].asInt(), 2147483647);
    // Beyond 32 bits an integer is read as a real.
    ASSERT_TRUE(v[9].isReal());
    EXPECT_DOUBLE_EQ(v[9].asReal(), 3e9);
}

TEST(LispPrint, RealsAsTheHostPrintsThem) {
    EXPECT_EQ(lispFormatReal(1.5), L"1.5");
    EXPECT_EQ(lispFormatReal(2.0), L"2.0");
    EXPECT_EQ(lispFormatReal(-0.25), L"-0.25");
    EXPECT_EQ(lispFormatReal(3.14159265358979), L"3.14159");
    EXPECT_EQ(lispFormatReal(100000.0), L"100000.0");
    EXPECT_EQ(lispFormatReal(1234567.0), L"1.23457e+006");
    EXPECT_EQ(lispFormatReal(1e10), L"1.0e+010");
    EXPECT_EQ(lispFormatReal(0.00001), L"1.0e-005");
    EXPECT_EQ(lispFormatReal(0.0001), L"0.0001");
    EXPECT_EQ(readPrinted(L"(1.0 2.50 -3e2)"), L"(1.0 2.5 -300.0)");
}

TEST(LispRead, SyntaxErrors) {
    EXPECT_EQ(readError(L"(1 2"), L"malformed list on input");
    EXPECT_EQ(readError(L"'"), L"malformed list on input");
    EXPECT_EQ(readError(L"(a))"), L"extra right paren on input");
    EXPECT_EQ(readError(L"(1 . )"), L"invalid dotted pair");
    EXPECT_EQ(readError(L"(. 1)"), L"invalid dotted pair");
    EXPECT_EQ(readError(L"(1 . 2 3)"), L"invalid dotted pair");
    EXPECT_EQ(readError(L"(princ \"abc)"), L"malformed string on input");
    EXPECT_EQ(readError(std::wstring(5000, L'(') + std::wstring(5000, L')')),
              L"malformed list on input");
}

TEST(LispValues, LongListsAreBuiltAndReleasedWithoutDeepRecursion) {
    LispListBuilder b;
    for (int i = 0; i < 200000; ++i)
        b.add(LispValue::integer(i));
    LispValue list = b.take();
    EXPECT_EQ(list.length(), 200000u);
    LispValue shared = list.cdr(); // a tail still in use survives the head
    list = LispValue();
    EXPECT_EQ(shared.length(), 199999u);
    EXPECT_EQ(shared.car().asInt(), 1);
}
