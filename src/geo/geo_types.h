#ifndef KORVALE_GEO_GEO_TYPES_H_
#define KORVALE_GEO_GEO_TYPES_H_

// Positions passed between the projections.

namespace kv {

struct LatLon {
  double latitude = 0.0;   // degrees, north positive
  double longitude = 0.0;  // degrees, east positive

  bool operator==(const LatLon&) const = default;
};

struct GridPoint {
  double northing = 0.0;  // metres
  double easting = 0.0;   // metres
};

// Degree/radian factors of the grid arithmetic. Used as written rather than
// the exact pi/180 so that grid positions match those the program has always
// produced; the difference moves points by a few millimetres.
inline constexpr double kDegreesToRadians = 0.0174532925;
inline constexpr double kRadiansToDegrees = 57.29577957855229;

}  // namespace kv

#endif  // KORVALE_GEO_GEO_TYPES_H_
