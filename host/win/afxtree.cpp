// The tree view control: see afxtree.h.
#include "afxwin.h"

#include <algorithm>

struct CTreeCtrl::Item {
    CString text;
    Item* parent = nullptr;
    BOOL check = FALSE;
};

CTreeCtrl::CTreeCtrl() = default;
CTreeCtrl::~CTreeCtrl() = default;

CTreeCtrl::Item* CTreeCtrl::find(HTREEITEM hItem) const {
    for (const auto& p : m_items)
        if (reinterpret_cast<HTREEITEM>(p.get()) == hItem)
            return p.get();
    return nullptr;
}

void CTreeCtrl::displayOrder(const Item* parent, int level,
                             std::vector<std::pair<Item*, int>>& out) const {
    for (const auto& p : m_items)
        if (p->parent == parent) {
            out.emplace_back(p.get(), level);
            displayOrder(p.get(), level + 1, out);
        }
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter) {
    Item* parent = nullptr;
    if (hParent != TVI_ROOT && hParent != nullptr) {
        parent = find(hParent);
        if (!parent)
            return nullptr;
    }
    auto item = std::make_unique<Item>();
    item->text = lpszItem ? lpszItem : L"";
    item->parent = parent;
    Item* raw = item.get();
    auto pos = m_items.end();
    if (hInsertAfter == TVI_FIRST) {
        pos = std::find_if(m_items.begin(), m_items.end(),
                           [&](const auto& p) { return p->parent == parent; });
    } else if (hInsertAfter != TVI_LAST && hInsertAfter != nullptr) {
        Item* after = find(hInsertAfter);
        if (!after || after->parent != parent)
            return nullptr;
        pos = std::find_if(m_items.begin(), m_items.end(),
                           [&](const auto& p) { return p.get() == after; }) +
              1;
    }
    m_items.insert(pos, std::move(item));
    return reinterpret_cast<HTREEITEM>(raw);
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM hItem) {
    if (hItem == TVI_ROOT)
        return DeleteAllItems();
    Item* item = find(hItem);
    if (!item)
        return FALSE;
    std::vector<std::pair<Item*, int>> gone{{item, 0}};
    displayOrder(item, 1, gone);
    for (const auto& [p, level] : gone) {
        if (reinterpret_cast<HTREEITEM>(p) == m_hSelected)
            m_hSelected = nullptr;
        std::erase_if(m_items, [p = p](const auto& q) { return q.get() == p; });
    }
    return TRUE;
}

BOOL CTreeCtrl::DeleteAllItems() {
    m_items.clear();
    m_hSelected = nullptr;
    return TRUE;
}

UINT CTreeCtrl::GetCount() const {
    return static_cast<UINT>(m_items.size());
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const {
    const Item* item = find(hItem);
    return item ? item->text : CString();
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCTSTR lpszItem) {
    Item* item = find(hItem);
    if (!item)
        return FALSE;
    item->text = lpszItem ? lpszItem : L"";
    return TRUE;
}

HTREEITEM CTreeCtrl::GetRootItem() const {
    return GetChildItem(TVI_ROOT);
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM hItem) const {
    const Item* parent = hItem == TVI_ROOT ? nullptr : find(hItem);
    if (hItem != TVI_ROOT && !parent)
        return nullptr;
    for (const auto& p : m_items)
        if (p->parent == parent)
            return reinterpret_cast<HTREEITEM>(p.get());
    return nullptr;
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM hItem) const {
    const Item* item = find(hItem);
    if (!item)
        return nullptr;
    auto it = std::find_if(m_items.begin(), m_items.end(),
                           [&](const auto& p) { return p.get() == item; });
    for (++it; it != m_items.end(); ++it)
        if ((*it)->parent == item->parent)
            return reinterpret_cast<HTREEITEM>(it->get());
    return nullptr;
}

HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM hItem) const {
    const Item* item = find(hItem);
    return item ? reinterpret_cast<HTREEITEM>(item->parent) : nullptr;
}

HTREEITEM CTreeCtrl::GetSelectedItem() const {
    return m_hSelected;
}

BOOL CTreeCtrl::SelectItem(HTREEITEM hItem) {
    if (hItem && !find(hItem))
        return FALSE;
    m_hSelected = hItem;
    return TRUE;
}

BOOL CTreeCtrl::GetCheck(HTREEITEM hItem) const {
    const Item* item = find(hItem);
    return item ? item->check : FALSE;
}

BOOL CTreeCtrl::SetCheck(HTREEITEM hItem, BOOL fCheck) {
    Item* item = find(hItem);
    if (!item)
        return FALSE;
    item->check = fCheck ? TRUE : FALSE;
    return TRUE;
}

BOOL CTreeCtrl::ScriptSelect(int nRow) {
    std::vector<std::pair<Item*, int>> order;
    displayOrder(nullptr, 0, order);
    if (nRow < 0 || nRow >= static_cast<int>(order.size()))
        return FALSE;
    SetFocus();
    m_hSelected = reinterpret_cast<HTREEITEM>(order[static_cast<size_t>(nRow)].first);
    if (CWnd* parent = GetParent()) {
        NMHDR hdr{m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), TVN_SELCHANGED};
        parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(hdr.idFrom),
                            reinterpret_cast<LPARAM>(&hdr));
    }
    khost::pumpPostedMessages();
    return TRUE;
}

CString CTreeCtrl::ScriptDescribe() const {
    std::vector<std::pair<Item*, int>> order;
    displayOrder(nullptr, 0, order);
    std::wstring s = std::to_wstring(order.size()) + L" [";
    for (size_t i = 0; i < order.size(); ++i) {
        if (i)
            s += L" | ";
        if (reinterpret_cast<HTREEITEM>(order[i].first) == m_hSelected)
            s += L"*";
        s += std::wstring(static_cast<size_t>(order[i].second), L'>');
        s += order[i].first->text.str();
    }
    return CString(s + L"]");
}
