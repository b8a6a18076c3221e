// The window part of the class library: windows, dialogs, controls, data exchange and message
// maps, over the host's emulated windows.
//
// How it works
// ------------
// A window is a host object behind an HWND: a dialog or one of its controls. Each has a kind
// (static, group box, edit, push button, check box, radio button, combo box, list box, spin
// button, tool tip, or a custom class), a control id, a text, enabled and visible flags, and
// the state of its kind (check state, items and selection, edit selection and limit, spin
// range and position). The host gives each kind its built-in behaviour (what Windows' own
// window procedure of the class does): an edit inserts typed characters and notifies its parent
// with EN_CHANGE, an auto check box toggles on a click and sends BN_CLICKED, a list box selects
// the row under a click, and so on.
//
// A CWnd object is attached to a window: the dialog object itself, a control object subclassed
// onto a control (DDX_Control, SubclassDlgItem), or, for GetDlgItem without one, a temporary
// object of the control's class (CEdit, CButton, CComboBox, CListBox, CStatic,
// CSpinButtonCtrl) owned by the host. Every message goes through CWnd::WindowProc of the
// attached object: its message map first (DECLARE_MESSAGE_MAP / BEGIN_MESSAGE_MAP), then the
// built-in behaviour (Default, DefWindowProc). Notifications reach the parent as WM_COMMAND
// and WM_NOTIFY and are first reflected to the control object (ON_CONTROL_REFLECT,
// ON_CONTROL_REFLECT_EX, ON_NOTIFY_REFLECT, ON_WM_CTLCOLOR_REFLECT), as in the class library.
//
// Dialog templates
// ----------------
// The controls of a dialog come from its template, registered by the resource id that the
// dialog class passes to CDialog (the resource script of the application):
//
//   static const AfxDialogResource s_dlg300{{
//       .nID = 300, .sCaption = L"Nastavení",
//       .controls = {
//           {.nID = 301, .nKind = AfxCtl::CheckBox, .sText = L"Znaménko"},
//           {.nID = 302, .nKind = AfxCtl::DropList, .sText = L"Počet míst",
//            .items = {L"0", L"0.0"}},
//           {.nID = 314, .nKind = AfxCtl::Edit, .sText = L"Přepočet", .dwStyle = WS_DISABLED},
//           {.nID = IDOK, .nKind = AfxCtl::DefPushButton, .sText = L"OK"},
//       }}};
//
// For static texts, group boxes and buttons of all kinds sText is the window text; for edits,
// combo boxes, list boxes, spin buttons and custom controls it is only the label by which the
// control is printed (the text of its neighbouring static). WS_GROUP starts a group of radio
// buttons, WS_DISABLED disables a control, bHidden hides it; ES_*, CBS_*, LBS_*, UDS_* and
// BS_* bits of dwStyle refine the kind.
//
// The dialog protocol
// -------------------
// DoModal creates the windows, calls OnInitDialog and prints the dialog on the transcript:
//
//   ** Dialog 300: <window text> **
//     <id> <kind> "<label>" = <value>[ (disabled)][ (hidden)]
//
// (controls with the id IDC_STATIC are not printed). It then reads lines from the host's input
// stream under the prompt "Dialog: " until the dialog ends; each line acts as the user would:
//
//   <id>=<value>   an edit: focus and all text selected, then the value typed character by
//                  character (WM_CHAR; an empty value deletes the text); a check box: clicked
//                  until it has the state 0, 1 or 2; a radio button (=1): clicked; a combo box
//                  or list box: the item of that text chosen (an editable combo box takes any
//                  text); a spin button: moved to that position.
//   click <id>     a click on a button, check box or radio button (the focus moves to it).
//   select <id> <row>     a row of a combo box or list box (rows count from 0).
//   dblclick <id> <row>   a double click on a row.
//   edit <id> <row> <column> <text>   an in-place edit in a list (controls that support it).
//   drag <id> <from> <to> a row dragged to another place (mouse down, move, up; rows outside
//                  the list are above or below it).
//   hover <id>     the tool tip of a control is shown.
//   show           the whole dialog is printed again.
//   OK, Cancel     the buttons IDOK and IDCANCEL (Enter and Esc without them); "^C" and the
//                  end of input act as Esc.
//
// After each line the lines of the controls whose printout changed are printed. Actions on a
// disabled or hidden control are refused with a message, as a user could not do them. A
// dialog hidden by a handler (ShowWindow(SW_HIDE)) is printed whole again when shown. Balloon
// tips (CEdit::ShowBalloonTip) and message boxes print themselves when they appear.
//
// Control classes of an application take part in the protocol by overriding the Script*
// virtual functions of CWnd (for example a list that supports "edit" or "drag" in its own
// way), and describe their value in the printout with ScriptDescribe.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "afx.h"
#include "windows.h"

// ---- Window messages and styles the class library uses --------------------------------------
#ifndef WM_GETMINMAXINFO
#define WM_GETMINMAXINFO 0x0024
#endif
#define WM_CTLCOLOR 0x0019
#define WM_GETFONT 0x0031
#define WM_NCDESTROY 0x0082
#define WM_CTLCOLORMSGBOX 0x0132
#define WM_CLEAR 0x0303
#define WM_CONTEXTMENU 0x007B
#define WM_REFLECT_BASE 0xBC00

#define CTLCOLOR_MSGBOX 0
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC 6

#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_BORDER 0x00800000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_EX_CLIENTEDGE 0x00000200L

#define ES_LEFT 0x0000L
#define ES_MULTILINE 0x0004L
#define ES_UPPERCASE 0x0008L
#define ES_LOWERCASE 0x0010L
#define ES_PASSWORD 0x0020L
#define ES_AUTOHSCROLL 0x0080L
#define ES_READONLY 0x0800L
#define ES_NUMBER 0x2000L

#define BS_PUSHBUTTON 0x00000000L
#define BS_DEFPUSHBUTTON 0x00000001L
#define BS_CHECKBOX 0x00000002L
#define BS_AUTOCHECKBOX 0x00000003L
#define BS_RADIOBUTTON 0x00000004L
#define BS_3STATE 0x00000005L
#define BS_AUTO3STATE 0x00000006L
#define BS_GROUPBOX 0x00000007L
#define BS_AUTORADIOBUTTON 0x00000009L
#define BS_TYPEMASK 0x0000000FL
#define BS_NOTIFY 0x00004000L

#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BST_INDETERMINATE 0x0002

#define CBS_SIMPLE 0x0001L
#define CBS_DROPDOWN 0x0002L
#define CBS_DROPDOWNLIST 0x0003L
#define CBS_SORT 0x0100L

#define LBS_NOTIFY 0x0001L
#define LBS_SORT 0x0002L
#define LBS_MULTIPLESEL 0x0008L
#define LBS_EXTENDEDSEL 0x0800L

#define UDS_WRAP 0x0001
#define UDS_SETBUDDYINT 0x0002
#define UDS_ALIGNRIGHT 0x0004
#define UDS_AUTOBUDDY 0x0010
#define UDS_ARROWKEYS 0x0020
#define UDS_NOTHOUSANDS 0x0080

#define TTS_ALWAYSTIP 0x01
#define TTS_NOPREFIX 0x02
#define TTS_BALLOON 0x40

// Notification codes (WM_COMMAND).
#define BN_CLICKED 0
#define BN_DOUBLECLICKED 5
#define BN_SETFOCUS 6
#define BN_KILLFOCUS 7
#define EN_SETFOCUS 0x0100
#define EN_KILLFOCUS 0x0200
#define EN_CHANGE 0x0300
#define EN_UPDATE 0x0400
#define EN_MAXTEXT 0x0501
#define CBN_SELCHANGE 1
#define CBN_DBLCLK 2
#define CBN_SETFOCUS 3
#define CBN_KILLFOCUS 4
#define CBN_EDITCHANGE 5
#define CBN_EDITUPDATE 6
#define CBN_DROPDOWN 7
#define CBN_CLOSEUP 8
#define CBN_SELENDOK 9
#define CBN_SELENDCANCEL 10
#define LBN_SELCHANGE 1
#define LBN_DBLCLK 2
#define LBN_SELCANCEL 3
#define LBN_SETFOCUS 4
#define LBN_KILLFOCUS 5
#define CB_ERR (-1)
#define LB_ERR (-1)
#define CB_ERRSPACE (-2)
#define LB_ERRSPACE (-2)

// Notification codes (WM_NOTIFY).
#define UDN_FIRST (0U - 721U)
#define UDN_DELTAPOS (UDN_FIRST - 1)
#define NM_FIRST (0U - 0U)
#define NM_CLICK (NM_FIRST - 2)
#define NM_DBLCLK (NM_FIRST - 3)

// Control messages the built-in controls take.
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_CLICK 0x00F5
#define EM_GETSEL 0x00B0
#define EM_SETSEL 0x00B1
#define EM_REPLACESEL 0x00C2
#define EM_LIMITTEXT 0x00C5
#define EM_SETREADONLY 0x00CF
#define CB_GETCURSEL 0x0147
#define CB_SETCURSEL 0x014E
#define LB_GETCURSEL 0x0188
#define LB_SETCURSEL 0x0186

#define SB_THUMBPOSITION 4
#define SB_ENDSCROLL 8

#define IDC_STATIC (-1)

// Icons of balloon tips.
#define TTI_NONE 0
#define TTI_INFO 1
#define TTI_WARNING 2
#define TTI_ERROR 3

#define COLOR_WINDOW 5
#define COLOR_WINDOWTEXT 8
#define COLOR_BTNFACE 15
#define COLOR_GRAYTEXT 17
#define COLOR_BTNTEXT 18

#define FW_NORMAL 400
#define FW_BOLD 700
#define LF_FACESIZE 32

#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080

#define ICON_SMALL 0
#define ICON_BIG 1

#define DT_LEFT 0x0000
#define DT_CENTER 0x0001
#define DT_VCENTER 0x0004
#define DT_SINGLELINE 0x0020

#define TRANSPARENT 1
#define OPAQUE 2

#define afx_msg
#define AFX_MSG_CALL

typedef struct tagNMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
} NMHDR, *LPNMHDR;

typedef struct _NM_UPDOWN {
    NMHDR hdr;
    int iPos;
    int iDelta;
} NMUPDOWN, *LPNMUPDOWN;

typedef struct tagMINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
} MINMAXINFO, *LPMINMAXINFO;

typedef struct tagLOGFONTW {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    WCHAR lfFaceName[LF_FACESIZE];
} LOGFONTW, *LPLOGFONTW, LOGFONT, *LPLOGFONT;

// ---- Win32 window functions --------------------------------------------------------------------
LRESULT SendMessageW(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Queued until the host's message loop (a running dialog) dispatches it.
BOOL PostMessageW(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
#define SendMessage SendMessageW
#define PostMessage PostMessageW
HWND GetDlgItem(HWND hDlg, int nIDDlgItem);
int GetDlgCtrlID(HWND hWnd);
HWND GetParent(HWND hWnd);
BOOL EnableWindow(HWND hWnd, BOOL bEnable);
BOOL IsWindowEnabled(HWND hWnd);
BOOL ShowWindow(HWND hWnd, int nCmdShow);
BOOL IsWindowVisible(HWND hWnd);
BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString);
int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount);
int GetWindowTextLengthW(HWND hWnd);
#define SetWindowText SetWindowTextW
#define GetWindowText GetWindowTextW
#define GetWindowTextLength GetWindowTextLengthW
HWND SetFocus(HWND hWnd);
HWND GetFocus();
BOOL ReleaseCapture();
BOOL MessageBeep(UINT uType);
DWORD GetSysColor(int nIndex);
HBRUSH GetSysColorBrush(int nIndex);
HBRUSH CreateSolidBrush(COLORREF color);
BOOL DeleteObject(HGDIOBJ hObject);

// ---- Small value classes
// -------------------------------------------------------------------------
class CPoint : public tagPOINT {
public:
    CPoint() : tagPOINT{0, 0} {}
    CPoint(int x0, int y0) : tagPOINT{x0, y0} {}
    CPoint(POINT p) : tagPOINT(p) {}
    bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
};

class CSize : public tagSIZE {
public:
    CSize() : tagSIZE{0, 0} {}
    CSize(int cx0, int cy0) : tagSIZE{cx0, cy0} {}
};

class CRect : public tagRECT {
public:
    CRect() : tagRECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : tagRECT{l, t, r, b} {}
    CRect(const RECT& r) : tagRECT(r) {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    BOOL PtInRect(POINT p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    BOOL IsRectEmpty() const { return left >= right || top >= bottom; }
    void SetRect(int l, int t, int r, int b) { *this = CRect(l, t, r, b); }
    void SetRectEmpty() { *this = CRect(); }
    void OffsetRect(int dx, int dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void InflateRect(int dx, int dy) {
        left -= dx;
        right += dx;
        top -= dy;
        bottom += dy;
    }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};

// ---- Objects and GDI
// -----------------------------------------------------------------------------
// CObject and CException come from afx.h (afxarchive.h).
// Thrown by CDataExchange::Fail after the user was told what is wrong.
class CUserException : public CException {};
[[noreturn]] void AfxThrowUserException();

class CGdiObject : public CObject {
public:
    ~CGdiObject() override { DeleteObject(); }
    HGDIOBJ m_hObject = nullptr;
    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL DeleteObject();
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    // The colour a brush paints with (host extension, for tests and printouts).
    static COLORREF ColorOf(HBRUSH hBrush);
};

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONT* pLogFont);
    // nPointSize in tenths of a point; a negative size is taken as its absolute value.
    BOOL CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, class CDC* pDC = nullptr);
    int GetLogFont(LOGFONT* pLogFont) const;
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    static CFont* FromHandle(HFONT hFont);
};

// A device context: it keeps the colours and the font set on it, and drawing is not shown.
class CDC : public CObject {
public:
    CDC();
    ~CDC() override;
    HDC m_hDC = nullptr;
    operator HDC() const { return m_hDC; }
    static CDC* FromHandle(HDC hDC);
    COLORREF SetTextColor(COLORREF c);
    COLORREF SetBkColor(COLORREF c);
    COLORREF GetTextColor() const { return m_text; }
    COLORREF GetBkColor() const { return m_back; }
    int SetBkMode(int nMode);
    CFont* SelectObject(CFont* pFont);
    HGDIOBJ SelectObject(HGDIOBJ hObject);
    int DrawText(const CString& s, LPRECT lpRect, UINT nFormat);
    BOOL TextOut(int x, int y, const CString& s);
    BOOL MoveTo(int x, int y);
    BOOL LineTo(int x, int y);
    BOOL DrawIcon(int x, int y, HICON hIcon);
    void FillSolidRect(LPCRECT lpRect, COLORREF c);
    CSize GetTextExtent(const CString& s) const;

private:
    COLORREF m_text;
    COLORREF m_back;
    int m_bkMode = OPAQUE;
};

class CWnd;
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
};
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
};

// ---- Message maps
// --------------------------------------------------------------------------------
class CCmdTarget;
// A handler adapter: calls the handler of the entry with the message's parameters. Returns
// whether the message was handled (FALSE only from the *_EX reflections that pass it on).
typedef BOOL (*AFX_PMSG)(CCmdTarget* pTarget, UINT nMsg, WPARAM wParam, LPARAM lParam,
                         LRESULT* pResult);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode; // the notification code (WM_COMMAND, WM_NOTIFY), else 0
    UINT nID;   // the control id range (WM_COMMAND, WM_NOTIFY), else 0
    UINT nLastID;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

class CCmdTarget : public CObject {
public:
    virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
};

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;                                              \
                                                                                                   \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        typedef theClass ThisClass;                                                                \
        typedef baseClass TheBaseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, 0, nullptr }                                                                        \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }

// The adapters. ThisClass is the class of the map; memberFxn its handler.
#define AFX_ENTRY(msg, code, id, lastId, call)                                                     \
    {                                                                                              \
        static_cast<UINT>(msg), static_cast<UINT>(code), static_cast<UINT>(id),                    \
            static_cast<UINT>(lastId),                                                             \
            [](CCmdTarget* pT, UINT nMsg, WPARAM wParam, LPARAM lParam,                            \
               LRESULT* pResult) -> BOOL {                                                         \
                ThisClass* pThis = static_cast<ThisClass*>(pT);                                    \
                (void)pThis;                                                                       \
                (void)nMsg;                                                                        \
                (void)wParam;                                                                      \
                (void)lParam;                                                                      \
                (void)pResult;                                                                     \
                call                                                                               \
            }                                                                                      \
    }

// Commands and control notifications (handler: void ()).
#define ON_COMMAND(id, memberFxn)                                                                  \
    AFX_ENTRY(WM_COMMAND, 0, id, id, (pThis->*memberFxn)(); return TRUE;),
#define ON_CONTROL(code, id, memberFxn)                                                            \
    AFX_ENTRY(WM_COMMAND, code, id, id, (pThis->*memberFxn)(); return TRUE;),
// Handler: void (UINT nID).
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                    \
    AFX_ENTRY(WM_COMMAND, 0, id, idLast, (pThis->*memberFxn)(LOWORD(wParam)); return TRUE;),
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn)                                              \
    AFX_ENTRY(WM_COMMAND, code, id, idLast, (pThis->*memberFxn)(LOWORD(wParam)); return TRUE;),
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
// Handler: void (NMHDR* pNMHDR, LRESULT* pResult).
#define ON_NOTIFY(code, id, memberFxn)                                                             \
    AFX_ENTRY(WM_NOTIFY, code, id, id,                                                             \
              (pThis->*memberFxn)(reinterpret_cast<NMHDR*>(lParam), pResult);                      \
              return TRUE;),
// Handler: LRESULT (WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn)                                                             \
    AFX_ENTRY(message, 0, 0, 0, *pResult = (pThis->*memberFxn)(wParam, lParam); return TRUE;),
// Reflected to the control that sent them. Handler: void (); the _EX form BOOL (), FALSE lets
// the parent see the notification as well.
#define ON_CONTROL_REFLECT(code, memberFxn)                                                        \
    AFX_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, (pThis->*memberFxn)(); return TRUE;),
#define ON_CONTROL_REFLECT_EX(code, memberFxn)                                                     \
    AFX_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, return (pThis->*memberFxn)();),
#define ON_NOTIFY_REFLECT(code, memberFxn)                                                         \
    AFX_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0,                                             \
              (pThis->*memberFxn)(reinterpret_cast<NMHDR*>(lParam), pResult);                      \
              return TRUE;),
#define ON_EN_CHANGE_REFLECT(memberFxn) ON_CONTROL_REFLECT(EN_CHANGE, memberFxn)
// Handler: HBRUSH CtlColor(CDC* pDC, UINT nCtlColor); a null brush passes it to the parent.
#define ON_WM_CTLCOLOR_REFLECT()                                                                   \
    AFX_ENTRY(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0,                                              \
              HBRUSH h = pThis->CtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),           \
                                         static_cast<UINT>(nMsg - WM_CTLCOLORMSGBOX));             \
              *pResult = reinterpret_cast<LRESULT>(h); return h != nullptr;),
// Handler: HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor).
#define ON_WM_CTLCOLOR()                                                                           \
    AFX_ENTRY(WM_CTLCOLOR, 0, 0, 0,                                                                \
              *pResult = reinterpret_cast<LRESULT>(                                                \
                  pThis->OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),                \
                                    CWnd::FromHandle(reinterpret_cast<HWND>(lParam)),              \
                                    static_cast<UINT>(nMsg - WM_CTLCOLORMSGBOX)));                 \
              return TRUE;),
#define ON_WM_CHAR()                                                                               \
    AFX_ENTRY(WM_CHAR, 0, 0, 0,                                                                    \
              pThis->OnChar(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));            \
              return TRUE;),
#define ON_WM_KEYDOWN()                                                                            \
    AFX_ENTRY(WM_KEYDOWN, 0, 0, 0,                                                                 \
              pThis->OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));         \
              return TRUE;),
#define ON_WM_KILLFOCUS()                                                                          \
    AFX_ENTRY(WM_KILLFOCUS, 0, 0, 0,                                                               \
              pThis->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));                \
              return TRUE;),
#define ON_WM_SETFOCUS()                                                                           \
    AFX_ENTRY(WM_SETFOCUS, 0, 0, 0,                                                                \
              pThis->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));                 \
              return TRUE;),
#define AFX_MOUSE_ENTRY(msg, fn)                                                                   \
    AFX_ENTRY(msg, 0, 0, 0,                                                                        \
              pThis->fn(static_cast<UINT>(wParam), CPoint(static_cast<short>(LOWORD(lParam)),      \
                                                          static_cast<short>(HIWORD(lParam))));    \
              return TRUE;),
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_MOUSEMOVE() AFX_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_TIMER()                                                                              \
    AFX_ENTRY(WM_TIMER, 0, 0, 0, pThis->OnTimer(static_cast<UINT_PTR>(wParam)); return TRUE;),
#define ON_WM_PAINT() AFX_ENTRY(WM_PAINT, 0, 0, 0, pThis->OnPaint(); return TRUE;),
#define ON_WM_DESTROY() AFX_ENTRY(WM_DESTROY, 0, 0, 0, pThis->OnDestroy(); return TRUE;),
#define ON_WM_SHOWWINDOW()                                                                         \
    AFX_ENTRY(WM_SHOWWINDOW, 0, 0, 0,                                                              \
              pThis->OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));           \
              return TRUE;),
#define ON_WM_GETMINMAXINFO()                                                                      \
    AFX_ENTRY(WM_GETMINMAXINFO, 0, 0, 0,                                                           \
              pThis->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));                       \
              return TRUE;),
#define ON_WM_SIZE()                                                                               \
    AFX_ENTRY(WM_SIZE, 0, 0, 0,                                                                    \
              pThis->OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));            \
              return TRUE;),

// ---- Windows -----------------------------------------------------------------------------------
// What kind of window a control is (the built-in behaviour behind it).
enum class AfxCtl {
    Static,
    GroupBox,
    Edit,
    PushButton,
    DefPushButton,
    CheckBox,    // auto check box
    Auto3State,  // auto three-state check box
    RadioButton, // auto radio button
    ComboBox,    // drop-down combo box (editable)
    DropList,    // drop-down list
    ListBox,
    Spin,
    ToolTip,
    Custom, // a window class of the application (sClass)
    Dialog,
};

class CWnd : public CCmdTarget {
public:
    CWnd();
    explicit CWnd(HWND hWnd);
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object attached to the window: the permanent one, else a temporary object of the
    // window's class owned by the host (valid while the window exists). Null for null.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    BOOL Attach(HWND hWnd);
    HWND Detach();
    // Attaches this object to the window so that its messages go through this object's map.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();
    virtual void PreSubclassWindow() {}

    // A child window of a class: a custom class of the application (registered or not), or
    // one of "EDIT", "BUTTON", "STATIC", "COMBOBOX", "LISTBOX", "msctls_updown32".
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual BOOL DestroyWindow();

    // Messages: sent at once through WindowProc, posted ones when the loop dispatches them.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The built-in behaviour of the window's class for the message.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The built-in behaviour for the message being handled now.
    LRESULT Default();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A notification of this control reflected from its parent; TRUE when handled here.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // State.
    int GetDlgCtrlID() const;
    CWnd* GetDlgItem(int nID) const;
    CWnd* GetParent() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    void SetWindowText(LPCTSTR lpszString);
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    CWnd* SetFocus();
    static CWnd* GetFocus();
    DWORD GetStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const;
    BOOL IsIconic() const { return FALSE; }
    BOOL IsWindow() const;

    // Geometry: every window has a rectangle (its template gives controls a row height).
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void ScreenToClient(LPPOINT lpPoint) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void ClientToScreen(LPRECT lpRect) const;
    void CenterWindow(CWnd* = nullptr) {}
    void Invalidate(BOOL = TRUE) {}
    void InvalidateRect(LPCRECT, BOOL = TRUE) {}
    void UpdateWindow() {}
    BOOL RedrawWindow(LPCRECT = nullptr, HRGN = nullptr, UINT = 0) { return TRUE; }
    void SetRedraw(BOOL bRedraw = TRUE);
    CDC* GetDC();
    int ReleaseDC(CDC* pDC);
    CWnd* SetCapture();
    static CWnd* GetCapture();

    // Timers: kept with the window and fired by khost::fireTimer.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, void* lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // Dialog helpers on the children.
    void SetDlgItemText(int nID, LPCTSTR lpszString);
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const;
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Scripted use (the dialog protocol, see the top of this header). Each returns FALSE when
    // the control cannot do it; the defaults do what the built-in control does.
    virtual BOOL ScriptSetValue(const CString& sValue);
    virtual BOOL ScriptClick();
    virtual BOOL ScriptSelect(int nRow);
    virtual BOOL ScriptDblClick(int nRow);
    virtual BOOL ScriptEdit(int nRow, int nColumn, const CString& sText);
    virtual BOOL ScriptDrag(int nFrom, int nTo);
    // The value part of the control's line in the printout (after " = "); may hold further
    // lines, each starting with a line break. Empty: the line has no value.
    virtual CString ScriptDescribe() const;

    // Handlers that the message map macros call; each does the built-in behaviour.
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnPaint();
    afx_msg void OnDestroy();
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;
    // Looks up the entry for the message in the map chain and calls it.
    // key is the entry's message (WM_COMMAND, WM_REFLECT_BASE + ..., WM_CTLCOLOR or the
    // message itself); nMsg the message as sent.
    BOOL DispatchMap(UINT key, UINT nCode, UINT nID, UINT nMsg, WPARAM wParam, LPARAM lParam,
                     LRESULT* pResult);

private:
    bool m_bTemporary = false;
    friend struct AfxWndAccess;
};

// ---- Controls
// ------------------------------------------------------------------------------------
class CStatic : public CWnd {
public:
    HICON SetIcon(HICON hIcon) { return CWnd::SetIcon(hIcon, TRUE); }
};

class CButton : public CWnd {
public:
    int GetCheck() const;
    void SetCheck(int nCheck);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
};

class CEdit : public CWnd {
public:
    void GetSel(int& nStartChar, int& nEndChar) const;
    DWORD GetSel() const;
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE);
    // Replaces the selection as typing would (EN_CHANGE follows).
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
    void Clear();
    void LimitText(int nChars = 0);
    void SetLimitText(UINT nMax) { LimitText(static_cast<int>(nMax)); }
    UINT GetLimitText() const;
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    // The balloon tip shows on the transcript: "  <id> balloon: <title> - <text>".
    BOOL ShowBalloonTip(LPCWSTR lpszTitle, LPCWSTR lpszText, INT ttiIcon = TTI_NONE);
    BOOL HideBalloonTip();
};

class CComboBox : public CWnd {
public:
    int GetCount() const;
    int GetCurSel() const;
    // No CBN_SELCHANGE follows, as with the control.
    int SetCurSel(int nSelect);
    int AddString(LPCTSTR lpszString);
    int InsertString(int nIndex, LPCTSTR lpszString);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetLBText(int nIndex, LPTSTR lpszText) const;
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const;
    int FindString(int nStartAfter, LPCTSTR lpszString) const;
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
    int SelectString(int nStartAfter, LPCTSTR lpszString);
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    void* GetItemDataPtr(int nIndex) const;
    int SetItemDataPtr(int nIndex, void* pData);
    void LimitText(int nMaxChars);
    int SetDroppedWidth(UINT nWidth);
    void ShowDropDown(BOOL bShowIt = TRUE);
};

class CListBox : public CWnd {
public:
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    // Multiple selection.
    int GetSel(int nIndex) const;
    int SetSel(int nIndex, BOOL bSelect = TRUE);
    int GetSelCount() const;
    int GetSelItems(int nMaxItems, LPINT rgIndex) const;
    int AddString(LPCTSTR lpszItem);
    int InsertString(int nIndex, LPCTSTR lpszItem);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetText(int nIndex, LPTSTR lpszBuffer) const;
    void GetText(int nIndex, CString& rString) const;
    int GetTextLen(int nIndex) const;
    int FindString(int nStartAfter, LPCTSTR lpszItem) const;
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
    int SelectString(int nStartAfter, LPCTSTR lpszItem);
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    void* GetItemDataPtr(int nIndex) const;
    int SetItemDataPtr(int nIndex, void* pData);
    int GetTopIndex() const;
    int SetTopIndex(int nIndex);
    int GetItemHeight(int nIndex) const;
    int SetItemHeight(int nIndex, UINT cyItemHeight);
    int GetItemRect(int nIndex, LPRECT lpRect) const;
    // The item nearest to the point (client coordinates); bOutside is TRUE when the point is
    // not on an item.
    UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const;
};

class CSpinButtonCtrl : public CWnd {
public:
    void SetRange(short nLower, short nUpper);
    void SetRange32(int nLower, int nUpper);
    DWORD GetRange() const;
    void GetRange32(int& nLower, int& nUpper) const;
    int SetPos(int nPos);
    int GetPos() const;
    int SetPos32(int nPos) { return SetPos(nPos); }
    int GetPos32(BOOL* lpbError = nullptr) const;
    CWnd* SetBuddy(CWnd* pWndBuddy);
    CWnd* GetBuddy() const;
};

// Tool tips: each tool is a control with its text; "hover <id>" shows it on the transcript as
// "  <id> tip: <text>" while the tool tips are active.
class CToolTipCtrl : public CWnd {
public:
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = nullptr, LPCRECT lpRectTool = nullptr,
                 UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    int SetMaxTipWidth(int iWidth);
    int GetMaxTipWidth() const;
    void Activate(BOOL bActivate);
    BOOL IsActive() const;
    void RelayEvent(LPMSG lpMsg);
    void SetDelayTime(UINT nDelay);
    int GetToolCount() const;
};

// ---- Dialogs
// -------------------------------------------------------------------------------------
class CDialog;

// One control of a dialog template (see the top of this header).
struct AfxDlgControl {
    int nID = IDC_STATIC;
    AfxCtl nKind = AfxCtl::Static;
    const wchar_t* sText = L"";
    DWORD dwStyle = 0;
    bool bHidden = false;
    std::vector<std::wstring> items{}; // initial items of a combo box or list box
    const wchar_t* sClass = nullptr;   // the class of a custom control
    int nRows = 8;                     // visible rows of a list box
};

struct AfxDlgTemplate {
    UINT nID = 0;
    const wchar_t* sCaption = L"";
    std::vector<AfxDlgControl> controls{};
};

// Registers a template under its id (a later one of the same id replaces it).
void AfxRegisterDialogTemplate(const AfxDlgTemplate& t);
const AfxDlgTemplate* AfxFindDialogTemplate(UINT nID);
// Registers a template when constructed (a static object of the application's resources).
class AfxDialogResource {
public:
    explicit AfxDialogResource(const AfxDlgTemplate& t) { AfxRegisterDialogTemplate(t); }
};

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    // The control of the id (a failure of DDX_* goes back to it); null when the dialog lacks it.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Focus to the last prepared control, then CUserException.
    [[noreturn]] void Fail();

    UINT m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;
};

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
// A double is shown with "%.15g"; a text that is not a number is refused.
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// The index of the checked radio button in the group that begins with nIDC (-1: none).
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal);

// A message box of the class library (caption "AutoCAD"), over the active window.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);

class CDialog : public CWnd {
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Runs the dialog on the host's input stream; IDOK, IDCANCEL, what EndDialog was given,
    // or -1 when the dialog has no template.
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int nResult);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    UINT GetTemplateId() const { return m_nIDTemplate; }
    // Whether the modal loop is running (between DoModal's start and EndDialog).
    BOOL IsModalRunning() const { return m_bRunning; }

    UINT m_nIDHelp = 0;
    CWnd* m_pParentWnd = nullptr;

protected:
    UINT m_nIDTemplate = 0;
    int m_nModalResult = -1;
    bool m_bRunning = false;
    bool m_bEnded = false;

    DECLARE_MESSAGE_MAP()
};

class CDialogEx : public CDialog {
public:
    CDialogEx() = default;
    explicit CDialogEx(UINT nIDTemplate, CWnd* pParentWnd = nullptr)
        : CDialog(nIDTemplate, pParentWnd) {}
    void SetBackgroundColor(COLORREF color, BOOL bRepaint = TRUE);

protected:
    COLORREF m_clrBackground = 0;
};

namespace khost {
// Dispatches the posted messages (the dialog loop does it after every action).
void pumpPostedMessages();
// Fires the timer of a window once (WM_TIMER), when it is set; false otherwise.
bool fireTimer(HWND hWnd, UINT_PTR nIDEvent);
// Whether the handle names a window of the class library that exists.
bool isLibraryWindow(HWND hWnd);
// The printout of one control line or of the whole dialog, as the protocol prints it.
std::wstring describeControl(HWND hWnd);
std::wstring describeDialog(HWND hDlg);
} // namespace khost

// The tree view control.
#include "afxtree.h"
