#include "document/world_file_system_model.h"

#include <gtest/gtest.h>

#include <vector>

#include "geo/coordinate_systems.h"

namespace kv {
namespace {

TEST(WorldFileSystemModel, ListStartsAtDecimalDegrees) {
  const std::vector<std::string_view> entries = WorldFileSystemEntries();
  ASSERT_EQ(entries.size(), static_cast<std::size_t>(kCoordinateSystemCount - 2));
  EXPECT_EQ(entries.front(), "DD.dddd");
  EXPECT_EQ(entries[1], "UTM");
  EXPECT_EQ(entries.back(), CoordinateSystemName(kCoordinateSystemCount - 1));
}

TEST(WorldFileSystemModel, StoredSystemAboveOneIsPreselected) {
  EXPECT_EQ(WorldFileEntryOf(0), kNoWorldFileEntry);
  EXPECT_EQ(WorldFileEntryOf(1), kNoWorldFileEntry);
  EXPECT_EQ(WorldFileEntryOf(2), 0);
  EXPECT_EQ(WorldFileEntryOf(4), 2);
  EXPECT_EQ(WorldFileEntryOf(28), 26);
  EXPECT_EQ(WorldFileEntryOf(29), kNoWorldFileEntry);
}

TEST(WorldFileSystemModel, ZonedGridsNeedAZone) {
  EXPECT_TRUE(WorldFileSystemNeedsZone(kSystemUtm));
  EXPECT_TRUE(WorldFileSystemNeedsZone(kSystemMga));
  EXPECT_FALSE(WorldFileSystemNeedsZone(kSystemDecimalDegrees));
  EXPECT_FALSE(WorldFileSystemNeedsZone(kSystemOsgb));
  int zoned_national_grids = 0;
  for (int system = kFirstNationalGridSystem; system < kCoordinateSystemCount; ++system) {
    if (system != kSystemMga && WorldFileSystemNeedsZone(system)) ++zoned_national_grids;
  }
  EXPECT_EQ(zoned_national_grids, 1);  // the Quebec MTM grid
}

TEST(WorldFileSystemModel, SetupAcceptsOnlyZonesThatNameOne) {
  const struct {
    int system;
    const char* zone;
    bool accepted;
  } kRows[] = {
      {kSystemDecimalDegrees, "", true},
      {kSystemOsgb, "", true},
      {kSystemUtm, "32U", true},
      {kSystemUtm, "1C", true},
      {kSystemUtm, "60X", true},
      {kSystemUtm, "", false},
      {kSystemUtm, "32", false},
      {kSystemUtm, "32u", false},
      {kSystemUtm, "61U", false},
      {kSystemUtm, "0N", false},
      {kSystemMga, "55H", true},
      {kSystemMga, "H", false},
      {20, "QU8", true},
      {20, "qu3", true},
      {20, "QU99", false},
      {20, "", false},
      {1, "", false},
      {29, "", false},
  };
  for (const auto& row : kRows) {
    EXPECT_EQ(WorldFileSetupAccepts({row.system, row.zone, ""}), row.accepted)
        << row.system << " " << row.zone;
  }
}

TEST(WorldFileSystemModel, ProblemsAreNamedForTheMessage) {
  using P = WorldFileSetupProblem;
  const struct {
    WorldFileSystem system;
    P problem;
  } kRows[] = {
      {{kSystemUtm, "18T", ""}, P::kNone},
      {{kSystemUtm, "18", ""}, P::kZoneWithoutBand},
      {{kSystemMga, " 55 ", ""}, P::kZoneWithoutBand},
      {{kSystemUtm, "", ""}, P::kZoneMissing},
      {{kSystemUtm, "61U", ""}, P::kZoneUnknown},
      {{20, "QU99", ""}, P::kZoneUnknown},
      {{kSystemUtm, "18T", "NAD27CONUS"}, P::kNone},
      {{kSystemDecimalDegrees, "", "Eur1950"}, P::kNone},
      {{kSystemUtm, "18T", "NoSuchDatum"}, P::kDatumUnknown},
      {{kSystemUtm, "18T", "clrk66"}, P::kDatumUnknown},  // an ellipsoid, not a datum
      {{kSystemOsgb, "", "NAD27CONUS"}, P::kDatumOfTheGrid},
      {{1, "", ""}, P::kUnknownSystem},
  };
  for (const auto& row : kRows) {
    EXPECT_EQ(CheckWorldFileSetup(row.system), row.problem)
        << row.system.system << " " << row.system.zone << " " << row.system.datum;
  }
}

TEST(WorldFileSystemModel, DatumListAndChoice) {
  const std::vector<std::string_view> datums = WorldFileDatumEntries();
  ASSERT_GT(datums.size(), 40u);
  EXPECT_EQ(datums.front(), "WGS84");
  const int nad27 = WorldFileDatumEntryOf("NAD27CONUS");
  EXPECT_GT(nad27, 0);
  EXPECT_EQ(WorldFileDatumCode(nad27), "NAD27CONUS");
  EXPECT_EQ(WorldFileDatumEntryOf(""), 0);
  EXPECT_EQ(WorldFileDatumCode(0), "");  // WGS84 is the systems' own datum
  const WorldFileSystem stored{kSystemUtm, "32U", ""};
  EXPECT_EQ(AcceptWorldFileSystem(1, "18t", nad27, stored).datum, "NAD27CONUS");
  EXPECT_EQ(AcceptWorldFileSystem(2, "", nad27, stored).datum, "");  // OSGB has its own
}

TEST(WorldFileSystemModel, OkStoresAnAcceptedChoiceOnly) {
  const WorldFileSystem stored{kSystemUtm, "32U", ""};
  const WorldFileSystem degrees = AcceptWorldFileSystem(0, "33T", stored);
  EXPECT_EQ(degrees.system, kSystemDecimalDegrees);
  EXPECT_EQ(degrees.zone, "");  // a zone means nothing there
  const WorldFileSystem utm = AcceptWorldFileSystem(1, "33T", stored);
  EXPECT_EQ(utm.system, kSystemUtm);
  EXPECT_EQ(utm.zone, "33T");
  EXPECT_EQ(AcceptWorldFileSystem(1, "33t", stored).zone, "33T");
  EXPECT_EQ(AcceptWorldFileSystem(18, "qu8", stored).zone, "QU8");
  const WorldFileSystem refused = AcceptWorldFileSystem(1, "33", stored);
  EXPECT_EQ(refused.system, stored.system);
  EXPECT_EQ(refused.zone, stored.zone);
  const WorldFileSystem none = AcceptWorldFileSystem(kNoWorldFileEntry, "", stored);
  EXPECT_EQ(none.zone, "32U");
}

}  // namespace
}  // namespace kv
