// Stands in for the AutoLISP evaluator when the host is built without one.
#include "hostio.h"
#include "lispapi.h"

namespace khost {

__attribute__((weak)) bool lispEvalText(const std::wstring&) {
    hostPrint(L"\n; error: AutoLISP not available");
    return false;
}

} // namespace khost
