// Finding and reading other programs' calibration files.

#include <gtest/gtest.h>

#include "calibration/calibration_file_finder.h"
#include "calibration/calibration_file_import.h"
#include "calibration/import_line_reader.h"
#include "calibration/world_file_reader.h"
#include "calibration_fixtures.h"
#include "geo/coordinate_systems.h"

namespace kv {
namespace {

using testing::CalibrationDir;
using testing::ImportFixture;

TEST(ImportLineReader, LinesAndFields) {
  EXPECT_EQ(SplitImportLines(std::string("a\r\nb\rc\n\nd\a\bx\0tail", 16)),
            (std::vector<std::string>{"a", "b", "c", "", "dx"}));
  EXPECT_EQ(SplitImportLines("last"), std::vector<std::string>{"last"});
  EXPECT_EQ(SplitImportFields("a,\"b,*c\"*d,"), (std::vector<std::string>{"a", "b,*c", "d", ""}));
}

TEST(CalibrationFileType, ByExtension) {
  EXPECT_EQ(CalibrationFileType("x/a.KVM"), kCalibrationFileKvm);
  EXPECT_EQ(CalibrationFileType("a.cal"), kCalibrationFileCal);
  EXPECT_EQ(CalibrationFileType("a.jpr"), kCalibrationFileJpr);
  EXPECT_EQ(CalibrationFileType("a.pca"), kCalibrationFilePca);
  EXPECT_EQ(CalibrationFileType("a.geo"), kCalibrationFileGeo);
  EXPECT_EQ(CalibrationFileType("a.map"), kCalibrationFileMap);
  EXPECT_EQ(CalibrationFileType("a.jgw"), kCalibrationFileWorld);
  EXPECT_EQ(CalibrationFileType("a.TFW"), kCalibrationFileWorld);
  EXPECT_EQ(CalibrationFileType("a.jpw2"), kCalibrationFileNone);
  EXPECT_EQ(CalibrationFileType("a.png"), kCalibrationFileNone);
  EXPECT_EQ(CalibrationFileType("dir.d/a"), kCalibrationFileNoExtension);
}

TEST(FindCalibrationFile, CandidateOrder) {
  const auto candidates = CalibrationCandidates("maps/area.jpg");
  const std::vector<std::pair<std::string, int>> expected = {
      {"maps/area_jpg.kvm", 1}, {"maps/area.cal", 2},
      {"maps/area.kvm", 1},     {"maps/area.jpr", 3},
      {"maps/area.map", 6},     {"maps/area.geo", 5},
      {"maps/area.pca", 4},     {"maps/area" + std::string(25, '_') + "png.cal", 2}};
  ASSERT_EQ(candidates.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(candidates[i].path, expected[i].first);
    EXPECT_EQ(candidates[i].type, expected[i].second);
  }
  // No extension: no "_ext.kvm" candidate, extensions appended.
  EXPECT_EQ(CalibrationCandidates("area").front().path, "area.cal");
  // A long name is not padded.
  const std::string long_name(40, 'n');
  EXPECT_EQ(CalibrationCandidates(long_name + ".png").back().path, long_name + "png.cal");
}

TEST(FindCalibrationFile, PrefersUnderscoreKvmAndReadsPngCal) {
  CalibrationDir dir;
  ASSERT_TRUE(dir.ok());
  ImportFixture fixture;
  CalibrationImport import;
  dir.Write("area_jpg.kvm", "latitudeTL=47.5\n");
  dir.Write("area.cal", "latitudeTL=10\n");
  FoundCalibrationFile found;
  EXPECT_EQ(FindCalibrationFile(dir.File("area.jpg"), fixture.environment, &import, 0, 0, &found),
            kCalibrationFileKvm);
  EXPECT_EQ(found.path, dir.File("area_jpg.kvm"));
  EXPECT_EQ(import.north_text, "N47.50000000");
  EXPECT_EQ(import.raw_text, "latitudeTL=47.5\n");

  dir.Write("map" + std::string(26, '_') + "png.cal", "longitudeTL=-8.25\n");
  EXPECT_EQ(FindCalibrationFile(dir.File("map.png"), fixture.environment, &import, 0, 0, &found),
            kCalibrationFileCal);
  EXPECT_EQ(import.west_text, "W8.25000000");
  EXPECT_EQ(FindCalibrationFile(dir.File("none.png"), fixture.environment, &import, 0, 0, &found),
            kCalibrationFileNone);
}

TEST(FindCalibrationFile, SecondRoundWithUnderscoredDot) {
  CalibrationDir dir;
  ImportFixture fixture;
  CalibrationImport import;
  dir.Write("area_png.pca", "x\nE8\nN47\nE9\nN46\n");
  FoundCalibrationFile found;
  EXPECT_EQ(FindCalibrationFile(dir.File("area.png"), fixture.environment, &import, 0, 0, &found),
            kCalibrationFilePca);
  EXPECT_EQ(found.path, dir.File("area_png.pca"));
  EXPECT_EQ(import.west_text, "E8.00000000");
  EXPECT_EQ(import.north_text, "N47.00000000");
  EXPECT_EQ(import.east_text, "E9.00000000");
  EXPECT_EQ(import.south_text, "N46.00000000");
}

// A dot in a folder's name is no extension: the second round keeps the
// folder, and no calibration of another folder's image is taken.
TEST(FindCalibrationFile, NoSecondRoundForADotInAFolderName) {
  CalibrationDir dir;
  ImportFixture fixture;
  CalibrationImport import;
  std::filesystem::create_directories(dir.File("maps.v2"));
  std::filesystem::create_directories(dir.File("maps_v2"));
  dir.Write("maps_v2/area.pca", "x\nE8\nN47\nE9\nN46\n");
  FoundCalibrationFile found;
  EXPECT_EQ(
      FindCalibrationFile(dir.File("maps.v2/area"), fixture.environment, &import, 0, 0, &found),
      kCalibrationFileNone);
}

CalibrationImport Read(const std::string& data, int type, int width = 0, int height = 0,
                       ImportStatus* status = nullptr, ImportFixture* shared = nullptr) {
  ImportFixture local;
  ImportFixture& fixture = shared ? *shared : local;
  CalibrationImport import;
  const ImportStatus result =
      ReadCalibrationData(data, type, fixture.environment, &import, width, height);
  if (status) *status = result;
  return import;
}

const char kOziHeader[] =
    "OziExplorer Map Data File Version 2.2\r\nArea\r\narea.png\r\n1 ,Map Code,\r\n"
    "WGS 84,WGS 84,   0.0000,   0.0000,WGS 84\r\nReserved 1\r\nReserved 2\r\n"
    "Magnetic Variation,,,E\r\n";

TEST(OziMapReader, PointLineAndDatum) {
  const std::string data =
      std::string(kOziHeader) +
      "Map Projection,Latitude/Longitude,PolyCal,No,AutoCalOnly,No,BSBUseWPX,No\r\n"
      "Point01,xy, 10, 20,in, deg, 47, 30.0,N, 8, 15.0,W, grid, , , ,N\r\n"
      "Point02,xy,  500,  400,in, deg,  46, 0,S,  9, 30,E, grid,   ,  ,  ,N\r\n"
      "Point03,xy,     ,     ,in, deg,    ,        ,N,    ,        ,E, grid,   ,  ,  ,N\r\n"
      "Point12,xy, 1, 1,in, deg, 1, 0,N, 1, 0,E, grid, , , ,N\r\n";
  ImportStatus status = ImportStatus::kOk;
  const CalibrationImport import = Read(data, kCalibrationFileMap, 0, 0, &status);
  EXPECT_EQ(status, ImportStatus::kOk);
  EXPECT_EQ(import.datum_name, "WGS84");
  EXPECT_EQ(import.points[0].pixel_x, 10);
  EXPECT_EQ(import.points[0].adjusted_y, 20);
  EXPECT_DOUBLE_EQ(import.points[0].latitude, 47.5);
  EXPECT_DOUBLE_EQ(import.points[0].longitude, -8.25);
  EXPECT_DOUBLE_EQ(import.points[1].latitude, -46.0);
  EXPECT_DOUBLE_EQ(import.points[1].longitude, 9.5);
  EXPECT_EQ(import.points[2], CalibrationPoint{});
  EXPECT_EQ(import.proj_mode, kCalibrationGeographic);  // only two points
  EXPECT_FALSE(import.projparams.has_value());
}

TEST(OziMapReader, ProjectionSetupAndKnownPoints) {
  const std::string data =
      std::string(kOziHeader) +
      "Map Projection,Transverse Mercator,PolyCal,No\r\n"
      "Projection Setup,     0.000000000,     9.000000000,     0.999600000,       500000.00,"
      "            0.00,,,,,\r\n"
      "Point01,xy, 0, 0,in, deg, 48, 0,N, 8, 0,E\r\nPoint02,xy, 9, 0,in, deg, 48, 0,N, 9, 0,E\r\n"
      "Point03,xy, 0, 9,in, deg, 47, 0,N, 8, 0,E\r\n";
  const CalibrationImport import = Read(data, kCalibrationFileMap);
  EXPECT_EQ(import.proj_mode, kCalibrationProjection);  // found, so not promoted
  EXPECT_EQ(import.projparams,
            "proj=tmerc lon_0=9.000000000 lat_0=0.000000000 y_0=0.00 x_0=500000.00");
}

TEST(OziMapReader, HeaderRequired) {
  ImportStatus status = ImportStatus::kOk;
  const CalibrationImport import =
      Read("Not a map\nx\nx\nx\nWGS 84\nx\nx\nPoint01,xy,1,2,in,deg,1,0,N,1,0,E\n",
           kCalibrationFileMap, 0, 0, &status);
  EXPECT_EQ(status, ImportStatus::kNotOziExplorer);
  EXPECT_EQ(import.points[0], CalibrationPoint{});
  EXPECT_FALSE(import.datum_name.has_value());
}

TEST(KeyValueReaders, ReferencePointSlots) {
  const std::string line = "rp0 = 47.5, 8.25, 10, 20\nrp2=\"46,9,30,40\nrp12=1,1,1,1\n";
  const CalibrationImport cal = Read(line, kCalibrationFileCal);
  EXPECT_EQ(cal.points[0], CalibrationPoint{});
  EXPECT_EQ(cal.points[1].latitude, 46.0);
  EXPECT_EQ(cal.points[1].pixel_y, 40);
  const CalibrationImport geo = Read(line, kCalibrationFileGeo);
  EXPECT_EQ(geo.points[0].latitude, 47.5);
  EXPECT_EQ(geo.points[0].longitude, 8.25);
  EXPECT_EQ(geo.points[0].pixel_x, 10);
  EXPECT_EQ(geo.points[0].adjusted_y, 20);
  EXPECT_EQ(geo.points[2].longitude, 9.0);
}

TEST(KeyValueReaders, ProjectionDatumAndNames) {
  const CalibrationImport import = Read(
      "; comment=1\nimageType=png\nname=Lake map\ndm=WGS 84\npr=Transverse Mercator\n"
      "pp = 9\np1=0\np2=0.9996\nsc=1\np3=0\np4=500000\np5=45\np6=50\nzn=32V\n"
      "rp1=48,8,0,0\nrp2=48,9,100,0\nrp3=47,8,0,100\n",
      kCalibrationFileGeo);
  EXPECT_EQ(import.image_extension, "png");
  EXPECT_EQ(import.image_name, "Lake map");
  EXPECT_EQ(import.datum_name, "WGS84");
  EXPECT_EQ(import.projparams,
            " proj=tmerc lon_0=9 lat_0=0 y_0=0 x_0=500000 lat_1=45 lat_2=50 lon_0=7.50000000");
  // Kind 8 from the projection; .geo files become known points only from 0.
  EXPECT_EQ(import.proj_mode, kCalibrationProjection);
  EXPECT_EQ(Read("rp1=48,8,0,0\nrp2=48,9,100,0\nrp3=47,8,0,100\n", kCalibrationFileJpr).proj_mode,
            kCalibrationKnownPoints);
}

TEST(JprReader, WorldNumbersWaitForTheImageSize) {
  const std::string numbers = "0.001\n0\n0\n-0.001\n8\n47\n";
  ImportFixture fixture;
  ImportStatus status = ImportStatus::kOk;
  CalibrationImport import = Read(numbers, kCalibrationFileJpr, 0, 0, &status, &fixture);
  EXPECT_EQ(status, ImportStatus::kOk);
  EXPECT_TRUE(fixture.state.needs_image_size);
  EXPECT_EQ(import.points[0], CalibrationPoint{});
  import = Read(numbers, kCalibrationFileJpr, 1000, 1000, &status, &fixture);
  EXPECT_FALSE(fixture.state.needs_image_size);
  EXPECT_TRUE(import.world_file);
  EXPECT_EQ(import.points[0].latitude, 47.0);
  EXPECT_EQ(import.points[3].pixel_x, 999);
}

TEST(WorldFileReader, DegreesExample) {
  ImportFixture fixture;
  ImportStatus status = ImportStatus::kOk;
  const CalibrationImport import = Read("0.001\n0.0\n0.0\n-0.001\n8\n47\n", kCalibrationFileWorld,
                                        1000, 1000, &status, &fixture);
  ASSERT_EQ(status, ImportStatus::kOk);
  EXPECT_EQ(import.proj_mode, kCalibrationKnownPoints);
  EXPECT_TRUE(import.world_file);
  EXPECT_EQ(import.world_values.c, 8.0);
  const CalibrationPoint& first = import.points[0];
  EXPECT_EQ(first.latitude, 47.0);
  EXPECT_EQ(first.longitude, 8.0);
  EXPECT_EQ(first.pixel_x, 0);
  EXPECT_EQ(first.pixel_y, 0);
  // Each point is placed at its own pixel's centre: pixel 999 lies 0.999
  // degrees from pixel 0.
  const CalibrationPoint& fourth = import.points[3];
  EXPECT_EQ(fourth.pixel_x, 999);
  EXPECT_EQ(fourth.pixel_y, 999);
  EXPECT_NEAR(fourth.latitude, 46.001, 1e-12);
  EXPECT_NEAR(fourth.longitude, 8.999, 1e-12);
  EXPECT_EQ(import.points[4].pixel_x, 500);
  EXPECT_NEAR(import.points[4].longitude, 8.5, 1e-12);
  // The bounds span the whole image: 47/8 to 46/9.
  EXPECT_EQ(import.north_text, "N47.00000000");
  EXPECT_EQ(import.west_text, "E8.00000000");
  EXPECT_EQ(import.south_text, "N46.00000000");
  EXPECT_EQ(import.east_text, "E9.00000000");
  const std::string report = fixture.diagnostics.str();
  EXPECT_EQ(
      report.rfind(
          "Parse World File\r\n================\r\ntlXmetre 8.000000, tlYmetre 47.000000\r\n", 0),
      0u);
  EXPECT_NE(report.find("xScaleX 0.001000, xpixels 1000\r\n"), std::string::npos);
  EXPECT_NE(report.find("Cal Point #3:\r\n\tLong 8.999000, Lat 46.001000\r\n"), std::string::npos);
  EXPECT_NE(report.find("\tx=999, y=999\r\n"), std::string::npos);
  EXPECT_EQ(report.substr(report.size() - 27), "=========================\r\n");
}

TEST(WorldFileReader, UtmNeedsAZone) {
  ImportFixture fixture;
  fixture.state.world_file_system = {kSystemUtm, "", ""};
  ImportStatus status = ImportStatus::kOk;
  Read("10\n0\n0\n-10\n500000\n5300000\n", kCalibrationFileWorld, 100, 100, &status, &fixture);
  EXPECT_EQ(status, ImportStatus::kBadWorldSystem);
  fixture.state.world_file_system = {kSystemUtm, "32U", ""};
  const CalibrationImport import =
      Read("10\n0\n0\n-10\n500000\n5300000\n", kCalibrationFileWorld, 100, 100, &status, &fixture);
  EXPECT_EQ(status, ImportStatus::kOk);
  EXPECT_NEAR(import.points[0].longitude, 9.0, 1e-9);
}

TEST(ImportCalibrationFile, GridCodeSetsSystemAndDatum) {
  CalibrationDir dir;
  ImportFixture fixture;
  CalibrationImport import;
  int type = 0;
  const std::string path = dir.Write("gk.tfw", "10\n0\n0\n-10\n3500000\n5300000\n");
  WorldFileSystem system;
  ASSERT_TRUE(WorldFileSystemFromGridCode("gk3", &system));
  EXPECT_EQ(ImportCalibrationFile(path, system, fixture.environment, &import, 100, 100, &type),
            ImportStatus::kOk);
  EXPECT_EQ(type, kCalibrationFileWorld);
  EXPECT_EQ(import.world_system_code, "GK3");
  EXPECT_EQ(import.datum_name, "Potsdam");
  EXPECT_EQ(fixture.state.world_file_system.system, 9);
  EXPECT_NEAR(import.points[0].longitude, 9.0, 1e-9);
  // Without a system the numbers are degrees again.
  EXPECT_EQ(
      ImportCalibrationFile(path, std::nullopt, fixture.environment, &import, 100, 100, &type),
      ImportStatus::kOk);
  EXPECT_EQ(fixture.state.world_file_system.system, 0);
  EXPECT_EQ(import.points[0].latitude, 5300000.0);

  EXPECT_EQ(ImportCalibrationFile(dir.File("missing.cal"), std::nullopt, fixture.environment,
                                  &import, 0, 0, &type),
            ImportStatus::kOpenFailed);
  EXPECT_EQ(type, kCalibrationFileCal);
  EXPECT_NE(fixture.diagnostics.str().find(
                "Could not file calibration file: " + dir.File("missing.cal") + "\n"),
            std::string::npos);
  EXPECT_EQ(ImportCalibrationFile(dir.File("a.png"), std::nullopt, fixture.environment, &import, 0,
                                  0, &type),
            ImportStatus::kNotFound);
  EXPECT_EQ(ImportCalibrationFile(dir.File("noext"), std::nullopt, fixture.environment, &import, 0,
                                  0, &type),
            ImportStatus::kReadFailed);
}

TEST(CalibrationRecordFromImport, BoundsFromTexts) {
  CalibrationImport import;
  import.north_text = "N48.00000000";
  import.west_text = "W8.50000000";
  import.south_text = "S1.00000000";
  import.east_text = "E9.00000000";
  import.proj_mode = kCalibrationKnownPoints;
  import.points[0].latitude = 5;
  const CalibrationRecord record = CalibrationRecordFromImport(import, "SWsw", 640, 480);
  EXPECT_EQ(record.north, 48.0);
  EXPECT_EQ(record.west, -8.5);
  EXPECT_EQ(record.south, -1.0);
  EXPECT_EQ(record.east, 9.0);
  EXPECT_EQ(record.width, 640);
  EXPECT_EQ(record.proj_mode, kCalibrationKnownPoints);
  EXPECT_EQ((*record.points)[0].latitude, 5.0);
}

}  // namespace
}  // namespace kv
