// The view that sizes the pick box (VIEWSIZE, VIEWCTR) and what the host remembers of how the
// members of selection sets were selected.
#include "edsel.h"

#include "acedads.h"
#include "edentfn.h"
#include "edhost.h"
#include "edinternal.h"

#include <map>
#include <unordered_map>

namespace khost {

bool setView(const AcGePoint3d& centerWcs, double height) {
    if (!(height > 0.0))
        return false;
    DocumentSession& s = currentSession();
    s.viewCenterWcs[X] = centerWcs.x;
    s.viewCenterWcs[Y] = centerWcs.y;
    s.viewCenterWcs[Z] = centerWcs.z;
    s.viewHeight = height;
    return true;
}

double viewSize() {
    return currentSession().viewHeight;
}

AcGePoint3d viewCenterWcs() {
    const ads_real* c = currentSession().viewCenterWcs;
    return {c[X], c[Y], c[Z]};
}

double pickRadius() {
    resbuf rb{};
    int pixels = 3;
    if (acedGetVar(L"PICKBOX", &rb) == RTNORM && rb.restype == RTSHORT)
        pixels = rb.resval.rint;
    return pixels * viewSize() / kScreenPixels;
}

bool getViewVariable(const std::wstring& upperName, resbuf* rb) {
    if (upperName == L"VIEWSIZE") {
        rb->restype = RTREAL;
        rb->resval.rreal = viewSize();
        return true;
    }
    if (upperName == L"VIEWCTR") {
        rb->restype = RT3DPOINT;
        wcsToUcs(currentSession().viewCenterWcs, rb->resval.rpoint);
        return true;
    }
    return false;
}

namespace {

// By the set's name (names are never reused), then by member.
using SetKey = std::pair<std::int64_t, std::int64_t>;
std::map<SetKey, std::unordered_map<AcDbObjectId, SelectionHow>>& hows() {
    static std::map<SetKey, std::unordered_map<AcDbObjectId, SelectionHow>> table;
    return table;
}

// Forgets the sets that were freed.
void pruneHows() {
    auto& table = hows();
    for (auto it = table.begin(); it != table.end();) {
        ads_name name = {it->first.first, it->first.second};
        if (!findSelectionSet(name))
            it = table.erase(it);
        else
            ++it;
    }
}

} // namespace

void noteSelection(const ads_name set, AcDbObjectId entity, const SelectionHow& how) {
    pruneHows();
    hows()[SetKey(set[0], set[1])][entity] = how;
}

SelectionHow selectionHow(const ads_name set, AcDbObjectId entity) {
    auto it = hows().find(SetKey(set[0], set[1]));
    if (it == hows().end() || !findSelectionSet(set))
        return {};
    auto m = it->second.find(entity);
    return m == it->second.end() ? SelectionHow{} : m->second;
}

} // namespace khost
