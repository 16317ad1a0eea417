#include "map/resource_ids.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kv {
namespace {

using ::testing::ElementsAreArray;

constexpr std::uint16_t kNew = 0xFFFF;

TEST(AssignResourceIdsTest, KeepsTheWalkOfEarlierReleases) {
  struct Row {
    std::vector<std::uint16_t> ids;
    std::vector<std::uint16_t> expected;
  };
  const Row rows[] = {
      {{kNew, kNew, kNew}, {1, 2, 3}},
      {{1, 2, 5, kNew, kNew, kNew}, {1, 2, 5, 3, 4, 6}},
      {{0, kNew}, {0, 2}},
      {{3, 3, kNew, kNew, kNew}, {3, 3, 1, 2, 5}},
      {{kNew, 7, kNew}, {1, 7, 2}},
      {{}, {}},
      {{4, 9}, {4, 9}},
  };
  for (const Row& row : rows) {
    std::vector<std::uint16_t> ids = row.ids;
    AssignResourceIds(&ids);
    EXPECT_THAT(ids, ElementsAreArray(row.expected));
  }
}

TEST(AssignResourceIdsTest, NewIdsNeverCollideAndRise) {
  std::vector<std::uint16_t> ids = {2, kNew, 4, kNew, 6, kNew, kNew, 1};
  AssignResourceIds(&ids);
  std::vector<std::uint16_t> fresh = {ids[1], ids[3], ids[5], ids[6]};
  EXPECT_TRUE(std::is_sorted(fresh.begin(), fresh.end()));
  std::vector<std::uint16_t> sorted = ids;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
}

}  // namespace
}  // namespace kv
