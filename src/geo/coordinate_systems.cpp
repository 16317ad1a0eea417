#include "geo/coordinate_systems.h"

namespace kv {
namespace {

constexpr std::array<std::string_view, kCoordinateSystemCount + 1> kNames = {
    "DD MM.mmmm",
    "DD MM SS",
    "DD.dddd",
    "UTM",
    "OSGB",
    "Austria A28, Gauss-Kruger",
    "Austria A31, Gauss-Kruger",
    "Austria A34, Gauss-Kruger",
    "Germany Zone 2 (6º), Gauss Krueger",
    "Germany Zone 3 (9º), Gauss Krueger",
    "Germany Zone 4 (12º), Gauss Krueger",
    "Germany Zone 5 (15º), Gauss Krueger",
    "GGRS87",
    "Irish Grid",
    "Israel Grid",
    "Israel - Old",
    "MGA",
    "MGRS",
    "New Zealand Grid",
    "New Zealand TM 2000",
    "Quebec - MTM",
    "Swedish Grid",
    "Swedish SWEREF99 TM",
    "Swiss CHTREF95",
    "Swiss CH1903",
    "S-JTSK",
    "Warschauer Pakt Zone 3",
    "Warschauer Pakt Zone 4",
    "Warschauer Pakt Zone 5",
    "",
};

}  // namespace

const std::array<std::string_view, kCoordinateSystemCount + 1>& CoordinateSystemNames() {
  return kNames;
}

std::string_view CoordinateSystemName(int system) {
  if (system < 0 || system >= kCoordinateSystemCount) return {};
  return kNames[static_cast<std::size_t>(system)];
}

// Plain comparisons: an index past the end of the list counts as a grid too,
// so callers check the range where it matters.
bool IsNationalGrid(int system) { return system > 4; }
bool IsGrid(int system) { return system > 2; }

}  // namespace kv
