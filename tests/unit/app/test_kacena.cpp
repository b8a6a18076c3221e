// Elevation markers: the height texts and the prompt of CKacena, the commands kac and kace on a
// drawing with the installed marker block, named UCSs, and the marker settings dialog.
#include "standardytest.h"

#include "CKacena.h"
#include "CVoxException.h"
#include "CKvDlgNastaveniKaceny.h"
#include "CVoxFunkce.h"
#include "CVoxXRecord.h"
#include "educs.h"
#include "installer.h"

#include <string>
#include <vector>

namespace {

class Kacena : public standardy::StandardyTest {
protected:
    void SetUp() override {
        StandardyTest::SetUp();
        ASSERT_TRUE(khost::installIfNeeded(std::string(KRESBON_SOURCE_DIR) + "/data", m_home));
        db()->setInsunits(AcDb::kUnitsMillimeters);
    }
    void TearDown() override {
        EXPECT_EQ(Otevrene(), 0);
        StandardyTest::TearDown();
    }

    void Spust(void (*pfnPrikaz)(), const wchar_t* sVstup) {
        input(sVstup);
        try {
            pfnPrikaz();
        } catch (const std::exception& e) {
            ZobrazVyjimku(e);
        }
        m_sPrepis = transcript();
    }
    bool has(const std::wstring& s) const { return m_sPrepis.find(s) != std::wstring::npos; }

    // The markers of model space, in drawing order.
    std::vector<AcDbObjectId> Kaceny() {
        std::vector<AcDbObjectId> a;
        AcDbBlockTableRecord* pModel = nullptr;
        EXPECT_EQ(acdbOpenObject(pModel, db()->currentSpaceId(), AcDb::kForRead), Acad::eOk);
        AcDbBlockTableRecordIterator* pIt = nullptr;
        pModel->newIterator(pIt);
        for (; !pIt->done(); pIt->step()) {
            AcDbObjectId id;
            pIt->getEntityId(id);
            if (AcDbBlockReference::cast(khost::peekObject(id)))
                a.push_back(id);
        }
        delete pIt;
        pModel->close();
        return a;
    }
    std::wstring Atribut(AcDbObjectId id, const ACHAR* sTag) {
        AcDbBlockReference* pRef = nullptr;
        EXPECT_EQ(acdbOpenObject(pRef, id, AcDb::kForRead), Acad::eOk);
        AcDbAttribute* pAtr = nullptr;
        std::wstring s = L"<none>";
        if (NajdiAtribut(pRef, sTag, pAtr) && pAtr) {
            ACHAR* sText = pAtr->textString();
            s = sText;
            acutDelString(sText);
            pAtr->close();
        }
        pRef->close();
        return s;
    }
    AcDbEvalVariant Vlastnost(AcDbObjectId id, const ACHAR* sJmeno) {
        AcDbDynBlockReferencePropertyArray a;
        AcDbDynBlockReference(id).getBlockProperties(a);
        for (const auto& v : a)
            if (v.propertyName() == sJmeno)
                return v.value();
        return AcDbEvalVariant();
    }
    double Real(AcDbObjectId id, const ACHAR* sJmeno) {
        double d = -1;
        Vlastnost(id, sJmeno).getValue(d);
        return d;
    }
    short Preklop(AcDbObjectId id, const ACHAR* sJmeno) {
        short n = -1;
        Vlastnost(id, sJmeno).getValue(n);
        return n;
    }
    std::wstring Retezec(AcDbObjectId id, const ACHAR* sJmeno) {
        AcString s;
        Vlastnost(id, sJmeno).getValue(s);
        return s.kACharPtr();
    }

    std::wstring m_sPrepis;
};

TEST_F(Kacena, HeightTextsFollowDecimalsAndSign) {
    CKacena k;
    k.m_nDesMist = 3;
    k.m_nZnamenko = 1;
    EXPECT_EQ(k.TextVysky(0.0004), L"%%p0.000");
    EXPECT_EQ(k.TextVysky(-0.0004), L"%%p0.000");
    EXPECT_EQ(k.TextVysky(0.0006), L"+0.001");
    EXPECT_EQ(k.TextVysky(-1.25), L"-1.250");
    k.m_nZnamenko = 0;
    EXPECT_EQ(k.TextVysky(1.25), L"1.250");
    k.m_nDesMist = 1;
    EXPECT_EQ(k.TextVysky(-0.04), L"-0.0");
    EXPECT_EQ(CKacena::TextAbsolutni(235.456), L"235.46");
}

TEST_F(Kacena, PromptOffersTheOptionsThatAreNotCurrent) {
    CKacena k;
    k.SestavPrompt();
    EXPECT_EQ(k.m_sPrompt, L"\nZadej umístění kačeny [Nastavení, Spodní, Levá, Odkaz] 'Horní, "
                           L"Pravá, Bez odkazu' <Nastavení>: ");
    EXPECT_EQ(k.m_sKlice, L"N S L O");
    k.m_nSvisle = 2;
    k.m_nVodorovne = 2;
    k.m_bOdkaz = true;
    k.m_bLzeVratit = true;
    k.SestavPrompt();
    EXPECT_EQ(k.m_sPrompt, L"\nZadej umístění kačeny [Nastavení, Horní, Pravá, Bez odkazu] Zpět, "
                           L"'Spodní, Levá, Odkaz' <Nastavení>: ");
    EXPECT_EQ(k.m_sKlice, L"N H P B Z");
    k.m_bLzeVratit = false;
    transcript();
    k.Zpet();
    EXPECT_EQ(transcript(), L"\nJiž není co brát zpět");
}

TEST_F(Kacena, KacPlacesMarkersRelativeToTheBasePoint) {
    CVoxXRecord::ZapisBod(L"WCSZBOD", AcGePoint3d(0, 1000, 0), KACENA_SKUPINA);
    transcript();
    Spust(PrikazKac, L"0,3500\n5,1000\n^C\n");
    std::vector<AcDbObjectId> a = Kaceny();
    ASSERT_EQ(a.size(), 2u) << khost::toUtf8(m_sPrepis);
    EXPECT_EQ(Atribut(a[0], L"VYSKA"), L"+2.500");
    EXPECT_EQ(Atribut(a[1], L"VYSKA"), L"%%p0.000");
    EXPECT_EQ(Atribut(a[0], L"POPIS"), L"");
    EXPECT_EQ(Retezec(a[0], L"ODKAZ"), L"Bez odkazu");
    EXPECT_EQ(Real(a[0], L"DL_ODKAZU"), 0.0);
    AcDbEntity* pEnt = nullptr;
    ASSERT_EQ(acdbOpenObject(pEnt, a[0], AcDb::kForRead), Acad::eOk);
    ACHAR* sJmeno = pEnt->layer();
    std::wstring sHladina = sJmeno;
    acutDelString(sJmeno);
    pEnt->close();
    EXPECT_TRUE(sHladina.ends_with(L"kóty_výškové")) << khost::toUtf8(sHladina);
    // The settings went into the drawing: the defaults of a millimetre drawing.
    int n = -1;
    EXPECT_TRUE(CVoxXRecord::CtiInt(L"ZNAMENKO", n, KACENA_SKUPINA));
    EXPECT_EQ(n, 1);
    double d = 0;
    EXPECT_TRUE(CVoxXRecord::CtiReal(L"PREPOCET", d, KACENA_SKUPINA));
    EXPECT_DOUBLE_EQ(d, 0.001);
}

TEST_F(Kacena, MetreDrawingsGetTwoDecimalsWithoutSign) {
    db()->setInsunits(AcDb::kUnitsMeters);
    Spust(PrikazKac, L"0,2.5\n^C\n");
    std::vector<AcDbObjectId> a = Kaceny();
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(Atribut(a[0], L"VYSKA"), L"2.50");
}

TEST_F(Kacena, LeadersFlipsUndoAndCancel) {
    // Text below, leader to the left; a short leader becomes 5; Esc at the leader leaves
    // nothing; Z takes the newest marker back.
    Spust(PrikazKac, L"S\nO\n100,0\n97,0\n200,0\n220,0\n300,0\n^C\nZ\nZ\nZ\nB\n1,1\n^C\n");
    std::vector<AcDbObjectId> a = Kaceny();
    ASSERT_EQ(a.size(), 1u) << khost::toUtf8(m_sPrepis);
    EXPECT_TRUE(has(L"\nZadej umístění kačeny: 97,0"));
    // With nothing left to undo "Z" is no longer a keyword of the prompt: the host refuses it.
    EXPECT_TRUE(has(L"Zpět, 'Spodní, Pravá, Odkaz' <Nastavení>: Z\n"));
    EXPECT_TRUE(has(L"'Spodní, Pravá, Odkaz' <Nastavení>: Z\nPoint or option keyword required."));
    EXPECT_EQ(Retezec(a[0], L"ODKAZ"), L"Bez odkazu");
    EXPECT_EQ(Preklop(a[0], L"ZRC_VERT"), 1);
    EXPECT_EQ(Preklop(a[0], L"ZRC_TEXTU"), 1);

    Spust(PrikazKac, L"O\n100,0\n97,0\n200,0\n220,0\nL\n300,0\n\n^C\n");
    a = Kaceny();
    ASSERT_EQ(a.size(), 4u) << khost::toUtf8(m_sPrepis);
    EXPECT_EQ(Retezec(a[1], L"ODKAZ"), L"S odkazem");
    EXPECT_DOUBLE_EQ(Real(a[1], L"DL_ODKAZU"), 5.0);
    EXPECT_EQ(Preklop(a[1], L"ZRC_HORIZ_ODKAZU"), 1); // the leader point lies to the left
    EXPECT_EQ(Preklop(a[1], L"ZRC_HORIZ"), 1);
    EXPECT_DOUBLE_EQ(Real(a[2], L"DL_ODKAZU"), 20.0);
    EXPECT_EQ(Preklop(a[2], L"ZRC_HORIZ_ODKAZU"), 0);
    EXPECT_EQ(Preklop(a[2], L"ZRC_HORIZ"), 0);
    EXPECT_DOUBLE_EQ(Real(a[3], L"DL_ODKAZU"), 5.0); // Enter at the leader prompt
    EXPECT_EQ(Preklop(a[3], L"ZRC_HORIZ"), 1);       // left side, leader to the right
}

TEST_F(Kacena, NamedUcssKeepTheirOwnBasePoints) {
    input(L"Save\nA\n");
    khost::cmdUcs();
    Spust(PrikazKac, L"N\n308=1000\nOK\n^C\n");
    input(L"0,500\n\nSave\nB\n");
    khost::cmdUcs();
    khost::cmdUcs();
    Spust(PrikazKac, L"N\n104=1\nOK\n0,0\n^C\n");
    input(L"Restore\nA\n");
    khost::cmdUcs();
    Spust(PrikazKac, L"0,3500\n^C\n");
    std::vector<AcDbObjectId> a = Kaceny();
    ASSERT_EQ(a.size(), 2u) << khost::toUtf8(m_sPrepis);
    EXPECT_EQ(Atribut(a[0], L"VYSKA"), L"+1.000"); // at B's base point, its height 1
    EXPECT_EQ(Atribut(a[1], L"VYSKA"), L"+2.500");
    AcGePoint3d pt;
    EXPECT_TRUE(CVoxXRecord::CtiBod(L"AZBOD", pt, KACENA_SKUPINA));
    EXPECT_DOUBLE_EQ(pt.y, 1000.0);
    double d = 0;
    EXPECT_TRUE(CVoxXRecord::CtiReal(L"BVYSKA", d, KACENA_SKUPINA));
    EXPECT_DOUBLE_EQ(d, 1000.0); // kept in drawing units

    // Saved and read back, B still has its own base height.
    const std::wstring sCesta = khost::fromUtf8(m_home + "/ucs.dxf");
    std::wstring sChyba;
    ASSERT_TRUE(khost::writeDrawing(db(), sCesta, sChyba)) << khost::toUtf8(sChyba);
    AcDbDatabase* pNova = khost::readDrawing(sCesta, sChyba);
    ASSERT_NE(pNova, nullptr) << khost::toUtf8(sChyba);
    khost::closeDocument(m_doc);
    m_doc = khost::openDocument(pNova, sCesta);
    input(L"Restore\nB\n");
    khost::cmdUcs();
    Spust(PrikazKac, L"0,1000\n^C\n");
    a = Kaceny();
    ASSERT_EQ(a.size(), 3u) << khost::toUtf8(m_sPrepis);
    EXPECT_EQ(Atribut(a[2], L"VYSKA"), L"+2.000");
}

TEST_F(Kacena, KaceRecomputesMovedMarkersAndRefusesOtherEntities) {
    Spust(PrikazKac, L"0,1000\n^C\n");
    std::vector<AcDbObjectId> a = Kaceny();
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(Atribut(a[0], L"VYSKA"), L"+1.000");
    AcDbBlockReference* pRef = nullptr;
    ASSERT_EQ(acdbOpenObject(pRef, a[0], AcDb::kForWrite), Acad::eOk);
    pRef->setPosition(AcGePoint3d(0, -500, 0));
    pRef->close();
    // Another block: a selection of it alone has no marker.
    CVoxBlokDef def;
    def.m_idBlok = VytvorBlok(L"JINY", db());
    def.m_ptVlozeni = AcGePoint3d(50, 50, 0);
    AcDbBlockTableRecord* pModel = nullptr;
    ASSERT_EQ(acdbOpenObject(pModel, db()->currentSpaceId(), AcDb::kForWrite), Acad::eOk);
    ASSERT_FALSE(VlozBlok(def, pModel).isNull());

    Spust(PrikazKace, L"L\n\n^C\n");
    EXPECT_TRUE(has(L"\nJe nutné vybrat kačenu (blok kv_kacena), vyberte znovu, nebo ESC "
                    L"konec: "))
        << khost::toUtf8(m_sPrepis);
    EXPECT_EQ(Atribut(a[0], L"VYSKA"), L"+1.000");
    Spust(PrikazKace, L"ALL\n\n");
    EXPECT_EQ(Atribut(a[0], L"VYSKA"), L"-0.500");
}

class DlgKacena : public Kacena {
protected:
    INT_PTR Dialog(CKacena& k, const wchar_t* sVstup) {
        transcript();
        input(sVstup);
        INT_PTR n = CKvDlgNastaveniKaceny::Nastav(k);
        m_sPrepis = transcript();
        return n;
    }
};

TEST_F(DlgKacena, PresetsAndUnitRadios) {
    CKacena k; // millimetres: the relative preset is marked
    ASSERT_EQ(Dialog(k, L"show\n313=1\n302=0.000\n314=0.0010001\n314=0.002\nOK\n"), IDOK);
    EXPECT_TRUE(has(L"** Dialog 300: Kresbon pro AutoCad **")) << khost::toUtf8(m_sPrepis);
    EXPECT_TRUE(has(L"  311 radio \"Relativní kóta\" = 1\n"));
    EXPECT_TRUE(has(L"  356 static \"UCS: WCS\"\n"));
    // "Absolutní kóty": factor 1, no sign, two decimals, metres.
    EXPECT_TRUE(has(L"Dialog: 313=1\n  301 check \"Znaménko\" = 0\n"
                    L"  302 combo \"Počet desetinných míst\" = 2 \"0.00\""));
    EXPECT_TRUE(has(L"  305 radio \"Metry\" = 1\n"));
    EXPECT_TRUE(has(L"  314 edit \"Přepočet jednotek\" = \"1\"\n"));
    EXPECT_TRUE(has(L"  148 check \"Přidat absolutní výšku, +-0,00 =\" = 0 (disabled)\n"));
    // Three decimals alone mark no preset; 0.0010001 counts as millimetres, 0.002 not.
    EXPECT_TRUE(has(L"  313 radio \"Absolutní kóty\" = 0\n"));
    EXPECT_TRUE(has(L"Dialog: 314=0.0010001\n"));
    EXPECT_TRUE(has(L"  304 radio \"Milimetry\" = 1\n"));
    EXPECT_TRUE(has(L"  307 radio \"Jiné\" = 1\n"));
    EXPECT_DOUBLE_EQ(k.m_dPrepocet, 0.002);
    EXPECT_EQ(k.m_nZnamenko, 0);
    EXPECT_EQ(k.m_nDesMist, 3);
}

TEST_F(DlgKacena, RelativeModeRulesAndPick) {
    CKacena k;
    ASSERT_EQ(Dialog(k, L"click 311\n302=0.00\n302=0.000\n148=1\n303=1\n149=235,5\n"
                        L"click 310\n12.5,3\n104=0.25\n316=x\nOK\n"),
              IDOK);
    // Changing the decimals clears the preset mark; setting them back marks it again.
    EXPECT_TRUE(has(L"Dialog: 302=0.00\n  302 combo \"Počet desetinných míst\" = 2 \"0.00\" "
                    L"[0 | 0.0 | 0.00 | 0.000 | 0.0000]\n  311 radio \"Relativní kóta\" = 0\n"))
        << khost::toUtf8(m_sPrepis);
    // With the absolute height ticked the description controls are disabled and the zero
    // shown; "Zadávat" cannot be ticked then.
    EXPECT_TRUE(has(L"  303 check \"Zadávat\" = 0 (disabled)\n"));
    EXPECT_TRUE(has(L"  316 edit \"Popis pod kačenou\" = \"\" (disabled)\n"));
    EXPECT_TRUE(has(L"  149 edit \"+-0,00 =\" = \"0.000\"\n  150 static \"m n.m.\"\n"));
    EXPECT_TRUE(has(L"Dialog: 303=1\nControl 303 is disabled."));
    // Pick: the dialog hides, asks, comes back with the point and the height selected.
    EXPECT_TRUE(has(L"\nZadej bod: 12.5,3\n** Dialog 300"));
    EXPECT_TRUE(has(L"  309 edit \"X:\" = \"12.500000\"\n  308 edit \"Y:\" = \"3.000000\"\n"));
    EXPECT_TRUE(has(L"Control 316 is disabled."));
    EXPECT_DOUBLE_EQ(k.m_ptZBod.x, 12.5);
    EXPECT_DOUBLE_EQ(k.m_ptZBod.y, 3.0);
    EXPECT_DOUBLE_EQ(k.m_dVyska, 0.25);
    EXPECT_DOUBLE_EQ(k.m_dNulaAbsolutni, 235.5);
    EXPECT_TRUE(k.m_bPridatAbsolutni);
}

TEST_F(DlgKacena, DescriptionRulesCancelAndEmptyNumbers) {
    CKacena k;
    k.m_sPopisPod = L"DN";
    ASSERT_EQ(Dialog(k, L"303=1\n316=x\n303=0\n316=PVC\n314=\nOK\n314=1\nCancel\n"), IDCANCEL);
    EXPECT_TRUE(has(L"Dialog: 303=1\n  303 check \"Zadávat\" = 1\n  316 edit \"Popis pod "
                    L"kačenou\" = \"DN\" (hidden)\n"))
        << khost::toUtf8(m_sPrepis);
    EXPECT_TRUE(has(L"Control 316 is hidden."));
    // An emptied factor is pointed out and OK does not close the dialog.
    EXPECT_TRUE(has(L"Dialog: OK\n  314 balloon: [Chybný vstup] Zadejte desetinné číslo"));
    EXPECT_EQ(k.m_sPopisPod, L"DN");
    EXPECT_DOUBLE_EQ(k.m_dPrepocet, 0.001);

    ASSERT_EQ(Dialog(k, L"316=PVC\n303=1\nOK\n"), IDOK);
    EXPECT_EQ(k.m_sPopisPod, L"PVC");
    EXPECT_EQ(k.m_bPtatSe, 1);
}

} // namespace
