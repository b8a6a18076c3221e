// The host's own additions of records it needs (registered applications of its extended data,
// arrowhead blocks, anonymous blocks of dimensions): made without opening the tables, so that
// a caller holding a table open does not stop the host's work.
#pragma once

#include "dbhost.h"
#include "dbmain.h"

class AcDbSymbolTableRecord;

namespace khost {

// Adds a new record to a table of db (by its role) and leaves it open for write (the caller
// closes it); eDuplicateRecordName when the name is taken.
Acad::ErrorStatus addRecordUnopened(AcDbDatabase* db, DbRole table, AcDbSymbolTableRecord* rec,
                                    const ACHAR* name, AcDbObjectId& id);
// The registered application of that name, added when missing.
AcDbObjectId ensureRegApp(AcDbDatabase* db, const ACHAR* name);

} // namespace khost
