#include "document/map_size_text.h"

#include <cmath>

#include "document/language_format.h"
#include "map/map_layout.h"

namespace kv {

namespace {

constexpr std::uint64_t kKilobyte = 1024;

// One decimal, rounded, with the language's mark.
std::string OneDecimal(const StringTable& strings, double value) {
  const auto tenths = static_cast<std::uint64_t>(std::llround(value * 10));
  return std::to_string(tenths / 10) + strings.Get(kDecimalMarkId) + std::to_string(tenths % 10);
}

}  // namespace

std::string ByteSizeText(const StringTable& strings, std::uint64_t bytes) {
  if (bytes < kKilobyte) {
    return FormatLanguageText(strings.Get(kBytesFormatId), {std::to_string(bytes)});
  }
  const double kilobytes = static_cast<double>(bytes) / kKilobyte;
  if (kilobytes < kKilobyte - 0.05) {
    return FormatLanguageText(strings.Get(kKilobytesFormatId), {OneDecimal(strings, kilobytes)});
  }
  return FormatLanguageText(strings.Get(kMegabytesFormatId),
                            {OneDecimal(strings, kilobytes / kKilobyte)});
}

MapSizeTexts FormatMapSize(const StringTable& strings, const MapSizeEstimate& estimate) {
  MapSizeTexts texts;
  texts.tiles =
      FormatLanguageText(strings.Get(kTileCountFormatId),
                         {std::to_string(estimate.tiles), std::to_string(estimate.columns),
                          std::to_string(estimate.rows)});
  texts.images = FormatLanguageText(
      strings.Get(estimate.over_limit ? kImagesOverFormatId : kImagesWithinFormatId),
      {std::to_string(estimate.images), std::to_string(kMaxImages)});
  texts.size = FormatLanguageText(strings.Get(kEstimatedSizeFormatId),
                                  {ByteSizeText(strings, estimate.total_bytes())});
  return texts;
}

}  // namespace kv
