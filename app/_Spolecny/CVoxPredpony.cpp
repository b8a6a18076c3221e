#include "StdAfx.h"

#include "CVoxPredpony.h"

#include "CKvDlgPredpony.h"
#include "CVoxException.h"
#include "CVoxRegistry.h"
#include "CVoxXRecord.h"
#include "VoxHladiny.h"

namespace {

AcString IdentitaPracovnihoVykresu() {
    AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
    return pDb ? pDb->fingerprintGuid() : AcString();
}

// Every occurrence of sStara in sText replaced by sNova.
std::wstring NahradVse(std::wstring sText, const std::wstring& sStara, const std::wstring& sNova) {
    if (sStara.empty())
        return sText;
    for (size_t nPoz = sText.find(sStara); nPoz != std::wstring::npos;
         nPoz = sText.find(sStara, nPoz + sNova.size()))
        sText.replace(nPoz, sStara.size(), sNova);
    return sText;
}

} // namespace

CVoxPredpony::CVoxPredpony() : m_sGlobalni(L"KB"), m_sVykresu(L"KB") {
    // The drawing prefix is valid for the drawing that is active when the module loads.
    m_sIdentitaVykresu = IdentitaPracovnihoVykresu().str();
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

void CVoxPredpony::NastavPredponuVykresu(const std::wstring& s) {
    const std::wstring sIdentita = IdentitaPracovnihoVykresu().str();
    if (s == m_sVykresu && sIdentita == m_sIdentitaVykresu)
        return;
    m_sIdentitaVykresu = sIdentita;
    m_sVykresu = s;
    CVoxXRecord::ZapisString(XREC_PREDPONA, m_sVykresu.c_str());
}

void CVoxPredpony::AktualizujPredponuVykresu() {
    const std::wstring sIdentita = IdentitaPracovnihoVykresu().str();
    if (sIdentita == m_sIdentitaVykresu)
        return;
    AcString sUlozena;
    if (CVoxXRecord::CtiString(XREC_PREDPONA, sUlozena)) {
        m_sVykresu = sUlozena.str();
    } else {
        m_sVykresu = m_sGlobalni;
        CVoxXRecord::ZapisString(XREC_PREDPONA, m_sVykresu.c_str());
    }
    m_sIdentitaVykresu = sIdentita;
}

std::wstring CVoxPredpony::EffectivePrefix() {
    AktualizujPredponuVykresu();
    if (m_sVykresu == m_sGlobalni)
        return m_sGlobalni;
    if (m_bNeptatSe || Zeptej())
        Proved();
    return m_bPouzitGlobalni ? m_sGlobalni : m_sVykresu;
}

bool CVoxPredpony::Zeptej(bool bZNastaveni) {
    AktualizujPredponuVykresu();
    CKvDlgPredpony dlgPredpony(CWnd::FromHandle(adsw_acadMainWnd()), bZNastaveni);
    dlgPredpony.m_sPredponaDwg = m_sVykresu.c_str();
    dlgPredpony.m_sPredponaGlobalni = m_sGlobalni.c_str();
    dlgPredpony.m_nPouzitGlobalni = m_bPouzitGlobalni ? 1 : 0;
    dlgPredpony.m_nNastavitDwg = m_bNastavitPredponuDwg ? 1 : 0;
    dlgPredpony.m_nPrejmenovat = m_bPrejmenovatHladiny ? 1 : 0;
    dlgPredpony.m_nDalsi = m_bDalsiPredpony ? 1 : 0;
    dlgPredpony.m_nNeptat = 0;
    if (dlgPredpony.DoModal() != IDOK) {
        m_bNeptatSe = false;
        return false;
    }
    m_bPouzitGlobalni = dlgPredpony.m_nPouzitGlobalni == 1;
    m_bNastavitPredponuDwg = dlgPredpony.m_nNastavitDwg != 0;
    m_bPrejmenovatHladiny = dlgPredpony.m_nPrejmenovat != 0;
    m_bDalsiPredpony = dlgPredpony.m_nDalsi != 0;
    m_bNeptatSe = dlgPredpony.m_nNeptat != 0;
    m_aNalezenePredpony = dlgPredpony.m_aNalezene;
    NastavPredponuVykresu(dlgPredpony.m_sPredponaDwg.str());
    m_sGlobalni = dlgPredpony.m_sPredponaGlobalni.str();
    return true;
}

void CVoxPredpony::Proved() {
    const std::wstring sCil = m_bPouzitGlobalni ? m_sGlobalni : m_sVykresu;
    if (m_bPrejmenovatHladiny && m_sVykresu != sCil)
        PrejmenujPredponuHladin(m_sVykresu, sCil, true);
    if (m_bDalsiPredpony)
        for (const std::wstring& sDalsi : m_aNalezenePredpony)
            PrejmenujPredponuHladin(sDalsi, sCil, true);
    if (m_bNastavitPredponuDwg)
        m_sVykresu = sCil;
}

int CVoxPredpony::PrejmenujPredponuHladin(const std::wstring& sStara, const std::wstring& sNova,
                                          bool bNaZacatku) {
    // Without an old prefix every name would begin with it: nothing is renamed.
    if (sStara.empty())
        return 0;
    CVoxCmd::MapaId mapaSlouceni;
    int nPrevedeno = 0;
    ProjdiVlastniHladiny(AcDb::kForWrite,
                         [&](AcDbLayerTable* pTabulka, AcDbLayerTableRecord* pHladina) {
                             const std::wstring sJmeno = pHladina->name();
                             std::wstring sNoveJmeno = sJmeno;
                             if (!bNaZacatku || sJmeno.compare(0, sStara.size(), sStara) == 0)
                                 sNoveJmeno = NahradVse(sJmeno, sStara, sNova);
                             Acad::ErrorStatus es = Acad::eOk;
                             if (sNoveJmeno != sJmeno)
                                 es = pHladina->setName(sNoveJmeno.c_str());
                             if (es == Acad::eOk) {
                                 ++nPrevedeno;
                             } else if (es == Acad::eDuplicateRecordName) {
                                 AcDbObjectId idExistujici;
                                 if (pTabulka->getAt(sNoveJmeno.c_str(), idExistujici) == Acad::eOk)
                                     mapaSlouceni[pHladina->objectId()] = idExistujici;
                             }
                         });
    acutPrintf(L"\nBylo převedeno %i hladin, bude sloučeno %i hladin", nPrevedeno,
               static_cast<int>(mapaSlouceni.size()));
    SloucitHladiny(mapaSlouceni);
    return nPrevedeno;
}

void ProjdiVlastniHladiny(AcDb::OpenMode nRezim,
                          const std::function<void(AcDbLayerTable*, AcDbLayerTableRecord*)>& fn) {
    AcDbLayerTable* pTabulka = nullptr;
    if (acdbHostApplicationServices()->workingDatabase()->getLayerTable(pTabulka, AcDb::kForRead) !=
        Acad::eOk)
        VOX_THROW("Nelze otevřít LayerStyle table for reading");
    AcDbLayerTableIterator* pIter = nullptr;
    if (pTabulka->newIterator(pIter) != Acad::eOk) {
        pTabulka->close();
        VOX_THROW("Nelze otevřít LayerStyle table for reading");
    }
    for (; !pIter->done(); pIter->step()) {
        AcDbLayerTableRecord* pHladina = nullptr;
        if (pIter->getRecord(pHladina, nRezim) != Acad::eOk)
            continue;
        if (!pHladina->isDependent())
            fn(pTabulka, pHladina);
        pHladina->close();
    }
    delete pIter;
    pTabulka->close();
}
