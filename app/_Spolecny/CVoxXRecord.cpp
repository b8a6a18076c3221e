#include "StdAfx.h"

#include "CVoxXRecord.h"

#include "CVoxException.h"

namespace {

AcDbDatabase* PracovniDb() {
    return acdbHostApplicationServices()->workingDatabase();
}

// The first element of a chain read for a typed reader, checked for its group code; on a
// mismatch the chain is released and the kind error thrown.
void OverTyp(resbuf* pRb, int nTyp) {
    if (pRb->restype != nTyp) {
        acutRelRb(pRb);
        VOX_THROW("Očekávaný typ proměnné XRecord neodpovídá");
    }
}

// Reads the record and checks its kind; null when it cannot be read.
resbuf* CtiTyp(const ACHAR* sJmeno, const ACHAR* sSkupina, int nTyp) {
    resbuf* pRb = nullptr;
    if (!CVoxXRecord::Cti(CVoxXRecord::JmenoZaznamu(sJmeno, sSkupina), pRb))
        return nullptr;
    OverTyp(pRb, nTyp);
    return pRb;
}

// The application's dictionary opened for write, created in the named object dictionary (open
// for write) when it has none.
AcDbDictionary* OtevriNeboVytvorSlovnik(AcDbDictionary* pNod) {
    AcDbDictionary* pSlovnik = nullptr;
    const Acad::ErrorStatus es = pNod->getAt(XREC_SLOVNIK, pSlovnik, AcDb::kForWrite);
    if (es == Acad::eOk)
        return pSlovnik;
    AcDbDictionary* pNovy = new AcDbDictionary();
    AcDbObjectId id;
    // Only a missing entry is replaced; an entry of another kind is left alone.
    if (es != Acad::eKeyNotFound || pNod->setAt(XREC_SLOVNIK, pNovy, id) != Acad::eOk) {
        delete pNovy;
        pNod->close();
        VOX_THROW("Nepodařilo se vytvořit XRecord v AcDbDictionary");
    }
    return pNovy;
}

} // namespace

AcString CVoxXRecord::JmenoZaznamu(const ACHAR* sJmeno, const ACHAR* sSkupina) {
    AcString s;
    if (sSkupina) {
        s = sSkupina;
        s += L"_";
    }
    s += sJmeno ? sJmeno : L"";
    return s;
}

bool CVoxXRecord::Cti(const ACHAR* sJmenoZaznamu, resbuf*& pRbList) {
    pRbList = nullptr;
    try {
        AcDbDictionary* pNod = nullptr;
        if (PracovniDb()->getNamedObjectsDictionary(pNod, AcDb::kForRead) != Acad::eOk)
            VOX_THROW("Nepodařilo se otevřít AcDbDictionary");
        AcDbDictionary* pSlovnik = nullptr;
        if (pNod->getAt(XREC_SLOVNIK, pSlovnik, AcDb::kForRead) != Acad::eOk) {
            pNod->close();
            acutPrintf(L"Nelze otevřít %ls", XREC_SLOVNIK);
            VOX_THROW("Nepodařilo se otevřít AcDbDictionary <_TEBU_XREC_NAME>");
        }
        pNod->close();
        AcDbXrecord* pZaznam = nullptr;
        const Acad::ErrorStatus es = pSlovnik->getAt(sJmenoZaznamu, pZaznam, AcDb::kForRead);
        pSlovnik->close();
        if (es != Acad::eOk) {
            acutPrintf(L"Nelze otevřít %ls", sJmenoZaznamu);
            VOX_THROW("Nepodařilo se otevřít proměnnou v AcDbDictionary");
        }
        resbuf* pRb = nullptr;
        const Acad::ErrorStatus esData = pZaznam->rbChain(&pRb);
        pZaznam->close();
        if (esData != Acad::eOk) {
            acutRelRb(pRb);
            VOX_THROW("Poškozený RbChain při čtení XRecord z výkresu");
        }
        if (!pRb)
            VOX_THROW("RbChain (pRbList) je NULL");
        pRbList = pRb;
        return true;
    } catch (const CVoxException&) {
        return false;
    }
}

bool CVoxXRecord::CtiInt(const ACHAR* sJmeno, int& nHodnota, const ACHAR* sSkupina) {
    resbuf* pRb = CtiTyp(sJmeno, sSkupina, XREC_INT);
    if (!pRb)
        return false;
    nHodnota = pRb->resval.rlong;
    acutRelRb(pRb);
    return true;
}

bool CVoxXRecord::CtiReal(const ACHAR* sJmeno, double& dHodnota, const ACHAR* sSkupina) {
    resbuf* pRb = CtiTyp(sJmeno, sSkupina, XREC_REAL);
    if (!pRb)
        return false;
    dHodnota = pRb->resval.rreal;
    acutRelRb(pRb);
    return true;
}

bool CVoxXRecord::CtiString(const ACHAR* sJmeno, CString& sHodnota, const ACHAR* sSkupina) {
    resbuf* pRb = CtiTyp(sJmeno, sSkupina, XREC_STRING);
    if (!pRb)
        return false;
    sHodnota = pRb->resval.rstring ? pRb->resval.rstring : L"";
    acutRelRb(pRb);
    return true;
}

bool CVoxXRecord::CtiString(const ACHAR* sJmeno, AcString& sHodnota, const ACHAR* sSkupina) {
    resbuf* pRb = CtiTyp(sJmeno, sSkupina, XREC_STRING);
    if (!pRb)
        return false;
    sHodnota = pRb->resval.rstring ? pRb->resval.rstring : L"";
    acutRelRb(pRb);
    return true;
}

bool CVoxXRecord::CtiBod(const ACHAR* sJmeno, AcGePoint3d& bod, const ACHAR* sSkupina) {
    resbuf* pRb = CtiTyp(sJmeno, sSkupina, XREC_BOD);
    if (!pRb)
        return false;
    bod.set(pRb->resval.rpoint[X], pRb->resval.rpoint[Y], pRb->resval.rpoint[Z]);
    acutRelRb(pRb);
    return true;
}

bool CVoxXRecord::CtiBool(const ACHAR* sJmeno, bool& bHodnota, const ACHAR* sSkupina) {
    resbuf* pRb = CtiTyp(sJmeno, sSkupina, XREC_BOOL);
    if (!pRb)
        return false;
    bHodnota = pRb->resval.rint != 0;
    acutRelRb(pRb);
    return true;
}

resbuf* CVoxXRecord::CtiRb(const ACHAR* sJmeno, const ACHAR* sSkupina) {
    resbuf* pRb = nullptr;
    Cti(JmenoZaznamu(sJmeno, sSkupina), pRb);
    return pRb;
}

bool CVoxXRecord::Zapis(const ACHAR* sJmenoZaznamu, resbuf* pRbList) {
    try {
        if (!pRbList)
            VOX_THROW("RbChain (pRbList) je NULL");
        AcDbDictionary* pNod = nullptr;
        if (PracovniDb()->getNamedObjectsDictionary(pNod, AcDb::kForWrite) != Acad::eOk)
            VOX_THROW("Nepodařilo se otevřít AcDbDictionary");
        AcDbDictionary* pSlovnik = OtevriNeboVytvorSlovnik(pNod);
        pNod->close();
        AcDbXrecord* pZaznam = new AcDbXrecord();
        AcDbObjectId id;
        if (pSlovnik->setAt(sJmenoZaznamu, pZaznam, id) != Acad::eOk) {
            delete pZaznam;
            pSlovnik->close();
            VOX_THROW("Nepodařilo se vytvořit záznam XRecord v AcDbDictionary");
        }
        pSlovnik->close();
        const Acad::ErrorStatus es = pZaznam->setFromRbChain(*pRbList);
        acutRelRb(pRbList);
        pRbList = nullptr;
        pZaznam->close();
        return es == Acad::eOk;
    } catch (const CVoxException& e) {
        acutRelRb(pRbList);
        ZobrazVyjimku(e);
        return false;
    }
}

bool CVoxXRecord::ZapisInt(const ACHAR* sJmeno, int nHodnota, const ACHAR* sSkupina) {
    return Zapis(JmenoZaznamu(sJmeno, sSkupina),
                 acutBuildList(XREC_INT, static_cast<Adesk::Int32>(nHodnota), 0));
}

bool CVoxXRecord::ZapisReal(const ACHAR* sJmeno, double dHodnota, const ACHAR* sSkupina) {
    return Zapis(JmenoZaznamu(sJmeno, sSkupina), acutBuildList(XREC_REAL, dHodnota, 0));
}

bool CVoxXRecord::ZapisString(const ACHAR* sJmeno, const ACHAR* sHodnota, const ACHAR* sSkupina) {
    return Zapis(JmenoZaznamu(sJmeno, sSkupina),
                 acutBuildList(XREC_STRING, sHodnota ? sHodnota : L"", 0));
}

bool CVoxXRecord::ZapisBod(const ACHAR* sJmeno, const AcGePoint3d& bod, const ACHAR* sSkupina) {
    const ads_point pt = {bod.x, bod.y, bod.z};
    return Zapis(JmenoZaznamu(sJmeno, sSkupina), acutBuildList(XREC_BOD, pt, 0));
}

bool CVoxXRecord::ZapisBool(const ACHAR* sJmeno, bool bHodnota, const ACHAR* sSkupina) {
    return Zapis(JmenoZaznamu(sJmeno, sSkupina), acutBuildList(XREC_BOOL, bHodnota ? 1 : 0, 0));
}

bool CVoxXRecord::Smaz() {
    try {
        AcDbDictionary* pNod = nullptr;
        if (PracovniDb()->getNamedObjectsDictionary(pNod, AcDb::kForWrite) != Acad::eOk)
            VOX_THROW("Nepodařilo se otevřít AcDbDictionary");
        AcDbDictionary* pSlovnik = OtevriNeboVytvorSlovnik(pNod);
        pNod->close();
        const Acad::ErrorStatus es = pSlovnik->erase();
        pSlovnik->close();
        return es == Acad::eOk;
    } catch (const CVoxException& e) {
        ZobrazVyjimku(e);
        return false;
    }
}
