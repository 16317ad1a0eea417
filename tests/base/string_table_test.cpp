#include "base/string_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/message_tables.h"
#include "temp_folder.h"

namespace kv {
namespace {

TEST(StringTableTest, ParsesIdsTextsAndEscapes) {
  StringTable table = StringTable::Parse(
      "# comment\n"
      "\n"
      "1 plain text\n"
      "2\ttab separated\r\n"
      "3 line\\nbreak\\ttab\\\\slash\\sspace\\q\n"
      "4   \\sleading space kept\n"
      "5\n"
      "65535 largest\n");
  EXPECT_EQ(table.Get(1), "plain text");
  EXPECT_EQ(table.Get(2), "tab separated");
  EXPECT_EQ(table.Get(3), "line\nbreak\ttab\\slash space\\q");
  EXPECT_EQ(table.Get(4), " leading space kept");
  EXPECT_TRUE(table.Contains(5));
  EXPECT_EQ(table.Get(5), "");
  EXPECT_EQ(table.Get(65535), "largest");
}

TEST(StringTableTest, SkipsLinesWithoutAValidId) {
  StringTable table = StringTable::Parse(
      "65536 too large\n"
      "-1 negative\n"
      "12x glued\n"
      "x 12\n"
      " 7 indented\n"
      "99999999999999999999 overflow\n");
  EXPECT_EQ(table.size(), 0u);
}

TEST(StringTableTest, MissingIdsAreEmptyAndLaterLinesWin) {
  StringTable table = StringTable::Parse("8 first\n8 second");
  EXPECT_EQ(table.Get(8), "second");
  EXPECT_EQ(table.Get(9), "");
  EXPECT_FALSE(table.Contains(9));
}

TEST(StringTableTest, LanguageFilesAreNamedByCode) {
  EXPECT_EQ(LanguageFileName("EN"), "DARudIdiEN.lang");
  EXPECT_EQ(LanguageFileName("CZ"), "DARudIdiCZ.lang");
}

TEST(StringTableTest, LoadsTheFirstFolderWithTheFileElseBuiltInEnglish) {
  namespace fs = std::filesystem;
  const fs::path dir = kv::MakeTempFolder("kv_string_table_test_");
  fs::create_directories(dir / "b");
  std::ofstream(dir / "b" / "DARudIdiDE.lang") << "1000 Öffnen der Karte\n";

  StringTable german = LoadLanguage("DE", {(dir / "a").string(), (dir / "b").string()});
  EXPECT_EQ(german.Get(1000), "Öffnen der Karte");

  StringTable fallback = LoadLanguage("FR", {(dir / "a").string()});
  EXPECT_EQ(fallback.Get(1000), StringTable::Parse(BuiltInEnglishText()).Get(1000));

  StringTable missing;
  EXPECT_FALSE(StringTable::LoadFile((dir / "none.lang").string(), &missing));
  fs::remove_all(dir);
}

TEST(BuiltInEnglishTest, HasEveryTextErrorReportingNeeds) {
  StringTable english = StringTable::Parse(BuiltInEnglishText());
  for (std::uint32_t i = 0; i < kMessageTableSize; ++i) {
    EXPECT_FALSE(english.Get(kFirstMainMessageId + i).empty()) << kFirstMainMessageId + i;
    EXPECT_FALSE(english.Get(kFirstDetailMessageId + i).empty()) << kFirstDetailMessageId + i;
  }
  for (std::uint32_t id = 1000; id <= 1008; ++id) {
    EXPECT_FALSE(english.Get(id).empty()) << id;
  }
  EXPECT_FALSE(english.Get(kUnknownFailureId).empty());
  EXPECT_FALSE(english.Get(kContextPocketPcCopy).empty());
}

TEST(BuiltInEnglishTest, FileMessagesNameTheFile) {
  StringTable english = StringTable::Parse(BuiltInEnglishText());
  for (ErrorCode code : {kErrFileRead, kErrFileWrite, kErrFileCreate, kErrFileOpen, kErrNotOurFile,
                         kErrUnknownImageKind, kErrImageFileCorrupt, kErrNotAnImage}) {
    EXPECT_NE(english.Get(kFirstMainMessageId + (code & ~kProgramErrorBit)).find("%s"),
              std::string::npos)
        << std::hex << code;
  }
}

}  // namespace
}  // namespace kv
