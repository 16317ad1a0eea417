#include "geo/osgb.h"

#include <cmath>
#include <cstdint>

#include "geo/transverse_mercator.h"

namespace kv {
namespace {

// Airy 1830 with e^2 as the Ordnance Survey publishes it, and the grid's
// true origin 49 N 2 W moved to the false origin south-west of the Scillies.
constexpr EllipsoidShape kAiry1830 = {6377563.396, 0.006670539761597337};
constexpr TransverseMercatorParameters kNationalGrid = {0.9996012717, -100000.0, 400000.0, 49.0,
                                                        -2.0};

// 5 x 5 squares, row by row from the south-west ("I" is not used). The same
// table names the 500 km squares (offset so that "S" is the false origin)
// and the 100 km squares within them.
constexpr std::string_view kLetters = "VWXYZQRSTULMNOPFGHJKABCDE";
constexpr std::int64_t kLargeSquare = 500000;
constexpr std::int64_t kSmallSquare = 100000;

struct FirstLetterOrigin {
  char letter;
  std::int64_t easting;
  std::int64_t northing;
};

constexpr FirstLetterOrigin kFirstLetters[] = {
    {'S', 0, 0},           {'T', 500000, 0},  {'N', 0, 500000},
    {'O', 500000, 500000}, {'H', 0, 1000000}, {'J', 500000, 1000000},
};

// Eastings and northings whose first letter the inverse can read back.
constexpr double kGridEastingLimit = 1000000.0;
constexpr double kGridNorthingLimit = 1500000.0;

}  // namespace

GridPoint OsgbGridPoint(LatLon position) {
  return TransverseMercatorForward(kAiry1830, kNationalGrid, position);
}

LatLon OsgbGridPointToLatLon(GridPoint point) {
  return TransverseMercatorInverse(kAiry1830, kNationalGrid, point);
}

bool OsgbForward(LatLon position, OsgbReference* reference) {
  const GridPoint full = OsgbGridPoint(position);
  // Rounded to whole metres, half up.
  const double rounded_easting = std::floor(full.easting + 0.5);
  const double rounded_northing = std::floor(full.northing + 0.5);
  // Only squares whose first letter the inverse reads back (S, T, N, O, H,
  // J) are written. West or south of the false origin the letter arithmetic
  // would index before the letter table, and the other squares would give
  // references that read back as degrees.
  if (!(rounded_easting >= 0.0 && rounded_easting < kGridEastingLimit && rounded_northing >= 0.0 &&
        rounded_northing < kGridNorthingLimit)) {
    return false;
  }
  const auto easting = static_cast<std::int64_t>(rounded_easting);
  const auto northing = static_cast<std::int64_t>(rounded_northing);
  const std::int64_t e = easting / kLargeSquare;
  const std::int64_t n = northing / kLargeSquare;
  const std::int64_t first = e + 5 * n + 7;
  const std::int64_t inner_easting = easting - kLargeSquare * e;
  const std::int64_t inner_northing = northing - kLargeSquare * n;
  const std::int64_t second = 5 * (inner_northing / kSmallSquare) + inner_easting / kSmallSquare;
  if (first > 24 || second > 24) return false;

  reference->letters = {kLetters[static_cast<std::size_t>(first)],
                        kLetters[static_cast<std::size_t>(second)]};
  reference->point.easting = static_cast<double>(inner_easting % kSmallSquare);
  reference->point.northing = static_cast<double>(inner_northing % kSmallSquare);
  return true;
}

bool OsgbInverse(std::string_view letters, GridPoint point, LatLon* position) {
  if (letters.size() < 2) return false;
  const FirstLetterOrigin* origin = nullptr;
  for (const FirstLetterOrigin& candidate : kFirstLetters) {
    if (candidate.letter == letters[0]) origin = &candidate;
  }
  const std::size_t second = kLetters.find(letters[1]);
  if (origin == nullptr || second == std::string_view::npos) return false;
  const auto index = static_cast<std::int64_t>(second);
  GridPoint full;
  full.easting = point.easting + static_cast<double>(origin->easting + (index % 5) * kSmallSquare);
  full.northing =
      point.northing + static_cast<double>(origin->northing + (index / 5) * kSmallSquare);
  *position = OsgbGridPointToLatLon(full);
  return true;
}

}  // namespace kv
