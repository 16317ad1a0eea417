#include "bitmap/bmp/bmp_pixel_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bitmap/bmp_fixture.h"

namespace kv {
namespace {

using testing::BmpParams;
using testing::MakeBmp;

constexpr int kWidth = 13;  // odd, and not a whole number of bytes at 1, 2 or 4 bits
constexpr int kHeight = 11;

std::vector<std::uint32_t> DistinctPalette(int depth) {
  std::vector<std::uint32_t> palette;
  for (std::uint32_t i = 0; i < (1u << depth); ++i)
    palette.push_back((0x10305u * (i + 1) ^ 0x804020u) & 0xFFFFFFu);
  return palette;
}

std::uint32_t StoredValue(int depth, int x, int y) {
  if (depth <= 8) return static_cast<std::uint32_t>(x * 3 + y * 5) % (1u << depth);
  if (depth == 16) return static_cast<std::uint32_t>(x * 2477 + y * 7919) & 0xFFFFu;
  return (static_cast<std::uint32_t>(x) * 0x0F1D2Bu + static_cast<std::uint32_t>(y) * 0x3A0407u) &
         0xFFFFFFu;
}

// The colour a stored value stands for, worked out by hand rather than by
// the reader's own code.
std::uint32_t ExpectedColour(int depth, const std::vector<std::uint32_t>& palette, int x, int y) {
  const std::uint32_t value = StoredValue(depth, x, y);
  if (depth <= 8) return palette[value];
  if (depth == 16) {
    const std::uint32_t red = (value >> 10) & 31, green = (value >> 5) & 31, blue = value & 31;
    return (red * 8) << 16 | (green * 8) << 8 | blue * 8;
  }
  return value;
}

std::vector<std::uint8_t> Image(int depth, bool top_down) {
  BmpParams params{.width = kWidth,
                   .height = kHeight,
                   .depth = static_cast<std::uint16_t>(depth),
                   .top_down = top_down};
  if (depth <= 8) params.palette = DistinctPalette(depth);
  return MakeBmp(params, [depth](int x, int y) { return StoredValue(depth, x, y); });
}

class BmpDepthTest : public ::testing::TestWithParam<int> {};

TEST_P(BmpDepthTest, BothRowOrdersReadTheSamePixels) {
  const int depth = GetParam();
  const auto palette = depth <= 8 ? DistinctPalette(depth) : std::vector<std::uint32_t>{};
  const auto bottom_up_bytes = Image(depth, false);
  const auto top_down_bytes = Image(depth, true);
  std::string message;
  BmpPixelReader bottom_up, top_down;
  ASSERT_EQ(bottom_up.SetUp(bottom_up_bytes, PixelMode::kColour, &message), ConversionStatus::kOk);
  ASSERT_EQ(top_down.SetUp(top_down_bytes, PixelMode::kColour, &message), ConversionStatus::kOk);
  EXPECT_EQ(bottom_up.Width(), kWidth);
  EXPECT_EQ(bottom_up.Height(), kHeight);
  EXPECT_EQ(bottom_up.Depth(), depth);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const std::uint32_t expected = ExpectedColour(depth, palette, x, y);
      ASSERT_EQ(bottom_up.Pixel(x, y), expected) << x << "," << y;
      ASSERT_EQ(top_down.Pixel(x, y), expected) << x << "," << y;
    }
  }
}

TEST_P(BmpDepthTest, IndexModeGivesStoredIndices) {
  const int depth = GetParam();
  const auto bytes = Image(depth, false);
  std::string message;
  BmpPixelReader reader;
  ASSERT_EQ(reader.SetUp(bytes, PixelMode::kIndex, &message), ConversionStatus::kOk);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      // Direct-colour pixels have no index: they stay colours.
      const std::uint32_t expected =
          depth <= 8 ? StoredValue(depth, x, y) : ExpectedColour(depth, {}, x, y);
      ASSERT_EQ(reader.Pixel(x, y), expected) << x << "," << y;
    }
  }
  reader.SetPixelMode(PixelMode::kColour);
  if (depth <= 8) {
    EXPECT_EQ(reader.Pixel(1, 0), DistinctPalette(depth)[3 % (1u << depth)]);
  }
}

TEST_P(BmpDepthTest, PaletteOnlyForIndexedDepths) {
  const int depth = GetParam();
  const auto bytes = Image(depth, false);
  std::string message;
  BmpPixelReader reader;
  ASSERT_EQ(reader.SetUp(bytes, PixelMode::kColour, &message), ConversionStatus::kOk);
  std::vector<std::uint32_t> entries{1, 2, 3};
  EXPECT_EQ(reader.Palette(&entries), ConversionStatus::kOk);
  if (depth <= 8) {
    EXPECT_EQ(reader.PaletteKind(), SourcePaletteKind::kBmpIndexed);
    EXPECT_EQ(entries, DistinctPalette(depth));
  } else {
    EXPECT_EQ(reader.PaletteKind(), SourcePaletteKind::kNone);
    EXPECT_TRUE(entries.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(AllDepths, BmpDepthTest, ::testing::Values(1, 2, 4, 8, 16, 24, 32));

TEST(BmpPixelReaderTest, SixteenBitPixelIsX1R5G5B5) {
  // The top bit is unused: 0xFC1F reads like 0x7C1F.
  for (std::uint32_t word : {0x7C1Fu, 0xFC1Fu}) {
    const auto bytes = MakeBmp({.depth = 16}, [word](int, int) { return word; });
    std::string message;
    BmpPixelReader reader;
    ASSERT_EQ(reader.SetUp(bytes, PixelMode::kColour, &message), ConversionStatus::kOk);
    EXPECT_EQ(bytes[54], 0x1F);
    EXPECT_EQ(reader.Pixel(4, 7), 0xF800F8u);
  }
}

TEST(BmpPixelReaderTest, IndicesBeyondAShortTableAreBlack) {
  const auto bytes = MakeBmp({.depth = 8, .colours_used = 2, .palette = {0xFF0000, 0x00FF00}},
                             [](int x, int) { return static_cast<std::uint32_t>(x); });
  std::string message;
  BmpPixelReader reader;
  ASSERT_EQ(reader.SetUp(bytes, PixelMode::kColour, &message), ConversionStatus::kOk);
  EXPECT_EQ(reader.Pixel(0, 0), 0xFF0000u);
  EXPECT_EQ(reader.Pixel(1, 0), 0x00FF00u);
  EXPECT_EQ(reader.Pixel(5, 0), 0u);
  std::vector<std::uint32_t> entries;
  ASSERT_EQ(reader.Palette(&entries), ConversionStatus::kOk);
  ASSERT_EQ(entries.size(), 256u);
  EXPECT_EQ(entries[1], 0x00FF00u);
  EXPECT_EQ(entries[2], 0u);
}

TEST(BmpPixelReaderTest, CoordinatesOutsideTheImageReadZero) {
  const auto bytes = MakeBmp({.depth = 24}, [](int, int) { return 0xFFFFFFu; });
  std::string message;
  BmpPixelReader reader;
  ASSERT_EQ(reader.SetUp(bytes, PixelMode::kColour, &message), ConversionStatus::kOk);
  EXPECT_EQ(reader.Pixel(9, 9), 0xFFFFFFu);
  EXPECT_EQ(reader.Pixel(10, 0), 0u);
  EXPECT_EQ(reader.Pixel(0, 10), 0u);
  EXPECT_EQ(reader.Pixel(-1, 0), 0u);
  EXPECT_EQ(reader.Pixel(0, -1), 0u);
}

TEST(BmpPixelReaderTest, FailedSetUpLeavesAnEmptyReader) {
  const auto good = MakeBmp({.depth = 24}, [](int, int) { return 0x123456u; });
  auto rle = MakeBmp({.depth = 8, .compression = 1}, [](int, int) { return 0u; });
  std::string message;
  BmpPixelReader reader;
  EXPECT_FALSE(reader.is_set_up());
  EXPECT_EQ(reader.Pixel(0, 0), 0u);
  ASSERT_EQ(reader.SetUp(good, PixelMode::kColour, &message), ConversionStatus::kOk);
  EXPECT_TRUE(reader.is_set_up());
  EXPECT_EQ(reader.SetUp(rle, PixelMode::kColour, &message), ConversionStatus::kCompressedBmp);
  EXPECT_EQ(message, "RLE8");
  EXPECT_FALSE(reader.is_set_up());
  EXPECT_EQ(reader.Width(), 0);
  EXPECT_EQ(reader.Pixel(0, 0), 0u);
  EXPECT_EQ(reader.PaletteKind(), SourcePaletteKind::kNone);
}

// A reader is usable through the encoder's interface.
TEST(BmpPixelReaderTest, WorksAsAPixelSource) {
  const auto bytes = MakeBmp({.depth = 4, .palette = DistinctPalette(4)},
                             [](int x, int y) { return static_cast<std::uint32_t>(x ^ y) & 15; });
  std::string message;
  BmpPixelReader reader;
  ASSERT_EQ(reader.SetUp(bytes, PixelMode::kColour, &message), ConversionStatus::kOk);
  PixelSource& source = reader;
  source.SetPixelMode(PixelMode::kIndex);
  EXPECT_EQ(source.Pixel(3, 5), 6u);
  source.SetPixelMode(PixelMode::kColour);
  EXPECT_EQ(source.Pixel(3, 5), DistinctPalette(4)[6]);
}

}  // namespace
}  // namespace kv
