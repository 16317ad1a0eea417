// Install error texts and where the back ends live.

#include <gtest/gtest.h>

#include "base/utf8_cut.h"
#include "install/file_name_text.h"
#include "install/install_error_text.h"
#include "install/install_locations.h"
#include "install/install_name.h"
#include "install/install_results.h"

namespace kv::testing {
namespace {

TEST(InstallErrorTextTest, CodesMapToTheirStringsAndEverythingElseIsUnknown) {
  StringTable strings;
  for (std::uint32_t id : {500u, 522u, 550u, 555u, 701u})
    strings.Set(id, "text " + std::to_string(id));
  EXPECT_EQ(InstallErrorText(strings, -500), "text 500");
  EXPECT_EQ(InstallErrorText(strings, -522), "text 522");
  EXPECT_EQ(InstallErrorText(strings, -550), "text 550");
  EXPECT_EQ(InstallErrorText(strings, -555), "text 555");
  EXPECT_EQ(InstallErrorText(strings, -701), "text 701");
  for (int code : {-499, -523, -549, -556, -700, -702, 500, 0, 1}) {
    EXPECT_EQ(InstallErrorText(strings, code), "unknown error") << code;
  }
}

// Every install code has its text in every shipped language, and the one
// code the installs ask about instead of showing reads as "already queued".
TEST(InstallErrorTextTest, EveryShippedLanguageHasTheTexts) {
  for (const char* code : {"EN", "DE"}) {
    StringTable strings;
    ASSERT_TRUE(
        StringTable::LoadFile(std::string(KV_LANG_FOLDER) + "/" + LanguageFileName(code), &strings))
        << code;
    for (int id = -500; id >= -522; --id) EXPECT_NE(InstallErrorText(strings, id), "unknown error");
    for (int id = -550; id >= -555; --id) EXPECT_NE(InstallErrorText(strings, id), "unknown error");
    EXPECT_NE(InstallErrorText(strings, -701), "unknown error");
    EXPECT_FALSE(strings.Get(2083).empty()) << code;
  }
  StringTable english;
  ASSERT_TRUE(StringTable::LoadFile(std::string(KV_LANG_FOLDER) + "/DARudIdiEN.lang", &english));
  EXPECT_NE(InstallErrorText(english, kInstallAlreadyQueued).find("already queued"),
            std::string::npos);
  EXPECT_NE(InstallErrorText(english, kInstallCardNotFound).find("card"), std::string::npos);
}

TEST(InstallLocationsTest, TheInstallFolderWinsThenXdgDataHomeThenHome) {
  std::map<std::string, std::string> variables = {{"HOME", "/home/u"}, {"XDG_DATA_HOME", "/data"}};
  const EnvironmentLookup lookup = [&](const char* name) -> std::optional<std::string> {
    auto it = variables.find(name);
    if (it == variables.end()) return std::nullopt;
    return it->second;
  };
  EXPECT_EQ(FindInstallLocations(std::string("/opt/korvale"), lookup).handheld_data_folder,
            "/opt/korvale/handhelds");
  EXPECT_EQ(FindInstallLocations(std::nullopt, lookup).handheld_data_folder,
            "/data/korvale-map-manager/handhelds");
  variables.erase("XDG_DATA_HOME");
  const InstallLocations locations = FindInstallLocations(std::nullopt, lookup);
  EXPECT_EQ(locations.handheld_data_folder, "/home/u/.local/share/korvale-map-manager/handhelds");
  EXPECT_EQ(locations.home, "/home/u");
  EXPECT_EQ(locations.device_root, std::nullopt);
  variables["KORVALE_DEVICE_ROOT"] = "/media/pocket";
  EXPECT_EQ(FindInstallLocations(std::nullopt, lookup).device_root, "/media/pocket");
}

TEST(InstallNameTest, NamesAreCutWithoutSplittingACharacter) {
  EXPECT_EQ(CutUtf8("abc", 19), "abc");
  EXPECT_EQ(CutUtf8("abcdefghijklmnopqrä", 19), "abcdefghijklmnopqr");
  EXPECT_EQ(InstallFileName("a/b"), "a_b.prc");
}

TEST(FileNameTextTest, TheFirstCaretAndItsCharacterBecomeTheFileName) {
  EXPECT_EQ(WithFileName("^s is queued.", "Alps.prc"), "Alps.prc is queued.");
  EXPECT_EQ(WithFileName("Replace ^s? (^s)", "A.prc"), "Replace A.prc? (^s)");
  EXPECT_EQ(WithFileName("No name here.", "A.prc"), "No name here.");
  EXPECT_EQ(WithFileName("At the end ^", "A.prc"), "At the end A.prc");
  EXPECT_EQ(WithFileName("^\xc3\xa4 wide", "A.prc"), "A.prc wide");
}

}  // namespace
}  // namespace kv::testing
