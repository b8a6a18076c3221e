// Texts: the alignment rule of single-line text and its groups, transformations, multi-line text
// with its formatting codes and long contents, attributes taken from a block definition under a
// rotated and scaled reference, and multi-line attributes.
#include "enttest.h"

#include "gemat3d.h"
#include "geplane.h"

#include <vector>

using namespace enttest;

namespace {

// The groups an object writes through the result-buffer filer, as (code, subclass index) pairs
// with their buffers; the caller frees the chain.
struct Groups {
    explicit Groups(AcDbDatabase* db, const AcDbObject* o) {
        khost::RbChainFiler f(db);
        o->dxfOutFields(&f);
        chain = f.takeChain();
    }
    ~Groups() { acutRelRb(chain); }
    Groups(const Groups&) = delete;
    Groups& operator=(const Groups&) = delete;
    // The n-th group with the code after the given subclass marker (any subclass for null).
    const resbuf* find(int code, const wchar_t* subclass = nullptr, int n = 0) const {
        bool in = subclass == nullptr;
        for (const resbuf* rb = chain; rb; rb = rb->rbnext) {
            if (rb->restype == 100) {
                if (subclass)
                    in = std::wstring(rb->resval.rstring) == subclass;
                continue;
            }
            if (in && rb->restype == code && n-- == 0)
                return rb;
        }
        return nullptr;
    }
    int count(int code) const {
        int c = 0;
        for (const resbuf* rb = chain; rb; rb = rb->rbnext)
            c += rb->restype == code;
        return c;
    }
    resbuf* chain = nullptr;
};

std::wstring str(const ACHAR* s) {
    return s ? std::wstring(s) : std::wstring();
}

} // namespace

using Texts = EntTest;

TEST_F(Texts, AlignmentRuleAndItsGroups) {
    AcDbText t(AcGePoint3d(10, 20, 0), L"Kanalizace", styleId(), 2.0, kPi / 6);
    EXPECT_TRUE(t.isDefaultAlignment());
    {
        // Left and baseline: the position places the text; no alignment groups.
        Groups g(db.get(), &t);
        EXPECT_EQ(g.find(11), nullptr);
        EXPECT_EQ(g.find(72), nullptr);
        EXPECT_EQ(g.find(73), nullptr);
        EXPECT_EQ(g.find(7), nullptr); // the default style is left out
    }
    ASSERT_EQ(t.adjustAlignment(), Acad::eOk);
    EXPECT_TRUE(nearPt(t.alignmentPoint(), AcGePoint3d(10, 20, 0)));

    // Centred: the alignment point places it; setting either point leaves the other.
    ASSERT_EQ(t.setHorizontalMode(AcDb::kTextCenter), Acad::eOk);
    EXPECT_FALSE(t.isDefaultAlignment());
    ASSERT_EQ(t.setAlignmentPoint(AcGePoint3d(30, 40, 1)), Acad::eOk);
    EXPECT_TRUE(nearPt(t.position(), AcGePoint3d(10, 20, 0)));
    ASSERT_EQ(t.setPosition(AcGePoint3d(0, 0, 5)), Acad::eOk);
    EXPECT_TRUE(nearPt(t.alignmentPoint(), AcGePoint3d(30, 40, 1)));
    ASSERT_EQ(t.adjustAlignment(), Acad::eOk);
    const AcGeVector3d dir(std::cos(kPi / 6), std::sin(kPi / 6), 0);
    const double w = 10 * 2.0; // ten characters of the approximate width
    EXPECT_TRUE(nearPt(t.position(), AcGePoint3d(30, 40, 1) - dir * (w / 2)));
    {
        Groups g(db.get(), &t);
        ASSERT_NE(g.find(72, L"AcDbText"), nullptr);
        EXPECT_EQ(g.find(72, L"AcDbText")->resval.rint, 1);
        ASSERT_NE(g.find(11), nullptr);
        EXPECT_EQ(g.find(11)->resval.rpoint[0], 30.0);
        EXPECT_EQ(g.find(73), nullptr); // baseline
        EXPECT_EQ(g.count(100), 3);     // AcDbEntity, AcDbText twice
    }
    // Right and top; middle; aligned keeps both points.
    t.setHorizontalMode(AcDb::kTextRight);
    t.setVerticalMode(AcDb::kTextTop);
    t.adjustAlignment();
    const AcGeVector3d up(-dir.y, dir.x, 0);
    EXPECT_TRUE(nearPt(t.position(), AcGePoint3d(30, 40, 1) - dir * w - up * 2.0));
    {
        Groups g(db.get(), &t);
        // The vertical mode is in the second AcDbText subclass.
        ASSERT_NE(g.find(73, L"AcDbText"), nullptr);
        EXPECT_EQ(g.find(73, L"AcDbText")->resval.rint, 3);
        std::unique_ptr<AcDbText> copy(filerCopy(db.get(), &t));
        EXPECT_EQ(copy->horizontalMode(), AcDb::kTextRight);
        EXPECT_EQ(copy->verticalMode(), AcDb::kTextTop);
        EXPECT_TRUE(nearPt(copy->alignmentPoint(), t.alignmentPoint()));
        EXPECT_NEAR(copy->rotation(), kPi / 6, 1e-15); // radians through the result buffers
    }
    t.setHorizontalMode(AcDb::kTextMid);
    t.setVerticalMode(AcDb::kTextBase);
    t.adjustAlignment();
    EXPECT_TRUE(nearPt(t.position(), AcGePoint3d(30, 40, 1) - dir * (w / 2) - up * 1.0));
    t.setHorizontalMode(AcDb::kTextAlign);
    t.setPosition(AcGePoint3d(1, 1, 0));
    t.adjustAlignment();
    EXPECT_TRUE(nearPt(t.position(), AcGePoint3d(1, 1, 0)));
    EXPECT_TRUE(nearPt(t.alignmentPoint(), AcGePoint3d(30, 40, 1)));

    EXPECT_EQ(t.setHeight(0.0), Acad::eInvalidInput);
    EXPECT_EQ(t.setWidthFactor(-1.0), Acad::eInvalidInput);
    EXPECT_EQ(t.setOblique(kPi / 2), Acad::eInvalidInput);
    EXPECT_EQ(t.setTextStyle(db->layerZero()), Acad::eInvalidInput);
}

TEST_F(Texts, WriteAccessAndDatabaseDefaults) {
    db->setTextsize(3.5);
    auto* t = new AcDbText(AcGePoint3d(), L"x");
    AcDbObjectId id = add(t);
    ASSERT_EQ(acdbOpenObject(t, id, AcDb::kForRead), Acad::eOk);
    // Appended without style and height: the drawing's current ones.
    EXPECT_EQ(t->textStyle(), db->textstyle());
    EXPECT_EQ(t->height(), 3.5);
    EXPECT_EQ(t->setTextString(L"y"), Acad::eNotOpenForWrite);
    EXPECT_EQ(t->setHorizontalMode(AcDb::kTextRight), Acad::eNotOpenForWrite);
    EXPECT_EQ(t->adjustAlignment(), Acad::eNotOpenForWrite);
    EXPECT_EQ(str(t->textStringConst()), L"x");
    ACHAR* copy = t->textString();
    EXPECT_EQ(str(copy), L"x");
    acutDelString(copy);
    t->close();

    auto* m = new AcDbMText;
    m->setContents(L"abc");
    AcDbObjectId mid = add(m);
    ASSERT_EQ(acdbOpenObject(m, mid, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(m->textHeight(), 3.5);
    EXPECT_EQ(m->setContents(L"def"), Acad::eNotOpenForWrite);
    EXPECT_EQ(m->setLocation(AcGePoint3d(1, 1, 1)), Acad::eNotOpenForWrite);
    EXPECT_EQ(m->setAttachment(AcDbMText::kMiddleCenter), Acad::eNotOpenForWrite);
    AcString s;
    m->contents(s);
    EXPECT_EQ(std::wstring(s.kACharPtr()), L"abc");
    m->close();
}

TEST_F(Texts, TransformationsRotateScaleAndMirror) {
    AcDbText t(AcGePoint3d(2, 0, 0), L"abc", styleId(), 1.0, 0.0);
    t.setHorizontalMode(AcDb::kTextCenter);
    t.setAlignmentPoint(AcGePoint3d(3, 0, 0));
    const AcGeMatrix3d m =
        AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis) * AcGeMatrix3d::scaling(2.0);
    ASSERT_EQ(t.transformBy(m), Acad::eOk);
    EXPECT_TRUE(nearPt(t.position(), AcGePoint3d(0, 4, 0)));
    EXPECT_TRUE(nearPt(t.alignmentPoint(), AcGePoint3d(0, 6, 0)));
    EXPECT_NEAR(t.rotation(), kPi / 2, 1e-12);
    EXPECT_NEAR(t.height(), 2.0, 1e-12);
    EXPECT_NEAR(t.widthFactor(), 1.0, 1e-12);
    EXPECT_FALSE(t.isMirroredInX());

    // Mirrored about the Y axis: the text runs backward from the mirrored point.
    AcDbText u(AcGePoint3d(2, 1, 0), L"abc", styleId(), 1.0, 0.0);
    ASSERT_EQ(
        u.transformBy(AcGeMatrix3d::mirroring(AcGePlane(AcGePoint3d(), AcGeVector3d::kXAxis))),
        Acad::eOk);
    EXPECT_TRUE(nearPt(u.position(), AcGePoint3d(-2, 1, 0)));
    EXPECT_TRUE(u.isMirroredInX());
    EXPECT_NEAR(u.rotation(), 0.0, 1e-12);
    // Non-uniform scaling: the height follows Y, the width factor the ratio.
    AcDbText v(AcGePoint3d(), L"abc", styleId(), 1.0, 0.0);
    ASSERT_EQ(v.transformBy(AcGeMatrix3d::scaling(AcGeScale3d(3, 2, 1))), Acad::eOk);
    EXPECT_NEAR(v.height(), 2.0, 1e-12);
    EXPECT_NEAR(v.widthFactor(), 1.5, 1e-12);

    AcDbMText mt;
    mt.setLocation(AcGePoint3d(1, 0, 0));
    mt.setTextHeight(1.0);
    mt.setWidth(10.0);
    ASSERT_EQ(mt.transformBy(m), Acad::eOk);
    EXPECT_TRUE(nearPt(mt.location(), AcGePoint3d(0, 2, 0)));
    EXPECT_TRUE(nearVec(mt.direction(), AcGeVector3d(0, 1, 0)));
    EXPECT_NEAR(mt.rotation(), kPi / 2, 1e-12);
    EXPECT_NEAR(mt.textHeight(), 2.0, 1e-12);
    EXPECT_NEAR(mt.width(), 20.0, 1e-12);
}

TEST_F(Texts, MultiLineContentsAndTheirChunks) {
    AcDbMText m;
    const std::wstring formatted =
        L"{\\fArial|b1|i0|c238|p34;Tučně}\\Pdruhý\\~řádek \\S1/2; %%d \\{x\\} \\U+00D8\\H2x;a";
    ASSERT_EQ(m.setContents(formatted.c_str()), Acad::eOk);
    ACHAR* c = m.contents();
    EXPECT_EQ(str(c), formatted); // verbatim
    acutDelString(c);
    ACHAR* plain = m.text();
    EXPECT_EQ(str(plain), L"Tučně\ndruhý řádek 1/2 \u00B0 {x} \u00D8a");
    acutDelString(plain);

    EXPECT_EQ(m.setLineSpacingFactor(5.0), Acad::eInvalidInput);
    EXPECT_EQ(m.setLineSpacingFactor(1.5), Acad::eOk);
    EXPECT_EQ(m.setAttachment(static_cast<AcDbMText::AttachmentPoint>(0)), Acad::eInvalidInput);
    ASSERT_EQ(m.setRotation(kPi / 3), Acad::eOk);
    EXPECT_TRUE(nearVec(m.direction(), AcGeVector3d(0.5, std::sqrt(3.0) / 2, 0)));
    ASSERT_EQ(m.setNormal(AcGeVector3d(0, 0, -1)), Acad::eOk);
    EXPECT_NEAR(m.rotation(), kPi / 3, 1e-12); // the angle stays in the new plane

    // Long contents go in chunks of 250 characters: groups 3 and a last group 1.
    std::wstring longText;
    for (int i = 0; i < 61; ++i)
        longText += L"ř\\P{x}"; // 6 characters each
    longText += L"konec";
    ASSERT_EQ(longText.size(), 371u);
    m.setContents(longText.c_str());
    Groups g(db.get(), &m);
    EXPECT_EQ(g.count(3), 1);
    ASSERT_NE(g.find(3), nullptr);
    EXPECT_EQ(std::wstring(g.find(3)->resval.rstring).size(), 250u);
    EXPECT_EQ(std::wstring(g.find(1)->resval.rstring), longText.substr(250));
    std::unique_ptr<AcDbMText> copy(filerCopy(db.get(), &m));
    AcString s;
    copy->contents(s);
    EXPECT_EQ(std::wstring(s.kACharPtr()), longText);
    EXPECT_EQ(copy->lineSpacingFactor(), 1.5);
    EXPECT_TRUE(nearVec(copy->direction(), m.direction()));
    EXPECT_TRUE(nearVec(copy->normal(), AcGeVector3d(0, 0, -1)));
}

TEST_F(Texts, AttributeFromADefinitionUnderARotatedScaledReference) {
    AcDbObjectId blk = addBlock(L"ZNACKA", AcGePoint3d(1, 1, 0));
    auto* def = new AcDbAttributeDefinition(AcGePoint3d(3, 1, 0), L"výchozí", L"CISLO",
                                            L"Zadej číslo", styleId());
    def->setHeight(2.5);
    def->setHorizontalMode(AcDb::kTextCenter);
    def->setAlignmentPoint(AcGePoint3d(3, 2, 0));
    def->setVerifiable(true);
    def->setLockPositionInBlock(true);
    def->setFieldLength(8);
    EXPECT_EQ(def->setTag(L"S MEZEROU"), Acad::eInvalidInput);
    EXPECT_EQ(def->setTag(L""), Acad::eInvalidInput);
    AcDbObjectId defId = add(def, blk);

    auto* ref = new AcDbBlockReference(AcGePoint3d(100, 50, 0), blk);
    ref->setRotation(kPi / 2);
    ref->setScaleFactors(AcGeScale3d(2.0, 2.0, 2.0));
    AcDbObjectId refId = append(ref);

    ASSERT_EQ(acdbOpenObject(def, defId, AcDb::kForRead), Acad::eOk);
    auto* att = new AcDbAttribute;
    ASSERT_EQ(att->setAttributeFromBlock(def, ref->blockTransform()), Acad::eOk);
    // The block origin goes to the position: (3,1) is 2 units along the block's X.
    EXPECT_TRUE(nearPt(att->position(), AcGePoint3d(100, 54, 0)));
    EXPECT_TRUE(nearPt(att->alignmentPoint(), AcGePoint3d(98, 54, 0)));
    EXPECT_NEAR(att->rotation(), kPi / 2, 1e-12);
    EXPECT_NEAR(att->height(), 5.0, 1e-12);
    EXPECT_EQ(att->horizontalMode(), AcDb::kTextCenter);
    EXPECT_EQ(str(att->tagConst()), L"CISLO");
    EXPECT_EQ(str(att->textStringConst()), L"výchozí");
    EXPECT_TRUE(att->isVerifiable());
    EXPECT_FALSE(att->isInvisible());
    EXPECT_TRUE(att->lockPositionInBlock());
    EXPECT_EQ(att->fieldLength(), 8);
    EXPECT_EQ(att->textStyle(), styleId());
    AcDbObjectId attId;
    ASSERT_EQ(ref->appendAttribute(attId, att), Acad::eOk);
    att->close();

    // A non-uniform scale: the height follows the block's Y, the width its X.
    auto* att2 = new AcDbAttribute;
    AcGeMatrix3d m = AcGeMatrix3d::translation(AcGeVector3d(5, 0, 0)) *
                     AcGeMatrix3d::scaling(AcGeScale3d(2.0, 3.0, 1.0));
    ASSERT_EQ(att2->setAttributeFromBlock(def, m), Acad::eOk);
    EXPECT_NEAR(att2->height(), 7.5, 1e-12);
    EXPECT_NEAR(att2->widthFactor(), 2.0 / 3.0, 1e-12);
    EXPECT_TRUE(nearPt(att2->position(), AcGePoint3d(11, 3, 0)));
    delete att2;

    // A multi-line definition gives a multi-line attribute placed alike.
    def->upgradeOpen();
    ASSERT_EQ(def->convertIntoMTextAttributeDefinition(), Acad::eOk);
    EXPECT_TRUE(def->isMTextAttributeDefinition());
    auto* att3 = new AcDbAttribute;
    ASSERT_EQ(att3->setAttributeFromBlock(def, ref->blockTransform()), Acad::eOk);
    ASSERT_TRUE(att3->isMTextAttribute());
    std::unique_ptr<AcDbMText> mt(att3->getMTextAttribute());
    ASSERT_TRUE(mt);
    EXPECT_TRUE(nearPt(mt->location(), AcGePoint3d(98, 54, 0)));
    EXPECT_NEAR(mt->textHeight(), 5.0, 1e-12);
    EXPECT_NEAR(mt->rotation(), kPi / 2, 1e-12);
    EXPECT_EQ(mt->attachment(), AcDbMText::kBottomCenter);
    delete att3;
    def->close();
    ref->close();

    // The attribute is the reference's, not model space's.
    ASSERT_EQ(acdbOpenObject(att, attId, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(att->ownerId(), refId);
    EXPECT_EQ(att->setTag(L"JINY"), Acad::eNotOpenForWrite);
    att->close();
    EXPECT_FALSE(modelSpace(db.get()).contains(attId));
}

TEST_F(Texts, MultiLineAttributes) {
    AcDbLayerTable* lt = nullptr;
    db->getLayerTable(lt, AcDb::kForWrite);
    auto* layer = new AcDbLayerTableRecord;
    layer->setName(L"POPISY");
    lt->add(layer);
    layer->close();
    lt->close();

    AcDbAttribute att(AcGePoint3d(1, 2, 0), L"první řádek", L"POPIS", styleId());
    att.setHeight(2.0);
    att.setLayer(L"POPISY");
    EXPECT_FALSE(att.isMTextAttribute());
    EXPECT_EQ(att.getMTextAttribute(), nullptr);
    ASSERT_EQ(att.convertIntoMTextAttribute(), Acad::eOk);
    ASSERT_TRUE(att.isMTextAttribute());
    std::unique_ptr<AcDbMText> m(att.getMTextAttribute());
    ASSERT_TRUE(m);
    AcString s;
    m->contents(s);
    EXPECT_EQ(std::wstring(s.kACharPtr()), L"první řádek");
    EXPECT_TRUE(nearPt(m->location(), AcGePoint3d(1, 2, 0)));
    EXPECT_EQ(m->textHeight(), 2.0);
    EXPECT_EQ(m->textStyle(), styleId());
    AcString layerName;
    m->layer(layerName);
    EXPECT_EQ(std::wstring(layerName.kACharPtr()), L"POPISY");

    // Edited and put back: the attribute's text is the contents.
    m->setContents(L"první\\Pdruhý");
    m->setLocation(AcGePoint3d(5, 5, 0));
    ASSERT_EQ(att.setMTextAttribute(m.get()), Acad::eOk);
    EXPECT_EQ(str(att.textStringConst()), L"první\\Pdruhý");
    EXPECT_TRUE(nearPt(att.position(), AcGePoint3d(5, 5, 0)));
    std::unique_ptr<AcDbMText> again(att.getMTextAttribute());
    again->contents(s);
    EXPECT_EQ(std::wstring(s.kACharPtr()), L"první\\Pdruhý");

    // Through the filer: the embedded multi-line text comes back.
    std::unique_ptr<AcDbAttribute> copy(filerCopy(db.get(), &att));
    ASSERT_TRUE(copy->isMTextAttribute());
    std::unique_ptr<AcDbMText> cm(copy->getMTextAttribute());
    cm->contents(s);
    EXPECT_EQ(std::wstring(s.kACharPtr()), L"první\\Pdruhý");
    EXPECT_TRUE(nearPt(cm->location(), AcGePoint3d(5, 5, 0)));
    EXPECT_EQ(str(copy->tagConst()), L"POPIS");

    // Back to a single line.
    ASSERT_EQ(att.convertIntoMTextAttribute(false), Acad::eOk);
    EXPECT_FALSE(att.isMTextAttribute());
    EXPECT_EQ(str(att.textStringConst()), L"první druhý");
}
