#include <gtest/gtest.h>

#include <vector>

#include "pdb/big_endian.h"
#include "pdb/database.h"
#include "pdb/memory_stream.h"
#include "raw_database.h"

namespace kv {
namespace {

constexpr std::uint32_t kTbmp = FourCharCode("Tbmp");

// A map-like database: three resources of 4, 5 and 6 bytes.
std::vector<std::uint8_t> ThreeResources() {
  MemoryStream stream;
  CreateParams params;
  params.name = "Reader";
  params.attributes = kResourceDatabaseAttribute;
  params.type = FourCharCode("tBMP");
  params.entry_count = 3;
  DatabasePtr handle;
  EXPECT_EQ(CreateDatabase(stream, params, &handle), PdbStatus::kOk);
  const std::uint8_t data[6] = {1, 2, 3, 4, 5, 6};
  for (std::uint16_t i = 0; i < 3; ++i) {
    ResourceInfo info{static_cast<std::uint32_t>(4 + i), i == 2 ? FourCharCode("MCAL") : kTbmp,
                      static_cast<std::uint16_t>(i == 0 ? 0xFFFF : i)};
    EXPECT_EQ(AddResource(*handle, info, data), PdbStatus::kOk);
  }
  EXPECT_EQ(CloseDatabase(&handle), PdbStatus::kOk);
  return stream.bytes();
}

class DatabaseReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(OpenDatabase(stream_, &handle_), PdbStatus::kOk); }
  void TearDown() override {
    if (handle_) {
      EXPECT_EQ(CloseDatabase(&handle_), PdbStatus::kOk);
    }
  }

  MemoryStream stream_{ThreeResources()};
  DatabasePtr handle_;
};

TEST_F(DatabaseReaderTest, SizesRunToTheNextEntryAndTheEnd) {
  const std::uint32_t expected[] = {4, 5, 6};
  for (std::uint32_t i = 0; i < 3; ++i) {
    ResourceInfo info;
    ASSERT_EQ(GetResourceInfo(*handle_, i, &info), PdbStatus::kOk);
    EXPECT_EQ(info.size, expected[i]);
  }
}

TEST_F(DatabaseReaderTest, IndexOutOfRangeSticks) {
  ResourceInfo info;
  EXPECT_EQ(GetResourceInfo(*handle_, 3, &info), PdbStatus::kBadArgument);
  const std::uint8_t* bytes = nullptr;
  EXPECT_EQ(ReadResource(*handle_, 0, &info, &bytes), PdbStatus::kBadArgument);
  std::int32_t index = 0;
  EXPECT_EQ(FindResource(*handle_, kTbmp, 1, &index), PdbStatus::kBadArgument);
  EXPECT_EQ(GetDatabaseStatus(*handle_), PdbStatus::kBadArgument);
}

TEST_F(DatabaseReaderTest, MissingResourceLeavesTheHandleUsable) {
  std::int32_t index = 5;
  EXPECT_EQ(FindResource(*handle_, FourCharCode("NONE"), 1, &index), PdbStatus::kNotFound);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(GetDatabaseStatus(*handle_), PdbStatus::kOk);
  EXPECT_EQ(FindResource(*handle_, kTbmp, 0xFFFF, &index), PdbStatus::kOk);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(FindResource(*handle_, kTbmp, 2, &index),
            PdbStatus::kNotFound);  // type and ID must match
  ResourceInfo info;
  EXPECT_EQ(GetResourceInfo(*handle_, 1, &info), PdbStatus::kOk);
}

TEST_F(DatabaseReaderTest, ReadPointerHoldsTheEntryUntilTheNextRead) {
  ResourceInfo info;
  const std::uint8_t* bytes = nullptr;
  ASSERT_EQ(ReadResource(*handle_, 2, &info, &bytes), PdbStatus::kOk);
  EXPECT_EQ(info.type, FourCharCode("MCAL"));
  EXPECT_EQ(bytes[5], 6);
}

TEST_F(DatabaseReaderTest, RecordOperationsAreRefused) {
  RecordInfo record;
  EXPECT_EQ(GetRecordInfo(*handle_, 0, &record), PdbStatus::kBadArgument);
}

TEST(DatabaseReaderEmptyTest, FindInAnEmptyDatabaseIsNotFound) {
  MemoryStream stream(testing::RawDatabase{}.Bytes(80));
  DatabasePtr handle;
  ASSERT_EQ(OpenDatabase(stream, &handle), PdbStatus::kOk);
  std::int32_t index = 0;
  EXPECT_EQ(FindResource(*handle, kTbmp, 1, &index), PdbStatus::kNotFound);
  StorageEstimate estimate;
  ASSERT_EQ(EstimateStorage(*handle, 0, &estimate), PdbStatus::kOk);  // block size 0 counts as 1
  EXPECT_EQ(estimate.handheld_bytes, 88u);
  static_cast<void>(CloseDatabase(&handle));
}

TEST(DatabaseReaderCorruptionTest, OneBrokenByteIsCaughtOnOpen) {
  struct Row {
    std::size_t offset;
    std::uint8_t value;
    const char* what;
  };
  // Entries sit at 78, 88, 98; offsets at +6..+9.
  const Row rows[] = {
      {72, 1, "next entry list"},
      {63, 0, "type"},  // "tBMP" becomes "tBM\0": still non-zero, so break all of it below
      {97, 0x6E, "second offset equal to the first"},
      {107, 0xFF, "last offset beyond the file"},
      {77, 4, "one entry more than the list holds"},
      {52 + 3, 1, "application info offset off the data start"},
  };
  for (const Row& row : rows) {
    std::vector<std::uint8_t> bytes = ThreeResources();
    bytes[row.offset] = row.value;
    if (row.offset == 63) EncodeBig32(&bytes[60], 0);
    MemoryStream stream(bytes);
    DatabasePtr handle;
    EXPECT_EQ(OpenDatabase(stream, &handle), PdbStatus::kInvalidFile) << row.what;
    EXPECT_FALSE(handle);
  }
}

}  // namespace
}  // namespace kv
