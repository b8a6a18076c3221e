// The frame dialog: format width and height, tick length, distance of the inner frame and the
// flags double frame, description and non-plotting, with the A4 counts, the portrait or
// landscape preview and the printer or plotter roll information. The values are remembered in
// the drawing's store and in the registry under "DlgRamecek".
#pragma once

#include "StdAfx.h"

#include "CKvAcDialog.h"

#define IDD_RAMECEK 200
#define IDC_RAM_SIRKA 259
#define IDC_RAM_SPIN_SIRKA 209
#define IDC_RAM_VYSKA 111
#define IDC_RAM_SPIN_VYSKA 207
#define IDC_RAM_CARKA 208
#define IDC_RAM_SPIN_CARKA 241
#define IDC_RAM_ROZTEC 232
#define IDC_RAM_SPIN_ROZTEC 262
#define IDC_RAM_DVOJITY 226
#define IDC_RAM_POPIS 136
#define IDC_RAM_NETISK 227
#define IDC_RAM_A4 211
#define IDC_RAM_A3 212
#define IDC_RAM_A2 213
#define IDC_RAM_A1 214
#define IDC_RAM_A0 215
#define IDC_RAM_594X297 216
#define IDC_RAM_841X297 217
#define IDC_RAM_841X420 218
#define IDC_RAM_7MM 253
#define IDC_RAM_5MM 255
#define IDC_RAM_A4_VYSKA 230
#define IDC_RAM_A4_SIRKA 231
#define IDC_RAM_INFO_VYSKA 233
#define IDC_RAM_ZBYTEK_VYSKA 234
#define IDC_RAM_INFO_SIRKA 235
#define IDC_RAM_ZBYTEK_SIRKA 236
#define IDC_RAM_NA_SIRKU 228
#define IDC_RAM_NA_VYSKU 229
#define IDC_RAM_OKNO_TISKU 250

// The group of the remembered values in the drawing's store and the registry subkey.
#define RAMECEK_SKUPINA L"DlgRamecek"

class CKvDlgRamecek : public CKvAcDialog {
public:
    // Reads the remembered values (drawing, then registry, then the defaults).
    explicit CKvDlgRamecek(CWnd* pParent = nullptr);

    int m_nSirka = 420;
    int m_nVyska = 297;
    int m_nCarka = 10;
    int m_nRoztec = 5;
    int m_bDvojity = 1;
    int m_bPopis = 1;
    int m_bNetisk = 0;
    // "Netisknout" can be changed only for a new frame.
    bool m_bNovy = true;

    // The roll of the plotter that a dimension fits (420, 594, 841, 914), 0 when none does.
    static int Role(int nRozmer);
    // The roll for the width: as Role, except that a width of 841 goes on the 914 roll.
    static int RoleSirky(int nSirka);
    // Whether the format fits an A3 sheet in either orientation.
    static bool NaTiskarnu(int nSirka, int nVyska);
    // The index of the first spin step not smaller than the value (the last one above all).
    static int KrokSirky(int nSirka);
    static int KrokVysky(int nVyska);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    void NactiUlozene();
    void UlozHodnoty();
    // The pictures, the standard format, the 914 limit and the roll texts.
    void Informace();

    afx_msg void OnZmenaSirky();
    afx_msg void OnZmenaVysky();
    afx_msg void OnSpinSirka(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSpinVyska(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnFormat(UINT nID);
    afx_msg void OnPopis();
    afx_msg void On7mm();
    afx_msg void On5mm();
    DECLARE_MESSAGE_MAP()

private:
    bool m_bInicializovan = false;
    bool m_bVInformaci = false;
};
