// Typed values in the registry of the current user, and the installation folders.
#pragma once

#include "StdAfx.h"

#include <string>

// Base keys; the key of a value is the base followed directly by the subkey name.
#define REG_KLIC_PRODUKT L"Software\\Pelmex\\Kresbon\\"
#define REG_KLIC_VYROBCE L"Software\\Pelmex\\"
#define REG_PODKLIC_NASTAVENI L"Nastaveni"
#define REG_PODKLIC_COMMON L"Common"

class CVoxRegistry {
public:
    // Readers return true only when the key opened, the value was read and it has the expected
    // type and size; they never create a key and never throw.
    static bool CtiBool(const ACHAR* sZaklad, const ACHAR* sHodnota, bool& bHodnota,
                        const ACHAR* sPodklic);
    static bool CtiDword(const ACHAR* sZaklad, const ACHAR* sHodnota, DWORD& nHodnota,
                         const ACHAR* sPodklic);
    static bool CtiDouble(const ACHAR* sZaklad, const ACHAR* sHodnota, double& dHodnota,
                          const ACHAR* sPodklic);
    static bool CtiRetezec(const ACHAR* sZaklad, const ACHAR* sHodnota, std::wstring& sText,
                           const ACHAR* sPodklic, DWORD nVelikost = 500);

    // Writers create or open the key and store the value; failures throw CVoxException.
    static bool UlozBool(const ACHAR* sZaklad, const ACHAR* sHodnota, bool bHodnota,
                         const ACHAR* sPodklic);
    static bool UlozDword(const ACHAR* sZaklad, const ACHAR* sHodnota, DWORD nHodnota,
                          const ACHAR* sPodklic);
    static bool UlozDouble(const ACHAR* sZaklad, const ACHAR* sHodnota, double dHodnota,
                           const ACHAR* sPodklic);
    static bool UlozRetezec(const ACHAR* sZaklad, const ACHAR* sHodnota, const ACHAR* sText,
                            const ACHAR* sPodklic);

    // Installation folders: 1 "InstallPath", 2 "DataPath" (product key), 3 "CommonInstallPath",
    // 4 "CommonDataPath" (maker key). Returns the folder with the subfolder appended, both
    // ending with a separator; tests its existence unless told not to, creating it on request.
    static std::wstring NactiCestu(const ACHAR* sZaklad, const ACHAR* sPodadresar, int nTyp,
                                   bool bNetestovat = false, bool bZalozit = false);

private:
    static bool Cti(const ACHAR* sZaklad, const ACHAR* sHodnota, const ACHAR* sPodklic,
                    HKEY hKoren, DWORD nTyp, BYTE* pData, DWORD& nVelikost);
    static bool Uloz(const ACHAR* sZaklad, const ACHAR* sHodnota, const ACHAR* sPodklic, DWORD nTyp,
                     const BYTE* pData, DWORD nVelikost, const char* sChybaHodnoty);
};
