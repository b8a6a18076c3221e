#include "StdAfx.h"

#include "CVoxPredpony.h"

#include "CVoxException.h"
#include "CVoxRegistry.h"

CVoxPredpony::CVoxPredpony() : m_sGlobalni(L"KB"), m_sVykresu(L"KB") {
    // The drawing prefix is valid for the drawing that is active when the module loads.
    if (AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase())
        m_sIdentitaVykresu = pDb->fingerprintGuid();
}

CVoxPredpony::~CVoxPredpony() {
    if (!m_bNacteno)
        return;
    try {
        UlozDoRegistru();
    } catch (const std::exception& e) {
        ZobrazVyjimku(e);
    }
}

void CVoxPredpony::NactiZRegistru() {
    std::wstring s;
    if (CVoxRegistry::CtiRetezec(REG_KLIC_VYROBCE, L"PREDPONA", s, REG_PODKLIC_COMMON))
        m_sGlobalni = s;
    else if (CVoxRegistry::CtiRetezec(REG_KLIC_PRODUKT, L"PREDPONA", s, REG_PODKLIC_NASTAVENI))
        m_sGlobalni = s;
    else
        m_sGlobalni = L"KB";
    m_bNacteno = true;
}

void CVoxPredpony::UlozDoRegistru() const {
    CVoxRegistry::UlozRetezec(REG_KLIC_VYROBCE, L"PREDPONA", m_sGlobalni.c_str(),
                              REG_PODKLIC_COMMON);
}

std::wstring CVoxPredpony::PlneJmeno(const std::wstring& sPredpona, const std::wstring& sJmeno) {
    return sPredpona + L"_" + sJmeno;
}

bool CVoxPredpony::OdeberPredponu(std::wstring& sJmeno) {
    const size_t nMez = std::min<size_t>(4, sJmeno.size());
    for (size_t i = 0; i < nMez; ++i) {
        if (sJmeno[i] == L'_') {
            sJmeno = sJmeno.substr(i + 1);
            return true;
        }
    }
    return false;
}
