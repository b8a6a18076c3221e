// The evaluator in the editor: symbols per document, application functions defined per
// document, system variables, the report of objects left open and the command line.
#include "acedlisp.h"
#include "lisptest.h"

#include "acdocman.h"
#include "dbapserv.h"
#include "dbhost.h"
#include "dbmain.h"
#include "dbsymtb.h"
#include "edhost.h"

using namespace khost;

namespace {

class LispDocs : public LispTest {
protected:
    void SetUp() override {
        closeAll();
        resetEditorState();
        hostInput().clear();
        hostInput().setEcho(true);
        LispTest::SetUp();
    }
    void TearDown() override {
        LispTest::TearDown();
        closeAll();
        hostInput().clear();
    }
    static AcApDocument* open(const wchar_t* path) {
        return openDocument(new AcDbDatabase(), path);
    }
    // A closed document's symbols are forgotten (the key is the document).
    static void close(AcApDocument* doc) {
        closeDocument(doc);
        lispForgetDocument(doc);
    }
    static void closeAll() {
        for (AcApDocument* doc : documents())
            close(doc);
    }
};

int g_undefRc = 0;

AcRx::AppRetCode docApp(AcRx::AppMsgCode msg, void*) {
    switch (msg) {
    case AcRx::kLoadDwgMsg:
        acedDefun(L"lt_doc", 0);
        acedDefun(L"lt_leak", 1);
        break;
    case AcRx::kUnloadDwgMsg:
        g_undefRc = acedUndef(L"lt_doc", 0);
        break;
    case AcRx::kInvkSubrMsg:
        if (acedGetFunCode() == 0) {
            acedRetStr(curDoc()->docTitle());
        } else {
            // Opens the layer table and forgets to close it.
            AcDbLayerTable* table = nullptr;
            acdbHostApplicationServices()->workingDatabase()->getSymbolTable(table, AcDb::kForRead);
            acedRetT();
        }
        break;
    default:
        break;
    }
    return AcRx::kRetOK;
}

} // namespace

TEST_F(LispDocs, GlobalsAndFunctionsAreKeptPerDocument) {
    AcApDocument* one = open(L"/tmp/one.dwg");
    evalPrinted(L"(setq v 1) (defun who () \"one\")");
    AcApDocument* two = open(L"/tmp/two.dwg");
    EXPECT_EQ(evalPrinted(L"v"), L"nil");
    EXPECT_EQ(errorOf(L"(who)"), L"no function definition: WHO");
    evalPrinted(L"(setq v 2)");
    activateDocument(one);
    EXPECT_EQ(evalPrinted(L"(list v (who))"), L"(1 \"one\")");
    activateDocument(two);
    EXPECT_EQ(evalPrinted(L"v"), L"2");
    // Built-ins are shared by all documents.
    EXPECT_EQ(evalPrinted(L"(strcat \"a\" \"b\")"), L"\"ab\"");
    lispForgetDocument(currentDocumentKey());
    EXPECT_EQ(evalPrinted(L"v"), L"nil");
    activateDocument(one);
    EXPECT_EQ(evalPrinted(L"v"), L"1");
}

TEST_F(LispDocs, ApplicationFunctionsAreDefinedInEachDocument) {
    AcApDocument* one = open(L"/tmp/one.dwg");
    int app = loadApplication({L"docapp.so", docApp, nullptr});
    ASSERT_GE(app, 0);
    AcApDocument* two = open(L"/tmp/two.dwg");
    EXPECT_EQ(evalPrinted(L"(lt_doc)"), L"\"two.dwg\"");
    activateDocument(one);
    EXPECT_EQ(evalPrinted(L"(lt_doc)"), L"\"one.dwg\"");
    // Closing a document removes its definitions there only.
    g_undefRc = 0;
    close(two);
    EXPECT_EQ(g_undefRc, RTNORM);
    EXPECT_EQ(evalPrinted(L"(lt_doc)"), L"\"one.dwg\"");
    ASSERT_TRUE(unloadApplication(app, true));
    EXPECT_EQ(errorOf(L"(lt_doc)"), L"no function definition: LT_DOC");
}

TEST_F(LispDocs, ObjectsLeftOpenByAnApplicationFunctionAreReported) {
    open(L"/tmp/leak.dwg");
    int app = loadApplication({L"docapp.so", docApp, nullptr});
    ASSERT_GE(app, 0);
    LispRun r = runLisp(L"(lt_leak)");
    EXPECT_TRUE(r.ok);
    EXPECT_NE(r.out.find(L"** (LT_LEAK): object left open: AcDbLayerTable"), std::wstring::npos)
        << toUtf8(r.out);
    EXPECT_EQ(openObjectCount(), 0);
    resetOpenCheckFailures();
    unloadApplication(app, true);
}

TEST_F(LispDocs, SystemVariablesThroughGetvarAndSetvar) {
    EXPECT_EQ(evalPrinted(L"(getvar \"cmdecho\")"), L"1");
    EXPECT_EQ(evalPrinted(L"(setvar \"CMDECHO\" 0)"), L"0");
    EXPECT_EQ(evalPrinted(L"(getvar 'cmdecho)"), L"0");
    EXPECT_EQ(errorOf(L"(setvar \"cmdecho\" 7)"),
              L"AutoCAD variable setting rejected: \"cmdecho\" 7");
    EXPECT_EQ(errorOf(L"(setvar \"nosuchvariable\" 1)"),
              L"AutoCAD variable setting rejected: \"nosuchvariable\" 1");
    EXPECT_EQ(evalPrinted(L"(getvar \"nosuchvariable\")"), L"nil");
    open(L"/tmp/vars.dwg");
    EXPECT_EQ(evalPrinted(L"(getvar \"clayer\")"), L"\"0\"");
    EXPECT_EQ(evalPrinted(L"(getvar \"dwgname\")"), L"\"vars.dwg\"");
    EXPECT_EQ(evalPrinted(L"(setvar \"lastpoint\" '(1 2 3))"), L"(1.0 2.0 3.0)");
    EXPECT_EQ(errorOf(L"(setvar \"clayer\" 5)"),
              L"AutoCAD variable setting rejected: \"clayer\" 5");
    EXPECT_EQ(errorOf(L"(getvar 5)"), L"bad argument type: stringp 5");
}

TEST_F(LispDocs, CommandLineEvaluatesExpressionsAndEchoesTheirValues) {
    open(L"/tmp/cmd.dwg");
    hostTranscript().startCapture();
    hostInput().push(L"(setq a (+ 2 3))\n(car 1)\n!a\n(princ)\n");
    while (commandLineStep()) {
    }
    std::wstring out = hostTranscript().takeCaptured();
    hostTranscript().stopCapture();
    EXPECT_EQ(out, L"\nCommand: (setq a (+ 2 3))\n5"
                   L"\nCommand: (car 1)\n; error: bad argument type: consp 1"
                   L"\nCommand: !a\n5"
                   L"\nCommand: (princ)\n"
                   L"\nCommand: \n");
}
