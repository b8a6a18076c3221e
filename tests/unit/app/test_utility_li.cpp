// "li": the properties of a picked entity in a dialog, with and without the block section.
#include "../sel/seltest.h"

#include "CKvDlgPropInfo.h"
#include "InfoPrikazy.h"

using namespace seltest;

namespace {

class Li : public SelTest {};

TEST_F(Li, LineInModelSpaceShowsNoBlockSection) {
    auto* pL = line(0, 0, 10, 0);
    pL->setLineWeight(AcDb::kLnWt050);
    pL->setLinetypeScale(2.5);
    pL->setColorIndex(1);
    add(pL);
    type(L"5,0\nOK\n");
    PrikazLi();
    const std::wstring t = transcript();
    EXPECT_NE(t.find(L"\nVyber entitu (i v bloku nebo v referenci): "), std::wstring::npos);
    EXPECT_NE(t.find(L"Informace o vybrané entitě"), std::wstring::npos) << t;
    EXPECT_NE(t.find(L"\"Typ entity:\" = \"AcDbLine\""), std::wstring::npos) << t;
    EXPECT_NE(t.find(L"\"Tloušťka:\" = \"0.5\""), std::wstring::npos) << t;
    EXPECT_NE(t.find(L"\"Měřítko typu čáry:\" = \"2.50\""), std::wstring::npos) << t;
    EXPECT_NE(t.find(L"\"Barva:\" = \"red\""), std::wstring::npos) << t;
    EXPECT_NE(t.find(L"\"Název:\" = \"\" (hidden)"), std::wstring::npos) << t;
}

TEST_F(Li, TextInsideABlockShowsTheBlock) {
    const AcDbObjectId idBlok = defineBlock(L"ARMATURA");
    add(text(0, 0, L"XY", 2.0), idBlok);
    const AcDbObjectId idHl = layer(L"ARMATURY");
    auto* pRef = new AcDbBlockReference(AcGePoint3d(100, 100, 0), idBlok);
    pRef->setLayer(idHl);
    add(pRef);
    type(L"101,101\nOK\n");
    PrikazLi();
    const std::wstring t = transcript();
    EXPECT_NE(t.find(L"\"Typ entity:\" = \"AcDbText\""), std::wstring::npos) << t;
    EXPECT_NE(t.find(L"\"Název:\" = \"ARMATURA\""), std::wstring::npos) << t;
    EXPECT_NE(t.find(L"\"Hladina:\" = \"ARMATURY\""), std::wstring::npos) << t;
    EXPECT_NE(t.find(L"\"Tloušťka:\" = \"DLEHLAD\""), std::wstring::npos) << t;
    EXPECT_EQ(t.find(L"(hidden)"), std::wstring::npos) << t;
}

TEST(LiTexty, LineweightsAndColours) {
    EXPECT_EQ(CKvDlgPropInfo::TextTloustky(AcDb::kLnWtByLayer), CString(L"DLEHLAD"));
    EXPECT_EQ(CKvDlgPropInfo::TextTloustky(AcDb::kLnWtByBlock), CString(L"DLEBLOK"));
    EXPECT_EQ(CKvDlgPropInfo::TextTloustky(AcDb::kLnWtByLwDefault), CString(L"Výchozí"));
    EXPECT_EQ(CKvDlgPropInfo::TextTloustky(AcDb::kLnWt013), CString(L"0.1"));
    AcCmColor c;
    c.setColorIndex(1);
    EXPECT_EQ(CKvDlgPropInfo::Rgb(c), RGB(255, 0, 0));
    c.setRGB(10, 20, 30);
    EXPECT_EQ(CKvDlgPropInfo::Rgb(c), RGB(10, 20, 30));
}

} // namespace
