// Selection of entities for the commands: typed selections with the pickfirst set first, and
// single picks of texts, attributes and lines, also inside block references and external
// references.
//
// Result codes: 0 success, 3 cancelled or failed, 34 an entity of a wrong kind was picked and the
// routine was not told to insist. mustSelect keeps asking until something suitable is picked
// (Esc always ends with 3); keepOpen leaves the picked entity open for reading for the caller,
// who closes it (a polyline segment, which is not in the database, is deleted instead).
#pragma once

#include "StdAfx.h"

#include <array>
#include <functional>
#include <vector>

constexpr int VYBER_OK = 0;
constexpr int VYBER_ZRUSENO = 3;
constexpr int VYBER_SPATNY_DRUH = 34;

// Kinds of a typed selection (bits).
constexpr int DRUH_TEXT = 1;
constexpr int DRUH_MTEXT = 2;
constexpr int DRUH_MLEADER = 4;
constexpr int DRUH_BLOK = 8;

// The block references that contain a nested entity, innermost first, each by its entity name.
class CVoxSeznamReferenci {
public:
    int Pocet() const { return static_cast<int>(m_aJmena.size()); }
    const std::int64_t* Jmeno(int i) const { return m_aJmena[static_cast<size_t>(i)].data(); }
    AcDbObjectId Id(int i) const;
    void Pridej(const ads_name jmeno);
    void Vyprazdni() { m_aJmena.clear(); }
    // Brings a point of the nested entity into world coordinates through the block
    // transformation of each reference, innermost first. A reference that cannot be opened
    // throws CVoxException.
    AcGePoint3d NaWcs(const AcGePoint3d& bod) const;

private:
    std::vector<std::array<std::int64_t, 2>> m_aJmena;
};

// A typed selection of the kinds nDruh (DRUH_* bits): the pickfirst set when it has suitable
// entities (then the pickfirst set is cleared), else a single pick, or with multiple any number.
int VyberEntity(ads_name ss, bool mustSelect, bool multiple, int nDruh);
int VyberTextMtextMleader(ads_name ss, bool mustSelect, bool multiple);
// One text, multiline text or multileader by its identifier.
int VyberTextId(AcDbObjectId& id, bool mustSelect);
// Attribute definitions: the pickfirst set (left as it is), else any number.
int VyberAtributDef(ads_name ss, bool mustSelect);
// A text, multiline text or multileader, or an attribute of a block reference. For an attribute
// pBlokRef receives the picked reference, already closed (it tells where the attribute came
// from and must not be used); otherwise it is null.
int VyberTextNeboAtribut(AcDbEntity*& pEntita, AcDbBlockReference*& pBlokRef, bool keepOpen,
                         bool mustSelect);
// A line, a polyline segment, a text, a multiline text or a multileader, also inside blocks and
// external references. A polyline segment comes as a new line outside the database (with
// keepOpen the caller deletes it; without it is deleted here and pEntita is null) and pPline
// receives the polyline it belongs to, already closed. pHorni receives the top-level block
// reference when the result lies inside one: with keepOpen it stays open for the caller, who
// closes it; otherwise it is closed and must not be used. Null for a direct pick.
int VyberCaruNeboText(AcDbEntity*& pEntita, AcDbEntity*& pHorni, AcDbPolyline*& pPline,
                      bool keepOpen, bool mustSelect);
// The innermost entity under the pick of a "_:N:S" selection, opened for reading into pEntita
// (the caller closes it). pReference receives the references that contain it; ppSegment, for a
// light-weight polyline, a new entity outside the database that copies the picked segment (the
// caller deletes it). 0, or the host's status (5 when the selection cannot be read).
int VnorenaEntita(const ads_name ss, AcDbEntity*& pEntita, CVoxSeznamReferenci* pReference,
                  AcDbEntity** ppSegment);

// Opens every entity of a selection set in the given mode and passes it with its id to fn, which
// must not close it; an entity that cannot be opened is reported on the command line and skipped.
void ProjdiVyber(const ads_name ss, AcDb::OpenMode nRezim,
                 const std::function<void(AcDbEntity*, const AcDbObjectId&)>& fn);
