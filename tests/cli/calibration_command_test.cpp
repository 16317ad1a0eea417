// kvmap calibration: reading calibration sources, exporting, finding.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "bitmap/bmp_fixture.h"
#include "bitmap/kap_fixture.h"
#include "kvmap_runner.h"
#include "map/map_file.h"
#include "map/map_fixtures.h"
#include "map/stored_bitmap.h"
#include "temp_folder.h"

namespace kv {
namespace {

using ::kv::testing::RunKvmap;

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(CalibrationCommand, WorldFileAsJsonNeedsTheSize) {
  TempFolder dir;
  const std::string world = dir.File("area.jgw");
  WriteText(world, "0.001\n0.0\n0.0\n-0.001\n8\n47\n");
  auto result = RunKvmap("calibration " + Quoted(world), dir.File(""));
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("image size"), std::string::npos);

  result = RunKvmap("calibration " + Quoted(world) + " --size 1000x1000 --json", dir.File(""));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const auto json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["kind"], 14);
  EXPECT_EQ(json["datum"], "WGS84");
  EXPECT_EQ(json["north_text"], "N47.00000000");
  EXPECT_EQ(json["east_text"], "E9.00000000");
  ASSERT_EQ(json["points"].size(), 9u);
  EXPECT_EQ(json["points"][0]["lat"], 47.0);
  EXPECT_EQ(json["points"][3]["x"], 999);
  // The world file report is a diagnostic: only with --verbose.
  EXPECT_EQ(result.err.find("Parse World File"), std::string::npos);
  result = RunKvmap("calibration " + Quoted(world) + " --size 1000x1000 --verbose", dir.File(""));
  EXPECT_NE(result.err.find("Parse World File\r\n"), std::string::npos);
  EXPECT_EQ(result.out.rfind("proj_mode=7=GCP\nkv_north=7=47.00000000\n", 0), 0u);
}

TEST(CalibrationCommand, GridWorldFileWithZone) {
  TempFolder dir;
  const std::string world = dir.File("utm.tfw");
  WriteText(world, "10\n0\n0\n-10\n500000\n5300000\n");
  auto result =
      RunKvmap("calibration " + Quoted(world) + " --size 100x100 --world-system UTM", dir.File(""));
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("--zone"), std::string::npos);
  result = RunKvmap(
      "calibration " + Quoted(world) + " --size 100x100 --world-system UTM --zone 32U --json",
      dir.File(""));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const auto json = nlohmann::json::parse(result.out);
  EXPECT_NEAR(json["points"][0]["lon"].get<double>(), 9.0, 1e-9);
}

// Positions that are not numbers, or lie off the Earth, must not become a
// calibration: the file is named, nothing is printed or exported.
TEST(CalibrationCommand, PositionsOffTheEarthAreRefused) {
  TempFolder dir;
  const std::string huge = dir.File("huge.tfw");
  WriteText(huge, "1e308\n0\n0\n-1e308\n1e308\n-1e308\n");
  auto result = RunKvmap("calibration " + Quoted(huge) +
                             " --size 60000x60000 --world-system UTM --zone 32U -o " +
                             Quoted(dir.File("out.kvm")),
                         dir.File(""));
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.out.find("nan"), std::string::npos) << result.out;
  EXPECT_NE(result.err.find("kvmap: error"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find(huge), std::string::npos) << result.err;
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.kvm")));

  const std::string north = dir.File("north.kvm");
  WriteText(north, "kv_north=7=95\nkv_west=7=8\nkv_south=7=46\nkv_east=7=9\n");
  result = RunKvmap("calibration " + Quoted(north), dir.File(""));
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find(north), std::string::npos) << result.err;
  EXPECT_TRUE(result.out.empty()) << result.out;

  const std::string east = dir.File("east.map");
  WriteText(east,
            "OziExplorer Map Data File Version 2.2\r\nArea\r\narea.png\r\n1 ,Map Code,\r\n"
            "WGS 84,WGS 84,   0.0000,   0.0000,WGS 84\r\nReserved 1\r\nReserved 2\r\n"
            "Point01,xy, 10, 20,in, deg, 47, 30.0,N, 181, 0.0,E, grid, , , ,N\r\n");
  result = RunKvmap("calibration " + Quoted(east) + " --json", dir.File(""));
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find(east), std::string::npos) << result.err;
}

TEST(CalibrationCommand, KvmTextRoundTripsAndExports) {
  TempFolder dir;
  const std::string text =
      "proj_mode=7=GCP\ndatum1=7=Potsdam#6377397.155#299.1528128#587#16#393\n"
      "kv_north=7=48.00000000\nkv_west=7=8.00000000\nkv_south=7=46.00000000\n"
      "kv_east=7=10.00000000\n";
  std::string points;
  for (int n = 1; n <= 9; ++n) {
    const std::string p = "c" + std::to_string(n) + "_";
    const std::string i = "(" + std::to_string(n) + ")";
    const char* lat = n <= 3 ? "47.50000000" : "0.00000000";
    const char* lon = n <= 3 ? "8.25000000" : "0.00000000";
    points += p + "lon=7=" + lon + "\n" + p + "lat=7=" + lat + "\n" + p +
              "x=7=" + std::to_string(n <= 3 ? n * 10 : 0) + "\n" + p + "y=7=0\nvpa" + i +
              "=7=0.00000000\nvpb" + i + "=7=0.00000000\nvpm" + i + "=7=0.00000000\nvpn" + i +
              "=7=0.00000000\n";
  }
  const std::string file = dir.File("area.kvm");
  WriteText(file, text + points + "; kept\n");
  auto result = RunKvmap("calibration " + Quoted(file), dir.File(""));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, text + points + "; kept\n");

  result =
      RunKvmap("calibration " + Quoted(file) + " -o " + Quoted(dir.File("copy.txt")), dir.File(""));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out,
            "Calibration data has been exported to file:\n" + dir.File("copy.kvm") + "\n");
  EXPECT_EQ(testing::ReadWholeFile(dir.File("copy.kvm")), text + points + "; kept\n");
}

// The output's extension picks the format; a world file takes the system the
// world file source was read in, and comes with its ".prj".
TEST(CalibrationCommand, ExportsOziMapAndWorldFile) {
  TempFolder dir;
  const std::string world = dir.Write("utm.tfw", "100\n0\n0\n-100\n400000\n5400000\n");
  const std::string read =
      "calibration " + Quoted(world) + " --size 1000x1000 --world-system UTM --zone 32U -o ";
  auto result = RunKvmap(read + Quoted(dir.File("copy.jgw")), dir.File(""));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out,
            "Calibration data has been exported to file:\n" + dir.File("copy.jgw") + "\n");
  std::istringstream numbers(testing::ReadWholeFile(dir.File("copy.jgw")));
  for (double expected : {100.0, 0.0, 0.0, -100.0, 400000.0, 5400000.0}) {
    double value = 0.0;
    ASSERT_TRUE(numbers >> value);
    EXPECT_NEAR(value, expected, 0.01);  // a centimetre on 100 m pixels
  }
  EXPECT_NE(testing::ReadWholeFile(dir.File("copy.prj")).find("UTM zone 32N"), std::string::npos);

  result = RunKvmap(read + Quoted(dir.File("copy.map")) + " --image " + Quoted(dir.File("utm.png")),
                    dir.File(""));
  EXPECT_NE(result.exit_code, 0);  // no such image: its size cannot be read
  result = RunKvmap(read + Quoted(dir.File("copy.map")), dir.File(""));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const std::string map = testing::ReadWholeFile(dir.File("copy.map"));
  EXPECT_EQ(map.rfind("OziExplorer Map Data File Version 2.2\r\n", 0), 0u);
  EXPECT_NE(map.find("\r\nWGS 84,WGS 84,"), std::string::npos);
  EXPECT_NE(map.find("IWH,Map Image Width/Height,1000,1000\r\n"), std::string::npos);
}

// Each refusal names the file and its cause, and leaves no file behind.
TEST(CalibrationCommand, ExportRefusalsNameTheFileAndWriteNothing) {
  TempFolder dir;
  const std::string kvm =
      dir.Write("rect.kvm", "kv_north=7=48\nkv_west=7=8\nkv_south=7=46\nkv_east=7=10\n");
  // Four clicked points, the last typed 0.01 degrees (10 pixels) off: the
  // best fit of a square of points misses each by a quarter of that.
  const std::string skewed = dir.Write(
      "skewed.kvm",
      "proj_mode=7=GCP\nc1_lat=7=48\nc1_lon=7=8\nc1_x=7=0\nc1_y=7=0\nc2_lat=7=48\nc2_lon=7=10\n"
      "c2_x=7=2000\nc2_y=7=0\nc3_lat=7=46\nc3_lon=7=8\nc3_x=7=0\nc3_y=7=2000\nc4_lat=7=46.01\n"
      "c4_lon=7=10\nc4_x=7=2000\nc4_y=7=2000\n");
  dir.Write("plain", "a file where a folder should be");
  // Other programs must be told the datum; one the table lacks has no name
  // they would know, and writing it as WGS 84 would move the map.
  const std::string mars = dir.Write(
      "mars.kvm", "datum1=7=Mars2000\nkv_north=7=48\nkv_west=7=8\nkv_south=7=46\nkv_east=7=10\n");
  struct Case {
    std::string arguments;
    std::string output;
    std::vector<std::string> left_out;
    std::string cause;
  };
  const Case cases[] = {
      {Quoted(kvm) + " --size 200x100",
       dir.File("rect.cal"),
       {dir.File("rect.cal")},
       "Calibrations cannot be exported to this kind of file"},
      {Quoted(kvm) + " --size 200x100", dir.File("plain/rect.pgw"), {}, "plain/rect.pgw"},
      {Quoted(skewed) + " --size 2001x2001",
       dir.File("skewed.pgw"),
       {dir.File("skewed.pgw"), dir.File("skewed.prj")},
       "lie up to 2.5"},
      {Quoted(kvm) + " --size 200x100 --world-system OSGB",
       dir.File("rect.tfw"),
       {dir.File("rect.tfw"), dir.File("rect.prj")},
       "not in OSGB"},
      {Quoted(mars) + " --size 200x100",
       dir.File("mars.map"),
       {dir.File("mars.map")},
       "datum \"Mars2000\" is not in the datum table"},
      {Quoted(mars) + " --size 200x100",
       dir.File("mars.pgw"),
       {dir.File("mars.pgw"), dir.File("mars.prj")},
       "datum \"Mars2000\" is not in the datum table"},
  };
  for (const Case& c : cases) {
    const auto result =
        RunKvmap("calibration " + c.arguments + " -o " + Quoted(c.output), dir.File(""));
    EXPECT_EQ(result.exit_code, 1) << c.output;
    EXPECT_NE(result.err.find(c.output), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(c.cause), std::string::npos) << result.err;
    for (const std::string& file : c.left_out) EXPECT_FALSE(std::filesystem::exists(file)) << file;
  }
}

TEST(CalibrationCommand, FindBesideAnImage) {
  TempFolder dir;
  auto result = RunKvmap("calibration find " + Quoted(dir.File("map.png")), dir.File(""));
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("no calibration file"), std::string::npos);
  WriteText(dir.File("map.geo"), "rp0=47,8,0,0\n");
  WriteText(dir.File("map_png.kvm"), "kv_north=7=1\n");
  result = RunKvmap("calibration find " + Quoted(dir.File("map.png")), dir.File(""));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, dir.File("map_png.kvm") + " 1\n");
}

TEST(CalibrationCommand, OziMapAndUnknownSources) {
  TempFolder dir;
  const std::string map = dir.File("area.map");
  WriteText(map,
            "OziExplorer Map Data File Version 2.2\r\nArea\r\narea.png\r\n1 ,Map Code,\r\n"
            "WGS 84,WGS 84,   0.0000,   0.0000,WGS 84\r\nReserved 1\r\nReserved 2\r\n"
            "Magnetic Variation,,,E\r\nMap Projection,Latitude/Longitude,PolyCal,No\r\n"
            "Point01,xy, 10, 20,in, deg, 47, 30.0,N, 8, 15.0,W, grid, , , ,N\r\n");
  auto result = RunKvmap("calibration " + Quoted(map) + " --json", dir.File(""));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const auto json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["points"][0]["lat"], 47.5);
  EXPECT_EQ(json["points"][0]["lon"], -8.25);
  EXPECT_EQ(json["points"][0]["x"], 10);

  WriteText(dir.File("bad.map"), "Not Ozi\n");
  result = RunKvmap("calibration " + Quoted(dir.File("bad.map")), dir.File(""));
  EXPECT_EQ(result.exit_code, 1);
  result = RunKvmap("calibration " + Quoted(dir.File("x.png")), dir.File(""));
  EXPECT_EQ(result.exit_code, 1);
  // A missing file cannot be opened, as the document reports it.
  const std::string missing = dir.File("missing.kvm");
  result = RunKvmap("calibration " + Quoted(missing), dir.File(""));
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("kvmap: error 0x20000005"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find(missing), std::string::npos) << result.err;
  result = RunKvmap("calibration", dir.File(""));
  EXPECT_EQ(result.exit_code, 2);
}

TEST(CalibrationCommand, ChartReferencePoints) {
  TempFolder dir;
  testing::KapParams params;
  params.width = 40;
  params.height = 30;
  params.palette = {0xFF0000, 0x00FF00};
  params.references = {
      {0, 0, 50.0, 10.0}, {39, 0, 50.0, 10.39}, {0, 29, 49.71, 10.0}, {39, 29, 49.71, 10.39}};
  const auto bytes = testing::MakeKap(params, [](int x, int) { return 1 + (x & 1); });
  const std::string chart = dir.Write("chart.kap", bytes);
  auto result = RunKvmap("calibration " + Quoted(chart) + " --json", dir.File(""));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const auto json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["kind"], 14);
  ASSERT_EQ(json["points"].size(), 4u);
  EXPECT_NEAR(json["points"][0]["lat"].get<double>(), 50.0, 1e-6);
  EXPECT_NEAR(json["points"][1]["lon"].get<double>(), 10.39, 1e-6);
  EXPECT_EQ(json["points"][1]["x"], 39);
  EXPECT_NEAR(json["west"].get<double>(), 10.0, 1e-6);
  EXPECT_NEAR(json["north"].get<double>(), 50.0, 1e-6);
}

struct KvmPoint {
  double latitude;
  double longitude;
  int x;
  int y;
};

// A calibration by points, as the dialog saves it.
std::string PointsKvm(const std::vector<KvmPoint>& points) {
  std::string text = "proj_mode=7=GCP\n";
  for (std::size_t i = 0; i < points.size(); ++i) {
    const std::string p = "c" + std::to_string(i + 1) + "_";
    char line[200];
    std::snprintf(line, sizeof line, "%slon=7=%.8f\n%slat=7=%.8f\n%sx=7=%d\n%sy=7=%d\n", p.c_str(),
                  points[i].longitude, p.c_str(), points[i].latitude, p.c_str(), points[i].x,
                  p.c_str(), points[i].y);
    text += line;
  }
  return text;
}

// 10 000 pixels per degree both ways, north up.
KvmPoint OnTheMap(int x, int y) { return {47.0 - y * 1e-4, 8.0 + x * 1e-4, x, y}; }

TEST(CalibrationCommand, ResidualsShowAMistypedPoint) {
  TempFolder dir;
  std::vector<KvmPoint> points = {OnTheMap(20, 30),   OnTheMap(1000, 40),   OnTheMap(1900, 60),
                                  OnTheMap(30, 700),  OnTheMap(980, 700),   OnTheMap(1950, 720),
                                  OnTheMap(40, 1400), OnTheMap(1000, 1420), OnTheMap(1800, 1450)};
  points[3].latitude += 0.01;  // 100 px, about 1.1 km
  const std::string file = dir.File("area.kvm");
  WriteText(file, PointsKvm(points));

  auto result = RunKvmap("calibration " + Quoted(file) + " --json", dir.File(""));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const auto json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["residuals_status"], "ok");
  ASSERT_EQ(json["residuals"].size(), 9u);
  double sum = 0.0;
  for (std::size_t i = 0; i < 9; ++i) {
    SCOPED_TRACE(i);
    const auto& row = json["residuals"][i];
    EXPECT_EQ(row["point"], i + 1);
    EXPECT_EQ(row["outlier"], i == 3);
    const double pixels = row["pixels"].get<double>();
    sum += pixels * pixels;
    // Here a pixel is 11.1 m north to south and 7.6 m east to west.
    EXPECT_GT(row["metres"].get<double>(), 7.5 * pixels);
    EXPECT_LT(row["metres"].get<double>(), 11.2 * pixels);
  }
  EXPECT_GT(json["residuals"][3]["pixels"].get<double>(), 50.0);
  EXPECT_NEAR(json["rms_pixels"].get<double>(), std::sqrt(sum / 9.0), 1e-9);

  // The text output stays the .kvm text; the table goes beside it.
  result = RunKvmap("calibration " + Quoted(file), dir.File(""));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out.rfind("proj_mode=7=GCP\n", 0), 0u);
  EXPECT_EQ(result.out.find("suspect"), std::string::npos);
  EXPECT_NE(result.err.find("Residuals of the affine fit:\n point     pixels       metres\n"),
            std::string::npos)
      << result.err;
  const std::size_t row4 = result.err.find("\n     4 ");
  ASSERT_NE(row4, std::string::npos) << result.err;
  EXPECT_EQ(result.err.find("suspect"), result.err.find("\n", row4 + 1) - 7) << result.err;
  EXPECT_NE(result.err.find("\nRMS "), std::string::npos);
}

// rasterio's RGB.byte.tif as a world file: 791 x 718 pixels of 300 m in UTM
// zone 18 north, about 240 km across.
TEST(CalibrationCommand, GeoreferencedPointsGiveTheModelErrorNotSuspects) {
  TempFolder dir;
  const std::string world = dir.File("rgb.tfw");
  WriteText(world, "300.0379\n0\n0\n-300.0417\n102135.01895\n2826764.97915\n");
  const std::string arguments =
      "calibration " + Quoted(world) + " --size 791x718 --world-system UTM --zone 18R";
  auto result = RunKvmap(arguments + " --json", dir.File(""));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const auto json = nlohmann::json::parse(result.out);
  ASSERT_EQ(json["residuals"].size(), 9u);
  double worst = 0.0;
  for (const auto& row : json["residuals"]) {
    EXPECT_EQ(row["outlier"], false) << row;
    EXPECT_EQ(row["from_source"], true) << row;
    worst = std::max(worst, row["pixels"].get<double>());
  }
  // What the fit misses is the projection's curve across the map.
  EXPECT_GT(worst, 1.0);
  EXPECT_EQ(json["model_error"]["pixels"].get<double>(), worst);
  EXPECT_GT(json["model_error"]["metres"].get<double>(), 250.0 * worst);

  result = RunKvmap(arguments, dir.File(""));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.err.find("suspect"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("\nModel error "), std::string::npos) << result.err;
}

TEST(CalibrationCommand, OffTheEarthNamesTheValueAndAcrossTheAntimeridianSaysSo) {
  TempFolder dir;
  const std::string north = dir.File("north.jgw");
  WriteText(north, "0.5\n0\n0\n-0.5\n0\n95\n");
  auto result = RunKvmap("calibration " + Quoted(north) + " --size 100x100", dir.File(""));
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find(north), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("north bound 95.00000000"), std::string::npos) << result.err;
  EXPECT_EQ(result.err.find("damaged"), std::string::npos) << result.err;

  // UTM zone 60 south, 200 km across near Fiji, over 180°.
  const std::string fiji = dir.File("fiji.tfw");
  WriteText(fiji, "200\n0\n0\n-200\n700100\n8099900\n");
  result =
      RunKvmap("calibration " + Quoted(fiji) + " --size 1000x600 --world-system UTM --zone 60K",
               dir.File(""));
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find(fiji), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("crosses the 180"), std::string::npos) << result.err;

  // The whole world, outer pixel edges at ±180.0625°, is taken.
  const std::string world = dir.File("world.jgw");
  WriteText(world, "0.125\n0\n0\n-0.125\n-180\n90\n");
  result = RunKvmap("calibration " + Quoted(world) + " --size 2881x1441 --json", dir.File(""));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const auto json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["east"], 180.0);
  EXPECT_EQ(json["west"], -180.0);
  EXPECT_EQ(json["north"], 90.0);
  EXPECT_EQ(json["south"], -90.0);
}

// A point at exactly 0° N 0° E in an OziExplorer file, and the points after
// it, are all in the map that kvmap convert makes.
TEST(CalibrationCommand, APointAtZeroZeroSurvivesConvertAndReopen) {
  TempFolder dir;
  WriteText(dir.File("gulf.map"),
            "OziExplorer Map Data File Version 2.2\r\nGulf\r\ngulf.bmp\r\n1 ,Map Code,\r\n"
            "WGS 84,WGS 84,   0.0000,   0.0000,WGS 84\r\nReserved 1\r\nReserved 2\r\n"
            "Magnetic Variation,,,E\r\n"
            "Map Projection,Latitude/Longitude,PolyCal,No,AutoCalOnly,No,BSBUseWPX,No\r\n"
            "Point01,xy, 0, 0,in, deg, 0, 30.0,N, 0, 30.0,W, grid, , , ,N\r\n"
            "Point02,xy, 199, 149,in, deg, 0, 30.0,S, 0, 30.0,E, grid, , , ,N\r\n"
            "Point03,xy, 100, 75,in, deg, 0, 0.0,N, 0, 0.0,E, grid, , , ,N\r\n"
            "Point04,xy, 199, 0,in, deg, 0, 30.0,N, 0, 30.0,E, grid, , , ,N\r\n");
  testing::BmpParams params;
  params.width = 200;
  params.height = 150;
  const auto bytes = testing::MakeBmp(params, [](int x, int) { return x % 2 ? 0xFF0000u : 0u; });
  std::ofstream(dir.File("gulf.bmp"), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  auto result = RunKvmap("convert " + Quoted(dir.File("gulf.bmp")), dir.File(""));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  result = RunKvmap("calibration --json " + Quoted(dir.File("gulf.prc")), dir.File(""));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const auto json = nlohmann::json::parse(result.out);
  ASSERT_EQ(json["points"].size(), 4u) << json;
  EXPECT_NEAR(json["points"][2]["lat"].get<double>(), 0.0, 1e-8);
  EXPECT_EQ(json["points"][2]["lon"], 0.0);
  EXPECT_EQ(json["points"][2]["x"], 100);
  EXPECT_EQ(json["points"][3]["lon"], 0.5);
  EXPECT_EQ(json["points"][3]["x"], 199);
}

TEST(CalibrationCommand, ResidualsNeedThreePointsOffOneLine) {
  TempFolder dir;
  const std::string file = dir.File("area.kvm");
  WriteText(file, PointsKvm({OnTheMap(20, 30), OnTheMap(1900, 60)}));
  auto result = RunKvmap("calibration " + Quoted(file) + " --json", dir.File(""));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  auto json = nlohmann::json::parse(result.out);
  EXPECT_FALSE(json.contains("residuals"));
  EXPECT_FALSE(json.contains("rms_pixels"));
  result = RunKvmap("calibration " + Quoted(file), dir.File(""));
  EXPECT_EQ(result.err.find("Residuals"), std::string::npos);

  WriteText(file, PointsKvm({OnTheMap(20, 30), OnTheMap(520, 530), OnTheMap(1020, 1030)}));
  result = RunKvmap("calibration " + Quoted(file) + " --json", dir.File(""));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["residuals_status"], "collinear positions");
  EXPECT_TRUE(json["residuals"].empty());
  EXPECT_TRUE(json["rms_pixels"].is_null());
  result = RunKvmap("calibration " + Quoted(file), dir.File(""));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_NE(result.err.find("Residuals: no affine fit (collinear positions)\n"), std::string::npos)
      << result.err;
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

TEST(CalibrationCommand, MapDatabaseCalibrationReadsLikeItsSource) {
  TempFolder dir;
  const std::string world = dir.File("area.jgw");
  std::ofstream(world, std::ios::binary) << "0.001\n0.0\n0.0\n-0.001\n8\n47\n";
  auto text = testing::RunKvmap("calibration '" + world + "' --size 1000x1000", dir.File(""));
  ASSERT_EQ(text.exit_code, 0) << text.err;
  auto direct =
      testing::RunKvmap("calibration '" + world + "' --size 1000x1000 --json", dir.File(""));
  ASSERT_EQ(direct.exit_code, 0) << direct.err;

  CImageContainer container("Map", nullptr);
  auto image = std::make_unique<CImage>();
  image->SetBitmap(StoredBitmap(testing::FakeBitmapRecord(20, 20, 8, 1)));
  const std::string kvm = text.out;
  image->SetCalibration(reinterpret_cast<const std::uint8_t*>(kvm.c_str()), kvm.size() + 1);
  container.AddImage(std::move(image));
  const std::string map = dir.File("area.prc");
  SaveMapFile(container, map, "area", 1700000000);

  auto from_map = testing::RunKvmap("calibration '" + map + "' --json", dir.File(""));
  ASSERT_EQ(from_map.exit_code, 0) << from_map.err;
  const auto a = nlohmann::json::parse(direct.out);
  const auto b = nlohmann::json::parse(from_map.out);
  EXPECT_EQ(a["kind"], b["kind"]);
  EXPECT_EQ(a["north"], b["north"]);
  EXPECT_EQ(a["east"], b["east"]);
  ASSERT_EQ(b["points"].size(), 9u);
  for (std::size_t i = 0; i < 9; ++i) {
    EXPECT_NEAR(a["points"][i]["lat"].get<double>(), b["points"][i]["lat"].get<double>(), 1e-8);
    EXPECT_NEAR(a["points"][i]["lon"].get<double>(), b["points"][i]["lon"].get<double>(), 1e-8);
    EXPECT_EQ(a["points"][i]["x"], b["points"][i]["x"]);
  }
}

}  // namespace
}  // namespace kv
