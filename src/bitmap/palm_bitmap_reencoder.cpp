#include <new>
#include <optional>

#include "base/exceptions.h"
#include "bitmap/conversion_front.h"
#include "bitmap/palm/bitmap_compression.h"
#include "bitmap/palm/octree_palette.h"
#include "bitmap/palm/palm_bitmap_format.h"
#include "bitmap/palm/palm_bitmap_parser.h"
#include "bitmap/palm/palm_bitmap_pixels.h"
#include "bitmap/raise_conversion_error.h"

namespace kv {

namespace {

void Check(ConversionStatus status) {
  if (status != ConversionStatus::kOk) RaiseConversionError(status, "");
}

// An octree table of the record's own colours, padded to 2^depth entries.
std::vector<std::uint32_t> OctreeColoursOf(const PalmBitmapDescriptor& bitmap, int depth) {
  OctreeQuantiser quantiser(depth);
  for (int y = 0; y < bitmap.height; ++y) {
    for (int x = 0; x < bitmap.width; ++x) {
      std::uint32_t colour = 0;
      Check(GetPixel(bitmap, x, y, PixelRead::kColour, &colour));
      quantiser.Insert(colour);
    }
  }
  std::vector<std::uint32_t> colours = quantiser.Colours();
  colours.resize(std::size_t{1} << depth, 0x000000);
  return colours;
}

// With a new palette: the record's own table when the depth stays (its
// indices then stay too), else an octree table of its colours. Returns
// whether indices are copied.
bool BuildPalette(PaletteState& palette, const PalmBitmapDescriptor& source, int depth) {
  palette.DiscardCustomTable();
  if (depth > 8) return false;
  if (depth == source.pixelSize) {
    if (source.ownedColourTable && !palette.SetCustomTable(*source.ownedColourTable)) {
      throw ErrBadAlloc();
    }
    return true;
  }
  if (!palette.SetCustomTable(OctreeColoursOf(source, depth))) throw ErrBadAlloc();
  return false;
}

void CopyPixels(const PalmBitmapDescriptor& source, bool copy_indices, PaletteState& palette,
                PalmBitmapDescriptor* target) {
  std::optional<PaletteMatcher> own_matcher;
  PaletteMatcher* matcher = nullptr;
  if (target->colourTable != nullptr && !copy_indices) {
    matcher = palette.MatcherFor(target->colourTable);
    if (matcher == nullptr) matcher = &own_matcher.emplace(*target->colourTable);
  }
  const PixelRead read = copy_indices ? PixelRead::kIndex : PixelRead::kColour;
  for (int y = 0; y < source.height; ++y) {
    for (int x = 0; x < source.width; ++x) {
      std::uint32_t value = 0;
      Check(GetPixel(source, x, y, read, &value));
      Check(copy_indices ? PutPixelIndex(target, x, y, value)
                         : PutPixelColour(target, x, y, value, matcher));
    }
  }
}

}  // namespace

std::vector<std::uint8_t> ReencodePalmBitmap(ConversionContext& context,
                                             const ConversionSettings& settings,
                                             std::span<const std::uint8_t> record, int depth,
                                             bool build_palette) {
  if (!IsSupportedDepth(depth)) RaiseConversionError(ConversionStatus::kBadDepth, "");
  try {
    PalmBitmapDescriptor source;
    Check(ParseAndExpandPalmBitmap(record, &source));
    PalmBitmapDescriptor target;
    Check(CreatePalmBitmapDescriptor(depth, source.width, source.height, &target));
    bool copy_indices = build_palette && BuildPalette(context.palette, source, depth);
    if (depth <= 8) AttachColourTable(&target, context.palette.TableForDepth(depth));
    // Indices only mean the same colours in the table they came with.
    if (source.ownedColourTable && target.colourTable != context.palette.CustomTable()) {
      copy_indices = false;
    }
    CopyPixels(source, copy_indices, context.palette, &target);
    CompressPalmBitmap(&target, settings.compressBitmaps ? kCompressWhenSmaller : kCompressNever);
    OutputBuffer output;
    Check(SerialisePalmBitmap(target, &output));
    return std::move(output.bytes);
  } catch (const std::bad_alloc&) {
    throw ErrBadAlloc();
  }
}

}  // namespace kv
