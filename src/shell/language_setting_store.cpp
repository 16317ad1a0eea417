#include "shell/language_setting_store.h"

#include "shell/registry_settings.h"

namespace kv {

bool WriteLanguageSetting(QSettings& user, const LanguageSetting& setting) {
  user.beginGroup(kSettingsGroup);
  // Texts, as the handheld product's own settings keep them.
  user.setValue("Language", QString::number(setting.language));
  user.setValue("LanguageSub", QString::number(setting.sub_language));
  user.endGroup();
  user.sync();
  return user.status() == QSettings::NoError;
}

bool WriteInstalledLanguageSetting(const LanguageSetting& setting, std::string* file_name) {
  QSettings user(QSettings::NativeFormat, QSettings::UserScope, kSettingsOrganisation,
                 kSettingsApplication);
  *file_name = user.fileName().toStdString();
  return WriteLanguageSetting(user, setting);
}

}  // namespace kv
