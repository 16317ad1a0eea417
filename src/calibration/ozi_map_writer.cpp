#include "calibration/ozi_map_writer.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "calibration/calibration_placement.h"
#include "geo/datum_table.h"
#include "geo/text_match.h"

namespace kv {
namespace {

// OziExplorer's own names of the datum rows it knows, as its datum list
// spells them; the importer reads every one of them back to the same row.
struct OziDatum {
  std::string_view code;
  std::string_view name;
};
constexpr std::array<OziDatum, 42> kOziDatums = {{
    {"WGS84", "WGS 84"},
    {"Austria", "Austrian"},
    {"AGD66", "Australian Geodetic 1966"},
    {"AGD84", "Australian Geodetic 1984"},
    {"CH1903", "CH-1903"},
    {"Eur1950", "European 1950"},
    {"Eur1950-D", "European 1950 (Spain and Portugal)"},
    {"Eur1979", "European 1979"},
    {"GDA94", "Australian Geocentric 1994 (GDA94)"},
    {"GD49", "NZGD1949"},
    {"GGRS87", "GGRS 87"},
    {"HKong63", "Hong Kong 1963"},
    {"Irelnd65", "Ireland 1965"},
    {"Kertau48", "Kertau 1948"},
    {"NAD27Alaska", "NAD27 Alaska"},
    {"NAD27Bahamas", "NAD27 Bahamas"},
    {"NAD27Canada", "NAD27 Canada"},
    {"NAD27CanalZn", "NAD27 Canal Zone"},
    {"NAD27Caribbn", "NAD27 Caribbean"},
    {"NAD27Cent", "NAD27 Central"},
    {"NAD27CONUS", "NAD27 CONUS"},
    {"NAD27Cuba", "NAD27 Cuba"},
    {"NAD27Grnland", "NAD27 Greenland"},
    {"NAD27Mexico", "NAD27 Mexico"},
    {"NAD27SanSal", "NAD27 San Salvador"},
    {"NAD83", "NAD83"},
    {"NTrFrance", "NTF France"},
    {"Oman", "Oman"},
    {"OrdSrvyGrtBritn", "Ord Srvy Grt Britn"},
    {"Potsdam", "Potsdam Rauenberg DHDN"},
    {"ProvSAm56", "Prov So Amrican 1956"},
    {"ProvSChln63", "Prov So Chilean 1963"},
    {"PuertoRico", "Puerto Rico"},
    {"Pulkovo1942", "Pulkovo 1942 (1)"},
    {"Rome40", "Rome 1940"},
    {"Rijksdriehoek", "Rijksdriehoeksmeting"},
    {"RT90", "RT 90"},
    {"SoAm69", "South American 1969"},
    {"SoAsia", "South Asia"},
    {"SEBase", "Southeast Base"},
    {"SWBase", "Southwest Base"},
    {"Tokyo", "Tokyo"},
}};

// OziExplorer keeps 30 point lines whether they are used or not.
constexpr int kOziPointLines = 30;

// Minutes with eight decimals: 1e-8 minute is 0.02 mm on the ground.
constexpr double kMinuteSteps = 1e8;

struct DegreesMinutes {
  long long degrees = 0;
  double minutes = 0.0;
  bool negative = false;
};

// Rounded as a whole so that the minutes never come out as 60.
DegreesMinutes SplitDegrees(double value) {
  const auto steps = static_cast<long long>(std::llround(std::fabs(value) * 60.0 * kMinuteSteps));
  const auto per_degree = static_cast<long long>(60.0 * kMinuteSteps);
  return {steps / per_degree, static_cast<double>(steps % per_degree) / kMinuteSteps, value < 0};
}

std::string PointLine(int number, const PlacingPoint* point) {
  char line[200];
  if (point == nullptr) {
    std::snprintf(line, sizeof line,
                  "Point%02d,xy,     ,     ,in, deg,    ,        ,N,    ,        ,E, grid,   ,"
                  "           ,           ,N\r\n",
                  number);
    return line;
  }
  const DegreesMinutes lat = SplitDegrees(point->position.latitude);
  const DegreesMinutes lon = SplitDegrees(point->position.longitude);
  std::snprintf(line, sizeof line,
                "Point%02d,xy,%5d,%5d,in, deg,%4lld,%12.8f,%c,%4lld,%12.8f,%c, grid,   ,"
                "           ,           ,N\r\n",
                number, point->pixel.x, point->pixel.y, lat.degrees, lat.minutes,
                lat.negative ? 'S' : 'N', lon.degrees, lon.minutes, lon.negative ? 'W' : 'E');
  return line;
}

std::string TitleOf(std::string_view image_name) {
  const std::size_t slash = image_name.find_last_of("/\\");
  std::string_view title =
      slash == std::string_view::npos ? image_name : image_name.substr(slash + 1);
  const std::size_t dot = title.rfind('.');
  return std::string(dot == std::string_view::npos ? title : title.substr(0, dot));
}

}  // namespace

std::string OziDatumName(const CalibrationRecord& record) {
  std::string_view code;
  if (DatumCode(NamedDatumRow(record), &code) != 0) return "WGS 84";
  for (const OziDatum& datum : kOziDatums) {
    if (EqualsIgnoreCase(datum.code, code)) return std::string(datum.name);
  }
  return std::string(code);
}

std::optional<std::string> OziMapText(const CalibrationRecord& record,
                                      std::string_view image_name) {
  const std::vector<PlacingPoint> points = PlacingPoints(record);
  if (points.empty()) return std::nullopt;
  const std::string datum = OziDatumName(record);
  std::string text = "OziExplorer Map Data File Version 2.2\r\n";
  text += TitleOf(image_name) + "\r\n";
  text += std::string(image_name) + "\r\n";
  text += "1 ,Map Code,\r\n";
  text += datum + ",WGS 84,   0.0000,   0.0000,WGS 84\r\n";
  text += "Reserved 1\r\nReserved 2\r\n";
  text += "Magnetic Variation,,,E\r\n";
  text += "Map Projection,Latitude/Longitude,PolyCal,No,AutoCalOnly,No,BSBUseWPX,No\r\n";
  for (int i = 0; i < kOziPointLines; ++i) {
    const auto index = static_cast<std::size_t>(i);
    text += PointLine(i + 1, index < points.size() ? &points[index] : nullptr);
  }
  text += "Projection Setup,,,,,,,,,,\r\n";
  text += "Map Feature = MF ; Map Comment = MC     These follow if they exist\r\n";
  text += "Track File = TF      These follow if they exist\r\n";
  text += "Moving Map Parameters = MM?    These follow if they exist\r\n";
  text += "MOP,Map Open Position,0,0\r\n";
  char size[80];
  std::snprintf(size, sizeof size, "IWH,Map Image Width/Height,%d,%d\r\n", record.width,
                record.height);
  text += size;
  return text;
}

}  // namespace kv
