#include "bitmap/palm/bitmap_encoding.h"

#include <new>
#include <utility>

#include "bitmap/palm/bitmap_compression.h"
#include "bitmap/palm/output_depth.h"
#include "bitmap/palm/palm_bitmap_descriptor.h"
#include "bitmap/palm/palm_bitmap_format.h"
#include "bitmap/palm/palm_bitmap_pixels.h"
#include "bitmap/palm/system_colour_tables.h"
#include "pdb/big_endian.h"

namespace kv {

namespace {

// Packs one row of colours as RGB565, the bytes PutPixelColour writes at
// depth 16, without a call and a bounds check per pixel.
void Pack16BitRow(const std::uint32_t* colours, std::size_t width, std::uint8_t* out) {
  for (std::size_t j = 0; j < width; ++j) {
    const std::uint32_t colour = colours[j];
    EncodeBig16(out,
                static_cast<std::uint16_t>(((colour >> 19) & 0x1F) << 11 |
                                           ((colour >> 10) & 0x3F) << 5 | ((colour >> 3) & 0x1F)));
    out += 2;
  }
}

ConversionStatus PackPixels(const BitmapEncoding& encoding, const SampledPixels& pixels,
                            PaletteMatcher* matcher, PalmBitmapDescriptor* bitmap) {
  const auto width = static_cast<std::size_t>(pixels.width);
  const bool packed16 = bitmap->pixelSize == 16;
  // One table index per byte: what PutPixelColour stores, without the call
  // and bounds check per pixel.
  const bool matched8 = bitmap->pixelSize == 8 && !encoding.copy_indices && matcher != nullptr &&
                        matcher->Table().Count() <= 256;
  for (int i = 0; i < pixels.height; ++i) {
    const std::uint32_t* row = pixels.values + pixels.stride * static_cast<std::size_t>(i);
    std::uint8_t* out =
        bitmap->pixelData.data() + std::size_t{bitmap->rowBytes} * static_cast<std::size_t>(i);
    if (packed16) {
      Pack16BitRow(row, width, out);
      continue;
    }
    if (matched8) {
      for (std::size_t j = 0; j < width; ++j)
        out[j] = static_cast<std::uint8_t>(matcher->Match(row[j]));
      continue;
    }
    for (std::size_t j = 0; j < width; ++j) {
      const int x = static_cast<int>(j);
      const ConversionStatus status = encoding.copy_indices
                                          ? PutPixelIndex(bitmap, x, i, row[j])
                                          : PutPixelColour(bitmap, x, i, row[j], matcher);
      if (status != ConversionStatus::kOk) return status;
    }
  }
  return ConversionStatus::kOk;
}

ConversionStatus EncodeInto(const BitmapEncoding& encoding, const SampledPixels& pixels,
                            PaletteMatcher* matcher, OutputBuffer* output) {
  PalmBitmapDescriptor bitmap;
  ConversionStatus status =
      CreatePalmBitmapDescriptor(encoding.depth, pixels.width, pixels.height, &bitmap);
  if (status != ConversionStatus::kOk) return status;
  if (encoding.depth <= 8) AttachColourTable(&bitmap, encoding.table);
  status = PackPixels(encoding, pixels, matcher, &bitmap);
  if (status != ConversionStatus::kOk) return status;
  CompressPalmBitmap(&bitmap, encoding.compression);
  return SerialisePalmBitmap(bitmap, output);
}

}  // namespace

const ColourTable* BitmapEncoding::MatchedTable() const {
  if (depth > 8) return nullptr;
  return table != nullptr ? table : SystemColourTable(depth);
}

ConversionStatus EncodingDepth(const PixelSource& source, const ConversionOptions& options,
                               int* depth) {
  if (!IsValidDepthBound(options.minDepth) || !IsValidDepthBound(options.maxDepth))
    return ConversionStatus::kBadDepth;
  *depth = ChooseOutputDepth(source.Depth(), options.minDepth, options.maxDepth);
  return IsSupportedDepth(*depth) ? ConversionStatus::kOk : ConversionStatus::kBadDepth;
}

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

ConversionStatus SetOwnPaletteTable(const PixelSource& source, int depth, PaletteState& palette) {
  const std::size_t table_size = std::size_t{1} << depth;
  std::vector<std::uint32_t> colours;
  try {
    const ConversionStatus status = source.Palette(&colours);
    if (status != ConversionStatus::kOk) return status;
    // A palette longer than the depth can address would give indices that
    // do not fit the pixels; a BMP table always has one entry per index.
    if (colours.size() > table_size) colours.resize(table_size);
    if (source.PaletteKind() == SourcePaletteKind::kBmpIndexed) {
      colours.resize(table_size, 0x000000);
    }
  } catch (const std::bad_alloc&) {
    return ConversionStatus::kNoMemory;
  }
  return palette.SetCustomTable(colours) ? ConversionStatus::kOk : ConversionStatus::kNoMemory;
}

ConversionStatus SetQuantisedTable(std::vector<std::uint32_t> colours, int depth,
                                   PaletteState& palette) {
  try {
    colours.resize(std::size_t{1} << depth, 0x000000);
  } catch (const std::bad_alloc&) {
    return ConversionStatus::kNoMemory;
  }
  return palette.SetCustomTable(colours) ? ConversionStatus::kOk : ConversionStatus::kNoMemory;
}

ConversionStatus EncodeSampledBitmap(const BitmapEncoding& encoding, const SampledPixels& pixels,
                                     PaletteMatcher* matcher, OutputBuffer* output) {
  try {
    return EncodeInto(encoding, pixels, matcher, output);
  } catch (const std::bad_alloc&) {
    return ConversionStatus::kNoMemory;
  }
}

}  // namespace kv
