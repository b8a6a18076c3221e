#include "dxfsections.h"

#include <sys/mman.h>

#include <new>

namespace khost::dxf {

namespace {
constexpr std::size_t kLargeBytes = std::size_t{8} << 20;
} // namespace

void* largeAllocate(std::size_t bytes) {
    if (bytes < kLargeBytes)
        return ::operator new(bytes);
    void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    ::madvise(p, bytes, MADV_HUGEPAGE); // a hint: without large pages it is ordinary memory
    return p;
}

void largeDeallocate(void* p, std::size_t bytes) noexcept {
    if (bytes < kLargeBytes)
        ::operator delete(p);
    else
        ::munmap(p, bytes);
}

std::string_view Record::find(int code) const {
    for (const Group& g : groups)
        if (g.code == code)
            return g.value;
    return {};
}

bool Record::has(int code) const {
    for (const Group& g : groups)
        if (g.code == code)
            return true;
    return false;
}

const Section* FileStructure::find(std::string_view name) const {
    for (const Section& s : sections)
        if (s.name == name)
            return &s;
    return nullptr;
}

namespace {

std::string shown(std::string_view s) {
    s = trim(s);
    std::string out(s.substr(0, 40));
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20)
            c = '?';
    return out;
}

} // namespace

bool splitSections(std::string_view text, FileStructure& out, std::string& error) {
    out.sections.clear();
    if (text.substr(0, 18) == "AutoCAD Binary DXF") {
        error = "line 1: binary DXF is not supported; save the drawing as ASCII DXF";
        return false;
    }
    Tokenizer tok(text);
    Section* section = nullptr;
    Record* record = nullptr;
    bool sawEof = false;
    // Where each record's groups start in its section's recordGroups, while they are collected.
    std::vector<std::vector<size_t>> starts;
    // A group takes at least 4 bytes of the file ("0\nX\n"); entity groups average 10 to 12.
    const size_t expectedGroups = text.size() / 8;
    // Each group is read straight into the place it most likely goes (the tokenizer has just
    // stored it field by field, and a copy would read it back in other widths); the record
    // starts, section markers and comments are taken out again.
    std::vector<Group> outside;
    Group g;
    enum { End, Kept, Taken };
    auto read = [&](auto& dest) {
        if (!tok.next(dest.emplace_back())) {
            dest.pop_back();
            return End;
        }
        if (dest.back().code != 0 && dest.back().code != 999 && section)
            return Kept;
        g = Group(dest.back().code, dest.back().value, dest.back().line);
        dest.pop_back();
        return Taken;
    };
    while (true) {
        const auto got = !section ? read(outside)
                                  : (record ? read(section->recordGroups) : read(section->leading));
        if (got == End)
            break;
        if (got == Kept)
            continue;
        if (g.code == 999) // comments
            continue;
        if (g.code != 0) {
            tok.fail(g.line, "group " + std::to_string(g.code) + " outside of a section");
            break;
        }
        std::string_view type = trim(g.value);
        if (type == "EOF") {
            if (section) {
                tok.fail(g.line, "EOF inside section " + section->name + " (ENDSEC missing)");
                break;
            }
            sawEof = true;
            break;
        }
        if (type == "SECTION") {
            if (section) {
                tok.fail(g.line, "SECTION inside section " + section->name + " (ENDSEC missing)");
                break;
            }
            Group name;
            if (!tok.next(name)) {
                if (tok.error().empty())
                    tok.fail(g.line, "the file ends after SECTION");
                break;
            }
            if (name.code != 2 || trim(name.value).empty()) {
                tok.fail(name.line, "the section has no name (group 2 expected)");
                break;
            }
            out.sections.emplace_back();
            starts.emplace_back();
            section = &out.sections.back();
            section->name = std::string(trim(name.value));
            section->line = g.line;
            record = nullptr;
            continue;
        }
        if (type == "ENDSEC") {
            if (!section) {
                tok.fail(g.line, "ENDSEC outside of a section");
                break;
            }
            section = nullptr;
            record = nullptr;
            continue;
        }
        if (!section) {
            tok.fail(g.line, shown(g.value) + " outside of a section");
            break;
        }
        // Room for the groups of the entities at once (address space only until used).
        if (section->records.empty() && section->name == "ENTITIES")
            section->recordGroups.reserve(expectedGroups);
        section->records.emplace_back();
        starts.back().push_back(section->recordGroups.size());
        record = &section->records.back();
        record->type = type;
        record->line = g.line;
    }
    if (tok.error().empty() && !sawEof) {
        int line = tok.line() > 0 ? tok.line() : 1;
        if (section)
            tok.fail(line, "the file ends inside section " + section->name +
                               " (truncated: ENDSEC and EOF missing)");
        else
            tok.fail(line, "the file ends without EOF (truncated)");
    }
    if (!tok.error().empty()) {
        error = tok.error();
        out.sections.clear();
        return false;
    }
    // The records get their ranges now that the groups no longer move.
    for (size_t k = 0; k < out.sections.size(); ++k) {
        Section& sec = out.sections[k];
        const std::vector<size_t>& st = starts[k];
        for (size_t r = 0; r < sec.records.size(); ++r) {
            size_t end = r + 1 < st.size() ? st[r + 1] : sec.recordGroups.size();
            sec.records[r].groups = GroupSpan(sec.recordGroups.data() + st[r], end - st[r]);
        }
    }
    return true;
}

} // namespace khost::dxf
