// The tree view control of the class library (a subset): items with a text, a parent and an
// order among their siblings. The items are kept by the control object, which a dialog
// subclasses onto a control of its template (AfxCtl::Custom of the class WC_TREEVIEW). In the
// dialog protocol the control prints its item count and its items in display order (depth
// first), each preceded by one ">" per level below the top and "*" when selected, e.g.
// `2 [AB | >child | CD]`; "select <id> <row>" selects the row-th item in that order and sends
// TVN_SELCHANGED to the parent.
#pragma once

#include <memory>

typedef struct _TREEITEM* HTREEITEM;

#define TVI_ROOT (reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x10000)))
#define TVI_FIRST (reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFFF)))
#define TVI_LAST (reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFFE)))

#define TVS_HASBUTTONS 0x0001
#define TVS_HASLINES 0x0002
#define TVS_LINESATROOT 0x0004
#define TVS_CHECKBOXES 0x0100

#define WC_TREEVIEW L"SysTreeView32"

#define TVN_FIRST (0U - 400U)
#define TVN_SELCHANGED (TVN_FIRST - 51)

class CTreeCtrl : public CWnd {
public:
    CTreeCtrl();
    ~CTreeCtrl() override;

    HTREEITEM InsertItem(LPCTSTR lpszItem, HTREEITEM hParent = TVI_ROOT,
                         HTREEITEM hInsertAfter = TVI_LAST);
    BOOL DeleteItem(HTREEITEM hItem);
    BOOL DeleteAllItems();
    UINT GetCount() const;
    CString GetItemText(HTREEITEM hItem) const;
    BOOL SetItemText(HTREEITEM hItem, LPCTSTR lpszItem);
    HTREEITEM GetRootItem() const;
    HTREEITEM GetChildItem(HTREEITEM hItem) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const;
    HTREEITEM GetParentItem(HTREEITEM hItem) const;
    HTREEITEM GetSelectedItem() const;
    BOOL SelectItem(HTREEITEM hItem);
    BOOL GetCheck(HTREEITEM hItem) const;
    BOOL SetCheck(HTREEITEM hItem, BOOL fCheck = TRUE);

    BOOL ScriptSelect(int nRow) override;
    CString ScriptDescribe() const override;

private:
    struct Item;
    // All items; siblings keep their order here, each item knows its parent.
    std::vector<std::unique_ptr<Item>> m_items;
    HTREEITEM m_hSelected = nullptr;

    Item* find(HTREEITEM hItem) const;
    // The items in display order (depth first) with their levels.
    void displayOrder(const Item* parent, int level, std::vector<std::pair<Item*, int>>& out) const;
};
