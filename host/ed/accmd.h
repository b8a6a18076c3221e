// The command stack: the commands that applications register, in groups.
#pragma once

#include "acadstrc.h"
#include "adsdef.h"
#include "rxdefs.h"
#include "rxobject.h"
#include "rxregsvc.h"
#include "rxresource.h"

#include <string>
#include <vector>

using AcRxFunctionPtr = void (*)();

class AcEdUIContext;
class AcEdCommandStack;

#define ACRX_COMMAND_DOCK L"ACAD_REGISTERED_COMMANDS"

class AcEdCommand : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcEdCommand);

    AcRxFunctionPtr functionAddr() const { return m_fn; }
    void functionAddr(AcRxFunctionPtr fn) { m_fn = fn; }
    int functionCode() const { return m_fcode; }
    void functionCode(int fcode) { m_fcode = fcode; }
    Adesk::Int32 commandFlags() const { return m_flags; }
    const ACHAR* globalName() const { return m_global.c_str(); }
    const ACHAR* localName() const { return m_local.c_str(); }
    const ACHAR* groupName() const { return m_group.c_str(); }
    // The id of the application that registered the command (what it got with kInitAppMsg);
    // null for commands registered outside a message to an application.
    void* commandApp() const { return m_app; }
    AcEdUIContext* UIContext() const { return m_ui; }
    const AcRxResourceInstance& resourceInstance() const { return m_resource; }
    bool isUndefined() const { return (m_flags & ACRX_CMD_UNDEFINED) != 0; }

private:
    friend class AcEdCommandStack;
    std::wstring m_group, m_global, m_local;
    Adesk::Int32 m_flags = 0;
    AcRxFunctionPtr m_fn = nullptr;
    AcEdUIContext* m_ui = nullptr;
    int m_fcode = -1;
    AcRxResourceInstance m_resource;
    void* m_app = nullptr;
};

class AcEdCommandIterator : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcEdCommandIterator);
    bool done() const;
    bool next();
    const AcEdCommand* command() const;
    const ACHAR* commandGroup() const;

private:
    friend class AcEdCommandStack;
    std::vector<const AcEdCommand*> m_cmds;
    size_t m_pos = 0;
};

class AcEdCommandStack : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcEdCommandStack);
    AcEdCommandStack();
    ~AcEdCommandStack() override;
    AcEdCommandStack(const AcEdCommandStack&) = delete;
    AcEdCommandStack& operator=(const AcEdCommandStack&) = delete;

    // Adds a command to a group (created when new). eOk; eDuplicateKey when the group already
    // has a command with that global or local name; eInvalidInput for an empty or null group or
    // global name, a name with spaces, or a null function.
    Acad::ErrorStatus
    addCommand(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName, const ACHAR* cmdLocalName,
               Adesk::Int32 commandFlags, AcRxFunctionPtr FunctionAddr,
               AcEdUIContext* UIContext = nullptr, int fcode = -1,
               const AcRxResourceInstance& resourceInstance = AcRxResourceInstance::empty(),
               AcEdCommand** cmdPtrRet = nullptr);

    AcEdCommandIterator* iterator();

    // Searches the groups in order (the group searched first is the one last popped to the top,
    // else the first registered). Names are compared without regard to case.
    AcEdCommand* lookupGlobalCmd(const ACHAR* cmdName);
    AcEdCommand* lookupLocalCmd(const ACHAR* cmdName);
    // globalFlag: by global (true) or local name. skipUndefed passes over commands flagged
    // ACRX_CMD_UNDEFINED and goes on to the next group holding the name. All groups of the
    // stack are searched whatever allGroups says (this host keeps no per-document groups).
    AcEdCommand* lookupCmd(const ACHAR* cmdName, bool globalFlag, bool allGroups = false,
                           bool skipUndefed = false);

    Acad::ErrorStatus popGroupToTop(const ACHAR* groupName);
    // eOk, or eKeyNotFound when there is no such command or group.
    Acad::ErrorStatus removeCmd(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName);
    Acad::ErrorStatus removeGroup(const ACHAR* groupName);

private:
    struct Group {
        std::wstring name;
        std::vector<AcEdCommand*> cmds;
    };
    Group* findGroup(const ACHAR* name);
    std::vector<Group> m_groups; // in search order
};

#define acedRegCmds AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK))
