// The application's one exception class and the report that shows it.
#pragma once

#include "StdAfx.h"

#include <exception>

class CVoxException : public std::exception {
public:
    // The message is a literal of the throw site; the text is kept in Windows-1250.
    CVoxException(const char* sZprava, int nRadek, const char* sSoubor);
    CVoxException(const char* sZprava, int nRadek, const char* sSoubor, int nChyba);
    CVoxException(const CVoxException& e);
    CVoxException& operator=(const CVoxException& e);

    const char* what() const noexcept override { return m_sText; }

    static constexpr int VELIKOST_TEXTU = 250;

private:
    char m_sText[VELIKOST_TEXTU];
};

// Throws a CVoxException with the place of the throw site.
#define VOX_THROW(zprava) throw CVoxException((zprava), __LINE__, __FILE__)
#define VOX_THROW_ERR(zprava, chyba) throw CVoxException((zprava), __LINE__, __FILE__, (int)(chyba))

// Shows a caught exception in a message box over the given window (the host's main window when
// none is given). An exception with an empty text shows nothing.
void ZobrazVyjimku(const std::exception& e, HWND hWnd = nullptr);
