// The command line: the "Command:" prompt, running commands, AutoLISP expressions.
#include "lisp.h"
#include "accmd.h"
#include "dbhost.h"
#include "edhost.h"
#include "edinternal.h"
#include "hostio.h"
#include "lispapi.h"
#include "textconv.h"

#include <exception>

namespace khost {
namespace {

std::wstring g_activeCommand;

bool echoing() {
    return hostInput().echo() && !hostInput().interactive();
}

// The text of an exception: UTF-8 when it is valid UTF-8 with characters beyond ASCII, else
// the Windows code page the application's messages are written in.
std::wstring exceptionText(const char* what) {
    std::string bytes = what ? what : "";
    std::wstring utf = fromUtf8(bytes);
    if (utf.find(L'\xFFFD') == std::wstring::npos)
        return utf;
    std::wstring cp;
    if (fromCodePage(bytes, 1250, cp))
        return cp;
    return utf;
}

// Tracks the nesting of parentheses of AutoLISP text, outside strings and comments.
struct LispScanner {
    int depth = 0;
    bool inString = false;
    bool escape = false;
    bool sawParen = false;
    // Scans a piece of text; returns the position where a comment begins (npos if none).
    size_t feed(const std::wstring& text) {
        for (size_t i = 0; i < text.size(); ++i) {
            wchar_t c = text[i];
            if (inString) {
                if (escape)
                    escape = false;
                else if (c == L'\\')
                    escape = true;
                else if (c == L'"')
                    inString = false;
                continue;
            }
            if (c == L'"')
                inString = true;
            else if (c == L';')
                return i;
            else if (c == L'(') {
                ++depth;
                sawParen = true;
            } else if (c == L')')
                --depth;
        }
        return std::wstring::npos;
    }
    bool complete() const { return sawParen && depth <= 0 && !inString; }
};

// Reads the rest of an AutoLISP expression that began with the given answer. Spaces and line
// ends both separate answers and are both blanks to AutoLISP, so the answers are joined with
// one space; a run of spaces comes back as the empty answers between them.
bool readLispExpression(std::wstring& text) {
    LispScanner scan;
    size_t comment = scan.feed(text);
    if (comment != std::wstring::npos) {
        text.erase(comment);
        if (!scan.complete() && !hostInput().lastAnswerEndedLine())
            hostInput().readLine(); // the comment runs to the end of its line
    }
    while (!scan.complete()) {
        Answer a = hostInput().readAnswer(false);
        if (a.kind == Answer::End)
            return false;
        if (a.kind == Answer::Cancel)
            return false;
        std::wstring piece = a.text;
        comment = scan.feed(piece);
        if (comment != std::wstring::npos) {
            piece.erase(comment);
            if (!hostInput().lastAnswerEndedLine())
                hostInput().readLine();
        }
        text += L" " + piece;
    }
    return true;
}

void runCommand(AcEdCommand* cmd) {
    std::wstring name = cmd->globalName();
    Adesk::Int32 flags = cmd->commandFlags();
    AcRxFunctionPtr fn = cmd->functionAddr();
    std::wstring saved = g_activeCommand;
    g_activeCommand = name;
    try {
        fn();
    } catch (const std::exception& e) {
        printHostMessage(L"** Unhandled exception in command " + name + L": " +
                         exceptionText(e.what()));
        hostPrint(L"\n");
    } catch (...) {
        printHostMessage(L"** Unhandled exception in command " + name + L": unknown exception");
        hostPrint(L"\n");
    }
    g_activeCommand = saved;
    reportOpenObjects(name);
    if (!(flags & (ACRX_CMD_USEPICKSET | ACRX_CMD_REDRAW)))
        clearPickfirst();
}

} // namespace

void printHostMessage(std::wstring_view text) {
    if (!hostTranscript().currentLine().empty())
        hostPrint(L"\n");
    hostPrint(text);
}

void clearPickfirst() {
    currentSession().pickfirst.clear();
}

const std::wstring& activeCommandName() {
    return g_activeCommand;
}

bool executeCommand(const std::wstring& typed) {
    std::wstring name = typed;
    bool global = false;
    bool dot = false;
    while (!name.empty() && (name[0] == L'_' || name[0] == L'.' || name[0] == L'\'')) {
        if (name[0] == L'_')
            global = true;
        else if (name[0] == L'.')
            dot = true;
        name.erase(0, 1);
    }
    AcEdCommandStack* stack = acedRegCmds;
    AcEdCommand* cmd = nullptr;
    if (!name.empty() && stack)
        cmd = stack->lookupCmd(name.c_str(), global, true, !dot);
    if (!cmd && !name.empty() && lispHasCommand(name)) {
        // An AutoLISP function named C:NAME runs as a command.
        lispRunCommand(name);
        return true;
    }
    if (!cmd) {
        printHostMessage(L"Unknown command \"" + upperName(typed) + L"\".  Press F1 for help.");
        hostPrint(L"\n");
        return false;
    }
    runCommand(cmd);
    return true;
}

bool commandLineStep() {
    hostPrint(L"\nCommand: ");
    Answer a = hostInput().readAnswer(false);
    if (a.kind == Answer::End) {
        if (echoing())
            hostPrint(L"\n");
        return false;
    }
    if (a.kind == Answer::Cancel) {
        if (echoing())
            hostPrint(L"*Cancel*\n");
        return true;
    }
    std::wstring text = a.text;
    if (!text.empty() && text[0] == L'(') {
        bool whole = readLispExpression(text);
        if (echoing())
            hostPrint(text + L"\n");
        if (whole)
            lispEvalText(text);
        return true;
    }
    if (echoing())
        hostPrint(text + L"\n");
    if (text.empty())
        return true;
    if (text[0] == L'!' && text.size() > 1) {
        lispEvalText(text.substr(1));
        return true;
    }
    executeCommand(text);
    return true;
}

void runCommandLoop() {
    while (commandLineStep()) {
    }
}

void resetEditorState() {
    resetInputState();
    resetSessionVariables();
    currentSession() = DocumentSession{};
}

} // namespace khost
