#include "map/map_text.h"

#include <optional>

#include "base/windows_1252.h"

namespace kv {

namespace {

// The length of the character at the start of `text` as the stored form
// counts it: a well-formed UTF-8 sequence, or else one byte.
std::size_t CharacterLength(std::string_view text) {
  const std::optional<Utf8Character> character = DecodeUtf8Character(text);
  return character ? character->length : 1;
}

// How much of `bytes` an older map wrote as UTF-8: all of it but a
// sequence cut off at its end, when the rest is well-formed UTF-8 with at
// least one multi-byte sequence; npos when the bytes are Windows-1252.
// Windows-1252 text is seldom well-formed UTF-8 throughout ("ß”" is,
// alone), so one stray byte anywhere decides for Windows-1252.
std::size_t OlderMapUtf8Length(std::string_view bytes) {
  bool any_multi_byte = false;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::optional<Utf8Character> character = DecodeUtf8Character(bytes.substr(at));
    if (!character) break;
    any_multi_byte |= character->length > 1;
    at += character->length;
  }
  if (!any_multi_byte) return std::string_view::npos;
  if (at == bytes.size() || IsIncompleteUtf8Sequence(bytes.substr(at))) return at;
  return std::string_view::npos;
}

}  // namespace

StoredText ToStoredText(std::string_view text, std::size_t max_bytes) {
  StoredText stored;
  while (!text.empty() && stored.bytes.size() < max_bytes) {
    const std::optional<Utf8Character> character = DecodeUtf8Character(text);
    if (!character) {
      stored.bytes.push_back(text[0]);
      text.remove_prefix(1);
      continue;
    }
    const std::optional<std::uint8_t> byte = CodePointToWindows1252(character->code_point);
    if (byte) {
      stored.bytes.push_back(static_cast<char>(*byte));
    } else {
      stored.bytes.push_back(kUnshownCharacter);
      stored.unshown.append(text.substr(0, character->length));
    }
    text.remove_prefix(character->length);
  }
  return stored;
}

std::string FromStoredText(std::string_view bytes) {
  const std::size_t utf8_end = OlderMapUtf8Length(bytes);
  if (utf8_end != std::string_view::npos) return std::string(bytes.substr(0, utf8_end));
  std::string text;
  for (const char byte : bytes) {
    AppendUtf8(Windows1252ToCodePoint(static_cast<std::uint8_t>(byte)), &text);
  }
  return text;
}

std::string CutToStoredLength(std::string_view text, std::size_t max_characters) {
  std::size_t end = 0;
  for (std::size_t count = 0; count < max_characters && end < text.size(); ++count) {
    end += CharacterLength(text.substr(end));
  }
  return std::string(text.substr(0, end));
}

}  // namespace kv
