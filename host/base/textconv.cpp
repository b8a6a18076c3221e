#include "textconv.h"

#include <unicode/ucnv.h>
#include <unicode/utf8.h>
#include <unicode/unistr.h>
#include <unicode/locid.h>

#include <memory>
#include <string>

namespace khost {
namespace {

icu::UnicodeString toIcu(std::wstring_view text) {
    static_assert(sizeof(wchar_t) == 4, "wchar_t holds UTF-32 on this platform");
    return icu::UnicodeString::fromUTF32(reinterpret_cast<const UChar32*>(text.data()),
                                         static_cast<int32_t>(text.size()));
}

std::wstring fromIcu(const icu::UnicodeString& s) {
    std::wstring out;
    out.reserve(static_cast<size_t>(s.length()));
    for (int32_t i = 0; i < s.length();) {
        UChar32 c = s.char32At(i);
        out.push_back(static_cast<wchar_t>(c));
        i = s.moveIndex32(i, 1);
    }
    return out;
}

std::string converterName(int codePage) {
    switch (codePage) {
    case 65001:
        return "UTF-8";
    case 20127:
        return "US-ASCII";
    case 28591:
        return "ISO-8859-1";
    case 28592:
        return "ISO-8859-2";
    default:
        if (codePage == 874 || (codePage >= 1250 && codePage <= 1258))
            return "windows-" + std::to_string(codePage);
        return "ibm-" + std::to_string(codePage);
    }
}

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr openConverter(int codePage) {
    UErrorCode status = U_ZERO_ERROR;
    ConverterPtr conv(ucnv_open(converterName(codePage).c_str(), &status));
    if (U_FAILURE(status))
        return nullptr;
    return conv;
}

} // namespace

std::string toUtf8(std::wstring_view text) {
    std::string out;
    out.resize(text.size() * 4);
    auto* p = reinterpret_cast<uint8_t*>(out.data());
    int32_t len = 0;
    for (wchar_t wc : text) {
        auto c = static_cast<UChar32>(wc);
        if (c < 0 || c > 0x10FFFF || U_IS_SURROGATE(c))
            c = 0xFFFD;
        U8_APPEND_UNSAFE(p, len, c);
    }
    out.resize(static_cast<size_t>(len));
    return out;
}

std::wstring fromUtf8(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const uint8_t*>(text.data());
    const auto n = static_cast<int32_t>(text.size());
    int32_t i = 0;
    while (i < n) {
        UChar32 c;
        U8_NEXT(p, i, n, c);
        out.push_back(static_cast<wchar_t>(c < 0 ? 0xFFFD : c));
    }
    return out;
}

bool toCodePage(std::wstring_view text, int codePage, std::string& out) {
    ConverterPtr conv = openConverter(codePage);
    if (!conv)
        return false;
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setSubstChars(conv.get(), "?", 1, &status);
    status = U_ZERO_ERROR;
    icu::UnicodeString u = toIcu(text);
    out.assign(static_cast<size_t>(u.length()) * 4 + 4, '\0');
    int32_t len = ucnv_fromUChars(conv.get(), out.data(), static_cast<int32_t>(out.size()),
                                  u.getBuffer(), u.length(), &status);
    if (U_FAILURE(status))
        return false;
    out.resize(static_cast<size_t>(len));
    return true;
}

bool fromCodePage(std::string_view bytes, int codePage, std::wstring& out) {
    ConverterPtr conv = openConverter(codePage);
    if (!conv)
        return false;
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString u(bytes.data(), static_cast<int32_t>(bytes.size()), conv.get(), status);
    if (U_FAILURE(status))
        return false;
    out = fromIcu(u);
    return true;
}

std::string toUtf16le(std::wstring_view text) {
    icu::UnicodeString u = toIcu(text);
    std::string out;
    out.reserve(static_cast<size_t>(u.length()) * 2);
    for (int32_t i = 0; i < u.length(); ++i) {
        UChar c = u.charAt(i);
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return out;
}

std::wstring fromUtf16le(std::string_view bytes) {
    icu::UnicodeString u;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto lo = static_cast<unsigned char>(bytes[i]);
        auto hi = static_cast<unsigned char>(bytes[i + 1]);
        u.append(static_cast<UChar>(lo | (hi << 8)));
    }
    return fromIcu(u);
}

std::wstring toUpper(std::wstring_view text, const char* locale) {
    icu::UnicodeString u = toIcu(text);
    u.toUpper(icu::Locale::createCanonical(locale));
    return fromIcu(u);
}

std::wstring toLower(std::wstring_view text, const char* locale) {
    icu::UnicodeString u = toIcu(text);
    u.toLower(icu::Locale::createCanonical(locale));
    return fromIcu(u);
}

} // namespace khost
