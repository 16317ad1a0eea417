#include "calibration/calibration_keys.h"

#include <array>
#include <string>

#include "calibration/calibration_line.h"
#include "geo/number_text.h"
#include "geo/text_match.h"

namespace kv {
namespace {

constexpr std::size_t kPointPrefixLength = 3;  // "c1_" to "c9_"

bool IsKey(std::string_view key, std::initializer_list<std::string_view> names) {
  for (std::string_view name : names) {
    if (EqualsIgnoreCase(key, name)) return true;
  }
  return false;
}

CalibrationPoint* PointSlot(CalibrationRecord* record, int number) {
  if (!record->points || number < 1 || number > kCalibrationPointCount) return nullptr;
  return &(*record->points)[static_cast<std::size_t>(number - 1)];
}

// "c3_lat" and its kin. False when the key is not a point key, so that it
// falls through to the other keys.
bool ApplyPointKey(std::string_view key, std::string_view value, CalibrationRecord* record) {
  if (key.size() <= kPointPrefixLength || (key[0] != 'c' && key[0] != 'C') || key[1] < '1' ||
      key[1] > '9' || key[2] != '_') {
    return false;
  }
  const int number = key[1] - '0';
  const std::string_view field = key.substr(kPointPrefixLength);
  CalibrationPoint* point = PointSlot(record, number);
  if (EqualsIgnoreCase(field, "lat")) {
    if (point) point->latitude = ReadCalibrationReal(value);
  } else if (EqualsIgnoreCase(field, "lon")) {
    if (point) point->longitude = ReadCalibrationReal(value);
  } else if (EqualsIgnoreCase(field, "x")) {
    if (point) point->pixel_x = point->adjusted_x = ReadCalibrationInteger(value);
  } else if (EqualsIgnoreCase(field, "y")) {
    if (point) point->pixel_y = point->adjusted_y = ReadCalibrationInteger(value);
  } else {
    return false;
  }
  return true;
}

// "vpa(1)" to "vpn(9)", matched whole.
bool ApplyCoefficientKey(std::string_view key, std::string_view value, CalibrationRecord* record) {
  static constexpr std::array<std::string_view, 4> kNames = {"vpa", "vpb", "vpm", "vpn"};
  if (key.size() != 6 || key[3] != '(' || key[4] < '1' || key[4] > '9' || key[5] != ')') {
    return false;
  }
  for (std::size_t which = 0; which < kNames.size(); ++which) {
    if (!EqualsIgnoreCase(key.substr(0, 3), kNames[which])) continue;
    if (CalibrationPoint* point = PointSlot(record, key[4] - '0')) {
      double* fields[] = {&point->vpa, &point->vpb, &point->vpm, &point->vpn};
      *fields[which] = ReadCalibrationReal(value);
    }
    return true;
  }
  return false;
}

void ApplyMapDatum(std::string_view value, CalibrationRecord* record) {
  if (value.empty() || value == "0") return;
  if (record->datum_name && !record->datum_name->empty()) return;
  // Cut where a "datum1" line would end the name, so that the name reads
  // back the same once written.
  record->datum_name = std::string(DatumNameOf(value).substr(0, kDatumFieldLength));
}

bool ApplyKindKey(std::string_view value, CalibrationRecord* record) {
  record->proj_mode = CalibrationKindFromText(value);
  return record->proj_mode != kCalibrationInvalid;
}

double* BoundField(std::string_view key, CalibrationRecord* record) {
  if (IsKey(key, {"kv_north", "nord", "latitudetl"})) return &record->north;
  if (IsKey(key, {"kv_west", "west", "longitudetl"})) return &record->west;
  if (IsKey(key, {"kv_east", "ost", "longitudebr"})) return &record->east;
  if (IsKey(key, {"kv_south", "sued", "latitudebr"})) return &record->south;
  return nullptr;
}

std::int32_t* IntegerField(std::string_view key, CalibrationRecord* record,
                           TwipsDivisors* divisors) {
  if (IsKey(key, {"pixel_left"})) return &record->pixel_left;
  if (IsKey(key, {"pixel_top"})) return &record->pixel_top;
  if (IsKey(key, {"caloffset_left"})) return &record->caloffset_left;
  if (IsKey(key, {"caloffset_top"})) return &record->caloffset_top;
  if (IsKey(key, {"twipsx"})) return &divisors->x;
  if (IsKey(key, {"twipsy"})) return &divisors->y;
  return nullptr;
}

double* ScaleField(std::string_view key, CalibrationRecord* record) {
  if (IsKey(key, {"pixel_scale_horz"})) return &record->pixel_scale_horz;
  if (IsKey(key, {"pixel_scale_vert"})) return &record->pixel_scale_vert;
  return nullptr;
}

bool ApplyTextKey(std::string_view key, std::string_view value, CalibrationRecord* record,
                  bool* consumed) {
  if (IsKey(key, {"projparams"})) {
    *consumed = !value.empty();
    if (*consumed) record->projparams = std::string(value);
  } else if (IsKey(key, {"map_datum"})) {
    ApplyMapDatum(value, record);
    *consumed = false;
  } else if (IsKey(key, {"datum1"})) {
    *consumed = !value.empty();
    if (*consumed) ApplyDatum1Value(value, record);
  } else if (IsKey(key, {"proj_mode"})) {
    *consumed = ApplyKindKey(value, record);
  } else {
    return false;
  }
  return true;
}

// One "#" field of a datum parameter text starting at `*position`, without
// its quotes; `*position` moves past the field's closing "#".
std::string NextDatumField(std::string_view text, std::size_t* position) {
  std::string field;
  bool quoted = false;
  std::size_t i = *position;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (c == '#' && !quoted) {
      ++i;
      break;
    } else {
      field.push_back(c);
    }
  }
  *position = i;
  return field;
}

}  // namespace

std::int32_t CalibrationKindFromText(std::string_view text) {
  if (EqualsIgnoreCase(text, "proj")) return kCalibrationProjection;
  if (EqualsIgnoreCase(text, "3x3")) return kCalibrationThreeByThree;
  if (EqualsIgnoreCase(text, "GCP")) return kCalibrationKnownPoints;
  if (text.empty() || EqualsIgnoreCase(text, "none")) return kCalibrationGeographic;
  return kCalibrationInvalid;
}

DatumParameters ReadDatumParameters(std::string_view text) {
  DatumParameters parameters{};
  std::size_t position = 0;
  for (double& parameter : parameters) {
    if (position >= text.size()) break;
    const std::string field = NextDatumField(text, &position);
    parameter = LeadingDecimal(std::string_view(field).substr(0, kDatumFieldLength));
  }
  return parameters;
}

std::string_view DatumNameOf(std::string_view value) {
  return value.substr(0, value.find_first_of(kDatumNameSeparators));
}

void ApplyDatum1Value(std::string_view value, CalibrationRecord* record) {
  const std::size_t separator = value.find_first_of(kDatumNameSeparators);
  record->datum_name = std::string(value.substr(0, separator));
  if (separator == std::string_view::npos) return;
  const std::string_view parameter_text = value.substr(separator + 1);
  // "Potsdam#" is what the writer makes of a datum without parameters; read
  // back as having none, so that the text and the record round-trip.
  if (parameter_text.empty()) {
    record->datum_parameter_text.reset();
    record->datum_parameters.reset();
    return;
  }
  record->datum_parameter_text = std::string(parameter_text);
  record->datum_parameters = ReadDatumParameters(parameter_text);
}

bool ApplyCalibrationKey(std::string_view key, std::string_view value, CalibrationRecord* record,
                         TwipsDivisors* divisors) {
  if (ApplyPointKey(key, value, record)) return true;
  if (ApplyCoefficientKey(key, value, record)) return true;
  bool consumed = false;
  if (ApplyTextKey(key, value, record, &consumed)) return consumed;
  if (std::int32_t* field = IntegerField(key, record, divisors)) {
    *field = ReadCalibrationInteger(value);
    return true;
  }
  if (IsKey(key, {"pixel_scale"})) {
    record->pixel_scale_horz = record->pixel_scale_vert = ReadCalibrationReal(value);
    return true;
  }
  if (double* field = ScaleField(key, record)) {
    *field = ReadCalibrationReal(value);
    return true;
  }
  if (double* field = BoundField(key, record)) {
    *field = ReadCalibrationReal(value);
    return true;
  }
  return IsKey(key, {"kv_horiz_meter"});
}

}  // namespace kv
