// Layer descriptions in extended data, linetypes with text and shape elements, text style
// fonts, and the display names of colours.
#include "ent2test.h"

using namespace ent2;

namespace {
using Records = Ent2Test;

template <class Table, class Record>
AcDbObjectId addRecord(AcDbDatabase* d, Record* rec,
                       Acad::ErrorStatus (AcDbDatabase::*get)(Table*&, AcDb::OpenMode)) {
    Table* t = nullptr;
    EXPECT_EQ((d->*get)(t, AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(t->add(id, rec), Acad::eOk);
    t->close();
    return id;
}

// The strings of one application's part of an object's extended data.
std::vector<std::wstring> xdataStrings(AcDbObject* o, const wchar_t* app) {
    std::vector<std::wstring> out;
    resbuf* x = o->xData(app);
    for (const resbuf* rb = x; rb; rb = rb->rbnext)
        if (rb->restype == 1000)
            out.emplace_back(rb->resval.rstring);
    acutRelRb(x);
    return out;
}
} // namespace

TEST_F(Records, LayerDescriptionLivesInTheApplicationsExtendedData) {
    auto* layer = new AcDbLayerTableRecord;
    layer->setName(L"KB_ZT-voda_SV");
    // Set before the layer is in a drawing: the extended data follows when it is added.
    EXPECT_EQ(layer->setDescription(L"TEBU_1_ZT-voda_SV"), Acad::eOk);
    AcCmColor c;
    c.setColorIndex(150);
    layer->setColor(c);
    const AcDbObjectId id = addRecord(db.get(), layer, &AcDbDatabase::getLayerTable);
    EXPECT_EQ(xdataStrings(layer, L"AcAecLayerStandard"),
              (std::vector<std::wstring>{L"", L"TEBU_1_ZT-voda_SV"}));
    AcDbRegAppTable* apps = nullptr;
    ASSERT_EQ(db->getRegAppTable(apps, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(apps->has(L"AcAecLayerStandard"));
    apps->close();
    // Changing it replaces the part; extended data given directly sets it.
    EXPECT_EQ(layer->setDescription(L"nový popis"), Acad::eOk);
    EXPECT_EQ(xdataStrings(layer, L"AcAecLayerStandard"),
              (std::vector<std::wstring>{L"", L"nový popis"}));
    resbuf* x = acutBuildList(1001, L"AcAecLayerStandard", 1000, L"", 1000, L"z dat", 0);
    EXPECT_EQ(layer->setXData(x), Acad::eOk);
    acutRelRb(x);
    AcString d;
    layer->description(d);
    EXPECT_EQ(d, L"z dat");
    EXPECT_FALSE(layer->isInUse());
    ACHAR* ps = layer->plotStyleName();
    EXPECT_STREQ(ps, L"Normal");
    acutDelString(ps);
    EXPECT_EQ(layer->setPlotStyleName(L"Normal"), Acad::eOk);
    EXPECT_FALSE(layer->plotStyleNameId().isNull());
    EXPECT_EQ(layer->setPlotStyleName(L"Tlusta"), Acad::eKeyNotFound);
    layer->close();

    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    line->setLayer(id);
    append(line);
    AcDbLayerTableRecord* l = nullptr;
    ASSERT_EQ(acdbOpenObject(l, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_TRUE(l->isInUse());
    // An empty description removes the part.
    EXPECT_EQ(l->setDescription(L""), Acad::eOk);
    EXPECT_TRUE(xdataStrings(l, L"AcAecLayerStandard").empty());
    EXPECT_EQ(l->setDescription(L"TEBU_1_ZT-voda_SV"), Acad::eOk);
    l->close();

    saveAndReload("layers.dxf",
                  "l = doc.layers.get('KB_ZT-voda_SV')\n"
                  "if l.description != 'TEBU_1_ZT-voda_SV': print(repr(l.description))\n"
                  "if l.color != 150: print(l.color)\n");
    ASSERT_NE(reread, nullptr);
    AcDbLayerTableRecord* back = nullptr;
    ASSERT_EQ(acdbOpenObject(back, inReread(id), AcDb::kForRead), Acad::eOk);
    back->description(d);
    EXPECT_EQ(d, L"TEBU_1_ZT-voda_SV");
    EXPECT_EQ(xdataStrings(back, L"AcAecLayerStandard"),
              (std::vector<std::wstring>{L"", L"TEBU_1_ZT-voda_SV"}));
    back->close();
}

TEST_F(Records, LinetypeWithTextAndShapeElements) {
    auto* shx = new AcDbTextStyleTableRecord;
    shx->setName(L"");
    shx->setIsShapeFile(true);
    shx->setFileName(L"KV_IS.shx");
    AcDbTextStyleTable* ts = nullptr;
    ASSERT_EQ(db->getTextStyleTable(ts, AcDb::kForWrite), Acad::eOk);
    AcDbObjectId shapeStyle;
    // A shape file's style has no name; give it one the table accepts.
    shx->setName(L"KV_IS");
    ASSERT_EQ(ts->add(shapeStyle, shx), Acad::eOk);
    ts->close();
    shx->close();

    auto* lt = new AcDbLinetypeTableRecord;
    lt->setName(L"_SV");
    EXPECT_EQ(lt->setComments(L"Studená voda ---- SV ----"), Acad::eOk);
    lt->setNumDashes(4);
    lt->setPatternLength(17.5);
    lt->setDashLengthAt(0, 10.0);
    lt->setDashLengthAt(1, -3.5);
    lt->setShapeStyleAt(1, db->textstyle());
    EXPECT_EQ(lt->setTextAt(1, L"SV"), Acad::eOk);
    lt->setShapeScaleAt(1, 2.0);
    lt->setShapeOffsetAt(1, AcGeVector2d(-1.5, -1.0));
    lt->setShapeIsUcsOrientedAt(1, true);
    lt->setShapeRotationAt(1, 0.0);
    lt->setDashLengthAt(2, -2.0);
    lt->setShapeStyleAt(2, shapeStyle);
    lt->setShapeNumberAt(2, 131);
    lt->setShapeScaleAt(2, 0.5);
    lt->setShapeRotationAt(2, 0.25);
    lt->setDashLengthAt(3, -2.0);
    EXPECT_EQ(lt->setTextAt(9, L"x"), Acad::eInvalidIndex);
    const AcDbObjectId id = addRecord(db.get(), lt, &AcDbDatabase::getLinetypeTable);
    lt->close();

    saveAndReload("linetypes.dxf",
                  "lt = doc.linetypes.get('_SV')\n"
                  "t = [tuple(x) for x in lt.pattern_tags.tags]\n"
                  "if (74, 3) not in t or (9, 'SV') not in t or (75, 131) not in t: print(t)\n");
    ASSERT_NE(reread, nullptr);
    AcDbLinetypeTableRecord* back = nullptr;
    ASSERT_EQ(acdbOpenObject(back, inReread(id), AcDb::kForRead), Acad::eOk);
    ASSERT_EQ(back->numDashes(), 4);
    EXPECT_DOUBLE_EQ(back->patternLength(), 17.5);
    EXPECT_DOUBLE_EQ(back->dashLengthAt(1), -3.5);
    const ACHAR* text = nullptr;
    ASSERT_EQ(back->textAt(1, text), Acad::eOk);
    EXPECT_STREQ(text, L"SV");
    EXPECT_EQ(back->shapeStyleAt(1), reread->textstyle());
    EXPECT_TRUE(back->shapeIsUcsOrientedAt(1));
    EXPECT_EQ(back->shapeOffsetAt(1), AcGeVector2d(-1.5, -1.0));
    EXPECT_DOUBLE_EQ(back->shapeScaleAt(1), 2.0);
    EXPECT_EQ(back->shapeNumberAt(2), 131);
    EXPECT_EQ(back->shapeStyleAt(2), inReread(shapeStyle));
    EXPECT_FALSE(back->shapeIsUcsOrientedAt(2));
    EXPECT_DOUBLE_EQ(back->shapeRotationAt(2), 0.25);
    ASSERT_EQ(back->textAt(2, text), Acad::eOk);
    EXPECT_STREQ(text, L"");
    EXPECT_TRUE(back->shapeStyleAt(3).isNull());
    AcString comments;
    back->comments(comments);
    EXPECT_EQ(comments, L"Studená voda ---- SV ----");
    back->close();
}

TEST_F(Records, TextStyleFontAndFlags) {
    auto* st = new AcDbTextStyleTableRecord;
    st->setName(L"KV_TXT_MALY");
    int sum = 0;
    sum += st->setFileName(L"arialn.ttf");
    sum += st->setFont(L"Arial Narrow", true, false, 1, 34, true);
    sum += st->setObliquingAngle(0.0) + st->setPriorSize(2.0) + st->setTextSize(0.0);
    sum += st->setXScale(0.8);
    EXPECT_EQ(sum, 0);
    st->setIsVertical(false);
    st->setFlagBits(0);
    EXPECT_EQ(st->setXScale(0.0), Acad::eInvalidInput);
    const AcDbObjectId id = addRecord(db.get(), st, &AcDbDatabase::getTextStyleTable);
    resbuf* x = st->xData(L"ACAD");
    ASSERT_NE(x, nullptr);
    ASSERT_NE(x->rbnext, nullptr);
    EXPECT_STREQ(x->rbnext->resval.rstring, L"Arial Narrow");
    ASSERT_NE(x->rbnext->rbnext, nullptr);
    EXPECT_EQ(x->rbnext->rbnext->resval.rlong, 0x2000000 | (1 << 8) | 34);
    acutRelRb(x);
    st->close();

    saveAndReload("styles.dxf", "s = doc.styles.get('KV_TXT_MALY')\n"
                                "if s.dxf.font != 'arialn.ttf' or s.dxf.width != 0.8: print(s)\n");
    ASSERT_NE(reread, nullptr);
    AcDbTextStyleTableRecord* back = nullptr;
    ASSERT_EQ(acdbOpenObject(back, inReread(id), AcDb::kForRead), Acad::eOk);
    AcString face, file;
    bool bold = false, italic = true;
    int charset = 0, pitch = 0;
    ASSERT_EQ(back->font(face, bold, italic, charset, pitch), Acad::eOk);
    EXPECT_EQ(face, L"Arial Narrow");
    EXPECT_TRUE(bold);
    EXPECT_FALSE(italic);
    EXPECT_EQ(charset, 1);
    EXPECT_EQ(pitch, 34);
    back->fileName(file);
    EXPECT_EQ(file, L"arialn.ttf");
    EXPECT_DOUBLE_EQ(back->xScale(), 0.8);
    EXPECT_DOUBLE_EQ(back->priorSize(), 2.0);
    back->close();
}

TEST(Colors, NamesForDisplayAndColourBooks) {
    AcCmColor c;
    EXPECT_STREQ(c.colorNameForDisplay(), L"ByLayer");
    c.setColorIndex(0);
    EXPECT_STREQ(c.colorNameForDisplay(), L"ByBlock");
    const wchar_t* names[] = {L"red", L"yellow", L"green", L"cyan", L"blue", L"magenta", L"white"};
    for (int i = 1; i <= 7; ++i) {
        c.setColorIndex(static_cast<Adesk::Int16>(i));
        EXPECT_STREQ(c.colorNameForDisplay(), names[i - 1]);
    }
    c.setColorIndex(150);
    EXPECT_STREQ(c.colorNameForDisplay(), L"150");
    c.setRGB(255, 128, 0);
    EXPECT_STREQ(c.colorNameForDisplay(), L"255,128,0");
    EXPECT_EQ(c.setNames(L"Oranžová", L"Kresbon"), Acad::eOk);
    EXPECT_STREQ(c.colorNameForDisplay(), L"Oranžová");
    EXPECT_STREQ(c.bookName(), L"Kresbon");
    // A copy keeps the names; changing the colour drops them.
    AcCmColor copy = c;
    EXPECT_EQ(copy, c);
    copy.setRGB(255, 128, 0);
    EXPECT_FALSE(copy.hasColorName());
    EXPECT_NE(copy, c);
    EXPECT_STREQ(copy.colorNameForDisplay(), L"255,128,0");
    c.setColorIndex(3);
    EXPECT_EQ(c.setNames(L"x"), Acad::eNotApplicable);
    EXPECT_EQ(c.setNames(nullptr, L"book"), Acad::eInvalidInput);

    // The 32-bit colour values of multileaders.
    AcCmColor blue;
    blue.setColorIndex(5);
    EXPECT_EQ(khost::colorToRaw(blue), static_cast<Adesk::Int32>(0xC3000005u));
    EXPECT_EQ(khost::colorFromRaw(static_cast<Adesk::Int32>(0xC1000000u)).isByBlock(), true);
    EXPECT_EQ(khost::colorFromRaw(static_cast<Adesk::Int32>(0xC2FF8000u)).trueColor(), 0xFF8000u);
    EXPECT_EQ(khost::colorFromRaw(khost::colorToRaw(blue)), blue);
}
