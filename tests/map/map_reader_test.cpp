#include "map/map_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "base/exceptions.h"
#include "bitmap/palm/bitmap_compression.h"
#include "bitmap/palm/palm_bitmap_format.h"
#include "bitmap/palm/palm_bitmap_parser.h"
#include "map/corner_text.h"
#include "map/map_layout.h"
#include "map/map_writer.h"
#include "map_fixtures.h"
#include "pdb/memory_stream.h"
#include "pdb/palm_time.h"

namespace kv {
namespace {

using testing::FakeBitmapRecord;
using testing::FakeImage;

// Builds a resource database from (type, ID, bytes) rows, in order.
struct RawResource {
  const char* type;
  std::uint16_t id;
  std::vector<std::uint8_t> bytes;
};

MemoryStream RawMap(const std::vector<RawResource>& resources,
                    std::uint32_t type = kMapDatabaseType) {
  MemoryStream stream;
  CreateParams params;
  params.name = "raw";
  params.attributes = kMapDatabaseAttributes;
  params.creation_time = 1600000000;
  params.type = type;
  params.entry_count = static_cast<std::uint32_t>(resources.size());
  DatabasePtr handle;
  EXPECT_EQ(CreateDatabase(stream, params, &handle), PdbStatus::kOk);
  for (const RawResource& r : resources) {
    ResourceInfo info;
    info.type = (std::uint32_t{static_cast<unsigned char>(r.type[0])} << 24) |
                (std::uint32_t{static_cast<unsigned char>(r.type[1])} << 16) |
                (std::uint32_t{static_cast<unsigned char>(r.type[2])} << 8) |
                static_cast<unsigned char>(r.type[3]);
    info.id = r.id;
    info.size = static_cast<std::uint32_t>(r.bytes.size());
    EXPECT_EQ(AddResource(*handle, info, r.bytes.data()), PdbStatus::kOk);
  }
  EXPECT_EQ(CloseDatabase(&handle), PdbStatus::kOk);
  return stream;
}

std::vector<std::uint8_t> Text(const std::string& text, std::size_t size) {
  std::vector<std::uint8_t> bytes(size, 0);
  std::copy(text.begin(), text.end(), bytes.begin());
  return bytes;
}

// FakeBitmapRecord with its rows scanline-compressed (one colour always
// compresses).
std::vector<std::uint8_t> CompressedBitmapRecord(std::uint8_t fill) {
  PalmBitmapDescriptor bitmap;
  EXPECT_EQ(ParsePalmBitmap(FakeBitmapRecord(160, 131, 8, fill), &bitmap), ConversionStatus::kOk);
  CompressPalmBitmap(&bitmap, kCompressWhenSmaller);
  EXPECT_TRUE(bitmap.IsCompressed());
  OutputBuffer out;
  EXPECT_EQ(SerialisePalmBitmap(bitmap, &out), ConversionStatus::kOk);
  return out.bytes;
}

class MapReaderTest : public ::testing::Test {
 protected:
  void Read(MemoryStream& stream, const CornerTextFormatter& format = nullptr) {
    ReadMapDatabase(stream, read_, settings_, format);
  }
  CImageContainer read_{"Map", nullptr};
  ConversionSettings settings_;
};

TEST_F(MapReaderTest, WrittenMapReadsBackTheSame) {
  CImageContainer original("Map", nullptr);
  CImage& first = original.AddImage(FakeImage(1));
  first.SetName("Earth");
  first.set_date(PalmDateFromUnix(1700000000));
  first.set_map_size(2048, 1024);
  first.set_corner_text(kTopLeftLongitude, "W180 00.000000");
  first.set_corner_text(kBottomRightLatitude, "S90 00.000000");
  const std::string calibration = "CALIBRATION\n";
  first.SetCalibration(reinterpret_cast<const std::uint8_t*>(calibration.c_str()),
                       calibration.size() + 1);
  original.AddImage(FakeImage(2)).SetName("tile names are not stored");
  original.preserved_resources().push_back({ResourceInfo{2, FourCharCode("XTRA"), 4}, {1, 2}});
  MemoryStream stream;
  WriteMapDatabase(original, stream, "earth", 1700000000);

  Read(stream);
  ASSERT_EQ(read_.image_count(), 2u);
  const CImage& image = *read_.ImageAt(0);
  EXPECT_EQ(image.name(), "Earth");
  EXPECT_EQ(image.resource_id(), 1);
  EXPECT_EQ(image.date(), PalmDateFromUnix(1700000000));
  EXPECT_EQ(image.map_width(), 2048u);
  EXPECT_EQ(image.map_height(), 1024u);
  EXPECT_EQ(image.corner_text(kTopLeftLongitude), "W180 00.000000");
  EXPECT_EQ(image.corner_text(kTopLeftLatitude), "");
  EXPECT_EQ(image.corner_text(kBottomRightLatitude), "S90 00.000000");
  EXPECT_EQ(image.calibration(), first.calibration());
  EXPECT_EQ(image.bitmap().bytes, first.bitmap().bytes);
  EXPECT_EQ(image.bitmap().depth, 8);
  EXPECT_EQ(read_.ImageAt(1)->name(), "");
  EXPECT_EQ(read_.ImageAt(1)->resource_id(), 2);
  ASSERT_EQ(read_.preserved_resources().size(), 1u);
  EXPECT_EQ(read_.preserved_resources()[0].info.type, FourCharCode("XTRA"));

  // Written again, it is the same file.
  MemoryStream again;
  WriteMapDatabase(read_, again, "earth", 1700000000);
  EXPECT_EQ(again.bytes(), stream.bytes());
}

TEST_F(MapReaderTest, CornerTextsAreWrittenInTheProgramsForm) {
  MemoryStream stream = RawMap({{"Tbmp", 1, FakeBitmapRecord(20, 20, 8, 1)},
                                {"TLLT", 1, Text("47.5", 34)},
                                {"TLLG", 1, Text("-8.25", 34)}});
  Read(stream, [](std::string_view text, bool latitude) {
    return std::string(latitude ? "lat " : "lon ") + std::string(text);
  });
  EXPECT_EQ(read_.ImageAt(0)->corner_text(kTopLeftLatitude), "lat 47.5");
  EXPECT_EQ(read_.ImageAt(0)->corner_text(kTopLeftLongitude), "lon -8.25");
}

TEST_F(MapReaderTest, MetadataGoesOnlyToTheBitmapAtIndexZero) {
  MemoryStream stream = RawMap({{"XTRA", 1, {1}},
                                {"Tbmp", 1, FakeBitmapRecord(20, 20, 8, 1)},
                                {"DESC", 1, Text("dropped", 34)},
                                {"Tbmp", 2, FakeBitmapRecord(20, 20, 8, 2)},
                                {"DESC", 2, Text("also dropped", 34)},
                                {"DESC", 9, Text("kept", 34)},
                                {"ABCD", 1, {7}}});
  Read(stream);
  ASSERT_EQ(read_.image_count(), 2u);
  EXPECT_EQ(read_.ImageAt(0)->name(), "");
  EXPECT_EQ(read_.ImageAt(0)->date(), 0u);
  std::vector<std::uint32_t> preserved;
  for (const auto& resource : read_.preserved_resources()) preserved.push_back(resource.info.type);
  EXPECT_THAT(preserved, ::testing::ElementsAre(FourCharCode("XTRA"), FourCharCode("DESC"),
                                                FourCharCode("ABCD")));
  EXPECT_EQ(read_.preserved_resources()[1].info.id, 9);
}

TEST_F(MapReaderTest, MissingDateFallsBackToTheCreationTime) {
  MemoryStream stream = RawMap({{"Tbmp", 4, FakeBitmapRecord(20, 20, 8, 1)}});
  Read(stream);
  EXPECT_EQ(read_.ImageAt(0)->date(), PalmTimeFromUnix(1600000000));
  EXPECT_EQ(read_.ImageAt(0)->map_width(), 0u);
}

TEST_F(MapReaderTest, CompressionIsOnWhenAnyBitmapIsStoredCompressed) {
  // A noisy last tile is stored plainly although compression was on.
  MemoryStream mixed = RawMap({{"Tbmp", 1, CompressedBitmapRecord(1)},
                               {"Tbmp", 2, CompressedBitmapRecord(2)},
                               {"Tbmp", 3, FakeBitmapRecord(160, 131, 8, 3)}});
  settings_.compressBitmaps = false;
  Read(mixed);
  EXPECT_TRUE(settings_.compressBitmaps);

  MemoryStream plain = RawMap({{"Tbmp", 1, FakeBitmapRecord(160, 131, 8, 1)},
                               {"Tbmp", 2, FakeBitmapRecord(160, 131, 8, 2)}});
  CImageContainer again("Map", nullptr);
  ReadMapDatabase(plain, again, settings_, nullptr);
  EXPECT_FALSE(settings_.compressBitmaps);
}

TEST_F(MapReaderTest, NoBitmapsGiveAnEmptyContainerThatCannotBeWritten) {
  MemoryStream stream = RawMap({{"DESC", 1, Text("x", 34)}, {"MCAL", 1, {1, 2}}});
  Read(stream);
  EXPECT_EQ(read_.image_count(), 0u);
  EXPECT_EQ(read_.preserved_resources().size(), 2u);
  MemoryStream out;
  EXPECT_THROW(WriteMapDatabase(read_, out, "x", 1), ErrFileWrite);
}

TEST_F(MapReaderTest, RefusesWhatIsNotAMap) {
  MemoryStream short_file(std::vector<std::uint8_t>(79, 0));
  EXPECT_THROW(Read(short_file), ErrNotOurFile);
  MemoryStream other_type =
      RawMap({{"Tbmp", 1, FakeBitmapRecord(20, 20, 8, 1)}}, FourCharCode("appl"));
  EXPECT_THROW(Read(other_type), ErrUnknown);
}

TEST_F(MapReaderTest, TruncatedBitmapIsCorrupt) {
  MemoryStream stream = RawMap({{"Tbmp", 1, {1, 2, 3}}});
  EXPECT_THROW(Read(stream), ErrImageFileCorrupt);
}

// The bytes of the first resource of `type` in a written map.
std::string StoredBytes(MemoryStream& stream, std::uint32_t type) {
  DatabasePtr handle;
  EXPECT_EQ(OpenDatabase(stream, &handle, nullptr), PdbStatus::kOk);
  std::int32_t index = -1;
  EXPECT_EQ(FindResource(*handle, type, 1, &index), PdbStatus::kOk);
  ResourceInfo info;
  const std::uint8_t* bytes = nullptr;
  EXPECT_EQ(ReadResource(*handle, static_cast<std::uint32_t>(index), &info, &bytes),
            PdbStatus::kOk);
  std::string text(reinterpret_cast<const char*>(bytes), info.size);
  EXPECT_EQ(CloseDatabase(&handle), PdbStatus::kOk);
  return text.substr(0, text.find('\0'));
}

TEST_F(MapReaderTest, TextsAreStoredInWindows1252AndReadBackAsTyped) {
  CImageContainer original("Map", nullptr);
  CImage& first = original.AddImage(FakeImage(1));
  first.SetName("Zürich Ä–Ö " + std::string(40, 'x'));
  EXPECT_EQ(first.name(), "Zürich Ä–Ö " + std::string(20, 'x'));  // 31 characters
  const std::string calibration = "datum1=7=Genève#\nproj_mode=7=GCP\n";
  first.SetCalibration(reinterpret_cast<const std::uint8_t*>(calibration.c_str()),
                       calibration.size() + 1);
  MemoryStream stream;
  WriteMapDatabase(original, stream, "Zürich", 1700000000);

  EXPECT_EQ(StoredBytes(stream, kNameResourceType),
            "Z\xFCrich \xC4\x96\xD6 " + std::string(20, 'x'));
  EXPECT_EQ(StoredBytes(stream, kCalibrationResourceType),
            "datum1=7=Gen\xE8ve#\nproj_mode=7=GCP\n");
  DatabasePtr handle;
  ASSERT_EQ(OpenDatabase(stream, &handle, nullptr), PdbStatus::kOk);
  DatabaseInfo info;
  ASSERT_EQ(ReadDatabaseInfo(*handle, &info), PdbStatus::kOk);
  EXPECT_STREQ(info.name, "Z\xFCrich");
  EXPECT_EQ(CloseDatabase(&handle), PdbStatus::kOk);

  Read(stream);
  EXPECT_EQ(read_.ImageAt(0)->name(), first.name());
  EXPECT_EQ(read_.ImageAt(0)->calibration(), first.calibration());
}

TEST_F(MapReaderTest, NamesOfOlderMapsInUtf8StillRead) {
  struct Case {
    std::string stored;
    std::string name;
  };
  std::string fifteen_a_umlauts;
  for (int i = 0; i < 15; ++i) fifteen_a_umlauts += "ä";
  const Case cases[] = {
      {"Z\xC3\xBCrich", "Zürich"},
      // Cut inside its last character by the old byte limit of 31.
      {fifteen_a_umlauts + "\xC3", fifteen_a_umlauts},
  };
  for (const Case& c : cases) {
    MemoryStream stream = RawMap({{"Tbmp", 1, FakeBitmapRecord(20, 20, 8, 1)},
                                  {"DESC", 1, Text(c.stored, 34)},
                                  {"MCAL", 1, Text("datum1=7=Gen\xC3\xA8ve#\n", 2048)}});
    CImageContainer read("Map", nullptr);
    ReadMapDatabase(stream, read, settings_, nullptr);
    EXPECT_EQ(read.ImageAt(0)->name(), c.name);
    const auto& bytes = read.ImageAt(0)->calibration();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data())), "datum1=7=Genève#\n");
  }
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

TEST(CornerTextTest, ReadsAnyPositionAndWritesTheStoredForm) {
  struct Row {
    const char* text;
    bool latitude;
    const char* expected;
  };
  const Row rows[] = {
      {"N47 30.5", true, "N47 30.500000"},     {"S5 0.25", true, "S05 00.250000"},
      {"-8.25", false, "W008 15.000000"},      {"E179 59.999999", false, "E179 59.999999"},
      {"47.508333333", true, "N47 30.499999"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(NormaliseCornerText(row.text, row.latitude), row.expected) << row.text;
  }
}

}  // namespace
}  // namespace kv
