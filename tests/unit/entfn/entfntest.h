// Helpers of the tests of the entity functions, external references and inserting drawings: a
// host with one drawing, AutoLISP evaluation, temporary folders and the independent DXF reader.
#pragma once

#include "hostfixture.h"

#include "acutads.h"
#include "lisp.h"
#include "textconv.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace entfntest {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir() {
        std::string tmpl = (fs::temp_directory_path() / "kresbon-entfn-XXXXXX").string();
        m_path = mkdtemp(tmpl.data());
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    fs::path operator/(const std::string& name) const { return m_path / name; }
    std::wstring wpath(const std::string& name) const {
        return khost::fromUtf8((m_path / name).string());
    }

private:
    fs::path m_path;
};

inline std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline bool haveEzdxf() {
    static const bool have = std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") == 0;
    return have;
}

// ezdxf's verdict on a file: "" when it loads and its audit finds no error, else what it said.
inline std::string ezdxfAudit(const fs::path& file) {
    fs::path script = file.string() + ".py";
    fs::path out = file.string() + ".out";
    std::ofstream(script) << "import sys, ezdxf\n"
                             "doc = ezdxf.readfile(sys.argv[1])\n"
                             "auditor = doc.audit()\n"
                             "for e in auditor.errors:\n"
                             "    print('error', e.code, e.message)\n"
                             "print('ok' if not auditor.has_errors else 'errors')\n";
    std::string cmd = "/usr/bin/python3 " + script.string() + " " + file.string() + " > " +
                      out.string() + " 2>&1";
    std::system(cmd.c_str());
    std::string text = readText(out);
    if (text.size() >= 3 && text.substr(text.size() - 3) == "ok\n")
        return "";
    return text.empty() ? "no output" : text;
}

// The value of a LISP text; an error fails the test and gives nil.
inline khost::LispValue eval(const std::wstring& text) {
    try {
        return khost::lispEvaluate(text);
    } catch (const khost::LispError& e) {
        ADD_FAILURE() << "LISP error: " << khost::toUtf8(e.message()) << " in "
                      << khost::toUtf8(text);
        return {};
    }
}

inline std::string printed(const khost::LispValue& v) {
    return khost::toUtf8(khost::lispPrin1(v));
}

// The host with one drawing and the LISP symbols of the tests forgotten around each test.
class EntFnTest : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        khost::lispForgetDocument(khost::currentDocumentKey());
        khost::resetOpenCheckFailures();
    }
    void TearDown() override {
        // No test leaves an object open.
        EXPECT_EQ(khost::openObjectCount(), 0);
        khost::lispForgetDocument(khost::currentDocumentKey());
        HostFixture::TearDown();
    }
};

} // namespace entfntest
