#include "base/lru_byte_cache.h"

#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

TEST(LruByteCacheTest, StaysWithinItsBudgetDroppingTheLeastRecentlyUsed) {
  LruByteCache<int, std::string> cache(100);
  cache.Insert(1, "one", 40);
  cache.Insert(2, "two", 40);
  ASSERT_NE(cache.Find(1), nullptr);  // 2 is now the least recently used
  cache.Insert(3, "three", 40);
  EXPECT_EQ(cache.used_bytes(), 80u);
  EXPECT_TRUE(cache.Contains(1));
  EXPECT_FALSE(cache.Contains(2));
  EXPECT_TRUE(cache.Contains(3));
  EXPECT_EQ(*cache.Find(3), "three");
}

TEST(LruByteCacheTest, ManySmallInsertsNeverExceedTheBudget) {
  LruByteCache<int, int> cache(1000);
  for (int i = 0; i < 10000; ++i) {
    cache.Insert(i, i, static_cast<std::size_t>(1 + i % 97));
    ASSERT_LE(cache.used_bytes(), 1000u) << "after insert " << i;
  }
  EXPECT_TRUE(cache.Contains(9999));
}

TEST(LruByteCacheTest, ReplacingAnEntryCountsOnlyItsNewSize) {
  LruByteCache<int, int> cache(100);
  cache.Insert(7, 1, 60);
  cache.Insert(7, 2, 30);
  EXPECT_EQ(cache.used_bytes(), 30u);
  EXPECT_EQ(cache.size(), 1u);
  EXPECT_EQ(*cache.Find(7), 2);
}

TEST(LruByteCacheTest, AnEntryLargerThanTheBudgetIsNotKeptAndEvictsNothing) {
  LruByteCache<int, int> cache(100);
  cache.Insert(1, 1, 50);
  EXPECT_EQ(cache.Insert(2, 2, 101), nullptr);
  EXPECT_TRUE(cache.Contains(1));
  EXPECT_FALSE(cache.Contains(2));
  EXPECT_EQ(cache.used_bytes(), 50u);
}

TEST(LruByteCacheTest, EraseAndClearReleaseTheirBytes) {
  LruByteCache<int, int> cache(100);
  cache.Insert(1, 1, 10);
  cache.Insert(2, 2, 20);
  cache.Erase(1);
  EXPECT_EQ(cache.used_bytes(), 20u);
  cache.Erase(42);
  EXPECT_EQ(cache.used_bytes(), 20u);
  cache.Clear();
  EXPECT_EQ(cache.used_bytes(), 0u);
  EXPECT_EQ(cache.Find(2), nullptr);
}

TEST(LruByteCacheTest, PinnedEntriesStayAndOnlyTheyMayPassTheBudget) {
  LruByteCache<int, int> cache(100);
  cache.PinOnly({1, 2, 3});
  cache.Insert(1, 1, 40);
  cache.Insert(2, 2, 40);
  cache.Insert(9, 9, 20);
  // The pinned entries push the unpinned one out and pass the budget
  // rather than leave the cache.
  EXPECT_NE(cache.Insert(3, 3, 40), nullptr);
  EXPECT_FALSE(cache.Contains(9));
  EXPECT_EQ(cache.used_bytes(), 120u);
  // An unpinned entry finds no room beside them.
  EXPECT_EQ(cache.Insert(4, 4, 10), nullptr);
  EXPECT_EQ(cache.size(), 3u);
  // Once the pins move on, the budget holds again.
  cache.PinOnly({3});
  EXPECT_LE(cache.used_bytes(), 100u);
  EXPECT_TRUE(cache.Contains(3));
}

}  // namespace
}  // namespace kv
