#include "pdb/palm_time.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(PalmTimeTest, HeaderTimesKeepZeroAndTheStoredOffset) {
  EXPECT_EQ(PalmTimeFromUnix(0), 0u);
  EXPECT_EQ(PalmTimeFromUnix(1), 2082815971u);
  // The stored offset is 2082815970, not the 1904 epoch's 2082844800.
  EXPECT_EQ(PalmTimeFromUnix(1000000000), 3082815970u);
  EXPECT_EQ(UnixTimeFromPalm(3082815970u), 1000000000);
}

TEST(PalmTimeTest, StoredTimesBelowTheOffsetReadAsNever) {
  EXPECT_EQ(UnixTimeFromPalm(0), 0);
  EXPECT_EQ(UnixTimeFromPalm(kPalmTimeOffset - 1), 0);
  EXPECT_EQ(UnixTimeFromPalm(kPalmTimeOffset), 0);
  EXPECT_EQ(UnixTimeFromPalm(kPalmTimeOffset + 5), 5);
}

TEST(PalmTimeTest, ImageDatesHaveNoSpecialCases) {
  EXPECT_EQ(PalmDateFromUnix(0), kPalmTimeOffset);
  EXPECT_EQ(UnixFromPalmDate(0), -static_cast<std::int64_t>(kPalmTimeOffset));
  for (std::int64_t t : {std::int64_t{0}, std::int64_t{1}, std::int64_t{1796630400}}) {
    EXPECT_EQ(UnixFromPalmDate(PalmDateFromUnix(t)), t);
  }
}

TEST(PalmTimeTest, LatestStorableTimeRoundTrips) {
  const std::int64_t latest = 0xFFFFFFFFll - kPalmTimeOffset;
  EXPECT_EQ(PalmTimeFromUnix(latest), 0xFFFFFFFFu);
  EXPECT_EQ(UnixTimeFromPalm(0xFFFFFFFFu), latest);
}

}  // namespace
}  // namespace kv
