#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "pdb/database.h"
#include "pdb/memory_stream.h"
#include "raw_database.h"
#include "temp_folder.h"
#include "test_streams.h"

namespace kv {
namespace {

using testing::RawDatabase;
using testing::RawEntry;

PdbStatus Validate(const std::vector<std::uint8_t>& bytes) {
  MemoryStream stream(bytes);
  return ValidateDatabaseFile(stream);
}

// Two resources of 10 bytes each, right after the list.
RawDatabase TwoResources() {
  RawDatabase db;
  db.entries = {RawEntry{100, 0x54626D70, 1}, RawEntry{110, 0x54626D70, 2}};
  return db;
}

TEST(ValidateDatabaseTest, AcceptsWellFormedFiles) {
  EXPECT_EQ(Validate(RawDatabase{}.Bytes(80)), PdbStatus::kOk);
  EXPECT_EQ(Validate(TwoResources().Bytes(120)), PdbStatus::kOk);
}

TEST(ValidateDatabaseTest, EmptyDatabaseMustBeExactly80Bytes) {
  EXPECT_EQ(Validate(RawDatabase{}.Bytes(81)), PdbStatus::kInvalidFile);
  EXPECT_EQ(Validate(RawDatabase{}.Bytes(79)), PdbStatus::kInvalidFile);
  EXPECT_EQ(Validate({}), PdbStatus::kInvalidFile);
}

TEST(ValidateDatabaseTest, HeaderRules) {
  RawDatabase db = TwoResources();
  db.next_list = 1;
  EXPECT_EQ(Validate(db.Bytes(120)), PdbStatus::kInvalidFile);

  db = TwoResources();
  db.type = 0;
  EXPECT_EQ(Validate(db.Bytes(120)), PdbStatus::kInvalidFile);

  std::vector<std::uint8_t> bytes = TwoResources().Bytes(120);
  std::memset(bytes.data(), 'A', 32);  // 32 characters, no NUL
  EXPECT_EQ(Validate(bytes), PdbStatus::kInvalidFile);
  bytes[31] = 0;  // 31 characters are fine
  EXPECT_EQ(Validate(bytes), PdbStatus::kOk);
}

TEST(ValidateDatabaseTest, EntryListMustFitTheFile) {
  RawDatabase db = TwoResources();
  EXPECT_EQ(Validate(db.Bytes(99)), PdbStatus::kInvalidFile);
  std::vector<std::uint8_t> bytes = TwoResources().Bytes(120);
  bytes[76] = 0x07;
  bytes[77] = 0xD0;  // 2000 entries promised
  EXPECT_EQ(Validate(bytes), PdbStatus::kInvalidFile);
}

TEST(ValidateDatabaseTest, DataMayStartWhereTheZeroBytesWouldBe) {
  RawDatabase db = TwoResources();
  db.entries[0].offset = db.DataStart() - 2;
  EXPECT_EQ(Validate(db.Bytes(120)), PdbStatus::kOk);
  db.entries[0].offset = db.DataStart() - 1;
  EXPECT_EQ(Validate(db.Bytes(120)), PdbStatus::kInvalidFile);
  db.entries[0].offset = db.DataStart() - 3;
  EXPECT_EQ(Validate(db.Bytes(120)), PdbStatus::kInvalidFile);
}

TEST(ValidateDatabaseTest, OffsetsMustRiseStrictlyInsideTheFile) {
  struct Row {
    std::uint32_t first;
    std::uint32_t second;
    PdbStatus expected;
  };
  const Row rows[] = {
      {100, 110, PdbStatus::kOk},          {100, 100, PdbStatus::kInvalidFile},
      {110, 100, PdbStatus::kInvalidFile}, {0, 110, PdbStatus::kInvalidFile},
      {100, 0, PdbStatus::kInvalidFile},   {100, 119, PdbStatus::kOk},
      {100, 120, PdbStatus::kInvalidFile}, {100, 0xFFFFFFFF, PdbStatus::kInvalidFile},
  };
  for (const Row& row : rows) {
    RawDatabase db = TwoResources();
    db.entries[0].offset = row.first;
    db.entries[1].offset = row.second;
    EXPECT_EQ(Validate(db.Bytes(120)), row.expected) << row.first << ", " << row.second;
  }
}

TEST(ValidateDatabaseTest, BlockRules) {
  struct Row {
    std::uint32_t app_info;
    std::uint32_t sort_info;
    std::uint32_t first_entry;
    PdbStatus expected;
  };
  // With two entries, data starts at 100.
  const Row rows[] = {
      {100, 0, 105, PdbStatus::kOk},           // application info at the data start
      {102, 0, 105, PdbStatus::kInvalidFile},  // ... and nowhere else
      {0, 100, 105, PdbStatus::kOk},           // sort info alone starts at the data start
      {0, 102, 105, PdbStatus::kInvalidFile},
      {100, 103, 105, PdbStatus::kOk},           // sort info behind application info
      {100, 100, 105, PdbStatus::kInvalidFile},  // ... strictly behind
      {100, 0, 100, PdbStatus::kInvalidFile},    // entries come after the blocks
      {0, 100, 100, PdbStatus::kInvalidFile},
      {100, 103, 103, PdbStatus::kInvalidFile},
      {120, 0, 105, PdbStatus::kInvalidFile},  // block beyond the end
  };
  for (const Row& row : rows) {
    RawDatabase db = TwoResources();
    db.app_info = row.app_info;
    db.sort_info = row.sort_info;
    db.entries[0].offset = row.first_entry;
    EXPECT_EQ(Validate(db.Bytes(120)), row.expected)
        << row.app_info << ", " << row.sort_info << ", " << row.first_entry;
  }
}

TEST(ValidateDatabaseTest, BlocksWithoutEntriesNeedNotEndTheFileAt80) {
  RawDatabase db;
  db.app_info = 80;
  EXPECT_EQ(Validate(db.Bytes(90)), PdbStatus::kOk);
}

TEST(ValidateDatabaseTest, RecordDatabasesAcceptDeletedEmptyRecords) {
  RawDatabase db;
  db.resource = false;
  db.entries = {RawEntry{104}, RawEntry{0}, RawEntry{106}};
  db.entries[1].attributes = 0x80;
  EXPECT_EQ(Validate(db.Bytes(110)), PdbStatus::kOk);
  db.entries[1].attributes = 0x40;  // empty but not deleted
  EXPECT_EQ(Validate(db.Bytes(110)), PdbStatus::kInvalidFile);
}

// Each rule names itself: a valid file with one chosen byte (or field)
// broken gives 1032 as always, and the reason says which rule failed.
TEST(ValidateDatabaseTest, EachRuleSaysWhyTheFileIsInvalid) {
  struct Row {
    const char* broken;
    std::function<void(std::vector<std::uint8_t>&)> corrupt;
    const char* reason;
  };
  // TwoResources as bytes: entry 0's offset ends at byte 87, entry 1's at 97;
  // data starts at 100 and the file is 120 bytes long.
  const Row rows[] = {
      {"next entry list", [](auto& b) { b[75] = 1; }, "the next entry list field is not 0"},
      {"name", [](auto& b) { std::memset(b.data(), 'A', 32); },
       "the name has no terminating NUL within its 32 bytes"},
      {"type", [](auto& b) { std::memset(&b[60], 0, 4); }, "the database type is 0"},
      {"entry count", [](auto& b) { b[76] = 1; },
       "the list of 258 entries runs past the end of the file"},
      {"application info beyond the end", [](auto& b) { b[55] = 120; },
       "the application-info block starts beyond the end of the file"},
      {"application info elsewhere", [](auto& b) { b[55] = 102; },
       "the application-info block does not start right after the entry list"},
      {"sort info beyond the end", [](auto& b) { b[59] = 130; },
       "the sort-info block starts beyond the end of the file"},
      {"sort info in the list", [](auto& b) { b[59] = 90; },
       "the sort-info block starts inside the header or entry list"},
      {"sort info elsewhere", [](auto& b) { b[59] = 102; },
       "the sort-info block does not start right after the entry list"},
      {"sort info before application info",
       [](auto& b) {
         b[55] = 100;
         b[59] = 100;
       },
       "the sort-info block does not come after the application-info block"},
      {"block without room", [](auto& b) { b[55] = 100; },
       "resource 0 leaves no room for the application-info block"},
      {"offset 0", [](auto& b) { b[87] = 0; }, "resource 0 has offset 0"},
      {"offset beyond the end", [](auto& b) { b[97] = 120; },
       "resource 1 starts beyond the end of the file"},
      {"offset in the list", [](auto& b) { b[87] = 90; },
       "resource 0 starts inside the header or entry list"},
      {"offsets backwards", [](auto& b) { b[87] = 115; },
       "entry offsets go backwards at resource 1"},
      {"same offsets", [](auto& b) { b[87] = 110; },
       "resource 1 starts at the same offset as the entry before it"},
      {"too short", [](auto& b) { b.resize(79); },
       "the file is 79 bytes long, shorter than a database header"},
  };
  for (const Row& row : rows) {
    std::vector<std::uint8_t> bytes = TwoResources().Bytes(120);
    row.corrupt(bytes);
    MemoryStream stream(bytes);
    PdbReason reason;
    EXPECT_EQ(ValidateDatabaseFile(stream, &reason), PdbStatus::kInvalidFile) << row.broken;
    EXPECT_STREQ(reason.text, row.reason) << row.broken;
  }
}

TEST(ValidateDatabaseTest, ReasonsOfEmptyAndRecordDatabases) {
  PdbReason reason;
  MemoryStream empty(RawDatabase{}.Bytes(81));
  EXPECT_EQ(ValidateDatabaseFile(empty, &reason), PdbStatus::kInvalidFile);
  EXPECT_STREQ(reason.text, "a database without entries or blocks is 81 bytes long instead of 80");

  RawDatabase db;
  db.resource = false;
  db.entries = {RawEntry{112}, RawEntry{0}, RawEntry{116}, RawEntry{118}};
  MemoryStream not_deleted(db.Bytes(120));
  EXPECT_EQ(ValidateDatabaseFile(not_deleted, &reason), PdbStatus::kInvalidFile);
  EXPECT_STREQ(reason.text, "record 1 has offset 0 but is not deleted");

  db.entries[1].offset = 114;
  db.entries[3].offset = 120;
  MemoryStream beyond(db.Bytes(120));
  EXPECT_EQ(ValidateDatabaseFile(beyond, &reason), PdbStatus::kInvalidFile);
  EXPECT_STREQ(reason.text, "record 3 starts beyond the end of the file");
}

TEST(ValidateDatabaseTest, ValidFileAndStreamFailures) {
  PdbReason reason;
  MemoryStream valid(TwoResources().Bytes(120));
  EXPECT_EQ(ValidateDatabaseFile(valid, &reason), PdbStatus::kOk);
  EXPECT_TRUE(reason.empty());

  testing::FailingStream closed(0);
  closed.Close();
  EXPECT_EQ(ValidateDatabaseFile(closed, &reason), PdbStatus::kStreamError);
  EXPECT_STREQ(reason.text, "the length of the file could not be found");

  // Opening passes the reason on; the status is the same without one.
  std::vector<std::uint8_t> bytes = TwoResources().Bytes(120);
  bytes[97] = 120;
  MemoryStream stream(bytes);
  DatabasePtr handle;
  EXPECT_EQ(OpenDatabase(stream, &handle, &reason), PdbStatus::kInvalidFile);
  EXPECT_STREQ(reason.text, "resource 1 starts beyond the end of the file");
  EXPECT_EQ(OpenDatabase(stream, &handle), PdbStatus::kInvalidFile);
  EXPECT_EQ(handle, nullptr);
}

TEST(ValidateDatabaseTest, OpeningSaysWhyAFileCannotBeOpened) {
  PdbReason reason;
  DatabasePtr handle;
  EXPECT_EQ(OpenDatabaseFile("/nonexistent-folder/map.prc", &handle, &reason),
            PdbStatus::kOpenFailed);
  EXPECT_EQ(reason.system_error, ENOENT);

  // A folder opens for reading on Linux; only its reads fail.
  const std::filesystem::path folder = kv::MakeTempFolder("kv-validation-folder.prc");
  EXPECT_EQ(OpenDatabaseFile(folder.string(), &handle, &reason), PdbStatus::kOpenFailed);
  EXPECT_EQ(reason.system_error, EISDIR);
  std::filesystem::remove(folder);
}

}  // namespace
}  // namespace kv
