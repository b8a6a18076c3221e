#include "StdAfx.h"

#include "CKvDlgMatEdituj.h"

#include "CKvDlgMatMale.h"
#include "CVoxException.h"
#include "CVoxMaterial.h"
#include "taskdialog.h"

#include <cmath>
#include <cwchar>
#include <iterator>
#include <vector>

namespace {

const wchar_t* const TITULEK = L"Kresbon pro AutoCad";
const wchar_t* const NEMA_DIRU = L"OD - 2x stěna je menší než 0, trubka nemá díru";
const wchar_t* const NEODPOVIDA_DN = L"Zadaný průměr neodpovídá zadanému DN, nejprve změňte DN";
const wchar_t* const NENI_CISLO = L"Zadejte kladné desetinné číslo";
const wchar_t* const VETSI_NEZ_VNEJSI = L"Vnitřní průměr nesmí být větší než vnější";

// The roughness a material may have, mm.
constexpr double DRSNOST_MIN = 0.01;
constexpr double DRSNOST_MAX = 3.0;

const UINT s_aOblast[] = {IDC_MAT_ZTI, IDC_MAT_SITE};
const UINT s_aMedium[] = {IDC_MAT_KANALIZACE, IDC_MAT_KAN_TLAKOVA, IDC_MAT_VODA, IDC_MAT_PLYN,
                          IDC_MAT_TEPLO};
// The controls of the form, enabled while a material is made or edited.
const UINT s_aFormular[] = {
    IDC_MAT_NAZEV,       IDC_MAT_POPIS,    IDC_MAT_VYROBCE, IDC_MAT_PODROBNY, IDC_MAT_PN,
    IDC_MAT_SDR,         IDC_MAT_DRSNOST,  IDC_MAT_ZTI,     IDC_MAT_SITE,     IDC_MAT_KANALIZACE,
    IDC_MAT_KAN_TLAKOVA, IDC_MAT_VODA,     IDC_MAT_PLYN,    IDC_MAT_TEPLO,    IDC_MAT_TYP_DN,
    IDC_MAT_TYP_DXT,     IDC_MAT_TYP_JINY, IDC_MAT_KRUH,    IDC_MAT_VEJCE,    IDC_MAT_VEJCE_PRAHA,
    IDC_MAT_TLAMA,       IDC_MAT_OBDELNIK, IDC_MAT_ULOZ,    IDC_MAT_ZRUS};

constexpr DWORD DIS = WS_DISABLED;

const AfxDialogResource s_dlgMatEdituj{{
    .nID = IDD_MAT_EDITUJ,
    .sCaption = L"Editace materiálů",
    .controls =
        {
            {.nID = IDC_MAT_NADPIS_MAT, .nKind = AfxCtl::Static, .sText = L"Materiály potrubí"},
            {.nID = IDC_MAT_F_ZTI,
             .nKind = AfxCtl::RadioButton,
             .sText = L"ZTI",
             .dwStyle = WS_GROUP},
            {.nID = IDC_MAT_F_SITE, .nKind = AfxCtl::RadioButton, .sText = L"Inženýrské sítě"},
            {.nID = IDC_MAT_F_OBLAST_VSE, .nKind = AfxCtl::RadioButton, .sText = L"Vše"},
            {.nID = IDC_MAT_F_KANALIZACE,
             .nKind = AfxCtl::RadioButton,
             .sText = L"Kanalizace",
             .dwStyle = WS_GROUP},
            {.nID = IDC_MAT_F_TLAKOVA, .nKind = AfxCtl::RadioButton, .sText = L"Tlak. kan."},
            {.nID = IDC_MAT_F_VODA, .nKind = AfxCtl::RadioButton, .sText = L"Voda"},
            {.nID = IDC_MAT_F_PLYN, .nKind = AfxCtl::RadioButton, .sText = L"Plyn"},
            {.nID = IDC_MAT_F_TEPLO, .nKind = AfxCtl::RadioButton, .sText = L"Tpl."},
            {.nID = IDC_MAT_F_MEDIUM_VSE, .nKind = AfxCtl::RadioButton, .sText = L"Vše"},
            {.nID = IDC_MAT_SEZNAM,
             .nKind = AfxCtl::Custom,
             .sText = L"Materiály",
             .dwStyle = WS_GROUP,
             .sClass = L"CTreeListCtrl"},
            {.nID = IDC_MAT_NOVY, .nKind = AfxCtl::PushButton, .sText = L"+"},
            {.nID = IDC_MAT_KOPIRUJ, .nKind = AfxCtl::PushButton, .sText = L"%"},
            {.nID = IDC_MAT_EDITUJ, .nKind = AfxCtl::PushButton, .sText = L"..."},
            {.nID = IDC_MAT_SMAZ, .nKind = AfxCtl::PushButton, .sText = L"X"},
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Název:"},
            {.nID = IDC_MAT_NAZEV, .nKind = AfxCtl::Edit, .sText = L"Název", .dwStyle = DIS},
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Popis:"},
            {.nID = IDC_MAT_POPIS, .nKind = AfxCtl::Edit, .sText = L"Popis", .dwStyle = DIS},
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Výrobce:"},
            {.nID = IDC_MAT_VYROBCE, .nKind = AfxCtl::Edit, .sText = L"Výrobce", .dwStyle = DIS},
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Podrobný popis:"},
            {.nID = IDC_MAT_PODROBNY,
             .nKind = AfxCtl::Edit,
             .sText = L"Podrobný popis",
             .dwStyle = DIS},
            {.nID = IDC_MAT_PN,
             .nKind = AfxCtl::DropList,
             .sText = L"Tl. třída:",
             .dwStyle = DIS,
             .items = TextyPN()},
            {.nID = IDC_MAT_SDR,
             .nKind = AfxCtl::DropList,
             .sText = L"SDr:",
             .dwStyle = DIS,
             .items = TextySDr()},
            {.nID = IDC_MAT_DRSNOST,
             .nKind = AfxCtl::Edit,
             .sText = L"Drsnost [mm]",
             .dwStyle = DIS},
            {.nID = IDC_MAT_ZTI, .nKind = AfxCtl::CheckBox, .sText = L"ZTI", .dwStyle = DIS},
            {.nID = IDC_MAT_SITE,
             .nKind = AfxCtl::CheckBox,
             .sText = L"Inženýrské sítě",
             .dwStyle = DIS},
            {.nID = IDC_MAT_KANALIZACE,
             .nKind = AfxCtl::CheckBox,
             .sText = L"Kanalizace",
             .dwStyle = DIS},
            {.nID = IDC_MAT_KAN_TLAKOVA,
             .nKind = AfxCtl::CheckBox,
             .sText = L"Kan. tlaková",
             .dwStyle = DIS},
            {.nID = IDC_MAT_VODA, .nKind = AfxCtl::CheckBox, .sText = L"Voda", .dwStyle = DIS},
            {.nID = IDC_MAT_PLYN, .nKind = AfxCtl::CheckBox, .sText = L"Plyn", .dwStyle = DIS},
            {.nID = IDC_MAT_TEPLO,
             .nKind = AfxCtl::CheckBox,
             .sText = L"Teplovody/UT",
             .dwStyle = DIS},
            {.nID = IDC_MAT_TYP_DN,
             .nKind = AfxCtl::RadioButton,
             .sText = L"DN",
             .dwStyle = WS_GROUP | DIS},
            {.nID = IDC_MAT_TYP_DXT,
             .nKind = AfxCtl::RadioButton,
             .sText = L"D x t",
             .dwStyle = DIS},
            {.nID = IDC_MAT_TYP_JINY,
             .nKind = AfxCtl::RadioButton,
             .sText = L"Jiný",
             .dwStyle = DIS},
            {.nID = IDC_MAT_KRUH,
             .nKind = AfxCtl::RadioButton,
             .sText = L"Kruh",
             .dwStyle = WS_GROUP | DIS},
            {.nID = IDC_MAT_VEJCE, .nKind = AfxCtl::RadioButton, .sText = L"Vejce", .dwStyle = DIS},
            {.nID = IDC_MAT_VEJCE_PRAHA,
             .nKind = AfxCtl::RadioButton,
             .sText = L"Vejce - Praha",
             .dwStyle = DIS},
            {.nID = IDC_MAT_TLAMA, .nKind = AfxCtl::RadioButton, .sText = L"Tlama", .dwStyle = DIS},
            {.nID = IDC_MAT_OBDELNIK,
             .nKind = AfxCtl::RadioButton,
             .sText = L"Obdélník",
             .dwStyle = DIS},
            {.nID = IDC_MAT_ULOZ,
             .nKind = AfxCtl::PushButton,
             .sText = L"Ulož..",
             .dwStyle = WS_GROUP | DIS},
            {.nID = IDC_MAT_ZRUS, .nKind = AfxCtl::PushButton, .sText = L"Zruš..", .dwStyle = DIS},
            {.nID = IDC_MAT_NADPIS_PROF, .nKind = AfxCtl::Static, .sText = L"Profily"},
            {.nID = IDC_MAT_PROFILY,
             .nKind = AfxCtl::Custom,
             .sText = L"Profily",
             .dwStyle = WS_GROUP,
             .sClass = L"CTreeListCtrl"},
            {.nID = IDC_PROF_PRIDEJ, .nKind = AfxCtl::PushButton, .sText = L"+"},
            {.nID = IDC_PROF_SMAZ, .nKind = AfxCtl::PushButton, .sText = L"X"},
            {.nID = IDC_PROF_SMAZ_VSE, .nKind = AfxCtl::PushButton, .sText = L"Vymazat vše"},
            {.nID = IDC_PROF_GENERUJ, .nKind = AfxCtl::PushButton, .sText = L"Generovat..."},
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Kód URS montáž:"},
            {.nID = IDC_PROF_KOD_MONTAZ,
             .nKind = AfxCtl::Edit,
             .sText = L"Kód URS montáž:",
             .dwStyle = DIS},
            {.nID = IDC_STATIC, .nKind = AfxCtl::Static, .sText = L"Kód URS materiál:"},
            {.nID = IDC_PROF_KOD_MATERIAL,
             .nKind = AfxCtl::Edit,
             .sText = L"Kód URS materiál:",
             .dwStyle = DIS},
            {.nID = IDC_MAT_NACIST_SOUBOR,
             .nKind = AfxCtl::PushButton,
             .sText = L"Načíst ze souboru...",
             .dwStyle = WS_GROUP},
            {.nID = IDC_MAT_NACIST_STD,
             .nKind = AfxCtl::PushButton,
             .sText = L"Načíst standardní..."},
            {.nID = IDC_MAT_HELP, .nKind = AfxCtl::PushButton, .sText = L"?"},
            {.nID = IDOK, .nKind = AfxCtl::DefPushButton, .sText = L"OK"},
            {.nID = IDCANCEL, .nKind = AfxCtl::PushButton, .sText = L"Zruš"},
        },
}};

int Zprava(CWnd* pOkno, const wchar_t* sText, UINT nTyp) {
    return ::MessageBoxW(pOkno ? pOkno->GetSafeHwnd() : nullptr, sText, TITULEK, nTyp);
}

// A decimal number of an in-place edit or of the form (a comma counts as the point); false when
// the text is not one.
bool CtiCislo(const CString& sText, double& dHodnota) {
    CString s(sText);
    s.Trim();
    s.Replace(L',', L'.');
    if (!CCheckedEdit::TextDesetinne(s))
        return false;
    dHodnota = std::wcstod(s.GetString(), nullptr);
    return std::isfinite(dHodnota);
}

} // namespace

BEGIN_MESSAGE_MAP(CKvDlgMatEdituj, CKvDlgMatVyber)
ON_NOTIFY(TLN_SELCHANGED, IDC_MAT_SEZNAM, &CKvDlgMatEdituj::OnZmenaMaterialuEd)
ON_NOTIFY(NM_DBLCLK, IDC_MAT_SEZNAM, &CKvDlgMatEdituj::OnDvojklikMaterialuEd)
ON_NOTIFY(TLN_SELCHANGED, IDC_MAT_PROFILY, &CKvDlgMatEdituj::OnZmenaProfilu)
ON_NOTIFY(TLN_ENDEDIT, IDC_MAT_PROFILY, &CKvDlgMatEdituj::OnKonecEditace)
ON_BN_CLICKED(IDC_MAT_F_ZTI, &CKvDlgMatEdituj::OnFiltrEd)
ON_BN_CLICKED(IDC_MAT_F_SITE, &CKvDlgMatEdituj::OnFiltrEd)
ON_BN_CLICKED(IDC_MAT_F_OBLAST_VSE, &CKvDlgMatEdituj::OnFiltrEd)
ON_BN_CLICKED(IDC_MAT_F_KANALIZACE, &CKvDlgMatEdituj::OnFiltrEd)
ON_BN_CLICKED(IDC_MAT_F_TLAKOVA, &CKvDlgMatEdituj::OnFiltrEd)
ON_BN_CLICKED(IDC_MAT_F_VODA, &CKvDlgMatEdituj::OnFiltrEd)
ON_BN_CLICKED(IDC_MAT_F_PLYN, &CKvDlgMatEdituj::OnFiltrEd)
ON_BN_CLICKED(IDC_MAT_F_TEPLO, &CKvDlgMatEdituj::OnFiltrEd)
ON_BN_CLICKED(IDC_MAT_F_MEDIUM_VSE, &CKvDlgMatEdituj::OnFiltrEd)
ON_BN_CLICKED(IDC_MAT_NOVY, &CKvDlgMatEdituj::OnNovy)
ON_BN_CLICKED(IDC_MAT_KOPIRUJ, &CKvDlgMatEdituj::OnKopiruj)
ON_BN_CLICKED(IDC_MAT_EDITUJ, &CKvDlgMatEdituj::OnEdituj)
ON_BN_CLICKED(IDC_MAT_SMAZ, &CKvDlgMatEdituj::OnSmaz)
ON_BN_CLICKED(IDC_MAT_ULOZ, &CKvDlgMatEdituj::OnUloz)
ON_BN_CLICKED(IDC_MAT_ZRUS, &CKvDlgMatEdituj::OnZrus)
ON_BN_CLICKED(IDC_MAT_TYP_DN, &CKvDlgMatEdituj::OnTypDN)
ON_BN_CLICKED(IDC_MAT_TYP_DXT, &CKvDlgMatEdituj::OnTypDxt)
ON_BN_CLICKED(IDC_MAT_TYP_JINY, &CKvDlgMatEdituj::OnTypJiny)
ON_BN_CLICKED(IDC_MAT_ZTI, &CKvDlgMatEdituj::OnOblastZti)
ON_BN_CLICKED(IDC_MAT_SITE, &CKvDlgMatEdituj::OnOblastSite)
ON_BN_CLICKED(IDC_MAT_KANALIZACE, &CKvDlgMatEdituj::OnMediumKanalizace)
ON_BN_CLICKED(IDC_MAT_KAN_TLAKOVA, &CKvDlgMatEdituj::OnMediumTlakova)
ON_BN_CLICKED(IDC_MAT_VODA, &CKvDlgMatEdituj::OnMediumVoda)
ON_BN_CLICKED(IDC_MAT_PLYN, &CKvDlgMatEdituj::OnMediumPlyn)
ON_BN_CLICKED(IDC_MAT_TEPLO, &CKvDlgMatEdituj::OnMediumTeplo)
ON_BN_CLICKED(IDC_PROF_PRIDEJ, &CKvDlgMatEdituj::OnPridejProfil)
ON_BN_CLICKED(IDC_PROF_SMAZ, &CKvDlgMatEdituj::OnSmazProfil)
ON_BN_CLICKED(IDC_PROF_SMAZ_VSE, &CKvDlgMatEdituj::OnSmazProfily)
ON_BN_CLICKED(IDC_PROF_GENERUJ, &CKvDlgMatEdituj::OnGeneruj)
ON_BN_CLICKED(IDC_MAT_NACIST_SOUBOR, &CKvDlgMatEdituj::OnNacistSoubor)
ON_BN_CLICKED(IDC_MAT_NACIST_STD, &CKvDlgMatEdituj::OnNacistStandardni)
ON_MESSAGE(WM_VOX_EDIT_KONTROLA, &CKvDlgMatEdituj::OnKontrolaEditu)
END_MESSAGE_MAP()

CKvDlgMatEdituj::CKvDlgMatEdituj(CWnd* pParent)
    : CKvDlgMatVyber(pParent, IDD_MAT_EDITUJ),
      m_editNazev(nullptr, nullptr, nullptr, L"Maximální délka je omezena na 20 znaků",
                  L"Příliš dlouhý název", false, CVoxMaterial::MAX_NAZEV),
      m_editPopis(nullptr, nullptr, nullptr, L"Maximální délka je omezena na 20 znaků",
                  L"Příliš dlouhý název", false, CVoxMaterial::MAX_NAZEV),
      m_editVyrobce(nullptr, nullptr, nullptr, L"Maximální délka je omezena na 25 znaků",
                    L"Příliš dlouhý název", false, CVoxMaterial::MAX_VYROBCE),
      m_editDrsnost(5, false, 0.01) {}

CKvDlgMatEdituj::~CKvDlgMatEdituj() {
    // The copy's holders are those of the list; the copy must not touch them when it goes.
    m_kopie.VyprazdniOdkazy();
}

INT_PTR CKvDlgMatEdituj::DoModal(CVoxSezMaterialu* pSeznam, CWnd* pVlastnik) {
    if (!pSeznam)
        return -1;
    if (pVlastnik)
        m_pParentWnd = pVlastnik;
    m_pHlavni = pSeznam;
    m_kopie.Prirad(*pSeznam);
    m_pSeznam = &m_kopie;
    m_nOblast = OBLAST_VSE;
    m_nMedium = MEDIUM_VSE;
    m_bProfil = true;
    m_nRezim = REZIM_ZADNY;
    m_pZdroj = nullptr;
    m_pProfilKody = nullptr;
    const INT_PTR nVysledek = CKvAcDialog::DoModal();
    m_pProfilKody = nullptr;
    m_kopie.VyprazdniOdkazy();
    return nVysledek;
}

void CKvDlgMatEdituj::DoDataExchange(CDataExchange* pDX) {
    CKvDlgMatVyber::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MAT_NAZEV, m_editNazev);
    DDX_Control(pDX, IDC_MAT_POPIS, m_editPopis);
    DDX_Control(pDX, IDC_MAT_VYROBCE, m_editVyrobce);
    DDX_Control(pDX, IDC_MAT_DRSNOST, m_editDrsnost);
}

BOOL CKvDlgMatEdituj::OnInitDialog() {
    CKvDlgMatVyber::OnInitDialog();
    static_cast<CEdit*>(GetDlgItem(IDC_PROF_KOD_MONTAZ))->LimitText(CVoxProfil::KOD_ZAPIS);
    static_cast<CEdit*>(GetDlgItem(IDC_PROF_KOD_MATERIAL))->LimitText(CVoxProfil::KOD_ZAPIS);

    RECT rect{};
    m_profily.GetClientRect(&rect);
    std::vector<CString> aDN;
    for (const VoxRadekDN& r : g_aTabulkaDN)
        aDN.emplace_back(r.sText);
    m_profily.InsertColumn(L"Profil", 80);
    m_profily.InsertColumn(L"OD", 60, LVCFMT_RIGHT, TlEditace::Cislo);
    m_profily.InsertColumn(L"Stěna", 60, LVCFMT_RIGHT, TlEditace::Cislo);
    m_profily.InsertColumn(L"ID", 60, LVCFMT_RIGHT, TlEditace::Cislo);
    m_profily.InsertColumn(L"DN", 60, LVCFMT_LEFT, TlEditace::Seznam, std::move(aDN));
    m_profily.InsertColumn(L"Sirka", 0, LVCFMT_RIGHT, TlEditace::Cislo);
    m_profily.SetTextCallback([this](int, int nSloupec, DWORD_PTR dw) {
        return TextProfilu(nSloupec, reinterpret_cast<const CVoxProfil*>(dw));
    });

    PridejTip(IDC_PROF_GENERUJ, L"Generovat automaticky řadu profilů");
    PridejTip(IDC_MAT_ZRUS, L"Zrušit provedené změny");
    PridejTip(IDC_MAT_ULOZ, L"Uložit provedené změny");
    PridejTip(IDC_MAT_TEPLO, L"Materiál vhodný pro tepelné systémy");
    PridejTip(IDC_MAT_KANALIZACE, L"Materiál je vhodný pro kanalizační systémy");
    PridejTip(IDC_MAT_KAN_TLAKOVA,
              L"Materiál je vhodný pro systémy tlakové (a podtlakové) kanalizace");
    PridejTip(IDC_MAT_PLYN, L"Materiál je vhodný pro plynovodní systémy");
    PridejTip(IDC_MAT_VODA, L"Materiál je vhodný pro vodovodní systémy");
    PridejTip(IDC_MAT_ZTI, L"Materiál je vhodný pro vnitřní systémy - potrubí uvnitř objektu");
    PridejTip(IDC_MAT_SITE, L"Materiál je vhodný pro inženýrské sítě, přípojky a rozvody v zemi");
    PridejTip(IDC_MAT_DRSNOST, L"Zadej desetinné číslo od 0.01 do 3.01");
    PridejTip(IDC_MAT_SDR, L"Charakterisktika profilu OD/s - SDr");
    PridejTip(IDC_MAT_PN, L"Tlaková řada");
    // Each code's tip goes with its own label.
    PridejTip(IDC_PROF_KOD_MATERIAL, L"Kód položky v ceníku URS pro materiál (volitelně)");
    PridejTip(IDC_PROF_KOD_MONTAZ, L"Kód položky v ceníku URS pro montáž (volitelně)");
    PridejTip(IDC_MAT_NAZEV, L"Unikátní název materiálu (max. 20 znaků) - pro evidenci");
    PridejTip(IDC_MAT_POPIS, L"Název materiálu, který se bude zobrazovat ve výkrese (max. 20 "
                             L"znaků) - nemusí být unikátní");
    PridejTip(IDC_MAT_PODROBNY, L"Podrobný název (popis) materiálu");
    PridejTip(IDC_MAT_VYROBCE, L"Výrobce / distributor materiálu (max. 25 znaků)");
    PridejTip(IDC_PROF_SMAZ, L"Vymaž profil");
    PridejTip(IDC_PROF_SMAZ_VSE, L"Vymaž všechny profily");
    PridejTip(IDC_PROF_PRIDEJ, L"Přidej profil");
    PridejTip(IDC_MAT_EDITUJ, L"Edituj materiál");
    PridejTip(IDC_MAT_NOVY, L"Přidej materiál");
    PridejTip(IDC_MAT_KOPIRUJ, L"Kopíruj materiál");
    PridejTip(IDC_MAT_SMAZ, L"Vymaž materiál");
    PridejTip(IDC_MAT_F_ZTI, L"Zobrazit materály vhodné pro vnitřní a venkovní instalace ZTI");
    PridejTip(IDC_MAT_F_SITE, L"Zobrazit materály vhodné pro inženýrské sítě");
    PridejTip(IDC_MAT_F_OBLAST_VSE, L"Zobrazit všechny materiály");
    PridejTip(IDC_MAT_TYP_DN, L"Materiál bude popisován DN");
    PridejTip(IDC_MAT_TYP_DXT, L"Materiál bude popisován jako Dxt (vnější x stěna)");
    PridejTip(IDC_MAT_TYP_JINY, L"Materiál bude popisován uživatelsky nadefinovaným popisem");
    PridejTip(IDC_MAT_KRUH, L"Standardní kruhový profil");
    PridejTip(IDC_MAT_TLAMA, L"Tlamový profil");
    PridejTip(IDC_MAT_VEJCE, L"Vejčitá stoka Vídeňského normálu");
    PridejTip(IDC_MAT_VEJCE_PRAHA, L"Vejčitá stoka Pražského normálu");
    PridejTip(IDC_MAT_OBDELNIK, L"Obdélníkový profil (např. kolektor, apod.)");
    PridejTip(IDC_MAT_PROFILY, L"Seznam profilů");
    PridejTip(IDC_MAT_NACIST_SOUBOR, L"Načte materiály z externího souboru");
    PridejTip(IDC_MAT_NACIST_STD, L"Načte standardní materiály ze vestavěného souboru programu");
    PridejTip(IDC_MAT_HELP, L"Spustí online help");
    PridejTip(IDOK, L"Opustí dialog s uložením provedených změn, bez výběru");
    PridejTip(IDCANCEL, L"Opustí dialog bez uložení provedených změn");

    NastavRezim(REZIM_ZADNY);
    return TRUE;
}

// --- The form -----------------------------------------------------------------------------------

void CKvDlgMatEdituj::NastavRezim(Rezim nRezim) {
    m_nRezim = nRezim;
    const BOOL bFormular = nRezim != REZIM_ZADNY;
    for (UINT nId : s_aFormular)
        if (CWnd* pOkno = GetDlgItem(static_cast<int>(nId)))
            pOkno->EnableWindow(bFormular);
    if (nRezim != REZIM_KOPIE)
        m_pZdroj = nullptr;
}

void CKvDlgMatEdituj::NaplnFormular(const CVoxMaterial* pMaterial, UINT nTypPopisu) {
    CKvDlgMatVyber::NaplnFormular(pMaterial, nTypPopisu);
    m_sPrefix = pMaterial ? pMaterial->GetPrefix() : L"";
    m_sSuffix = pMaterial ? pMaterial->GetSuffix() : L"";
    m_bVnitrni = pMaterial && pMaterial->GetVnitrni();
    m_nTypPopisu = pMaterial ? pMaterial->GetTypPopisu() : nTypPopisu;
}

bool CKvDlgMatEdituj::CtiFormular(CVoxMaterialData& data) {
    GetDlgItemText(IDC_MAT_NAZEV, data.m_strNazev);
    data.m_strNazev.Trim();
    if (data.m_strNazev.IsEmpty()) {
        Zprava(this, L"Název nesmí být prázdný", MB_OK | MB_ICONWARNING);
        return false;
    }
    CString sDrsnost;
    GetDlgItemText(IDC_MAT_DRSNOST, sDrsnost);
    double dDrsnost = 0.0;
    const bool bOznameno = m_bDrsnostOznamena;
    m_bDrsnostOznamena = false;
    if (!CtiCislo(sDrsnost, dDrsnost) || dDrsnost < DRSNOST_MIN || dDrsnost > DRSNOST_MAX) {
        // Leaving the field has told it already.
        if (!bOznameno)
            m_editDrsnost.ZobrazTip(L"Hydraulická drsnost potrubí [mm]\nod 0.01 do 3.0",
                                    L"Zadání mimo rozsah");
        return false;
    }
    data.m_dDrsnost = dDrsnost;
    data.m_strDrsnost = sDrsnost;
    GetDlgItemText(IDC_MAT_POPIS, data.m_strPopis);
    data.m_strPopis.Trim();
    if (data.m_strPopis.IsEmpty())
        data.m_strPopis = data.m_strNazev;
    GetDlgItemText(IDC_MAT_VYROBCE, data.m_strVyrobce);
    data.m_strVyrobce.Trim();
    GetDlgItemText(IDC_MAT_PODROBNY, data.m_strPodrobnyPopis);
    const int iPN = static_cast<CComboBox*>(GetDlgItem(IDC_MAT_PN))->GetCurSel();
    const int iSDr = static_cast<CComboBox*>(GetDlgItem(IDC_MAT_SDR))->GetCurSel();
    data.m_iPN = iPN < 0 ? 0 : iPN;
    data.m_iSDr = iSDr < 0 ? 0 : iSDr;
    data.m_nOblast = 0;
    for (size_t i = 0; i < std::size(s_aOblast); ++i)
        if (IsDlgButtonChecked(static_cast<int>(s_aOblast[i])) == BST_CHECKED)
            data.m_nOblast |= 1U << i;
    data.m_nMedium = 0;
    for (size_t i = 0; i < std::size(s_aMedium); ++i)
        if (IsDlgButtonChecked(static_cast<int>(s_aMedium[i])) == BST_CHECKED)
            data.m_nMedium |= 1U << i;
    const int nTyp = GetCheckedRadioButton(IDC_MAT_TYP_DN, IDC_MAT_TYP_JINY);
    data.m_nTypPopisu = nTyp ? static_cast<UINT>(nTyp - IDC_MAT_TYP_DN) : POPIS_DXT;
    const int nTvar = GetCheckedRadioButton(IDC_MAT_KRUH, IDC_MAT_OBDELNIK);
    data.m_nTvar = nTvar ? static_cast<UINT>(nTvar - IDC_MAT_KRUH) : 0;
    data.m_strPrefix = m_sPrefix;
    data.m_strSuffix = m_sSuffix;
    data.m_bVnitrni = m_bVnitrni;
    return true;
}

LRESULT CKvDlgMatEdituj::OnKontrolaEditu(WPARAM wParam, LPARAM lParam) {
    if (wParam == IDC_MAT_NAZEV) {
        // A material without a short description is shown by its name.
        CString sPopis;
        GetDlgItemText(IDC_MAT_POPIS, sPopis);
        sPopis.Trim();
        if (sPopis.IsEmpty())
            m_editPopis.NastavText(reinterpret_cast<LPCTSTR>(lParam));
    } else if (wParam == IDC_MAT_DRSNOST) {
        const double dDrsnost = *reinterpret_cast<const double*>(lParam);
        m_bDrsnostOznamena = dDrsnost < DRSNOST_MIN || dDrsnost > DRSNOST_MAX;
        if (m_bDrsnostOznamena)
            m_editDrsnost.ZobrazTip(L"Hydraulická drsnost potrubí [mm]\nod 0.01 do 3.0",
                                    L"Zadání mimo rozsah");
    }
    return 0;
}

void CKvDlgMatEdituj::KontrolaSkupiny(const UINT* aId, size_t nPocet, UINT nKliknuto) {
    for (size_t i = 0; i < nPocet; ++i)
        if (IsDlgButtonChecked(static_cast<int>(aId[i])) == BST_CHECKED)
            return;
    CheckDlgButton(static_cast<int>(nKliknuto), BST_CHECKED);
    int nTlacitko = 0;
    TaskDialog(GetSafeHwnd(), nullptr, TITULEK, L"Pro něco ten materiál určen být musí",
               L"Označte alesoň jednu možnost", TDCBF_OK_BUTTON, TD_WARNING_ICON, &nTlacitko);
}

void CKvDlgMatEdituj::OnOblastZti() {
    KontrolaSkupiny(s_aOblast, std::size(s_aOblast), IDC_MAT_ZTI);
}
void CKvDlgMatEdituj::OnOblastSite() {
    KontrolaSkupiny(s_aOblast, std::size(s_aOblast), IDC_MAT_SITE);
}
void CKvDlgMatEdituj::OnMediumKanalizace() {
    KontrolaSkupiny(s_aMedium, std::size(s_aMedium), IDC_MAT_KANALIZACE);
}
void CKvDlgMatEdituj::OnMediumTlakova() {
    KontrolaSkupiny(s_aMedium, std::size(s_aMedium), IDC_MAT_KAN_TLAKOVA);
}
void CKvDlgMatEdituj::OnMediumVoda() {
    KontrolaSkupiny(s_aMedium, std::size(s_aMedium), IDC_MAT_VODA);
}
void CKvDlgMatEdituj::OnMediumPlyn() {
    KontrolaSkupiny(s_aMedium, std::size(s_aMedium), IDC_MAT_PLYN);
}
void CKvDlgMatEdituj::OnMediumTeplo() {
    KontrolaSkupiny(s_aMedium, std::size(s_aMedium), IDC_MAT_TEPLO);
}

void CKvDlgMatEdituj::OnTypDN() {
    m_nTypPopisu = POPIS_DN;
}
void CKvDlgMatEdituj::OnTypDxt() {
    m_nTypPopisu = POPIS_DXT;
}

void CKvDlgMatEdituj::OnTypJiny() {
    CKvDlgMatPopis dlgPopis(this);
    dlgPopis.m_sPrefix = m_sPrefix;
    dlgPopis.m_sSuffix = m_sSuffix;
    dlgPopis.m_bVnitrni = m_bVnitrni;
    if (dlgPopis.DoModal() != IDOK) {
        // The label type stays what it was.
        CheckRadioButton(IDC_MAT_TYP_DN, IDC_MAT_TYP_JINY,
                         static_cast<int>(IDC_MAT_TYP_DN + std::min(m_nTypPopisu, 2U)));
        return;
    }
    m_nTypPopisu = POPIS_JINY;
    m_sPrefix = dlgPopis.m_sPrefix;
    m_sSuffix = dlgPopis.m_sSuffix;
    m_bVnitrni = dlgPopis.m_bVnitrni;
    CheckRadioButton(IDC_MAT_TYP_DN, IDC_MAT_TYP_JINY, IDC_MAT_TYP_JINY);
}

// --- Materials ----------------------------------------------------------------------------------

void CKvDlgMatEdituj::OnZmenaMaterialuEd(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    try {
        UlozKody();
    } catch (const std::exception& e) {
        ZobrazVyjimku(e, GetSafeHwnd());
    }
    m_pProfilKody = nullptr;
    // Another material: whatever the form held is dropped.
    NastavRezim(REZIM_ZADNY);
    CVoxMaterial* pMaterial = VybranyMaterial();
    NaplnFormular(pMaterial);
    NaplnProfily(pMaterial);
}

void CKvDlgMatEdituj::OnDvojklikMaterialuEd(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    OnEdituj();
}

void CKvDlgMatEdituj::OnFiltrEd() {
    try {
        UlozKody();
    } catch (const std::exception& e) {
        ZobrazVyjimku(e, GetSafeHwnd());
    }
    if (m_nRezim != REZIM_ZADNY) {
        NastavRezim(REZIM_ZADNY);
        NaplnFormular(VybranyMaterial());
    }
    NaplnSeznam();
}

void CKvDlgMatEdituj::OnNovy() {
    const CVoxMaterial* pVybrany = VybranyMaterial();
    const UINT nTyp = pVybrany ? pVybrany->GetTypPopisu() : POPIS_DXT;
    m_seznam.SelectItem(-1);
    NaplnFormular(nullptr, nTyp);
    NaplnProfily(nullptr);
    NastavRezim(REZIM_NOVY);
    GotoDlgCtrl(&m_editNazev);
}

void CKvDlgMatEdituj::OnKopiruj() {
    CVoxMaterial* pVybrany = VybranyMaterial();
    if (!pVybrany)
        return;
    NaplnFormular(pVybrany);
    NastavRezim(REZIM_KOPIE);
    m_pZdroj = pVybrany;
    GotoDlgCtrl(&m_editNazev);
}

void CKvDlgMatEdituj::OnEdituj() {
    CVoxMaterial* pVybrany = VybranyMaterial();
    if (!pVybrany)
        return;
    NaplnFormular(pVybrany);
    NastavRezim(REZIM_EDITACE);
    GotoDlgCtrl(&m_editNazev);
}

void CKvDlgMatEdituj::OnZrus() {
    NastavRezim(REZIM_ZADNY);
    CVoxMaterial* pMaterial = VybranyMaterial();
    NaplnFormular(pMaterial);
}

void CKvDlgMatEdituj::OnSmaz() {
    if (m_nRezim != REZIM_ZADNY)
        return;
    const int nRadek = m_seznam.GetSelectedItem();
    CVoxMaterial* pVybrany = VybranyMaterial();
    if (!pVybrany)
        return;
    try {
        UlozKody();
        CVoxMaterial* pMaterial = nullptr;
        if (!m_kopie.Najdi(pVybrany->GetNazev(), &pMaterial) || !m_kopie.SmazMaterial(pMaterial))
            return;
        m_pProfilKody = nullptr;
        m_seznam.DeleteItem(nRadek);
        const int nPocet = m_seznam.GetItemCount();
        if (nPocet > 0) {
            m_seznam.SelectItem(std::min(nRadek, nPocet - 1));
        } else {
            NaplnProfily(nullptr);
            NaplnFormular(nullptr);
        }
    } catch (const std::exception& e) {
        ZobrazVyjimku(e, GetSafeHwnd());
    }
}

void CKvDlgMatEdituj::OnUloz() {
    if (m_nRezim == REZIM_ZADNY)
        return;
    try {
        CVoxMaterialData data;
        if (!CtiFormular(data))
            return;
        CVoxMaterial* pMaterial = nullptr;
        if (m_nRezim == REZIM_EDITACE) {
            pMaterial = VybranyMaterial();
            if (!pMaterial)
                return;
            if (!pMaterial->Prejmenuj(data.m_strNazev)) {
                Zprava(this, L"Tento název již existuje u jiného materiálu",
                       MB_OK | MB_ICONWARNING);
                return;
            }
            pMaterial->Nastav(data);
        } else {
            if (!m_kopie.NovyMaterial(data.m_strNazev, &pMaterial)) {
                Zprava(this,
                       L"Tento název již existuje u jiného materiálu, možná jen není "
                       L"zobrazen\n(přepněte filtry)",
                       MB_OK | MB_ICONWARNING);
                return;
            }
            pMaterial->Nastav(data);
            if (m_nRezim == REZIM_KOPIE && m_pZdroj) {
                pMaterial->ZahrnProfily(*m_pZdroj);
                // The copy is a new material: nothing outside holds its profiles.
                for (auto& [iDN, pProfil] : pMaterial->Profily())
                    pProfil->Odkazy().Vyprazdni();
            }
        }
        UlozKody();
        m_pProfilKody = nullptr;
        NastavRezim(REZIM_ZADNY);
        // The rows again (a new name has its place in the order); the material shows even when
        // the filters would hide it.
        m_seznam.DeleteAllItems();
        NaplnSeznam();
        int nRadek = m_seznam.FindItemData(reinterpret_cast<DWORD_PTR>(pMaterial));
        if (nRadek < 0) {
            nRadek =
                m_seznam.AddItem(pMaterial->GetNazev(), reinterpret_cast<DWORD_PTR>(pMaterial));
            m_seznam.SetItemText(nRadek, 1, pMaterial->GetPodrobnyPopis());
            m_seznam.SetItemText(nRadek, 2, pMaterial->GetVyrobce());
        }
        m_seznam.SelectItem(nRadek);
    } catch (const std::exception& e) {
        ZobrazVyjimku(e, GetSafeHwnd());
    }
}

// --- Profiles -----------------------------------------------------------------------------------

CString CKvDlgMatEdituj::TextProfilu(int nSloupec, const CVoxProfil* pProfil) const {
    if (!pProfil)
        return CString();
    CString s;
    switch (nSloupec) {
    case SL_PROFIL:
        return pProfil->GetPopis();
    case SL_VNEJSI:
        s.Format(L"%i", pProfil->GetOuter());
        return s;
    case SL_STENA:
        s.Format(L"%.1f", static_cast<double>(pProfil->GetWall()));
        return s;
    case SL_VNITRNI:
        s.Format(L"%.1f", static_cast<double>(pProfil->GetInner()));
        return s;
    case SL_DN: {
        const int iDN = pProfil->GetDN();
        return iDN >= 0 && iDN < POCET_DN ? CString(g_aTabulkaDN[iDN].sText) : CString();
    }
    case SL_SIRKA:
        s.Format(L"%i", static_cast<int>(pProfil->GetSirka()));
        return s;
    default:
        return CString();
    }
}

void CKvDlgMatEdituj::NaplnProfily(CVoxMaterial* pMaterial) {
    m_pProfilKody = nullptr;
    // A circle has an inner diameter; other shapes a height and a width.
    const bool bKruh = !pMaterial || pMaterial->GetTvar() == 0;
    if (m_profily.GetColumnCount() > SL_SIRKA) {
        RECT rect{};
        m_profily.GetClientRect(&rect);
        m_profily.SetColumnText(SL_VNITRNI, bKruh ? L"ID" : L"Výška");
        m_profily.SetColumnWidth(
            SL_SIRKA, bKruh ? 0 : std::max(40, static_cast<int>(rect.right - rect.left) - 320));
    }
    CKvDlgMatVyber::NaplnProfily(pMaterial);
    ZobrazKody(nullptr);
}

CVoxProfil* CKvDlgMatEdituj::VybranyProfil() const {
    const int n = m_profily.GetSelectedItem();
    return n < 0 ? nullptr : reinterpret_cast<CVoxProfil*>(m_profily.GetItemData(n));
}

void CKvDlgMatEdituj::VyberProfil(const CVoxProfil* pProfil) {
    const int n = pProfil ? m_profily.FindItemData(reinterpret_cast<DWORD_PTR>(pProfil)) : -1;
    m_profily.SelectItem(n);
}

CVoxMaterial* CKvDlgMatEdituj::MaterialProfilu() const {
    const int nRadek = m_seznam.GetSelectedItem();
    if (nRadek < 0)
        VOX_THROW("Chyba při načítání položky materiálu");
    auto* pMaterial = reinterpret_cast<CVoxMaterial*>(m_seznam.GetItemData(nRadek));
    if (!pMaterial)
        VOX_THROW("Nenalezena datová položka materiálu");
    return pMaterial;
}

void CKvDlgMatEdituj::UlozKody() {
    if (!m_pProfilKody)
        return;
    CString sMontaz;
    CString sMaterial;
    GetDlgItemText(IDC_PROF_KOD_MONTAZ, sMontaz);
    GetDlgItemText(IDC_PROF_KOD_MATERIAL, sMaterial);
    // Unchanged codes are left alone (a file may have brought a longer one than can be typed).
    if (sMontaz != m_pProfilKody->GetKodMontaz())
        m_pProfilKody->SetKodMontaz(sMontaz);
    if (sMaterial != m_pProfilKody->GetKodMaterial())
        m_pProfilKody->SetKodMaterial(sMaterial);
}

void CKvDlgMatEdituj::ZobrazKody(CVoxProfil* pProfil) {
    m_pProfilKody = pProfil;
    SetDlgItemText(IDC_PROF_KOD_MONTAZ, pProfil ? pProfil->GetKodMontaz() : L"");
    SetDlgItemText(IDC_PROF_KOD_MATERIAL, pProfil ? pProfil->GetKodMaterial() : L"");
    GetDlgItem(IDC_PROF_KOD_MONTAZ)->EnableWindow(pProfil != nullptr);
    GetDlgItem(IDC_PROF_KOD_MATERIAL)->EnableWindow(pProfil != nullptr);
}

void CKvDlgMatEdituj::OnZmenaProfilu(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    try {
        UlozKody();
    } catch (const std::exception& e) {
        ZobrazVyjimku(e, GetSafeHwnd());
    }
    ZobrazKody(VybranyProfil());
}

void CKvDlgMatEdituj::OnPridejProfil() {
    try {
        CVoxMaterial* pMaterial = MaterialProfilu();
        if (pMaterial->GetProfilCount() >= POCET_DN) {
            Zprava(this, L"Nelze přidat již další DN !!", MB_OK | MB_ICONERROR);
            return;
        }
        const CVoxProfil* pVybrany = VybranyProfil();
        int iDN = pMaterial->DalsiVolneDN(pVybrany ? pVybrany->GetDN() : 0);
        if (iDN < 0) {
            if (Zprava(this, L"Nelze přidat již další DN, přidat od začátku?",
                       MB_YESNO | MB_ICONQUESTION) != IDYES)
                return;
            iDN = pMaterial->DalsiVolneDN(0);
            if (iDN < 0) {
                Zprava(this, L"Nelze přidat již další DN !!", MB_OK | MB_ICONERROR);
                return;
            }
        }
        UlozKody();
        CVoxProfil* pNovy = nullptr;
        if (!pMaterial->PridejProfil(iDN, &pNovy))
            VOX_THROW("Nelze přidat profil");
        NaplnProfily(pMaterial);
        VyberProfil(pNovy);
    } catch (const std::exception& e) {
        ZobrazVyjimku(e, GetSafeHwnd());
    }
}

void CKvDlgMatEdituj::OnSmazProfil() {
    if (m_nRezim != REZIM_ZADNY)
        return;
    try {
        CVoxMaterial* pMaterial = MaterialProfilu();
        const int nRadek = m_profily.GetSelectedItem();
        CVoxProfil* pProfil = VybranyProfil();
        if (!pProfil)
            return;
        UlozKody();
        if (!pMaterial->SmazProfil(pProfil))
            return;
        m_pProfilKody = nullptr;
        m_profily.DeleteItem(nRadek);
        const int nPocet = m_profily.GetItemCount();
        if (nPocet > 0)
            m_profily.SelectItem(std::min(nRadek, nPocet - 1));
        else
            ZobrazKody(nullptr);
    } catch (const std::exception& e) {
        ZobrazVyjimku(e, GetSafeHwnd());
    }
}

void CKvDlgMatEdituj::OnSmazProfily() {
    try {
        CVoxMaterial* pMaterial = MaterialProfilu();
        if (Zprava(this, L"Opravdu vymazat všechny profily?\ntento krok je nevratný",
                   MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        m_pProfilKody = nullptr;
        pMaterial->SmazProfily();
        NaplnProfily(pMaterial);
    } catch (const std::exception& e) {
        ZobrazVyjimku(e, GetSafeHwnd());
    }
}

void CKvDlgMatEdituj::OnGeneruj() {
    try {
        CVoxMaterial* pMaterial = MaterialProfilu();
        CKvDlgGetDN dlgDN(this);
        if (dlgDN.DoModal() != IDOK)
            return;
        m_pProfilKody = nullptr;
        pMaterial->GenerujProfily(dlgDN.m_iOd, dlgDN.m_iDo);
        NaplnProfily(pMaterial);
        if (m_profily.GetItemCount() > 0)
            m_profily.SelectItem(0);
    } catch (const std::exception& e) {
        ZobrazVyjimku(e, GetSafeHwnd());
    }
}

void CKvDlgMatEdituj::OnKonecEditace(NMHDR* pHdr, LRESULT* pResult) {
    *pResult = 0;
    auto* pNm = reinterpret_cast<NMTREELIST*>(pHdr);
    auto* pProfil = reinterpret_cast<CVoxProfil*>(m_profily.GetItemData(pNm->nRadek));
    if (!pProfil)
        return;
    try {
        pNm->sOdmitnuti = EditujProfil(pProfil, pNm->nSloupec, pNm->sText);
        if (pNm->sOdmitnuti.IsEmpty() && pNm->nSloupec == SL_DN) {
            // The rows follow the DN order.
            UlozKody();
            NaplnProfily(pProfil->GetMaterial());
            VyberProfil(pProfil);
        }
    } catch (const std::exception& e) {
        // The row shows what the profile holds now.
        ZobrazVyjimku(e, GetSafeHwnd());
    }
}

CString CKvDlgMatEdituj::EditujProfil(CVoxProfil* pProfil, int nSloupec, const CString& sText) {
    if (nSloupec == SL_DN) {
        int iDN = -1;
        for (int i = 0; i < POCET_DN; ++i)
            if (sText == g_aTabulkaDN[i].sText)
                iDN = i;
        if (iDN < 0 || iDN == pProfil->GetDN())
            return CString();
        if (pProfil->GetMaterial() && pProfil->GetMaterial()->Profil(iDN))
            return L"DN již existuje, zadejte jiné DN";
        pProfil->SetDN(iDN, false);
        pProfil->UpdatePopis();
        return CString();
    }

    double dHodnota = 0.0;
    if (!CtiCislo(sText, dHodnota) || dHodnota < 0.0)
        return NENI_CISLO;
    const float fHodnota = static_cast<float>(dHodnota);
    // The DN values of the rows below and above, for rows that have both (2 .. 26).
    const int iDN = pProfil->GetDN();
    const bool bSousede = iDN >= 2 && iDN <= POCET_DN - 2;
    const float fPred = bSousede ? g_aTabulkaDN[iDN - 1].fDN : 0.0f;
    const float fDalsi = bSousede ? g_aTabulkaDN[iDN + 1].fDN : 0.0f;

    switch (nSloupec) {
    case SL_VNEJSI: {
        float fStena = pProfil->GetWall();
        const float fVnitrni = fHodnota - 2.0f * fStena;
        if (bSousede && (fPred * 0.9f >= fVnitrni || fVnitrni >= fDalsi * 1.1f))
            fStena = (fHodnota - (fPred >= fVnitrni ? fPred : fDalsi)) / 2.0f;
        const int nVnejsi = static_cast<int>(fHodnota);
        if (fStena < 0.0f)
            return NEODPOVIDA_DN;
        if (static_cast<float>(nVnejsi) - 2.0f * fStena <= 0.0f)
            return NEMA_DIRU;
        pProfil->SetWall(fStena);
        pProfil->SetOuter(nVnejsi);
        break;
    }
    case SL_STENA: {
        float fVnejsi = static_cast<float>(pProfil->GetOuter());
        const float fVnitrni = fVnejsi - 2.0f * fHodnota;
        if (fVnitrni <= 0.0f)
            return NEMA_DIRU;
        if (bSousede && (fPred >= fVnitrni || fVnitrni >= fDalsi))
            fVnejsi = (fPred >= fVnitrni ? fPred : fDalsi) + 2.0f * fHodnota;
        pProfil->SetWall(fHodnota);
        pProfil->SetOuter(static_cast<int>(fVnejsi));
        break;
    }
    case SL_VNITRNI: {
        if (bSousede && (fPred * 0.9f >= fHodnota || fHodnota >= fDalsi * 1.1f))
            return NEODPOVIDA_DN;
        const CVoxMaterial* pMaterial = pProfil->GetMaterial();
        if ((!pMaterial || pMaterial->GetTvar() == 0) &&
            fHodnota > static_cast<float>(pProfil->GetOuter()))
            return VETSI_NEZ_VNEJSI;
        pProfil->SetInner(fHodnota);
        break;
    }
    case SL_SIRKA:
        pProfil->SetSirka(static_cast<UINT>(dHodnota));
        break;
    default:
        return CString();
    }
    pProfil->UpdatePopis();
    return CString();
}

// --- Loading ------------------------------------------------------------------------------------

bool CKvDlgMatEdituj::SmazatPredNactenim(const wchar_t* sOtazka, const wchar_t* sObsah) {
    TASKDIALOGCONFIG c{};
    c.cbSize = sizeof c;
    c.hwndParent = GetSafeHwnd();
    c.dwCommonButtons = TDCBF_YES_BUTTON | TDCBF_NO_BUTTON | TDCBF_CANCEL_BUTTON;
    c.pszWindowTitle = TITULEK;
    c.pszMainIcon = TD_WARNING_ICON;
    c.pszMainInstruction = sOtazka;
    c.pszContent = sObsah;
    int nTlacitko = IDCANCEL;
    if (FAILED(TaskDialogIndirect(&c, &nTlacitko, nullptr, nullptr)) || nTlacitko == IDCANCEL)
        return false;
    UlozKody();
    m_pProfilKody = nullptr;
    NastavRezim(REZIM_ZADNY);
    if (nTlacitko == IDYES) {
        // Materials in use stay.
        std::vector<CVoxMaterial*> aSmazat;
        for (const auto& [sNazev, pMaterial] : m_kopie.Materialy())
            if (!pMaterial->JePouzivan())
                aSmazat.push_back(pMaterial);
        for (CVoxMaterial* pMaterial : aSmazat)
            m_kopie.SmazMaterial(pMaterial);
    }
    m_seznam.DeleteAllItems();
    NaplnProfily(nullptr);
    return true;
}

void CKvDlgMatEdituj::PoNacteni() {
    m_kopie.SetModified(true);
    m_seznam.DeleteAllItems();
    NaplnSeznam();
    if (m_seznam.GetItemCount() > 0)
        m_seznam.SelectItem(0);
}

void CKvDlgMatEdituj::OnNacistSoubor() {
    try {
        std::wstring sAdresar = CVoxSezMaterialu::CestaSouboru(false);
        const size_t nLomitko = sAdresar.find_last_of(L"\\/");
        sAdresar.erase(nLomitko == std::wstring::npos ? 0 : nLomitko + 1);
        resbuf rb{};
        if (acedGetFileD(L"Vyhledej soubor pro načtení katalogu potrubí", sAdresar.c_str(), L"kvp",
                         0, &rb) != RTNORM ||
            rb.restype != RTSTR || !rb.resval.rstring)
            return;
        std::wstring sCesta = rb.resval.rstring;
        acutDelString(rb.resval.rstring);
        // A bare name is looked for in the folder of the user's catalogue.
        if (sCesta.find_first_of(L"\\/") == std::wstring::npos)
            sCesta = sAdresar + sCesta;

        // The file is opened before anything is deleted, so that a wrong name costs nothing.
        CFile soubor;
        if (!soubor.Open(sCesta.c_str(), CFile::modeRead | CFile::shareDenyWrite)) {
            const std::wstring sZprava = L"Nelze otevřít soubor\n" + sCesta;
            ::MessageBoxW(GetSafeHwnd(), sZprava.c_str(), L"Neočekávaná výjimka",
                          MB_OK | MB_ICONERROR);
            return;
        }
        if (!SmazatPredNactenim(
                L"Vymazat před načtením všechny materiály? (používané materiály vymazat nelze)",
                L"Pozor, tento krok je nevratný. \nNE - načtené materiály budou přidány\n a v "
                L"případě výskytu identických názvů budete vyzváni k přepsání")) {
            soubor.Close();
            return;
        }
        try {
            CArchive ar(&soubor, CArchive::load, 4096);
            m_kopie.Serialize(ar, false);
            ar.Close();
            soubor.Close();
        } catch (CException* e) {
            e->Delete();
            soubor.Abort();
            PoNacteni();
            ::MessageBoxW(GetSafeHwnd(), L"Chyba při čtení ze souboru", L"Neočekávaná výjimka",
                          MB_OK | MB_ICONERROR);
            return;
        } catch (...) {
            soubor.Abort();
            PoNacteni();
            throw;
        }
        PoNacteni();
    } catch (const std::exception& e) {
        ZobrazVyjimku(e, GetSafeHwnd());
    }
}

void CKvDlgMatEdituj::OnNacistStandardni() {
    try {
        if (!SmazatPredNactenim(
                L"Vymazat před načtením všechny materiály (používané materiály vymazat nelze)?",
                L"Pozor, tento krok je nevratný. \nNE - standardní materiály budou přidány\n a v "
                L"případě výskytu identických názvů budete vyzváni k přepsání"))
            return;
        m_kopie.Nacti(true);
        PoNacteni();
    } catch (const std::exception& e) {
        ZobrazVyjimku(e, GetSafeHwnd());
    }
}

// --- OK and Cancel ------------------------------------------------------------------------------

void CKvDlgMatEdituj::OnOK() {
    if (!m_pHlavni) {
        // Run without a list to give the copy to (the choice's DoModal): nothing to keep.
        EndDialog(IDCANCEL);
        return;
    }
    try {
        UlozKody();
        m_pProfilKody = nullptr;
        if (!m_kopie.JeUlozeno())
            m_kopie.Uloz();
        m_pHlavni->Prirad(m_kopie);
        // The holders now belong to the list's new materials and profiles.
        m_kopie.VyprazdniOdkazy();
        m_pHlavni->PresmerujOdkazy();
    } catch (const std::exception& e) {
        ZobrazVyjimku(e, GetSafeHwnd());
        return;
    }
    EndDialog(IDOK);
}

void CKvDlgMatEdituj::OnCancel() {
    try {
        UlozKody();
    } catch (const std::exception& e) {
        ZobrazVyjimku(e, GetSafeHwnd());
    }
    m_pProfilKody = nullptr;
    if (!m_kopie.JeUlozeno()) {
        const int nOdpoved =
            Zprava(this, L"Uložit provedené změny do souboru?", MB_YESNOCANCEL | MB_ICONQUESTION);
        if (nOdpoved == IDCANCEL) {
            ZobrazKody(VybranyProfil());
            return;
        }
        if (nOdpoved == IDYES)
            m_kopie.Uloz();
    }
    m_kopie.VyprazdniOdkazy();
    EndDialog(IDCANCEL);
}

INT_PTR EditujMaterialyDialogem(CVoxSezMaterialu* pSeznam, CWnd* pVlastnik) {
    try {
        CKvDlgMatEdituj dlgEdituj(pVlastnik);
        return dlgEdituj.DoModal(pSeznam, pVlastnik);
    } catch (const std::exception& e) {
        ZobrazVyjimku(e, pVlastnik ? pVlastnik->GetSafeHwnd() : nullptr);
    }
    return IDCANCEL;
}
