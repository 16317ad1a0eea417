// The document's install commands: the map the handheld receives is the
// map Save writes, the name asked for becomes the document's, and failures
// are reported with the install context.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <functional>

#include "base/message_tables.h"
#include "document/command_ids.h"
#include "document/document.h"
#include "document_fixture.h"
#include "install/handheld_user_list.h"
#include "install/install_back_ends.h"
#include "install/install_fixture.h"
#include "install/mounted_device.h"
#include "install/scripted_install_ui.h"
#include "map/map_file.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

class DocumentInstallTest : public testing::DocumentTest {
 protected:
  void SetUp() override {
    DocumentTest::SetUp();
    root_ = fs::path(Folder()) / "install";
    fs::create_directories(root_ / "handhelds" / "Anna");
    fs::create_directories(root_ / "device");
    fs::create_directories(root_ / "tmp");
    const char* old = getenv("TMPDIR");
    if (old != nullptr) old_tmpdir_ = old;
    setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
    users_ = std::make_unique<HandheldUserList>(root_ / "handhelds", "");
    device_ = std::make_unique<MountedDevice>(root_ / "device");
    context_ = std::make_unique<InstallContext>(
        InstallContext{*users_, *device_, install_ui_, strings_, memory_});
  }
  void TearDown() override {
    if (old_tmpdir_) {
      setenv("TMPDIR", old_tmpdir_->c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
  }

  std::unique_ptr<CDocument> Imported() {
    const std::string bmp = WriteBmp("area.bmp", 400, 300);
    auto document = std::make_unique<CDocument>(app_, ui_, true);
    EXPECT_EQ(document->ImportSourceImage(bmp, true, true), 0);
    document->SetInstaller(context_.get(), HandheldUserNames(*users_));
    return document;
  }
  int Command(CDocument& document, int command, bool* handled) {
    return document.HandleCommand(command, handled);
  }
  bool TemporaryFolderEmpty() const { return fs::is_empty(root_ / "tmp"); }

  fs::path root_;
  std::optional<std::string> old_tmpdir_;
  testing::ScriptedInstallUi install_ui_;
  StringTable strings_;
  InstallMemory memory_;
  std::unique_ptr<HandheldUserList> users_;
  std::unique_ptr<MountedDevice> device_;
  std::unique_ptr<InstallContext> context_;
};

TEST_F(DocumentInstallTest, TheUserCommandQueuesTheMapSaveWouldWriteUnderTheNameAskedFor) {
  auto document = Imported();
  install_ui_.name = "Alps";
  bool handled = false;
  ASSERT_EQ(Command(*document, kCmdFirstInstallUser, &handled), 0);
  EXPECT_TRUE(handled);
  EXPECT_EQ(install_ui_.name_proposals, std::vector<std::string>{"Untitled"});
  const fs::path queued = root_ / "handhelds" / "Anna" / "main" / "Alps.prc";
  ASSERT_TRUE(fs::exists(queued));
  CImageContainer container("Queued", nullptr);
  ConversionSettings settings;
  LoadMapFile(queued.string(), container, settings,
              [](std::string_view text, bool) { return std::string(text); });
  EXPECT_EQ(container.image_count(), document->container().image_count());
  EXPECT_EQ(testing::ReadFile(queued).substr(0, 5), std::string("Alps\0", 5));
  EXPECT_EQ(document->file_name(), "Alps.prc");
  EXPECT_EQ(ui_.title, "Korvale - Alps.prc");
  EXPECT_FALSE(document->saved());
  EXPECT_TRUE(TemporaryFolderEmpty());

  // Named now: the copy to the device does not ask again.
  ASSERT_EQ(Command(*document, kCmdCopyToPocketPc, &handled), 0);
  EXPECT_EQ(install_ui_.name_proposals.size(), 1u);
  EXPECT_TRUE(fs::exists(root_ / "device" / "My Documents" / "Korvale" / "Alps.prc"));
  EXPECT_TRUE(ui_.failures.empty());
}

TEST_F(DocumentInstallTest, AnImageOpenedUnconvertedIsConvertedBeforeItIsQueued) {
  const std::string bmp = WriteBmp("area.bmp", 400, 300);
  auto document = CDocument::FromFile(app_, ui_, bmp, true);
  ASSERT_TRUE(document->container().HasUnconvertedImages());
  document->SetInstaller(context_.get(), HandheldUserNames(*users_));
  install_ui_.name = "Area";
  bool handled = false;
  ASSERT_EQ(Command(*document, kCmdFirstInstallUser, &handled), 0);
  EXPECT_TRUE(ui_.failures.empty());
  EXPECT_FALSE(document->container().HasUnconvertedImages());
  const fs::path queued = root_ / "handhelds" / "Anna" / "main" / "Area.prc";
  ASSERT_TRUE(fs::exists(queued));
  CImageContainer container("Queued", nullptr);
  ConversionSettings settings;
  LoadMapFile(queued.string(), container, settings,
              [](std::string_view text, bool) { return std::string(text); });
  EXPECT_EQ(container.image_count(), document->container().image_count());
  EXPECT_GT(container.image_count(), 1u);
  EXPECT_TRUE(TemporaryFolderEmpty());
}

TEST_F(DocumentInstallTest, AMenuItemInstallsForItsUserWhenOthersCameSinceTheMenuWasBuilt) {
  fs::create_directories(root_ / "handhelds" / "Zoe");
  auto document = Imported();
  fs::create_directories(root_ / "handhelds" / "Abel");
  bool handled = false;
  ASSERT_EQ(Command(*document, kCmdFirstInstallUser + 1, &handled), 0);
  EXPECT_TRUE(fs::exists(root_ / "handhelds" / "Zoe" / "main" / "Alps.prc"));
  EXPECT_FALSE(fs::exists(root_ / "handhelds" / "Anna" / "main"));

  // A user gone since: the queue says so.
  fs::remove_all(root_ / "handhelds" / "Zoe");
  EXPECT_EQ(Command(*document, kCmdFirstInstallUser + 1, &handled), -1);
  EXPECT_EQ(install_ui_.errors, std::vector<std::string>{"1002: unknown error"});
}

TEST_F(DocumentInstallTest, OnlyTheMenusUsersAreInstallCommands) {
  auto document = Imported();
  bool handled = true;
  Command(*document, kCmdFirstInstallUser + 1, &handled);
  EXPECT_FALSE(handled);
  document->SetInstaller(nullptr, {});
  Command(*document, kCmdFirstInstallUser, &handled);
  EXPECT_FALSE(handled);
  Command(*document, kCmdCopyToPocketPc, &handled);
  EXPECT_FALSE(handled);
}

// An empty map once failed with "disk may be full" and took the name
// "Map.prc"; Save and Save As wrote a map without images.
TEST_F(DocumentInstallTest, AnEmptyMapIsNeitherSavedNorInstalled) {
  CDocument document(app_, ui_, true);
  document.SetInstaller(context_.get(), HandheldUserNames(*users_));
  const std::string title = ui_.title;
  const std::function<int()> commands[] = {
      [&]() {
        bool handled = false;
        return Command(document, kCmdFirstInstallUser, &handled);
      },
      [&]() {
        bool handled = false;
        return Command(document, kCmdCopyToPocketPc, &handled);
      },
      [&]() { return document.Save(); },
      [&]() { return document.SaveAs(dir_.File("Map.prc")); },
      [&]() { return document.ReadyToSave() ? 0 : -1; },
  };
  for (const std::function<int()>& command : commands) {
    ui_.messages.clear();
    EXPECT_EQ(command(), -1);
    EXPECT_EQ(ui_.messages, std::vector<std::string>{"Empty map"});
  }
  EXPECT_TRUE(ui_.failures.empty());
  EXPECT_TRUE(install_ui_.name_proposals.empty());
  EXPECT_EQ(ui_.title, title);
  EXPECT_EQ(document.file_name(), "Untitled");
  EXPECT_TRUE(fs::is_empty(root_ / "handhelds" / "Anna"));
}

TEST_F(DocumentInstallTest, FailuresAreReportedWithTheInstallContext) {
  auto document = Imported();
  setenv("TMPDIR", (root_ / "no such folder").c_str(), 1);
  bool handled = false;
  EXPECT_EQ(Command(*document, kCmdFirstInstallUser, &handled), -1);
  ASSERT_EQ(ui_.failures.size(), 1u);
  EXPECT_EQ(ui_.failures[0].context, kContextInstall);
  EXPECT_EQ(ui_.failures[0].failure.code, kErrFileCreate);
  EXPECT_NE(ui_.failures[0].failure.file_name.find("no such folder"), std::string::npos);

  // A failure the install showed itself travels as already reported.
  setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
  fs::remove_all(root_ / "device");
  EXPECT_EQ(Command(*document, kCmdCopyToPocketPc, &handled), -1);
  ASSERT_EQ(ui_.failures.size(), 2u);
  EXPECT_EQ(ui_.failures[1].failure.code, kErrAlreadyReported);
  EXPECT_EQ(install_ui_.failure_codes,
            (std::vector<ErrorCode>{kErrHandheldLink, kErrHandheldLink}));
  EXPECT_TRUE(TemporaryFolderEmpty());
}

}  // namespace
}  // namespace kv
