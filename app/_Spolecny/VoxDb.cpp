#include "StdAfx.h"

#include "VoxDb.h"

#include "CVoxException.h"
#include "CzLocale.h"

short CtiSysPromInt(const ACHAR* sJmeno) {
    resbuf rb{};
    if (acedGetVar(sJmeno, &rb) != RTNORM)
        VOX_THROW("Neznámá chyba při čtení systémové proměné");
    if (rb.restype == RTSTR) {
        acutDelString(rb.resval.rstring);
        VOX_THROW("Neočekávaný typ při čtení systémové proměné");
    }
    if (rb.restype != RTSHORT && rb.restype != RTLONG)
        VOX_THROW("Neočekávaný typ při čtení systémové proměné");
    if (rb.restype == RTLONG)
        return static_cast<short>(rb.resval.rlong);
    return rb.resval.rint;
}

bool JeModelovyProstor() {
    AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
    if (pDb->tilemode())
        return true;
    return CtiSysPromInt(L"CVPORT") != 1;
}

bool JeUcs2d() {
    AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
    AcGePoint3d org;
    AcGeVector3d xdir, ydir;
    if (JeModelovyProstor()) {
        org = pDb->ucsorg();
        xdir = pDb->ucsxdir();
        ydir = pDb->ucsydir();
    } else {
        org = pDb->pucsorg();
        xdir = pDb->pucsxdir();
        ydir = pDb->pucsydir();
    }
    return org.z == 0.0 && xdir.z == 0.0 && ydir.z == 0.0;
}

AcGePoint3d UcsNaWcs(const AcGePoint3d& bod, int nPosun) {
    resbuf rbZ{};
    resbuf rbDo{};
    rbZ.restype = RTSHORT;
    rbZ.resval.rint = 1;
    rbDo.restype = RTSHORT;
    rbDo.resval.rint = 0;
    ads_point pt = {bod.x, bod.y, bod.z};
    ads_point vysledek = {0.0, 0.0, 0.0};
    acedTrans(pt, &rbZ, &rbDo, nPosun, vysledek);
    return AcGePoint3d(vysledek[X], vysledek[Y], vysledek[Z]);
}

const ACHAR* NaVelka(AcString& s) {
    const int nDelka = s.length() + 1;
    ACHAR* pBuf = s.getBuffer(nDelka);
    const int nChyba = _wcsupr_s_l(pBuf, static_cast<size_t>(nDelka), CzLocale);
    if (nChyba != 0) {
        s.releaseBuffer();
        VOX_THROW_ERR("Chyba při úpravě řetězce", nChyba);
    }
    s.releaseBuffer();
    return s.kACharPtr();
}
