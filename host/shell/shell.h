// The kresbon executable: arguments, drawings, the application module and the command line.
#pragma once

#include <string>

namespace khost {

struct ShellOptions {
    std::string drawing;  // drawing to open; empty: a new drawing from the built-in default
    std::string script;   // script to run; empty: the command line (standard input)
    std::string out;      // where to save the current drawing at the end; empty: nowhere
    std::string home;     // registry hives and the user's data
    std::string app;      // the application module; empty: the built one
    std::string data;     // the installation data folder
    bool noApp = false;   // run the bare host
    bool strict = false;  // objects left open make the exit status non-zero
};

// Parses the arguments; returns false (with a message in error) for bad ones.
bool parseArguments(int argc, char** argv, ShellOptions& options, std::string& error);
int runShell(const ShellOptions& options);
int shellMain(int argc, char** argv);

// The host's own commands (drawings: NEW, SWITCH, CLOSE, SAVEAS, QSAVE).
void registerHostCommands();

} // namespace khost
