#include "geo/utm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geo/ellipsoid.h"
#include "geo/proj_reference.h"

namespace kv {
namespace {

const EllipsoidShape kWgs84 = ShapeOf(kWgs84Ellipsoid);

struct ZoneCase {
  double latitude;
  double longitude;
  const char* zone;
};

class UtmZoneTest : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(UtmZoneTest, GivesZoneAndBand) {
  const ZoneCase& c = GetParam();
  EXPECT_EQ(UtmForward(kWgs84, {c.latitude, c.longitude}).zone, c.zone);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, UtmZoneTest,
    ::testing::Values(ZoneCase{60, 5, "32V"}, ZoneCase{78, 10, "33X"}, ZoneCase{-33.9, 18.4, "34H"},
                      ZoneCase{84, 10, "32X"}, ZoneCase{84.5, 10, "32Z"}, ZoneCase{-80, 0, "31C"},
                      ZoneCase{-80.5, 0, "31Z"}, ZoneCase{72, 8.9, "31X"}, ZoneCase{72, 9, "33X"},
                      ZoneCase{75, 41.9, "37X"}, ZoneCase{75, 42, "38X"}, ZoneCase{56, 2.9, "31V"},
                      ZoneCase{63.9, 11.9, "32V"}, ZoneCase{64, 5, "31W"}, ZoneCase{0, -180, "1N"},
                      ZoneCase{-0.1, 179.9, "60M"},
                      // Longitudes outside [-180, 180) are brought back first.
                      ZoneCase{10, 180, "1P"}, ZoneCase{10, 190, "2P"}, ZoneCase{10, -190, "59P"},
                      ZoneCase{10, 540, "1P"}, ZoneCase{10, -180.0000000001, "60P"}));

TEST(UtmTest, ZoneOfLongitudesOutsideTheRangeIsAnEndZone) {
  EXPECT_EQ(UtmZone(10, std::nan("")), 1);
  EXPECT_EQ(UtmZone(10, 1e300), 60);
  EXPECT_EQ(UtmZone(10, -1e300), 1);
  EXPECT_EQ(UtmForward(kWgs84, {10, std::nan("")}).zone, "1P");
}

TEST(UtmTest, SouthernHemisphereGetsTheFalseNorthing) {
  const UtmReference cape = UtmForward(kWgs84, {-33.9, 18.4});
  EXPECT_GT(cape.point.northing, 6000000);
  EXPECT_LT(cape.point.northing, 10000000);
}

TEST(UtmTest, NormalisedLongitudeIsProjected) {
  const UtmReference wrapped = UtmForward(kWgs84, {10, 190});
  const UtmReference plain = UtmForward(kWgs84, {10, -170});
  EXPECT_EQ(wrapped.zone, plain.zone);
  EXPECT_DOUBLE_EQ(wrapped.point.easting, plain.point.easting);
  EXPECT_DOUBLE_EQ(wrapped.point.northing, plain.point.northing);
}

TEST(UtmTest, AgreesWithProjInEveryKindOfZone) {
  const double positions[][2] = {{60, 5},      {78, 10},   {-33.9, 18.4}, {51.5, -0.12},
                                 {-45, 170.5}, {40, -74},  {0.5, 33},     {-0.5, 33},
                                 {70, 25},     {-60, -68}, {84, 10},      {79, 40}};
  for (const auto& p : positions) {
    const UtmReference ours = UtmForward(kWgs84, {p[0], p[1]});
    const int zone = std::stoi(ours.zone);
    const std::string definition = "+proj=utm +zone=" + std::to_string(zone) +
                                   (p[0] < 0 ? " +south" : "") +
                                   " +a=6378137 +rf=298.257223563 +units=m";
    test::ProjReference proj(definition);
    ASSERT_TRUE(proj.ok());
    const test::ProjXY theirs = proj.Forward(p[0], p[1]);
    // Svalbard's wide zones reach 4.5 degrees from the meridian, where the
    // series lose a few more millimetres.
    EXPECT_LT(std::hypot(ours.point.easting - theirs.x, ours.point.northing - theirs.y), 0.02)
        << p[0] << " " << p[1] << " " << ours.zone;
  }
}

TEST(UtmTest, InverseReturnsThePosition) {
  // Within 3 degrees of the zone meridian.
  const double positions[][2] = {{60, 7}, {-33.9, 18.4}, {47.5, 8.25}, {-12, -77}, {1, 1}};
  for (const auto& p : positions) {
    const UtmReference grid = UtmForward(kWgs84, {p[0], p[1]});
    LatLon back;
    ASSERT_TRUE(UtmInverse(kWgs84, grid.zone, grid.point, &back)) << grid.zone;
    EXPECT_NEAR(back.latitude, p[0], 2e-8);
    EXPECT_NEAR(back.longitude, p[1], 2e-8);
  }
}

TEST(UtmTest, InverseReadsTheHemisphereFromTheBandLetter) {
  const UtmReference north = UtmForward(kWgs84, {47.5, 8.25});
  LatLon position;
  // "32u": no capital band, so southern; 10000000 m comes off the northing.
  ASSERT_TRUE(UtmInverse(kWgs84, "32u", north.point, &position));
  EXPECT_LT(position.latitude, -40);
  ASSERT_TRUE(UtmInverse(kWgs84, "32", north.point, &position));
  EXPECT_LT(position.latitude, -40);
  ASSERT_TRUE(UtmInverse(kWgs84, "32M", north.point, &position));
  EXPECT_LT(position.latitude, -40);
  ASSERT_TRUE(UtmInverse(kWgs84, "32N", north.point, &position));
  EXPECT_NEAR(position.latitude, 47.5, 1e-7);
  ASSERT_TRUE(UtmInverse(kWgs84, " 32 zone U", north.point, &position));
  EXPECT_NEAR(position.latitude, 47.5, 1e-7);
}

TEST(UtmTest, InverseRefusesZoneTextsWithoutAZone) {
  LatLon position = {1, 2};
  for (const char* zone : {"", "U", "0U", "61U", "999999999999U", "-32U"}) {
    EXPECT_FALSE(UtmInverse(kWgs84, zone, {5000000, 500000}, &position)) << zone;
  }
  EXPECT_EQ(position.latitude, 1);
  EXPECT_EQ(position.longitude, 2);
}

TEST(UtmZoneTextTest, ZonesPeopleGiveNeedTheirBandLetter) {
  struct Case {
    const char* zone;
    UtmZoneStatus status;
  };
  const Case cases[] = {
      {"18T", UtmZoneStatus::kValid},
      {" 18 T ", UtmZoneStatus::kValid},
      {"1C", UtmZoneStatus::kValid},
      {"60X", UtmZoneStatus::kValid},
      {"55H", UtmZoneStatus::kValid},
      {"18", UtmZoneStatus::kNoBandLetter},
      {" 55 ", UtmZoneStatus::kNoBandLetter},
      {"18t", UtmZoneStatus::kUnknownBandLetter},
      {"18I", UtmZoneStatus::kUnknownBandLetter},
      {"18O", UtmZoneStatus::kUnknownBandLetter},
      {"18A", UtmZoneStatus::kUnknownBandLetter},
      {"18Y", UtmZoneStatus::kUnknownBandLetter},
      {"18TT", UtmZoneStatus::kUnknownBandLetter},
      {"18 zone T", UtmZoneStatus::kUnknownBandLetter},
      {"", UtmZoneStatus::kNoZoneNumber},
      {"T", UtmZoneStatus::kNoZoneNumber},
      {"0T", UtmZoneStatus::kNoZoneNumber},
      {"61T", UtmZoneStatus::kNoZoneNumber},
      {"018T", UtmZoneStatus::kNoZoneNumber},
      {"-18T", UtmZoneStatus::kNoZoneNumber},
  };
  for (const Case& c : cases) EXPECT_EQ(CheckUtmZoneText(c.zone), c.status) << c.zone;
}

TEST(UtmZoneMeridianTest, SpecialZonesTakeTheMiddleOfTheirExtent) {
  struct Case {
    const char* zone;
    double meridian;
  };
  const Case cases[] = {{"31V", 1.5}, {"32V", 7.5}, {"31X", 4.5}, {"33X", 15},
                        {"35X", 27},  {"37X", 39},  {"32U", 9},   {"31U", 3},
                        {"1C", -177}, {"60", 177},  {"32v", 9},   {"", -183}};
  for (const Case& c : cases) EXPECT_EQ(UtmZoneMeridian(c.zone), c.meridian) << c.zone;
  EXPECT_TRUE(std::isfinite(UtmZoneMeridian(std::string(400, '9'))));
}

}  // namespace
}  // namespace kv
