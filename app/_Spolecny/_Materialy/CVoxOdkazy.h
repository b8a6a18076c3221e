// The list of places that hold a pointer to a material or profile outside the material list.
// Whoever keeps such a pointer registers the address of its pointer variable; when the object is
// destroyed, the variables that still point at it are set to null.
#pragma once

#include "CVoxException.h"

#include <algorithm>
#include <vector>

template <class T> class CVoxOdkazy {
public:
    void Pridej(T** ppOdkaz) {
        if (std::find(m_aOdkazy.begin(), m_aOdkazy.end(), ppOdkaz) != m_aOdkazy.end())
            VOX_THROW("Předaný odkaz již existuje v seznamu odkazů");
        m_aOdkazy.push_back(ppOdkaz);
    }

    void Odeber(T** ppOdkaz) {
        if (m_aOdkazy.empty())
            VOX_THROW("Počet ukazatelů je 0");
        auto it = std::find(m_aOdkazy.begin(), m_aOdkazy.end(), ppOdkaz);
        if (it == m_aOdkazy.end())
            VOX_THROW("Předaný ukazatel není v seznamu odkazů");
        m_aOdkazy.erase(it);
    }

    // The object pObjekt is going away: its holders no longer point at anything. A holder that
    // was meanwhile pointed at another object (a copy that took the list over) keeps its value.
    void Vynuluj(const T* pObjekt) {
        for (T** pp : m_aOdkazy)
            if (pp && *pp == pObjekt)
                *pp = nullptr;
        m_aOdkazy.clear();
    }

    // Points every holder at pObjekt.
    void Presmeruj(T* pObjekt) {
        for (T** pp : m_aOdkazy)
            if (pp)
                *pp = pObjekt;
    }

    void Vyprazdni() { m_aOdkazy.clear(); }
    bool JePrazdny() const { return m_aOdkazy.empty(); }
    size_t Pocet() const { return m_aOdkazy.size(); }
    const std::vector<T**>& Seznam() const { return m_aOdkazy; }

private:
    std::vector<T**> m_aOdkazy;
};
