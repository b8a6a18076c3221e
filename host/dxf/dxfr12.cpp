#include "dxfr12.h"

#include <algorithm>
#include <iterator>

namespace khost::dxf {

namespace {

bool isCommon(int code) {
    static const int kCommon[] = {6, 8, 48, 60, 62, 67, 284, 347, 370, 390, 420, 430, 440};
    return std::find(std::begin(kCommon), std::end(kCommon), code) != std::end(kCommon);
}

int flags(const Record& r) {
    long long v = 0;
    parseInt(r.find(70), v);
    return static_cast<int>(v);
}

// A subclass of an entity kind: its marker and its group codes; the default subclass takes the
// codes no other one claims.
struct Subclass {
    const char* marker;
    std::vector<int> codes;
    bool isDefault = false;
};

std::vector<Subclass> subclassesOf(const Record& r) {
    std::string_view t = r.type;
    if (t == "LINE")
        return {{"AcDbLine", {}, true}};
    if (t == "POINT")
        return {{"AcDbPoint", {}, true}};
    if (t == "CIRCLE")
        return {{"AcDbCircle", {}, true}};
    if (t == "ARC")
        return {{"AcDbCircle", {}, true}, {"AcDbArc", {50, 51}}};
    if (t == "TEXT")
        return {{"AcDbText", {}, true}, {"AcDbText", {73}}};
    if (t == "ATTRIB")
        return {{"AcDbText", {}, true}, {"AcDbAttribute", {2, 70, 73, 74, 280}}};
    if (t == "ATTDEF")
        return {{"AcDbText", {}, true}, {"AcDbAttributeDefinition", {3, 2, 70, 73, 74, 280}}};
    if (t == "SHAPE")
        return {{"AcDbShape", {}, true}};
    if (t == "INSERT")
        return {{"AcDbBlockReference", {}, true}};
    if (t == "SOLID" || t == "TRACE")
        return {{"AcDbTrace", {}, true}};
    if (t == "3DFACE")
        return {{"AcDbFace", {}, true}};
    if (t == "VIEWPORT")
        return {{"AcDbViewport", {}, true}};
    if (t == "DIMENSION") {
        switch (flags(r) & 7) {
        case 0:
            return {{"AcDbDimension", {}, true},
                    {"AcDbAlignedDimension", {12, 13, 14}},
                    {"AcDbRotatedDimension", {50, 52}}};
        case 1:
            return {{"AcDbDimension", {}, true}, {"AcDbAlignedDimension", {12, 13, 14}}};
        case 2:
            return {{"AcDbDimension", {}, true}, {"AcDb2LineAngularDimension", {13, 14, 15, 16}}};
        case 3:
            return {{"AcDbDimension", {}, true}, {"AcDbDiametricDimension", {15, 40}}};
        case 4:
            return {{"AcDbDimension", {}, true}, {"AcDbRadialDimension", {15, 40}}};
        case 5:
            return {{"AcDbDimension", {}, true}, {"AcDb3PointAngularDimension", {13, 14, 15}}};
        default:
            return {{"AcDbDimension", {}, true}, {"AcDbOrdinateDimension", {13, 14}}};
        }
    }
    if (t == "POLYLINE") {
        int f = flags(r);
        return {{(f & 64)   ? "AcDbPolyFaceMesh"
                 : (f & 16) ? "AcDbPolygonMesh"
                 : (f & 8)  ? "AcDb3dPolyline"
                            : "AcDb2dPolyline",
                 {},
                 true}};
    }
    if (t == "VERTEX") {
        int f = flags(r);
        return {{"AcDbVertex", {}},
                {(f & 64)    ? "AcDbPolyFaceMeshVertex"
                 : (f & 128) ? "AcDbFaceRecord"
                 : (f & 32)  ? "AcDb3dPolylineVertex"
                 : (f & 16)  ? "AcDbPolygonMeshVertex"
                             : "AcDb2dVertex",
                 {},
                 true}};
    }
    return {};
}

} // namespace

std::vector<Group> withSubclassMarkers(const Record& r) {
    std::vector<Subclass> subclasses = subclassesOf(r);
    const Group* begin = r.groups.data();
    const Group* end = begin + r.groups.size();
    const Group* xdata = std::find_if(begin, end, [](const Group& g) { return g.code == 1001; });

    std::vector<Group> out;
    out.reserve(r.groups.size() + 1 + subclasses.size());
    // The object's part: handle, the groups of applications ("{NAME" ... "}"), owner.
    bool inBraces = false;
    for (const Group* p = begin; p < xdata; ++p) {
        bool objectGroup = inBraces || p->code == 5 || p->code == 330 || p->code == 102;
        if (p->code == 102)
            inBraces = !trim(p->value).empty() && trim(p->value)[0] == '{';
        if (objectGroup)
            out.push_back(*p);
    }
    out.push_back({100, "AcDbEntity", r.line});
    auto inObjectPart = [&](const Group* p) {
        return p->code == 5 || p->code == 330 || p->code == 102;
    };
    // Groups inside braces were taken above; find them again to leave them out below.
    std::vector<bool> taken(r.groups.size(), false);
    inBraces = false;
    for (const Group* p = begin; p < xdata; ++p) {
        size_t i = static_cast<size_t>(p - begin);
        taken[i] = inBraces || inObjectPart(p);
        if (p->code == 102)
            inBraces = !trim(p->value).empty() && trim(p->value)[0] == '{';
    }
    for (const Group* p = begin; p < xdata; ++p)
        if (!taken[static_cast<size_t>(p - begin)] && isCommon(p->code)) {
            out.push_back(*p);
            taken[static_cast<size_t>(p - begin)] = true;
        }
    auto claimedBy = [&](int code) -> const Subclass* {
        // The Y and Z of a point go with its X.
        if ((code >= 20 && code <= 39) || (code >= 120 && code <= 139) ||
            (code >= 220 && code <= 239)) {
            int x = code % 100 >= 30 ? code - 20 : code - 10;
            if (x % 100 < 20)
                code = x;
        }
        const Subclass* dflt = nullptr;
        for (const Subclass& s : subclasses) {
            if (std::find(s.codes.begin(), s.codes.end(), code) != s.codes.end())
                return &s;
            if (s.isDefault)
                dflt = &s;
        }
        return dflt;
    };
    for (const Subclass& s : subclasses) {
        out.push_back({100, s.marker, r.line});
        for (const Group* p = begin; p < xdata; ++p) {
            size_t i = static_cast<size_t>(p - begin);
            if (!taken[i] && claimedBy(p->code) == &s) {
                out.push_back(*p);
                taken[i] = true;
            }
        }
    }
    // What no subclass claims (a kind without a table entry) stays after the markers.
    for (const Group* p = begin; p < xdata; ++p)
        if (!taken[static_cast<size_t>(p - begin)])
            out.push_back(*p);
    out.insert(out.end(), xdata, end);
    return out;
}

} // namespace khost::dxf
