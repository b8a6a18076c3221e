// The editor: its C interface, the command stack and the user-interface context.
#pragma once

#include "accmd.h"
#include "acedads.h"
#include "rxobject.h"

// A context menu provider registered with a command; the host shows no context menus.
class AcEdUIContext : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcEdUIContext);
    virtual void* getMenuContext(const AcRxClass* classtype, const void* selectedObjs) = 0;
    virtual void onCommand(Adesk::UInt32 cmdIndex) = 0;
    virtual void OnUpdateMenu() {}
};
