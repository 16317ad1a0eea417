#ifndef KORVALE_GEO_POSITION_TEXT_H_
#define KORVALE_GEO_POSITION_TEXT_H_

// Latitudes and longitudes as the user reads and types them: "N47 30.500000"
// (degrees and minutes), "N47 30 30.0000" (degrees, minutes, seconds) and
// "N47.5000" (decimal degrees).

#include <string>
#include <string_view>

namespace kv {

// The language's texts for positions, filled by the caller from the
// language strings (IDs 2044, 2043, 2051, 2052).
struct PositionTexts {
  std::string latitude_letters;    // positive then negative, e.g. "NS"
  std::string longitude_letters;   // e.g. "EW"
  std::string fraction_separator;  // between whole and fractional minutes/seconds, e.g. "."
  std::string negative_letters;    // letters that make a typed position negative, e.g. "SWsw"
};

inline constexpr std::string_view kDefaultNegativeLetters = "SWsw";

enum class PositionAxis { kLatitude, kLongitude };

// With this bit set in `precision` every digit is kept.
inline constexpr int kFullPrecision = 0x8000;

// `system` 0 "DD MM.mmmm": degrees, minutes as two digits, six digits of
//   the minute fraction (truncated), of which `precision` are kept (0 drops
//   the separator too).
// `system` 1 "DD MM SS": degrees, minutes, seconds with four digits of
//   fraction; precision 0 stops after the minutes, 1 keeps all four digits,
//   2 and more keep precision - 2 of them.
// `system` 2 "DD.dddd": the absolute value with precision + 2 decimals
//   (at most 20), or the shortest exact decimals with kFullPrecision.
// Every text starts with the hemisphere letter. Other systems, and values
// that are not finite (or beyond 1e9 degrees for systems 0 and 1), give an
// empty text.
std::string FormatPosition(const PositionTexts& texts, double value, PositionAxis axis, int system,
                           int precision);

// Decimal degrees of a typed position. A leading letter is the hemisphere:
// negative when it is one of `negative_letters`. After it, "47 30.5" is
// degrees and decimal minutes, "47 30 30" degrees, minutes and decimal
// seconds (the first blank counts only within the 20 characters after the
// letter), anything else decimal degrees. Without a letter the text is a
// signed decimal number. Whatever cannot be read counts as 0; the result is
// always finite.
double ParsePosition(std::string_view text, std::string_view negative_letters);

}  // namespace kv

#endif  // KORVALE_GEO_POSITION_TEXT_H_
