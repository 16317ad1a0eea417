// Korvale Map Manager, the desktop program.

#include <QtGlobal>

#include "shell/startup.h"

int main(int argc, char** argv) {
  // The icon and the calibrate cursor are compiled into the shell's static
  // library, whose resource object nothing else would pull into the program.
  Q_INIT_RESOURCE(korvale);
  return kv::DesktopMain(argc, argv);
}
