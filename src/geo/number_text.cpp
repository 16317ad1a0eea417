#include "geo/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace kv {
namespace {

// Skips blanks and tabs and one sign; returns -1 or +1 for the sign.
double SkipBlanksAndSign(std::string_view* text) {
  std::size_t i = 0;
  while (i < text->size() && ((*text)[i] == ' ' || (*text)[i] == '\t')) ++i;
  double sign = 1.0;
  if (i < text->size() && ((*text)[i] == '-' || (*text)[i] == '+')) {
    if ((*text)[i] == '-') sign = -1.0;
    ++i;
  }
  text->remove_prefix(i);
  return sign;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double LeadingDecimal(std::string_view text) {
  const double sign = SkipBlanksAndSign(&text);
  // from_chars would also take "inf" and "nan"; a position never is one.
  if (text.empty() || !((text[0] >= '0' && text[0] <= '9') || text[0] == '.')) return 0.0;
  double value = 0.0;
  const auto result =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (result.ec != std::errc() || !std::isfinite(value)) return 0.0;
  return sign * value;
}

double LeadingInteger(std::string_view text) {
  const double sign = SkipBlanksAndSign(&text);
  if (text.empty() || text[0] < '0' || text[0] > '9') return 0.0;
  std::int64_t value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    return sign * static_cast<double>(std::numeric_limits<std::int64_t>::max());
  }
  if (result.ec != std::errc()) return 0.0;
  return sign * static_cast<double>(value);
}

bool ReadUnsignedDecimal(std::string_view text, double* value) {
  std::string plain(text);
  std::size_t digits = 0;
  std::size_t points = 0;
  for (char& c : plain) {
    if (IsDigit(c)) {
      ++digits;
    } else if (c == '.' || c == ',') {
      // A comma is the decimal point wherever people write it so.
      c = '.';
      ++points;
    } else {
      return false;
    }
  }
  if (digits == 0 || points > 1) return false;
  double number = 0.0;
  const auto result =
      std::from_chars(plain.data(), plain.data() + plain.size(), number, std::chars_format::fixed);
  if (result.ec != std::errc() || result.ptr != plain.data() + plain.size()) return false;
  if (!std::isfinite(number)) return false;
  *value = number;
  return true;
}

bool ReadUnsignedWhole(std::string_view text, double* value) {
  for (char c : text) {
    if (!IsDigit(c)) return false;
  }
  return ReadUnsignedDecimal(text, value);
}

}  // namespace kv
