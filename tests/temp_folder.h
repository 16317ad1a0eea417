#ifndef KORVALE_TESTS_TEMP_FOLDER_H_
#define KORVALE_TESTS_TEMP_FOLDER_H_

// A new, empty folder of its own for a test. Names built from the test's
// name alone collide when two builds run their tests at the same time.

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace kv {

inline std::filesystem::path MakeTempFolder(const std::string& prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) return {};
  return pattern;
}

}  // namespace kv

#endif  // KORVALE_TESTS_TEMP_FOLDER_H_
