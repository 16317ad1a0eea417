// The mounted device: its folder list and the copy, on real folders.

#include "install/mounted_device.h"

#include <gtest/gtest.h>

#include "install/device_folder_path.h"
#include "install/install_results.h"
#include "install_fixture.h"

namespace kv::testing {
namespace {

class MountedDeviceTest : public InstallFolders {
 protected:
  std::string Local(const std::string& name, const std::string& bytes) {
    const std::filesystem::path path = temp / "local" / name;
    WriteFile(path, bytes);
    return path.string();
  }
};

TEST_F(MountedDeviceTest, WithoutARootOrWithAnUnmountedOneTheLinkFails) {
  std::vector<std::string> folders;
  EXPECT_EQ(MountedDevice(std::nullopt).ListFolders(&folders), kDeviceNotConnected);
  EXPECT_EQ(MountedDevice(device / "gone").ListFolders(&folders), kDeviceNotConnected);
  WriteFile(temp / "file", "x");
  EXPECT_EQ(MountedDevice(temp / "file").ListFolders(&folders), kDeviceNotConnected);
  EXPECT_EQ(MountedDevice(std::nullopt).Copy(Local("a.prc", "a"), "\\x", CopyMode::kCreate, {}),
            kDeviceNotConnected);
}

TEST_F(MountedDeviceTest, FoldersAreListedTwoLevelsDeepInTheDevicesForm) {
  std::filesystem::create_directories(device / "Storage Card" / "Maps" / "Deep");
  std::filesystem::create_directories(device / "My Documents" / "Korvale");
  std::filesystem::create_directories(device / ".Trash");
  WriteFile(device / "readme.txt", "x");
  std::vector<std::string> folders;
  ASSERT_EQ(MountedDevice(device).ListFolders(&folders), kInstallOk);
  EXPECT_EQ(folders, (std::vector<std::string>{"\\My Documents", "\\My Documents\\Korvale",
                                               "\\Storage Card", "\\Storage Card\\Maps"}));
}

TEST_F(MountedDeviceTest, CopyCreatesTheFolderAndReportsEveryPiece) {
  const std::string bytes(kCopyChunkSize * 2 + 10, 'm');
  std::vector<std::pair<std::int64_t, std::int64_t>> reports;
  MountedDevice link(device);
  ASSERT_EQ(link.Copy(Local("Alps.prc", bytes), "\\My Documents\\Korvale", CopyMode::kCreate,
                      [&](std::int64_t done, std::int64_t total) {
                        reports.emplace_back(done, total);
                        return 0;
                      }),
            kInstallOk);
  EXPECT_EQ(ReadFile(device / "My Documents" / "Korvale" / "Alps.prc"), bytes);
  const auto total = static_cast<std::int64_t>(bytes.size());
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(reports.front(), std::make_pair(std::int64_t(kCopyChunkSize), total));
  EXPECT_EQ(reports.back(), std::make_pair(total, total));
}

TEST_F(MountedDeviceTest, CreateModeFindsTheFileAndOverwriteModeReplacesIt) {
  MountedDevice link(device);
  ASSERT_EQ(link.Copy(Local("Alps.prc", "old"), "\\Maps", CopyMode::kCreate, {}), kInstallOk);
  const int exists = link.Copy(Local("Alps.prc", "new"), "\\Maps", CopyMode::kCreate, {});
  EXPECT_TRUE(MeansFileExists(exists));
  EXPECT_EQ(ReadFile(device / "Maps" / "Alps.prc"), "old");
  ASSERT_EQ(link.Copy(Local("Alps.prc", "new"), "\\Maps", CopyMode::kOverwrite, {}), kInstallOk);
  EXPECT_EQ(ReadFile(device / "Maps" / "Alps.prc"), "new");
  EXPECT_EQ(Tree(device / "Maps"), std::vector<std::string>{"Alps.prc"});
}

TEST_F(MountedDeviceTest, ACancelledOverwriteKeepsTheOldFileAndLeavesNothingElse) {
  MountedDevice link(device);
  ASSERT_EQ(link.Copy(Local("Alps.prc", "old"), "\\Maps", CopyMode::kCreate, {}), kInstallOk);
  const std::string bytes(kCopyChunkSize * 3, 'n');
  EXPECT_EQ(link.Copy(Local("Alps.prc", bytes), "\\Maps", CopyMode::kOverwrite,
                      [](std::int64_t, std::int64_t) { return -1; }),
            kDeviceCopyCancelled);
  EXPECT_EQ(ReadFile(device / "Maps" / "Alps.prc"), "old");
  EXPECT_EQ(Tree(device / "Maps"), std::vector<std::string>{"Alps.prc"});
}

TEST_F(MountedDeviceTest, FoldersThatLeaveTheRootAreRefused) {
  MountedDevice link(device);
  EXPECT_EQ(link.Copy(Local("a.prc", "a"), "\\..\\outside", CopyMode::kCreate, {}),
            kDeviceBadFolder);
  EXPECT_EQ(link.Copy(Local("a.prc", "a"), "..", CopyMode::kCreate, {}), kDeviceBadFolder);
  EXPECT_FALSE(std::filesystem::exists(device.parent_path() / "outside"));
}

TEST(DeviceFolderPathTest, TheDevicesFormMapsBelowTheRoot) {
  EXPECT_EQ(DeviceFolderPath("/media/d", "\\My Documents\\Korvale"),
            std::filesystem::path("/media/d/My Documents/Korvale"));
  EXPECT_EQ(DeviceFolderPath("/media/d", "Maps//Alps\\"),
            std::filesystem::path("/media/d/Maps/Alps"));
  EXPECT_EQ(DeviceFolderPath("/media/d", "\\"), std::filesystem::path("/media/d"));
  EXPECT_EQ(DeviceFolderPath("/media/d", "\\a\\.\\b"), std::nullopt);
  EXPECT_EQ(DeviceFolderPath("/media/d", std::string_view("a\0b", 3)), std::nullopt);
}

TEST(FileExistsResultTest, BitsFourToSevenDoNotMatter) {
  EXPECT_TRUE(MeansFileExists(0x7000002));
  EXPECT_TRUE(MeansFileExists(0x70000f2));
  EXPECT_TRUE(MeansFileExists(0x7000012));
  EXPECT_FALSE(MeansFileExists(0x7000003));
  EXPECT_FALSE(MeansFileExists(0x7000102));
  EXPECT_FALSE(MeansFileExists(0));
  EXPECT_FALSE(MeansFileExists(kDeviceCopyCancelled));
}

}  // namespace
}  // namespace kv::testing
