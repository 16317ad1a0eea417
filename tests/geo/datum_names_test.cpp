#include "geo/datum_names.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geo/datum_table.h"
#include "geo/number_text.h"
#include "geo/proj_reference.h"

namespace kv {
namespace {

std::string CodeOf(std::string_view name) {
  int row = -1;
  if (FindDatumByName(name, &row) != DatumNameStatus::kFound) return "(not found)";
  std::string_view code;
  return DatumCode(row, &code) == 0 ? std::string(code) : "(no code)";
}

TEST(DatumNamesTest, FindsTheNamesOtherProgramsWrite) {
  struct Case {
    const char* name;
    const char* code;
  };
  const Case cases[] = {
      // OziExplorer's names.
      {"Pulkovo 1942 (1)", "Pulkovo1942"},
      {"Pulkovo 1942 (2)", "Pulkovo1942"},
      {"Pulkovo 1942(1)", "Pulkovo1942"},
      {"European 1950", "Eur1950"},
      {"European 1950 (Spain and Portugal)", "Eur1950-D"},
      {"NAD27 CONUS", "NAD27CONUS"},
      {"NAD27 Canal Zone", "NAD27CanalZn"},
      {"Ord Srvy Grt Britn", "OrdSrvyGrtBritn"},
      {"Potsdam Rauenberg DHDN", "Potsdam"},
      {"CH-1903", "CH1903"},
      {"Geodetic Datum '49", "GD49"},
      {"Australian Geod '66", "AGD66"},
      {"Hong Kong 1963", "HKong63"},
      {"WGS 72", "WGS72"},
      // The alias table, the numeric codes and the table's own codes.
      {"WGS 84", "WGS84"},
      {"102", "NAD83"},
      {"European 1950 (Mean)", "Eur1950"},
      {"pulkovo1942", "Pulkovo1942"},
      // Canonical codes of the alias table that have no row of their own.
      {"NAD 27", "NAD27CONUS"},
      {"Geodetic Datum 1949", "GD49"},
      // EPSG's names, as GeoTIFF keys give them.
      {"OSGB_1936", "OrdSrvyGrtBritn"},
      {"North_American_Datum_1983", "NAD83"},
      {"Deutsches Hauptdreiecksnetz", "Potsdam"},
  };
  for (const Case& c : cases) EXPECT_EQ(CodeOf(c.name), c.code) << c.name;
}

TEST(DatumNamesTest, TellsNoNameFromAnUnknownOne) {
  struct Case {
    const char* name;
    DatumNameStatus status;
  };
  const Case cases[] = {
      {"", DatumNameStatus::kNoName},
      {"  ", DatumNameStatus::kNoName},
      {"Hermannskogel", DatumNameStatus::kUnknown},
      {"Pulkovo 1942 (x)", DatumNameStatus::kUnknown},
      {"(1)", DatumNameStatus::kUnknown},
      {"WGS 84 extra", DatumNameStatus::kUnknown},
  };
  for (const Case& c : cases) {
    int row = 12345;
    EXPECT_EQ(FindDatumByName(c.name, &row), c.status) << c.name;
    EXPECT_EQ(row, 12345) << c.name;
  }
}

TEST(DatumNamesTest, EveryListedNameHasARow) {
  for (const ForeignDatumName& entry : ForeignDatumNames()) {
    EXPECT_GE(FindDatum(entry.code), 0) << entry.name;
    EXPECT_EQ(CodeOf(entry.name), FindDatum(entry.code) >= 0 ? std::string(entry.code) : "")
        << entry.name;
  }
}

// The three shifts of a datum row, from its "towgs84=dx,dy,dz" text.
bool ShiftOf(int row, double shift[3]) {
  std::string_view text = DatumTable()[static_cast<std::size_t>(row)].second;
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return false;
  text.remove_prefix(equals + 1);
  for (int i = 0; i < 3; ++i) {
    shift[i] = LeadingDecimal(text);
    const std::size_t comma = text.find(',');
    if (i < 2 && comma == std::string_view::npos) return false;
    text.remove_prefix(comma + 1);
  }
  return true;
}

// A datum row's own shift against the transformation PROJ chooses from
// EPSG's datum to WGS 84 at a place where the datum is used: metres between
// the two WGS 84 positions.
double ShiftDistance(int row, const char* epsg, double latitude, double longitude) {
  double shift[3];
  DatumInfo info;
  if (!ShiftOf(row, shift) || DatumInformation(row, &info) != kDatumKindDatum) return -1;
  const std::string ours =
      "+proj=longlat +a=" + std::to_string(info.semi_major_axis) +
      " +rf=" + std::to_string(info.inverse_flattening) + " +towgs84=" + std::to_string(shift[0]) +
      "," + std::to_string(shift[1]) + "," + std::to_string(shift[2]) + " +no_defs +type=crs";
  test::ProjCrsTransform row_shift(ours.c_str(), "EPSG:4326");
  test::ProjCrsTransform epsg_shift(epsg, "EPSG:4326");
  if (!row_shift.ok() || !epsg_shift.ok()) return -1;
  const test::ProjXY a = row_shift.Forward(longitude, latitude);
  const test::ProjXY b = epsg_shift.Forward(latitude, longitude);
  constexpr double kMetresPerDegree = 111000;
  return kMetresPerDegree * std::hypot(a.x - b.x, (a.y - b.y) * std::cos(latitude * M_PI / 180.0));
}

TEST(DatumNamesTest, ShiftsOfTheRowsAgreeWithEpsg) {
  struct Case {
    const char* name;  // as another program writes it
    const char* epsg;  // the datum's geographic CRS
    double latitude;
    double longitude;
    double metres;  // the largest distance accepted
  };
  // Most rows hold one of EPSG's own three-parameter transformations, a few
  // metres from the best one PROJ knows. RT90's row holds an older mean
  // shift, 16 m from EPSG's current seven-parameter one near Stockholm.
  const Case cases[] = {
      {"Pulkovo 1942 (1)", "EPSG:4284", 55.75, 37.62, 15},
      {"European 1950", "EPSG:4230", 50.0, 10.0, 10},
      {"European 1950 (Spain and Portugal)", "EPSG:4230", 40.4, -3.7, 10},
      {"NAD27 CONUS", "EPSG:4267", 39.0, -98.0, 10},
      {"Ord Srvy Grt Britn", "EPSG:4277", 52.5, -1.5, 10},
      {"Potsdam Rauenberg DHDN", "EPSG:4314", 51.3, 9.5, 10},
      {"CH-1903", "EPSG:4149", 46.95, 7.44, 10},
      {"Geodetic Datum '49", "EPSG:4272", -41.3, 174.8, 10},
      {"Australian Geodetic 1966", "EPSG:4202", -35.3, 149.1, 10},
      {"Australian Geodetic 1984", "EPSG:4203", -35.3, 149.1, 10},
      {"Austrian", "EPSG:4312", 48.2, 16.4, 10},
      {"Ireland 1965", "EPSG:4299", 53.3, -6.3, 10},
      {"NTF France", "EPSG:4275", 46.5, 2.5, 10},
      {"Rome 1940", "EPSG:4265", 41.9, 12.5, 10},
      {"Rijksdriehoeksmeting", "EPSG:4289", 52.1, 5.1, 10},
      {"RT 90", "EPSG:4124", 59.3, 18.1, 20},
      {"GGRS 87", "EPSG:4121", 38.0, 23.7, 10},
      {"Hong Kong 1963", "EPSG:4739", 22.3, 114.2, 10},
      {"Tokyo", "EPSG:4301", 35.7, 139.7, 10},
      {"South American 1969", "EPSG:4618", -15.8, -47.9, 10},
      {"Prov So Amrican 1956", "EPSG:4248", 10.5, -66.9, 10},
      {"Kertau 1948", "EPSG:4245", 3.1, 101.7, 10},
      {"Puerto Rico", "EPSG:4139", 18.4, -66.1, 10},
      {"Oman", "EPSG:4232", 23.6, 58.4, 10},
  };
  for (const Case& c : cases) {
    int row = -1;
    ASSERT_EQ(FindDatumByName(c.name, &row), DatumNameStatus::kFound) << c.name;
    const double distance = ShiftDistance(row, c.epsg, c.latitude, c.longitude);
    ASSERT_GE(distance, 0) << c.name;
    EXPECT_LE(distance, c.metres) << c.name;
    RecordProperty(c.name, std::to_string(distance));
  }
}

}  // namespace
}  // namespace kv
