#include "AcString.h"

#include "textconv.h"
#include "winhost.h"

#include <cstdarg>
#include <cwchar>
#include <cwctype>
#include <vector>

int AcString::find(ACHAR c) const {
    size_t p = m_s.find(c);
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
}

int AcString::find(const ACHAR* s) const {
    size_t p = m_s.find(s ? s : L"");
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
}

int AcString::findRev(ACHAR c) const {
    size_t p = m_s.rfind(c);
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
}

AcString AcString::substr(int start, int count) const {
    if (start < 0 || static_cast<size_t>(start) >= m_s.size())
        return AcString();
    size_t n = count < 0 ? std::wstring::npos : static_cast<size_t>(count);
    return AcString(m_s.substr(static_cast<size_t>(start), n));
}

AcString AcString::right(int count) const {
    if (count <= 0)
        return AcString();
    if (static_cast<size_t>(count) >= m_s.size())
        return *this;
    return AcString(m_s.substr(m_s.size() - static_cast<size_t>(count)));
}

int AcString::compareNoCase(const ACHAR* s) const {
    std::wstring a = khost::toUpper(m_s, "en");
    std::wstring b = khost::toUpper(s ? s : L"", "en");
    return a.compare(b);
}

AcString& AcString::makeUpper() {
    m_s = khost::toUpper(m_s, "en");
    return *this;
}

AcString& AcString::makeLower() {
    m_s = khost::toLower(m_s, "en");
    return *this;
}

AcString& AcString::trim() {
    size_t b = 0;
    while (b < m_s.size() && std::iswspace(static_cast<wint_t>(m_s[b])))
        ++b;
    size_t e = m_s.size();
    while (e > b && std::iswspace(static_cast<wint_t>(m_s[e - 1])))
        --e;
    m_s = m_s.substr(b, e - b);
    return *this;
}

AcString& AcString::format(const ACHAR* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::optional<std::wstring> text = khost::formatWindows(fmt, ap);
    va_end(ap);
    m_s = text ? *text : std::wstring();
    return *this;
}

ACHAR* AcString::getBuffer(int minLength) {
    size_t n = std::max<size_t>(m_s.size(), static_cast<size_t>(minLength < 0 ? 0 : minLength));
    m_buffer.assign(n + 1, L'\0');
    m_buffer.replace(0, m_s.size(), m_s);
    m_bufferOut = true;
    return m_buffer.data();
}

void AcString::releaseBuffer() {
    if (!m_bufferOut)
        return;
    m_s.assign(m_buffer.c_str());
    m_buffer.clear();
    m_bufferOut = false;
}
