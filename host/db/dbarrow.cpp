// Predefined arrowhead blocks.
#include "dbarrow.h"

#include "acutads.h"
#include "dbaddrec.h"
#include "dbents.h"
#include "dbimpl.h"
#include "dbraw.h"

#include <array>
#include <cmath>
#include <functional>
#include <memory>

namespace khost {

namespace {

const double kPi = 3.14159265358979323846;

// The entities of an arrowhead block: layer 0, colour, linetype and lineweight by block.
class ArrowBuilder {
public:
    explicit ArrowBuilder(AcDbDatabase* db) : m_db(db) {}
    std::vector<std::unique_ptr<AcDbEntity>>& entities() { return m_entities; }

    void line(double x1, double y1, double x2, double y2) {
        add(new AcDbLine(AcGePoint3d(x1, y1, 0.0), AcGePoint3d(x2, y2, 0.0)));
    }
    void circle(double cx, double cy, double r) {
        const double c[3] = {cx, cy, 0.0};
        raw(L"CIRCLE", L"AcDbCircle", acutBuildList(100, L"AcDbCircle", 10, c, 40, r, 0));
    }
    void arc(double cx, double cy, double r, double startDeg, double endDeg) {
        const double c[3] = {cx, cy, 0.0};
        raw(L"ARC", L"AcDbArc",
            acutBuildList(100, L"AcDbCircle", 10, c, 40, r, 100, L"AcDbArc", 50, startDeg, 51,
                          endDeg, 0));
    }
    // A filled quadrilateral (a triangle when the last two corners coincide), corners in the
    // order of the SOLID entity.
    void solid(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
               double y4) {
        const double p[4][3] = {{x1, y1, 0.0}, {x2, y2, 0.0}, {x3, y3, 0.0}, {x4, y4, 0.0}};
        raw(L"SOLID", L"AcDbTrace",
            acutBuildList(100, L"AcDbTrace", 10, p[0], 11, p[1], 12, p[2], 13, p[3], 0));
    }
    // A polyline of constant width through 2D vertices with bulges.
    void polyline(const std::vector<std::array<double, 3>>& vertices, bool closed, double width) {
        resbuf* chain =
            acutBuildList(100, L"AcDbPolyline", 90, static_cast<std::int32_t>(vertices.size()), 70,
                          closed ? 1 : 0, 43, width, 0);
        resbuf* tail = chain;
        while (tail->rbnext)
            tail = tail->rbnext;
        for (const auto& v : vertices) {
            const double p[3] = {v[0], v[1], -0.0}; // a 2D point in the file
            tail->rbnext = acutBuildList(10, p, 42, v[2], 0);
            while (tail->rbnext)
                tail = tail->rbnext;
        }
        raw(L"LWPOLYLINE", L"AcDbPolyline", chain);
    }
    // A filled dot of the given diameter.
    void dot(double diameter) {
        const double r = diameter / 4.0;
        polyline({{{-r, 0.0, 1.0}}, {{r, 0.0, 1.0}}}, true, diameter / 2.0);
    }

private:
    void raw(const wchar_t* dxfName, const wchar_t* className, resbuf* chain) {
        auto* e = new AcDbRawEntity(dxfName, className);
        e->setRawData(chain);
        acutRelRb(chain);
        add(e);
    }
    void add(AcDbEntity* e) {
        e->setLayer(m_db->layerZero());
        e->setLinetype(m_db->byBlockLinetype());
        e->setColorIndex(0);
        e->setLineWeight(AcDb::kLnWtByBlock);
        m_entities.emplace_back(e);
    }
    AcDbDatabase* m_db;
    std::vector<std::unique_ptr<AcDbEntity>> m_entities;
};

struct Arrowhead {
    const wchar_t* name;
    void (*draw)(ArrowBuilder& b);
};

const double kSixth = 1.0 / 6.0;

const Arrowhead kArrowheads[] = {
    {L"_ClosedBlank",
     [](ArrowBuilder& b) {
         b.line(0, 0, -1, kSixth);
         b.line(-1, kSixth, -1, -kSixth);
         b.line(-1, -kSixth, 0, 0);
     }},
    {L"_Closed",
     [](ArrowBuilder& b) {
         b.line(0, 0, -1, kSixth);
         b.line(-1, kSixth, -1, -kSixth);
         b.line(-1, -kSixth, 0, 0);
         b.line(-1, 0, 0, 0);
     }},
    {L"_Dot", [](ArrowBuilder& b) { b.dot(1.0); }},
    {L"_ArchTick",
     [](ArrowBuilder& b) {
         b.polyline({{{-0.5, -0.5, 0}}, {{0.5, 0.5, 0}}}, false, 0.15);
     }},
    {L"_Oblique", [](ArrowBuilder& b) { b.line(-0.5, -0.5, 0.5, 0.5); }},
    {L"_Open",
     [](ArrowBuilder& b) {
         b.line(0, 0, -1, kSixth);
         b.line(0, 0, -1, -kSixth);
         b.line(-1, 0, 0, 0);
     }},
    {L"_Origin",
     [](ArrowBuilder& b) {
         b.circle(0, 0, 0.5);
         b.line(-1, 0, -0.5, 0);
     }},
    {L"_Origin2",
     [](ArrowBuilder& b) {
         b.circle(0, 0, 0.5);
         b.circle(0, 0, 0.25);
         b.line(-1, 0, -0.5, 0);
     }},
    {L"_Open30",
     [](ArrowBuilder& b) {
         const double t = std::tan(15.0 * kPi / 180.0);
         b.line(0, 0, -1, t);
         b.line(0, 0, -1, -t);
         b.line(-1, 0, 0, 0);
     }},
    {L"_Open90",
     [](ArrowBuilder& b) {
         b.line(0, 0, -0.5, 0.5);
         b.line(0, 0, -0.5, -0.5);
         b.line(-1, 0, 0, 0);
     }},
    {L"_DotSmall", [](ArrowBuilder& b) { b.dot(0.25); }},
    {L"_DotBlank",
     [](ArrowBuilder& b) {
         b.circle(0, 0, 0.5);
         b.line(-1, 0, -0.5, 0);
     }},
    {L"_Small", [](ArrowBuilder& b) { b.circle(0, 0, 0.125); }},
    {L"_BoxBlank",
     [](ArrowBuilder& b) {
         b.line(-0.5, -0.5, 0.5, -0.5);
         b.line(0.5, -0.5, 0.5, 0.5);
         b.line(0.5, 0.5, -0.5, 0.5);
         b.line(-0.5, 0.5, -0.5, -0.5);
         b.line(-1, 0, -0.5, 0);
     }},
    {L"_BoxFilled",
     [](ArrowBuilder& b) {
         b.solid(-0.5, -0.5, 0.5, -0.5, -0.5, 0.5, 0.5, 0.5);
         b.line(-1, 0, -0.5, 0);
     }},
    {L"_DatumBlank",
     [](ArrowBuilder& b) {
         const double h = 1.0 / std::sqrt(3.0);
         b.line(0, h, 0, -h);
         b.line(0, -h, -1, 0);
         b.line(-1, 0, 0, h);
     }},
    {L"_DatumFilled",
     [](ArrowBuilder& b) {
         const double h = 1.0 / std::sqrt(3.0);
         b.solid(0, h, 0, -h, -1, 0, -1, 0);
     }},
    {L"_Integral",
     [](ArrowBuilder& b) {
         b.arc(0.25, 0.25, 0.25, 90.0, 180.0);
         b.line(0, 0.25, 0, -0.25);
         b.arc(-0.25, -0.25, 0.25, 270.0, 360.0);
     }},
    {L"_None", [](ArrowBuilder&) {}},
};

const Arrowhead* findArrowhead(const ACHAR* name) {
    if (!name)
        return nullptr;
    std::wstring key = nameKey(name);
    if (!key.empty() && key[0] != L'_')
        key.insert(key.begin(), L'_');
    for (const Arrowhead& a : kArrowheads)
        if (nameKey(a.name) == key)
            return &a;
    return nullptr;
}

} // namespace

const std::vector<std::wstring>& predefinedArrowheads() {
    static const std::vector<std::wstring> names = [] {
        std::vector<std::wstring> v;
        for (const Arrowhead& a : kArrowheads)
            v.emplace_back(a.name);
        return v;
    }();
    return names;
}

std::wstring predefinedArrowheadName(const ACHAR* name) {
    const Arrowhead* a = findArrowhead(name);
    return a ? a->name : L"";
}

Acad::ErrorStatus arrowheadBlockId(AcDbDatabase* db, const ACHAR* name, AcDbObjectId& blockId,
                                   bool create) {
    blockId = AcDbObjectId::kNull;
    if (!name || !*name || std::wstring(name) == L".")
        return Acad::eOk;
    if (!db)
        return Acad::eNoDatabase;
    const Arrowhead* a = findArrowhead(name);
    blockId = findRecord(db, DbRole::BlockTable, a ? a->name : name);
    if (!blockId.isNull())
        return Acad::eOk;
    if (!a || !create)
        return Acad::eKeyNotFound;

    ArrowBuilder builder(db);
    a->draw(builder);
    auto* block = new AcDbBlockTableRecord;
    Acad::ErrorStatus es = addRecordUnopened(db, DbRole::BlockTable, block, a->name, blockId);
    if (es != Acad::eOk) {
        delete block;
        return es;
    }
    for (auto& e : builder.entities()) {
        if (block->appendAcDbEntity(e.get()) == Acad::eOk)
            e.release()->close();
    }
    block->close();
    return Acad::eOk;
}

} // namespace khost
