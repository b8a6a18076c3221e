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

const wchar_t* kMore[] = {
    LR"((entmake '((0 . "MTEXT") (8 . "POPIS") (10 1.0 1.0 0.0) (40 . 2.0) (41 . 30.0)
        (1 . "Řádek\\Pdruhý") (71 . 1))))",
    LR"((entmake '((0 . "LWPOLYLINE") (100 . "AcDbEntity") (8 . "POTRUBI")
        (100 . "AcDbPolyline") (90 . 3) (70 . 1) (10 0.0 0.0) (10 5.0 0.0) (42 . 0.5)
        (10 5.0 5.0))))",
    LR"((entmake '((0 . "POLYLINE") (66 . 1) (70 . 0) (10 0 0 0))))",
    LR"((entmake '((0 . "VERTEX") (10 1.0 1.0 0.0))))",
    LR"((entmake '((0 . "VERTEX") (10 2.0 1.0 0.0) (42 . 1.0))))",
    LR"((entmake '((0 . "SEQEND"))))",
};

void makeDrawing() {
    EXPECT_EQ(printed(eval(kLine)).substr(0, 13), "((0 . \"LINE\")");
    EXPECT_NE(printed(eval(kText)), "nil");
    for (const wchar_t* t : kBlock)
        eval(t);
    for (const wchar_t* t : kInsert)
        EXPECT_NE(printed(eval(t)), "nil") << khost::toUtf8(t);
    for (const wchar_t* t : kMore)
        EXPECT_NE(printed(eval(t)), "nil") << khost::toUtf8(t);
}

} // namespace

TEST_F(EntFnTest, MadeEntitiesHaveTheirListsAfterASaveAndALoad) {
    makeDrawing();
    std::vector<std::string> before = allLists(db(), L"ARMATURA");
    // Line, text, reference, its attribute and end marker, multi-line text, polylines (one with
    // its vertices and end marker); the block's line and attribute definition.
    ASSERT_EQ(before.size(), 13u);
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
    EXPECT_TRUE(contains(before[5], "(1 . \"Řádek\\\\Pdruhý\")"));
    EXPECT_TRUE(contains(before[6], "(0 . \"LWPOLYLINE\")"));
    EXPECT_TRUE(contains(before[6], "(42 . 0.5)"));
    EXPECT_TRUE(contains(before[7], "(0 . \"POLYLINE\")"));
    EXPECT_TRUE(contains(before[8], "(0 . \"VERTEX\")"));
    EXPECT_TRUE(contains(before[8], "(8 . \"0\")"));
    EXPECT_TRUE(contains(before[9], "(42 . 1.0)"));
    EXPECT_TRUE(contains(before[10], "(0 . \"SEQEND\")"));
    EXPECT_TRUE(contains(before[11], "block: ((-1 . <name>) (0 . \"LINE\")"));
    EXPECT_FALSE(contains(before[11], "(410 . "));
    EXPECT_TRUE(contains(before[12], "(0 . \"ATTDEF\")"));
    EXPECT_TRUE(contains(before[12], "(3 . \"Jmenovitá světlost\")"));
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

    if (haveEzdxf()) {
        EXPECT_EQ(ezdxfAudit(dir / "made.dxf"), "");
    }
}

TEST_F(EntFnTest, ListsThatMakeNothing) {
    eval(kBlock[0]);
    eval(kBlock[1]);
    eval(kBlock[2]);
    eval(kBlock[3]);
    int before = static_cast<int>(allLists(db(), L"ARMATURA").size());
    const wchar_t* refused[] = {
        LR"((entmake '((0 . "LINE") (6 . "NEEXISTUJE") (10 0 0 0) (11 1 0 0))))",
        LR"((entmake '((0 . "LINE") (62 . 300) (10 0 0 0) (11 1 0 0))))",
        LR"((entmake '((0 . "TEXT") (7 . "ZADNY") (10 0 0 0) (40 . 1.0) (1 . "x"))))",
        LR"((entmake '((0 . "ATTRIB") (10 0 0 0) (40 . 1.0) (1 . "x") (2 . "T"))))",
        LR"((entmake '((0 . "SEQEND"))))",
        LR"((entmake '((0 . "ZADNA_ENTITA") (10 0 0 0))))",
        LR"((entmake '((10 0 0 0) (0 . "LINE"))))",
        LR"((entmake '((0 . "ENDBLK"))))",
        LR"((entmake '((0 . "BLOCK") (2 . "A<B") (10 0 0 0))))",
        LR"((entmake '((0 . "LINE") (10 0 0 0) (11 1 0 0) (-3 ("NEREGISTROVANA" (1000 . "x"))))))",
        LR"((entmake '((0 . "LAYER") (2 . "0") (70 . 0))))",
        LR"((entmake '((0 . "INSERT") (2 . "ZADNY_BLOK") (10 0 0 0))))",
    };
    for (const wchar_t* t : refused)
        EXPECT_EQ(printed(eval(t)), "nil") << khost::toUtf8(t);
    // A complex entity interrupted by another entity is given up whole.
    EXPECT_NE(printed(eval(kInsert[0])), "nil");
    EXPECT_EQ(printed(eval(LR"((entmake '((0 . "LINE") (10 0 0 0) (11 1 0 0))))")), "nil");
    EXPECT_EQ(printed(eval(kInsert[2])), "nil");
    EXPECT_EQ(static_cast<int>(allLists(db(), L"ARMATURA").size()), before);
    // A line on a frozen or missing layer is fine; the layer is made.
    EXPECT_NE(printed(eval(LR"((entmake '((0 . "LINE") (8 . "NOVA") (10 0 0 0) (11 1 0 0))))")),
              "nil");
    EXPECT_EQ(static_cast<int>(allLists(db(), L"ARMATURA").size()), before + 1);
}

TEST_F(EntFnTest, BlocksAnonymousRedefinedAndTableRecords) {
    eval(LR"((entmake '((0 . "BLOCK") (2 . "*U") (70 . 1) (10 0 0 0))))");
    eval(LR"((entmake '((0 . "CIRCLE") (10 0 0 0) (40 . 1.0))))");
    std::string name = printed(eval(LR"((entmake '((0 . "ENDBLK"))))"));
    EXPECT_EQ(name.substr(0, 3), "\"*U");
    // A named block made again is defined anew; references keep pointing at it.
    for (const wchar_t* t : kBlock)
        eval(t);
    for (const wchar_t* t : kInsert)
        eval(t);
    eval(LR"((entmake '((0 . "BLOCK") (2 . "ARMATURA") (10 5 5 0))))");
    eval(LR"((entmake '((0 . "CIRCLE") (10 0 0 0) (40 . 2.0))))");
    EXPECT_EQ(printed(eval(LR"((entmake '((0 . "ENDBLK"))))")), "\"ARMATURA\"");
    AcDbBlockTable* bt = nullptr;
    ASSERT_EQ(db()->getBlockTable(bt), Acad::eOk);
    AcDbObjectId blockId;
    EXPECT_EQ(bt->getAt(L"ARMATURA", blockId), Acad::eOk);
    bt->close();
    auto* btr = AcDbBlockTableRecord::cast(khost::peekObject(blockId));
    ASSERT_NE(btr, nullptr);
    ASSERT_EQ(btr->entityIds().length(), 1);
    EXPECT_EQ(khost::dxfTypeName(khost::peekObject(btr->entityIds()[0])), L"CIRCLE");
    EXPECT_EQ(btr->origin(), AcGePoint3d(5, 5, 0));
    EXPECT_FALSE(btr->hasAttributeDefinitions());
    auto* ref = AcDbBlockReference::cast(khost::peekObject(khost::lastEntity(db())));
    ASSERT_NE(ref, nullptr);
    EXPECT_EQ(ref->blockTableRecord(), blockId);

    // Records of the symbol tables, and extended data of an application registered so.
    EXPECT_NE(printed(eval(LR"((entmake '((0 . "LAYER") (100 . "AcDbSymbolTableRecord")
        (100 . "AcDbLayerTableRecord") (2 . "HLADINA") (70 . 0) (62 . 3) (6 . "Continuous"))))")),
              "nil");
    auto* layers = AcDbLayerTable::cast(khost::peekObject(db()->layerTableId()));
    AcDbObjectId layerId;
    ASSERT_EQ(layers->getAt(L"HLADINA", layerId), Acad::eOk);
    EXPECT_EQ(AcDbLayerTableRecord::cast(khost::peekObject(layerId))->color().colorIndex(), 3);
    EXPECT_EQ(printed(eval(L"(regapp \"KRESBON\")")), "\"KRESBON\"");
    EXPECT_EQ(printed(eval(L"(regapp \"KRESBON\")")), "nil");
    eval(LR"((setq e (entmakex '((0 . "LINE") (10 0 0 0) (11 1 0 0)
        (-3 ("KRESBON" (1000 . "trubka") (1070 . 25)))))))");
    EXPECT_EQ(printed(eval(L"(assoc -3 (entget e '(\"KRES*\")))")),
              "(-3 (\"KRESBON\" (1000 . \"trubka\") (1070 . 25)))");
    EXPECT_EQ(printed(eval(L"(assoc -3 (entget e))")), "nil");
    EXPECT_EQ(printed(eval(L"(assoc -3 (entget e '(\"JINA\")))")), "nil");
}

TEST_F(EntFnTest, ChangingErasingAndWalking) {
    EXPECT_EQ(printed(eval(L"(entlast)")), "nil");
    EXPECT_EQ(printed(eval(L"(entnext)")), "nil");
    eval(LR"((setq a (entmakex '((0 . "LINE") (8 . "A") (10 0 0 0) (11 1 0 0)))))");
    eval(LR"((setq b (entmakex '((0 . "LINE") (8 . "B") (10 0 0 0) (11 2 0 0)))))");
    EXPECT_EQ(printed(eval(L"(equal (entlast) b)")), "T");
    EXPECT_EQ(printed(eval(L"(equal (entnext) a)")), "T");
    EXPECT_EQ(printed(eval(L"(equal (entnext a) b)")), "T");
    EXPECT_EQ(printed(eval(L"(entnext b)")), "nil");
    EXPECT_EQ(printed(eval(L"(equal (handent (cdr (assoc 5 (entget b)))) b)")), "T");
    EXPECT_EQ(printed(eval(L"(handent \"FFFFFF\")")), "nil");

    // A whole list with one group changed, and a list of just the groups to change.
    eval(L"(setq l (entget a))");
    eval(L"(setq l (cons (cons 8 \"NOVA\") (cdr (member (assoc 8 l) (reverse l)))))");
    EXPECT_NE(printed(eval(LR"((entmod (list (cons -1 a) (cons 8 "NOVA") '(62 . 4))))")), "nil");
    EXPECT_EQ(printed(eval(L"(cdr (assoc 8 (entget a)))")), "\"NOVA\"");
    EXPECT_EQ(printed(eval(L"(cdr (assoc 62 (entget a)))")), "4");
    EXPECT_EQ(printed(eval(L"(cdr (assoc 11 (entget a)))")), "(1.0 0.0 0.0)");
    EXPECT_NE(printed(eval(LR"((entmod (list (cons -1 a) '(10 5.0 5.0 0.0))))")), "nil");
    EXPECT_EQ(printed(eval(L"(cdr (assoc 10 (entget a)))")), "(5.0 5.0 0.0)");
    EXPECT_EQ(printed(eval(L"(cdr (assoc 11 (entget a)))")), "(1.0 0.0 0.0)");
    EXPECT_EQ(printed(eval(LR"((entmod (list (cons -1 a) '(6 . "NEEXISTUJE"))))")), "nil");
    EXPECT_EQ(printed(eval(LR"((entmod (list (cons -1 a) '(0 . "CIRCLE"))))")), "nil");
    EXPECT_EQ(printed(eval(L"(equal (entupd a) a)")), "T");

    // entdel erases and brings back; the walk skips what is erased.
    EXPECT_EQ(printed(eval(L"(equal (entdel b) b)")), "T");
    EXPECT_EQ(printed(eval(L"(entget b)")), "nil");
    EXPECT_EQ(printed(eval(L"(entnext a)")), "nil");
    EXPECT_EQ(printed(eval(L"(equal (entlast) a)")), "T");
    eval(L"(entdel b)");
    EXPECT_EQ(printed(eval(L"(equal (entlast) b)")), "T");
    EXPECT_EQ(printed(eval(L"(cdr (assoc 8 (entget b)))")), "\"B\"");
}

TEST_F(EntFnTest, TheCInterface) {
    const ads_point p1 = {0, 0, 0}, p2 = {3, 4, 0};
    resbuf* list = acutBuildList(RTDXF0, L"LINE", 8, L"C", 10, p1, 11, p2, 0);
    EXPECT_EQ(acdbEntMake(list), RTNORM);
    acutRelRb(list);
    ads_name last, first;
    ASSERT_EQ(acdbEntLast(last), RTNORM);
    ASSERT_EQ(acdbEntNext(nullptr, first), RTNORM);
    EXPECT_EQ(last[0], first[0]);
    EXPECT_EQ(acdbEntNext(last, first), RTERROR);
    resbuf* got = acdbEntGet(last);
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(got->restype, -1);
    EXPECT_EQ(got->rbnext->restype, 0);
    EXPECT_EQ(std::wstring(got->rbnext->resval.rstring), L"LINE");
    std::wstring handle;
    for (resbuf* rb = got; rb; rb = rb->rbnext) {
        if (rb->restype == 5)
            handle = rb->resval.rstring;
        if (rb->restype == 11) {
            rb->resval.rpoint[0] = 30;
        }
    }
    EXPECT_EQ(acdbEntMod(got), RTNORM);
    acutRelRb(got);
    AcDbObjectId id;
    ASSERT_EQ(acdbGetObjectId(id, last), Acad::eOk);
    auto* line = AcDbLine::cast(khost::peekObject(id));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->endPoint(), AcGePoint3d(30, 4, 0));
    ads_name byHandle;
    ASSERT_EQ(acdbHandEnt(handle.c_str(), byHandle), RTNORM);
    EXPECT_EQ(byHandle[0], last[0]);
    EXPECT_EQ(acdbEntDel(last), RTNORM);
    EXPECT_EQ(acdbEntLast(byHandle), RTERROR);
    EXPECT_EQ(acdbEntGet(last), nullptr);
    EXPECT_EQ(acdbEntDel(last), RTNORM);
    ads_name made;
    list = acutBuildList(RTDXF0, L"CIRCLE", 10, p2, 40, 2.0, 0);
    ASSERT_EQ(acdbEntMakeX(list, made), RTNORM);
    acutRelRb(list);
    ASSERT_EQ(acdbEntLast(last), RTNORM);
    EXPECT_EQ(made[0], last[0]);
}
