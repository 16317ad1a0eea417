#ifndef KORVALE_INSTALL_INSTALL_RESULTS_H_
#define KORVALE_INSTALL_INSTALL_RESULTS_H_

// The results the install operations give. The handheld users' queue and
// the device copy keep the values the Windows program's libraries gave, so
// that their meaning (and the error texts 500 to 522, 550 to 555 and 701
// that go with them) stays the same.

#include <cstdint>

namespace kv {

inline constexpr int kInstallOk = 0;

// Handheld users and their queues. A code -500 - i has the error text
// 500 + i, -550 - i the text 550 + i, -701 the text 701.
inline constexpr int kInstallUserNotFound = -502;
inline constexpr int kInstallCopyFailed = -504;
inline constexpr int kInstallBadFileName = -506;
inline constexpr int kInstallListUnreadable = -508;
inline constexpr int kInstallListUnwritable = -509;
inline constexpr int kInstallCardNotFound = -510;
inline constexpr int kInstallRemoveFailed = -511;
// Not a failure: a file of that name waits in the queue already.
inline constexpr int kInstallAlreadyQueued = -512;
inline constexpr int kInstallFolderNotCreated = -517;
inline constexpr int kInstallUserListUnreadable = -550;
inline constexpr int kInstallCardListUnreadable = -552;

// The card identifier that stands for the handheld's main memory.
inline constexpr std::uint32_t kMainMemoryCard = 0xffff;

// Device folders and the copy.
inline constexpr int kDeviceNotConnected = -7;  // no device root, or not mounted
inline constexpr int kDeviceListFailed = -8;
inline constexpr int kDeviceCopyCancelled = -9;
inline constexpr int kDeviceCopyFailed = -10;
inline constexpr int kDeviceBadFolder = -11;
// The target exists and the copy was asked not to replace it.
inline constexpr int kDeviceFileExists = 0x7000002;

// Whether a copy result says that the file exists on the device: the
// value without its bits 4 to 7.
constexpr bool MeansFileExists(int result) {
  return (static_cast<std::uint32_t>(result) & ~std::uint32_t{0xf0}) ==
         static_cast<std::uint32_t>(kDeviceFileExists);
}

enum class CopyMode {
  kCreate = 4,     // fails with kDeviceFileExists when the file is there
  kOverwrite = 1,  // replaces it
};

}  // namespace kv

#endif  // KORVALE_INSTALL_INSTALL_RESULTS_H_
