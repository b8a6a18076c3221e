// The office standard: the built-in definitions of the standard text styles, multileader styles,
// dimension styles and layers, found by a name key that ignores case and diacritics.
#pragma once

#include "StdAfx.h"

#include <map>
#include <set>
#include <string>

// Kinds of standard layers (bit mask).
#define KATEGORIE_POTRUBI 1u  // pipes and media
#define KATEGORIE_OSTATNI 2u  // risers, fixtures, dimensions, labels, frame, terrain ...
#define KATEGORIE_UZIVATEL 4u // layers the user defines through the application
#define KATEGORIE_VSE 0xFFFFFFFFu

// The linetype name that stands for the drawing's own continuous linetype.
#define TYP_CARY_CONTINUOUS L"*CONT*"

struct TextStyleDef {
    std::wstring m_sJmeno;
    std::wstring m_sSoubor; // font file name
    std::wstring m_sFont;   // typeface
    double m_dVyska = 0.0;  // 0.0: variable height
    double m_dSirka = 1.0;  // width factor
    bool m_bTucne = false;
    bool m_bKurziva = false;
    int m_nPitch = 0;
    int m_nFamily = 0;
};

struct LayerDef {
    std::wstring m_sJmeno; // the standard name, without any user prefix
    AcCmColor m_Barva;
    AcDb::LineWeight m_nTloustka = AcDb::kLnWtByLwDefault;
    std::wstring m_sTypCary;    // TYP_CARY_CONTINUOUS or a standard linetype
    std::wstring m_sStareJmeno; // the name in the previous standard, empty when none
    bool m_bTisk = true;
    Adesk::UInt32 m_nKategorie = KATEGORIE_OSTATNI;

    LayerDef() = default;
    LayerDef(const std::wstring& sJmeno, Adesk::Int16 nBarva, AcDb::LineWeight nTloustka,
             const std::wstring& sTypCary, const std::wstring& sStareJmeno, bool bTisk,
             Adesk::UInt32 nKategorie);
    // The layer description: "TEBU_", the category digit, "_", the name.
    std::wstring Popis() const;
};

struct MLeaderStyleDef {
    std::wstring m_sJmeno;
    std::wstring m_sTextStyl;
    double m_dVyskaTextu = 0.0;
    double m_dVelikostSipky = 0.0;
    int m_nSipka = 0; // 0 the closed filled arrow, 1 the dot "_DOT"
};

struct DimStyleDef {
    std::wstring m_sJmeno;
    std::wstring m_sTextStyl;
    std::wstring m_sSipka;   // arrowhead block name ("." the closed filled arrow)
    std::wstring m_sPripona; // DIMPOST
    int m_nDimatfit = 0;
    int m_nDimtad = 0;
    int m_nDimtmove = 0;
    int m_nDimjust = 0;
    int m_nDimzin = 0;
    int m_nDimdec = 0;
    double m_dDimlfac = 1.0;
    double m_dDimrnd = 0.0;
    double m_dDimtvp = 0.0;
    bool m_bDimsd1 = false;
    bool m_bDimsd2 = false;
    bool m_bDimupt = false;
    bool m_bPotlacitVynasecky = false; // DIMSE1 and DIMSE2

    DimStyleDef() = default;
    // nSipka: 0 ".", 1 "_DOT", 2 "_OBLIQUE", else "".
    DimStyleDef(const std::wstring& sJmeno, const std::wstring& sTextStyl, int nSipka,
                const std::wstring& sPripona, int nDimatfit, int nDimtad, int nDimtmove,
                int nDimjust, int nDimzin, int nDimdec, double dDimlfac, double dDimrnd,
                double dDimtvp, bool bDimsd1, bool bDimsd2, bool bDimupt, bool bPotlacitVynasecky);
};

// Layer definitions ordered by their name key.
struct LayerDefPodleKlice {
    bool operator()(const LayerDef& a, const LayerDef& b) const;
};
typedef std::set<LayerDef, LayerDefPodleKlice> SadaHladin;

// Replaces accented Latin letters by their base letters, in place; returns the buffer.
const ACHAR* BezDiakritiky(AcString& s);

class CVoxSet {
public:
    CVoxSet();
    CVoxSet(const CVoxSet&) = delete;
    CVoxSet& operator=(const CVoxSet&) = delete;

    // The key a name is stored and looked up under: without diacritics, upper-cased.
    static std::wstring Klic(const std::wstring& sJmeno);

    // The definition of that name, or null when there is none.
    const TextStyleDef* NajdiTextStyl(const std::wstring& sJmeno) const;
    const LayerDef* NajdiHladinu(const std::wstring& sJmeno) const;
    const MLeaderStyleDef* NajdiMLeaderStyl(const std::wstring& sJmeno) const;
    const DimStyleDef* NajdiKotStyl(const std::wstring& sJmeno) const;

    // Adds a copy of every layer definition whose category shares a bit with the mask (in key
    // order) and returns the number of definitions in the set afterwards.
    size_t HladinyPodleKategorie(Adesk::UInt32 nMaska, SadaHladin& sada) const;

    const std::map<std::wstring, TextStyleDef>& TextStyly() const { return m_TextStyly; }
    const std::map<std::wstring, LayerDef>& Hladiny() const { return m_Hladiny; }
    const std::map<std::wstring, MLeaderStyleDef>& MLeaderStyly() const { return m_MLeaderStyly; }
    const std::map<std::wstring, DimStyleDef>& KotStyly() const { return m_KotStyly; }

private:
    std::map<std::wstring, TextStyleDef> m_TextStyly;
    std::map<std::wstring, LayerDef> m_Hladiny;
    std::map<std::wstring, MLeaderStyleDef> m_MLeaderStyly;
    std::map<std::wstring, DimStyleDef> m_KotStyly;
};

// The module's one registry of the standard, built when the module is loaded.
extern const CVoxSet g_VoxSet;
