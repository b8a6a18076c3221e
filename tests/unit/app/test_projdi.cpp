// The drawing walk: which block records it visits, how it opens entities, what it prints, and
// the layer-changing functor.
#include "hostfixture.h"

#include "CVoxException.h"
#include "VoxProjdiDwg.h"

#include <set>
#include <stdexcept>

namespace {

// Records every entity it is handed; reports a change for each.
struct Zapis : CVoxCmd::ProjdiDwgFce {
    std::vector<AcDbObjectId> aIds;
    int operator()(AcDbEntity* pEnt) override {
        aIds.push_back(pEnt->objectId());
        return 1;
    }
};

// Changes the colour; reports a change only when the host took it.
struct ZmenBarvu : CVoxCmd::ProjdiDwgFce {
    int operator()(AcDbEntity* pEnt) override {
        return pEnt->setColorIndex(3) == Acad::eOk ? 1 : 0;
    }
};

class Projdi : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        m_idModel = Pridej(ModelId(), 2);
        m_idPapir = Pridej(PapirId(), 1);
        AcDbBlockTable* pBt = nullptr;
        ASSERT_EQ(db()->getBlockTable(pBt, AcDb::kForWrite), Acad::eOk);
        auto* pBlok = new AcDbBlockTableRecord;
        pBlok->setName(L"BLOK1");
        ASSERT_EQ(pBt->add(m_idBlok, pBlok), Acad::eOk);
        pBlok->close();
        pBt->close();
        m_idDefinice = Pridej(m_idBlok, 3);
    }
    void TearDown() override {
        EXPECT_EQ(khost::openObjectCount(), 0);
        HostFixture::TearDown();
    }
    AcDbObjectId Zaznam(const ACHAR* sJmeno) {
        AcDbBlockTable* pBt = nullptr;
        AcDbObjectId id;
        if (db()->getBlockTable(pBt, AcDb::kForRead) == Acad::eOk) {
            pBt->getAt(sJmeno, id);
            pBt->close();
        }
        return id;
    }
    AcDbObjectId ModelId() { return Zaznam(ACDB_MODEL_SPACE); }
    AcDbObjectId PapirId() { return Zaznam(ACDB_PAPER_SPACE); }
    // Adds n lines to a block record; returns the id of the first.
    AcDbObjectIdArray Pridej(AcDbObjectId idZaznamu, int n) {
        AcDbObjectIdArray ids;
        AcDbBlockTableRecord* pZaznam = nullptr;
        if (acdbOpenObject(pZaznam, idZaznamu, AcDb::kForWrite) != Acad::eOk)
            return ids;
        for (int i = 0; i < n; ++i) {
            auto* pLine = new AcDbLine(AcGePoint3d(i, 0, 0), AcGePoint3d(i, 1, 0));
            AcDbObjectId id;
            pZaznam->appendAcDbEntity(id, pLine);
            pLine->close();
            ids.append(id);
        }
        pZaznam->close();
        return ids;
    }
    std::set<AcDbObjectId> Navstivene(int nPriznaky) {
        Zapis z;
        const int nZmeneno = ProjdiDwg(z, nPriznaky, false, 1, db());
        EXPECT_EQ(nZmeneno, static_cast<int>(z.aIds.size()));
        std::set<AcDbObjectId> s(z.aIds.begin(), z.aIds.end());
        EXPECT_EQ(s.size(), z.aIds.size()) << "an entity was visited twice";
        return s;
    }
    static std::set<AcDbObjectId> Mnozina(std::initializer_list<AcDbObjectIdArray> seznamy) {
        std::set<AcDbObjectId> s;
        for (const AcDbObjectIdArray& a : seznamy)
            for (int i = 0; i < a.length(); ++i)
                s.insert(a[i]);
        return s;
    }

    AcDbObjectIdArray m_idModel, m_idPapir, m_idDefinice;
    AcDbObjectId m_idBlok;
};

TEST_F(Projdi, FlagsChooseTheBlockRecords) {
    EXPECT_EQ(Navstivene(PROJDI_MODEL), Mnozina({m_idModel}));
    EXPECT_EQ(Navstivene(PROJDI_LAYOUTY), Mnozina({m_idPapir}));
    EXPECT_EQ(Navstivene(PROJDI_BLOKY), Mnozina({m_idDefinice}));
    EXPECT_EQ(Navstivene(PROJDI_MODEL | PROJDI_BLOKY), Mnozina({m_idModel, m_idDefinice}));
    EXPECT_EQ(Navstivene(PROJDI_VSE), Mnozina({m_idModel, m_idPapir, m_idDefinice}));
    EXPECT_TRUE(Navstivene(0).empty());

    // The current space alone: model space, then the layout once paper space is current.
    EXPECT_EQ(Navstivene(PROJDI_AKTUALNI), Mnozina({m_idModel}));
    resbuf rb{};
    rb.restype = RTSHORT;
    rb.resval.rint = 0;
    ASSERT_EQ(acedSetVar(L"TILEMODE", &rb), RTNORM);
    EXPECT_EQ(Navstivene(PROJDI_AKTUALNI), Mnozina({m_idPapir}));
    // A record chosen by two bits is still visited once.
    EXPECT_EQ(Navstivene(PROJDI_AKTUALNI | PROJDI_LAYOUTY), Mnozina({m_idPapir}));
}

TEST_F(Projdi, ReadModeMakesWritesFailAndPassesRepeat) {
    ZmenBarvu zmena;
    EXPECT_EQ(ProjdiDwg(zmena, PROJDI_VSE | PROJDI_PRO_CTENI, false, 1, db()), 0);
    AcDbEntity* pEnt = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(pEnt, m_idModel[0], AcDb::kForRead), Acad::eOk);
    EXPECT_NE(pEnt->colorIndex(), 3);
    pEnt->close();

    EXPECT_EQ(ProjdiDwg(zmena, PROJDI_VSE, false, 1, db()), 6);
    ASSERT_EQ(acdbOpenAcDbEntity(pEnt, m_idDefinice[2], AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(pEnt->colorIndex(), 3);
    pEnt->close();

    Zapis z;
    EXPECT_EQ(ProjdiDwg(z, PROJDI_MODEL, false, 3, db()), 6);
    EXPECT_EQ(z.aIds.size(), 6u);
}

TEST_F(Projdi, ErasedEntitiesOnlyWithTheirFlag) {
    AcDbEntity* pEnt = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(pEnt, m_idModel[1], AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(pEnt->erase(), Acad::eOk);
    pEnt->close();
    EXPECT_EQ(Navstivene(PROJDI_MODEL), Mnozina({AcDbObjectIdArray{m_idModel[0]}}));
    EXPECT_EQ(Navstivene(PROJDI_MODEL | PROJDI_SMAZANE), Mnozina({m_idModel}));
    EXPECT_EQ(Navstivene(PROJDI_MODEL | PROJDI_SMAZANE | PROJDI_PRO_CTENI), Mnozina({m_idModel}));
}

TEST_F(Projdi, PrintsDotsPerRecordAndTheSummary) {
    transcript();
    Zapis z;
    // Three block records: model space, paper space and BLOK1.
    EXPECT_EQ(ProjdiDwg(z, PROJDI_VSE, true, 2, db()), 12);
    EXPECT_EQ(transcript(),
              L"\n......\nBylo prověřeno 12 entit, změněno 12 entit, 0 entit nebylo možno otevřít");
    ProjdiDwg(z, PROJDI_MODEL, false, 1, db());
    EXPECT_EQ(transcript(), L"\n");

    // An entity that another holder has open for write cannot be opened; a block record open
    // for write cannot be read and is skipped with a warning.
    AcDbEntity* pDrzena = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(pDrzena, m_idModel[0], AcDb::kForWrite), Acad::eOk);
    AcDbBlockTableRecord* pBlok = nullptr;
    ASSERT_EQ(acdbOpenObject(pBlok, m_idBlok, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(ProjdiDwg(z, PROJDI_VSE | PROJDI_PRO_CTENI, true, 1, db()), 2);
    EXPECT_EQ(transcript(), L"\n...\nNelze získat BlockRecord....doporučujeme restaurovat "
                            L"výkres!!!!\nBylo prověřeno 3 entit, změněno 2 entit, 1 entit nebylo "
                            L"možno otevřít");
    pBlok->close();
    pDrzena->close();
}

TEST_F(Projdi, AnExceptionOfTheFunctorClosesEverything) {
    struct Vyhodi : CVoxCmd::ProjdiDwgFce {
        int n = 0;
        int operator()(AcDbEntity*) override {
            if (++n == 2)
                VOX_THROW("chyba funktoru");
            return 1;
        }
    } vyhodi;
    EXPECT_THROW(ProjdiDwg(vyhodi, PROJDI_VSE, true, 1, db()), CVoxException);
    EXPECT_EQ(khost::openObjectCount(), 0);
    // The drawing is usable afterwards.
    Zapis z;
    EXPECT_EQ(ProjdiDwg(z, PROJDI_VSE, false, 1, db()), 6);
    EXPECT_THROW(ProjdiDwg(z, PROJDI_VSE, false, 1, nullptr), CVoxException);
}

// Adds a record of the given kind to its table.
template <class TABULKA, class ZAZNAM>
AcDbObjectId PridejZaznam(AcDbDatabase* pDb, const ACHAR* sJmeno) {
    TABULKA* pTab = nullptr;
    AcDbObjectId id;
    if (pDb->getSymbolTable(pTab, AcDb::kForWrite) != Acad::eOk)
        return id;
    auto* pZaznam = new ZAZNAM;
    pZaznam->setName(sJmeno);
    if (pTab->add(id, pZaznam) == Acad::eOk)
        pZaznam->close();
    else
        delete pZaznam;
    pTab->close();
    return id;
}

AcDbObjectId PridejMLeaderStyl(AcDbDatabase* pDb, const ACHAR* sJmeno) {
    AcDbDictionary* pSlovnik = nullptr;
    AcDbObjectId id;
    if (pDb->getMLeaderStyleDictionary(pSlovnik, AcDb::kForWrite) != Acad::eOk)
        return id;
    auto* pStyl = new AcDbMLeaderStyle;
    pStyl->setName(sJmeno);
    if (pSlovnik->setAt(sJmeno, pStyl, id) == Acad::eOk)
        pStyl->close();
    else
        delete pStyl;
    pSlovnik->close();
    return id;
}

TEST_F(Projdi, StyleReplacementReachesEveryKindOfEntity) {
    AcDbDatabase* pDb = db();
    const AcDbObjectId tsStary =
        PridejZaznam<AcDbTextStyleTable, AcDbTextStyleTableRecord>(pDb, L"TEXT-020");
    const AcDbObjectId tsNovy =
        PridejZaznam<AcDbTextStyleTable, AcDbTextStyleTableRecord>(pDb, L"KV_TXT_MALY");
    const AcDbObjectId tsJiny =
        PridejZaznam<AcDbTextStyleTable, AcDbTextStyleTableRecord>(pDb, L"JINY");
    const AcDbObjectId dsStary =
        PridejZaznam<AcDbDimStyleTable, AcDbDimStyleTableRecord>(pDb, L"P_VNEJSI");
    const AcDbObjectId dsNovy =
        PridejZaznam<AcDbDimStyleTable, AcDbDimStyleTableRecord>(pDb, L"KV_VNEJSI");
    const AcDbObjectId ltStary =
        PridejZaznam<AcDbLinetypeTable, AcDbLinetypeTableRecord>(pDb, L"STUDENA");
    const AcDbObjectId ltNovy =
        PridejZaznam<AcDbLinetypeTable, AcDbLinetypeTableRecord>(pDb, L"SV");
    const AcDbObjectId mlStary = PridejMLeaderStyl(pDb, L"QX_SIPKA");
    const AcDbObjectId mlNovy = PridejMLeaderStyl(pDb, L"KV_SIPKA");
    ASSERT_FALSE(mlNovy.isNull());

    auto Pridej1 = [&](AcDbEntity* pEnt) {
        AcDbBlockTableRecord* pMs = nullptr;
        acdbOpenObject(pMs, ModelId(), AcDb::kForWrite);
        AcDbObjectId id;
        EXPECT_EQ(pMs->appendAcDbEntity(id, pEnt), Acad::eOk);
        pEnt->close();
        pMs->close();
        return id;
    };
    auto* pText = new AcDbText(AcGePoint3d(0, 0, 0), L"SV", tsStary, 2.5);
    pText->setLinetype(ltStary);
    const AcDbObjectId idText = Pridej1(pText);
    auto* pMText = new AcDbMText;
    pMText->setContents(L"TUV");
    pMText->setTextStyle(tsStary);
    const AcDbObjectId idMText = Pridej1(pMText);
    auto* pKota = new AcDbAlignedDimension(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0),
                                           AcGePoint3d(5, 5, 0), nullptr, dsStary);
    const AcDbObjectId idKota = Pridej1(pKota);
    {
        // The dimension's own text style (an override of its style's).
        AcDbDimension* p = nullptr;
        ASSERT_EQ(acdbOpenObject(p, idKota, AcDb::kForWrite), Acad::eOk);
        EXPECT_EQ(p->setDimtxsty(tsStary), Acad::eOk);
        p->close();
    }
    auto* pML = new AcDbMLeader;
    pML->setMLeaderStyle(mlStary);
    pML->setTextStyleId(tsStary);
    const AcDbObjectId idML = Pridej1(pML);
    auto* pLine = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0));
    pLine->setLinetype(ltStary);
    const AcDbObjectId idLine = Pridej1(pLine);
    const AcDbObjectId idJiny = Pridej1(new AcDbText(AcGePoint3d(0, 0, 0), L"X", tsJiny, 2.5));

    CVoxCmd::MapaId textove{{tsStary, tsNovy}};
    CVoxCmd::MapaId kotovaci{{dsStary, dsNovy}};
    CVoxCmd::MapaId mleader{{mlStary, mlNovy}};
    CVoxCmd::MapaId cary{{ltStary, ltNovy}};
    CVoxCmd::TabulkyStylu tabulky;
    tabulky.pTextStyly = &textove;
    tabulky.pKotTextStyly = &textove;
    tabulky.pKotStyly = &kotovaci;
    tabulky.pMLeaderStyly = &mleader;
    tabulky.pTypyCar = &cary;
    CVoxCmd::ZmenTS_DS_MLS zmena(tabulky);
    // Five entities change: the text, the multiline text, the dimension, the multileader and
    // the line; the text of another style and the lines made in SetUp do not.
    EXPECT_EQ(ProjdiDwg(zmena, PROJDI_VSE, false, 1, pDb), 5);

    auto Otevri = [](AcDbObjectId id) {
        AcDbEntity* p = nullptr;
        EXPECT_EQ(acdbOpenAcDbEntity(p, id, AcDb::kForRead), Acad::eOk);
        return std::unique_ptr<AcDbEntity, void (*)(AcDbEntity*)>(
            p, [](AcDbEntity* e) { e->close(); });
    };
    EXPECT_EQ(AcDbText::cast(Otevri(idText).get())->textStyle(), tsNovy);
    EXPECT_EQ(Otevri(idText)->linetypeId(), ltNovy);
    EXPECT_EQ(AcDbMText::cast(Otevri(idMText).get())->textStyle(), tsNovy);
    EXPECT_EQ(AcDbDimension::cast(Otevri(idKota).get())->dimensionStyle(), dsNovy);
    EXPECT_EQ(AcDbDimension::cast(Otevri(idKota).get())->dimtxsty(), tsNovy);
    EXPECT_EQ(AcDbMLeader::cast(Otevri(idML).get())->MLeaderStyle(), mlNovy);
    EXPECT_EQ(AcDbMLeader::cast(Otevri(idML).get())->textStyleId(), tsNovy);
    EXPECT_EQ(Otevri(idLine)->linetypeId(), ltNovy);
    EXPECT_EQ(AcDbText::cast(Otevri(idJiny).get())->textStyle(), tsJiny);
    // A second walk finds nothing left to replace; empty tables change nothing.
    EXPECT_EQ(ProjdiDwg(zmena, PROJDI_VSE, false, 1, pDb), 0);
    CVoxCmd::TabulkyStylu prazdne;
    CVoxCmd::ZmenTS_DS_MLS nic(prazdne);
    EXPECT_EQ(ProjdiDwg(nic, PROJDI_VSE, false, 1, pDb), 0);
}

TEST_F(Projdi, BlockReferencesFoundByNameOrDefinition) {
    AcDbDatabase* pDb = db();
    const AcDbObjectId idVoda =
        PridejZaznam<AcDbBlockTable, AcDbBlockTableRecord>(pDb, L"Značka_voda");
    const AcDbObjectId idPlyn =
        PridejZaznam<AcDbBlockTable, AcDbBlockTableRecord>(pDb, L"ZNAČKA_PLYN");
    const AcDbObjectId idJiny = PridejZaznam<AcDbBlockTable, AcDbBlockTableRecord>(pDb, L"JINY");
    AcDbObjectIdArray aReference;
    AcDbBlockTableRecord* pMs = nullptr;
    ASSERT_EQ(acdbOpenObject(pMs, ModelId(), AcDb::kForWrite), Acad::eOk);
    for (AcDbObjectId idDef : {idVoda, idPlyn, idVoda, idJiny}) {
        auto* pRef = new AcDbBlockReference(AcGePoint3d(1, 2, 0), idDef);
        AcDbObjectId id;
        pMs->appendAcDbEntity(id, pRef);
        pRef->close();
        aReference.append(id);
    }
    pMs->close();

    auto Najdi = [&](const std::wstring& sJmeno, bool bObsahuje, AcDbObjectId idDef) {
        AcDbObjectIdArray aNalezene;
        CVoxCmd::CNajdiBlokRefs hledej(sJmeno, bObsahuje, aNalezene, idDef);
        const int nNalezeno = ProjdiDwg(hledej, PROJDI_VSE | PROJDI_PRO_CTENI, false, 1, pDb);
        EXPECT_EQ(nNalezeno, aNalezene.length());
        return aNalezene;
    };
    EXPECT_EQ(Najdi(L"ZNAČKA_VODA", false, {}), (AcDbObjectIdArray{aReference[0], aReference[2]}));
    EXPECT_EQ(Najdi(L"ZNAČKA", true, {}).length(), 3);
    EXPECT_EQ(Najdi(L"ZNAČKA", false, {}).length(), 0);
    EXPECT_EQ(Najdi(L"JINY", true, {}), (AcDbObjectIdArray{aReference[3]}));
    // By definition the name does not matter.
    EXPECT_EQ(Najdi(L"NIC", false, idPlyn), (AcDbObjectIdArray{aReference[1]}));
}

TEST_F(Projdi, LayerChangeMovesMappedLayersOnly) {
    const AcDbObjectId idStara = PridejZaznam<AcDbLayerTable, AcDbLayerTableRecord>(db(), L"STARA");
    const AcDbObjectId idNova = PridejZaznam<AcDbLayerTable, AcDbLayerTableRecord>(db(), L"NOVA");
    const AcDbObjectId idJina = PridejZaznam<AcDbLayerTable, AcDbLayerTableRecord>(db(), L"JINA");
    auto Vrstva = [&](AcDbObjectId idEnt, AcDbObjectId idVrstvy = AcDbObjectId::kNull) {
        AcDbEntity* pEnt = nullptr;
        EXPECT_EQ(acdbOpenAcDbEntity(pEnt, idEnt, AcDb::kForWrite), Acad::eOk);
        if (!idVrstvy.isNull())
            pEnt->setLayer(idVrstvy);
        const AcDbObjectId id = pEnt->layerId();
        pEnt->close();
        return id;
    };
    Vrstva(m_idModel[0], idStara);
    Vrstva(m_idDefinice[1], idStara);
    Vrstva(m_idPapir[0], idJina);

    CVoxCmd::MapaId mapa{{idStara, idNova}, {idJina, AcDbObjectId::kNull}};
    CVoxCmd::ZmenHladinu zmena(mapa);
    EXPECT_EQ(ProjdiDwg(zmena, PROJDI_VSE, false, 1, db()), 2);
    EXPECT_EQ(Vrstva(m_idModel[0]), idNova);
    EXPECT_EQ(Vrstva(m_idDefinice[1]), idNova);
    EXPECT_EQ(Vrstva(m_idPapir[0]), idJina);
    EXPECT_EQ(Vrstva(m_idModel[1]), db()->layerZero());
    // Opened for reading, nothing can be moved.
    Vrstva(m_idModel[0], idStara);
    EXPECT_EQ(ProjdiDwg(zmena, PROJDI_VSE | PROJDI_PRO_CTENI, false, 1, db()), 0);
    EXPECT_EQ(Vrstva(m_idModel[0]), idStara);
}

} // namespace
