// Selection sets: ssget "X" with filters of types, layers, colours, relations and -4 groups,
// the pickfirst set (sssetfirst, ssget "I"), and the functions on sets.
#include "entfntest.h"

#include "acedentfn.h"
#include "edentfn.h"

using namespace entfntest;

namespace {

class Selections : public EntFnTest {
protected:
    void SetUp() override {
        EntFnTest::SetUp();
        eval(LR"((entmake '((0 . "LINE") (8 . "A") (62 . 1) (10 0 0 0) (11 1 0 0))))");
        eval(LR"((entmake '((0 . "LINE") (8 . "B") (10 0 0 0) (11 2 0 0))))");
        eval(LR"((entmake '((0 . "TEXT") (8 . "A") (10 0 0 0) (40 . 2.5) (1 . "x"))))");
        eval(LR"((entmake '((0 . "TEXT") (8 . "AB") (10 0 0 0) (40 . 1.0) (1 . "y"))))");
        eval(LR"((entmake '((0 . "CIRCLE") (8 . "C") (10 0 0 0) (40 . 1.0) (67 . 1))))");
        eval(LR"((entmake '((0 . "BLOCK") (2 . "B1") (10 0 0 0))))");
        eval(LR"((entmake '((0 . "ATTDEF") (10 0 0 0) (40 . 1.0) (1 . "") (2 . "T") (3 . "T"))))");
        eval(LR"((entmake '((0 . "ENDBLK"))))");
        eval(LR"((entmake '((0 . "INSERT") (2 . "B1") (66 . 1) (8 . "B") (10 0 0 0))))");
        eval(LR"((entmake '((0 . "ATTRIB") (10 0 0 0) (40 . 1.0) (1 . "v") (2 . "T"))))");
        eval(LR"((entmake '((0 . "SEQEND"))))");
    }

    // The number of entities a filter selects (-1 for nil).
    int count(const std::wstring& filter) {
        khost::LispValue v = eval(L"(ssget \"X\" '" + filter + L")");
        if (v.isNil())
            return -1;
        return eval(L"(sslength (ssget \"X\" '" + filter + L"))").asInt();
    }
};

} // namespace

TEST_F(Selections, EverythingThroughFilters) {
    // Main entities of both spaces; the attribute and the block's definition are not selected.
    EXPECT_EQ(eval(L"(sslength (ssget \"X\"))").asInt(), 6);
    EXPECT_EQ(eval(L"(sslength (ssget \"_X\"))").asInt(), 6);
    EXPECT_EQ(count(L"((0 . \"LINE\"))"), 2);
    EXPECT_EQ(count(L"((0 . \"line,text\"))"), 4);
    EXPECT_EQ(count(L"((0 . \"TEXT\") (8 . \"A\"))"), 1);
    EXPECT_EQ(count(L"((8 . \"A*\"))"), 3);
    EXPECT_EQ(count(L"((8 . \"~A*\"))"), 3);
    EXPECT_EQ(count(L"((-4 . \"<OR\") (0 . \"CIRCLE\") (8 . \"B\") (-4 . \"OR>\"))"), 3);
    EXPECT_EQ(count(L"((-4 . \"<not\") (0 . \"LINE\") (-4 . \"not>\"))"), 4);
    EXPECT_EQ(count(L"((-4 . \"<or\") (-4 . \"<and\") (0 . \"TEXT\") (8 . \"AB\") (-4 . \"and>\")"
                    L" (62 . 1) (-4 . \"or>\"))"),
              2);
    EXPECT_EQ(count(L"((-4 . \"<xor\") (8 . \"A\") (0 . \"TEXT\") (-4 . \"xor>\"))"), 2);
    EXPECT_EQ(count(L"((62 . 256))"), 5);
    EXPECT_EQ(count(L"((0 . \"TEXT\") (-4 . \">=\") (40 . 2.0))"), 1);
    EXPECT_EQ(count(L"((67 . 1))"), 1);
    EXPECT_EQ(count(L"((410 . \"Model\"))"), 5);
    EXPECT_EQ(count(L"((2 . \"B1\"))"), 1);
    EXPECT_EQ(count(L"((0 . \"ARC\"))"), -1);
    // A filter that is not well formed is an error.
    EXPECT_EQ(khost::toUtf8([&] {
                  try {
                      khost::lispEvaluate(L"(ssget \"X\" '((-4 . \"<or\") (0 . \"LINE\")))");
                  } catch (const khost::LispError& e) {
                      return e.message();
                  }
                  return std::wstring();
              }()),
              "bad ssget list");

    // The members in the drawing's order, and the functions on sets.
    eval(L"(setq s (ssget \"X\" '((0 . \"LINE\"))))");
    EXPECT_EQ(printed(eval(L"(cdr (assoc 8 (entget (ssname s 0))))")), "\"A\"");
    EXPECT_EQ(printed(eval(L"(cdr (assoc 8 (entget (ssname s 1))))")), "\"B\"");
    EXPECT_EQ(printed(eval(L"(ssname s 2)")), "nil");
    eval(L"(setq c (ssname (ssget \"X\" '((0 . \"CIRCLE\"))) 0))");
    EXPECT_EQ(printed(eval(L"(ssmemb c s)")), "nil");
    EXPECT_EQ(printed(eval(L"(sslength (ssadd c s))")), "3");
    EXPECT_EQ(printed(eval(L"(equal (ssmemb c s) c)")), "T");
    EXPECT_EQ(printed(eval(L"(sslength (ssdel c s))")), "2");
    EXPECT_EQ(printed(eval(L"(ssdel c s)")), "nil");
    EXPECT_EQ(printed(eval(L"(sslength (ssadd))")), "0");
    EXPECT_EQ(printed(eval(L"(sslength (ssadd c))")), "1");
    EXPECT_EQ(printed(eval(L"(sslength (ssget \"P\"))")), "1"); // the last ssget: the circle
    EXPECT_EQ(printed(eval(L"(cdr (assoc 0 (entget (ssname (ssget \"L\") 0))))")), "\"INSERT\"");
}

TEST_F(Selections, TheWalkOfEntnext) {
    // Model space with the reference's parts after it, then paper space.
    std::vector<std::wstring> types;
    for (AcDbObjectId id = khost::nextEntity(db(), {}); !id.isNull();
         id = khost::nextEntity(db(), id))
        types.push_back(khost::dxfTypeName(khost::peekObject(id)));
    std::vector<std::wstring> expected = {L"LINE",   L"LINE",   L"TEXT",   L"TEXT",
                                          L"INSERT", L"ATTRIB", L"SEQEND", L"CIRCLE"};
    EXPECT_EQ(types, expected);
    // A walk goes on past an entity erased while walking, and starts again anywhere.
    AcDbObjectId first = khost::nextEntity(db(), {});
    AcDbObjectId second = khost::nextEntity(db(), first);
    AcDbObjectId third = khost::nextEntity(db(), second);
    ads_name name;
    acdbGetAdsName(name, second);
    EXPECT_EQ(acdbEntDel(name), RTNORM);
    EXPECT_EQ(khost::nextEntity(db(), first), third);
    EXPECT_EQ(khost::nextEntity(db(), second), third);
    // The last entity made is the reference (the circle of paper space was made before it).
    AcDbObjectId last = khost::lastEntity(db());
    EXPECT_EQ(khost::dxfTypeName(khost::peekObject(last)), L"INSERT");
    EXPECT_EQ(khost::dxfTypeName(khost::peekObject(khost::nextEntity(db(), last))), L"ATTRIB");
}

TEST_F(Selections, PickfirstSet) {
    EXPECT_EQ(printed(eval(L"(ssget \"I\")")), "nil");
    eval(L"(setq s (ssget \"X\" '((0 . \"TEXT\"))))");
    EXPECT_EQ(printed(eval(L"(length (sssetfirst nil s))")), "2");
    auto& pickfirst = khost::currentSession().pickfirst;
    ASSERT_EQ(pickfirst.size(), 2u);
    EXPECT_EQ(khost::dxfTypeName(khost::peekObject(pickfirst[0])), L"TEXT");
    EXPECT_EQ(printed(eval(L"(sslength (ssget \"_I\"))")), "2");
    EXPECT_EQ(printed(eval(L"(sslength (ssget \"I\" '((8 . \"AB\"))))")), "1");
    EXPECT_EQ(printed(eval(L"(sslength (car (cdr (ssgetfirst))))")), "2");
    eval(L"(sssetfirst nil)");
    EXPECT_TRUE(pickfirst.empty());
    EXPECT_EQ(printed(eval(L"(ssget \"I\")")), "nil");

    // The same through the C interface.
    resbuf* filter = acutBuildList(RTDXF0, L"LINE", 0);
    auto lines = khost::selectAll(db(), filter);
    acutRelRb(filter);
    ASSERT_EQ(lines.size(), 2u);
    ads_name set = {0, 0}, none = {0, 0}, name;
    acdbGetAdsName(name, lines[0]);
    ASSERT_EQ(acedSSAdd(name, none, set), RTNORM);
    acdbGetAdsName(name, lines[1]);
    ASSERT_EQ(acedSSAdd(name, set, set), RTNORM);
    Adesk::Int32 len = 0;
    EXPECT_EQ(acedSSLength(set, &len), RTNORM);
    EXPECT_EQ(len, 2);
    EXPECT_EQ(acedSSMemb(name, set), RTNORM);
    EXPECT_EQ(acedSSSetFirst(set, nullptr), RTNORM);
    EXPECT_EQ(pickfirst.size(), 2u);
    resbuf* gripped = nullptr;
    resbuf* picked = nullptr;
    ASSERT_EQ(acedSSGetFirst(&gripped, &picked), RTNORM);
    ASSERT_NE(picked, nullptr);
    EXPECT_EQ(acedSSLength(picked->resval.rlname, &len), RTNORM);
    EXPECT_EQ(len, 2);
    EXPECT_EQ(acedSSFree(picked->resval.rlname), RTNORM);
    acutRelRb(picked);
    EXPECT_EQ(acedSSSetFirst(nullptr, nullptr), RTNORM);
    EXPECT_TRUE(pickfirst.empty());
    EXPECT_EQ(acedSSDel(name, set), RTNORM);
    EXPECT_EQ(acedSSMemb(name, set), RTERROR);
    EXPECT_EQ(acedSSFree(set), RTNORM);
    EXPECT_EQ(acedSSLength(set, &len), RTERROR);
}

TEST(Wildcards, ThePatternsOfTheHost) {
    using khost::wildcardMatch;
    EXPECT_TRUE(wildcardMatch(L"POTRUBI", L"pot*"));
    EXPECT_FALSE(wildcardMatch(L"POTRUBI", L"pot*", false));
    EXPECT_TRUE(wildcardMatch(L"A1", L"@#"));
    EXPECT_FALSE(wildcardMatch(L"AA", L"@#"));
    EXPECT_TRUE(wildcardMatch(L"A-B", L"A.B"));
    EXPECT_FALSE(wildcardMatch(L"AXB", L"A.B"));
    EXPECT_TRUE(wildcardMatch(L"B", L"[A-C]"));
    EXPECT_FALSE(wildcardMatch(L"B", L"[~A-C]"));
    EXPECT_TRUE(wildcardMatch(L"TEXT", L"LINE,TEXT"));
    EXPECT_TRUE(wildcardMatch(L"A,B", L"A`,B"));
    EXPECT_TRUE(wildcardMatch(L"X", L"~LINE"));
    EXPECT_FALSE(wildcardMatch(L"LINE", L"~LINE"));
    EXPECT_TRUE(wildcardMatch(L"*U1", L"`*U#"));
    EXPECT_TRUE(wildcardMatch(L"ABC", L"A?C"));
    EXPECT_FALSE(wildcardMatch(L"ABBC", L"A?C"));
}
