#include "StdAfx.h"

#include "CKvDlgMatVyber.h"
#include "CVoxKoty.h"

bool VyberMaterialDialogem(CVoxSezMaterialu* pSeznam, UINT nOblast, UINT nMedium, bool bProfil,
                           CVoxMaterial** ppMaterial, CVoxProfil** ppProfil) {
    if (ppMaterial)
        *ppMaterial = nullptr;
    if (ppProfil)
        *ppProfil = nullptr;
    if (!pSeznam)
        return false;
    CKvDlgMatVyber dlg(CWnd::FromHandle(adsw_acadMainWnd()));
    if (dlg.DoModal(pSeznam, nOblast, nMedium, bProfil) != IDOK || !dlg.m_pMaterial)
        return false;
    if (ppMaterial)
        *ppMaterial = dlg.m_pMaterial;
    if (ppProfil)
        *ppProfil = dlg.m_pProfil;
    return true;
}
