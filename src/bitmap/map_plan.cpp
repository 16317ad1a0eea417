#include "bitmap/map_plan.h"

#include "bitmap/palm/palm_bitmap_format.h"

namespace kv {

ConversionStatus PlanMap(const PixelSource& source, const MapConversionRequest& request,
                         BitmapEncoding* encoding, SamplingGeometry* overview,
                         TileBandLayout* layout) {
  ConversionStatus status = EncodingDepth(source, request.overview, &encoding->depth);
  if (status != ConversionStatus::kOk) return status;
  encoding->compression = request.compression;
  status = ComputeSamplingGeometry(source.Width(), source.Height(), request.overview, request.scale,
                                   overview);
  if (status != ConversionStatus::kOk) return status;
  status = CheckPalmBitmapSize(encoding->depth, overview->outputWidth, overview->outputHeight);
  if (status != ConversionStatus::kOk) return status;
  ConversionOptions tile = request.overview;
  tile.fitToSize = false;
  tile.buildPalette = false;
  status = TileBandLayout::Plan(source.Width(), source.Height(), tile, request.scale, layout);
  if (status != ConversionStatus::kOk || layout->grid().count() == 0) return status;
  return CheckPalmBitmapSize(encoding->depth, layout->max_width(), layout->max_height());
}

ConversionStatus ChooseMapPalette(PixelSource& source, bool build_palette, PaletteState& palette,
                                  BitmapEncoding* encoding, bool* octree) {
  *octree = false;
  if (build_palette) {
    palette.DiscardCustomTable();
    if (encoding->depth <= 8) {
      if (!UsesOwnPalette(source, encoding->depth)) {
        *octree = true;
      } else {
        const ConversionStatus status = SetOwnPaletteTable(source, encoding->depth, palette);
        if (status != ConversionStatus::kOk) return status;
      }
    }
  }
  encoding->copy_indices = CopiesIndices(source, encoding->depth);
  source.SetPixelMode(encoding->copy_indices ? PixelMode::kIndex : PixelMode::kColour);
  return ConversionStatus::kOk;
}

}  // namespace kv
