// The Czech locale of the character-type category. Every source file that includes this header
// holds its own instance, created when the module is loaded and freed when it is unloaded.
#pragma once

#include "StdAfx.h"

namespace vox_detail {
class CCzLocale {
public:
    CCzLocale() : m_locale(_create_locale(LC_CTYPE, "cs-CZ")) {}
    ~CCzLocale() {
        if (m_locale)
            _free_locale(m_locale);
    }
    CCzLocale(const CCzLocale&) = delete;
    CCzLocale& operator=(const CCzLocale&) = delete;
    operator _locale_t() const { return m_locale; }

private:
    _locale_t m_locale;
};
} // namespace vox_detail

static vox_detail::CCzLocale CzLocale;
