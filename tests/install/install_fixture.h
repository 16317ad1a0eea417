#ifndef KORVALE_TESTS_INSTALL_INSTALL_FIXTURE_H_
#define KORVALE_TESTS_INSTALL_INSTALL_FIXTURE_H_

// Temporary folders for the install tests: the handheld data folder, a
// home, a device root, and the temporary folder the installs write into
// (TMPDIR points there while a test runs, so a file left behind shows).

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "temp_folder.h"

namespace kv::testing {

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// Every file and folder below `folder`, relative, sorted.
inline std::vector<std::string> Tree(const std::filesystem::path& folder) {
  std::vector<std::string> entries;
  if (!std::filesystem::exists(folder)) return entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    entries.push_back(std::filesystem::relative(entry.path(), folder).string());
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

class InstallFolders : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = MakeTempFolder("kv_install_");
    ASSERT_FALSE(base_.empty());
    data = base_ / "handhelds";
    home = base_ / "home";
    device = base_ / "device";
    temp = base_ / "tmp";
    for (const auto& folder : {data, home, device, temp})
      std::filesystem::create_directories(folder);
    const char* old = getenv("TMPDIR");
    if (old != nullptr) old_tmpdir_ = old;
    setenv("TMPDIR", temp.c_str(), 1);
  }
  void TearDown() override {
    if (old_tmpdir_) {
      setenv("TMPDIR", old_tmpdir_->c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
    std::filesystem::remove_all(base_);
  }

  std::filesystem::path data;
  std::filesystem::path home;
  std::filesystem::path device;
  std::filesystem::path temp;

 private:
  std::filesystem::path base_;
  std::optional<std::string> old_tmpdir_;
};

}  // namespace kv::testing

#endif  // KORVALE_TESTS_INSTALL_INSTALL_FIXTURE_H_
