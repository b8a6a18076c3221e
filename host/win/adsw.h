// The host's window functions of its C interface (the main window of the host application).
#pragma once

#include "windows.h"

// The host's main window: a fixed, non-null handle for the life of the process.
HWND adsw_acadMainWnd();
