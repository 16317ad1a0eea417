#include "base/windows_1252.h"

#include <array>

namespace kv {

namespace {

// Bytes 0x80-0x9F (Unicode's published mapping of code page 1252).
constexpr std::array<char32_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::uint8_t kFirstHighByte = 0x80;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Length of the sequence a lead byte starts; 0 for
// a byte that starts none (continuation bytes, C0, C1, F5-FF).
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// The range the second byte must lie in, which rules out overlong forms,
// surrogates and code points above U+10FFFF.
bool SecondByteFits(unsigned char lead, unsigned char second) {
  switch (lead) {
    case 0xE0:
      return second >= 0xA0 && second <= 0xBF;
    case 0xED:
      return second >= 0x80 && second <= 0x9F;
    case 0xF0:
      return second >= 0x90 && second <= 0xBF;
    case 0xF4:
      return second >= 0x80 && second <= 0x8F;
    default:
      return IsContinuation(second);
  }
}

}  // namespace

char32_t Windows1252ToCodePoint(std::uint8_t byte) {
  if (byte >= kFirstHighByte && byte < kFirstHighByte + kHighControlRange.size()) {
    return kHighControlRange[byte - kFirstHighByte];
  }
  return byte;
}

std::optional<std::uint8_t> CodePointToWindows1252(char32_t code_point) {
  if (code_point < kFirstHighByte || (code_point >= 0xA0 && code_point <= 0xFF)) {
    return static_cast<std::uint8_t>(code_point);
  }
  for (std::size_t i = 0; i < kHighControlRange.size(); ++i) {
    if (kHighControlRange[i] == code_point) return static_cast<std::uint8_t>(kFirstHighByte + i);
  }
  return std::nullopt;
}

std::optional<Utf8Character> DecodeUtf8Character(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return Utf8Character{lead, 1};
  const std::size_t length = SequenceLength(lead);
  if (length == 0 || text.size() < length) return std::nullopt;
  if (!SecondByteFits(lead, static_cast<unsigned char>(text[1]))) return std::nullopt;
  char32_t code_point = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (!IsContinuation(byte)) return std::nullopt;
    code_point = (code_point << 6) | (byte & 0x3F);
  }
  return Utf8Character{code_point, length};
}

bool IsIncompleteUtf8Sequence(std::string_view text) {
  if (text.empty()) return false;
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t length = SequenceLength(lead);
  if (length == 0 || text.size() >= length) return false;
  if (text.size() >= 2 && !SecondByteFits(lead, static_cast<unsigned char>(text[1]))) return false;
  for (std::size_t i = 2; i < text.size(); ++i) {
    if (!IsContinuation(static_cast<unsigned char>(text[i]))) return false;
  }
  return true;
}

void AppendUtf8(char32_t code_point, std::string* out) {
  if (code_point < 0x80) {
    out->push_back(static_cast<char>(code_point));
  } else if (code_point < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (code_point >> 6)));
    out->push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else if (code_point < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (code_point >> 12)));
    out->push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (code_point >> 18)));
    out->push_back(static_cast<char>(0x80 | ((code_point >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  }
}

}  // namespace kv
