#include "accmd.h"
#include "edhost.h"
#include "rxregsvc.h"
#include "textconv.h"

#include <deque>
#include <dlfcn.h>

ACRX_DEFINE_MEMBERS(AcRxDictionary, AcRxObject)
ACRX_DEFINE_MEMBERS(AcRxDictionaryIterator, AcRxObject)
ACRX_DEFINE_MEMBERS(AcRxDynamicLinker, AcRxObject)

// ---- AcRxDictionary

AcRxDictionary::AcRxDictionary(bool caseSensitive, bool deletesObjects)
    : m_caseSensitive(caseSensitive), m_deletes(deletesObjects) {}

AcRxDictionary::~AcRxDictionary() {
    if (!m_deletes)
        return;
    for (Entry& e : m_entries)
        if (e.used)
            delete e.object;
}

std::wstring AcRxDictionary::norm(const ACHAR* key) const {
    std::wstring k = key ? key : L"";
    if (!m_caseSensitive)
        k = khost::toUpper(k, "en");
    return k;
}

AcRxObject* AcRxDictionary::at(const ACHAR* key) const {
    auto it = m_index.find(norm(key));
    return it == m_index.end() ? nullptr : m_entries[it->second].object;
}

AcRxObject* AcRxDictionary::at(Adesk::UInt32 id) const {
    return has(id) ? m_entries[id].object : nullptr;
}

AcRxObject* AcRxDictionary::atPut(const ACHAR* key, AcRxObject* pObject) {
    Adesk::UInt32 id = 0;
    return atPut(key, pObject, id);
}

AcRxObject* AcRxDictionary::atPut(const ACHAR* key, AcRxObject* pObject, Adesk::UInt32& retId) {
    std::wstring k = norm(key);
    auto it = m_index.find(k);
    if (it != m_index.end()) {
        retId = it->second;
        Entry& e = m_entries[it->second];
        AcRxObject* old = e.object;
        e.object = pObject;
        if (m_deletes && old != pObject) {
            delete old;
            return nullptr;
        }
        return old;
    }
    retId = static_cast<Adesk::UInt32>(m_entries.size());
    m_entries.push_back({key ? key : L"", pObject, true});
    m_index[k] = retId;
    return nullptr;
}

bool AcRxDictionary::resetKey(const ACHAR* oldKey, const ACHAR* newKey) {
    auto it = m_index.find(norm(oldKey));
    if (it == m_index.end() || m_index.count(norm(newKey)))
        return false;
    Adesk::UInt32 id = it->second;
    m_index.erase(it);
    m_index[norm(newKey)] = id;
    m_entries[id].key = newKey ? newKey : L"";
    return true;
}

AcRxObject* AcRxDictionary::remove(const ACHAR* key) {
    auto it = m_index.find(norm(key));
    if (it == m_index.end())
        return nullptr;
    return remove(it->second);
}

AcRxObject* AcRxDictionary::remove(Adesk::UInt32 id) {
    if (!has(id))
        return nullptr;
    Entry& e = m_entries[id];
    m_index.erase(norm(e.key.c_str()));
    AcRxObject* obj = e.object;
    e = Entry{};
    if (m_deletes) {
        delete obj;
        return nullptr;
    }
    return obj;
}

bool AcRxDictionary::has(const ACHAR* entryName) const {
    return m_index.count(norm(entryName));
}

bool AcRxDictionary::has(Adesk::UInt32 id) const {
    return id < m_entries.size() && m_entries[id].used;
}

Adesk::UInt32 AcRxDictionary::idAt(const ACHAR* key) const {
    auto it = m_index.find(norm(key));
    return it == m_index.end() ? static_cast<Adesk::UInt32>(-1) : it->second;
}

const ACHAR* AcRxDictionary::keyAt(Adesk::UInt32 id) const {
    return has(id) ? m_entries[id].key.c_str() : nullptr;
}

Adesk::UInt32 AcRxDictionary::numEntries() const {
    return static_cast<Adesk::UInt32>(m_index.size());
}

AcRxDictionaryIterator* AcRxDictionary::newIterator() const {
    return new AcRxDictionaryIterator(this);
}

AcRxDictionaryIterator::AcRxDictionaryIterator(const AcRxDictionary* dict) : m_dict(dict) {
    for (const auto& [key, id] : dict->m_index)
        m_ids.push_back(id);
}

bool AcRxDictionaryIterator::done() const {
    return m_pos >= m_ids.size();
}

bool AcRxDictionaryIterator::next() {
    if (m_pos < m_ids.size())
        ++m_pos;
    return !done();
}

const ACHAR* AcRxDictionaryIterator::key() const {
    return done() ? nullptr : m_dict->keyAt(m_ids[m_pos]);
}

AcRxObject* AcRxDictionaryIterator::object() const {
    return done() ? nullptr : m_dict->at(m_ids[m_pos]);
}

Adesk::UInt32 AcRxDictionaryIterator::id() const {
    return done() ? static_cast<Adesk::UInt32>(-1) : m_ids[m_pos];
}

// ---- The system registry

AcRxDictionary* acrxSysRegistry() {
    static AcRxDictionary* registry = [] {
        auto* d = new AcRxDictionary(true, false);
        d->atPut(ACRX_COMMAND_DOCK, new AcEdCommandStack());
        d->atPut(ACRX_DYNAMIC_LINKER, new AcRxDynamicLinker());
        return d;
    }();
    return registry;
}

// ---- Applications: ids, lock and MDI state

namespace khost {
namespace {

struct AppState {
    bool unlocked = false;
    bool mdiAware = false;
};

std::deque<AppState>& appStates() {
    static std::deque<AppState> states;
    return states;
}

AppState* stateOf(int index) {
    if (index < 0)
        return nullptr;
    auto& states = appStates();
    while (states.size() <= static_cast<size_t>(index))
        states.emplace_back();
    return &states[static_cast<size_t>(index)];
}

int indexByName(const ACHAR* name) {
    if (!name)
        return -1;
    std::wstring wanted = toUpper(name, "en");
    const auto& apps = loadedApps();
    for (size_t i = 0; i < apps.size(); ++i) {
        std::wstring n = toUpper(apps[i].name, "en");
        if (apps[i].entry && (n == wanted || n == wanted + L".SO"))
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

void* appIdOf(int appIndex) {
    AppState* s = stateOf(appIndex);
    if (!s)
        return nullptr;
    const auto& apps = loadedApps();
    if (static_cast<size_t>(appIndex) < apps.size() &&
        apps[static_cast<size_t>(appIndex)].moduleHandle)
        return apps[static_cast<size_t>(appIndex)].moduleHandle;
    return s; // a stable address that names the application
}

int appIndexOf(const void* appId) {
    if (!appId)
        return -1;
    const auto& apps = loadedApps();
    for (size_t i = 0; i < apps.size(); ++i)
        if (appIdOf(static_cast<int>(i)) == appId)
            return static_cast<int>(i);
    return -1;
}

bool isAppUnlocked(int appIndex) {
    AppState* s = stateOf(appIndex);
    return s && s->unlocked;
}

bool isAppMDIAware(int appIndex) {
    AppState* s = stateOf(appIndex);
    return s && s->mdiAware;
}

namespace {
bool setFlag(void* appId, bool AppState::*flag, bool value) {
    int index = appIndexOf(appId);
    if (index < 0)
        return false;
    stateOf(index)->*flag = value;
    return true;
}
} // namespace

} // namespace khost

bool AcRxDynamicLinker::unlockApplication(void* appId) const {
    return khost::setFlag(appId, &khost::AppState::unlocked, true);
}

bool AcRxDynamicLinker::lockApplication(void* appId) const {
    return khost::setFlag(appId, &khost::AppState::unlocked, false);
}

bool AcRxDynamicLinker::isApplicationLocked(const ACHAR* name) const {
    int index = khost::indexByName(name);
    return index < 0 || !khost::isAppUnlocked(index);
}

bool AcRxDynamicLinker::registerAppMDIAware(void* appId) const {
    return khost::setFlag(appId, &khost::AppState::mdiAware, true);
}

bool AcRxDynamicLinker::registerAppNotMDIAware(void* appId) const {
    return khost::setFlag(appId, &khost::AppState::mdiAware, false);
}

bool AcRxDynamicLinker::isAppMDIAware(const ACHAR* moduleName) const {
    int index = khost::indexByName(moduleName);
    return index >= 0 && khost::isAppMDIAware(index);
}

bool AcRxDynamicLinker::loadModule(const ACHAR* fileName, bool printit, bool) {
    if (!fileName)
        return false;
    std::string path = khost::toUtf8(fileName);
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return false;
    auto entry = reinterpret_cast<khost::EntryPointFn>(dlsym(handle, "acrxEntryPoint"));
    if (!entry) {
        dlclose(handle);
        return false;
    }
    std::wstring name = fileName;
    size_t slash = name.find_last_of(L"/\\");
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    khost::LoadedApp app{name, entry, handle};
    if (khost::loadApplication(app) < 0) {
        dlclose(handle);
        return false;
    }
    return true;
}

bool AcRxDynamicLinker::unloadModule(const ACHAR* fileName, bool) {
    std::wstring name = fileName ? fileName : L"";
    size_t slash = name.find_last_of(L"/\\");
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    int index = khost::indexByName(name.c_str());
    if (index < 0)
        return false;
    void* handle = khost::loadedApps()[static_cast<size_t>(index)].moduleHandle;
    if (!khost::unloadApplication(index))
        return false;
    if (handle)
        dlclose(handle);
    return true;
}

bool AcRxDynamicLinker::loadApp(const ACHAR* appName, int, bool, bool printit) {
    return loadModule(appName, printit);
}

bool AcRxDynamicLinker::unloadApp(const ACHAR* appName, bool asCmd) {
    return unloadModule(appName, asCmd);
}

void* AcRxDynamicLinker::getSymbolAddress(const ACHAR* serviceName, const ACHAR* symbol) const {
    int index = khost::indexByName(serviceName);
    if (index < 0 || !symbol)
        return nullptr;
    void* handle = khost::loadedApps()[static_cast<size_t>(index)].moduleHandle;
    return handle ? dlsym(handle, khost::toUtf8(symbol).c_str()) : nullptr;
}

bool acrxUnlockApplication(void* appId) {
    return acrxDynamicLinker->unlockApplication(appId);
}
bool acrxLockApplication(void* appId) {
    return acrxDynamicLinker->lockApplication(appId);
}
bool acrxApplicationIsLocked(const ACHAR* modulename) {
    return acrxDynamicLinker->isApplicationLocked(modulename);
}
bool acrxRegisterAppMDIAware(void* appId) {
    return acrxDynamicLinker->registerAppMDIAware(appId);
}
bool acrxRegisterAppNotMDIAware(void* appId) {
    return acrxDynamicLinker->registerAppNotMDIAware(appId);
}
bool acrxLoadModule(const ACHAR* moduleName, bool printit, bool asCmd) {
    return acrxDynamicLinker->loadModule(moduleName, printit, asCmd);
}
bool acrxUnloadModule(const ACHAR* moduleName, bool asCmd) {
    return acrxDynamicLinker->unloadModule(moduleName, asCmd);
}
bool acrxLoadApp(const ACHAR* appname, bool asCmd) {
    return acrxDynamicLinker->loadApp(appname, 0, false, asCmd);
}
bool acrxUnloadApp(const ACHAR* appname, bool asCmd) {
    return acrxDynamicLinker->unloadApp(appname, asCmd);
}
void* acrxGetServiceSymbolAddr(const ACHAR* serviceName, const ACHAR* symbol) {
    return acrxDynamicLinker->getSymbolAddress(serviceName, symbol);
}
