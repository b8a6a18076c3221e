// The AutoLISP side of picking: entsel, nentsel, nentselp, ssnamex, and the modes of ssget that
// pick (the edentfn functions hand them over through ssgetByPicking).
#include "acedsel.h"
#include "edsel.h"

#include "acutads.h"
#include "edentfn.h"
#include "lisp.h"

#include <memory>

namespace khost {
namespace {

struct ChainDeleter {
    void operator()(resbuf* rb) const { acutRelRb(rb); }
};
using Chain = std::unique_ptr<resbuf, ChainDeleter>;

bool isPoint(const LispValue& v) {
    if (!v.isCons())
        return false;
    std::vector<LispValue> items = v.toVector();
    if (items.size() < 2 || items.size() > 3)
        return false;
    for (const LispValue& i : items)
        if (!i.isNumber())
            return false;
    return true;
}

void toPoint(const LispValue& v, ads_point out) {
    std::vector<LispValue> items = v.toVector();
    for (int i = 0; i < 3; ++i)
        out[i] = i < static_cast<int>(items.size()) ? items[static_cast<size_t>(i)].asNumber() : 0;
}

LispValue pointValue(const ads_point p) {
    return LispValue::list({LispValue::real(p[X]), LispValue::real(p[Y]), LispValue::real(p[Z])});
}

LispValue nameValue(const ads_name n) {
    return LispValue::ename(n);
}

// An optional prompt and, for nentselp, an optional point.
void promptAndPoint(const std::vector<LispValue>& args, std::wstring& prompt, bool& hasPrompt,
                    LispValue* point) {
    hasPrompt = false;
    for (const LispValue& a : args) {
        if (a.isString() && !hasPrompt) {
            prompt = a.asString();
            hasPrompt = true;
        } else if (point && isPoint(a)) {
            *point = a;
        } else if (!a.isNil()) {
            lispBadArgType(L"stringp", a);
        }
    }
}

LispValue fnEntsel(const std::vector<LispValue>& args) {
    lispCheckArgs(args, 0, 1);
    std::wstring prompt;
    bool hasPrompt = false;
    promptAndPoint(args, prompt, hasPrompt, nullptr);
    ads_name ent;
    ads_point pt;
    if (acedEntSel(hasPrompt ? prompt.c_str() : nullptr, ent, pt) != RTNORM)
        return {};
    return LispValue::list({nameValue(ent), pointValue(pt)});
}

// nentsel gives the transformation as four points (the images of the axes and the origin),
// nentselp as a 4x4 matrix.
LispValue nested(const std::vector<LispValue>& args, bool asMatrix) {
    lispCheckArgs(args, 0, 2);
    std::wstring prompt;
    bool hasPrompt = false;
    LispValue given;
    promptAndPoint(args, prompt, hasPrompt, asMatrix ? &given : nullptr);
    ads_name ent;
    ads_point pt = {0, 0, 0};
    ads_matrix m;
    resbuf* refs = nullptr;
    bool pick = !given.isNil();
    if (pick)
        toPoint(given, pt);
    if (acedNEntSelP(hasPrompt ? prompt.c_str() : nullptr, ent, pt, pick ? 1 : 0, m, &refs) !=
        RTNORM)
        return {};
    Chain chain(refs);
    std::vector<LispValue> out = {nameValue(ent), pointValue(pt)};
    if (!refs)
        return LispValue::list(out);
    std::vector<LispValue> rows;
    if (asMatrix) {
        for (int r = 0; r < 4; ++r)
            rows.push_back(LispValue::list({LispValue::real(m[r][0]), LispValue::real(m[r][1]),
                                            LispValue::real(m[r][2]), LispValue::real(m[r][3])}));
    } else {
        for (int c = 0; c < 4; ++c)
            rows.push_back(LispValue::list(
                {LispValue::real(m[0][c]), LispValue::real(m[1][c]), LispValue::real(m[2][c])}));
    }
    out.push_back(LispValue::list(rows));
    std::vector<LispValue> names;
    for (const resbuf* rb = refs; rb; rb = rb->rbnext)
        names.push_back(nameValue(rb->resval.rlname));
    out.push_back(LispValue::list(names));
    return LispValue::list(out);
}

LispValue fnNentsel(const std::vector<LispValue>& args) {
    return nested(args, false);
}

LispValue fnNentselp(const std::vector<LispValue>& args) {
    return nested(args, true);
}

LispValue fnSsnamex(const std::vector<LispValue>& args) {
    lispCheckArgs(args, 1, 2);
    if (args[0].kind() != LispValue::Kind::PickSet)
        lispBadArgType(L"lselsetp", args[0]);
    const std::int64_t* ss = args[0].asPickSet().id;
    Adesk::Int32 count = 0;
    if (acedSSLength(ss, &count) != RTNORM)
        return {};
    int from = 0, to = count;
    if (args.size() == 2 && !args[1].isNil()) {
        if (!args[1].isNumber())
            lispBadArgType(L"numberp:", args[1]);
        from = static_cast<int>(args[1].asNumber());
        if (from < 0 || from >= count)
            return {};
        to = from + 1;
    }
    std::vector<LispValue> items;
    for (int i = from; i < to; ++i) {
        resbuf* rb = nullptr;
        if (acedSSNameX(&rb, ss, i) != RTNORM)
            return {};
        Chain chain(rb);
        items.push_back(lispFromResbufList(rb));
    }
    return LispValue::list(items);
}

const bool registered = [] {
    lispRegisterBuiltin(L"ENTSEL", fnEntsel);
    lispRegisterBuiltin(L"NENTSEL", fnNentsel);
    lispRegisterBuiltin(L"NENTSELP", fnNentselp);
    lispRegisterBuiltin(L"SSNAMEX", fnSsnamex);
    return true;
}();

} // namespace

LispValue ssgetByPicking(const std::vector<LispValue>& args) {
    std::wstring mode;
    size_t i = 0;
    if (i < args.size() && args[i].isString())
        mode = args[i++].asString();
    std::vector<std::wstring> prompts;
    ads_point p1 = {0, 0, 0}, p2 = {0, 0, 0};
    int points = 0;
    Chain filter;
    for (; i < args.size(); ++i) {
        const LispValue& a = args[i];
        if (isPoint(a) && points < 2) {
            toPoint(a, points == 0 ? p1 : p2);
            ++points;
        } else if (a.isCons() && a.car().isString()) {
            for (const LispValue& s : a.toVector())
                if (s.isString())
                    prompts.push_back(s.asString());
        } else if (a.isCons() && a.car().isCons()) {
            filter.reset(lispToEntityChain(a));
            if (!filterIsValid(filter.get()))
                lispFail(L"bad ssget list");
        }
    }
    const void* pt1 = points > 0 ? static_cast<const void*>(p1) : nullptr;
    const ACHAR* texts[2] = {nullptr, nullptr};
    if (mode.find(L'$') != std::wstring::npos && !prompts.empty()) {
        texts[0] = prompts[0].c_str();
        texts[1] = prompts.size() > 1 ? prompts[1].c_str() : prompts[0].c_str();
        pt1 = texts;
    }
    ads_name ss;
    if (acedSSGet(mode.empty() ? nullptr : mode.c_str(), pt1, points > 1 ? p2 : nullptr,
                  filter.get(), ss) != RTNORM)
        return {};
    return LispValue::pickset(ss);
}

} // namespace khost
