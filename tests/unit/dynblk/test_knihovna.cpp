// The library drawing of the elevation marker: the committed file is what its generator makes,
// it becomes a dynamic block with the marker's attributes and properties, and the properties
// place the marker's parts where a draughtsman expects them.
#include "arxdb.h"
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

const fs::path kLibrary = fs::path(KRESBON_SOURCE_DIR) / "data/Kresbon/BLOKY/kv_kacena.dxf";

std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class KnihovnaTest : public ::testing::Test {
protected:
    void SetUp() override {
        khost::hostTranscript().startCapture(false);
        db = std::make_unique<AcDbDatabase>();
        acdbHostApplicationServices()->setWorkingDatabase(db.get());
        std::wstring error;
        std::unique_ptr<AcDbDatabase> lib(
            khost::readDrawing(khost::fromUtf8(kLibrary.string()), error));
        ASSERT_TRUE(lib) << khost::toUtf8(error);
        acdbHostApplicationServices()->setWorkingDatabase(db.get());
        ASSERT_EQ(db->insert(block, L"kv_kacena", lib.get()), Acad::eOk);
        AcDbBlockTableRecord* ms = nullptr;
        ASSERT_EQ(acdbOpenObject(ms, db->currentSpaceId(), AcDb::kForWrite), Acad::eOk);
        auto* r = new AcDbBlockReference(AcGePoint3d::kOrigin, block);
        ASSERT_EQ(ms->appendAcDbEntity(ref, r), Acad::eOk);
        ms->close();
        for (AcDbObjectId e : AcDbBlockTableRecord::cast(khost::peekObject(block))->entityIds()) {
            AcDbAttributeDefinition* def = nullptr;
            if (acdbOpenObject(def, e, AcDb::kForRead) != Acad::eOk)
                continue;
            auto* a = new AcDbAttribute;
            a->setAttributeFromBlock(def, r->blockTransform());
            def->close();
            r->appendAttribute(a);
            a->close();
        }
        r->close();
    }
    void TearDown() override {
        EXPECT_EQ(khost::reportOpenObjects(L"test end"), 0);
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
        db.reset();
        khost::hostTranscript().stopCapture();
    }

    void set(const wchar_t* name, const AcDbEvalVariant& v) {
        AcDbDynBlockReferencePropertyArray props;
        AcDbDynBlockReference(ref).getBlockProperties(props);
        for (auto& p : props)
            if (p.propertyName() == name) {
                EXPECT_EQ(p.setValue(v), Acad::eOk) << khost::toUtf8(name);
                return;
            }
        ADD_FAILURE() << "no property " << khost::toUtf8(name);
    }

    // The drawn block of the reference.
    AcDbBlockTableRecord* drawn() {
        auto* r = AcDbBlockReference::cast(khost::peekObject(ref));
        return AcDbBlockTableRecord::cast(khost::peekObject(r->blockTableRecord()));
    }
    const AcDbPolyline* triangle() {
        for (AcDbObjectId e : drawn()->entityIds())
            if (auto* p = AcDbPolyline::cast(khost::peekObject(e)))
                return p;
        return nullptr;
    }
    // The leader: the line that starts at the insertion point.
    const AcDbLine* leader() {
        for (AcDbObjectId e : drawn()->entityIds())
            if (auto* l = AcDbLine::cast(khost::peekObject(e)))
                if (l->startPoint().isEqualTo(AcGePoint3d::kOrigin))
                    return l;
        return nullptr;
    }
    const AcDbAttribute* attribute(const wchar_t* tag) {
        auto* r = AcDbBlockReference::cast(khost::peekObject(ref));
        std::unique_ptr<AcDbObjectIterator> it(r->attributeIterator());
        for (; !it->done(); it->step())
            if (auto* a = AcDbAttribute::cast(khost::peekObject(it->objectId())))
                if (std::wstring(a->tagConst()) == tag)
                    return a;
        return nullptr;
    }

    std::unique_ptr<AcDbDatabase> db;
    AcDbObjectId block, ref;
};

TEST(KnihovnaSoubor, RegeneratingGivesTheCommittedFile) {
    const fs::path tool = fs::path(KRESBON_BINARY_DIR) / "tools/kv_kacena";
    ASSERT_TRUE(fs::exists(tool)) << "build the generator first";
    const fs::path out =
        fs::temp_directory_path() / ("kv_kacena-" + std::to_string(getpid()) + ".dxf");
    ASSERT_EQ(std::system((tool.string() + " " + out.string()).c_str()), 0);
    const std::string made = readText(out);
    fs::remove(out);
    EXPECT_FALSE(made.empty());
    EXPECT_TRUE(made == readText(kLibrary)) << "regenerate " << kLibrary;
}

TEST_F(KnihovnaTest, DynamicBlockWithTheMarkersAttributesAndProperties) {
    EXPECT_TRUE(AcDbDynBlockReference::isDynamicBlock(block));
    AcDbDynBlockReferencePropertyArray props;
    AcDbDynBlockReference(ref).getBlockProperties(props);
    std::vector<std::pair<std::string, int>> got;
    for (const auto& p : props)
        got.emplace_back(khost::toUtf8(p.propertyName().constPtr()), p.propertyType());
    EXPECT_EQ(got,
              (std::vector<std::pair<std::string, int>>{{"ODKAZ", AcDb::kDwgText},
                                                        {"DL_ODKAZU", AcDb::kDwgReal},
                                                        {"ZRC_VERT", AcDb::kDwgInt16},
                                                        {"ZRC_TEXTU", AcDb::kDwgInt16},
                                                        {"ZRC_HORIZ", AcDb::kDwgInt16},
                                                        {"ZRC_HORIZ_ODKAZU", AcDb::kDwgInt16}}));
    AcDbEvalVariantArray states;
    ASSERT_EQ(props[0].getAllowedValues(states), Acad::eOk);
    ASSERT_EQ(states.length(), 2);
    AcString s0, s1;
    states[0].getValue(s0);
    states[1].getValue(s1);
    EXPECT_EQ(s0, L"S odkazem");
    EXPECT_EQ(s1, L"Bez odkazu");
    ASSERT_NE(attribute(L"VYSKA"), nullptr);
    ASSERT_NE(attribute(L"POPIS"), nullptr);
    // As inserted: the triangle's tip at the point, the height above the shelf, the description
    // below it, no leader.
    ASSERT_NE(triangle(), nullptr);
    AcGePoint2d tip;
    triangle()->getPointAt(0, tip);
    EXPECT_TRUE(tip.isEqualTo(AcGePoint2d(0, 0)));
    EXPECT_GT(attribute(L"VYSKA")->position().y, 3.0);
    EXPECT_LT(attribute(L"POPIS")->position().y, 3.0);
}

TEST_F(KnihovnaTest, LeaderToTheLeftCarriesTheMarker) {
    set(L"ODKAZ", AcDbEvalVariant(L"S odkazem"));
    set(L"DL_ODKAZU", AcDbEvalVariant(8.0));
    set(L"ZRC_HORIZ_ODKAZU", AcDbEvalVariant(static_cast<short>(1)));
    ASSERT_NE(leader(), nullptr);
    EXPECT_TRUE(leader()->endPoint().isEqualTo(AcGePoint3d(-8, 0, 0)));
    AcGePoint2d tip;
    triangle()->getPointAt(0, tip);
    EXPECT_TRUE(tip.isEqualTo(AcGePoint2d(-8, 0)));
    // The texts run to the left from above the marker, right-justified.
    EXPECT_EQ(attribute(L"VYSKA")->horizontalMode(), AcDb::kTextRight);
    EXPECT_NEAR(attribute(L"VYSKA")->alignmentPoint().x, -6.75, 1e-9);

    // ZRC_HORIZ brings the texts back to the right of the marker.
    set(L"ZRC_HORIZ", AcDbEvalVariant(static_cast<short>(1)));
    EXPECT_EQ(attribute(L"VYSKA")->horizontalMode(), AcDb::kTextLeft);
    EXPECT_NEAR(attribute(L"VYSKA")->alignmentPoint().x, -9.25, 1e-9);
    // Without the leader it is hidden; its length set to 0 puts the marker back at the point.
    set(L"ODKAZ", AcDbEvalVariant(L"Bez odkazu"));
    set(L"DL_ODKAZU", AcDbEvalVariant(0.0));
    EXPECT_EQ(leader(), nullptr);
    triangle()->getPointAt(0, tip);
    EXPECT_TRUE(tip.isEqualTo(AcGePoint2d(0, 0)));
}

TEST_F(KnihovnaTest, MarkerBelowTheLevel) {
    set(L"ZRC_VERT", AcDbEvalVariant(static_cast<short>(1)));
    set(L"ZRC_TEXTU", AcDbEvalVariant(static_cast<short>(1)));
    AcGePoint2d corner;
    triangle()->getPointAt(1, corner);
    EXPECT_NEAR(corner.y, -3.0, 1e-9); // the triangle points up at the point
    const AcDbAttribute* vyska = attribute(L"VYSKA");
    EXPECT_EQ(vyska->verticalMode(), AcDb::kTextTop); // hanging below the shelf
    EXPECT_LT(vyska->alignmentPoint().y, -3.0);
    EXPECT_GT(attribute(L"POPIS")->alignmentPoint().y, -3.0);
    EXPECT_FALSE(vyska->isMirroredInX());
    EXPECT_FALSE(vyska->isMirroredInY());
}

} // namespace
