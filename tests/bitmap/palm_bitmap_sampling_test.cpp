#include "bitmap/palm_bitmap_sampling.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "bitmap/palm/bitmap_compression.h"
#include "bitmap/palm/palette_state.h"
#include "bitmap/palm/palm_bitmap_encoder.h"
#include "bitmap/synthetic_source.h"

namespace kv {
namespace {

std::vector<std::uint8_t> Encoded(int width, int height, int depth, int compression) {
  testing::ColourSource source(width, height, 24, [](int x, int y) {
    return static_cast<std::uint32_t>(((x * 9) & 0xFF) << 16 | ((y * 5) & 0xFF) << 8 |
                                      ((x * y) & 0xFF));
  });
  ConversionOptions options;
  options.targetWidth = width;
  options.targetHeight = height;
  options.maxDepth = depth;
  options.fitToSize = true;
  options.buildPalette = depth == 8;
  PaletteState palette;
  OutputBuffer output;
  EncodedBitmapSize size;
  EXPECT_EQ(EncodePalmBitmap(source, options, ScaleRatio{}, compression, palette, &output, &size),
            ConversionStatus::kOk);
  return output.bytes;
}

TEST(PalmBitmapSamplingTest, TakesEveryStepthPixelOfTheFullDecode) {
  for (int depth : {16, 8, 4, 1}) {
    for (int compression : {kCompressNever, kCompressWhenSmaller}) {
      const std::vector<std::uint8_t> record = Encoded(37, 23, depth, compression);
      const RgbImage full = DecodePalmBitmapRgb(record);
      ASSERT_EQ(full.width, 37);
      for (int step : {1, 2, 3, 8, 40}) {
        RgbImage sampled;
        ASSERT_EQ(SamplePalmBitmapRgb(record, step, &sampled), ConversionStatus::kOk);
        ASSERT_EQ(sampled.width, (37 + step - 1) / step);
        ASSERT_EQ(sampled.height, (23 + step - 1) / step);
        for (int y = 0; y < sampled.height; ++y) {
          for (int x = 0; x < sampled.width; ++x) {
            const std::size_t at = 3 * (static_cast<std::size_t>(y) * sampled.width + x);
            const std::size_t from =
                3 * (static_cast<std::size_t>(y * step) * full.width + x * step);
            ASSERT_EQ(sampled.rgb[at], full.rgb[from]) << depth << " " << step << " " << x;
            ASSERT_EQ(sampled.rgb[at + 1], full.rgb[from + 1]);
            ASSERT_EQ(sampled.rgb[at + 2], full.rgb[from + 2]);
          }
        }
      }
    }
  }
}

TEST(PalmBitmapSamplingTest, RefusesBadStepsAndDamagedRecords) {
  std::vector<std::uint8_t> record = Encoded(20, 10, 8, kCompressNever);
  RgbImage out;
  EXPECT_EQ(SamplePalmBitmapRgb(record, 0, &out), ConversionStatus::kMalformed);
  EXPECT_EQ(
      SamplePalmBitmapRgb(std::vector<std::uint8_t>(record.begin(), record.begin() + 12), 2, &out),
      ConversionStatus::kMalformed);
  record.resize(record.size() / 2);  // pixels cut short
  EXPECT_NE(SamplePalmBitmapRgb(record, 2, &out), ConversionStatus::kOk);
}

}  // namespace
}  // namespace kv
