// System variables: those of the editor's session and document, the rest from the database.
#include "acdocman.h"
#include "acedads.h"
#include "acutads.h"
#include "dbapserv.h"
#include "dbhost.h"
#include "edhost.h"
#include "edinternal.h"
#include "edsel.h"
#include "hostio.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <sys/utsname.h>
#include <unistd.h>

namespace khost {
namespace {

// Integer variables the editor keeps for the session, with their allowed ranges.
struct IntVar {
    short value;
    short def;
    short min;
    short max;
};

std::map<std::wstring, IntVar>& intVars() {
    static std::map<std::wstring, IntVar> vars = {
        {L"CMDECHO", {1, 1, 0, 1}},          {L"FILEDIA", {1, 1, 0, 1}},
        {L"PICKFIRST", {1, 1, 0, 1}},        {L"PICKBOX", {3, 3, 0, 50}},
        {L"OSMODE", {4133, 4133, 0, 32767}}, {L"EXPERT", {0, 0, 0, 5}},
        {L"NOMUTT", {0, 0, 0, 1}},           {L"HIGHLIGHT", {1, 1, 0, 1}},
        {L"PICKADD", {1, 1, 0, 2}},          {L"PICKAUTO", {5, 5, 0, 7}},
        {L"ATTDIA", {0, 0, 0, 1}},           {L"ATTREQ", {1, 1, 0, 1}},
        {L"ERRNO", {0, 0, -32768, 32767}},
    };
    return vars;
}

AcDbDatabase* database() {
    return acdbHostApplicationServices()->workingDatabase();
}

bool scriptActive() {
    return !hostInput().interactive();
}

void setString(resbuf* rb, const std::wstring& text) {
    rb->restype = RTSTR;
    rb->resval.rstring = nullptr;
    acutNewString(text.c_str(), rb->resval.rstring);
}

void setShort(resbuf* rb, int v) {
    rb->restype = RTSHORT;
    rb->resval.rint = static_cast<short>(v);
}

bool tilemodeOn() {
    AcDbDatabase* db = database();
    return !db || db->tilemode();
}

std::wstring drawingPath() {
    AcApDocument* doc = acDocManager->curDocument();
    return doc ? doc->fileName() : L"";
}

std::wstring drawingTitle() {
    AcApDocument* doc = acDocManager->curDocument();
    return doc ? doc->docTitle() : L"Drawing1.dwg";
}

std::wstring drawingPrefix() {
    std::wstring path = drawingPath();
    size_t slash = path.find_last_of(L"/\\");
    if (slash != std::wstring::npos)
        return path.substr(0, slash + 1);
    std::error_code ec;
    std::wstring cwd = std::filesystem::current_path(ec).wstring();
    if (cwd.empty() || cwd.back() != L'/')
        cwd.push_back(L'/');
    return cwd;
}

short cmdActive() {
    short v = activeCommandName().empty() ? 0 : 1;
    if (scriptActive())
        v |= 4;
    return v;
}

double calendarDate() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    double date = (tm.tm_year + 1900) * 10000.0 + (tm.tm_mon + 1) * 100.0 + tm.tm_mday;
    return date + tm.tm_hour / 100.0 + tm.tm_min / 10000.0 + tm.tm_sec / 1000000.0;
}

// The editor's own variables: RTNORM with the value, or RTERROR when the name is not one.
int getEditorVar(const std::wstring& name, resbuf* rb) {
    auto it = intVars().find(name);
    if (it != intVars().end()) {
        short v = it->second.value;
        if (name == L"FILEDIA" && scriptActive())
            v = 0;
        setShort(rb, v);
        return RTNORM;
    }
    if (name == L"CVPORT") {
        setShort(rb, tilemodeOn() ? 2 : currentSession().paperCvport);
    } else if (name == L"LASTPOINT") {
        rb->restype = RT3DPOINT;
        wcsToUcs(currentSession().lastPointWcs, rb->resval.rpoint);
    } else if (name == L"CMDACTIVE") {
        setShort(rb, cmdActive());
    } else if (name == L"CMDNAMES") {
        setString(rb, activeCommandName());
    } else if (name == L"DWGNAME") {
        setString(rb, drawingTitle());
    } else if (name == L"DWGPREFIX") {
        setString(rb, drawingPrefix());
    } else if (name == L"DWGTITLED") {
        setShort(rb, drawingPath().empty() ? 0 : 1);
    } else if (name == L"ACADVER") {
        setString(rb, L"24.2s (LMS Tech)");
    } else if (name == L"PRODUCT") {
        setString(rb, L"CAD Host");
    } else if (name == L"PLATFORM") {
        struct utsname u {};
        std::string s = uname(&u) == 0 ? std::string(u.sysname) + " " + u.machine : "Linux";
        setString(rb, std::wstring(s.begin(), s.end()));
    } else if (name == L"LOGINNAME") {
        const char* user = std::getenv("USER");
        std::string s = user ? user : "user";
        setString(rb, std::wstring(s.begin(), s.end()));
    } else if (name == L"TEMPPREFIX") {
        std::error_code ec;
        std::wstring tmp = std::filesystem::temp_directory_path(ec).wstring();
        if (tmp.empty() || tmp.back() != L'/')
            tmp.push_back(L'/');
        setString(rb, tmp);
    } else if (name == L"CDATE") {
        rb->restype = RTREAL;
        rb->resval.rreal = calendarDate();
    } else if (name == L"SDI") {
        setShort(rb, 0);
    } else if (getViewVariable(name, rb)) {
        // VIEWSIZE, VIEWCTR: the view of the selection engine
    } else {
        return RTERROR;
    }
    return RTNORM;
}

bool isReadOnlyEditorVar(const std::wstring& name) {
    static const wchar_t* const names[] = {
        L"CMDACTIVE", L"CMDNAMES",   L"DWGNAME", L"DWGPREFIX", L"DWGTITLED", L"ACADVER",  L"PRODUCT",
        L"PLATFORM",  L"LOGINNAME", L"TEMPPREFIX", L"CDATE",   L"SDI",       L"VIEWSIZE", L"VIEWCTR"};
    for (const wchar_t* n : names)
        if (name == n)
            return true;
    return false;
}

bool intOf(const resbuf* rb, long& v) {
    if (rb->restype == RTSHORT)
        v = rb->resval.rint;
    else if (rb->restype == RTLONG)
        v = rb->resval.rlong;
    else
        return false;
    return true;
}

// RTNORM, RTREJ for a value the variable does not take, RTERROR when not the editor's.
int setEditorVar(const std::wstring& name, const resbuf* rb) {
    auto it = intVars().find(name);
    if (it != intVars().end()) {
        long v = 0;
        if (!intOf(rb, v) || v < it->second.min || v > it->second.max)
            return RTREJ;
        it->second.value = static_cast<short>(v);
        return RTNORM;
    }
    if (name == L"CVPORT") {
        long v = 0;
        if (!intOf(rb, v))
            return RTREJ;
        if (tilemodeOn())
            return v == 2 ? RTNORM : RTREJ;
        if (v < 1 || v > 32767)
            return RTREJ;
        currentSession().paperCvport = static_cast<short>(v);
        return RTNORM;
    }
    if (name == L"LASTPOINT") {
        if (rb->restype != RT3DPOINT && rb->restype != RTPOINT)
            return RTREJ;
        ads_point p = {rb->resval.rpoint[X], rb->resval.rpoint[Y],
                       rb->restype == RTPOINT ? 0.0 : rb->resval.rpoint[Z]};
        ucsToWcs(p, currentSession().lastPointWcs);
        return RTNORM;
    }
    if (isReadOnlyEditorVar(name))
        return RTREJ;
    return RTERROR;
}

} // namespace

void resetSessionVariables() {
    for (auto& [name, var] : intVars())
        var.value = var.def;
}

} // namespace khost

using namespace khost;

int acedGetVar(const ACHAR* sym, resbuf* result) {
    if (!sym || !result)
        return RTERROR;
    std::wstring name = upperName(sym);
    result->rbnext = nullptr;
    if (getEditorVar(name, result) == RTNORM)
        return RTNORM;
    AcDbDatabase* db = database();
    if (!db)
        return RTERROR;
    return dbGetSysVar(db, name, *result) ? RTNORM : RTERROR;
}

int acedSetVar(const ACHAR* sym, const resbuf* val) {
    if (!sym || !val)
        return RTERROR;
    std::wstring name = upperName(sym);
    int rc = setEditorVar(name, val);
    if (rc != RTERROR)
        return rc;
    AcDbDatabase* db = database();
    if (!db)
        return RTREJ;
    rc = dbSetSysVar(db, name, *val);
    if (rc == RTNORM && name == L"TILEMODE" && !db->tilemode())
        currentSession().paperCvport = 1; // leaving model space: paper space becomes current
    return rc;
}
