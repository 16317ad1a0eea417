#include "bitmap/map_plan.h"

#include "bitmap/palm_bitmap_format.h"

namespace kv {

ConversionStatus PlanMap(const PixelSource& source, const MapConversionRequest& request,
                         BitmapEncoding* encoding, SamplingGeometry* overview,
                         TileBandLayout* layout) {
  ConversionStatus status = EncodingDepth(source, request.overview, &encoding->depth);
  if (status != kConvOk) return status;
  encoding->compression = request.compression;
  status = ComputeSamplingGeometry(source.Width(), source.Height(), request.overview, request.scale,
                                   overview);
  if (status != kConvOk) return status;
  status = CheckPalmBitmapSize(encoding->depth, overview->outputWidth, overview->outputHeight);
  if (status != kConvOk) return status;
  ConversionOptions tile = request.overview;
  tile.fitToSize = false;
  tile.buildPalette = false;
  status = TileBandLayout::Plan(source.Width(), source.Height(), tile, request.scale, layout);
  if (status != kConvOk || layout->grid().count() == 0) return status;
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
        if (status != kConvOk) return status;
      }
    }
  }
  encoding->copy_indices = CopiesIndices(source, encoding->depth);
  source.SetPixelMode(encoding->copy_indices ? PixelMode::kIndex : PixelMode::kColour);
  return kConvOk;
}

}  // namespace kv
