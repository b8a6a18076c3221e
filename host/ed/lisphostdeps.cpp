// Stand-ins until the editor's and the database's definitions are linked in.
#include "lisphostdeps.h"

namespace khost {
__attribute__((weak)) const void* currentDocumentKey() {
    return nullptr;
}
__attribute__((weak)) void reportOpenObjects(const std::wstring&) {}
} // namespace khost

__attribute__((weak)) int acedGetVar(const ACHAR*, resbuf*) {
    return RTERROR;
}
__attribute__((weak)) int acedSetVar(const ACHAR*, const resbuf*) {
    return RTERROR;
}
