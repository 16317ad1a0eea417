#include "shell/registry_settings.h"

#include <filesystem>
#include <system_error>

namespace kv {

namespace {

std::optional<std::string> Value(QSettings& settings, const char* key) {
  settings.beginGroup(kSettingsGroup);
  const QVariant value = settings.value(key);
  settings.endGroup();
  if (!value.isValid()) return std::nullopt;
  return value.toString().toStdString();
}

}  // namespace

RegistrySettings ReadRegistrySettings(QSettings& user, QSettings& system) {
  user.setFallbacksEnabled(false);
  RegistrySettings settings;
  settings.language = Value(user, "Language");
  if (settings.language) settings.sub_language = Value(user, "LanguageSub");
  settings.install_dir = Value(system, "InstallDir");
  settings.instl_dir = Value(system, "InstlDir");
  return settings;
}

RegistrySettings ReadInstalledRegistrySettings() {
  QSettings user(QSettings::NativeFormat, QSettings::UserScope, kSettingsOrganisation,
                 kSettingsApplication);
  QSettings system(QSettings::NativeFormat, QSettings::SystemScope, kSettingsOrganisation,
                   kSettingsApplication);
  return ReadRegistrySettings(user, system);
}

std::string InstallFolder(const RegistrySettings& settings) {
  if (settings.install_dir) return *settings.install_dir;
  if (settings.instl_dir) return *settings.instl_dir;
  std::error_code error;
  return std::filesystem::current_path(error).string();
}

}  // namespace kv
