#include "shell/device_root_setting.h"

#include "shell/registry_settings.h"

namespace kv {

std::optional<std::string> ReadDeviceRootSetting(QSettings& user) {
  user.beginGroup(kSettingsGroup);
  const QString folder = user.value(kDeviceRootKey).toString();
  user.endGroup();
  if (folder.isEmpty()) return std::nullopt;
  return folder.toStdString();
}

void WriteDeviceRootSetting(QSettings& user, const std::optional<std::string>& folder) {
  user.beginGroup(kSettingsGroup);
  if (folder && !folder->empty()) {
    user.setValue(kDeviceRootKey, QString::fromStdString(*folder));
  } else {
    user.remove(kDeviceRootKey);
  }
  user.endGroup();
  user.sync();
}

}  // namespace kv
