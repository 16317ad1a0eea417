#include "bitmap/tile_grid.h"

#include <cstdint>

namespace kv {

namespace {

// At least one pixel, so that a ratio finer than one tile per pixel still
// ends.
int Step(int tile_pixels, ScaleRatio scale) {
  const std::int64_t step = std::int64_t{scale.scaleDen} * tile_pixels / scale.scaleNum;
  return static_cast<int>(step < 1 ? 1 : step);
}

int CountOf(int source_pixels, int step) {
  return static_cast<int>((std::int64_t{source_pixels} + step - 1) / step);
}

}  // namespace

TileGrid TileGridFor(int source_width, int source_height, int tile_width, int tile_height,
                     ScaleRatio scale) {
  TileGrid grid;
  grid.step_x = Step(tile_width, scale);
  grid.step_y = Step(tile_height, scale);
  grid.columns = CountOf(source_width, grid.step_x);
  grid.rows = CountOf(source_height, grid.step_y);
  return grid;
}

}  // namespace kv
