#ifndef KORVALE_BITMAP_SAMPLING_GEOMETRY_H_
#define KORVALE_BITMAP_SAMPLING_GEOMETRY_H_

// Which source pixel each output pixel shows. Sampling is nearest-neighbour
// without filtering: output pixel (j, i) shows source pixel
// (den * j / num + originX, den * i / num + originY), clamped to the image.

#include "bitmap/conversion_options.h"
#include "bitmap/conversion_status.h"

namespace kv {

struct SamplingGeometry {
  int outputWidth = 0;
  int outputHeight = 0;
  int num = 1;  // output pixels per `den` source pixels
  int den = 1;
  int originX = 0;
  int originY = 0;
  int sourceWidth = 0;
  int sourceHeight = 0;

  int SourceX(int j) const;
  int SourceY(int i) const;
};

// Fit mode (options.fitToSize): the whole source fitted into the target
// size, keeping its aspect ratio, never enlarged; `scale` is not used.
// Tile mode: a target-size window at the origin, scaled by `scale` and cut
// where it runs past the source.
// ConversionStatus::kMalformed for an empty source or target, a scale that is not a
// positive ratio, or a tile origin outside the source.
ConversionStatus ComputeSamplingGeometry(int source_width, int source_height,
                                         const ConversionOptions& options, ScaleRatio scale,
                                         SamplingGeometry* geometry);

}  // namespace kv

#endif  // KORVALE_BITMAP_SAMPLING_GEOMETRY_H_
