// The double-click handler: clicks that it leaves to the host, a frame opened by a double-click,
// and attributes edited in place under the two settings flags.
#include "standardytest.h"

#include "CVoxEntity.h"
#include "CVoxException.h"
#include "CVoxFunkce.h"
#include "DvojKlik.h"
#include "Ramecek.h"

#include <string>

namespace {

class Dvojklik : public standardy::StandardyTest {
protected:
    void TearDown() override {
        EXPECT_EQ(Otevrene(), 0);
        StandardyTest::TearDown();
    }

    // A left double-click at a drawing point (the view brought over it first).
    bool Klik(double x, double y, const wchar_t* sVstup = L"") {
        input(sVstup);
        khost::setViewCenter(x + 3.0, y - 2.0);
        const ads_point pt = {x, y, 0.0};
        CPoint ptPixel;
        EXPECT_TRUE(acedCoordFromWorldToPixel(0, pt, ptPixel));
        MSG msg{};
        msg.hwnd = adsw_acadDocWnd();
        msg.message = WM_LBUTTONDBLCLK;
        msg.lParam = MAKELPARAM(ptPixel.x, ptPixel.y);
        const bool bVysledek = FiltrDvojkliku(&msg);
        m_sPrepis = transcript();
        return bVysledek;
    }

    // A reference at (100, 100) of a block with a line and the attributes B (single line, at
    // the reference) and C (multi-line, 50 above it); with bAtributy false a plain block.
    AcDbObjectId Reference(bool bAtributy) {
        const AcDbObjectId idBlok = VytvorBlok(bAtributy ? L"ATR" : L"PLAIN", db());
        AcDbBlockTableRecord* pBlok = nullptr;
        EXPECT_EQ(acdbOpenObject(pBlok, idBlok, AcDb::kForWrite), Acad::eOk);
        auto* pCara = new AcDbLine(AcGePoint3d(-20, -20, 0), AcGePoint3d(-10, -20, 0));
        pBlok->appendAcDbEntity(pCara);
        pCara->close();
        if (bAtributy) {
            for (int i = 0; i < 2; ++i) {
                auto* pDef = new AcDbAttributeDefinition(AcGePoint3d(0, 50.0 * i, 0), L"výchozí",
                                                         i ? L"C" : L"B", L"?");
                pDef->setHeight(2.5);
                pBlok->appendAcDbEntity(pDef);
                pDef->close();
            }
        }
        pBlok->close();
        CVoxBlokDef def;
        def.m_idBlok = idBlok;
        def.m_ptVlozeni = AcGePoint3d(bAtributy ? 100 : 300, 100, 0);
        if (bAtributy) {
            def.NastavAtribut(L"B", L"jedna");
            def.NastavAtribut(L"C", L"dvě", true);
        }
        AcDbBlockTableRecord* pModel = nullptr;
        EXPECT_EQ(acdbOpenObject(pModel, db()->currentSpaceId(), AcDb::kForWrite), Acad::eOk);
        return VlozBlok(def, pModel);
    }

    std::wstring Atribut(AcDbObjectId idReference, const ACHAR* sTag) {
        AcDbBlockReference* pRef = nullptr;
        EXPECT_EQ(acdbOpenObject(pRef, idReference, AcDb::kForRead), Acad::eOk);
        AcDbAttribute* pAtribut = nullptr;
        std::wstring s;
        if (NajdiAtribut(pRef, sTag, pAtribut)) {
            if (pAtribut->isMTextAttribute()) {
                AcDbMText* pMText = pAtribut->getMTextAttribute();
                ACHAR* sObsah = pMText->contents();
                s = sObsah;
                acutDelString(sObsah);
                delete pMText;
            } else {
                s = pAtribut->textStringConst();
            }
            pAtribut->close();
        }
        pRef->close();
        return s;
    }
    bool has(const std::wstring& s) const { return m_sPrepis.find(s) != std::wstring::npos; }

    std::wstring m_sPrepis;
};

TEST_F(Dvojklik, KlikyProHostitele) {
    g_pNastaveni->m_nAttEditSingle = 1;
    g_pNastaveni->m_nAttEditMLine = 1;
    Reference(false);
    auto* pCara = new AcDbLine(AcGePoint3d(0, -500, 0), AcGePoint3d(100, -500, 0));
    AcDbBlockTableRecord* pModel = nullptr;
    ASSERT_EQ(acdbOpenObject(pModel, db()->currentSpaceId(), AcDb::kForWrite), Acad::eOk);
    pModel->appendAcDbEntity(pCara);
    pCara->close();
    pModel->close();

    EXPECT_FALSE(Klik(5000, 5000)); // empty space
    EXPECT_FALSE(Klik(50, -500));   // a line
    EXPECT_FALSE(Klik(285, 80));    // a block without attributes
    MSG msg{};
    msg.message = WM_LBUTTONDOWN;
    EXPECT_FALSE(FiltrDvojkliku(&msg));
    EXPECT_FALSE(has(L"Edit text"));
    EXPECT_FALSE(has(L"výjimku"));
}

TEST_F(Dvojklik, RamecekOtevreDialog) {
    input(L"N\nOK\n");
    PrikazRam();
    transcript();
    AcDbObjectIdArray aPred;
    {
        CRamecek r;
        r.NajdiRamecky();
        aPred = r.m_aRamecky;
    }
    ASSERT_EQ(aPred.length(), 1);

    // Cancel leaves the frame and still consumes the click.
    EXPECT_TRUE(Klik(0, 100, L"Cancel\n"));
    EXPECT_TRUE(has(L"** Dialog 200: Kresbon pro AutoCad **"));
    {
        CRamecek r;
        r.NajdiRamecky();
        ASSERT_EQ(r.m_aRamecky.length(), 1);
        EXPECT_EQ(r.m_aRamecky[0], aPred[0]);
    }
    // OK rebuilds it.
    EXPECT_TRUE(Klik(0, 100, L"259=841\nOK\n"));
    CRamecek r;
    r.NajdiRamecky();
    ASSERT_EQ(r.m_aRamecky.length(), 1);
    EXPECT_NE(r.m_aRamecky[0], aPred[0]);
}

TEST_F(Dvojklik, AtributyPodleNastaveni) {
    const AcDbObjectId idRef = Reference(true);
    // Only multi-line attributes are edited in place.
    g_pNastaveni->m_nAttEditSingle = 0;
    g_pNastaveni->m_nAttEditMLine = 1;
    EXPECT_FALSE(Klik(101, 101));
    EXPECT_EQ(Atribut(idRef, L"B"), L"jedna");
    EXPECT_TRUE(Klik(101, 150, L"nový text\n"));
    EXPECT_TRUE(has(L"Edit text <dvě>: "));
    EXPECT_EQ(Atribut(idRef, L"C"), L"nový text");

    // Neither flag: nothing is edited.
    g_pNastaveni->m_nAttEditMLine = 0;
    EXPECT_FALSE(Klik(101, 150));
    EXPECT_FALSE(Klik(101, 101));
    EXPECT_FALSE(has(L"Edit text"));

    // Single-line attributes only.
    g_pNastaveni->m_nAttEditSingle = 1;
    EXPECT_FALSE(Klik(101, 150));
    EXPECT_TRUE(Klik(101, 101, L"dva\n"));
    EXPECT_EQ(Atribut(idRef, L"B"), L"dva");
}

} // namespace
