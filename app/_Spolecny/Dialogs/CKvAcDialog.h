// The base of the application's dialogs: tool tips per control, a bold font for headings, an
// "Arial" font, a minimum size and an optional heading drawn at the top.
#pragma once

#include "StdAfx.h"

class CKvAcDialog : public CDialogEx {
public:
    CKvAcDialog(UINT nIDD, CWnd* pParent = nullptr, const ACHAR* sNadpis = nullptr,
                bool bPriznak = false);

    // A tool tip for the control (at most 200 pixels wide).
    BOOL PridejTip(UINT nID, const ACHAR* sText);
    BOOL PridejTip(CWnd* pOkno, const ACHAR* sText);
    // The bold font on a static control.
    void NastavTucne(UINT nID);

    BOOL PreTranslateMessage(MSG* pMsg) override;

    UINT m_nIDD;
    CToolTipCtrl m_ToolTip;
    CFont m_fontTucne;
    CFont m_fontArial;
    CString m_sNadpis;
    HICON m_hIcon = nullptr;
    CSize m_velMin;
    bool m_bPriznak;

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
