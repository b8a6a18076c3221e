#include "StdAfx.h"

#include "CDragAndDropListBox.h"

BEGIN_MESSAGE_MAP(CDragAndDropListBox, CListBox)
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_TIMER()
ON_WM_KEYDOWN()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CDragAndDropListBoxMulti, CDragAndDropListBox)
ON_WM_KEYDOWN()
END_MESSAGE_MAP()

void CDragAndDropListBox::VyberPolozku(int nIndex) {
    SetCurSel(nIndex);
}

void CDragAndDropListBoxMulti::VyberPolozku(int nIndex) {
    SetSel(-1, FALSE);
    SetSel(nIndex, TRUE);
}

void CDragAndDropListBox::OnLButtonDown(UINT nFlags, CPoint point) {
    CListBox::OnLButtonDown(nFlags, point);
    BOOL bMimo = TRUE;
    const int nIndex = static_cast<int>(ItemFromPoint(point, bMimo));
    if (bMimo || nIndex < 0 || nIndex >= GetCount())
        return;
    m_nTazena = nIndex;
    m_nCil = -1;
    m_bTazeni = false;
    VyberPolozku(nIndex);
}

void CDragAndDropListBox::NastavZnacku(int nCil) {
    if (nCil == m_nCil)
        return;
    m_nCil = nCil;
    CRect rect;
    if (nCil < GetCount()) {
        GetItemRect(nCil, &rect);
        rect.bottom = rect.top + 2;
        rect.top -= 1;
    } else if (GetCount() > 0) {
        GetItemRect(GetCount() - 1, &rect);
        rect.top = rect.bottom - 1;
        rect.bottom += 1;
    }
    m_rectZnacka = rect;
    Invalidate();
}

void CDragAndDropListBox::ZastavCasovace() {
    KillTimer(DND_TIMER_DOLU);
    KillTimer(DND_TIMER_NAHORU);
}

void CDragAndDropListBox::OnMouseMove(UINT nFlags, CPoint point) {
    if (!(nFlags & MK_LBUTTON) || m_nTazena < 0) {
        CListBox::OnMouseMove(nFlags, point);
        return;
    }
    if (!m_bTazeni) {
        m_bTazeni = true;
        SetCapture();
    }
    CRect rectKlient;
    GetClientRect(&rectKlient);
    BOOL bMimo = TRUE;
    const int nIndex = static_cast<int>(ItemFromPoint(point, bMimo));
    if (!bMimo && rectKlient.PtInRect(point)) {
        ZastavCasovace();
        NastavZnacku(nIndex);
        return;
    }
    if (rectKlient.PtInRect(point)) {
        // Below the last item: the end of the list.
        ZastavCasovace();
        NastavZnacku(GetCount());
    } else if (point.y >= rectKlient.bottom) {
        KillTimer(DND_TIMER_NAHORU);
        SetTimer(DND_TIMER_DOLU, 100);
    } else if (point.y < rectKlient.top) {
        KillTimer(DND_TIMER_DOLU);
        SetTimer(DND_TIMER_NAHORU, 100);
    }
}

void CDragAndDropListBox::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == DND_TIMER_DOLU) {
        NastavZnacku(std::min(m_nCil < 0 ? m_nTazena + 1 : m_nCil + 1, GetCount()));
        SetTopIndex(GetTopIndex() + 1);
    } else if (nIDEvent == DND_TIMER_NAHORU) {
        NastavZnacku(std::max(m_nCil < 0 ? m_nTazena - 1 : m_nCil - 1, 0));
        SetTopIndex(std::max(GetTopIndex() - 1, 0));
    } else {
        CListBox::OnTimer(nIDEvent);
    }
}

void CDragAndDropListBox::PresunPolozku() {
    const int nPocet = GetCount();
    if (m_nTazena < 0 || m_nTazena >= nPocet || m_nCil < 0)
        return;
    const int nNovy = m_nCil > m_nTazena ? m_nCil - 1 : m_nCil;
    if (nNovy == m_nTazena || nNovy >= nPocet) {
        VyberPolozku(m_nTazena);
        return;
    }
    CString sText;
    GetText(m_nTazena, sText);
    const DWORD_PTR nData = GetItemData(m_nTazena);
    const int nHorni = GetTopIndex();
    SetRedraw(FALSE);
    DeleteString(static_cast<UINT>(m_nTazena));
    InsertString(nNovy, sText);
    SetItemData(nNovy, nData);
    VyberPolozku(nNovy);
    SetTopIndex(nHorni);
    SetRedraw(TRUE);
    Invalidate();
}

void CDragAndDropListBox::OnLButtonUp(UINT nFlags, CPoint point) {
    if (m_bTazeni) {
        ZastavCasovace();
        ReleaseCapture();
        CRect rectKlient;
        GetClientRect(&rectKlient);
        if (rectKlient.PtInRect(point))
            PresunPolozku();
        else if (m_bMazatMimo && m_nTazena >= 0 && m_nTazena < GetCount())
            DeleteString(static_cast<UINT>(m_nTazena));
        Invalidate();
    }
    m_nTazena = -1;
    m_nCil = -1;
    m_bTazeni = false;
    m_rectZnacka.SetRectEmpty();
    CListBox::OnLButtonUp(nFlags, point);
}

void CDragAndDropListBox::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (nChar != VK_DELETE) {
        CListBox::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    const int nVybrana = GetCurSel();
    if (nVybrana < 0)
        return;
    DeleteString(static_cast<UINT>(nVybrana));
    const int nPocet = GetCount();
    if (nPocet > 0)
        SetCurSel(std::min(nVybrana, nPocet - 1));
}

void CDragAndDropListBoxMulti::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    // Delete belongs to the single-selection variant only.
    CListBox::OnKeyDown(nChar, nRepCnt, nFlags);
}
