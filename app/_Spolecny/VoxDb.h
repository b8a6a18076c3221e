// Small queries over the host that the shared routines build on.
#pragma once

#include "StdAfx.h"

// An integer system variable as a 16-bit value.
short CtiSysPromInt(const ACHAR* sJmeno);
// True when new entities go to model space.
bool JeModelovyProstor();
// True when the current UCS lies in the world XY plane.
bool JeUcs2d();
// A point (nPosun 0) or a vector (nPosun 1) of the current UCS in world coordinates.
AcGePoint3d UcsNaWcs(const AcGePoint3d& bod, int nPosun);
// Upper-cases the string in place under the Czech locale and returns its buffer.
const ACHAR* NaVelka(AcString& s);
