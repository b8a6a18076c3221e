// The user's prefix for layer names and the prefix of the active drawing.
#pragma once

#include "StdAfx.h"

#include <string>

class CVoxPredpony {
public:
    CVoxPredpony();
    // Writes the global prefix back to the registry when it was read from there.
    ~CVoxPredpony();
    CVoxPredpony(const CVoxPredpony&) = delete;
    CVoxPredpony& operator=(const CVoxPredpony&) = delete;

    // Reads the global prefix: the maker's shared key first, then the product key, else "KB".
    void NactiZRegistru();
    // Writes the global prefix to the maker's shared key.
    void UlozDoRegistru() const;

    const std::wstring& GlobalniPredpona() const { return m_sGlobalni; }
    void NastavGlobalniPredponu(const std::wstring& s) { m_sGlobalni = s; }
    const std::wstring& PredponaVykresu() const { return m_sVykresu; }

    // Full layer name: prefix, underscore, name.
    static std::wstring PlneJmeno(const std::wstring& sPredpona, const std::wstring& sJmeno);
    // Strips a prefix of at most three characters followed by "_"; false when there is none.
    static bool OdeberPredponu(std::wstring& sJmeno);

private:
    std::wstring m_sGlobalni;
    std::wstring m_sVykresu;
    std::wstring m_sIdentitaVykresu;
    bool m_bNacteno = false;
};
