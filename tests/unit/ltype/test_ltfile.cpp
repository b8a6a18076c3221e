// Linetypes loaded from linetype files (the installation's files among them), the styles their
// texts and shapes need, what the DXF file keeps of them, compiled shape files and the shape
// compiler of the tools.
#include "acutads.h"
#include "arxdb.h"
#include "dbhost.h"
#include "dbltfile.h"
#include "dbshx.h"
#include "dxfio.h"
#include "textconv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;
using khost::fromUtf8;
using khost::toUtf8;

namespace {

const fs::path kData = fs::path(KRESBON_SOURCE_DIR) / "data";
const fs::path kLin = kData / "CommonData" / "LIN";

std::string ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::wstring W(const fs::path& p) {
    return fromUtf8(p.string());
}

class LtFile : public ::testing::Test {
protected:
    void SetUp() override {
        m_db = std::make_unique<AcDbDatabase>(true, true);
        std::string tmpl = (fs::temp_directory_path() / "kresbon-lt-XXXXXX").string();
        m_dir = mkdtemp(tmpl.data());
    }
    void TearDown() override {
        EXPECT_EQ(khost::openObjectCount(), 0);
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    AcDbDatabase* db() { return m_db.get(); }
    Acad::ErrorStatus Load(const ACHAR* name, const fs::path& file) {
        return acdbLoadLineTypeFile(name, W(file).c_str(), db());
    }
    AcDbObjectId Linetype(const ACHAR* name) {
        AcDbLinetypeTable* t = nullptr;
        AcDbObjectId id;
        db()->getLinetypeTable(t, AcDb::kForRead);
        t->getAt(name, id);
        t->close();
        return id;
    }
    AcDbObjectId AddStyle(const ACHAR* name, const std::wstring& file, bool shape) {
        AcDbTextStyleTable* t = nullptr;
        db()->getTextStyleTable(t, AcDb::kForWrite);
        auto* s = new AcDbTextStyleTableRecord;
        s->setName(name);
        s->setFileName(file.c_str());
        s->setIsShapeFile(shape);
        AcDbObjectId id;
        EXPECT_EQ(t->add(id, s), Acad::eOk);
        s->close();
        t->close();
        return id;
    }
    void WriteLin(const std::string& bytes) { std::ofstream(m_dir / "t.lin") << bytes; }

    std::unique_ptr<AcDbDatabase> m_db;
    fs::path m_dir;
};

TEST_F(LtFile, PlainDashesAndNamesInTheWindowsCodePage) {
    ASSERT_EQ(Load(L"SV", kLin / "KV_zakladni_cary.lin"), Acad::eOk);
    AcDbLinetypeTableRecord* lt = nullptr;
    ASSERT_EQ(acdbOpenObject(lt, Linetype(L"SV"), AcDb::kForRead), Acad::eOk);
    ASSERT_EQ(lt->numDashes(), 4);
    EXPECT_EQ(lt->dashLengthAt(0), 12.0);
    EXPECT_EQ(lt->dashLengthAt(1), -1.5);
    EXPECT_EQ(lt->dashLengthAt(2), 0.0);
    EXPECT_EQ(lt->patternLength(), 15.0);
    EXPECT_TRUE(lt->shapeStyleAt(1).isNull());
    AcString comments;
    lt->comments(comments);
    EXPECT_EQ(comments, AcString(L"Studená voda ____ . ____ . ____ . ____"));
    lt->close();

    // A name taken, in any case, is status 95; the file is not read again.
    EXPECT_EQ(Load(L"sv", kLin / "KV_zakladni_cary.lin"), Acad::eDuplicateRecordName);
    EXPECT_EQ(static_cast<int>(Acad::eDuplicateRecordName), 95);
    EXPECT_EQ(Load(L"SV", m_dir / "none.lin"), Acad::eDuplicateRecordName);

    ASSERT_EQ(Load(L"tečkovaná", kLin / "KV_zakladni_cary.lin"), Acad::eOk);
    ASSERT_FALSE(Linetype(L"TEČKOVANÁ").isNull());
    ASSERT_EQ(acdbOpenObject(lt, Linetype(L"TEČKOVANÁ"), AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(lt->name(), L"TEČKOVANÁ");
    lt->close();

    EXPECT_EQ(Load(L"NEEXISTUJE", kLin / "KV_zakladni_cary.lin"), Acad::eUndefinedLineType);
    EXPECT_EQ(Load(L"PLYN", m_dir / "none.lin"), Acad::eFileNotFound);
    EXPECT_EQ(acdbLoadLineTypeFile(L"PLYN", nullptr, db()), Acad::eInvalidInput);

    // A file with a byte order mark is UTF-8; bad patterns load nothing.
    WriteLin(
        "\xEF\xBB\xBF;; test\n*ŽLUTÁ,Žlutá\nA,1,-1\n*SPATNA\nA,1,x\n*PRVNI\nA,[\"X\",STANDARD],1\n"
        "*BEZ_VZORU\n");
    EXPECT_EQ(Load(L"žlutá", m_dir / "t.lin"), Acad::eOk);
    EXPECT_FALSE(Linetype(L"ŽLUTÁ").isNull());
    EXPECT_EQ(Load(L"SPATNA", m_dir / "t.lin"), Acad::eInvalidInput);
    EXPECT_EQ(Load(L"PRVNI", m_dir / "t.lin"), Acad::eInvalidInput);
    EXPECT_EQ(Load(L"BEZ_VZORU", m_dir / "t.lin"), Acad::eInvalidInput);
    EXPECT_TRUE(Linetype(L"SPATNA").isNull());
}

TEST_F(LtFile, TextElementsNeedTheirStyle) {
    EXPECT_EQ(Load(L"CIRKULACE", kLin / "KV_zakladni_cary.lin"), Acad::eInvalidTextStyle);
    EXPECT_TRUE(Linetype(L"CIRKULACE").isNull());
    AcDbObjectId style = AddStyle(L"KV_TXT_MALY", L"ArialN.ttf", false);
    ASSERT_EQ(Load(L"CIRKULACE", kLin / "KV_zakladni_cary.lin"), Acad::eOk);
    AcDbLinetypeTableRecord* lt = nullptr;
    ASSERT_EQ(acdbOpenObject(lt, Linetype(L"CIRKULACE"), AcDb::kForRead), Acad::eOk);
    ASSERT_EQ(lt->numDashes(), 3);
    EXPECT_TRUE(lt->shapeStyleAt(0).isNull());
    EXPECT_EQ(lt->shapeStyleAt(1), style);
    const ACHAR* text = nullptr;
    lt->textAt(1, text);
    EXPECT_STREQ(text, L"C");
    EXPECT_EQ(lt->shapeNumberAt(1), 0);
    EXPECT_EQ(lt->shapeScaleAt(1), 1.5);
    EXPECT_EQ(lt->shapeOffsetAt(1).x, -0.5);
    EXPECT_EQ(lt->shapeOffsetAt(1).y, -0.75);
    EXPECT_FALSE(lt->shapeIsUcsOrientedAt(1));
    lt->close();

    // The Windows-1250 letter of a text survives, and absolute rotations are marked.
    ASSERT_EQ(Load(L"CERPANA_PODL", kLin / "KV_zakladni_cary.lin"), Acad::eOk);
    ASSERT_EQ(acdbOpenObject(lt, Linetype(L"CERPANA_PODL"), AcDb::kForRead), Acad::eOk);
    lt->textAt(3, text);
    EXPECT_STREQ(text, L"Č");
    lt->close();
    WriteLin("*ABS\nA,2,-1,[\"A\",KV_TXT_MALY,S=2,A=90,X=1,Y=2],-1\n");
    ASSERT_EQ(Load(L"ABS", m_dir / "t.lin"), Acad::eOk);
    ASSERT_EQ(acdbOpenObject(lt, Linetype(L"ABS"), AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(lt->shapeIsUcsOrientedAt(1));
    EXPECT_NEAR(lt->shapeRotationAt(1), std::acos(0.0), 1e-12);
    lt->close();

    // "*" loads whatever the drawing lacks.
    ASSERT_EQ(Load(L"*", kLin / "KV_zakladni_cary.lin"), Acad::eOk);
    for (const ACHAR* name :
         {L"SV", L"TUV", L"UZITKOVA", L"KAN-PODL", L"DESTAK_PODL", L"DESTAK_STROP",
          L"CERPANA_STROP", L"TEČKOVANÁ", L"PLYN", L"IZOLACE", L"ČÁRKOVANÁ", L"ČERCHOVANÁ"})
        EXPECT_FALSE(Linetype(name).isNull()) << toUtf8(name);
}

TEST_F(LtFile, ShapeElementsNeedTheStyleOfTheirShapeFile) {
    EXPECT_EQ(Load(L"_KANALIZACE", kLin / "KV_IS.lin"), Acad::eInvalidTextStyle);
    // A style that is not of a shape file does not count.
    AddStyle(L"TVARY", L"KV_IS.shx", false);
    EXPECT_EQ(Load(L"_KANALIZACE", kLin / "KV_IS.lin"), Acad::eInvalidTextStyle);
    // The unnamed style of the shape file, by the file's full path.
    AcDbObjectId shapes = AddStyle(L"", W(kLin / "KV_IS.shx"), true);
    ASSERT_EQ(Load(L"_KANALIZACE", kLin / "KV_IS.lin"), Acad::eOk);
    AcDbLinetypeTableRecord* lt = nullptr;
    ASSERT_EQ(acdbOpenObject(lt, Linetype(L"_KANALIZACE"), AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(lt->shapeStyleAt(1), shapes);
    EXPECT_EQ(lt->shapeNumberAt(1), 5); // TROJUHELNIK
    EXPECT_EQ(lt->shapeScaleAt(1), 0.6);
    const ACHAR* text = nullptr;
    lt->textAt(1, text);
    EXPECT_STREQ(text, L"");
    lt->close();

    // A shape the file lacks; a style naming the file alone finds it beside the linetype file.
    WriteLin("*NENI\nA,2,-1,[NENI,KV_IS.shx],-1\n*KRIZ\nA,2,-1,[kriz,KV_IS.shx,S=1],-1\n");
    EXPECT_EQ(Load(L"NENI", m_dir / "t.lin"), Acad::eKeyNotFound);
    ASSERT_EQ(Load(L"KRIZ", m_dir / "t.lin"), Acad::eOk);
    AcDbDatabase other(true, true);
    AcDbTextStyleTable* t = nullptr;
    other.getTextStyleTable(t, AcDb::kForWrite);
    auto* s = new AcDbTextStyleTableRecord;
    s->setFileName(L"kv_is.SHX");
    s->setIsShapeFile(true);
    ASSERT_EQ(t->add(s), Acad::eOk);
    s->close();
    t->close();
    ASSERT_EQ(acdbLoadLineTypeFile(L"_DRENAZ", W(kLin / "KV_IS.lin").c_str(), &other), Acad::eOk);
    EXPECT_EQ(acdbLoadLineTypeFile(L"_DRENAZ", W(m_dir / "KV_IS.lin").c_str(), &other),
              Acad::eDuplicateRecordName);
}

TEST_F(LtFile, ElementsSurviveTheDxfFileAndEzdxfReadsThem) {
    AddStyle(L"KV_TXT_MALY", L"ArialN.ttf", false);
    AddStyle(L"", W(kLin / "KV_IS.shx"), true);
    ASSERT_EQ(Load(L"CERPANA_PODL", kLin / "KV_zakladni_cary.lin"), Acad::eOk);
    ASSERT_EQ(Load(L"_OPLOCENI", kLin / "KV_IS.lin"), Acad::eOk);
    ASSERT_EQ(Load(L"TEČKOVANÁ", kLin / "KV_zakladni_cary.lin"), Acad::eOk);
    const fs::path file = m_dir / "lt.dxf";
    std::wstring error;
    ASSERT_TRUE(khost::writeDrawing(db(), W(file), error)) << toUtf8(error);
    std::unique_ptr<AcDbDatabase> back(khost::readDrawing(W(file), error));
    ASSERT_NE(back, nullptr) << toUtf8(error);
    AcDbLinetypeTable* t = nullptr;
    back->getLinetypeTable(t, AcDb::kForRead);
    AcDbLinetypeTableRecord* lt = nullptr;
    ASSERT_EQ(t->getAt(L"_OPLOCENI", lt, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(lt->shapeNumberAt(1), 2); // KRIZ
    AcDbTextStyleTableRecord* style = nullptr;
    ASSERT_EQ(acdbOpenObject(style, lt->shapeStyleAt(1), AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(style->isShapeFile());
    EXPECT_STREQ(style->name(), L"");
    style->close();
    lt->close();
    ASSERT_EQ(t->getAt(L"CERPANA_PODL", lt, AcDb::kForRead), Acad::eOk);
    const ACHAR* text = nullptr;
    lt->textAt(3, text);
    EXPECT_STREQ(text, L"Č");
    lt->close();
    EXPECT_TRUE(t->has(L"TEČKOVANÁ"));
    t->close();

    if (std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3-ezdxf is not installed";
    std::ofstream(m_dir / "check.py") << R"(import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
print("audit", len(doc.audit().errors))
for name in ("CERPANA_PODL", "_OPLOCENI", "TEČKOVANÁ"):
    lt = doc.linetypes.get(name)
    tags = [(t.code, t.value) for t in lt.pattern_tags.tags if t.code in (49, 74, 75, 9)]
    refs = [doc.entitydb[t.value] for t in lt.pattern_tags.tags if t.code == 340]
    print(name, tags, [(s.dxf.name, s.dxf.font, s.dxf.flags) for s in refs])
)";
    const std::string cmd = "/usr/bin/python3 " + (m_dir / "check.py").string() + " " +
                            file.string() + " > " + (m_dir / "out").string() + " 2>&1";
    std::system(cmd.c_str());
    const std::string shx = (kLin / "KV_IS.shx").string();
    EXPECT_EQ(ReadBytes(m_dir / "out"),
              "audit 0\n"
              "CERPANA_PODL [(49, 6.0), (74, 0), (49, -2.0), (74, 0), (49, 6.0), (74, 0), (49, "
              "-1.5), (74, 2), (75, 0), (9, 'Č'), (49, -1.5), (74, 0)] [('KV_TXT_MALY', "
              "'ArialN.ttf', 0)]\n"
              "_OPLOCENI [(49, 10.0), (74, 0), (49, -1.5), (74, 4), (75, 2), (49, -1.5), (74, 0)] "
              "[('', '" +
                  shx +
                  "', 1)]\n"
                  "TEČKOVANÁ [(49, 0.0), (74, 0), (49, -1.0), (74, 0)] []\n");
}

TEST(ShapeFile, CompiledFileMatchesItsSourceAndTheCompiler) {
    std::vector<khost::ShapeEntry> shapes;
    std::string error;
    ASSERT_TRUE(khost::readShapeFile(W(kLin / "KV_IS.shx"), shapes, error)) << error;
    ASSERT_EQ(shapes.size(), 7u);
    EXPECT_EQ(shapes[0].number, 1);
    EXPECT_EQ(shapes[0].name, "KRUH");
    EXPECT_EQ(shapes[0].definition,
              std::string("\x02\x08\x01\x00\x01\x0A\x01\x00\x02\x08\xFF\x00\x00", 13));
    EXPECT_EQ(khost::shapeNumber(shapes, "trojuhelnik"), 5);
    EXPECT_EQ(khost::shapeNumber(shapes, "SIPKA"), 7);
    EXPECT_EQ(khost::shapeNumber(shapes, "NENI"), 0);

    EXPECT_FALSE(khost::readShapeFile(std::string("AutoCAD-86 shapes 1.0\r\n\x1a\x01\x00", 26),
                                      shapes, error));
    EXPECT_FALSE(khost::readShapeFile(std::string("not a shape file"), shapes, error));
    EXPECT_EQ(error, "not a compiled shape file");

    // The committed file is what the compiler of the tools makes of the source.
    std::string tmpl = (fs::temp_directory_path() / "kresbon-shx-XXXXXX").string();
    const fs::path dir = mkdtemp(tmpl.data());
    const std::string tool = (fs::path(KRESBON_SOURCE_DIR) / "tools" / "shpcompile.py").string();
    auto compile = [&](const fs::path& src, const fs::path& out) {
        const std::string cmd = "/usr/bin/python3 " + tool + " " + src.string() + " " +
                                out.string() + " 2> " + (dir / "err").string();
        return std::system(cmd.c_str());
    };
    ASSERT_EQ(compile(kData / "shapes" / "KV_IS.shp", dir / "out.shx"), 0)
        << ReadBytes(dir / "err");
    EXPECT_EQ(ReadBytes(dir / "out.shx"), ReadBytes(kLin / "KV_IS.shx"));
    // A length that does not match the bytes is refused.
    std::ofstream(dir / "bad.shp") << "*1,4,CARA\n1,8,(1,0),0\n";
    EXPECT_NE(compile(dir / "bad.shp", dir / "bad.shx"), 0);
    EXPECT_NE(ReadBytes(dir / "err").find("shape 1 has 5 bytes, its header says 4"),
              std::string::npos)
        << ReadBytes(dir / "err");
    std::ofstream(dir / "good.shp") << "*20,5,CARA\n1,8,(1,0),0\n*3,2,BOD\n1,0\n";
    ASSERT_EQ(compile(dir / "good.shp", dir / "good.shx"), 0) << ReadBytes(dir / "err");
    ASSERT_TRUE(khost::readShapeFile(W(dir / "good.shx"), shapes, error)) << error;
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[0].number, 20);
    EXPECT_EQ(shapes[1].name, "BOD");
    EXPECT_EQ(shapes[0].definition, std::string("\x01\x08\x01\x00\x00", 5));
    std::error_code ec;
    fs::remove_all(dir, ec);
}

} // namespace
