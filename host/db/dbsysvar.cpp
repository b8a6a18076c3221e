// The system variables kept in the drawing database.
#include "dbimpl.h"

#include "acutads.h"
#include "dbannodata.h"
#include "dbarrow.h"

#include <algorithm>

using namespace khost;

namespace {

struct SysVar {
    const wchar_t* name;
    int type; // RTSHORT, RTREAL, RTSTR or RT3DPOINT
    bool readOnly;
    void (*get)(AcDbDatabase*, resbuf&);
    // Called with a value already of the variable's type; RTNORM or RTERROR.
    int (*set)(AcDbDatabase*, const resbuf&);
};

void putShort(resbuf& rb, int v) {
    rb.restype = RTSHORT;
    rb.resval.rint = static_cast<short>(v);
}
void putReal(resbuf& rb, double v) {
    rb.restype = RTREAL;
    rb.resval.rreal = v;
}
void putString(resbuf& rb, const std::wstring& s) {
    rb.restype = RTSTR;
    acutNewString(s.c_str(), rb.resval.rstring);
}
void putPoint(resbuf& rb, double x, double y, double z) {
    rb.restype = RT3DPOINT;
    rb.resval.rpoint[0] = x;
    rb.resval.rpoint[1] = y;
    rb.resval.rpoint[2] = z;
}
int status(Acad::ErrorStatus es) {
    return es == Acad::eOk ? RTNORM : RTERROR;
}
std::wstring nameOf(AcDbObjectId id) {
    auto* r = AcDbSymbolTableRecord::cast(peekObject(id));
    return r ? r->name() : L"";
}
std::wstring keyOf(AcDbDatabase* db, DbRole dict, AcDbObjectId id) {
    auto* d = AcDbDictionary::cast(stubObject(db->impl().role(dict)));
    AcString key;
    if (d && !id.isNull() && d->nameAt(id, key) == Acad::eOk)
        return key.kACharPtr();
    return L"";
}
bool modelUcs(AcDbDatabase* db) {
    return db->tilemode() || db->currentSpaceId() == db->impl().roleId(DbRole::ModelSpace);
}

#define BOOL_VAR(NAME, GET, SET)                                                                   \
    {                                                                                              \
        NAME, RTSHORT, false,                                                                      \
            [](AcDbDatabase* db, resbuf& rb) { putShort(rb, db->GET() ? 1 : 0); },                 \
            [](AcDbDatabase* db, const resbuf& v) {                                                \
                if (v.resval.rint != 0 && v.resval.rint != 1)                                      \
                    return RTERROR;                                                                \
                return status(db->SET(v.resval.rint == 1));                                        \
            }                                                                                      \
    }
#define INT_VAR(NAME, GET, SET)                                                                    \
    {                                                                                              \
        NAME, RTSHORT, false, [](AcDbDatabase* db, resbuf& rb) { putShort(rb, db->GET()); },       \
            [](AcDbDatabase* db, const resbuf& v) { return status(db->SET(v.resval.rint)); }       \
    }
#define REAL_VAR(NAME, GET, SET)                                                                   \
    {                                                                                              \
        NAME, RTREAL, false, [](AcDbDatabase* db, resbuf& rb) { putReal(rb, db->GET()); },         \
            [](AcDbDatabase* db, const resbuf& v) { return status(db->SET(v.resval.rreal)); }      \
    }
#define RECORD_VAR(NAME, GET, SET, TABLE)                                                          \
    {                                                                                              \
        NAME, RTSTR, false,                                                                        \
            [](AcDbDatabase* db, resbuf& rb) { putString(rb, nameOf(db->GET())); },                \
            [](AcDbDatabase* db, const resbuf& v) {                                                \
                AcDbObjectId id = findRecord(db, TABLE, v.resval.rstring);                         \
                return id.isNull() ? RTERROR : status(db->SET(id));                                \
            }                                                                                      \
    }
#define UCS_VAR(NAME, EXPR)                                                                        \
    {                                                                                              \
        NAME, RT3DPOINT, true,                                                                     \
            [](AcDbDatabase* db, resbuf& rb) {                                                     \
                auto p = (EXPR);                                                                   \
                putPoint(rb, p.x, p.y, p.z);                                                       \
            },                                                                                     \
            nullptr                                                                                \
    }

const std::vector<SysVar>& table() {
    static const std::vector<SysVar> vars = {
        {L"INSUNITS", RTSHORT, false,
         [](AcDbDatabase* db, resbuf& rb) { putShort(rb, db->insunits()); },
         [](AcDbDatabase* db, const resbuf& v) {
             return status(db->setInsunits(static_cast<AcDb::UnitsValue>(v.resval.rint)));
         }},
        REAL_VAR(L"LTSCALE", ltscale, setLtscale),
        REAL_VAR(L"CELTSCALE", celtscale, setCeltscale),
        BOOL_VAR(L"MSLTSCALE", msltscale, setMsltscale),
        BOOL_VAR(L"PSLTSCALE", psltscale, setPsltscale),
        BOOL_VAR(L"TILEMODE", tilemode, setTilemode),
        RECORD_VAR(L"CLAYER", clayer, setClayer, DbRole::LayerTable),
        RECORD_VAR(L"CELTYPE", celtype, setCeltype, DbRole::LinetypeTable),
        RECORD_VAR(L"TEXTSTYLE", textstyle, setTextstyle, DbRole::TextStyleTable),
        RECORD_VAR(L"DIMSTYLE", dimstyle, setDimstyle, DbRole::DimStyleTable),
        {L"CMLEADERSTYLE", RTSTR, false,
         [](AcDbDatabase* db, resbuf& rb) {
             putString(rb, keyOf(db, DbRole::MLeaderStyleDict, db->mleaderstyle()));
         },
         [](AcDbDatabase* db, const resbuf& v) {
             auto* d = AcDbDictionary::cast(stubObject(db->impl().role(DbRole::MLeaderStyleDict)));
             AcDbObjectId id;
             if (!d || d->getAt(v.resval.rstring, id) != Acad::eOk)
                 return RTERROR;
             return status(db->setMLeaderstyle(id));
         }},
        {L"CANNOSCALE", RTSTR, false,
         [](AcDbDatabase* db, resbuf& rb) { putString(rb, db->impl().header.cannoscale); },
         [](AcDbDatabase* db, const resbuf& v) {
             // Only a scale of the drawing's scale list can be current, under its own name.
             AcDbScale* scale = v.resval.rstring ? findScale(db, v.resval.rstring) : nullptr;
             if (!scale)
                 return RTERROR;
             db->impl().header.cannoscale = scale->scaleName();
             return RTNORM;
         }},
        {L"DIMBLK", RTSTR, false,
         [](AcDbDatabase* db, resbuf& rb) { putString(rb, db->impl().header.dimblk); },
         [](AcDbDatabase* db, const resbuf& v) {
             // A predefined arrowhead gets its block in the drawing.
             AcDbObjectId arrow;
             if (arrowheadBlockId(db, v.resval.rstring, arrow) == Acad::eNoDatabase)
                 return RTERROR;
             return status(db->setDimblk(v.resval.rstring));
         }},
        {L"DIMSCALE", RTREAL, false,
         [](AcDbDatabase* db, resbuf& rb) { putReal(rb, db->dimscale()); },
         [](AcDbDatabase* db, const resbuf& v) { return status(db->setDimscale(v.resval.rreal)); }},
        REAL_VAR(L"TEXTSIZE", textsize, setTextsize),
        UCS_VAR(L"UCSORG", modelUcs(db) ? db->ucsorg() : db->pucsorg()),
        UCS_VAR(L"UCSXDIR", modelUcs(db) ? db->ucsxdir() : db->pucsxdir()),
        UCS_VAR(L"UCSYDIR", modelUcs(db) ? db->ucsydir() : db->pucsydir()),
        {L"UCSNAME", RTSTR, true,
         [](AcDbDatabase* db, resbuf& rb) {
             putString(rb, nameOf(modelUcs(db) ? db->ucsname() : db->pucsname()));
         },
         nullptr},
        {L"CECOLOR", RTSTR, false,
         [](AcDbDatabase* db, resbuf& rb) { putString(rb, colorToText(db->cecolor())); },
         [](AcDbDatabase* db, const resbuf& v) {
             AcCmColor c;
             return colorFromText(v.resval.rstring, c) ? status(db->setCecolor(c)) : RTERROR;
         }},
        {L"CELWEIGHT", RTSHORT, false,
         [](AcDbDatabase* db, resbuf& rb) { putShort(rb, db->celweight()); },
         [](AcDbDatabase* db, const resbuf& v) {
             return status(db->setCelweight(static_cast<AcDb::LineWeight>(v.resval.rint)));
         }},
        {L"FINGERPRINTGUID", RTSTR, true,
         [](AcDbDatabase* db, resbuf& rb) { putString(rb, db->impl().header.fingerprint); },
         nullptr},
        {L"VERSIONGUID", RTSTR, true,
         [](AcDbDatabase* db, resbuf& rb) { putString(rb, db->impl().header.versionGuid); },
         nullptr},
        {L"DWGCODEPAGE", RTSTR, true,
         [](AcDbDatabase* db, resbuf& rb) { putString(rb, db->impl().header.dwgcodepage); },
         nullptr},
        {L"HANDSEED", RTSTR, true,
         [](AcDbDatabase* db, resbuf& rb) { putString(rb, handleText(db->handseed().value())); },
         nullptr},
        INT_VAR(L"LUNITS", lunits, setLunits),
        INT_VAR(L"LUPREC", luprec, setLuprec),
        INT_VAR(L"AUNITS", aunits, setAunits),
        INT_VAR(L"AUPREC", auprec, setAuprec),
        REAL_VAR(L"ANGBASE", angbase, setAngbase),
        BOOL_VAR(L"ANGDIR", angdir, setAngdir),
        {L"MEASUREMENT", RTSHORT, false,
         [](AcDbDatabase* db, resbuf& rb) { putShort(rb, db->measurement()); },
         [](AcDbDatabase* db, const resbuf& v) {
             if (v.resval.rint != 0 && v.resval.rint != 1)
                 return RTERROR;
             return status(db->setMeasurement(static_cast<AcDb::MeasurementValue>(v.resval.rint)));
         }},
    };
    return vars;
}

const SysVar* find(const std::wstring& upperName) {
    for (const SysVar& v : table())
        if (upperName == v.name)
            return &v;
    return nullptr;
}

} // namespace

namespace khost {

bool isDbSysVar(const std::wstring& upperName) {
    return find(upperName) != nullptr;
}

std::vector<std::wstring> dbSysVarNames() {
    std::vector<std::wstring> v;
    for (const SysVar& s : table())
        v.push_back(s.name);
    return v;
}

bool dbGetSysVar(AcDbDatabase* db, const std::wstring& upperName, resbuf& out) {
    const SysVar* v = find(upperName);
    if (!v || !db)
        return false;
    out.rbnext = nullptr;
    v->get(db, out);
    return true;
}

int dbSetSysVar(AcDbDatabase* db, const std::wstring& upperName, const resbuf& value) {
    const SysVar* v = find(upperName);
    if (!v || !db || v->readOnly || !v->set)
        return RTREJ;
    resbuf in{};
    in.restype = static_cast<short>(v->type);
    switch (v->type) {
    case RTSHORT:
        if (value.restype == RTSHORT)
            in.resval.rint = value.resval.rint;
        else if (value.restype == RTLONG && value.resval.rlong >= -32768 &&
                 value.resval.rlong <= 32767)
            in.resval.rint = static_cast<short>(value.resval.rlong);
        else
            return RTERROR;
        break;
    case RTREAL:
        if (value.restype == RTREAL || value.restype == RTANG || value.restype == RTORINT)
            in.resval.rreal = value.resval.rreal;
        else if (value.restype == RTSHORT)
            in.resval.rreal = value.resval.rint;
        else if (value.restype == RTLONG)
            in.resval.rreal = value.resval.rlong;
        else
            return RTERROR;
        break;
    case RTSTR:
        if (value.restype != RTSTR || !value.resval.rstring)
            return RTERROR;
        in.resval.rstring = value.resval.rstring;
        break;
    default:
        return RTREJ;
    }
    return v->set(db, in);
}

} // namespace khost
