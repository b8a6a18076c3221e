// Dialogs of the class library: templates, the modal loop that reads the dialog protocol from
// the host's input stream and prints the dialog on the transcript, and data exchange.
#include "afxwinimpl.h"
#include "hostio.h"
#include "winhost.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <map>
#include <optional>

namespace khost {
namespace {

std::map<UINT, AfxDlgTemplate>& templates() {
    static auto* table = new std::map<UINT, AfxDlgTemplate>();
    return *table;
}

// A running modal dialog and what was last printed of it.
struct Running {
    WinObj* dlg;
    std::wstring title;
    std::vector<std::pair<WinObj*, std::wstring>> printed;
};
std::vector<Running*> g_running;

Running* runningOf(WinObj* dlg) {
    for (Running* r : g_running)
        if (r->dlg == dlg)
            return r;
    return nullptr;
}

std::wstring hexColor(COLORREF c) {
    wchar_t buf[16];
    std::swprintf(buf, 16, L"#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return buf;
}

bool printable(const WinObj* w) {
    return w->id != IDC_STATIC && w->id != 0xFFFF && w->kind != AfxCtl::ToolTip;
}

// The colours an edit is painted with, when they differ from the plain ones.
std::wstring editColors(WinObj* w) {
    if (!w->parent)
        return {};
    UINT msg = (!w->enabled || w->readOnly) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    CDC plain;
    HBRUSH plainBrush = reinterpret_cast<HBRUSH>(
        defaultProc(w->parent, msg, reinterpret_cast<WPARAM>(plain.m_hDC), 0));
    CDC dc;
    HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageW(handleOf(w->parent), msg,
                                                         reinterpret_cast<WPARAM>(dc.m_hDC),
                                                         reinterpret_cast<LPARAM>(handleOf(w))));
    COLORREF back = brush ? CBrush::ColorOf(brush) : CBrush::ColorOf(plainBrush);
    if (dc.GetTextColor() == plain.GetTextColor() && back == CBrush::ColorOf(plainBrush))
        return {};
    return L" [" + hexColor(dc.GetTextColor()) + L" on " + hexColor(back) + L"]";
}

std::wstring itemList(const WinObj* w, bool marks) {
    std::wstring s = L" [";
    for (size_t i = 0; i < w->items.size(); ++i) {
        if (i)
            s += L" | ";
        if (marks && w->items[i].selected)
            s += L"*";
        s += w->items[i].text;
    }
    return s + L"]";
}

void deliverInput(WinObj* target, UINT msg, WPARAM wParam, LPARAM lParam) {
    MSG m{handleOf(target), msg, wParam, lParam, 0, {0, 0}};
    for (WinObj* x = target; x; x = x->parent) {
        if (CWnd* p = CWnd::FromHandlePermanent(handleOf(x)))
            if (p->PreTranslateMessage(&m))
                return;
        if (x->kind == AfxCtl::Dialog)
            break;
    }
    SendMessageW(m.hwnd, m.message, m.wParam, m.lParam);
    pumpPostedMessages();
}

void mouse(WinObj* w, UINT msg, POINT p, WPARAM keys) {
    deliverInput(w, msg, keys, MAKELPARAM(p.x, p.y));
}

void scrollIntoView(WinObj* w, int row) {
    if (row < w->topIndex)
        w->topIndex = std::max(row, 0);
    else if (row >= w->topIndex + w->rows)
        w->topIndex = row - w->rows + 1;
}

bool isTabStop(const WinObj* w) {
    switch (w->kind) {
    case AfxCtl::Static:
    case AfxCtl::GroupBox:
    case AfxCtl::ToolTip:
    case AfxCtl::Spin:
    case AfxCtl::Dialog:
        return false;
    default:
        return w->enabled && w->visible;
    }
}

std::wstring dialogHeader(const WinObj* dlg) {
    return L"** Dialog " + std::to_wstring(dlg->templateId) + L": " + dlg->text + L" **";
}

std::vector<std::pair<WinObj*, std::wstring>> snapshot(WinObj* dlg) {
    std::vector<std::pair<WinObj*, std::wstring>> lines;
    for (WinObj* c : dlg->children)
        if (printable(c))
            lines.emplace_back(c, describeControl(handleOf(c)));
    return lines;
}

void printWhole(Running& r) {
    r.title = r.dlg->text;
    r.printed = snapshot(r.dlg);
    std::wstring out = dialogHeader(r.dlg);
    for (auto& [c, line] : r.printed)
        out += L"\n" + line;
    printOwnLine(out);
}

void printChanges(Running& r) {
    if (!r.dlg->visible)
        return;
    std::vector<std::wstring> lines;
    if (r.dlg->text != r.title)
        lines.push_back(dialogHeader(r.dlg));
    auto now = snapshot(r.dlg);
    for (auto& [c, line] : now) {
        auto it = std::find_if(r.printed.begin(), r.printed.end(),
                               [c = c](const auto& p) { return p.first == c; });
        if (it == r.printed.end() || it->second != line)
            lines.push_back(line);
    }
    r.title = r.dlg->text;
    r.printed = std::move(now);
    for (const std::wstring& line : lines)
        printOwnLine(line);
}

std::wstring trim(const std::wstring& s) {
    size_t b = s.find_first_not_of(L" \t");
    if (b == std::wstring::npos)
        return {};
    size_t e = s.find_last_not_of(L" \t");
    return s.substr(b, e - b + 1);
}

std::optional<int> parseInt(const std::wstring& s) {
    std::wstring t = trim(s);
    if (t.empty())
        return std::nullopt;
    wchar_t* end = nullptr;
    long v = std::wcstol(t.c_str(), &end, 10);
    if (!end || *end)
        return std::nullopt;
    return static_cast<int>(v);
}

std::vector<std::wstring> words(const std::wstring& s, size_t maxWords) {
    std::vector<std::wstring> out;
    size_t i = 0;
    while (i < s.size() && out.size() + 1 < maxWords) {
        while (i < s.size() && s[i] == L' ')
            ++i;
        size_t b = i;
        while (i < s.size() && s[i] != L' ')
            ++i;
        if (b < i)
            out.push_back(s.substr(b, i - b));
    }
    while (i < s.size() && s[i] == L' ')
        ++i;
    if (i < s.size())
        out.push_back(s.substr(i));
    return out;
}

bool sameWord(const std::wstring& a, const wchar_t* b) {
    return _wcsicmp(a.c_str(), b) == 0;
}

WinObj* findControl(WinObj* dlg, int id) {
    for (WinObj* c : dlg->children)
        if (c->id == id && c->kind != AfxCtl::ToolTip)
            return c;
    return nullptr;
}

// The control of an action, or null after telling why it cannot be used.
WinObj* usableControl(WinObj* dlg, int id) {
    WinObj* c = findControl(dlg, id);
    if (!c) {
        printOwnLine(L"No control " + std::to_wstring(id) + L".");
        return nullptr;
    }
    if (!c->visible) {
        printOwnLine(L"Control " + std::to_wstring(id) + L" is hidden.");
        return nullptr;
    }
    if (!c->enabled) {
        printOwnLine(L"Control " + std::to_wstring(id) + L" is disabled.");
        return nullptr;
    }
    return c;
}

void refused(int id, const wchar_t* action) {
    printOwnLine(L"Control " + std::to_wstring(id) + L" cannot " + action + L".");
}

void pressButton(CDialog* dlg, WinObj* d, int id) {
    WinObj* b = findControl(d, id);
    if (!b) {
        dlg->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        return;
    }
    if (WinObj* c = usableControl(d, id))
        if (!CWnd::FromHandle(handleOf(c))->ScriptClick())
            refused(id, L"be clicked");
}

void hover(WinObj* d, int id) {
    WinObj* c = findControl(d, id);
    if (!c) {
        printOwnLine(L"No control " + std::to_wstring(id) + L".");
        return;
    }
    for (WinObj* t : d->children) {
        if (t->kind != AfxCtl::ToolTip || !t->tipsActive)
            continue;
        for (const WinTool& tool : t->tools)
            if (tool.hwnd == handleOf(c)) {
                printOwnLine(L"  " + std::to_wstring(id) + L" tip: " + tool.text);
                return;
            }
    }
    printOwnLine(L"Control " + std::to_wstring(id) + L" has no tip.");
}

// One line of the protocol. False at Esc or the end of input (the dialog is cancelled).
void act(CDialog* dlg, WinObj* d, const std::wstring& line) {
    std::wstring t = trim(line);
    if (t.empty())
        return;
    size_t eq = t.find(L'=');
    if (eq != std::wstring::npos) {
        std::optional<int> id = parseInt(t.substr(0, eq));
        if (id) {
            std::wstring value = line.substr(line.find(L'=') + 1);
            while (!value.empty() && (value.back() == L'\r' || value.back() == L'\n'))
                value.pop_back();
            if (WinObj* c = usableControl(d, *id))
                if (!CWnd::FromHandle(handleOf(c))->ScriptSetValue(value.c_str()))
                    printOwnLine(L"Control " + std::to_wstring(*id) + L" does not take \"" + value +
                                 L"\".");
            return;
        }
    }
    std::vector<std::wstring> w = words(t, 5);
    const std::wstring& verb = w[0];
    if (sameWord(verb, L"OK") && w.size() == 1)
        return pressButton(dlg, d, IDOK);
    if (sameWord(verb, L"Cancel") && w.size() == 1)
        return pressButton(dlg, d, IDCANCEL);
    if (sameWord(verb, L"show") && w.size() == 1) {
        if (Running* r = runningOf(d))
            printWhole(*r);
        return;
    }
    const std::optional<int> parsedId = w.size() > 1 ? parseInt(w[1]) : std::nullopt;
    const bool bId = parsedId.has_value();
    const int id = parsedId.value_or(0);
    if (sameWord(verb, L"hover") && bId && w.size() == 2)
        return hover(d, id);
    if (sameWord(verb, L"click") && bId && w.size() == 2) {
        if (WinObj* c = usableControl(d, id))
            if (!CWnd::FromHandle(handleOf(c))->ScriptClick())
                refused(id, L"be clicked");
        return;
    }
    if ((sameWord(verb, L"select") || sameWord(verb, L"dblclick")) && bId && w.size() == 3) {
        std::optional<int> row = parseInt(w[2]);
        if (row) {
            if (WinObj* c = usableControl(d, id)) {
                CWnd* p = CWnd::FromHandle(handleOf(c));
                bool dbl = sameWord(verb, L"dblclick");
                if (!(dbl ? p->ScriptDblClick(*row) : p->ScriptSelect(*row)))
                    refused(id, dbl ? L"double-click that row" : L"select that row");
            }
            return;
        }
    }
    if (sameWord(verb, L"drag") && bId && w.size() == 4) {
        std::optional<int> from = parseInt(w[2]), to = parseInt(w[3]);
        if (from && to) {
            if (WinObj* c = usableControl(d, id))
                if (!CWnd::FromHandle(handleOf(c))->ScriptDrag(*from, *to))
                    refused(id, L"drag that row");
            return;
        }
    }
    if (sameWord(verb, L"edit") && bId && w.size() >= 4) {
        std::optional<int> row = parseInt(w[2]), col = parseInt(w[3]);
        if (row && col) {
            std::wstring text = w.size() == 5 ? w[4] : L"";
            if (WinObj* c = usableControl(d, id))
                if (!CWnd::FromHandle(handleOf(c))->ScriptEdit(*row, *col, text.c_str()))
                    refused(id, L"edit that cell");
            return;
        }
    }
    printOwnLine(L"Invalid dialog input: " + t);
}

} // namespace

std::wstring kindName(const WinObj* w) {
    switch (w->kind) {
    case AfxCtl::Static:
        return L"static";
    case AfxCtl::GroupBox:
        return L"group";
    case AfxCtl::Edit:
        return L"edit";
    case AfxCtl::PushButton:
    case AfxCtl::DefPushButton:
        return L"button";
    case AfxCtl::CheckBox:
    case AfxCtl::Auto3State:
        return L"check";
    case AfxCtl::RadioButton:
        return L"radio";
    case AfxCtl::ComboBox:
    case AfxCtl::DropList:
        return L"combo";
    case AfxCtl::ListBox:
        return L"list";
    case AfxCtl::Spin:
        return L"spin";
    case AfxCtl::ToolTip:
        return L"tooltip";
    case AfxCtl::Dialog:
        return L"dialog";
    case AfxCtl::Custom:
        break;
    }
    return w->className.empty() ? L"custom" : w->className;
}

std::wstring describeControl(HWND h) {
    WinObj* w = winFromHandle(h);
    if (!w)
        return {};
    bool ownText = w->kind == AfxCtl::Static || w->kind == AfxCtl::GroupBox ||
                   w->kind == AfxCtl::PushButton || w->kind == AfxCtl::DefPushButton ||
                   w->kind == AfxCtl::CheckBox || w->kind == AfxCtl::Auto3State ||
                   w->kind == AfxCtl::RadioButton;
    std::wstring line = L"  " + std::to_wstring(w->id) + L" " + kindName(w) + L" \"" +
                        (ownText ? w->text : w->label) + L"\"";
    CString value = CWnd::FromHandle(h)->ScriptDescribe();
    if (!value.IsEmpty())
        line += L" = " + value.str();
    if (!w->enabled)
        line += L" (disabled)";
    if (!w->visible)
        line += L" (hidden)";
    return line;
}

std::wstring describeDialog(HWND h) {
    WinObj* d = winFromHandle(h);
    if (!d)
        return {};
    std::wstring out = L"\n" + dialogHeader(d);
    for (auto& [c, line] : snapshot(d))
        out += L"\n" + line;
    return out;
}

void printOwnLine(const std::wstring& text) {
    if (!hostTranscript().currentLine().empty())
        hostPrint(L"\n");
    hostPrint(text);
}

void dialogShown(WinObj* dlg) {
    if (Running* r = runningOf(dlg))
        printWhole(*r);
}

} // namespace khost

using namespace khost;

// ---- Templates
// --------------------------------------------------------------------------------------

void AfxRegisterDialogTemplate(const AfxDlgTemplate& t) {
    templates()[t.nID] = t;
}

const AfxDlgTemplate* AfxFindDialogTemplate(UINT id) {
    auto it = templates().find(id);
    return it == templates().end() ? nullptr : &it->second;
}

int AfxMessageBox(LPCTSTR text, UINT type, UINT) {
    return MessageBoxW(GetActiveWindow(), text, L"AutoCAD", type);
}

// ---- Scripted use of controls
// -------------------------------------------------------------------------

BOOL CWnd::ScriptSetValue(const CString& value) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return FALSE;
    const std::wstring& v = value.str();
    switch (w->kind) {
    case AfxCtl::Edit: {
        if (w->readOnly)
            return FALSE;
        SetFocus();
        w->selStart = 0;
        w->selEnd = static_cast<int>(w->text.size());
        if (v.empty())
            deliverInput(w, WM_KEYDOWN, VK_DELETE, 1);
        for (wchar_t ch : v)
            deliverInput(w, WM_CHAR, static_cast<WPARAM>(ch), 1);
        return TRUE;
    }
    case AfxCtl::CheckBox:
    case AfxCtl::Auto3State: {
        std::optional<int> state = parseInt(v);
        int max = w->kind == AfxCtl::Auto3State ? 2 : 1;
        if (!state || *state < 0 || *state > max)
            return FALSE;
        if (!isTabStop(w))
            return FALSE;
        for (int i = 0; i < 3 && w->check != *state; ++i) {
            ScriptClick();
            if ((w->style & BS_TYPEMASK) == BS_CHECKBOX || (w->style & BS_TYPEMASK) == BS_3STATE)
                break;
        }
        return TRUE;
    }
    case AfxCtl::RadioButton:
        if (parseInt(v) != 1)
            return FALSE;
        return ScriptClick();
    case AfxCtl::ComboBox:
    case AfxCtl::DropList:
    case AfxCtl::ListBox: {
        int row = -1;
        for (size_t i = 0; i < w->items.size(); ++i)
            if (w->items[i].text == v) {
                row = static_cast<int>(i);
                break;
            }
        if (row >= 0)
            return ScriptSelect(row);
        if (w->kind != AfxCtl::ComboBox)
            return FALSE;
        SetFocus();
        w->selStart = 0;
        w->selEnd = static_cast<int>(w->text.size());
        w->curSel = -1;
        if (v.empty())
            deliverInput(w, WM_KEYDOWN, VK_DELETE, 1);
        for (wchar_t ch : v)
            deliverInput(w, WM_CHAR, static_cast<WPARAM>(ch), 1);
        return TRUE;
    }
    case AfxCtl::Spin: {
        std::optional<int> pos = parseInt(v);
        if (!pos || !w->parent)
            return FALSE;
        NMUPDOWN nm{};
        nm.hdr.hwndFrom = m_hWnd;
        nm.hdr.idFrom = static_cast<UINT_PTR>(w->id);
        nm.hdr.code = UDN_DELTAPOS;
        nm.iPos = w->spinPos;
        nm.iDelta = *pos - w->spinPos;
        if (::SendMessageW(handleOf(w->parent), WM_NOTIFY, static_cast<WPARAM>(w->id),
                           reinterpret_cast<LPARAM>(&nm)) == 0) {
            static_cast<CSpinButtonCtrl*>(CWnd::FromHandle(m_hWnd))->SetPos(*pos);
            ::SendMessageW(handleOf(w->parent), WM_VSCROLL,
                           MAKEWPARAM(SB_THUMBPOSITION, w->spinPos),
                           reinterpret_cast<LPARAM>(m_hWnd));
        }
        pumpPostedMessages();
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL CWnd::ScriptClick() {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return FALSE;
    switch (w->kind) {
    case AfxCtl::PushButton:
    case AfxCtl::DefPushButton:
    case AfxCtl::CheckBox:
    case AfxCtl::Auto3State:
    case AfxCtl::RadioButton:
        mouse(w, WM_LBUTTONDOWN, POINT{5, 5}, MK_LBUTTON);
        if (winFromHandle(handleOf(w)))
            mouse(w, WM_LBUTTONUP, POINT{5, 5}, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CWnd::ScriptSelect(int row) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w || row < 0 || row >= static_cast<int>(w->items.size()))
        return FALSE;
    if (w->kind == AfxCtl::ComboBox || w->kind == AfxCtl::DropList) {
        SetFocus();
        w->curSel = row;
        w->text = w->items[static_cast<size_t>(row)].text;
        notifyParent(w, CBN_SELCHANGE);
        notifyParent(w, CBN_SELENDOK);
        pumpPostedMessages();
        return TRUE;
    }
    if (w->kind == AfxCtl::ListBox) {
        scrollIntoView(w, row);
        POINT p = listRowPoint(w, row);
        mouse(w, WM_LBUTTONDOWN, p, MK_LBUTTON);
        mouse(w, WM_LBUTTONUP, p, 0);
        return TRUE;
    }
    return FALSE;
}

BOOL CWnd::ScriptDblClick(int row) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w || w->kind != AfxCtl::ListBox || row < 0 || row >= static_cast<int>(w->items.size()))
        return FALSE;
    ScriptSelect(row);
    POINT p = listRowPoint(w, row);
    mouse(w, WM_LBUTTONDBLCLK, p, MK_LBUTTON);
    mouse(w, WM_LBUTTONUP, p, 0);
    return TRUE;
}

BOOL CWnd::ScriptEdit(int, int, const CString&) {
    return FALSE;
}

BOOL CWnd::ScriptDrag(int from, int to) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w || w->kind != AfxCtl::ListBox || from < 0 || from >= static_cast<int>(w->items.size()))
        return FALSE;
    scrollIntoView(w, from);
    POINT a = listRowPoint(w, from);
    POINT b = listRowPoint(w, to);
    mouse(w, WM_LBUTTONDOWN, a, MK_LBUTTON);
    mouse(w, WM_MOUSEMOVE, b, MK_LBUTTON);
    mouse(w, WM_LBUTTONUP, b, 0);
    return TRUE;
}

CString CWnd::ScriptDescribe() const {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return CString();
    switch (w->kind) {
    case AfxCtl::CheckBox:
    case AfxCtl::Auto3State:
    case AfxCtl::RadioButton:
        return CString(std::to_wstring(w->check));
    case AfxCtl::Edit:
        return CString(L"\"" + w->text + L"\"" + editColors(w));
    case AfxCtl::ComboBox:
    case AfxCtl::DropList:
        return CString(std::to_wstring(w->curSel) + L" \"" + w->text + L"\"" + itemList(w, false));
    case AfxCtl::ListBox: {
        const bool multi = (w->style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
        std::wstring sel = w->curSel >= 0 && w->curSel < static_cast<int>(w->items.size())
                               ? w->items[static_cast<size_t>(w->curSel)].text
                               : L"";
        return CString(std::to_wstring(w->curSel) + L" \"" + sel + L"\"" + itemList(w, multi));
    }
    case AfxCtl::Spin:
        return CString(std::to_wstring(w->spinPos));
    case AfxCtl::Custom:
        return w->text.empty() ? CString() : CString(L"\"" + w->text + L"\"");
    default:
        return CString();
    }
}

// ---- CDialog
// ------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() = default;
CDialog::CDialog(UINT id, CWnd* parent) : m_pParentWnd(parent), m_nIDTemplate(id) {}
CDialog::~CDialog() {
    if (WinObj* w = winFromHandle(m_hWnd))
        destroyWin(w);
}

namespace {

AfxCtl templateKind(const AfxDlgControl& c, DWORD& style) {
    DWORD type = style & BS_TYPEMASK;
    switch (c.nKind) {
    case AfxCtl::CheckBox:
        if (type != BS_CHECKBOX)
            style = (style & ~BS_TYPEMASK) | BS_AUTOCHECKBOX;
        break;
    case AfxCtl::Auto3State:
        if (type != BS_3STATE)
            style = (style & ~BS_TYPEMASK) | BS_AUTO3STATE;
        break;
    case AfxCtl::RadioButton:
        if (type != BS_RADIOBUTTON)
            style = (style & ~BS_TYPEMASK) | BS_AUTORADIOBUTTON;
        break;
    case AfxCtl::DefPushButton:
        style = (style & ~BS_TYPEMASK) | BS_DEFPUSHBUTTON;
        break;
    default:
        break;
    }
    return c.nKind;
}

// Makes the windows of a template: the dialog and its controls.
WinObj* createFromTemplate(const AfxDlgTemplate& t) {
    WinObj* dlg = createWin(AfxCtl::Dialog, nullptr);
    dlg->text = t.sCaption ? t.sCaption : L"";
    dlg->templateId = t.nID;
    dlg->className = L"#32770";
    dlg->visible = true;
    int y = 10;
    for (const AfxDlgControl& c : t.controls) {
        DWORD style = c.dwStyle;
        WinObj* w = createWin(templateKind(c, style), dlg);
        w->id = c.nID;
        w->style = style;
        w->enabled = !(style & WS_DISABLED);
        w->visible = !c.bHidden;
        w->readOnly = (w->kind == AfxCtl::Edit) && (style & ES_READONLY);
        w->className = c.sClass ? c.sClass : L"";
        w->rows = std::max(1, c.nRows);
        const wchar_t* text = c.sText ? c.sText : L"";
        switch (w->kind) {
        case AfxCtl::Edit:
        case AfxCtl::ComboBox:
        case AfxCtl::DropList:
        case AfxCtl::ListBox:
        case AfxCtl::Spin:
        case AfxCtl::Custom:
            w->label = text;
            break;
        default:
            w->text = text;
            break;
        }
        for (const std::wstring& item : c.items) {
            WinItem it;
            it.text = item;
            w->items.push_back(it);
        }
        bool sorted =
            (w->kind == AfxCtl::ListBox && (style & LBS_SORT)) ||
            ((w->kind == AfxCtl::ComboBox || w->kind == AfxCtl::DropList) && (style & CBS_SORT));
        if (sorted)
            std::stable_sort(w->items.begin(), w->items.end(),
                             [](const WinItem& a, const WinItem& b) {
                                 return _wcsicmp(a.text.c_str(), b.text.c_str()) < 0;
                             });
        int height = w->kind == AfxCtl::ListBox ? w->rows * w->itemHeight : 20;
        w->rect = RECT{10, y, 310, y + height};
        y += height + 4;
    }
    dlg->rect = RECT{0, 0, 330, y + 40};
    return dlg;
}

} // namespace

INT_PTR CDialog::DoModal() {
    const AfxDlgTemplate* t = AfxFindDialogTemplate(m_nIDTemplate);
    if (!t || m_hWnd)
        return -1;
    WinObj* dlg = createFromTemplate(*t);
    Attach(handleOf(dlg));
    HWND prevActive = GetActiveWindow();
    HWND prevFocus = ::GetFocus();
    setActiveWindow(m_hWnd);
    m_bRunning = true;
    m_bEnded = false;
    m_nModalResult = -1;
    Running running{dlg, {}, {}};
    g_running.push_back(&running);

    struct Cleanup {
        CDialog* self;
        WinObj* dlg;
        HWND prevActive, prevFocus;
        ~Cleanup() {
            g_running.pop_back();
            self->m_bRunning = false;
            destroyWin(dlg);
            self->m_hWnd = nullptr;
            setActiveWindow(prevActive == mainWindow() ? nullptr : prevActive);
            if (winFromHandle(prevFocus))
                ::SetFocus(prevFocus);
            else
                ::SetFocus(nullptr);
        }
    } cleanup{this, dlg, prevActive, prevFocus};

    BOOL focusFirst = OnInitDialog();
    if (focusFirst && !m_bEnded) {
        for (WinObj* c : dlg->children)
            if (isTabStop(c)) {
                ::SetFocus(handleOf(c));
                if (c->kind == AfxCtl::Edit) {
                    c->selStart = 0;
                    c->selEnd = static_cast<int>(c->text.size());
                }
                break;
            }
    }
    pumpPostedMessages();
    if (!m_bEnded && dlg->visible)
        printWhole(running);
    while (!m_bEnded) {
        Answer a = promptAnswer(L"\nDialog: ", true);
        if (a.kind != Answer::Text) {
            // Esc, and the end of input, which must not leave the dialog open.
            SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            pumpPostedMessages();
            if (a.kind == Answer::End && !m_bEnded)
                EndDialog(IDCANCEL);
            continue;
        }
        act(this, dlg, a.text);
        pumpPostedMessages();
        if (!m_bEnded && winFromHandle(handleOf(dlg)))
            printChanges(running);
    }
    return m_nModalResult;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int result) {
    if (!m_bRunning)
        return;
    m_nModalResult = result;
    m_bEnded = true;
}

BOOL CDialog::UpdateData(BOOL save) {
    CDataExchange dx(this, save);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::GotoDlgCtrl(CWnd* ctrl) {
    if (!ctrl)
        return;
    ctrl->SetFocus();
    if (WinObj* w = winFromHandle(ctrl->m_hWnd))
        if (w->kind == AfxCtl::Edit) {
            w->selStart = 0;
            w->selEnd = static_cast<int>(w->text.size());
        }
}

void CDialog::NextDlgCtrl() const {
    WinObj* d = winFromHandle(m_hWnd);
    if (!d || d->children.empty())
        return;
    auto& kids = d->children;
    auto it = std::find(kids.begin(), kids.end(), winFromHandle(::GetFocus()));
    size_t start = it == kids.end() ? kids.size() - 1 : static_cast<size_t>(it - kids.begin());
    for (size_t k = 1; k <= kids.size(); ++k) {
        WinObj* c = kids[(start + k) % kids.size()];
        if (isTabStop(c)) {
            const_cast<CDialog*>(this)->GotoDlgCtrl(CWnd::FromHandle(handleOf(c)));
            return;
        }
    }
}

void CDialog::PrevDlgCtrl() const {
    WinObj* d = winFromHandle(m_hWnd);
    if (!d || d->children.empty())
        return;
    auto& kids = d->children;
    auto it = std::find(kids.begin(), kids.end(), winFromHandle(::GetFocus()));
    size_t start = it == kids.end() ? 0 : static_cast<size_t>(it - kids.begin());
    for (size_t k = 1; k <= kids.size(); ++k) {
        WinObj* c = kids[(start + kids.size() - k) % kids.size()];
        if (isTabStop(c)) {
            const_cast<CDialog*>(this)->GotoDlgCtrl(CWnd::FromHandle(handleOf(c)));
            return;
        }
    }
}

void CDialogEx::SetBackgroundColor(COLORREF color, BOOL) {
    m_clrBackground = color;
}

// ---- Data exchange
// ----------------------------------------------------------------------------------------

CDataExchange::CDataExchange(CWnd* dlg, BOOL save) : m_bSaveAndValidate(save), m_pDlgWnd(dlg) {}

HWND CDataExchange::PrepareCtrl(int id) {
    m_idLastControl = static_cast<UINT>(id);
    m_bEditLastControl = FALSE;
    HWND h = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    if (!h)
        printOwnLine(L"Data exchange: the dialog has no control " + std::to_wstring(id) + L".");
    return h;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
    HWND h = PrepareCtrl(id);
    m_bEditLastControl = TRUE;
    return h;
}

void CDataExchange::Fail() {
    if (HWND h = ::GetDlgItem(m_pDlgWnd->m_hWnd, static_cast<int>(m_idLastControl))) {
        ::SetFocus(h);
        if (m_bEditLastControl)
            if (WinObj* w = winFromHandle(h)) {
                w->selStart = 0;
                w->selEnd = static_cast<int>(w->text.size());
            }
    }
    AfxThrowUserException();
}

namespace {

CString windowText(HWND h) {
    CString s;
    CWnd::FromHandle(h)->GetWindowText(s);
    return s;
}

template <typename T> bool parseNumber(const CString& text, T& out, bool real, bool isUnsigned) {
    std::wstring s = trim(text.str());
    if (s.empty())
        return false;
    wchar_t* end = nullptr;
    if (real) {
        double v = std::wcstod(s.c_str(), &end);
        if (*end)
            return false;
        out = static_cast<T>(v);
        return true;
    }
    if (isUnsigned && s[0] == L'-')
        return false;
    long long v = std::wcstoll(s.c_str(), &end, 10);
    if (*end)
        return false;
    out = static_cast<T>(v);
    return true;
}

template <typename T>
void ddxNumber(CDataExchange* dx, int id, T& value, const wchar_t* fmt, bool real,
               bool isUnsigned) {
    HWND h = dx->PrepareEditCtrl(id);
    if (!h)
        return;
    if (dx->m_bSaveAndValidate) {
        T v{};
        if (!parseNumber(windowText(h), v, real, isUnsigned)) {
            AfxMessageBox(real ? L"Enter a number." : L"Enter an integer.");
            dx->Fail();
        }
        value = v;
    } else {
        CString s;
        s.Format(fmt, value);
        ::SetWindowTextW(h, s);
    }
}

} // namespace

void DDX_Control(CDataExchange* dx, int id, CWnd& ctrl) {
    if (ctrl.m_hWnd)
        return;
    if (HWND h = dx->PrepareCtrl(id))
        ctrl.SubclassWindow(h);
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
    HWND h = dx->PrepareEditCtrl(id);
    if (!h)
        return;
    if (dx->m_bSaveAndValidate)
        value = windowText(h);
    else
        ::SetWindowTextW(h, value);
}
void DDX_Text(CDataExchange* dx, int id, int& value) {
    ddxNumber(dx, id, value, L"%d", false, false);
}
void DDX_Text(CDataExchange* dx, int id, UINT& value) {
    ddxNumber(dx, id, value, L"%u", false, true);
}
void DDX_Text(CDataExchange* dx, int id, long& value) {
    ddxNumber(dx, id, value, L"%ld", false, false);
}
void DDX_Text(CDataExchange* dx, int id, double& value) {
    ddxNumber(dx, id, value, L"%.15g", true, false);
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    HWND h = dx->PrepareCtrl(id);
    if (!h)
        return;
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageW(h, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(h, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* dx, int id, int& value) {
    HWND h = dx->PrepareCtrl(id);
    if (!h)
        return;
    std::vector<WinObj*> group = radioGroup(winFromHandle(h));
    if (dx->m_bSaveAndValidate) {
        value = -1;
        for (size_t i = 0; i < group.size(); ++i)
            if (group[i]->check)
                value = static_cast<int>(i);
    } else {
        for (size_t i = 0; i < group.size(); ++i)
            group[i]->check = static_cast<int>(i) == value ? 1 : 0;
    }
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index) {
    HWND h = dx->PrepareCtrl(id);
    if (!h)
        return;
    auto* c = static_cast<CComboBox*>(CWnd::FromHandle(h));
    if (dx->m_bSaveAndValidate)
        index = c->GetCurSel();
    else
        c->SetCurSel(index);
}

static void cbString(CDataExchange* dx, int id, CString& value, bool exact) {
    HWND h = dx->PrepareCtrl(id);
    if (!h)
        return;
    auto* c = static_cast<CComboBox*>(CWnd::FromHandle(h));
    WinObj* w = winFromHandle(h);
    if (dx->m_bSaveAndValidate) {
        value = windowText(h);
        return;
    }
    int i = exact ? c->FindStringExact(-1, value) : c->FindString(-1, value);
    if (i != CB_ERR)
        c->SetCurSel(i);
    else if (w->kind == AfxCtl::ComboBox)
        w->text = value.str();
}
void DDX_CBString(CDataExchange* dx, int id, CString& value) {
    cbString(dx, id, value, false);
}
void DDX_CBStringExact(CDataExchange* dx, int id, CString& value) {
    cbString(dx, id, value, true);
}

void DDX_LBIndex(CDataExchange* dx, int id, int& index) {
    HWND h = dx->PrepareCtrl(id);
    if (!h)
        return;
    auto* c = static_cast<CListBox*>(CWnd::FromHandle(h));
    if (dx->m_bSaveAndValidate)
        index = c->GetCurSel();
    else
        c->SetCurSel(index);
}

void DDX_LBString(CDataExchange* dx, int id, CString& value) {
    HWND h = dx->PrepareCtrl(id);
    if (!h)
        return;
    auto* c = static_cast<CListBox*>(CWnd::FromHandle(h));
    if (dx->m_bSaveAndValidate) {
        int i = c->GetCurSel();
        if (i >= 0)
            c->GetText(i, value);
        else
            value.Empty();
    } else {
        c->SelectString(-1, value);
    }
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int n) {
    if (!dx->m_bSaveAndValidate) {
        if (HWND h = ::GetDlgItem(dx->m_pDlgWnd->m_hWnd, static_cast<int>(dx->m_idLastControl)))
            if (WinObj* w = winFromHandle(h))
                if (w->kind == AfxCtl::Edit)
                    w->limit = static_cast<UINT>(n);
        return;
    }
    if (value.GetLength() > n) {
        CString msg;
        msg.Format(L"Enter no more than %d characters.", n);
        AfxMessageBox(msg);
        dx->Fail();
    }
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int lo, int hi) {
    if (dx->m_bSaveAndValidate && (value < lo || value > hi)) {
        CString msg;
        msg.Format(L"Enter an integer between %d and %d.", lo, hi);
        AfxMessageBox(msg);
        dx->Fail();
    }
}

void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT lo, UINT hi) {
    if (dx->m_bSaveAndValidate && (value < lo || value > hi)) {
        CString msg;
        msg.Format(L"Enter an integer between %u and %u.", lo, hi);
        AfxMessageBox(msg);
        dx->Fail();
    }
}

void DDV_MinMaxDouble(CDataExchange* dx, const double& value, double lo, double hi) {
    if (dx->m_bSaveAndValidate && (value < lo || value > hi)) {
        CString msg;
        msg.Format(L"Enter a number between %.15g and %.15g.", lo, hi);
        AfxMessageBox(msg);
        dx->Fail();
    }
}
