#include "StdAfx.h"

#include "CVoxEntity.h"

#include "CVoxAnno.h"
#include "CVoxException.h"
#include "VoxDb.h"

#include <cmath>
#include <memory>

namespace {

AcDbDatabase* PracovniDb() {
    return acdbHostApplicationServices()->workingDatabase();
}

// The owner is the caller's; it is closed here only when the caller asked for it.
void ZavriVlastnika(AcDbBlockTableRecord* pVlastnik, bool bZavrit) {
    if (bZavrit && pVlastnik && pVlastnik->isReadEnabled())
        pVlastnik->close();
}

void OverVlastnika(AcDbBlockTableRecord* pVlastnik, bool bZavritVlastnika) {
    if (pVlastnik && pVlastnik->isWriteEnabled())
        return;
    ZavriVlastnika(pVlastnik, bZavritVlastnika);
    VOX_THROW("AcDbBlockTableRecord není otevřen pro zápis");
}

// The height of an annotative text at the drawing's current annotation scale (drawing units for
// the paper height of the definition).
double AnotativniVyska(double dVyska, AcDbDatabase* pDb) {
    return dVyska / CVoxAnno::AktualniMeritko(pDb);
}

std::wstring VelkaJmena(const ACHAR* sJmeno) {
    AcString s(sJmeno ? sJmeno : L"");
    NaVelka(s);
    return s.kACharPtr();
}

} // namespace

// ---- Definitions ------------------------------------------------------------------------------

std::wstring CVoxBlokDef::Klic(const ACHAR* sTag) {
    return VelkaJmena(sTag);
}

void CVoxBlokDef::NastavAtribut(const ACHAR* sTag, const ACHAR* sHodnota, bool bViceradkovy) {
    const std::wstring sKlic = Klic(sTag);
    m_mapAtributy[sKlic] = sHodnota ? sHodnota : L"";
    m_mapViceradkove[sKlic] = bViceradkovy;
}

std::wstring CVoxDynProp::Klic(const ACHAR* sJmeno) {
    return VelkaJmena(sJmeno);
}

void CVoxDynProp::NastavReal(const ACHAR* sJmeno, double dHodnota) {
    Hodnota h;
    h.m_nTyp = TYP_REAL;
    h.m_dHodnota = dHodnota;
    m_mapHodnoty[Klic(sJmeno)] = h;
}

void CVoxDynProp::NastavPreklopeni(const ACHAR* sJmeno, short nHodnota) {
    Hodnota h;
    h.m_nTyp = TYP_INT16;
    h.m_nHodnota = static_cast<BYTE>(nHodnota);
    m_mapHodnoty[Klic(sJmeno)] = h;
}

void CVoxDynProp::NastavRetezec(const ACHAR* sJmeno, const ACHAR* sHodnota) {
    Hodnota h;
    h.m_nTyp = TYP_RETEZEC;
    h.m_sHodnota = sHodnota ? sHodnota : L"";
    m_mapHodnoty[Klic(sJmeno)] = h;
}

void CVoxDynProp::Nastav(const ACHAR* sJmeno, const Hodnota& hodnota) {
    m_mapHodnoty[Klic(sJmeno)] = hodnota;
}

const CVoxDynProp::Hodnota* CVoxDynProp::Najdi(const std::wstring& sVelkeJmeno) const {
    auto it = m_mapHodnoty.find(sVelkeJmeno);
    return it == m_mapHodnoty.end() ? nullptr : &it->second;
}

AcDbEvalVariant CVoxDynProp::Variant(const Hodnota& hodnota) {
    switch (hodnota.m_nTyp) {
    case TYP_REAL:
        return AcDbEvalVariant(hodnota.m_dHodnota);
    case TYP_INT16:
        return AcDbEvalVariant(static_cast<short>(hodnota.m_nHodnota));
    case TYP_RETEZEC:
        return AcDbEvalVariant(hodnota.m_sHodnota.c_str());
    default:
        VOX_THROW("Špatné nastavení třídy CVoxDynProp");
    }
}

// ---- Texts and lines --------------------------------------------------------------------------

namespace {
// Appends a new text to its owner and, when asked, makes it annotative with its height for the
// current scale; closes the owner when asked. Null id (the text deleted) when it cannot be added.
template <class T, class FnVyska>
AcDbObjectId PridejText(T* pText, AcDbBlockTableRecord* pVlastnik, bool bZavritVlastnika,
                        bool bAnotativni, double dVyska, AcDbDatabase* pDb, FnVyska nastavVysku) {
    AcDbObjectId id;
    if (pVlastnik->appendAcDbEntity(id, pText) != Acad::eOk) {
        delete pText;
        ZavriVlastnika(pVlastnik, bZavritVlastnika);
        return AcDbObjectId::kNull;
    }
    try {
        if (bAnotativni) {
            CVoxAnno::NastavAnnotative(pText, true);
            nastavVysku(AnotativniVyska(dVyska, pDb));
        }
    } catch (const CVoxException&) {
        pText->close();
        ZavriVlastnika(pVlastnik, bZavritVlastnika);
        throw;
    }
    ZavriVlastnika(pVlastnik, bZavritVlastnika);
    return id;
}
} // namespace

AcDbObjectId VytvorText(const CVoxTextDef& def, AcDbBlockTableRecord* pVlastnik, bool bZavritText,
                        bool bAnotativni, bool bZavritVlastnika) {
    OverVlastnika(pVlastnik, bZavritVlastnika);
    AcDbDatabase* pDb = pVlastnik->database() ? pVlastnik->database() : PracovniDb();
    auto* pText = new AcDbText(def.m_ptVlozeni, def.m_sText.kACharPtr(), def.m_idStyl, def.m_dVyska,
                               def.m_dUhel);
    const AcDbObjectId id =
        PridejText(pText, pVlastnik, bZavritVlastnika, bAnotativni, def.m_dVyska, pDb,
                   [pText](double dVyska) { pText->setHeight(dVyska); });
    if (id.isNull())
        return id;

    const auto nHorizontalne = static_cast<AcDb::TextHorzMode>(def.m_nHorizontalne);
    const auto nVertikalne = static_cast<AcDb::TextVertMode>(def.m_nVertikalne);
    pText->setHorizontalMode(nHorizontalne);
    pText->setVerticalMode(nVertikalne);
    pText->setWidthFactor(def.m_dSirka);
    if (!def.m_idHladina.isNull())
        pText->setLayer(def.m_idHladina);
    NastavByLayer(pText, pDb);
    if ((nHorizontalne == AcDb::kTextLeft || nHorizontalne == AcDb::kTextAlign ||
         nHorizontalne == AcDb::kTextFit) &&
        nVertikalne == AcDb::kTextBase) {
        pText->setPosition(def.m_ptVlozeni);
    } else {
        pText->setAlignmentPoint(def.m_ptVlozeni);
        pText->adjustAlignment(pDb);
    }
    if (bZavritText)
        pText->close();
    return id;
}

AcDbObjectId VytvorMText(const CVoxTextDef& def, AcDbBlockTableRecord* pVlastnik,
                         const ACHAR* sObsah, AcDbMText::AttachmentPoint nPripojeni,
                         bool bZavritText, bool bAnotativni, bool bZavritVlastnika) {
    OverVlastnika(pVlastnik, bZavritVlastnika);
    AcDbDatabase* pDb = pVlastnik->database() ? pVlastnik->database() : PracovniDb();
    auto* pText = new AcDbMText;
    pText->setLocation(def.m_ptVlozeni);
    if (!def.m_idStyl.isNull())
        pText->setTextStyle(def.m_idStyl);
    pText->setRotation(def.m_dUhel);
    if (def.m_dVyska > 0.0)
        pText->setTextHeight(def.m_dVyska);
    pText->setContents(sObsah ? sObsah : L"");
    pText->setAttachment(nPripojeni);
    const AcDbObjectId id =
        PridejText(pText, pVlastnik, bZavritVlastnika, bAnotativni, def.m_dVyska, pDb,
                   [pText](double dVyska) { pText->setTextHeight(dVyska); });
    if (id.isNull())
        return id;
    if (!def.m_idHladina.isNull())
        pText->setLayer(def.m_idHladina);
    NastavByLayer(pText, pDb);
    if (bZavritText)
        pText->close();
    return id;
}

AcDbObjectId VytvorCaru(const AcGePoint3d& ptZacatek, const AcGePoint3d& ptKonec,
                        AcDbBlockTableRecord* pVlastnik, bool bZavritCaru, bool bZavritVlastnika) {
    auto* pCara = new AcDbLine;
    AcDbDatabase* pDb = pVlastnik && pVlastnik->database() ? pVlastnik->database() : PracovniDb();
    NastavByLayer(pCara, pDb);
    pCara->setStartPoint(ptZacatek);
    pCara->setEndPoint(ptKonec);
    AcDbObjectId id;
    if (!pVlastnik || pVlastnik->appendAcDbEntity(id, pCara) != Acad::eOk) {
        delete pCara;
        ZavriVlastnika(pVlastnik, bZavritVlastnika);
        return AcDbObjectId::kNull;
    }
    ZavriVlastnika(pVlastnik, bZavritVlastnika);
    if (bZavritCaru)
        pCara->close();
    return id;
}

// ---- Block references -----------------------------------------------------------------------

AcDbObjectId VlozBlok(const CVoxBlokDef& def, AcDbBlockTableRecord* pVlastnik, bool bAnotativni,
                      bool bZavritVlastnika, bool bZavritReferenci,
                      AcDbBlockReference** ppReference) {
    if (ppReference)
        *ppReference = nullptr;
    if (!JeUcs2d()) {
        ZavriVlastnika(pVlastnik, bZavritVlastnika);
        VOX_THROW("\nNastavené Ucs je ve 3d prostoru (není 2d), nelze vyttvořit entitu");
    }
    OverVlastnika(pVlastnik, bZavritVlastnika);
    AcDbDatabase* pDb = pVlastnik->database() ? pVlastnik->database() : PracovniDb();

    auto* pReference = new AcDbBlockReference;
    if (pReference->setBlockTableRecord(def.m_idBlok) != Acad::eOk) {
        delete pReference;
        ZavriVlastnika(pVlastnik, bZavritVlastnika);
        VOX_THROW("Nelze vytvořit referenci bloku");
    }
    int nChyby = pReference->setPosition(def.m_ptVlozeni);
    nChyby += pReference->setRotation(def.m_dUhel);
    nChyby += pReference->setNormal(AcGeVector3d(0.0, 0.0, 1.0));
    nChyby += pReference->setScaleFactors(def.m_meritko);
    if (nChyby != 0) {
        delete pReference;
        ZavriVlastnika(pVlastnik, bZavritVlastnika);
        VOX_THROW_ERR("Nelze správně nastavit parametry Block Reference", nChyby);
    }
    AcDbObjectId id;
    const Acad::ErrorStatus es = pVlastnik->appendAcDbEntity(id, pReference);
    if (es != Acad::eOk) {
        delete pReference;
        ZavriVlastnika(pVlastnik, bZavritVlastnika);
        VOX_THROW_ERR("Nelze přidat entitu acdbBlockeference", es);
    }
    // The reference lies on the layer of the definition, as its attributes do.
    if (!def.m_idHladina.isNull())
        pReference->setLayer(def.m_idHladina);
    try {
        if (bAnotativni) {
            std::unique_ptr<AcDbAnnotationScale> pMeritko(pDb->cannoscale());
            if (pMeritko)
                CVoxAnno::PridejMeritko(pReference, *pMeritko);
        }
    } catch (const CVoxException&) {
        pReference->close();
        ZavriVlastnika(pVlastnik, bZavritVlastnika);
        throw;
    }
    PridejAtributy(pReference, def, pVlastnik, bAnotativni);
    ZavriVlastnika(pVlastnik, bZavritVlastnika);
    if (bZavritReferenci)
        pReference->close();
    else if (ppReference)
        *ppReference = pReference;
    else
        pReference->close(); // nobody to hand it to
    return id;
}

bool PridejAtributy(AcDbBlockReference* pReference, const CVoxBlokDef& def,
                    AcDbBlockTableRecord* pVlastnik, bool bAnotativni) {
    if (!pReference)
        return false;
    AcDbBlockTableRecord* pBlok = nullptr;
    if (acdbOpenObject(pBlok, pReference->blockTableRecord(), AcDb::kForRead) != Acad::eOk)
        return false;
    AcDbBlockTableRecordIterator* pIter = nullptr;
    if (pBlok->newIterator(pIter) != Acad::eOk) {
        pBlok->close();
        return false;
    }
    AcDbDatabase* pDb = pReference->database() ? pReference->database() : PracovniDb();
    std::unique_ptr<AcDbAnnotationScale> pMeritko(bAnotativni ? pDb->cannoscale() : nullptr);
    const AcGeMatrix3d transformace = pReference->blockTransform();

    for (pIter->start(); !pIter->done(); pIter->step()) {
        AcDbEntity* pEntita = nullptr;
        if (pIter->getEntity(pEntita, AcDb::kForRead) != Acad::eOk)
            continue;
        AcDbAttributeDefinition* pDefinice = AcDbAttributeDefinition::cast(pEntita);
        if (!pDefinice || pDefinice->isConstant()) {
            pEntita->close();
            continue;
        }
        const std::wstring sTag = pDefinice->tagConst();
        const std::wstring sKlic = CVoxBlokDef::Klic(sTag.c_str());
        int nChyby = 0;
        auto* pAtribut = new AcDbAttribute;
        nChyby += pAtribut->setAttributeFromBlock(pDefinice, transformace);
        pEntita->close();
        if (!def.m_idHladina.isNull())
            nChyby += pAtribut->setLayer(def.m_idHladina);
        nChyby += NastavByBlock(pAtribut, pDb);
        auto itHodnota = def.m_mapAtributy.find(sKlic);
        if (itHodnota != def.m_mapAtributy.end())
            nChyby += pAtribut->setTextString(itHodnota->second.c_str());

        const Acad::ErrorStatus es = pReference->appendAttribute(pAtribut);
        if (es != Acad::eOk) {
            delete pAtribut; // never reached the database
            nChyby += es;
        } else {
            auto itViceradkovy = def.m_mapViceradkove.find(sKlic);
            if (itViceradkovy != def.m_mapViceradkove.end() && itViceradkovy->second) {
                nChyby += pAtribut->convertIntoMTextAttribute(true);
                if (pMeritko) {
                    std::unique_ptr<AcDbMText> pViceradkovy(pAtribut->getMTextAttribute());
                    if (pViceradkovy) {
                        try {
                            CVoxAnno::PridejMeritko(pViceradkovy.get(), *pMeritko);
                        } catch (const CVoxException&) {
                            ++nChyby;
                        }
                        nChyby += pAtribut->setMTextAttribute(pViceradkovy.get());
                    }
                }
            }
            nChyby += pAtribut->close();
        }
        if (nChyby != 0)
            acutPrintf(L"Nepodařilo se správně nastavit všechny parametry atributu %ls",
                       sTag.c_str());
    }
    delete pIter;
    pBlok->close();
    (void)pVlastnik;
    return true;
}

Acad::ErrorStatus OtocAtributy(AcDbBlockReference* pReference, double dPuvodniUhel) {
    if (!pReference)
        return Acad::eNullEntityPointer;
    const double dOtoceni = pReference->rotation() - dPuvodniUhel;
    const AcGePoint2d stred(pReference->position().x, pReference->position().y);
    Acad::ErrorStatus vysledek = Acad::eOk;
    std::unique_ptr<AcDbObjectIterator> pIter(pReference->attributeIterator());
    for (; pIter && !pIter->done(); pIter->step()) {
        AcDbAttribute* pAtribut = nullptr;
        Acad::ErrorStatus es = acdbOpenObject(pAtribut, pIter->objectId(), AcDb::kForWrite);
        if (es != Acad::eOk) {
            if (vysledek == Acad::eOk)
                vysledek = es;
            continue;
        }
        AcGePoint2d vlozeni(pAtribut->position().x, pAtribut->position().y);
        AcGePoint2d zarovnani(pAtribut->alignmentPoint().x, pAtribut->alignmentPoint().y);
        vlozeni.rotateBy(dOtoceni, stred);
        zarovnani.rotateBy(dOtoceni, stred);
        es = pAtribut->setRotation(pReference->rotation());
        if (es == Acad::eOk)
            es = pAtribut->setPosition(AcGePoint3d(vlozeni.x, vlozeni.y, 0.0));
        if (es == Acad::eOk)
            es = pAtribut->setAlignmentPoint(AcGePoint3d(zarovnani.x, zarovnani.y, 0.0));
        if (es != Acad::eOk && vysledek == Acad::eOk)
            vysledek = es;
        pAtribut->close();
    }
    return vysledek;
}

bool NajdiAtribut(AcDbBlockReference* pReference, const ACHAR* sTag, AcDbAttribute*& pAtribut,
                  bool bZavrit) {
    pAtribut = nullptr;
    if (!pReference || !sTag)
        return false;
    const std::wstring sHledany = VelkaJmena(sTag);
    std::unique_ptr<AcDbObjectIterator> pIter(pReference->attributeIterator());
    for (; pIter && !pIter->done(); pIter->step()) {
        AcDbAttribute* pKandidat = nullptr;
        if (acdbOpenObject(pKandidat, pIter->objectId(), AcDb::kForRead) != Acad::eOk)
            continue;
        if (VelkaJmena(pKandidat->tagConst()) == sHledany &&
            pKandidat->upgradeOpen() == Acad::eOk) {
            if (bZavrit)
                pKandidat->close();
            else
                pAtribut = pKandidat;
            return true;
        }
        pKandidat->close();
    }
    return false;
}

// ---- Dynamic properties -----------------------------------------------------------------------

void NastavDynVlastnosti(AcDbObjectId idReference, const CVoxDynProp& vlastnosti) {
    if (vlastnosti.JePrazdna())
        return;
    AcDbDynBlockReference dynReference(idReference);
    if (!dynReference.isDynamicBlock())
        VOX_THROW("\nStandardní blok utilit není dynamický blok - porušená instalace utilit");
    AcDbDynBlockReferencePropertyArray aVlastnosti;
    dynReference.getBlockProperties(aVlastnosti);
    for (int i = 0; i < aVlastnosti.length(); ++i) {
        AcDbDynBlockReferenceProperty& vlastnost = aVlastnosti[i];
        AcString sJmeno = vlastnost.propertyName();
        NaVelka(sJmeno);
        const CVoxDynProp::Hodnota* pHodnota = vlastnosti.Najdi(sJmeno.kACharPtr());
        if (pHodnota)
            vlastnost.setValue(CVoxDynProp::Variant(*pHodnota));
    }
}

// ---- ByLayer and ByBlock ----------------------------------------------------------------------

int NastavByLayer(AcDbEntity* pEntita, AcDbDatabase* pDb) {
    AcCmColor barva;
    barva.setColorMethod(AcCmEntityColor::kByLayer);
    int nChyby = pEntita->setColor(barva, true);
    nChyby += pEntita->setLinetype(pDb->byLayerLinetype(), true);
    nChyby += pEntita->setLineWeight(AcDb::kLnWtByLayer, true);
    return nChyby;
}

int NastavByBlock(AcDbEntity* pEntita, AcDbDatabase* pDb) {
    AcCmColor barva;
    barva.setColorMethod(AcCmEntityColor::kByBlock);
    int nChyby = pEntita->setColor(barva, true);
    nChyby += pEntita->setLinetype(pDb->byBlockLinetype(), true);
    nChyby += pEntita->setLineWeight(AcDb::kLnWtByBlock, true);
    return nChyby;
}
