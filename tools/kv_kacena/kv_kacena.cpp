// Generates the library drawing of the elevation marker, "kv_kacena": a dynamic block saved as a
// drawing of its own (its model space is the block, the model space record carries the dynamic
// properties), as the block fetch of the application inserts it.
//
//   kv_kacena OUTPUT.dxf
//
// The marker, in paper millimetres, its insertion point at the measured level:
//
//          VYSKA                 the height above the shelf (3 above the level)
//   ---------------------        the shelf, 3 above the level
//    \      /  POPIS             the description below the shelf
//     \    /
//      \  /
//  -----\/                       the leader along the level, shown with "S odkazem"
//       ^ insertion point        (the marker sits at its end, DL_ODKAZU from the point)
//
// Properties, evaluated in this order:
//   ODKAZ             visibility "S odkazem" / "Bez odkazu" (default): the leader is shown
//   DL_ODKAZU         length of the leader (>= 0, default 0): the marker moves along X
//   ZRC_VERT          flip of the symbol (triangle and shelf) about the level
//   ZRC_TEXTU         flip of the texts about the level
//   ZRC_HORIZ         flip of the marker about its own vertical axis (the shelf to the left)
//   ZRC_HORIZ_ODKAZU  flip of everything about the insertion point (the leader to the left)
//
// The output does not depend on when it is made: fixed GUIDs and dates.
#include "arxdb.h"
#include "dbhost.h"
#include "dxfio.h"
#include "textconv.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using khost::DynMembership;
using khost::DynPropDef;
using khost::DynPropKind;
using khost::DynRole;

constexpr double kTextHeight = 2.5;
constexpr double kDescriptionHeight = 2.0;
constexpr double kShelf = 3.0;                  // height of the shelf above the level
constexpr double kHalfWidth = 1.75;             // half the width of the triangle at the shelf
constexpr double kShelfEnd = 12.0;              // the shelf's end right of the insertion point
constexpr const char* kFixedDate = "2460310.5"; // 2024-01-01

bool check(Acad::ErrorStatus es, const char* what) {
    if (es != Acad::eOk)
        std::cerr << "kv_kacena: " << what << " failed with status " << static_cast<int>(es)
                  << "\n";
    return es == Acad::eOk;
}

DynPropDef flip(const wchar_t* name, const wchar_t* description, const AcGeVector3d& axis,
                const wchar_t* follows = L"") {
    DynPropDef p;
    p.name = name;
    p.kind = DynPropKind::Flip;
    p.description = description;
    p.defaultValue = static_cast<short>(0);
    p.allowed = {AcDbEvalVariant(static_cast<short>(0)), AcDbEvalVariant(static_cast<short>(1))};
    p.axisPoint = AcGePoint3d::kOrigin;
    p.axisDirection = axis;
    p.axisFollows = follows;
    return p;
}

std::vector<DynPropDef> properties() {
    std::vector<DynPropDef> props;
    DynPropDef odkaz;
    odkaz.name = L"ODKAZ";
    odkaz.kind = DynPropKind::Visibility;
    odkaz.description = L"Kačena s odkazem nebo bez něj";
    odkaz.defaultValue = L"Bez odkazu";
    odkaz.allowed = {AcDbEvalVariant(L"S odkazem"), AcDbEvalVariant(L"Bez odkazu")};
    props.push_back(odkaz);
    DynPropDef delka;
    delka.name = L"DL_ODKAZU";
    delka.kind = DynPropKind::Linear;
    delka.description = L"Délka odkazu";
    delka.defaultValue = 0.0;
    delka.hasMinimum = true;
    delka.minimum = 0.0;
    delka.direction = AcGeVector3d::kXAxis;
    props.push_back(delka);
    props.push_back(flip(L"ZRC_VERT", L"Značka pod úrovní", AcGeVector3d::kXAxis));
    props.push_back(flip(L"ZRC_TEXTU", L"Texty pod úrovní", AcGeVector3d::kXAxis));
    props.push_back(flip(L"ZRC_HORIZ", L"Police vlevo", AcGeVector3d::kYAxis, L"DL_ODKAZU"));
    props.push_back(flip(L"ZRC_HORIZ_ODKAZU", L"Odkaz vlevo", AcGeVector3d::kYAxis));
    return props;
}

// What each part of the marker takes part in.
const std::vector<DynMembership> kSymbol = {{L"DL_ODKAZU", DynRole::Move, {}},
                                            {L"ZRC_VERT", DynRole::Mirror, {}},
                                            {L"ZRC_HORIZ", DynRole::Mirror, {}},
                                            {L"ZRC_HORIZ_ODKAZU", DynRole::Mirror, {}}};
const std::vector<DynMembership> kText = {{L"DL_ODKAZU", DynRole::Move, {}},
                                          {L"ZRC_TEXTU", DynRole::Mirror, {}},
                                          {L"ZRC_HORIZ", DynRole::Mirror, {}},
                                          {L"ZRC_HORIZ_ODKAZU", DynRole::Mirror, {}}};
const std::vector<DynMembership> kLeader = {{L"ODKAZ", DynRole::Visible, {L"S odkazem"}},
                                            {L"DL_ODKAZU", DynRole::StretchEnd, {}},
                                            {L"ZRC_HORIZ_ODKAZU", DynRole::Mirror, {}}};

bool add(AcDbBlockTableRecord* ms, AcDbEntity* e, const std::vector<DynMembership>& roles) {
    if (!check(ms->appendAcDbEntity(e), "appending an entity")) {
        delete e;
        return false;
    }
    bool ok = check(khost::setDynamicMembership(e, roles), "the membership of an entity");
    e->close();
    return ok;
}

AcDbAttributeDefinition* attribute(const wchar_t* tag, const wchar_t* prompt, const AcGePoint3d& at,
                                   double height, AcDb::TextVertMode vertical, AcDbObjectId style) {
    auto* def = new AcDbAttributeDefinition(at, L"", tag, prompt, style);
    def->setHeight(height);
    def->setHorizontalMode(AcDb::kTextLeft);
    def->setVerticalMode(vertical);
    def->setAlignmentPoint(at);
    def->adjustAlignment();
    return def;
}

AcDbObjectId textStyle(AcDbDatabase* db) {
    AcDbTextStyleTable* table = nullptr;
    if (!check(db->getTextStyleTable(table, AcDb::kForWrite), "opening the text styles"))
        return AcDbObjectId::kNull;
    auto* style = new AcDbTextStyleTableRecord;
    style->setName(L"KV_TXT_MALY");
    style->setFileName(L"ArialN.ttf");
    style->setFont(L"Arial Narrow", false, false, 0, 0, true);
    AcDbObjectId id;
    if (check(table->add(id, style), "adding the text style"))
        style->close();
    else
        delete style;
    table->close();
    return id;
}

bool build(AcDbDatabase* db) {
    db->setInsunits(AcDb::kUnitsUndefined);
    db->setFingerprintGuid(L"{6B1F3C2A-4D5E-4F60-8A71-92B3C4D5E6F7}");
    db->setVersionGuid(L"{0A1B2C3D-4E5F-4061-8273-94A5B6C7D8E9}");
    AcDbObjectId style = textStyle(db);
    AcDbBlockTableRecord* ms = nullptr;
    if (style.isNull() ||
        !check(acdbOpenObject(ms, khost::roleId(db, khost::DbRole::ModelSpace), AcDb::kForWrite),
               "opening model space"))
        return false;
    bool ok = true;
    auto* triangle = new AcDbPolyline(3);
    triangle->addVertexAt(0, AcGePoint2d(0.0, 0.0));
    triangle->addVertexAt(1, AcGePoint2d(kHalfWidth, kShelf));
    triangle->addVertexAt(2, AcGePoint2d(-kHalfWidth, kShelf));
    triangle->setClosed(true);
    ok = add(ms, triangle, kSymbol) && ok;
    ok = add(ms,
             new AcDbLine(AcGePoint3d(-kHalfWidth, kShelf, 0.0),
                          AcGePoint3d(kShelfEnd, kShelf, 0.0)),
             kSymbol) &&
         ok;
    ok = add(ms, new AcDbLine(AcGePoint3d::kOrigin, AcGePoint3d::kOrigin), kLeader) && ok;
    ok = add(ms,
             attribute(L"VYSKA", L"Výška", AcGePoint3d(-1.25, kShelf + 0.5, 0.0), kTextHeight,
                       AcDb::kTextBottom, style),
             kText) &&
         ok;
    ok = add(ms,
             attribute(L"POPIS", L"Popis pod čarou",
                       AcGePoint3d(kHalfWidth + 0.5, kShelf - 0.5, 0.0), kDescriptionHeight,
                       AcDb::kTextTop, style),
             kText) &&
         ok;
    ok = check(khost::setDynamicBlockDefinition(ms, properties()), "the dynamic properties") && ok;
    ms->close();
    return ok;
}

// The dates of the header at a fixed value.
bool fixDates(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    in.close();
    std::string text = ss.str();
    for (const char* name : {"$TDCREATE", "$TDUCREATE", "$TDUPDATE", "$TDUUPDATE"}) {
        // "  9\n$NAME\n 40\nvalue\n"
        std::string key = std::string(name) + "\n 40\n";
        size_t at = text.find("\n" + key);
        if (at == std::string::npos)
            return false;
        size_t start = at + 1 + key.size();
        size_t end = text.find('\n', start);
        text.replace(start, end - start, kFixedDate);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: kv_kacena OUTPUT.dxf\n";
        return 2;
    }
    auto* db = new AcDbDatabase(true, true);
    acdbHostApplicationServices()->setWorkingDatabase(db);
    bool ok = build(db);
    std::wstring error;
    if (ok && !khost::writeDrawing(db, khost::fromUtf8(argv[1]), error)) {
        std::cerr << "kv_kacena: " << khost::toUtf8(error) << "\n";
        ok = false;
    }
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    delete db;
    if (ok && !fixDates(argv[1])) {
        std::cerr << "kv_kacena: the header dates were not found\n";
        ok = false;
    }
    return ok ? 0 : 1;
}
