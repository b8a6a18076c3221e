#include "StdAfx.h"

#include "LispFunkce.h"

#include "CVoxException.h"
#include "CVoxNastav.h"
#include "CVoxRegistry.h"
#include "CVoxXRecord.h"
#include "VoxHladiny.h"
#include "VoxPlatforma.h"
#include "VoxStyly.h"
#include "actrans.h"

#include <string>

namespace {

#define CHYBA_ARGUMENTU L"\n!!!špatný typ nebo počet argumentů"

bool JeCele(const resbuf* pRb) {
    return pRb && (pRb->restype == RTSHORT || pRb->restype == RTLONG);
}

// A short argument is its 16-bit signed value, a long one its 32-bit value.
int Cele(const resbuf* pRb) {
    return pRb->restype == RTSHORT ? static_cast<int>(static_cast<short>(pRb->resval.rint))
                                   : static_cast<int>(pRb->resval.rlong);
}

bool JeRetezec(const resbuf* pRb) {
    return pRb && pRb->restype == RTSTR && pRb->resval.rstring;
}

int VratUspech(bool bUspech) {
    return bUspech ? acedRetT() : acedRetNil();
}

// The name of a stored value: the first argument, a string; null (after the message) otherwise.
const resbuf* JmenoHodnoty() {
    const resbuf* pArg = acedGetArgs();
    if (!JeRetezec(pArg)) {
        acutPrintf(CHYBA_ARGUMENTU);
        return nullptr;
    }
    return pArg;
}

} // namespace

// ---- Storing and reading values -------------------------------------------------------------

int LispUlozInt() {
    const resbuf* pJmeno = acedGetArgs();
    const resbuf* pHodnota = pJmeno ? pJmeno->rbnext : nullptr;
    if (!JeRetezec(pJmeno) || !JeCele(pHodnota)) {
        acutPrintf(CHYBA_ARGUMENTU);
        return acedRetNil();
    }
    return VratUspech(CVoxXRecord::ZapisInt(pJmeno->resval.rstring, Cele(pHodnota)));
}

int LispUlozString() {
    const resbuf* pJmeno = acedGetArgs();
    const resbuf* pHodnota = pJmeno ? pJmeno->rbnext : nullptr;
    if (!JeRetezec(pJmeno) || !JeRetezec(pHodnota)) {
        acutPrintf(CHYBA_ARGUMENTU);
        return acedRetNil();
    }
    return VratUspech(CVoxXRecord::ZapisString(pJmeno->resval.rstring, pHodnota->resval.rstring));
}

int LispUlozBod() {
    const resbuf* pJmeno = acedGetArgs();
    const resbuf* pHodnota = pJmeno ? pJmeno->rbnext : nullptr;
    if (!JeRetezec(pJmeno) || !pHodnota ||
        (pHodnota->restype != RTPOINT && pHodnota->restype != RT3DPOINT)) {
        acutPrintf(CHYBA_ARGUMENTU);
        return acedRetNil();
    }
    // A 2D point lies in the plane Z = 0.
    const AcGePoint3d bod(pHodnota->resval.rpoint[X], pHodnota->resval.rpoint[Y],
                          pHodnota->restype == RT3DPOINT ? pHodnota->resval.rpoint[Z] : 0.0);
    return VratUspech(CVoxXRecord::ZapisBod(pJmeno->resval.rstring, bod));
}

int LispUlozReal() {
    const resbuf* pJmeno = acedGetArgs();
    const resbuf* pHodnota = pJmeno ? pJmeno->rbnext : nullptr;
    if (!JeRetezec(pJmeno) || !pHodnota || pHodnota->restype != RTREAL) {
        acutPrintf(CHYBA_ARGUMENTU);
        return acedRetNil();
    }
    return VratUspech(CVoxXRecord::ZapisReal(pJmeno->resval.rstring, pHodnota->resval.rreal));
}

// A record of another kind throws out of the readers to the function call of the application.
int LispNactiInt() {
    const resbuf* pJmeno = JmenoHodnoty();
    int nHodnota = 0;
    if (!pJmeno || !CVoxXRecord::CtiInt(pJmeno->resval.rstring, nHodnota))
        return acedRetNil();
    return acedRetInt(nHodnota);
}

int LispNactiString() {
    const resbuf* pJmeno = JmenoHodnoty();
    AcString sHodnota;
    if (!pJmeno || !CVoxXRecord::CtiString(pJmeno->resval.rstring, sHodnota))
        return acedRetNil();
    return acedRetStr(sHodnota.kACharPtr());
}

int LispNactiBod() {
    const resbuf* pJmeno = JmenoHodnoty();
    AcGePoint3d bod;
    if (!pJmeno || !CVoxXRecord::CtiBod(pJmeno->resval.rstring, bod))
        return acedRetNil();
    const ads_point pt = {bod.x, bod.y, bod.z};
    return acedRetPoint(pt);
}

int LispNactiReal() {
    const resbuf* pJmeno = JmenoHodnoty();
    double dHodnota = 0.0;
    if (!pJmeno || !CVoxXRecord::CtiReal(pJmeno->resval.rstring, dHodnota))
        return acedRetNil();
    return acedRetReal(dHodnota);
}

// ---- Layer of selected entities ---------------------------------------------------------------

int LispZmenHladinuEntity() {
    const resbuf* pArg = acedGetArgs();
    if (!JeRetezec(pArg)) {
        acutPrintf(L"\n!!!špatný typ nebo počet argumentů, syntaxe '(tebu_zmen_hladinu_entity "
                   L"<string Nazev_hladiny>)'");
        return acedRetNil();
    }
    std::wstring sHladina = pArg->resval.rstring;
    AcTransactionManager* pTm = actrTransactionManager;
    AcApDocument* pDok = nullptr;
    bool bTransakce = false;
    ads_name ss = {0, 0};
    bool bSada = false;
    try {
        const AcDbObjectId idHladiny = ZajistiHladinu(sHladina);
        if (idHladiny.isNull()) {
            acutPrintf(L"\nNepodařilo se vytvořit / najít hladinu %ls", sHladina.c_str());
            return acedRetNil();
        }

        int nVysledek = acedSSGet(L"_I", nullptr, nullptr, nullptr, ss);
        if (nVysledek == RTNORM) {
            acedSSSetFirst(nullptr, nullptr);
        } else {
            acedInitGet(RSG_NONULL, nullptr);
            const bool bJedna = !g_pNastaveni || g_pNastaveni->m_nMultiVyber == 0;
            nVysledek = acedSSGet(bJedna ? L"_:S" : nullptr, nullptr, nullptr, nullptr, ss);
        }
        bSada = nVysledek == RTNORM;
        if (!bSada) {
            acutPrintf(L"\nNic nebylo vybráno.....");
            return acedRetStr(sHladina.c_str());
        }

        Adesk::Int32 nVybrano = 0;
        acedSSLength(ss, &nVybrano);
        const bool bByLayer = g_pNastaveni && g_pNastaveni->m_nSetByLayer != 0;
        AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
        int nZmeneno = 0;
        int nChyb = 0;

        pDok = acDocManager->curDocument();
        if (acDocManager->lockDocument(pDok, AcAp::kWrite) != Acad::eOk)
            pDok = nullptr;
        pTm->startTransaction();
        bTransakce = true;
        for (Adesk::Int32 i = 0; i < nVybrano; ++i) {
            ads_name ent;
            AcDbObjectId id;
            AcDbObject* pObj = nullptr;
            if (acedSSName(ss, i, ent) != RTNORM || acdbGetObjectId(id, ent) != Acad::eOk ||
                pTm->getObject(pObj, id, AcDb::kForWrite) != Acad::eOk) {
                ++nChyb;
                continue;
            }
            AcDbEntity* pEnt = AcDbEntity::cast(pObj);
            if (!pEnt) {
                ++nChyb;
                continue;
            }
            int nStav = pEnt->setLayer(idHladiny, true);
            if (bByLayer) {
                nStav += pEnt->setLinetype(pDb->byLayerLinetype(), true);
                nStav += pEnt->setColorIndex(256, true);
                nStav += pEnt->setLineWeight(AcDb::kLnWtByLayer, true);
            }
            if (nStav == Acad::eOk)
                ++nZmeneno;
        }
        bTransakce = false;
        pTm->endTransaction();
        if (pDok) {
            acDocManager->unlockDocument(pDok);
            pDok = nullptr;
        }
        acedSSFree(ss);
        bSada = false;
        acutPrintf(L"\nVybráno %i entit, změněno %i entit, %i entit nebylo možné otevřít.",
                   static_cast<int>(nVybrano), nZmeneno, nChyb);
        return acedRetStr(sHladina.c_str());
    } catch (const std::exception& e) {
        ZobrazVyjimku(e);
        if (bTransakce)
            pTm->abortTransaction();
        if (pDok)
            acDocManager->unlockDocument(pDok);
        if (bSada)
            acedSSFree(ss);
        return acedRetNil();
    }
}

// ---- Standard layers and styles ---------------------------------------------------------------

int LispNastavHladinu() {
    const resbuf* pArg = acedGetArgs();
    if (!JeRetezec(pArg)) {
        acutPrintf(L"\n!!!Špatný typ nebo počet argumentů, prototyp funkce je (tebu_nastav_hladinu "
                   L"string)");
        return acedRetNil();
    }
    std::wstring sJmeno = pArg->resval.rstring;
    if (ZajistiHladinu(sJmeno).isNull()) {
        acutPrintf(L"\nHladinu %ls nelze vytvořit !!!", sJmeno.c_str());
        return acedRetNil();
    }
    return acedRetStr(sJmeno.c_str());
}

int LispNastavTextStyl() {
    const resbuf* pArg = acedGetArgs();
    if (!JeRetezec(pArg)) {
        acutPrintf(L"\n!!!Špatný typ nebo počet argumentů, prototyp funkce je "
                   L"(tebu_nastav_textstyl string)");
        return acedRetNil();
    }
    const std::wstring sJmeno = pArg->resval.rstring;
    if (ZajistiTextStyl(sJmeno).isNull()) {
        acutPrintf(L"\nStyl %ls nelze vytvořit !!!", sJmeno.c_str());
        return acedRetNil();
    }
    return acedRetStr(sJmeno.c_str());
}

int LispNastavMLeaderStyl() {
    const resbuf* pArg = acedGetArgs();
    if (!JeRetezec(pArg)) {
        acutPrintf(L"\n!!!Špatný typ nebo počet argumentů, prototyp funkce je "
                   L"(tebu_nastav_mleaderstyl string)");
        return acedRetNil();
    }
    const std::wstring sJmeno = pArg->resval.rstring;
    if (ZajistiMLeaderStyl(sJmeno).isNull()) {
        acutPrintf(L"\nMLeader styl %ls nelze vytvořit !!!", sJmeno.c_str());
        return acedRetNil();
    }
    return acedRetStr(sJmeno.c_str());
}

int LispNastavKotStyl() {
    const resbuf* pArg = acedGetArgs();
    if (!JeRetezec(pArg))
        return acedRetNil();
    const std::wstring sJmeno = pArg->resval.rstring;
    if (ZajistiKotStyl(sJmeno).isNull()) {
        acutPrintf(L"\nDimension Styl %ls nelze vytvořit !!!", sJmeno.c_str());
        return acedRetNil();
    }
    return acedRetStr(sJmeno.c_str());
}

// ---- Paths, user layers, settings -------------------------------------------------------------

int LispNactiCestu() {
    const resbuf* pArg = acedGetArgs();
    if (!JeRetezec(pArg)) {
        acutPrintf(L"\n!!!Špatný typ nebo počet argumentů, prototyp funkce je (tebu_nacti_cestu "
                   L"strSoubor [strAdresar] [Podadresar] [int typCesty])");
        return acedRetNil();
    }
    const std::wstring sSoubor = pArg->resval.rstring;
    pArg = pArg->rbnext;
    std::wstring sAdresar;
    if (JeRetezec(pArg)) {
        sAdresar = pArg->resval.rstring;
        pArg = pArg->rbnext;
        if (JeRetezec(pArg)) {
            if (!VoxPlatforma::KonciOddelovacem(sAdresar))
                sAdresar += VoxPlatforma::ODDELOVAC;
            sAdresar += pArg->resval.rstring;
            pArg = pArg->rbnext;
        }
    }
    int nTyp = 1;
    if (JeCele(pArg))
        nTyp = Cele(pArg);
    if (nTyp < 1 || nTyp > 4) {
        acutPrintf(L"\nChybně zadaná hodnota typu - očekává se 1 až 4");
        return acedRetNil();
    }
    // The folder ends with its separator already, so the file name follows it directly.
    const std::wstring sCesta = CVoxRegistry::NactiCestu(
        nTyp <= 2 ? REG_KLIC_PRODUKT : REG_KLIC_VYROBCE, sAdresar.c_str(), nTyp, true);
    return acedRetStr((sCesta + sSoubor).c_str());
}

int LispNastavUzivHladinu() {
    try {
        const resbuf* pArg = acedGetArgs();
        if (!JeRetezec(pArg))
            VOX_THROW("\n!!!Špatný typ nebo počet argumentů, prototyp funkce je\n"
                      "(tebu_nastav_hladinu <název_hladiny> <číslo barvy> <název LType> "
                      "<soubor.lin> <linewidth(mm * 100)> <1 - tisk, 0 - netisk>))");
        std::wstring sJmeno = pArg->resval.rstring;
        int nBarva = 0;
        std::wstring sTypCary = L"*CONT*";
        int nTloustka = -3;
        int nTisk = 1;
        std::wstring sSouborLin;
        // Each optional argument is taken while the arguments have the expected types.
        pArg = pArg->rbnext;
        if (JeCele(pArg)) {
            nBarva = Cele(pArg);
            pArg = pArg->rbnext;
            if (JeRetezec(pArg)) {
                sTypCary = pArg->resval.rstring;
                pArg = pArg->rbnext;
                if (JeCele(pArg)) {
                    nTloustka = Cele(pArg);
                    pArg = pArg->rbnext;
                    if (JeCele(pArg)) {
                        nTisk = Cele(pArg);
                        pArg = pArg->rbnext;
                        if (JeRetezec(pArg))
                            sSouborLin = pArg->resval.rstring;
                    }
                }
            }
        }
        const AcDbObjectId id =
            ZajistiUzivHladinu(sJmeno, static_cast<Adesk::Int16>(nBarva), sTypCary,
                               static_cast<AcDb::LineWeight>(nTloustka), nTisk != 0, sSouborLin);
        if (id.isNull()) {
            acutPrintf(L"\nHladinu %ls nelze vytvořit !!!", sJmeno.c_str());
            return acedRetNil();
        }
        return acedRetStr(sJmeno.c_str());
    } catch (const std::exception& e) {
        ZobrazVyjimku(e);
        return acedRetNil();
    }
}

int LispJeDebug() {
    return acedRetT();
}

int LispNastaveni() {
    const resbuf* pArg = acedGetArgs();
    if (!JeCele(pArg) || !g_pNastaveni) {
        acutPrintf(L"\n!!!Špatný typ nebo počet argumentů, prototyp funkce je (tebu_nastaveni "
                   L"[int typNastaveni])\nargumenty 1 - text/mtext, 2 - uchopení, 3 - multivýběr, "
                   L"4 - resetovat hladiny, 5 - nastavovat BYLAYER");
        return acedRetNil();
    }
    DWORD nHodnota = 0;
    switch (Cele(pArg)) {
    case 1:
        nHodnota = g_pNastaveni->m_nTxtMtxt;
        break;
    case 2:
        nHodnota = g_pNastaveni->m_nUchopeni;
        break;
    case 3:
        nHodnota = g_pNastaveni->m_nMultiVyber;
        break;
    case 4:
        nHodnota = g_pNastaveni->m_nResetLayer;
        break;
    case 5:
        nHodnota = g_pNastaveni->m_nSetByLayer;
        break;
    default:
        acutPrintf(L"\n!!!Argument je mimo rozsah, přípustné je 1 až 5");
        return acedRetNil();
    }
    return acedRetInt(static_cast<int>(nHodnota));
}
