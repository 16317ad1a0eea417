#ifndef KORVALE_GEO_KROVAK_H_
#define KORVALE_GEO_KROVAK_H_

// Krovak's oblique conformal conic projection on the Bessel 1841 ellipsoid,
// the S-JTSK grid of the Czech Republic and Slovakia.
//
// X and Y are the grid's own values: X southward from the projection's apex
// (about 900 to 1300 km over the territory), Y westward (about 400 to
// 900 km), both positive. GIS software using EPSG:5514 shows them negated as
// easting -Y, northing -X.

#include "geo/geo_types.h"

namespace kv {

struct KrovakPoint {
  double x;  // southing, metres
  double y;  // westing, metres
};

// Longitude east of Greenwich, degrees.
KrovakPoint KrovakForward(LatLon position);

// Rounds of the latitude iteration of the inverse before it gives up and
// keeps its last value. Convergence to 1e-15 takes about 5 rounds on the
// territory; the cap only bounds hostile input (NaN never converges).
inline constexpr int kKrovakInverseMaxRounds = 100;

LatLon KrovakInverse(KrovakPoint point);

// X and Y of a grid point as GIS software and surveyors write them: the
// positive form (easting Y, northing X, as in EPSG:2065 and EPSG:5513) or the
// negated EPSG:5514 form (easting -Y, northing -X, both negative over the
// whole territory). False when the two have different signs: such a pair is
// neither form.
bool KrovakPointOfGrid(GridPoint point, KrovakPoint* krovak);

}  // namespace kv

#endif  // KORVALE_GEO_KROVAK_H_
