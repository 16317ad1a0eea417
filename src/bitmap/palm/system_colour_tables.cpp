#include "bitmap/palm/system_colour_tables.h"

#include <array>
#include <cstdint>
#include <vector>

#include "bitmap/rgb_colour.h"

namespace kv {

namespace {

constexpr std::array<std::uint32_t, 2> kDepth1 = {0xFFFFFF, 0x000000};
constexpr std::array<std::uint32_t, 4> kDepth2 = {0xFFFFFF, 0xAAAAAA, 0x555555, 0x000000};
constexpr std::array<std::uint32_t, 16> kDepth4 = {
    0xFFFFFF, 0xFFFF00, 0xEFCC83, 0xBAD4FA, 0xC0C0C0, 0xADCDA3, 0xCC9999, 0x66A7FF,
    0x00FF00, 0x80A000, 0x808080, 0xFF00FF, 0xB721D0, 0xFF0000, 0x0000FF, 0x000000};

// The Palm OS 8-bit palette: a 6-level colour cube walked blue group by blue
// group (the three light blues first, then the three dark ones), red, blue
// within the group, green; the cube's last entry (black) is dropped. Then
// ten greys, five named colours and black padding up to 256.
std::vector<std::uint32_t> Depth8Colours() {
  constexpr std::array<std::uint32_t, 6> kLevels = {0xFF, 0xCC, 0x99, 0x66, 0x33, 0x00};
  std::vector<std::uint32_t> colours;
  colours.reserve(256);
  for (std::size_t group = 0; group < 2; ++group) {
    for (std::uint32_t red : kLevels) {
      for (std::size_t b = 0; b < 3; ++b) {
        const std::uint32_t blue = kLevels[group * 3 + b];
        for (std::uint32_t green : kLevels) colours.push_back(PackRgb(red, green, blue));
      }
    }
  }
  colours.pop_back();  // the cube's black; black comes back as padding
  for (std::uint32_t grey :
       {0x11u, 0x22u, 0x44u, 0x55u, 0x77u, 0x88u, 0xAAu, 0xBBu, 0xDDu, 0xEEu}) {
    colours.push_back(PackRgb(grey, grey, grey));
  }
  for (std::uint32_t named : {0xC0C0C0u, 0x800000u, 0x800080u, 0x008000u, 0x008080u}) {
    colours.push_back(named);
  }
  colours.resize(256, 0x000000);
  return colours;
}

struct SystemTables {
  ColourTable depth1;
  ColourTable depth2;
  ColourTable depth4;
  ColourTable depth8;
};

const SystemTables& Tables() {
  static const SystemTables tables = [] {
    using IB = ColourTable::IndexBytes;
    const std::vector<std::uint32_t> depth8 = Depth8Colours();
    return SystemTables{ColourTable::FromColours(kDepth1, IB::kPosition),
                        ColourTable::FromColours(kDepth2, IB::kPosition),
                        ColourTable::FromColours(kDepth4, IB::kPosition),
                        ColourTable::FromColours(depth8, IB::kPosition)};
  }();
  return tables;
}

}  // namespace

const ColourTable* SystemColourTable(int depth) {
  switch (depth) {
    case 1:
      return &Tables().depth1;
    case 2:
      return &Tables().depth2;
    case 4:
      return &Tables().depth4;
    case 8:
      return &Tables().depth8;
    default:
      return nullptr;
  }
}

bool IsSystemColourTable(const ColourTable* table) {
  return table != nullptr && (table == SystemColourTable(1) || table == SystemColourTable(2) ||
                              table == SystemColourTable(4) || table == SystemColourTable(8));
}

}  // namespace kv
