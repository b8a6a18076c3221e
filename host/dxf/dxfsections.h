// The section level of ASCII DXF: a file is split into its sections, and each section into the
// groups before its first 0 group (the header variables) and its records (a 0 group with the
// groups up to the next 0 group). The structure is checked on the way; the first fault is
// reported with its line number.
#pragma once

#include "dxfgroups.h"

#include <string>
#include <string_view>
#include <vector>

namespace khost::dxf {

// The groups of one record: a range of the groups its section keeps together.
class GroupSpan {
public:
    GroupSpan() = default;
    GroupSpan(const Group* begin, size_t size) : m_begin(begin), m_size(size) {}
    const Group* data() const { return m_begin; }
    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    const Group* begin() const { return m_begin; }
    const Group* end() const { return m_begin + m_size; }
    const Group& operator[](size_t i) const { return m_begin[i]; }

private:
    const Group* m_begin = nullptr;
    size_t m_size = 0;
};

struct Record {
    std::string_view type; // the value of the 0 group: "LINE", "TABLE", "DICTIONARY" ...
    int line = 0;
    GroupSpan groups; // the groups after the 0 group

    // The value of the first group with this code, or empty.
    std::string_view find(int code) const;
    bool has(int code) const;
};

// The allocator of large group vectors: a vector of some megabytes (the groups of a drawing's
// entities) is given pages of its own, which the system may back with large pages, so that
// filling it takes a few page faults rather than one for every 4 KB. Smaller vectors come from the
// heap.
void* largeAllocate(std::size_t bytes);
void largeDeallocate(void* p, std::size_t bytes) noexcept;
template <class T> struct LargeVectorAllocator {
    using value_type = T;
    LargeVectorAllocator() = default;
    template <class U> LargeVectorAllocator(const LargeVectorAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(largeAllocate(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { largeDeallocate(p, n * sizeof(T)); }
    template <class U> bool operator==(const LargeVectorAllocator<U>&) const noexcept {
        return true;
    }
};
struct Section {
    std::string name; // "HEADER", "CLASSES", "TABLES", "BLOCKS", "ENTITIES", "OBJECTS" ...
    int line = 0;
    std::vector<Group> leading; // the groups before the first record (header variables)
    std::vector<Record> records;
    // The groups of all records, in the order of the file (one allocation for a section rather
    // than one for each record).
    std::vector<Group, LargeVectorAllocator<Group>> recordGroups;
};

struct FileStructure {
    std::vector<Section> sections;
    const Section* find(std::string_view name) const;
};

// Splits the whole text. False with a one-line message ("line N: ...") on bad input.
bool splitSections(std::string_view text, FileStructure& out, std::string& error);

} // namespace khost::dxf
