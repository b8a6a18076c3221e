#include "appregistry.h"

namespace khost {
namespace {
std::vector<LoadedApp>& apps() {
    static std::vector<LoadedApp> list;
    return list;
}
int g_current = -1;
} // namespace

int registerApp(const LoadedApp& app) {
    apps().push_back(app);
    return static_cast<int>(apps().size()) - 1;
}

void unregisterApp(int index) {
    if (index >= 0 && static_cast<size_t>(index) < apps().size())
        apps()[static_cast<size_t>(index)].entry = nullptr;
}

const std::vector<LoadedApp>& loadedApps() { return apps(); }

AcRx::AppRetCode sendAppMessage(int index, AcRx::AppMsgCode msg, void* pkt) {
    if (index < 0 || static_cast<size_t>(index) >= apps().size())
        return AcRx::kRetError;
    EntryPointFn fn = apps()[static_cast<size_t>(index)].entry;
    if (!fn)
        return AcRx::kRetError;
    int saved = g_current;
    g_current = index;
    AcRx::AppRetCode rc = fn(msg, pkt);
    g_current = saved;
    return rc;
}

int currentAppIndex() { return g_current; }

} // namespace khost
