// printf-style formatting with the conventions of the Windows C runtime.
//
// glibc and the Windows runtime disagree about string and character conversions in wide
// formats: for glibc "%s" in a wide format is a narrow string and "%c" a narrow character, for
// Windows they are wide ("%S"/"%C"/"%hs" are the narrow ones), and in narrow formats "%S" is wide
// for both. Handing a Windows format to vswprintf would read wide strings as narrow ones. So the
// format is interpreted here: strings and characters are formatted by this code (narrow text
// meeting wide text is converted as UTF-8, never through the C library's locale), and each
// numeric conversion is passed alone to snprintf with its length modifier translated (Windows
// "l" is 32 bits, "I64" and "ll" are 64, "I" is pointer-sized, "L" is a plain double). "%p"
// prints as the Windows runtime does (upper-case hex, 16 digits) and "%n" is refused.
#include "winhost.h"
#include "wincrt.h"

#include "textconv.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

namespace khost {
namespace {

template <typename C> struct FieldFormat {
    std::string flags;
    int width = -1;
    int precision = -1;
    enum Len { None, HH, H, L, LL, Ptr, Max, Size, Diff } len = None;
    bool wideLen = false;   // 'l' or 'w' before s/c
    bool narrowLen = false; // 'h' before s/c
};

template <typename C> std::basic_string<C> widen(const std::string& ascii) {
    return std::basic_string<C>(ascii.begin(), ascii.end());
}

template <typename C> std::basic_string<C> fromWide(std::wstring_view s);
template <> std::wstring fromWide<wchar_t>(std::wstring_view s) {
    return std::wstring(s);
}
template <> std::string fromWide<char>(std::wstring_view s) {
    return toUtf8(s);
}
template <typename C> std::basic_string<C> fromNarrow(std::string_view s);
template <> std::wstring fromNarrow<wchar_t>(std::string_view s) {
    return fromUtf8(s);
}
template <> std::string fromNarrow<char>(std::string_view s) {
    return std::string(s);
}

template <typename C>
void pad(std::basic_string<C>& out, std::basic_string<C> text, const FieldFormat<C>& field) {
    size_t width = field.width > 0 ? static_cast<size_t>(field.width) : 0;
    if (text.size() < width) {
        bool left = field.flags.find('-') != std::string::npos;
        C fill = (!left && field.flags.find('0') != std::string::npos) ? C('0') : C(' ');
        if (left)
            text.append(width - text.size(), C(' '));
        else
            text.insert(0, width - text.size(), fill);
    }
    out += text;
}

std::string numberFormat(const std::string& flags, int width, int precision, const char* len,
                         char conv) {
    std::string s = "%" + flags;
    if (width >= 0)
        s += std::to_string(width);
    if (precision >= 0) {
        s += '.';
        s += std::to_string(precision);
    }
    s += len;
    s += conv;
    return s;
}

template <typename T> std::string snprintfOne(const std::string& format, T value) {
    char small[128];
    int n = std::snprintf(small, sizeof small, format.c_str(), value);
    if (n < 0)
        return {};
    if (static_cast<size_t>(n) < sizeof small)
        return std::string(small, static_cast<size_t>(n));
    std::string big(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), format.c_str(), value);
    big.resize(static_cast<size_t>(n));
    return big;
}

template <typename C>
std::optional<std::basic_string<C>> format(const C* fmt, va_list args, bool wideFormat) {
    if (!fmt)
        return std::nullopt;
    va_list ap;
    va_copy(ap, args);
    std::basic_string<C> out;
    bool ok = true;
    const C* p = fmt;
    while (ok && *p) {
        if (*p != C('%')) {
            out += *p++;
            continue;
        }
        ++p;
        if (*p == C('%')) {
            out += C('%');
            ++p;
            continue;
        }
        FieldFormat<C> field;
        while (*p == C('-') || *p == C('+') || *p == C(' ') || *p == C('#') || *p == C('0'))
            field.flags += static_cast<char>(*p++);
        if (*p == C('*')) {
            ++p;
            int w = va_arg(ap, int);
            if (w < 0) {
                field.flags += '-';
                w = w == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : -w;
            }
            field.width = w;
        } else {
            while (*p >= C('0') && *p <= C('9')) {
                field.width = (field.width < 0 ? 0 : field.width) * 10 + (*p - C('0'));
                if (field.width > 100000000) {
                    ok = false;
                    break;
                }
                ++p;
            }
        }
        if (*p == C('.')) {
            ++p;
            field.precision = 0;
            if (*p == C('*')) {
                ++p;
                int prec = va_arg(ap, int);
                field.precision = prec < 0 ? -1 : prec;
            } else {
                while (*p >= C('0') && *p <= C('9')) {
                    field.precision = field.precision * 10 + (*p - C('0'));
                    if (field.precision > 100000000) {
                        ok = false;
                        break;
                    }
                    ++p;
                }
            }
        }
        // Length modifiers, Windows style.
        if (*p == C('h')) {
            ++p;
            field.narrowLen = true;
            field.len = FieldFormat<C>::H;
            if (*p == C('h')) {
                ++p;
                field.len = FieldFormat<C>::HH;
            }
        } else if (*p == C('l')) {
            ++p;
            field.wideLen = true;
            field.len = FieldFormat<C>::L;
            if (*p == C('l')) {
                ++p;
                field.len = FieldFormat<C>::LL;
            }
        } else if (*p == C('w')) {
            ++p;
            field.wideLen = true;
            field.len = FieldFormat<C>::L;
        } else if (*p == C('L')) {
            ++p; // long double is double in the Windows runtime
        } else if (*p == C('I')) {
            ++p;
            if (p[0] == C('6') && p[1] == C('4')) {
                p += 2;
                field.len = FieldFormat<C>::LL;
            } else if (p[0] == C('3') && p[1] == C('2')) {
                p += 2;
                field.len = FieldFormat<C>::None;
            } else {
                field.len = FieldFormat<C>::Ptr;
            }
        } else if (*p == C('j')) {
            ++p;
            field.len = FieldFormat<C>::Max;
        } else if (*p == C('z')) {
            ++p;
            field.len = FieldFormat<C>::Size;
        } else if (*p == C('t')) {
            ++p;
            field.len = FieldFormat<C>::Diff;
        }
        C conv = *p;
        if (!conv) {
            ok = false;
            break;
        }
        ++p;
        switch (conv) {
        case C('d'):
        case C('i'): {
            long long v = 0;
            switch (field.len) {
            case FieldFormat<C>::HH:
                v = static_cast<signed char>(va_arg(ap, int));
                break;
            case FieldFormat<C>::H:
                v = static_cast<short>(va_arg(ap, int));
                break;
            case FieldFormat<C>::None:
            case FieldFormat<C>::L:
                v = va_arg(ap, int);
                break;
            default:
                v = va_arg(ap, long long);
                break;
            }
            out += widen<C>(
                snprintfOne(numberFormat(field.flags, field.width, field.precision, "ll", 'd'), v));
            break;
        }
        case C('u'):
        case C('o'):
        case C('x'):
        case C('X'): {
            unsigned long long v = 0;
            switch (field.len) {
            case FieldFormat<C>::HH:
                v = static_cast<unsigned char>(va_arg(ap, unsigned int));
                break;
            case FieldFormat<C>::H:
                v = static_cast<unsigned short>(va_arg(ap, unsigned int));
                break;
            case FieldFormat<C>::None:
            case FieldFormat<C>::L:
                v = va_arg(ap, unsigned int);
                break;
            default:
                v = va_arg(ap, unsigned long long);
                break;
            }
            out += widen<C>(snprintfOne(numberFormat(field.flags, field.width, field.precision,
                                                     "ll", static_cast<char>(conv)),
                                        v));
            break;
        }
        case C('e'):
        case C('E'):
        case C('f'):
        case C('F'):
        case C('g'):
        case C('G'):
        case C('a'):
        case C('A'): {
            double v = va_arg(ap, double);
            out += widen<C>(snprintfOne(numberFormat(field.flags, field.width, field.precision, "",
                                                     static_cast<char>(conv)),
                                        v));
            break;
        }
        case C('p'): {
            auto v = reinterpret_cast<std::uintptr_t>(va_arg(ap, void*));
            std::string hex = snprintfOne("%016llX", static_cast<unsigned long long>(v));
            pad(out, widen<C>(hex), field);
            break;
        }
        case C('c'):
        case C('C'): {
            bool wideArg = field.wideLen || (!field.narrowLen && ((conv == C('c')) == wideFormat));
            std::basic_string<C> text;
            if (wideArg) {
                auto ch = static_cast<wchar_t>(va_arg(ap, wint_t));
                text = fromWide<C>(std::wstring_view(&ch, 1));
            } else {
                char ch = static_cast<char>(va_arg(ap, int));
                text = fromNarrow<C>(std::string_view(&ch, 1));
            }
            pad(out, text, field);
            break;
        }
        case C('s'):
        case C('S'): {
            bool wideArg = field.wideLen || (!field.narrowLen && ((conv == C('s')) == wideFormat));
            std::basic_string<C> text;
            if (wideArg) {
                const wchar_t* s = va_arg(ap, const wchar_t*);
                if (!s)
                    s = L"(null)";
                size_t n = field.precision >= 0
                               ? std::wcslen(s) < static_cast<size_t>(field.precision)
                                     ? std::wcslen(s)
                                     : static_cast<size_t>(field.precision)
                               : std::wcslen(s);
                text = fromWide<C>(std::wstring_view(s, n));
            } else {
                const char* s = va_arg(ap, const char*);
                if (!s)
                    s = "(null)";
                size_t n = field.precision >= 0 ? strnlen(s, static_cast<size_t>(field.precision))
                                                : std::strlen(s);
                text = fromNarrow<C>(std::string_view(s, n));
            }
            pad(out, text, field);
            break;
        }
        default:
            ok = false; // "%n" and unknown conversions are refused
            break;
        }
    }
    va_end(ap);
    if (!ok)
        return std::nullopt;
    return out;
}

} // namespace

std::optional<std::wstring> formatWindows(const wchar_t* fmt, va_list args) {
    return format<wchar_t>(fmt, args, true);
}

std::optional<std::string> formatWindows(const char* fmt, va_list args) {
    return format<char>(fmt, args, false);
}

} // namespace khost

namespace {

template <typename C>
int boundedFormat(C* buffer, size_t size, size_t count, const C* fmt, va_list args) {
    // No buffer is larger than half the address space (and the compiler sees the bound).
    if (!buffer || size == 0 || size > static_cast<size_t>(PTRDIFF_MAX) / sizeof(C)) {
        errno = EINVAL;
        return -1;
    }
    std::optional<std::basic_string<C>> text = khost::formatWindows(fmt, args);
    if (!text) {
        buffer[0] = 0;
        errno = EINVAL;
        return -1;
    }
    size_t n = text->size();
    if (count == _TRUNCATE || count < size) {
        const size_t limit = std::min(count == _TRUNCATE ? size - 1 : count, size - 1);
        if (n > limit) {
            std::copy(text->data(), text->data() + limit, buffer);
            buffer[limit] = 0;
            return -1;
        }
    } else if (n >= size) {
        buffer[0] = 0;
        errno = ERANGE;
        return -1;
    }
    std::memcpy(buffer, text->data(), n * sizeof(C));
    buffer[n] = 0;
    return static_cast<int>(n);
}

} // namespace

int vsprintf_s(char* buffer, size_t size, const char* format, va_list args) {
    return boundedFormat(buffer, size, size, format, args);
}

int sprintf_s(char* buffer, size_t size, const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    int n = vsprintf_s(buffer, size, format, ap);
    va_end(ap);
    return n;
}

int vswprintf_s(wchar_t* buffer, size_t size, const wchar_t* format, va_list args) {
    return boundedFormat(buffer, size, size, format, args);
}

int swprintf_s(wchar_t* buffer, size_t size, const wchar_t* format, ...) {
    va_list ap;
    va_start(ap, format);
    int n = vswprintf_s(buffer, size, format, ap);
    va_end(ap);
    return n;
}

int _vsnprintf_s(char* buffer, size_t size, size_t count, const char* format, va_list args) {
    return boundedFormat(buffer, size, count, format, args);
}

int _snprintf_s(char* buffer, size_t size, size_t count, const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    int n = _vsnprintf_s(buffer, size, count, format, ap);
    va_end(ap);
    return n;
}

int _vsnwprintf_s(wchar_t* buffer, size_t size, size_t count, const wchar_t* format, va_list args) {
    return boundedFormat(buffer, size, count, format, args);
}

int _snwprintf_s(wchar_t* buffer, size_t size, size_t count, const wchar_t* format, ...) {
    va_list ap;
    va_start(ap, format);
    int n = _vsnwprintf_s(buffer, size, count, format, ap);
    va_end(ap);
    return n;
}

int _vscprintf(const char* format, va_list args) {
    std::optional<std::string> s = khost::formatWindows(format, args);
    return s ? static_cast<int>(s->size()) : -1;
}

int _vscwprintf(const wchar_t* format, va_list args) {
    std::optional<std::wstring> s = khost::formatWindows(format, args);
    return s ? static_cast<int>(s->size()) : -1;
}
