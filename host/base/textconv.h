// Text conversions at the edges of the host: UTF-8, UTF-16 and the 8-bit code pages.
#pragma once

#include <string>
#include <string_view>

namespace khost {

std::string toUtf8(std::wstring_view text);
std::wstring fromUtf8(std::string_view text);

// Code pages are given by their Windows number (1250, 1252 ...); bytes that the page cannot
// represent become '?' on the way out. Returns false when the page is unknown.
bool toCodePage(std::wstring_view text, int codePage, std::string& out);
bool fromCodePage(std::string_view bytes, int codePage, std::wstring& out);

// UTF-16 little-endian byte strings (files of the Windows world).
std::string toUtf16le(std::wstring_view text);
std::wstring fromUtf16le(std::string_view bytes);

// Upper- and lower-casing by the rules of a locale ("cs-CZ", "cs_CZ" ...).
std::wstring toUpper(std::wstring_view text, const char* locale);
std::wstring toLower(std::wstring_view text, const char* locale);

} // namespace khost
