// The editor's side of the host: documents, the command line, applications and the editor's
// own state. Used by the shell, the LISP evaluator and the tests; applications never see it.
#pragma once

#include "appregistry.h"
#include "adsdef.h"
#include "dbid.h"

#include <string>
#include <vector>

class AcApDocument;
class AcDbDatabase;

namespace khost {

// ---- Documents
// Opens a document for a database (the document owns it from now on) and makes it current:
// the working database becomes its database, and every loaded application gets kLoadDwgMsg.
AcApDocument* openDocument(AcDbDatabase* db, const std::wstring& path);
// Makes a document current (and its database the working database).
void activateDocument(AcApDocument* doc);
// Sends kUnloadDwgMsg to the applications with the document current, then deletes the
// document and its database. Another document, if any, becomes current.
void closeDocument(AcApDocument* doc);
// Gives a document a new file (SAVEAS): its path, its title and its database's file name.
void setDocumentPath(AcApDocument* doc, const std::wstring& path);
// Closes every document (the last first).
void closeAllDocuments();
// Identifies the current document (null when none), for state kept per document.
const void* currentDocumentKey();
std::vector<AcApDocument*> documents();

// State the editor keeps per document.
struct DocumentSession {
    short paperCvport = 1; // CVPORT while TILEMODE is 0: 1 paper space, >= 2 a viewport
    ads_point lastPointWcs = {0, 0, 0};
    // The pickfirst set (cleared after every command not registered with ACRX_CMD_USEPICKSET
    // or ACRX_CMD_REDRAW) and the previous selection, kept for the selection functions.
    std::vector<AcDbObjectId> pickfirst;
    std::vector<AcDbObjectId> previousSelection;
    // The plan view of the current space that sizes the pick box (edsel.h): its centre (WCS)
    // and its height in drawing units (VIEWCTR, VIEWSIZE).
    ads_point viewCenterWcs = {0, 0, 0};
    double viewHeight = 1000.0;
};
// The current document's session (a session without document when none is open).
DocumentSession& currentSession();

// ---- Commands and the command line
// Runs one command typed at the command prompt: its local name, or "_" and its global name,
// either optionally after "." or "'". Returns false (after printing the unknown-command line)
// when there is no such command.
bool executeCommand(const std::wstring& typed);
// "\nCommand: " prompts until the input ends: commands, AutoLISP expressions (an answer
// beginning with "(" is read on until its parentheses balance) and "!symbol".
void runCommandLoop();
// Reads one answer at the command prompt and acts on it; false at the end of input.
bool commandLineStep();
// The global name of the command that is running ("" when none).
const std::wstring& activeCommandName();

// ---- Applications
// The id an application receives with kInitAppMsg (its module handle when it has one).
void* appIdOf(int appIndex);
int appIndexOf(const void* appId);
// Registers an application, sends kInitAppMsg (with its id as the packet) and then
// kLoadDwgMsg for every open document (each current in turn). Returns its index, or -1 when
// the application refused to initialise (it is then unregistered).
int loadApplication(const LoadedApp& app);
// Sends kUnloadAppMsg and unregisters the application; refused (false) while the application
// is locked unless forced. The commands it left registered are removed.
bool unloadApplication(int appIndex, bool evenIfLocked = false);
bool isAppUnlocked(int appIndex);
bool isAppMDIAware(int appIndex);

// ---- Editor state
// Forgets pending input options and the last keyword, and resets the session variables kept
// outside documents to their defaults (for tests).
void resetEditorState();

} // namespace khost
