// Loading applications as shared modules.
#pragma once

#include <string>

namespace khost {

// Opens the module, finds its acrxEntryPoint and loads the application (kInitAppMsg, then
// kLoadDwgMsg for every open drawing). Returns the application's index, or -1 with a message
// printed.
int loadApplicationModule(const std::string& path);
// Unloads every application (kUnloadAppMsg) and closes their modules; drawings stay open.
void unloadAllApplications();

} // namespace khost
