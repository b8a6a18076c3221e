// The host's side of the entity and selection-set functions: entity data lists as group chains,
// entmake's building of entities, block definitions and complex entities, selection sets and
// their filters. The AutoLISP functions (edentfn_lisp.cpp) and the C interface (acedentfn.h) are
// both made of these.
#pragma once

#include "adsdef.h"
#include "dbid.h"

#include <string>
#include <vector>

class AcDbDatabase;
class AcDbObject;

namespace khost {

// ---- Entity data lists
// The data list of an object as entget gives it: (-1 . name) (0 . type), the owner and the handle,
// the fields as dxfOutFields writes them (for an entity of a layout also 67 and 410), and with
// apps the extended data of the applications whose names match one of the wildcard patterns
// (after a -3 group). Null for an id without an object.
resbuf* entityData(AcDbObjectId id, const std::vector<std::wstring>& apps = {});

// entmake: builds an object from a data list through the class factory and dxfInFields. Entities
// go to the current space, or to the block being defined between BLOCK and ENDBLK; a complex
// entity (an INSERT with 66 1, a POLYLINE) is kept until its SEQEND. Symbol table records go to
// their table. Returns RTNORM with the new object's id (null while a block or complex entity is
// pending), or RTREJ/RTERROR when the list does not make an object; a failed sub-entity discards
// the pending complex entity. blockName receives the name of a block finished by ENDBLK.
int entMake(const resbuf* data, AcDbObjectId& made, std::wstring* blockName = nullptr);
// entmakex: the same for an object without an owner (a dictionary, an extension record) too.
int entMakeX(const resbuf* data, AcDbObjectId& made);
// Forgets a pending block definition or complex entity of the working database.
void entMakeReset();

// entmod: changes an object by a data list whose -1 group names it. Groups the list does not give
// keep their values. RTNORM, or RTERROR/RTREJ when it cannot be changed.
int entMod(const resbuf* data);
// entdel: erases an entity, or brings back one it erased.
int entDel(AcDbObjectId id);

// entlast and entnext: the main entities of model space, then of each paper space, each followed
// by its sub-entities and their end-of-sequence marker; an entity of a block definition is
// followed by the next one of that block. entlast is the last main entity made (the highest
// handle of the layouts' last entities).
AcDbObjectId lastEntity(AcDbDatabase* db);
AcDbObjectId nextEntity(AcDbDatabase* db, AcDbObjectId after);
// The blocks of the layouts in the order entnext walks them: model space, then paper spaces.
std::vector<AcDbObjectId> layoutBlocks(AcDbDatabase* db);
// handent: the object of a handle (hexadecimal), null when there is none or it is erased.
AcDbObjectId objectOfHandle(AcDbDatabase* db, const std::wstring& handle);

// The checks of entmake and entmod on a list for an entity of a type: a layer that does not exist
// is made (with layer 0's properties); an unknown linetype, an unknown text style of a text, an
// unknown block of a block reference or a colour out of range refuse the list (false).
bool checkEntityProperties(AcDbDatabase* db, const std::wstring& type, const resbuf* data);
// Whether every application of a chain of extended data is registered in db.
bool appsRegistered(AcDbDatabase* db, const resbuf* xdata);

// The DXF type name of an object ("LINE").
std::wstring dxfTypeName(const AcDbObject* o);

// ---- Wildcards
// The host's wildcard patterns: # a digit, @ a letter, . neither, * any sequence, ? any character,
// ~ (first) negation, [...] a set ([~...] its complement), ` escapes, a comma separates
// alternatives. Case-insensitive when asked.
bool wildcardMatch(const std::wstring& text, const std::wstring& pattern, bool ignoreCase = true);

// ---- Selection sets
// Selection sets are named by ads_names of their own; a set lives until it is freed or its
// document's database goes away.
struct SelectionSet;
// A new empty set, its name given in name.
SelectionSet* newSelectionSet(ads_name name);
SelectionSet* findSelectionSet(const ads_name name);
bool freeSelectionSet(const ads_name name);
std::vector<AcDbObjectId>& selectionMembers(SelectionSet* set);
int selectionSetCount();

// Whether an entity passes a filter (a chain of groups with -4 operators); false for a malformed
// filter. A null filter passes everything.
bool filterMatches(AcDbObjectId entity, const resbuf* filter);
// Checks a filter's form ("<or" ... "or>" balanced, known operators).
bool filterIsValid(const resbuf* filter);
// Every main entity of the layouts of db (model space first, then paper spaces) that passes the
// filter, as ssget "X" selects.
std::vector<AcDbObjectId> selectAll(AcDbDatabase* db, const resbuf* filter);

} // namespace khost
