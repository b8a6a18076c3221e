// GPS points: the conversion to the national grid against published coordinates, the lines of
// the point file, its encodings, and the command drawing the points and reporting those outside
// the grid's area.
#include "hostfixture.h"

#include "GpsBody.h"

#include <cmath>
#include <cstdio>
#include <fstream>

namespace {

constexpr double kStupen = 3.14159265358979323846 / 180.0;

double Dms(double d, double m, double s) {
    return d + m / 60.0 + s / 3600.0;
}

TEST(Sjtsk, StepsAgreeWithPublishedExamples) {
    // The oblique conformal conic projection of the Czech grid: the worked example of the
    // published guidance on coordinate operations.
    double x = 0.0, y = 0.0;
    VoxSjtsk::Krovak(Dms(50, 12, 32.442) * kStupen, Dms(16, 50, 59.179) * kStupen, x, y);
    EXPECT_NEAR(x, 1050538.63, 0.01);
    EXPECT_NEAR(y, 568990.99, 0.01);

    // Geographic to geocentric on WGS 84, the worked example of the same guidance.
    double gx = 0.0, gy = 0.0, gz = 0.0;
    VoxSjtsk::GeodetickeNaGeocentricke(VoxSjtsk::WGS84, Dms(53, 48, 33.82) * kStupen,
                                       Dms(2, 7, 46.38) * kStupen, 73.0, gx, gy, gz);
    EXPECT_NEAR(gx, 3771793.968, 0.002);
    EXPECT_NEAR(gy, 140253.342, 0.002);
    EXPECT_NEAR(gz, 5124304.349, 0.002);

    // Bowring's inverse on Bessel 1841 returns the latitude and longitude it came from.
    VoxSjtsk::GeodetickeNaGeocentricke(VoxSjtsk::BESSEL1841, 49.5 * kStupen, 16.0 * kStupen, 300.0,
                                       gx, gy, gz);
    double fi = 0.0, la = 0.0;
    VoxSjtsk::GeocentrickeNaGeodeticke(VoxSjtsk::BESSEL1841, gx, gy, gz, fi, la);
    EXPECT_NEAR(fi / kStupen, 49.5, 1e-9);
    EXPECT_NEAR(la / kStupen, 16.0, 1e-9);
}

// Geocentric to geographic by iteration (independent of the routine under test).
void NaGeodeticke(const VoxSjtsk::Elipsoid& el, double x, double y, double z, double& fi,
                  double& la, double& h) {
    const double p = std::hypot(x, y);
    la = std::atan2(y, x);
    fi = std::atan2(z, p * (1.0 - el.e2));
    for (int i = 0; i < 20; ++i) {
        const double n = el.a / std::sqrt(1.0 - el.e2 * std::sin(fi) * std::sin(fi));
        h = p / std::cos(fi) - n;
        fi = std::atan2(z, p * (1.0 - el.e2 * n / (n + h)));
    }
}

TEST(Sjtsk, WholeConversionReachesTheGridCoordinatesOfAKnownPoint) {
    // The example point above, given on Bessel 1841, is carried to WGS 84 with the published
    // transformation from the Czech datum (position vector: 570.8 m, 85.7 m, 462.8 m, 4.998",
    // 1.587", 5.261", 3.56 ppm); converted back, it must land on its grid coordinates.
    const double sek = kStupen / 3600.0;
    const double tx = 570.8, ty = 85.7, tz = 462.8;
    const double rx = 4.998 * sek, ry = 1.587 * sek, rz = 5.261 * sek, ds = 3.56e-6;
    double bx = 0.0, by = 0.0, bz = 0.0;
    VoxSjtsk::GeodetickeNaGeocentricke(VoxSjtsk::BESSEL1841, Dms(50, 12, 32.442) * kStupen,
                                       Dms(16, 50, 59.179) * kStupen, 150.0, bx, by, bz);
    const double wx = tx + (1 + ds) * (bx - rz * by + ry * bz);
    const double wy = ty + (1 + ds) * (rz * bx + by - rx * bz);
    const double wz = tz + (1 + ds) * (-ry * bx + rx * by + bz);
    double fi = 0.0, la = 0.0, h = 0.0;
    NaGeodeticke(VoxSjtsk::WGS84, wx, wy, wz, fi, la, h);
    double x = 0.0, y = 0.0;
    PrevodGpsNaSjtsk(fi / kStupen, la / kStupen, 200.0, x, y);
    EXPECT_NEAR(x, 1050538.63, 0.05);
    EXPECT_NEAR(y, 568990.99, 0.05);

    // A point in the centre of Prague lies about 743 km west and 1043 km south of the origin.
    PrevodGpsNaSjtsk(50.0875, 14.4213, 200.0, x, y);
    EXPECT_NEAR(y, 743100.0, 400.0);
    EXPECT_NEAR(x, 1043200.0, 400.0);
}

TEST(GpsRadek, FieldsCommasAndKinds) {
    CVoxGpsBod bod;
    ASSERT_TRUE(NactiRadekGps(L"2;15;50,1234567;14,5;243,456;poznámka;x", bod));
    EXPECT_EQ(bod.nDruh, 2);
    EXPECT_EQ(bod.nCislo, 15);
    EXPECT_DOUBLE_EQ(bod.dSirka, 50.1234567);
    EXPECT_DOUBLE_EQ(bod.dDelka, 14.5);
    EXPECT_DOUBLE_EQ(bod.dVyska, 243.456);
    EXPECT_EQ(bod.sJmeno, L"P15");
    ASSERT_TRUE(NactiRadekGps(L"0;7;50.1;14.2;200", bod));
    EXPECT_EQ(bod.sJmeno, L"Š7");
    ASSERT_TRUE(NactiRadekGps(L"1;8;50.1;14.2;200", bod));
    EXPECT_EQ(bod.sJmeno, L"V8");
    EXPECT_FALSE(NactiRadekGps(L"1;8;50.1;14.2", bod));
    EXPECT_FALSE(NactiRadekGps(L"3;8;50.1;14.2;200", bod));
    EXPECT_FALSE(NactiRadekGps(L"-1;8;50.1;14.2;200", bod));

    EXPECT_TRUE(JeVOblastiSjtsk(50.0, 14.0));
    EXPECT_TRUE(JeVOblastiSjtsk(SJTSK_SIRKA_MAX, SJTSK_DELKA_MIN));
    EXPECT_FALSE(JeVOblastiSjtsk(0.0, 0.0));
    EXPECT_FALSE(JeVOblastiSjtsk(14.0, 50.0)); // latitude and longitude swapped
    EXPECT_FALSE(JeVOblastiSjtsk(51.2, 14.0));
}

TEST(GpsSoubor, Utf8OrWindows1250) {
    EXPECT_EQ(DekodujSoubor("\xEF\xBB\xBFp\xC5\x99\xC3\xAD"), L"pří");
    EXPECT_EQ(DekodujSoubor("p\xC5\x99\xC3\xAD"), L"pří");
    // "příliš" in Windows-1250 is no valid UTF-8.
    EXPECT_EQ(DekodujSoubor("p\xF8\xED\x6C\x69\x9A"), L"příliš");
    EXPECT_EQ(DekodujSoubor(""), L"");
}

class GpsPrikaz : public HostFixture {
protected:
    std::string Soubor(const std::string& sObsah) {
        const std::string sCesta = m_home + "/body.txt";
        std::ofstream f(sCesta, std::ios::binary);
        f << sObsah;
        return sCesta;
    }
    template <class T> std::vector<T*> Entity() {
        std::vector<T*> a;
        AcDbBlockTableRecord* pModel = nullptr;
        EXPECT_EQ(acdbOpenObject(pModel, db()->currentSpaceId(), AcDb::kForRead), Acad::eOk);
        AcDbBlockTableRecordIterator* it = nullptr;
        pModel->newIterator(it);
        for (; !it->done(); it->step()) {
            AcDbEntity* p = nullptr;
            it->getEntity(p, AcDb::kForRead);
            if (auto* t = T::cast(p))
                a.push_back(t);
            else
                p->close();
        }
        delete it;
        pModel->close();
        return a;
    }
};

TEST_F(GpsPrikaz, DrawsPointsWithTheirLabelsAndReportsThoseOutsideTheGrid) {
    // Windows-1250, decimal commas, extra fields, a blank line, a point without a fix.
    const std::string sCesta = Soubor("0;1;50,0875;14,4213;243,456;Staré Město\r\n"
                                      "1;2;49.1951;16.6068;210\r\n"
                                      "\r\n"
                                      "2;3;0;0;0\r\n"
                                      "2;4;49,8;18,25;260,5\xE8\r\n");
    input(std::wstring(sCesta.begin(), sCesta.end()) + L"\n");
    PrikazNactiGps();
    const std::wstring t = transcript();
    EXPECT_NE(t.find(L"P3 - poloha 0.000000; 0.000000 leží mimo oblast S-JTSK (šířka 47.73 až "
                     L"51.06°, délka 12.09 až 22.56°), nevykreslen"),
              std::wstring::npos)
        << t;
    auto aKruhy = Entity<AcDbCircle>();
    auto aTexty = Entity<AcDbText>();
    ASSERT_EQ(aKruhy.size(), 3u);
    ASSERT_EQ(aTexty.size(), 3u);
    const wchar_t* aPopisy[] = {L"Š1 - 243.46 m", L"V2 - 210.00 m", L"P4 - 260.50 m"};
    const double aData[][2] = {{50.0875, 14.4213}, {49.1951, 16.6068}, {49.8, 18.25}};
    for (size_t i = 0; i < 3; ++i) {
        double x = 0.0, y = 0.0;
        PrevodGpsNaSjtsk(aData[i][0], aData[i][1], 200.0, x, y);
        const AcGePoint3d pt(-y, -x, 0.0);
        EXPECT_TRUE(aKruhy[i]->center().isEqualTo(pt)) << i;
        EXPECT_DOUBLE_EQ(aKruhy[i]->radius(), 1.0);
        const int nBarva = static_cast<int>(i) * 2 + 1;
        EXPECT_EQ(aKruhy[i]->colorIndex(), nBarva);
        EXPECT_STREQ(aTexty[i]->textStringConst(), aPopisy[i]);
        EXPECT_TRUE(aTexty[i]->position().isEqualTo(pt));
        EXPECT_DOUBLE_EQ(aTexty[i]->height(), 0.5);
        EXPECT_EQ(aTexty[i]->colorIndex(), nBarva);
        EXPECT_EQ(aTexty[i]->layerId(), db()->layerZero());
    }
    for (auto* p : aKruhy)
        p->close();
    for (auto* p : aTexty)
        p->close();
}

TEST_F(GpsPrikaz, MissingAndEmptyFilesAreReported) {
    input(L"/nonexistent/body.txt\nOK\n");
    PrikazNactiGps();
    EXPECT_NE(transcript().find(L"Nelze otevřít soubor"), std::wstring::npos);
    const std::string sCesta = Soubor("");
    input(std::wstring(sCesta.begin(), sCesta.end()) + L"\nOK\n");
    PrikazNactiGps();
    EXPECT_NE(transcript().find(L"Nelze číst ze souboru\npoškozený soubor nebo nulová délka"),
              std::wstring::npos);
    EXPECT_TRUE(Entity<AcDbEntity>().empty());
}

} // namespace
