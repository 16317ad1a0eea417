#ifndef KORVALE_SHELL_REGISTRY_SETTINGS_H_
#define KORVALE_SHELL_REGISTRY_SETTINGS_H_

// The handheld product's settings the program reads and never writes: the
// user's language, and the product's install folder for all users.

#include <QSettings>
#include <optional>
#include <string>

namespace kv {

inline constexpr const char* kSettingsOrganisation = "Halvernet";
inline constexpr const char* kSettingsApplication = "Korvale GPS 5";
inline constexpr const char* kSettingsGroup = "Korvale Map Manager";

struct RegistrySettings {
  std::optional<std::string> language;      // "Language", per user
  std::optional<std::string> sub_language;  // "LanguageSub", per user
  std::optional<std::string> install_dir;   // "InstallDir", all users
  std::optional<std::string> instl_dir;     // "InstlDir", all users
};

// Reads the group "Korvale Map Manager" of both stores. The user store is
// read without falling back to the system one.
RegistrySettings ReadRegistrySettings(QSettings& user, QSettings& system);

// The settings of the real stores (per user and system-wide).
RegistrySettings ReadInstalledRegistrySettings();

// "InstallDir", else "InstlDir", else the current folder.
std::string InstallFolder(const RegistrySettings& settings);

}  // namespace kv

#endif  // KORVALE_SHELL_REGISTRY_SETTINGS_H_
