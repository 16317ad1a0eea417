#ifndef KORVALE_BITMAP_TILE_GRID_H_
#define KORVALE_BITMAP_TILE_GRID_H_

// The tiles a map cuts its source into. Tile windows step through the
// source by one tile at output scale, so a tile of `tile_width` output
// pixels covers tile_width x den / num source pixels; edge windows are cut
// by the sampling geometry. Tiles are stored column by column.

#include <cstddef>

#include "bitmap/conversion_options.h"

namespace kv {

struct TileGrid {
  int step_x = 0;  // source pixels from one tile origin to the next
  int step_y = 0;
  int columns = 0;
  int rows = 0;

  std::size_t count() const {
    return static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
  }
  // The place of a tile in the stored (column-major) order, and back.
  std::size_t Index(int column, int row) const {
    return static_cast<std::size_t>(column) * static_cast<std::size_t>(rows) +
           static_cast<std::size_t>(row);
  }
  // REQUIRES: rows > 0.
  int ColumnOf(std::size_t index) const {
    return static_cast<int>(index / static_cast<std::size_t>(rows));
  }
  int RowOf(std::size_t index) const {
    return static_cast<int>(index % static_cast<std::size_t>(rows));
  }
  int OriginX(int column) const { return column * step_x; }
  int OriginY(int row) const { return row * step_y; }
  // The column and row whose windows hold source pixel (x, y).
  int ColumnAt(int x) const { return x / step_x; }
  int RowAt(int y) const { return y / step_y; }
};

// REQUIRES: positive sizes and a positive scale ratio.
TileGrid TileGridFor(int source_width, int source_height, int tile_width, int tile_height,
                     ScaleRatio scale);

}  // namespace kv

#endif  // KORVALE_BITMAP_TILE_GRID_H_
