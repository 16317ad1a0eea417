// The sync folder users and J-Pilot, on real folders.

#include <gtest/gtest.h>

#include "install/card_folder_name.h"
#include "install/handheld_user_list.h"
#include "install/install_list.h"
#include "install/install_results.h"
#include "install_fixture.h"

namespace kv::testing {
namespace {

class HandheldUsersTest : public InstallFolders {
 protected:
  std::filesystem::path Map(const std::string& name, const std::string& bytes = "map bytes") {
    const std::filesystem::path path = temp / "maps" / name;
    WriteFile(path, bytes);
    return path;
  }
};

TEST_F(HandheldUsersTest, UsersAreTheDataFolderSubfoldersInNameOrder) {
  std::filesystem::create_directories(data / "Zoe");
  std::filesystem::create_directories(data / "Anna");
  std::filesystem::create_directories(data / ".hidden");
  WriteFile(data / "notes.txt", "not a user");
  HandheldUserList users(data, home);
  ASSERT_EQ(users.UserCount(), 2);
  EXPECT_EQ(users.UserName(0), "Anna");
  EXPECT_EQ(users.UserName(1), "Zoe");
  EXPECT_EQ(users.UserName(2), std::nullopt);
  EXPECT_EQ(users.UserName(-1), std::nullopt);
}

TEST_F(HandheldUsersTest, NoDataFolderMeansNoUsers) {
  EXPECT_EQ(HandheldUserList("", "").UserCount(), 0);
  EXPECT_EQ(HandheldUserList(data / "missing", home).UserCount(), 0);
}

TEST_F(HandheldUsersTest, QueueCopiesIntoMainAndRefusesASecondFileOfThatName) {
  std::filesystem::create_directories(data / "Anna");
  HandheldUserList users(data, home);
  ASSERT_EQ(users.Queue("Anna", Map("Alps.prc", "first").string()), kInstallOk);
  EXPECT_EQ(ReadFile(data / "Anna" / "main" / "Alps.prc"), "first");
  EXPECT_EQ(users.Queue("Anna", Map("Alps.prc", "second").string()), kInstallAlreadyQueued);
  EXPECT_EQ(ReadFile(data / "Anna" / "main" / "Alps.prc"), "first");
  ASSERT_EQ(users.Remove("Anna", "Alps.prc"), kInstallOk);
  EXPECT_EQ(Tree(data / "Anna"), std::vector<std::string>{"main"});
  EXPECT_EQ(users.Remove("Anna", "Alps.prc"), kInstallOk);
}

TEST_F(HandheldUsersTest, UnknownUsersAndNamesThatLeaveTheFolderAreRefused) {
  std::filesystem::create_directories(data / "Anna");
  HandheldUserList users(data, home);
  EXPECT_EQ(users.Queue("Bob", Map("Alps.prc").string()), kInstallUserNotFound);
  EXPECT_EQ(users.Queue("..", Map("Alps.prc").string()), kInstallUserNotFound);
  EXPECT_EQ(users.Queue("Anna/../..", Map("Alps.prc").string()), kInstallUserNotFound);
  EXPECT_EQ(users.Remove("Anna", "../../x"), kInstallBadFileName);
  EXPECT_EQ(users.Queue("Anna", (temp / "missing.prc").string()), kInstallCopyFailed);
  // Nothing half-written stays in the queue.
  EXPECT_EQ(Tree(data / "Anna" / "main"), std::vector<std::string>{});
}

TEST_F(HandheldUsersTest, CardsAreTheCardFoldersInIdentifierOrder) {
  std::filesystem::create_directories(data / "Anna" / "cards" / "12 CF Card");
  std::filesystem::create_directories(data / "Anna" / "cards" / "2 SD Card");
  std::filesystem::create_directories(data / "Anna" / "cards" / "no id");
  std::filesystem::create_directories(data / "Anna" / "cards" / "65535 main memory");
  HandheldUserList users(data, home);
  std::uint32_t id = 0;
  ASSERT_EQ(users.UserId(0, &id), kInstallOk);
  std::uint16_t count = 0;
  ASSERT_EQ(users.CardCount(id, &count), kInstallOk);
  EXPECT_EQ(count, 2);
  std::vector<std::uint32_t> ids;
  ASSERT_EQ(users.CardIds(id, &ids), kInstallOk);
  EXPECT_EQ(ids, (std::vector<std::uint32_t>{2, 12}));
  EXPECT_EQ(users.CardName(id, 2), "SD Card");
  EXPECT_EQ(users.CardName(id, 12), "CF Card");
  ASSERT_EQ(users.QueueOnCard(id, 12, Map("Alps.prc").string()), kInstallOk);
  EXPECT_TRUE(std::filesystem::exists(data / "Anna" / "cards" / "12 CF Card" / "Alps.prc"));
  EXPECT_EQ(users.QueueOnCard(id, 12, Map("Alps.prc").string()), kInstallAlreadyQueued);
  EXPECT_EQ(users.QueueOnCard(id, 7, Map("Alps.prc").string()), kInstallCardNotFound);
  ASSERT_EQ(users.RemoveFromCard(id, 12, "Alps.prc"), kInstallOk);
  EXPECT_FALSE(std::filesystem::exists(data / "Anna" / "cards" / "12 CF Card" / "Alps.prc"));
}

TEST_F(HandheldUsersTest, AUserKeepsItsIdentifierWhenOthersComeAndGo) {
  std::filesystem::create_directories(data / "Bob");
  HandheldUserList users(data, home);
  std::uint32_t before = 0;
  ASSERT_EQ(users.UserId(0, &before), kInstallOk);
  std::filesystem::create_directories(data / "Anna");
  std::uint32_t after = 0;
  ASSERT_EQ(users.UserId(1, &after), kInstallOk);
  EXPECT_EQ(before, after);
  std::uint16_t count = 7;
  EXPECT_EQ(users.CardCount(before, &count), kInstallOk);
  EXPECT_EQ(count, 0);
}

TEST_F(HandheldUsersTest, JPilotIsTheLastUserWhenItsFolderExists) {
  std::filesystem::create_directories(data / "Anna");
  EXPECT_EQ(HandheldUserList(data, home).UserCount(), 1);
  std::filesystem::create_directories(home / ".jpilot");
  HandheldUserList users(data, home);
  ASSERT_EQ(users.UserCount(), 2);
  EXPECT_EQ(users.UserName(1), "J-Pilot");
  std::uint32_t id = 0;
  ASSERT_EQ(users.UserId(1, &id), kInstallOk);
  std::uint16_t count = 9;
  ASSERT_EQ(users.CardCount(id, &count), kInstallOk);
  EXPECT_EQ(count, 0);
}

TEST_F(HandheldUsersTest, JPilotQueueKeepsACopyAndListsItsPathOncePerMap) {
  std::filesystem::create_directories(home / ".jpilot");
  WriteFile(home / ".jpilot" / "jpilot_to_install", "/home/x/Other.prc");
  HandheldUserList users(data, home);
  ASSERT_EQ(users.Queue("J-Pilot", Map("Alps.prc", "alps").string()), kInstallOk);
  const std::filesystem::path kept = home / ".jpilot" / "korvale-maps" / "Alps.prc";
  EXPECT_EQ(ReadFile(kept), "alps");
  EXPECT_EQ(ReadFile(home / ".jpilot" / "jpilot_to_install"),
            "/home/x/Other.prc\n" + kept.string() + "\n");
  EXPECT_EQ(users.Queue("J-Pilot", Map("Alps.prc").string()), kInstallAlreadyQueued);
  ASSERT_EQ(users.Remove("J-Pilot", "Alps.prc"), kInstallOk);
  EXPECT_EQ(ReadFile(home / ".jpilot" / "jpilot_to_install"), "/home/x/Other.prc\n");
  EXPECT_FALSE(std::filesystem::exists(kept));
  // Queued again once J-Pilot has installed it and dropped the line.
  ASSERT_EQ(users.Queue("J-Pilot", Map("Alps.prc", "new").string()), kInstallOk);
  EXPECT_EQ(ReadFile(kept), "new");
}

TEST_F(HandheldUsersTest, ASyncUserCalledJPilotHidesJPilot) {
  std::filesystem::create_directories(home / ".jpilot");
  std::filesystem::create_directories(data / "J-Pilot");
  HandheldUserList users(data, home);
  ASSERT_EQ(users.UserCount(), 1);
  ASSERT_EQ(users.Queue("J-Pilot", Map("Alps.prc").string()), kInstallOk);
  EXPECT_TRUE(std::filesystem::exists(data / "J-Pilot" / "main" / "Alps.prc"));
  EXPECT_FALSE(std::filesystem::exists(home / ".jpilot" / "jpilot_to_install"));
}

TEST(InstallListTest, LinesAreWholePathsWithTheirEndsKept) {
  EXPECT_TRUE(InstallListContains("/a.prc\r\n/b.prc", "/b.prc"));
  EXPECT_TRUE(InstallListContains("/a.prc\r\n/b.prc", "/a.prc"));
  EXPECT_FALSE(InstallListContains("/a.prc.old\n", "/a.prc"));
  EXPECT_EQ(InstallListWith("", "/a.prc"), "/a.prc\n");
  EXPECT_EQ(InstallListWith("/x", "/a.prc"), "/x\n/a.prc\n");
  EXPECT_EQ(InstallListWithout("/x\r\n/a.prc\n/a.prc\n/y", "/a.prc"), "/x\r\n/y");
}

TEST(CardFolderNameTest, IdentifierBlankName) {
  const auto card = ParseCardFolderName("3 SD Card");
  ASSERT_TRUE(card);
  EXPECT_EQ(card->id, 3u);
  EXPECT_EQ(card->name, "SD Card");
  ASSERT_TRUE(ParseCardFolderName("65534"));
  EXPECT_EQ(ParseCardFolderName("65534")->name, "");
  for (const char* bad :
       {"", "SD", "0 Zero", "03 Lead", "65535 Main", "123456 Big", "4-SD", " 4"}) {
    EXPECT_FALSE(ParseCardFolderName(bad)) << bad;
  }
}

}  // namespace
}  // namespace kv::testing
