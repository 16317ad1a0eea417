#ifndef KORVALE_BASE_WINDOWS_1252_H_
#define KORVALE_BASE_WINDOWS_1252_H_

// The handheld's character set, Windows-1252, against the UTF-8 the program
// keeps its texts in. Bytes 0x00-0x7F and 0xA0-0xFF are the code points of
// the same value; 0x80-0x9F hold typographic signs and a few letters. The
// five bytes the code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// stand for the control code points of the same value, as Windows itself
// converts them, so that every byte survives a round trip.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

char32_t Windows1252ToCodePoint(std::uint8_t byte);

// None for a code point the character set lacks.
std::optional<std::uint8_t> CodePointToWindows1252(char32_t code_point);

// One well-formed UTF-8 sequence: no overlong forms, no surrogates,
// nothing above U+10FFFF.
struct Utf8Character {
  char32_t code_point = 0;
  std::size_t length = 0;
};

// The sequence at the start of `text`, or none when it does not start with
// a complete well-formed one.
std::optional<Utf8Character> DecodeUtf8Character(std::string_view text);

// True when `text` starts like a well-formed multi-byte sequence but ends
// before it is complete.
bool IsIncompleteUtf8Sequence(std::string_view text);

void AppendUtf8(char32_t code_point, std::string* out);

}  // namespace kv

#endif  // KORVALE_BASE_WINDOWS_1252_H_
