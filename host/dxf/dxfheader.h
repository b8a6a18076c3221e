// The HEADER section: the variables of a drawing as DXF R2013 lays them out.
//
// Writing goes through the list of the format's variables in the format's order. Each value comes
// from the database (its accessors, or its system variables), else from the groups kept when the
// drawing was read, else from the variable's default. Variables read that the list does not know
// are kept by the database and written after the known ones.
#pragma once

#include "dxffiler.h"
#include "dxfgroups.h"

#include <string>
#include <string_view>
#include <vector>

namespace khost::dxf {

enum class HKind { Str, Real, Int, Point2, Point3, Handle };

struct HeaderVarDef {
    const char* name; // with the leading '$'
    short code;
    HKind kind;
    const char* dflt; // the default as text; points as "x,y[,z]"; nullptr: written only when kept
};

const std::vector<HeaderVarDef>& headerVarDefs();
const HeaderVarDef* findHeaderVar(std::string_view name);

// Writes the whole HEADER section.
void writeHeader(AcDbDatabase* db, Writer& w, OutFiler& f);

// One variable of a file's HEADER section: its name and its groups.
struct HeaderVarGroups {
    std::string name;
    const Group* begin = nullptr;
    const Group* end = nullptr;
};
std::vector<HeaderVarGroups> splitHeader(const std::vector<Group>& groups);

// The text of the first value of a variable ("" when absent).
std::string_view headerText(const std::vector<HeaderVarGroups>& vars, std::string_view name);

// Applies the variables of a file to a database whose objects are all read. The handle seed
// is moved past every handle in use. Variables the database does not take are kept for writing.
void applyHeader(AcDbDatabase* db, const std::vector<HeaderVarGroups>& vars,
                 const TextCodec& codec);

// Julian date of now (local time or universal time), as the date variables hold it.
double julianNow(bool universal);

} // namespace khost::dxf
