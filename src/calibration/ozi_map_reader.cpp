#include "calibration/ozi_map_reader.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>

#include "calibration/calibration_line.h"
#include "calibration/import_key_rules.h"
#include "calibration/import_line_reader.h"
#include "geo/coordinate_systems.h"
#include "geo/datum_table.h"
#include "geo/grid_conversion.h"
#include "geo/number_text.h"
#include "geo/projection_table.h"
#include "geo/text_match.h"
#include "geo/transverse_mercator.h"

namespace kv {

namespace {

// The header, name and image lines of a real file fit many times over.
constexpr std::size_t kImageLineSearchBytes = 64 * 1024;

constexpr std::string_view kHeader = "OziExplorer";
constexpr std::size_t kDatumLine = 4;
constexpr std::size_t kProjectionNameLength = 99;
constexpr std::size_t kSetupFieldLength = 30;
constexpr std::string_view kPointPrefix = "Point";

// Fields without their surrounding blanks: the program pads its numbers.
std::vector<std::string> TrimmedFields(std::string_view line) {
  std::vector<std::string> fields = SplitImportFields(line);
  for (std::string& field : fields) field = std::string(TrimBlanks(field));
  return fields;
}

std::string Field(const std::vector<std::string>& fields, std::size_t index,
                  std::size_t limit = std::string::npos) {
  return index < fields.size() ? fields[index].substr(0, limit) : std::string();
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

void ApplyDatumLine(const std::string& line, CalibrationImport* import) {
  ApplyImportDatum(Field(TrimmedFields(line), 0), import);
}

// The map's own projection, for points given only as eastings and
// northings in it: the "Projection Setup" line may come after them.
struct OziProjection {
  bool transverse_mercator = false;
  std::optional<TransverseMercatorParameters> setup;
};

void ApplyProjection(const std::vector<std::string>& fields, CalibrationImport* import,
                     OziProjection* projection) {
  const std::string name = Field(fields, 1, kProjectionNameLength);
  if (EqualsIgnoreCase(name, "Latitude/Longitude")) return;
  std::string code;
  const bool found = CanonicalProjectionCode(name, &code);
  projection->transverse_mercator = found && code == "tmerc";
  std::string text = "proj=" + code;
  if (import->projparams) text += " " + *import->projparams;
  import->projparams = text;
  if (found) import->proj_mode = kCalibrationProjection;
}

// "Projection Setup, lat_0, lon_0, k, x_0, y_0, ...": a transverse Mercator
// needs at least its central meridian; an empty scale factor is 1.
std::optional<TransverseMercatorParameters> TransverseMercatorSetup(
    const std::vector<std::string>& fields) {
  if (Field(fields, 2).empty()) return std::nullopt;
  const std::string scale = Field(fields, 3);
  return TransverseMercatorParameters{
      scale.empty() ? 1.0 : ReadCalibrationReal(scale), ReadCalibrationReal(Field(fields, 5)),
      ReadCalibrationReal(Field(fields, 4)), ReadCalibrationReal(Field(fields, 1)),
      ReadCalibrationReal(Field(fields, 2))};
}

void ApplyProjectionSetup(const std::vector<std::string>& fields, CalibrationImport* import,
                          OziProjection* projection) {
  projection->setup = TransverseMercatorSetup(fields);
  // Field number and the parameter it becomes, in the order they are added.
  static constexpr struct {
    std::size_t field;
    std::string_view name;
  } kParameters[] = {{2, " lon_0="}, {1, " lat_0="}, {5, " y_0="},
                     {4, " x_0="},   {6, " lat_1="}, {7, " lat_2="}};
  std::string added;
  for (const auto& parameter : kParameters) {
    const std::string value = Field(fields, parameter.field, kSetupFieldLength);
    if (!value.empty()) added.append(parameter.name).append(value);
  }
  if (added.empty()) return;
  if (!import->projparams) import->projparams.emplace();
  import->projparams->append(added);
}

double DegreesAndMinutes(const std::vector<std::string>& fields, std::size_t degrees,
                         char negative_hemisphere) {
  const double value =
      LeadingDecimal(Field(fields, degrees)) + LeadingDecimal(Field(fields, degrees + 1)) / 60.0;
  const std::string hemisphere = Field(fields, degrees + 2);
  const bool negative = !hemisphere.empty() && hemisphere[0] == negative_hemisphere;
  return negative ? -value : value;
}

// Fields of a point given in grid form: "grid, 32, 500000.0, 5300000.0, N"
// (UTM zone, easting, northing, hemisphere).
constexpr std::size_t kGridZoneField = 13;
constexpr std::size_t kGridEastingField = 14;
constexpr std::size_t kGridNorthingField = 15;
constexpr std::size_t kGridHemisphereField = 16;

// A point given as easting and northing without a UTM zone: in the map's
// own projection, once that is known.
struct ProjectedPoint {
  std::size_t index;
  GridPoint grid;
};

// What the point lines gave, for the warnings once all are read.
struct PointTally {
  int listed = 0;   // point lines with a pixel position
  int skipped = 0;  // of those, lines without a position that could be used
  std::string reason;
  std::vector<ProjectedPoint> projected;
};

constexpr std::string_view kGridWithoutZone = "a point is given in a grid without a UTM zone";

int DatumRowOf(const CalibrationImport& import) {
  const int row = import.datum_name ? FindDatum(*import.datum_name) : kWgs84DatumRow;
  return row < 0 ? kWgs84DatumRow : row;
}

// A point given only as a UTM grid reference, converted on the map's
// datum. The hemisphere field decides the band our zone texts need: "N"
// (the first northern band) or "M" (the last southern one).
bool GridPosition(const std::vector<std::string>& fields, const ImportEnvironment& environment,
                  const CalibrationImport& import, LatLon* position) {
  const std::string zone = Field(fields, kGridZoneField);
  const std::string easting = Field(fields, kGridEastingField);
  const std::string northing = Field(fields, kGridNorthingField);
  if (zone.empty() || easting.empty() || northing.empty()) return false;
  const std::string hemisphere = Field(fields, kGridHemisphereField);
  const bool south = !hemisphere.empty() && (hemisphere[0] == 'S' || hemisphere[0] == 's');
  const GridReference grid{
      std::to_string(static_cast<int>(LeadingInteger(zone))) + (south ? "M" : "N"),
      ReadCalibrationReal(easting), ReadCalibrationReal(northing)};
  return GridToLatLon(environment.coordinates, DatumRowOf(import), grid, kSystemUtm, true,
                      position) == GridStatus::kConverted;
}

// "Point01,xy, 10, 20,in, deg, 47, 30.0,N, 8, 15.0,W, grid, ..."
void ApplyPoint(const std::vector<std::string>& fields, const ImportEnvironment& environment,
                CalibrationImport* import, PointTally* tally) {
  const std::string number = fields[0].substr(kPointPrefix.size());
  const double n = LeadingInteger(number);
  if (n < 1 || n > kCalibrationPointCount) return;
  if (Field(fields, 2).empty() && Field(fields, 3).empty()) return;  // an unused slot
  ++tally->listed;
  CalibrationPoint& point = import->points[static_cast<std::size_t>(n) - 1];
  point.pixel_x = point.adjusted_x = ReadCalibrationInteger(Field(fields, 2));
  point.pixel_y = point.adjusted_y = ReadCalibrationInteger(Field(fields, 3));
  if (!Field(fields, 6).empty()) {
    point.latitude = DegreesAndMinutes(fields, 6, 'S');
    point.longitude = DegreesAndMinutes(fields, 9, 'W');
    return;
  }
  LatLon position;
  if (GridPosition(fields, environment, *import, &position)) {
    point.latitude = position.latitude;
    point.longitude = position.longitude;
    return;
  }
  const std::string easting = Field(fields, kGridEastingField);
  const std::string northing = Field(fields, kGridNorthingField);
  if (!easting.empty() && !northing.empty() && Field(fields, kGridZoneField).empty()) {
    tally->projected.push_back({static_cast<std::size_t>(n) - 1,
                                {ReadCalibrationReal(northing), ReadCalibrationReal(easting)}});
    return;
  }
  ++tally->skipped;
  tally->reason = easting.empty() ? "a point has neither latitude and longitude nor a grid position"
                                  : std::string(kGridWithoutZone);
}

// Points in the map's own grid, converted on the map's datum when that grid
// is a transverse Mercator whose setup the file gives; any other projection
// would need parameters the file's lines do not carry.
void ApplyProjectedPoints(const OziProjection& projection, const ImportEnvironment& environment,
                          CalibrationImport* import, PointTally* tally) {
  for (const ProjectedPoint& projected : tally->projected) {
    if (!projection.transverse_mercator || !projection.setup) {
      ++tally->skipped;
      tally->reason = kGridWithoutZone;
      continue;
    }
    const LatLon position = TransverseMercatorInverse(
        environment.coordinates.ellipsoids, DatumRowOf(*import), *projection.setup, projected.grid);
    CalibrationPoint& point = import->points[projected.index];
    point.latitude = position.latitude;
    point.longitude = position.longitude;
  }
}

void WarnAboutPoints(const PointTally& tally, CalibrationImport* import) {
  if (tally.listed == tally.skipped) {
    import->warnings.push_back(
        {ImportWarningKind::kNoUsablePoints,
         tally.listed == 0 ? std::string("the file lists no points") : tally.reason});
  } else if (tally.skipped > 0) {
    import->warnings.push_back({ImportWarningKind::kPointsSkipped,
                                std::to_string(tally.skipped) + " of " +
                                    std::to_string(tally.listed) + ": " + tally.reason});
  }
}

void ApplyRuleLine(const std::string& line, const ImportEnvironment& environment,
                   CalibrationImport* import, OziProjection* projection, PointTally* tally) {
  const std::vector<std::string> fields = TrimmedFields(line);
  const std::string& first = fields[0];
  if (EqualsIgnoreCase(first, "Magnetic Variation")) return;
  if (EqualsIgnoreCase(first, "Map Projection")) {
    ApplyProjection(fields, import, projection);
  } else if (EqualsIgnoreCase(first, "Projection Setup")) {
    ApplyProjectionSetup(fields, import, projection);
  } else if (StartsWithIgnoreCase(first, kPointPrefix)) {
    ApplyPoint(fields, environment, import, tally);
  }
}

}  // namespace

ImportStatus ReadOziMapLines(const std::vector<std::string>& lines,
                             const ImportEnvironment& environment, CalibrationImport* import) {
  if (lines.empty() || !StartsWithIgnoreCase(lines[0], kHeader))
    return ImportStatus::kNotOziExplorer;
  if (lines.size() > kDatumLine) ApplyDatumLine(lines[kDatumLine], import);
  OziProjection projection;
  PointTally tally;
  for (std::size_t i = kOziFirstRuleLine; i < lines.size(); ++i) {
    ApplyRuleLine(lines[i], environment, import, &projection, &tally);
  }
  ApplyProjectedPoints(projection, environment, import, &tally);
  WarnAboutPoints(tally, import);
  return ImportStatus::kOk;
}

std::string OziMapImagePath(const std::string& map_path) {
  std::ifstream file(map_path, std::ios::binary);
  std::string head(kImageLineSearchBytes, '\0');
  file.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(file.gcount()));
  if (!StartsWithIgnoreCase(head, kHeader)) return {};
  // Line 2 names the image.
  std::size_t start = 0;
  for (int line = 0; line < 2; ++line) {
    start = head.find('\n', start);
    if (start == std::string::npos) return {};
    ++start;
  }
  const std::size_t end = head.find('\n', start);
  if (end == std::string::npos) return {};
  std::string line = head.substr(start, end - start);
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
  if (line.empty()) return {};
  std::error_code ignored;
  if (std::filesystem::is_regular_file(line, ignored)) return line;
  const std::size_t slash = line.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? line : line.substr(slash + 1);
  return (std::filesystem::path(map_path).parent_path() / name).string();
}

}  // namespace kv
