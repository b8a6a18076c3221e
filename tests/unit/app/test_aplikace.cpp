// Loading and unloading the application through its entry point.
#include "hostfixture.h"

#include "CVoxNastav.h"
#include "CVoxRegistry.h"
#include "appregistry.h"

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode, void*);

namespace {

class Aplikace : public HostFixture {
protected:
    AcEdCommandStack* Zasobnik() {
        return AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK));
    }
    int Nacti() {
        khost::LoadedApp app;
        app.name = L"Kresbon";
        app.entry = &acrxEntryPoint;
        return khost::loadApplication(app);
    }
    void Uvolni(int i) {
        khost::sendAppMessage(i, AcRx::kUnloadDwgMsg);
        khost::unloadApplication(i, true);
    }
};

TEST_F(Aplikace, LoadPrintsMessageAsksFirstRunAndUnloadRemovesEverything) {
    input(L"No\n");
    int i = Nacti();
    std::wstring t = transcript();
    EXPECT_EQ(t.find(L"\nÚspěšně načteny Kresbon verze: 2025 (pro AutoCAD 2017 až 2023) - "
                     L"sestavení 1\nnačten soubor: "),
              0u);
    EXPECT_NE(t.find(L"** Kresbon pro AutoCad **\nPrvní spuštění - není nastavena např. předpona "
                     L"pro hladiny\nSpustit dialog nastavení Utilit?\n[Yes/No]: "),
              std::wstring::npos);
    ASSERT_NE(g_pNastaveni, nullptr);
    EXPECT_FALSE(g_pNastaveni->m_bNastaveno);
    EXPECT_TRUE(khost::isAppMDIAware(i));
    EXPECT_TRUE(khost::isAppUnlocked(i));

    AcEdCommand* pPokus = Zasobnik()->lookupGlobalCmd(L"pokus");
    ASSERT_NE(pPokus, nullptr);
    EXPECT_EQ(pPokus->commandFlags(), ACRX_CMD_MODAL | ACRX_CMD_USEPICKSET);
    // The command can be typed and ends at once without output.
    EXPECT_TRUE(khost::executeCommand(L"pokus"));
    EXPECT_EQ(transcript(), L"");
    EXPECT_TRUE(khost::executeCommand(L"_pokus"));

    Uvolni(i);
    EXPECT_EQ(g_pNastaveni, nullptr);
    EXPECT_EQ(Zasobnik()->lookupGlobalCmd(L"pokus"), nullptr);
    EXPECT_FALSE(khost::executeCommand(L"pokus"));
    bool b = true;
    ASSERT_TRUE(CVoxRegistry::CtiBool(REG_KLIC_PRODUKT, L"NASTAVENO", b, L"Nastaveni"));
    EXPECT_FALSE(b);

    // Answering No leaves the question for the next load.
    transcript();
    input(L"No\n");
    i = Nacti();
    EXPECT_NE(transcript().find(L"Spustit dialog nastavení Utilit?"), std::wstring::npos);
    Uvolni(i);
}

TEST_F(Aplikace, ConfirmedSettingsAskNothing) {
    CVoxRegistry::UlozBool(REG_KLIC_PRODUKT, L"NASTAVENO", true, L"Nastaveni");
    int i = Nacti();
    std::wstring t = transcript();
    EXPECT_EQ(t.find(L"Spustit dialog"), std::wstring::npos);
    EXPECT_TRUE(g_pNastaveni->m_bNastaveno);
    Uvolni(i);
}

} // namespace
