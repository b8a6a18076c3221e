#include "StdAfx.h"

#include "CVoxAnno.h"

#include "CVoxException.h"

#include <memory>

namespace {

AcDbObjectContextCollection* KolekceMeritek(AcDbDatabase* pDb) {
    AcDbObjectContextManager* pSpravce = pDb->objectContextManager();
    if (!pSpravce)
        VOX_THROW("Nelze získat ukazatel na objectContextManager");
    AcDbObjectContextCollection* pKolekce =
        pSpravce->contextCollection(acdbAnnotationScaleCollectionName);
    if (!pKolekce)
        VOX_THROW("Nelze získat ukazatel na contextCollection(ACDB_ANNOTATIONSCALES_COLLECTION)");
    return pKolekce;
}

void StandardniMeritka(CVoxSeznamMeritek& seznam, AcDb::UnitsValue nJednotky) {
    seznam.clear();
    if (nJednotky == AcDb::kUnitsMeters)
        seznam = {{L"1:100m", 0.1}, {L"1:150m", 0.15}, {L"1:200m", 0.2}, {L"1:250m", 0.25},
                  {L"1:500m", 0.5}, {L"1:1000m", 1.0}, {L"1:2000m", 2.0}};
    else
        seznam = {{L"1:5", 5.0},     {L"1:10", 10.0},   {L"1:20", 20.0},
                  {L"1:25", 25.0},   {L"1:50", 50.0},   {L"1:75", 75.0},
                  {L"1:100", 100.0}, {L"1:150", 150.0}, {L"1:200", 200.0}};
}

} // namespace

bool CVoxAnno::NastavAnnotative(AcDbObject* pObj, bool bAnnotative, int nVolby) {
    if (!pObj)
        VOX_THROW("Objekt je null");
    // The object stays the caller's to close.
    if (!pObj->isWriteEnabled())
        VOX_THROW("Objekt není otevřen pro zápis!!");
    AcDbAnnotativeObjectPE* pPE = ACRX_PE_PTR(pObj, AcDbAnnotativeObjectPE);
    if (!pPE)
        VOX_THROW("Nepodařilo se otevřít AcDbAnnotativeObjectPE");
    if (pPE->annotative(pObj) != bAnnotative && pPE->setAnnotative(pObj, bAnnotative) != Acad::eOk)
        return false;
    AcDbBlockReference* pRef = AcDbBlockReference::cast(pObj);
    if (!pRef || !(nVolby & ANNO_I_DEFINICI))
        return true;
    AcDbBlockTableRecord* pDefinice = nullptr;
    Acad::ErrorStatus es = acdbOpenObject(pDefinice, pRef->blockTableRecord(), AcDb::kForWrite);
    if (es != Acad::eOk)
        VOX_THROW_ERR("Nelze otevřít definici bloku pro zápis", es);
    bool bVysledek = true;
    AcDbAnnotativeObjectPE* pPEDefinice = ACRX_PE_PTR(pDefinice, AcDbAnnotativeObjectPE);
    if (pPEDefinice && pPEDefinice->annotative(pDefinice) != bAnnotative)
        bVysledek = pPEDefinice->setAnnotative(pDefinice, bAnnotative) == Acad::eOk;
    pDefinice->close();
    return bVysledek;
}

bool CVoxAnno::PridejMeritko(AcDbObject* pObj, const AcDbAnnotationScale& meritko) {
    if (!pObj)
        VOX_THROW("Entita je null");
    if (!pObj->isWriteEnabled())
        VOX_THROW("Entita není otevřena pro zápis!!");
    if (!NastavAnnotative(pObj, true))
        VOX_THROW("Objekt není možné nastavit jako annotative");
    AcDbObjectContextInterface* pKontexty = ACRX_PE_PTR(pObj, AcDbObjectContextInterface);
    if (!pKontexty)
        return false;
    return pKontexty->addContext(pObj, meritko) == Acad::eOk;
}

double CVoxAnno::AktualniMeritko(AcDbDatabase* pDb) {
    if (!pDb)
        VOX_THROW("Předaný ukazatel na databazi (pDb) je null");
    std::unique_ptr<AcDbAnnotationScale> pMeritko(pDb->cannoscale());
    double dMeritko = 0.0;
    if (!pMeritko || pMeritko->getScale(dMeritko) != Acad::eOk)
        VOX_THROW("Nelze získat aktuální měřítko(annotaton scale)");
    return dMeritko;
}

void CVoxAnno::NastavMeritka(CVoxSeznamMeritek& seznam, AcDb::UnitsValue nJednotky) {
    StandardniMeritka(seznam, nJednotky);
    AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
    AcDbObjectContextCollection* pKolekce = KolekceMeritek(pDb);
    for (const CVoxMeritko& m : seznam) {
        if (pKolekce->hasContext(m.sJmeno.c_str())) {
            // The drawing's own scale of that name stays as it is.
            std::unique_ptr<AcDbObjectContext> pKontext(pKolekce->getContext(m.sJmeno.c_str()));
            AcDbAnnotationScale* pMeritko = AcDbAnnotationScale::cast(pKontext.get());
            if (!pMeritko)
                VOX_THROW("Nalezený ObjectContext není AnnotationScale");
            pMeritko->setPaperUnits(1.0);
            pMeritko->setDrawingUnits(m.dJednotkyVykresu);
            continue;
        }
        AcDbAnnotationScale meritko;
        meritko.setName(m.sJmeno.c_str());
        meritko.setPaperUnits(1.0);
        meritko.setDrawingUnits(m.dJednotkyVykresu);
        Acad::ErrorStatus es = pKolekce->addContext(&meritko);
        if (es != Acad::eOk)
            VOX_THROW_ERR("Nelze založit nové měřítko", es);
    }
}

void CVoxAnno::SmazMeritka(AcDbDatabase* pDb) {
    if (!pDb)
        VOX_THROW("Předaný ukazatel na databazi (pDb) je null");
    AcDbObjectContextCollection* pKolekce = KolekceMeritek(pDb);
    std::unique_ptr<AcDbObjectContextCollectionIterator> pIter(pKolekce->newIterator());
    for (pIter->start(); !pIter->done(); pIter->next()) {
        AcDbObjectContext* pKontext = nullptr;
        if (pIter->getContext(pKontext) != Acad::eOk || !pKontext)
            continue;
        std::unique_ptr<AcDbObjectContext> pVlastni(pKontext);
        AcString sJmeno;
        pKontext->getName(sJmeno);
        // The scales the host refuses to remove (the current one, those in use) stay.
        pKolekce->removeContext(sJmeno);
    }
}
