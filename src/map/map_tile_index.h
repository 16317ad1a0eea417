#ifndef KORVALE_MAP_MAP_TILE_INDEX_H_
#define KORVALE_MAP_MAP_TILE_INDEX_H_

// Where a map's tiles lie: the images after the overview, column by column,
// each column as many tiles high as the map height needs, every tile
// kTileWidth x kTileHeight pixels at output scale. This is the grid the
// conversion cut the source into, seen at output scale, so its order is
// TileGrid's.

#include <cstddef>
#include <cstdint>

#include "bitmap/tile_grid.h"

namespace kv {

// The list position of the first tile: the overview comes before it.
inline constexpr std::size_t kFirstTileImage = 1;

class MapTileIndex {
 public:
  // A map of the stated size at output scale. Sizes beyond what an int
  // holds (only a damaged file states them) count as that many pixels.
  MapTileIndex(std::uint64_t map_width, std::uint64_t map_height);

  int columns() const { return grid_.columns; }
  int rows() const { return grid_.rows; }
  std::size_t count() const { return grid_.count(); }

  std::size_t ImageIndex(int column, int row) const {
    return kFirstTileImage + grid_.Index(column, row);
  }
  // REQUIRES: image_index >= kFirstTileImage and a map of at least one row.
  int ColumnOfImage(std::size_t image_index) const {
    return grid_.ColumnOf(image_index - kFirstTileImage);
  }
  int RowOfImage(std::size_t image_index) const {
    return grid_.RowOf(image_index - kFirstTileImage);
  }

  // Map pixels: the tile column and row that hold (x, y), and a tile's
  // top-left corner.
  int ColumnAt(int x) const { return grid_.ColumnAt(x); }
  int RowAt(int y) const { return grid_.RowAt(y); }
  int Left(int column) const { return grid_.OriginX(column); }
  int Top(int row) const { return grid_.OriginY(row); }

 private:
  TileGrid grid_;
};

}  // namespace kv

#endif  // KORVALE_MAP_MAP_TILE_INDEX_H_
