// Writing a database as a DXF R2013 (AC1027) text in UTF-8.
//
// HEADER (the format's variables, from the database or kept from the file read), CLASSES (of the
// records written), TABLES, BLOCKS (BLOCK and ENDBLK of every block record), ENTITIES (model
// space and the current paper space), OBJECTS (the named object dictionary first). Handles are
// the database's own; erased objects and what they own are left out.
#pragma once

#include <string>

class AcDbDatabase;

namespace khost::dxf {

// The whole file in out. The database gains the BLOCK and ENDBLK objects of blocks that have
// none yet (their handles must stay the same from one save to the next) and the APPID record of
// layer descriptions when a layer has one.
bool writeDxf(AcDbDatabase* db, std::string& out, std::string& error);

} // namespace khost::dxf
