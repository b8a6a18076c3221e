#include "StdAfx.h"

#include "CVoxEditCtrl.h"

#include "CVoxException.h"

#include <regex>

namespace {

const ACHAR* const TITULEK = L"Chybný vstup";

bool Odpovida(const CString& s, const wchar_t* sVyraz) {
    const std::wregex vyraz(sVyraz, std::regex_constants::ECMAScript);
    return std::regex_match(s.str(), vyraz);
}

} // namespace

// ---- Checks of the input types
// ---------------------------------------------------------------------

bool CCheckedEdit::ZnakCele(const CString& s) {
    return Odpovida(s, L"[-+]?[0-9]*");
}
bool CCheckedEdit::TextCele(const CString& s) {
    return Odpovida(s, L"[-+]?[0-9]+");
}
bool CCheckedEdit::ZnakDesetinne(const CString& s) {
    return Odpovida(s, L"[-+]?[0-9]*(\\.[0-9]*)?");
}
bool CCheckedEdit::TextDesetinne(const CString& s) {
    return Odpovida(s, L"^[+-]?([0-9]*[.])?[0-9]+$");
}
bool CCheckedEdit::TextZnaky(const CString& s) {
    return !s.IsEmpty() && Odpovida(s, L"(\\w+)");
}
bool CCheckedEdit::TextEmail(const CString& s) {
    return !s.IsEmpty() && Odpovida(s, L"(\\w+)(\\.|_)?(\\w*)@(\\w+)(\\.(\\w+))+");
}
bool CCheckedEdit::TextSoubor(const CString& s) {
    if (s.IsEmpty() || s[0] == L' ' || s[0] == L'.')
        return false;
    return s.FindOneOf(L"\\/:?\"<>|*") < 0;
}
wchar_t CCheckedEdit::CarkaNaTecku(wchar_t ch) {
    return ch == L',' ? L'.' : ch;
}

// ---- CCheckedEdit
// ---------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CCheckedEdit, CEdit)
ON_WM_CHAR()
ON_CONTROL_REFLECT_EX(EN_CHANGE, &CCheckedEdit::OnEnChange)
ON_WM_KILLFOCUS()
ON_WM_CTLCOLOR_REFLECT()
ON_WM_PAINT()
END_MESSAGE_MAP()

CCheckedEdit::CCheckedEdit(PFN_KONTROLA pfnZnak, PFN_KONTROLA pfnText, PFN_UPRAVA pfnUprava,
                           const ACHAR* sTip, const ACHAR* sTitulek, bool bVolba, UINT32 nMaxZnaku)
    : m_bVolba(bVolba), m_strTip(sTip ? sTip : L""),
      m_strTitulek(sTitulek && *sTitulek ? sTitulek : TITULEK), m_pfnZnak(pfnZnak),
      m_pfnText(pfnText), m_pfnUprava(pfnUprava), m_nMaxZnaku(nMaxZnaku) {
    m_brNeplatny.CreateSolidBrush(RGB(255, 255, 160));
    m_brPlatny.CreateSolidBrush(RGB(255, 255, 255));
    m_brSeda.CreateSolidBrush(RGB(200, 200, 200));
}

void CCheckedEdit::SetTyp(UINT nTyp, UINT32 nMaxZnaku) {
    m_strTitulek = TITULEK;
    m_pfnUprava = nullptr;
    if (nTyp & EDIT_TYP_VOLBA)
        m_bVolba = true;
    if (nTyp & EDIT_TYP_TEXT) {
        m_pfnZnak = nullptr;
        m_pfnText = nullptr;
        m_strTip = L"";
    } else if (nTyp & EDIT_TYP_CELE) {
        m_pfnZnak = &ZnakCele;
        m_pfnText = &TextCele;
        m_strTip = L"Zadejte celé číslo";
    } else if (nTyp & EDIT_TYP_DESETINNE) {
        m_pfnZnak = &ZnakDesetinne;
        m_pfnText = &TextDesetinne;
        m_pfnUprava = &CarkaNaTecku;
        m_strTip = L"Zadejte desetinné číslo";
    } else if (nTyp & EDIT_TYP_ZNAKY) {
        m_pfnZnak = &TextZnaky;
        m_pfnText = &TextZnaky;
        m_strTip = L"Zadejte číslice nebo písmena";
    } else if (nTyp & EDIT_TYP_EMAIL) {
        m_pfnZnak = nullptr;
        m_pfnText = &TextEmail;
        m_strTip = L"Zadejte platný email";
    } else if (nTyp & EDIT_TYP_SOUBOR) {
        m_pfnZnak = &TextSoubor;
        m_pfnText = &TextSoubor;
        m_strTip = L"Zadejte název bez '<>*:\\?'(platný název souboru Windows)";
    }
    m_nMaxZnaku = nMaxZnaku;
    if (nMaxZnaku != EDIT_BEZ_LIMITU) {
        CString sTip;
        sTip.Format(L"%ls\nmax. %i znaků", m_strTip.GetString(), static_cast<int>(nMaxZnaku));
        m_strTip = sTip;
    }
}

void CCheckedEdit::NastavText(const ACHAR* sText) {
    m_bInterni = true;
    SetWindowText(sText);
    m_bInterni = false;
    Zkontroluj();
}

bool CCheckedEdit::Zkontroluj() {
    CString sText;
    GetWindowText(sText);
    if (sText.IsEmpty() && m_bVolba)
        m_bPlatny = true;
    else
        m_bPlatny = !m_pfnText || m_pfnText(sText);
    return m_bPlatny;
}

void CCheckedEdit::ZobrazTip(const ACHAR* sTip, const ACHAR* sTitulek) {
    ShowBalloonTip(sTitulek ? sTitulek : m_strTitulek.GetString(),
                   sTip ? sTip : m_strTip.GetString(), TTI_ERROR);
}

void CCheckedEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    // Control characters (backspace and the like) edit the text as they always do.
    if (nChar < 32) {
        CEdit::OnChar(nChar, nRepCnt, nFlags);
        return;
    }
    wchar_t ch = static_cast<wchar_t>(nChar);
    if (m_pfnUprava)
        ch = m_pfnUprava(ch);
    CString sText;
    GetWindowText(sText);
    int nZacatek = 0, nKonec = 0;
    GetSel(nZacatek, nKonec);
    CString sNovy = sText.Left(nZacatek) + ch + sText.Mid(nKonec);
    bool bDelka =
        m_nMaxZnaku == EDIT_BEZ_LIMITU || static_cast<UINT32>(sNovy.GetLength()) <= m_nMaxZnaku;
    if (!bDelka || (m_pfnZnak && !m_pfnZnak(sNovy))) {
        MessageBeep(0);
        ZobrazTip();
        return;
    }
    DefWindowProc(WM_CHAR, static_cast<WPARAM>(ch), MAKELPARAM(nRepCnt, nFlags));
}

BOOL CCheckedEdit::OnEnChange() {
    if (m_bInterni) {
        m_bInterni = false;
        return FALSE;
    }
    Zkontroluj();
    Invalidate();
    return FALSE; // the parent sees the change as well
}

void CCheckedEdit::OnKillFocus(CWnd* pNewWnd) {
    CEdit::OnKillFocus(pNewWnd);
    CString sText;
    GetWindowText(sText);
    CString sOrez = sText;
    sOrez.TrimRight();
    if (sOrez != sText)
        NastavText(sOrez);
    PosliRodici(sOrez);
}

void CCheckedEdit::PosliRodici(const CString& sText) {
    if (CWnd* pRodic = GetParent())
        pRodic->SendMessage(WM_VOX_EDIT_KONTROLA, static_cast<WPARAM>(GetDlgCtrlID()),
                            reinterpret_cast<LPARAM>(sText.GetString()));
}

HBRUSH CCheckedEdit::CtlColor(CDC* pDC, UINT) {
    if (!IsWindowEnabled())
        return m_brPlatny;
    if (m_bPlatny) {
        pDC->SetBkColor(RGB(255, 255, 255));
        pDC->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
        return m_brPlatny;
    }
    pDC->SetBkColor(RGB(255, 255, 160));
    pDC->SetTextColor(RGB(255, 0, 0));
    return m_brNeplatny;
}

void CCheckedEdit::OnPaint() {
    Zkontroluj();
    CEdit::OnPaint();
}

// ---- CDoubleEdit
// -------------------------------------------------------------------------------------------

CDoubleEdit::CDoubleEdit(int nDesetinnych, bool bVolba, double dHodnota, const ACHAR* sTip,
                         const ACHAR* sTitulek)
    : CCheckedEdit(&ZnakDesetinne, &TextDesetinne, &CarkaNaTecku,
                   sTip ? sTip : L"Zadejte desetinné číslo", sTitulek, bVolba),
      m_dHodnota(dHodnota), m_nDesetinnych(nDesetinnych) {}

double CDoubleEdit::CtiHodnotu() {
    CString sText;
    GetWindowText(sText);
    sText.Trim();
    m_dHodnota = TextDesetinne(sText) ? _wtof(sText) : DOUBLE_EDIT_PRAZDNA;
    return m_dHodnota;
}

void CDoubleEdit::NastavHodnotu(double dHodnota) {
    m_dHodnota = dHodnota;
    CString sText;
    if (dHodnota != DOUBLE_EDIT_PRAZDNA)
        sText.Format(L"%.*f", m_nDesetinnych, dHodnota);
    NastavText(sText);
}

void CDoubleEdit::PosliRodici(const CString& sText) {
    if (!TextDesetinne(sText)) {
        m_dHodnota = DOUBLE_EDIT_PRAZDNA;
        if (!sText.IsEmpty())
            NastavText(L"");
        return;
    }
    m_dHodnota = _wtof(sText);
    if (CWnd* pRodic = GetParent())
        pRodic->SendMessage(WM_VOX_EDIT_KONTROLA, static_cast<WPARAM>(GetDlgCtrlID()),
                            reinterpret_cast<LPARAM>(&m_dHodnota));
}

void DDX_DoubleEdit(CDataExchange* pDX, int nIDC, double& dHodnota) {
    HWND hEdit = pDX->PrepareEditCtrl(nIDC);
    CDoubleEdit* pEdit = dynamic_cast<CDoubleEdit*>(CWnd::FromHandlePermanent(hEdit));
    if (!pEdit)
        VOX_THROW("Edit Box není typu CDoubleEdit");
    if (pDX->m_bSaveAndValidate) {
        dHodnota = pEdit->CtiHodnotu();
    } else {
        pEdit->NastavHodnotu(dHodnota);
    }
}
