// Entity and block helpers: free block names, new and opened blocks, texts and their
// justification, block references with their attributes, attribute lookup and rotation, and the
// refusals of the creation routines, with every object closed on every path.
#include "hostfixture.h"

#include "CVoxEntity.h"
#include "CVoxException.h"
#include "CVoxFunkce.h"
#include "VoxPlatforma.h"
#include "textconv.h"

#include <cmath>
#include <string>

namespace {

const double kPulPi = std::acos(0.0);

class Bloky : public HostFixture {
protected:
    void TearDown() override {
        EXPECT_EQ(khost::reportOpenObjects(L"test end"), 0) << khost::toUtf8(transcript());
        HostFixture::TearDown();
    }

    // The exception's text begins with the message (given in UTF-8).
    static bool Zprava(const CVoxException& e, const char* sUtf8) {
        return std::string(e.what()).rfind(VoxPlatforma::NaAnsi(sUtf8), 0) == 0;
    }

    AcDbObjectId Blok(const ACHAR* sJmeno) {
        AcDbBlockTable* pBt = nullptr;
        EXPECT_EQ(db()->getBlockTable(pBt, AcDb::kForWrite), Acad::eOk);
        auto* pBlok = new AcDbBlockTableRecord;
        pBlok->setName(sJmeno);
        AcDbObjectId id;
        EXPECT_EQ(pBt->add(id, pBlok), Acad::eOk);
        pBlok->close();
        pBt->close();
        return id;
    }

    // A block with a constant attribute A and attributes B and C.
    AcDbObjectId BlokSAtributy() {
        if (!m_idAtr.isNull())
            return m_idAtr;
        AcDbObjectId id = m_idAtr = Blok(L"ATR");
        AcDbBlockTableRecord* pBlok = nullptr;
        EXPECT_EQ(acdbOpenObject(pBlok, id, AcDb::kForWrite), Acad::eOk);
        const ACHAR* aTagy[] = {L"A", L"B", L"C"};
        for (int i = 0; i < 3; ++i) {
            auto* pDef =
                new AcDbAttributeDefinition(AcGePoint3d(i, 1, 0), L"výchozí", aTagy[i], L"?");
            pDef->setConstant(i == 0);
            pBlok->appendAcDbEntity(pDef);
            pDef->close();
        }
        pBlok->close();
        return id;
    }

    AcDbBlockTableRecord* Model(AcDb::OpenMode mode = AcDb::kForWrite) {
        AcDbBlockTableRecord* pModel = nullptr;
        EXPECT_EQ(acdbOpenObject(pModel, db()->currentSpaceId(), mode), Acad::eOk);
        return pModel;
    }

    int PocetVModelu() {
        auto* pModel = AcDbBlockTableRecord::cast(khost::peekObject(db()->currentSpaceId()));
        return pModel->entityIds().length();
    }

    AcDbObjectId Hladina(const ACHAR* sJmeno) {
        AcDbLayerTable* pLt = nullptr;
        EXPECT_EQ(db()->getLayerTable(pLt, AcDb::kForWrite), Acad::eOk);
        auto* pHladina = new AcDbLayerTableRecord;
        pHladina->setName(sJmeno);
        AcDbObjectId id;
        EXPECT_EQ(pLt->add(id, pHladina), Acad::eOk);
        pHladina->close();
        pLt->close();
        return id;
    }

    AcDbObjectId m_idAtr;

    static const AcDbAttribute* Atribut(AcDbObjectId idRef, const ACHAR* sTag) {
        auto* pRef = AcDbBlockReference::cast(khost::peekObject(idRef));
        std::unique_ptr<AcDbObjectIterator> pIter(pRef->attributeIterator());
        for (; !pIter->done(); pIter->step())
            if (auto* a = AcDbAttribute::cast(khost::peekObject(pIter->objectId())))
                if (std::wstring(a->tagConst()) == sTag)
                    return a;
        return nullptr;
    }
};

TEST_F(Bloky, VolneJmenoBlokuSkipsTakenNamesWhateverTheirCase) {
    Blok(L"TEBU_X_1");
    Blok(L"TEBU_X_2");
    Blok(L"tebu_x_a");
    Blok(L"JINY");
    AcDbBlockTable* pBt = nullptr;
    ASSERT_EQ(db()->getBlockTable(pBt, AcDb::kForRead), Acad::eOk);
    AcDbObjectIdArray aIds;
    EXPECT_EQ(VolneJmenoBloku(pBt, L"TEBU_X", &aIds, 1), L"TEBU_X_3");
    EXPECT_EQ(aIds.length(), 3);
    EXPECT_EQ(VolneJmenoBloku(pBt, L"TEBU_X"), L"TEBU_X_3"); // the largest number means 1
    EXPECT_EQ(VolneJmenoBloku(pBt, L"TEBU_X", nullptr, 0xa), L"TEBU_X_b");
    EXPECT_EQ(VolneJmenoBloku(pBt, L"NOVY", nullptr, 1), L"NOVY_1");
    pBt->close();
}

TEST_F(Bloky, VytvorBlokAndOtevriBlokProZapis) {
    Blok(L"P_1");
    AcDbObjectId id = VytvorBlok(L"P", db(), true);
    auto* pNovy = AcDbBlockTableRecord::cast(khost::peekObject(id));
    ASSERT_NE(pNovy, nullptr);
    EXPECT_STREQ(pNovy->name(), L"P_2");
    try {
        VytvorBlok(L"p_2", db());
        ADD_FAILURE() << "a taken name was accepted";
    } catch (const CVoxException& e) {
        EXPECT_TRUE(Zprava(e, "Nelze vytvořit pBlockRecord, Err: 95")) << e.what();
    }

    AcDbBlockTableRecord* pBlok = nullptr;
    EXPECT_EQ(OtevriBlokProZapis(L"p_2", pBlok), id);
    ASSERT_NE(pBlok, nullptr);
    EXPECT_TRUE(pBlok->isWriteEnabled());
    pBlok->close();
    EXPECT_TRUE(OtevriBlokProZapis(L"ZADNY", pBlok).isNull());
    EXPECT_EQ(pBlok, nullptr);
    // A block open elsewhere cannot be handed over; the table is closed all the same.
    AcDbBlockTableRecord* pCtenar = nullptr;
    ASSERT_EQ(acdbOpenObject(pCtenar, id, AcDb::kForRead), Acad::eOk);
    EXPECT_THROW(OtevriBlokProZapis(L"P_2", pBlok), CVoxException);
    pCtenar->close();
}

TEST_F(Bloky, VytvorTextPlacesByJustification) {
    CVoxTextDef def;
    def.m_ptVlozeni = AcGePoint3d(10, 20, 0);
    def.m_dVyska = 2.5;
    def.m_sText = L"Text";
    def.m_nHorizontalne = AcDb::kTextCenter;
    def.m_nVertikalne = AcDb::kTextVertMid;
    AcDbObjectId idStred = VytvorText(def, Model(), true, false, true);
    auto* pStred = AcDbText::cast(khost::peekObject(idStred));
    ASSERT_NE(pStred, nullptr);
    EXPECT_TRUE(pStred->alignmentPoint().isEqualTo(AcGePoint3d(10, 20, 0)));
    EXPECT_FALSE(pStred->position().isEqualTo(AcGePoint3d(10, 20, 0)));
    EXPECT_TRUE(pStred->colorIndex() == 256 && pStred->lineWeight() == AcDb::kLnWtByLayer);

    def.m_nHorizontalne = AcDb::kTextLeft;
    def.m_nVertikalne = AcDb::kTextBase;
    auto* pVlevo = AcDbText::cast(khost::peekObject(VytvorText(def, Model(), true, false, true)));
    EXPECT_TRUE(pVlevo->position().isEqualTo(AcGePoint3d(10, 20, 0)));

    // An owner open for read is refused before anything is made, and closed when asked.
    const int nPred = PocetVModelu();
    try {
        VytvorText(def, Model(AcDb::kForRead), true, false, true);
        ADD_FAILURE() << "an owner open for read was accepted";
    } catch (const CVoxException& e) {
        EXPECT_TRUE(Zprava(e, "AcDbBlockTableRecord není otevřen pro zápis")) << e.what();
    }
    EXPECT_EQ(PocetVModelu(), nPred);
    // A line without an owner is no line.
    EXPECT_TRUE(VytvorCaru(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), nullptr).isNull());
}

TEST_F(Bloky, AnnotativeTextHasThePaperHeightAtTheCurrentScale) {
    resbuf rb{};
    rb.restype = RTSTR;
    rb.resval.rstring = const_cast<ACHAR*>(L"1:50");
    ASSERT_EQ(acedSetVar(L"CANNOSCALE", &rb), RTNORM);
    CVoxTextDef def;
    def.m_dVyska = 2.5;
    def.m_sText = L"Anotativní";
    auto* pText = AcDbText::cast(khost::peekObject(VytvorText(def, Model(), true, true, true)));
    ASSERT_NE(pText, nullptr);
    EXPECT_DOUBLE_EQ(pText->height(), 125.0);
    EXPECT_TRUE(ACRX_PE_PTR(pText, AcDbAnnotativeObjectPE)->annotative(pText));
}

TEST_F(Bloky, VlozBlokWithAttributesValuesAndMultilineFlags) {
    AcDbObjectId idHladina = Hladina(L"kóty");
    CVoxBlokDef def;
    def.m_idBlok = BlokSAtributy();
    def.m_idHladina = idHladina;
    def.m_ptVlozeni = AcGePoint3d(100, 0, 0);
    def.NastavAtribut(L"b", L"hodnota");
    def.NastavAtribut(L"C", L"první\\Pdruhá", true);
    AcDbBlockReference* pRef = nullptr;
    AcDbObjectId idRef = VlozBlok(def, Model(), false, true, false, &pRef);
    ASSERT_NE(pRef, nullptr);
    EXPECT_TRUE(pRef->isWriteEnabled());
    EXPECT_EQ(pRef->layerId(), idHladina);

    AcDbAttribute* pAtribut = nullptr;
    EXPECT_TRUE(NajdiAtribut(pRef, L"c", pAtribut));
    ASSERT_NE(pAtribut, nullptr);
    EXPECT_TRUE(pAtribut->isWriteEnabled());
    EXPECT_TRUE(pAtribut->isMTextAttribute());
    pAtribut->close();
    EXPECT_TRUE(NajdiAtribut(pRef, L"B", pAtribut, true));
    EXPECT_EQ(pAtribut, nullptr);
    EXPECT_FALSE(NajdiAtribut(pRef, L"A", pAtribut)); // constant: no attribute
    pRef->close();

    const AcDbAttribute* pB = Atribut(idRef, L"B");
    ASSERT_NE(pB, nullptr);
    EXPECT_STREQ(pB->textStringConst(), L"hodnota");
    EXPECT_EQ(pB->layerId(), idHladina);
    EXPECT_EQ(pB->colorIndex(), 0); // ByBlock
    EXPECT_FALSE(pB->isMTextAttribute());
    EXPECT_TRUE(pB->position().isEqualTo(AcGePoint3d(101, 1, 0)));
    EXPECT_EQ(transcript().find(L"Nepodařilo"), std::wstring::npos);
}

TEST_F(Bloky, FailedAttributeIsReportedAndTheOthersAdded) {
    AcDbObjectId idHladina = Hladina(L"smazaná");
    CVoxBlokDef def;
    def.m_idBlok = BlokSAtributy();
    def.m_idHladina = idHladina;
    AcDbLayerTableRecord* pHladina = nullptr;
    ASSERT_EQ(acdbOpenObject(pHladina, idHladina, AcDb::kForWrite), Acad::eOk);
    pHladina->erase();
    pHladina->close();
    AcDbObjectId idRef = VlozBlok(def, Model());
    EXPECT_NE(Atribut(idRef, L"B"), nullptr);
    EXPECT_NE(Atribut(idRef, L"C"), nullptr);
    const std::wstring sVypis = transcript();
    EXPECT_NE(sVypis.find(L"Nepodařilo se správně nastavit všechny parametry atributu B"),
              std::wstring::npos);
    EXPECT_NE(sVypis.find(L"atributu C"), std::wstring::npos);
}

TEST_F(Bloky, VlozBlokRefusesTiltedUcsAndBadBlock) {
    CVoxBlokDef def;
    def.m_idBlok = BlokSAtributy();
    khost::setCurrentUcs(db(), AcGePoint3d(0, 0, 0), AcGeVector3d(1, 0, 0),
                         AcGeVector3d(0, 0.8, 0.6));
    const int nPred = PocetVModelu();
    try {
        VlozBlok(def, Model());
        ADD_FAILURE() << "a tilted UCS was accepted";
    } catch (const CVoxException& e) {
        EXPECT_TRUE(
            Zprava(e, "\nNastavené Ucs je ve 3d prostoru (není 2d), nelze vyttvořit entitu"))
            << e.what();
    }
    EXPECT_EQ(PocetVModelu(), nPred);
    khost::setCurrentUcs(db(), AcGePoint3d(0, 0, 0), AcGeVector3d(1, 0, 0), AcGeVector3d(0, 1, 0));
    def.m_idBlok = Hladina(L"není blok");
    try {
        VlozBlok(def, Model());
        ADD_FAILURE() << "a layer was taken for a block";
    } catch (const CVoxException& e) {
        EXPECT_TRUE(Zprava(e, "Nelze vytvořit referenci bloku")) << e.what();
    }
    def.m_idBlok = BlokSAtributy();
    def.m_meritko = AcGeScale3d(0.0, 1.0, 1.0);
    try {
        VlozBlok(def, Model());
        ADD_FAILURE() << "a zero scale was accepted";
    } catch (const CVoxException& e) {
        EXPECT_TRUE(Zprava(e, "Nelze správně nastavit parametry Block Reference, Err: 3"))
            << e.what();
    }
    EXPECT_EQ(PocetVModelu(), nPred);
}

TEST_F(Bloky, OtocAtributyTurnsThemAboutTheInsertionPoint) {
    CVoxBlokDef def;
    def.m_idBlok = BlokSAtributy();
    def.m_ptVlozeni = AcGePoint3d(10, 0, 0);
    AcDbBlockReference* pRef = nullptr;
    VlozBlok(def, Model(), false, true, false, &pRef);
    ASSERT_NE(pRef, nullptr);
    const double dPuvodni = pRef->rotation();
    pRef->setRotation(kPulPi);
    EXPECT_EQ(OtocAtributy(pRef, dPuvodni), Acad::eOk);
    AcDbObjectId idRef = pRef->objectId();
    pRef->close();
    const AcDbAttribute* pC = Atribut(idRef, L"C"); // (12, 1) before
    EXPECT_NEAR(pC->position().x, 9.0, 1e-9);
    EXPECT_NEAR(pC->position().y, 2.0, 1e-9);
    EXPECT_NEAR(pC->rotation(), kPulPi, 1e-12);
}

} // namespace
