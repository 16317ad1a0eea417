#ifndef KORVALE_SHELL_PREFS_BINDING_H_
#define KORVALE_SHELL_PREFS_BINDING_H_

// Which of the program's settings the preferences record keeps.

#include "document/application_state.h"
#include "shell/prefs_record.h"

namespace kv {

// Colour depth, compression, folders, the calibration dialog's follow
// option and the coordinate system from the record; a depth the program does not offer becomes 16.
void LoadSettingsFromPrefs(const PrefsRecord& prefs, ApplicationState* app);
// The same settings back into the record, the minimum depth as 1.
void StoreSettingsInPrefs(const ApplicationState& app, PrefsRecord* prefs);

}  // namespace kv

#endif  // KORVALE_SHELL_PREFS_BINDING_H_
