// The double-click handler of drawing windows: a double-click on a frame opens the frame dialog
// and rebuilds the frame; a double-click on an attribute edits it in place when the settings
// ask for it; everything else is left to the host.
#pragma once

#include "StdAfx.h"

#include "acedwinmsg.h"

// The window-message filter; true when the double-click was consumed.
bool FiltrDvojkliku(MSG* pMsg);
