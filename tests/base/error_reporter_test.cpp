#include "base/error_reporter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace kv {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

class RecordingDisplay final : public ErrorDisplay {
 public:
  void ShowErrorBox(const ErrorBox& box) noexcept override { boxes.push_back(box); }
  std::vector<ErrorBox> boxes;
};

StringTable TestStrings() {
  return StringTable::Parse(
      "805 Cannot open %s.\n"
      "905 Detail about %s.\n"
      "806 Not ours: %s\n"
      "906 Use a map.\n"
      "812 No memory.\n"
      "912 Close programs.\n"
      "1000 opening\n"
      "1006 [\n"
      "1007 ]\\s\n"
      "1008 \\s|\\s\n"
      "1037 Something unexpected.\n"
      "2360 an operating system error of type %s occurred\n");
}

class ErrorReporterTest : public ::testing::Test {
 protected:
  StringTable strings_ = TestStrings();
  MessageTables tables_ = MessageTables::FromStrings(strings_);
  RecordingDisplay display_;
  ErrorReporter reporter_{tables_, display_};
};

TEST_F(ErrorReporterTest, ProgramCodesShowMainAndDetailWithTheFileName) {
  reporter_.ReportError("opening", kErrFileOpen, "map.prc");
  ASSERT_EQ(display_.boxes.size(), 1u);
  const ErrorBox& box = display_.boxes[0];
  EXPECT_EQ(box.code, kErrFileOpen);
  EXPECT_EQ(box.message, "Cannot open map.prc.");
  EXPECT_EQ(box.extra1, "Detail about map.prc.");
  EXPECT_EQ(box.text, "[opening] Cannot open map.prc. | Detail about map.prc.");
}

TEST_F(ErrorReporterTest, ReasonFollowsTheMainTextOnItsOwnLine) {
  ErrNotOurFile error("map.prc");
  error.set_reason("resource 3 starts beyond the end of the file");
  reporter_.ReportException(error, "opening");
  ASSERT_EQ(display_.boxes.size(), 1u);
  EXPECT_EQ(display_.boxes[0].message,
            "Not ours: map.prc\nresource 3 starts beyond the end of the file");
  EXPECT_EQ(display_.boxes[0].extra1, "Use a map.");

  // A file name long enough to fill the formatted text does not cut it off.
  error.set_file_name(std::string(300, 'x').c_str());
  reporter_.ReportException(error, "opening");
  EXPECT_THAT(display_.boxes[1].message,
              ::testing::EndsWith("x\nresource 3 starts beyond the end of the file"));
}

TEST_F(ErrorReporterTest, NothingIsShownForNoErrorOrAnErrorAlreadyShown) {
  reporter_.ReportError("opening", 0, "x");
  reporter_.ReportException(ErrAlreadyReported("whatever.prc"), "opening");
  EXPECT_THAT(display_.boxes, IsEmpty());
}

TEST_F(ErrorReporterTest, SystemErrorNumbersAreShownInDecimal) {
  reporter_.ReportError("opening", 5, "x");
  ASSERT_EQ(display_.boxes.size(), 1u);
  EXPECT_EQ(display_.boxes[0].message, "an operating system error of type 5 occurred");
  EXPECT_EQ(display_.boxes[0].code, 5u);
}

TEST_F(ErrorReporterTest, CodesBeyondTheTablesShowEmptyTexts) {
  reporter_.ReportError("opening", 0x20000020, "x");
  ASSERT_EQ(display_.boxes.size(), 1u);
  EXPECT_EQ(display_.boxes[0].message, "");
  EXPECT_EQ(display_.boxes[0].text, "[opening]  | ");
}

TEST_F(ErrorReporterTest, OutOfMemoryReadsLikeErrBadAlloc) {
  reporter_.ReportStdException(std::bad_alloc(), "opening");
  reporter_.ReportException(ErrBadAlloc(), "opening");
  ASSERT_EQ(display_.boxes.size(), 2u);
  EXPECT_EQ(display_.boxes[0].text, display_.boxes[1].text);
  EXPECT_EQ(display_.boxes[0].message, "No memory.");
}

TEST_F(ErrorReporterTest, OtherStandardExceptionsShowTheirDescription) {
  reporter_.ReportStdException(std::runtime_error("disk on fire"), "opening");
  ASSERT_EQ(display_.boxes.size(), 1u);
  EXPECT_EQ(display_.boxes[0].message, "disk on fire");
  EXPECT_EQ(display_.boxes[0].code, kErrUnknown);
}

TEST_F(ErrorReporterTest, UnknownFailuresShowTheirText) {
  reporter_.ReportUnknownFailure("opening");
  ASSERT_EQ(display_.boxes.size(), 1u);
  EXPECT_EQ(display_.boxes[0].text, "[opening] Something unexpected. | ");
}

TEST_F(ErrorReporterTest, TwoExceptionsReportTheirOwnNames) {
  ErrFileOpen first("first.prc");
  ErrNotOurFile second("second.prc");
  reporter_.ReportException(first, "opening");
  reporter_.ReportException(second, "opening");
  ASSERT_EQ(display_.boxes.size(), 2u);
  EXPECT_THAT(display_.boxes[0].message, HasSubstr("first.prc"));
  EXPECT_THAT(display_.boxes[1].message, HasSubstr("second.prc"));
}

TEST_F(ErrorReporterTest, MissingTextsStillShowTheBox) {
  StringTable empty;
  MessageTables tables = MessageTables::FromStrings(empty);
  ErrorReporter reporter(tables, display_);
  reporter.ReportError("importing", kErrFileRead, "a.bmp");
  ASSERT_EQ(display_.boxes.size(), 1u);
  EXPECT_EQ(display_.boxes[0].text, "importing");
}

TEST(FormatMessageTextTest, SubstitutesOnlyTheFileName) {
  EXPECT_EQ(FormatMessageText("File %s is 100%% broken", "a.prc"), "File a.prc is 100% broken");
  // Other conversions are not interpreted: a language file cannot make the
  // formatter read arguments that are not there.
  EXPECT_EQ(FormatMessageText("%d %n %x %", "a"), "%d %n %x %");
  EXPECT_EQ(FormatMessageText("%s and %s", "a"), "a and a");
  EXPECT_EQ(FormatMessageText("missing: %s", ""), "missing: ");
}

TEST(FormatMessageTextTest, CutsAt255BytesWithoutSplittingCharacters) {
  const std::string name(300, 'x');
  EXPECT_EQ(FormatMessageText("%s", name).size(), 255u);
  // 254 ASCII bytes, then a two-byte character that does not fit whole.
  const std::string text = std::string(254, 'a') + "\xC3\xA9";
  EXPECT_EQ(FormatMessageText(text, ""), std::string(254, 'a'));
}

}  // namespace
}  // namespace kv
