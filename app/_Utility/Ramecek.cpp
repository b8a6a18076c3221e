#include "StdAfx.h"

#include "Ramecek.h"

#include "CKvDlgRamecek.h"
#include "CVoxException.h"
#include "CVoxFunkce.h"
#include "VoxDb.h"
#include "VoxHladiny.h"
#include "VoxProjdiDwg.h"
#include "VoxStyly.h"

#include <cmath>
#include <cerrno>
#include <cwchar>
#include <cwctype>
#include <memory>

namespace {

AcDbDatabase* PracovniDb() {
    return acdbHostApplicationServices()->workingDatabase();
}

const wchar_t s_sCislice32[] = L"0123456789ABCDEFGHIJKLMNOPQRSTUV";

// Four base-32 digits, the most significant first.
std::wstring Base32(int nHodnota) {
    std::wstring s(4, L'0');
    unsigned int n = static_cast<unsigned int>(nHodnota);
    for (int i = 3; i >= 0; --i) {
        s[static_cast<size_t>(i)] = s_sCislice32[n & 31u];
        n >>= 5;
    }
    return s;
}

// A four-character group converted completely in base 32.
bool CtiSkupinu(const std::wstring& sText, size_t nOd, int& nHodnota) {
    const std::wstring sSkupina = sText.substr(nOd, 4);
    // Only digits: a sign or a space would pass the conversion and give a meaningless format.
    for (wchar_t ch : sSkupina)
        if (!std::iswalnum(ch))
            return false;
    wchar_t* pKonec = nullptr;
    errno = 0;
    const long n = std::wcstol(sSkupina.c_str(), &pKonec, 32);
    if (pKonec == sSkupina.c_str() || *pKonec != L'\0' || errno != 0)
        return false;
    nHodnota = static_cast<int>(n);
    return true;
}

// The drawing scale: in model space the factor of the current annotation scale, else 1.
double MeritkoVykresu(AcDbDatabase* pDb) {
    if (!pDb->tilemode())
        return 1.0;
    std::unique_ptr<AcDbAnnotationScale> pMeritko(pDb->cannoscale());
    double dMeritko = 0.0;
    if (!pMeritko || pMeritko->getScale(dMeritko) != Acad::eOk || dMeritko <= 0.0)
        VOX_THROW("Nelze získat měřítko z výkresu");
    return 1.0 / dMeritko;
}

AcDbAttributeDefinition* NovaDefinice(const ACHAR* sTag, const ACHAR* sVyzva, const ACHAR* sText,
                                      const AcGePoint3d& pt, AcDbObjectId idStyl,
                                      bool bNeviditelna) {
    auto* pDef = new AcDbAttributeDefinition(pt, sText, sTag, sVyzva, idStyl);
    pDef->setConstant(true);
    pDef->setVerifiable(false);
    pDef->setPreset(false);
    pDef->setInvisible(bNeviditelna);
    pDef->setFieldLength(25);
    pDef->setHeight(2.3);
    pDef->setRotation(0.0);
    pDef->setHorizontalMode(AcDb::kTextRight);
    pDef->setVerticalMode(AcDb::kTextBase);
    pDef->setAlignmentPoint(pt);
    pDef->setLayer(L"0");
    return pDef;
}

// A closed simple 2D polyline at elevation 0 without width.
AcDb2dPolyline* NovaPolyline(const std::vector<AcGePoint2d>& aBody) {
    AcGePoint3dArray aVrcholy;
    for (const AcGePoint2d& pt : aBody)
        aVrcholy.append(AcGePoint3d(pt.x, pt.y, 0.0));
    auto* pPl = new AcDb2dPolyline(AcDb::k2dSimplePoly, aVrcholy, 0.0, true, 0.0, 0.0);
    pPl->setLayer(L"0");
    return pPl;
}

// Appends the entity to the block (open for write); the entity is closed, or deleted when it
// could not be appended.
void Pridej(AcDbBlockTableRecord* pBlok, AcDbEntity* pEntita) {
    AcDbObjectId id;
    const Acad::ErrorStatus es = pBlok->appendAcDbEntity(id, pEntita);
    if (es != Acad::eOk) {
        delete pEntita;
        pBlok->close();
        VOX_THROW_ERR("Nelze přidat entitu do bloku rámečku", es);
    }
    pEntita->close();
}

// The name of the block of a reference, empty when it cannot be read.
std::wstring JmenoBlokuReference(AcDbObjectId idReference, AcDbObjectId* pIdBlok = nullptr) {
    AcDbBlockReference* pReference = nullptr;
    if (acdbOpenObject(pReference, idReference, AcDb::kForRead) != Acad::eOk)
        return std::wstring();
    const AcDbObjectId idBlok = pReference->blockTableRecord();
    pReference->close();
    if (pIdBlok)
        *pIdBlok = idBlok;
    AcDbBlockTableRecord* pBlok = nullptr;
    if (acdbOpenObject(pBlok, idBlok, AcDb::kForRead) != Acad::eOk)
        return std::wstring();
    const ACHAR* sJmeno = nullptr;
    pBlok->getName(sJmeno);
    std::wstring s = sJmeno ? sJmeno : L"";
    pBlok->close();
    return s;
}

// Chooses the frame to edit; false when the user cancelled.
bool VyberRamecek(const CRamecek& objRamecek, AcDbObjectId& idReference, AcDbObjectId& idBlok) {
    if (objRamecek.m_aRamecky.length() == 1) {
        idReference = objRamecek.m_aRamecky[0];
        JmenoBlokuReference(idReference, &idBlok);
        return true;
    }
    resbuf* pFiltr = acutBuildList(RTDXF0, L"INSERT", 0);
    for (;;) {
        acutPrintf(L"\nVyber rámeček: ");
        ads_name ss = {0, 0};
        const int nVysledek = acedSSGet(L":S", nullptr, nullptr, pFiltr, ss);
        if (nVysledek == RTCAN) {
            acutRelRb(pFiltr);
            return false;
        }
        if (nVysledek == RTNORM) {
            ads_name en = {0, 0};
            AcDbObjectId id;
            const bool bMam =
                acedSSName(ss, 0, en) == RTNORM && acdbGetObjectId(id, en) == Acad::eOk;
            acedSSFree(ss);
            if (bMam && CRamecek::JeRamecek(JmenoBlokuReference(id, &idBlok).c_str())) {
                idReference = id;
                acutRelRb(pFiltr);
                return true;
            }
        }
        acutPrintf(L"\nNebyl vybrán rámeček, vyber znova nebo <Enter> pro nový: ");
    }
}

} // namespace

bool CRamecek::s_bExistuje = false;

CRamecek::CRamecek() {
    if (s_bExistuje)
        VOX_THROW("Druhou instanci třídy rámeček nelze založit...");
    s_bExistuje = true;
}

CRamecek::~CRamecek() {
    s_bExistuje = false;
}

bool CRamecek::JeRamecek(const ACHAR* sJmenoBloku) {
    return sJmenoBloku && std::wcsstr(sJmenoBloku, RAMECEK_BLOK) != nullptr;
}

void CRamecek::NajdiRamecky() {
    m_aRamecky.setLogicalLength(0);
    CVoxCmd::CNajdiBlokRefs fce(RAMECEK_BLOK, true, m_aRamecky);
    ProjdiDwg(fce, PROJDI_MODEL | PROJDI_LAYOUTY | PROJDI_PRO_CTENI, false, 1, PracovniDb());
}

std::wstring CRamecek::TextParametru() const {
    return Base32(m_nSirka) + Base32(m_nVyska) + Base32(m_nCarka) + Base32(m_nRoztec) +
           (m_bPopis ? L"1" : L"0") + (m_bDvojity ? L"1" : L"0");
}

bool CRamecek::CtiParametry(const ACHAR* sText) {
    const std::wstring s = sText ? sText : L"";
    if (s.size() != 18)
        return false;
    int aHodnoty[4] = {0, 0, 0, 0};
    for (size_t i = 0; i < 4; ++i)
        if (!CtiSkupinu(s, i * 4, aHodnoty[i]))
            return false;
    m_nSirka = aHodnoty[0];
    m_nVyska = aHodnoty[1];
    m_nCarka = aHodnoty[2];
    m_nRoztec = aHodnoty[3];
    m_bPopis = s[16] == L'1';
    m_bDvojity = s[17] == L'1';
    m_dKrok = Krok(m_nSirka);
    return true;
}

std::vector<AcGePoint2d> CRamecek::BodyObrysu() const {
    const double cx = m_ptRoh.x, cy = m_ptRoh.y;
    const double W = m_nSirka, H = m_nVyska, t = m_nCarka, s = m_dKrok;
    std::vector<AcGePoint2d> a;
    a.emplace_back(cx, cy);
    // Bottom edge, right to left.
    for (int i = 1; cx - i * s > cx - W; ++i) {
        const double x = cx - i * s;
        a.emplace_back(x, cy);
        a.emplace_back(x, cy + t);
        a.emplace_back(x, cy);
    }
    a.emplace_back(cx - W, cy);
    // Left edge, upwards.
    for (int i = 1; cy + i * 297.0 < cy + H; ++i) {
        const double y = cy + i * 297.0;
        a.emplace_back(cx - W, y);
        a.emplace_back(cx - W + t, y);
        a.emplace_back(cx - W, y);
    }
    a.emplace_back(cx - W, cy + H);
    // Top edge, left to right, from the last whole step.
    const int k = static_cast<int>(W / s);
    for (int i = k; cx - i * s < cx; --i) {
        const double x = cx - i * s;
        a.emplace_back(x, cy + H);
        a.emplace_back(x, cy + H - t);
        a.emplace_back(x, cy + H);
    }
    a.emplace_back(cx, cy + H);
    // Right edge, downwards, from the last whole step.
    for (int j = m_nVyska / 297; cy + j * 297.0 > cy; --j) {
        const double y = cy + j * 297.0;
        a.emplace_back(cx, y);
        a.emplace_back(cx - t, y);
        a.emplace_back(cx, y);
    }
    return a;
}

int CRamecek::PocetA4() const {
    return static_cast<int>(std::ceil(m_nSirka / m_dKrok)) *
           static_cast<int>(std::ceil(m_nVyska / 297.0));
}

std::wstring CRamecek::TextPopisu() const {
    return std::to_wstring(m_nSirka) + L" x " + std::to_wstring(m_nVyska) + L" - " +
           std::to_wstring(PocetA4()) + L" A4";
}

bool CRamecek::CtiRamecek(AcDbObjectId idReference, AcDbObjectId idBlok) {
    AcDbBlockReference* pReference = nullptr;
    if (acdbOpenObject(pReference, idReference, AcDb::kForRead) != Acad::eOk)
        VOX_THROW("Ramecek.cpp - nelze otevřít AcDbBlockRefenrece");
    m_ptVlozeni = pReference->position();
    m_idHladina = pReference->layerId();
    pReference->close();

    AcDbBlockTableRecord* pBlok = nullptr;
    if (acdbOpenObject(pBlok, idBlok, AcDb::kForRead) != Acad::eOk)
        VOX_THROW("Ramecek.cpp - nelze otevřít AcDbBlockTable Record");
    AcDbBlockTableRecordIterator* pIterator = nullptr;
    if (pBlok->newIterator(pIterator) != Acad::eOk) {
        pBlok->close();
        VOX_THROW("Ramecek.cpp - nelze otevřít AcDbBlockTable Record");
    }
    std::unique_ptr<AcDbBlockTableRecordIterator> pIter(pIterator);
    std::wstring sParametry;
    bool bNalezen = false;
    for (; !pIter->done() && !bNalezen; pIter->step()) {
        AcDbEntity* pEntita = nullptr;
        if (pIter->getEntity(pEntita, AcDb::kForRead) != Acad::eOk) {
            pBlok->close();
            VOX_THROW("Ramecek.cpp - nelze otevřít entitu blockRecodru při procházeí iterátorem");
        }
        if (auto* pDef = AcDbAttributeDefinition::cast(pEntita)) {
            if (_wcsicmp(pDef->tagConst(), RAMECEK_TAG_PARAM) == 0) {
                sParametry = pDef->textStringConst();
                bNalezen = true;
            }
        }
        pEntita->close();
    }
    pBlok->close();
    if (bNalezen && CtiParametry(sParametry.c_str()))
        return true;
    acutPrintf(L"\nNekonzistentní definice rámečku, nastavuji defaultní hodnoty");
    return false;
}

bool CRamecek::Edituj(AcDbObjectId idReference, AcDbObjectId idBlok, CKvDlgRamecek& dlgRamecek) {
    if (CtiRamecek(idReference, idBlok)) {
        dlgRamecek.m_nSirka = m_nSirka;
        dlgRamecek.m_nVyska = m_nVyska;
        dlgRamecek.m_nCarka = m_nCarka;
        dlgRamecek.m_nRoztec = m_nRoztec;
        dlgRamecek.m_bPopis = m_bPopis ? 1 : 0;
        dlgRamecek.m_bDvojity = m_bDvojity ? 1 : 0;
    }
    dlgRamecek.m_bNovy = false;
    if (dlgRamecek.DoModal() != IDOK)
        return false;

    AcDbEntity* pReference = nullptr;
    if (acdbOpenObject(pReference, idReference, AcDb::kForWrite) != Acad::eOk)
        VOX_THROW("Ramecek.cpp - nelze otevřít AcDbBlockRefenrece");
    pReference->erase();
    pReference->close();

    // The old block goes when no other reference uses it.
    AcDbObjectIdArray aReference;
    CVoxCmd::CNajdiBlokRefs fce(L"", false, aReference, idBlok);
    ProjdiDwg(fce, PROJDI_VSE | PROJDI_PRO_CTENI, false, 1, PracovniDb());
    if (aReference.isEmpty()) {
        AcDbBlockTableRecord* pBlok = nullptr;
        if (acdbOpenObject(pBlok, idBlok, AcDb::kForWrite) != Acad::eOk)
            VOX_THROW("Ramecek.cpp - nelze otevřít AcDbBlockTable Record");
        pBlok->erase();
        pBlok->close();
    }
    return true;
}

void CRamecek::Prevezmi(const CKvDlgRamecek& dlgRamecek) {
    m_nSirka = dlgRamecek.m_nSirka;
    m_nVyska = dlgRamecek.m_nVyska;
    m_bDvojity = dlgRamecek.m_bDvojity != 0;
    m_bPopis = dlgRamecek.m_bPopis != 0;
    m_nCarka = dlgRamecek.m_nCarka;
    m_nRoztec = dlgRamecek.m_nRoztec;
    m_dKrok = Krok(m_nSirka);
}

AcDbObjectId CRamecek::Vytvor() {
    AcDbDatabase* pDb = PracovniDb();
    const double dMeritko = MeritkoVykresu(pDb);
    const AcDbObjectId idStyl = ZajistiTextStyl(L"KV_TXT_MALY");
    const AcDbObjectId idBlok = VytvorBlok(RAMECEK_BLOK, pDb, true);

    AcDbBlockTableRecord* pBlok = nullptr;
    if (acdbOpenObject(pBlok, idBlok, AcDb::kForWrite) != Acad::eOk)
        VOX_THROW("Ramecek.cpp - nelze otevřít AcDbBlockTable Record");
    Pridej(pBlok, NovaPolyline(BodyObrysu()));
    if (m_bDvojity) {
        const double cx = m_ptRoh.x, cy = m_ptRoh.y, m = m_nRoztec;
        Pridej(pBlok,
               NovaPolyline({AcGePoint2d(cx - m, cy + m), AcGePoint2d(cx - m, cy + m_nVyska - m),
                             AcGePoint2d(cx - m_nSirka + m, cy + m_nVyska - m),
                             AcGePoint2d(cx - m_nSirka + m, cy + m)}));
    }
    Pridej(pBlok,
           NovaDefinice(RAMECEK_TAG_POPIS, L"Popis Rámečku:", TextPopisu().c_str(),
                        AcGePoint3d(m_ptRoh.x - 5.0, m_ptRoh.y + 1.5, 0.0), idStyl, !m_bPopis));
    Pridej(pBlok, NovaDefinice(RAMECEK_TAG_PARAM, L"xx: ", TextParametru().c_str(),
                               AcGePoint3d(m_ptRoh.x - 100.0, m_ptRoh.y + 1.5, 0.0), idStyl, true));
    pBlok->close();

    auto* pReference = new AcDbBlockReference(m_ptVlozeni, idBlok);
    pReference->setScaleFactors(AcGeScale3d(dMeritko, dMeritko, dMeritko));
    pReference->setRotation(0.0);
    if (!m_idHladina.isNull())
        pReference->setLayer(m_idHladina);
    AcDbBlockTableRecord* pProstor = nullptr;
    AcDbObjectId idReference;
    if (acdbOpenObject(pProstor, pDb->currentSpaceId(), AcDb::kForWrite) == Acad::eOk) {
        if (pProstor->appendAcDbEntity(idReference, pReference) == Acad::eOk)
            pReference->close();
        else
            idReference = AcDbObjectId::kNull;
        pProstor->close();
    }
    if (idReference.isNull()) {
        delete pReference;
        acutPrintf(L"\nBlok nebyl vytvořen");
    }
    return idReference;
}

void PrikazRam() {
    if (!JeUcs2d())
        VOX_THROW("\nNastavené Ucs je ve 3d prostoru (není 2d), nelze spustit funkci rámeček");
    CRamecek objRamecek;
    objRamecek.NajdiRamecky();
    const bool bExistuji = !objRamecek.m_aRamecky.isEmpty();

    acedInitGet(RSG_2D, L"N");
    ads_point pt = {0.0, 0.0, 0.0};
    const int nVysledek = acedGetPoint(
        nullptr,
        bExistuji ? L"\nZadej pravý dolní roh nebo <Enter> vyber existující rámeček k editaci, "
                    L"[Nula]: "
                  : L"\nZadej pravý dolní roh, [Nula, nula] <0,0>: ",
        pt);
    bool bNovy = true;
    if (nVysledek == RTNORM) {
        // The point is given in the current UCS; the reference is placed in world coordinates.
        objRamecek.m_ptVlozeni = UcsNaWcs(AcGePoint3d(pt[X], pt[Y], pt[Z]), 0);
    } else if (nVysledek == RTKWORD) {
        objRamecek.m_ptVlozeni = AcGePoint3d::kOrigin;
    } else if (nVysledek == RTNONE) {
        bNovy = !bExistuji;
        objRamecek.m_ptVlozeni = AcGePoint3d::kOrigin;
    } else if (nVysledek == RTERROR) {
        VOX_THROW("AcedGetPoint skončilo chybou");
    } else if (nVysledek == RTREJ) {
        VOX_THROW("AcedGetPoint - AutoCAD rejected the request as invalid");
    } else {
        return;
    }

    CKvDlgRamecek dlgRamecek(CWnd::FromHandle(adsw_acadMainWnd()));
    if (bNovy) {
        if (dlgRamecek.DoModal() != IDOK)
            return;
        objRamecek.m_bNetisk = dlgRamecek.m_bNetisk != 0;
        std::wstring sHladina = objRamecek.m_bNetisk ? L"netisk" : L"rámeček";
        objRamecek.m_idHladina = ZajistiHladinu(sHladina);
    } else {
        AcDbObjectId idReference, idBlok;
        if (!VyberRamecek(objRamecek, idReference, idBlok))
            return;
        if (!objRamecek.Edituj(idReference, idBlok, dlgRamecek))
            return;
    }
    objRamecek.Prevezmi(dlgRamecek);
    objRamecek.Vytvor();
}
