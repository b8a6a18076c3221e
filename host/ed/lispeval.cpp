// The evaluator: per-document symbols, function application with dynamically bound arguments
// and locals, the special forms, and the command-line entry.
#include "lispinternal.h"
#include "lisphostdeps.h"

#include "hostio.h"

namespace khost {
namespace lispimpl {

namespace {

constexpr int kMaxDepth = 3000;
int g_depth = 0;

std::map<const void*, DocState>& lispDocuments() {
    static std::map<const void*, DocState> docs;
    return docs;
}

struct DepthGuard {
    DepthGuard() {
        if (++g_depth > kMaxDepth) {
            --g_depth;
            lispFail(L"stack overflow");
        }
    }
    ~DepthGuard() { --g_depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
};

// Saves the global values of symbols and puts them back when the scope ends, also after an
// error: arguments and locals of user functions are bound dynamically.
class Bindings {
public:
    Bindings() : m_doc(&currentDoc()) {}
    ~Bindings() {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            if (it->had)
                m_doc->globals[it->sym] = std::move(it->value);
            else
                m_doc->globals.erase(it->sym);
        }
    }
    Bindings(const Bindings&) = delete;
    Bindings& operator=(const Bindings&) = delete;

    void bind(const LispSymbol* sym, LispValue v) {
        auto it = m_doc->globals.find(sym);
        Saved s{sym, it != m_doc->globals.end(), {}};
        if (s.had)
            s.value = it->second;
        m_saved.push_back(std::move(s));
        m_doc->globals[sym] = std::move(v);
    }

private:
    struct Saved {
        const LispSymbol* sym;
        bool had;
        LispValue value;
    };
    DocState* m_doc;
    std::vector<Saved> m_saved;
};

const LispSymbol* requireSymbol(const LispValue& v) {
    if (!v.isSymbol() || v.isT())
        lispBadArgType(L"symbolp", v);
    return v.asSymbol();
}

LispValue callUser(const LispFunction& fn, const std::vector<LispValue>& args) {
    if (args.size() < fn.params.size())
        lispFail(L"too few arguments");
    if (args.size() > fn.params.size())
        lispFail(L"too many arguments");
    Bindings b;
    for (size_t i = 0; i < fn.params.size(); ++i)
        b.bind(fn.params[i], args[i]);
    for (const LispSymbol* local : fn.locals)
        b.bind(local, LispValue());
    return evalBody(fn.body);
}

bool isLambdaList(const LispValue& v) {
    return v.isCons() && v.car().isSymbol() && v.car().asSymbol() == symLambda();
}

std::vector<LispValue> evalArgs(const LispValue& forms) {
    std::vector<LispValue> args;
    const LispValue* p = &forms;
    for (; p->isCons(); p = &p->cdr())
        args.push_back(eval(p->car()));
    if (!p->isNil())
        lispBadArgType(L"listp", forms);
    return args;
}

// ---- special forms ------------------------------------------------------------------------

std::vector<LispValue> formList(const LispValue& forms) {
    return forms.toVector();
}

LispValue sfQuote(const LispValue& forms) {
    auto f = formList(forms);
    lispCheckArgs(f, 1, 1);
    return f[0];
}

LispValue sfFunction(const LispValue& forms) {
    auto f = formList(forms);
    lispCheckArgs(f, 1, 1);
    if (isLambdaList(f[0]))
        return LispValue::function(makeLambda(L"", f[0].cdr()));
    return f[0];
}

LispValue sfSetq(const LispValue& forms) {
    auto f = formList(forms);
    if (f.empty() || f.size() % 2 != 0)
        lispFail(L"too few arguments");
    LispValue last;
    for (size_t i = 0; i < f.size(); i += 2) {
        const LispSymbol* sym = requireSymbol(f[i]);
        last = eval(f[i + 1]);
        setValue(sym, last);
    }
    return last;
}

LispValue sfIf(const LispValue& forms) {
    auto f = formList(forms);
    lispCheckArgs(f, 2, 3);
    if (!eval(f[0]).isNil())
        return eval(f[1]);
    if (f.size() == 3)
        return eval(f[2]);
    return {};
}

LispValue sfCond(const LispValue& forms) {
    for (const LispValue* p = &forms; p->isCons(); p = &p->cdr()) {
        const LispValue& clause = p->car();
        if (!clause.isCons())
            lispBadArgType(L"consp", clause);
        LispValue test = eval(clause.car());
        if (test.isNil())
            continue;
        if (clause.cdr().isNil())
            return test;
        return evalBody(clause.cdr());
    }
    return {};
}

LispValue sfProgn(const LispValue& forms) {
    return evalBody(forms);
}

LispValue sfWhile(const LispValue& forms) {
    if (!forms.isCons())
        lispFail(L"too few arguments");
    LispValue last;
    while (!eval(forms.car()).isNil())
        last = evalBody(forms.cdr());
    return last;
}

LispValue sfRepeat(const LispValue& forms) {
    if (!forms.isCons())
        lispFail(L"too few arguments");
    LispValue n = eval(forms.car());
    if (!n.isInt())
        lispBadArgType(L"fixnump:", n);
    LispValue last;
    for (std::int32_t i = 0; i < n.asInt(); ++i)
        last = evalBody(forms.cdr());
    return last;
}

LispValue sfForeach(const LispValue& forms) {
    auto f = formList(forms);
    if (f.size() < 2)
        lispFail(L"too few arguments");
    const LispSymbol* var = requireSymbol(f[0]);
    LispValue list = eval(f[1]);
    if (!list.isList())
        lispBadArgType(L"listp", list);
    const LispValue& body = forms.cdr().cdr();
    Bindings b;
    b.bind(var, LispValue());
    LispValue last;
    for (const LispValue* p = &list; p->isCons(); p = &p->cdr()) {
        setValue(var, p->car());
        last = evalBody(body);
    }
    return last;
}

LispValue sfAnd(const LispValue& forms) {
    for (const LispValue* p = &forms; p->isCons(); p = &p->cdr())
        if (eval(p->car()).isNil())
            return {};
    return LispValue::t();
}

LispValue sfOr(const LispValue& forms) {
    for (const LispValue* p = &forms; p->isCons(); p = &p->cdr())
        if (!eval(p->car()).isNil())
            return LispValue::t();
    return {};
}

LispValue sfDefun(const LispValue& forms) {
    if (!forms.isCons() || !forms.cdr().isCons())
        lispFail(L"too few arguments");
    const LispSymbol* name = requireSymbol(forms.car());
    setValue(name, LispValue::function(makeLambda(name->name, forms.cdr())));
    return LispValue::symbol(name);
}

LispValue sfLambda(const LispValue& forms) {
    if (!forms.isCons())
        lispFail(L"too few arguments");
    return LispValue::function(makeLambda(L"", forms));
}

void registerCore() {
    registerSpecial(L"QUOTE", sfQuote);
    registerSpecial(L"FUNCTION", sfFunction);
    registerSpecial(L"SETQ", sfSetq);
    registerSpecial(L"IF", sfIf);
    registerSpecial(L"COND", sfCond);
    registerSpecial(L"PROGN", sfProgn);
    registerSpecial(L"WHILE", sfWhile);
    registerSpecial(L"REPEAT", sfRepeat);
    registerSpecial(L"FOREACH", sfForeach);
    registerSpecial(L"AND", sfAnd);
    registerSpecial(L"OR", sfOr);
    registerSpecial(L"DEFUN", sfDefun);
    registerSpecial(L"LAMBDA", sfLambda);
}

} // namespace

DocState& currentDoc() {
    return lispDocuments()[currentDocumentKey()];
}

std::unordered_map<const LispSymbol*, LispValue>& builtinTable() {
    static std::unordered_map<const LispSymbol*, LispValue> table;
    return table;
}

void registerSpecial(const wchar_t* name, LispSpecialForm fn) {
    auto f = makeFunction(LispFunction::Kind::Special, intern(name)->name);
    f->special = fn;
    builtinTable()[intern(name)] = LispValue::function(std::move(f));
}

void registerBuiltinFn(const wchar_t* name, LispBuiltin fn) {
    auto f = makeFunction(LispFunction::Kind::Builtin, intern(name)->name);
    f->builtin = std::move(fn);
    builtinTable()[intern(name)] = LispValue::function(std::move(f));
}

void ensureCoreBuiltins() {
    static bool done = false;
    if (done)
        return;
    done = true;
    // Registrations made by other parts before the first evaluation win over the defaults.
    auto registered = std::move(builtinTable());
    builtinTable().clear();
    registerCore();
    registerLispBuiltins();
    for (auto& [sym, value] : registered)
        builtinTable()[sym] = std::move(value);
}

LispValue lookup(const LispSymbol* sym) {
    if (sym == symT() || sym == symQuiet())
        return LispValue::symbol(sym);
    DocState& doc = currentDoc();
    auto it = doc.globals.find(sym);
    if (it != doc.globals.end())
        return it->second;
    auto& table = builtinTable();
    auto bt = table.find(sym);
    if (bt != table.end())
        return bt->second;
    return {};
}

bool isBound(const LispSymbol* sym) {
    return !lookup(sym).isNil();
}

void setValue(const LispSymbol* sym, LispValue v) {
    currentDoc().globals[sym] = std::move(v);
}

void unbind(const LispSymbol* sym) {
    currentDoc().globals.erase(sym);
}

std::shared_ptr<LispFunction> makeLambda(const std::wstring& name, const LispValue& rest) {
    auto fn = makeFunction(LispFunction::Kind::User, name);
    const LispValue& params = rest.car();
    if (!params.isList())
        lispBadArgType(L"listp", params);
    bool locals = false;
    for (const LispValue* p = &params; p->isCons(); p = &p->cdr()) {
        const LispValue& v = p->car();
        if (v.isSymbol() && v.asSymbol() == symSlash()) {
            locals = true;
            continue;
        }
        const LispSymbol* sym = requireSymbol(v);
        (locals ? fn->locals : fn->params).push_back(sym);
    }
    fn->body = rest.cdr();
    return fn;
}

LispValue eval(const LispValue& form) {
    switch (form.kind()) {
    case LispValue::Kind::Symbol:
        return lookup(form.asSymbol());
    case LispValue::Kind::Cons:
        break;
    default:
        return form;
    }
    DepthGuard depth;
    const LispValue& head = form.car();
    LispValue fn;
    if (head.isSymbol()) {
        fn = lookup(head.asSymbol());
        if (fn.isNil())
            lispFail(L"no function definition: " + head.asSymbol()->name);
    } else if (isLambdaList(head)) {
        fn = LispValue::function(makeLambda(L"", head.cdr()));
    } else if (head.isCons()) {
        fn = eval(head);
    } else {
        fn = head;
    }
    if (fn.isFunction() && fn.asFunction()->kind == LispFunction::Kind::Special)
        return fn.asFunction()->special(form.cdr());
    if (!fn.isFunction() && !isLambdaList(fn))
        lispFail(L"bad function: " + lispPrin1(fn));
    return applyFn(fn, evalArgs(form.cdr()));
}

LispValue evalBody(const LispValue& forms) {
    LispValue last;
    for (const LispValue* p = &forms; p->isCons(); p = &p->cdr())
        last = eval(p->car());
    return last;
}

LispValue applyFn(const LispValue& fnValue, const std::vector<LispValue>& args) {
    DepthGuard depth;
    LispValue fn = fnValue;
    if (fn.isSymbol()) {
        LispValue v = lookup(fn.asSymbol());
        if (v.isNil())
            lispFail(L"no function definition: " + fn.asSymbol()->name);
        fn = v;
    }
    if (isLambdaList(fn))
        return callUser(*makeLambda(L"", fn.cdr()), args);
    if (!fn.isFunction())
        lispFail(L"bad function: " + lispPrin1(fn));
    const LispFunction& f = *fn.asFunction();
    switch (f.kind) {
    case LispFunction::Kind::Builtin:
        return f.builtin(args);
    case LispFunction::Kind::Special: {
        // A special form applied to values: each value is given to it quoted.
        LispListBuilder forms;
        for (const LispValue& a : args)
            forms.add(LispValue::list({LispValue::symbol(symQuote()), a}));
        return f.special(forms.take());
    }
    case LispFunction::Kind::User:
        return callUser(f, args);
    case LispFunction::Kind::External:
        return callExternal(f, args);
    }
    return {};
}

void print(const std::wstring& text) {
    hostPrint(text);
}

} // namespace lispimpl

using namespace lispimpl;

void lispRegisterBuiltin(const std::wstring& name, LispBuiltin fn) {
    registerBuiltinFn(name.c_str(), std::move(fn));
}

namespace {

// An error ends the evaluation; a user's *error* function gets the message instead of the
// standard report.
void reportError(const std::wstring& message) {
    static const LispSymbol* errorSym = intern(L"*ERROR*");
    LispValue handler = lookup(errorSym);
    if (handler.isFunction() ||
        (handler.isCons() && handler.car().isSymbol() && handler.car().asSymbol() == symLambda())) {
        try {
            applyFn(handler, {LispValue::string(message)});
            return;
        } catch (const LispError& e) {
            print(L"; error: " + e.message());
            return;
        }
    }
    print(L"; error: " + message);
}

} // namespace

namespace {

LispValue evaluateText(const std::wstring& text, bool& any) {
    ensureCoreBuiltins();
    size_t pos = 0;
    LispValue form;
    LispValue last;
    any = false;
    while (readNext(text, pos, form)) {
        last = eval(form);
        any = true;
    }
    return last;
}

} // namespace

LispValue lispEvaluate(const std::wstring& text) {
    bool any = false;
    return evaluateText(text, any);
}

bool lispEvalText(const std::wstring& text) {
    LispValue last;
    bool any = false;
    try {
        last = evaluateText(text, any);
    } catch (const LispError& e) {
        reportError(e.message());
        return false;
    }
    if (any && !last.isQuiet())
        print(lispPrin1(last));
    return true;
}

void lispForgetDocument(const void* key) {
    lispDocuments().erase(key);
}

LispValue lispGetGlobal(std::wstring_view name) {
    ensureCoreBuiltins();
    return lookup(intern(name));
}

void lispSetGlobal(std::wstring_view name, LispValue value) {
    setValue(intern(name), std::move(value));
}

bool lispHasCommand(const std::wstring& name) {
    ensureCoreBuiltins();
    return lookup(intern(L"C:" + name)).isFunction();
}

bool lispRunCommand(const std::wstring& name) {
    ensureCoreBuiltins();
    LispValue fn = lookup(intern(L"C:" + name));
    if (!fn.isFunction())
        return false;
    LispValue result;
    try {
        result = applyFn(fn, {});
    } catch (const LispError& e) {
        reportError(e.message());
        return false;
    }
    if (!result.isQuiet())
        print(lispPrin1(result));
    return true;
}

} // namespace khost
