// The C interface of entity data and selection sets: entity data lists (acdbEntGet, acdbEntMake,
// acdbEntMod ...), walking the drawing's entities, and the selection sets the application gets
// from the host.
//
// Entity and selection set names are ads_names; an entity's name is the one acdbGetAdsName gives
// for its id. Data lists are chains of DXF groups; the entity type is group 0 (RTDXF0 where a
// list is built with acutBuildList).
#pragma once

#include "adsdef.h"

// The data list of an entity (a new chain the caller frees with acutRelRb), null for a name that
// names no entity. acdbEntGetX adds the extended data of the applications named in apps (a chain
// of RTSTR wildcard patterns).
resbuf* acdbEntGet(const ads_name ent);
resbuf* acdbEntGetX(const ads_name ent, const resbuf* apps);
// Makes an entity (or a part of a block definition or of a complex entity): RTNORM, or RTREJ
// for a list that makes no entity.
int acdbEntMake(const resbuf* ent);
// The same, giving the new object's name; objects without an owner may be made too.
int acdbEntMakeX(const resbuf* ent, ads_name result);
// Changes the entity that the list's -1 group names.
int acdbEntMod(const resbuf* ent);
int acdbEntUpd(const ads_name ent);
// Erases an entity or brings back one that was erased.
int acdbEntDel(const ads_name ent);
// The last main entity of the drawing; RTERROR when there is none.
int acdbEntLast(ads_name result);
// The entity after ent (the first of the drawing when ent is null); RTERROR at the end.
int acdbEntNext(const ads_name ent, ads_name result);
// The entity of a handle; RTERROR when there is none.
int acdbHandEnt(const ACHAR* handle, ads_name entres);

// Selection sets.
int acedSSLength(const ads_name ss, Adesk::Int32* len);
int acedSSName(const ads_name ss, Adesk::Int32 i, ads_name entres);
int acedSSFree(const ads_name ss);
// Adds an entity to a set; with ss null a new set is made (holding ename, or empty when ename is
// null too).
int acedSSAdd(const ads_name ename, const ads_name ss, ads_name result);
int acedSSDel(const ads_name ename, const ads_name ss);
int acedSSMemb(const ads_name ename, const ads_name ss);
// The pickfirst set of the current document: set (pickfirst may be null to clear it) and get.
int acedSSSetFirst(const ads_name pset, const ads_name unused);
int acedSSGetFirst(resbuf** gset, resbuf** pset);
