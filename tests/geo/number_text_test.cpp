#include "geo/number_text.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(NumberTextTest, ReadsTheLeadingDecimal) {
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {{"6378137.0.", 6378137.0},
                        {"297.", 297.0},
                        {"  -8.25xyz", -8.25},
                        {"+3e2", 300.0},
                        {".5", 0.5},
                        {"", 0.0},
                        {"abc", 0.0},
                        {"--5", 0.0},
                        {"inf", 0.0},
                        {"nan", 0.0},
                        {"1e999", 0.0},
                        {"-", 0.0}};
  for (const Case& c : cases) EXPECT_EQ(LeadingDecimal(c.text), c.value) << c.text;
}

TEST(NumberTextTest, ReadsTheLeadingInteger) {
  EXPECT_EQ(LeadingInteger("47.9"), 47.0);
  EXPECT_EQ(LeadingInteger(" -12 30"), -12.0);
  EXPECT_EQ(LeadingInteger("--5"), 0.0);
  EXPECT_EQ(LeadingInteger("x"), 0.0);
  EXPECT_EQ(LeadingInteger("99999999999999999999999"), 9223372036854775807.0);
}

}  // namespace
}  // namespace kv
