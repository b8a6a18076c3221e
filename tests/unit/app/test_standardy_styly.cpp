// The standard text, dimension and multileader styles created on demand.
#include "standardytest.h"

#include "VoxStyly.h"
#include "dbannoscale.h"
#include "dbmleaderstyle.h"

#include <sstream>

namespace {

using standardy::Utf8;

class Styly : public standardy::StandardyTest {
protected:
    std::wstring Jmeno(AcDbObjectId id) {
        AcDbObject* pObj = nullptr;
        if (acdbOpenObject(pObj, id, AcDb::kForRead) != Acad::eOk)
            return L"<none>";
        std::wstring s =
            AcDbSymbolTableRecord::cast(pObj) ? AcDbSymbolTableRecord::cast(pObj)->name() : L"<?>";
        pObj->close();
        return s;
    }
    // The values of a dimension style that differ among the standard ones.
    std::wstring Kot(AcDbObjectId id) {
        AcDbDimStyleTableRecord* p = nullptr;
        if (acdbOpenObject(p, id, AcDb::kForRead) != Acad::eOk)
            return L"<none>";
        std::wostringstream s;
        s << p->name() << L" atfit " << p->dimatfit() << L" tmove " << p->dimtmove() << L" just "
          << p->dimjust() << L" dec " << p->dimdec() << L" zin " << p->dimzin() << L" rnd "
          << p->dimrnd() << L" lfac " << p->dimlfac() << L" se " << p->dimse1() << p->dimse2()
          << L" sd " << p->dimsd1() << p->dimsd2() << L" upt " << p->dimupt() << L" tad "
          << p->dimtad() << L" tvp " << p->dimtvp() << L" " << Jmeno(p->dimtxsty()) << L" "
          << Jmeno(p->dimblk());
        p->close();
        return s.str();
    }
    bool Anotativni(AcDbObjectId id) {
        AcDbObject* pObj = nullptr;
        if (acdbOpenObject(pObj, id, AcDb::kForRead) != Acad::eOk)
            return false;
        AcDbAnnotativeObjectPE* pPE = ACRX_PE_PTR(pObj, AcDbAnnotativeObjectPE);
        const bool b = pPE && pPE->annotative(pObj);
        pObj->close();
        return b;
    }
    int PocetMLeaderStylu() {
        AcDbDictionary* pSlovnik = nullptr;
        if (db()->getMLeaderStyleDictionary(pSlovnik, AcDb::kForRead) != Acad::eOk)
            return -1;
        const int n = static_cast<int>(pSlovnik->numEntries());
        pSlovnik->close();
        return n;
    }
};

TEST_F(Styly, DimensionStylesBringTheirTextStyleAndTakeTheValuesOfTheirRow) {
    const int nTextu = PocetZaznamu<AcDbTextStyleTable>();
    const int nKot = PocetZaznamu<AcDbDimStyleTable>();
    const AcDbObjectId idVoda1 = ZajistiKotStyl(L"KV_VODA1");
    EXPECT_EQ(Otevrene(), 0);
    EXPECT_EQ(Kot(idVoda1), L"KV_VODA1 atfit 2 tmove 0 just 1 dec 3 zin 0 rnd 0 lfac 0.001 se 11 "
                            L"sd 01 upt 0 tad 1 tvp 0.5 KV_TXT_MALY _Oblique");
    EXPECT_EQ(PocetZaznamu<AcDbTextStyleTable>(), nTextu + 1);
    EXPECT_TRUE(Anotativni(idVoda1));
    EXPECT_TRUE(Anotativni(Zaznam<AcDbTextStyleTable>(L"KV_TXT_MALY")));
    EXPECT_EQ(ZajistiKotStyl(L"kv_voda1"), idVoda1);
    EXPECT_EQ(PocetZaznamu<AcDbDimStyleTable>(), nKot + 1);

    AcDbTextStyleTableRecord* pText = nullptr;
    ASSERT_EQ(acdbOpenObject(pText, Zaznam<AcDbTextStyleTable>(L"KV_TXT_MALY"), AcDb::kForRead),
              Acad::eOk);
    AcString sSoubor, sFont;
    bool bTucne = true, bKurziva = true;
    int nZnaky = 0, nRodina = -1;
    pText->fileName(sSoubor);
    pText->font(sFont, bTucne, bKurziva, nZnaky, nRodina);
    EXPECT_EQ(sSoubor + L" " + sFont, L"ArialN.ttf Arial Narrow");
    EXPECT_FALSE(bTucne || bKurziva || pText->isShapeFile());
    EXPECT_EQ(nZnaky, 1);
    EXPECT_EQ(nRodina, 0);
    EXPECT_DOUBLE_EQ(pText->priorSize(), 2.0);
    EXPECT_DOUBLE_EQ(pText->textSize(), 0.0);
    EXPECT_DOUBLE_EQ(pText->xScale(), 1.0);
    pText->close();

    // Some of the values the standard styles share.
    AcDbDimStyleTableRecord* pKot = nullptr;
    ASSERT_EQ(acdbOpenObject(pKot, idVoda1, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(pKot->dimclrt().isByBlock());
    EXPECT_DOUBLE_EQ(pKot->dimexo(), 2.5);
    EXPECT_DOUBLE_EQ(pKot->dimgap(), 0.63);
    EXPECT_EQ(pKot->dimdsep(), L'.');
    EXPECT_TRUE(pKot->dimtofl() && !pKot->dimtoh());
    pKot->close();

    // Rows that differ where a swapped assignment would show.
    EXPECT_EQ(Kot(ZajistiKotStyl(L"KV_VNEJSI")),
              L"KV_VNEJSI atfit 2 tmove 2 just 0 dec 0 zin 8 rnd 5 lfac 1 se 00 sd 00 upt 0 "
              L"tad 1 tvp 0.5 KV_TXT_MALY _Oblique");
    EXPECT_EQ(Kot(ZajistiKotStyl(L"KV_VODA2")),
              L"KV_VODA2 atfit 2 tmove 0 just 2 dec 3 zin 0 rnd 0 lfac 0.001 se 11 sd 00 upt 0 "
              L"tad 1 tvp 0.5 KV_TXT_MALY _Oblique");
    EXPECT_EQ(Kot(ZajistiKotStyl(L"KV_KANREZ")),
              L"KV_KANREZ atfit 3 tmove 0 just 0 dec 3 zin 0 rnd 0 lfac 0.001 se 11 sd 11 upt 1 "
              L"tad 1 tvp 0.5 KV_TXT_MALY _Oblique");
    EXPECT_EQ(PocetZaznamu<AcDbTextStyleTable>(), nTextu + 1);
    EXPECT_EQ(Otevrene(), 0);
}

TEST_F(Styly, MultileaderStylesWithDefaultAndDotArrowheads) {
    const int nStylu = PocetMLeaderStylu();
    AcDbMLeaderStyle* pStyl = nullptr;
    ASSERT_EQ(acdbOpenObject(pStyl, ZajistiMLeaderStyl(L"KV_SIPKA"), AcDb::kForRead), Acad::eOk);
    AcString sJmeno;
    pStyl->getName(sJmeno);
    EXPECT_EQ(sJmeno, L"KV_SIPKA");
    EXPECT_TRUE(pStyl->arrowSymbolId().isNull());
    EXPECT_DOUBLE_EQ(pStyl->textHeight(), 2.0);
    EXPECT_DOUBLE_EQ(pStyl->arrowSize(), 1.5);
    EXPECT_DOUBLE_EQ(pStyl->landingGap(), 1.0);
    EXPECT_EQ(Jmeno(pStyl->textStyleId()), L"KV_TXT_MALY");
    EXPECT_EQ(pStyl->textAttachmentType(AcDbMLeaderStyle::kLeftLeader),
              AcDbMLeaderStyle::kAttachmentBottomOfTop);
    EXPECT_EQ(pStyl->textAttachmentType(AcDbMLeaderStyle::kRightLeader),
              AcDbMLeaderStyle::kAttachmentBottomOfTop);
    EXPECT_EQ(pStyl->leaderLineTypeId(), db()->continuousLinetype());
    EXPECT_TRUE(Anotativni(pStyl->objectId()));
    pStyl->close();
    ASSERT_EQ(acdbOpenObject(pStyl, ZajistiMLeaderStyl(L"kv_pozice"), AcDb::kForRead), Acad::eOk);
    EXPECT_DOUBLE_EQ(pStyl->landingGap(), 1.75);
    EXPECT_EQ(Jmeno(pStyl->textStyleId()), L"KV_TXT_VELKY");
    pStyl->close();

    // The dot arrowhead: DIMBLK makes its block and stays set.
    ASSERT_TRUE(Zaznam<AcDbBlockTable>(L"_DOT").isNull());
    const AcDbObjectId idTecka = ZajistiMLeaderStyl(L"KV_TECKA");
    const AcDbObjectId idBlok = Zaznam<AcDbBlockTable>(L"_DOT");
    ASSERT_FALSE(idBlok.isNull());
    AcString sDimblk;
    db()->getDimblk(sDimblk);
    EXPECT_EQ(sDimblk.compareNoCase(L"_DOT"), 0) << Utf8(sDimblk.str());
    const int nBloku = PocetZaznamu<AcDbBlockTable>();
    for (AcDbObjectId id : {idTecka, ZajistiMLeaderStyl(L"KV_VYTYCENI")}) {
        ASSERT_EQ(acdbOpenObject(pStyl, id, AcDb::kForRead), Acad::eOk);
        EXPECT_EQ(pStyl->arrowSymbolId(), idBlok);
        EXPECT_DOUBLE_EQ(pStyl->arrowSize(), 0.6);
        pStyl->close();
    }
    EXPECT_EQ(PocetZaznamu<AcDbBlockTable>(), nBloku);
    EXPECT_EQ(ZajistiMLeaderStyl(L"KV_TECKA"), idTecka);
    EXPECT_EQ(PocetMLeaderStylu(), nStylu + 4);
    EXPECT_EQ(Otevrene(), 0);
}

TEST_F(Styly, ExistingStylesAreLeftAloneAndUnknownNamesGiveNull) {
    AcDbTextStyleTable* pTab = nullptr;
    ASSERT_EQ(db()->getTextStyleTable(pTab, AcDb::kForWrite), Acad::eOk);
    auto* pVlastni = new AcDbTextStyleTableRecord();
    pVlastni->setName(L"Vlastni");
    pVlastni->setTextSize(5.0);
    AcDbObjectId idVlastni;
    ASSERT_EQ(pTab->add(idVlastni, pVlastni), Acad::eOk);
    pVlastni->close();
    pTab->close();
    EXPECT_EQ(ZajistiTextStyl(L"VLASTNI"), idVlastni);
    ASSERT_EQ(acdbOpenObject(pVlastni, idVlastni, AcDb::kForRead), Acad::eOk);
    EXPECT_DOUBLE_EQ(pVlastni->textSize(), 5.0);
    pVlastni->close();

    const int nTextu = PocetZaznamu<AcDbTextStyleTable>();
    const int nKot = PocetZaznamu<AcDbDimStyleTable>();
    const int nStylu = PocetMLeaderStylu();
    EXPECT_TRUE(ZajistiTextStyl(L"Neznamy").isNull());
    EXPECT_TRUE(ZajistiKotStyl(L"Neznamy").isNull());
    EXPECT_TRUE(ZajistiMLeaderStyl(L"Neznamy").isNull());
    EXPECT_FALSE(ZajistiMLeaderStyl(L"Standard").isNull());
    EXPECT_FALSE(ZajistiKotStyl(L"Standard").isNull());
    EXPECT_EQ(PocetZaznamu<AcDbTextStyleTable>() + PocetZaznamu<AcDbDimStyleTable>(),
              nTextu + nKot);
    EXPECT_EQ(PocetMLeaderStylu(), nStylu);
    EXPECT_EQ(transcript(), L"");
    EXPECT_EQ(Otevrene(), 0);
}

} // namespace
