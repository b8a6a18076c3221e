#include "StdAfx.h"

#include "CKvAcDialog.h"

BEGIN_MESSAGE_MAP(CKvAcDialog, CDialogEx)
ON_WM_SHOWWINDOW()
ON_WM_GETMINMAXINFO()
ON_WM_PAINT()
END_MESSAGE_MAP()

CKvAcDialog::CKvAcDialog(UINT nIDD, CWnd* pParent, const ACHAR* sNadpis, bool bPriznak)
    : CDialogEx(nIDD, pParent), m_nIDD(nIDD), m_sNadpis(sNadpis ? sNadpis : L""),
      m_bPriznak(bPriznak) {}

BOOL CKvAcDialog::OnInitDialog() {
    BOOL bVysledek = CDialogEx::OnInitDialog();

    m_ToolTip.Create(this, TTS_ALWAYSTIP);
    m_ToolTip.SetMaxTipWidth(200);
    m_ToolTip.Activate(TRUE);

    LOGFONT lf{};
    if (CFont* pPismo = GetFont())
        pPismo->GetLogFont(&lf);
    lf.lfWeight = FW_BOLD;
    lf.lfHeight = static_cast<LONG>(lf.lfHeight * 0.76);
    m_fontTucne.DeleteObject();
    m_fontTucne.CreateFontIndirect(&lf);
    m_fontArial.DeleteObject();
    m_fontArial.CreatePointFont(-130, L"Arial");

    if (m_hIcon) {
        SetIcon(m_hIcon, TRUE);
        SetIcon(m_hIcon, FALSE);
    }
    CRect rc;
    GetWindowRect(rc);
    m_velMin = rc.Size();
    return bVysledek;
}

BOOL CKvAcDialog::PridejTip(UINT nID, const ACHAR* sText) {
    return PridejTip(GetDlgItem(static_cast<int>(nID)), sText);
}

BOOL CKvAcDialog::PridejTip(CWnd* pOkno, const ACHAR* sText) {
    if (!pOkno || !m_ToolTip.m_hWnd)
        return FALSE;
    m_ToolTip.SetMaxTipWidth(200);
    return m_ToolTip.AddTool(pOkno, sText);
}

void CKvAcDialog::NastavTucne(UINT nID) {
    if (CWnd* pOkno = GetDlgItem(static_cast<int>(nID)))
        pOkno->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontTucne.GetSafeHandle()), TRUE);
}

BOOL CKvAcDialog::PreTranslateMessage(MSG* pMsg) {
    if (m_ToolTip.m_hWnd)
        m_ToolTip.RelayEvent(pMsg);
    return CDialogEx::PreTranslateMessage(pMsg);
}

void CKvAcDialog::OnShowWindow(BOOL bShow, UINT nStatus) {
    CDialogEx::OnShowWindow(bShow, nStatus);
    if (bShow && m_ToolTip.m_hWnd)
        m_ToolTip.Activate(TRUE);
}

void CKvAcDialog::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
    if (m_velMin.cx > 0 && m_velMin.cy > 0) {
        lpMMI->ptMinTrackSize.x = m_velMin.cx;
        lpMMI->ptMinTrackSize.y = m_velMin.cy;
    }
    CDialogEx::OnGetMinMaxInfo(lpMMI);
}

void CKvAcDialog::OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(rc);
    if (IsIconic()) {
        if (m_hIcon)
            dc.DrawIcon((rc.Width() - 32) / 2, (rc.Height() - 32) / 2, m_hIcon);
        return;
    }
    if (m_sNadpis.IsEmpty())
        return;
    CFont* pPuvodni = dc.SelectObject(&m_fontArial);
    dc.SetBkMode(TRANSPARENT);
    CRect rcNadpis(10, 4, rc.right - 10, 24);
    dc.DrawText(m_sNadpis, rcNadpis, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    dc.MoveTo(10, rcNadpis.bottom + 2);
    dc.LineTo(rc.right - 10, rcNadpis.bottom + 2);
    dc.SelectObject(pPuvodni);
}
