#ifndef KORVALE_INSTALL_DEVICE_INSTALL_H_
#define KORVALE_INSTALL_DEVICE_INSTALL_H_

// Copying a map straight into a folder of a connected device.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "install/install_context.h"

namespace kv {

inline constexpr std::array<const char*, 3> kDefaultDeviceFolders = {
    "\\My Documents\\Korvale", "\\Storage Card\\Korvale", "\\My Flash Disk\\Korvale"};
// The longest folder the folder choice keeps.
inline constexpr std::size_t kDeviceFolderLimit = 255;

struct DeviceFolderChoice {
  std::vector<std::string> folders;
  std::size_t selected = 0;
};

// The folders to offer: the last folder, the device's folders, then the
// default folders, each only when no entry begins with it already. A
// listing failure is reported (kContextPocketPcCopy) unless the user cancelled it
// (-9); the defaults are offered all the same.
DeviceFolderChoice BuildDeviceFolderChoice(DeviceLink& device, InstallUi& ui,
                                           const std::string& last_folder);

// The error code a failed copy or listing is reported with.
ErrorCode DeviceFailureCode(int result);

// Names the map if needed, asks for the folder, writes the map into a
// temporary file and copies it with its progress shown, asking before it
// replaces a file on the device. Ends normally on success and on every
// cancellation but one: a copy the user stopped throws ErrAlreadyReported
// without a message, as every other copy failure does after its message
// (kContextPocketPcCopy). The temporary file is gone when this returns or throws.
InstallOutcome CopyToDevice(InstallContext& context, InstallableMap& map);

}  // namespace kv

#endif  // KORVALE_INSTALL_DEVICE_INSTALL_H_
