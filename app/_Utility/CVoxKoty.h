// Dimension labels of pipes (commands ko and kod): the current pipe material per drawing and the
// material list it comes from.
#pragma once

#include "StdAfx.h"

#include "CVoxMaterial.h"
#include "CVoxSezMaterialu.h"

#include <memory>

// The values of the current material in the drawing's store.
#define KOTY_SKUPINA L"Koty"
// The material when neither the drawing nor the registry names one.
#define KOTY_VYCHOZI_MATERIAL L"PPR3, PN 16"

class CVoxKoty {
public:
    CVoxKoty() = default;
    ~CVoxKoty();
    CVoxKoty(const CVoxKoty&) = delete;
    CVoxKoty& operator=(const CVoxKoty&) = delete;

    // The one context of the application, made on first use.
    static CVoxKoty& Instance();
    // Ends the context (the application's unload; tests between drawings of their own).
    static void Zrus();

    // The current material of the working drawing (see the pipe label commands).
    CVoxMaterial* GetCurMat();
    // Lets the user choose a material; the choice becomes current and is stored in the drawing.
    void VyberMaterial();
    // Stores the five drawing values of the material.
    void UlozCurMat(CVoxMaterial* pMaterial);
    // The list, read from the user's catalogue on first use.
    CVoxSezMaterialu* Seznam();

    // The commands.
    static void Ko();
    static void Kod();

private:
    void NastavCurMat(CVoxMaterial* pMaterial);
    CVoxMaterial* VytvorVychozi(const CString& sNazev);
    // Asks for a pipe; false after Esc (with its line printed).
    bool VyberTrubku(const ACHAR* sVyzva, const AcGePoint3d* pZaklad, AcDbObjectId& idTrubky,
                     AcGePoint3d& bod);
    // Asks for the label text; false after Esc (with its line printed).
    bool TextKoty(CString& sText);
    void VytvorKotu(const ACHAR* sStyl, const AcGePoint3d& bod1, const AcGePoint3d& bod2,
                    const AcGePoint3d& bodKoty, const CString& sText);

    CVoxMaterial* m_pCurMat = nullptr;
    CVoxSezMaterialu* m_pSeznam = nullptr;
    CString m_strGuid;
    CString m_strCurMat;
};

// Chooses a material (and, with bProfil, one of its profiles) from the list in the material
// choice dialog over the host's main window. False when the user chose nothing.
bool VyberMaterialDialogem(CVoxSezMaterialu* pSeznam, UINT nOblast, UINT nMedium, bool bProfil,
                           CVoxMaterial** ppMaterial, CVoxProfil** ppProfil);
