// Internals of the dynamic blocks shared by their source files (not part of the interface).
#pragma once

#include "dbdynblk.h"

#include <string>
#include <utility>
#include <vector>

class AcDbBlockReference;
class AcDbBlockTableRecord;

namespace khost {

using DynValues = std::vector<std::pair<std::wstring, AcDbEvalVariant>>;

// The pairs a reference carries (empty when it has none).
void readReferenceValues(const AcDbObject* pRef, DynValues& values);
// The value of each property of the definition for the reference, in the definition's order.
std::vector<AcDbEvalVariant> effectiveValues(const AcDbObject* pRef,
                                             const std::vector<DynPropDef>& props);
// Writes the values of all properties onto the reference (open for write).
Acad::ErrorStatus writeReferenceValues(AcDbObject* pRef, const std::vector<DynPropDef>& props,
                                       const std::vector<AcDbEvalVariant>& values);
// The dynamic block definition of a reference (its representation's definition or its own
// block), null when that is not dynamic.
AcDbObjectId dynamicDefinitionOf(const AcDbBlockReference* pRef);
// Data of a representation block; false for any other block.
bool readRepresentation(const AcDbBlockTableRecord* pBlock, std::wstring& definition,
                        std::wstring& owner);
// Stores the values on the reference (open for write) and redraws it: its representation and
// the attributes that follow the actions.
Acad::ErrorStatus applyDynamicValues(AcDbBlockReference* pRef, AcDbObjectId definition,
                                     const std::vector<DynPropDef>& props,
                                     const std::vector<AcDbEvalVariant>& values);
// Names compared as the properties are: without regard to case.
bool sameDynName(const std::wstring& a, const std::wstring& b);
// The object's own database, else the working one; the application registered there.
AcDbDatabase* dynDatabase(const AcDbObject* pObj);

} // namespace khost
