// Texts, multi-line texts, multileaders and block references turned along a picked reference
// object, always readable in the current UCS.
#pragma once

#include "StdAfx.h"

// The angle turned by half a turn when, measured from the current UCS X axis (at dUhelUcs), it
// lies strictly between 100 and 280 degrees: such a text would read upside down. Radians.
double CitelnyUhel(double dUhel, double dUhelUcs);

// The routine of both commands: nNavic 0 along the reference, 1 a right angle across it.
void OtocTexty(int nNavic);
// "ra" and "rak".
void PrikazRa();
void PrikazRak();
