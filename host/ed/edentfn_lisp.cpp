// The AutoLISP functions of entities and selection sets: entmake, entmakex, entget, entlast,
// entnext, entdel, entmod, entupd, handent, ssget, ssname, sslength, ssadd, ssdel, ssmemb,
// sssetfirst, ssgetfirst, and regapp for their extended data. They are registered with the
// evaluator when the host is loaded.
#include "edentfn.h"
#include "edsel.h"

#include "acutads.h"
#include "dbapserv.h"
#include "dbhost.h"
#include "dbsymtb.h"
#include "edhost.h"
#include "lisp.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace khost {

namespace {

struct ChainDeleter {
    void operator()(resbuf* rb) const { acutRelRb(rb); }
};
using Chain = std::unique_ptr<resbuf, ChainDeleter>;

AcDbDatabase* workingDb() {
    return acdbHostApplicationServices()->workingDatabase();
}

LispValue nameValue(AcDbObjectId id) {
    if (id.isNull())
        return {};
    ads_name n;
    acdbGetAdsName(n, id);
    return LispValue::ename(n);
}

AcDbObjectId idOf(const LispValue& v) {
    if (v.kind() != LispValue::Kind::EName)
        lispBadArgType(L"lentityp", v);
    AcDbObjectId id;
    acdbGetObjectId(id, v.asEName().id);
    return id;
}

SelectionSet* setOf(const LispValue& v) {
    if (v.kind() != LispValue::Kind::PickSet)
        lispBadArgType(L"lselsetp", v);
    return findSelectionSet(v.asPickSet().id);
}

LispValue setValue(const std::vector<AcDbObjectId>& members) {
    ads_name name;
    SelectionSet* set = newSelectionSet(name);
    selectionMembers(set) = members;
    return LispValue::pickset(name);
}

// (entmake [list]) and (entmakex [list]): the list (entmake) or the new object's name
// (entmakex); the block's name after ENDBLK; nil when nothing is made. Without a list a pending
// block definition or complex entity is given up.
LispValue makeFrom(const std::vector<LispValue>& args, bool returnName) {
    lispCheckArgs(args, 0, 1);
    if (args.empty() || args[0].isNil()) {
        entMakeReset();
        return {};
    }
    Chain chain(lispToEntityChain(args[0]));
    AcDbObjectId made;
    std::wstring blockName;
    int rc = returnName ? entMakeX(chain.get(), made) : entMake(chain.get(), made, &blockName);
    if (rc != RTNORM)
        return {};
    if (!blockName.empty())
        return LispValue::string(blockName);
    if (returnName && !made.isNull())
        return nameValue(made);
    return args[0];
}

LispValue fnEntmake(const std::vector<LispValue>& args) {
    return makeFrom(args, false);
}

LispValue fnEntmakex(const std::vector<LispValue>& args) {
    return makeFrom(args, true);
}

LispValue fnEntget(const std::vector<LispValue>& args) {
    lispCheckArgs(args, 1, 2);
    AcDbObjectId id = idOf(args[0]);
    std::vector<std::wstring> apps;
    if (args.size() == 2) {
        if (!args[1].isList())
            lispBadArgType(L"listp", args[1]);
        for (const LispValue& a : args[1].toVector()) {
            if (!a.isString())
                lispBadArgType(L"stringp", a);
            apps.push_back(a.asString());
        }
    }
    Chain chain(entityData(id, apps));
    return chain ? lispFromEntityChain(chain.get()) : LispValue();
}

LispValue fnEntlast(const std::vector<LispValue>& args) {
    lispCheckArgs(args, 0, 0);
    return nameValue(lastEntity(workingDb()));
}

LispValue fnEntnext(const std::vector<LispValue>& args) {
    lispCheckArgs(args, 0, 1);
    AcDbObjectId after;
    if (!args.empty() && !args[0].isNil())
        after = idOf(args[0]);
    if (!args.empty() && !args[0].isNil() && after.isNull())
        return {};
    return nameValue(nextEntity(workingDb(), after));
}

LispValue fnEntdel(const std::vector<LispValue>& args) {
    lispCheckArgs(args, 1, 1);
    return entDel(idOf(args[0])) == RTNORM ? args[0] : LispValue();
}

LispValue fnEntmod(const std::vector<LispValue>& args) {
    lispCheckArgs(args, 1, 1);
    Chain chain(lispToEntityChain(args[0]));
    return entMod(chain.get()) == RTNORM ? args[0] : LispValue();
}

LispValue fnEntupd(const std::vector<LispValue>& args) {
    lispCheckArgs(args, 1, 1);
    AcDbObjectId id = idOf(args[0]);
    return peekObject(id) ? args[0] : LispValue();
}

LispValue fnHandent(const std::vector<LispValue>& args) {
    lispCheckArgs(args, 1, 1);
    if (!args[0].isString())
        lispBadArgType(L"stringp", args[0]);
    return nameValue(objectOfHandle(workingDb(), args[0].asString()));
}

// (ssget [mode] [filter]): "X" every entity of the drawing, "I" the pickfirst set, "P" the
// previous selection, "L" the last entity; each through the filter. The modes that pick go to
// the selection engine. nil when nothing is selected.
LispValue fnSsget(const std::vector<LispValue>& args) {
    std::wstring mode;
    size_t i = 0;
    if (i < args.size() && args[i].isString())
        mode = args[i++].asString();
    Chain filter;
    if (!args.empty() && i < args.size() && args.back().isCons() && args.back().car().isCons() &&
        args.back().car().car().isInt()) {
        filter.reset(lispToEntityChain(args.back()));
        if (!filterIsValid(filter.get()))
            lispFail(L"bad ssget list");
    }
    while (!mode.empty() && mode[0] == L'_')
        mode.erase(0, 1);
    for (auto& c : mode)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    AcDbDatabase* db = workingDb();
    std::vector<AcDbObjectId> chosen;
    auto keep = [&](const std::vector<AcDbObjectId>& from) {
        for (AcDbObjectId id : from)
            if (!id.isErased() && peekObject(id) && filterMatches(id, filter.get()))
                chosen.push_back(id);
    };
    if (mode == L"X") {
        chosen = selectAll(db, filter.get());
    } else if (mode == L"I") {
        keep(currentSession().pickfirst);
    } else if (mode == L"P") {
        keep(currentSession().previousSelection);
    } else if (mode == L"L") {
        AcDbObjectId last = lastEntity(db);
        if (!last.isNull())
            keep({last});
    } else {
        // Picks, windows and the "Select objects" prompt: the selection engine (edsel.h).
        return ssgetByPicking(args);
    }
    if (chosen.empty())
        return {};
    currentSession().previousSelection = chosen;
    return setValue(chosen);
}

LispValue fnSslength(const std::vector<LispValue>& args) {
    lispCheckArgs(args, 1, 1);
    SelectionSet* set = setOf(args[0]);
    return set ? LispValue::integer(static_cast<std::int32_t>(selectionMembers(set).size()))
               : LispValue();
}

LispValue fnSsname(const std::vector<LispValue>& args) {
    lispCheckArgs(args, 2, 2);
    SelectionSet* set = setOf(args[0]);
    if (!args[1].isNumber())
        lispBadArgType(L"numberp:", args[1]);
    double index = args[1].asNumber();
    if (!set || index < 0 || std::floor(index) != index)
        return {};
    auto& members = selectionMembers(set);
    if (index >= static_cast<double>(members.size()))
        return {};
    return nameValue(members[static_cast<size_t>(index)]);
}

LispValue fnSsadd(const std::vector<LispValue>& args) {
    lispCheckArgs(args, 0, 2);
    if (args.empty())
        return setValue({});
    AcDbObjectId id = idOf(args[0]);
    if (!AcDbEntity::cast(peekObject(id)) || id.isErased())
        return {};
    if (args.size() == 1)
        return setValue({id});
    SelectionSet* set = setOf(args[1]);
    if (!set)
        return {};
    auto& members = selectionMembers(set);
    if (std::find(members.begin(), members.end(), id) == members.end())
        members.push_back(id);
    return args[1];
}

LispValue fnSsdel(const std::vector<LispValue>& args) {
    lispCheckArgs(args, 2, 2);
    AcDbObjectId id = idOf(args[0]);
    SelectionSet* set = setOf(args[1]);
    if (!set)
        return {};
    auto& members = selectionMembers(set);
    auto it = std::find(members.begin(), members.end(), id);
    if (it == members.end())
        return {};
    members.erase(it);
    return args[1];
}

LispValue fnSsmemb(const std::vector<LispValue>& args) {
    lispCheckArgs(args, 2, 2);
    AcDbObjectId id = idOf(args[0]);
    SelectionSet* set = setOf(args[1]);
    if (!set)
        return {};
    auto& members = selectionMembers(set);
    return std::find(members.begin(), members.end(), id) != members.end() ? args[0] : LispValue();
}

// (sssetfirst gripset [pickset]): the pickfirst set becomes pickset (nil clears it); the value
// is the list of the arguments.
LispValue fnSssetfirst(const std::vector<LispValue>& args) {
    lispCheckArgs(args, 1, 2);
    auto& pickfirst = currentSession().pickfirst;
    pickfirst.clear();
    LispValue pick = args.size() == 2 ? args[1] : LispValue();
    if (!pick.isNil()) {
        SelectionSet* set = setOf(pick);
        if (set)
            for (AcDbObjectId id : selectionMembers(set))
                if (!id.isErased() && peekObject(id))
                    pickfirst.push_back(id);
    }
    return LispValue::list({args[0], pick});
}

LispValue fnSsgetfirst(const std::vector<LispValue>& args) {
    lispCheckArgs(args, 0, 0);
    const auto& pickfirst = currentSession().pickfirst;
    return LispValue::list({LispValue(), pickfirst.empty() ? LispValue() : setValue(pickfirst)});
}

[[maybe_unused]] // (regapp name): registers an application for extended data; the name, or nil when
                 // it is
                 // registered already or not a valid name.
LispValue
fnRegapp(const std::vector<LispValue>& args) {
    lispCheckArgs(args, 1, 1);
    if (!args[0].isString())
        lispBadArgType(L"stringp", args[0]);
    AcDbRegAppTable* table = nullptr;
    AcDbDatabase* db = workingDb();
    if (!db || db->getRegAppTable(table, AcDb::kForWrite) != Acad::eOk)
        return {};
    const std::wstring& name = args[0].asString();
    auto* rec = new AcDbRegAppTableRecord();
    bool added = !table->has(name.c_str()) && rec->setName(name.c_str()) == Acad::eOk &&
                 table->add(rec) == Acad::eOk;
    table->close();
    if (!added) {
        delete rec;
        return {};
    }
    rec->close();
    return args[0];
}

const bool registered = [] {
    lispRegisterBuiltin(L"REGAPP", fnRegapp);
    lispRegisterBuiltin(L"ENTMAKE", fnEntmake);
    lispRegisterBuiltin(L"ENTMAKEX", fnEntmakex);
    lispRegisterBuiltin(L"ENTGET", fnEntget);
    lispRegisterBuiltin(L"ENTLAST", fnEntlast);
    lispRegisterBuiltin(L"ENTNEXT", fnEntnext);
    lispRegisterBuiltin(L"ENTDEL", fnEntdel);
    lispRegisterBuiltin(L"ENTMOD", fnEntmod);
    lispRegisterBuiltin(L"ENTUPD", fnEntupd);
    lispRegisterBuiltin(L"HANDENT", fnHandent);
    lispRegisterBuiltin(L"SSGET", fnSsget);
    lispRegisterBuiltin(L"SSLENGTH", fnSslength);
    lispRegisterBuiltin(L"SSNAME", fnSsname);
    lispRegisterBuiltin(L"SSADD", fnSsadd);
    lispRegisterBuiltin(L"SSDEL", fnSsdel);
    lispRegisterBuiltin(L"SSMEMB", fnSsmemb);
    lispRegisterBuiltin(L"SSSETFIRST", fnSssetfirst);
    lispRegisterBuiltin(L"SSGETFIRST", fnSsgetfirst);
    return true;
}();

} // namespace

} // namespace khost
