// Joining of collinear lines ("sp"): of every group of lines that lie on one straight line one is
// kept, stretched between the two end points of the group that lie farthest apart, and the others
// are erased.
#pragma once

#include "StdAfx.h"

#include <map>
#include <vector>

// One usable line or polyline segment.
class CVoxUsecka {
public:
    CVoxUsecka(const AcGePoint2d& ptZacatek, const AcGePoint2d& ptKonec, AcDbObjectId id,
               const AcGeTol& tol)
        : m_primka(ptZacatek, ptKonec), m_id(id), m_ptZacatek(ptZacatek), m_ptKonec(ptKonec),
          m_tol(tol) {}

    // Both lie on one unbounded line within this record's tolerance.
    bool JeKolinearni(const CVoxUsecka& usecka) const {
        return m_primka.isColinearTo(usecka.m_primka, m_tol);
    }

    AcGeLine2d m_primka;
    AcDbObjectId m_id;
    AcGePoint2d m_ptZacatek;
    AcGePoint2d m_ptKonec;
    AcGeTol m_tol;
};

// The index of a group's first record to the records of the group, that one first.
typedef std::map<size_t, std::vector<size_t>> MapaSkupin;

class CVoxSpojUsecky {
public:
    explicit CVoxSpojUsecky(const AcGeTol& tol) : m_tol(tol) {}

    // Records of the lines of the set (and of the segments of light-weight polylines); frees the
    // set and prints how many members it had.
    void NactiUsecky(ads_name ss);
    // A record of a line from its end points; false for a line whose end points are equal
    // within the tolerance.
    bool PridejUsecku(const AcGePoint2d& ptZacatek, const AcGePoint2d& ptKonec, AcDbObjectId id);

    // The groups: each record not yet grouped, in order, with every later record collinear with
    // it. The pairs are found through an index of directions and offsets; the result is that of
    // comparing every record with every later one (NajdiKolinearniPoParech).
    void NajdiKolinearni();
    void NajdiKolinearniPoParech();

    // Stretches the first line of each group over the group's farthest end points and erases the
    // others; returns the number of lines erased.
    int Spoj();

    const std::vector<CVoxUsecka>& Usecky() const { return m_aUsecky; }
    const MapaSkupin& Skupiny() const { return m_mapSkupiny; }

    // The two end points of the group that lie farthest apart, as Spoj takes them.
    void NejvzdalenejsiBody(const std::vector<size_t>& aSkupina, AcGePoint2d& pt1,
                            AcGePoint2d& pt2) const;

private:
    // Adds the pair to the group of i (made when missing).
    void PridejDoSkupiny(size_t i, size_t j, std::vector<char>& aVeSkupine);

    AcGeTol m_tol;
    std::vector<CVoxUsecka> m_aUsecky;
    MapaSkupin m_mapSkupiny;
};

// The joining tolerance: 20 millimetres in the working drawing's units for points, and the same
// for directions but never wider than 0.02 (which it is in a drawing in metres): a wider one would
// take lines at any angle for parallel. Throws "Nelze získat přepočet jednotek" for a drawing
// without units.
AcGeTol TolerancePrevodu();

// "sp".
void PrikazSp();
