// Loading applications as shared modules and telling them about drawings.
#pragma once

#include <string>

namespace khost {

// Opens the module, finds its acrxEntryPoint, sends kInitAppMsg and then kLoadDwgMsg for every
// open drawing. Returns the application's index, or -1 with a message printed.
int loadApplication(const std::string& path);
// Sends kUnloadAppMsg and closes the module; the drawings stay open.
void unloadApplication(int index);
void unloadAllApplications();

} // namespace khost
