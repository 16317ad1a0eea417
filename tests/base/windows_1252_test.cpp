#include "base/windows_1252.h"

#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

// Unicode's mapping of code page 1252 (CP1252.TXT), written as characters;
// the bytes it leaves undefined stand for the control code points of the
// same value, as Windows converts them.
struct HighByte {
  std::uint8_t byte;
  const char* utf8;
};
constexpr HighByte kHighBytes[] = {
    {0x80, "€"},      {0x81, "\u0081"}, {0x82, "‚"}, {0x83, "ƒ"},      {0x84, "„"},
    {0x85, "…"},      {0x86, "†"},      {0x87, "‡"}, {0x88, "ˆ"},      {0x89, "‰"},
    {0x8A, "Š"},      {0x8B, "‹"},      {0x8C, "Œ"}, {0x8D, "\u008D"}, {0x8E, "Ž"},
    {0x8F, "\u008F"}, {0x90, "\u0090"}, {0x91, "‘"}, {0x92, "’"},      {0x93, "“"},
    {0x94, "”"},      {0x95, "•"},      {0x96, "–"}, {0x97, "—"},      {0x98, "˜"},
    {0x99, "™"},      {0x9A, "š"},      {0x9B, "›"}, {0x9C, "œ"},      {0x9D, "\u009D"},
    {0x9E, "ž"},      {0x9F, "Ÿ"}};

TEST(Windows1252Test, EveryByteOfTheRangeThatDiffersFromLatin1) {
  ASSERT_EQ(std::size(kHighBytes), 32u);
  for (const HighByte& row : kHighBytes) {
    const auto expected = DecodeUtf8Character(row.utf8);
    ASSERT_TRUE(expected) << std::hex << int{row.byte};
    EXPECT_EQ(Windows1252ToCodePoint(row.byte), expected->code_point) << std::hex << int{row.byte};
    EXPECT_EQ(CodePointToWindows1252(expected->code_point), row.byte) << std::hex << int{row.byte};
    std::string utf8;
    AppendUtf8(Windows1252ToCodePoint(row.byte), &utf8);
    EXPECT_EQ(utf8, row.utf8);
  }
}

TEST(Windows1252Test, EveryByteSurvivesTheRoundTripAndLatin1IsItself) {
  for (int byte = 0; byte <= 0xFF; ++byte) {
    const char32_t code_point = Windows1252ToCodePoint(static_cast<std::uint8_t>(byte));
    if (byte < 0x80 || byte >= 0xA0) {
      EXPECT_EQ(code_point, static_cast<char32_t>(byte));
    }
    EXPECT_EQ(CodePointToWindows1252(code_point), byte) << byte;
  }
  for (char32_t missing : {U'Ł', U'ź', U'α', U'₭', U'😀', char32_t{0x0080}, char32_t{0x009F}}) {
    EXPECT_FALSE(CodePointToWindows1252(missing)) << std::hex << unsigned{missing};
  }
}

TEST(Utf8CharacterTest, TakesOnlyWellFormedSequences) {
  struct Case {
    std::string bytes;
    std::optional<char32_t> code_point;
    bool incomplete;
  };
  const Case cases[] = {
      {"A", U'A', false},
      {"\xC3\xBC", U'ü', false},
      {"\xE2\x82\xAC", U'€', false},
      {"\xF0\x9F\x98\x80", U'😀', false},
      {"\xC3", std::nullopt, true},               // cut off
      {"\xE2\x82", std::nullopt, true},           // cut off
      {"\xFC", std::nullopt, false},              // Windows-1252 "ü"
      {"\xC0\x80", std::nullopt, false},          // overlong NUL
      {"\xE0\x80\x80", std::nullopt, false},      // overlong
      {"\xED\xA0\x80", std::nullopt, false},      // surrogate
      {"\xF4\x90\x80\x80", std::nullopt, false},  // above U+10FFFF
      {"\xC3\x41", std::nullopt, false},
      {"\x80", std::nullopt, false},
  };
  for (const Case& c : cases) {
    const auto decoded = DecodeUtf8Character(c.bytes);
    EXPECT_EQ(decoded ? std::optional<char32_t>(decoded->code_point) : std::nullopt, c.code_point)
        << c.bytes;
    if (decoded) {
      EXPECT_EQ(decoded->length, c.bytes.size());
    }
    EXPECT_EQ(IsIncompleteUtf8Sequence(c.bytes), c.incomplete) << c.bytes;
  }
}

}  // namespace
}  // namespace kv
