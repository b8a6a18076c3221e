// The elevation marker ("kačena"): its settings, kept in the drawing's store under the group
// "DlgKacena", and the commands that place markers (kac) and recompute their heights (kace).
#pragma once

#include "StdAfx.h"

#include "CVoxEntity.h"

#include <vector>

// The group of the settings in the drawing's store, and the marker block.
#define KACENA_SKUPINA L"DlgKacena"
#define KACENA_BLOK L"kv_kacena"

class CKacena {
public:
    // Builds the settings from the drawing's store (defaults for missing records).
    CKacena();

    void Nacti();
    void Uloz();

    // The point prompt and its keywords for the current choices.
    void SestavPrompt();
    // Relative and absolute height of a point given in UCS coordinates.
    double Vyska(const AcGePoint3d& ptUcs) const;
    double AbsolutniVyska(const AcGePoint3d& ptUcs) const;
    // The height text of a relative height (decimals and sign as set).
    CString TextVysky(double dVyska) const;
    // The absolute height as the description shows it ("%.2f").
    static CString TextAbsolutni(double dVyska);
    // The values of the dynamic properties for the marker being placed.
    CVoxDynProp DynVlastnosti() const;

    // Places one marker at the point (UCS); false when the leader was cancelled.
    bool VlozKacenu(const AcGePoint3d& ptUcs);
    // Erases the newest marker of this run.
    void Zpet();

    CString m_sPrompt;
    CString m_sKlice;
    bool m_bPridatAbsolutni = false;
    bool m_bOdkaz = false;
    int m_nSvisle = 1;
    int m_nVodorovne = 1;
    bool m_bOdkazVlevo = false;
    std::vector<AcDbObjectId> m_aVlozene;
    bool m_bLzeVratit = false;
    int m_nZnamenko = 0;
    int m_bPtatSe = 0;
    int m_bViceradkovy = 0;
    CString m_sPopisPod;
    CString m_sUcs;
    double m_dPrepocet = 1.0;
    double m_dVyska = 0.0;
    double m_dDelkaOdkazu = 0.0;
    double m_dNulaAbsolutni = 0.0;
    int m_nDesMist = 3;
    AcGePoint2d m_ptZBod;
    CVoxBlokDef m_objBlok;
    AcDbObjectId m_idPosledni;

    // The name of the current UCS as the settings key it: its record's name, "WCS" for the
    // unnamed world, empty otherwise.
    static CString JmenoUcs();

private:
    bool UmistiOdkaz(AcDbObjectId idReference, const AcGePoint3d& ptUcs);
};

// The commands.
void PrikazKac();
void PrikazKace();
