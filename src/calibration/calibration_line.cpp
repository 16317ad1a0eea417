#include "calibration/calibration_line.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "geo/number_text.h"

namespace kv {
namespace {

std::string_view SkipSpaces(std::string_view text) {
  const std::size_t start = text.find_first_not_of(' ');
  return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

}  // namespace

std::optional<CalibrationLine> SplitCalibrationLine(std::string_view line) {
  line = SkipSpaces(line);
  const std::size_t scan = std::min(line.size(), kCalibrationKeyScanLength);
  CalibrationLine result;
  for (std::size_t i = 0; i < scan; ++i) {
    const char c = line[i];
    if (c == ';') return std::nullopt;
    if (c == ' ') continue;
    if (c != '=') {
      result.key.push_back(c);
      continue;
    }
    if (result.key.empty()) return std::nullopt;
    std::string_view rest = line.substr(i + 1);
    const std::size_t second = rest.find('=');
    if (second != std::string_view::npos) rest = rest.substr(second + 1);
    result.value = SkipSpaces(rest);
    return result;
  }
  return std::nullopt;
}

double ReadCalibrationReal(std::string_view value) {
  std::string text(value);
  const std::size_t comma = text.find(',');
  if (comma != std::string::npos) text[comma] = '.';
  return LeadingDecimal(text);
}

std::int32_t ReadCalibrationInteger(std::string_view value) {
  const double number = LeadingInteger(value);
  constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
  constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
  if (!(number >= kLowest)) return std::numeric_limits<std::int32_t>::min();
  if (number > kHighest) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(number);
}

std::string FormatCalibrationReal(double value) {
  // "nan" and "inf" would reach the handheld application, whose reader
  // takes them for 0 at best.
  if (!std::isfinite(value)) value = 0.0;
  // Finite doubles need at most 309 digits before the point.
  char buffer[400];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 8);
  if (result.ec != std::errc()) return "0.00000000";
  return std::string(buffer, result.ptr);
}

}  // namespace kv
