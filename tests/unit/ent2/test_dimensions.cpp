// Dimension styles by accessor and by group code, arrowhead blocks made on demand, and aligned
// dimensions with the blocks that draw them, through a DXF file.
#include "ent2test.h"

#include "acedads.h"
#include "dbarrow.h"

#include <cmath>

using namespace ent2;

namespace {
using Dimensions = Ent2Test;

AcDbObjectId blockNamed(AcDbDatabase* d, const wchar_t* name) {
    AcDbBlockTable* bt = nullptr;
    EXPECT_EQ(d->getBlockTable(bt, AcDb::kForRead), Acad::eOk);
    AcDbObjectId id;
    bt->getAt(name, id);
    bt->close();
    return id;
}
int countBlocks(AcDbDatabase* d) {
    AcDbBlockTable* bt = nullptr;
    EXPECT_EQ(d->getBlockTable(bt, AcDb::kForRead), Acad::eOk);
    int n = bt->numRecords();
    bt->close();
    return n;
}
// The DXF names of a block's entities, in order.
std::vector<std::wstring> contents(AcDbObjectId blockId) {
    std::vector<std::wstring> names;
    AcDbBlockTableRecord* btr = nullptr;
    EXPECT_EQ(acdbOpenObject(btr, blockId, AcDb::kForRead), Acad::eOk);
    if (!btr)
        return names;
    for (AcDbObjectId id : btr->entityIds())
        names.push_back(khostDxfName(khost::peekObject(id)));
    btr->close();
    return names;
}
} // namespace

TEST_F(Dimensions, StyleVariablesByAccessorAndGroupCode) {
    auto* ds = new AcDbDimStyleTableRecord;
    EXPECT_EQ(ds->setName(L"KV_VODA1"), Acad::eOk);
    // Defaults of a metric style.
    EXPECT_DOUBLE_EQ(ds->dimasz(), 2.5);
    EXPECT_EQ(ds->dimtad(), 1);
    EXPECT_EQ(ds->dimdsep(), L',');
    EXPECT_TRUE(ds->dimclrd().isByBlock());

    AcCmColor red;
    red.setColorIndex(1);
    AcCmColor rgb;
    rgb.setRGB(10, 20, 30);
    int sum = 0;
    sum += ds->setDimasz(1.5) + ds->setDimdle(1.25) + ds->setDimexo(2.5) + ds->setDimgap(0.63);
    sum += ds->setDimdsep(L'.') + ds->setDimlunit(2) + ds->setDimsah(false) + ds->setDimtofl(true);
    sum += ds->setDimtxt(2.0) + ds->setDimtmove(2) + ds->setDimatfit(1) + ds->setDimzin(8);
    sum += ds->setDimclrd(red) + ds->setDimclrt(rgb) + ds->setDimse1(true) + ds->setDimsd2(true);
    sum += ds->setDimjust(3) + ds->setDimdec(1) + ds->setDimlwd(AcDb::kLnWt025);
    sum += ds->setDimpost(L"<> mm") + ds->setDimarcsym(2) + ds->setDimjogang(0.5);
    sum += ds->setDimtxsty(db->textstyle());
    EXPECT_EQ(sum, 0);

    // The accessors and the group codes see the same values.
    EXPECT_DOUBLE_EQ(ds->dimVarReal(41), 1.5);
    EXPECT_DOUBLE_EQ(ds->dimVarReal(147), 0.63);
    EXPECT_EQ(ds->dimVarInt(278), L'.');
    EXPECT_EQ(ds->dimVarInt(279), 2);
    EXPECT_EQ(ds->dimVarInt(176), 1);
    EXPECT_EQ(ds->dimVarInt(90), 2);
    EXPECT_EQ(ds->dimVarInt(371), 25);
    EXPECT_EQ(ds->dimVarId(340), db->textstyle());
    EXPECT_EQ(ds->dimclrt(), rgb); // the true colour is kept, the file keeps its index
    resbuf v{};
    v.restype = 144;
    v.resval.rreal = 0.001;
    EXPECT_EQ(ds->setDimVar(144, v), Acad::eOk);
    EXPECT_DOUBLE_EQ(ds->dimlfac(), 0.001);
    v.restype = 999;
    EXPECT_EQ(ds->setDimVar(999, v), Acad::eInvalidInput);
    EXPECT_EQ(ds->dimVar(5000, v), Acad::eKeyNotFound);

    AcDbDimStyleTable* table = nullptr;
    ASSERT_EQ(db->getDimStyleTable(table, AcDb::kForWrite), Acad::eOk);
    AcDbObjectId styleId;
    EXPECT_EQ(table->add(styleId, ds), Acad::eOk);
    table->close();
    ds->close();

    saveAndReload("dimstyle.dxf",
                  "s = doc.dimstyles.get('KV_VODA1')\n"
                  "if s.dxf.dimasz != 1.5 or s.dxf.dimtxsty != 'Standard': print(s.dxf.dimasz)\n"
                  "if s.dxf.dimpost != '<> mm' or s.dxf.dimclrd != 1: print(s.dxf.dimpost)\n");
    ASSERT_NE(reread, nullptr);
    AcDbDimStyleTableRecord* back = nullptr;
    ASSERT_EQ(acdbOpenObject(back, inReread(styleId), AcDb::kForRead), Acad::eOk);
    EXPECT_DOUBLE_EQ(back->dimasz(), 1.5);
    EXPECT_DOUBLE_EQ(back->dimgap(), 0.63);
    EXPECT_DOUBLE_EQ(back->dimlfac(), 0.001);
    EXPECT_DOUBLE_EQ(back->dimjogang(), 0.5);
    EXPECT_EQ(back->dimdsep(), L'.');
    EXPECT_EQ(back->dimarcsym(), 2);
    EXPECT_TRUE(back->dimse1());
    EXPECT_FALSE(back->dimse2());
    EXPECT_TRUE(back->dimsd2());
    EXPECT_EQ(back->dimlwd(), AcDb::kLnWt025);
    EXPECT_EQ(back->dimclrd().colorIndex(), 1);
    EXPECT_EQ(back->dimclrt().colorIndex(), rgb.colorIndex());
    EXPECT_EQ(back->dimpost(), L"<> mm");
    EXPECT_EQ(back->dimtxsty(), reread->textstyle());
    back->close();
}

TEST_F(Dimensions, PredefinedArrowheadBlockIsMadeOnceByAnyRoute) {
    const int before = countBlocks(db.get());
    EXPECT_TRUE(blockNamed(db.get(), L"_DOT").isNull());
    EXPECT_EQ(khost::predefinedArrowheadName(L"_dotsmall"), L"_DotSmall");
    EXPECT_EQ(khost::predefinedArrowheadName(L"ARCHTICK"), L"_ArchTick");
    EXPECT_EQ(khost::predefinedArrowheadName(L"_NOTANARROW"), L"");

    // The system variable names the arrowhead; its block appears with the host's spelling.
    resbuf val{};
    val.restype = RTSTR;
    val.resval.rstring = const_cast<ACHAR*>(L"_DOT");
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"DIMBLK", val), RTNORM);
    const AcDbObjectId dot = blockNamed(db.get(), L"_DOT");
    ASSERT_FALSE(dot.isNull());
    AcDbBlockTableRecord* btr = nullptr;
    ASSERT_EQ(acdbOpenObject(btr, dot, AcDb::kForRead), Acad::eOk);
    AcString name;
    btr->getName(name);
    EXPECT_EQ(name, L"_Dot");
    btr->close();
    EXPECT_EQ(contents(dot), std::vector<std::wstring>{L"LWPOLYLINE"});
    AcString dimblk;
    db->getDimblk(dimblk);
    EXPECT_EQ(dimblk, L"_DOT");

    // Setting it again, or through a style, finds the same block.
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"DIMBLK", val), RTNORM);
    auto* ds = new AcDbDimStyleTableRecord;
    EXPECT_EQ(ds->setDimblk(L"_Dot"), Acad::eOk);
    EXPECT_EQ(ds->dimblk(), dot);
    EXPECT_EQ(ds->setDimblk1(L"_ARCHTICK"), Acad::eOk);
    EXPECT_EQ(ds->setDimblk2(L"."), Acad::eOk);
    EXPECT_TRUE(ds->dimblk2().isNull());
    EXPECT_EQ(ds->setDimldrblk(L"NoSuchBlock"), Acad::eKeyNotFound);
    delete ds;
    EXPECT_EQ(countBlocks(db.get()), before + 2);
    EXPECT_EQ(contents(blockNamed(db.get(), L"_ArchTick")),
              std::vector<std::wstring>{L"LWPOLYLINE"});

    // Every predefined arrowhead can be made, and the drawing stays readable.
    for (const std::wstring& n : khost::predefinedArrowheads()) {
        AcDbObjectId id;
        EXPECT_EQ(khost::arrowheadBlockId(db.get(), n.c_str(), id), Acad::eOk) << narrow(n);
        EXPECT_FALSE(id.isNull());
    }
    EXPECT_EQ(countBlocks(db.get()), before + 19);
    EXPECT_EQ(contents(blockNamed(db.get(), L"_Open")).size(), 3u);
    saveAndReload("arrows.dxf", "if '_Dot' not in doc.blocks: print('no _Dot')\n"
                                "if len(doc.blocks.get('_BoxFilled')) != 2: print('box')\n");
    ASSERT_NE(reread, nullptr);
    EXPECT_EQ(inReread(dot), blockNamed(reread.get(), L"_DOT"));
}

TEST_F(Dimensions, AlignedDimensionDrawsItselfThroughItsBlock) {
    auto* ds = new AcDbDimStyleTableRecord;
    ds->setName(L"KV_VODA2");
    ds->setDimblk(L"_DOT");
    ds->setDimasz(1.0);
    ds->setDimdec(1);
    ds->setDimzin(0);
    ds->setDimdsep(L'.');
    AcDbDimStyleTable* table = nullptr;
    ASSERT_EQ(db->getDimStyleTable(table, AcDb::kForWrite), Acad::eOk);
    AcDbObjectId styleId;
    ASSERT_EQ(table->add(styleId, ds), Acad::eOk);
    table->close();
    ds->close();

    auto* dim = new AcDbAlignedDimension(AcGePoint3d(0, 0, 0), AcGePoint3d(30, 40, 0),
                                         AcGePoint3d(-8, 6, 0), L"", styleId);
    double m = 0;
    dim->measurement(m);
    EXPECT_DOUBLE_EQ(m, 50.0);
    EXPECT_EQ(dim->formattedMeasurement(), L"50.0");
    const AcDbObjectId dimId = append(dim);

    AcDbAlignedDimension* d = nullptr;
    ASSERT_EQ(acdbOpenObject(d, dimId, AcDb::kForWrite), Acad::eOk);
    const AcDbObjectId blockId = d->dimBlockId();
    ASSERT_FALSE(blockId.isNull());
    // Two extension lines, the dimension line, the two arrowheads as references of "_Dot" and
    // the text.
    EXPECT_EQ(contents(blockId), (std::vector<std::wstring>{L"LINE", L"LINE", L"LINE", L"INSERT",
                                                            L"INSERT", L"MTEXT"}));
    // A change rebuilds the same block.
    EXPECT_EQ(d->setDimensionText(L"2x <>"), Acad::eOk);
    EXPECT_EQ(d->setTextPosition(AcGePoint3d(10, 20, 0)), Acad::eOk);
    EXPECT_EQ(d->dimBlockId(), blockId);
    EXPECT_EQ(contents(blockId).size(), 6u);
    d->setHorizontalRotation(0.25);
    // The dimension's own text style overrides its style's; a second override replaces it.
    const AcDbObjectId standard = db->textstyle();
    auto* ts = new AcDbTextStyleTableRecord;
    ts->setName(L"KV_TXT_KOTY");
    AcDbTextStyleTable* styles = nullptr;
    ASSERT_EQ(db->getTextStyleTable(styles, AcDb::kForWrite), Acad::eOk);
    AcDbObjectId textStyleId;
    ASSERT_EQ(styles->add(textStyleId, ts), Acad::eOk);
    styles->close();
    ts->close();
    EXPECT_EQ(d->setDimtxsty(standard), Acad::eOk);
    EXPECT_EQ(d->setDimtxsty(textStyleId), Acad::eOk);
    EXPECT_EQ(d->dimtxsty(), textStyleId);
    d->close();

    // The dimension line passes through the dimension line point, parallel to the measured
    // points.
    AcDbBlockTableRecord* btr = nullptr;
    ASSERT_EQ(acdbOpenObject(btr, blockId, AcDb::kForRead), Acad::eOk);
    auto* dimLine = AcDbLine::cast(khost::peekObject(btr->entityIds()[2]));
    ASSERT_NE(dimLine, nullptr);
    EXPECT_NEAR(dimLine->startPoint().x, -8.0, 1e-9);
    EXPECT_NEAR(dimLine->startPoint().y, 6.0, 1e-9);
    EXPECT_NEAR(dimLine->endPoint().x, 22.0, 1e-9);
    EXPECT_NEAR(dimLine->endPoint().y, 46.0, 1e-9);
    btr->close();

    saveAndReload("dimension.dxf",
                  "d = doc.modelspace().query('DIMENSION')[0]\n"
                  "if d.dxf.dimstyle != 'KV_VODA2' or d.dxf.text != '2x <>': print(d.dxf.text)\n"
                  "if d.dxf.geometry not in doc.blocks: print('no block')\n"
                  "if abs(d.dxf.defpoint3[0] - 30) > 1e-9: print(d.dxf.defpoint3)\n"
                  "o = d.override().get('dimtxsty')\n"
                  "if o != 'KV_TXT_KOTY': print('dimtxsty', o)\n");
    ASSERT_NE(reread, nullptr);
    AcDbAlignedDimension* back = nullptr;
    ASSERT_EQ(acdbOpenObject(back, inReread(dimId), AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(back->xLine1Point(), AcGePoint3d(0, 0, 0));
    EXPECT_EQ(back->xLine2Point(), AcGePoint3d(30, 40, 0));
    EXPECT_NEAR(back->dimLinePoint().distanceTo(AcGePoint3d(22, 46, 0)), 0.0, 1e-9);
    EXPECT_EQ(back->textPosition(), AcGePoint3d(10, 20, 0));
    EXPECT_FALSE(back->isUsingDefaultTextPosition());
    EXPECT_NEAR(back->horizontalRotation(), 0.25, 1e-12);
    EXPECT_EQ(back->dimensionStyle(), inReread(styleId));
    EXPECT_EQ(back->dimBlockId(), inReread(blockId));
    EXPECT_EQ(back->dimtxsty(), inReread(textStyleId));
    AcString text;
    back->dimensionText(text);
    EXPECT_EQ(text, L"2x <>");
    back->close();

    // Moving the dimension moves its points and rebuilds its block.
    AcDbAlignedDimension* mv = nullptr;
    ASSERT_EQ(acdbOpenObject(mv, dimId, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(mv->transformBy(AcGeMatrix3d::translation(AcGeVector3d(100, 0, 0))), Acad::eOk);
    EXPECT_EQ(mv->xLine2Point(), AcGePoint3d(130, 40, 0));
    mv->close();
    ASSERT_EQ(acdbOpenObject(btr, blockId, AcDb::kForRead), Acad::eOk);
    dimLine = AcDbLine::cast(khost::peekObject(btr->entityIds()[2]));
    ASSERT_NE(dimLine, nullptr);
    EXPECT_NEAR(dimLine->startPoint().x, 92.0, 1e-9);
    btr->close();
}
