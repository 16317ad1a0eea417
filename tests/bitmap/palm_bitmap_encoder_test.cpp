#include "bitmap/palm/palm_bitmap_encoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "bitmap/palm/bitmap_compression.h"
#include "bitmap/palm/nearest_palette_index.h"
#include "bitmap/palm/palm_bitmap_parser.h"
#include "bitmap/palm/palm_bitmap_pixels.h"
#include "bitmap/palm/system_colour_tables.h"
#include "bitmap/synthetic_source.h"
#include "pdb/big_endian.h"

namespace kv {
namespace {

using testing::ColourSource;
using testing::IndexedSource;
using testing::PhotoColour;

ConversionOptions Whole(int max_depth) {
  ConversionOptions options;
  options.fitToSize = true;
  options.buildPalette = true;
  options.targetWidth = 160;
  options.targetHeight = 131;
  options.maxDepth = static_cast<std::uint8_t>(max_depth);
  return options;
}

ConversionOptions Tile(int max_depth, int x, int y) {
  ConversionOptions options;
  options.originX = static_cast<std::uint16_t>(x);
  options.originY = static_cast<std::uint16_t>(y);
  options.targetWidth = 160;
  options.targetHeight = 131;
  options.maxDepth = static_cast<std::uint8_t>(max_depth);
  return options;
}

struct Encoded {
  std::vector<std::uint8_t> record;
  PalmBitmapDescriptor bitmap;  // parsed and expanded
  EncodedBitmapSize size;
};

Encoded Encode(PixelSource& source, const ConversionOptions& options, PaletteState& palette,
               int compression = kCompressNever, ScaleRatio scale = {}) {
  Encoded out;
  OutputBuffer output;
  EXPECT_EQ(EncodePalmBitmap(source, options, scale, compression, palette, &output, &out.size),
            ConversionStatus::kOk);
  out.record = output.bytes;
  EXPECT_EQ(ParseAndExpandPalmBitmap(out.record, &out.bitmap), ConversionStatus::kOk);
  return out;
}

std::uint32_t Read(const PalmBitmapDescriptor& bitmap, int x, int y, PixelRead read) {
  std::uint32_t value = 0;
  EXPECT_EQ(GetPixel(bitmap, x, y, read, &value), ConversionStatus::kOk);
  return value;
}

std::vector<std::uint32_t> TableColours(const PalmBitmapDescriptor& bitmap) {
  std::vector<std::uint32_t> colours;
  for (int i = 0; i < bitmap.colourTable->Count(); ++i)
    colours.push_back(bitmap.colourTable->Colour(i));
  return colours;
}

TEST(EncodePalmBitmap, TrueColourAtSixteenBitsIsDirectColour) {
  PaletteState palette;
  ColourSource source(120, 90, 24, PhotoColour);
  const Encoded out = Encode(source, Whole(16), palette);
  EXPECT_EQ(out.size.depth, 16);
  EXPECT_EQ(out.bitmap.flags, kBitmapFlagDirectColor);
  EXPECT_EQ(out.bitmap.version, 2);
  EXPECT_EQ(out.record[16], 5);  // direct-colour block right after the header
  EXPECT_EQ(out.record[17], 6);
  EXPECT_EQ(out.record[18], 5);
  EXPECT_EQ(out.record.size(), 16u + 8 + 240 * 90);
  for (int y = 0; y < 90; y += 7) {
    for (int x = 0; x < 120; x += 5) {
      EXPECT_EQ(Read(out.bitmap, x, y, PixelRead::kColour) & 0xF8FCF8,
                PhotoColour(x, y) & 0xF8FCF8);
    }
  }
  EXPECT_EQ(palette.CustomTable(), nullptr);
}

TEST(EncodePalmBitmap, SameDepthBmpKeepsItsPaletteAndIndices) {
  std::vector<std::uint32_t> bmp_palette;
  for (std::uint32_t i = 0; i < 256; ++i) bmp_palette.push_back(i * 0x010305 & 0xFFFFFF);
  const auto index = [](int x, int y) { return static_cast<std::uint32_t>(x * 7 + y * 3) & 0xFF; };
  for (int max_depth : {16, 8}) {
    PaletteState palette;
    IndexedSource source(100, 60, 8, bmp_palette, index);
    const Encoded out = Encode(source, Whole(max_depth), palette);
    EXPECT_EQ(out.size.depth, 8);
    EXPECT_EQ(source.mode(), PixelMode::kIndex);
    EXPECT_EQ(TableColours(out.bitmap), bmp_palette);
    EXPECT_EQ(out.record[16 + 2 + 4 * 5], 0);  // custom entries carry index byte 0
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 100; ++x)
        ASSERT_EQ(Read(out.bitmap, x, y, PixelRead::kIndex), index(x, y));
    }
  }
}

TEST(EncodePalmBitmap, OneBitBmpBecomesFourBitsWithAnOctreeTable) {
  PaletteState palette;
  IndexedSource source(40, 30, 1, {0x2040A0, 0xF0E0D0},
                       [](int x, int y) { return static_cast<std::uint32_t>((x + y) % 2); });
  const Encoded out = Encode(source, Whole(16), palette);
  EXPECT_EQ(out.size.depth, 4);
  EXPECT_EQ(source.mode(), PixelMode::kColour);
  std::vector<std::uint32_t> expected(16, 0);
  expected[0] = 0x2040A0;
  expected[1] = 0xF0E0D0;
  EXPECT_EQ(TableColours(out.bitmap), expected);
  EXPECT_EQ(Read(out.bitmap, 0, 0, PixelRead::kColour), 0x2040A0u);
  EXPECT_EQ(Read(out.bitmap, 1, 0, PixelRead::kColour), 0xF0E0D0u);
}

TEST(EncodePalmBitmap, FourBitBoundMatchesColoursToAnOctreeTable) {
  PaletteState palette;
  ColourSource source(150, 100, 24, PhotoColour);
  const Encoded out = Encode(source, Whole(4), palette);
  EXPECT_EQ(out.size.depth, 4);
  ASSERT_NE(palette.CustomTable(), nullptr);
  EXPECT_EQ(out.bitmap.colourTable->Count(), 16);
  EXPECT_EQ(TableColours(out.bitmap).size(), 16u);
  for (int y = 0; y < 100; y += 3) {
    for (int x = 0; x < 150; x += 3) {
      ASSERT_EQ(Read(out.bitmap, x, y, PixelRead::kIndex),
                static_cast<std::uint32_t>(
                    NearestPaletteIndex(*palette.CustomTable(), PhotoColour(x, y))));
    }
  }
}

TEST(EncodePalmBitmap, TilesShareTheOverviewsTable) {
  PaletteState palette;
  ColourSource source(400, 300, 24, PhotoColour);
  const Encoded overview = Encode(source, Whole(8), palette);
  const auto table = overview.bitmap.colourTable->StoredBytes();
  for (int x : {0, 160, 320}) {
    const Encoded tile = Encode(source, Tile(8, x, 131), palette, kCompressWhenSmaller);
    ASSERT_NE(tile.bitmap.colourTable, nullptr);
    const auto tile_table = tile.bitmap.colourTable->StoredBytes();
    EXPECT_TRUE(std::equal(table.begin(), table.end(), tile_table.begin(), tile_table.end()));
  }
}

TEST(EncodePalmBitmap, PaletteBuildingAtSixteenBitsDropsTheOldTable) {
  PaletteState palette;
  ColourSource source(200, 150, 24, PhotoColour);
  Encode(source, Whole(8), palette);
  ASSERT_NE(palette.CustomTable(), nullptr);
  Encode(source, Whole(16), palette);
  EXPECT_EQ(palette.CustomTable(), nullptr);
  const Encoded tile = Encode(source, Tile(16, 0, 0), palette);
  EXPECT_EQ(tile.bitmap.flags & (kBitmapFlagDirectColor | kBitmapFlagHasColorTable),
            kBitmapFlagDirectColor);
}

TEST(EncodePalmBitmap, TilesWithoutATableUseTheSystemTable) {
  PaletteState palette;
  ColourSource source(200, 150, 24, PhotoColour);
  const Encoded tile = Encode(source, Tile(8, 0, 0), palette);
  EXPECT_EQ(tile.bitmap.flags, kBitmapFlagHasColorTable);
  const auto stored = tile.bitmap.colourTable->StoredBytes();
  const auto system = SystemColourTable(8)->StoredBytes();
  EXPECT_TRUE(std::equal(stored.begin(), stored.end(), system.begin(), system.end()));
}

TEST(EncodePalmBitmap, ATableTooLargeForTheDepthIsNotAttached) {
  PaletteState palette;
  ColourSource source(200, 150, 24, PhotoColour);
  Encode(source, Whole(8), palette);  // 256 entries
  const Encoded tile = Encode(source, Tile(4, 0, 0), palette);
  EXPECT_EQ(tile.size.depth, 4);
  EXPECT_EQ(tile.bitmap.colourTable->Count(), 16);
  EXPECT_EQ(tile.bitmap.colourTable->Colour(13), 0xFF0000u);
}

TEST(EncodePalmBitmap, ShortBmpPalettesArePaddedToOneEntryPerIndex) {
  PaletteState palette;
  IndexedSource source(20, 20, 4, {0x102030, 0x405060},
                       [](int x, int) { return static_cast<std::uint32_t>(x % 2); });
  const Encoded out = Encode(source, Whole(4), palette);
  std::vector<std::uint32_t> expected(16, 0);
  expected[0] = 0x102030;
  expected[1] = 0x405060;
  EXPECT_EQ(TableColours(out.bitmap), expected);
  EXPECT_EQ(Read(out.bitmap, 1, 0, PixelRead::kIndex), 1u);
}

TEST(EncodePalmBitmap, ChartPalettesBecomeTheTable) {
  PaletteState palette;
  const std::vector<std::uint32_t> chart = {0xFFFFFF, 0x000000, 0xF0C000, 0x6090F0, 0xE02020};
  IndexedSource source(
      50, 40, 4, chart, [](int x, int) { return static_cast<std::uint32_t>(x % 5); },
      SourcePaletteKind::kChart);
  const Encoded out = Encode(source, Whole(8), palette);
  EXPECT_EQ(out.size.depth, 4);
  EXPECT_EQ(source.mode(), PixelMode::kColour);
  EXPECT_EQ(TableColours(out.bitmap), chart);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(Read(out.bitmap, x, 0, PixelRead::kColour), chart[x]);
}

struct GeometryRow {
  const char* what;
  int source_width, source_height;
  bool fit;
  int origin_x, origin_y;
  ScaleRatio scale;
  int width, height;
};

class Geometry : public ::testing::TestWithParam<GeometryRow> {};

// Every source pixel carries its own coordinates, so the output shows which
// one was sampled.
TEST_P(Geometry, SamplesTheNearestSourcePixel) {
  const GeometryRow& row = GetParam();
  PaletteState palette;
  ColourSource source(row.source_width, row.source_height, 24,
                      [](int x, int y) { return static_cast<std::uint32_t>(x << 12 | y); });
  ConversionOptions options = row.fit ? Whole(32) : Tile(32, row.origin_x, row.origin_y);
  const Encoded out = Encode(source, options, palette, kCompressNever, row.scale);
  ASSERT_EQ(out.size.width, row.width) << row.what;
  ASSERT_EQ(out.size.height, row.height) << row.what;
  EXPECT_EQ(out.size.depth, 24);
  const bool shrunk = row.fit && (row.source_width > 160 || row.source_height > 131);
  const bool by_height =
      static_cast<double>(row.source_height) / 131 > static_cast<double>(row.source_width) / 160;
  const int num = !row.fit ? row.scale.scaleNum : !shrunk ? 1 : by_height ? 131 : 160;
  const int den = !row.fit    ? row.scale.scaleDen
                  : !shrunk   ? 1
                  : by_height ? row.source_height
                              : row.source_width;
  for (int i = 0; i < row.height; ++i) {
    for (int j = 0; j < row.width; ++j) {
      const int sx = std::min(den * j / num + (row.fit ? 0 : row.origin_x), row.source_width - 1);
      const int sy = std::min(den * i / num + (row.fit ? 0 : row.origin_y), row.source_height - 1);
      ASSERT_EQ(Read(out.bitmap, j, i, PixelRead::kColour),
                static_cast<std::uint32_t>(sx << 12 | sy))
          << row.what << " at " << j << "," << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, Geometry,
    ::testing::Values(GeometryRow{"small image kept 1:1", 100, 50, true, 0, 0, {}, 100, 50},
                      GeometryRow{"wide image fitted by width", 400, 200, true, 0, 0, {}, 160, 80},
                      GeometryRow{"tall image fitted by height", 100, 500, true, 0, 0, {}, 26, 131},
                      GeometryRow{"full tile", 500, 300, false, 160, 0, {1, 1}, 160, 131},
                      GeometryRow{"last column cut", 500, 300, false, 480, 262, {1, 1}, 20, 38},
                      GeometryRow{"half scale", 500, 300, false, 160, 131, {1, 2}, 160, 84},
                      GeometryRow{"quarter scale", 700, 600, false, 0, 524, {1, 4}, 160, 19}));

TEST(EncodePalmBitmap, RefusesImpossibleRequests) {
  PaletteState palette;
  ColourSource source(100, 100, 24, PhotoColour);
  OutputBuffer output;
  EncodedBitmapSize size;
  ConversionOptions options = Whole(16);
  options.maxDepth = 3;
  EXPECT_EQ(EncodePalmBitmap(source, options, {}, kCompressNever, palette, &output, &size),
            ConversionStatus::kBadDepth);
  EXPECT_EQ(EncodePalmBitmap(source, Tile(16, 100, 0), {}, kCompressNever, palette, &output, &size),
            ConversionStatus::kMalformed);
  EXPECT_EQ(
      EncodePalmBitmap(source, Tile(16, 0, 0), {0, 1}, kCompressNever, palette, &output, &size),
      ConversionStatus::kMalformed);
  ColourSource deep(10, 10, 20, PhotoColour);  // 20 bits within bounds 1..32 is no Palm depth
  options = Whole(32);
  EXPECT_EQ(EncodePalmBitmap(deep, options, {}, kCompressNever, palette, &output, &size),
            ConversionStatus::kBadDepth);
  EXPECT_TRUE(output.bytes.empty());
}

TEST(EncodePalmBitmap, CompressesWhenAskedAndItPays) {
  PaletteState palette;
  ColourSource flat(300, 200, 24, [](int x, int) { return x < 100 ? 0x0000FFu : 0xFFFF00u; });
  const Encoded plain = Encode(flat, Tile(8, 0, 0), palette, kCompressNever);
  EXPECT_FALSE(plain.bitmap.IsCompressed());
  OutputBuffer output;
  EncodedBitmapSize size;
  ASSERT_EQ(
      EncodePalmBitmap(flat, Tile(8, 0, 0), {}, kCompressWhenSmaller, palette, &output, &size),
      ConversionStatus::kOk);
  PalmBitmapDescriptor stored;
  ASSERT_EQ(ParsePalmBitmap(output.bytes, &stored), ConversionStatus::kOk);
  ASSERT_TRUE(stored.IsCompressed());
  // The size word counts the bytes after it.
  EXPECT_EQ(DecodeBig16(stored.pixelData.data()) + 2u, stored.pixelData.size());
  const std::size_t table = 2 + 4 * 256;
  EXPECT_EQ(output.bytes.size(),
            16 + table + stored.pixelData.size() + ((stored.pixelData.size() & 2) ? 2 : 0));
  PalmBitmapDescriptor expanded;
  ASSERT_EQ(ParseAndExpandPalmBitmap(output.bytes, &expanded), ConversionStatus::kOk);
  EXPECT_EQ(expanded.pixelData, plain.bitmap.pixelData);
}

}  // namespace
}  // namespace kv
