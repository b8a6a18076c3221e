#include "StdAfx.h"

#include "InfoPrikazy.h"

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

void PrikazPokus() {}
