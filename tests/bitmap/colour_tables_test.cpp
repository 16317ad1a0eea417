#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "bitmap/palm/colour_table.h"
#include "bitmap/palm/nearest_palette_index.h"
#include "bitmap/palm/octree_palette.h"
#include "bitmap/palm/palette_state.h"
#include "bitmap/palm/system_colour_tables.h"

namespace kv {
namespace {

struct TableEntry {
  int depth;
  int position;
  std::uint32_t colour;
};

class SystemTableEntries : public ::testing::TestWithParam<TableEntry> {};

TEST_P(SystemTableEntries, HoldColourAndPositionAsIndexByte) {
  const TableEntry& row = GetParam();
  const ColourTable* table = SystemColourTable(row.depth);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->Colour(row.position), row.colour);
  EXPECT_EQ(table->StoredBytes()[2 + 4 * row.position], row.position);
}

INSTANTIATE_TEST_SUITE_P(
    Palm, SystemTableEntries,
    ::testing::Values(
        TableEntry{1, 0, 0xFFFFFF}, TableEntry{1, 1, 0x000000}, TableEntry{2, 1, 0xAAAAAA},
        TableEntry{2, 2, 0x555555}, TableEntry{4, 2, 0xEFCC83}, TableEntry{4, 9, 0x80A000},
        TableEntry{4, 12, 0xB721D0}, TableEntry{4, 15, 0x000000},
        // The cube: light blues first, then red, blue, green.
        TableEntry{8, 0, 0xFFFFFF}, TableEntry{8, 1, 0xFFCCFF}, TableEntry{8, 5, 0xFF00FF},
        TableEntry{8, 6, 0xFFFFCC}, TableEntry{8, 17, 0xFF0099}, TableEntry{8, 18, 0xCCFFFF},
        TableEntry{8, 107, 0x000099}, TableEntry{8, 108, 0xFFFF66}, TableEntry{8, 213, 0x006600},
        TableEntry{8, 214, 0x003300}, TableEntry{8, 215, 0x111111}, TableEntry{8, 224, 0xEEEEEE},
        TableEntry{8, 225, 0xC0C0C0}, TableEntry{8, 226, 0x800000}, TableEntry{8, 229, 0x008080},
        TableEntry{8, 230, 0x000000}, TableEntry{8, 255, 0x000000}));

TEST(SystemColourTables, HaveOneTablePerIndexedDepth) {
  EXPECT_EQ(SystemColourTable(1)->Count(), 2);
  EXPECT_EQ(SystemColourTable(2)->Count(), 4);
  EXPECT_EQ(SystemColourTable(4)->Count(), 16);
  EXPECT_EQ(SystemColourTable(8)->Count(), 256);
  EXPECT_EQ(SystemColourTable(8)->StoredBytes().size(), 2u + 1024u);
  EXPECT_EQ(SystemColourTable(16), nullptr);
  EXPECT_TRUE(IsSystemColourTable(SystemColourTable(4)));
}

struct MatchRow {
  const char* what;
  std::vector<std::uint32_t> table;
  std::uint32_t colour;
  int expected;
};

class NearestPaletteIndexRows : public ::testing::TestWithParam<MatchRow> {};

TEST_P(NearestPaletteIndexRows, PickTheExpectedEntry) {
  const MatchRow& row = GetParam();
  const ColourTable table = ColourTable::FromColours(row.table, ColourTable::IndexBytes::kZero);
  EXPECT_EQ(NearestPaletteIndex(table, row.colour), row.expected) << row.what;
  PaletteMatcher matcher(table);
  EXPECT_EQ(matcher.Match(row.colour), row.expected) << row.what;
  EXPECT_EQ(matcher.Match(row.colour), row.expected) << row.what << " (remembered)";
}

INSTANTIATE_TEST_SUITE_P(
    Rules, NearestPaletteIndexRows,
    ::testing::Values(
        MatchRow{"empty table", {}, 0x123456, 0},
        MatchRow{"exact", {0x000000, 0x808080, 0xFFFFFF}, 0x808080, 1},
        MatchRow{"equal distances: the later entry wins", {0x000000, 0x202020}, 0x101010, 1},
        MatchRow{"tie after a farther entry", {0x000000, 0x0A0A0A, 0x141414}, 0x0F0F0F, 2},
        // Red wants a red entry even when a grey is nearer.
        MatchRow{"same class beats nearer grey", {0x000000, 0x606060, 0xFF0000}, 0x983030, 2},
        // ... unless the red entry is entry 0, which never wins by class.
        MatchRow{"same-class winner 0 falls back", {0xFF0000, 0x606060}, 0x983030, 1},
        // Channels are compared on their top 6 bits: 0x83 and 0x80 are equal
        // there, so this near-grey has no class and takes the nearest.
        MatchRow{"near-grey has no class", {0x000000, 0xA04040, 0x707070}, 0x838080, 2},
        MatchRow{"very light entries are white, not green",
                 {0x000000, 0xF8FFF8, 0x00A000},
                 0xB0FFB0,
                 2}));

TEST(NearestPaletteIndex, MatchesTheFourBitSystemTable) {
  const ColourTable& table = *SystemColourTable(4);
  EXPECT_EQ(NearestPaletteIndex(table, 0xFF0000), 13);
  EXPECT_EQ(NearestPaletteIndex(table, 0x808080), 10);
}

TEST(NearestPaletteIndex, TieBetweenEntriesThreeAndNineGoesToNine) {
  std::vector<std::uint32_t> colours(16, 0xFFFFFF);
  colours[3] = 0x404040;
  colours[9] = 0x606060;
  const ColourTable table = ColourTable::FromColours(colours, ColourTable::IndexBytes::kZero);
  EXPECT_EQ(NearestPaletteIndex(table, 0x505050), 9);
}

TEST(PaletteMatcher, GivesTheSameAnswersAsTheFullScan) {
  std::mt19937 random(7);
  std::vector<std::uint32_t> custom;
  for (int i = 0; i < 256; ++i) custom.push_back(random() & 0xFFFFFF);
  const ColourTable custom_table = ColourTable::FromColours(custom, ColourTable::IndexBytes::kZero);
  for (const ColourTable* table : {SystemColourTable(4), SystemColourTable(8), &custom_table}) {
    PaletteMatcher matcher(*table);
    for (int i = 0; i < 20000; ++i) {
      // Few distinct colours, so that most lookups hit the memo.
      const std::uint32_t colour = (random() & 0xE0E0E0) | (i % 3);
      ASSERT_EQ(matcher.Match(colour), NearestPaletteIndex(*table, colour)) << std::hex << colour;
    }
    for (int i = 0; i < 5000; ++i) {
      const std::uint32_t colour = random() & 0xFFFFFF;  // mostly new colours
      ASSERT_EQ(matcher.Match(colour), NearestPaletteIndex(*table, colour)) << std::hex << colour;
    }
  }
  // Tables with ties everywhere, and with no entry of some class.
  const ColourTable greys =
      ColourTable::FromColours(std::vector<std::uint32_t>{0x808080, 0x808080, 0x000000, 0x808080},
                               ColourTable::IndexBytes::kZero);
  PaletteMatcher grey_matcher(greys);
  for (std::uint32_t colour : {0x808080u, 0xFF0000u, 0x00FF00u, 0x0000FFu, 0x010101u}) {
    EXPECT_EQ(grey_matcher.Match(colour), NearestPaletteIndex(greys, colour)) << std::hex << colour;
  }
  const ColourTable empty;
  PaletteMatcher empty_matcher(empty);
  EXPECT_EQ(empty_matcher.Match(0x123456), 0);
}

TEST(PaletteState, KeepsOneCustomTableAndOneMemoPerTable) {
  PaletteState state;
  EXPECT_EQ(state.CustomTable(), nullptr);
  ASSERT_TRUE(state.SetCustomTable(std::vector<std::uint32_t>{0x112233, 0x445566}));
  const ColourTable* custom = state.CustomTable();
  ASSERT_NE(custom, nullptr);
  EXPECT_EQ(std::vector<std::uint8_t>(custom->StoredBytes().begin(), custom->StoredBytes().end()),
            (std::vector<std::uint8_t>{0, 2, 0, 0x11, 0x22, 0x33, 0, 0x44, 0x55, 0x66}));
  PaletteMatcher* matcher = state.MatcherFor(custom);
  ASSERT_NE(matcher, nullptr);
  EXPECT_EQ(&matcher->Table(), custom);
  EXPECT_EQ(state.MatcherFor(SystemColourTable(4)), state.MatcherFor(SystemColourTable(4)));
  EXPECT_EQ(&state.MatcherFor(SystemColourTable(8))->Table(), SystemColourTable(8));
  const ColourTable other =
      ColourTable::FromColours(std::vector<std::uint32_t>{1}, ColourTable::IndexBytes::kZero);
  EXPECT_EQ(state.MatcherFor(&other), nullptr);
  state.DiscardCustomTable();
  EXPECT_EQ(state.CustomTable(), nullptr);
}

TEST(PaletteMatcher, AgreesWithTheFullScanAcrossTheColourCube) {
  for (int depth : {4, 8}) {
    const ColourTable& table = *SystemColourTable(depth);
    PaletteMatcher matcher(table);
    for (std::uint32_t r = 0; r < 256; r += 7) {
      for (std::uint32_t g = 1; g < 256; g += 7) {
        for (std::uint32_t b = 2; b < 256; b += 7) {
          const std::uint32_t colour = r << 16 | g << 8 | b;
          ASSERT_EQ(matcher.Match(colour), NearestPaletteIndex(table, colour))
              << std::hex << colour;
        }
      }
    }
  }
}

std::vector<std::uint32_t> Quantise(int depth, const std::vector<std::uint32_t>& colours) {
  OctreeQuantiser quantiser(depth);
  for (std::uint32_t colour : colours) quantiser.Insert(colour);
  return quantiser.Colours();
}

TEST(OctreePalette, KeepsFewColoursExactlyInTreeOrder) {
  EXPECT_EQ(Quantise(4, {0xFFFFFF, 0xFF0000, 0x000000, 0xFF0000}),
            (std::vector<std::uint32_t>{0x000000, 0xFF0000, 0xFFFFFF}));
}

TEST(OctreePalette, ReducesTheRootWhenNoDeeperLevelIsLeft) {
  // Depth 1: two leaves at most, branching on the top bit only.
  EXPECT_EQ(Quantise(1, {0xFF0000, 0x00FF00, 0x0000FF}), (std::vector<std::uint32_t>{0x555555}));
}

TEST(OctreePalette, ReducesTheMostRecentNodeOfTheDeepestLevelFirst) {
  // Depth 2: four dark colours under one level-1 node, then white under
  // another. The white node (most recent) is reduced first without gain,
  // then the dark node merges its four leaves.
  EXPECT_EQ(Quantise(2, {0x000000, 0x400000, 0x004000, 0x000040, 0xFFFFFF}),
            (std::vector<std::uint32_t>{0x101010, 0xFFFFFF}));
}

TEST(OctreePalette, NeverExceedsTheDepthsColourCount) {
  std::mt19937 random(11);
  std::vector<std::uint32_t> colours;
  for (int i = 0; i < 5000; ++i) colours.push_back(random() & 0xFFFFFF);
  EXPECT_LE(Quantise(4, colours).size(), 16u);
  EXPECT_LE(Quantise(8, colours).size(), 256u);
  EXPECT_GT(Quantise(8, colours).size(), 64u);
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

TEST(OctreePalette, RememberedLeavesGiveTheSameTable) {
  // Runs of repeated colours between reductions, as photos have them.
  std::uint32_t state = 12345;
  std::vector<std::uint32_t> colours;
  for (int i = 0; i < 200000; ++i) {
    state = state * 1103515245u + 12345u;
    const std::uint32_t colour = (state >> 8) & 0xFFFFFF;
    for (int repeat = static_cast<int>(state % 5); repeat >= 0; --repeat) colours.push_back(colour);
    if (i % 7 == 0) colours.push_back(colours[colours.size() / 2]);  // an earlier colour again
  }
  for (int depth : {1, 2, 4, 8}) {
    OctreeQuantiser remembering(depth);
    OctreeQuantiser walking(depth, false);
    for (std::uint32_t colour : colours) {
      remembering.Insert(colour);
      walking.Insert(colour);
    }
    EXPECT_EQ(remembering.Colours(), walking.Colours()) << depth;
  }
}

}  // namespace
}  // namespace kv
