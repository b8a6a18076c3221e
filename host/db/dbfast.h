// Helpers for the paths that run for every group of a drawing read or written (internal to the
// host: the DXF reader and writer, the DXF filer of host/db).
#pragma once

#include "acutads.h"
#include "dbfiler.h"
#include "dbhost.h"

#include <string>

namespace khost {

// rbKind of a code, from a table for the DXF group codes (made before anything is read).
extern const RbKind* const kRbKindTable;
constexpr int kRbKindFirst = -10, kRbKindLast = 1100;
inline RbKind rbKindOf(int code) {
    if (code >= kRbKindFirst && code <= kRbKindLast && kRbKindTable)
        return kRbKindTable[code - kRbKindFirst];
    return rbKind(code);
}
// rbFreeValue by that table.
void rbReleaseValue(resbuf& rb);
// A filer whose groups can be taken without a heap copy of each text (the DXF file reader):
// lendResBuf reads as readResBuf, but a string or handle value stays the filer's, valid as long
// as the filer lives, and is not to be freed.
class LendingDxfFiler : public AcDbDxfFiler {
public:
    ACRX_DECLARE_MEMBERS(LendingDxfFiler);
    virtual Acad::ErrorStatus lendResBuf(resbuf* pRb) = 0;
};

// The factory registered under a class or DXF name (registerDbClass), or null.
DbObjectFactory findDbFactory(const std::wstring& name);

} // namespace khost
