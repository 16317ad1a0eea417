#ifndef KORVALE_GEO_UTM_H_
#define KORVALE_GEO_UTM_H_

// Universal Transverse Mercator: zone and latitude band of a position (with
// the Norway and Svalbard exceptions), and the projection in both directions
// on a given ellipsoid.

#include <cstdint>
#include <string>
#include <string_view>

#include "geo/geo_types.h"
#include "geo/transverse_mercator.h"

namespace kv {

inline constexpr double kUtmScaleFactor = 0.9996;
inline constexpr double kUtmFalseEasting = 500000.0;
inline constexpr double kUtmSouthernFalseNorthing = 10000000.0;

// Longitude brought into [-180, 180).
double NormaliseLongitude(double longitude);

// Zone 1 to 60 of a position whose longitude is in [-180, 180); other
// longitudes give the nearest end zone.
int UtmZone(double latitude, double longitude);

// "C" to "X" for latitudes -80 to 84 (both included), "Z" outside.
char UtmBandLetter(double latitude);

// Zone text ("32U") and grid point of a position.
struct UtmReference {
  std::string zone;
  GridPoint point;
};

UtmReference UtmForward(const EllipsoidShape& shape, LatLon position);

// The zone text's leading number is the zone (1 to 60) and its first capital
// letter the band: above "M" is north, anything else (a band up to "M", a
// lower-case letter, no letter) south. False when the text names no zone
// from 1 to 60; `*position` is then unchanged.
bool UtmInverse(const EllipsoidShape& shape, std::string_view zone, GridPoint point,
                LatLon* position);

// What a zone text a person gave ("18T") says, before it is used.
enum class UtmZoneStatus {
  kValid,
  // A zone number without its band letter ("18"). Read as it stands it
  // would be the southern hemisphere: a map meant for 18T would land at 64 S.
  kNoBandLetter,
  // A letter that is no latitude band (A, B, I, O, Y, Z, a lower-case
  // letter), or more text after the band letter.
  kUnknownBandLetter,
  // No zone number from 1 to 60 at the front.
  kNoZoneNumber,
};

// Checks a UTM or MGA zone typed by a person or given on the command line:
// a zone 1 to 60 followed by a capital band letter C to X (without I and
// O), blanks allowed around and between them. UtmInverse itself keeps reading every zone
// text stored calibrations hold.
[[nodiscard]] UtmZoneStatus CheckUtmZoneText(std::string_view zone);

// Central meridian of a zone text such as "32V", as calibration files of
// other programs mean it: the middle of the zone's extent for the special
// zones of bands "V" and "X", 6 * zone - 183 otherwise.
double UtmZoneMeridian(std::string_view zone);

}  // namespace kv

#endif  // KORVALE_GEO_UTM_H_
