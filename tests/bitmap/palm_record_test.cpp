#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "bitmap/palm/palm_bitmap_descriptor.h"
#include "bitmap/palm/palm_bitmap_format.h"
#include "bitmap/palm/palm_bitmap_parser.h"
#include "bitmap/palm/palm_bitmap_pixels.h"
#include "bitmap/palm/system_colour_tables.h"
#include "pdb/big_endian.h"

namespace kv {
namespace {

std::vector<std::uint8_t> Serialise(const PalmBitmapDescriptor& bitmap) {
  OutputBuffer output;
  EXPECT_EQ(SerialisePalmBitmap(bitmap, &output), ConversionStatus::kOk);
  return output.bytes;
}

struct RowBytesRow {
  int width;
  int depth;
  int row_bytes;
};

class RowRule : public ::testing::TestWithParam<RowBytesRow> {};

TEST_P(RowRule, PadsRowsToSixteenBits) {
  const RowBytesRow& row = GetParam();
  EXPECT_EQ(RowBytesFor(row.width, row.depth), static_cast<std::uint32_t>(row.row_bytes));
}

INSTANTIATE_TEST_SUITE_P(Widths, RowRule,
                         ::testing::Values(RowBytesRow{13, 4, 8}, RowBytesRow{16, 4, 8},
                                           RowBytesRow{17, 4, 10}, RowBytesRow{1, 1, 2},
                                           RowBytesRow{17, 1, 4}, RowBytesRow{160, 8, 160},
                                           RowBytesRow{131, 8, 132}, RowBytesRow{160, 16, 320},
                                           RowBytesRow{3, 24, 10}, RowBytesRow{3, 32, 12},
                                           RowBytesRow{0, 8, 0}));

TEST(CreatePalmBitmapDescriptor, FillsTheHeaderByDepth) {
  PalmBitmapDescriptor four;
  ASSERT_EQ(CreatePalmBitmapDescriptor(4, 13, 5, &four), ConversionStatus::kOk);
  EXPECT_EQ(four.rowBytes, 8);
  EXPECT_EQ(four.version, 2);
  EXPECT_EQ(four.flags, 0);  // the system table is referred to, not flagged
  EXPECT_EQ(four.colourTable, SystemColourTable(4));
  EXPECT_EQ(four.compressionType, 255);
  EXPECT_EQ(four.pixelData.size(), 40u);

  PalmBitmapDescriptor two;
  ASSERT_EQ(CreatePalmBitmapDescriptor(2, 10, 10, &two), ConversionStatus::kOk);
  EXPECT_EQ(two.version, 1);

  PalmBitmapDescriptor sixteen;
  ASSERT_EQ(CreatePalmBitmapDescriptor(16, 160, 160, &sixteen), ConversionStatus::kOk);
  EXPECT_EQ(sixteen.flags, kBitmapFlagDirectColor);
  EXPECT_EQ(sixteen.directColorBlock, (std::array<std::uint8_t, 8>{5, 6, 5, 0, 0, 0, 0, 0}));
  EXPECT_EQ(sixteen.colourTable, nullptr);

  PalmBitmapDescriptor wide;
  ASSERT_EQ(CreatePalmBitmapDescriptor(24, 10, 10, &wide), ConversionStatus::kOk);
  EXPECT_EQ(wide.directColorBlock, (std::array<std::uint8_t, 8>{}));
}

TEST(CreatePalmBitmapDescriptor, RefusesWhatAPalmBitmapCannotHold) {
  PalmBitmapDescriptor bitmap;
  EXPECT_EQ(CreatePalmBitmapDescriptor(3, 10, 10, &bitmap), ConversionStatus::kBadDepth);
  EXPECT_EQ(CreatePalmBitmapDescriptor(16, 200, 200, &bitmap),
            ConversionStatus::kTooBig);  // 80000 bytes
  EXPECT_EQ(CreatePalmBitmapDescriptor(8, 65534, 1, &bitmap), ConversionStatus::kOk);
  EXPECT_EQ(CreatePalmBitmapDescriptor(8, 65535, 1, &bitmap),
            ConversionStatus::kTooBig);  // rowBytes 65536
}

TEST(SerialisePalmBitmap, WritesHeaderTableAndPixels) {
  PalmBitmapDescriptor bitmap;
  ASSERT_EQ(CreatePalmBitmapDescriptor(4, 13, 2, &bitmap), ConversionStatus::kOk);
  AttachColourTable(&bitmap, nullptr);
  ASSERT_EQ(PutPixelIndex(&bitmap, 0, 0, 0xA), ConversionStatus::kOk);
  ASSERT_EQ(PutPixelIndex(&bitmap, 1, 0, 0x5), ConversionStatus::kOk);
  ASSERT_EQ(PutPixelIndex(&bitmap, 12, 1, 0xF), ConversionStatus::kOk);
  const std::vector<std::uint8_t> bytes = Serialise(bitmap);
  const std::vector<std::uint8_t> header = {0, 13, 0, 2, 0, 8,   0x40, 0x00,
                                            4, 2,  0, 0, 0, 255, 0,    0};
  ASSERT_EQ(bytes.size(), 16u + 2 + 64 + 16);  // data length 16: no padding
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 16), header);
  EXPECT_EQ(DecodeBig16(&bytes[16]), 16);
  EXPECT_EQ(bytes[16 + 2 + 4 * 13 + 1], 0xFF);  // entry 13 is red
  const std::uint8_t* pixels = &bytes[16 + 2 + 64];
  EXPECT_EQ(pixels[0], 0xA5);
  EXPECT_EQ(pixels[8 + 6], 0xF0);  // pixel 12 of row 1; the row's padding bits stay 0
  EXPECT_EQ(pixels[8 + 7], 0x00);
}

TEST(SerialisePalmBitmap, PadsDataLengthsOfTwoOrThreeModuloFour) {
  PalmBitmapDescriptor large;
  ASSERT_EQ(CreatePalmBitmapDescriptor(16, 160, 160, &large), ConversionStatus::kOk);
  EXPECT_EQ(Serialise(large).size(), 16u + 8 + 51200);

  PalmBitmapDescriptor odd;
  ASSERT_EQ(CreatePalmBitmapDescriptor(16, 160, 160, &odd), ConversionStatus::kOk);
  odd.pixelData.resize(3202);  // as compressed data would be
  odd.flags |= kBitmapFlagCompressed;
  const auto bytes = Serialise(odd);
  ASSERT_EQ(bytes.size(), 16u + 8 + 3202 + 2);
  EXPECT_EQ(bytes[bytes.size() - 2], 0);
  EXPECT_EQ(bytes[bytes.size() - 1], 0);

  odd.pixelData.resize(3203);
  EXPECT_EQ(Serialise(odd).size(), 16u + 8 + 3203 + 2);
  odd.pixelData.resize(3205);
  EXPECT_EQ(Serialise(odd).size(), 16u + 8 + 3205);
}

TEST(PalmBitmapPixels, PackAndReadBackEveryDepth) {
  for (int depth : {1, 2, 4, 8, 16, 24, 32}) {
    PalmBitmapDescriptor bitmap;
    ASSERT_EQ(CreatePalmBitmapDescriptor(depth, 11, 3, &bitmap), ConversionStatus::kOk);
    AttachColourTable(&bitmap, nullptr);
    const std::uint32_t limit = depth <= 8 ? (1u << depth) : 0x1000000u;
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 11; ++x) {
        const std::uint32_t value =
            (static_cast<std::uint32_t>(x * 37 + y * 101) * 0x10101u) % limit;
        if (depth <= 8) {
          ASSERT_EQ(PutPixelIndex(&bitmap, x, y, value), ConversionStatus::kOk);
        } else {
          ASSERT_EQ(PutPixelColour(&bitmap, x, y, value, nullptr), ConversionStatus::kOk);
        }
      }
    }
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 11; ++x) {
        const std::uint32_t value =
            (static_cast<std::uint32_t>(x * 37 + y * 101) * 0x10101u) % limit;
        std::uint32_t read = 0;
        if (depth <= 8) {
          ASSERT_EQ(GetPixel(bitmap, x, y, PixelRead::kIndex, &read), ConversionStatus::kOk);
          EXPECT_EQ(read, value) << depth << " " << x << "," << y;
        } else if (depth == 16) {
          ASSERT_EQ(GetPixel(bitmap, x, y, PixelRead::kColour, &read), ConversionStatus::kOk);
          EXPECT_EQ(read & 0xF8FCF8, value & 0xF8FCF8) << x << "," << y;
        } else {
          ASSERT_EQ(GetPixel(bitmap, x, y, PixelRead::kColour, &read), ConversionStatus::kOk);
          EXPECT_EQ(read, value);
        }
      }
    }
  }
}

TEST(PalmBitmapPixels, SixteenBitsAreRgb565HighByteFirst) {
  PalmBitmapDescriptor bitmap;
  ASSERT_EQ(CreatePalmBitmapDescriptor(16, 2, 1, &bitmap), ConversionStatus::kOk);
  ASSERT_EQ(PutPixelColour(&bitmap, 0, 0, 0xFF8040, nullptr), ConversionStatus::kOk);
  EXPECT_EQ(bitmap.pixelData[0], 0xFC);  // 11111 100000 01000
  EXPECT_EQ(bitmap.pixelData[1], 0x08);
  std::uint32_t colour = 0;
  ASSERT_EQ(GetPixel(bitmap, 0, 0, PixelRead::kColour, &colour), ConversionStatus::kOk);
  // Widened by repeating the low bits: r 31 -> 0xFF, g 32 -> 0x80, b 8 -> 0x40.
  EXPECT_EQ(colour, 0xFF8040u);
  bitmap.pixelData = {0x08, 0x61};  // r 1, g 3, b 1
  ASSERT_EQ(GetPixel(bitmap, 0, 0, PixelRead::kColour, &colour), ConversionStatus::kOk);
  EXPECT_EQ(colour, 0x090F09u);
}

TEST(PalmBitmapPixels, MatchColoursAgainstTheAttachedTable) {
  PalmBitmapDescriptor bitmap;
  ASSERT_EQ(CreatePalmBitmapDescriptor(4, 2, 1, &bitmap), ConversionStatus::kOk);
  AttachColourTable(&bitmap, nullptr);
  ASSERT_EQ(PutPixelColour(&bitmap, 0, 0, 0xFF0000, nullptr), ConversionStatus::kOk);
  ASSERT_EQ(PutPixelColour(&bitmap, 1, 0, 0x808080, nullptr), ConversionStatus::kOk);
  EXPECT_EQ(bitmap.pixelData[0], 0xDA);
  std::uint32_t value = 0;
  EXPECT_EQ(GetPixel(bitmap, 0, 0, PixelRead::kColour, &value), ConversionStatus::kOk);
  EXPECT_EQ(value, 0xFF0000u);
  EXPECT_EQ(GetPixel(bitmap, 2, 0, PixelRead::kColour, &value), ConversionStatus::kMalformed);
}

TEST(ParsePalmBitmap, ReadsBackWhatWasSerialised) {
  PalmBitmapDescriptor bitmap;
  ASSERT_EQ(CreatePalmBitmapDescriptor(8, 5, 3, &bitmap), ConversionStatus::kOk);
  AttachColourTable(&bitmap, nullptr);
  for (int x = 0; x < 5; ++x) ASSERT_EQ(PutPixelIndex(&bitmap, x, 2, 225), ConversionStatus::kOk);
  const auto bytes = Serialise(bitmap);
  PalmBitmapDescriptor parsed;
  ASSERT_EQ(ParsePalmBitmap(bytes, &parsed), ConversionStatus::kOk);
  EXPECT_EQ(parsed.width, 5);
  EXPECT_EQ(parsed.height, 3);
  EXPECT_EQ(parsed.rowBytes, 6);
  EXPECT_EQ(parsed.flags, kBitmapFlagHasColorTable);
  EXPECT_EQ(parsed.pixelData, bitmap.pixelData);
  ASSERT_NE(parsed.colourTable, nullptr);
  EXPECT_EQ(parsed.colourTable->Count(), 256);
  std::uint32_t colour = 0;
  ASSERT_EQ(GetPixel(parsed, 4, 2, PixelRead::kColour, &colour), ConversionStatus::kOk);
  EXPECT_EQ(colour, 0xC0C0C0u);
  EXPECT_EQ(Serialise(parsed), bytes);
}

// A hand-made header; the fields the case does not name are harmless.
std::vector<std::uint8_t> Header(std::uint16_t flags, std::uint8_t depth, std::uint8_t version,
                                 std::uint16_t width = 2, std::uint16_t height = 1,
                                 std::uint16_t row_bytes = 2) {
  std::vector<std::uint8_t> bytes(16, 0);
  EncodeBig16(&bytes[0], width);
  EncodeBig16(&bytes[2], height);
  EncodeBig16(&bytes[4], row_bytes);
  EncodeBig16(&bytes[6], flags);
  bytes[8] = depth;
  bytes[9] = version;
  bytes[13] = 255;
  return bytes;
}

std::vector<std::uint8_t> Join(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct ParseRow {
  const char* what;
  std::vector<std::uint8_t> record;
  ConversionStatus status;
};

class ParseStatuses : public ::testing::TestWithParam<ParseRow> {};

TEST_P(ParseStatuses, FollowTheValidationOrder) {
  const ParseRow& row = GetParam();
  PalmBitmapDescriptor bitmap;
  EXPECT_EQ(ParsePalmBitmap(row.record, &bitmap), row.status) << row.what;
  PalmBitmapDescriptor expanded;
  if (row.status != ConversionStatus::kOk) {
    EXPECT_EQ(ParseAndExpandPalmBitmap(row.record, &expanded), row.status);
  }
}

const std::vector<std::uint8_t> kTwoPixels = {0x12, 0x34};

INSTANTIATE_TEST_SUITE_P(
    Records, ParseStatuses,
    ::testing::Values(
        ParseRow{"15 bytes", std::vector<std::uint8_t>(15, 0), ConversionStatus::kMalformed},
        ParseRow{"plain 8-bit", Join(Header(0, 8, 2), kTwoPixels), ConversionStatus::kOk},
        ParseRow{"version 1 with transparency", Join(Header(0x2000, 8, 1), kTwoPixels),
                 ConversionStatus::kMalformed},
        ParseRow{"version 0 with 0x0800", Join(Header(0x0800, 8, 0), kTwoPixels),
                 ConversionStatus::kMalformed},
        ParseRow{"table and direct colour", Join(Header(0x4400, 16, 2), kTwoPixels),
                 ConversionStatus::kMalformed},
        ParseRow{"table and direct colour beat depth 3", Join(Header(0x4400, 3, 2), kTwoPixels),
                 ConversionStatus::kMalformed},
        ParseRow{"depth 3", Join(Header(0, 3, 2), kTwoPixels), ConversionStatus::kBadDepth},
        ParseRow{"depth 3 beats version 3", Join(Header(0, 3, 3), kTwoPixels),
                 ConversionStatus::kBadDepth},
        ParseRow{"version 3", Join(Header(0, 8, 3), kTwoPixels), ConversionStatus::kBadVersion},
        ParseRow{"rows too short for their pixels", Join(Header(0, 16, 2, 2, 1, 2), kTwoPixels),
                 ConversionStatus::kMalformed},
        ParseRow{"table count cut off", Header(0x4000, 8, 2), ConversionStatus::kMalformed},
        ParseRow{"table entries cut off", Join(Header(0x4000, 8, 2), {0, 2, 0, 1, 2, 3, 1, 4, 5}),
                 ConversionStatus::kMalformed},
        ParseRow{"table then pixels", Join(Header(0x4000, 8, 2), {0, 1, 0, 1, 2, 3, 0, 0}),
                 ConversionStatus::kOk},
        ParseRow{"direct block cut off",
                 Join(Header(0x0400, 16, 2, 1, 1, 2), {5, 6, 5, 0, 0, 0, 0}),
                 ConversionStatus::kMalformed},
        ParseRow{"size word cut off", Join(Header(0x8000, 8, 2), {0}),
                 ConversionStatus::kMalformed},
        ParseRow{"compressed data cut off", Join(Header(0x8000, 8, 2), {0, 3, 0x80, 1}),
                 ConversionStatus::kMalformed},
        ParseRow{"pixel data cut off", Join(Header(0, 8, 2), {1}), ConversionStatus::kMalformed},
        ParseRow{"transparent index outside the table",
                 Join(Header(0x6000, 8, 2), {0, 1, 0, 1, 2, 3, 0, 0}) /* index 0 is fine */,
                 ConversionStatus::kOk},
        ParseRow{"16-bit transparent colour from the direct block",
                 Join(Header(0x2400, 16, 2, 1, 1, 2), {5, 6, 5, 0, 0, 1, 2, 3, 0, 0}),
                 ConversionStatus::kOk}));

TEST(ParsePalmBitmap, RecordsTheTransparentColour) {
  auto record = Join(Header(0x6000, 8, 2), {0, 2, 0, 1, 2, 3, 1, 4, 5, 6, 0, 0});
  record[12] = 1;  // transparentIndex
  PalmBitmapDescriptor bitmap;
  ASSERT_EQ(ParsePalmBitmap(record, &bitmap), ConversionStatus::kOk);
  EXPECT_TRUE(bitmap.hasTransparency);
  EXPECT_EQ(bitmap.transparentColour, 0x040506u);
  record[12] = 2;  // no such entry
  EXPECT_EQ(ParsePalmBitmap(record, &bitmap), ConversionStatus::kMalformed);

  const auto direct = Join(Header(0x2400, 16, 2, 1, 1, 2), {5, 6, 5, 0, 0, 1, 2, 3, 0, 0});
  ASSERT_EQ(ParsePalmBitmap(direct, &bitmap), ConversionStatus::kOk);
  EXPECT_EQ(bitmap.transparentColour, 0x010203u);
}

TEST(ParsePalmBitmap, ReadsTablelessRecordsWithTheSystemTable) {
  PalmBitmapDescriptor bitmap;
  ASSERT_EQ(ParsePalmBitmap(Join(Header(0, 4, 2), {0xD0, 0}), &bitmap), ConversionStatus::kOk);
  std::uint32_t colour = 0;
  ASSERT_EQ(GetPixel(bitmap, 0, 0, PixelRead::kColour, &colour), ConversionStatus::kOk);
  EXPECT_EQ(colour, 0xFF0000u);
}

TEST(GetPixel, RefusesIndicesTheTableDoesNotHold) {
  PalmBitmapDescriptor bitmap;
  ASSERT_EQ(ParsePalmBitmap(Join(Header(0x4000, 8, 2), {0, 1, 0, 9, 9, 9, 0, 7}), &bitmap),
            ConversionStatus::kOk);
  std::uint32_t colour = 0;
  EXPECT_EQ(GetPixel(bitmap, 0, 0, PixelRead::kColour, &colour), ConversionStatus::kOk);
  EXPECT_EQ(colour, 0x090909u);
  EXPECT_EQ(GetPixel(bitmap, 1, 0, PixelRead::kColour, &colour), ConversionStatus::kMalformed);
  EXPECT_EQ(GetPixel(bitmap, 1, 0, PixelRead::kIndex, &colour), ConversionStatus::kOk);
  EXPECT_EQ(colour, 7u);
}

}  // namespace
}  // namespace kv
