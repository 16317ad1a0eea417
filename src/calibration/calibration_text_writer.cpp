#include "calibration/calibration_text_writer.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "base/file_extension.h"
#include "base/replace_file_writer.h"
#include "calibration/calibration_line.h"
#include "geo/text_match.h"

namespace kv {
namespace {

std::string_view KindText(std::int32_t kind) {
  switch (kind) {
    case kCalibrationProjection:
      return "proj";
    case kCalibrationThreeByThree:
      return "3x3";
    case kCalibrationKnownPoints:
      return "GCP";
    default:
      return "";
  }
}

// True when a word of `line` reads as an infinite or undefined number
// ("nan", "-inf", "1e999"). Such a value means nothing to the handheld and
// is read back as garbage, so a line holding one is not written.
bool HoldsNonFiniteNumber(std::string_view line) {
  constexpr std::string_view kSeparators = "=,; \t\r";
  std::size_t start = 0;
  while (start < line.size()) {
    std::size_t end = line.find_first_of(kSeparators, start);
    if (end == std::string_view::npos) end = line.size();
    if (end > start) {
      const std::string word(line.substr(start, end - start));
      char* stop = nullptr;
      const double value = std::strtod(word.c_str(), &stop);
      if (stop == word.c_str() + word.size() && !std::isfinite(value)) return true;
    }
    start = end + 1;
  }
  return false;
}

// The lines of `trailing` that hold no such number.
void AppendFiniteLines(std::string_view trailing, std::string* text) {
  while (!trailing.empty()) {
    std::size_t end = trailing.find('\n');
    end = end == std::string_view::npos ? trailing.size() : end + 1;
    const std::string_view line = trailing.substr(0, end);
    if (!HoldsNonFiniteNumber(line)) text->append(line);
    trailing.remove_prefix(end);
  }
}

// Type digit "7" marks a real or text value, "4" an integer.
void AddRealLine(std::string* text, std::string_view key, double value) {
  text->append(key).append("=7=").append(FormatCalibrationReal(value)).push_back('\n');
}

void AddTextLine(std::string* text, std::string_view key, std::string_view value) {
  if (HoldsNonFiniteNumber(value)) return;
  text->append(key).append("=7=").append(value).push_back('\n');
}

void AddIntegerLine(std::string* text, std::string_view key, std::int32_t value, char type) {
  text->append(key).push_back('=');
  text->push_back(type);
  text->append("=").append(std::to_string(value)).push_back('\n');
}

bool IsWgs84Name(std::string_view name) {
  return EqualsIgnoreCase(name, "WGS84") || EqualsIgnoreCase(name, "WGS 84");
}

void AddDatumLine(const CalibrationRecord& record, std::string* text) {
  const bool named = record.datum_name && !IsWgs84Name(*record.datum_name);
  if (!record.datum_parameter_text && !named) return;
  const std::string name = record.datum_name ? *record.datum_name : "WGS84";
  AddTextLine(text, "datum1",
              name + "#" + (record.datum_parameter_text ? *record.datum_parameter_text : ""));
}

void AddOffsetLines(const CalibrationRecord& record, std::string* text) {
  if (record.pixel_left != 0 || record.pixel_top != 0) {
    AddIntegerLine(text, "pixel_left", record.pixel_left, '4');
    AddIntegerLine(text, "pixel_top", record.pixel_top, '4');
  }
  if (record.caloffset_left != 0 || record.caloffset_top != 0) {
    AddIntegerLine(text, "caloffset_left", record.caloffset_left, '4');
    AddIntegerLine(text, "caloffset_top", record.caloffset_top, '4');
  }
}

void AddScaleLines(const CalibrationRecord& record, std::string* text) {
  const double horizontal = record.pixel_scale_horz;
  const double vertical = record.pixel_scale_vert;
  if ((horizontal == 0.0 && vertical == 0.0) || (horizontal == 1.0 && vertical == 1.0)) return;
  if (horizontal == vertical) {
    AddRealLine(text, "pixel_scale", horizontal);
  } else {
    AddRealLine(text, "pixel_scale_horz", horizontal);
    AddRealLine(text, "pixel_scale_vert", vertical);
  }
}

void AddBoundLines(const CalibrationRecord& record, std::string* text) {
  if (!HasBounds(record)) return;
  AddRealLine(text, "kv_north", record.north);
  AddRealLine(text, "kv_west", record.west);
  AddRealLine(text, "kv_south", record.south);
  AddRealLine(text, "kv_east", record.east);
}

// Every reader of this text, the handheld's included, ends the list of
// points at the first one at latitude 0 and longitude 0. A point placed
// there on purpose (it has a pixel) is written the smallest step the text
// can show north of it, about a millimetre, so that it and the points
// after it are read back.
double WrittenLatitude(const CalibrationPoint& point) {
  const bool placed = point.pixel_x != 0 || point.pixel_y != 0;
  return IsEmptyPosition(point) && placed ? kZeroPositionStandIn : point.latitude;
}

void AddPointLines(const CalibrationPoints& points, std::string* text) {
  for (int n = 1; n <= kCalibrationPointCount; ++n) {
    const CalibrationPoint& point = points[static_cast<std::size_t>(n - 1)];
    const std::string prefix = "c" + std::to_string(n) + "_";
    const std::string index = "(" + std::to_string(n) + ")";
    AddRealLine(text, prefix + "lon", point.longitude);
    AddRealLine(text, prefix + "lat", WrittenLatitude(point));
    AddTextLine(text, prefix + "x", std::to_string(point.pixel_x));
    AddTextLine(text, prefix + "y", std::to_string(point.pixel_y));
    AddRealLine(text, "vpa" + index, point.vpa);
    AddRealLine(text, "vpb" + index, point.vpb);
    AddRealLine(text, "vpm" + index, point.vpm);
    AddRealLine(text, "vpn" + index, point.vpn);
  }
}

}  // namespace

std::optional<std::string> WriteCalibrationText(const CalibrationRecord& record,
                                                const std::optional<std::string>& trailing) {
  std::string text;
  if (record.proj_mode != kCalibrationGeographic) {
    AddTextLine(&text, "proj_mode", KindText(record.proj_mode));
  }
  // The handheld application reads this text too and knows the line only
  // in a projection calibration; other kinds keep the value in memory.
  if (record.proj_mode == kCalibrationProjection && record.projparams &&
      !record.projparams->empty()) {
    AddTextLine(&text, "projparams", *record.projparams);
  }
  AddDatumLine(record, &text);
  AddOffsetLines(record, &text);
  AddScaleLines(record, &text);
  AddBoundLines(record, &text);
  if (record.points) AddPointLines(*record.points, &text);
  if (text.empty()) return std::nullopt;
  if (trailing) AppendFiniteLines(*trailing, &text);
  return text;
}

int WriteTextFile(const std::string& path, const std::optional<std::string>& text) {
  return ReplaceFileContents(path, text ? std::string_view(*text) : std::string_view());
}

std::string CalibrationExportPath(std::string_view path) {
  return std::string(PathWithoutExtension(path)) + ".kvm";
}

std::string CalibrationExportedMessage(std::string_view exported_path) {
  std::string message(kCalibrationExportedMessage);
  message.replace(message.find("%s"), 2, exported_path);
  return message;
}

}  // namespace kv
