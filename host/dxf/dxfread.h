// Reading a DXF text into a database.
//
// ASCII DXF from R12 on is read. Texts of files before R2007 are in their $DWGCODEPAGE, with
// \U+XXXX escapes for what the page lacks; later ones are UTF-8. A file that brings a whole
// database (R13 on: block records and objects) is read as it is, with its handles; whatever the
// database does not model (entity and object kinds, extended data, extension dictionaries,
// reactors, header variables, class definitions) is kept and written back. An older file is
// merged into a new default drawing (new handles; entities in the space or block they are in,
// attributes and vertices with the entity before them).
#pragma once

#include <string>

class AcDbDatabase;

namespace khost::dxf {

// Reads the text into db, which must be empty (built without the default drawing), or into a
// new database when db is null. Returns the database, or null with a one-line message
// ("line N: ...") when the text is not a drawing; a new database is then deleted.
AcDbDatabase* readDxf(AcDbDatabase* db, const std::string& text, std::string& error);

} // namespace khost::dxf
