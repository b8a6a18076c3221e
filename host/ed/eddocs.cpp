// Documents, the document manager, and loading applications into the open documents.
#include "lisp.h"
#include "acdocman.h"
#include "appregistry.h"
#include "dbapserv.h"
#include "edhost.h"
#include "edinternal.h"
#include "hostio.h"

#include <algorithm>
#include <memory>

ACRX_DEFINE_MEMBERS(AcApDocument, AcRxObject)
ACRX_DEFINE_MEMBERS(AcApDocumentIterator, AcRxObject)
ACRX_DEFINE_MEMBERS(AcApDocManager, AcRxObject)

namespace khost {
namespace {

std::vector<AcApDocument*>& docs() {
    static std::vector<AcApDocument*> list;
    return list;
}

AcApDocument* g_current = nullptr;

DocumentSession& noDocumentSession() {
    static DocumentSession session;
    return session;
}

void makeCurrent(AcApDocument* doc) {
    g_current = doc;
    acdbHostApplicationServices()->setWorkingDatabase(doc ? doc->database() : nullptr);
}

// Sends a message to every loaded application.
void broadcast(AcRx::AppMsgCode msg) {
    const auto& apps = loadedApps();
    for (size_t i = 0; i < apps.size(); ++i)
        if (apps[i].entry)
            sendAppMessage(static_cast<int>(i), msg, appIdOf(static_cast<int>(i)));
}

std::wstring titleOf(const std::wstring& path) {
    if (path.empty()) {
        static int untitled = 0;
        return L"Drawing" + std::to_wstring(++untitled) + L".dwg";
    }
    size_t slash = path.find_last_of(L"/\\");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

} // namespace

AcApDocument* openDocument(AcDbDatabase* db, const std::wstring& path) {
    auto* doc = new AcApDocument(db, path);
    docs().push_back(doc);
    makeCurrent(doc);
    broadcast(AcRx::kLoadDwgMsg);
    return doc;
}

void activateDocument(AcApDocument* doc) {
    if (doc && std::find(docs().begin(), docs().end(), doc) != docs().end())
        makeCurrent(doc);
}

void closeDocument(AcApDocument* doc) {
    auto it = std::find(docs().begin(), docs().end(), doc);
    if (it == docs().end())
        return;
    AcApDocument* previous = g_current;
    makeCurrent(doc);
    broadcast(AcRx::kUnloadDwgMsg);
    // The document's AutoLISP symbols go with it (a new document may reuse its address).
    lispForgetDocument(doc);
    docs().erase(std::find(docs().begin(), docs().end(), doc));
    if (previous == doc || std::find(docs().begin(), docs().end(), previous) == docs().end())
        previous = docs().empty() ? nullptr : docs().back();
    makeCurrent(previous);
    delete doc;
}

void closeAllDocuments() {
    while (!docs().empty())
        closeDocument(docs().back());
}

const void* currentDocumentKey() {
    return g_current;
}

std::vector<AcApDocument*> documents() {
    return docs();
}

DocumentSession& currentSession() {
    return g_current ? g_current->session() : noDocumentSession();
}

int loadApplication(const LoadedApp& app) {
    int index = registerApp(app);
    if (sendAppMessage(index, AcRx::kInitAppMsg, appIdOf(index)) != AcRx::kRetOK) {
        removeCommandsOfApp(appIdOf(index));
        unregisterApp(index);
        return -1;
    }
    AcApDocument* previous = g_current;
    for (AcApDocument* doc : documents()) {
        makeCurrent(doc);
        sendAppMessage(index, AcRx::kLoadDwgMsg, appIdOf(index));
    }
    makeCurrent(previous);
    return index;
}

bool unloadApplication(int appIndex, bool evenIfLocked) {
    const auto& apps = loadedApps();
    if (appIndex < 0 || static_cast<size_t>(appIndex) >= apps.size() ||
        !apps[static_cast<size_t>(appIndex)].entry)
        return false;
    if (!evenIfLocked && !isAppUnlocked(appIndex))
        return false;
    sendAppMessage(appIndex, AcRx::kUnloadAppMsg, appIdOf(appIndex));
    removeCommandsOfApp(appIdOf(appIndex));
    unregisterApp(appIndex);
    return true;
}

} // namespace khost

// ---- AcApDocument

AcApDocument::AcApDocument(AcDbDatabase* db, const std::wstring& path)
    : m_db(db), m_path(path), m_title(khost::titleOf(path)),
      m_session(new khost::DocumentSession()) {}

AcApDocument::~AcApDocument() {
    delete m_session;
    delete m_db;
}

AcAp::DocLockMode AcApDocument::lockMode(bool) const {
    return m_lockCount > 0 ? AcAp::kWrite : AcAp::kNotLocked;
}

bool AcApDocument::isQuiescent() const {
    return khost::activeCommandName().empty();
}

// ---- AcApDocumentIterator

AcApDocumentIterator::AcApDocumentIterator() = default;

bool AcApDocumentIterator::done() {
    return m_pos >= khost::documents().size();
}

void AcApDocumentIterator::step() {
    if (!done())
        ++m_pos;
}

AcApDocument* AcApDocumentIterator::document() {
    std::vector<AcApDocument*> list = khost::documents();
    return m_pos < list.size() ? list[m_pos] : nullptr;
}

// ---- AcApDocManager

AcApDocManager* acDocManagerPtr() {
    static AcApDocManager manager;
    return &manager;
}

AcApDocument* AcApDocManager::curDocument() const {
    return khost::g_current;
}

AcApDocument* AcApDocManager::mdiActiveDocument() const {
    return khost::g_current;
}

AcApDocument* AcApDocManager::document(const AcDbDatabase* db) const {
    for (AcApDocument* d : khost::documents())
        if (d->database() == db)
            return d;
    return nullptr;
}

int AcApDocManager::documentCount() const {
    return static_cast<int>(khost::documents().size());
}

AcApDocumentIterator* AcApDocManager::newAcApDocumentIterator() {
    return new AcApDocumentIterator();
}

Acad::ErrorStatus AcApDocManager::lockDocument(AcApDocument* pDoc, AcAp::DocLockMode, const ACHAR*,
                                               const ACHAR*, bool) {
    if (!pDoc)
        return Acad::eNullObjectPointer;
    ++pDoc->m_lockCount;
    return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::unlockDocument(AcApDocument* pDoc) {
    if (!pDoc)
        return Acad::eNullObjectPointer;
    if (pDoc->m_lockCount == 0)
        return Acad::eNotApplicable;
    --pDoc->m_lockCount;
    return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::setCurDocument(AcApDocument* pDoc, AcAp::DocLockMode mode, bool) {
    if (!pDoc || !document(pDoc->database()))
        return Acad::eInvalidInput;
    khost::activateDocument(pDoc);
    if (mode != AcAp::kNone)
        return lockDocument(pDoc, mode);
    return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::activateDocument(AcApDocument* pAcTargetDocument, bool) {
    if (!pAcTargetDocument || !document(pAcTargetDocument->database()))
        return Acad::eInvalidInput;
    khost::activateDocument(pAcTargetDocument);
    return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::sendStringToExecute(AcApDocument* pAcTargetDocument,
                                                      const ACHAR* pszExecute, bool, bool, bool) {
    if (!pszExecute)
        return Acad::eInvalidInput;
    if (pAcTargetDocument && pAcTargetDocument != khost::g_current)
        khost::activateDocument(pAcTargetDocument);
    khost::hostInput().push(pszExecute);
    return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::closeDocument(AcApDocument* pAcTargetDocument) {
    if (!pAcTargetDocument || !document(pAcTargetDocument->database()))
        return Acad::eInvalidInput;
    khost::closeDocument(pAcTargetDocument);
    return Acad::eOk;
}
