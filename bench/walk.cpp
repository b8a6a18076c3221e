// The drawing walk over a drawing of one million lines with a functor that changes nothing:
// entities per second for a walk that opens entities for reading and one that opens them for
// writing.
#include "StdAfx.h"

#include "VoxProjdiDwg.h"

#include "dbhost.h"
#include "edhost.h"
#include "hostio.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int POCET_CAR = 1000000;

struct NicNemeni : CVoxCmd::ProjdiDwgFce {
    long long nVidenych = 0;
    int operator()(AcDbEntity*) override {
        ++nVidenych;
        return 0;
    }
};

AcDbDatabase* Vykres() {
    static AcDbDatabase* pDb = [] {
        auto* db = new AcDbDatabase(true, true);
        AcDbBlockTableRecord* pModel = nullptr;
        acdbOpenObject(pModel, db->currentSpaceId(), AcDb::kForWrite);
        for (int i = 0; i < POCET_CAR; ++i) {
            auto* pLine = new AcDbLine(AcGePoint3d(i, 0, 0), AcGePoint3d(i, 1, 0));
            pModel->appendAcDbEntity(pLine);
            pLine->close();
        }
        pModel->close();
        return db;
    }();
    return pDb;
}

void Projdi(benchmark::State& state, int nPriznaky) {
    AcDbDatabase* pDb = Vykres();
    // The walk prints a line break; the transcript keeps it out of the figures.
    khost::hostTranscript().startCapture(false);
    NicNemeni fce;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ProjdiDwg(fce, nPriznaky, false, 1, pDb));
        khost::hostTranscript().takeCaptured();
    }
    khost::hostTranscript().stopCapture();
    if (fce.nVidenych != static_cast<long long>(state.iterations()) * POCET_CAR)
        state.SkipWithError("the walk did not visit every line");
    state.counters["entit/s"] =
        benchmark::Counter(static_cast<double>(fce.nVidenych), benchmark::Counter::kIsRate);
}

void BM_ProjdiCteni(benchmark::State& state) {
    Projdi(state, PROJDI_VSE | PROJDI_PRO_CTENI);
}
void BM_ProjdiZapis(benchmark::State& state) {
    Projdi(state, PROJDI_VSE);
}
BENCHMARK(BM_ProjdiCteni)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ProjdiZapis)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
