// Drawing files of the host: DXF.
//
// The host writes DXF R2013 (AC1027) ASCII in UTF-8 and reads ASCII DXF from R12 on (texts of
// files before R2007 in their $DWGCODEPAGE, with \U+XXXX escapes). Whatever a file holds that the
// database does not model (entity and object kinds, extended data, extension dictionaries,
// reactors, header variables, class definitions) is kept and written back, with the handles the
// file gave it. A file is written whole or not at all: into a temporary file beside the target,
// which is then renamed over it.
#pragma once

#include <string>

class AcDbDatabase;

namespace khost {

// Reads a drawing; a path ending in ".dwg" is served by the ".dxf" beside it. Returns a new
// database, or null with a one-line error that names the line number for bad input.
AcDbDatabase* readDrawing(const std::wstring& path, std::wstring& error);
// Writes the database as DXF R2013 whole or not at all (temporary file, then rename).
bool writeDrawing(AcDbDatabase* db, const std::wstring& path, std::wstring& error);

// The same on texts in memory (the reader and writer of the functions above).
bool readDxfText(AcDbDatabase* db, const std::string& text, std::wstring& error);
bool writeDxfText(AcDbDatabase* db, std::string& text, std::wstring& error);

// The path a drawing is read from and written to: "X.dwg" becomes "X.dxf".
std::wstring drawingFilePath(const std::wstring& path);

} // namespace khost
