#include "StdAfx.h"

#include "VoxProjdiDwg.h"

#include "CVoxException.h"
#include "VoxDb.h"

namespace {

// Closes what the walk holds when it leaves by an exception.
struct DrzeneObjekty {
    AcDbBlockTable* pTabulka = nullptr;
    AcDbBlockTableIterator* pIterTabulky = nullptr;
    AcDbBlockTableRecord* pZaznam = nullptr;
    AcDbBlockTableRecordIterator* pIterZaznamu = nullptr;
    AcDbEntity* pEntita = nullptr;

    void Uvolni() {
        if (pEntita)
            pEntita->close();
        pEntita = nullptr;
        delete pIterZaznamu;
        pIterZaznamu = nullptr;
        if (pZaznam)
            pZaznam->close();
        pZaznam = nullptr;
        delete pIterTabulky;
        pIterTabulky = nullptr;
        if (pTabulka)
            pTabulka->close();
        pTabulka = nullptr;
    }
};

bool JeModel(const AcDbBlockTableRecord* pZaznam) {
    const ACHAR* sJmeno = nullptr;
    return pZaznam->getName(sJmeno) == Acad::eOk && sJmeno &&
           _wcsicmp(sJmeno, ACDB_MODEL_SPACE) == 0;
}

bool Navstivit(const AcDbBlockTableRecord* pZaznam, int nPriznaky, AcDbObjectId idAktualni) {
    const bool bModel = JeModel(pZaznam);
    const bool bLayout = pZaznam->isLayout() || bModel;
    if ((nPriznaky & PROJDI_LAYOUTY) && bLayout && !bModel)
        return true;
    if ((nPriznaky & PROJDI_MODEL) && bModel)
        return true;
    if ((nPriznaky & PROJDI_BLOKY) && !bLayout)
        return true;
    if ((nPriznaky & PROJDI_AKTUALNI) && pZaznam->objectId() == idAktualni)
        return true;
    return false;
}

} // namespace

int ProjdiDwg(CVoxCmd::ProjdiDwgFce& fce, int nPriznaky, bool bVypis, int nPruchodu,
              AcDbDatabase* pDb) {
    acutPrintf(L"\n");
    if (!pDb)
        VOX_THROW("Předaný ukazatel na databazi (pDb) je null");
    DrzeneObjekty drzene;
    Acad::ErrorStatus es = pDb->getBlockTable(drzene.pTabulka, AcDb::kForRead);
    if (es != Acad::eOk)
        VOX_THROW_ERR("Nelze otevřít AcDbBlockTable pro čtení", es);

    const AcDb::OpenMode nRezim = (nPriznaky & PROJDI_PRO_CTENI) ? AcDb::kForRead : AcDb::kForWrite;
    const bool bSmazane = (nPriznaky & PROJDI_SMAZANE) != 0;
    const AcDbObjectId idAktualni = pDb->currentSpaceId();
    int nProvereno = 0;
    int nZmeneno = 0;
    int nNeotevreno = 0;
    try {
        es = drzene.pTabulka->newIterator(drzene.pIterTabulky);
        if (es != Acad::eOk)
            VOX_THROW_ERR("Nelze získat AcDbBlockTableIterator", es);
        for (int nPruchod = 0; nPruchod < nPruchodu; ++nPruchod) {
            for (drzene.pIterTabulky->start(); !drzene.pIterTabulky->done();
                 drzene.pIterTabulky->step()) {
                if (bVypis)
                    acutPrintf(L".");
                if (drzene.pIterTabulky->getRecord(drzene.pZaznam, AcDb::kForRead) != Acad::eOk) {
                    drzene.pZaznam = nullptr;
                    if (bVypis)
                        acutPrintf(L"\nNelze získat BlockRecord....doporučujeme restaurovat "
                                   L"výkres!!!!");
                    continue;
                }
                if (Navstivit(drzene.pZaznam, nPriznaky, idAktualni)) {
                    // Erased entities come up in the iteration only when they are to be visited.
                    if (drzene.pZaznam->newIterator(drzene.pIterZaznamu, true, !bSmazane) !=
                        Acad::eOk) {
                        drzene.pIterZaznamu = nullptr;
                        if (bVypis)
                            acutPrintf(L"\nNelze získat BlockRecordIterátor....doporučujeme "
                                       L"restaurovat výkres!!!!");
                    } else {
                        AcDbBlockTableRecordIterator* pIter = drzene.pIterZaznamu;
                        for (pIter->start(true, !bSmazane); !pIter->done();
                             pIter->step(true, !bSmazane)) {
                            ++nProvereno;
                            if (pIter->getEntity(drzene.pEntita, nRezim, bSmazane) != Acad::eOk) {
                                drzene.pEntita = nullptr;
                                ++nNeotevreno;
                                continue;
                            }
                            nZmeneno += fce(drzene.pEntita);
                            drzene.pEntita->close();
                            drzene.pEntita = nullptr;
                        }
                        delete drzene.pIterZaznamu;
                        drzene.pIterZaznamu = nullptr;
                    }
                }
                drzene.pZaznam->close();
                drzene.pZaznam = nullptr;
            }
        }
        delete drzene.pIterTabulky;
        drzene.pIterTabulky = nullptr;
    } catch (...) {
        drzene.Uvolni();
        throw;
    }
    if (bVypis)
        acutPrintf(L"\nBylo prověřeno %i entit, změněno %i entit, %i entit nebylo možno otevřít",
                   nProvereno, nZmeneno, nNeotevreno);
    drzene.Uvolni();
    return nZmeneno;
}

namespace CVoxCmd {

int ZmenHladinu::operator()(AcDbEntity* pEnt) {
    auto it = m_mapaHladin.find(pEnt->layerId());
    if (it == m_mapaHladin.end() || it->second.isNull())
        return 0;
    return pEnt->setLayer(it->second, true, true) == Acad::eOk ? 1 : 0;
}

int ZmenTS_DS_MLS::operator()(AcDbEntity* pEnt) {
    bool bZmeneno = false;
    // Replaces the identifier when the table has a non-null entry for it.
    auto Zamen = [&bZmeneno](const MapaId* pMapa, AcDbObjectId idStary, auto fNastav) {
        if (!pMapa || idStary.isNull())
            return;
        auto it = pMapa->find(idStary);
        if (it == pMapa->end() || it->second.isNull())
            return;
        if (fNastav(it->second) == Acad::eOk)
            bZmeneno = true;
    };
    if (AcDbMLeader* pMLeader = AcDbMLeader::cast(pEnt)) {
        Zamen(m_tabulky.pTextStyly, pMLeader->textStyleId(),
              [&](AcDbObjectId id) { return pMLeader->setTextStyleId(id); });
        Zamen(m_tabulky.pMLeaderStyly, pMLeader->MLeaderStyle(),
              [&](AcDbObjectId id) { return pMLeader->setMLeaderStyle(id); });
    } else if (AcDbText* pText = AcDbText::cast(pEnt)) {
        Zamen(m_tabulky.pTextStyly, pText->textStyle(),
              [&](AcDbObjectId id) { return pText->setTextStyle(id); });
    } else if (AcDbMText* pMText = AcDbMText::cast(pEnt)) {
        Zamen(m_tabulky.pTextStyly, pMText->textStyle(),
              [&](AcDbObjectId id) { return pMText->setTextStyle(id); });
    } else if (AcDbDimension* pKota = AcDbDimension::cast(pEnt)) {
        Zamen(m_tabulky.pKotTextStyly, pKota->dimtxsty(),
              [&](AcDbObjectId id) { return pKota->setDimtxsty(id); });
        Zamen(m_tabulky.pKotStyly, pKota->dimensionStyle(),
              [&](AcDbObjectId id) { return pKota->setDimensionStyle(id); });
    }
    Zamen(m_tabulky.pTypyCar, pEnt->linetypeId(),
          [&](AcDbObjectId id) { return pEnt->setLinetype(id, true); });
    return bZmeneno ? 1 : 0;
}

int CNajdiBlokRefs::operator()(AcDbEntity* pEnt) {
    AcDbBlockReference* pRef = AcDbBlockReference::cast(pEnt);
    if (!pRef)
        return 0;
    if (!m_idDefinice.isNull()) {
        if (pRef->blockTableRecord() != m_idDefinice)
            return 0;
        m_aNalezene.append(pRef->objectId());
        return 1;
    }
    AcDbBlockTableRecord* pDefinice = nullptr;
    Acad::ErrorStatus es = acdbOpenObject(pDefinice, pRef->blockTableRecord(), AcDb::kForRead);
    if (es != Acad::eOk)
        VOX_THROW_ERR("Nelze otevřít definici bloku pro čtení", es);
    AcString sJmeno;
    es = pDefinice->getName(sJmeno);
    pDefinice->close();
    if (es != Acad::eOk)
        return 0;
    NaVelka(sJmeno);
    const std::wstring sDefinice(sJmeno.kACharPtr());
    bool bShoda = false;
    if (m_bObsahuje)
        bShoda = sDefinice.find(m_sJmeno) != std::wstring::npos;
    if (!bShoda)
        bShoda = sDefinice == m_sJmeno;
    if (!bShoda)
        return 0;
    m_aNalezene.append(pRef->objectId());
    return 1;
}

} // namespace CVoxCmd
