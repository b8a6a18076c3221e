// Dragging of a selection set: acedDragGen.
#pragma once

#include "adsdef.h"

#ifndef KHOST_ADS_MATRIX
#define KHOST_ADS_MATRIX
typedef ads_real ads_matrix[4][4];
#endif

// Drags the entities of the set under the prompt: the host asks for a point (with the options
// of a preceding acedInitGet: RSG_2D, keywords), calls the callback with the cursor at that
// point and an identity matrix for it to fill (the transformation it returns only shows the
// entities; they are not changed), and gives the point in p (UCS). RTNORM, RTNONE for Enter,
// RTKWORD, RTCAN for Esc; RTERROR for an empty or unknown set.
int acedDragGen(const ads_name ss, const ACHAR* pmt, int cursor,
                int (*scnf)(ads_point pt, ads_matrix mt), ads_point p);
