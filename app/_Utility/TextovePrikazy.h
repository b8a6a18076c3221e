// Commands on texts, multi-line texts, multileaders and attributes: in-place editing, copying
// properties from a sample, attribute definitions to texts, capitals, stripping of formatting and
// the repair of Czech letters stored under a wrong code page.
#pragma once

#include "StdAfx.h"

#include "VoxProjdiDwg.h"

// "ed": the in-place editor on a picked text, multi-line text, multileader or attribute.
void PrikazEd();
// "ca": colour, layer, linetype, linetype scale, lineweight and text style of a sample.
void PrikazCa();
// "mat": attribute definitions become plain texts showing their tags.
void PrikazMat();
// "tv": a text, multi-line text or multileader in capitals under the Czech locale.
void PrikazTv();
// "mtcf": character formatting stripped from multi-line texts and multileaders.
void PrikazMtcf();
// "kub": Czech letters repaired in the multi-line texts of the whole drawing.
void PrikazKub();

// The contents without braces and without the codes of colour, font, height and width (\C, \F,
// \H, \Q up to their ";"); other backslash codes stay with the character after the backslash.
AcString OdstranFormat(const AcString& sObsah);

// Replaces, in multi-line texts, the Latin-1 readings of the Windows-1250 bytes of Czech letters
// by the letters; prints every character before and after. Reports no change.
class VoxUPrevodnikHacku : public CVoxCmd::ProjdiDwgFce {
public:
    VoxUPrevodnikHacku();
    int operator()(AcDbEntity* pEnt) override;

    // Replaces every wrong code unit by its right one, pair by pair in table order.
    void Oprav(AcString& s) const;

private:
    AcString m_sSpatne;
    AcString m_sSpravne;
    int m_nPocet;
};
