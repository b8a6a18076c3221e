#include "StdAfx.h"

#include "Kresbon.h"

#include "CKvDlgNastaveniUtilit.h"
#include "CVoxException.h"
#include "CVoxKoty.h"
#include "CVoxMultiTrubky.h"
#include "CVoxNastav.h"
#include "CKacena.h"
#include "CVoxSpojUsecky.h"
#include "DvojKlik.h"
#include "GpsBody.h"
#include "InfoPrikazy.h"
#include "LispFunkce.h"
#include "Modifikace.h"
#include "OstatniPrikazy.h"
#include "Ramecek.h"
#include "RotaceTextu.h"
#include "TextovePrikazy.h"
#include "VoxPrevod.h"
#include "VyskyPrikazy.h"

namespace {

using FcePrikazu = void (*)();

// Every command body ends through the exception report; nothing is rethrown to the host.
template <FcePrikazu Fce> void ObalPrikazu() {
    try {
        Fce();
    } catch (const std::exception& e) {
        ZobrazVyjimku(e);
    }
}

struct RadekPrikazu {
    const ACHAR* sGlobalni;
    const ACHAR* sMistni;
    FcePrikazu pFce;
    Adesk::Int32 nPriznaky;
};

constexpr Adesk::Int32 MODAL_PICKSET = ACRX_CMD_MODAL | ACRX_CMD_USEPICKSET;

// The commands of the group, in the order of registration. A command is listed here once its
// body exists.
const RadekPrikazu g_aPrikazy[] = {
    {L"ca", L"ca", &ObalPrikazu<PrikazCa>, MODAL_PICKSET},
    {L"ra", L"ra", &ObalPrikazu<PrikazRa>, MODAL_PICKSET},
    {L"rak", L"rak", &ObalPrikazu<PrikazRak>, MODAL_PICKSET},
    {L"mat", L"mat", &ObalPrikazu<PrikazMat>, MODAL_PICKSET},
    {L"z0", L"jur", &ObalPrikazu<PrikazZ0>, MODAL_PICKSET},
    {L"kub", L"kub", &ObalPrikazu<PrikazKub>, MODAL_PICKSET},
    {L"tv", L"tv", &ObalPrikazu<PrikazTv>, MODAL_PICKSET},
    {L"ss", L"ss", &ObalPrikazu<PrikazSs>, MODAL_PICKSET},
    {L"ssa", L"ssa", &ObalPrikazu<PrikazSsa>, MODAL_PICKSET},
    {L"lt1", L"lt1", &ObalPrikazu<PrikazLt1>, MODAL_PICKSET},
    {L"mtcf", L"mtcf", &ObalPrikazu<PrikazMtcf>, MODAL_PICKSET},
    {L"sp", L"sp", &ObalPrikazu<PrikazSp>, MODAL_PICKSET},
    {L"kac", L"kac", &ObalPrikazu<PrikazKac>, MODAL_PICKSET},
    {L"kace", L"kace", &ObalPrikazu<PrikazKace>, MODAL_PICKSET},
    {L"ed", L"ed", &ObalPrikazu<PrikazEd>, MODAL_PICKSET},
    {L"cmm", L"cmm", &ObalPrikazu<PrikazCmm>, MODAL_PICKSET},
    {L"vvs", L"vvs", &ObalPrikazu<PrikazVvs>, MODAL_PICKSET},
    {L"vvvv", L"vvvv", &ObalPrikazu<PrikazVvvv>, MODAL_PICKSET},
    {L"mut", L"mut", &ObalPrikazu<PrikazMut>, MODAL_PICKSET},
    {L"ko", L"ko", &ObalPrikazu<&CVoxKoty::Ko>, MODAL_PICKSET},
    {L"kod", L"kod", &ObalPrikazu<&CVoxKoty::Kod>, MODAL_PICKSET},
    {L"li", L"li", &ObalPrikazu<PrikazLi>, MODAL_PICKSET},
    {L"pro", L"pro", &ObalPrikazu<PrikazPro>, MODAL_PICKSET},
    {L"nactiGPS", L"nactiGPS", &ObalPrikazu<PrikazNactiGps>, MODAL_PICKSET},
    {L"preved", L"preved", &ObalPrikazu<PrikazPreved>, MODAL_PICKSET},
    {L"ram", L"ram", &ObalPrikazu<PrikazRam>, ACRX_CMD_MODAL},
    {L"pokus", L"pokus", &ObalPrikazu<PrikazPokus>, MODAL_PICKSET},
    {L"vypisent", L"vypisent", &ObalPrikazu<PrikazVypisEnt>, MODAL_PICKSET},
};

// The AutoLISP functions: a name and a handler; the index is the function code.
struct RadekFunkce {
    const ACHAR* sJmeno;
    int (*pFce)();
};
const RadekFunkce g_aFunkce[] = {
    {L"tebu_ulozdox_int", &LispUlozInt},
    {L"tebu_ulozdox_string", &LispUlozString},
    {L"tebu_ulozdox_point", &LispUlozBod},
    {L"tebu_ulozdox_real", &LispUlozReal},
    {L"tebu_nactizx_int", &LispNactiInt},
    {L"tebu_nactizx_string", &LispNactiString},
    {L"tebu_nactizx_point", &LispNactiBod},
    {L"tebu_nactizx_real", &LispNactiReal},
    {L"tebu_zmen_hladinu_entity", &LispZmenHladinuEntity},
    {L"tebu_nastav_hladinu", &LispNastavHladinu},
    {L"tebu_nastav_textstyl", &LispNastavTextStyl},
    {L"tebu_nastav_mleaderstyl", &LispNastavMLeaderStyl},
    {L"tebu_nastav_dimstyl", &LispNastavKotStyl},
    {L"tebu_nacti_cestu", &LispNactiCestu},
    {L"tebu_nastav_uziv_hladinu", &LispNastavUzivHladinu},
    {L"tebu_is_debug", &LispJeDebug},
    {L"tebu_nastaveni", &LispNastaveni},
};
constexpr int POCET_FUNKCI = static_cast<int>(sizeof(g_aFunkce) / sizeof(g_aFunkce[0]));
static_assert(POCET_FUNKCI == 17);

AcEdCommandStack* ZasobnikPrikazu() {
    return AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK));
}

} // namespace

AcRx::AppRetCode CKresbonApp::On_kInitAppMsg(void* pkt) {
    AcRx::AppRetCode nVysledek = AcRxArxApp::On_kInitAppMsg(pkt);
    try {
        g_pNastaveni = new CVoxNastav();

        AcEdCommandStack* pZasobnik = ZasobnikPrikazu();
        pZasobnik->addCommand(SKUPINA_NASTAVENI, L"kbset", L"kbset", MODAL_PICKSET,
                              &ObalPrikazu<PrikazKbset>, nullptr, -1,
                              AcRxResourceInstance::empty());
        for (const RadekPrikazu& r : g_aPrikazy)
            pZasobnik->addCommand(SKUPINA_PRIKAZU, r.sGlobalni, r.sMistni, r.nPriznaky, r.pFce,
                                  nullptr, -1, AcRxResourceInstance::empty());
        acedRegisterFilterWinMsg(FiltrDvojkliku);

        acutPrintf(L"\nÚspěšně načteny Kresbon verze: %ls (pro AutoCAD 2017 až 2023) - sestavení "
                   L"%i\nnačten soubor: ",
                   KRESBON_VERZE, KRESBON_SESTAVENI);

        if (!g_pNastaveni->m_bNastaveno) {
            // Yes runs the settings dialog; only its OK marks the settings as confirmed.
            if (MessageBoxW(adsw_acadMainWnd(),
                            L"První spuštění - není nastavena např. předpona pro hladiny\nSpustit "
                            L"dialog nastavení Utilit?",
                            L"Kresbon pro AutoCad", MB_YESNO | MB_ICONQUESTION) == IDYES)
                CKvDlgNastaveniUtilit::Spust(*g_pNastaveni);
        }
    } catch (const std::exception& e) {
        ZobrazVyjimku(e);
    }
    return nVysledek;
}

AcRx::AppRetCode CKresbonApp::On_kUnloadAppMsg(void* pkt) {
    AcRx::AppRetCode nVysledek = AcRxArxApp::On_kUnloadAppMsg(pkt);
    try {
        acedRemoveFilterWinMsg(FiltrDvojkliku);
        if (AcEdCommandStack* pZasobnik = ZasobnikPrikazu()) {
            pZasobnik->removeGroup(SKUPINA_PRIKAZU);
            pZasobnik->removeGroup(SKUPINA_NASTAVENI);
        }
        UnregisterClassW(L"TreeList", GetModuleHandleW(nullptr));
        if (g_pNastaveni) {
            delete g_pNastaveni;
            g_pNastaveni = nullptr;
        }
    } catch (const std::exception& e) {
        ZobrazVyjimku(e);
    }
    return nVysledek;
}

AcRx::AppRetCode CKresbonApp::On_kLoadDwgMsg(void* pkt) {
    AcRx::AppRetCode nVysledek = AcRxArxApp::On_kLoadDwgMsg(pkt);
    for (int i = 0; i < POCET_FUNKCI; ++i)
        acedDefun(g_aFunkce[i].sJmeno, i);
    return nVysledek;
}

AcRx::AppRetCode CKresbonApp::On_kUnloadDwgMsg(void* pkt) {
    AcRx::AppRetCode nVysledek = AcRxArxApp::On_kUnloadDwgMsg(pkt);
    for (int i = 0; i < POCET_FUNKCI; ++i)
        acedUndef(g_aFunkce[i].sJmeno, i);
    return nVysledek;
}

AcRx::AppRetCode CKresbonApp::On_kInvkSubrMsg(void* pkt) {
    AcRx::AppRetCode nVysledek = AcRxArxApp::On_kInvkSubrMsg(pkt);
    const int nKod = acedGetFunCode();
    if (nKod >= 0 && nKod < POCET_FUNKCI) {
        // An exception the function does not handle is reported here; the call still gives
        // the LISP value nil.
        try {
            g_aFunkce[nKod].pFce();
        } catch (const std::exception& e) {
            ZobrazVyjimku(e);
            acedRetNil();
        }
    }
    return nVysledek;
}

static CKresbonApp g_App;

extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode
acrxEntryPoint(AcRx::AppMsgCode nZprava, void* pkt) {
    return g_App.acrxEntryPoint(nZprava, pkt);
}
