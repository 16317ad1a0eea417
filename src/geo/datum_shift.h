#ifndef KORVALE_GEO_DATUM_SHIFT_H_
#define KORVALE_GEO_DATUM_SHIFT_H_

// Moving a position between datums. Positions are used in the datum they are
// given in: the tables carry the shifts to WGS84, but no shift is applied,
// so this returns the position unchanged. The grid conversions call it at
// each change of datum so that the place is marked if shifting is ever
// wanted.

#include "geo/geo_types.h"

namespace kv {

LatLon ShiftDatum(LatLon position, int from_datum_row, int to_datum_row);

}  // namespace kv

#endif  // KORVALE_GEO_DATUM_SHIFT_H_
