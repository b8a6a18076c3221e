// The drawing frame ("rámeček"): a block with the outer edge of a paper format and its fold
// ticks, an optional inner rectangle and two constant attribute definitions, the readable
// description "POP_RAM" and the frame's own parameters "PARAM_RAM". The command ram draws a new
// frame or edits an existing one; the double-click handler edits frames the same way.
#pragma once

#include "StdAfx.h"

#include <string>
#include <vector>

class CKvDlgRamecek;

// Every frame's block name contains this text.
#define RAMECEK_BLOK L"TEBU_RAMECEK"
#define RAMECEK_TAG_POPIS L"POP_RAM"
#define RAMECEK_TAG_PARAM L"PARAM_RAM"

class CRamecek {
public:
    // Only one frame object may exist at a time.
    CRamecek();
    ~CRamecek();
    CRamecek(const CRamecek&) = delete;
    CRamecek& operator=(const CRamecek&) = delete;

    int m_nSirka = 210;
    int m_nVyska = 297;
    bool m_bDvojity = false;
    bool m_bPopis = false;
    bool m_bNetisk = false;
    int m_nCarka = 5;
    int m_nRoztec = 5;
    AcGePoint3d m_ptRoh;
    AcGePoint3d m_ptVlozeni;
    AcDbObjectId m_idHladina;
    double m_dKrok = 210.0;
    AcDbObjectIdArray m_aRamecky;

    // Whether a block of that name is a frame.
    static bool JeRamecek(const ACHAR* sJmenoBloku);
    // The horizontal fold step of a width.
    static double Krok(int nSirka) { return nSirka < 841 ? 210.0 : 210.25; }

    // Collects the references of frames in the drawing into m_aRamecky.
    void NajdiRamecky();
    // The 18 characters of "PARAM_RAM" for the current fields.
    std::wstring TextParametru() const;
    // Decodes a parameter text into the fields; false (fields unchanged) when it is malformed.
    bool CtiParametry(const ACHAR* sText);
    // The vertices of the outer edge in block coordinates, in drawing order.
    std::vector<AcGePoint2d> BodyObrysu() const;
    // The number of A4 sheets the format covers.
    int PocetA4() const;
    // The description "W x H - N A4".
    std::wstring TextPopisu() const;

    // The frame edit: reads the frame of the reference and its block, runs the dialog with its
    // values and, on OK, erases the reference and the block when nothing else uses it. True
    // when the dialog was closed with OK.
    bool Edituj(AcDbObjectId idReference, AcDbObjectId idBlok, CKvDlgRamecek& dlgRamecek);
    // Takes width, height, ticks, spacing and the two flags from the dialog (after OK).
    void Prevezmi(const CKvDlgRamecek& dlgRamecek);
    // Builds a new block from the fields and inserts it; the reference, null when it failed.
    AcDbObjectId Vytvor();

private:
    // Reads the parameters of a frame's block; false after the inconsistency message.
    bool CtiRamecek(AcDbObjectId idReference, AcDbObjectId idBlok);
    static bool s_bExistuje;
};

// The command ram.
void PrikazRam();
