// External LISP functions: definition by applications, the call through kInvkSubrMsg (or a
// handler registered with acedRegFunc), arguments as result buffers and the acedRet* family.
#include "acedlisp.h"
#include "lispinternal.h"
#include "lisphostdeps.h"

#include "acutads.h"
#include "appregistry.h"
#include "dbtrans.h"

#include <map>
#include <utility>

namespace khost {
namespace lispimpl {

namespace {

// The call being handled; calls nest when a handler evaluates LISP itself.
struct CallFrame {
    int fcode = 0;
    resbuf* args = nullptr;
    bool returned = false;
    LispValue result;
};

std::vector<CallFrame*>& frames() {
    static std::vector<CallFrame*> stack;
    return stack;
}

CallFrame* currentFrame() {
    return frames().empty() ? nullptr : frames().back();
}

// Handlers registered with acedRegFunc, by application and function code.
std::map<std::pair<int, int>, int (*)()>& registeredHandlers() {
    static std::map<std::pair<int, int>, int (*)()> handlers;
    return handlers;
}

int setResult(LispValue v) {
    CallFrame* f = currentFrame();
    if (!f)
        return RTERROR;
    f->result = std::move(v);
    f->returned = true;
    return RTNORM;
}

class FrameScope {
public:
    FrameScope(CallFrame& f) : m_frame(f) {
        frames().push_back(&f);
        setHostOwnedChain(f.args, true);
    }
    ~FrameScope() {
        frames().pop_back();
        setHostOwnedChain(m_frame.args, false);
        acutRelRb(m_frame.args);
        m_frame.args = nullptr;
    }
    FrameScope(const FrameScope&) = delete;
    FrameScope& operator=(const FrameScope&) = delete;

private:
    CallFrame& m_frame;
};

} // namespace

bool externalAppLoaded(const LispFunction& fn) {
    const auto& apps = loadedApps();
    return fn.app >= 0 && static_cast<size_t>(fn.app) < apps.size() &&
           apps[static_cast<size_t>(fn.app)].entry != nullptr;
}

LispValue callExternal(const LispFunction& fn, const std::vector<LispValue>& args) {
    if (!externalAppLoaded(fn))
        lispFail(L"no function definition: " + fn.name);
    CallFrame frame;
    frame.fcode = fn.fcode;
    const int transactions = acdbTransactionManager->numActiveTransactions();
    frame.args = lispArgsToResbuf(args);
    bool failed = false;
    {
        FrameScope scope(frame);
        auto it = registeredHandlers().find({fn.app, fn.fcode});
        if (it != registeredHandlers().end()) {
            int rc = it->second();
            failed = rc == RSERR || rc == RTERROR;
        } else {
            failed = sendAppMessage(fn.app, AcRx::kInvkSubrMsg, nullptr) == AcRx::kRetError;
        }
    }
    LispValue result;
    if (!failed && frame.returned)
        result = std::move(frame.result);
    // A transaction the function left active is aborted (and reported) before the check of
    // open objects.
    abortTransactionsAbove(transactions);
    reportOpenObjects(L"(" + fn.name + L")");
    return result;
}

} // namespace lispimpl
} // namespace khost

using namespace khost;
using namespace khost::lispimpl;

int acedDefun(const ACHAR* pszName, int nFuncNum) {
    int app = currentAppIndex();
    if (app < 0 || !pszName || !*pszName || nFuncNum < 0 || nFuncNum > 32767)
        return RTERROR;
    ensureCoreBuiltins();
    const LispSymbol* sym = intern(pszName);
    auto fn = makeFunction(LispFunction::Kind::External, sym->name);
    fn->app = app;
    fn->fcode = nFuncNum;
    setValue(sym, LispValue::function(std::move(fn)));
    return RTNORM;
}

int acedUndef(const ACHAR* pszName, int nFuncNum) {
    if (!pszName || !*pszName)
        return RTERROR;
    const LispSymbol* sym = intern(pszName);
    DocState& doc = currentDoc();
    auto it = doc.globals.find(sym);
    if (it == doc.globals.end() || !it->second.isFunction())
        return RTERROR;
    const LispFunction& fn = *it->second.asFunction();
    int app = currentAppIndex();
    if (fn.kind != LispFunction::Kind::External || fn.fcode != nFuncNum ||
        (app >= 0 && fn.app != app))
        return RTERROR;
    doc.globals.erase(it);
    return RTNORM;
}

int acedGetFunCode() {
    CallFrame* f = currentFrame();
    return f ? f->fcode : RTERROR;
}

resbuf* acedGetArgs() {
    CallFrame* f = currentFrame();
    return f ? f->args : nullptr;
}

int acedRegFunc(int (*fhdl)(), int fcode) {
    int app = currentAppIndex();
    if (app < 0)
        return RTERROR;
    if (fhdl)
        registeredHandlers()[{app, fcode}] = fhdl;
    else
        registeredHandlers().erase({app, fcode});
    return RTNORM;
}

int acedRetInt(int ival) {
    return setResult(LispValue::integer(ival));
}

int acedRetReal(ads_real rval) {
    return setResult(LispValue::real(rval));
}

int acedRetPoint(const ads_point pt) {
    if (!pt)
        return RTERROR;
    return setResult(
        LispValue::list({LispValue::real(pt[X]), LispValue::real(pt[Y]), LispValue::real(pt[Z])}));
}

int acedRetStr(const ACHAR* s) {
    return setResult(LispValue::string(s ? s : L""));
}

int acedRetName(const ads_name aname, int type) {
    if (!aname)
        return RTERROR;
    if (type == RTENAME)
        return setResult(LispValue::ename(aname));
    if (type == RTPICKS)
        return setResult(LispValue::pickset(aname));
    return RTERROR;
}

int acedRetNil() {
    return setResult(LispValue());
}

int acedRetT() {
    return setResult(LispValue::t());
}

int acedRetVoid() {
    return setResult(LispValue::quiet());
}

int acedRetVal(const resbuf* rbuf) {
    if (!rbuf)
        return RTERROR;
    try {
        return setResult(lispFromResbuf(rbuf));
    } catch (const LispError&) {
        return RTERROR;
    }
}

int acedRetList(const resbuf* rbuf) {
    try {
        return setResult(lispFromResbufList(rbuf));
    } catch (const LispError&) {
        return RTERROR;
    }
}

int acedPutSym(const ACHAR* sname, resbuf* value) {
    if (!sname || !*sname)
        return RTERROR;
    ensureCoreBuiltins();
    try {
        LispValue v;
        if (value && value->restype == RTLB)
            v = lispFromResbufList(value);
        else
            v = lispFromResbuf(value);
        LispValue sym = LispValue::symbol(sname);
        if (!sym.isSymbol() || sym.isT())
            return RTERROR;
        setValue(sym.asSymbol(), std::move(v));
    } catch (const LispError&) {
        return RTERROR;
    }
    return RTNORM;
}

int acedGetSym(const ACHAR* sname, resbuf** value) {
    if (!sname || !*sname || !value)
        return RTERROR;
    ensureCoreBuiltins();
    *value = nullptr;
    try {
        *value = lispToResbuf(lookup(intern(sname)));
    } catch (const LispError&) {
        return RTERROR;
    }
    return RTNORM;
}
