#ifndef KORVALE_GEO_MTM_ZONES_H_
#define KORVALE_GEO_MTM_ZONES_H_

// The zones of the Quebec Modified Transverse Mercator grid.

#include <array>
#include <string_view>

namespace kv {

struct MtmZone {
  std::string_view name;
  double central_meridian;  // degrees
  double west_limit;        // inside
  double east_limit;        // outside
};

inline constexpr int kMtmZoneCount = 11;

const std::array<MtmZone, kMtmZoneCount>& MtmZones();

// The first zone with west limit <= longitude < east limit, or -1.
int MtmZoneOfLongitude(double longitude);

// The zone named `name` (ignoring case), or -1.
int FindMtmZone(std::string_view name);

}  // namespace kv

#endif  // KORVALE_GEO_MTM_ZONES_H_
