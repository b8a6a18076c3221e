// LISP values: construction, symbols, printing, comparison and errors.
#include "lispinternal.h"

#include "textconv.h"

#include <cmath>
#include <cstdio>
#include <cwchar>

namespace khost {

namespace lispimpl {

namespace {

std::wstring upperName(std::wstring_view name) {
    bool ascii = true;
    for (wchar_t c : name)
        if (c > 127) {
            ascii = false;
            break;
        }
    if (!ascii)
        return toUpper(name, "cs-CZ");
    std::wstring out(name);
    for (wchar_t& c : out)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    return out;
}

std::unordered_map<std::wstring, std::unique_ptr<LispSymbol>>& symbolTable() {
    static std::unordered_map<std::wstring, std::unique_ptr<LispSymbol>> table;
    return table;
}

} // namespace

const LispSymbol* intern(std::wstring_view name) {
    std::wstring upper = upperName(name);
    auto& table = symbolTable();
    auto it = table.find(upper);
    if (it != table.end())
        return it->second.get();
    auto sym = std::make_unique<LispSymbol>();
    sym->name = upper;
    const LispSymbol* p = sym.get();
    table.emplace(std::move(upper), std::move(sym));
    return p;
}

const LispSymbol* symT() {
    static const LispSymbol* s = intern(L"T");
    return s;
}
const LispSymbol* symQuiet() {
    static const LispSymbol* s = intern(L"");
    return s;
}
const LispSymbol* symLambda() {
    static const LispSymbol* s = intern(L"LAMBDA");
    return s;
}
const LispSymbol* symQuote() {
    static const LispSymbol* s = intern(L"QUOTE");
    return s;
}
const LispSymbol* symSlash() {
    static const LispSymbol* s = intern(L"/");
    return s;
}

std::shared_ptr<LispFunction> makeFunction(LispFunction::Kind kind, std::wstring name) {
    static std::uint64_t serial = 0;
    auto fn = std::make_shared<LispFunction>();
    fn->kind = kind;
    fn->name = std::move(name);
    fn->serial = ++serial;
    return fn;
}

} // namespace lispimpl

using namespace lispimpl;

// ---------------------------------------------------------------------------------------------
// Values

LispValue LispValue::integer(std::int32_t i) {
    LispValue v;
    v.m_v = i;
    return v;
}

LispValue LispValue::real(double r) {
    LispValue v;
    v.m_v = r;
    return v;
}

LispValue LispValue::string(std::wstring s) {
    LispValue v;
    v.m_v = std::make_shared<const std::wstring>(std::move(s));
    return v;
}

LispValue LispValue::symbol(std::wstring_view name) {
    const LispSymbol* sym = intern(name);
    static const LispSymbol* nilSym = intern(L"NIL");
    if (sym == nilSym)
        return {};
    return symbol(sym);
}

LispValue LispValue::symbol(const LispSymbol* sym) {
    LispValue v;
    v.m_v = sym;
    return v;
}

LispValue LispValue::cons(LispValue car, LispValue cdr) {
    LispValue v;
    auto cell = std::make_shared<LispCons>();
    cell->car = std::move(car);
    cell->cdr = std::move(cdr);
    v.m_v = std::move(cell);
    return v;
}

LispValue LispValue::ename(const ads_name name) {
    LispValue v;
    LispName n;
    n.id[0] = name[0];
    n.id[1] = name[1];
    v.m_v = n;
    return v;
}

LispValue LispValue::pickset(const ads_name name) {
    LispValue v;
    LispPickSet n;
    n.id[0] = name[0];
    n.id[1] = name[1];
    v.m_v = n;
    return v;
}

LispValue LispValue::function(std::shared_ptr<LispFunction> fn) {
    LispValue v;
    v.m_v = std::move(fn);
    return v;
}

LispValue LispValue::t() {
    return symbol(symT());
}

LispValue LispValue::quiet() {
    return symbol(symQuiet());
}

LispValue LispValue::list(const std::vector<LispValue>& items) {
    LispListBuilder b;
    for (const LispValue& v : items)
        b.add(v);
    return b.take();
}

bool LispValue::isT() const {
    return isSymbol() && asSymbol() == symT();
}

bool LispValue::isQuiet() const {
    return isSymbol() && asSymbol() == symQuiet();
}

const LispValue& LispValue::car() const {
    static const LispValue nil;
    if (!isCons())
        return nil;
    return std::get<std::shared_ptr<LispCons>>(m_v)->car;
}

const LispValue& LispValue::cdr() const {
    static const LispValue nil;
    if (!isCons())
        return nil;
    return std::get<std::shared_ptr<LispCons>>(m_v)->cdr;
}

const LispCons* LispValue::cell() const {
    if (!isCons())
        return nullptr;
    return std::get<std::shared_ptr<LispCons>>(m_v).get();
}

std::vector<LispValue> LispValue::toVector() const {
    std::vector<LispValue> out;
    const LispValue* p = this;
    while (p->isCons()) {
        out.push_back(p->car());
        p = &p->cdr();
    }
    if (!p->isNil())
        lispBadArgType(L"listp", *this);
    return out;
}

size_t LispValue::length() const {
    size_t n = 0;
    for (const LispValue* p = this; p->isCons(); p = &p->cdr())
        ++n;
    return n;
}

LispCons::~LispCons() {
    // Unlink the rest of the list cell by cell while this is its only owner, so that a long
    // list is not released by one nested destructor call per cell.
    LispValue next = std::move(cdr);
    while (next.isCons()) {
        auto& ptr = std::get<std::shared_ptr<LispCons>>(next.m_v);
        if (ptr.use_count() != 1)
            break;
        LispValue after = std::move(ptr->cdr);
        next = std::move(after);
    }
}

void LispListBuilder::add(LispValue v) {
    LispValue cell = LispValue::cons(std::move(v), LispValue());
    LispCons* raw = std::get<std::shared_ptr<LispCons>>(cell.m_v).get();
    if (m_tail)
        m_tail->cdr = std::move(cell);
    else
        m_head = std::move(cell);
    m_tail = raw;
}

void LispListBuilder::setTail(LispValue v) {
    if (m_tail)
        m_tail->cdr = std::move(v);
    else
        m_head = std::move(v);
}

LispValue LispListBuilder::take() {
    m_tail = nullptr;
    return std::move(m_head);
}

// ---------------------------------------------------------------------------------------------
// Errors

namespace {
std::string narrow(const std::wstring& w) {
    return toUtf8(w);
}
} // namespace

LispError::LispError(std::wstring message)
    : std::runtime_error(narrow(message)), m_message(std::move(message)) {}

void lispFail(const std::wstring& message) {
    throw LispError(message);
}

void lispBadArgType(std::wstring_view what, const LispValue& value) {
    std::wstring msg = L"bad argument type: ";
    msg += what;
    msg += L' ';
    msg += lispPrin1(value);
    throw LispError(msg);
}

void lispCheckArgs(const std::vector<LispValue>& args, size_t min, size_t max) {
    if (args.size() < min)
        throw LispError(L"too few arguments");
    if (args.size() > max)
        throw LispError(L"too many arguments");
}

// ---------------------------------------------------------------------------------------------
// Printing

std::wstring lispFormatReal(double d) {
    if (std::isnan(d))
        return L"-1.#IND";
    if (std::isinf(d))
        return d > 0 ? L"1.#INF" : L"-1.#INF";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6g", d);
    std::string s(buf);
    std::string mant = s;
    std::string exp;
    size_t e = s.find('e');
    if (e != std::string::npos) {
        mant = s.substr(0, e);
        exp = s.substr(e + 1);
    }
    if (mant.find('.') == std::string::npos)
        mant += ".0";
    std::string out = mant;
    if (!exp.empty()) {
        // The exponent is written with its sign and at least three digits.
        char sign = '+';
        size_t i = 0;
        if (exp[0] == '+' || exp[0] == '-') {
            sign = exp[0];
            i = 1;
        }
        std::string digits = exp.substr(i);
        while (digits.size() < 3)
            digits.insert(digits.begin(), '0');
        out += 'e';
        out += sign;
        out += digits;
    }
    return std::wstring(out.begin(), out.end());
}

namespace {

std::wstring hex(std::int64_t v, int width) {
    wchar_t buf[40];
    std::swprintf(buf, 40, L"%0*llx", width, static_cast<unsigned long long>(v));
    return buf;
}

void quoteString(const std::wstring& s, std::wstring& out) {
    out += L'"';
    for (wchar_t c : s) {
        switch (c) {
        case L'"':
            out += L"\\\"";
            break;
        case L'\\':
            out += L"\\\\";
            break;
        case L'\n':
            out += L"\\n";
            break;
        case L'\r':
            out += L"\\r";
            break;
        case L'\t':
            out += L"\\t";
            break;
        case 27:
            out += L"\\e";
            break;
        default:
            if (c < 32) {
                wchar_t buf[8];
                std::swprintf(buf, 8, L"\\%03o", static_cast<unsigned>(c));
                out += buf;
            } else {
                out += c;
            }
        }
    }
    out += L'"';
}

void printValue(const LispValue& v, bool escape, std::wstring& out) {
    switch (v.kind()) {
    case LispValue::Kind::Nil:
        out += L"nil";
        break;
    case LispValue::Kind::Int:
        out += std::to_wstring(v.asInt());
        break;
    case LispValue::Kind::Real:
        out += lispFormatReal(v.asReal());
        break;
    case LispValue::Kind::String:
        if (escape)
            quoteString(v.asString(), out);
        else
            out += v.asString();
        break;
    case LispValue::Kind::Symbol:
        out += v.asSymbol()->name;
        break;
    case LispValue::Kind::Cons: {
        out += L'(';
        const LispValue* p = &v;
        bool first = true;
        while (p->isCons()) {
            if (!first)
                out += L' ';
            first = false;
            printValue(p->car(), escape, out);
            p = &p->cdr();
        }
        if (!p->isNil()) {
            out += L" . ";
            printValue(*p, escape, out);
        }
        out += L')';
        break;
    }
    case LispValue::Kind::EName:
        out += L"<Entity name: " + hex(v.asEName().id[0], 1) + L">";
        break;
    case LispValue::Kind::PickSet:
        out += L"<Selection set: " + hex(v.asPickSet().id[0], 1) + L">";
        break;
    case LispValue::Kind::Function: {
        const LispFunction& fn = *v.asFunction();
        const wchar_t* kind = L"SUBR";
        if (fn.kind == LispFunction::Kind::User)
            kind = L"USUBR";
        else if (fn.kind == LispFunction::Kind::External)
            kind = L"EXRXSUBR";
        out += L"#<";
        out += kind;
        out += L" @" + hex(static_cast<std::int64_t>(fn.serial), 16) + L" ";
        out += fn.name.empty() ? std::wstring(L"-lambda-") : fn.name;
        out += L">";
        break;
    }
    }
}

} // namespace

std::wstring lispPrin1(const LispValue& v) {
    std::wstring out;
    printValue(v, true, out);
    return out;
}

std::wstring lispPrinc(const LispValue& v) {
    std::wstring out;
    printValue(v, false, out);
    return out;
}

std::wstring lispTypeName(const LispValue& v) {
    switch (v.kind()) {
    case LispValue::Kind::Nil:
        return {};
    case LispValue::Kind::Int:
        return L"INT";
    case LispValue::Kind::Real:
        return L"REAL";
    case LispValue::Kind::String:
        return L"STR";
    case LispValue::Kind::Symbol:
        return L"SYM";
    case LispValue::Kind::Cons:
        return L"LIST";
    case LispValue::Kind::EName:
        return L"ENAME";
    case LispValue::Kind::PickSet:
        return L"PICKSET";
    case LispValue::Kind::Function:
        switch (v.asFunction()->kind) {
        case LispFunction::Kind::User:
            return L"USUBR";
        case LispFunction::Kind::External:
            return L"EXRXSUBR";
        default:
            return L"SUBR";
        }
    }
    return {};
}

// ---------------------------------------------------------------------------------------------
// Comparison

bool lispEq(const LispValue& a, const LispValue& b) {
    if (a.kind() != b.kind())
        return false;
    switch (a.kind()) {
    case LispValue::Kind::Nil:
        return true;
    case LispValue::Kind::Int:
        return a.asInt() == b.asInt();
    case LispValue::Kind::Real:
        return a.asReal() == b.asReal();
    case LispValue::Kind::String:
        return &a.asString() == &b.asString();
    case LispValue::Kind::Symbol:
        return a.asSymbol() == b.asSymbol();
    case LispValue::Kind::Cons:
        return a.cell() == b.cell();
    case LispValue::Kind::EName:
        return a.asEName() == b.asEName();
    case LispValue::Kind::PickSet:
        return a.asPickSet() == b.asPickSet();
    case LispValue::Kind::Function:
        return a.asFunction() == b.asFunction();
    }
    return false;
}

bool lispEqual(const LispValue& a, const LispValue& b, double fuzz) {
    const LispValue* x = &a;
    const LispValue* y = &b;
    for (;;) {
        if (x->isNumber() && y->isNumber()) {
            if (x->isInt() && y->isInt() && fuzz == 0.0)
                return x->asInt() == y->asInt();
            return std::fabs(x->asNumber() - y->asNumber()) <= fuzz;
        }
        if (x->isCons() && y->isCons()) {
            if (!lispEqual(x->car(), y->car(), fuzz))
                return false;
            x = &x->cdr();
            y = &y->cdr();
            continue;
        }
        if (x->isString() && y->isString())
            return x->asString() == y->asString();
        return lispEq(*x, *y);
    }
}

} // namespace khost
