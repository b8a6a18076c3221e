#include "StdAfx.h"

#include "CVoxMultiTrubky.h"

#include "CKvDlgMultiTrubky.h"
#include "CVoxException.h"
#include "CVoxXRecord.h"
#include "VoxDb.h"
#include "VoxHladiny.h"

#include <algorithm>

namespace {

const ACHAR* const TITULEK = L"Kresbon pro AutoCad";
const ACHAR* const CHYBA_VSTUPU = L"\nKresbon Error - chybné vyhodnocení funkce AcedGetInput";

AcDbDatabase* PracovniDb() {
    return acdbHostApplicationServices()->workingDatabase();
}

std::vector<std::wstring> VychoziHladiny() {
    return {L"ZT-voda_SV", L"ZT-voda_TUV", L"ZT-voda_CIRK"};
}

AcGePoint3d Bod3d(const AcGePoint2d& pt) {
    return AcGePoint3d(pt.x, pt.y, 0.0);
}

// A point the user gave (current UCS) in the world XY plane.
AcGePoint2d BodVeSvete(const ads_point pt) {
    const AcGePoint3d ptSvet = UcsNaWcs(AcGePoint3d(pt[X], pt[Y], pt[Z]), 0);
    return AcGePoint2d(ptSvet.x, ptSvet.y);
}

// The layer of that name: a standard layer under the user's prefix, a layer of the drawing by
// its full name, or a standard layer named with a prefix already; null when none of them.
AcDbObjectId HladinaPodleJmena(const std::wstring& sJmeno) {
    std::wstring s = sJmeno;
    AcDbObjectId id = ZajistiHladinu(s, false);
    if (!id.isNull())
        return id;
    AcDbLayerTable* pTabulka = nullptr;
    if (PracovniDb()->getLayerTable(pTabulka, AcDb::kForRead) != Acad::eOk)
        VOX_THROW("Nelze otevřít LayerTable pro čtení");
    if (pTabulka->getAt(sJmeno.c_str(), id) != Acad::eOk)
        id = AcDbObjectId::kNull;
    pTabulka->close();
    if (!id.isNull())
        return id;
    s = sJmeno;
    return ZajistiHladinu(s, true);
}

// A pipe line that keeps the direction of its leg and does not shrink to nothing.
bool MaSmer(const AcGePoint2d& ptOd, const AcGePoint2d& ptDo, const AcGeVector2d& smer,
            const AcGeTol& tol) {
    const AcGeVector2d v = ptDo - ptOd;
    return v.length() > tol.equalPoint() && v.isCodirectionalTo(smer, tol);
}

// A world point in the current UCS, as prompts take their base point.
void BodVUcs(const AcGePoint2d& pt, ads_point ptUcs) {
    resbuf rbZ{};
    resbuf rbDo{};
    rbZ.restype = RTSHORT;
    rbZ.resval.rint = 0;
    rbDo.restype = RTSHORT;
    rbDo.resval.rint = 1;
    const ads_point ptSvet = {pt.x, pt.y, 0.0};
    acedTrans(ptSvet, &rbZ, &rbDo, 0, ptUcs);
}

} // namespace

// ---- CVoxUsek --------------------------------------------------------------------------------

CVoxUsek::CVoxUsek(const AcGePoint2d& ptZacatek, const AcGePoint2d& ptKonec, CVoxUsek* pPredchozi,
                   CVoxMultiTrubky* pMulti, double dRoztec, bool bProhodit)
    : m_ptZacatek(ptZacatek), m_ptKonec(ptKonec), m_pPredchozi(pPredchozi), m_pMulti(pMulti),
      m_dRoztec(dRoztec), m_bProhodit(bProhodit) {
    const int n = static_cast<int>(m_pMulti->m_aHladinyId.size());
    const AcGeVector2d smer = Smer();
    const AcGeVector2d u(-smer.y, smer.x);
    for (int k = 0; k < n; ++k) {
        CVoxTrubka trubka;
        trubka.m_ptZacatek = m_ptZacatek + u * Odsazeni(k);
        trubka.m_ptKonec = m_ptKonec + u * Odsazeni(k);
        trubka.m_idHladina = m_pMulti->m_aHladinyId[static_cast<size_t>(k)];
        trubka.m_pUsek = this;
        m_aTrubky.push_back(trubka);
    }
}

AcGeVector2d CVoxUsek::Smer() const {
    const AcGeVector2d v = m_ptKonec - m_ptZacatek;
    const double d = v.length();
    return d > 0.0 ? v / d : AcGeVector2d(1.0, 0.0);
}

bool CVoxUsek::NavazujeRovne() const {
    return !m_pPredchozi || Smer().isCodirectionalTo(m_pPredchozi->Smer(), m_pMulti->m_tol);
}

double CVoxUsek::Odsazeni(int k) const {
    const int n = static_cast<int>(m_pMulti->m_aHladinyId.size());
    double dPosun = 0.0;
    if (m_pMulti->m_nTypVedeni == MULTI_HORNI)
        dPosun = -(n - 1) * m_dRoztec;
    else if (m_pMulti->m_nTypVedeni == MULTI_STRED)
        dPosun = -(n - 1) * m_dRoztec / 2.0;
    return dPosun + k * m_dRoztec;
}

int CVoxUsek::Protejsi(int k) const {
    if (m_bProhodit && m_pPredchozi && !NavazujeRovne())
        return static_cast<int>(m_pPredchozi->m_aTrubky.size()) - 1 - k;
    return k;
}

bool CVoxUsek::Prusecik(int k, AcGePoint2d& ptPrusecik) const {
    const CVoxTrubka& trubka = m_aTrubky[static_cast<size_t>(k)];
    const int m = Protejsi(k);
    if (!m_pPredchozi || m < 0 || m >= static_cast<int>(m_pPredchozi->m_aTrubky.size()))
        return false;
    const CVoxTrubka& predchozi = m_pPredchozi->m_aTrubky[static_cast<size_t>(m)];
    const AcGeLine2d nova(trubka.m_ptZacatek, Smer());
    const AcGeLine2d stara(predchozi.m_ptZacatek, m_pPredchozi->Smer());
    return nova.intersectWith(stara, ptPrusecik, m_pMulti->m_tol);
}

bool CVoxUsek::KontrolaRohu() const {
    const AcGeTol& tol = m_pMulti->m_tol;
    // A leg without length has no direction to draw along.
    if ((m_ptKonec - m_ptZacatek).length() <= tol.equalPoint()) {
        MessageBoxW(adsw_acadMainWnd(),
                    L"Vytvářený úsek je příliš krátký\nzměňte délku úseku nebo úhel napojení",
                    TITULEK, MB_OK | MB_ICONWARNING);
        return false;
    }
    if (NavazujeRovne())
        return true;
    for (int k = 0; k < static_cast<int>(m_aTrubky.size()); ++k) {
        AcGePoint2d ptPrusecik;
        // Turning straight back has no corner where the lines could meet.
        if (!Prusecik(k, ptPrusecik) ||
            !MaSmer(ptPrusecik, m_aTrubky[static_cast<size_t>(k)].m_ptKonec, Smer(), tol)) {
            MessageBoxW(adsw_acadMainWnd(),
                        L"Vytvářený úsek je příliš krátký\nzměňte délku úseku nebo úhel napojení",
                        TITULEK, MB_OK | MB_ICONWARNING);
            return false;
        }
        const CVoxTrubka& predchozi = m_pPredchozi->m_aTrubky[static_cast<size_t>(Protejsi(k))];
        if (!MaSmer(predchozi.m_ptZacatek, ptPrusecik, m_pPredchozi->Smer(), tol)) {
            MessageBoxW(adsw_acadMainWnd(),
                        L"Předchozí úsek je příliš krátký\nzměňte délku úseku nebo úhel napojení",
                        TITULEK, MB_OK | MB_ICONWARNING);
            return false;
        }
    }
    return true;
}

bool CVoxUsek::Kresli() {
    if (!KontrolaRohu())
        return false;

    AcDbBlockTable* pTabulka = nullptr;
    if (PracovniDb()->getBlockTable(pTabulka, AcDb::kForRead) != Acad::eOk)
        VOX_THROW("Nelze otevřít pBlockTableRecord Modelu");
    AcDbBlockTableRecord* pModel = nullptr;
    const Acad::ErrorStatus esModel = pTabulka->getAt(ACDB_MODEL_SPACE, pModel, AcDb::kForWrite);
    pTabulka->close();
    if (esModel != Acad::eOk)
        VOX_THROW_ERR("Nelze otevřít pBlockTableRecord Modelu", esModel);

    try {
        const bool bRovne = NavazujeRovne();
        for (int k = 0; k < static_cast<int>(m_aTrubky.size()); ++k) {
            CVoxTrubka& trubka = m_aTrubky[static_cast<size_t>(k)];
            AcGePoint2d ptZacatek = trubka.m_ptZacatek;
            if (m_pPredchozi && !bRovne && !Prusecik(k, ptZacatek))
                VOX_THROW("Nepodařilo se najít průsečík, z neznámého důvodu");
            trubka.m_ptZacatek = ptZacatek;

            AcDbLine* pUsecka = new AcDbLine(Bod3d(ptZacatek), Bod3d(trubka.m_ptKonec));
            pUsecka->setDatabaseDefaults(PracovniDb());
            pUsecka->setLayer(trubka.m_idHladina);
            const Acad::ErrorStatus es = pModel->appendAcDbEntity(trubka.m_idUsecka, pUsecka);
            if (es != Acad::eOk) {
                delete pUsecka;
                VOX_THROW_ERR("Nelze vytvořit úsečku", es);
            }
            pUsecka->close();

            if (!m_pPredchozi)
                continue;
            const CVoxTrubka& predchozi = m_pPredchozi->m_aTrubky[static_cast<size_t>(Protejsi(k))];
            AcDbLine* pPredchozi = nullptr;
            const Acad::ErrorStatus esPred =
                acdbOpenObject(pPredchozi, predchozi.m_idUsecka, AcDb::kForWrite);
            if (esPred != Acad::eOk)
                VOX_THROW_ERR("Nelze otevřít AcDbLine pro zápis", esPred);
            pPredchozi->setEndPoint(Bod3d(ptZacatek));
            pPredchozi->close();
        }
    } catch (...) {
        pModel->close();
        throw;
    }
    pModel->close();
    return true;
}

// ---- CVoxMultiTrubky -------------------------------------------------------------------------

double CVoxMultiTrubky::JednotkyNaMetr() {
    double dFaktor = 0.0;
    if (acdbGetUnitsConversion(AcDb::kUnitsMeters, PracovniDb()->insunits(), dFaktor) !=
            Acad::eOk ||
        !(dFaktor > 0.0))
        VOX_THROW("Nelze získat přepočet jednotek");
    return dFaktor;
}

CVoxMultiTrubky::CVoxMultiTrubky() {
    m_dJednotky = JednotkyNaMetr();

    double dRoztec = 0.0;
    if (CVoxXRecord::CtiReal(MULTI_ROZTEC, dRoztec, MULTI_SKUPINA) && dRoztec > 0.0)
        m_dRoztec = dRoztec;
    else
        m_dRoztec = 100.0 * m_dJednotky / 1000.0;

    int nTyp = MULTI_SPODNI;
    if (CVoxXRecord::CtiInt(MULTI_TYPVEDENI, nTyp, MULTI_SKUPINA) && nTyp >= MULTI_HORNI &&
        nTyp <= MULTI_SPODNI)
        m_nTypVedeni = nTyp;

    if (resbuf* pRb = CVoxXRecord::CtiRb(MULTI_SEZNAMHLADIN, MULTI_SKUPINA)) {
        for (resbuf* p = pRb; p; p = p->rbnext)
            if (p->restype == XREC_STRING && p->resval.rstring && *p->resval.rstring)
                m_aHladiny.emplace_back(p->resval.rstring);
        acutRelRb(pRb);
    }
    const bool bUlozene = m_aHladiny.size() >= 2;
    if (!bUlozene)
        m_aHladiny = VychoziHladiny();

    try {
        ZalozHladiny();
    } catch (const CVoxException& e) {
        // A kept layer that has gone from the drawing since must not lock the command out:
        // the report is shown and the bundle starts from the default layers.
        if (!bUlozene)
            throw;
        ZobrazVyjimku(e);
        m_aHladiny = VychoziHladiny();
        ZalozHladiny();
    }

    // Points closer than 20 mm are one point. Vectors are compared by their directions, which
    // have no units: 20 mm per metre.
    m_tol.setEqualPoint(20.0 * m_dJednotky / 1000.0);
    m_tol.setEqualVector(0.02);
}

CVoxMultiTrubky::~CVoxMultiTrubky() {
    try {
        UlozNastaveni();
    } catch (const std::exception& e) {
        ZobrazVyjimku(e);
    }
}

void CVoxMultiTrubky::ZalozHladiny() {
    std::vector<AcDbObjectId> aId;
    for (const std::wstring& sJmeno : m_aHladiny) {
        const AcDbObjectId id = HladinaPodleJmena(sJmeno);
        if (id.isNull())
            VOX_THROW("Nelze založit standardní hladiny");
        aId.push_back(id);
    }
    m_aHladinyId = aId;
}

void CVoxMultiTrubky::ObratHladiny() {
    std::reverse(m_aHladiny.begin(), m_aHladiny.end());
    std::reverse(m_aHladinyId.begin(), m_aHladinyId.end());
}

void CVoxMultiTrubky::UlozNastaveni() {
    CVoxXRecord::ZapisReal(MULTI_ROZTEC, m_dRoztec, MULTI_SKUPINA);
    CVoxXRecord::ZapisInt(MULTI_TYPVEDENI, m_nTypVedeni, MULTI_SKUPINA);
    resbuf* pPrvni = nullptr;
    resbuf* pPosledni = nullptr;
    for (const std::wstring& sJmeno : m_aHladiny) {
        resbuf* pRb = acutNewRb(XREC_STRING);
        acutNewString(sJmeno.c_str(), pRb->resval.rstring);
        (pPosledni ? pPosledni->rbnext : pPrvni) = pRb;
        pPosledni = pRb;
    }
    if (pPrvni)
        CVoxXRecord::Zapis(CVoxXRecord::JmenoZaznamu(MULTI_SEZNAMHLADIN, MULTI_SKUPINA), pPrvni);
}

bool CVoxMultiTrubky::Nastaveni() {
    return CKvDlgMultiTrubky::Nastav(*this) == IDOK;
}

bool CVoxMultiTrubky::ZadejStart() {
    for (;;) {
        acedInitGet(RSG_2D, L"T N");
        ads_point pt = {0.0, 0.0, 0.0};
        const int nVysledek = acedGetPoint(
            nullptr, L"Zadej počátek nebo [Napojit T-kus/Nastavení], <Nastavení>: ", pt);
        if (nVysledek == RTNORM) {
            m_ptStart = BodVeSvete(pt);
            return true;
        }
        if (nVysledek == RTNONE) {
            Nastaveni();
            continue;
        }
        if (nVysledek == RTKWORD) {
            ACHAR sKlic[133] = {0};
            if (acedGetInput(sKlic) != RTNORM) {
                acutPrintf(CHYBA_VSTUPU);
                return false;
            }
            if (wcscmp(sKlic, L"N") == 0)
                Nastaveni();
            continue;
        }
        acutPrintf(L"\nNic nebylo vybráno...");
        return false;
    }
}

void CVoxMultiTrubky::ZadavejBody() {
    AcGePoint2d ptPosledni = m_ptStart;
    m_bProhodit = false;
    for (;;) {
        acedInitGet(RSG_2D, L"Z P");
        ads_point ptZaklad = {0.0, 0.0, 0.0};
        BodVUcs(ptPosledni, ptZaklad);
        ads_point pt = {0.0, 0.0, 0.0};
        const int nVysledek =
            acedGetPoint(ptZaklad, L"\nZadej další bod nebo [Zpět/Prohoď], <Konec>: ", pt);
        if (nVysledek == RTNORM) {
            CVoxUsek* pPredchozi = m_aUseky.empty() ? nullptr : m_aUseky.back().get();
            auto pUsek = std::make_unique<CVoxUsek>(ptPosledni, BodVeSvete(pt), pPredchozi, this,
                                                    m_dRoztec, m_bProhodit);
            if (!pUsek->Kresli())
                continue;
            ptPosledni = pUsek->m_ptKonec;
            m_bProhodit = false;
            m_aUseky.push_back(std::move(pUsek));
            continue;
        }
        if (nVysledek != RTKWORD)
            return;
        ACHAR sKlic[133] = {0};
        if (acedGetInput(sKlic) != RTNORM) {
            acutPrintf(CHYBA_VSTUPU);
            return;
        }
        if (wcscmp(sKlic, L"P") == 0) {
            ObratHladiny();
            m_bProhodit = !m_bProhodit;
        } else if (wcscmp(sKlic, L"Z") == 0) {
            // A swap asked for since the last leg goes with it.
            if (m_bProhodit)
                ObratHladiny();
            m_bProhodit = false;
            if (!m_aUseky.empty())
                ptPosledni = m_aUseky.back()->m_ptZacatek;
            Zpet();
        }
    }
}

bool CVoxMultiTrubky::Zpet() {
    if (m_aUseky.empty()) {
        acutPrintf(L"\nJiž není co vracet");
        return false;
    }
    CVoxUsek& usek = *m_aUseky.back();
    if (usek.m_bProhodit)
        ObratHladiny();
    bool bHlaseno = false;
    for (const CVoxTrubka& trubka : usek.m_aTrubky) {
        AcDbEntity* pEntita = nullptr;
        if (acdbOpenObject(pEntita, trubka.m_idUsecka, AcDb::kForWrite) == Acad::eOk) {
            const Acad::ErrorStatus es = pEntita->erase();
            pEntita->close();
            if (es == Acad::eOk)
                continue;
        }
        if (!bHlaseno)
            acutPrintf(L"\nEntitu nelze smazat - restaurujte výkres");
        bHlaseno = true;
    }
    m_aUseky.pop_back();
    if (m_aUseky.empty())
        return true;
    for (const CVoxTrubka& trubka : m_aUseky.back()->m_aTrubky) {
        AcDbLine* pUsecka = nullptr;
        if (acdbOpenObject(pUsecka, trubka.m_idUsecka, AcDb::kForWrite) != Acad::eOk)
            continue;
        pUsecka->setEndPoint(Bod3d(trubka.m_ptKonec));
        pUsecka->close();
    }
    return true;
}

void PrikazMut() {
    CVoxMultiTrubky objMulti;
    if (objMulti.ZadejStart())
        objMulti.ZadavejBody();
}
