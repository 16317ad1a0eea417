#include "views/converted_map_layer.h"

#include <algorithm>
#include <exception>

#include "bitmap/conversion_front.h"
#include "bitmap/palm_bitmap_sampling.h"
#include "map/c_image_container.h"
#include "map/map_layout.h"
#include "map/map_tile_index.h"

namespace kv {

namespace {

// From this level on a tile is sampled rather than decoded and smoothed:
// a view that far out shows hundreds of tiles, and sampling reads a
// sixteenth of their pixels or less.
constexpr int kFirstSampledLevel = 2;

QImage ImageOf(const RgbImage& rgb) {
  if (rgb.width <= 0 || rgb.height <= 0) return QImage();
  // RGB32 is what the painter draws fastest.
  return QImage(rgb.rgb.data(), rgb.width, rgb.height, 3 * rgb.width, QImage::Format_RGB888)
      .convertToFormat(QImage::Format_RGB32);
}

// The tile at 1/2^level of its size; null when it cannot be decoded.
QImage DecodeTile(const CImage& image, int level) {
  const int factor = 1 << level;
  if (level >= kFirstSampledLevel) {
    RgbImage sampled;
    if (SamplePalmBitmapRgb(image.bitmap().bytes, factor, &sampled) != kConvOk) return QImage();
    return ImageOf(sampled);
  }
  const QImage tile = ImageOf(DecodePalmBitmapRgb(image.bitmap().bytes));
  if (level == 0 || tile.isNull()) return tile;
  return tile.scaled(std::max(1, (tile.width() + factor - 1) / factor),
                     std::max(1, (tile.height() + factor - 1) / factor), Qt::IgnoreAspectRatio,
                     Qt::SmoothTransformation);
}

}  // namespace

ConvertedMapLayer::ConvertedMapLayer(const CImageContainer& container, std::size_t budget_bytes)
    : container_(container), cache_(budget_bytes) {}

int ConvertedMapLayer::width() const {
  const CImage* overview = container_.ImageAt(0);
  return overview == nullptr ? 0 : static_cast<int>(overview->map_width());
}

int ConvertedMapLayer::height() const {
  const CImage* overview = container_.ImageAt(0);
  return overview == nullptr ? 0 : static_cast<int>(overview->map_height());
}

int ConvertedMapLayer::LevelFor(double zoom) {
  int level = 0;
  while (level < kMaxLevel && zoom * (2 << level) <= 1.0) ++level;
  return level;
}

const QImage& ConvertedMapLayer::Tile(std::size_t index, int level) {
  const CImage* image = container_.ImageAt(index);
  if (image == nullptr) return failed_;
  const std::vector<std::uint8_t>& bytes = image->bitmap().bytes;
  const TileKey key{index, level, bytes.data(), bytes.size()};
  if (const QImage* cached = cache_.Find(key)) return *cached;
  QImage tile;
  try {
    tile = DecodeTile(*image, level);
  } catch (const std::exception&) {
    // A damaged tile stays blank; the map reader reports damaged files.
    tile = QImage();
  }
  const std::size_t bytes_taken =
      std::max(static_cast<std::size_t>(tile.sizeInBytes()), sizeof(QImage));
  if (const QImage* kept = cache_.Insert(key, std::move(tile), bytes_taken)) return *kept;
  return failed_;
}

void ConvertedMapLayer::Draw(QPainter& painter, const ImageViewGeometry& view,
                             const QRect& exposed) {
  const int map_width = width();
  const int map_height = height();
  if (map_width <= 0 || map_height <= 0) return;
  const PixelRect shown = view.ImageRectShownIn(PixelRectOf(exposed));
  if (shown.empty()) return;
  const MapTileIndex tiles(static_cast<std::uint64_t>(map_width),
                           static_cast<std::uint64_t>(map_height));
  const int level = LevelFor(view.zoom());
  const int first_column = tiles.ColumnAt(shown.left);
  const int last_column = tiles.ColumnAt(shown.right - 1);
  const int first_row = tiles.RowAt(shown.top);
  const int last_row = tiles.RowAt(shown.bottom - 1);
  for (int column = first_column; column <= last_column; ++column) {
    for (int row = first_row; row <= last_row; ++row) {
      const std::size_t index = tiles.ImageIndex(column, row);
      if (index >= container_.image_count()) return;
      const CImage* image = container_.ImageAt(index);
      const int left = tiles.Left(column);
      const int top = tiles.Top(row);
      const int tile_width = image->bitmap().width > 0 ? image->bitmap().width : kTileWidth;
      const int tile_height = image->bitmap().height > 0 ? image->bitmap().height : kTileHeight;
      const int right = std::min(left + tile_width, map_width);
      const int bottom = std::min(top + tile_height, map_height);
      if (right <= left || bottom <= top) continue;
      const QImage& tile = Tile(index, level);
      if (tile.isNull()) continue;
      // A tile the map cuts short shows only its part inside the map.
      const int factor = 1 << level;
      const QRect source(0, 0, std::max(1, (right - left + factor - 1) / factor),
                         std::max(1, (bottom - top + factor - 1) / factor));
      painter.drawImage(ViewRectOf(view, left, top, right, bottom), tile, source);
    }
  }
}

}  // namespace kv
