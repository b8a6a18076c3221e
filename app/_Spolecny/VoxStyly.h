// The standard text, dimension and multileader styles, created in the working database on
// demand. Styles carry no user prefix; none of the routines makes a style current.
#pragma once

#include "StdAfx.h"

#include "CVoxSet.h"

#include <string>

class AcDbMLeaderStyle;

// The style of that name in the drawing, else a standard style created from its definition
// (the name's case and diacritics do not matter), else null.
AcDbObjectId ZajistiTextStyl(const std::wstring& sJmeno);
AcDbObjectId ZajistiKotStyl(const std::wstring& sJmeno);
AcDbObjectId ZajistiMLeaderStyl(const std::wstring& sJmeno);

// Creation from a definition; every failure throws CVoxException and leaves nothing behind.
AcDbObjectId VytvorTextStyl(const TextStyleDef& def);
AcDbObjectId VytvorKotStyl(const DimStyleDef& def);
AcDbObjectId VytvorMLeaderStyl(const MLeaderStyleDef& def);

// The standard values of a style open for write (the name excepted), in the order of creation;
// each returns the sum of the statuses of the assignments that count.
int NastavHodnotyTextStylu(AcDbTextStyleTableRecord* pStyl, const TextStyleDef& def);
int NastavHodnotyKotStylu(AcDbDimStyleTableRecord* pStyl, const DimStyleDef& def);
int NastavHodnotyMLeaderStylu(AcDbMLeaderStyle* pStyl, const MLeaderStyleDef& def);
// The arrowhead of a multileader style of the dot kind: the block "_DOT", which the host
// creates through DIMBLK when the drawing lacks it. Nothing for the closed filled arrow.
void NastavSipkuMLeaderStylu(AcDbMLeaderStyle* pStyl, const MLeaderStyleDef& def);
