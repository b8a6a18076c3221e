// The host's own commands on drawings.
#include "shell.h"

#include "acdocman.h"
#include "acutads.h"
#include "arxdb.h"
#include "arxed.h"
#include "dxfio.h"
#include "edhost.h"
#include "educs.h"
#include "hostio.h"
#include "textconv.h"

#include <cwctype>
#include <string>

namespace khost {
namespace {

std::wstring titleOf(AcApDocument* doc) {
    const ACHAR* t = doc->docTitle();
    return t ? t : L"";
}

void listDrawings() {
    int i = 1;
    for (AcApDocument* doc : documents()) {
        acutPrintf(L"\n  %d  %ls%ls", i++, titleOf(doc).c_str(),
                   doc == curDoc() ? L"  (current)" : L"");
    }
}

// Asks for a file path on the command line, as file dialogs do while FILEDIA is 0.
bool askPath(const wchar_t* prompt, std::wstring& path) {
    ACHAR buf[4096] = {};
    int rc = acedGetString(1, prompt, buf, 4096);
    if (rc != RTNORM)
        return false;
    path = buf;
    while (!path.empty() && std::iswspace(static_cast<wint_t>(path.back())))
        path.pop_back();
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
        path = path.substr(1, path.size() - 2);
    return !path.empty();
}

void cmdNew() { openDocument(new AcDbDatabase(true, false), L""); }

void cmdSwitch() {
    listDrawings();
    ACHAR buf[512] = {};
    if (acedGetString(1, L"\nDrawing number or name: ", buf, 512) != RTNORM || !buf[0])
        return;
    std::wstring answer = buf;
    std::vector<AcApDocument*> docs = documents();
    AcApDocument* target = nullptr;
    try {
        size_t used = 0;
        int n = std::stoi(answer, &used);
        if (used == answer.size() && n >= 1 && static_cast<size_t>(n) <= docs.size())
            target = docs[static_cast<size_t>(n - 1)];
    } catch (...) {
    }
    if (!target) {
        std::wstring up = toUpper(answer, "en");
        for (AcApDocument* doc : docs)
            if (toUpper(titleOf(doc), "en") == up || toUpper(doc->fileName(), "en") == up)
                target = doc;
    }
    if (!target) {
        acutPrintf(L"\nNo open drawing \"%ls\".", answer.c_str());
        return;
    }
    activateDocument(target);
}

void cmdClose() {
    if (documents().size() <= 1) {
        acutPrintf(L"\nThe only open drawing cannot be closed.");
        return;
    }
    closeDocument(curDoc());
}

void save(bool ask) {
    AcApDocument* doc = curDoc();
    if (!doc)
        return;
    std::wstring path = doc->fileName();
    if (ask || path.empty()) {
        if (!askPath(L"\nSave drawing as: ", path))
            return;
    }
    std::wstring err;
    if (!writeDrawing(doc->database(), path, err)) {
        acutPrintf(L"\nThe drawing could not be saved: %ls", err.c_str());
        return;
    }
    // The document is now the file it was saved to; QSAVE saves there from now on.
    setDocumentPath(doc, path);
}

void cmdSaveAs() { save(true); }
void cmdQSave() { save(false); }

void cmdOpen() {
    std::wstring path;
    if (!askPath(L"\nDrawing to open: ", path))
        return;
    std::wstring err;
    AcDbDatabase* db = readDrawing(path, err);
    if (!db) {
        acutPrintf(L"\n%ls", err.c_str());
        return;
    }
    openDocument(db, path);
}

} // namespace

void registerHostCommands() {
    AcEdCommandStack* stack = AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK));
    if (!stack || stack->lookupGlobalCmd(L"NEW"))
        return;
    const wchar_t* group = L"ACAD_MAIN";
    stack->addCommand(group, L"NEW", L"NEW", ACRX_CMD_MODAL, cmdNew);
    stack->addCommand(group, L"OPEN", L"OPEN", ACRX_CMD_MODAL, cmdOpen);
    stack->addCommand(group, L"SWITCH", L"SWITCH", ACRX_CMD_MODAL, cmdSwitch);
    stack->addCommand(group, L"CLOSE", L"CLOSE", ACRX_CMD_MODAL, cmdClose);
    stack->addCommand(group, L"SAVEAS", L"SAVEAS", ACRX_CMD_MODAL, cmdSaveAs);
    stack->addCommand(group, L"SAVE", L"SAVE", ACRX_CMD_MODAL, cmdSaveAs);
    stack->addCommand(group, L"QSAVE", L"QSAVE", ACRX_CMD_MODAL, cmdQSave);
    registerUcsCommand();
}

} // namespace khost
