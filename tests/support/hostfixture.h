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

    std::string m_home;
    AcApDocument* m_doc = nullptr;
};
