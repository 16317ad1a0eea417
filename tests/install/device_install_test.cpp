// Copying a map to a device folder: the folder choice, the replace
// question, the failures and their codes, and the temporary file.

#include "install/device_install.h"

#include <gtest/gtest.h>

#include "base/exceptions.h"
#include "base/message_tables.h"
#include "faulty_back_ends.h"
#include "install/handheld_user_list.h"
#include "install/install_results.h"
#include "install/mounted_device.h"
#include "install_fixture.h"
#include "scripted_install_ui.h"

namespace kv::testing {
namespace {

const std::vector<std::string> kDefaults = {"\\My Documents\\Korvale", "\\Storage Card\\Korvale",
                                            "\\My Flash Disk\\Korvale"};

class DeviceInstallTest : public InstallFolders {
 protected:
  InstallOutcome Copy(DeviceLink& link) {
    HandheldUserList users(data, home);
    InstallContext context{users, link, ui, strings, memory};
    return CopyToDevice(context, map);
  }
  InstallOutcome Copy() {
    MountedDevice link(device);
    return Copy(link);
  }

  ScriptedInstallUi ui;
  StringTable strings;
  InstallMemory memory;
  InstallableMap map{true, "Alps", "Alps.prc", [](const std::string& path, const std::string&) {
                       WriteFile(path, std::string(3 * kCopyChunkSize, 'a'));
                     }};
};

TEST_F(DeviceInstallTest, WithoutDeviceFoldersTheDefaultsAreOfferedInOrder) {
  ASSERT_EQ(Copy(), InstallOutcome::kInstalled);
  EXPECT_EQ(ui.offered_folders, kDefaults);
  EXPECT_EQ(memory.last_device_folder, "\\My Documents\\Korvale");
  EXPECT_TRUE(std::filesystem::exists(device / "My Documents" / "Korvale" / "Alps.prc"));
  EXPECT_EQ(ui.installed, std::vector<std::string>{"Alps.prc"});
  EXPECT_EQ(Tree(temp), std::vector<std::string>{});
}

TEST_F(DeviceInstallTest, TheLastFolderComesFirstThenTheDevicesWithoutRepeats) {
  memory.last_device_folder = "\\Storage Card\\Maps";
  MountedDevice real(device);
  FaultyDevice link(real);
  link.listed = std::vector<std::string>{"\\Storage Card", "\\storage card\\maps", "\\Temp",
                                         "\\My Documents\\Korvale"};
  ASSERT_EQ(Copy(link), InstallOutcome::kInstalled);
  // "\Storage Card" begins the last folder; "\storage card\maps" is the
  // last folder in other letters.
  EXPECT_EQ(ui.offered_folders,
            (std::vector<std::string>{"\\Storage Card\\Maps", "\\Temp", "\\My Documents\\Korvale",
                                      "\\Storage Card\\Korvale", "\\My Flash Disk\\Korvale"}));
}

struct ListingFault {
  int result;
  std::vector<ErrorCode> reported;
};

void PrintTo(const ListingFault& fault, std::ostream* out) { *out << "listing " << fault.result; }

class ListingFaultTest : public DeviceInstallTest,
                         public ::testing::WithParamInterface<ListingFault> {};

TEST_P(ListingFaultTest, AFailedListingIsReportedButTheDefaultsAreStillOffered) {
  MountedDevice real(device);
  FaultyDevice link(real);
  link.list_result = GetParam().result;
  ui.cancel_folder = true;
  EXPECT_EQ(Copy(link), InstallOutcome::kCancelled);
  EXPECT_EQ(ui.offered_folders, kDefaults);
  EXPECT_EQ(ui.failure_codes, GetParam().reported);
  EXPECT_EQ(ui.failure_files, std::vector<std::string>(GetParam().reported.size()));
}

INSTANTIATE_TEST_SUITE_P(Codes, ListingFaultTest,
                         ::testing::Values(ListingFault{kDeviceCopyCancelled, {}},
                                           ListingFault{kDeviceNotConnected, {kErrHandheldLink}},
                                           ListingFault{kDeviceListFailed, {kErrHandheldFolders}},
                                           ListingFault{-30, {kErrHandheldFolders}}));

TEST_F(DeviceInstallTest, AnExistingFileIsReplacedAfterAsking) {
  WriteFile(device / "Maps" / "Alps.prc", "old");
  ui.folder = "\\Maps";
  MountedDevice real(device);
  FaultyDevice link(real);
  ASSERT_EQ(Copy(link), InstallOutcome::kInstalled);
  EXPECT_EQ(ui.replace_questions, std::vector<std::string>{"Alps.prc"});
  EXPECT_EQ(link.modes, (std::vector<CopyMode>{CopyMode::kCreate, CopyMode::kOverwrite}));
  EXPECT_EQ(ReadFile(device / "Maps" / "Alps.prc").size(), 3 * kCopyChunkSize);
  EXPECT_EQ(Tree(temp), std::vector<std::string>{});
}

TEST_F(DeviceInstallTest, KeepingTheFileOnTheDeviceEndsQuietly) {
  WriteFile(device / "Maps" / "Alps.prc", "old");
  ui.folder = "\\Maps";
  ui.replace_answers = {false};
  ASSERT_EQ(Copy(), InstallOutcome::kCancelled);
  EXPECT_EQ(ReadFile(device / "Maps" / "Alps.prc"), "old");
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_TRUE(ui.installed.empty());
  EXPECT_EQ(Tree(temp), std::vector<std::string>{});
}

TEST_F(DeviceInstallTest, TheUserStoppingTheCopyShowsNothingAndLeavesNothing) {
  ui.on_progress = [](std::int64_t done, std::int64_t) { return done > 0 ? -1 : 0; };
  EXPECT_THROW(Copy(), ErrAlreadyReported);
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_EQ(Tree(device / "My Documents" / "Korvale"), std::vector<std::string>{});
  EXPECT_EQ(Tree(temp), std::vector<std::string>{});
}

struct CopyFault {
  int result;
  ErrorCode reported;
};

void PrintTo(const CopyFault& fault, std::ostream* out) { *out << "copy " << fault.result; }

class CopyFaultTest : public DeviceInstallTest, public ::testing::WithParamInterface<CopyFault> {};

TEST_P(CopyFaultTest, AFailedCopyIsReportedWithTheDatabaseName) {
  MountedDevice real(device);
  FaultyDevice link(real);
  link.copy_result = GetParam().result;
  EXPECT_THROW(Copy(link), ErrAlreadyReported);
  EXPECT_EQ(ui.failure_codes, std::vector<ErrorCode>{GetParam().reported});
  EXPECT_EQ(ui.failure_files, std::vector<std::string>{"Alps"});
  EXPECT_EQ(ui.errors, std::vector<std::string>{"2082: code"});
  EXPECT_EQ(Tree(temp), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Codes, CopyFaultTest,
                         ::testing::Values(CopyFault{kDeviceNotConnected, kErrHandheldLink},
                                           CopyFault{kDeviceListFailed, kErrHandheldFolders},
                                           CopyFault{kDeviceCopyFailed, kErrHandheldCopy},
                                           CopyFault{-1234, kErrHandheldCopy}));

TEST_F(DeviceInstallTest, CancellingTheNameOrTheFolderWritesNothing) {
  map.named = false;
  ui.name.reset();
  EXPECT_EQ(Copy(), InstallOutcome::kCancelled);
  EXPECT_TRUE(ui.offered_folders.empty());
  ui.name = "Alps";
  ui.cancel_folder = true;
  EXPECT_EQ(Copy(), InstallOutcome::kCancelled);
  EXPECT_TRUE(ui.copied_paths.empty());
  EXPECT_EQ(Tree(temp), std::vector<std::string>{});
  EXPECT_EQ(Tree(device), std::vector<std::string>{});
}

TEST_F(DeviceInstallTest, AMapThatCannotBeWrittenLeavesNoTemporaryFile) {
  map.write = [](const std::string& path, const std::string&) { throw ErrFileWrite(path.c_str()); };
  EXPECT_THROW(Copy(), ErrFileWrite);
  EXPECT_TRUE(ui.copied_paths.empty());
  EXPECT_EQ(Tree(temp), std::vector<std::string>{});
}

}  // namespace
}  // namespace kv::testing
