#ifndef KORVALE_INSTALL_INSTALL_BACK_ENDS_H_
#define KORVALE_INSTALL_INSTALL_BACK_ENDS_H_

// The real back ends of this machine, and what installs remember, for a
// program that installs for the whole of its run.

#include "install/device_root.h"
#include "install/handheld_user_list.h"
#include "install/install_context.h"
#include "install/install_locations.h"
#include "install/mounted_device.h"

namespace kv {

// Where the device root is looked for, from the machine's locations.
DeviceRootPlaces DeviceRootPlacesOf(const InstallLocations& locations);

struct InstallBackEnds {
  explicit InstallBackEnds(const InstallLocations& locations)
      : users(locations.handheld_data_folder, locations.home),
        device_root(DeviceRootPlacesOf(locations)),
        device([this]() -> std::optional<std::filesystem::path> {
          FoundDeviceRoot found = device_root.Find();
          if (found.origin == DeviceRootOrigin::kNone) return std::nullopt;
          return found.root;
        }) {}
  InstallBackEnds(const InstallBackEnds&) = delete;
  InstallBackEnds& operator=(const InstallBackEnds&) = delete;

  HandheldUserList users;
  // Before `device`, which asks it.
  DeviceRootFinder device_root;
  MountedDevice device;
  InstallMemory memory;
};

// The users' names, in the order of their commands.
std::vector<std::string> HandheldUserNames(HandheldUsers& users);
// The index of the user of that name; -1 when there is none.
int HandheldUserIndex(HandheldUsers& users, const std::string& name);

}  // namespace kv

#endif  // KORVALE_INSTALL_INSTALL_BACK_ENDS_H_
