// What the classes do not read survives a round trip: extra groups of a subclass, subclasses
// nobody knows, application data of other applications; the cost of that for plain entities;
// 2D points in the filer; the drawing's code page from a file; dictionary owners as reactors.
#include "acutads.h"
#include "dbdict.h"
#include "dbents.h"
#include "dbhost.h"
#include "dbimpl.h"
#include "dbmain.h"
#include "dbsymtb.h"
#include "dxfio.h"
#include "dxfread.h"
#include "dxfwrite.h"
#include "gepnt2d.h"
#include "textconv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <sstream>

namespace fs = std::filesystem;
using khost::fromUtf8;
using khost::toUtf8;

namespace {

class TempDir {
public:
    TempDir() {
        std::string tmpl = (fs::temp_directory_path() / "kresbon-dbfix-XXXXXX").string();
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

std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeText(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

bool haveEzdxf() {
    static const bool have = std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") == 0;
    return have;
}

std::string python(const TempDir& dir, const std::string& script, const std::string& args) {
    writeText(dir / "script.py", script);
    std::string cmd = "/usr/bin/python3 " + (dir / "script.py").string() + " " + args + " > " +
                      (dir / "script.out").string() + " 2>&1";
    std::system(cmd.c_str());
    return readText(dir / "script.out");
}

// Writes a drawing with ezdxf, then adds to its layer "Extra", its line and its dictionary
// "MYDICT" what the host does not model: application data of another application after the
// handle, groups inside known subclasses, a subclass between two known ones (the line) and one
// at the end, a 2D point in an unknown subclass. Prints the three handles.
const char* kGenerate = R"(import sys, ezdxf
doc = ezdxf.new('R2013')
msp = doc.modelspace()
layer = doc.layers.new('Extra', dxfattribs={'color': 3})
line = msp.add_line((0, 0), (10, 5), dxfattribs={'layer': 'Extra'})
d = doc.rootdict.add_new_dict('MYDICT')
d.set_reactors([doc.rootdict.dxf.handle])
x = d.add_xrecord('ENTRY')
x.reset([(1, 'text'), (70, 4)])
tmp = sys.argv[1] + '.plain'
doc.saveas(tmp)
L, N, D = layer.dxf.handle, line.dxf.handle, d.dxf.handle

with open(tmp, encoding='utf8') as f:
    text = f.read().split('\n')
pairs = [[text[i].strip(), text[i + 1]] for i in range(0, len(text) - 1, 2)]

def record(handle):
    for i in range(1, len(pairs)):
        if pairs[i] == ['5', handle] and pairs[i - 1][0] == '0':
            j = i + 1
            while pairs[j][0] != '0':
                j += 1
            return i, j
    raise KeyError(handle)

# Inserts groups after the first group of the record with that code (and value), or at its end.
def insert(handle, after, groups):
    i, j = record(handle)
    k = j
    if after:
        k = next(n for n in range(i, j) if pairs[n][0] == after[0] and
                 (len(after) == 1 or pairs[n][1] == after[1])) + 1
    pairs[k:k] = [[str(c), str(v)] for c, v in groups]

app = [(102, '{KRESBON_TEST'), (1, 'data jiné aplikace'), (70, 5), (102, '}')]
insert(L, ('5',), app)
insert(L, ('62',), [(1, 'poznámka')])
insert(L, ('370',), [(71, 5)])
insert(L, None, [(90, 77), (100, 'AcDbKresbonLayerExtra'), (1, 'navíc'), (40, 2.5),
                 (10, 1.0), (20, 2.0)])
insert(N, ('5',), app)
insert(N, ('8',), [(440, 33554687), (100, 'AcDbKresbonMiddle'), (1, 'uprostřed'), (70, 2)])
insert(N, ('30',), [(90, 7)])
insert(N, None, [(100, 'AcDbKresbonTail'), (1, 'konec'), (11, 3.5), (21, 4.5)])
insert(D, ('5',), app)
insert(D, ('100', 'AcDbDictionary'), [(280, 0)])
insert(D, ('281',), [(90, 3)])
insert(D, None, [(100, 'AcDbKresbonDict'), (1, 'slovník')])
with open(sys.argv[1], 'w', encoding='utf8') as f:
    for c, v in pairs:
        f.write('%3s\n%s\n' % (c, v))
print(L, N, D)
)";

// Compares records of two files tag by tag as ezdxf reads them (application data in place,
// extended data at the end): "<handle> same" or the two lists; then ezdxf's audit of both.
const char* kCompare = R"(import sys, ezdxf
from ezdxf.lldxf.tagger import ascii_tags_loader, tag_compiler
from ezdxf.lldxf.loader import load_dxf_structure
from ezdxf.lldxf.extendedtags import ExtendedTags

def records(path):
    with open(path, encoding='utf8') as f:
        sections = load_dxf_structure(tag_compiler(iter(ascii_tags_loader(f))))
    out = {}
    for name, entities in sections.items():
        for tags in entities:
            try:
                out[tags.get_handle()] = ExtendedTags(tags)
            except Exception:
                pass
    return out

def tags(xt):
    rows = []
    for subclass in xt.subclasses:
        for t in subclass:
            data = xt.appdata[t.value] if t.code == 102 else [t]
            rows += [(d.code, d.value) for d in data]
    for x in xt.xdata:
        rows += [(d.code, d.value) for d in x]
    return rows

a, b = records(sys.argv[1]), records(sys.argv[2])
for h in sys.argv[3:]:
    if h not in b:
        print(h, 'missing')
    elif tags(a[h]) == tags(b[h]):
        print(h, 'same')
    else:
        print(h, 'differs')
        print('  read   ', tags(a[h]))
        print('  written', tags(b[h]))
for path in sys.argv[1:3]:
    auditor = ezdxf.readfile(path).audit()
    print('audit', 'errors' if auditor.has_errors else 'ok', [e.message for e in auditor.errors])
)";

AcDbObjectId idOf(AcDbDatabase* db, const std::string& hex) {
    AcDbObjectId id;
    db->getAcDbObjectId(id, false, AcDbHandle(std::stoull(hex, nullptr, 16)));
    return id;
}

// The codes of a chain, in order.
std::vector<int> codes(const resbuf* rb) {
    std::vector<int> v;
    for (; rb; rb = rb->rbnext)
        v.push_back(rb->restype);
    return v;
}

std::wstring sysvarText(AcDbDatabase* db, const wchar_t* name) {
    resbuf rb{};
    if (!khost::dbGetSysVar(db, name, rb) || rb.restype != RTSTR)
        return L"?";
    std::wstring s = rb.resval.rstring;
    khost::rbFreeValue(&rb);
    return s;
}

} // namespace

// ---------------------------------------------------------------------------------------------

TEST(KeptGroups, FileOfAnotherWriterComesBackTagForTag) {
    if (!haveEzdxf())
        GTEST_SKIP() << "python3-ezdxf is not installed";
    TempDir dir;
    std::string handles = python(dir, kGenerate, (dir / "in.dxf").string());
    ASSERT_FALSE(handles.empty());
    handles.pop_back(); // the newline
    std::istringstream hs(handles);
    std::string layerH, lineH, dictH;
    hs >> layerH >> lineH >> dictH;
    ASSERT_FALSE(dictH.empty()) << handles;

    std::wstring error;
    AcDbDatabase* db = khost::readDrawing(fromUtf8((dir / "in.dxf").string()), error);
    ASSERT_NE(db, nullptr) << toUtf8(error);

    // The line's own data is read although an unknown subclass stands before it.
    AcDbObjectId lineId = idOf(db, lineH);
    auto* line = AcDbLine::cast(khost::peekObject(lineId));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->endPoint(), AcGePoint3d(10, 5, 0));
    AcString layerName;
    line->layer(layerName);
    EXPECT_EQ(std::wstring(layerName.constPtr()), L"Extra");
    resbuf* kept = khost::keptGroups(line);
    EXPECT_EQ(codes(kept), (std::vector<int>{102, 1, 70, 102, 440, 100, 1, 70, 90, 100, 1, 11}));
    // The 2D point of the unknown subclass stays 2D.
    const resbuf* last = kept;
    while (last && last->rbnext)
        last = last->rbnext;
    ASSERT_NE(last, nullptr);
    EXPECT_TRUE(khost::rbIs2d(*last));
    acutRelRb(kept);
    // The classes themselves see 2D points with Z 0.
    EXPECT_FALSE(std::signbit(line->startPoint().z));

    ASSERT_TRUE(khost::writeDrawing(db, fromUtf8((dir / "out.dxf").string()), error))
        << toUtf8(error);
    std::string verdict = python(dir, kCompare,
                                 (dir / "in.dxf").string() + " " + (dir / "out.dxf").string() +
                                     " " + layerH + " " + lineH + " " + dictH);
    EXPECT_EQ(verdict,
              layerH + " same\n" + lineH + " same\n" + dictH + " same\naudit ok []\naudit ok []\n");

    // Read again, the second file keeps the same groups: nothing doubles from save to save.
    AcDbDatabase* again = khost::readDrawing(fromUtf8((dir / "out.dxf").string()), error);
    ASSERT_NE(again, nullptr) << toUtf8(error);
    ASSERT_TRUE(khost::writeDrawing(again, fromUtf8((dir / "again.dxf").string()), error));
    verdict = python(dir, kCompare,
                     (dir / "in.dxf").string() + " " + (dir / "again.dxf").string() + " " + layerH +
                         " " + lineH + " " + dictH);
    EXPECT_EQ(verdict.substr(0, verdict.find("audit")),
              layerH + " same\n" + lineH + " same\n" + dictH + " same\n");
    delete again;

    // A kept group gives way to the class's own group of the same code once the class writes
    // one: the dictionary's "280 0" is kept as read, and replaced when it becomes hard owner.
    AcDbDictionary* dict = nullptr;
    ASSERT_EQ(acdbOpenObject(dict, idOf(db, dictH), AcDb::kForWrite), Acad::eOk);
    resbuf* dk = khost::keptGroups(dict);
    EXPECT_EQ(codes(dk), (std::vector<int>{102, 1, 70, 102, 280, 90, 100, 1}));
    acutRelRb(dk);
    dict->setTreatElementsAsHard(true);
    dict->close();
    khost::RbChainFiler filer(db);
    EXPECT_EQ(khost::dxfOutObject(khost::peekObject(idOf(db, dictH)), &filer), Acad::eOk);
    resbuf* out = filer.takeChain();
    int hard = 0;
    for (const resbuf* rb = out; rb; rb = rb->rbnext)
        if (rb->restype == 280) {
            ++hard;
            EXPECT_EQ(rb->resval.rint, 1);
        }
    EXPECT_EQ(hard, 1);
    // The rest is still there, in its subclass.
    std::vector<int> c = codes(out);
    auto marker = std::find(c.begin(), c.end(), 100);
    ASSERT_NE(marker, c.end());
    EXPECT_NE(std::find(marker, c.end(), 90), c.end());
    EXPECT_EQ(std::count(c.begin(), c.end(), 100), 2);
    acutRelRb(out);

    // Forgotten, the dictionary is written as its class writes it.
    khost::clearKeptGroups(khost::peekObject(idOf(db, dictH)));
    EXPECT_EQ(khost::keptGroupCount(khost::peekObject(idOf(db, dictH))), 0);
    EXPECT_EQ(khost::openObjectCount(), 0);
    delete db;
}

// A plain line read from a file allocates nothing beyond what the line itself needs, and a
// drawing of plain lines stays under 300 bytes a line.
TEST(KeptGroups, PlainEntitiesCostNothing) {
    constexpr int kLines = 10000;
    std::string plain, lines;
    for (int n : {0, kLines}) {
        AcDbDatabase db;
        AcDbBlockTableRecord* ms = nullptr;
        ASSERT_EQ(acdbOpenObject(ms, db.currentSpaceId(), AcDb::kForWrite), Acad::eOk);
        for (int i = 0; i < n; ++i) {
            auto* l = new AcDbLine(AcGePoint3d(i, 0, 0), AcGePoint3d(i, 1, 0));
            l->setDatabaseDefaults(&db);
            ASSERT_EQ(ms->appendAcDbEntity(l), Acad::eOk);
            l->close();
        }
        ms->close();
        std::string error;
        ASSERT_TRUE(khost::dxf::writeDxf(&db, n ? lines : plain, error)) << error;
    }

    auto heapInUse = [] { return mallinfo2().uordblks; };
    std::string error;
    [[maybe_unused]] size_t before = heapInUse();
    AcDbDatabase* empty = khost::dxf::readDxf(nullptr, plain, error);
    ASSERT_NE(empty, nullptr) << error;
    [[maybe_unused]] size_t afterEmpty = heapInUse();
    AcDbDatabase* db = khost::dxf::readDxf(nullptr, lines, error);
    ASSERT_NE(db, nullptr) << error;
    [[maybe_unused]] size_t afterLines = heapInUse();

    int count = 0;
    khost::forEachObject(db, [&](AcDbObjectId id) {
        AcDbObject* o = khost::peekObject(id);
        if (!AcDbLine::cast(o))
            return;
        ++count;
        EXPECT_EQ(khost::DbAccess::extrasIfAny(o), nullptr);
    });
    EXPECT_EQ(count, kLines);
    delete db;
    delete empty;
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the heap is the sanitizer's";
#else
    double perLine =
        (static_cast<double>(afterLines - afterEmpty) - static_cast<double>(afterEmpty - before)) /
        kLines;
    EXPECT_LT(perLine, 300.0);
    RecordProperty("bytes_per_line", static_cast<int>(perLine));
#endif
}

TEST(Filer, TwoDimensionalPoints) {
    AcDbDatabase db;
    khost::RbChainFiler f(&db);
    f.writePoint2d(AcDb::kDxfXCoord, AcGePoint2d(1.5, -2.5));
    f.writeVector2d(static_cast<AcDb::DxfCode>(11), AcGeVector2d(0.0, 1.0));
    f.writePoint3d(static_cast<AcDb::DxfCode>(12), AcGePoint3d(1, 2, 0));
    EXPECT_EQ(f.writePoint2d(AcDb::kDxfLayerName, AcGePoint2d(0, 0)), Acad::eInvalidDxfCode);
    resbuf* chain = f.takeChain();
    ASSERT_EQ(codes(chain), (std::vector<int>{10, 11, 12}));
    EXPECT_TRUE(khost::rbIs2d(*chain));
    EXPECT_EQ(khost::rbPoint2d(*chain), AcGePoint2d(1.5, -2.5));
    EXPECT_TRUE(khost::rbIs2d(*chain->rbnext));
    EXPECT_FALSE(khost::rbIs2d(*chain->rbnext->rbnext)); // a 3D point with Z 0 stays 3D
    acutRelRb(chain);
}

// The code page of a file is the drawing's (DWGCODEPAGE), and is written back.
TEST(CodePage, ReadFromTheFile) {
    // An R12 file in Windows-1250 (the layer "Žluť") and one in Windows-1252.
    auto file = [](const std::string& page, const std::string& layer) {
        return "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  9\n$DWGCODEPAGE\n  3\n" +
               page +
               "\n  0\nENDSEC\n  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n 70\n1\n"
               "  0\nLAYER\n  2\n" +
               layer +
               "\n 70\n0\n 62\n1\n  6\nCONTINUOUS\n  0\nENDTAB\n  0\nENDSEC\n  0\nSECTION\n"
               "  2\nENTITIES\n  0\nLINE\n  8\n" +
               layer + "\n 10\n0.0\n 20\n0.0\n 11\n1.0\n 21\n1.0\n  0\nENDSEC\n  0\nEOF\n";
    };
    struct Case {
        std::string page, layerBytes;
        std::wstring want, layer;
    };
    const Case cases[] = {
        {"ANSI_1250", "\x8Elu\x9D", L"ANSI_1250", L"\u017Dlu\u0165"},
        {"ansi_1252", "Caf\xE9", L"ANSI_1252", L"Caf\u00E9"},
    };
    for (const Case& c : cases) {
        std::string error;
        AcDbDatabase* db = khost::dxf::readDxf(nullptr, file(c.page, c.layerBytes), error);
        ASSERT_NE(db, nullptr) << error;
        EXPECT_EQ(sysvarText(db, L"DWGCODEPAGE"), c.want);
        AcDbLayerTable* lt = nullptr;
        ASSERT_EQ(db->getLayerTable(lt), Acad::eOk);
        EXPECT_TRUE(lt->has(c.layer.c_str()));
        lt->close();
        std::string out;
        ASSERT_TRUE(khost::dxf::writeDxf(db, out, error)) << error;
        std::string want = "$DWGCODEPAGE\n  3\n" + toUtf8(c.want) + "\n";
        EXPECT_NE(out.find(want), std::string::npos);
        EXPECT_EQ(out.find("$DWGCODEPAGE"), out.rfind("$DWGCODEPAGE"));
        delete db;
    }

    // The variable stays read-only for users; the host's setter checks the name.
    AcDbDatabase db;
    EXPECT_EQ(sysvarText(&db, L"DWGCODEPAGE"), L"ANSI_1250");
    resbuf v{};
    v.restype = RTSTR;
    v.resval.rstring = const_cast<ACHAR*>(L"ANSI_1252");
    EXPECT_EQ(khost::dbSetSysVar(&db, L"DWGCODEPAGE", v), RTREJ);
    EXPECT_EQ(khost::setDwgCodePage(&db, L""), Acad::eInvalidInput);
    EXPECT_EQ(khost::setDwgCodePage(&db, L"ANSI 1252"), Acad::eInvalidInput);
    EXPECT_EQ(khost::setDwgCodePage(&db, L"dos852"), Acad::eOk);
    EXPECT_EQ(sysvarText(&db, L"DWGCODEPAGE"), L"DOS852");
}

// Entries of dictionaries have their dictionary as a persistent reactor; layer 0 of a new
// drawing has the default plot style; the default drawing is built on demand.
TEST(DefaultDrawing, ReactorsOfEntriesAndPlotStyleOfLayerZero) {
    AcDbDatabase db(false);
    EXPECT_TRUE(db.layerTableId().isNull());
    khost::buildDefaultDrawing(&db);
    ASSERT_FALSE(db.layerTableId().isNull());

    AcDbDatabase d2;
    AcDbDictionary* nod = nullptr;
    ASSERT_EQ(d2.getNamedObjectsDictionary(nod, AcDb::kForWrite), Acad::eOk);
    auto* mine = new AcDbDictionary;
    AcDbObjectId mineId;
    ASSERT_EQ(nod->setAt(L"KRESBON_MINE", mine, mineId), Acad::eOk);
    EXPECT_TRUE(mine->hasPersistentReactor(nod->objectId()));
    EXPECT_EQ(mine->persistentReactorIds().length(), 1);
    ASSERT_EQ(nod->remove(L"KRESBON_MINE"), Acad::eOk);
    EXPECT_FALSE(mine->hasPersistentReactor(nod->objectId()));
    nod->close();
    mine->close();

    // The standard dictionaries of a new drawing name the named object dictionary.
    AcDbObject* layouts = khost::peekObject(d2.layoutDictionaryId());
    ASSERT_NE(layouts, nullptr);
    EXPECT_TRUE(layouts->hasPersistentReactor(d2.namedObjectsDictionaryId()));

    auto* zero =
        AcDbLayerTableRecord::cast(khost::peekObject(khost::roleId(&d2, khost::DbRole::LayerZero)));
    auto* styles =
        AcDbDictionaryWithDefault::cast(khost::peekObject(d2.plotStyleNameDictionaryId()));
    ASSERT_NE(zero, nullptr);
    ASSERT_NE(styles, nullptr);
    EXPECT_FALSE(zero->plotStyleNameId().isNull());
    EXPECT_EQ(zero->plotStyleNameId(), styles->defaultId());
    EXPECT_EQ(khost::openObjectCount(), 0);
}
