// The contents of the standard styles of a drawing that the database keeps as empty raw objects
// (the multiline style, multileader style and table style "Standard" of a new drawing): written
// with the format's defaults so that readers find complete objects.
#pragma once

#include "dxffiler.h"
#include "dxfgroups.h"

class AcDbObject;

namespace khost::dxf {

// Writes the fields of an empty raw object of a kind with standard contents; false for anything
// else (the caller then writes the object's own fields).
bool writeStandardContents(const AcDbObject* obj, Writer& w, OutFiler& f);

} // namespace khost::dxf
