// The dynamic linker: the loaded applications and their locked and MDI-aware state.
#pragma once

#include "adsdef.h"
#include "rxobject.h"

#define ACRX_DYNAMIC_LINKER L"DynamicLinker"

class AcRxDynamicLinker : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcRxDynamicLinker);

    // An application id is the value the host passed with kInitAppMsg.
    bool unlockApplication(void* appId) const;
    bool lockApplication(void* appId) const;
    // By module name ("Kresbon.so"); an unknown module counts as locked.
    bool isApplicationLocked(const ACHAR* name) const;
    bool registerAppMDIAware(void* appId) const;
    bool registerAppNotMDIAware(void* appId) const;
    bool isAppMDIAware(const ACHAR* moduleName) const;
    // Loads an application module (dlopen) and sends it kInitAppMsg; see khost::loadApplication.
    bool loadModule(const ACHAR* fileName, bool printit, bool asCmd = false);
    bool unloadModule(const ACHAR* fileName, bool asCmd = false);
    bool loadApp(const ACHAR* appName, int reason, bool loadAppProxy = false, bool printit = false);
    bool unloadApp(const ACHAR* appName, bool asCmd = false);
    void* getSymbolAddress(const ACHAR* serviceName, const ACHAR* symbol) const;
};

#define acrxDynamicLinker AcRxDynamicLinker::cast(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER))
