#ifndef KORVALE_GEO_GRID_CONVERSION_H_
#define KORVALE_GEO_GRID_CONVERSION_H_

// Latitude/longitude to and from the grid reference of any coordinate system
// of the list (see coordinate_systems.h).
//
// The datum row of a conversion is that of the calibration being edited:
// UTM and MGA use its ellipsoid, the national grids their own rows' datums.
// With `from_wgs84` set and that datum row above 0 the position passes
// through ShiftDatum, which leaves it unchanged.
//
// S-JTSK takes its grid values in either of the forms they are written in
// (see KrovakPointOfGrid) and gives them in the positive form.
//
// A position the system cannot take (the British grid outside its squares,
// the Quebec grid outside its zones, an unreadable zone text, S-JTSK values
// of mixed signs) is kept in degrees: the zone text is empty, the northing holds the latitude and
// the easting the longitude. The degree notations 0 to 2 are always kept so.

#include <string>
#include <string_view>

#include "geo/ellipsoid.h"
#include "geo/geo_types.h"
#include "geo/grid_system_table.h"

namespace kv {

// Results of LatLonToGrid and GridToLatLon.
enum class [[nodiscard]] GridStatus{
    kConverted,
    // Degree notation, or a position the system cannot take.
    kKeptInDegrees,
    // A coordinate system index outside the list; the position is kept in
    // degrees.
    kUnknownSystem,
};

struct GridReference {
  std::string zone;  // "32U", "TG", "QU8" or empty
  double easting = 0.0;
  double northing = 0.0;
};

// What the conversions keep between calls: the grid table with its resolved
// datum rows and the last ellipsoid looked up. One per process (or per test).
struct CoordinateContext {
  GridSystemTable grid_systems;
  EllipsoidCache ellipsoids;
};

GridStatus LatLonToGrid(CoordinateContext& context, int datum_row, LatLon position, int system,
                        bool from_wgs84, GridReference* grid);

GridStatus GridToLatLon(CoordinateContext& context, int datum_row, const GridReference& grid,
                        int system, bool to_wgs84, LatLon* position);

}  // namespace kv

#endif  // KORVALE_GEO_GRID_CONVERSION_H_
