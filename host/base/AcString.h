// The host's string class: a wide string with the accessors plug-ins use.
#pragma once

#include <string>
#include <string_view>

#include "adsdef.h"

class AcString {
public:
    AcString() = default;
    AcString(const ACHAR* s) : m_s(s ? s : L"") {}
    AcString(std::wstring s) : m_s(std::move(s)) {}
    AcString(std::wstring_view s) : m_s(s) {}
    AcString(ACHAR c) : m_s(1, c) {}

    const ACHAR* kACharPtr() const { return m_s.c_str(); }
    const ACHAR* constPtr() const { return m_s.c_str(); }
    operator const ACHAR*() const { return m_s.c_str(); }
    int length() const { return static_cast<int>(m_s.size()); }
    bool isEmpty() const { return m_s.empty(); }
    void setEmpty() { m_s.clear(); }
    ACHAR getAt(int i) const { return m_s.at(static_cast<size_t>(i)); }
    int find(ACHAR c) const;
    int find(const ACHAR* s) const;
    int findRev(ACHAR c) const;
    AcString substr(int start, int count = -1) const;
    AcString mid(int start, int count = -1) const { return substr(start, count); }
    AcString left(int count) const { return substr(0, count); }
    AcString right(int count) const;
    int compare(const ACHAR* s) const { return m_s.compare(s ? s : L""); }
    int compareNoCase(const ACHAR* s) const;
    AcString& makeUpper();
    AcString& makeLower();
    AcString& trim();
    AcString& format(const ACHAR* fmt, ...);

    // Buffer access in the manner of the host: a writable buffer of at least the given length
    // plus a terminator; releaseBuffer takes the text back up to its terminator.
    ACHAR* getBuffer(int minLength);
    void releaseBuffer();

    AcString& operator=(const ACHAR* s) {
        m_s = s ? s : L"";
        return *this;
    }
    AcString& operator+=(const AcString& s) {
        m_s += s.m_s;
        return *this;
    }
    AcString& operator+=(const ACHAR* s) {
        m_s += s ? s : L"";
        return *this;
    }
    AcString& operator+=(ACHAR c) {
        m_s += c;
        return *this;
    }
    friend AcString operator+(const AcString& a, const AcString& b) { return AcString(a.m_s + b.m_s); }
    friend bool operator==(const AcString& a, const AcString& b) { return a.m_s == b.m_s; }
    friend bool operator==(const AcString& a, const ACHAR* b) { return a.m_s == (b ? b : L""); }
    friend bool operator<(const AcString& a, const AcString& b) { return a.m_s < b.m_s; }

    const std::wstring& str() const { return m_s; }
    std::wstring& str() { return m_s; }

private:
    std::wstring m_s;
    std::wstring m_buffer;
    bool m_bufferOut = false;
};
