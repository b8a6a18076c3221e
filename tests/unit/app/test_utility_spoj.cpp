// Joining collinear lines: the groups, the kept line and its end points, the counts and messages,
// the tolerance from the drawing's units, and the index against the plain comparison of all
// pairs on random drawings with pairs near the tolerance.
#include "../sel/seltest.h"

#include "CVoxException.h"
#include "CVoxSpojUsecky.h"

#include <cmath>
#include <random>

using namespace seltest;

namespace {

constexpr double kPi = 3.14159265358979323846;

class Spoj : public SelTest {
protected:
    AcDbObjectId Cara(double x0, double y0, double x1, double y1, double z = 0.0) {
        return add(new AcDbLine(AcGePoint3d(x0, y0, z), AcGePoint3d(x1, y1, z)));
    }
    bool Existuje(AcDbObjectId id) {
        AcDbEntity* p = nullptr;
        if (acdbOpenAcDbEntity(p, id, AcDb::kForRead) != Acad::eOk)
            return false;
        p->close();
        return true;
    }
    std::pair<AcGePoint3d, AcGePoint3d> Body(AcDbObjectId id) {
        AcDbLine* p = nullptr;
        EXPECT_EQ(acdbOpenObject(p, id, AcDb::kForRead), Acad::eOk);
        auto v = std::make_pair(p->startPoint(), p->endPoint());
        p->close();
        return v;
    }
};

TEST_F(Spoj, CollinearLinesWithGapsBecomeOneLineAtZeroElevation) {
    workingDb()->setInsunits(AcDb::kUnitsMeters);
    const AcDbObjectId a = Cara(0, 0, 1, 0, 3.0); // kept: the group's first
    const AcDbObjectId b = Cara(5, 0, 4, 0, 3.0); // reversed, with a gap
    const AcDbObjectId c = Cara(-2, 0, -1, 0, 3.0);
    const AcDbObjectId samotna = Cara(0, 5, 3, 9);
    const AcDbObjectId nulova = Cara(7, 7, 7.01, 7); // shorter than the tolerance
    type(L"ALL\n\n");
    PrikazSp();
    const std::wstring t = transcript();
    EXPECT_NE(t.find(L"\nVyber úsečky k editaci <Konec>: "), std::wstring::npos) << t;
    EXPECT_NE(t.find(L"\nVybráno 5 úseček"), std::wstring::npos) << t;
    EXPECT_NE(t.find(L"\nVymazáno 2 objektů"), std::wstring::npos) << t;
    EXPECT_FALSE(Existuje(b));
    EXPECT_FALSE(Existuje(c));
    EXPECT_TRUE(Existuje(samotna));
    EXPECT_TRUE(Existuje(nulova));
    const auto [p1, p2] = Body(a);
    // The first farthest pair in the order of the points: a's start, a's end, b's start, ...
    EXPECT_EQ(p1, AcGePoint3d(5, 0, 0));
    EXPECT_EQ(p2, AcGePoint3d(-2, 0, 0));
}

TEST_F(Spoj, ToleranceFollowsTheUnits) {
    workingDb()->setInsunits(AcDb::kUnitsMeters);
    AcGeTol tol = TolerancePrevodu();
    EXPECT_DOUBLE_EQ(tol.equalPoint(), 0.02);
    EXPECT_DOUBLE_EQ(tol.equalVector(), 0.02);
    workingDb()->setInsunits(AcDb::kUnitsMillimeters);
    tol = TolerancePrevodu();
    EXPECT_DOUBLE_EQ(tol.equalPoint(), 20.0);
    EXPECT_DOUBLE_EQ(tol.equalVector(), 0.02);
    workingDb()->setInsunits(AcDb::kUnitsUndefined);
    try {
        TolerancePrevodu();
        ADD_FAILURE() << "no exception";
    } catch (const CVoxException& e) {
        EXPECT_NE(std::string(e.what()).find("Nelze z"), std::string::npos);
    }
}

TEST_F(Spoj, ParallelLinesJoinOnlyWithinTheTolerance) {
    workingDb()->setInsunits(AcDb::kUnitsMeters);
    const AcDbObjectId a = Cara(0, 0, 10, 0);
    const AcDbObjectId b = Cara(12, 0.01, 20, 0.01);
    const AcDbObjectId c = Cara(0, 5, 10, 5);
    const AcDbObjectId d = Cara(12, 5.03, 20, 5.03);
    type(L"ALL\n\n");
    PrikazSp();
    EXPECT_NE(transcript().find(L"\nVymazáno 1 objektů"), std::wstring::npos);
    EXPECT_TRUE(Existuje(a));
    EXPECT_FALSE(Existuje(b));
    EXPECT_TRUE(Existuje(c));
    EXPECT_TRUE(Existuje(d));

    // Nothing left to join; an empty selection ends silently.
    type(L"ALL\n\n");
    PrikazSp();
    EXPECT_NE(transcript().find(L"\nNebyly nalezeny žádné kolineární úsečky ke spojení"),
              std::wstring::npos);
    type(L"\n");
    PrikazSp();
    EXPECT_EQ(transcript().find(L"Vybráno"), std::wstring::npos);
}

TEST_F(Spoj, LinesMeetingAtACornerOfAMillimetreDrawingStayApart) {
    // 20 mm is a point tolerance; as a direction tolerance it would take any two directions for
    // parallel, and two lines from one corner would become their diagonal.
    const AcDbObjectId a = Cara(0, 0, 1000, 0);
    const AcDbObjectId b = Cara(0, 0, 0, 500);
    type(L"ALL\n\n");
    PrikazSp();
    EXPECT_NE(transcript().find(L"Nebyly nalezeny"), std::wstring::npos);
    EXPECT_TRUE(Existuje(a));
    EXPECT_TRUE(Existuje(b));
}

TEST_F(Spoj, ALineInTwoGroupsIsErasedOnceAndReportedTheSecondTime) {
    // With a tolerance that is not transitive, c (between a and b) joins a's group and b's.
    workingDb()->setInsunits(AcDb::kUnitsMeters);
    const AcDbObjectId a = Cara(0, 0, 10, 0);
    const AcDbObjectId b = Cara(0, 0.03, 10, 0.03);
    const AcDbObjectId c = Cara(20, 0.015, 30, 0.015);
    type(L"ALL\n\n");
    PrikazSp();
    const std::wstring t = transcript();
    EXPECT_NE(t.find(L"\nEntitu nelze otevřít pro zápis"), std::wstring::npos) << t;
    EXPECT_NE(t.find(L"\nVymazáno 1 objektů"), std::wstring::npos) << t;
    EXPECT_TRUE(Existuje(a));
    EXPECT_TRUE(Existuje(b));
    EXPECT_FALSE(Existuje(c));
}

// Random drawings: groups of lines along random lines, with members moved to just inside or just
// outside the tolerance in offset and in direction, near the ends of the direction range, far
// from the origin.
void NahodneUsecky(CVoxSpojUsecky& s, std::mt19937& gen, const AcGeTol& tol, int nSkupin,
                   double dPosunSouradnic) {
    std::uniform_real_distribution<double> uhel(0.0, 2.0 * kPi);
    std::uniform_real_distribution<double> poloha(-500.0, 500.0);
    std::uniform_real_distribution<double> delka(0.5, 30.0);
    std::uniform_real_distribution<double> jednotka(0.0, 1.0);
    const double tp = tol.equalPoint();
    const double dUhelTol = std::asin(tol.equalVector());
    const double aBlizko[] = {0.0, 0.5, 0.98, 0.999, 1.001, 1.02, 2.0};
    Adesk::UInt64 nId = 1;
    for (int g = 0; g < nSkupin; ++g) {
        double a = uhel(gen);
        if (g % 5 == 0) // close to the direction where the index wraps
            a = (g % 10 == 0 ? 1e-4 : kPi - 1e-4) + (jednotka(gen) - 0.5) * 4.0 * dUhelTol;
        const AcGeVector2d u(std::cos(a), std::sin(a));
        const AcGeVector2d n(-u.y, u.x);
        const AcGePoint2d o(poloha(gen) + dPosunSouradnic, poloha(gen) - dPosunSouradnic);
        const int nClenu = 1 + static_cast<int>(jednotka(gen) * 6);
        for (int k = 0; k < nClenu; ++k) {
            const double t0 = poloha(gen) / 5.0;
            const double f = aBlizko[static_cast<size_t>(jednotka(gen) * 7) % 7];
            const double dUhel =
                (jednotka(gen) < 0.5 ? 1.0 : -1.0) * (jednotka(gen) < 0.3 ? f * dUhelTol : 0.0);
            const AcGeVector2d uk(std::cos(a + dUhel), std::sin(a + dUhel));
            const double dPosun = (jednotka(gen) < 0.5 ? 1.0 : -1.0) * f * tp;
            AcGePoint2d p0 = o + u * t0 + n * dPosun;
            AcGePoint2d p1 = p0 + uk * delka(gen);
            if (jednotka(gen) < 0.5)
                std::swap(p0, p1);
            AcDbObjectId id;
            id.setFromOldId(static_cast<Adesk::IntPtr>(nId++));
            s.PridejUsecku(p0, p1, id);
        }
    }
}

TEST(SpojIndex, GivesTheGroupsOfThePlainComparison) {
    std::mt19937 gen(20240611);
    struct Pripad {
        double dTol;
        double dPosun;
    };
    for (const Pripad& pripad :
         {Pripad{0.02, 0.0}, Pripad{0.02, 700000.0}, Pripad{0.2, 0.0}, Pripad{0.002, -1000.0}}) {
        for (int nKolo = 0; nKolo < 4; ++nKolo) {
            AcGeTol tol;
            tol.setEqualPoint(pripad.dTol);
            tol.setEqualVector(std::min(pripad.dTol, 0.02));
            CVoxSpojUsecky s(tol);
            NahodneUsecky(s, gen, tol, 150, pripad.dPosun);
            s.NajdiKolinearniPoParech();
            const MapaSkupin ocekavane = s.Skupiny();
            s.NajdiKolinearni();
            ASSERT_EQ(s.Skupiny(), ocekavane) << "tolerance " << pripad.dTol << " round " << nKolo;
            size_t nVeSkupinach = 0;
            for (const auto& [i, a] : ocekavane)
                nVeSkupinach += a.size();
            EXPECT_GT(nVeSkupinach, 100u); // the drawings do have groups to compare
        }
    }
}

} // namespace
