// Writing a database as a DXF R2013 text.
#pragma once

#include <string>

class AcDbDatabase;

namespace khost::dxf {

// The whole file in out. The database gains the BLOCK and ENDBLK objects of blocks that have
// none yet (their handles must stay the same from one save to the next).
bool writeDxf(AcDbDatabase* db, std::string& out, std::string& error);

} // namespace khost::dxf
