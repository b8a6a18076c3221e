// A bundle of parallel pipes drawn leg by leg: one line per pipe on its own layer, at a fixed
// spacing, the lines of each layer trimmed or extended to meet at every corner. The layers, the
// spacing and which pipe the picked points define are kept in the drawing under
// "DlgMultiTrubky".
#pragma once

#include "StdAfx.h"

#include <memory>
#include <string>
#include <vector>

#define MULTI_SKUPINA L"DlgMultiTrubky"
#define MULTI_ROZTEC L"ROZTEC"
#define MULTI_TYPVEDENI L"TYPVEDENI"
#define MULTI_SEZNAMHLADIN L"SEZNAMHLADIN"

// Which pipe the picked points define.
#define MULTI_HORNI 0
#define MULTI_STRED 1
#define MULTI_SPODNI 2

class CVoxMultiTrubky;
class CVoxUsek;

// One pipe of a leg: its line from start to end (the end before any trim by the next leg).
struct CVoxTrubka {
    AcGePoint2d m_ptZacatek;
    AcGePoint2d m_ptKonec;
    AcDbObjectId m_idHladina;
    CVoxUsek* m_pUsek = nullptr;
    AcDbObjectId m_idUsecka;
};

// One leg of the bundle between two picked points.
class CVoxUsek {
public:
    CVoxUsek(const AcGePoint2d& ptZacatek, const AcGePoint2d& ptKonec, CVoxUsek* pPredchozi,
             CVoxMultiTrubky* pMulti, double dRoztec, bool bProhodit);

    AcGePoint2d m_ptZacatek;
    AcGePoint2d m_ptKonec;
    CVoxUsek* m_pPredchozi;
    CVoxMultiTrubky* m_pMulti;
    double m_dRoztec;
    bool m_bProhodit;
    std::vector<CVoxTrubka> m_aTrubky;

    // The unit direction of the leg.
    AcGeVector2d Smer() const;
    // The leg continues the previous one in the same direction (or there is none).
    bool NavazujeRovne() const;
    // The offset of pipe k from the picked leg, to the left of the direction of drawing.
    double Odsazeni(int k) const;
    // The index of the previous leg's pipe that pipe k joins.
    int Protejsi(int k) const;
    // Where pipe k meets the pipe it joins; false when the lines do not meet.
    bool Prusecik(int k, AcGePoint2d& ptPrusecik) const;
    // Whether every pipe keeps its direction on both sides of the corner (message box if not).
    bool KontrolaRohu() const;
    // Checks the corner, then creates the lines and trims the previous leg's lines. False (and
    // nothing drawn) when the corner is refused.
    bool Kresli();
};

class CVoxMultiTrubky {
public:
    // Reads the settings of the drawing and makes the layers.
    CVoxMultiTrubky();
    // Writes the settings back to the drawing.
    ~CVoxMultiTrubky();
    CVoxMultiTrubky(const CVoxMultiTrubky&) = delete;
    CVoxMultiTrubky& operator=(const CVoxMultiTrubky&) = delete;

    int m_nTypVedeni = MULTI_SPODNI;
    AcGeTol m_tol;
    double m_dRoztec = 0.0;
    std::vector<std::unique_ptr<CVoxUsek>> m_aUseky;
    std::vector<AcDbObjectId> m_aHladinyId;
    std::vector<std::wstring> m_aHladiny;
    AcGePoint2d m_ptStart;

    // Drawing units per metre of the working database.
    static double JednotkyNaMetr();

    // The start prompt: true with m_ptStart set, false when the command ends.
    bool ZadejStart();
    // The point loop from m_ptStart.
    void ZadavejBody();
    // The settings dialog; true after OK.
    bool Nastaveni();
    // Finds or creates the layers of m_aHladiny.
    void ZalozHladiny();
    // Reverses the layer list (names and ids).
    void ObratHladiny();
    // Removes the last leg and restores the one before it; false when there is none.
    bool Zpet();
    void UlozNastaveni();
    // Drawing units per metre, as found at construction.
    double Jednotky() const { return m_dJednotky; }

private:
    double m_dJednotky = 1000.0;
    bool m_bProhodit = false; // the swap flag for the next leg
};

// The command mut.
void PrikazMut();
