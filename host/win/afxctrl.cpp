// The built-in behaviour of the controls (what the window procedure of each Windows control
// class does) and the control classes of the class library.
#include "afxwinimpl.h"
#include "hostio.h"

#include <algorithm>
#include <cwctype>

namespace khost {
namespace {

constexpr UINT DEFAULT_EDIT_LIMIT = 30000;

bool isEditLike(const WinObj* w) {
    return w->kind == AfxCtl::Edit || w->kind == AfxCtl::ComboBox;
}

bool isButton(const WinObj* w) {
    switch (w->kind) {
    case AfxCtl::PushButton:
    case AfxCtl::DefPushButton:
    case AfxCtl::CheckBox:
    case AfxCtl::Auto3State:
    case AfxCtl::RadioButton:
        return true;
    default:
        return false;
    }
}

bool isAuto(const WinObj* w) {
    DWORD t = w->style & BS_TYPEMASK;
    return t != BS_CHECKBOX && t != BS_3STATE && t != BS_RADIOBUTTON;
}

void editChanged(WinObj* w) {
    if (w->kind == AfxCtl::Edit) {
        notifyParent(w, EN_UPDATE);
        notifyParent(w, EN_CHANGE);
    } else {
        notifyParent(w, CBN_EDITUPDATE);
        notifyParent(w, CBN_EDITCHANGE);
    }
}

void orderedSel(const WinObj* w, size_t& a, size_t& b) {
    int s = std::clamp(w->selStart, 0, static_cast<int>(w->text.size()));
    int e = std::clamp(w->selEnd, 0, static_cast<int>(w->text.size()));
    if (s > e)
        std::swap(s, e);
    a = static_cast<size_t>(s);
    b = static_cast<size_t>(e);
}

// Replaces the selection by the text, as typing does; false when the limit refuses it.
bool replaceSelection(WinObj* w, const std::wstring& text) {
    size_t a, b;
    orderedSel(w, a, b);
    UINT limit = w->limit ? w->limit : DEFAULT_EDIT_LIMIT;
    if (w->text.size() - (b - a) + text.size() > limit) {
        notifyParent(w, w->kind == AfxCtl::Edit ? EN_MAXTEXT : CBN_EDITUPDATE);
        return false;
    }
    w->text.replace(a, b - a, text);
    w->selStart = w->selEnd = static_cast<int>(a + text.size());
    return true;
}

void clickButton(WinObj* w) {
    if (isAuto(w)) {
        if (w->kind == AfxCtl::CheckBox)
            w->check = w->check ? 0 : 1;
        else if (w->kind == AfxCtl::Auto3State)
            w->check = (w->check + 1) % 3;
        else if (w->kind == AfxCtl::RadioButton) {
            for (WinObj* r : radioGroup(w))
                r->check = r == w ? 1 : 0;
        }
    }
    notifyParent(w, BN_CLICKED);
}

int rowAt(const WinObj* w, POINT p, bool& outside) {
    int height = w->rect.bottom - w->rect.top;
    int row = w->topIndex + (p.y >= 0 ? p.y / w->itemHeight : -1);
    int count = static_cast<int>(w->items.size());
    outside = p.y < 0 || p.y >= height || p.x < 0 || p.x >= w->rect.right - w->rect.left ||
              row < 0 || row >= count;
    if (count == 0)
        return 0;
    return std::clamp(row, 0, count - 1);
}

void selectRow(WinObj* w, int row) {
    if (w->style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
        if (w->style & LBS_MULTIPLESEL)
            w->items[static_cast<size_t>(row)].selected =
                !w->items[static_cast<size_t>(row)].selected;
        else
            for (size_t i = 0; i < w->items.size(); ++i)
                w->items[i].selected = static_cast<int>(i) == row;
    }
    w->curSel = row;
}

bool compareItem(const std::wstring& a, const std::wstring& b) {
    return _wcsicmp(a.c_str(), b.c_str()) < 0;
}

} // namespace

LRESULT defaultProc(WinObj* w, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETTEXT: {
        const wchar_t* s = reinterpret_cast<const wchar_t*>(lParam);
        w->text = s ? s : L"";
        if (w->kind == AfxCtl::Edit) {
            w->selStart = w->selEnd = 0;
            notifyParent(w, EN_UPDATE);
            notifyParent(w, EN_CHANGE);
        }
        return TRUE;
    }
    case WM_GETTEXT: {
        auto* buf = reinterpret_cast<wchar_t*>(lParam);
        size_t max = static_cast<size_t>(wParam);
        if (!buf || max == 0)
            return 0;
        size_t n = std::min(w->text.size(), max - 1);
        std::wmemcpy(buf, w->text.data(), n);
        buf[n] = 0;
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(w->text.size());
    case WM_SETFONT:
        w->font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(w->font);
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        bool set = msg == WM_SETFOCUS;
        if (w->kind == AfxCtl::Edit)
            notifyParent(w, set ? EN_SETFOCUS : EN_KILLFOCUS);
        else if (w->kind == AfxCtl::ComboBox || w->kind == AfxCtl::DropList)
            notifyParent(w, set ? CBN_SETFOCUS : CBN_KILLFOCUS);
        else if (w->kind == AfxCtl::ListBox && (w->style & LBS_NOTIFY))
            notifyParent(w, set ? LBN_SETFOCUS : LBN_KILLFOCUS);
        else if (isButton(w) && (w->style & BS_NOTIFY))
            notifyParent(w, set ? BN_SETFOCUS : BN_KILLFOCUS);
        return 0;
    }
    case WM_CHAR: {
        if (!isEditLike(w))
            return 0;
        wchar_t ch = static_cast<wchar_t>(wParam);
        if (w->readOnly) {
            MessageBeep(0);
            return 0;
        }
        if (ch == VK_BACK) {
            size_t a, b;
            orderedSel(w, a, b);
            if (a == b && a > 0)
                --a;
            if (a == b)
                return 0;
            w->text.erase(a, b - a);
            w->selStart = w->selEnd = static_cast<int>(a);
            editChanged(w);
            return 0;
        }
        if (ch < 32)
            return 0;
        if ((w->style & ES_NUMBER) && !std::iswdigit(ch)) {
            MessageBeep(0);
            return 0;
        }
        if (w->style & ES_UPPERCASE)
            ch = static_cast<wchar_t>(std::towupper(ch));
        if (w->style & ES_LOWERCASE)
            ch = static_cast<wchar_t>(std::towlower(ch));
        if (replaceSelection(w, std::wstring(1, ch)))
            editChanged(w);
        return 0;
    }
    case WM_CLEAR: {
        if (!isEditLike(w) || w->readOnly)
            return 0;
        size_t a, b;
        orderedSel(w, a, b);
        if (a == b)
            return 0;
        w->text.erase(a, b - a);
        w->selStart = w->selEnd = static_cast<int>(a);
        editChanged(w);
        return 0;
    }
    case WM_KEYDOWN:
        if (isEditLike(w) && wParam == VK_DELETE) {
            size_t a, b;
            orderedSel(w, a, b);
            if (a == b && b < w->text.size())
                ++b;
            if (a == b || w->readOnly)
                return 0;
            w->text.erase(a, b - a);
            w->selStart = w->selEnd = static_cast<int>(a);
            editChanged(w);
        }
        return 0;
    case WM_LBUTTONDOWN: {
        setFocusTo(w);
        if (isButton(w)) {
            CWnd::FromHandle(handleOf(w))->SetCapture();
        } else if (w->kind == AfxCtl::ListBox) {
            POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            bool outside = false;
            int row = rowAt(w, p, outside);
            if (!outside) {
                selectRow(w, row);
                notifyParent(w, LBN_SELCHANGE);
            }
        }
        return 0;
    }
    case WM_LBUTTONUP: {
        bool captured = CWnd::GetCapture() && CWnd::GetCapture()->m_hWnd == handleOf(w);
        if (captured)
            ReleaseCapture();
        if (isButton(w) && captured)
            clickButton(w);
        return 0;
    }
    case WM_LBUTTONDBLCLK:
        if (w->kind == AfxCtl::ListBox)
            notifyParent(w, LBN_DBLCLK);
        else if (isButton(w) && (w->style & BS_NOTIFY))
            notifyParent(w, BN_DOUBLECLICKED);
        return 0;
    case BM_GETCHECK:
        return w->check;
    case BM_SETCHECK:
        w->check = static_cast<int>(wParam);
        return 0;
    case BM_CLICK:
        if (w->enabled) {
            SendMessageW(handleOf(w), WM_LBUTTONDOWN, MK_LBUTTON, 0);
            SendMessageW(handleOf(w), WM_LBUTTONUP, 0, 0);
        }
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
        if (dc) {
            dc->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
            dc->SetBkColor(GetSysColor(COLOR_WINDOW));
        }
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: {
        CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
        if (dc) {
            dc->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
            dc->SetBkColor(GetSysColor(COLOR_BTNFACE));
        }
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    default:
        return 0;
    }
}

} // namespace khost

using namespace khost;

// ---- CButton
// --------------------------------------------------------------------------------------

int CButton::GetCheck() const {
    return static_cast<int>(::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0));
}
void CButton::SetCheck(int check) {
    ::SendMessageW(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(check), 0);
}
UINT CButton::GetButtonStyle() const {
    return GetStyle() & 0xFF;
}
void CButton::SetButtonStyle(UINT style, BOOL) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return;
    w->style = (w->style & ~0xFFu) | (style & 0xFF);
    if (w->kind == AfxCtl::PushButton || w->kind == AfxCtl::DefPushButton)
        w->kind =
            (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? AfxCtl::DefPushButton : AfxCtl::PushButton;
}

// ---- CEdit
// ----------------------------------------------------------------------------------------

void CEdit::GetSel(int& start, int& end) const {
    WinObj* w = winFromHandle(m_hWnd);
    start = end = 0;
    if (!w)
        return;
    size_t a, b;
    orderedSel(w, a, b);
    start = static_cast<int>(a);
    end = static_cast<int>(b);
}
DWORD CEdit::GetSel() const {
    int a, b;
    GetSel(a, b);
    return static_cast<DWORD>(MAKELONG(a, b));
}
void CEdit::SetSel(int start, int end, BOOL) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return;
    int n = static_cast<int>(w->text.size());
    if (start == -1) {
        // -1 removes the selection, leaving the caret at its start.
        int a = std::min(w->selStart, w->selEnd);
        w->selStart = w->selEnd = a;
        return;
    }
    if (end == -1)
        end = n;
    w->selStart = std::clamp(start, 0, n);
    w->selEnd = std::clamp(end, 0, n);
}
void CEdit::SetSel(DWORD sel, BOOL noScroll) {
    SetSel(static_cast<short>(LOWORD(sel)), static_cast<short>(HIWORD(sel)), noScroll);
}
void CEdit::ReplaceSel(LPCTSTR text, BOOL) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return;
    if (replaceSelection(w, text ? text : L""))
        editChanged(w);
}
void CEdit::Clear() {
    SendMessage(WM_CLEAR, 0, 0);
}
void CEdit::LimitText(int n) {
    if (WinObj* w = winFromHandle(m_hWnd))
        w->limit = n > 0 ? static_cast<UINT>(n) : 0x7FFFFFFE;
}
UINT CEdit::GetLimitText() const {
    WinObj* w = winFromHandle(m_hWnd);
    return w ? (w->limit ? w->limit : DEFAULT_EDIT_LIMIT) : 0;
}
BOOL CEdit::SetReadOnly(BOOL ro) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return FALSE;
    w->readOnly = ro != FALSE;
    if (ro)
        w->style |= ES_READONLY;
    else
        w->style &= ~static_cast<DWORD>(ES_READONLY);
    return TRUE;
}
BOOL CEdit::ShowBalloonTip(LPCWSTR title, LPCWSTR text, INT) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return FALSE;
    std::wstring line = L"  " + std::to_wstring(w->id) + L" balloon: ";
    if (title && *title)
        line += std::wstring(L"[") + title + L"] ";
    line += text ? text : L"";
    printOwnLine(line);
    return TRUE;
}
BOOL CEdit::HideBalloonTip() {
    return TRUE;
}

// ---- Lists (combo boxes and list boxes share their item store)
// -----------------------------------

namespace {

int addItem(WinObj* w, const wchar_t* s, bool sorted) {
    if (!w)
        return CB_ERR;
    WinItem item;
    item.text = s ? s : L"";
    size_t at = w->items.size();
    if (sorted)
        at = static_cast<size_t>(std::upper_bound(w->items.begin(), w->items.end(), item,
                                                  [](const WinItem& a, const WinItem& b) {
                                                      return compareItem(a.text, b.text);
                                                  }) -
                                 w->items.begin());
    w->items.insert(w->items.begin() + static_cast<std::ptrdiff_t>(at), item);
    if (w->curSel >= static_cast<int>(at))
        ++w->curSel;
    return static_cast<int>(at);
}

int insertItem(WinObj* w, int index, const wchar_t* s) {
    if (!w || index > static_cast<int>(w->items.size()))
        return CB_ERR;
    if (index < 0)
        index = static_cast<int>(w->items.size());
    WinItem item;
    item.text = s ? s : L"";
    w->items.insert(w->items.begin() + index, item);
    if (w->curSel >= index)
        ++w->curSel;
    return index;
}

int deleteItem(WinObj* w, UINT index) {
    if (!w || index >= w->items.size())
        return CB_ERR;
    w->items.erase(w->items.begin() + static_cast<std::ptrdiff_t>(index));
    int i = static_cast<int>(index);
    if (w->curSel == i)
        w->curSel = -1;
    else if (w->curSel > i)
        --w->curSel;
    if (w->topIndex > 0 && w->topIndex >= static_cast<int>(w->items.size()))
        w->topIndex = std::max(0, static_cast<int>(w->items.size()) - 1);
    return static_cast<int>(w->items.size());
}

const WinItem* itemAt(const WinObj* w, int index) {
    if (!w || index < 0 || index >= static_cast<int>(w->items.size()))
        return nullptr;
    return &w->items[static_cast<size_t>(index)];
}

int findItem(const WinObj* w, int startAfter, const wchar_t* s, bool exact) {
    if (!w || !s)
        return CB_ERR;
    int n = static_cast<int>(w->items.size());
    size_t len = std::wcslen(s);
    for (int k = 1; k <= n; ++k) {
        int i = (startAfter + k + n) % n;
        if (startAfter < 0)
            i = k - 1;
        const std::wstring& t = w->items[static_cast<size_t>(i)].text;
        bool hit = exact ? _wcsicmp(t.c_str(), s) == 0
                         : t.size() >= len && _wcsnicmp(t.c_str(), s, len) == 0;
        if (hit)
            return i;
    }
    return CB_ERR;
}

void syncComboText(WinObj* w) {
    if (w->kind == AfxCtl::DropList || w->kind == AfxCtl::ComboBox) {
        const WinItem* it = itemAt(w, w->curSel);
        w->text = it ? it->text : L"";
    }
}

int copyText(const WinItem* it, LPTSTR buf) {
    if (!it)
        return CB_ERR;
    if (buf) {
        std::wmemcpy(buf, it->text.data(), it->text.size());
        buf[it->text.size()] = 0;
    }
    return static_cast<int>(it->text.size());
}

} // namespace

int CComboBox::GetCount() const {
    WinObj* w = winFromHandle(m_hWnd);
    return w ? static_cast<int>(w->items.size()) : CB_ERR;
}
int CComboBox::GetCurSel() const {
    WinObj* w = winFromHandle(m_hWnd);
    return w ? w->curSel : CB_ERR;
}
int CComboBox::SetCurSel(int sel) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return CB_ERR;
    if (sel < 0 || sel >= static_cast<int>(w->items.size())) {
        w->curSel = -1;
        syncComboText(w);
        return CB_ERR;
    }
    w->curSel = sel;
    syncComboText(w);
    return sel;
}
int CComboBox::AddString(LPCTSTR s) {
    WinObj* w = winFromHandle(m_hWnd);
    return addItem(w, s, w && (w->style & CBS_SORT));
}
int CComboBox::InsertString(int index, LPCTSTR s) {
    return insertItem(winFromHandle(m_hWnd), index, s);
}
int CComboBox::DeleteString(UINT index) {
    return deleteItem(winFromHandle(m_hWnd), index);
}
void CComboBox::ResetContent() {
    if (WinObj* w = winFromHandle(m_hWnd)) {
        w->items.clear();
        w->curSel = -1;
        w->text.clear();
    }
}
int CComboBox::GetLBText(int index, LPTSTR buf) const {
    return copyText(itemAt(winFromHandle(m_hWnd), index), buf);
}
void CComboBox::GetLBText(int index, CString& s) const {
    const WinItem* it = itemAt(winFromHandle(m_hWnd), index);
    s = it ? it->text.c_str() : L"";
}
int CComboBox::GetLBTextLen(int index) const {
    return copyText(itemAt(winFromHandle(m_hWnd), index), nullptr);
}
int CComboBox::FindString(int start, LPCTSTR s) const {
    return findItem(winFromHandle(m_hWnd), start, s, false);
}
int CComboBox::FindStringExact(int start, LPCTSTR s) const {
    return findItem(winFromHandle(m_hWnd), start, s, true);
}
int CComboBox::SelectString(int start, LPCTSTR s) {
    int i = FindString(start, s);
    if (i != CB_ERR)
        SetCurSel(i);
    return i;
}
DWORD_PTR CComboBox::GetItemData(int index) const {
    const WinItem* it = itemAt(winFromHandle(m_hWnd), index);
    return it ? it->data : static_cast<DWORD_PTR>(CB_ERR);
}
int CComboBox::SetItemData(int index, DWORD_PTR data) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!itemAt(w, index))
        return CB_ERR;
    w->items[static_cast<size_t>(index)].data = data;
    return 0;
}
void* CComboBox::GetItemDataPtr(int index) const {
    return reinterpret_cast<void*>(GetItemData(index));
}
int CComboBox::SetItemDataPtr(int index, void* p) {
    return SetItemData(index, reinterpret_cast<DWORD_PTR>(p));
}
void CComboBox::LimitText(int n) {
    if (WinObj* w = winFromHandle(m_hWnd))
        w->limit = n > 0 ? static_cast<UINT>(n) : 0;
}
int CComboBox::SetDroppedWidth(UINT) {
    return 0;
}
void CComboBox::ShowDropDown(BOOL) {}

int CListBox::GetCount() const {
    WinObj* w = winFromHandle(m_hWnd);
    return w ? static_cast<int>(w->items.size()) : LB_ERR;
}
int CListBox::GetCurSel() const {
    WinObj* w = winFromHandle(m_hWnd);
    return w ? w->curSel : LB_ERR;
}
int CListBox::SetCurSel(int sel) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return LB_ERR;
    if (sel < 0 || sel >= static_cast<int>(w->items.size())) {
        w->curSel = -1;
        return sel == -1 ? 0 : LB_ERR;
    }
    w->curSel = sel;
    // The selected row is scrolled into view.
    if (sel < w->topIndex)
        w->topIndex = sel;
    else if (sel >= w->topIndex + w->rows)
        w->topIndex = sel - w->rows + 1;
    return sel;
}
int CListBox::GetSel(int index) const {
    WinObj* w = winFromHandle(m_hWnd);
    const WinItem* it = itemAt(w, index);
    if (!it)
        return LB_ERR;
    if (w->style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL))
        return it->selected ? 1 : 0;
    return w->curSel == index ? 1 : 0;
}
int CListBox::SetSel(int index, BOOL select) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w || !(w->style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)))
        return LB_ERR;
    if (index == -1) {
        for (WinItem& it : w->items)
            it.selected = select != FALSE;
        return 0;
    }
    if (!itemAt(w, index))
        return LB_ERR;
    w->items[static_cast<size_t>(index)].selected = select != FALSE;
    return 0;
}
int CListBox::GetSelCount() const {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w || !(w->style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)))
        return LB_ERR;
    return static_cast<int>(std::count_if(w->items.begin(), w->items.end(),
                                          [](const WinItem& i) { return i.selected; }));
}
int CListBox::GetSelItems(int max, LPINT out) const {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w || !(w->style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)))
        return LB_ERR;
    int n = 0;
    for (size_t i = 0; i < w->items.size() && n < max; ++i)
        if (w->items[i].selected)
            out[n++] = static_cast<int>(i);
    return n;
}
int CListBox::AddString(LPCTSTR s) {
    WinObj* w = winFromHandle(m_hWnd);
    return addItem(w, s, w && (w->style & LBS_SORT));
}
int CListBox::InsertString(int index, LPCTSTR s) {
    return insertItem(winFromHandle(m_hWnd), index, s);
}
int CListBox::DeleteString(UINT index) {
    return deleteItem(winFromHandle(m_hWnd), index);
}
void CListBox::ResetContent() {
    if (WinObj* w = winFromHandle(m_hWnd)) {
        w->items.clear();
        w->curSel = -1;
        w->topIndex = 0;
    }
}
int CListBox::GetText(int index, LPTSTR buf) const {
    return copyText(itemAt(winFromHandle(m_hWnd), index), buf);
}
void CListBox::GetText(int index, CString& s) const {
    const WinItem* it = itemAt(winFromHandle(m_hWnd), index);
    s = it ? it->text.c_str() : L"";
}
int CListBox::GetTextLen(int index) const {
    return copyText(itemAt(winFromHandle(m_hWnd), index), nullptr);
}
int CListBox::FindString(int start, LPCTSTR s) const {
    return findItem(winFromHandle(m_hWnd), start, s, false);
}
int CListBox::FindStringExact(int start, LPCTSTR s) const {
    return findItem(winFromHandle(m_hWnd), start, s, true);
}
int CListBox::SelectString(int start, LPCTSTR s) {
    int i = FindString(start, s);
    if (i != LB_ERR)
        SetCurSel(i);
    return i;
}
DWORD_PTR CListBox::GetItemData(int index) const {
    const WinItem* it = itemAt(winFromHandle(m_hWnd), index);
    return it ? it->data : static_cast<DWORD_PTR>(LB_ERR);
}
int CListBox::SetItemData(int index, DWORD_PTR data) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!itemAt(w, index))
        return LB_ERR;
    w->items[static_cast<size_t>(index)].data = data;
    return 0;
}
void* CListBox::GetItemDataPtr(int index) const {
    return reinterpret_cast<void*>(GetItemData(index));
}
int CListBox::SetItemDataPtr(int index, void* p) {
    return SetItemData(index, reinterpret_cast<DWORD_PTR>(p));
}
int CListBox::GetTopIndex() const {
    WinObj* w = winFromHandle(m_hWnd);
    return w ? w->topIndex : LB_ERR;
}
int CListBox::SetTopIndex(int index) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w || index < 0 || (index > 0 && index >= static_cast<int>(w->items.size())))
        return LB_ERR;
    w->topIndex = index;
    return 0;
}
int CListBox::GetItemHeight(int) const {
    WinObj* w = winFromHandle(m_hWnd);
    return w ? w->itemHeight : LB_ERR;
}
int CListBox::SetItemHeight(int, UINT h) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w || h == 0)
        return LB_ERR;
    w->itemHeight = static_cast<int>(h);
    w->rect.bottom = w->rect.top + w->rows * w->itemHeight;
    return 0;
}
int CListBox::GetItemRect(int index, LPRECT r) const {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w || !r || index < 0 || (index > 0 && index >= static_cast<int>(w->items.size())))
        return LB_ERR;
    int top = (index - w->topIndex) * w->itemHeight;
    *r = RECT{0, top, w->rect.right - w->rect.left, top + w->itemHeight};
    return 0;
}
UINT CListBox::ItemFromPoint(CPoint pt, BOOL& outside) const {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w) {
        outside = TRUE;
        return 0;
    }
    bool out = false;
    int row = rowAt(w, pt, out);
    outside = out;
    return static_cast<UINT>(row);
}

// ---- CSpinButtonCtrl
// ------------------------------------------------------------------------------

void CSpinButtonCtrl::SetRange(short lo, short hi) {
    SetRange32(lo, hi);
}
void CSpinButtonCtrl::SetRange32(int lo, int hi) {
    if (WinObj* w = winFromHandle(m_hWnd)) {
        w->spinLo = lo;
        w->spinHi = hi;
    }
}
DWORD CSpinButtonCtrl::GetRange() const {
    WinObj* w = winFromHandle(m_hWnd);
    return w ? static_cast<DWORD>(MAKELONG(w->spinHi, w->spinLo)) : 0;
}
void CSpinButtonCtrl::GetRange32(int& lo, int& hi) const {
    WinObj* w = winFromHandle(m_hWnd);
    lo = w ? w->spinLo : 0;
    hi = w ? w->spinHi : 0;
}
int CSpinButtonCtrl::SetPos(int pos) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return 0;
    int old = w->spinPos;
    int lo = std::min(w->spinLo, w->spinHi), hi = std::max(w->spinLo, w->spinHi);
    w->spinPos = std::clamp(pos, lo, hi);
    if (w->buddy && (w->style & UDS_SETBUDDYINT))
        ::SetWindowTextW(w->buddy, std::to_wstring(w->spinPos).c_str());
    return old;
}
int CSpinButtonCtrl::GetPos() const {
    WinObj* w = winFromHandle(m_hWnd);
    return w ? w->spinPos : 0;
}
int CSpinButtonCtrl::GetPos32(BOOL* err) const {
    if (err)
        *err = FALSE;
    return GetPos();
}
CWnd* CSpinButtonCtrl::SetBuddy(CWnd* buddy) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return nullptr;
    CWnd* old = CWnd::FromHandle(w->buddy);
    w->buddy = buddy ? buddy->m_hWnd : nullptr;
    return old;
}
CWnd* CSpinButtonCtrl::GetBuddy() const {
    WinObj* w = winFromHandle(m_hWnd);
    return w ? CWnd::FromHandle(w->buddy) : nullptr;
}

// ---- CToolTipCtrl
// ---------------------------------------------------------------------------------

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
    if (!parent || !parent->m_hWnd)
        return FALSE;
    return CWnd::Create(L"tooltips_class32", L"", style, RECT{0, 0, 0, 0}, parent, 0);
}
BOOL CToolTipCtrl::AddTool(CWnd* wnd, LPCTSTR text, LPCRECT, UINT_PTR) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w || !wnd || !wnd->m_hWnd)
        return FALSE;
    for (WinTool& t : w->tools)
        if (t.hwnd == wnd->m_hWnd) {
            t.text = text ? text : L"";
            return TRUE;
        }
    w->tools.push_back({wnd->m_hWnd, text ? text : L""});
    return TRUE;
}
void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w || !wnd)
        return;
    std::erase_if(w->tools, [wnd](const WinTool& t) { return t.hwnd == wnd->m_hWnd; });
}
void CToolTipCtrl::UpdateTipText(LPCTSTR text, CWnd* wnd, UINT_PTR) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w || !wnd)
        return;
    for (WinTool& t : w->tools)
        if (t.hwnd == wnd->m_hWnd)
            t.text = text ? text : L"";
}
void CToolTipCtrl::GetText(CString& s, CWnd* wnd, UINT_PTR) const {
    s.Empty();
    WinObj* w = winFromHandle(m_hWnd);
    if (!w || !wnd)
        return;
    for (const WinTool& t : w->tools)
        if (t.hwnd == wnd->m_hWnd)
            s = t.text.c_str();
}
int CToolTipCtrl::SetMaxTipWidth(int width) {
    WinObj* w = winFromHandle(m_hWnd);
    if (!w)
        return -1;
    int old = w->maxTipWidth;
    w->maxTipWidth = width;
    return old;
}
int CToolTipCtrl::GetMaxTipWidth() const {
    WinObj* w = winFromHandle(m_hWnd);
    return w ? w->maxTipWidth : -1;
}
void CToolTipCtrl::Activate(BOOL active) {
    if (WinObj* w = winFromHandle(m_hWnd))
        w->tipsActive = active != FALSE;
}
BOOL CToolTipCtrl::IsActive() const {
    WinObj* w = winFromHandle(m_hWnd);
    return w && w->tipsActive;
}
void CToolTipCtrl::RelayEvent(LPMSG) {}
void CToolTipCtrl::SetDelayTime(UINT) {}
int CToolTipCtrl::GetToolCount() const {
    WinObj* w = winFromHandle(m_hWnd);
    return w ? static_cast<int>(w->tools.size()) : 0;
}
