#include "dxffiler.h"

#include "acutads.h"
#include "dbfast.h"
#include "dbhost.h"
#include "textconv.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

ACRX_DEFINE_MEMBERS(khost::dxf::InFiler, khost::LendingDxfFiler)
ACRX_DEFINE_MEMBERS(khost::dxf::OutFiler, AcDbDxfFiler)

namespace khost::dxf {

std::wstring unescapeCarets(std::wstring_view s) {
    if (s.find(L'^') == std::wstring_view::npos)
        return std::wstring(s);
    std::wstring out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == L'^' && i + 1 < s.size()) {
            wchar_t n = s[i + 1];
            if (n == L' ') {
                out.push_back(L'^');
                ++i;
                continue;
            }
            if (n >= L'@' && n <= L'_') {
                out.push_back(static_cast<wchar_t>(n - 64));
                ++i;
                continue;
            }
        }
        out.push_back(s[i]);
    }
    return out;
}

std::wstring escapeCarets(std::wstring_view s) {
    std::wstring out;
    out.reserve(s.size());
    for (wchar_t c : s) {
        if (c == L'^') {
            out += L"^ ";
        } else if (c >= 0 && c < 0x20) {
            out.push_back(L'^');
            out.push_back(static_cast<wchar_t>(c + 64));
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::uint64_t fileHandle(AcDbObjectId id) {
    if (id.isNull() || id.isErased() || !peekObject(id))
        return 0;
    return id.handle().value();
}

namespace {

// A text of printable ASCII without carets as the file holds it, into buf (with its terminating
// zero); false for any other text or one that does not fit.
bool plainNarrow(const ACHAR* s, char* buf, size_t size) {
    if (!s)
        return false;
    size_t i = 0;
    for (; s[i]; ++i) {
        ACHAR c = s[i];
        if (i + 1 >= size || c < 0x20 || c >= 0x7F || c == L'^')
            return false;
        buf[i] = static_cast<char>(c);
    }
    buf[i] = 0;
    return true;
}

} // namespace

bool plainText(const ACHAR* s, char* buf, size_t size) {
    return plainNarrow(s, buf, size);
}

namespace {

// Most texts of a file are ASCII without escapes: they are widened straight into the buffer the
// group gets.
bool isPlainAscii(std::string_view bytes) {
    for (char c : bytes) {
        auto u = static_cast<unsigned char>(c);
        if (u >= 0x80 || c == '^' || c == '\\')
            return false;
    }
    return true;
}
void widenInto(std::string_view bytes, ACHAR* p) {
    for (size_t i = 0; i < bytes.size(); ++i)
        p[i] = static_cast<ACHAR>(static_cast<unsigned char>(bytes[i]));
    p[bytes.size()] = 0;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Reading

InFiler::InFiler(AcDbDatabase* db, const TextCodec& codec, const Group* begin, const Group* end,
                 bool dimStyleRecord, bool entity)
    : m_db(db), m_codec(codec), m_pos(begin), m_end(end), m_recordEnd(end), m_commonEnd(begin),
      m_dimStyleRecord(dimStyleRecord) {
    for (const Group* p = begin; p < end; ++p)
        if (p->code == 1001) {
            m_end = p;
            break;
        }
    if (entity) {
        int markers = 0;
        m_commonEnd = m_end;
        for (const Group* p = begin; p < m_end; ++p)
            if (p->code == 100 && ++markers == 2) {
                m_commonEnd = p;
                break;
            }
    }
}

bool InFiler::convert(const Group*& p, const Group* end, resbuf& rb) {
    const Group& g = *p;
    int code = g.code;
    if (m_dimStyleRecord && code == 105)
        code = 5;
    rb.rbnext = nullptr;
    rb.restype = static_cast<short>(code);
    auto bad = [&](const char* what) {
        if (m_error.empty())
            m_error = "line " + std::to_string(g.line) + ": " + what + " \"" +
                      std::string(trim(g.value).substr(0, 40)) + "\" in group " +
                      std::to_string(g.code);
        ++p;
        return false;
    };
    switch (rbKindOf(code)) {
    case RbKind::String:
    case RbKind::Handle: {
        const bool isString = rbKindOf(code) == RbKind::String;
        std::string_view bytes = isString ? g.value : trim(g.value);
        if (isPlainAscii(bytes)) {
            rb.resval.rstring = textRoom(bytes.size());
            widenInto(bytes, rb.resval.rstring);
        } else {
            std::wstring text =
                isString ? unescapeCarets(m_codec.decode(bytes)) : m_codec.decode(bytes);
            rb.resval.rstring = textRoom(text.size());
            std::memcpy(rb.resval.rstring, text.c_str(), (text.size() + 1) * sizeof(ACHAR));
        }
        ++p;
        return true;
    }
    case RbKind::Real:
        if (!parseReal(g.value, rb.resval.rreal))
            return bad("a number was expected, found");
        ++p;
        return true;
    case RbKind::Point: {
        double xyz[3] = {0.0, 0.0, m_keep2d ? -0.0 : 0.0};
        if (!parseReal(g.value, xyz[0]))
            return bad("a coordinate was expected, found");
        ++p;
        for (int k = 1; k <= 2 && p < end && p->code == g.code + 10 * k; ++k) {
            if (!parseReal(p->value, xyz[k])) {
                const Group& c = *p;
                if (m_error.empty())
                    m_error = "line " + std::to_string(c.line) +
                              ": a coordinate was expected, found \"" +
                              std::string(trim(c.value).substr(0, 40)) + "\" in group " +
                              std::to_string(c.code);
                ++p;
                return false;
            }
            ++p;
        }
        std::memcpy(rb.resval.rpoint, xyz, sizeof xyz);
        return true;
    }
    case RbKind::Short:
    case RbKind::Long:
    case RbKind::Int64: {
        long long v = 0;
        if (!parseInt(g.value, v))
            return bad("an integer was expected, found");
        RbKind k = rbKindOf(code);
        if (k == RbKind::Short)
            rb.resval.rint = static_cast<short>(v);
        else if (k == RbKind::Long)
            rb.resval.rlong = static_cast<std::int32_t>(v);
        else
            rb.resval.mnInt64 = v;
        ++p;
        return true;
    }
    case RbKind::Name: {
        std::uint64_t h = 0;
        if (!parseHandle(g.value, h))
            return bad("a handle was expected, found");
        AcDbObjectId id;
        if (h != 0 && m_db)
            m_db->getAcDbObjectId(id, true, AcDbHandle(h));
        rb.resval.rlname[0] = rb.resval.rlname[1] = 0;
        if (!id.isNull())
            acdbGetAdsName(rb.resval.rlname, id);
        ++p;
        return true;
    }
    case RbKind::Binary: {
        std::string_view hex = trim(g.value);
        if (hex.size() % 2 != 0 || hex.size() / 2 > 32767)
            return bad("binary data was expected, found");
        size_t n = hex.size() / 2;
        char* buf = static_cast<char*>(std::malloc(n ? n : 1));
        for (size_t i = 0; i < n; ++i) {
            int hi = hexValue(hex[2 * i]), lo = hexValue(hex[2 * i + 1]);
            if (hi < 0 || lo < 0) {
                std::free(buf);
                return bad("binary data was expected, found");
            }
            buf[i] = static_cast<char>(hi * 16 + lo);
        }
        rb.resval.rbinary.clen = static_cast<short>(n);
        rb.resval.rbinary.buf = buf;
        ++p;
        return true;
    }
    default:
        // A Y or Z group without its X, or a code that holds nothing the host keeps.
        rb.restype = RTNONE;
        ++p;
        return true;
    }
}

Acad::ErrorStatus InFiler::readResBuf(resbuf* pRb) {
    while (true) {
        if (m_pos >= m_end)
            return Acad::eEndOfObject;
        if (skipped(m_pos)) {
            ++m_pos;
            continue;
        }
        const Group* start = m_pos;
        if (!convert(m_pos, m_end, *pRb)) {
            setFilerStatus(Acad::eInvalidDxfCode);
            return Acad::eInvalidDxfCode;
        }
        if (pRb->restype == RTNONE)
            continue;
        m_last = start;
        return Acad::eOk;
    }
}

Acad::ErrorStatus InFiler::lendResBuf(resbuf* pRb) {
    m_lending = true;
    Acad::ErrorStatus es = InFiler::readResBuf(pRb);
    m_lending = false;
    return es;
}

ACHAR* InFiler::textRoom(size_t n) {
    if (!m_lending)
        return static_cast<ACHAR*>(std::malloc((n + 1) * sizeof(ACHAR)));
    if (n + 1 > m_left) {
        size_t size = std::max<size_t>(n + 1, 1024);
        m_blocks.push_back(std::make_unique<ACHAR[]>(size));
        m_free = m_blocks.back().get();
        m_left = size;
    }
    ACHAR* p = m_free;
    m_free += n + 1;
    m_left -= n + 1;
    return p;
}

Acad::ErrorStatus InFiler::pushBackItem() {
    if (!m_last)
        return Acad::eNotApplicable;
    m_pos = m_last;
    m_last = nullptr;
    return Acad::eOk;
}

bool InFiler::atSubclassData(const ACHAR* subClassName) {
    const Group* p = m_pos;
    while (p < m_end && skipped(p))
        ++p;
    if (p >= m_end || p->code != 100 || !subClassName) {
        m_last = nullptr;
        return false;
    }
    std::string_view v = trim(p->value);
    size_t i = 0;
    for (; i < v.size() && subClassName[i]; ++i) {
        auto a = static_cast<unsigned char>(v[i]);
        wchar_t b = subClassName[i];
        if (a >= 0x80 || b >= 0x80 || b < 0)
            return AcDbDxfFiler::atSubclassData(subClassName); // not ASCII: the general way
        auto fold = [](unsigned c) { return c >= 'a' && c <= 'z' ? c - 32 : c; };
        if (fold(a) != fold(static_cast<unsigned>(b))) {
            m_last = nullptr;
            return false;
        }
    }
    if (i != v.size() || subClassName[i]) {
        m_last = nullptr;
        return false;
    }
    m_last = p;
    m_pos = p + 1;
    return true;
}

bool InFiler::atExtendedData() {
    const Group* p = m_pos;
    while (p < m_end && skipped(p))
        ++p;
    // The extended data is not handed out by readResBuf: its start is the end of the fields.
    return p >= m_end;
}

bool InFiler::atEndOfObject() {
    return atEOF();
}

bool InFiler::atEOF() {
    while (m_pos < m_end && skipped(m_pos))
        ++m_pos;
    return m_pos >= m_end;
}

resbuf* InFiler::readXData() {
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    const Group* p = m_end;
    while (p < m_recordEnd) {
        if (p->code == 999) {
            ++p;
            continue;
        }
        resbuf rb{};
        if (!convert(p, m_recordEnd, rb))
            break;
        if (rb.restype == RTNONE)
            continue;
        resbuf* node = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
        *node = rb;
        node->rbnext = nullptr;
        if (tail)
            tail->rbnext = node;
        else
            head = node;
        tail = node;
    }
    return head;
}

// ---------------------------------------------------------------------------------------------
// Writing

std::string OutFiler::fileText(const ACHAR* s) const {
    if (!s)
        return {};
    std::wstring_view v(s);
    bool plain = true;
    for (wchar_t c : v)
        if (c == L'^' || (c >= 0 && c < 0x20)) {
            plain = false;
            break;
        }
    return toUtf8(plain ? v : std::wstring_view(escapeCarets(v)));
}

Acad::ErrorStatus OutFiler::writeResBuf(const resbuf& rb) {
    int code = rb.restype;
    if (m_dimStyleRecord && code == 5)
        code = 105;
    if (m_pending67) {
        // The paper space flag comes right after the entity's marker, from the entity or from
        // here.
        m_pending67 = false;
        if (code != 67)
            m_out.integer(67, 1);
    }
    if ((code == 5 || code == 105) && !m_impliedReactor.isNull()) {
        AcDbObjectId owner = m_impliedReactor;
        m_impliedReactor = AcDbObjectId::kNull;
        m_out.text(code, rb.resval.rstring ? toUtf8(rb.resval.rstring) : std::string("0"));
        m_out.text(102, "{ACAD_REACTORS");
        m_out.handle(330, fileHandle(owner));
        m_out.text(102, "}");
        return Acad::eOk;
    }
    switch (rbKindOf(rb.restype)) {
    case RbKind::String:
        if (!m_out.plainWide(code, rb.resval.rstring))
            m_out.text(code, fileText(rb.resval.rstring));
        if (code == 100 && m_paperSpace && rb.resval.rstring &&
            std::wcscmp(rb.resval.rstring, L"AcDbEntity") == 0)
            m_pending67 = true;
        return Acad::eOk;
    case RbKind::Handle: {
        if (char buf[64]; plainNarrow(rb.resval.rstring, buf, sizeof buf) && buf[0] &&
                          buf[0] != ' ' && buf[std::strlen(buf) - 1] != ' ') {
            m_out.text(code, buf);
            return Acad::eOk;
        }
        std::string h = rb.resval.rstring ? toUtf8(rb.resval.rstring) : std::string("0");
        m_out.text(code, trim(h).empty() ? std::string_view("0") : trim(h));
        return Acad::eOk;
    }
    case RbKind::Real:
        m_out.real(code, rb.resval.rreal);
        return Acad::eOk;
    case RbKind::Point: {
        const double* p = rb.resval.rpoint;
        if (p[2] == 0.0 && std::signbit(p[2]))
            m_out.point2d(code, p[0], p[1]);
        else
            m_out.point(code, p[0], p[1], p[2]);
        return Acad::eOk;
    }
    case RbKind::Short:
        if (code >= 290 && code <= 299)
            m_out.integer(code, rb.resval.rint != 0 ? 1 : 0);
        else
            m_out.integer(code, rb.resval.rint);
        return Acad::eOk;
    case RbKind::Long:
        m_out.integer(code, rb.resval.rlong);
        return Acad::eOk;
    case RbKind::Int64:
        m_out.integer(code, rb.resval.mnInt64);
        return Acad::eOk;
    case RbKind::Name: {
        AcDbObjectId id;
        if (rb.resval.rlname[0] != 0 || rb.resval.rlname[1] != 0)
            acdbGetObjectId(id, rb.resval.rlname);
        std::uint64_t h = fileHandle(id);
        if (h == 0 && code == 390 && !m_plotStyleForNull.isNull())
            h = fileHandle(m_plotStyleForNull);
        m_out.handle(code, h);
        return Acad::eOk;
    }
    case RbKind::Binary: {
        static const char digits[] = "0123456789ABCDEF";
        std::string hex;
        int n = rb.resval.rbinary.clen;
        hex.reserve(static_cast<size_t>(n > 0 ? n : 0) * 2);
        for (int i = 0; i < n; ++i) {
            auto b = static_cast<unsigned char>(rb.resval.rbinary.buf[i]);
            hex.push_back(digits[b >> 4]);
            hex.push_back(digits[b & 15]);
        }
        m_out.text(code, hex);
        return Acad::eOk;
    }
    default:
        return Acad::eInvalidDxfCode;
    }
}

void OutFiler::writeChain(const resbuf* rb) {
    for (; rb; rb = rb->rbnext)
        writeResBuf(*rb);
}

} // namespace khost::dxf
