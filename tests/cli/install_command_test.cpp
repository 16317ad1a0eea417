// kvmap install: the users, queueing for a user or a card, copying to a
// device, and refusing to replace a map without --replace, always without a
// temporary file left behind.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "bitmap/bmp_fixture.h"
#include "kvmap_runner.h"
#include "temp_folder.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

class InstallCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = kv::MakeTempFolder("kv_install_command_");
    ASSERT_FALSE(dir_.empty());
    for (const char* folder : {"home", "data/Anna/cards/1 SD Card", "device", "tmp"}) {
      fs::create_directories(dir_ / folder);
    }
    testing::BmpParams params;
    params.width = 200;
    params.height = 150;
    const std::vector<std::uint8_t> bmp =
        testing::MakeBmp(params, [](int x, int y) -> std::uint32_t { return (x ^ y) & 0xff; });
    std::ofstream(dir_ / "alps.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
    ASSERT_EQ(Run("convert {alps.bmp} -o {Alps.prc} --no-calibration").exit_code, 0);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs kvmap with its own home, data folder and temporary folder; `{name}`
  // stands for a file in the test's folder.
  testing::KvmapResult Run(std::string arguments) {
    for (std::size_t at; (at = arguments.find('{')) != std::string::npos;) {
      const std::size_t end = arguments.find('}', at);
      const std::string name = arguments.substr(at + 1, end - at - 1);
      arguments.replace(at, end - at + 1, "'" + (dir_ / name).string() + "'");
    }
    const std::string setup = "HOME='" + (dir_ / "home").string() + "' XDG_DATA_HOME='" +
                              (dir_ / "xdg").string() + "' TMPDIR='" + (dir_ / "tmp").string() +
                              "' KORVALE_DEVICE_ROOT= SOURCE_DATE_EPOCH=1000000000 ";
    return testing::RunKvmap(arguments, dir_, setup);
  }
  std::string ReadFile(const std::string& name) { return testing::ReadWholeFile(dir_ / name); }
  // The same map as the one given (written at the same fixed time).
  bool IsTheMap(const fs::path& path) {
    return testing::ReadWholeFile(path) == testing::ReadWholeFile(dir_ / "Alps.prc");
  }
  bool NoTemporaryFile() { return fs::is_empty(dir_ / "tmp"); }

  fs::path dir_;
};

TEST_F(InstallCommandTest, UsersListsEveryUserWithItsTargets) {
  fs::create_directories(dir_ / "home" / ".jpilot");
  const testing::KvmapResult result = Run("install users --root {data}");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, "Anna\n  HandHeld\n  SD Card\nJ-Pilot\n  HandHeld\n");
}

TEST_F(InstallCommandTest, UsersDefaultsToTheXdgDataFolder) {
  fs::create_directories(dir_ / "xdg" / "korvale-map-manager" / "handhelds" / "Bob");
  const testing::KvmapResult result = Run("install users");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, "Bob\n  HandHeld\n");
}

TEST_F(InstallCommandTest, PalmQueuesTheMapAndRefusesASecondTimeWithoutReplace) {
  testing::KvmapResult result = Run("install palm {Alps.prc} --user Anna --root {data}");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const std::string queued = "data/Anna/main/Alps.prc";
  EXPECT_TRUE(IsTheMap(dir_ / queued));
  EXPECT_NE(result.out.find("queued for Anna, HandHeld"), std::string::npos) << result.out;

  std::ofstream(dir_ / queued) << "older";
  result = Run("install palm {Alps.prc} --user Anna --root {data}");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("Alps.prc is already queued for Anna, HandHeld"), std::string::npos)
      << result.err;
  EXPECT_EQ(ReadFile(queued), "older");
  EXPECT_TRUE(NoTemporaryFile());

  result = Run("install palm {Alps.prc} --user Anna --root {data} --replace");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_TRUE(IsTheMap(dir_ / queued));
  EXPECT_TRUE(NoTemporaryFile());
}

TEST_F(InstallCommandTest, PalmQueuesOnACardByName) {
  testing::KvmapResult result =
      Run("install palm {Alps.prc} --user Anna --card 'SD Card' --root {data}");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_TRUE(fs::exists(dir_ / "data/Anna/cards/1 SD Card/Alps.prc"));
  result = Run("install palm {Alps.prc} --user Anna --card CF --root {data}");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("no card named \"CF\" (it has: HandHeld, SD Card)"), std::string::npos)
      << result.err;
  EXPECT_TRUE(NoTemporaryFile());
}

TEST_F(InstallCommandTest, PalmRefusesUnknownUsersAndMissingMaps) {
  testing::KvmapResult result = Run("install palm {Alps.prc} --user Zoe --root {data}");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("no handheld user named \"Zoe\""), std::string::npos) << result.err;
  result = Run("install palm {Missing.prc} --user Anna --root {data}");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("Missing.prc"), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(dir_ / "data/Anna/main"));
  EXPECT_EQ(Run("install palm {Alps.prc} --root {data}").exit_code, 2);
}

TEST_F(InstallCommandTest, JPilotGetsAKeptCopyAndAnInstallListLine) {
  fs::create_directories(dir_ / "home" / ".jpilot");
  const testing::KvmapResult result = Run("install palm {Alps.prc} --user J-Pilot --root {data}");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const fs::path kept = dir_ / "home/.jpilot/korvale-maps/Alps.prc";
  EXPECT_EQ(ReadFile("home/.jpilot/jpilot_to_install"), kept.string() + "\n");
  EXPECT_TRUE(IsTheMap(kept));
}

TEST_F(InstallCommandTest, DeviceCopiesIntoTheFolderInTheDevicesForm) {
  testing::KvmapResult result = Run("install device {Alps.prc} --root {device}");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_TRUE(IsTheMap(dir_ / "device/My Documents/Korvale/Alps.prc"));

  result = Run("install device {Alps.prc} --folder '\\Storage Card\\Maps' --root {device}");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_TRUE(fs::exists(dir_ / "device/Storage Card/Maps/Alps.prc"));

  result = Run("install device {Alps.prc} --root {device}");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("Alps.prc already exists in \\My Documents\\Korvale"),
            std::string::npos)
      << result.err;
  EXPECT_TRUE(NoTemporaryFile());
  result = Run("install device {Alps.prc} --root {device} --replace");
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_TRUE(NoTemporaryFile());
}

TEST_F(InstallCommandTest, DeviceWithoutARootIsALinkFailure) {
  const testing::KvmapResult result = Run("install device {Alps.prc}");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("error 0x2000000f"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("Alps.prc was not copied: no device root"), std::string::npos)
      << result.err;
  EXPECT_TRUE(NoTemporaryFile());
}

}  // namespace
}  // namespace kv
