#include "installer.h"

#include "textconv.h"
#include "windows.h"

#include <filesystem>
#include <system_error>

namespace khost {
namespace {

bool readMachineValue(const wchar_t* key, const wchar_t* name) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    DWORD size = 0;
    LONG rc = RegQueryValueExW(h, name, nullptr, &type, nullptr, &size);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS && type == REG_SZ;
}

bool writeMachineValue(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
    HKEY h = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &h, &disposition) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

std::wstring folder(const std::filesystem::path& p) {
    std::wstring s = fromUtf8(p.string());
    if (s.empty() || s.back() != L'/')
        s.push_back(L'/');
    return s;
}

} // namespace

bool installIfNeeded(const std::string& dataDir, const std::string& homeDir) {
    const wchar_t* productKey = L"Software\\Pelmex\\Kresbon\\";
    const wchar_t* makerKey = L"Software\\Pelmex\\";
    if (readMachineValue(productKey, L"InstallPath") &&
        readMachineValue(makerKey, L"CommonDataPath"))
        return false;

    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path data = fs::absolute(dataDir, ec);
    const fs::path home = fs::absolute(homeDir, ec);
    const fs::path userProduct = home / "Kresbon";
    const fs::path userCommon = home / "Common";
    fs::create_directories(userProduct, ec);
    fs::create_directories(userCommon, ec);
    // The user's copy of the shared data (linetypes, shapes, the user's catalogue) starts as the
    // shipped one; files the user already has are kept.
    if (fs::is_directory(data / "CommonData", ec))
        fs::copy(data / "CommonData", userCommon,
                 fs::copy_options::recursive | fs::copy_options::skip_existing, ec);

    bool ok = writeMachineValue(productKey, L"InstallPath", folder(data / "Kresbon"));
    ok = writeMachineValue(productKey, L"DataPath", folder(userProduct)) && ok;
    ok = writeMachineValue(makerKey, L"CommonInstallPath", folder(data / "Common")) && ok;
    ok = writeMachineValue(makerKey, L"CommonDataPath", folder(userCommon)) && ok;
    return ok;
}

} // namespace khost
