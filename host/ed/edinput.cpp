// Prompts and input: acedInitGet options and keywords, and the acedGetXxx functions.
#include "acedads.h"
#include "edhost.h"
#include "edinternal.h"
#include "hostio.h"

#include <cmath>
#include <cwchar>
#include <cwctype>
#include <numbers>
#include <optional>
#include <vector>

namespace khost {
namespace {

struct Keyword {
    std::wstring declared; // as written in the list (without a ",abbreviation" part)
    std::wstring upper;
    std::wstring abbrev; // upper case
    bool prefix = false; // any start of the keyword at least as long as abbrev matches
};

struct InputOptions {
    int flags = 0;
    std::vector<Keyword> local;
    std::vector<Keyword> global;
    bool hasGlobal = false;
};

InputOptions g_pending;
bool g_kwordValid = false;
std::wstring g_kword;

Keyword parseKeyword(const std::wstring& token) {
    Keyword k;
    size_t comma = token.find(L',');
    if (comma != std::wstring::npos) {
        k.declared = token.substr(0, comma);
        k.upper = upperName(k.declared);
        k.abbrev = upperName(token.substr(comma + 1));
        k.prefix = k.upper.starts_with(k.abbrev);
        if (k.abbrev.empty())
            k.abbrev = k.upper;
        return k;
    }
    k.declared = token;
    k.upper = upperName(token);
    std::wstring caps;
    size_t firstLower = std::wstring::npos;
    bool capsArePrefix = true;
    for (size_t i = 0; i < token.size(); ++i) {
        if (std::iswupper(token[i])) {
            caps.push_back(token[i]);
            if (firstLower != std::wstring::npos)
                capsArePrefix = false;
        } else if (firstLower == std::wstring::npos) {
            firstLower = i;
        }
    }
    if (caps.empty() || firstLower == std::wstring::npos) {
        k.abbrev = k.upper; // no capitals, or all of them: the whole word
        return k;
    }
    k.abbrev = caps;
    k.prefix = capsArePrefix;
    return k;
}

InputOptions parseOptions(int flags, const ACHAR* kwl) {
    InputOptions o;
    o.flags = flags;
    if (!kwl)
        return o;
    std::wstring list = kwl;
    size_t i = 0;
    while (i < list.size()) {
        while (i < list.size() && std::iswspace(list[i]))
            ++i;
        size_t start = i;
        while (i < list.size() && !std::iswspace(list[i]))
            ++i;
        if (start == i)
            break;
        std::wstring token = list.substr(start, i - start);
        if (token == L"_") {
            o.hasGlobal = true;
            continue;
        }
        (o.hasGlobal ? o.global : o.local).push_back(parseKeyword(token));
    }
    return o;
}

// Index of the keyword an answer names, or -1.
int matchIn(const std::vector<Keyword>& list, const std::wstring& answer) {
    if (answer.empty())
        return -1;
    std::wstring u = upperName(answer);
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].upper == u)
            return static_cast<int>(i);
    for (size_t i = 0; i < list.size(); ++i) {
        const Keyword& k = list[i];
        if (k.prefix ? (u.size() >= k.abbrev.size() && k.upper.starts_with(u)) : u == k.abbrev)
            return static_cast<int>(i);
    }
    return -1;
}

// The keyword an answer names, as declared (the global one where there is one).
std::optional<std::wstring> matchKeyword(const InputOptions& o, const std::wstring& answer) {
    if (answer.size() > 1 && answer[0] == L'_') {
        const std::vector<Keyword>& globals = o.hasGlobal ? o.global : o.local;
        int i = matchIn(globals, answer.substr(1));
        if (i >= 0)
            return globals[static_cast<size_t>(i)].declared;
        return std::nullopt;
    }
    int i = matchIn(o.local, answer);
    if (i < 0)
        return std::nullopt;
    if (o.hasGlobal && static_cast<size_t>(i) < o.global.size())
        return o.global[static_cast<size_t>(i)].declared;
    return o.local[static_cast<size_t>(i)].declared;
}

InputOptions takeOptions() {
    InputOptions o = std::move(g_pending);
    g_pending = InputOptions{};
    g_kwordValid = false;
    g_kword.clear();
    return o;
}

bool parseReal(const std::wstring& s, double& out) {
    if (s.empty() || std::iswspace(s[0]))
        return false;
    const wchar_t* begin = s.c_str();
    wchar_t* end = nullptr;
    double v = std::wcstod(begin, &end);
    if (end != begin + s.size() || !std::isfinite(v))
        return false;
    // wcstod also reads hexadecimal numbers and "infinity"; the command line does not.
    for (wchar_t c : s)
        if (!(std::iswdigit(c) || c == L'.' || c == L'-' || c == L'+' || c == L'e' || c == L'E'))
            return false;
    out = v;
    return true;
}

bool parseInt(const std::wstring& s, int& out) {
    size_t i = 0;
    if (i < s.size() && (s[i] == L'-' || s[i] == L'+'))
        ++i;
    if (i == s.size())
        return false;
    for (size_t j = i; j < s.size(); ++j)
        if (!std::iswdigit(s[j]))
            return false;
    if (s.size() - i > 6)
        return false;
    long v = std::wcstol(s.c_str(), nullptr, 10);
    if (v < -32768 || v > 32767)
        return false;
    out = static_cast<int>(v);
    return true;
}

std::vector<std::wstring> split(const std::wstring& s, wchar_t sep) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        size_t p = s.find(sep, start);
        parts.push_back(s.substr(start, p - start));
        if (p == std::wstring::npos)
            break;
        start = p + 1;
    }
    return parts;
}

double degToRad(double d) {
    return d * std::numbers::pi / 180.0;
}

double elevation() {
    resbuf rb{};
    if (acedGetVar(L"ELEVATION", &rb) == RTNORM && rb.restype == RTREAL)
        return rb.resval.rreal;
    return 0.0;
}

void lastPointUcs(ads_point p) {
    wcsToUcs(currentSession().lastPointWcs, p);
}

// Reads "x,y[,z]", "@dx,dy[,dz]", "@", "dist<angle", "@dist<angle" or "*x,y[,z]" (WCS).
bool parsePoint(const std::wstring& text, bool twoD, ads_point out) {
    std::wstring s = text;
    bool relative = false;
    bool world = false;
    if (!s.empty() && s[0] == L'@') {
        relative = true;
        s.erase(0, 1);
    }
    if (!relative && !s.empty() && s[0] == L'*') {
        world = true;
        s.erase(0, 1);
    }
    double v[3] = {0, 0, 0};
    bool hasZ = false;
    if (relative && s.empty()) {
        // "@": the last point itself
    } else if (s.find(L'<') != std::wstring::npos) {
        std::vector<std::wstring> parts = split(s, L'<');
        double dist = 0, ang = 0;
        if (parts.size() != 2 || !parseReal(parts[0], dist) || !parseReal(parts[1], ang))
            return false;
        v[0] = dist * std::cos(degToRad(ang));
        v[1] = dist * std::sin(degToRad(ang));
    } else {
        std::vector<std::wstring> parts = split(s, L',');
        if (parts.size() < 2 || parts.size() > 3)
            return false;
        for (size_t i = 0; i < parts.size(); ++i)
            if (!parseReal(parts[i], v[i]))
                return false;
        hasZ = parts.size() == 3 && !twoD;
        if (!hasZ)
            v[2] = 0;
    }
    if (relative) {
        ads_point last;
        lastPointUcs(last);
        out[X] = last[X] + v[0];
        out[Y] = last[Y] + v[1];
        out[Z] = twoD ? last[Z] : last[Z] + v[2];
    } else if (world) {
        wcsToUcs(v, out);
    } else {
        out[X] = v[0];
        out[Y] = v[1];
        out[Z] = hasZ ? v[2] : elevation(); // a point typed in 2D lies at the current elevation
    }
    return true;
}

void rememberPoint(const ads_point ucs) {
    ucsToWcs(ucs, currentSession().lastPointWcs);
}

enum class Kind { Point, Corner, Dist, Angle, Orient, Real, Int, Kword };

const wchar_t* invalidMessage(Kind kind) {
    switch (kind) {
    case Kind::Point:
    case Kind::Corner:
        return L"Point or option keyword required.";
    case Kind::Dist:
        return L"Requires numeric distance or two points.";
    case Kind::Angle:
    case Kind::Orient:
        return L"Requires valid numeric angle or second point.";
    case Kind::Real:
        return L"Requires numeric value.";
    case Kind::Int:
        return L"Requires an integer value.";
    case Kind::Kword:
        break;
    }
    return L"Invalid option keyword.";
}

// Checks RSG_NOZERO and RSG_NONEG; prints the host's complaint when the value breaks them.
bool valueAllowed(int flags, double v, bool negativeAllowed) {
    bool zeroBad = (flags & RSG_NOZERO) && v == 0.0;
    bool negBad = !negativeAllowed && (flags & RSG_NONEG) && v < 0.0;
    if (!zeroBad && !negBad)
        return true;
    if ((flags & RSG_NOZERO) && (flags & RSG_NONEG) && !negativeAllowed)
        printHostMessage(L"Value must be positive and nonzero.");
    else if (zeroBad)
        printHostMessage(L"Value must be nonzero.");
    else
        printHostMessage(L"Value must be positive.");
    return false;
}

double distance(const ads_point a, const ads_point b, bool twoD) {
    double dx = b[X] - a[X], dy = b[Y] - a[Y], dz = twoD ? 0.0 : b[Z] - a[Z];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

double normalizeAngle(double a) {
    double twoPi = 2 * std::numbers::pi;
    a = std::fmod(a, twoPi);
    if (a < 0)
        a += twoPi;
    return a;
}

// Asks for the second point of a distance or an angle: RTNORM, or RTCAN on cancel.
int askSecondPoint(bool twoD, ads_point second) {
    for (;;) {
        Answer a = promptAnswer(L"\nSpecify second point: ", false);
        if (a.kind != Answer::Text)
            return RTCAN;
        if (parsePoint(a.text, twoD, second)) {
            rememberPoint(second);
            return RTNORM;
        }
        printHostMessage(L"Point or option keyword required.");
    }
}

struct Value {
    ads_point pt = {0, 0, 0};
    double real = 0;
    int integer = 0;
};

// The loop every input function shares: prompt, answer, value or keyword, complaint, again.
int getValue(Kind kind, const ads_point base, const ACHAR* prompt, Value& value) {
    InputOptions opts = takeOptions();
    std::wstring promptText = prompt ? prompt : L"";
    bool twoD = (opts.flags & RSG_2D) != 0;
    for (;;) {
        Answer a = promptAnswer(promptText, false);
        if (a.kind != Answer::Text)
            return RTCAN;
        const std::wstring& t = a.text;
        if (t.empty()) {
            if (opts.flags & RSG_NONULL) {
                printHostMessage(invalidMessage(kind));
                continue;
            }
            return RTNONE;
        }
        switch (kind) {
        case Kind::Point:
        case Kind::Corner:
            if (parsePoint(t, twoD, value.pt)) {
                rememberPoint(value.pt);
                return RTNORM;
            }
            break;
        case Kind::Real:
            if (parseReal(t, value.real)) {
                if (!valueAllowed(opts.flags, value.real, false))
                    continue;
                return RTNORM;
            }
            break;
        case Kind::Int:
            if (parseInt(t, value.integer)) {
                if (!valueAllowed(opts.flags, value.integer, false))
                    continue;
                return RTNORM;
            }
            break;
        case Kind::Dist: {
            if (parseReal(t, value.real)) {
                if (!valueAllowed(opts.flags, value.real, false))
                    continue;
                return RTNORM;
            }
            ads_point p;
            if (parsePoint(t, twoD, p)) {
                rememberPoint(p);
                ads_point q;
                if (base) {
                    ads_point_set(base, q);
                    value.real = distance(q, p, twoD);
                } else {
                    int rc = askSecondPoint(twoD, q);
                    if (rc != RTNORM)
                        return rc;
                    value.real = distance(p, q, twoD);
                }
                if (!valueAllowed(opts.flags, value.real, false))
                    continue;
                return RTNORM;
            }
            break;
        }
        case Kind::Angle:
        case Kind::Orient: {
            double deg = 0;
            if (parseReal(t, deg)) {
                value.real = normalizeAngle(degToRad(deg));
                if (!valueAllowed(opts.flags, value.real, true))
                    continue;
                return RTNORM;
            }
            ads_point p;
            if (parsePoint(t, true, p)) {
                rememberPoint(p);
                ads_point from, to;
                if (base) {
                    ads_point_set(base, from);
                    ads_point_set(p, to);
                } else {
                    ads_point_set(p, from);
                    int rc = askSecondPoint(true, to);
                    if (rc != RTNORM)
                        return rc;
                }
                value.real = normalizeAngle(std::atan2(to[Y] - from[Y], to[X] - from[X]));
                if (!valueAllowed(opts.flags, value.real, true))
                    continue;
                return RTNORM;
            }
            break;
        }
        case Kind::Kword:
            break;
        }
        if (std::optional<std::wstring> kw = matchKeyword(opts, t)) {
            g_kword = *kw;
            g_kwordValid = true;
            return RTKWORD;
        }
        if (opts.flags & RSG_OTHER) {
            g_kword = t;
            g_kwordValid = true;
            return RTKWORD;
        }
        printHostMessage(invalidMessage(kind));
    }
}

int copyOut(const std::wstring& text, ACHAR* result, size_t bufLen) {
    if (!result || bufLen == 0)
        return RTERROR;
    size_t n = std::min(text.size(), bufLen - 1);
    std::wmemcpy(result, text.data(), n);
    result[n] = L'\0';
    return n < text.size() ? RTINPUTTRUNCATED : RTNORM;
}

} // namespace

namespace {
InputOptions g_taken; // the options taken by the last prompt of another file
} // namespace

void resetInputState() {
    g_pending = InputOptions{};
    g_taken = InputOptions{};
    g_kwordValid = false;
    g_kword.clear();
}

int takeInputOptionsForPrompt() {
    g_taken = takeOptions();
    return g_taken.flags;
}

bool matchTakenKeyword(const std::wstring& answer) {
    std::optional<std::wstring> kw = matchKeyword(g_taken, answer);
    if (!kw)
        return false;
    g_kword = *kw;
    g_kwordValid = true;
    return true;
}

} // namespace khost

using namespace khost;

int acedInitGet(int val, const ACHAR* kwl) {
    g_pending = parseOptions(val, kwl);
    return RTNORM;
}

int acedGetInput(ACHAR* str, size_t bufLen) {
    if (!g_kwordValid)
        return RTERROR;
    int rc = copyOut(g_kword, str, bufLen);
    return rc == RTINPUTTRUNCATED ? RTNORM : rc;
}

int acedGetPoint(const ads_point pt, const ACHAR* prompt, ads_point result) {
    Value v;
    int rc = getValue(Kind::Point, pt, prompt, v);
    if (rc == RTNORM && result)
        ads_point_set(v.pt, result);
    return rc;
}

int acedGetCorner(const ads_point pt, const ACHAR* prompt, ads_point result) {
    if (!pt)
        return RTERROR;
    Value v;
    int rc = getValue(Kind::Corner, pt, prompt, v);
    if (rc == RTNORM && result)
        ads_point_set(v.pt, result);
    return rc;
}

int acedGetDist(const ads_point pt, const ACHAR* prompt, ads_real* result) {
    Value v;
    int rc = getValue(Kind::Dist, pt, prompt, v);
    if (rc == RTNORM && result)
        *result = v.real;
    return rc;
}

int acedGetAngle(const ads_point pt, const ACHAR* prompt, ads_real* result) {
    Value v;
    int rc = getValue(Kind::Angle, pt, prompt, v);
    if (rc == RTNORM && result)
        *result = v.real;
    return rc;
}

int acedGetOrient(const ads_point pt, const ACHAR* prompt, ads_real* result) {
    Value v;
    int rc = getValue(Kind::Orient, pt, prompt, v);
    if (rc == RTNORM && result)
        *result = v.real;
    return rc;
}

int acedGetReal(const ACHAR* prompt, ads_real* result) {
    Value v;
    int rc = getValue(Kind::Real, nullptr, prompt, v);
    if (rc == RTNORM && result)
        *result = v.real;
    return rc;
}

int acedGetInt(const ACHAR* prompt, int* result) {
    Value v;
    int rc = getValue(Kind::Int, nullptr, prompt, v);
    if (rc == RTNORM && result)
        *result = v.integer;
    return rc;
}

int acedGetKword(const ACHAR* prompt, ACHAR* result, size_t bufLen) {
    if (!result || bufLen == 0)
        return RTERROR;
    result[0] = L'\0';
    Value v;
    int rc = getValue(Kind::Kword, nullptr, prompt, v);
    if (rc == RTKWORD)
        return copyOut(g_kword, result, bufLen) == RTERROR ? RTERROR : RTNORM;
    return rc;
}

int acedGetString(int cronly, const ACHAR* prompt, ACHAR* result, size_t bufLen) {
    takeOptions();
    if (!result || bufLen == 0)
        return RTERROR;
    result[0] = L'\0';
    Answer a = promptAnswer(prompt ? prompt : L"", cronly != 0);
    if (a.kind != Answer::Text)
        return RTCAN;
    return copyOut(a.text, result, bufLen);
}
