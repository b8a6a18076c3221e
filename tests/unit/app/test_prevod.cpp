// Conversion of old standard names (styles, linetypes) and the linetype scale reset.
#include "standardytest.h"

#include "CVoxException.h"
#include "VoxPrevod.h"

namespace {

using standardy::Utf8;

class Prevod : public standardy::StandardyTest {
protected:
    void TearDown() override {
        EXPECT_EQ(Otevrene(), 0);
        StandardyTest::TearDown();
    }

    template <class TTabulka, class TZaznam> AcDbObjectId Pridej(const ACHAR* sJmeno) {
        TTabulka* pTab = nullptr;
        EXPECT_EQ(db()->getSymbolTable(pTab, AcDb::kForWrite), Acad::eOk);
        auto* pZaznam = new TZaznam();
        pZaznam->setName(sJmeno);
        AcDbObjectId id;
        EXPECT_EQ(pTab->add(id, pZaznam), Acad::eOk);
        pZaznam->close();
        pTab->close();
        return id;
    }

    AcDbObjectId DoModelu(AcDbEntity* pEnt) {
        AcDbBlockTable* pBt = nullptr;
        db()->getBlockTable(pBt, AcDb::kForRead);
        AcDbBlockTableRecord* pMs = nullptr;
        pBt->getAt(ACDB_MODEL_SPACE, pMs, AcDb::kForWrite);
        pBt->close();
        AcDbObjectId id;
        EXPECT_EQ(pMs->appendAcDbEntity(id, pEnt), Acad::eOk);
        pEnt->close();
        pMs->close();
        return id;
    }

    std::wstring Jmeno(AcDbObjectId id) {
        AcDbSymbolTableRecord* p = nullptr;
        if (acdbOpenObject(p, id, AcDb::kForRead) != Acad::eOk)
            return L"<none>";
        std::wstring s = p->name();
        p->close();
        return s;
    }

    bool Smazany(AcDbObjectId id) {
        AcDbObject* p = nullptr;
        if (acdbOpenObject(p, id, AcDb::kForRead, true) != Acad::eOk)
            return false;
        const bool b = p->isErased();
        p->close();
        return b;
    }

    template <class T, class F> auto Cti(AcDbObjectId id, F f) {
        T* p = nullptr;
        EXPECT_EQ(acdbOpenObject(p, id, AcDb::kForRead), Acad::eOk);
        auto v = f(p);
        p->close();
        return v;
    }
};

// Two old dimension styles for one new one: the first in key order is renamed (keeping its
// id and taking the standard values), the second is merged into it with its users; text styles
// with and without their replacement likewise.
TEST_F(Prevod, StylesAreRenamedInKeyOrderAndTheRestMerged) {
    Instaluj();
    const AcDbObjectId ts035 = Pridej<AcDbTextStyleTable, AcDbTextStyleTableRecord>(L"TEXT-035");
    const AcDbObjectId ts020 = Pridej<AcDbTextStyleTable, AcDbTextStyleTableRecord>(L"TEXT-020");
    const AcDbObjectId dsPlus = Pridej<AcDbDimStyleTable, AcDbDimStyleTableRecord>(L"KANALIZACE+");
    const AcDbObjectId dsKan = Pridej<AcDbDimStyleTable, AcDbDimStyleTableRecord>(L"KANALIZACE");
    {
        AcDbDimStyleTableRecord* p = nullptr;
        ASSERT_EQ(acdbOpenObject(p, dsPlus, AcDb::kForWrite), Acad::eOk);
        p->setDimtxsty(ts020);
        p->close();
    }
    const AcDbObjectId idText = DoModelu(new AcDbText(AcGePoint3d(0, 0, 0), L"a", ts020, 2.5));
    const AcDbObjectId idKota = DoModelu(new AcDbAlignedDimension(
        AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0), AcGePoint3d(5, 5, 0), nullptr, dsPlus));
    db()->setTextstyle(ts020);
    db()->setDimstyle(dsPlus);

    PrevedStareNazvy(PREVOD_STYLY);
    const std::string sVystup = Utf8(transcript());

    // The renamed dimension style brought KV_TXT_MALY before the text styles were converted:
    // both old text styles are merged into it.
    EXPECT_NE(sVystup.find("\nNalezeno: 2 a přejmenováno 0 starých textových stylů. 2 bude "
                           "sloučeno\nNalezeno: 0 a přejmenováno 0 starých stylů multiodkazu. 0 "
                           "bude sloučeno\nNalezeno: 2 a přejmenováno 1 starých kótovacích "
                           "stylů. 1 bude sloučeno\n"),
              std::string::npos)
        << sVystup;
    EXPECT_EQ(Jmeno(dsKan), L"KV_KANREZ");
    EXPECT_TRUE(Smazany(dsPlus));
    const AcDbObjectId tsMaly = Zaznam<AcDbTextStyleTable>(L"KV_TXT_MALY");
    ASSERT_FALSE(tsMaly.isNull());
    EXPECT_TRUE(Smazany(ts020));
    EXPECT_TRUE(Smazany(ts035));
    EXPECT_EQ(db()->dimstyle(), dsKan);
    EXPECT_EQ(db()->textstyle(), tsMaly);
    EXPECT_EQ(Cti<AcDbDimension>(idKota, [](AcDbDimension* p) { return p->dimensionStyle(); }),
              dsKan);
    EXPECT_EQ(Cti<AcDbText>(idText, [](AcDbText* p) { return p->textStyle(); }), tsMaly);
    // The renamed style took the standard values: its text style is the standard small one;
    // the merged one is still counted before it is erased.
    EXPECT_NE(sVystup.find("\nBylo převedeno 1 textových stylů v kótovacích stylech"),
              std::string::npos);
    EXPECT_EQ(Jmeno(Cti<AcDbDimStyleTableRecord>(
                  dsKan, [](AcDbDimStyleTableRecord* p) { return p->dimtxsty(); })),
              L"KV_TXT_MALY");
    EXPECT_EQ(sVystup.find("Nepodařilo se smazat"), std::string::npos);
}

// Old linetypes: one without its new name in the drawing is renamed and refreshed in place,
// one whose new name exists is merged; layers, entities and the current linetype follow.
TEST_F(Prevod, OldLinetypesAreRenamedOrMerged) {
    Instaluj();
    const AcDbObjectId ltSv = Pridej<AcDbLinetypeTable, AcDbLinetypeTableRecord>(L"zti-SV");
    const AcDbObjectId ltTuvStary = Pridej<AcDbLinetypeTable, AcDbLinetypeTableRecord>(L"QX-TUV");
    const AcDbObjectId ltTuv = Pridej<AcDbLinetypeTable, AcDbLinetypeTableRecord>(L"TUV");
    const AcDbObjectId idVrstva = Pridej<AcDbLayerTable, AcDbLayerTableRecord>(L"TEPLA");
    {
        AcDbLayerTableRecord* p = nullptr;
        ASSERT_EQ(acdbOpenObject(p, idVrstva, AcDb::kForWrite), Acad::eOk);
        p->setLinetypeObjectId(ltTuvStary);
        p->close();
    }
    auto* pCara = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    pCara->setLinetype(ltTuvStary);
    const AcDbObjectId idCara = DoModelu(pCara);
    db()->setCeltype(ltTuvStary);

    PrevedStareNazvy(PREVOD_TYPY_CAR);
    const std::string sVystup = Utf8(transcript());

    EXPECT_NE(sVystup.find("\nBylo přejmenováno a zaktualizováno 2 typů čar (Linetype)"),
              std::string::npos)
        << sVystup;
    EXPECT_NE(sVystup.find("\nHladina:    TEPLA    LType:   TUV\nBylo převedeno 1 typů čar v "
                           "hladinách, nebylo možné převést 0 typů čar v hladinách"),
              std::string::npos)
        << sVystup;
    EXPECT_EQ(Jmeno(ltSv), L"SV");
    EXPECT_GT(Cti<AcDbLinetypeTableRecord>(
                  ltSv, [](AcDbLinetypeTableRecord* p) { return p->numDashes(); }),
              0);
    EXPECT_TRUE(Smazany(ltTuvStary));
    EXPECT_EQ(Cti<AcDbLine>(idCara, [](AcDbLine* p) { return p->linetypeId(); }), ltTuv);
    EXPECT_EQ(Cti<AcDbLayerTableRecord>(
                  idVrstva, [](AcDbLayerTableRecord* p) { return p->linetypeObjectId(); }),
              ltTuv);
    EXPECT_EQ(db()->celtype(), ltTuv);
    // Styles were not asked for.
    EXPECT_EQ(sVystup.find("\nNalezeno"), std::string::npos);
}

// Without the standard files the conversion stops before any style is touched; the layer step
// asked for has run already.
TEST_F(Prevod, MissingStandardFilesStopBeforeTheStyles) {
    const AcDbObjectId ts = Pridej<AcDbTextStyleTable, AcDbTextStyleTableRecord>(L"TEXT-035");
    const AcDbObjectId idVrstva = Pridej<AcDbLayerTable, AcDbLayerTableRecord>(L"KB_KOTY");
    EXPECT_THROW(PrevedStareNazvy(PREVOD_VSE), CVoxException);
    EXPECT_EQ(Jmeno(ts), L"TEXT-035");
    EXPECT_NE(Utf8(transcript()).find("\nBylo převedeno 1 hladin"), std::string::npos);
    EXPECT_EQ(Jmeno(idVrstva), L"KB_kóty");
}

// lt1: scales 1 everywhere; ByLayer properties only with the setting on.
TEST_F(Prevod, Lt1ResetsScalesAndByLayerOnlyWhenSet) {
    const AcDbObjectId idLt = Pridej<AcDbLinetypeTable, AcDbLinetypeTableRecord>(L"CARKY");
    auto Cara = [&] {
        auto* p = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
        p->setLinetype(idLt);
        p->setLinetypeScale(5.0);
        p->setColorIndex(3);
        return DoModelu(p);
    };
    db()->setLtscale(20.0);
    db()->setMsltscale(false);

    const AcDbObjectId id1 = Cara();
    m_pNastaveni->m_nSetByLayer = 0;
    PrikazLt1();
    const std::string sVystup = Utf8(transcript());
    EXPECT_EQ(sVystup.rfind("\nNastavuji LTScale na 1, MSLTScale na 1\n.......měním měřítko entit "
                            "na 1, to může chvíli trvat",
                            0),
              0u)
        << sVystup;
    EXPECT_DOUBLE_EQ(db()->ltscale(), 1.0);
    EXPECT_TRUE(db()->msltscale());
    EXPECT_DOUBLE_EQ(Cti<AcDbLine>(id1, [](AcDbLine* p) { return p->linetypeScale(); }), 1.0);
    EXPECT_EQ(Cti<AcDbLine>(id1, [](AcDbLine* p) { return p->linetypeId(); }), idLt);
    EXPECT_EQ(Cti<AcDbLine>(id1, [](AcDbLine* p) { return p->colorIndex(); }), 3);

    m_pNastaveni->m_nSetByLayer = 1;
    PrikazLt1();
    EXPECT_EQ(Cti<AcDbLine>(id1, [](AcDbLine* p) { return p->linetypeId(); }),
              db()->byLayerLinetype());
    EXPECT_EQ(Cti<AcDbLine>(id1, [](AcDbLine* p) { return p->colorIndex(); }), 256);
    EXPECT_EQ(Cti<AcDbLine>(id1, [](AcDbLine* p) { return p->lineWeight(); }), AcDb::kLnWtByLayer);
}

} // namespace
