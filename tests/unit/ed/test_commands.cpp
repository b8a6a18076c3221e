#include "accmd.h"
#include "acedads.h"
#include "edtest.h"
#include "lispapi.h"

#include <stdexcept>
#include <vector>

// The AutoLISP evaluator is replaced here so that the tests see the text the command line
// hands over.
static std::vector<std::wstring> g_lispTexts;
bool khost::lispEvalText(const std::wstring& text) {
    g_lispTexts.push_back(text);
    return true;
}

namespace {

std::wstring squeezed(const std::wstring& s) {
    std::wstring out;
    for (wchar_t c : s)
        if (!(c == L' ' && !out.empty() && out.back() == L' '))
            out.push_back(c);
    return out;
}

int g_firstRuns = 0;
int g_secondRuns = 0;
short g_cmdActive = 0;
std::wstring g_cmdNames;

void firstCmd() {
    ++g_firstRuns;
}
void secondCmd() {
    ++g_secondRuns;
}
void failingCmd() {
    throw std::runtime_error("broken pipe network");
}
void probingCmd() {
    resbuf rb{};
    acedGetVar(L"CMDACTIVE", &rb);
    g_cmdActive = rb.resval.rint;
    acedGetVar(L"cmdnames", &rb);
    g_cmdNames = rb.resval.rstring;
    free(rb.resval.rstring);
}

class CommandTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        g_firstRuns = g_secondRuns = 0;
        g_lispTexts.clear();
    }
    void TearDown() override {
        acedRegCmds->removeGroup(L"TESTA");
        acedRegCmds->removeGroup(L"TESTB");
        EditorTest::TearDown();
    }
};

TEST_F(CommandTest, AddCommandRefusesDuplicatesAndBadNames) {
    AcEdCommandStack* stack = acedRegCmds;
    ASSERT_NE(stack, nullptr);
    AcEdCommand* cmd = nullptr;
    ASSERT_EQ(stack->addCommand(L"TESTA", L"PIPE", L"POTRUBI", ACRX_CMD_MODAL, firstCmd, nullptr,
                                -1, AcRxResourceInstance::empty(), &cmd),
              Acad::eOk);
    ASSERT_NE(cmd, nullptr);
    EXPECT_STREQ(cmd->localName(), L"POTRUBI");
    EXPECT_EQ(cmd->commandApp(), nullptr); // not registered by an application
    EXPECT_EQ(stack->addCommand(L"TESTA", L"pipe", L"OTHER", 0, secondCmd), Acad::eDuplicateKey);
    EXPECT_EQ(stack->addCommand(L"TESTA", L"OTHER", L"potrubi", 0, secondCmd), Acad::eDuplicateKey);
    EXPECT_EQ(stack->addCommand(L"TESTA", L"TWO WORDS", L"X", 0, secondCmd), Acad::eInvalidInput);
    EXPECT_EQ(stack->addCommand(L"TESTA", L"", L"X", 0, secondCmd), Acad::eInvalidInput);
    EXPECT_EQ(stack->addCommand(L"TESTA", L"NOFN", L"NOFN", 0, nullptr), Acad::eInvalidInput);
    // The same name in another group is allowed.
    EXPECT_EQ(stack->addCommand(L"TESTB", L"PIPE", L"PIPE", 0, secondCmd), Acad::eOk);
    EXPECT_EQ(acrxSysRegistry()->at(ACRX_COMMAND_DOCK), stack);
}

TEST_F(CommandTest, LookupAndTypedNamesLocalGlobalUnderscoreDot) {
    AcEdCommandStack* stack = acedRegCmds;
    ASSERT_EQ(stack->addCommand(L"TESTA", L"PIPE", L"POTRUBI", 0, firstCmd), Acad::eOk);
    EXPECT_EQ(stack->lookupGlobalCmd(L"pipe"), stack->lookupLocalCmd(L"Potrubi"));
    EXPECT_EQ(stack->lookupLocalCmd(L"PIPE"), nullptr);

    EXPECT_TRUE(khost::executeCommand(L"potrubi"));
    EXPECT_TRUE(khost::executeCommand(L"_pipe"));
    EXPECT_TRUE(khost::executeCommand(L"._PIPE"));
    EXPECT_TRUE(khost::executeCommand(L"_.pipe"));
    EXPECT_EQ(g_firstRuns, 4);
    // The global name needs its underscore, the local one must not have it.
    EXPECT_FALSE(khost::executeCommand(L"pipe"));
    EXPECT_FALSE(khost::executeCommand(L"_potrubi"));
    EXPECT_EQ(g_firstRuns, 4);
    EXPECT_NE(transcript().find(L"Unknown command \"_POTRUBI\".  Press F1 for help.\n"),
              std::wstring::npos);

    // Two groups with the same name: the group popped to the top wins.
    ASSERT_EQ(stack->addCommand(L"TESTB", L"PIPE", L"POTRUBI", 0, secondCmd), Acad::eOk);
    EXPECT_TRUE(khost::executeCommand(L"_PIPE"));
    EXPECT_EQ(g_firstRuns, 5);
    ASSERT_EQ(stack->popGroupToTop(L"testb"), Acad::eOk);
    EXPECT_TRUE(khost::executeCommand(L"_PIPE"));
    EXPECT_EQ(g_secondRuns, 1);
}

TEST_F(CommandTest, RemoveCommandAndGroup) {
    AcEdCommandStack* stack = acedRegCmds;
    ASSERT_EQ(stack->addCommand(L"TESTA", L"ONE", L"ONE", 0, firstCmd), Acad::eOk);
    ASSERT_EQ(stack->addCommand(L"TESTA", L"TWO", L"TWO", 0, firstCmd), Acad::eOk);
    ASSERT_EQ(stack->addCommand(L"TESTB", L"THREE", L"THREE", 0, secondCmd), Acad::eOk);
    EXPECT_EQ(stack->removeCmd(L"TESTA", L"one"), Acad::eOk);
    EXPECT_EQ(stack->removeCmd(L"TESTA", L"ONE"), Acad::eKeyNotFound);
    EXPECT_EQ(stack->lookupGlobalCmd(L"ONE"), nullptr);
    EXPECT_NE(stack->lookupGlobalCmd(L"TWO"), nullptr);
    EXPECT_EQ(stack->removeGroup(L"TESTA"), Acad::eOk);
    EXPECT_EQ(stack->removeGroup(L"TESTA"), Acad::eKeyNotFound);
    EXPECT_EQ(stack->lookupGlobalCmd(L"TWO"), nullptr);
    EXPECT_NE(stack->lookupGlobalCmd(L"THREE"), nullptr);
    int seen = 0;
    AcEdCommandIterator* it = stack->iterator();
    for (; !it->done(); it->next())
        if (std::wstring(it->commandGroup()) == L"TESTB")
            ++seen;
    delete it;
    EXPECT_EQ(seen, 1);
}

TEST_F(CommandTest, CommandLineGoesOnAfterUnknownInputAndExceptions) {
    AcEdCommandStack* stack = acedRegCmds;
    ASSERT_EQ(stack->addCommand(L"TESTA", L"FAIL", L"FAIL", 0, failingCmd), Acad::eOk);
    ASSERT_EQ(stack->addCommand(L"TESTA", L"ONE", L"ONE", 0, firstCmd), Acad::eOk);
    type(L"xyz\n_fail\n\none\n");
    khost::runCommandLoop();
    EXPECT_EQ(g_firstRuns, 1);
    std::wstring t = transcript();
    EXPECT_NE(t.find(L"Unknown command \"XYZ\".  Press F1 for help.\n"), std::wstring::npos);
    EXPECT_NE(t.find(L"\n** Unhandled exception in command FAIL: broken pipe network\n"),
              std::wstring::npos);
    EXPECT_EQ(count(t, L"\nCommand: "), 5);
    EXPECT_EQ(khost::activeCommandName(), L"");
}

TEST_F(CommandTest, CommandSeesItselfActive) {
    ASSERT_EQ(acedRegCmds->addCommand(L"TESTA", L"PROBE", L"PROBE", 0, probingCmd), Acad::eOk);
    ASSERT_TRUE(khost::executeCommand(L"probe"));
    EXPECT_EQ(g_cmdActive & 1, 1);
    EXPECT_EQ(g_cmdNames, L"PROBE");
    resbuf rb{};
    ASSERT_EQ(acedGetVar(L"CMDACTIVE", &rb), RTNORM);
    EXPECT_EQ(rb.resval.rint & 1, 0);
}

TEST_F(CommandTest, PickfirstSurvivesOnlyCommandsThatUseIt) {
    AcEdCommandStack* stack = acedRegCmds;
    ASSERT_EQ(stack->addCommand(L"TESTA", L"USES", L"USES", ACRX_CMD_USEPICKSET, firstCmd),
              Acad::eOk);
    ASSERT_EQ(stack->addCommand(L"TESTA", L"PLAIN", L"PLAIN", 0, firstCmd), Acad::eOk);
    khost::currentSession().pickfirst.assign(2, AcDbObjectId());
    ASSERT_TRUE(khost::executeCommand(L"USES"));
    EXPECT_EQ(khost::currentSession().pickfirst.size(), 2u);
    ASSERT_TRUE(khost::executeCommand(L"PLAIN"));
    EXPECT_TRUE(khost::currentSession().pickfirst.empty());
}

TEST_F(CommandTest, AutoLispIsReadUntilItsParenthesesBalance) {
    ASSERT_EQ(acedRegCmds->addCommand(L"TESTA", L"ONE", L"ONE", 0, firstCmd), Acad::eOk);
    type(L"(setq s \"a  (b\")\n(defun f (x)\n  (princ x) ; shows x\n  (+ x 1))\n(princ) one\n!s\n");
    khost::runCommandLoop();
    ASSERT_EQ(g_lispTexts.size(), 4u);
    EXPECT_EQ(g_lispTexts[0], L"(setq s \"a  (b\")");
    EXPECT_EQ(squeezed(g_lispTexts[1]), L"(defun f (x) (princ x) (+ x 1))");
    EXPECT_EQ(g_lispTexts[2], L"(princ)");
    EXPECT_EQ(g_lispTexts[3], L"s");
    // What follows a balanced expression on its line is read at the next prompt.
    EXPECT_EQ(g_firstRuns, 1);
    EXPECT_NE(transcript().find(L"\nCommand: (setq s \"a  (b\")\n"), std::wstring::npos);
}

TEST_F(CommandTest, OneWordCommentAtTheEndOfALineDoesNotSwallowTheNext) {
    type(L"(setq a ;c\n 5)\n");
    khost::runCommandLoop();
    ASSERT_EQ(g_lispTexts.size(), 1u);
    EXPECT_EQ(squeezed(g_lispTexts[0]), L"(setq a 5)");
}

} // namespace
