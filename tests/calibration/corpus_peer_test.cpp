// Real georeferenced files from other open-source projects, read the way
// `kvmap calibration` reads them, against GDAL and PROJ reading the same
// files. For each file the positions our calibration gives nine pixels (the
// corners, the edge mid-points and the centre) are compared with GDAL's
// positions of the same pixels, in the datum our calibration names: a map
// labelled WGS84 must give WGS84 positions. The distance is measured in the
// map's own pixels. Where the file is one we must refuse, the refusal is the
// expectation. Rows marked with a known fault are printed, not asserted.

#include <cpl_conv.h>
#include <gdal.h>
#include <gdal_alg.h>
#include <gtest/gtest.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "base/exceptions.h"
#include "cli/calibration_source.h"
#include "cli/coord_text.h"
#include "geo/datum_table.h"

namespace kv {
namespace {

enum class Source { kGeoTiff, kChart, kOziMap, kWorldFile };

struct CorpusRow {
  const char* file;
  const char* origin;
  const char* kind;
  Source source;
  // Worst distance from GDAL allowed, in pixels; below 0 the file must be
  // refused, with `refusal` in the message when that is not null.
  double tolerance;
  const char* refusal = nullptr;
  // The image of a world file, or of a ".map" (its size).
  const char* image = nullptr;
  // World files: our coordinate system, its zone, and the peer's EPSG code.
  const char* world_system = nullptr;
  const char* zone = nullptr;
  int epsg = 0;
  // Set while a fault being mended elsewhere keeps the row from holding.
  const char* known_fault = nullptr;
};

constexpr double kRefused = -1.0;
// The stored bounds are the outer edges of the image; a pixel's centre may
// lie half a pixel inside them, and the bounds are texts of limited
// precision.
constexpr double kBoundsSlackPixels = 1.0;

// Where the files come from is in data/corpus/README.md.
// Tolerances hold what the calibration model can do: the handheld fits one
// affine latitude/longitude model over the points, so a map in a
// projection is placed within the curvature of that projection across the
// map: up to ~7 px on a 3900 px transverse Mercator sheet, ~60 px on a
// Lambert chart of a continent.
const CorpusRow kRows[] = {
    {"byte.tif", "GDAL", "GeoTIFF UTM 11N NAD27", Source::kGeoTiff, 0.5},
    {"RGB.byte.quarter.tif", "rasterio", "GeoTIFF UTM 18N WGS84, 240 km", Source::kGeoTiff, 1.0,
     nullptr, nullptr, nullptr, nullptr, 0},
    {"gtiff_towgs84_override.tif", "GDAL", "GeoTIFF Gauss-Krueger DHDN, TOWGS84", Source::kGeoTiff,
     0.5},
    {"epsg_2853_with_us_feet.tif", "GDAL", "GeoTIFF Lambert conic NAD83(HARN), US feet",
     Source::kGeoTiff, 0.5},
    {"geomatrix.tif", "GDAL", "GeoTIFF UTM 11N, rotated", Source::kGeoTiff, 0.5, nullptr, nullptr,
     nullptr, nullptr, 0},
    {"south-up.tif", "gdalraster", "GeoTIFF geographic, south up", Source::kGeoTiff, 0.5, nullptr,
     nullptr, nullptr, nullptr, 0},
    {"world.byte.tif", "rasterio", "GeoTIFF whole world -180..180", Source::kGeoTiff, 0.5, nullptr,
     nullptr, nullptr, nullptr, 0},
    {"nz_habitat_anticross_4326_1deg.tif", "GeoTIFF/test-data",
     "GeoTIFF geographic, edge at 180.0000023", Source::kGeoTiff, 0.5, nullptr, nullptr, nullptr,
     nullptr, 0},
    {"gcp.tif", "georust/gdal", "GeoTIFF with 10 control points", Source::kGeoTiff, 0.5, nullptr,
     nullptr, nullptr, nullptr, 0, "GCP GeoTIFFs refused"},
    {"nt_20201024_f18_nrt_s.tif", "GeoTIFF/test-data", "GeoTIFF south polar stereographic",
     Source::kGeoTiff, 1.0, nullptr, nullptr, nullptr, nullptr, 0,
     "polar map: bounds miss the pole; no affine model places it"},
    {"goes.tif", "rasterio", "GeoTIFF geostationary", Source::kGeoTiff, kRefused, "projection",
     nullptr, nullptr, nullptr, 0, "unsupported projection called no georeferencing"},
    {"transverse_mercator.kap", "GDAL", "BSB chart, transverse Mercator", Source::kChart, 0.5,
     nullptr, nullptr, nullptr, nullptr, 0},
    {"australia4c.kap", "GDAL", "BSB chart, Lambert conic 1:30M", Source::kChart, 60.0, nullptr,
     nullptr, nullptr, nullptr, 0, "bounds from two corners"},
    {"rgbsmall.kap", "GDAL", "BSB chart without reference points", Source::kChart, kRefused,
     nullptr, nullptr, nullptr, nullptr, 0},
    {"o37-122.map", "mapsoft2", "OziExplorer, WGS 84, TM sheet", Source::kOziMap, 2.0, nullptr,
     "o37-122.jpg"},
    {"9410_4633_14.map", "mapsoft2", "OziExplorer, WGS 84, Mercator tile", Source::kOziMap, 0.5,
     nullptr, "9410_4633_14.png"},
    {"m47-022.map", "mapsoft2", "OziExplorer, Pulkovo 1942 (2), TM sheet", Source::kOziMap, 2.0,
     nullptr, "m47-022.jpg"},
    {"ozi3.map", "mapsoft2", "OziExplorer, Pulkovo 1942 (1), TM sheet", Source::kOziMap, 5.0,
     nullptr, "ozi3.png"},
    {"ozi1a.map", "mapsoft2", "OziExplorer, Pulkovo 1942 (2), degrees", Source::kOziMap, 7.5,
     nullptr, "Page006.png"},
    {"ozi1b.map", "mapsoft2", "OziExplorer, the same map in grid points", Source::kOziMap, 7.5,
     nullptr, "Page006.png"},
    {"test.wld", "GDAL", "world file, decimal commas, rotated", Source::kWorldFile, 0.5, nullptr,
     "test.png", "3", "30S", 32630},
    {"byte_nogeoref.tfw", "GDAL", "world file read as degrees: latitude 200", Source::kWorldFile,
     kRefused, "200", "byte_nogeoref.tif", "2", nullptr, 4326},
};

std::string CorpusPath(const char* name) {
  const char* root = std::getenv("KV_TEST_DATA");
  return std::string(root ? root : "tests/calibration/data") + "/corpus/" + name;
}

struct LonLat {
  double lon = 0.0;
  double lat = 0.0;
};

struct PixelXY {
  double x = 0.0;
  double y = 0.0;
};

// The nine pixels every row is measured at.
std::vector<PixelXY> ProbePixels(int width, int height) {
  const double w = width - 1;
  const double h = height - 1;
  const double cx = width / 2;
  const double cy = height / 2;
  return {{0, 0}, {w, 0}, {0, h}, {w, h}, {cx, cy}, {cx, 0}, {cx, h}, {0, cy}, {w, cy}};
}

double WrappedDegrees(double degrees) {
  double d = std::fmod(degrees, 360.0);
  if (d > 180.0) d -= 360.0;
  if (d <= -180.0) d += 360.0;
  return d;
}

// ---- Our side: the record's points, fitted as the handheld applies them.

struct Affine {
  // lon = a0 + a1 x + a2 y; lat = b0 + b1 x + b2 y
  std::array<double, 3> lon{};
  std::array<double, 3> lat{};
};

// Least squares over the points; false when they do not span the image.
bool FitAffine(const std::vector<std::array<double, 4>>& points, Affine* fit) {
  double n[3][3] = {};
  double rl[3] = {};
  double rb[3] = {};
  for (const auto& p : points) {
    const double v[3] = {1.0, p[0], p[1]};
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) n[i][j] += v[i] * v[j];
      rl[i] += v[i] * p[2];
      rb[i] += v[i] * p[3];
    }
  }
  const double det = n[0][0] * (n[1][1] * n[2][2] - n[1][2] * n[2][1]) -
                     n[0][1] * (n[1][0] * n[2][2] - n[1][2] * n[2][0]) +
                     n[0][2] * (n[1][0] * n[2][1] - n[1][1] * n[2][0]);
  if (std::fabs(det) < 1e-12) return false;
  auto solve = [&](const double* r, std::array<double, 3>* out) {
    for (int k = 0; k < 3; ++k) {
      double m[3][3];
      for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) m[i][j] = j == k ? r[i] : n[i][j];
      }
      (*out)[k] = (m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                   m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                   m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0])) /
                  det;
    }
  };
  solve(rl, &fit->lon);
  solve(rb, &fit->lat);
  return true;
}

struct OurPositions {
  std::optional<Affine> fit;  // none: the bounds place the image
  cli::CalibrationResult result;
  LonLat At(const PixelXY& p) const {
    const CalibrationRecord& r = result.record;
    if (fit) {
      return {fit->lon[0] + fit->lon[1] * p.x + fit->lon[2] * p.y,
              fit->lat[0] + fit->lat[1] * p.x + fit->lat[2] * p.y};
    }
    return {r.west + (p.x + 0.5) / r.width * (r.east - r.west),
            r.north - (p.y + 0.5) / r.height * (r.north - r.south)};
  }
};

OurPositions ModelOf(cli::CalibrationResult result) {
  OurPositions our;
  const CalibrationRecord& record = result.record;
  std::vector<std::array<double, 4>> points;
  if (record.points) {
    for (int i = 0; i < CountPositionedPoints(record); ++i) {
      const CalibrationPoint& p = (*record.points)[static_cast<std::size_t>(i)];
      points.push_back({static_cast<double>(p.pixel_x), static_cast<double>(p.pixel_y), p.longitude,
                        p.latitude});
    }
  }
  Affine fit;
  if (points.size() >= 3 && FitAffine(points, &fit)) our.fit = fit;
  our.result = std::move(result);
  return our;
}

// ---- The peer: GDAL's georeferencing of the same file, then PROJ into the
// datum our record names.

struct OgrSrs {
  OGRSpatialReferenceH handle = nullptr;
  OgrSrs() = default;
  explicit OgrSrs(const char* wkt) {
    if (wkt && *wkt) {
      handle = OSRNewSpatialReference(wkt);
      if (handle) OSRSetAxisMappingStrategy(handle, OAMS_TRADITIONAL_GIS_ORDER);
    }
  }
  OgrSrs(const OgrSrs&) = delete;
  OgrSrs& operator=(const OgrSrs&) = delete;
  ~OgrSrs() {
    if (handle) OSRRelease(handle);
  }
};

// The geographic system of our record's datum row; none for WGS84.
std::optional<std::string> OurDatumProj(const CalibrationRecord& record) {
  DatumInfo info;
  const int row = NamedDatumRow(record);
  if (row <= kWgs84DatumRow || DatumInformation(row, &info) != kDatumKindDatum) {
    return std::nullopt;
  }
  // Some shifts are written with blanks after the commas.
  std::string shift;
  for (char c : DatumTable()[static_cast<std::size_t>(row)].second) {
    if (c != ' ') shift += c;
  }
  char text[160];
  std::snprintf(text, sizeof text, "+proj=longlat +a=%.4f +rf=%.10f +%s +no_defs",
                info.semi_major_axis, info.inverse_flattening, shift.c_str());
  return std::string(text);
}

class GdalPeer {
 public:
  ~GdalPeer() {
    if (gcp_transformer_) GDALDestroyGCPTransformer(gcp_transformer_);
    if (to_label_) OCTDestroyCoordinateTransformation(to_label_);
    if (to_own_) OCTDestroyCoordinateTransformation(to_own_);
    if (gcp_count_ > 0) {
      GDALDeinitGCPs(gcp_count_, gcps_);
      CPLFree(gcps_);
    }
  }

  // False with `why` set when GDAL gives no georeferencing.
  bool Open(const CorpusRow& row, std::string* why) {
    GDALAllRegister();
    std::string wkt;
    if (row.source == Source::kOziMap) {
      char* map_wkt = nullptr;
      if (!GDALLoadOziMapFile(CorpusPath(row.file).c_str(), geo_.data(), &map_wkt, &gcp_count_,
                              &gcps_)) {
        *why = "GDAL reads no georeferencing";
        return false;
      }
      wkt = map_wkt ? map_wkt : "";
      CPLFree(map_wkt);
      has_geo_ = gcp_count_ == 0;
    } else {
      const std::string path = CorpusPath(row.source == Source::kWorldFile ? row.image : row.file);
      GDALDatasetH dataset = GDALOpen(path.c_str(), GA_ReadOnly);
      if (!dataset) {
        *why = "GDAL cannot open it";
        return false;
      }
      has_geo_ = GDALGetGeoTransform(dataset, geo_.data()) == CE_None;
      wkt = GDALGetProjectionRef(dataset);
      if (!has_geo_ && GDALGetGCPCount(dataset) >= 3) {
        gcp_count_ = GDALGetGCPCount(dataset);
        gcps_ = GDALDuplicateGCPs(gcp_count_, GDALGetGCPs(dataset));
        wkt = GDALGetGCPProjection(dataset);
      }
      GDALClose(dataset);
    }
    if (row.epsg != 0) {
      OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
      OSRImportFromEPSG(srs, row.epsg);
      char* text = nullptr;
      OSRExportToWkt(srs, &text);
      wkt = text;
      CPLFree(text);
      OSRRelease(srs);
    }
    if (gcp_count_ > 0) {
      gcp_transformer_ = GDALCreateGCPTransformer(gcp_count_, gcps_, 1, FALSE);
    }
    if (!has_geo_ && !gcp_transformer_) {
      *why = "GDAL reads no geotransform and too few control points";
      return false;
    }
    file_srs_ = std::make_unique<OgrSrs>(wkt.c_str());
    if (!file_srs_->handle) {
      *why = "GDAL gives no coordinate system";
      return false;
    }
    // Geotransforms and GeoTIFF control points name the outer corner of
    // the top-left pixel; our points name pixel centres. Charts and
    // OziExplorer files number pixels the same way we do.
    half_pixel_ = row.source == Source::kGeoTiff || row.source == Source::kWorldFile ? 0.5 : 0.0;
    return true;
  }

  // Positions in the datum our record names (`our_datum`, none for
  // WGS84, where PROJ chooses the transformation), and in the file's own
  // datum. A datum of ours on the file's ellipsoid is taken to be the
  // file's own.
  bool Targets(const std::optional<std::string>& our_datum) {
    OgrSrs own;
    own.handle = OSRCloneGeogCS(file_srs_->handle);
    OgrSrs label;
    label.handle = OSRNewSpatialReference(nullptr);
    if (!our_datum) {
      OSRSetWellKnownGeogCS(label.handle, "WGS84");
    } else {
      OSRImportFromProj4(label.handle, our_datum->c_str());
      OGRErr error = OGRERR_NONE;
      if (std::fabs(OSRGetSemiMajor(own.handle, &error) - OSRGetSemiMajor(label.handle, &error)) <
              0.01 &&
          std::fabs(OSRGetInvFlattening(own.handle, &error) -
                    OSRGetInvFlattening(label.handle, &error)) < 1e-3) {
        OSRRelease(label.handle);
        label.handle = OSRClone(own.handle);
      }
    }
    OSRSetAxisMappingStrategy(own.handle, OAMS_TRADITIONAL_GIS_ORDER);
    OSRSetAxisMappingStrategy(label.handle, OAMS_TRADITIONAL_GIS_ORDER);
    to_label_ = OCTNewCoordinateTransformation(file_srs_->handle, label.handle);
    to_own_ = OCTNewCoordinateTransformation(file_srs_->handle, own.handle);
    return to_label_ && to_own_;
  }

  bool At(const PixelXY& pixel, bool own, LonLat* out) const {
    double x = pixel.x + half_pixel_;
    double y = pixel.y + half_pixel_;
    double z = 0.0;
    if (has_geo_) {
      const double gx = geo_[0] + x * geo_[1] + y * geo_[2];
      const double gy = geo_[3] + x * geo_[4] + y * geo_[5];
      x = gx;
      y = gy;
    } else {
      int ok = 0;
      if (!GDALGCPTransform(gcp_transformer_, FALSE, 1, &x, &y, &z, &ok) || !ok) return false;
    }
    if (!OCTTransform(own ? to_own_ : to_label_, 1, &x, &y, &z)) return false;
    *out = {x, y};
    return std::isfinite(x) && std::isfinite(y);
  }

  // How many pixels a difference in position is, from the local derivative
  // of GDAL's own mapping.
  double Pixels(const PixelXY& pixel, bool own, const LonLat& from, const LonLat& to) const {
    LonLat right;
    LonLat down;
    if (!At({pixel.x + 0.5, pixel.y}, own, &right) || !At({pixel.x, pixel.y + 0.5}, own, &down)) {
      return INFINITY;
    }
    const double j00 = WrappedDegrees(right.lon - from.lon) * 2;
    const double j10 = (right.lat - from.lat) * 2;
    const double j01 = WrappedDegrees(down.lon - from.lon) * 2;
    const double j11 = (down.lat - from.lat) * 2;
    const double det = j00 * j11 - j01 * j10;
    if (det == 0.0) return INFINITY;
    const double dlon = WrappedDegrees(to.lon - from.lon);
    const double dlat = to.lat - from.lat;
    const double dx = (j11 * dlon - j01 * dlat) / det;
    const double dy = (-j10 * dlon + j00 * dlat) / det;
    return std::hypot(dx, dy);
  }

 private:
  std::array<double, 6> geo_{};
  bool has_geo_ = false;
  int gcp_count_ = 0;
  GDAL_GCP* gcps_ = nullptr;
  void* gcp_transformer_ = nullptr;
  std::unique_ptr<OgrSrs> file_srs_;
  OGRCoordinateTransformationH to_label_ = nullptr;
  OGRCoordinateTransformationH to_own_ = nullptr;
  double half_pixel_ = 0.0;
};

// ---- Reading through the program, and the outcome of one row.

struct Reading {
  std::optional<cli::CalibrationResult> result;
  std::string refusal;  // the message, when refused
};

Reading ReadOurs(const CorpusRow& row) {
  cli::CalibrationRequest request;
  request.path = CorpusPath(row.file);
  request.negative_letters = "SWsw";
  Reading reading;
  std::ostringstream diagnostics;
  try {
    if (row.image) cli::ReadImageSize(CorpusPath(row.image), &request.width, &request.height);
    if (row.world_system) {
      request.world_system = WorldFileSystem{cli::ResolveCoordinateSystem(row.world_system),
                                             row.zone ? row.zone : "", ""};
    }
    reading.result = cli::ReadCalibrationSource(request, diagnostics);
  } catch (const cli::CalibrationSourceError& error) {
    reading.refusal = error.what();
  } catch (const LException& error) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(error.code()));
    reading.refusal = std::string(code) + " " + error.what() + " " + error.reason();
  }
  // The table names files by their names alone.
  const std::string folder = CorpusPath("");
  for (std::size_t at; (at = reading.refusal.find(folder)) != std::string::npos;) {
    reading.refusal.erase(at, folder.size());
  }
  return reading;
}

struct Outcome {
  bool held = false;
  std::string worst;      // pixels, or "refused"
  std::string own_datum;  // pixels, against GDAL in the file's own datum
  std::string bounds;     // pixels outside the stored bounds
  std::string note;
};

std::string Fixed(double value) {
  if (!std::isfinite(value)) return "n/a";
  char text[32];
  std::snprintf(text, sizeof text, value < 100 ? "%.2f" : "%.3g", value);
  return text;
}

// The position inside the stored bounds nearest to `position`; bounds
// whose west lies east of their east hold nothing.
std::optional<LonLat> NearestInBounds(const CalibrationRecord& record, const LonLat& position) {
  if (record.west > record.east || record.south > record.north) return std::nullopt;
  return LonLat{std::clamp(position.lon, record.west, record.east),
                std::clamp(position.lat, record.south, record.north)};
}

Outcome Measure(const CorpusRow& row) {
  Outcome outcome;
  Reading reading = ReadOurs(row);
  if (row.tolerance < 0) {
    outcome.worst = reading.result ? "read" : "refused";
    outcome.note = reading.result ? "not refused" : reading.refusal;
    outcome.held =
        !reading.result && (!row.refusal || reading.refusal.find(row.refusal) != std::string::npos);
    return outcome;
  }
  if (!reading.result) {
    outcome.worst = "refused";
    outcome.note = reading.refusal;
    return outcome;
  }
  const OurPositions ours = ModelOf(std::move(*reading.result));
  const CalibrationRecord& record = ours.result.record;
  GdalPeer peer;
  std::string why;
  if (!peer.Open(row, &why) || !peer.Targets(OurDatumProj(record))) {
    outcome.worst = "no peer";
    outcome.note = why;
    return outcome;
  }
  double worst = 0.0;
  double worst_own = 0.0;
  double outside = 0.0;
  for (const PixelXY& pixel : ProbePixels(record.width, record.height)) {
    LonLat theirs;
    LonLat own;
    if (!peer.At(pixel, false, &theirs) || !peer.At(pixel, true, &own)) continue;
    const LonLat mine = ours.At(pixel);
    worst = std::max(worst, peer.Pixels(pixel, false, theirs, mine));
    worst_own = std::max(worst_own, peer.Pixels(pixel, true, own, mine));
    if (HasBounds(record)) {
      const std::optional<LonLat> inside = NearestInBounds(record, theirs);
      outside = inside ? std::max(outside, peer.Pixels(pixel, false, theirs, *inside)) : INFINITY;
    }
  }
  outcome.worst = Fixed(worst);
  outcome.own_datum = Fixed(worst_own);
  outcome.bounds = HasBounds(record) ? Fixed(outside) : "none";
  outcome.note = "datum " + record.datum_name.value_or("WGS84");
  outcome.held = worst <= row.tolerance && outside <= kBoundsSlackPixels;
  return outcome;
}

class CorpusPeer : public ::testing::TestWithParam<CorpusRow> {};

TEST_P(CorpusPeer, PositionsAgreeWithGdalOrTheFileIsRefused) {
  const CorpusRow& row = GetParam();
  const Outcome outcome = Measure(row);
  // One line per file for the closing table (scripts/corpus-table.sh).
  std::printf("corpus|%s|%s|%s|%s|%s|%s|%s|%s\n", row.file, row.origin, row.kind,
              outcome.worst.c_str(), outcome.own_datum.c_str(), outcome.bounds.c_str(),
              row.known_fault ? row.known_fault : (outcome.held ? "ok" : "FAILS"),
              outcome.note.c_str());
  if (row.known_fault) {
    if (outcome.held)
      GTEST_SKIP() << "holds now: the known fault \"" << row.known_fault
                   << "\" is mended; drop the mark";
    GTEST_SKIP() << "known fault: " << row.known_fault << " (" << outcome.worst << " px, "
                 << outcome.note << ")";
  }
  if (row.tolerance < 0) {
    EXPECT_TRUE(outcome.held) << row.file << " should be refused"
                              << (row.refusal ? std::string(" naming ") + row.refusal : "") << ": "
                              << outcome.worst << " " << outcome.note;
    return;
  }
  EXPECT_TRUE(outcome.held) << row.file << ": worst " << outcome.worst << " px (tolerance "
                            << row.tolerance << "), outside the bounds " << outcome.bounds
                            << " px; " << outcome.note;
}

void PrintTo(const CorpusRow& row, std::ostream* out) { *out << row.file; }

std::string RowName(const ::testing::TestParamInfo<CorpusRow>& info) {
  std::string name = info.param.file;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Files, CorpusPeer, ::testing::ValuesIn(kRows), RowName);

}  // namespace
}  // namespace kv
