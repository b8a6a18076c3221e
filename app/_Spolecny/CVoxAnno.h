// Annotation scales: annotative objects, their scales, the drawing's current scale and the
// office's standard scales in the drawing's list.
#pragma once

#include "StdAfx.h"

#include <string>
#include <vector>

// One standard scale: its name and the drawing units per one paper unit.
struct CVoxMeritko {
    std::wstring sJmeno;
    double dJednotkyVykresu;
};
typedef std::vector<CVoxMeritko> CVoxSeznamMeritek;

// Options of NastavAnnotative.
#define ANNO_I_DEFINICI 1 // a block reference takes its block definition along

class CVoxAnno {
public:
    // Makes an object open for write annotative or not. False when the host refused.
    static bool NastavAnnotative(AcDbObject* pObj, bool bAnnotative, int nVolby = ANNO_I_DEFINICI);
    // Makes the object annotative and adds the scale to it; true when the scale was added.
    static bool PridejMeritko(AcDbObject* pObj, const AcDbAnnotationScale& meritko);
    // The ratio of the current annotation scale (paper units per drawing unit: 0.01 at 1:100).
    static double AktualniMeritko(AcDbDatabase* pDb);
    // Fills the list with the standard scales for the units and adds those the working
    // drawing lacks to its annotation scales.
    static void NastavMeritka(CVoxSeznamMeritek& seznam, AcDb::UnitsValue nJednotky);
    // Removes every annotation scale the drawing lets go.
    static void SmazMeritka(AcDbDatabase* pDb);
};
