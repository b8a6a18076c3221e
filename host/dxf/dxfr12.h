// Entities of files before R13: their groups come without subclass markers. The reader puts the
// markers of the R13 layout in, so that the classes (and the raw entities, which keep what
// follows the common groups) read them as they read newer files.
#pragma once

#include "dxfsections.h"

#include <vector>

namespace khost::dxf {

// The groups of an entity record with its subclass markers ("100 AcDbEntity" first).
std::vector<Group> withSubclassMarkers(const Record& r);

} // namespace khost::dxf
