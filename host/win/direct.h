// Directory functions of the Windows C runtime.
#pragma once

#include "wincrt.h"
