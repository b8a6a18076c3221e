#include "StdAfx.h"

#include "CVoxRegistry.h"

#include "CVoxException.h"
#include "VoxPlatforma.h"

#include <cstring>
#include <vector>

bool CVoxRegistry::Cti(const ACHAR* sZaklad, const ACHAR* sHodnota, const ACHAR* sPodklic,
                       HKEY hKoren, DWORD nTyp, BYTE* pData, DWORD& nVelikost) {
    std::wstring sKlic = std::wstring(sZaklad ? sZaklad : L"") + (sPodklic ? sPodklic : L"");
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(hKoren, sKlic.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    DWORD nUlozenyTyp = REG_NONE;
    LONG nVysledek = RegQueryValueExW(hKey, sHodnota, nullptr, &nUlozenyTyp, pData, &nVelikost);
    RegCloseKey(hKey);
    return nVysledek == ERROR_SUCCESS && nUlozenyTyp == nTyp;
}

bool CVoxRegistry::CtiBool(const ACHAR* sZaklad, const ACHAR* sHodnota, bool& bHodnota,
                           const ACHAR* sPodklic) {
    BYTE nData = 0;
    DWORD nVelikost = sizeof(nData);
    if (!Cti(sZaklad, sHodnota, sPodklic, HKEY_CURRENT_USER, REG_BINARY, &nData, nVelikost) ||
        nVelikost != 1)
        return false;
    bHodnota = nData != 0;
    return true;
}

bool CVoxRegistry::CtiDword(const ACHAR* sZaklad, const ACHAR* sHodnota, DWORD& nHodnota,
                            const ACHAR* sPodklic) {
    BYTE aData[4] = {};
    DWORD nVelikost = sizeof(aData);
    if (!Cti(sZaklad, sHodnota, sPodklic, HKEY_CURRENT_USER, REG_BINARY, aData, nVelikost) ||
        nVelikost != 4)
        return false;
    nHodnota = static_cast<DWORD>(aData[0]) | (static_cast<DWORD>(aData[1]) << 8) |
               (static_cast<DWORD>(aData[2]) << 16) | (static_cast<DWORD>(aData[3]) << 24);
    return true;
}

bool CVoxRegistry::CtiDouble(const ACHAR* sZaklad, const ACHAR* sHodnota, double& dHodnota,
                             const ACHAR* sPodklic) {
    BYTE aData[8] = {};
    DWORD nVelikost = sizeof(aData);
    if (!Cti(sZaklad, sHodnota, sPodklic, HKEY_CURRENT_USER, REG_BINARY, aData, nVelikost) ||
        nVelikost != 8)
        return false;
    std::memcpy(&dHodnota, aData, sizeof(double));
    return true;
}

bool CVoxRegistry::CtiRetezec(const ACHAR* sZaklad, const ACHAR* sHodnota, std::wstring& sText,
                              const ACHAR* sPodklic, DWORD nVelikost) {
    if (nVelikost == 0)
        return false;
    std::vector<WCHAR> aBuf(nVelikost, L'\0');
    DWORD nBajty = nVelikost * static_cast<DWORD>(sizeof(WCHAR));
    if (!Cti(sZaklad, sHodnota, sPodklic, HKEY_CURRENT_USER, REG_SZ,
             reinterpret_cast<BYTE*>(aBuf.data()), nBajty))
        return false;
    // The stored text need not carry its terminator; the last place of the buffer always does.
    aBuf[nVelikost - 1] = L'\0';
    size_t nZnaky = std::min<size_t>(nBajty / sizeof(WCHAR), nVelikost - 1);
    sText.assign(aBuf.data(), nZnaky);
    size_t nKonec = sText.find(L'\0');
    if (nKonec != std::wstring::npos)
        sText.resize(nKonec);
    return true;
}

bool CVoxRegistry::Uloz(const ACHAR* sZaklad, const ACHAR* sHodnota, const ACHAR* sPodklic,
                        DWORD nTyp, const BYTE* pData, DWORD nVelikost, const char* sChybaHodnoty) {
    std::wstring sKlic = std::wstring(sZaklad ? sZaklad : L"") + (sPodklic ? sPodklic : L"");
    HKEY hKey = nullptr;
    DWORD nDispozice = 0;
    LONG nVysledek = RegCreateKeyExW(HKEY_CURRENT_USER, sKlic.c_str(), 0, nullptr,
                                     REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &hKey,
                                     &nDispozice);
    if (nVysledek != ERROR_SUCCESS)
        VOX_THROW_ERR("Nelze otevřít klíč,nastavení nebude uloženo", nVysledek);
    nVysledek = RegSetValueExW(hKey, sHodnota, 0, nTyp, pData, nVelikost);
    if (nVysledek != ERROR_SUCCESS) {
        RegCloseKey(hKey);
        VOX_THROW_ERR(sChybaHodnoty, nVysledek);
    }
    RegCloseKey(hKey);
    return true;
}

bool CVoxRegistry::UlozBool(const ACHAR* sZaklad, const ACHAR* sHodnota, bool bHodnota,
                            const ACHAR* sPodklic) {
    BYTE nData = bHodnota ? 1 : 0;
    return Uloz(sZaklad, sHodnota, sPodklic, REG_BINARY, &nData, 1,
                "Nelze uložit DWORD hodnotu do klíče registru");
}

bool CVoxRegistry::UlozDword(const ACHAR* sZaklad, const ACHAR* sHodnota, DWORD nHodnota,
                             const ACHAR* sPodklic) {
    BYTE aData[4] = {static_cast<BYTE>(nHodnota & 0xFF), static_cast<BYTE>((nHodnota >> 8) & 0xFF),
                     static_cast<BYTE>((nHodnota >> 16) & 0xFF),
                     static_cast<BYTE>((nHodnota >> 24) & 0xFF)};
    return Uloz(sZaklad, sHodnota, sPodklic, REG_BINARY, aData, 4,
                "Nelze uložit DWORD hodnotu do klíče registru");
}

bool CVoxRegistry::UlozDouble(const ACHAR* sZaklad, const ACHAR* sHodnota, double dHodnota,
                              const ACHAR* sPodklic) {
    BYTE aData[8];
    std::memcpy(aData, &dHodnota, sizeof(aData));
    return Uloz(sZaklad, sHodnota, sPodklic, REG_BINARY, aData, 8,
                "Nelze uložit DWORD hodnotu do klíče registru");
}

bool CVoxRegistry::UlozRetezec(const ACHAR* sZaklad, const ACHAR* sHodnota, const ACHAR* sText,
                               const ACHAR* sPodklic) {
    std::wstring s(sText ? sText : L"");
    // The stored value is the characters and the terminating zero.
    DWORD nVelikost = static_cast<DWORD>((s.size() + 1) * sizeof(WCHAR));
    return Uloz(sZaklad, sHodnota, sPodklic, REG_SZ, reinterpret_cast<const BYTE*>(s.c_str()),
                nVelikost, "Nelze uložit TCHAR hodnotu do klíče registru");
}

std::wstring CVoxRegistry::NactiCestu(const ACHAR* sZaklad, const ACHAR* sPodadresar, int nTyp,
                                      bool bNetestovat, bool bZalozit) {
    const ACHAR* sHodnota = nullptr;
    switch (nTyp) {
    case 1:
        sHodnota = L"InstallPath";
        break;
    case 2:
        sHodnota = L"DataPath";
        break;
    case 3:
        sHodnota = L"CommonInstallPath";
        break;
    case 4:
        sHodnota = L"CommonDataPath";
        break;
    default:
        break;
    }
    std::vector<WCHAR> aBuf(500, L'\0');
    bool bNacteno = false;
    if (sHodnota) {
        for (HKEY hKoren : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            DWORD nBajty = static_cast<DWORD>(aBuf.size() * sizeof(WCHAR));
            std::fill(aBuf.begin(), aBuf.end(), L'\0');
            if (Cti(sZaklad, sHodnota, L"", hKoren, REG_SZ, reinterpret_cast<BYTE*>(aBuf.data()),
                    nBajty)) {
                bNacteno = true;
                break;
            }
        }
    }
    if (!bNacteno)
        VOX_THROW("Nelze načíst Install/Data Path z registru Windows (z HKLM ani z HKCU), chyba "
                  "instalace programu");
    aBuf.back() = L'\0';
    std::wstring sCesta(aBuf.data());
    if (!VoxPlatforma::KonciOddelovacem(sCesta))
        sCesta += VoxPlatforma::ODDELOVAC;
    sCesta += sPodadresar ? sPodadresar : L"";
    if (!VoxPlatforma::KonciOddelovacem(sCesta))
        sCesta += VoxPlatforma::ODDELOVAC;
    if (!bNetestovat && !VoxPlatforma::AdresarExistuje(sCesta) && bZalozit) {
        if (VoxPlatforma::ZalozAdresar(sCesta) != 0)
            VOX_THROW("Adresář nelze založit");
    }
    return sCesta;
}
