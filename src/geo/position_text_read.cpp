#include <cmath>
#include <string_view>

#include "geo/number_text.h"
#include "geo/position_text.h"

namespace kv {
namespace {

constexpr double kMinutesPerDegree = 60.0;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

double SignOf(char letter, std::string_view negative_letters) {
  return negative_letters.find(letter) != std::string_view::npos ? -1.0 : 1.0;
}

struct Hemisphere {
  bool lettered = false;  // the text carries a hemisphere letter
  double sign = 1.0;      // 0 for a trailing letter that names no hemisphere
};

// Takes the hemisphere letter from either end of `*text` and the blanks
// beside it. A leading letter is any letter, as stored texts have always
// had it; a trailing one must name a hemisphere, so that "12x" is no
// position.
Hemisphere TakeHemisphere(std::string_view* text, std::string_view negative_letters) {
  if (IsAsciiLetter(text->front())) {
    const char letter = text->front();
    *text = Trimmed(text->substr(1));
    return {true, SignOf(letter, negative_letters)};
  }
  if (!IsAsciiLetter(text->back())) return {};
  const char letter = text->back();
  *text = Trimmed(text->substr(0, text->size() - 1));
  const bool names_hemisphere = negative_letters.find(letter) != std::string_view::npos ||
                                kHemisphereLetters.find(letter) != std::string_view::npos;
  return {true, names_hemisphere ? SignOf(letter, negative_letters) : 0.0};
}

// One "-" or "+" before the number, when no letter gives the sign.
double TakeSign(std::string_view* text) {
  if (text->empty() || (text->front() != '-' && text->front() != '+')) return 1.0;
  const double sign = text->front() == '-' ? -1.0 : 1.0;
  text->remove_prefix(1);
  return sign;
}

// Up to three blank-separated parts; false when there are more.
bool SplitParts(std::string_view text, std::string_view parts[3], int* count) {
  *count = 0;
  while (!text.empty()) {
    if (*count == 3) return false;
    std::size_t end = 0;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    parts[(*count)++] = text.substr(0, end);
    text = Trimmed(text.substr(end));
  }
  return true;
}

// The unsigned value of "47.5", "47 30.5" or "47 30 30.5". The arithmetic
// is that of the reading stored texts have always had, so that a text the
// program wrote gives the very same number.
bool ReadMagnitude(std::string_view text, double* magnitude) {
  std::string_view parts[3];
  int count = 0;
  if (!SplitParts(text, parts, &count) || count == 0) return false;
  if (count == 1) return ReadUnsignedDecimal(parts[0], magnitude);
  double degrees = 0.0;
  if (!ReadUnsignedWhole(parts[0], &degrees)) return false;
  if (count == 2) {
    double minutes = 0.0;
    if (!ReadUnsignedDecimal(parts[1], &minutes) || minutes >= kMinutesPerDegree) return false;
    *magnitude = degrees + minutes / kMinutesPerDegree;
    return true;
  }
  double minutes = 0.0;
  double seconds = 0.0;
  if (!ReadUnsignedWhole(parts[1], &minutes) || minutes >= kMinutesPerDegree) return false;
  if (!ReadUnsignedDecimal(parts[2], &seconds) || seconds >= kMinutesPerDegree) return false;
  *magnitude = degrees + (minutes + seconds / kMinutesPerDegree) / kMinutesPerDegree;
  return true;
}

}  // namespace

PositionTextStatus ReadPositionText(std::string_view text, std::string_view negative_letters,
                                    double* degrees) {
  text = Trimmed(text);
  if (text.empty()) return PositionTextStatus::kEmpty;
  const Hemisphere hemisphere = TakeHemisphere(&text, negative_letters);
  if (hemisphere.sign == 0.0 || text.empty()) return PositionTextStatus::kNotAPosition;
  const double sign = hemisphere.lettered ? hemisphere.sign : TakeSign(&text);
  double magnitude = 0.0;
  if (!ReadMagnitude(text, &magnitude)) return PositionTextStatus::kNotAPosition;
  const double value = sign * magnitude;
  if (!std::isfinite(value)) return PositionTextStatus::kNotAPosition;
  *degrees = value;
  return PositionTextStatus::kRead;
}

}  // namespace kv
