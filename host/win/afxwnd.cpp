// Windows of the class library: the window objects, message dispatch through message maps,
// focus, posted messages, timers, and the few GDI objects dialogs use.
#include "afxwinimpl.h"
#include "hostio.h"
#include "winhost.h"

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <deque>
#include <map>
#include <memory>
#include <set>

namespace khost {
namespace {

std::map<HWND, std::unique_ptr<WinObj>>& windows() {
    static auto* table = new std::map<HWND, std::unique_ptr<WinObj>>();
    return *table;
}

WinObj* g_focus = nullptr;
WinObj* g_capture = nullptr;
std::deque<MSG> g_posted;

struct CurrentMsg {
    CWnd* wnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<CurrentMsg> g_msgStack;

// GDI objects: brushes and fonts.
struct GdiObj {
    bool font = false;
    bool stock = false;
    COLORREF color = 0;
    LOGFONT lf{};
};
std::map<void*, std::unique_ptr<GdiObj>>& gdiObjects() {
    static auto* table = new std::map<void*, std::unique_ptr<GdiObj>>();
    return *table;
}
GdiObj* gdiFrom(void* h) {
    auto it = gdiObjects().find(h);
    return it == gdiObjects().end() ? nullptr : it->second.get();
}
void* newGdi(std::unique_ptr<GdiObj> o) {
    void* h = o.get();
    gdiObjects()[h] = std::move(o);
    return h;
}

// A temporary object of the class that matches the window's kind.
std::unique_ptr<CWnd> temporaryFor(WinObj* w) {
    switch (w->kind) {
    case AfxCtl::Static:
        return std::make_unique<CStatic>();
    case AfxCtl::GroupBox:
    case AfxCtl::PushButton:
    case AfxCtl::DefPushButton:
    case AfxCtl::CheckBox:
    case AfxCtl::Auto3State:
    case AfxCtl::RadioButton:
        return std::make_unique<CButton>();
    case AfxCtl::Edit:
        return std::make_unique<CEdit>();
    case AfxCtl::ComboBox:
    case AfxCtl::DropList:
        return std::make_unique<CComboBox>();
    case AfxCtl::ListBox:
        return std::make_unique<CListBox>();
    case AfxCtl::Spin:
        return std::make_unique<CSpinButtonCtrl>();
    case AfxCtl::ToolTip:
        return std::make_unique<CToolTipCtrl>();
    default:
        return std::make_unique<CWnd>();
    }
}

} // namespace

WinObj* winFromHandle(HWND h) {
    if (!h)
        return nullptr;
    auto it = windows().find(h);
    return it == windows().end() ? nullptr : it->second.get();
}

bool isLibraryWindow(HWND h) {
    return winFromHandle(h) != nullptr;
}

WinObj* createWin(AfxCtl kind, WinObj* parent) {
    auto w = std::make_unique<WinObj>();
    w->kind = kind;
    w->parent = parent;
    WinObj* raw = w.get();
    windows()[handleOf(raw)] = std::move(w);
    if (parent)
        parent->children.push_back(raw);
    return raw;
}

void destroyWin(WinObj* w) {
    if (!w || !winFromHandle(handleOf(w)))
        return;
    HWND h = handleOf(w);
    SendMessageW(h, WM_DESTROY, 0, 0);
    std::vector<WinObj*> kids = w->children;
    for (WinObj* c : kids)
        destroyWin(c);
    if (w->parent) {
        auto& sib = w->parent->children;
        sib.erase(std::remove(sib.begin(), sib.end(), w), sib.end());
        if (w->parent->focus == w)
            w->parent->focus = nullptr;
    }
    if (g_focus == w)
        g_focus = nullptr;
    if (g_capture == w)
        g_capture = nullptr;
    if (w->attached) {
        w->attached->m_hWnd = nullptr;
        w->attached = nullptr;
    }
    std::erase_if(g_posted, [h](const MSG& m) { return m.hwnd == h; });
    windows().erase(h);
}

void notifyParent(WinObj* w, UINT code) {
    if (!w || !w->parent)
        return;
    SendMessageW(handleOf(w->parent), WM_COMMAND, MAKEWPARAM(w->id, code),
                 reinterpret_cast<LPARAM>(handleOf(w)));
}

void setFocusTo(WinObj* w) {
    WinObj* old = g_focus;
    if (old == w)
        return;
    g_focus = w;
    for (WinObj* p = w ? w->parent : nullptr; p; p = p->parent)
        if (p->kind == AfxCtl::Dialog)
            p->focus = w;
    if (old && winFromHandle(handleOf(old)))
        SendMessageW(handleOf(old), WM_KILLFOCUS, reinterpret_cast<WPARAM>(handleOf(w)), 0);
    if (w && g_focus == w)
        SendMessageW(handleOf(w), WM_SETFOCUS, reinterpret_cast<WPARAM>(handleOf(old)), 0);
}

void pumpPostedMessages() {
    while (!g_posted.empty()) {
        MSG m = g_posted.front();
        g_posted.pop_front();
        if (!winFromHandle(m.hwnd))
            continue;
        bool eaten = false;
        for (WinObj* x = winFromHandle(m.hwnd); x && !eaten; x = x->parent)
            if (CWnd* p = CWnd::FromHandlePermanent(handleOf(x)))
                eaten = p->PreTranslateMessage(&m) != FALSE;
        if (!eaten)
            SendMessageW(m.hwnd, m.message, m.wParam, m.lParam);
    }
}

bool fireTimer(HWND h, UINT_PTR id) {
    WinObj* w = winFromHandle(h);
    if (!w || !w->timers.count(id))
        return false;
    SendMessageW(h, WM_TIMER, id, 0);
    return true;
}

std::vector<WinObj*> radioGroup(WinObj* w) {
    std::vector<WinObj*> group;
    if (!w || !w->parent)
        return group;
    const auto& sib = w->parent->children;
    auto it = std::find(sib.begin(), sib.end(), w);
    if (it == sib.end())
        return group;
    // Back to the first control of the group, then on to the next group.
    auto first = it;
    while (first != sib.begin() && !((*first)->style & WS_GROUP))
        --first;
    for (auto j = first; j != sib.end(); ++j) {
        if (j != first && ((*j)->style & WS_GROUP))
            break;
        if ((*j)->kind == AfxCtl::RadioButton)
            group.push_back(*j);
    }
    return group;
}

POINT listRowPoint(const WinObj* w, int row) {
    POINT p;
    p.x = (w->rect.right - w->rect.left) / 2;
    p.y = (row - w->topIndex) * w->itemHeight + w->itemHeight / 2;
    return p;
}

} // namespace khost

using namespace khost;

// ---- Win32 functions
// ------------------------------------------------------------------------------

LRESULT SendMessageW(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!winFromHandle(h))
        return 0;
    CWnd* p = CWnd::FromHandle(h);
    return p->WindowProc(msg, wParam, lParam);
}

BOOL PostMessageW(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!winFromHandle(h))
        return FALSE;
    g_posted.push_back(MSG{h, msg, wParam, lParam, 0, {0, 0}});
    return TRUE;
}

HWND GetDlgItem(HWND hDlg, int id) {
    WinObj* d = winFromHandle(hDlg);
    if (!d)
        return nullptr;
    for (WinObj* c : d->children)
        if (c->id == id)
            return handleOf(c);
    return nullptr;
}

int GetDlgCtrlID(HWND h) {
    WinObj* w = winFromHandle(h);
    return w ? w->id : 0;
}

HWND GetParent(HWND h) {
    WinObj* w = winFromHandle(h);
    return w && w->parent ? handleOf(w->parent) : nullptr;
}

BOOL EnableWindow(HWND h, BOOL enable) {
    WinObj* w = winFromHandle(h);
    if (!w)
        return FALSE;
    BOOL wasDisabled = !w->enabled;
    if (w->enabled != (enable != FALSE)) {
        w->enabled = enable != FALSE;
        if (!w->enabled && g_focus == w)
            g_focus = nullptr;
        SendMessageW(h, WM_ENABLE, enable, 0);
    }
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND h) {
    WinObj* w = winFromHandle(h);
    return w && w->enabled;
}

BOOL ShowWindow(HWND h, int cmd) {
    WinObj* w = winFromHandle(h);
    if (!w)
        return FALSE;
    BOOL wasVisible = w->visible;
    bool show = cmd != SW_HIDE;
    if (w->visible != show) {
        w->visible = show;
        SendMessageW(h, WM_SHOWWINDOW, show, 0);
        if (w->kind == AfxCtl::Dialog && show)
            dialogShown(w);
    }
    return wasVisible;
}

BOOL IsWindowVisible(HWND h) {
    WinObj* w = winFromHandle(h);
    if (!w)
        return FALSE;
    for (WinObj* x = w; x; x = x->parent)
        if (!x->visible)
            return FALSE;
    return TRUE;
}

BOOL SetWindowTextW(HWND h, LPCWSTR s) {
    if (!winFromHandle(h))
        return FALSE;
    return static_cast<BOOL>(SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s)));
}

int GetWindowTextW(HWND h, LPWSTR buf, int max) {
    if (!buf || max <= 0)
        return 0;
    return static_cast<int>(
        SendMessageW(h, WM_GETTEXT, static_cast<WPARAM>(max), reinterpret_cast<LPARAM>(buf)));
}

int GetWindowTextLengthW(HWND h) {
    return static_cast<int>(SendMessageW(h, WM_GETTEXTLENGTH, 0, 0));
}

HWND SetFocus(HWND h) {
    HWND old = handleOf(g_focus);
    WinObj* w = winFromHandle(h);
    if (h && !w)
        return nullptr;
    setFocusTo(w);
    return old;
}

HWND GetFocus() {
    return handleOf(g_focus);
}

BOOL MessageBeep(UINT) {
    return TRUE;
}

DWORD GetSysColor(int index) {
    switch (index) {
    case COLOR_WINDOW:
        return RGB(255, 255, 255);
    case COLOR_BTNFACE:
        return RGB(240, 240, 240);
    case COLOR_GRAYTEXT:
        return RGB(109, 109, 109);
    default:
        return RGB(0, 0, 0);
    }
}

HBRUSH GetSysColorBrush(int index) {
    static std::map<int, void*> brushes;
    auto it = brushes.find(index);
    if (it != brushes.end())
        return static_cast<HBRUSH>(it->second);
    auto o = std::make_unique<GdiObj>();
    o->color = GetSysColor(index);
    o->stock = true;
    void* h = newGdi(std::move(o));
    brushes[index] = h;
    return static_cast<HBRUSH>(h);
}

HBRUSH CreateSolidBrush(COLORREF color) {
    auto o = std::make_unique<GdiObj>();
    o->color = color;
    return static_cast<HBRUSH>(newGdi(std::move(o)));
}

BOOL DeleteObject(HGDIOBJ h) {
    GdiObj* o = gdiFrom(h);
    if (!o)
        return FALSE;
    if (!o->stock)
        gdiObjects().erase(h);
    return TRUE;
}

void AfxThrowUserException() {
    throw CUserException();
}

// ---- GDI classes
// -----------------------------------------------------------------------------------

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    BOOL ok = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return ok;
}

BOOL CBrush::CreateSolidBrush(COLORREF color) {
    DeleteObject();
    m_hObject = ::CreateSolidBrush(color);
    return m_hObject != nullptr;
}

COLORREF CBrush::ColorOf(HBRUSH h) {
    GdiObj* o = gdiFrom(h);
    return o ? o->color : 0;
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lf) {
    if (!lf)
        return FALSE;
    DeleteObject();
    auto o = std::make_unique<GdiObj>();
    o->font = true;
    o->lf = *lf;
    m_hObject = newGdi(std::move(o));
    return TRUE;
}

BOOL CFont::CreatePointFont(int size, LPCTSTR face, CDC*) {
    LOGFONT lf{};
    lf.lfHeight = size < 0 ? -size : size;
    lf.lfWeight = FW_NORMAL;
    if (face)
        std::wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* lf) const {
    GdiObj* o = gdiFrom(m_hObject);
    if (!o || !o->font || !lf)
        return 0;
    *lf = o->lf;
    return static_cast<int>(sizeof(LOGFONT));
}

CFont* CFont::FromHandle(HFONT h) {
    if (!h)
        return nullptr;
    // Wrappers that never own their handle (leaked on purpose: they live as long as handles).
    static auto* wrappers = new std::map<HFONT, CFont*>();
    CFont*& f = (*wrappers)[h];
    if (!f) {
        f = new CFont();
        f->m_hObject = h;
    }
    return f;
}

CDC::CDC() : m_text(GetSysColor(COLOR_WINDOWTEXT)), m_back(GetSysColor(COLOR_WINDOW)) {
    m_hDC = reinterpret_cast<HDC>(this);
}
CDC::~CDC() = default;
CDC* CDC::FromHandle(HDC h) {
    return reinterpret_cast<CDC*>(h);
}
COLORREF CDC::SetTextColor(COLORREF c) {
    COLORREF old = m_text;
    m_text = c;
    return old;
}
COLORREF CDC::SetBkColor(COLORREF c) {
    COLORREF old = m_back;
    m_back = c;
    return old;
}
int CDC::SetBkMode(int mode) {
    int old = m_bkMode;
    m_bkMode = mode;
    return old;
}
CFont* CDC::SelectObject(CFont* f) {
    return f;
}
HGDIOBJ CDC::SelectObject(HGDIOBJ h) {
    return h;
}
int CDC::DrawText(const CString&, LPRECT, UINT) {
    return 16;
}
BOOL CDC::TextOut(int, int, const CString&) {
    return TRUE;
}
BOOL CDC::MoveTo(int, int) {
    return TRUE;
}
BOOL CDC::LineTo(int, int) {
    return TRUE;
}
BOOL CDC::DrawIcon(int, int, HICON) {
    return TRUE;
}
void CDC::FillSolidRect(LPCRECT, COLORREF) {}
CSize CDC::GetTextExtent(const CString& s) const {
    return CSize(7 * s.GetLength(), 16);
}
CPaintDC::CPaintDC(CWnd*) {}
CClientDC::CClientDC(CWnd*) {}

// ---- CCmdTarget and CWnd
// ---------------------------------------------------------------------------

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {&CCmdTarget::GetThisMessageMap, &entries[0]};
    return &map;
}
const AFX_MSGMAP* CWnd::GetMessageMap() const {
    return GetThisMessageMap();
}

CWnd::CWnd() = default;
CWnd::CWnd(HWND h) {
    Attach(h);
}

CWnd::~CWnd() {
    if (WinObj* w = winFromHandle(m_hWnd))
        if (w->attached == this)
            w->attached = nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND h) {
    WinObj* w = winFromHandle(h);
    return w ? w->attached : nullptr;
}

CWnd* CWnd::FromHandle(HWND h) {
    WinObj* w = winFromHandle(h);
    if (!w)
        return nullptr;
    if (w->attached)
        return w->attached;
    if (!w->temporary) {
        w->temporary = temporaryFor(w);
        w->temporary->m_hWnd = h;
        AfxWndAccess::temporary(w->temporary.get()) = true;
    }
    return w->temporary.get();
}

BOOL CWnd::Attach(HWND h) {
    WinObj* w = winFromHandle(h);
    if (!w || m_hWnd || w->attached)
        return FALSE;
    w->attached = this;
    m_hWnd = h;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND h = m_hWnd;
    if (WinObj* w = winFromHandle(h))
        if (w->attached == this)
            w->attached = nullptr;
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND h) {
    if (!Attach(h))
        return FALSE;
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* parent) {
    if (!parent)
        return FALSE;
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(nID)));
}

HWND CWnd::UnsubclassWindow() {
    return Detach();
}

AfxCtl khost::kindOfClass(const std::wstring& cls, DWORD style) {
    std::wstring u;
    for (wchar_t c : cls)
        u.push_back(static_cast<wchar_t>(std::towupper(c)));
    if (u == L"EDIT")
        return AfxCtl::Edit;
    if (u == L"STATIC")
        return AfxCtl::Static;
    if (u == L"LISTBOX")
        return AfxCtl::ListBox;
    if (u == L"COMBOBOX")
        return (style & 3) == CBS_DROPDOWNLIST ? AfxCtl::DropList : AfxCtl::ComboBox;
    if (u == L"MSCTLS_UPDOWN32")
        return AfxCtl::Spin;
    if (u == L"TOOLTIPS_CLASS32")
        return AfxCtl::ToolTip;
    if (u == L"BUTTON") {
        switch (style & BS_TYPEMASK) {
        case BS_DEFPUSHBUTTON:
            return AfxCtl::DefPushButton;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
            return AfxCtl::CheckBox;
        case BS_3STATE:
        case BS_AUTO3STATE:
            return AfxCtl::Auto3State;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return AfxCtl::RadioButton;
        case BS_GROUPBOX:
            return AfxCtl::GroupBox;
        default:
            return AfxCtl::PushButton;
        }
    }
    return AfxCtl::Custom;
}

BOOL CWnd::Create(LPCTSTR cls, LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent,
                  UINT nID) {
    if (m_hWnd)
        return FALSE;
    WinObj* p = parent ? winFromHandle(parent->m_hWnd) : nullptr;
    std::wstring className = cls ? cls : L"";
    WinObj* w = createWin(kindOfClass(className, style), p);
    w->className = className;
    w->id = static_cast<int>(nID);
    w->text = text ? text : L"";
    w->style = style;
    w->enabled = !(style & WS_DISABLED);
    w->visible = (style & WS_VISIBLE) != 0;
    w->rect = rect;
    Attach(handleOf(w));
    PreSubclassWindow();
    SendMessage(WM_CREATE, 0, 0);
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return FALSE;
    destroyWin(w);
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(m_hWnd, msg, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(m_hWnd, msg, wParam, lParam);
}
BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    g_msgStack.push_back({this, msg, wParam, lParam});
    LRESULT result = 0;
    if (!OnWndMsg(msg, wParam, lParam, &result))
        result = DefWindowProc(msg, wParam, lParam);
    g_msgStack.pop_back();
    return result;
}

static bool isCtlColor(UINT msg) {
    return msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC;
}

BOOL CWnd::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT dummy = 0;
    if (!pResult)
        pResult = &dummy;
    if (msg == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) {
            *pResult = 0;
            return TRUE;
        }
        return FALSE;
    }
    if (msg == WM_NOTIFY)
        return OnNotify(wParam, lParam, pResult);
    if (isCtlColor(msg)) {
        HWND hCtl = reinterpret_cast<HWND>(lParam);
        CWnd* child = FromHandlePermanent(hCtl);
        if (child && child != this && child->OnChildNotify(msg, wParam, lParam, pResult))
            return TRUE;
        return DispatchMap(WM_CTLCOLOR, 0, 0, msg, wParam, lParam, pResult);
    }
    return DispatchMap(msg, 0, 0, msg, wParam, lParam, pResult);
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    WinObj* w = winFromHandle(m_hWnd);
    return w ? defaultProc(w, msg, wParam, lParam) : 0;
}

LRESULT CWnd::Default() {
    for (auto it = g_msgStack.rbegin(); it != g_msgStack.rend(); ++it)
        if (it->wnd == this)
            return DefWindowProc(it->msg, it->wParam, it->lParam);
    return 0;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    UINT nCode = HIWORD(wParam);
    HWND hCtl = reinterpret_cast<HWND>(lParam);
    if (hCtl) {
        CWnd* child = FromHandlePermanent(hCtl);
        if (child && child != this && child->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr))
            return TRUE;
    }
    LRESULT r = 0;
    return DispatchMap(WM_COMMAND, nCode, nID, WM_COMMAND, wParam, lParam, &r);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (!hdr)
        return FALSE;
    CWnd* child = FromHandlePermanent(hdr->hwndFrom);
    if (child && child != this && child->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult))
        return TRUE;
    return DispatchMap(WM_NOTIFY, hdr->code, static_cast<UINT>(hdr->idFrom), WM_NOTIFY, wParam,
                       lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT dummy = 0;
    if (!pResult)
        pResult = &dummy;
    if (msg == WM_COMMAND)
        return DispatchMap(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0, msg, wParam, lParam,
                           pResult);
    if (msg == WM_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        return DispatchMap(WM_REFLECT_BASE + WM_NOTIFY, hdr->code, 0, msg, wParam, lParam, pResult);
    }
    if (isCtlColor(msg))
        return DispatchMap(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, msg, wParam, lParam, pResult);
    return FALSE;
}

BOOL CWnd::DispatchMap(UINT key, UINT nCode, UINT nID, UINT nMsg, WPARAM wParam, LPARAM lParam,
                       LRESULT* pResult) {
    const bool byControl = key == WM_COMMAND || key == WM_NOTIFY;
    const bool byCode =
        byControl || key == WM_REFLECT_BASE + WM_COMMAND || key == WM_REFLECT_BASE + WM_NOTIFY;
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
            if (e->nMessage != key)
                continue;
            if (byCode && e->nCode != nCode)
                continue;
            if (byControl && (nID < e->nID || nID > e->nLastID))
                continue;
            return e->pfn(this, nMsg, wParam, lParam, pResult);
        }
    }
    return FALSE;
}

// ---- State
// ----------------------------------------------------------------------------------------

int CWnd::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(m_hWnd);
}
CWnd* CWnd::GetDlgItem(int nID) const {
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}
CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}
BOOL CWnd::EnableWindow(BOOL enable) {
    return ::EnableWindow(m_hWnd, enable);
}
BOOL CWnd::IsWindowEnabled() const {
    return ::IsWindowEnabled(m_hWnd);
}
BOOL CWnd::ShowWindow(int cmd) {
    return ::ShowWindow(m_hWnd, cmd);
}
BOOL CWnd::IsWindowVisible() const {
    return ::IsWindowVisible(m_hWnd);
}
void CWnd::SetWindowText(LPCTSTR s) {
    ::SetWindowTextW(m_hWnd, s);
}
int CWnd::GetWindowText(LPTSTR buf, int max) const {
    return ::GetWindowTextW(m_hWnd, buf, max);
}
void CWnd::GetWindowText(CString& s) const {
    int n = GetWindowTextLength();
    std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
    int got = ::GetWindowTextW(m_hWnd, buf.data(), n + 1);
    s = CString(buf.c_str(), got);
}
int CWnd::GetWindowTextLength() const {
    return ::GetWindowTextLengthW(m_hWnd);
}
CWnd* CWnd::SetFocus() {
    return FromHandle(::SetFocus(m_hWnd));
}
CWnd* CWnd::GetFocus() {
    return FromHandle(::GetFocus());
}
DWORD CWnd::GetStyle() const {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return 0;
    DWORD s = w->style & ~(WS_DISABLED | WS_VISIBLE);
    if (!w->enabled)
        s |= WS_DISABLED;
    if (w->visible)
        s |= WS_VISIBLE;
    return s;
}
BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return FALSE;
    w->style = (w->style & ~remove) | add;
    if (remove & WS_DISABLED)
        w->enabled = true;
    if (add & WS_DISABLED)
        w->enabled = false;
    if (w->kind == AfxCtl::Edit)
        w->readOnly = (w->style & ES_READONLY) != 0;
    return TRUE;
}
void CWnd::SetFont(CFont* f, BOOL) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(f ? f->m_hObject : nullptr), 0);
}
CFont* CWnd::GetFont() const {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return nullptr;
    if (!w->font && w->parent)
        return FromHandle(handleOf(w->parent))->GetFont();
    if (!w->font) {
        // The dialog font.
        static CFont* dialogFont = [] {
            auto* f = new CFont();
            LOGFONT lf{};
            lf.lfHeight = -11;
            lf.lfWeight = FW_NORMAL;
            std::wcsncpy(lf.lfFaceName, L"MS Shell Dlg", LF_FACESIZE - 1);
            f->CreateFontIndirect(&lf);
            return f;
        }();
        return dialogFont;
    }
    return CFont::FromHandle(w->font);
}
HICON CWnd::SetIcon(HICON icon, BOOL big) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return nullptr;
    HICON& slot = big ? w->iconBig : w->iconSmall;
    HICON old = slot;
    slot = icon;
    return old;
}
HICON CWnd::GetIcon(BOOL big) const {
    WinObj* w = winFromHandle(m_hWnd);
    return w ? (big ? w->iconBig : w->iconSmall) : nullptr;
}
BOOL CWnd::IsWindow() const {
    return winFromHandle(m_hWnd) != nullptr;
}

static POINT screenOrigin(const WinObj* w) {
    POINT p{0, 0};
    for (const WinObj* x = w; x; x = x->parent) {
        p.x += x->rect.left;
        p.y += x->rect.top;
    }
    return p;
}

void CWnd::GetClientRect(LPRECT r) const {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w || !r)
        return;
    *r = RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
}
void CWnd::GetWindowRect(LPRECT r) const {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w || !r)
        return;
    POINT o = screenOrigin(w);
    *r = RECT{o.x, o.y, o.x + w->rect.right - w->rect.left, o.y + w->rect.bottom - w->rect.top};
}
void CWnd::MoveWindow(int x, int y, int cx, int cy, BOOL) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return;
    w->rect = RECT{x, y, x + cx, y + cy};
    SendMessage(WM_SIZE, 0, MAKELPARAM(cx, cy));
}
void CWnd::MoveWindow(LPCRECT r, BOOL repaint) {
    if (r)
        MoveWindow(r->left, r->top, r->right - r->left, r->bottom - r->top, repaint);
}
BOOL CWnd::SetWindowPos(const CWnd*, int x, int y, int cx, int cy, UINT flags) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return FALSE;
    RECT r = w->rect;
    if (!(flags & SWP_NOMOVE)) {
        LONG width = r.right - r.left, height = r.bottom - r.top;
        r = RECT{x, y, x + width, y + height};
    }
    if (!(flags & SWP_NOSIZE)) {
        r.right = r.left + cx;
        r.bottom = r.top + cy;
    }
    w->rect = r;
    if (flags & SWP_SHOWWINDOW)
        ShowWindow(SW_SHOW);
    if (flags & SWP_HIDEWINDOW)
        ShowWindow(SW_HIDE);
    return TRUE;
}
void CWnd::ScreenToClient(LPPOINT p) const {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w || !p)
        return;
    POINT o = screenOrigin(w);
    p->x -= o.x;
    p->y -= o.y;
}
void CWnd::ClientToScreen(LPPOINT p) const {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w || !p)
        return;
    POINT o = screenOrigin(w);
    p->x += o.x;
    p->y += o.y;
}
void CWnd::ScreenToClient(LPRECT r) const {
    if (!r)
        return;
    POINT a{r->left, r->top}, b{r->right, r->bottom};
    ScreenToClient(&a);
    ScreenToClient(&b);
    *r = RECT{a.x, a.y, b.x, b.y};
}
void CWnd::ClientToScreen(LPRECT r) const {
    if (!r)
        return;
    POINT a{r->left, r->top}, b{r->right, r->bottom};
    ClientToScreen(&a);
    ClientToScreen(&b);
    *r = RECT{a.x, a.y, b.x, b.y};
}
void CWnd::SetRedraw(BOOL redraw) {
    if (WinObj* w = winFromHandle(m_hWnd))
        w->redraw = redraw != FALSE;
}
CDC* CWnd::GetDC() {
    return new CDC();
}
int CWnd::ReleaseDC(CDC* dc) {
    delete dc;
    return 1;
}
CWnd* CWnd::SetCapture() {
    WinObj* old = g_capture;
    g_capture = winFromHandle(m_hWnd);
    return FromHandle(handleOf(old));
}
CWnd* CWnd::GetCapture() {
    return FromHandle(handleOf(g_capture));
}
BOOL ReleaseCapture() {
    g_capture = nullptr;
    return TRUE;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, void*) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return 0;
    w->timers[id] = elapse;
    return id;
}
BOOL CWnd::KillTimer(UINT_PTR id) {
    WinObj* w = winFromHandle(m_hWnd);
    return w && w->timers.erase(id) ? TRUE : FALSE;
}

void CWnd::SetDlgItemText(int id, LPCTSTR s) {
    ::SetWindowTextW(::GetDlgItem(m_hWnd, id), s);
}
int CWnd::GetDlgItemText(int id, CString& s) const {
    CWnd* c = GetDlgItem(id);
    if (!c) {
        s.Empty();
        return 0;
    }
    c->GetWindowText(s);
    return s.GetLength();
}
void CWnd::SetDlgItemInt(int id, UINT value, BOOL bSigned) {
    CString s;
    if (bSigned)
        s.Format(L"%d", static_cast<int>(value));
    else
        s.Format(L"%u", value);
    SetDlgItemText(id, s);
}
UINT CWnd::GetDlgItemInt(int id, BOOL* trans, BOOL bSigned) const {
    CString s;
    GetDlgItemText(id, s);
    s.Trim();
    const wchar_t* b = s.GetString();
    wchar_t* e = nullptr;
    long long v =
        bSigned ? std::wcstoll(b, &e, 10) : static_cast<long long>(std::wcstoull(b, &e, 10));
    bool ok = !s.IsEmpty() && e && *e == 0 && (bSigned || s[0] != L'-');
    if (trans)
        *trans = ok;
    return ok ? static_cast<UINT>(v) : 0;
}
void CWnd::CheckDlgButton(int id, UINT check) {
    ::SendMessageW(::GetDlgItem(m_hWnd, id), BM_SETCHECK, check, 0);
}
UINT CWnd::IsDlgButtonChecked(int id) const {
    return static_cast<UINT>(::SendMessageW(::GetDlgItem(m_hWnd, id), BM_GETCHECK, 0, 0));
}
void CWnd::CheckRadioButton(int first, int last, int check) {
    for (int id = first; id <= last; ++id)
        CheckDlgButton(id, id == check ? BST_CHECKED : BST_UNCHECKED);
}
int CWnd::GetCheckedRadioButton(int first, int last) const {
    for (int id = first; id <= last; ++id)
        if (IsDlgButtonChecked(id) == BST_CHECKED)
            return id;
    return 0;
}
LRESULT CWnd::SendDlgItemMessage(int id, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(::GetDlgItem(m_hWnd, id), msg, wParam, lParam);
}

// ---- Default handlers
// -------------------------------------------------------------------------------

void CWnd::OnChar(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnKillFocus(CWnd*) {
    Default();
}
void CWnd::OnSetFocus(CWnd*) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnShowWindow(BOOL, UINT) {
    Default();
}
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) {
    Default();
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) {
    return reinterpret_cast<HBRUSH>(Default());
}
