// Standard linetypes: found or loaded from the installed files with the styles they need, the
// lists of standard and old names, and the refresh that keeps the drawing's records.
#include "hostfixture.h"

#include "CVoxException.h"
#include "CVoxSet.h"
#include "VoxPlatforma.h"
#include "VoxTypyCar.h"
#include "textconv.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const std::string kData = std::string(KRESBON_SOURCE_DIR) + "/data";

class TypyCar : public HostFixture {
protected:
    void TearDown() override {
        EXPECT_EQ(khost::openObjectCount(), 0);
        HostFixture::TearDown();
    }
    static void Hodnota(const wchar_t* sKlic, const wchar_t* sJmeno, const std::string& sCesta) {
        HKEY h = nullptr;
        DWORD d = 0;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, sKlic, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &h, &d),
                  ERROR_SUCCESS);
        const std::wstring s = khost::fromUtf8(sCesta);
        RegSetValueExW(h, sJmeno, 0, REG_SZ, reinterpret_cast<const BYTE*>(s.c_str()),
                       static_cast<DWORD>((s.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(h);
    }
    // The installed layout: the shared data and the installation folder of the source tree.
    void Instaluj(const std::string& sInstalace = kData + "/Kresbon") {
        Hodnota(L"Software\\Pelmex\\", L"CommonDataPath", kData + "/CommonData");
        Hodnota(L"Software\\Pelmex\\Kresbon\\", L"InstallPath", sInstalace);
    }
    AcDbLinetypeTableRecord* Otevri(AcDbObjectId id) {
        AcDbLinetypeTableRecord* p = nullptr;
        EXPECT_EQ(acdbOpenObject(p, id, AcDb::kForRead), Acad::eOk);
        return p;
    }
    static std::string Ansi(const char* s) { return VoxPlatforma::NaAnsi(s); }
};

TEST_F(TypyCar, ContinuousNeedsNoFilesOthersNeedTheInstallation) {
    EXPECT_EQ(ZajistiTypCary(L"*CONT*"), db()->continuousLinetype());
    try {
        ZajistiTypCary(L"SV");
        ADD_FAILURE() << "no exception";
    } catch (const CVoxException& e) {
        EXPECT_EQ(std::string(e.what()).rfind(Ansi("Nelze načíst Install/Data Path z registru "
                                                   "Windows (z HKLM ani z HKCU)"),
                                              0),
                  0u)
            << e.what();
    }
    MapaTypuCar mapa;
    EXPECT_THROW(NactiStandardniTypyCar(mapa), CVoxException);
}

TEST_F(TypyCar, LinetypesComeWithTheStylesTheyNeed) {
    Instaluj();
    const AcDbObjectId idSV = ZajistiTypCary(L"SV");
    ASSERT_FALSE(idSV.isNull());
    EXPECT_EQ(ZajistiTypCary(L"sv"), idSV);
    AcDbLinetypeTableRecord* p = Otevri(idSV);
    EXPECT_EQ(p->numDashes(), 4);
    p->close();

    // A line with text brings the small text style of the standard.
    const AcDbObjectId idCirk = ZajistiTypCary(L"CIRKULACE");
    AcDbTextStyleTable* pTab = nullptr;
    db()->getTextStyleTable(pTab, AcDb::kForRead);
    AcDbObjectId idMaly;
    EXPECT_EQ(pTab->getAt(L"KV_TXT_MALY", idMaly), Acad::eOk);
    pTab->close();
    p = Otevri(idCirk);
    EXPECT_EQ(p->shapeStyleAt(1), idMaly);
    p->close();

    // The lines of the networks bring the shape file's style, made once.
    const AcDbObjectId idKan = ZajistiTypCary(L"_KANALIZACE");
    p = Otevri(idKan);
    const AcDbObjectId idTvary = p->shapeStyleAt(1);
    EXPECT_EQ(p->shapeNumberAt(1), 5);
    p->close();
    AcDbTextStyleTableRecord* pStyl = nullptr;
    ASSERT_EQ(acdbOpenObject(pStyl, idTvary, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(pStyl->isShapeFile());
    EXPECT_STREQ(pStyl->name(), L"");
    const ACHAR* sSoubor = nullptr;
    pStyl->fileName(sSoubor);
    EXPECT_EQ(khost::toUtf8(sSoubor), kData + "/CommonData/LIN/KV_IS.shx");
    pStyl->close();
    p = Otevri(ZajistiTypCary(L"_OPLOCENI"));
    EXPECT_EQ(p->shapeStyleAt(1), idTvary); // the style is made once
    p->close();
    EXPECT_FALSE(ZajistiTypCary(L"_VODOVOD").isNull());

    // Every linetype the standard layers name can be had.
    for (const auto& [sKlic, def] : g_VoxSet.Hladiny())
        EXPECT_FALSE(ZajistiTypCary(def.m_sTypCary).isNull()) << khost::toUtf8(def.m_sTypCary);
    p = Otevri(ZajistiTypCary(L"TEČKOVANÁ"));
    EXPECT_STREQ(p->name(), L"TEČKOVANÁ");
    p->close();

    try {
        ZajistiTypCary(L"NEEXISTUJE");
        ADD_FAILURE() << "no exception";
    } catch (const CVoxException& e) {
        const std::string s = e.what();
        EXPECT_EQ(s.rfind(Ansi("Nelze načíst standardní typy čar ze souboru"), 0), 0u) << s;
        EXPECT_NE(s.find("Err: 162"), std::string::npos) << s;
    }
}

TEST_F(TypyCar, StandardAndOldNames) {
    Instaluj();
    MapaTypuCar mapa, mapaIS;
    NactiStandardniTypyCar(mapa, &mapaIS);
    EXPECT_EQ(mapaIS.size(), 12u);
    EXPECT_EQ(mapa.size(), 26u);
    EXPECT_EQ(mapa[L"TECKOVANA"], L"TEČKOVANÁ");
    EXPECT_EQ(mapa[L"CARKOVANA"], L"ČÁRKOVANÁ");
    EXPECT_EQ(mapaIS[L"_VODOVOD"], L"_VODOVOD");
    EXPECT_EQ(mapa.count(L"KAN-PODL"), 1u);

    MapaTypuCar stare;
    NactiStareTypyCar(stare, mapaIS);
    EXPECT_EQ(stare[L"QX-SV"], L"SV");
    EXPECT_EQ(stare[L"TECKY"], L"TEČKOVANÁ");
    EXPECT_EQ(stare[L"UZITKOVA_VODA"], L"UZITKOVA");
    EXPECT_EQ(stare[L"QX_VODOVOD"], L"_VODOVOD");
    EXPECT_EQ(stare[L"VODOVOD"], L"_VODOVOD");
    EXPECT_EQ(stare.count(L"SV"), 0u); // a new name is no old one
    // No old name is a current one, or the conversion would rename current linetypes.
    for (const auto& [sKlic, sNovy] : stare)
        EXPECT_EQ(mapa.count(sKlic), 0u) << khost::toUtf8(sKlic);

    // A conversion file of another installation: its first line is the section header;
    // comments, blank lines and one-word lines map nothing; the earlier entry of a name stays.
    const fs::path dir = fs::path(m_home) / "instalace";
    fs::create_directories(dir);
    std::ofstream(dir / "KV_prevodLT.kvu", std::ios::binary)
        << "[X]\r\n   NOVA  STARA1\tSTARA2\r\n; KOMENTAR STARY\r\n\r\nSAMOTNA\r\n"
           "JINA STARA1 \xC8\xC1RA\r\n";
    Instaluj(dir.string());
    stare.clear();
    NactiStareTypyCar(stare, MapaTypuCar{{L"_X", L"_X"}});
    EXPECT_EQ(stare, (MapaTypuCar{{L"STARA1", L"NOVA"},
                                  {L"STARA2", L"NOVA"},
                                  {L"CARA", L"JINA"},
                                  {L"QX_X", L"_X"},
                                  {L"X", L"_X"}}));

    fs::remove(dir / "KV_prevodLT.kvu");
    transcript();
    EXPECT_THROW(NactiStareTypyCar(stare, mapaIS), CVoxException);
    EXPECT_EQ(transcript(), L"\nNepodařilo se otevřít soubor <" +
                                khost::fromUtf8((dir / "KV_prevodLT.kvu").string()) +
                                L"> pro čtení");
}

TEST_F(TypyCar, RefreshKeepsTheRecordsAndTheirReferences) {
    Instaluj();
    const AcDbObjectId idSV = ZajistiTypCary(L"SV");
    const AcDbObjectId idCirk = ZajistiTypCary(L"CIRKULACE");
    // The drawing's SV has an old pattern, and an old record STUDENA stands for TUV.
    AcDbLinetypeTableRecord* p = nullptr;
    ASSERT_EQ(acdbOpenObject(p, idSV, AcDb::kForWrite), Acad::eOk);
    p->setNumDashes(2);
    p->setDashLengthAt(0, 1.0);
    p->setDashLengthAt(1, -1.0);
    p->setPatternLength(2.0);
    p->close();
    AcDbLinetypeTable* pTab = nullptr;
    ASSERT_EQ(db()->getLinetypeTable(pTab, AcDb::kForWrite), Acad::eOk);
    auto* pStudena = new AcDbLinetypeTableRecord;
    pStudena->setName(L"STUDENA");
    AcDbObjectId idStudena;
    ASSERT_EQ(pTab->add(idStudena, pStudena), Acad::eOk);
    pStudena->close();
    pTab->close();
    auto* pCara = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(5, 0, 0));
    pCara->setLinetype(idSV);
    AcDbBlockTableRecord* pMs = nullptr;
    acdbOpenObject(pMs, db()->currentSpaceId(), AcDb::kForWrite);
    AcDbObjectId idCara;
    pMs->appendAcDbEntity(idCara, pCara);
    pCara->close();
    pMs->close();

    transcript();
    EXPECT_EQ(AktualizujTypyCar({{L"SV", idSV}, {L"TUV", idStudena}, {L"CIRKULACE", idCirk}}), 3);
    EXPECT_EQ(transcript(), L"\nBylo přejmenováno a zaktualizováno 3 typů čar (Linetype)");

    p = Otevri(idSV);
    EXPECT_STREQ(p->name(), L"SV");
    EXPECT_EQ(p->numDashes(), 4);
    EXPECT_EQ(p->patternLength(), 15.0);
    p->close();
    p = Otevri(idStudena);
    EXPECT_STREQ(p->name(), L"TUV");
    EXPECT_EQ(p->numDashes(), 6);
    p->close();
    p = Otevri(idCirk);
    const ACHAR* sText = nullptr;
    p->textAt(1, sText);
    EXPECT_STREQ(sText, L"C");
    EXPECT_FALSE(p->shapeStyleAt(1).isNull());
    p->close();
    // The names lead to the drawing's own records, and nothing is left under a temporary name.
    ASSERT_EQ(db()->getLinetypeTable(pTab, AcDb::kForRead), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(pTab->getAt(L"SV", id), Acad::eOk);
    EXPECT_EQ(id, idSV);
    EXPECT_EQ(pTab->getAt(L"TUV", id), Acad::eOk);
    EXPECT_EQ(id, idStudena);
    EXPECT_FALSE(pTab->has(L"STUDENA"));
    AcDbLinetypeTableIterator* pIt = nullptr;
    pTab->newIterator(pIt);
    for (; !pIt->done(); pIt->step()) {
        pIt->getRecordId(id);
        p = Otevri(id);
        EXPECT_EQ(std::wstring(p->name()).find(L"_KVW_"), std::wstring::npos) << p->name();
        p->close();
    }
    delete pIt;
    pTab->close();
    AcDbEntity* pEnt = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(pEnt, idCara, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(pEnt->linetypeId(), idSV);
    pEnt->close();

    EXPECT_THROW(CVoxLTStyl(AcDbObjectId::kNull), CVoxException);
}

} // namespace
