// The DXF filer, the fields of AcDbObject, the result-buffer filer and the registry of classes.
#include "dbimpl.h"

#include "acutads.h"
#include "dbents.h"
#include "dblayout.h"
#include "dbraw.h"
#include "dbxrecrd.h"

ACRX_DEFINE_MEMBERS_DXF(AcDbDxfFiler, AcRxObject, L"")

using namespace khost;

// ---- Writing and reading helpers ----------------------------------------------------------------

namespace {
resbuf makeRb(int code) {
    resbuf rb{};
    rb.restype = static_cast<short>(code);
    return rb;
}
} // namespace

#define KHOST_CHECK_KIND(CODE, KIND)                                                               \
    if (rbKind(CODE) != (KIND)) {                                                                  \
        setFilerStatus(Acad::eInvalidDxfCode);                                                     \
        return Acad::eInvalidDxfCode;                                                              \
    }

Acad::ErrorStatus AcDbDxfFiler::writeObjectId(AcDb::DxfCode code, const AcDbObjectId& id) {
    KHOST_CHECK_KIND(code, RbKind::Name)
    resbuf rb = makeRb(code);
    rb.resval.rlname[0] = id.asOldId();
    return writeResBuf(rb);
}
Acad::ErrorStatus AcDbDxfFiler::writeString(AcDb::DxfCode code, const ACHAR* s) {
    KHOST_CHECK_KIND(code, RbKind::String)
    resbuf rb = makeRb(code);
    rb.resval.rstring = const_cast<ACHAR*>(s ? s : L"");
    return writeResBuf(rb);
}
Acad::ErrorStatus AcDbDxfFiler::writeBool(AcDb::DxfCode code, bool v) {
    return writeInt16(code, v ? 1 : 0);
}
Acad::ErrorStatus AcDbDxfFiler::writeInt8(AcDb::DxfCode code, Adesk::Int8 v) {
    return writeInt16(code, v);
}
Acad::ErrorStatus AcDbDxfFiler::writeInt16(AcDb::DxfCode code, Adesk::Int16 v) {
    KHOST_CHECK_KIND(code, RbKind::Short)
    resbuf rb = makeRb(code);
    rb.resval.rint = v;
    return writeResBuf(rb);
}
Acad::ErrorStatus AcDbDxfFiler::writeInt32(AcDb::DxfCode code, Adesk::Int32 v) {
    KHOST_CHECK_KIND(code, RbKind::Long)
    resbuf rb = makeRb(code);
    rb.resval.rlong = v;
    return writeResBuf(rb);
}
Acad::ErrorStatus AcDbDxfFiler::writeInt64(AcDb::DxfCode code, Adesk::Int64 v) {
    KHOST_CHECK_KIND(code, RbKind::Int64)
    resbuf rb = makeRb(code);
    rb.resval.mnInt64 = v;
    return writeResBuf(rb);
}
Acad::ErrorStatus AcDbDxfFiler::writeHandle(AcDb::DxfCode code, const AcDbHandle& h) {
    std::wstring text = handleText(h.value());
    return writeString(code, text.c_str());
}
Acad::ErrorStatus AcDbDxfFiler::writeDouble(AcDb::DxfCode code, double v, int) {
    KHOST_CHECK_KIND(code, RbKind::Real)
    resbuf rb = makeRb(code);
    rb.resval.rreal = v;
    return writeResBuf(rb);
}
Acad::ErrorStatus AcDbDxfFiler::writePoint3d(AcDb::DxfCode code, const double p[3], int) {
    KHOST_CHECK_KIND(code, RbKind::Point)
    resbuf rb = makeRb(code);
    rb.resval.rpoint[0] = p[0];
    rb.resval.rpoint[1] = p[1];
    rb.resval.rpoint[2] = p[2];
    return writeResBuf(rb);
}
Acad::ErrorStatus AcDbDxfFiler::writePoint3d(AcDb::DxfCode code, const AcGePoint3d& p, int prec) {
    const double a[3] = {p.x, p.y, p.z};
    return writePoint3d(code, a, prec);
}
Acad::ErrorStatus AcDbDxfFiler::writeVector3d(AcDb::DxfCode code, const AcGeVector3d& v, int prec) {
    const double a[3] = {v.x, v.y, v.z};
    return writePoint3d(code, a, prec);
}
Acad::ErrorStatus AcDbDxfFiler::writeBinaryChunk(AcDb::DxfCode code, const char* data, short len) {
    KHOST_CHECK_KIND(code, RbKind::Binary)
    resbuf rb = makeRb(code);
    rb.resval.rbinary.clen = len;
    rb.resval.rbinary.buf = const_cast<char*>(data);
    return writeResBuf(rb);
}
Acad::ErrorStatus AcDbDxfFiler::writeEmbeddedObjectStart() {
    return writeString(AcDb::kDxfEmbeddedObjectStart, L"Embedded Object");
}

bool AcDbDxfFiler::atSubclassData(const ACHAR* subClassName) {
    resbuf rb{};
    if (readResBuf(&rb) != Acad::eOk)
        return false;
    bool match =
        rb.restype == AcDb::kDxfSubclass && nameKey(rb.resval.rstring) == nameKey(subClassName);
    rbFreeValue(&rb);
    if (!match)
        pushBackItem();
    return match;
}
bool AcDbDxfFiler::atExtendedData() {
    resbuf rb{};
    if (readResBuf(&rb) != Acad::eOk)
        return true;
    bool at = rb.restype == AcDb::kDxfRegAppName;
    rbFreeValue(&rb);
    pushBackItem();
    return at;
}
bool AcDbDxfFiler::atEndOfObject() {
    resbuf rb{};
    if (readResBuf(&rb) != Acad::eOk)
        return true;
    rbFreeValue(&rb);
    pushBackItem();
    return false;
}

namespace khost {

Acad::ErrorStatus readSubclass(AcDbDxfFiler* f, const std::function<bool(const resbuf&)>& fn,
                               bool stopAtUnknown) {
    resbuf rb{};
    while (f->readResBuf(&rb) == Acad::eOk) {
        if (rb.restype == AcDb::kDxfSubclass || rb.restype == AcDb::kDxfRegAppName ||
            rb.restype == 0) {
            rbFreeValue(&rb);
            f->pushBackItem();
            break;
        }
        bool taken = fn(rb);
        rbFreeValue(&rb);
        if (!taken && stopAtUnknown) {
            f->pushBackItem();
            break;
        }
    }
    return Acad::eOk;
}

Acad::ErrorStatus readSubclass(AcDbDxfFiler* f, const std::function<void(const resbuf&)>& fn) {
    return readSubclass(
        f,
        [&](const resbuf& rb) {
            fn(rb);
            return true;
        },
        false);
}

} // namespace khost

// ---- The fields of every object -----------------------------------------------------------------

Acad::ErrorStatus AcDbObject::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbHandle h;
    getAcDbHandle(h);
    if (!h.isNull())
        f->writeHandle(AcDb::kDxfHandle, h);
    if (m_extras && !m_extras->reactors.empty()) {
        f->writeString(AcDb::kDxfControlString, L"{ACAD_REACTORS");
        for (DbStub* s : m_extras->reactors)
            f->writeObjectId(AcDb::kDxfSoftPointerId, AcDbObjectId(s));
        f->writeString(AcDb::kDxfControlString, L"}");
    }
    if (m_extras && m_extras->xdict && !stubErased(m_extras->xdict)) {
        f->writeString(AcDb::kDxfControlString, L"{ACAD_XDICTIONARY");
        f->writeObjectId(AcDb::kDxfHardOwnershipId, AcDbObjectId(m_extras->xdict));
        f->writeString(AcDb::kDxfControlString, L"}");
    }
    f->writeObjectId(AcDb::kDxfSoftPointerId, ownerId());
    return f->filerStatus();
}

Acad::ErrorStatus AcDbObject::dxfInFields(AcDbDxfFiler* f) {
    resbuf rb{};
    enum { None, Reactors, XDict, Other } group = None;
    bool ownerRead = false;
    while (f->readResBuf(&rb) == Acad::eOk) {
        const short code = rb.restype;
        if (code == AcDb::kDxfControlString) {
            std::wstring s = rb.resval.rstring ? rb.resval.rstring : L"";
            rbFreeValue(&rb);
            if (s == L"}")
                group = None;
            else if (s == L"{ACAD_REACTORS")
                group = Reactors;
            else if (s == L"{ACAD_XDICTIONARY")
                group = XDict;
            else
                group = Other;
            continue;
        }
        if (group == Reactors && code == AcDb::kDxfSoftPointerId) {
            addPersistentReactor(rbId(rb));
        } else if (group == XDict && code == AcDb::kDxfHardOwnershipId) {
            DbAccess::extras(this).xdict = rbId(rb).stub();
        } else if (group == Other) {
            // Groups of other applications are not kept.
        } else if (code == AcDb::kDxfHandle || code == -1) {
            // The handle is the reader's business.
        } else if (code == AcDb::kDxfSoftPointerId && !ownerRead) {
            m_owner = rbId(rb).stub();
            ownerRead = true;
        } else {
            rbFreeValue(&rb);
            f->pushBackItem();
            break;
        }
        rbFreeValue(&rb);
    }
    return Acad::eOk;
}

// ---- The result-buffer filer --------------------------------------------------------------------

RbChainFiler::RbChainFiler(AcDbDatabase* db, AcDb::FilerType type) : m_db(db), m_type(type) {}
RbChainFiler::RbChainFiler(AcDbDatabase* db, const resbuf* input, AcDb::FilerType type)
    : m_db(db), m_type(type), m_next(input) {}
RbChainFiler::~RbChainFiler() {
    acutRelRb(m_head);
}

Acad::ErrorStatus RbChainFiler::readResBuf(resbuf* pRb) {
    if (m_pushedBack) {
        m_pushedBack = false;
    } else {
        if (!m_next)
            return Acad::eEndOfFile;
        m_last = m_next;
        m_next = m_next->rbnext;
    }
    resbuf* c = rbCopy(m_last);
    *pRb = *c;
    pRb->rbnext = nullptr;
    std::free(c);
    return Acad::eOk;
}

Acad::ErrorStatus RbChainFiler::pushBackItem() {
    if (!m_last || m_pushedBack)
        return Acad::eInvalidInput;
    m_pushedBack = true;
    return Acad::eOk;
}

bool RbChainFiler::atEOF() {
    return !m_pushedBack && !m_next;
}

Acad::ErrorStatus RbChainFiler::writeResBuf(const resbuf& rb) {
    resbuf* c = rbCopy(&rb);
    c->rbnext = nullptr;
    if (m_tail)
        m_tail->rbnext = c;
    else
        m_head = c;
    m_tail = c;
    return Acad::eOk;
}

resbuf* RbChainFiler::takeChain() {
    resbuf* h = m_head;
    m_head = m_tail = nullptr;
    return h;
}

// ---- Classes by name ----------------------------------------------------------------------------

namespace khost {
namespace {
struct ClassEntry {
    AcRxClass* cls;
    DbObjectFactory factory;
};
std::map<std::wstring, ClassEntry>& classes() {
    static std::map<std::wstring, ClassEntry> m;
    return m;
}
template <class T> AcDbObject* make() {
    return new T;
}
void ensureBuiltins() {
    static bool done = false;
    if (done)
        return;
    done = true;
    registerDbClass(AcDbLine::desc(), &make<AcDbLine>);
    registerEntityClasses();
    registerDbClass(AcDbDictionary::desc(), &make<AcDbDictionary>);
    registerDbClass(AcDbDictionaryWithDefault::desc(), &make<AcDbDictionaryWithDefault>);
    registerDbClass(AcDbXrecord::desc(), &make<AcDbXrecord>);
    registerDbClass(AcDbPlotSettings::desc(), &make<AcDbPlotSettings>);
    registerDbClass(AcDbLayout::desc(), &make<AcDbLayout>);
    registerDbClass(AcDbRawObject::desc(), &make<AcDbRawObject>);
    registerDbClass(AcDbRawEntity::desc(), &make<AcDbRawEntity>);
    registerDbClass(AcDbBlockTableRecord::desc(), &make<AcDbBlockTableRecord>);
    registerDbClass(AcDbLayerTableRecord::desc(), &make<AcDbLayerTableRecord>);
    registerDbClass(AcDbLinetypeTableRecord::desc(), &make<AcDbLinetypeTableRecord>);
    registerDbClass(AcDbTextStyleTableRecord::desc(), &make<AcDbTextStyleTableRecord>);
    registerDbClass(AcDbDimStyleTableRecord::desc(), &make<AcDbDimStyleTableRecord>);
    registerDbClass(AcDbUCSTableRecord::desc(), &make<AcDbUCSTableRecord>);
    registerDbClass(AcDbRegAppTableRecord::desc(), &make<AcDbRegAppTableRecord>);
    registerDbClass(AcDbViewTableRecord::desc(), &make<AcDbViewTableRecord>);
    registerDbClass(AcDbViewportTableRecord::desc(), &make<AcDbViewportTableRecord>);
    registerDbClass(AcDbBlockTable::desc(), &make<AcDbBlockTable>);
    registerDbClass(AcDbLayerTable::desc(), &make<AcDbLayerTable>);
    registerDbClass(AcDbLinetypeTable::desc(), &make<AcDbLinetypeTable>);
    registerDbClass(AcDbTextStyleTable::desc(), &make<AcDbTextStyleTable>);
    registerDbClass(AcDbDimStyleTable::desc(), &make<AcDbDimStyleTable>);
    registerDbClass(AcDbUCSTable::desc(), &make<AcDbUCSTable>);
    registerDbClass(AcDbRegAppTable::desc(), &make<AcDbRegAppTable>);
    registerDbClass(AcDbViewTable::desc(), &make<AcDbViewTable>);
    registerDbClass(AcDbViewportTable::desc(), &make<AcDbViewportTable>);
}
} // namespace

void registerDbClass(AcRxClass* cls, DbObjectFactory factory) {
    ensureBuiltins();
    classes()[cls->name()] = ClassEntry{cls, factory};
    std::wstring dxf = cls->dxfName();
    if (!dxf.empty() && dxf != L"TABLE")
        classes()[dxf] = ClassEntry{cls, factory};
}

AcDbObject* createDbObject(const std::wstring& name) {
    ensureBuiltins();
    auto it = classes().find(name);
    return it == classes().end() ? nullptr : it->second.factory();
}

AcRxClass* findDbClass(const std::wstring& name) {
    ensureBuiltins();
    auto it = classes().find(name);
    return it == classes().end() ? nullptr : it->second.cls;
}

} // namespace khost
