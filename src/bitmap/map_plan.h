#ifndef KORVALE_BITMAP_MAP_PLAN_H_
#define KORVALE_BITMAP_MAP_PLAN_H_

// What a map's conversion settles before it reads a pixel, shared by the
// conversion and by the estimate of its size: the bitmaps' depth and
// compression, the overview's geometry, the tiles' bands, and the colour
// table the overview chooses.

#include "bitmap/conversion_status.h"
#include "bitmap/map_conversion.h"
#include "bitmap/palm/bitmap_encoding.h"
#include "bitmap/palm/palette_state.h"
#include "bitmap/pixel_source.h"
#include "bitmap/sampling_geometry.h"
#include "bitmap/tile_band_layout.h"

namespace kv {

// Sets the encoding's depth and compression (its table comes later), the
// overview's geometry and the tiles' layout. Refuses bitmaps that cannot be
// made (depth, geometry, size).
ConversionStatus PlanMap(const PixelSource& source, const MapConversionRequest& request,
                         BitmapEncoding* encoding, SamplingGeometry* overview,
                         TileBandLayout* layout);

// As the overview's conversion chooses its table: with `build_palette` a
// new one in `palette` (the source's own palette now, or *octree set: an
// octree palette of the pixels, which the caller builds), else the one
// `palette` holds. Sets encoding->copy_indices and the source's pixel mode.
ConversionStatus ChooseMapPalette(PixelSource& source, bool build_palette, PaletteState& palette,
                                  BitmapEncoding* encoding, bool* octree);

}  // namespace kv

#endif  // KORVALE_BITMAP_MAP_PLAN_H_
