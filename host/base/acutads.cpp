#include "acutads.h"

#include "hostio.h"
#include "winhost.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <vector>

namespace khost {

RbKind rbKind(int t) {
    switch (t) {
    case RTNONE:
    case RTVOID:
    case RTLB:
    case RTLE:
    case RTDOTE:
    case RTNIL:
    case RTT:
        return RbKind::None;
    case RTREAL:
    case RTANG:
    case RTORINT:
        return RbKind::Real;
    case RTPOINT:
    case RT3DPOINT:
        return RbKind::Point;
    case RTSHORT:
        return RbKind::Short;
    case RTLONG:
        return RbKind::Long;
    case RTINT64:
    case RTLONG_PTR:
        return RbKind::Int64;
    case RTSTR:
    case RTDXF0:
        return RbKind::String;
    case RTENAME:
    case RTPICKS:
        return RbKind::Name;
    case RTRESBUF:
        return RbKind::None;
    default:
        break;
    }
    if (t == -1 || t == -2)
        return RbKind::Name;
    if (t == -3)
        return RbKind::None;
    if (t == -4 || t == -5)
        return RbKind::String;
    if (t >= 0 && t <= 9)
        return RbKind::String;
    if (t >= 10 && t <= 17)
        return RbKind::Point;
    if (t >= 38 && t <= 59)
        return RbKind::Real;
    if (t >= 60 && t <= 79)
        return RbKind::Short;
    if (t >= 90 && t <= 99)
        return RbKind::Long;
    if (t == 102 || t == 105 || (t >= 100 && t <= 109))
        return RbKind::String;
    if (t >= 110 && t <= 119)
        return RbKind::Point;
    if (t >= 140 && t <= 149)
        return RbKind::Real;
    if (t >= 160 && t <= 169)
        return RbKind::Int64;
    if (t >= 170 && t <= 179)
        return RbKind::Short;
    if (t >= 210 && t <= 219)
        return RbKind::Point;
    if (t >= 270 && t <= 289)
        return RbKind::Short;
    if (t >= 290 && t <= 299)
        return RbKind::Short;
    if (t >= 300 && t <= 309)
        return RbKind::String;
    if (t >= 310 && t <= 319)
        return RbKind::Binary;
    if (t >= 320 && t <= 329)
        return RbKind::Handle;
    if (t >= 330 && t <= 369)
        return RbKind::Name;
    if (t >= 370 && t <= 389)
        return RbKind::Short;
    if (t >= 390 && t <= 399)
        return RbKind::Name;
    if (t >= 400 && t <= 409)
        return RbKind::Short;
    if (t >= 410 && t <= 419)
        return RbKind::String;
    if (t >= 420 && t <= 429)
        return RbKind::Long;
    if (t >= 430 && t <= 439)
        return RbKind::String;
    if (t >= 440 && t <= 459)
        return RbKind::Long;
    if (t >= 460 && t <= 469)
        return RbKind::Real;
    if (t >= 470 && t <= 479)
        return RbKind::String;
    if (t >= 480 && t <= 481)
        return RbKind::Name;
    if (t == 999)
        return RbKind::String;
    if (t >= 1000 && t <= 1009)
        return t == 1004 ? RbKind::Binary : (t == 1005 ? RbKind::Handle : RbKind::String);
    if (t >= 1010 && t <= 1013)
        return RbKind::Point;
    if (t >= 1040 && t <= 1042)
        return RbKind::Real;
    if (t == 1070)
        return RbKind::Short;
    if (t == 1071)
        return RbKind::Long;
    return RbKind::None;
}

static ACHAR* dupString(const ACHAR* s);

void rbFreeValue(resbuf* rb) {
    if (!rb)
        return;
    switch (rbKind(rb->restype)) {
    case RbKind::String:
    case RbKind::Handle:
        std::free(rb->resval.rstring);
        rb->resval.rstring = nullptr;
        break;
    case RbKind::Binary:
        std::free(rb->resval.rbinary.buf);
        rb->resval.rbinary.buf = nullptr;
        rb->resval.rbinary.clen = 0;
        break;
    default:
        break;
    }
}

static ACHAR* dupString(const ACHAR* s) {
    if (!s)
        s = L"";
    size_t n = std::wcslen(s) + 1;
    auto* p = static_cast<ACHAR*>(std::malloc(n * sizeof(ACHAR)));
    if (p)
        std::wmemcpy(p, s, n);
    return p;
}

void rbSetString(resbuf* rb, const ACHAR* text) {
    std::free(rb->resval.rstring);
    rb->resval.rstring = dupString(text);
}

resbuf* rbCopy(const resbuf* rb) {
    if (!rb)
        return nullptr;
    resbuf* c = acutNewRb(rb->restype);
    c->resval = rb->resval;
    switch (rbKind(rb->restype)) {
    case RbKind::String:
    case RbKind::Handle:
        c->resval.rstring = dupString(rb->resval.rstring);
        break;
    case RbKind::Binary: {
        short n = rb->resval.rbinary.clen;
        c->resval.rbinary.clen = n;
        c->resval.rbinary.buf = static_cast<char*>(std::malloc(n > 0 ? static_cast<size_t>(n) : 1));
        if (n > 0 && rb->resval.rbinary.buf)
            std::memcpy(c->resval.rbinary.buf, rb->resval.rbinary.buf, static_cast<size_t>(n));
        break;
    }
    default:
        break;
    }
    return c;
}

resbuf* rbCopyChain(const resbuf* rb) {
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    for (; rb; rb = rb->rbnext) {
        resbuf* c = rbCopy(rb);
        if (tail)
            tail->rbnext = c;
        else
            head = c;
        tail = c;
    }
    return head;
}

} // namespace khost

int acutPrintf(const ACHAR* format, ...) {
    // The host formats as the platform its plug-ins were written for: "%s" in a wide format is
    // a wide string.
    va_list ap;
    va_start(ap, format);
    std::optional<std::wstring> text = khost::formatWindows(format, ap);
    va_end(ap);
    if (!text)
        return -1;
    khost::hostPrint(*text);
    return static_cast<int>(text->size());
}

resbuf* acutNewRb(int type) {
    auto* rb = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
    if (!rb)
        return nullptr;
    rb->restype = static_cast<short>(type);
    return rb;
}

namespace khost {
namespace {
std::vector<const resbuf*>& hostOwnedChains() {
    static std::vector<const resbuf*> chains;
    return chains;
}
} // namespace

void setHostOwnedChain(const resbuf* head, bool owned) {
    auto& chains = hostOwnedChains();
    if (!head)
        return;
    if (owned) {
        chains.push_back(head);
        return;
    }
    for (auto it = chains.rbegin(); it != chains.rend(); ++it) {
        if (*it == head) {
            chains.erase(std::next(it).base());
            return;
        }
    }
}
} // namespace khost

int acutRelRb(resbuf* rb) {
    for (const resbuf* owned : khost::hostOwnedChains())
        if (owned == rb)
            return RTNORM;
    while (rb) {
        resbuf* next = rb->rbnext;
        khost::rbFreeValue(rb);
        std::free(rb);
        rb = next;
    }
    return RTNORM;
}

resbuf* acutBuildList(int rtype, ...) {
    va_list ap;
    va_start(ap, rtype);
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    bool failed = false;
    // The list ends with 0 or RTNONE.
    for (int t = rtype; t != 0 && t != RTNONE && !failed; t = va_arg(ap, int)) {
        int type = t == RTDXF0 ? 0 : t;
        resbuf* rb = acutNewRb(type);
        switch (khost::rbKind(t)) {
        case khost::RbKind::String:
        case khost::RbKind::Handle:
            rb->resval.rstring = khost::dupString(va_arg(ap, const ACHAR*));
            break;
        case khost::RbKind::Real:
            rb->resval.rreal = va_arg(ap, double);
            break;
        case khost::RbKind::Point: {
            const double* p = va_arg(ap, const double*);
            if (p) {
                rb->resval.rpoint[0] = p[0];
                rb->resval.rpoint[1] = p[1];
                rb->resval.rpoint[2] = (t == RTPOINT) ? 0.0 : p[2];
            }
            break;
        }
        case khost::RbKind::Short:
            rb->resval.rint = static_cast<short>(va_arg(ap, int));
            break;
        case khost::RbKind::Long:
            rb->resval.rlong = va_arg(ap, std::int32_t);
            break;
        case khost::RbKind::Int64:
            rb->resval.mnInt64 = va_arg(ap, std::int64_t);
            break;
        case khost::RbKind::Name: {
            const std::int64_t* n = va_arg(ap, const std::int64_t*);
            if (n) {
                rb->resval.rlname[0] = n[0];
                rb->resval.rlname[1] = n[1];
            }
            break;
        }
        case khost::RbKind::Binary: {
            const ads_binary* b = va_arg(ap, const ads_binary*);
            resbuf tmp{};
            tmp.restype = static_cast<short>(type);
            if (b)
                tmp.resval.rbinary = *b;
            resbuf* c = khost::rbCopy(&tmp);
            rb->resval.rbinary = c->resval.rbinary;
            std::free(c);
            break;
        }
        case khost::RbKind::None:
            break;
        }
        if (tail)
            tail->rbnext = rb;
        else
            head = rb;
        tail = rb;
    }
    va_end(ap);
    return head;
}

int acutNewString(const ACHAR* src, ACHAR*& dest) {
    dest = khost::dupString(src);
    return dest ? RTNORM : RTERROR;
}

int acutUpdString(const ACHAR* src, ACHAR*& dest) {
    std::free(dest);
    return acutNewString(src, dest);
}

int acutDelString(ACHAR*& str) {
    std::free(str);
    str = nullptr;
    return RTNORM;
}
