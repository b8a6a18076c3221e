// Symbol tables, their records and iterators.
//
// Names are compared case-insensitively and kept as given. A table holds its records in the
// order they were added; erased records stay in the table (getAt with getErased/openErased finds
// them, iterators skip them by default) until the database is destroyed.
#pragma once

#include "dbmain.h"
#include "gepnt2d.h"
#include "gepnt3d.h"
#include "gevec2d.h"
#include "gevec3d.h"

#include <string>
#include <unordered_map>
#include <vector>

class AcDbSymbolTableIterator;
class AcDbBlockTableRecordIterator;

class AcDbSymbolTableRecord : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbSymbolTableRecord);
    AcDbSymbolTableRecord();
    ~AcDbSymbolTableRecord() override;

    // A copy the caller frees with acutDelString.
    Acad::ErrorStatus getName(ACHAR*& pName) const;
    Acad::ErrorStatus getName(AcString& sName) const;
    // The record's own buffer, valid while the record is open and not renamed.
    Acad::ErrorStatus getName(const ACHAR*& pName) const;
    const ACHAR* name() const { return m_name.c_str(); }
    // eInvalidSymbolTableName for an invalid name; eDuplicateRecordName when another record of
    // the owning table has the name.
    Acad::ErrorStatus setName(const ACHAR* pName);
    // Dependent on an external reference ("XREF|NAME").
    bool isDependent() const;
    bool isResolved() const { return true; }
    bool isRenamable() const { return true; }

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

protected:
    Acad::ErrorStatus subErase(bool erasing) override;

private:
    friend struct khost::DbAccess;
    std::wstring m_name;
};

class AcDbSymbolTable : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbSymbolTable);
    AcDbSymbolTable();
    ~AcDbSymbolTable() override;

    Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbSymbolTableRecord*& pRec,
                            AcDb::OpenMode openMode, bool openErasedRec = false) const;
    Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbObjectId& recordId,
                            bool getErasedRecord = false) const;
    Acad::ErrorStatus getIdAt(const ACHAR* entryName, AcDbObjectId& recordId,
                              bool getErasedRecord = false) const {
        return getAt(entryName, recordId, getErasedRecord);
    }
    bool has(const ACHAR* name) const;
    bool has(AcDbObjectId id) const;
    // Adds a new record (not yet in a database): the table must be open for write.
    Acad::ErrorStatus add(AcDbSymbolTableRecord* pRecord);
    Acad::ErrorStatus add(AcDbObjectId& recordId, AcDbSymbolTableRecord* pRecord);
    Acad::ErrorStatus newIterator(AcDbSymbolTableIterator*& pIterator, bool atBeginning = true,
                                  bool skipDeleted = true) const;

    // The runtime class of the records of this table.
    virtual AcRxClass* recordClass() const = 0;
    int numRecords() const { return static_cast<int>(m_records.size()); }

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    friend struct khost::DbAccess;
    friend class AcDbSymbolTableIterator;
    friend class AcDbSymbolTableRecord;
    khost::DbStub* findStub(const ACHAR* name, bool includeErased) const;
    std::vector<khost::DbStub*> m_records;
    std::unordered_map<std::wstring, khost::DbStub*> m_index; // key: upper-cased name
};

class AcDbSymbolTableIterator {
public:
    virtual ~AcDbSymbolTableIterator() = default;
    void start(bool atBeginning = true, bool skipDeleted = true);
    bool done() const;
    void step(bool forward = true, bool skipDeleted = true);
    Acad::ErrorStatus getRecordId(AcDbObjectId& id) const;
    Acad::ErrorStatus getRecord(AcDbSymbolTableRecord*& pRecord,
                                AcDb::OpenMode openMode = AcDb::kForRead,
                                bool openErasedRec = false) const;
    Acad::ErrorStatus seek(AcDbObjectId id);
    Acad::ErrorStatus seek(const AcDbSymbolTableRecord* pRecord);

protected:
    friend class AcDbSymbolTable;
    AcDbSymbolTableIterator(const AcDbSymbolTable* table);
    const std::vector<khost::DbStub*>* records() const;
    khost::DbStub* m_table = nullptr;
    const AcDbSymbolTable* m_tableObj = nullptr;
    long long m_pos = 0;
};

// Declares the typed members of a table class: getAt, add and newIterator with its own record
// and iterator types.
#define KHOST_DECLARE_SYMTABLE(TABLE, RECORD, ITERATOR)                                            \
    class RECORD;                                                                                  \
    class ITERATOR;                                                                                \
    class TABLE : public AcDbSymbolTable {                                                         \
    public:                                                                                        \
        ACRX_DECLARE_MEMBERS(TABLE);                                                               \
        using AcDbSymbolTable::add;                                                                \
        using AcDbSymbolTable::getAt;                                                              \
        using AcDbSymbolTable::newIterator;                                                        \
        Acad::ErrorStatus getAt(const ACHAR* entryName, RECORD*& pRec, AcDb::OpenMode openMode,    \
                                bool openErasedRec = false) const;                                 \
        Acad::ErrorStatus add(RECORD* pRecord);                                                    \
        Acad::ErrorStatus add(AcDbObjectId& recordId, RECORD* pRecord);                            \
        Acad::ErrorStatus newIterator(ITERATOR*& pIterator, bool atBeginning = true,               \
                                      bool skipDeleted = true) const;                              \
        AcRxClass* recordClass() const override;                                                   \
    };                                                                                             \
    class ITERATOR : public AcDbSymbolTableIterator {                                              \
    public:                                                                                        \
        using AcDbSymbolTableIterator::getRecord;                                                  \
        Acad::ErrorStatus getRecord(RECORD*& pRecord, AcDb::OpenMode openMode = AcDb::kForRead,    \
                                    bool openErasedRec = false) const;                             \
                                                                                                   \
    private:                                                                                       \
        friend class TABLE;                                                                        \
        ITERATOR(const AcDbSymbolTable* t) : AcDbSymbolTableIterator(t) {}                         \
    };

KHOST_DECLARE_SYMTABLE(AcDbBlockTable, AcDbBlockTableRecord, AcDbBlockTableIterator)
KHOST_DECLARE_SYMTABLE(AcDbLayerTable, AcDbLayerTableRecord, AcDbLayerTableIterator)
KHOST_DECLARE_SYMTABLE(AcDbLinetypeTable, AcDbLinetypeTableRecord, AcDbLinetypeTableIterator)
KHOST_DECLARE_SYMTABLE(AcDbTextStyleTable, AcDbTextStyleTableRecord, AcDbTextStyleTableIterator)
KHOST_DECLARE_SYMTABLE(AcDbDimStyleTable, AcDbDimStyleTableRecord, AcDbDimStyleTableIterator)
KHOST_DECLARE_SYMTABLE(AcDbUCSTable, AcDbUCSTableRecord, AcDbUCSTableIterator)
KHOST_DECLARE_SYMTABLE(AcDbRegAppTable, AcDbRegAppTableRecord, AcDbRegAppTableIterator)
KHOST_DECLARE_SYMTABLE(AcDbViewTable, AcDbViewTableRecord, AcDbViewTableIterator)
KHOST_DECLARE_SYMTABLE(AcDbViewportTable, AcDbViewportTableRecord, AcDbViewportTableIterator)

// ---- Block table records --------------------------------------------------------------------

class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbBlockTableRecord);
    AcDbBlockTableRecord();
    ~AcDbBlockTableRecord() override;

    // Adds a new entity (not yet in a database) to the block and to the database of the block;
    // the block must be open for write. Properties the entity has not set (layer, linetype)
    // take the database's current ones.
    Acad::ErrorStatus appendAcDbEntity(AcDbEntity* pEntity);
    Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& pOutputId, AcDbEntity* pEntity);
    Acad::ErrorStatus newIterator(AcDbBlockTableRecordIterator*& pIterator, bool atBeginning = true,
                                  bool skipDeleted = true) const;
    // The ids of the entities in order (erased ones only on request).
    AcDbObjectIdArray entityIds(bool includeErased = false) const;

    bool isLayout() const;
    AcDbObjectId getLayoutId() const;
    Acad::ErrorStatus setLayoutId(AcDbObjectId id);
    bool isAnonymous() const;
    bool isFromExternalReference() const;
    bool isFromOverlayReference() const;
    bool isDynamicBlock() const;
    Acad::ErrorStatus pathName(ACHAR*& pPath) const;
    Acad::ErrorStatus pathName(const ACHAR*& pPath) const;
    Acad::ErrorStatus setPathName(const ACHAR* pathStr);
    // The drawing an external reference's block refers to, read from its file the first time it
    // is asked for (the path as given, else beside the referring drawing, else through
    // findFile); null for a block that is no external reference or whose file cannot be read
    // (unless incUnres, which is ignored here).
    AcDbDatabase* xrefDatabase(bool incUnres = false) const;
    AcDb::XrefStatus xrefStatus() const;
    AcGePoint3d origin() const;
    Acad::ErrorStatus setOrigin(const AcGePoint3d& origin);
    bool hasAttributeDefinitions() const;
    Acad::ErrorStatus comments(ACHAR*& pComments) const;
    Acad::ErrorStatus comments(const ACHAR*& pComments) const;
    Acad::ErrorStatus setComments(const ACHAR* pComments);
    AcDb::UnitsValue blockInsertUnits() const;
    Acad::ErrorStatus setBlockInsertUnits(AcDb::UnitsValue insunits);
    bool explodable() const;
    Acad::ErrorStatus setExplodable(bool bExplodable);
    bool blockScaling() const; // true: uniform scaling only
    Acad::ErrorStatus setBlockScaling(bool uniform);
    // Flags of the DXF group 70 (1 anonymous, 2 has attribute definitions, 4 external reference,
    // 8 overlay, 16 dependent, 32 resolved, 64 referenced).
    Adesk::Int16 blockFlags() const { return m_flags; }
    Acad::ErrorStatus setBlockFlags(Adesk::Int16 flags);

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

protected:
    Acad::ErrorStatus subErase(bool erasing) override;

private:
    friend struct khost::DbAccess;
    friend class AcDbBlockTableRecordIterator;
    std::vector<khost::DbStub*> m_entities;
    khost::DbStub* m_layout = nullptr;
    AcGePoint3d m_origin;
    std::wstring m_pathName;
    std::wstring m_comments;
    Adesk::Int16 m_flags = 0;
    Adesk::Int16 m_insunits = 0;
    bool m_explodable = true;
    bool m_uniformScaling = false;
};

class AcDbBlockTableRecordIterator {
public:
    ~AcDbBlockTableRecordIterator() = default;
    void start(bool atBeginning = true, bool skipDeleted = true);
    bool done() const;
    void step(bool forward = true, bool skipDeleted = true);
    Acad::ErrorStatus getEntityId(AcDbObjectId& entityId) const;
    Acad::ErrorStatus getEntity(AcDbEntity*& pEntity, AcDb::OpenMode openMode = AcDb::kForRead,
                                bool openErasedEntity = false) const;
    Acad::ErrorStatus seek(AcDbObjectId id);
    Acad::ErrorStatus seek(const AcDbEntity* pEntity);
    AcDbBlockTableRecord* blockTableRecord() const;

private:
    friend class AcDbBlockTableRecord;
    AcDbBlockTableRecordIterator(const AcDbBlockTableRecord* btr);
    const std::vector<khost::DbStub*>* entities() const;
    khost::DbStub* m_block = nullptr;
    const AcDbBlockTableRecord* m_blockObj = nullptr;
    long long m_pos = 0;
};

// ---- Layers ---------------------------------------------------------------------------------

class AcDbLayerTableRecord : public AcDbSymbolTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbLayerTableRecord);
    AcDbLayerTableRecord();

    bool isFrozen() const { return m_frozen; }
    Acad::ErrorStatus setIsFrozen(bool frozen);
    bool isOff() const { return m_off; }
    void setIsOff(bool off);
    bool isLocked() const { return m_locked; }
    void setIsLocked(bool locked);
    bool VPDFLT() const { return m_vpdflt; }
    void setVPDFLT(bool frozen);
    bool isHidden() const { return false; }
    AcCmColor color() const { return m_color; }
    void setColor(const AcCmColor& color);
    AcCmEntityColor entityColor() const { return m_color; }
    AcDbObjectId linetypeObjectId() const;
    void setLinetypeObjectId(AcDbObjectId id);
    AcDb::LineWeight lineWeight() const { return static_cast<AcDb::LineWeight>(m_lineweight); }
    Acad::ErrorStatus setLineWeight(AcDb::LineWeight weight);
    bool isPlottable() const { return m_plottable; }
    Acad::ErrorStatus setIsPlottable(bool plot);
    // The description is kept, as in the drawing file, in the layer's extended data of the
    // application "AcAecLayerStandard" (an empty string, then the description); setting one
    // registers the application. A copy the caller frees with acutDelString.
    ACHAR* description() const;
    Acad::ErrorStatus description(AcString& s) const;
    Acad::ErrorStatus setDescription(const ACHAR* description);
    // Whether an entity of the database (in any block) is on the layer.
    bool isInUse() const;
    AcDbObjectId plotStyleNameId() const;
    Acad::ErrorStatus setPlotStyleName(const AcDbObjectId& newId);
    // By name: an entry of the plot style name dictionary ("Normal" when the layer has none);
    // eKeyNotFound for a name the dictionary lacks. A copy the caller frees with acutDelString.
    ACHAR* plotStyleName() const;
    Acad::ErrorStatus setPlotStyleName(const ACHAR* newName);
    AcDbObjectId materialId() const;
    Acad::ErrorStatus setMaterialId(AcDbObjectId id);

    // Extended data given here also sets the description from its "AcAecLayerStandard" part.
    Acad::ErrorStatus setXData(const resbuf* xdata) override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

protected:
    Acad::ErrorStatus subErase(bool erasing) override;
    void subAddedToDatabase() override;

private:
    Acad::ErrorStatus storeDescription();
    khost::DbStub* m_linetype = nullptr;
    khost::DbStub* m_plotStyle = nullptr;
    khost::DbStub* m_material = nullptr;
    std::wstring m_description;
    AcCmColor m_color;
    Adesk::Int16 m_lineweight = AcDb::kLnWtByLwDefault;
    bool m_frozen = false, m_off = false, m_locked = false, m_vpdflt = false, m_plottable = true;
};

// ---- Linetypes ------------------------------------------------------------------------------

class AcDbLinetypeTableRecord : public AcDbSymbolTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbLinetypeTableRecord);
    AcDbLinetypeTableRecord();

    Acad::ErrorStatus comments(ACHAR*& pString) const;
    Acad::ErrorStatus comments(const ACHAR*& pString) const;
    Acad::ErrorStatus comments(AcString& s) const;
    Acad::ErrorStatus setComments(const ACHAR* pString);
    Acad::ErrorStatus asciiDescription(ACHAR*& pString) const { return comments(pString); }
    Acad::ErrorStatus setAsciiDescription(const ACHAR* pString) { return setComments(pString); }
    double patternLength() const { return m_patternLength; }
    void setPatternLength(double patternLength);
    int numDashes() const { return static_cast<int>(m_dashes.size()); }
    void setNumDashes(int count);
    bool isScaledToFit() const { return m_scaledToFit; }
    void setIsScaledToFit(bool scaledToFit);
    double dashLengthAt(int index) const;
    void setDashLengthAt(int index, double value);
    AcDbObjectId shapeStyleAt(int index) const;
    void setShapeStyleAt(int index, AcDbObjectId id);
    int shapeNumberAt(int index) const;
    void setShapeNumberAt(int index, int shapeNumber);
    AcGeVector2d shapeOffsetAt(int index) const;
    void setShapeOffsetAt(int index, const AcGeVector2d& offset);
    double shapeScaleAt(int index) const;
    void setShapeScaleAt(int index, double scale);
    double shapeRotationAt(int index) const;
    void setShapeRotationAt(int index, double rotation);
    bool shapeIsUcsOrientedAt(int index) const;
    void setShapeIsUcsOrientedAt(int index, bool isUcsOriented);
    Acad::ErrorStatus textAt(int index, ACHAR*& text) const;
    Acad::ErrorStatus textAt(int index, const ACHAR*& text) const;
    Acad::ErrorStatus setTextAt(int index, const ACHAR* text);

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

protected:
    Acad::ErrorStatus subErase(bool erasing) override;

private:
    struct Dash {
        double length = 0.0;
        khost::DbStub* style = nullptr;
        int shapeNumber = 0;
        AcGeVector2d offset;
        double scale = 1.0;
        double rotation = 0.0;
        bool ucsOriented = false;
        std::wstring text;
    };
    const Dash* dashAt(int index) const;
    Dash* dashAt(int index);
    std::wstring m_comments;
    std::vector<Dash> m_dashes;
    double m_patternLength = 0.0;
    bool m_scaledToFit = false;
};

// ---- Text styles ----------------------------------------------------------------------------

class AcDbTextStyleTableRecord : public AcDbSymbolTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbTextStyleTableRecord);
    AcDbTextStyleTableRecord();

    bool isShapeFile() const { return m_shapeFile; }
    void setIsShapeFile(bool shape);
    bool isVertical() const { return m_vertical; }
    void setIsVertical(bool vertical);
    double textSize() const { return m_textSize; }
    Acad::ErrorStatus setTextSize(double size);
    double xScale() const { return m_xScale; }
    Acad::ErrorStatus setXScale(double xScale);
    double obliquingAngle() const { return m_oblique; }
    Acad::ErrorStatus setObliquingAngle(double obliquingAngle);
    double priorSize() const { return m_priorSize; }
    Acad::ErrorStatus setPriorSize(double priorSize);
    // 2 backwards, 4 upside down.
    Adesk::UInt8 flagBits() const { return m_flagBits; }
    void setFlagBits(Adesk::UInt8 flagBits);
    Acad::ErrorStatus fileName(ACHAR*& fileName) const;
    Acad::ErrorStatus fileName(const ACHAR*& fileName) const;
    Acad::ErrorStatus fileName(AcString& s) const;
    Acad::ErrorStatus setFileName(const ACHAR* fileName);
    Acad::ErrorStatus bigFontFileName(ACHAR*& fileName) const;
    Acad::ErrorStatus bigFontFileName(const ACHAR*& fileName) const;
    Acad::ErrorStatus bigFontFileName(AcString& s) const;
    Acad::ErrorStatus setBigFontFileName(const ACHAR* fileName);
    // A TrueType font by its typeface, kept as in the drawing file in the style's extended data
    // of the application "ACAD" (1000 the typeface, 1071 the flags: 0x2000000 bold,
    // 0x1000000 italic, the character set in bits 8-15, pitch and family in bits 0-7).
    Acad::ErrorStatus setFont(const ACHAR* pTypeface, bool bold, bool italic, int charset,
                              int pitchAndFamily, bool allowMissingFont = false);
    Acad::ErrorStatus font(ACHAR*& pTypeface, bool& bold, bool& italic, int& charset,
                           int& pitchAndFamily) const;
    Acad::ErrorStatus font(AcString& sTypeface, bool& bold, bool& italic, int& charset,
                           int& pitchAndFamily) const;

    // Extended data given here also sets the font from its "ACAD" part.
    Acad::ErrorStatus setXData(const resbuf* xdata) override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

protected:
    Acad::ErrorStatus subErase(bool erasing) override;
    void subAddedToDatabase() override;

private:
    Acad::ErrorStatus storeFont();
    std::wstring m_fileName, m_bigFont, m_typeface;
    double m_textSize = 0.0, m_xScale = 1.0, m_oblique = 0.0, m_priorSize = 2.5;
    int m_charset = 0, m_pitchAndFamily = 0;
    bool m_bold = false, m_italic = false;
    bool m_shapeFile = false, m_vertical = false;
    Adesk::UInt8 m_flagBits = 0;
};

// ---- Dimension styles -----------------------------------------------------------------------

// The dimension variables by DXF group code: every variable is kept as a value of the kind its
// code holds (real, 16-bit integer, string or object id). The named accessors below cover the
// common ones; dimVar/setDimVar reach any code.
class AcDbDimStyleTableRecord : public AcDbSymbolTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbDimStyleTableRecord);
    AcDbDimStyleTableRecord();
    ~AcDbDimStyleTableRecord() override;

    // Generic access: the value of a group code as a result buffer (a string is malloc'ed and
    // belongs to the caller); eKeyNotFound for a code without a value or default.
    Acad::ErrorStatus dimVar(int groupCode, resbuf& value) const;
    Acad::ErrorStatus setDimVar(int groupCode, const resbuf& value);
    double dimVarReal(int groupCode) const;
    int dimVarInt(int groupCode) const;
    AcDbObjectId dimVarId(int groupCode) const;
    AcString dimVarString(int groupCode) const;
    // The group codes that have values (defaults included), sorted.
    std::vector<int> dimVarCodes() const;

#define KHOST_DIMVAR_REAL(NAME, SETNAME, CODE)                                                     \
    double NAME() const {                                                                          \
        return dimVarReal(CODE);                                                                   \
    }                                                                                              \
    Acad::ErrorStatus SETNAME(double v) {                                                          \
        return setReal(CODE, v);                                                                   \
    }
#define KHOST_DIMVAR_INT(NAME, SETNAME, CODE, TYPE)                                                \
    TYPE NAME() const {                                                                            \
        return static_cast<TYPE>(dimVarInt(CODE));                                                 \
    }                                                                                              \
    Acad::ErrorStatus SETNAME(TYPE v) {                                                            \
        return setInt(CODE, static_cast<int>(v));                                                  \
    }
#define KHOST_DIMVAR_ID(NAME, SETNAME, CODE)                                                       \
    AcDbObjectId NAME() const {                                                                    \
        return dimVarId(CODE);                                                                     \
    }                                                                                              \
    Acad::ErrorStatus SETNAME(AcDbObjectId v) {                                                    \
        return setId(CODE, v);                                                                     \
    }

    KHOST_DIMVAR_REAL(dimscale, setDimscale, 40)
    KHOST_DIMVAR_REAL(dimasz, setDimasz, 41)
    KHOST_DIMVAR_REAL(dimexo, setDimexo, 42)
    KHOST_DIMVAR_REAL(dimdli, setDimdli, 43)
    KHOST_DIMVAR_REAL(dimexe, setDimexe, 44)
    KHOST_DIMVAR_REAL(dimrnd, setDimrnd, 45)
    KHOST_DIMVAR_REAL(dimdle, setDimdle, 46)
    KHOST_DIMVAR_REAL(dimtp, setDimtp, 47)
    KHOST_DIMVAR_REAL(dimtm, setDimtm, 48)
    KHOST_DIMVAR_REAL(dimfxlen, setDimfxlen, 49)
    KHOST_DIMVAR_REAL(dimtxt, setDimtxt, 140)
    KHOST_DIMVAR_REAL(dimcen, setDimcen, 141)
    KHOST_DIMVAR_REAL(dimtsz, setDimtsz, 142)
    KHOST_DIMVAR_REAL(dimaltf, setDimaltf, 143)
    KHOST_DIMVAR_REAL(dimlfac, setDimlfac, 144)
    KHOST_DIMVAR_REAL(dimtvp, setDimtvp, 145)
    KHOST_DIMVAR_REAL(dimtfac, setDimtfac, 146)
    KHOST_DIMVAR_REAL(dimgap, setDimgap, 147)
    KHOST_DIMVAR_REAL(dimaltrnd, setDimaltrnd, 148)
    KHOST_DIMVAR_INT(dimtol, setDimtol, 71, bool)
    KHOST_DIMVAR_INT(dimlim, setDimlim, 72, bool)
    KHOST_DIMVAR_INT(dimtih, setDimtih, 73, bool)
    KHOST_DIMVAR_INT(dimtoh, setDimtoh, 74, bool)
    KHOST_DIMVAR_INT(dimse1, setDimse1, 75, bool)
    KHOST_DIMVAR_INT(dimse2, setDimse2, 76, bool)
    KHOST_DIMVAR_INT(dimtad, setDimtad, 77, int)
    KHOST_DIMVAR_INT(dimzin, setDimzin, 78, int)
    KHOST_DIMVAR_INT(dimazin, setDimazin, 79, int)
    KHOST_DIMVAR_INT(dimalt, setDimalt, 170, bool)
    KHOST_DIMVAR_INT(dimaltd, setDimaltd, 171, int)
    KHOST_DIMVAR_INT(dimtofl, setDimtofl, 172, bool)
    KHOST_DIMVAR_INT(dimsah, setDimsah, 173, bool)
    KHOST_DIMVAR_INT(dimtix, setDimtix, 174, bool)
    KHOST_DIMVAR_INT(dimsoxd, setDimsoxd, 175, bool)
    KHOST_DIMVAR_INT(dimclrdIndex, setDimclrdIndex, 176, int)
    KHOST_DIMVAR_INT(dimclreIndex, setDimclreIndex, 177, int)
    KHOST_DIMVAR_INT(dimclrtIndex, setDimclrtIndex, 178, int)
    KHOST_DIMVAR_INT(dimadec, setDimadec, 179, int)
    KHOST_DIMVAR_INT(dimunit, setDimunit, 270, int)
    KHOST_DIMVAR_INT(dimdec, setDimdec, 271, int)
    KHOST_DIMVAR_INT(dimtdec, setDimtdec, 272, int)
    KHOST_DIMVAR_INT(dimaltu, setDimaltu, 273, int)
    KHOST_DIMVAR_INT(dimalttd, setDimalttd, 274, int)
    KHOST_DIMVAR_INT(dimaunit, setDimaunit, 275, int)
    KHOST_DIMVAR_INT(dimfrac, setDimfrac, 276, int)
    KHOST_DIMVAR_INT(dimlunit, setDimlunit, 277, int)
    KHOST_DIMVAR_INT(dimdsep, setDimdsep, 278, ACHAR)
    KHOST_DIMVAR_INT(dimtmove, setDimtmove, 279, int)
    KHOST_DIMVAR_INT(dimjust, setDimjust, 280, int)
    KHOST_DIMVAR_INT(dimsd1, setDimsd1, 281, bool)
    KHOST_DIMVAR_INT(dimsd2, setDimsd2, 282, bool)
    KHOST_DIMVAR_INT(dimtolj, setDimtolj, 283, int)
    KHOST_DIMVAR_INT(dimtzin, setDimtzin, 284, int)
    KHOST_DIMVAR_INT(dimaltz, setDimaltz, 285, int)
    KHOST_DIMVAR_INT(dimalttz, setDimalttz, 286, int)
    KHOST_DIMVAR_INT(dimfit, setDimfit, 287, int)
    KHOST_DIMVAR_INT(dimupt, setDimupt, 288, bool)
    KHOST_DIMVAR_INT(dimatfit, setDimatfit, 289, int)
    KHOST_DIMVAR_INT(dimfxlenOn, setDimfxlenOn, 290, bool)
    KHOST_DIMVAR_REAL(dimjogang, setDimjogang, 50)
    KHOST_DIMVAR_INT(dimtfill, setDimtfill, 69, int)
    KHOST_DIMVAR_INT(dimarcsym, setDimarcsym, 90, int)
    KHOST_DIMVAR_INT(dimtxtdirection, setDimtxtdirection, 294, bool)
    KHOST_DIMVAR_ID(dimtxsty, setDimtxsty, 340)
    KHOST_DIMVAR_ID(dimldrblk, setDimldrblk, 341)
    KHOST_DIMVAR_ID(dimblk, setDimblk, 342)
    KHOST_DIMVAR_ID(dimblk1, setDimblk1, 343)
    KHOST_DIMVAR_ID(dimblk2, setDimblk2, 344)
    KHOST_DIMVAR_ID(dimltype, setDimltype, 345)
    KHOST_DIMVAR_ID(dimltex1, setDimltex1, 346)
    KHOST_DIMVAR_ID(dimltex2, setDimltex2, 347)
    KHOST_DIMVAR_INT(dimlwd, setDimlwd, 371, AcDb::LineWeight)
    KHOST_DIMVAR_INT(dimlwe, setDimlwe, 372, AcDb::LineWeight)
#undef KHOST_DIMVAR_REAL
#undef KHOST_DIMVAR_INT
#undef KHOST_DIMVAR_ID

    // The arrowhead blocks by name: "" or "." is the closed filled arrow (the null id); a
    // predefined arrowhead ("_DOT", "_ARCHTICK" ... see dbarrow.h) gets its block created in
    // the database when missing; any other name must be a block of the database
    // (eKeyNotFound). The database is the record's own, else the working one.
    Acad::ErrorStatus setDimblk(const ACHAR* name);
    Acad::ErrorStatus setDimblk1(const ACHAR* name);
    Acad::ErrorStatus setDimblk2(const ACHAR* name);
    Acad::ErrorStatus setDimldrblk(const ACHAR* name);

    // Colours: ByBlock, ByLayer, an index or a true colour (the file keeps the index, groups
    // 176, 177, 178; DIMTFILLCLR is group 70 after the flags).
    AcCmColor dimclrd() const;
    AcCmColor dimclre() const;
    AcCmColor dimclrt() const;
    AcCmColor dimtfillclr() const;
    Acad::ErrorStatus setDimclrd(const AcCmColor& c);
    Acad::ErrorStatus setDimclre(const AcCmColor& c);
    Acad::ErrorStatus setDimclrt(const AcCmColor& c);
    Acad::ErrorStatus setDimtfillclr(const AcCmColor& c);
    // DIMPOST (3) and DIMAPOST (4).
    AcString dimpost() const {
        return dimVarString(3);
    }
    Acad::ErrorStatus setDimpost(const ACHAR* v);
    AcString dimapost() const {
        return dimVarString(4);
    }
    Acad::ErrorStatus setDimapost(const ACHAR* v);

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

protected:
    Acad::ErrorStatus subErase(bool erasing) override;

private:
    Acad::ErrorStatus setReal(int code, double v);
    Acad::ErrorStatus setInt(int code, int v);
    Acad::ErrorStatus setId(int code, AcDbObjectId v);
    Acad::ErrorStatus setArrow(int code, const ACHAR* name);
    AcCmColor colorVar(int code, int slot) const;
    Acad::ErrorStatus setColorVar(int code, int slot, const AcCmColor& c);
    AcCmColor m_colors[4]; // the colours last set through the colour setters
    struct Value {
        double real = 0.0;
        int integer = 0;
        khost::DbStub* id = nullptr;
        std::wstring text;
    };
    std::vector<std::pair<int, Value>> m_vars; // sorted by code; only values set explicitly
};

// ---- UCS, registered applications, views, viewports -----------------------------------------

class AcDbUCSTableRecord : public AcDbSymbolTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbUCSTableRecord);
    AcDbUCSTableRecord();
    AcGePoint3d origin() const { return m_origin; }
    void setOrigin(const AcGePoint3d& newOrigin);
    AcGeVector3d xAxis() const { return m_xAxis; }
    void setXAxis(const AcGeVector3d& xAxis);
    AcGeVector3d yAxis() const { return m_yAxis; }
    void setYAxis(const AcGeVector3d& yAxis);

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    AcGePoint3d m_origin;
    AcGeVector3d m_xAxis{1.0, 0.0, 0.0};
    AcGeVector3d m_yAxis{0.0, 1.0, 0.0};
};

class AcDbRegAppTableRecord : public AcDbSymbolTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbRegAppTableRecord);
    AcDbRegAppTableRecord();

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

protected:
    Acad::ErrorStatus subErase(bool erasing) override;
};

class AcDbAbstractViewTableRecord : public AcDbSymbolTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbAbstractViewTableRecord);
    AcDbAbstractViewTableRecord();
    AcGePoint2d centerPoint() const { return m_center; }
    void setCenterPoint(const AcGePoint2d& p);
    double height() const { return m_height; }
    void setHeight(double h);
    double width() const { return m_width; }
    void setWidth(double w);
    AcGePoint3d target() const { return m_target; }
    void setTarget(const AcGePoint3d& p);
    AcGeVector3d viewDirection() const { return m_direction; }
    void setViewDirection(const AcGeVector3d& v);
    double viewTwist() const { return m_twist; }
    void setViewTwist(double angle);
    double lensLength() const { return m_lensLength; }
    void setLensLength(double length);
    double frontClipDistance() const { return m_frontClip; }
    void setFrontClipDistance(double d);
    double backClipDistance() const { return m_backClip; }
    void setBackClipDistance(double d);

private:
    AcGePoint2d m_center;
    AcGePoint3d m_target;
    AcGeVector3d m_direction{0.0, 0.0, 1.0};
    double m_height = 1.0, m_width = 1.0, m_twist = 0.0, m_lensLength = 50.0;
    double m_frontClip = 0.0, m_backClip = 0.0;
};

class AcDbViewTableRecord : public AcDbAbstractViewTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbViewTableRecord);
    AcDbViewTableRecord();
    bool isPaperspaceView() const { return m_paperspace; }
    void setIsPaperspaceView(bool pspace);

private:
    bool m_paperspace = false;
};

class AcDbViewportTableRecord : public AcDbAbstractViewTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbViewportTableRecord);
    AcDbViewportTableRecord();
    AcGePoint2d lowerLeftCorner() const { return m_lowerLeft; }
    void setLowerLeftCorner(const AcGePoint2d& pt);
    AcGePoint2d upperRightCorner() const { return m_upperRight; }
    void setUpperRightCorner(const AcGePoint2d& pt);

private:
    AcGePoint2d m_lowerLeft{0.0, 0.0};
    AcGePoint2d m_upperRight{1.0, 1.0};
};
