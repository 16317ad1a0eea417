#ifndef KORVALE_GEO_TRANSVERSE_MERCATOR_H_
#define KORVALE_GEO_TRANSVERSE_MERCATOR_H_

// Transverse Mercator, both directions, by the series of the USGS projection
// manual (Snyder, "Map Projections: A Working Manual", 1987, eqs. 8-5 to
// 8-11 and 3-21, 7-19). The series are accurate to millimetres within a few
// degrees of the central meridian; farther out they degrade without failing.

#include "geo/ellipsoid.h"
#include "geo/geo_types.h"

namespace kv {

struct TransverseMercatorParameters {
  double scale_factor;      // k0
  double false_northing;    // metres
  double false_easting;     // metres
  double origin_latitude;   // degrees
  double central_meridian;  // degrees
};

// The ellipsoid as the series need it.
struct EllipsoidShape {
  double semi_major_axis;
  double squared_eccentricity;
};

EllipsoidShape ShapeOf(const Ellipsoid& ellipsoid);

GridPoint TransverseMercatorForward(const EllipsoidShape& shape,
                                    const TransverseMercatorParameters& parameters,
                                    LatLon position);
LatLon TransverseMercatorInverse(const EllipsoidShape& shape,
                                 const TransverseMercatorParameters& parameters, GridPoint point);

// The same on the ellipsoid of a datum row (see EllipsoidOfDatumRow).
GridPoint TransverseMercatorForward(EllipsoidCache& ellipsoids, int datum_row,
                                    const TransverseMercatorParameters& parameters,
                                    LatLon position);
LatLon TransverseMercatorInverse(EllipsoidCache& ellipsoids, int datum_row,
                                 const TransverseMercatorParameters& parameters, GridPoint point);

}  // namespace kv

#endif  // KORVALE_GEO_TRANSVERSE_MERCATOR_H_
