#ifndef KORVALE_CALIBRATION_CALIBRATION_BOUNDS_H_
#define KORVALE_CALIBRATION_CALIBRATION_BOUNDS_H_

// The arithmetic behind the three ways of giving an image's geographic
// frame: a centre with extents, the calibration points, or the bounds
// themselves. Distances are nautical miles (arc minutes on the sphere).

#include <cstdint>
#include <functional>

#include "calibration/calibration_record.h"

namespace kv {

// Pi as single precision has it, widened; the program's distances and
// bounds have always been computed with these and must stay the same.
inline constexpr double kBoundsPi = static_cast<double>(3.1415927f);  // 3.1415927410125732
inline constexpr double kBoundsTwoPi = 6.2831854820251465;

// The calibration dialog shows extents in statute miles.
inline constexpr double kStatuteMilesPerNauticalMile = 1.151;

struct GeoBounds {
  double north = 0.0;
  double west = 0.0;
  double south = 0.0;
  double east = 0.0;

  bool operator==(const GeoBounds&) const = default;
};

struct CentreExtents {
  double latitude = 0.0;
  double longitude = 0.0;
  double horizontal = 0.0;  // nautical miles
  double vertical = 0.0;    // nautical miles
};

struct LatLonDegrees {
  double latitude = 0.0;
  double longitude = 0.0;
};

// Along the great circle; 0 for equal positions.
double GreatCircleDistance(double latitude1, double longitude1, double latitude2,
                           double longitude2);

// Where `distance` at `bearing` (degrees) from the start leads. A positive
// distance at bearing 90 moves west: the longitude is measured the way the
// dialog's formulas have always taken it.
LatLonDegrees DestinationPoint(double distance, double bearing, double latitude, double longitude);

GeoBounds BoundsFromCentre(const CentreExtents& centre);
CentreExtents CentreFromBounds(const GeoBounds& bounds);

// The position of a pixel position (x, y), measured as calibration points
// are: (0, 0) is the centre of the top-left pixel. False when there is none.
using PixelToPosition = std::function<bool(double x, double y, LatLonDegrees* position)>;

// The envelope of the image frame from pixel position (0, 0) to (width,
// height), the frame the bounds have always described, taken around all
// four edges, so that a rotated, skewed or curved map lies inside it. A
// frame that goes round a pole reaches it, and then spans every longitude.
// Longitudes run on across 180° (east above 180) where the frame crosses
// it. On a map whose edges follow meridians and parallels it is exactly the
// top-left and bottom-right corners' values. False when a corner has no
// position; other samples without one are passed over.
bool ImageEnvelope(std::int32_t width, std::int32_t height, const PixelToPosition& position,
                   GeoBounds* bounds);

// Sets the record's bounds from its calibration points and image size; all
// four become 0 with fewer than two points in use. Bounds made from the two
// points farthest apart, as the program has always made them, stay as they
// are when they hold the whole image (as the affine fit of three or more
// points places it) and every point to within a pixel; otherwise they are
// that envelope.
void BoundsFromPoints(CalibrationRecord* record);

// Brings the record's bounds into valid ranges and makes them non-empty.
void LimitBounds(CalibrationRecord* record);

// Statute miles typed in the dialog to nautical miles, and back.
double NauticalFromStatuteMiles(double statute_miles);
double StatuteFromNauticalMiles(double nautical_miles);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_CALIBRATION_BOUNDS_H_
