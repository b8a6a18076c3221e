// Shared fixture of the database tests: a new default drawing as the working database, the
// transcript captured, and no object left open at the end of each test.
#pragma once

#include "arxdb.h"
#include "acutads.h"
#include "dbhost.h"
#include "hostio.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class DbTest : public ::testing::Test {
protected:
    void SetUp() override {
        khost::hostTranscript().startCapture(false);
        db = std::make_unique<AcDbDatabase>();
        acdbHostApplicationServices()->setWorkingDatabase(db.get());
        failuresBefore = khost::openCheckFailures();
    }
    void TearDown() override {
        EXPECT_EQ(khost::reportOpenObjects(L"test end"), 0)
            << narrow(khost::hostTranscript().takeCaptured());
        db.reset();
        khost::hostTranscript().stopCapture();
    }
    static std::string narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }
    std::wstring transcript() { return khost::hostTranscript().takeCaptured(); }

    // Appends a line to model space and returns its id (closed).
    AcDbObjectId addLine(const AcGePoint3d& a = AcGePoint3d(0, 0, 0),
                         const AcGePoint3d& b = AcGePoint3d(1, 1, 0)) {
        AcDbBlockTable* bt = nullptr;
        EXPECT_EQ(db->getBlockTable(bt, AcDb::kForRead), Acad::eOk);
        AcDbBlockTableRecord* ms = nullptr;
        EXPECT_EQ(bt->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForWrite), Acad::eOk);
        bt->close();
        auto* line = new AcDbLine(a, b);
        AcDbObjectId id;
        EXPECT_EQ(ms->appendAcDbEntity(id, line), Acad::eOk);
        line->close();
        ms->close();
        return id;
    }

    std::unique_ptr<AcDbDatabase> db;
    int failuresBefore = 0;
};
