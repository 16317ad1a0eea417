#include "geo/mtm_zones.h"

#include "geo/text_match.h"

namespace kv {
namespace {

// Limits as issued. They leave -84 to -83 uncovered; positions there stay
// in degrees.
constexpr std::array<MtmZone, kMtmZoneCount> kZones = {{
    {"QU2", -55.5, -57.0, -53.0},
    {"QU3", -58.5, -60.0, -57.0},
    {"QU4", -61.5, -63.0, -60.0},
    {"QU5", -64.5, -66.0, -63.0},
    {"QU6", -67.5, -69.0, -66.0},
    {"QU7", -70.5, -72.0, -69.0},
    {"QU8", -73.5, -75.0, -72.0},
    {"QU9", -76.5, -78.0, -75.0},
    {"Q10", -79.5, -81.0, -78.0},
    {"Q11", -82.5, -83.0, -81.0},
    {"Q12", -85.5, -86.0, -84.0},
}};

}  // namespace

const std::array<MtmZone, kMtmZoneCount>& MtmZones() { return kZones; }

int MtmZoneOfLongitude(double longitude) {
  for (int i = 0; i < kMtmZoneCount; ++i) {
    const MtmZone& zone = kZones[static_cast<std::size_t>(i)];
    if (zone.west_limit <= longitude && longitude < zone.east_limit) return i;
  }
  return -1;
}

int FindMtmZone(std::string_view name) {
  for (int i = 0; i < kMtmZoneCount; ++i) {
    if (EqualsIgnoreCase(kZones[static_cast<std::size_t>(i)].name, name)) return i;
  }
  return -1;
}

}  // namespace kv
