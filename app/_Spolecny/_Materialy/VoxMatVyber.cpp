#include "StdAfx.h"

#include "CVoxKoty.h"

// The material choice runs in the material dialog; without the dialog nothing can be chosen.
bool VyberMaterialDialogem(CVoxSezMaterialu*, UINT, UINT, bool, CVoxMaterial** ppMaterial,
                           CVoxProfil** ppProfil) {
    if (ppMaterial)
        *ppMaterial = nullptr;
    if (ppProfil)
        *ppProfil = nullptr;
    return false;
}
