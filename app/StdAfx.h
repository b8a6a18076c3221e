// Common includes of the application.
#pragma once

#include "acadstrc.h"
#include "adscodes.h"
#include "adsdef.h"
#include "acutads.h"
#include "AcString.h"
#include "rxdefs.h"
