// The reason under an error message speaks the user's language: the
// system's own texts are English whatever language was chosen.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/error_reporter.h"
#include "base/string_table.h"
#include "document/document.h"
#include "document/document_failure.h"
#include "document_fixture.h"

namespace kv {
namespace {

using testing::DocumentTest;
using ::testing::HasSubstr;
using ::testing::Not;

class RecordingDisplay final : public ErrorDisplay {
 public:
  void ShowErrorBox(const ErrorBox& box) noexcept override { boxes.push_back(box); }
  std::vector<ErrorBox> boxes;
};

StringTable ShippedStrings(const std::string& code) {
  StringTable strings;
  const std::string path = std::string(KV_LANG_FOLDER) + "/" + LanguageFileName(code);
  EXPECT_TRUE(StringTable::LoadFile(path, &strings)) << path;
  return strings;
}

// The message line of the box the user would see for `failure`.
std::string ShownMessage(const std::string& language, const DocumentFailure& failure) {
  const StringTable strings = ShippedStrings(language);
  const MessageTables tables = MessageTables::FromStrings(strings);
  RecordingDisplay display;
  ErrorReporter reporter(tables, display);
  ReportDocumentFailure(reporter, "opening", failure);
  return display.boxes.empty() ? std::string() : display.boxes[0].message;
}

TEST_F(DocumentTest, AMissingFileIsExplainedInTheUsersLanguage) {
  const std::string map = WriteText("lost.map",
                                    "OziExplorer Map Data File Version 2.2\nlost\n"
                                    "C:\\maps\\Gone.png\nWGS 84,WGS 84,0,0,WGS 84\n");
  const std::string folder = dir_.File("folder.jpg");
  std::filesystem::create_directory(folder);
  struct Case {
    std::string path;
    std::string language;
    std::string reason;  // the line under the main text
  };
  const Case cases[] = {
      {dir_.File("missing.jpg"), "DE", "die Datei oder der Ordner existiert nicht"},
      {dir_.File("missing.jpg"), "EN", "the file or folder does not exist"},
      {folder, "DE", "dies ist ein Ordner, keine Datei"},
      {map, "DE", "das von " + map + " genannte Bild ist nicht vorhanden"},
      {map, "EN", "the image named by " + map + " is not there"},
  };
  for (const Case& c : cases) {
    ui_.failures.clear();
    CDocument document(app_, ui_, true);
    EXPECT_EQ(document.ImportSourceImage(c.path, true, true), -1);
    ASSERT_EQ(ui_.failures.size(), 1u) << c.path;
    const std::string message = ShownMessage(c.language, ui_.failures[0].failure);
    EXPECT_THAT(message, ::testing::EndsWith("\n" + c.reason)) << c.language;
    EXPECT_THAT(message, Not(HasSubstr("No such file"))) << c.language;
  }
}

// An error without words of its own shows the system's text and its
// number, which a user can look up.
TEST(ErrorLanguageTest, AnUncommonSystemErrorShowsTheSystemTextAndNumber) {
  struct Case {
    std::string language;
    int error;
    std::string number;
  };
  const Case cases[] = {
      {"DE", EPROTO, "Fehlernummer " + std::to_string(EPROTO)},
      {"EN", EPROTO, "error number " + std::to_string(EPROTO)},
      {"DE", 9999, "Fehlernummer 9999"},
  };
  for (const Case& c : cases) {
    DocumentFailure failure;
    failure.kind = FailureKind::kProgram;
    failure.code = kErrFileRead;
    failure.file_name = "map.prc";
    failure.system_error = c.error;
    EXPECT_THAT(
        ShownMessage(c.language, failure),
        ::testing::EndsWith("\n" + std::string(std::strerror(c.error)) + " (" + c.number + ")"));
  }
}

}  // namespace
}  // namespace kv
