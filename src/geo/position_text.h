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

// Letters that may follow a position as its hemisphere, besides the
// negative letters ("O" is the German east, and the west of languages that
// list it among their negative letters).
inline constexpr std::string_view kHemisphereLetters = "NSEWOnsewo";

enum class PositionTextStatus {
  kRead,
  kEmpty,         // nothing but blanks
  kNotAPosition,  // something is there, but not all of it reads as a position
};

// Decimal degrees of a position as people write it, read completely:
//   "47.5"  "47 30.5"  "47 30 30.5"   decimal degrees, degrees and minutes,
//                                     degrees, minutes and seconds
//   with a hemisphere letter before ("N47 30.5", "W 180") or after
//   ("47 30.5 N", "180W"), or else one sign ("-8.25", "-12 30.5").
// Blanks separate the parts and may surround the letter. Degrees and
// minutes before a further part are whole numbers; minutes and seconds are
// below 60; a "," may stand for the decimal point. The letter makes the
// value negative when it is one of `negative_letters`, else positive; a
// leading letter may be any letter, a trailing one must be one of
// `negative_letters` or kHemisphereLetters. A second letter, a sign together
// with a letter, or anything left over is kNotAPosition.
// `*degrees` is set only for kRead and is then finite.
[[nodiscard]] PositionTextStatus ReadPositionText(std::string_view text,
                                                  std::string_view negative_letters,
                                                  double* degrees);

// Decimal degrees of a position text that must be read whatever it holds:
// stored texts and the fields of other programs' calibration files. A text
// ReadPositionText reads gives its value; any other text is read as
// ParsePositionPrefix reads it. The result is always finite.
double ParsePosition(std::string_view text, std::string_view negative_letters);

// A position text read as far as it goes, the way such texts have always
// been read: after a leading letter (any letter; negative when it is one of
// `negative_letters`), "47 30.5" is degrees and minutes and "47 30 30"
// degrees, minutes and seconds when the first blank comes within 20
// characters, anything else decimal degrees; without a letter a signed
// decimal number. Whatever cannot be read counts as 0; the result is always
// finite.
double ParsePositionPrefix(std::string_view text, std::string_view negative_letters);

}  // namespace kv

#endif  // KORVALE_GEO_POSITION_TEXT_H_
