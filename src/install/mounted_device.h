#ifndef KORVALE_INSTALL_MOUNTED_DEVICE_H_
#define KORVALE_INSTALL_MOUNTED_DEVICE_H_

// A handheld whose storage is mounted as a folder, the device root. Its
// folders are listed two levels deep ("\My Documents", "\My
// Documents\Korvale"); a copy creates the folder it needs.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "install/device_link.h"

namespace kv {

// How much a copy writes between two progress calls.
inline constexpr std::size_t kCopyChunkSize = 64 * 1024;

class MountedDevice final : public DeviceLink {
 public:
  // Without a root, or with one that is not a folder (not mounted), the
  // device is not connected.
  explicit MountedDevice(std::optional<std::filesystem::path> root);
  // The root asked for at each listing and copy, as a device may come and
  // go while the program runs.
  using RootSource = std::function<std::optional<std::filesystem::path>()>;
  explicit MountedDevice(RootSource root) : root_(std::move(root)) {}

  int ListFolders(std::vector<std::string>* folders) override;
  int Copy(const std::string& local_path, const std::string& device_folder, CopyMode mode,
           const CopyProgress& progress) override;

 private:
  // The root now, none when the device is not connected.
  std::optional<std::filesystem::path> ConnectedRoot() const;

  RootSource root_;
};

}  // namespace kv

#endif  // KORVALE_INSTALL_MOUNTED_DEVICE_H_
