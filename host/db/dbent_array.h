// The growable array of the host's interface (AcArray) and the geometry arrays built on it, as
// the entity classes take and give them (vertices, knots, weights, bulges).
#pragma once

#include "gepnt2d.h"
#include "gepnt3d.h"
#include "gevec2d.h"
#include "gevec3d.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <vector>

template <class T> class AcArray {
public:
    AcArray() = default;
    explicit AcArray(int initPhysicalLength, int /*initGrowLength*/ = 8) {
        m_v.reserve(initPhysicalLength > 0 ? static_cast<size_t>(initPhysicalLength) : 0);
    }
    AcArray(std::initializer_list<T> items) : m_v(items) {}

    int length() const { return static_cast<int>(m_v.size()); }
    int logicalLength() const { return length(); }
    int physicalLength() const { return static_cast<int>(m_v.capacity()); }
    bool isEmpty() const { return m_v.empty(); }
    bool empty() const { return m_v.empty(); }
    AcArray& setLogicalLength(int n) {
        m_v.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return *this;
    }
    AcArray& setPhysicalLength(int n) {
        m_v.reserve(n > 0 ? static_cast<size_t>(n) : 0);
        return *this;
    }

    // Appends and returns the index of the new element.
    int append(const T& v) {
        m_v.push_back(v);
        return length() - 1;
    }
    AcArray& append(const AcArray& other) {
        m_v.insert(m_v.end(), other.m_v.begin(), other.m_v.end());
        return *this;
    }
    AcArray& insertAt(int index, const T& v) {
        m_v.insert(m_v.begin() + index, v);
        return *this;
    }
    AcArray& removeAt(int index) {
        m_v.erase(m_v.begin() + index);
        return *this;
    }
    AcArray& removeFirst() { return removeAt(0); }
    AcArray& removeLast() {
        m_v.pop_back();
        return *this;
    }
    AcArray& removeAll() {
        m_v.clear();
        return *this;
    }
    AcArray& setAll(const T& v) {
        std::fill(m_v.begin(), m_v.end(), v);
        return *this;
    }
    AcArray& reverse() {
        std::reverse(m_v.begin(), m_v.end());
        return *this;
    }

    bool contains(const T& v, int start = 0) const {
        int i = -1;
        return find(v, i, start);
    }
    bool find(const T& v, int& foundAt, int start = 0) const {
        for (int i = start < 0 ? 0 : start; i < length(); ++i)
            if (m_v[static_cast<size_t>(i)] == v) {
                foundAt = i;
                return true;
            }
        return false;
    }
    int find(const T& v) const {
        int i = -1;
        return find(v, i) ? i : -1;
    }

    T& at(int i) { return m_v.at(static_cast<size_t>(i)); }
    const T& at(int i) const { return m_v.at(static_cast<size_t>(i)); }
    T& operator[](int i) { return m_v[static_cast<size_t>(i)]; }
    const T& operator[](int i) const { return m_v[static_cast<size_t>(i)]; }
    T& first() { return m_v.front(); }
    T& last() { return m_v.back(); }
    const T& first() const { return m_v.front(); }
    const T& last() const { return m_v.back(); }
    T* asArrayPtr() { return m_v.data(); }
    const T* asArrayPtr() const { return m_v.data(); }

    auto begin() { return m_v.begin(); }
    auto end() { return m_v.end(); }
    auto begin() const { return m_v.begin(); }
    auto end() const { return m_v.end(); }

    friend bool operator==(const AcArray& a, const AcArray& b) { return a.m_v == b.m_v; }

private:
    std::vector<T> m_v;
};

using AcGePoint2dArray = AcArray<AcGePoint2d>;
using AcGePoint3dArray = AcArray<AcGePoint3d>;
using AcGeVector2dArray = AcArray<AcGeVector2d>;
using AcGeVector3dArray = AcArray<AcGeVector3d>;
using AcGeDoubleArray = AcArray<double>;
using AcGeIntArray = AcArray<int>;
