// The user's prefix for layer names and the prefix of the active drawing.
#pragma once

#include "StdAfx.h"

#include <functional>
#include <string>
#include <vector>

// The record of the drawing's prefix in the drawing's store.
#define XREC_PREDPONA L"PREDPONA"

class CVoxPredpony {
public:
    CVoxPredpony();
    // Writes the global prefix back to the registry when it was read from there.
    ~CVoxPredpony();
    CVoxPredpony(const CVoxPredpony&) = delete;
    CVoxPredpony& operator=(const CVoxPredpony&) = delete;

    // Reads the global prefix: the maker's shared key first, then the product key, else "KB".
    void NactiZRegistru();
    // Writes the global prefix to the maker's shared key.
    void UlozDoRegistru() const;

    const std::wstring& GlobalniPredpona() const { return m_sGlobalni; }
    void NastavGlobalniPredponu(const std::wstring& s) { m_sGlobalni = s; }
    const std::wstring& PredponaVykresu() const { return m_sVykresu; }
    // Sets the drawing prefix of the active drawing and writes it there under "PREDPONA", unless
    // it is the cached one of that drawing already.
    void NastavPredponuVykresu(const std::wstring& s);

    // The prefix for new layer names in the active drawing. When the drawing's prefix differs
    // from the global one, the remembered choices are carried out first.
    std::wstring EffectivePrefix();
    // Brings the cached drawing prefix up to the active drawing: its stored prefix is read when
    // another drawing was active before; a drawing without one gets the global prefix written.
    void AktualizujPredponuVykresu();
    // Shows the prefix dialog filled from the remembered choices and both prefixes (bZNastaveni:
    // opened from the settings dialog). OK takes the choices over and returns true; Cancel only
    // clears the don't-ask flag.
    bool Zeptej(bool bZNastaveni = false);
    // Carries the remembered choices out on the active drawing.
    void Proved();
    // Replaces the prefix in the layer names of the active drawing (with bNaZacatku only in names
    // that begin with it) and merges layers that then collide. Returns the number of layers
    // renamed.
    int PrejmenujPredponuHladin(const std::wstring& sStara, const std::wstring& sNova,
                                bool bNaZacatku);

    // Full layer name: prefix, underscore, name.
    static std::wstring PlneJmeno(const std::wstring& sPredpona, const std::wstring& sJmeno);
    // Strips a prefix of at most three characters followed by "_"; false when there is none.
    static bool OdeberPredponu(std::wstring& sJmeno);

    // The remembered choices of the prefix dialog, shared by all drawings until unload.
    bool m_bNeptatSe = true;            // resolve differences without asking
    bool m_bPouzitGlobalni = true;      // new names get the global prefix (else the drawing's)
    bool m_bNastavitPredponuDwg = true; // the cached drawing prefix becomes the chosen one
    bool m_bDalsiPredpony = false;      // rename the further prefixes found too
    bool m_bPrejmenovatHladiny = true;  // rename layers that carry the drawing's prefix
    std::vector<std::wstring> m_aNalezenePredpony;

private:
    std::wstring m_sGlobalni;
    std::wstring m_sVykresu;
    std::wstring m_sIdentitaVykresu;
    bool m_bNacteno = false;
};

// Calls fn for every layer of the working drawing that is not an external reference's, opened
// in the given mode (the caller's fn does not close it); the layer table is open for reading
// meanwhile and is passed along.
void ProjdiVlastniHladiny(AcDb::OpenMode nRezim,
                          const std::function<void(AcDbLayerTable*, AcDbLayerTableRecord*)>& fn);
