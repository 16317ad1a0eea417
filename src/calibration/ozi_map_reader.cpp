#include "calibration/ozi_map_reader.h"

#include <string_view>

#include "calibration/calibration_line.h"
#include "calibration/import_datum.h"
#include "calibration/import_line_reader.h"
#include "geo/number_text.h"
#include "geo/projection_table.h"
#include "geo/text_match.h"

namespace kv {
namespace {

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
  std::string code;
  if (KnownDatumCode(Field(TrimmedFields(line), 0), &code)) import->datum_name = code;
}

void ApplyProjection(const std::vector<std::string>& fields, CalibrationImport* import) {
  const std::string name = Field(fields, 1, kProjectionNameLength);
  if (EqualsIgnoreCase(name, "Latitude/Longitude")) return;
  std::string code;
  const bool found = CanonicalProjectionCode(name, &code);
  std::string text = "proj=" + code;
  if (import->projparams) text += " " + *import->projparams;
  import->projparams = text;
  if (found) import->proj_mode = kCalibrationProjection;
}

void ApplyProjectionSetup(const std::vector<std::string>& fields, CalibrationImport* import) {
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

// "Point01,xy, 10, 20,in, deg, 47, 30.0,N, 8, 15.0,W, grid, ..."
void ApplyPoint(const std::vector<std::string>& fields, CalibrationImport* import) {
  const std::string number = fields[0].substr(kPointPrefix.size());
  const double n = LeadingInteger(number);
  if (n < 1 || n > kCalibrationPointCount) return;
  CalibrationPoint& point = import->points[static_cast<std::size_t>(n) - 1];
  point.pixel_x = point.adjusted_x = ReadCalibrationInteger(Field(fields, 2));
  point.pixel_y = point.adjusted_y = ReadCalibrationInteger(Field(fields, 3));
  if (Field(fields, 6).empty()) return;
  point.latitude = DegreesAndMinutes(fields, 6, 'S');
  point.longitude = DegreesAndMinutes(fields, 9, 'W');
}

void ApplyRuleLine(const std::string& line, CalibrationImport* import) {
  const std::vector<std::string> fields = TrimmedFields(line);
  const std::string& first = fields[0];
  if (EqualsIgnoreCase(first, "Magnetic Variation")) return;
  if (EqualsIgnoreCase(first, "Map Projection")) {
    ApplyProjection(fields, import);
  } else if (EqualsIgnoreCase(first, "Projection Setup")) {
    ApplyProjectionSetup(fields, import);
  } else if (StartsWithIgnoreCase(first, kPointPrefix)) {
    ApplyPoint(fields, import);
  }
}

}  // namespace

int ReadOziMapLines(const std::vector<std::string>& lines, CalibrationImport* import) {
  if (lines.empty() || !StartsWithIgnoreCase(lines[0], kHeader)) return kImportNotOziExplorer;
  if (lines.size() > kDatumLine) ApplyDatumLine(lines[kDatumLine], import);
  for (std::size_t i = kOziFirstRuleLine; i < lines.size(); ++i) ApplyRuleLine(lines[i], import);
  return kImportOk;
}

}  // namespace kv
