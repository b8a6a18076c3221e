// Dynamic blocks of the host: definitions and their refusals, property values and the refusals of
// setValue, the anonymous representation of a reference and its attributes, and the survival of
// all of it through a DXF round trip (checked by ezdxf as well) and through inserting a drawing.
#include "arxdb.h"
#include "acutads.h"
#include "dbhost.h"
#include "dxfio.h"
#include "hostio.h"
#include "textconv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using khost::DynMembership;
using khost::DynPropDef;
using khost::DynPropKind;
using khost::DynRole;

class DynBlkTest : public ::testing::Test {
protected:
    void SetUp() override {
        khost::hostTranscript().startCapture(false);
        db = std::make_unique<AcDbDatabase>();
        acdbHostApplicationServices()->setWorkingDatabase(db.get());
        std::string tmpl = (fs::temp_directory_path() / "kresbon-dynblk-XXXXXX").string();
        dir = mkdtemp(tmpl.data());
    }
    void TearDown() override {
        EXPECT_EQ(khost::reportOpenObjects(L"test end"), 0)
            << khost::toUtf8(khost::hostTranscript().takeCaptured());
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
        db.reset();
        khost::hostTranscript().stopCapture();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    static std::vector<DynPropDef> props() {
        std::vector<DynPropDef> p(4);
        p[0].name = L"Vis";
        p[0].kind = DynPropKind::Visibility;
        p[0].defaultValue = L"Ne";
        p[0].allowed = {AcDbEvalVariant(L"Ano"), AcDbEvalVariant(L"Ne")};
        p[1].name = L"DELKA";
        p[1].kind = DynPropKind::Linear;
        p[1].defaultValue = 0.0;
        p[1].hasMinimum = true;
        p[1].minimum = 0.0;
        p[2].name = L"PREKLOP";
        p[2].kind = DynPropKind::Flip;
        p[2].defaultValue = static_cast<short>(0);
        p[2].allowed = {AcDbEvalVariant(static_cast<short>(0)),
                        AcDbEvalVariant(static_cast<short>(1))};
        p[2].axisFollows = L"delka";
        p[3].name = L"POZN";
        p[3].kind = DynPropKind::List;
        p[3].defaultValue = L"x";
        p[3].readOnly = true;
        p[3].show = false;
        return p;
    }

    AcDbObjectId append(AcDbBlockTableRecord* btr, AcDbEntity* e,
                        const std::vector<DynMembership>& roles) {
        AcDbObjectId id;
        EXPECT_EQ(btr->appendAcDbEntity(id, e), Acad::eOk);
        EXPECT_EQ(khost::setDynamicMembership(e, roles), Acad::eOk);
        e->close();
        return id;
    }

    // A leader (shown in "Ano", its end stretched by DELKA), a shelf and an attribute definition
    // moved by DELKA and mirrored by PREKLOP about the vertical through the leader's end.
    AcDbObjectId makeBlock(AcDbDatabase* d, const wchar_t* name, bool inModelSpace = false) {
        AcDbBlockTableRecord* btr = nullptr;
        AcDbObjectId id;
        if (inModelSpace) {
            id = khost::roleId(d, khost::DbRole::ModelSpace);
            EXPECT_EQ(acdbOpenObject(btr, id, AcDb::kForWrite), Acad::eOk);
        } else {
            AcDbBlockTable* bt = nullptr;
            EXPECT_EQ(d->getBlockTable(bt, AcDb::kForWrite), Acad::eOk);
            btr = new AcDbBlockTableRecord;
            btr->setName(name);
            EXPECT_EQ(bt->add(id, btr), Acad::eOk);
            bt->close();
        }
        append(btr, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(0, 0, 0)),
               {{L"VIS", DynRole::Visible, {L"Ano"}}, {L"DELKA", DynRole::StretchEnd, {}}});
        append(btr, new AcDbLine(AcGePoint3d(-1, 2, 0), AcGePoint3d(10, 2, 0)),
               {{L"DELKA", DynRole::Move, {}}, {L"PREKLOP", DynRole::Mirror, {}}});
        auto* def = new AcDbAttributeDefinition(AcGePoint3d(-1, 2.5, 0), L"", L"VYSKA", L"Výška");
        def->setHeight(2.5);
        def->setHorizontalMode(AcDb::kTextLeft);
        def->setVerticalMode(AcDb::kTextBottom);
        def->setAlignmentPoint(AcGePoint3d(-1, 2.5, 0));
        append(btr, def, {{L"DELKA", DynRole::Move, {}}, {L"PREKLOP", DynRole::Mirror, {}}});
        EXPECT_EQ(khost::setDynamicBlockDefinition(btr, props()), Acad::eOk);
        btr->close();
        return id;
    }

    // A reference at (100, 50) with its attribute "1.25".
    AcDbObjectId insert(AcDbObjectId block) {
        AcDbBlockTableRecord* ms = nullptr;
        EXPECT_EQ(acdbOpenObject(ms, db->currentSpaceId(), AcDb::kForWrite), Acad::eOk);
        auto* ref = new AcDbBlockReference(AcGePoint3d(100, 50, 0), block);
        AcDbObjectId id;
        EXPECT_EQ(ms->appendAcDbEntity(id, ref), Acad::eOk);
        ms->close();
        auto* attr = new AcDbAttribute();
        AcDbAttributeDefinition* def = nullptr;
        auto* btr = AcDbBlockTableRecord::cast(khost::peekObject(block));
        for (AcDbObjectId e : btr->entityIds())
            if (acdbOpenObject(def, e, AcDb::kForRead) == Acad::eOk)
                break;
        EXPECT_NE(def, nullptr);
        attr->setAttributeFromBlock(def, ref->blockTransform());
        def->close();
        attr->setTextString(L"1.25");
        EXPECT_EQ(ref->appendAttribute(attr), Acad::eOk);
        attr->close();
        ref->close();
        return id;
    }

    static AcDbDynBlockReferenceProperty property(AcDbObjectId ref, const wchar_t* name) {
        AcDbDynBlockReferencePropertyArray all;
        AcDbDynBlockReference(ref).getBlockProperties(all);
        for (const auto& p : all)
            if (p.propertyName() == name)
                return p;
        ADD_FAILURE() << "no property " << khost::toUtf8(name);
        return {};
    }

    // Lines of a block as "x1,y1-x2,y2" in its order.
    static std::vector<std::string> lines(AcDbObjectId block) {
        std::vector<std::string> out;
        auto* btr = AcDbBlockTableRecord::cast(khost::peekObject(block));
        for (AcDbObjectId e : btr->entityIds())
            if (auto* l = AcDbLine::cast(khost::peekObject(e))) {
                std::ostringstream s;
                s << l->startPoint().x << "," << l->startPoint().y << "-" << l->endPoint().x << ","
                  << l->endPoint().y;
                out.push_back(s.str());
            }
        return out;
    }

    static AcDbAttribute* firstAttribute(AcDbObjectId ref) {
        auto* r = AcDbBlockReference::cast(khost::peekObject(ref));
        std::unique_ptr<AcDbObjectIterator> it(r->attributeIterator());
        return it->done() ? nullptr : AcDbAttribute::cast(khost::peekObject(it->objectId()));
    }

    std::unique_ptr<AcDbDatabase> db;
    fs::path dir;
};

TEST_F(DynBlkTest, DefinitionsAreKeptAndBadOnesRefused) {
    AcDbObjectId block = makeBlock(db.get(), L"ZNACKA");
    auto* btr = AcDbBlockTableRecord::cast(khost::peekObject(block));
    EXPECT_TRUE(btr->isDynamicBlock());
    EXPECT_TRUE(AcDbDynBlockReference::isDynamicBlock(block));
    std::vector<DynPropDef> back;
    ASSERT_TRUE(khost::getDynamicBlockDefinition(btr, back));
    ASSERT_EQ(back.size(), 4u);
    EXPECT_EQ(back[0].allowed.size(), 2u);
    EXPECT_TRUE(back[1].hasMinimum);
    EXPECT_EQ(back[2].axisFollows, L"delka");
    EXPECT_TRUE(back[3].readOnly);
    EXPECT_FALSE(back[3].show);

    AcDbBlockTableRecord* w = nullptr;
    ASSERT_EQ(acdbOpenObject(w, block, AcDb::kForWrite), Acad::eOk);
    auto bad = props();
    bad[3].name = L"vis"; // the same name in another case
    EXPECT_EQ(khost::setDynamicBlockDefinition(w, bad), Acad::eInvalidInput);
    bad = props();
    bad[0].defaultValue = L"Jiný"; // not one of the states
    EXPECT_EQ(khost::setDynamicBlockDefinition(w, bad), Acad::eInvalidInput);
    bad = props();
    bad[2].axisFollows = L"POZN"; // not a linear property
    EXPECT_EQ(khost::setDynamicBlockDefinition(w, bad), Acad::eInvalidInput);
    bad = props();
    bad[2].allowed.push_back(AcDbEvalVariant(2.0)); // another type
    EXPECT_EQ(khost::setDynamicBlockDefinition(w, bad), Acad::eInvalidInput);
    EXPECT_TRUE(w->isDynamicBlock()); // the refusals changed nothing
    EXPECT_EQ(khost::setDynamicBlockDefinition(w, {}), Acad::eOk);
    EXPECT_FALSE(w->isDynamicBlock());
    w->close();
}

TEST_F(DynBlkTest, ValuesAndTheRefusalsOfSetValue) {
    AcDbObjectId ref = insert(makeBlock(db.get(), L"ZNACKA"));
    AcDbDynBlockReference dyn(ref);
    ASSERT_TRUE(dyn.isDynamicBlock());
    AcDbDynBlockReferencePropertyArray all;
    dyn.getBlockProperties(all);
    ASSERT_EQ(all.length(), 4);
    EXPECT_EQ(all[0].propertyType(), AcDb::kDwgText);
    EXPECT_EQ(all[1].propertyType(), AcDb::kDwgReal);
    EXPECT_EQ(all[1].unitsType(), AcDbDynBlockReferenceProperty::kDistance);
    EXPECT_EQ(all[2].propertyType(), AcDb::kDwgInt16);
    AcDbEvalVariantArray allowed;
    EXPECT_EQ(all[0].getAllowedValues(allowed), Acad::eOk);
    EXPECT_EQ(allowed.length(), 2);
    EXPECT_EQ(all[1].getAllowedValues(allowed), Acad::eOk);
    EXPECT_TRUE(allowed.isEmpty());
    AcString s;
    EXPECT_EQ(all[0].value().getValue(s), Acad::eOk);
    EXPECT_EQ(s, L"Ne");

    EXPECT_EQ(all[3].setValue(AcDbEvalVariant(L"y")), Acad::eNotApplicable);
    EXPECT_EQ(all[0].setValue(AcDbEvalVariant(L"ano")), Acad::eInvalidInput); // exact states
    EXPECT_EQ(all[1].setValue(AcDbEvalVariant(-1.0)), Acad::eInvalidInput);   // below minimum
    EXPECT_EQ(all[1].setValue(AcDbEvalVariant(L"5")), Acad::eInvalidInput);   // a text
    EXPECT_EQ(all[2].setValue(AcDbEvalVariant(0.5)), Acad::eInvalidInput);    // not integral
    EXPECT_EQ(all[2].setValue(AcDbEvalVariant(2.0)), Acad::eInvalidInput);    // not allowed
    AcDbBlockReference* reader = nullptr;
    ASSERT_EQ(acdbOpenObject(reader, ref, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(all[1].setValue(AcDbEvalVariant(5.0)), Acad::eWasOpenForRead);
    reader->close();
    // Refused values left the reference as it was.
    EXPECT_EQ(AcDbBlockReference::cast(khost::peekObject(ref))->xData(khost::kDynBlockApp),
              nullptr);

    EXPECT_EQ(all[1].setValue(AcDbEvalVariant(static_cast<short>(5))), Acad::eOk); // converted
    double d = 0.0;
    EXPECT_EQ(property(ref, L"DELKA").value().getValue(d), Acad::eOk);
    EXPECT_EQ(d, 5.0);
    // A wrapper of an open reference needs it open for write.
    ASSERT_EQ(acdbOpenObject(reader, ref, AcDb::kForRead), Acad::eOk);
    AcDbDynBlockReference(reader).getBlockProperties(all);
    EXPECT_EQ(all[1].setValue(AcDbEvalVariant(6.0)), Acad::eNotOpenForWrite);
    EXPECT_EQ(reader->upgradeOpen(), Acad::eOk);
    EXPECT_EQ(all[1].setValue(AcDbEvalVariant(6.0)), Acad::eOk);
    reader->close();
    EXPECT_EQ(property(ref, L"DELKA").value().getValue(d), Acad::eOk);
    EXPECT_EQ(d, 6.0);
}

TEST_F(DynBlkTest, RepresentationFollowsTheValues) {
    AcDbObjectId block = makeBlock(db.get(), L"ZNACKA");
    AcDbObjectId ref = insert(block);
    AcDbDynBlockReference dyn(ref);
    EXPECT_TRUE(dyn.anonymousBlockTableRecord().isNull());

    EXPECT_EQ(property(ref, L"Vis").setValue(AcDbEvalVariant(L"Ano")), Acad::eOk);
    EXPECT_EQ(property(ref, L"DELKA").setValue(AcDbEvalVariant(5.0)), Acad::eOk);
    EXPECT_EQ(property(ref, L"PREKLOP").setValue(AcDbEvalVariant(static_cast<short>(1))),
              Acad::eOk);
    AcDbObjectId rep = dyn.anonymousBlockTableRecord();
    ASSERT_FALSE(rep.isNull());
    EXPECT_EQ(AcDbBlockReference::cast(khost::peekObject(ref))->blockTableRecord(), rep);
    EXPECT_EQ(dyn.dynamicBlockTableRecord(), block);
    EXPECT_TRUE(AcDbBlockTableRecord::cast(khost::peekObject(rep))->isAnonymous());
    // The leader stretched to 5, the shelf moved by 5 and mirrored about x = 5.
    EXPECT_EQ(lines(rep), (std::vector<std::string>{"0,0-5,0", "6,2--5,2"}));
    // The attribute follows its definition: mirrored, right-justified, its text kept.
    AcDbAttribute* attr = firstAttribute(ref);
    ASSERT_NE(attr, nullptr);
    EXPECT_EQ(attr->horizontalMode(), AcDb::kTextRight);
    EXPECT_NEAR(attr->alignmentPoint().x, 106.0, 1e-9);
    EXPECT_NEAR(attr->alignmentPoint().y, 52.5, 1e-9);
    EXPECT_FALSE(attr->isMirroredInX());
    EXPECT_STREQ(attr->textStringConst(), L"1.25");

    // Hidden in "Ne"; redrawing reuses the reference's own block.
    EXPECT_EQ(property(ref, L"Vis").setValue(AcDbEvalVariant(L"Ne")), Acad::eOk);
    EXPECT_EQ(dyn.anonymousBlockTableRecord(), rep);
    EXPECT_EQ(lines(rep), (std::vector<std::string>{"6,2--5,2"}));

    // Back to the defaults: drawn by the definition again, the own block erased.
    EXPECT_EQ(dyn.resetBlock(), Acad::eOk);
    EXPECT_TRUE(dyn.anonymousBlockTableRecord().isNull());
    EXPECT_EQ(AcDbBlockReference::cast(khost::peekObject(ref))->blockTableRecord(), block);
    EXPECT_TRUE(rep.isErased());
    EXPECT_EQ(firstAttribute(ref)->horizontalMode(), AcDb::kTextLeft);
    EXPECT_NEAR(firstAttribute(ref)->alignmentPoint().x, 99.0, 1e-9);
}

TEST_F(DynBlkTest, CopiedReferenceGetsARepresentationOfItsOwn) {
    AcDbObjectId block = makeBlock(db.get(), L"ZNACKA");
    AcDbObjectId first = insert(block);
    ASSERT_EQ(property(first, L"DELKA").setValue(AcDbEvalVariant(3.0)), Acad::eOk);
    AcDbObjectId rep = AcDbDynBlockReference(first).anonymousBlockTableRecord();
    // A copy: the same block and values.
    AcDbObjectId second = insert(block);
    AcDbBlockReference* copy = nullptr;
    ASSERT_EQ(acdbOpenObject(copy, second, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(copy->setBlockTableRecord(rep), Acad::eOk);
    resbuf* values = AcDbBlockReference::cast(khost::peekObject(first))->xData();
    EXPECT_EQ(copy->setXData(values), Acad::eOk);
    acutRelRb(values);
    copy->close();
    EXPECT_EQ(AcDbDynBlockReference(second).dynamicBlockTableRecord(), block);
    double d = 0.0;
    EXPECT_EQ(property(second, L"DELKA").value().getValue(d), Acad::eOk);
    EXPECT_EQ(d, 3.0);

    ASSERT_EQ(property(second, L"DELKA").setValue(AcDbEvalVariant(7.0)), Acad::eOk);
    AcDbObjectId rep2 = AcDbDynBlockReference(second).anonymousBlockTableRecord();
    EXPECT_NE(rep2, rep);
    EXPECT_EQ(lines(rep), (std::vector<std::string>{"2,2-13,2"})); // the first one unchanged
    EXPECT_EQ(lines(rep2), (std::vector<std::string>{"6,2-17,2"}));
}

std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST_F(DynBlkTest, SurvivesDxfRoundTripAndEzdxfSeesTheXData) {
    AcDbObjectId ref = insert(makeBlock(db.get(), L"ZNACKA"));
    ASSERT_EQ(property(ref, L"DELKA").setValue(AcDbEvalVariant(4.0)), Acad::eOk);
    ASSERT_EQ(property(ref, L"Vis").setValue(AcDbEvalVariant(L"Ano")), Acad::eOk);
    AcDbHandle handle;
    AcDbBlockReference::cast(khost::peekObject(ref))->getAcDbHandle(handle);

    const fs::path file = dir / "dyn.dxf";
    std::wstring error;
    ASSERT_TRUE(khost::writeDrawing(db.get(), khost::fromUtf8(file.string()), error));
    std::unique_ptr<AcDbDatabase> back(khost::readDrawing(khost::fromUtf8(file.string()), error));
    ASSERT_TRUE(back) << khost::toUtf8(error);
    AcDbObjectId ref2;
    ASSERT_EQ(back->getAcDbObjectId(ref2, false, handle), Acad::eOk);
    AcDbDynBlockReference dyn(ref2);
    ASSERT_TRUE(dyn.isDynamicBlock());
    EXPECT_STREQ(
        AcDbBlockTableRecord::cast(khost::peekObject(dyn.dynamicBlockTableRecord()))->name(),
        L"ZNACKA");
    EXPECT_FALSE(dyn.anonymousBlockTableRecord().isNull());
    double d = 0.0;
    AcString s;
    EXPECT_EQ(property(ref2, L"DELKA").value().getValue(d), Acad::eOk);
    EXPECT_EQ(d, 4.0);
    EXPECT_EQ(property(ref2, L"Vis").value().getValue(s), Acad::eOk);
    EXPECT_EQ(s, L"Ano");
    EXPECT_EQ(lines(dyn.anonymousBlockTableRecord()),
              (std::vector<std::string>{"0,0-4,0", "3,2-14,2"}));
    back.reset();

    if (std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") != 0)
        GTEST_SKIP() << "ezdxf is not installed";
    const fs::path script = dir / "check.py";
    const fs::path out = dir / "check.out";
    std::ofstream(script)
        << "import sys, ezdxf\n"
           "doc = ezdxf.readfile(sys.argv[1])\n"
           "a = doc.audit()\n"
           "print('audit', 'errors' if a.has_errors else 'ok')\n"
           "ref = doc.entitydb[sys.argv[2]]\n"
           "print('insert', ref.dxf.name.startswith('*U'))\n"
           "print('values', [t.value for t in ref.get_xdata('KHOST_DYNBLOCK')])\n"
           "rec = doc.blocks.get('ZNACKA').block_record\n"
           "print('definition', [t.value for t in rec.get_xdata('KHOST_DYNBLOCK')][:3])\n";
    ACHAR hex[32];
    handle.getIntoAsciiBuffer(hex, 32);
    std::string cmd = "/usr/bin/python3 " + script.string() + " " + file.string() + " " +
                      khost::toUtf8(hex) + " > " + out.string() + " 2>&1";
    std::system(cmd.c_str());
    EXPECT_EQ(readText(out), "audit ok\n"
                             "insert True\n"
                             "values ['DYNAMIC_REFERENCE', 'Vis', 'Ano', 'DELKA', 4.0, 'PREKLOP', "
                             "0, 'POZN', 'x']\n"
                             "definition ['DYNAMIC_BLOCK', 1, '{']\n");
}

TEST_F(DynBlkTest, DrawingInsertedAsBlockStaysDynamic) {
    AcDbDatabase source(true, true);
    makeBlock(&source, nullptr, true);
    acdbHostApplicationServices()->setWorkingDatabase(db.get());
    AcDbObjectId block;
    ASSERT_EQ(db->insert(block, L"Znacka", &source), Acad::eOk);
    EXPECT_TRUE(AcDbDynBlockReference::isDynamicBlock(block));
    AcDbObjectId ref = insert(block);
    EXPECT_EQ(property(ref, L"PREKLOP").setValue(AcDbEvalVariant(static_cast<short>(1))),
              Acad::eOk);
    EXPECT_EQ(lines(AcDbDynBlockReference(ref).anonymousBlockTableRecord()),
              (std::vector<std::string>{"1,2--10,2"}));
}

} // namespace
