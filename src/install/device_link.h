#ifndef KORVALE_INSTALL_DEVICE_LINK_H_
#define KORVALE_INSTALL_DEVICE_LINK_H_

// A connected handheld whose folders the program copies maps into. Folders
// are named in the device's own form: "\My Documents\Korvale". Results are
// the codes of install_results.h.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "install/install_results.h"

namespace kv {

// Called between the pieces of a copy with the bytes done and the bytes in
// total; returns 0 to go on, -1 to cancel.
using CopyProgress = std::function<int(std::int64_t done, std::int64_t total)>;

class DeviceLink {
 public:
  virtual ~DeviceLink() = default;

  // The device's folders: kInstallOk, kDeviceNotConnected, kDeviceListFailed
  // or another negative code.
  virtual int ListFolders(std::vector<std::string>* folders) = 0;
  // Copies the local file into `device_folder` under its own file name:
  // kInstallOk, a value MeansFileExists (kCreate only),
  // kDeviceCopyCancelled when `progress` asked to stop, or another negative
  // code. A cancelled or failed copy leaves the device as it was.
  virtual int Copy(const std::string& local_path, const std::string& device_folder, CopyMode mode,
                   const CopyProgress& progress) = 0;
};

}  // namespace kv

#endif  // KORVALE_INSTALL_DEVICE_LINK_H_
