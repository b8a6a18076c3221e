#include "StdAfx.h"

#include "CTreeListCtrl.h"

int CTreeListCtrl::InsertColumn(LPCTSTR sNadpis, int nSirka, int nFormat, TlEditace editace,
                                std::vector<CString> polozky) {
    Sloupec s;
    s.sNadpis = sNadpis ? sNadpis : L"";
    s.nSirka = nSirka;
    s.nFormat = nFormat;
    s.editace = editace;
    s.polozky = std::move(polozky);
    m_aSloupce.push_back(std::move(s));
    for (Radek& r : m_aRadky)
        r.texty.resize(m_aSloupce.size());
    return GetColumnCount() - 1;
}

void CTreeListCtrl::SetColumnText(int nSloupec, LPCTSTR sNadpis) {
    if (nSloupec >= 0 && nSloupec < GetColumnCount())
        m_aSloupce[static_cast<size_t>(nSloupec)].sNadpis = sNadpis ? sNadpis : L"";
}

void CTreeListCtrl::SetColumnWidth(int nSloupec, int nSirka) {
    if (nSloupec >= 0 && nSloupec < GetColumnCount())
        m_aSloupce[static_cast<size_t>(nSloupec)].nSirka = nSirka;
}

CString CTreeListCtrl::GetColumnText(int nSloupec) const {
    if (nSloupec < 0 || nSloupec >= GetColumnCount())
        return CString();
    return m_aSloupce[static_cast<size_t>(nSloupec)].sNadpis;
}

int CTreeListCtrl::GetColumnWidth(int nSloupec) const {
    if (nSloupec < 0 || nSloupec >= GetColumnCount())
        return 0;
    return m_aSloupce[static_cast<size_t>(nSloupec)].nSirka;
}

int CTreeListCtrl::InsertItem(int nRadek, LPCTSTR sText, DWORD_PTR dwData) {
    if (nRadek < 0 || nRadek > GetItemCount())
        nRadek = GetItemCount();
    Radek r;
    r.texty.resize(std::max<size_t>(1, m_aSloupce.size()));
    r.texty[0] = sText ? sText : L"";
    r.dwData = dwData;
    m_aRadky.insert(m_aRadky.begin() + nRadek, std::move(r));
    if (m_nVybrany >= nRadek)
        ++m_nVybrany;
    if (m_fnText)
        RedrawItem(nRadek);
    return nRadek;
}

BOOL CTreeListCtrl::DeleteItem(int nRadek) {
    if (!PlatnyRadek(nRadek))
        return FALSE;
    m_aRadky.erase(m_aRadky.begin() + nRadek);
    if (m_nVybrany == nRadek)
        m_nVybrany = -1;
    else if (m_nVybrany > nRadek)
        --m_nVybrany;
    return TRUE;
}

void CTreeListCtrl::DeleteAllItems() {
    m_aRadky.clear();
    m_nVybrany = -1;
}

BOOL CTreeListCtrl::SetItemText(int nRadek, int nSloupec, LPCTSTR sText) {
    if (!PlatnyRadek(nRadek) || nSloupec < 0 || nSloupec >= GetColumnCount())
        return FALSE;
    m_aRadky[static_cast<size_t>(nRadek)].texty[static_cast<size_t>(nSloupec)] =
        sText ? sText : L"";
    return TRUE;
}

CString CTreeListCtrl::GetItemText(int nRadek, int nSloupec) const {
    if (!PlatnyRadek(nRadek) || nSloupec < 0 ||
        nSloupec >= static_cast<int>(m_aRadky[static_cast<size_t>(nRadek)].texty.size()))
        return CString();
    return m_aRadky[static_cast<size_t>(nRadek)].texty[static_cast<size_t>(nSloupec)];
}

BOOL CTreeListCtrl::SetItemData(int nRadek, DWORD_PTR dwData) {
    if (!PlatnyRadek(nRadek))
        return FALSE;
    m_aRadky[static_cast<size_t>(nRadek)].dwData = dwData;
    return TRUE;
}

DWORD_PTR CTreeListCtrl::GetItemData(int nRadek) const {
    return PlatnyRadek(nRadek) ? m_aRadky[static_cast<size_t>(nRadek)].dwData : 0;
}

int CTreeListCtrl::FindItemData(DWORD_PTR dwData) const {
    for (int i = 0; i < GetItemCount(); ++i)
        if (m_aRadky[static_cast<size_t>(i)].dwData == dwData)
            return i;
    return -1;
}

LRESULT CTreeListCtrl::Oznam(UINT nKod, NMHDR* pHdr) {
    CWnd* pRodic = GetParent();
    if (!pRodic)
        return 0;
    pHdr->hwndFrom = m_hWnd;
    pHdr->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    pHdr->code = nKod;
    return pRodic->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()),
                               reinterpret_cast<LPARAM>(pHdr));
}

BOOL CTreeListCtrl::SelectItem(int nRadek) {
    if (nRadek != -1 && !PlatnyRadek(nRadek))
        return FALSE;
    if (nRadek == m_nVybrany)
        return TRUE;
    m_nVybrany = nRadek;
    NMTREELIST nm{};
    nm.nRadek = nRadek;
    nm.nSloupec = 0;
    Oznam(TLN_SELCHANGED, &nm.hdr);
    return TRUE;
}

void CTreeListCtrl::RedrawItem(int nRadek) {
    if (!m_fnText || !PlatnyRadek(nRadek))
        return;
    Radek& r = m_aRadky[static_cast<size_t>(nRadek)];
    r.texty.resize(m_aSloupce.size());
    for (int i = 0; i < GetColumnCount(); ++i)
        r.texty[static_cast<size_t>(i)] = m_fnText(nRadek, i, r.dwData);
}

void CTreeListCtrl::RedrawAll() {
    for (int i = 0; i < GetItemCount(); ++i)
        RedrawItem(i);
}

BOOL CTreeListCtrl::ScriptSelect(int nRow) {
    if (!PlatnyRadek(nRow))
        return FALSE;
    SetFocus();
    return SelectItem(nRow);
}

BOOL CTreeListCtrl::ScriptDblClick(int nRow) {
    if (!ScriptSelect(nRow))
        return FALSE;
    NMTREELIST nm{};
    nm.nRadek = nRow;
    Oznam(NM_DBLCLK, &nm.hdr);
    return TRUE;
}

BOOL CTreeListCtrl::ScriptEdit(int nRow, int nColumn, const CString& sText) {
    if (!PlatnyRadek(nRow) || nColumn < 0 || nColumn >= GetColumnCount())
        return FALSE;
    const Sloupec& s = m_aSloupce[static_cast<size_t>(nColumn)];
    if (s.editace == TlEditace::Zadna || s.nSirka <= 0)
        return FALSE;
    CString sNovy;
    if (s.editace == TlEditace::Seznam) {
        // A drop-down list offers only its texts.
        bool bNalezen = false;
        for (const CString& p : s.polozky)
            bNalezen = bNalezen || p == sText;
        if (!bNalezen)
            return FALSE;
        sNovy = sText;
    } else {
        // A numeric edit takes digits, the decimal point and a sign only.
        for (int i = 0; i < sText.GetLength(); ++i) {
            const wchar_t c = sText[i];
            if ((c >= L'0' && c <= L'9') || c == L'.' || c == L',' || c == L'-')
                sNovy += c;
        }
    }
    ScriptSelect(nRow);

    // The in-place editor over the cell, with the control's id.
    CEdit editor;
    RECT rect{};
    GetClientRect(&rect);
    editor.Create(L"EDIT", sNovy, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, rect, this,
                  static_cast<UINT>(GetDlgCtrlID()));

    NMTREELIST nm{};
    nm.nRadek = nRow;
    nm.nSloupec = nColumn;
    nm.sText = sNovy;
    Oznam(TLN_ENDEDIT, &nm.hdr);
    if (!nm.sOdmitnuti.IsEmpty()) {
        editor.ShowBalloonTip(L"", nm.sOdmitnuti, TTI_WARNING);
    } else if (PlatnyRadek(nRow)) {
        SetItemText(nRow, nColumn, sNovy);
        RedrawItem(nRow);
    }
    editor.DestroyWindow();
    return TRUE;
}

CString CTreeListCtrl::ScriptDescribe() const {
    CString s;
    s.Format(L"%d", m_nVybrany);
    CString sHlavicka = L"\n      ";
    bool bPrvni = true;
    for (const Sloupec& sl : m_aSloupce) {
        if (sl.nSirka <= 0)
            continue;
        if (!bPrvni)
            sHlavicka += L" | ";
        sHlavicka += sl.sNadpis;
        bPrvni = false;
    }
    s += sHlavicka;
    for (int i = 0; i < GetItemCount(); ++i) {
        CString sRadek;
        sRadek.Format(L"\n    %ls%d: ", i == m_nVybrany ? L"*" : L" ", i);
        bPrvni = true;
        for (size_t c = 0; c < m_aSloupce.size(); ++c) {
            if (m_aSloupce[c].nSirka <= 0)
                continue;
            if (!bPrvni)
                sRadek += L" | ";
            sRadek += m_aRadky[static_cast<size_t>(i)].texty[c];
            bPrvni = false;
        }
        s += sRadek;
    }
    return s;
}
