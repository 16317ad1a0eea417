#include "geo/krovak.h"

#include <cmath>

namespace kv {
namespace {

// The forward direction uses the projection's constants as evaluated for
// S-JTSK (Bessel 1841, central meridian 24 deg 50' E of Greenwich, scale
// 0.9999 on the pseudo standard parallel 78 deg 30'), with their own
// degree factor.
constexpr double kForwardDegreesToRadians = 0.017453293005625408;
constexpr double kBesselE = 0.081696831215303;
constexpr double kSquaredK = 1.00685001861538;            // k^2 of the Gauss sphere
constexpr double kAlpha = 1.000597498371542;              // sphere exponent
constexpr double kSinAlphaLambda0 = 0.420215144586493;    // sin(alpha * lambda0)
constexpr double kCosAlphaLambda0 = 0.907424504992097;    // cos(alpha * lambda0)
constexpr double kCosPoleColatitude = 0.863499969506341;  // cos(30 deg 17' 17.3")
constexpr double kSinPoleColatitude = 0.504348889819882;
constexpr double kConeConstant = 0.97992470462083;  // n = sin(78 deg 30')
constexpr double kRhoScale = 12310230.12797036;     // rho0 * tan(S0/2 + pi/4)^n

// The inverse follows the Krovak method of EPSG guidance note 7-2 (method
// 9819), deriving its sphere from these defining values.
constexpr double kInverseSquaredE = 0.006674372230614;
constexpr double kInverseOneMinusSquaredE = 0.993325627769386;
constexpr double kBesselSemiMajorAxis = 6377397.155;
constexpr double kCentreLatitude = 0.863937979737193;         // 49 deg 30' N
constexpr double kPseudoStandardParallel = 1.37008346281555;  // 78 deg 30'
constexpr double kScale = 0.9999;
constexpr double kPoleColatitude = 0.5286277629901559;   // 30 deg 17' 17.3"
constexpr double kCentralMeridian = 0.4334234309119251;  // 24 deg 50' E
constexpr double kQuarterPi = 0.785398163397448;
constexpr double kInverseRadiansToDegrees = 57.29577791868205;
constexpr double kConvergence = 1e-15;

struct InverseSphere {
  double e;
  double alpha;
  double k;
  double n;
  double rho0;
};

InverseSphere MakeInverseSphere() {
  InverseSphere sphere;
  sphere.e = std::sqrt(kInverseSquaredE);
  const double sin_centre = std::sin(kCentreLatitude);
  const double cos_centre = std::cos(kCentreLatitude);
  sphere.alpha =
      std::sqrt(1.0 + kInverseSquaredE * std::pow(cos_centre, 4) / kInverseOneMinusSquaredE);
  const double u0 = std::asin(sin_centre / sphere.alpha);
  const double g = std::pow((1.0 + sphere.e * sin_centre) / (1.0 - sphere.e * sin_centre),
                            sphere.alpha * sphere.e / 2.0);
  sphere.k = std::tan(u0 / 2.0 + kQuarterPi) /
             std::pow(std::tan(kCentreLatitude / 2.0 + kQuarterPi), sphere.alpha) * g;
  const double n0 = kBesselSemiMajorAxis * std::sqrt(kInverseOneMinusSquaredE) /
                    (1.0 - kInverseSquaredE * sin_centre * sin_centre);
  sphere.n = std::sin(kPseudoStandardParallel);
  sphere.rho0 = kScale * n0 / std::tan(kPseudoStandardParallel);
  return sphere;
}

}  // namespace

KrovakPoint KrovakForward(LatLon position) {
  const double phi = position.latitude * kForwardDegreesToRadians;
  const double lambda = position.longitude * kForwardDegreesToRadians;

  const double s = std::sin(phi);
  const double p = std::pow((1.0 - kBesselE * s) / (1.0 + kBesselE * s), kBesselE);
  const double t = kSquaredK * std::pow((1.0 + s) / (1.0 - s) * p, kAlpha);
  const double sin_u = (t - 1.0) / (t + 1.0);
  const double cos_u = std::sqrt(1.0 - sin_u * sin_u);

  const double v = kAlpha * lambda;
  const double cos_dv = kSinAlphaLambda0 * std::sin(v) + kCosAlphaLambda0 * std::cos(v);
  const double sin_dv = kSinAlphaLambda0 * std::cos(v) - kCosAlphaLambda0 * std::sin(v);

  const double sin_s = kCosPoleColatitude * sin_u + kSinPoleColatitude * cos_u * cos_dv;
  const double cos_s = std::sqrt(1.0 - sin_s * sin_s);
  const double sin_d = cos_u * sin_dv / cos_s;
  const double d = std::atan(sin_d / std::sqrt(1.0 - sin_d * sin_d));
  const double epsilon = kConeConstant * d;
  const double rho = kRhoScale * std::pow((1.0 + sin_s) / cos_s, -kConeConstant);

  return {rho * std::cos(epsilon), rho * std::sin(epsilon)};
}

LatLon KrovakInverse(KrovakPoint point) {
  // The method is usually stated for the negated EPSG:5514 values, which it
  // negates first; X and Y here are already the grid's positive values, as
  // KrovakForward gives them, so they are used as they are.
  static const InverseSphere sphere = MakeInverseSphere();

  const double rho = std::hypot(point.x, point.y);
  const double epsilon = std::atan2(point.y, point.x);
  const double d = epsilon / std::sin(kPseudoStandardParallel);
  const double s = rho == 0.0
                       ? 2.0 * kQuarterPi
                       : 2.0 * (std::atan(std::pow(sphere.rho0 / rho, 1.0 / sphere.n) *
                                          std::tan(kPseudoStandardParallel / 2.0 + kQuarterPi)) -
                                kQuarterPi);
  const double u = std::asin(std::cos(kPoleColatitude) * std::sin(s) -
                             std::sin(kPoleColatitude) * std::cos(s) * std::cos(d));
  const double dv = std::asin(std::cos(s) * std::sin(d) / std::cos(u));
  const double lambda = kCentralMeridian - dv / sphere.alpha;

  // Latitude from the conformal latitude u, iterated (EPSG 7-2).
  const double conformal = std::pow(sphere.k, -1.0 / sphere.alpha) *
                           std::pow(std::tan(u / 2.0 + kQuarterPi), 1.0 / sphere.alpha);
  double phi = u;
  for (int round = 0; round < kKrovakInverseMaxRounds; ++round) {
    const double e_sin = sphere.e * std::sin(phi);
    const double next =
        2.0 * (std::atan(conformal * std::pow((1.0 + e_sin) / (1.0 - e_sin), sphere.e / 2.0)) -
               kQuarterPi);
    const bool converged = std::fabs(next - phi) < kConvergence;
    phi = next;
    if (converged) break;
  }
  return {phi * kInverseRadiansToDegrees, lambda * kInverseRadiansToDegrees};
}

bool KrovakPointOfGrid(GridPoint point, KrovakPoint* krovak) {
  const bool negative_easting = point.easting < 0.0;
  const bool negative_northing = point.northing < 0.0;
  if (negative_easting != negative_northing) return false;
  const double sign = negative_easting ? -1.0 : 1.0;
  *krovak = {sign * point.northing, sign * point.easting};
  return true;
}

}  // namespace kv
