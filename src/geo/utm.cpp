#include "geo/utm.h"

#include <cmath>
#include <cstddef>

namespace kv {
namespace {

struct BandRow {
  double lower_limit;
  char letter;
};

// Bands of 8 degrees, [lower, lower + 8); "X" is handled apart because it is
// 12 degrees high and includes 84.
constexpr BandRow kBands[] = {
    {64, 'W'},  {56, 'V'},  {48, 'U'},  {40, 'T'},  {32, 'S'},  {24, 'R'},  {16, 'Q'},
    {8, 'P'},   {0, 'N'},   {-8, 'M'},  {-16, 'L'}, {-24, 'K'}, {-32, 'J'}, {-40, 'H'},
    {-48, 'G'}, {-56, 'F'}, {-64, 'E'}, {-72, 'D'}, {-80, 'C'},
};

int SvalbardZone(double longitude) {
  if (longitude >= 0 && longitude < 9) return 31;
  if (longitude >= 9 && longitude < 21) return 33;
  if (longitude >= 21 && longitude < 33) return 35;
  if (longitude >= 33 && longitude < 42) return 37;
  return 0;
}

TransverseMercatorParameters ZoneParameters(int zone, double false_northing) {
  return {kUtmScaleFactor, false_northing, kUtmFalseEasting, 0.0, 6.0 * zone - 183.0};
}

// The zone number at the front of `zone` (after any blanks), or 0 when there
// is none or it is outside 1 to 60.
int LeadingZoneNumber(std::string_view zone) {
  std::size_t i = 0;
  while (i < zone.size() && zone[i] == ' ') ++i;
  int number = 0;
  for (; i < zone.size() && zone[i] >= '0' && zone[i] <= '9'; ++i) {
    number = number * 10 + (zone[i] - '0');
    if (number > 60) return 0;
  }
  return number;
}

}  // namespace

double NormaliseLongitude(double longitude) {
  // fmod keeps the result exact; for longitudes below -180 it also avoids
  // the truncation toward zero that would leave them below -180 (and give
  // zone 0).
  double shifted = std::fmod(longitude + 180.0, 360.0);
  if (shifted < 0.0) shifted += 360.0;
  if (shifted >= 360.0) shifted -= 360.0;
  return shifted - 180.0;
}

int UtmZone(double latitude, double longitude) {
  // Clamped before the conversion to int, so that a longitude outside the
  // range (or NaN) cannot overflow it.
  double column = std::floor((longitude + 180.0) / 6.0);
  if (!(column >= 0.0)) column = 0.0;
  if (column > 59.0) column = 59.0;
  int zone = 1 + static_cast<int>(column);
  if (latitude >= 56 && latitude < 64 && longitude >= 3 && longitude < 12) zone = 32;
  if (latitude >= 72 && latitude < 84) {
    const int svalbard = SvalbardZone(longitude);
    if (svalbard != 0) zone = svalbard;
  }
  return zone;
}

char UtmBandLetter(double latitude) {
  if (latitude >= 72 && latitude <= 84) return 'X';
  for (const BandRow& band : kBands) {
    if (latitude >= band.lower_limit && latitude < band.lower_limit + 8) return band.letter;
  }
  return 'Z';
}

UtmReference UtmForward(const EllipsoidShape& shape, LatLon position) {
  const double longitude = NormaliseLongitude(position.longitude);
  const int zone = UtmZone(position.latitude, longitude);
  const double false_northing = position.latitude < 0 ? kUtmSouthernFalseNorthing : 0.0;
  UtmReference reference;
  reference.zone = std::to_string(zone) + UtmBandLetter(position.latitude);
  // The projection takes the normalised longitude: 190 E is projected as
  // -170 in zone 2, not as 361 degrees away from its meridian.
  reference.point = TransverseMercatorForward(shape, ZoneParameters(zone, false_northing),
                                              {position.latitude, longitude});
  return reference;
}

bool UtmInverse(const EllipsoidShape& shape, std::string_view zone, GridPoint point,
                LatLon* position) {
  const int number = LeadingZoneNumber(zone);
  if (number < 1) return false;
  char band = 0;
  for (char c : zone) {
    if (c >= 'A' && c <= 'Z') {
      band = c;
      break;
    }
  }
  const bool north = band > 'M';
  *position = TransverseMercatorInverse(
      shape, ZoneParameters(number, north ? 0.0 : kUtmSouthernFalseNorthing), point);
  return true;
}

UtmZoneStatus CheckUtmZoneText(std::string_view zone) {
  while (!zone.empty() && zone.front() == ' ') zone.remove_prefix(1);
  while (!zone.empty() && zone.back() == ' ') zone.remove_suffix(1);
  std::size_t digits = 0;
  while (digits < zone.size() && zone[digits] >= '0' && zone[digits] <= '9') ++digits;
  if (digits == 0 || digits > 2 || LeadingZoneNumber(zone) < 1) {
    return UtmZoneStatus::kNoZoneNumber;
  }
  std::string_view band = zone.substr(digits);
  while (!band.empty() && band.front() == ' ') band.remove_prefix(1);
  if (band.empty()) return UtmZoneStatus::kNoBandLetter;
  const bool is_band =
      band.size() == 1 && band[0] >= 'C' && band[0] <= 'X' && band[0] != 'I' && band[0] != 'O';
  return is_band ? UtmZoneStatus::kValid : UtmZoneStatus::kUnknownBandLetter;
}

double UtmZoneMeridian(std::string_view zone) {
  std::size_t digits_end = 0;
  double number = 0.0;
  while (digits_end < zone.size() && zone[digits_end] >= '0' && zone[digits_end] <= '9') {
    // Past any real zone the value only has to stay finite.
    if (number < 1e6) number = number * 10.0 + (zone[digits_end] - '0');
    ++digits_end;
  }
  const char band = digits_end < zone.size() ? zone[digits_end] : '\0';
  if (band == 'V') {
    if (number == 31) return 1.5;
    if (number == 32) return 7.5;
  }
  if (band == 'X') {
    if (number == 31) return 4.5;
    if (number == 33) return 15.0;
    if (number == 35) return 27.0;
    // Zone 37 of band "X" spans 33 to 42 E. Its own zone meridian, 39, is
    // used rather than the middle of that span (37.5): 39 is the meridian
    // the UTM arithmetic projects zone 37 with, so coordinates read from a
    // file naming "37X" land where they were computed.
    if (number == 37) return 39.0;
  }
  return 6.0 * number - 183.0;
}

}  // namespace kv
