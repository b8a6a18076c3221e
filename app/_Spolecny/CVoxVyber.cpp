#include "StdAfx.h"

#include "CVoxVyber.h"

#include "CVoxException.h"

#include <initializer_list>
#include <string>

namespace {

// A filter of entity types: one type alone, several between "<or" and "or>".
resbuf* VytvorFiltr(std::initializer_list<const ACHAR*> aTypy) {
    if (aTypy.size() == 1)
        return acutBuildList(RTDXF0, *aTypy.begin(), RTNONE);
    resbuf* pZacatek = acutBuildList(-4, L"<or", RTNONE);
    resbuf* pKonec = pZacatek;
    for (const ACHAR* sTyp : aTypy) {
        pKonec->rbnext = acutBuildList(RTDXF0, sTyp, RTNONE);
        pKonec = pKonec->rbnext;
    }
    pKonec->rbnext = acutBuildList(-4, L"or>", RTNONE);
    return pZacatek;
}

bool JePrazdne(const ads_name ss) {
    return ss[0] == 0 && ss[1] == 0;
}

// Frees a set that was made and forgets its name.
void UvolniSadu(ads_name ss) {
    if (!JePrazdne(ss))
        acedSSFree(ss);
    ss[0] = ss[1] = 0;
}

// The picked entity of the class itself (not of a derived class).
bool JeTrida(const AcDbObject* pObj, const AcRxClass* pTrida) {
    return pObj && pObj->isA() == pTrida;
}

bool JeTextovaEntita(const AcDbObject* pObj) {
    return JeTrida(pObj, AcDbText::desc()) || JeTrida(pObj, AcDbMLeader::desc()) ||
           JeTrida(pObj, AcDbMText::desc());
}

// Opens the first member of a set for reading.
Acad::ErrorStatus OtevriPrvni(const ads_name ss, AcDbEntity*& pEntita) {
    pEntita = nullptr;
    ads_name en;
    if (acedSSName(ss, 0, en) != RTNORM)
        return Acad::eInvalidAdsName;
    AcDbObjectId id;
    Acad::ErrorStatus es = acdbGetObjectId(id, en);
    if (es != Acad::eOk)
        return es;
    return acdbOpenAcDbEntity(pEntita, id, AcDb::kForRead);
}

// The graphics marker of a buffer of acedSSNameX.
Adesk::GsMarker Znacka(const resbuf* pRb) {
    switch (pRb->restype) {
    case RTSHORT:
        return pRb->resval.rint;
    case RTLONG:
        return pRb->resval.rlong;
    case RTLONG_PTR:
    case RTINT64:
        return static_cast<Adesk::GsMarker>(pRb->resval.mnInt64);
    default:
        return 0;
    }
}

// One "_:N:S" pick with the handling of failures shared by the single picks: RTNORM with the
// set, or the result code to return (3) after the set was freed.
int VyberJednu(ads_name ss, resbuf* pFiltr, bool mustSelect, const ACHAR* sMusite) {
    for (;;) {
        UvolniSadu(ss);
        int nVysledek = acedSSGet(L"_:N:S", nullptr, nullptr, pFiltr, ss);
        if (nVysledek == RTNORM)
            return RTNORM;
        ss[0] = ss[1] = 0;
        if (!mustSelect || nVysledek == RTCAN)
            return VYBER_ZRUSENO;
        acutPrintf(L"%ls", sMusite);
    }
}

} // namespace

AcDbObjectId CVoxSeznamReferenci::Id(int i) const {
    AcDbObjectId id;
    acdbGetObjectId(id, Jmeno(i));
    return id;
}

void CVoxSeznamReferenci::Pridej(const ads_name jmeno) {
    m_aJmena.push_back({jmeno[0], jmeno[1]});
}

AcGePoint3d CVoxSeznamReferenci::NaWcs(const AcGePoint3d& bod) const {
    AcGePoint3d vysledek = bod;
    for (int i = 0; i < Pocet(); ++i) {
        AcDbBlockReference* pRef = nullptr;
        Acad::ErrorStatus es = acdbOpenObject(pRef, Id(i), AcDb::kForRead);
        if (es != Acad::eOk)
            VOX_THROW_ERR("Nelze otevřít rodičovskou referenci bloku", es);
        vysledek.transformBy(pRef->blockTransform());
        pRef->close();
    }
    return vysledek;
}

int VyberEntity(ads_name ss, bool mustSelect, bool multiple, int nDruh) {
    ss[0] = ss[1] = 0;
    struct Druh {
        int nBit;
        const ACHAR* sTyp;
        const ACHAR* sPopis;
    };
    static const Druh aDruhy[] = {{DRUH_TEXT, L"TEXT", L"TEXT"},
                                  {DRUH_MTEXT, L"MTEXT", L"MTEXT"},
                                  {DRUH_MLEADER, L"MULTILEADER", L"MultiODKAZ"},
                                  {DRUH_BLOK, L"INSERT", L"referenci bloku"}};
    std::vector<const Druh*> aVybrane;
    for (const Druh& d : aDruhy)
        if (nDruh & d.nBit)
            aVybrane.push_back(&d);
    if (aVybrane.empty())
        return VYBER_ZRUSENO;

    // The label: "A, B nebo C".
    std::wstring sPopis;
    for (size_t i = 0; i < aVybrane.size(); ++i) {
        if (i > 0)
            sPopis += i + 1 == aVybrane.size() ? L" nebo " : L", ";
        sPopis += aVybrane[i]->sPopis;
    }
    resbuf* pFiltr = nullptr;
    switch (aVybrane.size()) {
    case 1:
        pFiltr = VytvorFiltr({aVybrane[0]->sTyp});
        break;
    case 2:
        pFiltr = VytvorFiltr({aVybrane[0]->sTyp, aVybrane[1]->sTyp});
        break;
    case 3:
        pFiltr = VytvorFiltr({aVybrane[0]->sTyp, aVybrane[1]->sTyp, aVybrane[2]->sTyp});
        break;
    default:
        pFiltr = VytvorFiltr(
            {aVybrane[0]->sTyp, aVybrane[1]->sTyp, aVybrane[2]->sTyp, aVybrane[3]->sTyp});
        break;
    }

    if (acedSSGet(L"_I", nullptr, nullptr, pFiltr, ss) == RTNORM) {
        acedSSSetFirst(nullptr, nullptr);
        acutRelRb(pFiltr);
        return VYBER_OK;
    }
    ss[0] = ss[1] = 0;
    acutPrintf(L"\nVyber %ls:", sPopis.c_str());
    for (;;) {
        UvolniSadu(ss);
        int nVysledek = acedSSGet(multiple ? nullptr : L":S", nullptr, nullptr, pFiltr, ss);
        switch (nVysledek) {
        case RTNORM:
            acutRelRb(pFiltr);
            return VYBER_OK;
        case RTCAN:
            ss[0] = ss[1] = 0;
            acutRelRb(pFiltr);
            return VYBER_ZRUSENO;
        case RTREJ:
        case RTERROR:
        case RTNONE:
            ss[0] = ss[1] = 0;
            if (!mustSelect) {
                acutRelRb(pFiltr);
                return VYBER_ZRUSENO;
            }
            break;
        default:
            ss[0] = ss[1] = 0;
            break;
        }
        acutPrintf(L"\nMusíte vybrat %ls!!!", sPopis.c_str());
    }
}

int VyberTextMtextMleader(ads_name ss, bool mustSelect, bool multiple) {
    return VyberEntity(ss, mustSelect, multiple, DRUH_TEXT | DRUH_MTEXT | DRUH_MLEADER);
}

int VyberTextId(AcDbObjectId& id, bool mustSelect) {
    id = AcDbObjectId::kNull;
    ads_name ss;
    int nVysledek = VyberTextMtextMleader(ss, mustSelect, false);
    if (nVysledek != VYBER_OK)
        return nVysledek;
    ads_name en;
    int nJmeno = acedSSName(ss, 0, en);
    acedSSFree(ss);
    if (nJmeno != RTNORM || acdbGetObjectId(id, en) != Acad::eOk) {
        id = AcDbObjectId::kNull;
        return VYBER_ZRUSENO;
    }
    return VYBER_OK;
}

int VyberAtributDef(ads_name ss, bool mustSelect) {
    ss[0] = ss[1] = 0;
    resbuf* pFiltr = VytvorFiltr({L"ATTDEF"});
    if (acedSSGet(L"_I", nullptr, nullptr, pFiltr, ss) == RTNORM) {
        acutRelRb(pFiltr);
        return VYBER_OK;
    }
    ss[0] = ss[1] = 0;
    acutPrintf(L"\nVyber DEFINICI ATRIBUTU: ");
    for (;;) {
        UvolniSadu(ss);
        int nVysledek = acedSSGet(nullptr, nullptr, nullptr, pFiltr, ss);
        if (nVysledek == RTNORM) {
            acutRelRb(pFiltr);
            return VYBER_OK;
        }
        ss[0] = ss[1] = 0;
        if (!mustSelect || nVysledek == RTCAN) {
            acutRelRb(pFiltr);
            return VYBER_ZRUSENO;
        }
        acutPrintf(L"\nMusíte vybrat DEFINICI ATRIBUTU!!!: ");
    }
}

int VnorenaEntita(const ads_name ss, AcDbEntity*& pEntita, CVoxSeznamReferenci* pReference,
                  AcDbEntity** ppSegment) {
    pEntita = nullptr;
    if (ppSegment)
        *ppSegment = nullptr;
    if (pReference)
        pReference->Vyprazdni();
    resbuf* pSeznam = nullptr;
    if (acedSSNameX(&pSeznam, ss, 0) != RTNORM || !pSeznam)
        return Acad::eAmbiguousOutput;

    // The third item names the innermost entity, the fourth is the graphics marker.
    const resbuf* pPolozka = pSeznam;
    for (int i = 1; i < 3 && pPolozka; ++i)
        pPolozka = pPolozka->rbnext;
    if (!pPolozka || pPolozka->restype != RTENAME || !pPolozka->rbnext) {
        acutRelRb(pSeznam);
        return Acad::eAmbiguousOutput;
    }
    AcDbObjectId id;
    Acad::ErrorStatus es = acdbGetObjectId(id, pPolozka->resval.rlname);
    if (es == Acad::eOk)
        es = acdbOpenAcDbEntity(pEntita, id, AcDb::kForRead);
    if (es != Acad::eOk) {
        pEntita = nullptr;
        acutPrintf(L"\n....Nepodařilo se otevřít entitu...");
        acutRelRb(pSeznam);
        return es;
    }
    Adesk::GsMarker nZnacka = Znacka(pPolozka->rbnext);

    // The picked segment of a polyline, copied by the host outside the database. The polyline
    // stays open in pEntita for the caller, who closes it once.
    if (ppSegment && AcDbPolyline::cast(pEntita)) {
        int nCest = 0;
        AcDbFullSubentPath* pCesty = nullptr;
        es = pEntita->getSubentPathsAtGsMarker(AcDb::kEdgeSubentType, nZnacka, AcGePoint3d(),
                                               AcGeMatrix3d::kIdentity, nCest, pCesty);
        if (es != Acad::eOk) {
            acutPrintf(L"\n....Nepodařilo se najít subentitu Pline...");
            pEntita->close();
            pEntita = nullptr;
            acutRelRb(pSeznam);
            return es;
        }
        if (nCest > 0)
            *ppSegment = pEntita->subentPtr(pCesty[0]);
        delete[] pCesty;
    }

    // The references that contain the entity: from the thirteenth item on, innermost first.
    if (pReference) {
        const resbuf* pRb = pSeznam;
        for (int i = 1; i < 13 && pRb; ++i)
            pRb = pRb->rbnext;
        for (; pRb && pRb->restype == RTENAME; pRb = pRb->rbnext)
            pReference->Pridej(pRb->resval.rlname);
    }
    acutRelRb(pSeznam);
    return Acad::eOk;
}

int VyberTextNeboAtribut(AcDbEntity*& pEntita, AcDbBlockReference*& pBlokRef, bool keepOpen,
                         bool mustSelect) {
    pEntita = nullptr;
    pBlokRef = nullptr;
    ads_name ss = {0, 0};
    for (;;) {
        resbuf* pFiltr = VytvorFiltr({L"MULTILEADER", L"TEXT", L"MTEXT", L"ATTRIB", L"INSERT"});
        acutPrintf(L"\nVyber text nebo Mtext, multiodkaz mebo atribut v bloku: ");
        int nVysledek =
            VyberJednu(ss, pFiltr, mustSelect,
                       L"\nMusíte vybrat text nebo Mtext, multiodkaz nebo atribut v bloku: ");
        acutRelRb(pFiltr);
        if (nVysledek != RTNORM)
            return nVysledek;

        AcDbEntity* pVybrana = nullptr;
        if (OtevriPrvni(ss, pVybrana) != Acad::eOk) {
            UvolniSadu(ss);
            acutPrintf(L"\nNeznámá chyba...");
            return VYBER_ZRUSENO;
        }
        if (JeTextovaEntita(pVybrana)) {
            pEntita = pVybrana;
            break;
        }
        AcDbEntity* pVnorena = nullptr;
        if (VnorenaEntita(ss, pVnorena, nullptr, nullptr) != Acad::eOk) {
            acutPrintf(L"\nNeznámá chyba...");
            pVybrana->close();
            UvolniSadu(ss);
            return VYBER_ZRUSENO;
        }
        if (AcDbAttribute::cast(pVnorena) && AcDbBlockReference::cast(pVybrana)) {
            pEntita = pVnorena;
            pBlokRef = AcDbBlockReference::cast(pVybrana);
            break;
        }
        pVnorena->close();
        pVybrana->close();
        UvolniSadu(ss);
        if (!mustSelect)
            return VYBER_SPATNY_DRUH;
        acutPrintf(L"\nNebyla vybrána text nebo Mtext, multiodkaz mebo atribut v bloku!! ");
    }
    UvolniSadu(ss);
    if (pBlokRef)
        pBlokRef->close();
    if (!keepOpen)
        pEntita->close();
    return VYBER_OK;
}

int VyberCaruNeboText(AcDbEntity*& pEntita, AcDbEntity*& pHorni, AcDbPolyline*& pPline,
                      bool keepOpen, bool mustSelect) {
    pEntita = nullptr;
    pHorni = nullptr;
    pPline = nullptr;
    ads_name ss = {0, 0};
    AcDbEntity* pVybrana = nullptr;
    bool bSegment = false;
    for (;;) {
        resbuf* pFiltr =
            VytvorFiltr({L"LWPOLYLINE", L"LINE", L"INSERT", L"MULTILEADER", L"TEXT", L"MTEXT"});
        acutPrintf(L"\nVyber úsečku, polyline, text nebo Mtext (i v bloku nebo v referenci), "
                   L"nebo multiodkaz: ");
        int nVysledek = VyberJednu(ss, pFiltr, mustSelect,
                                   L"\nMusíte vybrat úsečku, polyline, text nebo Mtext!!!: ");
        acutRelRb(pFiltr);
        if (nVysledek != RTNORM)
            return nVysledek;

        if (OtevriPrvni(ss, pVybrana) != Acad::eOk) {
            UvolniSadu(ss);
            acutPrintf(L"\nNeznámá chyba...");
            return VYBER_ZRUSENO;
        }
        if (JeTrida(pVybrana, AcDbLine::desc()) || JeTextovaEntita(pVybrana)) {
            pEntita = pVybrana;
            pVybrana = nullptr;
            break;
        }
        AcDbEntity* pVnorena = nullptr;
        AcDbEntity* pSegment = nullptr;
        if (VnorenaEntita(ss, pVnorena, nullptr, &pSegment) != Acad::eOk) {
            acutPrintf(L"\nNeznámá chyba...");
            pVybrana->close();
            UvolniSadu(ss);
            return VYBER_ZRUSENO;
        }
        bSegment = pSegment != nullptr;
        AcDbEntity* pVysledek = bSegment ? pSegment : pVnorena;
        if (JeTrida(pVysledek, AcDbLine::desc()) || JeTextovaEntita(pVysledek)) {
            pEntita = pVysledek;
            if (bSegment)
                pPline = AcDbPolyline::cast(pVnorena);
            break;
        }
        pVnorena->close();
        delete pSegment;
        pVybrana->close();
        pVybrana = nullptr;
        UvolniSadu(ss);
        if (!mustSelect)
            return VYBER_SPATNY_DRUH;
        acutPrintf(
            L"\nNebyla vybrána úsečka, text nebo Mtext, nebo MLeader byť jako součást bloku !!");
    }
    UvolniSadu(ss);
    // The top-level entity: a block reference that contains the result is handed out (open
    // with keepOpen); anything else is closed here.
    if (pVybrana) {
        if (AcDbBlockReference::cast(pVybrana)) {
            pHorni = pVybrana;
            if (!keepOpen)
                pVybrana->close();
        } else {
            pVybrana->close();
        }
    }
    if (pPline)
        pPline->close();
    if (!keepOpen) {
        if (bSegment) {
            delete pEntita;
            pEntita = nullptr;
        } else
            pEntita->close();
    }
    return VYBER_OK;
}

void ProjdiVyber(const ads_name ss, AcDb::OpenMode nRezim,
                 const std::function<void(AcDbEntity*, const AcDbObjectId&)>& fn) {
    Adesk::Int32 nPocet = 0;
    acedSSLength(ss, &nPocet);
    for (Adesk::Int32 i = 0; i < nPocet; ++i) {
        ads_name en = {0, 0};
        AcDbObjectId id;
        AcDbEntity* pEnt = nullptr;
        if (acedSSName(ss, i, en) != RTNORM || acdbGetObjectId(id, en) != Acad::eOk ||
            acdbOpenAcDbEntity(pEnt, id, nRezim) != Acad::eOk) {
            acutPrintf(L"\nNepodařilo se otevřít entitu ke čtení");
            continue;
        }
        fn(pEnt, id);
        pEnt->close();
    }
}
