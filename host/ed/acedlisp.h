// The host's interface for external LISP functions: applications define functions with
// acedDefun while they handle a message, and receive kInvkSubrMsg when one is called; the
// handler reads its arguments with acedGetArgs and returns its value with one of acedRet*.
#pragma once

#include "adsdef.h"

int acedDefun(const ACHAR* pszName, int nFuncNum);
int acedUndef(const ACHAR* pszName, int nFuncNum);
int acedGetFunCode();
// The arguments of the call being handled; the chain belongs to the host and is released after
// the call.
resbuf* acedGetArgs();
int acedRegFunc(int (*fhdl)(), int fcode);

int acedRetInt(int ival);
int acedRetReal(ads_real rval);
int acedRetPoint(const ads_point pt);
int acedRetStr(const ACHAR* s);
int acedRetName(const ads_name aname, int type);
int acedRetNil();
int acedRetT();
int acedRetVoid();
int acedRetVal(const resbuf* rbuf);
int acedRetList(const resbuf* rbuf);

int acedPutSym(const ACHAR* sname, resbuf* value);
int acedGetSym(const ACHAR* sname, resbuf** value);
