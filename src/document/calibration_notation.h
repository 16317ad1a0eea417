#ifndef KORVALE_DOCUMENT_CALIBRATION_NOTATION_H_
#define KORVALE_DOCUMENT_CALIBRATION_NOTATION_H_

// Positions as the calibration dialog shows and takes them in the chosen
// coordinate system: a latitude and a longitude text in one of the degree
// notations, or a northing and an easting (with a zone for the zoned grids)
// in metres.

#include <optional>
#include <string>
#include <string_view>

#include "geo/grid_conversion.h"
#include "geo/position_text.h"

namespace kv {

// The three texts of one position. In a grid system the latitude text holds
// the northing and the longitude text the easting.
struct PositionFields {
  std::string zone;
  std::string latitude;
  std::string longitude;

  bool operator==(const PositionFields&) const = default;
};

// UTM, the British grid with its squares, the Australian grid and the
// Quebec zones: systems whose positions need a zone text.
bool IsZonedGrid(int system);

// The datum code a coordinate system brings with it, or none when positions
// are typed in the calibration's own datum.
std::optional<std::string> FixedDatumOf(CoordinateContext& context, int system);

class PositionNotation {
 public:
  PositionNotation(CoordinateContext& context, const PositionTexts& texts, int system,
                   int datum_row)
      : context_(context), texts_(texts), system_(system), datum_row_(datum_row) {}

  PositionFields Format(LatLon position) const;
  // None when a non-empty text is not a valid coordinate; `*bad_latitude`
  // then tells which one failed. Empty texts read as 0.
  std::optional<LatLon> Parse(const PositionFields& fields, bool* bad_latitude) const;

  // A typed latitude or longitude (or northing or easting): valid, and how
  // it is written back in this notation. None for an invalid text.
  std::optional<std::string> Rewrite(std::string_view text, PositionAxis axis) const;

  // An angle of a projection parameter: in the degree notation, or in
  // decimal degrees for the grids.
  std::string FormatAngle(double degrees, PositionAxis axis) const;

  // Whether a text is a complete position in degrees with a hemisphere
  // letter, which no grid's metres have.
  bool IsDegreeText(std::string_view text, PositionAxis axis) const;

  bool is_grid() const;
  bool is_zoned() const { return IsZonedGrid(system_); }

 private:
  std::optional<double> ParseDegrees(std::string_view text, PositionAxis axis) const;

  CoordinateContext& context_;
  const PositionTexts& texts_;
  int system_;
  int datum_row_;
};

// A decimal number as the dialog writes metres and miles, "." as the point.
std::string FormatFixed(double value, int decimals);
// The number a text holds, or none when it holds no digit.
std::optional<double> ParseNumberText(std::string_view text);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_CALIBRATION_NOTATION_H_
