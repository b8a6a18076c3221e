#include "appload.h"

#include "acutads.h"
#include "appregistry.h"
#include "edhost.h"
#include "textconv.h"

#include <dlfcn.h>

#include <vector>

namespace khost {

int loadApplicationModule(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* err = dlerror();
        acutPrintf(L"\nUnable to load %ls: %ls\n", fromUtf8(path).c_str(),
                   fromUtf8(err ? err : "").c_str());
        return -1;
    }
    auto entry = reinterpret_cast<EntryPointFn>(dlsym(handle, "acrxEntryPoint"));
    if (!entry) {
        acutPrintf(L"\n%ls is not an application: it has no acrxEntryPoint.\n",
                   fromUtf8(path).c_str());
        dlclose(handle);
        return -1;
    }
    LoadedApp app;
    size_t slash = path.find_last_of('/');
    app.name = fromUtf8(slash == std::string::npos ? path : path.substr(slash + 1));
    app.entry = entry;
    app.moduleHandle = handle;
    int index = loadApplication(app);
    if (index < 0)
        dlclose(handle);
    return index;
}

void unloadAllApplications() {
    const std::vector<LoadedApp> apps = loadedApps();
    for (int i = static_cast<int>(apps.size()) - 1; i >= 0; --i) {
        const LoadedApp& app = apps[static_cast<size_t>(i)];
        if (!app.entry)
            continue;
        unloadApplication(i, true);
        if (app.moduleHandle)
            dlclose(app.moduleHandle);
    }
}

} // namespace khost
