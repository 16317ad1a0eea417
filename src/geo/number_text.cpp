#include "geo/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
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

}  // namespace kv
