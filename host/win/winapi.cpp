// Message boxes, windows and window classes, code pages, the last error, time.
#include "windows.h"
#include "winhost.h"

#include "answerbox.h"
#include "hostio.h"
#include "textconv.h"
#include "afxwin.h"

#include <unicode/uchar.h>

#include <chrono>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_INVALID_MSGBOX_STYLE 1158L

namespace {

thread_local DWORD t_lastError = 0;

HWND__ g_mainWindow{};
HWND__ g_desktopWindow{};
HINSTANCE__ g_hostModule{};
HWND g_activeWindow = nullptr;

std::wstring foldName(std::wstring_view name) {
    std::wstring out(name);
    for (wchar_t& c : out)
        c = static_cast<wchar_t>(u_foldCase(static_cast<UChar32>(c), 0));
    return out;
}

struct ClassTable {
    std::mutex mutex;
    std::map<std::wstring, ATOM> byName; // folded name -> atom
    std::set<std::wstring> unregistered; // folded names
    ATOM next = 0xC000;
};

ClassTable& classes() {
    static ClassTable table;
    return table;
}

// --- Message boxes ---

std::vector<khost::AnswerButton> buttonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        return {{L"OK", IDOK}};
    case MB_OKCANCEL:
        return {{L"OK", IDOK}, {L"Cancel", IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {{L"Abort", IDABORT}, {L"Retry", IDRETRY}, {L"Ignore", IDIGNORE}};
    case MB_YESNOCANCEL:
        return {{L"Yes", IDYES}, {L"No", IDNO}, {L"Cancel", IDCANCEL}};
    case MB_YESNO:
        return {{L"Yes", IDYES}, {L"No", IDNO}};
    case MB_RETRYCANCEL:
        return {{L"Retry", IDRETRY}, {L"Cancel", IDCANCEL}};
    case MB_CANCELTRYCONTINUE:
        return {{L"Cancel", IDCANCEL}, {L"Try Again", IDTRYAGAIN}, {L"Continue", IDCONTINUE}};
    default:
        return {};
    }
}

int showMessageBox(std::wstring_view text, std::wstring_view caption, UINT type) {
    std::vector<khost::AnswerButton> buttons = buttonsOf(type);
    if (buttons.empty()) {
        SetLastError(ERROR_INVALID_MSGBOX_STYLE);
        return 0;
    }
    size_t def = (type & MB_DEFMASK) >> 8;
    if (def >= buttons.size())
        def = 0;
    std::wstring box = L"\n** ";
    box.append(caption);
    box += L" **\n";
    box.append(text);
    box += L"\n";
    return khost::askButtons(box, buttons, buttons[def].id);
}

int resolveCodePage(UINT codePage) {
    switch (codePage) {
    case CP_ACP:
    case CP_THREAD_ACP:
        return 1250;
    case CP_OEMCP:
        return 852;
    default:
        return static_cast<int>(codePage);
    }
}

bool validUtf8(const char* s, int n) {
    std::wstring w = khost::fromUtf8(std::string_view(s, static_cast<size_t>(n)));
    std::string back = khost::toUtf8(w);
    return back == std::string_view(s, static_cast<size_t>(n));
}

} // namespace

DWORD GetLastError() {
    return t_lastError;
}
void SetLastError(DWORD error) {
    t_lastError = error;
}

int MessageBoxW(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
    return showMessageBox(text ? text : L"", caption ? caption : L"Error", type);
}

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    std::wstring wtext;
    std::wstring wcaption = L"Error";
    if (text)
        khost::fromCodePage(text, 1250, wtext);
    if (caption)
        khost::fromCodePage(caption, 1250, wcaption);
    return showMessageBox(wtext, wcaption, type);
}

HWND adsw_acadMainWnd() {
    return &g_mainWindow;
}
HWND GetActiveWindow() {
    return g_activeWindow ? g_activeWindow : &g_mainWindow;
}
HWND GetDesktopWindow() {
    return &g_desktopWindow;
}
BOOL IsWindow(HWND wnd) {
    return wnd && (wnd == &g_mainWindow || wnd == &g_desktopWindow || wnd == g_activeWindow ||
                   khost::isLibraryWindow(wnd));
}

namespace khost {

HWND mainWindow() {
    return &g_mainWindow;
}
void setActiveWindow(HWND wnd) {
    g_activeWindow = wnd;
}

void registerWindowClass(std::wstring_view name) {
    ClassTable& t = classes();
    std::lock_guard<std::mutex> lock(t.mutex);
    std::wstring key = foldName(name);
    if (!t.byName.count(key))
        t.byName[key] = t.next++;
    t.unregistered.erase(key);
}

bool isWindowClassRegistered(std::wstring_view name) {
    ClassTable& t = classes();
    std::lock_guard<std::mutex> lock(t.mutex);
    return t.byName.count(foldName(name)) != 0;
}

bool windowClassWasUnregistered(std::wstring_view name) {
    ClassTable& t = classes();
    std::lock_guard<std::mutex> lock(t.mutex);
    return t.unregistered.count(foldName(name)) != 0;
}

} // namespace khost

HMODULE GetModuleHandleW(LPCWSTR name) {
    if (!name)
        return &g_hostModule;
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

ATOM RegisterClassW(const WNDCLASSW* wc) {
    if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    ClassTable& t = classes();
    std::lock_guard<std::mutex> lock(t.mutex);
    std::wstring key = foldName(wc->lpszClassName);
    if (t.byName.count(key)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    ATOM atom = t.next++;
    t.byName[key] = atom;
    t.unregistered.erase(key);
    return atom;
}

BOOL UnregisterClassW(LPCWSTR name, HINSTANCE) {
    ClassTable& t = classes();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.byName.end();
    if (name && IS_INTRESOURCE(name)) {
        auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
        for (it = t.byName.begin(); it != t.byName.end(); ++it)
            if (it->second == atom)
                break;
    } else if (name) {
        it = t.byName.find(foldName(name));
    }
    if (it == t.byName.end()) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    t.unregistered.insert(it->first);
    t.byName.erase(it);
    return TRUE;
}

// --- Code pages ---

UINT GetACP() {
    return 1250;
}
UINT GetOEMCP() {
    return 852;
}

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int cbSrc, LPWSTR dst, int cchDst) {
    if (!src || cbSrc == 0 || cbSrc < -1 || cchDst < 0 || (!dst && cchDst != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int n = cbSrc == -1 ? static_cast<int>(std::strlen(src)) + 1 : cbSrc;
    int cp = resolveCodePage(codePage);
    std::wstring out;
    if (cp == CP_UTF8) {
        if ((flags & MB_ERR_INVALID_CHARS) && !validUtf8(src, n)) {
            SetLastError(ERROR_NO_UNICODE_TRANSLATION);
            return 0;
        }
        out = khost::fromUtf8(std::string_view(src, static_cast<size_t>(n)));
    } else if (!khost::fromCodePage(std::string_view(src, static_cast<size_t>(n)), cp, out)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int size = static_cast<int>(out.size());
    if (cchDst == 0)
        return size;
    if (size > cchDst) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::wmemcpy(dst, out.data(), out.size());
    return size;
}

int WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR src, int cchSrc, LPSTR dst, int cbDst,
                        LPCSTR defaultChar, LPBOOL usedDefault) {
    if (!src || cchSrc == 0 || cchSrc < -1 || cbDst < 0 || (!dst && cbDst != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int cp = resolveCodePage(codePage);
    if (cp == CP_UTF8 && (defaultChar || usedDefault)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int n = cchSrc == -1 ? static_cast<int>(std::wcslen(src)) + 1 : cchSrc;
    std::wstring_view text(src, static_cast<size_t>(n));
    std::string out;
    bool substituted = false;
    if (cp == CP_UTF8) {
        out = khost::toUtf8(text);
    } else if (!defaultChar && !usedDefault) {
        if (!khost::toCodePage(text, cp, out)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
    } else {
        // Character by character, to know which ones the page lacks.
        for (wchar_t c : text) {
            std::string one;
            if (!khost::toCodePage(std::wstring_view(&c, 1), cp, one)) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return 0;
            }
            if (one == "?" && c != L'?') {
                substituted = true;
                if (defaultChar)
                    one.assign(1, *defaultChar);
            }
            out += one;
        }
    }
    if (usedDefault)
        *usedDefault = substituted ? TRUE : FALSE;
    int size = static_cast<int>(out.size());
    if (cbDst == 0)
        return size;
    if (size > cbDst) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(dst, out.data(), out.size());
    return size;
}

// --- Time ---

void Sleep(DWORD ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

ULONGLONG GetTickCount64() {
    using namespace std::chrono;
    return static_cast<ULONGLONG>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

DWORD GetTickCount() {
    return static_cast<DWORD>(GetTickCount64());
}
