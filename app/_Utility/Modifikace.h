// Modification of entities: a text or multi-line text becomes a multileader.
#pragma once

#include "StdAfx.h"

// "cmm": asks for the arrow point, replaces a picked text or multi-line text by a multileader
// pointing from that point to where the text was, in the standard styles "KV_SIPKA" and
// "KV_TXT_MALY".
void PrikazCmm();
