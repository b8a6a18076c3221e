#include "StdAfx.h"

#include "VoxPlatforma.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace VoxPlatforma {

std::string NaAnsi(const char* sUtf8) {
    if (!sUtf8 || !*sUtf8)
        return std::string();
    int nWide = MultiByteToWideChar(CP_UTF8, 0, sUtf8, -1, nullptr, 0);
    if (nWide <= 0)
        return std::string(sUtf8);
    std::wstring sWide(static_cast<size_t>(nWide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, sUtf8, -1, sWide.data(), nWide);
    int nAnsi = WideCharToMultiByte(CP_ACP, 0, sWide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (nAnsi <= 0)
        return std::string(sUtf8);
    std::string sAnsi(static_cast<size_t>(nAnsi), '\0');
    WideCharToMultiByte(CP_ACP, 0, sWide.c_str(), -1, sAnsi.data(), nAnsi, nullptr, nullptr);
    sAnsi.resize(std::strlen(sAnsi.c_str()));
    return sAnsi;
}

bool KonciOddelovacem(const std::wstring& sCesta) {
    return !sCesta.empty() && (sCesta.back() == L'/' || sCesta.back() == L'\\');
}

bool AdresarExistuje(const std::wstring& sCesta) {
    int nUtf8 = WideCharToMultiByte(CP_UTF8, 0, sCesta.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(nUtf8 > 0 ? nUtf8 : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, sCesta.c_str(), -1, s.data(), nUtf8, nullptr, nullptr);
    struct stat st {};
    return ::stat(s.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int ZalozAdresar(const std::wstring& sCesta) {
    if (_wmkdir(sCesta.c_str()) == 0)
        return 0;
    return errno ? errno : -1;
}

} // namespace VoxPlatforma
