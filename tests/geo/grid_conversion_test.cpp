#include "geo/grid_conversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geo/coordinate_systems.h"
#include "geo/ellipsoid.h"
#include "geo/grid_system_table.h"
#include "geo/mtm_zones.h"
#include "geo/proj_reference.h"

namespace kv {
namespace {

constexpr int kEur1950 = 8;

class GridConversionTest : public ::testing::Test {
 protected:
  GridReference ToGrid(LatLon position, int system, int datum_row = 0,
                       GridStatus* status = nullptr) {
    GridReference grid;
    const GridStatus result = LatLonToGrid(context_, datum_row, position, system, true, &grid);
    if (status != nullptr) *status = result;
    return grid;
  }
  LatLon ToLatLon(const GridReference& grid, int system, int datum_row = 0,
                  GridStatus* status = nullptr) {
    LatLon position;
    const GridStatus result = GridToLatLon(context_, datum_row, grid, system, true, &position);
    if (status != nullptr) *status = result;
    return position;
  }

  CoordinateContext context_;
};

TEST_F(GridConversionTest, DegreeNotationsKeepDegrees) {
  for (int system = 0; system <= 2; ++system) {
    GridStatus status = GridStatus::kUnknownSystem;
    const GridReference grid = ToGrid({47.5, 8.25}, system, 0, &status);
    EXPECT_EQ(status, GridStatus::kKeptInDegrees);
    EXPECT_EQ(grid.zone, "");
    EXPECT_EQ(grid.northing, 47.5);
    EXPECT_EQ(grid.easting, 8.25);
    const LatLon back = ToLatLon(grid, system, 0, &status);
    EXPECT_EQ(status, GridStatus::kKeptInDegrees);
    EXPECT_EQ(back.latitude, 47.5);
    EXPECT_EQ(back.longitude, 8.25);
  }
}

TEST_F(GridConversionTest, UnknownSystemsKeepDegrees) {
  for (int system : {-1, 29, 1000}) {
    GridStatus status = GridStatus::kConverted;
    const GridReference grid = ToGrid({47.5, 8.25}, system, 0, &status);
    EXPECT_EQ(status, GridStatus::kUnknownSystem);
    EXPECT_EQ(grid.zone, "");
    EXPECT_EQ(grid.northing, 47.5);
    ToLatLon(grid, system, 0, &status);
    EXPECT_EQ(status, GridStatus::kUnknownSystem);
  }
}

TEST_F(GridConversionTest, NonFinitePositionsKeepDegrees) {
  for (int system = 3; system < kCoordinateSystemCount; ++system) {
    GridStatus status = GridStatus::kConverted;
    const GridReference grid = ToGrid({std::nan(""), 8}, system, 0, &status);
    EXPECT_EQ(status, GridStatus::kKeptInDegrees) << system;
    EXPECT_EQ(grid.zone, "") << system;
  }
}

TEST_F(GridConversionTest, UtmUsesTheDatumsEllipsoid) {
  const LatLon position = {47.5, 8.25};
  const GridReference wgs84 = ToGrid(position, kSystemUtm, 0);
  const GridReference hayford = ToGrid(position, kSystemUtm, kEur1950);
  EXPECT_EQ(hayford.zone, "32T");
  test::ProjReference proj("+proj=utm +zone=32 +a=6378388 +rf=297 +units=m");
  const test::ProjXY theirs = proj.Forward(position.latitude, position.longitude);
  EXPECT_LT(std::hypot(hayford.easting - theirs.x, hayford.northing - theirs.y), 0.02);
  EXPECT_GT(std::fabs(hayford.northing - wgs84.northing), 50);

  const LatLon back = ToLatLon(hayford, kSystemUtm, kEur1950);
  EXPECT_NEAR(back.latitude, 47.5, 2e-8);
  EXPECT_NEAR(back.longitude, 8.25, 2e-8);
}

TEST_F(GridConversionTest, MgaIsUtmOnTheRecordsDatum) {
  const GridReference utm = ToGrid({-33.9, 151.2}, kSystemUtm, kEur1950);
  const GridReference mga = ToGrid({-33.9, 151.2}, kSystemMga, kEur1950);
  EXPECT_EQ(mga.zone, utm.zone);
  EXPECT_EQ(mga.easting, utm.easting);
  EXPECT_EQ(mga.northing, utm.northing);
}

TEST_F(GridConversionTest, UtmZoneTextWithoutZoneReadsAsDegrees) {
  GridStatus status = GridStatus::kConverted;
  const LatLon position = ToLatLon({"", 8.25, 47.5}, kSystemUtm, 0, &status);
  EXPECT_EQ(status, GridStatus::kKeptInDegrees);
  EXPECT_EQ(position.latitude, 47.5);
  EXPECT_EQ(position.longitude, 8.25);
}

TEST_F(GridConversionTest, OsgbSquaresAndPositionsOutsideThem) {
  LatLon inside;
  ASSERT_EQ(GridToLatLon(context_, 0, {"TG", 51409, 13177}, kSystemOsgb, false, &inside),
            GridStatus::kConverted);
  const GridReference grid = ToGrid(inside, kSystemOsgb);
  EXPECT_EQ(grid.zone, "TG");
  EXPECT_EQ(grid.easting, 51409);
  EXPECT_EQ(grid.northing, 13177);

  GridStatus status = GridStatus::kConverted;
  const GridReference paris = ToGrid({48.85, 2.35}, kSystemOsgb, 0, &status);
  EXPECT_EQ(status, GridStatus::kKeptInDegrees);
  EXPECT_EQ(paris.zone, "");
  EXPECT_EQ(paris.northing, 48.85);
  EXPECT_EQ(paris.easting, 2.35);
  const LatLon back = ToLatLon(paris, kSystemOsgb, 0, &status);
  EXPECT_EQ(status, GridStatus::kKeptInDegrees);
  EXPECT_EQ(back.latitude, 48.85);
}

TEST_F(GridConversionTest, SJtskShowsYAsEastingAndXAsNorthing) {
  const GridReference grid = ToGrid({50.0875, 14.4214}, kSystemSJtsk);
  EXPECT_EQ(grid.zone, "");
  EXPECT_NEAR(grid.easting, 743000, 3000);
  EXPECT_NEAR(grid.northing, 1043000, 3000);
  const LatLon back = ToLatLon(grid, kSystemSJtsk);
  EXPECT_NEAR(back.latitude, 50.0875, 5e-6);
  EXPECT_NEAR(back.longitude, 14.4214, 5e-6);
}

// S-JTSK grid values as PROJ writes them in each of the usual CRSs: EPSG:5514
// (easting -Y, northing -X), EPSG:5513 and EPSG:2065 (X southing, Y westing).
TEST_F(GridConversionTest, SJtskReadsEveryFormAsProjWritesIt) {
  struct Form {
    const char* crs;
    bool easting_first;
  };
  constexpr double kMetresPerDegree = 111000;
  for (const Form form :
       {Form{"EPSG:5514", true}, Form{"EPSG:5513", false}, Form{"EPSG:2065", false}}) {
    test::ProjCrsTransform proj("EPSG:4156", form.crs);
    ASSERT_TRUE(proj.ok()) << form.crs;
    double worst = 0;
    for (double latitude = 47.8; latitude <= 51.0; latitude += 0.4) {
      for (double longitude = 12.2; longitude <= 22.5; longitude += 0.7) {
        const test::ProjXY xy = proj.Forward(latitude, longitude);
        GridReference grid;
        grid.easting = form.easting_first ? xy.x : xy.y;
        grid.northing = form.easting_first ? xy.y : xy.x;
        GridStatus status = GridStatus::kUnknownSystem;
        const LatLon ours = ToLatLon(grid, kSystemSJtsk, 0, &status);
        EXPECT_EQ(status, GridStatus::kConverted);
        const double distance = kMetresPerDegree * std::hypot(ours.latitude - latitude,
                                                              (ours.longitude - longitude) *
                                                                  std::cos(latitude * M_PI / 180));
        worst = std::max(worst, distance);
        EXPECT_LT(distance, 0.5) << form.crs << " " << latitude << " " << longitude;
      }
    }
    RecordProperty(std::string("worst_metres_") + form.crs, std::to_string(worst));
  }
}

TEST_F(GridConversionTest, SJtskRefusesValuesOfMixedSigns) {
  for (const GridReference& grid :
       {GridReference{"", -742888, 1043086}, GridReference{"", 742888, -1043086}}) {
    GridStatus status = GridStatus::kUnknownSystem;
    ToLatLon(grid, kSystemSJtsk, 0, &status);
    EXPECT_EQ(status, GridStatus::kKeptInDegrees) << grid.easting << " " << grid.northing;
  }
}

TEST_F(GridConversionTest, QuebecTakesTheMeridianOfItsZone) {
  const GridReference grid = ToGrid({46.8, -71.2}, 20);
  EXPECT_EQ(grid.zone, "QU7");
  test::ProjReference proj(
      "+proj=tmerc +lat_0=0 +lon_0=-70.5 +k=0.9999 +x_0=304800 +y_0=0 +a=6378137 "
      "+rf=298.257222 +units=m");
  const test::ProjXY theirs = proj.Forward(46.8, -71.2);
  EXPECT_LT(std::hypot(grid.easting - theirs.x, grid.northing - theirs.y), 0.02);

  const LatLon back = ToLatLon(grid, 20);
  EXPECT_NEAR(back.latitude, 46.8, 2e-8);
  EXPECT_NEAR(back.longitude, -71.2, 2e-8);
  // The zone text names the meridian, whatever the easting says.
  const LatLon lower_case = ToLatLon({"qu7", grid.easting, grid.northing}, 20);
  EXPECT_NEAR(lower_case.longitude, -71.2, 2e-8);
}

TEST_F(GridConversionTest, QuebecOutsideItsZonesKeepsDegrees) {
  GridStatus status = GridStatus::kConverted;
  const GridReference gap = ToGrid({46.0, -83.5}, 20, 0, &status);
  EXPECT_EQ(status, GridStatus::kKeptInDegrees);
  EXPECT_EQ(gap.zone, "");
  EXPECT_EQ(gap.easting, -83.5);
  const LatLon unknown = ToLatLon({"QU1", 300000, 5000000}, 20, 0, &status);
  EXPECT_EQ(status, GridStatus::kKeptInDegrees);
  EXPECT_EQ(unknown.latitude, 5000000);
}

TEST_F(GridConversionTest, Wgs84FlagLeavesPositionsUnchanged) {
  GridReference shifted;
  GridReference plain;
  ASSERT_EQ(LatLonToGrid(context_, kEur1950, {47.5, 8.25}, kSystemUtm, true, &shifted),
            GridStatus::kConverted);
  ASSERT_EQ(LatLonToGrid(context_, kEur1950, {47.5, 8.25}, kSystemUtm, false, &plain),
            GridStatus::kConverted);
  EXPECT_EQ(shifted.easting, plain.easting);
  EXPECT_EQ(shifted.northing, plain.northing);
}

// Every national grid computed as Transverse Mercator agrees with PROJ's
// tmerc given the same parameters and ellipsoid.
class TableGridTest : public ::testing::TestWithParam<int> {};

TEST_P(TableGridTest, AgreesWithProj) {
  const int system = GetParam();
  CoordinateContext context;
  GridSystemRow row;
  ASSERT_EQ(context.grid_systems.RowOf(system, &row), 0);
  const Ellipsoid ellipsoid = EllipsoidOfDatumRow(row.datum_row);
  test::ProjReference proj(test::TmercDefinition(
      row.scale_factor, row.false_northing, row.false_easting, row.origin_latitude,
      row.central_meridian, ellipsoid.semi_major_axis, ellipsoid.inverse_flattening));
  ASSERT_TRUE(proj.ok());
  double worst = 0;
  const double latitudes[] = {-60, -41, -20, 0, 31.7, 46.9, 53.5, 60, row.origin_latitude};
  for (double latitude : latitudes) {
    for (double offset = -3; offset <= 3; offset += 1) {
      const LatLon position = {latitude, row.central_meridian + offset};
      GridReference grid;
      ASSERT_EQ(LatLonToGrid(context, 0, position, system, false, &grid), GridStatus::kConverted);
      EXPECT_EQ(grid.zone, "");
      const test::ProjXY theirs = proj.Forward(position.latitude, position.longitude);
      const double distance = std::hypot(grid.easting - theirs.x, grid.northing - theirs.y);
      worst = std::max(worst, distance);
      EXPECT_LT(distance, 0.02) << row.code << " " << latitude << " " << offset;

      LatLon back;
      ASSERT_EQ(GridToLatLon(context, 0, grid, system, false, &back), GridStatus::kConverted);
      EXPECT_NEAR(back.latitude, position.latitude, 2e-8) << row.code;
      EXPECT_NEAR(back.longitude, position.longitude, 2e-8) << row.code;
    }
  }
  RecordProperty("worst_metres", std::to_string(worst));
}

INSTANTIATE_TEST_SUITE_P(NationalGrids, TableGridTest,
                         ::testing::Values(5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17, 18, 19, 21,
                                           22, 23, 24, 26, 27, 28));

}  // namespace
}  // namespace kv
