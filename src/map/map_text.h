#ifndef KORVALE_MAP_MAP_TEXT_H_
#define KORVALE_MAP_MAP_TEXT_H_

// The texts of a map database (names, corner texts, calibration text, the
// database name) are stored in the handheld's character set, Windows-1252,
// while the program keeps them in UTF-8. The map writer and reader convert
// here and nowhere else.
//
// A stored character is one byte, so the stored limits (31 bytes for a
// name) are limits in characters: texts are cut by characters.
//
// Bytes of a text that are no well-formed UTF-8 (a calibration file
// written in Windows-1252 and carried through as it was read) are taken to
// be Windows-1252 already and stored as they are.

#include <cstddef>
#include <string>
#include <string_view>

namespace kv {

// Stored in place of a character the handheld cannot show.
inline constexpr char kUnshownCharacter = '?';

struct StoredText {
  std::string bytes;
  // The characters stored as kUnshownCharacter, in UTF-8, in order.
  std::string unshown;
};

// The stored form of `text`: at most `max_bytes` bytes, cut after a whole
// character.
StoredText ToStoredText(std::string_view text, std::size_t max_bytes = std::string::npos);

// The program's form of stored bytes, which are Windows-1252. Maps written
// before texts were converted hold the UTF-8 bytes that were typed: bytes
// that are well-formed UTF-8 throughout, with at least one multi-byte
// sequence, are taken as such (a sequence cut off at the end by the old
// byte limit is dropped).
std::string FromStoredText(std::string_view bytes);

// The first `max_characters` characters of `text`: what a stored field of
// that many bytes keeps.
std::string CutToStoredLength(std::string_view text, std::size_t max_characters);

}  // namespace kv

#endif  // KORVALE_MAP_MAP_TEXT_H_
