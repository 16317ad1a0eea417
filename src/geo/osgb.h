#ifndef KORVALE_GEO_OSGB_H_
#define KORVALE_GEO_OSGB_H_

// The British National Grid: Transverse Mercator on the Airy 1830 ellipsoid
// with the grid's own origin, written as two square letters (500 km, then
// 100 km) and the easting and northing within the 100 km square.

#include <string>
#include <string_view>

#include "geo/geo_types.h"

namespace kv {

struct OsgbReference {
  std::string letters;  // e.g. "TG"
  GridPoint point;      // within the 100 km square, whole metres
};

// Full grid coordinates of a position (metres from the false origin).
GridPoint OsgbGridPoint(LatLon position);
LatLon OsgbGridPointToLatLon(GridPoint point);

// False when the position lies outside the squares the grid letters cover
// (SV to JZ: eastings 0 to 999999, northings 0 to 1499999 m); `*reference`
// is then unchanged.
bool OsgbForward(LatLon position, OsgbReference* reference);

// False when the first letter is not one of S, T, N, O, H, J or the second
// is not a grid letter; `*position` is then unchanged.
bool OsgbInverse(std::string_view letters, GridPoint point, LatLon* position);

}  // namespace kv

#endif  // KORVALE_GEO_OSGB_H_
