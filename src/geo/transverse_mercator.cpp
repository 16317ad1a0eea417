#include "geo/transverse_mercator.h"

#include <cmath>

namespace kv {
namespace {

// Meridian distance M(phi), Snyder eq. 3-21.
double MeridianDistance(double a, double e2, double phi) {
  const double e4 = e2 * e2;
  const double e6 = e4 * e2;
  return a * ((1.0 - e2 / 4.0 - 3.0 * e4 / 64.0 - 5.0 * e6 / 256.0) * phi -
              (3.0 * e2 / 8.0 + 3.0 * e4 / 32.0 + 45.0 * e6 / 1024.0) * std::sin(2.0 * phi) +
              (15.0 * e4 / 256.0 + 45.0 * e6 / 1024.0) * std::sin(4.0 * phi) -
              (35.0 * e6 / 3072.0) * std::sin(6.0 * phi));
}

double OriginMeridianDistance(const EllipsoidShape& shape, double origin_latitude) {
  if (origin_latitude == 0.0) return 0.0;
  return MeridianDistance(shape.semi_major_axis, shape.squared_eccentricity,
                          origin_latitude * kDegreesToRadians);
}

double SecondEccentricitySquared(double e2) { return e2 / (1.0 - e2); }

}  // namespace

EllipsoidShape ShapeOf(const Ellipsoid& ellipsoid) {
  return {ellipsoid.semi_major_axis, SquaredEccentricity(ellipsoid)};
}

GridPoint TransverseMercatorForward(const EllipsoidShape& shape,
                                    const TransverseMercatorParameters& parameters,
                                    LatLon position) {
  const double a = shape.semi_major_axis;
  const double e2 = shape.squared_eccentricity;
  const double ep2 = SecondEccentricitySquared(e2);
  const double phi = position.latitude * kDegreesToRadians;
  const double lambda = position.longitude * kDegreesToRadians;
  const double lambda0 = parameters.central_meridian * kDegreesToRadians;
  const double k0 = parameters.scale_factor;

  const double m = MeridianDistance(a, e2, phi);
  const double m0 = OriginMeridianDistance(shape, parameters.origin_latitude);
  const double sin_phi = std::sin(phi);
  const double cos_phi = std::cos(phi);
  const double tan_phi = std::tan(phi);
  const double n = a / std::sqrt(1.0 - e2 * sin_phi * sin_phi);
  const double t = tan_phi * tan_phi;
  const double c = ep2 * cos_phi * cos_phi;
  const double big_a = (lambda - lambda0) * cos_phi;
  const double a2 = big_a * big_a;
  const double a3 = a2 * big_a;
  const double a4 = a3 * big_a;
  const double a5 = a4 * big_a;
  const double a6 = a5 * big_a;

  GridPoint point;
  point.easting = k0 * n *
                      (big_a + (1.0 - t + c) * a3 / 6.0 +
                       (5.0 - 18.0 * t + t * t + 72.0 * c - 58.0 * ep2) * a5 / 120.0) +
                  parameters.false_easting;
  point.northing = k0 * (m - m0 +
                         n * tan_phi *
                             (a2 / 2.0 + (5.0 - t + 9.0 * c + 4.0 * c * c) * a4 / 24.0 +
                              (61.0 - 58.0 * t + t * t + 600.0 * c - 330.0 * ep2) * a6 / 720.0)) +
                   parameters.false_northing;
  return point;
}

LatLon TransverseMercatorInverse(const EllipsoidShape& shape,
                                 const TransverseMercatorParameters& parameters, GridPoint point) {
  const double a = shape.semi_major_axis;
  const double e2 = shape.squared_eccentricity;
  const double ep2 = SecondEccentricitySquared(e2);
  const double k0 = parameters.scale_factor;

  const double m0 = OriginMeridianDistance(shape, parameters.origin_latitude);
  const double m = m0 + (point.northing - parameters.false_northing) / k0;
  const double e4 = e2 * e2;
  const double e6 = e4 * e2;
  const double mu = m / (a * (1.0 - e2 / 4.0 - 3.0 * e4 / 64.0 - 5.0 * e6 / 256.0));
  const double root = std::sqrt(1.0 - e2);
  const double e1 = (1.0 - root) / (1.0 + root);
  const double e1_2 = e1 * e1;
  const double e1_3 = e1_2 * e1;
  const double e1_4 = e1_3 * e1;

  // Footpoint latitude, Snyder eq. 3-26 without its eighth-order term.
  const double phi1 = mu + (3.0 * e1 / 2.0 - 27.0 * e1_3 / 32.0) * std::sin(2.0 * mu) +
                      (21.0 * e1_2 / 16.0 - 55.0 * e1_4 / 32.0) * std::sin(4.0 * mu) +
                      (151.0 * e1_3 / 96.0) * std::sin(6.0 * mu);

  const double sin_phi1 = std::sin(phi1);
  const double cos_phi1 = std::cos(phi1);
  const double tan_phi1 = std::tan(phi1);
  const double c1 = ep2 * cos_phi1 * cos_phi1;
  const double t1 = tan_phi1 * tan_phi1;
  const double w = 1.0 - e2 * sin_phi1 * sin_phi1;
  const double n1 = a / std::sqrt(w);
  const double r1 = a * (1.0 - e2) / std::pow(w, 1.5);
  const double d = (point.easting - parameters.false_easting) / (n1 * k0);
  const double d2 = d * d;
  const double d3 = d2 * d;
  const double d4 = d3 * d;
  const double d5 = d4 * d;
  const double d6 = d5 * d;

  const double phi =
      phi1 - (n1 * tan_phi1 / r1) *
                 (d2 / 2.0 - (5.0 + 3.0 * t1 + 10.0 * c1 - 4.0 * c1 * c1 - 9.0 * ep2) * d4 / 24.0 +
                  (61.0 + 90.0 * t1 + 298.0 * c1 + 45.0 * t1 * t1 - 252.0 * ep2 - 3.0 * c1 * c1) *
                      d6 / 720.0);
  const double dlambda =
      (d - (1.0 + 2.0 * t1 + c1) * d3 / 6.0 +
       (5.0 - 2.0 * c1 + 28.0 * t1 - 3.0 * c1 * c1 + 8.0 * ep2 + 24.0 * t1 * t1) * d5 / 120.0) /
      cos_phi1;

  LatLon position;
  position.latitude = phi * kRadiansToDegrees;
  position.longitude = parameters.central_meridian + dlambda * kRadiansToDegrees;
  return position;
}

GridPoint TransverseMercatorForward(EllipsoidCache& ellipsoids, int datum_row,
                                    const TransverseMercatorParameters& parameters,
                                    LatLon position) {
  return TransverseMercatorForward(ShapeOf(ellipsoids.OfDatum(datum_row)), parameters, position);
}

LatLon TransverseMercatorInverse(EllipsoidCache& ellipsoids, int datum_row,
                                 const TransverseMercatorParameters& parameters, GridPoint point) {
  return TransverseMercatorInverse(ShapeOf(ellipsoids.OfDatum(datum_row)), parameters, point);
}

}  // namespace kv
