// kvmap convert runs the document's import: the calibration found beside an
// image, or given with --calibration, reads back from the map as it reads
// from the file itself.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "bitmap/bmp_fixture.h"
#include "kvmap_runner.h"
#include "temp_folder.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

constexpr char kOziMap[] =
    "OziExplorer Map Data File Version 2.2\r\nArea\r\narea.bmp\r\n1 ,Map Code,\r\n"
    "WGS 84,WGS 84,   0.0000,   0.0000,WGS 84\r\nReserved 1\r\nReserved 2\r\n"
    "Magnetic Variation,,,E\r\n"
    "Map Projection,Latitude/Longitude,PolyCal,No,AutoCalOnly,No,BSBUseWPX,No\r\n"
    "Point01,xy, 0, 0,in, deg, 47, 30.0,N, 8, 0.0,E, grid, , , ,N\r\n"
    "Point02,xy, 199, 0,in, deg, 47, 30.0,N, 9, 0.0,E, grid, , , ,N\r\n"
    "Point03,xy, 199, 149,in, deg, 47, 0.0,N, 9, 0.0,E, grid, , , ,N\r\n"
    "Point04,xy, 0, 149,in, deg, 47, 0.0,N, 8, 0.0,E, grid, , , ,N\r\n";

// Bounds and two points of the 200 x 150 test image, in its own pixels.
constexpr char kTwoPointKvm[] =
    "kv_north=7=47.5\nkv_west=7=8\nkv_south=7=47\nkv_east=7=9\n"
    "c1_lat=7=47.5\nc1_lon=7=8\nc1_x=7=100\nc1_y=7=50\n"
    "c2_lat=7=47\nc2_lon=7=9\nc2_x=7=199\nc2_y=7=149\n";

class ConvertCalibrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = kv::MakeTempFolder("kv_convert_cal_");
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
    return (dir_ / name).string();
  }
  std::string WriteBmp(const std::string& name) {
    testing::BmpParams params;
    params.width = 200;
    params.height = 150;
    const auto bytes = testing::MakeBmp(
        params, [](int x, int y) { return (x * 7 + y * 3) % 2 ? 0xFF0000u : 0x00FF00u; });
    std::ofstream(dir_ / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return (dir_ / name).string();
  }
  nlohmann::json Calibration(const std::string& arguments) {
    testing::KvmapResult result = testing::RunKvmap("calibration --json " + arguments, dir_);
    EXPECT_EQ(result.exit_code, 0) << arguments << "\n" << result.err;
    return result.exit_code == 0 ? nlohmann::json::parse(result.out) : nlohmann::json();
  }
  // Same kind, datum, bounds and points; the bounds within the rounding of
  // the stored texts.
  void ExpectSameCalibration(const nlohmann::json& map, const nlohmann::json& file) {
    EXPECT_EQ(map["kind"], file["kind"]);
    EXPECT_EQ(map["datum"], file["datum"]);
    for (const char* bound : {"north", "west", "south", "east"}) {
      EXPECT_NEAR(map[bound].get<double>(), file[bound].get<double>(), 1e-8) << bound;
    }
    ASSERT_EQ(map["points"].size(), file["points"].size());
    for (std::size_t i = 0; i < map["points"].size(); ++i) {
      EXPECT_EQ(map["points"][i]["x"], file["points"][i]["x"]) << i;
      EXPECT_EQ(map["points"][i]["y"], file["points"][i]["y"]) << i;
      EXPECT_NEAR(map["points"][i]["lat"].get<double>(), file["points"][i]["lat"].get<double>(),
                  1e-8);
      EXPECT_NEAR(map["points"][i]["lon"].get<double>(), file["points"][i]["lon"].get<double>(),
                  1e-8);
    }
  }

  fs::path dir_;
};

TEST_F(ConvertCalibrationTest, MapFileBesideTheImageIsStoredInTheMap) {
  const std::string image = WriteBmp("area.bmp");
  const std::string ozi = Write("area.map", kOziMap);
  testing::KvmapResult result = testing::RunKvmap("convert '" + image + "'", dir_);
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const nlohmann::json map = Calibration("'" + (dir_ / "area.prc").string() + "'");
  const nlohmann::json file = Calibration("'" + ozi + "' --image '" + image + "'");
  ASSERT_GE(file["points"].size(), 4u);
  ExpectSameCalibration(map, file);
}

TEST_F(ConvertCalibrationTest, WorldFileGivenWithItsCoordinateSystem) {
  const std::string image = WriteBmp("area.bmp");
  const std::string world = Write("area.bpw", "0.005\n0\n0\n-0.00333333\n8.0025\n47.49833\n");
  testing::KvmapResult missing =
      testing::RunKvmap("convert '" + image + "' --calibration '" + world + "'", dir_);
  EXPECT_NE(missing.exit_code, 0);
  EXPECT_THAT(missing.err, HasSubstr("--world-system"));

  testing::KvmapResult result =
      testing::RunKvmap("convert '" + image + "' --calibration '" + world +
                            "' --world-system 2 -o '" + (dir_ / "world.prc").string() + "'",
                        dir_);
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const nlohmann::json map = Calibration("'" + (dir_ / "world.prc").string() + "'");
  const nlohmann::json file =
      Calibration("'" + world + "' --world-system 2 --image '" + image + "'");
  ASSERT_EQ(file["points"].size(), 9u);
  ExpectSameCalibration(map, file);
  EXPECT_NE(map["north"].get<double>(), 0.0);

  // Recoding re-opens the map as a document and keeps its calibration.
  result = testing::RunKvmap("recode '" + (dir_ / "world.prc").string() + "' --depth 2", dir_);
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(Calibration("'" + (dir_ / "world.prc").string() + "'"), map);
}

// ".wld" files are world files too; a malformed one is refused naming its
// line, a UTM zone without its band letter is refused with the band letters
// explained, and the datum of the numbers can be named.
TEST_F(ConvertCalibrationTest, WorldFilesAreReadOrRefusedWithTheirReason) {
  const std::string image = WriteBmp("area.bmp");
  const std::string wld = Write("area.wld", "0,005\n0\n0\n-0,00333333\n8,0025\n47,49833\n");
  const std::string output = (dir_ / "wld.prc").string();
  testing::KvmapResult result = testing::RunKvmap(
      "convert '" + image + "' --calibration '" + wld + "' --world-system 2 -o '" + output + "'",
      dir_);
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const nlohmann::json map = Calibration("'" + output + "'");
  EXPECT_NEAR(map["points"][3]["lat"].get<double>(), 47.49833 - 149 * 0.00333333, 1e-9);

  const std::string short_file = Write("short.wld", "0.005\n0\n0\n-0.00333333\n8.0025\n");
  const struct {
    std::string arguments;
    std::vector<std::string> said;
  } kRefusals[] = {
      {"calibration '" + short_file + "' --image '" + image + "'",
       {short_file + ", line 6", "six numbers"}},
      {"convert '" + image + "' --calibration '" + short_file + "' --world-system 2",
       {short_file, "cannot be read as its kind of file"}},
      {"calibration '" + wld + "' --image '" + image + "' --world-system UTM --zone 18",
       {"--zone", "band", "C to M", "18T"}},
      {"calibration '" + wld + "' --image '" + image + "' --world-system UTM --zone 18T --datum X",
       {"--datum", "unknown datum: X"}},
      {"calibration '" + wld + "' --image '" + image + "' --world-system OSGB --datum Eur1950",
       {"--datum", "own datum"}},
  };
  for (const auto& refusal : kRefusals) {
    result = testing::RunKvmap(refusal.arguments, dir_);
    EXPECT_NE(result.exit_code, 0) << refusal.arguments;
    for (const std::string& text : refusal.said) {
      EXPECT_THAT(result.err, HasSubstr(text)) << refusal.arguments;
    }
  }
  const nlohmann::json nad27 =
      Calibration("'" + Write("sheet.tfw", "10\n0\n0\n-10\n585000\n4510000\n") + "' --image '" +
                  image + "' --world-system UTM --zone 18T --datum NAD27CONUS");
  EXPECT_EQ(nad27["datum"], "NAD27CONUS");
  const nlohmann::json osgb = Calibration("'" + Write("gb.tfw", "5\n0\n0\n-5\n530000\n180000\n") +
                                          "' --image '" + image + "' --world-system OSGB");
  EXPECT_EQ(osgb["datum"], "OrdSrvyGrtBritn");
}

// At half scale the map's calibration still spans the whole source: its
// bounds are the file's, its points at half the file's pixels.
TEST_F(ConvertCalibrationTest, CalibrationGivenAtHalfScaleCoversTheWholeImage) {
  const std::string image = WriteBmp("half.bmp");
  const struct {
    std::string file;
    std::string system;
    double south;
  } kRows[] = {
      {Write("half.bpw", "0.005\n0\n0\n-0.002\n8\n47.5\n"), " --world-system 2", 47.2},
      {Write("other.kvm", kTwoPointKvm), "", 47.0},
  };
  const std::string map_path = (dir_ / "half.prc").string();
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.file);
    const std::string calibration = "'" + row.file + "'" + row.system;
    testing::KvmapResult result =
        testing::RunKvmap("convert '" + image + "' --scale 1/2 --calibration " + calibration +
                              " -o '" + map_path + "'",
                          dir_);
    ASSERT_EQ(result.exit_code, 0) << result.err;
    const nlohmann::json map = Calibration("'" + map_path + "'");
    nlohmann::json file = Calibration(calibration + " --image '" + image + "'");
    for (nlohmann::json& point : file["points"]) {
      point["x"] = point["x"].get<int>() / 2;
      point["y"] = point["y"].get<int>() / 2;
    }
    ExpectSameCalibration(map, file);
    EXPECT_NEAR(map["south"].get<double>(), row.south, 1e-8);
    EXPECT_NEAR(map["east"].get<double>(), 9.0, 1e-8);
  }
}

TEST_F(ConvertCalibrationTest, CalibrationFileAsSourceAndNoCalibration) {
  WriteBmp("area.bmp");
  const std::string kvm = Write("area.kvm",
                                "kv_north=7=47.5\nkv_west=7=8\nkv_south=7=47\nkv_east=7=9\n"
                                "c1_lat=7=47.5\nc1_lon=7=8\nc1_x=7=0\nc1_y=7=0\n"
                                "c2_lat=7=47\nc2_lon=7=9\nc2_x=7=199\nc2_y=7=149\n");
  testing::KvmapResult result = testing::RunKvmap("convert '" + kvm + "'", dir_);
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_THAT(result.out, HasSubstr((dir_ / "area.prc").string() + ": 5 images"));
  ExpectSameCalibration(Calibration("'" + (dir_ / "area.prc").string() + "'"),
                        Calibration("'" + kvm + "'"));

  result = testing::RunKvmap("convert --no-calibration '" + (dir_ / "area.bmp").string() +
                                 "' -o '" + (dir_ / "bare.prc").string() + "'",
                             dir_);
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const nlohmann::json bare = Calibration("'" + (dir_ / "bare.prc").string() + "'");
  EXPECT_EQ(bare["north"], 0.0);
  EXPECT_TRUE(bare["points"].empty());
}

}  // namespace
}  // namespace kv
