// Pipe materials and their profiles: a material owns one profile for each nominal diameter DN it
// is made in; a profile knows its inner diameter, wall and outer diameter and carries the label
// texts of the pipe labels. The tables of the standard DN, PN and SDr values belong here.
#pragma once

#include "StdAfx.h"

#include "CVoxOdkazy.h"

#include <map>

class CVoxMaterial;
class CVoxSezMaterialu;

// --- Standard tables ----------------------------------------------------------------------------
struct VoxRadekDN {
    const wchar_t* sText;
    float fDN; // nominal diameter, mm
    int nD;    // outer diameter of a plastic pipe of that DN, mm
};
struct VoxRadekPN {
    const wchar_t* sText;
    int nPN;
};
struct VoxRadekSDr {
    const wchar_t* sText;
    float fSDr;
};

constexpr int POCET_DN = 28;
constexpr int POCET_PN = 7;
constexpr int POCET_SDR = 8;
// The row "DN 225" was inserted here into the older table of 27 rows.
constexpr int DN_VLOZENY_RADEK = 15;
// From this row ("DN 400") on, generated profiles get the thicker default wall.
constexpr int DN_SILNA_STENA = 19;

extern const VoxRadekDN g_aTabulkaDN[POCET_DN];
extern const VoxRadekPN g_aTabulkaPN[POCET_PN];
extern const VoxRadekSDr g_aTabulkaSDr[POCET_SDR];

// Label types of a material.
enum : UINT { POPIS_DN = 0, POPIS_DXT = 1, POPIS_JINY = 2 };
// Field of use and medium masks.
enum : UINT { OBLAST_ZTI = 1, OBLAST_SITE = 2, OBLAST_VSE = 3 };
enum : UINT {
    MEDIUM_KANALIZACE = 1,
    MEDIUM_KAN_TLAKOVA = 2,
    MEDIUM_VODA = 4,
    MEDIUM_PLYN = 8,
    MEDIUM_TEPLO = 16,
    MEDIUM_VSE = 31
};

// --- Profile ------------------------------------------------------------------------------------
class CVoxProfil : public CObject {
public:
    // Capacities of the text fields in characters, terminator included. The price-list codes take
    // nine characters from the setters; files may bring ten, which the fields also hold.
    static constexpr int KOD_ZAPIS = 9;
    static constexpr int KOD_CTENI = 10;
    static constexpr int VELIKOST_KODU = KOD_CTENI + 1;
    static constexpr int VELIKOST_POPISU = 15;
    static constexpr int VELIKOST_KRATKEHO = 6;

    // Empty, for reading.
    CVoxProfil();
    // A new profile of the given DN row.
    CVoxProfil(CVoxMaterial* pMaterial, int iDN);
    // A copy for another material.
    CVoxProfil(const CVoxProfil& src, CVoxMaterial* pMaterial);
    ~CVoxProfil() override;

    void Serialize(CArchive& ar) override;

    void SetOuter(int nVnejsi);
    void SetWall(float fTloustka);
    void SetInner(float fVnitrni);
    // False (and nothing changed) for the current row, a taken row or a row outside the table.
    bool SetDN(int iDN, bool bPrepocitat);
    void SetKodMaterial(const wchar_t* sKod);
    void SetKodMontaz(const wchar_t* sKod);
    void SetSirka(UINT nSirka);
    void UpdatePopis();
    void SetModified();

    bool operator==(const CVoxProfil& p) const;
    bool operator!=(const CVoxProfil& p) const { return !(*this == p); }

    int GetDN() const { return m_iDN; }
    float GetInner() const { return m_fVnitrni; }
    float GetWall() const { return m_fTloustka; }
    int GetOuter() const { return m_nVnejsi; }
    UINT GetSirka() const { return m_nSirka; }
    CVoxMaterial* GetMaterial() const { return m_pMaterial; }
    const wchar_t* GetKodMaterial() const { return m_szKodMaterial; }
    const wchar_t* GetKodMontaz() const { return m_szKodMontaz; }
    const wchar_t* GetPopis() const { return m_szPopis; }
    const wchar_t* GetPopisKratky() const { return m_szPopisKratky; }

    // Holders of pointers to this profile.
    void PridejOdkaz(CVoxProfil** ppOdkaz) { m_Odkazy.Pridej(ppOdkaz); }
    void OdeberOdkaz(CVoxProfil** ppOdkaz) { m_Odkazy.Odeber(ppOdkaz); }
    CVoxOdkazy<CVoxProfil>& Odkazy() { return m_Odkazy; }
    bool JePouzivan() const { return !m_Odkazy.JePrazdny(); }

private:
    friend class CVoxMaterial;

    int m_iDN = -1;
    float m_fVnitrni = 0.0f;
    float m_fTloustka = 0.0f;
    int m_nVnejsi = 0;
    UINT m_nSirka = 0;
    CVoxMaterial* m_pMaterial = nullptr;
    wchar_t m_szKodMaterial[VELIKOST_KODU] = {};
    wchar_t m_szKodMontaz[VELIKOST_KODU] = {};
    wchar_t m_szPopis[VELIKOST_POPISU] = {};
    wchar_t m_szPopisKratky[VELIKOST_KRATKEHO] = {};
    CVoxOdkazy<CVoxProfil> m_Odkazy;
};

// --- The record that the material edit dialog fills --------------------------------------------
struct CVoxMaterialData {
    CString m_strNazev;
    CString m_strVyrobce;
    CString m_strPodrobnyPopis;
    int m_iPN = 0;
    int m_iSDr = 0;
    double m_dDrsnost = 0.01; // -1000: take m_strDrsnost
    CString m_strDrsnost;
    UINT m_nOblast = OBLAST_VSE;
    UINT m_nMedium = MEDIUM_VSE;
    UINT m_nTypPopisu = POPIS_DXT;
    UINT m_nTvar = 0;
    CString m_strPrefix;
    CString m_strSuffix;
    bool m_bVnitrni = false;
    CString m_strPopis;
};

// --- Material -----------------------------------------------------------------------------------
class CVoxMaterial : public CObject {
public:
    static constexpr int MAX_NAZEV = 20;
    static constexpr int MAX_VYROBCE = 25;
    static constexpr int VELIKOST_PREFIXU = 5;

    using MapaProfilu = std::map<int, CVoxProfil*>;

    // Empty, for reading.
    CVoxMaterial();
    // A new material; a zero mask becomes its default.
    CVoxMaterial(CVoxSezMaterialu* pSeznam, const wchar_t* sNazev, UINT nOblast, UINT nMedium,
                 UINT nTypPopisu, float fDrsnost, const wchar_t* sPodrobnyPopis,
                 const wchar_t* sVyrobce);
    // A copy for another list: all fields, copies of all profiles, a copy of the holder list.
    CVoxMaterial(const CVoxMaterial& src, CVoxSezMaterialu* pSeznam);
    ~CVoxMaterial() override;

    using CObject::Serialize;
    virtual void Serialize(CArchive& ar, bool bJenPouzite);

    bool PridejProfil(int iDN, CVoxProfil** ppProfil = nullptr);
    void GenerujProfily(int iOd, int iDo);
    int DalsiVolneDN(int iDN) const;
    CVoxProfil* NajdiProfil(double dPrumer) const;
    bool Prejmenuj(const wchar_t* sNazev);
    void Nastav(const CVoxMaterialData& data);
    // Fills a record from this material (what the edit dialog starts from).
    void Data(CVoxMaterialData& data) const;
    bool SmazProfil(CVoxProfil* pProfil);
    // Deletes every profile (used ones included).
    void SmazProfily();
    void ZahrnProfily(const CVoxMaterial& jiny);
    void PrevezmiDrzitele(CVoxMaterial& jiny);
    bool JePouzivan() const { return !m_Odkazy.JePrazdny(); }
    void SetModified();
    // Moves a profile to another key of the map (SetDN).
    bool PrevedProfil(CVoxProfil* pProfil, int iNoveDN);
    // Rebuilds the labels of all profiles.
    void UpdatePopisy();

    // Equality of the merge: with bJenPouzite, the read material's profiles need only be found
    // among this one's.
    bool Stejny(const CVoxMaterial& jiny, bool bJenPouzite) const;

    void PridejOdkaz(CVoxMaterial** ppOdkaz) { m_Odkazy.Pridej(ppOdkaz); }
    void OdeberOdkaz(CVoxMaterial** ppOdkaz) { m_Odkazy.Odeber(ppOdkaz); }
    CVoxOdkazy<CVoxMaterial>& Odkazy() { return m_Odkazy; }

    // Accessors.
    int GetIndex() const { return m_nIndex; }
    void SetIndex(int n) { m_nIndex = n; }
    UINT GetTypPopisu() const { return m_nTypPopisu; }
    const wchar_t* GetPrefix() const { return m_szPrefix; }
    const wchar_t* GetSuffix() const { return m_szSuffix; }
    bool GetVnitrni() const { return m_bVnitrni; }
    const CString& GetNazev() const { return m_strNazev; }
    const CString& GetPopis() const { return m_strPopis; }
    const CString& GetPodrobnyPopis() const { return m_strPodrobnyPopis; }
    const CString& GetVyrobce() const { return m_strVyrobce; }
    float GetDrsnost() const { return m_fDrsnost; }
    UINT GetOblast() const { return m_nOblast; }
    UINT GetMedium() const { return m_nMedium; }
    int GetPN() const { return m_iPN; }
    int GetSDr() const { return m_iSDr; }
    UINT GetTvar() const { return m_nTvar; }
    CVoxSezMaterialu* GetSeznam() const { return m_pSeznam; }
    void SetSeznam(CVoxSezMaterialu* p) { m_pSeznam = p; }
    const MapaProfilu& Profily() const { return m_mapProfily; }
    int GetProfilCount() const { return static_cast<int>(m_mapProfily.size()); }
    CVoxProfil* Profil(int iDN) const;

private:
    friend class CVoxSezMaterialu;
    void SerializeUloz(CArchive& ar, bool bJenPouzite);
    void SerializeNacti(CArchive& ar);

    int m_nIndex = -2;
    UINT m_nTypPopisu = POPIS_DXT;
    wchar_t m_szPrefix[VELIKOST_PREFIXU] = {};
    wchar_t m_szSuffix[VELIKOST_PREFIXU] = {};
    bool m_bVnitrni = false;
    CString m_strNazev;
    CString m_strPopis;
    CString m_strPodrobnyPopis;
    CString m_strVyrobce;
    float m_fDrsnost = 0.0f;
    UINT m_nOblast = OBLAST_VSE;
    UINT m_nMedium = MEDIUM_VSE;
    MapaProfilu m_mapProfily;
    CVoxSezMaterialu* m_pSeznam = nullptr;
    int m_iPN = -1;
    int m_iSDr = -1;
    UINT m_nTvar = 0;
    CVoxOdkazy<CVoxMaterial> m_Odkazy;
};
