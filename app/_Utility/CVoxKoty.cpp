#include "StdAfx.h"

#include "CVoxKoty.h"

#include "CVoxAnno.h"
#include "CVoxException.h"
#include "CVoxRegistry.h"
#include "CVoxXRecord.h"
#include "VoxDb.h"
#include "VoxHladiny.h"
#include "VoxStyly.h"

#include <cmath>
#include <cwctype>
#include <string>

namespace {

const ACHAR* const TITULEK = L"Kresbon pro AutoCad";
const ACHAR* const ESC_KONEC = L"\nESC - konec...";
const ACHAR* const ZADEJ_TEXT = L"\nZadej text kóty: ";
// A side point closer to the pipe than this (in millimetres) gives no side.
constexpr double TOLERANCE_STRANY_MM = 20.0;

std::unique_ptr<CVoxKoty> g_pKoty;

AcDbDatabase* Vykres() {
    return acdbHostApplicationServices()->workingDatabase();
}

// Drawing units per paper unit of the current annotation scale on the model tab; 1 on a layout.
double Meritko() {
    try {
        if (CtiSysPromInt(L"TILEMODE") != 1)
            return 1.0;
        const double dMeritko = CVoxAnno::AktualniMeritko(Vykres());
        if (dMeritko > 0.0 && std::isfinite(dMeritko))
            return 1.0 / dMeritko;
    } catch (const CVoxException&) {
    }
    VOX_THROW("Nelze získat měřítko z výkresu");
}

double ToleranceStrany() {
    double dPrevod = 1.0;
    if (acdbGetUnitsConversion(AcDb::kUnitsMillimeters, Vykres()->insunits(), dPrevod) != Acad::eOk)
        dPrevod = 1.0;
    return TOLERANCE_STRANY_MM * dPrevod;
}

void KoncoveBody(const AcDbObjectId& id, const char* sChyba, AcGePoint3d& zacatek,
                 AcGePoint3d& konec) {
    AcDbLine* pCara = nullptr;
    Acad::ErrorStatus es = acdbOpenObject(pCara, id, AcDb::kForRead);
    if (es != Acad::eOk)
        VOX_THROW_ERR(sChyba, es);
    zacatek = pCara->startPoint();
    konec = pCara->endPoint();
    pCara->close();
}

// The foot of the perpendicular from the point onto the line through the two points.
AcGePoint3d Pata(const AcGePoint3d& bod, const AcGePoint3d& zacatek, const AcGePoint3d& konec) {
    const AcGeVector3d v = konec - zacatek;
    const double dDelka2 = v.lengthSqrd();
    if (!(dDelka2 > 1e-24))
        VOX_THROW("Nelze najít patu kolmice...");
    return zacatek + v * ((bod - zacatek).dotProduct(v) / dDelka2);
}

AcGeVector3d UcsVektor(double x, double y, double z) {
    AcGePoint3d p = UcsNaWcs(AcGePoint3d(x, y, z), 1);
    return AcGeVector3d(p.x, p.y, p.z);
}

// The X axis of an entity's plane (the arbitrary axis rule of the host).
AcGeVector3d OsaX(const AcGeVector3d& normala) {
    const AcGeVector3d n = normala.normal();
    AcGeVector3d x = (std::fabs(n.x) < 1.0 / 64.0 && std::fabs(n.y) < 1.0 / 64.0)
                         ? AcGeVector3d::kYAxis.crossProduct(n)
                         : AcGeVector3d::kZAxis.crossProduct(n);
    return x.normal();
}

bool JenCislice(const CString& s) {
    if (s.IsEmpty())
        return false;
    for (int i = 0; i < s.GetLength(); ++i)
        if (s[i] < L'0' || s[i] > L'9')
            return false;
    return true;
}

} // namespace

// --- The context --------------------------------------------------------------------------------

CVoxKoty& CVoxKoty::Instance() {
    if (!g_pKoty)
        g_pKoty = std::make_unique<CVoxKoty>();
    return *g_pKoty;
}

void CVoxKoty::Zrus() {
    g_pKoty.reset();
}

CVoxKoty::~CVoxKoty() {
    NastavCurMat(nullptr);
    delete m_pSeznam;
    m_pSeznam = nullptr;
}

CVoxSezMaterialu* CVoxKoty::Seznam() {
    if (!m_pSeznam) {
        m_pSeznam = new CVoxSezMaterialu;
        m_pSeznam->Nacti(false);
    }
    return m_pSeznam;
}

void CVoxKoty::NastavCurMat(CVoxMaterial* pMaterial) {
    if (m_pCurMat == pMaterial)
        return;
    if (m_pCurMat)
        m_pCurMat->OdeberOdkaz(&m_pCurMat);
    m_pCurMat = pMaterial;
    if (m_pCurMat) {
        m_pCurMat->PridejOdkaz(&m_pCurMat);
        m_strCurMat = m_pCurMat->GetNazev();
    }
}

CVoxMaterial* CVoxKoty::GetCurMat() {
    CVoxSezMaterialu* pSeznam = Seznam();
    ACHAR* sGuid = nullptr;
    CString strGuid;
    if (Vykres()->getFingerprintGuid(sGuid) == Acad::eOk && sGuid) {
        strGuid = sGuid;
        acutDelString(sGuid);
    }
    if (strGuid == m_strGuid && m_pCurMat)
        return m_pCurMat;
    m_strGuid = strGuid;

    CString sNazev;
    std::wstring sRegistr;
    if (!CVoxXRecord::CtiString(L"CurMat", sNazev, KOTY_SKUPINA) || sNazev.IsEmpty()) {
        if (CVoxRegistry::CtiRetezec(REG_KLIC_PRODUKT, L"CurMat", sRegistr,
                                     REG_PODKLIC_NASTAVENI) &&
            !sRegistr.empty())
            sNazev = sRegistr.c_str();
        else
            sNazev = KOTY_VYCHOZI_MATERIAL;
    }

    if (pSeznam->NicNevyhovuje(OBLAST_ZTI, MEDIUM_VSE)) {
        CString sZprava;
        sZprava.Format(L"V databázi materiálů nejsou žádné materiály pro ZTI\nbude přidán "
                       L"předdefinovaný materiál %ls\npro nastavení spusťte dialog materiálů v "
                       L"nastavení Utilit",
                       sNazev.GetString());
        MessageBoxW(nullptr, sZprava, TITULEK, MB_OK | MB_ICONERROR);
        return VytvorVychozi(sNazev);
    }
    CVoxMaterial* pMaterial = nullptr;
    if (pSeznam->Najdi(sNazev, &pMaterial)) {
        NastavCurMat(pMaterial);
        return m_pCurMat;
    }
    CString sZprava;
    sZprava.Format(L"V databázi materiálů nebyl nalezen defaultní materiál \n%ls.....vybrat "
                   L"jiný?\n\n(v opačném případě bude vytvořen se standardními parametry)",
                   sNazev.GetString());
    if (MessageBoxW(nullptr, sZprava, TITULEK, MB_YESNO | MB_ICONERROR) == IDYES) {
        CVoxMaterial* pVybrany = nullptr;
        if (VyberMaterialDialogem(pSeznam, OBLAST_ZTI, MEDIUM_VSE, false, &pVybrany, nullptr) &&
            pVybrany) {
            NastavCurMat(pVybrany);
            UlozCurMat(pVybrany);
            return m_pCurMat;
        }
    }
    return VytvorVychozi(sNazev);
}

CVoxMaterial* CVoxKoty::VytvorVychozi(const CString& sNazev) {
    CVoxSezMaterialu* pSeznam = Seznam();
    // A material of that name that is there already (made for other uses) serves as it is.
    CVoxMaterial* pMaterial = nullptr;
    if (pSeznam->Najdi(sNazev, &pMaterial)) {
        NastavCurMat(pMaterial);
        return m_pCurMat;
    }

    double dDrsnost = 0.0;
    int nPN = 0;
    int nSDr = 0;
    int nTyp = 0;
    bool bMa = CVoxXRecord::CtiReal(L"CurMatDrsnost", dDrsnost, KOTY_SKUPINA) &&
               CVoxXRecord::CtiInt(L"CurMatPN", nPN, KOTY_SKUPINA) &&
               CVoxXRecord::CtiInt(L"CurMatSDR", nSDr, KOTY_SKUPINA) &&
               CVoxXRecord::CtiInt(L"CurMatPop", nTyp, KOTY_SKUPINA);
    if (!bMa) {
        DWORD n1 = 0;
        DWORD n2 = 0;
        DWORD n3 = 0;
        bMa = CVoxRegistry::CtiDouble(REG_KLIC_PRODUKT, L"CurMatDrsnost", dDrsnost,
                                      REG_PODKLIC_NASTAVENI) &&
              CVoxRegistry::CtiDword(REG_KLIC_PRODUKT, L"CurMatPN", n1, REG_PODKLIC_NASTAVENI) &&
              CVoxRegistry::CtiDword(REG_KLIC_PRODUKT, L"CurMatSDR", n2, REG_PODKLIC_NASTAVENI) &&
              CVoxRegistry::CtiDword(REG_KLIC_PRODUKT, L"CurMatPop", n3, REG_PODKLIC_NASTAVENI);
        nPN = static_cast<int>(n1);
        nSDr = static_cast<int>(n2);
        nTyp = static_cast<int>(n3);
    }
    // Values outside the tables fall back as missing ones do.
    if (!bMa || nPN < 0 || nPN >= POCET_PN || nSDr < 0 || nSDr >= POCET_SDR || nTyp < 0 ||
        nTyp > static_cast<int>(POPIS_JINY) || !(dDrsnost > 0.0)) {
        dDrsnost = 0.01;
        nPN = 3;
        nSDr = 2;
        nTyp = POPIS_DXT;
    }
    CVoxXRecord::ZapisReal(L"CurMatDrsnost", dDrsnost, KOTY_SKUPINA);
    CVoxXRecord::ZapisInt(L"CurMatPN", nPN, KOTY_SKUPINA);
    CVoxXRecord::ZapisInt(L"CurMatSDR", nSDr, KOTY_SKUPINA);
    CVoxXRecord::ZapisInt(L"CurMatPop", nTyp, KOTY_SKUPINA);

    auto pNovy = std::make_unique<CVoxMaterial>(pSeznam, sNazev, OBLAST_ZTI, MEDIUM_VSE,
                                                static_cast<UINT>(nTyp),
                                                static_cast<float>(dDrsnost), L"", L"");
    CVoxMaterialData data;
    pNovy->Data(data);
    data.m_iPN = nPN;
    data.m_iSDr = nSDr;
    pNovy->Nastav(data);
    if (!pSeznam->Pridej(pNovy.get()))
        VOX_THROW("Nelze vložit materiál");
    pMaterial = pNovy.release();
    pMaterial->GenerujProfily(1, 11);
    pSeznam->Uloz();
    NastavCurMat(pMaterial);
    return m_pCurMat;
}

void CVoxKoty::VyberMaterial() {
    CVoxMaterial* pVybrany = nullptr;
    if (!VyberMaterialDialogem(Seznam(), OBLAST_ZTI, MEDIUM_VSE, false, &pVybrany, nullptr) ||
        !pVybrany)
        return;
    NastavCurMat(pVybrany);
    UlozCurMat(pVybrany);
}

void CVoxKoty::UlozCurMat(CVoxMaterial* pMaterial) {
    if (!pMaterial)
        return;
    CVoxXRecord::ZapisString(L"CurMat", pMaterial->GetNazev(), KOTY_SKUPINA);
    CVoxXRecord::ZapisReal(L"CurMatDrsnost", pMaterial->GetDrsnost(), KOTY_SKUPINA);
    CVoxXRecord::ZapisInt(L"CurMatPN", pMaterial->GetPN(), KOTY_SKUPINA);
    CVoxXRecord::ZapisInt(L"CurMatSDR", pMaterial->GetSDr(), KOTY_SKUPINA);
    CVoxXRecord::ZapisInt(L"CurMatPop", static_cast<int>(pMaterial->GetTypPopisu()), KOTY_SKUPINA);
}

// --- Prompts ------------------------------------------------------------------------------------

bool CVoxKoty::VyberTrubku(const ACHAR* sVyzva, const AcGePoint3d* pZaklad, AcDbObjectId& idTrubky,
                           AcGePoint3d& bod) {
    for (;;) {
        CVoxMaterial* pMaterial = GetCurMat();
        CString sText(sVyzva);
        sText += L" [Materiál], (";
        sText += pMaterial ? pMaterial->GetNazev().GetString() : L"";
        sText += L") <Materiál>: ";
        acedInitGet(RSG_2D, L"Materiál");
        ads_point pt;
        ads_point zaklad;
        int nVysledek;
        if (pZaklad) {
            zaklad[X] = pZaklad->x;
            zaklad[Y] = pZaklad->y;
            zaklad[Z] = pZaklad->z;
            nVysledek = acedGetPoint(zaklad, sText, pt);
        } else {
            nVysledek = acedGetPoint(nullptr, sText, pt);
        }
        if (nVysledek == RTNORM) {
            resbuf* pFiltr = acutBuildList(RTDXF0, L"LINE", RTNONE);
            ads_name ss;
            const int nVyber = acedSSGet(nullptr, pt, nullptr, pFiltr, ss);
            acutRelRb(pFiltr);
            if (nVyber == RTNORM) {
                ads_name en;
                const bool bMa =
                    acedSSName(ss, 0, en) == RTNORM && acdbGetObjectId(idTrubky, en) == Acad::eOk;
                acedSSFree(ss);
                if (bMa) {
                    bod.set(pt[X], pt[Y], pt[Z]);
                    return true;
                }
            }
            acutPrintf(L"\nJe třeba zadat bod na úsečce (trubce)!!!");
            continue;
        }
        if (nVysledek == RTNONE || nVysledek == RTKWORD) {
            VyberMaterial();
            continue;
        }
        acutPrintf(ESC_KONEC);
        return false;
    }
}

bool CVoxKoty::TextKoty(CString& sText) {
    auto Rucne = [&sText]() {
        ACHAR sOdpoved[512] = {};
        if (acedGetString(1, ZADEJ_TEXT, sOdpoved) != RTNORM) {
            acutPrintf(ESC_KONEC);
            return false;
        }
        sText = sOdpoved;
        return true;
    };
    for (;;) {
        CVoxMaterial* pMaterial = GetCurMat();
        CString sVyzva(L"\nZadej vnitřní průměr trubky (přibližně), nebo zadej text, nebo "
                       L"[Materiál/zadej Ručně], (");
        sVyzva += pMaterial ? pMaterial->GetNazev().GetString() : L"";
        sVyzva += L") <Zadej Ručně>: ";
        acedInitGet(0, L"Materiál _ Ručně");
        ACHAR sOdpoved[512] = {};
        if (acedGetString(1, sVyzva, sOdpoved) != RTNORM) {
            acutPrintf(ESC_KONEC);
            return false;
        }
        CString sVstup(sOdpoved);
        if (sVstup.IsEmpty())
            return Rucne();
        AcString sVelka(sVstup.GetString());
        const CString sVelke(NaVelka(sVelka));
        if (sVelke == L"M" || sVelke == L"MATERIÁL") {
            VyberMaterial();
            continue;
        }
        if (sVelke == L"R" || sVelke.Find(L"RUČNĚ") >= 0)
            return Rucne();
        if (JenCislice(sVstup)) {
            const double dPrumer = _wtoi(sVstup);
            CVoxProfil* pProfil = pMaterial ? pMaterial->NajdiProfil(dPrumer) : nullptr;
            sText = pProfil ? pProfil->GetPopis() : L"0x0";
            return true;
        }
        sText = sVstup;
        return true;
    }
}

// --- The dimension ------------------------------------------------------------------------------

void CVoxKoty::VytvorKotu(const ACHAR* sStyl, const AcGePoint3d& bod1, const AcGePoint3d& bod2,
                          const AcGePoint3d& bodKoty, const CString& sText) {
    const AcDbObjectId idStyl = ZajistiKotStyl(sStyl);
    std::wstring sHladina = L"kóty";
    const AcDbObjectId idHladina = ZajistiHladinu(sHladina);
    if (idStyl.isNull() || idHladina.isNull())
        VOX_THROW("Nelze vytvořit hladinu kóty nebo styl kóty");

    auto* pKota = new AcDbAlignedDimension(bod1, bod2, bodKoty, sText, idStyl);
    pKota->setDatabaseDefaults(Vykres());
    pKota->setLayer(idHladina);
    AcDbBlockTableRecord* pProstor = nullptr;
    Acad::ErrorStatus es = acdbOpenObject(pProstor, Vykres()->currentSpaceId(), AcDb::kForWrite);
    if (es == Acad::eOk) {
        es = pProstor->appendAcDbEntity(pKota);
        pProstor->close();
    }
    if (es != Acad::eOk) {
        delete pKota;
        VOX_THROW_ERR("Nelze vytvořit kótu", es);
    }
    try {
        if (!CVoxAnno::NastavAnnotative(pKota, true))
            VOX_THROW("Objekt není možné nastavit jako annotative");
        pKota->setDimstyleData(idStyl);
        pKota->setTextPosition(bodKoty);
        // The text along the X axis of the current UCS.
        const AcGeVector3d ucsX = UcsVektor(1.0, 0.0, 0.0);
        const AcGeVector3d ucsZ = UcsVektor(0.0, 0.0, 1.0);
        pKota->setHorizontalRotation(ucsX.angleTo(OsaX(pKota->normal()), ucsZ));
    } catch (...) {
        pKota->erase();
        pKota->close();
        throw;
    }
    pKota->close();
}

void CVoxKoty::Ko() {
    CVoxKoty& k = Instance();
    const double a = 1.5 * Meritko();
    AcDbObjectId idTrubky;
    AcGePoint3d bodUcs;
    if (!k.VyberTrubku(L"Vyber trubku", nullptr, idTrubky, bodUcs))
        return;
    ads_point zaklad = {bodUcs.x, bodUcs.y, bodUcs.z};
    ads_point strana;
    if (acedGetPoint(zaklad, L"Ukaž stranu, na kterou otočit kótu: ", strana) != RTNORM)
        return;
    const AcGePoint3d bod = UcsNaWcs(bodUcs, 0);
    const AcGePoint3d bodStrany = UcsNaWcs(AcGePoint3d(strana[X], strana[Y], strana[Z]), 0);
    AcGePoint3d zacatek, konec;
    KoncoveBody(idTrubky, "Nelze otevřít úsečku - trubku1 pro čtení", zacatek, konec);
    const AcGePoint3d pata = Pata(bod, zacatek, konec);
    const AcGePoint3d pataStrany = Pata(bodStrany, zacatek, konec);
    if (bodStrany.distanceTo(pataStrany) <= ToleranceStrany()) {
        acutPrintf(L"Druhý bod leží na trubce - nelze určit stranu");
        return;
    }
    CString sText;
    if (!k.TextKoty(sText))
        return;
    const AcGeVector3d d = (bodStrany - pataStrany).normal();
    k.VytvorKotu(L"KV_VODA1", pata, pata + d * a, pata + d * (2.0 * a), sText);
}

void CVoxKoty::Kod() {
    CVoxKoty& k = Instance();
    const double a = 7.0 * Meritko();
    AcDbObjectId idTrubky1, idTrubky2;
    AcGePoint3d bod1Ucs, bod2Ucs;
    if (!k.VyberTrubku(L"\nVyber první trubku", nullptr, idTrubky1, bod1Ucs))
        return;
    if (!k.VyberTrubku(L"\nVyber druhou trubku", &bod1Ucs, idTrubky2, bod2Ucs))
        return;
    const AcGePoint3d bod1 = UcsNaWcs(bod1Ucs, 0);
    AcGePoint3d zacatek1, konec1, zacatek2, konec2;
    KoncoveBody(idTrubky1, "Nelze otevřít úsečku - trubku1 pro čtení", zacatek1, konec1);
    KoncoveBody(idTrubky2, "Nelze otevřít úsečku - trubku2 pro čtení", zacatek2, konec2);
    CString sText;
    if (!k.TextKoty(sText))
        return;
    const AcGePoint3d pata1 = Pata(bod1, zacatek1, konec1);
    const AcGePoint3d pata2 = Pata(bod1, zacatek2, konec2);
    // The same pipe twice (or two pipes on one line) gives no direction.
    if (pata1.distanceTo(pata2) <= ToleranceStrany()) {
        acutPrintf(L"Druhý bod leží na trubce - nelze určit stranu");
        return;
    }
    const AcGeVector3d d = (pata2 - pata1).normal();
    k.VytvorKotu(L"KV_VODA2", pata1, pata2, pata2 + d * a, L"2x " + sText);
}
