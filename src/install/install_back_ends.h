#ifndef KORVALE_INSTALL_INSTALL_BACK_ENDS_H_
#define KORVALE_INSTALL_INSTALL_BACK_ENDS_H_

// The real back ends of this machine, and what installs remember, for a
// program that installs for the whole of its run.

#include "install/handheld_user_list.h"
#include "install/install_context.h"
#include "install/install_locations.h"
#include "install/mounted_device.h"

namespace kv {

struct InstallBackEnds {
  explicit InstallBackEnds(const InstallLocations& locations)
      : users(locations.handheld_data_folder, locations.home), device(locations.device_root) {}

  HandheldUserList users;
  MountedDevice device;
  InstallMemory memory;
};

// The users' names, in the order of their commands.
std::vector<std::string> HandheldUserNames(HandheldUsers& users);
// The index of the user of that name; -1 when there is none.
int HandheldUserIndex(HandheldUsers& users, const std::string& name);

}  // namespace kv

#endif  // KORVALE_INSTALL_INSTALL_BACK_ENDS_H_
