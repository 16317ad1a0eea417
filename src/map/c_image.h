#ifndef KORVALE_MAP_C_IMAGE_H_
#define KORVALE_MAP_C_IMAGE_H_

// One converted image of a map: its Palm bitmap and, for the image that
// carries the map's metadata, the name, date, map size, corner texts and
// calibration stored beside it.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "map/map_layout.h"

namespace kv {

class CImageContainer;
struct ConvertedBitmap;

// A Palm bitmap record and what its header says about it.
struct BitmapRecord {
  std::vector<std::uint8_t> bytes;
  int width = 0;
  int height = 0;
  int depth = 0;
  bool compressed = false;
  std::uint8_t version = 0;
  // 0 scanline, 1 RLE; meaningful only when `compressed`.
  std::uint8_t compression_type = 0;
};

class CImage {
 public:
  CImage() = default;
  CImage(const CImage&) = delete;
  CImage& operator=(const CImage&) = delete;

  // The bitmap the map stores for this image.
  const BitmapRecord& bitmap() const;
  // Replaces the stored bitmap; the first one also becomes the reference
  // that later re-encodings start from.
  void SetBitmap(BitmapRecord bitmap);
  // Stores the reference again, sharing its bytes rather than copying them.
  void RestoreReferenceBitmap();
  const BitmapRecord& reference_bitmap() const;
  // Counts the bitmaps set so far: what was decoded from revision n shows
  // this image only while revision() is still n.
  std::uint64_t revision() const { return revision_; }
  int saved_depth() const { return saved_depth_; }
  void MarkSaved() { saved_depth_ = bitmap().depth; }

  const std::string& name() const { return name_; }
  // Keeps at most 31 characters, as many as the map stores, and marks the
  // owning container modified.
  void SetName(std::string_view name);

  std::uint32_t date() const { return date_; }  // stored form (PalmDateFromUnix)
  void set_date(std::uint32_t date) { date_ = date; }

  std::uint32_t map_width() const { return map_width_; }
  std::uint32_t map_height() const { return map_height_; }
  void set_map_size(std::uint32_t width, std::uint32_t height) {
    map_width_ = width;
    map_height_ = height;
  }

  const std::string& corner_text(CornerText which) const { return corners_[which]; }
  // Keeps at most 23 characters.
  void set_corner_text(CornerText which, std::string_view text);

  // Empty when the image has no calibration; otherwise at least 2048 bytes,
  // an even count, the text followed by zero bytes.
  const std::vector<std::uint8_t>& calibration() const { return calibration_; }
  void SetCalibration(const std::uint8_t* bytes, std::size_t count);

  // The "MVEH" text, kept as read so that it is written back unchanged.
  const std::optional<std::array<std::uint8_t, kExtraTextSize>>& extra_text() const {
    return extra_text_;
  }
  void set_extra_text(std::optional<std::array<std::uint8_t, kExtraTextSize>> text) {
    extra_text_ = text;
  }

  std::uint32_t attribute_word() const { return attribute_word_; }
  void set_attribute_word(std::uint32_t word) { attribute_word_ = word; }

  std::uint16_t resource_id() const { return resource_id_; }
  void set_resource_id(std::uint16_t id) { resource_id_ = id; }

  // An image shown before it is converted: the file it comes from and its
  // size in pixels. Its bitmap stays empty until it is converted; none for
  // converted images.
  struct UnconvertedSource {
    std::string path;
    int width = 0;
    int height = 0;
  };
  const std::optional<UnconvertedSource>& unconverted_source() const { return unconverted_source_; }
  void set_unconverted_source(std::optional<UnconvertedSource> source) {
    unconverted_source_ = std::move(source);
  }

  CImageContainer* owner() const { return owner_; }

 private:
  friend class CImageContainer;

  // A converted map's bitmaps are most of its memory: until the image is
  // re-encoded both point to one record. Null until the first bitmap.
  std::shared_ptr<const BitmapRecord> bitmap_;
  std::shared_ptr<const BitmapRecord> reference_;
  std::uint64_t revision_ = 0;
  int saved_depth_ = 0;
  std::string name_;
  std::uint32_t date_ = 0;
  std::uint32_t map_width_ = 0;
  std::uint32_t map_height_ = 0;
  std::array<std::string, kCornerTextCount> corners_;
  std::vector<std::uint8_t> calibration_;
  std::optional<std::array<std::uint8_t, kExtraTextSize>> extra_text_;
  std::uint32_t attribute_word_ = 0;
  std::uint16_t resource_id_ = kUnassignedResourceId;
  std::optional<UnconvertedSource> unconverted_source_;
  CImageContainer* owner_ = nullptr;
};

// The stored form of a converted bitmap.
BitmapRecord BitmapRecordOf(const ConvertedBitmap& converted);

// Text of at most `max_bytes` bytes: cut at the first NUL and at the limit.
std::string BoundedText(std::string_view text, std::size_t max_bytes);

}  // namespace kv

#endif  // KORVALE_MAP_C_IMAGE_H_
