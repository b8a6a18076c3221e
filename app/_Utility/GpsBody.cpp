#include "StdAfx.h"

#include "GpsBody.h"

#include "CVoxEntity.h"
#include "CVoxException.h"

#include <cmath>
#include <cstdio>

namespace VoxSjtsk {

const Elipsoid WGS84 = {6378137.0, 6356752.31425, 0.006694379990141};
const Elipsoid BESSEL1841 = {6377397.15508, 6356078.9629, 0.006674372230622};
const Elipsoid KRASOVSKIJ1940 = {6378245.0, 6356863.01877, 0.006693421622966};

namespace {
constexpr double PI = 3.14159265358979323846;
}

void GeodetickeNaGeocentricke(const Elipsoid& el, double dFi, double dLambda, double dH, double& dX,
                              double& dY, double& dZ) {
    const double dSinFi = std::sin(dFi);
    const double dN = el.a / std::sqrt(1.0 - el.e2 * dSinFi * dSinFi);
    dX = (dN + dH) * std::cos(dFi) * std::cos(dLambda);
    dY = (dN + dH) * std::cos(dFi) * std::sin(dLambda);
    dZ = ((1.0 - el.e2) * dN + dH) * dSinFi;
}

void Helmert(double dX, double dY, double dZ, double& dX2, double& dY2, double& dZ2) {
    const double tx = -570.8285;
    const double ty = -85.676889;
    const double tz = -462.84202;
    const double ds = -3.5623099e-06;
    const double rx = 2.4232944974685244e-05;
    const double ry = 7.69261818760871e-06;
    const double rz = 2.5506425433030275e-05;
    dX2 = tx + (1.0 + ds) * (dX + rz * dY - ry * dZ);
    dY2 = ty + (1.0 + ds) * (-rz * dX + dY + rx * dZ);
    dZ2 = tz + (1.0 + ds) * (ry * dX - rx * dY + dZ);
}

void GeocentrickeNaGeodeticke(const Elipsoid& el, double dX, double dY, double dZ, double& dFi,
                              double& dLambda) {
    const double p = std::sqrt(dX * dX + dY * dY);
    const double theta = std::atan(el.a * dZ / (el.b * p));
    const double s = std::sin(theta);
    const double c = std::cos(theta);
    dFi = std::atan((dZ + el.e2 * el.a * el.a / el.b * s * s * s) / (p - el.e2 * el.a * c * c * c));
    dLambda = 2.0 * std::atan(dY / (dX + p));
}

void Krovak(double dFi, double dLambda, double& dX, double& dY) {
    const double e = 0.081696830453381;
    const double alfa = 1.000597498371542;
    const double k = 1.0034191640000047;
    const double n = 0.97992470462083;
    const double t =
        std::tan(dFi / 2.0 + PI / 4.0) *
        std::pow((1.0 - e * std::sin(dFi)) / (1.0 + e * std::sin(dFi)), 0.0408484152266905);
    const double U = 2.0 * (std::atan(k * std::pow(t, alfa)) - PI / 4.0);
    const double V = alfa * (dLambda + 0.3083415011856649);
    const double dV = 0.742208135432484 - V;
    const double S = std::asin(std::sin(1.042168563797518) * std::sin(U) +
                               std::cos(1.042168563797518) * std::cos(U) * std::cos(dV));
    const double D = std::asin(std::cos(U) * std::sin(dV) / std::cos(S));
    const double eps = n * D;
    const double rho = 1298039.004638987 *
                       std::pow(std::tan(1.4704398948052226) / std::tan(S / 2.0 + PI / 4.0), n);
    dX = rho * std::cos(eps);
    dY = rho * std::sin(eps);
}

} // namespace VoxSjtsk

void PrevodGpsNaSjtsk(double dSirka, double dDelka, double dVyska, double& dX, double& dY) {
    using namespace VoxSjtsk;
    const double dFi = dSirka / 57.29577951308232;
    const double dLambda = dDelka / 57.29577951308232;
    double x = 0.0, y = 0.0, z = 0.0;
    GeodetickeNaGeocentricke(WGS84, dFi, dLambda, dVyska, x, y, z);
    double x2 = 0.0, y2 = 0.0, z2 = 0.0;
    Helmert(x, y, z, x2, y2, z2);
    double dFiB = 0.0, dLambdaB = 0.0;
    GeocentrickeNaGeodeticke(BESSEL1841, x2, y2, z2, dFiB, dLambdaB);
    Krovak(dFiB, dLambdaB, dX, dY);
}

bool JeVOblastiSjtsk(double dSirka, double dDelka) {
    return dSirka >= SJTSK_SIRKA_MIN && dSirka <= SJTSK_SIRKA_MAX && dDelka >= SJTSK_DELKA_MIN &&
           dDelka <= SJTSK_DELKA_MAX;
}

bool NactiRadekGps(const std::wstring& sRadek, CVoxGpsBod& bod) {
    std::wstring s = sRadek;
    for (wchar_t& c : s)
        if (c == L',')
            c = L'.';
    std::vector<std::wstring> aPole;
    size_t nZacatek = 0;
    for (;;) {
        const size_t nKonec = s.find(L';', nZacatek);
        aPole.push_back(s.substr(nZacatek, nKonec == std::wstring::npos ? std::wstring::npos
                                                                        : nKonec - nZacatek));
        if (nKonec == std::wstring::npos)
            break;
        nZacatek = nKonec + 1;
    }
    if (aPole.size() < 5)
        return false;
    bod.nDruh = _wtoi(aPole[0].c_str());
    bod.nCislo = _wtoi(aPole[1].c_str());
    bod.dSirka = _wtof(aPole[2].c_str());
    bod.dDelka = _wtof(aPole[3].c_str());
    bod.dVyska = _wtof(aPole[4].c_str());
    if (bod.nDruh < 0 || bod.nDruh > 2)
        return false;
    static const wchar_t sPismena[] = L"ŠVP";
    CString sJmeno;
    sJmeno.Format(L"%lc%i", sPismena[bod.nDruh], bod.nCislo);
    bod.sJmeno = static_cast<const wchar_t*>(sJmeno);
    return true;
}

std::wstring DekodujSoubor(const std::string& sBajty) {
    std::string s = sBajty;
    if (s.size() >= 3 && static_cast<unsigned char>(s[0]) == 0xEF &&
        static_cast<unsigned char>(s[1]) == 0xBB && static_cast<unsigned char>(s[2]) == 0xBF)
        s.erase(0, 3);
    if (s.empty())
        return std::wstring();
    const int nBajtu = static_cast<int>(s.size());
    UINT nStrana = CP_UTF8;
    int nZnaku = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, s.data(), nBajtu, nullptr, 0);
    if (nZnaku <= 0) {
        nStrana = 1250;
        nZnaku = MultiByteToWideChar(1250, 0, s.data(), nBajtu, nullptr, 0);
    }
    if (nZnaku <= 0)
        return std::wstring();
    std::wstring sText(static_cast<size_t>(nZnaku), L'\0');
    MultiByteToWideChar(nStrana, 0, s.data(), nBajtu, sText.data(), nZnaku);
    return sText;
}

namespace {

void ZpravaChyby(const ACHAR* sText) {
    MessageBoxW(adsw_acadMainWnd(), sText, L"Kresbon pro AutoCad", MB_OK | MB_ICONERROR);
}

// Reads the whole file; false after the message box of its failure.
bool NactiSoubor(const std::wstring& sCesta, std::string& sBajty) {
    FILE* pSoubor = _wfopen(sCesta.c_str(), L"rb");
    if (!pSoubor) {
        ZpravaChyby(L"Nelze otevřít soubor");
        return false;
    }
    char aBuffer[65536];
    size_t n = 0;
    while ((n = std::fread(aBuffer, 1, sizeof aBuffer, pSoubor)) > 0)
        sBajty.append(aBuffer, n);
    const bool bChyba = std::ferror(pSoubor) != 0;
    std::fclose(pSoubor);
    if (bChyba || sBajty.empty()) {
        ZpravaChyby(L"Nelze číst ze souboru\npoškozený soubor nebo nulová délka");
        return false;
    }
    return true;
}

std::vector<std::wstring> Radky(const std::wstring& sText) {
    std::vector<std::wstring> aRadky;
    size_t nZacatek = 0;
    while (nZacatek <= sText.size()) {
        size_t nKonec = sText.find(L'\n', nZacatek);
        if (nKonec == std::wstring::npos)
            nKonec = sText.size();
        std::wstring sRadek = sText.substr(nZacatek, nKonec - nZacatek);
        if (!sRadek.empty() && sRadek.back() == L'\r')
            sRadek.pop_back();
        aRadky.push_back(sRadek);
        nZacatek = nKonec + 1;
    }
    return aRadky;
}

bool JePrazdny(const std::wstring& s) {
    return s.find_first_not_of(L" \t") == std::wstring::npos;
}

void NakresliBod(AcDbBlockTableRecord* pModel, const CVoxGpsBod& bod, AcDbObjectId idHladina0,
                 AcDbObjectId idStyl) {
    double dX = 0.0, dY = 0.0;
    PrevodGpsNaSjtsk(bod.dSirka, bod.dDelka, 200.0, dX, dY);
    const AcGePoint3d ptBod(-dY, -dX, 0.0);
    const Adesk::UInt16 nBarva = static_cast<Adesk::UInt16>(bod.nDruh * 2 + 1);
    CString sPopis;
    sPopis.Format(L"%ls - %.2f m", bod.sJmeno.c_str(), bod.dVyska);

    auto* pKruh = new AcDbCircle(ptBod, AcGeVector3d::kZAxis, 1.0);
    pKruh->setLayer(idHladina0);
    pKruh->setColorIndex(nBarva);
    AcDbObjectId idKruh;
    if (pModel->appendAcDbEntity(idKruh, pKruh) == Acad::eOk) {
        pKruh->close();
    } else {
        delete pKruh;
        acutPrintf(L"\n%ls - nevytvořen", bod.sJmeno.c_str());
    }

    CVoxTextDef def;
    def.m_ptVlozeni = ptBod;
    def.m_idHladina = idHladina0;
    def.m_idStyl = idStyl;
    def.m_dVyska = 0.5;
    def.m_dUhel = 0.0;
    def.m_dSirka = 1.0;
    def.m_sText = static_cast<const wchar_t*>(sPopis);
    def.m_nHorizontalne = AcDb::kTextLeft;
    def.m_nVertikalne = AcDb::kTextBase;
    const AcDbObjectId idText = VytvorText(def, pModel, true, false, false);
    AcDbEntity* pText = nullptr;
    if (!idText.isNull() && acdbOpenAcDbEntity(pText, idText, AcDb::kForWrite) == Acad::eOk) {
        pText->setColorIndex(nBarva);
        pText->close();
    }
}

void NakresliBody(const std::vector<CVoxGpsBod>& aBody) {
    AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
    AcDbBlockTable* pTabulka = nullptr;
    Acad::ErrorStatus es = pDb->getBlockTable(pTabulka, AcDb::kForRead);
    if (es != Acad::eOk)
        VOX_THROW_ERR("Nelze otevřít AcDbBlockTable pro čtení", es);
    AcDbBlockTableRecord* pModel = nullptr;
    es = pTabulka->getAt(ACDB_MODEL_SPACE, pModel, AcDb::kForWrite);
    pTabulka->close();
    if (es != Acad::eOk)
        VOX_THROW_ERR("Nelze otevřít modelový prostor pro zápis", es);
    try {
        for (const CVoxGpsBod& bod : aBody)
            NakresliBod(pModel, bod, pDb->layerZero(), pDb->textstyle());
    } catch (...) {
        pModel->close();
        throw;
    }
    pModel->close();
}

} // namespace

void PrikazNactiGps() {
    resbuf* pVysledek = nullptr;
    if (acedGetFileNavDialog(L"Načíst GPS body", nullptr, L"txt;csv;*", L"NactiGPS", 0,
                             &pVysledek) != RTNORM ||
        !pVysledek) {
        if (pVysledek)
            acutRelRb(pVysledek);
        return;
    }
    const std::wstring sCesta = pVysledek->resval.rstring ? pVysledek->resval.rstring : L"";
    acutRelRb(pVysledek);

    std::vector<CVoxGpsBod> aBody;
    try {
        std::string sBajty;
        if (!NactiSoubor(sCesta, sBajty))
            return;
        for (const std::wstring& sRadek : Radky(DekodujSoubor(sBajty))) {
            if (JePrazdny(sRadek))
                continue;
            CVoxGpsBod bod;
            if (!NactiRadekGps(sRadek, bod)) {
                acutPrintf(L"\nŘádek \"%ls\" není bod (druh;číslo;šířka;délka;výška) - vynechán",
                           sRadek.c_str());
                continue;
            }
            // Outside the grid's area the projection gives points thousands of kilometres
            // away (a receiver without a fix writes 0;0): such a point is reported, not drawn.
            if (!JeVOblastiSjtsk(bod.dSirka, bod.dDelka)) {
                acutPrintf(L"\n%ls - poloha %.6f; %.6f leží mimo oblast S-JTSK (šířka %.2f až "
                           L"%.2f°, délka %.2f až %.2f°), nevykreslen",
                           bod.sJmeno.c_str(), bod.dSirka, bod.dDelka, SJTSK_SIRKA_MIN,
                           SJTSK_SIRKA_MAX, SJTSK_DELKA_MIN, SJTSK_DELKA_MAX);
                continue;
            }
            aBody.push_back(bod);
        }
    } catch (const std::exception&) {
        ZpravaChyby(L"Neočekávaná výjimka");
        return;
    } catch (...) {
        ZpravaChyby(L"Nedefinovaná výjimka");
        return;
    }
    NakresliBody(aBody);
}
