// Stand-ins until the editor's and the database's definitions are linked in.
#include "lisphostdeps.h"

namespace khost {
__attribute__((weak)) const void* currentDocumentKey() {
    return nullptr;
}
__attribute__((weak)) int reportOpenObjects(const std::wstring&) {
    return 0;
}
} // namespace khost

__attribute__((weak)) int acedGetVar(const ACHAR*, resbuf*) {
    return RTERROR;
}
__attribute__((weak)) int acedSetVar(const ACHAR*, const resbuf*) {
    return RTERROR;
}

namespace khost {
__attribute__((weak)) int loadApplication(const LoadedApp&) {
    return -1;
}
__attribute__((weak)) bool unloadApplication(int, bool) {
    return false;
}
} // namespace khost
