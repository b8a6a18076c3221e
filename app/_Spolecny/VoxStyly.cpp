#include "StdAfx.h"

#include "VoxStyly.h"

#include "CVoxAnno.h"
#include "CVoxException.h"
#include "dbmleaderstyle.h"

#include <memory>

namespace {

AcDbDatabase* PracovniDb() {
    return acdbHostApplicationServices()->workingDatabase();
}

// A new style (in the database, open for write) is made annotative; on failure it is closed
// before the exception passes on.
void UdelejAnotativni(AcDbObject* pObj) {
    try {
        CVoxAnno::NastavAnnotative(pObj, true);
    } catch (...) {
        pObj->close();
        throw;
    }
}

// The id of the block of that name, null when there is none.
AcDbObjectId IdBloku(const ACHAR* sJmeno, AcDbBlockTable* pTabulka) {
    AcDbObjectId id;
    if (pTabulka->getAt(sJmeno, id) != Acad::eOk)
        id = AcDbObjectId::kNull;
    return id;
}

} // namespace

// ---- Text styles ------------------------------------------------------------------------------

int NastavHodnotyTextStylu(AcDbTextStyleTableRecord* pStyl, const TextStyleDef& def) {
    int nChyby = 0;
    nChyby += pStyl->setFileName(def.m_sSoubor.c_str());
    pStyl->setIsShapeFile(false);
    nChyby += pStyl->setFont(def.m_sFont.c_str(), def.m_bTucne, def.m_bKurziva, 1,
                             def.m_nPitch | def.m_nFamily, true);
    pStyl->setIsVertical(false);
    nChyby += pStyl->setObliquingAngle(0.0);
    nChyby += pStyl->setPriorSize(2.0);
    nChyby += pStyl->setTextSize(def.m_dVyska);
    nChyby += pStyl->setXScale(def.m_dSirka);
    pStyl->setFlagBits(0);
    return nChyby;
}

AcDbObjectId VytvorTextStyl(const TextStyleDef& def) {
    std::unique_ptr<AcDbTextStyleTableRecord> pNovy(new AcDbTextStyleTableRecord());
    int nChyby = pNovy->setName(def.m_sJmeno.c_str());
    nChyby += NastavHodnotyTextStylu(pNovy.get(), def);
    if (nChyby != 0)
        VOX_THROW("Přiřazení hodnot do TextStyleRecord neproběhlo v pořádku");

    AcDbTextStyleTable* pTabulka = nullptr;
    if (PracovniDb()->getTextStyleTable(pTabulka, AcDb::kForWrite) != Acad::eOk)
        VOX_THROW("Nelze otevřít TexTStyleTable");
    AcDbObjectId id;
    const Acad::ErrorStatus es = pTabulka->add(id, pNovy.get());
    pTabulka->close();
    if (es != Acad::eOk)
        VOX_THROW_ERR("Nelze přidat TexTStyleTableRecord do databáze", es);
    AcDbTextStyleTableRecord* pStyl = pNovy.release();
    UdelejAnotativni(pStyl);
    pStyl->close();
    return id;
}

AcDbObjectId ZajistiTextStyl(const std::wstring& sJmeno) {
    AcDbTextStyleTable* pTabulka = nullptr;
    if (PracovniDb()->getTextStyleTable(pTabulka, AcDb::kForRead) != Acad::eOk)
        VOX_THROW("Nelze otevřít TexTStyleTable");
    AcDbObjectId id;
    const Acad::ErrorStatus es = pTabulka->getAt(sJmeno.c_str(), id);
    pTabulka->close();
    if (es == Acad::eOk)
        return id;
    const TextStyleDef* pDef = g_VoxSet.NajdiTextStyl(sJmeno);
    return pDef ? VytvorTextStyl(*pDef) : AcDbObjectId::kNull;
}

// ---- Dimension styles -------------------------------------------------------------------------

int NastavHodnotyKotStylu(AcDbDimStyleTableRecord* pStyl, const DimStyleDef& def) {
    AcCmColor byBlock;
    byBlock.setColorIndex(0);
    int nChyby = 0;
    nChyby += pStyl->setDimclrt(byBlock);
    nChyby += pStyl->setDimclrd(byBlock);
    nChyby += pStyl->setDimclre(byBlock);
    nChyby += pStyl->setDimfxlenOn(false);
    nChyby += pStyl->setDimasz(2.5);
    nChyby += pStyl->setDimdle(1.25);
    nChyby += pStyl->setDimexo(2.5);
    nChyby += pStyl->setDimexe(1.25);
    nChyby += pStyl->setDimgap(0.63);
    nChyby += pStyl->setDimdsep(L'.');
    nChyby += pStyl->setDimlunit(2);
    nChyby += pStyl->setDimsah(false);
    nChyby += pStyl->setDimsoxd(false);
    nChyby += pStyl->setDimtofl(true);
    nChyby += pStyl->setDimtih(false);
    nChyby += pStyl->setDimtoh(false);
    nChyby += pStyl->setDimtxt(2.0);
    nChyby += pStyl->setDimtxsty(ZajistiTextStyl(def.m_sTextStyl));
    nChyby += pStyl->setDimblk(def.m_sSipka.c_str());
    nChyby += pStyl->setDimlfac(def.m_dDimlfac);
    nChyby += pStyl->setDimpost(def.m_sPripona.c_str());
    nChyby += pStyl->setDimrnd(def.m_dDimrnd);
    nChyby += pStyl->setDimdec(def.m_nDimdec);
    nChyby += pStyl->setDimsd1(def.m_bDimsd1);
    nChyby += pStyl->setDimsd2(def.m_bDimsd2);
    nChyby += pStyl->setDimse1(def.m_bPotlacitVynasecky);
    nChyby += pStyl->setDimse2(def.m_bPotlacitVynasecky);
    nChyby += pStyl->setDimatfit(def.m_nDimatfit);
    nChyby += pStyl->setDimtad(def.m_nDimtad);
    nChyby += pStyl->setDimtvp(def.m_dDimtvp);
    nChyby += pStyl->setDimtmove(def.m_nDimtmove);
    nChyby += pStyl->setDimupt(def.m_bDimupt);
    nChyby += pStyl->setDimjust(def.m_nDimjust);
    nChyby += pStyl->setDimzin(def.m_nDimzin);
    return nChyby;
}

AcDbObjectId VytvorKotStyl(const DimStyleDef& def) {
    std::unique_ptr<AcDbDimStyleTableRecord> pNovy(new AcDbDimStyleTableRecord());
    int nChyby = pNovy->setName(def.m_sJmeno.c_str());
    nChyby += NastavHodnotyKotStylu(pNovy.get(), def);
    if (nChyby != 0)
        VOX_THROW("Přiřazení hodnot do DimStyleRecord neproběhlo v pořádku");

    AcDbDimStyleTable* pTabulka = nullptr;
    if (PracovniDb()->getDimStyleTable(pTabulka, AcDb::kForWrite) != Acad::eOk)
        VOX_THROW("Nelze otevřít DimStyleTable pro zápis");
    AcDbObjectId id;
    const Acad::ErrorStatus es = pTabulka->add(id, pNovy.get());
    pTabulka->close();
    if (es != Acad::eOk)
        VOX_THROW_ERR("Nelze přidat DimStyleRecord do databáze", es);
    AcDbDimStyleTableRecord* pStyl = pNovy.release();
    UdelejAnotativni(pStyl);
    pStyl->close();
    return id;
}

AcDbObjectId ZajistiKotStyl(const std::wstring& sJmeno) {
    AcDbDimStyleTable* pTabulka = nullptr;
    if (PracovniDb()->getDimStyleTable(pTabulka, AcDb::kForRead) != Acad::eOk)
        VOX_THROW("Nelze otevřít DimStyleTable pro čtení");
    AcDbObjectId id;
    const Acad::ErrorStatus es = pTabulka->getAt(sJmeno.c_str(), id);
    pTabulka->close();
    if (es == Acad::eOk)
        return id;
    const DimStyleDef* pDef = g_VoxSet.NajdiKotStyl(sJmeno);
    return pDef ? VytvorKotStyl(*pDef) : AcDbObjectId::kNull;
}

// ---- Multileader styles -----------------------------------------------------------------------

int NastavHodnotyMLeaderStylu(AcDbMLeaderStyle* pStyl, const MLeaderStyleDef& def) {
    int nChyby = 0;
    nChyby += pStyl->setTextStyleId(ZajistiTextStyl(def.m_sTextStyl));
    nChyby += pStyl->setTextHeight(def.m_dVyskaTextu);
    nChyby += pStyl->setLeaderLineType(AcDbMLeaderStyle::kStraightLeader);
    nChyby += pStyl->setTextAttachmentType(AcDbMLeaderStyle::kAttachmentBottomOfTop,
                                           AcDbMLeaderStyle::kLeftLeader);
    nChyby += pStyl->setTextAttachmentType(AcDbMLeaderStyle::kAttachmentBottomOfTop,
                                           AcDbMLeaderStyle::kRightLeader);
    nChyby += pStyl->setArrowSize(def.m_dVelikostSipky);
    nChyby += pStyl->setContentType(AcDbMLeaderStyle::kMTextContent);
    nChyby += pStyl->setDoglegLength(1.0);
    nChyby += pStyl->setLandingGap(def.m_dVyskaTextu / 2.0);
    nChyby += pStyl->setTextAlignAlwaysLeft(false);
    pStyl->setAlignSpace(4.0);
    nChyby += pStyl->setLeaderLineTypeId(PracovniDb()->continuousLinetype());
    nChyby += pStyl->setEnableLanding(true);
    nChyby += pStyl->setEnableDogleg(true);
    return nChyby;
}

void NastavSipkuMLeaderStylu(AcDbMLeaderStyle* pStyl, const MLeaderStyleDef& def) {
    if (def.m_nSipka != 1)
        return;
    AcDbBlockTable* pTabulka = nullptr;
    if (PracovniDb()->getBlockTable(pTabulka, AcDb::kForRead) != Acad::eOk)
        VOX_THROW("Nelze otevřít Block table for reading");
    AcDbObjectId idTecka = IdBloku(L"_DOT", pTabulka);
    pTabulka->close();
    if (idTecka.isNull()) {
        // Setting DIMBLK makes the host create the block; DIMBLK is not set back.
        resbuf rb{};
        rb.restype = RTSTR;
        rb.resval.rstring = const_cast<ACHAR*>(L"_DOT");
        if (acedSetVar(L"DIMBLK", &rb) != RTNORM)
            VOX_THROW("Nelze nastavit proměnnou DIMBLK");
        if (PracovniDb()->getBlockTable(pTabulka, AcDb::kForRead) != Acad::eOk)
            VOX_THROW("Nelze otevřít Block table for reading");
        idTecka = IdBloku(L"_DOT", pTabulka);
        pTabulka->close();
    }
    pStyl->setArrowSymbolId(idTecka);
}

AcDbObjectId VytvorMLeaderStyl(const MLeaderStyleDef& def) {
    std::unique_ptr<AcDbMLeaderStyle> pNovy(new AcDbMLeaderStyle());
    int nChyby = pNovy->setName(def.m_sJmeno.c_str());
    nChyby += NastavHodnotyMLeaderStylu(pNovy.get(), def);
    if (nChyby != 0)
        VOX_THROW("Nepodařilo se nastavit některou z hodnot pro AcDbMLeaderStyle");
    NastavSipkuMLeaderStylu(pNovy.get(), def);

    AcDbDictionary* pNod = nullptr;
    if (PracovniDb()->getNamedObjectsDictionary(pNod, AcDb::kForRead) != Acad::eOk)
        VOX_THROW("Nelze otevřít AcDbNamedObjectDictionary for read");
    AcDbDictionary* pSlovnik = nullptr;
    if (pNod->getAt(L"ACAD_MLEADERSTYLE", pSlovnik, AcDb::kForWrite) != Acad::eOk) {
        pNod->close();
        VOX_THROW("Nelze otevřít AcDbMLeaderDictionary for write");
    }
    AcDbObjectId id;
    const Acad::ErrorStatus es = pSlovnik->setAt(def.m_sJmeno.c_str(), pNovy.get(), id);
    pSlovnik->close();
    pNod->close();
    if (es != Acad::eOk)
        VOX_THROW_ERR("Nelze vytvořit otevřít AcDbMLeaderDictionary for write", es);
    AcDbMLeaderStyle* pStyl = pNovy.release();
    UdelejAnotativni(pStyl);
    pStyl->close();
    return id;
}

AcDbObjectId ZajistiMLeaderStyl(const std::wstring& sJmeno) {
    AcDbDictionary* pNod = nullptr;
    if (PracovniDb()->getNamedObjectsDictionary(pNod, AcDb::kForRead) != Acad::eOk)
        VOX_THROW("Nelze otevřít AcDbDictionary pro čtení");
    AcDbDictionary* pSlovnik = nullptr;
    const Acad::ErrorStatus esSlovnik = pNod->getAt(L"ACAD_MLEADERSTYLE", pSlovnik, AcDb::kForRead);
    pNod->close();
    if (esSlovnik != Acad::eOk)
        VOX_THROW("Nelze otevřít AcDbDictionary pro čtení");
    AcDbObjectId id;
    const Acad::ErrorStatus es = pSlovnik->getAt(sJmeno.c_str(), id);
    pSlovnik->close();
    if (es == Acad::eOk)
        return id;
    const MLeaderStyleDef* pDef = g_VoxSet.NajdiMLeaderStyl(sJmeno);
    return pDef ? VytvorMLeaderStyl(*pDef) : AcDbObjectId::kNull;
}
