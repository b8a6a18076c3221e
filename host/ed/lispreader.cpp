// The LISP reader: numbers, strings, symbols, quoted forms, lists and dotted pairs.
#include "lispinternal.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cwctype>

namespace khost {
namespace lispimpl {

namespace {

constexpr int kMaxNesting = 2000;

bool isDelimiter(wchar_t c) {
    return std::iswspace(static_cast<wint_t>(c)) || c == L'(' || c == L')' || c == L'"' ||
           c == L';' || c == L'\'';
}

class Reader {
public:
    Reader(const std::wstring& text, size_t pos) : m_text(text), m_pos(pos) {}

    size_t pos() const { return m_pos; }

    // Skips blanks and comments; false at the end of the text.
    bool skip() {
        for (;;) {
            while (m_pos < m_text.size() && std::iswspace(static_cast<wint_t>(m_text[m_pos])))
                ++m_pos;
            if (m_pos >= m_text.size())
                return false;
            if (m_text[m_pos] != L';')
                return true;
            if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == L'|') {
                // ;| block comment |;
                size_t end = m_text.find(L"|;", m_pos + 2);
                m_pos = end == std::wstring::npos ? m_text.size() : end + 2;
            } else {
                while (m_pos < m_text.size() && m_text[m_pos] != L'\n')
                    ++m_pos;
            }
        }
    }

    LispValue read(int depth) {
        if (depth > kMaxNesting)
            lispFail(L"malformed list on input");
        if (!skip())
            lispFail(L"malformed list on input");
        wchar_t c = m_text[m_pos];
        if (c == L'(') {
            ++m_pos;
            return readList(depth + 1);
        }
        if (c == L')') {
            ++m_pos;
            lispFail(L"extra right paren on input");
        }
        if (c == L'\'') {
            ++m_pos;
            LispValue quoted = read(depth + 1);
            return LispValue::cons(LispValue::symbol(symQuote()),
                                   LispValue::cons(std::move(quoted), LispValue()));
        }
        if (c == L'"') {
            ++m_pos;
            return readString();
        }
        return readAtom();
    }

private:
    // True when the next token is a lone dot.
    bool atDot() {
        if (m_text[m_pos] != L'.')
            return false;
        return m_pos + 1 >= m_text.size() || isDelimiter(m_text[m_pos + 1]);
    }

    LispValue readList(int depth) {
        LispListBuilder list;
        bool any = false;
        for (;;) {
            if (!skip())
                lispFail(L"malformed list on input");
            wchar_t c = m_text[m_pos];
            if (c == L')') {
                ++m_pos;
                return list.take();
            }
            if (atDot()) {
                ++m_pos;
                if (!any)
                    lispFail(L"invalid dotted pair");
                if (!skip())
                    lispFail(L"malformed list on input");
                if (m_text[m_pos] == L')')
                    lispFail(L"invalid dotted pair");
                list.setTail(read(depth));
                if (!skip())
                    lispFail(L"malformed list on input");
                if (m_text[m_pos] != L')')
                    lispFail(L"invalid dotted pair");
                ++m_pos;
                return list.take();
            }
            list.add(read(depth));
            any = true;
        }
    }

    LispValue readString() {
        std::wstring s;
        for (;;) {
            if (m_pos >= m_text.size())
                lispFail(L"malformed string on input");
            wchar_t c = m_text[m_pos++];
            if (c == L'"')
                return LispValue::string(std::move(s));
            if (c != L'\\') {
                s += c;
                continue;
            }
            if (m_pos >= m_text.size())
                lispFail(L"malformed string on input");
            wchar_t e = m_text[m_pos++];
            switch (e) {
            case L'n':
                s += L'\n';
                break;
            case L't':
                s += L'\t';
                break;
            case L'r':
                s += L'\r';
                break;
            case L'e':
                s += wchar_t(27);
                break;
            default:
                if (e >= L'0' && e <= L'7') {
                    // \nnn: an octal character code of up to three digits
                    unsigned code = static_cast<unsigned>(e - L'0');
                    for (int i = 0; i < 2 && m_pos < m_text.size() && m_text[m_pos] >= L'0' &&
                                    m_text[m_pos] <= L'7';
                         ++i)
                        code = code * 8 + static_cast<unsigned>(m_text[m_pos++] - L'0');
                    s += static_cast<wchar_t>(code);
                } else {
                    s += e; // \" \\ and any other character stand for themselves
                }
            }
        }
    }

    LispValue readAtom() {
        size_t start = m_pos;
        while (m_pos < m_text.size() && !isDelimiter(m_text[m_pos]))
            ++m_pos;
        std::wstring token = m_text.substr(start, m_pos - start);
        LispValue number;
        if (parseNumber(token, number))
            return number;
        return LispValue::symbol(token);
    }

    static bool parseNumber(const std::wstring& t, LispValue& out) {
        // [+-] digits [. digits] [e [+-] digits], or [+-] . digits [e ...]
        size_t i = 0;
        if (i < t.size() && (t[i] == L'+' || t[i] == L'-'))
            ++i;
        size_t intDigits = 0;
        while (i < t.size() && std::iswdigit(static_cast<wint_t>(t[i]))) {
            ++i;
            ++intDigits;
        }
        bool isReal = false;
        size_t fracDigits = 0;
        if (i < t.size() && t[i] == L'.') {
            isReal = true;
            ++i;
            while (i < t.size() && std::iswdigit(static_cast<wint_t>(t[i]))) {
                ++i;
                ++fracDigits;
            }
        }
        if (intDigits + fracDigits == 0)
            return false;
        if (i < t.size() && (t[i] == L'e' || t[i] == L'E')) {
            isReal = true;
            ++i;
            if (i < t.size() && (t[i] == L'+' || t[i] == L'-'))
                ++i;
            size_t expDigits = 0;
            while (i < t.size() && std::iswdigit(static_cast<wint_t>(t[i]))) {
                ++i;
                ++expDigits;
            }
            if (expDigits == 0)
                return false;
        }
        if (i != t.size())
            return false;
        if (!isReal) {
            errno = 0;
            long long v = std::wcstoll(t.c_str(), nullptr, 10);
            if (errno == 0 && v >= INT32_MIN && v <= INT32_MAX) {
                out = LispValue::integer(static_cast<std::int32_t>(v));
                return true;
            }
            // Too big for an integer: the number is read as a real.
        }
        out = LispValue::real(std::wcstod(t.c_str(), nullptr));
        return true;
    }

    const std::wstring& m_text;
    size_t m_pos;
};

} // namespace

bool readNext(const std::wstring& text, size_t& pos, LispValue& out) {
    Reader r(text, pos);
    if (!r.skip()) {
        pos = r.pos();
        return false;
    }
    out = r.read(0);
    pos = r.pos();
    return true;
}

} // namespace lispimpl

std::vector<LispValue> lispReadAll(const std::wstring& text) {
    std::vector<LispValue> out;
    size_t pos = 0;
    LispValue v;
    while (lispimpl::readNext(text, pos, v))
        out.push_back(v);
    return out;
}

} // namespace khost
