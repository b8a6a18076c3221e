// Common includes of the application: the host's interface and the platform basics.
#pragma once

#include "windows.h"
#include "afx.h"
#include "afxwin.h"
#include "adsw.h"
#include "wincrt.h"

#include "acadstrc.h"
#include "adscodes.h"
#include "adsdef.h"
#include "acutads.h"
#include "AcString.h"
#include "rxdefs.h"
#include "rxobject.h"

#include "arxdb.h"
#include "arxed.h"
#include "acedlisp.h"
#include "acgeall.h"
