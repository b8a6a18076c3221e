// The unbounded casing functions of the runtime, over the bounded ones.
#include "wincrt.h"

#include <cwchar>

wchar_t* _wcsupr_l(wchar_t* str, _locale_t locale) {
    if (!str) {
        errno = EINVAL;
        return nullptr;
    }
    _wcsupr_s_l(str, std::wcslen(str) + 1, locale);
    return str;
}

wchar_t* _wcslwr_l(wchar_t* str, _locale_t locale) {
    if (!str) {
        errno = EINVAL;
        return nullptr;
    }
    _wcslwr_s_l(str, std::wcslen(str) + 1, locale);
    return str;
}
