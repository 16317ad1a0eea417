#include "views/converted_map_layer.h"

#include <algorithm>
#include <exception>
#include <set>
#include <span>

#include "bitmap/conversion_front.h"
#include "bitmap/palm_bitmap_sampling.h"
#include "map/c_image.h"
#include "map/c_image_container.h"
#include "map/map_layout.h"
#include "map/map_tile_index.h"

namespace kv {

namespace {

// From this level on a tile is sampled rather than decoded and smoothed:
// a view that far out shows hundreds of tiles, and sampling reads a
// sixteenth of their pixels or less.
constexpr int kFirstSampledLevel = 2;

// Tiles the worker decodes before it hands them over: few enough that a
// view moving on drops the rest soon, enough that handing over stays cheap.
constexpr std::size_t kTilesPerBatch = 32;

// Tiles a paint copies for the worker at most: a zoomed-out view asks for
// thousands, and copying them all at once would hold the window. The paints
// that follow their arrival ask for the next ones.
constexpr std::size_t kNewTilesPerPaint = 256;

QImage ImageOf(const RgbImage& rgb) {
  if (rgb.width <= 0 || rgb.height <= 0) return QImage();
  // RGB32 is what the painter draws fastest.
  return QImage(rgb.rgb.data(), rgb.width, rgb.height, 3 * rgb.width, QImage::Format_RGB888)
      .convertToFormat(QImage::Format_RGB32);
}

// The tile at 1/2^level of its size; null when it cannot be decoded.
QImage DecodeTile(std::span<const std::uint8_t> bitmap, int level) {
  const int factor = 1 << level;
  if (level >= kFirstSampledLevel) {
    RgbImage sampled;
    if (SamplePalmBitmapRgb(bitmap, factor, &sampled) != ConversionStatus::kOk) return QImage();
    return ImageOf(sampled);
  }
  const QImage tile = ImageOf(DecodePalmBitmapRgb(bitmap));
  if (level == 0 || tile.isNull()) return tile;
  return tile.scaled(std::max(1, (tile.width() + factor - 1) / factor),
                     std::max(1, (tile.height() + factor - 1) / factor), Qt::IgnoreAspectRatio,
                     Qt::SmoothTransformation);
}

QImage DecodeTileOrNothing(std::span<const std::uint8_t> bitmap, int level) {
  try {
    return DecodeTile(bitmap, level);
  } catch (const std::exception&) {
    // A damaged tile stays blank; the map reader reports damaged files.
    return QImage();
  }
}

}  // namespace

ConvertedMapLayer::ConvertedMapLayer(const CImageContainer& container, std::size_t budget_bytes)
    : container_(container),
      cache_(budget_bytes),
      queue_(std::make_unique<Queue>(
          [](const Queue::Wanted& batch) {
            Queue::Results tiles;
            for (const auto& [key, bitmap] : batch)
              tiles.emplace_back(key, DecodeTileOrNothing(bitmap, key.level));
            return tiles;
          },
          [](const Queue::Wanted&) { return kTilesPerBatch; },
          [this](Queue::Results tiles) { Arrived(std::move(tiles)); })) {}

ConvertedMapLayer::~ConvertedMapLayer() = default;

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

ConvertedMapLayer::TilePlace ConvertedMapLayer::PlaceOf(const MapTileIndex& tiles, int column,
                                                        int row) const {
  const CImage* image = container_.ImageAt(tiles.ImageIndex(column, row));
  if (image == nullptr) return {};
  const int left = tiles.Left(column);
  const int top = tiles.Top(row);
  const int tile_width = image->bitmap().width > 0 ? image->bitmap().width : kTileWidth;
  const int tile_height = image->bitmap().height > 0 ? image->bitmap().height : kTileHeight;
  const PixelRect rect{left, top, std::min(left + tile_width, width()),
                       std::min(top + tile_height, height())};
  if (rect.empty()) return {};
  return {rect, image};
}

void ConvertedMapLayer::Draw(QPainter& painter, const ImageViewGeometry& view,
                             const QRect& exposed) {
  const int map_width = width();
  const int map_height = height();
  if (map_width <= 0 || map_height <= 0) return;
  const MapTileIndex tiles(static_cast<std::uint64_t>(map_width),
                           static_cast<std::uint64_t>(map_height));
  const int level = LevelFor(view.zoom());
  const PixelRect sight = view.ImageRectShownIn({0, 0, view.client_width(), view.client_height()});
  const PixelRect shown = view.ImageRectShownIn(PixelRectOf(exposed));
  std::set<TileKey> pins;
  sight_rects_.clear();
  std::vector<TileKey> wanted;
  if (!sight.empty()) {
    for (int column = tiles.ColumnAt(sight.left); column <= tiles.ColumnAt(sight.right - 1);
         ++column) {
      for (int row = tiles.RowAt(sight.top); row <= tiles.RowAt(sight.bottom - 1); ++row) {
        const TilePlace place = PlaceOf(tiles, column, row);
        if (place.image == nullptr) continue;
        const TileKey key{tiles.ImageIndex(column, row), level, place.image,
                          place.image->revision()};
        pins.insert(key);
        if (cache_.Contains(key)) continue;
        wanted.push_back(key);
        sight_rects_.emplace(key, place.rect);
      }
    }
  }
  cache_.PinOnly(std::move(pins));
  complete_ = wanted.empty();
  // The worker gets copies: the document stays the window thread's alone.
  queue_->Want(
      wanted, [](const TileKey& key) { return key.image->bitmap().bytes; }, kNewTilesPerPaint);

  if (shown.empty()) return;
  const int factor = 1 << level;
  for (int column = tiles.ColumnAt(shown.left); column <= tiles.ColumnAt(shown.right - 1);
       ++column) {
    for (int row = tiles.RowAt(shown.top); row <= tiles.RowAt(shown.bottom - 1); ++row) {
      const TilePlace place = PlaceOf(tiles, column, row);
      if (place.image == nullptr) continue;
      const QImage* tile =
          cache_.Find({tiles.ImageIndex(column, row), level, place.image, place.image->revision()});
      if (tile == nullptr || tile->isNull()) continue;
      // A tile the map cuts short shows only its part inside the map.
      const PixelRect& rect = place.rect;
      const QRect source(0, 0, std::max(1, (rect.right - rect.left + factor - 1) / factor),
                         std::max(1, (rect.bottom - rect.top + factor - 1) / factor));
      painter.drawImage(ViewRectOf(view, rect.left, rect.top, rect.right, rect.bottom), *tile,
                        source);
    }
  }
}

void ConvertedMapLayer::Arrived(Queue::Results tiles) {
  // The document is not read here: long work may own it while tiles come in.
  for (auto& [key, tile] : tiles) {
    const std::size_t bytes =
        std::max(static_cast<std::size_t>(tile.sizeInBytes()), sizeof(QImage));
    cache_.Insert(key, std::move(tile), bytes);
    const auto in_sight = sight_rects_.find(key);
    if (in_sight == sight_rects_.end()) continue;
    complete_ = false;
    if (arrived_) arrived_(in_sight->second);
  }
}

}  // namespace kv
