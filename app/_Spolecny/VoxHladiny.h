// Standard and user layers under the user's prefix, and the conversion of layers that carry the
// names of the previous standard.
#pragma once

#include "StdAfx.h"

#include "CVoxSet.h"
#include "VoxProjdiDwg.h"

#include <string>

// The setting in the drawing's store that suppresses the old-layer question.
#define XREC_SEKCE_HLADINY L"Hladiny"
#define XREC_NEPTAT_STARE_HLADINY L"NeptatSeNaStareHladiny"

// The layer of that name in the working database: an existing one, or a standard layer created
// from its definition. Without bMaPredponu the name is a standard name and gets the effective
// prefix; with it the name carries its prefix already. On return sJmeno holds the full name
// looked for. Null when there is no such layer and none could be created.
AcDbObjectId ZajistiHladinu(std::wstring& sJmeno, bool bMaPredponu = false);

// A user layer under the effective prefix, created with the given properties (category 4) when
// the drawing lacks it. The linetype file is not used. On return sJmeno holds the full name.
AcDbObjectId ZajistiUzivHladinu(std::wstring& sJmeno, Adesk::Int16 nBarva,
                                const std::wstring& sTypCary, AcDb::LineWeight nTloustka,
                                bool bTisk, const std::wstring& sSouborLin = std::wstring());

// Creates the layer of the definition under the full name. When the drawing still has the
// layer under its old name, the user is asked first whether to convert the old layers.
AcDbObjectId VytvorHladinu(const LayerDef& def, const std::wstring& sPlneJmeno);

// Gives a layer record (open for write) the colour, linetype, lineweight and plot flag of the
// definition; returns the sum of the statuses.
int NastavVlastnostiHladiny(AcDbLayerTableRecord* pHladina, const LayerDef& def);

// Converts the layers that carry old or prefixed standard names to the standard names under
// the effective prefix and merges those that collide. Returns the number of layers converted.
int PrevedStareHladiny();

// Moves every entity from each old layer of the table to its new layer and erases the old
// layers. Returns the number of entities moved.
int SloucitHladiny(const CVoxCmd::MapaId& mapaHladin);
