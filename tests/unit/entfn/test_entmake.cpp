// entmake and the data lists of entget: entities, block definitions with attribute definitions
// and references with attributes made from lists, the same lists after a save and a load, and
// the lists entmake refuses.
#include "entfntest.h"

#include "acedentfn.h"
#include "dbblkref.h"
#include "dbsymtb.h"
#include "dbtext.h"
#include "dxfio.h"
#include "edentfn.h"

#include <regex>

using namespace entfntest;

namespace {

const wchar_t* kLine = LR"((entmake '((0 . "LINE") (8 . "POTRUBI") (62 . 1)
    (10 0.0 0.0 0.0) (11 10.0 5.0 0.0))))";
const wchar_t* kText = LR"((entmake '((0 . "TEXT") (8 . "POPIS") (10 1.0 2.0 0.0) (40 . 2.5)
    (1 . "Větev A") (50 . 0.5))))";
const wchar_t* kBlock[] = {
    LR"((entmake '((0 . "BLOCK") (2 . "ARMATURA") (70 . 0) (10 1.0 1.0 0.0))))",
    LR"((entmake '((0 . "LINE") (8 . "0") (10 -1.0 0.0 0.0) (11 1.0 0.0 0.0))))",
    LR"((entmake '((0 . "ATTDEF") (8 . "0") (10 0.0 1.0 0.0) (40 . 1.5) (1 . "50")
        (3 . "Jmenovitá světlost") (2 . "DN") (70 . 0))))",
    LR"((entmake '((0 . "ENDBLK"))))",
};
const wchar_t* kInsert[] = {
    LR"((entmake '((0 . "INSERT") (2 . "ARMATURA") (66 . 1) (8 . "ARMATURY") (10 20.0 5.0 0.0)
        (41 . 2.0) (42 . 2.0) (43 . 2.0) (50 . 0.0))))",
    LR"((entmake '((0 . "ATTRIB") (8 . "ARMATURY") (10 20.0 7.0 0.0) (40 . 3.0) (1 . "80")
        (2 . "DN") (70 . 0))))",
    LR"((entmake '((0 . "SEQEND") (8 . "ARMATURY"))))",
};

// The printed list with entity names left out.
std::string withoutNames(const std::string& s) {
    static const std::regex name("<Entity name: [0-9a-fA-F]+>");
    return std::regex_replace(s, name, "<name>");
}

std::string listOf(AcDbObjectId id) {
    resbuf* chain = khost::entityData(id);
    std::string out = withoutNames(printed(khost::lispFromEntityChain(chain)));
    acutRelRb(chain);
    return out;
}

// The data lists of every entity of the drawing (entnext's walk), then of the block's.
std::vector<std::string> allLists(AcDbDatabase* db, const wchar_t* block) {
    std::vector<std::string> out;
    for (AcDbObjectId id = khost::nextEntity(db, {}); !id.isNull(); id = khost::nextEntity(db, id))
        out.push_back(listOf(id));
    AcDbBlockTable* bt = nullptr;
    AcDbObjectId blockId;
    EXPECT_EQ(db->getBlockTable(bt), Acad::eOk);
    EXPECT_EQ(bt->getAt(block, blockId), Acad::eOk);
    bt->close();
    auto* btr = AcDbBlockTableRecord::cast(khost::peekObject(blockId));
    if (btr) {
        for (AcDbObjectId e : btr->entityIds())
            out.push_back("block: " + listOf(e));
    }
    return out;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

void makeDrawing() {
    EXPECT_EQ(printed(eval(kLine)).substr(0, 13), "((0 . \"LINE\")");
    EXPECT_NE(printed(eval(kText)), "nil");
    for (const wchar_t* t : kBlock)
        eval(t);
    for (const wchar_t* t : kInsert)
        EXPECT_NE(printed(eval(t)), "nil") << khost::toUtf8(t);
}

} // namespace

TEST_F(EntFnTest, MadeEntitiesHaveTheirListsAfterASaveAndALoad) {
    makeDrawing();
    std::vector<std::string> before = allLists(db(), L"ARMATURA");
    // Line, text, reference, its attribute and end marker; the block's line and definition.
    ASSERT_EQ(before.size(), 7u);
    EXPECT_TRUE(contains(before[0], "(0 . \"LINE\")"));
    EXPECT_TRUE(contains(before[0], "(8 . \"POTRUBI\")"));
    EXPECT_TRUE(contains(before[0], "(62 . 1)"));
    EXPECT_TRUE(contains(before[0], "(11 10.0 5.0 0.0)"));
    EXPECT_TRUE(contains(before[0], "(410 . \"Model\")"));
    EXPECT_TRUE(contains(before[1], "(1 . \"Větev A\")"));
    EXPECT_TRUE(contains(before[1], "(50 . 0.5)"));
    EXPECT_TRUE(contains(before[2], "(0 . \"INSERT\")"));
    EXPECT_TRUE(contains(before[2], "(2 . \"ARMATURA\")"));
    EXPECT_TRUE(contains(before[2], "(41 . 2.0)"));
    EXPECT_TRUE(contains(before[3], "(0 . \"ATTRIB\")"));
    EXPECT_TRUE(contains(before[3], "(1 . \"80\")"));
    EXPECT_TRUE(contains(before[4], "(0 . \"SEQEND\")"));
    EXPECT_TRUE(contains(before[5], "block: ((-1 . <name>) (0 . \"LINE\")"));
    EXPECT_FALSE(contains(before[5], "(410 . "));
    EXPECT_TRUE(contains(before[6], "(0 . \"ATTDEF\")"));
    EXPECT_TRUE(contains(before[6], "(3 . \"Jmenovitá světlost\")"));
    // The layers the lists named were made.
    auto* layers = AcDbLayerTable::cast(khost::peekObject(db()->layerTableId()));
    EXPECT_TRUE(layers->has(L"POTRUBI"));
    EXPECT_TRUE(layers->has(L"ARMATURY"));

    TempDir dir;
    std::wstring err;
    ASSERT_TRUE(khost::writeDrawing(db(), dir.wpath("made.dxf"), err)) << khost::toUtf8(err);
    AcDbDatabase* loaded = khost::readDrawing(dir.wpath("made.dxf"), err);
    ASSERT_NE(loaded, nullptr) << khost::toUtf8(err);
    khost::openDocument(loaded, dir.wpath("made.dxf"));
    ASSERT_EQ(db(), loaded);
    std::vector<std::string> after = allLists(loaded, L"ARMATURA");
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(after[i], before[i]);

    if (haveEzdxf())
        EXPECT_EQ(ezdxfAudit(dir / "made.dxf"), "");
}
