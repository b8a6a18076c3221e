// The kresbon executable's arguments and its installer step.
#include "hostfixture.h"

#include "installer.h"
#include "shell.h"

#include <fstream>

namespace {

std::wstring ReadMachine(const wchar_t* key, const wchar_t* name) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &h) != ERROR_SUCCESS)
        return L"<no key>";
    wchar_t buf[1024] = {};
    DWORD size = sizeof(buf);
    DWORD type = 0;
    LONG rc = RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS ? std::wstring(buf) : L"<no value>";
}

TEST(ShellArguments, DrawingScriptOutHomeAndErrors) {
    const char* argv[] = {"kresbon", "plan.dxf", "-s", "a.scr", "-o", "out.dxf", "--home", "/h",
                          "--strict"};
    khost::ShellOptions o;
    std::string err;
    ASSERT_TRUE(khost::parseArguments(9, const_cast<char**>(argv), o, err)) << err;
    EXPECT_EQ(o.drawing, "plan.dxf");
    EXPECT_EQ(o.script, "a.scr");
    EXPECT_EQ(o.out, "out.dxf");
    EXPECT_EQ(o.home, "/h");
    EXPECT_TRUE(o.strict);

    const char* missing[] = {"kresbon", "-o"};
    khost::ShellOptions o2;
    EXPECT_FALSE(khost::parseArguments(2, const_cast<char**>(missing), o2, err));
    EXPECT_NE(err.find("-o"), std::string::npos);
    const char* two[] = {"kresbon", "a.dxf", "b.dxf"};
    EXPECT_FALSE(khost::parseArguments(3, const_cast<char**>(two), o2, err));
    const char* unknown[] = {"kresbon", "--bogus"};
    EXPECT_FALSE(khost::parseArguments(2, const_cast<char**>(unknown), o2, err));
}

class Installer : public HostFixture {};

TEST_F(Installer, FirstUseFillsMachineHiveAndCopiesUserDataOnce) {
    const std::string data = m_home + "/data";
    std::filesystem::create_directories(data + "/CommonData/LIN");
    std::ofstream(data + "/CommonData/LIN/KV_IS.lin") << "*X,x\nA,1,-1\n";
    const std::string home = m_home + "/home";
    ASSERT_TRUE(khost::installIfNeeded(data, home));
    const std::wstring wdata(data.begin(), data.end());
    const std::wstring whome(home.begin(), home.end());
    EXPECT_EQ(ReadMachine(L"Software\\Pelmex\\Kresbon\\", L"InstallPath"), wdata + L"/Kresbon/");
    EXPECT_EQ(ReadMachine(L"Software\\Pelmex\\Kresbon\\", L"DataPath"), whome + L"/Kresbon/");
    EXPECT_EQ(ReadMachine(L"Software\\Pelmex\\", L"CommonInstallPath"), wdata + L"/Common/");
    EXPECT_EQ(ReadMachine(L"Software\\Pelmex\\", L"CommonDataPath"), whome + L"/Common/");
    EXPECT_TRUE(std::filesystem::exists(home + "/Common/LIN/KV_IS.lin"));

    // The user's own changes survive: the installer runs only once.
    std::ofstream(home + "/Common/LIN/KV_IS.lin") << "changed";
    EXPECT_FALSE(khost::installIfNeeded(data, home));
    std::ifstream in(home + "/Common/LIN/KV_IS.lin");
    std::string s;
    std::getline(in, s);
    EXPECT_EQ(s, "changed");
}

} // namespace

namespace {

class OpenCheck : public HostFixture {};

AcDbObjectId g_leftOpen;

void LeavesLayerTableOpen() {
    AcDbLayerTable* pTable = nullptr;
    acdbHostApplicationServices()->workingDatabase()->getSymbolTable(pTable, AcDb::kForRead);
    g_leftOpen = pTable->objectId();
}

void ClosesEverything() {
    AcDbLayerTable* pTable = nullptr;
    acdbHostApplicationServices()->workingDatabase()->getSymbolTable(pTable, AcDb::kForRead);
    pTable->close();
}

TEST_F(OpenCheck, CommandLeavingAnObjectOpenIsReportedWithClassAndHandle) {
    AcEdCommandStack* stack = AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK));
    ASSERT_EQ(stack->addCommand(L"TEST_open", L"nechotevrene", L"nechotevrene", ACRX_CMD_MODAL,
                                &LeavesLayerTableOpen),
              Acad::eOk);
    ASSERT_EQ(stack->addCommand(L"TEST_open", L"zavre", L"zavre", ACRX_CMD_MODAL,
                                &ClosesEverything),
              Acad::eOk);
    const int before = khost::openCheckFailures();
    ASSERT_TRUE(khost::executeCommand(L"nechotevrene"));
    std::wstring t = transcript();
    wchar_t handle[32];
    std::swprintf(handle, 32, L"%llX",
                  static_cast<unsigned long long>(static_cast<Adesk::UInt64>(g_leftOpen.handle())));
    EXPECT_NE(t.find(L"object left open: AcDbLayerTable " + std::wstring(handle) + L" (for read)"),
              std::wstring::npos)
        << std::string(t.begin(), t.end());
    EXPECT_EQ(khost::openCheckFailures(), before + 1);
    // The host closed it, so the next command finds the table free and nothing is reported.
    ASSERT_TRUE(khost::executeCommand(L"zavre"));
    EXPECT_EQ(transcript().find(L"left open"), std::wstring::npos);
    EXPECT_EQ(khost::openCheckFailures(), before + 1);
    stack->removeGroup(L"TEST_open");
}

} // namespace
