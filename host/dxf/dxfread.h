// Reading a DXF text into a database.
#pragma once

#include <string>

class AcDbDatabase;

namespace khost::dxf {

// Reads the text into db, which must be empty (built without the default drawing), or into a
// new database when db is null. Returns the database, or null with a one-line message
// ("line N: ...") when the text is not a drawing; a new database is then deleted.
AcDbDatabase* readDxf(AcDbDatabase* db, const std::string& text, std::string& error);

} // namespace khost::dxf
