// Dynamic blocks: evaluation variants, the extended data of definitions, members and references,
// and the reference wrappers. The redrawing of references is in dbdynblk_eval.cpp.
#include "dbdynblk.h"

#include "acutads.h"
#include "dbaddrec.h"
#include "dbblkref.h"
#include "dbdynblk_impl.h"
#include "dbimpl.h"
#include "textconv.h"

#include <cmath>
#include <cstring>
#include <memory>

const ACHAR* const khost::kDynBlockApp = L"KHOST_DYNBLOCK";

// ---- AcDbEvalVariant ------------------------------------------------------------------------

ACRX_DEFINE_MEMBERS(AcDbEvalVariant, AcRxObject);

namespace {

resbuf* asRb(AcDbEvalVariant* v) {
    return static_cast<resbuf*>(v);
}

void resetRb(resbuf* rb, short type) {
    khost::rbFreeValue(rb);
    std::memset(&rb->resval, 0, sizeof(rb->resval));
    rb->restype = type;
    rb->rbnext = nullptr;
}

} // namespace

AcDbEvalVariant::AcDbEvalVariant() : resbuf() {
    restype = RTNONE;
}
AcDbEvalVariant::AcDbEvalVariant(const AcDbEvalVariant& other) : AcDbEvalVariant() {
    *this = other;
}
AcDbEvalVariant::AcDbEvalVariant(const AcDbEvalVariant* pOther) : AcDbEvalVariant() {
    if (pOther)
        *this = *pOther;
}
AcDbEvalVariant::AcDbEvalVariant(double dVal) : AcDbEvalVariant() {
    *this = dVal;
}
AcDbEvalVariant::AcDbEvalVariant(short iVal) : AcDbEvalVariant() {
    *this = iVal;
}
AcDbEvalVariant::AcDbEvalVariant(long lVal) : AcDbEvalVariant() {
    *this = lVal;
}
AcDbEvalVariant::AcDbEvalVariant(const ACHAR* szVal) : AcDbEvalVariant() {
    *this = szVal;
}
AcDbEvalVariant::AcDbEvalVariant(const AcGePoint2d& pt) : AcDbEvalVariant() {
    *this = pt;
}
AcDbEvalVariant::AcDbEvalVariant(const AcGePoint3d& pt) : AcDbEvalVariant() {
    *this = pt;
}
AcDbEvalVariant::AcDbEvalVariant(const resbuf& rb) : AcDbEvalVariant() {
    switch (khost::rbKind(rb.restype)) {
    case khost::RbKind::Real:
        *this = rb.resval.rreal;
        break;
    case khost::RbKind::Short:
        *this = rb.resval.rint;
        break;
    case khost::RbKind::Long:
        *this = static_cast<long>(rb.resval.rlong);
        break;
    case khost::RbKind::String:
        *this = rb.resval.rstring ? rb.resval.rstring : L"";
        break;
    case khost::RbKind::Point:
        if (rb.restype == RTPOINT)
            *this = AcGePoint2d(rb.resval.rpoint[0], rb.resval.rpoint[1]);
        else
            *this = AcGePoint3d(rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]);
        break;
    default:
        break;
    }
}

AcDbEvalVariant::~AcDbEvalVariant() {
    khost::rbFreeValue(asRb(this));
}

AcDbEvalVariant& AcDbEvalVariant::operator=(const AcDbEvalVariant& other) {
    if (this == &other)
        return *this;
    resetRb(asRb(this), other.restype);
    if (other.restype == RTSTR)
        khost::rbSetString(asRb(this), other.resval.rstring ? other.resval.rstring : L"");
    else
        resval = other.resval;
    return *this;
}
AcDbEvalVariant& AcDbEvalVariant::operator=(double dVal) {
    resetRb(asRb(this), RTREAL);
    resval.rreal = dVal;
    return *this;
}
AcDbEvalVariant& AcDbEvalVariant::operator=(short iVal) {
    resetRb(asRb(this), RTSHORT);
    resval.rint = iVal;
    return *this;
}
AcDbEvalVariant& AcDbEvalVariant::operator=(long lVal) {
    resetRb(asRb(this), RTLONG);
    resval.rlong = static_cast<std::int32_t>(lVal);
    return *this;
}
AcDbEvalVariant& AcDbEvalVariant::operator=(const ACHAR* szVal) {
    resetRb(asRb(this), RTSTR);
    khost::rbSetString(asRb(this), szVal ? szVal : L"");
    return *this;
}
AcDbEvalVariant& AcDbEvalVariant::operator=(const AcGePoint3d& pt) {
    resetRb(asRb(this), RT3DPOINT);
    resval.rpoint[0] = pt.x;
    resval.rpoint[1] = pt.y;
    resval.rpoint[2] = pt.z;
    return *this;
}
AcDbEvalVariant& AcDbEvalVariant::operator=(const AcGePoint2d& pt) {
    resetRb(asRb(this), RTPOINT);
    resval.rpoint[0] = pt.x;
    resval.rpoint[1] = pt.y;
    return *this;
}

void AcDbEvalVariant::clear() {
    resetRb(asRb(this), RTNONE);
}

Acad::ErrorStatus AcDbEvalVariant::copyFrom(const AcRxObject* pOther) {
    const AcDbEvalVariant* v = AcDbEvalVariant::cast(pOther);
    if (!v)
        return Acad::eWrongObjectType;
    *this = *v;
    return Acad::eOk;
}

bool AcDbEvalVariant::operator==(const AcDbEvalVariant& o) const {
    if (restype != o.restype)
        return false;
    switch (restype) {
    case RTREAL:
        return std::fabs(resval.rreal - o.resval.rreal) <= 1e-10;
    case RTSHORT:
        return resval.rint == o.resval.rint;
    case RTLONG:
        return resval.rlong == o.resval.rlong;
    case RTSTR:
        return std::wcscmp(resval.rstring ? resval.rstring : L"",
                           o.resval.rstring ? o.resval.rstring : L"") == 0;
    case RTPOINT:
    case RT3DPOINT:
        for (int i = 0; i < 3; ++i)
            if (std::fabs(resval.rpoint[i] - o.resval.rpoint[i]) > 1e-10)
                return false;
        return true;
    default:
        return true;
    }
}

AcDb::DwgDataType AcDbEvalVariant::getType() const {
    switch (restype) {
    case RTREAL:
        return AcDb::kDwgReal;
    case RTSHORT:
        return AcDb::kDwgInt16;
    case RTLONG:
        return AcDb::kDwgInt32;
    case RTSTR:
        return AcDb::kDwgText;
    case RT3DPOINT:
        return AcDb::kDwg3Real;
    case RTPOINT:
        return AcDb::kDwg2Real;
    case RTNONE:
        return AcDb::kDwgNull;
    default:
        return AcDb::kDwgNotRecognized;
    }
}

Acad::ErrorStatus AcDbEvalVariant::getValue(double& value) const {
    if (restype != RTREAL)
        return Acad::eInvalidInput;
    value = resval.rreal;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEvalVariant::getValue(short& value) const {
    if (restype != RTSHORT)
        return Acad::eInvalidInput;
    value = resval.rint;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEvalVariant::getValue(int& value) const {
    if (restype == RTSHORT)
        value = resval.rint;
    else if (restype == RTLONG)
        value = resval.rlong;
    else
        return Acad::eInvalidInput;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEvalVariant::getValue(long& value) const {
    int v = 0;
    Acad::ErrorStatus es = getValue(v);
    if (es == Acad::eOk)
        value = v;
    return es;
}
Acad::ErrorStatus AcDbEvalVariant::getValue(AcString& value) const {
    if (restype != RTSTR)
        return Acad::eInvalidInput;
    value = resval.rstring ? resval.rstring : L"";
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEvalVariant::getValue(AcGePoint3d& value) const {
    if (restype != RT3DPOINT && restype != RTPOINT)
        return Acad::eInvalidInput;
    value.set(resval.rpoint[0], resval.rpoint[1], restype == RTPOINT ? 0.0 : resval.rpoint[2]);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEvalVariant::getValue(AcGePoint2d& value) const {
    if (restype != RT3DPOINT && restype != RTPOINT)
        return Acad::eInvalidInput;
    value.set(resval.rpoint[0], resval.rpoint[1]);
    return Acad::eOk;
}

// ---- Extended data --------------------------------------------------------------------------

namespace khost {
namespace {

constexpr const ACHAR* kDefinitionTag = L"DYNAMIC_BLOCK";
constexpr const ACHAR* kMemberTag = L"DYNAMIC_MEMBER";
constexpr const ACHAR* kReferenceTag = L"DYNAMIC_REFERENCE";
constexpr short kLayoutVersion = 1;

struct ChainDeleter {
    void operator()(resbuf* rb) const { acutRelRb(rb); }
};
using Chain = std::unique_ptr<resbuf, ChainDeleter>;

// Builds a chain of extended data groups.
class XBuilder {
public:
    explicit XBuilder(const ACHAR* tag) {
        text(AcDb::kDxfRegAppName, kDynBlockApp);
        text(1000, tag);
    }
    void text(int code, const std::wstring& s) {
        resbuf* rb = add(code);
        rbSetString(rb, s.c_str());
    }
    void shortValue(short v) { add(1070)->resval.rint = v; }
    void real(int code, double v) { add(code)->resval.rreal = v; }
    void point(int code, const AcGePoint3d& p) {
        resbuf* rb = add(code);
        rb->resval.rpoint[0] = p.x;
        rb->resval.rpoint[1] = p.y;
        rb->resval.rpoint[2] = p.z;
    }
    void vector(int code, const AcGeVector3d& v) { point(code, AcGePoint3d(v.x, v.y, v.z)); }
    void open() { text(1002, L"{"); }
    void close() { text(1002, L"}"); }
    // A value by its type; false for a type extended data cannot hold.
    bool value(const AcDbEvalVariant& v) {
        switch (v.restype) {
        case RTSTR:
            text(1000, v.resval.rstring ? v.resval.rstring : L"");
            return true;
        case RTREAL:
            real(1040, v.resval.rreal);
            return true;
        case RTSHORT:
            shortValue(v.resval.rint);
            return true;
        case RTLONG:
            add(1071)->resval.rlong = v.resval.rlong;
            return true;
        case RTPOINT:
        case RT3DPOINT:
            point(1010, AcGePoint3d(v.resval.rpoint[0], v.resval.rpoint[1],
                                    v.restype == RTPOINT ? 0.0 : v.resval.rpoint[2]));
            return true;
        default:
            return false;
        }
    }
    resbuf* head() const { return m_head.get(); }

private:
    resbuf* add(int code) {
        resbuf* rb = acutNewRb(code);
        if (!m_head)
            m_head.reset(rb);
        else
            m_tail->rbnext = rb;
        m_tail = rb;
        return rb;
    }
    Chain m_head;
    resbuf* m_tail = nullptr;
};

// Reads the groups of the application's part one by one.
class XReader {
public:
    XReader(const AcDbObject* o, const ACHAR* tag) : m_chain(o ? o->xData(kDynBlockApp) : nullptr) {
        m_next = m_chain ? m_chain->rbnext : nullptr; // after the 1001 group
        m_ok = m_next && m_next->restype == 1000 && m_next->resval.rstring &&
               std::wcscmp(m_next->resval.rstring, tag) == 0;
        if (m_ok)
            m_next = m_next->rbnext;
    }
    bool ok() const { return m_ok; }
    bool atEnd() const { return !m_next; }
    const resbuf* peek() const { return m_next; }
    const resbuf* take(int code) {
        if (!m_ok || !m_next || m_next->restype != code) {
            m_ok = false;
            return nullptr;
        }
        const resbuf* rb = m_next;
        m_next = m_next->rbnext;
        return rb;
    }
    bool text(std::wstring& s) {
        const resbuf* rb = take(1000);
        if (rb)
            s = rb->resval.rstring ? rb->resval.rstring : L"";
        return rb != nullptr;
    }
    bool shortValue(short& v) {
        const resbuf* rb = take(1070);
        if (rb)
            v = rb->resval.rint;
        return rb != nullptr;
    }
    bool isBrace(const ACHAR* b) const {
        return m_next && m_next->restype == 1002 && m_next->resval.rstring &&
               std::wcscmp(m_next->resval.rstring, b) == 0;
    }
    bool brace(const ACHAR* b) {
        if (!isBrace(b)) {
            m_ok = false;
            return false;
        }
        m_next = m_next->rbnext;
        return true;
    }
    bool value(AcDbEvalVariant& v) {
        if (!m_ok || !m_next)
            return m_ok = false;
        switch (m_next->restype) {
        case 1000:
            v = m_next->resval.rstring ? m_next->resval.rstring : L"";
            break;
        case 1040:
            v = m_next->resval.rreal;
            break;
        case 1070:
            v = m_next->resval.rint;
            break;
        case 1071:
            v = static_cast<long>(m_next->resval.rlong);
            break;
        case 1010:
            v = AcGePoint3d(m_next->resval.rpoint[0], m_next->resval.rpoint[1],
                            m_next->resval.rpoint[2]);
            break;
        default:
            return m_ok = false;
        }
        m_next = m_next->rbnext;
        return true;
    }
    bool point(int code, AcGePoint3d& p) {
        const resbuf* rb = take(code);
        if (rb)
            p.set(rb->resval.rpoint[0], rb->resval.rpoint[1], rb->resval.rpoint[2]);
        return rb != nullptr;
    }

private:
    Chain m_chain;
    const resbuf* m_next = nullptr;
    bool m_ok = false;
};

Acad::ErrorStatus storeXData(AcDbObject* o, const resbuf* chain) {
    if (!o->isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (ensureRegApp(dynDatabase(o), kDynBlockApp).isNull())
        return Acad::eRegappIdNotFound;
    return o->setXData(chain);
}

// Removes the application's part from an object.
Acad::ErrorStatus removeXData(AcDbObject* o) {
    if (!o->isWriteEnabled())
        return Acad::eNotOpenForWrite;
    Chain own(o->xData(kDynBlockApp));
    if (!own)
        return Acad::eOk;
    resbuf* app = acutNewRb(AcDb::kDxfRegAppName);
    rbSetString(app, kDynBlockApp);
    Chain holder(app);
    return o->setXData(app);
}

bool validDefinition(const std::vector<DynPropDef>& props) {
    for (size_t i = 0; i < props.size(); ++i) {
        const DynPropDef& p = props[i];
        if (p.name.empty() || p.defaultValue.restype == RTNONE)
            return false;
        for (size_t j = 0; j < i; ++j)
            if (sameDynName(props[j].name, p.name))
                return false;
        for (const AcDbEvalVariant& v : p.allowed)
            if (v.restype != p.defaultValue.restype)
                return false;
        if (p.kind == DynPropKind::Visibility) {
            if (p.defaultValue.restype != RTSTR || p.allowed.empty())
                return false;
            bool found = false;
            for (const AcDbEvalVariant& v : p.allowed)
                found = found || v == p.defaultValue;
            if (!found)
                return false;
        }
        if (p.kind == DynPropKind::Linear &&
            (p.defaultValue.restype != RTREAL || p.direction.isZeroLength()))
            return false;
        if (p.kind == DynPropKind::Flip) {
            if (p.axisDirection.isZeroLength())
                return false;
            if (!p.axisFollows.empty()) {
                bool found = false;
                for (size_t j = 0; j < i; ++j)
                    found = found || (props[j].kind == DynPropKind::Linear &&
                                      sameDynName(props[j].name, p.axisFollows));
                if (!found)
                    return false;
            }
        }
    }
    return true;
}

} // namespace

bool sameDynName(const std::wstring& a, const std::wstring& b) {
    return nameKey(a.c_str()) == nameKey(b.c_str());
}

AcDbDatabase* dynDatabase(const AcDbObject* pObj) {
    return lookupDatabase(pObj);
}

Acad::ErrorStatus setDynamicBlockDefinition(AcDbBlockTableRecord* pBlock,
                                            const std::vector<DynPropDef>& props) {
    if (!pBlock)
        return Acad::eNullObjectPointer;
    if (!pBlock->isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (props.empty())
        return removeXData(pBlock);
    if (!validDefinition(props))
        return Acad::eInvalidInput;
    XBuilder x(kDefinitionTag);
    x.shortValue(kLayoutVersion);
    for (const DynPropDef& p : props) {
        x.open();
        x.text(1000, p.name);
        x.shortValue(static_cast<short>(p.kind));
        short flags = static_cast<short>((p.readOnly ? 1 : 0) | (p.show ? 0 : 2) |
                                         (p.hasMinimum ? 4 : 0) | (p.hasMaximum ? 8 : 0));
        x.shortValue(flags);
        x.text(1000, p.description);
        if (!x.value(p.defaultValue))
            return Acad::eInvalidInput;
        x.open();
        for (const AcDbEvalVariant& v : p.allowed)
            x.value(v);
        x.close();
        if (p.hasMinimum)
            x.real(1040, p.minimum);
        if (p.hasMaximum)
            x.real(1040, p.maximum);
        if (p.kind == DynPropKind::Linear)
            x.vector(1013, p.direction.normal());
        if (p.kind == DynPropKind::Flip) {
            x.point(1010, p.axisPoint);
            x.vector(1013, p.axisDirection.normal());
            x.text(1000, p.axisFollows);
        }
        x.close();
    }
    return storeXData(pBlock, x.head());
}

bool getDynamicBlockDefinition(const AcDbBlockTableRecord* pBlock, std::vector<DynPropDef>& props) {
    props.clear();
    XReader x(pBlock, kDefinitionTag);
    short version = 0;
    if (!x.ok() || !x.shortValue(version) || version != kLayoutVersion)
        return false;
    while (x.ok() && !x.atEnd()) {
        DynPropDef p;
        short kind = 0, flags = 0;
        x.brace(L"{");
        x.text(p.name);
        x.shortValue(kind);
        x.shortValue(flags);
        x.text(p.description);
        x.value(p.defaultValue);
        x.brace(L"{");
        while (x.ok() && !x.atEnd() && !x.isBrace(L"}")) {
            AcDbEvalVariant v;
            if (x.value(v))
                p.allowed.push_back(v);
        }
        x.brace(L"}");
        p.kind = static_cast<DynPropKind>(kind);
        p.readOnly = (flags & 1) != 0;
        p.show = (flags & 2) == 0;
        p.hasMinimum = (flags & 4) != 0;
        p.hasMaximum = (flags & 8) != 0;
        if (p.hasMinimum)
            if (const resbuf* rb = x.take(1040))
                p.minimum = rb->resval.rreal;
        if (p.hasMaximum)
            if (const resbuf* rb = x.take(1040))
                p.maximum = rb->resval.rreal;
        AcGePoint3d v;
        if (kind == static_cast<short>(DynPropKind::Linear) && x.point(1013, v))
            p.direction.set(v.x, v.y, v.z);
        if (kind == static_cast<short>(DynPropKind::Flip)) {
            x.point(1010, p.axisPoint);
            if (x.point(1013, v))
                p.axisDirection.set(v.x, v.y, v.z);
            x.text(p.axisFollows);
        }
        x.brace(L"}");
        if (kind < 1 || kind > 4)
            return false;
        if (x.ok())
            props.push_back(std::move(p));
    }
    if (!x.ok()) {
        props.clear();
        return false;
    }
    return !props.empty();
}

bool isDynamicBlockDefinition(const AcDbBlockTableRecord* pBlock) {
    std::vector<DynPropDef> props;
    return getDynamicBlockDefinition(pBlock, props);
}

Acad::ErrorStatus setDynamicMembership(AcDbEntity* pEnt, const std::vector<DynMembership>& roles) {
    if (!pEnt)
        return Acad::eNullObjectPointer;
    if (!pEnt->isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (roles.empty())
        return removeXData(pEnt);
    XBuilder x(kMemberTag);
    for (const DynMembership& m : roles) {
        if (m.property.empty())
            return Acad::eInvalidInput;
        x.open();
        x.text(1000, m.property);
        x.shortValue(static_cast<short>(m.role));
        if (m.role == DynRole::Visible)
            for (const std::wstring& s : m.states)
                x.text(1000, s);
        x.close();
    }
    return storeXData(pEnt, x.head());
}

bool getDynamicMembership(const AcDbEntity* pEnt, std::vector<DynMembership>& roles) {
    roles.clear();
    XReader x(pEnt, kMemberTag);
    while (x.ok() && !x.atEnd()) {
        DynMembership m;
        short role = 0;
        x.brace(L"{");
        x.text(m.property);
        x.shortValue(role);
        m.role = static_cast<DynRole>(role);
        while (x.ok() && !x.atEnd() && !x.isBrace(L"}")) {
            std::wstring s;
            if (x.text(s))
                m.states.push_back(s);
        }
        x.brace(L"}");
        if (x.ok() && role >= 1 && role <= 4)
            roles.push_back(std::move(m));
    }
    if (!x.ok())
        roles.clear();
    return !roles.empty();
}

void readReferenceValues(const AcDbObject* pRef, DynValues& values) {
    values.clear();
    XReader x(pRef, kReferenceTag);
    while (x.ok() && !x.atEnd()) {
        std::wstring name;
        AcDbEvalVariant v;
        if (x.text(name) && x.value(v))
            values.emplace_back(name, v);
    }
    if (!x.ok())
        values.clear();
}

std::vector<AcDbEvalVariant> effectiveValues(const AcDbObject* pRef,
                                             const std::vector<DynPropDef>& props) {
    DynValues own;
    readReferenceValues(pRef, own);
    std::vector<AcDbEvalVariant> out;
    out.reserve(props.size());
    for (const DynPropDef& p : props) {
        const AcDbEvalVariant* found = &p.defaultValue;
        for (const auto& [name, v] : own)
            if (sameDynName(name, p.name) && v.restype == p.defaultValue.restype)
                found = &v;
        out.push_back(*found);
    }
    return out;
}

// Writes the values of all properties onto the reference.
Acad::ErrorStatus writeReferenceValues(AcDbObject* pRef, const std::vector<DynPropDef>& props,
                                       const std::vector<AcDbEvalVariant>& values) {
    XBuilder x(kReferenceTag);
    for (size_t i = 0; i < props.size() && i < values.size(); ++i) {
        x.text(1000, props[i].name);
        x.value(values[i]);
    }
    return storeXData(pRef, x.head());
}

AcDbObjectId dynamicDefinitionOf(const AcDbBlockReference* pRef) {
    if (!pRef)
        return AcDbObjectId::kNull;
    AcDbObjectId blockId = pRef->blockTableRecord();
    auto* block = AcDbBlockTableRecord::cast(peekObject(blockId));
    if (!block)
        return AcDbObjectId::kNull;
    std::wstring definition, owner;
    if (readRepresentation(block, definition, owner)) {
        AcDbObjectId defId = findRecord(blockId.database(), DbRole::BlockTable, definition.c_str());
        auto* def = AcDbBlockTableRecord::cast(peekObject(defId));
        return def && isDynamicBlockDefinition(def) ? defId : AcDbObjectId::kNull;
    }
    return isDynamicBlockDefinition(block) ? blockId : AcDbObjectId::kNull;
}

} // namespace khost

// ---- AcDbDynBlockReferenceProperty ------------------------------------------------------------

namespace {

// The definition of the property's reference, read afresh (definitions may change).
bool propertyDefinition(AcDbObjectId refId, const AcDbBlockReference* pRef,
                        const std::wstring& name, AcDbObjectId& defId,
                        std::vector<khost::DynPropDef>& props, size_t& index) {
    const AcDbBlockReference* ref =
        pRef ? pRef : AcDbBlockReference::cast(khost::peekObject(refId));
    defId = khost::dynamicDefinitionOf(ref);
    auto* def = AcDbBlockTableRecord::cast(khost::peekObject(defId));
    if (!def || !khost::getDynamicBlockDefinition(def, props))
        return false;
    for (index = 0; index < props.size(); ++index)
        if (khost::sameDynName(props[index].name, name))
            return true;
    return false;
}

// The value converted to the property's type; false when that would change it.
bool convertValue(const AcDbEvalVariant& in, short type, AcDbEvalVariant& out) {
    if (in.restype == type) {
        out = in;
        return true;
    }
    double d = 0.0;
    switch (in.restype) {
    case RTREAL:
        d = in.resval.rreal;
        break;
    case RTSHORT:
        d = in.resval.rint;
        break;
    case RTLONG:
        d = in.resval.rlong;
        break;
    case RTPOINT:
        if (type != RT3DPOINT)
            return false;
        out = AcGePoint3d(in.resval.rpoint[0], in.resval.rpoint[1], 0.0);
        return true;
    default:
        return false;
    }
    switch (type) {
    case RTREAL:
        out = d;
        return true;
    case RTSHORT:
        if (d != std::floor(d) || d < -32768.0 || d > 32767.0)
            return false;
        out = static_cast<short>(d);
        return true;
    case RTLONG:
        if (d != std::floor(d) || d < -2147483648.0 || d > 2147483647.0)
            return false;
        out = static_cast<long>(d);
        return true;
    default:
        return false;
    }
}

} // namespace

AcDb::DwgDataType AcDbDynBlockReferenceProperty::propertyType() const {
    return m_type;
}

AcDbDynBlockReferenceProperty::UnitsType AcDbDynBlockReferenceProperty::unitsType() const {
    return m_kind == static_cast<int>(khost::DynPropKind::Linear) ? kDistance : kNoUnits;
}

Acad::ErrorStatus
AcDbDynBlockReferenceProperty::getAllowedValues(AcDbEvalVariantArray& allowedValues) {
    allowedValues.removeAll();
    AcDbObjectId defId;
    std::vector<khost::DynPropDef> props;
    size_t i = 0;
    if (!propertyDefinition(m_ref, m_pRef, m_name, defId, props, i))
        return Acad::eKeyNotFound;
    for (const AcDbEvalVariant& v : props[i].allowed)
        allowedValues.append(v);
    return Acad::eOk;
}

AcDbEvalVariant AcDbDynBlockReferenceProperty::value() const {
    AcDbObjectId defId;
    std::vector<khost::DynPropDef> props;
    size_t i = 0;
    if (!propertyDefinition(m_ref, m_pRef, m_name, defId, props, i))
        return AcDbEvalVariant();
    const AcDbObject* ref = m_pRef ? m_pRef : khost::peekObject(m_ref);
    return khost::effectiveValues(ref, props)[i];
}

Acad::ErrorStatus AcDbDynBlockReferenceProperty::setValue(const AcDbEvalVariant& value) {
    AcDbObjectId defId;
    std::vector<khost::DynPropDef> props;
    size_t i = 0;
    if (!propertyDefinition(m_ref, m_pRef, m_name, defId, props, i))
        return Acad::eKeyNotFound;
    const khost::DynPropDef& p = props[i];
    if (p.readOnly)
        return Acad::eNotApplicable;
    AcDbEvalVariant v;
    if (!convertValue(value, p.defaultValue.restype, v))
        return Acad::eInvalidInput;
    if (!p.allowed.empty()) {
        bool found = false;
        for (const AcDbEvalVariant& a : p.allowed)
            found = found || a == v;
        if (!found)
            return Acad::eInvalidInput;
    }
    if (v.restype == RTREAL && ((p.hasMinimum && v.resval.rreal < p.minimum - 1e-10) ||
                                (p.hasMaximum && v.resval.rreal > p.maximum + 1e-10)))
        return Acad::eInvalidInput;

    AcDbBlockReference* ref = m_pRef;
    if (ref) {
        if (!ref->isWriteEnabled())
            return Acad::eNotOpenForWrite;
    } else {
        Acad::ErrorStatus es = acdbOpenObject(ref, m_ref, AcDb::kForWrite);
        if (es != Acad::eOk)
            return es;
    }
    std::vector<AcDbEvalVariant> values = khost::effectiveValues(ref, props);
    values[i] = v;
    Acad::ErrorStatus es = khost::applyDynamicValues(ref, defId, props, values);
    if (!m_pRef)
        ref->close();
    return es;
}

// ---- AcDbDynBlockReference --------------------------------------------------------------------

AcDbDynBlockReference::AcDbDynBlockReference(AcDbObjectId blockRefId) : m_ref(blockRefId) {}

AcDbDynBlockReference::AcDbDynBlockReference(AcDbBlockReference* pRef)
    : m_ref(pRef ? pRef->objectId() : AcDbObjectId::kNull), m_pRef(pRef) {}

bool AcDbDynBlockReference::isDynamicBlock(AcDbObjectId blockTableRecordId) {
    auto* block = AcDbBlockTableRecord::cast(khost::peekObject(blockTableRecordId));
    return block && khost::isDynamicBlockDefinition(block);
}

bool AcDbDynBlockReference::isDynamicBlock() const {
    return !dynamicBlockTableRecord().isNull();
}

void AcDbDynBlockReference::getBlockProperties(
    AcDbDynBlockReferencePropertyArray& properties) const {
    properties.removeAll();
    auto* def = AcDbBlockTableRecord::cast(khost::peekObject(dynamicBlockTableRecord()));
    std::vector<khost::DynPropDef> props;
    if (!def || !khost::getDynamicBlockDefinition(def, props))
        return;
    for (const khost::DynPropDef& p : props) {
        AcDbDynBlockReferenceProperty prop;
        prop.m_ref = m_ref;
        prop.m_pRef = m_pRef;
        prop.m_name = p.name;
        prop.m_description = p.description;
        prop.m_kind = static_cast<int>(p.kind);
        prop.m_type = p.defaultValue.getType();
        prop.m_readOnly = p.readOnly;
        prop.m_show = p.show;
        properties.append(prop);
    }
}

Acad::ErrorStatus AcDbDynBlockReference::resetBlock() {
    AcDbObjectId defId = dynamicBlockTableRecord();
    auto* def = AcDbBlockTableRecord::cast(khost::peekObject(defId));
    std::vector<khost::DynPropDef> props;
    if (!def || !khost::getDynamicBlockDefinition(def, props))
        return Acad::eNotApplicable;
    std::vector<AcDbEvalVariant> values;
    for (const khost::DynPropDef& p : props)
        values.push_back(p.defaultValue);
    AcDbBlockReference* ref = m_pRef;
    if (ref) {
        if (!ref->isWriteEnabled())
            return Acad::eNotOpenForWrite;
    } else {
        Acad::ErrorStatus es = acdbOpenObject(ref, m_ref, AcDb::kForWrite);
        if (es != Acad::eOk)
            return es;
    }
    Acad::ErrorStatus es = khost::applyDynamicValues(ref, defId, props, values);
    if (!m_pRef)
        ref->close();
    return es;
}

AcDbObjectId AcDbDynBlockReference::dynamicBlockTableRecord() const {
    const AcDbBlockReference* ref =
        m_pRef ? m_pRef : AcDbBlockReference::cast(khost::peekObject(m_ref));
    return khost::dynamicDefinitionOf(ref);
}

AcDbObjectId AcDbDynBlockReference::anonymousBlockTableRecord() const {
    const AcDbBlockReference* ref =
        m_pRef ? m_pRef : AcDbBlockReference::cast(khost::peekObject(m_ref));
    if (!ref)
        return AcDbObjectId::kNull;
    auto* block = AcDbBlockTableRecord::cast(khost::peekObject(ref->blockTableRecord()));
    std::wstring definition, owner;
    return block && khost::readRepresentation(block, definition, owner) ? ref->blockTableRecord()
                                                                        : AcDbObjectId::kNull;
}
