#include "document/calibration_notation.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "geo/coordinate_systems.h"
#include "geo/datum_table.h"
#include "geo/number_text.h"

namespace kv {

namespace {

// Digits kept when a position is written back: whole minute fractions,
// all four second fractions, six decimals of a degree.
int PrecisionFor(int system) {
  switch (system) {
    case kSystemDegreesMinutes:
      return kFullPrecision;
    case kSystemDegreesMinutesSeconds:
      return 1;
    default:
      return 4;
  }
}

bool HasDigit(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

bool IsBlank(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; });
}

bool HasLetter(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; });
}

// Metres in a grid reference: a tenth of a metre is finer than any map.
constexpr int kMetreDecimals = 1;

// The British grid's datum.
constexpr std::string_view kOsgbDatum = "OrdSrvyGrtBritn";

}  // namespace

bool IsZonedGrid(int system) {
  return system == kSystemUtm || system == kSystemOsgb || system == kSystemMga ||
         system == FindGridSystem("QMTM");
}

std::optional<std::string> FixedDatumOf(CoordinateContext& context, int system) {
  if (system == kSystemOsgb) return std::string(kOsgbDatum);
  GridSystemRow row{};
  if (context.grid_systems.RowOf(system, &row) != 0) return std::nullopt;
  std::string_view code;
  if (row.datum_row < 0 || DatumCode(row.datum_row, &code) != 0) return std::string(row.datum);
  return std::string(code);
}

std::string FormatFixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, std::isfinite(value) ? value : 0.0);
  return text;
}

std::optional<double> ParseNumberText(std::string_view text) {
  if (!HasDigit(text)) return std::nullopt;
  return LeadingDecimal(text);
}

bool PositionNotation::is_grid() const { return IsGrid(system_); }

PositionFields PositionNotation::Format(LatLon position) const {
  PositionFields fields;
  if (is_grid()) {
    GridReference grid;
    const GridStatus status = LatLonToGrid(context_, datum_row_, position, system_, true, &grid);
    if (status == GridStatus::kConverted) {
      fields.zone = grid.zone;
      fields.latitude = FormatFixed(grid.northing, kMetreDecimals);
      fields.longitude = FormatFixed(grid.easting, kMetreDecimals);
      return fields;
    }
    // A position the grid cannot take is shown in decimal degrees.
    fields.latitude = FormatPosition(texts_, position.latitude, PositionAxis::kLatitude,
                                     kSystemDecimalDegrees, 4);
    fields.longitude = FormatPosition(texts_, position.longitude, PositionAxis::kLongitude,
                                      kSystemDecimalDegrees, 4);
    return fields;
  }
  fields.latitude = FormatPosition(texts_, position.latitude, PositionAxis::kLatitude, system_,
                                   PrecisionFor(system_));
  fields.longitude = FormatPosition(texts_, position.longitude, PositionAxis::kLongitude, system_,
                                    PrecisionFor(system_));
  return fields;
}

std::optional<double> PositionNotation::ParseDegrees(std::string_view text,
                                                     PositionAxis axis) const {
  // A text that is not all a position is refused rather than read as far
  // as it goes: "12 30.5 W x" must not become 12 degrees.
  double value = 0.0;
  if (ReadPositionText(text, texts_.negative_letters, &value) != PositionTextStatus::kRead) {
    return std::nullopt;
  }
  const double limit = axis == PositionAxis::kLatitude ? 90.0 : 180.0;
  if (!std::isfinite(value) || std::fabs(value) > limit) return std::nullopt;
  return value;
}

bool PositionNotation::IsDegreeText(std::string_view text, PositionAxis axis) const {
  return HasLetter(text) && ParseDegrees(text, axis).has_value();
}

std::optional<LatLon> PositionNotation::Parse(const PositionFields& fields,
                                              bool* bad_latitude) const {
  *bad_latitude = false;
  const bool latitude_empty = IsBlank(fields.latitude);
  const bool longitude_empty = IsBlank(fields.longitude);
  // A grid shows a position it cannot express in degrees with their
  // hemisphere letters; edited, such a text is still degrees, not metres.
  const bool degrees = IsDegreeText(fields.latitude, PositionAxis::kLatitude) ||
                       IsDegreeText(fields.longitude, PositionAxis::kLongitude);
  if (!is_grid() || degrees) {
    LatLon position;
    if (!latitude_empty) {
      const std::optional<double> latitude = ParseDegrees(fields.latitude, PositionAxis::kLatitude);
      if (!latitude) {
        *bad_latitude = true;
        return std::nullopt;
      }
      position.latitude = *latitude;
    }
    if (!longitude_empty) {
      const std::optional<double> longitude =
          ParseDegrees(fields.longitude, PositionAxis::kLongitude);
      if (!longitude) return std::nullopt;
      position.longitude = *longitude;
    }
    return position;
  }
  GridReference grid;
  grid.zone = fields.zone;
  if (!latitude_empty) {
    const std::optional<double> northing = ParseNumberText(fields.latitude);
    if (!northing) {
      *bad_latitude = true;
      return std::nullopt;
    }
    grid.northing = *northing;
  }
  if (!longitude_empty) {
    const std::optional<double> easting = ParseNumberText(fields.longitude);
    if (!easting) return std::nullopt;
    grid.easting = *easting;
  }
  if (latitude_empty && longitude_empty) return LatLon{};
  LatLon position;
  // A grid value the system cannot take reads as degrees, as typed.
  static_cast<void>(GridToLatLon(context_, datum_row_, grid, system_, true, &position));
  return position;
}

std::optional<std::string> PositionNotation::Rewrite(std::string_view text,
                                                     PositionAxis axis) const {
  if (is_grid() && IsDegreeText(text, axis)) {
    return FormatPosition(texts_, *ParseDegrees(text, axis), axis, kSystemDecimalDegrees, 4);
  }
  if (is_grid()) {
    const std::optional<double> metres = ParseNumberText(text);
    if (!metres) return std::nullopt;
    return FormatFixed(*metres, kMetreDecimals);
  }
  const std::optional<double> degrees = ParseDegrees(text, axis);
  if (!degrees) return std::nullopt;
  return FormatPosition(texts_, *degrees, axis, system_, PrecisionFor(system_));
}

std::string PositionNotation::FormatAngle(double degrees, PositionAxis axis) const {
  const int system = is_grid() ? kSystemDecimalDegrees : system_;
  return FormatPosition(texts_, degrees, axis, system, PrecisionFor(system));
}

}  // namespace kv
