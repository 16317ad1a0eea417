#include "bitmap/nearest_palette_index.h"

#include <cstdlib>
#include <new>

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

int Red(std::uint32_t colour) { return static_cast<int>((colour >> 16) & 0xFF); }
int Green(std::uint32_t colour) { return static_cast<int>((colour >> 8) & 0xFF); }
int Blue(std::uint32_t colour) { return static_cast<int>(colour & 0xFF); }

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

// Fibonacci hashing spreads the neighbouring colours of gradients.
std::size_t HomeSlot(std::uint32_t colour, std::size_t mask) {
  return static_cast<std::size_t>((std::uint64_t{colour} * 0x9E3779B97F4A7C15ull) >> 32) & mask;
}

int Choose(const Candidate& overall, const Candidate& same_class) {
  if (same_class.index > 0) return same_class.index;
  return overall.index < 0 ? 0 : overall.index;
}

}  // namespace

int NearestPaletteIndex(const ColourTable& table, std::uint32_t colour) {
  const int red = Red(colour);
  const int green = Green(colour);
  const int blue = Blue(colour);
  const int wanted_class = DominantChannelClass(red, green, blue, kClassNone);
  Candidate overall;
  Candidate same_class;
  for (int i = 0; i < table.Count(); ++i) {
    const std::uint32_t entry = table.Colour(i);
    const int r = Red(entry);
    const int g = Green(entry);
    const int b = Blue(entry);
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
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t entry = table.Colour(static_cast<int>(i));
    red_[i] = static_cast<std::uint8_t>(Red(entry));
    green_[i] = static_cast<std::uint8_t>(Green(entry));
    blue_[i] = static_cast<std::uint8_t>(Blue(entry));
    class_[i] = static_cast<std::uint8_t>(EntryClass(red_[i], green_[i], blue_[i]));
  }
  memo_.assign(1024, Slot{kEmpty, 0});
}

int PaletteMatcher::Match(std::uint32_t colour) {
  colour &= 0xFFFFFF;
  const std::size_t mask = memo_.size() - 1;
  std::size_t slot = HomeSlot(colour, mask);
  while (memo_[slot].colour != kEmpty) {
    if (memo_[slot].colour == colour) return static_cast<int>(memo_[slot].index);
    slot = (slot + 1) & mask;
  }
  const int index = Scan(colour);
  Remember(colour, static_cast<std::uint32_t>(index));
  return index;
}

// The same rule as NearestPaletteIndex over the unpacked entries.
int PaletteMatcher::Scan(std::uint32_t colour) const {
  const int red = Red(colour);
  const int green = Green(colour);
  const int blue = Blue(colour);
  const int wanted_class = DominantChannelClass(red, green, blue, kClassNone);
  Candidate overall;
  Candidate same_class;
  const std::size_t count = red_.size();
  for (std::size_t i = 0; i < count; ++i) {
    const int distance =
        2 * (std::abs(red_[i] - red) + std::abs(green_[i] - green) + std::abs(blue_[i] - blue));
    overall.Offer(static_cast<int>(i), distance);
    if (class_[i] == wanted_class) same_class.Offer(static_cast<int>(i), distance);
  }
  return Choose(overall, same_class);
}

void PaletteMatcher::Remember(std::uint32_t colour, std::uint32_t index) {
  if ((memo_used_ + 1) * 2 > memo_.size()) {
    // Without memory for a bigger memo the colour is simply scanned again
    // next time; the result is the same.
    try {
      Grow();
    } catch (const std::bad_alloc&) {
      return;
    }
  }
  const std::size_t mask = memo_.size() - 1;
  std::size_t slot = HomeSlot(colour, mask);
  while (memo_[slot].colour != kEmpty) slot = (slot + 1) & mask;
  memo_[slot] = Slot{colour, index};
  ++memo_used_;
}

void PaletteMatcher::Grow() {
  std::vector<Slot> old(memo_.size() * 2, Slot{kEmpty, 0});
  old.swap(memo_);
  memo_used_ = 0;
  for (const Slot& slot : old) {
    if (slot.colour != kEmpty) Remember(slot.colour, slot.index);
  }
}

}  // namespace kv
