// Loading and unloading the application through its entry point.
#include "hostfixture.h"

#include "CVoxNastav.h"
#include "CVoxRegistry.h"
#include "appregistry.h"

#include <string>
#include <vector>

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

TEST_F(Aplikace, EveryCommandIsRegisteredInTheTablesOrder) {
    CVoxRegistry::UlozBool(REG_KLIC_PRODUKT, L"NASTAVENO", true, L"Nastaveni");
    int i = Nacti();
    const std::vector<std::wstring> aOcekavane = {
        L"ca", L"ra",  L"rak",      L"mat",    L"z0",  L"kub",   L"tv",
        L"ss", L"ssa", L"lt1",      L"mtcf",   L"sp",  L"kac",   L"kace",
        L"ed", L"cmm", L"vvs",      L"vvvv",   L"mut", L"ko",    L"kod",
        L"li", L"pro", L"nactiGPS", L"preved", L"ram", L"pokus", L"vypisent"};
    std::vector<std::wstring> aPrikazy;
    std::vector<std::wstring> aNastaveni;
    AcEdCommandIterator* pIter = Zasobnik()->iterator();
    for (; !pIter->done(); pIter->next()) {
        const std::wstring sSkupina = pIter->commandGroup();
        if (sSkupina == L"TEBU_utility")
            aPrikazy.emplace_back(pIter->command()->globalName());
        else if (sSkupina == L"TEBU_nastaveni")
            aNastaveni.emplace_back(pIter->command()->globalName());
    }
    delete pIter;
    EXPECT_EQ(aPrikazy, aOcekavane);
    EXPECT_EQ(aNastaveni, std::vector<std::wstring>{L"kbset"});
    ASSERT_NE(Zasobnik()->lookupLocalCmd(L"jur"), nullptr);
    EXPECT_STREQ(Zasobnik()->lookupLocalCmd(L"jur")->globalName(), L"z0");
    Uvolni(i);
}

} // namespace
