// The transaction manager: nested transactions over acdbOpenObject, closing at the end and
// restoring saved fields at an abort.
#include "actrans.h"
#include "dbhost.h"
#include "dbimpl.h"

#include "acutads.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace khost;

ACRX_DEFINE_MEMBERS(AcTransaction, AcRxObject)
ACRX_DEFINE_MEMBERS(AcDbTransactionManager, AcRxObject)
ACRX_DEFINE_MEMBERS(AcTransactionManager, AcDbTransactionManager)

namespace {

struct ChainDeleter {
    void operator()(resbuf* rb) const { acutRelRb(rb); }
};
using Chain = std::unique_ptr<resbuf, ChainDeleter>;

// The state of an object before a transaction changed it.
struct Saved {
    AcDbObject* obj = nullptr;
    Chain fields;
    Chain xdata;
    bool erased = false;
    bool created = false; // added to the database inside the transaction: erased at an abort
};

// The fields as dxfInFields takes them back into the same object: without the handle, the
// application data groups (reactors, extension dictionary) and the owner, which stay as they are.
Chain restorableFields(const AcDbObject* obj) {
    RbChainFiler out(obj->database());
    obj->dxfOutFields(&out);
    Chain written(out.takeChain());
    resbuf* head = nullptr;
    resbuf** tail = &head;
    bool ownerSeen = false;
    int braces = 0;
    for (const resbuf* rb = written.get(); rb; rb = rb->rbnext) {
        if (rb->restype == 102) {
            const std::wstring s = rb->resval.rstring ? rb->resval.rstring : L"";
            braces =
                std::max(0, braces + ((!s.empty() && s[0] == L'{') ? 1 : (s == L"}" ? -1 : 0)));
            continue;
        }
        if (braces > 0 || rb->restype == 5)
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

} // namespace

struct AcTransaction::Impl {
    AcDbTransactionManager* mgr = nullptr;
    std::vector<AcDbObject*> objects; // first obtained in this transaction, in order
    std::vector<Saved> saved;         // in the order they were taken

    bool holds(const AcDbObject* o) const {
        return std::find(objects.begin(), objects.end(), o) != objects.end();
    }
    bool hasSaved(const AcDbObject* o) const {
        return std::any_of(saved.begin(), saved.end(), [o](const Saved& s) { return s.obj == o; });
    }
    void save(AcDbObject* o, bool created) {
        if (hasSaved(o))
            return;
        Saved s;
        s.obj = o;
        s.created = created;
        if (!created) {
            s.fields = restorableFields(o);
            s.xdata.reset(o->xData());
            s.erased = o->isErased();
        }
        saved.push_back(std::move(s));
    }
};

struct AcDbTransactionManager::Impl {
    std::vector<AcTransaction*> stack;

    // The transaction that holds the object, or null.
    AcTransaction* holder(const AcDbObject* o) const {
        for (AcTransaction* t : stack)
            if (t->m_impl->holds(o))
                return t;
        return nullptr;
    }
    AcDbObject* find(AcDbObjectId id, AcTransaction*& owner) const {
        for (AcTransaction* t : stack)
            for (AcDbObject* o : t->m_impl->objects)
                if (o->objectId() == id) {
                    owner = t;
                    return o;
                }
        owner = nullptr;
        return nullptr;
    }
};

// ---- AcTransaction ------------------------------------------------------------------------

AcTransaction::AcTransaction(AcDbTransactionManager* mgr) : m_impl(new Impl) {
    m_impl->mgr = mgr;
}

AcTransaction::~AcTransaction() {
    delete m_impl;
}

Acad::ErrorStatus AcTransaction::getObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                           bool openErasedObject) {
    obj = nullptr;
    AcDbTransactionManager::Impl& mi = *m_impl->mgr->m_impl;
    if (mi.stack.empty() || mi.stack.back() != this)
        return Acad::eNotTopTransaction;
    if (id.isNull())
        return Acad::eNullObjectId;
    AcTransaction* owner = nullptr;
    AcDbObject* o = mi.find(id, owner);
    if (o && !o->isReadEnabled()) {
        // Closed behind the transaction's back: reported, then obtained afresh.
        noteError(L"close of object obtained through a transaction: " + describe(o));
        auto& objs = owner->m_impl->objects;
        objs.erase(std::find(objs.begin(), objs.end(), o));
        o = nullptr;
    }
    if (o) {
        if (o->isErased() && !openErasedObject)
            return Acad::eWasErased;
        if (mode == AcDb::kForWrite && !o->isWriteEnabled()) {
            const Acad::ErrorStatus es = o->upgradeOpen();
            if (es != Acad::eOk)
                return es;
        }
    } else {
        const Acad::ErrorStatus es = acdbOpenObject(o, id, mode, openErasedObject);
        if (es != Acad::eOk)
            return es;
        m_impl->objects.push_back(o);
    }
    if (mode == AcDb::kForWrite)
        m_impl->save(o, false);
    obj = o;
    return Acad::eOk;
}

Acad::ErrorStatus AcTransaction::markObjectPageable(AcDbObject* pObject) {
    return pObject ? Acad::eOk : Acad::eNullObjectPointer;
}

Acad::ErrorStatus AcTransaction::getAllObjects(AcArray<AcDbObject*>& objs) {
    objs.setLogicalLength(0);
    for (AcDbObject* o : m_impl->objects)
        objs.append(o);
    return Acad::eOk;
}

AcDbTransactionManager* AcTransaction::transactionManager() const {
    return m_impl->mgr;
}

// ---- AcDbTransactionManager ---------------------------------------------------------------

AcDbTransactionManager::AcDbTransactionManager() : m_impl(new Impl) {}

AcDbTransactionManager::~AcDbTransactionManager() {
    for (AcTransaction* t : m_impl->stack)
        delete t;
    delete m_impl;
}

AcTransaction* AcDbTransactionManager::startTransaction() {
    auto* t = new AcTransaction(this);
    m_impl->stack.push_back(t);
    return t;
}

Acad::ErrorStatus AcDbTransactionManager::endTransaction() {
    if (m_impl->stack.empty())
        return Acad::eNoActiveTransactions;
    AcTransaction* top = m_impl->stack.back();
    m_impl->stack.pop_back();
    AcTransaction::Impl& ti = *top->m_impl;
    if (!m_impl->stack.empty()) {
        // The transaction around it takes the objects over, and the saved states it lacks.
        AcTransaction::Impl& outer = *m_impl->stack.back()->m_impl;
        for (AcDbObject* o : ti.objects)
            outer.objects.push_back(o);
        for (Saved& s : ti.saved)
            if (!outer.hasSaved(s.obj))
                outer.saved.push_back(std::move(s));
    } else {
        for (AcDbObject* o : ti.objects) {
            if (o->isReadEnabled())
                o->close();
            else
                noteError(L"close of object obtained through a transaction: " + describe(o));
        }
    }
    delete top;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTransactionManager::abortTransaction() {
    if (m_impl->stack.empty())
        return Acad::eNoActiveTransactions;
    AcTransaction* top = m_impl->stack.back();
    AcTransaction::Impl& ti = *top->m_impl;
    for (auto it = ti.saved.rbegin(); it != ti.saved.rend(); ++it) {
        AcDbObject* o = it->obj;
        if (!o->isWriteEnabled())
            continue; // closed behind the transaction's back: nothing can be written to it
        if (it->created) {
            if (!o->isErased())
                o->erase(true);
            continue;
        }
        if (o->isErased() != it->erased)
            o->erase(it->erased);
        // The saved fields leave out what has its default value; the entity's general
        // properties go back to their defaults first, so that those come back too.
        if (auto* e = AcDbEntity::cast(o)) {
            e->setColorIndex(256, false);
            if (AcDbDatabase* db = e->database())
                e->setLinetype(db->byLayerLinetype(), false);
            e->setLineWeight(AcDb::kLnWtByLayer, false);
            e->setLinetypeScale(1.0, false);
            e->setVisibility(AcDb::kVisible, false);
        }
        RbChainFiler in(o->database(), it->fields.get());
        o->dxfInFields(&in);
        // The sub-entities that share their owner's properties (a polyline's vertices) follow
        // it back.
        if (auto* e = AcDbEntity::cast(o)) {
            e->setLayer(e->layerId(), true);
            e->setColor(e->color(), true);
            e->setLinetype(e->linetypeId(), true);
            e->setLineWeight(e->lineWeight(), true);
            e->setLinetypeScale(e->linetypeScale(), true);
            e->setVisibility(e->visibility(), true);
        }
        resbuf* now = o->xData();
        // Applications that came in during the transaction lose their data again.
        for (resbuf* rb = now; rb; rb = rb->rbnext) {
            if (rb->restype != 1001 || !rb->resval.rstring)
                continue;
            bool before = false;
            for (const resbuf* b = it->xdata.get(); b && !before; b = b->rbnext)
                before = b->restype == 1001 && b->resval.rstring &&
                         std::wstring(b->resval.rstring) == rb->resval.rstring;
            if (!before) {
                resbuf* only = acutNewRb(1001);
                rbSetString(only, rb->resval.rstring);
                o->setXData(only);
                acutRelRb(only);
            }
        }
        acutRelRb(now);
        if (it->xdata)
            o->setXData(it->xdata.get());
    }
    m_impl->stack.pop_back();
    for (AcDbObject* o : ti.objects) {
        if (o->isReadEnabled())
            o->close();
        else
            noteError(L"close of object obtained through a transaction: " + describe(o));
    }
    delete top;
    return Acad::eOk;
}

int AcDbTransactionManager::numActiveTransactions() {
    return static_cast<int>(m_impl->stack.size());
}

AcTransaction* AcDbTransactionManager::topTransaction() {
    return m_impl->stack.empty() ? nullptr : m_impl->stack.back();
}

Acad::ErrorStatus AcDbTransactionManager::addNewlyCreatedDBRObject(AcDbObject* obj, bool add) {
    if (!obj)
        return Acad::eNullObjectPointer;
    if (m_impl->stack.empty())
        return Acad::eNoActiveTransactions;
    if (!obj->isDatabaseResident())
        return Acad::eNotInDatabase;
    AcTransaction* holder = m_impl->holder(obj);
    if (!add) {
        if (!holder)
            return Acad::eNotInDatabase;
        auto& objs = holder->m_impl->objects;
        objs.erase(std::find(objs.begin(), objs.end(), obj));
        for (AcTransaction* t : m_impl->stack) {
            auto& saved = t->m_impl->saved;
            saved.erase(std::remove_if(saved.begin(), saved.end(),
                                       [obj](const Saved& s) { return s.obj == obj; }),
                        saved.end());
        }
        return Acad::eOk;
    }
    if (!obj->isReadEnabled())
        return Acad::eInvalidOpenState;
    if (holder)
        return Acad::eOk;
    AcTransaction::Impl& ti = *m_impl->stack.back()->m_impl;
    ti.objects.push_back(obj);
    ti.save(obj, true);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTransactionManager::getAllObjects(AcArray<AcDbObject*>& objs) {
    objs.setLogicalLength(0);
    for (AcTransaction* t : m_impl->stack)
        for (AcDbObject* o : t->m_impl->objects)
            objs.append(o);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTransactionManager::getObject(AcDbObject*& obj, AcDbObjectId id,
                                                    AcDb::OpenMode mode, bool openErasedObj) {
    obj = nullptr;
    if (m_impl->stack.empty())
        return Acad::eNoActiveTransactions;
    return m_impl->stack.back()->getObject(obj, id, mode, openErasedObj);
}

int AcDbTransactionManager::numOpenedObjects() {
    int n = 0;
    for (AcTransaction* t : m_impl->stack)
        n += static_cast<int>(t->m_impl->objects.size());
    return n;
}

// ---- AcTransactionManager -----------------------------------------------------------------

Acad::ErrorStatus AcTransactionManager::enableGraphicsFlush(bool) {
    return Acad::eOk;
}

void AcTransactionManager::flushGraphics() {}

Acad::ErrorStatus AcTransactionManager::queueForGraphicsFlush() {
    return Acad::eOk;
}

AcTransactionManager* acTransactionManagerPtr() {
    static AcTransactionManager mgr;
    return &mgr;
}

AcDbTransactionManager* acdbTransactionManagerPtr() {
    return acTransactionManagerPtr();
}

int khost::abortTransactionsAbove(int keep) {
    AcDbTransactionManager* tm = acdbTransactionManagerPtr();
    int n = 0;
    while (tm->numActiveTransactions() > std::max(keep, 0)) {
        noteError(L"transaction left active");
        tm->abortTransaction();
        ++n;
    }
    return n;
}
