#include "install/install_locations.h"

#include <cstdlib>
#include <filesystem>

#include "install/device_root.h"

namespace kv {

EnvironmentLookup ProcessEnvironment() {
  return [](const char* name) -> std::optional<std::string> {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    return std::string(value);
  };
}

InstallLocations FindInstallLocations(const std::optional<std::string>& install_dir,
                                      const EnvironmentLookup& environment) {
  InstallLocations locations;
  locations.home = environment("HOME").value_or(std::string());
  locations.device_root = environment(kDeviceRootVariable);
  std::optional<std::string> user = environment("USER");
  if (!user) user = environment("LOGNAME");
  for (const std::filesystem::path& folder : RemovableMediaFolders(user.value_or(""))) {
    locations.media_folders.push_back(folder.string());
  }
  if (install_dir && !install_dir->empty()) {
    locations.handheld_data_folder = (std::filesystem::path(*install_dir) / "handhelds").string();
    return locations;
  }
  std::filesystem::path data;
  if (std::optional<std::string> xdg = environment("XDG_DATA_HOME")) {
    data = *xdg;
  } else if (!locations.home.empty()) {
    data = std::filesystem::path(locations.home) / ".local" / "share";
  } else {
    return locations;
  }
  locations.handheld_data_folder = (data / "korvale-map-manager" / "handhelds").string();
  return locations;
}

}  // namespace kv
