// Result-buffer utilities and command-line printing of the host.
#pragma once

#include "adsdef.h"

int acutPrintf(const ACHAR* format, ...);
// A chain of (type, value) pairs, ended by 0 or RTNONE; RTDXF0 makes group 0.
resbuf* acutBuildList(int rtype, ...);
resbuf* acutNewRb(int type);
int acutRelRb(resbuf* rb);
int acutNewString(const ACHAR* src, ACHAR*& dest);
int acutUpdString(const ACHAR* src, ACHAR*& dest);
int acutDelString(ACHAR*& str);
// The point at distance dist from pt in the direction angle (radians) of the XY plane; the Z of
// pt is kept (acutgeom.cpp).
int acutPolar(const ads_point pt, ads_real angle, ads_real dist, ads_point result);

namespace khost {

// What a result buffer of a given type (a result type code or a group code) holds.
enum class RbKind { None, String, Real, Point, Short, Long, Int64, Name, Binary, Handle };
RbKind rbKind(int restype);

// Deep copy of one buffer (without its successors) and of a whole chain.
resbuf* rbCopy(const resbuf* rb);
resbuf* rbCopyChain(const resbuf* rb);
// Frees only the value (string, binary) of a buffer.
void rbFreeValue(resbuf* rb);
void rbSetString(resbuf* rb, const ACHAR* text);

// A chain the host owns while an application looks at it (the arguments of an AutoLISP call):
// acutRelRb on it does nothing, as the host documents; the host frees it itself afterwards.
void setHostOwnedChain(const resbuf* head, bool owned);

} // namespace khost
