// Whole drawings through the DXF reader and writer: round trips of drawings built through the
// database's interface and of files written by another program, saving that never harms the old
// file, bad input, and the independent reader's verdict on what the host writes.
#include "acutads.h"
#include "dbdict.h"
#include "dbents.h"
#include "dbhost.h"
#include "dbmain.h"
#include "dbraw.h"
#include "dbsymtb.h"
#include "dbxrecrd.h"
#include "dxfio.h"
#include "textconv.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
using khost::fromUtf8;
using khost::toUtf8;

namespace {

class TempDir {
public:
    TempDir() {
        std::string tmpl = (fs::temp_directory_path() / "kresbon-dxf-XXXXXX").string();
        m_path = mkdtemp(tmpl.data());
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    fs::path operator/(const std::string& name) const { return m_path / name; }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeText(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

std::wstring wpath(const fs::path& p) {
    return fromUtf8(p.string());
}

bool haveEzdxf() {
    static const bool have = std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") == 0;
    return have;
}

// Runs a python script with the given arguments; its standard output.
std::string python(const TempDir& dir, const std::string& script, const std::string& args,
                   int* exitCode = nullptr) {
    fs::path py = dir / "script.py";
    writeText(py, script);
    fs::path out = dir / "script.out";
    std::string cmd =
        "/usr/bin/python3 " + py.string() + " " + args + " > " + out.string() + " 2>&1";
    int rc = std::system(cmd.c_str());
    if (exitCode)
        *exitCode = rc;
    return readText(out);
}

// ezdxf's verdict on a file: "" when it loads and its audit finds no error.
std::string ezdxfAudit(const TempDir& dir, const fs::path& file) {
    static const char* script = R"(import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
for e in auditor.errors:
    print("error", e.code, e.message)
for f in auditor.fixes:
    print("fix", f.code, f.message)
print("ok" if not auditor.has_errors else "errors")
)";
    std::string out = python(dir, script, file.string());
    if (out.size() >= 3 && out.substr(out.size() - 3) == "ok\n")
        return out.substr(0, out.size() - 3);
    return out.empty() ? "no output" : out;
}

// Every line of the header section but the dates of the last save, which change with time.
std::string withoutSaveDates(const std::string& dxf) {
    std::istringstream in(dxf);
    std::string line, out;
    bool skip = false;
    int skipCount = 0;
    while (std::getline(in, line)) {
        if (skipCount > 0) {
            --skipCount;
            continue;
        }
        if (line == "$TDUPDATE" || line == "$TDUUPDATE") {
            skipCount = 2;
            continue;
        }
        (void)skip;
        out += line;
        out += '\n';
    }
    return out;
}

AcDbObjectId addLinetype(AcDbDatabase* db, const wchar_t* name) {
    AcDbLinetypeTable* lt = nullptr;
    EXPECT_EQ(db->getLinetypeTable(lt, AcDb::kForWrite), Acad::eOk);
    auto* rec = new AcDbLinetypeTableRecord();
    rec->setName(name);
    rec->setComments(L"Čárkovaná __ __ __");
    rec->setNumDashes(2);
    rec->setDashLengthAt(0, 12.5);
    rec->setDashLengthAt(1, -6.25);
    rec->setPatternLength(18.75);
    AcDbObjectId id;
    EXPECT_EQ(lt->add(id, rec), Acad::eOk);
    rec->close();
    lt->close();
    return id;
}

AcDbObjectId addLayer(AcDbDatabase* db, const wchar_t* name, int color, AcDbObjectId linetype) {
    AcDbLayerTable* lt = nullptr;
    EXPECT_EQ(db->getLayerTable(lt, AcDb::kForWrite), Acad::eOk);
    auto* rec = new AcDbLayerTableRecord();
    rec->setName(name);
    AcCmColor c;
    c.setColorIndex(static_cast<Adesk::Int16>(color));
    rec->setColor(c);
    if (!linetype.isNull())
        rec->setLinetypeObjectId(linetype);
    rec->setLineWeight(AcDb::kLnWt050);
    rec->setDescription(L"Vodovodní potrubí");
    AcDbObjectId id;
    EXPECT_EQ(lt->add(id, rec), Acad::eOk);
    rec->close();
    lt->close();
    return id;
}

void registerApp(AcDbDatabase* db, const wchar_t* name) {
    AcDbRegAppTable* t = nullptr;
    ASSERT_EQ(db->getRegAppTable(t, AcDb::kForWrite), Acad::eOk);
    auto* rec = new AcDbRegAppTableRecord();
    rec->setName(name);
    ASSERT_EQ(t->add(rec), Acad::eOk);
    rec->close();
    t->close();
}

// The drawing of the round trip: two layers, a linetype, a line with extended data and an
// extension dictionary holding an extension record.
struct Built {
    AcDbDatabase* db = nullptr;
    AcDbObjectId linetype, layer, layerOff, line, xdict, xrecord;
};

resbuf* lineXData() {
    resbuf* x = acutBuildList(1001, L"KRESBON", 1000, L"řetězec ^ s ^J stříškou", 1070, 42, 1071,
                              123456789, 1040, 2.5, 1002, L"{", 1000, L"vnořeno", 1002, L"}", 0);
    resbuf* tail = x;
    while (tail->rbnext)
        tail = tail->rbnext;
    tail->rbnext = acutNewRb(1010);
    tail->rbnext->resval.rpoint[0] = 1.5;
    tail->rbnext->resval.rpoint[1] = -2.25;
    tail->rbnext->resval.rpoint[2] = 1e-9;
    return x;
}

resbuf* xrecordData(AcDbObjectId ref) {
    resbuf* x = acutBuildList(1, L"hodnota žluťoučká", 70, 7, 40, 0.1, 90, -5, 290, 1, 0);
    resbuf* tail = x;
    while (tail->rbnext)
        tail = tail->rbnext;
    tail->rbnext = acutNewRb(330);
    acdbGetAdsName(tail->rbnext->resval.rlname, ref);
    tail = tail->rbnext;
    tail->rbnext = acutNewRb(10);
    tail->rbnext->resval.rpoint[0] = 100;
    tail->rbnext->resval.rpoint[1] = 200;
    tail->rbnext->resval.rpoint[2] = 300;
    return x;
}

Built buildDrawing() {
    Built b;
    b.db = new AcDbDatabase(true, false);
    b.linetype = addLinetype(b.db, L"ČÁRKOVANÁ");
    b.layer = addLayer(b.db, L"Potrubí-vodovod", 1, b.linetype);
    b.layerOff = addLayer(b.db, L"Vypnutá", 3, AcDbObjectId::kNull);
    {
        AcDbLayerTableRecord* l = nullptr;
        EXPECT_EQ(acdbOpenObject(l, b.layerOff, AcDb::kForWrite), Acad::eOk);
        l->setIsOff(true);
        l->close();
    }
    registerApp(b.db, L"KRESBON");

    AcDbBlockTableRecord* ms = nullptr;
    EXPECT_EQ(acdbOpenObject(ms, b.db->currentSpaceId(), AcDb::kForWrite), Acad::eOk);
    auto* line = new AcDbLine(AcGePoint3d(0.1, 0.2, 0.0), AcGePoint3d(1000.0 / 3.0, -50.5, 7.0));
    EXPECT_EQ(ms->appendAcDbEntity(b.line, line), Acad::eOk);
    ms->close();
    line->setLayer(b.layer);
    line->setColorIndex(3);
    line->setLinetypeScale(2.5);
    line->setLineWeight(AcDb::kLnWt035);
    resbuf* xd = lineXData();
    EXPECT_EQ(line->setXData(xd), Acad::eOk);
    acutRelRb(xd);
    EXPECT_EQ(line->createExtensionDictionary(), Acad::eOk);
    b.xdict = line->extensionDictionary();
    line->close();

    AcDbDictionary* dict = nullptr;
    EXPECT_EQ(acdbOpenObject(dict, b.xdict, AcDb::kForWrite), Acad::eOk);
    auto* xrec = new AcDbXrecord();
    EXPECT_EQ(dict->setAt(L"KRESBON_DATA", xrec, b.xrecord), Acad::eOk);
    resbuf* data = xrecordData(b.layer);
    EXPECT_EQ(xrec->setFromRbChain(*data), Acad::eOk);
    acutRelRb(data);
    xrec->close();
    dict->close();
    return b;
}

// A chain as text, for comparisons that show what differs.
std::string describe(const resbuf* rb) {
    std::ostringstream s;
    for (; rb; rb = rb->rbnext) {
        s << rb->restype << "=";
        switch (khost::rbKind(rb->restype)) {
        case khost::RbKind::String:
        case khost::RbKind::Handle:
            s << toUtf8(rb->resval.rstring ? rb->resval.rstring : L"");
            break;
        case khost::RbKind::Real:
            s << rb->resval.rreal;
            break;
        case khost::RbKind::Point:
            s << rb->resval.rpoint[0] << "," << rb->resval.rpoint[1] << "," << rb->resval.rpoint[2];
            break;
        case khost::RbKind::Short:
            s << rb->resval.rint;
            break;
        case khost::RbKind::Long:
            s << rb->resval.rlong;
            break;
        case khost::RbKind::Name: {
            AcDbObjectId id;
            acdbGetObjectId(id, rb->resval.rlname);
            s << "#" << std::hex << id.handle().value() << std::dec;
            break;
        }
        default:
            s << "?";
        }
        s << ";";
    }
    return s.str();
}

std::wstring layerName(AcDbObjectId id) {
    AcDbLayerTableRecord* l = nullptr;
    if (acdbOpenObject(l, id, AcDb::kForRead) != Acad::eOk)
        return L"";
    std::wstring name = l->name();
    l->close();
    return name;
}

AcDbObjectId idOf(AcDbDatabase* db, std::uint64_t handle) {
    AcDbObjectId id;
    db->getAcDbObjectId(id, false, AcDbHandle(handle));
    return id;
}

} // namespace

// ---------------------------------------------------------------------------------------------

TEST(DxfRoundTrip, DrawingBuiltThroughTheInterfaceKeepsHandlesAndValues) {
    TempDir dir;
    Built b = buildDrawing();
    std::wstring error;
    ASSERT_TRUE(khost::writeDrawing(b.db, wpath(dir / "a.dxf"), error)) << toUtf8(error);
    std::string first = readText(dir / "a.dxf");

    AcDbDatabase* db = khost::readDrawing(wpath(dir / "a.dxf"), error);
    ASSERT_NE(db, nullptr) << toUtf8(error);

    // The same handles reach the same objects.
    AcDbObjectId layer = idOf(db, b.layer.handle()), line = idOf(db, b.line.handle());
    AcDbObjectId linetype = idOf(db, b.linetype.handle()), xrec = idOf(db, b.xrecord.handle());
    EXPECT_EQ(layerName(layer), L"Potrubí-vodovod");
    EXPECT_EQ(layerName(idOf(db, b.layerOff.handle())), L"Vypnutá");
    {
        AcDbLayerTableRecord* l = nullptr;
        ASSERT_EQ(acdbOpenObject(l, layer, AcDb::kForRead), Acad::eOk);
        EXPECT_EQ(l->color().colorIndex(), 1);
        EXPECT_EQ(l->linetypeObjectId(), linetype);
        EXPECT_EQ(l->lineWeight(), AcDb::kLnWt050);
        AcString d;
        l->description(d);
        EXPECT_STREQ(d.constPtr(), L"Vodovodní potrubí");
        l->close();
        ASSERT_EQ(acdbOpenObject(l, idOf(db, b.layerOff.handle()), AcDb::kForRead), Acad::eOk);
        EXPECT_TRUE(l->isOff());
        EXPECT_EQ(l->color().colorIndex(), 3);
        l->close();
    }
    {
        AcDbLinetypeTableRecord* lt = nullptr;
        ASSERT_EQ(acdbOpenObject(lt, linetype, AcDb::kForRead), Acad::eOk);
        EXPECT_STREQ(lt->name(), L"ČÁRKOVANÁ");
        ASSERT_EQ(lt->numDashes(), 2);
        EXPECT_EQ(lt->dashLengthAt(0), 12.5);
        EXPECT_EQ(lt->dashLengthAt(1), -6.25);
        EXPECT_EQ(lt->patternLength(), 18.75);
        lt->close();
    }
    {
        AcDbLine* l = nullptr;
        ASSERT_EQ(acdbOpenObject(l, line, AcDb::kForRead), Acad::eOk);
        EXPECT_EQ(l->startPoint().x, 0.1);
        EXPECT_EQ(l->startPoint().y, 0.2);
        EXPECT_EQ(l->endPoint().x, 1000.0 / 3.0); // reals come back bit for bit
        EXPECT_EQ(l->endPoint().z, 7.0);
        EXPECT_EQ(l->layerId(), layer);
        EXPECT_EQ(l->colorIndex(), 3);
        EXPECT_EQ(l->linetypeScale(), 2.5);
        EXPECT_EQ(l->lineWeight(), AcDb::kLnWt035);
        EXPECT_EQ(l->ownerId(), idOf(db, b.db->currentSpaceId().handle()));
        EXPECT_EQ(l->extensionDictionary(), idOf(db, b.xdict.handle()));
        resbuf* x = l->xData();
        resbuf* want = lineXData();
        EXPECT_EQ(describe(x), describe(want));
        acutRelRb(x);
        acutRelRb(want);
        l->close();
    }
    {
        AcDbXrecord* x = nullptr;
        ASSERT_EQ(acdbOpenObject(x, xrec, AcDb::kForRead), Acad::eOk);
        resbuf* data = nullptr;
        x->rbChain(&data);
        resbuf* want = xrecordData(b.layer);
        std::string wantText = describe(want);
        EXPECT_EQ(describe(data), wantText); // the reference to the layer keeps its handle
        acutRelRb(data);
        acutRelRb(want);
        EXPECT_EQ(x->ownerId(), idOf(db, b.xdict.handle()));
        x->close();
    }
    EXPECT_EQ(db->handseed(), b.db->handseed());

    // Written again, the file is the same but for the time of the save.
    ASSERT_TRUE(khost::writeDrawing(db, wpath(dir / "b.dxf"), error)) << toUtf8(error);
    EXPECT_EQ(withoutSaveDates(readText(dir / "b.dxf")), withoutSaveDates(first));
    EXPECT_EQ(khost::openObjectCount(), 0);
    delete db;
    delete b.db;
}

TEST(DxfRoundTrip, UnknownRecordsGroupsAndVariablesAreKept) {
    // A file with what the database does not model: an entity kind of another application with
    // 2D points, an object kind with a class definition, extended data of an application without
    // an APPID record, a header variable, a comment.
    std::string text = R"(999
written by hand
  0
SECTION
  2
HEADER
  9
$ACADVER
  1
AC1027
  9
$HANDSEED
  5
200
  9
$KRESBONTEST
 10
1.5
 20
2.5
  9
$LIMMAX
 10
841.0
 20
594.0
  0
ENDSEC
  0
SECTION
  2
CLASSES
  0
CLASS
  1
WIDGETSTYLE
  2
XyzWidgetStyle
  3
Xyz Widgets
 90
1
 91
1
280
0
281
0
  0
ENDSEC
  0
SECTION
  2
TABLES
  0
TABLE
  2
LAYER
  5
2
330
0
100
AcDbSymbolTable
 70
1
  0
LAYER
  5
10
330
2
100
AcDbSymbolTableRecord
100
AcDbLayerTableRecord
  2
0
 70
0
 62
7
  6
Continuous
  0
ENDTAB
  0
TABLE
  2
LTYPE
  5
5
330
0
100
AcDbSymbolTable
 70
1
  0
LTYPE
  5
14
330
5
100
AcDbSymbolTableRecord
100
AcDbLinetypeTableRecord
  2
Continuous
 70
0
  3
Solid line
 72
65
 73
0
 40
0.0
  0
ENDTAB
  0
TABLE
  2
BLOCK_RECORD
  5
1
330
0
100
AcDbSymbolTable
 70
1
  0
BLOCK_RECORD
  5
1F
330
1
100
AcDbSymbolTableRecord
100
AcDbBlockTableRecord
  2
*Model_Space
340
0
  0
ENDTAB
  0
ENDSEC
  0
SECTION
  2
BLOCKS
  0
BLOCK
  5
20
330
1F
100
AcDbEntity
  8
0
100
AcDbBlockBegin
  2
*Model_Space
 70
0
 10
0.0
 20
0.0
 30
0.0
  3
*Model_Space
  1

  0
ENDBLK
  5
21
330
1F
100
AcDbEntity
  8
0
100
AcDbBlockEnd
  0
ENDSEC
  0
SECTION
  2
ENTITIES
  0
WIDGET
  5
A0
330
1F
100
AcDbEntity
  8
0
 62
5
100
XyzWidget
 90
3
 10
1.0
 20
2.0
 10
3.0
 20
4.0
 42
0.5
 10
5.0
 20
6.0
 30
7.0
310
00FF10AB
1001
XYZAPP
1000
Žádná značka
1070
12
  0
LINE
  5
A1
330
1F
100
AcDbEntity
  8
0
100
AcDbLine
 10
0.0
 20
0.0
 30
0.0
 11
1.0
 21
1.0
 31
0.0
1001
XYZAPP
1040
0.25
  0
ENDSEC
  0
SECTION
  2
OBJECTS
  0
DICTIONARY
  5
C
330
0
100
AcDbDictionary
281
1
  3
XYZ_WIDGET_STYLES
350
D
  0
DICTIONARY
  5
D
330
C
100
AcDbDictionary
281
1
  3
Základní
350
B0
  0
WIDGETSTYLE
  5
B0
102
{ACAD_REACTORS
330
D
102
}
330
D
100
XyzWidgetStyle
  1
Základní
 40
2.5
  0
ENDSEC
  0
EOF
)";
    TempDir dir;
    writeText(dir / "in.dxf", text);
    std::wstring error;
    AcDbDatabase* db = khost::readDrawing(wpath(dir / "in.dxf"), error);
    ASSERT_NE(db, nullptr) << toUtf8(error);
    ASSERT_TRUE(khost::writeDrawing(db, wpath(dir / "out.dxf"), error)) << toUtf8(error);
    delete db;
    std::string out = readText(dir / "out.dxf");
    writeText("/tmp/dxfw/unknown-out.dxf", out);
    auto has = [&](const std::string& piece) {
        EXPECT_NE(out.find(piece), std::string::npos) << piece;
    };
    // The entity kind, with its 2D points still 2D, its 3D point 3D, and its binary data.
    has("  0\nWIDGET\n  5\nA0\n330\n1F\n100\nAcDbEntity\n  8\n0\n 62\n5\n100\nXyzWidget\n 90\n3\n"
        " 10\n1.0\n 20\n2.0\n 10\n3.0\n 20\n4.0\n 42\n0.5\n 10\n5.0\n 20\n6.0\n 30\n7.0\n"
        "310\n00FF10AB\n1001\nXYZAPP\n1000\nŽádná značka\n1070\n12\n");
    has("  0\nLINE\n  5\nA1\n");
    has("1001\nXYZAPP\n1040\n0.25\n");
    has("  0\nAPPID\n"); // the application got its record
    has("XYZAPP\n");
    // The object kind with its reactors and its class definition.
    has("  0\nWIDGETSTYLE\n  5\nB0\n102\n{ACAD_REACTORS\n330\nD\n102\n}\n330\nD\n100\n"
        "XyzWidgetStyle\n  1\nZákladní\n 40\n2.5\n");
    has("  0\nCLASS\n  1\nWIDGETSTYLE\n  2\nXyzWidgetStyle\n  3\nXyz Widgets\n 90\n1\n 91\n1\n");
    has("  3\nZákladní\n350\nB0\n");
    // The variables: unknown kept, a known one with the file's value, the handle seed.
    has("  9\n$KRESBONTEST\n 10\n1.5\n 20\n2.5\n");
    has("  9\n$LIMMAX\n 10\n841.0\n 20\n594.0\n  9\n");
    has("  9\n$HANDSEED\n  5\n");
    EXPECT_EQ(out.find("written by hand"), std::string::npos);
    if (!haveEzdxf())
        GTEST_SKIP() << "python3-ezdxf is not installed";
    EXPECT_EQ(ezdxfAudit(dir, dir / "out.dxf"), "");
}

// ---------------------------------------------------------------------------------------------

TEST(DxfSave, FailedSaveLeavesTheOldFile) {
    TempDir dir;
    Built b = buildDrawing();
    std::wstring error;

    // A folder that does not exist.
    EXPECT_FALSE(khost::writeDrawing(b.db, wpath(dir / "missing" / "x.dxf"), error));
    EXPECT_NE(toUtf8(error).find("missing/x.dxf"), std::string::npos) << toUtf8(error);
    EXPECT_EQ(error.find(L'\n'), std::wstring::npos);

    // A target that is a folder: it stays, and no temporary file is left beside it.
    fs::create_directory(dir / "folder.dxf");
    error.clear();
    EXPECT_FALSE(khost::writeDrawing(b.db, wpath(dir / "folder.dxf"), error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_directory(dir / "folder.dxf"));

    // An old drawing and a save that fails (a database without tables): the old file stays
    // as it was.
    writeText(dir / "old.dxf", "old contents\n");
    AcDbDatabase empty(false, false);
    error.clear();
    EXPECT_FALSE(khost::writeDrawing(&empty, wpath(dir / "old.dxf"), error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(readText(dir / "old.dxf"), "old contents\n");

    // In a folder that cannot be written to, the old file stays too.
    if (geteuid() != 0) {
        fs::create_directory(dir / "ro");
        writeText(dir / "ro" / "old.dxf", "old contents\n");
        fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(khost::writeDrawing(b.db, wpath(dir / "ro" / "old.dxf"), error));
        EXPECT_EQ(readText(dir / "ro" / "old.dxf"), "old contents\n");
        fs::permissions(dir / "ro", fs::perms::owner_all);
    }

    // A good save replaces the old file whole, and "X.dwg" means "X.dxf".
    ASSERT_TRUE(khost::writeDrawing(b.db, wpath(dir / "old.dwg"), error)) << toUtf8(error);
    EXPECT_EQ(readText(dir / "old.dxf").substr(0, 18), "  0\nSECTION\n  2\nHE");
    EXPECT_FALSE(fs::exists(dir / "old.dwg"));
    size_t files = 0;
    for (auto& e : fs::directory_iterator(dir.path()))
        files += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1u); // no temporary files left behind
    AcDbDatabase* back = khost::readDrawing(wpath(dir / "old.dwg"), error);
    ASSERT_NE(back, nullptr) << toUtf8(error);
    const ACHAR* name = nullptr;
    back->getFilename(name);
    EXPECT_EQ(std::wstring(name), wpath(dir / "old.dwg"));
    delete back;

    // The database's own interface reaches the same reader and writer.
    EXPECT_EQ(b.db->saveAs(wpath(dir / "via-db.dxf").c_str()), Acad::eOk);
    AcDbDatabase side(false, true);
    EXPECT_EQ(side.readDwgFile(wpath(dir / "via-db.dxf").c_str()), Acad::eOk);
    EXPECT_EQ(layerName(idOf(&side, b.layer.handle())), L"Potrubí-vodovod");
    AcDbDatabase full(true, false);
    EXPECT_NE(full.readDwgFile(wpath(dir / "via-db.dxf").c_str()), Acad::eOk);
    EXPECT_EQ(side.readDwgFile(wpath(dir / "nothing.dxf").c_str()), Acad::eFileNotFound);
    delete b.db;
}

TEST(DxfRead, BadInputGivesOneLineErrorAndNoDrawing) {
    TempDir dir;
    Built b = buildDrawing();
    std::wstring error;
    ASSERT_TRUE(khost::writeDrawing(b.db, wpath(dir / "good.dxf"), error));
    delete b.db;
    std::string good = readText(dir / "good.dxf");
    // The line of the first group of the first LINE entity.
    size_t at = good.find("  0\nLINE\n");
    ASSERT_NE(at, std::string::npos);
    int lineOfLine = 1 + static_cast<int>(std::count(good.begin(), good.begin() + at, '\n'));

    struct Case {
        const char* what;
        std::string text;
        std::string expect; // a piece of the message
    };
    std::string badCoordinate = good;
    size_t p = badCoordinate.find(" 10\n", at);
    badCoordinate.replace(p + 4, 3, "abc");
    int lineOfCoordinate = 1 + static_cast<int>(std::count(good.begin(), good.begin() + p, '\n'));
    std::string badCode = good;
    badCode.replace(at, 3, " x0");
    const Case cases[] = {
        {"truncated", good.substr(0, good.find("\n  0\n", good.size() / 2) + 1), "truncated"},
        {"odd line count", good.substr(0, at + 4), "has no value"},
        {"code that is no number", badCode,
         "line " + std::to_string(lineOfLine) + ": a group code was expected"},
        {"value that is no number", badCoordinate,
         "line " + std::to_string(lineOfCoordinate) + ": a coordinate was expected, found \"abc\""},
        {"entity outside a section", "  0\nLINE\n  8\n0\n" + good.substr(0, good.size()),
         "line 1: LINE outside of a section"},
        {"empty file", "", "line 1:"},
        {"no model space",
         "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1027\n  0\nENDSEC\n"
         "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nBLOCK_RECORD\n  5\n1\n330\n0\n  0\nENDTAB\n"
         "  0\nENDSEC\n  0\nSECTION\n  2\nOBJECTS\n  0\nDICTIONARY\n  5\nC\n330\n0\n"
         "100\nAcDbDictionary\n  0\nENDSEC\n  0\nEOF\n",
         "line 1: the drawing has no block table, model space or named object dictionary"},
        {"handle used twice", good.substr(0, good.find("  0\n", at + 4)) + good.substr(at),
         "is used twice"},
    };
    for (const Case& c : cases) {
        writeText(dir / "bad.dxf", c.text);
        error.clear();
        AcDbDatabase* db = khost::readDrawing(wpath(dir / "bad.dxf"), error);
        EXPECT_EQ(db, nullptr) << c.what;
        delete db;
        std::string e = toUtf8(error);
        EXPECT_NE(e.find(c.expect), std::string::npos) << c.what << ": " << e;
        EXPECT_NE(e.find("bad.dxf"), std::string::npos) << c.what << ": " << e;
        EXPECT_EQ(e.find('\n'), std::string::npos) << c.what << ": " << e;
    }
    EXPECT_EQ(khost::openObjectCount(), 0);
    error.clear();
    EXPECT_EQ(khost::readDrawing(wpath(dir / "none.dwg"), error), nullptr);
    EXPECT_NE(toUtf8(error).find("none.dxf"), std::string::npos) << toUtf8(error);
}

// ---------------------------------------------------------------------------------------------

TEST(DxfEzdxf, WhatTheHostWritesLoadsAndAudits) {
    if (!haveEzdxf())
        GTEST_SKIP() << "python3-ezdxf is not installed";
    TempDir dir;
    std::wstring error;
    AcDbDatabase fresh(true, false);
    ASSERT_TRUE(khost::writeDrawing(&fresh, wpath(dir / "new.dxf"), error)) << toUtf8(error);
    EXPECT_EQ(ezdxfAudit(dir, dir / "new.dxf"), "");
    Built b = buildDrawing();
    ASSERT_TRUE(khost::writeDrawing(b.db, wpath(dir / "built.dxf"), error)) << toUtf8(error);
    EXPECT_EQ(ezdxfAudit(dir, dir / "built.dxf"), "");
    // What ezdxf reads back: the layer, the line and its data under the handles the host gave.
    std::ostringstream args;
    args << (dir / "built.dxf").string() << " " << std::hex << b.line.handle().value();
    std::string seen = python(dir, R"(import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
line = doc.entitydb[sys.argv[2].upper()]
print(doc.dxfversion, doc.header["$INSUNITS"], doc.header["$MEASUREMENT"])
print(line.dxftype(), line.dxf.layer, line.dxf.color, line.dxf.lineweight, line.dxf.ltscale)
print(line.dxf.end)
print(line.get_xdata("KRESBON"))
xdict = line.get_extension_dict()
print(xdict["KRESBON_DATA"].dxftype(), list(xdict["KRESBON_DATA"].tags)[0])
print(doc.layers.get("Potrubí-vodovod").dxf.linetype, doc.layers.get("Vypnutá").is_off())
)",
                              args.str());
    // ezdxf does not undo the caret escapes of control characters and carets ("^ " for "^").
    EXPECT_EQ(seen, "AC1027 4 1\n"
                    "LINE Potrubí-vodovod 3 35 2.5\n"
                    "(333.3333333333333, -50.5, 7.0)\n"
                    "[DXFTag(1000, 'řetězec ^  s ^ J stříškou'), DXFTag(1070, 42), "
                    "DXFTag(1071, 123456789), DXFTag(1040, 2.5), DXFTag(1002, '{'), "
                    "DXFTag(1000, 'vnořeno'), DXFTag(1002, '}'), "
                    "DXFVertex(1010, (1.5, -2.25, 1e-09))]\n"
                    "XRECORD (1, 'hodnota žluťoučká')\n"
                    "ČÁRKOVANÁ True\n");
    delete b.db;
}

TEST(DxfEzdxf, FilesOfAnotherWriterRoundTrip) {
    if (!haveEzdxf())
        GTEST_SKIP() << "python3-ezdxf is not installed";
    TempDir dir;
    // An R2013 drawing and an R2000 one in Windows-1250 with Czech names and texts, written by
    // ezdxf with entity kinds the host keeps raw.
    std::string gen = python(dir, R"(import sys, ezdxf
for version, name, encoding in (("R2013", "a2013.dxf", None), ("R2000", "a2000.dxf", "cp1250")):
    doc = ezdxf.new(version, setup=True)
    if encoding:
        doc.encoding = encoding
    doc.appids.new("KRESBON")
    doc.layers.add("Čáry-žluté", color=2)
    msp = doc.modelspace()
    for i in range(3):
        msp.add_line((i, 0), (i + 10.5, 5.25, 1), dxfattribs={"layer": "Čáry-žluté"})
    msp.add_text("Příliš žluťoučký kůň", dxfattribs={"layer": "Čáry-žluté", "height": 2.5})
    msp.add_mtext("Úpěl\\Pďábelské ódy", dxfattribs={"char_height": 3})
    msp.add_lwpolyline([(0, 0), (10, 0, 0, 0, 0.5), (10, 10)], dxfattribs={"closed": True})
    msp.add_circle((5, 5), 2.5).set_xdata("KRESBON", [(1000, "kruh č. 1"), (1070, 7)])
    blk = doc.blocks.new("ZNAČKA")
    blk.add_circle((0, 0), 1)
    blk.add_attdef("ČÍSLO", (0, -2), dxfattribs={"height": 1})
    ref = msp.add_blockref("ZNAČKA", (20, 20))
    ref.add_auto_attribs({"ČÍSLO": "42"})
    msp.add_polyline3d([(0, 0, 0), (1, 2, 3), (4, 5, 6)])
    doc.layouts.new("Výkres A3").add_line((0, 0), (420, 297))
    doc.saveas(sys.argv[1] + "/" + name)
)",
                             dir.path().string());
    ASSERT_TRUE(fs::exists(dir / "a2013.dxf")) << gen;
    ASSERT_TRUE(fs::exists(dir / "a2000.dxf")) << gen;

    const char* dump = R"(import sys, ezdxf
def dump(path):
    doc = ezdxf.readfile(path)
    out = [doc.header["$DWGCODEPAGE"]]
    out += sorted(l.dxf.name for l in doc.layers)
    for name in sorted(doc.layouts.names()):
        layout = doc.layouts.get(name)
        out.append("layout " + layout.name)
        for e in layout:
            attribs = {k: v for k, v in e.dxfattribs().items() if k not in ("owner",)}
            out.append(f"{e.dxftype()} {sorted(attribs.items())} {e.get_xdata('KRESBON') if e.has_xdata('KRESBON') else ''}")
            if e.dxftype() == "MTEXT":
                out.append("  " + e.text)
            if e.dxftype() == "LWPOLYLINE":
                out.append(f"  {list(e.get_points())}")
            if e.dxftype() == "INSERT":
                out += [f"  ATTRIB {a.dxf.handle} {a.dxf.tag} {a.dxf.text}" for a in e.attribs]
            if e.dxftype() == "POLYLINE":
                out += [f"  VERTEX {v.dxf.handle} {v.dxf.location}" for v in e.vertices]
    for b in doc.blocks:
        out.append("block " + b.name + " " + b.block.dxf.handle + " " + str([e.dxf.handle for e in b]))
    return out
a, b = dump(sys.argv[1]), dump(sys.argv[2])
for x, y in zip(a, b):
    if x != y:
        print("was:", x)
        print("now:", y)
if len(a) != len(b):
    print("lengths", len(a), len(b))
print("lines", sum(1 for x in a if x.startswith("LINE")))
)";
    for (const char* name : {"a2013.dxf", "a2000.dxf"}) {
        SCOPED_TRACE(name);
        std::wstring error;
        AcDbDatabase* db = khost::readDrawing(wpath(dir / name), error);
        ASSERT_NE(db, nullptr) << toUtf8(error);
        // The layer with the Czech name is there, and the lines with their handles are lines.
        AcDbLayerTable* lt = nullptr;
        ASSERT_EQ(db->getLayerTable(lt), Acad::eOk);
        EXPECT_TRUE(lt->has(L"Čáry-žluté"));
        lt->close();
        AcDbBlockTableRecord* ms = nullptr;
        ASSERT_EQ(acdbOpenObject(ms, khost::roleId(db, khost::DbRole::ModelSpace)), Acad::eOk);
        int lines = 0;
        for (AcDbObjectId id : ms->entityIds()) {
            AcDbLine* line = nullptr;
            if (acdbOpenObject(line, id, AcDb::kForRead) != Acad::eOk)
                continue;
            ++lines;
            EXPECT_EQ(line->endPoint().x - line->startPoint().x, 10.5);
            EXPECT_EQ(layerName(line->layerId()), L"Čáry-žluté");
            line->close();
        }
        ms->close();
        EXPECT_EQ(lines, 3);
        std::string out = (dir / (std::string("out-") + name)).string();
        ASSERT_TRUE(khost::writeDrawing(db, fromUtf8(out), error)) << toUtf8(error);
        delete db;
        EXPECT_EQ(ezdxfAudit(dir, out), "");
        std::string diff = python(dir, dump, (dir / name).string() + " " + out);
        EXPECT_EQ(diff, "lines 4\n");
    }
}

TEST(DxfRead, R12WithoutHandlesMergesIntoANewDrawing) {
    // R12 in Windows-1250: no owners, no subclass markers, no block records, handles on some
    // entities only (they are not kept: the drawing is merged into a new one).
    std::string text =
        "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n"
        "  9\n$DWGCODEPAGE\n  3\nANSI_1250\n  9\n$CLAYER\n  8\n\xC8\xC1RY\n"
        "  9\n$LTSCALE\n 40\n2.0\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nTABLES\n"
        "  0\nTABLE\n  2\nLTYPE\n 70\n2\n"
        "  0\nLTYPE\n  2\nCONTINUOUS\n 70\n0\n  3\nSolid line\n 72\n65\n 73\n0\n"
        " 40\n0.0\n"
        "  0\nLTYPE\n  2\nDASHED\n 70\n0\n  3\n__ __\n 72\n65\n 73\n2\n 40\n0.75\n"
        " 49\n0.5\n 49\n-0.25\n  0\nENDTAB\n"
        "  0\nTABLE\n  2\nLAYER\n 70\n2\n"
        "  0\nLAYER\n  2\n0\n 70\n0\n 62\n7\n  6\nCONTINUOUS\n"
        "  0\nLAYER\n  2\n\xC8\xC1RY\n 70\n0\n 62\n1\n  6\nDASHED\n  0\nENDTAB\n"
        "  0\nENDSEC\n"
        "  0\nSECTION\n  2\nBLOCKS\n"
        "  0\nBLOCK\n  8\n0\n  2\n$MODEL_SPACE\n 70\n0\n 10\n0.0\n 20\n0.0\n"
        " 30\n0.0\n  3\n$MODEL_SPACE\n  1\n\n  0\nENDBLK\n  8\n0\n"
        "  0\nBLOCK\n  8\n0\n  2\nZNA\xC8KA\n 70\n2\n 10\n1.0\n 20\n2.0\n 30\n0.0\n"
        "  3\nZNA\xC8KA\n  1\n\n"
        "  0\nLINE\n  8\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 11\n1.0\n 21\n1.0\n"
        " 31\n0.0\n"
        "  0\nATTDEF\n  8\n0\n 10\n0.0\n 20\n-2.0\n 30\n0.0\n 40\n1.0\n  1\n\n"
        "  3\n\xC8\xEDslo?\n  2\n\xC8\xCDSLO\n 70\n0\n"
        "  0\nENDBLK\n  8\n0\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nENTITIES\n"
        "  0\nLINE\n  5\n1B\n  8\n\xC8\xC1RY\n 10\n0.5\n 20\n1.5\n 11\n10.5\n 21\n11.5\n"
        "  0\nINSERT\n  8\n0\n 66\n1\n  2\nZNA\xC8KA\n 10\n20.0\n 20\n20.0\n"
        " 30\n0.0\n"
        "  0\nATTRIB\n  8\n0\n 10\n20.0\n 20\n18.0\n 30\n0.0\n 40\n1.0\n"
        "  1\n7\n  2\n\xC8\xCDSLO\n 70\n0\n"
        "  0\nSEQEND\n  8\n0\n"
        "  0\nPOLYLINE\n  8\n0\n 66\n1\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 70\n8\n"
        "  0\nVERTEX\n  8\n0\n 10\n1.0\n 20\n2.0\n 30\n3.0\n 70\n32\n"
        "  0\nVERTEX\n  8\n0\n 10\n4.0\n 20\n5.0\n 30\n6.0\n 70\n32\n"
        "  0\nSEQEND\n  8\n0\n"
        "  0\nLINE\n 67\n1\n  8\n0\n 10\n0.0\n 20\n0.0\n 11\n420.0\n 21\n297.0\n"
        "  0\nENDSEC\n  0\nEOF\n";
    TempDir dir;
    writeText(dir / "r12.dxf", text);
    std::wstring error;
    AcDbDatabase* db = khost::readDrawing(wpath(dir / "r12.dxf"), error);
    ASSERT_NE(db, nullptr) << toUtf8(error);
    EXPECT_EQ(layerName(db->clayer()), L"ČÁRY");
    EXPECT_EQ(db->ltscale(), 2.0);
    {
        AcDbLayerTableRecord* layer = nullptr;
        AcDbLayerTable* layers = nullptr;
        ASSERT_EQ(db->getLayerTable(layers), Acad::eOk);
        ASSERT_EQ(layers->getAt(L"Čáry", layer, AcDb::kForRead), Acad::eOk);
        layers->close();
        EXPECT_EQ(layer->color().colorIndex(), 1);
        AcDbLinetypeTableRecord* lt = nullptr;
        ASSERT_EQ(acdbOpenObject(lt, layer->linetypeObjectId()), Acad::eOk);
        EXPECT_STREQ(lt->name(), L"DASHED");
        EXPECT_EQ(lt->numDashes(), 2);
        lt->close();
        layer->close();
    }
    auto entities = [&](AcDbObjectId block) {
        std::vector<std::wstring> names;
        AcDbBlockTableRecord* btr = nullptr;
        EXPECT_EQ(acdbOpenObject(btr, block), Acad::eOk);
        if (!btr)
            return names;
        for (AcDbObjectId id : btr->entityIds())
            names.push_back(khostDxfName(khost::peekObject(id)));
        btr->close();
        return names;
    };
    AcDbObjectId model = khost::roleId(db, khost::DbRole::ModelSpace);
    EXPECT_EQ(entities(model), (std::vector<std::wstring>{L"LINE", L"INSERT", L"POLYLINE"}));
    EXPECT_EQ(entities(khost::roleId(db, khost::DbRole::PaperSpace)),
              (std::vector<std::wstring>{L"LINE"}));
    {
        AcDbBlockTableRecord* ms = nullptr;
        ASSERT_EQ(acdbOpenObject(ms, model), Acad::eOk);
        AcDbLine* line = nullptr;
        ASSERT_EQ(acdbOpenObject(line, ms->entityIds()[0]), Acad::eOk);
        ms->close();
        EXPECT_EQ(line->startPoint().x, 0.5);
        EXPECT_EQ(line->endPoint().y, 11.5);
        EXPECT_EQ(layerName(line->layerId()), L"ČÁRY");
        line->close();
    }
    AcDbBlockTable* bt = nullptr;
    ASSERT_EQ(db->getBlockTable(bt), Acad::eOk);
    AcDbObjectId mark;
    EXPECT_EQ(bt->getAt(L"ZNAČKA", mark), Acad::eOk);
    bt->close();
    EXPECT_EQ(entities(mark), (std::vector<std::wstring>{L"LINE", L"ATTDEF"}));

    ASSERT_TRUE(khost::writeDrawing(db, wpath(dir / "out.dxf"), error)) << toUtf8(error);
    delete db;
    EXPECT_EQ(khost::openObjectCount(), 0);
    if (!haveEzdxf())
        GTEST_SKIP() << "python3-ezdxf is not installed";
    EXPECT_EQ(ezdxfAudit(dir, dir / "out.dxf"), "");
    std::string seen = python(dir, R"(import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
msp = doc.modelspace()
print([e.dxftype() for e in msp], [e.dxftype() for e in doc.layout("Layout1")])
ref = msp.query("INSERT")[0]
print(ref.dxf.name, [(a.dxf.tag, a.dxf.text) for a in ref.attribs])
print([tuple(v.dxf.location) for v in msp.query("POLYLINE")[0].vertices])
print(doc.layers.get("ČÁRY").dxf.linetype, doc.header["$CLAYER"])
)",
                              (dir / "out.dxf").string());
    EXPECT_EQ(seen, "['LINE', 'INSERT', 'POLYLINE'] ['LINE']\n"
                    "ZNAČKA [('ČÍSLO', '7')]\n"
                    "[(1.0, 2.0, 3.0), (4.0, 5.0, 6.0)]\n"
                    "DASHED ČÁRY\n");
}

TEST(DxfRoundTrip, ErasedObjectsAndWhatTheyOwnAreLeftOut) {
    TempDir dir;
    Built b = buildDrawing();
    AcDbEntity* line = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(line, b.line, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(line->erase(), Acad::eOk);
    line->close();
    std::wstring error;
    ASSERT_TRUE(khost::writeDrawing(b.db, wpath(dir / "e.dxf"), error)) << toUtf8(error);
    std::string text = readText(dir / "e.dxf");
    auto handleGroup = [](AcDbObjectId id) {
        std::ostringstream s;
        s << "\n  5\n" << std::hex << std::uppercase << id.handle().value() << "\n";
        return s.str();
    };
    EXPECT_EQ(text.find(handleGroup(b.line)), std::string::npos);
    EXPECT_EQ(text.find(handleGroup(b.xdict)), std::string::npos);
    EXPECT_EQ(text.find(handleGroup(b.xrecord)), std::string::npos);
    EXPECT_NE(text.find(handleGroup(b.layer)), std::string::npos);
    AcDbDatabase* back = khost::readDrawing(wpath(dir / "e.dxf"), error);
    ASSERT_NE(back, nullptr) << toUtf8(error);
    EXPECT_TRUE(idOf(back, b.line.handle()).isNull());
    delete back;
    delete b.db;
    if (!haveEzdxf())
        GTEST_SKIP() << "python3-ezdxf is not installed";
    EXPECT_EQ(ezdxfAudit(dir, dir / "e.dxf"), "");
}

TEST(DxfEzdxf, R12AndDrawingsWithHatchesImagesGroupsAndCustomObjectsRoundTrip) {
    if (!haveEzdxf())
        GTEST_SKIP() << "python3-ezdxf is not installed";
    TempDir dir;
    std::string gen = python(dir, R"(import sys, ezdxf
path = sys.argv[1]
doc = ezdxf.new("R12")
doc.encoding = "cp1250"
doc.layers.add("Vodovod-ČÁRY", color=5)
msp = doc.modelspace()
msp.add_line((0, 0), (10, 0), dxfattribs={"layer": "Vodovod-ČÁRY"})
msp.add_text("Šoupě DN 80", dxfattribs={"layer": "Vodovod-ČÁRY", "height": 2.5})
msp.add_polyline2d([(0, 0), (5, 5), (10, 0)])
msp.add_polyline3d([(0, 0, 0), (1, 2, 3), (4, 5, 6)])
blk = doc.blocks.new("ZNAČKA")
blk.add_circle((0, 0), 1)
blk.add_attdef("ČÍSLO", (0, -2), dxfattribs={"height": 1})
msp.add_blockref("ZNAČKA", (20, 20)).add_auto_attribs({"ČÍSLO": "42"})
doc.saveas(path + "/r12.dxf")

doc = ezdxf.new("R2013", setup=True)
msp = doc.modelspace()
h = msp.add_hatch(color=3)
h.paths.add_polyline_path([(0, 0), (10, 0), (10, 10), (0, 10)], is_closed=True)
h.set_pattern_fill("ANSI31", scale=0.5)
msp.add_hatch(color=1).paths.add_polyline_path([(20, 0), (30, 0), (25, 8)], is_closed=True)
image = doc.add_image_def(filename="podklad.png", size_in_pixel=(640, 480))
msp.add_image(image, insert=(0, 20), size_in_units=(6.4, 4.8))
group = doc.groups.new("SKUPINA_Ř")
group.extend([msp.add_line((0, 0), (1, 1)), msp.add_circle((2, 2), 1)])
doc.groups.new("PRVNÍ", description="popis").extend([msp.add_point((5, 5))])
doc.rootdict.add_xrecord("KRESBON_DATA").reset([(1, "hodnota č. 1"), (40, 2.5), (70, 7)])
doc.rootdict.add_dict_var("KV_PROM", "výška")
doc.saveas(path + "/r2013.dxf")
)",
                             dir.path().string());
    ASSERT_TRUE(fs::exists(dir / "r12.dxf")) << gen;
    ASSERT_TRUE(fs::exists(dir / "r2013.dxf")) << gen;
    // What ezdxf sees of the original must be seen the same in the copy (values the host adds
    // to an object, its defaults, do not count).
    const char* dump = R"(import sys, ezdxf
def attribs(e):
    return {k: str(v) for k, v in e.dxfattribs().items() if k != "owner"}
def dump(path, objects):
    doc = ezdxf.readfile(path)
    out = {"layers": sorted((l.dxf.name, l.dxf.color) for l in doc.layers)}
    for name in doc.layouts.names():
        for e in doc.layouts.get(name):
            out[e.dxf.handle] = (e.dxftype(), attribs(e))
            if e.dxftype() == "HATCH":
                out[e.dxf.handle + " paths"] = str([list(p.vertices) for p in e.paths])
                if e.pattern:
                    out[e.dxf.handle + " pattern"] = str([(l.angle, l.base_point, l.offset, l.dash_length_items) for l in e.pattern.lines])
            if e.dxftype() == "INSERT":
                for a in e.attribs:
                    out[a.dxf.handle] = (a.dxf.tag, a.dxf.text, str(a.dxf.insert))
            if e.dxftype() == "POLYLINE":
                for v in e.vertices:
                    out[v.dxf.handle] = (str(v.dxf.location), v.dxf.flags)
    for b in doc.blocks:
        out["block " + b.name] = (b.block.dxf.handle, [e.dxf.handle for e in b])
    if objects:
        for o in doc.objects:
            out[o.dxf.handle] = (o.dxftype(), attribs(o))
            if o.dxftype() == "XRECORD":
                out[o.dxf.handle + " tags"] = str(list(o.tags))
            if o.dxftype() == "DICTIONARY":
                out[o.dxf.handle + " keys"] = str(sorted(o.keys()))
        for g in doc.groups.groups():
            out["group " + g.dxf.handle] = ([e.dxf.handle for e in g], g.dxf.description)
    return out
objects = sys.argv[3] == "1"
a, b = dump(sys.argv[1], objects), dump(sys.argv[2], objects)
for key, was in a.items():
    now = b.get(key)
    if isinstance(was, tuple) and len(was) == 2 and isinstance(was[1], dict) and now:
        now = (now[0], {k: v for k, v in now[1].items() if k in was[1]})
    if was != now:
        print("was:", key, was)
        print("now:", key, now)
print("compared", len(a))
)";
    for (const char* name : {"r12.dxf", "r2013.dxf"}) {
        SCOPED_TRACE(name);
        std::wstring error;
        AcDbDatabase* db = khost::readDrawing(wpath(dir / name), error);
        ASSERT_NE(db, nullptr) << toUtf8(error);
        // Polylines come back as the classes their flags call for.
        int polylines2d = 0, polylines3d = 0;
        AcDbBlockTableRecord* ms = nullptr;
        ASSERT_EQ(acdbOpenObject(ms, khost::roleId(db, khost::DbRole::ModelSpace)), Acad::eOk);
        for (AcDbObjectId id : ms->entityIds()) {
            AcDbObject* o = khost::peekObject(id);
            polylines2d += AcDb2dPolyline::cast(o) ? 1 : 0;
            polylines3d += AcDb3dPolyline::cast(o) ? 1 : 0;
        }
        ms->close();
        if (std::string(name) == "r12.dxf") {
            EXPECT_EQ(polylines2d, 1);
            EXPECT_EQ(polylines3d, 1);
        }
        std::string out = (dir / (std::string("out-") + name)).string();
        ASSERT_TRUE(khost::writeDrawing(db, fromUtf8(out), error)) << toUtf8(error);
        delete db;
        EXPECT_EQ(ezdxfAudit(dir, out), "");
        // An R12 file has no objects; those of the copy are the host's own.
        bool r12 = std::string(name) == "r12.dxf";
        std::string diff =
            python(dir, dump, (dir / name).string() + " " + out + (r12 ? " 0" : " 1"));
        EXPECT_EQ(diff.substr(0, 9), "compared ") << diff;
    }
}
