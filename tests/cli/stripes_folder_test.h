#ifndef KORVALE_TESTS_CLI_STRIPES_FOLDER_TEST_H_
#define KORVALE_TESTS_CLI_STRIPES_FOLDER_TEST_H_

// A test folder with striped BMP sources and kvmap run in it: the fixture
// of the commands that start from a converted map.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "bitmap/bmp_fixture.h"
#include "kvmap_runner.h"
#include "temp_folder.h"

namespace kv::testing {

namespace fs = std::filesystem;

inline std::uint32_t Stripes(int x, int y) {
  return (x / 40) % 2 == 0 ? 0xF80000u : ((y / 30) % 2 == 0 ? 0x00FC00u : 0x0000F8u);
}

class StripesFolderTest : public ::testing::Test {
 protected:
  explicit StripesFolderTest(std::string prefix) : prefix_(std::move(prefix)) {}

  void SetUp() override {
    dir_ = kv::MakeTempFolder(prefix_);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string WriteBmp(const std::string& name, int width, int height) {
    BmpParams params;
    params.width = width;
    params.height = height;
    const std::vector<std::uint8_t> bytes = MakeBmp(params, Stripes);
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  KvmapResult Run(const std::string& arguments) { return RunKvmap(arguments, dir_); }
  nlohmann::json Info(const std::string& map) {
    KvmapResult result = Run("info --json '" + map + "'");
    EXPECT_EQ(result.exit_code, 0) << result.err;
    return nlohmann::json::parse(result.out);
  }

  std::string prefix_;
  fs::path dir_;
};

}  // namespace kv::testing

#endif  // KORVALE_TESTS_CLI_STRIPES_FOLDER_TEST_H_
