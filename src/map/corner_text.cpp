#include "map/corner_text.h"

#include "geo/position_text.h"

namespace kv {

std::string NormaliseCornerText(std::string_view text, bool latitude) {
  // Stored maps are read the same whatever the user's language, so the
  // letters are the program's own.
  static const PositionTexts kStoredTexts{"NS", "EW", ".", std::string(kDefaultNegativeLetters)};
  const double degrees = ParsePosition(text, kDefaultNegativeLetters);
  std::string formatted = FormatPosition(
      kStoredTexts, degrees, latitude ? PositionAxis::kLatitude : PositionAxis::kLongitude, 0,
      kFullPrecision);
  if (formatted.empty()) return std::string(text);
  const std::size_t degree_digits = formatted.find(' ') - 1;
  const std::size_t wanted = latitude ? 2 : 3;
  if (degree_digits < wanted) formatted.insert(1, wanted - degree_digits, '0');
  return formatted;
}

}  // namespace kv
