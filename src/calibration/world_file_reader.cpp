#include "calibration/world_file_reader.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <ostream>

#include "calibration/import_line_reader.h"
#include "calibration/nine_point_layout.h"
#include "geo/coordinate_systems.h"
#include "geo/datum_table.h"
#include "geo/grid_system_table.h"
#include "geo/number_text.h"
#include "geo/osgb.h"

namespace kv {
namespace {

constexpr std::size_t kWorldFileNumberCount = 6;

// One world file line as a number, or none when the whole line is not one.
// GIS tools in many locales write a decimal comma ("-0,38"); as GDAL reads
// these files, whichever of "," and "." comes first is the decimal mark.
std::optional<double> WorldFileNumber(std::string_view line) {
  std::string text(TrimBlanks(line));
  if (!text.empty() && text[0] == '+') text.erase(0, 1);
  const std::size_t mark = text.find_first_of(",.");
  if (mark != std::string::npos && text[mark] == ',') text[mark] = '.';
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

// The six numbers of the first six lines that are not blank (GDAL passes
// over blank lines too). A line that is no number, or fewer than six
// numbers, make the file unusable: reading zeros in their place would put
// the map somewhere, but not where the file says.
ImportStatus ReadValues(const std::vector<std::string>& lines, WorldFileValues* values,
                        std::string* detail) {
  double numbers[kWorldFileNumberCount] = {};
  std::size_t count = 0;
  for (std::size_t i = 0; i < lines.size() && count < kWorldFileNumberCount; ++i) {
    if (TrimBlanks(lines[i]).empty()) continue;
    const std::optional<double> number = WorldFileNumber(lines[i]);
    if (!number) {
      *detail = "line " + std::to_string(i + 1) + " is not a number: \"" +
                std::string(TrimBlanks(lines[i]).substr(0, 40)) + "\"";
      return ImportStatus::kMalformedFile;
    }
    numbers[count++] = *number;
  }
  if (count < kWorldFileNumberCount) {
    *detail = "line " + std::to_string(lines.size() + 1) +
              ": a world file holds six numbers, this one " + std::to_string(count);
    return ImportStatus::kMalformedFile;
  }
  *values = {numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], numbers[5]};
  return ImportStatus::kOk;
}

std::int16_t DatumRowOf(const std::optional<std::string>& datum_name) {
  if (!datum_name) return kWgs84DatumRow;
  const int row = FindDatum(*datum_name);
  return static_cast<std::int16_t>(row < 0 ? kWgs84DatumRow : row);
}

// An OSGB world file gives full grid metres, not square letters.
bool IsFullOsgb(const WorldFileSystem& system) {
  return system.system == kSystemOsgb && system.zone.empty();
}

bool GridToPosition(CoordinateContext& coordinates, int datum_row, const WorldFileSystem& system,
                    WorldXY world, LatLon* position) {
  if (!IsGrid(system.system)) {
    *position = {world.y, world.x};
    return true;
  }
  if (IsFullOsgb(system)) {
    *position = OsgbGridPointToLatLon({world.y, world.x});
    return true;
  }
  const GridReference grid{system.zone, world.x, world.y};
  return GridToLatLon(coordinates, datum_row, grid, system.system, true, position) ==
         GridStatus::kConverted;
}

GridReference PositionToGrid(CoordinateContext& coordinates, int datum_row,
                             const WorldFileSystem& system, LatLon position) {
  GridReference grid;
  if (IsFullOsgb(system)) {
    const GridPoint point = OsgbGridPoint(position);
    grid.northing = point.northing;
    grid.easting = point.easting;
    return grid;
  }
  // A position the system cannot take stays in degrees.
  static_cast<void>(LatLonToGrid(coordinates, datum_row, position, system.system, true, &grid));
  return grid;
}

void Print(std::ostream& out, const char* format, auto... values) {
  char line[512];
  const int length = std::snprintf(line, sizeof line, format, values...);
  if (length > 0) out.write(line, std::min<std::streamsize>(length, sizeof line - 1));
}

void WriteReport(const ImportEnvironment& environment, const WorldFileValues& values,
                 const CalibrationImport& import, std::int32_t width, std::int32_t height) {
  std::ostream& out = environment.diagnostics;
  const WorldFileSystem& system = environment.state.world_file_system;
  const WorldXY top_left = WorldPosition(values, 0, 0);
  const WorldXY bottom_right = WorldPosition(values, width, height);
  const WorldXY centre = WorldPosition(values, width / 2.0, height / 2.0);
  LatLon tl;
  LatLon br;
  LatLon c;
  GridToPosition(environment.coordinates, import.datum_row, system, top_left, &tl);
  GridToPosition(environment.coordinates, import.datum_row, system, bottom_right, &br);
  GridToPosition(environment.coordinates, import.datum_row, system, centre, &c);
  out << "Parse World File\r\n"
      << "================\r\n";
  Print(out,
        "tlXmetre %lf, tlYmetre %lf\r\nbrXmetre %lf, brYmetre %lf\r\ncXmetre %lf, cYmetre %lf\r\n",
        top_left.x, top_left.y, bottom_right.x, bottom_right.y, centre.x, centre.y);
  Print(out, "xScaleX %lf, xpixels %ld\r\n", values.a, static_cast<long>(width));
  Print(out, "yScaleY %lf, ypixels %ld\r\n", values.e, static_cast<long>(height));
  Print(out, "tllong %lf, tllat %lf\r\nbrlong %lf, brlat %lf\r\nclat %lf, clong %lf\r\n",
        tl.longitude, tl.latitude, br.longitude, br.latitude, c.latitude, c.longitude);
  for (std::size_t i = 0; i < import.points.size(); ++i) {
    const CalibrationPoint& point = import.points[i];
    const GridReference grid = PositionToGrid(environment.coordinates, import.datum_row, system,
                                              {point.latitude, point.longitude});
    Print(out,
          "Cal Point #%ld:\r\n\tLong %lf, Lat %lf\r\n\tdNorthing %lf, dEasting %lf\r\n\tx=%ld, "
          "y=%ld\r\n",
          static_cast<long>(i), point.longitude, point.latitude, grid.northing, grid.easting,
          static_cast<long>(point.pixel_x), static_cast<long>(point.pixel_y));
  }
  out << "=========================\r\n";
}

}  // namespace

ImportStatus ReadWorldFileLines(const std::vector<std::string>& lines,
                                const ImportEnvironment& environment, CalibrationImport* import,
                                std::int32_t width, std::int32_t height) {
  WorldFileValues values;
  const ImportStatus read = ReadValues(lines, &values, &import->malformed_detail);
  if (read != ImportStatus::kOk) return read;
  import->proj_mode = kCalibrationKnownPoints;
  import->world_file = true;
  import->world_values = values;
  if (width <= 0 || height <= 0) {
    environment.state.needs_image_size = true;
    return ImportStatus::kOk;
  }
  import->datum_row = DatumRowOf(import->datum_name);
  const WorldFileSystem& system = environment.state.world_file_system;
  const int datum_row = import->datum_row;
  const ImportStatus status = LayOutNinePoints(
      values, width, height,
      [&](WorldXY world, LatLon* position) {
        return GridToPosition(environment.coordinates, datum_row, system, world, position);
      },
      import);
  if (status == ImportStatus::kOk) WriteReport(environment, values, *import, width, height);
  return status;
}

bool WorldFileSystemFromGridCode(std::string_view code, WorldFileSystem* system) {
  const int index = FindGridSystem(code);
  if (index < 0) return false;
  *system = WorldFileSystem{index, {}, {}};
  return true;
}

}  // namespace kv
