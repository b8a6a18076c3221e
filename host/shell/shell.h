// The kresbon executable: arguments, drawings, the application module and the command line.
#pragma once

namespace khost {
int shellMain(int argc, char** argv);
}
