// The section level of ASCII DXF: a file is split into its sections, and each section into the
// groups before its first 0 group (the header variables) and its records (a 0 group with the
// groups up to the next 0 group). The structure is checked on the way; the first fault is
// reported with its line number.
#pragma once

#include "dxfgroups.h"

#include <string>
#include <string_view>
#include <vector>

namespace khost::dxf {

struct Record {
    std::string_view type; // the value of the 0 group: "LINE", "TABLE", "DICTIONARY" ...
    int line = 0;
    std::vector<Group> groups; // the groups after the 0 group

    // The value of the first group with this code, or empty.
    std::string_view find(int code) const;
    bool has(int code) const;
};

struct Section {
    std::string name; // "HEADER", "CLASSES", "TABLES", "BLOCKS", "ENTITIES", "OBJECTS" ...
    int line = 0;
    std::vector<Group> leading; // the groups before the first record (header variables)
    std::vector<Record> records;
};

struct FileStructure {
    std::vector<Section> sections;
    const Section* find(std::string_view name) const;
};

// Splits the whole text. False with a one-line message ("line N: ...") on bad input.
bool splitSections(std::string_view text, FileStructure& out, std::string& error);

} // namespace khost::dxf
