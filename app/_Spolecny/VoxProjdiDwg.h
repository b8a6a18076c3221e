// The walk over all entities of chosen block records of a drawing, and the functors that the
// whole-drawing commands hand to it.
#pragma once

#include "StdAfx.h"

#include <map>
#include <string>
#include <vector>

// Flags of the walk (a bit set).
#define PROJDI_MODEL 1      // model space
#define PROJDI_LAYOUTY 2    // the layouts (paper spaces) other than model space
#define PROJDI_BLOKY 4      // the block definitions that are not layouts
#define PROJDI_AKTUALNI 8   // the block record of the current space
#define PROJDI_PRO_CTENI 32 // open entities for reading instead of writing
#define PROJDI_SMAZANE 64   // also visit erased entities
#define PROJDI_VSE (PROJDI_MODEL | PROJDI_LAYOUTY | PROJDI_BLOKY)

namespace CVoxCmd {

// Old object identifier to the identifier that replaces it.
typedef std::map<AcDbObjectId, AcDbObjectId> MapaId;

// The walk hands each opened entity to the call operator; it returns the number of entities it
// changed (0 or 1).
class ProjdiDwgFce {
public:
    virtual ~ProjdiDwgFce() = default;
    virtual int operator()(AcDbEntity* pEnt) = 0;
};

// Moves entities from old layers to new ones.
class ZmenHladinu : public ProjdiDwgFce {
public:
    explicit ZmenHladinu(const MapaId& mapaHladin) : m_mapaHladin(mapaHladin) {}
    int operator()(AcDbEntity* pEnt) override;

private:
    const MapaId& m_mapaHladin;
};

// The replacement tables of the style-replacing walk; each may be null.
struct TabulkyStylu {
    const MapaId* pTextStyly = nullptr;
    const MapaId* pMLeaderStyly = nullptr;
    const MapaId* pKotTextStyly = nullptr;
    const MapaId* pKotStyly = nullptr;
    const MapaId* pTypyCar = nullptr;
};

// Replaces text styles, multileader styles, dimension styles and linetypes that entities use.
class ZmenTS_DS_MLS : public ProjdiDwgFce {
public:
    explicit ZmenTS_DS_MLS(const TabulkyStylu& tabulky) : m_tabulky(tabulky) {}
    int operator()(AcDbEntity* pEnt) override;

private:
    const TabulkyStylu& m_tabulky;
};

// Collects the references to a block: to the given definition, or to the definitions whose
// upper-cased name equals the searched one (or contains it in contains mode).
class CNajdiBlokRefs : public ProjdiDwgFce {
public:
    CNajdiBlokRefs(const std::wstring& sJmeno, bool bObsahuje, AcDbObjectIdArray& aNalezene,
                   AcDbObjectId idDefinice = AcDbObjectId::kNull)
        : m_sJmeno(sJmeno), m_bObsahuje(bObsahuje), m_idDefinice(idDefinice),
          m_aNalezene(aNalezene) {}
    int operator()(AcDbEntity* pEnt) override;

private:
    std::wstring m_sJmeno; // upper-case
    bool m_bObsahuje;
    AcDbObjectId m_idDefinice;
    AcDbObjectIdArray& m_aNalezene;
};

} // namespace CVoxCmd

// Walks the entities of the block records that the flags choose, nPruchodu times, and returns
// the total of the functor's results. Verbose: progress dots and a summary line.
int ProjdiDwg(CVoxCmd::ProjdiDwgFce& fce, int nPriznaky, bool bVypis, int nPruchodu,
              AcDbDatabase* pDb);
