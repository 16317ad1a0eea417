#ifndef KORVALE_INSTALL_INSTALL_LOCATIONS_H_
#define KORVALE_INSTALL_INSTALL_LOCATIONS_H_

// Where the install back ends live on this machine:
// - the handheld data folder, the root of the sync folder users: the
//   handheld product's install folder + "/handhelds" when its InstallDir is
//   set, else $XDG_DATA_HOME/korvale-map-manager/handhelds (XDG_DATA_HOME
//   defaults to ~/.local/share);
// - the mounted device root: $KORVALE_DEVICE_ROOT, none when unset, and
//   where removable media are mounted for the user ($USER, else $LOGNAME);
// - the home folder, where J-Pilot keeps ~/.jpilot.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kDeviceRootVariable = "KORVALE_DEVICE_ROOT";

struct InstallLocations {
  std::string handheld_data_folder;  // empty when nothing says where
  std::optional<std::string> device_root;
  // The device root the user chose in the program; the shell fills it from
  // its settings.
  std::optional<std::string> chosen_device_root;
  std::vector<std::string> media_folders;  // /media/USER, /run/media/USER
  std::string home;                        // empty when unknown
};

// The value of an environment variable, none when unset or empty.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

EnvironmentLookup ProcessEnvironment();

// `install_dir`: the handheld product's install folder when the settings
// name one.
InstallLocations FindInstallLocations(const std::optional<std::string>& install_dir,
                                      const EnvironmentLookup& environment);

}  // namespace kv

#endif  // KORVALE_INSTALL_INSTALL_LOCATIONS_H_
