#include "bitmap/palm/bitmap_compression.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "bitmap/palm/palm_bitmap_descriptor.h"
#include "bitmap/palm/rle_compression.h"
#include "bitmap/palm/scanline_compression.h"
#include "pdb/big_endian.h"

namespace kv {
namespace {

using Bytes = std::vector<std::uint8_t>;

// An 8-bit bitmap (version 2) whose pixel bytes are byte(x, y).
template <typename ByteFn>
PalmBitmapDescriptor MakeBitmap(int depth, int width, int height, ByteFn byte) {
  PalmBitmapDescriptor bitmap;
  EXPECT_EQ(CreatePalmBitmapDescriptor(depth, width, height, &bitmap), ConversionStatus::kOk);
  for (int y = 0; y < height; ++y) {
    for (int k = 0; k < bitmap.rowBytes; ++k) {
      bitmap.pixelData[static_cast<std::size_t>(y) * bitmap.rowBytes + k] = byte(k, y);
    }
  }
  return bitmap;
}

Bytes Body(const PalmBitmapDescriptor& bitmap) {
  return Bytes(bitmap.pixelData.begin() + 2, bitmap.pixelData.end());
}

TEST(RleRow, SplitsRunsAt255) {
  Bytes out;
  EncodeRleRow(Bytes(200, 7), false, &out);
  EXPECT_EQ(out, (Bytes{200, 7}));
  out.clear();
  EncodeRleRow(Bytes(300, 9), false, &out);
  EXPECT_EQ(out, (Bytes{255, 9, 45, 9}));
  out.clear();
  EncodeRleRow(Bytes{4}, true, &out);
  EXPECT_EQ(out, (Bytes{1, 4, 0, 0}));
  out.clear();
  EncodeRleRow(Bytes{1, 1, 2, 1}, false, &out);
  EXPECT_EQ(out, (Bytes{2, 1, 1, 2, 1, 1}));
}

// Scanline encoding as the format defines it, one byte at a time.
Bytes ScanlineByDefinition(const Bytes& row, const Bytes& above) {
  Bytes out;
  std::size_t flags = 0;
  for (std::size_t k = 0; k < row.size(); ++k) {
    if (k % 8 == 0) {
      flags = out.size();
      out.push_back(0);
    }
    if (row[k] != above[k]) {
      out[flags] |= static_cast<std::uint8_t>(0x80 >> (k % 8));
      out.push_back(row[k]);
    }
  }
  return out;
}

TEST(ScanlineRow, WholeGroupsAtOnceGiveWhatTheDefinitionGives) {
  std::mt19937 random(7);
  for (std::size_t length : {1u, 7u, 8u, 9u, 16u, 61u, 320u}) {
    for (int round = 0; round < 200; ++round) {
      Bytes above(length);
      Bytes row(length);
      // Few values, so that bytes often repeat the row above.
      for (std::size_t k = 0; k < length; ++k) {
        above[k] = static_cast<std::uint8_t>(random() % 3);
        row[k] = static_cast<std::uint8_t>(random() % 3 == 0 ? above[k] ^ (1u << (random() % 8))
                                                             : above[k]);
      }
      Bytes out;
      EncodeScanlineRow(row, above, false, &out);
      ASSERT_EQ(out, ScanlineByDefinition(row, above)) << length << " " << round;
    }
  }
}

TEST(ScanlineRow, FlagsChangedBytesPerGroupOfEight) {
  const Bytes above = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  Bytes row = above;
  row[1] = 20;
  row[9] = 30;
  Bytes out;
  EncodeScanlineRow(row, above, false, &out);
  EXPECT_EQ(out, (Bytes{0x40, 20, 0x40, 30}));  // two flag bytes, the second for 2 bytes
  out.clear();
  EncodeScanlineRow(row, {}, true, &out);
  EXPECT_EQ(out, (Bytes{0xFF, 1, 20, 3, 4, 5, 6, 7, 8, 0xC0, 9, 30}));

  Bytes decoded = above;
  std::size_t consumed = 0;
  ASSERT_TRUE(DecodeScanlineRow(Bytes{0x40, 20, 0x40, 30, 99}, decoded, &consumed));
  EXPECT_EQ(decoded, row);
  EXPECT_EQ(consumed, 4u);
}

TEST(CompressPalmBitmap, IdenticalRowsCostOneFlagBytePerGroup) {
  // 10-byte rows of noise, all rows the same: scanline wins over RLE.
  auto bitmap =
      MakeBitmap(8, 10, 4, [](int k, int) { return static_cast<std::uint8_t>(k * 37 + 1); });
  CompressPalmBitmap(&bitmap, kCompressWhenSmaller);
  ASSERT_TRUE(bitmap.IsCompressed());
  EXPECT_EQ(bitmap.compressionType, kCompressionScanline);
  EXPECT_EQ(bitmap.flags & kBitmapFlagCompressed, kBitmapFlagCompressed);
  Bytes expected = {0xFF, 1, 38, 75, 112, 149, 186, 223, 4, 0xC0, 41, 78};
  for (int y = 1; y < 4; ++y) expected.insert(expected.end(), {0, 0});
  EXPECT_EQ(Body(bitmap), expected);
  EXPECT_EQ(DecodeBig16(bitmap.pixelData.data()), expected.size());
}

TEST(CompressPalmBitmap, UniformRowsGoToRleWithTheEndPair) {
  auto bitmap = MakeBitmap(8, 300, 2, [](int, int y) { return static_cast<std::uint8_t>(y + 5); });
  CompressPalmBitmap(&bitmap, kCompressWhenSmaller);
  ASSERT_EQ(bitmap.compressionType, kCompressionRle);
  EXPECT_EQ(Body(bitmap), (Bytes{255, 5, 45, 5, 255, 6, 45, 6, 0, 0}));
  EXPECT_EQ(DecodeBig16(bitmap.pixelData.data()), 10);
}

TEST(CompressPalmBitmap, EqualSizesKeepScanline) {
  // Six equal 8-byte rows of one value: scanline 9 + 5 x 1 = 14 bytes,
  // RLE 6 x 2 + the end pair = 14 bytes.
  auto bitmap = MakeBitmap(8, 8, 6, [](int, int) { return std::uint8_t{3}; });
  CompressPalmBitmap(&bitmap, kCompressWhenSmaller);
  EXPECT_EQ(bitmap.compressionType, kCompressionScanline);
  EXPECT_EQ(bitmap.pixelData.size(), 2u + 14u);
  // One more row tips it to RLE: scanline 15, RLE 16 -> still scanline;
  // with 8 rows of 16 bytes: scanline 18 + 7 x 2 = 32, RLE 8 x 2 + 2 = 18.
  auto wider = MakeBitmap(8, 16, 8, [](int, int) { return std::uint8_t{3}; });
  CompressPalmBitmap(&wider, kCompressWhenSmaller);
  EXPECT_EQ(wider.compressionType, kCompressionRle);
  EXPECT_EQ(wider.pixelData.size(), 2u + 18u);
}

TEST(CompressPalmBitmap, NoiseStaysUncompressed) {
  std::mt19937 random(3);
  auto bitmap =
      MakeBitmap(8, 160, 20, [&](int, int) { return static_cast<std::uint8_t>(random()); });
  const Bytes before = bitmap.pixelData;
  CompressPalmBitmap(&bitmap, kCompressWhenSmaller);
  EXPECT_FALSE(bitmap.IsCompressed());
  EXPECT_EQ(bitmap.compressionType, kCompressionNone);
  EXPECT_EQ(bitmap.pixelData, before);
}

TEST(CompressPalmBitmap, VersionOneIsNeverRle) {
  auto bitmap = MakeBitmap(2, 1200, 2, [](int, int) { return std::uint8_t{0x55}; });
  ASSERT_EQ(bitmap.version, 1);
  CompressPalmBitmap(&bitmap, kCompressWhenSmaller);
  EXPECT_EQ(bitmap.compressionType, kCompressionScanline);
}

TEST(CompressPalmBitmap, RequestsOtherThan253LeaveTheData) {
  auto bitmap = MakeBitmap(8, 100, 4, [](int, int) { return std::uint8_t{1}; });
  CompressPalmBitmap(&bitmap, kCompressNever);
  EXPECT_FALSE(bitmap.IsCompressed());
  CompressPalmBitmap(&bitmap, 0);
  EXPECT_FALSE(bitmap.IsCompressed());
}

TEST(CompressPalmBitmap, GivesUpPastTheSizeWordsRange) {
  // A stored record may hold more than 64 KB uncompressed; a compressed
  // form that is smaller but still over 65535 bytes cannot be stored.
  PalmBitmapDescriptor bitmap;
  bitmap.width = 1000;
  bitmap.height = 100;
  bitmap.rowBytes = 1000;
  bitmap.pixelSize = 8;
  bitmap.version = 2;
  bitmap.pixelData.resize(100000);
  for (std::size_t i = 0; i < bitmap.pixelData.size(); ++i) {
    // 70 % of the bytes change from row to row: scanline ~ 82 500 bytes.
    bitmap.pixelData[i] = (i % 10) < 7 ? static_cast<std::uint8_t>(i / 1000 + i) : 0;
  }
  CompressPalmBitmap(&bitmap, kCompressWhenSmaller);
  EXPECT_FALSE(bitmap.IsCompressed());
  EXPECT_EQ(bitmap.pixelData.size(), 100000u);
}

TEST(CompressPalmBitmap, EmptyBitmapsStayUncompressed) {
  auto bitmap = MakeBitmap(8, 0, 5, [](int, int) { return std::uint8_t{0}; });
  CompressPalmBitmap(&bitmap, kCompressWhenSmaller);
  EXPECT_FALSE(bitmap.IsCompressed());
  auto flat = MakeBitmap(8, 4, 0, [](int, int) { return std::uint8_t{0}; });
  CompressPalmBitmap(&flat, kCompressWhenSmaller);
  EXPECT_FALSE(flat.IsCompressed());
}

TEST(DecompressPalmBitmap, RoundTripsBothSchemes) {
  std::mt19937 random(5);
  for (int trial = 0; trial < 50; ++trial) {
    const int width = 1 + static_cast<int>(random() % 300);
    const int height = 1 + static_cast<int>(random() % 20);
    const unsigned spread = 1 + random() % 4;
    auto bitmap = MakeBitmap(8, width, height, [&](int k, int y) {
      return static_cast<std::uint8_t>(random() % 7 == 0 ? random() % spread
                                                         : (k / 9 + y / 3) % spread);
    });
    const Bytes original = bitmap.pixelData;
    CompressPalmBitmap(&bitmap, kCompressWhenSmaller);
    ASSERT_EQ(DecompressPalmBitmap(&bitmap), ConversionStatus::kOk);
    EXPECT_EQ(bitmap.pixelData, original) << trial;
    EXPECT_FALSE(bitmap.IsCompressed());
    EXPECT_EQ(bitmap.compressionType, kCompressionNone);
  }
}

PalmBitmapDescriptor Compressed(std::uint8_t scheme, int row_bytes, int height, Bytes body) {
  PalmBitmapDescriptor bitmap;
  bitmap.width = static_cast<std::uint16_t>(row_bytes);
  bitmap.height = static_cast<std::uint16_t>(height);
  bitmap.rowBytes = static_cast<std::uint16_t>(row_bytes);
  bitmap.pixelSize = 8;
  bitmap.version = 2;
  bitmap.flags = kBitmapFlagCompressed;
  bitmap.compressionType = scheme;
  bitmap.pixelData = Bytes(2, 0);
  EncodeBig16(bitmap.pixelData.data(), static_cast<std::uint16_t>(body.size()));
  bitmap.pixelData.insert(bitmap.pixelData.end(), body.begin(), body.end());
  return bitmap;
}

TEST(DecompressPalmBitmap, StopsWhenTheRowsAreFull) {
  auto bitmap = Compressed(kCompressionRle, 3, 2, {2, 1, 5, 2, 0, 7, 3, 9, 0, 0});
  ASSERT_EQ(DecompressPalmBitmap(&bitmap),
            ConversionStatus::kOk);  // (5, 2) is cut to 1; (0, 7) writes nothing
  EXPECT_EQ(bitmap.pixelData, (Bytes{1, 1, 2, 9, 9, 9}));

  auto without_end_pair = Compressed(kCompressionRle, 3, 1, {3, 4});
  ASSERT_EQ(DecompressPalmBitmap(&without_end_pair), ConversionStatus::kOk);
  EXPECT_EQ(without_end_pair.pixelData, (Bytes{4, 4, 4}));
}

struct BrokenStream {
  const char* what;
  std::uint8_t scheme;
  int row_bytes;
  int height;
  Bytes body;
};

class TruncatedStreams : public ::testing::TestWithParam<BrokenStream> {};

TEST_P(TruncatedStreams, AreCorrupt) {
  const BrokenStream& row = GetParam();
  auto bitmap = Compressed(row.scheme, row.row_bytes, row.height, row.body);
  EXPECT_EQ(DecompressPalmBitmap(&bitmap), ConversionStatus::kMalformed) << row.what;
  EXPECT_TRUE(bitmap.IsCompressed());
}

INSTANTIATE_TEST_SUITE_P(
    Streams, TruncatedStreams,
    ::testing::Values(
        BrokenStream{"rle: half a pair", kCompressionRle, 4, 1, {2, 1, 2}},
        BrokenStream{"rle: rows missing", kCompressionRle, 4, 3, {4, 1, 4, 2}},
        BrokenStream{"rle: zero pairs only", kCompressionRle, 4, 1, {0, 0, 0, 0}},
        BrokenStream{"scanline: byte missing", kCompressionScanline, 4, 1, {0xF0, 1, 2, 3}},
        BrokenStream{
            "scanline: flag missing", kCompressionScanline, 10, 1, {0xFF, 1, 2, 3, 4, 5, 6, 7, 8}},
        BrokenStream{"huge claim, tiny data", kCompressionScanline, 65535, 65535, {0xFF}},
        BrokenStream{"packbits", 2, 4, 1, {4, 1, 1, 1, 1}},
        BrokenStream{"unknown type", 7, 4, 1, {4, 1}}));

TEST(DecompressPalmBitmap, NeverReadsPastTheSizeWord) {
  // The size word says 2, though more bytes follow in the buffer.
  auto bitmap = Compressed(kCompressionRle, 4, 2, {4, 1, 4, 2});
  EncodeBig16(bitmap.pixelData.data(), 2);
  EXPECT_EQ(DecompressPalmBitmap(&bitmap), ConversionStatus::kMalformed);
}

}  // namespace
}  // namespace kv
