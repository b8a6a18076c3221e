// Shared fixture of the tests of styles, dimensions, multileaders, layouts and records: a new
// default drawing as the working database, no object left open at the end of a test, and the
// round trip of a drawing through the DXF writer and reader, judged by an independent reader
// (ezdxf) when it is installed.
#pragma once

#include "acutads.h"
#include "arxdb.h"
#include "dbhost.h"
#include "dxfio.h"
#include "hostio.h"
#include "textconv.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace ent2 {

inline std::string narrow(const std::wstring& w) {
    return khost::toUtf8(w);
}

class TempDir {
public:
    TempDir() {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "kresbon-ent2-XXXXXX").string();
        m_path = mkdtemp(tmpl.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

inline std::string readText(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline bool haveEzdxf() {
    static const bool have = std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") == 0;
    return have;
}

// Runs a python script on a file; its standard output and error.
inline std::string runPython(const TempDir& dir, const std::string& script,
                             const std::filesystem::path& file) {
    const auto py = dir / "check.py";
    std::ofstream(py) << script;
    const auto out = dir / "check.out";
    const std::string cmd =
        "/usr/bin/python3 " + py.string() + " " + file.string() + " > " + out.string() + " 2>&1";
    std::system(cmd.c_str());
    return readText(out);
}

// ezdxf's verdict on a file: "" when it loads and its audit neither finds nor fixes anything;
// the script's extra lines (a python body using `doc`) run after the audit and print what they
// find.
inline std::string ezdxfVerdict(const TempDir& dir, const std::filesystem::path& file,
                                const std::string& extra = "") {
    std::string script = "import sys, ezdxf\n"
                         "doc = ezdxf.readfile(sys.argv[1])\n"
                         "auditor = doc.audit()\n"
                         "for e in auditor.errors:\n"
                         "    print('error', e.code, e.message)\n"
                         "for f in auditor.fixes:\n"
                         "    print('fix', f.code, f.message)\n" +
                         extra + "print('done')\n";
    std::string out = runPython(dir, script, file);
    const std::string tail = "done\n";
    if (out.size() >= tail.size() && out.compare(out.size() - tail.size(), tail.size(), tail) == 0)
        return out.substr(0, out.size() - tail.size());
    return out.empty() ? "no output" : out;
}

class Ent2Test : public ::testing::Test {
protected:
    void SetUp() override {
        khost::hostTranscript().startCapture(false);
        db = std::make_unique<AcDbDatabase>();
        acdbHostApplicationServices()->setWorkingDatabase(db.get());
    }
    void TearDown() override {
        EXPECT_EQ(khost::reportOpenObjects(L"test end"), 0)
            << narrow(khost::hostTranscript().takeCaptured());
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
        reread.reset();
        db.reset();
        khost::hostTranscript().stopCapture();
    }

    // Appends an entity to model space (closed on return) and gives its id.
    AcDbObjectId append(AcDbEntity* e) {
        AcDbBlockTable* bt = nullptr;
        EXPECT_EQ(db->getBlockTable(bt, AcDb::kForRead), Acad::eOk);
        AcDbBlockTableRecord* ms = nullptr;
        EXPECT_EQ(bt->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForWrite), Acad::eOk);
        bt->close();
        AcDbObjectId id;
        EXPECT_EQ(ms->appendAcDbEntity(id, e), Acad::eOk);
        e->close();
        ms->close();
        return id;
    }

    // Writes the drawing to a file of the temporary folder, checks it with ezdxf when
    // available (the verdict must be empty), and reads it back into `reread`.
    std::filesystem::path saveAndReload(const std::string& name = "drawing.dxf",
                                        const std::string& ezdxfChecks = "") {
        const auto path = dir / name;
        std::wstring error;
        EXPECT_TRUE(khost::writeDrawing(db.get(), khost::fromUtf8(path.string()), error))
            << narrow(error);
        if (haveEzdxf()) {
            EXPECT_EQ(ezdxfVerdict(dir, path, ezdxfChecks), "");
        }
        reread.reset(khost::readDrawing(khost::fromUtf8(path.string()), error));
        EXPECT_NE(reread, nullptr) << narrow(error);
        return path;
    }

    // The id of an object of the reread drawing with the handle of an object of the original.
    AcDbObjectId inReread(AcDbObjectId original) {
        AcDbObjectId id;
        reread->getAcDbObjectId(id, false, original.handle());
        return id;
    }

    TempDir dir;
    std::unique_ptr<AcDbDatabase> db;
    std::unique_ptr<AcDbDatabase> reread;
};

} // namespace ent2
