#include "appload.h"

#include "acapdoc.h"
#include "acutads.h"
#include "appregistry.h"
#include "textconv.h"

#include <dlfcn.h>

#include <vector>

namespace khost {

int loadApplication(const std::string& path) {
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
    int index = registerApp(app);
    sendAppMessage(index, AcRx::kInitAppMsg, handle);
    // The application defines its per-drawing things in every drawing that is open, each in turn
    // current; the drawing that was current stays current.
    AcApDocument* current = curDoc();
    for (AcApDocument* doc : documents()) {
        activateDocument(doc);
        sendAppMessage(index, AcRx::kLoadDwgMsg, handle);
    }
    if (current)
        activateDocument(current);
    return index;
}

void unloadApplication(int index) {
    const std::vector<LoadedApp>& apps = loadedApps();
    if (index < 0 || static_cast<size_t>(index) >= apps.size() || !apps[static_cast<size_t>(index)].entry)
        return;
    void* handle = apps[static_cast<size_t>(index)].moduleHandle;
    sendAppMessage(index, AcRx::kUnloadAppMsg, handle);
    unregisterApp(index);
    if (handle)
        dlclose(handle);
}

void unloadAllApplications() {
    for (int i = static_cast<int>(loadedApps().size()) - 1; i >= 0; --i)
        unloadApplication(i);
}

} // namespace khost
