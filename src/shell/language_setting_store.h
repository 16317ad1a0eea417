#ifndef KORVALE_SHELL_LANGUAGE_SETTING_STORE_H_
#define KORVALE_SHELL_LANGUAGE_SETTING_STORE_H_

// Keeps the user's choice of language where start-up reads it: "Language"
// and "LanguageSub" of the group "Korvale Map Manager" in the per-user
// store ($XDG_CONFIG_HOME/Halvernet/Korvale GPS 5.conf).

#include <QSettings>
#include <string>

#include "shell/language_choice.h"

namespace kv {

// False when the store could not be written.
bool WriteLanguageSetting(QSettings& user, const LanguageSetting& setting);

// The same, in the real per-user store, whose file `*file_name` names.
bool WriteInstalledLanguageSetting(const LanguageSetting& setting, std::string* file_name);

}  // namespace kv

#endif  // KORVALE_SHELL_LANGUAGE_SETTING_STORE_H_
