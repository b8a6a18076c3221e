// Joining collinear lines: finding the groups of 100,000 lines in 10,000 collinear groups through
// the index, against the comparison of every pair (measured on fewer lines: it grows with the
// square), and the whole command "sp" on a drawing of those lines.
#include "StdAfx.h"

#include "CVoxSpojUsecky.h"

#include "acapdoc.h"
#include "dbhost.h"
#include "edhost.h"
#include "hostio.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr int POCET_SKUPIN = 10000;
constexpr int CAR_VE_SKUPINE = 10;

// The lines of the groups, each group along a random direction in a square of 2 km, in metres.
std::vector<std::pair<AcGePoint2d, AcGePoint2d>> Usecky(int nSkupin) {
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> uhel(0.0, 6.283185307179586);
    std::uniform_real_distribution<double> poloha(-1000.0, 1000.0);
    std::uniform_real_distribution<double> sum(-0.005, 0.005);
    std::vector<std::pair<AcGePoint2d, AcGePoint2d>> a;
    for (int g = 0; g < nSkupin; ++g) {
        const double u = uhel(gen);
        const AcGeVector2d smer(std::cos(u), std::sin(u));
        const AcGeVector2d normala(-smer.y, smer.x);
        const AcGePoint2d o(poloha(gen), poloha(gen));
        for (int k = 0; k < CAR_VE_SKUPINE; ++k) {
            const AcGePoint2d p0 = o + smer * (k * 3.0) + normala * sum(gen);
            a.emplace_back(p0, p0 + smer * 2.0);
        }
    }
    std::shuffle(a.begin(), a.end(), gen);
    return a;
}

AcGeTol Tolerance() {
    AcGeTol tol;
    tol.setEqualPoint(0.02);
    tol.setEqualVector(0.02);
    return tol;
}

void Skupiny(benchmark::State& state, bool bIndex) {
    const auto aUsecky = Usecky(static_cast<int>(state.range(0)));
    CVoxSpojUsecky s(Tolerance());
    AcDbObjectId id;
    for (const auto& [a, b] : aUsecky)
        s.PridejUsecku(a, b, id);
    for (auto _ : state) {
        if (bIndex)
            s.NajdiKolinearni();
        else
            s.NajdiKolinearniPoParech();
        benchmark::DoNotOptimize(s.Skupiny().size());
    }
    if (s.Skupiny().size() != static_cast<size_t>(state.range(0)))
        state.SkipWithError("the groups are not the groups drawn");
    state.counters["car"] = static_cast<double>(aUsecky.size());
}

void BM_SkupinyIndex(benchmark::State& state) {
    Skupiny(state, true);
}
void BM_SkupinyPoParech(benchmark::State& state) {
    Skupiny(state, false);
}
BENCHMARK(BM_SkupinyIndex)->Arg(1000)->Arg(POCET_SKUPIN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SkupinyPoParech)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond)->Iterations(1);

// A fresh drawing in metres with the lines of the groups, current in its own document.
AcApDocument* Vykres(const std::vector<std::pair<AcGePoint2d, AcGePoint2d>>& aUsecky) {
    auto* pDb = new AcDbDatabase(true, false);
    pDb->setInsunits(AcDb::kUnitsMeters);
    AcApDocument* pDoc = khost::openDocument(pDb, L"");
    AcDbBlockTableRecord* pModel = nullptr;
    acdbOpenObject(pModel, pDb->currentSpaceId(), AcDb::kForWrite);
    for (const auto& [a, b] : aUsecky) {
        auto* pLine = new AcDbLine(AcGePoint3d(a.x, a.y, 0), AcGePoint3d(b.x, b.y, 0));
        pModel->appendAcDbEntity(pLine);
        pLine->close();
    }
    pModel->close();
    return pDoc;
}

// The host's selection of all lines alone, as the command asks for it: the part of the
// command's time that is the host's.
void BM_VyberVsechCar(benchmark::State& state) {
    const auto aUsecky = Usecky(POCET_SKUPIN);
    khost::hostTranscript().startCapture(false);
    AcApDocument* pDoc = Vykres(aUsecky);
    resbuf* pFiltr = acutBuildList(RTDXF0, L"LINE", RTNONE);
    for (auto _ : state) {
        khost::hostInput().push(L"ALL\n\n");
        ads_name ss;
        if (acedSSGet(nullptr, nullptr, nullptr, pFiltr, ss) != RTNORM)
            state.SkipWithError("nothing selected");
        else
            acedSSFree(ss);
        khost::hostTranscript().takeCaptured();
    }
    acutRelRb(pFiltr);
    khost::closeDocument(pDoc);
    khost::hostTranscript().stopCapture();
}
BENCHMARK(BM_VyberVsechCar)->Unit(benchmark::kMillisecond)->Iterations(3);

// The whole command on a drawing in metres: selection of all lines, reading, grouping, joining
// and erasing. Each iteration works on a fresh drawing (made outside the measured time).
void BM_PrikazSp(benchmark::State& state) {
    const auto aUsecky = Usecky(POCET_SKUPIN);
    khost::hostTranscript().startCapture(false);
    for (auto _ : state) {
        state.PauseTiming();
        AcApDocument* pDoc = Vykres(aUsecky);
        khost::hostInput().push(L"ALL\n\n");
        state.ResumeTiming();
        PrikazSp();
        state.PauseTiming();
        const std::wstring t = khost::hostTranscript().takeCaptured();
        if (t.find(L"Vymazáno 90000 objektů") == std::wstring::npos)
            state.SkipWithError("the command did not join the groups");
        khost::closeDocument(pDoc);
        state.ResumeTiming();
    }
    khost::hostTranscript().stopCapture();
}
BENCHMARK(BM_PrikazSp)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
