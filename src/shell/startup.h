#ifndef KORVALE_SHELL_STARTUP_H_
#define KORVALE_SHELL_STARTUP_H_

// From the program's entry to its main window and back: the language
// setting and file, the texts, the preferences, the window, the event loop,
// and the preferences written at exit.

#include <QSize>
#include <string>
#include <vector>

#include "install/install_locations.h"
#include "shell/registry_settings.h"
#include "shell/shell_state.h"
#include "shell/user_prompts.h"

namespace kv {

// The exit code when no language file is found (255 to the shell).
inline constexpr int kNoLanguageExitCode = -1;

// What start-up reads from the machine, gathered in one place so that tests
// can give their own.
struct StartupEnvironment {
  std::string program_folder;
  // <prefix>/share/korvale-map-manager: "lang" and "guide" below it.
  std::string data_folder;
  RegistrySettings registry;
  // Where the preferences file lives ($XDG_CONFIG_HOME or ~/.config).
  std::string config_folder;
  // The user's documents folder, with trailing separator, or empty.
  std::string documents_folder;
  QSize desktop;
  // The handheld data folder, the device root and the home folder.
  InstallLocations install;
  // The per-user settings store that choices made in the program go to.
  std::string settings_file;
  // A map or image to open at start.
  std::vector<std::string> files;
};

// The machine's own. REQUIRES: a QApplication exists.
StartupEnvironment SystemStartupEnvironment(const std::vector<std::string>& arguments);

// Steps before the window: language setting and file, texts, preferences.
// False when no language file can be used; the message has then been shown.
bool PrepareShell(const StartupEnvironment& environment, UserPrompts& prompts, ShellState* state);

// The whole run after the QApplication exists; the exit code. A signal
// descriptor (signalfd), when not -1, closes the window when readable.
int RunDesktopProgram(const StartupEnvironment& environment, UserPrompts& prompts,
                      ShellState* state, int close_signal = -1);

// main(): blocks termination signals so that they close the window like the
// user would, then runs the program.
int DesktopMain(int argc, char** argv);

}  // namespace kv

#endif  // KORVALE_SHELL_STARTUP_H_
