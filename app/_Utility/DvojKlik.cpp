#include "StdAfx.h"

#include "DvojKlik.h"

#include "CKvDlgRamecek.h"
#include "CVoxException.h"
#include "CVoxNastav.h"
#include "CVoxVyber.h"
#include "Ramecek.h"

#include <memory>

namespace {

void UvolniSadu(ads_name ss) {
    if (ss[0] || ss[1])
        acedSSFree(ss);
    ss[0] = ss[1] = 0;
}

// The in-place edit of a picked attribute; pAtribut is open for read and is closed here.
bool EditujAtribut(AcDbAttribute* pAtribut) {
    const bool bViceradkovy = pAtribut->isMTextAttribute();
    std::unique_ptr<AcDbMText> pMText(bViceradkovy ? pAtribut->getMTextAttribute() : nullptr);
    AcAxDocLock zamek(pAtribut->objectId());
    if (pAtribut->upgradeOpen() != Acad::eOk) {
        pAtribut->close();
        VOX_THROW("Nelze přeotevřít entitu (atribut) pro zápis");
    }
    if (!bViceradkovy) {
        if (g_pNastaveni->m_nAttEditSingle == 0) {
            pAtribut->close();
            return false;
        }
        AcEdInplaceTextEditor::invoke(pAtribut, nullptr);
        pAtribut->close();
        return true;
    }
    if (g_pNastaveni->m_nAttEditMLine == 0 || !pMText) {
        pAtribut->close();
        return false;
    }
    AcEdInplaceTextEditorSettings nastaveni;
    nastaveni.setEditFlags(2);
    nastaveni.setSourceEntityType(AcEdInplaceTextEditorSettings::kMultiAttribute);
    AcEdInplaceTextEditor::invoke(pMText.get(), &nastaveni);
    pAtribut->setMTextAttribute(pMText.get());
    pAtribut->close();
    return true;
}

bool ZpracujDvojklik(const MSG* pMsg, ads_name ss) {
    const CPoint ptPixel(static_cast<short>(LOWORD(pMsg->lParam)),
                         static_cast<short>(HIWORD(pMsg->lParam)));
    ads_point ptDcs = {0.0, 0.0, 0.0};
    if (!acedCoordFromPixelToWorld(ptPixel, ptDcs))
        return false;
    resbuf rbOd, rbDo;
    rbOd.restype = RTSHORT;
    rbOd.resval.rint = 2;
    rbDo.restype = RTSHORT;
    rbDo.resval.rint = 0;
    ads_point ptWcs = {0.0, 0.0, 0.0};
    if (acedTrans(ptDcs, &rbOd, &rbDo, 0, ptWcs) != RTNORM)
        return false;
    if (acedSSGet(L"_:n", ptWcs, nullptr, nullptr, ss) != RTNORM) {
        ss[0] = ss[1] = 0;
        return false;
    }

    ads_name en = {0, 0};
    AcDbObjectId idEntita;
    AcDbEntity* pEntita = nullptr;
    if (acedSSName(ss, 0, en) != RTNORM || acdbGetObjectId(idEntita, en) != Acad::eOk ||
        acdbOpenObject(pEntita, idEntita, AcDb::kForRead) != Acad::eOk)
        VOX_THROW("Nelze otevřít výběr pro čtení");
    auto* pReference = AcDbBlockReference::cast(pEntita);
    if (!pReference) {
        pEntita->close();
        return false;
    }
    const AcDbObjectId idBlok = pReference->blockTableRecord();
    AcDbBlockTableRecord* pBlok = nullptr;
    if (acdbOpenObject(pBlok, idBlok, AcDb::kForRead) != Acad::eOk) {
        pEntita->close();
        VOX_THROW("Nelze otevřít definici bloku, pro čtení");
    }
    AcString sJmeno;
    pBlok->getName(sJmeno);
    pBlok->close();

    if (CRamecek::JeRamecek(sJmeno.kACharPtr())) {
        // Closed first: a refused second frame object must not leave the reference open.
        pEntita->close();
        CRamecek objRamecek;
        AcAxDocLock zamekReference(idEntita);
        AcAxDocLock zamekBloku(idBlok);
        CKvDlgRamecek dlgRamecek(CWnd::FromHandle(adsw_acadMainWnd()));
        if (objRamecek.Edituj(idEntita, idBlok, dlgRamecek)) {
            objRamecek.Prevezmi(dlgRamecek);
            objRamecek.Vytvor();
        }
        return true;
    }

    pEntita->close();
    if (!g_pNastaveni ||
        (g_pNastaveni->m_nAttEditSingle == 0 && g_pNastaveni->m_nAttEditMLine == 0))
        return false;

    AcDbEntity* pVnorena = nullptr;
    CVoxSeznamReferenci aReference;
    if (VnorenaEntita(ss, pVnorena, &aReference, nullptr) != 0 || !pVnorena)
        VOX_THROW("Neznámá chyba...");
    auto* pAtribut = AcDbAttribute::cast(pVnorena);
    if (!pAtribut) {
        pVnorena->close();
        return false;
    }
    return EditujAtribut(pAtribut);
}

} // namespace

bool FiltrDvojkliku(MSG* pMsg) {
    if (!pMsg || pMsg->message != WM_LBUTTONDBLCLK || !adsw_acadDocWnd())
        return false;
    ads_name ss = {0, 0};
    try {
        const bool bVysledek = ZpracujDvojklik(pMsg, ss);
        UvolniSadu(ss);
        return bVysledek;
    } catch (const std::exception& e) {
        UvolniSadu(ss);
        ZobrazVyjimku(e);
        return false;
    }
}
