// The application framework: an application object receives the host's messages through
// acrxEntryPoint and handles each in its own virtual function.
//
//   class CMyApp : public AcRxArxApp {
//       AcRx::AppRetCode On_kInitAppMsg(void* pkt) override {
//           AcRx::AppRetCode rc = AcRxArxApp::On_kInitAppMsg(pkt);
//           ... register commands ...
//           return rc;
//       }
//   };
//   IMPLEMENT_ARX_ENTRYPOINT(CMyApp)
#pragma once

#include "accmd.h"
#include "adsdef.h"
#include "rxdefs.h"
#include "rxregsvc.h"

#include <vector>

class AcRxDbxApp {
public:
    AcRxDbxApp() = default;
    virtual ~AcRxDbxApp() = default;
    AcRxDbxApp(const AcRxDbxApp&) = delete;
    AcRxDbxApp& operator=(const AcRxDbxApp&) = delete;

    // Calls the handler of a message.
    virtual AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt);

    // Stores the application id, unlocks the application and registers it as MDI aware.
    virtual AcRx::AppRetCode On_kInitAppMsg(void* pkt);
    virtual AcRx::AppRetCode On_kUnloadAppMsg(void* pkt);
    virtual AcRx::AppRetCode On_kLoadDwgMsg(void* pkt);
    virtual AcRx::AppRetCode On_kUnloadDwgMsg(void* pkt);
    virtual AcRx::AppRetCode On_kInvkSubrMsg(void* pkt);
    virtual AcRx::AppRetCode On_kCfgMsg(void* pkt);
    virtual AcRx::AppRetCode On_kEndMsg(void* pkt);
    virtual AcRx::AppRetCode On_kQuitMsg(void* pkt);
    virtual AcRx::AppRetCode On_kSaveMsg(void* pkt);
    virtual AcRx::AppRetCode On_kDependencyMsg(void* pkt);
    virtual AcRx::AppRetCode On_kNoDependencyMsg(void* pkt);
    virtual AcRx::AppRetCode On_kOleUnloadAppMsg(void* pkt);
    virtual AcRx::AppRetCode On_kPreQuitMsg(void* pkt);
    virtual AcRx::AppRetCode On_kInitDialogMsg(void* pkt);
    virtual AcRx::AppRetCode On_kEndDialogMsg(void* pkt);
    virtual AcRx::AppRetCode On_kSuspendMsg(void* pkt);
    virtual AcRx::AppRetCode On_kInitTabGroupMsg(void* pkt);
    virtual AcRx::AppRetCode On_kEndTabGroupMsg(void* pkt);

    virtual void RegisterServerComponents() {}

    void* GetAppId() const { return m_appId; }

protected:
    void* m_appId = nullptr;
};

// One command declared with ACED_ARXCOMMAND_ENTRY_AUTO.
struct AcRxArxAppCommand {
    const ACHAR* group;
    const ACHAR* globalName;
    const ACHAR* localName;
    Adesk::Int32 flags;
    AcRxFunctionPtr function;
    AcEdUIContext* uiContext;
};

// The commands an application declared; kept in the application's own module.
inline std::vector<AcRxArxAppCommand>& acrxArxAppCommands() {
    static std::vector<AcRxArxAppCommand> list;
    return list;
}

struct AcRxArxAppCommandRegistrar {
    AcRxArxAppCommandRegistrar(const AcRxArxAppCommand& cmd) {
        acrxArxAppCommands().push_back(cmd);
    }
};

// An application of the editor: also registers the commands declared with
// ACED_ARXCOMMAND_ENTRY_AUTO when it is initialised and removes their groups when unloaded.
class AcRxArxApp : public AcRxDbxApp {
public:
    AcRx::AppRetCode On_kInitAppMsg(void* pkt) override;
    AcRx::AppRetCode On_kUnloadAppMsg(void* pkt) override;
};

inline AcRx::AppRetCode AcRxArxApp::On_kInitAppMsg(void* pkt) {
    AcRx::AppRetCode rc = AcRxDbxApp::On_kInitAppMsg(pkt);
    for (const AcRxArxAppCommand& c : acrxArxAppCommands())
        acedRegCmds->addCommand(c.group, c.globalName, c.localName, c.flags, c.function,
                                c.uiContext);
    return rc;
}

inline AcRx::AppRetCode AcRxArxApp::On_kUnloadAppMsg(void* pkt) {
    for (const AcRxArxAppCommand& c : acrxArxAppCommands())
        acedRegCmds->removeGroup(c.group);
    return AcRxDbxApp::On_kUnloadAppMsg(pkt);
}

// Declares the command handled by classname::group##globCmd (a static member function).
#define ACED_ARXCOMMAND_ENTRY_AUTO(classname, group, globCmd, locCmd, cmdFlags, UIContext)         \
    static AcRxArxAppCommandRegistrar acrxArxCmd_##group##globCmd(AcRxArxAppCommand{               \
        L## #group, L## #globCmd, L## #locCmd, cmdFlags, &classname::group##globCmd, UIContext});

// Defines the application object and the acrxEntryPoint the host calls.
#define IMPLEMENT_ARX_ENTRYPOINT(classname)                                                        \
    classname theArxApp;                                                                           \
    extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt) {                  \
        return theArxApp.acrxEntryPoint(msg, pkt);                                                 \
    }
