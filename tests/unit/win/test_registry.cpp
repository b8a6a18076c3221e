#include "windows.h"
#include "winhost.h"

#include "textconv.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<BYTE> bytesOf(const void* p, size_t n) {
    const auto* b = static_cast<const BYTE*>(p);
    return std::vector<BYTE>(b, b + n);
}

std::vector<BYTE> wideBytes(const std::wstring& s) {
    return bytesOf(s.c_str(), (s.size() + 1) * sizeof(wchar_t));
}

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/kresbon_reg_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        home = tmpl;
        khost::registrySetHome(home.string());
    }
    void TearDown() override {
        khost::registrySetHome("");
        fs::permissions(home, fs::perms::owner_all);
        fs::remove_all(home);
    }

    HKEY create(HKEY root, const wchar_t* path, REGSAM access = KEY_ALL_ACCESS) {
        HKEY k = nullptr;
        DWORD disp = 0;
        EXPECT_EQ(RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                  &k, &disp),
                  ERROR_SUCCESS);
        return k;
    }

    void set(HKEY k, const wchar_t* name, DWORD type, const std::vector<BYTE>& data) {
        EXPECT_EQ(RegSetValueExW(k, name, 0, type, data.data(), static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }

    // Type and data of a value, read through a key opened for reading only.
    std::pair<DWORD, std::vector<BYTE>> get(HKEY root, const wchar_t* path, const wchar_t* name) {
        HKEY k = nullptr;
        if (RegOpenKeyExW(root, path, 0, KEY_READ, &k) != ERROR_SUCCESS)
            return {0xFFFF, {}};
        DWORD type = 0, size = 0;
        LSTATUS s = RegQueryValueExW(k, name, nullptr, &type, nullptr, &size);
        std::vector<BYTE> data(size);
        if (s == ERROR_SUCCESS)
            s = RegQueryValueExW(k, name, nullptr, &type, data.data(), &size);
        RegCloseKey(k);
        if (s != ERROR_SUCCESS)
            return {0xFFFF, {}};
        return {type, data};
    }

    fs::path home;
};

TEST_F(Registry, EveryTypeRoundTripsThroughTheRegFile) {
    const wchar_t* path = L"Software\\Pelmex\\Kresbon\\Nastaveni";
    HKEY k = create(HKEY_CURRENT_USER, path);
    ASSERT_NE(k, nullptr);
    DWORD one = 1, big = 0xDEADBEEF;
    ULONGLONG q = 0x0102030405060708ull;
    double rough = 0.01;
    std::vector<BYTE> longBinary;
    for (int i = 0; i < 100; ++i)
        longBinary.push_back(static_cast<BYTE>(i * 7));
    std::wstring multi(L"první\0druhý\0\0", 13);

    set(k, L"MULTIVYBER", REG_BINARY, bytesOf(&one, 4));
    set(k, L"NASTAVENO", REG_BINARY, {1});
    set(k, L"CurMatDrsnost", REG_BINARY, bytesOf(&rough, 8));
    set(k, L"Long", REG_BINARY, longBinary);
    set(k, L"D", REG_DWORD, bytesOf(&big, 4));
    set(k, L"Q", REG_QWORD, bytesOf(&q, 8));
    set(k, L"S \"quoted\"", REG_SZ, wideBytes(L"C:\\Data\\ \"Kůň\" žluťoučký"));
    set(k, L"Empty", REG_SZ, wideBytes(L""));
    set(k, L"Lines", REG_SZ, wideBytes(L"a\r\nb"));
    set(k, L"E", REG_EXPAND_SZ, wideBytes(L"%HOME%\\x"));
    set(k, L"M", REG_MULTI_SZ, bytesOf(multi.data(), multi.size() * sizeof(wchar_t)));
    set(k, L"N", REG_NONE, {});
    set(k, nullptr, REG_SZ, wideBytes(L"výchozí"));
    RegCloseKey(k);

    // The file is what the registry editor writes.
    std::string raw = readFile(home / "HKCU.reg");
    ASSERT_GE(raw.size(), 2u);
    EXPECT_EQ(raw.substr(0, 2), "\xFF\xFE");
    std::string text = khost::toUtf8(khost::fromUtf16le(raw.substr(2)));
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\r\n\r\n", 0), 0u);
    EXPECT_NE(text.find("\r\n[HKEY_CURRENT_USER\\Software\\Pelmex\\Kresbon\\Nastaveni]\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\r\n\"MULTIVYBER\"=hex:01,00,00,00\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n\"D\"=dword:deadbeef\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n\"Q\"=hex(b):08,07,06,05,04,03,02,01\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n\"S \\\"quoted\\\"\"=\"C:\\\\Data\\\\ \\\"Kůň\\\" žluťoučký\"\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\r\n@=\"výchozí\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n\"E\"=hex(2):25,00,48,00"), std::string::npos);
    for (size_t pos = 0, end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
        EXPECT_LE(khost::fromUtf8(text.substr(pos, end - pos)).size(), 80u) << "line too long";

    khost::registryReload();
    auto check = [&](const wchar_t* name, DWORD type, const std::vector<BYTE>& data) {
        auto [t, d] = get(HKEY_CURRENT_USER, path, name);
        EXPECT_EQ(t, type) << khost::toUtf8(name ? name : L"@");
        EXPECT_EQ(d, data) << khost::toUtf8(name ? name : L"@");
    };
    check(L"MULTIVYBER", REG_BINARY, {1, 0, 0, 0});
    check(L"NASTAVENO", REG_BINARY, {1});
    check(L"CurMatDrsnost", REG_BINARY, bytesOf(&rough, 8));
    check(L"Long", REG_BINARY, longBinary);
    check(L"D", REG_DWORD, bytesOf(&big, 4));
    check(L"Q", REG_QWORD, bytesOf(&q, 8));
    check(L"S \"quoted\"", REG_SZ, wideBytes(L"C:\\Data\\ \"Kůň\" žluťoučký"));
    check(L"Empty", REG_SZ, wideBytes(L""));
    check(L"Lines", REG_SZ, wideBytes(L"a\r\nb"));
    check(L"E", REG_EXPAND_SZ, wideBytes(L"%HOME%\\x"));
    check(L"M", REG_MULTI_SZ, bytesOf(multi.data(), multi.size() * sizeof(wchar_t)));
    check(L"N", REG_NONE, {});
    check(nullptr, REG_SZ, wideBytes(L"výchozí"));
    check(L"", REG_SZ, wideBytes(L"výchozí"));
}

TEST_F(Registry, ReadsHandWrittenUtf8FilesOfBothHives) {
    std::ofstream(home / "HKLM.reg", std::ios::binary)
        << "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n\n"
           "; installation folders\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pelmex]\n"
           "\"CommonDataPath\"=\"/opt/pelmex/data/\"\n"
           "\"Wrapped\"=hex:01,02,\\\n"
           "  03,04\n"
           "\"Gone\"=dword:00000001\n"
           "\"Gone\"=-\n"
           "@=\"Výrobce\"\n";
    std::ofstream(home / "HKCU.reg", std::ios::binary)
        << "Windows Registry Editor Version 5.00\r\n\r\n"
           "[HKEY_CURRENT_USER\\Software\\Pelmex\\Common]\r\n"
           "\"PREDPONA\"=\"KB\"\r\n";
    khost::registryReload();
    auto [t1, d1] = get(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Pelmex\\", L"CommonDataPath");
    EXPECT_EQ(t1, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(d1, wideBytes(L"/opt/pelmex/data/"));
    EXPECT_EQ(get(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Pelmex", L"Wrapped").second,
              std::vector<BYTE>({1, 2, 3, 4}));
    EXPECT_EQ(get(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Pelmex", L"Gone").first, 0xFFFFu);
    EXPECT_EQ(get(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Pelmex", nullptr).second, wideBytes(L"Výrobce"));
    EXPECT_EQ(get(HKEY_CURRENT_USER, L"Software\\Pelmex\\Common", L"PREDPONA").second,
              wideBytes(L"KB"));
    // The machine hive is not in the user's file.
    EXPECT_EQ(get(HKEY_CURRENT_USER, L"SOFTWARE\\Pelmex", L"CommonDataPath").first, 0xFFFFu);
}

TEST_F(Registry, KeyAndValueNamesIgnoreCaseAndKeepIt) {
    HKEY k = create(HKEY_CURRENT_USER, L"Software\\Pelmex\\Kresbon");
    set(k, L"Predpona", REG_SZ, wideBytes(L"KB"));
    RegCloseKey(k);

    HKEY again = nullptr;
    DWORD disp = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\PELMEX\\kresbon", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &again, &disp),
              ERROR_SUCCESS);
    EXPECT_EQ(disp, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    EXPECT_EQ(get(HKEY_CURRENT_USER, L"software\\pelmex\\KRESBON", L"PREDPONA").second,
              wideBytes(L"KB"));
    set(again, L"PREDPONA", REG_SZ, wideBytes(L"XY")); // replaces, keeps the first spelling
    WCHAR name[32];
    DWORD cch = 32;
    ASSERT_EQ(RegEnumValueW(again, 0, name, &cch, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_STREQ(name, L"Predpona");
    EXPECT_EQ(RegEnumValueW(again, 1, name, &cch, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    RegCloseKey(again);

    HKEY pelmex = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\pelmex", 0, KEY_READ, &pelmex),
              ERROR_SUCCESS);
    cch = 32;
    ASSERT_EQ(RegEnumKeyExW(pelmex, 0, name, &cch, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_STREQ(name, L"Kresbon");
    EXPECT_EQ(cch, 7u);
    RegCloseKey(pelmex);
}

TEST_F(Registry, QueryReportsSizesInBytesAndMoreData) {
    HKEY k = create(HKEY_CURRENT_USER, L"Software\\T");
    set(k, L"S", REG_SZ, wideBytes(L"abcd"));
    const DWORD need = 5 * sizeof(wchar_t);

    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExW(k, L"S", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, need);

    WCHAR buf[8] = {L'x', L'x', L'x', L'x', L'x', L'x', L'x', L'x'};
    size = 3 * sizeof(wchar_t);
    EXPECT_EQ(RegQueryValueExW(k, L"S", nullptr, nullptr, reinterpret_cast<LPBYTE>(buf), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, need);
    size = sizeof buf;
    EXPECT_EQ(RegQueryValueExW(k, L"S", nullptr, nullptr, reinterpret_cast<LPBYTE>(buf), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, need);
    EXPECT_STREQ(buf, L"abcd");

    EXPECT_EQ(RegQueryValueExW(k, L"S", nullptr, nullptr, reinterpret_cast<LPBYTE>(buf), nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExW(k, L"missing", nullptr, &type, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    RegCloseKey(k);
}

TEST_F(Registry, StatusesOfTheFailurePaths) {
    HKEY k = reinterpret_cast<HKEY>(0x1234);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Nothing", 0, KEY_READ, &k),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(k, nullptr);
    EXPECT_EQ(RegOpenKeyExW(nullptr, L"Software", 0, KEY_READ, &k), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegSetValueExW(nullptr, L"x", 0, REG_SZ, nullptr, 0), ERROR_INVALID_HANDLE);

    HKEY w = create(HKEY_CURRENT_USER, L"Software\\Pelmex\\Kresbon\\Nastaveni");
    RegCloseKey(w);
    EXPECT_EQ(RegCloseKey(w), ERROR_INVALID_HANDLE);
    DWORD v = 7;
    EXPECT_EQ(RegSetValueExW(w, L"x", 0, REG_DWORD, reinterpret_cast<BYTE*>(&v), 4),
              ERROR_INVALID_HANDLE);

    HKEY r = nullptr;
    ASSERT_EQ(
        RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Pelmex\\Kresbon\\Nastaveni", 0, KEY_READ, &r),
        ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(r, L"x", 0, REG_DWORD, reinterpret_cast<BYTE*>(&v), 4),
              ERROR_ACCESS_DENIED);
    HKEY sub = nullptr;
    EXPECT_EQ(RegCreateKeyExW(r, L"New", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
              ERROR_ACCESS_DENIED);

    // A key with subkeys cannot be deleted; once it is gone, its open handles say so.
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Pelmex\\Kresbon"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Pelmex\\Kresbon\\Nastaveni"),
              ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(r, L"x", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(r), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Pelmex\\Kresbon\\Nastaveni"),
              ERROR_FILE_NOT_FOUND);

    HKEY t = create(HKEY_CURRENT_USER, L"Software\\Pelmex\\Kresbon\\A\\B");
    set(t, L"v", REG_DWORD, {1, 0, 0, 0});
    EXPECT_EQ(RegDeleteValueW(t, L"V"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(t, L"V"), ERROR_FILE_NOT_FOUND);
    RegCloseKey(t);
    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Pelmex"), ERROR_SUCCESS);
    khost::registryReload();
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Pelmex", 0, KEY_READ, &k),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, FailedWriteLeavesTheOldFileAndTheOldValue) {
    HKEY k = create(HKEY_CURRENT_USER, L"Software\\Pelmex\\Kresbon\\Nastaveni");
    set(k, L"MULTIVYBER", REG_BINARY, {1, 0, 0, 0});
    std::string before = readFile(home / "HKCU.reg");
    ASSERT_FALSE(before.empty());

    // Make the folder unwritable; root ignores permissions, so block the temporary file instead.
    bool asRoot = geteuid() == 0;
    if (asRoot)
        fs::create_directory(home / "HKCU.reg.tmp");
    else
        fs::permissions(home, fs::perms::owner_read | fs::perms::owner_exec);

    BYTE two[4] = {2, 0, 0, 0};
    EXPECT_EQ(RegSetValueExW(k, L"MULTIVYBER", 0, REG_BINARY, two, 4), ERROR_ACCESS_DENIED);
    HKEY sub = nullptr;
    EXPECT_EQ(RegCreateKeyExW(k, L"Nova", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(sub, nullptr);
    EXPECT_EQ(readFile(home / "HKCU.reg"), before);
    // Memory agrees with the file.
    EXPECT_EQ(get(HKEY_CURRENT_USER, L"Software\\Pelmex\\Kresbon\\Nastaveni", L"MULTIVYBER").second,
              std::vector<BYTE>({1, 0, 0, 0}));
    EXPECT_EQ(RegOpenKeyExW(k, L"Nova", 0, KEY_READ, &sub), ERROR_FILE_NOT_FOUND);

    if (asRoot)
        fs::remove(home / "HKCU.reg.tmp");
    else
        fs::permissions(home, fs::perms::owner_all);
    EXPECT_EQ(RegSetValueExW(k, L"MULTIVYBER", 0, REG_BINARY, two, 4), ERROR_SUCCESS);
    RegCloseKey(k);
    khost::registryReload();
    EXPECT_EQ(get(HKEY_CURRENT_USER, L"Software\\Pelmex\\Kresbon\\Nastaveni", L"MULTIVYBER").second,
              std::vector<BYTE>({2, 0, 0, 0}));
}

TEST_F(Registry, WithoutAHomeTheRegistryLivesInMemory) {
    khost::registrySetHome("");
    EXPECT_EQ(khost::registryHome(), "");
    HKEY k = create(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Pelmex");
    set(k, L"InstallPath", REG_SZ, wideBytes(L"/opt"));
    RegCloseKey(k);
    EXPECT_EQ(get(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Pelmex", L"InstallPath").first,
              static_cast<DWORD>(REG_SZ));
    EXPECT_TRUE(fs::is_empty(home));
    khost::registryReload();
    EXPECT_EQ(get(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Pelmex", L"InstallPath").first, 0xFFFFu);
}

} // namespace
