// Standard linetypes: found in a drawing or loaded from the installation's linetype files, the
// lists of standard and old linetype names, and the refresh of the definitions a drawing holds.
#pragma once

#include "StdAfx.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

#define SOUBOR_LIN_IS L"KV_IS.lin"
#define SOUBOR_LIN_ZAKLADNI L"KV_zakladni_cary.lin"
#define SOUBOR_SHX_IS L"KV_IS.shx"
#define SOUBOR_PREVOD_LT L"KV_prevodLT.kvu"

// Name key (without diacritics, upper-cased) to a linetype name upper-cased.
typedef std::map<std::wstring, std::wstring> MapaTypuCar;
// Linetype names with the object ids of the records a drawing holds under them.
typedef std::vector<std::pair<std::wstring, AcDbObjectId>> SeznamTypuCar;

// The folder of the linetype and shape files ("CommonDataPath" + "LIN") and the installation
// folder ("InstallPath"), each ending with a separator.
std::wstring AdresarTypuCar();
std::wstring AdresarInstalace();

// The linetype of the name in the drawing (the working one when null): the drawing's
// continuous linetype for "*CONT*", else the record of that name, loaded from the standard
// files when missing.
AcDbObjectId ZajistiTypCary(const std::wstring& sJmeno, AcDbDatabase* pDb = nullptr);
// Loads one standard linetype: from "KV_IS.lin" for a name beginning with "_", else from
// "KV_zakladni_cary.lin"; when the host refuses, provides the styles the file needs and tries
// once more.
void NactiTypCary(const std::wstring& sJmeno, AcDbDatabase* pDb);
// The text style of a shape file of the linetype folder in the working drawing (made when
// missing).
AcDbObjectId ZajistiTvarovyStyl(const std::wstring& sSoubor);

// The linetype names of a ".lin" file of the linetype folder, added to the map.
void NactiJmenaTypuCar(const std::wstring& sSoubor, MapaTypuCar& mapa);
// The standard names: from "KV_IS.lin" (also into pMapaIS when given), then from
// "KV_zakladni_cary.lin".
void NactiStandardniTypyCar(MapaTypuCar& mapa, MapaTypuCar* pMapaIS = nullptr);
// The old names: from "KV_prevodLT.kvu", then for every name of "KV_IS.lin" the same name with
// "QX" in front and without its first character.
void NactiStareTypyCar(MapaTypuCar& mapaStare, const MapaTypuCar& mapaIS);

// One dash of a linetype.
struct CVoxLTCarka {
    double dDelka = 0.0;
    std::wstring sText;
    int nDruh = 0; // 0 plain dash, 1 text, 2 shape
    int nCisloTvaru = 0;
    bool bUcs = false;
    AcGeVector2d posun;
    double dRotace = 0.0;
    double dMeritko = 1.0;
    AcDbObjectId idStylu;
};

// A value copy of a linetype record.
class CVoxLTStyl {
public:
    explicit CVoxLTStyl(const AcDbLinetypeTableRecord* pZaznam);
    explicit CVoxLTStyl(AcDbObjectId idZaznamu);
    // Writes the copy into another record open for write; false when the host refused a part.
    bool Zapis(AcDbLinetypeTableRecord* pZaznam) const;

    std::wstring m_sJmeno;
    std::wstring m_sPopis; // the description shown beside the pattern
    int m_nPocetCarek = 0;
    double m_dDelkaVzoru = 0.0;
    std::vector<CVoxLTCarka> m_aCarky;

private:
    void Nacti(const AcDbLinetypeTableRecord* pZaznam);
};

// Gives the records of the list their names and the current standard definitions, keeping
// their object ids; returns the number of records refreshed.
int AktualizujTypyCar(const SeznamTypuCar& seznam, AcDbDatabase* pDb = nullptr);
