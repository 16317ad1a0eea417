#include "calibration/calibration_import.h"

#include <cmath>

#include "geo/coordinate_systems.h"

namespace kv {
namespace {

const PositionTexts& BoundTexts() {
  static const PositionTexts kTexts{"NS", "EW", ".", std::string(kDefaultNegativeLetters)};
  return kTexts;
}

// Eight decimals, as the calibration text keeps degrees.
constexpr int kBoundTextPrecision = 6;

double BoundFromText(const std::string& text, std::string_view negative_letters) {
  return text.empty() ? 0.0 : ParsePosition(text, negative_letters);
}

}  // namespace

std::string FormatBoundText(double degrees, bool latitude) {
  if (!std::isfinite(degrees)) return std::string();
  std::string text = FormatPosition(BoundTexts(), degrees,
                                    latitude ? PositionAxis::kLatitude : PositionAxis::kLongitude,
                                    kSystemDecimalDegrees, kBoundTextPrecision);
  return text.size() <= kBoundTextLength ? text : std::string();
}

std::optional<BoundTextSet> FormatBoundTexts(const CalibrationRecord& record) {
  if (!HasBounds(record)) return std::nullopt;
  return BoundTextSet{FormatBoundText(record.north, true), FormatBoundText(record.west, false),
                      FormatBoundText(record.south, true), FormatBoundText(record.east, false)};
}

CalibrationRecord CalibrationRecordFromImport(const CalibrationImport& import,
                                              std::string_view negative_letters, std::int32_t width,
                                              std::int32_t height) {
  CalibrationRecord record;
  static_cast<CalibrationFrame&>(record) = import;
  record.width = width;
  record.height = height;
  record.north = BoundFromText(import.north_text, negative_letters);
  record.west = BoundFromText(import.west_text, negative_letters);
  record.south = BoundFromText(import.south_text, negative_letters);
  record.east = BoundFromText(import.east_text, negative_letters);
  record.points = import.points;
  return record;
}

}  // namespace kv
