// Korvale Map Manager, the desktop program.

#include "shell/startup.h"

int main(int argc, char** argv) { return kv::DesktopMain(argc, argv); }
