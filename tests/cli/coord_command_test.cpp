#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/coord_text.h"
#include "kvmap_runner.h"
#include "temp_folder.h"

namespace kv {
namespace {

using ::testing::HasSubstr;

TEST(CoordTextTest, ResolvesSystemsByIndexNameAndCode) {
  struct Case {
    const char* text;
    int system;
  };
  const Case cases[] = {{"0", 0},        {"28", 28},      {"29", -1},         {"utm", 3},
                        {"OSGB", 4},     {"ire", 13},     {"Irish Grid", 13}, {"S-JTSK", 25},
                        {"ch-1903", 24}, {"DD MM SS", 1}, {"qmtm", 20},       {"", -1},
                        {"99999", -1},   {"-1", -1},      {"Nowhere", -1}};
  for (const Case& c : cases) EXPECT_EQ(cli::ResolveCoordinateSystem(c.text), c.system) << c.text;
}

TEST(CoordTextTest, ResolvesDatumsByCodeAliasAndNumber) {
  EXPECT_EQ(cli::ResolveDatum("wgs84"), 0);
  EXPECT_EQ(cli::ResolveDatum("102"), 29);
  EXPECT_EQ(cli::ResolveDatum("Ireland 1965"), 16);
  EXPECT_EQ(cli::ResolveDatum("intl"), 77);
  EXPECT_EQ(cli::ResolveDatum("NAD 27"), 24);  // the conterminous United States row
  EXPECT_EQ(cli::ResolveDatum("Pulkovo 1942 (1)"), 40);
  EXPECT_EQ(cli::ResolveDatum("Nowhere 1900"), -1);
}

TEST(CoordTextTest, ReadsPositions) {
  double degrees = 0;
  EXPECT_TRUE(cli::ReadPosition("-33.9", "SWsw", &degrees));
  EXPECT_EQ(degrees, -33.9);
  EXPECT_TRUE(cli::ReadPosition("+8", "SWsw", &degrees));
  EXPECT_EQ(degrees, 8);
  EXPECT_TRUE(cli::ReadPosition("S33 54", "SWsw", &degrees));
  EXPECT_DOUBLE_EQ(degrees, -33.9);
  EXPECT_TRUE(cli::ReadPosition("33 54 S", "SWsw", &degrees));
  EXPECT_DOUBLE_EQ(degrees, -33.9);
  for (const char* bad : {"", "abc", "S", "12x", "nan", "inf", "1e999", "S33 54 x"}) {
    EXPECT_FALSE(cli::ReadPosition(bad, "SWsw", &degrees)) << bad;
  }
}

TEST(CoordTextTest, GridLineShowsMetresOrDegrees) {
  EXPECT_EQ(cli::GridLine({"32U", 1.23456, 2.5}, GridStatus::kConverted), "32U 1.235 2.500\n");
  EXPECT_EQ(cli::GridLine({"", 1.5, 2.5}, GridStatus::kConverted), "- 1.500 2.500\n");
  EXPECT_EQ(cli::GridLine({"", 2.35, 48.85}, GridStatus::kKeptInDegrees),
            "- 2.350000000 48.850000000\n");
}

class CoordCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = kv::MakeTempFolder("kv_coord_command_");
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  testing::KvmapResult Run(const std::string& arguments) {
    return testing::RunKvmap("coord " + arguments, dir_);
  }

  std::filesystem::path dir_;
};

TEST_F(CoordCommandTest, ListsTheTables) {
  const testing::KvmapResult systems = Run("systems");
  ASSERT_EQ(systems.exit_code, 0) << systems.err;
  EXPECT_EQ(std::count(systems.out.begin(), systems.out.end(), '\n'), 29);
  EXPECT_THAT(systems.out, HasSubstr("25  S-JTSK"));
  const testing::KvmapResult datums = Run("datums");
  ASSERT_EQ(datums.exit_code, 0) << datums.err;
  EXPECT_EQ(std::count(datums.out.begin(), datums.out.end(), '\n'), 92);
}

TEST_F(CoordCommandTest, ConvertsBothWays) {
  struct Case {
    const char* arguments;
    const char* out;
  };
  const Case cases[] = {
      {"to-grid --system UTM -33.9 18.4", "34H 259583.222 6245888.050\n"},
      {"to-grid --system utm 'S33 54' 'E18 24'", "34H 259583.222 6245888.050\n"},
      {"to-grid --system OSGB 48.85 2.35", "- 2.350000000 48.850000000\n"},
      {"to-grid --system 2 47.5 8.25", "- 8.250000000 47.500000000\n"},
      {"to-latlon --system UTM --zone 34H 259583.222 6245888.050", "-33.899999998 18.400000001\n"},
      {"to-latlon --system 0 8.25 47.5", "47.500000000 8.250000000\n"},
      {"format --system 0 --lat 47.5", "N47 30.000000\n"},
      {"format --system 1 --lon -122.25 --precision 0", "W122 15\n"},
      {"parse 'N47 30.5'", "47.508333333\n"},
      {"parse 'S47 30 30' --letters W", "47.508333333\n"},
      {"parse -8.25", "-8.250000000\n"},
      {"parse '12 30.500 W'", "-12.508333333\n"},
      {"parse 'W 180'", "-180.000000000\n"},
      {"parse 180W", "-180.000000000\n"},
      {"to-grid --system utm '33 54 S' '18 24 E'", "34H 259583.222 6245888.050\n"},
      {"to-latlon --system UTM --zone 34H 259583.222 6245888.050", "-33.899999998 18.400000001\n"},
      // PROJ's EPSG:5514 values of 50.0875 N 14.4214 E (S-JTSK datum); the
      // answer is 0.15 m from there.
      {"to-latlon --system S-JTSK -- -742888.092 -1043086.043", "50.087498604 14.421399594\n"},
  };
  for (const Case& c : cases) {
    const testing::KvmapResult result = Run(c.arguments);
    EXPECT_EQ(result.exit_code, 0) << c.arguments << "\n" << result.err;
    EXPECT_EQ(result.out, c.out) << c.arguments;
  }
}

TEST_F(CoordCommandTest, RefusesPositionsAndZonesThatDoNotReadCompletely) {
  struct Case {
    const char* arguments;
    const char* err;
  };
  const Case cases[] = {
      {"parse '12 30.500 W x'", "not a position"},
      {"parse 'N47 30.5xyz'", "not a position"},
      {"parse ''", "not a position"},
      {"to-latlon --system UTM --zone 18 583960 4507523", "18T"},
      {"to-latlon --system MGA --zone 55 320000 5810000", "N to X"},
      {"to-latlon --system utm --zone 18t 583960 4507523", "C to M"},
  };
  for (const Case& c : cases) {
    const testing::KvmapResult result = Run(c.arguments);
    EXPECT_EQ(result.exit_code, 1) << c.arguments;
    EXPECT_EQ(result.out, "") << c.arguments;
    EXPECT_THAT(result.err, HasSubstr(c.err)) << c.arguments;
  }
}

TEST_F(CoordCommandTest, RefusesWhatItCannotRead) {
  for (const char* arguments :
       {"to-grid --system Nowhere 1 2", "to-grid --system UTM --datum Nowhere 1 2",
        "to-grid --system UTM north 2", "format --system 3 --lat 1", "format --system 0 1"}) {
    const testing::KvmapResult result = Run(arguments);
    EXPECT_NE(result.exit_code, 0) << arguments;
    EXPECT_EQ(result.out, "") << arguments;
    EXPECT_THAT(result.err, HasSubstr("kvmap: ")) << arguments;
  }
}

}  // namespace
}  // namespace kv
