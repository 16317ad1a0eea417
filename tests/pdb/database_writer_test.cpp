#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

#include "pdb/big_endian.h"
#include "pdb/database.h"
#include "pdb/file_stream.h"
#include "pdb/memory_stream.h"
#include "pdb/palm_time.h"
#include "temp_folder.h"
#include "test_streams.h"

namespace kv {
namespace {

using ::testing::ElementsAreArray;

constexpr std::uint32_t kTbmp = FourCharCode("Tbmp");
constexpr std::uint32_t kDesc = FourCharCode("DESC");

CreateParams MapParams(std::uint32_t entries) {
  CreateParams params;
  params.name = "Test map";
  params.attributes = kResourceDatabaseAttribute;
  params.version = 1;
  params.creation_time = 1000000000;
  params.modification_time = 1000000060;
  params.type = FourCharCode("tBMP");
  params.creator = FourCharCode("DoDa");
  params.unique_id_seed = 42;
  params.entry_count = entries;
  return params;
}

std::vector<std::uint8_t> Payload(std::size_t size, std::uint8_t first = 1) {
  std::vector<std::uint8_t> bytes(size);
  std::iota(bytes.begin(), bytes.end(), first);
  return bytes;
}

class DatabaseWriterTest : public ::testing::Test {
 protected:
  void Create(std::uint32_t entries) {
    ASSERT_EQ(CreateDatabase(stream_, MapParams(entries), &handle_), PdbStatus::kOk);
  }
  PdbStatus Add(std::uint32_t type, std::uint16_t id, const std::vector<std::uint8_t>& bytes) {
    ResourceInfo info;
    info.type = type;
    info.id = id;
    info.size = static_cast<std::uint32_t>(bytes.size());
    return AddResource(*handle_, info, bytes.data());
  }
  DatabasePtr Reopen() {
    DatabasePtr handle;
    EXPECT_EQ(OpenDatabase(stream_, &handle), PdbStatus::kOk);
    return handle;
  }

  MemoryStream stream_;
  DatabasePtr handle_;
};

TEST_F(DatabaseWriterTest, TwelveResourcesPutTheFirstDataAt200) {
  Create(12);
  for (std::uint16_t id = 0; id < 12; ++id) ASSERT_EQ(Add(kTbmp, id, Payload(3)), PdbStatus::kOk);
  ASSERT_EQ(CloseDatabase(&handle_), PdbStatus::kOk);
  EXPECT_FALSE(handle_);

  const std::vector<std::uint8_t>& bytes = stream_.bytes();
  ASSERT_EQ(bytes.size(), 200u + 12 * 3);
  EXPECT_EQ(DecodeBig32(&bytes[78 + 6]), 200u);
  EXPECT_EQ(bytes[198], 0);
  EXPECT_EQ(bytes[199], 0);
  EXPECT_EQ(DecodeBig16(&bytes[76]), 12);
}

TEST_F(DatabaseWriterTest, WrittenDatabaseReadsBack) {
  Create(3);
  const std::vector<std::uint8_t> big = Payload(70000);  // beyond the first scratch size
  ASSERT_EQ(Add(kTbmp, 0xFFFF, Payload(5)), PdbStatus::kOk);
  ASSERT_EQ(Add(kTbmp, 0, big), PdbStatus::kOk);
  ASSERT_EQ(Add(kDesc, 7, Payload(34, 100)), PdbStatus::kOk);
  ASSERT_EQ(CloseDatabase(&handle_), PdbStatus::kOk);

  DatabasePtr reader = Reopen();
  DatabaseInfo info;
  ASSERT_EQ(ReadDatabaseInfo(*reader, &info), PdbStatus::kOk);
  EXPECT_STREQ(info.name, "Test map");
  EXPECT_EQ(info.attributes, kResourceDatabaseAttribute);
  EXPECT_EQ(info.version, 1);
  EXPECT_EQ(info.creation_time, 1000000000);
  EXPECT_EQ(info.modification_time, 1000000060);
  EXPECT_EQ(info.backup_time, 0);
  EXPECT_EQ(info.type, FourCharCode("tBMP"));
  EXPECT_EQ(info.creator, FourCharCode("DoDa"));
  EXPECT_EQ(info.unique_id_seed, 42u);
  EXPECT_EQ(info.entry_count, 3u);
  EXPECT_EQ(info.kind, DatabaseKind::kResource);

  ResourceInfo resource;
  const std::uint8_t* data = nullptr;
  ASSERT_EQ(ReadResource(*reader, 0, &resource, &data), PdbStatus::kOk);
  EXPECT_EQ(resource.id, 0xFFFF);
  EXPECT_EQ(resource.size, 5u);
  ASSERT_EQ(ReadResource(*reader, 1, &resource, &data), PdbStatus::kOk);
  EXPECT_EQ(resource.id, 0);
  ASSERT_EQ(resource.size, big.size());
  EXPECT_EQ(std::memcmp(data, big.data(), big.size()), 0);
  ASSERT_EQ(ReadResource(*reader, 2, &resource, &data), PdbStatus::kOk);
  EXPECT_EQ(resource.type, kDesc);
  EXPECT_EQ(resource.size, 34u);  // the last entry runs to the end of the file
  EXPECT_EQ(data[0], 100);

  std::int32_t index = 0;
  EXPECT_EQ(FindResource(*reader, kDesc, 7, &index), PdbStatus::kOk);
  EXPECT_EQ(index, 2);
  EXPECT_EQ(CloseDatabase(&reader), PdbStatus::kOk);
}

TEST_F(DatabaseWriterTest, HeaderStoresPalmTimesAndCutsLongNames) {
  CreateParams params = MapParams(0);
  params.name = std::string(40, 'N');
  ASSERT_EQ(CreateDatabase(stream_, params, &handle_), PdbStatus::kOk);
  ASSERT_EQ(CloseDatabase(&handle_), PdbStatus::kOk);
  const std::vector<std::uint8_t>& bytes = stream_.bytes();
  ASSERT_EQ(bytes.size(), 80u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data())), std::string(31, 'N'));
  EXPECT_EQ(DecodeBig32(&bytes[36]), PalmTimeFromUnix(1000000000));
  EXPECT_EQ(DecodeBig32(&bytes[44]), 0u);  // never backed up
  EXPECT_EQ(DecodeBig32(&bytes[72]), 0u);
}

TEST_F(DatabaseWriterTest, AddingBeyondTheReservedCountSticks) {
  Create(3);
  for (std::uint16_t id = 1; id <= 3; ++id) ASSERT_EQ(Add(kTbmp, id, Payload(2)), PdbStatus::kOk);
  EXPECT_EQ(Add(kTbmp, 4, Payload(2)), PdbStatus::kTooManyEntries);
  EXPECT_EQ(Add(kTbmp, 5, Payload(2)), PdbStatus::kTooManyEntries);
  EXPECT_EQ(GetDatabaseStatus(*handle_), PdbStatus::kTooManyEntries);
  // Closing looks only at the count, which is complete.
  EXPECT_EQ(CloseDatabase(&handle_), PdbStatus::kOk);
}

TEST_F(DatabaseWriterTest, EntriesWithoutDataAreRefused) {
  Create(2);
  EXPECT_EQ(Add(kTbmp, 1, {}), PdbStatus::kBadArgument);
  EXPECT_EQ(Add(kTbmp, 1, Payload(4)), PdbStatus::kBadArgument);  // sticky
  EXPECT_EQ(AbortDatabase(&handle_), PdbStatus::kOk);
  EXPECT_FALSE(handle_);
}

TEST_F(DatabaseWriterTest, ClosingWithMissingEntriesKeepsTheHandle) {
  Create(2);
  ASSERT_EQ(Add(kTbmp, 1, Payload(4)), PdbStatus::kOk);
  EXPECT_EQ(CloseDatabase(&handle_), PdbStatus::kIncomplete);
  ASSERT_TRUE(handle_);
  ASSERT_EQ(Add(kTbmp, 2, Payload(4)), PdbStatus::kOk);
  EXPECT_EQ(CloseDatabase(&handle_), PdbStatus::kOk);
}

TEST_F(DatabaseWriterTest, RecordOperationsAreRefusedOnResourceDatabases) {
  Create(1);
  RecordInfo record;
  record.size = 1;
  const std::uint8_t byte = 0;
  EXPECT_EQ(AddRecord(*handle_, record, &byte), PdbStatus::kBadArgument);
  EXPECT_EQ(Add(kTbmp, 1, Payload(1)), PdbStatus::kBadArgument);
}

TEST_F(DatabaseWriterTest, TooManyReservedEntriesAreRefused) {
  EXPECT_EQ(CreateDatabase(stream_, MapParams(65536), &handle_), PdbStatus::kBadArgument);
  EXPECT_FALSE(handle_);
}

TEST(DatabaseStreamFailureTest, FullStreamGivesStreamErrorAndSticks) {
  // Room for the header and list but not for the first entry's data.
  testing::FailingStream stream(80 + 2 * 10 + 3);
  DatabasePtr handle;
  ASSERT_EQ(CreateDatabase(stream, MapParams(2), &handle), PdbStatus::kOk);
  ResourceInfo info{10, kTbmp, 1};
  const std::vector<std::uint8_t> data = Payload(10);
  EXPECT_EQ(AddResource(*handle, info, data.data()), PdbStatus::kStreamError);
  EXPECT_EQ(AddResource(*handle, info, data.data()), PdbStatus::kStreamError);
  EXPECT_EQ(GetDatabaseStatus(*handle), PdbStatus::kStreamError);
  EXPECT_EQ(AbortDatabase(&handle), PdbStatus::kOk);
}

TEST(DatabaseStreamFailureTest, FullStreamDuringCreationGivesNoHandle) {
  testing::FailingStream stream(50);
  DatabasePtr handle;
  EXPECT_EQ(CreateDatabase(stream, MapParams(2), &handle), PdbStatus::kStreamError);
  EXPECT_FALSE(handle);
}

TEST(DatabaseStreamFailureTest, ClosedStreamGivesStreamError) {
  testing::FailingStream stream(1 << 20);
  DatabasePtr handle;
  ASSERT_EQ(CreateDatabase(stream, MapParams(1), &handle), PdbStatus::kOk);
  stream.Close();
  ResourceInfo info{4, kTbmp, 1};
  const std::vector<std::uint8_t> data = Payload(4);
  EXPECT_EQ(AddResource(*handle, info, data.data()), PdbStatus::kStreamError);
  EXPECT_EQ(AddResource(*handle, info, data.data()), PdbStatus::kStreamError);
}

TEST(DatabaseStreamFailureTest, FullDiskShowsWhenTheDatabaseIsClosed) {
  // /dev/full takes buffered writes and fails once they reach the device:
  // at a seek that flushes, or at the latest when the database is closed.
  auto full = FileStream::Open("/dev/full", "wb");
  if (!full) GTEST_SKIP() << "/dev/full is not available";
  DatabasePtr handle;
  ASSERT_EQ(CreateDatabase(*full, MapParams(1), &handle), PdbStatus::kOk);
  ResourceInfo info{4, kTbmp, 1};
  const std::vector<std::uint8_t> data = Payload(4);
  const PdbStatus added = AddResource(*handle, info, data.data());
  if (added == PdbStatus::kOk) {
    EXPECT_EQ(CloseDatabase(&handle), PdbStatus::kStreamError);
  } else {
    EXPECT_EQ(added, PdbStatus::kStreamError);
    EXPECT_EQ(CloseDatabase(&handle), PdbStatus::kIncomplete);
    EXPECT_EQ(AbortDatabase(&handle), PdbStatus::kOk);
  }
  EXPECT_FALSE(handle);
}

TEST(RecordDatabaseTest, EmptyRecordsAreStoredAsDeletedAndReadBack) {
  MemoryStream stream;
  CreateParams params = MapParams(3);
  params.attributes = 0;
  params.type = FourCharCode("DATA");
  DatabasePtr handle;
  ASSERT_EQ(CreateDatabase(stream, params, &handle), PdbStatus::kOk);
  const std::vector<std::uint8_t> first = Payload(6);
  RecordInfo record;
  record.size = 6;
  record.attributes = 0x40;
  record.unique_id = 0x123456;
  ASSERT_EQ(AddRecord(*handle, record, first.data()), PdbStatus::kOk);
  record.size = 0;
  record.attributes = 0;
  record.unique_id = 0xABCDEF;
  ASSERT_EQ(AddRecord(*handle, record, nullptr), PdbStatus::kOk);
  record.size = 2;
  record.unique_id = 0x1000001;  // only 24 bits are stored
  ASSERT_EQ(AddRecord(*handle, record, first.data()), PdbStatus::kOk);
  ASSERT_EQ(CloseDatabase(&handle), PdbStatus::kOk);

  ASSERT_EQ(OpenDatabase(stream, &handle), PdbStatus::kOk);
  RecordInfo read;
  const std::uint8_t* data = nullptr;
  ASSERT_EQ(ReadRecord(*handle, 0, &read, &data), PdbStatus::kOk);
  EXPECT_EQ(read.size, 6u);  // runs to the next record that has data
  EXPECT_EQ(read.attributes, 0x40);
  EXPECT_EQ(read.unique_id, 0x123456u);
  ASSERT_EQ(ReadRecord(*handle, 1, &read, &data), PdbStatus::kOk);
  EXPECT_EQ(read.size, 0u);
  EXPECT_EQ(read.offset, 0u);
  EXPECT_EQ(read.attributes, kRecordDeletedAttribute);
  EXPECT_EQ(read.unique_id, 0xABCDEFu);
  ASSERT_EQ(GetRecordInfo(*handle, 2, &read), PdbStatus::kOk);
  EXPECT_EQ(read.size, 2u);
  EXPECT_EQ(read.unique_id, 1u);

  ResourceInfo resource;
  EXPECT_EQ(GetResourceInfo(*handle, 0, &resource), PdbStatus::kBadArgument);
  static_cast<void>(CloseDatabase(&handle));
}

TEST(DatabaseBlocksTest, ApplicationAndSortInfoRoundTrip) {
  MemoryStream stream;
  DatabasePtr handle;
  ASSERT_EQ(CreateDatabase(stream, MapParams(1), &handle), PdbStatus::kOk);
  const std::vector<std::uint8_t> app = Payload(7, 10);
  const std::vector<std::uint8_t> sort = Payload(3, 50);
  ASSERT_EQ(WriteAppInfoBlock(*handle, app.data(), 7), PdbStatus::kOk);
  ASSERT_EQ(WriteSortInfoBlock(*handle, sort.data(), 3), PdbStatus::kOk);
  ResourceInfo info{5, kTbmp, 1};
  const std::vector<std::uint8_t> data = Payload(5, 90);
  ASSERT_EQ(AddResource(*handle, info, data.data()), PdbStatus::kOk);
  ASSERT_EQ(CloseDatabase(&handle), PdbStatus::kOk);
  EXPECT_EQ(DecodeBig32(&stream.bytes()[52]), 90u);
  EXPECT_EQ(DecodeBig32(&stream.bytes()[56]), 97u);

  ASSERT_EQ(OpenDatabase(stream, &handle), PdbStatus::kOk);
  const std::uint8_t* bytes = nullptr;
  std::uint32_t size = 0;
  ASSERT_EQ(ReadAppInfoBlock(*handle, &bytes, &size), PdbStatus::kOk);
  EXPECT_THAT(std::vector<std::uint8_t>(bytes, bytes + size), ElementsAreArray(app));
  ASSERT_EQ(ReadSortInfoBlock(*handle, &bytes, &size), PdbStatus::kOk);
  EXPECT_THAT(std::vector<std::uint8_t>(bytes, bytes + size), ElementsAreArray(sort));
  const std::uint8_t* entry = nullptr;
  ASSERT_EQ(ReadResource(*handle, 0, &info, &entry), PdbStatus::kOk);
  EXPECT_EQ(info.offset, 100u);
  EXPECT_EQ(entry[0], 90);
  static_cast<void>(CloseDatabase(&handle));
}

TEST(DatabaseBlocksTest, BlocksMustComeFirstAndInOrder) {
  MemoryStream stream;
  DatabasePtr handle;
  const std::uint8_t byte = 1;
  ASSERT_EQ(CreateDatabase(stream, MapParams(1), &handle), PdbStatus::kOk);
  ASSERT_EQ(WriteSortInfoBlock(*handle, &byte, 1), PdbStatus::kOk);
  EXPECT_EQ(WriteAppInfoBlock(*handle, &byte, 1), PdbStatus::kBadArgument);
  static_cast<void>(AbortDatabase(&handle));

  ASSERT_EQ(CreateDatabase(stream, MapParams(1), &handle), PdbStatus::kOk);
  ResourceInfo info{1, kTbmp, 1};
  ASSERT_EQ(AddResource(*handle, info, &byte), PdbStatus::kOk);
  EXPECT_EQ(WriteAppInfoBlock(*handle, &byte, 1), PdbStatus::kBadArgument);
  static_cast<void>(AbortDatabase(&handle));

  ASSERT_EQ(CreateDatabase(stream, MapParams(1), &handle), PdbStatus::kOk);
  EXPECT_EQ(WriteAppInfoBlock(*handle, &byte, 0), PdbStatus::kBadArgument);
  static_cast<void>(AbortDatabase(&handle));
}

TEST(DatabaseBlocksTest, AbsentBlocksHaveSizeZero) {
  MemoryStream stream;
  DatabasePtr handle;
  ASSERT_EQ(CreateDatabase(stream, MapParams(0), &handle), PdbStatus::kOk);
  ASSERT_EQ(CloseDatabase(&handle), PdbStatus::kOk);
  ASSERT_EQ(OpenDatabase(stream, &handle), PdbStatus::kOk);
  const std::uint8_t* bytes = &stream.bytes()[0];
  std::uint32_t size = 9;
  EXPECT_EQ(ReadAppInfoBlock(*handle, &bytes, &size), PdbStatus::kOk);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(bytes, nullptr);
  EXPECT_EQ(GetSortInfoSize(*handle, &size), PdbStatus::kOk);
  EXPECT_EQ(size, 0u);
  static_cast<void>(CloseDatabase(&handle));
}

TEST(StorageEstimateTest, RoundsEntriesAndBlocksToTheBlockSize) {
  MemoryStream stream;
  DatabasePtr handle;
  CreateParams params = MapParams(3);
  params.attributes = 0;  // a record database, so that one entry can be empty
  ASSERT_EQ(CreateDatabase(stream, params, &handle), PdbStatus::kOk);
  const std::vector<std::uint8_t> app = Payload(5);
  ASSERT_EQ(WriteAppInfoBlock(*handle, app.data(), 5), PdbStatus::kOk);
  const std::vector<std::uint8_t> data = Payload(20);
  RecordInfo record;
  record.size = 20;
  ASSERT_EQ(AddRecord(*handle, record, data.data()), PdbStatus::kOk);
  record.size = 0;
  ASSERT_EQ(AddRecord(*handle, record, nullptr), PdbStatus::kOk);
  record.size = 17;
  ASSERT_EQ(AddRecord(*handle, record, data.data()), PdbStatus::kOk);
  ASSERT_EQ(CloseDatabase(&handle), PdbStatus::kOk);

  ASSERT_EQ(OpenDatabase(stream, &handle), PdbStatus::kOk);
  StorageEstimate estimate;
  ASSERT_EQ(EstimateStorage(*handle, 16, &estimate), PdbStatus::kOk);
  EXPECT_EQ(estimate.empty_records, 1u);
  EXPECT_EQ(estimate.rounded_entry_bytes, 32u + 0 + 32);
  EXPECT_EQ(estimate.app_info_size, 5u);
  EXPECT_EQ(estimate.sort_info_size, 0u);
  // round_up(104, 16) + 8, round_up(5, 16) + 8, 8 bytes per non-empty entry,
  // then the rounded sizes.
  EXPECT_EQ(estimate.handheld_bytes, (112u + 8) + (16 + 8) + 8 * 2 + 64);
  static_cast<void>(CloseDatabase(&handle));
}

class DatabaseFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = kv::MakeTempFolder("kv_pdb_test_");
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // A one-resource map file in the test's folder.
  CreateParams WriteMapFile() {
    CreateParams params = MapParams(1);
    params.path = (dir_ / "map.prc").string();
    DatabasePtr handle;
    EXPECT_EQ(CreateDatabaseFile(params, &handle), PdbStatus::kOk);
    ResourceInfo info{3, kTbmp, 1};
    const std::vector<std::uint8_t> data = Payload(3);
    EXPECT_EQ(AddResource(*handle, info, data.data()), PdbStatus::kOk);
    EXPECT_EQ(CloseDatabase(&handle), PdbStatus::kOk);
    return params;
  }

  std::filesystem::path dir_;
};

TEST_F(DatabaseFileTest, CreatedFileIsClosedAndReopened) {
  const CreateParams params = WriteMapFile();
  DatabasePtr handle;
  EXPECT_EQ(std::filesystem::file_size(params.path), 93u);

  ASSERT_EQ(OpenDatabaseFile(params.path, &handle), PdbStatus::kOk);
  DatabaseInfo db;
  ASSERT_EQ(ReadDatabaseInfo(*handle, &db), PdbStatus::kOk);
  EXPECT_EQ(db.path, params.path);
  EXPECT_EQ(CloseDatabase(&handle), PdbStatus::kOk);
}

TEST_F(DatabaseFileTest, AbortRemovesTheCreatedFileOnly) {
  CreateParams params = MapParams(1);
  params.path = (dir_ / "map.prc").string();
  DatabasePtr handle;
  ASSERT_EQ(CreateDatabaseFile(params, &handle), PdbStatus::kOk);
  EXPECT_EQ(AbortDatabase(&handle), PdbStatus::kOk);
  EXPECT_FALSE(std::filesystem::exists(params.path));

  // A file only opened for reading survives an abort.
  params.entry_count = 0;
  ASSERT_EQ(CreateDatabaseFile(params, &handle), PdbStatus::kOk);
  ASSERT_EQ(CloseDatabase(&handle), PdbStatus::kOk);
  ASSERT_EQ(OpenDatabaseFile(params.path, &handle), PdbStatus::kOk);
  EXPECT_EQ(AbortDatabase(&handle), PdbStatus::kOk);
  EXPECT_TRUE(std::filesystem::exists(params.path));
}

TEST_F(DatabaseFileTest, MissingFilesAndFoldersGiveTheirStatuses) {
  DatabasePtr handle;
  EXPECT_EQ(OpenDatabaseFile((dir_ / "missing.prc").string(), &handle), PdbStatus::kOpenFailed);
  CreateParams params = MapParams(1);
  params.path = (dir_ / "no" / "such" / "folder.prc").string();
  EXPECT_EQ(CreateDatabaseFile(params, &handle), PdbStatus::kCreateFailed);
  EXPECT_FALSE(handle);
}

TEST_F(DatabaseFileTest, InvalidFileIsRefusedOnOpen) {
  const std::string path = (dir_ / "bad.prc").string();
  std::ofstream(path, std::ios::binary) << std::string(81, '\0');
  DatabasePtr handle;
  EXPECT_EQ(OpenDatabaseFile(path, &handle), PdbStatus::kInvalidFile);
  EXPECT_FALSE(handle);
}

TEST_F(DatabaseFileTest, RewriteHeaderChangesOnlyItsFields) {
  const CreateParams params = WriteMapFile();
  DatabasePtr handle;

  ASSERT_EQ(
      RewriteDatabaseHeader(params.path, 7, FourCharCode("ABCD"), FourCharCode("WXYZ"), "12345"),
      PdbStatus::kOk);
  ASSERT_EQ(OpenDatabaseFile(params.path, &handle), PdbStatus::kOk);
  DatabaseInfo db;
  ASSERT_EQ(ReadDatabaseInfo(*handle, &db), PdbStatus::kOk);
  EXPECT_EQ(db.version, 7);
  EXPECT_EQ(db.creator, FourCharCode("ABCD"));
  EXPECT_EQ(db.type, FourCharCode("WXYZ"));
  EXPECT_EQ(db.unique_id_seed, 12345u);
  EXPECT_STREQ(db.name, "Test map");
  EXPECT_EQ(db.creation_time, 1000000000);
  static_cast<void>(CloseDatabase(&handle));

  EXPECT_EQ(RewriteDatabaseHeader((dir_ / "missing").string(), 1, 1, 1, "1"),
            PdbStatus::kOpenFailed);
}

}  // namespace
}  // namespace kv
