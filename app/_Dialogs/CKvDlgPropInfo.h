// The dialog of "li": the general properties of a picked entity, of its layer and of the block
// reference that holds it.
#pragma once

#include "StdAfx.h"

#include "CKvAcDialog.h"

#define IDD_PROPINFO 122
#define IDC_PI_MERITKO 155
#define IDC_PI_TYP 156
#define IDC_PI_TYPCARY 162
#define IDC_PI_TLOUSTKA 163
#define IDC_PI_HL_TYPCARY 164
#define IDC_PI_HL_TLOUSTKA 165
#define IDC_PI_HLADINA 166
#define IDC_PI_BARVA 167
#define IDC_PI_HL_BARVA 168
#define IDC_PI_ENTITA 169
#define IDC_PI_BLOK 170
#define IDC_PI_BL_BARVA 175
#define IDC_PI_BL_HLADINA 176
#define IDC_PI_BL_NAZEV 177
#define IDC_PI_BL_HL_BARVA 178

// A read-only edit that shows a colour: after the standard painting its client area, shrunk by 2
// pixels on each side, is filled with the colour and framed.
class CVoxClrEdit : public CEdit {
public:
    COLORREF m_barva = RGB(255, 255, 255);

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

class CKvDlgPropInfo : public CKvAcDialog {
public:
    explicit CKvDlgPropInfo(CWnd* pParent = nullptr);

    // Fills the entity and layer fields from the entity (open) and, when pBlok is given, the
    // block fields from that reference (open).
    void Nastav(const AcDbEntity* pEntita, const AcDbBlockReference* pBlok);

    // The texts of a lineweight and of a colour as the dialog shows them.
    static CString TextTloustky(AcDb::LineWeight nTloustka);
    static COLORREF Rgb(const AcCmColor& barva);

    bool m_bBlok = false;
    CString m_sTyp;
    CString m_sBarva;
    CString m_sTypCary;
    CString m_sTloustka;
    CString m_sMeritko;
    CString m_sHladina;
    CString m_sHlBarva;
    CString m_sHlTypCary;
    CString m_sHlTloustka;
    CString m_sBlNazev;
    CString m_sBlBarva;
    CString m_sBlHladina;
    CString m_sBlHlBarva;

    CVoxClrEdit m_editBarva;
    CVoxClrEdit m_editHlBarva;
    CVoxClrEdit m_editBlBarva;
    CVoxClrEdit m_editBlHlBarva;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};
