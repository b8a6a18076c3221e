// Documents: each open drawing with its database, and the manager of the open documents.
#pragma once

#include "acadstrc.h"
#include "adsdef.h"
#include "rxobject.h"

#include <string>

class AcDbDatabase;
class AcApDocument;
class AcApDocumentIterator;

namespace AcAp {
enum DocLockMode {
    kNone = 0x00,
    kAutoWrite = 0x01,
    kNotLocked = 0x02,
    kWrite = 0x04,
    kProtectedAutoWrite = 0x14,
    kRead = 0x20,
    kXWrite = 0x40,
};
} // namespace AcAp

namespace khost {
struct DocumentSession;
AcApDocument* openDocument(AcDbDatabase* db, const std::wstring& path);
void setDocumentPath(AcApDocument* doc, const std::wstring& path);
} // namespace khost

class AcApDocument : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcApDocument);
    ~AcApDocument() override;
    AcApDocument(const AcApDocument&) = delete;
    AcApDocument& operator=(const AcApDocument&) = delete;

    AcDbDatabase* database() const { return m_db; }
    // The full path of the drawing ("" for a drawing never saved).
    const ACHAR* fileName() const { return m_path.c_str(); }
    // The file name without folder ("Drawing1.dwg" for one never saved).
    const ACHAR* docTitle() const { return m_title.c_str(); }
    bool isReadOnly() const { return m_readOnly; }
    AcAp::DocLockMode lockMode(bool bIncludeMyLocks = false) const;
    AcAp::DocLockMode myLockMode() const { return lockMode(true); }
    bool isQuiescent() const;

    khost::DocumentSession& session() { return *m_session; }

private:
    friend AcApDocument* khost::openDocument(AcDbDatabase*, const std::wstring&);
    friend void khost::setDocumentPath(AcApDocument*, const std::wstring&);
    AcApDocument(AcDbDatabase* db, const std::wstring& path);
    friend class AcApDocManager;
    AcDbDatabase* m_db;
    std::wstring m_path;
    std::wstring m_title;
    bool m_readOnly = false;
    int m_lockCount = 0;
    khost::DocumentSession* m_session;
};

class AcApDocumentIterator : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcApDocumentIterator);
    AcApDocumentIterator();
    bool done();
    void step();
    AcApDocument* document();

private:
    size_t m_pos = 0;
};

class AcApDocManager : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcApDocManager);

    // The document whose database commands work on, and the one that has the user's attention;
    // the host has one command line, so they are the same.
    AcApDocument* curDocument() const;
    AcApDocument* mdiActiveDocument() const;
    AcApDocument* document(const AcDbDatabase* db) const;
    int documentCount() const;
    AcApDocumentIterator* newAcApDocumentIterator();
    bool isApplicationContext() const { return false; }

    Acad::ErrorStatus lockDocument(AcApDocument* pDoc, AcAp::DocLockMode mode = AcAp::kWrite,
                                   const ACHAR* pGlobalCmdName = nullptr,
                                   const ACHAR* pLocalCmdName = nullptr, bool prompt = true);
    Acad::ErrorStatus unlockDocument(AcApDocument* pDoc);
    Acad::ErrorStatus setCurDocument(AcApDocument* pDoc, AcAp::DocLockMode = AcAp::kNone,
                                     bool activate = false);
    Acad::ErrorStatus activateDocument(AcApDocument* pAcTargetDocument,
                                       bool bPassiveSwitch = false);
    // Queues text to be executed at the command line as if typed.
    Acad::ErrorStatus sendStringToExecute(AcApDocument* pAcTargetDocument, const ACHAR* pszExecute,
                                          bool bActivate = true, bool bWrapUpInactiveDoc = false,
                                          bool bEchoString = true);
    Acad::ErrorStatus closeDocument(AcApDocument* pAcTargetDocument);
};

AcApDocManager* acDocManagerPtr();
#define acDocManager acDocManagerPtr()

inline AcApDocument* curDoc() {
    return acDocManager->curDocument();
}
