#include "StdAfx.h"

#include "CVoxFunkce.h"

#include "CVoxAnno.h"
#include "CVoxException.h"
#include "CVoxRegistry.h"
#include "VoxDb.h"

#include <cwchar>
#include <memory>
#include <vector>

namespace {

AcDbDatabase* PracovniDb() {
    return acdbHostApplicationServices()->workingDatabase();
}

std::wstring VelkaJmena(const ACHAR* sJmeno) {
    AcString s(sJmeno ? sJmeno : L"");
    NaVelka(s);
    return s.kACharPtr();
}

} // namespace

std::wstring VolneJmenoBloku(AcDbBlockTable* pTabulka, const ACHAR* sPredpona,
                             AcDbObjectIdArray* pIdBloku, unsigned int nPrvni) {
    const std::wstring sPredponaVelka = VelkaJmena(sPredpona);
    std::vector<std::wstring> aJmena;

    AcDbBlockTableIterator* pIter = nullptr;
    if (pTabulka->newIterator(pIter) != Acad::eOk)
        VOX_THROW("Nelze otevřít pBlockIterator");
    for (pIter->start(); !pIter->done(); pIter->step()) {
        AcDbBlockTableRecord* pBlok = nullptr;
        if (pIter->getRecord(pBlok, AcDb::kForRead) != Acad::eOk) {
            delete pIter;
            VOX_THROW("Nelze otevřít pBlockRecord");
        }
        const ACHAR* sJmeno = nullptr;
        if (pBlok->getName(sJmeno) != Acad::eOk || !sJmeno) {
            pBlok->close();
            delete pIter;
            VOX_THROW("Nelze načíst jméno bloku");
        }
        std::wstring sVelke = VelkaJmena(sJmeno);
        if (sVelke.find(sPredponaVelka) != std::wstring::npos) {
            aJmena.push_back(sVelke);
            if (pIdBloku)
                pIdBloku->append(pBlok->objectId());
        }
        pBlok->close();
    }
    delete pIter;

    unsigned int n = nPrvni == VOLNE_JMENO_OD_1 ? 1u : nPrvni;
    for (;; ++n) {
        wchar_t sCislo[16];
        std::swprintf(sCislo, 16, L"%x", n);
        const std::wstring sJmeno = std::wstring(sPredpona ? sPredpona : L"") + L"_" + sCislo;
        const std::wstring sVelke = VelkaJmena(sJmeno.c_str());
        bool bObsazeno = false;
        for (const std::wstring& s : aJmena)
            bObsazeno = bObsazeno || s == sVelke;
        if (!bObsazeno)
            return sJmeno;
    }
}

AcDbObjectId VytvorBlok(const ACHAR* sJmeno, AcDbDatabase* pDb, bool bVolneJmeno) {
    if (!pDb)
        pDb = PracovniDb();
    AcDbBlockTable* pTabulka = nullptr;
    if (pDb->getBlockTable(pTabulka, AcDb::kForWrite) != Acad::eOk)
        VOX_THROW("Nelze otevřít pBlockTable pro zápis");
    std::wstring sNazev = sJmeno ? sJmeno : L"";
    try {
        if (bVolneJmeno)
            sNazev = VolneJmenoBloku(pTabulka, sNazev.c_str());
    } catch (const CVoxException&) {
        pTabulka->close();
        throw;
    }
    auto* pBlok = new AcDbBlockTableRecord;
    Acad::ErrorStatus es = pBlok->setName(sNazev.c_str());
    if (es == Acad::eOk)
        es = pBlok->setOrigin(AcGePoint3d::kOrigin);
    AcDbObjectId id;
    if (es == Acad::eOk)
        es = pTabulka->add(id, pBlok);
    pTabulka->close();
    if (es != Acad::eOk) {
        delete pBlok;
        VOX_THROW_ERR("Nelze vytvořit pBlockRecord", es);
    }
    pBlok->close();
    return id;
}

AcDbObjectId OtevriBlokProZapis(const ACHAR* sJmeno, AcDbBlockTableRecord*& pBlok) {
    pBlok = nullptr;
    AcString sVelke(sJmeno ? sJmeno : L"");
    NaVelka(sVelke);
    AcDbBlockTable* pTabulka = nullptr;
    if (PracovniDb()->getBlockTable(pTabulka, AcDb::kForWrite) != Acad::eOk)
        VOX_THROW("Nelze otevřít pBlockTable pro zápis");
    AcDbObjectId id;
    if (pTabulka->getIdAt(sVelke.kACharPtr(), id, true) != Acad::eOk) {
        pTabulka->close();
        return AcDbObjectId::kNull;
    }
    const Acad::ErrorStatus es = acdbOpenObject(pBlok, id, AcDb::kForWrite, true);
    pTabulka->close();
    if (es != Acad::eOk) {
        pBlok = nullptr;
        VOX_THROW_ERR("Nelze otevřít pBlockTableRecord hledaného bloku pro zápis", es);
    }
    return id;
}

AcDbObjectId NajdiNeboNactiBlok(const ACHAR* sJmeno, const ACHAR* sPodadresar, bool bAnotativni,
                                bool bKlicVyrobce) {
    AcDbDatabase* pDb = PracovniDb();
    AcDbBlockTable* pTabulka = nullptr;
    if (pDb->getBlockTable(pTabulka, AcDb::kForRead) != Acad::eOk)
        VOX_THROW("Nelze otevřít AcDbBlockTable pro čtení");
    AcDbObjectId id;
    if (pTabulka->getAt(sJmeno, id) != Acad::eOk)
        id = AcDbObjectId::kNull;
    pTabulka->close();

    if (id.isNull()) {
        const std::wstring sAdresar =
            bKlicVyrobce ? CVoxRegistry::NactiCestu(REG_KLIC_VYROBCE, sPodadresar, 3)
                         : CVoxRegistry::NactiCestu(REG_KLIC_PRODUKT, sPodadresar, 1);
        const std::wstring sSoubor = sAdresar + (sJmeno ? sJmeno : L"") + L".dwg";
        std::unique_ptr<AcDbDatabase> pKnihovna(new AcDbDatabase(false, true));
        AcDbObjectId idVlozeny;
        if (pKnihovna->readDwgFile(sSoubor.c_str()) == Acad::eOk &&
            pDb->insert(idVlozeny, sJmeno, pKnihovna.get()) == Acad::eOk)
            id = idVlozeny;
    }

    if (bAnotativni && !id.isNull()) {
        AcDbBlockTableRecord* pBlok = nullptr;
        const Acad::ErrorStatus es = acdbOpenObject(pBlok, id, AcDb::kForWrite);
        if (es != Acad::eOk)
            VOX_THROW_ERR("Nelze otevřít definici bloku pro zápis", es);
        try {
            CVoxAnno::NastavAnnotative(pBlok, true);
        } catch (const CVoxException&) {
            pBlok->close();
            throw;
        }
        pBlok->close();
    }
    return id;
}
