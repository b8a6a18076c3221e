// Multileader, table and multiline styles: their setters and defaults, and their fields through
// a DXF file read back by the host and by an independent reader.
#include "ent2test.h"

using namespace ent2;

namespace {
using Styles = Ent2Test;

AcDbObjectId dictEntry(AcDbDatabase* d, AcDbObjectId dictId, const wchar_t* key) {
    AcDbDictionary* dict = nullptr;
    EXPECT_EQ(acdbOpenObject(dict, dictId, AcDb::kForRead), Acad::eOk);
    AcDbObjectId id;
    if (dict) {
        dict->getAt(key, id);
        dict->close();
    }
    return id;
}
} // namespace

TEST_F(Styles, DefaultDrawingHasRealStandardStyles) {
    AcDbObjectId mls = dictEntry(db.get(), db->mleaderStyleDictionaryId(), L"Standard");
    AcDbMLeaderStyle* style = nullptr;
    ASSERT_EQ(acdbOpenObject(style, mls, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(style->textStyleId(), db->textstyle());
    EXPECT_EQ(style->contentType(), AcDbMLeaderStyle::kMTextContent);
    AcString name;
    style->getName(name);
    EXPECT_EQ(name, L"Standard");
    EXPECT_FALSE(style->isRenamable());
    style->close();
    EXPECT_EQ(db->mleaderstyle(), mls);

    AcDbTableStyle* ts = nullptr;
    ASSERT_EQ(acdbOpenObject(ts, db->tablestyle(), AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(ts->textStyle(AcDb::kTitleRow), db->textstyle());
    ts->close();
    AcDbMlineStyle* ml = nullptr;
    ASSERT_EQ(acdbOpenObject(ml, db->cmlstyleID(), AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(ml->numElements(), 2);
    ml->close();
    saveAndReload();
}

TEST_F(Styles, TableStyleTextStylePerRowType) {
    auto* narrow = new AcDbTextStyleTableRecord;
    narrow->setName(L"KV_TXT_MALY");
    narrow->setFileName(L"arialn.ttf");
    AcDbTextStyleTable* tst = nullptr;
    ASSERT_EQ(db->getTextStyleTable(tst, AcDb::kForWrite), Acad::eOk);
    AcDbObjectId narrowId;
    ASSERT_EQ(tst->add(narrowId, narrow), Acad::eOk);
    tst->close();
    narrow->close();

    auto* ts = new AcDbTableStyle;
    AcDbObjectId id;
    ASSERT_EQ(ts->postTableStyleToDb(db.get(), L"Rozpiska", id), Acad::eOk);
    // The default setter reaches every row type; a combination only those.
    EXPECT_EQ(ts->setTextStyle(narrowId), Acad::eOk);
    EXPECT_EQ(ts->textStyle(AcDb::kTitleRow), narrowId);
    EXPECT_EQ(ts->textStyle(), narrowId);
    EXPECT_EQ(ts->setTextStyle(db->textstyle(), AcDb::kTitleRow | AcDb::kHeaderRow), Acad::eOk);
    EXPECT_EQ(ts->textStyle(AcDb::kDataRow), narrowId);
    EXPECT_EQ(ts->textStyle(AcDb::kHeaderRow), db->textstyle());
    EXPECT_EQ(ts->setTextStyle(narrowId, 0), Acad::eInvalidInput);
    EXPECT_EQ(ts->setTextHeight(3.5, AcDb::kDataRow), Acad::eOk);
    EXPECT_EQ(ts->setTextHeight(-1.0), Acad::eInvalidInput);
    EXPECT_DOUBLE_EQ(ts->textHeight(AcDb::kTitleRow), 6.0);
    EXPECT_EQ(ts->setAlignment(AcDb::kMiddleLeft, AcDb::kDataRow), Acad::eOk);
    AcCmColor green;
    green.setColorIndex(3);
    EXPECT_EQ(ts->setBackgroundColor(green, AcDb::kTitleRow), Acad::eOk);
    EXPECT_EQ(ts->setDescription(L"Rozpiska materiálu"), Acad::eOk);
    ts->close();

    saveAndReload("tablestyle.dxf");
    ASSERT_NE(reread, nullptr);
    AcDbTableStyle* back = nullptr;
    ASSERT_EQ(acdbOpenObject(back, inReread(id), AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(back->textStyle(AcDb::kDataRow), inReread(narrowId));
    EXPECT_EQ(back->textStyle(AcDb::kTitleRow), reread->textstyle());
    EXPECT_EQ(back->textStyle(AcDb::kHeaderRow), reread->textstyle());
    EXPECT_DOUBLE_EQ(back->textHeight(AcDb::kDataRow), 3.5);
    EXPECT_DOUBLE_EQ(back->textHeight(AcDb::kHeaderRow), 4.5);
    EXPECT_EQ(back->alignment(AcDb::kDataRow), AcDb::kMiddleLeft);
    EXPECT_FALSE(back->isBackgroundColorNone(AcDb::kTitleRow));
    EXPECT_EQ(back->backgroundColor(AcDb::kTitleRow).colorIndex(), 3);
    EXPECT_TRUE(back->isBackgroundColorNone(AcDb::kDataRow));
    EXPECT_STREQ(back->description(), L"Rozpiska materiálu");
    AcString name;
    back->getName(name);
    EXPECT_EQ(name, L"Rozpiska");
    back->close();
}
