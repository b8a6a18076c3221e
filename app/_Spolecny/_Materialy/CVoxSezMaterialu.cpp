#include "StdAfx.h"

#include "CVoxSezMaterialu.h"

#include "CVoxException.h"
#include "CVoxRegistry.h"
#include "taskdialog.h"

#include <algorithm>
#include <set>

namespace {

constexpr BYTE VERZE_SEZNAMU = 3;
constexpr BYTE NEPODPOROVANA_VERZE = 4;
constexpr BYTE KONEC = 0xFF;

const wchar_t* const TITULEK = L"Kresbon pro AutoCad";

// Answers of the overwrite question; bit 2 keeps the existing material, bit 32 is for all.
constexpr UINT ODPOVED_OK = 0;
constexpr UINT ODPOVED_ANO = 1;
constexpr UINT ODPOVED_NE = 2;
constexpr UINT ODPOVED_ZRUSIT = 8;
constexpr int TLACITKO_ANO_VSEM = 33;
constexpr int TLACITKO_NE_VSEM = 34;

void ChybaSouboru(const std::wstring& sCesta, const wchar_t* sObsah) {
    std::wstring sHlavni = L"Nelze otevřít soubor:\n" + sCesta;
    TASKDIALOGCONFIG c{};
    c.cbSize = sizeof c;
    c.hwndParent = GetActiveWindow();
    c.dwCommonButtons = TDCBF_OK_BUTTON;
    c.pszWindowTitle = TITULEK;
    c.pszMainIcon = TD_ERROR_ICON;
    c.pszMainInstruction = sHlavni.c_str();
    c.pszContent = sObsah;
    int nTlacitko = 0;
    TaskDialogIndirect(&c, &nTlacitko, nullptr, nullptr);
}

void ChybaSouboruMfc(CException* e, const wchar_t* sText) {
    e->Delete();
    MessageBoxW(GetActiveWindow(), sText, L"Neočekávaná výjimka", MB_OK | MB_ICONERROR);
}

} // namespace

CVoxSezMaterialu::~CVoxSezMaterialu() {
    for (auto& [sNazev, pMaterial] : m_mapMaterialy) {
        pMaterial->m_pSeznam = nullptr;
        delete pMaterial;
    }
    m_mapMaterialy.clear();
    for (CVoxMaterial* pMaterial : m_aOdlozene)
        delete pMaterial;
    m_aOdlozene.clear();
}

bool CVoxSezMaterialu::Najdi(const wchar_t* sNazev, CVoxMaterial** ppMaterial) const {
    auto it = m_mapMaterialy.find(CString(sNazev));
    if (ppMaterial)
        *ppMaterial = it == m_mapMaterialy.end() ? nullptr : it->second;
    return it != m_mapMaterialy.end();
}

bool CVoxSezMaterialu::Pridej(CVoxMaterial* pMaterial) {
    if (!pMaterial || !m_mapMaterialy.emplace(pMaterial->GetNazev(), pMaterial).second)
        return false;
    pMaterial->m_pSeznam = this;
    SetModified(true);
    return true;
}

bool CVoxSezMaterialu::NovyMaterial(const wchar_t* sNazev, CVoxMaterial** ppMaterial) {
    if (ppMaterial)
        *ppMaterial = nullptr;
    if (Najdi(sNazev, nullptr))
        return false;
    auto* pNovy = new CVoxMaterial(this, sNazev, 0, 0, POPIS_DXT, 0.01f, L"", L"");
    m_mapMaterialy.emplace(pNovy->GetNazev(), pNovy);
    SetModified(true);
    if (ppMaterial)
        *ppMaterial = pNovy;
    return true;
}

bool CVoxSezMaterialu::SmazMaterial(CVoxMaterial* pMaterial) {
    if (!pMaterial)
        return false;
    if (pMaterial->JePouzivan()) {
        MessageBoxW(adsw_acadMainWnd(), L"Materiál je používán, nelze jej vymazat", TITULEK,
                    MB_OK | MB_ICONWARNING);
        return false;
    }
    auto it = m_mapMaterialy.find(pMaterial->GetNazev());
    if (it == m_mapMaterialy.end() || it->second != pMaterial)
        return false;
    m_mapMaterialy.erase(it);
    pMaterial->m_pSeznam = nullptr;
    delete pMaterial;
    SetModified(true);
    return true;
}

void CVoxSezMaterialu::Vymaz(bool bPonechatPouzite) {
    for (auto& [sNazev, pMaterial] : m_mapMaterialy) {
        pMaterial->m_pSeznam = nullptr;
        if (bPonechatPouzite && pMaterial->JePouzivan())
            m_aOdlozene.push_back(pMaterial);
        else
            delete pMaterial;
    }
    m_mapMaterialy.clear();
    m_bUlozeno = true;
}

void CVoxSezMaterialu::Prirad(const CVoxSezMaterialu& src) {
    if (&src == this)
        return;
    Vymaz(true);
    for (const auto& [sNazev, pMaterial] : src.m_mapMaterialy)
        m_mapMaterialy.emplace(sNazev, new CVoxMaterial(*pMaterial, this));
    m_bUlozeno = src.m_bUlozeno;
}

bool CVoxSezMaterialu::NicNevyhovuje(UINT nOblast, UINT nMedium) const {
    if (m_mapMaterialy.empty())
        return true;
    if (nOblast == OBLAST_VSE && nMedium == MEDIUM_VSE)
        return false;
    for (const auto& [sNazev, pMaterial] : m_mapMaterialy)
        if ((pMaterial->GetOblast() & nOblast) && (pMaterial->GetMedium() & nMedium))
            return false;
    return true;
}

void CVoxSezMaterialu::VyprazdniOdkazy() {
    for (auto& [sNazev, pMaterial] : m_mapMaterialy) {
        pMaterial->Odkazy().Vyprazdni();
        for (auto& [iDN, pProfil] : pMaterial->Profily())
            pProfil->Odkazy().Vyprazdni();
    }
}

void CVoxSezMaterialu::PresmerujOdkazy() {
    std::set<void*> aPrevzate;
    for (auto& [sNazev, pMaterial] : m_mapMaterialy) {
        pMaterial->Odkazy().Presmeruj(pMaterial);
        for (CVoxMaterial** pp : pMaterial->Odkazy().Seznam())
            aPrevzate.insert(pp);
        for (auto& [iDN, pProfil] : pMaterial->Profily()) {
            pProfil->Odkazy().Presmeruj(pProfil);
            for (CVoxProfil** pp : pProfil->Odkazy().Seznam())
                aPrevzate.insert(pp);
        }
    }
    // The materials that were dropped while in use no longer have the holders taken over: a
    // holder that goes away tells only the object it points at.
    auto Uvolni = [&aPrevzate](auto& odkazy) {
        const auto aSeznam = odkazy.Seznam();
        for (auto* pp : aSeznam)
            if (aPrevzate.count(pp))
                odkazy.Odeber(pp);
    };
    for (CVoxMaterial* pMaterial : m_aOdlozene) {
        Uvolni(pMaterial->Odkazy());
        for (auto& [iDN, pProfil] : pMaterial->Profily())
            Uvolni(pProfil->Odkazy());
    }
}

bool CVoxSezMaterialu::Prejmenuj(CVoxMaterial* pMaterial, const CString& sNovy) {
    auto itNovy = m_mapMaterialy.find(sNovy);
    if (itNovy != m_mapMaterialy.end())
        return itNovy->second == pMaterial;
    auto it = m_mapMaterialy.find(pMaterial->GetNazev());
    if (it != m_mapMaterialy.end() && it->second == pMaterial)
        m_mapMaterialy.erase(it);
    pMaterial->m_strNazev = sNovy;
    m_mapMaterialy.emplace(sNovy, pMaterial);
    SetModified(true);
    return true;
}

// --- Catalogue files ----------------------------------------------------------------------------

std::wstring CVoxSezMaterialu::CestaSouboru(bool bStandard, bool bZalozitAdresar) {
    std::wstring sCesta = CVoxRegistry::NactiCestu(
        REG_KLIC_VYROBCE, L"Materialy", bStandard ? 3 : 4, !bZalozitAdresar, bZalozitAdresar);
    sCesta += bStandard ? L"Potrubi_std.kvp" : L"Potrubi.kvp";
    return sCesta;
}

void CVoxSezMaterialu::Serialize(CArchive& ar, bool bJenPouzite) {
    if (ar.IsStoring())
        SerializeUloz(ar, bJenPouzite);
    else
        SerializeNacti(ar, bJenPouzite);
}

void CVoxSezMaterialu::SerializeUloz(CArchive& ar, bool bJenPouzite) {
    ar << VERZE_SEZNAMU;
    int nIndex = 0;
    for (auto& [sNazev, pMaterial] : m_mapMaterialy) {
        if (bJenPouzite && !pMaterial->JePouzivan())
            continue;
        pMaterial->SetIndex(nIndex++);
        pMaterial->Serialize(ar, bJenPouzite);
    }
    ar << KONEC;
}

void CVoxSezMaterialu::SerializeNacti(CArchive& ar, bool bJenPouzite) {
    BYTE nVerze = 0;
    ar >> nVerze;
    if (nVerze >= NEPODPOROVANA_VERZE)
        VOX_THROW("Nelze načíst, soubor byl uložen vyšší verzí programu, aktualizujte program");

    // The answer for all holds for this load only, however it ends.
    struct Odpoved {
        UINT& n;
        ~Odpoved() { n = 0; }
    } odpoved{m_nOdpovedVsem};
    m_nOdpovedVsem = 0;

    ULONGLONG nPocet = ~0ULL;
    if (nVerze <= 1)
        ar >> nPocet;
    bool bAktualizovano = false;
    int nIndex = 0;
    for (ULONGLONG i = 0; i < nPocet; ++i) {
        auto pNacteny = std::make_unique<CVoxMaterial>();
        pNacteny->m_pSeznam = this;
        pNacteny->Serialize(ar, bJenPouzite);
        if (pNacteny->GetIndex() == -1)
            break;
        pNacteny->SetIndex(nIndex++);
        if (ZaradNacteny(std::move(pNacteny), bJenPouzite))
            bAktualizovano = true;
    }
    if (nVerze <= 2) {
        DWORD nRezerva = 0;
        ar >> nRezerva >> nRezerva >> nRezerva;
    }
    m_bUlozeno = true;
    m_nOdpovedVsem = 0;
    if (bAktualizovano &&
        MessageBoxW(GetActiveWindow(),
                    L"Hlavní seznam materiálů byl při načítání projektu aktualizován\nULOŽIT?",
                    L"Uložit materiály?", MB_YESNO | MB_ICONQUESTION) == IDYES)
        Uloz();
}

int CVoxSezMaterialu::ZeptejSePrepsat(const CString& sNazev) {
    const TASKDIALOG_BUTTON aTlacitka[] = {{TLACITKO_ANO_VSEM, L"Ano všem"},
                                           {TLACITKO_NE_VSEM, L"Ne všem"}};
    TASKDIALOGCONFIG c{};
    c.cbSize = sizeof c;
    c.hwndParent = GetActiveWindow();
    c.dwCommonButtons = TDCBF_YES_BUTTON | TDCBF_NO_BUTTON;
    c.pszWindowTitle = TITULEK;
    c.pszMainIcon = TD_WARNING_ICON;
    c.pszMainInstruction = L"Tento materiál již existuje, přepsat standardním?";
    c.pszContent = sNazev.GetString();
    c.cButtons = 2;
    c.pButtons = aTlacitka;
    int nTlacitko = 0;
    if (FAILED(TaskDialogIndirect(&c, &nTlacitko, nullptr, nullptr)))
        return ODPOVED_NE;
    switch (nTlacitko) {
    case IDYES:
        return ODPOVED_ANO;
    case IDNO:
        return ODPOVED_NE;
    case IDOK:
        return ODPOVED_OK;
    case IDCANCEL:
        return ODPOVED_ZRUSIT;
    default:
        return nTlacitko;
    }
}

bool CVoxSezMaterialu::ZaradNacteny(std::unique_ptr<CVoxMaterial> pNacteny, bool bJenPouzite) {
    auto it = m_mapMaterialy.find(pNacteny->GetNazev());
    if (it == m_mapMaterialy.end()) {
        m_mapMaterialy.emplace(pNacteny->GetNazev(), pNacteny.get());
        pNacteny.release();
        return false;
    }
    CVoxMaterial* pStavajici = it->second;
    if (pStavajici->Stejny(*pNacteny, bJenPouzite))
        return false;
    UINT nOdpoved = m_nOdpovedVsem;
    if (!nOdpoved) {
        nOdpoved = static_cast<UINT>(ZeptejSePrepsat(pNacteny->GetNazev()));
        if (nOdpoved & 32)
            m_nOdpovedVsem = nOdpoved;
    }
    if (nOdpoved & ODPOVED_NE) {
        pStavajici->ZahrnProfily(*pNacteny);
        return false;
    }
    pNacteny->PrevezmiDrzitele(*pStavajici);
    pNacteny->ZahrnProfily(*pStavajici);
    // The holders of the replaced profiles go to the profile of the same DN that stays, so that
    // deleting the replaced material leaves none of them without its profile.
    for (const auto& [iDN, pStary] : pStavajici->Profily()) {
        CVoxProfil* pNovy = pNacteny->Profil(iDN);
        if (!pNovy)
            continue;
        for (CVoxProfil** pp : pStary->Odkazy().Seznam())
            if (std::find(pNovy->Odkazy().Seznam().begin(), pNovy->Odkazy().Seznam().end(), pp) ==
                pNovy->Odkazy().Seznam().end())
                pNovy->Odkazy().Pridej(pp);
        pStary->Odkazy().Vyprazdni();
        pNovy->Odkazy().Presmeruj(pNovy);
    }
    m_mapMaterialy.erase(it);
    pStavajici->m_pSeznam = nullptr;
    delete pStavajici;
    if (!m_mapMaterialy.emplace(pNacteny->GetNazev(), pNacteny.get()).second)
        VOX_THROW("Nelze vložit materiál při serializaci");
    pNacteny.release();
    return true;
}

bool CVoxSezMaterialu::Nacti(bool bStandard) {
    auto ResetIndexu = [this] {
        for (auto& [sNazev, pMaterial] : m_mapMaterialy)
            pMaterial->SetIndex(-2);
    };
    try {
        const std::wstring sCesta = CestaSouboru(bStandard);
        CFile soubor;
        if (!soubor.Open(sCesta.c_str(), CFile::modeRead | CFile::shareDenyWrite)) {
            if (bStandard) {
                ChybaSouboru(sCesta, L"\nDoporučujeme přeinstalovat programKresbon pro AutoCad");
                return false;
            }
            ChybaSouboru(sCesta, L"Bude načten standardní soubor");
            const bool bNacteno = Nacti(true);
            if (bNacteno)
                Uloz();
            return bNacteno;
        }
        try {
            CArchive ar(&soubor, CArchive::load, 4096);
            Serialize(ar, false);
            ar.Close();
        } catch (...) {
            ResetIndexu();
            soubor.Abort();
            throw;
        }
        soubor.Close();
        SetModified(bStandard);
        ResetIndexu();
        return true;
    } catch (CException* e) {
        ChybaSouboruMfc(e, L"Chyba při čtení ze souboru");
    } catch (const std::exception& e) {
        ZobrazVyjimku(e);
    }
    return false;
}

bool CVoxSezMaterialu::Uloz() {
    if (m_mapMaterialy.empty())
        return true;
    std::wstring sDocasny;
    try {
        const std::wstring sCesta = CestaSouboru(false, true);
        // The list goes to a file beside the catalogue that replaces it only when complete.
        sDocasny = sCesta + L".tmp";
        CFile soubor;
        if (!soubor.Open(sDocasny.c_str(), CFile::modeCreate | CFile::modeWrite)) {
            ChybaSouboru(sCesta, L"Nelze uložit provedené změny");
            return false;
        }
        try {
            CArchive ar(&soubor, CArchive::store | CArchive::bNoFlushOnDelete, 4096);
            Serialize(ar, false);
            ar.Close();
            soubor.Close();
        } catch (...) {
            soubor.Abort();
            DeleteFileW(sDocasny.c_str());
            throw;
        }
        if (!MoveFileExW(sDocasny.c_str(), sCesta.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            DeleteFileW(sDocasny.c_str());
            AfxThrowFileException(CFileException::accessDenied, static_cast<LONG>(GetLastError()),
                                  sCesta.c_str());
        }
        SetModified(false);
        return true;
    } catch (CException* e) {
        ChybaSouboruMfc(e, L"Chyba při zápisu do souboru");
    } catch (const std::exception& e) {
        ZobrazVyjimku(e);
    }
    return false;
}
