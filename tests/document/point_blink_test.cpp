#include "document/point_blink.h"

#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

TEST(PointBlinkTest, AlternatesEveryTwoTicksAndEndsAfterTwentyFour) {
  PointBlink blink;
  EXPECT_FALSE(blink.DrawnHighlighted(3, false));
  blink.Start(3);
  std::string pattern;
  int ticks = 0;
  while (blink.running()) {
    pattern += blink.DrawnHighlighted(3, false) ? 'H' : '.';
    blink.Tick();
    ++ticks;
  }
  EXPECT_EQ(ticks, 24);
  EXPECT_EQ(pattern, "HH..HH..HH..HH..HH..HH..");
  EXPECT_FALSE(blink.Tick());
  // Afterwards the point is drawn as its highlight says.
  EXPECT_TRUE(blink.DrawnHighlighted(3, true));
  EXPECT_FALSE(blink.DrawnHighlighted(3, false));
}

TEST(PointBlinkTest, OnlyTheBlinkingPointChangesAndARestartBeginsAgain) {
  PointBlink blink;
  blink.Start(1);
  blink.Tick();
  blink.Tick();
  EXPECT_FALSE(blink.DrawnHighlighted(1, true));  // its plain phase
  EXPECT_TRUE(blink.DrawnHighlighted(2, true));
  EXPECT_FALSE(blink.DrawnHighlighted(0, false));
  blink.Start(2);
  EXPECT_TRUE(blink.DrawnHighlighted(2, false));
  EXPECT_FALSE(blink.DrawnHighlighted(1, false));
  for (int i = 0; i < 23; ++i) EXPECT_TRUE(blink.Tick());
  EXPECT_FALSE(blink.Tick());
}

}  // namespace
}  // namespace kv
