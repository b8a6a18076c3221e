// Selection sets, their filters and the selection of everything in the drawing (ssget "X"), and
// the C functions of selection sets.
#include "acedentfn.h"
#include "edentfn.h"

#include "acutads.h"
#include "dbapserv.h"
#include "dbhost.h"
#include "dbraw.h"
#include "dbsymtb.h"
#include "edhost.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <map>
#include <memory>
#include <optional>

namespace khost {

struct SelectionSet {
    std::vector<AcDbObjectId> members;
    AcDbDatabase* db = nullptr;
};

namespace {

// Names of selection sets: a number of their own and a mark that entity names never have.
constexpr std::int64_t kSetMark = 0x5353; // "SS"

struct SetStore {
    std::map<std::int64_t, std::unique_ptr<SelectionSet>> sets;
    std::int64_t next = 1;
};
SetStore& store() {
    static SetStore s;
    return s;
}

// Sets of databases that are gone are dropped.
void prune() {
    const auto& live = liveDatabases();
    auto& sets = store().sets;
    for (auto it = sets.begin(); it != sets.end();) {
        AcDbDatabase* db = it->second->db;
        if (db && std::find(live.begin(), live.end(), db) == live.end())
            it = sets.erase(it);
        else
            ++it;
    }
}

struct ChainDeleter {
    void operator()(resbuf* rb) const { acutRelRb(rb); }
};
using Chain = std::unique_ptr<resbuf, ChainDeleter>;

std::wstring upper(std::wstring s) {
    for (auto& c : s)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return s;
}

// ---- Filters

struct FilterNode {
    enum Kind { Group, And, Or, Xor, Not, XData } kind = Group;
    const resbuf* group = nullptr;
    std::wstring relation; // the -4 operator before a group ("" for equality)
    std::vector<FilterNode> children;
    std::vector<std::wstring> apps; // XData
};

std::optional<FilterNode::Kind> openingOf(const std::wstring& op) {
    if (op == L"<AND")
        return FilterNode::And;
    if (op == L"<OR")
        return FilterNode::Or;
    if (op == L"<XOR")
        return FilterNode::Xor;
    if (op == L"<NOT")
        return FilterNode::Not;
    return std::nullopt;
}

std::optional<FilterNode::Kind> closingOf(const std::wstring& op) {
    if (op == L"AND>")
        return FilterNode::And;
    if (op == L"OR>")
        return FilterNode::Or;
    if (op == L"XOR>")
        return FilterNode::Xor;
    if (op == L"NOT>")
        return FilterNode::Not;
    return std::nullopt;
}

bool isRelation(const std::wstring& op) {
    static const wchar_t* const kOps[] = {L"*",  L"=", L"!=", L"/=", L"<>", L"<",
                                          L"<=", L">", L">=", L"&",  L"&="};
    // Points take one operator per coordinate, separated by commas.
    size_t start = 0;
    do {
        size_t comma = op.find(L',', start);
        std::wstring part =
            op.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start);
        bool known = false;
        for (const wchar_t* k : kOps)
            known = known || part == k;
        if (!known)
            return false;
        start = comma == std::wstring::npos ? op.size() + 1 : comma + 1;
    } while (start <= op.size());
    return true;
}

// Parses a filter into the children of root; false when it is not well formed.
bool parseFilter(const resbuf*& rb, FilterNode& root, std::optional<FilterNode::Kind> until) {
    std::wstring relation;
    for (; rb; rb = rb->rbnext) {
        if (rb->restype == -4) {
            std::wstring op = upper(rb->resval.rstring ? rb->resval.rstring : L"");
            if (auto open = openingOf(op)) {
                if (!relation.empty())
                    return false;
                FilterNode n;
                n.kind = *open;
                rb = rb->rbnext;
                if (!parseFilter(rb, n, open) || !rb)
                    return false;
                size_t count = n.children.size();
                if ((n.kind == FilterNode::Not && count != 1) ||
                    (n.kind == FilterNode::Xor && count != 2) || count == 0)
                    return false;
                root.children.push_back(std::move(n));
                continue;
            }
            if (auto close = closingOf(op))
                return until && *close == *until && relation.empty();
            if (!relation.empty() || !isRelation(op))
                return false;
            relation = op;
            continue;
        }
        if (rb->restype == -3) {
            FilterNode n;
            n.kind = FilterNode::XData;
            for (const resbuf* a = rb->rbnext; a && a->restype == 1001; a = a->rbnext) {
                n.apps.emplace_back(a->resval.rstring ? a->resval.rstring : L"");
                rb = a;
            }
            root.children.push_back(std::move(n));
            continue;
        }
        FilterNode n;
        n.group = rb;
        n.relation = relation;
        relation.clear();
        root.children.push_back(std::move(n));
    }
    return !until && relation.empty();
}

// The groups of one entity, made when first needed.
class EntityGroups {
public:
    explicit EntityGroups(AcDbObjectId id) : m_id(id) {}

    // The groups of a code (with the host's defaults for some that are left out).
    std::vector<const resbuf*> of(int code) {
        std::vector<const resbuf*> out;
        if (code == 0 || code == 8) {
            // Type and layer without making the whole list.
            AcDbObject* o = peekObject(m_id);
            resbuf& rb = code == 0 ? m_type : m_layer;
            if (!rb.resval.rstring) {
                rb.restype = static_cast<short>(code);
                std::wstring s;
                if (code == 0) {
                    s = dxfTypeName(o);
                } else if (auto* e = AcDbEntity::cast(o)) {
                    if (auto* l = AcDbSymbolTableRecord::cast(peekObject(e->layerId())))
                        s = l->name();
                }
                rbSetString(&rb, s.c_str());
            }
            out.push_back(&rb);
            return out;
        }
        load();
        for (const resbuf* rb = m_chain.get(); rb && rb->restype != -3; rb = rb->rbnext)
            if (rb->restype == code)
                out.push_back(rb);
        if (out.empty()) {
            const resbuf* d = defaultOf(code);
            if (d)
                out.push_back(d);
        }
        return out;
    }

    bool hasXData(const std::wstring& pattern) {
        load();
        const resbuf* rb = m_chain.get();
        while (rb && rb->restype != -3)
            rb = rb->rbnext;
        for (; rb; rb = rb->rbnext)
            if (rb->restype == 1001 && rb->resval.rstring &&
                wildcardMatch(rb->resval.rstring, pattern))
                return true;
        return false;
    }

    ~EntityGroups() {
        rbFreeValue(&m_type);
        rbFreeValue(&m_layer);
        rbFreeValue(&m_default);
    }
    EntityGroups(const EntityGroups&) = delete;
    EntityGroups& operator=(const EntityGroups&) = delete;

private:
    void load() {
        if (!m_loaded) {
            m_chain.reset(entityData(m_id, {L"*"}));
            m_loaded = true;
        }
    }
    const resbuf* defaultOf(int code) {
        rbFreeValue(&m_default);
        m_default = resbuf{};
        m_default.restype = static_cast<short>(code);
        switch (code) {
        case 62:
            m_default.resval.rint = 256;
            return &m_default;
        case 6:
            rbSetString(&m_default, L"BYLAYER");
            return &m_default;
        case 67:
            m_default.resval.rint = 0;
            return &m_default;
        case 39:
            m_default.resval.rreal = 0.0;
            return &m_default;
        case 210:
            m_default.resval.rpoint[2] = 1.0;
            return &m_default;
        default:
            return nullptr;
        }
    }

    AcDbObjectId m_id;
    Chain m_chain;
    bool m_loaded = false;
    resbuf m_type{}, m_layer{}, m_default{};
};

bool compare(double a, double b, const std::wstring& op) {
    const double tol = 1e-10;
    if (op.empty() || op == L"=")
        return std::fabs(a - b) <= tol;
    if (op == L"*")
        return true;
    if (op == L"!=" || op == L"/=" || op == L"<>")
        return std::fabs(a - b) > tol;
    if (op == L"<")
        return a < b;
    if (op == L"<=")
        return a <= b;
    if (op == L">")
        return a > b;
    if (op == L">=")
        return a >= b;
    auto ia = static_cast<long long>(a), ib = static_cast<long long>(b);
    if (op == L"&")
        return (ia & ib) != 0;
    if (op == L"&=")
        return (ia & ib) == ib;
    return false;
}

double numberOf(const resbuf* rb) {
    switch (rbKind(rb->restype)) {
    case RbKind::Real:
        return rb->resval.rreal;
    case RbKind::Short:
        return rb->resval.rint;
    case RbKind::Long:
        return rb->resval.rlong;
    case RbKind::Int64:
        return static_cast<double>(rb->resval.mnInt64);
    default:
        return 0.0;
    }
}

bool valueMatches(const resbuf* have, const resbuf* want, const std::wstring& relation) {
    switch (rbKind(want->restype)) {
    case RbKind::String:
    case RbKind::Handle: {
        std::wstring h = have->resval.rstring ? have->resval.rstring : L"";
        std::wstring w = want->resval.rstring ? want->resval.rstring : L"";
        if (relation == L"*")
            return true;
        bool eq = wildcardMatch(h, w);
        if (relation == L"!=" || relation == L"/=" || relation == L"<>")
            return !eq;
        return eq;
    }
    case RbKind::Point: {
        std::vector<std::wstring> ops;
        size_t start = 0;
        while (true) {
            size_t comma = relation.find(L',', start);
            ops.push_back(relation.substr(start, comma == std::wstring::npos ? std::wstring::npos
                                                                             : comma - start));
            if (comma == std::wstring::npos)
                break;
            start = comma + 1;
        }
        for (int i = 0; i < 3; ++i) {
            const std::wstring& op =
                ops.size() == 1 ? ops[0]
                                : (i < static_cast<int>(ops.size()) ? ops[static_cast<size_t>(i)]
                                                                    : std::wstring(L"*"));
            if (!compare(have->resval.rpoint[i], want->resval.rpoint[i], op))
                return false;
        }
        return true;
    }
    case RbKind::Name: {
        bool eq = have->resval.rlname[0] == want->resval.rlname[0];
        return relation == L"!=" || relation == L"/=" || relation == L"<>" ? !eq : eq;
    }
    case RbKind::Real:
    case RbKind::Short:
    case RbKind::Long:
    case RbKind::Int64:
        return compare(numberOf(have), numberOf(want), relation);
    default:
        return false;
    }
}

bool evaluate(const FilterNode& n, EntityGroups& g) {
    switch (n.kind) {
    case FilterNode::Group: {
        int code = n.group->restype == RTDXF0 ? 0 : n.group->restype;
        for (const resbuf* have : g.of(code))
            if (valueMatches(have, n.group, n.relation))
                return true;
        return false;
    }
    case FilterNode::And:
        return std::all_of(n.children.begin(), n.children.end(),
                           [&](const FilterNode& c) { return evaluate(c, g); });
    case FilterNode::Or:
        return std::any_of(n.children.begin(), n.children.end(),
                           [&](const FilterNode& c) { return evaluate(c, g); });
    case FilterNode::Xor:
        return evaluate(n.children[0], g) != evaluate(n.children[1], g);
    case FilterNode::Not:
        return !evaluate(n.children[0], g);
    case FilterNode::XData:
        return std::all_of(n.apps.begin(), n.apps.end(),
                           [&](const std::wstring& a) { return g.hasXData(a); });
    }
    return false;
}

bool parse(const resbuf* filter, FilterNode& root) {
    root = FilterNode{};
    root.kind = FilterNode::And;
    const resbuf* rb = filter;
    return parseFilter(rb, root, std::nullopt);
}

} // namespace

SelectionSet* newSelectionSet(ads_name name) {
    prune();
    auto set = std::make_unique<SelectionSet>();
    set->db = acdbHostApplicationServices()->workingDatabase();
    std::int64_t n = store().next++;
    SelectionSet* p = set.get();
    store().sets[n] = std::move(set);
    name[0] = n;
    name[1] = kSetMark;
    return p;
}

SelectionSet* findSelectionSet(const ads_name name) {
    prune();
    if (!name || name[1] != kSetMark)
        return nullptr;
    auto it = store().sets.find(name[0]);
    return it == store().sets.end() ? nullptr : it->second.get();
}

bool freeSelectionSet(const ads_name name) {
    if (!findSelectionSet(name))
        return false;
    store().sets.erase(name[0]);
    return true;
}

std::vector<AcDbObjectId>& selectionMembers(SelectionSet* set) {
    return set->members;
}

int selectionSetCount() {
    prune();
    return static_cast<int>(store().sets.size());
}

bool filterIsValid(const resbuf* filter) {
    FilterNode root;
    return parse(filter, root);
}

bool filterMatches(AcDbObjectId entity, const resbuf* filter) {
    if (!filter)
        return true;
    FilterNode root;
    if (!parse(filter, root))
        return false;
    EntityGroups g(entity);
    return evaluate(root, g);
}

std::vector<AcDbObjectId> selectAll(AcDbDatabase* db, const resbuf* filter) {
    std::vector<AcDbObjectId> out;
    if (!db)
        return out;
    FilterNode root;
    if (!parse(filter, root))
        return out;
    // Main entities only: parts of complex entities are not selected on their own.
    for (AcDbObjectId block : layoutBlocks(db)) {
        auto* btr = AcDbBlockTableRecord::cast(peekObject(block));
        AcDbBlockTableRecordIterator* it = nullptr;
        if (!btr || btr->newIterator(it) != Acad::eOk)
            continue;
        for (; !it->done(); it->step()) {
            AcDbObjectId id;
            it->getEntityId(id);
            EntityGroups g(id);
            if (evaluate(root, g))
                out.push_back(id);
        }
        delete it;
    }
    return out;
}

} // namespace khost

// ---- The C interface
// ------------------------------------------------------------------------------

using namespace khost;

namespace {
// Writes the name of an id into an ads_name given as a pointer.
void putName(std::int64_t* out, AcDbObjectId id) {
    ads_name n;
    acdbGetAdsName(n, id);
    out[0] = n[0];
    out[1] = n[1];
}
bool entityId(const ads_name name, AcDbObjectId& id) {
    return name && acdbGetObjectId(id, name) == Acad::eOk && peekObject(id) &&
           AcDbEntity::cast(peekObject(id));
}
} // namespace

int acedSSLength(const ads_name ss, Adesk::Int32* len) {
    SelectionSet* set = findSelectionSet(ss);
    if (!set || !len)
        return RTERROR;
    *len = static_cast<Adesk::Int32>(set->members.size());
    return RTNORM;
}

int acedSSName(const ads_name ss, Adesk::Int32 i, ads_name entres) {
    SelectionSet* set = findSelectionSet(ss);
    if (!set || i < 0 || static_cast<size_t>(i) >= set->members.size())
        return RTERROR;
    putName(entres, set->members[static_cast<size_t>(i)]);
    return RTNORM;
}

int acedSSFree(const ads_name ss) {
    return freeSelectionSet(ss) ? RTNORM : RTERROR;
}

int acedSSAdd(const ads_name ename, const ads_name ss, ads_name result) {
    AcDbObjectId id;
    bool haveName = ename && (ename[0] != 0 || ename[1] != 0);
    if (haveName && !entityId(ename, id))
        return RTERROR;
    SelectionSet* set = nullptr;
    if (!ss || (ss[0] == 0 && ss[1] == 0)) {
        set = newSelectionSet(result);
    } else {
        set = findSelectionSet(ss);
        if (!set)
            return RTERROR;
        result[0] = ss[0];
        result[1] = ss[1];
    }
    if (haveName && std::find(set->members.begin(), set->members.end(), id) == set->members.end())
        set->members.push_back(id);
    return RTNORM;
}

int acedSSDel(const ads_name ename, const ads_name ss) {
    SelectionSet* set = findSelectionSet(ss);
    AcDbObjectId id;
    if (!set || !ename || acdbGetObjectId(id, ename) != Acad::eOk)
        return RTERROR;
    auto it = std::find(set->members.begin(), set->members.end(), id);
    if (it == set->members.end())
        return RTERROR;
    set->members.erase(it);
    return RTNORM;
}

int acedSSMemb(const ads_name ename, const ads_name ss) {
    SelectionSet* set = findSelectionSet(ss);
    AcDbObjectId id;
    if (!set || !ename || acdbGetObjectId(id, ename) != Acad::eOk)
        return RTERROR;
    return std::find(set->members.begin(), set->members.end(), id) != set->members.end() ? RTNORM
                                                                                         : RTERROR;
}

int acedSSSetFirst(const ads_name pset, const ads_name) {
    auto& pickfirst = currentSession().pickfirst;
    if (!pset || (pset[0] == 0 && pset[1] == 0)) {
        pickfirst.clear();
        return RTNORM;
    }
    SelectionSet* set = findSelectionSet(pset);
    if (!set)
        return RTERROR;
    pickfirst.clear();
    for (AcDbObjectId id : set->members)
        if (!id.isErased() && peekObject(id))
            pickfirst.push_back(id);
    return RTNORM;
}

int acedSSGetFirst(resbuf** gset, resbuf** pset) {
    if (gset)
        *gset = nullptr;
    if (!pset)
        return RTERROR;
    *pset = nullptr;
    const auto& pickfirst = currentSession().pickfirst;
    if (pickfirst.empty())
        return RTNORM;
    resbuf* rb = acutNewRb(RTPICKS);
    SelectionSet* set = newSelectionSet(rb->resval.rlname);
    set->members = pickfirst;
    *pset = rb;
    return RTNORM;
}
