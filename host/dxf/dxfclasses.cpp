#include "dxfclasses.h"

#include "acutads.h"
#include "dbhost.h"

#include <cstdlib>

namespace khost::dxf {

namespace {

// Kept with the database's unmodelled header variables under a name no header variable has.
const wchar_t* const kKeptClasses = L"*CLASSES";

const ClassDef kKnown[] = {
    {L"ACDBDICTIONARYWDFLT", L"AcDbDictionaryWithDefault", L"ObjectDBX Classes", 0, 0, 0, 0},
    {L"ACDBPLACEHOLDER", L"AcDbPlaceHolder", L"ObjectDBX Classes", 0, 0, 0, 0},
    {L"LAYOUT", L"AcDbLayout", L"ObjectDBX Classes", 0, 0, 0, 0},
    {L"DICTIONARYVAR", L"AcDbDictionaryVar", L"ObjectDBX Classes", 0, 0, 0, 0},
    {L"TABLESTYLE", L"AcDbTableStyle", L"ObjectDBX Classes", 4095, 0, 0, 0},
    {L"MATERIAL", L"AcDbMaterial", L"ObjectDBX Classes", 1153, 0, 0, 0},
    {L"VISUALSTYLE", L"AcDbVisualStyle", L"ObjectDBX Classes", 4095, 0, 0, 0},
    {L"SCALE", L"AcDbScale", L"ObjectDBX Classes", 1153, 0, 0, 0},
    {L"ACDB_TEXTOBJECTCONTEXTDATA_CLASS", L"AcDbTextObjectContextData", L"ObjectDBX Classes", 1153,
     0, 0, 0},
    {L"ACDB_MTEXTOBJECTCONTEXTDATA_CLASS", L"AcDbMTextObjectContextData", L"ObjectDBX Classes",
     1153, 0, 0, 0},
    {L"ACDB_BLKREFOBJECTCONTEXTDATA_CLASS", L"AcDbBlkRefObjectContextData", L"ObjectDBX Classes",
     1153, 0, 0, 0},
    {L"ACDB_MLEADEROBJECTCONTEXTDATA_CLASS", L"AcDbMLeaderObjectContextData", L"ObjectDBX Classes",
     1153, 0, 0, 0},
    {L"ACDB_LEADEROBJECTCONTEXTDATA_CLASS", L"AcDbLeaderObjectContextData", L"ObjectDBX Classes",
     1153, 0, 0, 0},
    {L"ACDB_HATCHSCALECONTEXTDATA_CLASS", L"AcDbHatchScaleContextData", L"ObjectDBX Classes", 1153,
     0, 0, 0},
    {L"ACDB_ALDIMOBJECTCONTEXTDATA_CLASS", L"AcDbAlignedDimensionObjectContextData",
     L"ObjectDBX Classes", 1153, 0, 0, 0},
    {L"ACDB_FCFOBJECTCONTEXTDATA_CLASS", L"AcDbFcfObjectContextData", L"ObjectDBX Classes", 1153, 0,
     0, 0},
    {L"MLEADERSTYLE", L"AcDbMLeaderStyle", L"ACDB_MLEADERSTYLE_CLASS", 4095, 0, 0, 0},
    {L"CELLSTYLEMAP", L"AcDbCellStyleMap", L"ObjectDBX Classes", 1152, 0, 0, 0},
    {L"SORTENTSTABLE", L"AcDbSortentsTable", L"ObjectDBX Classes", 0, 0, 0, 0},
    {L"PLOTSETTINGS", L"AcDbPlotSettings", L"ObjectDBX Classes", 0, 0, 0, 0},
    {L"DIMASSOC", L"AcDbDimAssoc", L"ObjectDBX Classes", 0, 0, 0, 0},
    {L"IDBUFFER", L"AcDbIdBuffer", L"ObjectDBX Classes", 0, 0, 0, 0},
    {L"LAYER_INDEX", L"AcDbLayerIndex", L"ObjectDBX Classes", 0, 0, 0, 0},
    {L"SPATIAL_INDEX", L"AcDbSpatialIndex", L"ObjectDBX Classes", 0, 0, 0, 0},
    {L"SPATIAL_FILTER", L"AcDbSpatialFilter", L"ObjectDBX Classes", 0, 0, 0, 0},
    {L"FIELD", L"AcDbField", L"ObjectDBX Classes", 1152, 0, 0, 0},
    {L"FIELDLIST", L"AcDbFieldList", L"ObjectDBX Classes", 1152, 0, 0, 0},
    {L"GEODATA", L"AcDbGeoData", L"ObjectDBX Classes", 4095, 0, 0, 0},
    {L"RASTERVARIABLES", L"AcDbRasterVariables", L"ISM", 0, 0, 0, 0},
    {L"IMAGEDEF", L"AcDbRasterImageDef", L"ISM", 0, 0, 0, 0},
    {L"IMAGEDEF_REACTOR", L"AcDbRasterImageDefReactor", L"ISM", 1, 0, 0, 0},
    {L"IMAGE", L"AcDbRasterImage", L"ISM", 127, 0, 0, 1},
    {L"WIPEOUTVARIABLES", L"AcDbWipeoutVariables", L"WipeOut", 0, 0, 0, 0},
    {L"WIPEOUT", L"AcDbWipeout", L"WipeOut", 127, 0, 0, 1},
    {L"HATCH", L"AcDbHatch", L"ObjectDBX Classes", 0, 0, 0, 1},
    {L"LWPOLYLINE", L"AcDbPolyline", L"ObjectDBX Classes", 0, 0, 0, 1},
    {L"MULTILEADER", L"AcDbMLeader", L"ACDB_MLEADER_CLASS", 3071, 0, 0, 1},
    {L"ACAD_TABLE", L"AcDbTable", L"ObjectDBX Classes", 1025, 0, 0, 1},
    {L"OLE2FRAME", L"AcDbOle2Frame", L"ObjectDBX Classes", 0, 0, 0, 1},
};

int intOf(const resbuf* rb) {
    switch (rbKind(rb->restype)) {
    case RbKind::Short:
        return rb->resval.rint;
    case RbKind::Long:
        return rb->resval.rlong;
    default:
        return 0;
    }
}

} // namespace

void keepClasses(AcDbDatabase* db, const Section& classes, const TextCodec& codec) {
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    auto append = [&](resbuf* node) {
        (tail ? tail->rbnext : head) = node;
        tail = node;
    };
    for (const Record& r : classes.records) {
        if (r.type != "CLASS")
            continue;
        resbuf* start = acutNewRb(0); // (0 is the end of acutBuildList's arguments)
        rbSetString(start, L"CLASS");
        append(start);
        for (const Group& g : r.groups) {
            resbuf* node = nullptr;
            long long v = 0;
            switch (g.code) {
            case 1:
            case 2:
            case 3:
                node = acutNewRb(g.code);
                rbSetString(node, codec.decode(g.value).c_str());
                break;
            case 90:
            case 91:
                node = acutNewRb(g.code);
                parseInt(g.value, v);
                node->resval.rlong = static_cast<std::int32_t>(v);
                break;
            case 280:
            case 281:
                node = acutNewRb(g.code);
                parseInt(g.value, v);
                node->resval.rint = static_cast<short>(v);
                break;
            default:
                break;
            }
            if (node)
                append(node);
        }
    }
    if (head)
        setExtraHeaderVar(db, kKeptClasses, head);
    acutRelRb(head);
}

std::vector<ClassDef> keptClasses(AcDbDatabase* db) {
    std::vector<ClassDef> out;
    for (const resbuf* rb = extraHeaderVar(db, kKeptClasses); rb; rb = rb->rbnext) {
        if (rb->restype == 0) {
            out.emplace_back();
            continue;
        }
        if (out.empty())
            continue;
        ClassDef& c = out.back();
        const wchar_t* s =
            rbKind(rb->restype) == RbKind::String && rb->resval.rstring ? rb->resval.rstring : L"";
        switch (rb->restype) {
        case 1:
            c.dxfName = s;
            break;
        case 2:
            c.cppName = s;
            break;
        case 3:
            c.appName = s;
            break;
        case 90:
            c.proxyFlags = intOf(rb);
            break;
        case 280:
            c.wasProxy = intOf(rb);
            break;
        case 281:
            c.isEntity = intOf(rb);
            break;
        default:
            break;
        }
    }
    return out;
}

std::vector<ClassDef> classesToWrite(AcDbDatabase* db, const std::map<std::wstring, int>& used) {
    std::vector<ClassDef> out;
    std::map<std::wstring, bool> done;
    auto add = [&](ClassDef c) {
        auto it = used.find(c.dxfName);
        if (it == used.end() || done[c.dxfName])
            return;
        done[c.dxfName] = true;
        c.count = it->second;
        out.push_back(std::move(c));
    };
    for (const ClassDef& c : keptClasses(db))
        add(c);
    for (const ClassDef& c : kKnown)
        add(c);
    return out;
}

} // namespace khost::dxf
