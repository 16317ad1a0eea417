// kvmap never writes over a file it reads, and a failed write leaves
// neither a partial output nor a temporary file.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "bitmap/bmp_fixture.h"
#include "kvmap_runner.h"
#include "temp_folder.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr char kCalibration[] =
    "kv_north=7=47.5\nkv_west=7=8\nkv_south=7=47\nkv_east=7=9\n"
    "c1_lat=7=47.5\nc1_lon=7=8\nc1_x=7=0\nc1_y=7=0\n"
    "c2_lat=7=47\nc2_lon=7=9\nc2_x=7=199\nc2_y=7=149\n";

class OutputSafetyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = kv::MakeTempFolder("kv_output_safety_");
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
    return Path(name);
  }
  std::string WriteBmp(const std::string& name) {
    testing::BmpParams params;
    params.width = 200;
    params.height = 150;
    const std::vector<std::uint8_t> bytes = testing::MakeBmp(
        params, [](int x, int y) { return (x / 20 + y / 20) % 2 ? 0xF800u : 0xFCu; });
    return Write(name, std::string(bytes.begin(), bytes.end()));
  }
  std::string Read(const std::string& name) const { return testing::ReadWholeFile(dir_ / name); }
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      const std::string name = entry.path().filename().string();
      if (name != "kvmap.out" && name != "kvmap.err") names.insert(name);
    }
    return names;
  }
  testing::KvmapResult Run(const std::string& arguments) {
    return testing::RunKvmap(arguments, dir_);
  }
  // Refused before anything is written: status 1, one error line naming
  // both files, every file as it was.
  void ExpectRefused(const testing::KvmapResult& result, const std::string& output,
                     const std::string& input) {
    EXPECT_EQ(result.exit_code, 1) << result.err;
    EXPECT_THAT(result.err, StartsWith("kvmap: error"));
    EXPECT_THAT(result.err, HasSubstr(output + " is the same file as "));
    EXPECT_THAT(result.err, HasSubstr(" " + input + ";"));
    EXPECT_EQ(result.out, "");
  }

  fs::path dir_;
};

TEST_F(OutputSafetyTest, ConvertRefusesToWriteOverItsSourceByAnyName) {
  const std::string source = WriteBmp("a.bmp");
  const std::string bytes = Read("a.bmp");
  fs::create_hard_link(source, dir_ / "hard.prc");
  fs::create_symlink("a.bmp", dir_ / "soft.prc");
  for (const char* name : {"a.bmp", "hard.prc", "soft.prc"}) {
    ExpectRefused(Run("convert '" + source + "' -o '" + Path(name) + "'"), Path(name), source);
    EXPECT_EQ(Read("a.bmp"), bytes) << name;
  }
  // Relative names are files too.
  ExpectRefused(
      testing::RunKvmap("convert a.bmp -o ./a.bmp", dir_, "cd '" + dir_.string() + "' &&"),
      "./a.bmp", "a.bmp");
  EXPECT_EQ(Names(), (std::set<std::string>{"a.bmp", "hard.prc", "soft.prc"}));
}

TEST_F(OutputSafetyTest, ConvertRefusesToWriteOverItsCalibrationFiles) {
  const std::string source = WriteBmp("a.bmp");
  const std::string given = Write("given.kvm", kCalibration);
  ExpectRefused(Run("convert '" + source + "' --calibration '" + given + "' -o '" + given + "'"),
                given, given);
  EXPECT_EQ(Read("given.kvm"), kCalibration);

  // The calibration found beside the image.
  const std::string beside = Write("a.kvm", kCalibration);
  ExpectRefused(Run("convert '" + source + "' -o '" + beside + "'"), beside, beside);
  EXPECT_EQ(Read("a.kvm"), kCalibration);

  // The image a calibration file names.
  const std::string named = Write("b.kvm", kCalibration);
  const std::string image = WriteBmp("b.bmp");
  const std::string bytes = Read("b.bmp");
  ExpectRefused(Run("convert '" + named + "' -o '" + image + "'"), image, image);
  EXPECT_EQ(Read("b.bmp"), bytes);
  EXPECT_EQ(Names(), (std::set<std::string>{"a.bmp", "a.kvm", "b.bmp", "b.kvm", "given.kvm"}));
}

TEST_F(OutputSafetyTest, PicturesAndCalibrationExportsRefuseTheirInputs) {
  const std::string source = WriteBmp("a.bmp");
  const std::string map = Path("a.prc");
  ASSERT_EQ(Run("convert '" + source + "'").exit_code, 0);
  const std::string bytes = Read("a.prc");
  fs::create_symlink("a.prc", dir_ / "link.png");
  ExpectRefused(Run("render '" + map + "' -o '" + map + "'"), map, map);
  ExpectRefused(Run("mosaic '" + map + "' -o '" + Path("link.png") + "'"), Path("link.png"), map);
  EXPECT_EQ(Read("a.prc"), bytes);

  // "-o given" exports to given.kvm: the file read.
  const std::string given = Write("given.kvm", kCalibration);
  ExpectRefused(Run("calibration '" + given + "' -o '" + Path("given") + "'"), given, given);
  EXPECT_EQ(Read("given.kvm"), kCalibration);
}

// A re-opened map is read whole: writing it back over itself is the
// ordinary save, and through a link the link stays.
TEST_F(OutputSafetyTest, RecodeMayWriteOverItsOwnMap) {
  const std::string source = WriteBmp("a.bmp");
  const std::string map = Path("a.prc");
  ASSERT_EQ(Run("convert '" + source + "' -o '" + map + "'").exit_code, 0);
  fs::create_symlink("a.prc", dir_ / "link.prc");
  const testing::KvmapResult result =
      Run("recode '" + map + "' --depth 4 -o '" + Path("link.prc") + "'");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.prc"));
  EXPECT_EQ(Names(), (std::set<std::string>{"a.bmp", "a.prc", "link.prc"}));
}

// kvmap ignores SIGXFSZ: the write fails with EFBIG, the failure is
// reported, and the old files stay as they were with nothing beside them.
TEST_F(OutputSafetyTest, TheFileSizeLimitIsAReportedFailure) {
  const std::string source = WriteBmp("a.bmp");
  const std::string map = Path("a.prc");
  ASSERT_EQ(Run("convert '" + source + "'").exit_code, 0);
  const std::string old_map = Write("old.prc", "an older map");
  const std::string old_tile = Write("old.bmp", "an older tile");
  const auto limited = [&](const std::string& arguments) {
    // 40 blocks of 512 or 1024 bytes: either way below the map and a tile.
    return testing::RunKvmap(arguments, dir_, "ulimit -f 40;");
  };
  testing::KvmapResult result = limited("convert '" + source + "' -o '" + old_map + "'");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.err, StartsWith("kvmap: error 0x20000003: "));
  EXPECT_THAT(result.err, HasSubstr(old_map));
  EXPECT_EQ(Read("old.prc"), "an older map");

  result = limited("render '" + map + "' --image 1 -o '" + old_tile + "'");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.err, StartsWith("kvmap: error 0x20000003: "));
  EXPECT_THAT(result.err, HasSubstr(old_tile));
  EXPECT_EQ(Read("old.bmp"), "an older tile");
  EXPECT_EQ(Names(), (std::set<std::string>{"a.bmp", "a.prc", "old.bmp", "old.prc"}));
}

}  // namespace
}  // namespace kv
