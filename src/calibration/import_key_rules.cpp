#include "calibration/import_key_rules.h"

#include <initializer_list>
#include <string>

#include "calibration/calibration_line.h"
#include "calibration/import_datum.h"
#include "calibration/import_line_reader.h"
#include "geo/number_text.h"
#include "geo/position_text.h"
#include "geo/projection_table.h"
#include "geo/text_match.h"
#include "geo/utm.h"

namespace kv {
namespace {

struct KeyValue {
  std::string key;
  std::string_view value;
};

bool SplitKeyValue(std::string_view line, KeyValue* entry) {
  line = line.substr(std::min(line.size(), line.find_first_not_of(' ')));
  const std::size_t scan = std::min(line.size(), kImportKeyScanLength);
  for (std::size_t i = 0; i < scan; ++i) {
    const char c = line[i];
    if (c == ';') return false;
    if (c == '=') {
      const std::string_view value = line.substr(i + 1);
      entry->value = value.substr(std::min(value.size(), value.find_first_not_of(' ')));
      return !entry->key.empty();
    }
    if (c != ' ' && entry->key.size() < kImportKeyLength) entry->key.push_back(c);
  }
  return false;
}

bool IsKey(std::string_view key, std::initializer_list<std::string_view> names) {
  for (std::string_view name : names) {
    if (EqualsIgnoreCase(key, name)) return true;
  }
  return false;
}

void AppendProjectionParameter(CalibrationImport* import, std::string_view name,
                               std::string_view value) {
  if (!import->projparams) import->projparams.emplace();
  import->projparams->append(" ").append(name).append("=").append(value);
}

bool ApplyBoundKey(const KeyValue& entry, const ImportEnvironment& environment,
                   CalibrationImport* import) {
  std::string* text = nullptr;
  bool latitude = true;
  if (IsKey(entry.key, {"latitudeTL"})) {
    text = &import->north_text;
  } else if (IsKey(entry.key, {"longitudeTL"})) {
    text = &import->west_text;
    latitude = false;
  } else if (IsKey(entry.key, {"latitudeBR"})) {
    text = &import->south_text;
  } else if (IsKey(entry.key, {"longitudeBR"})) {
    text = &import->east_text;
    latitude = false;
  } else {
    return false;
  }
  *text = FormatBoundText(ParsePosition(entry.value, environment.negative_letters), latitude);
  return true;
}

// "p1" to "p6" and "pp": the PROJ.4 parameter each stands for; "p2" (the
// scale factor) is not carried.
std::string_view ParameterName(std::string_view key) {
  if (IsKey(key, {"pp"})) return "lon_0";
  if (IsKey(key, {"p1"})) return "lat_0";
  if (IsKey(key, {"p3"})) return "y_0";
  if (IsKey(key, {"p4"})) return "x_0";
  if (IsKey(key, {"p5"})) return "lat_1";
  if (IsKey(key, {"p6"})) return "lat_2";
  return {};
}

bool ApplyProjectionKey(const KeyValue& entry, CalibrationImport* import) {
  if (IsKey(entry.key, {"pr"})) {
    std::string code;
    if (CanonicalProjectionCode(entry.value, &code)) import->proj_mode = kCalibrationProjection;
    AppendProjectionParameter(import, "proj", code);
    return true;
  }
  if (IsKey(entry.key, {"zn"})) {
    AppendProjectionParameter(import, "lon_0", FormatCalibrationReal(UtmZoneMeridian(entry.value)));
    return true;
  }
  const std::string_view name = ParameterName(entry.key);
  if (name.empty()) return false;
  AppendProjectionParameter(import, name, entry.value);
  return true;
}

// "rp3" = "47.5, 8.25, 10, 20": latitude, longitude, pixel x, pixel y.
void ApplyReferencePoint(const KeyValue& entry, int slot_offset, CalibrationImport* import) {
  const std::string_view number = std::string_view(entry.key).substr(2);
  if (number.empty() || number[0] < '0' || number[0] > '9') return;
  const double slot = LeadingInteger(number) + slot_offset;
  if (slot < 0 || slot >= kCalibrationPointCount) return;
  std::string_view value = entry.value;
  if (!value.empty() && value[0] == '"') value.remove_prefix(1);
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (start <= value.size()) {
    const std::size_t comma = value.find(',', start);
    fields.emplace_back(value.substr(start, comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  fields.resize(std::max<std::size_t>(fields.size(), 4));
  CalibrationPoint& point = import->points[static_cast<std::size_t>(slot)];
  point.latitude = LeadingDecimal(fields[0]);
  point.longitude = LeadingDecimal(fields[1]);
  point.pixel_x = point.adjusted_x = ReadCalibrationInteger(fields[2]);
  point.pixel_y = point.adjusted_y = ReadCalibrationInteger(fields[3]);
}

}  // namespace

void ApplyImportKeyLine(std::string_view line, int reference_slot_offset,
                        const ImportEnvironment& environment, CalibrationImport* import) {
  KeyValue entry;
  if (!SplitKeyValue(line, &entry)) return;
  if (ApplyBoundKey(entry, environment, import)) return;
  if (IsKey(entry.key, {"imageType", "it"})) {
    import->image_extension = std::string(entry.value.substr(0, kImageExtensionLength));
  } else if (IsKey(entry.key, {"name", "nm"})) {
    import->image_name = std::string(entry.value.substr(0, kImageNameLength));
  } else if (IsKey(entry.key, {"dm"})) {
    ApplyImportDatum(TrimBlanks(entry.value), import);
  } else if (IsKey(entry.key, {"p2", "sc"})) {
    return;
  } else if (ApplyProjectionKey(entry, import)) {
    return;
  } else if (entry.key.size() > 2 && (entry.key[0] == 'r' || entry.key[0] == 'R') &&
             (entry.key[1] == 'p' || entry.key[1] == 'P')) {
    ApplyReferencePoint(entry, reference_slot_offset, import);
  }
}

void ApplyImportDatum(std::string_view name, CalibrationImport* import) {
  if (name.empty()) return;
  std::string code;
  if (KnownDatumCode(name, &code)) {
    import->datum_name = std::move(code);
    return;
  }
  import->warnings.push_back({ImportWarningKind::kUnknownDatum, std::string(name)});
}

}  // namespace kv
