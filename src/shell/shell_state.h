#ifndef KORVALE_SHELL_SHELL_STATE_H_
#define KORVALE_SHELL_SHELL_STATE_H_

// What the desktop program keeps for its whole run: the language, the
// error texts, the state documents share, the preferences and the handheld
// users. Start-up fills it; the main window uses it.

#include <string>
#include <vector>

#include "base/language_file.h"
#include "base/message_tables.h"
#include "document/application_state.h"
#include "install/install_locations.h"
#include "shell/language_search.h"
#include "shell/prefs_record.h"

namespace kv {

struct ShellState {
  LanguageFile language;
  // The code of the language in use ("DE"), and the languages the user can
  // switch to.
  std::string language_code;
  std::vector<ShippedLanguage> languages;
  MessageTables tables;
  ApplicationState app;
  PrefsRecord prefs;
  // False when the record was not read from a file (a first run).
  bool prefs_loaded = false;
  // Where the record is written at exit; empty writes nothing.
  std::string prefs_path;
  // Where the install back ends live, and the handheld users they had at
  // start-up, for the install submenu.
  InstallLocations install;
  std::vector<std::string> handheld_users;
  // The per-user settings store (.conf) that settings chosen in the
  // program go to; empty keeps them for this run only.
  std::string settings_file;
  // The user guide's start page; empty when it is not installed.
  std::string guide_path;
};

// The texts the document and error reporting take from the language.
void LoadLanguageTexts(ShellState* state);

}  // namespace kv

#endif  // KORVALE_SHELL_SHELL_STATE_H_
