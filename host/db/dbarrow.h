// Arrowheads of dimensions and leaders. The predefined arrowheads are blocks that the host
// creates in a drawing the first time they are asked for (by DIMBLK, a dimension style's
// arrowhead setters or a multileader style's arrow symbol): "_DOT" gives the block "_Dot",
// with the geometry of a unit arrow whose tip is at the origin, pointing along +X.
#pragma once

#include "dbmain.h"

#include <string>
#include <vector>

namespace khost {

// The block names of the predefined arrowheads ("_ClosedBlank", "_Closed", "_Dot",
// "_ArchTick", "_Oblique", "_Open", "_Origin", "_Origin2", "_Open30", "_Open90", "_DotSmall",
// "_DotBlank", "_Small", "_BoxBlank", "_BoxFilled", "_DatumBlank", "_DatumFilled",
// "_Integral", "_None").
const std::vector<std::wstring>& predefinedArrowheads();
// The block name of a predefined arrowhead named in any case, with or without its leading
// underscore ("_dot", "DOT" -> "_Dot"); "" when the name is no predefined arrowhead.
std::wstring predefinedArrowheadName(const ACHAR* name);

// The block of an arrowhead: the null id with eOk for "", "." or null (the closed filled arrow);
// for a predefined arrowhead its block, created when the database lacks it (with create);
// otherwise the block of that name, eKeyNotFound when there is none. eNoDatabase without one.
Acad::ErrorStatus arrowheadBlockId(AcDbDatabase* db, const ACHAR* name, AcDbObjectId& blockId,
                                   bool create = true);

} // namespace khost
