#include "install/device_root.h"

#include <sys/stat.h>

#include <algorithm>
#include <system_error>

namespace kv {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool IsHandheldTopFolder(const std::string& name) {
  const std::string lower = Lower(name);
  return std::any_of(std::begin(kHandheldTopFolders), std::end(kHandheldTopFolders),
                     [&](const char* top) { return Lower(top) == lower; });
}

bool IsFolder(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

// The folders directly below `parent`, by name; none when it cannot be read.
std::vector<std::filesystem::path> FoldersBelow(const std::filesystem::path& parent) {
  std::vector<std::filesystem::path> folders;
  std::error_code error;
  std::filesystem::directory_iterator it(parent, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    std::error_code kind_error;
    if (it->is_directory(kind_error)) folders.push_back(it->path());
  }
  std::sort(folders.begin(), folders.end());
  return folders;
}

}  // namespace

bool IsMountPoint(const std::filesystem::path& folder) {
  struct stat own {};
  struct stat parent {};
  if (stat(folder.c_str(), &own) != 0 || !S_ISDIR(own.st_mode)) return false;
  const std::filesystem::path up = folder / "..";
  if (stat(up.c_str(), &parent) != 0) return false;
  return own.st_dev != parent.st_dev || own.st_ino == parent.st_ino;
}

bool HasHandheldFolders(const std::filesystem::path& folder) {
  for (const std::filesystem::path& below : FoldersBelow(folder)) {
    if (IsHandheldTopFolder(below.filename().string())) return true;
  }
  return false;
}

bool CountsAsDevice(const std::filesystem::path& folder, const MountCheck& is_mount_point) {
  if (folder.empty() || !IsFolder(folder)) return false;
  return HasHandheldFolders(folder) || (is_mount_point && is_mount_point(folder));
}

std::vector<std::filesystem::path> RemovableMediaFolders(const std::string& user) {
  if (user.empty() || user.find('/') != std::string::npos || user == "." || user == "..") {
    return {};
  }
  return {std::filesystem::path("/media") / user, std::filesystem::path("/run/media") / user};
}

std::vector<std::filesystem::path> FindRemovableMedia(
    const std::vector<std::filesystem::path>& parents, const MountCheck& is_mount_point) {
  std::vector<std::filesystem::path> handheld;
  std::vector<std::filesystem::path> others;
  for (const std::filesystem::path& parent : parents) {
    for (const std::filesystem::path& medium : FoldersBelow(parent)) {
      if (HasHandheldFolders(medium)) {
        handheld.push_back(medium);
      } else if (is_mount_point && is_mount_point(medium)) {
        others.push_back(medium);
      }
    }
  }
  handheld.insert(handheld.end(), others.begin(), others.end());
  return handheld;
}

DeviceRootFinder::DeviceRootFinder(DeviceRootPlaces places, MountCheck is_mount_point)
    : places_(std::move(places)), is_mount_point_(std::move(is_mount_point)) {
  set_chosen(places_.chosen);
}

void DeviceRootFinder::set_chosen(std::optional<std::string> folder) {
  if (folder && folder->empty()) folder.reset();
  places_.chosen = std::move(folder);
}

bool DeviceRootFinder::CountsAsDevice(const std::filesystem::path& folder) const {
  return kv::CountsAsDevice(folder, is_mount_point_);
}

std::vector<std::filesystem::path> DeviceRootFinder::Media() const {
  return FindRemovableMedia(places_.media_parents, is_mount_point_);
}

FoundDeviceRoot DeviceRootFinder::FindIfChosen(std::optional<std::string> folder) const {
  DeviceRootFinder other(places_, is_mount_point_);
  other.set_chosen(std::move(folder));
  return other.Find();
}

FoundDeviceRoot DeviceRootFinder::Find() const {
  if (places_.chosen) {
    if (!CountsAsDevice(*places_.chosen)) return {};
    return {DeviceRootOrigin::kChosen, *places_.chosen};
  }
  if (places_.environment) return {DeviceRootOrigin::kEnvironment, *places_.environment};
  const std::vector<std::filesystem::path> media = Media();
  if (media.empty()) return {};
  return {DeviceRootOrigin::kRemovableMedium, media.front()};
}

}  // namespace kv
