// From a read calibration file to the record the document and kvmap use,
// and from its statuses to the exceptions they report.

#include "calibration/imported_calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "base/exceptions.h"
#include "calibration/calibration_fixtures.h"
#include "calibration/raise_import_error.h"

namespace kv {
namespace {

using testing::CalibrationDir;
using testing::ImportFixture;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

TEST(HasEarthPositions, LimitsAreInclusiveAndNoNumberIsOff) {
  const struct {
    double latitude;
    double longitude;
    bool earth;
  } kRows[] = {
      {90, 180, true},  {-90, -180, true}, {90.000001, 0, false}, {0, -180.000001, false},
      {kNaN, 0, false}, {0, -kNaN, false}, {kInfinity, 0, false}, {0, -kInfinity, false},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(std::to_string(row.latitude) + " " + std::to_string(row.longitude));
    CalibrationRecord record;
    record.points = CalibrationPoints{};
    (*record.points)[8].latitude = row.latitude;
    (*record.points)[8].longitude = row.longitude;
    EXPECT_EQ(HasEarthPositions(record), row.earth);

    record = CalibrationRecord{};
    record.north = row.latitude;
    record.east = row.longitude;
    EXPECT_EQ(HasEarthPositions(record), row.earth);
    record = CalibrationRecord{};
    record.south = row.latitude;
    record.west = row.longitude;
    EXPECT_EQ(HasEarthPositions(record), row.earth);
  }
  EXPECT_TRUE(HasEarthPositions(CalibrationRecord{}));
}

TEST(ReadImportedCalibration, TextFormatsAreReadAgainAsCalibrationText) {
  CalibrationImport import;
  import.north_text = "N47.00000000";
  import.raw_text = "kv_north=7=48\nc1_x=7=30\nc1_lat=7=47\nc1_lon=7=8\nunknown=1\n";
  import.proj_mode = kCalibrationKnownPoints;
  CalibrationRecord record;
  ASSERT_EQ(ReadImportedCalibration(import, kCalibrationFileKvm, "SWsw", 640, 480, &record),
            ImportStatus::kOk);
  EXPECT_EQ(record.north, 48.0);
  EXPECT_EQ(record.width, 640);
  ASSERT_TRUE(record.points);
  EXPECT_EQ((*record.points)[0].pixel_x, 30);
  EXPECT_EQ(record.pending_text, "unknown=1\n");

  // Other types keep the importer's reading only.
  ASSERT_EQ(ReadImportedCalibration(import, kCalibrationFileGeo, "SWsw", 640, 480, &record),
            ImportStatus::kOk);
  EXPECT_EQ(record.north, 47.0);
  EXPECT_FALSE(record.pending_text.has_value());
}

TEST(ReadImportedCalibration, OffTheEarthLeavesTheRecordAlone) {
  CalibrationRecord record;
  record.north = 12;
  CalibrationImport import;
  import.points[2].longitude = -kNaN;
  EXPECT_EQ(ReadImportedCalibration(import, kCalibrationFileWorld, "SWsw", 10, 10, &record),
            ImportStatus::kOffTheEarth);
  import = CalibrationImport{};
  import.raw_text = "kv_south=7=-90.5\n";
  EXPECT_EQ(ReadImportedCalibration(import, kCalibrationFileCal, "SWsw", 10, 10, &record),
            ImportStatus::kOffTheEarth);
  import.north_text = "N91.00000000";
  EXPECT_EQ(ReadImportedCalibration(import, kCalibrationFilePca, "SWsw", 10, 10, &record),
            ImportStatus::kOffTheEarth);
  EXPECT_EQ(record.north, 12.0);
}

TEST(ImportCalibrationRecord, StatusOfTheFirstStepThatFails) {
  CalibrationDir dir;
  ASSERT_TRUE(dir.ok());
  ImportFixture fixture;
  ImportedCalibrationFile file;
  EXPECT_EQ(ImportCalibrationRecord(dir.File("missing.kvm"), std::nullopt, fixture.environment, 0,
                                    0, &file),
            ImportStatus::kOpenFailed);
  EXPECT_EQ(ImportCalibrationRecord(dir.Write("bad.map", "Not Ozi\n"), std::nullopt,
                                    fixture.environment, 0, 0, &file),
            ImportStatus::kNotOziExplorer);

  // A world file whose far corner overflows the double range.
  const std::string huge = dir.Write("huge.tfw", "1e308\n0\n0\n-1e308\n1e308\n-1e308\n");
  EXPECT_EQ(ImportCalibrationRecord(huge, WorldFileSystem{2, "", ""}, fixture.environment, 60000,
                                    60000, &file),
            ImportStatus::kOffTheEarth);

  const std::string world = dir.Write("a.jgw", "0.001\n0\n0\n-0.001\n8\n47\n");
  ASSERT_EQ(ImportCalibrationRecord(world, std::nullopt, fixture.environment, 1000, 1000, &file),
            ImportStatus::kOk);
  EXPECT_EQ(file.type, kCalibrationFileWorld);
  EXPECT_EQ(file.import.south_text, "N46.00000000");
  EXPECT_EQ(file.record.south, 46.0);
  EXPECT_EQ((*file.record.points)[3].pixel_x, 999);
}

TEST(ImportCalibrationRecord, UpToOnePixelPastTheEdgeIsOnTheEarthBeyondItIsNamed) {
  CalibrationDir dir;
  ASSERT_TRUE(dir.ok());
  const struct {
    const char* name;
    const char* world_file;
    std::int32_t width;
    std::int32_t height;
    const char* refusal;  // null when taken
  } kRows[] = {
      // Outer pixel edges at -180.0625 and 180.0625, 90.0625 and -90.0625.
      {"world.jgw", "0.125\n0\n0\n-0.125\n-180\n90\n", 2881, 1441, nullptr},
      {"half.jgw", "0.5\n0\n0\n-0.5\n0.25\n90.25\n", 360, 100, nullptr},
      {"north.jgw", "0.5\n0\n0\n-0.5\n0\n95\n", 100, 100, "north bound 95.00000000"},
      {"east.jgw", "0.01\n0\n0\n-0.01\n185\n10\n", 100, 100, "west bound 185.00000000"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    ImportFixture fixture;
    ImportedCalibrationFile file;
    const std::string path = dir.Write(row.name, row.world_file);
    const ImportStatus status = ImportCalibrationRecord(path, std::nullopt, fixture.environment,
                                                        row.width, row.height, &file);
    if (row.refusal == nullptr) {
      ASSERT_EQ(status, ImportStatus::kOk) << file.refusal;
      EXPECT_EQ(file.record.east, 180.0);
      EXPECT_LE(file.record.north, 90.0);
      EXPECT_GE(file.record.south, -90.0);
      EXPECT_GE(file.record.west, -180.0);
      continue;
    }
    EXPECT_EQ(status, ImportStatus::kOffTheEarth);
    EXPECT_EQ(file.refusal, row.refusal);
    try {
      RaiseImportError(status, path, file.refusal);
      ADD_FAILURE() << "nothing thrown";
    } catch (const ErrOffTheEarth& error) {
      EXPECT_STREQ(error.file_name(), path.c_str());
      EXPECT_STREQ(error.reason(), row.refusal);
    }
  }
}

TEST(RaiseImportError, EachStatusNamesTheFile) {
  const struct {
    ImportStatus status;
    ErrorCode code;
  } kRows[] = {
      {ImportStatus::kOpenFailed, kErrFileOpen},
      {ImportStatus::kReadFailed, kErrFileRead},
      {ImportStatus::kNotFound, kErrUnknownImageKind},
      {ImportStatus::kNotOziExplorer, kErrFileRead},
      {ImportStatus::kBadWorldSystem, kErrFileRead},
      {ImportStatus::kOffTheEarth, kErrOffTheEarth},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(static_cast<int>(row.status));
    try {
      RaiseImportError(row.status, "/maps/area.kvm");
      ADD_FAILURE() << "nothing thrown";
    } catch (const LException& error) {
      EXPECT_EQ(error.code(), row.code);
      EXPECT_STREQ(error.file_name(), "/maps/area.kvm");
    }
  }
}

}  // namespace
}  // namespace kv
