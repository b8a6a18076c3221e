#include "StdAfx.h"

#include "VoxPrevod.h"

#include "CVoxException.h"
#include "CVoxNastav.h"
#include "CVoxSet.h"
#include "VoxHladiny.h"
#include "VoxStyly.h"
#include "dbmleaderstyle.h"
#include "dbtablestyle.h"

#include <functional>

using CVoxCmd::MapaId;

namespace {

AcDbDatabase* PracovniDb() {
    return acdbHostApplicationServices()->workingDatabase();
}

// The id of the record of that name in a symbol table of the working drawing, null when none.
template <class TTabulka> AcDbObjectId NajdiZaznam(const std::wstring& sJmeno) {
    TTabulka* pTabulka = nullptr;
    if (PracovniDb()->getSymbolTable(pTabulka, AcDb::kForRead) != Acad::eOk)
        VOX_THROW("Nelze otevřít tabulku symbolů pro čtení");
    AcDbObjectId id;
    if (pTabulka->getAt(sJmeno.c_str(), id) != Acad::eOk)
        id = AcDbObjectId::kNull;
    pTabulka->close();
    return id;
}

// A dictionary of the named object dictionary, open for read; null when the drawing lacks it.
AcDbDictionary* OtevriSlovnik(const ACHAR* sJmeno) {
    AcDbDictionary* pNod = nullptr;
    if (PracovniDb()->getNamedObjectsDictionary(pNod, AcDb::kForRead) != Acad::eOk)
        VOX_THROW("Nelze otevřít AcDbNamedObjectDictionary for read");
    AcDbDictionary* pSlovnik = nullptr;
    if (pNod->getAt(sJmeno, pSlovnik, AcDb::kForRead) != Acad::eOk)
        pSlovnik = nullptr;
    pNod->close();
    return pSlovnik;
}

AcDbObjectId NajdiMLeaderStyl(const std::wstring& sJmeno) {
    AcDbDictionary* pSlovnik = OtevriSlovnik(L"ACAD_MLEADERSTYLE");
    if (!pSlovnik)
        return AcDbObjectId::kNull;
    AcDbObjectId id;
    if (pSlovnik->getAt(sJmeno.c_str(), id) != Acad::eOk)
        id = AcDbObjectId::kNull;
    pSlovnik->close();
    return id;
}

// The ids of the objects of a dictionary of the named object dictionary.
std::vector<AcDbObjectId> ObjektySlovniku(const ACHAR* sJmeno) {
    std::vector<AcDbObjectId> aId;
    AcDbDictionary* pSlovnik = OtevriSlovnik(sJmeno);
    if (!pSlovnik)
        return aId;
    AcDbDictionaryIterator* pIter = pSlovnik->newIterator();
    for (; pIter && !pIter->done(); pIter->next())
        aId.push_back(pIter->objectId());
    delete pIter;
    pSlovnik->close();
    return aId;
}

// The ids of the records of a symbol table, without those of external references.
template <class TTabulka> std::vector<AcDbObjectId> ZaznamyTabulky() {
    std::vector<AcDbObjectId> aId;
    TTabulka* pTabulka = nullptr;
    if (PracovniDb()->getSymbolTable(pTabulka, AcDb::kForRead) != Acad::eOk)
        VOX_THROW("Nelze otevřít tabulku symbolů pro čtení");
    AcDbSymbolTableIterator* pIter = nullptr;
    if (pTabulka->newIterator(pIter) == Acad::eOk) {
        for (; !pIter->done(); pIter->step()) {
            AcDbSymbolTableRecord* pZaznam = nullptr;
            if (pIter->getRecord(pZaznam, AcDb::kForRead) != Acad::eOk)
                continue;
            if (!pZaznam->isDependent())
                aId.push_back(pZaznam->objectId());
            pZaznam->close();
        }
        delete pIter;
    }
    pTabulka->close();
    return aId;
}

// The replacement of an id, null when the list has none.
AcDbObjectId Nahrada(const MapaId& mapa, AcDbObjectId id) {
    auto it = mapa.find(id);
    return it == mapa.end() ? AcDbObjectId::kNull : it->second;
}

// The result of one kind of style: found, renamed, and the pairs to merge.
struct VysledekStylu {
    int nNalezeno = 0;
    int nPrejmenovano = 0;
    MapaId mapaSlouceni;
};

// Renames or pairs the old styles of one kind. fNajdi finds a style by name; fPrejmenuj opens
// the old style, renames it and gives it its standard values (true when all of it succeeded);
// fMaDefinici says whether the standard defines the new name.
void PrevedDruhStylu(const StareNazvy::MapaJmen& mapa,
                     const std::function<AcDbObjectId(const std::wstring&)>& fNajdi,
                     const std::function<bool(const std::wstring&)>& fMaDefinici,
                     const std::function<bool(AcDbObjectId, const std::wstring&)>& fPrejmenuj,
                     VysledekStylu& vysledek) {
    for (const auto& [sStare, sNove] : mapa) {
        const AcDbObjectId idStary = fNajdi(sStare);
        if (idStary.isNull())
            continue;
        ++vysledek.nNalezeno;
        const AcDbObjectId idNovy = fNajdi(sNove);
        if (idNovy.isNull()) {
            if (!fMaDefinici(sNove))
                VOX_THROW("Nenalezen název v mapě");
            if (fPrejmenuj(idStary, sNove))
                ++vysledek.nPrejmenovano;
        } else if (idNovy != idStary) {
            vysledek.mapaSlouceni[idStary] = idNovy;
        }
    }
}

// Opens an object for write, runs the assignment and closes it, also when it throws.
template <class T, class F> bool ZapisDo(AcDbObjectId id, F fZapis) {
    T* pObj = nullptr;
    if (acdbOpenObject(pObj, id, AcDb::kForWrite) != Acad::eOk)
        return false;
    bool bOk = false;
    try {
        bOk = fZapis(pObj);
    } catch (...) {
        pObj->close();
        throw;
    }
    pObj->close();
    return bOk;
}

bool PrejmenujTextStyl(AcDbObjectId id, const std::wstring& sNove) {
    const TextStyleDef& def = *g_VoxSet.NajdiTextStyl(sNove);
    return ZapisDo<AcDbTextStyleTableRecord>(id, [&](AcDbTextStyleTableRecord* p) {
        return p->setName(def.m_sJmeno.c_str()) == Acad::eOk && NastavHodnotyTextStylu(p, def) == 0;
    });
}

bool PrejmenujKotStyl(AcDbObjectId id, const std::wstring& sNove) {
    const DimStyleDef& def = *g_VoxSet.NajdiKotStyl(sNove);
    return ZapisDo<AcDbDimStyleTableRecord>(id, [&](AcDbDimStyleTableRecord* p) {
        return p->setName(def.m_sJmeno.c_str()) == Acad::eOk && NastavHodnotyKotStylu(p, def) == 0;
    });
}

bool PrejmenujMLeaderStyl(AcDbObjectId id, const std::wstring& sNove) {
    const MLeaderStyleDef& def = *g_VoxSet.NajdiMLeaderStyl(sNove);
    return ZapisDo<AcDbMLeaderStyle>(id, [&](AcDbMLeaderStyle* p) {
        if (p->setName(def.m_sJmeno.c_str()) != Acad::eOk || NastavHodnotyMLeaderStylu(p, def) != 0)
            return false;
        NastavSipkuMLeaderStylu(p, def);
        return true;
    });
}

// Makes the replacement current where the old object is, then erases the old objects of the
// list; returns the number of those that could not be erased.
int SmazStare(const MapaId& mapa, AcDbObjectId (AcDbDatabase::*fAktualni)() const,
              Acad::ErrorStatus (AcDbDatabase::*fNastavAktualni)(AcDbObjectId)) {
    AcDbDatabase* pDb = PracovniDb();
    int nChyby = 0;
    for (const auto& [idStary, idNovy] : mapa) {
        if ((pDb->*fAktualni)() == idStary)
            (pDb->*fNastavAktualni)(idNovy);
        AcDbObject* pObj = nullptr;
        if (acdbOpenObject(pObj, idStary, AcDb::kForWrite) != Acad::eOk) {
            ++nChyby;
            continue;
        }
        if (pObj->erase() != Acad::eOk)
            ++nChyby;
        pObj->close();
    }
    return nChyby;
}

// Entity walk of lt1: linetype scale 1, and with the setting on, ByLayer properties.
class VoxUZmenLTScaleNaJedna : public CVoxCmd::ProjdiDwgFce {
public:
    VoxUZmenLTScaleNaJedna(bool bByLayer, AcDbObjectId idByLayer)
        : m_bByLayer(bByLayer), m_idByLayer(idByLayer) {}
    int operator()(AcDbEntity* pEnt) override {
        acutPrintf(L".");
        bool bOk = pEnt->setLinetypeScale(1.0, true) == Acad::eOk;
        if (m_bByLayer) {
            bOk = pEnt->setLinetype(m_idByLayer, true) == Acad::eOk && bOk;
            bOk = pEnt->setLineWeight(AcDb::kLnWtByLayer, true) == Acad::eOk && bOk;
            bOk = pEnt->setColorIndex(256, true) == Acad::eOk && bOk;
        }
        return bOk ? 1 : 0;
    }

private:
    bool m_bByLayer;
    AcDbObjectId m_idByLayer;
};

std::wstring Orizni(const std::wstring& s, const wchar_t* sZnaky) {
    const size_t a = s.find_first_not_of(sZnaky);
    if (a == std::wstring::npos)
        return std::wstring();
    return s.substr(a, s.find_last_not_of(sZnaky) - a + 1);
}

std::wstring JmenoZaznamu(AcDbObjectId id) {
    AcDbSymbolTableRecord* p = nullptr;
    if (acdbOpenObject(p, id, AcDb::kForRead) != Acad::eOk)
        return std::wstring();
    const std::wstring s = p->name();
    p->close();
    return s;
}

} // namespace

StareNazvy::StareNazvy() {
    m_TextStyly = {{L"TEXT-QX-P", L"KV_TXT_MALY"}, {L"TEXT-QX", L"KV_TXT_MALY"},
                   {L"TEXT-020", L"KV_TXT_MALY"},  {L"TEXT-035", L"KV_TXT_MALY"},
                   {L"TEXT-050", L"KV_TXT_VELKY"}, {L"TEXT-NADPIS", L"KV_TXT_VELKY"}};
    m_MLeaderStyly = {{L"QX_POZICE", L"KV_POZICE"},
                      {L"QX_SIPKA", L"KV_SIPKA"},
                      {L"QX_TECKA", L"KV_TECKA"},
                      {L"QX_VYTYCENI", L"KV_VYTYCENI"}};
    m_KotStyly = {{L"P_VNEJSI", L"KV_VNEJSI"},    {L"P_M_VNEJSI", L"KV_VNEJSI_M"},
                  {L"P_VNITRNI", L"KV_VNITRNI"},  {L"P_M_VNITRNI", L"KV_VNITRNI_M"},
                  {L"P_VODA2", L"KV_VODA1"},      {L"P_VODA1", L"KV_VODA2"},
                  {L"KANALIZACE", L"KV_KANREZ"},  {L"KANALIZACE+", L"KV_KANREZ"},
                  {L"KANALIZACE-", L"KV_KANREZ"}, {L"KANALIZACE-S", L"KV_KANREZ"},
                  {L"STANICENI", L"KV_KANSTAN"}};
    MapaTypuCar mapaIS;
    NactiStandardniTypyCar(m_StandardniTypyCar, &mapaIS);
    NactiStareTypyCar(m_StareTypyCar, mapaIS);
}

void PrevedTypyCar(const StareNazvy& nazvy, MapaId& mapaTypuCar) {
    AcDbLinetypeTable* pTabulka = nullptr;
    if (PracovniDb()->getLinetypeTable(pTabulka, AcDb::kForRead) != Acad::eOk)
        VOX_THROW("Nelze otevřít table for reading");
    SeznamTypuCar seznam;
    auto NajdiVSeznamu = [&seznam](const std::wstring& sJmeno) {
        const std::wstring sKlic = CVoxSet::Klic(sJmeno);
        for (const auto& polozka : seznam)
            if (CVoxSet::Klic(polozka.first) == sKlic)
                return polozka.second;
        return AcDbObjectId::kNull;
    };
    AcDbLinetypeTableIterator* pIter = nullptr;
    if (pTabulka->newIterator(pIter) != Acad::eOk) {
        pTabulka->close();
        VOX_THROW("Nelze otevřít table for reading");
    }
    for (; !pIter->done(); pIter->step()) {
        AcDbLinetypeTableRecord* pZaznam = nullptr;
        if (pIter->getRecord(pZaznam, AcDb::kForRead) != Acad::eOk)
            continue;
        const bool bZavisly = pZaznam->isDependent();
        const std::wstring sJmeno = pZaznam->name();
        const AcDbObjectId id = pZaznam->objectId();
        pZaznam->close();
        if (bZavisly)
            continue;

        const std::wstring sKlic = CVoxSet::Klic(sJmeno);
        auto itStary = nazvy.m_StareTypyCar.find(Orizni(sKlic, L"_-. "));
        if (itStary != nazvy.m_StareTypyCar.end()) {
            const std::wstring& sNove = itStary->second;
            AcDbObjectId idNovy;
            if (pTabulka->getAt(sNove.c_str(), idNovy) == Acad::eOk && idNovy != id) {
                mapaTypuCar[id] = idNovy;
                if (NajdiVSeznamu(sNove).isNull())
                    seznam.emplace_back(sNove, idNovy);
            } else if (const AcDbObjectId idVSeznamu = NajdiVSeznamu(sNove); !idVSeznamu.isNull()) {
                if (idVSeznamu != id)
                    mapaTypuCar[id] = idVSeznamu;
            } else {
                seznam.emplace_back(sNove, id);
            }
        } else if (auto itStd = nazvy.m_StandardniTypyCar.find(sKlic);
                   itStd != nazvy.m_StandardniTypyCar.end()) {
            if (NajdiVSeznamu(itStd->second).isNull())
                seznam.emplace_back(itStd->second, id);
        }
    }
    delete pIter;
    pTabulka->close();

    // A record that was listed for its own name and then found to be merged away must not be
    // refreshed as well.
    std::erase_if(seznam, [&mapaTypuCar](const auto& p) { return mapaTypuCar.count(p.second); });
    AktualizujTypyCar(seznam);
}

void SloucitStyly(const MapaId& mapaMLeader, const MapaId& mapaText, const MapaId& mapaKot,
                  const MapaId& mapaTypuCar) {
    AcDbDatabase* pDb = PracovniDb();

    if (!mapaText.empty()) {
        int nKot = 0;
        for (const AcDbObjectId& id : ZaznamyTabulky<AcDbDimStyleTable>()) {
            if (ZapisDo<AcDbDimStyleTableRecord>(id, [&](AcDbDimStyleTableRecord* p) {
                    const AcDbObjectId idNovy = Nahrada(mapaText, p->dimtxsty());
                    return !idNovy.isNull() && p->setDimtxsty(idNovy) == Acad::eOk;
                }))
                ++nKot;
        }
        acutPrintf(L"\nBylo převedeno %i textových stylů v kótovacích stylech", nKot);

        int nMLeader = 0;
        for (const AcDbObjectId& id : ObjektySlovniku(L"ACAD_MLEADERSTYLE")) {
            if (ZapisDo<AcDbMLeaderStyle>(id, [&](AcDbMLeaderStyle* p) {
                    const AcDbObjectId idNovy = Nahrada(mapaText, p->textStyleId());
                    return !idNovy.isNull() && p->setTextStyleId(idNovy) == Acad::eOk;
                }))
                ++nMLeader;
        }
        acutPrintf(L"\nBylo převedeno %i textových stylů v M-Leader stylech", nMLeader);

        // Each row type of a table style keeps a text style of its own.
        for (const AcDbObjectId& id : ObjektySlovniku(L"ACAD_TABLESTYLE")) {
            ZapisDo<AcDbTableStyle>(id, [&](AcDbTableStyle* p) {
                for (AcDb::RowType nRadek : {AcDb::kTitleRow, AcDb::kHeaderRow, AcDb::kDataRow}) {
                    const AcDbObjectId idNovy = Nahrada(mapaText, p->textStyle(nRadek));
                    if (!idNovy.isNull())
                        p->setTextStyle(idNovy, nRadek);
                }
                return true;
            });
        }

        // The text and shape dashes of linetypes name their style too.
        for (const AcDbObjectId& id : ZaznamyTabulky<AcDbLinetypeTable>()) {
            ZapisDo<AcDbLinetypeTableRecord>(id, [&](AcDbLinetypeTableRecord* p) {
                for (int i = 0; i < p->numDashes(); ++i) {
                    const AcDbObjectId idNovy = Nahrada(mapaText, p->shapeStyleAt(i));
                    if (!idNovy.isNull())
                        p->setShapeStyleAt(i, idNovy);
                }
                return true;
            });
        }
    }

    if (!mapaTypuCar.empty()) {
        int nPrevedeno = 0;
        int nChyby = 0;
        for (const AcDbObjectId& id : ZaznamyTabulky<AcDbLayerTable>()) {
            AcDbLayerTableRecord* pHladina = nullptr;
            if (acdbOpenObject(pHladina, id, AcDb::kForRead) != Acad::eOk)
                continue;
            const AcDbObjectId idNovy = Nahrada(mapaTypuCar, pHladina->linetypeObjectId());
            if (idNovy.isNull()) {
                pHladina->close();
                continue;
            }
            if (pHladina->upgradeOpen() != Acad::eOk) {
                pHladina->close();
                ++nChyby;
                continue;
            }
            pHladina->setLinetypeObjectId(idNovy);
            const bool bOk = pHladina->linetypeObjectId() == idNovy;
            const std::wstring sHladina = pHladina->name();
            pHladina->close();
            if (!bOk) {
                ++nChyby;
                continue;
            }
            ++nPrevedeno;
            acutPrintf(L"\nHladina:    %ls    LType:   %ls", sHladina.c_str(),
                       JmenoZaznamu(idNovy).c_str());
        }
        acutPrintf(L"\nBylo převedeno %i typů čar v hladinách, nebylo možné převést %i typů čar v "
                   L"hladinách",
                   nPrevedeno, nChyby);

        // Dimension and multileader styles draw their lines with a linetype too.
        for (const AcDbObjectId& id : ZaznamyTabulky<AcDbDimStyleTable>()) {
            ZapisDo<AcDbDimStyleTableRecord>(id, [&](AcDbDimStyleTableRecord* p) {
                if (AcDbObjectId i = Nahrada(mapaTypuCar, p->dimltype()); !i.isNull())
                    p->setDimltype(i);
                if (AcDbObjectId i = Nahrada(mapaTypuCar, p->dimltex1()); !i.isNull())
                    p->setDimltex1(i);
                if (AcDbObjectId i = Nahrada(mapaTypuCar, p->dimltex2()); !i.isNull())
                    p->setDimltex2(i);
                return true;
            });
        }
        for (const AcDbObjectId& id : ObjektySlovniku(L"ACAD_MLEADERSTYLE")) {
            ZapisDo<AcDbMLeaderStyle>(id, [&](AcDbMLeaderStyle* p) {
                const AcDbObjectId idNovy = Nahrada(mapaTypuCar, p->leaderLineTypeId());
                return !idNovy.isNull() && p->setLeaderLineTypeId(idNovy) == Acad::eOk;
            });
        }
    }

    CVoxCmd::TabulkyStylu tabulky;
    tabulky.pTextStyly = &mapaText;
    tabulky.pKotTextStyly = &mapaText;
    tabulky.pMLeaderStyly = &mapaMLeader;
    tabulky.pKotStyly = &mapaKot;
    tabulky.pTypyCar = &mapaTypuCar;
    CVoxCmd::ZmenTS_DS_MLS fce(tabulky);
    ProjdiDwg(fce, PROJDI_VSE, true, 2, pDb);

    int nChyby = SmazStare(mapaText, &AcDbDatabase::textstyle, &AcDbDatabase::setTextstyle);
    nChyby += SmazStare(mapaKot, &AcDbDatabase::dimstyle, &AcDbDatabase::setDimstyle);
    nChyby += SmazStare(mapaMLeader, &AcDbDatabase::mleaderstyle, &AcDbDatabase::setMLeaderstyle);
    nChyby += SmazStare(mapaTypuCar, &AcDbDatabase::celtype, &AcDbDatabase::setCeltype);
    if (nChyby > 0)
        acutPrintf(L"\nNepodařilo se smazat %i starých stylů", nChyby);
}

void PrevedStareNazvy(int nMaska) {
    if (nMaska & PREVOD_HLADINY)
        PrevedStareHladiny();

    const StareNazvy nazvy;

    MapaId mapaTypuCar;
    if (nMaska & PREVOD_TYPY_CAR)
        PrevedTypyCar(nazvy, mapaTypuCar);

    VysledekStylu text, mleader, kot;
    if (nMaska & PREVOD_STYLY) {
        PrevedDruhStylu(
            nazvy.m_MLeaderStyly, &NajdiMLeaderStyl,
            [](const std::wstring& s) { return g_VoxSet.NajdiMLeaderStyl(s) != nullptr; },
            &PrejmenujMLeaderStyl, mleader);
        PrevedDruhStylu(
            nazvy.m_KotStyly, &NajdiZaznam<AcDbDimStyleTable>,
            [](const std::wstring& s) { return g_VoxSet.NajdiKotStyl(s) != nullptr; },
            &PrejmenujKotStyl, kot);
        PrevedDruhStylu(
            nazvy.m_TextStyly, &NajdiZaznam<AcDbTextStyleTable>,
            [](const std::wstring& s) { return g_VoxSet.NajdiTextStyl(s) != nullptr; },
            &PrejmenujTextStyl, text);
        acutPrintf(L"\nNalezeno: %i a přejmenováno %i starých textových stylů. %i bude sloučeno",
                   text.nNalezeno, text.nPrejmenovano, static_cast<int>(text.mapaSlouceni.size()));
        acutPrintf(L"\nNalezeno: %i a přejmenováno %i starých stylů multiodkazu. %i bude sloučeno",
                   mleader.nNalezeno, mleader.nPrejmenovano,
                   static_cast<int>(mleader.mapaSlouceni.size()));
        acutPrintf(L"\nNalezeno: %i a přejmenováno %i starých kótovacích stylů. %i bude sloučeno",
                   kot.nNalezeno, kot.nPrejmenovano, static_cast<int>(kot.mapaSlouceni.size()));
        acutPrintf(L"\n");
    }

    SloucitStyly(mleader.mapaSlouceni, text.mapaSlouceni, kot.mapaSlouceni, mapaTypuCar);
}

void PrikazPreved() {
    PrevedStareNazvy(PREVOD_VSE);
}

void PrikazLt1() {
    AcDbDatabase* pDb = PracovniDb();
    acutPrintf(L"\nNastavuji LTScale na 1, MSLTScale na 1");
    pDb->setLtscale(1.0);
    pDb->setMsltscale(true);
    acutPrintf(L"\n.......měním měřítko entit na 1, to může chvíli trvat");
    const bool bByLayer = g_pNastaveni && g_pNastaveni->m_nSetByLayer != 0;
    VoxUZmenLTScaleNaJedna fce(bByLayer, pDb->byLayerLinetype());
    ProjdiDwg(fce, PROJDI_VSE, true, 1, pDb);
}
