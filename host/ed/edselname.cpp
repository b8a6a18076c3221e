// How members of selection sets were picked (acedSSNameX) and the picks of single entities
// (acedEntSel, acedNEntSelP).
#include "acedsel.h"
#include "edsel.h"

#include "acedads.h"
#include "acutads.h"
#include "dbapserv.h"
#include "dbent_complex.h"
#include "dbents.h"
#include "dbhost.h"
#include "edentfn.h"
#include "edhost.h"
#include "edinternal.h"
#include "hostio.h"

namespace khost {
namespace {

// Appends buffers to a chain.
class ChainBuilder {
public:
    ~ChainBuilder() { acutRelRb(m_head); }
    ChainBuilder() = default;
    ChainBuilder(const ChainBuilder&) = delete;
    ChainBuilder& operator=(const ChainBuilder&) = delete;

    resbuf* add(int type) {
        resbuf* rb = acutNewRb(type);
        if (m_tail)
            m_tail->rbnext = rb;
        else
            m_head = rb;
        m_tail = rb;
        return rb;
    }
    void shortValue(short v) { add(RTSHORT)->resval.rint = v; }
    void longValue(std::int32_t v) { add(RTLONG)->resval.rlong = v; }
    void name(AcDbObjectId id) {
        resbuf* rb = add(RTENAME);
        ads_name n;
        acdbGetAdsName(n, id);
        ads_name_set(n, rb->resval.rlname);
    }
    void point(double x, double y, double z) {
        resbuf* rb = add(RT3DPOINT);
        rb->resval.rpoint[X] = x;
        rb->resval.rpoint[Y] = y;
        rb->resval.rpoint[Z] = z;
    }
    resbuf* take() {
        resbuf* h = m_head;
        m_head = m_tail = nullptr;
        return h;
    }

private:
    resbuf* m_head = nullptr;
    resbuf* m_tail = nullptr;
};

void setErrno(short code) {
    resbuf rb{};
    rb.restype = RTSHORT;
    rb.resval.rint = code;
    acedSetVar(L"ERRNO", &rb);
}

// Asks for a point that picks one entity. RTNORM with the point (UCS), RTERROR for Enter,
// RTCAN, RTKWORD.
int askPick(const ACHAR* prompt, ads_point pt) {
    takeInputOptionsForPrompt();
    for (;;) {
        Answer a = promptAnswer(prompt ? std::wstring(prompt)
                                       : (hostTranscript().currentLine().empty() ? L"" : L"\n") +
                                             std::wstring(L"Select object: "),
                                false);
        if (a.kind != Answer::Text)
            return RTCAN;
        if (a.text.empty()) {
            setErrno(52);
            return RTERROR;
        }
        if (parsePickPoint(a.text, pt)) {
            ucsToWcs(pt, currentSession().lastPointWcs);
            return RTNORM;
        }
        if (matchTakenKeyword(a.text))
            return RTKWORD;
        printHostMessage(L"Point or option keyword required.");
    }
}

// The topmost entity at a UCS point, or false (ERRNO 7).
bool hitAt(const ads_point ucs, PickHit& hit) {
    ads_point w;
    ucsToWcs(ucs, w);
    std::vector<PickHit> hits =
        hitsAt(acdbHostApplicationServices()->workingDatabase(), {w[X], w[Y], w[Z]}, pickRadius());
    if (hits.empty()) {
        setErrno(7);
        return false;
    }
    hit = std::move(hits.front());
    return true;
}

void putName(ads_name out, AcDbObjectId id) {
    ads_name n;
    acdbGetAdsName(n, id);
    ads_name_set(n, out);
}

// The innermost entity as acedNEntSelP names it: the vertex that starts the picked segment of
// an old-style polyline, else the entity itself.
AcDbObjectId nestedName(const PickHit& hit) {
    const AcDbObject* o = peekObject(hit.leaf);
    if ((AcDb2dPolyline::cast(o) || AcDb3dPolyline::cast(o)) && hit.marker > 0) {
        AcDbObjectIdArray parts = subEntityIds(o);
        if (hit.marker - 1 < parts.length() - 1)
            return parts[static_cast<int>(hit.marker - 1)];
    }
    return hit.leaf;
}

} // namespace
} // namespace khost

using namespace khost;

int acedSSNameX(resbuf** rbpp, const ads_name ss, int i) {
    if (!rbpp)
        return RTERROR;
    *rbpp = nullptr;
    SelectionSet* set = findSelectionSet(ss);
    if (!set || i < 0 || static_cast<size_t>(i) >= selectionMembers(set).size())
        return RTERROR;
    AcDbObjectId id = selectionMembers(set)[static_cast<size_t>(i)];
    SelectionHow how = selectionHow(ss, id);
    const PickHit& hit = how.hit;
    bool picked = how.method == 1 && hit.entity == id;
    bool nested = picked && how.nested;
    ChainBuilder c;
    c.add(RTLB);
    c.shortValue(static_cast<short>(picked ? 1 : how.method));
    c.name(nested ? hit.leaf : id);
    // A pick that went into a block marks a part of the nested entity: only a nested pick
    // reports it.
    bool ownMarker = nested || (picked && hit.leaf == id);
    c.longValue(ownMarker ? static_cast<std::int32_t>(hit.marker) : 0);
    if (picked) {
        c.add(RTLB);
        c.shortValue(0);
        c.point(hit.point.x, hit.point.y, hit.point.z);
        c.add(RTLE);
    } else if (how.method == 2 || how.method == 3) {
        c.shortValue(-1);
    }
    if (nested) {
        for (int col = 0; col < 4; ++col)
            c.point(hit.xform.entry[0][col], hit.xform.entry[1][col], hit.xform.entry[2][col]);
        for (AcDbObjectId ref : hit.containers)
            c.name(ref);
    }
    c.add(RTLE);
    *rbpp = c.take();
    return RTNORM;
}

int acedEntSel(const ACHAR* str, ads_name entres, ads_point ptres) {
    ads_point pt;
    int rc = askPick(str, pt);
    if (rc != RTNORM)
        return rc;
    PickHit hit;
    if (!hitAt(pt, hit))
        return RTERROR;
    if (entres)
        putName(entres, hit.entity);
    if (ptres)
        ads_point_set(pt, ptres);
    return RTNORM;
}

int acedNEntSelP(const ACHAR* str, ads_name entres, ads_point ptres, int pickflag,
                 ads_matrix xformres, resbuf** refstkres) {
    if (refstkres)
        *refstkres = nullptr;
    ads_point pt;
    if (pickflag) {
        if (!ptres)
            return RTERROR;
        ads_point_set(ptres, pt);
    } else {
        int rc = askPick(str, pt);
        if (rc != RTNORM)
            return rc;
    }
    PickHit hit;
    if (!hitAt(pt, hit))
        return RTERROR;
    if (entres)
        putName(entres, nestedName(hit));
    if (ptres)
        ads_point_set(pt, ptres);
    if (xformres)
        for (int r = 0; r < 4; ++r)
            for (int col = 0; col < 4; ++col)
                xformres[r][col] = hit.xform.entry[r][col];
    if (refstkres && !hit.containers.empty()) {
        ChainBuilder c;
        for (AcDbObjectId ref : hit.containers)
            c.name(ref);
        *refstkres = c.take();
    }
    return RTNORM;
}
