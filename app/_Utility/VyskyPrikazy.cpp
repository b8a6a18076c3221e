#include "StdAfx.h"

#include "VyskyPrikazy.h"

#include "CVoxEntity.h"
#include "CVoxException.h"
#include "CVoxVyber.h"

#include <cmath>

namespace {

// One block reference picked by the user; false (after the message) when nothing was picked.
bool VyberBlok(AcDbObjectId& id) {
    ads_name sMnozina = {0, 0};
    if (VyberEntity(sMnozina, false, false, DRUH_BLOK) != VYBER_OK) {
        acutPrintf(L"\nChyba výběru textu");
        return false;
    }
    ads_name sEntita = {0, 0};
    const bool bOk =
        acedSSName(sMnozina, 0, sEntita) == RTNORM && acdbGetObjectId(id, sEntita) == Acad::eOk;
    acedSSFree(sMnozina);
    if (!bOk)
        acutPrintf(L"\nChyba výběru textu");
    return bOk;
}

// The text of the attribute, or false.
bool TextAtributu(AcDbBlockReference* pReference, const ACHAR* sTag, CString& sText) {
    AcDbAttribute* pAtribut = nullptr;
    if (!NajdiAtribut(pReference, sTag, pAtribut) || !pAtribut)
        return false;
    ACHAR* sHodnota = pAtribut->textString();
    sText = sHodnota;
    acutDelString(sHodnota);
    pAtribut->close();
    return true;
}

// A reference opened for read, its "DNO" height and its position.
void CtiDno(AcDbObjectId id, const char* sChybaOtevreni, double& dDno, AcGePoint3d& ptPozice) {
    AcDbBlockReference* pReference = nullptr;
    const Acad::ErrorStatus es = acdbOpenObject(pReference, id, AcDb::kForRead);
    if (es != Acad::eOk)
        VOX_THROW_ERR(sChybaOtevreni, es);
    CString sDno;
    const bool bDno = TextAtributu(pReference, L"DNO", sDno);
    ptPozice = pReference->position();
    pReference->close();
    if (!bDno)
        VOX_THROW("Nelze získat hodnotu atributu DNO");
    dDno = _wtof(sDno);
}

} // namespace

void PrikazVvs() {
    AcDbObjectId id;
    if (!VyberBlok(id))
        return;
    AcDbBlockReference* pReference = nullptr;
    const Acad::ErrorStatus es = acdbOpenObject(pReference, id, AcDb::kForRead);
    if (es != Acad::eOk)
        VOX_THROW_ERR("Nelze otevřít vybraný objekt reference bloku pro čtení", es);
    CString sPoklop, sDno, sOzns;
    const bool bPoklop = TextAtributu(pReference, L"POKLOP", sPoklop);
    const bool bDno = bPoklop && TextAtributu(pReference, L"DNO", sDno);
    const bool bOzns = bDno && TextAtributu(pReference, L"OZNS", sOzns);
    pReference->close();
    if (!bPoklop)
        VOX_THROW("Nelze získat hodnotu atributu POKLOP");
    if (!bDno)
        VOX_THROW("Nelze získat hodnotu atributu DNO");
    if (!bOzns)
        VOX_THROW("Nelze získat hodnotu atributu OZNS");
    const double dHloubka = _wtof(sPoklop) - _wtof(sDno);
    acutPrintf(L"\nŠachta %ls - hloubka: %.2f m  (Poklop: %ls, Dno: %ls)", sOzns.GetString(),
               dHloubka, sPoklop.GetString(), sDno.GetString());
}

void PrikazVvvv() {
    acutPrintf(L"\nVyber bod s první výškou");
    AcDbObjectId idPrvni;
    if (!VyberBlok(idPrvni))
        return;
    acutPrintf(L"\nVyber bod s druhou výškou");
    AcDbObjectId idDruhy;
    if (!VyberBlok(idDruhy))
        return;

    int nRezim = 0;
    double dSpad = 0.0;
    const int nVysledek =
        acedGetReal(L"Zadej spád v promile nebo enter pro výpočet spádu <Enter>: ", &dSpad);
    if (nVysledek == RTNORM) {
        const int nOdpoved = MessageBoxW(
            nullptr, L"Dopočítat konec?\n(ANO - dopočítat konec, NE - dopočítat počátek",
            L"Kresbon", MB_YESNO | MB_ICONQUESTION);
        nRezim = nOdpoved == IDYES ? 2 : 1;
    } else if (nVysledek != RTNONE) {
        acutPrintf(L"\nŠpatné výběr nebo ESC");
        return;
    }

    double dPocatek = 0.0, dKonec = 0.0;
    AcGePoint3d ptPocatek, ptKonec;
    CtiDno(idPrvni, "Nelze otevřít vybraný objekt reference bloku pro čtení (počátek)", dPocatek,
           ptPocatek);
    CtiDno(idDruhy, "Nelze otevřít vybraný objekt reference bloku pro čtení (konec)", dKonec,
           ptKonec);

    double dFaktor = 0.0;
    AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
    if (acdbGetUnitsConversion(AcDb::kUnitsMeters, pDb->insunits(), dFaktor) != Acad::eOk ||
        dFaktor == 0.0)
        VOX_THROW("Nelze získat přepočet jednotek");
    const double dVzdalenost =
        std::hypot(ptKonec.x - ptPocatek.x, ptKonec.y - ptPocatek.y) / dFaktor;

    if (nRezim == 0)
        dSpad = (dPocatek - dKonec) / dVzdalenost * 1000.0;
    else if (nRezim == 1)
        dPocatek = dKonec + dSpad / 1000.0 * dVzdalenost;
    else
        dKonec = dPocatek - dSpad / 1000.0 * dVzdalenost;
    acutPrintf(L"\nPočátek %.2f [m], konec %.2f [m], vzdálenost %.3f [m], spád [‰] %.2f", dPocatek,
               dKonec, dVzdalenost, dSpad);
}
