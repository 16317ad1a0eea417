#ifndef KORVALE_SHELL_DEVICE_ROOT_SETTING_H_
#define KORVALE_SHELL_DEVICE_ROOT_SETTING_H_

// The folder the user chose for the handheld's storage, kept per user in
// the settings store beside the language ("DeviceRoot" in the group
// "Korvale Map Manager"). None, or an empty text: find the handheld among
// the removable media.

#include <QSettings>
#include <optional>
#include <string>

namespace kv {

inline constexpr const char* kDeviceRootKey = "DeviceRoot";

std::optional<std::string> ReadDeviceRootSetting(QSettings& user);
// None removes the key.
void WriteDeviceRootSetting(QSettings& user, const std::optional<std::string>& folder);

}  // namespace kv

#endif  // KORVALE_SHELL_DEVICE_ROOT_SETTING_H_
