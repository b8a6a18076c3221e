// CStringW and CStringA.
#include "afxstr.h"
#include "winhost.h"

#include "textconv.h"

#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cwctype>

namespace {

template <typename C> std::basic_string<C> convertFrom(const char* s);
template <> std::wstring convertFrom<wchar_t>(const char* s) {
    return khost::fromUtf8(s);
}
template <typename C> std::basic_string<C> convertFrom(const wchar_t* s);
template <> std::string convertFrom<char>(const wchar_t* s) {
    return khost::toUtf8(s);
}

std::wstring toWide(const std::wstring& s) {
    return s;
}
std::wstring toWide(const std::string& s) {
    return khost::fromUtf8(s);
}
void fromWide(const std::wstring& w, std::wstring& out) {
    out = w;
}
void fromWide(const std::wstring& w, std::string& out) {
    out = khost::toUtf8(w);
}

std::wstring caseRoot(const std::wstring& s, bool upper) {
    icu::UnicodeString u = icu::UnicodeString::fromUTF32(reinterpret_cast<const UChar32*>(s.data()),
                                                         static_cast<int32_t>(s.size()));
    if (upper)
        u.toUpper(icu::Locale::getRoot());
    else
        u.toLower(icu::Locale::getRoot());
    std::wstring out;
    for (int32_t i = 0; i < u.length(); i = u.moveIndex32(i, 1))
        out.push_back(static_cast<wchar_t>(u.char32At(i)));
    return out;
}

template <typename C> bool isSpace(C c) {
    if constexpr (std::is_same_v<C, wchar_t>)
        return std::iswspace(static_cast<wint_t>(c)) != 0;
    else
        return c == ' ' || (c >= '\t' && c <= '\r');
}

template <typename C> int fold(C c) {
    if constexpr (std::is_same_v<C, wchar_t>)
        return static_cast<int>(u_foldCase(static_cast<UChar32>(c), 0));
    else
        return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : static_cast<unsigned char>(c);
}

template <typename C> size_t length(const C* s) {
    return std::char_traits<C>::length(s);
}

} // namespace

template <typename XCHAR>
CStringT<XCHAR>::CStringT(PCYSTR s) : m_s(s ? convertFrom<XCHAR>(s) : StringType()) {}

template <typename XCHAR> typename CStringT<XCHAR>::PXSTR CStringT<XCHAR>::GetBuffer() {
    return GetBuffer(0);
}

template <typename XCHAR>
typename CStringT<XCHAR>::PXSTR CStringT<XCHAR>::GetBuffer(int minLength) {
    size_t n = std::max(m_s.size(), clampLen(minLength));
    m_buffer.assign(n + 1, XCHAR(0));
    std::copy(m_s.begin(), m_s.end(), m_buffer.begin());
    m_bufferOut = true;
    return m_buffer.data();
}

template <typename XCHAR>
typename CStringT<XCHAR>::PXSTR CStringT<XCHAR>::GetBufferSetLength(int length) {
    size_t n = clampLen(length);
    m_s.resize(n, XCHAR(' '));
    PXSTR p = GetBuffer(length);
    return p;
}

template <typename XCHAR> void CStringT<XCHAR>::ReleaseBuffer(int newLength) {
    if (!m_bufferOut)
        return;
    size_t cap = m_buffer.size() - 1;
    size_t n = newLength < 0 ? length(m_buffer.c_str()) : std::min(clampLen(newLength), cap);
    m_s.assign(m_buffer.data(), n);
    m_buffer.clear();
    m_buffer.shrink_to_fit();
    m_bufferOut = false;
}

template <typename XCHAR> void CStringT<XCHAR>::FormatV(PCXSTR format, va_list args) {
    auto text = khost::formatWindows(format, args);
    m_s = text ? std::move(*text) : StringType();
}

template <typename XCHAR> void CStringT<XCHAR>::AppendFormatV(PCXSTR format, va_list args) {
    auto text = khost::formatWindows(format, args);
    if (text)
        m_s += *text;
}

template <typename XCHAR> void CStringT<XCHAR>::Format(PCXSTR format, ...) {
    va_list ap;
    va_start(ap, format);
    FormatV(format, ap);
    va_end(ap);
}

template <typename XCHAR> void CStringT<XCHAR>::AppendFormat(PCXSTR format, ...) {
    va_list ap;
    va_start(ap, format);
    AppendFormatV(format, ap);
    va_end(ap);
}

template <typename XCHAR> CStringT<XCHAR> CStringT<XCHAR>::Left(int count) const {
    return CStringT(m_s.substr(0, clampLen(count)));
}

template <typename XCHAR> CStringT<XCHAR> CStringT<XCHAR>::Mid(int first) const {
    return Mid(first, GetLength());
}

template <typename XCHAR> CStringT<XCHAR> CStringT<XCHAR>::Mid(int first, int count) const {
    size_t f = clampLen(first);
    if (f >= m_s.size())
        return CStringT();
    return CStringT(m_s.substr(f, clampLen(count)));
}

template <typename XCHAR> CStringT<XCHAR> CStringT<XCHAR>::Right(int count) const {
    size_t n = std::min(clampLen(count), m_s.size());
    return CStringT(m_s.substr(m_s.size() - n));
}

template <typename XCHAR> bool CStringT<XCHAR>::inSet(XCHAR ch, PCXSTR set) const {
    if (!set)
        return false;
    for (PCXSTR p = set; *p; ++p)
        if (*p == ch)
            return true;
    return false;
}

template <typename XCHAR> CStringT<XCHAR> CStringT<XCHAR>::SpanIncluding(PCXSTR charSet) const {
    size_t n = 0;
    while (n < m_s.size() && inSet(m_s[n], charSet))
        ++n;
    return Left(static_cast<int>(n));
}

template <typename XCHAR> CStringT<XCHAR> CStringT<XCHAR>::SpanExcluding(PCXSTR charSet) const {
    size_t n = 0;
    while (n < m_s.size() && !inSet(m_s[n], charSet))
        ++n;
    return Left(static_cast<int>(n));
}

template <typename XCHAR>
CStringT<XCHAR> CStringT<XCHAR>::Tokenize(PCXSTR tokens, int& start) const {
    if (start < 0) {
        start = -1;
        return CStringT();
    }
    size_t i = static_cast<size_t>(start);
    if (!tokens || !*tokens) {
        // No delimiters: the rest of the string, and the position stays where it was.
        if (i < m_s.size())
            return CStringT(m_s.substr(i));
        start = -1;
        return CStringT();
    }
    while (i < m_s.size() && inSet(m_s[i], tokens))
        ++i;
    if (i >= m_s.size()) {
        start = -1;
        return CStringT();
    }
    size_t j = i;
    while (j < m_s.size() && !inSet(m_s[j], tokens))
        ++j;
    start = static_cast<int>(j + 1);
    return CStringT(m_s.substr(i, j - i));
}

template <typename XCHAR> int CStringT<XCHAR>::Find(XCHAR ch, int start) const {
    if (start < 0 || static_cast<size_t>(start) >= m_s.size())
        return -1;
    size_t pos = m_s.find(ch, static_cast<size_t>(start));
    return pos == StringType::npos ? -1 : static_cast<int>(pos);
}

template <typename XCHAR> int CStringT<XCHAR>::Find(PCXSTR sub, int start) const {
    if (!sub || start < 0 || static_cast<size_t>(start) > m_s.size())
        return -1;
    size_t pos = m_s.find(sub, static_cast<size_t>(start));
    return pos == StringType::npos ? -1 : static_cast<int>(pos);
}

template <typename XCHAR> int CStringT<XCHAR>::ReverseFind(XCHAR ch) const {
    size_t pos = m_s.rfind(ch);
    return pos == StringType::npos ? -1 : static_cast<int>(pos);
}

template <typename XCHAR> int CStringT<XCHAR>::FindOneOf(PCXSTR charSet) const {
    if (!charSet)
        return -1;
    size_t pos = m_s.find_first_of(charSet);
    return pos == StringType::npos ? -1 : static_cast<int>(pos);
}

template <typename XCHAR> int CStringT<XCHAR>::Replace(XCHAR oldCh, XCHAR newCh) {
    int count = 0;
    if (oldCh == newCh)
        return 0;
    for (XCHAR& c : m_s)
        if (c == oldCh) {
            c = newCh;
            ++count;
        }
    return count;
}

template <typename XCHAR> int CStringT<XCHAR>::Replace(PCXSTR oldText, PCXSTR newText) {
    if (!oldText || !*oldText)
        return 0;
    StringType from(oldText);
    StringType to(newText ? newText : empty());
    int count = 0;
    StringType out;
    size_t i = 0;
    for (;;) {
        size_t pos = m_s.find(from, i);
        if (pos == StringType::npos)
            break;
        out.append(m_s, i, pos - i);
        out += to;
        i = pos + from.size();
        ++count;
    }
    if (count) {
        out.append(m_s, i, StringType::npos);
        m_s.swap(out);
    }
    return count;
}

template <typename XCHAR> int CStringT<XCHAR>::Remove(XCHAR ch) {
    size_t before = m_s.size();
    m_s.erase(std::remove(m_s.begin(), m_s.end(), ch), m_s.end());
    return static_cast<int>(before - m_s.size());
}

template <typename XCHAR> int CStringT<XCHAR>::Insert(int index, XCHAR ch) {
    size_t i = std::min(clampLen(index), m_s.size());
    m_s.insert(i, 1, ch);
    return GetLength();
}

template <typename XCHAR> int CStringT<XCHAR>::Insert(int index, PCXSTR s) {
    size_t i = std::min(clampLen(index), m_s.size());
    if (s)
        m_s.insert(i, s);
    return GetLength();
}

template <typename XCHAR> int CStringT<XCHAR>::Delete(int index, int count) {
    size_t i = clampLen(index);
    if (i < m_s.size() && count > 0)
        m_s.erase(i, clampLen(count));
    return GetLength();
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::MakeUpper() {
    fromWide(caseRoot(toWide(m_s), true), m_s);
    return *this;
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::MakeLower() {
    fromWide(caseRoot(toWide(m_s), false), m_s);
    return *this;
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::MakeReverse() {
    std::reverse(m_s.begin(), m_s.end());
    return *this;
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::TrimLeft() {
    size_t i = 0;
    while (i < m_s.size() && isSpace(m_s[i]))
        ++i;
    m_s.erase(0, i);
    return *this;
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::TrimLeft(XCHAR ch) {
    size_t i = 0;
    while (i < m_s.size() && m_s[i] == ch)
        ++i;
    m_s.erase(0, i);
    return *this;
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::TrimLeft(PCXSTR chars) {
    size_t i = 0;
    while (i < m_s.size() && inSet(m_s[i], chars))
        ++i;
    m_s.erase(0, i);
    return *this;
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::TrimRight() {
    size_t n = m_s.size();
    while (n > 0 && isSpace(m_s[n - 1]))
        --n;
    m_s.resize(n);
    return *this;
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::TrimRight(XCHAR ch) {
    size_t n = m_s.size();
    while (n > 0 && m_s[n - 1] == ch)
        --n;
    m_s.resize(n);
    return *this;
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::TrimRight(PCXSTR chars) {
    size_t n = m_s.size();
    while (n > 0 && inSet(m_s[n - 1], chars))
        --n;
    m_s.resize(n);
    return *this;
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::Trim() {
    return TrimRight().TrimLeft();
}
template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::Trim(XCHAR ch) {
    return TrimRight(ch).TrimLeft(ch);
}
template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::Trim(PCXSTR chars) {
    return TrimRight(chars).TrimLeft(chars);
}

template <typename XCHAR> int CStringT<XCHAR>::Compare(PCXSTR s) const {
    int r = m_s.compare(s ? s : empty());
    return r < 0 ? -1 : r > 0 ? 1 : 0;
}

template <typename XCHAR> int CStringT<XCHAR>::CompareNoCase(PCXSTR s) const {
    if (!s)
        s = empty();
    for (size_t i = 0;; ++i) {
        bool endA = i >= m_s.size();
        XCHAR cb = s[i];
        if (endA)
            return cb == 0 ? 0 : -1;
        if (cb == 0)
            return 1;
        int a = fold(m_s[i]);
        int b = fold(cb);
        if (a != b)
            return a < b ? -1 : 1;
    }
}

template class CStringT<wchar_t>;
template class CStringT<char>;

CW2A::CW2A(LPCWSTR s, UINT codePage) {
    if (!s)
        return;
    int n = WideCharToMultiByte(codePage, 0, s, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return;
    m_s.assign(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, s, -1, m_s.data(), n, nullptr, nullptr);
    m_s.resize(static_cast<size_t>(n - 1));
}

CA2W::CA2W(LPCSTR s, UINT codePage) {
    if (!s)
        return;
    int n = MultiByteToWideChar(codePage, 0, s, -1, nullptr, 0);
    if (n <= 0)
        return;
    m_s.assign(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, s, -1, m_s.data(), n);
    m_s.resize(static_cast<size_t>(n - 1));
}
