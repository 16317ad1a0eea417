#include "bitmap/palm_bitmap_encoder.h"

#include <cstdint>
#include <new>
#include <optional>
#include <vector>

#include "bitmap/bitmap_compression.h"
#include "bitmap/octree_palette.h"
#include "bitmap/output_depth.h"
#include "bitmap/palm_bitmap_descriptor.h"
#include "bitmap/palm_bitmap_format.h"
#include "bitmap/palm_bitmap_pixels.h"
#include "bitmap/sampling_geometry.h"
#include "pdb/big_endian.h"

namespace kv {

namespace {

// BMP indices go straight into the bitmap when the source already has the
// output's depth: its palette is (or was, for the tiles) the bitmap's table.
bool CopiesIndices(const PixelSource& source, int depth) {
  return source.PaletteKind() == SourcePaletteKind::kBmpIndexed && source.Depth() == depth &&
         depth <= 8;
}

bool UsesOwnPalette(const PixelSource& source, int depth) {
  switch (source.PaletteKind()) {
    case SourcePaletteKind::kBmpIndexed:
      return source.Depth() == depth;
    case SourcePaletteKind::kChart:
      return source.Depth() <= depth;
    case SourcePaletteKind::kNone:
      break;
  }
  return false;
}

ConversionStatus BuildCustomTable(PixelSource& source, int depth, PaletteState& palette) {
  const std::size_t table_size = std::size_t{1} << depth;
  std::vector<std::uint32_t> colours;
  ConversionStatus status;
  if (UsesOwnPalette(source, depth)) {
    status = source.Palette(&colours);
    // A palette longer than the depth can address would give indices that
    // do not fit the pixels; a BMP table always has one entry per index.
    if (status == kConvOk && colours.size() > table_size) colours.resize(table_size);
    if (status == kConvOk && source.PaletteKind() == SourcePaletteKind::kBmpIndexed) {
      colours.resize(table_size, 0x000000);
    }
  } else {
    source.SetPixelMode(PixelMode::kColour);
    status = OctreePalette(source, source.Width(), source.Height(), depth, &colours);
    if (status == kConvOk) {
      try {
        colours.resize(table_size, 0x000000);
      } catch (const std::bad_alloc&) {
        status = kConvNoMemory;
      }
    }
  }
  if (status != kConvOk) return status;
  return palette.SetCustomTable(colours) ? kConvOk : kConvNoMemory;
}

// Packs one row of colours as RGB565, the bytes PutPixelColour writes at
// depth 16, without a call and a bounds check per pixel.
void Pack16BitRow(const std::vector<std::uint32_t>& colours, std::uint8_t* out) {
  for (std::uint32_t colour : colours) {
    EncodeBig16(out,
                static_cast<std::uint16_t>(((colour >> 19) & 0x1F) << 11 |
                                           ((colour >> 10) & 0x3F) << 5 | ((colour >> 3) & 0x1F)));
    out += 2;
  }
}

ConversionStatus SamplePixels(const PixelSource& source, const SamplingGeometry& geometry,
                              bool copy_indices, PaletteMatcher* matcher,
                              PalmBitmapDescriptor* bitmap) {
  const auto width = static_cast<std::size_t>(geometry.outputWidth);
  std::vector<int> source_x(width);
  for (std::size_t j = 0; j < width; ++j) source_x[j] = geometry.SourceX(static_cast<int>(j));
  std::vector<std::uint32_t> row(width);
  const bool whole =
      !bitmap->IsCompressed() && bitmap->pixelData.size() >= bitmap->UncompressedLength();
  const bool packed16 = whole && bitmap->pixelSize == 16;
  const bool matched8 = whole && bitmap->pixelSize == 8 && !copy_indices && matcher != nullptr &&
                        matcher->Table().Count() <= 256;
  for (int i = 0; i < geometry.outputHeight; ++i) {
    source.PixelsOfRow(source_x, geometry.SourceY(i), row.data());
    std::uint8_t* out =
        bitmap->pixelData.data() + std::size_t{bitmap->rowBytes} * static_cast<std::size_t>(i);
    if (packed16) {
      Pack16BitRow(row, out);
      continue;
    }
    if (matched8) {
      // One table index per byte: what PutPixelColour stores, without the
      // call and bounds check per pixel.
      for (std::size_t j = 0; j < width; ++j)
        out[j] = static_cast<std::uint8_t>(matcher->Match(row[j]));
      continue;
    }
    for (std::size_t j = 0; j < width; ++j) {
      const int x = static_cast<int>(j);
      const ConversionStatus status = copy_indices ? PutPixelIndex(bitmap, x, i, row[j])
                                                   : PutPixelColour(bitmap, x, i, row[j], matcher);
      if (status != kConvOk) return status;
    }
  }
  return kConvOk;
}

ConversionStatus EncodeInto(PixelSource& source, const ConversionOptions& options, ScaleRatio scale,
                            int compression, PaletteState& palette, OutputBuffer* output,
                            EncodedBitmapSize* size) {
  if (!IsValidDepthBound(options.minDepth) || !IsValidDepthBound(options.maxDepth))
    return kConvBadDepth;
  const int depth = ChooseOutputDepth(source.Depth(), options.minDepth, options.maxDepth);
  if (!IsSupportedDepth(depth)) return kConvBadDepth;
  SamplingGeometry geometry;
  ConversionStatus status =
      ComputeSamplingGeometry(source.Width(), source.Height(), options, scale, &geometry);
  if (status != kConvOk) return status;
  PalmBitmapDescriptor bitmap;
  status = CreatePalmBitmapDescriptor(depth, geometry.outputWidth, geometry.outputHeight, &bitmap);
  if (status != kConvOk) return status;

  if (options.buildPalette) {
    palette.DiscardCustomTable();
    if (depth <= 8) status = BuildCustomTable(source, depth, palette);
    if (status != kConvOk) return status;
  }
  std::optional<PaletteMatcher> own_matcher;
  PaletteMatcher* matcher = nullptr;
  if (depth <= 8) {
    AttachColourTable(&bitmap, palette.TableForDepth(depth));
    matcher = palette.MatcherFor(bitmap.colourTable);
    if (matcher == nullptr) matcher = &own_matcher.emplace(*bitmap.colourTable);
  }
  const bool copy_indices = CopiesIndices(source, depth);
  source.SetPixelMode(copy_indices ? PixelMode::kIndex : PixelMode::kColour);
  status = SamplePixels(source, geometry, copy_indices, matcher, &bitmap);
  if (status != kConvOk) return status;

  CompressPalmBitmap(&bitmap, compression);
  status = SerialisePalmBitmap(bitmap, output);
  if (status != kConvOk) return status;
  *size = EncodedBitmapSize{bitmap.width, bitmap.height, depth};
  return kConvOk;
}

}  // namespace

ConversionStatus EncodePalmBitmap(PixelSource& source, const ConversionOptions& options,
                                  ScaleRatio scale, int compression, PaletteState& palette,
                                  OutputBuffer* output, EncodedBitmapSize* size) {
  try {
    return EncodeInto(source, options, scale, compression, palette, output, size);
  } catch (const std::bad_alloc&) {
    return kConvNoMemory;
  }
}

}  // namespace kv
