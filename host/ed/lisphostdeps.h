// What the evaluator uses from the editor (documents, system variables) and the database
// (the report of objects left open).
#pragma once

#include "adsdef.h"

#include <string>

namespace khost {
const void* currentDocumentKey();
void reportOpenObjects(const std::wstring& context);
} // namespace khost

int acedGetVar(const ACHAR* name, resbuf* result);
int acedSetVar(const ACHAR* name, const resbuf* value);
