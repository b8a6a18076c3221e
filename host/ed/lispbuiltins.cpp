// The built-in functions of the evaluator: lists, predicates, arithmetic, strings, output and
// system variables.
#include "lispinternal.h"
#include "lisphostdeps.h"

#include "acutads.h"
#include "textconv.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cwctype>

namespace khost {
namespace lispimpl {

namespace {

using Args = std::vector<LispValue>;

LispValue boolValue(bool b) {
    return b ? LispValue::t() : LispValue();
}

const LispValue& number(const LispValue& v) {
    if (!v.isNumber())
        lispBadArgType(L"numberp:", v);
    return v;
}

std::int32_t fixnum(const LispValue& v) {
    if (!v.isInt())
        lispBadArgType(L"fixnump:", v);
    return v.asInt();
}

const std::wstring& str(const LispValue& v) {
    if (!v.isString())
        lispBadArgType(L"stringp", v);
    return v.asString();
}

const LispValue& list(const LispValue& v) {
    if (!v.isList())
        lispBadArgType(L"listp", v);
    return v;
}

// Integer arithmetic wraps around at 32 bits as the host's does.
std::int32_t wrap(std::int64_t v) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

// ---- lists --------------------------------------------------------------------------------

LispValue carOf(const LispValue& v) {
    if (v.isNil())
        return {};
    if (!v.isCons())
        lispBadArgType(L"consp", v);
    return v.car();
}

LispValue cdrOf(const LispValue& v) {
    if (v.isNil())
        return {};
    if (!v.isCons())
        lispBadArgType(L"consp", v);
    return v.cdr();
}

// cXr by the letters between c and r, applied from the right.
LispBuiltin cxr(const wchar_t* path) {
    std::wstring p(path);
    return [p](const Args& a) {
        lispCheckArgs(a, 1, 1);
        LispValue v = a[0];
        for (auto it = p.rbegin(); it != p.rend(); ++it)
            v = (*it == L'a') ? carOf(v) : cdrOf(v);
        return v;
    };
}

LispValue fnCons(const Args& a) {
    lispCheckArgs(a, 2, 2);
    return LispValue::cons(a[0], a[1]);
}

LispValue fnList(const Args& a) {
    return LispValue::list(a);
}

LispValue fnAppend(const Args& a) {
    LispListBuilder b;
    for (const LispValue& l : a) {
        list(l);
        for (const LispValue* p = &l; p->isCons(); p = &p->cdr())
            b.add(p->car());
    }
    return b.take();
}

LispValue fnReverse(const Args& a) {
    lispCheckArgs(a, 1, 1);
    LispValue out;
    for (const LispValue* p = &list(a[0]); p->isCons(); p = &p->cdr())
        out = LispValue::cons(p->car(), out);
    return out;
}

LispValue fnLength(const Args& a) {
    lispCheckArgs(a, 1, 1);
    return LispValue::integer(static_cast<std::int32_t>(list(a[0]).length()));
}

LispValue fnNth(const Args& a) {
    lispCheckArgs(a, 2, 2);
    std::int32_t n = fixnum(a[0]);
    list(a[1]);
    if (n < 0)
        return {};
    const LispValue* p = &a[1];
    for (; n > 0 && p->isCons(); --n)
        p = &p->cdr();
    return p->isCons() ? p->car() : LispValue();
}

LispValue fnLast(const Args& a) {
    lispCheckArgs(a, 1, 1);
    const LispValue* p = &list(a[0]);
    if (p->isNil())
        return {};
    while (p->cdr().isCons())
        p = &p->cdr();
    return p->car();
}

LispValue fnMember(const Args& a) {
    lispCheckArgs(a, 2, 2);
    for (const LispValue* p = &list(a[1]); p->isCons(); p = &p->cdr())
        if (lispEqual(a[0], p->car()))
            return *p;
    return {};
}

LispValue fnAssoc(const Args& a) {
    lispCheckArgs(a, 2, 2);
    for (const LispValue* p = &list(a[1]); p->isCons(); p = &p->cdr())
        if (p->car().isCons() && lispEqual(a[0], p->car().car()))
            return p->car();
    return {};
}

LispValue fnMapcar(const Args& a) {
    lispCheckArgs(a, 2, SIZE_MAX);
    std::vector<const LispValue*> lists;
    for (size_t i = 1; i < a.size(); ++i)
        lists.push_back(&list(a[i]));
    LispListBuilder b;
    for (;;) {
        Args call;
        for (const LispValue*& l : lists) {
            if (!l->isCons())
                return b.take();
            call.push_back(l->car());
            l = &l->cdr();
        }
        b.add(applyFn(a[0], call));
    }
}

LispValue fnApply(const Args& a) {
    lispCheckArgs(a, 2, 2);
    return applyFn(a[0], list(a[1]).toVector());
}

// ---- predicates ---------------------------------------------------------------------------

LispValue fnEq(const Args& a) {
    lispCheckArgs(a, 2, 2);
    return boolValue(lispEq(a[0], a[1]));
}

LispValue fnEqual(const Args& a) {
    lispCheckArgs(a, 2, 3);
    double fuzz = a.size() == 3 ? number(a[2]).asNumber() : 0.0;
    return boolValue(lispEqual(a[0], a[1], fuzz));
}

LispValue fnNot(const Args& a) {
    lispCheckArgs(a, 1, 1);
    return boolValue(a[0].isNil());
}

LispValue fnAtom(const Args& a) {
    lispCheckArgs(a, 1, 1);
    return boolValue(!a[0].isCons());
}

LispValue fnListp(const Args& a) {
    lispCheckArgs(a, 1, 1);
    return boolValue(a[0].isList());
}

LispValue fnNumberp(const Args& a) {
    lispCheckArgs(a, 1, 1);
    return boolValue(a[0].isNumber());
}

LispValue fnType(const Args& a) {
    lispCheckArgs(a, 1, 1);
    std::wstring name = lispTypeName(a[0]);
    return name.empty() ? LispValue() : LispValue::symbol(name);
}

LispValue fnBoundp(const Args& a) {
    lispCheckArgs(a, 1, 1);
    if (a[0].isNil())
        return {};
    if (!a[0].isSymbol())
        lispBadArgType(L"symbolp", a[0]);
    return boolValue(isBound(a[0].asSymbol()));
}

// ---- symbols and evaluation ---------------------------------------------------------------

LispValue fnSet(const Args& a) {
    lispCheckArgs(a, 2, 2);
    if (!a[0].isSymbol() || a[0].isT())
        lispBadArgType(L"symbolp", a[0]);
    setValue(a[0].asSymbol(), a[1]);
    return a[1];
}

LispValue fnEval(const Args& a) {
    lispCheckArgs(a, 1, 1);
    return eval(a[0]);
}

LispValue fnExit(const Args& a) {
    lispCheckArgs(a, 0, 0);
    lispFail(L"quit / exit abort");
}

// ---- arithmetic ---------------------------------------------------------------------------

enum class Op { Add, Sub, Mul, Div };

LispValue arith(const Args& a, Op op) {
    if (a.empty())
        return LispValue::integer(0);
    LispValue acc = number(a[0]);
    if (a.size() == 1) {
        if (op == Op::Sub)
            return acc.isInt() ? LispValue::integer(wrap(-static_cast<std::int64_t>(acc.asInt())))
                               : LispValue::real(-acc.asReal());
        return acc;
    }
    for (size_t i = 1; i < a.size(); ++i) {
        const LispValue& b = number(a[i]);
        if (acc.isInt() && b.isInt()) {
            std::int64_t x = acc.asInt();
            std::int64_t y = b.asInt();
            std::int64_t r = 0;
            switch (op) {
            case Op::Add:
                r = x + y;
                break;
            case Op::Sub:
                r = x - y;
                break;
            case Op::Mul:
                r = x * y;
                break;
            case Op::Div:
                if (y == 0)
                    lispFail(L"divide by zero");
                r = x / y;
                break;
            }
            acc = LispValue::integer(wrap(r));
        } else {
            double x = acc.asNumber();
            double y = b.asNumber();
            double r = 0;
            switch (op) {
            case Op::Add:
                r = x + y;
                break;
            case Op::Sub:
                r = x - y;
                break;
            case Op::Mul:
                r = x * y;
                break;
            case Op::Div:
                if (y == 0.0)
                    lispFail(L"divide by zero");
                r = x / y;
                break;
            }
            acc = LispValue::real(r);
        }
    }
    return acc;
}

LispValue fnRem(const Args& a) {
    if (a.empty())
        return LispValue::integer(0);
    LispValue acc = number(a[0]);
    for (size_t i = 1; i < a.size(); ++i) {
        const LispValue& b = number(a[i]);
        if (acc.isInt() && b.isInt()) {
            if (b.asInt() == 0)
                lispFail(L"divide by zero");
            acc = LispValue::integer(wrap(static_cast<std::int64_t>(acc.asInt()) %
                                          static_cast<std::int64_t>(b.asInt())));
        } else {
            if (b.asNumber() == 0.0)
                lispFail(L"divide by zero");
            acc = LispValue::real(std::fmod(acc.asNumber(), b.asNumber()));
        }
    }
    return acc;
}

LispValue fnIncr(const Args& a, int delta) {
    lispCheckArgs(a, 1, 1);
    const LispValue& v = number(a[0]);
    if (v.isInt())
        return LispValue::integer(wrap(static_cast<std::int64_t>(v.asInt()) + delta));
    return LispValue::real(v.asReal() + delta);
}

LispValue fnAbs(const Args& a) {
    lispCheckArgs(a, 1, 1);
    const LispValue& v = number(a[0]);
    if (v.isInt())
        return LispValue::integer(wrap(std::llabs(static_cast<std::int64_t>(v.asInt()))));
    return LispValue::real(std::fabs(v.asReal()));
}

LispValue minMax(const Args& a, bool wantMax) {
    if (a.empty())
        return LispValue::integer(0);
    bool anyReal = false;
    for (const LispValue& v : a)
        anyReal |= number(v).isReal();
    size_t best = 0;
    for (size_t i = 1; i < a.size(); ++i) {
        double x = a[i].asNumber();
        double y = a[best].asNumber();
        if (wantMax ? x > y : x < y)
            best = i;
    }
    if (anyReal)
        return LispValue::real(a[best].asNumber());
    return a[best];
}

LispValue fnFix(const Args& a) {
    lispCheckArgs(a, 1, 1);
    const LispValue& v = number(a[0]);
    if (v.isInt())
        return v;
    double t = std::trunc(v.asReal());
    if (t < INT32_MIN || t > INT32_MAX)
        return LispValue::real(t);
    return LispValue::integer(static_cast<std::int32_t>(t));
}

LispValue fnFloat(const Args& a) {
    lispCheckArgs(a, 1, 1);
    return LispValue::real(number(a[0]).asNumber());
}

LispValue fnSqrt(const Args& a) {
    lispCheckArgs(a, 1, 1);
    double x = number(a[0]).asNumber();
    if (x < 0)
        lispFail(L"function undefined for argument: " + lispPrin1(a[0]));
    return LispValue::real(std::sqrt(x));
}

LispValue fnExpt(const Args& a) {
    lispCheckArgs(a, 2, 2);
    const LispValue& b = number(a[0]);
    const LispValue& e = number(a[1]);
    if (b.isInt() && e.isInt() && e.asInt() >= 0) {
        std::int64_t r = 1;
        for (std::int32_t i = 0; i < e.asInt(); ++i)
            r = wrap(r * b.asInt());
        return LispValue::integer(wrap(r));
    }
    return LispValue::real(std::pow(b.asNumber(), e.asNumber()));
}

// Comparison of numbers or of strings; each argument with the next.
enum class Cmp { Eq, Ne, Lt, Gt, Le, Ge };

int compare(const LispValue& x, const LispValue& y) {
    if (x.isString() && y.isString())
        return x.asString().compare(y.asString()) < 0 ? -1 : (x.asString() == y.asString() ? 0 : 1);
    if (x.isString())
        lispBadArgType(L"stringp", y);
    number(x);
    number(y);
    if (x.isInt() && y.isInt())
        return x.asInt() < y.asInt() ? -1 : (x.asInt() == y.asInt() ? 0 : 1);
    double a = x.asNumber();
    double b = y.asNumber();
    return a < b ? -1 : (a == b ? 0 : 1);
}

LispValue fnCompare(const Args& a, Cmp cmp) {
    lispCheckArgs(a, 1, SIZE_MAX);
    if (!a[0].isString())
        number(a[0]);
    for (size_t i = 0; i + 1 < a.size(); ++i) {
        int c = compare(a[i], a[i + 1]);
        bool ok = false;
        switch (cmp) {
        case Cmp::Eq:
            ok = c == 0;
            break;
        case Cmp::Ne:
            ok = c != 0;
            break;
        case Cmp::Lt:
            ok = c < 0;
            break;
        case Cmp::Gt:
            ok = c > 0;
            break;
        case Cmp::Le:
            ok = c <= 0;
            break;
        case Cmp::Ge:
            ok = c >= 0;
            break;
        }
        if (!ok)
            return {};
    }
    return LispValue::t();
}

// ---- strings ------------------------------------------------------------------------------

LispValue fnStrcat(const Args& a) {
    std::wstring out;
    for (const LispValue& v : a)
        out += str(v);
    return LispValue::string(std::move(out));
}

LispValue fnStrlen(const Args& a) {
    size_t n = 0;
    for (const LispValue& v : a)
        n += str(v).size();
    return LispValue::integer(static_cast<std::int32_t>(n));
}

LispValue fnSubstr(const Args& a) {
    lispCheckArgs(a, 2, 3);
    const std::wstring& s = str(a[0]);
    std::int32_t start = fixnum(a[1]);
    if (start < 1)
        lispFail(L"bad argument value: positive " + lispPrin1(a[1]));
    size_t from = static_cast<size_t>(start - 1);
    if (from >= s.size())
        return LispValue::string(L"");
    size_t count = std::wstring::npos;
    if (a.size() == 3) {
        std::int32_t n = fixnum(a[2]);
        if (n < 0)
            lispFail(L"bad argument value: non-negative " + lispPrin1(a[2]));
        count = static_cast<size_t>(n);
    }
    return LispValue::string(s.substr(from, count));
}

LispValue fnStrcase(const Args& a) {
    lispCheckArgs(a, 1, 2);
    const std::wstring& s = str(a[0]);
    bool lower = a.size() == 2 && !a[1].isNil();
    return LispValue::string(lower ? toLower(s, "cs-CZ") : toUpper(s, "cs-CZ"));
}

LispValue fnItoa(const Args& a) {
    lispCheckArgs(a, 1, 1);
    return LispValue::string(std::to_wstring(fixnum(a[0])));
}

LispValue fnAtoi(const Args& a) {
    lispCheckArgs(a, 1, 1);
    const std::wstring& s = str(a[0]);
    long long v = std::wcstoll(s.c_str(), nullptr, 10);
    return LispValue::integer(wrap(v));
}

LispValue fnAtof(const Args& a) {
    lispCheckArgs(a, 1, 1);
    const std::wstring& s = str(a[0]);
    return LispValue::real(std::wcstod(s.c_str(), nullptr));
}

int sysvarInt(const wchar_t* name, int fallback) {
    resbuf rb{};
    if (acedGetVar(name, &rb) != RTNORM)
        return fallback;
    int v = fallback;
    if (rb.restype == RTSHORT)
        v = rb.resval.rint;
    else if (rb.restype == RTLONG)
        v = rb.resval.rlong;
    khost::rbFreeValue(&rb);
    return v;
}

// (rtos number [mode [precision]]): mode 1 scientific, 2 decimal (also used for the others);
// defaults from LUNITS and LUPREC; DIMZIN 8 drops trailing zeros, 4 the leading zero.
LispValue fnRtos(const Args& a) {
    lispCheckArgs(a, 1, 3);
    double x = number(a[0]).asNumber();
    int mode = a.size() >= 2 ? fixnum(a[1]) : sysvarInt(L"LUNITS", 2);
    int prec = a.size() >= 3 ? fixnum(a[2]) : sysvarInt(L"LUPREC", 4);
    if (mode < 1 || mode > 5)
        lispFail(L"bad argument value: " + lispPrin1(a[1]));
    if (prec < 0 || prec > 16)
        prec = prec < 0 ? 0 : 16;
    int dimzin = sysvarInt(L"DIMZIN", 0);
    char buf[512];
    std::snprintf(buf, sizeof buf, mode == 1 ? "%.*E" : "%.*f", prec, x);
    std::string s(buf);
    std::string exp;
    if (mode == 1) {
        size_t e = s.find('E');
        exp = s.substr(e);
        s = s.substr(0, e);
        // three exponent digits: E+01 -> E+001
        std::string digits = exp.substr(2);
        while (digits.size() < 3)
            digits.insert(digits.begin(), '0');
        exp = exp.substr(0, 2) + digits;
    }
    if ((dimzin & 8) && s.find('.') != std::string::npos) {
        while (!s.empty() && s.back() == '0')
            s.pop_back();
        if (!s.empty() && s.back() == '.')
            s.pop_back();
    }
    if (dimzin & 4) {
        if (s.rfind("0.", 0) == 0 && s.size() > 2)
            s.erase(0, 1);
        else if (s.rfind("-0.", 0) == 0 && s.size() > 3)
            s.erase(1, 1);
    }
    s += exp;
    return LispValue::string(std::wstring(s.begin(), s.end()));
}

// ---- output -------------------------------------------------------------------------------

void checkStream(const Args& a) {
    if (a.size() == 2 && !a[1].isNil())
        lispBadArgType(L"streamp", a[1]);
}

LispValue fnPrinc(const Args& a) {
    lispCheckArgs(a, 0, 2);
    if (a.empty())
        return LispValue::quiet();
    checkStream(a);
    print(lispPrinc(a[0]));
    return a[0];
}

LispValue fnPrin1(const Args& a) {
    lispCheckArgs(a, 0, 2);
    if (a.empty())
        return LispValue::quiet();
    checkStream(a);
    print(lispPrin1(a[0]));
    return a[0];
}

LispValue fnPrint(const Args& a) {
    lispCheckArgs(a, 0, 2);
    if (a.empty())
        return LispValue::quiet();
    checkStream(a);
    print(L"\n" + lispPrin1(a[0]) + L" ");
    return a[0];
}

LispValue fnTerpri(const Args& a) {
    lispCheckArgs(a, 0, 0);
    print(L"\n");
    return {};
}

LispValue fnPrincToString(const Args& a) {
    lispCheckArgs(a, 1, 1);
    return LispValue::string(lispPrinc(a[0]));
}

LispValue fnPrin1ToString(const Args& a) {
    lispCheckArgs(a, 1, 1);
    return LispValue::string(lispPrin1(a[0]));
}

// ---- system variables ---------------------------------------------------------------------

std::wstring varName(const LispValue& v) {
    if (v.isString())
        return v.asString();
    if (v.isSymbol() && !v.isT())
        return v.asSymbol()->name;
    lispBadArgType(L"stringp", v);
}

LispValue fnGetvar(const Args& a) {
    lispCheckArgs(a, 1, 1);
    std::wstring name = varName(a[0]);
    resbuf rb{};
    if (acedGetVar(name.c_str(), &rb) != RTNORM)
        return {};
    LispValue v = lispFromResbuf(&rb);
    khost::rbFreeValue(&rb);
    return v;
}

LispValue fnSetvar(const Args& a) {
    lispCheckArgs(a, 2, 2);
    std::wstring name = varName(a[0]);
    const LispValue& v = a[1];
    int rc = RTERROR;
    if (v.isNumber() || v.isString() || v.isCons()) {
        resbuf* rb = lispToResbuf(v);
        if (rb->restype != RTLB)
            rc = acedSetVar(name.c_str(), rb);
        acutRelRb(rb);
    }
    if (rc != RTNORM)
        lispFail(L"AutoCAD variable setting rejected: " + lispPrin1(a[0]) + L" " + lispPrin1(v));
    return fnGetvar({a[0]});
}

} // namespace

void registerLispBuiltins() {
    // lists
    registerBuiltinFn(L"CAR", cxr(L"a"));
    registerBuiltinFn(L"CDR", cxr(L"d"));
    for (const wchar_t* p : {L"aa", L"ad", L"da", L"dd", L"aaa", L"aad", L"ada", L"add", L"daa",
                             L"dad", L"dda", L"ddd"}) {
        std::wstring name = std::wstring(L"C") + p + L"R";
        registerBuiltinFn(name.c_str(), cxr(p));
    }
    registerBuiltinFn(L"CONS", fnCons);
    registerBuiltinFn(L"LIST", fnList);
    registerBuiltinFn(L"APPEND", fnAppend);
    registerBuiltinFn(L"REVERSE", fnReverse);
    registerBuiltinFn(L"LENGTH", fnLength);
    registerBuiltinFn(L"NTH", fnNth);
    registerBuiltinFn(L"LAST", fnLast);
    registerBuiltinFn(L"MEMBER", fnMember);
    registerBuiltinFn(L"ASSOC", fnAssoc);
    registerBuiltinFn(L"MAPCAR", fnMapcar);
    registerBuiltinFn(L"APPLY", fnApply);
    // predicates
    registerBuiltinFn(L"EQ", fnEq);
    registerBuiltinFn(L"EQUAL", fnEqual);
    registerBuiltinFn(L"NOT", fnNot);
    registerBuiltinFn(L"NULL", fnNot);
    registerBuiltinFn(L"ATOM", fnAtom);
    registerBuiltinFn(L"LISTP", fnListp);
    registerBuiltinFn(L"NUMBERP", fnNumberp);
    registerBuiltinFn(L"TYPE", fnType);
    registerBuiltinFn(L"BOUNDP", fnBoundp);
    // symbols and evaluation
    registerBuiltinFn(L"SET", fnSet);
    registerBuiltinFn(L"EVAL", fnEval);
    registerBuiltinFn(L"EXIT", fnExit);
    registerBuiltinFn(L"QUIT", fnExit);
    // arithmetic
    registerBuiltinFn(L"+", [](const Args& a) { return arith(a, Op::Add); });
    registerBuiltinFn(L"-", [](const Args& a) { return arith(a, Op::Sub); });
    registerBuiltinFn(L"*", [](const Args& a) { return arith(a, Op::Mul); });
    registerBuiltinFn(L"/", [](const Args& a) { return arith(a, Op::Div); });
    registerBuiltinFn(L"REM", fnRem);
    registerBuiltinFn(L"1+", [](const Args& a) { return fnIncr(a, 1); });
    registerBuiltinFn(L"1-", [](const Args& a) { return fnIncr(a, -1); });
    registerBuiltinFn(L"ABS", fnAbs);
    registerBuiltinFn(L"MIN", [](const Args& a) { return minMax(a, false); });
    registerBuiltinFn(L"MAX", [](const Args& a) { return minMax(a, true); });
    registerBuiltinFn(L"FIX", fnFix);
    registerBuiltinFn(L"FLOAT", fnFloat);
    registerBuiltinFn(L"SQRT", fnSqrt);
    registerBuiltinFn(L"EXPT", fnExpt);
    registerBuiltinFn(L"=", [](const Args& a) { return fnCompare(a, Cmp::Eq); });
    registerBuiltinFn(L"/=", [](const Args& a) { return fnCompare(a, Cmp::Ne); });
    registerBuiltinFn(L"<", [](const Args& a) { return fnCompare(a, Cmp::Lt); });
    registerBuiltinFn(L">", [](const Args& a) { return fnCompare(a, Cmp::Gt); });
    registerBuiltinFn(L"<=", [](const Args& a) { return fnCompare(a, Cmp::Le); });
    registerBuiltinFn(L">=", [](const Args& a) { return fnCompare(a, Cmp::Ge); });
    builtinTable()[intern(L"PI")] = LispValue::real(3.14159265358979323846);
    // strings
    registerBuiltinFn(L"STRCAT", fnStrcat);
    registerBuiltinFn(L"STRLEN", fnStrlen);
    registerBuiltinFn(L"SUBSTR", fnSubstr);
    registerBuiltinFn(L"STRCASE", fnStrcase);
    registerBuiltinFn(L"ITOA", fnItoa);
    registerBuiltinFn(L"ATOI", fnAtoi);
    registerBuiltinFn(L"ATOF", fnAtof);
    registerBuiltinFn(L"RTOS", fnRtos);
    // output
    registerBuiltinFn(L"PRINC", fnPrinc);
    registerBuiltinFn(L"PRIN1", fnPrin1);
    registerBuiltinFn(L"PRINT", fnPrint);
    registerBuiltinFn(L"TERPRI", fnTerpri);
    registerBuiltinFn(L"VL-PRINC-TO-STRING", fnPrincToString);
    registerBuiltinFn(L"VL-PRIN1-TO-STRING", fnPrin1ToString);
    // system variables
    registerBuiltinFn(L"GETVAR", fnGetvar);
    registerBuiltinFn(L"SETVAR", fnSetvar);
}

} // namespace lispimpl
} // namespace khost
