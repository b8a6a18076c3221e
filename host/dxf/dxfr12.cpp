#include "dxfr12.h"

#include <algorithm>
#include <iterator>

namespace khost::dxf {

namespace {

bool isCommon(int code) {
    static const int kCommon[] = {5,   6,   8,   48,  60,  62,  67,  102, 330,
                                  347, 360, 370, 390, 420, 430, 440, 284};
    return code >= 1000 ||
           std::find(std::begin(kCommon), std::end(kCommon), code) != std::end(kCommon);
}

int flags(const Record& r) {
    long long v = 0;
    parseInt(r.find(70), v);
    return static_cast<int>(v);
}

// A marker and the codes before the first of which it goes (empty: before the first group of
// the entity's own).
struct Marker {
    const char* name;
    std::vector<int> before;
};

std::vector<Marker> markersOf(const Record& r) {
    std::string_view t = r.type;
    if (t == "LINE")
        return {{"AcDbLine", {}}};
    if (t == "POINT")
        return {{"AcDbPoint", {}}};
    if (t == "CIRCLE")
        return {{"AcDbCircle", {}}};
    if (t == "ARC")
        return {{"AcDbCircle", {}}, {"AcDbArc", {50, 51}}};
    if (t == "TEXT")
        return {{"AcDbText", {}}, {"AcDbText", {73}}};
    if (t == "ATTRIB")
        return {{"AcDbText", {}}, {"AcDbAttribute", {2}}};
    if (t == "ATTDEF")
        return {{"AcDbText", {}}, {"AcDbAttributeDefinition", {3, 2}}};
    if (t == "SHAPE")
        return {{"AcDbShape", {}}};
    if (t == "INSERT")
        return {{"AcDbBlockReference", {}}};
    if (t == "SOLID" || t == "TRACE")
        return {{"AcDbTrace", {}}};
    if (t == "3DFACE")
        return {{"AcDbFace", {}}};
    if (t == "VIEWPORT")
        return {{"AcDbViewport", {}}};
    if (t == "DIMENSION")
        return {{"AcDbDimension", {}}};
    if (t == "POLYLINE") {
        int f = flags(r);
        return {{(f & 64)   ? "AcDbPolyFaceMesh"
                 : (f & 16) ? "AcDbPolygonMesh"
                 : (f & 8)  ? "AcDb3dPolyline"
                            : "AcDb2dPolyline",
                 {}}};
    }
    if (t == "VERTEX") {
        int f = flags(r);
        return {{"AcDbVertex", {}},
                {(f & 64)    ? "AcDbPolyFaceMeshVertex"
                 : (f & 128) ? "AcDbFaceRecord"
                 : (f & 32)  ? "AcDb3dPolylineVertex"
                 : (f & 16)  ? "AcDbPolygonMeshVertex"
                             : "AcDb2dVertex",
                 {}}};
    }
    return {};
}

} // namespace

std::vector<Group> withSubclassMarkers(const Record& r) {
    std::vector<Marker> markers = markersOf(r);
    std::vector<Group> out;
    out.reserve(r.groups.size() + 1 + markers.size());
    out.push_back({100, "AcDbEntity", r.line});
    size_t next = 0;
    for (const Group& g : r.groups) {
        while (next < markers.size() && !isCommon(g.code)) {
            const Marker& m = markers[next];
            bool here = m.before.empty()
                            ? true
                            : std::find(m.before.begin(), m.before.end(), g.code) != m.before.end();
            if (!here)
                break;
            out.push_back({100, m.name, g.line});
            ++next;
        }
        out.push_back(g);
    }
    for (; next < markers.size(); ++next)
        out.push_back({100, markers[next].name, r.line});
    return out;
}

} // namespace khost::dxf
