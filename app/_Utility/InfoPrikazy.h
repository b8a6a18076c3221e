// Commands that inform about entities.
#pragma once

#include "StdAfx.h"

#include "VoxProjdiDwg.h"

// Prints the layer and the colour index of each entity it is given; reports no change.
class VoxSVypisEntitu : public CVoxCmd::ProjdiDwgFce {
public:
    int operator()(AcDbEntity* pEnt) override;
};

// "vypisent": the layer and colour of every entity of model space.
void PrikazVypisEnt();

// "li": the properties of a picked entity, also inside blocks and external references, with its
// layer's and the holding reference's in a dialog.
void PrikazLi();

// "pokus": registered for trying things out; returns at once.
void PrikazPokus();
