// Commands over many entities: flattening to Z = 0, linetype scales of the drawing and of an
// external reference, and the reversal of curves.
#pragma once

#include "StdAfx.h"

#include "VoxProjdiDwg.h"

#include <set>

// Lines, polylines, circles, arcs, texts, multi-line texts and block references into Z = 0.
class VoxUPrevodZNaNulu : public CVoxCmd::ProjdiDwgFce {
public:
    int operator()(AcDbEntity* pEnt) override;
};

// Multiplies every entity's linetype scale by the factor the user types (asked in the
// constructor); prints a dot for each entity; reports no change.
class VoxUZmenMeritkoVeVykrese : public CVoxCmd::ProjdiDwgFce {
public:
    VoxUZmenMeritkoVeVykrese();
    int operator()(AcDbEntity* pEnt) override;
    // False when the user gave no factor (Enter or Esc): then nothing is to be changed.
    bool MaModifikator() const { return m_bZadano; }
    double Modifikator() const { return m_dModifikator; }

private:
    double m_dModifikator = 0.0;
    bool m_bZadano = false;
};

// Multiplies the linetype scale by the factor and makes colour and lineweight ByLayer; remembers
// the layers of the entities it changed.
class VoxUZmenMeritko : public CVoxCmd::ProjdiDwgFce {
public:
    explicit VoxUZmenMeritko(double dModifikator);
    int operator()(AcDbEntity* pEnt) override;
    const std::set<AcDbObjectId>& Hladiny() const { return m_aHladiny; }

private:
    double m_dModifikator;
    std::set<AcDbObjectId> m_aHladiny;
};

// "z0" (local name "jur").
void PrikazZ0();
// "ssa".
void PrikazSsa();
// "ss": the LTSCALE of a picked external reference moved into its entities; the file is saved.
void PrikazSs();
// "pro": the direction of selected curves reversed.
void PrikazPro();
