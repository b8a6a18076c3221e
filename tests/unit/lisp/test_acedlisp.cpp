// The external function interface: an application defines functions while it handles a
// message, receives kInvkSubrMsg with its arguments as result buffers and returns values with
// acedRet*.
#include "acedlisp.h"
#include "lisptest.h"

#include "acutads.h"
#include "appregistry.h"

#include <functional>

using namespace khost;

namespace {

// The test application: what it does for each message is set by the test.
std::function<void()> g_onLoad;
std::function<void()> g_onCall;
int g_invokeCount = 0;
int g_lastFunCode = -1;
resbuf* g_argsCopy = nullptr;
AcRx::AppRetCode g_callResult = AcRx::kRetOK;

AcRx::AppRetCode testEntry(AcRx::AppMsgCode msg, void*) {
    if (msg == AcRx::kLoadDwgMsg && g_onLoad)
        g_onLoad();
    if (msg == AcRx::kInvkSubrMsg) {
        ++g_invokeCount;
        g_lastFunCode = acedGetFunCode();
        acutRelRb(g_argsCopy);
        g_argsCopy = rbCopyChain(acedGetArgs());
        if (g_onCall)
            g_onCall();
        return g_callResult;
    }
    return AcRx::kRetOK;
}

int g_direct = 0;
int directHandler() {
    ++g_direct;
    acedRetStr(L"direct");
    return RSRSLT;
}
int failingHandler() {
    acedRetInt(99);
    return RSERR;
}

class AcedLisp : public LispTest {
protected:
    void SetUp() override {
        LispTest::SetUp();
        static int app = registerApp({L"lisptest.so", testEntry, nullptr});
        m_app = app;
        g_onCall = nullptr;
        g_invokeCount = 0;
        g_lastFunCode = -1;
        g_callResult = AcRx::kRetOK;
        g_onLoad = [] {
            acedDefun(L"lt_args", 0);
            acedDefun(L"lt_ret", 1);
            acedDefun(L"LT_Echo", 2);
            acedDefun(L"lt_direct", 3);
            acedRegFunc(directHandler, 3);
            acedDefun(L"lt_fail", 4);
            acedRegFunc(failingHandler, 4);
        };
        ASSERT_EQ(sendAppMessage(m_app, AcRx::kLoadDwgMsg), AcRx::kRetOK);
    }
    void TearDown() override {
        acutRelRb(g_argsCopy);
        g_argsCopy = nullptr;
        LispTest::TearDown();
    }
    // Types of the argument chain of the last call, one letter-free code after another.
    static std::vector<int> argTypes() {
        std::vector<int> t;
        for (resbuf* rb = g_argsCopy; rb; rb = rb->rbnext)
            t.push_back(rb->restype);
        return t;
    }
    int m_app = -1;
};

const resbuf* nth(const resbuf* rb, int n) {
    while (rb && n-- > 0)
        rb = rb->rbnext;
    return rb;
}

} // namespace

TEST_F(AcedLisp, DefunOnlyWhileAnApplicationIsMessaged) {
    EXPECT_EQ(acedDefun(L"lt_outside", 7), RTERROR);
    EXPECT_EQ(errorOf(L"(lt_outside)"), L"no function definition: LT_OUTSIDE");
    EXPECT_EQ(acedRegFunc(directHandler, 7), RTERROR);
    // Outside a call there are neither a function code nor arguments, and nothing to return to.
    EXPECT_EQ(acedGetFunCode(), RTERROR);
    EXPECT_EQ(acedGetArgs(), nullptr);
    EXPECT_EQ(acedRetInt(1), RTERROR);
    // Defined names are upper case and the functions are external ones.
    EXPECT_EQ(evalPrinted(L"(type lt_echo)"), L"EXRXSUBR");
}

TEST_F(AcedLisp, ArgumentsArriveAsResultBuffersOfTheRightTypes) {
    ads_name en = {0x2a, 0};
    resbuf* rb = acutBuildList(RTENAME, en, 0);
    ASSERT_EQ(acedPutSym(L"lt_en", rb), RTNORM);
    acutRelRb(rb);
    EXPECT_EQ(evalPrinted(L"(lt_args 1 -32768 70000 2.5 \"s\" nil t lt_en)"), L"nil");
    EXPECT_EQ(g_lastFunCode, 0);
    EXPECT_EQ(argTypes(),
              (std::vector<int>{RTSHORT, RTSHORT, RTLONG, RTREAL, RTSTR, RTNIL, RTT, RTENAME}));
    EXPECT_EQ(nth(g_argsCopy, 1)->resval.rint, -32768);
    EXPECT_EQ(nth(g_argsCopy, 2)->resval.rlong, 70000);
    EXPECT_DOUBLE_EQ(nth(g_argsCopy, 3)->resval.rreal, 2.5);
    EXPECT_STREQ(nth(g_argsCopy, 4)->resval.rstring, L"s");
    EXPECT_EQ(nth(g_argsCopy, 7)->resval.rlname[0], 0x2a);

    // Lists of two or three numbers are points; other lists come between RTLB and RTLE, with
    // RTDOTE before a dotted end.
    evalPrinted(L"(lt_args '(1 2.5) '(1 2 3) '(1 2 3 4) '(1 . \"a\") '((4 5) x) nil)");
    EXPECT_EQ(argTypes(), (std::vector<int>{RTPOINT, RT3DPOINT, RTLB, RTSHORT, RTSHORT, RTSHORT,
                                            RTSHORT, RTLE, RTLB, RTSHORT, RTDOTE, RTSTR, RTLE, RTLB,
                                            RTPOINT, RTSTR, RTLE, RTNIL}));
    const resbuf* p2 = nth(g_argsCopy, 0);
    EXPECT_DOUBLE_EQ(p2->resval.rpoint[0], 1.0);
    EXPECT_DOUBLE_EQ(p2->resval.rpoint[1], 2.5);
    EXPECT_DOUBLE_EQ(p2->resval.rpoint[2], 0.0);
    EXPECT_DOUBLE_EQ(nth(g_argsCopy, 1)->resval.rpoint[2], 3.0);
    EXPECT_STREQ(nth(g_argsCopy, 15)->resval.rstring, L"X");

    // No arguments: a null chain.
    evalPrinted(L"(lt_args)");
    EXPECT_EQ(g_argsCopy, nullptr);
    // The chain stays the same for the whole call and belongs to the host.
    g_onCall = [] { EXPECT_EQ(acedGetArgs(), acedGetArgs()); };
    evalPrinted(L"(lt_args \"x\")");
    EXPECT_EQ(g_invokeCount, 4);
}

TEST_F(AcedLisp, EachReturnKindArrivesAsTheRightValue) {
    auto returning = [](std::function<void()> f) {
        g_onCall = std::move(f);
        return evalPrinted(L"(lt_ret)");
    };
    EXPECT_EQ(returning([] { EXPECT_EQ(acedRetInt(-5), RTNORM); }), L"-5");
    EXPECT_EQ(returning([] { acedRetInt(100000); }), L"100000");
    EXPECT_EQ(returning([] { acedRetReal(2.0); }), L"2.0");
    EXPECT_EQ(returning([] { acedRetStr(L"Příliš \"x\""); }), L"\"Příliš \\\"x\\\"\"");
    EXPECT_EQ(returning([] { acedRetNil(); }), L"nil");
    EXPECT_EQ(returning([] { acedRetT(); }), L"T");
    ads_point pt = {1.0, 2.5, -3.0};
    EXPECT_EQ(returning([&] { acedRetPoint(pt); }), L"(1.0 2.5 -3.0)");
    ads_name name = {0x1f, 0};
    EXPECT_EQ(returning([&] { acedRetName(name, RTENAME); }), L"<Entity name: 1f>");
    EXPECT_EQ(returning([&] { acedRetName(name, RTPICKS); }), L"<Selection set: 1f>");
    EXPECT_EQ(returning([&] { EXPECT_EQ(acedRetName(name, RTSTR), RTERROR); }), L"nil");
    EXPECT_EQ(returning([] {
                  resbuf rb{};
                  rb.restype = RTSHORT;
                  rb.resval.rint = 12;
                  acedRetVal(&rb);
              }),
              L"12");
    // The last value returned counts; nothing returned gives nil.
    EXPECT_EQ(returning([] {
                  acedRetInt(1);
                  acedRetStr(L"second");
              }),
              L"\"second\"");
    EXPECT_EQ(returning([] {}), L"nil");
    // acedRetVoid: a value the command line does not echo.
    g_onCall = [] { acedRetVoid(); };
    EXPECT_EQ(runLisp(L"(lt_ret)").out, L"");
    // The application's own failure gives nil.
    g_callResult = AcRx::kRetError;
    EXPECT_EQ(returning([] { acedRetInt(3); }), L"nil");
}

TEST_F(AcedLisp, ListsReturnedWithRetList) {
    auto returningList = [](resbuf* chain, int expectRc = RTNORM) {
        g_onCall = [chain, expectRc] { EXPECT_EQ(acedRetList(chain), expectRc); };
        std::wstring v = evalPrinted(L"(lt_ret)");
        acutRelRb(chain);
        return v;
    };
    ads_point p = {1, 2, 3};
    EXPECT_EQ(returningList(acutBuildList(RTLB, RTSHORT, 1, RTSHORT, 2, RTLE, RTSTR, L"a",
                                          RT3DPOINT, p, RTT, RTNIL, 0)),
              L"((1 2) \"a\" (1.0 2.0 3.0) T nil)");
    // A chain that is one group is that list, not a list around it.
    EXPECT_EQ(
        returningList(acutBuildList(RTLB, RTSTR, L"Sample", RTDOTE, RTSTR, L"Strings", RTLE, 0)),
        L"(\"Sample\" . \"Strings\")");
    EXPECT_EQ(returningList(acutBuildList(RTLB, RTLB, RTSHORT, 1, RTLE, RTLE, 0)), L"((1))");
    EXPECT_EQ(returningList(acutBuildList(RTSHORT, 7, 0)), L"(7)");
    EXPECT_EQ(returningList(acutBuildList(RTLB, RTSHORT, 1, RTLE, RTLB, RTSHORT, 2, RTLE, 0)),
              L"((1) (2))");
    // Malformed chains are refused.
    EXPECT_EQ(returningList(acutBuildList(RTSHORT, 1, RTLE, 0), RTERROR), L"nil");
    EXPECT_EQ(returningList(acutBuildList(RTLB, RTSHORT, 1, 0), RTERROR), L"nil");
    EXPECT_EQ(returningList(acutBuildList(RTLB, RTDOTE, RTSHORT, 1, RTLE, 0), RTERROR), L"nil");
    // What arrives as arguments goes back unchanged.
    g_onCall = [] { acedRetList(acedGetArgs()); };
    EXPECT_EQ(evalPrinted(L"(lt_echo '(1 (2 . \"x\") (\"a\" (b)) 70000 -1.5))"),
              L"(1 (2 . \"x\") (\"a\" (\"B\")) 70000 -1.5)");
    EXPECT_EQ(evalPrinted(L"(lt_echo 1 \"two\" '(3 4))"), L"(1 \"two\" (3.0 4.0))");
}

TEST_F(AcedLisp, RegisteredHandlersAreCalledDirectly) {
    g_direct = 0;
    EXPECT_EQ(evalPrinted(L"(lt_direct 1 2)"), L"\"direct\"");
    EXPECT_EQ(g_direct, 1);
    EXPECT_EQ(g_invokeCount, 0);
    // A handler that reports an error gives nil, whatever it returned before.
    EXPECT_EQ(evalPrinted(L"(lt_fail)"), L"nil");
}

TEST_F(AcedLisp, UndefRemovesTheFunction) {
    g_onCall = [] { acedRetT(); };
    EXPECT_EQ(evalPrinted(L"(lt_ret)"), L"T");
    int rc = RTNORM;
    g_onLoad = [&rc] {
        rc = acedUndef(L"lt_ret", 9); // not its code
    };
    sendAppMessage(m_app, AcRx::kLoadDwgMsg);
    EXPECT_EQ(rc, RTERROR);
    EXPECT_EQ(evalPrinted(L"(lt_ret)"), L"T");
    g_onLoad = [&rc] { rc = acedUndef(L"LT_RET", 1); };
    sendAppMessage(m_app, AcRx::kLoadDwgMsg);
    EXPECT_EQ(rc, RTNORM);
    LispRun r = runLisp(L"(lt_ret)");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.out, L"; error: no function definition: LT_RET");
    EXPECT_EQ(acedUndef(L"lt_ret", 1), RTERROR);
    // A user's function of that name is not the application's to remove.
    evalPrinted(L"(defun lt_user () 1)");
    EXPECT_EQ(acedUndef(L"lt_user", 0), RTERROR);
}

TEST_F(AcedLisp, FunctionsOfAnUnloadedApplicationAreGone) {
    static int other = -1;
    if (other < 0)
        other = registerApp({L"other.so",
                             [](AcRx::AppMsgCode msg, void*) {
                                 if (msg == AcRx::kLoadDwgMsg)
                                     acedDefun(L"lt_other", 0);
                                 if (msg == AcRx::kInvkSubrMsg)
                                     acedRetInt(acedGetFunCode() + 40);
                                 return AcRx::kRetOK;
                             },
                             nullptr});
    sendAppMessage(other, AcRx::kLoadDwgMsg);
    EXPECT_EQ(evalPrinted(L"(lt_other)"), L"40");
    unregisterApp(other);
    EXPECT_EQ(errorOf(L"(lt_other)"), L"no function definition: LT_OTHER");
}

TEST_F(AcedLisp, CallsNestWhenAHandlerEvaluatesLisp) {
    g_onCall = [] {
        if (acedGetFunCode() == 2) {
            // The inner call has its own code, arguments and result.
            LispValue inner = lispEvaluate(L"(lt_ret 5)");
            EXPECT_EQ(acedGetFunCode(), 2);
            EXPECT_EQ(acedGetArgs()->resval.rint, 1);
            acedRetInt(inner.asInt() + 1);
        } else {
            acedRetInt(acedGetArgs()->resval.rint * 10);
        }
    };
    EXPECT_EQ(evalPrinted(L"(lt_echo 1)"), L"51");
}

TEST_F(AcedLisp, SymbolsReadAndWrittenByApplications) {
    ads_point p = {1, 2, 0};
    resbuf* rb = acutBuildList(RTLB, RTSHORT, -1, RTSTR, L"text", RTPOINT, p, RTLB, RTREAL, 0.5,
                               RTDOTE, RTSTR, L"b", RTLE, RTLE, 0);
    ASSERT_EQ(acedPutSym(L"lt_sym", rb), RTNORM);
    acutRelRb(rb);
    EXPECT_EQ(evalPrinted(L"lt_sym"), L"(-1 \"text\" (1.0 2.0) (0.5 . \"b\"))");
    rb = acutBuildList(RTSTR, L"GREETINGS", 0);
    ASSERT_EQ(acedPutSym(L"lt_str", rb), RTNORM);
    acutRelRb(rb);
    EXPECT_EQ(evalPrinted(L"lt_str"), L"\"GREETINGS\"");

    evalPrinted(L"(setq lt_a '(1 (2 . 3)) lt_b 2.5)");
    resbuf* out = nullptr;
    ASSERT_EQ(acedGetSym(L"lt_a", &out), RTNORM);
    std::vector<int> types;
    for (resbuf* r = out; r; r = r->rbnext)
        types.push_back(r->restype);
    EXPECT_EQ(types, (std::vector<int>{RTLB, RTSHORT, RTLB, RTSHORT, RTDOTE, RTSHORT, RTLE, RTLE}));
    acutRelRb(out);
    ASSERT_EQ(acedGetSym(L"LT_B", &out), RTNORM);
    EXPECT_EQ(out->restype, RTREAL);
    acutRelRb(out);
    ASSERT_EQ(acedGetSym(L"lt_unset", &out), RTNORM);
    EXPECT_EQ(out->restype, RTNIL);
    acutRelRb(out);
}

TEST(LispEntityLists, DxfGroupChainsAndBack) {
    ads_name en = {0x2a, 0};
    ads_point p = {1, 2, 3};
    resbuf* chain =
        acutBuildList(-1, en, RTDXF0, L"LINE", 8, L"Walls", 10, p, 40, 2.5, 70, 3, 90, 70000, -3,
                      1001, L"APP", 1000, L"x", 1040, 0.5, 1001, L"B", 1070, 7, 0);
    LispValue list = lispFromEntityChain(chain);
    acutRelRb(chain);
    EXPECT_EQ(lispPrin1(list), L"((-1 . <Entity name: 2a>) (0 . \"LINE\") (8 . \"Walls\") "
                               L"(10 1.0 2.0 3.0) (40 . 2.5) (70 . 3) (90 . 70000) "
                               L"(-3 (\"APP\" (1000 . \"x\") (1040 . 0.5)) (\"B\" (1070 . 7))))");
    resbuf* back = lispToEntityChain(list);
    std::vector<int> codes;
    for (resbuf* rb = back; rb; rb = rb->rbnext)
        codes.push_back(rb->restype);
    EXPECT_EQ(codes,
              (std::vector<int>{-1, 0, 8, 10, 40, 70, 90, -3, 1001, 1000, 1040, 1001, 1070}));
    EXPECT_STREQ(nth(back, 2)->resval.rstring, L"Walls");
    EXPECT_DOUBLE_EQ(nth(back, 3)->resval.rpoint[2], 3.0);
    EXPECT_EQ(nth(back, 6)->resval.rlong, 70000);
    EXPECT_EQ(nth(back, 0)->resval.rlname[0], 0x2a);
    acutRelRb(back);
    // A 2D point gets Z 0; a group whose value does not fit its code is refused.
    back = lispToEntityChain(lispEvaluate(L"'((10 4 5) (62 . 1))"));
    EXPECT_DOUBLE_EQ(back->resval.rpoint[0], 4.0);
    EXPECT_DOUBLE_EQ(back->resval.rpoint[2], 0.0);
    EXPECT_EQ(back->rbnext->resval.rint, 1);
    acutRelRb(back);
    try {
        resbuf* bad = lispToEntityChain(lispEvaluate(L"'((0 . \"LINE\") (10 . \"x\"))"));
        acutRelRb(bad);
        ADD_FAILURE() << "no error";
    } catch (const LispError& e) {
        EXPECT_EQ(e.message(), L"bad DXF group: (10 . \"x\")");
    }
}
