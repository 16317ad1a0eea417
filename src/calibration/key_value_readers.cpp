#include "calibration/key_value_readers.h"

#include "calibration/import_key_rules.h"
#include "geo/position_text.h"

namespace kv {
namespace {

constexpr int kCalSlotOffset = -1;
constexpr int kGeoSlotOffset = 0;

void ReadKeyLines(const std::vector<std::string>& lines, int slot_offset,
                  const ImportEnvironment& environment, CalibrationImport* import) {
  for (const std::string& line : lines) ApplyImportKeyLine(line, slot_offset, environment, import);
}

bool HoldsWorldFileNumbers(const std::vector<std::string>& lines) {
  if (lines.empty() || lines[0].empty() || lines[0].find('=') != std::string::npos) return false;
  const char first = lines[0][0];
  return (first >= '0' && first <= '9') || first == '-' || first == '+' || first == '.';
}

}  // namespace

void ReadCalLines(const std::vector<std::string>& lines, const ImportEnvironment& environment,
                  CalibrationImport* import) {
  ReadKeyLines(lines, kCalSlotOffset, environment, import);
}

void ReadGeoLines(const std::vector<std::string>& lines, const ImportEnvironment& environment,
                  CalibrationImport* import) {
  ReadKeyLines(lines, kGeoSlotOffset, environment, import);
}

bool ReadJprLines(const std::vector<std::string>& lines, const ImportEnvironment& environment,
                  CalibrationImport* import) {
  if (HoldsWorldFileNumbers(lines)) return true;
  ReadKeyLines(lines, kCalSlotOffset, environment, import);
  return false;
}

void ReadPcaLines(const std::vector<std::string>& lines, const ImportEnvironment& environment,
                  CalibrationImport* import) {
  struct Bound {
    std::string* text;
    bool latitude;
  };
  const Bound bounds[] = {{&import->west_text, false},
                          {&import->north_text, true},
                          {&import->east_text, false},
                          {&import->south_text, true}};
  for (std::size_t i = 0; i < 4 && i + 1 < lines.size(); ++i) {
    *bounds[i].text = FormatBoundText(ParsePosition(lines[i + 1], environment.negative_letters),
                                      bounds[i].latitude);
  }
}

}  // namespace kv
