#ifndef KORVALE_CALIBRATION_CALIBRATION_LINE_H_
#define KORVALE_CALIBRATION_CALIBRATION_LINE_H_

// One line of calibration text: "key=type=value" or "key=value". The type
// field is written for the reader's benefit only and is never interpreted.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// Only this many characters of a line (after its leading spaces) are
// searched for the key's "=", so a key has at most 29 characters.
inline constexpr std::size_t kCalibrationKeyScanLength = 30;

struct CalibrationLine {
  std::string key;         // spaces dropped
  std::string_view value;  // leading spaces skipped; points into the line
};

// The key and value of `line` (without its terminator), or none for a
// comment (";" before the first "="), a line without "=" in its first 30
// characters, or an empty key.
std::optional<CalibrationLine> SplitCalibrationLine(std::string_view line);

// The first "," taken as the decimal point, then the leading decimal
// number; 0 when there is none. Always finite.
double ReadCalibrationReal(std::string_view value);

// The leading decimal integer, clamped to the int32 range; 0 when there is
// none.
std::int32_t ReadCalibrationInteger(std::string_view value);

// "%.8f" whatever the process locale: the decimal point is always ".". A
// value that is not finite is written as 0, which is what the reader makes
// of any number it cannot read.
std::string FormatCalibrationReal(double value);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_CALIBRATION_LINE_H_
