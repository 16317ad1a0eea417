#include "base/language_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "temp_folder.h"

namespace kv {
namespace {

constexpr const char* kSample =
    "# strings first, as ever\n"
    "1030 Caption\n"
    "\n"
    "[menu 101]\n"
    "# a comment\n"
    "popup &File\n"
    "  item 40001 &Open...\n"
    "  separator\n"
    "  popup &Users\n"
    "    item 0 (none)\n"
    "  end\n"
    "  item 40004 E&xit\\tnow\n"
    "end\n"
    "item 40042 Help\n"
    "[accelerators 103]\n"
    "40001 Ctrl+O\n"
    "  40042   F1\n"
    "[dialog 110]\n"
    "caption About\\sit\n"
    "1 OK\n"
    "3001 Version %s\n"
    "[strings]\n"
    "1028 Map\n";

TEST(LanguageFileTest, ReadsStringsMenusAcceleratorsAndDialogs) {
  LanguageFile file;
  int line = 0;
  ASSERT_EQ(LanguageFile::Parse(kSample, &file, &line), LanguageFileStatus::kOk);
  EXPECT_EQ(file.strings.Get(1030), "Caption");
  EXPECT_EQ(file.strings.Get(1028), "Map");
  EXPECT_EQ(file.strings.size(), 2u);

  const MenuResource& menu = file.menus.at(101);
  ASSERT_EQ(menu.entries.size(), 2u);
  const MenuEntry& popup = menu.entries[0];
  EXPECT_EQ(popup.kind, MenuEntry::Kind::kPopup);
  EXPECT_EQ(popup.text, "&File");
  ASSERT_EQ(popup.children.size(), 4u);
  EXPECT_EQ(popup.children[0].command, 40001);
  EXPECT_EQ(popup.children[0].text, "&Open...");
  EXPECT_EQ(popup.children[1].kind, MenuEntry::Kind::kSeparator);
  EXPECT_EQ(popup.children[2].kind, MenuEntry::Kind::kPopup);
  EXPECT_EQ(popup.children[2].children.at(0).command, 0);
  EXPECT_EQ(popup.children[3].text, "E&xit\tnow");
  EXPECT_EQ(menu.entries[1].command, 40042);

  const std::vector<Accelerator>& keys = file.accelerators.at(103);
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].command, 40001);
  EXPECT_EQ(keys[0].keys, "Ctrl+O");
  EXPECT_EQ(keys[1].keys, "F1");

  const DialogTexts& about = file.dialogs.at(110);
  EXPECT_EQ(about.caption, "About it");
  EXPECT_EQ(about.Text(1), "OK");
  EXPECT_EQ(about.Text(3001), "Version %s");
  EXPECT_EQ(about.Text(2), "");
}

// Lines of the other sections are no strings, so kvmap's reader and the
// string table of older code must not pick them up either.
TEST(LanguageFileTest, StringTableSkipsTheOtherSections) {
  const StringTable table = StringTable::Parse(kSample);
  EXPECT_EQ(table.Get(1030), "Caption");
  EXPECT_EQ(table.Get(1028), "Map");
  EXPECT_FALSE(table.Contains(40001));
  EXPECT_FALSE(table.Contains(1));
  EXPECT_FALSE(table.Contains(3001));
  EXPECT_EQ(table.size(), 2u);
}

struct BadFile {
  const char* text;
  LanguageFileStatus status;
  int line;
};

class LanguageFileErrorTest : public testing::TestWithParam<BadFile> {};

TEST_P(LanguageFileErrorTest, NamesTheProblemAndItsLine) {
  LanguageFile file;
  int line = 0;
  EXPECT_EQ(LanguageFile::Parse(GetParam().text, &file, &line), GetParam().status);
  EXPECT_EQ(line, GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageFileErrorTest,
    testing::Values(BadFile{"1 a\n[menus 101]\n", LanguageFileStatus::kUnknownSection, 2},
                    BadFile{"[menu 101\n", LanguageFileStatus::kUnknownSection, 1},
                    BadFile{"[dialog x]\n", LanguageFileStatus::kBadResourceId, 1},
                    BadFile{"[menu 70000]\n", LanguageFileStatus::kBadResourceId, 1},
                    BadFile{"[menu 1]\n[menu 1]\n", LanguageFileStatus::kDuplicateSection, 2},
                    BadFile{"[menu 1]\nitem 5\n", LanguageFileStatus::kBadLine, 2},
                    BadFile{"[menu 1]\nitem -5 x\n", LanguageFileStatus::kBadResourceId, 2},
                    BadFile{"[menu 1]\npopup\n", LanguageFileStatus::kBadLine, 2},
                    BadFile{"[menu 1]\nend\n", LanguageFileStatus::kStrayEnd, 2},
                    BadFile{"[menu 1]\npopup a\n\n", LanguageFileStatus::kUnclosedPopup, 3},
                    BadFile{"[menu 1]\npopup a\n[strings]\n", LanguageFileStatus::kUnclosedPopup,
                            3},
                    BadFile{"[accelerators 1]\n5\n", LanguageFileStatus::kBadLine, 2},
                    BadFile{"[dialog 1]\nlabel x\n", LanguageFileStatus::kBadResourceId, 2}));

TEST(LanguageFileTest, RefusesMenusNestedTooDeeply) {
  std::string text = "[menu 1]\n";
  for (int i = 0; i <= kMaxMenuDepth; ++i) text += "popup p\n";
  LanguageFile file;
  int line = 0;
  EXPECT_EQ(LanguageFile::Parse(text, &file, &line), LanguageFileStatus::kTooDeep);
  EXPECT_EQ(line, kMaxMenuDepth + 2);
}

TEST(LanguageFileTest, LoadFailuresNameTheFile) {
  namespace fs = std::filesystem;
  const fs::path dir = kv::MakeTempFolder("kv_language_file_test_");
  fs::create_directories(dir);
  const std::string bad = (dir / "DARudIdiXX.lang").string();
  std::ofstream(bad) << "1 ok\n[menu 101]\nbogus\n";
  LanguageFile file;
  std::string message;
  EXPECT_FALSE(LoadLanguageFile(bad, &file, &message));
  EXPECT_EQ(message, bad + ", line 3: line not understood");
  const std::string missing = (dir / "none.lang").string();
  EXPECT_FALSE(LoadLanguageFile(missing, &file, &message));
  EXPECT_EQ(message.rfind(missing + ": cannot be read", 0), 0u);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace kv
