// Multileaders: leaders, leader lines and their vertices, doglegs, the text content, the
// style's values and overrides, moving and transforming, and the file's context data read back
// by the host and rendered by an independent reader.
#include "ent2test.h"

#include "acedads.h"
#include "dbent_array.h"
#include "dbtext.h"

#include <vector>

using namespace ent2;

namespace {
using MLeaders = Ent2Test;

std::vector<int> values(const AcArray<int>& a) {
    return std::vector<int>(a.begin(), a.end());
}

AcDbObjectId addStyle(AcDbDatabase* d, const wchar_t* name, AcDbMLeaderStyle*& style) {
    style = new AcDbMLeaderStyle;
    AcDbObjectId id;
    EXPECT_EQ(style->postMLeaderStyleToDb(d, name, id), Acad::eOk);
    return id;
}
} // namespace

TEST_F(MLeaders, StyleSettersStatusesAndArrowByName) {
    AcDbMLeaderStyle* style = nullptr;
    const AcDbObjectId id = addStyle(db.get(), L"KV_TECKA", style);
    ASSERT_FALSE(id.isNull());
    int sum = 0;
    sum += style->setTextStyleId(db->textstyle()) + style->setTextHeight(2.0);
    sum += style->setLeaderLineType(AcDbMLeaderStyle::kStraightLeader);
    sum += style->setTextAttachmentType(AcDbMLeaderStyle::kAttachmentBottomOfTop,
                                        AcDbMLeaderStyle::kLeftLeader);
    sum += style->setTextAttachmentType(AcDbMLeaderStyle::kAttachmentBottomOfTop,
                                        AcDbMLeaderStyle::kRightLeader);
    sum += style->setArrowSize(1.5) + style->setContentType(AcDbMLeaderStyle::kMTextContent);
    sum += style->setDoglegLength(1.0) + style->setLandingGap(1.0);
    sum +=
        style->setTextAlignAlwaysLeft(false) + style->setLeaderLineTypeId(db->continuousLinetype());
    sum += style->setEnableLanding(true) + style->setEnableDogleg(true);
    sum += style->setArrowSymbolId(L"_DOT") + style->setAnnotative(true);
    EXPECT_EQ(sum, 0);
    EXPECT_EQ(style->setAlignSpace(4.0), Acad::eOk);
    // Values out of range are refused and leave the style as it was.
    EXPECT_EQ(style->setTextHeight(-1.0), Acad::eInvalidInput);
    EXPECT_EQ(style->setTextAttachmentType(AcDbMLeaderStyle::kAttachmentCenter,
                                           AcDbMLeaderStyle::kLeftLeader),
              Acad::eInvalidInput);
    EXPECT_EQ(style->setMaxLeaderSegmentsPoints(1), Acad::eInvalidInput);
    EXPECT_EQ(style->setArrowSymbolId(L"NoSuchBlock"), Acad::eKeyNotFound);
    EXPECT_DOUBLE_EQ(style->textHeight(), 2.0);
    EXPECT_EQ(style->textAttachmentType(AcDbMLeaderStyle::kRightLeader),
              AcDbMLeaderStyle::kAttachmentBottomOfTop);
    EXPECT_EQ(style->textAttachmentType(AcDbMLeaderStyle::kTopLeader),
              AcDbMLeaderStyle::kAttachmentCenter);
    AcDbBlockTable* bt = nullptr;
    ASSERT_EQ(db->getBlockTable(bt, AcDb::kForRead), Acad::eOk);
    AcDbObjectId dot;
    EXPECT_EQ(bt->getAt(L"_DOT", dot), Acad::eOk);
    bt->close();
    EXPECT_EQ(style->arrowSymbolId(), dot);
    style->close();

    // Renaming renames the dictionary entry; the name of another style is refused.
    AcDbMLeaderStyle* other = nullptr;
    addStyle(db.get(), L"KV_SIPKA", other);
    EXPECT_EQ(other->setName(L"kv_tecka"), Acad::eDuplicateRecordName);
    EXPECT_EQ(other->setName(L"KV_SIPKA2"), Acad::eOk);
    AcString name;
    other->getName(name);
    EXPECT_EQ(name, L"KV_SIPKA2");
    other->close();
    AcDbMLeaderStyle* dup = new AcDbMLeaderStyle;
    AcDbObjectId dupId;
    EXPECT_EQ(dup->postMLeaderStyleToDb(db.get(), L"KV_TECKA", dupId), Acad::eDuplicateRecordName);
    delete dup;

    saveAndReload("mlstyle.dxf",
                  "s = doc.mleader_styles.get('KV_TECKA')\n"
                  "if abs(s.dxf.char_height - 2.0) > 1e-9: print('height', s.dxf.char_height)\n"
                  "if s.dxf.text_left_attachment_type != 7: print('attach')\n"
                  "if doc.entitydb[s.dxf.arrow_head_handle].dxf.name != '_Dot': print('arrow')\n"
                  "if doc.mleader_styles.get('KV_SIPKA2') is None: print('renamed')\n");
    ASSERT_NE(reread, nullptr);
    AcDbMLeaderStyle* back = nullptr;
    ASSERT_EQ(acdbOpenObject(back, inReread(id), AcDb::kForRead), Acad::eOk);
    EXPECT_DOUBLE_EQ(back->textHeight(), 2.0);
    EXPECT_DOUBLE_EQ(back->arrowSize(), 1.5);
    EXPECT_DOUBLE_EQ(back->doglegLength(), 1.0);
    EXPECT_DOUBLE_EQ(back->landingGap(), 1.0);
    EXPECT_EQ(back->textAttachmentType(AcDbMLeaderStyle::kLeftLeader),
              AcDbMLeaderStyle::kAttachmentBottomOfTop);
    EXPECT_EQ(back->arrowSymbolId(), inReread(dot));
    EXPECT_EQ(back->leaderLineTypeId(), reread->continuousLinetype());
    EXPECT_EQ(back->textStyleId(), reread->textstyle());
    EXPECT_TRUE(back->annotative());
    back->getName(name);
    EXPECT_EQ(name, L"KV_TECKA");
    back->close();
}

TEST_F(MLeaders, LeaderLinesVerticesAndDoglegs) {
    auto* ml = new AcDbMLeader;
    EXPECT_EQ(ml->MLeaderStyle(), db->mleaderstyle());
    EXPECT_EQ(ml->textStyleId(), db->textstyle());
    EXPECT_EQ(ml->setTextLocation(AcGePoint3d(20, 10, 0)), Acad::eOk);
    EXPECT_EQ(ml->setDoglegLength(2.0), Acad::eOk);
    EXPECT_EQ(ml->setLandingGap(1.0), Acad::eOk);

    // A point left of the text starts a leader whose dogleg runs to the right, ending a landing
    // gap before the text.
    int line0 = -1;
    ASSERT_EQ(ml->addLeaderLine(AcGePoint3d(0, 0, 0), line0), Acad::eOk);
    EXPECT_EQ(ml->numLeaders(), 1);
    int leader0 = -1;
    ASSERT_EQ(ml->getLeaderIndex(line0, leader0), Acad::eOk);
    AcGeVector3d dir;
    ASSERT_EQ(ml->getDoglegDirection(leader0, dir), Acad::eOk);
    EXPECT_EQ(dir, AcGeVector3d(1, 0, 0));
    int n = 0;
    ASSERT_EQ(ml->numVertices(line0, n), Acad::eOk);
    EXPECT_EQ(n, 2);
    AcGePoint3d p;
    ASSERT_EQ(ml->getLastVertex(line0, p), Acad::eOk);
    EXPECT_EQ(p, AcGePoint3d(17, 10, 0));

    // A second point on the same side joins that leader; one on the right gets its own.
    int line1 = -1, line2 = -1;
    ASSERT_EQ(ml->addLeaderLine(AcGePoint3d(5, -5, 0), line1), Acad::eOk);
    ASSERT_EQ(ml->addLeaderLine(AcGePoint3d(40, 0, 0), line2), Acad::eOk);
    EXPECT_EQ(ml->numLeaders(), 2);
    EXPECT_EQ(ml->numLeaderLines(), 3);
    AcArray<int> leaders, lines;
    ml->getLeaderIndexes(leaders);
    EXPECT_EQ(values(leaders), (std::vector<int>{0, 1}));
    ml->getLeaderLineIndexes(leader0, lines);
    EXPECT_EQ(values(lines), (std::vector<int>{line0, line1}));
    ml->getLeaderLineIndexes(lines);
    EXPECT_EQ(values(lines), (std::vector<int>{line0, line1, line2}));
    EXPECT_EQ(ml->getLeaderLineIndexes(7, lines), Acad::eInvalidIndex);
    int leader1 = -1;
    ml->getLeaderIndex(line2, leader1);
    ml->getDoglegDirection(leader1, dir);
    EXPECT_EQ(dir, AcGeVector3d(-1, 0, 0));

    // Vertices: the first one is the arrowhead's, the last one the leader's shared point.
    EXPECT_EQ(ml->addFirstVertex(line0, AcGePoint3d(-5, -5, 0)), Acad::eOk);
    EXPECT_EQ(ml->addLastVertex(line0, AcGePoint3d(16, 9, 0)), Acad::eOk);
    ml->numVertices(line0, n);
    EXPECT_EQ(n, 4);
    std::vector<AcGePoint3d> pts;
    for (int i = 0; i < n; ++i) {
        ml->getVertex(line0, i, p);
        pts.push_back(p);
    }
    EXPECT_EQ(pts, (std::vector<AcGePoint3d>{AcGePoint3d(-5, -5, 0), AcGePoint3d(0, 0, 0),
                                             AcGePoint3d(17, 10, 0), AcGePoint3d(16, 9, 0)}));
    ml->getLastVertex(line1, p);
    EXPECT_EQ(p, AcGePoint3d(16, 9, 0)); // shared by the leader's lines
    EXPECT_EQ(ml->setVertex(line0, 1, AcGePoint3d(1, 1, 0)), Acad::eOk);
    EXPECT_EQ(ml->setVertex(line0, 4, AcGePoint3d(1, 1, 0)), Acad::eInvalidIndex);
    EXPECT_EQ(ml->getVertex(99, 0, p), Acad::eInvalidIndex);
    EXPECT_EQ(ml->removeLastVertex(line0), Acad::eOk);
    ml->getLastVertex(line0, p);
    EXPECT_EQ(p, AcGePoint3d(17, 10, 0));

    // Dogleg lengths: all leaders, or one.
    EXPECT_EQ(ml->setDoglegLength(leader1, 5.0), Acad::eOk);
    double len = 0;
    ml->doglegLength(leader0, len);
    EXPECT_DOUBLE_EQ(len, 2.0);
    ml->doglegLength(leader1, len);
    EXPECT_DOUBLE_EQ(len, 5.0);
    EXPECT_EQ(ml->setDoglegDirection(leader1, AcGeVector3d(0, 0, 0)), Acad::eInvalidInput);

    // Removing renumbers nothing.
    EXPECT_EQ(ml->removeLeaderLine(line1), Acad::eOk);
    int line3 = -1;
    ml->addLeaderLine(leader0, line3);
    EXPECT_EQ(line3, 3);
    ml->numVertices(line3, n);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(ml->removeLeader(leader1), Acad::eOk);
    EXPECT_EQ(ml->numLeaders(), 1);
    EXPECT_EQ(ml->addLeaderLine(leader1, line3), Acad::eInvalidIndex);
    delete ml;
}

TEST_F(MLeaders, StyleValuesUntilOverridden) {
    AcDbMLeaderStyle* style = nullptr;
    const AcDbObjectId styleId = addStyle(db.get(), L"KV_SIPKA", style);
    style->setTextHeight(2.0);
    style->setArrowSize(1.5);
    style->setLandingGap(1.0);
    style->close();

    auto* ml = new AcDbMLeader;
    EXPECT_DOUBLE_EQ(ml->textHeight(), 2.5); // the Standard style's
    EXPECT_EQ(ml->setArrowSize(3.0), Acad::eOk);
    EXPECT_TRUE(ml->isOverride(AcDbMLeader::kArrowSize));
    EXPECT_FALSE(ml->isOverride(AcDbMLeader::kTextHeight));
    EXPECT_EQ(ml->setMLeaderStyle(styleId), Acad::eOk);
    EXPECT_EQ(ml->MLeaderStyle(), styleId);
    EXPECT_DOUBLE_EQ(ml->textHeight(), 2.0);
    EXPECT_DOUBLE_EQ(ml->landingGap(), 1.0);
    EXPECT_DOUBLE_EQ(ml->arrowSize(), 3.0); // overridden before
    EXPECT_EQ(ml->setMLeaderStyle(db->layerZero()), Acad::eInvalidInput);
    delete ml;
}

TEST_F(MLeaders, TextLeaderRoundTripAndRendering) {
    AcDbMLeaderStyle* style = nullptr;
    const AcDbObjectId styleId = addStyle(db.get(), L"KV_TECKA", style);
    style->setArrowSymbolId(L"_DOT");
    const AcDbObjectId dot = style->arrowSymbolId();
    style->close();

    auto* ml = new AcDbMLeader;
    int sum = 0;
    sum += ml->setMLeaderStyle(styleId) + ml->setContentType(AcDbMLeaderStyle::kMTextContent);
    sum += ml->setTextContents(L"D 32x2,9\\PPE-Xa") + ml->setTextHeight(2.0);
    sum += ml->setTextLocation(AcGePoint3d(120, 60, 0)) + ml->setTextWidth(25.0);
    sum += ml->setTextAttachmentType(AcDbMLeaderStyle::kAttachmentBottomOfTop);
    sum += ml->setTextAlignmentType(AcDbMLeaderStyle::kLeftAlignment);
    sum += ml->setDoglegLength(1.0) + ml->setLandingGap(1.0) + ml->setArrowSize(1.5);
    AcCmColor red;
    red.setColorIndex(1);
    sum += ml->setLeaderLineColor(red) + ml->setLeaderLineWeight(AcDb::kLnWt018);
    EXPECT_EQ(sum, 0);
    int line = -1;
    ASSERT_EQ(ml->addLeaderLine(AcGePoint3d(100, 50, 0), line), Acad::eOk);
    ml->addFirstVertex(line, AcGePoint3d(95, 40, 0));
    const AcDbObjectId id = append(ml);

    saveAndReload(
        "mleader.dxf",
        "ml = doc.modelspace().query('MULTILEADER')[0]\n"
        "if ml.get_mtext_content() != 'D 32x2,9\\\\PPE-Xa': print(repr(ml.get_mtext_content()))\n"
        "ctx = ml.context\n"
        "if len(ctx.leaders) != 1 or len(ctx.leaders[0].lines) != 1: print('leaders')\n"
        "v = [tuple(p) for p in ctx.leaders[0].lines[0].vertices]\n"
        "if v != [(95, 40, 0), (100, 50, 0)]: print(v)\n"
        "if tuple(ctx.leaders[0].last_leader_point) != (118, 60, 0): "
        "print(ctx.leaders[0].last_leader_point)\n"
        "if abs(ctx.char_height - 2.0) > 1e-9 or tuple(ctx.mtext.insert) != (120, 60, 0): "
        "print('text')\n"
        "if doc.entitydb[ml.dxf.arrow_head_handle].dxf.name != '_Dot': print('arrow')\n"
        "kinds = sorted(e.dxftype() for e in ml.virtual_entities())\n"
        "if 'MTEXT' not in kinds or kinds.count('LINE') + kinds.count('LWPOLYLINE') < 1: "
        "print(kinds)\n");
    ASSERT_NE(reread, nullptr);
    AcDbMLeader* back = nullptr;
    ASSERT_EQ(acdbOpenObject(back, inReread(id), AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(back->textContents(), L"D 32x2,9\\PPE-Xa");
    EXPECT_EQ(back->contentType(), AcDbMLeaderStyle::kMTextContent);
    EXPECT_EQ(back->MLeaderStyle(), inReread(styleId));
    EXPECT_EQ(back->arrowSymbolId(), inReread(dot));
    EXPECT_DOUBLE_EQ(back->textHeight(), 2.0);
    EXPECT_DOUBLE_EQ(back->doglegLength(), 1.0);
    EXPECT_DOUBLE_EQ(back->landingGap(), 1.0);
    EXPECT_DOUBLE_EQ(back->arrowSize(), 1.5);
    EXPECT_DOUBLE_EQ(back->textWidth(), 25.0);
    EXPECT_EQ(back->leaderLineColor().colorIndex(), 1);
    EXPECT_EQ(back->leaderLineWeight(), AcDb::kLnWt018);
    EXPECT_EQ(back->textAttachmentType(AcDbMLeaderStyle::kRightLeader),
              AcDbMLeaderStyle::kAttachmentBottomOfTop);
    EXPECT_TRUE(back->isOverride(AcDbMLeader::kTextHeight));
    AcGePoint3d p;
    back->getTextLocation(p);
    EXPECT_EQ(p, AcGePoint3d(120, 60, 0));
    EXPECT_EQ(back->numLeaders(), 1);
    int n = 0;
    ASSERT_EQ(back->numVertices(line, n), Acad::eOk);
    EXPECT_EQ(n, 3);
    back->getFirstVertex(line, p);
    EXPECT_EQ(p, AcGePoint3d(95, 40, 0));
    back->getLastVertex(line, p);
    EXPECT_EQ(p, AcGePoint3d(118, 60, 0));
    back->close();

    // Moving and scaling.
    AcDbMLeader* w = nullptr;
    ASSERT_EQ(acdbOpenObject(w, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(w->moveMLeader(AcGeVector3d(0, 10, 0), AcDbMLeader::kMoveContentAndDoglegPoints),
              Acad::eOk);
    w->getFirstVertex(line, p);
    EXPECT_EQ(p, AcGePoint3d(95, 40, 0)); // the arrowhead stays
    w->getLastVertex(line, p);
    EXPECT_EQ(p, AcGePoint3d(118, 70, 0));
    EXPECT_EQ(w->transformBy(AcGeMatrix3d::scaling(2.0, AcGePoint3d(0, 0, 0))), Acad::eOk);
    w->getTextLocation(p);
    EXPECT_EQ(p, AcGePoint3d(240, 140, 0));
    EXPECT_DOUBLE_EQ(w->scale(), 2.0);
    EXPECT_DOUBLE_EQ(w->textWidth(), 50.0);
    w->close();
    saveAndReload("moved.dxf",
                  "ml = doc.modelspace().query('MULTILEADER')[0]\n"
                  "if abs(ml.context.char_height - 4.0) > 1e-9: print(ml.context.char_height)\n");
    AcDbMLeader* scaled = nullptr;
    ASSERT_EQ(acdbOpenObject(scaled, inReread(id), AcDb::kForRead), Acad::eOk);
    EXPECT_DOUBLE_EQ(scaled->textHeight(), 2.0);
    EXPECT_DOUBLE_EQ(scaled->scale(), 2.0);
    scaled->close();
}

TEST_F(MLeaders, TextThroughACopyOfTheMultilineText) {
    auto* ml = new AcDbMLeader;
    ml->setContentType(AcDbMLeaderStyle::kMTextContent);
    ml->setTextContents(L"pe-xa 20x2");
    ml->setTextLocation(AcGePoint3d(10, 10, 0));
    ml->setTextHeight(2.0);
    ml->setScale(2.0);
    int line = -1;
    ml->addLeaderLine(AcGePoint3d(0, 0, 0), line);
    const AcDbObjectId id = append(ml);

    // The editing of a program: take the copy, change it, store it back.
    AcDbMLeader* w = nullptr;
    ASSERT_EQ(acdbOpenObject(w, id, AcDb::kForWrite), Acad::eOk);
    AcDbMText* copy = w->mtext();
    ASSERT_NE(copy, nullptr);
    AcString contents;
    copy->contents(contents);
    EXPECT_EQ(contents, L"pe-xa 20x2");
    EXPECT_EQ(copy->location(), AcGePoint3d(10, 10, 0));
    EXPECT_DOUBLE_EQ(copy->textHeight(), 4.0); // scaled
    EXPECT_EQ(copy->textStyle(), db->textstyle());
    EXPECT_FALSE(copy->isDatabaseResident());
    copy->setContents(L"PE-XA 20X2");
    copy->setLocation(AcGePoint3d(12, 10, 0));
    copy->setAttachment(AcDbMText::kBottomLeft);
    EXPECT_EQ(w->setMText(copy), Acad::eOk);
    delete copy;
    EXPECT_EQ(w->setMText(nullptr), Acad::eNullObjectPointer);
    EXPECT_STREQ(w->textContents(), L"PE-XA 20X2");
    EXPECT_EQ(w->textAttachmentPoint(), AcDbMText::kBottomLeft);
    EXPECT_DOUBLE_EQ(w->textHeight(), 2.0); // the height was not changed
    AcGePoint3d p;
    w->getTextLocation(p);
    EXPECT_EQ(p, AcGePoint3d(12, 10, 0));
    w->close();

    AcDbMLeader* r = nullptr;
    ASSERT_EQ(acdbOpenObject(r, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(r->setMText(nullptr), Acad::eNotOpenForWrite);
    r->close();
    saveAndReload("mtext.dxf", "ml = doc.modelspace().query('MULTILEADER')[0]\n"
                               "if ml.get_mtext_content() != 'PE-XA 20X2': print('text')\n");
}

TEST_F(MLeaders, MultileaderOfAnotherProgramKeepsWhatTheHostDoesNotModel) {
    if (!haveEzdxf())
        GTEST_SKIP() << "ezdxf is not installed";
    const auto source = dir / "foreign.dxf";
    const std::string make = R"(import sys, ezdxf
from ezdxf.math import Vec2, Vec3
from ezdxf.render import mleader
from ezdxf.entities.mleader import ArrowHeadData
doc = ezdxf.new('R2013', setup=True)
msp = doc.modelspace()
b = msp.add_multileader_mtext('Standard')
b.set_content('Line1\\PLine2', char_height=2.5)
b.add_leader_line(mleader.ConnectionSide.left, [Vec2(-20, -10), Vec2(-10, 0)])
b.build(insert=Vec2(0, 0))
ml = msp.query('MULTILEADER')[0]
leader = ml.context.leaders[0]
leader.breaks = [Vec3(-12, -1.25, 0), Vec3(-11, -1.25, 0)]
leader.lines[0].breaks = [0, Vec3(-18, -8, 0), Vec3(-16, -6, 0)]
ml.arrow_heads = [ArrowHeadData(0, doc.blocks.get('_Dot').block_record_handle if '_Dot' in doc.blocks else ml.dxf.style_handle)]
ml.context.mtext.bg_scale_factor = 1.25
doc.saveas(sys.argv[1])
print('made')
)";
    ASSERT_EQ(runPython(dir, make, source), "made\n");
    std::wstring error;
    std::unique_ptr<AcDbDatabase> in(khost::readDrawing(khost::fromUtf8(source.string()), error));
    ASSERT_NE(in, nullptr) << narrow(error);

    AcDbObjectId mlId;
    khost::forEachObject(in.get(), [&](AcDbObjectId id) {
        if (AcDbMLeader::cast(khost::peekObject(id)))
            mlId = id;
    });
    ASSERT_FALSE(mlId.isNull());
    AcDbMLeader* ml = nullptr;
    ASSERT_EQ(acdbOpenObject(ml, mlId, AcDb::kForWrite), Acad::eOk);
    EXPECT_STREQ(ml->textContents(), L"Line1\\PLine2");
    EXPECT_DOUBLE_EQ(ml->textHeight(), 2.5);
    ASSERT_EQ(ml->numLeaders(), 1);
    AcArray<int> lines;
    ml->getLeaderLineIndexes(lines);
    ASSERT_EQ(lines.length(), 1);
    int n = 0;
    ml->numVertices(lines[0], n);
    EXPECT_EQ(n, 3);
    AcGePoint3d p;
    ml->getFirstVertex(lines[0], p);
    EXPECT_EQ(p, AcGePoint3d(-20, -10, 0));
    ml->getLastVertex(lines[0], p);
    EXPECT_EQ(p, AcGePoint3d(-10, -1.25, 0));
    // A change of the host's own data leaves the rest alone.
    EXPECT_EQ(ml->setTextContents(L"Zmena"), Acad::eOk);
    ml->close();

    const auto out = dir / "rewritten.dxf";
    ASSERT_TRUE(khost::writeDrawing(in.get(), khost::fromUtf8(out.string()), error))
        << narrow(error);
    EXPECT_EQ(
        ezdxfVerdict(dir, out,
                     "ml = doc.modelspace().query('MULTILEADER')[0]\n"
                     "l = ml.context.leaders[0]\n"
                     "if ml.get_mtext_content() != 'Zmena': print('text')\n"
                     "if [tuple(v) for v in l.breaks] != [(-12, -1.25, 0), (-11, -1.25, 0)]: "
                     "print('breaks', l.breaks)\n"
                     "if len(l.lines[0].breaks) != 3: print('line breaks', l.lines[0].breaks)\n"
                     "if len(ml.arrow_heads) != 1: print('arrows', ml.arrow_heads)\n"
                     "if ml.context.mtext.bg_scale_factor != 1.25: print('background')\n"),
        "");
}
