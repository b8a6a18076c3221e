// The applications the host has loaded and the message that is being delivered to one of them.
#pragma once

#include "rxdefs.h"

#include <string>
#include <vector>

namespace khost {

using EntryPointFn = AcRx::AppRetCode (*)(AcRx::AppMsgCode, void*);

struct LoadedApp {
    std::wstring name;    // module name without folder, e.g. "Kresbon.so"
    EntryPointFn entry = nullptr;
    void* moduleHandle = nullptr; // from dlopen, null for an application linked in
};

// Registers an application; returns its index. Messages are sent with sendAppMessage.
int registerApp(const LoadedApp& app);
void unregisterApp(int index);
const std::vector<LoadedApp>& loadedApps();
// Sends a message; while it is being handled, currentAppIndex() names the receiver (acedDefun
// uses it to know whose function it defines). Returns the handler's return code.
AcRx::AppRetCode sendAppMessage(int index, AcRx::AppMsgCode msg, void* pkt = nullptr);
int currentAppIndex();

} // namespace khost
