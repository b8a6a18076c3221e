#include "StdAfx.h"

#include "TextovePrikazy.h"

#include "CVoxEntity.h"
#include "CVoxException.h"
#include "CVoxVyber.h"
#include "acedinpl.h"

#include <string>

namespace {

bool JeTrida(const AcRxObject* pObj, const AcRxClass* pTrida) {
    return pObj && pObj->isA() == pTrida;
}

// The in-place editor on a copy of the multileader's text, stored back when it was edited.
void EditujMLeader(AcDbMLeader* pMLeader) {
    AcDbMText* pText = pMLeader->mtext();
    if (!pText)
        return;
    if (AcEdInplaceTextEditor::invoke(pText, nullptr) == Acad::eOk)
        pMLeader->setMText(pText);
    delete pText;
}

void EditujAtribut(AcDbAttribute* pAtribut) {
    if (pAtribut->isMTextAttribute()) {
        if (AcDbMText* pText = pAtribut->getMTextAttribute()) {
            if (AcEdInplaceTextEditor::invoke(pText, nullptr) == Acad::eOk)
                pAtribut->setMTextAttribute(pText);
            delete pText;
            return;
        }
    }
    AcEdInplaceTextEditor::invoke(pAtribut, nullptr);
}

// Members of a selection set by object id.
AcDbObjectId IdClenu(const ads_name ss, Adesk::Int32 i) {
    ads_name en;
    AcDbObjectId id;
    if (acedSSName(ss, i, en) == RTNORM)
        acdbGetObjectId(id, en);
    return id;
}

Adesk::Int32 PocetClenu(const ads_name ss) {
    Adesk::Int32 n = 0;
    if (acedSSLength(ss, &n) != RTNORM)
        return 0;
    return n;
}

// What ca takes from its sample.
struct VlastnostiVzoru {
    Adesk::UInt16 nBarva = 256;
    AcDbObjectId idHladina;
    AcDbObjectId idTypCary;
    double dMeritkoCary = 1.0;
    AcDb::LineWeight nTloustka = AcDb::kLnWtByLayer;
    int nDruhTextu = 0; // 1 a text, 2 a multi-line text
    AcDbObjectId idStyl;
    double dSirka = 1.0;
};

// Upper-cases a text in place under the locale.
void NaVelkaL(AcString& s, _locale_t locale) {
    std::wstring sBuffer(s.constPtr());
    _wcsupr_l(sBuffer.data(), locale);
    s = AcString(sBuffer);
}

} // namespace

void PrikazEd() {
    AcDbEntity* pEntita = nullptr;
    AcDbBlockReference* pBlokRef = nullptr;
    if (VyberTextNeboAtribut(pEntita, pBlokRef, true, true) != VYBER_OK) {
        acutPrintf(L"\nChyba výběru textu nebo atributu nebo odkazu");
        return;
    }
    if (!JeTrida(pEntita, AcDbLine::desc()) && !JeTrida(pEntita, AcDbText::desc()) &&
        !JeTrida(pEntita, AcDbMLeader::desc()) && !JeTrida(pEntita, AcDbMText::desc()) &&
        !JeTrida(pEntita, AcDbBlockReference::desc()) && !JeTrida(pEntita, AcDbAttribute::desc())) {
        if (pEntita)
            pEntita->close();
        acutPrintf(L"\nNeznámá chyba - vrácený objekt není úsečka nebo text nebo mleader nebo "
                   L"blockref...");
        return;
    }
    if (pEntita->upgradeOpen() != Acad::eOk) {
        pEntita->close();
        return;
    }
    try {
        if (auto* pText = AcDbText::cast(pEntita); pText && JeTrida(pText, AcDbText::desc()))
            AcEdInplaceTextEditor::invoke(pText, nullptr);
        else if (auto* pMText = AcDbMText::cast(pEntita))
            AcEdInplaceTextEditor::invoke(pMText, nullptr);
        else if (auto* pMLeader = AcDbMLeader::cast(pEntita))
            EditujMLeader(pMLeader);
        else if (auto* pAtribut = AcDbAttribute::cast(pEntita); pAtribut && pBlokRef)
            EditujAtribut(pAtribut);
    } catch (...) {
        pEntita->close();
        throw;
    }
    pEntita->close();
}

void PrikazCa() {
    ads_name ssVyber = {0, 0};
    const bool bPickfirst = acedSSGet(L"_I", nullptr, nullptr, nullptr, ssVyber) == RTNORM;
    if (!bPickfirst)
        ssVyber[0] = ssVyber[1] = 0;

    ads_name enVzor;
    ads_point ptVzor;
    if (acedEntSel(L"\nVyber vzor: ", enVzor, ptVzor) != RTNORM) {
        acutPrintf(L"\nNepodařilo se vybrat !!!");
        if (bPickfirst)
            acedSSFree(ssVyber);
        return;
    }
    AcDbObjectId idVzor;
    AcDbEntity* pVzor = nullptr;
    if (acdbGetObjectId(idVzor, enVzor) != Acad::eOk ||
        acdbOpenAcDbEntity(pVzor, idVzor, AcDb::kForRead) != Acad::eOk) {
        acutPrintf(L"\nNeznámá chyba...");
        if (bPickfirst)
            acedSSFree(ssVyber);
        return;
    }
    VlastnostiVzoru vzor;
    vzor.nBarva = pVzor->colorIndex();
    vzor.idHladina = pVzor->layerId();
    vzor.idTypCary = pVzor->linetypeId();
    vzor.dMeritkoCary = pVzor->linetypeScale();
    vzor.nTloustka = pVzor->lineWeight();
    if (JeTrida(pVzor, AcDbText::desc())) {
        const auto* pText = AcDbText::cast(pVzor);
        vzor.nDruhTextu = 1;
        vzor.idStyl = pText->textStyle();
        vzor.dSirka = pText->widthFactor();
    } else if (JeTrida(pVzor, AcDbMText::desc())) {
        vzor.nDruhTextu = 2;
        vzor.idStyl = AcDbMText::cast(pVzor)->textStyle();
    }
    pVzor->close();

    if (!bPickfirst) {
        acedInitGet(1, nullptr);
        acutPrintf(L"\nVyberte měněné entity: ");
        if (acedSSGet(nullptr, nullptr, nullptr, nullptr, ssVyber) != RTNORM) {
            acutPrintf(L"\nChyba při výběru");
            return;
        }
    }
    const Adesk::Int32 nPocet = PocetClenu(ssVyber);
    for (Adesk::Int32 i = 0; i < nPocet; ++i) {
        AcDbEntity* pEnt = nullptr;
        if (acdbOpenAcDbEntity(pEnt, IdClenu(ssVyber, i), AcDb::kForWrite) != Acad::eOk) {
            acutPrintf(L"\nNeotevřena entita...");
            continue;
        }
        pEnt->setColorIndex(vzor.nBarva, true);
        pEnt->setLayer(vzor.idHladina, true);
        pEnt->setLinetype(vzor.idTypCary, true);
        pEnt->setLinetypeScale(vzor.dMeritkoCary, true);
        pEnt->setLineWeight(vzor.nTloustka, true);
        if (vzor.nDruhTextu != 0) {
            if (JeTrida(pEnt, AcDbMText::desc())) {
                AcDbMText::cast(pEnt)->setTextStyle(vzor.idStyl);
            } else if (JeTrida(pEnt, AcDbText::desc())) {
                auto* pText = AcDbText::cast(pEnt);
                pText->setTextStyle(vzor.idStyl);
                // A multi-line sample has no width factor: the target keeps its own.
                if (vzor.nDruhTextu == 1)
                    pText->setWidthFactor(vzor.dSirka);
            }
        }
        pEnt->close();
    }
    acedSSFree(ssVyber);
    acutPrintf(L"\nZměněno %i entit", static_cast<int>(nPocet));
}

void PrikazMat() {
    ads_name ss = {0, 0};
    if (VyberAtributDef(ss, true) != VYBER_OK) {
        acutPrintf(L"\nChyba výběru atributu");
        return;
    }
    AcDbBlockTableRecord* pModel = nullptr;
    {
        AcDbBlockTable* pTabulka = nullptr;
        Acad::ErrorStatus es = acdbHostApplicationServices()->workingDatabase()->getBlockTable(
            pTabulka, AcDb::kForRead);
        if (es != Acad::eOk) {
            acedSSFree(ss);
            VOX_THROW_ERR("Nelze otevřít AcDbBlockTable pro čtení", es);
        }
        es = pTabulka->getAt(ACDB_MODEL_SPACE, pModel, AcDb::kForWrite);
        pTabulka->close();
        if (es != Acad::eOk) {
            acedSSFree(ss);
            VOX_THROW_ERR("Nelze otevřít modelový prostor pro zápis", es);
        }
    }
    try {
        const Adesk::Int32 nPocet = PocetClenu(ss);
        for (Adesk::Int32 i = 0; i < nPocet; ++i) {
            AcDbAttributeDefinition* pDef = nullptr;
            if (acdbOpenObject(pDef, IdClenu(ss, i), AcDb::kForWrite) != Acad::eOk) {
                acutPrintf(L"\n**ERROR**Neotevřena entita Atributu...");
                continue;
            }
            CVoxTextDef def;
            def.m_ptVlozeni = pDef->position();
            def.m_sText = pDef->tagConst();
            def.m_dVyska = pDef->height();
            def.m_dUhel = pDef->rotation();
            def.m_dSirka = pDef->widthFactor();
            def.m_nHorizontalne = pDef->horizontalMode();
            def.m_nVertikalne = pDef->verticalMode();
            def.m_idHladina = pDef->layerId();
            def.m_idStyl = pDef->textStyle();
            try {
                VytvorText(def, pModel, true, false, false);
            } catch (...) {
                pDef->close();
                throw;
            }
            pDef->erase();
            pDef->close();
        }
    } catch (...) {
        pModel->close();
        acedSSFree(ss);
        throw;
    }
    pModel->close();
    acedSSFree(ss);
}

void PrikazTv() {
    AcDbObjectId id;
    if (VyberTextId(id, false) != VYBER_OK)
        return;
    AcDbEntity* pEnt = nullptr;
    if (acdbOpenAcDbEntity(pEnt, id, AcDb::kForWrite) != Acad::eOk)
        return;
    _locale_t locale = _create_locale(LC_CTYPE, "cs-CZ");
    if (auto* pText = AcDbText::cast(pEnt); pText && JeTrida(pText, AcDbText::desc())) {
        AcString s = pText->textStringConst();
        NaVelkaL(s, locale);
        pText->setTextString(s);
    } else if (auto* pMLeader = AcDbMLeader::cast(pEnt)) {
        if (pMLeader->contentType() == AcDbMLeaderStyle::kMTextContent) {
            if (AcDbMText* pMText = pMLeader->mtext()) {
                AcString s;
                pMText->contents(s);
                NaVelkaL(s, locale);
                pMText->setContents(s);
                pMLeader->setMText(pMText);
                delete pMText;
            }
        }
    } else if (auto* pMText = AcDbMText::cast(pEnt)) {
        AcString s;
        pMText->contents(s);
        NaVelkaL(s, locale);
        pMText->setContents(s);
    }
    if (locale)
        _free_locale(locale);
    pEnt->close();
}

AcString OdstranFormat(const AcString& sObsah) {
    const std::wstring s = sObsah.constPtr();
    std::wstring sVysledek;
    sVysledek.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        const wchar_t c = s[i];
        if (c == L'{' || c == L'}')
            continue;
        if (c == L'\\' && i + 1 < s.size()) {
            const wchar_t k = s[i + 1];
            if (k == L'C' || k == L'c' || k == L'F' || k == L'f' || k == L'H' || k == L'h' ||
                k == L'Q' || k == L'q') {
                const size_t nKonec = s.find(L';', i + 2);
                if (nKonec == std::wstring::npos)
                    break;
                i = nKonec;
                continue;
            }
            sVysledek += c;
            sVysledek += k;
            ++i;
            continue;
        }
        sVysledek += c;
    }
    return AcString(sVysledek);
}

void PrikazMtcf() {
    resbuf* pFiltr =
        acutBuildList(-4, L"<or", RTDXF0, L"MTEXT", RTDXF0, L"MULTILEADER", -4, L"or>", RTNONE);
    acutPrintf(L"\nVyber MText nebo MLeader ");
    ads_name ss = {0, 0};
    for (;;) {
        const int nVysledek = acedSSGet(nullptr, nullptr, nullptr, pFiltr, ss);
        if (nVysledek == RTNORM)
            break;
        if (nVysledek == RTCAN) {
            acutRelRb(pFiltr);
            return;
        }
        acutPrintf(L"\nMusíte vybrat TEXT nebo MTEXT!!!: ");
    }
    acutRelRb(pFiltr);

    const Adesk::Int32 nPocet = PocetClenu(ss);
    for (Adesk::Int32 i = 0; i < nPocet; ++i) {
        const AcDbObjectId id = IdClenu(ss, i);
        AcDbMLeader* pMLeader = nullptr;
        if (acdbOpenObject(pMLeader, id, AcDb::kForWrite) == Acad::eOk) {
            if (AcDbMText* pMText = pMLeader->mtext()) {
                AcString s;
                pMText->contents(s);
                pMText->setContents(OdstranFormat(s));
                pMLeader->setMText(pMText);
                delete pMText;
            }
            pMLeader->close();
        }
        AcDbMText* pMText = nullptr;
        if (acdbOpenObject(pMText, id, AcDb::kForWrite) == Acad::eOk) {
            AcString s;
            pMText->contents(s);
            pMText->setContents(OdstranFormat(s));
            pMText->close();
        }
    }
    acedSSFree(ss);
}

VoxUPrevodnikHacku::VoxUPrevodnikHacku() : m_nPocet(16) {
    static const ACHAR aSpatne[] = {232, 239, 236, 190, 242, 248, 157, 249, 200,
                                    188, 210, 216, 141, 217, 204, 207, 0};
    static const ACHAR aSpravne[] = {269, 271, 283, 318, 328, 345, 357, 367, 268,
                                     317, 327, 344, 356, 366, 282, 270, 0};
    m_sSpatne = aSpatne;
    m_sSpravne = aSpravne;
}

void VoxUPrevodnikHacku::Oprav(AcString& s) const {
    std::wstring sText = s.constPtr();
    for (int n = 0; n < m_nPocet; ++n) {
        const ACHAR cSpatne = m_sSpatne.getAt(n);
        const ACHAR cSpravne = m_sSpravne.getAt(n);
        for (wchar_t& c : sText)
            if (c == cSpatne)
                c = cSpravne;
    }
    s = AcString(sText);
}

int VoxUPrevodnikHacku::operator()(AcDbEntity* pEnt) {
    if (!JeTrida(pEnt, AcDbMText::desc()))
        return 0;
    auto* pMText = AcDbMText::cast(pEnt);
    AcString s;
    pMText->contents(s);
    for (int i = 0; i < s.length(); ++i)
        acutPrintf(L"\n::%i,%c", static_cast<int>(s.getAt(i)), s.getAt(i));
    Oprav(s);
    for (int i = 0; i < s.length(); ++i)
        acutPrintf(L"\n::%i,%c", static_cast<int>(s.getAt(i)), s.getAt(i));
    pMText->setContents(s);
    return 0;
}

void PrikazKub() {
    VoxUPrevodnikHacku fce;
    ProjdiDwg(fce, PROJDI_MODEL | PROJDI_LAYOUTY | PROJDI_BLOKY, true, 1,
              acdbHostApplicationServices()->workingDatabase());
}
