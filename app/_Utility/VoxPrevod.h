// Conversion of drawings made under the previous office standard: old style, layer and linetype
// names renamed or merged into the current standard objects; the linetype scale reset.
#pragma once

#include "StdAfx.h"

#include "VoxProjdiDwg.h"
#include "VoxTypyCar.h"

#include <map>
#include <string>

// What PrevedStareNazvy converts (a bit set).
#define PREVOD_STYLY 1    // text, multileader and dimension styles
#define PREVOD_HLADINY 2  // layers
#define PREVOD_TYPY_CAR 4 // linetypes
#define PREVOD_VSE (PREVOD_STYLY | PREVOD_HLADINY | PREVOD_TYPY_CAR)

// The old names of the standard objects and the names that replace them. Building it reads the
// standard linetype files and the conversion list, which throws when they are missing.
class StareNazvy {
public:
    StareNazvy();

    typedef std::map<std::wstring, std::wstring> MapaJmen; // old name -> new name
    MapaJmen m_TextStyly;
    MapaJmen m_MLeaderStyly;
    MapaJmen m_KotStyly;
    MapaTypuCar m_StandardniTypyCar; // key -> standard linetype name
    MapaTypuCar m_StareTypyCar;      // key of an old name -> standard linetype name
};

// Refreshes the standard linetypes of the working drawing and renames those with old names;
// a record whose new name is taken already goes to the merge list (old id -> new id).
void PrevedTypyCar(const StareNazvy& nazvy, CVoxCmd::MapaId& mapaTypuCar);

// Moves every reference of an old style or linetype of the lists to its replacement (in
// dimension, multileader and table styles, layers and entities), makes the replacement current
// where the old object was, and erases the old objects.
void SloucitStyly(const CVoxCmd::MapaId& mapaMLeader, const CVoxCmd::MapaId& mapaText,
                  const CVoxCmd::MapaId& mapaKot, const CVoxCmd::MapaId& mapaTypuCar);

// Converts what the mask chooses (PREVOD_...).
void PrevedStareNazvy(int nMaska);

// Commands.
void PrikazPreved();
void PrikazLt1();
