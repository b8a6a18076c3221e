// Everything of the editor that applications use.
#pragma once

#include "acapdoc.h"
#include "accmd.h"
#include "aced.h"
#include "acedads.h"
#include "aceddrag.h"
#include "acedlisp.h"
#include "acedsel.h"
#include "acrxEntryPoint.h"
#include "rxregsvc.h"
