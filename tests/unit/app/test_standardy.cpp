// The office standard's definitions and the standard layers under the user's prefix: the name
// key, the layer table of the standard, the old-layer question, the prefix of the drawing.
#include "standardytest.h"

#include "CVoxException.h"
#include "CVoxPredpony.h"
#include "CVoxXRecord.h"
#include "VoxHladiny.h"

#include <set>

namespace {

using standardy::Utf8;

class Standardy : public standardy::StandardyTest {
protected:
    // Name, colour, linetype, lineweight, plot flag and description of a layer.
    std::wstring Hladina(AcDbObjectId id) {
        AcDbLayerTableRecord* pHladina = nullptr;
        if (acdbOpenObject(pHladina, id, AcDb::kForRead) != Acad::eOk)
            return L"<none>";
        AcString sPopis;
        pHladina->description(sPopis);
        AcDbLinetypeTableRecord* pTyp = nullptr;
        std::wstring sTyp;
        if (acdbOpenObject(pTyp, pHladina->linetypeObjectId(), AcDb::kForRead) == Acad::eOk) {
            sTyp = pTyp->name();
            pTyp->close();
        }
        std::wstring s = std::wstring(pHladina->name()) + L" " +
                         std::to_wstring(pHladina->color().colorIndex()) + L" " + sTyp + L" " +
                         std::to_wstring(pHladina->lineWeight()) +
                         (pHladina->isPlottable() ? L" plot " : L" noplot ") + sPopis.str();
        pHladina->close();
        return s;
    }
    AcDbObjectId Vrstva(const ACHAR* sJmeno) { return Zaznam<AcDbLayerTable>(sJmeno); }
    int PocetHladin() { return PocetZaznamu<AcDbLayerTable>(); }
    AcDbObjectId NovaHladina(const ACHAR* sJmeno) {
        AcDbLayerTable* pTab = nullptr;
        AcDbObjectId id;
        EXPECT_EQ(db()->getLayerTable(pTab, AcDb::kForWrite), Acad::eOk);
        auto* pHladina = new AcDbLayerTableRecord();
        pHladina->setName(sJmeno);
        EXPECT_EQ(pTab->add(id, pHladina), Acad::eOk);
        pHladina->close();
        pTab->close();
        return id;
    }
    // A line in model space on the layer.
    AcDbObjectId Cara(AcDbObjectId idHladiny) {
        AcDbBlockTableRecord* pModel = nullptr;
        AcDbObjectId id;
        EXPECT_EQ(acdbOpenObject(pModel, db()->currentSpaceId(), AcDb::kForWrite), Acad::eOk);
        auto* pCara = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0));
        pCara->setLayer(idHladiny);
        pModel->appendAcDbEntity(id, pCara);
        pCara->close();
        pModel->close();
        return id;
    }
    AcDbObjectId HladinaEntity(AcDbObjectId id) {
        AcDbEntity* pEnt = nullptr;
        AcDbObjectId idHladiny;
        if (acdbOpenObject(pEnt, id, AcDb::kForRead) == Acad::eOk) {
            idHladiny = pEnt->layerId();
            pEnt->close();
        }
        return idHladiny;
    }
    AcDbObjectId Zajisti(std::wstring sJmeno, bool bMaPredponu = false) {
        return ZajistiHladinu(sJmeno, bMaPredponu);
    }
    CVoxPredpony& Predpony() { return m_pNastaveni->m_Predpony; }
};

TEST_F(Standardy, DefinitionsAreFoundRegardlessOfCaseAndDiacritics) {
    const LayerDef* pPoz = g_VoxSet.NajdiHladinu(L"ZT-voda_POŽ");
    ASSERT_NE(pPoz, nullptr);
    for (const ACHAR* s : {L"ZT-VODA_POŽ", L"zt-voda_pož", L"zt-voda_poz"})
        EXPECT_EQ(g_VoxSet.NajdiHladinu(s), pPoz) << Utf8(s);
    EXPECT_EQ(g_VoxSet.NajdiTextStyl(L"kv_txt_maly")->m_sJmeno, L"KV_TXT_MALY");
    EXPECT_EQ(g_VoxSet.NajdiKotStyl(L"kv_voda1")->m_sSipka, L"_OBLIQUE");
    EXPECT_EQ(g_VoxSet.NajdiMLeaderStyl(L"Kv_Tecka")->m_nSipka, 1);
    // A prefixed name, or a name of another kind, is not found.
    EXPECT_EQ(g_VoxSet.NajdiHladinu(L"KB_ZT-voda_SV"), nullptr);
    EXPECT_EQ(g_VoxSet.NajdiKotStyl(L"KV_SIPKA"), nullptr);
    AcString s(L"Příliš žluťoučký kůň úpěl ďábelské ódy ŁŐŰßſĸŉ €ж");
    EXPECT_STREQ(BezDiakritiky(s), L"Prilis zlutoucky kun upel dabelske ody LOUsskN €ж");

    EXPECT_EQ(g_VoxSet.TextStyly().size(), 2u);
    EXPECT_EQ(g_VoxSet.MLeaderStyly().size(), 4u);
    EXPECT_EQ(g_VoxSet.KotStyly().size(), 8u);
    std::set<std::wstring> bezStarych, netisknou;
    for (const auto& [sKlic, def] : g_VoxSet.Hladiny()) {
        if (def.m_sStareJmeno.empty())
            bezStarych.insert(def.m_sJmeno);
        if (!def.m_bTisk)
            netisknou.insert(def.m_sJmeno);
    }
    EXPECT_EQ(bezStarych,
              (std::set<std::wstring>{L"ZT-voda_UŽIT", L"UT-radiátory_popisy", L"ZT-tečkovaná"}));
    EXPECT_EQ(netisknou, std::set<std::wstring>{L"netisk"});
    SadaHladin potrubi, ostatni, vse;
    EXPECT_EQ(g_VoxSet.HladinyPodleKategorie(1, potrubi), 15u);
    EXPECT_EQ(g_VoxSet.HladinyPodleKategorie(2, ostatni), 20u);
    EXPECT_EQ(g_VoxSet.HladinyPodleKategorie(3, vse), 35u);
    EXPECT_EQ(g_VoxSet.HladinyPodleKategorie(1, ostatni), 35u);
    EXPECT_TRUE(potrubi.count(*g_VoxSet.NajdiHladinu(L"UT-vratná")));
    EXPECT_EQ(vse.begin()->m_sJmeno, L"kóty");
    EXPECT_EQ(vse.rbegin()->m_sJmeno, L"ZT-V_stoupačky");
}

// The expected rows are written out here on their own, so that a slip in the built-in table
// shows.
const char* const g_sOcekavaneHladiny =
    "expected = [\n"
    "('ZT-voda_SV', 150, 'SV', 53, 1, 1),\n"
    "('ZT-voda_TUV', 10, 'TUV', 53, 1, 1),\n"
    "('ZT-voda_CIRK', 210, 'CIRKULACE', 53, 1, 1),\n"
    "('ZT-voda_POŽ', 150, 'Continuous', 53, 1, 1),\n"
    "('ZT-voda_UŽIT', 102, 'UZITKOVA', 53, 1, 1),\n"
    "('ZT-ostatní', 120, 'Continuous', 25, 1, 2),\n"
    "('ZT-V_stoupačky', 120, 'Continuous', 25, 1, 2),\n"
    "('ZT-K_stoupačky', 120, 'Continuous', 25, 1, 2),\n"
    "('ZT-kanalizace', 43, 'Continuous', 60, 1, 1),\n"
    "('ZT-kan_pod_str', 43, 'TUV', 60, 1, 1),\n"
    "('ZT-kan_v_podl', 43, 'KAN-PODL', 60, 1, 1),\n"
    "('ZT-deš_kan_v_podl', 10, 'DESTAK_PODL', 60, 1, 1),\n"
    "('ZT-deš_kan_pod_str', 10, 'DESTAK_STROP', 60, 1, 1),\n"
    "('ZT-čerp_kan_v_podl', 150, 'CERPANA_PODL', 60, 1, 1),\n"
    "('ZT-čerp_kan_pod_str', 150, 'CERPANA_STROP', 60, 1, 1),\n"
    "('UT-topná', 10, 'Continuous', 53, 1, 1),\n"
    "('UT-vratná', 150, 'KAN-PODL', 53, 1, 1),\n"
    "('UT-radiátory', 120, 'Continuous', 25, 1, 2),\n"
    "('UT-radiátory_popisy', 120, 'Continuous', -3, 1, 2),\n"
    "('zařizovací_předměty', 7, 'Continuous', -3, 1, 2),\n"
    "('ZT-tečkovaná', 120, 'TEČKOVANÁ', 25, 1, 2),\n"
    "('ZT-plynovod', 50, 'PLYN', 60, 1, 1),\n"
    "('kóty', 4, 'Continuous', -3, 1, 2),\n"
    "('kóty_výškové', 4, 'Continuous', -3, 1, 2),\n"
    "('popisy_020', 4, 'Continuous', -3, 1, 2),\n"
    "('popisy_035', 20, 'Continuous', 35, 1, 2),\n"
    "('popisy_050', 90, 'Continuous', 53, 1, 2),\n"
    "('popisy_nadpis', 20, 'Continuous', -3, 1, 2),\n"
    "('šrafy', 8, 'Continuous', -3, 1, 2),\n"
    "('tepelná_izolace', 140, 'IZOLACE', -3, 1, 2),\n"
    "('rámeček', 7, 'Continuous', 25, 1, 2),\n"
    "('terén', 3, 'Continuous', -3, 1, 2),\n"
    "('XRefs', 8, 'Continuous', -3, 1, 2),\n"
    "('osy', 3, 'SV', -3, 1, 2),\n"
    "('netisk', 85, 'Continuous', -3, 0, 2),\n"
    "]\n"
    "for (n, col, lt, lw, plot, cat) in expected:\n"
    "    l = doc.layers.get('KB_' + n)\n"
    "    got = (l.dxf.name, l.dxf.color, l.dxf.linetype.upper(), l.dxf.get('lineweight', -3),\n"
    "           l.dxf.get('plot', 1), l.description)\n"
    "    want = ('KB_' + n, col, lt.upper(), lw, plot, 'TEBU_%d_%s' % (cat, n))\n"
    "    if got != want:\n"
    "        print('differs', got, want)\n"
    "print('standard', sum(1 for l in doc.layers if l.dxf.name.startswith('KB_')))\n";

TEST_F(Standardy, EveryStandardLayerIsCreatedOnceWithThePropertiesOfItsRow) {
    Instaluj();
    const int nPred = PocetHladin();
    std::vector<AcDbObjectId> aIds;
    for (const auto& [sKlic, def] : g_VoxSet.Hladiny()) {
        std::wstring sJmeno = def.m_sJmeno;
        aIds.push_back(ZajistiHladinu(sJmeno));
        EXPECT_EQ(sJmeno, L"KB_" + def.m_sJmeno);
        EXPECT_EQ(Otevrene(), 0) << Utf8(def.m_sJmeno);
    }
    EXPECT_EQ(Hladina(aIds.back()),
              L"KB_ZT-V_stoupačky 120 Continuous 25 plot TEBU_2_ZT-V_stoupačky");
    size_t i = 0;
    for (const auto& [sKlic, def] : g_VoxSet.Hladiny())
        EXPECT_EQ(Zajisti(def.m_sJmeno), aIds[i++]);
    EXPECT_EQ(PocetHladin(), nPred + 35);
    EXPECT_EQ(transcript(), L"");

    const std::string sSoubor = Uloz("vrstvy.dxf");
    ASSERT_FALSE(sSoubor.empty());
    if (!MameEzdxf())
        GTEST_SKIP() << "python3-ezdxf is not installed";
    EXPECT_EQ(Ezdxf(sSoubor, g_sOcekavaneHladiny), "standard 35\n");
}

TEST_F(Standardy, NamesGetTheirStandardFormTheirPrefixOrNothing) {
    Instaluj();
    std::wstring sJmeno = L"zt-voda_poz";
    EXPECT_EQ(Hladina(ZajistiHladinu(sJmeno)),
              L"KB_ZT-voda_POŽ 150 Continuous 53 plot TEBU_1_ZT-voda_POŽ");
    EXPECT_EQ(sJmeno, L"KB_ZT-voda_POŽ");
    // Not standard and not in the drawing: nothing, and no message; an existing one is found.
    const int nPocet = PocetHladin();
    sJmeno = L"neznama";
    EXPECT_TRUE(ZajistiHladinu(sJmeno).isNull());
    EXPECT_EQ(sJmeno, L"KB_neznama");
    EXPECT_TRUE(Zajisti(L"KB_neznama", true).isNull());
    EXPECT_EQ(PocetHladin(), nPocet);
    EXPECT_EQ(Zajisti(L"vlastni"), NovaHladina(L"KB_vlastni"));
    // A name with its prefix keeps that prefix.
    const AcDbObjectId idPopisy = Zajisti(L"KB_popisy_020", true);
    EXPECT_EQ(Hladina(idPopisy), L"KB_popisy_020 4 Continuous -3 plot TEBU_2_popisy_020");
    EXPECT_EQ(Hladina(Zajisti(L"XY_tepelna_izolace", true)),
              L"XY_tepelná_izolace 140 IZOLACE -3 plot TEBU_2_tepelná_izolace");
    sJmeno = L"kb_POPISY_020";
    EXPECT_EQ(ZajistiHladinu(sJmeno, true), idPopisy);
    EXPECT_EQ(sJmeno, L"kb_popisy_020");

    // User layers: category 4 and the properties given; an existing one is not changed.
    sJmeno = L"moje čáry";
    const AcDbObjectId idUziv = ZajistiUzivHladinu(sJmeno, 3, L"TUV", AcDb::kLnWt035, false);
    EXPECT_EQ(Hladina(idUziv), L"KB_moje čáry 3 TUV 35 noplot TEBU_4_moje čáry");
    sJmeno = L"moje čáry";
    EXPECT_EQ(ZajistiUzivHladinu(sJmeno, 5, TYP_CARY_CONTINUOUS, AcDb::kLnWt025, true), idUziv);
    EXPECT_EQ(Hladina(idUziv), L"KB_moje čáry 3 TUV 35 noplot TEBU_4_moje čáry");

    // A linetype that cannot be had leaves nothing behind.
    sJmeno = L"chyba";
    EXPECT_THROW(ZajistiUzivHladinu(sJmeno, 1, L"NEEXISTUJE", AcDb::kLnWt025, true), CVoxException);
    EXPECT_TRUE(Vrstva(L"KB_chyba").isNull());
    EXPECT_EQ(Otevrene(), 0);
}

TEST_F(Standardy, EmptyPrefixGivesALeadingUnderscoreThatIsStrippedAgain) {
    Predpony().NastavGlobalniPredponu(L"");
    std::wstring sJmeno = L"kóty";
    const AcDbObjectId id = ZajistiHladinu(sJmeno);
    EXPECT_EQ(sJmeno, L"_kóty");
    EXPECT_EQ(Zajisti(sJmeno, true), id);
    for (std::wstring s : {L"_kóty", L"ABC_kóty"}) {
        EXPECT_TRUE(CVoxPredpony::OdeberPredponu(s));
        EXPECT_EQ(s, L"kóty");
    }
    std::wstring sDlouha = L"ABCD_kóty";
    EXPECT_FALSE(CVoxPredpony::OdeberPredponu(sDlouha));
    EXPECT_EQ(sDlouha, L"ABCD_kóty");
}

const wchar_t* const g_sOtazka =
    L"\n** Kresbon pro AutoCad **\nNalezena hladina se starým názvem, převést?\n\nBudou "
    L"převedeny všechny hladiny se starými názvy.\n(identické hladiny budou sloučeny)\n\nCancel "
    L"- již se neptat\n[Yes/No/Cancel]: ";

TEST_F(Standardy, OldLayerQuestionNoAsksAgainCancelNeverAgain) {
    Instaluj();
    const AcDbObjectId idStara = NovaHladina(L"zti-VODA-SV");
    NovaHladina(L"zti-KOTY");
    NovaHladina(L"zti-OSY");
    transcript();
    // No: the layer is made beside the old one, and the next one asks again.
    input(L"No\n");
    const AcDbObjectId id = Zajisti(L"ZT-voda_SV");
    EXPECT_NE(transcript().find(g_sOtazka), std::wstring::npos);
    EXPECT_EQ(Hladina(id), L"KB_ZT-voda_SV 150 SV 53 plot TEBU_1_ZT-voda_SV");
    EXPECT_EQ(Hladina(idStara).substr(0, 12), L"zti-VODA-SV ");
    // A layer without its old layer in the drawing asks nothing.
    EXPECT_FALSE(Zajisti(L"netisk").isNull());
    EXPECT_EQ(transcript(), L"");
    EXPECT_EQ(CVoxXRecord::CtiRb(L"NeptatSeNaStareHladiny", L"Hladiny"), nullptr);

    // Cancel: the suppression goes into the drawing's store as the integer 1.
    input(L"Cancel\n");
    EXPECT_FALSE(Zajisti(L"kóty").isNull());
    EXPECT_NE(transcript().find(g_sOtazka), std::wstring::npos);
    resbuf* pRb = CVoxXRecord::CtiRb(L"NeptatSeNaStareHladiny", L"Hladiny");
    ASSERT_NE(pRb, nullptr);
    EXPECT_EQ(pRb->restype, 90);
    EXPECT_EQ(pRb->resval.rlong, 1);
    acutRelRb(pRb);
    EXPECT_FALSE(Zajisti(L"osy").isNull());
    const std::wstring t = transcript();
    EXPECT_EQ(t.find(L"Nalezena"), std::wstring::npos) << Utf8(t);
    EXPECT_FALSE(Vrstva(L"zti-KOTY").isNull());
    EXPECT_EQ(Otevrene(), 0);
}

TEST_F(Standardy, OldLayerQuestionYesConvertsAndMergesAllOldLayers) {
    Instaluj();
    const AcDbObjectId idStaraVoda = NovaHladina(L"zti-VODA-SV");
    const AcDbObjectId idStareKoty = NovaHladina(L"zti-KOTY");
    const AcDbObjectId idKoty = NovaHladina(L"KB_kóty");
    const AcDbObjectId idOsy = NovaHladina(L"KB_OSY");
    const AcDbObjectId idCaraVoda = Cara(idStaraVoda);
    const AcDbObjectId idCaraKoty = Cara(idStareKoty);
    ASSERT_EQ(db()->setClayer(idStareKoty), Acad::eOk);
    transcript();
    input(L"Yes\n");
    // The old layer itself becomes the standard one, its entity stays on it.
    EXPECT_EQ(Zajisti(L"ZT-voda_SV"), idStaraVoda);
    const std::wstring t = transcript();
    EXPECT_NE(t.find(g_sOtazka), std::wstring::npos) << Utf8(t);
    EXPECT_EQ(Hladina(idStaraVoda), L"KB_ZT-voda_SV 150 SV 53 plot TEBU_1_ZT-voda_SV");
    EXPECT_EQ(HladinaEntity(idCaraVoda), idStaraVoda);
    // The old layer whose new name was taken is merged into that layer and erased.
    EXPECT_EQ(HladinaEntity(idCaraKoty), idKoty);
    EXPECT_TRUE(Vrstva(L"zti-KOTY").isNull());
    EXPECT_EQ(db()->clayer(), idKoty);
    // A standard layer under the prefix is left as it is, one spelled otherwise is renamed in
    // place: zti-VODA-SV, zti-KOTY and KB_OSY are converted.
    EXPECT_EQ(Hladina(idKoty), L"KB_kóty 7  -3 plot ");
    EXPECT_EQ(Hladina(idOsy).substr(0, 7), L"KB_osy ");
    EXPECT_NE(t.find(L"\nPřevedeno 1 entit\nBylo převedeno 3 hladin"), std::wstring::npos)
        << Utf8(t);
    EXPECT_EQ(Otevrene(), 0);
}

TEST_F(Standardy, DrawingPrefixIsReadPerDrawingAndDifferencesResolvedWithoutQuestion) {
    // The drawing active at load keeps the prefix of construction: its store is not touched.
    EXPECT_EQ(Predpony().EffectivePrefix(), L"KB");
    EXPECT_EQ(CVoxXRecord::CtiRb(L"PREDPONA"), nullptr);
    // A drawing that never saw the application gets the global prefix written.
    AcApDocument* pNovy = khost::openDocument(new AcDbDatabase(true, false), L"");
    ASSERT_EQ(db(), pNovy->database());
    EXPECT_EQ(Predpony().EffectivePrefix(), L"KB");
    AcString sUlozena;
    EXPECT_TRUE(CVoxXRecord::CtiString(L"PREDPONA", sUlozena));
    EXPECT_EQ(sUlozena, L"KB");

    // A drawing that stores AB: its AB layers get KB, colliding ones are merged.
    AcApDocument* pAB = khost::openDocument(new AcDbDatabase(true, false), L"");
    Instaluj();
    ASSERT_TRUE(CVoxXRecord::ZapisString(L"PREDPONA", L"AB"));
    const AcDbObjectId idVoda = NovaHladina(L"AB_ZT-voda_SV");
    const AcDbObjectId idCara = Cara(NovaHladina(L"AB_kóty"));
    const AcDbObjectId idKoty = NovaHladina(L"KB_kóty");
    const AcDbObjectId idJina = NovaHladina(L"XAB_jina");
    const int nHladin = PocetHladin();
    transcript();
    EXPECT_EQ(Zajisti(L"ZT-voda_SV"), idVoda);
    const std::wstring t = transcript();
    EXPECT_EQ(t.find(L"**"), std::wstring::npos) << Utf8(t);
    EXPECT_EQ(Hladina(idVoda).substr(0, 14), L"KB_ZT-voda_SV ");
    EXPECT_EQ(Hladina(idJina).substr(0, 9), L"XAB_jina ");
    EXPECT_EQ(HladinaEntity(idCara), idKoty);
    EXPECT_TRUE(Vrstva(L"AB_kóty").isNull());
    EXPECT_NE(t.find(L"\nBylo převedeno " + std::to_wstring(nHladin - 1) +
                     L" hladin, bude sloučeno 1 hladin\n\nPřevedeno 1 entit"),
              std::wstring::npos)
        << Utf8(t);
    // The cached prefix became the global one; the drawing's stored prefix stays until set.
    EXPECT_EQ(Predpony().PredponaVykresu(), L"KB");
    EXPECT_TRUE(CVoxXRecord::CtiString(L"PREDPONA", sUlozena));
    EXPECT_EQ(sUlozena, L"AB");
    Predpony().NastavPredponuVykresu(L"CD");
    EXPECT_TRUE(CVoxXRecord::CtiString(L"PREDPONA", sUlozena));
    EXPECT_EQ(sUlozena, L"CD");
    EXPECT_EQ(Otevrene(), 0);
    khost::closeDocument(pAB);
    khost::closeDocument(pNovy);
}

} // namespace
