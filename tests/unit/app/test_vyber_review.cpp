// Failure paths of the picks (objects held by others, picks without a marker), the labels of the
// typed selections, attributes that cannot be raised to writing, dynamic properties named with
// Czech letters in any case, and the drawing's value store through a DXF save and reload.
#include "../sel/seltest.h"
#include "standardytest.h"

#include "CVoxEntity.h"
#include "CVoxVyber.h"
#include "CVoxXRecord.h"
#include "dbdynblk.h"

#include <memory>

namespace {

using namespace seltest;

// A reference at (100,0) of a block with a text at its origin and a polyline (20,0)-(30,0)-(30,10),
// with an attribute at (100,20); a polyline (0,50)-(20,50) and a line in model space.
class VyberSelhani : public SelTest {
protected:
    void SetUp() override {
        SelTest::SetUp();
        m_blok = defineBlock(L"B");
        m_text = add(text(0, 0, L"XY", 2), m_blok);
        m_plineVBloku = add(pline({{20, 0}, {30, 0}, {30, 10}}), m_blok);
        m_ref = insert(m_blok, AcGePoint3d(100, 0, 0));
        m_att = attach(m_ref, AcGePoint3d(100, 20, 0), L"HODNOTA");
        m_pline = add(pline({{0, 50}, {20, 50}}));
        m_line = add(line(0, 80, 20, 80));
    }

    // Holds an object open for write while a routine tries to read it.
    struct Drzi {
        explicit Drzi(AcDbObjectId id) {
            EXPECT_EQ(acdbOpenObject(p, id, AcDb::kForWrite), Acad::eOk);
        }
        ~Drzi() {
            if (p)
                p->close();
        }
        AcDbObject* p = nullptr;
    };

    AcDbObjectId m_blok, m_text, m_plineVBloku, m_ref, m_att, m_pline, m_line;
};

TEST_F(VyberSelhani, PickedObjectsThatCannotBeOpenedEndWithUnknownError) {
    AcDbEntity* pEnt = nullptr;
    AcDbBlockReference* pRef = nullptr;
    AcDbEntity* pHorni = nullptr;
    AcDbPolyline* pPline = nullptr;
    {
        // The attribute is someone else's: the reference is closed again, the set freed, and
        // even mustSelect does not ask again.
        Drzi drzi(m_att);
        type(L"102,21\n");
        EXPECT_EQ(VyberTextNeboAtribut(pEnt, pRef, true, true), VYBER_ZRUSENO);
        EXPECT_EQ(pEnt, nullptr);
        EXPECT_EQ(pRef, nullptr);
        EXPECT_EQ(transcript(), L"\nVyber text nebo Mtext, multiodkaz mebo atribut v bloku: "
                                L"\nSelect objects: 102,21\n\n....Nepodařilo se otevřít "
                                L"entitu...\nNeznámá chyba...");
    }
    {
        Drzi drzi(m_ref);
        type(L"101,1\n");
        EXPECT_EQ(VyberTextNeboAtribut(pEnt, pRef, true, true), VYBER_ZRUSENO);
        type(L"101,1\n");
        EXPECT_EQ(VyberCaruNeboText(pEnt, pHorni, pPline, true, true), VYBER_ZRUSENO);
        EXPECT_EQ(pEnt, nullptr);
        EXPECT_EQ(pHorni, nullptr);
        const std::wstring t = transcript();
        EXPECT_NE(t.find(L"101,1\n\nNeznámá chyba...\nVyber úsečku"), std::wstring::npos);
        const std::wstring sKonec = L"101,1\n\nNeznámá chyba...";
        EXPECT_EQ(t.rfind(sKonec), t.size() - sKonec.size());
    }
    {
        // The polyline inside the block is held: the top-level reference is closed once.
        Drzi drzi(m_plineVBloku);
        type(L"125,0\n");
        EXPECT_EQ(VyberCaruNeboText(pEnt, pHorni, pPline, true, true), VYBER_ZRUSENO);
        EXPECT_EQ(pEnt, nullptr);
        EXPECT_EQ(pHorni, nullptr);
        EXPECT_EQ(pPline, nullptr);
        EXPECT_NE(transcript().find(L"125,0\n\n....Nepodařilo se otevřít entitu...\nNeznámá "
                                    L"chyba..."),
                  std::wstring::npos);
    }
    // Nothing held: the second segment inside the block comes as a line, the polyline closed.
    type(L"130,5\n");
    ASSERT_EQ(VyberCaruNeboText(pEnt, pHorni, pPline, false, true), VYBER_OK);
    EXPECT_EQ(pPline->objectId(), m_plineVBloku);
    EXPECT_EQ(pHorni->objectId(), m_ref);
}

TEST_F(VyberSelhani, SegmentOfPolylineFromNestedPickOrNone) {
    // A direct pick: the polyline is handed over open once, the segment is outside the database.
    type(L"10,50\n");
    ads_name ss;
    ASSERT_EQ(acedSSGet(L"_:N:S", nullptr, nullptr, nullptr, ss), RTNORM);
    AcDbEntity* pEnt = nullptr;
    AcDbEntity* pSegment = nullptr;
    CVoxSeznamReferenci reference;
    ASSERT_EQ(VnorenaEntita(ss, pEnt, &reference, &pSegment), 0);
    acedSSFree(ss);
    ASSERT_NE(pEnt, nullptr);
    EXPECT_EQ(pEnt->objectId(), m_pline);
    EXPECT_TRUE(pEnt->isReadEnabled());
    EXPECT_EQ(reference.Pocet(), 0);
    std::unique_ptr<AcDbEntity> segment(pSegment);
    auto* pUsecka = AcDbLine::cast(pSegment);
    ASSERT_NE(pUsecka, nullptr);
    EXPECT_TRUE(pUsecka->objectId().isNull());
    EXPECT_EQ(pUsecka->endPoint(), AcGePoint3d(20, 50, 0));
    EXPECT_EQ(pEnt->close(), Acad::eOk);

    // A member that was not picked has no marker: no segment, the polyline closed again.
    ads_name en;
    acdbGetAdsName(en, m_pline);
    ASSERT_EQ(acedSSAdd(en, nullptr, ss), RTNORM);
    pSegment = reinterpret_cast<AcDbEntity*>(1);
    EXPECT_NE(VnorenaEntita(ss, pEnt, nullptr, &pSegment), 0);
    EXPECT_EQ(pEnt, nullptr);
    EXPECT_EQ(pSegment, nullptr);
    EXPECT_EQ(transcript(), L"Select objects: 10,50\n\n....Nepodařilo se najít subentitu Pline...");
    // Without asking for a segment the polyline itself is the answer.
    ASSERT_EQ(VnorenaEntita(ss, pEnt, nullptr, nullptr), 0);
    EXPECT_EQ(pEnt->objectId(), m_pline);
    pEnt->close();
    acedSSFree(ss);
}

TEST_F(VyberSelhani, LabelsOfTheKindsAndAPickfirstSetOfAnotherKind) {
    // A line in the pickfirst set is no text: the prompt comes and the set stays.
    ads_name pf, en, ss;
    acdbGetAdsName(en, m_line);
    ASSERT_EQ(acedSSAdd(en, nullptr, pf), RTNORM);
    acedSSSetFirst(pf, nullptr);
    acedSSFree(pf);
    type(L"\n^C\n");
    EXPECT_EQ(VyberEntity(ss, true, false, DRUH_TEXT | DRUH_MTEXT), VYBER_ZRUSENO);
    EXPECT_EQ(khost::currentSession().pickfirst.size(), 1u);
    EXPECT_EQ(transcript(), L"\nVyber TEXT nebo MTEXT:\nSelect objects: \n\nMusíte vybrat TEXT "
                            L"nebo MTEXT!!!\nSelect objects: *Cancel*\n");
    acedSSSetFirst(nullptr, nullptr);
    type(L"\n");
    EXPECT_EQ(VyberTextMtextMleader(ss, false, false), VYBER_ZRUSENO);
    EXPECT_EQ(transcript(), L"\nVyber TEXT, MTEXT nebo MultiODKAZ:\nSelect objects: \n");
    AcDbObjectId id = m_line;
    type(L"\n");
    EXPECT_EQ(VyberTextId(id, false), VYBER_ZRUSENO);
    EXPECT_TRUE(id.isNull());
}

class BlokyReview : public HostFixture {
protected:
    void TearDown() override {
        EXPECT_EQ(khost::reportOpenObjects(L"test end"), 0) << khost::toUtf8(transcript());
        HostFixture::TearDown();
    }
};

TEST_F(BlokyReview, NajdiAtributPassesOverAnAttributeThatCannotBeRaisedToWriting) {
    AcDbObjectId idBlok = defineBlock(L"DVA");
    AcDbObjectId idRef = insert(idBlok, AcGePoint3d(0, 0, 0));
    AcDbObjectId idPrvni = attach(idRef, AcGePoint3d(0, 0, 0), L"PRVNI");
    AcDbObjectId idDruhy = attach(idRef, AcGePoint3d(0, 5, 0), L"DRUHY");
    AcDbBlockReference* pRef = nullptr;
    ASSERT_EQ(acdbOpenObject(pRef, idRef, AcDb::kForRead), Acad::eOk);
    AcDbObject* pCtenar = nullptr;
    ASSERT_EQ(acdbOpenObject(pCtenar, idPrvni, AcDb::kForRead), Acad::eOk);
    AcDbAttribute* pAtribut = nullptr;
    ASSERT_TRUE(NajdiAtribut(pRef, L"tag", pAtribut));
    ASSERT_NE(pAtribut, nullptr);
    EXPECT_EQ(pAtribut->objectId(), idDruhy);
    EXPECT_TRUE(pAtribut->isWriteEnabled());
    AcDbAttribute* pDruhy = pAtribut;
    // The second is taken by the caller now, the first is still read elsewhere: none is left.
    EXPECT_FALSE(NajdiAtribut(pRef, L"TAG", pAtribut));
    EXPECT_EQ(pAtribut, nullptr);
    pCtenar->close();
    AcDbAttribute* pTreti = nullptr;
    ASSERT_TRUE(NajdiAtribut(pRef, L"Tag", pTreti));
    EXPECT_EQ(pTreti->objectId(), idPrvni);
    pTreti->close();
    pDruhy->close();
    pRef->close();
}

TEST_F(BlokyReview, DynamicPropertiesNamedWithCzechLettersMatchInAnyCase) {
    AcDbObjectId idBlok = defineBlock(L"DYN");
    AcDbBlockTableRecord* pBlok = nullptr;
    ASSERT_EQ(acdbOpenObject(pBlok, idBlok, AcDb::kForWrite), Acad::eOk);
    std::vector<khost::DynPropDef> aDef(3);
    aDef[0].name = L"Šířka";
    aDef[0].kind = khost::DynPropKind::Linear;
    aDef[0].defaultValue = 1.0;
    aDef[1].name = L"otočení";
    aDef[1].kind = khost::DynPropKind::Flip;
    aDef[1].defaultValue = static_cast<short>(0);
    aDef[2].name = L"Popis";
    aDef[2].kind = khost::DynPropKind::List;
    aDef[2].defaultValue = L"";
    ASSERT_EQ(khost::setDynamicBlockDefinition(pBlok, aDef), Acad::eOk);
    pBlok->close();
    AcDbObjectId idRef = insert(idBlok, AcGePoint3d(0, 0, 0));

    CVoxDynProp vlastnosti;
    vlastnosti.NastavReal(L"šířka", 2.5);
    vlastnosti.NastavPreklopeni(L"OTOČENÍ", 1);
    vlastnosti.NastavRetezec(L"popis", L"žlutý");
    NastavDynVlastnosti(idRef, vlastnosti);

    AcDbDynBlockReferencePropertyArray aVlastnosti;
    AcDbDynBlockReference(idRef).getBlockProperties(aVlastnosti);
    ASSERT_EQ(aVlastnosti.length(), 3);
    double dSirka = 0.0;
    short nOtoceni = 0;
    AcString sPopis;
    EXPECT_EQ(aVlastnosti[0].value().getValue(dSirka), Acad::eOk);
    EXPECT_EQ(dSirka, 2.5);
    EXPECT_EQ(aVlastnosti[1].value().getValue(nOtoceni), Acad::eOk);
    EXPECT_EQ(nOtoceni, 1);
    EXPECT_EQ(aVlastnosti[2].value().getValue(sPopis), Acad::eOk);
    EXPECT_EQ(sPopis, L"žlutý");
}

// ---- The value store through a DXF file ----------------------------------------------------

class XRecordDxf : public standardy::StandardyTest {
protected:
    void TearDown() override {
        EXPECT_EQ(Otevrene(), 0) << standardy::Utf8(transcript());
        StandardyTest::TearDown();
    }
    // An object of the store's dictionary, added under the name and closed.
    void PridejDoSlovniku(const ACHAR* sJmeno, AcDbObject* pObj) {
        ASSERT_TRUE(CVoxXRecord::ZapisInt(L"ZALOZ", 0));
        AcDbDictionary* pNod = nullptr;
        ASSERT_EQ(db()->getNamedObjectsDictionary(pNod, AcDb::kForRead), Acad::eOk);
        AcDbDictionary* pSlovnik = nullptr;
        ASSERT_EQ(pNod->getAt(L"DUVADEDE", pSlovnik, AcDb::kForWrite), Acad::eOk);
        pNod->close();
        AcDbObjectId id;
        EXPECT_EQ(pSlovnik->setAt(sJmeno, pObj, id), Acad::eOk);
        pObj->close();
        pSlovnik->close();
    }
};

TEST_F(XRecordDxf, ValuesSurviveSaveAndReload) {
    ASSERT_TRUE(CVoxXRecord::ZapisInt(L"ZNAMENKO", -7, L"DlgKacena"));
    ASSERT_TRUE(CVoxXRecord::ZapisReal(L"KROK", 0.125, L"DlgKacena"));
    ASSERT_TRUE(CVoxXRecord::ZapisString(L"POPIS", L"kóta ±0,000", L"DlgKacena"));
    ASSERT_TRUE(CVoxXRecord::ZapisBod(L"BOD", AcGePoint3d(1.5, -2.25, 3), L"DlgKacena"));
    ASSERT_TRUE(CVoxXRecord::ZapisBool(L"ODKAZ", true, L"DlgKacena"));
    ASSERT_TRUE(CVoxXRecord::ZapisBool(L"ODKAZ", false, L"DlgKacena"));
    ASSERT_TRUE(CVoxXRecord::ZapisString(L"PREDPONA", L"AB"));
    const std::string sSoubor = Uloz("hodnoty.dxf");
    ASSERT_FALSE(sSoubor.empty());

    std::wstring sChyba;
    AcDbDatabase* pNacteny =
        khost::readDrawing(std::wstring(sSoubor.begin(), sSoubor.end()), sChyba);
    ASSERT_NE(pNacteny, nullptr) << standardy::Utf8(sChyba);
    khost::openDocument(pNacteny, L"");
    ASSERT_EQ(db(), pNacteny);
    int n = 0;
    double d = 0.0;
    CString sC;
    AcString sA;
    AcGePoint3d bod;
    bool b = true;
    EXPECT_TRUE(CVoxXRecord::CtiInt(L"ZNAMENKO", n, L"DlgKacena"));
    EXPECT_TRUE(CVoxXRecord::CtiReal(L"KROK", d, L"DlgKacena"));
    EXPECT_TRUE(CVoxXRecord::CtiString(L"POPIS", sC, L"DlgKacena"));
    EXPECT_TRUE(CVoxXRecord::CtiBod(L"BOD", bod, L"DlgKacena"));
    EXPECT_TRUE(CVoxXRecord::CtiBool(L"ODKAZ", b, L"DlgKacena"));
    EXPECT_TRUE(CVoxXRecord::CtiString(L"PREDPONA", sA));
    EXPECT_EQ(n, -7);
    EXPECT_EQ(d, 0.125);
    EXPECT_EQ(std::wstring(sC.GetString()), L"kóta ±0,000");
    EXPECT_EQ(bod, AcGePoint3d(1.5, -2.25, 3));
    EXPECT_FALSE(b);
    EXPECT_EQ(sA, L"AB");
    EXPECT_EQ(transcript(), L"");

    if (!MameEzdxf())
        GTEST_SKIP() << "python3-ezdxf is not installed";
    EXPECT_EQ(Ezdxf(sSoubor, "d = doc.rootdict['DUVADEDE']\n"
                             "for k in sorted(d.keys()):\n"
                             "    print(k, d[k].dxftype(), [(t.code, t.value) for t in "
                             "d[k].tags])\n"),
              "DlgKacena_BOD XRECORD [(10, (1.5, -2.25, 3.0))]\n"
              "DlgKacena_KROK XRECORD [(40, 0.125)]\n"
              "DlgKacena_ODKAZ XRECORD [(70, 0)]\n"
              "DlgKacena_POPIS XRECORD [(1, 'kóta ±0,000')]\n"
              "DlgKacena_ZNAMENKO XRECORD [(90, -7)]\n"
              "PREDPONA XRECORD [(1, 'AB')]\n");
}

TEST_F(XRecordDxf, RecordsTheReaderCannotUseAndANameTheWriterRefuses) {
    // An empty record and an entry that is no record: false, the place unchanged; only the
    // entry that cannot be opened as a record prints its line.
    PridejDoSlovniku(L"PRAZDNY", new AcDbXrecord());
    PridejDoSlovniku(L"SLOVNIK", new AcDbDictionary());
    int n = 4;
    EXPECT_FALSE(CVoxXRecord::CtiInt(L"PRAZDNY", n));
    EXPECT_EQ(transcript(), L"");
    EXPECT_FALSE(CVoxXRecord::CtiInt(L"SLOVNIK", n));
    EXPECT_EQ(transcript(), L"Nelze otevřít SLOVNIK");
    EXPECT_EQ(n, 4);
    EXPECT_EQ(CVoxXRecord::CtiRb(L"PRAZDNY"), nullptr);

    // A record without a name cannot be made: reported once, the chain released.
    input(L"OK\n");
    EXPECT_FALSE(CVoxXRecord::ZapisString(L"", L"nic"));
    const std::wstring t = transcript();
    const std::wstring sHlaseni = L"Nepodařilo se vytvořit záznam XRecord v AcDbDictionary";
    EXPECT_NE(t.find(sHlaseni), std::wstring::npos) << standardy::Utf8(t);
    EXPECT_EQ(t.find(sHlaseni), t.rfind(sHlaseni));
}

} // namespace
