// Registry services of the runtime: the system registry and the application lock functions.
#pragma once

#include "rxdict.h"
#include "rxdlinkr.h"

// The system registry: a dictionary of the host's named services (the command stack under
// ACRX_COMMAND_DOCK, the dynamic linker under ACRX_DYNAMIC_LINKER ...).
AcRxDictionary* acrxSysRegistry();

bool acrxUnlockApplication(void* appId);
bool acrxLockApplication(void* appId);
bool acrxApplicationIsLocked(const ACHAR* modulename);
bool acrxRegisterAppMDIAware(void* appId);
bool acrxRegisterAppNotMDIAware(void* appId);
bool acrxLoadModule(const ACHAR* moduleName, bool printit, bool asCmd = false);
bool acrxUnloadModule(const ACHAR* moduleName, bool asCmd = false);
bool acrxLoadApp(const ACHAR* appname, bool asCmd = false);
bool acrxUnloadApp(const ACHAR* appname, bool asCmd = false);
void* acrxGetServiceSymbolAddr(const ACHAR* serviceName, const ACHAR* symbol);
