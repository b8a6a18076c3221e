#include "StdAfx.h"

#include "InfoPrikazy.h"

void PrikazPokus() {}
