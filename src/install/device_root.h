#ifndef KORVALE_INSTALL_DEVICE_ROOT_H_
#define KORVALE_INSTALL_DEVICE_ROOT_H_

// Where the handheld's storage is mounted, the device root a copy writes
// into. A folder counts as the device only while something is mounted on
// it, or while it holds the handheld's own top folders: the empty folder a
// desktop leaves behind after the device was unmounted would otherwise take
// the map onto the computer's own disk.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// The handheld's top folders, as the default device folders name them.
inline constexpr const char* kHandheldTopFolders[] = {"My Documents", "Storage Card",
                                                      "My Flash Disk"};

// True when a file system is mounted on the folder.
using MountCheck = std::function<bool(const std::filesystem::path& folder)>;

// The system's answer: the folder lies on another device than its parent,
// or is its own parent (the root).
bool IsMountPoint(const std::filesystem::path& folder);

// Holds one of kHandheldTopFolders (in any case).
bool HasHandheldFolders(const std::filesystem::path& folder);

// A folder that is mounted, or holds the handheld's folders.
bool CountsAsDevice(const std::filesystem::path& folder, const MountCheck& is_mount_point);

// Where desktops mount removable media for `user`: /media/USER and
// /run/media/USER. None without a user name.
std::vector<std::filesystem::path> RemovableMediaFolders(const std::string& user);

// The media mounted below `parents` that count as the device: those with
// the handheld's folders first, then the others, each group by name.
std::vector<std::filesystem::path> FindRemovableMedia(
    const std::vector<std::filesystem::path>& parents, const MountCheck& is_mount_point);

// What the device root may come from, in the order it is looked for.
struct DeviceRootPlaces {
  // The folder the user chose in the program; counts only while it is the
  // device (see CountsAsDevice).
  std::optional<std::string> chosen;
  // $KORVALE_DEVICE_ROOT, given for this run: taken as it is.
  std::optional<std::string> environment;
  // Where removable media are mounted (RemovableMediaFolders).
  std::vector<std::filesystem::path> media_parents;
};

enum class DeviceRootOrigin { kNone, kChosen, kEnvironment, kRemovableMedium };

struct FoundDeviceRoot {
  DeviceRootOrigin origin = DeviceRootOrigin::kNone;
  std::filesystem::path root;  // empty with kNone
};

// Looks each time it is asked, so that a device plugged in, or a folder
// chosen, while the program runs is found. Without a chosen folder the
// environment's root is taken, else the first medium found. A chosen
// folder that does not count as the device gives none: the user named the
// device, and another medium is not it.
class DeviceRootFinder {
 public:
  explicit DeviceRootFinder(DeviceRootPlaces places, MountCheck is_mount_point = IsMountPoint);

  FoundDeviceRoot Find() const;
  // What Find would give with `folder` chosen instead.
  FoundDeviceRoot FindIfChosen(std::optional<std::string> folder) const;
  // The media that count as the device now, to offer as choices.
  std::vector<std::filesystem::path> Media() const;
  bool CountsAsDevice(const std::filesystem::path& folder) const;

  const std::optional<std::string>& chosen() const { return places_.chosen; }
  // None or an empty text: find the device by itself.
  void set_chosen(std::optional<std::string> folder);

 private:
  DeviceRootPlaces places_;
  MountCheck is_mount_point_;
};

}  // namespace kv

#endif  // KORVALE_INSTALL_DEVICE_ROOT_H_
