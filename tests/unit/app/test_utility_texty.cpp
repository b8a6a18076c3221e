// The text and attribute commands: stripping of formatting, repair of Czech letters, capitals,
// copying properties from a sample, attribute definitions to texts and the in-place editing of
// texts, multileaders and attributes inside blocks.
#include "../sel/seltest.h"

#include "TextovePrikazy.h"

using namespace seltest;

namespace {

TEST(OdstranFormat, DropsBracesAndFontColourHeightWidthCodes) {
    EXPECT_EQ(std::wstring(OdstranFormat(L"{\\fArial|b1|i0;Slovo}\\P\\C1;Druhé").constPtr()),
              L"Slovo\\PDruhé");
    EXPECT_EQ(std::wstring(OdstranFormat(L"\\H2.5x;\\Q15;\\W0.8;a\\~b\\\\c").constPtr()),
              L"\\W0.8;a\\~b\\\\c");
    EXPECT_EQ(std::wstring(OdstranFormat(L"\\A1;x\\c7;y").constPtr()), L"\\A1;xy");
    // A code without its ";" takes the rest with it; a backslash at the end stays.
    EXPECT_EQ(std::wstring(OdstranFormat(L"ab\\Fisocp").constPtr()), L"ab");
    EXPECT_EQ(std::wstring(OdstranFormat(L"ab\\").constPtr()), L"ab\\");
}

class Texty : public SelTest {
protected:
    AcDbObjectId MText(double x, double y, const wchar_t* s, AcDbObjectId into = {}) {
        auto* p = new AcDbMText;
        p->setLocation(AcGePoint3d(x, y, 0));
        p->setTextHeight(2.5);
        p->setContents(s);
        return add(p, into);
    }
    AcDbObjectId MLeader(double x, double y, const wchar_t* s) {
        auto* pText = new AcDbMText;
        pText->setLocation(AcGePoint3d(x, y, 0));
        pText->setTextHeight(2.5);
        pText->setContents(s);
        auto* p = new AcDbMLeader;
        p->setMText(pText);
        delete pText;
        int nOdkaz = 0, nCara = 0;
        p->addLeader(nOdkaz);
        p->addLeaderLine(nOdkaz, nCara);
        p->addFirstVertex(nCara, AcGePoint3d(x - 20, y - 20, 0));
        return add(p);
    }
    AcDbObjectId Styl(const wchar_t* sJmeno) {
        AcDbTextStyleTable* pTab = nullptr;
        EXPECT_EQ(workingDb()->getTextStyleTable(pTab, AcDb::kForWrite), Acad::eOk);
        auto* pStyl = new AcDbTextStyleTableRecord;
        pStyl->setName(sJmeno);
        AcDbObjectId id;
        EXPECT_EQ(pTab->add(id, pStyl), Acad::eOk);
        pStyl->close();
        pTab->close();
        return id;
    }
    std::wstring Obsah(AcDbObjectId id) {
        AcDbEntity* p = nullptr;
        EXPECT_EQ(acdbOpenAcDbEntity(p, id, AcDb::kForRead), Acad::eOk);
        std::wstring s;
        if (auto* t = AcDbText::cast(p))
            s = t->textStringConst();
        else if (auto* m = AcDbMText::cast(p)) {
            AcString a;
            m->contents(a);
            s = a.constPtr();
        } else if (auto* l = AcDbMLeader::cast(p))
            s = l->textContents();
        p->close();
        return s;
    }
    template <class T> T* Otevri(AcDbObjectId id) {
        T* p = nullptr;
        EXPECT_EQ(acdbOpenObject(p, id, AcDb::kForRead), Acad::eOk);
        return p;
    }
};

TEST_F(Texty, KubRepairsLettersOfMultilineTextsEverywhere) {
    const AcDbObjectId idBlok = defineBlock(L"B");
    const std::wstring sSpatne = {L'P', 232, L'e', 249, 200, 207};
    const AcDbObjectId a = MText(0, 0, sSpatne.c_str());
    const AcDbObjectId b = MText(0, 0, sSpatne.c_str(), idBlok);
    const AcDbObjectId c = add(text(0, 10, sSpatne.c_str()));
    PrikazKub();
    EXPECT_EQ(Obsah(a), L"PčeůČĎ");
    EXPECT_EQ(Obsah(b), L"PčeůČĎ");
    EXPECT_EQ(Obsah(c), sSpatne); // single-line texts are left alone
    const std::wstring t = transcript();
    EXPECT_NE(t.find(L"\n::80,P\n::232,\u00e8\n::101,e"), std::wstring::npos) << t;
    EXPECT_NE(t.find(L"\n::80,P\n::269,č\n::101,e\n::367,ů\n::268,Č\n::270,Ď"), std::wstring::npos);
    EXPECT_NE(t.find(L"\nBylo prověřeno 3 entit, změněno 0 entit"), std::wstring::npos) << t;
}

TEST_F(Texty, TvCapitalisesCzechLettersOfTextsMultilineTextsAndMultileaders) {
    const AcDbObjectId a = add(text(0, 0, L"ďábel čeří ůdolí"));
    const AcDbObjectId b = MText(0, 50, L"{\\fArial;ňa}ť");
    const AcDbObjectId c = MLeader(100, 100, L"šíp ž");
    type(L"1,1\n");
    PrikazTv();
    type(L"1,49\n");
    PrikazTv();
    type(L"101,99\n");
    PrikazTv();
    EXPECT_EQ(Obsah(a), L"ĎÁBEL ČEŘÍ ŮDOLÍ");
    EXPECT_EQ(Obsah(b), L"{\\FARIAL;ŇA}Ť"); // the codes too, as they are stored
    EXPECT_EQ(Obsah(c), L"ŠÍP Ž");
    // An empty pick ends silently.
    type(L"500,500\n");
    PrikazTv();
}

TEST_F(Texty, CaCopiesPropertiesAndTheTextStyleOfTheSample) {
    const AcDbObjectId idStyl = Styl(L"VZOR");
    const AcDbObjectId idHladina = layer(L"H1");
    auto* pVzor = new AcDbMText;
    pVzor->setLocation(AcGePoint3d(500, 500, 0));
    pVzor->setTextHeight(2.5);
    pVzor->setContents(L"vzor");
    pVzor->setTextStyle(idStyl);
    pVzor->setLayer(idHladina);
    pVzor->setColorIndex(3);
    pVzor->setLinetypeScale(4.0);
    pVzor->setLineWeight(AcDb::kLnWt050);
    add(pVzor);
    auto* pText = text(0, 0, L"t");
    pText->setWidthFactor(0.7);
    const AcDbObjectId a = add(pText);
    const AcDbObjectId b = MText(10, 10, L"m");
    // A line on a locked layer cannot be opened for write: it is reported and still counts.
    auto* pZamcena = line(20, 0, 30, 0);
    pZamcena->setLayer(layer(L"ZAMCENA", false, false, true));
    add(pZamcena);
    type(L"501,499\nW\n-5,-5\n40,20\n\n");
    PrikazCa();
    const std::wstring t = transcript();
    EXPECT_NE(t.find(L"\nVyber vzor: "), std::wstring::npos) << t;
    EXPECT_NE(t.find(L"\nVyberte měněné entity: "), std::wstring::npos) << t;
    EXPECT_NE(t.find(L"\nNeotevřena entita..."), std::wstring::npos) << t;
    EXPECT_NE(t.find(L"\nZměněno 3 entit"), std::wstring::npos) << t;
    auto* pA = Otevri<AcDbText>(a);
    EXPECT_EQ(pA->textStyle(), idStyl);
    EXPECT_DOUBLE_EQ(pA->widthFactor(), 0.7); // a multi-line sample has no width factor
    EXPECT_EQ(pA->layerId(), idHladina);
    EXPECT_EQ(pA->colorIndex(), 3);
    EXPECT_DOUBLE_EQ(pA->linetypeScale(), 4.0);
    EXPECT_EQ(pA->lineWeight(), AcDb::kLnWt050);
    pA->close();
    auto* pB = Otevri<AcDbMText>(b);
    EXPECT_EQ(pB->textStyle(), idStyl);
    EXPECT_EQ(pB->colorIndex(), 3);
    pB->close();

    // A text sample passes its width factor; a line sample leaves styles alone.
    auto* pVzor2 = text(600, 600, L"v");
    pVzor2->setTextStyle(idStyl);
    pVzor2->setWidthFactor(1.3);
    add(pVzor2);
    const AcDbObjectId d = add(text(0, 100, L"d"));
    type(L"601,601\n1,101\n\n");
    PrikazCa();
    auto* pD = Otevri<AcDbText>(d);
    EXPECT_EQ(pD->textStyle(), idStyl);
    EXPECT_DOUBLE_EQ(pD->widthFactor(), 1.3);
    pD->close();
    const AcDbObjectId e = add(text(0, 200, L"e"));
    auto* pE0 = Otevri<AcDbText>(e);
    const AcDbObjectId idPuvodni = pE0->textStyle();
    pE0->close();
    type(L"25,0\n1,201\n\n");
    PrikazCa();
    auto* pE = Otevri<AcDbText>(e);
    EXPECT_EQ(pE->textStyle(), idPuvodni);
    pE->close();
    // A pick on empty space.
    type(L"900,900\n");
    PrikazCa();
    EXPECT_NE(transcript().find(L"\nNepodařilo se vybrat !!!"), std::wstring::npos);
}

TEST_F(Texty, MatTurnsAttributeDefinitionsIntoTexts) {
    const AcDbObjectId idHladina = layer(L"POPIS");
    auto* pStred = new AcDbAttributeDefinition(AcGePoint3d(10, 10, 0), L"x", L"STRED", L"?");
    pStred->setHorizontalMode(AcDb::kTextCenter);
    pStred->setVerticalMode(AcDb::kTextVertMid);
    pStred->setAlignmentPoint(AcGePoint3d(20, 12, 0));
    pStred->setHeight(3.0);
    pStred->setLayer(idHladina);
    const AcDbObjectId a = add(pStred);
    auto* pVlevo = new AcDbAttributeDefinition(AcGePoint3d(50, 10, 0), L"y", L"VLEVO", L"?");
    pVlevo->setRotation(0.5);
    pVlevo->setWidthFactor(0.8);
    const AcDbObjectId b = add(pVlevo);
    AcDbAttributeDefinition* pA = Otevri<AcDbAttributeDefinition>(a);
    const AcGePoint3d ptStred = pA->position();
    pA->close();
    type(L"W\n0,0\n100,30\n\n");
    PrikazMat();
    EXPECT_EQ(transcript().find(L"Chyba"), std::wstring::npos);
    AcDbEntity* p = nullptr;
    EXPECT_NE(acdbOpenAcDbEntity(p, a, AcDb::kForRead), Acad::eOk); // erased
    EXPECT_NE(acdbOpenAcDbEntity(p, b, AcDb::kForRead), Acad::eOk);
    std::vector<AcDbText*> aTexty;
    AcDbBlockTableRecord* pModel = nullptr;
    ASSERT_EQ(acdbOpenObject(pModel, workingDb()->currentSpaceId(), AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecordIterator* it = nullptr;
    pModel->newIterator(it);
    for (; !it->done(); it->step()) {
        AcDbEntity* e = nullptr;
        it->getEntity(e, AcDb::kForRead);
        if (AcDbText::cast(e) && e->isA() == AcDbText::desc())
            aTexty.push_back(AcDbText::cast(e));
        else
            e->close();
    }
    delete it;
    pModel->close();
    ASSERT_EQ(aTexty.size(), 2u);
    EXPECT_STREQ(aTexty[0]->textStringConst(), L"STRED");
    EXPECT_EQ(aTexty[0]->alignmentPoint(), ptStred); // the definition's position
    EXPECT_EQ(aTexty[0]->horizontalMode(), AcDb::kTextCenter);
    EXPECT_EQ(aTexty[0]->layerId(), idHladina);
    EXPECT_EQ(aTexty[0]->colorIndex(), 256);
    EXPECT_DOUBLE_EQ(aTexty[0]->height(), 3.0);
    EXPECT_STREQ(aTexty[1]->textStringConst(), L"VLEVO");
    EXPECT_EQ(aTexty[1]->position(), AcGePoint3d(50, 10, 0));
    EXPECT_DOUBLE_EQ(aTexty[1]->rotation(), 0.5);
    EXPECT_DOUBLE_EQ(aTexty[1]->widthFactor(), 0.8);
    for (auto* t : aTexty)
        t->close();
    type(L"^C\n");
    PrikazMat();
    EXPECT_NE(transcript().find(L"\nChyba výběru atributu"), std::wstring::npos);
}

TEST_F(Texty, EdEditsTextsMultileadersAndAttributesInsideBlocks) {
    const AcDbObjectId idBlok = defineBlock(L"B");
    add(line(0, 0, 1, 0), idBlok);
    const AcDbObjectId idRef = insert(idBlok, AcGePoint3d(100, 100, 0));
    const AcDbObjectId idAtr = attach(idRef, AcGePoint3d(100, 100, 0), L"stará");
    const AcDbObjectId idRef2 = insert(idBlok, AcGePoint3d(200, 100, 0));
    const AcDbObjectId idAtr2 = attach(idRef2, AcGePoint3d(200, 100, 0), L"řádek");
    {
        AcDbAttribute* p = nullptr;
        ASSERT_EQ(acdbOpenObject(p, idAtr2, AcDb::kForWrite), Acad::eOk);
        ASSERT_EQ(p->convertIntoMTextAttribute(), Acad::eOk);
        p->close();
    }
    const AcDbObjectId idText = add(text(0, 0, L"text"));
    const AcDbObjectId idML = MLeader(0, 50, L"odkaz");

    type(L"101,101\nnová hodnota\n");
    PrikazEd();
    EXPECT_EQ(Obsah(idAtr), L"nová hodnota");
    type(L"201,101\nprvní\\Pdruhý\n");
    PrikazEd();
    auto* pAtr2 = Otevri<AcDbAttribute>(idAtr2);
    ASSERT_TRUE(pAtr2->isMTextAttribute());
    AcDbMText* pM = pAtr2->getMTextAttribute();
    AcString s;
    pM->contents(s);
    EXPECT_STREQ(s.constPtr(), L"první\\Pdruhý");
    delete pM;
    pAtr2->close();
    type(L"1,1\njiný text\n");
    PrikazEd();
    EXPECT_EQ(Obsah(idText), L"jiný text");
    type(L"1,49\n\n"); // Enter keeps the text
    PrikazEd();
    EXPECT_EQ(Obsah(idML), L"odkaz");
    type(L"1,49\nnový odkaz\n");
    PrikazEd();
    EXPECT_EQ(Obsah(idML), L"nový odkaz");
    const std::wstring t = transcript();
    EXPECT_NE(t.find(L"\nVyber text nebo Mtext, multiodkaz mebo atribut v bloku: "),
              std::wstring::npos);
    EXPECT_NE(t.find(L"<stará>"), std::wstring::npos) << t;
    EXPECT_NE(t.find(L"<řádek>"), std::wstring::npos) << t;
    // Esc at the pick.
    type(L"^C\n");
    PrikazEd();
    EXPECT_NE(transcript().find(L"\nChyba výběru textu nebo atributu nebo odkazu"),
              std::wstring::npos);
}

TEST_F(Texty, MtcfStripsMultilineTextsAndMultileaders) {
    const AcDbObjectId a = MText(0, 0, L"{\\fArial|b1;Slovo}\\P\\C1;Druhé");
    const AcDbObjectId b = MLeader(50, 50, L"{\\H2x;Velký}");
    const AcDbObjectId c = add(text(0, 20, L"{\\C1;beze změny}"));
    type(L"ALL\n\n");
    PrikazMtcf();
    EXPECT_EQ(Obsah(a), L"Slovo\\PDruhé");
    EXPECT_EQ(Obsah(b), L"Velký");
    EXPECT_EQ(Obsah(c), L"{\\C1;beze změny}");
    EXPECT_NE(transcript().find(L"\nVyber MText nebo MLeader "), std::wstring::npos);
    // An empty selection asks again; Esc ends.
    type(L"500,500\n\n^C\n");
    PrikazMtcf();
    EXPECT_NE(transcript().find(L"\nMusíte vybrat TEXT nebo MTEXT!!!: "), std::wstring::npos);
}

} // namespace
