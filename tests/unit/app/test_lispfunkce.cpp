// The application's AutoLISP functions, called through the host's evaluator after the
// application has been loaded with its entry point.
#include "standardytest.h"

#include "CVoxNastav.h"
#include "CVoxRegistry.h"
#include "CVoxXRecord.h"
#include "appregistry.h"
#include "lisp.h"
#include "textconv.h"
#include "actrans.h"

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode, void*);

namespace {

using standardy::Utf8;

class LispFunkce : public standardy::StandardyTest {
protected:
    void SetUp() override {
        StandardyTest::SetUp();
        // The application makes its own settings object.
        delete m_pNastaveni;
        m_pNastaveni = nullptr;
        g_pNastaveni = nullptr;
        CVoxRegistry::UlozBool(REG_KLIC_PRODUKT, L"NASTAVENO", true, L"Nastaveni");
        Instaluj();
        khost::LoadedApp app;
        app.name = L"Kresbon";
        app.entry = &acrxEntryPoint;
        m_nAplikace = khost::loadApplication(app);
        m_nChyb = khost::openCheckFailures();
        transcript();
    }
    void TearDown() override {
        EXPECT_EQ(khost::openCheckFailures(), m_nChyb);
        khost::sendAppMessage(m_nAplikace, AcRx::kUnloadDwgMsg);
        khost::unloadApplication(m_nAplikace, true);
        StandardyTest::TearDown();
    }
    // The printed value of a LISP text.
    std::wstring Lisp(const std::wstring& sText) {
        try {
            return khost::lispPrin1(khost::lispEvaluate(sText));
        } catch (const khost::LispError& e) {
            return L"; error: " + e.message();
        }
    }
    // A red line from (0,y) to (10,y), linetype Continuous, lineweight 0.35 mm.
    AcDbObjectId Cara(const ACHAR* sHladina, int y = 0) {
        const std::wstring sY = std::to_wstring(y) + L".0";
        Lisp(std::wstring(L"(entmake '((0 . \"LINE\") (8 . \"") + sHladina +
             L"\") (6 . \"Continuous\") (62 . 1) (370 . 35) (10 0.0 " + sY + L" 0.0) (11 10.0 " +
             sY + L" 0.0)))");
        ads_name en;
        acdbEntLast(en);
        AcDbObjectId id;
        acdbGetObjectId(id, en);
        return id;
    }
    std::wstring Vlastnosti(AcDbObjectId id) {
        AcDbEntity* pEnt = nullptr;
        if (acdbOpenObject(pEnt, id, AcDb::kForRead) != Acad::eOk)
            return L"<none>";
        AcString sHladina, sTyp;
        pEnt->layer(sHladina);
        pEnt->linetype(sTyp);
        std::wstring s = std::wstring(sHladina.kACharPtr()) + L" " + sTyp.kACharPtr() + L" " +
                         std::to_wstring(pEnt->colorIndex()) + L" " +
                         std::to_wstring(pEnt->lineWeight());
        pEnt->close();
        return s;
    }
    int m_nAplikace = -1;
    int m_nChyb = 0;
};

TEST_F(LispFunkce, ValuesAreStoredAndReadBackByKind) {
    // Defined in the drawing while it is loaded, gone after its unload message.
    EXPECT_EQ(Lisp(L"(type tebu_nastaveni)"), L"EXRXSUBR");
    khost::sendAppMessage(m_nAplikace, AcRx::kUnloadDwgMsg);
    EXPECT_EQ(Lisp(L"(list (type tebu_ulozdox_int) (type tebu_nastaveni))"), L"(nil nil)");
    khost::sendAppMessage(m_nAplikace, AcRx::kLoadDwgMsg);
    EXPECT_EQ(Lisp(L"(type tebu_ulozdox_int)"), L"EXRXSUBR");
    EXPECT_EQ(Lisp(L"(tebu_ulozdox_int \"N\" 5)"), L"T");
    EXPECT_EQ(Lisp(L"(tebu_nactizx_int \"N\")"), L"5");
    // Negative shorts keep their sign; longs keep all 32 bits.
    EXPECT_EQ(Lisp(L"(tebu_ulozdox_int \"N\" -2)"), L"T");
    EXPECT_EQ(Lisp(L"(tebu_nactizx_int \"N\")"), L"-2");
    EXPECT_EQ(Lisp(L"(tebu_ulozdox_int \"L\" -70000)"), L"T");
    EXPECT_EQ(Lisp(L"(tebu_nactizx_int \"L\")"), L"-70000");
    EXPECT_EQ(Lisp(L"(tebu_ulozdox_real \"R\" -0.125)"), L"T");
    EXPECT_EQ(Lisp(L"(tebu_nactizx_real \"R\")"), L"-0.125");
    EXPECT_EQ(Lisp(L"(tebu_ulozdox_string \"S\" \"Žluťoučký kůň\")"), L"T");
    EXPECT_EQ(Lisp(L"(tebu_nactizx_string \"S\")"), L"\"Žluťoučký kůň\"");
    EXPECT_EQ(Lisp(L"(tebu_ulozdox_point \"P3\" '(1.5 -2 3))"), L"T");
    EXPECT_EQ(Lisp(L"(tebu_nactizx_point \"P3\")"), L"(1.5 -2.0 3.0)");
    EXPECT_EQ(Lisp(L"(tebu_ulozdox_point \"P2\" '(4 5))"), L"T");
    EXPECT_EQ(Lisp(L"(tebu_nactizx_point \"P2\")"), L"(4.0 5.0 0.0)");
    EXPECT_EQ(transcript(), L"");
    // The record name is the name itself, without a group.
    int n = 0;
    EXPECT_TRUE(CVoxXRecord::CtiInt(L"N", n));
    EXPECT_EQ(n, -2);

    // A name never stored: the store's line and nil.
    EXPECT_EQ(Lisp(L"(tebu_nactizx_string \"NIC\")"), L"nil");
    EXPECT_EQ(transcript(), L"Nelze otevřít NIC");
    // Another kind: the store's exception report, and still a value.
    EXPECT_EQ(Lisp(L"(tebu_nactizx_real \"N\")"), L"nil");
    const std::wstring t = transcript();
    EXPECT_NE(t.find(L"** Program vyvolal výjimku **\nOčekávaný typ proměnné XRecord neodpovídá"),
              std::wstring::npos)
        << Utf8(t);
}

TEST_F(LispFunkce, WrongArgumentsPrintTheirMessagesAndGiveNil) {
    const std::wstring sObecna = L"\n!!!špatný typ nebo počet argumentů";
    for (const wchar_t* s :
         {L"(tebu_ulozdox_int \"A\" 1.0)", L"(tebu_ulozdox_int 1 1)",
          L"(tebu_ulozdox_string \"A\")", L"(tebu_ulozdox_point \"A\" '(1 2 3 4))",
          L"(tebu_ulozdox_real \"A\" 1)", L"(tebu_nactizx_int)", L"(tebu_nactizx_point 1.5)"}) {
        EXPECT_EQ(Lisp(s), L"nil") << Utf8(s);
        EXPECT_EQ(transcript(), sObecna) << Utf8(s);
    }
    struct {
        const wchar_t* sVolani;
        const wchar_t* sZprava;
    } aPripady[] = {
        {L"(tebu_zmen_hladinu_entity 1)",
         L"\n!!!špatný typ nebo počet argumentů, syntaxe '(tebu_zmen_hladinu_entity <string "
         L"Nazev_hladiny>)'"},
        {L"(tebu_nastav_hladinu)", L"\n!!!Špatný typ nebo počet argumentů, prototyp funkce je "
                                   L"(tebu_nastav_hladinu string)"},
        {L"(tebu_nastav_textstyl nil)", L"\n!!!Špatný typ nebo počet argumentů, prototyp funkce "
                                        L"je (tebu_nastav_textstyl string)"},
        {L"(tebu_nastav_mleaderstyl 2)", L"\n!!!Špatný typ nebo počet argumentů, prototyp "
                                         L"funkce je (tebu_nastav_mleaderstyl string)"},
        {L"(tebu_nastav_dimstyl 2)", L""},
        {L"(tebu_nacti_cestu 5)", L"\n!!!Špatný typ nebo počet argumentů, prototyp funkce je "
                                  L"(tebu_nacti_cestu strSoubor [strAdresar] [Podadresar] [int "
                                  L"typCesty])"},
        {L"(tebu_nacti_cestu \"a.lin\" 5)", L"\nChybně zadaná hodnota typu - očekává se 1 až 4"},
        {L"(tebu_nastaveni \"1\")",
         L"\n!!!Špatný typ nebo počet argumentů, prototyp funkce je (tebu_nastaveni [int "
         L"typNastaveni])\nargumenty 1 - text/mtext, 2 - uchopení, 3 - multivýběr, 4 - "
         L"resetovat hladiny, 5 - nastavovat BYLAYER"},
        {L"(tebu_nastaveni 6)", L"\n!!!Argument je mimo rozsah, přípustné je 1 až 5"},
        {L"(tebu_nastav_hladinu \"NENI_STANDARD\")",
         L"\nHladinu KB_NENI_STANDARD nelze vytvořit !!!"},
        {L"(tebu_nastav_textstyl \"X\")", L"\nStyl X nelze vytvořit !!!"},
        {L"(tebu_nastav_mleaderstyl \"X\")", L"\nMLeader styl X nelze vytvořit !!!"},
        {L"(tebu_nastav_dimstyl \"X\")", L"\nDimension Styl X nelze vytvořit !!!"},
        {L"(tebu_zmen_hladinu_entity \"X\")", L"\nNepodařilo se vytvořit / najít hladinu KB_X"},
    };
    for (const auto& p : aPripady) {
        EXPECT_EQ(Lisp(p.sVolani), L"nil") << Utf8(p.sVolani);
        EXPECT_EQ(transcript(), p.sZprava) << Utf8(p.sVolani);
    }
    // The user layer without a name: the message goes through the exception report.
    EXPECT_EQ(Lisp(L"(tebu_nastav_uziv_hladinu 3)"), L"nil");
    EXPECT_NE(transcript().find(L"** Program vyvolal výjimku **\n\n!!!Špatný typ nebo počet "
                                L"argumentů, prototyp funkce je\n(tebu_nastav_hladinu"),
              std::wstring::npos);
}

TEST_F(LispFunkce, StandardObjectsSettingsAndPaths) {
    EXPECT_EQ(Lisp(L"(tebu_nastav_hladinu \"zt-voda_sv\")"), L"\"KB_ZT-voda_SV\"");
    EXPECT_FALSE(Zaznam<AcDbLayerTable>(L"KB_ZT-voda_SV").isNull());
    EXPECT_EQ(Lisp(L"(tebu_nastav_dimstyl \"KV_VODA1\")"), L"\"KV_VODA1\"");
    EXPECT_FALSE(Zaznam<AcDbDimStyleTable>(L"KV_VODA1").isNull());
    EXPECT_FALSE(Zaznam<AcDbTextStyleTable>(L"KV_TXT_MALY").isNull());
    EXPECT_EQ(Lisp(L"(tebu_nastav_textstyl \"KV_TXT_VELKY\")"), L"\"KV_TXT_VELKY\"");
    EXPECT_EQ(Lisp(L"(tebu_nastav_mleaderstyl \"KV_SIPKA\")"), L"\"KV_SIPKA\"");
    EXPECT_EQ(transcript(), L"");

    // A user layer from its name alone, and one with every property.
    EXPECT_EQ(Lisp(L"(tebu_nastav_uziv_hladinu \"Moje\")"), L"\"KB_Moje\"");
    EXPECT_EQ(Lisp(L"(tebu_nastav_uziv_hladinu \"Druha\" 3 \"SV\" 35 0 \"x.lin\")"),
              L"\"KB_Druha\"");
    AcDbLayerTableRecord* pHladina = nullptr;
    ASSERT_EQ(acdbOpenObject(pHladina, Zaznam<AcDbLayerTable>(L"KB_Druha"), AcDb::kForRead),
              Acad::eOk);
    EXPECT_EQ(pHladina->color().colorIndex(), 3);
    EXPECT_EQ(pHladina->lineWeight(), AcDb::kLnWt035);
    EXPECT_FALSE(pHladina->isPlottable());
    pHladina->close();
    ASSERT_EQ(acdbOpenObject(pHladina, Zaznam<AcDbLayerTable>(L"KB_Moje"), AcDb::kForRead),
              Acad::eOk);
    EXPECT_EQ(pHladina->lineWeight(), AcDb::kLnWtByLwDefault);
    EXPECT_TRUE(pHladina->isPlottable());
    pHladina->close();

    g_pNastaveni->m_nTxtMtxt = 1;
    g_pNastaveni->m_nMultiVyber = 7;
    EXPECT_EQ(Lisp(L"(list (tebu_nastaveni 1) (tebu_nastaveni 3) (tebu_nastaveni 5) "
                   L"(tebu_is_debug))"),
              L"(1 7 1 T)");

    // Paths from the machine hive: the folder, a subfolder, the type in any of its places.
    const std::wstring sKresbon = khost::fromUtf8(std::string(KRESBON_SOURCE_DIR)) + L"/data/";
    EXPECT_EQ(Lisp(L"(tebu_nacti_cestu \"a.lin\")"), L"\"" + sKresbon + L"Kresbon/a.lin\"");
    EXPECT_EQ(Lisp(L"(tebu_nacti_cestu \"a.lin\" \"LIN\" \"Sub\" 1)"),
              L"\"" + sKresbon + L"Kresbon/LIN/Sub/a.lin\"");
    EXPECT_EQ(Lisp(L"(tebu_nacti_cestu \"b\" 4)"), L"\"" + sKresbon + L"CommonData/b\"");
    EXPECT_EQ(Lisp(L"(tebu_nacti_cestu \"b\" \"X\" 4)"), L"\"" + sKresbon + L"CommonData/X/b\"");
    // A type whose folder the hive lacks: the settings' exception report.
    EXPECT_EQ(Lisp(L"(tebu_nacti_cestu \"b\" 2)"), L"nil");
    EXPECT_NE(transcript().find(L"Nelze načíst Install/Data Path z registru Windows"),
              std::wstring::npos);
}

TEST_F(LispFunkce, LayerOfSelectedEntities) {
    Lisp(L"(tebu_nastav_uziv_hladinu \"Zamcena\")");
    const AcDbObjectId a = Cara(L"0");
    const AcDbObjectId b = Cara(L"0");
    const AcDbObjectId c = Cara(L"KB_Zamcena");
    AcDbLayerTableRecord* pHladina = nullptr;
    ASSERT_EQ(acdbOpenObject(pHladina, Zaznam<AcDbLayerTable>(L"KB_Zamcena"), AcDb::kForWrite),
              Acad::eOk);
    pHladina->setIsLocked(true);
    pHladina->close();
    transcript();

    // The pickfirst set, with ByLayer properties (the default setting); it is cleared after.
    Lisp(L"(sssetfirst nil (ssget \"X\"))");
    EXPECT_EQ(Lisp(L"(tebu_zmen_hladinu_entity \"ZT-voda_SV\")"), L"\"KB_ZT-voda_SV\"");
    EXPECT_EQ(transcript(), L"\nVybráno 3 entit, změněno 2 entit, 1 entit nebylo možné otevřít.");
    EXPECT_EQ(Vlastnosti(a), L"KB_ZT-voda_SV ByLayer 256 -1");
    EXPECT_EQ(Vlastnosti(b), L"KB_ZT-voda_SV ByLayer 256 -1");
    EXPECT_EQ(Vlastnosti(c), L"KB_Zamcena Continuous 1 35");
    EXPECT_EQ(Lisp(L"(cadr (ssgetfirst))"), L"nil");

    // Without pickfirst: one pick at the prompt; without SETBYLAYER the properties stay.
    g_pNastaveni->m_nSetByLayer = 0;
    Lisp(L"(tebu_nastav_uziv_hladinu \"Moje\")");
    const AcDbObjectId d = Cara(L"0", 20);
    transcript();
    input(L"5,20\n");
    EXPECT_EQ(Lisp(L"(tebu_zmen_hladinu_entity \"Moje\")"), L"\"KB_Moje\"");
    std::wstring t = transcript();
    EXPECT_EQ(t, L"\nSelect objects: 5,20\n\nVybráno 1 entit, změněno 1 entit, 0 entit nebylo "
                 L"možné otevřít.")
        << Utf8(t);
    EXPECT_EQ(Vlastnosti(d), L"KB_Moje Continuous 1 35");
    EXPECT_EQ(Vlastnosti(a), L"KB_ZT-voda_SV ByLayer 256 -1");

    // Esc at the prompt: nothing selected, the layer name all the same.
    input(L"^C\n");
    EXPECT_EQ(Lisp(L"(tebu_zmen_hladinu_entity \"Moje\")"), L"\"KB_Moje\"");
    EXPECT_NE(transcript().find(L"\nNic nebylo vybráno....."), std::wstring::npos);
    EXPECT_EQ(actrTransactionManager->numActiveTransactions(), 0);
    EXPECT_EQ(acDocManager->curDocument()->myLockMode(), AcAp::kNotLocked);
}

} // namespace
