// Compiled shape files (.shx): the shapes a file holds, by number and name.
//
// Format ("AutoCAD-86 shapes 1.0"): the signature line ending with CR LF and a Ctrl-Z byte,
// then 16-bit little-endian numbers: the lowest and the highest shape number and the count of
// shapes; then for each shape its number and the length of its definition; then the
// definitions in the same order, each the shape's name ending with a zero byte followed by its
// drawing bytes ending with a zero byte.
#pragma once

#include <string>
#include <vector>

namespace khost {

struct ShapeEntry {
    int number = 0;
    std::string name;       // as the file has it (8-bit)
    std::string definition; // the drawing bytes, the terminating zero included
};

// Reads the shapes of a compiled file; false with a one-line error when the file cannot be
// read or is not a compiled shape file.
bool readShapeFile(const std::string& bytes, std::vector<ShapeEntry>& shapes, std::string& error);
bool readShapeFile(const std::wstring& path, std::vector<ShapeEntry>& shapes, std::string& error);

// The number of the shape of that name (compared without regard to ASCII case), or 0.
int shapeNumber(const std::vector<ShapeEntry>& shapes, const std::string& name);

} // namespace khost
