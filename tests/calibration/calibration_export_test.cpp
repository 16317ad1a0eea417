// Calibrations written for other programs (OziExplorer ".map" files, world
// files with their ".prj"), read back by GDAL and by our own readers: every
// kind of calibration must come back placing every probed pixel within
// 0.01 pixel of where the calibration put it. GDAL is the peer: it reads
// ".map" files with its OziExplorer reader and world files with its own
// world file reader, and names the ".prj" system with OSR.

#include "calibration/calibration_export.h"

#include <cpl_conv.h>
#include <gdal.h>
#include <gdal_alg.h>
#include <gtest/gtest.h>
#include <ogr_srs_api.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "calibration/calibration_bounds.h"
#include "calibration/calibration_placement.h"
#include "calibration/world_file_writer.h"
#include "cli/calibration_source.h"
#include "geo/coordinate_systems.h"
#include "geo/datum_table.h"
#include "temp_folder.h"

namespace kv {
namespace {

constexpr double kRoundTripPixels = 0.01;

std::string CorpusPath(const char* name) {
  const char* root = std::getenv("KV_TEST_DATA");
  return std::string(root ? root : "tests/calibration/data") + "/corpus/" + name;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

cli::CalibrationResult Read(const std::string& path, int width = 0, int height = 0,
                            std::optional<WorldFileSystem> system = std::nullopt) {
  cli::CalibrationRequest request;
  request.path = path;
  request.width = width;
  request.height = height;
  request.world_system = std::move(system);
  request.negative_letters = "SWsw";
  std::ostringstream quiet;
  return cli::ReadCalibrationSource(request, quiet);
}

// Where a calibration puts a pixel: the affine fit through the points that
// place it, as the handheld applies it.
struct Placement {
  AffineFit fit;
  LatLon At(double x, double y) const {
    const WorldXY w = WorldPosition(fit.to_world, x, y);
    return {w.y, w.x};
  }
  // How many of this placement's pixels lie between two positions.
  double Pixels(LatLon from, LatLon to) const {
    const WorldFileValues& v = fit.to_world;
    const double det = v.a * v.e - v.b * v.d;
    const double dx = to.longitude - from.longitude;
    const double dy = to.latitude - from.latitude;
    return std::hypot((v.e * dx - v.b * dy) / det, (v.a * dy - v.d * dx) / det);
  }
};

Placement PlacementOf(const CalibrationRecord& record) {
  const std::optional<AffineFit> fit = FitControlPoints(LatLonControlPoints(PlacingPoints(record)));
  EXPECT_TRUE(fit.has_value());
  return {fit.value_or(AffineFit{})};
}

std::vector<std::array<double, 2>> Probes(const CalibrationRecord& record) {
  const double w = record.width - 1;
  const double h = record.height - 1;
  return {{0, 0}, {w, 0}, {0, h}, {w, h}, {w / 2, h / 2}, {w / 3, h / 5}};
}

// ---- GDAL's reading.

using PixelToLatLon = std::function<bool(double x, double y, LatLon* position)>;

struct Srs {
  OGRSpatialReferenceH handle = nullptr;
  explicit Srs(const std::string& wkt) {
    handle = OSRNewSpatialReference(nullptr);
    if (OSRSetFromUserInput(handle, wkt.c_str()) != OGRERR_NONE) {
      OSRRelease(handle);
      handle = nullptr;
      return;
    }
    OSRSetAxisMappingStrategy(handle, OAMS_TRADITIONAL_GIS_ORDER);
  }
  explicit Srs(OGRSpatialReferenceH owned) : handle(owned) {
    if (handle) OSRSetAxisMappingStrategy(handle, OAMS_TRADITIONAL_GIS_ORDER);
  }
  Srs(const Srs&) = delete;
  Srs& operator=(const Srs&) = delete;
  ~Srs() {
    if (handle) OSRRelease(handle);
  }
};

// GDAL's positions for a ".map": its geotransform, or its control points
// through the first-order (affine) transformer. OziExplorer pixels are
// numbered as ours are.
struct GdalOzi {
  std::array<double, 6> geo{};
  int gcp_count = 0;
  GDAL_GCP* gcps = nullptr;
  void* transformer = nullptr;
  std::string wkt;
  bool ok = false;

  explicit GdalOzi(const std::string& path) {
    char* text = nullptr;
    ok = GDALLoadOziMapFile(path.c_str(), geo.data(), &text, &gcp_count, &gcps) != FALSE;
    wkt = text ? text : "";
    CPLFree(text);
    if (ok && gcp_count > 0) transformer = GDALCreateGCPTransformer(gcp_count, gcps, 1, FALSE);
  }
  ~GdalOzi() {
    if (transformer) GDALDestroyGCPTransformer(transformer);
    if (gcp_count > 0) {
      GDALDeinitGCPs(gcp_count, gcps);
      CPLFree(gcps);
    }
  }
  bool At(double x, double y, LatLon* position) const {
    double z = 0.0;
    int success = 1;
    if (transformer) {
      if (!GDALGCPTransform(transformer, FALSE, 1, &x, &y, &z, &success) || !success) return false;
    } else {
      const double gx = geo[0] + x * geo[1] + y * geo[2];
      y = geo[3] + x * geo[4] + y * geo[5];
      x = gx;
    }
    *position = {y, x};
    return true;
  }
};

// GDAL's positions for a world file: its geotransform names the outer
// corner of the top-left pixel, ours its centre; the ".prj" system taken to
// latitude and longitude on its own datum.
bool GdalWorldFile(const std::string& path, const std::string& wkt, double x, double y,
                   LatLon* position) {
  std::array<double, 6> geo{};
  const std::filesystem::path file(path);
  const std::string base = (file.parent_path() / file.stem()).string() + ".img";
  const std::string extension = file.extension().string().substr(1);
  if (!GDALReadWorldFile(base.c_str(), extension.c_str(), geo.data())) return false;
  Srs system(wkt);
  if (!system.handle) return false;
  const Srs geographic(OSRCloneGeogCS(system.handle));
  OGRCoordinateTransformationH to_degrees =
      OCTNewCoordinateTransformation(system.handle, geographic.handle);
  double gx = geo[0] + (x + 0.5) * geo[1] + (y + 0.5) * geo[2];
  double gy = geo[3] + (x + 0.5) * geo[4] + (y + 0.5) * geo[5];
  const bool ok = to_degrees && OCTTransform(to_degrees, 1, &gx, &gy, nullptr);
  if (to_degrees) OCTDestroyCoordinateTransformation(to_degrees);
  *position = {gy, gx};
  return ok;
}

double SemiMajorOf(const std::string& wkt) {
  Srs system(wkt);
  OGRErr error = OGRERR_NONE;
  return system.handle ? OSRGetSemiMajor(system.handle, &error) : 0.0;
}

// The datum the record names, as any other program must learn it.
double OurSemiMajor(const CalibrationRecord& record) {
  DatumInfo info;
  DatumInformation(NamedDatumRow(record), &info);
  return info.semi_major_axis;
}

// The worst distance, in pixels, between where `placement` and `peer` put
// the probe pixels; infinite when the peer gives no position.
double WorstPixels(const CalibrationRecord& record, const Placement& placement,
                   const PixelToLatLon& peer) {
  double worst = 0.0;
  for (const auto& [x, y] : Probes(record)) {
    LatLon position;
    if (!peer(x, y, &position)) return INFINITY;
    worst = std::max(worst, placement.Pixels(placement.At(x, y), position));
  }
  return worst;
}

// The same at the points that define the calibration, against their own
// positions: a world file in a projected system is exact there, and between
// them follows the projection rather than the handheld's affine model.
double WorstAtPoints(const CalibrationRecord& record, const Placement& placement,
                     const PixelToLatLon& peer) {
  double worst = 0.0;
  for (const PlacingPoint& point : PlacingPoints(record)) {
    LatLon position;
    if (!peer(point.pixel.x, point.pixel.y, &position)) return INFINITY;
    worst = std::max(worst, placement.Pixels(point.position, position));
  }
  return worst;
}

// ---- The kinds of calibration.

struct Source {
  CalibrationRecord record;
  std::optional<WorldFileSystem> system = std::nullopt;  // the world file's
};

struct ExportRow {
  const char* kind;
  std::function<Source(const TempFolder&)> make;
  // Whether the calibration is affine in the row's system; a world file
  // must be refused otherwise.
  bool affine;
};

CalibrationRecord Rectangle(GeoBounds bounds, int width, int height) {
  CalibrationRecord record;
  record.proj_mode = kCalibrationGeographic;
  record.width = width;
  record.height = height;
  record.north = bounds.north;
  record.west = bounds.west;
  record.south = bounds.south;
  record.east = bounds.east;
  return record;
}

Source ClickedPoints(const TempFolder& dir) {
  // Four points typed in degrees, minutes and seconds on the Potsdam datum.
  const std::string kvm =
      dir.Write("clicked.kvm",
                "proj_mode=7=GCP\ndatum1=7=Potsdam\nkv_north=7=50\nkv_west=7=10\nkv_south=7=49\n"
                "kv_east=7=11\nc1_lat=7=50.0\nc1_lon=7=10.0\nc1_x=7=0\nc1_y=7=0\n"
                "c2_lat=7=50.0\nc2_lon=7=11.0\nc2_x=7=1200\nc2_y=7=0\n"
                "c3_lat=7=49.0\nc3_lon=7=10.0\nc3_x=7=0\nc3_y=7=900\n"
                "c4_lat=7=49.5\nc4_lon=7=10.5\nc4_x=7=600\nc4_y=7=450\n");
  Source source{Read(kvm, 1200, 900).record, std::nullopt};
  source.record.width = 1200;
  source.record.height = 900;
  return source;
}

const ExportRow kRows[] = {
    {"corners",
     [](const TempFolder&) {
       return Source{Rectangle({48, 8, 46, 10}, 1000, 800)};
     },
     true},
    {"centre and scale",
     [](const TempFolder&) {
       return Source{Rectangle(BoundsFromCentre({47, 9, 80.3, 120}), 640, 480)};
     },
     true},
    {"clicked points, Potsdam datum", ClickedPoints, true},
    {"world file in degrees",
     [](const TempFolder& dir) {
       return Source{Read(dir.Write("deg.jgw", "0.001\n0\n0\n-0.001\n8\n47\n"), 1000, 1000).record};
     },
     true},
    {"world file in UTM 32U, written in UTM",
     [](const TempFolder& dir) {
       const WorldFileSystem utm{kSystemUtm, "32U", ""};
       return Source{
           Read(dir.Write("utm.tfw", "100\n0\n0\n-100\n400000\n5400000\n"), 1000, 1000, utm).record,
           utm};
     },
     true},
    {"world file in UTM 32U, written in degrees",
     [](const TempFolder& dir) {
       const WorldFileSystem utm{kSystemUtm, "32U", ""};
       return Source{
           Read(dir.Write("utm.tfw", "100\n0\n0\n-100\n400000\n5400000\n"), 1000, 1000, utm)
               .record};
     },
     false},
    {"GeoTIFF, NAD27 UTM 11N taken to WGS84, written in UTM",
     [](const TempFolder&) {
       return Source{Read(CorpusPath("byte.tif")).record, WorldFileSystem{kSystemUtm, "11S", ""}};
     },
     true},
    {"GeoTIFF in degrees, south up",
     [](const TempFolder&) { return Source{Read(CorpusPath("south-up.tif")).record}; }, true},
    {"chart, transverse Mercator",
     [](const TempFolder&) { return Source{Read(CorpusPath("transverse_mercator.kap")).record}; },
     true},
    {"chart, Lambert conic across a continent",
     [](const TempFolder&) { return Source{Read(CorpusPath("australia4c.kap")).record}; }, false},
    {"OziExplorer map, Mercator tile",
     [](const TempFolder&) {
       return Source{Read(CorpusPath("9410_4633_14.map"), 256, 256).record};
     },
     true},
    {"OziExplorer sheet on Pulkovo 1942, points in its own grid",
     [](const TempFolder&) { return Source{Read(CorpusPath("ozi1b.map"), 3894, 3363).record}; },
     false},
};

class CalibrationExport : public ::testing::TestWithParam<ExportRow> {};

TEST_P(CalibrationExport, GdalAndOurReadersPlaceEveryPixelAsWritten) {
  const ExportRow& row = GetParam();
  TempFolder dir;
  const Source source = row.make(dir);
  const CalibrationRecord& record = source.record;
  ASSERT_GT(record.width, 0) << row.kind;
  const Placement placement = PlacementOf(record);

  const std::string map = dir.File("out.map");
  ASSERT_EQ(ExportCalibrationFile(record, map, source.system, "out.png").status, ExportStatus::kOk);
  const GdalOzi ozi(map);
  ASSERT_TRUE(ozi.ok) << row.kind;
  EXPECT_NEAR(SemiMajorOf(ozi.wkt), OurSemiMajor(record), 0.01) << row.kind;
  EXPECT_LT(WorstPixels(record, placement,
                        [&](double x, double y, LatLon* p) { return ozi.At(x, y, p); }),
            kRoundTripPixels)
      << row.kind << ": GDAL, .map";
  const Placement ours = PlacementOf(Read(map, record.width, record.height).record);
  EXPECT_LT(WorstPixels(record, placement,
                        [&](double x, double y, LatLon* p) {
                          *p = ours.At(x, y);
                          return true;
                        }),
            kRoundTripPixels)
      << row.kind << ": ours, .map";

  const std::string world = dir.File("out.pgw");
  const ExportOutcome outcome = ExportCalibrationFile(record, world, source.system, "");
  if (!row.affine) {
    EXPECT_EQ(outcome.status, ExportStatus::kNotAffine) << row.kind;
    EXPECT_GT(outcome.worst_pixels, kWorldFileTolerancePixels) << row.kind;
    EXPECT_FALSE(std::filesystem::exists(world));
    EXPECT_FALSE(std::filesystem::exists(PrjPathOf(world)));
    return;
  }
  ASSERT_EQ(outcome.status, ExportStatus::kOk) << row.kind << " " << outcome.worst_pixels;
  const std::string wkt = ReadText(PrjPathOf(world));
  EXPECT_NEAR(SemiMajorOf(wkt), OurSemiMajor(record), 0.01) << row.kind;
  EXPECT_LT(WorstAtPoints(
                record, placement,
                [&](double x, double y, LatLon* p) { return GdalWorldFile(world, wkt, x, y, p); }),
            kRoundTripPixels)
      << row.kind << ": GDAL, world file";
  const Placement ours_world =
      PlacementOf(Read(world, record.width, record.height, source.system).record);
  EXPECT_LT(WorstPixels(record, placement,
                        [&](double x, double y, LatLon* p) {
                          *p = ours_world.At(x, y);
                          return true;
                        }),
            kRoundTripPixels)
      << row.kind << ": ours, world file";
}

INSTANTIATE_TEST_SUITE_P(EveryKind, CalibrationExport, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<ExportRow>& row_info) {
                           std::string name;
                           for (const char* c = row_info.param.kind; *c; ++c) {
                             if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                           }
                           return name;
                         });

}  // namespace
}  // namespace kv
