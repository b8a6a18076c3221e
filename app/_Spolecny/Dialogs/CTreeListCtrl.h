// A list of rows in columns (report view) whose cells can be edited in place: a numeric edit or
// a drop-down list of given texts per column. Each row carries item data. The parent learns of
// a changed selection (TLN_SELCHANGED), a double click (NM_DBLCLK) and the end of an in-place
// edit (TLN_ENDEDIT); a non-empty refusal text set by the parent is shown as a balloon tip on
// the in-place editor and the cell keeps its old value.
//
// The control takes the place of a custom control of the dialog template (SubclassDlgItem).
// In the dialog protocol it prints its selected row, its visible column headers and its rows
// ("*" marks the selected one); "select", "dblclick" and "edit <row> <column> <text>" act on it.
#pragma once

#include "StdAfx.h"

#include <functional>
#include <vector>

#ifndef LVCFMT_LEFT
#define LVCFMT_LEFT 0x0000
#define LVCFMT_RIGHT 0x0001
#define LVCFMT_CENTER 0x0002
#endif

#define TLN_SELCHANGED (0U - 2001U)
#define TLN_ENDEDIT (0U - 2002U)

// How the cells of a column are edited in place.
enum class TlEditace { Zadna, Cislo, Seznam };

// The end-of-edit notification: the parent may set sOdmitnuti to refuse the value.
struct NMTREELIST {
    NMHDR hdr;
    int nRadek;
    int nSloupec;
    CString sText;
    CString sOdmitnuti;
};

class CTreeListCtrl : public CWnd {
public:
    // The texts of a row's cells, asked for when a row is redrawn (RedrawItem); optional.
    using TextBunky = std::function<CString(int nRadek, int nSloupec, DWORD_PTR dwData)>;

    // Columns, added in order; a width of 0 hides the column.
    int InsertColumn(LPCTSTR sNadpis, int nSirka, int nFormat = LVCFMT_LEFT,
                     TlEditace editace = TlEditace::Zadna, std::vector<CString> polozky = {});
    void SetColumnText(int nSloupec, LPCTSTR sNadpis);
    void SetColumnWidth(int nSloupec, int nSirka);
    CString GetColumnText(int nSloupec) const;
    int GetColumnWidth(int nSloupec) const;
    int GetColumnCount() const { return static_cast<int>(m_aSloupce.size()); }

    // Rows.
    int InsertItem(int nRadek, LPCTSTR sText, DWORD_PTR dwData = 0);
    int AddItem(LPCTSTR sText, DWORD_PTR dwData = 0) {
        return InsertItem(GetItemCount(), sText, dwData);
    }
    BOOL DeleteItem(int nRadek);
    void DeleteAllItems();
    int GetItemCount() const { return static_cast<int>(m_aRadky.size()); }
    BOOL SetItemText(int nRadek, int nSloupec, LPCTSTR sText);
    CString GetItemText(int nRadek, int nSloupec) const;
    BOOL SetItemData(int nRadek, DWORD_PTR dwData);
    DWORD_PTR GetItemData(int nRadek) const;
    int FindItemData(DWORD_PTR dwData) const;

    // Selection: -1 for none; a change notifies the parent with TLN_SELCHANGED.
    int GetSelectedItem() const { return m_nVybrany; }
    BOOL SelectItem(int nRadek);

    // Rebuilds the texts of a row from the callback.
    void SetTextCallback(TextBunky fn) { m_fnText = std::move(fn); }
    void RedrawItem(int nRadek);
    void RedrawAll();

    BOOL ScriptSelect(int nRow) override;
    BOOL ScriptDblClick(int nRow) override;
    BOOL ScriptEdit(int nRow, int nColumn, const CString& sText) override;
    CString ScriptDescribe() const override;

private:
    struct Sloupec {
        CString sNadpis;
        int nSirka = 0;
        int nFormat = 0;
        TlEditace editace = TlEditace::Zadna;
        std::vector<CString> polozky;
    };
    struct Radek {
        std::vector<CString> texty;
        DWORD_PTR dwData = 0;
    };

    LRESULT Oznam(UINT nKod, NMHDR* pHdr);
    bool PlatnyRadek(int nRadek) const { return nRadek >= 0 && nRadek < GetItemCount(); }

    std::vector<Sloupec> m_aSloupce;
    std::vector<Radek> m_aRadky;
    int m_nVybrany = -1;
    TextBunky m_fnText;
};
