// The CLASSES section: the class definitions of the records that are not of the format's fixed
// kinds. The host knows the definitions of the classes it writes itself; the definitions a file
// brought (for objects of other applications the database keeps raw) are kept with the drawing
// and written again while objects of their kind remain.
#pragma once

#include "dxfgroups.h"
#include "dxfsections.h"

#include <map>
#include <string>
#include <vector>

class AcDbDatabase;

namespace khost::dxf {

struct ClassDef {
    std::wstring dxfName, cppName, appName;
    int proxyFlags = 0;
    int count = 0;
    int wasProxy = 0;
    int isEntity = 0;
};

// The definitions for the DXF names written (with their instance counts), in the order the
// file had them, then the host's own ones.
std::vector<ClassDef> classesToWrite(AcDbDatabase* db, const std::map<std::wstring, int>& used);

// Keeps the definitions of a file's CLASSES section with the database.
void keepClasses(AcDbDatabase* db, const Section& classes, const TextCodec& codec);
// The kept definitions.
std::vector<ClassDef> keptClasses(AcDbDatabase* db);

} // namespace khost::dxf
