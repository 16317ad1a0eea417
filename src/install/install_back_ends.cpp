#include "install/install_back_ends.h"

namespace kv {

DeviceRootPlaces DeviceRootPlacesOf(const InstallLocations& locations) {
  DeviceRootPlaces places;
  places.chosen = locations.chosen_device_root;
  places.environment = locations.device_root;
  for (const std::string& folder : locations.media_folders) places.media_parents.push_back(folder);
  return places;
}

std::vector<std::string> HandheldUserNames(HandheldUsers& users) {
  std::vector<std::string> names;
  const int count = users.UserCount();
  for (int i = 0; i < count; ++i) {
    std::optional<std::string> name = users.UserName(i);
    // A user gone between the two questions ends the list: the commands
    // must stay in step with the users' indexes.
    if (!name) break;
    names.push_back(std::move(*name));
  }
  return names;
}

int HandheldUserIndex(HandheldUsers& users, const std::string& name) {
  const int count = users.UserCount();
  for (int i = 0; i < count; ++i) {
    if (users.UserName(i) == name) return i;
  }
  return -1;
}

}  // namespace kv
