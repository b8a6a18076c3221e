#include "dbshx.h"

#include "textconv.h"

#include <cstring>
#include <fstream>
#include <sstream>

namespace khost {

namespace {

constexpr const char kSignature[] = "AutoCAD-86 shapes 1.";

int word(const std::string& b, size_t at) {
    return static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8);
}

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

bool readShapeFile(const std::string& b, std::vector<ShapeEntry>& shapes, std::string& error) {
    shapes.clear();
    const size_t sig = std::strlen(kSignature);
    if (b.size() < sig || b.compare(0, sig, kSignature) != 0) {
        error = "not a compiled shape file";
        return false;
    }
    const size_t eof = b.find('\x1a', sig);
    if (eof == std::string::npos || eof + 7 > b.size()) {
        error = "the header of the shape file is cut short";
        return false;
    }
    size_t at = eof + 1;
    const int count = word(b, at + 4);
    at += 6;
    if (at + 4 * static_cast<size_t>(count) > b.size()) {
        error = "the index of the shape file is cut short";
        return false;
    }
    std::vector<std::pair<int, int>> index;
    for (int i = 0; i < count; ++i, at += 4)
        index.emplace_back(word(b, at), word(b, at + 2));
    for (auto [number, length] : index) {
        if (at + static_cast<size_t>(length) > b.size()) {
            error = "the definition of shape " + std::to_string(number) + " is cut short";
            return false;
        }
        const std::string def = b.substr(at, static_cast<size_t>(length));
        at += static_cast<size_t>(length);
        const size_t zero = def.find('\0');
        if (zero == std::string::npos || def.empty() || def.back() != '\0') {
            error = "the definition of shape " + std::to_string(number) + " has no end";
            return false;
        }
        ShapeEntry e;
        e.number = number;
        e.name = def.substr(0, zero);
        e.definition = def.substr(zero + 1);
        shapes.push_back(std::move(e));
    }
    return true;
}

bool readShapeFile(const std::wstring& path, std::vector<ShapeEntry>& shapes, std::string& error) {
    std::ifstream in(toUtf8(path), std::ios::binary);
    if (!in) {
        error = "cannot open " + toUtf8(path);
        return false;
    }
    std::stringstream ss;
    ss << in.rdbuf();
    return readShapeFile(ss.str(), shapes, error);
}

int shapeNumber(const std::vector<ShapeEntry>& shapes, const std::string& name) {
    for (const ShapeEntry& e : shapes)
        if (sameName(e.name, name))
            return e.number;
    return 0;
}

} // namespace khost
