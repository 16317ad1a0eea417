#include <gtest/gtest.h>

#include <cstring>

#include "pdb/database.h"
#include "pdb/memory_stream.h"
#include "raw_database.h"

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
  EXPECT_EQ(Validate(RawDatabase{}.Bytes(80)), kPdbOk);
  EXPECT_EQ(Validate(TwoResources().Bytes(120)), kPdbOk);
}

TEST(ValidateDatabaseTest, EmptyDatabaseMustBeExactly80Bytes) {
  EXPECT_EQ(Validate(RawDatabase{}.Bytes(81)), kPdbInvalidFile);
  EXPECT_EQ(Validate(RawDatabase{}.Bytes(79)), kPdbInvalidFile);
  EXPECT_EQ(Validate({}), kPdbInvalidFile);
}

TEST(ValidateDatabaseTest, HeaderRules) {
  RawDatabase db = TwoResources();
  db.next_list = 1;
  EXPECT_EQ(Validate(db.Bytes(120)), kPdbInvalidFile);

  db = TwoResources();
  db.type = 0;
  EXPECT_EQ(Validate(db.Bytes(120)), kPdbInvalidFile);

  std::vector<std::uint8_t> bytes = TwoResources().Bytes(120);
  std::memset(bytes.data(), 'A', 32);  // 32 characters, no NUL
  EXPECT_EQ(Validate(bytes), kPdbInvalidFile);
  bytes[31] = 0;  // 31 characters are fine
  EXPECT_EQ(Validate(bytes), kPdbOk);
}

TEST(ValidateDatabaseTest, EntryListMustFitTheFile) {
  RawDatabase db = TwoResources();
  EXPECT_EQ(Validate(db.Bytes(99)), kPdbInvalidFile);
  std::vector<std::uint8_t> bytes = TwoResources().Bytes(120);
  bytes[76] = 0x07;
  bytes[77] = 0xD0;  // 2000 entries promised
  EXPECT_EQ(Validate(bytes), kPdbInvalidFile);
}

TEST(ValidateDatabaseTest, DataMayStartWhereTheZeroBytesWouldBe) {
  RawDatabase db = TwoResources();
  db.entries[0].offset = db.DataStart() - 2;
  EXPECT_EQ(Validate(db.Bytes(120)), kPdbOk);
  db.entries[0].offset = db.DataStart() - 1;
  EXPECT_EQ(Validate(db.Bytes(120)), kPdbInvalidFile);
  db.entries[0].offset = db.DataStart() - 3;
  EXPECT_EQ(Validate(db.Bytes(120)), kPdbInvalidFile);
}

TEST(ValidateDatabaseTest, OffsetsMustRiseStrictlyInsideTheFile) {
  struct Row {
    std::uint32_t first;
    std::uint32_t second;
    PdbStatus expected;
  };
  const Row rows[] = {
      {100, 110, kPdbOk},          {100, 100, kPdbInvalidFile},        {110, 100, kPdbInvalidFile},
      {0, 110, kPdbInvalidFile},   {100, 0, kPdbInvalidFile},          {100, 119, kPdbOk},
      {100, 120, kPdbInvalidFile}, {100, 0xFFFFFFFF, kPdbInvalidFile},
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
      {100, 0, 105, kPdbOk},           // application info at the data start
      {102, 0, 105, kPdbInvalidFile},  // ... and nowhere else
      {0, 100, 105, kPdbOk},           // sort info alone starts at the data start
      {0, 102, 105, kPdbInvalidFile},
      {100, 103, 105, kPdbOk},           // sort info behind application info
      {100, 100, 105, kPdbInvalidFile},  // ... strictly behind
      {100, 0, 100, kPdbInvalidFile},    // entries come after the blocks
      {0, 100, 100, kPdbInvalidFile},
      {100, 103, 103, kPdbInvalidFile},
      {120, 0, 105, kPdbInvalidFile},  // block beyond the end
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
  EXPECT_EQ(Validate(db.Bytes(90)), kPdbOk);
}

TEST(ValidateDatabaseTest, RecordDatabasesAcceptDeletedEmptyRecords) {
  RawDatabase db;
  db.resource = false;
  db.entries = {RawEntry{104}, RawEntry{0}, RawEntry{106}};
  db.entries[1].attributes = 0x80;
  EXPECT_EQ(Validate(db.Bytes(110)), kPdbOk);
  db.entries[1].attributes = 0x40;  // empty but not deleted
  EXPECT_EQ(Validate(db.Bytes(110)), kPdbInvalidFile);
}

}  // namespace
}  // namespace kv
