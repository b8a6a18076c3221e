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
