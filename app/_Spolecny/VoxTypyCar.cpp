#include "StdAfx.h"

#include "VoxTypyCar.h"

#include "CVoxException.h"
#include "CVoxRegistry.h"
#include "CVoxSet.h"
#include "VoxDb.h"
#include "VoxPlatforma.h"
#include "VoxStyly.h"

#include <cwctype>
#include <memory>
#include <sstream>

namespace {

// The lines of an 8-bit text file in the Windows code page; false when it cannot be opened.
bool NactiRadky(const std::wstring& sCesta, std::vector<std::wstring>& aRadky) {
    aRadky.clear();
    FILE* pSoubor = _wfopen(sCesta.c_str(), L"rb");
    if (!pSoubor)
        return false;
    std::string sBajty;
    char aBuf[4096];
    size_t n;
    while ((n = std::fread(aBuf, 1, sizeof(aBuf), pSoubor)) > 0)
        sBajty.append(aBuf, n);
    std::fclose(pSoubor);
    std::wstring sText;
    if (!sBajty.empty()) {
        const int nZnaku = MultiByteToWideChar(CP_ACP, 0, sBajty.data(),
                                               static_cast<int>(sBajty.size()), nullptr, 0);
        sText.resize(static_cast<size_t>(nZnaku > 0 ? nZnaku : 0));
        if (nZnaku > 0)
            MultiByteToWideChar(CP_ACP, 0, sBajty.data(), static_cast<int>(sBajty.size()),
                                sText.data(), nZnaku);
    }
    std::wistringstream in(sText);
    std::wstring sRadek;
    while (std::getline(in, sRadek)) {
        if (!sRadek.empty() && sRadek.back() == L'\r')
            sRadek.pop_back();
        aRadky.push_back(sRadek);
    }
    return true;
}

std::wstring Orizni(const std::wstring& s) {
    size_t a = 0, b = s.size();
    while (a < b && std::iswspace(s[a]))
        ++a;
    while (b > a && std::iswspace(s[b - 1]))
        --b;
    return s.substr(a, b - a);
}

std::wstring Velka(const std::wstring& s) {
    AcString sKopie(s.c_str());
    return NaVelka(sKopie);
}

void NelzeOtevrit(const std::wstring& sCesta) {
    acutPrintf(L"\nNepodařilo se otevřít soubor <%ls> pro čtení", sCesta.c_str());
    VOX_THROW("Nelze otevřít standardní lin file, opravte instalaci");
}

// The file name of a path (after its last separator).
std::wstring JmenoSouboru(const std::wstring& sCesta) {
    const size_t n = sCesta.find_last_of(L"/\\");
    return n == std::wstring::npos ? sCesta : sCesta.substr(n + 1);
}

AcDbObjectId NajdiTypCary(const std::wstring& sJmeno, AcDbDatabase* pDb) {
    AcDbLinetypeTable* pTabulka = nullptr;
    Acad::ErrorStatus es = pDb->getLinetypeTable(pTabulka, AcDb::kForRead);
    if (es != Acad::eOk)
        VOX_THROW_ERR("Nelze otevřít LineType table pro čtení", es);
    AcDbObjectId id;
    if (pTabulka->getAt(sJmeno.c_str(), id) != Acad::eOk)
        id = AcDbObjectId::kNull;
    pTabulka->close();
    return id;
}

bool Nacteno(Acad::ErrorStatus es) {
    return es == Acad::eOk || es == Acad::eDuplicateRecordName;
}

} // namespace

std::wstring AdresarTypuCar() {
    return CVoxRegistry::NactiCestu(REG_KLIC_VYROBCE, L"LIN", 4, true, false);
}

std::wstring AdresarInstalace() {
    return CVoxRegistry::NactiCestu(REG_KLIC_PRODUKT, L"", 1, true, false);
}

AcDbObjectId ZajistiTypCary(const std::wstring& sJmeno, AcDbDatabase* pDb) {
    if (!pDb)
        pDb = acdbHostApplicationServices()->workingDatabase();
    if (sJmeno == TYP_CARY_CONTINUOUS)
        return pDb->continuousLinetype();
    AcDbObjectId id = NajdiTypCary(sJmeno, pDb);
    if (!id.isNull())
        return id;
    NactiTypCary(sJmeno, pDb);
    id = NajdiTypCary(sJmeno, pDb);
    if (id.isNull())
        VOX_THROW("Nelze načíst standardní typy čar");
    return id;
}

void NactiTypCary(const std::wstring& sJmeno, AcDbDatabase* pDb) {
    const bool bIS = !sJmeno.empty() && sJmeno[0] == L'_';
    const std::wstring sCesta = AdresarTypuCar() + (bIS ? SOUBOR_LIN_IS : SOUBOR_LIN_ZAKLADNI);
    Acad::ErrorStatus es = acdbLoadLineTypeFile(sJmeno.c_str(), sCesta.c_str(), pDb);
    if (Nacteno(es))
        return;
    // The lines with text need the standard small text style; the lines of the networks their
    // shape file's style, and some of them the text style too.
    if (ZajistiTextStyl(L"KV_TXT_MALY").isNull())
        VOX_THROW("Nelze vytvořit KV_TXT_MALY pro čáry s textem");
    if (bIS)
        ZajistiTvarovyStyl(SOUBOR_SHX_IS);
    es = acdbLoadLineTypeFile(sJmeno.c_str(), sCesta.c_str(), pDb);
    if (!Nacteno(es))
        VOX_THROW_ERR("Nelze načíst standardní typy čar ze souboru, možná jen není nastavena "
                      "správná vyhlednávací cesta nebo je otevřene LineTypeTable",
                      es);
}

AcDbObjectId ZajistiTvarovyStyl(const std::wstring& sSoubor) {
    const std::wstring sCesta = AdresarTypuCar() + sSoubor;
    AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
    AcDbTextStyleTable* pTabulka = nullptr;
    Acad::ErrorStatus es = pDb->getTextStyleTable(pTabulka, AcDb::kForRead);
    if (es != Acad::eOk)
        VOX_THROW_ERR("Nelze otevřít AcDbTextStyleTable pro čtení", es);
    AcDbObjectId idVysledek;
    try {
        AcDbTextStyleTableIterator* pIter = nullptr;
        if (pTabulka->newIterator(pIter) != Acad::eOk || !pIter)
            VOX_THROW("Nelze získat AcDbTextStyleTableIterator");
        std::unique_ptr<AcDbTextStyleTableIterator> iter(pIter);
        for (; !iter->done() && idVysledek.isNull(); iter->step()) {
            AcDbTextStyleTableRecord* pStyl = nullptr;
            if (iter->getRecord(pStyl, AcDb::kForRead) != Acad::eOk)
                VOX_THROW("Nelze otevřít AcDbTextStyleTableRecord pro čtení");
            const ACHAR* sFont = nullptr;
            // The style made here names the file with its folder: the file names are compared.
            if (pStyl->fileName(sFont) == Acad::eOk && sFont &&
                _wcsicmp(JmenoSouboru(sFont).c_str(), sSoubor.c_str()) == 0)
                idVysledek = pStyl->objectId();
            pStyl->close();
        }
        if (idVysledek.isNull()) {
            es = pTabulka->upgradeOpen();
            if (es != Acad::eOk)
                VOX_THROW_ERR("Nelze přeotevřít AcDbTextStyleTableRecord pro zápis", es);
            auto* pStyl = new AcDbTextStyleTableRecord;
            pStyl->setFileName(sCesta.c_str());
            pStyl->setIsShapeFile(true);
            es = pTabulka->add(idVysledek, pStyl);
            if (es != Acad::eOk) {
                delete pStyl;
                VOX_THROW_ERR("Nelze přidat záznam do LineType Table", es);
            }
            pStyl->close();
        }
    } catch (...) {
        pTabulka->close();
        throw;
    }
    pTabulka->close();
    return idVysledek;
}

void NactiJmenaTypuCar(const std::wstring& sSoubor, MapaTypuCar& mapa) {
    const std::wstring sCesta = AdresarTypuCar() + sSoubor;
    std::vector<std::wstring> aRadky;
    if (!NactiRadky(sCesta, aRadky))
        NelzeOtevrit(sCesta);
    for (const std::wstring& sRadek : aRadky) {
        const std::wstring s = Orizni(sRadek);
        if (s.empty() || s[0] != L'*')
            continue;
        const std::wstring sJmeno =
            s.substr(1, s.find(L',') == std::wstring::npos ? std::wstring::npos : s.find(L',') - 1);
        mapa.emplace(CVoxSet::Klic(sJmeno), Velka(sJmeno));
    }
}

void NactiStandardniTypyCar(MapaTypuCar& mapa, MapaTypuCar* pMapaIS) {
    MapaTypuCar mapaIS;
    NactiJmenaTypuCar(SOUBOR_LIN_IS, mapaIS);
    mapa.insert(mapaIS.begin(), mapaIS.end());
    NactiJmenaTypuCar(SOUBOR_LIN_ZAKLADNI, mapa);
    if (pMapaIS)
        *pMapaIS = mapaIS;
}

void NactiStareTypyCar(MapaTypuCar& mapaStare, const MapaTypuCar& mapaIS) {
    const std::wstring sCesta = AdresarInstalace() + SOUBOR_PREVOD_LT;
    std::vector<std::wstring> aRadky;
    if (!NactiRadky(sCesta, aRadky))
        NelzeOtevrit(sCesta);
    size_t i = 0;
    // Everything up to the first section header, and the header itself, is skipped.
    while (i < aRadky.size() && (aRadky[i].empty() || aRadky[i][0] != L'['))
        ++i;
    for (++i; i < aRadky.size(); ++i) {
        std::wstring s = aRadky[i];
        s.erase(0, s.find_first_not_of(L' '));
        if (s.empty() || s[0] == L';')
            continue;
        std::wistringstream slova(s);
        std::wstring sNovy, sStary;
        if (!(slova >> sNovy))
            continue;
        const std::wstring sNovyVelky = Velka(sNovy);
        while (slova >> sStary)
            mapaStare.emplace(CVoxSet::Klic(sStary), sNovyVelky);
    }
    for (const auto& [sKlic, sJmeno] : mapaIS) {
        mapaStare.emplace(L"QX" + sKlic, sJmeno);
        if (!sKlic.empty())
            mapaStare.emplace(sKlic.substr(1), sJmeno);
    }
}

// ---- CVoxLTStyl ---------------------------------------------------------------------------------

CVoxLTStyl::CVoxLTStyl(const AcDbLinetypeTableRecord* pZaznam) {
    Nacti(pZaznam);
}

CVoxLTStyl::CVoxLTStyl(AcDbObjectId idZaznamu) {
    AcDbLinetypeTableRecord* pZaznam = nullptr;
    if (acdbOpenObject(pZaznam, idZaznamu, AcDb::kForRead) != Acad::eOk)
        VOX_THROW("\nStyl čáry neotevřen pro čtení...");
    Nacti(pZaznam);
    pZaznam->close();
}

void CVoxLTStyl::Nacti(const AcDbLinetypeTableRecord* pZaznam) {
    const ACHAR* sJmeno = nullptr;
    pZaznam->getName(sJmeno);
    m_sJmeno = sJmeno ? sJmeno : L"";
    const ACHAR* sPopis = nullptr;
    m_sPopis = pZaznam->comments(sPopis) == Acad::eOk && sPopis ? sPopis : L"";
    m_nPocetCarek = pZaznam->numDashes();
    m_dDelkaVzoru = pZaznam->patternLength();
    m_aCarky.clear();
    for (int i = 0; i < m_nPocetCarek; ++i) {
        CVoxLTCarka c;
        c.dDelka = pZaznam->dashLengthAt(i);
        c.idStylu = pZaznam->shapeStyleAt(i);
        c.nCisloTvaru = pZaznam->shapeNumberAt(i);
        const ACHAR* sText = nullptr;
        if (pZaznam->textAt(i, sText) == Acad::eOk && sText)
            c.sText = sText;
        if (!c.idStylu.isNull())
            c.nDruh = c.sText.empty() ? 2 : 1;
        c.bUcs = pZaznam->shapeIsUcsOrientedAt(i);
        c.posun = pZaznam->shapeOffsetAt(i);
        c.dRotace = pZaznam->shapeRotationAt(i);
        c.dMeritko = pZaznam->shapeScaleAt(i);
        m_aCarky.push_back(c);
    }
}

bool CVoxLTStyl::Zapis(AcDbLinetypeTableRecord* pZaznam) const {
    if (!pZaznam || !pZaznam->isWriteEnabled())
        return false;
    if (pZaznam->setName(m_sJmeno.c_str()) != Acad::eOk)
        return false;
    pZaznam->setComments(m_sPopis.c_str());
    pZaznam->setNumDashes(m_nPocetCarek);
    pZaznam->setPatternLength(m_dDelkaVzoru);
    bool bOk = true;
    for (int i = 0; i < m_nPocetCarek && i < static_cast<int>(m_aCarky.size()); ++i) {
        const CVoxLTCarka& c = m_aCarky[static_cast<size_t>(i)];
        pZaznam->setDashLengthAt(i, c.dDelka);
        pZaznam->setShapeNumberAt(i, c.nCisloTvaru);
        if (c.nDruh == 0)
            continue;
        pZaznam->setShapeIsUcsOrientedAt(i, c.bUcs);
        pZaznam->setShapeOffsetAt(i, c.posun);
        pZaznam->setShapeRotationAt(i, c.dRotace);
        pZaznam->setShapeScaleAt(i, c.dMeritko);
        if (!c.idStylu.isNull())
            pZaznam->setShapeStyleAt(i, c.idStylu);
        if (c.nDruh == 1 && pZaznam->setTextAt(i, c.sText.c_str()) != Acad::eOk)
            bOk = false;
    }
    return bOk;
}

// ---- Refresh ------------------------------------------------------------------------------------

int AktualizujTypyCar(const SeznamTypuCar& seznam, AcDbDatabase* pDb) {
    if (!pDb)
        pDb = acdbHostApplicationServices()->workingDatabase();
    AcDbLinetypeTable* pTabulka = nullptr;
    Acad::ErrorStatus es = pDb->getLinetypeTable(pTabulka, AcDb::kForWrite);
    if (es != Acad::eOk)
        VOX_THROW_ERR("Nelze otevřít LineType table for writting", es);
    // The records holding the names step aside under free temporary names.
    for (const auto& [sJmeno, id] : seznam) {
        AcDbLinetypeTableRecord* pZaznam = nullptr;
        if (pTabulka->getAt(sJmeno.c_str(), pZaznam, AcDb::kForWrite) != Acad::eOk)
            continue;
        std::wstring sVolne;
        for (wchar_t c = L'0'; c < 0xD800; ++c) {
            sVolne = sJmeno + L"_KVW_" + c;
            if (!pTabulka->has(sVolne.c_str()))
                break;
        }
        pZaznam->setName(sVolne.c_str());
        pZaznam->close();
    }
    pTabulka->close();

    for (const auto& polozka : seznam)
        NactiTypCary(polozka.first, pDb);

    es = pDb->getLinetypeTable(pTabulka, AcDb::kForWrite);
    if (es != Acad::eOk)
        VOX_THROW_ERR("Nelze otevřít LineType table for writting", es);
    int nAktualizovano = 0;
    try {
        for (const auto& [sJmeno, id] : seznam) {
            AcDbLinetypeTableRecord* pVzor = nullptr;
            if (pTabulka->getAt(sJmeno.c_str(), pVzor, AcDb::kForWrite) != Acad::eOk)
                VOX_THROW("Ltype načtený jako vzor nejde otevřít");
            const CVoxLTStyl kopie(pVzor);
            es = pVzor->erase();
            pVzor->close();
            if (es != Acad::eOk)
                VOX_THROW_ERR("Ltype načtený jako vzor nejde vymazat", es);
            AcDbObject* pObj = nullptr;
            bool bOk = false;
            if (acdbOpenObject(pObj, id, AcDb::kForWrite) == Acad::eOk) {
                if (AcDbLinetypeTableRecord* pZaznam = AcDbLinetypeTableRecord::cast(pObj))
                    bOk = kopie.Zapis(pZaznam);
                pObj->close();
            }
            if (bOk)
                ++nAktualizovano;
            else
                acutPrintf(L"\nNelze aktualizovat typ čáry %ls", sJmeno.c_str());
        }
    } catch (...) {
        pTabulka->close();
        throw;
    }
    pTabulka->close();
    acutPrintf(L"\nBylo přejmenováno a zaktualizováno %i typů čar (Linetype)", nAktualizovano);
    return nAktualizovano;
}
