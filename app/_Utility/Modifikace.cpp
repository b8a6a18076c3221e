#include "StdAfx.h"

#include "Modifikace.h"

#include "CVoxAnno.h"
#include "CVoxException.h"
#include "CVoxVyber.h"
#include "VoxDb.h"
#include "VoxStyly.h"

#include <memory>

namespace {

// What is taken from the source text.
struct ZdrojovyText {
    AcString sObsah = L"****";
    AcGePoint3d ptText;
    double dSirka = 0.0;
    bool bMText = false;
};

ZdrojovyText PrevezmiText(const ads_name ss) {
    ads_name en;
    AcDbObjectId id;
    AcDbEntity* pEnt = nullptr;
    Acad::ErrorStatus es = Acad::eInvalidAdsName;
    if (acedSSName(ss, 0, en) == RTNORM && acdbGetObjectId(id, en) == Acad::eOk)
        es = acdbOpenAcDbEntity(pEnt, id, AcDb::kForWrite);
    if (es != Acad::eOk)
        VOX_THROW_ERR("Nepodařilo se otevřít vybranou entitu - text", es);
    ZdrojovyText zdroj;
    if (auto* pText = AcDbText::cast(pEnt)) {
        zdroj.sObsah = pText->textStringConst();
        zdroj.ptText = pText->position();
    } else if (auto* pMText = AcDbMText::cast(pEnt)) {
        pMText->contents(zdroj.sObsah);
        zdroj.ptText = pMText->location();
        zdroj.dSirka = pMText->width();
        zdroj.bMText = true;
    }
    pEnt->erase();
    pEnt->close();
    return zdroj;
}

} // namespace

void PrikazCmm() {
    ads_point ptVstup;
    if (acedGetPoint(nullptr, L"\nZadej bod odkazu: ", ptVstup) != RTNORM)
        return;
    // The point comes in the current UCS; the entities are in world coordinates.
    const AcGePoint3d ptSipka = UcsNaWcs(AcGePoint3d(ptVstup[0], ptVstup[1], ptVstup[2]), 0);

    ads_name ss = {0, 0};
    if (VyberEntity(ss, false, false, DRUH_TEXT | DRUH_MTEXT) != VYBER_OK) {
        acutPrintf(L"\nChyba výběru...");
        return;
    }
    ZdrojovyText zdroj;
    try {
        zdroj = PrevezmiText(ss);
    } catch (...) {
        acedSSFree(ss);
        throw;
    }
    acedSSFree(ss);

    const AcDbObjectId idMLStyl = ZajistiMLeaderStyl(L"KV_SIPKA");
    const AcDbObjectId idTextStyl = ZajistiTextStyl(L"KV_TXT_MALY");
    if (idMLStyl.isNull() || idTextStyl.isNull())
        VOX_THROW("Nelze nastavit ML nebo TXT style");

    AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
    std::unique_ptr<AcDbMText> pMText(new AcDbMText());
    pMText->setTextStyle(idTextStyl);
    pMText->setTextHeight(2.0 / CVoxAnno::AktualniMeritko(pDb));
    if (pMText->setContents(zdroj.sObsah) != Acad::eOk)
        VOX_THROW("Nelze přidat text pro MLeader");

    auto* pMLeader = new AcDbMLeader();
    AcDbMLeaderStyle::TextAlignmentType nZarovnani;
    AcDbMLeaderStyle::LeaderDirectionType nSmerOdkazu;
    AcGeVector3d smerLomu;
    if (zdroj.ptText.x > ptSipka.x) {
        nZarovnani = AcDbMLeaderStyle::kLeftAlignment;
        pMText->setAttachment(AcDbMText::kMiddleLeft);
        nSmerOdkazu = AcDbMLeaderStyle::kLeftLeader;
        smerLomu.set(1.0, 0.0, 0.0);
    } else {
        nZarovnani = AcDbMLeaderStyle::kRightAlignment;
        pMText->setAttachment(AcDbMText::kMiddleRight);
        nSmerOdkazu = AcDbMLeaderStyle::kRightLeader;
        smerLomu.set(-1.0, 0.0, 0.0);
    }
    const AcGePoint3d ptUmisteni = zdroj.ptText + smerLomu * pMLeader->doglegLength();
    pMText->setLocation(ptUmisteni);
    if (zdroj.bMText && zdroj.dSirka > 0.0)
        pMText->setWidth(zdroj.dSirka);

    // Into model space.
    AcDbBlockTable* pTabulka = nullptr;
    Acad::ErrorStatus es = pDb->getBlockTable(pTabulka, AcDb::kForWrite);
    if (es != Acad::eOk) {
        delete pMLeader;
        VOX_THROW_ERR("Nelze otevřít pBlockTable pro zápis", es);
    }
    AcDbBlockTableRecord* pModel = nullptr;
    es = pTabulka->getAt(ACDB_MODEL_SPACE, pModel, AcDb::kForWrite);
    pTabulka->close();
    if (es != Acad::eOk) {
        delete pMLeader;
        VOX_THROW_ERR("Nelze otevřít modelový prostor pro zápis", es);
    }
    AcDbObjectId idMLeader;
    es = pModel->appendAcDbEntity(idMLeader, pMLeader);
    pModel->close();
    if (es != Acad::eOk) {
        delete pMLeader;
        VOX_THROW_ERR("Nelze přidat MLeader do modelového prostoru", es);
    }

    int nChyby = 0;
    try {
        int nOdkaz = 0;
        int nCara = 0;
        nChyby += pMLeader->setContentType(AcDbMLeaderStyle::kMTextContent);
        nChyby += pMLeader->setMLeaderStyle(idMLStyl);
        nChyby += pMLeader->setTextAlignmentType(nZarovnani);
        nChyby += pMLeader->setTextAttachmentType(AcDbMLeaderStyle::kAttachmentMiddle, nSmerOdkazu);
        nChyby += pMLeader->setTextLocation(ptUmisteni);
        nChyby += pMLeader->addLeader(nOdkaz);
        nChyby += pMLeader->addLeaderLine(nOdkaz, nCara);
        nChyby += pMLeader->addFirstVertex(nCara, ptSipka);
        nChyby += pMLeader->setLastVertex(nCara, zdroj.ptText);
        nChyby += pMLeader->setDoglegDirection(nOdkaz, smerLomu);
        nChyby += pMLeader->setMText(pMText.get());
    } catch (const CVoxException&) {
        pMLeader->erase();
        pMLeader->close();
        throw;
    } catch (...) {
        pMLeader->erase();
        pMLeader->close();
        VOX_THROW("Neočekávaná chyba při nastavování textu");
    }
    if (nChyby != 0)
        pMLeader->erase();
    pMLeader->close();
}
