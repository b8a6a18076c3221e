// The host's small AutoLISP evaluator: values, printing, errors and the table of built-in
// functions that other parts of the host extend at start-up.
//
// Values are small tagged objects: nil, integers (32-bit), reals, strings, symbols, list cells
// (shared, never changed once a list is built), entity names, selection sets and functions.
// Symbols are interned and compared by identity; their values (global variables and functions
// defined with defun) are kept per document.
#pragma once

#include "adsdef.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace khost {

struct LispSymbol {
    std::wstring name; // upper-case
};

struct LispCons;
struct LispFunction;

// An entity name or a selection set name as the C interface carries it (ads_name).
struct LispName {
    std::int64_t id[2] = {0, 0};
    bool operator==(const LispName& o) const { return id[0] == o.id[0] && id[1] == o.id[1]; }
};
struct LispPickSet {
    std::int64_t id[2] = {0, 0};
    bool operator==(const LispPickSet& o) const { return id[0] == o.id[0] && id[1] == o.id[1]; }
};

class LispValue {
public:
    enum class Kind { Nil, Int, Real, String, Symbol, Cons, EName, PickSet, Function };

    LispValue() = default; // nil
    LispValue(const LispValue&) = default;
    LispValue& operator=(const LispValue&) = default;
    // A value moved from is nil.
    LispValue(LispValue&& o) noexcept : m_v(std::move(o.m_v)) { o.m_v = std::monostate{}; }
    LispValue& operator=(LispValue&& o) noexcept {
        if (this != &o) {
            // o may live inside what this value holds now: take it out before replacing.
            auto taken = std::move(o.m_v);
            o.m_v = std::monostate{};
            m_v = std::move(taken);
        }
        return *this;
    }

    static LispValue integer(std::int32_t i);
    static LispValue real(double r);
    static LispValue string(std::wstring s);
    // The interned symbol of that name (case-insensitive); "nil" gives nil.
    static LispValue symbol(std::wstring_view name);
    static LispValue symbol(const LispSymbol* sym);
    static LispValue cons(LispValue car, LispValue cdr);
    static LispValue ename(const ads_name name);
    static LispValue pickset(const ads_name name);
    static LispValue function(std::shared_ptr<LispFunction> fn);
    static LispValue t();
    // The value that (princ) and acedRetVoid give: a symbol without a name, not echoed.
    static LispValue quiet();
    // A list of the given elements.
    static LispValue list(const std::vector<LispValue>& items);

    Kind kind() const { return static_cast<Kind>(m_v.index()); }
    bool isNil() const { return kind() == Kind::Nil; }
    bool isInt() const { return kind() == Kind::Int; }
    bool isReal() const { return kind() == Kind::Real; }
    bool isNumber() const { return isInt() || isReal(); }
    bool isString() const { return kind() == Kind::String; }
    bool isSymbol() const { return kind() == Kind::Symbol; }
    bool isCons() const { return kind() == Kind::Cons; }
    bool isList() const { return isNil() || isCons(); } // nil is the empty list
    bool isFunction() const { return kind() == Kind::Function; }
    bool isT() const;
    bool isQuiet() const;

    std::int32_t asInt() const { return std::get<std::int32_t>(m_v); }
    double asReal() const { return std::get<double>(m_v); }
    double asNumber() const { return isInt() ? asInt() : asReal(); }
    const std::wstring& asString() const { return *std::get<StrPtr>(m_v); }
    const LispSymbol* asSymbol() const { return std::get<const LispSymbol*>(m_v); }
    const LispName& asEName() const { return std::get<LispName>(m_v); }
    const LispPickSet& asPickSet() const { return std::get<LispPickSet>(m_v); }
    const std::shared_ptr<LispFunction>& asFunction() const {
        return std::get<std::shared_ptr<LispFunction>>(m_v);
    }
    // Car and cdr of a list cell; nil for nil.
    const LispValue& car() const;
    const LispValue& cdr() const;
    // The cell itself (for identity), null for anything but a cell.
    const LispCons* cell() const;

    // Elements of a proper list; throws "bad argument type: listp" for anything else.
    std::vector<LispValue> toVector() const;
    // Number of cells of a list (a dotted end is not counted).
    size_t length() const;

private:
    using StrPtr = std::shared_ptr<const std::wstring>;
    std::variant<std::monostate, std::int32_t, double, StrPtr, const LispSymbol*,
                 std::shared_ptr<LispCons>, LispName, LispPickSet, std::shared_ptr<LispFunction>>
        m_v;
    friend struct LispListBuilder;
    friend struct LispCons;
};

struct LispCons {
    LispValue car;
    LispValue cdr;
    ~LispCons(); // releases long lists without deep recursion
};

// Builds a list front to back.
struct LispListBuilder {
    void add(LispValue v);
    // Ends the list with a dotted tail instead of nil.
    void setTail(LispValue v);
    LispValue take();

private:
    LispValue m_head;
    LispCons* m_tail = nullptr;
};

// A LISP error; the message is what follows "; error: ".
class LispError : public std::runtime_error {
public:
    explicit LispError(std::wstring message);
    const std::wstring& message() const { return m_message; }

private:
    std::wstring m_message;
};

[[noreturn]] void lispFail(const std::wstring& message);
// "bad argument type: <what> <value>"; <what> is the predicate as the host names it, e.g.
// "numberp:" or "stringp".
[[noreturn]] void lispBadArgType(std::wstring_view what, const LispValue& value);
// "too few arguments" / "too many arguments" unless min <= count <= max.
void lispCheckArgs(const std::vector<LispValue>& args, size_t min, size_t max);

// The printed forms: prin1 (strings quoted and escaped) and princ (as they are).
std::wstring lispPrin1(const LispValue& v);
std::wstring lispPrinc(const LispValue& v);
// A real as the host prints it: up to six significant digits, always with a decimal point.
std::wstring lispFormatReal(double d);
// The value of (type v) as a symbol name, or empty for nil.
std::wstring lispTypeName(const LispValue& v);
// eq and equal (with a tolerance for numbers).
bool lispEq(const LispValue& a, const LispValue& b);
bool lispEqual(const LispValue& a, const LispValue& b, double fuzz = 0.0);

// Built-in functions: their arguments arrive evaluated. Other parts of the host register theirs
// at start-up (entity functions, selection sets, command); a later registration of the same
// name replaces the earlier one.
using LispBuiltin = std::function<LispValue(const std::vector<LispValue>& args)>;
void lispRegisterBuiltin(const std::wstring& name, LispBuiltin fn);

// Evaluates every expression of a text in the current document and prints the last value on
// the command line (prin1 form, nothing for a quiet value). An error prints "; error: ..."
// (or calls a user-defined *error*) and ends the evaluation; the result is false then.
bool lispEvalText(const std::wstring& text);
// Evaluates one text and gives the value of its last expression; errors are thrown as
// LispError and nothing is printed but what the expressions print themselves.
LispValue lispEvaluate(const std::wstring& text);
// Reads all expressions of a text without evaluating them (LispError on a syntax error).
std::vector<LispValue> lispReadAll(const std::wstring& text);

// Per-document state: global symbols and the functions defined in a document.
void lispForgetDocument(const void* key);
// The global value of a symbol in the current document (nil when unbound).
LispValue lispGetGlobal(std::wstring_view name);
void lispSetGlobal(std::wstring_view name, LispValue value);

// Commands defined as "C:NAME" functions (by defun or acedDefun) in the current document.
bool lispHasCommand(const std::wstring& name);
// Runs such a command without arguments and echoes its value as the command line does (a
// command ending with (princ) shows nothing); false when it is not defined or ended in an error
// (which is printed).
bool lispRunCommand(const std::wstring& name);

// Conversions between values and result-buffer chains.
// One value as the buffers that carry it: a list as RTLB ... RTLE (a dotted end with RTDOTE), a
// list of two or three numbers as RTPOINT / RT3DPOINT, an integer as RTSHORT when it fits 16 bits
// and RTLONG otherwise. Returns the head; tail (if given) receives the last buffer.
resbuf* lispToResbuf(const LispValue& v, resbuf** tail = nullptr);
// A chain of argument values, each converted as above.
resbuf* lispArgsToResbuf(const std::vector<LispValue>& args);
// The value of one buffer (points become lists of reals); the chain is not followed.
LispValue lispFromResbuf(const resbuf* rb);
// The list that a chain describes, as acedRetList reads it: the elements in order, nested lists
// between RTLB and RTLE, dotted ends after RTDOTE; a chain that is one RTLB ... RTLE group is that
// list itself. Throws LispError for a chain that is not well formed.
LispValue lispFromResbufList(const resbuf* rb);
// Entity data lists: a chain of DXF groups as ((code . value) ...), points as (code x y z), and
// back.
LispValue lispFromEntityChain(const resbuf* rb);
resbuf* lispToEntityChain(const LispValue& list);

} // namespace khost
