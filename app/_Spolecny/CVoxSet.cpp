#include "StdAfx.h"

#include "CVoxSet.h"

#include "VoxDb.h"

#include <array>

namespace {

// Each letter of the first table becomes the letter at the same place of the second.
const wchar_t g_sZ[] = L"ÀÁÂÃÄÅÇÈÉÊËÌÍÎÏÑÒÓÔÕÖÙÚÛÜÝßàáâãäåçèéêëìí"
                       L"îïñòóôõöùúûüýÿĀāĂăĄąĆćĈĉĊċČčĎďĐđĒēĔĕĖėĘę"
                       L"ĚěĜĝĞğĠġĢģĤĥĦħĨĩĪīĬĭĮįİıĶķĸĹĺĻļĽľĿŀŁłŃńŅ"
                       L"ņŇňŉŊŋŌōŎŏŐőŔŕŖŗŘřŚśŜŝŞşŠšŢţŤťŦŧŨũŪūŬŭŮů"
                       L"ŰűŲųŴŵŶŷŸŹźŻżŽžſ";
const wchar_t g_sNa[] = L"AAAAAACEEEEIIIINOOOOOUUUUYsaaaaaaceeeeii"
                        L"iinooooouuuuyyAaAaAaCcCcCcCcDdDdEeEeEeEe"
                        L"EeGgGgGgGgHhHhIiIiIiIiIiKkkLlLlLlLlLlNnN"
                        L"nNnNnNOoOoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUu"
                        L"UuUuWwYyYZzZzZzs";
static_assert(sizeof(g_sZ) == sizeof(g_sNa), "the tables of letters must pair up");

constexpr wchar_t PRVNI_ZNAK = 0x00C0;
constexpr wchar_t POSLEDNI_ZNAK = 0x017F;

// The replacement of every letter in the range of the tables (0 where a letter stays).
const std::array<wchar_t, POSLEDNI_ZNAK - PRVNI_ZNAK + 1>& TabulkaZnaku() {
    static const auto s_Tabulka = [] {
        std::array<wchar_t, POSLEDNI_ZNAK - PRVNI_ZNAK + 1> t{};
        for (size_t i = 0; g_sZ[i]; ++i)
            t[g_sZ[i] - PRVNI_ZNAK] = g_sNa[i];
        return t;
    }();
    return s_Tabulka;
}

struct RadekHladiny {
    const wchar_t* sJmeno;
    Adesk::Int16 nBarva;
    AcDb::LineWeight nTloustka;
    const wchar_t* sTypCary;
    const wchar_t* sStareJmeno;
    bool bTisk;
    Adesk::UInt32 nKategorie;
};

// clang-format off
const RadekHladiny g_aHladiny[] = {
        {L"ZT-voda_SV", 150, AcDb::kLnWt053, L"SV", L"zti-VODA-SV", true, 1},
        {L"ZT-voda_TUV", 10, AcDb::kLnWt053, L"TUV", L"zti-VODA-TUV", true, 1},
        {L"ZT-voda_CIRK", 210, AcDb::kLnWt053, L"CIRKULACE", L"zti-VODA-CIRK", true, 1},
        {L"ZT-voda_POŽ", 150, AcDb::kLnWt053, L"*CONT*", L"zti-VODA-POZ", true, 1},
        {L"ZT-voda_UŽIT", 102, AcDb::kLnWt053, L"UZITKOVA", L"", true, 1},
        {L"ZT-ostatní", 120, AcDb::kLnWt025, L"*CONT*", L"zti-OSTATNI", true, 2},
        {L"ZT-V_stoupačky", 120, AcDb::kLnWt025, L"*CONT*", L"zti-V-STOUPACKY", true, 2},
        {L"ZT-K_stoupačky", 120, AcDb::kLnWt025, L"*CONT*", L"zti-K-STOUPACKY", true, 2},
        {L"ZT-kanalizace", 43, AcDb::kLnWt060, L"*CONT*", L"zti-KAN-OBECNE", true, 1},
        {L"ZT-kan_pod_str", 43, AcDb::kLnWt060, L"TUV", L"zti-KAN-POD-STR", true, 1},
        {L"ZT-kan_v_podl", 43, AcDb::kLnWt060, L"KAN-PODL", L"zti-KAN-V-PODL", true, 1},
        {L"ZT-deš_kan_v_podl", 10, AcDb::kLnWt060, L"DESTAK_PODL", L"zti-KAN-D-PODL", true, 1},
        {L"ZT-deš_kan_pod_str", 10, AcDb::kLnWt060, L"DESTAK_STROP", L"zti-KAN-D-STROP", true, 1},
        {L"ZT-čerp_kan_v_podl", 150, AcDb::kLnWt060, L"CERPANA_PODL", L"zti-KAN-C-PODL", true, 1},
        {L"ZT-čerp_kan_pod_str", 150, AcDb::kLnWt060, L"CERPANA_STROP", L"zti-KAN-C-STROP", true, 1},
        {L"UT-topná", 10, AcDb::kLnWt053, L"*CONT*", L"ut-TOPNA", true, 1},
        {L"UT-vratná", 150, AcDb::kLnWt053, L"KAN-PODL", L"ut-VRATNA", true, 1},
        {L"UT-radiátory", 120, AcDb::kLnWt025, L"*CONT*", L"ut-RADIATORY", true, 2},
        {L"UT-radiátory_popisy", 120, AcDb::kLnWtByLwDefault, L"*CONT*", L"", true, 2},
        {L"zařizovací_předměty", 7, AcDb::kLnWtByLwDefault, L"*CONT*", L"zti-ZARIZOVACI PREDMETY", true, 2},
        {L"ZT-tečkovaná", 120, AcDb::kLnWt025, L"TEČKOVANÁ", L"", true, 2},
        {L"ZT-plynovod", 50, AcDb::kLnWt060, L"PLYN", L"zti-PLYN", true, 1},
        {L"kóty", 4, AcDb::kLnWtByLwDefault, L"*CONT*", L"zti-KOTY", true, 2},
        {L"kóty_výškové", 4, AcDb::kLnWtByLwDefault, L"*CONT*", L"zti-KOTY-VYSKOVE", true, 2},
        {L"popisy_020", 4, AcDb::kLnWtByLwDefault, L"*CONT*", L"zti-POPISY-020", true, 2},
        {L"popisy_035", 20, AcDb::kLnWt035, L"*CONT*", L"zti-POPISY-035", true, 2},
        {L"popisy_050", 90, AcDb::kLnWt053, L"*CONT*", L"zti-POPISY-050", true, 2},
        {L"popisy_nadpis", 20, AcDb::kLnWtByLwDefault, L"*CONT*", L"zti-POPISY-NADPIS", true, 2},
        {L"šrafy", 8, AcDb::kLnWtByLwDefault, L"*CONT*", L"zti-SRAFY", true, 2},
        {L"tepelná_izolace", 140, AcDb::kLnWtByLwDefault, L"IZOLACE", L"zti-IZOL-TEP", true, 2},
        {L"rámeček", 7, AcDb::kLnWt025, L"*CONT*", L"zti-RAMECEK", true, 2},
        {L"terén", 3, AcDb::kLnWtByLwDefault, L"*CONT*", L"zti-TEREN", true, 2},
        {L"XRefs", 8, AcDb::kLnWtByLwDefault, L"*CONT*", L"zti-REFERENCE", true, 2},
        {L"osy", 3, AcDb::kLnWtByLwDefault, L"SV", L"zti-OSY", true, 2},
        {L"netisk", 85, AcDb::kLnWtByLwDefault, L"*CONT*", L"zti-NETISK", false, 2},
};
// clang-format on

template <class T>
const T* Najdi(const std::map<std::wstring, T>& mapa, const std::wstring& sJmeno) {
    auto it = mapa.find(CVoxSet::Klic(sJmeno));
    return it == mapa.end() ? nullptr : &it->second;
}

} // namespace

const ACHAR* BezDiakritiky(AcString& s) {
    const auto& tabulka = TabulkaZnaku();
    for (wchar_t& c : s.str()) {
        if (c >= PRVNI_ZNAK && c <= POSLEDNI_ZNAK && tabulka[c - PRVNI_ZNAK])
            c = tabulka[c - PRVNI_ZNAK];
    }
    return s.kACharPtr();
}

LayerDef::LayerDef(const std::wstring& sJmeno, Adesk::Int16 nBarva, AcDb::LineWeight nTloustka,
                   const std::wstring& sTypCary, const std::wstring& sStareJmeno, bool bTisk,
                   Adesk::UInt32 nKategorie)
    : m_sJmeno(sJmeno), m_nTloustka(nTloustka), m_sTypCary(sTypCary), m_sStareJmeno(sStareJmeno),
      m_bTisk(bTisk), m_nKategorie(nKategorie) {
    m_Barva.setColorIndex(nBarva);
}

std::wstring LayerDef::Popis() const {
    return L"TEBU_" + std::wstring(1, static_cast<wchar_t>(L'0' + m_nKategorie)) + L"_" + m_sJmeno;
}

DimStyleDef::DimStyleDef(const std::wstring& sJmeno, const std::wstring& sTextStyl, int nSipka,
                         const std::wstring& sPripona, int nDimatfit, int nDimtad, int nDimtmove,
                         int nDimjust, int nDimzin, int nDimdec, double dDimlfac, double dDimrnd,
                         double dDimtvp, bool bDimsd1, bool bDimsd2, bool bDimupt,
                         bool bPotlacitVynasecky)
    : m_sJmeno(sJmeno), m_sTextStyl(sTextStyl), m_sPripona(sPripona), m_nDimatfit(nDimatfit),
      m_nDimtad(nDimtad), m_nDimtmove(nDimtmove), m_nDimjust(nDimjust), m_nDimzin(nDimzin),
      m_nDimdec(nDimdec), m_dDimlfac(dDimlfac), m_dDimrnd(dDimrnd), m_dDimtvp(dDimtvp),
      m_bDimsd1(bDimsd1), m_bDimsd2(bDimsd2), m_bDimupt(bDimupt),
      m_bPotlacitVynasecky(bPotlacitVynasecky) {
    switch (nSipka) {
    case 0:
        m_sSipka = L".";
        break;
    case 1:
        m_sSipka = L"_DOT";
        break;
    case 2:
        m_sSipka = L"_OBLIQUE";
        break;
    default:
        break;
    }
}

bool LayerDefPodleKlice::operator()(const LayerDef& a, const LayerDef& b) const {
    return CVoxSet::Klic(a.m_sJmeno) < CVoxSet::Klic(b.m_sJmeno);
}

std::wstring CVoxSet::Klic(const std::wstring& sJmeno) {
    AcString s(sJmeno);
    BezDiakritiky(s);
    NaVelka(s);
    return s.str();
}

CVoxSet::CVoxSet() {
    const TextStyleDef aTextStyly[] = {
        {L"KV_TXT_MALY", L"ArialN.ttf", L"Arial Narrow", 0.0, 1.0, false, false, 0, 0},
        {L"KV_TXT_VELKY", L"ArialN.ttf", L"Arial Narrow", 0.0, 1.0, false, false, 0, 0},
    };
    for (const TextStyleDef& d : aTextStyly)
        m_TextStyly.emplace(Klic(d.m_sJmeno), d);

    const MLeaderStyleDef aMLeaderStyly[] = {
        {L"KV_SIPKA", L"KV_TXT_MALY", 2.0, 1.5, 0},
        {L"KV_POZICE", L"KV_TXT_VELKY", 3.5, 1.5, 0},
        {L"KV_TECKA", L"KV_TXT_MALY", 2.0, 0.6, 1},
        {L"KV_VYTYCENI", L"KV_TXT_MALY", 2.0, 0.6, 1},
    };
    for (const MLeaderStyleDef& d : aMLeaderStyly)
        m_MLeaderStyly.emplace(Klic(d.m_sJmeno), d);

    for (const RadekHladiny& r : g_aHladiny)
        m_Hladiny.emplace(Klic(r.sJmeno), LayerDef(r.sJmeno, r.nBarva, r.nTloustka, r.sTypCary,
                                                   r.sStareJmeno, r.bTisk, r.nKategorie));

    // All of them: text style KV_TXT_MALY, oblique strokes, no suffix, DIMTAD 1, DIMTVP 0.5.
    // clang-format off
    const DimStyleDef aKotStyly[] = {
        // name, text style, arrowhead, suffix, DIMATFIT, DIMTAD, DIMTMOVE, DIMJUST, DIMZIN, DIMDEC,
        // DIMLFAC, DIMRND, DIMTVP, DIMSD1, DIMSD2, DIMUPT, DIMSE1 and DIMSE2
        {L"KV_VNEJSI",    L"KV_TXT_MALY", 2, L"", 2, 1, 2, 0, 8, 0, 1.0,   5.0, 0.5, false, false, false, false},
        {L"KV_VNEJSI_M",  L"KV_TXT_MALY", 2, L"", 2, 1, 2, 0, 0, 2, 1.0,   0.0, 0.5, false, false, false, false},
        {L"KV_VNITRNI",   L"KV_TXT_MALY", 2, L"", 2, 1, 2, 0, 8, 0, 1.0,   5.0, 0.5, false, false, false, true},
        {L"KV_VNITRNI_M", L"KV_TXT_MALY", 2, L"", 2, 1, 2, 0, 0, 2, 1.0,   0.0, 0.5, false, false, false, true},
        {L"KV_VODA1",     L"KV_TXT_MALY", 2, L"", 2, 1, 0, 1, 0, 3, 0.001, 0.0, 0.5, false, true,  false, true},
        {L"KV_VODA2",     L"KV_TXT_MALY", 2, L"", 2, 1, 0, 2, 0, 3, 0.001, 0.0, 0.5, false, false, false, true},
        {L"KV_KANREZ",    L"KV_TXT_MALY", 2, L"", 3, 1, 0, 0, 0, 3, 0.001, 0.0, 0.5, true,  true,  true,  true},
        {L"KV_KANSTAN",   L"KV_TXT_MALY", 2, L"", 3, 1, 0, 0, 0, 3, 0.001, 0.0, 0.5, true,  true,  true,  true},
    };
    // clang-format on
    for (const DimStyleDef& d : aKotStyly)
        m_KotStyly.emplace(Klic(d.m_sJmeno), d);
}

const TextStyleDef* CVoxSet::NajdiTextStyl(const std::wstring& sJmeno) const {
    return Najdi(m_TextStyly, sJmeno);
}

const LayerDef* CVoxSet::NajdiHladinu(const std::wstring& sJmeno) const {
    return Najdi(m_Hladiny, sJmeno);
}

const MLeaderStyleDef* CVoxSet::NajdiMLeaderStyl(const std::wstring& sJmeno) const {
    return Najdi(m_MLeaderStyly, sJmeno);
}

const DimStyleDef* CVoxSet::NajdiKotStyl(const std::wstring& sJmeno) const {
    return Najdi(m_KotStyly, sJmeno);
}

size_t CVoxSet::HladinyPodleKategorie(Adesk::UInt32 nMaska, SadaHladin& sada) const {
    for (const auto& [sKlic, def] : m_Hladiny)
        if (def.m_nKategorie & nMaska)
            sada.insert(def);
    return sada.size();
}

const CVoxSet g_VoxSet;
