#include "bitmap/sampling_geometry.h"

#include <algorithm>
#include <cstdint>

namespace kv {

namespace {

int SourceCoordinate(int output, int num, int den, int origin, int limit) {
  const std::int64_t source = std::int64_t{den} * output / num + origin;
  return static_cast<int>(std::min<std::int64_t>(source, limit - 1));
}

void FitWhole(int w_src, int h_src, int w, int h, SamplingGeometry* g) {
  if (w_src <= w && h_src <= h) {
    g->outputWidth = w_src;
    g->outputHeight = h_src;
    return;
  }
  if (static_cast<double>(h_src) / h > static_cast<double>(w_src) / w) {
    g->num = h;
    g->den = h_src;
  } else {
    g->num = w;
    g->den = w_src;
  }
  g->outputWidth =
      static_cast<int>(std::min<std::int64_t>(std::int64_t{w_src} * g->num / g->den, w));
  g->outputHeight =
      static_cast<int>(std::min<std::int64_t>(std::int64_t{h_src} * g->num / g->den, h));
}

// The output extent along one axis of a tile window of `target` pixels at
// `origin`, cut where the window runs past `source` pixels.
int TileExtent(int source, int target, int origin, int num, int den) {
  std::int64_t extent = target;
  if (source < std::int64_t{den} * target / num + origin) {
    extent = std::int64_t{num} * (source - origin) / den;
  }
  return static_cast<int>(std::min<std::int64_t>(extent, target));
}

}  // namespace

int SamplingGeometry::SourceX(int j) const {
  return SourceCoordinate(j, num, den, originX, sourceWidth);
}

int SamplingGeometry::SourceY(int i) const {
  return SourceCoordinate(i, num, den, originY, sourceHeight);
}

ConversionStatus ComputeSamplingGeometry(int source_width, int source_height,
                                         const ConversionOptions& options, ScaleRatio scale,
                                         SamplingGeometry* geometry) {
  const int w = options.targetWidth;
  const int h = options.targetHeight;
  if (source_width <= 0 || source_height <= 0 || w == 0 || h == 0)
    return ConversionStatus::kMalformed;
  SamplingGeometry g;
  g.sourceWidth = source_width;
  g.sourceHeight = source_height;
  if (options.fitToSize) {
    FitWhole(source_width, source_height, w, h, &g);
  } else {
    if (scale.scaleNum <= 0 || scale.scaleDen <= 0) return ConversionStatus::kMalformed;
    if (options.originX >= source_width || options.originY >= source_height)
      return ConversionStatus::kMalformed;
    g.num = scale.scaleNum;
    g.den = scale.scaleDen;
    g.originX = options.originX;
    g.originY = options.originY;
    g.outputWidth = TileExtent(source_width, w, g.originX, g.num, g.den);
    g.outputHeight = TileExtent(source_height, h, g.originY, g.num, g.den);
  }
  *geometry = g;
  return ConversionStatus::kOk;
}

}  // namespace kv
