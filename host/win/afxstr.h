// The class library's string: CStringW (CString in a UNICODE build) and CStringA.
//
// Positions and lengths are in characters of the string's own type. A narrow string given to a
// wide one (and the other way round) is converted as UTF-8. Format and AppendFormat follow the
// Windows runtime's printf conventions: in a wide format "%s" is a wide string and "%S" a narrow
// one (see wincrt.h). MakeUpper and MakeLower use the Unicode rules without a locale;
// CompareNoCase compares by simple case folding.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>
#include <type_traits>

#include "windows.h"

template <typename XCHAR> class CStringT {
public:
    using XCHAR_T = XCHAR;
    using YCHAR = std::conditional_t<std::is_same_v<XCHAR, wchar_t>, char, wchar_t>;
    using PXSTR = XCHAR*;
    using PCXSTR = const XCHAR*;
    using PYSTR = YCHAR*;
    using PCYSTR = const YCHAR*;
    using StringType = std::basic_string<XCHAR>;

    CStringT() = default;
    CStringT(const CStringT& other) = default;
    CStringT(CStringT&& other) noexcept = default;
    CStringT(PCXSTR s) : m_s(s ? s : empty()) {}
    CStringT(PCYSTR s);
    CStringT(const CStringT<YCHAR>& other) : CStringT(other.GetString()) {}
    CStringT(PCXSTR s, int length) : m_s(s ? StringType(s, clampLen(length)) : StringType()) {}
    CStringT(XCHAR ch, int repeat = 1) : m_s(repeat > 0 ? static_cast<size_t>(repeat) : 0, ch) {}
    CStringT(const StringType& s) : m_s(s) {}
    CStringT(std::basic_string_view<XCHAR> s) : m_s(s) {}
    ~CStringT() = default;

    CStringT& operator=(const CStringT& other) = default;
    CStringT& operator=(CStringT&& other) noexcept = default;
    CStringT& operator=(PCXSTR s) {
        m_s = s ? s : empty();
        return *this;
    }
    CStringT& operator=(PCYSTR s) { return *this = CStringT(s); }
    CStringT& operator=(XCHAR ch) {
        m_s.assign(1, ch);
        return *this;
    }
    CStringT& operator=(const CStringT<YCHAR>& other) { return *this = CStringT(other); }

    // --- Size and characters ---
    int GetLength() const { return static_cast<int>(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    XCHAR GetAt(int index) const { return m_s.at(static_cast<size_t>(index)); }
    void SetAt(int index, XCHAR ch) { m_s.at(static_cast<size_t>(index)) = ch; }
    XCHAR operator[](int index) const { return GetAt(index); }
    PCXSTR GetString() const { return m_s.c_str(); }
    operator PCXSTR() const { return m_s.c_str(); }
    void SetString(PCXSTR s) { *this = s; }
    void SetString(PCXSTR s, int length) { *this = CStringT(s, length); }

    // A writable buffer of at least minLength characters plus a terminator, holding the current
    // text. ReleaseBuffer takes the text back: up to the terminator, or newLength characters.
    PXSTR GetBuffer();
    PXSTR GetBuffer(int minLength);
    PXSTR GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);
    void ReleaseBufferSetLength(int newLength) { ReleaseBuffer(newLength); }
    void Preallocate(int length) { m_s.reserve(clampLen(length)); }
    void FreeExtra() { m_s.shrink_to_fit(); }
    PXSTR LockBuffer() { return GetBuffer(); }
    void UnlockBuffer() {}

    // --- Building ---
    void Format(PCXSTR format, ...);
    void AppendFormat(PCXSTR format, ...);
    void FormatV(PCXSTR format, va_list args);
    void AppendFormatV(PCXSTR format, va_list args);
    void Append(PCXSTR s) { m_s += s ? s : empty(); }
    void Append(PCXSTR s, int length) { m_s.append(s ? s : empty(), s ? clampLen(length) : 0); }
    void Append(const CStringT& s) { m_s += s.m_s; }
    void AppendChar(XCHAR ch) { m_s += ch; }

    // --- Pieces ---
    CStringT Left(int count) const;
    CStringT Mid(int first) const;
    CStringT Mid(int first, int count) const;
    CStringT Right(int count) const;
    CStringT SpanIncluding(PCXSTR charSet) const;
    CStringT SpanExcluding(PCXSTR charSet) const;
    // The next token at or after start; start moves past it, to -1 when no token is left.
    CStringT Tokenize(PCXSTR tokens, int& start) const;

    // --- Searching ---
    int Find(XCHAR ch, int start = 0) const;
    int Find(PCXSTR sub, int start = 0) const;
    int ReverseFind(XCHAR ch) const;
    int FindOneOf(PCXSTR charSet) const;

    // --- Changing ---
    int Replace(XCHAR oldCh, XCHAR newCh);
    int Replace(PCXSTR oldText, PCXSTR newText);
    int Remove(XCHAR ch);
    int Insert(int index, XCHAR ch);
    int Insert(int index, PCXSTR s);
    int Delete(int index, int count = 1);
    CStringT& MakeUpper();
    CStringT& MakeLower();
    CStringT& MakeReverse();
    CStringT& Trim();
    CStringT& Trim(XCHAR ch);
    CStringT& Trim(PCXSTR chars);
    CStringT& TrimLeft();
    CStringT& TrimLeft(XCHAR ch);
    CStringT& TrimLeft(PCXSTR chars);
    CStringT& TrimRight();
    CStringT& TrimRight(XCHAR ch);
    CStringT& TrimRight(PCXSTR chars);

    // --- Comparing: negative, zero or positive ---
    int Compare(PCXSTR s) const;
    int CompareNoCase(PCXSTR s) const;
    int Collate(PCXSTR s) const { return Compare(s); }
    int CollateNoCase(PCXSTR s) const { return CompareNoCase(s); }

    CStringT& operator+=(const CStringT& s) {
        m_s += s.m_s;
        return *this;
    }
    CStringT& operator+=(PCXSTR s) {
        m_s += s ? s : empty();
        return *this;
    }
    CStringT& operator+=(PCYSTR s) { return *this += CStringT(s); }
    CStringT& operator+=(XCHAR ch) {
        m_s += ch;
        return *this;
    }

    friend CStringT operator+(const CStringT& a, const CStringT& b) {
        return CStringT(a.m_s + b.m_s);
    }
    friend CStringT operator+(const CStringT& a, PCXSTR b) {
        return CStringT(a.m_s + (b ? b : empty()));
    }
    friend CStringT operator+(PCXSTR a, const CStringT& b) {
        return CStringT((a ? a : empty()) + b.m_s);
    }
    friend CStringT operator+(const CStringT& a, XCHAR b) { return CStringT(a.m_s + b); }
    friend CStringT operator+(XCHAR a, const CStringT& b) { return CStringT(a + b.m_s); }

    friend bool operator==(const CStringT& a, const CStringT& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CStringT& a, PCXSTR b) { return a.Compare(b) == 0; }
    friend bool operator==(PCXSTR a, const CStringT& b) { return b.Compare(a) == 0; }
    friend bool operator!=(const CStringT& a, const CStringT& b) { return a.m_s != b.m_s; }
    friend bool operator!=(const CStringT& a, PCXSTR b) { return a.Compare(b) != 0; }
    friend bool operator!=(PCXSTR a, const CStringT& b) { return b.Compare(a) != 0; }
    friend bool operator<(const CStringT& a, const CStringT& b) { return a.Compare(b) < 0; }
    friend bool operator<(const CStringT& a, PCXSTR b) { return a.Compare(b) < 0; }
    friend bool operator<(PCXSTR a, const CStringT& b) { return b.Compare(a) > 0; }
    friend bool operator>(const CStringT& a, const CStringT& b) { return a.Compare(b) > 0; }
    friend bool operator>(const CStringT& a, PCXSTR b) { return a.Compare(b) > 0; }
    friend bool operator>(PCXSTR a, const CStringT& b) { return b.Compare(a) < 0; }
    friend bool operator<=(const CStringT& a, const CStringT& b) { return a.Compare(b) <= 0; }
    friend bool operator<=(const CStringT& a, PCXSTR b) { return a.Compare(b) <= 0; }
    friend bool operator>=(const CStringT& a, const CStringT& b) { return a.Compare(b) >= 0; }
    friend bool operator>=(const CStringT& a, PCXSTR b) { return a.Compare(b) >= 0; }

    // The standard string behind it (an extension for host code).
    const StringType& str() const { return m_s; }

private:
    static PCXSTR empty() {
        static const XCHAR nothing[1] = {0};
        return nothing;
    }
    static size_t clampLen(int n) { return n > 0 ? static_cast<size_t>(n) : 0; }
    bool inSet(XCHAR ch, PCXSTR set) const;

    StringType m_s;
    StringType m_buffer; // the text while a buffer is out
    bool m_bufferOut = false;
};

extern template class CStringT<wchar_t>;
extern template class CStringT<char>;

using CStringW = CStringT<wchar_t>;
using CStringA = CStringT<char>;
using CString = CStringW;

// Conversion helpers of the class library's ATL part: CW2A/CT2A give narrow text in the given
// code page (by default the ANSI page, Windows-1250), CA2W/CA2T read it.
class CW2A {
public:
    explicit CW2A(LPCWSTR s, UINT codePage = CP_ACP);
    operator LPSTR() { return m_s.data(); }
    operator LPCSTR() const { return m_s.c_str(); }

private:
    std::string m_s;
};

class CA2W {
public:
    explicit CA2W(LPCSTR s, UINT codePage = CP_ACP);
    operator LPWSTR() { return m_s.data(); }
    operator LPCWSTR() const { return m_s.c_str(); }

private:
    std::wstring m_s;
};

using CT2A = CW2A;
using CT2CA = CW2A;
using CA2T = CA2W;
using CA2CT = CA2W;
