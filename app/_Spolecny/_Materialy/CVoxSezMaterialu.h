// The list of pipe materials, keyed by name; read from and written to the ".kvp" catalogue files.
#pragma once

#include "StdAfx.h"

#include "CVoxMaterial.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class CVoxSezMaterialu : public CObject {
public:
    using MapaMaterialu = std::map<CString, CVoxMaterial*>;

    CVoxSezMaterialu() = default;
    ~CVoxSezMaterialu() override;
    CVoxSezMaterialu(const CVoxSezMaterialu&) = delete;
    CVoxSezMaterialu& operator=(const CVoxSezMaterialu&) = delete;

    bool Najdi(const wchar_t* sNazev, CVoxMaterial** ppMaterial) const;
    bool Pridej(CVoxMaterial* pMaterial);
    bool NovyMaterial(const wchar_t* sNazev, CVoxMaterial** ppMaterial);
    bool SmazMaterial(CVoxMaterial* pMaterial);
    void Vymaz(bool bPonechatPouzite);
    void Prirad(const CVoxSezMaterialu& src);
    bool NicNevyhovuje(UINT nOblast, UINT nMedium) const;
    void SetModified(bool bZmeneno) { m_bUlozeno = !bZmeneno; }
    bool JeUlozeno() const { return m_bUlozeno; }
    // Empties the holder lists of every material and profile (a working copy that is dropped).
    void VyprazdniOdkazy();
    // Points every holder of a material or profile of this list at it (the list took over the
    // holders of another one, Prirad).
    void PresmerujOdkazy();

    // Reads the standard catalogue (true) or the user's one (false).
    bool Nacti(bool bStandard);
    // Writes the user's catalogue.
    bool Uloz();

    using CObject::Serialize;
    virtual void Serialize(CArchive& ar, bool bJenPouzite);

    // Re-keys a material under a new name (CVoxMaterial::Prejmenuj).
    bool Prejmenuj(CVoxMaterial* pMaterial, const CString& sNovy);

    const MapaMaterialu& Materialy() const { return m_mapMaterialy; }
    int GetCount() const { return static_cast<int>(m_mapMaterialy.size()); }

    // The catalogue files: "...\Materialy\Potrubi_std.kvp" and "...\Materialy\Potrubi.kvp".
    static std::wstring CestaSouboru(bool bStandard, bool bZalozitAdresar = false);

private:
    void SerializeUloz(CArchive& ar, bool bJenPouzite);
    void SerializeNacti(CArchive& ar, bool bJenPouzite);
    // Puts a read material into the list: added, dropped as equal, or merged after asking.
    // True when the list was updated by a replacement.
    bool ZaradNacteny(std::unique_ptr<CVoxMaterial> pNacteny, bool bJenPouzite);
    int ZeptejSePrepsat(const CString& sNazev);

    MapaMaterialu m_mapMaterialy;
    bool m_bUlozeno = true;
    UINT m_nOdpovedVsem = 0;
    // Materials in use that Vymaz dropped from the list: their holders may still point at them,
    // so they live as long as the list.
    std::vector<CVoxMaterial*> m_aOdlozene;
};
