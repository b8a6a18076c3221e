// List boxes whose items the user reorders by dragging them with the mouse. Dragging beyond the
// top or bottom edge scrolls the list by a timer; an item dropped outside the list is deleted
// when the list was made so; Delete removes the selected item (single selection).
#pragma once

#include "StdAfx.h"

#define DND_TIMER_DOLU 100
#define DND_TIMER_NAHORU 101

class CDragAndDropListBox : public CListBox {
public:
    explicit CDragAndDropListBox(bool bMazatMimo = false) : m_bMazatMimo(bMazatMimo) {}

    int m_nTazena = -1;     // the dragged item
    int m_nCil = -1;        // the drop position: the dragged item goes before this item
    bool m_bTazeni = false; // the mouse moved with the button down
    CRect m_rectZnacka;     // the drop marker between the items
    bool m_bMazatMimo;

protected:
    // Selects the item alone (the multi-selection variant with SetSel).
    virtual void VyberPolozku(int nIndex);
    // Moves the dragged item before the drop position.
    void PresunPolozku();
    // The marker between the items at the drop position.
    void NastavZnacku(int nCil);
    void ZastavCasovace();

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()
};

class CDragAndDropListBoxMulti : public CDragAndDropListBox {
public:
    explicit CDragAndDropListBoxMulti(bool bMazatMimo = false) : CDragAndDropListBox(bMazatMimo) {}

protected:
    void VyberPolozku(int nIndex) override;

    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()
};
