#include "StdAfx.h"

#include "CVoxSpojUsecky.h"

#include "CVoxException.h"
#include "CVoxVyber.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace {

constexpr double PI = 3.14159265358979323846;

// The widest angle window (radians) for which the index pays; wider tolerances compare all pairs.
constexpr double NEJSIRSI_OKNO_UHLU = 0.2;

// One entry of the index: a record's direction angle in [0, pi) (or that angle moved by half a
// turn, with its offset negated, for directions near the ends of the range) and its offset.
struct PolozkaIndexu {
    double dUhel;
    double dPosun;
    size_t nZaznam;
};

std::uint64_t KlicBunky(std::int64_t nU, std::int64_t nP) {
    return (static_cast<std::uint64_t>(nU) * 0x9E3779B97F4A7C15ull) ^
           static_cast<std::uint64_t>(nP);
}

} // namespace

bool CVoxSpojUsecky::PridejUsecku(const AcGePoint2d& ptZacatek, const AcGePoint2d& ptKonec,
                                  AcDbObjectId id) {
    if (ptZacatek.isEqualTo(ptKonec, m_tol))
        return false;
    m_aUsecky.emplace_back(ptZacatek, ptKonec, id, m_tol);
    return true;
}

void CVoxSpojUsecky::NactiUsecky(ads_name ss) {
    Adesk::Int32 nPocet = 0;
    acedSSLength(ss, &nPocet);
    ProjdiVyber(ss, AcDb::kForRead, [this](AcDbEntity* pEnt, const AcDbObjectId& id) {
        if (auto* pUsecka = AcDbLine::cast(pEnt)) {
            const AcGePoint3d ptZ = pUsecka->startPoint();
            const AcGePoint3d ptK = pUsecka->endPoint();
            PridejUsecku(AcGePoint2d(ptZ.x, ptZ.y), AcGePoint2d(ptK.x, ptK.y), id);
        } else if (auto* pPline = AcDbPolyline::cast(pEnt)) {
            for (unsigned int n = 0; n < pPline->numVerts(); ++n) {
                AcGeLineSeg2d segment;
                if (pPline->getLineSegAt(n, segment) != Acad::eOk)
                    continue;
                PridejUsecku(segment.startPoint(), segment.endPoint(), id);
            }
        } else {
            acutPrintf(L"\n Vybraná entita není an polyline (2Dkřivka), ani úsečka ani reference "
                       L"bloku / Xref");
        }
    });
    acedSSFree(ss);
    acutPrintf(L"\nVybráno %i úseček", static_cast<int>(nPocet));
}

void CVoxSpojUsecky::PridejDoSkupiny(size_t i, size_t j, std::vector<char>& aVeSkupine) {
    std::vector<size_t>& aSkupina = m_mapSkupiny[i];
    if (aSkupina.empty())
        aSkupina.push_back(i);
    aSkupina.push_back(j);
    aVeSkupine[i] = 1;
    aVeSkupine[j] = 1;
}

void CVoxSpojUsecky::NajdiKolinearniPoParech() {
    m_mapSkupiny.clear();
    std::vector<char> aVeSkupine(m_aUsecky.size(), 0);
    for (size_t i = 0; i < m_aUsecky.size(); ++i) {
        if (aVeSkupine[i])
            continue;
        for (size_t j = i + 1; j < m_aUsecky.size(); ++j)
            if (m_aUsecky[i].JeKolinearni(m_aUsecky[j]))
                PridejDoSkupiny(i, j, aVeSkupine);
    }
}

void CVoxSpojUsecky::NajdiKolinearni() {
    const size_t n = m_aUsecky.size();
    if (n < 2) {
        m_mapSkupiny.clear();
        return;
    }
    // Two collinear records differ in direction by at most asin(equalVector) (modulo half a
    // turn). The offset of a record is its start point's distance along its normal from a centre
    // O; for collinear i and j the offsets (j taken in the direction nearer to i's) differ by at
    // most equalPoint + (angle difference) * R, R the farthest start point from O. Cells of those
    // sizes hold every partner of a record in the 3 x 3 cells around it.
    const double dTolV = m_tol.equalVector();
    const double dTolB = m_tol.equalPoint();
    if (!(dTolV >= 0.0) || dTolV >= 1.0 || !(dTolB >= 0.0)) {
        NajdiKolinearniPoParech();
        return;
    }
    const double dOknoUhlu = std::asin(dTolV) * (1.0 + 1e-6) + 1e-9;
    if (dOknoUhlu > NEJSIRSI_OKNO_UHLU) {
        NajdiKolinearniPoParech();
        return;
    }
    double dMinX = m_aUsecky[0].m_ptZacatek.x, dMaxX = dMinX;
    double dMinY = m_aUsecky[0].m_ptZacatek.y, dMaxY = dMinY;
    for (const CVoxUsecka& u : m_aUsecky) {
        dMinX = std::min(dMinX, u.m_ptZacatek.x);
        dMaxX = std::max(dMaxX, u.m_ptZacatek.x);
        dMinY = std::min(dMinY, u.m_ptZacatek.y);
        dMaxY = std::max(dMaxY, u.m_ptZacatek.y);
    }
    const AcGePoint2d ptStred((dMinX + dMaxX) / 2.0, (dMinY + dMaxY) / 2.0);
    double dR = 0.0;
    for (const CVoxUsecka& u : m_aUsecky)
        dR = std::max(dR, u.m_ptZacatek.distanceTo(ptStred));
    const double dOknoPosunu = (dTolB + dOknoUhlu * dR) * (1.0 + 1e-6) + 1e-9 * (1.0 + dR);
    if (!std::isfinite(dOknoPosunu) || dR / dOknoPosunu > 1e15) {
        NajdiKolinearniPoParech();
        return;
    }

    std::vector<PolozkaIndexu> aPolozky;
    aPolozky.reserve(n + n / 8);
    std::vector<PolozkaIndexu> aVlastni(n);
    for (size_t k = 0; k < n; ++k) {
        const CVoxUsecka& u = m_aUsecky[k];
        const AcGeVector2d smer = u.m_ptKonec - u.m_ptZacatek;
        double dUhel = std::atan2(smer.y, smer.x);
        if (dUhel < 0.0)
            dUhel += PI;
        if (dUhel >= PI)
            dUhel -= PI;
        const AcGeVector2d normala(-std::sin(dUhel), std::cos(dUhel));
        const double dPosun = normala.dotProduct(u.m_ptZacatek - ptStred);
        aVlastni[k] = {dUhel, dPosun, k};
        aPolozky.push_back(aVlastni[k]);
        if (dUhel > PI - 2.0 * dOknoUhlu)
            aPolozky.push_back({dUhel - PI, -dPosun, k});
        if (dUhel < 2.0 * dOknoUhlu)
            aPolozky.push_back({dUhel + PI, -dPosun, k});
    }
    auto bunkaU = [&](double d) { return static_cast<std::int64_t>(std::floor(d / dOknoUhlu)); };
    auto bunkaP = [&](double d) { return static_cast<std::int64_t>(std::floor(d / dOknoPosunu)); };
    std::unordered_map<std::uint64_t, std::vector<size_t>> mapaBunek;
    mapaBunek.reserve(aPolozky.size());
    for (size_t k = 0; k < aPolozky.size(); ++k)
        mapaBunek[KlicBunky(bunkaU(aPolozky[k].dUhel), bunkaP(aPolozky[k].dPosun))].push_back(k);

    m_mapSkupiny.clear();
    std::vector<char> aVeSkupine(n, 0);
    std::vector<size_t> aKandidati;
    for (size_t i = 0; i < n; ++i) {
        if (aVeSkupine[i])
            continue;
        aKandidati.clear();
        const std::int64_t nU = bunkaU(aVlastni[i].dUhel);
        const std::int64_t nP = bunkaP(aVlastni[i].dPosun);
        for (std::int64_t du = -1; du <= 1; ++du)
            for (std::int64_t dp = -1; dp <= 1; ++dp) {
                auto it = mapaBunek.find(KlicBunky(nU + du, nP + dp));
                if (it == mapaBunek.end())
                    continue;
                for (size_t k : it->second) {
                    const PolozkaIndexu& p = aPolozky[k];
                    // Cells can share a key; the bounds themselves decide.
                    if (p.nZaznam > i && bunkaU(p.dUhel) == nU + du && bunkaP(p.dPosun) == nP + dp)
                        aKandidati.push_back(p.nZaznam);
                }
            }
        std::sort(aKandidati.begin(), aKandidati.end());
        aKandidati.erase(std::unique(aKandidati.begin(), aKandidati.end()), aKandidati.end());
        for (size_t j : aKandidati)
            if (m_aUsecky[i].JeKolinearni(m_aUsecky[j]))
                PridejDoSkupiny(i, j, aVeSkupine);
    }
}

void CVoxSpojUsecky::NejvzdalenejsiBody(const std::vector<size_t>& aSkupina, AcGePoint2d& pt1,
                                        AcGePoint2d& pt2) const {
    std::vector<AcGePoint2d> aBody;
    auto pridej = [&aBody](const AcGePoint2d& pt) {
        if (std::find(aBody.begin(), aBody.end(), pt) == aBody.end())
            aBody.push_back(pt);
    };
    for (size_t k : aSkupina) {
        pridej(m_aUsecky[k].m_ptZacatek);
        pridej(m_aUsecky[k].m_ptKonec);
    }
    if (aBody.empty())
        VOX_THROW("Mapa bodů je neočekávaně prázdná - chyba v programu");
    pt1 = pt2 = aBody[0];
    double dNejvetsi = 0.0;
    for (const AcGePoint2d& a : aBody)
        for (const AcGePoint2d& b : aBody) {
            const double d = a.distanceTo(b);
            if (d > dNejvetsi) {
                dNejvetsi = d;
                pt1 = a;
                pt2 = b;
            }
        }
}

int CVoxSpojUsecky::Spoj() {
    int nSmazano = 0;
    for (const auto& [nPrvni, aSkupina] : m_mapSkupiny) {
        AcGePoint2d pt1, pt2;
        NejvzdalenejsiBody(aSkupina, pt1, pt2);
        AcDbLine* pUsecka = nullptr;
        if (acdbOpenObject(pUsecka, m_aUsecky[aSkupina[0]].m_id, AcDb::kForWrite) != Acad::eOk) {
            acutPrintf(L"\nEntitu nelze otevřít pro zápis");
        } else {
            pUsecka->setStartPoint(AcGePoint3d(pt1.x, pt1.y, 0.0));
            pUsecka->setEndPoint(AcGePoint3d(pt2.x, pt2.y, 0.0));
            pUsecka->close();
        }
        for (size_t k = 1; k < aSkupina.size(); ++k) {
            AcDbEntity* pEnt = nullptr;
            if (acdbOpenAcDbEntity(pEnt, m_aUsecky[aSkupina[k]].m_id, AcDb::kForWrite) !=
                Acad::eOk) {
                acutPrintf(L"\nEntitu nelze otevřít pro zápis");
                continue;
            }
            pEnt->erase();
            pEnt->close();
            ++nSmazano;
        }
    }
    return nSmazano;
}

AcGeTol TolerancePrevodu() {
    double dFaktor = 0.0;
    const AcDb::UnitsValue nJednotky = acdbHostApplicationServices()->workingDatabase()->insunits();
    if (acdbGetUnitsConversion(AcDb::kUnitsMillimeters, nJednotky, dFaktor) != Acad::eOk)
        VOX_THROW("Nelze získat přepočet jednotek");
    AcGeTol tol;
    tol.setEqualPoint(20.0 * dFaktor);
    tol.setEqualVector(std::min(20.0 * dFaktor, 0.02));
    return tol;
}

void PrikazSp() {
    const AcGeTol tol = TolerancePrevodu();
    acutPrintf(L"\nVyber úsečky k editaci <Konec>: ");
    resbuf* pFiltr = acutBuildList(RTDXF0, L"LINE", RTNONE);
    ads_name ss = {0, 0};
    const int nVysledek = acedSSGet(nullptr, nullptr, nullptr, pFiltr, ss);
    acutRelRb(pFiltr);
    if (nVysledek == RTREJ || nVysledek == RTCAN || nVysledek == RTERROR || nVysledek == RTNONE)
        return;
    if (nVysledek != RTNORM)
        return;
    CVoxSpojUsecky spojeni(tol);
    spojeni.NactiUsecky(ss);
    spojeni.NajdiKolinearni();
    if (spojeni.Skupiny().empty()) {
        acutPrintf(L"\nNebyly nalezeny žádné kolineární úsečky ke spojení");
        return;
    }
    acutPrintf(L"\nVymazáno %i objektů", spojeni.Spoj());
}
