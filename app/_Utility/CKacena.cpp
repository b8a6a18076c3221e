#include "StdAfx.h"

#include "CKacena.h"

#include "CKvDlgNastaveniKaceny.h"
#include "CVoxException.h"
#include "CVoxFunkce.h"
#include "CVoxXRecord.h"
#include "VoxDb.h"
#include "VoxHladiny.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// The marker being dragged with its leader: the insertion point (UCS) and the drag's answer.
struct CTazeni {
    AcGePoint3d m_ptVlozeni;
};
CTazeni* g_pTazeni = nullptr;

// The drag shows the marker moved along the UCS X axis by the cursor's X minus the insertion
// point's X.
int TazeniKaceny(ads_point pt, ads_matrix mt) {
    if (!g_pTazeni)
        return RTNONE;
    const double dPosun = pt[X] - g_pTazeni->m_ptVlozeni.x;
    if (dPosun == 0.0)
        return RTNONE;
    const AcGePoint3d ptPosun = UcsNaWcs(AcGePoint3d(dPosun, 0.0, 0.0), 1);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            mt[i][j] = i == j ? 1.0 : 0.0;
    mt[0][3] = ptPosun.x;
    mt[1][3] = ptPosun.y;
    mt[2][3] = ptPosun.z;
    return RTNORM;
}

AcDbDatabase* PracovniDb() {
    return acdbHostApplicationServices()->workingDatabase();
}

int CtiInsunits() {
    return static_cast<int>(PracovniDb()->insunits());
}

// The angle of the UCS X axis in the world XY plane.
double UhelUcs() {
    const AcGePoint3d ptOsa = UcsNaWcs(AcGePoint3d(1.0, 0.0, 0.0), 1);
    return std::atan2(ptOsa.y, ptOsa.x);
}

AcGePoint3d NaUcs(const AcGePoint3d& ptWcs) {
    resbuf rbZ{}, rbDo{};
    rbZ.restype = RTSHORT;
    rbZ.resval.rint = 0;
    rbDo.restype = RTSHORT;
    rbDo.resval.rint = 1;
    ads_point ptVstup = {ptWcs.x, ptWcs.y, ptWcs.z};
    ads_point ptVystup = {0, 0, 0};
    acedTrans(ptVstup, &rbZ, &rbDo, 0, ptVystup);
    return AcGePoint3d(ptVystup[X], ptVystup[Y], ptVystup[Z]);
}

} // namespace

CKacena::CKacena() {
    Nacti();
}

CString CKacena::JmenoUcs() {
    AcDbDatabase* pDb = PracovniDb();
    const bool bModel = JeModelovyProstor();
    AcDbObjectId idUcs = bModel ? pDb->ucsname() : pDb->pucsname();
    if (!idUcs.isNull()) {
        AcDbUCSTableRecord* pUcs = nullptr;
        if (acdbOpenObject(pUcs, idUcs, AcDb::kForRead) == Acad::eOk) {
            const ACHAR* sJmeno = nullptr;
            pUcs->getName(sJmeno);
            CString s = sJmeno ? sJmeno : L"";
            pUcs->close();
            return s;
        }
    }
    const AcGePoint3d org = bModel ? pDb->ucsorg() : pDb->pucsorg();
    const AcGeVector3d x = bModel ? pDb->ucsxdir() : pDb->pucsxdir();
    const AcGeVector3d y = bModel ? pDb->ucsydir() : pDb->pucsydir();
    if (org == AcGePoint3d::kOrigin && x == AcGeVector3d::kXAxis && y == AcGeVector3d::kYAxis)
        return L"WCS";
    return L"";
}

void CKacena::Nacti() {
    const int nJednotky = CtiInsunits();
    m_nZnamenko = nJednotky == AcDb::kUnitsMillimeters ? 1 : 0;
    CVoxXRecord::CtiInt(L"ZNAMENKO", m_nZnamenko, KACENA_SKUPINA);
    m_nDesMist = nJednotky == AcDb::kUnitsMeters ? 2 : 3;
    CVoxXRecord::CtiInt(L"DESMIST", m_nDesMist, KACENA_SKUPINA);
    if (!CVoxXRecord::CtiReal(L"PREPOCET", m_dPrepocet, KACENA_SKUPINA)) {
        double dFaktor = 0.0;
        if (acdbGetUnitsConversion(AcDb::kUnitsMeters, static_cast<AcDb::UnitsValue>(nJednotky),
                                   dFaktor) != Acad::eOk ||
            dFaktor == 0.0)
            VOX_THROW("Nelze získat přepočet jednotek");
        m_dPrepocet = 1.0 / dFaktor;
    }
    CVoxXRecord::CtiString(L"POPISPOD", m_sPopisPod, KACENA_SKUPINA);
    CVoxXRecord::CtiInt(L"POPPODMULTILINE", m_bPtatSe, KACENA_SKUPINA);
    CVoxXRecord::CtiInt(L"POPPODPTATSE", m_bViceradkovy, KACENA_SKUPINA);
    CVoxXRecord::CtiReal(L"NULA_ABSOLUTNI", m_dNulaAbsolutni, KACENA_SKUPINA);
    CVoxXRecord::CtiBool(L"PRIDAT_ABSOLUTNI", m_bPridatAbsolutni, KACENA_SKUPINA);
    m_sUcs = JmenoUcs();
    AcGePoint3d ptBod(0.0, 0.0, 0.0);
    CVoxXRecord::CtiBod(m_sUcs + L"ZBOD", ptBod, KACENA_SKUPINA);
    m_ptZBod.set(ptBod.x, ptBod.y);
    m_dVyska = 0.0;
    CVoxXRecord::CtiReal(m_sUcs + L"VYSKA", m_dVyska, KACENA_SKUPINA);
    m_dVyska *= m_dPrepocet;
}

void CKacena::Uloz() {
    // A factor of zero cannot be divided by; the height is then kept as it stands.
    const double dUlozena = m_dPrepocet != 0.0 ? m_dVyska / m_dPrepocet : m_dVyska;
    CVoxXRecord::ZapisInt(L"ZNAMENKO", m_nZnamenko, KACENA_SKUPINA);
    CVoxXRecord::ZapisInt(L"DESMIST", m_nDesMist, KACENA_SKUPINA);
    CVoxXRecord::ZapisReal(L"PREPOCET", m_dPrepocet, KACENA_SKUPINA);
    CVoxXRecord::ZapisString(L"POPISPOD", m_sPopisPod, KACENA_SKUPINA);
    CVoxXRecord::ZapisInt(L"POPPODMULTILINE", m_bPtatSe, KACENA_SKUPINA);
    CVoxXRecord::ZapisInt(L"POPPODPTATSE", m_bViceradkovy, KACENA_SKUPINA);
    CVoxXRecord::ZapisReal(L"NULA_ABSOLUTNI", m_dNulaAbsolutni, KACENA_SKUPINA);
    CVoxXRecord::ZapisBool(L"PRIDAT_ABSOLUTNI", m_bPridatAbsolutni, KACENA_SKUPINA);
    CVoxXRecord::ZapisBod(m_sUcs + L"ZBOD", AcGePoint3d(m_ptZBod.x, m_ptZBod.y, 0.0),
                          KACENA_SKUPINA);
    CVoxXRecord::ZapisReal(m_sUcs + L"VYSKA", dUlozena, KACENA_SKUPINA);
}

void CKacena::SestavPrompt() {
    m_sPrompt = L"\nZadej umístění kačeny [Nastavení, ";
    m_sKlice = L"N";
    CString sAktualni = L"'";
    if (m_nSvisle == 1) {
        m_sPrompt += L"Spodní, ";
        m_sKlice += L" S";
        sAktualni += L"Horní, ";
    } else {
        m_sPrompt += L"Horní, ";
        m_sKlice += L" H";
        sAktualni += L"Spodní, ";
    }
    if (m_nVodorovne == 1) {
        m_sPrompt += L"Levá, ";
        m_sKlice += L" L";
        sAktualni += L"Pravá, ";
    } else {
        m_sPrompt += L"Pravá, ";
        m_sKlice += L" P";
        sAktualni += L"Levá, ";
    }
    if (m_bOdkaz) {
        m_sPrompt += L"Bez odkazu] ";
        m_sKlice += L" B";
        sAktualni += L"Odkaz'";
    } else {
        m_sPrompt += L"Odkaz] ";
        m_sKlice += L" O";
        sAktualni += L"Bez odkazu'";
    }
    if (m_bLzeVratit) {
        m_sPrompt += L"Zpět, ";
        m_sKlice += L" Z";
    }
    m_sPrompt += sAktualni + L" <Nastavení>: ";
}

double CKacena::Vyska(const AcGePoint3d& ptUcs) const {
    return (ptUcs.y - m_ptZBod.y) * m_dPrepocet + m_dVyska;
}

double CKacena::AbsolutniVyska(const AcGePoint3d& ptUcs) const {
    return m_dNulaAbsolutni + Vyska(ptUcs);
}

CString CKacena::TextVysky(double dVyska) const {
    // The decimals stay within what the format can show.
    const int nMist = std::clamp(m_nDesMist, 0, 9);
    CString sFormat = L"%.2f";
    sFormat.SetAt(2, static_cast<wchar_t>(L'0' + nMist));
    CString sText;
    sText.Format(sFormat, dVyska);
    const double dTolerance = std::pow(10.0, -nMist) / 2.0;
    if (m_nZnamenko && -dTolerance < dVyska && dVyska < dTolerance) {
        if (!sText.IsEmpty() && sText[0] == L'-')
            sText.Delete(0);
        sText = L"%%p" + sText;
    } else if (m_nZnamenko && dVyska > dTolerance) {
        sText = L"+" + sText;
    }
    return sText;
}

CString CKacena::TextAbsolutni(double dVyska) {
    CString s;
    s.Format(L"%.2f", dVyska);
    return s;
}

CVoxDynProp CKacena::DynVlastnosti() const {
    CVoxDynProp vlastnosti;
    vlastnosti.NastavRetezec(L"ODKAZ", m_bOdkaz ? L"S odkazem" : L"Bez odkazu");
    vlastnosti.NastavReal(L"DL_ODKAZU", m_bOdkaz ? m_dDelkaOdkazu : 0.0);
    vlastnosti.NastavPreklopeni(L"ZRC_VERT", m_nSvisle == 2 ? 1 : 0);
    vlastnosti.NastavPreklopeni(L"ZRC_TEXTU", m_nSvisle == 2 ? 1 : 0);
    vlastnosti.NastavPreklopeni(L"ZRC_HORIZ_ODKAZU", m_bOdkaz && m_bOdkazVlevo ? 1 : 0);
    short nHoriz = 0;
    if (m_bOdkazVlevo)
        nHoriz = m_nVodorovne == 1 ? 1 : 0;
    else
        nHoriz = m_nVodorovne == 2 ? 1 : 0;
    vlastnosti.NastavPreklopeni(L"ZRC_HORIZ", nHoriz);
    return vlastnosti;
}

bool CKacena::VlozKacenu(const AcGePoint3d& ptUcs) {
    const AcDbObjectId idBlok = NajdiNeboNactiBlok(KACENA_BLOK, L"BLOKY", true);
    if (idBlok.isNull() || !AcDbDynBlockReference::isDynamicBlock(idBlok))
        VOX_THROW("Blok kačeny (kv_kacena.dwg) nebyl nalezen v adresáři ...Utility\\_BLOKY\n"
                  "nebo není dynamický blok - porušená instalace utilit");

    std::wstring sHladina = L"kóty_výškové";
    m_objBlok = CVoxBlokDef();
    m_objBlok.m_idBlok = idBlok;
    m_objBlok.m_idHladina = ZajistiHladinu(sHladina);
    m_objBlok.m_ptVlozeni = UcsNaWcs(ptUcs, 0);
    m_objBlok.m_dUhel = UhelUcs();
    m_objBlok.m_meritko = AcGeScale3d(1.0, 1.0, 1.0);

    CString sPopis = m_sPopisPod;
    if (m_bPridatAbsolutni) {
        sPopis = TextAbsolutni(AbsolutniVyska(ptUcs));
    } else if (m_bPtatSe) {
        CString sPrompt = L"\nZadej popis pod čarou <" + m_sPopisPod + L">:";
        ACHAR sOdpoved[40] = {0};
        const int nVysledek = acedGetString(0, sPrompt, sOdpoved, 40);
        if ((nVysledek == RTNORM || nVysledek == RTINPUTTRUNCATED) && sOdpoved[0])
            sPopis = sOdpoved;
    }
    m_objBlok.NastavAtribut(L"VYSKA", TextVysky(Vyska(ptUcs)), false);
    m_objBlok.NastavAtribut(L"POPIS", sPopis, m_bViceradkovy != 0);

    AcDbBlockTableRecord* pProstor = nullptr;
    const Acad::ErrorStatus es =
        acdbOpenObject(pProstor, PracovniDb()->currentSpaceId(), AcDb::kForWrite);
    if (es != Acad::eOk)
        VOX_THROW_ERR("Nelze otevřít aktuální prostor pro zápis", es);
    const AcDbObjectId idReference = VlozBlok(m_objBlok, pProstor, true, true);
    if (idReference.isNull())
        VOX_THROW("Nelze vložit blok kačeny");
    m_idPosledni = idReference;

    if (m_bOdkaz && !UmistiOdkaz(idReference, ptUcs)) {
        AcDbEntity* pReference = nullptr;
        if (acdbOpenObject(pReference, idReference, AcDb::kForWrite) == Acad::eOk) {
            pReference->erase();
            pReference->close();
        }
        m_idPosledni = AcDbObjectId::kNull;
        return false;
    }
    NastavDynVlastnosti(idReference, DynVlastnosti());
    m_aVlozene.push_back(idReference);
    m_bLzeVratit = true;
    return true;
}

bool CKacena::UmistiOdkaz(AcDbObjectId idReference, const AcGePoint3d& ptUcs) {
    m_bOdkaz = false;
    try {
        NastavDynVlastnosti(idReference, DynVlastnosti());
    } catch (...) {
        m_bOdkaz = true;
        throw;
    }
    m_bOdkaz = true;

    ads_name sMnozina = {0, 0};
    ads_name sEntita = {0, 0};
    if (acdbGetAdsName(sEntita, idReference) != Acad::eOk ||
        acedSSAdd(sEntita, nullptr, sMnozina) != RTNORM)
        VOX_THROW("Nelze vytvořit výběr kačeny");
    CTazeni tazeni{ptUcs};
    g_pTazeni = &tazeni;
    ads_point ptKonec = {0, 0, 0};
    acedInitGet(RSG_2D, nullptr);
    const int nVysledek =
        acedDragGen(sMnozina, L"Zadej umístění kačeny: ", 0, &TazeniKaceny, ptKonec);
    g_pTazeni = nullptr;
    acedSSFree(sMnozina);

    if (nVysledek == RTNONE) {
        m_dDelkaOdkazu = 5.0;
        m_bOdkazVlevo = false;
        return true;
    }
    if (nVysledek == RTNORM) {
        m_dDelkaOdkazu = std::hypot(ptKonec[X] - ptUcs.x, ptKonec[Y] - ptUcs.y);
        if (m_dDelkaOdkazu < 4.5)
            m_dDelkaOdkazu = 5.0;
        m_bOdkazVlevo = ptUcs.x > ptKonec[X];
        return true;
    }
    if (nVysledek == RTCAN || nVysledek == RTREJ || nVysledek == RTERROR)
        return false;
    // A keyword or anything else: the leader keeps its default.
    m_dDelkaOdkazu = 5.0;
    m_bOdkazVlevo = false;
    return true;
}

void CKacena::Zpet() {
    if (!m_bLzeVratit || m_aVlozene.empty()) {
        acutPrintf(L"\nJiž není co brát zpět");
        return;
    }
    AcDbEntity* pEntita = nullptr;
    if (acdbOpenObject(pEntita, m_aVlozene.back(), AcDb::kForWrite) != Acad::eOk)
        VOX_THROW("Nelze otevřít entitu pro zápis");
    const Acad::ErrorStatus es = pEntita->erase();
    pEntita->close();
    if (es != Acad::eOk) {
        acutPrintf(L"Nelze vymazat entitu");
        return;
    }
    m_aVlozene.pop_back();
    if (m_aVlozene.empty())
        m_bLzeVratit = false;
}

// ---- Commands
// ----------------------------------------------------------------------------------------

void PrikazKac() {
    if (!JeUcs2d())
        VOX_THROW("\nNastavené Ucs je ve 3d prosotoru (není 2d), nelze spustit funkci kačena");
    CKacena objKacena;
    try {
        for (;;) {
            objKacena.m_bOdkazVlevo = false;
            objKacena.SestavPrompt();
            acedInitGet(0, objKacena.m_sKlice);
            ads_point pt = {0, 0, 0};
            const int nVysledek = acedGetPoint(nullptr, objKacena.m_sPrompt, pt);
            if (nVysledek == RTNORM) {
                objKacena.VlozKacenu(AcGePoint3d(pt[X], pt[Y], pt[Z]));
            } else if (nVysledek == RTNONE) {
                CKvDlgNastaveniKaceny::Nastav(objKacena);
            } else if (nVysledek == RTKWORD) {
                ACHAR sKlic[64] = {0};
                if (acedGetInput(sKlic) != RTNORM)
                    VOX_THROW("AcedGetInput - chybné vyhodnocení funkce");
                if (!sKlic[0])
                    VOX_THROW("Nulová délka řetězce");
                switch (sKlic[0]) {
                case L'B':
                    objKacena.m_bOdkaz = false;
                    break;
                case L'H':
                    objKacena.m_nSvisle = 1;
                    break;
                case L'L':
                    objKacena.m_nVodorovne = 2;
                    break;
                case L'N':
                    CKvDlgNastaveniKaceny::Nastav(objKacena);
                    break;
                case L'O':
                    objKacena.m_bOdkaz = true;
                    break;
                case L'P':
                    objKacena.m_nVodorovne = 1;
                    break;
                case L'S':
                    objKacena.m_nSvisle = 2;
                    break;
                case L'Z':
                    objKacena.Zpet();
                    break;
                default:
                    break;
                }
            } else if (nVysledek == RTCAN) {
                break;
            } else if (nVysledek == RTREJ) {
                VOX_THROW("AcedGetPoint - AutoCAD rejected the request as invalid");
            } else if (nVysledek == RTERROR) {
                VOX_THROW("AcedGetPoint skončilo chybou");
            }
        }
    } catch (...) {
        objKacena.Uloz();
        throw;
    }
    objKacena.Uloz();
}

void PrikazKace() {
    CKacena objKacena;
    try {
        std::vector<AcDbObjectId> aKaceny;
        const ACHAR* aPrompty[2] = {L"\nVyber kačeny k editaci, <Nastavení> (přidej objekty): ",
                                    L"\nVyber kačeny k editaci, <Nastavení> (odeber objekty): "};
        resbuf* pFiltr = acutBuildList(RTDXF0, L"INSERT", RTNONE);
        for (;;) {
            acedInitGet(0, L"N");
            ads_name sMnozina = {0, 0};
            const int nVysledek = acedSSGet(L":$", aPrompty, nullptr, pFiltr, sMnozina);
            if (nVysledek == RTNONE || nVysledek == RTERROR || nVysledek == RTKWORD) {
                CKvDlgNastaveniKaceny::Nastav(objKacena);
                continue;
            }
            if (nVysledek != RTNORM)
                break; // RTCAN, RTREJ
            Adesk::Int32 nDelka = 0;
            acedSSLength(sMnozina, &nDelka);
            for (Adesk::Int32 i = 0; i < nDelka; ++i) {
                ads_name sEntita;
                AcDbObjectId id;
                if (acedSSName(sMnozina, i, sEntita) != RTNORM ||
                    acdbGetObjectId(id, sEntita) != Acad::eOk)
                    continue;
                AcDbDynBlockReference dyn(id);
                if (!dyn.isDynamicBlock())
                    continue;
                AcDbBlockTableRecord* pDefinice = nullptr;
                if (acdbOpenObject(pDefinice, dyn.dynamicBlockTableRecord(), AcDb::kForRead) !=
                    Acad::eOk)
                    continue;
                const ACHAR* sJmeno = nullptr;
                pDefinice->getName(sJmeno);
                const bool bKacena = sJmeno && _wcsicmp(sJmeno, KACENA_BLOK) == 0;
                pDefinice->close();
                if (bKacena)
                    aKaceny.push_back(id);
            }
            acedSSFree(sMnozina);
            if (!aKaceny.empty())
                break;
            acutPrintf(L"\nJe nutné vybrat kačenu (blok kv_kacena), vyberte znovu, nebo ESC "
                       L"konec: ");
        }
        acutRelRb(pFiltr);

        for (const AcDbObjectId& id : aKaceny) {
            AcDbBlockReference* pReference = nullptr;
            if (acdbOpenObject(pReference, id, AcDb::kForWrite) != Acad::eOk)
                continue;
            const AcGePoint3d ptUcs = NaUcs(pReference->position());
            AcDbAttribute* pAtribut = nullptr;
            if (NajdiAtribut(pReference, L"VYSKA", pAtribut) && pAtribut) {
                pAtribut->setTextString(objKacena.TextVysky(objKacena.Vyska(ptUcs)));
                pAtribut->close();
            }
            if (objKacena.m_bPridatAbsolutni) {
                pAtribut = nullptr;
                if (NajdiAtribut(pReference, L"POPIS", pAtribut) && pAtribut) {
                    pAtribut->setTextString(
                        CKacena::TextAbsolutni(objKacena.AbsolutniVyska(ptUcs)));
                    pAtribut->close();
                }
            }
            pReference->close();
        }
    } catch (...) {
        objKacena.Uloz();
        throw;
    }
    objKacena.Uloz();
}
