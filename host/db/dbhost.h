// The host's own access to the drawing database: what the editor, the shell, the DXF reader and
// writer and the LISP evaluator need beyond the published interface.
#pragma once

#include "dbmain.h"

#include <functional>
#include <string>
#include <vector>

class AcGePoint3d;
class AcGeVector3d;
class AcDbBlockTableRecord;
class AcDbSymbolTable;
class AcDbDictionary;

namespace khost {

// ---- Open-object discipline -----------------------------------------------------------------
// Checks every live database for objects still open and reports the errors recorded since the
// last check (writes through objects not open for write, closes of objects that were not open,
// closes of new objects never added to a database). Prints one line per finding:
//   "\n** <context>: object left open: <AcDbClass> <HANDLE> (for read|for write)\n"
//   "\n** <context>: write to object not open for write: <AcDbClass> <HANDLE>\n"
//   "\n** <context>: close of object not open: <AcDbClass> <HANDLE>\n"
//   "\n** <context>: close of object not in a database: <AcDbClass>\n"
// closes what was left open so the host can go on, and returns the number of findings, which
// are also added to openCheckFailures().
int reportOpenObjects(const std::wstring& context);
void setStrictOpenCheck(bool strict);
bool strictOpenCheck();
int openCheckFailures();
void resetOpenCheckFailures();
// Number of objects currently open in all databases.
int openObjectCount();

// ---- System variables kept in the database ----------------------------------------------------
// upperName is the variable's name in upper case. out gets the value (strings malloc'ed as by
// acutNewString). Returns false for a name that is not a database variable.
bool dbGetSysVar(AcDbDatabase* db, const std::wstring& upperName, resbuf& out);
// RTNORM, RTERROR for a bad value or type, RTREJ for a read-only variable or a name that is not
// a database variable.
int dbSetSysVar(AcDbDatabase* db, const std::wstring& upperName, const resbuf& value);
bool isDbSysVar(const std::wstring& upperName);
std::vector<std::wstring> dbSysVarNames();

// Sets the current UCS of model space (or paper space) and, when given, its name record.
void setCurrentUcs(AcDbDatabase* db, const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                   const AcGeVector3d& yAxis, bool paperSpace = false,
                   AcDbObjectId ucsRecord = AcDbObjectId::kNull);

// ---- Classes by name ------------------------------------------------------------------------
using DbObjectFactory = AcDbObject* (*)();
// Registers a class for creation by its DXF name (and by its class name).
void registerDbClass(AcRxClass* cls, DbObjectFactory factory);
// A new object of the class with this DXF name ("LINE") or class name ("AcDbLine"), or null.
AcDbObject* createDbObject(const std::wstring& name);
AcRxClass* findDbClass(const std::wstring& name);

// ---- Databases ------------------------------------------------------------------------------
const std::vector<AcDbDatabase*>& liveDatabases();

// Builds the tables, dictionaries and records of a new drawing into a database made without
// them (AcDbDatabase(false)); a reader of a file that does not bring them all calls it first.
void buildDefaultDrawing(AcDbDatabase* db);

// The code page of the drawing (DWGCODEPAGE, read-only for users): the name as a file's
// $DWGCODEPAGE has it ("ANSI_1250"), kept in upper case. eInvalidInput for an empty name or one
// with characters other than letters, digits, '_' and '-'.
Acad::ErrorStatus setDwgCodePage(AcDbDatabase* db, const std::wstring& name);

// The object of an id without opening it, for the host's own read-only walks (selection, DXF
// output). Null for a null id or an id without an object.
AcDbObject* peekObject(AcDbObjectId id);

// Adds a new object under a given handle (a reader restoring a drawing). eHandleInUse when an
// object already has the handle. The handle seed moves past the handle.
Acad::ErrorStatus addObjectWithHandle(AcDbDatabase* db, AcDbObject* obj, AcDbHandle handle,
                                      AcDbObjectId& id);
// Sets the owner of an object regardless of its open state (a reader wiring ownership).
void setOwnerRaw(AcDbObject* obj, AcDbObjectId owner);
// Appends an entity that is already in the database to a block's list (a reader), or a record
// to a table, or an entry to a dictionary; none of them needs the container open.
Acad::ErrorStatus linkEntity(AcDbBlockTableRecord* block, AcDbObjectId entity);
Acad::ErrorStatus linkRecord(AcDbSymbolTable* table, AcDbObjectId record);
Acad::ErrorStatus linkEntry(AcDbDictionary* dict, const ACHAR* key, AcDbObjectId entry);

// The objects the database refers to by role. A reader sets them; the default drawing sets
// them when it is built.
enum class DbRole {
    BlockTable,
    LayerTable,
    TextStyleTable,
    LinetypeTable,
    ViewTable,
    UCSTable,
    ViewportTable,
    RegAppTable,
    DimStyleTable,
    NamedObjects,
    GroupDict,
    LayoutDict,
    MLeaderStyleDict,
    TableStyleDict,
    PlotSettingsDict,
    PlotStyleNameDict,
    MaterialDict,
    ColorDict,
    MLStyleDict,
    ScaleListDict,
    ModelSpace,
    PaperSpace,
    LayerZero,
    LinetypeContinuous,
    LinetypeByLayer,
    LinetypeByBlock,
    Count
};
AcDbObjectId roleId(const AcDbDatabase* db, DbRole role);
void setRoleId(AcDbDatabase* db, DbRole role, AcDbObjectId id);
// Finds the standard records and dictionaries by name after a reader filled the database.
void resolveRoles(AcDbDatabase* db);

// Every object of the database in handle order (erased ones included).
void forEachObject(const AcDbDatabase* db, const std::function<void(AcDbObjectId)>& fn);

// Header variables the database does not model, kept for the DXF writer: name ("$XYZ") to a
// chain of groups owned by the database.
const resbuf* extraHeaderVar(const AcDbDatabase* db, const std::wstring& name);
void setExtraHeaderVar(AcDbDatabase* db, const std::wstring& name, const resbuf* chain);
std::vector<std::wstring> extraHeaderVarNames(const AcDbDatabase* db);

// The drawing file codec (host/dxf registers it).
struct DrawingCodec {
    Acad::ErrorStatus (*read)(AcDbDatabase* db, const ACHAR* fileName) = nullptr;
    Acad::ErrorStatus (*write)(AcDbDatabase* db, const ACHAR* fileName, int precision) = nullptr;
};
void setDrawingCodec(const DrawingCodec& codec);
void setDatabaseFilename(AcDbDatabase* db, const std::wstring& fileName);

// ---- Fields of objects read from and written to files -------------------------------------
// Reads an object's fields (dxfInFields) and keeps with the object what its classes leave:
// groups of a subclass the class does not take (or, for a class that does not say, whose codes
// it does not write), subclasses no class reads (their markers and groups), application data
// (102 {APPNAME ... }) of other applications. Nothing is kept for data without subclass markers
// (R12) and nothing is allocated for an object whose groups are all read. Points whose Z is
// -0.0 (2D in the file) reach the classes with Z 0 unless the object is kept raw, and stay 2D in
// what is kept.
Acad::ErrorStatus dxfInObject(AcDbObject* obj, AcDbDxfFiler* filer);
// Writes an object's fields (dxfOutFields) with what dxfInObject kept: each group in its
// section after the group it followed in the file (at the end of the section when the class no
// longer writes that one), unknown subclasses after the subclass they followed. A kept group is
// left out when the class now writes a group of the same code in that section (its value then
// comes from the class), kept application data when the class writes the same application's.
Acad::ErrorStatus dxfOutObject(const AcDbObject* obj, AcDbDxfFiler* filer);
// The groups kept for an object, in file order (a copy the caller frees with acutRelRb), and
// their number; null and 0 when there are none.
resbuf* keptGroups(const AcDbObject* obj);
int keptGroupCount(const AcDbObject* obj);
// Forgets what was kept for an object (it is then written as its classes write it).
void clearKeptGroups(AcDbObject* obj);

// ---- Names ----------------------------------------------------------------------------------
// The key under which names are compared (upper case, full Unicode simple case mapping).
std::wstring nameKey(const ACHAR* name);
// The rules of symbol table names: not empty, at most 255 characters, none of <>/\":;?*|,=`
// (a leading '*' is allowed for anonymous and space blocks).
bool isValidSymbolName(const ACHAR* name, bool allowLeadingStar = true);
// A fresh GUID "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
std::wstring newGuid();

// ---- A filer over a chain of result buffers ---------------------------------------------------
// Writes the fields as a chain (entget) and reads them back from one (entmake, cloning).
class RbChainFiler : public AcDbDxfFiler {
public:
    // A writing filer.
    explicit RbChainFiler(AcDbDatabase* db, AcDb::FilerType type = AcDb::kBagFiler);
    // A reading filer over a chain the caller keeps.
    RbChainFiler(AcDbDatabase* db, const resbuf* input, AcDb::FilerType type = AcDb::kBagFiler);
    ~RbChainFiler() override;
    AcDb::FilerType filerType() const override { return m_type; }
    AcDbDatabase* database() const override { return m_db; }
    Acad::ErrorStatus readResBuf(resbuf* pRb) override;
    Acad::ErrorStatus pushBackItem() override;
    bool atEOF() override;
    Acad::ErrorStatus writeResBuf(const resbuf& rb) override;
    // The chain written so far; the caller takes it over and frees it with acutRelRb.
    resbuf* takeChain();

private:
    AcDbDatabase* m_db;
    AcDb::FilerType m_type;
    const resbuf* m_next = nullptr;
    const resbuf* m_last = nullptr;
    bool m_pushedBack = false;
    resbuf* m_head = nullptr;
    resbuf* m_tail = nullptr;
};

} // namespace khost
