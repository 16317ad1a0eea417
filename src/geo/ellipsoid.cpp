#include "geo/ellipsoid.h"

#include "geo/datum_table.h"

namespace kv {

double SquaredEccentricity(const Ellipsoid& ellipsoid) {
  const double f = 1.0 / ellipsoid.inverse_flattening;
  return 2.0 * f - f * f;
}

Ellipsoid EllipsoidOfDatumRow(int datum_row) {
  if (datum_row == kWgs84DatumRow) return kWgs84Ellipsoid;
  DatumInfo info;
  if (DatumInformation(datum_row, &info) < 0) return kWgs84Ellipsoid;
  // A datum naming an ellipsoid the table lacks would give a = rf = 0 and a
  // division by zero in every projection; use WGS84 as for a failed lookup.
  if (!(info.semi_major_axis > 0.0) || !(info.inverse_flattening > 0.0)) return kWgs84Ellipsoid;
  return {info.semi_major_axis, info.inverse_flattening};
}

Ellipsoid EllipsoidCache::OfDatum(int datum_row) {
  if (!has_entry_ || row_ != datum_row) {
    ellipsoid_ = EllipsoidOfDatumRow(datum_row);
    row_ = datum_row;
    has_entry_ = true;
  }
  return ellipsoid_;
}

}  // namespace kv
