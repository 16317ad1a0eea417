#include "bitmap/conversion_front.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/exceptions.h"
#include "bitmap/palm/palm_bitmap_parser.h"
#include "bitmap/palm/palm_bitmap_pixels.h"
#include "bitmap/raise_conversion_error.h"
#include "bmp_fixture.h"

namespace kv {
namespace {

using testing::BmpParams;
using testing::MakeBmp;

// A photo-like gradient of many colours.
std::uint32_t Gradient(int x, int y) {
  return (static_cast<std::uint32_t>(x * 7 % 256) << 16) |
         (static_cast<std::uint32_t>(y * 5 % 256) << 8) | static_cast<std::uint32_t>((x + y) % 256);
}

class ConversionFrontTest : public ::testing::Test {
 protected:
  ConvertedBitmap Convert(const std::vector<std::uint8_t>& bmp, ConversionOptions options) {
    options.sourceIsBmp = true;
    ConversionSource source{1, bmp, nullptr};
    return ConvertToPalmBitmap(context_, settings_, source, options);
  }

  static ConversionOptions Overview(int depth) {
    ConversionOptions options;
    options.fitToSize = true;
    options.buildPalette = true;
    options.targetWidth = 160;
    options.targetHeight = 131;
    options.maxDepth = static_cast<std::uint8_t>(depth);
    return options;
  }

  ConversionContext context_;
  ConversionSettings settings_;
};

TEST_F(ConversionFrontTest, NoSourceKindIsRefusedAtOnce) {
  ConversionSource source;
  EXPECT_THROW(ConvertToPalmBitmap(context_, settings_, source, Overview(8)), ErrUnknownImageKind);
}

TEST_F(ConversionFrontTest, SourceProblemsBecomeTheirExceptions) {
  BmpParams narrow;
  narrow.width = 9;
  EXPECT_THROW(Convert(MakeBmp(narrow, Gradient), Overview(8)), ErrImageTooSmall);

  BmpParams rle4;
  rle4.depth = 4;
  rle4.compression = 2;
  rle4.palette.assign(16, 0);
  try {
    Convert(MakeBmp(rle4, [](int, int) { return 0u; }), Overview(8));
    FAIL() << "an RLE4 BMP was converted";
  } catch (const ErrCompressionFmtNotSupported& error) {
    EXPECT_STREQ(error.file_name(), "RLE4");
  }

  ConversionOptions bad_bound = Overview(8);
  bad_bound.maxDepth = 3;
  EXPECT_THROW(Convert(MakeBmp(BmpParams{}, Gradient), bad_bound), ErrImageFileCorrupt);
}

TEST_F(ConversionFrontTest, OverviewFitsTheTileBoxAndReportsItsHeader) {
  BmpParams params;
  params.width = 320;
  params.height = 100;
  ConvertedBitmap overview = Convert(MakeBmp(params, Gradient), Overview(8));
  EXPECT_EQ(overview.width, 160);
  EXPECT_EQ(overview.height, 50);
  EXPECT_EQ(overview.depth, 8);
  PalmBitmapDescriptor parsed;
  ASSERT_EQ(ParsePalmBitmap(overview.record, &parsed), ConversionStatus::kOk);
  EXPECT_EQ(parsed.IsCompressed(), overview.compressed);
}

TEST_F(ConversionFrontTest, ATileThatDoesNotShrinkLeavesCompressionOn) {
  // Noise does not compress; the next tile must still be offered compression.
  BmpParams params;
  params.width = 160;
  params.height = 131;
  auto noise = [](int x, int y) {
    std::uint32_t v = static_cast<std::uint32_t>(x * 2654435761u ^ y * 40503u);
    return (v ^ (v >> 13)) & 0xFFFFFF;
  };
  ConversionOptions tile;
  tile.targetWidth = 160;
  tile.targetHeight = 131;
  tile.maxDepth = 16;
  ConvertedBitmap noisy = Convert(MakeBmp(params, noise), tile);
  EXPECT_FALSE(noisy.compressed);
  EXPECT_TRUE(settings_.compressBitmaps);
  ConvertedBitmap flat = Convert(MakeBmp(params, [](int, int) { return 0x123456u; }), tile);
  EXPECT_TRUE(flat.compressed);
}

TEST_F(ConversionFrontTest, StoredRecordsAreTakenAsTheyAreAndSetCompression) {
  BmpParams params;
  params.width = 40;
  params.height = 30;
  ConvertedBitmap flat = Convert(MakeBmp(params, [](int, int) { return 0x00FF00u; }), Overview(16));
  ASSERT_TRUE(flat.compressed);
  settings_.compressBitmaps = false;
  ConversionSource stored{kPalmBitmapSourceKind, flat.record, nullptr};
  ConvertedBitmap again = ConvertToPalmBitmap(context_, settings_, stored, ConversionOptions{});
  EXPECT_EQ(again.record, flat.record);
  EXPECT_EQ(again.width, 40);
  EXPECT_EQ(again.depth, 16);
  EXPECT_TRUE(settings_.compressBitmaps);  // follows the stored record

  std::vector<std::uint8_t> broken(flat.record.begin(), flat.record.begin() + 20);
  ConversionSource truncated{kPalmBitmapSourceKind, broken, nullptr};
  EXPECT_THROW(ConvertToPalmBitmap(context_, settings_, truncated, ConversionOptions{}),
               ErrImageFileCorrupt);
}

TEST_F(ConversionFrontTest, RenderingIsA24BitBottomUpBmp) {
  BmpParams params;
  params.width = 160;
  params.height = 160;
  ConversionOptions tile;
  tile.targetWidth = 160;
  tile.targetHeight = 160;
  tile.maxDepth = 16;
  ConvertedBitmap bitmap =
      Convert(MakeBmp(params, [](int x, int) { return x < 80 ? 0xF80000u : 0x0000F8u; }), tile);
  std::vector<std::uint8_t> bmp = RenderPalmBitmapAsBmp(bitmap.record);
  ASSERT_EQ(bmp.size(), 54u + 76800u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[28], 24);
  EXPECT_EQ(bmp[38], 0xC4);  // 3780 = 0x0EC4 pixels per metre
  // Bottom row first, blue green red: left half red, right half blue, each
  // 5-bit channel widened by repeating its low bits.
  EXPECT_EQ(bmp[54 + 2], 0xFF);
  EXPECT_EQ(bmp[54 + 1], 0x00);
  EXPECT_EQ(bmp[54 + 3 * 100], 0xFF);
  EXPECT_EQ(bmp[54 + 3 * 100 + 2], 0x00);
  EXPECT_THROW(RenderPalmBitmapAsBmp(std::vector<std::uint8_t>(15, 0)), ErrImageFileCorrupt);
}

TEST_F(ConversionFrontTest, ReencodingAtTheSameDepthKeepsTableAndIndices) {
  BmpParams params;
  params.width = 64;
  params.height = 48;
  ConvertedBitmap bitmap = Convert(MakeBmp(params, Gradient), Overview(8));
  settings_.compressBitmaps = bitmap.compressed;
  std::vector<std::uint8_t> again = ReencodePalmBitmap(context_, settings_, bitmap.record, 8, true);
  EXPECT_EQ(again, bitmap.record);
}

TEST_F(ConversionFrontTest, ReencodingSharesTheFirstPalette) {
  BmpParams params;
  params.width = 64;
  params.height = 48;
  ConvertedBitmap first = Convert(MakeBmp(params, Gradient), Overview(16));
  ConvertedBitmap second =
      Convert(MakeBmp(params, [](int x, int y) { return Gradient(y, x); }), Overview(16));
  std::vector<std::uint8_t> a = ReencodePalmBitmap(context_, settings_, first.record, 4, true);
  std::vector<std::uint8_t> b = ReencodePalmBitmap(context_, settings_, second.record, 4, false);
  PalmBitmapDescriptor pa, pb;
  ASSERT_EQ(ParsePalmBitmap(a, &pa), ConversionStatus::kOk);
  ASSERT_EQ(ParsePalmBitmap(b, &pb), ConversionStatus::kOk);
  EXPECT_EQ(pa.pixelSize, 4);
  ASSERT_NE(pa.colourTable, nullptr);
  ASSERT_NE(pb.colourTable, nullptr);
  std::vector<std::uint8_t> ta(pa.colourTable->StoredBytes().begin(),
                               pa.colourTable->StoredBytes().end());
  std::vector<std::uint8_t> tb(pb.colourTable->StoredBytes().begin(),
                               pb.colourTable->StoredBytes().end());
  EXPECT_EQ(ta, tb);
  EXPECT_THROW(ReencodePalmBitmap(context_, settings_, first.record, 3, true), ErrImageFileCorrupt);
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

template <typename Expected>
void ExpectRaises(ConversionStatus status) {
  EXPECT_THROW(RaiseConversionError(status, "text"), Expected) << static_cast<int>(status);
}

TEST(RaiseConversionErrorTest, EachStatusHasItsException) {
  ExpectRaises<ErrImageFileCorrupt>(ConversionStatus::kCorrupt);
  ExpectRaises<ErrImageFileCorrupt>(ConversionStatus::kBadVersion);
  ExpectRaises<ErrImageFileCorrupt>(ConversionStatus::kBadDepth);
  ExpectRaises<ErrBadAlloc>(ConversionStatus::kNoMemory);
  ExpectRaises<ErrFileCreate>(ConversionStatus::kCreateFailed);
  ExpectRaises<ErrFileRead>(ConversionStatus::kReadFailed);
  ExpectRaises<ErrFileWrite>(ConversionStatus::kWriteFailed);
  ExpectRaises<ErrFileOpen>(ConversionStatus::kOpenFailed);
  ExpectRaises<ErrImageFileCorrupt>(ConversionStatus::kMalformed);
  ExpectRaises<ErrImageTooBig>(ConversionStatus::kTooBig);
  ExpectRaises<ErrImageTooSmall>(ConversionStatus::kTooSmall);
  ExpectRaises<ErrJPEGDecompressFailed>(ConversionStatus::kDecoderFailed);
  ExpectRaises<ErrCompressionFmtNotSupported>(ConversionStatus::kCompressedBmp);
  ExpectRaises<ErrUnknown>(static_cast<ConversionStatus>(1));
  ExpectRaises<ErrUnknown>(static_cast<ConversionStatus>(99));
}

TEST(RaiseConversionErrorTest, OnlyDecoderAndCompressionFailuresCarryTheText) {
  try {
    RaiseConversionError(ConversionStatus::kDecoderFailed, "broken strip");
  } catch (const LException& error) {
    EXPECT_STREQ(error.file_name(), "broken strip");
  }
  try {
    RaiseConversionError(ConversionStatus::kMalformed, "ignored");
  } catch (const LException& error) {
    EXPECT_EQ(error.file_name(), nullptr);
  }
}

}  // namespace
}  // namespace kv
