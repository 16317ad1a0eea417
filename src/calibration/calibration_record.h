#ifndef KORVALE_CALIBRATION_CALIBRATION_RECORD_H_
#define KORVALE_CALIBRATION_CALIBRATION_RECORD_H_

// Where an image lies on the Earth: its size, its geographic bounds, the
// calibration kind and up to nine calibration points, with the datum and
// projection they are given in. Its text form is the ".kvm" line format
// (calibration_text_reader.h, calibration_text_writer.h).

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kv {

// Calibration kinds (`proj_mode`).
inline constexpr std::int32_t kCalibrationGeographic = 0;    // "Lat/Long (Rectangular)"
inline constexpr std::int32_t kCalibrationProjection = 8;    // "Projection"
inline constexpr std::int32_t kCalibrationThreeByThree = 9;  // "3x3 (TTQV)"
inline constexpr std::int32_t kCalibrationKnownPoints = 14;  // "Known Points (Skewed)"
inline constexpr std::int32_t kCalibrationInvalid = 128;     // an unrecognised kind was read

inline constexpr int kCalibrationPointCount = 9;
inline constexpr int kDatumParameterCount = 9;

struct CalibrationPoint {
  double latitude = 0.0;        // degrees
  double longitude = 0.0;       // degrees
  std::int32_t adjusted_x = 0;  // every reader keeps it equal to pixel_x
  std::int32_t adjusted_y = 0;
  std::int32_t pixel_x = 0;
  std::int32_t pixel_y = 0;
  double projected_x = 0.0;
  double projected_y = 0.0;
  // Coefficients of the 3 x 3 kind, carried unchanged: point k holds the
  // k-th term of four biquadratic polynomials.
  double vpa = 0.0;
  double vpb = 0.0;
  double vpm = 0.0;
  double vpn = 0.0;

  bool operator==(const CalibrationPoint&) const = default;
};

using CalibrationPoints = std::array<CalibrationPoint, kCalibrationPointCount>;

// a, rf, then dx, dy, dz, rx, ry, rz, scale; 0 where absent.
using DatumParameters = std::array<double, kDatumParameterCount>;

// The projection, datum and pixel frame of a calibration: what the
// calibration record and the import record of a foreign file share.
struct CalibrationFrame {
  std::int32_t proj_mode = kCalibrationGeographic;
  std::int16_t datum_row = 0;  // 0 is WGS84
  std::optional<DatumParameters> datum_parameters;
  std::optional<std::string> datum_name;  // none means WGS84
  std::optional<std::string> datum_parameter_text;
  std::int32_t caloffset_left = 0;
  std::int32_t caloffset_top = 0;
  std::int32_t pixel_left = 0;
  std::int32_t pixel_top = 0;
  double pixel_scale_horz = 0.0;
  double pixel_scale_vert = 0.0;
  std::optional<std::string> projparams;

  bool operator==(const CalibrationFrame&) const = default;
};

struct CalibrationRecord : CalibrationFrame {
  std::int32_t width = 0;
  std::int32_t height = 0;
  double north = 0.0;
  double west = 0.0;
  double south = 0.0;
  double east = 0.0;
  // Lines still to be read, and lines the reader did not consume; the
  // writer appends them so that nothing we do not understand is lost.
  std::optional<std::string> pending_text;
  std::optional<CalibrationPoints> points;
  // The points as a georeferenced source (a GeoTIFF, a world file, a chart,
  // control points) computed them. A point whose position is still one of
  // these was not typed: how far the affine fit misses it is the
  // projection's doing, not a typing error. Kept in memory only; the
  // calibration text does not carry it.
  std::optional<CalibrationPoints> source_points;

  bool operator==(const CalibrationRecord&) const = default;
};

// Every field back to zero: no texts, no arrays, kind 0.
void ClearCalibrationRecord(CalibrationRecord* record);

// A point whose latitude and longitude are both 0 ends the list of points.
bool IsEmptyPosition(const CalibrationPoint& point);

// Leading points with a position, up to the first empty one.
int CountPositionedPoints(const CalibrationRecord& record);

// Any of the four bounds other than 0.
bool HasBounds(const CalibrationRecord& record);

// Every point's position and every bound is a finite number of degrees,
// latitudes within ±90 and longitudes within ±180, or at most one pixel
// beyond: the outer pixels of a whole-world map reach past the edge.
bool HasEarthPositions(const CalibrationRecord& record);

// The first value that is no place on the Earth, in words ("latitude
// 91.50000000 of point 2", "east bound 540.00000000"); empty when there is
// none (HasEarthPositions).
std::string OffTheEarthValue(const CalibrationRecord& record);

// The four bounds brought within ±90° and ±180°, where the half pixel
// beyond a whole-world map's edge ends up; the bound texts cannot say more.
void ClampBoundsToTheEarth(CalibrationRecord* record);

// The row of the datum table that the record's datum name names: 0 (WGS84)
// when it names none, -1 when the table has no datum of that name. The
// record's own `datum_row` is only what the grid conversions use, and only
// a world file import sets it; anything that must say which datum the
// positions are on asks this.
int NamedDatumRow(const CalibrationFrame& frame);

// Whether point `index` has the position the georeferenced source gave a
// point (source_points).
bool IsSourcePoint(const CalibrationRecord& record, int index);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_CALIBRATION_RECORD_H_
