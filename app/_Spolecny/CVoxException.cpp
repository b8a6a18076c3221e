#include "CVoxException.h"

#include "VoxPlatforma.h"

#include <cstdio>
#include <cstring>

namespace {

// The report carries the source file by its name alone.
const char* JmenoSouboru(const char* sSoubor) {
    if (!sSoubor)
        return "";
    const char* p = sSoubor;
    for (const char* c = sSoubor; *c; ++c)
        if (*c == '/' || *c == '\\')
            p = c + 1;
    return p;
}

void Sestav(char* sCil, const char* sFormat, const std::string& sZprava, int nCislo1, int nCislo2,
            const char* sSoubor, bool bSChybou) {
    const std::string sZpravaAnsi = VoxPlatforma::NaAnsi(sZprava.c_str());
    int n;
    // A report longer than the buffer is cut at its end rather than lost.
    if (bSChybou)
        n = std::snprintf(sCil, CVoxException::VELIKOST_TEXTU, sFormat, sZpravaAnsi.c_str(), nCislo1,
                          nCislo2, JmenoSouboru(sSoubor));
    else
        n = std::snprintf(sCil, CVoxException::VELIKOST_TEXTU, sFormat, sZpravaAnsi.c_str(), nCislo1,
                          JmenoSouboru(sSoubor));
    if (n < 0)
        sCil[0] = '\0';
}

} // namespace

CVoxException::CVoxException(const char* sZprava, int nRadek, const char* sSoubor) {
    Sestav(m_sText, "%s, Line %i, \n%s", sZprava ? sZprava : "", nRadek, 0, sSoubor, false);
}

CVoxException::CVoxException(const char* sZprava, int nRadek, const char* sSoubor, int nChyba) {
    Sestav(m_sText, "%s, Err: %i, Line %i, \n%s", sZprava ? sZprava : "", nChyba, nRadek, sSoubor,
           true);
}

CVoxException::CVoxException(const CVoxException& e) : std::exception(e) {
    std::memcpy(m_sText, e.m_sText, sizeof(m_sText));
}

CVoxException& CVoxException::operator=(const CVoxException& e) {
    std::exception::operator=(e);
    std::memcpy(m_sText, e.m_sText, sizeof(m_sText));
    return *this;
}

void ZobrazVyjimku(const std::exception& e, HWND hWnd) {
    if (!hWnd)
        hWnd = adsw_acadMainWnd();
    const char* sText = e.what();
    if (!sText || !*sText)
        return;
    MessageBoxA(hWnd, sText, VoxPlatforma::NaAnsi("Program vyvolal výjimku").c_str(),
                MB_ICONINFORMATION | MB_OK);
}
