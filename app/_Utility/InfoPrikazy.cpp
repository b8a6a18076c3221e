#include "StdAfx.h"

#include "InfoPrikazy.h"

#include "CKvDlgPropInfo.h"
#include "CVoxVyber.h"

int VoxSVypisEntitu::operator()(AcDbEntity* pEnt) {
    AcString sHladina;
    pEnt->layer(sHladina);
    acutPrintf(L"\nHladina entity: %s", sHladina.constPtr());
    acutPrintf(L"   Barva entity: %i", static_cast<int>(pEnt->colorIndex()));
    return 0;
}

void PrikazVypisEnt() {
    acutPrintf(
        L"\nVypisuju entity\n**************************************************************");
    VoxSVypisEntitu fce;
    ProjdiDwg(fce, PROJDI_MODEL, true, 1, acdbHostApplicationServices()->workingDatabase());
}

void PrikazLi() {
    acutPrintf(L"\nVyber entitu (i v bloku nebo v referenci): ");
    ads_name ss = {0, 0};
    if (acedSSGet(L"_:N:S", nullptr, nullptr, nullptr, ss) != RTNORM)
        return;
    ads_name en;
    AcDbObjectId id;
    AcDbEntity* pVybrana = nullptr;
    if (acedSSName(ss, 0, en) != RTNORM || acdbGetObjectId(id, en) != Acad::eOk ||
        acdbOpenAcDbEntity(pVybrana, id, AcDb::kForRead) != Acad::eOk) {
        acedSSFree(ss);
        acutPrintf(L"\nNeznámá chyba...");
        return;
    }
    AcDbEntity* pEntita = pVybrana;
    AcDbBlockReference* pBlok = nullptr;
    if (auto* pReference = AcDbBlockReference::cast(pVybrana)) {
        AcDbEntity* pVnorena = nullptr;
        if (VnorenaEntita(ss, pVnorena, nullptr, nullptr) != 0 || !pVnorena) {
            acutPrintf(L"\nNeznámá chyba...");
            pReference->close();
            acedSSFree(ss);
            return;
        }
        // A pick that found nothing inside leaves the reference itself.
        if (pVnorena->objectId() == pReference->objectId()) {
            pVnorena->close(); // opened a second time: closed once for that opening
        } else {
            pEntita = pVnorena;
            pBlok = pReference;
        }
    }
    acedSSFree(ss);
    try {
        CKvDlgPropInfo dlgInfo(CWnd::FromHandle(adsw_acadMainWnd()));
        dlgInfo.Nastav(pEntita, pBlok);
        dlgInfo.DoModal();
    } catch (...) {
        pEntita->close();
        if (pBlok)
            pBlok->close();
        throw;
    }
    pEntita->close();
    if (pBlok)
        pBlok->close();
}

void PrikazPokus() {}
