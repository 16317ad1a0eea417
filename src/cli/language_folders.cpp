#include "cli/language_folders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kv::cli {

std::vector<std::string> LanguageFolders(const char* program_path) {
  std::vector<std::string> folders;
  if (const char* dir = std::getenv("KVMAP_LANG_DIR"); dir != nullptr && *dir != '\0') {
    folders.emplace_back(dir);
  }
  std::error_code error;
  std::filesystem::path program = std::filesystem::canonical("/proc/self/exe", error);
  if (error && program_path != nullptr) program = std::filesystem::absolute(program_path, error);
  if (!error) {
    std::filesystem::path bin = program.parent_path();
    folders.push_back((bin / "lang").string());
    folders.push_back((bin.parent_path() / "share" / "korvale-map-manager" / "lang").string());
  }
  return folders;
}

}  // namespace kv::cli
