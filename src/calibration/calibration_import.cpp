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
  std::string text =
      FormatPosition(BoundTexts(), degrees,
                     latitude ? PositionAxis::kLatitude : PositionAxis::kLongitude,
                     kSystemDecimalDegrees, kBoundTextPrecision);
  return text.size() <= kBoundTextLength ? text : std::string();
}

CalibrationRecord CalibrationRecordFromImport(const CalibrationImport& import,
                                              std::string_view negative_letters,
                                              std::int32_t width, std::int32_t height) {
  CalibrationRecord record;
  record.width = width;
  record.height = height;
  record.north = BoundFromText(import.north_text, negative_letters);
  record.west = BoundFromText(import.west_text, negative_letters);
  record.south = BoundFromText(import.south_text, negative_letters);
  record.east = BoundFromText(import.east_text, negative_letters);
  record.proj_mode = import.proj_mode;
  record.datum_row = import.datum_row;
  record.datum_parameters = import.datum_parameters;
  record.datum_name = import.datum_name;
  record.datum_parameter_text = import.datum_parameter_text;
  record.points = import.points;
  record.caloffset_left = import.caloffset_left;
  record.caloffset_top = import.caloffset_top;
  record.pixel_left = import.pixel_left;
  record.pixel_top = import.pixel_top;
  record.pixel_scale_horz = import.pixel_scale_horz;
  record.pixel_scale_vert = import.pixel_scale_vert;
  record.projparams = import.projparams;
  return record;
}

}  // namespace kv
