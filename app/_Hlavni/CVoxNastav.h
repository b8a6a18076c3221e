// The user's settings: read from the registry when the application loads, written back when it
// unloads.
#pragma once

#include "StdAfx.h"

#include "CVoxPredpony.h"

#include <string>

class CVoxNastav {
public:
    CVoxNastav();
    ~CVoxNastav();
    CVoxNastav(const CVoxNastav&) = delete;
    CVoxNastav& operator=(const CVoxNastav&) = delete;

    DWORD m_nMultiVyber = 0;
    DWORD m_nUchopeni = 0;
    DWORD m_nTxtMtxt = 0;
    DWORD m_nResetLayer = 0;
    DWORD m_nSetByLayer = 0;
    DWORD m_nAttEditMLine = 0;
    DWORD m_nAttEditSingle = 0;
    bool m_bNastaveno = false;
    std::wstring m_sDefMaterial;
    CVoxPredpony m_Predpony;

private:
    static bool s_bInstance;
};

// The one settings object of the application, from its initialisation to its unload.
extern CVoxNastav* g_pNastaveni;
