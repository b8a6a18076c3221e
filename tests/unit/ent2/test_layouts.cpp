// Layouts made by the host's layout manager and their plot settings, through a DXF file.
#include "ent2test.h"

using namespace ent2;

namespace {
using Layouts = Ent2Test;
}

TEST_F(Layouts, CreatedLayoutHasItsOwnPaperSpaceBlockAndTab) {
    AcDbLayoutManager* lm = acdbLayoutManager();
    EXPECT_EQ(lm->countLayouts(), 2);
    AcDbObjectId layoutId, blockId;
    ASSERT_EQ(lm->createLayout(L"Rozvody", layoutId, blockId), Acad::eOk);
    EXPECT_EQ(lm->countLayouts(), 3);
    EXPECT_EQ(lm->findLayoutNamed(L"ROZVODY"), layoutId);
    AcDbObjectId id2, block2;
    EXPECT_EQ(lm->createLayout(L"rozvody", id2, block2), Acad::eDuplicateRecordName);
    EXPECT_TRUE(id2.isNull());
    EXPECT_EQ(lm->createLayout(L"", id2, block2), Acad::eInvalidInput);
    ASSERT_EQ(lm->createLayout(L"Detail", id2, block2), Acad::eOk);

    AcDbLayout* layout = nullptr;
    ASSERT_EQ(acdbOpenObject(layout, layoutId, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(layout->getBlockTableRecordId(), blockId);
    EXPECT_EQ(layout->getTabOrder(), 2);
    EXPECT_FALSE(layout->modelType());
    EXPECT_EQ(layout->setPlotPaperSize(420.0, 297.0), Acad::eOk);
    EXPECT_EQ(layout->setPlotPaperSize(0.0, 297.0), Acad::eInvalidInput);
    EXPECT_EQ(layout->setCanonicalMediaName(L"ISO_A3_(420.00_x_297.00_MM)"), Acad::eOk);
    EXPECT_EQ(layout->setPlotRotation(AcDbPlotSettings::k90degrees), Acad::eOk);
    layout->close();

    AcDbBlockTableRecord* btr = nullptr;
    ASSERT_EQ(acdbOpenObject(btr, blockId, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(btr->getLayoutId(), layoutId);
    EXPECT_TRUE(btr->isLayout());
    AcString name;
    btr->getName(name);
    EXPECT_EQ(name, L"*Paper_Space0");
    btr->close();
    AcDbBlockTableRecord* btr2 = nullptr;
    ASSERT_EQ(acdbOpenObject(btr2, block2, AcDb::kForRead), Acad::eOk);
    btr2->getName(name);
    EXPECT_EQ(name, L"*Paper_Space1");
    btr2->close();

    saveAndReload("layouts.dxf",
                  "names = set(doc.layouts.names())\n"
                  "if names != {'Model', 'Layout1', 'Rozvody', 'Detail'}: print(names)\n"
                  "if doc.layouts.get('Rozvody').dxf_layout.dxf.paper_width != 420: print('w')\n");
    ASSERT_NE(reread, nullptr);
    AcDbLayout* back = nullptr;
    ASSERT_EQ(acdbOpenObject(back, inReread(layoutId), AcDb::kForRead), Acad::eOk);
    back->getLayoutName(name);
    EXPECT_EQ(name, L"Rozvody");
    EXPECT_EQ(back->getTabOrder(), 2);
    EXPECT_EQ(back->getBlockTableRecordId(), inReread(blockId));
    double w = 0, h = 0;
    back->getPlotPaperSize(w, h);
    EXPECT_EQ(w, 420.0);
    EXPECT_EQ(h, 297.0);
    EXPECT_EQ(back->plotRotation(), AcDbPlotSettings::k90degrees);
    const ACHAR* media = nullptr;
    back->getCanonicalMediaName(media);
    EXPECT_STREQ(media, L"ISO_A3_(420.00_x_297.00_MM)");
    back->close();
}
