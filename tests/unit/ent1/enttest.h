// Shared fixture of the entity tests: a new default drawing as the working database, no object
// left open at the end of each test, and helpers for model space, the filers, DXF files and the
// independent reader (python3-ezdxf).
#pragma once

#include "acutads.h"
#include "arxdb.h"
#include "dbhost.h"
#include "dxfio.h"
#include "hostio.h"
#include "textconv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

namespace enttest {

namespace fs = std::filesystem;

inline ::testing::AssertionResult nearPt(const AcGePoint3d& a, const AcGePoint3d& b,
                                         double tol = 1e-9) {
    if (a.distanceTo(b) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") vs ("
                                         << b.x << ", " << b.y << ", " << b.z << ")";
}
inline ::testing::AssertionResult nearPt(const AcGePoint2d& a, const AcGePoint2d& b,
                                         double tol = 1e-9) {
    if (a.distanceTo(b) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << a.x << ", " << a.y << ") vs (" << b.x << ", " << b.y << ")";
}
inline ::testing::AssertionResult nearVec(const AcGeVector3d& a, const AcGeVector3d& b,
                                          double tol = 1e-9) {
    if ((a - b).length() <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") vs ("
                                         << b.x << ", " << b.y << ", " << b.z << ")";
}

constexpr double kPi = 3.14159265358979323846;

class TempDir {
public:
    TempDir() {
        std::string tmpl = (fs::temp_directory_path() / "kresbon-ent1-XXXXXX").string();
        m_path = mkdtemp(tmpl.data());
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    fs::path operator/(const std::string& name) const { return m_path / name; }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

inline std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline void writeText(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

inline bool haveEzdxf() {
    static const bool have = std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") == 0;
    return have;
}

// Runs a python script with arguments; its standard output and error.
inline std::string python(const TempDir& dir, const std::string& script, const std::string& args) {
    fs::path py = dir / "script.py";
    writeText(py, script);
    fs::path out = dir / "script.out";
    std::string cmd =
        "/usr/bin/python3 " + py.string() + " " + args + " > " + out.string() + " 2>&1";
    (void)std::system(cmd.c_str());
    return readText(out);
}

// ezdxf's verdict on a file: "" when it loads and its audit finds neither error nor fix.
inline std::string ezdxfAudit(const TempDir& dir, const fs::path& file) {
    static const char* script = R"(import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
for e in auditor.errors:
    print("error", e.code, e.message)
for f in auditor.fixes:
    print("fix", f.code, f.message)
print("ok")
)";
    std::string out = python(dir, script, file.string());
    if (out == "ok\n")
        return "";
    return out.empty() ? "no output" : out;
}

inline std::wstring wpath(const fs::path& p) {
    return khost::fromUtf8(p.string());
}

} // namespace enttest

class EntTest : public ::testing::Test {
protected:
    void SetUp() override {
        khost::hostTranscript().startCapture(false);
        db = std::make_unique<AcDbDatabase>();
        acdbHostApplicationServices()->setWorkingDatabase(db.get());
    }
    void TearDown() override {
        EXPECT_EQ(khost::reportOpenObjects(L"test end"), 0) << narrow(transcript());
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
        db.reset();
        khost::hostTranscript().stopCapture();
    }
    static std::string narrow(const std::wstring& w) { return khost::toUtf8(w); }
    std::wstring transcript() { return khost::hostTranscript().takeCaptured(); }

    // Appends a new entity to a block (model space by default); the entity stays open.
    AcDbObjectId append(AcDbEntity* e, AcDbObjectId block = AcDbObjectId::kNull) {
        if (block.isNull())
            block = khost::roleId(db.get(), khost::DbRole::ModelSpace);
        AcDbBlockTableRecord* btr = nullptr;
        EXPECT_EQ(acdbOpenObject(btr, block, AcDb::kForWrite), Acad::eOk);
        AcDbObjectId id;
        EXPECT_EQ(btr->appendAcDbEntity(id, e), Acad::eOk);
        btr->close();
        return id;
    }
    // Appends and closes.
    AcDbObjectId add(AcDbEntity* e, AcDbObjectId block = AcDbObjectId::kNull) {
        AcDbObjectId id = append(e, block);
        e->close();
        return id;
    }
    // A new block definition with the given origin (closed).
    AcDbObjectId addBlock(const ACHAR* name, const AcGePoint3d& origin = AcGePoint3d()) {
        AcDbBlockTable* bt = nullptr;
        EXPECT_EQ(db->getBlockTable(bt, AcDb::kForWrite), Acad::eOk);
        auto* btr = new AcDbBlockTableRecord;
        btr->setName(name);
        btr->setOrigin(origin);
        AcDbObjectId id;
        EXPECT_EQ(bt->add(id, btr), Acad::eOk);
        btr->close();
        bt->close();
        return id;
    }
    AcDbObjectId styleId(const ACHAR* name = L"Standard") {
        AcDbTextStyleTable* t = nullptr;
        EXPECT_EQ(db->getTextStyleTable(t, AcDb::kForRead), Acad::eOk);
        AcDbObjectId id;
        t->getAt(name, id);
        t->close();
        return id;
    }

    // Writes the working database to a file and reads it into a new database.
    std::unique_ptr<AcDbDatabase> saveAndRead(const enttest::TempDir& dir,
                                              const std::string& name = "out.dxf") {
        std::wstring err;
        EXPECT_TRUE(khost::writeDrawing(db.get(), enttest::wpath(dir / name), err)) << narrow(err);
        std::unique_ptr<AcDbDatabase> back(khost::readDrawing(enttest::wpath(dir / name), err));
        EXPECT_TRUE(back) << narrow(err);
        return back;
    }

    // The entities of model space of a database, in order.
    static AcDbObjectIdArray modelSpace(AcDbDatabase* d) {
        auto* ms = AcDbBlockTableRecord::cast(
            khost::peekObject(khost::roleId(d, khost::DbRole::ModelSpace)));
        return ms ? ms->entityIds() : AcDbObjectIdArray();
    }

    std::unique_ptr<AcDbDatabase> db;
};

// Writes an object's fields through the result-buffer filer and reads them into a new object of
// the same class; the caller deletes the copy.
template <class T> T* filerCopy(AcDbDatabase* db, const T* src) {
    khost::RbChainFiler out(db);
    EXPECT_EQ(src->dxfOutFields(&out), Acad::eOk);
    resbuf* chain = out.takeChain();
    auto* copy = static_cast<T*>(khost::createDbObject(src->isA()->name()));
    EXPECT_NE(copy, nullptr);
    khost::RbChainFiler in(db, chain);
    EXPECT_EQ(copy->dxfInFields(&in), Acad::eOk);
    acutRelRb(chain);
    return copy;
}
