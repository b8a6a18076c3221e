// Loading linetypes from linetype files (.lin).
//
// A file holds definitions of two lines: the header "*NAME,description" and the pattern
// "A,dash,dash,...". A dash is a length (positive drawn, negative a gap, zero a dot); an element
// in brackets after a dash is drawn at its end: a text ["TEXT",STYLE,...] in a text style of the
// drawing, or a shape [NAME,FILE.shx,...] of a shape file that a text style of the drawing
// (marked as a shape file) names. Their transforms: S= scale, R= rotation relative to the line,
// A= absolute rotation, U= upright (as R=), X= and Y= offsets; angles in degrees unless ending
// with "r" (radians) or "g" (grads). Lines beginning with ";" are comments. The file is read as
// UTF-8 when it starts with a byte order mark, else in the system's 8-bit code page
// (Windows-1250).
#pragma once

#include "dbmain.h"

// Loads the linetype of that name (case-insensitive; "*" loads every linetype of the file that
// the drawing lacks) into the database (the working one when null). Statuses: eOk;
// eDuplicateRecordName when the drawing has a linetype of that name; eFileNotFound for a file
// that cannot be read; eUndefinedLineType when the file lacks the name; eInvalidInput for a
// definition the file gets wrong; eInvalidTextStyle when a text's style or a shape's shape file
// style is missing from the drawing; eKeyNotFound when the shape file lacks the shape; the
// status of opening the linetype table for write.
Acad::ErrorStatus acdbLoadLineTypeFile(const ACHAR* ltname, const ACHAR* fname, AcDbDatabase* pDb);
