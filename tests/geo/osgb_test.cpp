#include "geo/osgb.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geo/proj_reference.h"

namespace kv {
namespace {

const char kNationalGrid[] =
    "+proj=tmerc +lat_0=49 +lon_0=-2 +k=0.9996012717 +x_0=400000 +y_0=-100000 "
    "+a=6377563.396 +es=0.006670539761597337 +units=m";

// Finds the position whose full grid coordinates are (easting, northing).
LatLon PositionAt(double easting, double northing) {
  return OsgbGridPointToLatLon({northing, easting});
}

TEST(OsgbTest, LettersOfAKnownSquare) {
  // Full grid coordinates E 651409, N 313177 lie in TG.
  const LatLon position = PositionAt(651409.2, 313176.9);
  OsgbReference reference;
  ASSERT_TRUE(OsgbForward(position, &reference));
  EXPECT_EQ(reference.letters, "TG");
  EXPECT_EQ(reference.point.easting, 51409);
  EXPECT_EQ(reference.point.northing, 13177);

  LatLon back;
  ASSERT_TRUE(OsgbInverse("TG", reference.point, &back));
  const GridPoint full = OsgbGridPoint(back);
  EXPECT_NEAR(full.easting, 651409, 0.005);
  EXPECT_NEAR(full.northing, 313177, 0.005);
}

TEST(OsgbTest, SquaresOfEveryFirstLetterReadBack) {
  struct Case {
    double easting;
    double northing;
    const char* letters;
  };
  // Squares over land and the nearby sea, one of each first letter.
  const Case cases[] = {{91000, 11000, "SV"},    {450000, 90000, "SZ"},   {560000, 99000, "TV"},
                        {530000, 180000, "TQ"},  {651409, 313177, "TG"},  {90000, 560000, "NV"},
                        {325000, 673000, "NT"},  {216000, 771000, "NN"},  {170000, 220000, "SM"},
                        {450000, 1150000, "HU"}, {460000, 1210000, "HP"}, {510000, 1120000, "JQ"},
                        {520000, 620000, "OQ"}};
  for (const Case& c : cases) {
    OsgbReference reference;
    ASSERT_TRUE(OsgbForward(PositionAt(c.easting, c.northing), &reference)) << c.letters;
    EXPECT_EQ(reference.letters, c.letters);
    EXPECT_EQ(reference.point.easting, std::fmod(c.easting, 100000));
    EXPECT_EQ(reference.point.northing, std::fmod(c.northing, 100000));
    LatLon back;
    ASSERT_TRUE(OsgbInverse(reference.letters, reference.point, &back));
    const GridPoint full = OsgbGridPoint(back);
    // Several degrees from the meridian the series give centimetres in a
    // round trip.
    EXPECT_NEAR(full.easting, c.easting, 0.05) << c.letters;
    EXPECT_NEAR(full.northing, c.northing, 0.05) << c.letters;
  }
}

TEST(OsgbTest, PositionsOutsideTheSquaresAreRefused) {
  // West and south of the false origin, and east or north of the squares
  // whose letters read back.
  const double outside[][2] = {
      {-1, 100}, {100, -1}, {-250000, 300000}, {1000001, 100}, {100, 1500001}};
  for (const auto& p : outside) {
    OsgbReference reference;
    reference.letters = "unchanged";
    EXPECT_FALSE(OsgbForward(PositionAt(p[0], p[1]), &reference)) << p[0] << " " << p[1];
    EXPECT_EQ(reference.letters, "unchanged");
  }
  OsgbReference reference;
  EXPECT_FALSE(OsgbForward({std::nan(""), 0}, &reference));
  EXPECT_FALSE(OsgbForward({1e300, 1e300}, &reference));
}

TEST(OsgbTest, UnknownLettersAreRefused) {
  LatLon position = {1, 2};
  for (const char* letters : {"", "T", "UG", "tg", "TI", "T1", "X"}) {
    EXPECT_FALSE(OsgbInverse(letters, {1000, 1000}, &position)) << letters;
  }
  EXPECT_EQ(position.latitude, 1);
}

TEST(OsgbTest, AgreesWithProj) {
  test::ProjReference proj(kNationalGrid);
  ASSERT_TRUE(proj.ok());
  double worst = 0;
  for (double latitude = 50.0; latitude <= 60.5; latitude += 0.5) {
    for (double longitude = -5.0; longitude <= 1.0; longitude += 0.5) {
      const GridPoint ours = OsgbGridPoint({latitude, longitude});
      const test::ProjXY theirs = proj.Forward(latitude, longitude);
      const double distance = std::hypot(ours.easting - theirs.x, ours.northing - theirs.y);
      worst = std::max(worst, distance);
      EXPECT_LT(distance, 0.02) << latitude << " " << longitude;
    }
  }
  RecordProperty("worst_metres", std::to_string(worst));
}

}  // namespace
}  // namespace kv
