// Edit controls that check their input: CCheckedEdit refuses keystrokes that would make its
// text invalid (with a beep and a balloon tip), shows an invalid text in red on yellow and
// tells its parent when it loses the focus; CDoubleEdit holds a decimal number with a number of
// decimals and an empty value.
#pragma once

#include "StdAfx.h"

// Sent to the parent when a checked edit loses the focus: WPARAM the control's id, LPARAM the
// text (LPCTSTR) of a CCheckedEdit or a pointer to the value (double*) of a CDoubleEdit.
#define WM_VOX_EDIT_KONTROLA (WM_APP + 1020)

// Input types of SetTyp (the first of 1, 2, 4, 8, 16, 64 present decides; 32 goes with any).
#define EDIT_TYP_TEXT 1
#define EDIT_TYP_CELE 2
#define EDIT_TYP_DESETINNE 4
#define EDIT_TYP_ZNAKY 8
#define EDIT_TYP_EMAIL 16
#define EDIT_TYP_VOLBA 32
#define EDIT_TYP_SOUBOR 64

#define EDIT_BEZ_LIMITU 0xFFFFFFFFu

// The value of a CDoubleEdit that holds no number.
#define DOUBLE_EDIT_PRAZDNA (-1000.0)

class CCheckedEdit : public CEdit {
public:
    // Check of the text a keystroke would produce, of the whole text, and transformation of a
    // typed character.
    typedef bool (*PFN_KONTROLA)(const CString& sText);
    typedef wchar_t (*PFN_UPRAVA)(wchar_t ch);

    CCheckedEdit(PFN_KONTROLA pfnZnak = nullptr, PFN_KONTROLA pfnText = nullptr,
                 PFN_UPRAVA pfnUprava = nullptr, const ACHAR* sTip = nullptr,
                 const ACHAR* sTitulek = nullptr, bool bVolba = false,
                 UINT32 nMaxZnaku = EDIT_BEZ_LIMITU);

    // The checks, tip and length of an input type (EDIT_TYP_* bits).
    void SetTyp(UINT nTyp, UINT32 nMaxZnaku = EDIT_BEZ_LIMITU);
    // Whether the text is valid now.
    bool JePlatny() const { return m_bPlatny; }
    // Sets the text without checking it as a user's change (the next change notification).
    void NastavText(const ACHAR* sText);
    // Checks the whole text and remembers the result.
    bool Zkontroluj();
    // The balloon tip with the given texts or the control's own.
    void ZobrazTip(const ACHAR* sTip = nullptr, const ACHAR* sTitulek = nullptr);

    bool m_bPlatny = true;
    // Set by the flag 32: an empty text counts as valid (an optional field).
    bool m_bVolba = false;
    bool m_bInterni = false;
    CString m_strTip;
    CString m_strTitulek;
    PFN_KONTROLA m_pfnZnak = nullptr;
    PFN_KONTROLA m_pfnText = nullptr;
    PFN_UPRAVA m_pfnUprava = nullptr;
    CBrush m_brNeplatny;
    CBrush m_brPlatny;
    CBrush m_brSeda;
    UINT32 m_nMaxZnaku = EDIT_BEZ_LIMITU;

    // The checks of the input types, usable on their own.
    static bool ZnakCele(const CString& s);
    static bool TextCele(const CString& s);
    static bool ZnakDesetinne(const CString& s);
    static bool TextDesetinne(const CString& s);
    static bool TextZnaky(const CString& s);
    static bool TextEmail(const CString& s);
    static bool TextSoubor(const CString& s);
    static wchar_t CarkaNaTecku(wchar_t ch);

protected:
    // What the parent gets when the control loses the focus (after the trailing blanks went).
    virtual void PosliRodici(const CString& sText);

    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg BOOL OnEnChange();
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

class CDoubleEdit : public CCheckedEdit {
public:
    CDoubleEdit(int nDesetinnych = 2, bool bVolba = false, double dHodnota = DOUBLE_EDIT_PRAZDNA,
                const ACHAR* sTip = nullptr, const ACHAR* sTitulek = nullptr);

    // The value of the text (DOUBLE_EDIT_PRAZDNA when it is no number), remembered.
    double CtiHodnotu();
    // Shows the value with the number of decimals (an empty text for DOUBLE_EDIT_PRAZDNA).
    void NastavHodnotu(double dHodnota);

    double m_dHodnota = DOUBLE_EDIT_PRAZDNA;
    int m_nDesetinnych = 2;

protected:
    void PosliRodici(const CString& sText) override;
};

// Exchanges a value with a CDoubleEdit of the dialog as text in "%.*f" with its decimals; the
// control must be a CDoubleEdit subclassed onto nIDC (else CVoxException "Edit Box není typu
// CDoubleEdit"). An empty text gives DOUBLE_EDIT_PRAZDNA.
void DDX_DoubleEdit(CDataExchange* pDX, int nIDC, double& dHodnota);
