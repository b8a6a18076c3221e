#include "StdAfx.h"

#include "VoxHladiny.h"

#include "CVoxException.h"
#include "CVoxNastav.h"
#include "CVoxPredpony.h"
#include "CVoxXRecord.h"
#include "VoxDb.h"
#include "VoxTypyCar.h"

#include <map>
#include <memory>

namespace {

AcDbDatabase* PracovniDb() {
    return acdbHostApplicationServices()->workingDatabase();
}

CVoxPredpony& Predpony() {
    if (!g_pNastaveni)
        VOX_THROW("Nastavení aplikace není načteno");
    return g_pNastaveni->m_Predpony;
}

// The id of the layer of that name in the working database, null when there is none.
AcDbObjectId NajdiHladinu(const std::wstring& sJmeno) {
    AcDbLayerTable* pTabulka = nullptr;
    if (PracovniDb()->getLayerTable(pTabulka, AcDb::kForRead) != Acad::eOk)
        VOX_THROW("Nelze otevřít LayerTable pro čtení");
    AcDbObjectId id;
    if (pTabulka->getAt(sJmeno.c_str(), id) != Acad::eOk)
        id = AcDbObjectId::kNull;
    pTabulka->close();
    return id;
}

// Whether the drawing's store says not to ask about old layers (its mere presence counts).
bool NeptatSeNaStareHladiny() {
    resbuf* pRb = nullptr;
    if (!CVoxXRecord::Cti(CVoxXRecord::JmenoZaznamu(XREC_NEPTAT_STARE_HLADINY, XREC_SEKCE_HLADINY),
                          pRb))
        return false;
    acutRelRb(pRb);
    return true;
}

const ACHAR* const TEXT_STARE_HLADINY =
    L"Nalezena hladina se starým názvem, převést?\n\nBudou převedeny všechny hladiny se starými "
    L"názvy.\n(identické hladiny budou sloučeny)\n\nCancel - již se neptat";

} // namespace

int NastavVlastnostiHladiny(AcDbLayerTableRecord* pHladina, const LayerDef& def) {
    const AcDbObjectId idTypCary = ZajistiTypCary(def.m_sTypCary);
    int nChyby = 0;
    pHladina->setColor(def.m_Barva);
    pHladina->setLinetypeObjectId(idTypCary);
    nChyby += pHladina->setLineWeight(def.m_nTloustka);
    nChyby += pHladina->setIsPlottable(def.m_bTisk);
    return nChyby;
}

AcDbObjectId ZajistiHladinu(std::wstring& sJmeno, bool bMaPredponu) {
    std::wstring sPracovni = sJmeno;
    if (bMaPredponu)
        CVoxPredpony::OdeberPredponu(sPracovni);
    // A standard name asked for in another case or without diacritics gets its standard form.
    if (const LayerDef* pDef = g_VoxSet.NajdiHladinu(sPracovni))
        sJmeno.replace(sJmeno.size() - sPracovni.size(), sPracovni.size(), pDef->m_sJmeno);

    const std::wstring sPlne =
        bMaPredponu ? sJmeno : CVoxPredpony::PlneJmeno(Predpony().EffectivePrefix(), sJmeno);
    AcDbObjectId id = NajdiHladinu(sPlne);
    if (id.isNull()) {
        std::wstring sStandardni = sJmeno;
        if (bMaPredponu)
            CVoxPredpony::OdeberPredponu(sStandardni);
        if (const LayerDef* pDef = g_VoxSet.NajdiHladinu(sStandardni))
            id = VytvorHladinu(*pDef, sPlne);
    }
    sJmeno = sPlne;
    return id;
}

AcDbObjectId ZajistiUzivHladinu(std::wstring& sJmeno, Adesk::Int16 nBarva,
                                const std::wstring& sTypCary, AcDb::LineWeight nTloustka,
                                bool bTisk, const std::wstring& /*sSouborLin*/) {
    const std::wstring sPlne = CVoxPredpony::PlneJmeno(Predpony().EffectivePrefix(), sJmeno);
    AcDbObjectId id = NajdiHladinu(sPlne);
    if (id.isNull()) {
        const LayerDef def(sJmeno, nBarva, nTloustka, sTypCary, std::wstring(), bTisk,
                           KATEGORIE_UZIVATEL);
        id = VytvorHladinu(def, sPlne);
    }
    sJmeno = sPlne;
    return id;
}

AcDbObjectId VytvorHladinu(const LayerDef& def, const std::wstring& sPlneJmeno) {
    if (!def.m_sStareJmeno.empty() && !NajdiHladinu(def.m_sStareJmeno).isNull() &&
        !NeptatSeNaStareHladiny()) {
        switch (MessageBoxW(adsw_acadMainWnd(), TEXT_STARE_HLADINY, L"Kresbon pro AutoCad",
                            MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES: {
            PrevedStareHladiny();
            // The converted layer is the one asked for unless it was asked for under another
            // prefix; then it is created as for No.
            const AcDbObjectId id = NajdiHladinu(sPlneJmeno);
            if (!id.isNull())
                return id;
            break;
        }
        case IDCANCEL:
            CVoxXRecord::ZapisInt(XREC_NEPTAT_STARE_HLADINY, 1, XREC_SEKCE_HLADINY);
            break;
        default:
            break;
        }
    }

    std::unique_ptr<AcDbLayerTableRecord> pNova(new AcDbLayerTableRecord());
    int nChyby = pNova->setName(sPlneJmeno.c_str());
    nChyby += NastavVlastnostiHladiny(pNova.get(), def);
    if (nChyby != 0)
        VOX_THROW("Přiřazení hodnot do LayerRecord neproběhlo v pořádku");

    AcDbLayerTable* pTabulka = nullptr;
    if (PracovniDb()->getLayerTable(pTabulka, AcDb::kForWrite) != Acad::eOk)
        VOX_THROW("Nelze otevřít LayerTable pro zápis");
    AcDbObjectId id;
    const Acad::ErrorStatus es = pTabulka->add(id, pNova.get());
    pTabulka->close();
    if (es != Acad::eOk)
        VOX_THROW_ERR("Nelze přidat LayerTableRecord do databáze", es);
    AcDbLayerTableRecord* pHladina = pNova.release();
    pHladina->setDescription(def.Popis().c_str());
    pHladina->close();
    return id;
}

int PrevedStareHladiny() {
    AcDbDatabase* pDb = PracovniDb();
    const AcDbObjectId idPuvodni = pDb->clayer();
    pDb->setClayer(pDb->layerZero());

    std::map<std::wstring, const LayerDef*> mapaStarych;
    for (const auto& [sKlic, def] : g_VoxSet.Hladiny()) {
        if (def.m_sStareJmeno.empty())
            continue;
        AcString sStare(def.m_sStareJmeno);
        mapaStarych.emplace(NaVelka(sStare), &def);
    }
    // The prefix is settled before the layer table is opened: settling it may rename layers.
    const std::wstring sPredpona = Predpony().EffectivePrefix();

    CVoxCmd::MapaId mapaSlouceni;
    int nPrevedeno = 0;
    AcDbLayerTable* pTabulka = nullptr;
    if (pDb->getLayerTable(pTabulka, AcDb::kForWrite) != Acad::eOk)
        VOX_THROW("Nelze otevřít Layer table for writting");
    AcDbLayerTableIterator* pIter = nullptr;
    if (pTabulka->newIterator(pIter) != Acad::eOk) {
        pTabulka->close();
        VOX_THROW("Nelze otevřít Layer table for writting");
    }
    try {
        for (; !pIter->done(); pIter->step()) {
            AcDbObjectId idHladiny;
            pIter->getRecordId(idHladiny);
            AcDbLayerTableRecord* pHladina = nullptr;
            if (acdbOpenObject(pHladina, idHladiny, AcDb::kForRead) != Acad::eOk)
                continue;
            const std::wstring sJmeno = pHladina->name();
            pHladina->close();

            // A prefixed name is compared without its prefix: a standard layer under any prefix
            // is left as it is, only one spelled otherwise is converted.
            std::wstring sBezPredpony = sJmeno;
            std::wstring sKlic = CVoxSet::Klic(sJmeno);
            const LayerDef* pDef = nullptr;
            auto it = mapaStarych.find(sKlic);
            if (it != mapaStarych.end()) {
                pDef = it->second;
            } else {
                CVoxPredpony::OdeberPredponu(sBezPredpony);
                CVoxPredpony::OdeberPredponu(sKlic);
                pDef = g_VoxSet.NajdiHladinu(sKlic);
            }
            if (!pDef || sBezPredpony == pDef->m_sJmeno)
                continue;

            const std::wstring sNove = CVoxPredpony::PlneJmeno(sPredpona, pDef->m_sJmeno);
            if (acdbOpenObject(pHladina, idHladiny, AcDb::kForWrite) != Acad::eOk)
                continue;
            ++nPrevedeno;
            AcDbObjectId idJina;
            if (pTabulka->getAt(sNove.c_str(), idJina) != Acad::eOk || idJina == idHladiny) {
                pHladina->setName(sNove.c_str());
                try {
                    NastavVlastnostiHladiny(pHladina, *pDef);
                } catch (...) {
                    pHladina->close();
                    throw;
                }
                pHladina->setDescription(pDef->Popis().c_str());
            } else {
                mapaSlouceni[idHladiny] = idJina;
            }
            pHladina->close();
        }
    } catch (...) {
        delete pIter;
        pTabulka->close();
        throw;
    }
    delete pIter;
    pTabulka->close();

    SloucitHladiny(mapaSlouceni);
    acutPrintf(L"\nBylo převedeno %i hladin", nPrevedeno);
    // A current layer that was merged away is followed by the layer it was merged into.
    auto itSloucena = mapaSlouceni.find(idPuvodni);
    pDb->setClayer(itSloucena == mapaSlouceni.end() ? idPuvodni : itSloucena->second);
    return nPrevedeno;
}

int SloucitHladiny(const CVoxCmd::MapaId& mapaHladin) {
    AcDbDatabase* pDb = PracovniDb();
    CVoxCmd::ZmenHladinu fce(mapaHladin);
    const int nZmeneno = ProjdiDwg(fce, PROJDI_VSE, false, 1, pDb);
    acutPrintf(L"\nPřevedeno %i entit", nZmeneno);

    AcDbLayerTable* pTabulka = nullptr;
    if (pDb->getLayerTable(pTabulka, AcDb::kForWrite) != Acad::eOk)
        VOX_THROW("Nelze otevřít Layer table for writing");
    for (const auto& [idStara, idNova] : mapaHladin) {
        AcDbLayerTableRecord* pHladina = nullptr;
        if (acdbOpenObject(pHladina, idStara, AcDb::kForWrite) != Acad::eOk) {
            acutPrintf(L"\nHladinu '%ls' se nepodařilo vymazat", L"");
            continue;
        }
        if (pHladina->erase() != Acad::eOk)
            acutPrintf(L"\nHladinu '%ls' se nepodařilo vymazat", pHladina->name());
        pHladina->close();
    }
    pTabulka->close();
    return nZmeneno;
}
