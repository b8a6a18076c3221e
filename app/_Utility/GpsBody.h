// Surveyed GPS points read from a text file and drawn in the Czech national grid S-JTSK.
#pragma once

#include "StdAfx.h"

#include <string>
#include <vector>

// One point of the file: kind (0, 1, 2), number, WGS 84 latitude and longitude in decimal
// degrees, height in metres, and its name (the kind's letter of "ŠVP" and the number).
struct CVoxGpsBod {
    int nDruh = 0;
    int nCislo = 0;
    double dSirka = 0.0;
    double dDelka = 0.0;
    double dVyska = 0.0;
    std::wstring sJmeno;
};

// One line of the file: decimal commas become points, the fields are separated by ";"; fields
// after the fifth are ignored. False for a line with fewer than five fields or a kind other than
// 0, 1 or 2.
bool NactiRadekGps(const std::wstring& sRadek, CVoxGpsBod& bod);

// The text of the file: UTF-8 (with or without its signature), or Windows-1250 when the bytes are
// not valid UTF-8.
std::wstring DekodujSoubor(const std::string& sBajty);

// Where the national grid is defined (Czechia and Slovakia): latitude 47.73 to 51.06 degrees
// north, longitude 12.09 to 22.56 degrees east, bounds included.
constexpr double SJTSK_SIRKA_MIN = 47.73;
constexpr double SJTSK_SIRKA_MAX = 51.06;
constexpr double SJTSK_DELKA_MIN = 12.09;
constexpr double SJTSK_DELKA_MAX = 22.56;
bool JeVOblastiSjtsk(double dSirka, double dDelka);

// WGS 84 latitude and longitude (degrees) and ellipsoidal height (metres) to the plane
// coordinates X, Y of S-JTSK (metres): geocentric coordinates on WGS 84, the seven-parameter
// Helmert transformation to the Bessel 1841 ellipsoid, Bowring's inverse, the Krovak projection.
void PrevodGpsNaSjtsk(double dSirka, double dDelka, double dVyska, double& dX, double& dY);

namespace VoxSjtsk {

struct Elipsoid {
    double a;
    double b;
    double e2;
};
extern const Elipsoid WGS84;
extern const Elipsoid BESSEL1841;
extern const Elipsoid KRASOVSKIJ1940;

// The steps of PrevodGpsNaSjtsk; angles in radians.
void GeodetickeNaGeocentricke(const Elipsoid& el, double dFi, double dLambda, double dH, double& dX,
                              double& dY, double& dZ);
void Helmert(double dX, double dY, double dZ, double& dX2, double& dY2, double& dZ2);
void GeocentrickeNaGeodeticke(const Elipsoid& el, double dX, double dY, double dZ, double& dFi,
                              double& dLambda);
// Bessel latitude and longitude east of Greenwich to the grid.
void Krovak(double dFi, double dLambda, double& dX, double& dY);

} // namespace VoxSjtsk

// "nactiGPS".
void PrikazNactiGps();
