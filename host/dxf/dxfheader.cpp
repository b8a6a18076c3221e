#include "dxfheader.h"

#include "acutads.h"
#include "dbdict.h"
#include "dbhost.h"
#include "dbsymtb.h"
#include "gepnt3d.h"
#include "gevec3d.h"
#include "textconv.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <cwctype>
#include <map>
#include <set>

namespace khost::dxf {

namespace {

using K = HKind;

// The variables of a DXF R2013 header in the format's order, with the defaults of a metric
// drawing.
const std::vector<HeaderVarDef> kDefs = {
    {"$ACADVER", 1, K::Str, "AC1027"},
    {"$ACADMAINTVER", 70, K::Int, "105"},
    {"$DWGCODEPAGE", 3, K::Str, "ANSI_1250"},
    {"$REQUIREDVERSIONS", 160, K::Int, "0"},
    {"$INSBASE", 10, K::Point3, "0,0,0"},
    {"$EXTMIN", 10, K::Point3, "1e20,1e20,1e20"},
    {"$EXTMAX", 10, K::Point3, "-1e20,-1e20,-1e20"},
    {"$LIMMIN", 10, K::Point2, "0,0"},
    {"$LIMMAX", 10, K::Point2, "420,297"},
    {"$ORTHOMODE", 70, K::Int, "0"},
    {"$REGENMODE", 70, K::Int, "1"},
    {"$FILLMODE", 70, K::Int, "1"},
    {"$QTEXTMODE", 70, K::Int, "0"},
    {"$MIRRTEXT", 70, K::Int, "0"},
    {"$LTSCALE", 40, K::Real, "1"},
    {"$ATTMODE", 70, K::Int, "1"},
    {"$TEXTSIZE", 40, K::Real, "2.5"},
    {"$TRACEWID", 40, K::Real, "1"},
    {"$TEXTSTYLE", 7, K::Str, "Standard"},
    {"$CLAYER", 8, K::Str, "0"},
    {"$CELTYPE", 6, K::Str, "ByLayer"},
    {"$CECOLOR", 62, K::Int, "256"},
    {"$CELTSCALE", 40, K::Real, "1"},
    {"$DISPSILH", 70, K::Int, "0"},
    {"$DIMSCALE", 40, K::Real, "1"},
    {"$DIMASZ", 40, K::Real, "2.5"},
    {"$DIMEXO", 40, K::Real, "0.625"},
    {"$DIMDLI", 40, K::Real, "3.75"},
    {"$DIMRND", 40, K::Real, "0"},
    {"$DIMDLE", 40, K::Real, "0"},
    {"$DIMEXE", 40, K::Real, "1.25"},
    {"$DIMTP", 40, K::Real, "0"},
    {"$DIMTM", 40, K::Real, "0"},
    {"$DIMTXT", 40, K::Real, "2.5"},
    {"$DIMCEN", 40, K::Real, "2.5"},
    {"$DIMTSZ", 40, K::Real, "0"},
    {"$DIMTOL", 70, K::Int, "0"},
    {"$DIMLIM", 70, K::Int, "0"},
    {"$DIMTIH", 70, K::Int, "0"},
    {"$DIMTOH", 70, K::Int, "0"},
    {"$DIMSE1", 70, K::Int, "0"},
    {"$DIMSE2", 70, K::Int, "0"},
    {"$DIMTAD", 70, K::Int, "1"},
    {"$DIMZIN", 70, K::Int, "8"},
    {"$DIMBLK", 1, K::Str, ""},
    {"$DIMASO", 70, K::Int, "1"},
    {"$DIMSHO", 70, K::Int, "1"},
    {"$DIMPOST", 1, K::Str, ""},
    {"$DIMAPOST", 1, K::Str, ""},
    {"$DIMALT", 70, K::Int, "0"},
    {"$DIMALTD", 70, K::Int, "3"},
    {"$DIMALTF", 40, K::Real, "0.03937007874015748"},
    {"$DIMLFAC", 40, K::Real, "1"},
    {"$DIMTOFL", 70, K::Int, "1"},
    {"$DIMTVP", 40, K::Real, "0"},
    {"$DIMTIX", 70, K::Int, "0"},
    {"$DIMSOXD", 70, K::Int, "0"},
    {"$DIMSAH", 70, K::Int, "0"},
    {"$DIMBLK1", 1, K::Str, ""},
    {"$DIMBLK2", 1, K::Str, ""},
    {"$DIMSTYLE", 2, K::Str, "ISO-25"},
    {"$DIMCLRD", 70, K::Int, "0"},
    {"$DIMCLRE", 70, K::Int, "0"},
    {"$DIMCLRT", 70, K::Int, "0"},
    {"$DIMTFAC", 40, K::Real, "1"},
    {"$DIMGAP", 40, K::Real, "0.625"},
    {"$DIMJUST", 70, K::Int, "0"},
    {"$DIMSD1", 70, K::Int, "0"},
    {"$DIMSD2", 70, K::Int, "0"},
    {"$DIMTOLJ", 70, K::Int, "0"},
    {"$DIMTZIN", 70, K::Int, "8"},
    {"$DIMALTZ", 70, K::Int, "0"},
    {"$DIMALTTZ", 70, K::Int, "0"},
    {"$DIMUPT", 70, K::Int, "0"},
    {"$DIMDEC", 70, K::Int, "2"},
    {"$DIMTDEC", 70, K::Int, "2"},
    {"$DIMALTU", 70, K::Int, "2"},
    {"$DIMALTTD", 70, K::Int, "3"},
    {"$DIMTXSTY", 7, K::Str, "Standard"},
    {"$DIMAUNIT", 70, K::Int, "0"},
    {"$DIMADEC", 70, K::Int, "0"},
    {"$DIMALTRND", 40, K::Real, "0"},
    {"$DIMAZIN", 70, K::Int, "0"},
    {"$DIMDSEP", 70, K::Int, "44"},
    {"$DIMATFIT", 70, K::Int, "3"},
    {"$DIMFRAC", 70, K::Int, "0"},
    {"$DIMLDRBLK", 1, K::Str, ""},
    {"$DIMLUNIT", 70, K::Int, "2"},
    {"$DIMLWD", 70, K::Int, "-2"},
    {"$DIMLWE", 70, K::Int, "-2"},
    {"$DIMTMOVE", 70, K::Int, "0"},
    {"$DIMFXL", 40, K::Real, "1"},
    {"$DIMFXLON", 70, K::Int, "0"},
    {"$DIMJOGANG", 40, K::Real, "0.7853981633974483"},
    {"$DIMTFILL", 70, K::Int, "0"},
    {"$DIMTFILLCLR", 70, K::Int, "0"},
    {"$DIMARCSYM", 70, K::Int, "0"},
    {"$DIMLTYPE", 6, K::Str, ""},
    {"$DIMLTEX1", 6, K::Str, ""},
    {"$DIMLTEX2", 6, K::Str, ""},
    {"$DIMTXTDIRECTION", 70, K::Int, "0"},
    {"$LUNITS", 70, K::Int, "2"},
    {"$LUPREC", 70, K::Int, "4"},
    {"$SKETCHINC", 40, K::Real, "1"},
    {"$FILLETRAD", 40, K::Real, "0"},
    {"$AUNITS", 70, K::Int, "0"},
    {"$AUPREC", 70, K::Int, "0"},
    {"$MENU", 1, K::Str, "."},
    {"$ELEVATION", 40, K::Real, "0"},
    {"$PELEVATION", 40, K::Real, "0"},
    {"$THICKNESS", 40, K::Real, "0"},
    {"$LIMCHECK", 70, K::Int, "0"},
    {"$CHAMFERA", 40, K::Real, "0"},
    {"$CHAMFERB", 40, K::Real, "0"},
    {"$CHAMFERC", 40, K::Real, "0"},
    {"$CHAMFERD", 40, K::Real, "0"},
    {"$SKPOLY", 70, K::Int, "0"},
    {"$TDCREATE", 40, K::Real, "now"},
    {"$TDUCREATE", 40, K::Real, "now-utc"},
    {"$TDUPDATE", 40, K::Real, "now"},
    {"$TDUUPDATE", 40, K::Real, "now-utc"},
    {"$TDINDWG", 40, K::Real, "0"},
    {"$TDUSRTIMER", 40, K::Real, "0"},
    {"$USRTIMER", 70, K::Int, "1"},
    {"$ANGBASE", 50, K::Real, "0"},
    {"$ANGDIR", 70, K::Int, "0"},
    {"$PDMODE", 70, K::Int, "0"},
    {"$PDSIZE", 40, K::Real, "0"},
    {"$PLINEWID", 40, K::Real, "0"},
    {"$SPLFRAME", 70, K::Int, "0"},
    {"$SPLINETYPE", 70, K::Int, "6"},
    {"$SPLINESEGS", 70, K::Int, "8"},
    {"$HANDSEED", 5, K::Handle, "0"},
    {"$SURFTAB1", 70, K::Int, "6"},
    {"$SURFTAB2", 70, K::Int, "6"},
    {"$SURFTYPE", 70, K::Int, "6"},
    {"$SURFU", 70, K::Int, "6"},
    {"$SURFV", 70, K::Int, "6"},
    {"$UCSBASE", 2, K::Str, ""},
    {"$UCSNAME", 2, K::Str, ""},
    {"$UCSORG", 10, K::Point3, "0,0,0"},
    {"$UCSXDIR", 10, K::Point3, "1,0,0"},
    {"$UCSYDIR", 10, K::Point3, "0,1,0"},
    {"$UCSORTHOREF", 2, K::Str, ""},
    {"$UCSORTHOVIEW", 70, K::Int, "0"},
    {"$UCSORGTOP", 10, K::Point3, "0,0,0"},
    {"$UCSORGBOTTOM", 10, K::Point3, "0,0,0"},
    {"$UCSORGLEFT", 10, K::Point3, "0,0,0"},
    {"$UCSORGRIGHT", 10, K::Point3, "0,0,0"},
    {"$UCSORGFRONT", 10, K::Point3, "0,0,0"},
    {"$UCSORGBACK", 10, K::Point3, "0,0,0"},
    {"$PUCSBASE", 2, K::Str, ""},
    {"$PUCSNAME", 2, K::Str, ""},
    {"$PUCSORG", 10, K::Point3, "0,0,0"},
    {"$PUCSXDIR", 10, K::Point3, "1,0,0"},
    {"$PUCSYDIR", 10, K::Point3, "0,1,0"},
    {"$PUCSORTHOREF", 2, K::Str, ""},
    {"$PUCSORTHOVIEW", 70, K::Int, "0"},
    {"$PUCSORGTOP", 10, K::Point3, "0,0,0"},
    {"$PUCSORGBOTTOM", 10, K::Point3, "0,0,0"},
    {"$PUCSORGLEFT", 10, K::Point3, "0,0,0"},
    {"$PUCSORGRIGHT", 10, K::Point3, "0,0,0"},
    {"$PUCSORGFRONT", 10, K::Point3, "0,0,0"},
    {"$PUCSORGBACK", 10, K::Point3, "0,0,0"},
    {"$USERI1", 70, K::Int, "0"},
    {"$USERI2", 70, K::Int, "0"},
    {"$USERI3", 70, K::Int, "0"},
    {"$USERI4", 70, K::Int, "0"},
    {"$USERI5", 70, K::Int, "0"},
    {"$USERR1", 40, K::Real, "0"},
    {"$USERR2", 40, K::Real, "0"},
    {"$USERR3", 40, K::Real, "0"},
    {"$USERR4", 40, K::Real, "0"},
    {"$USERR5", 40, K::Real, "0"},
    {"$WORLDVIEW", 70, K::Int, "1"},
    {"$SHADEDGE", 70, K::Int, "3"},
    {"$SHADEDIF", 70, K::Int, "70"},
    {"$TILEMODE", 70, K::Int, "1"},
    {"$MAXACTVP", 70, K::Int, "64"},
    {"$PINSBASE", 10, K::Point3, "0,0,0"},
    {"$PLIMCHECK", 70, K::Int, "0"},
    {"$PEXTMIN", 10, K::Point3, "1e20,1e20,1e20"},
    {"$PEXTMAX", 10, K::Point3, "-1e20,-1e20,-1e20"},
    {"$PLIMMIN", 10, K::Point2, "0,0"},
    {"$PLIMMAX", 10, K::Point2, "420,297"},
    {"$UNITMODE", 70, K::Int, "0"},
    {"$VISRETAIN", 70, K::Int, "1"},
    {"$PLINEGEN", 70, K::Int, "0"},
    {"$PSLTSCALE", 70, K::Int, "1"},
    {"$MSLTSCALE", 70, K::Int, "1"},
    {"$TREEDEPTH", 70, K::Int, "3020"},
    {"$CMLSTYLE", 2, K::Str, "Standard"},
    {"$CMLJUST", 70, K::Int, "0"},
    {"$CMLSCALE", 40, K::Real, "20"},
    {"$PROXYGRAPHICS", 70, K::Int, "1"},
    {"$MEASUREMENT", 70, K::Int, "1"},
    {"$CELWEIGHT", 370, K::Int, "-1"},
    {"$ENDCAPS", 280, K::Int, "0"},
    {"$JOINSTYLE", 280, K::Int, "0"},
    {"$LWDISPLAY", 290, K::Int, "0"},
    {"$INSUNITS", 70, K::Int, "4"},
    {"$HYPERLINKBASE", 1, K::Str, ""},
    {"$STYLESHEET", 1, K::Str, ""},
    {"$XEDIT", 290, K::Int, "1"},
    {"$CEPSNTYPE", 380, K::Int, "0"},
    {"$PSTYLEMODE", 290, K::Int, "1"},
    {"$FINGERPRINTGUID", 2, K::Str, ""},
    {"$VERSIONGUID", 2, K::Str, ""},
    {"$EXTNAMES", 290, K::Int, "1"},
    {"$PSVPSCALE", 40, K::Real, "0"},
    {"$OLESTARTUP", 290, K::Int, "0"},
    {"$SORTENTS", 280, K::Int, "127"},
    {"$INDEXCTL", 280, K::Int, "0"},
    {"$HIDETEXT", 280, K::Int, "1"},
    {"$XCLIPFRAME", 280, K::Int, "2"},
    {"$HALOGAP", 280, K::Int, "0"},
    {"$OBSCOLOR", 70, K::Int, "257"},
    {"$OBSLTYPE", 280, K::Int, "0"},
    {"$INTERSECTIONDISPLAY", 280, K::Int, "0"},
    {"$INTERSECTIONCOLOR", 70, K::Int, "257"},
    {"$DIMASSOC", 280, K::Int, "2"},
    {"$PROJECTNAME", 1, K::Str, ""},
    {"$CAMERADISPLAY", 290, K::Int, "0"},
    {"$LENSLENGTH", 40, K::Real, "50"},
    {"$CAMERAHEIGHT", 40, K::Real, "0"},
    {"$STEPSPERSEC", 40, K::Real, "2"},
    {"$STEPSIZE", 40, K::Real, "6"},
    {"$3DDWFPREC", 40, K::Real, "2"},
    {"$PSOLWIDTH", 40, K::Real, "5"},
    {"$PSOLHEIGHT", 40, K::Real, "80"},
    {"$LOFTANG1", 40, K::Real, "1.5707963267948966"},
    {"$LOFTANG2", 40, K::Real, "1.5707963267948966"},
    {"$LOFTMAG1", 40, K::Real, "0"},
    {"$LOFTMAG2", 40, K::Real, "0"},
    {"$LOFTPARAM", 70, K::Int, "7"},
    {"$LOFTNORMALS", 280, K::Int, "1"},
    {"$LATITUDE", 40, K::Real, "50.0755"},
    {"$LONGITUDE", 40, K::Real, "14.4378"},
    {"$NORTHDIRECTION", 40, K::Real, "0"},
    {"$TIMEZONE", 70, K::Int, "1000"},
    {"$LIGHTGLYPHDISPLAY", 280, K::Int, "1"},
    {"$TILEMODELIGHTSYNCH", 280, K::Int, "1"},
    {"$CMATERIAL", 347, K::Handle, nullptr},
    {"$SOLIDHIST", 280, K::Int, "0"},
    {"$SHOWHIST", 280, K::Int, "1"},
    {"$DWFFRAME", 280, K::Int, "2"},
    {"$DGNFRAME", 280, K::Int, "2"},
    {"$REALWORLDSCALE", 290, K::Int, "1"},
    {"$INTERFERECOLOR", 62, K::Int, "1"},
    {"$INTERFEREOBJVS", 345, K::Handle, nullptr},
    {"$INTERFEREVPVS", 346, K::Handle, nullptr},
    {"$DRAGVS", 349, K::Handle, nullptr},
    {"$CSHADOW", 280, K::Int, "0"},
    {"$SHADOWPLANELOCATION", 40, K::Real, "0"},
    {"$CMLEADERSTYLE", 2, K::Str, "Standard"},
    {"$CTABLESTYLE", 2, K::Str, "Standard"},
    {"$CANNOSCALE", 2, K::Str, "1:1"},
};

std::wstring widen(std::string_view s) {
    return std::wstring(s.begin(), s.end());
}

// The name of a symbol table record or the key of a dictionary entry.
std::wstring recordName(AcDbObjectId id) {
    auto* rec = AcDbSymbolTableRecord::cast(peekObject(id));
    return rec ? std::wstring(rec->name()) : std::wstring();
}

std::wstring entryKey(AcDbObjectId dictId, AcDbObjectId entry) {
    auto* dict = AcDbDictionary::cast(peekObject(dictId));
    AcString name;
    if (!dict || entry.isNull() || dict->nameAt(entry, name) != Acad::eOk)
        return {};
    return std::wstring(name.constPtr());
}

AcDbObjectId entryId(AcDbObjectId dictId, const std::wstring& key) {
    auto* dict = AcDbDictionary::cast(peekObject(dictId));
    AcDbObjectId id;
    if (dict)
        dict->getAt(key.c_str(), id);
    return id;
}

AcDbObjectId recordId(AcDbObjectId tableId, const std::wstring& name) {
    auto* table = AcDbSymbolTable::cast(peekObject(tableId));
    AcDbObjectId id;
    if (table)
        table->getAt(name.c_str(), id);
    return id;
}

void writeDefault(Writer& w, const HeaderVarDef& d) {
    std::string_view v = d.dflt;
    switch (d.kind) {
    case K::Str:
        w.text(d.code, v);
        break;
    case K::Real:
        if (v == "now" || v == "now-utc")
            w.real(d.code, julianNow(v == "now-utc"));
        else
            w.text(d.code, formatReal(std::strtod(d.dflt, nullptr)));
        break;
    case K::Int:
    case K::Handle:
        w.text(d.code, v);
        break;
    case K::Point2:
    case K::Point3: {
        double xyz[3] = {0, 0, 0};
        const char* p = d.dflt;
        for (int i = 0; i < 3 && *p; ++i) {
            char* endp = nullptr;
            xyz[i] = std::strtod(p, &endp);
            p = *endp == ',' ? endp + 1 : endp;
        }
        if (d.kind == K::Point2)
            w.point2d(d.code, xyz[0], xyz[1]);
        else
            w.point(d.code, xyz[0], xyz[1], xyz[2]);
        break;
    }
    }
}

// A system variable's value as the groups of its header variable.
bool writeSysVar(AcDbDatabase* db, Writer& w, OutFiler& f, const HeaderVarDef& d) {
    std::wstring name = widen(std::string_view(d.name).substr(1));
    if (!isDbSysVar(name))
        return false;
    resbuf rb{};
    if (!dbGetSysVar(db, name, rb))
        return false;
    bool ok = true;
    switch (rbKind(rb.restype)) {
    case RbKind::String:
        if (d.kind == K::Str)
            w.text(d.code, f.fileText(rb.resval.rstring));
        else
            ok = false;
        break;
    case RbKind::Real:
        if (d.kind == K::Real)
            w.real(d.code, rb.resval.rreal);
        else
            ok = false;
        break;
    case RbKind::Short:
        if (d.kind == K::Int)
            w.integer(d.code, rb.resval.rint);
        else
            ok = false;
        break;
    case RbKind::Long:
        if (d.kind == K::Int)
            w.integer(d.code, rb.resval.rlong);
        else
            ok = false;
        break;
    case RbKind::Point:
        if (d.kind == K::Point2)
            w.point2d(d.code, rb.resval.rpoint[0], rb.resval.rpoint[1]);
        else if (d.kind == K::Point3)
            w.point(d.code, rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]);
        else
            ok = false;
        break;
    default:
        ok = false;
    }
    rbFreeValue(&rb);
    return ok;
}

// The variables taken from the database's accessors. True when written.
bool writeModelled(AcDbDatabase* db, Writer& w, OutFiler& f, const HeaderVarDef& d) {
    std::string_view n = d.name;
    auto str = [&](const std::wstring& s) { w.text(d.code, f.fileText(s.c_str())); };
    auto pt = [&](const AcGePoint3d& p) { w.point(d.code, p.x, p.y, p.z); };
    auto vec = [&](const AcGeVector3d& v) { w.point(d.code, v.x, v.y, v.z); };
    auto nameOr = [&](const std::wstring& s) {
        if (s.empty())
            return false;
        str(s);
        return true;
    };
    if (n == "$ACADVER")
        w.text(1, "AC1027");
    else if (n == "$HANDSEED")
        w.handle(5, db->handseed().value());
    else if (n == "$INSUNITS")
        w.integer(70, db->insunits());
    else if (n == "$LTSCALE")
        w.real(40, db->ltscale());
    else if (n == "$CELTSCALE")
        w.real(40, db->celtscale());
    else if (n == "$TEXTSIZE")
        w.real(40, db->textsize());
    else if (n == "$DIMSCALE")
        w.real(40, db->dimscale());
    else if (n == "$PSLTSCALE")
        w.integer(70, db->psltscale() ? 1 : 0);
    else if (n == "$MSLTSCALE")
        w.integer(70, db->msltscale() ? 1 : 0);
    else if (n == "$TILEMODE")
        w.integer(70, db->tilemode() ? 1 : 0);
    else if (n == "$MEASUREMENT")
        w.integer(70, db->measurement());
    else if (n == "$CELWEIGHT")
        w.integer(370, db->celweight());
    else if (n == "$CECOLOR") {
        AcCmColor c = db->cecolor();
        w.integer(62, c.colorIndex());
        if (c.isByColor())
            w.integer(420, static_cast<long long>(c.trueColor()));
    } else if (n == "$LUNITS")
        w.integer(70, db->lunits());
    else if (n == "$LUPREC")
        w.integer(70, db->luprec());
    else if (n == "$AUNITS")
        w.integer(70, db->aunits());
    else if (n == "$AUPREC")
        w.integer(70, db->auprec());
    else if (n == "$ANGBASE")
        w.real(50, db->angbase());
    else if (n == "$ANGDIR")
        w.integer(70, db->angdir() ? 1 : 0);
    else if (n == "$CLAYER")
        return nameOr(recordName(db->clayer()));
    else if (n == "$CELTYPE")
        return nameOr(recordName(db->celtype()));
    else if (n == "$TEXTSTYLE")
        return nameOr(recordName(db->textstyle()));
    else if (n == "$DIMSTYLE")
        return nameOr(recordName(db->dimstyle()));
    else if (n == "$CMLSTYLE")
        return nameOr(entryKey(db->mLStyleDictionaryId(), db->cmlstyleID()));
    else if (n == "$CMLEADERSTYLE")
        return nameOr(entryKey(db->mleaderStyleDictionaryId(), db->mleaderstyle()));
    else if (n == "$CTABLESTYLE")
        return nameOr(entryKey(db->tableStyleDictionaryId(), db->tablestyle()));
    else if (n == "$DIMBLK") {
        AcString s;
        db->getDimblk(s);
        str(s.constPtr());
    } else if (n == "$UCSNAME")
        str(recordName(db->ucsname()));
    else if (n == "$PUCSNAME")
        str(recordName(db->pucsname()));
    else if (n == "$UCSORG")
        pt(db->ucsorg());
    else if (n == "$UCSXDIR")
        vec(db->ucsxdir());
    else if (n == "$UCSYDIR")
        vec(db->ucsydir());
    else if (n == "$PUCSORG")
        pt(db->pucsorg());
    else if (n == "$PUCSXDIR")
        vec(db->pucsxdir());
    else if (n == "$PUCSYDIR")
        vec(db->pucsydir());
    else if (n == "$FINGERPRINTGUID")
        return nameOr(db->fingerprintGuid().constPtr());
    else if (n == "$VERSIONGUID")
        return nameOr(db->versionGuid().constPtr());
    else if (n == "$TDUPDATE" || n == "$TDUUPDATE")
        w.real(40, julianNow(n == "$TDUUPDATE"));
    else
        return false;
    return true;
}

} // namespace

const std::vector<HeaderVarDef>& headerVarDefs() {
    return kDefs;
}

const HeaderVarDef* findHeaderVar(std::string_view name) {
    static const std::map<std::string_view, const HeaderVarDef*> index = [] {
        std::map<std::string_view, const HeaderVarDef*> m;
        for (const auto& d : kDefs)
            m[d.name] = &d;
        return m;
    }();
    auto it = index.find(name);
    return it == index.end() ? nullptr : it->second;
}

double julianNow(bool universal) {
    std::time_t t = std::time(nullptr);
    double seconds = static_cast<double>(t);
    if (!universal) {
        std::tm local{};
        localtime_r(&t, &local);
        seconds += static_cast<double>(local.tm_gmtoff);
    }
    return 2440587.5 + seconds / 86400.0;
}

void writeHeader(AcDbDatabase* db, Writer& w, OutFiler& f) {
    w.text(0, "SECTION");
    w.text(2, "HEADER");
    std::set<std::wstring> written;
    for (const HeaderVarDef& d : kDefs) {
        std::wstring name = widen(d.name);
        written.insert(name);
        // Kept groups win for the variables the database does not hold itself.
        const resbuf* kept = extraHeaderVar(db, name);
        size_t mark = w.data().size();
        w.text(9, d.name);
        if (writeModelled(db, w, f, d))
            continue;
        if (kept) {
            f.beginObject(false, false);
            f.writeChain(kept);
        } else if (writeSysVar(db, w, f, d)) {
        } else if (d.dflt) {
            writeDefault(w, d);
        } else {
            w.data().resize(mark); // nothing to write for this one
        }
    }
    for (const std::wstring& name : extraHeaderVarNames(db)) {
        if (written.count(name) || name.empty() || name[0] != L'$')
            continue;
        const resbuf* kept = extraHeaderVar(db, name);
        if (!kept)
            continue;
        w.text(9, toUtf8(name));
        f.beginObject(false, false);
        f.writeChain(kept);
    }
    w.text(0, "ENDSEC");
}

// ---------------------------------------------------------------------------------------------
// Reading

std::vector<HeaderVarGroups> splitHeader(const std::vector<Group>& groups) {
    std::vector<HeaderVarGroups> out;
    for (const Group& g : groups) {
        if (g.code == 9) {
            out.push_back({std::string(trim(g.value)), &g + 1, &g + 1});
            continue;
        }
        if (!out.empty())
            out.back().end = &g + 1;
    }
    return out;
}

std::string_view headerText(const std::vector<HeaderVarGroups>& vars, std::string_view name) {
    for (const auto& v : vars)
        if (v.name == name && v.begin < v.end)
            return trim(v.begin->value);
    return {};
}

namespace {

// The groups of a variable as a chain (the reader's conversion: points, handles, strings).
resbuf* chainOf(AcDbDatabase* db, const TextCodec& codec, const HeaderVarGroups& v) {
    InFiler filer(db, codec, v.begin, v.end);
    filer.setKeep2d(true);
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    resbuf rb{};
    while (filer.readResBuf(&rb) == Acad::eOk) {
        resbuf* node = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
        *node = rb;
        node->rbnext = nullptr;
        (tail ? tail->rbnext : head) = node;
        tail = node;
        rb = resbuf{};
    }
    return head;
}

std::wstring firstString(const resbuf* rb) {
    if (rb && rbKind(rb->restype) == RbKind::String && rb->resval.rstring)
        return rb->resval.rstring;
    return {};
}

double firstReal(const resbuf* rb, double dflt) {
    return rb && rbKind(rb->restype) == RbKind::Real ? rb->resval.rreal : dflt;
}

int firstInt(const resbuf* rb, int dflt) {
    if (!rb)
        return dflt;
    switch (rbKind(rb->restype)) {
    case RbKind::Short:
        return rb->resval.rint;
    case RbKind::Long:
        return rb->resval.rlong;
    default:
        return dflt;
    }
}

bool firstPoint(const resbuf* rb, double out[3]) {
    if (!rb || rbKind(rb->restype) != RbKind::Point)
        return false;
    for (int i = 0; i < 3; ++i)
        out[i] = rb->resval.rpoint[i] == 0.0 ? 0.0 : rb->resval.rpoint[i];
    return true;
}

// Hands a value to the database through its system variable; false when it does not take it.
bool setSysVar(AcDbDatabase* db, const std::string& name, const resbuf* value) {
    std::wstring sv = widen(std::string_view(name).substr(1));
    if (!value || !isDbSysVar(sv))
        return false;
    resbuf rb{};
    switch (rbKind(value->restype)) {
    case RbKind::String:
        rb.restype = RTSTR;
        rb.resval.rstring = value->resval.rstring;
        break;
    case RbKind::Real:
        rb.restype = RTREAL;
        rb.resval.rreal = value->resval.rreal;
        break;
    case RbKind::Short:
        rb.restype = RTSHORT;
        rb.resval.rint = value->resval.rint;
        break;
    case RbKind::Long:
        rb.restype = RTLONG;
        rb.resval.rlong = value->resval.rlong;
        break;
    case RbKind::Point:
        rb.restype = RT3DPOINT;
        for (int i = 0; i < 3; ++i)
            rb.resval.rpoint[i] = value->resval.rpoint[i] == 0.0 ? 0.0 : value->resval.rpoint[i];
        break;
    default:
        return false;
    }
    return dbSetSysVar(db, sv, rb) == RTNORM;
}

} // namespace

void applyHeader(AcDbDatabase* db, const std::vector<HeaderVarGroups>& vars,
                 const TextCodec& codec) {
    AcGePoint3d ucs[2];
    AcGeVector3d xdir[2] = {AcGeVector3d(1, 0, 0), AcGeVector3d(1, 0, 0)};
    AcGeVector3d ydir[2] = {AcGeVector3d(0, 1, 0), AcGeVector3d(0, 1, 0)};
    bool ucsSeen[2] = {false, false};
    std::uint64_t seed = 0;
    for (const HeaderVarGroups& v : vars) {
        const std::string& n = v.name;
        if (n.empty() || n[0] != '$')
            continue;
        if (n == "$ACADVER" || n == "$ACADMAINTVER")
            continue; // the version of the file, not of the drawing
        if (n == "$HANDSEED") {
            if (v.begin < v.end)
                parseHandle(v.begin->value, seed);
            continue;
        }
        resbuf* chain = chainOf(db, codec, v);
        std::wstring s = firstString(chain);
        double p[3] = {0, 0, 0};
        bool taken = true;
        if (n == "$INSUNITS")
            db->setInsunits(static_cast<AcDb::UnitsValue>(firstInt(chain, db->insunits())));
        else if (n == "$LTSCALE")
            db->setLtscale(firstReal(chain, db->ltscale()));
        else if (n == "$CELTSCALE")
            db->setCeltscale(firstReal(chain, db->celtscale()));
        else if (n == "$TEXTSIZE")
            db->setTextsize(firstReal(chain, db->textsize()));
        else if (n == "$DIMSCALE")
            db->setDimscale(firstReal(chain, db->dimscale()));
        else if (n == "$MSLTSCALE")
            db->setMsltscale(firstInt(chain, 1) != 0);
        else if (n == "$PSLTSCALE")
            db->setPsltscale(firstInt(chain, 1) != 0);
        else if (n == "$TILEMODE")
            db->setTilemode(firstInt(chain, 1) != 0);
        else if (n == "$MEASUREMENT")
            db->setMeasurement(static_cast<AcDb::MeasurementValue>(firstInt(chain, 1)));
        else if (n == "$CELWEIGHT")
            db->setCelweight(static_cast<AcDb::LineWeight>(firstInt(chain, -1)));
        else if (n == "$CECOLOR") {
            AcCmColor c;
            c.setColorIndex(static_cast<Adesk::Int16>(firstInt(chain, 256)));
            for (const resbuf* r = chain; r; r = r->rbnext)
                if (r->restype == 420)
                    c.setRGB(static_cast<Adesk::UInt32>(r->resval.rlong));
            db->setCecolor(c);
        } else if (n == "$LUNITS")
            db->setLunits(static_cast<Adesk::Int16>(firstInt(chain, db->lunits())));
        else if (n == "$LUPREC")
            db->setLuprec(static_cast<Adesk::Int16>(firstInt(chain, db->luprec())));
        else if (n == "$AUNITS")
            db->setAunits(static_cast<Adesk::Int16>(firstInt(chain, db->aunits())));
        else if (n == "$AUPREC")
            db->setAuprec(static_cast<Adesk::Int16>(firstInt(chain, db->auprec())));
        else if (n == "$ANGBASE")
            db->setAngbase(firstReal(chain, db->angbase()));
        else if (n == "$ANGDIR")
            db->setAngdir(firstInt(chain, 0) != 0);
        else if (n == "$CLAYER")
            taken = db->setClayer(recordId(db->layerTableId(), s)) == Acad::eOk;
        else if (n == "$CELTYPE")
            taken = db->setCeltype(recordId(db->linetypeTableId(), s)) == Acad::eOk;
        else if (n == "$TEXTSTYLE")
            taken = db->setTextstyle(recordId(db->textStyleTableId(), s)) == Acad::eOk;
        else if (n == "$DIMSTYLE")
            taken = db->setDimstyle(recordId(db->dimStyleTableId(), s)) == Acad::eOk;
        else if (n == "$CMLSTYLE")
            taken = db->setCmlstyleID(entryId(db->mLStyleDictionaryId(), s)) == Acad::eOk;
        else if (n == "$CMLEADERSTYLE")
            taken = db->setMLeaderstyle(entryId(db->mleaderStyleDictionaryId(), s)) == Acad::eOk;
        else if (n == "$CTABLESTYLE")
            taken = db->setTablestyle(entryId(db->tableStyleDictionaryId(), s)) == Acad::eOk;
        else if (n == "$DIMBLK")
            db->setDimblk(s.c_str());
        else if (n == "$UCSNAME")
            taken = s.empty() || db->setUcsname(recordId(db->UCSTableId(), s)) == Acad::eOk;
        else if (n == "$PUCSNAME")
            taken = s.empty() || db->setPucsname(recordId(db->UCSTableId(), s)) == Acad::eOk;
        else if (n == "$UCSORG" || n == "$PUCSORG") {
            int k = n[1] == 'P';
            if (firstPoint(chain, p))
                ucs[k] = AcGePoint3d(p[0], p[1], p[2]);
            ucsSeen[k] = true;
        } else if (n == "$UCSXDIR" || n == "$PUCSXDIR") {
            int k = n[1] == 'P';
            if (firstPoint(chain, p))
                xdir[k] = AcGeVector3d(p[0], p[1], p[2]);
            ucsSeen[k] = true;
        } else if (n == "$UCSYDIR" || n == "$PUCSYDIR") {
            int k = n[1] == 'P';
            if (firstPoint(chain, p))
                ydir[k] = AcGeVector3d(p[0], p[1], p[2]);
            ucsSeen[k] = true;
        } else if (n == "$FINGERPRINTGUID")
            taken = db->setFingerprintGuid(s.c_str()) == Acad::eOk;
        else if (n == "$VERSIONGUID")
            taken = db->setVersionGuid(s.c_str()) == Acad::eOk;
        else if (n == "$TDUPDATE" || n == "$TDUUPDATE")
            taken = true; // set again when the drawing is saved
        else if (n == "$DWGCODEPAGE")
            taken = setDwgCodePage(db, s) == Acad::eOk;
        else
            taken = setSysVar(db, n, chain);
        if (!taken)
            setExtraHeaderVar(db, widen(n), chain);
        acutRelRb(chain);
    }
    for (int k = 0; k < 2; ++k)
        if (ucsSeen[k])
            setCurrentUcs(db, ucs[k], xdir[k], ydir[k], k == 1,
                          k == 1 ? db->pucsname() : db->ucsname());
    if (seed > db->handseed().value())
        db->setHandseed(AcDbHandle(seed));
}

} // namespace khost::dxf
