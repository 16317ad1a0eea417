#include "bitmap/palm/palm_bitmap_encoder.h"

#include <cstdint>
#include <new>
#include <optional>
#include <vector>

#include "bitmap/palm/bitmap_encoding.h"
#include "bitmap/palm/octree_palette.h"
#include "bitmap/palm/palm_bitmap_descriptor.h"
#include "bitmap/sampling_geometry.h"

namespace kv {

namespace {

ConversionStatus BuildCustomTable(PixelSource& source, int depth, PaletteState& palette) {
  if (UsesOwnPalette(source, depth)) return SetOwnPaletteTable(source, depth, palette);
  source.SetPixelMode(PixelMode::kColour);
  std::vector<std::uint32_t> colours;
  const ConversionStatus status =
      OctreePalette(source, source.Width(), source.Height(), depth, &colours);
  if (status != ConversionStatus::kOk) return status;
  return SetQuantisedTable(std::move(colours), depth, palette);
}

// The window's pixels, row by row, as the geometry picks them.
std::vector<std::uint32_t> SampleWindow(const PixelSource& source,
                                        const SamplingGeometry& geometry) {
  const auto width = static_cast<std::size_t>(geometry.outputWidth);
  std::vector<int> source_x(width);
  for (std::size_t j = 0; j < width; ++j) source_x[j] = geometry.SourceX(static_cast<int>(j));
  std::vector<std::uint32_t> values(width * static_cast<std::size_t>(geometry.outputHeight));
  for (int i = 0; i < geometry.outputHeight; ++i) {
    source.PixelsOfRow(source_x, geometry.SourceY(i),
                       values.data() + width * static_cast<std::size_t>(i));
  }
  return values;
}

ConversionStatus EncodeInto(PixelSource& source, const ConversionOptions& options, ScaleRatio scale,
                            int compression, PaletteState& palette, OutputBuffer* output,
                            EncodedBitmapSize* size) {
  BitmapEncoding encoding;
  encoding.compression = compression;
  ConversionStatus status = EncodingDepth(source, options, &encoding.depth);
  if (status != ConversionStatus::kOk) return status;
  SamplingGeometry geometry;
  status = ComputeSamplingGeometry(source.Width(), source.Height(), options, scale, &geometry);
  if (status != ConversionStatus::kOk) return status;
  status = CheckPalmBitmapSize(encoding.depth, geometry.outputWidth, geometry.outputHeight);
  if (status != ConversionStatus::kOk) return status;

  if (options.buildPalette) {
    palette.DiscardCustomTable();
    if (encoding.depth <= 8) status = BuildCustomTable(source, encoding.depth, palette);
    if (status != ConversionStatus::kOk) return status;
  }
  std::optional<PaletteMatcher> own_matcher;
  PaletteMatcher* matcher = nullptr;
  if (encoding.depth <= 8) {
    encoding.table = palette.TableForDepth(encoding.depth);
    matcher = palette.MatcherFor(encoding.MatchedTable());
    if (matcher == nullptr) matcher = &own_matcher.emplace(*encoding.MatchedTable());
  }
  encoding.copy_indices = CopiesIndices(source, encoding.depth);
  source.SetPixelMode(encoding.copy_indices ? PixelMode::kIndex : PixelMode::kColour);
  const std::vector<std::uint32_t> values = SampleWindow(source, geometry);
  const SampledPixels pixels{geometry.outputWidth, geometry.outputHeight, values.data(),
                             static_cast<std::size_t>(geometry.outputWidth)};
  status = EncodeSampledBitmap(encoding, pixels, matcher, output);
  if (status != ConversionStatus::kOk) return status;
  *size = EncodedBitmapSize{geometry.outputWidth, geometry.outputHeight, encoding.depth};
  return ConversionStatus::kOk;
}

}  // namespace

ConversionStatus EncodePalmBitmap(PixelSource& source, const ConversionOptions& options,
                                  ScaleRatio scale, int compression, PaletteState& palette,
                                  OutputBuffer* output, EncodedBitmapSize* size) {
  try {
    return EncodeInto(source, options, scale, compression, palette, output, size);
  } catch (const std::bad_alloc&) {
    return ConversionStatus::kNoMemory;
  }
}

}  // namespace kv
