#include "accmd.h"
#include "appregistry.h"
#include "edhost.h"
#include "edinternal.h"
#include "textconv.h"

#include <algorithm>

ACRX_DEFINE_MEMBERS(AcEdCommand, AcRxObject)
ACRX_DEFINE_MEMBERS(AcEdCommandIterator, AcRxObject)
ACRX_DEFINE_MEMBERS(AcEdCommandStack, AcRxObject)

namespace khost {

std::wstring upperName(std::wstring_view name) {
    return toUpper(name, "en");
}

bool sameName(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && upperName(a) == upperName(b);
}

void removeCommandsOfApp(const void* appId) {
    AcEdCommandStack* stack = acedRegCmds;
    if (!appId || !stack)
        return;
    std::vector<std::pair<std::wstring, std::wstring>> doomed;
    AcEdCommandIterator* it = stack->iterator();
    for (; !it->done(); it->next())
        if (it->command()->commandApp() == appId)
            doomed.emplace_back(it->commandGroup(), it->command()->globalName());
    delete it;
    for (const auto& [group, name] : doomed)
        stack->removeCmd(group.c_str(), name.c_str());
}

} // namespace khost

// ---- AcEdCommandIterator

bool AcEdCommandIterator::done() const {
    return m_pos >= m_cmds.size();
}

bool AcEdCommandIterator::next() {
    if (m_pos < m_cmds.size())
        ++m_pos;
    return !done();
}

const AcEdCommand* AcEdCommandIterator::command() const {
    return done() ? nullptr : m_cmds[m_pos];
}

const ACHAR* AcEdCommandIterator::commandGroup() const {
    return done() ? nullptr : m_cmds[m_pos]->groupName();
}

// ---- AcEdCommandStack

AcEdCommandStack::AcEdCommandStack() = default;

AcEdCommandStack::~AcEdCommandStack() {
    for (Group& g : m_groups)
        for (AcEdCommand* c : g.cmds)
            delete c;
}

AcEdCommandStack::Group* AcEdCommandStack::findGroup(const ACHAR* name) {
    if (!name)
        return nullptr;
    for (Group& g : m_groups)
        if (khost::sameName(g.name, name))
            return &g;
    return nullptr;
}

namespace {
bool validName(const ACHAR* name) {
    if (!name || !*name)
        return false;
    for (const ACHAR* p = name; *p; ++p)
        if (*p == L' ' || *p == L'\t' || *p == L'\n')
            return false;
    return true;
}
} // namespace

Acad::ErrorStatus AcEdCommandStack::addCommand(
    const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName, const ACHAR* cmdLocalName,
    Adesk::Int32 commandFlags, AcRxFunctionPtr FunctionAddr, AcEdUIContext* UIContext, int fcode,
    const AcRxResourceInstance& resourceInstance, AcEdCommand** cmdPtrRet) {
    if (cmdPtrRet)
        *cmdPtrRet = nullptr;
    if (!validName(cmdGroupName) || !validName(cmdGlobalName) || !FunctionAddr)
        return Acad::eInvalidInput;
    if (!cmdLocalName || !*cmdLocalName)
        cmdLocalName = cmdGlobalName;
    if (!validName(cmdLocalName))
        return Acad::eInvalidInput;
    Group* g = findGroup(cmdGroupName);
    if (g) {
        for (AcEdCommand* c : g->cmds)
            if (khost::sameName(c->m_global, cmdGlobalName) ||
                khost::sameName(c->m_local, cmdLocalName))
                return Acad::eDuplicateKey;
    } else {
        m_groups.push_back({cmdGroupName, {}});
        g = &m_groups.back();
    }
    auto* cmd = new AcEdCommand();
    cmd->m_group = g->name;
    cmd->m_global = cmdGlobalName;
    cmd->m_local = cmdLocalName;
    cmd->m_flags = commandFlags;
    cmd->m_fn = FunctionAddr;
    cmd->m_ui = UIContext;
    cmd->m_fcode = fcode;
    cmd->m_resource = resourceInstance;
    cmd->m_app = khost::appIdOf(khost::currentAppIndex());
    g->cmds.push_back(cmd);
    if (cmdPtrRet)
        *cmdPtrRet = cmd;
    return Acad::eOk;
}

AcEdCommandIterator* AcEdCommandStack::iterator() {
    auto* it = new AcEdCommandIterator();
    for (const Group& g : m_groups)
        for (const AcEdCommand* c : g.cmds)
            it->m_cmds.push_back(c);
    return it;
}

AcEdCommand* AcEdCommandStack::lookupGlobalCmd(const ACHAR* cmdName) {
    return lookupCmd(cmdName, true);
}

AcEdCommand* AcEdCommandStack::lookupLocalCmd(const ACHAR* cmdName) {
    return lookupCmd(cmdName, false);
}

AcEdCommand* AcEdCommandStack::lookupCmd(const ACHAR* cmdName, bool globalFlag, bool,
                                         bool skipUndefed) {
    if (!cmdName || !*cmdName)
        return nullptr;
    for (Group& g : m_groups)
        for (AcEdCommand* c : g.cmds) {
            if (!khost::sameName(globalFlag ? c->m_global : c->m_local, cmdName))
                continue;
            if (skipUndefed && c->isUndefined())
                break; // look in the next group
            return c;
        }
    return nullptr;
}

Acad::ErrorStatus AcEdCommandStack::popGroupToTop(const ACHAR* groupName) {
    Group* g = findGroup(groupName);
    if (!g)
        return Acad::eKeyNotFound;
    std::rotate(m_groups.begin(), m_groups.begin() + (g - m_groups.data()),
                m_groups.begin() + (g - m_groups.data()) + 1);
    return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeCmd(const ACHAR* cmdGroupName,
                                              const ACHAR* cmdGlobalName) {
    Group* g = findGroup(cmdGroupName);
    if (!g || !cmdGlobalName)
        return Acad::eKeyNotFound;
    auto it = std::find_if(g->cmds.begin(), g->cmds.end(), [&](AcEdCommand* c) {
        return khost::sameName(c->m_global, cmdGlobalName);
    });
    if (it == g->cmds.end())
        return Acad::eKeyNotFound;
    delete *it;
    g->cmds.erase(it);
    if (g->cmds.empty())
        m_groups.erase(m_groups.begin() + (g - m_groups.data()));
    return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeGroup(const ACHAR* groupName) {
    Group* g = findGroup(groupName);
    if (!g)
        return Acad::eKeyNotFound;
    for (AcEdCommand* c : g->cmds)
        delete c;
    m_groups.erase(m_groups.begin() + (g - m_groups.data()));
    return Acad::eOk;
}
