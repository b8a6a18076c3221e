// acedSSGet: the selection of entities by modes, picks, windows and the "Select objects" prompt.
#include "acedsel.h"
#include "edsel.h"

#include "accmd.h"
#include "acedads.h"
#include "acutads.h"
#include "dbapserv.h"
#include "dbhost.h"
#include "edentfn.h"
#include "edhost.h"
#include "edinternal.h"
#include "hostio.h"
#include "rxregsvc.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <optional>
#include <unordered_set>

namespace khost {
namespace {

struct Mode {
    bool nested = false;     // :N
    bool single = false;     // :S
    bool everything = false; // :E
    bool prompts = false;    // :$
    std::wstring method;     // X, I, P, L, W, C, A; empty for picks and the prompt
    bool valid = true;
};

Mode parseMode(const ACHAR* str) {
    Mode m;
    std::wstring s = str ? str : L"";
    while (!s.empty() && (s[0] == L'_' || s[0] == L'.'))
        s.erase(0, 1);
    s = upperName(s);
    if (s.empty())
        return m;
    if (s[0] != L':') {
        m.method = s == L"ALL" ? L"A" : s;
        static const wchar_t* const known[] = {L"X", L"I", L"P", L"L", L"W", L"C", L"A"};
        m.valid = std::any_of(std::begin(known), std::end(known),
                              [&](const wchar_t* k) { return m.method == k; });
        return m;
    }
    // ":N:S", ":S:N", ":$" ...: each flag after a colon.
    size_t i = 0;
    while (i < s.size()) {
        if (s[i] != L':' || i + 1 >= s.size()) {
            m.valid = false;
            return m;
        }
        wchar_t f = s[i + 1];
        switch (f) {
        case L'N':
            m.nested = true;
            break;
        case L'S':
            m.single = true;
            break;
        case L'E':
            m.everything = true;
            break;
        case L'$':
            m.prompts = true;
            break;
        case L'D': // duplicates allowed
        case L'L': // locked layers refused
        case L'U': // sub-entities
        case L'V': // forced sub-entities
        case L'K': // keyword callbacks
        case L'?': // other callbacks
            break;
        default:
            m.valid = false;
            return m;
        }
        i += 2;
    }
    return m;
}

AcDbDatabase* workingDb() {
    return acdbHostApplicationServices()->workingDatabase();
}

AcGePoint3d toWcs(const ads_point ucs) {
    ads_point w;
    ucsToWcs(ucs, w);
    return {w[X], w[Y], w[Z]};
}

bool parseNumber(const std::wstring& s, double& v) {
    if (s.empty())
        return false;
    wchar_t* end = nullptr;
    v = std::wcstod(s.c_str(), &end);
    return end && *end == L'\0';
}

} // namespace

bool parsePickPoint(const std::wstring& text, ads_point out) {
    std::wstring s = text;
    bool relative = false, world = false;
    if (!s.empty() && s[0] == L'@') {
        relative = true;
        s.erase(0, 1);
    } else if (!s.empty() && s[0] == L'*') {
        world = true;
        s.erase(0, 1);
    }
    double v[3] = {0, 0, 0};
    int n = 0;
    size_t start = 0;
    while (true) {
        size_t comma = s.find(L',', start);
        std::wstring part = s.substr(start, comma == std::wstring::npos ? comma : comma - start);
        if (n >= 3 || !parseNumber(part, v[n]))
            return false;
        ++n;
        if (comma == std::wstring::npos)
            break;
        start = comma + 1;
    }
    if (n < 2)
        return false;
    if (relative) {
        ads_point last;
        wcsToUcs(currentSession().lastPointWcs, last);
        for (int i = 0; i < 3; ++i)
            out[i] = last[i] + v[i];
    } else if (world) {
        wcsToUcs(v, out);
    } else {
        for (int i = 0; i < 3; ++i)
            out[i] = v[i];
    }
    return true;
}

namespace {

// The pickfirst set is seen outside commands and by commands that ask for it.
bool pickfirstVisible() {
    const std::wstring& name = activeCommandName();
    if (name.empty())
        return true;
    AcEdCommandStack* stack = acedRegCmds;
    AcEdCommand* cmd = stack ? stack->lookupGlobalCmd(name.c_str()) : nullptr;
    return !cmd || (cmd->commandFlags() & ACRX_CMD_USEPICKSET) != 0;
}

bool usable(AcDbObjectId id) {
    return !id.isNull() && !id.isErased() && AcDbEntity::cast(peekObject(id));
}

struct Member {
    AcDbObjectId id;
    SelectionHow how;
};

// The members being selected, with the counts a step reports.
class Selection {
public:
    Selection(const resbuf* filter, bool quiet) : m_filter(filter), m_quiet(quiet) {}

    bool empty() const { return m_members.empty(); }
    const std::vector<Member>& members() const { return m_members; }

    // Adds (or, when removing, takes away) the candidates of one step and reports it.
    void step(const std::vector<Member>& found, bool removing) {
        size_t before = m_members.size();
        int dup = 0, filtered = 0, removed = 0;
        for (const Member& c : found) {
            const bool member = m_ids.count(c.id.asOldId()) != 0;
            if (removing) {
                if (member) {
                    m_members.erase(std::find_if(m_members.begin(), m_members.end(),
                                                 [&](const Member& m) { return m.id == c.id; }));
                    m_ids.erase(c.id.asOldId());
                    ++removed;
                }
                continue;
            }
            if (member) {
                ++dup;
                continue;
            }
            if (!filterMatches(c.id, m_filter)) {
                ++filtered;
                continue;
            }
            m_members.push_back(c);
            m_ids.insert(c.id.asOldId());
        }
        if (m_quiet)
            return;
        std::wstring line = std::to_wstring(found.size()) + L" found";
        if (removing) {
            line += L", " + std::to_wstring(removed) + L" removed, " +
                    std::to_wstring(m_members.size()) + L" total";
        } else {
            if (dup > 0)
                line += L" (" + std::to_wstring(dup) + L" duplicate)";
            if (before > 0 && !found.empty())
                line += L", " + std::to_wstring(m_members.size()) + L" total";
        }
        printHostMessage(line);
        if (filtered > 0)
            printHostMessage(std::to_wstring(filtered) +
                             (filtered == 1 ? L" was filtered out." : L" were filtered out."));
    }

    // Adds without reports (the modes that do not ask).
    void addQuietly(AcDbObjectId id, const SelectionHow& how = {}) {
        if (!usable(id) || !filterMatches(id, m_filter))
            return;
        if (m_ids.insert(id.asOldId()).second)
            m_members.push_back({id, how});
    }

private:
    const resbuf* m_filter;
    bool m_quiet;
    std::vector<Member> m_members;
    std::unordered_set<Adesk::IntPtr> m_ids; // of the members, for the duplicate checks
};

// The entities under a pick at a UCS point.
std::vector<Member> pickAt(const ads_point ucs, const Mode& mode) {
    std::vector<Member> out;
    std::vector<PickHit> hits = hitsAt(workingDb(), toWcs(ucs), pickRadius());
    for (PickHit& h : hits) {
        Member m;
        m.id = h.entity;
        m.how.method = 1;
        m.how.nested = mode.nested;
        m.how.hit = std::move(h);
        out.push_back(std::move(m));
        if (!mode.everything)
            break;
    }
    return out;
}

std::vector<Member> windowOf(const ads_point c1, const ads_point c2, bool crossing) {
    std::vector<Member> out;
    for (AcDbObjectId id : entitiesInWindow(workingDb(), toWcs(c1), toWcs(c2), crossing)) {
        Member m;
        m.id = id;
        m.how.method = crossing ? 3 : 2;
        out.push_back(m);
    }
    return out;
}

std::vector<Member> plain(const std::vector<AcDbObjectId>& ids) {
    std::vector<Member> out;
    for (AcDbObjectId id : ids)
        if (usable(id))
            out.push_back({id, {}});
    return out;
}

AcDbObjectId lastDrawn() {
    std::vector<AcDbObjectId> all = entitiesOfSpace(workingDb(), false);
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if (isDrawn(*it))
            return *it;
    return {};
}

// A prompt of the host's own: on a line of its own without leaving an empty line after an
// echoed answer.
std::wstring onOwnLine(const wchar_t* prompt) {
    return (hostTranscript().currentLine().empty() ? L"" : L"\n") + std::wstring(prompt);
}

// Asks for the two corners of a window: RTNORM, or RTCAN.
int askCorners(ads_point c1, ads_point c2) {
    if (acedGetPoint(nullptr, onOwnLine(L"Specify first corner: ").c_str(), c1) != RTNORM)
        return RTCAN;
    if (acedGetCorner(c1, onOwnLine(L"Specify opposite corner: ").c_str(), c2) != RTNORM)
        return RTCAN;
    return RTNORM;
}

// Keywords of the "Select objects" prompt: W, C, L, P, ALL, R, A (also with "_").
std::wstring selectionKeyword(std::wstring answer) {
    if (!answer.empty() && answer[0] == L'_')
        answer.erase(0, 1);
    std::wstring u = upperName(answer);
    static const std::pair<const wchar_t*, const wchar_t*> words[] = {
        {L"W", L"WINDOW"}, {L"C", L"CROSSING"}, {L"L", L"LAST"}, {L"P", L"PREVIOUS"},
        {L"ALL", L"ALL"},  {L"R", L"REMOVE"},   {L"A", L"ADD"}};
    for (const auto& [abbr, full] : words)
        if (u == abbr || u == full)
            return abbr;
    return L"";
}

// The "Select objects" prompt. Returns RTNORM when the selection holds something at the end,
// RTERROR when it is empty, RTCAN, or RTKWORD.
int askSelection(const Mode& mode, const void* pt1, Selection& sel) {
    const ACHAR* const* own = mode.prompts && pt1 ? static_cast<const ACHAR* const*>(pt1) : nullptr;
    takeInputOptionsForPrompt();
    bool removing = false;
    for (;;) {
        const ACHAR* given = own ? own[removing ? 1 : 0] : nullptr;
        std::wstring prompt = given
                                  ? std::wstring(given)
                                  : onOwnLine(removing ? L"Remove objects: " : L"Select objects: ");
        Answer a = promptAnswer(prompt, false);
        if (a.kind != Answer::Text)
            return RTCAN;
        const std::wstring& t = a.text;
        if (t.empty())
            return sel.empty() ? RTERROR : RTNORM;
        ads_point p;
        std::vector<Member> found;
        bool stepped = false;
        if (parsePickPoint(t, p)) {
            ucsToWcs(p, currentSession().lastPointWcs);
            found = pickAt(p, mode);
            stepped = true;
        } else if (std::wstring kw = selectionKeyword(t); !kw.empty()) {
            if (kw == L"W" || kw == L"C") {
                ads_point c1, c2;
                if (askCorners(c1, c2) != RTNORM)
                    return RTCAN;
                found = windowOf(c1, c2, kw == L"C");
                stepped = true;
            } else if (kw == L"L") {
                AcDbObjectId last = lastDrawn();
                if (!last.isNull())
                    found.push_back({last, {}});
                stepped = true;
            } else if (kw == L"P") {
                found = plain(currentSession().previousSelection);
                stepped = true;
            } else if (kw == L"ALL") {
                found = plain(entitiesOfSpace(workingDb(), true));
                stepped = true;
            } else {
                removing = kw == L"R";
            }
        } else if (matchTakenKeyword(t)) {
            return RTKWORD;
        } else {
            printHostMessage(L"*Invalid selection*");
            printHostMessage(L"Expects a point or Window/Last/Crossing/ALL/Add/Remove/Previous");
            continue;
        }
        if (!stepped)
            continue;
        sel.step(found, removing);
        if (mode.single)
            return sel.empty() ? RTERROR : RTNORM;
    }
}

} // namespace
} // namespace khost

using namespace khost;

int acedSSGet(const ACHAR* str, const void* pt1, const void* pt2, const resbuf* filter,
              ads_name ss) {
    if (!ss)
        return RTERROR;
    Mode mode = parseMode(str);
    if (!mode.valid || !filterIsValid(filter))
        return RTERROR;
    AcDbDatabase* db = workingDb();
    if (!db)
        return RTERROR;
    Selection sel(filter, mode.single);
    int rc = RTNORM;
    const auto* p1 = static_cast<const ads_real*>(pt1);
    const auto* p2 = static_cast<const ads_real*>(pt2);
    if (mode.method == L"X") {
        for (AcDbObjectId id : selectAll(db, filter))
            sel.addQuietly(id);
    } else if (mode.method == L"I") {
        if (pickfirstVisible())
            for (AcDbObjectId id : currentSession().pickfirst)
                sel.addQuietly(id);
    } else if (mode.method == L"P") {
        for (AcDbObjectId id : currentSession().previousSelection)
            sel.addQuietly(id);
    } else if (mode.method == L"L") {
        sel.addQuietly(lastDrawn());
    } else if (mode.method == L"A") {
        for (AcDbObjectId id : entitiesOfSpace(db, true))
            sel.addQuietly(id);
    } else if (mode.method == L"W" || mode.method == L"C") {
        if (!p1 || !p2)
            return RTERROR;
        for (const Member& m : windowOf(p1, p2, mode.method == L"C"))
            sel.addQuietly(m.id, m.how);
    } else if (p1 && !mode.prompts) {
        for (const Member& m : pickAt(p1, mode))
            sel.addQuietly(m.id, m.how);
    } else {
        Selection asked(filter, mode.single);
        rc = askSelection(mode, pt1, asked);
        if (rc != RTNORM)
            return rc;
        sel = std::move(asked);
    }
    if (sel.empty())
        return RTERROR;
    SelectionSet* set = newSelectionSet(ss);
    std::vector<AcDbObjectId>& members = selectionMembers(set);
    for (const Member& m : sel.members()) {
        members.push_back(m.id);
        if (m.how.method != 0)
            noteSelection(ss, m.id, m.how);
    }
    currentSession().previousSelection = members;
    return RTNORM;
}
