#include "StdAfx.h"

#include "OstatniPrikazy.h"

#include "CVoxException.h"
#include "CVoxVyber.h"
#include "VoxHladiny.h"
#include "xreflock.h"

#include <string>

namespace {

bool JeTrida(const AcRxObject* pObj, const AcRxClass* pTrida) {
    return pObj && pObj->isA() == pTrida;
}

AcGePoint3d BezZ(const AcGePoint3d& pt) {
    return AcGePoint3d(pt.x, pt.y, 0.0);
}

void TiskniBanner() {
    acutPrintf(L"\nMěním měřítko\n**************************************************************");
}

AcDbDatabase* PracovniDb() {
    return acdbHostApplicationServices()->workingDatabase();
}

} // namespace

int VoxUPrevodZNaNulu::operator()(AcDbEntity* pEnt) {
    if (JeTrida(pEnt, AcDbLine::desc())) {
        auto* p = AcDbLine::cast(pEnt);
        if (p->setStartPoint(BezZ(p->startPoint())) == Acad::eOk)
            p->setEndPoint(BezZ(p->endPoint()));
        return 1;
    }
    if (JeTrida(pEnt, AcDbPolyline::desc())) {
        AcDbPolyline::cast(pEnt)->setElevation(0.0);
        return 1;
    }
    if (JeTrida(pEnt, AcDbCircle::desc())) {
        auto* p = AcDbCircle::cast(pEnt);
        return p->setCenter(BezZ(p->center())) == Acad::eOk ? 1 : 0;
    }
    if (JeTrida(pEnt, AcDbArc::desc())) {
        auto* p = AcDbArc::cast(pEnt);
        p->setCenter(BezZ(p->center()));
        return 0;
    }
    if (JeTrida(pEnt, AcDbText::desc())) {
        auto* p = AcDbText::cast(pEnt);
        return p->setPosition(BezZ(p->position())) == Acad::eOk ? 1 : 0;
    }
    if (JeTrida(pEnt, AcDbMText::desc())) {
        auto* p = AcDbMText::cast(pEnt);
        return p->setLocation(BezZ(p->location())) == Acad::eOk ? 1 : 0;
    }
    if (JeTrida(pEnt, AcDbBlockReference::desc())) {
        auto* p = AcDbBlockReference::cast(pEnt);
        return p->setPosition(BezZ(p->position())) == Acad::eOk ? 1 : 0;
    }
    return 0;
}

VoxUZmenMeritkoVeVykrese::VoxUZmenMeritkoVeVykrese() {
    // A zero or negative factor would leave linetypes without a scale: the host asks again.
    acedInitGet(RSG_NOZERO | RSG_NONEG, nullptr);
    m_bZadano =
        acedGetReal(L"\nZadej modifikátor pro úpravu měřítka typu čar:", &m_dModifikator) == RTNORM;
    if (!m_bZadano)
        m_dModifikator = 0.0;
    TiskniBanner();
}

int VoxUZmenMeritkoVeVykrese::operator()(AcDbEntity* pEnt) {
    acutPrintf(L".");
    pEnt->setLinetypeScale(pEnt->linetypeScale() * m_dModifikator, true);
    return 0;
}

VoxUZmenMeritko::VoxUZmenMeritko(double dModifikator) : m_dModifikator(dModifikator) {
    TiskniBanner();
}

int VoxUZmenMeritko::operator()(AcDbEntity* pEnt) {
    pEnt->setLinetypeScale(pEnt->linetypeScale() * m_dModifikator, true);
    pEnt->setColorIndex(256, true);
    pEnt->setLineWeight(AcDb::kLnWtByLayer, true);
    m_aHladiny.insert(pEnt->layerId());
    return 1;
}

void PrikazZ0() {
    VoxUPrevodZNaNulu fce;
    ProjdiDwg(fce, PROJDI_MODEL | PROJDI_LAYOUTY | PROJDI_BLOKY, true, 1, PracovniDb());
}

void PrikazSsa() {
    VoxUZmenMeritkoVeVykrese fce;
    if (!fce.MaModifikator())
        return;
    ProjdiDwg(fce, PROJDI_MODEL | PROJDI_LAYOUTY | PROJDI_BLOKY, true, 1, PracovniDb());
}

namespace {

// The reference and its definition, open for read, closed on every path.
struct OtevrenaReference {
    AcDbBlockReference* pReference = nullptr;
    AcDbBlockTableRecord* pDefinice = nullptr;
    ~OtevrenaReference() {
        if (pDefinice)
            pDefinice->close();
        if (pReference)
            pReference->close();
    }
};

// The reference's database: its own symbol names while it is changed and saved.
void UpravReferenci(AcEdXrefFileLock& zamek, AcDbDatabase* pXDb) {
    pXDb->restoreOriginalXrefSymbols();
    const double dMeritko = pXDb->ltscale();
    VoxUZmenMeritko fce(dMeritko);
    const int nEntit = ProjdiDwg(fce, PROJDI_MODEL | PROJDI_BLOKY, true, 1, pXDb);
    pXDb->setLtscale(1.0);
    int nStav = 0;
    if (zamek.releaseFile(nStav) != Acad::eOk)
        acutPrintf(L"\nNelze aktualizovat XREF, bůh ví proč");
    pXDb->restoreForwardingXrefSymbols();
    acutPrintf(L"\nBylo změněno %i hladin a %i entit v referenci",
               static_cast<int>(fce.Hladiny().size()), nEntit);
}

} // namespace

void PrikazSs() {
    resbuf* pFiltr = acutBuildList(RTDXF0, L"INSERT", RTNONE);
    acutPrintf(L"\nVyber externí referenci (v externí referenci musí být nastaveno měřítko "
               L"LTSCALE tak, aby se zobrazovaly čáry správně): ");
    ads_name ss = {0, 0};
    const int nVysledek = acedSSGet(L"_:N:S", nullptr, nullptr, pFiltr, ss);
    acutRelRb(pFiltr);
    if (nVysledek != RTNORM) {
        acutPrintf(L"\nNepodařilo se vybrat !!");
        return;
    }
    ads_name en;
    AcDbObjectId idReference;
    const bool bClen = acedSSName(ss, 0, en) == RTNORM;
    acedSSFree(ss);
    if (bClen)
        acdbGetObjectId(idReference, en);

    OtevrenaReference ref;
    Acad::ErrorStatus es = acdbOpenObject(ref.pReference, idReference, AcDb::kForRead);
    if (es != Acad::eOk)
        VOX_THROW_ERR("Nepodařilo se otevřít vybranou externí referenci pro čtení", es);
    const AcDbObjectId idDefinice = ref.pReference->blockTableRecord();
    es = acdbOpenObject(ref.pDefinice, idDefinice, AcDb::kForRead);
    if (es != Acad::eOk)
        VOX_THROW_ERR("Nepodařilo se otevřít definici vybrané externí reference pro čtení", es);
    if (!ref.pDefinice->isFromExternalReference() && !ref.pDefinice->isFromOverlayReference()) {
        acutPrintf(L"\n!!!To nebyla externí reference, ale prachvobyčejnej blok");
        return;
    }

    std::wstring sHladina = L"XRefs";
    if (ZajistiHladinu(sHladina).isNull())
        acutPrintf(L"Nepodařilo se vytvořit hladinu pro XRefy");

    if (!ref.pReference->position().isEqualTo(AcGePoint3d::kOrigin) ||
        ref.pReference->rotation() != 0.0) {
        if (MessageBoxW(adsw_acadMainWnd(),
                        L"Reference není umístěna v 0,0 nebo rotace není 0, opravit ?", L"Kresbon",
                        MB_YESNO | MB_ICONQUESTION) == IDYES &&
            ref.pReference->upgradeOpen() == Acad::eOk) {
            ref.pReference->setPosition(AcGePoint3d::kOrigin);
            ref.pReference->setRotation(0.0);
        }
    }

    AcEdXrefFileLock zamek;
    int nStav = 0;
    es = zamek.lockFile(nStav, idDefinice);
    if (es != Acad::eOk) {
        CString sZprava;
        sZprava.Format(L"Není možné otevřít XREF, je již někde otevřen - chyba č. %i",
                       static_cast<int>(es));
        MessageBoxW(adsw_acadMainWnd(), sZprava, L"Kresbon pro AutoCad", MB_ICONWARNING);
        return;
    }
    AcDbDatabase* pXDb = ref.pDefinice->xrefDatabase();
    if (!pXDb) {
        int nUvolneni = 0;
        zamek.releaseFile(nUvolneni, true);
        VOX_THROW("Nelze získat databázi externí reference");
    }
    UpravReferenci(zamek, pXDb);
}

void PrikazPro() {
    resbuf* pFiltr =
        acutBuildList(-4, L"<or", RTDXF0, L"LINE", RTDXF0, L"LWPOLYLINE", RTDXF0, L"CIRCLE", RTDXF0,
                      L"ARC", RTDXF0, L"SPLINE", RTDXF0, L"POLYLINE", RTDXF0, L"ELLIPSE", RTDXF0,
                      L"3DPOLYLINE", RTDXF0, L"RAY", -4, L"or>", RTNONE);
    acutPrintf(L"\nVyber úsečky nebo polyline: ");
    ads_name ss = {0, 0};
    const int nVysledek = acedSSGet(nullptr, nullptr, nullptr, pFiltr, ss);
    acutRelRb(pFiltr);
    if (nVysledek != RTNORM)
        return;
    ProjdiVyber(ss, AcDb::kForWrite, [](AcDbEntity* pEnt, const AcDbObjectId&) {
        if (auto* pKrivka = AcDbCurve::cast(pEnt))
            pKrivka->reverseCurve();
    });
    acedSSFree(ss);
}
