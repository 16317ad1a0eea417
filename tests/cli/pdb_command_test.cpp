#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "kvmap_runner.h"
#include "pdb/database.h"
#include "temp_folder.h"

namespace kv {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class PdbCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = kv::MakeTempFolder("kv_pdb_command_");
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string WriteMap() {
    CreateParams params;
    params.path = (dir_ / "map.prc").string();
    params.name = "Sample \xE9t\xE9";  // Windows-1252 "é"
    params.attributes = kResourceDatabaseAttribute;
    params.version = 1;
    params.creation_time = 1700000000;
    params.type = FourCharCode("tBMP");
    params.creator = FourCharCode("DoDa");
    params.entry_count = 2;
    DatabasePtr handle;
    EXPECT_EQ(CreateDatabaseFile(params, &handle), PdbStatus::kOk);
    const std::uint8_t data[7] = {1, 2, 3, 4, 5, 6, 7};
    ResourceInfo first{7, FourCharCode("Tbmp"), 1};
    ResourceInfo second{3, FourCharCode("DESC"), 0xFFFF};
    EXPECT_EQ(AddResource(*handle, first, data), PdbStatus::kOk);
    EXPECT_EQ(AddResource(*handle, second, data), PdbStatus::kOk);
    EXPECT_EQ(CloseDatabase(&handle), PdbStatus::kOk);
    return params.path;
  }

  testing::KvmapResult Run(const std::string& arguments) {
    return testing::RunKvmap(arguments, dir_);
  }

  std::filesystem::path dir_;
};

TEST_F(PdbCommandTest, ListsHeaderAndEntries) {
  const std::string path = WriteMap();
  testing::KvmapResult result = Run("pdb '" + path + "'");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_THAT(result.out, HasSubstr("Sample \xC3\xA9t\xC3\xA9"));
  EXPECT_THAT(result.out, HasSubstr("resource database"));
  EXPECT_THAT(result.out, HasSubstr("2023-11-14T22:13:20Z"));
  EXPECT_THAT(result.out, HasSubstr("tBMP"));
  EXPECT_THAT(result.out, HasSubstr("DoDa"));
  EXPECT_THAT(result.out, HasSubstr("Tbmp"));
  EXPECT_THAT(result.out, HasSubstr("65535"));
  EXPECT_TRUE(result.err.empty());
}

TEST_F(PdbCommandTest, JsonHasTheHeaderAndEveryEntry) {
  const std::string path = WriteMap();
  testing::KvmapResult result = Run("pdb --json '" + path + "'");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  nlohmann::json json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["valid"], true);
  EXPECT_EQ(json["name"], "Sample \xC3\xA9t\xC3\xA9");
  EXPECT_EQ(json["kind"], "resource");
  EXPECT_EQ(json["type"], "tBMP");
  EXPECT_EQ(json["creator"], "DoDa");
  EXPECT_EQ(json["created"], 1700000000);
  EXPECT_EQ(json["modified"], 0);
  EXPECT_EQ(json["entry_count"], 2);
  ASSERT_EQ(json["entries"].size(), 2u);
  EXPECT_EQ(json["entries"][0]["type"], "Tbmp");
  EXPECT_EQ(json["entries"][0]["id"], 1);
  EXPECT_EQ(json["entries"][0]["offset"], 100);
  EXPECT_EQ(json["entries"][0]["size"], 7);
  EXPECT_EQ(json["entries"][1]["id"], 65535);
  EXPECT_EQ(json["entries"][1]["size"], 3);
}

TEST_F(PdbCommandTest, CorruptFileIsNotOurFile) {
  const std::string path = WriteMap();
  {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(72);
    file.put('\x01');  // the next entry list must be 0
  }
  testing::KvmapResult result = Run("pdb '" + path + "'");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.err, StartsWith("kvmap: error 0x20000006: "));
  EXPECT_THAT(result.err, HasSubstr(path));
  EXPECT_THAT(result.err, HasSubstr("not a map database"));
  EXPECT_THAT(result.err, HasSubstr("\nthe next entry list field is not 0\n"));
  EXPECT_TRUE(result.out.empty());
}

TEST_F(PdbCommandTest, JsonSaysWhyAFileIsInvalid) {
  const std::string path = WriteMap();
  {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(97);
    file.put('\xC8');  // the second entry's offset, now 200 in a 110-byte file
  }
  testing::KvmapResult result = Run("pdb --json '" + path + "'");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.err, StartsWith("kvmap: error 0x20000006: "));
  EXPECT_THAT(result.err, HasSubstr("resource 1 starts beyond the end of the file"));
  nlohmann::json json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["valid"], false);
  EXPECT_EQ(json["file"], path);
  EXPECT_EQ(json["status"], 1032);
  EXPECT_EQ(json["reason"], "resource 1 starts beyond the end of the file");

  testing::KvmapResult missing = Run("pdb --json '" + (dir_ / "missing.prc").string() + "'");
  EXPECT_EQ(missing.exit_code, 1);
  json = nlohmann::json::parse(missing.out);
  EXPECT_EQ(json["status"], 1034);
  EXPECT_EQ(json["reason"], "No such file or directory");
}

TEST_F(PdbCommandTest, MissingFileCannotBeOpened) {
  testing::KvmapResult result = Run("pdb '" + (dir_ / "missing.prc").string() + "'");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.err, StartsWith("kvmap: error 0x20000005: "));
}

TEST_F(PdbCommandTest, UsageMistakesExitWithStatus2) {
  testing::KvmapResult result = Run("pdb");
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_THAT(result.err, StartsWith("kvmap: "));
  EXPECT_EQ(Run("--help").exit_code, 0);
  testing::KvmapResult version = Run("--version");
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_THAT(version.out, StartsWith("kvmap "));
}

TEST_F(PdbCommandTest, LanguageFileBesideTheProgramIsUsed) {
  std::filesystem::create_directories(dir_ / "lang");
  std::ofstream(dir_ / "lang" / "DARudIdiEN.lang") << "805 Kann %s nicht öffnen.\n";
  testing::KvmapResult result =
      Run("pdb '" + (dir_ / "missing.prc").string() + "'");  // default folders first
  EXPECT_THAT(result.err, HasSubstr("could not be opened"));
  setenv("KVMAP_LANG_DIR", (dir_ / "lang").c_str(), 1);
  result = Run("pdb '" + (dir_ / "missing.prc").string() + "'");
  unsetenv("KVMAP_LANG_DIR");
  EXPECT_THAT(result.err, HasSubstr("Kann " + (dir_ / "missing.prc").string() + " nicht"));
}

}  // namespace
}  // namespace kv
