#include "geo/position_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "geo/number_text.h"

namespace kv {
namespace {

// Whole units beyond this are no position; the limit keeps the scaled
// values well inside 64-bit integers.
constexpr double kLargestFormattedDegrees = 1e9;
constexpr int kMaxDecimalDegreesDecimals = 20;
constexpr std::size_t kBlankSearchLength = 20;

std::string HemisphereLetter(const PositionTexts& texts, double value, PositionAxis axis) {
  const std::string& letters =
      axis == PositionAxis::kLatitude ? texts.latitude_letters : texts.longitude_letters;
  const std::size_t index = value < 0 ? 1 : 0;
  return index < letters.size() ? std::string(1, letters[index]) : std::string();
}

std::string Digits(std::int64_t value, int width) {
  std::array<char, 32> buffer;
  std::snprintf(buffer.data(), buffer.size(), "%0*lld", width, static_cast<long long>(value));
  return buffer.data();
}

// The separator and the first `keep` of `fraction`'s digits; nothing when
// none are kept.
std::string FractionPart(const PositionTexts& texts, const std::string& fraction,
                         std::size_t keep) {
  if (keep == 0) return {};
  return texts.fraction_separator + fraction.substr(0, keep);
}

int LowPrecision(int precision) { return precision & (kFullPrecision - 1); }

// `magnitude` in whole units of 1/`units_per_degree` degree, cut rather than
// rounded. Typed minutes seldom have an exact double (8 12' is 8.19999...°),
// so a thousandth of a unit is added first: far below anything a text can
// show, far above the error of the product.
std::int64_t WholeUnits(double magnitude, double units_per_degree) {
  constexpr double kRepresentationSlack = 1e-3;
  return static_cast<std::int64_t>(magnitude * units_per_degree + kRepresentationSlack);
}

std::string FormatDegreesMinutes(const PositionTexts& texts, double magnitude, int precision) {
  // Working in whole millionths of a minute keeps 47.3 as 18.000000', where
  // subtracting the whole degrees first would give 17.999999'.
  const std::int64_t total = WholeUnits(magnitude, 60e6);
  const std::int64_t degrees = total / 60000000;
  const std::int64_t minutes = (total / 1000000) % 60;
  const std::string fraction = Digits(total % 1000000, 6);
  std::size_t keep = 6;
  if ((precision & kFullPrecision) == 0) {
    keep = std::min<std::size_t>(keep, static_cast<std::size_t>(LowPrecision(precision)));
  }
  return std::to_string(degrees) + " " + Digits(minutes, 2) + FractionPart(texts, fraction, keep);
}

std::string FormatDegreesMinutesSeconds(const PositionTexts& texts, double magnitude,
                                        int precision) {
  const std::int64_t total = WholeUnits(magnitude, 36e6);  // 1/10000 seconds
  const std::int64_t degrees = total / 36000000;
  const std::int64_t minutes = (total / 600000) % 60;
  const std::int64_t seconds = (total / 10000) % 60;
  const std::string fraction = Digits(total % 10000, 4);
  std::string text = std::to_string(degrees) + " " + Digits(minutes, 2);
  if (precision == 0) return text;
  std::size_t keep = 4;
  // Precision 2 keeps no fraction digits; the separator goes with them, as
  // in "DD MM.mmmm", rather than leaving a dangling point.
  if (precision > 1) keep = std::min<std::size_t>(keep, static_cast<std::size_t>(precision - 2));
  return text + " " + Digits(seconds, 2) + FractionPart(texts, fraction, keep);
}

std::string FormatDecimalDegrees(double magnitude, int precision) {
  std::array<char, 400> buffer;
  std::to_chars_result result;
  if ((precision & kFullPrecision) != 0) {
    result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                           std::chars_format::fixed);
  } else {
    const int decimals = std::min(LowPrecision(precision) + 2, kMaxDecimalDegreesDecimals);
    result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                           std::chars_format::fixed, decimals);
  }
  if (result.ec != std::errc()) return {};
  return std::string(buffer.data(), result.ptr);
}

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// "47 30.5", "47 30 30" or "47.5" after the hemisphere letter, read as far
// as it goes.
double ParseAfterLetter(std::string_view rest) {
  const std::size_t blank = rest.substr(0, kBlankSearchLength).find(' ');
  if (blank == std::string_view::npos) return LeadingDecimal(rest);
  const double degrees = LeadingInteger(rest.substr(0, blank));
  const std::string_view after = rest.substr(blank + 1);
  const std::size_t second_blank = after.find(' ');
  if (second_blank == std::string_view::npos) return degrees + LeadingDecimal(after) / 60.0;
  const double minutes = LeadingInteger(after.substr(0, second_blank));
  const double seconds = LeadingDecimal(after.substr(second_blank + 1));
  return degrees + (minutes + seconds / 60.0) / 60.0;
}

}  // namespace

std::string FormatPosition(const PositionTexts& texts, double value, PositionAxis axis, int system,
                           int precision) {
  if (!std::isfinite(value) || precision < 0) return {};
  const double magnitude = std::fabs(value);
  const std::string letter = HemisphereLetter(texts, value, axis);
  switch (system) {
    case 0:
      if (magnitude > kLargestFormattedDegrees) return {};
      return letter + FormatDegreesMinutes(texts, magnitude, precision);
    case 1:
      if (magnitude > kLargestFormattedDegrees) return {};
      return letter + FormatDegreesMinutesSeconds(texts, magnitude, precision);
    case 2:
      return letter + FormatDecimalDegrees(magnitude, precision);
    default:
      return {};
  }
}

double ParsePosition(std::string_view text, std::string_view negative_letters) {
  double degrees = 0.0;
  if (ReadPositionText(text, negative_letters, &degrees) == PositionTextStatus::kRead) {
    return degrees;
  }
  return ParsePositionPrefix(text, negative_letters);
}

double ParsePositionPrefix(std::string_view text, std::string_view negative_letters) {
  if (text.empty()) return 0.0;
  if (!IsAsciiLetter(text[0])) return LeadingDecimal(text);
  const double sign = negative_letters.find(text[0]) != std::string_view::npos ? -1.0 : 1.0;
  const double value = sign * ParseAfterLetter(text.substr(1));
  // Huge minutes or seconds could still add up past the double range.
  return std::isfinite(value) ? value : 0.0;
}

}  // namespace kv
