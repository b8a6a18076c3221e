// Editing of the material list and its profiles (dialog 503). The dialog works on a copy of the
// list; OK writes the copy to the user's catalogue when it changed and assigns it back to the
// list, Cancel leaves the list in memory as it was (and may write the copy to the catalogue).
#pragma once

#include "StdAfx.h"

#include "CKvDlgMatVyber.h"
#include "CVoxEditCtrl.h"
#include "CVoxSezMaterialu.h"

#define IDD_MAT_EDITUJ 503
#define IDC_MAT_NACIST_STD 11056
#define IDC_MAT_NACIST_SOUBOR 11058
#define IDC_MAT_SMAZ 11064
#define IDC_MAT_KOPIRUJ 11065
#define IDC_MAT_NOVY 11066
#define IDC_MAT_EDITUJ 11067
#define IDC_PROF_PRIDEJ 11068
#define IDC_PROF_SMAZ 11069
#define IDC_PROF_SMAZ_VSE 11071
#define IDC_PROF_KOD_MATERIAL 11072
#define IDC_PROF_KOD_MONTAZ 11081
#define IDC_MAT_ULOZ 11082
#define IDC_MAT_ZRUS 11083
#define IDC_PROF_GENERUJ 11085

class CKvDlgMatEdituj : public CKvDlgMatVyber {
public:
    // What the form is doing.
    enum Rezim { REZIM_ZADNY = 0, REZIM_NOVY = 1, REZIM_KOPIE = 2, REZIM_EDITACE = 3 };

    // Columns of the profile list.
    enum Sloupec {
        SL_PROFIL = 0,
        SL_VNEJSI = 1,
        SL_STENA = 2,
        SL_VNITRNI = 3,
        SL_DN = 4,
        SL_SIRKA = 5
    };

    explicit CKvDlgMatEdituj(CWnd* pParent = nullptr);
    ~CKvDlgMatEdituj() override;

    using CKvDlgMatVyber::DoModal;
    // Edits the list; IDOK when the edited copy became the list, IDCANCEL otherwise, -1 without a
    // list.
    INT_PTR DoModal(CVoxSezMaterialu* pSeznam, CWnd* pVlastnik = nullptr);

    // The in-place edit of a profile's cell: the refusal text, or an empty text when the value
    // was taken over.
    CString EditujProfil(CVoxProfil* pProfil, int nSloupec, const CString& sText);

    Rezim GetRezim() const { return m_nRezim; }
    const CVoxSezMaterialu& Kopie() const { return m_kopie; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    void NaplnProfily(CVoxMaterial* pMaterial) override;
    void NaplnFormular(const CVoxMaterial* pMaterial, UINT nTypPopisu = 1) override;
    CString TextProfilu(int nSloupec, const CVoxProfil* pProfil) const override;

    // The form is enabled only while a material is being made or edited.
    void NastavRezim(Rezim nRezim);
    // The price-list codes of the edits go to the profile they were shown for.
    void UlozKody();
    void ZobrazKody(CVoxProfil* pProfil);
    // The selected material of a profile button (CVoxException when there is none).
    CVoxMaterial* MaterialProfilu() const;
    CVoxProfil* VybranyProfil() const;
    void VyberProfil(const CVoxProfil* pProfil);
    // Reads the form into a record; false (with the reason shown) when it cannot be saved.
    bool CtiFormular(CVoxMaterialData& data);
    // Asks whether to delete the materials before a load; false for Cancel.
    bool SmazatPredNactenim(const wchar_t* sOtazka, const wchar_t* sObsah);
    // Fills the lists again after a load.
    void PoNacteni();
    // A check box group may not lose its last tick.
    void KontrolaSkupiny(const UINT* aId, size_t nPocet, UINT nKliknuto);

    afx_msg void OnZmenaMaterialuEd(NMHDR* pHdr, LRESULT* pResult);
    afx_msg void OnDvojklikMaterialuEd(NMHDR* pHdr, LRESULT* pResult);
    afx_msg void OnZmenaProfilu(NMHDR* pHdr, LRESULT* pResult);
    afx_msg void OnKonecEditace(NMHDR* pHdr, LRESULT* pResult);
    afx_msg void OnFiltrEd();
    afx_msg void OnNovy();
    afx_msg void OnKopiruj();
    afx_msg void OnEdituj();
    afx_msg void OnSmaz();
    afx_msg void OnUloz();
    afx_msg void OnZrus();
    afx_msg void OnTypDN();
    afx_msg void OnTypDxt();
    afx_msg void OnTypJiny();
    afx_msg void OnOblastZti();
    afx_msg void OnOblastSite();
    afx_msg void OnMediumKanalizace();
    afx_msg void OnMediumTlakova();
    afx_msg void OnMediumVoda();
    afx_msg void OnMediumPlyn();
    afx_msg void OnMediumTeplo();
    afx_msg void OnPridejProfil();
    afx_msg void OnSmazProfil();
    afx_msg void OnSmazProfily();
    afx_msg void OnGeneruj();
    afx_msg void OnNacistSoubor();
    afx_msg void OnNacistStandardni();
    afx_msg LRESULT OnKontrolaEditu(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

protected:
    CVoxSezMaterialu* m_pHlavni = nullptr;
    CVoxSezMaterialu m_kopie;
    Rezim m_nRezim = REZIM_ZADNY;
    // The material that a copy is made of.
    CVoxMaterial* m_pZdroj = nullptr;
    // The profile whose codes the edits show.
    CVoxProfil* m_pProfilKody = nullptr;
    // The label format of the form ("Jiný").
    CString m_sPrefix;
    CString m_sSuffix;
    bool m_bVnitrni = false;
    UINT m_nTypPopisu = POPIS_DXT;
    // Leaving the roughness field has just shown that the value is out of range.
    bool m_bDrsnostOznamena = false;

    CCheckedEdit m_editNazev;
    CCheckedEdit m_editPopis;
    CCheckedEdit m_editVyrobce;
    CDoubleEdit m_editDrsnost;
};

// Runs the material edit dialog on the list over the window; a CVoxException is reported and
// gives IDCANCEL.
INT_PTR EditujMaterialyDialogem(CVoxSezMaterialu* pSeznam, CWnd* pVlastnik);
