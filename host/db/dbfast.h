// Helpers for the paths that run for every group of a drawing read or written (internal to the
// host: the DXF reader and writer, the DXF filer of host/db).
#pragma once

#include "acutads.h"
#include "dbhost.h"

#include <string>

namespace khost {

// rbKind of a code, from a table for the DXF group codes.
RbKind rbKindOf(int code);
// rbFreeValue by that table.
void rbReleaseValue(resbuf& rb);
// The factory registered under a class or DXF name (registerDbClass), or null.
DbObjectFactory findDbFactory(const std::wstring& name);

} // namespace khost
