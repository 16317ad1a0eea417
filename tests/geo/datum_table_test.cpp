#include "geo/datum_table.h"

#include <gtest/gtest.h>

#include <string>

#include "geo/datum_aliases.h"
#include "geo/ellipsoid.h"

namespace kv {
namespace {

TEST(DatumTableTest, HasItsRowsInTheirPlaces) {
  ASSERT_EQ(DatumRowCount(), 92);
  struct Row {
    int index;
    const char* code;
    const char* display_name;
  };
  const Row rows[] = {
      {0, "WGS84", "WGS84"},
      {16, "Irelnd65", "Ireland 1965"},
      {29, "NAD83", "North_American_Datum_1983"},
      {34, "OrdSrvyGrtBritn", "Ord Srvy Grt Britn"},
      {48, "Tokyo", "Tokyo"},
      {49, "MERIT", "MERIT 1983"},
      {53, "airy", "Airy 1830"},
      {90, "WGS84", "WGS 84"},
      {91, "sphere", "Normal Sphere (r=6370997)"},
  };
  for (const Row& row : rows) {
    std::string_view code;
    ASSERT_EQ(DatumCode(row.index, &code), 0) << row.index;
    EXPECT_EQ(code, row.code) << row.index;
    EXPECT_EQ(DatumDisplayName(row.index), row.display_name) << row.index;
  }
}

TEST(DatumTableTest, FindsCodesIgnoringCaseDatumsFirst) {
  EXPECT_EQ(FindDatum("wgs84"), 0);
  EXPECT_EQ(FindDatum("WGS 84"), -1);
  EXPECT_EQ(FindDatum("BESSEL"), 60);
  EXPECT_EQ(FindDatum("Pulkovo1942"), 40);
  EXPECT_EQ(FindDatum(""), -1);
}

TEST(DatumTableTest, RejectsIndexesOutsideTheTable) {
  std::string_view code = "unchanged";
  EXPECT_EQ(DatumCode(92, &code), kInvalidDatumIndex);
  EXPECT_EQ(DatumCode(-1, &code), kInvalidDatumIndex);
  EXPECT_EQ(code, "unchanged");
  EXPECT_EQ(DatumDisplayName(92), "");
  EXPECT_EQ(DatumInformation(92, nullptr), kInvalidDatumIndex);
  EXPECT_EQ(DatumInformation(-79, nullptr), kInvalidDatumIndex);
}

struct InfoRow {
  int index;
  int kind;
  double a;
  double rf;
};

class DatumInformationTest : public ::testing::TestWithParam<InfoRow> {};

TEST_P(DatumInformationTest, GivesTheEllipsoidValues) {
  const InfoRow& row = GetParam();
  DatumInfo info;
  EXPECT_EQ(DatumInformation(row.index, &info), row.kind);
  EXPECT_EQ(info.semi_major_axis, row.a);
  EXPECT_EQ(info.inverse_flattening, row.rf);
  EXPECT_EQ(DatumInformation(row.index, nullptr), row.kind);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DatumInformationTest,
    ::testing::Values(InfoRow{34, kDatumKindDatum, 6377563.396, 299.3249646},
                      InfoRow{53, kDatumKindEllipsoid, 6377563.396, 299.3249646},
                      // The datum's ellipsoid is found among the ellipsoid rows.
                      InfoRow{0, kDatumKindDatum, 6378137.0, 298.257224},
                      InfoRow{16, kDatumKindDatum, 6377340.189, 299.3249646},
                      // Stray points after the number.
                      InfoRow{54, kDatumKindEllipsoid, 6378137.0, 298.25},
                      InfoRow{55, kDatumKindEllipsoid, 6378145.0, 298.25},
                      InfoRow{65, kDatumKindEllipsoid, 6376428.0, 311.5},
                      InfoRow{76, kDatumKindEllipsoid, 6378270.0, 297.0},
                      InfoRow{44, kDatumKindDatum, 6378160.0, 298.25}));

TEST(DatumAliasTest, NormalisesNumbersAndAliases) {
  struct Case {
    const char* name;
    const char* normalised;
    bool found;
  };
  const Case cases[] = {
      {"WGS 84", "WGS84", true},
      {"102", "NAD83", true},
      {"1", "WGS84", true},
      {"Ord Surv of Gr Britain 1936 (Wales)", "OrdSrvyGrtBritn", true},
      {"european 1950 sicily", "Eur1950", true},
      {"Clarke 1880", "clrk80", true},
      {"Nowhere 1900", "Nowhere 1900", false},
      {"10", "10", false},
  };
  for (const Case& c : cases) {
    std::string name = c.name;
    EXPECT_EQ(NormaliseDatumName(&name), c.found) << c.name;
    EXPECT_EQ(name, c.normalised) << c.name;
  }
  EXPECT_EQ(DatumAliases().size(), 39u);
}

TEST(DatumAliasTest, CanonicalNameReportsMisses) {
  std::string canonical;
  EXPECT_TRUE(CanonicalDatumName("NAD 27", &canonical));
  EXPECT_EQ(canonical, "NAD27");
  EXPECT_TRUE(CanonicalDatumName("Geodetic Datum 1949", &canonical));
  EXPECT_EQ(canonical, "Geo49");
  EXPECT_FALSE(CanonicalDatumName("102", &canonical));
  EXPECT_EQ(canonical, "102");
}

TEST(EllipsoidTest, UsesTheExactWgs84PairForRowZeroAndFailures) {
  struct Case {
    int row;
    double a;
    double rf;
  };
  const Case cases[] = {
      {0, 6378137.0, 298.257223563},  {29, 6378137.0, 298.257222},    {90, 6378137.0, 298.257224},
      {-1, 6378137.0, 298.257223563}, {92, 6378137.0, 298.257223563}, {60, 6377397.155, 299.152812},
  };
  EllipsoidCache cache;
  for (const Case& c : cases) {
    const Ellipsoid direct = EllipsoidOfDatumRow(c.row);
    EXPECT_EQ(direct.semi_major_axis, c.a) << c.row;
    EXPECT_EQ(direct.inverse_flattening, c.rf) << c.row;
    // The cache answers the same, asked once or twice in a row.
    for (int repeat = 0; repeat < 2; ++repeat) {
      const Ellipsoid cached = cache.OfDatum(c.row);
      EXPECT_EQ(cached.semi_major_axis, c.a) << c.row;
      EXPECT_EQ(cached.inverse_flattening, c.rf) << c.row;
    }
  }
}

TEST(EllipsoidTest, SquaredEccentricityOfAiry) {
  // 2f - f^2 from the rounded rf; the British grid uses the published e^2
  // 0.006670539761597337 instead, 2.4e-10 away.
  EXPECT_NEAR(SquaredEccentricity({6377563.396, 299.3249646}), 0.00667054, 1e-11);
}

}  // namespace
}  // namespace kv
