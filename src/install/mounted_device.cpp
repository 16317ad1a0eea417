#include "install/mounted_device.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <system_error>

#include "install/device_folder_path.h"
#include "install/install_results.h"

namespace kv {

namespace {

constexpr int kListedDepth = 2;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Adds the folders below `folder` in device form, `depth` levels deep.
bool ListBelow(const std::filesystem::path& folder, const std::string& device_form, int depth,
               std::vector<std::string>* folders) {
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  if (error) return false;
  std::vector<std::string> names;
  for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (error) return false;
    const std::string name = it->path().filename().string();
    std::error_code kind_error;
    if (name.empty() || name[0] == '.' || !it->is_directory(kind_error)) continue;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    const std::string child = device_form + "\\" + name;
    folders->push_back(child);
    // A folder below the top that cannot be read is left out, not a failure
    // of the whole list.
    if (depth > 1) ListBelow(folder / name, child, depth - 1, folders);
  }
  return true;
}

// Copies `source` to `partial` piece by piece, asking `progress` between
// the pieces.
int CopyPieces(std::FILE* source, std::FILE* partial, std::int64_t total,
               const CopyProgress& progress) {
  std::vector<char> buffer(kCopyChunkSize);
  std::int64_t done = 0;
  while (true) {
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), source);
    if (got > 0 && std::fwrite(buffer.data(), 1, got, partial) != got) return kDeviceCopyFailed;
    done += static_cast<std::int64_t>(got);
    if (progress && progress(done, total) < 0) return kDeviceCopyCancelled;
    if (got < buffer.size()) break;
  }
  if (std::ferror(source) != 0) return kDeviceCopyFailed;
  return std::fflush(partial) == 0 ? kInstallOk : kDeviceCopyFailed;
}

}  // namespace

MountedDevice::MountedDevice(std::optional<std::filesystem::path> root)
    : root_([root = std::move(root)]() { return root; }) {}

std::optional<std::filesystem::path> MountedDevice::ConnectedRoot() const {
  std::optional<std::filesystem::path> root = root_ ? root_() : std::nullopt;
  if (!root || root->empty()) return std::nullopt;
  std::error_code error;
  if (!std::filesystem::is_directory(*root, error)) return std::nullopt;
  return root;
}

int MountedDevice::ListFolders(std::vector<std::string>* folders) {
  const std::optional<std::filesystem::path> root = ConnectedRoot();
  if (!root) return kDeviceNotConnected;
  folders->clear();
  if (!ListBelow(*root, std::string(), kListedDepth, folders)) {
    folders->clear();
    return kDeviceListFailed;
  }
  return kInstallOk;
}

int MountedDevice::Copy(const std::string& local_path, const std::string& device_folder,
                        CopyMode mode, const CopyProgress& progress) {
  const std::optional<std::filesystem::path> root = ConnectedRoot();
  if (!root) return kDeviceNotConnected;
  const std::optional<std::filesystem::path> folder = DeviceFolderPath(*root, device_folder);
  if (!folder) return kDeviceBadFolder;
  const std::string name = std::filesystem::path(local_path).filename().string();
  if (name.empty()) return kDeviceCopyFailed;
  std::error_code error;
  std::filesystem::create_directories(*folder, error);
  if (error) return kDeviceCopyFailed;
  const std::filesystem::path target = *folder / name;
  if (mode == CopyMode::kCreate &&
      std::filesystem::exists(std::filesystem::symlink_status(target, error))) {
    return kDeviceFileExists;
  }
  File source(std::fopen(local_path.c_str(), "rb"));
  if (!source) return kDeviceCopyFailed;
  const std::int64_t total =
      static_cast<std::int64_t>(std::filesystem::file_size(local_path, error));
  if (error) return kDeviceCopyFailed;
  // The old file stays until the new one is complete.
  const std::filesystem::path partial = *folder / ("." + name + ".part");
  int result = kDeviceCopyFailed;
  {
    File out(std::fopen(partial.c_str(), "wb"));
    if (!out) return kDeviceCopyFailed;
    result = CopyPieces(source.get(), out.get(), total, progress);
    if (std::fclose(out.release()) != 0 && result == kInstallOk) result = kDeviceCopyFailed;
  }
  if (result == kInstallOk) {
    std::filesystem::rename(partial, target, error);
    if (error) result = kDeviceCopyFailed;
  }
  if (result != kInstallOk) std::filesystem::remove(partial, error);
  return result;
}

}  // namespace kv
