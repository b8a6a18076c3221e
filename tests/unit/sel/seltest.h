// Helpers of the selection tests: a host with one drawing whose objects must all be closed at the
// end, and builders of entities, layers, block definitions and references.
#pragma once

#include "hostfixture.h"

#include "acutads.h"
#include "edentfn.h"
#include "edsel.h"

#include <initializer_list>
#include <string>

namespace seltest {

inline AcDbDatabase* workingDb() {
    return acdbHostApplicationServices()->workingDatabase();
}

// Appends an entity to a block (model space by default) and closes it.
inline AcDbObjectId add(AcDbEntity* e, AcDbObjectId block = AcDbObjectId::kNull) {
    if (block.isNull())
        block = workingDb()->currentSpaceId();
    AcDbBlockTableRecord* btr = nullptr;
    EXPECT_EQ(acdbOpenObject(btr, block, AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(btr->appendAcDbEntity(id, e), Acad::eOk);
    e->close();
    btr->close();
    return id;
}

// A new block definition with its origin at the world origin.
inline AcDbObjectId defineBlock(const wchar_t* name) {
    AcDbBlockTable* bt = nullptr;
    EXPECT_EQ(workingDb()->getBlockTable(bt, AcDb::kForWrite), Acad::eOk);
    auto* btr = new AcDbBlockTableRecord;
    btr->setName(name);
    AcDbObjectId id;
    EXPECT_EQ(bt->add(id, btr), Acad::eOk);
    btr->close();
    bt->close();
    return id;
}

inline AcDbObjectId insert(AcDbObjectId block, const AcGePoint3d& at, double rotation = 0.0,
                           double scale = 1.0, AcDbObjectId into = AcDbObjectId::kNull) {
    auto* br = new AcDbBlockReference(at, block);
    br->setRotation(rotation);
    br->setScaleFactors(AcGeScale3d(scale, scale, scale));
    return add(br, into);
}

// An attribute on a reference that is already in the drawing.
inline AcDbObjectId attach(AcDbObjectId ref, const AcGePoint3d& at, const wchar_t* text) {
    AcDbBlockReference* br = nullptr;
    EXPECT_EQ(acdbOpenObject(br, ref, AcDb::kForWrite), Acad::eOk);
    auto* att = new AcDbAttribute(at, text, L"TAG");
    att->setHeight(2.5);
    AcDbObjectId id;
    EXPECT_EQ(br->appendAttribute(id, att), Acad::eOk);
    att->close();
    br->close();
    return id;
}

inline AcDbObjectId layer(const wchar_t* name, bool frozen = false, bool off = false,
                          bool locked = false) {
    AcDbLayerTable* lt = nullptr;
    EXPECT_EQ(workingDb()->getLayerTable(lt, AcDb::kForWrite), Acad::eOk);
    auto* rec = new AcDbLayerTableRecord;
    rec->setName(name);
    rec->setIsFrozen(frozen);
    rec->setIsOff(off);
    rec->setIsLocked(locked);
    AcDbObjectId id;
    EXPECT_EQ(lt->add(id, rec), Acad::eOk);
    rec->close();
    lt->close();
    return id;
}

inline AcDbLine* line(double x0, double y0, double x1, double y1) {
    return new AcDbLine(AcGePoint3d(x0, y0, 0), AcGePoint3d(x1, y1, 0));
}

inline AcDbText* text(double x, double y, const wchar_t* s, double height = 2.5) {
    return new AcDbText(AcGePoint3d(x, y, 0), s, AcDbObjectId::kNull, height);
}

// A light-weight polyline through the points; bulges per vertex (missing ones 0).
inline AcDbPolyline* pline(std::initializer_list<AcGePoint2d> pts,
                           std::initializer_list<double> bulges = {}) {
    auto* pl = new AcDbPolyline;
    unsigned int i = 0;
    auto b = bulges.begin();
    for (const AcGePoint2d& p : pts) {
        double bulge = b != bulges.end() ? *b++ : 0.0;
        pl->addVertexAt(i++, p, bulge);
    }
    return pl;
}

// Types an answer line (or several, separated by newlines).
inline void type(const std::wstring& text) {
    khost::hostInput().push(text);
}

inline AcDbObjectId idOf(const ads_name n) {
    AcDbObjectId id;
    acdbGetObjectId(id, n);
    return id;
}

inline std::vector<AcDbObjectId> members(const ads_name ss) {
    std::vector<AcDbObjectId> out;
    Adesk::Int32 n = 0;
    if (acedSSLength(ss, &n) != RTNORM)
        return out;
    for (Adesk::Int32 i = 0; i < n; ++i) {
        ads_name en;
        acedSSName(ss, i, en);
        out.push_back(idOf(en));
    }
    return out;
}

// The fixture: the strict open check is on and no test leaves an object open or a set behind.
class SelTest : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        khost::setStrictOpenCheck(true);
        khost::resetOpenCheckFailures();
        m_sets = khost::selectionSetCount();
    }
    void TearDown() override {
        EXPECT_EQ(khost::reportOpenObjects(L"test"), 0);
        EXPECT_EQ(khost::openCheckFailures(), 0);
        EXPECT_EQ(khost::selectionSetCount(), m_sets) << "a selection set was not freed";
        khost::setStrictOpenCheck(false);
        HostFixture::TearDown();
    }
    int m_sets = 0;
};

} // namespace seltest
