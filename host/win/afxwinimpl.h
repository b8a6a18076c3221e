// The host's side of the class library's windows: the window objects behind HWNDs and the
// built-in behaviour of each window class. Internal to host/win.
#pragma once

#include "afxwin.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace khost {

struct WinItem {
    std::wstring text;
    DWORD_PTR data = 0;
    bool selected = false; // multiple-selection list boxes
};

struct WinTool {
    HWND hwnd = nullptr;
    std::wstring text;
};

struct WinObj {
    HWND__ handle{}; // the HWND is the address of this member
    AfxCtl kind = AfxCtl::Custom;
    std::wstring className;
    int id = 0;
    std::wstring text;  // window text
    std::wstring label; // the printed label of controls without their own text
    DWORD style = 0;
    bool enabled = true;
    bool visible = true;
    bool redraw = true;
    WinObj* parent = nullptr;
    std::vector<WinObj*> children; // in template order; owned by the window list

    CWnd* attached = nullptr;        // permanent object
    std::unique_ptr<CWnd> temporary; // object made for FromHandle

    int check = 0;
    std::vector<WinItem> items;
    int curSel = -1;
    int topIndex = 0;
    int itemHeight = 16;
    int rows = 8;
    int selStart = 0, selEnd = 0;
    UINT limit = 0; // 0 = the default limit
    bool readOnly = false;
    int spinLo = 0, spinHi = 100, spinPos = 0;
    HWND buddy = nullptr;
    HFONT font = nullptr;
    HICON iconBig = nullptr, iconSmall = nullptr;
    RECT rect{0, 0, 100, 20};
    std::map<UINT_PTR, UINT> timers;
    // Tool tip controls.
    std::vector<WinTool> tools;
    bool tipsActive = true;
    int maxTipWidth = -1;
    // Dialogs: the control with the focus, and whether the dialog was printed while shown.
    WinObj* focus = nullptr;
    UINT templateId = 0;
};

WinObj* winFromHandle(HWND h);
inline HWND handleOf(WinObj* w) {
    return w ? &w->handle : nullptr;
}
// A new window (a child of parent when given).
WinObj* createWin(AfxCtl kind, WinObj* parent);
// Destroys the window and its children: WM_DESTROY, detach of the objects, then freed.
void destroyWin(WinObj* w);
// The kind of a window class name ("EDIT", "BUTTON" with its style ...).
AfxCtl kindOfClass(const std::wstring& className, DWORD style);
// The built-in behaviour of the window's kind.
LRESULT defaultProc(WinObj* w, UINT msg, WPARAM wParam, LPARAM lParam);
// Sends a notification (WM_COMMAND) from a control to its parent.
void notifyParent(WinObj* w, UINT code);
// Sets the focus, sending WM_KILLFOCUS and WM_SETFOCUS.
void setFocusTo(WinObj* w);
// Printing of the dialog protocol.
std::wstring kindName(const WinObj* w);
// Prints text on a line of its own (a line break first unless the transcript is at the start
// of a line).
void printOwnLine(const std::wstring& text);
// Called when a dialog becomes visible again (prints it whole).
void dialogShown(WinObj* dlg);
// Radio button groups: the buttons of the group that holds w.
std::vector<WinObj*> radioGroup(WinObj* w);
// The mouse point of the middle of a list row (client coordinates; rows outside the list lie
// above or below it).
POINT listRowPoint(const WinObj* w, int row);

} // namespace khost

// Access to CWnd's private parts for the host.
struct AfxWndAccess {
    static bool& temporary(CWnd* p) { return p->m_bTemporary; }
};
