// Drawing files of the host (DXF); see dxfread.h and dxfwrite.h for what is read and written.
#pragma once

#include <string>

class AcDbDatabase;

namespace khost {
// Reads a drawing; a path ending in ".dwg" is served by the ".dxf" beside it. Returns a new
// database, or null with a one-line error that names the line number for bad input.
AcDbDatabase* readDrawing(const std::wstring& path, std::wstring& error);
// Writes the database as DXF R2013 whole or not at all (temporary file, then rename).
bool writeDrawing(AcDbDatabase* db, const std::wstring& path, std::wstring& error);
} // namespace khost
