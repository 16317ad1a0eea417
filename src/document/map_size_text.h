#ifndef KORVALE_DOCUMENT_MAP_SIZE_TEXT_H_
#define KORVALE_DOCUMENT_MAP_SIZE_TEXT_H_

// The estimate of a map's size in the user's words, as the conversion
// options dialog shows it and `kvmap convert --dry-run` prints it.

#include <cstdint>
#include <string>

#include "base/string_table.h"
#include "map/map_size_estimate.h"

namespace kv {

inline constexpr std::uint32_t kMapTilesLabelId = 2550;
inline constexpr std::uint32_t kMapImagesLabelId = 2551;
inline constexpr std::uint32_t kMapSizeLabelId = 2552;
inline constexpr std::uint32_t kTileCountFormatId = 2553;      // count, columns, rows
inline constexpr std::uint32_t kImagesWithinFormatId = 2554;   // images, limit
inline constexpr std::uint32_t kImagesOverFormatId = 2555;     // images, limit
inline constexpr std::uint32_t kEstimatedSizeFormatId = 2556;  // size
inline constexpr std::uint32_t kBytesFormatId = 2557;
inline constexpr std::uint32_t kKilobytesFormatId = 2558;
inline constexpr std::uint32_t kMegabytesFormatId = 2559;
inline constexpr std::uint32_t kDecimalMarkId = 2560;
inline constexpr std::uint32_t kEstimatingTextId = 2561;
inline constexpr std::uint32_t kNotEstimatedTextId = 2562;
inline constexpr std::uint32_t kDryRunNoteId = 2563;

struct MapSizeTexts {
  std::string tiles;
  std::string images;
  std::string size;
};

// The three values (the labels are kMapTilesLabelId and its neighbours).
MapSizeTexts FormatMapSize(const StringTable& strings, const MapSizeEstimate& estimate);

// "850 bytes", "12.4 KB", "3.1 MB" (1 KB = 1024 bytes), with the language's
// decimal mark.
std::string ByteSizeText(const StringTable& strings, std::uint64_t bytes);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_MAP_SIZE_TEXT_H_
