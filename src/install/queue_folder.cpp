#include "install/queue_folder.h"

#include <system_error>

#include "install/install_results.h"

namespace kv {

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

int CopyIntoQueue(const std::string& source, const std::filesystem::path& folder) {
  const std::string name = std::filesystem::path(source).filename().string();
  if (!IsPlainFileName(name)) return kInstallBadFileName;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return kInstallFolderNotCreated;
  const std::filesystem::path target = folder / name;
  if (std::filesystem::exists(std::filesystem::symlink_status(target, error))) {
    return kInstallAlreadyQueued;
  }
  // Hidden while it is written, so nobody takes it for a queued map.
  const std::filesystem::path partial = folder / ("." + name + ".part");
  std::filesystem::copy_file(source, partial, std::filesystem::copy_options::overwrite_existing,
                             error);
  if (!error) std::filesystem::rename(partial, target, error);
  if (error) {
    std::filesystem::remove(partial, error);
    return kInstallCopyFailed;
  }
  return kInstallOk;
}

int RemoveFromQueue(const std::filesystem::path& folder, const std::string& file_name) {
  if (!IsPlainFileName(file_name)) return kInstallBadFileName;
  std::error_code error;
  std::filesystem::remove(folder / file_name, error);
  return error ? kInstallRemoveFailed : kInstallOk;
}

}  // namespace kv
