#ifndef KORVALE_CLI_COORD_TEXT_H_
#define KORVALE_CLI_COORD_TEXT_H_

// What `kvmap coord` reads and prints: coordinate system and datum names,
// typed positions, the listings of the tables and the result lines.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/string_ids.h"
#include "base/string_table.h"
#include "geo/grid_conversion.h"
#include "geo/position_text.h"

namespace kv::cli {

// The position texts of the language; "SWsw" when it has no negative
// letters.
PositionTexts PositionTextsFromStrings(const StringTable& strings);

// An index 0 to 28, a list name or a grid code, ignoring case; -1 if none.
int ResolveCoordinateSystem(std::string_view text);

// A datum or ellipsoid code, an alias, a numeric datum code ("102") or a
// name other programs write ("Pulkovo 1942 (1)"), ignoring case; -1 if none.
int ResolveDatum(std::string_view text);

// Decimal degrees of a typed position in any of the degree notations, with
// a sign ("-33.9") or a hemisphere letter before or after ("S33 54",
// "33 54 S"). False unless the whole text reads so.
bool ReadPosition(std::string_view text, std::string_view negative_letters, double* degrees);

// One line per coordinate system: index, list name, code, datum.
std::string CoordinateSystemListing();
// One line per row of the datum and ellipsoid table.
std::string DatumListing();

// "ZONE EASTING NORTHING": zone "-" when empty, metres with 3 decimals, or
// degrees with 9 decimals when the position was kept in degrees.
std::string GridLine(const GridReference& grid, GridStatus status);
// "LAT LON" in decimal degrees with 9 decimals.
std::string LatLonLine(LatLon position);
std::string DegreesLine(double degrees);

}  // namespace kv::cli

#endif  // KORVALE_CLI_COORD_TEXT_H_
