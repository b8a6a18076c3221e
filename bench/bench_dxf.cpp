// DXF load and save on large generated drawings (the program bench_bench_dxf).
//
//   generate FILE [N]        a drawing of about N entities (lines, light-weight polylines,
//                            texts, multi-line texts, block references with attributes, on 200
//                            layers), made through the database's interface
//   generate-lines FILE [N]  N lines on one layer
//   measure FILE             split-only pass, load and save of FILE: times, MB/s, entities/s,
//                            memory per entity (key=value lines)
//   load FILE [N], save FILE [N]  N loads (one load and N saves), for a profiler
//   (no arguments)           Google Benchmark runs on a drawing of 20,000 entities
//
// tools/bench_dxf.sh runs them together with ezdxf on the same file and prints the ratios.
#include "dbapserv.h"
#include "dbblkref.h"
#include "dbcurve_pline.h"
#include "dbcurves.h"
#include "dbhost.h"
#include "dbsymtb.h"
#include "dbtext.h"
#include "dxfio.h"
#include "dxfread.h"
#include "dxfsections.h"
#include "dxfwrite.h"
#include "gepnt2d.h"
#include "textconv.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

// ---- The generated drawing -----------------------------------------------------------------

constexpr int kLayers = 200;
constexpr int kBlocks = 10;
// Each unit: 10 lines, 4 polylines, 3 texts, 1 multi-line text, 2 references with 2 attributes.
constexpr int kUnit = 20;

struct Builder {
    AcDbDatabase* db;
    std::vector<AcDbObjectId> layers;
    std::vector<AcDbObjectId> blocks;
    AcDbBlockTableRecord* space = nullptr;

    void add(AcDbEntity* e, int layer) {
        e->setLayer(layers[static_cast<size_t>(layer % kLayers)]);
        space->appendAcDbEntity(e);
        e->close();
    }
};

void makeLayers(Builder& b) {
    AcDbLayerTable* lt = nullptr;
    b.db->getLayerTable(lt, AcDb::kForWrite);
    for (int i = 0; i < kLayers; ++i) {
        auto* rec = new AcDbLayerTableRecord();
        std::wstring name = L"TZB_" + std::to_wstring(i);
        rec->setName(name.c_str());
        AcCmColor c;
        c.setColorIndex(static_cast<Adesk::UInt16>(1 + i % 250));
        rec->setColor(c);
        AcDbObjectId id;
        lt->add(id, rec);
        rec->close();
        b.layers.push_back(id);
    }
    lt->close();
}

void makeBlocks(Builder& b) {
    AcDbBlockTable* bt = nullptr;
    b.db->getBlockTable(bt, AcDb::kForWrite);
    for (int i = 0; i < kBlocks; ++i) {
        auto* btr = new AcDbBlockTableRecord();
        std::wstring name = L"ARMATURA_" + std::to_wstring(i);
        btr->setName(name.c_str());
        AcDbObjectId id;
        bt->add(id, btr);
        auto* l1 = new AcDbLine(AcGePoint3d(-1, 0, 0), AcGePoint3d(1, 0, 0));
        auto* l2 = new AcDbLine(AcGePoint3d(0, -1, 0), AcGePoint3d(0, 1, 0));
        auto* c = new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 0.5);
        auto* a1 = new AcDbAttributeDefinition(AcGePoint3d(1, 1, 0), L"50", L"DN", L"DN");
        auto* a2 = new AcDbAttributeDefinition(AcGePoint3d(1, -1, 0), L"", L"OZN", L"Označení");
        for (AcDbEntity* e : std::initializer_list<AcDbEntity*>{l1, l2, c, a1, a2}) {
            e->setDatabaseDefaults(b.db);
            btr->appendAcDbEntity(e);
            e->close();
        }
        btr->close();
        b.blocks.push_back(id);
    }
    bt->close();
}

void makeUnit(Builder& b, int u) {
    double x = (u % 400) * 50.0, y = (u / 400) * 50.0;
    for (int i = 0; i < 10; ++i) {
        auto* l = new AcDbLine(AcGePoint3d(x + i, y, 0), AcGePoint3d(x + i + 0.75, y + 10.5, 0));
        b.add(l, u + i);
    }
    for (int i = 0; i < 4; ++i) {
        auto* p = new AcDbPolyline();
        for (unsigned v = 0; v < 5; ++v)
            p->addVertexAt(v, AcGePoint2d(x + v * 2.5, y + 12 + i + (v % 2) * 0.5),
                           v == 2 ? 0.25 : 0.0);
        b.add(p, u + i);
    }
    for (int i = 0; i < 3; ++i) {
        std::wstring s =
            L"DN" + std::to_wstring(15 + (u + i) % 10 * 5) + L" Cu " + std::to_wstring(u);
        auto* t = new AcDbText(AcGePoint3d(x, y + 20 + i * 3, 0), s.c_str(), AcDbObjectId::kNull,
                               2.5, 0.1 * i);
        b.add(t, u + i);
    }
    auto* m = new AcDbMText();
    m->setLocation(AcGePoint3d(x, y + 30, 0));
    m->setTextHeight(2.0);
    m->setWidth(40.0);
    std::wstring contents = L"Větev " + std::to_wstring(u) + L"\\Pvytápění, přívod";
    m->setContents(contents.c_str());
    b.add(m, u);
    for (int i = 0; i < 2; ++i) {
        auto* r = new AcDbBlockReference(AcGePoint3d(x + 20 + i * 10, y + 40, 0),
                                         b.blocks[static_cast<size_t>((u + i) % kBlocks)]);
        b.add(r, u + i);
        AcDbBlockReference* ref = nullptr;
        acdbOpenObject(ref, r->objectId(), AcDb::kForWrite);
        std::wstring dn = std::to_wstring(15 + u % 50);
        std::wstring mark = L"V" + std::to_wstring(u * 2 + i);
        auto* a1 = new AcDbAttribute(AcGePoint3d(x + 21, y + 41, 0), dn.c_str(), L"DN");
        auto* a2 = new AcDbAttribute(AcGePoint3d(x + 21, y + 39, 0), mark.c_str(), L"OZN");
        for (AcDbAttribute* a : {a1, a2}) {
            a->setDatabaseDefaults(b.db);
            a->setHeight(1.8);
            ref->appendAttribute(a);
            a->close();
        }
        ref->close();
    }
}

std::unique_ptr<AcDbDatabase> generate(int entities, bool linesOnly) {
    auto db = std::make_unique<AcDbDatabase>(true, true);
    acdbHostApplicationServices()->setWorkingDatabase(db.get());
    Builder b{db.get(), {}, {}};
    makeLayers(b);
    makeBlocks(b);
    acdbOpenObject(b.space, db->currentSpaceId(), AcDb::kForWrite);
    if (linesOnly) {
        for (int i = 0; i < entities; ++i)
            b.add(new AcDbLine(AcGePoint3d(i % 1000, i / 1000.0, 0),
                               AcGePoint3d(i % 1000 + 0.5, i / 1000.0 + 7.25, 0)),
                  0);
    } else {
        for (int u = 0; u < entities / kUnit; ++u)
            makeUnit(b, u);
    }
    b.space->close();
    return db;
}

// ---- Measuring ------------------------------------------------------------------------------

// Times are the process's CPU time: the machine the benchmark runs on may be shared, and CPU
// time does not count the time other processes take. Wall times are printed beside them.
double now() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}
double wallNow() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Resident and peak resident memory of the process in bytes (/proc/self/status).
long long statusValue(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0)
            return std::atoll(line.c_str() + std::strlen(key)) * 1024;
    return -1;
}
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// The split-only pass: the file cut into group codes and values, nothing else.
size_t splitOnly(const std::string& text, unsigned long long& checksum) {
    const char* p = text.data();
    const char* end = p + text.size();
    size_t pairs = 0;
    checksum = 0;
    while (p < end) {
        const char* nl =
            static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        const char* codeEnd = nl ? nl : end;
        int code = 0;
        bool neg = false;
        const char* c = p;
        while (c < codeEnd && *c == ' ')
            ++c;
        if (c < codeEnd && *c == '-') {
            neg = true;
            ++c;
        }
        for (; c < codeEnd && *c >= '0' && *c <= '9'; ++c)
            code = code * 10 + (*c - '0');
        if (neg)
            code = -code;
        p = nl ? nl + 1 : end;
        const char* vnl =
            p < end ? static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)))
                    : nullptr;
        const char* valueEnd = vnl ? vnl : end;
        if (valueEnd > p && valueEnd[-1] == '\r')
            --valueEnd;
        checksum += static_cast<unsigned long long>(code) * 31u + static_cast<size_t>(valueEnd - p);
        p = vnl ? vnl + 1 : end;
        ++pairs;
    }
    return pairs;
}

int entityCount(AcDbDatabase* db, int* attributes = nullptr) {
    auto* ms =
        AcDbBlockTableRecord::cast(khost::peekObject(khost::roleId(db, khost::DbRole::ModelSpace)));
    if (!ms)
        return 0;
    AcDbObjectIdArray ids = ms->entityIds();
    if (attributes) {
        *attributes = 0;
        for (AcDbObjectId id : ids)
            if (auto* r = AcDbBlockReference::cast(khost::peekObject(id)))
                *attributes += std::max(0, khost::subEntityIds(r).length() - 1);
    }
    return ids.length();
}

int measure(const std::string& path) {
    const int runs = 3;
    std::string text = readAll(path);
    if (text.empty()) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    double mb = static_cast<double>(text.size()) / 1e6;

    double split = 1e9;
    size_t pairs = 0;
    for (int r = 0; r < runs; ++r) {
        unsigned long long sum = 0;
        double t0 = now();
        pairs = splitOnly(text, sum);
        split = std::min(split, now() - t0);
        benchmark::DoNotOptimize(sum);
    }
    double sections = 1e9;
    for (int r = 0; r < runs; ++r) {
        khost::dxf::FileStructure fs;
        std::string err;
        double t0 = now();
        khost::dxf::splitSections(text, fs, err);
        sections = std::min(sections, now() - t0);
    }

    // Loads: the first one measures the memory.
    double load = 1e9, loadWall = 1e9;
    long long retained = 0, peak = 0;
    int entities = 0, attributes = 0;
    std::unique_ptr<AcDbDatabase> kept;
    for (int r = 0; r < runs; ++r) {
        kept.reset();
        long long rss0 = statusValue("VmRSS:");
        resetPeak();
        auto db = std::make_unique<AcDbDatabase>(false, true);
        std::string err;
        double w0 = wallNow();
        double t0 = now();
        bool ok = khost::dxf::readDxf(db.get(), text, err) != nullptr;
        double t = now() - t0;
        loadWall = std::min(loadWall, wallNow() - w0);
        if (!ok) {
            std::fprintf(stderr, "load failed: %s\n", err.c_str());
            return 1;
        }
        load = std::min(load, t);
        if (r == 0) {
            retained = statusValue("VmRSS:") - rss0;
            peak = statusValue("VmHWM:") - rss0;
            entities = entityCount(db.get(), &attributes);
        }
        kept = std::move(db);
    }
    double loadFile = 0;
    {
        std::wstring err;
        double t0 = now();
        std::unique_ptr<AcDbDatabase> db(khost::readDrawing(khost::fromUtf8(path), err));
        loadFile = now() - t0;
    }

    double save = 1e9, saveWall = 1e9;
    size_t savedBytes = 0;
    for (int r = 0; r < runs; ++r) {
        std::string out;
        std::string err;
        double w0 = wallNow();
        double t0 = now();
        khost::dxf::writeDxf(kept.get(), out, err);
        save = std::min(save, now() - t0);
        saveWall = std::min(saveWall, wallNow() - w0);
        savedBytes = out.size();
    }
    double saveFile = 0;
    {
        std::wstring err;
        std::string outPath = path + ".saved.dxf";
        double t0 = now();
        khost::writeDrawing(kept.get(), khost::fromUtf8(outPath), err);
        saveFile = now() - t0;
        std::remove(outPath.c_str());
    }

    std::printf("file_mb=%.2f\n", mb);
    std::printf("entities=%d\nattributes=%d\npairs=%zu\n", entities, attributes, pairs);
    std::printf("split_s=%.4f\nsplit_mb_s=%.1f\n", split, mb / split);
    std::printf("reader_split_s=%.4f\n", sections);
    std::printf("load_s=%.4f\nload_mb_s=%.1f\nload_ent_s=%.0f\n", load, mb / load, entities / load);
    std::printf("load_wall_s=%.4f\nload_file_s=%.4f\n", loadWall, loadFile);
    std::printf("save_s=%.4f\nsave_mb_s=%.1f\nsave_ent_s=%.0f\n", save,
                static_cast<double>(savedBytes) / 1e6 / save, entities / save);
    std::printf("save_wall_s=%.4f\nsave_file_s=%.4f\n", saveWall, saveFile);
    std::printf("retained_bytes_per_entity=%.0f\n",
                static_cast<double>(retained) / std::max(1, entities + attributes));
    std::printf("peak_bytes_per_entity=%.0f\n",
                static_cast<double>(peak) / std::max(1, entities + attributes));
    return 0;
}

// Loads (or loads once and saves) a file n times, for a profiler.
int repeat(const std::string& path, int n, bool save) {
    std::string text = readAll(path);
    std::string err;
    std::unique_ptr<AcDbDatabase> db;
    for (int i = 0; i < (save ? 1 : n); ++i) {
        db = std::make_unique<AcDbDatabase>(false, true);
        if (!khost::dxf::readDxf(db.get(), text, err)) {
            std::fprintf(stderr, "load failed: %s\n", err.c_str());
            return 1;
        }
    }
    for (int i = 0; save && i < n; ++i) {
        std::string out;
        khost::dxf::writeDxf(db.get(), out, err);
    }
    return 0;
}

// Loads a file and saves it again (to compare what two builds write).
int resave(const std::string& in, const std::string& out) {
    std::string text = readAll(in);
    std::string err;
    auto db = std::make_unique<AcDbDatabase>(false, true);
    if (!khost::dxf::readDxf(db.get(), text, err)) {
        std::fprintf(stderr, "load failed: %s\n", err.c_str());
        return 1;
    }
    std::string saved;
    if (!khost::dxf::writeDxf(db.get(), saved, err)) {
        std::fprintf(stderr, "save failed: %s\n", err.c_str());
        return 1;
    }
    std::ofstream(out, std::ios::binary) << saved;
    return 0;
}

int generateFile(const std::string& path, int n, bool linesOnly) {
    auto db = generate(n, linesOnly);
    std::wstring err;
    if (!khost::writeDrawing(db.get(), khost::fromUtf8(path), err)) {
        std::fprintf(stderr, "%s\n", khost::toUtf8(err).c_str());
        return 1;
    }
    std::printf("%s: %d entities\n", path.c_str(), entityCount(db.get()));
    return 0;
}

// ---- Google Benchmark runs on a smaller drawing
// ---------------------------------------------------

const std::string& smallDrawing() {
    static const std::string text = [] {
        auto db = generate(20000, false);
        std::string out;
        std::string err;
        khost::dxf::writeDxf(db.get(), out, err);
        return out;
    }();
    return text;
}

void BM_SplitOnly(benchmark::State& state) {
    const std::string& text = smallDrawing();
    for (auto _ : state) {
        unsigned long long sum = 0;
        benchmark::DoNotOptimize(splitOnly(text, sum));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_SplitOnly)->Unit(benchmark::kMillisecond);

void BM_Load(benchmark::State& state) {
    const std::string& text = smallDrawing();
    for (auto _ : state) {
        auto db = std::make_unique<AcDbDatabase>(false, true);
        std::string err;
        benchmark::DoNotOptimize(khost::dxf::readDxf(db.get(), text, err));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state) {
    auto db = std::make_unique<AcDbDatabase>(false, true);
    std::string err;
    khost::dxf::readDxf(db.get(), smallDrawing(), err);
    size_t bytes = 0;
    for (auto _ : state) {
        std::string out;
        khost::dxf::writeDxf(db.get(), out, err);
        bytes = out.size();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 &&
        (std::strcmp(argv[1], "generate") == 0 || std::strcmp(argv[1], "generate-lines") == 0)) {
        int n = argc >= 4 ? std::atoi(argv[3]) : 300000;
        return generateFile(argv[2], n, std::strcmp(argv[1], "generate-lines") == 0);
    }
    if (argc == 4 && std::strcmp(argv[1], "resave") == 0)
        return resave(argv[2], argv[3]);
    if (argc == 3 && std::strcmp(argv[1], "measure") == 0)
        return measure(argv[2]);
    if (argc >= 3 && (std::strcmp(argv[1], "load") == 0 || std::strcmp(argv[1], "save") == 0))
        return repeat(argv[2], argc >= 4 ? std::atoi(argv[3]) : 1, argv[1][0] == 's');
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
