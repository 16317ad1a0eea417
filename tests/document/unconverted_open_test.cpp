// An image opened without the conversion is shown as it is, and saving
// converts it first: the handheld reads only converted maps.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "bitmap/conversion_front.h"
#include "bitmap/palm/palm_bitmap_format.h"
#include "document/command_ids.h"
#include "document_fixture.h"
#include "map/map_layout.h"
#include "pdb/big_endian.h"
#include "pdb/database.h"
#include "pdb/file_stream.h"
#include "progress_ui.h"

namespace kv::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPalmToPnm = "/usr/bin/palmtopnm";

// Maps written now carry this time, so that two saves can be compared.
class FixedWriteTime {
 public:
  FixedWriteTime() { setenv("SOURCE_DATE_EPOCH", "1700000000", 1); }
  ~FixedWriteTime() { unsetenv("SOURCE_DATE_EPOCH"); }
};

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
}

// The bytes of every "Tbmp" resource of the map, in file order.
std::vector<std::vector<std::uint8_t>> BitmapResources(const std::string& path) {
  std::vector<std::vector<std::uint8_t>> bitmaps;
  DatabasePtr database;
  if (OpenDatabaseFile(path, &database) != PdbStatus::kOk) return bitmaps;
  DatabaseInfo info;
  if (ReadDatabaseInfo(*database, &info) != PdbStatus::kOk) return bitmaps;
  for (std::uint32_t i = 0; i < info.entry_count; ++i) {
    ResourceInfo resource;
    const std::uint8_t* bytes = nullptr;
    if (ReadResource(*database, i, &resource, &bytes) != PdbStatus::kOk) break;
    if (resource.type == kBitmapResourceType) bitmaps.emplace_back(bytes, bytes + resource.size);
  }
  static_cast<void>(CloseDatabase(&database));
  return bitmaps;
}

// Our custom colour tables carry index byte 0 in every entry, and palmtopnm
// looks entries up by that byte: the copy handed to it numbers them by
// position.
std::vector<std::uint8_t> NumberTableEntries(std::vector<std::uint8_t> record) {
  if ((DecodeBig16(&record[6]) & kBitmapFlagHasColorTable) == 0) return record;
  const std::size_t count = DecodeBig16(&record[16]);
  for (std::size_t i = 0; i < count; ++i) record[18 + 4 * i] = static_cast<std::uint8_t>(i);
  return record;
}

// netpbm's reading of a Palm bitmap record as rows of red, green, blue.
::testing::AssertionResult PeerDecode(const TempFolder& dir,
                                      const std::vector<std::uint8_t>& record, RgbImage* image) {
  const std::string input = dir.Write("tile.palm", NumberTableEntries(record));
  const std::string output = dir.File("tile.ppm");
  const std::string command = std::string(kPalmToPnm) + " '" + input + "' > '" + output + "'";
  if (std::system(command.c_str()) != 0) return ::testing::AssertionFailure() << "palmtopnm failed";
  const std::vector<std::uint8_t> ppm = ReadBytes(output);
  // P6, width, height, 255, one white space, then the samples.
  std::string header(ppm.begin(), ppm.begin() + std::min<std::size_t>(ppm.size(), 32));
  int width = 0, height = 0, maxval = 0, consumed = 0;
  if (std::sscanf(header.c_str(), "P6 %d %d %d%n", &width, &height, &maxval, &consumed) != 3 ||
      maxval != 255) {
    return ::testing::AssertionFailure() << "not a P6 picture: " << header;
  }
  image->width = width;
  image->height = height;
  image->rgb.assign(ppm.begin() + consumed + 1, ppm.end());
  return ::testing::AssertionSuccess();
}

class UnconvertedOpenTest : public DocumentTest {
 protected:
  ProgressUi work_ui_;
};

TEST_F(UnconvertedOpenTest, AnOpenedImageIsShownUnconvertedWithItsSize) {
  const std::string bmp = WriteBmp("area.bmp", 330, 140);
  auto document = CDocument::FromFile(app_, work_ui_, bmp, true);
  EXPECT_TRUE(work_ui_.failures.empty());
  ASSERT_EQ(document->container().image_count(), 1u);
  const CImage* image = document->image_list().current();
  ASSERT_NE(image, nullptr);
  ASSERT_TRUE(image->unconverted_source());
  EXPECT_EQ(image->unconverted_source()->path, bmp);
  EXPECT_EQ(image->unconverted_source()->width, 330);
  EXPECT_EQ(image->unconverted_source()->height, 140);
  EXPECT_TRUE(image->bitmap().bytes.empty());
  EXPECT_EQ(image->name(), "area");
  // What the calibration dialog works on.
  EXPECT_EQ(app_.calibration.width, 330);
  EXPECT_EQ(app_.calibration.height, 140);
  // Nothing was converted, so nothing shows progress.
  EXPECT_TRUE(work_ui_.shown.empty());

  // No depth is checked for an image without a bitmap; the entry is there.
  for (const MenuItemState& item : document->MenuState()) {
    if (item.command == kCmdToggleCompression) continue;
    EXPECT_FALSE(item.checked) << item.command;
    EXPECT_TRUE(item.enabled) << item.command;
  }
  EXPECT_EQ(document->image_list().TotalBytes(), 0u);
}

TEST_F(UnconvertedOpenTest, SavingConvertsFirstAndWritesTheMapAnImportWrites) {
  const FixedWriteTime fixed;
  app_.settings.colourDepth = 8;
  const std::string bmp = WriteBmp("area.bmp", 330, 140);
  fs::create_directories(dir_.File("opened"));
  fs::create_directories(dir_.File("imported"));
  const std::string opened_map = dir_.File("opened/area.prc");
  const std::string imported_map = dir_.File("imported/area.prc");

  CDocument opened(app_, work_ui_, true);
  ASSERT_EQ(opened.ImportSourceImage(bmp, true, false), 0);
  ASSERT_EQ(opened.SaveAs(opened_map), 0);
  EXPECT_TRUE(work_ui_.failures.empty());
  EXPECT_FALSE(work_ui_.shown.empty());
  EXPECT_DOUBLE_EQ(work_ui_.shown.back().Fraction(), 1.0);
  // The document now holds the converted map it saved.
  EXPECT_FALSE(opened.container().HasUnconvertedImages());
  EXPECT_EQ(opened.container().image_count(), 7u);
  EXPECT_FALSE(opened.container().IsModified());
  EXPECT_TRUE(opened.saved());

  CDocument imported(app_, work_ui_, true);
  ASSERT_EQ(imported.ImportSourceImage(bmp, true, true), 0);
  ASSERT_EQ(imported.SaveAs(imported_map), 0);
  EXPECT_EQ(ReadBytes(opened_map), ReadBytes(imported_map));

  std::unique_ptr<FileStream> stream = FileStream::Open(opened_map, "rb");
  ASSERT_TRUE(stream);
  EXPECT_EQ(ValidateDatabaseFile(*stream), PdbStatus::kOk);

  const std::vector<std::vector<std::uint8_t>> bitmaps = BitmapResources(opened_map);
  ASSERT_EQ(bitmaps.size(), 7u);
  RgbImage ours = DecodePalmBitmapRgb(bitmaps[5]);  // tile 320 0: the cut edge
  RgbImage peer;
  ASSERT_TRUE(PeerDecode(dir_, bitmaps[5], &peer));
  EXPECT_EQ(peer.width, 10);
  EXPECT_EQ(peer.height, 131);
  EXPECT_EQ(peer.width, ours.width);
  EXPECT_EQ(peer.height, ours.height);
  EXPECT_EQ(peer.rgb, ours.rgb);
}

TEST_F(UnconvertedOpenTest, TheDepthPickedBeforeSavingIsTheDepthSaved) {
  const std::string bmp = WriteBmp("area.bmp", 200, 140);
  CDocument document(app_, work_ui_, true);
  ASSERT_EQ(document.ImportSourceImage(bmp, true, false), 0);
  bool handled = false;
  ASSERT_EQ(document.HandleCommand(kCmdDepth4, &handled), 0);
  EXPECT_TRUE(work_ui_.failures.empty());
  EXPECT_EQ(app_.settings.colourDepth, 4);
  ASSERT_EQ(document.SaveAs(dir_.File("area.prc")), 0);
  for (const auto& image : document.container().images()) {
    EXPECT_EQ(image->bitmap().depth, 4) << image->name();
  }
}

TEST_F(UnconvertedOpenTest, ExportingTheCalibrationLeavesTheImageUnconverted) {
  const std::string bmp = WriteBmp("area.bmp", 200, 140);
  CDocument document(app_, work_ui_, true);
  ASSERT_EQ(document.ImportSourceImage(bmp, true, false), 0);
  work_ui_.answers.push_back(Answer::kYes);
  ASSERT_TRUE(document.ConfirmCalibrationExport());
  ASSERT_EQ(document.ExportCalibration(dir_.File("area.kvm")), 0);
  EXPECT_TRUE(document.container().HasUnconvertedImages());
  EXPECT_EQ(document.container().image_count(), 1u);
}

}  // namespace
}  // namespace kv::testing
