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
        // A blank beyond 20 characters after the letter does not count.
        ParseCase{"N0000000000000000047 30", "SWsw", 47.5},
        ParseCase{"N00000000000000000047 30", "SWsw", 47.0}, ParseCase{"N", "SWsw", 0.0},
        ParseCase{"N ", "SWsw", 0.0}, ParseCase{"Nnan", "SWsw", 0.0}, ParseCase{"inf", "SWsw", 0.0},
        ParseCase{" 12.5", "SWsw", 12.5}, ParseCase{"x1", "SWsw", 1.0}));

TEST(ParsePositionTest, HugeComponentsStayFinite) {
  const double value = ParsePosition("N1 1 1e308", "");
  EXPECT_TRUE(std::isfinite(value));
  EXPECT_TRUE(std::isfinite(ParsePosition("N99999999999999999999 1", "")));
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
