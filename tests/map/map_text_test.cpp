#include "map/map_text.h"

#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

std::string Repeat(const std::string& text, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += text;
  return out;
}

TEST(MapTextTest, StoresTheHandheldsCharacterSet) {
  struct Case {
    std::string text;
    std::size_t max_bytes;
    std::string bytes;
    std::string unshown;
  };
  const Case cases[] = {
      {"Zürich", std::string::npos, "Z\xFCrich", ""},
      {"€ 5 – “Ŝ”", std::string::npos, "\x80 5 \x96 \x93?\x94", "Ŝ"},
      {"Łódź", std::string::npos,
       "?\xF3"
       "d?",
       "Łź"},
      // Bytes that are no UTF-8 came in Windows-1252 and stay.
      {"Stra\xDF"
       "e",
       std::string::npos,
       "Stra\xDF"
       "e",
       ""},
      // The limit counts stored bytes, one per character.
      {Repeat("ä", 40), 31, Repeat("\xE4", 31), ""},
      {"ab😀cd", 3, "ab?", "😀"},
  };
  for (const Case& c : cases) {
    const StoredText stored = ToStoredText(c.text, c.max_bytes);
    EXPECT_EQ(stored.bytes, c.bytes) << c.text;
    EXPECT_EQ(stored.unshown, c.unshown) << c.text;
  }
}

TEST(MapTextTest, ReadsWindows1252AndTheUtf8OfOlderMaps) {
  struct Case {
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"Z\xFCrich", "Zürich"},
      {"\x80\x9F\xFF", "€Ÿÿ"},
      {"Z\xC3\xBCrich", "Zürich"},  // written before texts were converted
      // An older map's name cut inside a character by the byte limit.
      {"M\xC3\xBCnchen \xC3", "München "},
      {"CAF\xC3", "CAFÃ"},  // nothing else marks it as UTF-8
      // One byte that is no UTF-8 makes all of it Windows-1252.
      {"\xC3\xBC\xFC", "Ã¼ü"},
      {"\x93\xDF\x94", "“ß”"},
  };
  for (const Case& c : cases) EXPECT_EQ(FromStoredText(c.bytes), c.text) << c.bytes;

  for (const std::string text : {"Zürich", "Œuvre – “ß” … ‰ ™", "Genève 12°", "plain"}) {
    EXPECT_EQ(FromStoredText(ToStoredText(text).bytes), text);
  }
}

TEST(MapTextTest, CutsByCharacters) {
  EXPECT_EQ(CutToStoredLength(Repeat("ü", 40), 31), Repeat("ü", 31));
  EXPECT_EQ(CutToStoredLength("Zürich", 2), "Zü");
  EXPECT_EQ(CutToStoredLength("Z\xFCrich", 2), "Z\xFC");
  EXPECT_EQ(CutToStoredLength("abc", 31), "abc");
}

}  // namespace
}  // namespace kv
