#include "aced.h"

ACRX_DEFINE_MEMBERS(AcEdUIContext, AcRxObject)
