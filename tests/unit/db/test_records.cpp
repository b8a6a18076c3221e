// Records and objects through their fields: layers, linetypes, dimension styles, raw objects,
// colours, and a database filled the way a reader fills it.
#include "dbtest.h"

#include <vector>

using Records = DbTest;

namespace {
// Writes an object's fields and reads them into a fresh object of the same class.
template <class T> T* roundTrip(AcDbDatabase* db, const T* src) {
    khost::RbChainFiler out(db);
    EXPECT_EQ(src->dxfOutFields(&out), Acad::eOk);
    resbuf* chain = out.takeChain();
    auto* copy = static_cast<T*>(khost::createDbObject(src->isA()->name()));
    EXPECT_NE(copy, nullptr);
    khost::RbChainFiler in(db, chain);
    EXPECT_EQ(copy->dxfInFields(&in), Acad::eOk);
    EXPECT_TRUE(in.atEOF());
    acutRelRb(chain);
    return copy;
}
} // namespace

TEST_F(Records, LayerFieldsSurviveTheFiler) {
    auto* layer = new AcDbLayerTableRecord;
    layer->setName(L"Kanalizace");
    AcCmColor c;
    c.setRGB(10, 200, 30);
    layer->setColor(c);
    layer->setIsOff(true);
    layer->setIsLocked(true);
    layer->setLinetypeObjectId(db->continuousLinetype());
    layer->setLineWeight(AcDb::kLnWt050);
    layer->setIsPlottable(false);
    layer->setDescription(L"Splašková");
    EXPECT_EQ(layer->setLineWeight(AcDb::kLnWtByLayer), Acad::eInvalidInput);
    AcDbLayerTableRecord* copy = roundTrip(db.get(), layer);
    AcString name;
    copy->getName(name);
    EXPECT_EQ(name, L"Kanalizace");
    EXPECT_TRUE(copy->isOff());
    EXPECT_TRUE(copy->isLocked());
    EXPECT_FALSE(copy->isFrozen());
    EXPECT_EQ(copy->color().colorMethod(), AcCmEntityColor::kByColor);
    EXPECT_EQ(copy->color().trueColor(), 0x0AC81Eu);
    EXPECT_EQ(copy->linetypeObjectId(), db->continuousLinetype());
    EXPECT_EQ(copy->lineWeight(), AcDb::kLnWt050);
    EXPECT_FALSE(copy->isPlottable());
    delete copy;
    delete layer;
}

TEST_F(Records, LinetypeDashesAndShapes) {
    auto* lt = new AcDbLinetypeTableRecord;
    lt->setName(L"KV_PLYN");
    lt->setComments(L"Plyn ---- G ----");
    lt->setPatternLength(15.0);
    lt->setNumDashes(3);
    lt->setDashLengthAt(0, 10.0);
    lt->setDashLengthAt(1, -2.5);
    lt->setDashLengthAt(2, -2.5);
    AcDbTextStyleTable* tst = nullptr;
    ASSERT_EQ(db->getTextStyleTable(tst), Acad::eOk);
    AcDbObjectId standard;
    tst->getAt(L"Standard", standard);
    tst->close();
    lt->setShapeStyleAt(1, standard);
    EXPECT_EQ(lt->setTextAt(1, L"G"), Acad::eOk);
    lt->setShapeScaleAt(1, 0.5);
    lt->setShapeOffsetAt(1, AcGeVector2d(-1.0, -0.25));
    EXPECT_EQ(lt->setTextAt(7, L"x"), Acad::eInvalidIndex);
    EXPECT_EQ(lt->dashLengthAt(9), 0.0);

    AcDbLinetypeTableRecord* copy = roundTrip(db.get(), lt);
    ASSERT_EQ(copy->numDashes(), 3);
    EXPECT_EQ(copy->patternLength(), 15.0);
    EXPECT_EQ(copy->dashLengthAt(0), 10.0);
    EXPECT_EQ(copy->dashLengthAt(2), -2.5);
    EXPECT_EQ(copy->shapeStyleAt(1), standard);
    EXPECT_TRUE(copy->shapeStyleAt(0).isNull());
    const ACHAR* text = nullptr;
    copy->textAt(1, text);
    EXPECT_STREQ(text, L"G");
    EXPECT_EQ(copy->shapeScaleAt(1), 0.5);
    EXPECT_EQ(copy->shapeOffsetAt(1).y, -0.25);
    AcString comments;
    copy->comments(comments);
    EXPECT_EQ(comments, L"Plyn ---- G ----");
    delete copy;
    delete lt;
}

TEST_F(Records, DimensionStyleKeepsVariablesByGroupCode) {
    auto* ds = new AcDbDimStyleTableRecord;
    ds->setName(L"KV_KOTA");
    EXPECT_EQ(ds->dimasz(), 2.5); // a default
    EXPECT_EQ(ds->setDimasz(1.8), Acad::eOk);
    EXPECT_EQ(ds->setDimtad(1), Acad::eOk);
    EXPECT_EQ(ds->setDimpost(L"<> mm"), Acad::eOk);
    AcDbTextStyleTable* tst = nullptr;
    ASSERT_EQ(db->getTextStyleTable(tst), Acad::eOk);
    AcDbObjectId standard;
    tst->getAt(L"Standard", standard);
    tst->close();
    EXPECT_EQ(ds->setDimtxsty(standard), Acad::eOk);
    AcCmColor red;
    red.setColorIndex(1);
    ds->setDimclrt(red);
    resbuf bad{};
    bad.restype = 1000;
    EXPECT_EQ(ds->setDimVar(1000, bad), Acad::eInvalidInput);
    resbuf none{};
    EXPECT_EQ(ds->dimVar(999, none), Acad::eKeyNotFound);

    AcDbDimStyleTableRecord* copy = roundTrip(db.get(), ds);
    EXPECT_EQ(copy->dimasz(), 1.8);
    EXPECT_EQ(copy->dimtad(), 1);
    EXPECT_EQ(copy->dimtxsty(), standard);
    EXPECT_EQ(copy->dimclrt().colorIndex(), 1);
    EXPECT_EQ(copy->dimpost(), L"<> mm");
    EXPECT_EQ(copy->dimtxt(), 2.5);
    delete copy;
    delete ds;
}

TEST_F(Records, RawObjectsKeepTheirGroups) {
    auto* raw = new AcDbRawObject(L"MLEADERSTYLE", L"AcDbMLeaderStyle");
    resbuf* data =
        acutBuildList(100, L"AcDbMLeaderStyle", 179, 2, 170, 2, 171, 1, 40, 0.0, 3, L"Standard", 0);
    ASSERT_EQ(raw->setRawData(data), Acad::eOk);
    AcDbDictionary* styles = nullptr;
    ASSERT_EQ(db->getMLeaderStyleDictionary(styles, AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    ASSERT_EQ(styles->setAt(L"KV_SIPKA", raw, id), Acad::eOk);
    styles->close();
    EXPECT_STREQ(khostDxfName(raw), L"MLEADERSTYLE");
    AcDbRawObject* copy = roundTrip(db.get(), raw);
    raw->close();
    int n = 0;
    const resbuf* p = data;
    const resbuf* q = copy->rawData();
    for (; p && q; p = p->rbnext, q = q->rbnext, ++n)
        EXPECT_EQ(p->restype, q->restype);
    EXPECT_EQ(n, 6);
    EXPECT_EQ(q, nullptr);
    EXPECT_EQ(copy->ownerId(), db->mleaderStyleDictionaryId());
    delete copy;
    acutRelRb(data);
    // The style can now be made current.
    EXPECT_EQ(db->setMLeaderstyle(id), Acad::eOk);
    EXPECT_EQ(db->setMLeaderstyle(db->layerZero()), Acad::eInvalidInput);
}

TEST_F(Records, ColoursAndTheirText) {
    EXPECT_EQ(AcCmEntityColor::lookUpRGB(1), 0xFF0000u);
    EXPECT_EQ(AcCmEntityColor::lookUpRGB(7), 0xFFFFFFu);
    EXPECT_EQ(AcCmEntityColor::lookUpRGB(8), 0x414141u);
    EXPECT_EQ(AcCmEntityColor::lookUpRGB(11), 0xFF7F7Fu);
    EXPECT_EQ(AcCmEntityColor::lookUpRGB(30), 0xFF7F00u);
    EXPECT_EQ(AcCmEntityColor::lookUpRGB(250), 0x333333u);
    for (int i = 1; i < 256; ++i) {
        Adesk::UInt32 rgb = AcCmEntityColor::lookUpRGB(static_cast<Adesk::UInt8>(i));
        Adesk::UInt8 back = AcCmEntityColor::lookUpACI(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
        EXPECT_EQ(AcCmEntityColor::lookUpRGB(back), rgb) << i;
    }
    AcCmColor c;
    EXPECT_TRUE(c.isByLayer());
    EXPECT_EQ(c.colorIndex(), 256);
    EXPECT_EQ(c.setColorIndex(258), Acad::eInvalidInput);
    c.setColorIndex(0);
    EXPECT_TRUE(c.isByBlock());
    c.setRGB(255, 0, 0);
    EXPECT_EQ(c.colorIndex(), 1);
    AcCmColor parsed;
    EXPECT_TRUE(khost::colorFromText(L"bylayer", parsed));
    EXPECT_TRUE(parsed.isByLayer());
    EXPECT_TRUE(khost::colorFromText(L"ByBlock", parsed));
    EXPECT_TRUE(parsed.isByBlock());
    EXPECT_TRUE(khost::colorFromText(L"42", parsed));
    EXPECT_EQ(khost::colorToText(parsed), L"42");
    for (const ACHAR* bad : {L"", L"0", L"256", L"abc", L"RGB:1,2", L"RGB:1,2,300", L"7x"})
        EXPECT_FALSE(khost::colorFromText(bad, parsed)) << narrow(bad);
}

TEST_F(Records, DatabaseFilledLikeAReaderDoes) {
    AcDbDatabase empty(false, true);
    EXPECT_TRUE(empty.blockTableId().isNull());
    AcDbBlockTable* none = nullptr;
    EXPECT_EQ(empty.getBlockTable(none), Acad::eNullObjectId);

    // Objects arrive with their handles, in any order; references may come first.
    AcDbObjectId forward;
    ASSERT_EQ(empty.getAcDbObjectId(forward, true, AcDbHandle(0x30)), Acad::eOk);
    auto add = [&](AcDbObject* o, Adesk::UInt64 h) {
        AcDbObjectId id;
        EXPECT_EQ(khost::addObjectWithHandle(&empty, o, AcDbHandle(h), id), Acad::eOk);
        o->close();
        return id;
    };
    AcDbObjectId layers = add(new AcDbLayerTable, 0x2);
    AcDbObjectId blocks = add(new AcDbBlockTable, 0x1);
    AcDbObjectId nod = add(new AcDbDictionary, 0xC);
    auto* layer0 = new AcDbLayerTableRecord;
    layer0->setName(L"0");
    AcDbObjectId l0 = add(layer0, 0x10);
    auto* ms = new AcDbBlockTableRecord;
    ms->setName(L"*MODEL_SPACE");
    AcDbObjectId msId = add(ms, 0x1F);
    AcDbObjectId line = add(new AcDbLine, 0x30);
    EXPECT_EQ(line, forward);
    khost::linkRecord(static_cast<AcDbSymbolTable*>(khost::peekObject(layers)), l0);
    khost::linkRecord(static_cast<AcDbSymbolTable*>(khost::peekObject(blocks)), msId);
    khost::linkEntity(static_cast<AcDbBlockTableRecord*>(khost::peekObject(msId)), line);
    auto* groups = new AcDbDictionary;
    AcDbObjectId groupsId = add(groups, 0xD);
    khost::linkEntry(static_cast<AcDbDictionary*>(khost::peekObject(nod)), L"ACAD_GROUP", groupsId);
    khost::resolveRoles(&empty);

    EXPECT_EQ(empty.blockTableId(), blocks);
    EXPECT_EQ(empty.layerTableId(), layers);
    EXPECT_EQ(empty.namedObjectsDictionaryId(), nod);
    EXPECT_EQ(empty.groupDictionaryId(), groupsId);
    EXPECT_EQ(empty.layerZero(), l0);
    EXPECT_EQ(empty.clayer(), l0);
    EXPECT_EQ(empty.currentSpaceId(), msId);
    EXPECT_GT(empty.handseed().value(), 0x30u);
    std::vector<Adesk::UInt64> order;
    khost::forEachObject(&empty, [&](AcDbObjectId id) { order.push_back(id.handle().value()); });
    EXPECT_EQ(order, (std::vector<Adesk::UInt64>{0x1, 0x2, 0xC, 0xD, 0x10, 0x1F, 0x30}));
    AcDbLine* l = nullptr;
    ASSERT_EQ(acdbOpenObject(l, line, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(l->blockId(), msId);
    l->close();

    resbuf* v = acutBuildList(70, 3, 0);
    khost::setExtraHeaderVar(&empty, L"$PDMODE", v);
    acutRelRb(v);
    ASSERT_NE(khost::extraHeaderVar(&empty, L"$PDMODE"), nullptr);
    EXPECT_EQ(khost::extraHeaderVar(&empty, L"$PDMODE")->resval.rint, 3);
    EXPECT_EQ(khost::extraHeaderVarNames(&empty), std::vector<std::wstring>{L"$PDMODE"});
    // With the DXF codec linked in, a missing file is reported as such.
    EXPECT_EQ(empty.readDwgFile(L"/nonexistent/x.dxf"), Acad::eFileNotFound);
}
