#include "base/replace_file_writer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <set>
#include <string>

#include "base/child_process.h"
#include "base/file_commit_queue.h"
#include "base/file_size_signal.h"
#include "temp_folder.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

constexpr rlim_t kFileSizeLimit = 4096;
constexpr int kChildOk = 0;

mode_t PermissionBits(const std::string& path) {
  struct stat status {};
  ::stat(path.c_str(), &status);
  return status.st_mode & 0777;
}

std::string Contents(const TempFolder& dir, const std::string& name) {
  const std::vector<std::uint8_t> bytes = dir.Read(name);
  return std::string(bytes.begin(), bytes.end());
}

// Both roads: the unnamed file where this file system has one, and the
// named file that other file systems get.
class ReplaceFileWriterTest : public ::testing::TestWithParam<TemporaryFileKind> {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.ok()); }

  std::set<std::string> Names(const std::string& folder = "") const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_.File(folder))) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }
  std::string Put(const std::string& name, const std::string& text) {
    return dir_.Write(name, std::vector<std::uint8_t>(text.begin(), text.end()));
  }
  int Replace(const std::string& target, const std::string& text) {
    return ReplaceFileContents(target, text, GetParam());
  }

  TempFolder dir_;
};

TEST_P(ReplaceFileWriterTest, TheNewFileAppearsWholeAndOnlyAtCommit) {
  const std::string target = dir_.File("map.prc");
  ReplaceFileWriter writer(GetParam());
  ASSERT_EQ(writer.Begin(target), 0);
  ASSERT_EQ(std::fputs("complete", writer.file()), 1);
  EXPECT_FALSE(fs::exists(target));
  if (GetParam() == TemporaryFileKind::kNamed) {
    EXPECT_FALSE(writer.unnamed());
    EXPECT_EQ(Names().size(), 1u);  // the temporary file beside the target
  } else if (writer.unnamed()) {
    EXPECT_TRUE(Names().empty());
  }
  ASSERT_EQ(writer.Commit(), 0);
  EXPECT_EQ(writer.file(), nullptr);
  EXPECT_EQ(Contents(dir_, "map.prc"), "complete");
  EXPECT_EQ(Names(), std::set<std::string>{"map.prc"});
}

TEST_P(ReplaceFileWriterTest, ReplacingKeepsThePermissionBitsOfTheOldFile) {
  const std::string target = Put("map.prc", "old");
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  ASSERT_EQ(Replace(target, "new"), 0);
  EXPECT_EQ(Contents(dir_, "map.prc"), "new");
  EXPECT_EQ(PermissionBits(target), 0640u);

  // A read-only file is replaced as well; its folder decides, as for rm.
  ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
  ASSERT_EQ(Replace(target, "newer"), 0);
  EXPECT_EQ(Contents(dir_, "map.prc"), "newer");
  EXPECT_EQ(PermissionBits(target), 0444u);
}

TEST_P(ReplaceFileWriterTest, NewFilesGetWhatTheUmaskLeaves) {
  const mode_t before = ::umask(027);
  const int result = Replace(dir_.File("new.prc"), "x");
  ::umask(before);
  ASSERT_EQ(result, 0);
  EXPECT_EQ(PermissionBits(dir_.File("new.prc")), 0640u);
}

TEST_P(ReplaceFileWriterTest, ASymbolicLinkStaysAndTheFileItPointsToIsReplaced) {
  ASSERT_TRUE(fs::create_directory(dir_.File("maps")));
  Put("maps/real.prc", "old");
  fs::create_symlink("maps/real.prc", dir_.File("link.prc"));
  fs::create_symlink("link.prc", dir_.File("chain.prc"));
  ASSERT_EQ(Replace(dir_.File("chain.prc"), "new"), 0);
  EXPECT_TRUE(fs::is_symlink(dir_.File("chain.prc")));
  EXPECT_TRUE(fs::is_symlink(dir_.File("link.prc")));
  EXPECT_EQ(Contents(dir_, "maps/real.prc"), "new");
  EXPECT_EQ(Names("maps"), std::set<std::string>{"real.prc"});

  // A link to a file that does not exist yet creates that file.
  fs::create_symlink("maps/later.prc", dir_.File("dangling.prc"));
  ASSERT_EQ(Replace(dir_.File("dangling.prc"), "made"), 0);
  EXPECT_TRUE(fs::is_symlink(dir_.File("dangling.prc")));
  EXPECT_EQ(Contents(dir_, "maps/later.prc"), "made");
}

TEST_P(ReplaceFileWriterTest, ADiscardedFileLeavesTheTargetAndNothingElse) {
  const std::string target = Put("map.prc", "old");
  {
    ReplaceFileWriter writer(GetParam());
    ASSERT_EQ(writer.Begin(target), 0);
    std::fputs("half", writer.file());
    std::fflush(writer.file());
  }  // never committed
  EXPECT_EQ(Contents(dir_, "map.prc"), "old");
  EXPECT_EQ(Names(), std::set<std::string>{"map.prc"});
}

TEST_P(ReplaceFileWriterTest, TheFileSizeLimitFailsTheWriteAndLeavesNothing) {
  const std::string target = Put("map.prc", "old");
  const TemporaryFileKind kind = GetParam();
  const int code = testing::RunInChild([&]() {
    IgnoreFileSizeSignal();
    if (!testing::LimitFileSize(kFileSizeLimit)) return 2;
    const int error = ReplaceFileContents(target, std::string(4 * kFileSizeLimit, 'x'), kind);
    return error == EFBIG ? kChildOk : 3;
  });
  EXPECT_EQ(code, kChildOk);
  EXPECT_EQ(Contents(dir_, "map.prc"), "old");
  EXPECT_EQ(Names(), std::set<std::string>{"map.prc"});
}

TEST_P(ReplaceFileWriterTest, AReadOnlyFolderIsRefusedAndKeepsItsFile) {
  ASSERT_TRUE(fs::create_directory(dir_.File("locked")));
  const std::string target = Put("locked/map.prc", "old");
  // The child may run as "nobody": it must reach the folder.
  ASSERT_EQ(::chmod(dir_.File("").c_str(), 0755), 0);
  ASSERT_EQ(::chmod(target.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(dir_.File("locked").c_str(), 0555), 0);
  const TemporaryFileKind kind = GetParam();
  const int code = testing::RunInChild([&]() {
    if (!testing::GiveUpRoot()) return 2;
    return ReplaceFileContents(target, "new", kind) == EACCES ? kChildOk : 3;
  });
  ::chmod(dir_.File("locked").c_str(), 0755);
  EXPECT_EQ(code, kChildOk);
  EXPECT_EQ(Contents(dir_, "locked/map.prc"), "old");
  EXPECT_EQ(Names("locked"), std::set<std::string>{"map.prc"});
}

TEST_P(ReplaceFileWriterTest, FoldersAndMissingFoldersAreErrors) {
  ASSERT_TRUE(fs::create_directory(dir_.File("folder")));
  EXPECT_EQ(Replace(dir_.File("folder"), "x"), EISDIR);
  EXPECT_EQ(Replace(dir_.File("missing/map.prc"), "x"), ENOENT);
  EXPECT_EQ(Names(), std::set<std::string>{"folder"});
  EXPECT_TRUE(Names("folder").empty());
}

TEST_P(ReplaceFileWriterTest, PipesAreWrittenDirectlyAndStayPipes) {
  const std::string fifo = dir_.File("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_EQ(Replace(fifo, "through"), 0);
  char buffer[16] = {};
  EXPECT_EQ(::read(reader, buffer, sizeof buffer), 7);
  ::close(reader);
  EXPECT_EQ(std::string(buffer), "through");
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_EQ(Names(), std::set<std::string>{"pipe"});
}

// Files handed to the queue are in place, in full, once it is drained, and
// each one's outcome reaches its callback: here the last one's folder is
// moved away before its turn, so it cannot get its name.
TEST_P(ReplaceFileWriterTest, AQueueCommitsEachFileAndReportsItsFailure) {
  fs::create_directory(dir_.File("gone"));
  const std::vector<std::string> targets = {dir_.File("a.prc"), dir_.File("b.prc"),
                                            dir_.File("c.prc"), dir_.File("gone/d.prc")};
  std::vector<int> statuses(targets.size(), -1);
  {
    FileCommitQueue queue(1);
    for (std::size_t index = 0; index < targets.size(); ++index) {
      auto writer = std::make_unique<ReplaceFileWriter>(GetParam());
      ASSERT_EQ(writer->Begin(targets[index]), 0);
      std::fputs(targets[index].c_str(), writer->file());
      if (index + 1 == targets.size()) {
        queue.Drain();
        fs::rename(dir_.File("gone"), dir_.File("moved"));
      }
      EXPECT_EQ(CommitFile(
                    [&](std::unique_ptr<ReplaceFileWriter> handed) {
                      queue.Push(std::move(handed),
                                 [&, index](int status) { statuses[index] = status; });
                      return 0;
                    },
                    std::move(writer)),
                0);
    }
    queue.Drain();
  }
  EXPECT_EQ(statuses, (std::vector<int>{0, 0, 0, ENOENT}));
  for (const char* name : {"a.prc", "b.prc", "c.prc"})
    EXPECT_EQ(Contents(dir_, name), dir_.File(name));
}

INSTANTIATE_TEST_SUITE_P(BothTemporaryFiles, ReplaceFileWriterTest,
                         ::testing::Values(TemporaryFileKind::kUnnamedWhenPossible,
                                           TemporaryFileKind::kNamed),
                         [](const ::testing::TestParamInfo<TemporaryFileKind>& kind) {
                           return kind.param == TemporaryFileKind::kNamed ? "Named" : "Unnamed";
                         });

// The point of the unnamed file: even a process that dies mid-write (here
// by SIGXFSZ, not ignored) leaves nothing behind.
TEST(UnnamedTemporaryFileTest, AKilledWriterLeavesNothing) {
  TempFolder dir;
  ASSERT_TRUE(dir.ok());
  {
    ReplaceFileWriter probe;
    ASSERT_EQ(probe.Begin(dir.File("probe")), 0);
    if (!probe.unnamed()) GTEST_SKIP() << "this file system has no unnamed files";
  }
  const std::string target = dir.File("map.prc");
  const int code = testing::RunInChild([&]() {
    if (!testing::LimitFileSize(kFileSizeLimit)) return 2;
    ReplaceFileContents(target, std::string(4 * kFileSizeLimit, 'x'));
    return 3;
  });
  EXPECT_EQ(code, -SIGXFSZ);
  EXPECT_TRUE(fs::is_empty(dir.File("")));
}

}  // namespace
}  // namespace kv
