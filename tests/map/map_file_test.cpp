#include "map/map_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "base/child_process.h"
#include "base/exceptions.h"
#include "base/file_size_signal.h"
#include "map_fixtures.h"
#include "temp_folder.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

// A map of `count` fake images.
std::unique_ptr<CImageContainer> FakeMap(std::uint8_t count) {
  auto container = std::make_unique<CImageContainer>("Map", nullptr);
  for (std::uint8_t fill = 0; fill < count; ++fill) container->AddImage(testing::FakeImage(fill));
  return container;
}

class MapFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = kv::MakeTempFolder("kv_map_file_");
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    path_ = (dir_ / "map.prc").string();
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::size_t FilesInFolder() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  fs::path dir_;
  std::string path_;
  ConversionSettings settings_;
};

TEST_F(MapFileTest, SavedMapLoadsBack) {
  CImageContainer container("Map", nullptr);
  container.AddImage(testing::FakeImage(3)).SetName("Saved");
  SaveMapFile(container, path_, "map", 1700000000);
  EXPECT_EQ(FilesInFolder(), 1u);

  CImageContainer loaded("Map", nullptr);
  LoadMapFile(path_, loaded, settings_, nullptr);
  ASSERT_EQ(loaded.image_count(), 1u);
  EXPECT_EQ(loaded.ImageAt(0)->name(), "Saved");
}

TEST_F(MapFileTest, FailedSaveLeavesThePreviousFileUntouched) {
  CImageContainer good("Map", nullptr);
  good.AddImage(testing::FakeImage(3));
  SaveMapFile(good, path_, "map", 1700000000);
  const std::string before = ReadAll(path_);

  CImageContainer empty("Map", nullptr);  // fails after the header is written
  try {
    SaveMapFile(empty, path_, "map", 1700000000);
    FAIL() << "an empty map was saved";
  } catch (const ErrFileWrite& error) {
    EXPECT_STREQ(error.file_name(), path_.c_str());
  }
  EXPECT_EQ(ReadAll(path_), before);
  EXPECT_EQ(FilesInFolder(), 1u);  // no temporary file left behind
}

TEST_F(MapFileTest, ReplacingAMapKeepsItsPermissionBitsAndItsSymbolicLink) {
  CImageContainer container("Map", nullptr);
  container.AddImage(testing::FakeImage(3));
  const std::string real = (dir_ / "real.prc").string();
  SaveMapFile(container, real, "map", 1700000000);
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  fs::create_symlink("real.prc", path_);

  container.ImageAt(0)->SetName("Second");
  SaveMapFile(container, path_, "map", 1700000001);
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(fs::status(real).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  CImageContainer loaded("Map", nullptr);
  LoadMapFile(real, loaded, settings_, nullptr);
  EXPECT_EQ(loaded.ImageAt(0)->name(), "Second");
  EXPECT_EQ(FilesInFolder(), 2u);
}

// Past the file size limit the save fails like any failed write: named,
// with the old map intact and no temporary file, whichever road it took.
TEST_F(MapFileTest, TheFileSizeLimitFailsTheSaveAndLeavesNothing) {
  const std::unique_ptr<CImageContainer> small = FakeMap(1);
  SaveMapFile(*small, path_, "map", 1700000000);
  const std::string before = ReadAll(path_);
  const std::unique_ptr<CImageContainer> big = FakeMap(4);

  for (TemporaryFileKind kind :
       {TemporaryFileKind::kUnnamedWhenPossible, TemporaryFileKind::kNamed}) {
    const int code = testing::RunInChild([&]() {
      IgnoreFileSizeSignal();
      if (!testing::LimitFileSize(before.size() + 1000)) return 2;
      try {
        SaveMapFile(*big, path_, "map", 1700000000, kind);
      } catch (const ErrFileWrite& error) {
        return std::strcmp(error.file_name(), path_.c_str()) == 0 ? 0 : 4;
      }
      return 3;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadAll(path_), before);
    EXPECT_EQ(FilesInFolder(), 1u);
  }
}

// A save may hand its finished file on instead of committing it: what is
// handed on is the whole map, and a refusal leaves the old map alone and
// names it like any failed write.
TEST_F(MapFileTest, AFileHandedOnIsCompleteAndARefusalLeavesTheOldMap) {
  const std::unique_ptr<CImageContainer> small = FakeMap(1);
  SaveMapFile(*small, path_, "map", 1700000000);
  const std::string before = ReadAll(path_);
  const std::unique_ptr<CImageContainer> bigger = FakeMap(3);

  std::unique_ptr<ReplaceFileWriter> held;
  SaveMapFile(*bigger, path_, "map", 1700000000, TemporaryFileKind::kUnnamedWhenPossible,
              [&](std::unique_ptr<ReplaceFileWriter> writer) {
                held = std::move(writer);
                return 0;
              });
  EXPECT_EQ(ReadAll(path_), before);
  ASSERT_NE(held, nullptr);
  ASSERT_EQ(held->Commit(), 0);
  CImageContainer loaded("Map", nullptr);
  LoadMapFile(path_, loaded, settings_, nullptr);
  EXPECT_EQ(loaded.image_count(), 3u);

  const std::string after = ReadAll(path_);
  try {
    SaveMapFile(*small, path_, "map", 1700000000, TemporaryFileKind::kNamed,
                [](std::unique_ptr<ReplaceFileWriter>) { return EIO; });
    ADD_FAILURE() << "a refused commit must fail the save";
  } catch (const ErrFileWrite& error) {
    EXPECT_STREQ(error.file_name(), path_.c_str());
  }
  EXPECT_EQ(ReadAll(path_), after);
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(MapFileTest, MissingFolderCannotBeCreated) {
  CImageContainer container("Map", nullptr);
  container.AddImage(testing::FakeImage(3));
  EXPECT_THROW(SaveMapFile(container, (dir_ / "no" / "map.prc").string(), "map", 1), ErrFileCreate);
}

TEST_F(MapFileTest, LoadFailuresNameTheFile) {
  CImageContainer container("Map", nullptr);
  EXPECT_THROW(LoadMapFile(path_, container, settings_, nullptr), ErrFileOpen);
  std::ofstream(path_, std::ios::binary) << std::string(79, 'x');
  try {
    LoadMapFile(path_, container, settings_, nullptr);
    FAIL() << "a 79-byte file was read";
  } catch (const ErrNotOurFile& error) {
    EXPECT_STREQ(error.file_name(), path_.c_str());
  }
}

TEST(MapWriteTimeTest, SourceDateEpochReplacesTheClock) {
  setenv("SOURCE_DATE_EPOCH", "1234567890", 1);
  EXPECT_EQ(MapWriteTime(), 1234567890);
  setenv("SOURCE_DATE_EPOCH", "soon", 1);
  EXPECT_GT(MapWriteTime(), 1700000000);
  unsetenv("SOURCE_DATE_EPOCH");
  EXPECT_GT(MapWriteTime(), 1700000000);
}

}  // namespace
}  // namespace kv
