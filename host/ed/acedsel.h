// Selection of entities: selection sets by picks, windows and modes, how their members were
// picked, and the single-entity picks (acedEntSel, acedNEntSelP).
//
// Points are in the current UCS. A pick finds the entities whose drawn geometry comes within the
// pick box (PICKBOX pixels of the view, see VIEWSIZE) of the point, the last drawn first; picks
// go into block references and external references where the mode asks for nested entities.
// The functions on existing sets (acedSSName, acedSSLength, acedSSFree, acedSSAdd, acedSSDel,
// acedSSMemb, acedSSSetFirst, acedSSGetFirst) are in acedentfn.h, included here.
#pragma once

#include "acedentfn.h"
#include "adsdef.h"

using ads_matrix = ads_real[4][4];

// Makes a selection set in ss. mode:
//   null            with pt1: the entity at that point; without: "Select objects: " asks for
//                   picks (x,y), W and C windows (two corners), L (the last entity), P (the
//                   previous selection), ALL, R (remove from now on), A (add again), ending with
//                   Enter; each step prints how many objects it found.
//   ":S"            single: one pick or window ends the selection.
//   ":N"            nested: picks record the entities inside block references under the point
//                   (acedSSNameX); combined as "_:N:S", or with pt1 as a pick at that point.
//   ":E"            every entity in the pick box, not only the topmost one.
//   ":$"            pt1 is an array of two prompts (const ACHAR* [2]): for adding and for
//                   removing.
//   "I"             the pickfirst set (seen by commands registered with ACRX_CMD_USEPICKSET and
//                   outside commands); "P" the previous selection; "L" the last entity; "X" the
//                   whole drawing; "W"/"C" a window/crossing window of pt1 and pt2; "A" or
//                   "ALL" the entities of the current space on thawed, unlocked layers.
// A leading "_" is ignored. The filter (a chain of DXF groups with -4 operators, see
// khost::filterMatches) decides which entities may enter. Returns RTNORM with a new set,
// RTERROR when nothing was selected (or for a bad mode or filter), RTCAN on Esc, and RTKWORD
// for a keyword of a preceding acedInitGet typed at the prompt (acedGetInput gives it).
int acedSSGet(const ACHAR* str, const void* pt1, const void* pt2, const resbuf* filter,
              ads_name ss);

// How member i was selected, as a new list the caller frees with acutRelRb:
//   RTLB, RTSHORT method (0 no particular method, 1 pick, 2 window, 3 crossing), RTENAME the
//   entity (for a nested pick the innermost entity hit), RTLONG the graphics marker (a
//   light-weight polyline's segment index + 1, 0 without a marker),
//   for a pick: RTLB RTSHORT 0 RT3DPOINT pick point (WCS) RTLE, and for a nested pick four
//   RT3DPOINT rows of the transformation from the innermost entity to the world (X axis, Y axis,
//   Z axis, origin) followed by one RTENAME for each block reference around it, innermost first
//   (the thirteenth item on);
//   RTLE.
int acedSSNameX(resbuf** rbpp, const ads_name ss, int i);

// Asks for one entity ("\nSelect object: " without a prompt): RTNORM with its name and the pick
// point (UCS); RTERROR for a pick that hits nothing or for Enter (ERRNO 7 or 52), RTCAN on Esc,
// RTKWORD for a keyword of a preceding acedInitGet.
int acedEntSel(const ACHAR* str, ads_name entres, ads_point ptres);
// The same going into block references: the innermost entity (an attribute of a reference, or
// the entity of a block), the transformation of its coordinates into the world (identity when
// it is not nested) and the references around it, innermost first (a list of RTENAME the caller
// frees; null when it is not nested). With pickflag the point ptres is taken without asking.
int acedNEntSelP(const ACHAR* str, ads_name entres, ads_point ptres, int pickflag,
                 ads_matrix xformres, resbuf** refstkres);
