// The few places where the application's Windows habits meet this platform: narrow texts in the
// Windows-1250 code page, the path separator, folders.
#pragma once

#include <string>

namespace VoxPlatforma {

// Source literals are UTF-8; the narrow texts the application shows (exception reports) are in
// the ANSI code page of a Czech system, Windows-1250.
std::string NaAnsi(const char* sUtf8);

// The separator of folders in paths, and whether a path ends with one.
constexpr wchar_t ODDELOVAC = L'/';
bool KonciOddelovacem(const std::wstring& sCesta);

bool AdresarExistuje(const std::wstring& sCesta);
// Creates one folder; returns 0 or the C runtime's error number.
int ZalozAdresar(const std::wstring& sCesta);

} // namespace VoxPlatforma
