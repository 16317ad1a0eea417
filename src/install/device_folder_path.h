#ifndef KORVALE_INSTALL_DEVICE_FOLDER_PATH_H_
#define KORVALE_INSTALL_DEVICE_FOLDER_PATH_H_

// A folder in the device's own form ("\My Documents\Korvale") as a folder
// under the mounted device's root (ROOT/My Documents/Korvale). Forward
// slashes separate too; empty parts are skipped.

#include <filesystem>
#include <optional>
#include <string_view>

namespace kv {

// None when a part would leave the root ("." or "..") or holds a NUL.
std::optional<std::filesystem::path> DeviceFolderPath(const std::filesystem::path& root,
                                                      std::string_view device_folder);

}  // namespace kv

#endif  // KORVALE_INSTALL_DEVICE_FOLDER_PATH_H_
