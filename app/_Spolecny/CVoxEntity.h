// Creation of the entities the commands draw (texts, multi-line texts, lines, block references
// with their attributes and dynamic properties), attribute lookup and the ByLayer and ByBlock
// properties of new entities.
#pragma once

#include "StdAfx.h"

#include <map>
#include <string>

// What a new text is made of. The creation routines read the first nine fields; the two
// further strings and the colour are the callers' own.
class CVoxTextDef {
public:
    AcGePoint3d m_ptVlozeni;
    AcDbObjectId m_idHladina;
    AcDbObjectId m_idStyl;
    double m_dUhel = 0.0;  // radians
    double m_dSirka = 1.0; // width factor
    double m_dVyska = 0.0;
    AcString m_sText;
    Adesk::Int32 m_nHorizontalne = AcDb::kTextLeft; // AcDb::TextHorzMode
    Adesk::Int32 m_nVertikalne = AcDb::kTextBase;   // AcDb::TextVertMode
    AcString m_sText2;
    AcString m_sText3;
    Adesk::Int16 m_nBarva = 7;
};

// What a new block reference is made of. Attribute values and the multi-line flags are keyed
// by the attribute tag in upper case (NastavAtribut upper-cases it).
class CVoxBlokDef {
public:
    AcDbObjectId m_idBlok;
    AcDbObjectId m_idHladina;
    AcGePoint3d m_ptVlozeni;
    double m_dUhel = 0.0; // radians
    AcGeScale3d m_meritko{1.0, 1.0, 1.0};
    std::map<std::wstring, std::wstring> m_mapAtributy;
    std::map<std::wstring, bool> m_mapViceradkove;

    // The value of the attribute with the tag, and whether it becomes a multi-line attribute.
    void NastavAtribut(const ACHAR* sTag, const ACHAR* sHodnota, bool bViceradkovy = false);
    // The key of a tag in the tables.
    static std::wstring Klic(const ACHAR* sTag);
};

// Values of dynamic block properties keyed by the property name in upper case. Types are those
// of the host's dynamic properties: 1 a real number, 3 a 16-bit integer (kept in a byte), 5 a
// string.
class CVoxDynProp {
public:
    enum { TYP_REAL = 1, TYP_INT16 = 3, TYP_RETEZEC = 5 };

    struct Hodnota {
        int m_nTyp = 0;
        double m_dHodnota = 0.0;
        BYTE m_nHodnota = 0;
        std::wstring m_sHodnota;
    };

    void NastavReal(const ACHAR* sJmeno, double dHodnota);
    // A flip state or another small integer.
    void NastavPreklopeni(const ACHAR* sJmeno, short nHodnota);
    void NastavRetezec(const ACHAR* sJmeno, const ACHAR* sHodnota);
    // An entry of any type; NastavDynVlastnosti refuses the types it does not know.
    void Nastav(const ACHAR* sJmeno, const Hodnota& hodnota);

    bool JePrazdna() const { return m_mapHodnoty.empty(); }
    // The entry of an upper-cased name, null when there is none.
    const Hodnota* Najdi(const std::wstring& sVelkeJmeno) const;
    // The value as the host takes it; an entry of another type throws "Špatné nastavení třídy
    // CVoxDynProp".
    static AcDbEvalVariant Variant(const Hodnota& hodnota);

private:
    static std::wstring Klic(const ACHAR* sJmeno);
    std::map<std::wstring, Hodnota> m_mapHodnoty;
};

// A text in the owner (open for write): the point, layer, style, rotation, width factor,
// height, content and justification of the definition, ByLayer properties. Annotative: with the
// drawing's current scale and the height scaled to it. Throws "AcDbBlockTableRecord není
// otevřen pro zápis" when the owner is not open for write. The owner is closed when asked, on
// every path; a text that could not be appended is deleted and the result is null.
AcDbObjectId VytvorText(const CVoxTextDef& def, AcDbBlockTableRecord* pVlastnik,
                        bool bZavritText = true, bool bAnotativni = false,
                        bool bZavritVlastnika = false);
// A multi-line text as VytvorText, with the contents and attachment given.
AcDbObjectId VytvorMText(const CVoxTextDef& def, AcDbBlockTableRecord* pVlastnik,
                         const ACHAR* sObsah, AcDbMText::AttachmentPoint nPripojeni,
                         bool bZavritText = true, bool bAnotativni = false,
                         bool bZavritVlastnika = false);
// A line with ByLayer properties; null (the line deleted) when it could not be appended.
AcDbObjectId VytvorCaru(const AcGePoint3d& ptZacatek, const AcGePoint3d& ptKonec,
                        AcDbBlockTableRecord* pVlastnik, bool bZavritCaru = true,
                        bool bZavritVlastnika = false);

// A block reference with its attributes in the owner (open for write). Refuses a UCS that is
// not plane. With ppReference and without bZavritReferenci the reference is handed over open
// for write; otherwise *ppReference is null. The owner is closed when asked, on every path.
AcDbObjectId VlozBlok(const CVoxBlokDef& def, AcDbBlockTableRecord* pVlastnik,
                      bool bAnotativni = false, bool bZavritVlastnika = true,
                      bool bZavritReferenci = true, AcDbBlockReference** ppReference = nullptr);
// Adds an attribute for each non-constant attribute definition of the reference's block (the
// reference open for write), with the values and multi-line flags of the definition. Never
// throws: a failed attribute is reported with its tag and the others are still added. False
// only when the block definition cannot be read.
bool PridejAtributy(AcDbBlockReference* pReference, const CVoxBlokDef& def,
                    AcDbBlockTableRecord* pVlastnik, bool bAnotativni = false);
// After the reference (open) was rotated from dPuvodniUhel: its attributes turned with it.
Acad::ErrorStatus OtocAtributy(AcDbBlockReference* pReference, double dPuvodniUhel);
// The first attribute of the reference with the tag (ignoring case) that can be opened for
// write; it is handed over open for write unless bZavrit, then pAtribut is null.
bool NajdiAtribut(AcDbBlockReference* pReference, const ACHAR* sTag, AcDbAttribute*& pAtribut,
                  bool bZavrit = false);

// Sets the dynamic properties of the reference (closed) that the table names.
void NastavDynVlastnosti(AcDbObjectId idReference, const CVoxDynProp& vlastnosti);

// ByLayer (ByBlock) colour, linetype and lineweight of the entity (open for write), with its
// sub-entities; the sum of the host's statuses.
int NastavByLayer(AcDbEntity* pEntita, AcDbDatabase* pDb);
int NastavByBlock(AcDbEntity* pEntita, AcDbDatabase* pDb);
