// Parses arbitrary bytes as a BMP file and, when that succeeds, reads every
// pixel and the palette in both pixel modes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "bitmap/bmp/bmp_layout.h"
#include "bitmap/bmp/bmp_pixel_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  std::string message;
  kv::BmpLayout layout;
  const kv::ConversionStatus parsed = kv::ParseBmp(bytes, &layout, &message);

  kv::BmpPixelReader reader;
  if (reader.SetUp(bytes, kv::PixelMode::kIndex, &message) != parsed) __builtin_trap();
  if (parsed != kv::ConversionStatus::kOk) return 0;

  std::uint32_t sink = 0;
  for (kv::PixelMode mode : {kv::PixelMode::kIndex, kv::PixelMode::kColour}) {
    reader.SetPixelMode(mode);
    for (int y = 0; y < reader.Height(); ++y) {
      for (int x = 0; x < reader.Width(); ++x) sink ^= reader.Pixel(x, y);
    }
  }
  std::vector<std::uint32_t> palette;
  if (reader.Palette(&palette) != kv::ConversionStatus::kOk) __builtin_trap();
  for (std::uint32_t entry : palette) sink ^= entry;
  volatile std::uint32_t keep = sink;
  (void)keep;
  return 0;
}
