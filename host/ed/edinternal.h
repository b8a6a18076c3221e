// Functions shared by the editor's own source files.
#pragma once

#include "adsdef.h"

#include <string>
#include <string_view>

class AcApDocument;

namespace khost {

// Removes the commands an application registered (when it is unloaded).
void removeCommandsOfApp(const void* appId);
// Case-insensitive comparison of names (command names, variable names, keywords).
std::wstring upperName(std::wstring_view name);
bool sameName(std::wstring_view a, std::wstring_view b);

// Transforms between the WCS and the current UCS (points or, with disp, displacements).
void ucsToWcs(const ads_point in, ads_point out, bool disp = false);
void wcsToUcs(const ads_point in, ads_point out, bool disp = false);

// The pickfirst set is cleared after a command that does not use it.
void clearPickfirst();

// Forgets pending acedInitGet options and the last keyword.
void resetInputState();

// For prompts outside the acedGetXxx family (selections, acedEntSel): takes the pending
// acedInitGet options as those functions do and returns their control bits; matchTakenKeyword
// then matches an answer against the keywords taken and, on a match, makes the keyword (as
// declared) the one acedGetInput gives.
int takeInputOptionsForPrompt();
bool matchTakenKeyword(const std::wstring& answer);

// Puts the editor's session variables back to their defaults.
void resetSessionVariables();

// Prints a message of the host on a line of its own.
void printHostMessage(std::wstring_view text);

} // namespace khost
