// A host for tests: a registry in a temporary home, one open drawing, a captured transcript and
// queued input.
#pragma once

#include "acapdoc.h"
#include "dbhost.h"
#include "edhost.h"
#include "arxdb.h"
#include "arxed.h"
#include "hostio.h"
#include "windows.h"
#include "winhost.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class HostFixture : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/kresbon-test-XXXXXX";
        const char* dir = mkdtemp(tmpl);
        ASSERT_NE(dir, nullptr);
        m_home = dir;
        khost::registrySetHome(m_home);
        khost::hostInput().clear();
        khost::hostTranscript().startCapture(false);
        m_doc = khost::openDocument(new AcDbDatabase(true, false), L"");
    }

    void TearDown() override {
        for (AcApDocument* doc : khost::documents())
            khost::closeDocument(doc);
        khost::hostTranscript().stopCapture();
        khost::hostInput().clear();
        khost::registrySetHome("");
        std::error_code ec;
        std::filesystem::remove_all(m_home, ec);
    }

    AcDbDatabase* db() { return acdbHostApplicationServices()->workingDatabase(); }
    std::wstring transcript() { return khost::hostTranscript().takeCaptured(); }
    void input(const std::wstring& text) { khost::hostInput().push(text); }
    // A string value in the machine hive, its key created when missing.
    void setMachineString(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
        HKEY h = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &h, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(h);
    }

    std::string m_home;
    AcApDocument* m_doc = nullptr;
};
