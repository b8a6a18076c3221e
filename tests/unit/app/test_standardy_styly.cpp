// The standard text, dimension and multileader styles created on demand.
#include "standardytest.h"

#include "CVoxException.h"
#include "VoxStyly.h"
#include "dbmleaderstyle.h"

namespace {

using standardy::StandardyTest;
using standardy::Utf8;

class Styly : public StandardyTest {
protected:
    std::wstring JmenoBloku(AcDbObjectId id) {
        AcDbBlockTableRecord* pBlok = nullptr;
        if (acdbOpenObject(pBlok, id, AcDb::kForRead) != Acad::eOk)
            return L"<none>";
        std::wstring s = pBlok->name();
        pBlok->close();
        return s;
    }
    AcDbObjectId Blok(const ACHAR* sJmeno) { return Zaznam<AcDbBlockTable>(sJmeno); }
    AcDbObjectId TextStyl(const ACHAR* sJmeno) { return Zaznam<AcDbTextStyleTable>(sJmeno); }
    int PocetMLeaderStylu() {
        AcDbDictionary* pSlovnik = nullptr;
        if (db()->getMLeaderStyleDictionary(pSlovnik, AcDb::kForRead) != Acad::eOk)
            return -1;
        const int n = static_cast<int>(pSlovnik->numEntries());
        pSlovnik->close();
        return n;
    }
};

TEST_F(Styly, DimensionStyleBringsItsTextStyleAndTakesEveryValueOfItsRow) {
    const int nTextu = PocetZaznamu<AcDbTextStyleTable>();
    const int nKot = PocetZaznamu<AcDbDimStyleTable>();
    ASSERT_TRUE(TextStyl(L"KV_TXT_MALY").isNull());

    const AcDbObjectId idVoda1 = ZajistiKotStyl(L"KV_VODA1");
    ASSERT_FALSE(idVoda1.isNull());
    EXPECT_EQ(Otevrene(), 0);
    const AcDbObjectId idMaly = TextStyl(L"KV_TXT_MALY");
    ASSERT_FALSE(idMaly.isNull());
    EXPECT_EQ(PocetZaznamu<AcDbTextStyleTable>(), nTextu + 1);
    EXPECT_EQ(PocetZaznamu<AcDbDimStyleTable>(), nKot + 1);

    AcDbTextStyleTableRecord* pText = nullptr;
    ASSERT_EQ(acdbOpenObject(pText, idMaly, AcDb::kForRead), Acad::eOk);
    AcString sSoubor, sFont;
    pText->fileName(sSoubor);
    bool bTucne = true, bKurziva = true;
    int nZnaky = 0, nRodina = -1;
    pText->font(sFont, bTucne, bKurziva, nZnaky, nRodina);
    EXPECT_EQ(sSoubor, L"ArialN.ttf");
    EXPECT_EQ(sFont, L"Arial Narrow");
    EXPECT_FALSE(bTucne || bKurziva);
    EXPECT_EQ(nZnaky, 1);
    EXPECT_EQ(nRodina, 0);
    EXPECT_DOUBLE_EQ(pText->priorSize(), 2.0);
    EXPECT_DOUBLE_EQ(pText->textSize(), 0.0);
    EXPECT_DOUBLE_EQ(pText->xScale(), 1.0);
    EXPECT_FALSE(pText->isShapeFile());
    pText->close();

    AcDbDimStyleTableRecord* pKot = nullptr;
    ASSERT_EQ(acdbOpenObject(pKot, idVoda1, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(pKot->dimtxsty(), idMaly);
    EXPECT_EQ(JmenoBloku(pKot->dimblk()), L"_Oblique");
    EXPECT_DOUBLE_EQ(pKot->dimlfac(), 0.001);
    EXPECT_EQ(pKot->dimjust(), 1);
    EXPECT_EQ(pKot->dimtmove(), 0);
    EXPECT_EQ(pKot->dimatfit(), 2);
    EXPECT_EQ(pKot->dimtad(), 1);
    EXPECT_DOUBLE_EQ(pKot->dimtvp(), 0.5);
    EXPECT_EQ(pKot->dimdec(), 3);
    EXPECT_EQ(pKot->dimzin(), 0);
    EXPECT_FALSE(pKot->dimsd1());
    EXPECT_TRUE(pKot->dimsd2());
    EXPECT_TRUE(pKot->dimse1());
    EXPECT_TRUE(pKot->dimse2());
    EXPECT_FALSE(pKot->dimupt());
    EXPECT_TRUE(pKot->dimclrt().isByBlock());
    EXPECT_TRUE(pKot->dimclrd().isByBlock());
    EXPECT_TRUE(pKot->dimclre().isByBlock());
    EXPECT_DOUBLE_EQ(pKot->dimasz(), 2.5);
    EXPECT_DOUBLE_EQ(pKot->dimdle(), 1.25);
    EXPECT_DOUBLE_EQ(pKot->dimexo(), 2.5);
    EXPECT_DOUBLE_EQ(pKot->dimexe(), 1.25);
    EXPECT_DOUBLE_EQ(pKot->dimgap(), 0.63);
    EXPECT_DOUBLE_EQ(pKot->dimtxt(), 2.0);
    EXPECT_EQ(pKot->dimdsep(), L'.');
    EXPECT_EQ(pKot->dimlunit(), 2);
    EXPECT_TRUE(pKot->dimtofl());
    EXPECT_FALSE(pKot->dimsah() || pKot->dimsoxd() || pKot->dimtih() || pKot->dimtoh());
    EXPECT_EQ(pKot->dimpost(), L"");
    pKot->close();

    // Again, in any case: nothing new.
    EXPECT_EQ(ZajistiKotStyl(L"kv_voda1"), idVoda1);
    EXPECT_EQ(PocetZaznamu<AcDbDimStyleTable>(), nKot + 1);

    // Rows that differ where a swapped assignment would show.
    struct Radek {
        const ACHAR* sJmeno;
        int nAtfit, nTmove, nJust, nDec, nZin;
        double dRnd;
        bool bSe, bSd1, bSd2, bUpt;
    } const aRadky[] = {
        {L"KV_VNEJSI", 2, 2, 0, 0, 8, 5.0, false, false, false, false},
        {L"KV_VNITRNI_M", 2, 2, 0, 2, 0, 0.0, true, false, false, false},
        {L"KV_VODA2", 2, 0, 2, 3, 0, 0.0, true, false, false, false},
        {L"KV_KANREZ", 3, 0, 0, 3, 0, 0.0, true, true, true, true},
    };
    for (const Radek& r : aRadky) {
        const AcDbObjectId id = ZajistiKotStyl(r.sJmeno);
        ASSERT_EQ(acdbOpenObject(pKot, id, AcDb::kForRead), Acad::eOk);
        EXPECT_EQ(pKot->dimatfit(), r.nAtfit) << Utf8(r.sJmeno);
        EXPECT_EQ(pKot->dimtmove(), r.nTmove) << Utf8(r.sJmeno);
        EXPECT_EQ(pKot->dimjust(), r.nJust) << Utf8(r.sJmeno);
        EXPECT_EQ(pKot->dimdec(), r.nDec) << Utf8(r.sJmeno);
        EXPECT_EQ(pKot->dimzin(), r.nZin) << Utf8(r.sJmeno);
        EXPECT_DOUBLE_EQ(pKot->dimrnd(), r.dRnd) << Utf8(r.sJmeno);
        EXPECT_EQ(pKot->dimse1(), r.bSe) << Utf8(r.sJmeno);
        EXPECT_EQ(pKot->dimse2(), r.bSe) << Utf8(r.sJmeno);
        EXPECT_EQ(pKot->dimsd1(), r.bSd1) << Utf8(r.sJmeno);
        EXPECT_EQ(pKot->dimsd2(), r.bSd2) << Utf8(r.sJmeno);
        EXPECT_EQ(pKot->dimupt(), r.bUpt) << Utf8(r.sJmeno);
        EXPECT_EQ(pKot->dimtxsty(), idMaly) << Utf8(r.sJmeno);
        pKot->close();
    }
    EXPECT_EQ(PocetZaznamu<AcDbTextStyleTable>(), nTextu + 1);
    EXPECT_EQ(Otevrene(), 0);
}

TEST_F(Styly, MultileaderStylesWithDefaultAndDotArrowheads) {
    const int nStylu = PocetMLeaderStylu();
    const AcDbObjectId idSipka = ZajistiMLeaderStyl(L"KV_SIPKA");
    ASSERT_FALSE(idSipka.isNull());
    EXPECT_EQ(Otevrene(), 0);
    AcDbMLeaderStyle* pStyl = nullptr;
    ASSERT_EQ(acdbOpenObject(pStyl, idSipka, AcDb::kForRead), Acad::eOk);
    AcString sJmeno;
    pStyl->getName(sJmeno);
    EXPECT_EQ(sJmeno, L"KV_SIPKA");
    EXPECT_TRUE(pStyl->arrowSymbolId().isNull());
    EXPECT_DOUBLE_EQ(pStyl->textHeight(), 2.0);
    EXPECT_DOUBLE_EQ(pStyl->arrowSize(), 1.5);
    EXPECT_DOUBLE_EQ(pStyl->landingGap(), 1.0);
    EXPECT_DOUBLE_EQ(pStyl->doglegLength(), 1.0);
    EXPECT_DOUBLE_EQ(pStyl->alignSpace(), 4.0);
    EXPECT_EQ(pStyl->textStyleId(), TextStyl(L"KV_TXT_MALY"));
    EXPECT_EQ(pStyl->leaderLineType(), AcDbMLeaderStyle::kStraightLeader);
    EXPECT_EQ(pStyl->contentType(), AcDbMLeaderStyle::kMTextContent);
    EXPECT_EQ(pStyl->textAttachmentType(AcDbMLeaderStyle::kLeftLeader),
              AcDbMLeaderStyle::kAttachmentBottomOfTop);
    EXPECT_EQ(pStyl->textAttachmentType(AcDbMLeaderStyle::kRightLeader),
              AcDbMLeaderStyle::kAttachmentBottomOfTop);
    EXPECT_EQ(pStyl->leaderLineTypeId(), db()->continuousLinetype());
    EXPECT_FALSE(pStyl->textAlignAlwaysLeft());
    EXPECT_TRUE(pStyl->enableLanding());
    EXPECT_TRUE(pStyl->enableDogleg());
    EXPECT_TRUE(pStyl->annotative());
    pStyl->close();

    // The larger one uses the other text style; the landing gap follows its height.
    ASSERT_EQ(acdbOpenObject(pStyl, ZajistiMLeaderStyl(L"kv_pozice"), AcDb::kForRead), Acad::eOk);
    EXPECT_DOUBLE_EQ(pStyl->textHeight(), 3.5);
    EXPECT_DOUBLE_EQ(pStyl->landingGap(), 1.75);
    EXPECT_EQ(pStyl->textStyleId(), TextStyl(L"KV_TXT_VELKY"));
    pStyl->close();

    // The dot arrowhead: DIMBLK makes the block and stays set.
    ASSERT_TRUE(Blok(L"_DOT").isNull());
    const AcDbObjectId idTecka = ZajistiMLeaderStyl(L"KV_TECKA");
    const AcDbObjectId idBlok = Blok(L"_DOT");
    ASSERT_FALSE(idBlok.isNull());
    AcString sDimblk;
    db()->getDimblk(sDimblk);
    EXPECT_EQ(sDimblk.compareNoCase(L"_DOT"), 0) << Utf8(sDimblk.str());
    ASSERT_EQ(acdbOpenObject(pStyl, idTecka, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(pStyl->arrowSymbolId(), idBlok);
    EXPECT_DOUBLE_EQ(pStyl->arrowSize(), 0.6);
    pStyl->close();
    const int nBloku = PocetZaznamu<AcDbBlockTable>();
    ASSERT_EQ(acdbOpenObject(pStyl, ZajistiMLeaderStyl(L"KV_VYTYCENI"), AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(pStyl->arrowSymbolId(), idBlok);
    pStyl->close();
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
    EXPECT_EQ(PocetZaznamu<AcDbTextStyleTable>(), nTextu);
    EXPECT_EQ(PocetZaznamu<AcDbDimStyleTable>(), nKot);
    EXPECT_EQ(PocetMLeaderStylu(), nStylu);
    EXPECT_EQ(transcript(), L"");
    EXPECT_EQ(Otevrene(), 0);
}

TEST_F(Styly, AllStandardStylesSaveAndEzdxfReadsThem) {
    for (const auto& [sKlic, def] : g_VoxSet.KotStyly())
        ASSERT_FALSE(ZajistiKotStyl(def.m_sJmeno).isNull());
    for (const auto& [sKlic, def] : g_VoxSet.MLeaderStyly())
        ASSERT_FALSE(ZajistiMLeaderStyl(def.m_sJmeno).isNull());
    EXPECT_EQ(Otevrene(), 0);
    const std::string sSoubor = Uloz("styly.dxf");
    ASSERT_FALSE(sSoubor.empty());
    if (!MameEzdxf())
        GTEST_SKIP() << "python3-ezdxf is not installed";
    const std::string sTelo =
        "d = doc.dimstyles.get('KV_KANSTAN')\n"
        "print(d.dxf.dimtxsty, d.dxf.dimatfit, d.dxf.dimupt, d.dxf.dimsd1, d.dxf.dimlfac)\n"
        "s = doc.styles.get('KV_TXT_VELKY')\n"
        "print(s.dxf.font, s.dxf.width)\n"
        "m = doc.mleader_styles.get('KV_VYTYCENI')\n"
        "print(m.dxf.char_height, m.dxf.arrow_head_size, "
        "doc.entitydb[m.dxf.arrow_head_handle].dxf.name)\n";
    EXPECT_EQ(Ezdxf(sSoubor, sTelo), "KV_TXT_MALY 3 1 1 0.001\n"
                                     "ArialN.ttf 1.0\n"
                                     "2.0 0.6 _Dot\n");
}

} // namespace
