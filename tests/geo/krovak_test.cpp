#include "geo/krovak.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geo/proj_reference.h"

namespace kv {
namespace {

// EPSG:5514 without its datum shift.
const char kKrovak[] =
    "+proj=krovak +lat_0=49.5 +lon_0=24.83333333333333 +alpha=30.28813972222222 +k=0.9999 "
    "+x_0=0 +y_0=0 +ellps=bessel +units=m";

// Metres per degree, roughly, for comparing angles as distances.
constexpr double kMetresPerDegree = 111000;

template <typename Visit>
void ForTerritory(Visit visit) {
  for (double latitude = 47.7; latitude <= 51.1; latitude += 0.2) {
    for (double longitude = 12.1; longitude <= 22.6; longitude += 0.35) visit(latitude, longitude);
  }
}

TEST(KrovakTest, ForwardAgreesWithProj) {
  test::ProjReference proj(kKrovak);
  ASSERT_TRUE(proj.ok());
  double worst = 0;
  ForTerritory([&](double latitude, double longitude) {
    const KrovakPoint ours = KrovakForward({latitude, longitude});
    const test::ProjXY theirs = proj.Forward(latitude, longitude);
    // PROJ gives easting = -Y, northing = -X.
    const double distance = std::hypot(ours.y + theirs.x, ours.x + theirs.y);
    worst = std::max(worst, distance);
    EXPECT_LT(distance, 0.5) << latitude << " " << longitude;
  });
  RecordProperty("worst_metres", std::to_string(worst));
}

TEST(KrovakTest, InverseAgreesWithProj) {
  test::ProjReference proj(kKrovak);
  ASSERT_TRUE(proj.ok());
  double worst = 0;
  ForTerritory([&](double latitude, double longitude) {
    const test::ProjXY grid = proj.Forward(latitude, longitude);
    const LatLon ours = KrovakInverse({-grid.y, -grid.x});
    const double north = (ours.latitude - latitude) * kMetresPerDegree;
    const double east =
        (ours.longitude - longitude) * kMetresPerDegree * std::cos(latitude * M_PI / 180);
    const double distance = std::hypot(north, east);
    worst = std::max(worst, distance);
    EXPECT_LT(distance, 0.5) << latitude << " " << longitude;
  });
  RecordProperty("worst_metres", std::to_string(worst));
}

TEST(KrovakTest, RoundTripReturnsThePosition) {
  ForTerritory([](double latitude, double longitude) {
    const LatLon back = KrovakInverse(KrovakForward({latitude, longitude}));
    // The two directions use slightly different constants (centimetres).
    EXPECT_NEAR(back.latitude, latitude, 5e-6);
    EXPECT_NEAR(back.longitude, longitude, 5e-6);
  });
}

TEST(KrovakTest, PragueHasItsKnownGridValues) {
  // Grid values in the usual positive form: Y about 743 km, X about 1043 km.
  const KrovakPoint prague = KrovakForward({50.0875, 14.4214});
  EXPECT_NEAR(prague.y, 743000, 3000);
  EXPECT_NEAR(prague.x, 1043000, 3000);
}

TEST(KrovakTest, HostileInputGivesNumbersOrNan) {
  const KrovakPoint pole = KrovakForward({90, 0});
  (void)pole;
  const LatLon origin = KrovakInverse({0, 0});
  (void)origin;
  const LatLon nan = KrovakInverse({std::nan(""), 1});
  EXPECT_TRUE(std::isnan(nan.latitude));
}

}  // namespace
}  // namespace kv
