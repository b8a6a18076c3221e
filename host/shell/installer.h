// The installer step: on first use, the machine hive gets the installation folders.
#pragma once

#include <string>

namespace khost {

// Fills the machine hive with the folders of the installation when they are missing, creates the
// user's data folders in the home folder and copies the shipped user data into them. Returns
// true when it did the installation now.
bool installIfNeeded(const std::string& dataDir, const std::string& homeDir);

} // namespace khost
