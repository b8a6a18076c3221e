// Entity data lists (entget, entmod), erasing (entdel), walking the entities of the drawing
// (entlast, entnext, handent), wildcards, and the C functions made of them.
#include "acedentfn.h"
#include "edentfn.h"

#include "acutads.h"
#include "dbapserv.h"
#include "dbent_complex.h"
#include "dbhost.h"
#include "dblayout.h"
#include "dbraw.h"
#include "dbsymtb.h"

#include <cwctype>
#include <memory>

namespace khost {

namespace {

struct ChainDeleter {
    void operator()(resbuf* rb) const { acutRelRb(rb); }
};
using Chain = std::unique_ptr<resbuf, ChainDeleter>;

resbuf* nameBuffer(int code, AcDbObjectId id) {
    resbuf* rb = acutNewRb(code);
    acdbGetAdsName(rb->resval.rlname, id);
    return rb;
}

resbuf* stringBuffer(int code, const std::wstring& s) {
    resbuf* rb = acutNewRb(code);
    rbSetString(rb, s.c_str());
    return rb;
}

resbuf* shortBuffer(int code, short v) {
    resbuf* rb = acutNewRb(code);
    rb->resval.rint = v;
    return rb;
}

AcDbDatabase* workingDb() {
    return acdbHostApplicationServices()->workingDatabase();
}

// The layout an entity's owner stands for: its name, and whether it is paper space. False for an
// owner that is not a layout's block.
bool layoutOf(const AcDbObject* owner, std::wstring& name, bool& paper) {
    auto* btr = AcDbBlockTableRecord::cast(owner);
    if (!btr || !btr->isLayout())
        return false;
    AcDbDatabase* db = btr->database();
    paper = !db || btr->objectId() != roleId(db, DbRole::ModelSpace);
    name = paper ? L"Layout1" : L"Model";
    if (auto* layout = AcDbLayout::cast(peekObject(btr->getLayoutId()))) {
        const ACHAR* n = nullptr;
        if (layout->getLayoutName(n) == Acad::eOk && n)
            name = n;
    }
    return true;
}

// The xdata of the applications whose names match a pattern.
resbuf* xdataOf(const AcDbObject* o, const std::vector<std::wstring>& apps) {
    Chain all(o->xData());
    resbuf* head = nullptr;
    resbuf** tail = &head;
    bool keep = false;
    for (const resbuf* rb = all.get(); rb; rb = rb->rbnext) {
        if (rb->restype == 1001) {
            std::wstring app = rb->resval.rstring ? rb->resval.rstring : L"";
            keep = false;
            for (const std::wstring& p : apps)
                keep = keep || wildcardMatch(app, p);
        }
        if (keep) {
            *tail = rbCopy(rb);
            (*tail)->rbnext = nullptr;
            tail = &(*tail)->rbnext;
        }
    }
    return head;
}

// The body-block (or layout) an entity belongs to and the complex entity it is part of.
struct Place {
    AcDbObjectId block; // the block table record of the main entity
    AcDbObjectId main;  // the main entity
    bool isSub = false; // the entity is a sub-entity (or end marker) of main
};

bool placeOf(AcDbObjectId id, Place& place) {
    AcDbObject* o = peekObject(id);
    if (!o || !AcDbEntity::cast(o))
        return false;
    AcDbObjectId owner = o->ownerId();
    AcDbObject* ownerObj = peekObject(owner);
    if (AcDbBlockTableRecord::cast(ownerObj)) {
        place.block = owner;
        place.main = id;
        place.isSub = false;
        return true;
    }
    if (AcDbEntity::cast(ownerObj)) {
        place.block = ownerObj->ownerId();
        place.main = owner;
        place.isSub = true;
        return AcDbBlockTableRecord::cast(peekObject(place.block)) != nullptr;
    }
    return false;
}

// The first not erased entity of a block.
AcDbObjectId firstOf(AcDbObjectId block) {
    auto* btr = AcDbBlockTableRecord::cast(peekObject(block));
    if (!btr)
        return {};
    AcDbBlockTableRecordIterator* it = nullptr;
    if (btr->newIterator(it) != Acad::eOk)
        return {};
    std::unique_ptr<AcDbBlockTableRecordIterator> guard(it);
    AcDbObjectId id;
    if (!it->done())
        it->getEntityId(id);
    return id;
}

// The entity after a main entity of a block. A walk with entnext asks for the entity after the
// one it got last: the iterator of that step is kept, so a walk does not search its block again.
struct WalkCache {
    AcDbObjectId block, last;
    std::unique_ptr<AcDbBlockTableRecordIterator> it;
};

AcDbObjectId nextOf(AcDbObjectId block, AcDbObjectId main) {
    static WalkCache cache;
    AcDbObjectId at;
    if (cache.it && cache.block == block && cache.last == main)
        cache.it->getEntityId(at);
    if (at != main) {
        cache = WalkCache{};
        auto* btr = AcDbBlockTableRecord::cast(peekObject(block));
        AcDbBlockTableRecordIterator* it = nullptr;
        if (!btr || btr->newIterator(it) != Acad::eOk)
            return {};
        cache.it.reset(it);
        if (it->seek(main) != Acad::eOk) {
            cache.it.reset();
            return {};
        }
        cache.block = block;
    }
    cache.it->step();
    AcDbObjectId id;
    if (!cache.it->done())
        cache.it->getEntityId(id);
    cache.last = id;
    if (id.isNull())
        cache.it.reset();
    return id;
}

AcDbObjectId lastOf(AcDbObjectId block) {
    auto* btr = AcDbBlockTableRecord::cast(peekObject(block));
    if (!btr)
        return {};
    AcDbBlockTableRecordIterator* it = nullptr;
    if (btr->newIterator(it, false) != Acad::eOk)
        return {};
    std::unique_ptr<AcDbBlockTableRecordIterator> guard(it);
    AcDbObjectId id;
    if (!it->done())
        it->getEntityId(id);
    return id;
}

bool isCommonEntityCode(int code) {
    switch (code) {
    case 6:
    case 8:
    case 48:
    case 60:
    case 62:
    case 284:
    case 347:
    case 370:
    case 390:
    case 420:
    case 430:
    case 440:
        return true;
    default:
        return false;
    }
}

bool isTextType(const std::wstring& type) {
    return type == L"TEXT" || type == L"MTEXT" || type == L"ATTRIB" || type == L"ATTDEF";
}

} // namespace

std::vector<AcDbObjectId> layoutBlocks(AcDbDatabase* db) {
    std::vector<AcDbObjectId> out;
    AcDbObjectId model = roleId(db, DbRole::ModelSpace);
    if (!model.isNull())
        out.push_back(model);
    auto* bt = AcDbBlockTable::cast(peekObject(db->blockTableId()));
    AcDbBlockTableIterator* it = nullptr;
    if (bt && bt->newIterator(it) == Acad::eOk) {
        for (; !it->done(); it->step()) {
            AcDbObjectId id;
            it->getRecordId(id);
            auto* btr = AcDbBlockTableRecord::cast(peekObject(id));
            if (btr && id != model && btr->isLayout())
                out.push_back(id);
        }
        delete it;
    }
    return out;
}

std::wstring dxfTypeName(const AcDbObject* o) {
    const ACHAR* n = o ? khostDxfName(o) : nullptr;
    return n ? n : L"";
}

resbuf* entityData(AcDbObjectId id, const std::vector<std::wstring>& apps) {
    AcDbObject* o = nullptr;
    if (id.isNull() || acdbOpenObject(o, id, AcDb::kForRead) != Acad::eOk)
        return nullptr;
    RbChainFiler filer(o->database());
    o->dxfOutFields(&filer);
    Chain fields(filer.takeChain());
    std::wstring layoutName;
    bool paper = false;
    bool inLayout = AcDbEntity::cast(o) && layoutOf(peekObject(o->ownerId()), layoutName, paper);
    resbuf* xdata = apps.empty() ? nullptr : xdataOf(o, apps);
    std::wstring type = dxfTypeName(o);
    o->close();

    resbuf* head = nameBuffer(-1, id);
    resbuf* tail = head;
    auto add = [&](resbuf* rb) {
        tail->rbnext = rb;
        while (tail->rbnext)
            tail = tail->rbnext;
    };
    add(stringBuffer(0, type));
    // The owner before the handle when no groups of other applications come between them.
    resbuf* rest = fields.release();
    if (rest && rest->restype == 5 && rest->rbnext && rest->rbnext->restype == 330) {
        resbuf* handle = rest;
        resbuf* owner = rest->rbnext;
        rest = owner->rbnext;
        owner->rbnext = handle;
        handle->rbnext = nullptr;
        add(owner);
    }
    while (rest) {
        resbuf* rb = rest;
        rest = rest->rbnext;
        rb->rbnext = nullptr;
        add(rb);
        if (inLayout && rb->restype == 100 && rb->resval.rstring &&
            std::wstring(rb->resval.rstring) == L"AcDbEntity") {
            add(shortBuffer(67, paper ? 1 : 0));
            add(stringBuffer(410, layoutName));
            inLayout = false;
        }
    }
    if (xdata) {
        add(acutNewRb(-3));
        add(xdata);
    }
    return head;
}

// ---- entmod
// ---------------------------------------------------------------------------------------

namespace {

// Takes the groups a data list may not change out of a chain: the name, type, handle, owner,
// groups of other applications in braces and the layout. The extended data (after -3) goes to
// xdata.
Chain changeableGroups(const resbuf* data, Chain& xdata) {
    resbuf* head = nullptr;
    resbuf** tail = &head;
    bool ownerSeen = false;
    int braces = 0;
    for (const resbuf* rb = data; rb; rb = rb->rbnext) {
        if (rb->restype == -3) {
            xdata.reset(rbCopyChain(rb->rbnext));
            break;
        }
        if (rb->restype == 102) {
            std::wstring s = rb->resval.rstring ? rb->resval.rstring : L"";
            braces += (!s.empty() && s[0] == L'{') ? 1 : (s == L"}" ? -1 : 0);
            if (braces < 0)
                braces = 0;
            continue;
        }
        if (braces > 0)
            continue;
        if (rb->restype == -1 || rb->restype == 0 || rb->restype == RTDXF0 || rb->restype == 5 ||
            rb->restype == 67 || rb->restype == 410 || rb->restype == -2)
            continue;
        if (rb->restype == 330 && !ownerSeen) {
            ownerSeen = true;
            continue;
        }
        *tail = rbCopy(rb);
        (*tail)->rbnext = nullptr;
        tail = &(*tail)->rbnext;
    }
    return Chain(head);
}

bool hasCode(const resbuf* rb, int code) {
    for (; rb; rb = rb->rbnext)
        if (rb->restype == code)
            return true;
    return false;
}

// The current groups with those of a partial list put in: the n-th group of a code replaces the
// n-th group of that code; groups of codes the object does not have go to the end of the entity's
// common part (layer, colour ...) or to the end.
Chain mergeGroups(Chain current, const resbuf* changes) {
    std::vector<resbuf*> cur;
    for (resbuf* rb = current.get(); rb; rb = rb->rbnext)
        cur.push_back(rb);
    std::vector<resbuf*> extraCommon, extraOther;
    std::vector<std::pair<int, int>> seen; // code, count of given groups so far
    for (const resbuf* c = changes; c; c = c->rbnext) {
        int nth = 0;
        for (auto& s : seen)
            if (s.first == c->restype)
                nth = ++s.second;
        if (nth == 0)
            seen.emplace_back(c->restype, 0);
        int k = 0;
        bool replaced = false;
        for (resbuf*& slot : cur) {
            if (slot->restype != c->restype)
                continue;
            if (k++ != nth)
                continue;
            resbuf* copy = rbCopy(c);
            rbFreeValue(slot);
            slot->resval = copy->resval;
            copy->resval = {};
            std::free(copy);
            replaced = true;
            break;
        }
        if (!replaced) {
            resbuf* copy = rbCopy(c);
            copy->rbnext = nullptr;
            (isCommonEntityCode(c->restype) ? extraCommon : extraOther).push_back(copy);
        }
    }
    // Relink, with the extra groups put in.
    std::vector<resbuf*> out;
    bool commonDone = extraCommon.empty();
    bool inEntity = false;
    for (resbuf* rb : cur) {
        if (rb->restype == 100) {
            std::wstring marker = rb->resval.rstring ? rb->resval.rstring : L"";
            if (inEntity && !commonDone) {
                out.insert(out.end(), extraCommon.begin(), extraCommon.end());
                commonDone = true;
            }
            inEntity = marker == L"AcDbEntity";
        }
        out.push_back(rb);
    }
    if (!commonDone)
        out.insert(out.end(), extraCommon.begin(), extraCommon.end());
    out.insert(out.end(), extraOther.begin(), extraOther.end());
    current.release();
    for (size_t i = 0; i < out.size(); ++i)
        out[i]->rbnext = i + 1 < out.size() ? out[i + 1] : nullptr;
    return Chain(out.empty() ? nullptr : out.front());
}

} // namespace

bool checkEntityProperties(AcDbDatabase* db, const std::wstring& type, const resbuf* data) {
    for (const resbuf* rb = data; rb; rb = rb->rbnext) {
        if (rb->restype == -3)
            break;
        switch (rb->restype) {
        case 8: {
            const ACHAR* name = rb->resval.rstring;
            if (!name || !isValidSymbolName(name, false))
                return false;
            AcDbLayerTable* lt = nullptr;
            if (db->getLayerTable(lt, AcDb::kForRead) != Acad::eOk)
                return false;
            bool has = lt->has(name);
            if (!has) {
                lt->upgradeOpen();
                auto* rec = new AcDbLayerTableRecord();
                if (rec->setName(name) != Acad::eOk || lt->add(rec) != Acad::eOk) {
                    delete rec;
                    lt->close();
                    return false;
                }
                rec->close();
            }
            lt->close();
            break;
        }
        case 6: {
            if (!rb->resval.rstring)
                return false;
            auto* t = AcDbLinetypeTable::cast(peekObject(db->linetypeTableId()));
            if (!t || !t->has(rb->resval.rstring))
                return false;
            break;
        }
        case 7:
            if (isTextType(type)) {
                auto* t = AcDbTextStyleTable::cast(peekObject(db->textStyleTableId()));
                if (!rb->resval.rstring || !t || !t->has(rb->resval.rstring))
                    return false;
            }
            break;
        case 62:
            if (rb->resval.rint < 0 || rb->resval.rint > 257)
                return false;
            break;
        case 2:
            // A block reference needs its block.
            if (type == L"INSERT") {
                auto* t = AcDbBlockTable::cast(peekObject(db->blockTableId()));
                if (!rb->resval.rstring || !t || !t->has(rb->resval.rstring))
                    return false;
            }
            break;
        default:
            break;
        }
    }
    return true;
}

bool appsRegistered(AcDbDatabase* db, const resbuf* xdata) {
    auto* t = AcDbRegAppTable::cast(peekObject(db->regAppTableId()));
    for (const resbuf* rb = xdata; rb; rb = rb->rbnext)
        if (rb->restype == 1001 && (!t || !rb->resval.rstring || !t->has(rb->resval.rstring)))
            return false;
    return true;
}

int entMod(const resbuf* data) {
    const resbuf* nameRb = data;
    while (nameRb && nameRb->restype != -1)
        nameRb = nameRb->rbnext;
    AcDbObjectId id;
    if (!nameRb || acdbGetObjectId(id, nameRb->resval.rlname) != Acad::eOk)
        return RTERROR;
    AcDbObject* o = nullptr;
    if (acdbOpenObject(o, id, AcDb::kForWrite) != Acad::eOk)
        return RTERROR;
    // A list that names a different type does not fit the object.
    for (const resbuf* rb = data; rb; rb = rb->rbnext)
        if ((rb->restype == 0 || rb->restype == RTDXF0) && rb->resval.rstring &&
            dxfTypeName(o) != rb->resval.rstring) {
            o->close();
            return RTERROR;
        }
    Chain xdata;
    Chain given = changeableGroups(data, xdata);
    AcDbDatabase* db = o->database();
    if (!checkEntityProperties(db, dxfTypeName(o), given.get()) ||
        (xdata && !appsRegistered(db, xdata.get()))) {
        o->close();
        return RTERROR;
    }
    RbChainFiler out(db);
    o->dxfOutFields(&out);
    Chain dummy;
    Chain written(out.takeChain());
    Chain current = changeableGroups(written.get(), dummy);
    Chain merged =
        hasCode(given.get(), 100) ? std::move(given) : mergeGroups(std::move(current), given.get());
    RbChainFiler in(db, merged.get());
    Acad::ErrorStatus es = o->dxfInFields(&in);
    if (es == Acad::eOk && xdata)
        es = o->setXData(xdata.get());
    o->close();
    return es == Acad::eOk ? RTNORM : RTERROR;
}

int entDel(AcDbObjectId id) {
    Place place;
    if (id.isNull() || !placeOf(id, place) || place.isSub)
        return RTERROR;
    AcDbObject* o = nullptr;
    if (acdbOpenObject(o, id, AcDb::kForWrite, true) != Acad::eOk)
        return RTERROR;
    Acad::ErrorStatus es = o->erase(!o->isErased());
    o->close();
    return es == Acad::eOk ? RTNORM : RTERROR;
}

// ---- Walking the entities
// -------------------------------------------------------------------------

AcDbObjectId lastEntity(AcDbDatabase* db) {
    if (!db)
        return {};
    AcDbObjectId best;
    for (AcDbObjectId block : layoutBlocks(db)) {
        AcDbObjectId id = lastOf(block);
        if (!id.isNull() && (best.isNull() || id.handle().value() > best.handle().value()))
            best = id;
    }
    return best;
}

AcDbObjectId nextEntity(AcDbDatabase* db, AcDbObjectId after) {
    if (!db)
        return {};
    std::vector<AcDbObjectId> layouts = layoutBlocks(db);
    if (after.isNull()) {
        for (AcDbObjectId block : layouts)
            if (AcDbObjectId id = firstOf(block); !id.isNull())
                return id;
        return {};
    }
    Place place;
    if (!placeOf(after, place))
        return {};
    // Into a complex entity and through its parts.
    AcDbObjectIdArray parts = subEntityIds(peekObject(place.main));
    if (!place.isSub && !parts.isEmpty())
        return parts.first();
    if (place.isSub) {
        int i = parts.find(after);
        if (i >= 0 && i + 1 < parts.length())
            return parts[i + 1];
    }
    // The next main entity of the block, then of the following layouts.
    AcDbObjectId next = nextOf(place.block, place.main);
    if (!next.isNull())
        return next;
    bool passed = false;
    for (AcDbObjectId block : layouts) {
        if (passed)
            if (AcDbObjectId id = firstOf(block); !id.isNull())
                return id;
        passed = passed || block == place.block;
    }
    return {};
}

AcDbObjectId objectOfHandle(AcDbDatabase* db, const std::wstring& handle) {
    if (!db || handle.empty() || handle.size() > 16)
        return {};
    for (wchar_t c : handle)
        if (!std::iswxdigit(static_cast<wint_t>(c)))
            return {};
    AcDbObjectId id;
    if (db->getAcDbObjectId(id, false, AcDbHandle(handle.c_str())) != Acad::eOk || id.isNull() ||
        id.isErased() || !peekObject(id))
        return {};
    return id;
}

// ---- Wildcards
// ------------------------------------------------------------------------------------

namespace {

wchar_t fold(wchar_t c, bool ignoreCase) {
    return ignoreCase ? static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c))) : c;
}

bool matchHere(const std::wstring& t, size_t ti, const std::wstring& p, size_t pi, bool ic) {
    while (pi < p.size()) {
        wchar_t pc = p[pi];
        if (pc == L'*') {
            while (pi < p.size() && p[pi] == L'*')
                ++pi;
            if (pi == p.size())
                return true;
            for (size_t k = ti; k <= t.size(); ++k)
                if (matchHere(t, k, p, pi, ic))
                    return true;
            return false;
        }
        if (ti >= t.size())
            return false;
        wchar_t tc = t[ti];
        switch (pc) {
        case L'?':
            break;
        case L'#':
            if (!std::iswdigit(static_cast<wint_t>(tc)))
                return false;
            break;
        case L'@':
            if (!std::iswalpha(static_cast<wint_t>(tc)))
                return false;
            break;
        case L'.':
            if (std::iswalnum(static_cast<wint_t>(tc)))
                return false;
            break;
        case L'[': {
            size_t close = p.find(L']', pi + 2);
            if (close == std::wstring::npos)
                return false;
            bool negate = p[pi + 1] == L'~';
            size_t from = pi + 1 + (negate ? 1 : 0);
            bool in = false;
            for (size_t k = from; k < close; ++k) {
                if (k + 2 < close && p[k + 1] == L'-') {
                    if (fold(tc, ic) >= fold(p[k], ic) && fold(tc, ic) <= fold(p[k + 2], ic))
                        in = true;
                    k += 2;
                } else if (fold(tc, ic) == fold(p[k], ic)) {
                    in = true;
                }
            }
            if (in == negate)
                return false;
            pi = close;
            break;
        }
        case L'`':
            if (pi + 1 < p.size())
                pc = p[++pi];
            [[fallthrough]];
        default:
            if (fold(tc, ic) != fold(pc, ic))
                return false;
        }
        ++pi;
        ++ti;
    }
    return ti == t.size();
}

} // namespace

bool wildcardMatch(const std::wstring& text, const std::wstring& pattern, bool ignoreCase) {
    // Alternatives separated by commas (a comma after ` is literal).
    size_t start = 0;
    for (size_t i = 0; i <= pattern.size(); ++i) {
        if (i < pattern.size() && pattern[i] == L'`') {
            ++i;
            continue;
        }
        if (i < pattern.size() && (pattern[i] != L',' || (i > 0 && pattern[i - 1] == L'`')))
            continue;
        std::wstring alt = pattern.substr(start, i - start);
        start = i + 1;
        bool negate = !alt.empty() && alt[0] == L'~';
        if (negate)
            alt.erase(0, 1);
        if (matchHere(text, 0, alt, 0, ignoreCase) != negate)
            return true;
    }
    return false;
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
bool idOfName(const ads_name name, AcDbObjectId& id) {
    return name && acdbGetObjectId(id, name) == Acad::eOk;
}
} // namespace

resbuf* acdbEntGet(const ads_name ent) {
    return acdbEntGetX(ent, nullptr);
}

resbuf* acdbEntGetX(const ads_name ent, const resbuf* apps) {
    AcDbObjectId id;
    if (!idOfName(ent, id))
        return nullptr;
    std::vector<std::wstring> names;
    for (const resbuf* rb = apps; rb; rb = rb->rbnext)
        if (rb->restype == RTSTR && rb->resval.rstring)
            names.emplace_back(rb->resval.rstring);
    return entityData(id, names);
}

int acdbEntMake(const resbuf* ent) {
    AcDbObjectId id;
    return entMake(ent, id);
}

int acdbEntMakeX(const resbuf* ent, ads_name result) {
    AcDbObjectId id;
    int rc = entMakeX(ent, id);
    if (result) {
        result[0] = result[1] = 0;
        if (rc == RTNORM && !id.isNull())
            putName(result, id);
    }
    return rc;
}

int acdbEntMod(const resbuf* ent) {
    return entMod(ent);
}

int acdbEntUpd(const ads_name ent) {
    AcDbObjectId id;
    return idOfName(ent, id) && peekObject(id) ? RTNORM : RTERROR;
}

int acdbEntDel(const ads_name ent) {
    AcDbObjectId id;
    return idOfName(ent, id) ? entDel(id) : RTERROR;
}

int acdbEntLast(ads_name result) {
    AcDbObjectId id = lastEntity(workingDb());
    if (id.isNull())
        return RTERROR;
    putName(result, id);
    return RTNORM;
}

int acdbEntNext(const ads_name ent, ads_name result) {
    AcDbObjectId after;
    if (ent && (ent[0] != 0 || ent[1] != 0) && !idOfName(ent, after))
        return RTERROR;
    AcDbObjectId id = nextEntity(workingDb(), after);
    if (id.isNull())
        return RTERROR;
    putName(result, id);
    return RTNORM;
}

int acdbHandEnt(const ACHAR* handle, ads_name entres) {
    AcDbObjectId id = objectOfHandle(workingDb(), handle ? handle : L"");
    if (id.isNull())
        return RTERROR;
    putName(entres, id);
    return RTNORM;
}
