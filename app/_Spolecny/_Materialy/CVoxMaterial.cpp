#include "StdAfx.h"

#include "CVoxMaterial.h"

#include "CVoxException.h"
#include "CVoxSezMaterialu.h"

#include <cmath>
#include <cwchar>
#include <memory>

// --- Standard tables ----------------------------------------------------------------------------

const VoxRadekDN g_aTabulkaDN[POCET_DN] = {
    {L"DN 8", 8.0f, 10},         {L"DN 10", 10.0f, 16},    {L"DN 12", 12.0f, 18},
    {L"DN 15", 15.0f, 20},       {L"DN 20", 20.0f, 25},    {L"DN 25", 25.0f, 32},
    {L"DN 32", 32.0f, 40},       {L"DN 40", 40.0f, 50},    {L"DN 50", 50.0f, 63},
    {L"DN 65", 65.0f, 75},       {L"DN 80", 80.0f, 90},    {L"DN 100", 100.0f, 110},
    {L"DN 125", 125.0f, 125},    {L"DN 150", 150.0f, 160}, {L"DN 200", 200.0f, 200},
    {L"DN 225", 225.0f, 225},    {L"DN 250", 250.0f, 250}, {L"DN 300", 300.0f, 315},
    {L"DN 350", 350.0f, 350},    {L"DN 400", 400.0f, 400}, {L"DN 450", 450.0f, 450},
    {L"DN 500", 500.0f, 500},    {L"DN 600", 600.0f, 600}, {L"DN 700", 700.0f, 700},
    {L"DN 800", 800.0f, 800},    {L"DN 900", 900.0f, 900}, {L"DN 1000", 1000.0f, 1000},
    {L"DN 1200", 1200.0f, 1200},
};

const VoxRadekPN g_aTabulkaPN[POCET_PN] = {
    {L"---", 0},    {L"PN 6", 6},   {L"PN 10", 10}, {L"PN 16", 16},
    {L"PN 25", 25}, {L"PN 40", 40}, {L"PN 63", 63},
};

// The row "SDr 7.4" computes with 7.2.
const VoxRadekSDr g_aTabulkaSDr[POCET_SDR] = {
    {L"---", 0.0f},     {L"SDr 6", 6.0f},     {L"SDr 7.4", 7.2f}, {L"SDr 9", 9.0f},
    {L"SDr 11", 11.0f}, {L"SDr 13.6", 13.6f}, {L"SDr 17", 17.0f}, {L"SDr 17.6", 17.6f},
};

// --- Short texts of the catalogue files ---------------------------------------------------------

namespace {

constexpr BYTE VERZE_MATERIALU = 5;
constexpr BYTE VERZE_PROFILU = 6;
constexpr BYTE NEPODPOROVANA_VERZE = 7;
constexpr BYTE KONEC = 0xFF;

const char* const VYSSI_VERZE =
    "Nelze načíst, soubor byl uložen vyšší verzí programu, aktualizujte program";

// One character as a UTF-16 unit of the file; characters beyond the basic plane have no place in
// the short fixed fields.
WORD Jednotka(wchar_t c) {
    return static_cast<unsigned long>(c) > 0xFFFF ? WORD(0xFFFD) : static_cast<WORD>(c);
}

// TEXT(w): the units up to the first 0, at most w of them, then a 0 unit.
void ZapisText(CArchive& ar, const wchar_t* s, int nMax) {
    int n = 0;
    for (; n < nMax && s[n]; ++n)
        ar << Jednotka(s[n]);
    ar << WORD(0);
}

// TEXT(w, r): up to r+1 units, until a 0 unit has been read. The field holds r characters.
void CtiText(CArchive& ar, wchar_t* s, int nVelikost, int nMaxCteni) {
    for (int i = 0; i <= nMaxCteni; ++i) {
        WORD w = 0;
        ar >> w;
        if (i < nVelikost)
            s[i] = static_cast<wchar_t>(w);
        if (w == 0) {
            s[std::min(i, nVelikost - 1)] = L'\0';
            return;
        }
    }
    s[0] = L'\0';
    VOX_THROW("Načítaný řetězec není ukončen nulou");
}

// OLDTEXT(n): exactly n+1 units holding a text ended by a 0 unit. A text without its 0 unit is
// cut to n characters.
void CtiStaryText(CArchive& ar, wchar_t* s, int nVelikost, int n) {
    bool bKonec = false;
    int nDelka = 0;
    for (int i = 0; i <= n; ++i) {
        WORD w = 0;
        ar >> w;
        if (w == 0)
            bKonec = true;
        if (!bKonec && i < n && i < nVelikost - 1) {
            s[i] = static_cast<wchar_t>(w);
            nDelka = i + 1;
        }
    }
    s[nDelka] = L'\0';
}

short CtiInt16(CArchive& ar) {
    short n = 0;
    ar >> n;
    return n;
}

bool KopirujText(wchar_t* sCil, size_t nVelikost, const wchar_t* sZdroj) {
    return wcscpy_s(sCil, nVelikost, sZdroj ? sZdroj : L"") == 0;
}

double CtiCislo(const CString& s) {
    CString t(s);
    t.Trim();
    t.Replace(L',', L'.');
    return std::wcstod(t.GetString(), nullptr);
}

} // namespace

// --- Profile ------------------------------------------------------------------------------------

CVoxProfil::CVoxProfil() = default;

CVoxProfil::CVoxProfil(CVoxMaterial* pMaterial, int iDN)
    : m_iDN(iDN), m_fVnitrni(static_cast<float>(iDN)), m_nVnejsi(iDN), m_pMaterial(pMaterial) {
    UpdatePopis();
}

CVoxProfil::CVoxProfil(const CVoxProfil& src, CVoxMaterial* pMaterial)
    : m_iDN(src.m_iDN), m_fVnitrni(src.m_fVnitrni), m_fTloustka(src.m_fTloustka),
      m_nVnejsi(src.m_nVnejsi), m_nSirka(src.m_nSirka), m_pMaterial(pMaterial),
      m_Odkazy(src.m_Odkazy) {
    // The width is copied too: the material dialogs edit a copy of the list and assign it back,
    // so a copy without the width would lose the widths of all non-circular profiles.
    if (!KopirujText(m_szKodMaterial, VELIKOST_KODU, src.m_szKodMaterial) ||
        !KopirujText(m_szKodMontaz, VELIKOST_KODU, src.m_szKodMontaz))
        VOX_THROW("Chyba při kopírování řetězce");
    UpdatePopis();
}

CVoxProfil::~CVoxProfil() {
    m_Odkazy.Vynuluj(this);
}

void CVoxProfil::SetModified() {
    if (m_pMaterial)
        m_pMaterial->SetModified();
}

void CVoxProfil::SetOuter(int nVnejsi) {
    m_nVnejsi = nVnejsi;
    m_fVnitrni = static_cast<float>(m_nVnejsi) - 2.0f * m_fTloustka;
    UpdatePopis();
    SetModified();
}

void CVoxProfil::SetWall(float fTloustka) {
    m_fTloustka = fTloustka;
    SetOuter(m_nVnejsi);
    SetModified();
}

void CVoxProfil::SetInner(float fVnitrni) {
    m_fVnitrni = fVnitrni;
    m_fTloustka = (static_cast<float>(m_nVnejsi) - m_fVnitrni) / 2.0f;
    UpdatePopis();
    SetModified();
}

bool CVoxProfil::SetDN(int iDN, bool bPrepocitat) {
    if (iDN == m_iDN || iDN < 0 || iDN >= POCET_DN)
        return false;
    if (m_pMaterial) {
        if (!m_pMaterial->PrevedProfil(this, iDN))
            return false;
    } else {
        m_iDN = iDN;
    }
    if (bPrepocitat) {
        m_nVnejsi = static_cast<int>(g_aTabulkaDN[m_iDN].fDN + 2.0f * m_fTloustka);
        m_fVnitrni = static_cast<float>(m_nVnejsi) - 2.0f * m_fTloustka;
    }
    UpdatePopis();
    return true;
}

void CVoxProfil::SetKodMaterial(const wchar_t* sKod) {
    if (!sKod || std::wcslen(sKod) > static_cast<size_t>(KOD_ZAPIS) ||
        !KopirujText(m_szKodMaterial, VELIKOST_KODU, sKod))
        VOX_THROW("Chyba kopírování řetězce");
    SetModified();
}

void CVoxProfil::SetKodMontaz(const wchar_t* sKod) {
    if (!sKod || std::wcslen(sKod) > static_cast<size_t>(KOD_ZAPIS) ||
        !KopirujText(m_szKodMontaz, VELIKOST_KODU, sKod))
        VOX_THROW("Chyba kopírování řetězce");
    SetModified();
}

void CVoxProfil::SetSirka(UINT nSirka) {
    m_nSirka = nSirka;
    SetModified();
}

void CVoxProfil::UpdatePopis() {
    const UINT nTyp = m_pMaterial ? m_pMaterial->GetTypPopisu() : POPIS_DXT;
    int n1 = 0;
    int n2 = 0;
    if (nTyp == POPIS_DN) {
        if (m_iDN < 0 || m_iDN >= POCET_DN)
            VOX_THROW("Nepodařilo se vytvořit popis");
        const double dDN = g_aTabulkaDN[m_iDN].fDN;
        n1 = swprintf_s(m_szPopis, VELIKOST_POPISU, L"DN %0.0f", dDN);
        n2 = swprintf_s(m_szPopisKratky, VELIKOST_KRATKEHO, L"%0.f", dDN);
    } else {
        n2 = swprintf_s(m_szPopisKratky, VELIKOST_KRATKEHO, L"d%i", m_nVnejsi);
        if (nTyp == POPIS_JINY) {
            if (m_pMaterial->GetVnitrni())
                n1 =
                    swprintf_s(m_szPopis, VELIKOST_POPISU, L"%ls%0.0f%ls", m_pMaterial->GetPrefix(),
                               static_cast<double>(m_fVnitrni), m_pMaterial->GetSuffix());
            else
                n1 = swprintf_s(m_szPopis, VELIKOST_POPISU, L"%ls%i%ls", m_pMaterial->GetPrefix(),
                                m_nVnejsi, m_pMaterial->GetSuffix());
        } else {
            n1 = swprintf_s(m_szPopis, VELIKOST_POPISU, L"%ix%.1f", m_nVnejsi,
                            static_cast<double>(m_fTloustka));
        }
    }
    if (n1 <= 0 || n2 <= 0)
        VOX_THROW("Nepodařilo se vytvořit popis");
    SetModified();
}

bool CVoxProfil::operator==(const CVoxProfil& p) const {
    return m_iDN == p.m_iDN && m_nVnejsi == p.m_nVnejsi &&
           std::fabs(m_fVnitrni - p.m_fVnitrni) < 0.001f &&
           std::fabs(m_fTloustka - p.m_fTloustka) < 0.0001f &&
           std::wcscmp(m_szKodMaterial, p.m_szKodMaterial) == 0;
}

void CVoxProfil::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << VERZE_PROFILU;
        ar << static_cast<short>(m_iDN);
        ar << m_fVnitrni << m_fTloustka;
        ar << static_cast<LONG>(m_nVnejsi);
        ar << static_cast<DWORD>(m_nSirka);
        ZapisText(ar, m_szKodMaterial, KOD_ZAPIS);
        ZapisText(ar, m_szKodMontaz, KOD_ZAPIS);
        return;
    }
    BYTE nVerze = 0;
    ar >> nVerze;
    if (nVerze == KONEC) {
        m_iDN = -1;
        return;
    }
    if (nVerze >= NEPODPOROVANA_VERZE)
        VOX_THROW(VYSSI_VERZE);
    m_iDN = CtiInt16(ar);
    if (nVerze <= 2 && m_iDN >= DN_VLOZENY_RADEK)
        ++m_iDN;
    // A row outside the table cannot be inserted into a material.
    if (m_iDN < 0 || m_iDN >= POCET_DN)
        VOX_THROW("Nelze vložit nový profil");
    LONG nVnejsi = 0;
    ar >> m_fVnitrni >> m_fTloustka >> nVnejsi;
    m_nVnejsi = nVnejsi;
    m_nSirka = 0;
    if (nVerze >= 5) {
        DWORD nSirka = 0;
        ar >> nSirka;
        m_nSirka = nSirka;
    }
    if (nVerze <= 3)
        CtiStaryText(ar, m_szKodMaterial, VELIKOST_KODU, KOD_CTENI);
    else
        CtiText(ar, m_szKodMaterial, VELIKOST_KODU, KOD_CTENI);
    m_szKodMontaz[0] = L'\0';
    if (nVerze >= 5)
        CtiText(ar, m_szKodMontaz, VELIKOST_KODU, KOD_CTENI);
    // The label that older versions stored is derived now.
    wchar_t szStary[VELIKOST_POPISU + 1];
    if (nVerze <= 1)
        CtiStaryText(ar, szStary, VELIKOST_POPISU + 1, 10);
    else if (nVerze <= 3)
        CtiStaryText(ar, szStary, VELIKOST_POPISU + 1, 14);
    else if (nVerze <= 5)
        CtiText(ar, szStary, VELIKOST_POPISU + 1, 14);
    UpdatePopis();
}

// --- Material -----------------------------------------------------------------------------------

CVoxMaterial::CVoxMaterial() = default;

CVoxMaterial::CVoxMaterial(CVoxSezMaterialu* pSeznam, const wchar_t* sNazev, UINT nOblast,
                           UINT nMedium, UINT nTypPopisu, float fDrsnost,
                           const wchar_t* sPodrobnyPopis, const wchar_t* sVyrobce)
    : m_nTypPopisu(nTypPopisu), m_strNazev(sNazev), m_strPopis(sNazev),
      m_strPodrobnyPopis(sPodrobnyPopis), m_strVyrobce(sVyrobce), m_fDrsnost(fDrsnost),
      m_nOblast(nOblast ? nOblast : OBLAST_VSE), m_nMedium(nMedium ? nMedium : MEDIUM_VSE),
      m_pSeznam(pSeznam) {}

CVoxMaterial::CVoxMaterial(const CVoxMaterial& src, CVoxSezMaterialu* pSeznam)
    : m_nIndex(src.m_nIndex), m_nTypPopisu(src.m_nTypPopisu), m_bVnitrni(src.m_bVnitrni),
      m_strNazev(src.m_strNazev), m_strPopis(src.m_strPopis),
      m_strPodrobnyPopis(src.m_strPodrobnyPopis), m_strVyrobce(src.m_strVyrobce),
      m_fDrsnost(src.m_fDrsnost), m_nOblast(src.m_nOblast), m_nMedium(src.m_nMedium),
      m_pSeznam(pSeznam), m_iPN(src.m_iPN), m_iSDr(src.m_iSDr), m_nTvar(src.m_nTvar),
      m_Odkazy(src.m_Odkazy) {
    if (!KopirujText(m_szPrefix, VELIKOST_PREFIXU, src.m_szPrefix) ||
        !KopirujText(m_szSuffix, VELIKOST_PREFIXU, src.m_szSuffix))
        VOX_THROW("Chyba při kopírování řetězce v paměti");
    try {
        for (const auto& [iDN, pProfil] : src.m_mapProfily)
            m_mapProfily[iDN] = new CVoxProfil(*pProfil, this);
    } catch (...) {
        for (auto& [iDN, pProfil] : m_mapProfily) {
            pProfil->m_Odkazy.Vyprazdni();
            delete pProfil;
        }
        m_mapProfily.clear();
        throw;
    }
}

CVoxMaterial::~CVoxMaterial() {
    m_pSeznam = nullptr; // deleting the profiles changes nothing that is saved
    for (auto& [iDN, pProfil] : m_mapProfily) {
        pProfil->m_pMaterial = nullptr;
        delete pProfil;
    }
    m_mapProfily.clear();
    m_Odkazy.Vynuluj(this);
}

void CVoxMaterial::SetModified() {
    if (m_pSeznam)
        m_pSeznam->SetModified(true);
}

CVoxProfil* CVoxMaterial::Profil(int iDN) const {
    auto it = m_mapProfily.find(iDN);
    return it == m_mapProfily.end() ? nullptr : it->second;
}

bool CVoxMaterial::PrevedProfil(CVoxProfil* pProfil, int iNoveDN) {
    if (m_mapProfily.count(iNoveDN))
        return false;
    auto it = m_mapProfily.find(pProfil->m_iDN);
    if (it == m_mapProfily.end() || it->second != pProfil)
        return false;
    m_mapProfily.erase(it);
    pProfil->m_iDN = iNoveDN;
    m_mapProfily[iNoveDN] = pProfil;
    SetModified();
    return true;
}

bool CVoxMaterial::PridejProfil(int iDN, CVoxProfil** ppProfil) {
    if (ppProfil)
        *ppProfil = nullptr;
    if (iDN < 0 || iDN >= POCET_DN || m_mapProfily.count(iDN))
        return false;
    auto pNovy = std::make_unique<CVoxProfil>(this, iDN);
    CVoxProfil* p = pNovy.get();
    m_mapProfily[iDN] = pNovy.release();
    const float fStena = iDN < DN_SILNA_STENA ? 3.0f : 5.0f;
    const VoxRadekDN& radek = g_aTabulkaDN[iDN];
    if (m_nTypPopisu != POPIS_DN) {
        p->SetOuter(radek.nD);
        if (m_iSDr > 0 && m_iSDr < POCET_SDR)
            p->SetWall(static_cast<float>(radek.nD) / g_aTabulkaSDr[m_iSDr].fSDr);
        else
            p->SetWall(fStena);
    } else {
        // A profile labelled by DN: the inner diameter is the DN, the outer one DN + 2t.
        p->SetWall(fStena);
        p->SetOuter(static_cast<int>(radek.fDN + 2.0f * fStena));
        p->SetInner(radek.fDN);
        p->UpdatePopis();
    }
    SetModified();
    if (ppProfil)
        *ppProfil = p;
    return true;
}

void CVoxMaterial::SmazProfily() {
    for (auto& [iDN, pProfil] : m_mapProfily) {
        pProfil->m_pMaterial = nullptr;
        delete pProfil;
    }
    m_mapProfily.clear();
    SetModified();
}

void CVoxMaterial::GenerujProfily(int iOd, int iDo) {
    SmazProfily();
    for (int i = iOd; i <= iDo; ++i)
        if (!PridejProfil(i))
            VOX_THROW("Nelze přidat profil");
}

int CVoxMaterial::DalsiVolneDN(int iDN) const {
    for (int i = iDN < 0 ? 0 : iDN; i < POCET_DN; ++i)
        if (!m_mapProfily.count(i))
            return i;
    return -1;
}

CVoxProfil* CVoxMaterial::NajdiProfil(double dPrumer) const {
    if (m_mapProfily.empty())
        return nullptr;
    const bool bVnejsi = m_nTypPopisu != POPIS_DN;
    auto hodnota = [bVnejsi](const CVoxProfil* p) {
        return bVnejsi ? static_cast<double>(p->m_nVnejsi) : static_cast<double>(p->m_fVnitrni);
    };
    auto it = m_mapProfily.begin();
    if (dPrumer <= hodnota(it->second))
        return it->second;
    for (; it != m_mapProfily.end(); ++it) {
        const CVoxProfil* p = it->second;
        if (hodnota(p) >= dPrumer)
            return it->second;
        auto dalsi = std::next(it);
        if (dalsi == m_mapProfily.end())
            return it->second;
        const CVoxProfil* q = dalsi->second;
        double dStred;
        if (bVnejsi)
            dStred = static_cast<double>((p->m_nVnejsi + q->m_nVnejsi) / 2);
        else
            dStred = (p->m_fVnitrni + q->m_fVnitrni) / 2.0f; // in single precision
        if (dStred >= dPrumer)
            return it->second;
    }
    return std::prev(m_mapProfily.end())->second;
}

bool CVoxMaterial::Prejmenuj(const wchar_t* sNazev) {
    CString sNovy(sNazev);
    if (sNovy.GetLength() > MAX_NAZEV)
        VOX_THROW("Příliš dlouhý název");
    if (m_pSeznam)
        return m_pSeznam->Prejmenuj(this, sNovy);
    m_strNazev = sNovy;
    return true;
}

void CVoxMaterial::Nastav(const CVoxMaterialData& data) {
    if (data.m_strNazev != m_strNazev)
        VOX_THROW("Jméno materiálu v předané struktuře nesouhlasí");
    if (data.m_strVyrobce.GetLength() >= MAX_VYROBCE + 1)
        VOX_THROW("Příliš dlouhý výrobce");
    if (data.m_iPN == -1 || data.m_iSDr == -1)
        VOX_THROW("SDR nebo PN nenalezeno v seznamu ");
    const double dDrsnost =
        data.m_dDrsnost == -1000.0 ? CtiCislo(data.m_strDrsnost) : data.m_dDrsnost;
    if (data.m_strPrefix.GetLength() >= VELIKOST_PREFIXU ||
        data.m_strSuffix.GetLength() >= VELIKOST_PREFIXU)
        VOX_THROW("Chyba při kopírování řetězce v paměti");

    m_fDrsnost = static_cast<float>(dDrsnost);
    m_strPopis = data.m_strPopis;
    m_strVyrobce = data.m_strVyrobce;
    m_strPodrobnyPopis = data.m_strPodrobnyPopis;
    m_iPN = data.m_iPN;
    m_iSDr = data.m_iSDr;
    m_nTvar = data.m_nTvar;
    m_nOblast = data.m_nOblast;
    m_nMedium = data.m_nMedium;
    if (data.m_nTypPopisu == m_nTypPopisu && data.m_bVnitrni == m_bVnitrni &&
        data.m_strPrefix == m_szPrefix && data.m_strSuffix == m_szSuffix) {
        SetModified();
        return;
    }
    m_nTypPopisu = data.m_nTypPopisu;
    m_bVnitrni = data.m_bVnitrni;
    KopirujText(m_szPrefix, VELIKOST_PREFIXU, data.m_strPrefix);
    KopirujText(m_szSuffix, VELIKOST_PREFIXU, data.m_strSuffix);
    UpdatePopisy();
    SetModified();
}

void CVoxMaterial::Data(CVoxMaterialData& data) const {
    data.m_strNazev = m_strNazev;
    data.m_strVyrobce = m_strVyrobce;
    data.m_strPodrobnyPopis = m_strPodrobnyPopis;
    data.m_iPN = m_iPN;
    data.m_iSDr = m_iSDr;
    data.m_dDrsnost = m_fDrsnost;
    data.m_strDrsnost.Format(L"%.5f", static_cast<double>(m_fDrsnost));
    data.m_nOblast = m_nOblast;
    data.m_nMedium = m_nMedium;
    data.m_nTypPopisu = m_nTypPopisu;
    data.m_nTvar = m_nTvar;
    data.m_strPrefix = m_szPrefix;
    data.m_strSuffix = m_szSuffix;
    data.m_bVnitrni = m_bVnitrni;
    data.m_strPopis = m_strPopis;
}

void CVoxMaterial::UpdatePopisy() {
    for (auto& [iDN, pProfil] : m_mapProfily)
        pProfil->UpdatePopis();
}

bool CVoxMaterial::SmazProfil(CVoxProfil* pProfil) {
    if (!pProfil || pProfil->m_pMaterial != this)
        return false;
    if (pProfil->JePouzivan()) {
        MessageBoxW(adsw_acadMainWnd(), L"Profil je používán, nelze jej vymazat",
                    L"Kresbon pro AutoCad", MB_OK | MB_ICONWARNING);
        return false;
    }
    auto it = m_mapProfily.find(pProfil->m_iDN);
    if (it == m_mapProfily.end() || it->second != pProfil)
        return false;
    m_mapProfily.erase(it);
    pProfil->m_pMaterial = nullptr;
    delete pProfil;
    SetModified();
    return true;
}

void CVoxMaterial::ZahrnProfily(const CVoxMaterial& jiny) {
    for (const auto& [iDN, pProfil] : jiny.m_mapProfily) {
        if (m_mapProfily.count(iDN))
            continue;
        auto pKopie = std::make_unique<CVoxProfil>(*pProfil, this);
        if (!m_mapProfily.emplace(iDN, pKopie.get()).second)
            VOX_THROW("Nelze vložit profil");
        pKopie.release();
        SetModified();
    }
}

void CVoxMaterial::PrevezmiDrzitele(CVoxMaterial& jiny) {
    for (CVoxMaterial** pp : jiny.m_Odkazy.Seznam())
        if (std::find(m_Odkazy.Seznam().begin(), m_Odkazy.Seznam().end(), pp) ==
            m_Odkazy.Seznam().end())
            m_Odkazy.Pridej(pp);
    jiny.m_Odkazy.Vyprazdni();
    m_Odkazy.Presmeruj(this);
}

bool CVoxMaterial::Stejny(const CVoxMaterial& jiny, bool bJenPouzite) const {
    if (m_strNazev != jiny.m_strNazev || m_strPodrobnyPopis != jiny.m_strPodrobnyPopis ||
        m_strVyrobce != jiny.m_strVyrobce)
        return false;
    if (bJenPouzite) {
        // Every profile of the other (read) material has an equal one here.
        for (const auto& [iDN, pProfil] : jiny.m_mapProfily) {
            const CVoxProfil* p = Profil(iDN);
            if (!p || *p != *pProfil)
                return false;
        }
        return true;
    }
    if (m_strPopis != jiny.m_strPopis || m_mapProfily.size() != jiny.m_mapProfily.size())
        return false;
    for (auto a = m_mapProfily.begin(), b = jiny.m_mapProfily.begin(); a != m_mapProfily.end();
         ++a, ++b)
        if (*a->second != *b->second)
            return false;
    return true;
}

// --- Material records of the catalogue files -----------------------------------------------------

void CVoxMaterial::Serialize(CArchive& ar, bool bJenPouzite) {
    if (ar.IsStoring())
        SerializeUloz(ar, bJenPouzite);
    else
        SerializeNacti(ar);
}

void CVoxMaterial::SerializeUloz(CArchive& ar, bool bJenPouzite) {
    ar << VERZE_MATERIALU;
    ar << static_cast<BYTE>(m_nTypPopisu);
    ar << m_bVnitrni;
    ZapisText(ar, m_szPrefix, VELIKOST_PREFIXU - 1);
    ZapisText(ar, m_szSuffix, VELIKOST_PREFIXU - 1);
    ar << m_strNazev << m_strPodrobnyPopis << m_strVyrobce;
    ar << m_fDrsnost;
    ar << static_cast<short>(m_nMedium) << static_cast<short>(m_nOblast);
    ar << static_cast<short>(m_iPN) << static_cast<short>(m_iSDr);
    ar << static_cast<BYTE>(m_nTvar);
    for (auto& [iDN, pProfil] : m_mapProfily)
        if (!bJenPouzite || pProfil->JePouzivan())
            pProfil->Serialize(ar);
    ar << KONEC;
}

void CVoxMaterial::SerializeNacti(CArchive& ar) {
    BYTE nVerze = 0;
    ar >> nVerze;
    if (nVerze == KONEC) {
        m_nIndex = -1;
        return;
    }
    if (nVerze >= NEPODPOROVANA_VERZE)
        VOX_THROW(VYSSI_VERZE);
    if (nVerze <= 2) {
        bool bDN = false;
        ar >> bDN;
        m_nTypPopisu = bDN ? POPIS_DN : POPIS_DXT;
        m_bVnitrni = false;
        m_szPrefix[0] = m_szSuffix[0] = L'\0';
    } else {
        BYTE nTyp = 0;
        ar >> nTyp >> m_bVnitrni;
        m_nTypPopisu = nTyp;
        if (nVerze == 3) {
            CtiStaryText(ar, m_szPrefix, VELIKOST_PREFIXU, VELIKOST_PREFIXU - 1);
            CtiStaryText(ar, m_szSuffix, VELIKOST_PREFIXU, VELIKOST_PREFIXU - 1);
        } else {
            CtiText(ar, m_szPrefix, VELIKOST_PREFIXU, VELIKOST_PREFIXU - 1);
            CtiText(ar, m_szSuffix, VELIKOST_PREFIXU, VELIKOST_PREFIXU - 1);
        }
    }
    ar >> m_strNazev >> m_strPodrobnyPopis >> m_strVyrobce;
    ar >> m_fDrsnost;
    const short nMedium = CtiInt16(ar);
    const short nOblast = CtiInt16(ar);
    m_nMedium = nMedium == 0 ? MEDIUM_VSE : static_cast<UINT>(static_cast<int>(nMedium));
    m_nOblast = nOblast == 0 ? OBLAST_VSE : static_cast<UINT>(static_cast<int>(nOblast));
    m_iPN = CtiInt16(ar);
    m_iSDr = CtiInt16(ar);
    m_nTvar = 0;
    if (nVerze >= 5) {
        BYTE nTvar = 0;
        ar >> nTvar;
        m_nTvar = nTvar;
    }

    // Profiles: counted in versions 0 and 1, ended by a marker from version 2 on.
    ULONGLONG nPocet = ~0ULL;
    if (nVerze <= 1)
        ar >> nPocet;
    for (ULONGLONG i = 0; i < nPocet; ++i) {
        auto pProfil = std::make_unique<CVoxProfil>();
        pProfil->m_pMaterial = this;
        pProfil->Serialize(ar);
        if (pProfil->m_iDN == -1)
            break;
        if (!m_mapProfily.emplace(pProfil->m_iDN, pProfil.get()).second)
            VOX_THROW("Nelze vložit nový profil");
        pProfil.release();
    }
    if (nVerze == 6)
        ar >> m_strPopis;
    else
        m_strPopis = m_strNazev;
}
