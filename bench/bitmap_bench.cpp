// Converting a photo-like map into an overview and its tiles: the work of
// one import. Reports source megapixels per second.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "bitmap/palm/bitmap_compression.h"
#include "bitmap/palm/nearest_palette_index.h"
#include "bitmap/palm/palette_state.h"
#include "bitmap/palm/palm_bitmap_encoder.h"
#include "bitmap/palm/system_colour_tables.h"
#include "bitmap/pixel_source.h"

namespace {

constexpr int kSourceWidth = 2048;
constexpr int kSourceHeight = 1024;
constexpr int kTileWidth = 160;
constexpr int kTileHeight = 131;

std::uint8_t Clamp(double v) {
  return static_cast<std::uint8_t>(std::lround(std::fmin(255.0, std::fmax(0.0, v))));
}

// Smooth colour fields with sensor-like noise: many distinct colours, as in
// a scanned or photographed map.
class PhotoSource final : public kv::PixelSource {
 public:
  PhotoSource() : pixels_(static_cast<std::size_t>(kSourceWidth) * kSourceHeight) {
    std::mt19937 random(42);
    std::normal_distribution<double> noise(0.0, 6.0);
    for (int y = 0; y < kSourceHeight; ++y) {
      for (int x = 0; x < kSourceWidth; ++x) {
        const double u = x / 180.0;
        const double v = y / 140.0;
        const double red = 128 + 90 * std::sin(u) * std::cos(v * 0.7) + noise(random);
        const double green = 120 + 80 * std::cos(u * 0.6 + v) + noise(random);
        const double blue = 110 + 100 * std::sin(v * 1.3 - u * 0.4) + noise(random);
        pixels_[static_cast<std::size_t>(y) * kSourceWidth + static_cast<std::size_t>(x)] =
            std::uint32_t{Clamp(red)} << 16 | std::uint32_t{Clamp(green)} << 8 | Clamp(blue);
      }
    }
  }

  int Width() const override { return kSourceWidth; }
  int Height() const override { return kSourceHeight; }
  int Depth() const override { return 24; }
  void SetPixelMode(kv::PixelMode) override {}
  std::uint32_t Pixel(int x, int y) const override {
    return pixels_[static_cast<std::size_t>(y) * kSourceWidth + static_cast<std::size_t>(x)];
  }

 private:
  std::vector<std::uint32_t> pixels_;
};

const PhotoSource& Photo() {
  static const PhotoSource source;
  return source;
}

// The overview with a new table, then every tile column by column sharing it.
void ConvertMap(PhotoSource& source, int depth, kv::PaletteState& palette) {
  kv::ConversionOptions options;
  options.fitToSize = true;
  options.buildPalette = true;
  options.targetWidth = kTileWidth;
  options.targetHeight = kTileHeight;
  options.maxDepth = static_cast<std::uint8_t>(depth);
  kv::OutputBuffer output;
  kv::EncodedBitmapSize size;
  kv::EncodePalmBitmap(source, options, {}, kv::kCompressWhenSmaller, palette, &output, &size);
  options.fitToSize = false;
  options.buildPalette = false;
  for (int x = 0; x < kSourceWidth; x += kTileWidth) {
    for (int y = 0; y < kSourceHeight; y += kTileHeight) {
      options.originX = static_cast<std::uint16_t>(x);
      options.originY = static_cast<std::uint16_t>(y);
      output.bytes.clear();
      kv::EncodePalmBitmap(source, options, {}, kv::kCompressWhenSmaller, palette, &output, &size);
      benchmark::DoNotOptimize(output.bytes.data());
    }
  }
}

void ReportMegapixels(benchmark::State& state) {
  const double pixels = static_cast<double>(kSourceWidth) * kSourceHeight;
  state.counters["Mpx/s"] = benchmark::Counter(
      pixels * static_cast<double>(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

void BM_ConvertMap(benchmark::State& state) {
  PhotoSource& source = const_cast<PhotoSource&>(Photo());
  const int depth = static_cast<int>(state.range(0));
  for (auto _ : state) {
    kv::PaletteState palette;  // a fresh document each time
    ConvertMap(source, depth, palette);
  }
  ReportMegapixels(state);
}
BENCHMARK(BM_ConvertMap)->Arg(8)->Arg(16)->Arg(4)->Unit(benchmark::kMillisecond);

// Colour matching alone against the 8-bit system table, with and without
// the memo, over the photo's pixels.
void BM_MatchPhotoPixels(benchmark::State& state) {
  const PhotoSource& source = Photo();
  const bool memoised = state.range(0) != 0;
  const kv::ColourTable& table = *kv::SystemColourTable(8);
  for (auto _ : state) {
    kv::PaletteMatcher matcher(table);
    long sum = 0;
    for (int y = 0; y < kSourceHeight; y += 4) {
      for (int x = 0; x < kSourceWidth; ++x) {
        const std::uint32_t colour = source.Pixel(x, y);
        sum += memoised ? matcher.Match(colour) : kv::NearestPaletteIndex(table, colour);
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["Mpx/s"] =
      benchmark::Counter(static_cast<double>(kSourceWidth) * kSourceHeight / 4 *
                             static_cast<double>(state.iterations()) / 1e6,
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MatchPhotoPixels)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
