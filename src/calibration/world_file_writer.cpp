#include "calibration/world_file_writer.h"

#include <cpl_conv.h>
#include <ogr_srs_api.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "base/file_extension.h"
#include "base/replace_file_writer.h"
#include "calibration/calibration_placement.h"
#include "geo/coordinate_systems.h"
#include "geo/datum_table.h"
#include "geo/text_match.h"

namespace kv {
namespace {

// EPSG's WGS 84 / UTM systems: 32601 to 32660 north, 32701 to 32760 south.
constexpr int kWgs84UtmNorth = 32600;
constexpr int kWgs84UtmSouth = 32700;

struct SrsRelease {
  void operator()(void* srs) const { OSRRelease(static_cast<OGRSpatialReferenceH>(srs)); }
};
using Srs = std::unique_ptr<void, SrsRelease>;

struct TransformRelease {
  void operator()(void* transform) const {
    OCTDestroyCoordinateTransformation(static_cast<OGRCoordinateTransformationH>(transform));
  }
};
using Transform = std::unique_ptr<void, TransformRelease>;

OGRSpatialReferenceH Handle(const Srs& srs) { return static_cast<OGRSpatialReferenceH>(srs.get()); }

// The geographic system of a datum row: WGS84 by its EPSG definition, any
// other datum from its ellipsoid and its shift to WGS84 as the table
// publishes them.
Srs GeographicSystem(int datum_row) {
  Srs srs(OSRNewSpatialReference(nullptr));
  DatumInfo info;
  if (datum_row == kWgs84DatumRow || DatumInformation(datum_row, &info) != kDatumKindDatum ||
      info.semi_major_axis == 0.0) {
    if (OSRImportFromEPSG(Handle(srs), 4326) != OGRERR_NONE) return nullptr;
  } else {
    std::string shift;
    for (char c : DatumTable()[static_cast<std::size_t>(datum_row)].second) {
      if (c != ' ') shift += c;
    }
    char definition[200];
    std::snprintf(definition, sizeof definition, "+proj=longlat +a=%.4f +rf=%.10f +%s +no_defs",
                  info.semi_major_axis, info.inverse_flattening, shift.c_str());
    if (OSRImportFromProj4(Handle(srs), definition) != OGRERR_NONE) return nullptr;
  }
  OSRSetAxisMappingStrategy(Handle(srs), OAMS_TRADITIONAL_GIS_ORDER);
  return srs;
}

// "32U": zone 32, north of the equator (bands above "M").
bool ParseUtmZone(std::string_view text, int* zone, bool* north) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  int number = 0;
  std::size_t digits = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++digits) {
    number = number * 10 + (text[i] - '0');
  }
  while (i < text.size() && text[i] == ' ') ++i;
  if (digits == 0 || digits > 2 || number < 1 || number > 60 || i >= text.size()) return false;
  *zone = number;
  *north = text[i] > 'M';
  return true;
}

std::string DatumCodeOf(int datum_row) {
  std::string_view code;
  return DatumCode(datum_row, &code) == 0 ? std::string(code) : std::string("WGS84");
}

ExportOutcome Unsupported(std::string detail) {
  ExportOutcome outcome;
  outcome.status = ExportStatus::kUnsupportedSystem;
  outcome.detail = std::move(detail);
  return outcome;
}

// The target system: the geographic one itself, or UTM on its datum.
ExportOutcome TargetSystem(const Srs& geographic, int datum_row,
                           const std::optional<WorldFileSystem>& system, Srs* target) {
  if (!system || !IsGrid(system->system)) {
    target->reset(OSRClone(Handle(geographic)));
    return {};
  }
  const std::string name(CoordinateSystemName(system->system));
  if (system->system != kSystemUtm) return Unsupported(name);
  int zone = 0;
  bool north = true;
  if (!ParseUtmZone(system->zone, &zone, &north)) return Unsupported(name + " " + system->zone);
  if (!system->datum.empty() && !EqualsIgnoreCase(system->datum, DatumCodeOf(datum_row))) {
    return Unsupported(name + " on " + system->datum + ", not " + DatumCodeOf(datum_row));
  }
  if (datum_row == kWgs84DatumRow) {
    target->reset(OSRNewSpatialReference(nullptr));
    if (OSRImportFromEPSG(Handle(*target), (north ? kWgs84UtmNorth : kWgs84UtmSouth) + zone) !=
        OGRERR_NONE) {
      return Unsupported(name);
    }
  } else {
    target->reset(OSRClone(Handle(geographic)));
    const std::string title =
        DatumCodeOf(datum_row) + " / UTM zone " + std::to_string(zone) + (north ? "N" : "S");
    if (OSRSetUTM(Handle(*target), zone, north) != OGRERR_NONE ||
        OSRSetProjCS(Handle(*target), title.c_str()) != OGRERR_NONE) {
      return Unsupported(name);
    }
  }
  OSRSetAxisMappingStrategy(Handle(*target), OAMS_TRADITIONAL_GIS_ORDER);
  return {};
}

std::string WktOf(const Srs& srs) {
  char* text = nullptr;
  std::string wkt;
  if (OSRExportToWkt(Handle(srs), &text) == OGRERR_NONE && text != nullptr) wkt = text;
  CPLFree(text);
  return wkt;
}

// A, D, B, E, C, F: seventeen significant digits give back every double.
std::string WorldText(const WorldFileValues& v) {
  std::string text;
  for (double value : {v.a, v.d, v.b, v.e, v.c, v.f}) {
    char line[40];
    std::snprintf(line, sizeof line, "%.17g\n", value);
    text += line;
  }
  return text;
}

std::optional<std::string> ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

ExportOutcome MakeWorldFile(const CalibrationRecord& record,
                            const std::optional<WorldFileSystem>& system,
                            WorldFileContents* contents) {
  const std::vector<PlacingPoint> points = PlacingPoints(record);
  if (points.empty()) return ExportFailure(ExportStatus::kNoPlacement);
  if (ExportOutcome outcome = CheckNamedDatum(record); outcome.status != ExportStatus::kOk) {
    return outcome;
  }
  const int datum_row = NamedDatumRow(record);
  const Srs geographic = GeographicSystem(datum_row);
  if (!geographic) return ExportFailure(ExportStatus::kNoCoordinateSystem);
  Srs target;
  if (ExportOutcome outcome = TargetSystem(geographic, datum_row, system, &target);
      outcome.status != ExportStatus::kOk) {
    return outcome;
  }
  const Transform transform(OCTNewCoordinateTransformation(Handle(geographic), Handle(target)));
  if (!transform) return ExportFailure(ExportStatus::kNoCoordinateSystem);
  std::vector<ControlPoint> control = LatLonControlPoints(points);
  for (ControlPoint& point : control) {
    if (!OCTTransform(static_cast<OGRCoordinateTransformationH>(transform.get()), 1, &point.world.x,
                      &point.world.y, nullptr)) {
      return ExportFailure(ExportStatus::kNoCoordinateSystem);
    }
  }
  const std::optional<AffineFit> fit = FitControlPoints(control);
  if (!fit) return ExportFailure(ExportStatus::kNoPlacement);
  contents->worst_pixels = fit->worst_pixels;
  if (fit->worst_pixels > kWorldFileTolerancePixels) {
    ExportOutcome outcome = ExportFailure(ExportStatus::kNotAffine);
    outcome.worst_pixels = fit->worst_pixels;
    return outcome;
  }
  contents->world_text = WorldText(fit->to_world);
  contents->prj_text = WktOf(target);
  if (contents->prj_text.empty()) return ExportFailure(ExportStatus::kNoCoordinateSystem);
  return {};
}

std::string PrjPathOf(std::string_view world_path) {
  return std::string(PathWithoutExtension(world_path)) + ".prj";
}

ExportOutcome WriteWorldFiles(const std::string& world_path, const WorldFileContents& contents) {
  const std::string prj_path = PrjPathOf(world_path);
  const std::optional<std::string> old_world = ReadWhole(world_path);
  ExportOutcome outcome;
  outcome.system_error = ReplaceFileContents(world_path, contents.world_text);
  if (outcome.system_error == 0) {
    outcome.system_error = ReplaceFileContents(prj_path, contents.prj_text);
    if (outcome.system_error != 0) {
      outcome.failed_path = prj_path;
      if (old_world) {
        static_cast<void>(ReplaceFileContents(world_path, *old_world));
      } else {
        std::error_code ignored;
        std::filesystem::remove(world_path, ignored);
      }
    }
  }
  if (outcome.system_error != 0) outcome.status = ExportStatus::kWriteFailed;
  return outcome;
}

}  // namespace kv
