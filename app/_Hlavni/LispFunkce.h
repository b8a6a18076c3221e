// The application's AutoLISP functions. Each reads its arguments with acedGetArgs and returns a
// LISP value with one of acedRet*, nil also after an error; the host calls them through the
// function table of the application object.
#pragma once

#include "StdAfx.h"

// Values of the drawing's store (the name alone is the record name).
int LispUlozInt();
int LispUlozString();
int LispUlozBod();
int LispUlozReal();
int LispNactiInt();
int LispNactiString();
int LispNactiBod();
int LispNactiReal();

// Moves the pickfirst set, or entities selected at the prompt, to a standard layer.
int LispZmenHladinuEntity();

// The standard layer and styles, created when the drawing lacks them.
int LispNastavHladinu();
int LispNastavTextStyl();
int LispNastavMLeaderStyl();
int LispNastavKotStyl();

// A path in one of the installation folders.
int LispNactiCestu();
// A user layer under the prefix with the given properties.
int LispNastavUzivHladinu();
int LispJeDebug();
// One of the settings as an integer.
int LispNastaveni();
