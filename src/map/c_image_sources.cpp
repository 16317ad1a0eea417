// Turning source images into the container's images: the overview and the
// tile grid.

#include <cerrno>
#include <fstream>
#include <iterator>

#include "base/exceptions.h"
#include "bitmap/bmp/bmp_layout.h"
#include "bitmap/raise_conversion_error.h"
#include "map/c_image_container.h"
#include "map/map_conversion_options.h"
#include "map/map_file.h"
#include "map/stored_bitmap.h"
#include "pdb/palm_time.h"

namespace kv {

namespace {

struct SourceSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

// Column by column, as the map stores them, named after their windows'
// origins in source pixels.
std::vector<std::unique_ptr<CImage>> TileImages(MapConversion& converted,
                                                const std::string& main_name, std::uint32_t date) {
  const TileGrid& grid = converted.grid;
  std::vector<std::unique_ptr<CImage>> tiles;
  tiles.reserve(grid.count());
  for (int column = 0; column < grid.columns; ++column) {
    for (int row = 0; row < grid.rows; ++row) {
      auto image = std::make_unique<CImage>();
      image->SetBitmap(StoredBitmap(std::move(converted.tiles[grid.Index(column, row)].record)));
      image->SetName(main_name + " " + std::to_string(grid.OriginX(column)) + " " +
                     std::to_string(grid.OriginY(row)));
      image->set_date(date);
      tiles.push_back(std::move(image));
    }
  }
  return tiles;
}

SourceSize SizeOf(ConversionContext& context, const ConversionSource& source, bool source_is_bmp) {
  SourceSize size;
  if (source_is_bmp) {
    BmpLayout layout;
    ConversionStatus status = ParseBmp(source.bytes, &layout, &context.conversion_message);
    if (status != ConversionStatus::kOk) RaiseConversionError(status, context.conversion_message);
    size.width = layout.width;
    size.height = layout.height;
  } else if (source.image != nullptr) {
    std::uint16_t width = 0, height = 0;
    int depth = 0;
    ConversionStatus status = QueryImageSource(*source.image, &width, &height, &depth);
    if (status != ConversionStatus::kOk) RaiseConversionError(status, "");
    size.width = width;
    size.height = height;
  }
  return size;
}

std::uint32_t DateNow() { return PalmDateFromUnix(MapWriteTime()); }

void CheckScale(const ScaleRatio& scale) {
  if (scale.scaleNum <= 0 || scale.scaleDen <= 0) throw ErrUnknown();
}

void SetMapSize(CImage& image, const SourceSize& size, const ScaleRatio& scale) {
  const auto num = static_cast<std::uint32_t>(scale.scaleNum);
  const auto den = static_cast<std::uint32_t>(scale.scaleDen);
  image.set_map_size(size.width * num / den, size.height * num / den);
}

ConversionSource SourceOf(const CImageContainer::UnconvertedEntry& entry) {
  return ConversionSource{entry.kind, entry.bmp_bytes, entry.source.get()};
}

}  // namespace

BitmapRecord BitmapRecordOf(const ConvertedBitmap& converted) {
  return StoredBitmap(converted.record);
}

// Everything is converted, and the tiles made into images, before anything
// is added: a failed or cancelled conversion leaves the list as it was, and
// the window's thread, which adds them, only lists what is ready.
CImageContainer::ConvertedImages CImageContainer::ConvertSource(
    const ConversionSource& source, bool source_is_bmp, bool build_palette,
    ConversionSettings& settings, const std::string& main_name, std::uint32_t date) {
  ConversionOptions options = MapTileOptions(settings, source_is_bmp);
  options.fitToSize = true;
  options.buildPalette = build_palette;
  ConvertedImages images;
  RunConversion([&]() {
    MapConversion converted = ConvertToOverviewAndTiles(conversion_, settings, source, options);
    images.overview = BitmapRecordOf(converted.overview);
    images.tiles = TileImages(converted, main_name, date);
    // Cancel holds until the list changes: asked once more after the last
    // step of the work.
    ReportStep(images.tiles.size(), images.tiles.size());
    if (conversion_.cancel) throw ErrAlreadyReported();
  });
  return images;
}

CImage& CImageContainer::AddSourceImage(const ConversionSource& source, bool convert,
                                        bool source_is_bmp, bool build_palette,
                                        const std::string* name, std::uint32_t date,
                                        std::uint16_t resource_id, ConversionSettings& settings) {
  const SourceSize size = SizeOf(conversion_, source, source_is_bmp);
  CheckScale(settings.scale);
  const TileGrid grid = TileGridFor(static_cast<int>(size.width), static_cast<int>(size.height),
                                    kTileWidth, kTileHeight, settings.scale);
  const std::size_t new_images = 1 + (convert ? grid.count() : 0);
  if (new_images > kMaxImages - images_.size()) throw ErrImageListFull();

  auto main = std::make_unique<CImage>();
  const std::string main_name = name != nullptr ? *name : NextImageName();
  ConvertedImages converted;
  if (convert) {
    converted = ConvertSource(source, source_is_bmp, build_palette, settings, main_name, date);
    main->SetBitmap(std::move(converted.overview));
  }
  main->SetName(main_name);
  main->set_date(date);
  main->set_resource_id(resource_id);
  SetMapSize(*main, size, settings.scale);
  CImage& added = AddImage(std::move(main));
  AddImages(std::move(converted.tiles));
  if (observer_ != nullptr) observer_->ShowImage(added);
  return added;
}

CImage& CImageContainer::AddImageFromFile(int kind, const std::string& path,
                                          const std::string* name, bool convert,
                                          ConversionSettings& settings) {
  errno = 0;
  std::ifstream file(path, std::ios::binary);
  if (!file) ThrowSystemFailure<ErrFileOpen>(path.c_str(), errno);
  std::vector<std::uint8_t> loading((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
  if (file.bad()) throw ErrFileRead(path.c_str());
  try {
    ConversionSource source{kind, loading, nullptr};
    CImage& added = AddSourceImage(source, convert, true, true, name, DateNow(),
                                   kUnassignedResourceId, settings);
    if (!convert) KeepUnconverted(added, path, {&added, kind, std::move(loading), nullptr});
    return added;
  } catch (FileException& error) {
    error.set_file_name(path.c_str());
    throw;
  }
}

CImage& CImageContainer::AddImageFromSource(ImageSourcePtr source, bool convert,
                                            const std::string* name, ConversionSettings& settings,
                                            const std::string& path) {
  const int kind = static_cast<int>(source->kind());
  ConversionSource from{kind, {}, source.get()};
  CImage& added =
      AddSourceImage(from, convert, false, true, name, DateNow(), kUnassignedResourceId, settings);
  if (convert) {
    kept_source_ = std::move(source);
  } else {
    KeepUnconverted(added, path, {&added, kind, {}, std::move(source)});
  }
  return added;
}

void CImageContainer::KeepUnconverted(CImage& image, const std::string& path,
                                      UnconvertedEntry entry) {
  const SourceSize size = SizeOf(conversion_, SourceOf(entry), entry.source == nullptr);
  CImage::UnconvertedSource shown;
  shown.path = path;
  shown.width = static_cast<int>(size.width);
  shown.height = static_cast<int>(size.height);
  image.set_unconverted_source(std::move(shown));
  unconverted_.push_back(std::move(entry));
}

bool CImageContainer::HasUnconvertedImages() const { return !unconverted_.empty(); }

void CImageContainer::ConvertUnconvertedImages(ConversionSettings& settings) {
  if (unconverted_.empty()) return;
  CheckScale(settings.scale);
  std::size_t new_images = 0;
  for (const UnconvertedEntry& entry : unconverted_) {
    const SourceSize size = SizeOf(conversion_, SourceOf(entry), entry.source == nullptr);
    new_images += TileGridFor(static_cast<int>(size.width), static_cast<int>(size.height),
                              kTileWidth, kTileHeight, settings.scale)
                      .count();
  }
  if (new_images > kMaxImages - images_.size()) throw ErrImageListFull();

  std::vector<ConvertedImages> converted;
  for (const UnconvertedEntry& entry : unconverted_) {
    converted.push_back(ConvertSource(SourceOf(entry), entry.source == nullptr, true, settings,
                                      entry.image->name(), entry.image->date()));
  }
  for (std::size_t i = 0; i < unconverted_.size(); ++i) {
    CImage& image = *unconverted_[i].image;
    const auto position = static_cast<std::size_t>(Find(&image) - images_.begin());
    const SourceSize size{static_cast<std::uint32_t>(image.unconverted_source()->width),
                          static_cast<std::uint32_t>(image.unconverted_source()->height)};
    image.SetBitmap(std::move(converted[i].overview));
    image.set_unconverted_source(std::nullopt);
    SetMapSize(image, size, settings.scale);
    const std::size_t first_tile = images_.size();
    AddImages(std::move(converted[i].tiles));
    // The tiles follow their overview, as an import lists them.
    if (position + 1 != first_tile) {
      for (std::size_t k = 0; first_tile + k < images_.size(); ++k) {
        MoveImage(images_[first_tile + k].get(), position + 1 + k);
      }
    }
  }
  unconverted_.clear();
  modified_ = true;
}

void CImageContainer::RunConversion(const std::function<void()>& work) {
  if (runner_) {
    runner_(work);
  } else {
    work();
  }
}

void CImageContainer::ReportStep(std::uint64_t done, std::uint64_t total) {
  if (!conversion_.progress) return;
  ConversionProgress progress;
  progress.tiles_done = done;
  progress.tiles_total = total;
  conversion_.progress(progress);
}

void CImageContainer::ReencodeImages(const ConversionSettings& settings,
                                     std::optional<int> new_depth) {
  std::vector<CImage*> targets;
  for (const auto& image : images_) {
    if (!image->unconverted_source()) targets.push_back(image.get());
  }
  // Empty where the reference is stored again as it is.
  std::vector<std::optional<BitmapRecord>> fresh(targets.size());
  RunConversion([&]() {
    bool first = true;
    for (std::size_t i = 0; i < targets.size(); ++i) {
      ReportStep(i, targets.size());
      if (conversion_.cancel) throw ErrAlreadyReported();
      const CImage& image = *targets[i];
      const int depth = new_depth.value_or(image.bitmap().depth);
      const BitmapRecord& reference = image.reference_bitmap();
      if (reference.depth != depth || reference.compressed != settings.compressBitmaps) {
        fresh[i] =
            StoredBitmap(ReencodePalmBitmap(conversion_, settings, reference.bytes, depth, first));
      }
      first = false;
    }
    ReportStep(targets.size(), targets.size());
  });
  for (std::size_t i = 0; i < targets.size(); ++i) {
    if (fresh[i]) {
      targets[i]->SetBitmap(std::move(*fresh[i]));
    } else {
      targets[i]->RestoreReferenceBitmap();
    }
  }
}

}  // namespace kv
