// Basic types of the host's C interface: characters, points, names and result buffers.
#pragma once

#include <cstdint>

#include "adscodes.h"

using ACHAR = wchar_t;
using ads_real = double;
using ads_point = ads_real[3];
using ads_name = std::int64_t[2];
using ads_namep = std::int64_t*;
using ads_pointp = ads_real*;
using Adesk_Int16 = std::int16_t;
using Adesk_Int32 = std::int32_t;

namespace Adesk {
using Int8 = std::int8_t;
using Int16 = std::int16_t;
using Int32 = std::int32_t;
using Int64 = std::int64_t;
using UInt8 = std::uint8_t;
using UInt16 = std::uint16_t;
using UInt32 = std::uint32_t;
using UInt64 = std::uint64_t;
using Boolean = bool;
using IntPtr = std::intptr_t;
using UIntPtr = std::uintptr_t;
using LongPtr = std::intptr_t;
using GsMarker = std::intptr_t;
constexpr bool kTrue = true;
constexpr bool kFalse = false;
} // namespace Adesk

enum { X = 0, Y = 1, Z = 2 };
enum { T = 3 };

struct ads_binary {
    short clen;
    char* buf;
};

union ads_u_val {
    ads_real rreal;
    ads_real rpoint[3];
    short rint;
    ACHAR* rstring;
    std::int64_t rlname[2];
    std::int32_t rlong;
    std::int64_t mnInt64;
    ads_binary rbinary;
    unsigned char ihandle[8];
};

struct resbuf {
    resbuf* rbnext;
    short restype;
    ads_u_val resval;
};

#define ads_point_set(from, to) ((to)[X] = (from)[X], (to)[Y] = (from)[Y], (to)[Z] = (from)[Z])
#define ads_name_set(from, to) ((to)[0] = (from)[0], (to)[1] = (from)[1])
#define ads_name_clear(name) ((name)[0] = (name)[1] = 0)
#define ads_name_nil(name) ((name)[0] == 0 && (name)[1] == 0)
#define ads_name_equal(a, b) ((a)[0] == (b)[0] && (a)[1] == (b)[1])
