// Queueing a map for a handheld user: the targets, the replace question,
// the failures, and the temporary file, which must never stay behind.

#include "install/palm_install.h"

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

class PalmInstallTest : public InstallFolders {
 protected:
  void SetUp() override {
    InstallFolders::SetUp();
    std::filesystem::create_directories(data / "Anna");
    strings.Set(504, "The map could not be copied into the install folder.");
  }

  InstallOutcome Install(HandheldUsers& users, int user = 0) {
    MountedDevice no_device(std::nullopt);
    InstallContext context{users, no_device, ui, strings, memory};
    return InstallToPalmUser(context, user, map);
  }
  InstallOutcome Install(int user = 0) {
    HandheldUserList users(data, home);
    return Install(users, user);
  }

  std::filesystem::path Main() const { return data / "Anna" / "main"; }
  void AddCards() {
    std::filesystem::create_directories(data / "Anna" / "cards" / "1 SD Card");
    std::filesystem::create_directories(data / "Anna" / "cards" / "2 Memory Stick");
  }

  ScriptedInstallUi ui;
  StringTable strings;
  InstallMemory memory;
  int writes = 0;
  InstallableMap map{false, "Map", "Map", [this](const std::string& path, const std::string& name) {
                       ++writes;
                       WriteFile(path, "database " + name);
                     }};
};

TEST_F(PalmInstallTest, AnUnnamedMapIsNamedThenQueuedIntoMainMemory) {
  map.file_name = "A very long map file name.prc";
  ui.name = "Alps";
  ASSERT_EQ(Install(), InstallOutcome::kInstalled);
  EXPECT_EQ(ui.name_proposals, std::vector<std::string>{"A very long map fil"});
  EXPECT_EQ(map.database_name, "Alps");
  EXPECT_EQ(map.file_name, "Alps.prc");
  EXPECT_EQ(ReadFile(Main() / "Alps.prc"), "database Alps");
  EXPECT_EQ(ui.installed, std::vector<std::string>{"Alps.prc"});
  EXPECT_EQ(Tree(temp), std::vector<std::string>{});
}

TEST_F(PalmInstallTest, ANamedMapIsNotAskedForItsNameAndLongNamesAreCut) {
  map.named = true;
  map.database_name = "Saved";
  ASSERT_EQ(Install(), InstallOutcome::kInstalled);
  EXPECT_TRUE(ui.name_proposals.empty());
  EXPECT_TRUE(std::filesystem::exists(Main() / "Saved.prc"));

  InstallableMap unnamed = map;
  unnamed.named = false;
  map = unnamed;
  ui.name = "Zwanzig Zeichen lang und länger";
  ASSERT_EQ(Install(), InstallOutcome::kInstalled);
  EXPECT_EQ(map.database_name, "Zwanzig Zeichen lan");
}

TEST_F(PalmInstallTest, AUserWithoutCardsSeesOnlyTheHandheld) {
  ASSERT_EQ(Install(), InstallOutcome::kInstalled);
  EXPECT_EQ(ui.target_names, std::vector<std::string>{"HandHeld"});
}

TEST_F(PalmInstallTest, CardsFollowTheHandheldAndTheChosenNameIsPreselectedNextTime) {
  AddCards();
  map.named = true;
  ui.target = 2;
  ASSERT_EQ(Install(), InstallOutcome::kInstalled);
  EXPECT_EQ(ui.target_names, (std::vector<std::string>{"HandHeld", "SD Card", "Memory Stick"}));
  EXPECT_EQ(ui.preselected, 0u);
  EXPECT_TRUE(std::filesystem::exists(data / "Anna" / "cards" / "2 Memory Stick" / "Map.prc"));
  EXPECT_EQ(memory.target_name, "Memory Stick");
  ui.target.reset();
  ui.replace_answers = {true};
  ASSERT_EQ(Install(), InstallOutcome::kInstalled);
  EXPECT_EQ(ui.preselected, 2u);
}

TEST_F(PalmInstallTest, InstallingTwiceAsksThenRemovesAndQueuesAgain) {
  map.named = true;
  ASSERT_EQ(Install(), InstallOutcome::kInstalled);
  map.write = [](const std::string& path, const std::string&) { WriteFile(path, "second"); };
  HandheldUserList real(data, home);
  FaultyUsers users(real, UserStep::kNone, 0);
  ASSERT_EQ(Install(users), InstallOutcome::kInstalled);
  EXPECT_EQ(ui.replace_questions, std::vector<std::string>{"Map"});
  EXPECT_EQ(users.removed, std::vector<std::string>{"Map.prc"});
  EXPECT_EQ(ReadFile(Main() / "Map.prc"), "second");
  EXPECT_EQ(Tree(temp), std::vector<std::string>{});
}

TEST_F(PalmInstallTest, KeepingTheQueuedMapEndsWithoutMessageOrTemporaryFile) {
  map.named = true;
  ASSERT_EQ(Install(), InstallOutcome::kInstalled);
  map.write = [](const std::string& path, const std::string&) { WriteFile(path, "second"); };
  ui.replace_answers = {false};
  ASSERT_EQ(Install(), InstallOutcome::kCancelled);
  EXPECT_EQ(ReadFile(Main() / "Map.prc"), "database Map");
  EXPECT_EQ(ui.installed.size(), 1u);
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_EQ(Tree(temp), std::vector<std::string>{});
}

TEST_F(PalmInstallTest, CancellingTheNameOrTheTargetWritesNothing) {
  ui.name.reset();
  EXPECT_EQ(Install(), InstallOutcome::kCancelled);
  EXPECT_FALSE(map.named);
  ui.name = "Alps";
  ui.cancel_target = true;
  EXPECT_EQ(Install(), InstallOutcome::kCancelled);
  EXPECT_EQ(writes, 0);
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_EQ(Tree(temp), std::vector<std::string>{});
  EXPECT_EQ(Tree(Main()), std::vector<std::string>{});
}

struct Fault {
  UserStep step;
  std::size_t target;  // 0 main memory, 1 the card
  bool already_queued;
  bool shown;  // the failure reaches the user
};

void PrintTo(const Fault& fault, std::ostream* out) {
  *out << "step " << static_cast<int>(fault.step) << ", target " << fault.target;
}

class PalmFaultTest : public PalmInstallTest, public ::testing::WithParamInterface<Fault> {};

TEST_P(PalmFaultTest, EachFailingStepIsShownOnceAndLeavesNoTemporaryFile) {
  const Fault fault = GetParam();
  AddCards();
  map.named = true;
  if (fault.already_queued) {
    WriteFile(Main() / "Map.prc", "queued");
    WriteFile(data / "Anna" / "cards" / "1 SD Card" / "Map.prc", "queued");
  }
  // User and card steps fail with a listed code, the queue with one the
  // language does not know.
  HandheldUserList real(data, home);
  const int code = fault.step == UserStep::kQueue ? -4711 : kInstallCopyFailed;
  FaultyUsers users(real, fault.step, code);
  ui.target = fault.target;
  if (fault.shown) {
    EXPECT_THROW(Install(users), ErrAlreadyReported);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0], fault.step == UserStep::kQueue
                                ? "1002: unknown error"
                                : "1002: The map could not be copied into the install folder.");
  } else {
    EXPECT_EQ(Install(users), InstallOutcome::kInstalled);
    EXPECT_TRUE(ui.errors.empty());
  }
  EXPECT_EQ(Tree(temp), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Steps, PalmFaultTest,
                         ::testing::Values(Fault{UserStep::kQueue, 0, false, true},
                                           Fault{UserStep::kRemove, 0, true, true},
                                           Fault{UserStep::kQueueOnCard, 1, false, true},
                                           // The card needs the user's identifier once more.
                                           Fault{UserStep::kUserId, 0, false, false},
                                           // Without the cards the handheld is the only target.
                                           Fault{UserStep::kCardCount, 0, false, false},
                                           Fault{UserStep::kCardIds, 0, false, false}));

TEST_F(PalmInstallTest, WithoutItsIdentifierTheUserKeepsThePreviousTargets) {
  AddCards();
  map.named = true;
  ASSERT_EQ(Install(), InstallOutcome::kInstalled);
  HandheldUserList real(data, home);
  FaultyUsers users(real, UserStep::kUserId, -550);
  ui.target = 1;
  // The card cannot be reached without the identifier: shown once.
  EXPECT_THROW(Install(users), ErrAlreadyReported);
  EXPECT_EQ(ui.target_names, (std::vector<std::string>{"HandHeld", "SD Card", "Memory Stick"}));
  EXPECT_EQ(ui.errors, std::vector<std::string>{"1002: unknown error"});
  EXPECT_EQ(Tree(temp), std::vector<std::string>{});
}

TEST_F(PalmInstallTest, AMapThatCannotBeWrittenLeavesNoTemporaryFile) {
  map.write = [](const std::string& path, const std::string&) {
    WriteFile(path, "half");
    throw ErrFileWrite(path.c_str());
  };
  EXPECT_THROW(Install(), ErrFileWrite);
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_EQ(Tree(temp), std::vector<std::string>{});
  EXPECT_EQ(Tree(Main()), std::vector<std::string>{});
}

TEST_F(PalmInstallTest, ATemporaryFileThatCannotBeMadeIsAFileCreateErrorNamingIt) {
  setenv("TMPDIR", (temp / "missing").c_str(), 1);
  try {
    Install();
    FAIL() << "no error";
  } catch (const ErrFileCreate& error) {
    EXPECT_NE(std::string(error.what()).find("missing"), std::string::npos) << error.what();
  }
  EXPECT_EQ(writes, 0);
}

TEST(PreselectedTargetTest, TheFirstNameBeginningWithTheRememberedOne) {
  const std::vector<InstallTarget> targets = {
      {"HandHeld", kMainMemoryCard}, {"SD Card", 1}, {"SD Card 2", 2}};
  EXPECT_EQ(PreselectedTarget(targets, ""), 0u);
  EXPECT_EQ(PreselectedTarget(targets, "SD"), 1u);
  EXPECT_EQ(PreselectedTarget(targets, "SD Card 2"), 2u);
  EXPECT_EQ(PreselectedTarget(targets, "CF"), 0u);
}

}  // namespace
}  // namespace kv::testing
