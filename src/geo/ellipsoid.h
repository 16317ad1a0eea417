#ifndef KORVALE_GEO_ELLIPSOID_H_
#define KORVALE_GEO_ELLIPSOID_H_

// The reference ellipsoid of a datum row, by its defining values.

namespace kv {

struct Ellipsoid {
  double semi_major_axis;     // a, metres
  double inverse_flattening;  // rf
};

// WGS84 by its defining values. The table's own WGS84 ellipsoid row carries
// the rounded rf 298.257224; this exact pair is what datum row 0 and every
// failed lookup use.
inline constexpr Ellipsoid kWgs84Ellipsoid = {6378137.0, 298.257223563};

// e^2 = 2f - f^2 with f = 1/rf.
double SquaredEccentricity(const Ellipsoid& ellipsoid);

// The ellipsoid of datum row `datum_row`: WGS84 for row 0, the ellipsoid
// row's values for a datum or an ellipsoid row, WGS84 when the row is not in
// the table (or names no ellipsoid the table has).
Ellipsoid EllipsoidOfDatumRow(int datum_row);

// Remembers the last row looked up, so that converting many positions in one
// datum reads the table once. Owned by the caller; not thread-safe.
class EllipsoidCache {
 public:
  Ellipsoid OfDatum(int datum_row);

 private:
  bool has_entry_ = false;
  int row_ = 0;
  Ellipsoid ellipsoid_ = kWgs84Ellipsoid;
};

}  // namespace kv

#endif  // KORVALE_GEO_ELLIPSOID_H_
