#include "shell.h"

int main(int argc, char** argv) { return khost::shellMain(argc, argv); }
