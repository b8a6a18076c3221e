// entmake: objects built from data lists through the class factory and the classes' own reading
// of DXF groups, as the DXF reader builds them. Block definitions (BLOCK ... ENDBLK) and complex
// entities (INSERT with attributes, POLYLINE with vertices, ended by SEQEND) are built over several
// calls; what is pending is kept per database.
#include "edentfn.h"

#include "acutads.h"
#include "dbapserv.h"
#include "dbdict.h"
#include "dbent_complex.h"
#include "dbhost.h"
#include "dblayout.h"
#include "dbraw.h"
#include "dbsymtb.h"
#include "gepnt3d.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>

namespace khost {

namespace {

struct ChainDeleter {
    void operator()(resbuf* rb) const { acutRelRb(rb); }
};
using Chain = std::unique_ptr<resbuf, ChainDeleter>;
// Objects never added to a database belong to their maker.
using Owned = std::unique_ptr<AcDbEntity>;

struct Pending {
    Owned main;
    std::vector<Owned> subs;
    Owned end;
    std::wstring subType; // ATTRIB or VERTEX
    AcDbObjectId space;   // where it goes outside a block definition
};

struct PendingBlock {
    std::wstring name;
    Adesk::Int16 flags = 0;
    AcGePoint3d origin;
    std::wstring path, comments;
    Chain xdata;
    std::vector<Pending> entities;
};

struct MakeState {
    std::optional<PendingBlock> block;
    std::optional<Pending> complex;
};

std::map<AcDbDatabase*, MakeState>& states() {
    static std::map<AcDbDatabase*, MakeState> m;
    return m;
}

// The state of a database; states of databases that are gone are dropped.
MakeState& stateOf(AcDbDatabase* db) {
    auto& m = states();
    const auto& live = liveDatabases();
    for (auto it = m.begin(); it != m.end();) {
        if (std::find(live.begin(), live.end(), it->first) == live.end())
            it = m.erase(it);
        else
            ++it;
    }
    return m[db];
}

std::wstring upper(const ACHAR* s) {
    std::wstring out = s ? s : L"";
    for (auto& c : out)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return out;
}

const resbuf* findGroup(const resbuf* rb, int code) {
    for (; rb; rb = rb->rbnext) {
        if (rb->restype == -3)
            return nullptr;
        if (rb->restype == code)
            return rb;
    }
    return nullptr;
}

int intGroup(const resbuf* data, int code, int dflt = 0) {
    const resbuf* rb = findGroup(data, code);
    if (!rb)
        return dflt;
    switch (rbKind(code)) {
    case RbKind::Short:
        return rb->resval.rint;
    case RbKind::Long:
        return rb->resval.rlong;
    default:
        return dflt;
    }
}

std::wstring stringGroup(const resbuf* data, int code) {
    const resbuf* rb = findGroup(data, code);
    return rb && rb->resval.rstring ? rb->resval.rstring : L"";
}

bool isCommonCode(int code) {
    static const int kCommon[] = {6, 8, 48, 60, 62, 284, 347, 370, 390, 420, 430, 440};
    return std::find(std::begin(kCommon), std::end(kCommon), code) != std::end(kCommon);
}

// The groups an object reads: without the name, type, handle, owner, groups of other
// applications in braces, paper space flag and layout (the maker decides where the object goes).
// A list without subclass markers gets the common entity groups first, as the classes read them.
// The extended data goes to xdata.
Chain fieldsOf(const resbuf* data, Chain& xdata) {
    std::vector<resbuf*> common, rest;
    bool markers = false;
    int braces = 0;
    bool ownerSeen = false;
    for (const resbuf* rb = data; rb; rb = rb->rbnext) {
        short code = rb->restype;
        if (code == -3) {
            xdata.reset(rbCopyChain(rb->rbnext));
            break;
        }
        if (code == 102) {
            std::wstring s = rb->resval.rstring ? rb->resval.rstring : L"";
            braces += (!s.empty() && s[0] == L'{') ? 1 : (s == L"}" ? -1 : 0);
            braces = std::max(braces, 0);
            continue;
        }
        if (braces > 0 || code == -1 || code == -2 || code == 0 || code == RTDXF0 || code == 5 ||
            code == 67 || code == 410)
            continue;
        if (code == 330 && !ownerSeen) {
            ownerSeen = true;
            continue;
        }
        markers = markers || code == 100;
        resbuf* copy = rbCopy(rb);
        copy->rbnext = nullptr;
        rest.push_back(copy);
    }
    if (!markers) {
        std::vector<resbuf*> other;
        for (resbuf* rb : rest)
            (isCommonCode(rb->restype) ? common : other).push_back(rb);
        rest.swap(other);
    }
    common.insert(common.end(), rest.begin(), rest.end());
    for (size_t i = 0; i < common.size(); ++i)
        common[i]->rbnext = i + 1 < common.size() ? common[i + 1] : nullptr;
    return Chain(common.empty() ? nullptr : common.front());
}

// A new object of a type, read from a list. Null when the type is unknown or the list does not
// make one. With entityOnly, only entities are made.
AcDbObject* buildObject(AcDbDatabase* db, const std::wstring& type, const resbuf* data,
                        bool entityOnly) {
    AcDbObject* o = nullptr;
    const ACHAR* cls = dxfEntityClass(type.c_str(), intGroup(data, 70), intGroup(data, 71));
    if (cls && *cls)
        o = createDbObject(cls);
    else if (!cls)
        o = createDbObject(type);
    bool hasEntityMarker = false;
    for (const resbuf* rb = data; rb && rb->restype != -3; rb = rb->rbnext)
        hasEntityMarker = hasEntityMarker || (rb->restype == 100 && rb->resval.rstring &&
                                              std::wstring(rb->resval.rstring) == L"AcDbEntity");
    if (!o && hasEntityMarker)
        o = new AcDbRawEntity(type.c_str()); // a kind the host does not model, kept as given
    if (!o)
        return nullptr;
    std::unique_ptr<AcDbObject> guard(o);
    bool entity = AcDbEntity::cast(o) != nullptr;
    if (entityOnly && !entity)
        return nullptr;
    if (entity && !checkEntityProperties(db, type, data))
        return nullptr;
    Chain xdata;
    Chain fields = fieldsOf(data, xdata);
    RbChainFiler filer(db, fields.get());
    if (o->dxfInFields(&filer) != Acad::eOk || filer.filerStatus() != Acad::eOk)
        return nullptr;
    if (xdata && (!appsRegistered(db, xdata.get()) || o->setXData(xdata.get()) != Acad::eOk))
        return nullptr;
    return guard.release();
}

// The block an entity goes to outside a block definition: the layout the list names, paper space
// for 67 1, else the current space.
AcDbObjectId spaceFor(AcDbDatabase* db, const resbuf* data) {
    std::wstring layout = stringGroup(data, 410);
    if (!layout.empty()) {
        AcDbDictionary* dict = nullptr;
        AcDbObjectId layoutId;
        if (db->getLayoutDictionary(dict, AcDb::kForRead) == Acad::eOk) {
            dict->getAt(layout.c_str(), layoutId);
            dict->close();
        }
        if (auto* l = AcDbLayout::cast(peekObject(layoutId)))
            return l->getBlockTableRecordId();
    }
    if (intGroup(data, 67) == 1 && !roleId(db, DbRole::PaperSpace).isNull())
        return roleId(db, DbRole::PaperSpace);
    return db->currentSpaceId();
}

// Adds a built entity (with its parts) to a block; the id of the main entity, null on failure.
AcDbObjectId place(AcDbDatabase* db, Pending& p, AcDbObjectId blockId) {
    AcDbBlockTableRecord* btr = nullptr;
    if (acdbOpenObject(btr, blockId, AcDb::kForWrite) != Acad::eOk)
        return {};
    AcDbObjectId id;
    Acad::ErrorStatus es = btr->appendAcDbEntity(id, p.main.get());
    btr->close();
    if (es != Acad::eOk)
        return {};
    AcDbEntity* main = p.main.release();
    auto addPart = [&](Owned& part) {
        // Parts the list gave no layer or linetype get the current ones, as entities do.
        if (part->layerId().isNull())
            part->setLayer(db->clayer());
        if (part->linetypeId().isNull())
            part->setLinetype(db->celtype());
        AcDbObjectId partId;
        if (db->addAcDbObject(partId, part.get()) != Acad::eOk)
            return;
        AcDbEntity* e = part.release();
        setOwnerRaw(e, id);
        linkSubEntity(id, partId);
        e->close();
    };
    for (Owned& sub : p.subs)
        addPart(sub);
    if (p.end)
        addPart(p.end);
    main->close();
    return id;
}

bool isLayoutName(const std::wstring& name) {
    std::wstring key = nameKey(name.c_str());
    return key == L"*MODEL_SPACE" || key.rfind(L"*PAPER_SPACE", 0) == 0;
}

int beginBlock(MakeState& st, const resbuf* data) {
    PendingBlock b;
    b.name = stringGroup(data, 2);
    b.flags = static_cast<Adesk::Int16>(intGroup(data, 70));
    if (const resbuf* rb = findGroup(data, 10))
        b.origin = AcGePoint3d(rb->resval.rpoint[0], rb->resval.rpoint[1], rb->resval.rpoint[2]);
    b.path = stringGroup(data, 1);
    b.comments = stringGroup(data, 4);
    bool anonymous = !b.name.empty() && b.name[0] == L'*' && (b.flags & 1);
    if (b.name.empty() || isLayoutName(b.name) ||
        (!anonymous && !isValidSymbolName(b.name.c_str(), false)))
        return RTREJ;
    if ((b.flags & 4) && b.path.empty())
        return RTREJ; // an external reference needs its file
    for (const resbuf* rb = data; rb; rb = rb->rbnext)
        if (rb->restype == -3) {
            b.xdata.reset(rbCopyChain(rb->rbnext));
            break;
        }
    st.block = std::move(b);
    return RTNORM;
}

std::wstring anonymousName(AcDbBlockTable* bt) {
    for (int n = 1;; ++n) {
        std::wstring name = L"*U" + std::to_wstring(n);
        if (!bt->has(name.c_str()))
            return name;
    }
}

int endBlock(AcDbDatabase* db, MakeState& st, AcDbObjectId& made, std::wstring* blockName) {
    PendingBlock b = std::move(*st.block);
    st.block.reset();
    AcDbBlockTable* bt = nullptr;
    if (db->getBlockTable(bt, AcDb::kForWrite) != Acad::eOk)
        return RTERROR;
    bool anonymous = b.name[0] == L'*' && (b.flags & 1);
    if (anonymous)
        b.name = anonymousName(bt);
    bool hasAttdefs = std::any_of(b.entities.begin(), b.entities.end(), [](const Pending& p) {
        return dxfTypeName(p.main.get()) == L"ATTDEF";
    });
    Adesk::Int16 flags = static_cast<Adesk::Int16>((b.flags & ~2) | (hasAttdefs ? 2 : 0));
    AcDbObjectId blockId;
    AcDbBlockTableRecord* btr = nullptr;
    if (!anonymous && bt->getAt(b.name.c_str(), blockId) == Acad::eOk) {
        // A block that exists is defined anew: its entities give way to the new ones.
        bt->close();
        if (acdbOpenObject(btr, blockId, AcDb::kForWrite) != Acad::eOk || btr->isLayout()) {
            if (btr)
                btr->close();
            return RTERROR;
        }
        for (AcDbObjectId e : btr->entityIds()) {
            AcDbEntity* ent = nullptr;
            if (acdbOpenObject(ent, e, AcDb::kForWrite) == Acad::eOk) {
                ent->erase();
                ent->close();
            }
        }
    } else {
        btr = new AcDbBlockTableRecord();
        Acad::ErrorStatus es = btr->setName(b.name.c_str());
        if (es == Acad::eOk)
            es = bt->add(blockId, btr);
        bt->close();
        if (es != Acad::eOk) {
            delete btr;
            return RTERROR;
        }
    }
    btr->setBlockFlags(flags);
    btr->setOrigin(b.origin);
    btr->setPathName(b.path.c_str());
    btr->setComments(b.comments.c_str());
    if (b.xdata)
        btr->setXData(b.xdata.get());
    btr->close();
    for (Pending& p : b.entities)
        place(db, p, blockId);
    made = blockId;
    if (blockName)
        *blockName = b.name;
    return RTNORM;
}

int makeRecord(AcDbDatabase* db, AcDbObject* o, AcDbObjectId& made) {
    std::unique_ptr<AcDbObject> guard(o);
    auto* rec = AcDbSymbolTableRecord::cast(o);
    AcDbObjectId tableId;
    if (AcDbLayerTableRecord::cast(rec))
        tableId = db->layerTableId();
    else if (AcDbLinetypeTableRecord::cast(rec))
        tableId = db->linetypeTableId();
    else if (AcDbTextStyleTableRecord::cast(rec))
        tableId = db->textStyleTableId();
    else if (AcDbRegAppTableRecord::cast(rec))
        tableId = db->regAppTableId();
    else if (AcDbDimStyleTableRecord::cast(rec))
        tableId = db->dimStyleTableId();
    else if (AcDbUCSTableRecord::cast(rec))
        tableId = db->UCSTableId();
    else if (AcDbViewTableRecord::cast(rec))
        tableId = db->viewTableId();
    else
        return RTREJ;
    AcDbSymbolTable* table = nullptr;
    if (acdbOpenObject(table, tableId, AcDb::kForWrite) != Acad::eOk)
        return RTERROR;
    const ACHAR* name = rec->name();
    if (!name || !*name || table->has(name)) {
        table->close();
        return RTREJ;
    }
    Acad::ErrorStatus es = table->add(made, rec);
    table->close();
    if (es != Acad::eOk)
        return RTREJ;
    guard.release();
    rec->close();
    return RTNORM;
}

int make(const resbuf* data, AcDbObjectId& made, std::wstring* blockName, bool ownerless) {
    made = AcDbObjectId::kNull;
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db || !data)
        return RTREJ;
    // The type is the first group, or the second after the entity name.
    const resbuf* typeRb = data;
    if (typeRb->restype == -1)
        typeRb = typeRb->rbnext;
    if (!typeRb || (typeRb->restype != 0 && typeRb->restype != RTDXF0) || !typeRb->resval.rstring)
        return RTREJ;
    std::wstring type = upper(typeRb->resval.rstring);
    MakeState& st = stateOf(db);

    if (st.complex) {
        if (type == L"SEQEND") {
            Pending p = std::move(*st.complex);
            st.complex.reset();
            if (AcDbObject* end = buildObject(db, type, data, true))
                p.end.reset(static_cast<AcDbEntity*>(end));
            if (st.block) {
                st.block->entities.push_back(std::move(p));
                return RTNORM;
            }
            made = place(db, p, p.space);
            return made.isNull() ? RTERROR : RTNORM;
        }
        AcDbObject* sub = type == st.complex->subType ? buildObject(db, type, data, true) : nullptr;
        if (!sub) {
            st.complex.reset(); // the whole complex entity is given up
            return RTREJ;
        }
        st.complex->subs.emplace_back(static_cast<AcDbEntity*>(sub));
        return RTNORM;
    }
    if (type == L"BLOCK") {
        st.block.reset();
        return beginBlock(st, data);
    }
    if (type == L"ENDBLK")
        return st.block ? endBlock(db, st, made, blockName) : RTREJ;
    if (type == L"ATTRIB" || type == L"VERTEX" || type == L"SEQEND")
        return RTREJ;

    // A block does not contain a reference to itself.
    if (st.block && type == L"INSERT" &&
        nameKey(stringGroup(data, 2).c_str()) == nameKey(st.block->name.c_str()))
        return RTREJ;
    AcDbObject* o = buildObject(db, type, data, false);
    if (!o)
        return RTREJ;
    if (AcDbSymbolTableRecord::cast(o))
        return st.block ? (delete o, RTREJ) : makeRecord(db, o, made);
    if (!AcDbEntity::cast(o)) {
        if (!ownerless) {
            delete o;
            return RTREJ;
        }
        if (db->addAcDbObject(made, o) != Acad::eOk) {
            delete o;
            return RTERROR;
        }
        o->close();
        return RTNORM;
    }
    Pending p;
    p.main.reset(static_cast<AcDbEntity*>(o));
    p.space = spaceFor(db, data);
    bool complex = type == L"POLYLINE" || (type == L"INSERT" && intGroup(data, 66) == 1);
    if (complex) {
        p.subType = type == L"POLYLINE" ? L"VERTEX" : L"ATTRIB";
        st.complex = std::move(p);
        return RTNORM;
    }
    if (st.block) {
        st.block->entities.push_back(std::move(p));
        return RTNORM;
    }
    made = place(db, p, p.space);
    return made.isNull() ? RTERROR : RTNORM;
}

} // namespace

int entMake(const resbuf* data, AcDbObjectId& made, std::wstring* blockName) {
    return make(data, made, blockName, false);
}

int entMakeX(const resbuf* data, AcDbObjectId& made) {
    return make(data, made, nullptr, true);
}

void entMakeReset() {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (db)
        states().erase(db);
}

} // namespace khost
