#include "dxfgroups.h"

#include "textconv.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

namespace khost::dxf {

ValueKind valueKind(int c) {
    if (c < 0)
        return ValueKind::Unknown;
    if (c <= 9)
        return c == 5 ? ValueKind::Handle : ValueKind::String;
    if (c <= 59)
        return ValueKind::Real;
    if (c <= 79)
        return ValueKind::Int16;
    if (c >= 90 && c <= 99)
        return ValueKind::Int32;
    if (c >= 100 && c <= 109)
        return c == 105 ? ValueKind::Handle : ValueKind::String;
    if (c >= 110 && c <= 149)
        return ValueKind::Real;
    if (c >= 160 && c <= 169)
        return ValueKind::Int64;
    if (c >= 170 && c <= 179)
        return ValueKind::Int16;
    if (c >= 210 && c <= 239)
        return ValueKind::Real;
    if (c >= 270 && c <= 289)
        return ValueKind::Int16;
    if (c >= 290 && c <= 299)
        return ValueKind::Bool;
    if (c >= 300 && c <= 309)
        return ValueKind::String;
    if (c >= 310 && c <= 319)
        return ValueKind::Binary;
    if (c >= 320 && c <= 369)
        return ValueKind::Handle;
    if (c >= 370 && c <= 389)
        return ValueKind::Int16;
    if (c >= 390 && c <= 399)
        return ValueKind::Handle;
    if (c >= 400 && c <= 409)
        return ValueKind::Int16;
    if (c >= 410 && c <= 419)
        return ValueKind::String;
    if (c >= 420 && c <= 429)
        return ValueKind::Int32;
    if (c >= 430 && c <= 439)
        return ValueKind::String;
    if (c >= 440 && c <= 459)
        return ValueKind::Int32;
    if (c >= 460 && c <= 469)
        return ValueKind::Real;
    if (c >= 470 && c <= 479)
        return ValueKind::String;
    if (c >= 480 && c <= 481)
        return ValueKind::Handle;
    if (c == 999)
        return ValueKind::String;
    if (c >= 1000 && c <= 1009)
        return c == 1004 ? ValueKind::Binary : (c == 1005 ? ValueKind::Handle : ValueKind::String);
    if (c >= 1010 && c <= 1059)
        return ValueKind::Real;
    if (c >= 1060 && c <= 1070)
        return ValueKind::Int16;
    if (c == 1071)
        return ValueKind::Int32;
    return ValueKind::Unknown;
}

bool isPointCode(int c) {
    return (c >= 10 && c <= 18) || (c >= 110 && c <= 112) || c == 210 || (c >= 1010 && c <= 1013);
}

// ---------------------------------------------------------------------------------------------
// Tokenizer

namespace {

std::string printable(std::string_view s) {
    std::string out;
    for (char ch : s.substr(0, 40)) {
        auto u = static_cast<unsigned char>(ch);
        out.push_back(u < 0x20 || u == 0x7F ? '?' : ch);
    }
    if (s.size() > 40)
        out += "...";
    return out;
}

} // namespace

Tokenizer::Tokenizer(std::string_view text) : m_text(text) {
    if (m_text.substr(0, 3) == "\xEF\xBB\xBF") // a byte order mark some editors add
        m_pos = 3;
}

bool Tokenizer::readLine(std::string_view& out) {
    if (m_pos >= m_text.size())
        return false;
    const char* begin = m_text.data() + m_pos;
    size_t rest = m_text.size() - m_pos;
    const void* nl = std::memchr(begin, '\n', rest);
    size_t len = nl ? static_cast<size_t>(static_cast<const char*>(nl) - begin) : rest;
    m_pos += nl ? len + 1 : len;
    if (len > 0 && begin[len - 1] == '\r')
        --len;
    out = std::string_view(begin, len);
    ++m_line;
    return true;
}

void Tokenizer::fail(int line, std::string_view message) {
    if (!m_error.empty())
        return;
    m_error = "line " + std::to_string(line) + ": ";
    m_error += message;
}

bool Tokenizer::next(Group& g) {
    if (m_pushed) {
        // The group pushed back is read again from where it began (pushBack went back there).
        m_pushed = false;
        if (!m_haveLast) {
            g = Group();
            return true;
        }
    } else if (!m_error.empty()) {
        return false;
    }
    const size_t startPos = m_pos;
    const int startLine = m_line;
    // The common form first: a code of digits (perhaps signed and padded with spaces) on its own
    // line, then the value line. Anything else goes the careful way below.
    {
        const char* base = m_text.data();
        const char* p = base + m_pos;
        const char* end = base + m_text.size();
        while (p < end && *p == ' ')
            ++p;
        bool negative = p < end && *p == '-';
        if (negative)
            ++p;
        int code = 0, digits = 0;
        for (; p < end && *p >= '0' && *p <= '9' && digits < 6; ++p, ++digits)
            code = code * 10 + (*p - '0');
        while (p < end && *p == ' ')
            ++p;
        if (p < end && *p == '\r')
            ++p;
        if (digits > 0 && p + 1 < end && *p == '\n' && code <= 32767 + (negative ? 1 : 0)) {
            const char* v = ++p;
            const void* nl = std::memchr(p, '\n', static_cast<size_t>(end - p));
            p = nl ? static_cast<const char*>(nl) : end;
            const char* ve = p;
            if (ve > v && ve[-1] == '\r')
                --ve;
            // Field by field from the values at hand (the caller reads the group at once: had it
            // been made elsewhere and copied, that would read it back in other widths than it was
            // stored, and wait for the stores).
            const int c = negative ? -code : code;
            const std::string_view value(v, static_cast<size_t>(ve - v));
            const int line = m_line + 1;
            m_line += 2;
            m_pos = static_cast<size_t>((p < end ? p + 1 : end) - base);
            g.value = value;
            g.code = c;
            g.line = line;
            setLast(startPos, startLine);
            return true;
        }
    }
    std::string_view codeLine;
    if (!readLine(codeLine))
        return false;
    int codeLineNo = m_line;
    std::string_view codeText = trim(codeLine);
    if (codeText.empty()) {
        // Blank lines after the last group are tolerated.
        bool onlyBlank = true;
        for (size_t i = m_pos; i < m_text.size() && onlyBlank; ++i)
            onlyBlank = m_text[i] == ' ' || m_text[i] == '\t' || m_text[i] == '\r' ||
                        m_text[i] == '\n' || m_text[i] == '\x1A';
        if (onlyBlank) {
            m_pos = m_text.size();
            return false;
        }
    }
    long long code = 0;
    if (!parseInt(codeText, code) || code < -32768 || code > 32767) {
        fail(codeLineNo, "a group code was expected, found \"" + printable(codeLine) + "\"");
        return false;
    }
    std::string_view value;
    if (!readLine(value)) {
        fail(codeLineNo,
             "group code " + std::to_string(code) + " has no value: the file is truncated");
        return false;
    }
    g.code = static_cast<int>(code);
    g.value = value;
    g.line = codeLineNo;
    setLast(startPos, startLine);
    return true;
}

void Tokenizer::pushBack() {
    m_pushed = true;
    if (m_haveLast) {
        m_pos = m_lastPos;
        m_line = m_lastLine;
    }
}

// ---------------------------------------------------------------------------------------------
// Values

std::string_view trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r'))
        --e;
    return s.substr(b, e - b);
}

bool parseInt(std::string_view s, long long& out) {
    s = trim(s);
    if (!s.empty() && s[0] == '+')
        s.remove_prefix(1);
    if (s.empty())
        return false;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    if (ec == std::errc() && p == s.data() + s.size())
        return true;
    // Some writers put integral values in real form ("1.0").
    double d = 0;
    if (ec == std::errc() && parseReal(s, d) && d == std::floor(d) && std::fabs(d) < 9.0e18) {
        out = static_cast<long long>(d);
        return true;
    }
    return false;
}

namespace {

// Decimal numbers of up to 19 digits without an exponent ("-12.375"), as nearly all numbers of
// a file are: the digits as an integer of at most 2^53 and a power of ten of at most 22 are both
// exact doubles, so one division gives the correctly rounded value, as from_chars would. False
// for any other text.
bool parsePlainDecimal(std::string_view s, double& out) {
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = s.data();
    const char* end = p + s.size();
    bool negative = p < end && *p == '-';
    if (negative)
        ++p;
    std::uint64_t mantissa = 0;
    int digits = 0, fraction = 0;
    const char* intStart = p;
    for (; p < end && *p >= '0' && *p <= '9'; ++p, ++digits)
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
    if (p == intStart || digits > 19)
        return false;
    if (p < end && *p == '.') {
        const char* fracStart = ++p;
        for (; p < end && *p >= '0' && *p <= '9'; ++p, ++digits)
            mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
        fraction = static_cast<int>(p - fracStart);
        if (fraction == 0 || digits > 19)
            return false;
    }
    if (p != end || fraction > 22 || mantissa > (std::uint64_t{1} << 53))
        return false;
    double v = static_cast<double>(mantissa);
    if (fraction)
        v /= kPow10[fraction];
    out = negative ? -v : v;
    return true;
}

} // namespace

bool parseReal(std::string_view s, double& out) {
    if (parsePlainDecimal(s, out))
        return true;
    s = trim(s);
    if (!s.empty() && s[0] == '+')
        s.remove_prefix(1);
    if (s.empty())
        return false;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size() && std::isfinite(out);
}

bool parseHandle(std::string_view s, std::uint64_t& out) {
    s = trim(s);
    if (s.empty() || s.size() > 16)
        return false;
    // At most 16 hexadecimal digits (no overflow), nothing else. As std::from_chars, out gets
    // the digits before a stray character, and stays as it was when there are none.
    std::uint64_t v = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        unsigned d;
        if (c >= '0' && c <= '9') {
            d = static_cast<unsigned>(c - '0');
        } else if (c >= 'A' && c <= 'F') {
            d = static_cast<unsigned>(c - 'A' + 10);
        } else if (c >= 'a' && c <= 'f') {
            d = static_cast<unsigned>(c - 'a' + 10);
        } else {
            if (i > 0)
                out = v;
            return false;
        }
        v = v << 4 | d;
    }
    out = v;
    return true;
}

namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The shortest text of v in fixed notation when v has a decimal form of few digits (most
// coordinates of a drawing), else 0. With the fewest decimals k for which an integer m gives
// m / 10^k == v, the text reads back as v and no shorter fixed text does; and when 10^-k is
// wider than two units in the last place of v, m is the only k-decimal text that reads back as v,
// so it is the one std::to_chars gives. Values where to_chars would choose the exponent form are
// left to it.
size_t plainRealText(double v, char* buf) {
    const double a = std::fabs(v);
    if (!(a >= 1e-3 && a < 1e15))
        return 0;
    // The distance to the next double up (a is positive, finite and normal here).
    const double ulp = std::bit_cast<double>(std::bit_cast<std::uint64_t>(a) + 1) - a;
    for (int k = 0; k < 16; ++k) {
        const double scale = kPowersOfTen[k];
        if (1.0 / scale <= 2 * ulp)
            return 0;
        const double w = std::nearbyint(a * scale);
        if (w == 0.0 || w / scale != a)
            continue;
        if (w >= 9007199254740992.0)
            return 0;
        char digits[24];
        auto [end, ec] =
            std::to_chars(digits, digits + sizeof digits, static_cast<std::uint64_t>(w));
        const int n = static_cast<int>(end - digits);
        // The exponent form: significant digits, a point when more than one, "e+XX".
        int significant = n;
        while (significant > 1 && digits[significant - 1] == '0')
            --significant;
        const int fixed = (k == 0 ? n : std::max(n, k + 1) + 1);
        const int exponent = significant + (significant > 1 ? 1 : 0) + 4;
        if (exponent < fixed)
            return 0;
        char* p = buf;
        if (v < 0)
            *p++ = '-';
        if (k == 0) {
            std::memcpy(p, digits, static_cast<size_t>(n));
            p += n;
            std::memcpy(p, ".0", 2);
            p += 2;
        } else if (n > k) {
            std::memcpy(p, digits, static_cast<size_t>(n - k));
            p += n - k;
            *p++ = '.';
            std::memcpy(p, digits + (n - k), static_cast<size_t>(k));
            p += k;
        } else {
            *p++ = '0';
            *p++ = '.';
            std::memset(p, '0', static_cast<size_t>(k - n));
            p += k - n;
            std::memcpy(p, digits, static_cast<size_t>(n));
            p += n;
        }
        return static_cast<size_t>(p - buf);
    }
    return 0;
}

// The text of a real into buf (at least 32 characters); its length.
size_t realText(double v, char* buf) {
    if (!std::isfinite(v) || v == 0.0) {
        std::memcpy(buf, "0.0", 3);
        return 3;
    }
    if (size_t n = plainRealText(v, buf))
        return n;
    auto [p, ec] = std::to_chars(buf, buf + 28, v);
    size_t n = ec == std::errc() ? static_cast<size_t>(p - buf) : 0;
    if (std::memchr(buf, '.', n) == nullptr && std::memchr(buf, 'e', n) == nullptr) {
        std::memcpy(buf + n, ".0", 2);
        n += 2;
    }
    return n;
}

} // namespace

std::string formatReal(double v) {
    char buf[32];
    return std::string(buf, realText(v, buf));
}

// ---------------------------------------------------------------------------------------------
// Writer

namespace {

// The code line of a group into buf (at least 16 characters): right-aligned in three columns,
// with its line end. Its length.
size_t codeText(int c, char* buf) {
    if (c >= 0 && c < 1000) {
        buf[0] = buf[1] = ' ';
        buf[3] = '\n';
        int i = 2;
        do {
            buf[i--] = static_cast<char>('0' + c % 10);
            c /= 10;
        } while (c);
        return 4;
    }
    char digits[16];
    auto [p, ec] = std::to_chars(digits, digits + sizeof digits, c);
    size_t n = static_cast<size_t>(p - digits);
    size_t pad = n < 3 ? 3 - n : 0;
    std::memset(buf, ' ', pad);
    std::memcpy(buf + pad, digits, n);
    buf[pad + n] = '\n';
    return pad + n + 1;
}

} // namespace

void Writer::text(int c, std::string_view bytes) {
    // A group of a short text goes to the buffer in one piece.
    char buf[256];
    size_t n = codeText(c, buf);
    if (bytes.size() < sizeof buf - n) {
        std::memcpy(buf + n, bytes.data(), bytes.size());
        n += bytes.size();
        buf[n++] = '\n';
        m_out.append(buf, n);
        return;
    }
    m_out.append(buf, n);
    m_out.append(bytes);
    m_out.push_back('\n');
}

bool Writer::plainWide(int c, const wchar_t* s) {
    if (!s)
        return false;
    char buf[256];
    size_t n = codeText(c, buf);
    size_t i = 0;
    for (; s[i]; ++i) {
        if (s[i] < 0x20 || s[i] >= 0x7F || s[i] == L'^')
            return false;
        if (n + i + 1 < sizeof buf)
            buf[n + i] = static_cast<char>(s[i]);
    }
    if (n + i + 1 < sizeof buf) {
        buf[n + i] = '\n';
        m_out.append(buf, n + i + 1);
        return true;
    }
    // A long text: straight into the buffer.
    m_out.append(buf, n);
    const size_t at = m_out.size();
    m_out.resize(at + i + 1);
    char* d = m_out.data() + at;
    for (size_t k = 0; k < i; ++k)
        d[k] = static_cast<char>(s[k]);
    d[i] = '\n';
    return true;
}

void Writer::real(int c, double v) {
    char buf[64];
    size_t n = codeText(c, buf);
    n += realText(v, buf + n);
    buf[n++] = '\n';
    m_out.append(buf, n);
}

void Writer::integer(int c, long long v) {
    char buf[48];
    size_t n = codeText(c, buf);
    auto [p, ec] = std::to_chars(buf + n, buf + sizeof buf, v);
    *p++ = '\n';
    m_out.append(buf, p);
}

void Writer::handle(int c, std::uint64_t h) {
    char buf[48];
    size_t n = codeText(c, buf);
    auto [p, ec] = std::to_chars(buf + n, buf + sizeof buf, h, 16);
    for (char* q = buf + n; q < p; ++q)
        if (*q >= 'a' && *q <= 'f')
            *q = static_cast<char>(*q - 'a' + 'A');
    *p++ = '\n';
    m_out.append(buf, p);
}

void Writer::point(int c, double x, double y, double z) {
    char buf[192];
    size_t n = 0;
    const double v[3] = {x, y, z};
    for (int k = 0; k < 3; ++k) {
        n += codeText(c + 10 * k, buf + n);
        n += realText(v[k], buf + n);
        buf[n++] = '\n';
    }
    m_out.append(buf, n);
}

void Writer::point2d(int c, double x, double y) {
    char buf[128];
    size_t n = 0;
    const double v[2] = {x, y};
    for (int k = 0; k < 2; ++k) {
        n += codeText(c + 10 * k, buf + n);
        n += realText(v[k], buf + n);
        buf[n++] = '\n';
    }
    m_out.append(buf, n);
}

// ---------------------------------------------------------------------------------------------
// Texts

bool isValidUtf8(std::string_view s) {
    size_t i = 0, n = s.size();
    while (i < n) {
        auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t len;
        std::uint32_t cp;
        if ((c & 0xE0) == 0xC0) {
            len = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > n)
            return false;
        for (size_t k = 1; k < len; ++k) {
            auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        static const std::uint32_t minimum[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < minimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

namespace {

bool isAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

int hexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    return -1;
}

// The code unit of a \U+XXXX escape at text[i], or -1.
long escapeAt(std::wstring_view text, size_t i) {
    if (i + 7 > text.size() || text[i] != L'\\' || (text[i + 1] != L'U' && text[i + 1] != L'u') ||
        text[i + 2] != L'+')
        return -1;
    long v = 0;
    for (size_t k = 3; k < 7; ++k) {
        int d = hexDigit(text[i + k]);
        if (d < 0)
            return -1;
        v = v * 16 + d;
    }
    return v;
}

void appendEscape(std::string& out, unsigned v) {
    static const char hex[] = "0123456789ABCDEF";
    out += "\\U+";
    for (int shift = 12; shift >= 0; shift -= 4)
        out.push_back(hex[(v >> shift) & 0xF]);
}

} // namespace

std::wstring decodeUnicodeEscapes(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        long v = escapeAt(text, i);
        if (v < 0) {
            out.push_back(text[i++]);
            continue;
        }
        i += 7;
        if (v >= 0xD800 && v <= 0xDBFF) {
            long lo = escapeAt(text, i);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                v = 0x10000 + ((v - 0xD800) << 10) + (lo - 0xDC00);
                i += 7;
            }
        }
        out.push_back(static_cast<wchar_t>(v));
    }
    return out;
}

std::wstring TextCodec::decode(std::string_view bytes) const {
    if (isAscii(bytes)) {
        std::wstring out(bytes.begin(), bytes.end());
        if (!isUtf8() && out.find(L'\\') != std::wstring::npos)
            return decodeUnicodeEscapes(out);
        return out;
    }
    if (isUtf8() && isValidUtf8(bytes))
        return fromUtf8(bytes);
    std::wstring out;
    if (!fromCodePage(bytes, m_codePage, out) && !fromCodePage(bytes, 1252, out))
        out = fromUtf8(bytes);
    return out.find(L'\\') != std::wstring::npos ? decodeUnicodeEscapes(out) : out;
}

std::string TextCodec::encode(std::wstring_view text) const {
    if (isUtf8())
        return toUtf8(text);
    std::string out;
    out.reserve(text.size());
    std::wstring one, back;
    std::string bytes;
    for (wchar_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        one.assign(1, c);
        if (toCodePage(one, m_codePage, bytes) && fromCodePage(bytes, m_codePage, back) &&
            back == one) {
            out += bytes;
            continue;
        }
        auto v = static_cast<unsigned>(c);
        if (v > 0xFFFF) {
            v -= 0x10000;
            appendEscape(out, 0xD800 + (v >> 10));
            appendEscape(out, 0xDC00 + (v & 0x3FF));
        } else {
            appendEscape(out, v);
        }
    }
    return out;
}

namespace {

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char a = s[i];
        if (a >= 'a' && a <= 'z')
            a = static_cast<char>(a - 'a' + 'A');
        if (a != prefix[i])
            return false;
    }
    return true;
}

int number(std::string_view s) {
    long long v = 0;
    if (s.empty() || s[0] < '0' || s[0] > '9' || !parseInt(s, v) || v <= 0 || v > 65535)
        return 0;
    return static_cast<int>(v);
}

} // namespace

int codePageFromName(std::string_view name) {
    name = trim(name);
    if (startsWithNoCase(name, "ANSI_"))
        return number(name.substr(5));
    if (startsWithNoCase(name, "DOS"))
        return number(name.substr(3));
    if (startsWithNoCase(name, "ISO8859-")) {
        int n = number(name.substr(8));
        return n > 0 && n <= 16 ? 28590 + n : 0;
    }
    if (startsWithNoCase(name, "UTF8") || startsWithNoCase(name, "UTF-8"))
        return 65001;
    return 0;
}

std::string codePageName(int codePage) {
    if (codePage == 65001)
        return "UTF8";
    if (codePage > 28590 && codePage <= 28606)
        return "ISO8859-" + std::to_string(codePage - 28590);
    if (codePage < 900 && codePage != 874)
        return "DOS" + std::to_string(codePage);
    return "ANSI_" + std::to_string(codePage);
}

int acadVersion(std::string_view acadver) {
    acadver = trim(acadver);
    if (acadver.size() != 6 || !startsWithNoCase(acadver, "AC"))
        return 0;
    return number(acadver.substr(2));
}

} // namespace khost::dxf
