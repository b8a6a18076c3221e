#include "acdocman.h"
#include "acedads.h"
#include "acrxEntryPoint.h"
#include "dbapserv.h"
#include "edtest.h"

#include <cstdlib>
#include <vector>

namespace {

struct Received {
    AcRx::AppMsgCode msg;
    const void* doc;       // the current document while the message was handled
    AcDbDatabase* working; // the working database then
    void* pkt;
};
std::vector<Received> g_received;

AcRx::AppRetCode recordingEntry(AcRx::AppMsgCode msg, void* pkt) {
    g_received.push_back(
        {msg, khost::currentDocumentKey(), acdbHostApplicationServices()->workingDatabase(), pkt});
    return AcRx::kRetOK;
}

AcDbDatabase* working() {
    return acdbHostApplicationServices()->workingDatabase();
}

std::wstring stringVar(const wchar_t* name) {
    resbuf rb{};
    if (acedGetVar(name, &rb) != RTNORM || rb.restype != RTSTR)
        return L"<none>";
    std::wstring s = rb.resval.rstring;
    free(rb.resval.rstring);
    return s;
}

using DocumentTest = EditorTest;

TEST_F(DocumentTest, OpeningSwitchingAndClosingTellTheApplications) {
    g_received.clear();
    int app = khost::loadApplication({L"recorder.so", recordingEntry, nullptr});
    ASSERT_GE(app, 0);
    void* appId = khost::appIdOf(app);
    ASSERT_EQ(g_received.size(), 1u); // no document open yet: kInitAppMsg only
    EXPECT_EQ(g_received[0].msg, AcRx::kInitAppMsg);
    EXPECT_EQ(g_received[0].pkt, appId);

    auto* db1 = new AcDbDatabase();
    AcApDocument* one = khost::openDocument(db1, L"/work/plans/one.dwg");
    EXPECT_EQ(working(), db1);
    EXPECT_EQ(acDocManager->curDocument(), one);
    ASSERT_EQ(g_received.size(), 2u);
    EXPECT_EQ(g_received[1].msg, AcRx::kLoadDwgMsg);
    EXPECT_EQ(g_received[1].doc, one);
    EXPECT_EQ(g_received[1].working, db1);
    EXPECT_STREQ(one->docTitle(), L"one.dwg");
    EXPECT_EQ(stringVar(L"DWGNAME"), L"one.dwg");
    EXPECT_EQ(stringVar(L"dwgprefix"), L"/work/plans/");

    auto* db2 = new AcDbDatabase();
    AcApDocument* two = khost::openDocument(db2, L"");
    EXPECT_EQ(working(), db2);
    EXPECT_EQ(acDocManager->documentCount(), 2);
    EXPECT_EQ(g_received.back().doc, two);
    EXPECT_EQ(std::wstring(two->docTitle()).substr(0, 7), L"Drawing");
    EXPECT_EQ(acDocManager->document(db1), one);

    // Each document keeps its own last point.
    khost::hostInput().push(L"5,5\n");
    ads_point p;
    ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNORM);
    khost::activateDocument(one);
    EXPECT_EQ(working(), db1);
    resbuf rb{};
    ASSERT_EQ(acedGetVar(L"LASTPOINT", &rb), RTNORM);
    EXPECT_DOUBLE_EQ(rb.resval.rpoint[X], 0);

    // Closing a document that is not current: the application hears of it with that document
    // current, and the document that was current stays so.
    size_t before = g_received.size();
    khost::closeDocument(two);
    ASSERT_EQ(g_received.size(), before + 1);
    EXPECT_EQ(g_received.back().msg, AcRx::kUnloadDwgMsg);
    EXPECT_EQ(g_received.back().doc, two);
    EXPECT_EQ(g_received.back().working, db2);
    EXPECT_EQ(acDocManager->curDocument(), one);
    EXPECT_EQ(working(), db1);

    // A second application loaded now gets kLoadDwgMsg for the open document.
    g_received.clear();
    int second = khost::loadApplication({L"second.so", recordingEntry, nullptr});
    ASSERT_EQ(g_received.size(), 2u);
    EXPECT_EQ(g_received[1].msg, AcRx::kLoadDwgMsg);
    EXPECT_EQ(g_received[1].doc, one);

    khost::closeDocument(one);
    EXPECT_EQ(acDocManager->curDocument(), nullptr);
    EXPECT_EQ(working(), nullptr);
    EXPECT_EQ(acDocManager->documentCount(), 0);

    // These applications never unlocked themselves.
    EXPECT_FALSE(khost::unloadApplication(app));
    EXPECT_TRUE(acrxApplicationIsLocked(L"recorder.so"));
    g_received.clear();
    EXPECT_TRUE(khost::unloadApplication(app, true));
    EXPECT_TRUE(khost::unloadApplication(second, true));
    ASSERT_EQ(g_received.size(), 2u);
    EXPECT_EQ(g_received[0].msg, AcRx::kUnloadAppMsg);
}

// An application written with the framework classes.
class FrameworkApp : public AcRxArxApp {
public:
    AcRx::AppRetCode On_kInitAppMsg(void* pkt) override {
        AcRx::AppRetCode rc = AcRxArxApp::On_kInitAppMsg(pkt);
        acedRegCmds->addCommand(L"FWAPP", L"HELLO", L"AHOJ", ACRX_CMD_MODAL, &hello);
        return rc;
    }
    AcRx::AppRetCode On_kUnloadAppMsg(void* pkt) override {
        acedRegCmds->removeGroup(L"FWAPP");
        return AcRxArxApp::On_kUnloadAppMsg(pkt);
    }
    AcRx::AppRetCode On_kLoadDwgMsg(void*) override {
        ++loadDwg;
        return AcRx::kRetOK;
    }
    AcRx::AppRetCode On_kUnloadDwgMsg(void*) override {
        ++unloadDwg;
        return AcRx::kRetOK;
    }
    static void hello() { ++hellos; }
    static void FWAUTOAutoCmd() { ++autos; }
    int loadDwg = 0;
    int unloadDwg = 0;
    static inline int hellos = 0;
    static inline int autos = 0;
};

ACED_ARXCOMMAND_ENTRY_AUTO(FrameworkApp, FWAUTO, AutoCmd, AutoLocal, ACRX_CMD_MODAL, nullptr)

FrameworkApp g_app;
AcRx::AppRetCode frameworkEntry(AcRx::AppMsgCode msg, void* pkt) {
    return g_app.acrxEntryPoint(msg, pkt);
}

TEST_F(DocumentTest, FrameworkApplicationUnlocksRegistersAndReceivesItsMessages) {
    AcApDocument* doc = khost::openDocument(new AcDbDatabase(), L"/tmp/fw.dwg");
    int app = khost::loadApplication({L"fwapp.so", frameworkEntry, nullptr});
    ASSERT_GE(app, 0);
    EXPECT_EQ(g_app.GetAppId(), khost::appIdOf(app));
    EXPECT_EQ(khost::appIndexOf(g_app.GetAppId()), app);
    EXPECT_TRUE(khost::isAppUnlocked(app));
    EXPECT_TRUE(khost::isAppMDIAware(app));
    EXPECT_FALSE(acrxDynamicLinker->isApplicationLocked(L"FWAPP.SO"));
    EXPECT_EQ(g_app.loadDwg, 1);

    AcEdCommand* cmd = acedRegCmds->lookupLocalCmd(L"ahoj");
    ASSERT_NE(cmd, nullptr);
    EXPECT_EQ(cmd->commandApp(), g_app.GetAppId());
    ASSERT_TRUE(khost::executeCommand(L"_hello"));
    EXPECT_EQ(FrameworkApp::hellos, 1);
    ASSERT_TRUE(khost::executeCommand(L"AutoLocal"));
    EXPECT_EQ(FrameworkApp::autos, 1);

    acrxLockApplication(g_app.GetAppId());
    EXPECT_FALSE(khost::unloadApplication(app));
    acrxUnlockApplication(g_app.GetAppId());

    khost::closeDocument(doc);
    EXPECT_EQ(g_app.unloadDwg, 1);
    ASSERT_TRUE(khost::unloadApplication(app));
    EXPECT_EQ(acedRegCmds->lookupGlobalCmd(L"HELLO"), nullptr);
    EXPECT_EQ(acedRegCmds->lookupGlobalCmd(L"AutoCmd"), nullptr);
}

} // namespace
