// VPORT and VIEW records: the database keeps their view (center, size, direction, target,
// twist, lens, clipping) and, for viewports, their corners; the file's other settings of a view
// (snap, grid, its own UCS) are written with the format's defaults.
#pragma once

#include "dxffiler.h"
#include "dxfgroups.h"

class AcDbObject;
class AcDbAbstractViewTableRecord;

namespace khost::dxf {

// Writes the fields of a VPORT or VIEW record; false for other objects.
bool writeViewRecord(const AcDbObject* obj, Writer& w, OutFiler& f);
// Reads the groups of a VPORT or VIEW record into the record (open for write).
void readViewRecord(AcDbAbstractViewTableRecord* rec, const Group* begin, const Group* end,
                    const TextCodec& codec);

} // namespace khost::dxf
