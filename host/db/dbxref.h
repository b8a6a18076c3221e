// The host's side of external references: where an external reference's file is, saving its
// database back, and the copying of objects between drawings that insert uses.
#pragma once

#include "dbmain.h"

#include <string>

class AcDbBlockTableRecord;

namespace khost {

// The file an external reference's block names, as found (the path as given, else beside the
// referring drawing, else through findFile); "" when it cannot be found.
std::wstring xrefFilePath(const AcDbBlockTableRecord* block);
// The resolved database of an external reference's block, read when first asked for; null when
// the file cannot be read.
AcDbDatabase* resolveXref(AcDbObjectId block);
// Saves the database of a resolved external reference to its file, under its own symbol names
// (whichever names it has in memory stay). eNotApplicable for a block that is not a resolved
// external reference.
Acad::ErrorStatus saveXrefDatabase(AcDbObjectId block);
// Forgets the database read for an external reference (it is read again when next asked for).
void unloadXref(AcDbObjectId block);
// The block whose external reference db is (null when db is none).
AcDbObjectId xrefBlockOf(const AcDbDatabase* db);

} // namespace khost
