#include "map/map_writer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/exceptions.h"
#include "map/map_layout.h"
#include "map_fixtures.h"
#include "pdb/big_endian.h"
#include "pdb/memory_stream.h"

namespace kv {
namespace {

using ::testing::ElementsAre;
using testing::FakeImage;

struct Entry {
  std::string type;
  std::uint16_t id;
  std::uint32_t size;
  std::vector<std::uint8_t> bytes;
};

std::string TypeText(std::uint32_t type) {
  std::string text(4, ' ');
  for (int i = 0; i < 4; ++i) text[i] = static_cast<char>(type >> (24 - 8 * i));
  return text;
}

std::vector<Entry> Entries(MemoryStream& stream) {
  DatabasePtr handle;
  EXPECT_EQ(OpenDatabase(stream, &handle), PdbStatus::kOk);
  std::vector<Entry> entries;
  for (std::uint32_t i = 0; handle && i < handle->entry_count; ++i) {
    ResourceInfo info;
    const std::uint8_t* bytes = nullptr;
    EXPECT_EQ(ReadResource(*handle, i, &info, &bytes), PdbStatus::kOk);
    entries.push_back({TypeText(info.type), info.id, info.size, {bytes, bytes + info.size}});
  }
  if (handle) static_cast<void>(CloseDatabase(&handle));
  return entries;
}

class MapWriterTest : public ::testing::Test {
 protected:
  CImageContainer container_{"Map", nullptr};
  MemoryStream stream_;
};

TEST_F(MapWriterTest, OneImageGivesTwelveResourcesWithItsId) {
  CImage& image = container_.AddImage(FakeImage(7));
  image.SetName("Earth");
  image.set_date(0x01020304);
  image.set_map_size(2048, 1024);
  image.set_corner_text(kTopLeftLatitude, "90 00.0000 N");
  WriteMapDatabase(container_, stream_, "earth", 1700000000);

  std::vector<Entry> entries = Entries(stream_);
  std::vector<std::string> types;
  for (const Entry& e : entries) {
    types.push_back(e.type);
    EXPECT_EQ(e.id, 1);
  }
  EXPECT_THAT(types, ElementsAre("Tbmp", "DESC", "DATE", "ORWD", "ORHT", "TLLG", "TLLT", "BRLG",
                                 "BRLT", "MCAL", "MVEH", "MATT"));
  EXPECT_EQ(DecodeBig32(&stream_.bytes()[78 + 6]), 200u);
  EXPECT_EQ(entries[1].size, 34u);
  EXPECT_STREQ(reinterpret_cast<const char*>(entries[1].bytes.data()), "Earth");
  EXPECT_THAT(entries[2].bytes, ElementsAre(1, 2, 3, 4));
  EXPECT_THAT(entries[3].bytes, ElementsAre(0, 0, 8, 0));
  EXPECT_EQ(entries[6].size, 34u);
  EXPECT_STREQ(reinterpret_cast<const char*>(entries[6].bytes.data()), "90 00.0000 N");
  EXPECT_EQ(entries[9].bytes, std::vector<std::uint8_t>(2048, 0));
  EXPECT_EQ(entries[10].bytes, std::vector<std::uint8_t>(100, 0));
  EXPECT_THAT(entries[11].bytes, ElementsAre(0, 0, 0, 0));
}

TEST_F(MapWriterTest, HeaderMarksAMapDatabase) {
  container_.AddImage(FakeImage(7));
  WriteMapDatabase(container_, stream_, std::string(40, 'n'), 1700000000);
  DatabasePtr handle;
  ASSERT_EQ(OpenDatabase(stream_, &handle), PdbStatus::kOk);
  DatabaseInfo info;
  ASSERT_EQ(ReadDatabaseInfo(*handle, &info), PdbStatus::kOk);
  EXPECT_EQ(std::string(info.name), std::string(31, 'n'));
  EXPECT_EQ(info.attributes, 0x0009);
  EXPECT_EQ(info.version, 3);
  EXPECT_EQ(info.creation_time, 1700000000);
  EXPECT_EQ(info.modification_time, info.creation_time);
  EXPECT_EQ(info.backup_time, 0);
  EXPECT_EQ(info.type, kMapDatabaseType);
  EXPECT_EQ(info.creator, kMapDatabaseCreator);
  static_cast<void>(CloseDatabase(&handle));
}

TEST_F(MapWriterTest, CalibrationIsStoredWithItsPadding) {
  CImage& image = container_.AddImage(FakeImage(7));
  std::vector<std::uint8_t> text(3001, 'k');
  text.back() = 0;
  image.SetCalibration(text.data(), text.size());
  WriteMapDatabase(container_, stream_, "cal", 1);
  const Entry mcal = Entries(stream_)[9];
  EXPECT_EQ(mcal.type, "MCAL");
  ASSERT_EQ(mcal.size, 3002u);
  EXPECT_EQ(mcal.bytes[2999], 'k');
  EXPECT_EQ(mcal.bytes[3000], 0);
  EXPECT_EQ(mcal.bytes[3001], 0);
}

TEST_F(MapWriterTest, OnlyTheFirstImageCarriesMetadataAndPreservedResourcesComeLast) {
  container_.AddImage(FakeImage(1, 0));  // read from a map with ID 0
  CImage& second = container_.AddImage(FakeImage(2));
  second.SetName("lost");
  second.set_corner_text(kTopLeftLatitude, "10 00.0000 N");
  container_.preserved_resources().push_back({ResourceInfo{3, FourCharCode("XTRA"), 9}, {9, 8, 7}});
  container_.preserved_resources().push_back({ResourceInfo{1, FourCharCode("DESC"), 77}, {5}});
  WriteMapDatabase(container_, stream_, "two", 1);

  std::vector<Entry> entries = Entries(stream_);
  ASSERT_EQ(entries.size(), 2u + 11 + 2);
  EXPECT_EQ(entries[0].id, 0);
  EXPECT_EQ(entries[12].type, "Tbmp");
  EXPECT_EQ(entries[12].id, 2);  // beside an existing 0 the first new ID is 2
  EXPECT_EQ(second.resource_id(), 2);
  EXPECT_EQ(entries[13].type, "XTRA");
  EXPECT_THAT(entries[13].bytes, ElementsAre(9, 8, 7));
  EXPECT_EQ(entries[14].type, "DESC");
  EXPECT_EQ(entries[14].id, 77);
}

TEST_F(MapWriterTest, WritingTwiceGivesTheSameIds) {
  container_.AddImage(FakeImage(1));
  container_.AddImage(FakeImage(2));
  WriteMapDatabase(container_, stream_, "a", 5);
  MemoryStream again;
  WriteMapDatabase(container_, again, "a", 5);
  EXPECT_EQ(stream_.bytes(), again.bytes());
}

TEST_F(MapWriterTest, EmptyContainerFailsAfterTheHeader) {
  EXPECT_THROW(WriteMapDatabase(container_, stream_, "empty", 1), ErrFileWrite);
  EXPECT_EQ(stream_.bytes().size(), 80u + 11 * 10);
}

TEST_F(MapWriterTest, EmptyBitmapIsAnUnknownError) {
  container_.AddImage(std::make_unique<CImage>());
  EXPECT_THROW(WriteMapDatabase(container_, stream_, "empty", 1), ErrUnknown);
}

}  // namespace
}  // namespace kv
