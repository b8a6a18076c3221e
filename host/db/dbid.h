// Handles and object identifiers of the drawing database.
//
// An AcDbObjectId is a pointer-sized value that refers to the per-object stub kept by the
// database. The stub lives as long as its database and holds the database, the handle, the
// object (null while an object with that handle was only referenced, e.g. a forward reference
// while a drawing is read) and the erased flag, so ids stay cheap to copy, compare and hash.
#pragma once

#include "acadstrc.h"
#include "adsdef.h"
#include "rxobject.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

class AcDbDatabase;
class AcDbObject;

namespace khost {
struct DbStub;
}

class AcDbHandle {
public:
    AcDbHandle() = default;
    AcDbHandle(Adesk::UInt64 value) : m_value(value) {}
    AcDbHandle(int lo, int hi)
        : m_value((static_cast<Adesk::UInt64>(static_cast<Adesk::UInt32>(hi)) << 32) |
                  static_cast<Adesk::UInt32>(lo)) {}
    // From the hexadecimal text of a DXF handle; an invalid text gives the null handle.
    explicit AcDbHandle(const ACHAR* hex);

    bool isNull() const { return m_value == 0; }
    void setNull() { m_value = 0; }
    Adesk::UInt32 low() const { return static_cast<Adesk::UInt32>(m_value); }
    Adesk::UInt32 high() const { return static_cast<Adesk::UInt32>(m_value >> 32); }
    void setLow(Adesk::UInt32 lo) { m_value = (m_value & 0xFFFFFFFF00000000ull) | lo; }
    void setHigh(Adesk::UInt32 hi) {
        m_value = (m_value & 0xFFFFFFFFull) | (static_cast<Adesk::UInt64>(hi) << 32);
    }
    Adesk::UInt64 value() const { return m_value; }
    operator Adesk::UInt64() const { return m_value; }

    AcDbHandle& operator++() {
        ++m_value;
        return *this;
    }
    AcDbHandle operator++(int) {
        AcDbHandle h = *this;
        ++m_value;
        return h;
    }
    void increment() { ++m_value; }
    void decrement() { --m_value; }
    AcDbHandle operator+(const AcDbHandle& o) const { return AcDbHandle(m_value + o.m_value); }

    // Upper-case hexadecimal without leading zeros ("0" for the null handle).
    // The buffer must hold at least 17 characters.
    bool getIntoAsciiBuffer(ACHAR* buf, size_t nBufLen = 17) const;

    friend bool operator==(const AcDbHandle& a, const AcDbHandle& b) {
        return a.m_value == b.m_value;
    }
    friend bool operator!=(const AcDbHandle& a, const AcDbHandle& b) {
        return a.m_value != b.m_value;
    }
    friend bool operator<(const AcDbHandle& a, const AcDbHandle& b) {
        return a.m_value < b.m_value;
    }
    friend bool operator>(const AcDbHandle& a, const AcDbHandle& b) {
        return a.m_value > b.m_value;
    }

private:
    Adesk::UInt64 m_value = 0;
};

class AcDbObjectId {
public:
    constexpr AcDbObjectId() = default;
    explicit AcDbObjectId(khost::DbStub* stub) : m_stub(stub) {}

    static const AcDbObjectId kNull;

    bool isNull() const { return m_stub == nullptr; }
    void setNull() { m_stub = nullptr; }
    // Not null and referring to an object that exists (possibly erased).
    bool isValid() const;
    bool isErased() const;
    // Whether the object is currently loaded; every object of this host is.
    bool isResident() const { return isValid(); }
    bool objectLeftOnDisk() const { return false; }
    bool isEffectivelyErased() const { return isErased(); }
    bool isWellBehaved() const { return isValid(); }

    AcDbHandle handle() const;
    AcDbDatabase* database() const;
    AcDbDatabase* originalDatabase() const { return database(); }
    // The runtime class of the object, or null for a null or dangling id.
    AcRxClass* objectClass() const;

    Adesk::IntPtr asOldId() const { return reinterpret_cast<Adesk::IntPtr>(m_stub); }
    AcDbObjectId& setFromOldId(Adesk::IntPtr oldId) {
        m_stub = reinterpret_cast<khost::DbStub*>(oldId);
        return *this;
    }

    khost::DbStub* stub() const { return m_stub; }

    friend bool operator==(const AcDbObjectId& a, const AcDbObjectId& b) {
        return a.m_stub == b.m_stub;
    }
    friend bool operator!=(const AcDbObjectId& a, const AcDbObjectId& b) {
        return a.m_stub != b.m_stub;
    }
    friend bool operator<(const AcDbObjectId& a, const AcDbObjectId& b) {
        return std::less<const khost::DbStub*>()(a.m_stub, b.m_stub);
    }
    friend bool operator>(const AcDbObjectId& a, const AcDbObjectId& b) { return b < a; }
    friend bool operator<=(const AcDbObjectId& a, const AcDbObjectId& b) { return !(b < a); }
    friend bool operator>=(const AcDbObjectId& a, const AcDbObjectId& b) { return !(a < b); }

private:
    khost::DbStub* m_stub = nullptr;
};

inline const AcDbObjectId AcDbObjectId::kNull{};

// The reference kinds of the host are plain ids here.
using AcDbHardOwnershipId = AcDbObjectId;
using AcDbSoftOwnershipId = AcDbObjectId;
using AcDbHardPointerId = AcDbObjectId;
using AcDbSoftPointerId = AcDbObjectId;

template <> struct std::hash<AcDbObjectId> {
    size_t operator()(const AcDbObjectId& id) const noexcept {
        return std::hash<const void*>()(id.stub());
    }
};
template <> struct std::hash<AcDbHandle> {
    size_t operator()(const AcDbHandle& h) const noexcept {
        return std::hash<Adesk::UInt64>()(h.value());
    }
};

// A growable array of ids with the host's array accessors.
class AcDbObjectIdArray {
public:
    AcDbObjectIdArray() = default;
    AcDbObjectIdArray(int initPhysicalLength, int /*initGrowLength*/ = 8) {
        m_v.reserve(initPhysicalLength > 0 ? static_cast<size_t>(initPhysicalLength) : 0);
    }
    AcDbObjectIdArray(std::initializer_list<AcDbObjectId> ids) : m_v(ids) {}

    int length() const { return static_cast<int>(m_v.size()); }
    int logicalLength() const { return length(); }
    int physicalLength() const { return static_cast<int>(m_v.capacity()); }
    bool isEmpty() const { return m_v.empty(); }
    bool empty() const { return m_v.empty(); }
    void setLogicalLength(int n) { m_v.resize(n > 0 ? static_cast<size_t>(n) : 0); }
    void setPhysicalLength(int n) { m_v.reserve(n > 0 ? static_cast<size_t>(n) : 0); }

    // Appends and returns the index of the new element.
    int append(const AcDbObjectId& id) {
        m_v.push_back(id);
        return length() - 1;
    }
    AcDbObjectIdArray& append(const AcDbObjectIdArray& other) {
        m_v.insert(m_v.end(), other.m_v.begin(), other.m_v.end());
        return *this;
    }
    AcDbObjectIdArray& insertAt(int index, const AcDbObjectId& id) {
        m_v.insert(m_v.begin() + index, id);
        return *this;
    }
    AcDbObjectIdArray& removeAt(int index) {
        m_v.erase(m_v.begin() + index);
        return *this;
    }
    bool remove(const AcDbObjectId& id, int start = 0) {
        int i = -1;
        if (!find(id, i, start))
            return false;
        removeAt(i);
        return true;
    }
    AcDbObjectIdArray& removeFirst() { return removeAt(0); }
    AcDbObjectIdArray& removeLast() {
        m_v.pop_back();
        return *this;
    }
    AcDbObjectIdArray& removeAll() {
        m_v.clear();
        return *this;
    }
    AcDbObjectIdArray& setAll(const AcDbObjectId& id) {
        for (auto& x : m_v)
            x = id;
        return *this;
    }

    bool contains(const AcDbObjectId& id, int start = 0) const {
        int i;
        return find(id, i, start);
    }
    bool find(const AcDbObjectId& id, int& foundAt, int start = 0) const {
        for (int i = start < 0 ? 0 : start; i < length(); ++i)
            if (m_v[static_cast<size_t>(i)] == id) {
                foundAt = i;
                return true;
            }
        return false;
    }
    int find(const AcDbObjectId& id) const {
        int i = -1;
        return find(id, i) ? i : -1;
    }

    AcDbObjectId& at(int i) { return m_v.at(static_cast<size_t>(i)); }
    const AcDbObjectId& at(int i) const { return m_v.at(static_cast<size_t>(i)); }
    AcDbObjectId& operator[](int i) { return m_v[static_cast<size_t>(i)]; }
    const AcDbObjectId& operator[](int i) const { return m_v[static_cast<size_t>(i)]; }
    AcDbObjectId& first() { return m_v.front(); }
    AcDbObjectId& last() { return m_v.back(); }
    const AcDbObjectId& first() const { return m_v.front(); }
    const AcDbObjectId& last() const { return m_v.back(); }
    AcDbObjectId* asArrayPtr() { return m_v.data(); }
    const AcDbObjectId* asArrayPtr() const { return m_v.data(); }

    auto begin() { return m_v.begin(); }
    auto end() { return m_v.end(); }
    auto begin() const { return m_v.begin(); }
    auto end() const { return m_v.end(); }

    friend bool operator==(const AcDbObjectIdArray& a, const AcDbObjectIdArray& b) {
        return a.m_v == b.m_v;
    }

private:
    std::vector<AcDbObjectId> m_v;
};

// The link between ids and the ads_name of the C interface (entity names of LISP and selection
// sets): the name carries the id in its first element.
Acad::ErrorStatus acdbGetAdsName(ads_name& objName, AcDbObjectId objId);
Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& objId, const ads_name objName);
