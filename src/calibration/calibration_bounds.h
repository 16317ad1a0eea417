#ifndef KORVALE_CALIBRATION_CALIBRATION_BOUNDS_H_
#define KORVALE_CALIBRATION_CALIBRATION_BOUNDS_H_

// The arithmetic behind the three ways of giving an image's geographic
// frame: a centre with extents, the calibration points, or the bounds
// themselves. Distances are nautical miles (arc minutes on the sphere).

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

// Sets the record's bounds from its calibration points and image size; all
// four become 0 with fewer than two points in use.
void BoundsFromPoints(CalibrationRecord* record);

// Brings the record's bounds into valid ranges and makes them non-empty.
void LimitBounds(CalibrationRecord* record);

// Statute miles typed in the dialog to nautical miles, and back.
double NauticalFromStatuteMiles(double statute_miles);
double StatuteFromNauticalMiles(double nautical_miles);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_CALIBRATION_BOUNDS_H_
