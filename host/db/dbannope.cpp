// The protocol extensions of annotative objects: the annotative flag in the extended data
// "AcadAnnotative", and the context data that an annotative entity keeps per annotation scale.
#include "dbannodata.h"

#include "acutads.h"
#include "dbimpl.h"
#include "dbmleaderstyle.h"
#include "dbraw.h"

#include <algorithm>
#include <cwchar>
#include <memory>

using namespace khost;

namespace khost {

namespace {

enum class Kind {
    None,
    Text,
    MText,
    BlockRef,
    MLeader,
    Leader,
    Hatch,
    Dimension,
    Fcf,
    Record,
    MLeaderStyle
};

Kind kindOf(const AcDbObject* obj) {
    if (!obj)
        return Kind::None;
    const std::wstring dxf = khostDxfName(obj);
    if (dxf == L"TEXT" || dxf == L"ATTDEF" || dxf == L"ATTRIB")
        return Kind::Text;
    if (dxf == L"MTEXT")
        return Kind::MText;
    if (dxf == L"INSERT")
        return Kind::BlockRef;
    if (dxf == L"MULTILEADER")
        return Kind::MLeader;
    if (dxf == L"LEADER")
        return Kind::Leader;
    if (dxf == L"HATCH")
        return Kind::Hatch;
    if (dxf == L"DIMENSION" || dxf == L"ARC_DIMENSION" || dxf == L"LARGE_RADIAL_DIMENSION")
        return Kind::Dimension;
    if (dxf == L"TOLERANCE")
        return Kind::Fcf;
    // Layouts and shape files cannot be annotative.
    if (const auto* btr = AcDbBlockTableRecord::cast(obj))
        return btr->isLayout() || btr->isFromExternalReference() ? Kind::None : Kind::Record;
    if (const auto* style = AcDbTextStyleTableRecord::cast(obj))
        return style->isShapeFile() ? Kind::None : Kind::Record;
    if (AcDbDimStyleTableRecord::cast(obj))
        return Kind::Record;
    if (AcDbMLeaderStyle::cast(obj))
        return Kind::MLeaderStyle;
    return Kind::None;
}

AcDbAnnotScaleObjectContextData* newContextData(Kind kind) {
    switch (kind) {
    case Kind::Text:
        return new AcDbTextObjectContextData;
    case Kind::MText:
        return new AcDbMTextObjectContextData;
    case Kind::BlockRef:
        return new AcDbBlkRefObjectContextData;
    case Kind::MLeader:
        return new AcDbMLeaderObjectContextData;
    case Kind::Leader:
        return new AcDbLeaderObjectContextData;
    case Kind::Hatch:
        return new AcDbHatchScaleContextData;
    case Kind::Dimension:
        return new AcDbAlignedDimensionObjectContextData;
    case Kind::Fcf:
        return new AcDbFcfObjectContextData;
    default:
        return nullptr;
    }
}

// ---- The kind's own data at a scale, taken from the object's present fields --------------------

struct Chain {
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    ~Chain() { acutRelRb(head); }
    void add(resbuf* rb) {
        (tail ? tail->rbnext : head) = rb;
        tail = rb;
    }
    void text(int code, const ACHAR* s) {
        resbuf* rb = acutNewRb(code);
        rbSetString(rb, s);
        add(rb);
    }
    void integer(int code, int v) {
        resbuf* rb = acutNewRb(code);
        rb->resval.rint = static_cast<short>(v);
        add(rb);
    }
    void real(int code, double v) {
        resbuf* rb = acutNewRb(code);
        rb->resval.rreal = v;
        add(rb);
    }
    void point(int code, const resbuf* from) {
        resbuf* rb = acutNewRb(code);
        for (int i = 0; i < 3; ++i)
            rb->resval.rpoint[i] = from ? from->resval.rpoint[i] : 0.0;
        add(rb);
    }
};

// The object's own fields as groups (the filer of entget).
struct Fields {
    resbuf* chain = nullptr;
    explicit Fields(const AcDbObject* obj) {
        RbChainFiler filer(obj->database());
        obj->dxfOutFields(&filer);
        chain = filer.takeChain();
    }
    ~Fields() { acutRelRb(chain); }
    const resbuf* find(int code) const {
        for (const resbuf* rb = chain; rb; rb = rb->rbnext)
            if (rb->restype == code)
                return rb;
        return nullptr;
    }
    double real(int code, double dflt) const {
        const resbuf* rb = find(code);
        return rb ? rb->resval.rreal : dflt;
    }
    int integer(int code, int dflt) const {
        const resbuf* rb = find(code);
        return rb ? rb->resval.rint : dflt;
    }
};

void fillKindData(Kind kind, const AcDbObject* obj, Chain& c) {
    Fields f(obj);
    switch (kind) {
    case Kind::Text:
        c.text(100, L"AcDbTextObjectContextData");
        c.integer(70, f.integer(72, 0));
        c.real(50, f.real(50, 0.0));
        c.point(10, f.find(10));
        c.point(11, f.find(11));
        break;
    case Kind::MText:
        c.text(100, L"AcDbMTextObjectContextData");
        c.integer(70, f.integer(71, 1));
        c.point(10, f.find(10));
        c.point(11, f.find(11));
        c.real(40, f.real(41, 0.0));
        c.real(41, f.real(46, 0.0));
        c.real(42, f.real(42, 0.0));
        c.real(43, f.real(43, 0.0));
        c.integer(71, 0);
        break;
    case Kind::BlockRef:
        c.text(100, L"AcDbBlkrefObjectContextData");
        c.real(50, f.real(50, 0.0));
        c.point(10, f.find(10));
        c.real(42, f.real(41, 1.0));
        c.real(43, f.real(42, 1.0));
        c.real(44, f.real(43, 1.0));
        break;
    default:
        break;
    }
}

// ---- Extended data ------------------------------------------------------------------------------

bool readFlag(const AcDbObject* obj) {
    resbuf* xd = obj->xData(kAnnotativeApp);
    bool on = false;
    bool inData = false;
    int ints = 0;
    for (const resbuf* rb = xd; rb; rb = rb->rbnext) {
        if (rb->restype == 1000 && rb->resval.rstring &&
            std::wcscmp(rb->resval.rstring, L"AnnotativeData") == 0)
            inData = true;
        else if (inData && rb->restype == 1070 && ++ints == 2) {
            on = rb->resval.rint == 1;
            break;
        }
    }
    acutRelRb(xd);
    return on;
}

Acad::ErrorStatus ensureRegApp(AcDbDatabase* db, const ACHAR* name) {
    if (!findRecord(db, DbRole::RegAppTable, name).isNull())
        return Acad::eOk;
    AcDbRegAppTable* table = nullptr;
    Acad::ErrorStatus es = db->getRegAppTable(table, AcDb::kForWrite);
    if (es != Acad::eOk)
        return es;
    auto* rec = new AcDbRegAppTableRecord;
    rec->setName(name);
    es = table->add(rec);
    if (es == Acad::eOk)
        rec->close();
    else
        delete rec;
    table->close();
    return es;
}

Acad::ErrorStatus writeFlag(AcDbObject* obj, AcDbDatabase* db, bool on) {
    Chain c;
    c.text(1001, kAnnotativeApp);
    if (on) {
        Acad::ErrorStatus es = ensureRegApp(db, kAnnotativeApp);
        if (es != Acad::eOk)
            return es;
        c.text(1000, L"AnnotativeData");
        c.text(1002, L"{");
        c.integer(1070, 1);
        c.integer(1070, 1);
        c.text(1002, L"}");
    } else if (findRecord(db, DbRole::RegAppTable, kAnnotativeApp).isNull()) {
        return Acad::eOk; // nothing was ever written
    }
    // A part with the application's name alone removes its data.
    return obj->setXData(c.head);
}

// ---- The context data dictionaries ------------------------------------------------------------

AcDbDictionary* peekDict(AcDbObjectId id) {
    return id.isNull() || id.isErased() ? nullptr : AcDbDictionary::cast(peekObject(id));
}

AcDbObjectId entryOf(AcDbDictionary* dict, const ACHAR* key) {
    AcDbObjectId id;
    if (dict)
        dict->getAt(key, id);
    return id;
}

// Opens (creating on the way) the dictionary of the object's scale contexts for write.
Acad::ErrorStatus openScalesDict(AcDbObject* obj, AcDbDictionary*& out) {
    out = nullptr;
    if (obj->extensionDictionary().isNull()) {
        Acad::ErrorStatus es = obj->createExtensionDictionary();
        if (es != Acad::eOk)
            return es;
    }
    AcDbDictionary* parent = nullptr;
    Acad::ErrorStatus es = acdbOpenObject(parent, obj->extensionDictionary(), AcDb::kForWrite);
    if (es != Acad::eOk)
        return es;
    for (const ACHAR* key : {kContextDataManager, ACDB_ANNOTATIONSCALES_COLLECTION}) {
        AcDbObjectId childId = entryOf(parent, key);
        AcDbDictionary* child = nullptr;
        if (childId.isNull()) {
            child = new AcDbDictionary;
            child->setTreatElementsAsHard(true);
            es = parent->setAt(key, child, childId);
            if (es != Acad::eOk) {
                delete child;
                parent->close();
                return es;
            }
        } else {
            es = acdbOpenObject(child, childId, AcDb::kForWrite);
            if (es != Acad::eOk) {
                parent->close();
                return es;
            }
        }
        parent->close();
        parent = child;
    }
    out = parent;
    return Acad::eOk;
}

// Opens an existing dictionary of the object's scale contexts for write, or gives null.
Acad::ErrorStatus openExistingScalesDict(const AcDbObject* obj, AcDbDictionary*& out) {
    out = nullptr;
    AcDbDictionary* manager = peekDict(obj->extensionDictionary());
    manager = peekDict(entryOf(manager, kContextDataManager));
    AcDbObjectId id = entryOf(manager, ACDB_ANNOTATIONSCALES_COLLECTION);
    if (id.isNull() || id.isErased())
        return Acad::eOk;
    return acdbOpenObject(out, id, AcDb::kForWrite);
}

Acad::ErrorStatus eraseById(AcDbObjectId id) {
    AcDbObject* o = nullptr;
    Acad::ErrorStatus es = acdbOpenObject(o, id, AcDb::kForWrite);
    if (es != Acad::eOk)
        return es;
    es = o->erase();
    o->close();
    return es;
}

Acad::ErrorStatus setDefault(AcDbObjectId id, bool on) {
    AcDbObjectContextData* d = nullptr;
    Acad::ErrorStatus es = acdbOpenObject(d, id, AcDb::kForWrite);
    if (es != Acad::eOk)
        return es;
    es = d->setIsDefault(on);
    d->close();
    return es;
}

// Removes every scale context of the object and the dictionaries that held them.
Acad::ErrorStatus removeAllContexts(AcDbObject* obj) {
    AcDbDictionary* scales = nullptr;
    Acad::ErrorStatus es = openExistingScalesDict(obj, scales);
    if (es != Acad::eOk || !scales)
        return es;
    for (auto& [key, data] : contextDataOf(obj)) {
        const AcDbObjectId id = data->objectId();
        scales->remove(key.c_str());
        eraseById(id);
    }
    const AcDbObjectId scalesId = scales->objectId();
    const AcDbObjectId managerId = scales->ownerId();
    scales->close();
    AcDbDictionary* manager = nullptr;
    es = acdbOpenObject(manager, managerId, AcDb::kForWrite);
    if (es != Acad::eOk)
        return es;
    manager->remove(scalesId);
    manager->close();
    return eraseById(scalesId);
}

// ---- The protocol extensions ------------------------------------------------------------------

Acad::ErrorStatus checkedForWrite(AcDbObject* obj, AcDbDatabase*& db) {
    if (!obj)
        return Acad::eNullObjectPointer;
    if (!obj->isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (kindOf(obj) == Kind::None)
        return Acad::eNotApplicable;
    db = obj->database();
    return db ? Acad::eOk : Acad::eNoDatabase;
}

class ContextInterface : public AcDbObjectContextInterface {
public:
    bool supportsCollection(const AcDbObject* obj, const AcString& name) const override {
        return keepsContexts(obj) && name == AcString(ACDB_ANNOTATIONSCALES_COLLECTION);
    }
    bool hasContext(const AcDbObject* obj, const AcDbObjectContext& context) const override {
        if (!keepsContexts(obj) || !obj->database())
            return false;
        AcDbScale* scale = scaleOfContext(obj->database(), context);
        if (!scale)
            return false;
        for (auto& [key, data] : contextDataOf(obj))
            if (data->scaleId() == scale->objectId())
                return true;
        return false;
    }
    Acad::ErrorStatus addContext(AcDbObject* obj, const AcDbObjectContext& context) const override {
        AcDbDatabase* db = nullptr;
        Acad::ErrorStatus es = checkedForWrite(obj, db);
        if (es != Acad::eOk)
            return es;
        if (!keepsContexts(obj) || !readFlag(obj))
            return Acad::eNotApplicable;
        if (!AcDbAnnotationScale::cast(&context))
            return Acad::eWrongObjectType;
        AcDbScale* scale = scaleOfContext(db, context);
        if (!scale)
            return Acad::eKeyNotFound;
        const auto present = contextDataOf(obj);
        long next = 1;
        for (auto& [key, data] : present) {
            if (data->scaleId() == scale->objectId())
                return Acad::eOk;
            if (key.size() > 2 && key[0] == L'*')
                next = std::max(next, std::wcstol(key.c_str() + 2, nullptr, 10) + 1);
        }
        AcDbDictionary* scales = nullptr;
        es = openScalesDict(obj, scales);
        if (es != Acad::eOk)
            return es;
        const Kind kind = kindOf(obj);
        AcDbAnnotScaleObjectContextData* data = newContextData(kind);
        data->setScaleId(scale->objectId());
        data->setIsDefault(present.empty());
        Chain c;
        fillKindData(kind, obj, c);
        data->setKindData(c.head);
        AcDbObjectId id;
        es = scales->setAt((L"*A" + std::to_wstring(next)).c_str(), data, id);
        if (es == Acad::eOk)
            data->close();
        else
            delete data;
        scales->close();
        return es;
    }
    Acad::ErrorStatus removeContext(AcDbObject* obj,
                                    const AcDbObjectContext& context) const override {
        AcDbDatabase* db = nullptr;
        Acad::ErrorStatus es = checkedForWrite(obj, db);
        if (es != Acad::eOk)
            return es;
        AcDbScale* scale = scaleOfContext(db, context);
        if (!scale)
            return Acad::eKeyNotFound;
        const auto present = contextDataOf(obj);
        auto it = std::find_if(present.begin(), present.end(),
                               [&](auto& e) { return e.second->scaleId() == scale->objectId(); });
        if (it == present.end())
            return Acad::eKeyNotFound;
        // An annotative object keeps at least one scale.
        if (present.size() == 1)
            return Acad::eInvalidInput;
        const bool wasDefault = it->second->isDefaultContextData();
        const AcDbObjectId id = it->second->objectId();
        AcDbDictionary* scales = nullptr;
        es = openExistingScalesDict(obj, scales);
        if (es != Acad::eOk)
            return es;
        es = scales->remove(it->first.c_str());
        scales->close();
        if (es == Acad::eOk)
            es = eraseById(id);
        if (es == Acad::eOk && wasDefault) {
            const auto rest = contextDataOf(obj);
            if (!rest.empty())
                es = setDefault(rest.front().second->objectId(), true);
        }
        return es;
    }
};

ContextInterface g_contexts;

class AnnotativePE : public AcDbAnnotativeObjectPE {
public:
    bool annotative(AcDbObject* obj) const override {
        if (const auto* style = AcDbMLeaderStyle::cast(obj))
            return style->annotative();
        return obj && kindOf(obj) != Kind::None && readFlag(obj);
    }
    Acad::ErrorStatus setAnnotative(AcDbObject* obj, const bool on) override {
        AcDbDatabase* db = nullptr;
        Acad::ErrorStatus es = checkedForWrite(obj, db);
        if (es != Acad::eOk)
            return es;
        // A multileader style keeps the flag in its own fields.
        if (auto* style = AcDbMLeaderStyle::cast(obj))
            return style->setAnnotative(on);
        if (!on) {
            es = writeFlag(obj, db, false);
            if (es == Acad::eOk && keepsContexts(obj))
                es = removeAllContexts(obj);
            return es;
        }
        es = writeFlag(obj, db, true);
        // A new annotative entity supports the current scale.
        if (es == Acad::eOk && keepsContexts(obj) && contextDataOf(obj).empty()) {
            std::unique_ptr<AcDbAnnotationScale> current(db->cannoscale());
            if (current)
                es = g_contexts.addContext(obj, *current);
        }
        return es;
    }
    Acad::ErrorStatus resetScaleDependentProperties(AcDbObject* obj) override {
        return obj ? Acad::eOk : Acad::eNullObjectPointer;
    }
};

AnnotativePE g_annotative;

[[maybe_unused]] const bool kRegistered = [] {
    for (const wchar_t* cls :
         {L"AcDbText", L"AcDbMText", L"AcDbBlockReference", L"AcDbMLeader", L"AcDbLeader",
          L"AcDbHatch", L"AcDbDimension", L"AcDbFcf", L"AcDbRawEntity"}) {
        addProtocolExtension(cls, AcDbAnnotativeObjectPE::desc(), &g_annotative);
        addProtocolExtension(cls, AcDbObjectContextInterface::desc(), &g_contexts);
    }
    for (const wchar_t* cls : {L"AcDbBlockTableRecord", L"AcDbTextStyleTableRecord",
                               L"AcDbDimStyleTableRecord", L"AcDbMLeaderStyle"})
        addProtocolExtension(cls, AcDbAnnotativeObjectPE::desc(), &g_annotative);
    return true;
}();

} // namespace

bool annotativeKind(const AcDbObject* obj) {
    return kindOf(obj) != Kind::None;
}

bool keepsContexts(const AcDbObject* obj) {
    const Kind k = kindOf(obj);
    return k != Kind::None && k != Kind::Record && k != Kind::MLeaderStyle;
}

std::vector<std::pair<std::wstring, AcDbAnnotScaleObjectContextData*>>
contextDataOf(const AcDbObject* obj) {
    std::vector<std::pair<std::wstring, AcDbAnnotScaleObjectContextData*>> out;
    if (!obj)
        return out;
    AcDbDictionary* dict = peekDict(obj->extensionDictionary());
    dict = peekDict(entryOf(dict, kContextDataManager));
    dict = peekDict(entryOf(dict, ACDB_ANNOTATIONSCALES_COLLECTION));
    if (!dict)
        return out;
    std::unique_ptr<AcDbDictionaryIterator> it(dict->newIterator());
    for (; !it->done(); it->next())
        if (auto* d = AcDbAnnotScaleObjectContextData::cast(peekObject(it->objectId())))
            out.emplace_back(it->name(), d);
    return out;
}

bool scaleInUse(AcDbDatabase* db, AcDbObjectId scaleId) {
    bool used = false;
    forEachObject(db, [&](AcDbObjectId id) {
        if (used || id.isErased())
            return;
        auto* d = AcDbAnnotScaleObjectContextData::cast(peekObject(id));
        if (!d || d->scaleId() != scaleId)
            return;
        // Data of an object that is gone does not count: the chain of owners up to the object
        // (scales dictionary, manager, extension dictionary, object) must be alive.
        AcDbObjectId owner = d->ownerId();
        for (int level = 0; level < 4; ++level) {
            if (owner.isNull() || owner.isErased())
                return;
            AcDbObject* o = peekObject(owner);
            if (!o)
                return;
            owner = o->ownerId();
        }
        used = true;
    });
    return used;
}

} // namespace khost
