// Internals shared by the evaluator's source files: functions, the per-document symbol table,
// the built-in table and the evaluator entry points.
#pragma once

#include "lisp.h"

#include <cstdint>
#include <map>
#include <unordered_map>

namespace khost {

// Special forms receive their argument forms unevaluated.
using LispSpecialForm = LispValue (*)(const LispValue& forms);

struct LispFunction {
    enum class Kind { Builtin, Special, User, External };
    Kind kind = Kind::Builtin;
    std::wstring name; // upper-case; "" for a lambda
    std::uint64_t serial = 0;

    LispBuiltin builtin;               // Builtin
    LispSpecialForm special = nullptr; // Special

    // User: parameters, locals (after "/") and the body forms (a list).
    std::vector<const LispSymbol*> params;
    std::vector<const LispSymbol*> locals;
    LispValue body;

    // External: the application and its function code.
    int app = -1;
    int fcode = 0;
};

namespace lispimpl {

const LispSymbol* intern(std::wstring_view name); // name is upper-cased here
const LispSymbol* symT();
const LispSymbol* symQuiet();
const LispSymbol* symLambda();
const LispSymbol* symQuote();
const LispSymbol* symSlash();

std::shared_ptr<LispFunction> makeFunction(LispFunction::Kind kind, std::wstring name);

// The globals of one document. An entry whose value is nil shadows a built-in of that name.
struct DocState {
    std::unordered_map<const LispSymbol*, LispValue> globals;
};
DocState& currentDoc();

// Built-ins and predefined symbols (T, PI ...), shared by all documents.
std::unordered_map<const LispSymbol*, LispValue>& builtinTable();
void registerSpecial(const wchar_t* name, LispSpecialForm fn);
void registerBuiltinFn(const wchar_t* name, LispBuiltin fn);
void ensureCoreBuiltins();   // the evaluator's own functions, registered once
void registerLispBuiltins(); // lispbuiltins.cpp

LispValue lookup(const LispSymbol* sym);
bool isBound(const LispSymbol* sym);
void setValue(const LispSymbol* sym, LispValue v);
void unbind(const LispSymbol* sym);

LispValue eval(const LispValue& form);
// Evaluates the forms of a list in order; the value of the last (nil for none).
LispValue evalBody(const LispValue& forms);
// Applies a function value (a function, a symbol naming one, or a (lambda ...) list).
LispValue applyFn(const LispValue& fn, const std::vector<LispValue>& args);
// A function made from (lambda (params / locals) body...) forms (the part after LAMBDA).
std::shared_ptr<LispFunction> makeLambda(const std::wstring& name, const LispValue& rest);

// Calls an external function (defined with acedDefun); in acedlisp.cpp.
LispValue callExternal(const LispFunction& fn, const std::vector<LispValue>& args);
bool externalAppLoaded(const LispFunction& fn);

// The reader: the next expression of a text from pos; false at the end of the text.
bool readNext(const std::wstring& text, size_t& pos, LispValue& out);

void print(const std::wstring& text);

} // namespace lispimpl
} // namespace khost
