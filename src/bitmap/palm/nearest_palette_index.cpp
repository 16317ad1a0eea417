#include "bitmap/palm/nearest_palette_index.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <new>

#include "bitmap/rgb_colour.h"

namespace kv {

namespace {

// Colour classes. The wanted colour is 0 (no dominant channel) or one of the
// dominant-channel classes; an entry is also "black" or "white" when it is
// very dark or very light, or 3 when no channel dominates.
constexpr int kClassNone = 0;
constexpr int kClassWhite = 1;
constexpr int kClassGrey = 3;
constexpr int kClassBlack = 4;
constexpr int kClassRed = 5;
constexpr int kClassGreen = 6;
constexpr int kClassBlue = 7;

// Compared on the top 6 bits of each channel so that near-greys with a
// little noise do not count as coloured.
int DominantChannelClass(int red, int green, int blue, int otherwise) {
  const int r = red / 4;
  const int g = green / 4;
  const int b = blue / 4;
  if (r > g && r > b) return kClassRed;
  if (g > r && g > b) return kClassGreen;
  if (b > r && b > g) return kClassBlue;
  return otherwise;
}

int EntryClass(int red, int green, int blue) {
  const int sum = red + green + blue;
  if (sum < 32) return kClassBlack;
  if (sum >= 750) return kClassWhite;
  return DominantChannelClass(red, green, blue, kClassGrey);
}

struct Candidate {
  int index = -1;
  int distance = 0;

  // Later entries win ties.
  void Offer(int entry, int entry_distance) {
    if (index < 0 || entry_distance <= distance) {
      index = entry;
      distance = entry_distance;
    }
  }
};

int Choose(const Candidate& overall, const Candidate& same_class) {
  if (same_class.index > 0) return same_class.index;
  return overall.index < 0 ? 0 : overall.index;
}

}  // namespace

int NearestPaletteIndex(const ColourTable& table, std::uint32_t colour) {
  const int red = RedOf(colour);
  const int green = GreenOf(colour);
  const int blue = BlueOf(colour);
  const int wanted_class = DominantChannelClass(red, green, blue, kClassNone);
  Candidate overall;
  Candidate same_class;
  for (int i = 0; i < table.Count(); ++i) {
    const std::uint32_t entry = table.Colour(i);
    const int r = RedOf(entry);
    const int g = GreenOf(entry);
    const int b = BlueOf(entry);
    const int distance = 2 * (std::abs(r - red) + std::abs(g - green) + std::abs(b - blue));
    overall.Offer(i, distance);
    if (EntryClass(r, g, b) == wanted_class) same_class.Offer(i, distance);
  }
  return Choose(overall, same_class);
}

PaletteMatcher::PaletteMatcher(const ColourTable& table) : table_(&table) {
  const auto count = static_cast<std::size_t>(table.Count());
  red_.resize(count);
  green_.resize(count);
  blue_.resize(count);
  class_.resize(count);
  cell_start_.assign(kCellCount, -1);
  cell_size_.assign(kCellCount, 0);
  memo_block_.assign(kCellCount, kNoBlock);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t entry = table.Colour(static_cast<int>(i));
    red_[i] = static_cast<std::int16_t>(RedOf(entry));
    green_[i] = static_cast<std::int16_t>(GreenOf(entry));
    blue_[i] = static_cast<std::int16_t>(BlueOf(entry));
    class_[i] = static_cast<std::int16_t>(EntryClass(red_[i], green_[i], blue_[i]));
  }
}

int PaletteMatcher::MatchNew(std::size_t cell, std::uint32_t colour) {
  if (memo_block_[cell] == kNoBlock) {
    try {
      BuildCell(cell);
    } catch (const std::bad_alloc&) {
      // Without memory for the cell's memo the colour is matched the long
      // way; the answer is the same.
      return NearestPaletteIndex(*table_, colour);
    }
  }
  std::uint16_t& known = memo_[memo_block_[cell] + OffsetInCell(colour)];
  if (known == kUnknown) known = static_cast<std::uint16_t>(Scan(cell, colour));
  return known;
}

// The same rule as NearestPaletteIndex over the cell's candidates, which
// hold every entry that can win for any colour of the cell; they are in
// table order, so ties still go to the later entry.
int PaletteMatcher::Scan(std::size_t cell, std::uint32_t colour) const {
  const auto candidates =
      std::span<const std::uint16_t>(candidates_)
          .subspan(static_cast<std::size_t>(cell_start_[cell]), cell_size_[cell]);
  const int red = RedOf(colour);
  const int green = GreenOf(colour);
  const int blue = BlueOf(colour);
  const int wanted_class = DominantChannelClass(red, green, blue, kClassNone);
  Candidate overall;
  Candidate same_class;
  for (std::uint16_t i : candidates) {
    const int distance =
        2 * (std::abs(red_[i] - red) + std::abs(green_[i] - green) + std::abs(blue_[i] - blue));
    overall.Offer(i, distance);
    if (class_[i] == wanted_class) same_class.Offer(i, distance);
  }
  return Choose(overall, same_class);
}

// For colours inside an 8 x 8 x 8 cell, an entry can be the nearest (overall
// or within a colour class) only if its smallest possible distance to the
// cell is no more than the largest possible distance of the best entry.
// The cell also gets its block of the memo.
void PaletteMatcher::BuildCell(std::size_t cell) {
  const int low[3] = {static_cast<int>(cell >> 10) * kCellSide,
                      static_cast<int>((cell >> 5) & 31) * kCellSide,
                      static_cast<int>(cell & 31) * kCellSide};
  const std::size_t count = red_.size();
  std::vector<int> nearest(count);
  std::vector<int> farthest(count);
  // Per class (index by class number) the best worst-case distance.
  int bound[8];
  std::fill(std::begin(bound), std::end(bound), std::numeric_limits<int>::max());
  int overall_bound = std::numeric_limits<int>::max();
  for (std::size_t i = 0; i < count; ++i) {
    const int channel[3] = {red_[i], green_[i], blue_[i]};
    nearest[i] = 0;
    farthest[i] = 0;
    for (int c = 0; c < 3; ++c) {
      const int lo = low[c];
      const int hi = lo + kCellSide - 1;
      nearest[i] += channel[c] < lo ? lo - channel[c] : channel[c] > hi ? channel[c] - hi : 0;
      farthest[i] += std::max(std::abs(channel[c] - lo), std::abs(channel[c] - hi));
    }
    overall_bound = std::min(overall_bound, farthest[i]);
    bound[class_[i]] = std::min(bound[class_[i]], farthest[i]);
  }
  const auto start = static_cast<std::int32_t>(candidates_.size());
  for (std::size_t i = 0; i < count; ++i) {
    if (nearest[i] <= overall_bound || nearest[i] <= bound[class_[i]]) {
      candidates_.push_back(static_cast<std::uint16_t>(i));
    }
  }
  cell_size_[cell] =
      static_cast<std::uint32_t>(candidates_.size()) - static_cast<std::uint32_t>(start);
  const std::size_t block = memo_.size();
  memo_.resize(memo_.size() + kCellColours, kUnknown);
  cell_start_[cell] = start;
  memo_block_[cell] = block;  // last: the cell counts as built only when complete
}

}  // namespace kv
