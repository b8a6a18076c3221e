// The DXF filer, the fields of AcDbObject, the result-buffer filer and the registry of classes.
#include "dbimpl.h"

#include "dbfast.h"

#include "acutads.h"
#include "dbents.h"
#include "dblayout.h"
#include "dbraw.h"
#include "dbxrecrd.h"
#include "gevec2d.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <cwchar>
#include <cwctype>

ACRX_DEFINE_MEMBERS_DXF(AcDbDxfFiler, AcRxObject, L"")
ACRX_DEFINE_MEMBERS(khost::LendingDxfFiler, AcDbDxfFiler)

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
    if (rbKindOf(CODE) != (KIND)) {                                                                \
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
    // Upper-case hexadecimal without leading zeros, as handleText has it.
    ACHAR text[17];
    ACHAR* p = text + 16;
    *p = 0;
    std::uint64_t v = h.value();
    do {
        *--p = L"0123456789ABCDEF"[v & 15];
        v >>= 4;
    } while (v);
    return writeString(code, p);
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
Acad::ErrorStatus AcDbDxfFiler::writePoint2d(AcDb::DxfCode code, const AcGePoint2d& p, int prec) {
    const double a[3] = {p.x, p.y, -0.0};
    return writePoint3d(code, a, prec);
}
Acad::ErrorStatus AcDbDxfFiler::writeVector2d(AcDb::DxfCode code, const AcGeVector2d& v, int prec) {
    const double a[3] = {v.x, v.y, -0.0};
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
    rbReleaseValue(rb);
    if (!match)
        pushBackItem();
    return match;
}
bool AcDbDxfFiler::atExtendedData() {
    resbuf rb{};
    if (readResBuf(&rb) != Acad::eOk)
        return true;
    bool at = rb.restype == AcDb::kDxfRegAppName;
    rbReleaseValue(rb);
    pushBackItem();
    return at;
}
bool AcDbDxfFiler::atEndOfObject() {
    resbuf rb{};
    if (readResBuf(&rb) != Acad::eOk)
        return true;
    rbReleaseValue(rb);
    pushBackItem();
    return false;
}

namespace khost {

namespace {} // namespace

namespace {
const RbKind* makeRbKindTable() {
    static std::array<RbKind, kRbKindLast - kRbKindFirst + 1> table{};
    for (int c = kRbKindFirst; c <= kRbKindLast; ++c)
        table[static_cast<std::size_t>(c - kRbKindFirst)] = rbKind(c);
    return table.data();
}
} // namespace

const RbKind* const kRbKindTable = makeRbKindTable();

void rbReleaseValue(resbuf& rb) {
    switch (rbKindOf(rb.restype)) {
    case RbKind::String:
    case RbKind::Handle:
        std::free(rb.resval.rstring);
        rb.resval.rstring = nullptr;
        break;
    case RbKind::Binary:
        std::free(rb.resval.rbinary.buf);
        rb.resval.rbinary.buf = nullptr;
        rb.resval.rbinary.clen = 0;
        break;
    default:
        break;
    }
}

namespace {

// What became of a group of an object read through dxfInObject.
enum class Use : std::uint8_t {
    Unread, // nobody read it (yet)
    Read,   // read by a class that did not say whether it used it
    Used,   // taken by a class
    Unused, // read and left by a class
};

bool sameMarker(const ACHAR* a, const ACHAR* b) {
    if (!a || !b)
        return a == b;
    for (; *a && *b; ++a, ++b) {
        if (*a == *b)
            continue;
        if (*a < 0x80 && *b < 0x80) {
            // ASCII letters differ only in case when they differ by bit 5.
            wchar_t x = *a | 0x20, y = *b | 0x20;
            if (x != y || x < L'a' || x > L'z')
                return false;
            continue;
        }
        if (std::towupper(static_cast<wint_t>(*a)) != std::towupper(static_cast<wint_t>(*b)))
            return false;
    }
    return *a == *b;
}

bool isAppDataStart(const resbuf& rb) {
    return rb.restype == AcDb::kDxfControlString && rb.resval.rstring &&
           rb.resval.rstring[0] == L'{';
}
bool isAppDataEnd(const resbuf& rb) {
    return rb.restype == AcDb::kDxfControlString && rb.resval.rstring &&
           std::wcscmp(rb.resval.rstring, L"}") == 0;
}

// The value of from, with copies of its string or binary data, into to (as rbCopy, without a
// result buffer of its own).
void copyValue(resbuf& to, const resbuf& from) {
    to = from;
    to.rbnext = nullptr;
    switch (rbKindOf(from.restype)) {
    case RbKind::String:
    case RbKind::Handle:
        if (const ACHAR* str = from.resval.rstring) {
            std::size_t n = (std::wcslen(str) + 1) * sizeof(ACHAR);
            to.resval.rstring = static_cast<ACHAR*>(std::memcpy(std::malloc(n), str, n));
        }
        break;
    case RbKind::Binary: {
        short n = from.resval.rbinary.clen;
        to.resval.rbinary.buf = static_cast<char*>(std::malloc(n > 0 ? static_cast<size_t>(n) : 1));
        if (n > 0 && from.resval.rbinary.buf)
            std::memcpy(to.resval.rbinary.buf, from.resval.rbinary.buf, static_cast<size_t>(n));
        break;
    }
    default:
        break;
    }
}

// Vectors that keep their room from one object to the next (objects are read one after another;
// a nested read takes a vector of its own).
template <class T> class VectorPool {
public:
    std::vector<T> take() {
        if (m_free.empty())
            return {};
        std::vector<T> v = std::move(m_free.back());
        m_free.pop_back();
        return v;
    }
    void give(std::vector<T>&& v) {
        v.clear();
        if (m_free.size() < 4 && v.capacity() <= 4096)
            m_free.push_back(std::move(v));
    }

private:
    std::vector<std::vector<T>> m_free;
};

// A filer over the groups of one object, read whole from another filer, that records which
// groups the classes use. A marker asked for by atSubclassData is also found behind groups and
// subclasses that no class reads.
struct KeptItem {
    resbuf rb;
    std::uint32_t section;
    Use use;
    bool kept; // decided by decideKept
    bool lent; // the text is the source filer's (see LendingFiler), not the item's
};
struct KeptSection {
    KeptSection(const ACHAR* n, std::uint16_t occ, std::size_t b)
        : name(n), occurrence(occ), begin(b), end(b) {}
    const ACHAR* name; // the marker's text (the item's), "" for the common part
    std::uint16_t occurrence;
    std::size_t begin, end;
    // What the class writes in the section (for groups read by classes that do not say).
    bool written = false;
    std::uint16_t markersWritten = 0; // of this name, counted on the first section of a name
    std::vector<std::wstring> apps;
};
// A code the class writes in a section.
struct WrittenCode {
    std::uint32_t section;
    short code;
};

VectorPool<KeptItem>& itemPool() {
    static VectorPool<KeptItem> pool;
    return pool;
}
VectorPool<KeptSection>& sectionPool() {
    static VectorPool<KeptSection> pool;
    return pool;
}
VectorPool<WrittenCode>& codePool() {
    static VectorPool<WrittenCode> pool;
    return pool;
}

class KeepingFiler : public AcDbDxfFiler {
public:
    ACRX_DECLARE_MEMBERS(KeepingFiler);
    KeepingFiler(AcDbDxfFiler* source, bool flattenZ);
    ~KeepingFiler() override;
    KeepingFiler(const KeepingFiler&) = delete;
    KeepingFiler& operator=(const KeepingFiler&) = delete;

    AcDb::FilerType filerType() const override { return m_src->filerType(); }
    AcDbDatabase* database() const override { return m_src->database(); }
    Acad::ErrorStatus readResBuf(resbuf* pRb) override;
    Acad::ErrorStatus pushBackItem() override;
    bool atEOF() override { return m_pos >= m_items.size(); }
    bool atSubclassData(const ACHAR* subClassName) override;
    Acad::ErrorStatus writeResBuf(const resbuf&) override { return Acad::eNotApplicable; }

    void markLast(Use use) {
        if (m_last < m_items.size())
            m_items[m_last].use = use;
    }
    // As readResBuf, but the group is lent, not copied: valid until the filer is gone (a 2D point
    // read with Z 0 is given in scratch). Null at the end of the object.
    const resbuf* borrow(resbuf& scratch);
    // Moves what the classes left into the object's kept groups.
    void keepUnused(AcDbObject* obj);

    // The survey's filer hands what the class writes here.
    void surveyed(const resbuf& rb);

private:
    using Item = KeptItem;
    using Section = KeptSection;
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    void survey(const AcDbObject* obj);
    bool decideKept(const AcDbObject* obj);
    bool writes(std::uint32_t section, short code) const {
        for (const WrittenCode& w : m_codes)
            if (w.section == section && w.code == code)
                return true;
        return false;
    }

    AcDbDxfFiler* m_src;
    bool m_flattenZ;
    std::vector<Item> m_items = itemPool().take();
    std::vector<Section> m_sections = sectionPool().take();
    std::vector<WrittenCode> m_codes = codePool().take();
    Section* m_current = nullptr; // the section the survey is in
    std::size_t m_pos = 0;
    std::size_t m_last = kNone;
    Use m_lastUse = Use::Unread;
};

ACRX_DEFINE_MEMBERS(KeepingFiler, AcDbDxfFiler)

KeepingFiler::KeepingFiler(AcDbDxfFiler* source, bool flattenZ)
    : m_src(source), m_flattenZ(flattenZ) {
    m_sections.emplace_back(L"", 0, 0);
    // The texts of a lending source stay where they are while this filer lives (the source
    // outlives it); they are copied only into the groups kept.
    LendingDxfFiler* lender = LendingDxfFiler::cast(source);
    while (true) {
        // Each group is read straight into its item and the item filled in field by field (a
        // copy of a group just stored would read it back in other widths, and wait for the
        // stores).
        Item& it = m_items.emplace_back();
        resbuf& rb = it.rb;
        Acad::ErrorStatus es = lender ? lender->lendResBuf(&rb) : source->readResBuf(&rb);
        if (es != Acad::eOk) {
            m_items.pop_back();
            if (es != Acad::eEndOfObject && es != Acad::eEndOfFile)
                setFilerStatus(es);
            break;
        }
        const RbKind kind = rbKindOf(rb.restype);
        const bool lent = lender && (kind == RbKind::String || kind == RbKind::Handle);
        if (rb.restype == AcDb::kDxfRegAppName) {
            // The extended data is not part of the fields.
            if (!lent)
                rbReleaseValue(rb);
            m_items.pop_back();
            source->pushBackItem();
            break;
        }
        const std::size_t index = m_items.size() - 1;
        if (rb.restype == AcDb::kDxfSubclass) {
            const ACHAR* name = rb.resval.rstring ? rb.resval.rstring : L"";
            std::uint16_t occurrence = 1;
            for (const Section& sec : m_sections)
                if (sec.occurrence > 0 && sameMarker(sec.name, name))
                    ++occurrence;
            m_sections.back().end = index;
            m_sections.emplace_back(name, occurrence, index);
        }
        it.section = static_cast<std::uint32_t>(m_sections.size() - 1);
        it.use = Use::Unread;
        it.kept = false;
        it.lent = lent;
    }
    m_sections.back().end = m_items.size();
}

KeepingFiler::~KeepingFiler() {
    for (Item& it : m_items)
        if (!it.lent)
            rbReleaseValue(it.rb);
    itemPool().give(std::move(m_items));
    sectionPool().give(std::move(m_sections));
    codePool().give(std::move(m_codes));
}

Acad::ErrorStatus KeepingFiler::readResBuf(resbuf* pRb) {
    if (m_pos >= m_items.size())
        return Acad::eEndOfObject;
    Item& it = m_items[m_pos];
    copyValue(*pRb, it.rb);
    if (m_flattenZ && rbKindOf(pRb->restype) == RbKind::Point && rbIs2d(*pRb))
        pRb->resval.rpoint[2] = 0.0;
    m_lastUse = it.use;
    if (it.use == Use::Unread)
        it.use = Use::Read;
    m_last = m_pos++;
    return Acad::eOk;
}

const resbuf* KeepingFiler::borrow(resbuf& scratch) {
    if (m_pos >= m_items.size())
        return nullptr;
    Item& it = m_items[m_pos];
    const resbuf* out = &it.rb;
    if (m_flattenZ && rbKindOf(it.rb.restype) == RbKind::Point && rbIs2d(it.rb)) {
        scratch = it.rb;
        scratch.resval.rpoint[2] = 0.0;
        out = &scratch;
    }
    m_lastUse = it.use;
    if (it.use == Use::Unread)
        it.use = Use::Read;
    m_last = m_pos++;
    return out;
}

Acad::ErrorStatus KeepingFiler::pushBackItem() {
    if (m_last == kNone)
        return Acad::eNotApplicable;
    m_items[m_last].use = m_lastUse;
    m_pos = m_last;
    m_last = kNone;
    return Acad::eOk;
}

bool KeepingFiler::atSubclassData(const ACHAR* subClassName) {
    for (std::size_t j = m_pos; j < m_items.size(); ++j) {
        const resbuf& rb = m_items[j].rb;
        if (rb.restype == AcDb::kDxfSubclass && sameMarker(rb.resval.rstring, subClassName)) {
            // What lies between stays unread: it is kept.
            m_items[j].use = Use::Used;
            m_pos = j + 1;
            m_last = kNone;
            return true;
        }
    }
    return false;
}

// A filer that hands what a class writes to the keeping filer's survey.
class SurveyFiler : public AcDbDxfFiler {
public:
    explicit SurveyFiler(KeepingFiler* keeping) : m_keeping(keeping) {}
    AcDb::FilerType filerType() const override { return m_keeping->filerType(); }
    AcDbDatabase* database() const override { return m_keeping->database(); }
    Acad::ErrorStatus readResBuf(resbuf*) override { return Acad::eNotApplicable; }
    Acad::ErrorStatus pushBackItem() override { return Acad::eNotApplicable; }
    bool atEOF() override { return true; }
    Acad::ErrorStatus writeResBuf(const resbuf& rb) override {
        m_keeping->surveyed(rb);
        return Acad::eOk;
    }

private:
    KeepingFiler* m_keeping;
};

void KeepingFiler::surveyed(const resbuf& rb) {
    if (rb.restype == AcDb::kDxfSubclass) {
        // The n-th marker of a name written goes with the n-th section of that name (the count
        // is kept on the first of them; a name the file does not have matches nothing).
        const ACHAR* name = rb.resval.rstring ? rb.resval.rstring : L"";
        m_current = nullptr;
        Section* first = nullptr;
        for (Section& sec : m_sections)
            if (sec.occurrence == 1 && sameMarker(sec.name, name)) {
                first = &sec;
                break;
            }
        if (!first)
            return;
        std::uint16_t occurrence = ++first->markersWritten;
        for (Section& sec : m_sections)
            if (sec.occurrence == occurrence && sameMarker(sec.name, name)) {
                m_current = &sec;
                sec.written = true;
                break;
            }
        return;
    }
    if (!m_current)
        return;
    if (isAppDataStart(rb))
        m_current->apps.emplace_back(rb.resval.rstring);
    auto index = static_cast<std::uint32_t>(m_current - m_sections.data());
    if (!writes(index, rb.restype))
        m_codes.push_back(WrittenCode{index, rb.restype});
}

// Notes, per section of the file, whether the classes write it and which codes and application
// data they write in it.
void KeepingFiler::survey(const AcDbObject* obj) {
    m_current = &m_sections[0];
    m_current->written = true;
    SurveyFiler out(this);
    obj->dxfOutFields(&out);
    m_current = nullptr;
}

bool KeepingFiler::decideKept(const AcDbObject* obj) {
    if (m_sections.size() < 2)
        return false; // data without subclass markers: all of it is the classes' business
    bool undecided = false;
    for (const Item& it : m_items)
        undecided = undecided || it.use == Use::Read;
    if (undecided) {
        // Groups read by classes that did not say whether they used them: used when the class
        // writes their code in their section (application data: the same application's).
        survey(obj);
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            Item& it = m_items[i];
            if (it.use != Use::Read)
                continue;
            const Section& sec = m_sections[it.section];
            if (isAppDataStart(it.rb)) {
                bool used = std::find(sec.apps.begin(), sec.apps.end(), it.rb.resval.rstring) !=
                            sec.apps.end();
                std::size_t j = i;
                while (j + 1 < sec.end && !isAppDataEnd(m_items[j].rb))
                    ++j;
                for (std::size_t k = i; k <= j; ++k)
                    if (m_items[k].use == Use::Read)
                        m_items[k].use = used ? Use::Used : Use::Unused;
                i = j;
                continue;
            }
            // A marker: used when the class writes its subclass.
            bool used = it.rb.restype == AcDb::kDxfSubclass ? sec.written
                                                            : writes(it.section, it.rb.restype);
            it.use = used ? Use::Used : Use::Unused;
        }
    }
    bool any = false;
    for (Item& it : m_items) {
        // Entity names, types and the like are never fields.
        it.kept = it.rb.restype > 0 && (it.use == Use::Unread || it.use == Use::Unused);
        any = any || it.kept;
    }
    return any;
}

void KeepingFiler::keepUnused(AcDbObject* obj) {
    if (!decideKept(obj))
        return;
    auto groups = std::make_unique<KeptGroups>();
    // The section a kept group belongs to and the group it follows there: the last group of its
    // section that is not kept; groups of a subclass whose marker is kept go to the end of the
    // last section before them that is not.
    const Section* anchorSection = &m_sections[0];
    short anchorCode = 0;
    std::uint16_t anchorCount = 0;
    std::vector<std::pair<short, std::uint16_t>> counts; // of the groups not kept, per section
    resbuf** tail = nullptr;
    bool inRun = false;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        Item& it = m_items[i];
        const Section& sec = m_sections[it.section];
        if (i == sec.begin && it.section > 0) {
            counts.clear();
            if (it.kept) {
                // A subclass nobody reads: after everything of the section before it.
                anchorCode = KeptRun::kAtEnd;
                anchorCount = 0;
                inRun = false;
            } else {
                anchorSection = &sec;
            }
        }
        if (!it.kept) {
            if (&sec == anchorSection) {
                auto c = std::find_if(counts.begin(), counts.end(),
                                      [&](const auto& p) { return p.first == it.rb.restype; });
                if (c == counts.end())
                    c = counts.insert(counts.end(), {it.rb.restype, 0});
                ++c->second;
                anchorCode = it.rb.restype;
                anchorCount = c->second;
            }
            inRun = false;
            continue;
        }
        if (!inRun) {
            KeptRun run;
            run.section = anchorSection->name;
            run.occurrence = anchorSection->occurrence;
            run.anchorCode = anchorCode;
            run.anchorCount = anchorCount;
            groups->runs.push_back(std::move(run));
            tail = &groups->runs.back().groups;
            inRun = true;
        }
        auto* node = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
        if (it.lent) {
            copyValue(*node, it.rb); // a text of the source's: the chain gets its own
        } else {
            *node = it.rb;
            node->rbnext = nullptr;
            it.rb = resbuf{}; // the value moves to the kept chain
        }
        *tail = node;
        tail = &node->rbnext;
    }
    DbAccess::extras(obj).kept = std::move(groups);
}

} // namespace

namespace {
bool endsSubclass(const resbuf& rb) {
    return rb.restype == AcDb::kDxfSubclass || rb.restype == AcDb::kDxfRegAppName ||
           rb.restype == 0;
}
} // namespace

Acad::ErrorStatus readSubclass(AcDbDxfFiler* f, const std::function<bool(const resbuf&)>& fn,
                               bool stopAtUnknown) {
    KeepingFiler* keeping = KeepingFiler::cast(f);
    if (keeping) {
        // The groups as the keeping filer holds them, without copies.
        resbuf scratch{};
        while (const resbuf* rb = keeping->borrow(scratch)) {
            if (endsSubclass(*rb)) {
                keeping->pushBackItem();
                break;
            }
            bool taken = fn(*rb);
            if (!taken && stopAtUnknown) {
                keeping->pushBackItem();
                break;
            }
            keeping->markLast(taken ? Use::Used : Use::Unused);
        }
        return Acad::eOk;
    }
    resbuf rb{};
    while (f->readResBuf(&rb) == Acad::eOk) {
        if (rb.restype == AcDb::kDxfSubclass || rb.restype == AcDb::kDxfRegAppName ||
            rb.restype == 0) {
            rbReleaseValue(rb);
            f->pushBackItem();
            break;
        }
        bool taken = fn(rb);
        rbReleaseValue(rb);
        if (!taken && stopAtUnknown) {
            f->pushBackItem();
            break;
        }
        if (keeping)
            keeping->markLast(taken ? Use::Used : Use::Unused);
    }
    return Acad::eOk;
}

Acad::ErrorStatus readSubclass(AcDbDxfFiler* f, const std::function<void(const resbuf&)>& fn) {
    if (KeepingFiler* keeping = KeepingFiler::cast(f)) {
        resbuf scratch{};
        while (const resbuf* rb = keeping->borrow(scratch)) {
            if (endsSubclass(*rb)) {
                keeping->pushBackItem();
                break;
            }
            fn(*rb);
        }
        return Acad::eOk;
    }
    resbuf rb{};
    while (f->readResBuf(&rb) == Acad::eOk) {
        if (rb.restype == AcDb::kDxfSubclass || rb.restype == AcDb::kDxfRegAppName ||
            rb.restype == 0) {
            rbReleaseValue(rb);
            f->pushBackItem();
            break;
        }
        // Whether the group was used is decided later by what the class writes.
        fn(rb);
        rbReleaseValue(rb);
    }
    return Acad::eOk;
}

void noteGroupUse(AcDbDxfFiler* f, bool used) {
    if (KeepingFiler* keeping = KeepingFiler::cast(f))
        keeping->markLast(used ? Use::Used : Use::Unused);
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
    // From a keeping filer the groups are lent (see readSubclass), from others read and freed.
    KeepingFiler* keeping = KeepingFiler::cast(f);
    resbuf own{}, scratch{};
    enum { None, Reactors, XDict, Other } group = None;
    bool ownerRead = false;
    while (true) {
        const resbuf* next = nullptr;
        if (keeping)
            next = keeping->borrow(scratch);
        else if (f->readResBuf(&own) == Acad::eOk)
            next = &own;
        if (!next)
            break;
        const resbuf& rb = *next;
        const short code = rb.restype;
        bool used = true;
        if (code == AcDb::kDxfControlString) {
            const ACHAR* s = rb.resval.rstring ? rb.resval.rstring : L"";
            if (std::wcscmp(s, L"}") == 0) {
                used = group != Other;
                group = None;
            } else {
                group = std::wcscmp(s, L"{ACAD_REACTORS") == 0      ? Reactors
                        : std::wcscmp(s, L"{ACAD_XDICTIONARY") == 0 ? XDict
                                                                    : Other;
                used = group != Other;
            }
        } else if (group == Reactors && code == AcDb::kDxfSoftPointerId) {
            addPersistentReactor(rbId(rb));
        } else if (group == XDict && code == AcDb::kDxfHardOwnershipId) {
            DbAccess::extras(this).xdict = rbId(rb).stub();
        } else if (group == Other) {
            used = false; // application data of others: kept by dxfInObject
        } else if (code == AcDb::kDxfHandle || code == -1) {
            // The handle is the reader's business.
        } else if (code == AcDb::kDxfSoftPointerId && !ownerRead) {
            m_owner = rbId(rb).stub();
            ownerRead = true;
        } else {
            if (!keeping)
                rbReleaseValue(own);
            f->pushBackItem();
            break;
        }
        noteGroupUse(f, used);
        if (!keeping)
            rbReleaseValue(own);
    }
    return Acad::eOk;
}

// ---- Groups kept for writing back ---------------------------------------------------------------

namespace khost {

KeptGroups::~KeptGroups() {
    for (KeptRun& r : runs)
        acutRelRb(r.groups);
}

Acad::ErrorStatus dxfInObject(AcDbObject* obj, AcDbDxfFiler* f) {
    if (!obj || !f)
        return Acad::eNullObjectPointer;
    clearKeptGroups(obj);
    const bool raw = AcDbRawObject::cast(obj) || AcDbRawEntity::cast(obj);
    KeepingFiler keeping(f, !raw);
    if (keeping.filerStatus() != Acad::eOk)
        return keeping.filerStatus();
    Acad::ErrorStatus es = obj->dxfInFields(&keeping);
    if (es == Acad::eOk)
        keeping.keepUnused(obj);
    return es;
}

namespace {

struct OutSection {
    const ACHAR* name;
    std::uint16_t occurrence;
    std::size_t begin, end; // groups of the section, the marker first
};

// Writes a kept run. Loose groups (before any marker of the run) whose code the class now
// writes in the section are left out, application data the class writes too.
void emitRun(AcDbDxfFiler* f, const KeptRun& run, const std::vector<short>& codes,
             const std::vector<std::wstring>& apps) {
    bool inSubclass = false;
    bool inApp = false;
    bool skipApp = false;
    for (const resbuf* rb = run.groups; rb; rb = rb->rbnext) {
        if (rb->restype == AcDb::kDxfSubclass)
            inSubclass = true;
        if (!inSubclass) {
            if (!inApp && isAppDataStart(*rb)) {
                inApp = true;
                skipApp = std::find(apps.begin(), apps.end(), rb->resval.rstring) != apps.end();
                if (skipApp)
                    continue;
            } else if (inApp) {
                if (isAppDataEnd(*rb))
                    inApp = false;
                if (skipApp)
                    continue;
            } else if (std::find(codes.begin(), codes.end(), rb->restype) != codes.end()) {
                continue;
            }
        }
        f->writeResBuf(*rb);
    }
}

} // namespace

Acad::ErrorStatus dxfOutObject(const AcDbObject* obj, AcDbDxfFiler* f) {
    if (!obj || !f)
        return Acad::eNullObjectPointer;
    const ObjExtras* ex = DbAccess::extrasIfAny(obj);
    const KeptGroups* kept = ex ? ex->kept.get() : nullptr;
    if (!kept || kept->runs.empty())
        return obj->dxfOutFields(f);

    // What the classes write, by section.
    RbChainFiler buf(f->database(), f->filerType());
    Acad::ErrorStatus es = obj->dxfOutFields(&buf);
    resbuf* chain = buf.takeChain();
    std::vector<const resbuf*> groups;
    std::vector<OutSection> sections{OutSection{L"", 0, 0, 0}};
    for (const resbuf* rb = chain; rb; rb = rb->rbnext) {
        if (rb->restype == AcDb::kDxfSubclass) {
            const ACHAR* name = rb->resval.rstring ? rb->resval.rstring : L"";
            std::uint16_t occurrence = 1;
            for (const OutSection& s : sections)
                if (s.occurrence > 0 && sameMarker(s.name, name))
                    ++occurrence;
            sections.back().end = groups.size();
            sections.push_back(OutSection{name, occurrence, groups.size(), 0});
        }
        groups.push_back(rb);
    }
    sections.back().end = groups.size();

    const std::vector<KeptRun>& runs = kept->runs;
    std::vector<bool> done(runs.size(), false);
    std::vector<short> codes;
    std::vector<std::wstring> apps;
    std::vector<std::pair<short, std::uint16_t>> counts;
    for (const OutSection& sec : sections) {
        codes.clear();
        apps.clear();
        counts.clear();
        for (std::size_t g = sec.begin; g < sec.end; ++g) {
            const resbuf& rb = *groups[g];
            if (std::find(codes.begin(), codes.end(), rb.restype) == codes.end())
                codes.push_back(rb.restype);
            if (isAppDataStart(rb))
                apps.emplace_back(rb.resval.rstring);
        }
        auto mine = [&](const KeptRun& r) {
            return r.occurrence == sec.occurrence && sameMarker(r.section.c_str(), sec.name);
        };
        auto emitDue = [&](short code, std::uint16_t count) {
            for (std::size_t r = 0; r < runs.size(); ++r)
                if (!done[r] && runs[r].anchorCode == code && runs[r].anchorCount == count &&
                    mine(runs[r])) {
                    emitRun(f, runs[r], codes, apps);
                    done[r] = true;
                }
        };
        auto write = [&](const resbuf& rb) {
            f->writeResBuf(rb);
            auto c = std::find_if(counts.begin(), counts.end(),
                                  [&](const auto& p) { return p.first == rb.restype; });
            if (c == counts.end())
                c = counts.insert(counts.end(), {rb.restype, 0});
            ++c->second;
            emitDue(rb.restype, c->second);
        };
        std::size_t first = sec.begin;
        // A file's handle is the reader's, never among the groups read: what stood at the very
        // beginning of the object follows it.
        if (sec.occurrence == 0 && first < sec.end && f->filerType() == AcDb::kFileFiler &&
            groups[first]->restype == AcDb::kDxfHandle) {
            f->writeResBuf(*groups[first]);
            ++first;
        }
        emitDue(0, 0); // before everything of the common part
        for (std::size_t g = first; g < sec.end; ++g)
            write(*groups[g]);
        // Groups whose neighbour the class no longer writes, then the subclasses that followed.
        for (int atEnd = 0; atEnd < 2; ++atEnd)
            for (std::size_t r = 0; r < runs.size(); ++r)
                if (!done[r] && mine(runs[r]) &&
                    (runs[r].anchorCode == KeptRun::kAtEnd) == (atEnd == 1)) {
                    emitRun(f, runs[r], codes, apps);
                    done[r] = true;
                }
    }
    // Runs of sections the classes no longer write: at the end, under their own marker.
    const KeptRun* previous = nullptr;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        if (done[r])
            continue;
        const KeptRun& run = runs[r];
        bool ownMarker = run.groups && run.groups->restype == AcDb::kDxfSubclass;
        if (!ownMarker && !run.section.empty() &&
            !(previous && previous->section == run.section &&
              previous->occurrence == run.occurrence))
            f->writeString(AcDb::kDxfSubclass, run.section.c_str());
        for (const resbuf* rb = run.groups; rb; rb = rb->rbnext)
            f->writeResBuf(*rb);
        previous = &run;
    }
    acutRelRb(chain);
    return es != Acad::eOk ? es : f->filerStatus();
}

resbuf* keptGroups(const AcDbObject* obj) {
    const ObjExtras* ex = obj ? DbAccess::extrasIfAny(obj) : nullptr;
    if (!ex || !ex->kept)
        return nullptr;
    resbuf* head = nullptr;
    resbuf** tail = &head;
    for (const KeptRun& r : ex->kept->runs)
        for (const resbuf* rb = r.groups; rb; rb = rb->rbnext) {
            *tail = rbCopy(rb);
            (*tail)->rbnext = nullptr;
            tail = &(*tail)->rbnext;
        }
    return head;
}

int keptGroupCount(const AcDbObject* obj) {
    const ObjExtras* ex = obj ? DbAccess::extrasIfAny(obj) : nullptr;
    int n = 0;
    if (ex && ex->kept)
        for (const KeptRun& r : ex->kept->runs)
            for (const resbuf* rb = r.groups; rb; rb = rb->rbnext)
                ++n;
    return n;
}

void clearKeptGroups(AcDbObject* obj) {
    if (ObjExtras* ex = obj ? DbAccess::extrasIfAny(obj) : nullptr)
        ex->kept.reset();
}

} // namespace khost

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
std::unordered_map<std::wstring, ClassEntry>& classes() {
    static std::unordered_map<std::wstring, ClassEntry> m;
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

DbObjectFactory findDbFactory(const std::wstring& name) {
    ensureBuiltins();
    auto it = classes().find(name);
    return it == classes().end() ? nullptr : it->second.factory;
}

AcRxClass* findDbClass(const std::wstring& name) {
    ensureBuiltins();
    auto it = classes().find(name);
    return it == classes().end() ? nullptr : it->second.cls;
}

} // namespace khost
