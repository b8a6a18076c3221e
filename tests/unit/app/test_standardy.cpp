// The office standard's definitions and the standard layers under the user's prefix: the name
// key, the layer table of the standard, the old-layer question, the prefix of the drawing.
#include "standardytest.h"

#include "CVoxException.h"
#include "CVoxPredpony.h"
#include "CVoxSet.h"
#include "CVoxXRecord.h"
#include "VoxHladiny.h"

#include <set>

namespace {

using standardy::StandardyTest;
using standardy::Utf8;

struct Vlastnosti {
    std::wstring sJmeno, sTypCary, sPopis;
    int nBarva = 0, nTloustka = 0;
    bool bTisk = false;
};

class Standardy : public StandardyTest {
protected:
    Vlastnosti Hladina(AcDbObjectId id) {
        Vlastnosti v;
        AcDbLayerTableRecord* pHladina = nullptr;
        if (acdbOpenObject(pHladina, id, AcDb::kForRead) != Acad::eOk)
            return v;
        v.sJmeno = pHladina->name();
        v.nBarva = pHladina->color().colorIndex();
        v.nTloustka = pHladina->lineWeight();
        v.bTisk = pHladina->isPlottable();
        AcString sPopis;
        pHladina->description(sPopis);
        v.sPopis = sPopis.str();
        AcDbLinetypeTableRecord* pTyp = nullptr;
        if (acdbOpenObject(pTyp, pHladina->linetypeObjectId(), AcDb::kForRead) == Acad::eOk) {
            v.sTypCary = pTyp->name();
            pTyp->close();
        }
        pHladina->close();
        return v;
    }
    AcDbObjectId Vrstva(const ACHAR* sJmeno) { return Zaznam<AcDbLayerTable>(sJmeno); }
    int PocetHladin() { return PocetZaznamu<AcDbLayerTable>(); }
    AcDbObjectId NovaHladina(const ACHAR* sJmeno) {
        AcDbLayerTable* pTab = nullptr;
        AcDbObjectId id;
        if (db()->getLayerTable(pTab, AcDb::kForWrite) != Acad::eOk)
            return id;
        auto* pHladina = new AcDbLayerTableRecord();
        pHladina->setName(sJmeno);
        pTab->add(id, pHladina);
        pHladina->close();
        pTab->close();
        return id;
    }
    AcDbObjectId Cara(AcDbObjectId idHladiny) {
        AcDbBlockTable* pBt = nullptr;
        AcDbObjectId id;
        if (db()->getBlockTable(pBt, AcDb::kForRead) != Acad::eOk)
            return id;
        AcDbBlockTableRecord* pModel = nullptr;
        pBt->getAt(ACDB_MODEL_SPACE, pModel, AcDb::kForWrite);
        pBt->close();
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
    CVoxPredpony& Predpony() { return m_pNastaveni->m_Predpony; }
};

TEST_F(Standardy, NameKeyIgnoresCaseAndDiacritics) {
    const LayerDef* pPoz = g_VoxSet.NajdiHladinu(L"ZT-voda_POŽ");
    ASSERT_NE(pPoz, nullptr);
    EXPECT_EQ(pPoz->m_sJmeno, L"ZT-voda_POŽ");
    EXPECT_EQ(g_VoxSet.NajdiHladinu(L"ZT-VODA_POŽ"), pPoz);
    EXPECT_EQ(g_VoxSet.NajdiHladinu(L"zt-voda_pož"), pPoz);
    EXPECT_EQ(g_VoxSet.NajdiHladinu(L"zt-voda_poz"), pPoz);
    EXPECT_EQ(g_VoxSet.NajdiHladinu(L"ZAŘIZOVACÍ_PŘEDMĚTY"),
              g_VoxSet.NajdiHladinu(L"zarizovaci_predmety"));
    ASSERT_NE(g_VoxSet.NajdiTextStyl(L"kv_txt_maly"), nullptr);
    EXPECT_EQ(g_VoxSet.NajdiTextStyl(L"kv_txt_maly")->m_sJmeno, L"KV_TXT_MALY");
    EXPECT_EQ(g_VoxSet.NajdiKotStyl(L"kv_voda1")->m_sJmeno, L"KV_VODA1");
    EXPECT_EQ(g_VoxSet.NajdiMLeaderStyl(L"Kv_Tecka")->m_sJmeno, L"KV_TECKA");
    // A prefixed name, or a name of another kind, is not found.
    EXPECT_EQ(g_VoxSet.NajdiHladinu(L"KB_ZT-voda_SV"), nullptr);
    EXPECT_EQ(g_VoxSet.NajdiHladinu(L"KV_TXT_MALY"), nullptr);
    EXPECT_EQ(g_VoxSet.NajdiKotStyl(L"KV_SIPKA"), nullptr);

    AcString s(L"Příliš žluťoučký kůň úpěl ďábelské ódy ŁŐŰßſĸŉ €ж");
    EXPECT_STREQ(BezDiakritiky(s), L"Prilis zlutoucky kun upel dabelske ody LOUsskN €ж");
    EXPECT_EQ(CVoxSet::Klic(L"tečkovaná"), L"TECKOVANA");
}

TEST_F(Standardy, DefinitionsOfTheStandardAndTheCategoryQuery) {
    EXPECT_EQ(g_VoxSet.TextStyly().size(), 2u);
    EXPECT_EQ(g_VoxSet.Hladiny().size(), 35u);
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
    // Adding again adds nothing; the set runs in key order.
    EXPECT_EQ(g_VoxSet.HladinyPodleKategorie(1, ostatni), 35u);
    EXPECT_TRUE(potrubi.count(*g_VoxSet.NajdiHladinu(L"UT-vratná")));
    EXPECT_FALSE(potrubi.count(*g_VoxSet.NajdiHladinu(L"osy")));
    EXPECT_EQ(vse.begin()->m_sJmeno, L"kóty");
    EXPECT_EQ(vse.rbegin()->m_sJmeno, L"ZT-V_stoupačky");

    const DimStyleDef* pVoda1 = g_VoxSet.NajdiKotStyl(L"KV_VODA1");
    EXPECT_EQ(pVoda1->m_sSipka, L"_OBLIQUE");
    EXPECT_EQ(pVoda1->m_sTextStyl, L"KV_TXT_MALY");
    EXPECT_EQ(DimStyleDef(L"X", L"Y", 0, L"", 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0).m_sSipka,
              L".");
    EXPECT_EQ(DimStyleDef(L"X", L"Y", 1, L"", 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0).m_sSipka,
              L"_DOT");
    EXPECT_EQ(DimStyleDef(L"X", L"Y", 3, L"", 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0).m_sSipka, L"");
    EXPECT_EQ(g_VoxSet.NajdiMLeaderStyl(L"KV_VYTYCENI")->m_nSipka, 1);
    EXPECT_EQ(g_VoxSet.NajdiMLeaderStyl(L"KV_POZICE")->m_sTextStyl, L"KV_TXT_VELKY");
}

// The expected table is written out here on its own, so that a slip in the built-in table
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
    "    full = 'KB_' + n\n"
    "    if full not in doc.layers:\n"
    "        print('missing', full)\n"
    "        continue\n"
    "    l = doc.layers.get(full)\n"
    "    got = (l.dxf.name, l.dxf.color, l.dxf.linetype.upper(), l.dxf.get('lineweight', -3),\n"
    "           l.dxf.get('plot', 1), l.description)\n"
    "    want = (full, col, lt.upper(), lw, plot, 'TEBU_%d_%s' % (cat, n))\n"
    "    if got != want:\n"
    "        print('differs', got, want)\n"
    "print('standard', sum(1 for l in doc.layers if l.dxf.name.startswith('KB_')))\n";

TEST_F(Standardy, EveryStandardLayerIsCreatedOnceWithThePropertiesOfItsRow) {
    PridejTypyCar();
    const int nPred = PocetHladin();
    std::vector<AcDbObjectId> aIds;
    for (const auto& [sKlic, def] : g_VoxSet.Hladiny()) {
        std::wstring sJmeno = def.m_sJmeno;
        aIds.push_back(ZajistiHladinu(sJmeno));
        EXPECT_FALSE(aIds.back().isNull()) << Utf8(def.m_sJmeno);
        EXPECT_EQ(sJmeno, L"KB_" + def.m_sJmeno);
        EXPECT_EQ(Otevrene(), 0) << Utf8(def.m_sJmeno);
    }
    EXPECT_EQ(PocetHladin(), nPred + 35);

    Vlastnosti sv = Hladina(Vrstva(L"KB_ZT-voda_SV"));
    EXPECT_EQ(sv.nBarva, 150);
    EXPECT_EQ(sv.sTypCary, L"SV");
    EXPECT_EQ(sv.nTloustka, 53);
    EXPECT_TRUE(sv.bTisk);
    EXPECT_EQ(sv.sPopis, L"TEBU_1_ZT-voda_SV");
    Vlastnosti netisk = Hladina(Vrstva(L"KB_netisk"));
    EXPECT_FALSE(netisk.bTisk);
    EXPECT_EQ(netisk.nTloustka, AcDb::kLnWtByLwDefault);
    EXPECT_EQ(Hladina(Vrstva(L"KB_kóty")).sTypCary, L"Continuous");

    // Asking again creates nothing and gives the same layers.
    size_t i = 0;
    for (const auto& [sKlic, def] : g_VoxSet.Hladiny()) {
        std::wstring sJmeno = def.m_sJmeno;
        EXPECT_EQ(ZajistiHladinu(sJmeno), aIds[i++]);
    }
    EXPECT_EQ(PocetHladin(), nPred + 35);
    EXPECT_EQ(Otevrene(), 0);
    // Nothing asked, nothing printed but the first reading of the drawing's prefix.
    EXPECT_EQ(transcript(), L"");

    const std::string sSoubor = Uloz("vrstvy.dxf");
    ASSERT_FALSE(sSoubor.empty());
    if (!MameEzdxf())
        GTEST_SKIP() << "python3-ezdxf is not installed";
    EXPECT_EQ(Ezdxf(sSoubor, g_sOcekavaneHladiny), "standard 35\n");
}

TEST_F(Standardy, NamesGetTheirStandardFormAndTheirPrefix) {
    PridejTypyCar();
    std::wstring sJmeno = L"zt-voda_poz";
    const AcDbObjectId idPoz = ZajistiHladinu(sJmeno);
    EXPECT_EQ(sJmeno, L"KB_ZT-voda_POŽ");
    EXPECT_EQ(Hladina(idPoz).sJmeno, L"KB_ZT-voda_POŽ");

    // Not standard and not in the drawing: nothing, and no message.
    const int nPocet = PocetHladin();
    sJmeno = L"neznama";
    EXPECT_TRUE(ZajistiHladinu(sJmeno).isNull());
    EXPECT_EQ(sJmeno, L"KB_neznama");
    sJmeno = L"KB_neznama";
    EXPECT_TRUE(ZajistiHladinu(sJmeno, true).isNull());
    EXPECT_EQ(PocetHladin(), nPocet);
    // An existing layer that is not standard is found.
    NovaHladina(L"KB_vlastni");
    sJmeno = L"vlastni";
    EXPECT_EQ(ZajistiHladinu(sJmeno), Vrstva(L"KB_vlastni"));

    // A name with its prefix keeps that prefix.
    sJmeno = L"KB_popisy_020";
    const AcDbObjectId idPopisy = ZajistiHladinu(sJmeno, true);
    EXPECT_EQ(Hladina(idPopisy).sJmeno, L"KB_popisy_020");
    EXPECT_EQ(Hladina(idPopisy).sPopis, L"TEBU_2_popisy_020");
    sJmeno = L"XY_popisy_020";
    EXPECT_EQ(Hladina(ZajistiHladinu(sJmeno, true)).sJmeno, L"XY_popisy_020");
    sJmeno = L"kb_POPISY_020";
    EXPECT_EQ(ZajistiHladinu(sJmeno, true), idPopisy);
    EXPECT_EQ(sJmeno, L"kb_popisy_020");

    // User layers: category 4, the properties given.
    sJmeno = L"moje čáry";
    const AcDbObjectId idUziv =
        ZajistiUzivHladinu(sJmeno, 3, L"TUV", AcDb::kLnWt035, false, L"soubor.lin");
    EXPECT_EQ(sJmeno, L"KB_moje čáry");
    Vlastnosti uziv = Hladina(idUziv);
    EXPECT_EQ(uziv.sPopis, L"TEBU_4_moje čáry");
    EXPECT_EQ(uziv.nBarva, 3);
    EXPECT_EQ(uziv.sTypCary, L"TUV");
    EXPECT_EQ(uziv.nTloustka, 35);
    EXPECT_FALSE(uziv.bTisk);
    sJmeno = L"moje čáry";
    EXPECT_EQ(ZajistiUzivHladinu(sJmeno, 5, TYP_CARY_CONTINUOUS, AcDb::kLnWt025, true), idUziv);
    EXPECT_EQ(Hladina(idUziv).nBarva, 3);
    EXPECT_EQ(Otevrene(), 0);
}

TEST_F(Standardy, EmptyPrefixGivesALeadingUnderscoreThatIsStrippedAgain) {
    Predpony().NastavGlobalniPredponu(L"");
    std::wstring sJmeno = L"kóty";
    const AcDbObjectId id = ZajistiHladinu(sJmeno);
    EXPECT_EQ(sJmeno, L"_kóty");
    EXPECT_EQ(Hladina(id).sJmeno, L"_kóty");
    std::wstring sBez = sJmeno;
    EXPECT_TRUE(CVoxPredpony::OdeberPredponu(sBez));
    EXPECT_EQ(sBez, L"kóty");
    EXPECT_EQ(ZajistiHladinu(sJmeno, true), id);

    // Only the first four characters are searched for the underscore.
    std::wstring sDlouha = L"ABCD_kóty";
    EXPECT_FALSE(CVoxPredpony::OdeberPredponu(sDlouha));
    EXPECT_EQ(sDlouha, L"ABCD_kóty");
    std::wstring sTri = L"ABC_kóty";
    EXPECT_TRUE(CVoxPredpony::OdeberPredponu(sTri));
    EXPECT_EQ(sTri, L"kóty");
}

TEST_F(Standardy, MissingLinetypeAbortsTheLayerAndLeavesNothing) {
    const int nPocet = PocetHladin();
    std::wstring sJmeno = L"ZT-voda_SV";
    EXPECT_THROW(ZajistiHladinu(sJmeno), CVoxException);
    EXPECT_EQ(PocetHladin(), nPocet);
    EXPECT_EQ(Otevrene(), 0);
}

const wchar_t* const g_sOtazka =
    L"\n** Kresbon pro AutoCad **\nNalezena hladina se starým názvem, převést?\n\nBudou "
    L"převedeny všechny hladiny se starými názvy.\n(identické hladiny budou sloučeny)\n\nCancel "
    L"- již se neptat\n[Yes/No/Cancel]: ";

TEST_F(Standardy, OldLayerQuestionCancelCreatesBesideAndIsNeverAskedAgain) {
    PridejTypyCar();
    const AcDbObjectId idStara = NovaHladina(L"zti-VODA-SV");
    NovaHladina(L"zti-KOTY");
    transcript();
    input(L"Cancel\n");
    std::wstring sJmeno = L"ZT-voda_SV";
    const AcDbObjectId id = ZajistiHladinu(sJmeno);
    std::wstring t = transcript();
    EXPECT_NE(t.find(g_sOtazka), std::wstring::npos) << Utf8(t);
    EXPECT_NE(id, idStara);
    EXPECT_EQ(Hladina(id).sJmeno, L"KB_ZT-voda_SV");
    EXPECT_EQ(Hladina(idStara).sJmeno, L"zti-VODA-SV");
    EXPECT_EQ(Otevrene(), 0);

    // The suppression lives in the drawing's store as the integer 1.
    resbuf* pRb = CVoxXRecord::CtiRb(L"NeptatSeNaStareHladiny", L"Hladiny");
    ASSERT_NE(pRb, nullptr);
    EXPECT_EQ(pRb->restype, 90);
    EXPECT_EQ(pRb->resval.rlong, 1);
    EXPECT_EQ(pRb->rbnext, nullptr);
    acutRelRb(pRb);

    sJmeno = L"kóty";
    EXPECT_FALSE(ZajistiHladinu(sJmeno).isNull());
    t = transcript();
    EXPECT_EQ(t.find(L"Nalezena hladina"), std::wstring::npos) << Utf8(t);
    EXPECT_FALSE(Vrstva(L"zti-KOTY").isNull());
}

TEST_F(Standardy, OldLayerQuestionNoCreatesBesideAndAsksAgain) {
    PridejTypyCar();
    NovaHladina(L"zti-VODA-SV");
    NovaHladina(L"zti-KOTY");
    input(L"No\n");
    std::wstring sJmeno = L"ZT-voda_SV";
    EXPECT_FALSE(ZajistiHladinu(sJmeno).isNull());
    EXPECT_NE(transcript().find(g_sOtazka), std::wstring::npos);
    EXPECT_FALSE(Vrstva(L"zti-VODA-SV").isNull());

    input(L"No\n");
    sJmeno = L"kóty";
    EXPECT_FALSE(ZajistiHladinu(sJmeno).isNull());
    EXPECT_NE(transcript().find(g_sOtazka), std::wstring::npos);
    // A layer whose old name is not in the drawing asks nothing.
    sJmeno = L"osy";
    EXPECT_FALSE(ZajistiHladinu(sJmeno).isNull());
    EXPECT_EQ(transcript().find(L"Nalezena"), std::wstring::npos);
    EXPECT_EQ(CVoxXRecord::CtiRb(L"NeptatSeNaStareHladiny", L"Hladiny"), nullptr);
    EXPECT_EQ(Otevrene(), 0);
}

TEST_F(Standardy, OldLayerQuestionYesConvertsAndMergesAllOldLayers) {
    PridejTypyCar();
    const AcDbObjectId idStaraVoda = NovaHladina(L"zti-VODA-SV");
    const AcDbObjectId idStareKoty = NovaHladina(L"zti-KOTY");
    const AcDbObjectId idKoty = NovaHladina(L"KB_kóty");
    const AcDbObjectId idCaraVoda = Cara(idStaraVoda);
    const AcDbObjectId idCaraKoty = Cara(idStareKoty);
    ASSERT_EQ(db()->setClayer(idStareKoty), Acad::eOk);
    transcript();

    input(L"Yes\n");
    std::wstring sJmeno = L"ZT-voda_SV";
    const AcDbObjectId id = ZajistiHladinu(sJmeno);
    const std::wstring t = transcript();
    EXPECT_NE(t.find(g_sOtazka), std::wstring::npos) << Utf8(t);
    // The old layer itself became the standard one; its entity stays on it.
    EXPECT_EQ(id, idStaraVoda);
    Vlastnosti voda = Hladina(id);
    EXPECT_EQ(voda.sJmeno, L"KB_ZT-voda_SV");
    EXPECT_EQ(voda.nBarva, 150);
    EXPECT_EQ(voda.sTypCary, L"SV");
    EXPECT_EQ(voda.sPopis, L"TEBU_1_ZT-voda_SV");
    EXPECT_EQ(HladinaEntity(idCaraVoda), idStaraVoda);
    // The old layer whose new name was taken is merged into the existing one and erased.
    EXPECT_EQ(HladinaEntity(idCaraKoty), idKoty);
    EXPECT_TRUE(Vrstva(L"zti-KOTY").isNull());
    EXPECT_EQ(Hladina(idKoty).nBarva, 4);
    EXPECT_EQ(db()->clayer(), idKoty);
    EXPECT_NE(t.find(L"\nPřevedeno 1 entit"), std::wstring::npos) << Utf8(t);
    // zti-VODA-SV, zti-KOTY and KB_kóty (brought to the standard in place).
    EXPECT_NE(t.find(L"\nBylo převedeno 3 hladin"), std::wstring::npos) << Utf8(t);
    EXPECT_EQ(Otevrene(), 0);
}

TEST_F(Standardy, DrawingPrefixIsReadPerDrawingAndDifferencesResolvedWithoutQuestion) {
    PridejTypyCar();
    // The drawing active at load keeps the prefix of construction: its store is not touched.
    EXPECT_EQ(Predpony().EffectivePrefix(), L"KB");
    EXPECT_EQ(CVoxXRecord::CtiRb(L"PREDPONA"), nullptr);
    transcript();

    // A drawing that never saw the application gets the global prefix written.
    AcApDocument* pNovy = khost::openDocument(new AcDbDatabase(true, false), L"");
    ASSERT_EQ(acdbHostApplicationServices()->workingDatabase(), pNovy->database());
    EXPECT_EQ(Predpony().EffectivePrefix(), L"KB");
    AcString sUlozena;
    EXPECT_TRUE(CVoxXRecord::CtiString(L"PREDPONA", sUlozena));
    EXPECT_EQ(sUlozena, L"KB");

    // A drawing that stores AB: its AB layers get KB, colliding ones are merged.
    AcApDocument* pAB = khost::openDocument(new AcDbDatabase(true, false), L"");
    ASSERT_TRUE(CVoxXRecord::ZapisString(L"PREDPONA", L"AB"));
    const AcDbObjectId idVoda = NovaHladina(L"AB_ZT-voda_SV");
    const AcDbObjectId idStareKoty = NovaHladina(L"AB_kóty");
    const AcDbObjectId idKoty = NovaHladina(L"KB_kóty");
    const AcDbObjectId idJina = NovaHladina(L"XAB_jina");
    const AcDbObjectId idCara = Cara(idStareKoty);
    const int nHladin = PocetHladin();
    transcript();
    EXPECT_EQ(Predpony().EffectivePrefix(), L"KB");
    std::wstring t = transcript();
    EXPECT_EQ(t.find(L"**"), std::wstring::npos) << Utf8(t);
    EXPECT_EQ(Hladina(idVoda).sJmeno, L"KB_ZT-voda_SV");
    EXPECT_EQ(Hladina(idJina).sJmeno, L"XAB_jina");
    EXPECT_EQ(HladinaEntity(idCara), idKoty);
    EXPECT_TRUE(Vrstva(L"AB_kóty").isNull());
    EXPECT_NE(t.find(L"\nBylo převedeno " + std::to_wstring(nHladin - 1) +
                     L" hladin, bude sloučeno 1 hladin"),
              std::wstring::npos)
        << Utf8(t);
    EXPECT_NE(t.find(L"\nPřevedeno 1 entit"), std::wstring::npos) << Utf8(t);
    // The cached prefix became the global one; the drawing's stored prefix stays.
    EXPECT_EQ(Predpony().PredponaVykresu(), L"KB");
    EXPECT_TRUE(CVoxXRecord::CtiString(L"PREDPONA", sUlozena));
    EXPECT_EQ(sUlozena, L"AB");
    std::wstring sJmeno = L"ZT-voda_SV";
    EXPECT_EQ(ZajistiHladinu(sJmeno), idVoda);
    EXPECT_EQ(transcript(), L"");

    // Setting the drawing prefix writes it when it changed.
    Predpony().NastavPredponuVykresu(L"CD");
    EXPECT_TRUE(CVoxXRecord::CtiString(L"PREDPONA", sUlozena));
    EXPECT_EQ(sUlozena, L"CD");
    EXPECT_EQ(Otevrene(), 0);
    khost::closeDocument(pAB);
    khost::closeDocument(pNovy);
}

} // namespace
