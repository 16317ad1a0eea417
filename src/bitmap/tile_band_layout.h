#ifndef KORVALE_BITMAP_TILE_BAND_LAYOUT_H_
#define KORVALE_BITMAP_TILE_BAND_LAYOUT_H_

// Where the pixels of a map's tiles come from when the source is read row
// by row. A band holds the sampled pixels of one row of tiles, the tiles
// side by side:
//
//   band row i:  | tile (0, r) row i | tile (1, r) row i | ... |
//                 <- width(0) ->      <- width(1) ->
//
// Band row i of tile row r samples source row SourceRow(r, i); band column
// k samples source column source_columns()[k]. Every tile of a column has
// the same width, every tile of a row the same height, so one sampling
// geometry per column and per row describes the whole grid.

#include <cstddef>
#include <vector>

#include "bitmap/conversion_options.h"
#include "bitmap/conversion_status.h"
#include "bitmap/sampling_geometry.h"
#include "bitmap/tile_grid.h"

namespace kv {

class TileBandLayout {
 public:
  // `tile` gives the target size and is otherwise a tile's options (origin
  // and fitToSize ignored). ConversionStatus::kMalformed for what ComputeSamplingGeometry
  // refuses.
  static ConversionStatus Plan(int source_width, int source_height, const ConversionOptions& tile,
                               ScaleRatio scale, TileBandLayout* layout);

  const TileGrid& grid() const { return grid_; }
  // Values in one band row.
  std::size_t band_width() const { return source_columns_.size(); }
  const std::vector<int>& source_columns() const { return source_columns_; }
  // Band column k samples source column k for every k (scale 1/1): a band
  // row is a copy of the start of the source row.
  bool copies_columns() const { return copies_columns_; }
  int width(int column) const { return columns_[static_cast<std::size_t>(column)].outputWidth; }
  std::size_t offset(int column) const { return offsets_[static_cast<std::size_t>(column)]; }
  int height(int row) const { return rows_[static_cast<std::size_t>(row)].outputHeight; }
  int SourceRow(int row, int i) const { return rows_[static_cast<std::size_t>(row)].SourceY(i); }
  int max_width() const;
  int max_height() const;
  // Values of all bands together.
  std::size_t total_values() const;

 private:
  TileGrid grid_;
  std::vector<SamplingGeometry> columns_;  // origin (x, 0) of each column
  std::vector<SamplingGeometry> rows_;     // origin (0, y) of each row
  std::vector<std::size_t> offsets_;
  std::vector<int> source_columns_;
  bool copies_columns_ = false;
};

}  // namespace kv

#endif  // KORVALE_BITMAP_TILE_BAND_LAYOUT_H_
