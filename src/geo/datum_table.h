#ifndef KORVALE_GEO_DATUM_TABLE_H_
#define KORVALE_GEO_DATUM_TABLE_H_

// The table of geodetic datums and reference ellipsoids. Calibration records
// and preferences store row indexes, so rows never move.
//
// Rows 0 to 48 are datums: code, shift to WGS84 ("towgs84=dx,dy,dz" in
// metres), code of the datum's ellipsoid, display name.
// Rows 49 to 91 are ellipsoids: code, "a=" semi-major axis in metres,
// "rf=" inverse flattening, display name.

#include <array>
#include <string>
#include <string_view>

namespace kv {

struct DatumTableRow {
  std::string_view code;
  std::string_view second;  // shift of a datum, "a=" of an ellipsoid
  std::string_view third;   // ellipsoid code of a datum, "rf=" of an ellipsoid
  std::string_view display_name;
};

inline constexpr int kDatumTableRowCount = 92;
inline constexpr int kFirstEllipsoidRow = 49;
inline constexpr int kWgs84DatumRow = 0;

// The result of every lookup given an index outside the table.
inline constexpr int kInvalidDatumIndex = -79;
// Kinds given by DatumInformation.
inline constexpr int kDatumKindDatum = 1;
inline constexpr int kDatumKindEllipsoid = 2;

// What DatumInformation reports about a row.
struct DatumInfo {
  std::string code;
  double semi_major_axis = 0.0;     // a, metres
  double inverse_flattening = 0.0;  // rf
  std::string display_name;
};

const std::array<DatumTableRow, kDatumTableRowCount>& DatumTable();

int DatumRowCount();

// Row whose code equals `name` (ignoring case), or -1. Datums are searched
// before ellipsoids, so "WGS84" is the datum row 0.
int FindDatum(std::string_view name);

// 0 with `*code` set, or kInvalidDatumIndex for an index outside the table
// or a row without a code.
int DatumCode(int index, std::string_view* code);

// The display name, or an empty text outside the table.
std::string_view DatumDisplayName(int index);

// kDatumKindDatum for a datum row (a and rf of its ellipsoid row; both stay
// 0 when no ellipsoid row has that code), kDatumKindEllipsoid for an
// ellipsoid row, kInvalidDatumIndex otherwise. `info` may be null.
int DatumInformation(int index, DatumInfo* info);

}  // namespace kv

#endif  // KORVALE_GEO_DATUM_TABLE_H_
