// The block fetch from the installed library and the dynamic properties of block references:
// the elevation marker "kv_kacena" brought in from the installation data, its properties set by
// names of any case, and the refusals of NastavDynVlastnosti.
#include "hostfixture.h"

#include "CVoxEntity.h"
#include "CVoxException.h"
#include "CVoxFunkce.h"
#include "VoxPlatforma.h"
#include "textconv.h"
#include "installer.h"

#include <string>

namespace {

class BlokyDyn : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        ASSERT_TRUE(khost::installIfNeeded(std::string(KRESBON_SOURCE_DIR) + "/data", m_home));
    }
    void TearDown() override {
        EXPECT_EQ(khost::reportOpenObjects(L"test end"), 0) << khost::toUtf8(transcript());
        HostFixture::TearDown();
    }

    static bool Zprava(const CVoxException& e, const char* sUtf8) {
        return std::string(e.what()).rfind(VoxPlatforma::NaAnsi(sUtf8), 0) == 0;
    }

    AcDbObjectId Vloz(AcDbObjectId idBlok) {
        CVoxBlokDef def;
        def.m_idBlok = idBlok;
        def.NastavAtribut(L"VYSKA", L"+1.250");
        AcDbBlockTableRecord* pModel = nullptr;
        EXPECT_EQ(acdbOpenObject(pModel, db()->currentSpaceId(), AcDb::kForWrite), Acad::eOk);
        return VlozBlok(def, pModel);
    }

    static AcDbEvalVariant Hodnota(AcDbObjectId idRef, const ACHAR* sJmeno) {
        AcDbDynBlockReferencePropertyArray aVlastnosti;
        AcDbDynBlockReference(idRef).getBlockProperties(aVlastnosti);
        for (const auto& v : aVlastnosti)
            if (v.propertyName() == sJmeno)
                return v.value();
        return AcDbEvalVariant();
    }
};

TEST_F(BlokyDyn, NajdiNeboNactiBlokFetchesTheMarkerFromTheInstallation) {
    AcDbObjectId id = NajdiNeboNactiBlok(L"kv_kacena", L"BLOKY", true);
    ASSERT_FALSE(id.isNull());
    auto* pBlok = AcDbBlockTableRecord::cast(khost::peekObject(id));
    EXPECT_STREQ(pBlok->name(), L"kv_kacena");
    EXPECT_TRUE(pBlok->isDynamicBlock());
    EXPECT_TRUE(pBlok->hasAttributeDefinitions());
    auto* pPE = ACRX_PE_PTR(pBlok, AcDbAnnotativeObjectPE);
    ASSERT_NE(pPE, nullptr);
    EXPECT_TRUE(pPE->annotative(pBlok));
    // Found in the drawing the second time, by any case.
    EXPECT_EQ(NajdiNeboNactiBlok(L"KV_KACENA", L"BLOKY"), id);
    // Not in the maker's folder, nor in the product's under another name.
    EXPECT_TRUE(NajdiNeboNactiBlok(L"kv_kacena2", L"BLOKY").isNull());
    EXPECT_TRUE(NajdiNeboNactiBlok(L"kv_pes", L"BLOKY", false, true).isNull());
}

TEST_F(BlokyDyn, NastavDynVlastnostiMatchesNamesOfAnyCase) {
    AcDbObjectId idRef = Vloz(NajdiNeboNactiBlok(L"kv_kacena", L"BLOKY", true));
    CVoxDynProp vlastnosti;
    vlastnosti.NastavRetezec(L"odkaz", L"S odkazem");
    vlastnosti.NastavReal(L"Dl_Odkazu", 7.5);
    vlastnosti.NastavPreklopeni(L"zrc_horiz", 1);
    vlastnosti.NastavRetezec(L"NEEXISTUJE", L"nic"); // no such property: left alone
    NastavDynVlastnosti(idRef, vlastnosti);

    AcString sOdkaz;
    double dDelka = 0.0;
    short nPreklopeni = 0, nVert = -1;
    EXPECT_EQ(Hodnota(idRef, L"ODKAZ").getValue(sOdkaz), Acad::eOk);
    EXPECT_EQ(sOdkaz, L"S odkazem");
    EXPECT_EQ(Hodnota(idRef, L"DL_ODKAZU").getValue(dDelka), Acad::eOk);
    EXPECT_EQ(dDelka, 7.5);
    EXPECT_EQ(Hodnota(idRef, L"ZRC_HORIZ").getValue(nPreklopeni), Acad::eOk);
    EXPECT_EQ(nPreklopeni, 1);
    EXPECT_EQ(Hodnota(idRef, L"ZRC_VERT").getValue(nVert), Acad::eOk);
    EXPECT_EQ(nVert, 0);
    // The marker is drawn by a representation that is annotative as its definition is.
    auto* pKresba = AcDbBlockTableRecord::cast(
        khost::peekObject(AcDbDynBlockReference(idRef).anonymousBlockTableRecord()));
    ASSERT_NE(pKresba, nullptr);
    EXPECT_TRUE(ACRX_PE_PTR(pKresba, AcDbAnnotativeObjectPE)->annotative(pKresba));
    // The attribute kept its value through the redrawing.
    AcDbBlockReference* pRef = nullptr;
    ASSERT_EQ(acdbOpenObject(pRef, idRef, AcDb::kForRead), Acad::eOk);
    AcDbAttribute* pVyska = nullptr;
    ASSERT_TRUE(NajdiAtribut(pRef, L"vyska", pVyska));
    EXPECT_STREQ(pVyska->textStringConst(), L"+1.250");
    pVyska->close();
    pRef->close();
}

TEST_F(BlokyDyn, NastavDynVlastnostiRefusals) {
    AcDbBlockTable* pBt = nullptr;
    ASSERT_EQ(db()->getBlockTable(pBt, AcDb::kForWrite), Acad::eOk);
    auto* pObycejny = new AcDbBlockTableRecord;
    pObycejny->setName(L"OBYC");
    AcDbObjectId idObyc;
    ASSERT_EQ(pBt->add(idObyc, pObycejny), Acad::eOk);
    pObycejny->close();
    pBt->close();
    AcDbObjectId idRef = Vloz(idObyc);

    NastavDynVlastnosti(idRef, CVoxDynProp()); // nothing to set: no complaint
    CVoxDynProp vlastnosti;
    vlastnosti.NastavReal(L"DL_ODKAZU", 1.0);
    try {
        NastavDynVlastnosti(idRef, vlastnosti);
        ADD_FAILURE() << "an ordinary block was taken for a dynamic one";
    } catch (const CVoxException& e) {
        EXPECT_TRUE(Zprava(e, "\nStandardní blok utilit není dynamický blok - porušená instalace "
                              "utilit"))
            << e.what();
    }

    AcDbObjectId idKacena = Vloz(NajdiNeboNactiBlok(L"kv_kacena", L"BLOKY"));
    CVoxDynProp::Hodnota spatna;
    spatna.m_nTyp = 2;
    CVoxDynProp spatne;
    spatne.Nastav(L"DL_ODKAZU", spatna);
    try {
        NastavDynVlastnosti(idKacena, spatne);
        ADD_FAILURE() << "an entry of an unknown type was used";
    } catch (const CVoxException& e) {
        EXPECT_TRUE(Zprava(e, "Špatné nastavení třídy CVoxDynProp")) << e.what();
    }
}

} // namespace
