#include "install/device_folder_path.h"

namespace kv {

std::optional<std::filesystem::path> DeviceFolderPath(const std::filesystem::path& root,
                                                      std::string_view device_folder) {
  std::filesystem::path folder = root;
  std::size_t start = 0;
  while (start <= device_folder.size()) {
    std::size_t end = device_folder.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = device_folder.size();
    const std::string_view part = device_folder.substr(start, end - start);
    if (part == "." || part == ".." || part.find('\0') != std::string_view::npos) {
      return std::nullopt;
    }
    if (!part.empty()) folder /= std::string(part);
    start = end + 1;
  }
  return folder;
}

}  // namespace kv
