#include "geo/position_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kv {
namespace {

const PositionTexts kEnglish = {"NS", "EW", ".", "SWsw"};

struct FormatCase {
  double value;
  PositionAxis axis;
  int system;
  int precision;
  const char* text;
};

class FormatPositionTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatPositionTest, Formats) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(FormatPosition(kEnglish, c.value, c.axis, c.system, c.precision), c.text);
}

constexpr PositionAxis kLat = PositionAxis::kLatitude;
constexpr PositionAxis kLon = PositionAxis::kLongitude;

INSTANTIATE_TEST_SUITE_P(
    Texts, FormatPositionTest,
    ::testing::Values(
        FormatCase{47.5, kLat, 0, kFullPrecision, "N47 30.000000"},
        FormatCase{47.5, kLat, 0, 6, "N47 30.000000"}, FormatCase{47.5, kLat, 0, 3, "N47 30.000"},
        FormatCase{47.5, kLat, 0, 0, "N47 30"}, FormatCase{47.5, kLat, 0, 9, "N47 30.000000"},
        FormatCase{-8.25, kLon, 0, 4, "W8 15.0000"}, FormatCase{47.3, kLat, 0, 6, "N47 18.000000"},
        FormatCase{0.999999999, kLat, 0, 6, "N0 59.999999"},
        FormatCase{8.2, kLon, 0, 6, "E8 12.000000"}, FormatCase{8.2, kLon, 1, 1, "E8 12 00.0000"},
        FormatCase{-33.9, kLat, 0, 2, "S33 54.00"},
        FormatCase{47.508333333, kLat, 1, 1, "N47 30 29.9999"},
        FormatCase{47.5083334, kLat, 1, 1, "N47 30 30.0002"},
        FormatCase{47.5083334, kLat, 1, 0, "N47 30"},
        FormatCase{47.5083334, kLat, 1, 2, "N47 30 30"},
        FormatCase{47.5083334, kLat, 1, 4, "N47 30 30.00"},
        FormatCase{47.5083334, kLat, 1, 40, "N47 30 30.0002"},
        FormatCase{-122.25, kLon, 1, 1, "W122 15 00.0000"},
        FormatCase{47.5, kLat, 2, 2, "N47.5000"}, FormatCase{-8.123456789, kLon, 2, 0, "W8.12"},
        FormatCase{-8.123456789, kLon, 2, kFullPrecision, "W8.123456789"},
        FormatCase{1.0, kLon, 2, 1000, "E1.00000000000000000000"}, FormatCase{47.5, kLat, 3, 2, ""},
        FormatCase{std::numeric_limits<double>::quiet_NaN(), kLat, 0, 2, ""},
        FormatCase{std::numeric_limits<double>::infinity(), kLat, 2, 2, ""},
        FormatCase{2e9, kLat, 0, 2, ""}, FormatCase{1e300, kLat, 1, 2, ""},
        FormatCase{47.5, kLat, 0, -1, ""}));

TEST(FormatPositionTest, UsesTheLanguagesTexts) {
  const PositionTexts german = {"NS", "OW", ",", "SWsw"};
  EXPECT_EQ(FormatPosition(german, 8.25, kLon, 0, 3), "O8 15,000");
  EXPECT_EQ(FormatPosition(german, -8.25, kLon, 1, 3), "W8 15 00,0");
  // Texts too short for a letter leave it out rather than read past them.
  const PositionTexts empty = {"", "E", "", ""};
  EXPECT_EQ(FormatPosition(empty, 47.5, kLat, 0, 2), "47 3000");
  EXPECT_EQ(FormatPosition(empty, -8.25, kLon, 2, 0), "8.25");
}

struct ParseCase {
  const char* text;
  const char* letters;
  double value;
};

class ParsePositionTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParsePositionTest, Parses) {
  const ParseCase& c = GetParam();
  EXPECT_NEAR(ParsePosition(c.text, c.letters), c.value, 1e-12) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParsePositionTest,
    ::testing::Values(
        ParseCase{"N47 30.5", "SWsw", 47.50833333333333},
        ParseCase{"S47 30 30", "SWsw", -47.50833333333333},
        ParseCase{"s47 30 30", "SWsw", -47.50833333333333},
        ParseCase{"S47 30 30", "", 47.50833333333333}, ParseCase{"-8.25", "SWsw", -8.25},
        ParseCase{"", "SWsw", 0.0}, ParseCase{"E8.25", "SWsw", 8.25}, ParseCase{"W8", "SWsw", -8.0},
        ParseCase{"W122 15 00.0000", "SWsw", -122.25},
        // The whole degrees stop at a point; the minutes are integer.
        ParseCase{"N47.9 30", "SWsw", 47.5}, ParseCase{"N47 30.5 15", "SWsw", 47.50416666666667},
        // A long run of digits keeps the minutes after it.
        ParseCase{"N0000000000000000047 30", "SWsw", 47.5},
        ParseCase{"N00000000000000000047 30", "SWsw", 47.5}, ParseCase{"N", "SWsw", 0.0},
        ParseCase{"N ", "SWsw", 0.0}, ParseCase{"Nnan", "SWsw", 0.0}, ParseCase{"inf", "SWsw", 0.0},
        ParseCase{" 12.5", "SWsw", 12.5}, ParseCase{"x1", "SWsw", 1.0}));

TEST(ParsePositionTest, HugeComponentsStayFinite) {
  const double value = ParsePosition("N1 1 1e308", "");
  EXPECT_TRUE(std::isfinite(value));
  EXPECT_TRUE(std::isfinite(ParsePosition("N99999999999999999999 1", "")));
}

struct ReadCase {
  const char* text;
  PositionTextStatus status;
  double value;
};

class ReadPositionTextTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadPositionTextTest, ReadsWholeTextsOnly) {
  const ReadCase& c = GetParam();
  double value = 12345.0;
  EXPECT_EQ(ReadPositionText(c.text, kDefaultNegativeLetters, &value), c.status) << c.text;
  if (c.status == PositionTextStatus::kRead) {
    EXPECT_NEAR(value, c.value, 5e-7) << c.text;
    // The lenient reading gives the same value.
    EXPECT_NEAR(ParsePosition(c.text, kDefaultNegativeLetters), c.value, 5e-7) << c.text;
  } else {
    EXPECT_EQ(value, 12345.0) << c.text;
  }
}

constexpr PositionTextStatus kRead = PositionTextStatus::kRead;
constexpr PositionTextStatus kBad = PositionTextStatus::kNotAPosition;

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadPositionTextTest,
    ::testing::Values(
        // Hemisphere letters after the number, in all three notations.
        ReadCase{"12 30.500 W", kRead, -12.508333}, ReadCase{"47 15.250 S", kRead, -47.254167},
        ReadCase{"180W", kRead, -180.0}, ReadCase{"47 30 30 N", kRead, 47.508333},
        ReadCase{"47 30 30.5S", kRead, -47.508472}, ReadCase{"8.25 e", kRead, 8.25},
        ReadCase{"8 15 O", kRead, 8.25},
        // Blanks after a leading letter.
        ReadCase{"W 180", kRead, -180.0}, ReadCase{"W 12 30.500", kRead, -12.508333},
        ReadCase{"  S 33 54  ", kRead, -33.9},
        // A sign without a letter, in every notation; a comma for the point.
        ReadCase{"-12 30.5", kRead, -12.508333}, ReadCase{"+47 30 30", kRead, 47.508333},
        ReadCase{"47,5", kRead, 47.5}, ReadCase{"N47 30,5", kRead, 47.508333},
        ReadCase{"N.5", kRead, 0.5},
        // Nothing, or not all of it a position.
        ReadCase{"", PositionTextStatus::kEmpty, 0},
        ReadCase{" \t ", PositionTextStatus::kEmpty, 0}, ReadCase{"N", kBad, 0},
        ReadCase{"12 30.500 W x", kBad, 0}, ReadCase{"N47 30.5xyz", kBad, 0},
        ReadCase{"N47 30.5 S", kBad, 0}, ReadCase{"-12 W", kBad, 0}, ReadCase{"S-8.25", kBad, 0},
        ReadCase{"x1", kRead, 1.0}, ReadCase{"12x", kBad, 0}, ReadCase{"N47.9 30", kBad, 0},
        ReadCase{"N47 30.5 15", kBad, 0}, ReadCase{"47 60", kBad, 0}, ReadCase{"47 30 60", kBad, 0},
        ReadCase{"1 2 3 4", kBad, 0}, ReadCase{"1e5", kBad, 0}, ReadCase{"nan", kBad, 0},
        ReadCase{"inf", kBad, 0}, ReadCase{"- 8", kBad, 0}, ReadCase{"4.7.5", kBad, 0},
        ReadCase{".", kBad, 0}, ReadCase{"47 .", kBad, 0}));

TEST(ReadPositionTextTest, LongNumbersKeepTheirDigits) {
  double value = 0.0;
  ASSERT_EQ(ReadPositionText("N99999999999999999999 30", "", &value), kRead);
  EXPECT_EQ(value, 1e20 + 0.5);
  ASSERT_EQ(ReadPositionText("47.50000000000000000000000000000001", "", &value), kRead);
  EXPECT_EQ(value, 47.5);
  EXPECT_EQ(ParsePosition("N47.5083333333 ", "SWsw"), 47.5083333333);
}

// Every text the program writes reads back completely, and to the very value
// the reading of stored texts gives, whatever the precision and whichever
// language's letters wrote it.
TEST(PositionTextTest, EveryWrittenTextReadsBackAsBefore) {
  const PositionTexts german = {"NS", "OW", ".", "SWsw"};
  const int precisions[] = {0, 1, 2, 3, 4, 5, 6, 7, 9, 12, 20, kFullPrecision, kFullPrecision | 3};
  int texts = 0;
  for (const PositionTexts* language : {&kEnglish, &german}) {
    for (int step = -900; step <= 900; ++step) {
      // Irregular values over the whole range, their exact halves and ends.
      const double value = step * 0.2 + (step % 7) * 1.37e-5 + (step % 3) * 0.125;
      for (const PositionAxis axis : {kLat, kLon}) {
        for (int system = 0; system <= 2; ++system) {
          for (const int precision : precisions) {
            const std::string text = FormatPosition(*language, value, axis, system, precision);
            double read = 0.0;
            ASSERT_EQ(ReadPositionText(text, language->negative_letters, &read), kRead) << text;
            ASSERT_EQ(read, ParsePositionPrefix(text, language->negative_letters)) << text;
            ++texts;
          }
        }
      }
    }
  }
  RecordProperty("texts", std::to_string(texts));
}

TEST(PositionTextTest, FormattedTextsParseBack) {
  for (double value : {47.5, -8.25, 0.1234, -179.99, 89.000001}) {
    for (int system = 0; system <= 2; ++system) {
      const std::string text = FormatPosition(kEnglish, value, kLat, system, kFullPrecision);
      EXPECT_NEAR(ParsePosition(text, kEnglish.negative_letters), value, 1e-6) << text;
    }
  }
}

}  // namespace
}  // namespace kv
