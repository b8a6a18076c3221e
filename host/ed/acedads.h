// The editor's C interface: prompts and input, system variables, coordinate systems, messages.
#pragma once

#include "adsdef.h"

#include <cstddef>

// Options for the next input call only: control bits (RSG_*) and keywords. A keyword list is
// separated by spaces; each keyword may be abbreviated to its capital letters ("LType" -> "LT")
// or, written as "LTYPE,LT", to the text after the comma. Local keywords, then "_", then the
// same number of global keywords: an answer matching a local keyword reports its global one.
int acedInitGet(int val, const ACHAR* kwl);
// The keyword (as declared; the global one when the list has one) or the arbitrary text
// (RSG_OTHER) of the last input call that returned RTKWORD. RTERROR otherwise.
int acedGetInput(ACHAR* str, size_t bufLen);
template <size_t N> inline int acedGetInput(ACHAR (&buf)[N]) {
    return acedGetInput(buf, N);
}

// Points are in the current UCS. The base point may be null.
int acedGetPoint(const ads_point pt, const ACHAR* prompt, ads_point result);
int acedGetCorner(const ads_point pt, const ACHAR* prompt, ads_point result);
int acedGetDist(const ads_point pt, const ACHAR* prompt, ads_real* result);
int acedGetAngle(const ads_point pt, const ACHAR* prompt, ads_real* result);
int acedGetOrient(const ads_point pt, const ACHAR* prompt, ads_real* result);
int acedGetReal(const ACHAR* prompt, ads_real* result);
int acedGetInt(const ACHAR* prompt, int* result);
// cronly non-zero: the answer may hold spaces and ends only with Enter. A bare Enter gives
// RTNORM and "". An answer longer than the buffer is cut and RTINPUTTRUNCATED returned.
int acedGetString(int cronly, const ACHAR* prompt, ACHAR* result, size_t bufLen);
template <size_t N> inline int acedGetString(int cronly, const ACHAR* prompt, ACHAR (&buf)[N]) {
    return acedGetString(cronly, prompt, buf, N);
}
int acedGetKword(const ACHAR* prompt, ACHAR* result, size_t bufLen);
template <size_t N> inline int acedGetKword(const ACHAR* prompt, ACHAR (&buf)[N]) {
    return acedGetKword(prompt, buf, N);
}

// System variables, by name without regard to case. A string result is allocated and the
// caller frees resval.rstring (free or acutDelString).
int acedGetVar(const ACHAR* sym, resbuf* result);
int acedSetVar(const ACHAR* sym, const resbuf* val);

// Coordinate systems: RTSHORT 0 WCS, 1 current UCS, 2 display (DCS), 3 paper space DCS; an
// entity name (its ECS) or an RT3DPOINT extrusion direction (arbitrary axis algorithm).
int acedTrans(const ads_point pt, const resbuf* from, const resbuf* to, int disp, ads_point result);

int acedAlert(const ACHAR* string);
int acedPrompt(const ACHAR* str);
int acedGraphScr();
int acedTextScr();
int acedRedraw(const ads_name ent, int mode);
int acedUsrBrk();

// File dialogs ask for a path on the command line. flags: 1 a file to create, 4 any extension,
// 16 the default names a folder. result receives an RTSTR (allocated).
int acedGetFileD(const ACHAR* title, const ACHAR* defawlt, const ACHAR* ext, int flags,
                 resbuf* result);
// The result is a list of RTSTR buffers that the caller releases with acutRelRb.
int acedGetFileNavDialog(const ACHAR* title, const ACHAR* defawlt, const ACHAR* ext,
                         const ACHAR* dlgname, int flags, resbuf** result);
