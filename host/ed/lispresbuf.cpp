// Conversions between LISP values and result-buffer chains: function arguments and results of
// the C interface, and entity data lists.
#include "lispinternal.h"

#include "acutads.h"

#include <climits>

namespace khost {

using namespace lispimpl;

namespace {

// A proper list of two or three numbers, which the host hands over as a point.
bool isPointList(const LispValue& v, int& dims) {
    dims = 0;
    const LispValue* p = &v;
    for (; p->isCons(); p = &p->cdr()) {
        if (!p->car().isNumber() || ++dims > 3)
            return false;
    }
    return p->isNil() && dims >= 2;
}

void append(resbuf*& head, resbuf*& tail, resbuf* rb) {
    if (tail)
        tail->rbnext = rb;
    else
        head = rb;
    tail = rb;
}

struct ChainGuard {
    resbuf* head = nullptr;
    ~ChainGuard() { acutRelRb(head); }
    resbuf* release() {
        resbuf* h = head;
        head = nullptr;
        return h;
    }
};

void convert(const LispValue& v, resbuf*& head, resbuf*& tail) {
    switch (v.kind()) {
    case LispValue::Kind::Nil:
        append(head, tail, acutNewRb(RTNIL));
        return;
    case LispValue::Kind::Int: {
        std::int32_t i = v.asInt();
        if (i >= SHRT_MIN && i <= SHRT_MAX) {
            resbuf* rb = acutNewRb(RTSHORT);
            rb->resval.rint = static_cast<short>(i);
            append(head, tail, rb);
        } else {
            resbuf* rb = acutNewRb(RTLONG);
            rb->resval.rlong = i;
            append(head, tail, rb);
        }
        return;
    }
    case LispValue::Kind::Real: {
        resbuf* rb = acutNewRb(RTREAL);
        rb->resval.rreal = v.asReal();
        append(head, tail, rb);
        return;
    }
    case LispValue::Kind::String: {
        resbuf* rb = acutNewRb(RTSTR);
        rbSetString(rb, v.asString().c_str());
        append(head, tail, rb);
        return;
    }
    case LispValue::Kind::Symbol: {
        if (v.isT()) {
            append(head, tail, acutNewRb(RTT));
        } else if (v.isQuiet()) {
            append(head, tail, acutNewRb(RTVOID));
        } else {
            resbuf* rb = acutNewRb(RTSTR);
            rbSetString(rb, v.asSymbol()->name.c_str());
            append(head, tail, rb);
        }
        return;
    }
    case LispValue::Kind::EName:
    case LispValue::Kind::PickSet: {
        bool ename = v.kind() == LispValue::Kind::EName;
        resbuf* rb = acutNewRb(ename ? RTENAME : RTPICKS);
        const std::int64_t* id = ename ? v.asEName().id : v.asPickSet().id;
        rb->resval.rlname[0] = id[0];
        rb->resval.rlname[1] = id[1];
        append(head, tail, rb);
        return;
    }
    case LispValue::Kind::Cons: {
        int dims = 0;
        if (isPointList(v, dims)) {
            resbuf* rb = acutNewRb(dims == 2 ? RTPOINT : RT3DPOINT);
            const LispValue* p = &v;
            for (int i = 0; i < dims; ++i, p = &p->cdr())
                rb->resval.rpoint[i] = p->car().asNumber();
            append(head, tail, rb);
            return;
        }
        append(head, tail, acutNewRb(RTLB));
        const LispValue* p = &v;
        for (; p->isCons(); p = &p->cdr())
            convert(p->car(), head, tail);
        if (!p->isNil()) {
            append(head, tail, acutNewRb(RTDOTE));
            convert(*p, head, tail);
        }
        append(head, tail, acutNewRb(RTLE));
        return;
    }
    case LispValue::Kind::Function:
        lispFail(L"bad argument type: " + lispPrin1(v));
    }
}

LispValue pointValue(const double* p, int dims) {
    LispListBuilder b;
    for (int i = 0; i < dims; ++i)
        b.add(LispValue::real(p[i]));
    return b.take();
}

LispValue int64Value(std::int64_t v) {
    if (v >= INT32_MIN && v <= INT32_MAX)
        return LispValue::integer(static_cast<std::int32_t>(v));
    return LispValue::real(static_cast<double>(v));
}

// The value of a DXF group (by its code), as entget shows it after the code.
LispValue groupValue(const resbuf* rb) {
    switch (rbKind(rb->restype)) {
    case RbKind::String:
    case RbKind::Handle:
        return LispValue::string(rb->resval.rstring ? rb->resval.rstring : L"");
    case RbKind::Real:
        return LispValue::real(rb->resval.rreal);
    case RbKind::Point:
        return pointValue(rb->resval.rpoint, 3);
    case RbKind::Short:
        return LispValue::integer(rb->resval.rint);
    case RbKind::Long:
        return LispValue::integer(rb->resval.rlong);
    case RbKind::Int64:
        return int64Value(rb->resval.mnInt64);
    case RbKind::Name:
        return LispValue::ename(rb->resval.rlname);
    case RbKind::Binary: {
        static const wchar_t* digits = L"0123456789ABCDEF";
        std::wstring hexText;
        for (short i = 0; i < rb->resval.rbinary.clen; ++i) {
            auto b = static_cast<unsigned char>(rb->resval.rbinary.buf[i]);
            hexText += digits[b >> 4];
            hexText += digits[b & 15];
        }
        return LispValue::string(hexText);
    }
    case RbKind::None:
        break;
    }
    return {};
}

LispValue groupPair(const resbuf* rb) {
    LispValue code = LispValue::integer(rb->restype);
    if (rbKind(rb->restype) == RbKind::Point)
        return LispValue::cons(code, pointValue(rb->resval.rpoint, 3));
    return LispValue::cons(code, groupValue(rb));
}

[[noreturn]] void badGroup(const LispValue& item) {
    lispFail(L"bad DXF group: " + lispPrin1(item));
}

// One (code . value) item as a buffer.
resbuf* groupBuffer(const LispValue& item) {
    if (!item.isCons() || !item.car().isInt())
        badGroup(item);
    int code = item.car().asInt();
    const LispValue& v = item.cdr();
    resbuf* rb = acutNewRb(code);
    ChainGuard guard{rb};
    switch (rbKind(code)) {
    case RbKind::String:
    case RbKind::Handle:
        if (!v.isString())
            badGroup(item);
        rbSetString(rb, v.asString().c_str());
        break;
    case RbKind::Real:
        if (!v.isNumber())
            badGroup(item);
        rb->resval.rreal = v.asNumber();
        break;
    case RbKind::Point: {
        int dims = 0;
        if (!isPointList(v, dims))
            badGroup(item);
        const LispValue* p = &v;
        for (int i = 0; i < dims; ++i, p = &p->cdr())
            rb->resval.rpoint[i] = p->car().asNumber();
        break;
    }
    case RbKind::Short:
        if (!v.isInt())
            badGroup(item);
        rb->resval.rint = static_cast<short>(v.asInt());
        break;
    case RbKind::Long:
        if (!v.isInt())
            badGroup(item);
        rb->resval.rlong = v.asInt();
        break;
    case RbKind::Int64:
        if (!v.isNumber())
            badGroup(item);
        rb->resval.mnInt64 = v.isInt() ? v.asInt() : static_cast<std::int64_t>(v.asReal());
        break;
    case RbKind::Name:
        if (v.kind() == LispValue::Kind::EName) {
            rb->resval.rlname[0] = v.asEName().id[0];
            rb->resval.rlname[1] = v.asEName().id[1];
        } else if (v.kind() == LispValue::Kind::PickSet) {
            rb->resval.rlname[0] = v.asPickSet().id[0];
            rb->resval.rlname[1] = v.asPickSet().id[1];
        } else {
            badGroup(item);
        }
        break;
    case RbKind::Binary:
    case RbKind::None:
        badGroup(item);
    }
    return guard.release();
}

} // namespace

resbuf* lispToResbuf(const LispValue& v, resbuf** tail) {
    ChainGuard guard;
    resbuf* last = nullptr;
    convert(v, guard.head, last);
    if (tail)
        *tail = last;
    return guard.release();
}

resbuf* lispArgsToResbuf(const std::vector<LispValue>& args) {
    ChainGuard guard;
    resbuf* tail = nullptr;
    for (const LispValue& a : args)
        convert(a, guard.head, tail);
    return guard.release();
}

LispValue lispFromResbuf(const resbuf* rb) {
    if (!rb)
        return {};
    switch (rb->restype) {
    case RTNIL:
    case RTNONE:
        return {};
    case RTT:
        return LispValue::t();
    case RTVOID:
        return LispValue::quiet();
    case RTPOINT:
        return pointValue(rb->resval.rpoint, 2);
    case RT3DPOINT:
        return pointValue(rb->resval.rpoint, 3);
    case RTPICKS:
        return LispValue::pickset(rb->resval.rlname);
    case RTLB:
    case RTLE:
    case RTDOTE:
        lispFail(L"malformed list");
    default:
        return groupValue(rb);
    }
}

LispValue lispFromResbufList(const resbuf* rb) {
    struct Level {
        LispListBuilder list;
        int dot = 0; // 1: RTDOTE seen, the tail comes next; 2: the tail was set
        size_t count = 0;
        bool lastWasGroup = false;
    };
    std::vector<Level> stack(1);
    auto add = [&](LispValue v, bool group) {
        Level& l = stack.back();
        if (l.dot == 2)
            lispFail(L"malformed list");
        if (l.dot == 1) {
            l.list.setTail(std::move(v));
            l.dot = 2;
        } else {
            l.list.add(std::move(v));
            ++l.count;
        }
        l.lastWasGroup = group;
    };
    for (; rb; rb = rb->rbnext) {
        switch (rb->restype) {
        case RTLB:
            stack.emplace_back();
            break;
        case RTLE: {
            if (stack.size() < 2 || stack.back().dot == 1)
                lispFail(L"malformed list");
            LispValue v = stack.back().list.take();
            stack.pop_back();
            add(std::move(v), true);
            break;
        }
        case RTDOTE:
            if (stack.back().dot != 0 || stack.back().count == 0)
                lispFail(L"malformed list");
            stack.back().dot = 1;
            break;
        default:
            add(lispFromResbuf(rb), false);
        }
    }
    if (stack.size() != 1 || stack.back().dot == 1)
        lispFail(L"malformed list");
    Level& top = stack.back();
    LispValue all = top.list.take();
    if (top.count == 1 && top.dot == 0 && top.lastWasGroup)
        return all.car();
    return all;
}

LispValue lispFromEntityChain(const resbuf* rb) {
    LispListBuilder out;
    for (; rb; rb = rb->rbnext) {
        if (rb->restype != -3) {
            out.add(groupPair(rb));
            continue;
        }
        // Extended data: (-3 ("APP" groups...) ...), one sublist per application.
        LispListBuilder apps;
        LispListBuilder app;
        bool haveApp = false;
        for (rb = rb->rbnext; rb; rb = rb->rbnext) {
            if (rb->restype == 1001) {
                if (haveApp)
                    apps.add(app.take());
                app.add(LispValue::string(rb->resval.rstring ? rb->resval.rstring : L""));
                haveApp = true;
            } else if (haveApp) {
                app.add(groupPair(rb));
            }
        }
        if (haveApp)
            apps.add(app.take());
        out.add(LispValue::cons(LispValue::integer(-3), apps.take()));
        break;
    }
    return out.take();
}

resbuf* lispToEntityChain(const LispValue& list) {
    if (!list.isList())
        lispBadArgType(L"listp", list);
    ChainGuard guard;
    resbuf* tail = nullptr;
    for (const LispValue* p = &list; p->isCons(); p = &p->cdr()) {
        const LispValue& item = p->car();
        if (item.isCons() && item.car().isInt() && item.car().asInt() == -3) {
            append(guard.head, tail, acutNewRb(-3));
            for (const LispValue* a = &item.cdr(); a->isCons(); a = &a->cdr()) {
                const LispValue& app = a->car();
                if (!app.isCons() || !app.car().isString())
                    badGroup(item);
                resbuf* name = acutNewRb(1001);
                rbSetString(name, app.car().asString().c_str());
                append(guard.head, tail, name);
                for (const LispValue* g = &app.cdr(); g->isCons(); g = &g->cdr())
                    append(guard.head, tail, groupBuffer(g->car()));
            }
            continue;
        }
        append(guard.head, tail, groupBuffer(item));
    }
    return guard.release();
}

} // namespace khost
