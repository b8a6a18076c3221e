#include "StdAfx.h"

#include "CKvDlgPropInfo.h"

namespace {

const AfxDialogResource s_dlgPropInfo{{
    .nID = IDD_PROPINFO,
    .sCaption = L"Informace o vybrané entitě",
    .controls =
        {
            {.nID = IDC_PI_ENTITA, .nKind = AfxCtl::Static, .sText = L"Entita:"},
            {.nID = IDC_STATIC, .nKind = AfxCtl::GroupBox, .sText = L"Vlastnosti entity"},
            {.nID = IDC_PI_TYP,
             .nKind = AfxCtl::Edit,
             .sText = L"Typ entity:",
             .dwStyle = ES_READONLY},
            {.nID = IDC_PI_BARVA,
             .nKind = AfxCtl::Edit,
             .sText = L"Barva:",
             .dwStyle = ES_READONLY},
            {.nID = IDC_PI_TYPCARY,
             .nKind = AfxCtl::Edit,
             .sText = L"Typ čáry:",
             .dwStyle = ES_READONLY},
            {.nID = IDC_PI_TLOUSTKA,
             .nKind = AfxCtl::Edit,
             .sText = L"Tloušťka:",
             .dwStyle = ES_READONLY},
            {.nID = IDC_PI_MERITKO,
             .nKind = AfxCtl::Edit,
             .sText = L"Měřítko typu čáry:",
             .dwStyle = ES_READONLY},
            {.nID = IDC_STATIC, .nKind = AfxCtl::GroupBox, .sText = L"Vlastnosti hladiny"},
            {.nID = IDC_PI_HLADINA,
             .nKind = AfxCtl::Edit,
             .sText = L"Hladina:",
             .dwStyle = ES_READONLY},
            {.nID = IDC_PI_HL_BARVA,
             .nKind = AfxCtl::Edit,
             .sText = L"Barva:",
             .dwStyle = ES_READONLY},
            {.nID = IDC_PI_HL_TYPCARY,
             .nKind = AfxCtl::Edit,
             .sText = L"Typ čáry:",
             .dwStyle = ES_READONLY},
            {.nID = IDC_PI_HL_TLOUSTKA,
             .nKind = AfxCtl::Edit,
             .sText = L"Tloušťka:",
             .dwStyle = ES_READONLY},
            {.nID = IDC_PI_BLOK, .nKind = AfxCtl::Static, .sText = L"Blok / XRef:"},
            {.nID = IDC_PI_BL_NAZEV,
             .nKind = AfxCtl::Edit,
             .sText = L"Název:",
             .dwStyle = ES_READONLY},
            {.nID = IDC_PI_BL_BARVA,
             .nKind = AfxCtl::Edit,
             .sText = L"Barva bloku:",
             .dwStyle = ES_READONLY},
            {.nID = IDC_PI_BL_HLADINA,
             .nKind = AfxCtl::Edit,
             .sText = L"Hladina:",
             .dwStyle = ES_READONLY},
            {.nID = IDC_PI_BL_HL_BARVA,
             .nKind = AfxCtl::Edit,
             .sText = L"Barva hladiny:",
             .dwStyle = ES_READONLY},
            {.nID = IDOK, .nKind = AfxCtl::DefPushButton, .sText = L"OK"},
        },
}};

// The dialog's height in dialog units, and the height without the block section.
constexpr int VYSKA_CELA = 222;
constexpr int VYSKA_BEZ_BLOKU = 160;

CString NazevZaznamu(AcDbObjectId id) {
    CString sNazev;
    AcDbSymbolTableRecord* pZaznam = nullptr;
    if (acdbOpenObject(pZaznam, id, AcDb::kForRead) == Acad::eOk) {
        const ACHAR* s = nullptr;
        if (pZaznam->getName(s) == Acad::eOk && s)
            sNazev = s;
        pZaznam->close();
    }
    return sNazev;
}

} // namespace

BEGIN_MESSAGE_MAP(CVoxClrEdit, CEdit)
ON_WM_PAINT()
END_MESSAGE_MAP()

void CVoxClrEdit::OnPaint() {
    Default();
    CClientDC dc(this);
    CRect r;
    GetClientRect(&r);
    r.DeflateRect(2, 2);
    dc.FillSolidRect(&r, m_barva);
    dc.MoveTo(r.left, r.top);
    dc.LineTo(r.right - 1, r.top);
    dc.LineTo(r.right - 1, r.bottom - 1);
    dc.LineTo(r.left, r.bottom - 1);
    dc.LineTo(r.left, r.top);
}

CKvDlgPropInfo::CKvDlgPropInfo(CWnd* pParent) : CKvAcDialog(IDD_PROPINFO, pParent) {}

CString CKvDlgPropInfo::TextTloustky(AcDb::LineWeight nTloustka) {
    switch (static_cast<int>(nTloustka)) {
    case -1:
        return CString(L"DLEHLAD");
    case -2:
        return CString(L"DLEBLOK");
    case -3:
        return CString(L"Výchozí");
    default: {
        CString s;
        s.Format(L"%.1f", static_cast<double>(nTloustka) / 100.0);
        return s;
    }
    }
}

COLORREF CKvDlgPropInfo::Rgb(const AcCmColor& barva) {
    if (barva.isByColor())
        return RGB(barva.red(), barva.green(), barva.blue());
    if (barva.isByACI()) {
        const Adesk::UInt32 n =
            AcCmEntityColor::lookUpRGB(static_cast<Adesk::UInt8>(barva.colorIndex()));
        return RGB((n >> 16) & 0xFF, (n >> 8) & 0xFF, n & 0xFF);
    }
    return RGB(255, 255, 255);
}

void CKvDlgPropInfo::Nastav(const AcDbEntity* pEntita, const AcDbBlockReference* pBlok) {
    m_sTyp = pEntita->isA()->name();
    const AcCmColor barva = pEntita->color();
    m_sBarva = barva.colorNameForDisplay();
    m_editBarva.m_barva = Rgb(barva);
    m_sTypCary = NazevZaznamu(pEntita->linetypeId());
    m_sTloustka = TextTloustky(pEntita->lineWeight());
    m_sMeritko.Format(L"%.2f", pEntita->linetypeScale());

    AcDbLayerTableRecord* pHladina = nullptr;
    if (acdbOpenObject(pHladina, pEntita->layerId(), AcDb::kForRead) == Acad::eOk) {
        const ACHAR* s = nullptr;
        if (pHladina->getName(s) == Acad::eOk && s)
            m_sHladina = s;
        const AcCmColor barvaHl = pHladina->color();
        m_sHlBarva = barvaHl.colorNameForDisplay();
        m_editHlBarva.m_barva = Rgb(barvaHl);
        m_sHlTypCary = NazevZaznamu(pHladina->linetypeObjectId());
        m_sHlTloustka = TextTloustky(pHladina->lineWeight());
        pHladina->close();
    }

    m_bBlok = pBlok != nullptr;
    if (!pBlok)
        return;
    m_sBlNazev = NazevZaznamu(pBlok->blockTableRecord());
    const AcCmColor barvaBl = pBlok->color();
    m_sBlBarva = barvaBl.colorNameForDisplay();
    m_editBlBarva.m_barva = Rgb(barvaBl);
    AcDbLayerTableRecord* pHlBloku = nullptr;
    if (acdbOpenObject(pHlBloku, pBlok->layerId(), AcDb::kForRead) == Acad::eOk) {
        const ACHAR* s = nullptr;
        if (pHlBloku->getName(s) == Acad::eOk && s)
            m_sBlHladina = s;
        const AcCmColor barvaHl = pHlBloku->color();
        m_sBlHlBarva = barvaHl.colorNameForDisplay();
        m_editBlHlBarva.m_barva = Rgb(barvaHl);
        pHlBloku->close();
    }
}

void CKvDlgPropInfo::DoDataExchange(CDataExchange* pDX) {
    CKvAcDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PI_BARVA, m_editBarva);
    DDX_Control(pDX, IDC_PI_HL_BARVA, m_editHlBarva);
    DDX_Control(pDX, IDC_PI_BL_BARVA, m_editBlBarva);
    DDX_Control(pDX, IDC_PI_BL_HL_BARVA, m_editBlHlBarva);
    DDX_Text(pDX, IDC_PI_TYP, m_sTyp);
    DDX_Text(pDX, IDC_PI_BARVA, m_sBarva);
    DDX_Text(pDX, IDC_PI_TYPCARY, m_sTypCary);
    DDX_Text(pDX, IDC_PI_TLOUSTKA, m_sTloustka);
    DDX_Text(pDX, IDC_PI_MERITKO, m_sMeritko);
    DDX_Text(pDX, IDC_PI_HLADINA, m_sHladina);
    DDX_Text(pDX, IDC_PI_HL_BARVA, m_sHlBarva);
    DDX_Text(pDX, IDC_PI_HL_TYPCARY, m_sHlTypCary);
    DDX_Text(pDX, IDC_PI_HL_TLOUSTKA, m_sHlTloustka);
    DDX_Text(pDX, IDC_PI_BL_NAZEV, m_sBlNazev);
    DDX_Text(pDX, IDC_PI_BL_BARVA, m_sBlBarva);
    DDX_Text(pDX, IDC_PI_BL_HLADINA, m_sBlHladina);
    DDX_Text(pDX, IDC_PI_BL_HL_BARVA, m_sBlHlBarva);
}

BOOL CKvDlgPropInfo::OnInitDialog() {
    CKvAcDialog::OnInitDialog();
    if (!GetDlgItem(IDC_PI_ENTITA) || !GetDlgItem(IDC_PI_BLOK)) {
        acutPrintf(L"\nNeznámá chyba při inicializaci dialogu!!!");
        return FALSE;
    }
    NastavTucne(IDC_PI_ENTITA);
    NastavTucne(IDC_PI_BLOK);
    if (!m_bBlok) {
        for (int nId :
             {IDC_PI_BLOK, IDC_PI_BL_BARVA, IDC_PI_BL_HLADINA, IDC_PI_BL_NAZEV, IDC_PI_BL_HL_BARVA})
            if (CWnd* pOkno = GetDlgItem(nId))
                pOkno->ShowWindow(SW_HIDE);
        CRect r;
        GetWindowRect(&r);
        SetWindowPos(nullptr, 0, 0, r.Width(), r.Height() * VYSKA_BEZ_BLOKU / VYSKA_CELA,
                     SWP_NOMOVE | SWP_NOZORDER);
    }
    return TRUE;
}
