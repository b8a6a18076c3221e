// Annotation scales of the host: the drawing's scale list through the context manager, the
// current scale, annotative objects with their scale contexts, and what the DXF file keeps of
// them (read back by the host and by ezdxf).
#include "acutads.h"
#include "arxdb.h"
#include "dbhost.h"
#include "dxfio.h"
#include "textconv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir() {
        std::string tmpl = (fs::temp_directory_path() / "kresbon-anno-XXXXXX").string();
        m_path = mkdtemp(tmpl.data());
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    fs::path operator/(const std::string& name) const { return m_path / name; }

private:
    fs::path m_path;
};

AcDbObjectContextCollection* Scales(AcDbDatabase* db) {
    AcDbObjectContextManager* m = db->objectContextManager();
    return m ? m->contextCollection(ACDB_ANNOTATIONSCALES_COLLECTION) : nullptr;
}

std::unique_ptr<AcDbAnnotationScale> NewScale(const ACHAR* name, double paper, double drawing) {
    auto s = std::make_unique<AcDbAnnotationScale>();
    s->setName(name);
    s->setPaperUnits(paper);
    s->setDrawingUnits(drawing);
    return s;
}

std::vector<std::wstring> ScaleNames(AcDbDatabase* db) {
    std::vector<std::wstring> out;
    std::unique_ptr<AcDbObjectContextCollectionIterator> it(Scales(db)->newIterator());
    for (; !it->done(); it->next()) {
        AcDbObjectContext* c = nullptr;
        EXPECT_EQ(it->getContext(c), Acad::eOk);
        AcString name;
        c->getName(name);
        out.push_back(name.kACharPtr());
        delete c;
    }
    return out;
}

std::wstring Cannoscale(AcDbDatabase* db) {
    resbuf rb{};
    EXPECT_TRUE(khost::dbGetSysVar(db, L"CANNOSCALE", rb));
    std::wstring s = rb.resval.rstring ? rb.resval.rstring : L"";
    khost::rbFreeValue(&rb);
    return s;
}

// An entity of a kind the host keeps as raw groups: a text.
AcDbObjectId AddText(AcDbDatabase* db) {
    auto* text = new AcDbRawEntity(L"TEXT", L"AcDbText");
    resbuf* data = acutBuildList(100, L"AcDbText", 10, nullptr, 0);
    data->rbnext->resval.rpoint[0] = 12.5;
    data->rbnext->resval.rpoint[1] = 3.0;
    resbuf* rest = acutBuildList(40, 2.5, 1, L"SV 1", 50, 0.5, 100, L"AcDbText", 0);
    data->rbnext->rbnext = rest;
    text->setRawData(data);
    acutRelRb(data);
    AcDbBlockTableRecord* ms = nullptr;
    acdbOpenObject(ms, db->currentSpaceId(), AcDb::kForWrite);
    AcDbObjectId id;
    ms->appendAcDbEntity(id, text);
    text->close();
    ms->close();
    return id;
}

AcDbObjectId AddBlock(AcDbDatabase* db, const ACHAR* name) {
    AcDbBlockTable* bt = nullptr;
    db->getBlockTable(bt, AcDb::kForWrite);
    auto* btr = new AcDbBlockTableRecord;
    btr->setName(name);
    AcDbObjectId id;
    bt->add(id, btr);
    btr->close();
    bt->close();
    return id;
}

class Anno : public ::testing::Test {
protected:
    void SetUp() override { m_db = std::make_unique<AcDbDatabase>(true, true); }
    void TearDown() override { EXPECT_EQ(khost::openObjectCount(), 0); }
    AcDbDatabase* db() { return m_db.get(); }
    std::unique_ptr<AcDbDatabase> m_db;
};

TEST_F(Anno, NewDrawingHasTheMetricScalesAndOneToOneCurrent) {
    std::vector<std::wstring> names = ScaleNames(db());
    EXPECT_EQ(names.size(), 17u);
    EXPECT_NE(std::find(names.begin(), names.end(), L"1:100"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), L"100:1"), names.end());
    ASSERT_NE(Scales(db()), nullptr);
    EXPECT_EQ(Scales(db())->name(), AcString(ACDB_ANNOTATIONSCALES_COLLECTION));
    EXPECT_EQ(db()->objectContextManager()->contextCollection(L"NOTHING"), nullptr);

    std::unique_ptr<AcDbAnnotationScale> cur(db()->cannoscale());
    ASSERT_NE(cur, nullptr);
    AcString name;
    cur->getName(name);
    EXPECT_EQ(name, AcString(L"1:1"));
    double d = 0;
    EXPECT_EQ(cur->getScale(d), Acad::eOk);
    EXPECT_EQ(d, 1.0);
    EXPECT_NE(cur->uniqueIdentifier(), 0);

    // The current scale follows CANNOSCALE; only scales of the list can be made current.
    std::unique_ptr<AcDbAnnotationScale> s50(
        AcDbAnnotationScale::cast(Scales(db())->getContext(L"1:50")));
    ASSERT_NE(s50, nullptr);
    EXPECT_EQ(db()->setCannoscale(s50.get()), Acad::eOk);
    EXPECT_EQ(Cannoscale(db()), L"1:50");
    cur.reset(db()->cannoscale());
    EXPECT_EQ(cur->getScale(d), Acad::eOk);
    EXPECT_DOUBLE_EQ(d, 0.02);
    auto loose = NewScale(L"1:3", 1, 3);
    EXPECT_EQ(db()->setCannoscale(loose.get()), Acad::eKeyNotFound);
    EXPECT_EQ(Scales(db())->setCurrentContext(loose.get()), Acad::eKeyNotFound);
    EXPECT_EQ(Cannoscale(db()), L"1:50");
    // Through the system variable too; a listed scale is taken under its own spelling.
    resbuf rb{};
    rb.restype = RTSTR;
    rb.resval.rstring = const_cast<ACHAR*>(L"1:3");
    EXPECT_EQ(khost::dbSetSysVar(db(), L"CANNOSCALE", rb), RTERROR);
    EXPECT_EQ(Cannoscale(db()), L"1:50");
    rb.resval.rstring = const_cast<ACHAR*>(L"1:100");
    EXPECT_EQ(khost::dbSetSysVar(db(), L"CANNOSCALE", rb), RTNORM);
    EXPECT_EQ(Cannoscale(db()), L"1:100");
    EXPECT_EQ(db()->setCannoscale(s50.get()), Acad::eOk);
    std::unique_ptr<AcDbObjectContext> c(Scales(db())->currentContext(nullptr));
    c->getName(name);
    EXPECT_EQ(name, AcString(L"1:50"));
}

TEST_F(Anno, ScalesAreAddedOnceAndRemovedUnlessNeeded) {
    AcDbObjectContextCollection* col = Scales(db());
    auto s75 = NewScale(L"1:75", 1, 75);
    EXPECT_EQ(col->addContext(s75.get()), Acad::eOk);
    EXPECT_TRUE(col->hasContext(L"1:75"));
    EXPECT_EQ(col->addContext(s75.get()), Acad::eDuplicateKey);
    auto bad = NewScale(L"", 1, 2);
    EXPECT_EQ(col->addContext(bad.get()), Acad::eInvalidInput);
    EXPECT_EQ(bad->setDrawingUnits(0.0), Acad::eInvalidInput);

    std::unique_ptr<AcDbAnnotationScale> back(AcDbAnnotationScale::cast(col->getContext(L"1:75")));
    ASSERT_NE(back, nullptr);
    double d = 0;
    back->getDrawingUnits(d);
    EXPECT_EQ(d, 75.0);
    EXPECT_TRUE(back->matchScaleId(back->uniqueIdentifier()));

    // The current scale and a locked one stay; others go, and an iterator passes over them.
    std::unique_ptr<AcDbObjectContextCollectionIterator> it(col->newIterator());
    EXPECT_EQ(col->removeContext(L"1:1"), Acad::eObjectIsReferenced);
    EXPECT_EQ(col->lockContext(back.get()), Acad::eOk);
    EXPECT_TRUE(col->locked());
    EXPECT_EQ(col->removeContext(L"1:75"), Acad::eObjectIsReferenced);
    EXPECT_EQ(col->unlockContext(), Acad::eOk);
    EXPECT_EQ(col->removeContext(L"1:75"), Acad::eOk);
    EXPECT_EQ(col->removeContext(L"1:75"), Acad::eKeyNotFound);
    EXPECT_EQ(col->removeContext(L"1:2"), Acad::eOk);
    int n = 0;
    for (; !it->done(); it->next())
        ++n;
    EXPECT_EQ(n, 16);
    EXPECT_EQ(ScaleNames(db()).size(), 16u);
    // A name freed is free for a new scale.
    EXPECT_EQ(col->addContext(s75.get()), Acad::eOk);
}

TEST_F(Anno, OnlyAnnotativeKindsHaveTheProtocol) {
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    EXPECT_EQ(ACRX_PE_PTR(line, AcDbAnnotativeObjectPE), nullptr);
    EXPECT_EQ(ACRX_PE_PTR(line, AcDbObjectContextInterface), nullptr);
    delete line;

    // A block definition is annotative by its extended data alone; layouts cannot be.
    AcDbBlockTableRecord* btr = nullptr;
    ASSERT_EQ(acdbOpenObject(btr, AddBlock(db(), L"ZNACKA"), AcDb::kForRead), Acad::eOk);
    AcDbAnnotativeObjectPE* pe = ACRX_PE_PTR(btr, AcDbAnnotativeObjectPE);
    ASSERT_NE(pe, nullptr);
    EXPECT_EQ(ACRX_PE_PTR(btr, AcDbObjectContextInterface), nullptr);
    EXPECT_EQ(pe->setAnnotative(btr, true), Acad::eNotOpenForWrite);
    ASSERT_EQ(btr->upgradeOpen(), Acad::eOk);
    EXPECT_EQ(pe->setAnnotative(btr, true), Acad::eOk);
    EXPECT_TRUE(pe->annotative(btr));
    EXPECT_EQ(pe->setAnnotative(btr, false), Acad::eOk);
    EXPECT_EQ(btr->xData(L"AcadAnnotative"), nullptr);
    btr->close();
    ASSERT_EQ(acdbOpenObject(btr, db()->currentSpaceId(), AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(pe->setAnnotative(btr, true), Acad::eNotApplicable);
    btr->close();
}

TEST_F(Anno, AnnotativeEntityKeepsItsScalesAndHoldsThemInTheList) {
    AcDbObjectId textId = AddText(db());
    AcDbEntity* ent = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(ent, textId, AcDb::kForWrite), Acad::eOk);
    AcDbAnnotativeObjectPE* pe = ACRX_PE_PTR(ent, AcDbAnnotativeObjectPE);
    AcDbObjectContextInterface* ci = ACRX_PE_PTR(ent, AcDbObjectContextInterface);
    ASSERT_NE(pe, nullptr);
    ASSERT_NE(ci, nullptr);
    EXPECT_TRUE(ci->supportsCollection(ent, ACDB_ANNOTATIONSCALES_COLLECTION));
    std::unique_ptr<AcDbObjectContext> s1(Scales(db())->getContext(L"1:1"));
    std::unique_ptr<AcDbObjectContext> s50(Scales(db())->getContext(L"1:50"));
    std::unique_ptr<AcDbObjectContext> s100(Scales(db())->getContext(L"1:100"));
    // A scale needs an annotative object.
    EXPECT_EQ(ci->addContext(ent, *s50), Acad::eNotApplicable);
    ASSERT_EQ(pe->setAnnotative(ent, true), Acad::eOk);
    EXPECT_TRUE(ci->hasContext(ent, *s1)); // the current scale comes with it
    EXPECT_EQ(ci->addContext(ent, *s50), Acad::eOk);
    EXPECT_EQ(ci->addContext(ent, *s50), Acad::eOk);
    EXPECT_TRUE(ci->hasContext(ent, *s50));
    EXPECT_FALSE(ci->hasContext(ent, *s100));
    auto loose = NewScale(L"1:3", 1, 3);
    EXPECT_EQ(ci->addContext(ent, *loose), Acad::eKeyNotFound);
    EXPECT_EQ(ci->removeContext(ent, *s1), Acad::eOk);
    EXPECT_FALSE(ci->hasContext(ent, *s1));
    EXPECT_EQ(ci->removeContext(ent, *s50), Acad::eInvalidInput); // the last one stays
    ent->close();

    // The list keeps what an object uses.
    EXPECT_EQ(Scales(db())->removeContext(L"1:50"), Acad::eObjectIsReferenced);
    EXPECT_EQ(Scales(db())->removeContext(L"1:100"), Acad::eOk);
    // Once the text is not annotative, its scale is free.
    ASSERT_EQ(acdbOpenAcDbEntity(ent, textId, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(pe->setAnnotative(ent, false), Acad::eOk);
    EXPECT_FALSE(pe->annotative(ent));
    EXPECT_FALSE(ci->hasContext(ent, *s50));
    ent->close();
    EXPECT_EQ(Scales(db())->removeContext(L"1:50"), Acad::eOk);
}

TEST_F(Anno, ScalesAndAnnotativeDataSurviveTheDxfFile) {
    TempDir dir;
    Scales(db())->addContext(NewScale(L"1:75", 1, 75).get());
    std::unique_ptr<AcDbAnnotationScale> s75(
        AcDbAnnotationScale::cast(Scales(db())->getContext(L"1:75")));
    ASSERT_EQ(db()->setCannoscale(s75.get()), Acad::eOk);
    AcDbObjectId textId = AddText(db());
    AcDbEntity* ent = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(ent, textId, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(ACRX_PE_PTR(ent, AcDbAnnotativeObjectPE)->setAnnotative(ent, true), Acad::eOk);
    std::unique_ptr<AcDbObjectContext> s20(Scales(db())->getContext(L"1:20"));
    ASSERT_EQ(ACRX_PE_PTR(ent, AcDbObjectContextInterface)->addContext(ent, *s20), Acad::eOk);
    const AcDbHandle textHandle = ent->objectId().handle();
    ent->close();
    AcDbObjectId blockId = AddBlock(db(), L"ZNACKA");
    AcDbBlockTableRecord* btr = nullptr;
    ASSERT_EQ(acdbOpenObject(btr, blockId, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(ACRX_PE_PTR(btr, AcDbAnnotativeObjectPE)->setAnnotative(btr, true), Acad::eOk);
    btr->close();

    const fs::path file = dir / "anno.dxf";
    std::wstring error;
    ASSERT_TRUE(khost::writeDrawing(db(), khost::fromUtf8(file.string()), error))
        << khost::toUtf8(error);
    std::unique_ptr<AcDbDatabase> back(khost::readDrawing(khost::fromUtf8(file.string()), error));
    ASSERT_NE(back, nullptr) << khost::toUtf8(error);

    EXPECT_EQ(Cannoscale(back.get()), L"1:75");
    std::unique_ptr<AcDbAnnotationScale> cur(back->cannoscale());
    ASSERT_NE(cur, nullptr);
    double d = 0;
    cur->getDrawingUnits(d);
    EXPECT_EQ(d, 75.0);
    EXPECT_EQ(ScaleNames(back.get()).size(), 18u);
    AcDbObjectId backText;
    ASSERT_EQ(back->getAcDbObjectId(backText, false, textHandle), Acad::eOk);
    ASSERT_EQ(acdbOpenAcDbEntity(ent, backText, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(ACRX_PE_PTR(ent, AcDbAnnotativeObjectPE)->annotative(ent));
    std::unique_ptr<AcDbObjectContext> b20(Scales(back.get())->getContext(L"1:20"));
    std::unique_ptr<AcDbObjectContext> b75(Scales(back.get())->getContext(L"1:75"));
    std::unique_ptr<AcDbObjectContext> b50(Scales(back.get())->getContext(L"1:50"));
    AcDbObjectContextInterface* ci = ACRX_PE_PTR(ent, AcDbObjectContextInterface);
    EXPECT_TRUE(ci->hasContext(ent, *b20));
    EXPECT_TRUE(ci->hasContext(ent, *b75));
    EXPECT_FALSE(ci->hasContext(ent, *b50));
    ent->close();
    EXPECT_EQ(Scales(back.get())->removeContext(L"1:20"), Acad::eObjectIsReferenced);

    // What an independent reader sees.
    if (std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3-ezdxf is not installed";
    const fs::path script = dir / "check.py";
    std::ofstream(script) << R"(import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
print("audit", len(auditor.errors))
print("cannoscale", doc.header["$CANNOSCALE"])
scales = doc.rootdict["ACAD_SCALELIST"]
names = {}
for key, obj in scales.items():
    tags = {t.code: t.value for t in obj.xtags.get_subclass("AcDbScale")}
    names[tags[300]] = (tags[140], tags[141])
print("scales", len(names), names["1:75"], names["1:1"])
text = doc.entitydb[sys.argv[2]]
print("xdata", [t.value for t in text.get_xdata("AcadAnnotative")])
contexts = text.get_extension_dict()["AcDbContextDataManager"]["ACDB_ANNOTATIONSCALES"]
seen = []
for key, data in contexts.items():
    scale = doc.entitydb[data.xtags.get_subclass("AcDbAnnotScaleObjectContextData").get_first_value(340)]
    tags = {t.code: t.value for t in scale.xtags.get_subclass("AcDbScale")}
    seen.append((key, data.dxftype(), tags[300]))
print("contexts", sorted(seen))
block = doc.block_records.get("ZNACKA")
print("block", [t.value for t in block.get_xdata("AcadAnnotative")])
print("classes", sorted(c.dxf.name for c in doc.classes if "CONTEXT" in c.dxf.name or c.dxf.name == "SCALE"))
)";
    const fs::path out = dir / "check.out";
    ACHAR handle[17];
    textHandle.getIntoAsciiBuffer(handle);
    const std::string cmd = "/usr/bin/python3 " + script.string() + " " + file.string() + " " +
                            khost::toUtf8(handle) + " > " + out.string() + " 2>&1";
    std::system(cmd.c_str());
    std::stringstream seen;
    seen << std::ifstream(out).rdbuf();
    EXPECT_EQ(seen.str(), "audit 0\ncannoscale 1:75\nscales 18 (1.0, 75.0) (1.0, 1.0)\n"
                          "xdata ['AnnotativeData', '{', 1, 1, '}']\n"
                          "contexts [('*A1', 'ACDB_TEXTOBJECTCONTEXTDATA_CLASS', '1:75'), ('*A2', "
                          "'ACDB_TEXTOBJECTCONTEXTDATA_CLASS', '1:20')]\n"
                          "block ['AnnotativeData', '{', 1, 1, '}']\n"
                          "classes ['ACDB_TEXTOBJECTCONTEXTDATA_CLASS', 'SCALE']\n");
}

} // namespace
