#ifndef KORVALE_TESTS_TEMP_FOLDER_H_
#define KORVALE_TESTS_TEMP_FOLDER_H_

// A new, empty folder of its own for a test under the system's temporary
// folder. Names built from the test's name alone collide when two builds
// run their tests at the same time, so mkdtemp picks the name.

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// The folder, which the caller removes; empty when none could be made.
inline std::filesystem::path MakeTempFolder(const std::string& prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) return {};
  return pattern;
}

// A folder made as MakeTempFolder makes it, removed with everything in it
// when the object goes.
class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix = "kv-test-") : path_(MakeTempFolder(prefix)) {}
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  bool ok() const { return !path_.empty(); }
  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

  // Writes `name` in the folder and returns its path.
  std::string Write(const std::string& name, std::string_view text) const {
    const std::string file = File(name);
    std::ofstream out(file, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return file;
  }
  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    return Write(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }

  std::vector<std::uint8_t> Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path path_;
};

}  // namespace kv

#endif  // KORVALE_TESTS_TEMP_FOLDER_H_
