// The drawing's store of named values in the dictionary "DUVADEDE".
#include "standardytest.h"

#include "CVoxException.h"
#include "CVoxXRecord.h"
#include "VoxPlatforma.h"

#include <cstring>

namespace {

using standardy::Utf8;

class XRecord : public standardy::StandardyTest {
protected:
    // The entries of "DUVADEDE"; -1 when the drawing has no such dictionary.
    int PocetZaznamu() {
        AcDbDictionary* pNod = nullptr;
        AcDbDictionary* pSlovnik = nullptr;
        if (db()->getNamedObjectsDictionary(pNod, AcDb::kForRead) != Acad::eOk)
            return -2;
        const Acad::ErrorStatus es = pNod->getAt(L"DUVADEDE", pSlovnik, AcDb::kForRead);
        pNod->close();
        if (es != Acad::eOk)
            return -1;
        const int n = static_cast<int>(pSlovnik->numEntries());
        pSlovnik->close();
        return n;
    }
};

TEST_F(XRecord, MissingDictionaryOrRecordPrintsItsLineAndLeavesTheValue) {
    int n = 7;
    EXPECT_FALSE(CVoxXRecord::CtiInt(L"ZNAMENKO", n, L"DlgKacena"));
    EXPECT_EQ(transcript(), L"Nelze otevřít DUVADEDE");
    EXPECT_EQ(PocetZaznamu(), -1);
    ASSERT_TRUE(CVoxXRecord::ZapisInt(L"JINY", 1, L"DlgKacena"));
    EXPECT_FALSE(CVoxXRecord::CtiInt(L"ZNAMENKO", n, L"DlgKacena"));
    EXPECT_EQ(transcript(), L"Nelze otevřít DlgKacena_ZNAMENKO");
    EXPECT_EQ(n, 7);
    resbuf* pRb = reinterpret_cast<resbuf*>(1);
    EXPECT_FALSE(CVoxXRecord::Cti(L"ZNAMENKO", pRb));
    EXPECT_EQ(pRb, nullptr);
    EXPECT_EQ(Otevrene(), 0);
}

TEST_F(XRecord, EveryKindRoundTripsUnderItsGroupCode) {
    ASSERT_TRUE(CVoxXRecord::ZapisInt(L"ZNAMENKO", -2, L"DlgKacena"));
    ASSERT_TRUE(CVoxXRecord::ZapisReal(L"KROK", 0.25, L"DlgKacena"));
    ASSERT_TRUE(CVoxXRecord::ZapisString(L"POPIS", L"žluťoučký", L"DlgKacena"));
    ASSERT_TRUE(CVoxXRecord::ZapisBod(L"BOD", AcGePoint3d(1.5, -2, 3), L"DlgKacena"));
    ASSERT_TRUE(CVoxXRecord::ZapisBool(L"ODKAZ", true, L"DlgKacena"));
    ASSERT_TRUE(CVoxXRecord::ZapisString(L"PREDPONA", L"AB"));
    int n = 0;
    double d = 0;
    CString sC;
    AcString sA;
    AcGePoint3d bod;
    bool b = false;
    EXPECT_TRUE(CVoxXRecord::CtiInt(L"ZNAMENKO", n, L"DlgKacena"));
    EXPECT_TRUE(CVoxXRecord::CtiReal(L"KROK", d, L"DlgKacena"));
    EXPECT_TRUE(CVoxXRecord::CtiString(L"POPIS", sC, L"DlgKacena"));
    EXPECT_TRUE(CVoxXRecord::CtiBod(L"BOD", bod, L"DlgKacena"));
    EXPECT_TRUE(CVoxXRecord::CtiBool(L"ODKAZ", b, L"DlgKacena"));
    EXPECT_EQ(n, -2);
    EXPECT_DOUBLE_EQ(d, 0.25);
    EXPECT_EQ(std::wstring(sC.GetString()), L"žluťoučký");
    EXPECT_EQ(bod, AcGePoint3d(1.5, -2, 3));
    EXPECT_TRUE(b);
    // Without a group the record is named by the value alone.
    EXPECT_TRUE(CVoxXRecord::CtiString(L"PREDPONA", sA));
    EXPECT_EQ(sA, L"AB");
    const std::pair<const ACHAR*, int> aKody[] = {
        {L"DlgKacena_ZNAMENKO", 90}, {L"DlgKacena_KROK", 40},  {L"DlgKacena_POPIS", 1},
        {L"DlgKacena_BOD", 10},      {L"DlgKacena_ODKAZ", 70}, {L"PREDPONA", 1}};
    for (const auto& [sJmeno, nKod] : aKody) {
        resbuf* pRb = CVoxXRecord::CtiRb(sJmeno);
        ASSERT_NE(pRb, nullptr) << Utf8(sJmeno);
        EXPECT_EQ(pRb->restype, nKod) << Utf8(sJmeno);
        EXPECT_EQ(pRb->rbnext, nullptr);
        acutRelRb(pRb);
    }
    // Writing again replaces the record; the raw reader gives the whole chain.
    ASSERT_TRUE(CVoxXRecord::ZapisInt(L"ZNAMENKO", 12, L"DlgKacena"));
    ASSERT_TRUE(CVoxXRecord::Zapis(L"DVA", acutBuildList(1, L"a", 90, 5, 0)));
    EXPECT_EQ(PocetZaznamu(), 7);
    EXPECT_TRUE(CVoxXRecord::CtiInt(L"ZNAMENKO", n, L"DlgKacena"));
    EXPECT_EQ(n, 12);
    resbuf* pRb = CVoxXRecord::CtiRb(L"DVA");
    ASSERT_NE(pRb, nullptr);
    ASSERT_NE(pRb->rbnext, nullptr);
    EXPECT_EQ(pRb->rbnext->resval.rlong, 5);
    acutRelRb(pRb);
    EXPECT_EQ(transcript(), L"");
    EXPECT_EQ(Otevrene(), 0);
}

TEST_F(XRecord, ValueOfAnotherKindRaisesTheKindError) {
    ASSERT_TRUE(CVoxXRecord::ZapisInt(L"CISLO", 5));
    double d = 3.5;
    try {
        CVoxXRecord::CtiReal(L"CISLO", d);
        ADD_FAILURE() << "no exception";
    } catch (const CVoxException& e) {
        const std::string s = VoxPlatforma::NaAnsi("Očekávaný typ proměnné XRecord neodpovídá");
        EXPECT_EQ(std::strncmp(e.what(), s.c_str(), s.size()), 0) << e.what();
    }
    EXPECT_DOUBLE_EQ(d, 3.5);
    AcString s;
    EXPECT_THROW(CVoxXRecord::CtiString(L"CISLO", s), CVoxException);
    EXPECT_EQ(Otevrene(), 0);
}

TEST_F(XRecord, EraseRemovesTheDictionaryAndWritingStartsItAgain) {
    EXPECT_TRUE(CVoxXRecord::Smaz());
    EXPECT_EQ(PocetZaznamu(), -1);
    ASSERT_TRUE(CVoxXRecord::ZapisReal(L"A", 1.0));
    EXPECT_TRUE(CVoxXRecord::Smaz());
    EXPECT_EQ(PocetZaznamu(), -1);
    ASSERT_TRUE(CVoxXRecord::ZapisReal(L"B", 3.0));
    EXPECT_EQ(PocetZaznamu(), 1);
    EXPECT_EQ(Otevrene(), 0);
    const std::string sSoubor = Uloz("store.dxf");
    ASSERT_FALSE(sSoubor.empty());
    if (!MameEzdxf())
        GTEST_SKIP() << "python3-ezdxf is not installed";
    EXPECT_EQ(Ezdxf(sSoubor, "d = doc.rootdict['DUVADEDE']\n"
                             "print(sorted(d.keys()), [(t.code, t.value) for t in d['B'].tags])\n"),
              "['B'] [(40, 3.0)]\n");
}

TEST_F(XRecord, EntryOfAnotherKindIsLeftAndTheFailureReportedOnce) {
    AcDbDictionary* pNod = nullptr;
    ASSERT_EQ(db()->getNamedObjectsDictionary(pNod, AcDb::kForWrite), Acad::eOk);
    auto* pCizi = new AcDbXrecord();
    AcDbObjectId idCizi;
    ASSERT_EQ(pNod->setAt(L"DUVADEDE", pCizi, idCizi), Acad::eOk);
    pCizi->close();
    pNod->close();
    input(L"OK\nOK\n");
    EXPECT_FALSE(CVoxXRecord::ZapisInt(L"X", 1));
    EXPECT_FALSE(CVoxXRecord::Smaz());
    const std::wstring t = transcript();
    const std::wstring sHlaseni =
        L"** Program vyvolal výjimku **\nNepodařilo se vytvořit XRecord v AcDbDictionary";
    EXPECT_NE(t.find(sHlaseni), t.rfind(sHlaseni)) << Utf8(t);
    AcDbObject* pObj = nullptr;
    ASSERT_EQ(acdbOpenObject(pObj, idCizi, AcDb::kForRead), Acad::eOk);
    pObj->close();
    EXPECT_EQ(Otevrene(), 0);
}

} // namespace
