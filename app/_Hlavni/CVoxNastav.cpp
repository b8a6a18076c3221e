#include "StdAfx.h"

#include "CVoxNastav.h"

#include "CVoxException.h"
#include "CVoxRegistry.h"

#include <functional>

bool CVoxNastav::s_bInstance = false;
CVoxNastav* g_pNastaveni = nullptr;

namespace {

void CtiDword(const ACHAR* sHodnota, DWORD& nHodnota, DWORD nVychozi) {
    if (!CVoxRegistry::CtiDword(REG_KLIC_PRODUKT, sHodnota, nHodnota, REG_PODKLIC_NASTAVENI))
        nHodnota = nVychozi;
}

} // namespace

CVoxNastav::CVoxNastav() {
    // A second instance is refused before anything is read, so that the refused object leaves
    // the registry alone.
    if (s_bInstance)
        VOX_THROW("Nelze založit více instancí objektu CVoxNastav než 1");

    m_Predpony.NactiZRegistru();
    if (!CVoxRegistry::CtiBool(REG_KLIC_PRODUKT, L"NASTAVENO", m_bNastaveno, REG_PODKLIC_NASTAVENI))
        m_bNastaveno = false;
    CtiDword(L"MULTIVYBER", m_nMultiVyber, 0);
    CtiDword(L"TXT_MTXT", m_nTxtMtxt, 0);
    CtiDword(L"ATT_EDIT_MLINE", m_nAttEditMLine, 1);
    CtiDword(L"ATT_EDIT_SINGLE", m_nAttEditSingle, 1);
    CtiDword(L"RESET_LAYER", m_nResetLayer, 1);
    CtiDword(L"SETBYLAYER", m_nSetByLayer, 1);
    if (!CVoxRegistry::CtiDword(REG_KLIC_VYROBCE, L"UCHOPENI", m_nUchopeni, REG_PODKLIC_NASTAVENI) &&
        !CVoxRegistry::CtiDword(REG_KLIC_PRODUKT, L"UCHOPENI", m_nUchopeni, REG_PODKLIC_NASTAVENI))
        m_nUchopeni = 1;
    s_bInstance = true;
}

CVoxNastav::~CVoxNastav() {
    // Every value is attempted even when one fails; the first failure is shown afterwards, and
    // nothing escapes the destructor.
    bool bChyba = false;
    CVoxException chyba("", 0, "");
    auto Zkus = [&](const std::function<void()>& fce) {
        try {
            fce();
        } catch (const CVoxException& e) {
            if (!bChyba)
                chyba = e;
            bChyba = true;
        }
    };
    Zkus([&] {
        CVoxRegistry::UlozBool(REG_KLIC_PRODUKT, L"NASTAVENO", m_bNastaveno, REG_PODKLIC_NASTAVENI);
    });
    const std::pair<const ACHAR*, DWORD> aHodnoty[] = {
        {L"MULTIVYBER", m_nMultiVyber},         {L"TXT_MTXT", m_nTxtMtxt},
        {L"ATT_EDIT_MLINE", m_nAttEditMLine},   {L"ATT_EDIT_SINGLE", m_nAttEditSingle},
        {L"RESET_LAYER", m_nResetLayer},        {L"SETBYLAYER", m_nSetByLayer},
    };
    for (const auto& [sJmeno, nHodnota] : aHodnoty)
        Zkus([&] {
            CVoxRegistry::UlozDword(REG_KLIC_PRODUKT, sJmeno, nHodnota, REG_PODKLIC_NASTAVENI);
        });
    Zkus([&] {
        CVoxRegistry::UlozDword(REG_KLIC_VYROBCE, L"UCHOPENI", m_nUchopeni, REG_PODKLIC_NASTAVENI);
    });
    s_bInstance = false;
    if (bChyba)
        ZobrazVyjimku(chyba);
    // The prefix object writes "PREDPONA" when it is destroyed, after this body.
}
