#include "StdAfx.h"

#include "RotaceTextu.h"

#include "CVoxEntity.h"
#include "CVoxException.h"
#include "CVoxVyber.h"
#include "VoxDb.h"

#include <cmath>

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr double DVE_PI = 2.0 * PI;

bool JeTrida(const AcRxObject* pObj, const AcRxClass* pTrida) {
    return pObj && pObj->isA() == pTrida;
}

double UhelVektoru(const AcGeVector3d& v) {
    return std::atan2(v.y, v.x);
}

double Normalizuj(double dUhel) {
    dUhel = std::fmod(dUhel, DVE_PI);
    if (dUhel < 0.0)
        dUhel += DVE_PI;
    return dUhel;
}

// The angle of the current UCS X axis in the world XY plane.
double UhelUcs() {
    AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
    const AcGeVector3d osaX = JeModelovyProstor() ? pDb->ucsxdir() : pDb->pucsxdir();
    return UhelVektoru(osaX);
}

// The angle of the picked reference object (open), without its containing reference.
double UhelReference(AcDbEntity* pEnt) {
    if (auto* pUsecka = AcDbLine::cast(pEnt))
        return UhelVektoru(pUsecka->endPoint() - pUsecka->startPoint());
    if (JeTrida(pEnt, AcDbText::desc()))
        return AcDbText::cast(pEnt)->rotation();
    if (auto* pMText = AcDbMText::cast(pEnt))
        return UhelVektoru(pMText->direction());
    if (auto* pMLeader = AcDbMLeader::cast(pEnt)) {
        double dUhel = 0.0;
        if (AcDbMText* pText = pMLeader->mtext()) {
            dUhel = UhelVektoru(pText->direction());
            delete pText;
        }
        return dUhel;
    }
    // A block reference: its own rotation.
    if (auto* pReference = AcDbBlockReference::cast(pEnt))
        return pReference->rotation();
    return 0.0;
}

void OtocEntitu(AcDbEntity* pEnt, double dUhel, const AcGeVector3d& smer) {
    if (auto* pMLeader = AcDbMLeader::cast(pEnt)) {
        if (AcDbMText* pText = pMLeader->mtext()) {
            pText->setDirection(smer);
            pMLeader->setMText(pText);
            delete pText;
        }
    } else if (JeTrida(pEnt, AcDbText::desc())) {
        AcDbText::cast(pEnt)->setRotation(dUhel);
    } else if (auto* pMText = AcDbMText::cast(pEnt)) {
        pMText->setDirection(smer);
    } else if (auto* pReference = AcDbBlockReference::cast(pEnt)) {
        AcDbBlockTableRecord* pDefinice = nullptr;
        if (acdbOpenObject(pDefinice, pReference->blockTableRecord(), AcDb::kForRead) != Acad::eOk)
            return;
        const bool bXref = pDefinice->isFromExternalReference() || pDefinice->isDependent();
        pDefinice->close();
        if (bXref)
            return;
        const double dPuvodni = pReference->rotation();
        const AcGePoint3d ptVlozeni = pReference->position();
        pReference->setRotation(dUhel);
        pReference->setPosition(ptVlozeni);
        OtocAtributy(pReference, dPuvodni);
    }
}

} // namespace

double CitelnyUhel(double dUhel, double dUhelUcs) {
    double d = dUhel - dUhelUcs;
    if (d < 0.0)
        d += DVE_PI;
    else if (d >= DVE_PI)
        d -= DVE_PI;
    if (d > 100.0 * PI / 180.0 && d < 280.0 * PI / 180.0)
        dUhel += PI;
    return dUhel;
}

void OtocTexty(int nNavic) {
    ads_name ss = {0, 0};
    if (VyberEntity(ss, false, true, DRUH_TEXT | DRUH_MTEXT | DRUH_MLEADER | DRUH_BLOK) !=
        VYBER_OK) {
        acutPrintf(L"\nChyba výběru textu");
        return;
    }
    AcDbEntity* pEnt = nullptr;
    AcDbEntity* pHorni = nullptr;
    AcDbPolyline* pPline = nullptr;
    if (VyberCaruNeboText(pEnt, pHorni, pPline, true, false) != VYBER_OK) {
        acutPrintf(L"\nChyba výběru úsečky nebo textu");
        acedSSFree(ss);
        return;
    }
    // A polyline segment is a line of its own outside the database.
    auto zavri = [](AcDbEntity* p) {
        if (!p)
            return;
        if (p->objectId().isNull())
            delete p;
        else
            p->close();
    };
    if (!JeTrida(pEnt, AcDbLine::desc()) && !JeTrida(pEnt, AcDbText::desc()) &&
        !JeTrida(pEnt, AcDbMLeader::desc()) && !JeTrida(pEnt, AcDbMText::desc()) &&
        !JeTrida(pEnt, AcDbBlockReference::desc())) {
        zavri(pEnt);
        if (pHorni)
            pHorni->close();
        acutPrintf(L"\nNeznámá chyba - vrácený objekt není úsečka nebo text nebo mleader nebo "
                   L"blockref...");
        acedSSFree(ss);
        return;
    }
    double dUhel = UhelReference(pEnt);
    zavri(pEnt);
    if (pHorni) {
        if (auto* pReference = AcDbBlockReference::cast(pHorni))
            dUhel += pReference->rotation();
        pHorni->close();
    }
    if (nNavic == 1)
        dUhel += PI / 2.0;
    dUhel = Normalizuj(CitelnyUhel(dUhel, UhelUcs()));

    ads_point ptPocatek = {0.0, 0.0, 0.0};
    ads_point ptSmer;
    acutPolar(ptPocatek, dUhel, 100.0, ptSmer);
    const AcGeVector3d smer(ptSmer[0], ptSmer[1], 0.0);

    Adesk::Int32 nPocet = 0;
    acedSSLength(ss, &nPocet);
    for (Adesk::Int32 i = 0; i < nPocet; ++i) {
        ads_name en;
        AcDbObjectId id;
        AcDbEntity* pCil = nullptr;
        if (acedSSName(ss, i, en) != RTNORM || acdbGetObjectId(id, en) != Acad::eOk ||
            acdbOpenAcDbEntity(pCil, id, AcDb::kForWrite) != Acad::eOk)
            continue;
        try {
            OtocEntitu(pCil, dUhel, smer);
        } catch (...) {
            pCil->close();
            acedSSFree(ss);
            throw;
        }
        pCil->close();
    }
    acedSSFree(ss);
}

void PrikazRa() {
    OtocTexty(0);
}

void PrikazRak() {
    OtocTexty(1);
}
