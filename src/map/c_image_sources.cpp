// Turning source images into the container's images: the overview and the
// tile grid.

#include <fstream>
#include <iterator>

#include "base/exceptions.h"
#include "bitmap/bmp_layout.h"
#include "bitmap/raise_conversion_error.h"
#include "map/c_image_container.h"
#include "map/map_file.h"
#include "map/stored_bitmap.h"
#include "pdb/palm_time.h"

namespace kv {

namespace {

struct SourceSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

SourceSize SizeOf(ConversionContext& context, const ConversionSource& source, bool source_is_bmp) {
  SourceSize size;
  if (source_is_bmp) {
    BmpLayout layout;
    ConversionStatus status = ParseBmp(source.bytes, &layout, &context.conversion_message);
    if (status != kConvOk) RaiseConversionError(status, context.conversion_message);
    size.width = layout.width;
    size.height = layout.height;
  } else if (source.image != nullptr) {
    std::uint16_t width = 0, height = 0;
    int depth = 0;
    ConversionStatus status = QueryImageSource(*source.image, &width, &height, &depth);
    if (status != kConvOk) RaiseConversionError(status, "");
    size.width = width;
    size.height = height;
  }
  return size;
}

ConversionOptions TileOptions(const ConversionSettings& settings, bool source_is_bmp) {
  ConversionOptions options;
  options.targetWidth = kTileWidth;
  options.targetHeight = kTileHeight;
  options.minDepth = 1;
  options.maxDepth = static_cast<std::uint8_t>(settings.colourDepth);
  options.sourceIsBmp = source_is_bmp;
  return options;
}

std::uint32_t DateNow() { return PalmDateFromUnix(MapWriteTime()); }

}  // namespace

BitmapRecord BitmapRecordOf(const ConvertedBitmap& converted) {
  return StoredBitmap(converted.record);
}

CImage& CImageContainer::AddSourceImage(const ConversionSource& source, bool convert,
                                        bool source_is_bmp, bool build_palette,
                                        const std::string* name, std::uint32_t date,
                                        std::uint16_t resource_id, ConversionSettings& settings) {
  const SourceSize size = SizeOf(conversion_, source, source_is_bmp);
  if (settings.scale.scaleNum <= 0 || settings.scale.scaleDen <= 0) throw ErrUnknown();
  const TileGrid grid = TileGridFor(static_cast<int>(size.width), static_cast<int>(size.height),
                                    kTileWidth, kTileHeight, settings.scale);
  const std::size_t new_images = 1 + (convert ? grid.count() : 0);
  if (new_images > kMaxImages - images_.size()) throw ErrImageListFull();

  auto main = std::make_unique<CImage>();
  const std::string main_name = name != nullptr ? *name : NextImageName();
  MapConversion converted;
  if (convert) {
    ConversionOptions options = TileOptions(settings, source_is_bmp);
    options.fitToSize = true;
    options.buildPalette = build_palette;
    // Everything is converted before anything is added: a failed or
    // cancelled conversion leaves the list as it was.
    converted = ConvertToOverviewAndTiles(conversion_, settings, source, options);
    main->SetBitmap(BitmapRecordOf(converted.overview));
  }
  main->SetName(main_name);
  main->set_date(date);
  main->set_resource_id(resource_id);
  const auto num = static_cast<std::uint32_t>(settings.scale.scaleNum);
  const auto den = static_cast<std::uint32_t>(settings.scale.scaleDen);
  main->set_map_size(size.width * num / den, size.height * num / den);
  CImage& added = AddImage(std::move(main));
  AddTiles(converted, main_name, date);
  if (observer_ != nullptr) observer_->ShowImage(added);
  return added;
}

// Column by column, as the map stores them, named after their windows'
// origins in source pixels.
void CImageContainer::AddTiles(MapConversion& converted, const std::string& main_name,
                               std::uint32_t date) {
  const TileGrid& grid = converted.grid;
  for (int column = 0; column < grid.columns; ++column) {
    for (int row = 0; row < grid.rows; ++row) {
      auto image = std::make_unique<CImage>();
      image->SetBitmap(StoredBitmap(std::move(converted.tiles[grid.Index(column, row)].record)));
      image->SetName(main_name + " " + std::to_string(grid.OriginX(column)) + " " +
                     std::to_string(grid.OriginY(row)));
      image->set_date(date);
      AddImage(std::move(image));
    }
  }
}

CImage& CImageContainer::AddImageFromFile(int kind, const std::string& path,
                                          const std::string* name, bool convert,
                                          ConversionSettings& settings) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw ErrFileOpen(path.c_str());
  std::vector<std::uint8_t> loading((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
  if (file.bad()) throw ErrFileRead(path.c_str());
  try {
    ConversionSource source{kind, loading, nullptr};
    return AddSourceImage(source, convert, true, true, name, DateNow(), kUnassignedResourceId,
                          settings);
  } catch (FileException& error) {
    error.set_file_name(path.c_str());
    throw;
  }
}

CImage& CImageContainer::AddImageFromSource(ImageSourcePtr source, bool convert,
                                            const std::string* name, ConversionSettings& settings) {
  kept_source_ = std::move(source);
  ConversionSource from{static_cast<int>(kept_source_->kind()), {}, kept_source_.get()};
  return AddSourceImage(from, convert, false, true, name, DateNow(), kUnassignedResourceId,
                        settings);
}

}  // namespace kv

namespace kv {

void CImageContainer::ReencodeImages(const ConversionSettings& settings,
                                     std::optional<int> new_depth) {
  bool first = true;
  for (const auto& image : images_) {
    const int depth = new_depth.value_or(image->bitmap().depth);
    const BitmapRecord& reference = image->reference_bitmap();
    if (reference.depth == depth && reference.compressed == settings.compressBitmaps) {
      image->SetBitmap(reference);
    } else {
      std::vector<std::uint8_t> record =
          ReencodePalmBitmap(conversion_, settings, reference.bytes, depth, first);
      image->SetBitmap(StoredBitmap(std::move(record)));
    }
    first = false;
  }
}

}  // namespace kv
