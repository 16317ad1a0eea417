#include "document/conversion_options_model.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

ConversionSettings Settings(int depth, bool compress, ScaleRatio scale = {}) {
  ConversionSettings settings;
  settings.colourDepth = depth;
  settings.compressBitmaps = compress;
  settings.scale = scale;
  return settings;
}

TEST(ConversionOptionsModel, OpensAtFullScaleWhateverWasChosenBefore) {
  const ConversionOptionsFields fields =
      OpenConversionOptions("Harbour", Settings(8, true, ScaleRatio{1, 2}));
  EXPECT_EQ(fields.scale_entry, 0);
  EXPECT_EQ(fields.map_name, "Harbour");
  EXPECT_TRUE(fields.compress);
}

TEST(ConversionOptionsModel, OpensOnTheEntryOfTheCurrentDepth) {
  const struct {
    int depth;
    int entry;
  } kRows[] = {{16, 0}, {8, 1}, {4, 2}, {2, 3}, {1, 4}, {24, 0}, {0, 0}, {3, 0}};
  for (const auto& row : kRows) {
    EXPECT_EQ(OpenConversionOptions("m", Settings(row.depth, false)).depth_entry, row.entry)
        << row.depth;
  }
}

TEST(ConversionOptionsModel, OkSetsScaleDepthAndCompression) {
  const struct {
    int scale_entry;
    ScaleRatio scale;
    int depth_entry;
    int depth;
  } kRows[] = {{0, {1, 1}, 0, 16},
               {1, {1, 2}, 1, 8},
               {2, {1, 4}, 2, 4},
               {0, {1, 1}, 3, 2},
               {0, {1, 1}, 4, 1}};
  for (const auto& row : kRows) {
    std::string name = "old";
    ConversionSettings settings = Settings(16, true, ScaleRatio{1, 4});
    AcceptConversionOptions({"new", row.scale_entry, row.depth_entry, false}, &name, &settings);
    EXPECT_EQ(name, "new");
    EXPECT_EQ(settings.scale.scaleNum, row.scale.scaleNum) << row.scale_entry;
    EXPECT_EQ(settings.scale.scaleDen, row.scale.scaleDen) << row.scale_entry;
    EXPECT_EQ(settings.colourDepth, row.depth) << row.depth_entry;
    EXPECT_FALSE(settings.compressBitmaps);
  }
}

TEST(ConversionOptionsModel, NoSelectionKeepsTheScaleAndGivesEightBits) {
  std::string name;
  ConversionSettings settings = Settings(1, false, ScaleRatio{1, 2});
  AcceptConversionOptions({"m", kNoListEntry, kNoListEntry, true}, &name, &settings);
  EXPECT_EQ(settings.scale.scaleDen, 2);
  EXPECT_EQ(settings.colourDepth, 8);
  EXPECT_TRUE(settings.compressBitmaps);
}

TEST(ConversionOptionsModel, NameIsCutToTheMapsNameField) {
  const std::string exact(31, 'a');
  EXPECT_EQ(FittedMapName(exact), exact);
  EXPECT_EQ(FittedMapName(exact + "b"), exact);
  // "ü" is two bytes in UTF-8; at bytes 30 and 31 it would be cut in half.
  const std::string umlaut = std::string(30, 'a') + "\xC3\xBC";
  EXPECT_EQ(FittedMapName(umlaut), std::string(30, 'a'));
  std::string name;
  ConversionSettings settings;
  AcceptConversionOptions({exact + "tail", 0, 0, false}, &name, &settings);
  EXPECT_EQ(name, exact);
}

TEST(ConversionOptionsModel, DepthListNamesComeFromTheirStrings) {
  const auto& entries = DepthListEntries();
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0].name_id, 1014u);
  EXPECT_EQ(entries[3].name_id, 1048u);
  EXPECT_EQ(entries[4].name_id, 1049u);
  EXPECT_EQ(ScaleListTexts()[1], "50%");
}

}  // namespace
}  // namespace kv
