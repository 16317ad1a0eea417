#include "bitmap/tile_band_layout.h"

#include <algorithm>

namespace kv {

ConversionStatus TileBandLayout::Plan(int source_width, int source_height,
                                      const ConversionOptions& tile, ScaleRatio scale,
                                      TileBandLayout* layout) {
  if (source_width <= 0 || source_height <= 0 || scale.scaleNum <= 0 || scale.scaleDen <= 0 ||
      tile.targetWidth == 0 || tile.targetHeight == 0) {
    return ConversionStatus::kMalformed;
  }
  TileBandLayout plan;
  plan.grid_ = TileGridFor(source_width, source_height, tile.targetWidth, tile.targetHeight, scale);
  ConversionOptions window = tile;
  window.fitToSize = false;
  window.originY = 0;
  for (int column = 0; column < plan.grid_.columns; ++column) {
    window.originX = static_cast<std::uint16_t>(plan.grid_.OriginX(column));
    SamplingGeometry geometry;
    const ConversionStatus status =
        ComputeSamplingGeometry(source_width, source_height, window, scale, &geometry);
    if (status != ConversionStatus::kOk) return status;
    plan.offsets_.push_back(plan.source_columns_.size());
    for (int j = 0; j < geometry.outputWidth; ++j) {
      plan.source_columns_.push_back(geometry.SourceX(j));
    }
    plan.columns_.push_back(geometry);
  }
  plan.copies_columns_ = true;
  for (std::size_t k = 0; k < plan.source_columns_.size(); ++k) {
    if (plan.source_columns_[k] != static_cast<int>(k)) plan.copies_columns_ = false;
  }
  window.originX = 0;
  for (int row = 0; row < plan.grid_.rows; ++row) {
    window.originY = static_cast<std::uint16_t>(plan.grid_.OriginY(row));
    SamplingGeometry geometry;
    const ConversionStatus status =
        ComputeSamplingGeometry(source_width, source_height, window, scale, &geometry);
    if (status != ConversionStatus::kOk) return status;
    plan.rows_.push_back(geometry);
  }
  *layout = std::move(plan);
  return ConversionStatus::kOk;
}

int TileBandLayout::max_width() const {
  int widest = 0;
  for (const SamplingGeometry& column : columns_) widest = std::max(widest, column.outputWidth);
  return widest;
}

int TileBandLayout::max_height() const {
  int tallest = 0;
  for (const SamplingGeometry& row : rows_) tallest = std::max(tallest, row.outputHeight);
  return tallest;
}

std::size_t TileBandLayout::total_values() const {
  std::size_t rows = 0;
  for (const SamplingGeometry& row : rows_) rows += static_cast<std::size_t>(row.outputHeight);
  return rows * band_width();
}

}  // namespace kv
