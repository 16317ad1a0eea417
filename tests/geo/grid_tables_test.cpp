#include <gtest/gtest.h>

#include <string>

#include "geo/coordinate_systems.h"
#include "geo/grid_system_table.h"
#include "geo/mtm_zones.h"
#include "geo/projection_table.h"

namespace kv {
namespace {

TEST(CoordinateSystemsTest, ListHas29EntriesAndAnEmptyEnd) {
  const auto& names = CoordinateSystemNames();
  EXPECT_EQ(names.size(), 30u);
  EXPECT_EQ(names[0], "DD MM.mmmm");
  EXPECT_EQ(names[4], "OSGB");
  EXPECT_EQ(names[25], "S-JTSK");
  EXPECT_EQ(names[28], "Warschauer Pakt Zone 5");
  EXPECT_EQ(names[29], "");
  // The German names carry the degree sign as UTF-8.
  EXPECT_EQ(names[8], "Germany Zone 2 (6\xC2\xBA), Gauss Krueger");
  EXPECT_EQ(CoordinateSystemName(29), "");
  EXPECT_EQ(CoordinateSystemName(-1), "");
}

TEST(CoordinateSystemsTest, ClassifiesIndexes) {
  EXPECT_FALSE(IsGrid(2));
  EXPECT_TRUE(IsGrid(3));
  EXPECT_FALSE(IsNationalGrid(4));
  EXPECT_TRUE(IsNationalGrid(5));
}

TEST(GridSystemTableTest, RowsMatchTheirListEntries) {
  const auto& rows = GridSystemRows();
  ASSERT_EQ(rows.size(), 24u);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].system, static_cast<int>(i) + 5);
    EXPECT_EQ(rows[i].datum_row, kUnresolvedDatumRow);
    EXPECT_EQ(FindGridSystem(rows[i].code), rows[i].system) << rows[i].code;
  }
}

TEST(GridSystemTableTest, FindsCodesIgnoringCase) {
  EXPECT_EQ(FindGridSystem("ch-1903"), 24);
  EXPECT_EQ(FindGridSystem("ire"), 13);
  EXPECT_EQ(FindGridSystem("s-jtsk"), 25);
  EXPECT_EQ(FindGridSystem("UTM"), -1);
  EXPECT_EQ(FindGridSystem(""), -1);
}

TEST(GridSystemTableTest, ResolvesDatumRowsOnFirstUse) {
  GridSystemTable table;
  GridSystemRow row;
  EXPECT_EQ(table.RowOf(4, &row), -1);
  EXPECT_EQ(table.RowOf(29, &row), -1);

  struct Case {
    int system;
    int datum_row;
  };
  // Datum rows and ellipsoid rows alike.
  const Case cases[] = {{5, 2},   {8, 36},  {12, 14}, {13, 16}, {14, 51},
                        {15, 63}, {16, 11}, {17, 0},  {18, 12}, {20, 29},
                        {21, 43}, {24, 60}, {25, 60}, {26, 40}, {28, 40}};
  for (const Case& c : cases) {
    ASSERT_EQ(table.RowOf(c.system, &row), 0);
    EXPECT_EQ(row.datum_row, c.datum_row) << c.system;
    ASSERT_EQ(table.RowOf(c.system, &row), 0);
    EXPECT_EQ(row.datum_row, c.datum_row) << c.system;
  }
  ASSERT_EQ(table.RowOf(13, &row), 0);
  EXPECT_EQ(row.code, "IRE");
  EXPECT_EQ(row.scale_factor, 1.000035);
  EXPECT_EQ(row.false_northing, 250000);
  EXPECT_EQ(row.false_easting, 200000);
  EXPECT_EQ(row.origin_latitude, 53.5);
  EXPECT_EQ(row.central_meridian, -8);
}

TEST(MtmZonesTest, WestLimitInsideEastLimitOutside) {
  struct Case {
    double longitude;
    const char* zone;  // nullptr: none
  };
  const Case cases[] = {{-57.0, "QU2"},   {-53.0, nullptr}, {-53.0001, "QU2"}, {-83.5, nullptr},
                        {-84.0, nullptr}, {-84.5, "Q12"},   {-86.5, nullptr},  {-73.5, "QU8"},
                        {-81.0, "Q10"},   {-81.5, "Q11"}};
  for (const Case& c : cases) {
    const int index = MtmZoneOfLongitude(c.longitude);
    if (c.zone == nullptr) {
      EXPECT_EQ(index, -1) << c.longitude;
    } else {
      ASSERT_GE(index, 0) << c.longitude;
      EXPECT_EQ(MtmZones()[static_cast<std::size_t>(index)].name, c.zone) << c.longitude;
    }
  }
  EXPECT_EQ(FindMtmZone("qu8"), 6);
  EXPECT_EQ(FindMtmZone("Q12"), 10);
  EXPECT_EQ(FindMtmZone("QU1"), -1);
}

TEST(ProjectionTableTest, LooksUpCodesAndAliases) {
  EXPECT_EQ(ProjectionRowCount(), 9);
  EXPECT_EQ(FindProjection("TMERC"), 4);
  EXPECT_EQ(FindProjection("latlong"), 3);
  EXPECT_EQ(FindProjection("krovak"), -1);
  EXPECT_EQ(ProjectionCode(8), "nzmg");
  EXPECT_EQ(ProjectionDisplayName(6), "Universal Transverse Mercator (UTM)");
  EXPECT_EQ(ProjectionCode(9), "");

  std::string code;
  EXPECT_TRUE(CanonicalProjectionCode("Mercator", &code));
  EXPECT_EQ(code, "LatLong");
  EXPECT_TRUE(CanonicalProjectionCode("universal transverse mercator", &code));
  EXPECT_EQ(code, "utm");
  EXPECT_FALSE(CanonicalProjectionCode("Miller Cylindrical", &code));
  EXPECT_EQ(code, "Miller Cylindrical");
}

TEST(ProjectionTableTest, CalibrationKindsInDialogOrder) {
  const auto& kinds = CalibrationKindNames();
  EXPECT_EQ(kinds[0].kind, 0);
  EXPECT_EQ(kinds[1].kind, 8);
  EXPECT_EQ(kinds[2].kind, 14);
  EXPECT_EQ(kinds[3].kind, 9);
  EXPECT_EQ(kinds[3].name, "3x3 (TTQV)");
}

}  // namespace
}  // namespace kv
