// Layer descriptions: DXF keeps them in the layer's extended data, under the application
// "AcAecLayerStandard" (an empty string, then the description).
#pragma once

#include "adsdef.h"

#include <string>

class AcDbDatabase;
class AcDbObject;

namespace khost::dxf {

extern const wchar_t* const kLayerDescriptionApp;

// The extended data to write for an object: its own, and for a layer with a description the
// description's part (replacing a part of that application the layer may carry). A new chain
// the caller frees, or null.
resbuf* xdataForFile(const AcDbObject* obj);
// Takes the description's part out of a layer's extended data read from a file: returns the
// description ("" when none) and leaves the rest in the chain.
std::wstring takeLayerDescription(resbuf*& chain);
// Registers the application of layer descriptions when some layer has one.
void registerLayerDescriptionApp(AcDbDatabase* db);

} // namespace khost::dxf
